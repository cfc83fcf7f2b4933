#!/usr/bin/env bash
# Builds everything and runs the main job: dist/Gauges/Rt_Zephel.gau and the
# preview pictures in dist/preview/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build-both.sh

mkdir -p dist/Gauges
cp build/win32/Rt_Zephel.gau dist/Gauges/Rt_Zephel.gau.tmp
mv dist/Gauges/Rt_Zephel.gau.tmp dist/Gauges/Rt_Zephel.gau
echo "built dist/Gauges/Rt_Zephel.gau ($(stat -c %s dist/Gauges/Rt_Zephel.gau) bytes)"

if [[ -x scripts/previews.sh ]]; then
  scripts/previews.sh
fi
