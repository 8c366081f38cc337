"""What a screen reader hears: icon-only buttons named by their tooltips, and backdrops
kept quiet instead of read out as colour codes. Walks every page of the window.
"""
import re

from gui_harness import HarnessError, showing
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


SCENARIOS = {
    "reader_names": scenario_reader_names,
}
