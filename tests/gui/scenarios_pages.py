"""Every page of an open mouse as a keyboard and screen-reader user meets it: each showing
object has a role and a name, controls that read alike are told apart by their description,
and the Tab key alone reaches every control that takes input, without sending anything to
the mouse on the way.
"""
import re
import time

import gui_harness
from gui_harness import HarnessError, showing, wait_until
from gui_steps import (MAIN_TITLE, QUIET_S, RESTORE_COMMAND, centre, commands_after,
                       open_device, quiet, unnamed)
from scenarios_dpi import REPORT_RATE, stored, wait_sent

# Roles that take keyboard focus themselves; list items and page tabs are reached through
# their list and their tab bar.
FOCUS_ROLES = {"push button", "toggle button", "check box", "radio button", "combo box",
               "slider", "text", "list", "page tab list"}
HOME_TAB = "Home"
SETTLE_S = 0.15
# What a file or resource name looks like ("img_tabitem_bkg"): words never read like that.
RESOURCE_NAME = re.compile(r"^[a-z0-9]+(_[a-z0-9]+)+$")


def focus_targets(session, main):
    """Showing, enabled controls that take input, as (label, node)."""
    enabled = gui_harness.pyatspi.STATE_ENABLED
    return [("%s %r" % (n.getRoleName(), n.name), n) for n in session.walk(main)
            if n != main and n.getRoleName() in FOCUS_ROLES and showing(n)
            and n.getState().contains(enabled)]


def focused_label(targets):
    focused = gui_harness.pyatspi.STATE_FOCUSED
    return next((label for label, node in targets if node.getState().contains(focused)), None)


def tab_round(session, targets):
    """Presses Tab often enough to come round the window twice; the labels focus visited."""
    visited = []
    for _ in range(2 * len(targets) + 6):
        session.key("Tab")
        time.sleep(SETTLE_S)
        visited.append(focused_label(targets))
    return visited


def reading_faults(targets):
    """Names made of resource words, controls with no area on screen, and controls a reader
    cannot tell apart."""
    faults = ["named by a resource: %s" % label for label, node in targets
              if RESOURCE_NAME.match(node.name)]
    for label, node in targets:
        box = node.queryComponent().getExtents(0)
        if box.width <= 0 or box.height <= 0:
            faults.append("shown to a reader but without an area: %s" % label)
    heard = {}
    for label, node in targets:
        heard.setdefault((label, node.description), []).append(node)
    faults += ["%d controls read as %s" % (len(nodes), label)
               for (label, _), nodes in heard.items() if len(nodes) > 1]
    return faults


def page_faults(session, main, page):
    """What a keyboard and screen-reader user would trip over on the page showing."""
    time.sleep(0.5)
    faults = ["unnamed or role-less: %s" % o for o in unnamed(session, main)]
    targets = focus_targets(session, main)
    faults += reading_faults(targets)
    mark = session.mark()
    visited = set(tab_round(session, targets))
    faults += ["Tab never reaches %s" % label for label, _ in targets if label not in visited]
    if session.out_reports_since(mark):
        faults.append("moving the focus sent %s" % session.out_reports_since(mark))
    return ["%s: %s" % (page, fault) for fault in faults]


def scenario_pages_keyboard(session):
    open_device(session)
    main = session.window(MAIN_TITLE)
    wait_until("the start-up traffic to settle", lambda: quiet(session), 30)
    # "Home" leads back to the device list, away from the mouse's pages.
    tabs = [n.name for n in session.walk(main) if n.getRoleName() == "page tab" and showing(n)
            and n.name != HOME_TAB]
    if len(tabs) < 4:
        raise HarnessError("page tabs of the open mouse: %s" % tabs)
    session.xdotool("mousemove", *centre(main))
    session.focus_window(MAIN_TITLE)
    problems = []
    for tab in tabs:
        session.press("page tab", tab, main)
        problems += page_faults(session, main, tab)
    session.press("push button", "Settings", main)
    session.find("push button", "About", main)
    problems += page_faults(session, main, "Settings")
    if problems:
        session.screenshot("faults")
        raise HarnessError("keyboard and screen-reader faults:\n  " + "\n  ".join(problems))


def tab_to(session, root, role, name, limit=60):
    """Presses Tab until the control with that role and name has the focus; returns it."""
    target = session.find(role, name, root)
    focused = gui_harness.pyatspi.STATE_FOCUSED
    for _ in range(limit):
        if target.getState().contains(focused):
            return target
        session.key("Tab")
        time.sleep(SETTLE_S)
    raise HarnessError("Tab never brought the focus to %s %r" % (role, name))


def expect_keyboard_on(session, node, after):
    """The keyboard is on node after a page change, not passed on to the footer's link."""
    wait_until("the keyboard on %s after %s" % (node.name, after),
               lambda: node.getState().contains(gui_harness.pyatspi.STATE_FOCUSED))


def scenario_keyboard_only(session):
    """The keyboard alone opens the mouse, turns to the performance page and chooses 500 Hz:
    0x02 with code 2 reaches the mouse and both rate keys are stored. Escape then leaves
    the main window open, declines the restore question and leaves the settings page."""
    main = session.window(MAIN_TITLE)
    session.xdotool("mousemove", 5, 5)  # the pointer rests outside the window
    session.focus_window(MAIN_TITLE)
    wait_until("a device card", lambda: any(
        n.getRoleName() == "list item" and showing(n) for n in session.walk(main)))
    tab_to(session, main, "list", "Devices")
    session.key("Return")
    session.find("page tab", "Buttons", main)
    pages = session.find("page tab list", "Pages", main)
    expect_keyboard_on(session, pages, "opening the mouse")
    wait_until("the start-up traffic to settle", lambda: quiet(session), 30)
    tab_to(session, main, "page tab list", "Pages")
    session.key("Down")
    performance = session.find("page tab", "Performance", main)
    wait_until("the performance page chosen", lambda: performance.getState().contains(
        gui_harness.pyatspi.STATE_SELECTED))
    tab_to(session, main, "list", "Report rate")
    mark = session.mark()
    session.key("Left")  # from 1000 Hz
    wait_sent(session, mark, REPORT_RATE, "the 500 Hz report rate", lambda r: r[5] == 2)
    wait_until("500 Hz stored", lambda: (stored(session, "report_rate"),
                                         stored(session, "report_rate_wireless")) == ("2", "2"))
    session.screenshot("performance-by-keyboard")

    # Escape leaves the main window open; on a question it declines, and nothing is sent.
    session.key("Escape")
    time.sleep(QUIET_S)
    if not showing(main) or session.process.poll() is not None:
        raise HarnessError("Escape closed the main window")
    tab_to(session, main, "push button", "Settings")
    session.key("space")
    restore = session.find("push button", "Restore defaults", main)
    tab_to(session, main, "push button", "Restore defaults")
    mark = session.mark()
    session.key("space")
    box = session.window("Restore defaults")
    session.focus_window("MessageBox")  # the window system's title stays the fixed one
    session.key("Escape")
    wait_until("the question to close", lambda: not showing(box))
    time.sleep(QUIET_S)
    if RESTORE_COMMAND in commands_after(session, mark) or not showing(restore):
        raise HarnessError("Escape on the question sent %s" % session.out_reports_since(mark))
    # Escape on the settings page steps back to the mouse's pages, as the back button does.
    session.focus_window(MAIN_TITLE)
    session.key("Escape")
    wait_until("the settings page left", lambda: not showing(restore))
    expect_keyboard_on(session, pages, "leaving the settings page")
    if not showing(session.find("page tab", "Buttons", main)) or not showing(main):
        raise HarnessError("Escape on the settings page did not lead back to the pages")


SCENARIOS = {
    "pages_keyboard": scenario_pages_keyboard,
    "keyboard_only": scenario_keyboard_only,
}
