"""What a screen reader hears: icon-only buttons named by their tooltips, backdrops kept
quiet, colour swatches called by their colour's word (the code in the description), and
the lighting sliders reading what the readout beside them shows. Walks every page of the
window.
"""
import re
import time

import gui_harness
from gui_harness import HarnessError, showing, wait_until
from gui_steps import MAIN_TITLE, expect_chosen, open_device, swatch
from scenarios_lighting import EFFECT_LIST

COLOUR_CODE = re.compile(r"#[0-9A-F]{6}")
# Names made of a picture's file name: decoration that should say nothing.
SKIN_FILE = re.compile(r"^(img|btn|bg|bkg|icon|sysbtn|main)_|\.png$", re.I)
PAGES = ["Buttons", "Performance", "Macros", "Lighting", "Device settings"]
# Swatches of the steady light's presets and what a person calls them.
PRESET_WORDS = {"#FF0000": "Red", "#F000FF": "Pink", "#000CFF": "Blue", "#00FFFC": "Cyan",
                "#00FF06": "Green", "#FFDE00": "Yellow", "#FF4800": "Orange", "#FFFFFF": "White"}


def scenario_reader_names(session):
    """The device list's paging buttons read "Previous page" and "Next page"; no showing
    object is named by a colour code or a skin file on any page (swatches included: they
    say their colour), and the lighting sliders read what their readouts show."""
    main = session.window(MAIN_TITLE)
    for name in ("Previous page", "Next page"):
        session.find("push button", name, main, visible=False)
    open_device(session)
    heard = []
    for page in PAGES:
        session.press("page tab", page, main)
        session.find("page tab", page, main)
        heard += ["%s: %s %r" % (page, n.getRoleName(), n.name) for n in session.walk(main)
                  if showing(n) and (COLOUR_CODE.search(n.name or "")
                                     or SKIN_FILE.search(n.name or ""))]
        if page == "Lighting":
            heard += lighting_words(session, main)
    if heard:
        raise HarnessError("read out as codes, file names or raw numbers:\n  " + "\n  ".join(heard))


def readout(session, root, caption):
    """The readout label beside a slider ("Brightness: 75%") and its number."""
    pattern = re.compile(r"^%s\W+(\d+)%%?$" % re.escape(caption))
    for node in session.find_all("label", root):
        match = pattern.match(node.name or "") if showing(node) else None
        if match:
            return node.name, int(match.group(1))
    raise HarnessError("no readout %r on the lighting page" % caption)


def choose_mode(session, main, name):
    combo = session.find("combo box", EFFECT_LIST, main)
    session.act(next(combo.getChildAtIndex(i) for i in range(combo.childCount)
                     if combo.getChildAtIndex(i).name == name))
    expect_chosen(combo, name)


def lighting_words(session, main):
    """The steady light's preset swatches say their colour; breathing's brightness and
    speed sliders read the number their readouts show, before and after a step down."""
    heard = []
    choose_mode(session, main, "Steady")
    for code, word in PRESET_WORDS.items():
        node = swatch(session, main, code)
        if node.name != word:
            heard.append("Lighting: the %s swatch is called %r, not %r" % (code, node.name, word))
    choose_mode(session, main, "Breathing")
    for caption in ("Brightness", "Speed"):
        slider = session.find("slider", caption, main)
        for step in range(2):
            text, number = readout(session, main, caption)
            value = int(slider.queryValue().currentValue)
            if value != number:
                heard.append("Lighting: the %s slider reads %d where %r is shown" %
                             (caption, value, text))
                break
            if step == 0:
                session.act(slider, "Decrease")
                wait_until("the %s readout to follow a step down" % caption,
                           lambda: readout(session, main, caption)[0] != text)
    return heard


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
    sleep = session.find("combo box", "Sleep after", main)
    items = [n.name for n in session.walk(sleep) if n.getRoleName() == "list item"]
    current = next(n.name for n in session.walk(sleep) if n.getRoleName() == "list item" and
                   n.getState().contains(gui_harness.pyatspi.STATE_SELECTED))
    following = items[items.index(current) + 1]
    session.act(sleep)
    time.sleep(0.8)  # the list opens from the event loop
    session.key("Down")
    session.key("Return")
    expect_chosen(sleep, following)


SCENARIOS = {
    "reader_names": scenario_reader_names,
    "reader_keyboard": scenario_reader_keyboard,
}
