#!/usr/bin/env bash
# Installs what is missing, builds Sondix and starts it.
#   ./run.sh              the simulated sensor on a pseudo-terminal, and Sondix connected to it
#   ./run.sh /dev/ttyUSB0 Sondix on a real sensor at that device
# Further arguments go to Sondix: "--log FILE" records the whole session into FILE (appending),
# a single access code offers the Calibrate button.
#   ./run.sh --log session.log
set -euo pipefail
# Sondix runs in the caller's folder, so a relative log path means what the caller meant.
root=$(cd "$(dirname "$0")" && pwd)
(cd "$root" && bash scripts/install-deps.sh &&
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
  cmake --build build --target sondix sondix-sim sondix-cli -j"$(nproc)")

if [ $# -ge 1 ] && [[ "$1" == /* ]]; then
  device=$1; shift
  SONDIX_PORT=$device exec "$root/build/sondix" "$@"
fi

# No device given: the embedded simulated sensor at the speed of a real line.
dir=$(mktemp -d)
"$root/build/sondix-sim" --baud 9600 --link "$dir/sensor" >/dev/null &
sim=$!
trap 'kill $sim 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 100); do [ -e "$dir/sensor" ] && break; sleep 0.05; done
device=$(readlink "$dir/sensor")
echo "Simulated sensor on $device"
SONDIX_PORT=$device "$root/build/sondix" "$@"
