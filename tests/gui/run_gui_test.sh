#!/usr/bin/env bash
# Runs one GUI scenario against the real window program, in a private D-Bus session that
# starts the accessibility bus on demand.
# usage: run_gui_test.sh CORVANE PROGRAM_DIR OUT_DIR SCENARIO [x11|wayland]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# Debian's pyatspi lives in the system interpreter only; another python may come first.
python=/usr/bin/python3
tools=(Xvfb dbus-run-session xdotool import)
if [ "${5:-x11}" = wayland ]; then
  # A headless compositor and its screenshooter; ImageMagick reads the pictures.
  tools=(weston weston-screenshooter dbus-run-session convert)
  if ! ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1; then
    echo "run_gui_test: Qt's Wayland plugin (qt6-wayland) is missing; run scripts/install-deps" >&2
    exit 1
  fi
fi
for tool in "${tools[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "run_gui_test: $tool is missing; run scripts/install-deps" >&2
    exit 1
  fi
done
if ! "$python" -c 'import pyatspi' 2>/dev/null; then
  echo "run_gui_test: python3-pyatspi is missing; run scripts/install-deps" >&2
  exit 1
fi
# The tests set their own platform per process; the offscreen default of scripts/test
# would hide the window from the accessibility bus.
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
# A runtime folder of this run's own: without one the accessibility bus socket lands in
# ~/.cache/at-spi/bus, which scenarios running side by side would take from each other.
runtime="$(mktemp -d "${TMPDIR:-/tmp}/corvane-gui-runtime.XXXXXX")"
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime"
timeout 120 dbus-run-session -- "$python" "$here/gui_scenarios.py" "$@"
