"""Scenarios that drive the real window program against the simulated mouse.

usage: gui_scenarios.py CORVANE PROGRAM_DIR OUT_DIR SCENARIO [x11|wayland]

Each scenario proves its result in the capture's bytes and the settings database, and
saves screenshots of what it opened into OUT_DIR. Run by run_gui_test.sh.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import glob  # noqa: E402
import importlib  # noqa: E402

from gui_harness import HarnessError, Session, showing, wait_until  # noqa: E402
from gui_steps import (INTERACTIVE_ROLES, MAIN_TITLE, PROFILE_TAIL, QUIET_S,  # noqa: E402
                       RESTORE_COMMAND, active_profile, commands_after, expect_chosen,
                       language_texts, open_device, quiet)

def scenario_dump(session):
    """Every showing object of the main window has a real role and a name."""
    main = session.window(MAIN_TITLE)
    wait_until("a device card", lambda: any(
        n.getRoleName() == "list item" and showing(n) for n in session.walk(main)))
    session.screenshot("main-window")
    problems = []
    listed = []
    for node in session.walk(main):
        if node == main or not showing(node):
            continue
        role = node.getRoleName()
        listed.append("%s %r" % (role, node.name))
        try:
            actions = node.queryAction()
            acting = any(actions.getName(i) != "SetFocus" for i in range(actions.nActions))
        except NotImplementedError:
            acting = False
        if role in ("filler", "unknown", "client") or not node.name:
            kind = "interactive " if acting or role in INTERACTIVE_ROLES else ""
            problems.append("%scontrol with role %r and name %r" % (kind, role, node.name))
    with open(os.path.join(session.out_dir, "dump-main-window.txt"), "w") as dump:
        dump.write("\n".join(listed) + "\n")
    if problems:
        raise HarnessError("unnamed or role-less objects in the main window:\n  " +
                           "\n  ".join(problems))
    for role, name in [("push button", "Settings"), ("push button", "Close"),
                       ("push button", "Minimize"), ("label", "Corvane Mouse Settings"),
                       ("list", "Devices")]:
        session.find(role, name, main)
    # The settings page: every control there is named too, and the about box opens.
    session.press("push button", "Settings", main)
    session.find("push button", "About", main)
    session.screenshot("settings-page")
    session.press("push button", "About", main)
    about = session.window("About")
    wait_until("the mouse firmware line", lambda: any(
        n.getRoleName() == "label" and n.name.startswith("Mouse firmware: ")
        for n in session.walk(about)))
    session.screenshot("about-box")
    session.press("push button", "Close", about)
    wait_until("the about box to close", lambda: not showing(about))


def scenario_profile(session):
    """Profile 2 chosen in the chooser: whole-profile upload, stored as active."""
    open_device(session)
    main = session.window(MAIN_TITLE)
    wait_until("the start-up traffic to settle", lambda: quiet(session))
    mark = session.mark()
    session.press("push button", "Profile 1", main)
    chooser = session.window("Profiles")
    session.screenshot("profile-chooser")
    session.press("list item", "Profile 2", chooser)
    wait_until("the upload to end with the active profile",
               lambda: commands_after(session, mark)[-1:] == [0x07])
    sent = commands_after(session, mark)
    tail = [c for c in sent if c in PROFILE_TAIL]
    if tail != PROFILE_TAIL or sent[-len(PROFILE_TAIL):] != PROFILE_TAIL:
        raise HarnessError("profile upload sent %s" % ["%02X" % c for c in sent])
    head = sent[:-len(PROFILE_TAIL)]
    if not head or any(c in PROFILE_TAIL for c in head):
        raise HarnessError("no button table or lighting before the options: %s" %
                           ["%02X" % c for c in sent])
    wait_until("profile 2 active in the store", lambda: [p for p, _ in active_profile(session)]
               == [2])
    session.find("push button", "Profile 2", main)


def scenario_rename(session):
    """A profile renamed in place, then a click elsewhere: new name stored and active."""
    open_device(session)
    main = session.window(MAIN_TITLE)
    session.press("push button", "Profile 1", main)
    chooser = session.window("Profiles")
    row = session.find("list item", "Profile 3", chooser)
    session.act(row, "Rename")
    field = wait_until("the in-place field", lambda: next(
        (n for n in session.walk(chooser) if n.getRoleName() == "text" and showing(n)), None))
    session.key("ctrl+a")
    session.type_text("Aiming")
    session.screenshot("profile-rename")
    extent = main.queryComponent().getExtents(0)  # screen coordinates
    session.click_at(extent.x + extent.width // 2, extent.y + extent.height // 2)
    wait_until("the chooser to close", lambda: not showing(chooser))
    wait_until("the new name stored and active",
               lambda: active_profile(session) == [(3, "Aiming")])
    session.find("push button", "Aiming", main)
    del field


def scenario_restore(session):
    """Restore defaults: 'Cancel' sends nothing, 'OK' sends the restore command."""
    open_device(session)
    main = session.window(MAIN_TITLE)
    session.press("push button", "Settings", main)
    wait_until("the start-up traffic to settle", lambda: quiet(session))
    mark = session.mark()
    session.press("push button", "Restore defaults", main)
    box = session.window("Restore defaults")
    session.find("label", "Restore the mouse and all its profiles to factory defaults? Every profile's settings and button assignments are reset.", box)
    session.screenshot("message-box")
    session.press("push button", "Cancel", box)
    wait_until("the question to close", lambda: not showing(box))
    time.sleep(QUIET_S)
    if RESTORE_COMMAND in commands_after(session, mark):
        raise HarnessError("declined restore sent %s" % session.out_reports_since(mark))
    session.press("push button", "Restore defaults", main)
    box = session.window("Restore defaults")
    session.press("push button", "OK", box)
    wait_until("the restore command", lambda: RESTORE_COMMAND in commands_after(session, mark))


def serve_update(program_dir, work):
    """A program folder whose update address is a local server offering 1.0.10."""
    served = os.path.join(work, "served", "sw")
    os.makedirs(served)
    with open(os.path.join(served, "version"), "w") as version:
        version.write("1.0.10")
    # No installer inside: the download and unpacking run, and the program keeps running.
    with zipfile.ZipFile(os.path.join(served, "Mouse-Setup-1.0.10.zip"), "w") as package:
        package.writestr("readme.txt", os.urandom(200000).hex())
    server, port = start_update_server(work)
    copy = os.path.join(work, "program")
    shutil.copytree(program_dir, copy)
    config = os.path.join(copy, "config.xml")
    with open(config) as text:
        xml = text.read()
    xml = xml.replace("https://updates.corvane.example/software/",
                      "http://127.0.0.1:%s/sw/" % port)
    with open(config, "w") as text:
        text.write(xml)
    return server, copy


def scenario_update(session):
    """The start-up check offers 1.0.10; accepting downloads it with moving progress."""
    box = session.window("Software update")
    session.find("label", "New version:V1.0.10, update now?", box)
    session.screenshot("update-prompt")
    session.press("push button", "OK", box)
    dialog = session.window("UpdateProcessDlg")
    bar = session.find("progress bar", "", dialog, visible=False)
    wait_until("the download progress to reach 100",
               lambda: bar.queryValue().currentValue >= 100)
    session.find("label", "下载文件中: 100%", dialog)
    session.screenshot("update-progress")


FIRMWARE_IMAGE_BYTES = 3000
UPGRADE_COLLECTION = 3  # the simulated mouse's upgrade interface: sim/<link>/if3
FIRMWARE_URL = "https://updates.corvane.example/firmware/kestrel_pro"


def start_update_server(work):
    """A local update server over work/served; returns (process, port)."""
    server = subprocess.Popen(
        ["/usr/bin/python3", os.path.join(os.path.dirname(__file__), "..", "update",
                                          "update_test_server.py"),
         os.path.join(work, "served")], stdout=subprocess.PIPE, text=True)
    return server, server.stdout.readline().strip()


def serve_firmware(program_dir, work):
    """A program folder whose mouse definition points at a local server offering 1.06."""
    served = os.path.join(work, "served", "fw", "mouse")
    os.makedirs(served)
    with open(os.path.join(served, "version"), "w") as version:
        version.write("106")
    with zipfile.ZipFile(os.path.join(served, "firmware-106.zip"), "w") as package:
        package.writestr("firmware-106.bin", bytes((i * 7 + 3) % 256
                                                  for i in range(FIRMWARE_IMAGE_BYTES)))
    server, port = start_update_server(work)
    copy = os.path.join(work, "program")
    shutil.copytree(program_dir, copy)
    definition = os.path.join(copy, "device", "kestrel_pro.xml")
    with open(definition) as text:
        xml = text.read()
    if FIRMWARE_URL not in xml:
        raise HarnessError("the mouse definition has no firmware address to redirect")
    with open(definition, "w") as text:
        text.write(xml.replace(FIRMWARE_URL, "http://127.0.0.1:%s/fw" % port))
    return server, copy


def upgrade_bytes(session, since_line):
    """Data bytes written to the upgrade collection after capture line `since_line`."""
    total = 0
    for fields in session.capture_lines()[since_line:]:
        if fields[0] == "OUT" and fields[1].endswith("/if%d" % UPGRADE_COLLECTION):
            total += int(fields[2])
    return total


def scenario_firmware(session):
    """Opening the mouse finds firmware 1.06; accepting sends the image under the tip."""
    open_device(session)
    box = session.window("Mouse firmware")
    session.find("label", "New version:V1.06, update now?", box)
    session.screenshot("firmware-prompt")
    start = len(session.capture_lines())
    session.press("push button", "OK", box)
    tip = session.window("UpdateTipDlg")
    session.find("label", "Do not unplug the mouse or receiver during the update.", tip)
    session.screenshot("firmware-tip")
    # The tip closes a moment after the transfer ends; by then the whole image went out.
    wait_until("the update tip to close", lambda: not showing(tip), timeout=60)
    sent = upgrade_bytes(session, start)
    if sent < FIRMWARE_IMAGE_BYTES:
        raise HarnessError("only %d bytes reached the upgrade collection" % sent)


LANGUAGE_TEXT = 600  # the language list's caption and name


def scenario_language(session):
    """Korean chosen in the settings: every name a screen reader read in English follows."""
    open_device(session)
    main = session.window(MAIN_TITLE)
    english = language_texts(session.program_dir, 1033)
    korean = language_texts(session.program_dir, 1042)
    id_of = {text: number for number, text in english.items()}
    named = [(n.getRoleName(), n.name) for n in session.walk(main)
             if showing(n) and n.name in id_of]
    if len(named) < 8:
        raise HarnessError("too few language texts on screen to compare: %s" % named)
    session.press("push button", "Settings", main)
    languages = session.find("combo box", "Language", main)
    expect_chosen(languages, "English")
    session.act(session.find("list item", "한국어", languages, visible=False))
    for role, name in named:
        session.find(role, korean[id_of[name]], main, visible=False)
    expect_chosen(session.find("combo box", korean[LANGUAGE_TEXT], main), "한국어")
    session.screenshot("korean")


SCENARIOS = {
    "dump": scenario_dump,
    "profile": scenario_profile,
    "rename": scenario_rename,
    "restore": scenario_restore,
    "update": scenario_update,
    "firmware": scenario_firmware,
    "language": scenario_language,
}
# The pages' scenarios.
for _path in sorted(glob.glob(os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                           "scenarios_*.py"))):
    SCENARIOS.update(importlib.import_module(os.path.basename(_path)[:-3]).SCENARIOS)


class TrayHost:
    """tests/gui/tray_host.py on the private bus, started before the program looks."""

    def __init__(self, work):
        self.log = os.path.join(work, "tray-items.txt")
        open(self.log, "w").close()
        self.process = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(os.path.dirname(__file__), "tray_host.py"),
             self.log], stdout=subprocess.PIPE, text=True)
        if self.process.stdout.readline().strip() != "ready":
            raise HarnessError("the tray host did not start")

    def items(self):
        with open(self.log) as log:
            return [line.strip() for line in log if line.strip()]

    def close(self):
        self.process.terminate()
        self.process.wait()


def main():
    corvane, program_dir, out_dir = (os.path.abspath(p) for p in sys.argv[1:4])
    name = sys.argv[4]
    display = sys.argv[5] if len(sys.argv) > 5 else "x11"
    os.makedirs(out_dir, exist_ok=True)
    work = tempfile.mkdtemp(prefix="corvane-gui-work-")
    server = None
    tray_host = None
    try:
        if getattr(SCENARIOS[name], "display", "x11") != display:
            raise HarnessError("scenario %s is not one for %s" % (name, display))
        if getattr(SCENARIOS[name], "tray_host", False):
            tray_host = TrayHost(work)
        if name == "update":
            server, program_dir = serve_update(program_dir, work)
        elif name == "firmware":
            server, program_dir = serve_firmware(program_dir, work)
        # A scenario function may carry its own program folder set-up: (server, folder).
        setup = getattr(SCENARIOS[name], "program_setup", None)
        if setup is not None:
            server, program_dir = setup(program_dir, work)
        # A scenario function may carry the program's simulation arguments.
        program_args = getattr(SCENARIOS[name], "program_args", None)
        program_env = getattr(SCENARIOS[name], "program_env", None)
        with Session(corvane, program_dir, out_dir, name, program_args, display,
                     program_env) as session:
            session.tray_host = tray_host
            SCENARIOS[name](session)
    except HarnessError as error:
        print("FAIL %s: %s" % (name, error), file=sys.stderr)
        return 1
    finally:
        if tray_host is not None:
            tray_host.close()
        if server is not None:
            server.terminate()
            server.wait()
        shutil.rmtree(work, ignore_errors=True)
    print("PASS %s" % name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
