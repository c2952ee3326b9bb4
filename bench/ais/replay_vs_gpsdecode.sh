#!/usr/bin/env bash
# The replay tool and gpsd's gpsdecode side by side on one AIS-only recording, both decoding
# every message and writing their text to /dev/null: five alternating rounds, the minimum and
# median time of each, and the ratio best against best and per round.
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
# Wall-clock seconds of one run of "$@", output thrown away.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" > /dev/null 2>&1
  end=$(date +%s.%N)
  calc "$end - $start"
}
# "min median" of the numbers given.
minmed() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.3f %.3f", v[1], (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Five rounds, each running the replay tool and then gpsdecode, so that both see the same
# moments of whatever else the machine is doing; each round's ratio is taken within it.
rounds=5
have_gpsd=$(command -v gpsdecode > /dev/null && echo 1 || echo 0)
t_replay=() t_gpsd=() ratios=()
for _ in $(seq "$rounds"); do
  r=$(seconds "$replay" --checksum "$work/file.nmea")
  t_replay+=("$r")
  if [ "$have_gpsd" = 1 ]; then
    g=$(seconds sh -c "gpsdecode < '$work/file.nmea'")
    t_gpsd+=("$g")
    ratios+=("$(calc "$g / $r")")
  fi
done
read -r r_min r_med <<< "$(minmed "${t_replay[@]}")"
echo "tiderune-replay --checksum  min $r_min s  median $r_med s  $(calc "$lines / $r_min / 1000") k lines/s at best"
if [ "$have_gpsd" = 1 ]; then
  read -r g_min g_med <<< "$(minmed "${t_gpsd[@]}")"
  read -r q_min q_med <<< "$(minmed "${ratios[@]}")"
  echo "gpsdecode                   min $g_min s  median $g_med s  $(calc "$lines / $g_min / 1000") k lines/s at best"
  echo "the replay tool is $(calc "$g_min / $r_min") x as fast as gpsdecode (best against best);" \
       "per round min $q_min x, median $q_med x"
else
  echo "gpsdecode not installed (Debian: gpsd-clients): no comparison"
fi
