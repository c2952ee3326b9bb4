#!/usr/bin/env bash
# The replay tool and gpsd's gpsdecode side by side on one AIS-only recording, both decoding
# every message and writing their text to /dev/null: best of five runs each, and the ratio.
# gpsdecode checks every checksum, so the replay tool runs with --checksum as well.
#
#   bench/ais/replay_vs_gpsdecode.sh SOURCE [LINES] [BUILD_DIR]
#
# SOURCE is a recording, or a folder whose files are searched for VDM/VDO lines; those lines
# are repeated up to LINES lines (default 500,000) into a temporary file that is removed
# afterwards. BUILD_DIR defaults to build/. gpsdecode (Debian package gpsd-clients) is needed
# for the comparison only: without it the replay tool's figure is printed alone.
set -euo pipefail
cd "$(dirname "$0")/../.."
source=${1:?usage: $0 SOURCE [LINES] [BUILD_DIR]}
lines=${2:-500000}
build=${3:-build}
replay=$build/tools/replay/tiderune-replay
[ -x "$replay" ] || { echo "no $replay: build first (scripts/build.sh $build)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Whole, well-formed VDM/VDO sentences only (seven fields and a checksum), line ends dropped.
if [ -d "$source" ]; then
  find "$source" -type f -print0 | sort -z | xargs -0 cat
else
  cat "$source"
fi | tr -d '\r' | grep -a -E '^!..VD[MO],[^,]*,[^,]*,[^,]*,[^,]*,[^,]*,[^,*]*\*[0-9A-Fa-f]{2}$' > "$work/pool" || true
[ -s "$work/pool" ] || { echo "no VDM/VDO sentences in $source"; exit 1; }
: > "$work/ais.nmea"
while [ "$(wc -l < "$work/ais.nmea")" -lt "$lines" ]; do cat "$work/pool" >> "$work/ais.nmea"; done
head -n "$lines" "$work/ais.nmea" | sed 's/$/\r/' > "$work/file.nmea"
echo "AIS-only recording: $lines lines from $(wc -l < "$work/pool") distinct sentences, $(stat -c %s "$work/file.nmea") bytes"

calc() { awk "BEGIN { printf \"%.3f\", $1 }"; }

# Best wall-clock time of five runs of "$@", in seconds (the best is the least disturbed by
# whatever else the machine is doing).
best() {
  local best_s=9999 start end
  for _ in 1 2 3 4 5; do
    start=$(date +%s.%N)
    "$@" > /dev/null 2>&1
    end=$(date +%s.%N)
    best_s=$(calc "($end - $start) < $best_s ? $end - $start : $best_s")
  done
  echo "$best_s"
}

t_replay=$(best "$replay" --checksum "$work/file.nmea")
echo "tiderune-replay --checksum  $t_replay s  $(calc "$lines / $t_replay / 1000") k lines/s"
if command -v gpsdecode > /dev/null; then
  t_gpsd=$(best sh -c "gpsdecode < '$work/file.nmea'")
  echo "gpsdecode        $t_gpsd s  $(calc "$lines / $t_gpsd / 1000") k lines/s"
  echo "the replay tool is $(calc "$t_gpsd / $t_replay") x as fast as gpsdecode"
else
  echo "gpsdecode not installed (Debian: gpsd-clients): no comparison"
fi
