"""Steps and checks shared by the GUI scenarios: opening the mouse, reading the store,
reading the capture. Each page's scenarios live in a scenarios_<page>.py file beside this
one, with a SCENARIOS table that gui_scenarios.py picks up.
"""
import os
import time

import gui_harness
from gui_harness import command_of, showing, wait_until

MAIN_TITLE = "Corvane"
INTERACTIVE_ROLES = {"push button", "toggle button", "check box", "radio button", "combo box",
                     "list item", "page tab", "slider", "text", "password text", "entry",
                     "spin button", "menu item"}
# What choosing a profile sends after the button table and the lighting: DPI stages,
# report rate, sensor options, power options and the active profile.
PROFILE_TAIL = [0x03, 0x04, 0x02, 0x06, 0x07]
RESTORE_COMMAND = 0x0F
QUIET_S = 2.0


def open_device(session):
    """Opens the simulated mouse from the home page's device list; returns its name."""
    main = session.window(MAIN_TITLE)
    card = wait_until("a device card", lambda: next(
        (n for n in session.walk(main) if n.getRoleName() == "list item" and showing(n)), None))
    name = card.name
    session.act(card)
    session.find("page tab", "Buttons", main)
    return name


def active_profile(session):
    with session.database() as db:
        rows = db.execute("SELECT profile, name FROM t_profile_data WHERE status = 1").fetchall()
    return [(row["profile"], row["name"]) for row in rows]


def profile_names(session):
    with session.database() as db:
        return {row["profile"]: row["name"]
                for row in db.execute("SELECT profile, name FROM t_profile_data")}


def commands_after(session, mark):
    return [command_of(report) for report in session.out_reports_since(mark)]


def quiet(session):
    """True once nothing was written for a while."""
    before = session.mark()
    time.sleep(0.5)
    return session.mark() == before


def unnamed(session, root):
    """Showing objects below root without a real role or a name."""
    return ["%s %r" % (n.getRoleName(), n.name) for n in session.walk(root)
            if n != root and showing(n)
            and (n.getRoleName() in ("filler", "unknown", "client") or not n.name)]


def centre(node):
    box = node.queryComponent().getExtents(0)
    return box.x + box.width // 2, box.y + box.height // 2


# The active profile's stored value of configuration key `key`; None when it has none.
def stored(session, key):
    with session.database() as db:
        row = db.execute("SELECT c.value FROM t_configdata c JOIN t_profile_data p "
                         "ON c.profile = p.profile WHERE p.status = 1 AND c.key = ?",
                         (key,)).fetchone()
    return row[0] if row else None


def swatch(session, root, code):
    """The colour swatch below root whose colour is `code` ("#RRGGBB"): a reader hears the
    colour's word as its name and the code as its description."""
    return wait_until("the swatch %s" % code, lambda: next(
        (n for n in session.walk(root) if n.getRoleName() == "radio button" and showing(n)
         and n.description == code), None))


def language_texts(program_dir, lcid):
    """The texts of one shipped language file: {id: text}."""
    with open(os.path.join(program_dir, "language", "%d.lan" % lcid), "rb") as raw:
        data = raw.read()
    text = data.decode("utf-16") if data.startswith(b"\xff\xfe") else data.decode("utf-8")
    texts = {}
    for line in text.splitlines():
        key, sep, value = line.partition("=")
        if sep and key.strip().isdigit():
            texts[int(key)] = value
    return texts


def chosen_items(combo):
    """The names of a combo box's chosen children (one, or none without a choice)."""
    children = [combo.getChildAtIndex(i) for i in range(combo.childCount)]
    return [c.name for c in children
            if c.getState().contains(gui_harness.pyatspi.STATE_SELECTED)]


def expect_chosen(combo, item):
    """A combo box, named by its caption, reads `item` as its value and chosen child."""
    wait_until("%r to show %r" % (combo.name, item), lambda: chosen_items(combo) == [item])
