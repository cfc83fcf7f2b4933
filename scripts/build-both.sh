#!/usr/bin/env bash
# Configures and builds the 32-bit module and the native tools and tests.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win32 >/dev/null
cmake --build --preset win32
cmake --preset native >/dev/null
cmake --build --preset native
