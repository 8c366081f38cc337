"""The desktop integration of the real window: battery warnings reaching a notification
server of the tests' own on the private session bus, and the session-bus interface driven
with gdbus — its properties against corvane-cli's JSON, its methods against the store and
the capture, its signals against the simulated mouse's buttons. Needs gdbus and stdbuf.
"""
import glob
import json
import os
import subprocess
import time
import xml.etree.ElementTree as ElementTree

from gi.repository import GLib

from gui_harness import HarnessError, wait_until
from gui_steps import MAIN_TITLE, QUIET_S, active_profile, open_device, quiet, stored

BUS_NAME = "example.corvane.Corvane"
BUS_PATH = "/example/corvane/Corvane"
BUS_INTERFACE = "example.corvane.Corvane1"
INTERFACE_FILE = "example.corvane.Corvane1.xml"
SIM_WINDOW = "Simulated device"
ENGLISH = 1033
TEXT_WARNINGS_BOX, TEXT_BATTERY_LOW, TEXT_BATTERY_LEVEL = 641, 642, 643
TEXT_BATTERY_CRITICAL = 736
URGENCY_NORMAL, URGENCY_CRITICAL = 1, 2
RECEIVER = 1


# ---- the bus ---------------------------------------------------------------------------

def parse(text):
    """gdbus's printed value as Python values."""
    return GLib.Variant.parse(None, text.strip(), None, None).unpack()


def gdbus(method, *args):
    """`gdbus call` of a method of the window's object: (exit status, stdout, stderr)."""
    result = subprocess.run(["gdbus", "call", "--session", "--dest", BUS_NAME, "--object-path",
                             BUS_PATH, "--method", method, "--"] + [str(a) for a in args],
                            capture_output=True, text=True, timeout=60)
    return result.returncode, result.stdout, result.stderr


def call(method, *args):
    status, out, err = gdbus(BUS_INTERFACE + "." + method, *args)
    if status != 0:
        raise HarnessError("%s%s failed: %s" % (method, args, err.strip()))
    return parse(out)


def call_error(method, *args):
    """The error name a call fails with; fails itself when the call succeeds."""
    status, out, err = gdbus(BUS_INTERFACE + "." + method, *args)
    if status == 0:
        raise HarnessError("%s%s succeeded (%s) where it should fail" % (method, args, out))
    marker = "GDBus.Error:"
    if marker not in err:
        raise HarnessError("%s%s failed without an error name: %s" % (method, args, err))
    return err.split(marker, 1)[1].split(":", 1)[0].strip()


def properties():
    status, out, err = gdbus("org.freedesktop.DBus.Properties.GetAll", BUS_INTERFACE)
    if status != 0:
        raise HarnessError("GetAll failed: %s" % err.strip())
    return parse(out)[0]


def wait_for_bus():
    def owned():
        result = subprocess.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                                 "--object-path", "/org/freedesktop/DBus", "--method",
                                 "org.freedesktop.DBus.NameHasOwner", BUS_NAME],
                                capture_output=True, text=True, timeout=30)
        return result.returncode == 0 and "true" in result.stdout
    wait_until("the window to own " + BUS_NAME, owned)


def active_row(props):
    rows = [row for row in props["Devices"] if row["active"]]
    if len(rows) != 1:
        raise HarnessError("not one active interface in Devices: %s" % props["Devices"])
    return rows[0]


class SignalMonitor:
    """`gdbus monitor` of the window's object, line-buffered into a file."""

    def __init__(self, session):
        self.path = os.path.join(session.home, "signals.txt")
        self.file = open(self.path, "w")
        self.process = subprocess.Popen(
            ["stdbuf", "-oL", "gdbus", "monitor", "--session", "--dest", BUS_NAME,
             "--object-path", BUS_PATH], stdout=self.file, stderr=subprocess.STDOUT)
        wait_until("the monitor to start", lambda: "Monitoring" in self.text())

    def text(self):
        with open(self.path) as log:
            return log.read()

    def signals(self, name):
        """Arguments of every `name` signal so far, in order."""
        found = []
        for line in self.text().splitlines():
            tag = "%s.%s " % (BUS_INTERFACE, name)
            if tag in line:
                found.append(parse(line.split(tag, 1)[1]))
        return found

    def wait(self, name, count):
        return wait_until("%d %s signal(s)" % (count, name),
                          lambda: len(self.signals(name)) >= count and self.signals(name))

    def close(self):
        self.process.terminate()
        self.process.wait()
        self.file.close()


# ---- notifications and the simulated mouse --------------------------------------------

class NotificationServer:
    """tests/gui/notification_server.py on the private bus, logging into the home folder."""

    def __init__(self, session):
        self.log = os.path.join(session.home, "notifications.jsonl")
        open(self.log, "w").close()
        self.process = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(os.path.dirname(__file__), "notification_server.py"),
             self.log], stdout=subprocess.PIPE, text=True)
        if self.process.stdout.readline().strip() != "ready":
            raise HarnessError("the notification server did not start")

    def notes(self):
        with open(self.log) as log:
            return [json.loads(line) for line in log if line.strip()]

    def close(self):
        self.process.terminate()
        self.process.wait()


def language_texts(program_dir, lcid):
    with open(os.path.join(program_dir, "language", "%d.lan" % lcid), "rb") as raw:
        data = raw.read()
    text = data.decode("utf-16") if data.startswith(b"\xff\xfe") else data.decode("utf-8")
    pairs = (line.partition("=") for line in text.splitlines())
    return {int(key): value for key, sep, value in pairs if sep and key.strip().isdigit()}


def checked(node):
    import pyatspi
    return node.getState().contains(pyatspi.STATE_CHECKED)


def set_battery(session, sim, level, charging=False):
    """Sends a battery level from the simulator's window and waits until the bus shows it."""
    box = session.find("check box", "Charging", sim)
    if checked(box) != charging:
        session.act(box, "Toggle")
        wait_until("the charging box to follow", lambda: checked(box) == charging)
    spin = session.find_all("spin button", sim)[0]
    spin.queryValue().currentValue = level
    wait_until("the level box to show %d" % level,
               lambda: int(spin.queryValue().currentValue) == level)
    session.press("push button", "Set battery", sim)
    wait_until("the bus to show %d %%" % level, lambda: (
        active_row(properties())["battery"] == level and
        active_row(properties())["charging"] == charging))


def fall(session, sim, top, bottom, charging=False):
    for level in range(top, bottom - 1, -1):
        set_battery(session, sim, level, charging)


def check_warning(note, texts, model, level, urgency):
    # The critical warning says more than the low one did.
    summary = texts[TEXT_BATTERY_CRITICAL if urgency == URGENCY_CRITICAL else TEXT_BATTERY_LOW]
    if note["summary"] != summary:
        raise HarnessError("summary %r, not %r" % (note["summary"], summary))
    body = note["body"]
    for part in (model, texts[TEXT_BATTERY_LEVEL], "%d%%" % level):
        if part not in body:
            raise HarnessError("notification body %r lacks %r" % (body, part))
    if note["urgency"] != urgency or not note["app"]:
        raise HarnessError("notification %s: urgency or application name wrong" % note)


def scenario_desktop_battery(session):
    """A wireless mouse falling from 20 % to 4 %: exactly two notifications, at 15 % and at
    5 %, with the model's name and the level; no tray host, and nothing breaks."""
    server = NotificationServer(session)
    try:
        model = open_device(session)
        wait_for_bus()
        texts = language_texts(session.program_dir, ENGLISH)
        fall(session, session.window(SIM_WINDOW), 20, 4)
        time.sleep(QUIET_S)
        notes = server.notes()
        if len(notes) != 2:
            raise HarnessError("%d notifications instead of 2: %s" % (len(notes), notes))
        check_warning(notes[0], texts, model, 15, URGENCY_NORMAL)
        check_warning(notes[1], texts, model, 5, URGENCY_CRITICAL)
    finally:
        server.close()


scenario_desktop_battery.program_args = ["--simulate=wireless"]


def registry_values(session):
    found = glob.glob(os.path.join(session.home, "config", "**", "registry.ini"), recursive=True)
    if not found:
        return ""
    with open(found[0], encoding="utf-8", errors="replace") as ini:
        return ini.read()


def scenario_desktop_charging(session):
    """Charging from 20 % down to 4 % warns of nothing; with the settings page's box off
    neither; switched on again, the next fall (the level having been above both thresholds)
    warns twice."""
    server = NotificationServer(session)
    try:
        open_device(session)
        wait_for_bus()
        texts = language_texts(session.program_dir, ENGLISH)
        sim = session.window(SIM_WINDOW)
        fall(session, sim, 20, 4, charging=True)
        main = session.window(MAIN_TITLE)
        session.press("push button", "Settings", main)
        box = session.find("check box", texts[TEXT_WARNINGS_BOX], main)
        if not checked(box):
            raise HarnessError("battery warnings are off on a fresh start")
        session.act(box, "Toggle")
        wait_until("battery_warnings=0 stored", lambda: "battery_warnings=0" in
                   registry_values(session))
        fall(session, sim, 20, 4)
        time.sleep(QUIET_S)
        if server.notes():
            raise HarnessError("warnings while charging or switched off: %s" % server.notes())
        session.act(box, "Toggle")
        wait_until("battery_warnings=1 stored", lambda: "battery_warnings=1" in
                   registry_values(session))
        fall(session, sim, 20, 4)
        time.sleep(QUIET_S)
        levels = [note["body"].rsplit(" ", 1)[-1] for note in server.notes()]
        if levels != ["15%", "5%"]:
            raise HarnessError("switched on again, the warnings were %s" % server.notes())
    finally:
        server.close()


scenario_desktop_charging.program_args = ["--simulate=wireless"]


# ---- properties against the command line ------------------------------------------------

def cli(session, *args, capture=None):
    """corvane-cli on the window's home and database, with a simulated mouse of its own."""
    program = os.path.join(os.path.dirname(session.corvane), "..", "cli", "corvane-cli")
    env = dict(os.environ)
    env.update({"HOME": session.home, "XDG_CONFIG_HOME": os.path.join(session.home, "config"),
                "XDG_DATA_HOME": os.path.join(session.home, "data"), "LANG": "en_US.UTF-8"})
    command = [program, "--program-dir", session.program_dir, "--simulate"]
    if capture:
        command += ["--capture", capture]
    result = subprocess.run(command + list(args), env=env, capture_output=True, text=True,
                            timeout=60)
    if result.returncode != 0:
        raise HarnessError("corvane-cli %s failed: %s" % (" ".join(args), result.stderr))
    return result.stdout


def cli_json(session, *args):
    return json.loads(cli(session, "--json", *args))


def expect_equal(what, got, want):
    if got != want:
        raise HarnessError("%s: the bus has %r, corvane-cli %r" % (what, got, want))


def interface_members(xml_text):
    root = ElementTree.fromstring(xml_text)
    for interface in root.iter("interface"):
        if interface.get("name") == BUS_INTERFACE:
            return sorted((child.tag, child.get("name"), child.get("type"),
                           tuple((a.get("type"), a.get("direction")) for a in child.iter("arg")))
                          for child in interface)
    raise HarnessError("no %s in %s" % (BUS_INTERFACE, xml_text))


def scenario_desktop_properties(session):
    """Every property holds what corvane-cli's JSON says for the same store and mouse, and
    the object serves the interface description that is installed."""
    wait_for_bus()
    wait_until("the start-up traffic to settle", lambda: quiet(session))
    props = properties()
    devices, info = cli_json(session, "devices"), cli_json(session, "info")
    names = {model["device_type"]: model["name"] for model in devices["models"]}
    rows = sorted((row["device_type"], row["connection"], row["online"], row["model"])
                  for row in props["Devices"])
    entries = sorted({(e["device_type"], e["mode"], e["online"] == 1, names[e["device_type"]])
                      for e in devices["entries"]})
    expect_equal("Devices", rows, entries)
    active = active_row(props)
    expect_equal("active interface", (active["device_type"], active["connection"]),
                 (info["device_type"], info["connection"]))
    expect_equal("battery", (active["battery"], active["charging"]),
                 (info["battery_b"], info["battery_a"] == 1))
    expect_equal("firmware", active["firmware"], info["firmware"])
    profiles = cli_json(session, "profiles")
    expect_equal("Profiles", [tuple(p) for p in props["Profiles"]],
                 [(p["id"], p["name"], p["active"] in (1, True)) for p in profiles])
    expect_equal("ActiveProfile", props["ActiveProfile"],
                 next(p["id"] for p in profiles if p["active"] in (1, True)))
    values = cli_json(session, "get")
    count = int(values["dpi_count"])
    expect_equal("DpiStages", props["DpiStages"],
                 [int(values["dpi_group%d_value" % i]) for i in range(count)])
    expect_equal("ActiveDpiStage", props["ActiveDpiStage"], int(values["dpi_index"]))

    result = subprocess.run(["gdbus", "introspect", "--session", "--dest", BUS_NAME,
                             "--object-path", BUS_PATH, "--xml"], capture_output=True, text=True,
                            timeout=30, check=True)
    with open(os.path.join(session.program_dir, INTERFACE_FILE)) as shipped:
        expect_equal("interface description", interface_members(result.stdout),
                     interface_members(shipped.read()))


# ---- methods: store first, then exactly the window's bytes -------------------------------

def cli_task_reports(session, task):
    """The reports corvane-cli sends for `task N` from the same store."""
    capture = os.path.join(session.home, "cli-task-%d.txt" % task)
    if os.path.exists(capture):
        os.remove(capture)
    cli(session, "task", str(task), capture=capture)
    with open(capture) as lines:
        return [line.split()[3] for line in lines if line.startswith("OUT")]


def expect_same_bytes(session, mark, task, what):
    sent = session.out_reports_since(mark)
    if not sent:
        raise HarnessError("%s sent nothing" % what)
    reference = cli_task_reports(session, task)
    if reference[-len(sent):] != sent:
        raise HarnessError("%s sent %s; task %d from the same store sends %s" %
                           (what, sent, task, reference))


def scenario_desktop_methods(session):
    """Each method stores first, then sends what the window's own control sends (the same
    task run by corvane-cli on the same store sends the same bytes); bad requests get the
    interface's error names and change nothing."""
    open_device(session)
    wait_for_bus()
    wait_until("the start-up traffic to settle", lambda: quiet(session))
    props = properties()
    stage = (props["ActiveDpiStage"] + 1) % len(props["DpiStages"])
    mark = session.mark()
    call("SetActiveDpiStage", stage)
    expect_equal("dpi_index stored", stored(session, "dpi_index"), str(stage))
    expect_same_bytes(session, mark, 9, "SetActiveDpiStage")

    mark = session.mark()
    wanted = props["DpiStages"][stage] + 1234
    value = call("SetDpiStageValue", stage, wanted)[0]
    if abs(value - wanted) > 100:
        raise HarnessError("SetDpiStageValue stored %d for %d" % (value, wanted))
    expect_equal("stage value stored", stored(session, "dpi_group%d_value" % stage), str(value))
    expect_same_bytes(session, mark, 9, "SetDpiStageValue")
    expect_equal("DpiStages after the call", properties()["DpiStages"][stage], value)
    # Another stage's value changes that value only: the mouse stays on its stage.
    other_stage = (stage + 1) % len(props["DpiStages"])
    call("SetDpiStageValue", other_stage, props["DpiStages"][other_stage] + 100)
    expect_equal("the active stage after another stage's value", properties()["ActiveDpiStage"],
                 stage)
    expect_equal("dpi_index after another stage's value", stored(session, "dpi_index"), str(stage))

    other = next(p[0] for p in props["Profiles"] if not p[2])
    mark = session.mark()
    call("SetActiveProfile", other)
    expect_equal("active profile", [p for p, _ in active_profile(session)], [other])
    expect_same_bytes(session, mark, 5, "SetActiveProfile")

    mark = session.mark()
    for method, args, error in [
            ("SetActiveProfile", (987,), "example.corvane.Corvane1.Error.NoSuchProfile"),
            ("SetActiveDpiStage", (len(props["DpiStages"]),), "org.freedesktop.DBus.Error.InvalidArgs"),
            ("SetDpiStageValue", (0, 0), "org.freedesktop.DBus.Error.InvalidArgs")]:
        expect_equal("%s%s" % (method, args), call_error(method, *args), error)
    time.sleep(QUIET_S)
    if session.out_reports_since(mark):
        raise HarnessError("refused requests sent %s" % session.out_reports_since(mark))
    expect_equal("active profile after the bad requests",
                 [p for p, _ in active_profile(session)], [other])


def scenario_desktop_refused(session):
    """A mouse that refuses commands (the simulator's box): the method stores first and then
    fails with the interface's Refused error, leaving the new value in the store; once the
    mouse takes commands again the next call succeeds."""
    open_device(session)
    wait_for_bus()
    wait_until("the start-up traffic to settle", lambda: quiet(session))
    sim = session.window(SIM_WINDOW)
    refuse = session.find("check box", "Refuse commands", sim)
    session.act(refuse, "Toggle")
    wait_until("the mouse to refuse", lambda: checked(refuse))
    props = properties()
    stage = (props["ActiveDpiStage"] + 1) % len(props["DpiStages"])
    expect_equal("refused call", call_error("SetActiveDpiStage", stage),
                 "example.corvane.Corvane1.Error.Refused")
    expect_equal("dpi_index stored", stored(session, "dpi_index"), str(stage))
    session.act(refuse, "Toggle")
    wait_until("the mouse to take commands", lambda: not checked(refuse))
    value = call("SetDpiStageValue", stage, props["DpiStages"][stage])[0]
    expect_equal("stage value stored", stored(session, "dpi_group%d_value" % stage), str(value))


scenario_desktop_refused.program_args = ["--simulate=wired"]


# ---- signals ----------------------------------------------------------------------------

def scenario_desktop_signals(session):
    """DpiStageChanged when the mouse's DPI button is pressed, BatteryChanged for a new
    level, OnlineChanged when the mouse switches off and on and when the simulated devices
    are unplugged and plugged in again, ProfileChanged for a profile made active; a profile
    cannot be chosen while the mouse is off."""
    model = open_device(session)
    wait_for_bus()
    wait_until("the start-up traffic to settle", lambda: quiet(session))
    sim = session.window(SIM_WINDOW)
    monitor = SignalMonitor(session)
    try:
        session.press("push button", "Press DPI button", sim)
        stage, dpi = monitor.wait("DpiStageChanged", 1)[0]
        wait_until("dpi_index stored", lambda: stored(session, "dpi_index") == str(stage))
        expect_equal("signalled stage value", str(dpi), stored(session, "dpi_group%d_value" % stage))

        set_battery(session, sim, 42)
        expect_equal("BatteryChanged", monitor.wait("BatteryChanged", 1)[-1], (model, 42, False))

        session.press("push button", "Switch mouse off", sim)
        expect_equal("OnlineChanged", monitor.wait("OnlineChanged", 1)[0], (model, RECEIVER, False))
        before = active_profile(session)
        other = next(p[0] for p in properties()["Profiles"] if not p[2])
        expect_equal("profile while off", call_error("SetActiveProfile", other),
                     "example.corvane.Corvane1.Error.NotConnected")
        expect_equal("store while off", active_profile(session), before)
        session.press("push button", "Switch mouse on", sim)
        expect_equal("OnlineChanged", monitor.wait("OnlineChanged", 2)[1], (model, RECEIVER, True))

        call("SetActiveProfile", other)
        expect_equal("ProfileChanged", monitor.wait("ProfileChanged", 1)[0], (other,))

        session.press("push button", "Unplug", sim)
        expect_equal("OnlineChanged", monitor.wait("OnlineChanged", 3)[2], (model, RECEIVER, False))
        session.press("push button", "Plug in", sim)
        expect_equal("OnlineChanged", monitor.wait("OnlineChanged", 4)[3], (model, RECEIVER, True))
        wait_until("the interface back on the bus",
                   lambda: any(row["online"] for row in properties()["Devices"]))
    finally:
        monitor.close()


scenario_desktop_signals.program_args = ["--simulate=wireless"]


SCENARIOS = {
    "desktop_battery": scenario_desktop_battery,
    "desktop_charging": scenario_desktop_charging,
    "desktop_properties": scenario_desktop_properties,
    "desktop_methods": scenario_desktop_methods,
    "desktop_refused": scenario_desktop_refused,
    "desktop_signals": scenario_desktop_signals,
}
