#!/usr/bin/env python3
"""Corvane installed as a Linux program: `cmake --install` into a throw-away DESTDIR, the
Debian package of scripts/package, and the shipped desktop, software-centre and manual files.

    install_test.py --build DIR --source DIR [unittest arguments, e.g. InstallTreeTest]

The installed programs are run from the throw-away tree with a private home, so they can
only find what the install put there.
"""
import argparse
import glob
import gzip
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

BUILD = SOURCE = ""

# Every file the install and the package must hold, relative to the prefix /usr.
EXPECTED_FILES = [
    "bin/corvane",
    "bin/corvane-cli",
    "share/corvane/config.xml",
    "share/corvane/device/kestrel_pro.xml",
    "share/corvane/device/wren.xml",
    "share/corvane/language/1033.lan",
    "share/corvane/language/2052.lan",
    "share/corvane/skins/dark/DeviceDriver.ico",
    "share/corvane/skins/dark/main_bkg.png",
    "lib/udev/rules.d/70-corvane.rules",
    "share/applications/corvane.desktop",
    "share/metainfo/example.corvane.Corvane.metainfo.xml",
    "share/dbus-1/interfaces/example.corvane.Corvane1.xml",
    "share/icons/hicolor/scalable/apps/corvane.svg",
    "share/man/man1/corvane.1.gz",
    "share/man/man1/corvane-cli.1.gz",
    "share/bash-completion/completions/corvane-cli",
    "share/kwin/scripts/corvane-focus/metadata.json",
    "share/kwin/scripts/corvane-focus/contents/code/main.js",
    "share/gnome-shell/extensions/corvane-focus@example.corvane/metadata.json",
    "share/gnome-shell/extensions/corvane-focus@example.corvane/extension.js",
] + [f"share/icons/hicolor/{n}x{n}/apps/corvane.png" for n in (16, 24, 32, 48, 64, 128, 256)]


def run(args, env=None, timeout=120, check=False, **kwargs):
    result = subprocess.run(args, env=env, timeout=timeout, capture_output=True, text=True, **kwargs)
    if check and result.returncode != 0:
        raise AssertionError(f"{' '.join(map(str, args))} failed ({result.returncode}):\n"
                             f"{result.stdout}\n{result.stderr}")
    return result


def read_text(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def private_env(folder):
    """A home of its own, an offscreen display and a runtime folder Qt accepts."""
    env = dict(os.environ)
    home = os.path.join(folder, "home")
    runtime = os.path.join(folder, "runtime")
    os.makedirs(home, exist_ok=True)
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, ".local", "share"), XDG_RUNTIME_DIR=runtime,
               QT_QPA_PLATFORM="offscreen")
    for name in ("CORVANE_SIMULATE", "CORVANE_HID_CAPTURE"):
        env.pop(name, None)
    return env


def software_version():
    with open(os.path.join(SOURCE, "data", "config.xml"), encoding="utf-8") as f:
        return re.search(r'<software[^>]* version="([^"]+)"', f.read()).group(1)


def catalogue_ids():
    with open(os.path.join(SOURCE, "data", "config.xml"), encoding="utf-8") as f:
        text = f.read()
    return {(int(v, 16), int(p, 16)) for v, p in re.findall(r'vid="(0x[0-9A-Fa-f]+)" pid="(0x[0-9A-Fa-f]+)"', text)}


def check_devices_json(test, result):
    test.assertEqual(result.returncode, 0, result.stderr)
    devices = json.loads(result.stdout)
    test.assertEqual(devices["caption"], "Corvane")
    test.assertEqual(devices["software"]["version"], software_version())
    test.assertTrue(devices["entries"], "the simulated mouse was not found")


class InstallTreeTest(unittest.TestCase):
    """`cmake --install` into DESTDIR, then the installed programs and files."""

    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.mkdtemp(prefix="corvane-install-")
        cls.root = os.path.join(cls.temp, "root")
        env = dict(os.environ, DESTDIR=cls.root)
        run(["cmake", "--install", BUILD, "--prefix", "/usr"], env=env, check=True)
        cls.usr = os.path.join(cls.root, "usr")
        cls.env = private_env(cls.temp)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.temp, ignore_errors=True)

    def path(self, relative):
        return os.path.join(self.usr, relative)

    def test_every_file_is_installed(self):
        for relative in EXPECTED_FILES:
            self.assertTrue(os.path.isfile(self.path(relative)), relative)
        for program in ("bin/corvane", "bin/corvane-cli"):
            self.assertTrue(os.access(self.path(program), os.X_OK), program)
        # The program folder holds the data only, not the build's or the desktop's files.
        self.assertEqual(sorted(os.listdir(self.path("share/corvane"))),
                         ["config.xml", "device", "language", "skins"])

    def test_cli_reads_the_installed_program_folder_only(self):
        cli = self.path("bin/corvane-cli")
        check_devices_json(self, run([cli, "--simulate", "devices", "--json"], env=self.env))
        # Without share/corvane it must fail, naming where it looked: nothing else is used.
        folder = self.path("share/corvane")
        os.rename(folder, folder + ".away")
        try:
            result = run([cli, "--simulate", "devices", "--json"], env=self.env)
        finally:
            os.rename(folder + ".away", folder)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn(os.path.join(folder, "config.xml"), result.stderr)

    def test_window_starts_from_the_installed_tree(self):
        result = run([self.path("bin/corvane"), "--simulate", "--benchmark-startup"],
                     env=self.env, timeout=240)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertRegex(result.stdout, r"startup runs=5 median: launch-to-first-paint \d+ ms")

    def test_help_and_manual_pages_list_the_same_options_and_commands(self):
        for program in ("corvane", "corvane-cli"):
            result = run([self.path("bin/" + program), "--help"], env=self.env)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertTrue(result.stdout.startswith(f"usage: {program} "), result.stdout)
            # Entries of the help: "  --option ..." and "  command ..." lines.
            entries = re.findall(r"^  (\S+(?: [a-z][a-z-]*)?)", result.stdout, re.M)
            self.assertGreater(len(entries), 5)
            with gzip.open(self.path(f"share/man/man1/{program}.1.gz"), "rt") as f:
                source = f.read()
            rendered = run(["groff", "-man", "-Tutf8", "-ww", "-P-cbou"], input=source, check=True)
            self.assertEqual(rendered.stderr, "", f"{program}.1 has roff warnings")
            page = rendered.stdout.replace("\u2010", "-")
            for entry in entries:
                self.assertRegex(page, r"(?m)^ {7}" + re.escape(entry) + r"(?=\s)", f"{program}.1")
        usage = run([self.path("bin/corvane-cli")], env=self.env)
        self.assertEqual(usage.returncode, 2)
        self.assertIn("commands:", usage.stderr)

    def test_desktop_entry_is_valid_and_names_installed_files(self):
        entry = self.path("share/applications/corvane.desktop")
        result = run(["desktop-file-validate", entry])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        with open(entry, encoding="utf-8") as f:
            keys = dict(line.split("=", 1) for line in f.read().splitlines() if "=" in line)
        self.assertTrue(os.path.isfile(self.path("bin/" + keys["Exec"].split()[0])))
        self.assertTrue(os.path.isfile(self.path(f"share/icons/hicolor/scalable/apps/{keys['Icon']}.svg")))

    def test_metainfo_is_valid_and_matches_the_catalogue(self):
        metainfo = self.path("share/metainfo/example.corvane.Corvane.metainfo.xml")
        result = run(["appstreamcli", "validate", "--no-net", metainfo])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        with open(metainfo, encoding="utf-8") as f:
            text = f.read()
        launchable = re.search(r'<launchable type="desktop-id">([^<]+)<', text).group(1)
        self.assertTrue(os.path.isfile(self.path("share/applications/" + launchable)))
        self.assertIn(f'<release version="{software_version()}"', text)
        # Software centres offer the program for exactly the catalogued USB ids.
        aliases = {(int(v, 16), int(p, 16)) for v, p in re.findall(r"usb:v([0-9A-F]{4})p([0-9A-F]{4})d\*", text)}
        self.assertEqual(aliases, catalogue_ids())

    def test_bash_completion_offers_commands_options_and_files(self):
        script = self.path("share/bash-completion/completions/corvane-cli")

        def complete(*words):
            line = " ".join(f"'{w}'" for w in words)
            result = run(["bash", "-c", f'source "$0"; COMP_WORDS=({line}); '
                          f'COMP_CWORD={len(words) - 1}; _corvane_cli; echo "${{COMPREPLY[*]}}"', script],
                         cwd=self.usr, check=True)
            return result.stdout.split()
        self.assertEqual(sorted(complete("corvane-cli", "--json", "prof")), ["profile", "profiles"])
        self.assertEqual(complete("corvane-cli", "profile", "ren"), ["rename"])
        self.assertEqual(complete("corvane-cli", "--simulate", "=", "wire"), ["wired", "wireless"])
        self.assertIn("--program-dir", complete("corvane-cli", "--pro"))
        self.assertEqual(complete("corvane-cli", "--capture", "bi"), ["bin"])
        self.assertEqual(complete("corvane-cli", "macro", "import", "bi"), ["bin"])


class ShippedSourcesTest(unittest.TestCase):
    """The sources the install is made from: usage entries and launcher icons."""

    def test_usage_entries_match_what_the_programs_accept(self):
        result = run([sys.executable, os.path.join(SOURCE, "scripts", "make-manual"), "--check"])
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_launcher_icons_are_the_generated_ones(self):
        with tempfile.TemporaryDirectory() as out:
            run([sys.executable, os.path.join(SOURCE, "scripts", "make-skins"), "--icons-only",
                 "--icons", out], check=True, timeout=300)
            shipped = os.path.join(SOURCE, "data", "icons")
            made = sorted(os.path.relpath(p, out) for p in glob.glob(out + "/**/*.*", recursive=True))
            self.assertEqual(made, sorted(os.path.relpath(p, shipped)
                                          for p in glob.glob(shipped + "/**/*.*", recursive=True)))
            for relative in made:
                with open(os.path.join(out, relative), "rb") as a, open(os.path.join(shipped, relative), "rb") as b:
                    self.assertTrue(a.read() == b.read(), f"{relative} differs from scripts/make-skins")


class PackageTest(unittest.TestCase):
    """scripts/package on the build tree as it is, and the .deb it makes."""

    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.mkdtemp(prefix="corvane-package-")
        env = dict(os.environ, CORVANE_BUILD_DIR=BUILD)
        result = run([os.path.join(SOURCE, "scripts", "package"), "--no-build", "--out", cls.temp],
                     env=env, timeout=600, check=True)
        cls.deb = result.stdout.strip().splitlines()[-1]
        cls.fields = {}
        for name in ("Package", "Version", "Architecture", "Depends", "Recommends"):
            cls.fields[name] = run(["dpkg-deb", "-f", cls.deb, name], check=True).stdout.strip()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.temp, ignore_errors=True)

    def test_package_is_named_and_versioned_as_the_software(self):
        self.assertEqual(self.fields["Package"], "corvane")
        self.assertEqual(self.fields["Version"], software_version())
        arch = run(["dpkg", "--print-architecture"], check=True).stdout.strip()
        self.assertEqual(self.fields["Architecture"], arch)
        self.assertEqual(os.path.basename(self.deb), f"corvane_{software_version()}_{arch}.deb")

    def test_package_holds_every_installed_file_under_usr(self):
        listing = run(["dpkg-deb", "-c", self.deb], check=True).stdout
        paths = {line.split()[-1] for line in listing.splitlines()}
        for relative in EXPECTED_FILES:
            self.assertIn("./usr/" + relative, paths)
        self.assertTrue(all(p.startswith("./usr/") or p in ("./", "./usr/") for p in paths), paths)

    def test_depends_on_the_package_of_every_linked_library(self):
        depends = {d.split()[0] for d in re.split(r"[,|]", self.fields["Depends"])}
        self.assertIn("libqt6gui6", depends)  # holds the X11 platform plugin as well
        for program in ("src/ui/corvane", "src/cli/corvane-cli"):
            binary = os.path.join(BUILD, program)
            for package in linked_packages(binary):
                self.assertIn(package, depends, f"{program} links a library of {package}")

    def test_recommends_the_wayland_platform_plugin(self):
        # Without it Qt falls back to XWayland on a Wayland desktop, or fails to start.
        recommends = {r.split()[0] for r in re.split(r"[,|]", self.fields["Recommends"])}
        self.assertIn("qt6-wayland", recommends)

    def test_postinst_reloads_udev_only_where_udev_runs(self):
        with tempfile.TemporaryDirectory() as folder:
            run(["dpkg-deb", "-e", self.deb, folder], check=True)
            postinst = os.path.join(folder, "postinst")
            self.assertTrue(os.access(postinst, os.X_OK))
            fake_bin = os.path.join(folder, "bin")
            os.mkdir(fake_bin)
            calls = os.path.join(folder, "calls")
            with open(os.path.join(fake_bin, "udevadm"), "w") as f:
                f.write(f'#!/bin/sh\necho "$@" >> "{calls}"\n')
            os.chmod(os.path.join(fake_bin, "udevadm"), 0o755)
            env = dict(os.environ, PATH=fake_bin + ":" + os.environ["PATH"])
            env.pop("DPKG_ROOT", None)
            self.assertEqual(run([postinst, "configure", ""], env=env).returncode, 0)
            recorded = read_text(calls) if os.path.exists(calls) else ""
            if os.path.isdir("/run/udev"):
                self.assertIn("control --reload-rules", recorded)
                self.assertIn("trigger --subsystem-match=hidraw", recorded)
            else:
                self.assertEqual(recorded, "")
            # Installing into another root must leave this machine's udev alone.
            open(calls, "w").close()
            env["DPKG_ROOT"] = "/some/root"
            self.assertEqual(run([postinst, "configure", ""], env=env).returncode, 0)
            self.assertEqual(read_text(calls), "")

    def test_packaged_programs_run_from_the_unpacked_tree(self):
        with tempfile.TemporaryDirectory() as folder:
            root = os.path.join(folder, "root")
            run(["dpkg-deb", "-x", self.deb, root], check=True)
            cli = os.path.join(root, "usr", "bin", "corvane-cli")
            check_devices_json(self, run([cli, "--simulate", "devices", "--json"], env=private_env(folder)))


class WindowSystemTest(unittest.TestCase):
    """The window program reaches the window system through Qt's platform plugins, so that
    the same binary runs on X11 and on Wayland: key capture and pop-ups take what Qt gives
    (key events with their scan codes, window-relative places), never an X11 call. The one
    exception is xcb for the X11 focus source of profiles that follow the application in
    front, which connects only in an X11 session."""

    def test_window_program_links_no_window_system_library(self):
        binary = os.path.join(BUILD, "src/ui/corvane")
        dump = run(["objdump", "-p", binary], check=True).stdout
        needed = re.findall(r"^\s*NEEDED\s+(\S+)", dump, re.M)
        self.assertIn("libQt6Gui.so.6", needed)
        direct = [n for n in needed if re.match(r"lib(X11|Xext|Xi|xcb|xkbcommon|wayland)", n)
                  and n != "libxcb.so.1"]
        self.assertEqual(direct, [])


def linked_packages(binary):
    """The Debian packages that hold the shared libraries `binary` links directly."""
    needed = set(re.findall(r"^\s*NEEDED\s+(\S+)", run(["objdump", "-p", binary], check=True).stdout, re.M))
    packages = set()
    for line in run(["ldd", binary], check=True).stdout.splitlines():
        match = re.match(r"\s*(\S+) => (/\S+)", line)
        if not match or match.group(1) not in needed:
            continue
        path = match.group(2)
        candidates = [path, os.path.realpath(path)]
        candidates += [c[4:] if c.startswith("/usr/") else "/usr" + c for c in list(candidates)]
        for candidate in candidates:
            owner = run(["dpkg", "-S", candidate])
            if owner.returncode == 0:
                packages.add(owner.stdout.split(":")[0])
                break
        else:
            raise AssertionError(f"no package holds {path}")
    return packages


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    args, rest = parser.parse_known_args()
    BUILD, SOURCE = os.path.abspath(args.build), os.path.abspath(args.source)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
