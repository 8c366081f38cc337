"""Profiles that follow the focused application, in the window: an application linked in
the chooser's "Link to applications…" dialog, then the desktop script's reports over the
bus (as on Wayland) switch to its profile and back to the one chosen by hand, each switch
sending what choosing the profile sends."""
import time

import gui_harness
from gui_harness import HarnessError, wait_until
from gui_steps import MAIN_TITLE, active_profile, open_device, quiet
from scenarios_desktop import call, cli, expect_same_bytes, wait_for_bus
from scenarios_macro import set_field

SCRIPT_SOURCE = "the desktop script (KWin or GNOME Shell)"
FOLLOW_OFF = "off: no profile is linked to an application"
FOLLOW_TEXTS = {SCRIPT_SOURCE, FOLLOW_OFF, "running programs (fallback)", "the active window (X11)"}


def linked_apps(session, profile):
    with session.database() as db:
        row = db.execute("SELECT app FROM t_profile_data WHERE profile = ?", (profile,)).fetchone()
    return row["app"] if row else None


def choose_profile(session, main, current, wanted):
    session.press("push button", current, main)
    session.press("list item", wanted, session.window("Profiles"))


def scenario_follow_link(session):
    open_device(session)
    wait_for_bus()
    main = session.window(MAIN_TITLE)
    wait_until("the start-up traffic to settle", lambda: quiet(session))

    session.press("push button", "Profile 1", main)
    session.press("push button", "Link to applications…", session.window("Profiles"))
    dialog = session.window("Profile 1 — Link to applications…")
    session.screenshot("link-dialog")
    # Enter in the field links, as the button beside it does.
    set_field(session, session.find("text", "Application name", dialog), "SuperGame")
    wait_until("the link stored", lambda: linked_apps(session, 1) == "supergame")
    # In the list the reader calls by its heading, not by its picture.
    session.find("list item", "supergame", session.find("list", "Linked applications", dialog))
    session.press("push button", "Close", dialog)
    wait_until("the dialog to close",
               lambda: not dialog.getState().contains(gui_harness.pyatspi.STATE_SHOWING))

    # Profile 2 chosen by hand is the one to come back to.
    choose_profile(session, main, "Profile 1", "Profile 2")
    wait_until("profile 2 active", lambda: [p for p, _ in active_profile(session)] == [2])
    wait_until("its upload to settle", lambda: quiet(session))

    mark = session.mark()
    call("ReportActiveApplication", "SuperGame")
    wait_until("the linked profile active", lambda: [p for p, _ in active_profile(session)] == [1])
    wait_until("its upload to settle", lambda: quiet(session))
    expect_same_bytes(session, mark, 5, "following to the linked profile")

    mark = session.mark()
    call("ReportActiveApplication", "org.example.Other")
    wait_until("the profile chosen by hand back", lambda: [p for p, _ in active_profile(session)]
               == [2])
    wait_until("its upload to settle", lambda: quiet(session))
    expect_same_bytes(session, mark, 5, "following back to the default")
    session.find("push button", "Profile 2", main)

    session.press("push button", "Settings", main)
    session.find("label", SCRIPT_SOURCE, main)
    if linked_apps(session, 2) != "":
        raise HarnessError("profile 2 got links: %r" % linked_apps(session, 2))


def follow_label(session, main):
    """Which of the settings page's follow texts shows."""
    return next((n.name for n in session.walk(main) if n.name in FOLLOW_TEXTS), None)


def scenario_follow_cli_link(session):
    """A link made with corvane-cli while the window runs is followed at once, and one
    removed there is no longer followed, without a restart."""
    open_device(session)
    wait_for_bus()
    main = session.window(MAIN_TITLE)
    wait_until("the start-up traffic to settle", lambda: quiet(session))
    session.press("push button", "Settings", main)
    wait_until("following off", lambda: follow_label(session, main) == FOLLOW_OFF)
    cli(session, "profile", "link", "3", "SuperGame")
    wait_until("the window following the new link",
               lambda: follow_label(session, main) not in (None, FOLLOW_OFF))
    call("ReportActiveApplication", "SuperGame")
    wait_until("the linked profile active", lambda: [p for p, _ in active_profile(session)] == [3])
    call("ReportActiveApplication", "org.example.Other")
    wait_until("profile 1 back", lambda: [p for p, _ in active_profile(session)] == [1])
    wait_until("its upload to settle", lambda: quiet(session))
    cli(session, "profile", "unlink", "3", "SuperGame")
    wait_until("following off again", lambda: follow_label(session, main) == FOLLOW_OFF)
    call("ReportActiveApplication", "SuperGame")
    time.sleep(1)
    if [p for p, _ in active_profile(session)] != [1]:
        raise HarnessError("an unlinked application still switched the profile")


# A Wayland session: the window takes the desktop script's reports.
scenario_follow_link.program_env = {"XDG_SESSION_TYPE": "wayland"}
scenario_follow_cli_link.program_env = {"XDG_SESSION_TYPE": "wayland"}

SCENARIOS = {
    "follow_link": scenario_follow_link,
    "follow_cli_link": scenario_follow_cli_link,
}
