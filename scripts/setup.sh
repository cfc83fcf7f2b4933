#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Idempotent and
# quick when everything is already there; run as root (or with sudo at hand).
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config                      # native build
  g++-mingw-w64-i686 binutils-mingw-w64-i686            # Rt_Zephel.gau
  libcairo2-dev fonts-dejavu-core                       # artwork and pictures
  libgif-dev libcli11-dev nlohmann-json3-dev            # workbench
  libunicorn-dev                                        # emulated backend
  googletest libgtest-dev libgmock-dev libbenchmark-dev # tests and benchmarks
  python3 python3-pefile python3-pytest python3-unicorn # binary tests
  clang libclang-rt-14-dev                              # fuzz targets
)

missing=()
for p in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [[ "$status" == installed ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}"
SUDO=()
[[ $(id -u) -eq 0 ]] || SUDO=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
