"""Reaching the mouse as a person does: the home page when the mouse goes off and comes
back, unplugged and plugged in again, with the real pointer where a person would click.
"""
from gui_harness import HarnessError, showing, wait_until
from gui_steps import MAIN_TITLE, centre, quiet, stored
from scenarios_dpi import PERFORMANCE_TAB, RATE_LIST, REPORT_RATE, open_page, wait_sent

SIM_WINDOW = "Simulated device"
NO_DEVICE_NOTICE = "No device found. Connect the mouse or its receiver."
WIRELESS_LINE = "2.4G wireless connection"
NOT_IN_STEP_LINE = "The mouse did not take the change; trying again"


def device_card(session, main):
    """The home page's showing device card with an area a pointer can hit, or None."""
    for node in session.walk(main):
        if node.getRoleName() == "list item" and showing(node):
            box = node.queryComponent().getExtents(0)
            if box.width > 0 and box.height > 0:
                return node
    return None


def notice_showing(session, main):
    return any(node.getRoleName() == "label" and node.name == NO_DEVICE_NOTICE and showing(node)
               for node in session.walk(main))


def expect_gone_in_words(session, main, what):
    wait_until("the card to leave the home page after " + what,
               lambda: device_card(session, main) is None)
    wait_until("the home page to say no mouse is there after " + what,
               lambda: notice_showing(session, main))


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
    expect_gone_in_words(session, main, "switching the mouse off")
    session.screenshot("home-mouse-off")
    session.press("push button", "Switch mouse on", sim)
    card = expect_back(session, main, "switching the mouse on")
    session.screenshot("home-mouse-on")
    click_card(session, main, card)

    session.press("page tab", "Home", main)
    session.press("push button", "Unplug", sim)
    expect_gone_in_words(session, main, "unplugging")
    session.press("push button", "Plug in", sim)
    card = expect_back(session, main, "plugging in")
    click_card(session, main, card)


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


SCENARIOS = {
    "reach_refusing_receiver": scenario_reach_refusing_receiver,
    "reach_mouse_cycle": scenario_reach_mouse_cycle,
}
