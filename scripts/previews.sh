#!/usr/bin/env bash
# Draws the preview pictures with the workbench: the whole panel in flight
# (dist/preview/panel.png) and the built-in flight, take-off roll, gear up,
# climb, a turn and flaps (dist/preview/flight.gif, from scenarios/flight.json).
set -euo pipefail
cd "$(dirname "$0")/.."
zephel=${ZEPHEL:-build/native/tools/zephel/zephel}
mkdir -p dist/preview

"$zephel" panel -o dist/preview/panel.png \
  --set airspeed=140 --set height=320 --set heading=135 --set course=150 \
  --set pitch=3 --set bank=10 --set slip=-12 --set gear=0 --set flaps=0

"$zephel" play scenarios/flight.json -o dist/preview/flight.gif
