#!/usr/bin/env bash
# Installs the Debian packages Tiderune needs to build, test and run, when missing.
# The one list of packages; used by scripts/demo.sh, scripts/test.sh and CI.
set -euo pipefail
PACKAGES=(g++ clang cmake ninja-build ccache libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-serialport-dev libgl-dev fonts-dejavu-core xvfb xauth)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
