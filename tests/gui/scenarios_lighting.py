"""Lighting page scenarios: modes, brightness, colours, the red/green/blue fields and the
reset, each proved in the capture's lighting command and the settings database, and each
checked again after the program was started a second time; and no lighting tab for the
wired model without lighting.
"""
import time

import gui_harness
from gui_harness import HarnessError, showing, wait_until
from gui_steps import (MAIN_TITLE, QUIET_S, centre, chosen_items, commands_after, open_device,
                       quiet, swatch)

LIGHTING_COMMAND = 0x05
LIGHT_RESET_COMMAND = 0x0E
LIGHT_READ_COMMAND = 0x15
PAYLOAD = 10  # hex digits before the payload: report id, command, 0, sequence, length
WIRED_ONLY_TYPE = "12"
WIRED_ONLY_NAME = "Corvane Wren"
# Stored defaults of color_value1 .. color_value7 (red in the low byte).
EFFECT_LIST = "Effect"  # the mode list, named by its caption
DEFAULT_COLOURS = [0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF]


def rgb_hex(colour):
    return "%02X%02X%02X" % (colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF)


def open_lighting(session):
    open_device(session)
    main = session.window(MAIN_TITLE)
    session.press("page tab", "Lighting", main)
    combo = session.find("combo box", EFFECT_LIST, main)
    wait_until("the mode list filled", lambda: combo.childCount > 0)
    wait_until("the start-up traffic to settle", lambda: quiet(session))
    return main, combo


def choose_mode(session, combo, name):
    item = next((combo.getChildAtIndex(i) for i in range(combo.childCount)
                 if combo.getChildAtIndex(i).name == name), None)
    if item is None:
        raise HarnessError("no mode %r in the list" % name)
    session.act(item)
    wait_until("mode %r shown" % name, lambda: chosen_items(combo) == [name])


def lighting_after(session, mark):
    """Payload bytes (hex) of the last lighting command written after mark, or None."""
    sent = [r for r in session.out_reports_since(mark) if int(r[2:4], 16) == LIGHTING_COMMAND]
    if not sent:
        return None
    length = int(sent[-1][8:10], 16)
    return sent[-1][PAYLOAD:PAYLOAD + 2 * length]


def read_reply(session, command):
    """Hex of the first read answering the last request for `command`."""
    reply, asked = None, False
    for fields in session.capture_lines():
        if fields[0] == "OUT":
            asked = int(fields[3][2:4], 16) == command
            if asked:
                reply = None
        elif fields[0] == "IN" and asked and reply is None:
            reply = fields[3]
    if reply is None:
        raise HarnessError("no reply to command %02X in the capture" % command)
    return reply


def light_row(session, mode):
    with session.database() as db:
        row = db.execute("SELECT * FROM t_light_data WHERE mode = ? AND profile = "
                         "(SELECT profile FROM t_profile_data WHERE status = 1)",
                         (mode,)).fetchone()
    return dict(row) if row else None


def active_mode(session):
    with session.database() as db:
        rows = db.execute("SELECT mode FROM t_light_data WHERE status = 1 AND profile = "
                          "(SELECT profile FROM t_profile_data WHERE status = 1)").fetchall()
    return [row["mode"] for row in rows]


def saving_shown(session):
    for index in range(session.app.childCount):
        frame = session.app.getChildAtIndex(index)
        if frame is not None and frame.name == "Saving..." and showing(frame):
            return True
    return False


def screenshot_page(session, label):
    """A picture of the page once the saving pop-up has gone."""
    wait_until("the saving pop-up to go", lambda: not saving_shown(session))
    session.screenshot(label)


def field(session, main, letter):
    return session.find("text", letter, main)


def field_text(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def type_into(session, node, text):
    """A click into the field, everything selected, the text typed; not yet committed."""
    wait_until("the saving pop-up to go", lambda: not saving_shown(session))
    session.focus_window(MAIN_TITLE)
    session.click_at(*centre(node))
    wait_until("the field to take the focus",
               lambda: node.getState().contains(gui_harness.pyatspi.STATE_FOCUSED))
    session.key("ctrl+a")
    session.type_text(text)


def scenario_lighting_fields(session):
    """The red/green/blue fields follow the marked colour slot, and a typed red replaces
    that slot's red only: what is sent is what the fields show."""
    main, combo = open_lighting(session)
    choose_mode(session, combo, "Breathing")
    wait_until("breathing stored as active", lambda: active_mode(session) == [2])
    third = DEFAULT_COLOURS[2]
    wait_until("the saving pop-up to go", lambda: not saving_shown(session))
    session.focus_window(MAIN_TITLE)
    session.click_at(*centre(swatch(session, main, "#" + rgb_hex(third))))
    wait_until("the fields to show slot 3", lambda: [
        field_text(field(session, main, c)) for c in "RGB"] == [
        str(third & 0xFF), str((third >> 8) & 0xFF), str(third >> 16)])
    wait_until("quiet", lambda: quiet(session))
    mark = session.mark()
    type_into(session, field(session, main, "R"), "10")
    session.key("Return")
    expected = third & 0xFFFF00 | 10
    payload = wait_until("slot 3 sent", lambda: lighting_after(session, mark))
    colours = [payload[6 + 6 * i:12 + 6 * i] for i in range(7)]
    wanted = [rgb_hex(c) for c in DEFAULT_COLOURS]
    wanted[2] = rgb_hex(expected)
    if colours != wanted:
        raise HarnessError("breathing colours sent %s, expected %s" % (colours, wanted))
    wait_until("slot 3 stored", lambda: light_row(session, 2)["color_value3"] == expected)


def scenario_lighting_breathing(session):
    """Breathing sends mode 2 with its level and seven colours; brightness 50 % on release."""
    main, combo = open_lighting(session)
    mark = session.mark()
    choose_mode(session, combo, "Breathing")
    row = wait_until("breathing stored as active", lambda: active_mode(session) == [2]
                     and light_row(session, 2))
    level = row["brightness"] * 16 + row["speed"]
    colours = [row["color_value%d" % i] for i in range(1, 8)]
    if colours != DEFAULT_COLOURS:
        raise HarnessError("breathing row has colours %s" % colours)
    expected = "02%02X07" % level + "".join(rgb_hex(c) for c in colours)
    payload = wait_until("the breathing command", lambda: lighting_after(session, mark))
    if payload != expected:
        raise HarnessError("breathing sent %s, expected %s" % (payload, expected))
    # The colour slots show the row's seven colours, the first one marked.
    slots = [swatch(session, main, "#" + rgb_hex(c)) for c in colours[1:]]
    del slots
    screenshot_page(session, "breathing-page")
    unnamed = ["%s %r" % (n.getRoleName(), n.name) for n in session.walk(main)
               if n != main and showing(n) and
               (n.getRoleName() in ("filler", "unknown", "client") or not n.name)]
    if unnamed:
        raise HarnessError("unnamed or role-less objects on the lighting page: %s" % unnamed)
    palette = session.find("slider", "Custom color", main)
    if palette.queryValue().maximumValue != 0xFFFFFF:
        raise HarnessError("the palette's value is not a colour")

    mark = session.mark()
    slider = session.find("slider", "Brightness", main)
    slider.queryValue().currentValue = 50  # what the readout shows, in per cent
    session.find("label", "Brightness: 50%", main)
    payload = wait_until("the brightness command", lambda: lighting_after(session, mark))
    if payload[:4] != "02%02X" % (2 * 16 + row["speed"]):
        raise HarnessError("brightness 50 %% sent %s" % payload)
    wait_until("brightness 2 stored", lambda: light_row(session, 2)["brightness"] == 2)

    print("first run checked", flush=True)
    session.restart()
    open_device(session)
    wait_until("the second start to settle", lambda: quiet(session))
    row = light_row(session, 2)
    if row["brightness"] != 2 or row["speed"] != 2:
        raise HarnessError("after a restart the breathing row is %s" % row)


def scenario_lighting_colour(session):
    """Steady light: a preset goes to color_value1 only; 300 typed into green becomes 255."""
    main, combo = open_lighting(session)
    choose_mode(session, combo, "Steady")
    wait_until("the steady command", lambda: quiet(session) and active_mode(session) == [3])
    mark = session.mark()
    session.act(swatch(session, main, "#F000FF"))  # preset 0xFF00F0
    payload = wait_until("the preset's command", lambda: lighting_after(session, mark))
    row = light_row(session, 3)
    if payload[:2] != "03" or payload[4:] != "F000FF":
        raise HarnessError("steady preset sent %s" % payload)
    if row["color_value1"] != 0xFF00F0 or [row["color_value%d" % i] for i in range(2, 8)] \
            != DEFAULT_COLOURS[1:]:
        raise HarnessError("steady preset stored %s" % row)
    values = [field_text(field(session, main, c)) for c in "RGB"]
    if values != ["240", "0", "255"]:
        raise HarnessError("preset fields show %s" % values)

    mark = session.mark()
    green = field(session, main, "G")
    type_into(session, green, "300")
    time.sleep(QUIET_S)
    if lighting_after(session, mark):
        raise HarnessError("typing sent %s before the field was committed" %
                           lighting_after(session, mark))
    session.key("Return")
    wait_until("green clamped to 255 in place", lambda: field_text(green) == "255")
    wait_until("green 255 sent", lambda: (lighting_after(session, mark) or "")[4:] == "F0FFFF")
    wait_until("green 255 stored",
               lambda: light_row(session, 3)["color_value1"] == 240 + 255 * 256 + 255 * 65536)
    screenshot_page(session, "steady-page")

    session.restart()
    open_device(session)
    wait_until("the second start to settle", lambda: quiet(session))
    if light_row(session, 3)["color_value1"] != 240 + 255 * 256 + 255 * 65536:
        raise HarnessError("after a restart steady is %s" % light_row(session, 3))


def scenario_lighting_reset(session):
    """Reset: 'Cancel' sends nothing; 'OK' resets, reads the mouse and shows what it says."""
    main, combo = open_lighting(session)
    choose_mode(session, combo, "Neon")
    session.find("slider", "Speed", main).queryValue().currentValue = 4
    wait_until("neon stored", lambda: quiet(session) and light_row(session, 4)["speed"] == 4)
    mark = session.mark()
    session.press("push button", "Reset lighting", main)
    box = session.window("Reset lighting")
    session.find("label", "Restore the factory lighting?", box)
    session.press("push button", "Cancel", box)
    wait_until("the question to close", lambda: not showing(box))
    time.sleep(QUIET_S)
    if LIGHT_RESET_COMMAND in commands_after(session, mark):
        raise HarnessError("declined reset sent %s" % session.out_reports_since(mark))
    session.press("push button", "Reset lighting", main)
    box = session.window("Reset lighting")
    session.press("push button", "OK", box)
    wait_until("reset, then the read-back", lambda: commands_after(session, mark)[-2:]
               == [LIGHT_RESET_COMMAND, LIGHT_READ_COMMAND])
    reply = read_reply(session, LIGHT_READ_COMMAND)
    mode, level = int(reply[8:10], 16), int(reply[10:12], 16)
    names = {0: "Off", 1: "Flowing light", 2: "Breathing", 3: "Steady", 4: "Neon",
             5: "Color wave"}
    wait_until("the page showing the reported mode", lambda: chosen_items(combo) == [names[mode]])
    session.find("label", "Speed: %d" % (level & 0x0F), main)
    row = wait_until("the reported level stored", lambda: active_mode(session) == [mode]
                     and light_row(session, mode))
    if (row["brightness"], row["speed"]) != (level >> 4, level & 0x0F):
        raise HarnessError("reset stored %s for level %02X" % (row, level))

    session.restart()
    open_device(session)
    wait_until("the second start to settle", lambda: quiet(session))
    if light_row(session, mode)["speed"] != level & 0x0F:
        raise HarnessError("after a restart the reset row is %s" % light_row(session, mode))


def open_model(session, name):
    main = session.window(MAIN_TITLE)
    card = session.find("list item", name, main)
    session.act(card)
    session.find("page tab", "Buttons", main)
    return main


def lighting_tab_shown(session, main):
    tabs = [n for n in session.walk(main) if n.getRoleName() == "page tab" and showing(n)]
    if not any(n.name == "Buttons" for n in tabs):
        raise HarnessError("no device tabs: %s" % [n.name for n in tabs])
    return any(n.name == "Lighting" for n in tabs)


def scenario_lighting_tab(session):
    """The wired model without lighting has no lighting tab; a model with lighting has."""
    open_device(session)
    if not lighting_tab_shown(session, session.window(MAIN_TITLE)):
        raise HarnessError("no lighting tab for the model with lighting")
    session.restart(["--simulate=wired", "--sim-model", WIRED_ONLY_TYPE])
    main = open_model(session, WIRED_ONLY_NAME)
    if lighting_tab_shown(session, main):
        raise HarnessError("lighting tab shown for %s" % WIRED_ONLY_NAME)
    session.screenshot("wired-only-tabs")
    session.restart()
    open_device(session)
    if not lighting_tab_shown(session, session.window(MAIN_TITLE)):
        raise HarnessError("the lighting tab did not come back")


SCENARIOS = {
    "lighting_fields": scenario_lighting_fields,
    "lighting_breathing": scenario_lighting_breathing,
    "lighting_colour": scenario_lighting_colour,
    "lighting_reset": scenario_lighting_reset,
    "lighting_tab": scenario_lighting_tab,
}
