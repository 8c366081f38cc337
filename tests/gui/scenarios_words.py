"""Words that must not mislead: a failed update check says it failed (never "up to date"),
the firmware check's result shows on the device settings page, the about box names each
firmware once as that page does, and the login entry's start honours "Start minimized".
The evidence is what a screen reader reads and whether the window shows.
"""
import os
import shutil
import socket
import subprocess
import time

import gui_harness

from gui_harness import HarnessError, showing, wait_until
from gui_steps import MAIN_TITLE, open_device

FAILED = "Update check failed"
UP_TO_DATE = "Already up to date"
SOFTWARE_URL = "https://updates.corvane.example/software/"
FIRMWARE_URL = "https://updates.corvane.example/firmware"


def closed_port():
    """A local port nobody listens on: connections are refused, as without a network."""
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    return port


def unreachable_updates(program_dir, work):
    """A program folder whose update addresses lead nowhere."""
    copy = os.path.join(work, "program")
    shutil.copytree(program_dir, copy)
    local = "http://127.0.0.1:%d" % closed_port()
    for path in [os.path.join(copy, "config.xml")] + [
            os.path.join(copy, "device", name) for name in os.listdir(os.path.join(copy, "device"))]:
        with open(path) as text:
            xml = text.read()
        with open(path, "w") as text:
            text.write(xml.replace(SOFTWARE_URL, local + "/software/")
                       .replace(FIRMWARE_URL, local + "/firmware"))
    return None, copy


def labels(session, root):
    return [n.name for n in session.walk(root) if n.getRoleName() == "label" and showing(n)]


def firmware_button(session, main, section):
    return wait_until("the %s check button" % section, lambda: next(
        (n for n in session.walk(main) if n.getRoleName() == "push button" and
         n.name == "Check for updates" and n.description == section and showing(n)), None))


def scenario_words_update_failed(session):
    """No network: the software and firmware checks say they failed; the receiver's
    firmware, which has no check, is not called up to date either."""
    open_device(session)
    main = session.window(MAIN_TITLE)
    session.press("page tab", "Device settings", main)
    session.act(firmware_button(session, main, "Mouse firmware"))
    session.find("label", FAILED, main)
    session.screenshot("firmware-check-failed")
    session.act(firmware_button(session, main, "Receiver firmware"))
    box = session.window("Receiver firmware")
    session.find("label", "No update check for this firmware", box)
    if UP_TO_DATE in labels(session, box):
        raise HarnessError("the receiver's firmware is called up to date without a check")
    session.press("push button", "OK", box)
    wait_until("the message to close", lambda: not showing(box))
    session.press("push button", "Settings", main)
    session.find("label", FAILED, main)
    if UP_TO_DATE in labels(session, main):
        raise HarnessError("the settings page calls a failed check up to date")
    session.screenshot("software-check-failed")
    session.press("push button", "Check for updates", main)  # asked again: still failed
    session.find("label", FAILED, main)


scenario_words_update_failed.program_setup = unreachable_updates


def scenario_words_about(session):
    """The about box names the mouse's firmware once, in the words of the device page."""
    open_device(session)
    main = session.window(MAIN_TITLE)
    session.press("page tab", "Device settings", main)
    shown = wait_until("the mouse firmware line", lambda: next(
        (name for name in labels(session, main) if name.startswith("Mouse firmware: V")), None))
    session.press("push button", "Settings", main)
    session.press("push button", "About", main)
    about = session.window("About")
    lines = [name for name in labels(session, about) if "firmware" in name.lower()]
    session.screenshot("about-box")
    if lines.count(shown) != 1 or len(lines) != len(set(lines)):
        raise HarnessError("the about box reads %s; the device page %r" % (lines, shown))
    session.press("push button", "Close", about)


def scenario_words_autorun(session):
    """"Start with the system" and "Start minimized" ticked: the login entry's start
    shows no window."""
    main = session.window(MAIN_TITLE)
    session.press("push button", "Settings", main)
    for box in ("Start with the system", "Start minimized"):
        node = session.find("check box", box, main)
        session.act(node, "Toggle")
        wait_until("%r ticked" % box, lambda node=node: node.getState().contains(
            gui_harness.pyatspi.STATE_CHECKED))
    session.restart(["--simulate", "-autorun"])
    time.sleep(1.0)
    session.screenshot("autorun-start")
    if window_shown(MAIN_TITLE):
        raise HarnessError("the login start showed the window although 'Start minimized' is on")
    # A start by hand still shows it.
    session.restart(["--simulate"])
    wait_until("a start by hand to show the window", lambda: window_shown(MAIN_TITLE))


def window_shown(title):
    """True when a window called title is mapped and not asking to start iconic (without a
    window manager a minimised start stays mapped, with its initial state Iconic)."""
    found = subprocess.run(["xdotool", "search", "--name", "^%s$" % title],
                           capture_output=True, text=True).stdout.split()
    for window in found:
        info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True).stdout
        hints = subprocess.run(["xprop", "-id", window, "WM_HINTS"], capture_output=True,
                               text=True).stdout
        if "IsViewable" in info and "Iconic" not in hints:
            return True
    return False


SCENARIOS = {
    "words_update_failed": scenario_words_update_failed,
    "words_about": scenario_words_about,
    "words_autorun": scenario_words_autorun,
}
