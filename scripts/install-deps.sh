#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, run and test Sondix.
# Idempotent and quiet when everything is already there. Needs root (or sudo).
# With package names as arguments it installs those instead (scripts/fuzz.sh uses that).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev
  libxlsxwriter-dev nlohmann-json3-dev libzip-dev
  libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fontconfig fonts-dejavu-core
)
[ $# -gt 0 ] && packages=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root to install: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
