"""Every text of the window fits its control, in each shipped language: walks the mouse's
pages, the program settings and the profile chooser after choosing the language on the
settings page, as a person does, and fails naming the language, page and control of any
text drawn past the edges of its control (and not cut with an ellipsis, or wrapped
inside it).

What was drawn is read from each control's text on the accessibility bus: its text is
the text as drawn (a cut one ends in "…" while its name stays whole), and its character
extents say where the characters are.
"""
import time

from gui_harness import HarnessError, showing, wait_until
from gui_steps import MAIN_TITLE, expect_chosen, language_texts, open_device

# The language list of the settings page: language id and the item that chooses it.
LANGUAGES = {2052: "简体中文", 1033: "English", 1028: "繁体中文", 1041: "日本語にほんご",
             1042: "한국어", 1058: "Українська Мова"}
TEXT_SETTINGS, TEXT_PROFILE, TEXT_BACK, TEXT_LANGUAGE = 11, 61, 110, 600
TEXT_TABS = [72, 73, 74, 75, 76]  # buttons, performance, macros, lighting, device settings
TEXT_LEFT_BUTTON = 701
TEXT_PROFILES = 707  # what the profile chooser is called
DESKTOP = 0  # coordinates relative to the screen


ELLIPSIS = "\u2026"
SLACK = 1  # pixels of rounding


def drawn_text(node):
    """(text as drawn, its extents on screen) of a showing text; None for other objects
    and for texts not drawn yet."""
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    count = text.characterCount
    if count == 0 or node.getRoleName() in ("text", "password text", "entry"):
        return None
    box = text.getRangeExtents(0, count, DESKTOP)
    if box[2] <= 0 or box[3] <= 0:
        return None
    return text.getText(0, -1), box, text.getCharacterExtents(0, DESKTOP)


def elided(shown, name):
    """True when the drawn text is the start of the name cut with "…" (names are read
    with their white space simplified)."""
    return shown.endswith(ELLIPSIS) and " ".join(shown.split()) != " ".join(name.split())


def cut_reason(node, drawn):
    """Why a drawn text is cut, or None when it reads whole (an elided text is shown in
    full in its tooltip and its name)."""
    shown, (x, y, width, height), first = drawn
    area = node.queryComponent().getExtents(DESKTOP)
    if elided(shown, node.name):
        return None
    over = []
    if x < area.x - SLACK or x + width > area.x + area.width + SLACK:
        over.append("%d px wide in %d px" % (width, area.width))
    # One line may stand over a low control (it is drawn centred on it); more may not.
    if height > 1.5 * first[3] and (y < area.y - SLACK or y + height > area.y + area.height
                                    + SLACK):
        over.append("%d px high in %d px" % (height, area.height))
    return "text " + " and ".join(over) if over else None


class Seen(set):
    """Controls already reported, and the elided ones seen."""
    def __init__(self):
        super().__init__()
        self.elided = set()


def check_page(session, root, language, page, problems, counted):
    """Adds a line to problems for each cut text on the page now showing under root;
    returns how many texts were checked."""
    checked = 0
    time.sleep(0.4)  # new words are drawn from the event loop
    for node in list(session.walk(root)):
        if node is root or not showing(node):
            continue
        try:
            drawn = drawn_text(node)
        except Exception:
            continue
        if drawn is None:
            continue
        checked += 1
        reason = cut_reason(node, drawn)
        key = (node.getRoleName(), node.name)
        if elided(drawn[0], node.name):
            counted.elided.add(key)
        if reason and key not in counted:
            counted.add(key)
            problems.append("%s, %s: %s %r drawn as %r: %s" % (language, page, key[0], key[1],
                                                               drawn[0], reason))
    if checked == 0:
        raise HarnessError("%s, %s: no drawn text found" % (language, page))
    return checked


def choose_language(session, main, lcid, texts_before):
    """Chooses the language on the settings page as a person does; stays on that page."""
    session.press("push button", texts_before[TEXT_SETTINGS], main)
    # The list is named by its caption, in the language shown.
    languages = session.find("combo box", texts_before[TEXT_LANGUAGE], main)
    session.act(session.find("list item", LANGUAGES[lcid], languages, visible=False))
    expect_chosen(languages, LANGUAGES[lcid])


def walk_language(session, lcid):
    main = session.window(MAIN_TITLE)
    open_device(session)
    english = language_texts(session.program_dir, 1033)
    texts = language_texts(session.program_dir, lcid)
    choose_language(session, main, lcid, english)
    language = "%s (%d)" % (LANGUAGES[lcid], lcid)
    problems, counted = [], Seen()
    time.sleep(0.5)  # the new words are drawn from the event loop
    check_page(session, main, language, "program settings", problems, counted)
    # A screen reader still finds the window by its name in the new language.
    if main.name != MAIN_TITLE:
        raise HarnessError("the window is named %r after switching to %s" % (main.name, language))
    session.screenshot("%d-settings" % lcid)
    session.press("push button", texts[TEXT_BACK], main)
    for tab in TEXT_TABS:
        session.press("page tab", texts[tab], main)
        session.find("page tab", texts[tab], main)
        time.sleep(0.3)
        check_page(session, main, language, texts[tab], problems, counted)
        session.screenshot("%d-tab%d" % (lcid, tab))
        if tab == TEXT_TABS[0]:
            # The button's panel: its lists and the editors' openers.
            row = wait_until("the left button's row", lambda: next(
                (n for n in session.walk(main) if n.getRoleName() == "list item" and showing(n)
                 and n.name.startswith(texts[TEXT_LEFT_BUTTON] + ": ")), None))
            session.act(row)
            session.find("label", texts[TEXT_LEFT_BUTTON], main)
            check_page(session, main, language, texts[tab] + " (button panel)", problems, counted)
            session.screenshot("%d-panel" % lcid)
    profile = wait_until("the profile button", lambda: next(
        (n for n in session.walk(main) if n.getRoleName() == "push button" and showing(n)
         and n.name.startswith(texts[TEXT_PROFILE])), None))
    session.act(profile)
    chooser = session.window(texts[TEXT_PROFILES])
    time.sleep(0.3)
    check_page(session, chooser, language, "profile chooser", problems, counted)
    session.screenshot("%d-profiles" % lcid)
    print("cut texts in %s: %d; elided (whole in name and tooltip): %d %s"
          % (language, len(problems), len(counted.elided), sorted(counted.elided)), flush=True)
    if problems:
        raise HarnessError("%d texts cut in %s:\n  %s" % (len(problems), language,
                                                          "\n  ".join(problems)))


def scenario_for(lcid):
    def scenario(session):
        walk_language(session, lcid)
    scenario.__doc__ = "No text of the window is cut in %s." % LANGUAGES[lcid]
    return scenario


SCENARIOS = {"fit_%d" % lcid: scenario_for(lcid) for lcid in LANGUAGES}
