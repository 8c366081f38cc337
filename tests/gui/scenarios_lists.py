"""Lists longer than their area: the profile chooser's four profiles and a long macro list
are reached with the wheel and the keyboard and chosen with the pointer, as a person does.
The evidence is where the reader says each row is, the store's rows and the capture.
"""
import gui_harness
from gui_harness import HarnessError, showing, wait_until
from gui_steps import MAIN_TITLE, PROFILE_TAIL, active_profile, centre, commands_after, quiet
from gui_steps import open_device
from scenarios_macro import choose_menu_item, event_list, item_names, macro_list, new_macro
from scenarios_macro import open_macros, rows_of, stored_events

WHEEL_DOWN, WHEEL_UP = 5, 4


def extents(node):
    box = node.queryComponent().getExtents(0)
    return box.x, box.y, box.width, box.height


def inside(node, container):
    """True when node has an area and all of it lies within container's."""
    x, y, w, h = extents(node)
    cx, cy, cw, ch = extents(container)
    return w > 0 and h > 0 and cx <= x and cy <= y and x + w <= cx + cw and y + h <= cy + ch


def selected(node):
    return node.getState().contains(gui_harness.pyatspi.STATE_SELECTED)


def row(session, lst, name):
    return session.find("list item", name, lst, visible=False)


def wheel(session, node, button, turns):
    x, y = centre(node)
    session.xdotool("mousemove", x, y)
    for _ in range(turns):
        session.xdotool("click", button)


def scenario_lists_profiles(session):
    """The chooser's fourth profile is scrolled to with the wheel and clicked; then the
    chooser is used with the keyboard alone."""
    open_device(session)
    main = session.window(MAIN_TITLE)
    wait_until("the start-up traffic to settle", lambda: quiet(session))
    session.press("push button", "Profile 1", main)
    chooser = session.window("Profiles")
    lst = wait_until("the chooser's list", lambda: next(iter(session.find_all("list", chooser)),
                                                         None))
    if lst.name != "Profiles":
        raise HarnessError("the chooser's list is called %r" % lst.name)
    names = [n.name for n in session.walk(lst) if n.getRoleName() == "list item"]
    if names != ["Profile %d" % i for i in range(1, 5)]:
        raise HarnessError("the chooser lists %s" % names)
    fourth = row(session, lst, "Profile 4")
    wheel(session, lst, WHEEL_DOWN, 2)
    wait_until("profile 4 scrolled into the list's area", lambda: inside(fourth, lst))
    if any(not inside(n, lst) for n in session.walk(lst)
           if n.getRoleName() == "list item" and showing(n)):
        raise HarnessError("a row said to show lies outside the list")
    session.screenshot("chooser-scrolled")
    mark = session.mark()
    session.click_at(*centre(fourth))
    wait_until("the chooser to close", lambda: not showing(chooser))
    wait_until("the upload to end with the active profile",
               lambda: commands_after(session, mark)[-len(PROFILE_TAIL):] == PROFILE_TAIL)
    wait_until("profile 4 active in the store",
               lambda: [p for p, _ in active_profile(session)] == [4])
    button = session.find("push button", "Profile 4", main)

    # By keyboard: the button opens the chooser, which takes the keys at once.
    session.focus_window(MAIN_TITLE)
    session.act(button, "SetFocus")
    session.key("space")
    chooser = session.window("Profiles")
    mark = session.mark()
    session.key("Up", "Return")
    wait_until("the chooser to close on Enter", lambda: not showing(chooser))
    wait_until("profile 3 active in the store",
               lambda: [p for p, _ in active_profile(session)] == [3])
    wait_until("the upload to end with the active profile",
               lambda: commands_after(session, mark)[-len(PROFILE_TAIL):] == PROFILE_TAIL)
    button = session.find("push button", "Profile 3", main)
    # Escape closes it and changes nothing.
    session.act(button, "SetFocus")
    session.key("space")
    chooser = session.window("Profiles")
    session.key("Escape")
    wait_until("the chooser to close on Escape", lambda: not showing(chooser))
    if [p for p, _ in active_profile(session)] != [3]:
        raise HarnessError("Escape in the chooser changed the active profile")


def scenario_lists_macros(session):
    """Fourteen macros: the keyboard brings the last into view, the wheel the first back,
    and the pointer picks the thirteenth."""
    main = open_macros(session)
    count = 14
    for number in range(1, count + 1):
        new_macro(session, main, "Custom %d" % number)
    lst = macro_list(session, main)
    if len(item_names(session, lst)) != count:
        raise HarnessError("the macro list holds %s" % item_names(session, lst))
    first, last = row(session, lst, "Custom 1"), row(session, lst, "Custom %d" % count)
    # The newest macro is selected and therefore shown.
    wait_until("the new last macro in view", lambda: inside(last, lst))
    wheel(session, lst, WHEEL_UP, count)
    wait_until("the wheel to bring the first macro back", lambda: inside(first, lst))
    if inside(last, lst):
        raise HarnessError("all %d rows claim to fit the list's area" % count)
    # Keyboard: the list's focus, then End walks the selection to the last row and shows it.
    session.click_at(*centre(first))
    session.focus_window(MAIN_TITLE)
    session.key("End")
    wait_until("End to show the last macro", lambda: inside(last, lst))
    wait_until("the last macro selected", lambda: selected(last))
    session.screenshot("macros-scrolled")
    thirteenth = row(session, lst, "Custom %d" % (count - 1))
    wait_until("the thirteenth macro in view", lambda: inside(thirteenth, lst))
    session.click_at(*centre(thirteenth))
    wait_until("the thirteenth macro selected by the pointer", lambda: selected(thirteenth))


def shown_events(session, main):
    return len(rows_of(session, event_list(session, main)))


def answer_box(session, title, answer):
    box = session.window(title)
    session.press("push button", answer, box)
    wait_until("the box to close", lambda: not showing(box))


def scenario_lists_macro_keys(session):
    """The row the keyboard moves to in the macro list is the macro shown, so "Clear" and
    "Delete" act on the macro the person sees; clearing asks first."""
    main = open_macros(session)
    clicked = new_macro(session, main, "Custom 1")
    session.press("push button", "Insert", main)
    choose_menu_item(session, "Right click")
    wait_until("Custom 1's click shown", lambda: shown_events(session, main) == 4)
    new_macro(session, main, "Custom 2")
    wait_until("the empty Custom 2 shown", lambda: shown_events(session, main) == 0)
    lst = macro_list(session, main)
    session.click_at(*centre(row(session, lst, "Custom 2")))
    session.focus_window(MAIN_TITLE)
    for key, name, events in (("Up", "Custom 1", 4), ("End", "Custom 2", 0),
                              ("Home", "Custom 1", 4)):
        session.key(key)
        wait_until("%s to show %s" % (key, name), lambda: selected(row(session, lst, name)) and
                   shown_events(session, main) == events)

    session.press("push button", "Clear", main)
    answer_box(session, "Clear", "Cancel")
    if len(stored_events(session, clicked["macro_id"])) != 4:
        raise HarnessError("a cancelled clear left %s" % stored_events(session, clicked["macro_id"]))
    session.press("push button", "Clear", main)
    answer_box(session, "Clear", "OK")
    wait_until("Custom 1 emptied in the store and on the page", lambda: not stored_events(
        session, clicked["macro_id"]) and shown_events(session, main) == 0)

    session.click_at(*centre(row(session, lst, "Custom 1")))
    session.focus_window(MAIN_TITLE)
    session.key("Down")
    wait_until("Down to choose Custom 2", lambda: selected(row(session, lst, "Custom 2")))
    session.act(wait_until("the macro list's delete button", lambda: next(
        (n for n in session.walk(main) if n.getRoleName() == "push button" and
         n.name == "Delete macro" and n.description == "Macro list" and showing(n)), None)))
    answer_box(session, "Delete macro", "OK")
    wait_until("Custom 2 deleted, Custom 1 kept",
               lambda: item_names(session, lst) == ["Custom 1"])


SCENARIOS = {
    "lists_macro_keys": scenario_lists_macro_keys,
    "lists_profiles": scenario_lists_profiles,
    "lists_macros": scenario_lists_macros,
}
