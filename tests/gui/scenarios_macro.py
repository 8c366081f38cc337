"""Macro page scenarios: the macro list, recording real key presses with each delay mode,
inserting and editing events, play settings, macro files and the ways a recording ends.
The evidence is the event list as a screen reader reads it and the rows of the store.
"""
import os
import time

import gui_harness
from gui_harness import HarnessError, showing, wait_until
from gui_steps import MAIN_TITLE, centre, expect_chosen, open_device

DOWN, UP = "\u2193", "\u2191"
VK_A, VK_B = 65, 66
KEY_DOWN, KEY_UP, DELAY, MOUSE_DOWN, MOUSE_UP = 2, 3, 1, 4, 5


# ---- steps -----------------------------------------------------------------------------

def open_macros(session):
    open_device(session)
    main = session.window(MAIN_TITLE)
    # The size the page was laid out for.
    session.xdotool("search", "--name", "^%s$" % MAIN_TITLE, "windowsize", 1300, 788)
    session.press("page tab", "Macros", main)
    session.find("push button", "New macro", main)
    return main


def macro_list(session, main):
    return session.find("list", "Macro list", main)


def event_list(session, main):
    return session.find("list", "Macro events", main)


def item_names(session, lst):
    return [n.name for n in session.walk(lst) if n.getRoleName() == "list item"]


def new_macro(session, main, name):
    session.press("push button", "New macro", main)
    wait_until("%r in the macro list" % name,
               lambda: name in item_names(session, macro_list(session, main)))
    return stored_macro(session, name)


def stored_macro(session, name):
    with session.database() as db:
        row = db.execute("SELECT * FROM t_macro_data WHERE name = ? ORDER BY macro_id DESC",
                         (name,)).fetchone()
    if row is None:
        raise HarnessError("macro %r not stored" % name)
    return dict(row)


def stored_events(session, macro_id):
    with session.database() as db:
        rows = db.execute("SELECT type, value, desc FROM t_macrorecord WHERE macro_id = ? "
                          "ORDER BY record_index", (macro_id,)).fetchall()
    return [(r["type"], r["value"], r["desc"]) for r in rows]


def key_events(events):
    return [(t, v) for t, v, _ in events if t != DELAY]


def set_field(session, field, text):
    """Real typing into a field: a click on it, select all, the text, Enter."""
    session.click_at(*centre(field))
    wait_until("the field to take the focus", lambda: field.getState().contains(
        gui_harness.pyatspi.STATE_FOCUSED))
    session.key("ctrl+a")
    session.type_text(text)
    session.key("Return")


def start_recording(session, main):
    session.press("push button", "Start recording", main)
    session.find("push button", "Stop recording", main)
    # Key presses go to the window under the pointer when no window manager runs.
    session.xdotool("mousemove", *centre(event_list(session, main)))
    time.sleep(0.3)


def stop_recording(session, main):
    session.press("push button", "Stop recording", main)
    session.find("push button", "Start recording", main)


def choose_menu_item(session, name, menu_name="Insert event"):
    """Chooses name in the menu called menu_name (the event list's insert menu unless said)."""
    menu = session.window(menu_name)
    session.press("menu item", name, menu)
    wait_until("the menu to close", lambda: not showing(menu))


def tap(session, key, hold=0.05):
    session.xdotool("keydown", key)
    time.sleep(hold)
    session.xdotool("keyup", key)
    time.sleep(0.1)


# ---- scenarios -------------------------------------------------------------------------

def scenario_macro_record(session):
    """New macro, then recordings with measured and with fixed delays."""
    main = open_macros(session)
    first = new_macro(session, main, "Custom 1")
    start_recording(session, main)
    tap(session, "a", hold=0.2)
    tap(session, "b")
    wait_until("four events shown", lambda: len(item_names(session, event_list(session, main)))
               >= 6)
    session.screenshot("macro-recording")
    stop_recording(session, main)
    events = stored_events(session, first["macro_id"])
    if key_events(events) != [(KEY_DOWN, VK_A), (KEY_UP, VK_A), (KEY_DOWN, VK_B),
                              (KEY_UP, VK_B)]:
        raise HarnessError("measured recording stored %s" % events)
    types = [t for t, _, _ in events]
    if types != [KEY_DOWN, DELAY, KEY_UP, DELAY, KEY_DOWN, DELAY, KEY_UP, DELAY]:
        raise HarnessError("delays not between the events: %s" % events)
    held = events[1][1]
    if not 150 <= held <= 2000 or events[1][2] != "%d ms" % held:
        raise HarnessError("the 0.2 s hold of A was stored as %s" % (events[1],))
    shown = item_names(session, event_list(session, main))
    if shown != [" ".join(desc.split()) for _, _, desc in events]:
        raise HarnessError("list shows %s, store holds %s" % (shown, events))
    if shown[0] != DOWN + " A" or shown[2] != UP + " A":
        raise HarnessError("list shows %s" % shown)

    second = new_macro(session, main, "Custom 2")
    session.press("radio button", "Fixed delay", main)
    wait_until("fixed delay 10 stored", lambda: (stored_macro(session, "Custom 2")["delay_type"],
                                                 stored_macro(session, "Custom 2")["delay_time"])
               == (2, 10))
    start_recording(session, main)
    tap(session, "a")
    tap(session, "b")
    # Stopped from the keyboard: Esc ends it as the button does and is not recorded.
    tap(session, "Escape")
    session.find("push button", "Start recording", main)
    events = stored_events(session, second["macro_id"])
    expected = [(KEY_DOWN, VK_A), (DELAY, 10), (KEY_UP, VK_A), (DELAY, 10), (KEY_DOWN, VK_B),
                (DELAY, 10), (KEY_UP, VK_B), (DELAY, 10)]
    if [(t, v) for t, v, _ in events] != expected:
        raise HarnessError("fixed-delay recording stored %s" % events)
    # The first macro kept its own events.
    if len(stored_events(session, first["macro_id"])) != 8:
        raise HarnessError("recording into Custom 2 changed Custom 1")


def scenario_macro_edit(session):
    """Insert a click at the selection, clamp an edited delay, play mode, files."""
    main = open_macros(session)
    macro = new_macro(session, main, "Custom 1")
    for _ in range(2):
        session.press("push button", "Insert", main)
        choose_menu_item(session, "Delay")
    wait_until("two delays", lambda: len(stored_events(session, macro["macro_id"])) == 2)
    events = event_list(session, main)
    rows = [n for n in session.walk(events) if n.getRoleName() == "list item"]
    session.act(rows[0])
    session.press("push button", "Insert", main)
    choose_menu_item(session, "Left click")
    wait_until("the click after the selected delay", lambda: [
        (t, v) for t, v, _ in stored_events(session, macro["macro_id"])] ==
        [(DELAY, 10), (MOUSE_DOWN, 1), (DELAY, 10), (MOUSE_UP, 1), (DELAY, 10), (DELAY, 10)])
    names = item_names(session, events)
    if names[1:4] != [DOWN + " LB", "10 ms", UP + " LB"]:
        raise HarnessError("list shows %s" % names)

    # Editing the last delay: 20000 is clamped to 10000.
    rows = [n for n in session.walk(events) if n.getRoleName() == "list item"]
    session.act(rows[5])
    field = session.find("text", "Value", main)
    session.screenshot("macro-edit-panel")
    set_field(session, field, "20000")
    wait_until("the delay stored as 10000", lambda: stored_events(
        session, macro["macro_id"])[5][:2] == (DELAY, 10000))
    wait_until("the list shows it", lambda: item_names(session, events)[5] == "10000 ms")

    # Play modes.
    session.press("radio button", "Repeat while held", main)
    wait_until("play type 2", lambda: stored_macro(session, "Custom 1")["play_type"] == 2)
    session.press("radio button", "Repeat count", main)
    set_field(session, session.find("text", "Repeat count", main), "3")
    wait_until("repeat 3 stored", lambda: (stored_macro(session, "Custom 1")["play_type"],
                                           stored_macro(session, "Custom 1")["play_times"])
               == (0, 3))

    # All macros to a file and back: the same macros appended with new ids.
    new_macro(session, main, "Custom 2")
    with session.database() as db:
        before = [dict(r) for r in db.execute("SELECT * FROM t_macro_data ORDER BY macro_id")]
    path = os.path.join(session.home, "all-macros.xml")
    # A name typed without ".xml" gets it, so the import's "*.xml" filter shows the file.
    run_file_command(session, main, "Export all", path[:-len(".xml")])
    wait_until("the file written", lambda: os.path.exists(path))
    run_file_command(session, main, "Import all", path)
    wait_until("two macros appended", lambda: len(item_names(
        session, macro_list(session, main))) == 4)
    with session.database() as db:
        after = [dict(r) for r in db.execute("SELECT * FROM t_macro_data ORDER BY macro_id")]
    strip = lambda m: {k: v for k, v in m.items() if k != "macro_id"}  # noqa: E731
    if [strip(m) for m in after[2:]] != [strip(m) for m in before] or after[:2] != before:
        raise HarnessError("import all appended %s after %s" % (after[2:], before))
    for old, new in zip(before, after[2:]):
        old_events = stored_events(session, old["macro_id"])
        if stored_events(session, new["macro_id"]) != old_events or new["macro_id"] <= 2:
            raise HarnessError("macro %s came back as %s" % (old, new))
    if item_names(session, macro_list(session, main)) != ["Custom 1", "Custom 2"] * 2:
        raise HarnessError("list shows %s" % item_names(session, macro_list(session, main)))


def run_file_command(session, main, command, path):
    session.press("push button", "More", macro_list(session, main))
    choose_menu_item(session, command, "Macro list")
    answer_file_dialog(session, path)


def answer_file_dialog(session, path):
    """Types path into the open file dialog's name field and waits for the dialog to close."""
    dialog = wait_until("the file dialog", lambda: next(
        (f for f in (session.app.getChildAtIndex(i) for i in range(session.app.childCount))
         if f is not None and f.getRoleName() in ("dialog", "file chooser") and showing(f)),
        None))
    name_field = wait_until("the file name field", lambda: next(
        (n for n in session.walk(dialog) if n.getRoleName() == "text" and showing(n)
         and n.getState().contains(gui_harness.pyatspi.STATE_EDITABLE)), None))
    set_field(session, name_field, path)
    wait_until("the file dialog to close", lambda: not showing(dialog))


def scenario_macro_limit(session):
    """The 30th recorded event ends the recording with its message."""
    main = open_macros(session)
    macro = new_macro(session, main, "Custom 1")
    session.press("radio button", "No delay", main)
    wait_until("no delays stored", lambda: stored_macro(session, "Custom 1")["delay_type"] == 0)
    start_recording(session, main)
    session.xdotool("key", "--delay", "40", *(["a"] * 16))
    box = session.window("Macro events")
    session.find("label", "The event list is full.", box)
    session.press("push button", "OK", box)
    session.find("push button", "Start recording", main)
    events = stored_events(session, macro["macro_id"])
    if key_events(events) != [(KEY_DOWN, VK_A), (KEY_UP, VK_A)] * 15 or len(events) != 30:
        raise HarnessError("31 and 32 key events stored %d events: %s" % (len(events), events))


def scenario_macro_offline(session):
    """The mouse behind the receiver switched off: the recording stops and keeps its events."""
    main = open_macros(session)
    macro = new_macro(session, main, "Custom 1")
    start_recording(session, main)
    tap(session, "b")
    wait_until("two events shown", lambda: len(item_names(session, event_list(session, main)))
               >= 2)
    simulator = session.window("Simulated device")
    session.press("push button", "Switch mouse off", simulator)
    session.find("push button", "Start recording", main)
    events = stored_events(session, macro["macro_id"])
    if key_events(events) != [(KEY_DOWN, VK_B), (KEY_UP, VK_B)]:
        raise HarnessError("the recording cut by the mouse going away stored %s" % events)
    # Keys pressed afterwards are not recorded.
    tap(session, "c")
    time.sleep(0.5)
    if key_events(stored_events(session, macro["macro_id"])) != key_events(events):
        raise HarnessError("keys after the stop were recorded")


scenario_macro_offline.program_args = ["--simulate=wireless"]


def rows_of(session, lst):
    return [n for n in session.walk(lst) if n.getRoleName() == "list item"]


def scenario_macro_keys(session):
    """Keys through the key dialog and the edit panel's key field, a mouse button changed
    in the panel, then a macro renamed in place and deleted."""
    main = open_macros(session)
    macro = new_macro(session, main, "Custom 1")
    session.press("push button", "Insert", main)
    choose_menu_item(session, "Keyboard key")
    dialog = session.window("Keyboard key")  # read by its purpose
    field = wait_until("the key field", lambda: next(
        (n for n in session.walk(dialog) if n.getRoleName() == "text" and showing(n)), None))
    session.click_at(*centre(field))  # a click over the field is a mouse button...
    wait_until("the click captured", lambda: field.queryText().getText(0, -1) == "LB")
    session.key("c")  # ...and the key pressed after it replaces it
    wait_until("the key captured", lambda: field.queryText().getText(0, -1) == "C")
    session.press("push button", "Confirm", dialog)
    wait_until("the key inserted", lambda: [(t, v) for t, v, _ in stored_events(
        session, macro["macro_id"])] == [(KEY_DOWN, 67), (DELAY, 10), (KEY_UP, 67), (DELAY, 10)])

    events = event_list(session, main)
    session.act(rows_of(session, events)[2])
    value = session.find("text", "Value", main)
    session.click_at(*centre(value))
    session.key("d")
    wait_until("the key field shows D", lambda: value.queryText().getText(0, -1) == "D")
    session.key("Tab")  # Tab is not captured: it leaves the field, which applies the key
    wait_until("both events changed to D", lambda: [(t, v, d) for t, v, d in stored_events(
        session, macro["macro_id"]) if t != DELAY] ==
        [(KEY_DOWN, 68, DOWN + "  D"), (KEY_UP, 68, UP + "  D")])

    # The released D is still selected: the click goes in after it.
    session.press("push button", "Insert", main)
    choose_menu_item(session, "Right click")
    wait_until("the click inserted", lambda: [t for t, _, _ in stored_events(
        session, macro["macro_id"])][3:6] == [MOUSE_DOWN, DELAY, MOUSE_UP])
    session.act(rows_of(session, events)[3])
    combo = session.find("combo box", "Value", main)  # named by its heading, not its choice
    expect_chosen(combo, "Right click")
    middle = next(n for n in session.walk(combo) if n.name == "Middle click")
    session.act(middle)
    session.press("push button", "Apply", main)
    wait_until("the click changed to the middle button", lambda: [
        (t, v, d) for t, v, d in stored_events(session, macro["macro_id"])[3:] if t != DELAY] ==
        [(MOUSE_DOWN, 4, DOWN + "  MB"), (MOUSE_UP, 4, UP + "  MB")])

    # Renamed in place, then deleted.
    second = new_macro(session, main, "Custom 2")
    row = next(n for n in rows_of(session, macro_list(session, main)) if n.name == "Custom 2")
    session.act(row, "Rename")
    wait_until("the in-place field", lambda: any(
        n.getRoleName() == "text" and showing(n) for n in session.walk(macro_list(session, main))))
    session.key("ctrl+a")
    session.type_text("Burst")
    session.key("Return")
    wait_until("the new name stored", lambda: stored_macro(session, "Burst")["macro_id"] ==
               second["macro_id"])
    # Two buttons say "Delete"; the reader names the macro list's "Delete macro".
    session.act(wait_until("the macro list's delete button", lambda: next(
        (n for n in session.walk(main) if n.getRoleName() == "push button" and
         n.name == "Delete macro" and n.description == "Macro list" and showing(n)), None)))
    session.press("push button", "OK", session.window("Delete macro"))
    wait_until("Burst gone from list and store", lambda: item_names(
        session, macro_list(session, main)) == ["Custom 1"])
    with session.database() as db:
        if db.execute("SELECT COUNT(*) FROM t_macro_data WHERE name = 'Burst'").fetchone()[0]:
            raise HarnessError("deleted macro still stored")


MACRO_COMMAND = 0x08
FORWARD_BUTTON = 4


def scenario_macro_assign(session):
    """A recorded macro given to button 4 on the buttons page: its packet carries the exact
    event records after the button index, the button entry names the macro, and both are
    still there after the program starts again."""
    import scenarios_keys as keys
    main = open_macros(session)
    new_macro(session, main, "Custom 1")
    session.press("radio button", "Fixed delay", main)
    wait_until("fixed delay 10 stored",
               lambda: stored_macro(session, "Custom 1")["delay_type"] == 2)
    start_recording(session, main)
    tap(session, "a")
    tap(session, "b")
    stop_recording(session, main)

    mark = session.mark()
    session.press("page tab", "Buttons", main)
    keys.select(session, main, "Forward button")
    choices = wait_until("the macro list of the panel", lambda: next(
        (n for n in session.walk(main) if n.getRoleName() == "combo box" and any(
            n.getChildAtIndex(i).name == "Custom 1" for i in range(n.childCount))), None))
    session.act(next(choices.getChildAtIndex(i) for i in range(choices.childCount)
                     if choices.getChildAtIndex(i).name == "Custom 1"))
    table = keys.wait_table(session, mark, "a macro entry for button 4",
                            lambda r: keys.entry(r, FORWARD_BUTTON).startswith("90"))
    packets = [r for r in session.out_reports_since(mark) if int(r[2:4], 16) == MACRO_COMMAND]
    # Button index 4, then A down, A up, B down, B up: kind, 10 ms little-endian, usage.
    blob = "04" + "300A0004" + "B00A0004" + "300A0005" + "B00A0005"
    if len(packets) != 1 or packets[0][6:10] != "0111" or packets[0][10:10 + len(blob)] != blob:
        raise HarnessError("macro packets %s, button table %s" % (packets, table))
    session.find("list item", "Forward button: Custom 1", main)

    session.restart()
    main = keys.open_keys(session)
    session.find("list item", "Forward button: Custom 1", main)
    stored = keys.rows(session).get(FORWARD_BUTTON)
    if stored is None or stored[3] != "Custom 1":
        raise HarnessError("after the restart button 4 holds %s" % (stored,))


SCENARIOS = {
    "macro_record": scenario_macro_record,
    "macro_edit": scenario_macro_edit,
    "macro_keys": scenario_macro_keys,
    "macro_limit": scenario_macro_limit,
    "macro_offline": scenario_macro_offline,
    "macro_assign": scenario_macro_assign,
}
