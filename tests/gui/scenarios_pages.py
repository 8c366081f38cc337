"""Every page of an open mouse as a keyboard and screen-reader user meets it: each showing
object has a role and a name, controls that read alike are told apart by their description,
and the Tab key alone reaches every control that takes input, without sending anything to
the mouse on the way.
"""
import re
import time

import gui_harness
from gui_harness import HarnessError, showing, wait_until
from gui_steps import MAIN_TITLE, centre, open_device, quiet, unnamed

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


def reading_faults(session, main, targets):
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


def scenario_pages_keyboard(session):
    open_device(session)
    main = session.window(MAIN_TITLE)
    wait_until("the start-up traffic to settle", lambda: quiet(session), 30)
    # "Home" leads back to the device list, away from the mouse's pages.
    tabs = [n.name for n in session.walk(main) if n.getRoleName() == "page tab" and showing(n)
            and n.name != HOME_TAB]
    if len(tabs) < 4:
        raise HarnessError("page tabs of the open mouse: %s" % tabs)
    # Without a window manager the keyboard goes to the window given the input focus.
    session.xdotool("mousemove", *centre(main))
    session.xdotool("search", "--name", "^%s$" % MAIN_TITLE, "windowfocus")
    problems = []
    for tab in tabs:
        session.press("page tab", tab, main)
        time.sleep(0.5)
        problems += ["%s: unnamed or role-less: %s" % (tab, o) for o in unnamed(session, main)]
        targets = focus_targets(session, main)
        problems += ["%s: %s" % (tab, fault) for fault in reading_faults(session, main, targets)]
        mark = session.mark()
        visited = set(tab_round(session, targets))
        problems += ["%s: Tab never reaches %s" % (tab, label) for label, _ in targets
                     if label not in visited]
        if session.out_reports_since(mark):
            problems.append("%s: moving the focus sent %s" % (tab, session.out_reports_since(mark)))
    if problems:
        session.screenshot("faults")
        raise HarnessError("keyboard and screen-reader faults:\n  " + "\n  ".join(problems))


SCENARIOS = {
    "pages_keyboard": scenario_pages_keyboard,
}
