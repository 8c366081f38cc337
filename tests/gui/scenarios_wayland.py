"""The window on a Wayland desktop (a headless weston) and the close button with and
without a notification-area host. On Wayland there is no xdotool: everything is done
through the controls' actions, and weston's screenshooter shows where the compositor drew
the windows.
"""
import subprocess
import time

from gui_harness import SCREEN, WESTON_BACKGROUND, HarnessError, showing, wait_until
from gui_steps import MAIN_TITLE, PROFILE_TAIL, active_profile, commands_after, open_device, quiet
from scenarios_dpi import PERFORMANCE_TAB, RATE_LIST, REPORT_RATE, open_page, sent_after, wait_sent

DPI_COLOURS = 0x04
# The chooser sits directly above the profile button, as wide as it, from 270 pixels above
# the button's top (its profile list and the linked-applications rows) to 5 pixels above it.
CHOOSER_ABOVE, CHOOSER_GAP = 270, 5
# Pixels a drawn edge may be off (the skins' rounded corners are partly transparent).
EDGE_SLACK = 3
# Share of a window side's pixels that must show the window edge there (see edge_scores).
EDGE_MATCH = 0.7
NO_TRAY_NOTICE = "No tray on this desktop: closing minimizes the window instead of hiding it."
SAVE_NOTICE_S = 2.5
SAVE_NOTICE_SIZE = (500, 200)
DPI_POPUP_SIZE, DPI_POPUP_GAP = (300, 130), 2
SIM_WINDOW = "Simulated device"
BACK = "Back"  # the saving pop-up hides two seconds after the last change


def trim_box(picture, background, crop=None):
    """(left, top, width, height) of what differs from `background` in picture (an
    ImageMagick argument list), looking only inside crop (left, top, width, height) when
    given; None when nothing differs."""
    colour = "rgb(%d,%d,%d)" % background
    left0, top0 = (crop[0], crop[1]) if crop else (0, 0)
    cut = ["-crop", "%dx%d+%d+%d" % (crop[2], crop[3], crop[0], crop[1]), "+repage"] \
        if crop else []
    out = subprocess.run(["convert"] + picture + cut +
                         ["-bordercolor", colour, "-border", "1", "-format", "%@", "info:"],
                         check=True, stdout=subprocess.PIPE, text=True).stdout.strip()
    size, _, rest = out.partition("+")
    width, height = (int(v) for v in size.split("x"))
    left, top = (int(v) for v in rest.split("+"))
    if width <= 1 or height <= 1:
        return None
    return left0 + left - 1, top0 + top - 1, width, height


def extents(node):
    box = node.queryComponent().getExtents(0)
    return box.x, box.y, box.width, box.height


def near(found, expected):
    return found is not None and all(abs(a - b) <= EDGE_SLACK for a, b in zip(found, expected))


def read_pixels(path):
    """The picture's RGB bytes, row by row (SCREEN wide)."""
    return subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                          stdout=subprocess.PIPE).stdout


def edge_scores(pixels, box):
    """For each side of box (left, top, width, height): the share of the window's outermost
    pixels that are not background together with the share of the pixels just outside that
    are. A window drawn exactly there scores near 1 on every side; one pixel off, one side
    falls to about 0. Another window lying over part of a side lowers it a little."""
    left, top, width, height = box
    right, bottom = left + width - 1, top + height - 1
    background = bytes(WESTON_BACKGROUND)

    def is_background(x, y):
        if not (0 <= x < SCREEN[0] and 0 <= y < SCREEN[1]):
            return None  # off the screen: says nothing
        index = (y * SCREEN[0] + x) * 3
        return pixels[index:index + 3] == background

    def score(inside, outside):
        # A side off the screen cannot be seen where it should be: it scores 0.
        seen = [is_background(*p) for p in inside]
        if None in seen:
            return 0.0
        votes = [not b for b in seen] + \
            [b for b in (is_background(*p) for p in outside) if b is not None]
        return sum(votes) / len(votes)

    xs, ys = range(left, right + 1), range(top, bottom + 1)
    return {"left": score([(left, y) for y in ys], [(left - 1, y) for y in ys]),
            "right": score([(right, y) for y in ys], [(right + 1, y) for y in ys]),
            "top": score([(x, top) for x in xs], [(x, top - 1) for x in xs]),
            "bottom": score([(x, bottom) for x in xs], [(x, bottom + 1) for x in xs])}


def centred(box, size):
    return (box[0] + (box[2] - size[0]) // 2, box[1] + (box[3] - size[1]) // 2) + size


def check_chooser_place(session, main, before, after):
    """The main window and the chooser drawn where the layout puts them relative to each
    other: the compositor picks the window's place (and the simulator panel's, which may
    lie over it), the chooser must follow the window. Returns the window's and the
    chooser's boxes on the screen."""
    _, _, win_w, win_h = extents(main)
    chooser = trim_box([before, after, "-compose", "difference", "-composite", "-threshold",
                        "0"], (0, 0, 0))
    if chooser is None:
        raise HarnessError("opening the chooser changed nothing on the screen")
    button = session.find("push button", "Profile 1", main)
    # The button's place in the window: the bus gives both boxes in one frame.
    btn_x, btn_y, btn_w, _ = extents(button)
    rel_x, rel_y = btn_x - extents(main)[0], btn_y - extents(main)[1]
    if not near(chooser[2:], (btn_w, CHOOSER_ABOVE - CHOOSER_GAP)):
        raise HarnessError("the chooser is drawn %dx%d, not as wide as the profile button "
                           "(%d) and %d high" % (chooser[2], chooser[3], btn_w,
                                                 CHOOSER_ABOVE - CHOOSER_GAP))
    # Where the window must be drawn if the chooser sits right above its profile button.
    window = (chooser[0] - rel_x, chooser[1] + CHOOSER_ABOVE - rel_y, win_w, win_h)
    scores = edge_scores(read_pixels(before), window)
    if min(scores.values()) < EDGE_MATCH:
        raise HarnessError("the chooser at %s is not above the profile button of the window "
                           "drawn on the screen: window edges at %s match %s" %
                           (chooser, window, scores))
    return window, chooser


def scenario_wayland_profile(session):
    """On Wayland: the mouse opened, 500 Hz chosen, profile 2 chosen in the chooser drawn
    above the profile button, the palette opened and closed without a change."""
    main = open_page(session, PERFORMANCE_TAB)
    mark = session.mark()
    rates = session.find("list", RATE_LIST, main)
    session.act(session.find("list item", "500Hz", rates))
    wait_sent(session, mark, REPORT_RATE, "the 500 Hz report rate", lambda r: r[5] == 2)
    saving = session.window("Saving...")
    with_notice = session.screenshot("saving")
    wait_until("the saving pop-up to go", lambda: not showing(saving))
    wait_until("the traffic to settle", lambda: quiet(session), 30)
    time.sleep(SAVE_NOTICE_S)
    before = session.screenshot("main-window")
    mark = session.mark()
    session.press("push button", "Profile 1", main)
    chooser = session.window("Profiles")
    time.sleep(0.5)  # one frame for the compositor
    after = session.screenshot("profile-chooser")
    window, drawn = check_chooser_place(session, main, before, after)
    print("window drawn at %d,%d size %dx%d; chooser drawn at %d,%d size %dx%d" %
          (window + drawn), flush=True)
    notice = trim_box([with_notice, before, "-compose", "difference", "-composite",
                       "-threshold", "0"], (0, 0, 0))
    expected = centred(window, SAVE_NOTICE_SIZE)
    if not near(notice, expected):
        raise HarnessError("the saving pop-up is drawn at %s, not centred over the window "
                           "(%s)" % (notice, expected))
    session.press("list item", "Profile 2", chooser)
    wait_until("the chooser to close", lambda: not showing(chooser))
    wait_until("the upload to end with the active profile",
               lambda: commands_after(session, mark)[-1:] == [0x07])
    sent = commands_after(session, mark)
    if [c for c in sent if c in PROFILE_TAIL] != PROFILE_TAIL:
        raise HarnessError("profile upload sent %s" % ["%02X" % c for c in sent])
    wait_until("profile 2 active in the store",
               lambda: [p for p, _ in active_profile(session)] == [2])
    session.find("push button", "Profile 2", main)
    # The palette is a dialog of the window; closing it changes no colour.
    wait_until("the upload to settle", lambda: quiet(session), 30)
    mark = session.mark()
    stage = session.find("list item", "800", session.find("list", "DPI stages", main))
    session.act(stage, "Colour")
    palette = session.window("Color")
    session.screenshot("palette")
    session.press("push button", "Close", palette)
    wait_until("the palette to close", lambda: not showing(palette))
    time.sleep(1.0)
    if sent_after(session, mark, DPI_COLOURS):
        raise HarnessError("closing the palette sent %s" % session.out_reports_since(mark))
    # The mouse's DPI button: the DPI pop-up in the window's bottom-right corner.
    session.press("push button", "Press DPI button", session.window(SIM_WINDOW))
    popup = session.window("DPI stages")  # read by its purpose
    with_popup = session.screenshot("dpi-popup")
    wait_until("the DPI pop-up to go", lambda: not showing(popup))
    time.sleep(0.5)
    without = session.screenshot("dpi-popup-gone")
    drawn = trim_box([with_popup, without, "-compose", "difference", "-composite",
                      "-threshold", "0"], (0, 0, 0))
    expected = (window[0] + window[2] - DPI_POPUP_SIZE[0] - DPI_POPUP_GAP,
                window[1] + window[3] - DPI_POPUP_SIZE[1] - DPI_POPUP_GAP) + DPI_POPUP_SIZE
    if not near(drawn, expected):
        raise HarnessError("the DPI pop-up is drawn at %s, not in the window's bottom-right "
                           "corner (%s)" % (drawn, expected))


def choose_hide_on_close(session, main):
    """The settings page's "Minimize to tray" choice, then back to the device."""
    session.press("push button", "Settings", main)
    session.act(session.find("radio button", "Minimize to tray", main), "Toggle")
    session.press("push button", BACK, main)


WINDOW_AREA = 1000 * 600  # about the smallest the window is laid out for


def differing_pixels(first, second):
    done = subprocess.run(["compare", "-metric", "AE", first, second, "null:"],
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    return int(float(done.stderr.split()[0]))


def scenario_tray_none(session):
    """Hide-on-close without a tray host: the close button minimises, the window says why
    once, and the program keeps running; starting it again brings the window back."""
    open_device(session)
    main = session.window(MAIN_TITLE)
    choose_hide_on_close(session, main)
    shown = session.screenshot("before-close")
    session.press("push button", "Close", main)
    notice = session.find("label", NO_TRAY_NOTICE, main)
    time.sleep(1)
    minimised = session.screenshot("no-tray-notice")
    if session.process.poll() is not None:
        raise HarnessError("the program ended on close without a tray")
    del notice
    if session.start_second_copy() != 0:
        raise HarnessError("the second start did not end cleanly")
    if session.process.poll() is not None:
        raise HarnessError("the second start ended the running program")
    # The window back (wherever the compositor puts it) covers about as much of the screen
    # as it did before. (A display without a window manager leaves a minimised window
    # drawn: nothing to see there.)
    if differing_pixels(shown, minimised) > WINDOW_AREA // 2:
        wait_until("the window drawn again after the second start", lambda: differing_pixels(
            minimised, session.screenshot("second-start")) > WINDOW_AREA // 2)


def scenario_tray_host(session):
    """Hide-on-close with a tray host: the icon is registered, the close button hides the
    window and says nothing about a missing tray."""
    wait_until("the tray icon registered with the host", lambda: session.tray_host.items())
    open_device(session)
    main = session.window(MAIN_TITLE)
    choose_hide_on_close(session, main)
    session.press("push button", "Close", main)
    wait_until("the window to hide", lambda: not showing(main))
    if any(n.name == NO_TRAY_NOTICE and showing(n) for n in session.walk(main)):
        raise HarnessError("the no-tray notice shows although a tray host exists")
    if session.process.poll() is not None:
        raise HarnessError("the program ended on close to the tray")


scenario_wayland_profile.display = "wayland"
scenario_tray_host.tray_host = True


def on_wayland(scenario):
    def run(session):
        scenario(session)
    run.__doc__ = "On Wayland: " + scenario.__doc__
    run.display = "wayland"
    run.tray_host = getattr(scenario, "tray_host", False)
    return run


SCENARIOS = {
    "wayland_profile": scenario_wayland_profile,
    "tray_none": scenario_tray_none,
    "tray_host": scenario_tray_host,
    "wayland_tray_none": on_wayland(scenario_tray_none),
    "wayland_tray_host": on_wayland(scenario_tray_host),
}
