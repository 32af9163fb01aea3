#!/usr/bin/env bash
# Builds both presets and packs the release: tessara-VERSION-linux-x86_64.tar.gz and .zip (with
# their .sha256) in the folder given, build/release by default. Each holds bin/ (tessara-pack for
# Linux, tessara-pack.exe, tessara-stub.exe), share/tessara/languages/ (the language files) and
# share/doc/tessara/ (README.md, docs/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/build/release}" && cd "${1:-$root/build/release}" && pwd)
cd "$root"
cmake --preset native >/dev/null && cmake --build --preset native
cmake --preset windows >/dev/null && cmake --build --preset windows
# The host build's install gathers the Windows build's stub and packer beside its own.
(cd build/native && cpack -B "$out")
rm -rf "$out/_CPack_Packages"
ls -l "$out"
