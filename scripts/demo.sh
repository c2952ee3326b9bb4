#!/usr/bin/env bash
# Installs what is missing, builds Tiderune and starts it on the bundled demo recording.
# Without a display (a server, CI) the program runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build
if [ -x build/src/app/tiderune ]; then
  export TIDERUNE_HOME="${TIDERUNE_HOME:-$PWD/build/demo-home}"
  mkdir -p "$TIDERUNE_HOME"
  # The demo setup points the primary system at the bundled recording.
  sed "s#@EXAMPLES@#$PWD/examples#g" examples/Tiderune.ini.in > "$TIDERUNE_HOME/Tiderune.ini"
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a build/src/app/tiderune "$@"
  fi
  exec build/src/app/tiderune "$@"
fi
# Until the main window exists: replay the demo recording through the analysis core.
exec build/tools/replay/tiderune-replay examples/demo.nmea
