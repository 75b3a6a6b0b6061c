#!/usr/bin/env bash
# The screenshot tour: runs Sondix against the simulated sensor under Xvfb, presses every
# button, opens every window, dialog and fault box and writes a PNG of each, at 1366 x 768 and
# again at 150 % scaling (QT_SCALE_FACTOR=1.5), with an index page to look at them all.
#
#   scripts/tour.sh [OUTDIR]        (default build/tour; open OUTDIR/index.html)
#
# The configuration screen is shown for both sensor variants (the second run against a
# velocimeter). Settings go to a temporary folder, so the user's own are never touched.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$repo/build/tour}
build=${BUILD_DIR:-$repo/build}
[ -d "$build" ] || cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice cmake --build "$build" -j "${JOBS:-2}" --target sondix-tour sondix-sim >/dev/null

work=$(mktemp -d)
sim=
cleanup() {
  [ -n "$sim" ] && kill "$sim" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A short text file: Sondix paces each character (60 ms), so its Cancel window stays up for a
# picture.
printf "I\r\nL\r\nT\r\n" >"$work/send.txt"

# Runs the tour driver once against a fresh simulator:
#   run NAME SCALE SIM-OPTIONS... -- STEPS [TAG]   (TAG starts each picture's name)
run() {
  local name=$1 scale=$2
  shift 2
  local simargs=()
  while [ "$1" != "--" ]; do simargs+=("$1"); shift; done
  shift
  local steps=$1 tag=${2:-}
  rm -f "$work/sensor"
  "$build/sondix-sim" --baud 0 --link "$work/sensor" "${simargs[@]}" >/dev/null 2>&1 &
  sim=$!
  for _ in $(seq 100); do [ -e "$work/sensor" ] && break; sleep 0.05; done
  mkdir -p "$out/$name"
  SONDIX_PORT=$(readlink "$work/sensor") QT_SCALE_FACTOR=$scale XDG_CONFIG_HOME="$work/config" \
    xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/sondix-tour" "$out/$name" --text "$work/send.txt" --steps "$steps" --tag "$tag" || true
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
  sim=
}

rm -rf "$out"
all=main,scope,spectrum,ramp,repeating,results,history,config,properties,sendtext,faults,end
for scale in 1 1.5; do
  name=scale-$scale
  run "$name" "$scale" -- "$all"
  run "$name" "$scale" --velocimeter -- "config" velocimeter-
done

# The index: one section per scale, each picture with its file name and window title.
{
  echo '<!doctype html><html><head><meta charset="utf-8"><title>Sondix tour</title>'
  echo '<style>body{font-family:sans-serif} figure{display:inline-block;margin:8px;'
  echo 'vertical-align:top} img{max-width:680px;border:1px solid #888}</style></head><body>'
  for dir in "$out"/scale-*; do
    echo "<h2>$(basename "$dir")</h2>"
    while IFS=$'\t' read -r file title; do
      echo "<figure><img src=\"$(basename "$dir")/$file\"><figcaption>$file — ${title}</figcaption></figure>"
    done <"$dir/shots.txt"
  done
  echo '</body></html>'
} >"$out/index.html"
echo "tour: $(find "$out" -name '*.png' | wc -l) pictures, $out/index.html"
