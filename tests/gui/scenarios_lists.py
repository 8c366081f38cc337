"""Lists longer than their area: the profile chooser's four profiles and a long macro list
are reached with the wheel and the keyboard and chosen with the pointer, as a person does.
The evidence is where the reader says each row is, the store's rows and the capture.
"""
import gui_harness
from gui_harness import HarnessError, showing, wait_until
from gui_steps import MAIN_TITLE, PROFILE_TAIL, active_profile, centre, commands_after, quiet
from gui_steps import open_device
from scenarios_macro import item_names, macro_list, new_macro, open_macros

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
    """The chooser's fourth profile is scrolled to with the wheel and clicked."""
    open_device(session)
    main = session.window(MAIN_TITLE)
    wait_until("the start-up traffic to settle", lambda: quiet(session))
    session.press("push button", "Profile 1", main)
    chooser = session.window("ProfileDlg")
    lst = wait_until("the chooser's list", lambda: next(iter(session.find_all("list", chooser)),
                                                         None))
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
    session.find("push button", "Profile 4", main)


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


SCENARIOS = {
    "lists_profiles": scenario_lists_profiles,
    "lists_macros": scenario_lists_macros,
}
