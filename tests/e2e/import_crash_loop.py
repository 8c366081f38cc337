#!/usr/bin/env python3
"""Crash consistency of the imports: kill -9 corvane-cli while it imports, then look.

Each run starts from the same settings database, starts `profile import FILE` (or
`macro import-all FILE`) against the simulated mouse and kills it with SIGKILL: half of the
runs after a random delay within one whole run, half as soon as the database's rollback
journal appears (the import's write transaction is under way) plus a random 0 to 3 ms.
Afterwards the database is opened (SQLite rolls a hot journal back) and what the import
changes (the active profile's name, buttons and options; the macros and their event counts)
is compared with the state before and after an import that ran to its end:

  old    nothing of the import is stored
  new    all of it is stored
  mixed  anything in between (a renamed profile with old buttons, a macro without events)

Usage: import_crash_loop.py --cli PATH --program-dir DIR [--runs N] [--seed S]
Prints the counts per import and exits 1 when any run is mixed.
"""
import argparse
import os
import random
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

NEW_NAME = "Imported Setup"
MACROS = 12
EVENTS = 40  # per macro


def profile_file(path):
    items = "".join(
        '<item key_code="%d" macro_type="1" macro_value="%d" macro_value2="0" '
        'macro_value3="0" macro_desc="b%d"/>\r\n' % (button, button + 2, button)
        for button in range(1, 6))
    stages = "".join('<DPI%d value="%d" color="%d"/>\r\n' % (i + 1, 400 * (i + 1), 255 + i)
                     for i in range(6))
    mouse = "".join('<%s value="%s"/>\r\n' % pair for pair in [
        ("button_respondtime", "3"), ("report_rate", "8"), ("sensor_flag", "4"),
        ("liftoff_height", "2"), ("scroll_flag", "1"), ("e-sports_flag", "0"),
        ("sleep_light", "12"), ("move_wakeup", "0"), ("move_closelight", "0")])
    text = ('<?xml version="1.0" encoding="UTF-8"?>\r\n<profile>\r\n<profileinfo name="x">\r\n'
            '<keyitems>\r\n' + items + '</keyitems>\r\n'
            '<Mouse_DPI dpi_flag="6" dpi_index="2" dpi_count="5">\r\n' + stages +
            '</Mouse_DPI>\r\n<Mouse>\r\n' + mouse + '</Mouse>\r\n</profileinfo>\r\n</profile>\r\n')
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)


def macros_file(path):
    body = ""
    for m in range(MACROS):
        events = "".join(
            '<item desc="K" index="%d" type="%d" value="65" timestamp="5"/>\r\n'
            % (e, 2 + e % 2) for e in range(EVENTS))
        body += ('<macro_item macro_name="crash%d" macro_type="1" play_times="1" delay_type="1" '
                 'delay_time="0">\r\n<record_item>\r\n%s</record_item>\r\n</macro_item>\r\n'
                 % (m, events))
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\r\n<macro>\r\n' + body + '</macro>\r\n')


def profile_signature(db):
    """What a profile import changes: the active profile's name, buttons and options."""
    con = sqlite3.connect(db)
    try:
        profile, name = con.execute(
            "SELECT profile, name FROM t_profile_data WHERE status = 1").fetchone()
        rows = con.execute("SELECT key_code, macro_type, macro_value FROM t_key_macro_data "
                           "WHERE profile = ? ORDER BY key_code", (profile,)).fetchall()
        config = con.execute("SELECT key, value FROM t_configdata WHERE profile = ? "
                             "ORDER BY config_id", (profile,)).fetchall()
    finally:
        con.close()
    return (name, tuple(rows), tuple(config))


def macro_signature(db):
    """What a macro import changes: the macros and the number of events of each."""
    con = sqlite3.connect(db)
    try:
        return tuple(con.execute(
            "SELECT m.macro_id, m.name, (SELECT count(*) FROM t_macrorecord r "
            "WHERE r.macro_id = m.macro_id) FROM t_macro_data m ORDER BY m.macro_id").fetchall())
    finally:
        con.close()


def classify(signature, old, new):
    if signature == old:
        return "old"
    if signature == new:
        return "new"
    return "mixed"


def run_once(args, env, command, db, pristine, rng, whole_run, by_journal):
    shutil.copyfile(pristine, db)
    journal = db + "-journal"
    if os.path.exists(journal):
        os.remove(journal)
    child = subprocess.Popen([args.cli, "--program-dir", args.program_dir, "--simulate=wired"] +
                             command, env=env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    if by_journal:
        deadline = time.monotonic() + 10
        while not os.path.exists(journal) and child.poll() is None and time.monotonic() < deadline:
            pass
        time.sleep(rng.uniform(0, 0.003))
    else:
        time.sleep(rng.uniform(0, whole_run))
    killed = child.poll() is None
    if killed:
        child.send_signal(signal.SIGKILL)
    child.wait()
    hot = os.path.exists(journal) and os.path.getsize(journal) > 0
    return killed, hot


def loop(args, env, name, command, db, pristine, signature, rng):
    shutil.copyfile(pristine, db)
    old = signature(db)
    start = time.monotonic()
    subprocess.run([args.cli, "--program-dir", args.program_dir, "--simulate=wired"] + command,
                   env=env, check=True, stdout=subprocess.DEVNULL)
    whole_run = time.monotonic() - start
    new = signature(db)
    if new == old:
        print("%s: the import changed nothing; cannot tell old from new" % name)
        return 1
    counts = {"old": 0, "new": 0, "mixed": 0}
    killed = hot = 0
    for i in range(args.runs):
        was_killed, was_hot = run_once(args, env, command, db, pristine, rng, whole_run, i % 2 == 1)
        killed += was_killed
        hot += was_hot
        counts[classify(signature(db), old, new)] += 1
    print("%s: %d runs, %d killed (%d inside a write transaction), old %d, new %d, mixed %d"
          % (name, args.runs, killed, hot, counts["old"], counts["new"], counts["mixed"]))
    return counts["mixed"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--program-dir", required=True)
    parser.add_argument("--runs", type=int, default=200)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    home = tempfile.mkdtemp(prefix="corvane-crash.")
    try:
        env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, "data"),
                   XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_RUNTIME_DIR=os.path.join(home, "run"))
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        profile = os.path.join(home, NEW_NAME + ".xml")
        macros = os.path.join(home, "macros.xml")
        profile_file(profile)
        macros_file(macros)
        subprocess.run([args.cli, "--program-dir", args.program_dir, "--simulate=wired",
                        "profiles"], env=env, check=True, stdout=subprocess.DEVNULL)
        dbs = [os.path.join(root, f) for root, _, files in os.walk(env["XDG_DATA_HOME"])
               for f in files if f.endswith(".db")]
        if len(dbs) != 1:
            print("expected one database, found %r" % dbs)
            return 1
        db = dbs[0]
        pristine = os.path.join(home, "pristine.db")
        shutil.copyfile(db, pristine)
        mixed = loop(args, env, "profile import", ["profile", "import", profile], db, pristine,
                     profile_signature, rng)
        mixed += loop(args, env, "macro import-all", ["macro", "import-all", macros], db,
                      pristine, macro_signature, rng)
        return 1 if mixed else 0
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
