"""Reaching things as a person does: the home page when the mouse goes off and comes back,
a refusing receiver, the buttons page's lists after macros change on the macro page, and
the macro list's menu with no macros, with the real pointer where a person would click.
"""
import os
import time

import gui_harness
import scenarios_keys as keys
import scenarios_macro as macros
from gui_harness import HarnessError, showing, wait_until
from gui_steps import MAIN_TITLE, centre, commands_after, expect_chosen, quiet, stored
from scenarios_dpi import PERFORMANCE_TAB, RATE_LIST, REPORT_RATE, open_page, wait_sent

SIM_WINDOW = "Simulated device"
NO_DEVICE_NOTICE = "No device found. Connect the mouse or its receiver."
MOUSE_OFF_NOTICE = ("The receiver is plugged in, but its mouse is off or out of range. "
                    "Switch the mouse on or bring it closer.")
WIRELESS_LINE = "2.4G wireless connection"
NOT_IN_STEP_LINE = "The mouse did not take the change; trying again"
DEVICE_INFO = 0x10


def device_card(session, main):
    """The home page's showing device card with an area a pointer can hit, or None."""
    for node in session.walk(main):
        if node.getRoleName() == "list item" and showing(node):
            box = node.queryComponent().getExtents(0)
            if box.width > 0 and box.height > 0:
                return node
    return None


def notice_showing(session, main, notice=None):
    notices = [notice] if notice else [NO_DEVICE_NOTICE, MOUSE_OFF_NOTICE]
    return any(node.getRoleName() == "label" and node.name in notices and showing(node)
               for node in session.walk(main))


def expect_gone_in_words(session, main, what, notice=NO_DEVICE_NOTICE):
    wait_until("the card to leave the home page after " + what,
               lambda: device_card(session, main) is None)
    wait_until("the home page to say %r after %s" % (notice, what),
               lambda: notice_showing(session, main, notice))


def expect_back(session, main, what):
    card = wait_until("the device card back after " + what, lambda: device_card(session, main))
    if notice_showing(session, main):
        raise HarnessError("the no-device notice stays beside the card after " + what)
    return card


def click_card(session, main, card):
    session.focus_window(MAIN_TITLE)
    session.click_at(*centre(card))
    session.find("page tab", "Buttons", main)


def scenario_reach_mouse_cycle(session):
    """Mouse off: the card goes and the home page says so. Mouse on: the card comes back
    and a click on it opens the mouse. The same for the receiver unplugged and plugged in."""
    main = session.window(MAIN_TITLE)
    sim = session.window(SIM_WINDOW)
    expect_back(session, main, "start-up")
    wait_until("the start-up traffic to settle", lambda: quiet(session))
    session.press("push button", "Switch mouse off", sim)
    # The receiver is still there: the words say the mouse is off, not missing.
    expect_gone_in_words(session, main, "switching the mouse off", MOUSE_OFF_NOTICE)
    session.screenshot("home-mouse-off")
    session.press("push button", "Switch mouse on", sim)
    card = expect_back(session, main, "switching the mouse on")
    session.screenshot("home-mouse-on")
    click_card(session, main, card)
    # Inside the mouse's pages the connection line says it is gone, where it can be seen.
    session.press("push button", "Switch mouse off", sim)
    wait_until("the line to say no device, with an area", lambda: any(
        n.name == "No device connected" and showing(n) and
        n.queryComponent().getExtents(0).width > 0 for n in session.walk(main)))
    session.press("push button", "Switch mouse on", sim)
    wait_until("the wireless line back", lambda: connection_line(session, main) == [WIRELESS_LINE])

    session.press("page tab", "Home", main)
    session.press("push button", "Unplug", sim)
    expect_gone_in_words(session, main, "unplugging")
    session.press("push button", "Plug in", sim)
    card = expect_back(session, main, "plugging in")
    click_card(session, main, card)

    # Plugged in while the receiver refuses even to say which mouse it is: the card comes
    # once it answers, without another plug.
    session.press("page tab", "Home", main)
    session.press("push button", "Unplug", sim)
    expect_gone_in_words(session, main, "unplugging again")
    refuse = session.find("check box", "Refuse commands", sim)
    session.act(refuse, "Toggle")
    mark = session.mark()
    session.press("push button", "Plug in", sim)
    # The plug-in asks twice (on arrival and when the list is rebuilt after a pause), each
    # time with one retry: all four are refused before the receiver answers again.
    wait_until("the plug-in's queries refused",
               lambda: commands_after(session, mark).count(DEVICE_INFO) >= 4 and quiet(session))
    if device_card(session, main) is not None:
        raise HarnessError("a card for a receiver that refused to say which mouse it is")
    session.act(refuse, "Toggle")
    click_card(session, main, expect_back(session, main, "the receiver answering at last"))


scenario_reach_mouse_cycle.program_args = ["--simulate=wireless"]


def connection_line(session, main):
    """The names of the showing labels that are one of the connection line's texts."""
    lines = {WIRELESS_LINE, NOT_IN_STEP_LINE, "No device connected"}
    return [n.name for n in session.walk(main) if n.name in lines and showing(n)]


def scenario_reach_refusing_receiver(session):
    """A receiver that refuses everything while the mouse stays on: the connection line
    says the change did not reach the mouse; once it takes commands again the change goes
    out without another click and the line says the link again."""
    main = open_page(session, PERFORMANCE_TAB)
    sim = session.window(SIM_WINDOW)
    wait_until("the wireless line", lambda: connection_line(session, main) == [WIRELESS_LINE])
    refuse = session.find("check box", "Refuse commands", sim)
    session.act(refuse, "Toggle")
    rates = session.find("list", RATE_LIST, main)
    mark = session.mark()
    session.focus_window(MAIN_TITLE)
    session.click_at(*centre(session.find("list item", "500Hz", rates)))
    wait_sent(session, mark, REPORT_RATE, "the refused 500 Hz rate", lambda r: r[5] == 2)
    wait_until("the line to say the mouse lacks the change",
               lambda: connection_line(session, main) == [NOT_IN_STEP_LINE])
    session.screenshot("refused")
    if stored(session, "report_rate") != "2":
        raise HarnessError("the store lost the chosen rate: %r" % stored(session, "report_rate"))
    session.act(refuse, "Toggle")
    mark = session.mark()
    wait_sent(session, mark, REPORT_RATE, "the rate sent again", lambda r: r[5] == 2)
    wait_until("the wireless line back", lambda: connection_line(session, main) == [WIRELESS_LINE])


scenario_reach_refusing_receiver.program_args = ["--simulate=wireless"]


def delete_selected_macro(session, main, answer):
    """The macro list's Delete, answered OK or Cancel in the box that asks first."""
    session.act(wait_until("the macro list's delete button", lambda: next(
        (n for n in session.walk(main) if n.getRoleName() == "push button" and
         n.name == "Delete macro" and n.description == "Macro list" and showing(n)), None)))
    box = session.window("Delete macro")
    session.press("push button", answer, box)
    wait_until("the box to close", lambda: not showing(box))


def macro_choices(session, main):
    """The names the buttons page's macro list offers."""
    box = wait_until("the panel's macro list", lambda: next(
        (n for n in session.walk(main) if n.getRoleName() == "combo box" and showing(n)
         and any(n.getChildAtIndex(i).name.startswith("Custom ") for i in range(n.childCount))),
        None))
    return box, [box.getChildAtIndex(i).name for i in range(box.childCount)]


def scenario_reach_keys_lists(session):
    """The buttons page shows a button's factory function, offers exactly the stored macros
    after macros are made and deleted (deleting asks first), and keeps the picked button
    when the mouse goes off and comes back."""
    main = keys.open_keys(session)
    keys.select(session, main, "Forward button")
    # The factory function, not "Left click".
    expect_chosen(session.find("combo box", keys.MOUSE_LIST, main), "Forward")
    session.press("page tab", "Macros", main)
    macros.new_macro(session, main, "Custom 1")
    second = macros.new_macro(session, main, "Custom 2")
    session.press("page tab", "Buttons", main)
    session.find("label", "Forward button", main)
    box, names = macro_choices(session, main)
    if names != ["Custom 1", "Custom 2"]:
        raise HarnessError("the buttons page offers macros %s" % names)
    mark = session.mark()
    session.act(next(box.getChildAtIndex(i) for i in range(box.childCount)
                     if box.getChildAtIndex(i).name == "Custom 2"))
    keys.wait_table(session, mark, "button 4 playing a macro",
                    lambda r: keys.entry(r, 4).startswith("90"))
    if keys.rows(session).get(4, (0, 0))[1] != second["macro_id"]:
        raise HarnessError("button 4 holds %s" % (keys.rows(session).get(4),))

    session.press("page tab", "Macros", main)
    lst = macros.macro_list(session, main)
    session.act(next(n for n in macros.rows_of(session, lst) if n.name == "Custom 2"))
    delete_selected_macro(session, main, "Cancel")
    if macros.item_names(session, lst) != ["Custom 1", "Custom 2"]:
        raise HarnessError("a cancelled delete left %s" % macros.item_names(session, lst))
    delete_selected_macro(session, main, "OK")
    wait_until("Custom 2 gone", lambda: macros.item_names(session, lst) == ["Custom 1"])
    session.press("page tab", "Buttons", main)
    keys.row_item(session, main, "Forward button")
    session.find("list item", "Forward button: Forward", main)
    _, names = macro_choices(session, main)
    if names != ["Custom 1"]:
        raise HarnessError("after the delete the buttons page offers %s" % names)

    sim = session.window(SIM_WINDOW)
    session.press("push button", "Switch mouse off", sim)
    session.press("push button", "Switch mouse on", sim)
    wait_until("the read-back after the mouse came back", lambda: quiet(session), 30)
    session.find("label", "Forward button", main)
    mark = session.mark()
    keys.choose(session, main, keys.MOUSE_LIST, "Middle click")
    keys.wait_table(session, mark, "button 4 given the middle click",
                    lambda r: keys.entry(r, 4) == "100400")


scenario_reach_keys_lists.program_args = ["--simulate=wireless"]


def close_menu(session, menu):
    """Escape, as a person closes a menu they did not want."""
    wait_until("the menu's items", lambda: any(
        n.getRoleName() == "menu item" and showing(n) for n in session.walk(menu)))
    time.sleep(0.3)  # the menu takes the keyboard once it is mapped
    session.key("Escape")
    wait_until("the menu to close", lambda: not showing(menu))


def scenario_reach_macro_menu(session):
    """An empty macro list still offers its menu, on the "more" button a pointer can click
    and through the Menu key: macros exported, deleted and imported back into it."""
    main = macros.open_macros(session)
    macros.new_macro(session, main, "Custom 1")
    macros.new_macro(session, main, "Custom 2")
    path = os.path.join(session.home, "kept.xml")
    macros.run_file_command(session, main, "Export all", path)
    wait_until("the file written", lambda: os.path.exists(path))
    lst = macros.macro_list(session, main)
    for _ in range(2):
        delete_selected_macro(session, main, "OK")
    wait_until("an empty list", lambda: macros.item_names(session, lst) == [])

    session.focus_window(MAIN_TITLE)
    session.click_at(*centre(session.find("push button", "More", lst)))
    menu = session.window("Macro list")
    offered = [n.name for n in session.walk(menu) if n.getRoleName() == "menu item"]
    if offered != ["Import", "Import all"]:
        raise HarnessError("the empty list's menu offers %s" % offered)
    close_menu(session, menu)
    session.act(lst, "ShowMenu")
    close_menu(session, session.window("Macro list"))
    box = lst.queryComponent().getExtents(0)
    session.click_at(box.x + box.width // 2, box.y + box.height - 10)  # below any row
    wait_until("the list to take the focus",
               lambda: lst.getState().contains(gui_harness.pyatspi.STATE_FOCUSED))
    session.key("Menu")
    close_menu(session, session.window("Macro list"))

    macros.run_file_command(session, main, "Import all", path)
    wait_until("both macros back", lambda: macros.item_names(session, lst) ==
               ["Custom 1", "Custom 2"])
    with session.database() as db:
        count = db.execute("SELECT COUNT(*) FROM t_macro_data").fetchone()[0]
    if count != 2:
        raise HarnessError("%d macros stored after the import" % count)


def scenario_reach_profile_import_error(session):
    """A profile file the store refuses (a DPI far out of range) is said in a message box
    naming the problem; the profile keeps its settings."""
    main = keys.open_keys(session)
    path = os.path.join(session.home, "broken.xml")
    with open(path, "w") as broken:
        broken.write("<?xml version=\"1.0\"?><root><Profile><DPI><DPI1 value=\"99999\"/>"
                     "</DPI></Profile></root>")
    before = stored(session, "dpi_group0_value")
    session.press("push button", "Profile 1", main)
    chooser = session.window("Profiles")
    session.press("push button", "Import", chooser)
    macros.answer_file_dialog(session, path)
    box = session.window("Import")
    said = [n.name for n in session.walk(box) if n.getRoleName() == "label"]
    if not any("broken.xml" in text for text in said):
        raise HarnessError("the refused import said %s" % said)
    session.press("push button", "OK", box)
    if stored(session, "dpi_group0_value") != before:
        raise HarnessError("the refused file changed stage 1 to %s" %
                           stored(session, "dpi_group0_value"))


SCENARIOS = {
    "reach_profile_import_error": scenario_reach_profile_import_error,
    "reach_keys_lists": scenario_reach_keys_lists,
    "reach_macro_menu": scenario_reach_macro_menu,
    "reach_refusing_receiver": scenario_reach_refusing_receiver,
    "reach_mouse_cycle": scenario_reach_mouse_cycle,
}
