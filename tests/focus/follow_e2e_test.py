#!/usr/bin/env python3
"""`corvane-cli follow` end to end against the simulated mouse.

X11: Xvfb with openbox, two windows with different WM_CLASS, profile 2 linked to the first.
Activating it (xdotool windowactivate) must make profile 2 active in the store and upload
it: the OUT lines written after the activation are those `profile activate 2` writes for
the same store. Activating the other window returns to the default profile, 1, the same way.
A focus shorter than the debounce switches nothing.

Processes: without an X server, a linked dummy executable that starts makes its profile
active; when it ends, the default comes back.

Usage: follow_e2e_test.py --cli PATH --window PATH --program-dir DIR
Exits 0 when every check holds, 1 with the failed check, 77 when Xvfb or openbox is missing.
"""
import argparse
import json
import os
import queue
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

# One way to start a private X server for every test that needs one.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "gui"))
from gui_harness import start_xvfb  # noqa: E402

DEBOUNCE_S = 0.3
SWITCH_TIMEOUT_S = 5.0


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Home:
    """A private home folder and the corvane-cli environment that uses it."""

    def __init__(self, root, cli, program_dir, display=None):
        self.root = root
        self.cli = cli
        self.program_dir = program_dir
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "DISPLAY", "CORVANE_HID_CAPTURE", "CORVANE_SIM_FAULTS"):
            self.env.pop(name, None)
        self.env.update({"HOME": root, "XDG_CONFIG_HOME": os.path.join(root, "config"),
                         "XDG_DATA_HOME": os.path.join(root, "data"),
                         "XDG_RUNTIME_DIR": os.path.join(root, "run"), "XDG_SESSION_TYPE": "x11"})
        if display:
            self.env["DISPLAY"] = display
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)

    def args(self, *command, capture=None):
        base = [self.cli, "--simulate", "--program-dir", self.program_dir]
        if capture:
            base += ["--capture", capture]
        return base + list(command)

    def run(self, *command, capture=None):
        result = subprocess.run(self.args(*command, capture=capture), env=self.env,
                                capture_output=True, text=True, timeout=60)
        check(result.returncode == 0, "%s failed: %s" % (" ".join(command), result.stderr.strip()))
        return result.stdout

    def active_profile(self):
        rows = json.loads(self.run("profiles", "--json"))
        return [row["id"] for row in rows if row["active"]]


def out_lines(path, offset=0):
    with open(path, encoding="ascii") as f:
        f.seek(offset)
        return [line.strip() for line in f if line.startswith("OUT ")]


def size(path):
    return os.path.getsize(path) if os.path.exists(path) else 0


def prepare(home, link_name):
    """Profile 2 gets its own first DPI stage; profile 1, chosen by hand last, is the default."""
    home.run("profile", "activate", "2")
    home.run("set", "--store-only", "dpi_group0_value", "2400")
    home.run("profile", "activate", "1")
    home.run("profile", "link", "2", link_name)
    links = json.loads(home.run("profile", "links", "--json"))
    check([row["apps"] for row in links if row["id"] == 2] == [[link_name.lower()]],
          "profile links does not show the link: %r" % links)


def reference_uploads(home, scratch):
    """What `profile activate N` writes for a copy of the same store, per profile, after
    what every command writes when it starts (the lines `profiles` writes)."""
    twin_root = os.path.join(scratch, "twin")
    shutil.copytree(home.root, twin_root, symlinks=True)
    twin = Home(twin_root, home.cli, home.program_dir)
    start_capture = os.path.join(scratch, "start.txt")
    twin.run("profiles", capture=start_capture)
    start = out_lines(start_capture)
    uploads = {}
    for profile in (2, 1):
        capture = os.path.join(scratch, "ref%d.txt" % profile)
        twin.run("profile", "activate", str(profile), capture=capture)
        lines = out_lines(capture)
        check(lines[:len(start)] == start, "profile activate %d starts differently" % profile)
        uploads[profile] = lines[len(start):]
        check(uploads[profile], "profile activate %d wrote nothing" % profile)
    check(uploads[1] != uploads[2], "the two profiles upload the same bytes")
    return uploads


class Follower:
    """`corvane-cli follow` with its output lines in a queue."""

    def __init__(self, home, capture):
        self.capture = capture
        self.process = subprocess.Popen(home.args("follow", capture=capture), env=home.env,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.strip())

    def next_line(self, timeout):
        try:
            return self.lines.get(timeout=timeout)
        except queue.Empty:
            return None

    def expect_switch(self, profile, home, reference, before):
        started = time.monotonic()
        line = self.next_line(SWITCH_TIMEOUT_S)
        check(line == "profile %d" % profile, "expected a switch to %d, got %r" % (profile, line))
        check(time.monotonic() - started < SWITCH_TIMEOUT_S, "switch too late")
        check(home.active_profile() == [profile], "store: active %r" % home.active_profile())
        written = out_lines(self.capture, before)
        check(written == reference[profile],
              "upload of profile %d differs:\n%s\nexpected:\n%s"
              % (profile, "\n".join(written), "\n".join(reference[profile])))

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        try:
            code = self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise Failure("follow did not end on SIGTERM")
        check(code == 0, "follow ended with %d: %s" % (code, self.process.stderr.read()))


def activate(display, window):
    subprocess.run(["xdotool", "windowactivate", "--sync", window], env=dict(os.environ, DISPLAY=display),
                   check=True, timeout=10, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def wait_for_wm(display, window):
    """openbox is up once it can activate a window."""
    end = time.monotonic() + 10
    while time.monotonic() < end:
        try:
            activate(display, window)
            return
        except (subprocess.CalledProcessError, subprocess.TimeoutExpired):
            time.sleep(0.1)
    raise Failure("openbox did not manage the windows")


def x11_scenario(args, scratch):
    children = []
    try:
        xvfb, display = start_xvfb()
        children.append(xvfb)
        xenv = dict(os.environ, DISPLAY=display)
        children.append(subprocess.Popen(["openbox", "--sm-disable"], env=xenv,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        windows = {}
        for name in ("CorvaneGameA", "CorvaneToolB"):
            window = subprocess.Popen([args.window, name, name], env=xenv, stdout=subprocess.PIPE,
                                      text=True)
            children.append(window)
            windows[name] = window.stdout.readline().strip()
            check(windows[name], "the %s window did not start" % name)
        wait_for_wm(display, windows["CorvaneToolB"])

        home = Home(os.path.join(scratch, "x11"), args.cli, args.program_dir, display)
        os.makedirs(home.root, exist_ok=True)
        prepare(home, "CorvaneGameA")
        reference = reference_uploads(home, os.path.join(scratch, "x11-ref"))

        follower = Follower(home, os.path.join(scratch, "x11-capture.txt"))
        check(follower.next_line(10) == "following with x11", "follow did not use X11")
        time.sleep(DEBOUNCE_S * 2)  # the tool window has the focus: the default stays
        check(follower.next_line(0.2) is None, "a switch without a focus change")

        before = size(follower.capture)
        activate(display, windows["CorvaneGameA"])
        follower.expect_switch(2, home, reference, before)

        before = size(follower.capture)
        activate(display, windows["CorvaneToolB"])
        follower.expect_switch(1, home, reference, before)

        # Passing over the game for less than the debounce time switches nothing.
        activate(display, windows["CorvaneGameA"])
        activate(display, windows["CorvaneToolB"])
        check(follower.next_line(DEBOUNCE_S * 3) is None, "a short focus switched the profile")
        check(home.active_profile() == [1], "a short focus changed the store")
        follower.stop()
    finally:
        for child in reversed(children):
            child.kill()
            child.wait()


def process_scenario(args, scratch):
    home = Home(os.path.join(scratch, "proc"), args.cli, args.program_dir)
    os.makedirs(home.root, exist_ok=True)
    dummy = os.path.join(scratch, "corvanedummygame")
    shutil.copy("/bin/sleep", dummy)
    prepare(home, "corvanedummygame")
    reference = reference_uploads(home, os.path.join(scratch, "proc-ref"))
    follower = Follower(home, os.path.join(scratch, "proc-capture.txt"))
    game = None
    try:
        check(follower.next_line(10) == "following with processes", "follow did not fall back")
        before = size(follower.capture)
        game = subprocess.Popen([dummy, "60"])
        follower.expect_switch(2, home, reference, before)
        before = size(follower.capture)
        game.kill()
        game.wait()
        follower.expect_switch(1, home, reference, before)
        follower.stop()
    finally:
        if game:
            game.kill()
            game.wait()
        if follower.process.poll() is None:
            follower.process.kill()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--window", required=True)
    parser.add_argument("--program-dir", required=True)
    args = parser.parse_args()
    for tool in ("Xvfb", "openbox", "xdotool"):
        if shutil.which(tool) is None:
            print("skipped: %s is not installed (scripts/install-deps)" % tool)
            return 77
    scratch = tempfile.mkdtemp(prefix="corvane-follow-")
    try:
        x11_scenario(args, scratch)
        process_scenario(args, scratch)
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    print("follow: X11 and process fallback switched and uploaded as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
