#!/usr/bin/env bash
# Runs every test: unit, host and picture tests of the native build, binary
# tests of the shipped .gau, the artwork check and short fuzz runs.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build-both.sh
ctest --preset native -j2 "$@"
