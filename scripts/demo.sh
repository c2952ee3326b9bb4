#!/usr/bin/env bash
# Installs what is missing, builds Tiderune and starts it on the bundled demo recording.
# Without a display (a server, CI) the program runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build
# The demo keeps its own program folder, so it never touches a real setup.
export TIDERUNE_HOME="${TIDERUNE_HOME:-$PWD/build/demo-home}"
mkdir -p "$TIDERUNE_HOME"
# The demo setup puts the program in OFFLINE mode on the bundled recording.
# TIDERUNE_DEMO=nav: the second demo, the bridge's navigation lines.
setup=examples/Tiderune.ini.in
[ "${TIDERUNE_DEMO:-}" = nav ] && setup=examples/Tiderune-nav.ini.in
sed "s#@EXAMPLES@#$PWD/examples#g" "$setup" > "$TIDERUNE_HOME/Tiderune.ini"
# A first start (no settings file yet) gets the demo's window placements: the main window
# maximised, the windows the demo opens side by side, none behind another.
settings="${XDG_CONFIG_HOME:-$HOME/.config}/Kestrelle/Tiderune.ini"
if [ ! -e "$settings" ]; then
  mkdir -p "$(dirname "$settings")"
  cp examples/demo-settings.ini "$settings"
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under Xvfb (stop with Ctrl+C)."
  exec xvfb-run -a build/src/app/tiderune "$@"
fi
exec build/src/app/tiderune "$@"
