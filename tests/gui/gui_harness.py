"""Drives the real window program through the accessibility bus, as a screen reader would.

Started inside a private D-Bus session (dbus-run-session) by run_gui_test.sh. A Session
starts its own display server (Xvfb, or a headless weston for Wayland), then
`corvane --simulate --capture FILE` with a temporary home, and finds controls by role and
accessible name. Every wait is bounded; a failure raises
HarnessError with what was looked for, and saves a screenshot into the output folder.

Only the system interpreter has python3-pyatspi: run with /usr/bin/python3.
"""
import glob
import os
import shutil
import signal
import sqlite3
import subprocess
import tempfile
import time

WAIT_S = 15.0
# A cold start under a loaded machine (the suite runs two tests at once) takes longer.
START_WAIT_S = 30.0
POLL_S = 0.05


class HarnessError(AssertionError):
    pass


def wait_until(what, check, timeout=WAIT_S):
    """Polls check() until it returns a true value, which is returned; raises after timeout."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        try:
            value = check()
            if value:
                return value
        except Exception as error:  # the tree changes under us; try again
            last_error = error
        time.sleep(POLL_S)
    raise HarnessError("timed out after %.0f s waiting for %s%s" %
                       (timeout, what, " (last error: %s)" % last_error if last_error else ""))


def start_xvfb():
    """Starts Xvfb on a free display; returns (process, display name)."""
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1600x1000x24",
                             "-nolisten", "tcp"], pass_fds=(write_fd,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as pipe:
        number = pipe.readline().strip()
    if not number:
        xvfb.kill()
        raise HarnessError("Xvfb did not start")
    return xvfb, ":" + number


# Weston's desktop shell without its panel, over one flat colour, so that a screenshot
# shows only the program's windows on a background they never use.
WESTON_BACKGROUND = (0x12, 0x34, 0x56)
WESTON_INI = """[core]
idle-time=0
[shell]
panel-position=none
background-color=0xff%02x%02x%02x
""" % WESTON_BACKGROUND
SCREEN = (1600, 1000)


def start_weston(runtime, out_dir, name):
    """Starts weston's headless back end drawing into memory (the pixman renderer; the
    default draws nothing), with the debug protocol that weston 10 requires before its
    screenshooter client may read the screen. Returns (process, socket path)."""
    config = os.path.join(runtime, "weston.ini")
    with open(config, "w") as ini:
        ini.write(WESTON_INI)
    socket = "corvane-%d" % os.getpid()
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
    log = open(os.path.join(out_dir, name + "-weston.log"), "w")
    weston = subprocess.Popen(
        ["weston", "--backend=headless-backend.so", "--use-pixman", "--debug",
         "--width=%d" % SCREEN[0], "--height=%d" % SCREEN[1], "--socket=" + socket,
         "--config=" + config], env=env, stdout=log, stderr=subprocess.STDOUT)
    log.close()
    path = os.path.join(runtime, socket)
    try:
        wait_until("weston's socket", lambda: weston.poll() is None and os.path.exists(path)
                   or weston.poll() is not None, 10)
    except HarnessError:
        weston.kill()
        raise
    if weston.poll() is not None:
        raise HarnessError("weston ended at once; see %s-weston.log" % name)
    return weston, path


class Session:
    """One run of the program: its display server, home folder, capture file and process.
    `display` is "x11" (Xvfb, the default) or "wayland" (headless weston)."""

    def __init__(self, corvane, program_dir, out_dir, name, program_args=None, display="x11",
                 program_env=None):
        self.display = display
        self.wayland_socket = None
        self.corvane = corvane
        # How the program simulates the mouse; a scenario may ask for another set-up.
        self.scenario_args = program_args or ["--simulate"]
        self.program_args = self.scenario_args
        # Variables of the program's environment a scenario sets (a Wayland session, say).
        self.program_env = program_env or {}
        self.program_dir = program_dir
        self.out_dir = out_dir
        self.name = name
        self.home = tempfile.mkdtemp(prefix="corvane-gui-")
        self.capture = os.path.join(self.home, "capture.txt")
        self.display_server = None
        self.process = None
        self.app = None
        self.log = os.path.join(out_dir, name + ".log")
        # The simulated mouse keeps its settings across a restart, as a real one does.
        self.sim_state = os.path.join(self.home, "sim-state.txt")
        self.starts = 0

    # ---- life cycle ----------------------------------------------------------------------

    def __enter__(self):
        if self.display == "wayland":
            # The compositor's socket lives in this run's runtime folder; the program gets
            # its full path, since it has a runtime folder of its own.
            self.display_server, self.wayland_socket = start_weston(
                os.environ["XDG_RUNTIME_DIR"], self.out_dir, self.name)
        else:
            self.display_server, display = start_xvfb()
            os.environ["DISPLAY"] = display
        global pyatspi
        import pyatspi  # needs the session bus (and DISPLAY on X11)
        self._start_program()
        return self

    def _program_env(self):
        env = dict(os.environ)
        runtime = os.path.join(self.home, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, "config"),
            "XDG_DATA_HOME": os.path.join(self.home, "data"),
            "XDG_RUNTIME_DIR": runtime,
            "QT_QPA_PLATFORM": "wayland" if self.display == "wayland" else "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
            "LANG": "en_US.UTF-8",
            "LC_ALL": "",
            "LC_MESSAGES": "",
        })
        if self.display == "wayland":
            env["WAYLAND_DISPLAY"] = self.wayland_socket
            env.pop("DISPLAY", None)  # no X11 fallback: the window runs on Wayland or fails
        env.update(self.program_env)
        env.pop("CORVANE_SIMULATE", None)
        env.pop("CORVANE_HID_CAPTURE", None)
        return env

    def _command(self):
        return [self.corvane, "--program-dir", self.program_dir] + self.program_args + [
            "--capture", self.capture, "--sim-state", self.sim_state]

    def start_second_copy(self):
        """Starts the program once more beside the running one, as a person does from the
        menu, and returns its exit code: it should hand over to the running copy and end."""
        with open(self.log, "a") as log:
            return subprocess.run(self._command(), env=self._program_env(), stdout=log,
                                  stderr=subprocess.STDOUT, timeout=20).returncode

    def _start_program(self):
        """Starts the program (a second time after restart) and finds it on the bus."""
        self.starts += 1
        env = self._program_env()
        # Now and then a start never shows up on the bus (seen under a loaded machine, with
        # nothing in the program's output); one more start is allowed, and said.
        for attempt in (1, 2):
            with open(self.log, "a" if attempt > 1 or self.starts > 1 else "w") as log:
                # CORVANE_GUI_WRAP runs the program under a debugger, e.g. "gdb -batch -ex run
                # -ex bt --args".
                wrap = os.environ.get("CORVANE_GUI_WRAP", "").split()
                self.process = subprocess.Popen(wrap + self._command(), env=env, stdout=log,
                                                stderr=subprocess.STDOUT)
            try:
                self.app = wait_until("the program on the accessibility bus", self._find_app,
                                      START_WAIT_S)
                break
            except HarnessError:
                if attempt == 2 or self.process.poll() is not None:
                    raise
                print("note %s: the program did not appear on the bus; starting it again"
                      % self.name, flush=True)
                self.process.kill()
                self.process.wait()
                open(self.capture, "w").close()  # the scenario reads only the second run's traffic
        # Read names and states afresh each time: labels change while the test runs.
        try:
            self.app.set_cache_mask(0)
        except Exception:
            pass

    def restart(self, program_args=None):
        """Ends the program as the desktop would (SIGTERM) and starts it again on the same
        home, database and simulated mouse state. The capture keeps growing. program_args
        replaces the scenario's simulator arguments for this start only."""
        self._stop_program()
        self.program_args = program_args or self.scenario_args
        # The registry may list the ended program for a moment; start once it is gone.
        try:
            wait_until("the ended program to leave the accessibility bus",
                       lambda: not self._listed(), 10)
        except HarnessError:
            pass
        self._start_program()

    def _listed(self):
        desktop = fresh_desktop()
        return any(desktop.getChildAtIndex(i) is not None and
                   desktop.getChildAtIndex(i).name == "corvane"
                   for i in range(desktop.childCount))

    def _stop_program(self):
        if self.process is not None and self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.app = None

    def __exit__(self, kind, value, trace):
        if kind is not None:
            try:
                self.screenshot("failure")
            except (HarnessError, OSError, subprocess.SubprocessError):
                pass  # the failure itself is what gets reported
        self._stop_program()
        if self.display_server is not None:
            self.display_server.terminate()
            self.display_server.wait()
        shutil.rmtree(self.home, ignore_errors=True)
        return False

    def _find_app(self):
        if self.process.poll() is not None:
            raise HarnessError("corvane exited with %s; see %s" % (self.process.returncode,
                                                                   self.log))
        # A first start is found as before; after a restart the list must be read afresh.
        desktop = fresh_desktop() if self.starts > 1 else pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.name == "corvane" and app.childCount > 0:
                return app
        return None

    # ---- finding controls ----------------------------------------------------------------

    def walk(self, root=None):
        """Every accessible object below root (the application by default), depth first."""
        stack = [root or self.app]
        while stack:
            node = stack.pop()
            if node is None:
                continue
            yield node
            try:
                count = node.childCount
            except Exception:
                continue
            for index in reversed(range(count)):
                try:
                    stack.append(node.getChildAtIndex(index))
                except Exception:
                    pass

    def window(self, name):
        """The top-level window or dialog called name, once it is showing."""
        def check():
            for index in range(self.app.childCount):
                frame = self.app.getChildAtIndex(index)
                if frame is not None and frame.name == name and showing(frame):
                    return frame
            return None
        try:
            return wait_until("window %r" % name, check)
        except HarnessError as error:
            seen = []
            for index in range(self.app.childCount):
                frame = self.app.getChildAtIndex(index)
                if frame is not None:
                    seen.append("%s %r%s" % (frame.getRoleName(), frame.name,
                                             "" if showing(frame) else " (hidden)"))
            raise HarnessError("%s; windows: %s" % (error, ", ".join(seen))) from None

    def find(self, role, name, root=None, timeout=WAIT_S, visible=True):
        """The first object with that role name ("push button") and accessible name."""
        def check():
            for node in self.walk(root):
                if node.getRoleName() == role and node.name == name:
                    if not visible or showing(node):
                        return node
            return None
        return wait_until("%s %r" % (role, name), check, timeout)

    def find_all(self, role, root=None):
        return [node for node in self.walk(root) if node.getRoleName() == role]

    # ---- acting --------------------------------------------------------------------------

    def act(self, node, action="Press"):
        """Runs the named action of node (Press, Toggle, ShowMenu, SetFocus, Rename)."""
        actions = node.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        if action not in names:
            raise HarnessError("%s %r has no action %s (it has %s)" %
                               (node.getRoleName(), node.name, action, names))
        actions.doAction(names.index(action))

    def press(self, role, name, root=None):
        self.act(self.find(role, name, root))

    def xdotool(self, *args):
        if self.display == "wayland":
            raise HarnessError("no xdotool on Wayland: drive the window by its actions")
        subprocess.run(["xdotool"] + [str(a) for a in args], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

    def focus_window(self, title):
        """Gives the window called title the keyboard, as a window manager would: without
        one, keys go wherever the input focus was left."""
        self.xdotool("search", "--name", "^%s$" % title, "windowfocus")

    def type_text(self, text):
        """Real key events into the focused window."""
        self.xdotool("type", "--delay", "20", text)

    def key(self, *keys):
        self.xdotool("key", *keys)

    def click_at(self, x, y):
        self.xdotool("mousemove", x, y, "click", 1)

    # ---- evidence ------------------------------------------------------------------------

    def screenshot(self, label):
        path = os.path.join(self.out_dir, "%s-%s.png" % (self.name, label))
        if self.display == "wayland":
            return self._weston_screenshot(path)
        subprocess.run(["import", "-window", "root", path], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=20)
        return path

    def _weston_screenshot(self, path):
        """weston-screenshooter writes wayland-screenshot-<time>.png into its working
        folder; it is run in a folder of its own and the picture moved to path."""
        folder = tempfile.mkdtemp(prefix="shot-", dir=self.home)
        env = dict(os.environ, WAYLAND_DISPLAY=self.wayland_socket)
        done = subprocess.run(["weston-screenshooter"], cwd=folder, env=env, timeout=20,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        shots = glob.glob(os.path.join(folder, "*.png"))
        if done.returncode != 0 or not shots:
            raise HarnessError("weston-screenshooter failed: %s" % done.stderr.strip())
        shutil.move(shots[0], path)
        shutil.rmtree(folder, ignore_errors=True)
        return path

    def capture_lines(self):
        if not os.path.exists(self.capture):
            return []
        with open(self.capture) as capture:
            return [line.split() for line in capture.read().splitlines() if line]

    def out_reports(self):
        """Hex of every report written, in order."""
        return [fields[3] for fields in self.capture_lines() if fields[0] == "OUT"]

    def mark(self):
        """Position in the capture; out_reports_since(mark) lists what came after."""
        return len(self.out_reports())

    def out_reports_since(self, mark):
        return self.out_reports()[mark:]

    def database(self):
        found = glob.glob(os.path.join(self.home, "data", "**", "*_data.db"), recursive=True)
        if not found:
            raise HarnessError("no settings database under %s" % self.home)
        connection = sqlite3.connect("file:%s?mode=ro" % found[0], uri=True, timeout=5)
        connection.row_factory = sqlite3.Row
        return connection


def fresh_desktop():
    """The desktop with its list of programs read again: the client library keeps it from
    the first look and learns of programs started later only from events, which nothing
    here pumps (a restarted program would stay unseen)."""
    from gi.repository import GLib
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass
    desktop = pyatspi.Registry.getDesktop(0)
    try:
        desktop.clear_cache()
    except Exception:
        pass
    return desktop


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def command_of(report_hex):
    """The command byte of an output report (the byte after the report id)."""
    return int(report_hex[2:4], 16)


pyatspi = None
