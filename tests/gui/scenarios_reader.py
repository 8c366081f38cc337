"""What a screen reader hears: icon-only buttons named by their tooltips, and backdrops
kept quiet instead of read out as colour codes. Walks every page of the window.
"""
import re
import time

import gui_harness
from gui_harness import HarnessError, showing, wait_until
from gui_steps import MAIN_TITLE, open_device

COLOUR_CODE = re.compile(r"^#[0-9A-F]{6}$")
PAGES = ["Buttons", "Performance", "Macros", "Lighting", "Device settings"]


def scenario_reader_names(session):
    """The device list's paging buttons read "Previous page" and "Next page"; no showing
    object but a colour swatch is named by a colour code, on any page."""
    main = session.window(MAIN_TITLE)
    for name in ("Previous page", "Next page"):
        session.find("push button", name, main, visible=False)
    open_device(session)
    heard = []
    for page in PAGES:
        session.press("page tab", page, main)
        session.find("page tab", page, main)
        heard += ["%s: %s %r" % (page, n.getRoleName(), n.name) for n in session.walk(main)
                  if showing(n) and COLOUR_CODE.match(n.name or "")
                  and n.getRoleName() != "radio button"]
    if heard:
        raise HarnessError("read out as colour codes:\n  " + "\n  ".join(heard))


def focused(session, root):
    for node in session.walk(root):
        try:
            if showing(node) and node.getState().contains(gui_harness.pyatspi.STATE_FOCUSED):
                return "%s %r" % (node.getRoleName(), node.name)
        except Exception:
            pass
    return None


def scenario_reader_keyboard(session):
    """The keyboard starts on the device list; Tab goes from the DPI stages to the DPI
    slider; a drop-down list opens on its current item, so Down picks the next one."""
    main = session.window(MAIN_TITLE)
    session.focus_window(MAIN_TITLE)
    wait_until("the keyboard on the device list",
               lambda: focused(session, main) == "list 'Devices'")
    open_device(session)
    session.press("page tab", "Performance", main)
    stages = session.find("list", "DPI stages", main)
    session.act(stages, "SetFocus")
    wait_until("the stage list focused", lambda: focused(session, main) == "list 'DPI stages'")
    session.focus_window(MAIN_TITLE)
    session.key("Tab")
    wait_until("Tab to reach the DPI slider", lambda: focused(session, main) == "slider 'DPI'")
    sleep = next(n for n in session.walk(main) if n.getRoleName() == "combo box" and
                 showing(n) and n.name.endswith(" min"))
    items = [n.name for n in session.walk(sleep) if n.getRoleName() == "list item"]
    current = sleep.name
    following = items[items.index(current) + 1]
    session.act(sleep)
    time.sleep(0.8)  # the list opens from the event loop
    session.key("Down")
    session.key("Return")
    wait_until("Down from the current item to choose %r" % following,
               lambda: sleep.name == following)


SCENARIOS = {
    "reader_names": scenario_reader_names,
    "reader_keyboard": scenario_reader_keyboard,
}
