"""The DPI and performance page and the device settings page, driven through the
accessibility bus: each change is proved by the command in the capture and the row in the
settings database, and is still there after the program was ended and started again.
"""
import subprocess
import time

from gui_harness import HarnessError, command_of, showing, wait_until
from gui_steps import MAIN_TITLE, expect_chosen, open_device, quiet, stored, swatch

PERFORMANCE_TAB = "Performance"
DEVICE_TAB = "Device settings"
STAGE_LIST = "DPI stages"
RATE_LIST = "Report rate"
RESPONSE_FIELD = "Button response time (ms)"
SIM_WINDOW = "Simulated device"
PALETTE_APPLY = "OK"
# The simulated mouse's sensor (code 53) sends a stage as DPI / 100.
SENSOR_53_STEP = 100

DPI_STAGES, REPORT_RATE, SENSOR, POWER = 0x03, 0x02, 0x06, 0x07


def report_bytes(report_hex):
    return bytes.fromhex(report_hex)


def open_page(session, tab):
    """Opens the mouse and the page behind tab; waits until start-up traffic is over."""
    open_device(session)
    main = session.window(MAIN_TITLE)
    session.press("page tab", tab, main)
    wait_until("the start-up traffic to settle", lambda: quiet(session), 30)
    return main


def sent_after(session, mark, command):
    """The reports of `command` written after mark."""
    return [report_bytes(r) for r in session.out_reports_since(mark) if command_of(r) == command]


def wait_sent(session, mark, command, what, check=lambda report: True):
    """Waits for a report of `command` that passes check; returns it."""
    return wait_until(what, lambda: next(
        (r for r in sent_after(session, mark, command) if check(r)), None))


def stage_list(session, main):
    return session.find("list", STAGE_LIST, main)


def stage_item(session, main, name):
    return session.find("list item", name, stage_list(session, main))


def has_state(node, state_name):
    import pyatspi
    return node.getState().contains(getattr(pyatspi, state_name))


def selected_items(node):
    children = [node.getChildAtIndex(i) for i in range(node.childCount)]
    return [child.name for child in children
            if child is not None and has_state(child, "STATE_SELECTED")]


def restart_on_page(session, tab):
    session.restart()
    return open_page(session, tab)


def scenario_dpi_stage(session):
    """Stage 2 selected and 2400 typed into it: 0x03 with stage byte 0x16 and code 24."""
    main = open_page(session, PERFORMANCE_TAB)
    session.act(stage_item(session, main, "800"))
    wait_until("stage 1 stored", lambda: stored(session, "dpi_index") == "0")
    mark = session.mark()
    session.act(stage_item(session, main, "1600"))
    wait_until("stage 2 stored", lambda: stored(session, "dpi_index") == "1")
    session.act(stage_item(session, main, "1600"), "Rename")
    wait_until("the value field", lambda: next(
        (n for n in session.walk(stage_list(session, main))
         if n.getRoleName() == "text" and showing(n)), None))
    session.key("ctrl+a")
    session.type_text("2400")
    session.key("Return")
    code = 2400 // SENSOR_53_STEP
    report = wait_sent(session, mark, DPI_STAGES, "the stages with 2400 in stage 2",
                       lambda r: r[10] | (r[11] << 8) == code)
    if report[5] != 0x16:
        raise HarnessError("stage byte %02X, expected index 1 of 6 (0x16)" % report[5])
    wait_until("2400 stored", lambda: stored(session, "dpi_group1_value") == "2400")
    session.screenshot("dpi-stage-typed")
    main = restart_on_page(session, PERFORMANCE_TAB)
    items = [n.name for n in session.find_all("list item", stage_list(session, main))]
    if items[:2] != ["800", "2400"]:
        raise HarnessError("after a restart the stages read %s" % items)
    if selected_items(stage_list(session, main)) != ["2400"]:
        raise HarnessError("after a restart stage %s is selected" %
                           selected_items(stage_list(session, main)))


def scenario_dpi_count(session):
    """Four stages chosen in the count box: 0x03 with count 4, four rows shown."""
    main = open_page(session, PERFORMANCE_TAB)
    mark = session.mark()
    count = session.find("combo box", "Stages", main)
    expect_chosen(count, "6")
    session.act(session.find("list item", "4", count, visible=False))
    wait_sent(session, mark, DPI_STAGES, "the stages with count 4",
              lambda r: r[5] & 0x0F == 4)
    wait_until("count 4 stored", lambda: stored(session, "dpi_count") == "4")
    wait_until("four rows", lambda: len(session.find_all("list item",
                                                         stage_list(session, main))) == 4)
    main = restart_on_page(session, PERFORMANCE_TAB)
    expect_chosen(session.find("combo box", "Stages", main), "4")
    rows = session.find_all("list item", stage_list(session, main))
    if len(rows) != 4:
        raise HarnessError("after a restart %d stages are shown" % len(rows))


def scenario_dpi_rate(session):
    """500 Hz chosen: 0x02 with code 2, both rate keys stored, all seven rates offered."""
    main = open_page(session, PERFORMANCE_TAB)
    rates = session.find("list", RATE_LIST, main)
    names = [n.name for n in session.find_all("list item", rates)]
    if names != ["125Hz", "250Hz", "500Hz", "1000Hz", "2000Hz", "4000Hz", "8000Hz"]:
        raise HarnessError("rates offered: %s" % names)
    mark = session.mark()
    session.act(session.find("list item", "500Hz", rates))
    wait_sent(session, mark, REPORT_RATE, "the 500 Hz report rate", lambda r: r[5] == 2)
    wait_until("500 Hz stored", lambda: (stored(session, "report_rate"),
                                         stored(session, "report_rate_wireless")) == ("2", "2"))
    main = restart_on_page(session, PERFORMANCE_TAB)
    rates = session.find("list", RATE_LIST, main)
    if selected_items(rates) != ["500Hz"]:
        raise HarnessError("after a restart %s is selected" % selected_items(rates))


def popup_geometry(title):
    """(x, y, width, height) of the shown top-level window called title, or None."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title,
                            "getwindowgeometry", "--shell"], capture_output=True, text=True)
    values = dict(line.split("=", 1) for line in found.stdout.split() if "=" in line)
    if not {"X", "Y", "WIDTH", "HEIGHT"} <= values.keys():
        return None
    return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def click_through_saving_popup(session, main):
    """A box lying under the "saving" pop-up takes a click while the pop-up shows: the
    pop-up only tells, so a quick second change is not lost."""
    area = wait_until("the saving pop-up", lambda: popup_geometry("SaveWaitDlg"))
    x, y, w, h = area
    under = None
    for node in session.walk(main):
        if node.getRoleName() != "check box" or not showing(node):
            continue
        box = node.queryComponent().getExtents(0)
        cx, cy = box.x + min(box.width, 12), box.y + box.height // 2
        if x < cx < x + w and y < cy < y + h:
            under = (node, cx, cy)
            break
    if under is None:
        raise HarnessError("no check box lies under the pop-up at %s" % (area,))
    node, cx, cy = under
    before = has_state(node, "STATE_CHECKED")
    session.click_at(cx, cy)
    wait_until("%r to change under the pop-up" % node.name,
               lambda: has_state(node, "STATE_CHECKED") != before)
    session.click_at(cx, cy)  # back as it was, for the rest of the scenario
    wait_until("%r back" % node.name, lambda: has_state(node, "STATE_CHECKED") == before)


def scenario_dpi_options(session):
    """Lift-off 2 mm (0x06), sleep after 5 minutes (0x07) and a response time of 25 shown
    and sent as 20 (0x07)."""
    main = open_page(session, PERFORMANCE_TAB)
    mark = session.mark()
    session.act(session.find("radio button", "2.0mm", main), "Toggle")
    wait_sent(session, mark, SENSOR, "lift-off 2 mm", lambda r: r[5] == 2)
    click_through_saving_popup(session, main)
    sleep = session.find("combo box", "Sleep after", main)
    expect_chosen(sleep, "1 min")
    session.act(session.find("list item", "5 min", sleep, visible=False))
    wait_sent(session, mark, POWER, "sleep after 5 minutes", lambda r: r[5] == 30)
    session.screenshot("performance-page")
    session.press("page tab", DEVICE_TAB, main)
    field = session.find("text", RESPONSE_FIELD, main)
    extent = field.queryComponent().getExtents(0)  # screen coordinates
    session.click_at(extent.x + extent.width // 2, extent.y + extent.height // 2)
    session.key("ctrl+a")
    session.type_text("25")
    session.key("Return")
    wait_until("the field to show 20", lambda: field.queryText().getText(0, -1) == "20")
    wait_sent(session, mark, POWER, "response time 20", lambda r: r[8] == 20)
    values = lambda: (stored(session, "liftoff_height"), stored(session, "sleep_light"),
                      stored(session, "button_respondtime"))
    wait_until("the options stored", lambda: values() == ("2", "30", "20"))
    session.screenshot("device-settings-page")
    main = restart_on_page(session, DEVICE_TAB)
    field = session.find("text", RESPONSE_FIELD, main)
    if field.queryText().getText(0, -1) != "20":
        raise HarnessError("after a restart the response time reads %r" %
                           field.queryText().getText(0, -1))
    session.press("page tab", PERFORMANCE_TAB, main)
    if not has_state(session.find("radio button", "2.0mm", main), "STATE_CHECKED"):
        raise HarnessError("after a restart 1.0mm is chosen")
    expect_chosen(session.find("combo box", "Sleep after", main), "5 min")
    if values() != ("2", "30", "20"):
        raise HarnessError("after a restart the store holds %s" % (values(),))


def scenario_dpi_button(session):
    """The mouse's own DPI button: list and pop-up follow, dpi_index stored, nothing sent
    back. Screenshots of both pages with the pop-up up."""
    main = open_page(session, PERFORMANCE_TAB)
    before = stored(session, "dpi_index")
    sim = session.window(SIM_WINDOW)
    mark = session.mark()
    session.press("push button", "Press DPI button", sim)
    popup = session.window("DPI stages")  # read by its purpose
    wait_until("dpi_index to change", lambda: stored(session, "dpi_index") != before)
    index = int(stored(session, "dpi_index"))
    value = stored(session, "dpi_group%d_value" % index)
    session.find("label", value, popup)
    wait_until("the list to select stage %d" % (index + 1),
               lambda: selected_items(stage_list(session, main)) == [value])
    session.screenshot("performance-page-popup")
    # A second press within two seconds keeps the pop-up up.
    session.press("push button", "Press DPI button", sim)
    wait_until("dpi_index to change again", lambda: stored(session, "dpi_index") != str(index))
    session.press("page tab", DEVICE_TAB, main)
    session.screenshot("device-settings-page-popup")
    time.sleep(0.5)
    if not showing(popup):
        raise HarnessError("the pop-up went within two seconds of the second press")
    wait_until("the pop-up to go", lambda: not showing(popup), 6)
    sent = [command_of(r) for r in session.out_reports_since(mark)]
    if DPI_STAGES in sent or 0x04 in sent:
        raise HarnessError("the DPI button made the program send %s" % sent)
    after = stored(session, "dpi_index")
    main = restart_on_page(session, PERFORMANCE_TAB)
    if stored(session, "dpi_index") != after:
        raise HarnessError("after a restart dpi_index is %s, not %s" %
                           (stored(session, "dpi_index"), after))


def scenario_dpi_colour(session):
    """Stage 3's swatch, the red preset in the palette, apply: 0x04 with red for stage 3."""
    main = open_page(session, PERFORMANCE_TAB)
    mark = session.mark()
    session.act(stage_item(session, main, "2400"), "Colour")
    palette = session.window("Color")
    # It opens on the stage's own colour (green), not on a colour of its own.
    fields = [n for n in session.walk(palette) if n.getRoleName() == "text" and showing(n)]
    shown = [f.queryText().getText(0, -1) for f in fields]
    if shown != ["0", "255", "0"]:
        raise HarnessError("the palette opened on R, G, B = %s for a green stage" % shown)
    session.act(swatch(session, palette, "#FF0000"), "Toggle")
    session.screenshot("palette")
    session.press("push button", PALETTE_APPLY, palette)
    wait_until("the palette to close", lambda: not showing(palette))
    wait_sent(session, mark, 0x04, "stage 3 red in the colours",
              lambda r: tuple(r[5 + 6:5 + 9]) == (0xFF, 0x00, 0x00))
    wait_until("red stored", lambda: stored(session, "dpi_group2_rgb") == "255")
    main = restart_on_page(session, PERFORMANCE_TAB)
    if stored(session, "dpi_group2_rgb") != "255":
        raise HarnessError("after a restart stage 3's colour is %s" %
                           stored(session, "dpi_group2_rgb"))


SCENARIOS = {
    "dpi_stage": scenario_dpi_stage,
    "dpi_count": scenario_dpi_count,
    "dpi_rate": scenario_dpi_rate,
    "dpi_options": scenario_dpi_options,
    "dpi_button": scenario_dpi_button,
    "dpi_colour": scenario_dpi_colour,
}
