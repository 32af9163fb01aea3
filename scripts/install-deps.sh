#!/usr/bin/env bash
# Installs, on Debian 12, every package the build and the tests need. Safe to run again.
# clang with its sanitizer and libFuzzer runtimes (libclang-rt-14-dev, only recommended by
# clang, so named here) builds the fuzz targets and the sanitizer run of the unit tests.
# clang-14, lld-14 and llvm-14 (llvm-ar, llvm-ranlib, llvm-nm, llvm-dlltool) build the Windows
# programs with link-time optimisation; mingw-w64 gives them headers, runtime and libstdc++.
# The Noto fonts give Wine the Japanese, Chinese and Arabic glyphs of the language screenshots.
set -euo pipefail
packages=(cmake make g++ googletest mingw-w64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32 wine64 xvfb xauth
  x11-utils xdotool imagemagick wixl msitools osslsigncode openssl curl python3 bc clang-format tinyproxy-bin
  clang libclang-rt-14-dev clang-14 lld-14 llvm-14 fonts-noto-cjk fonts-noto-core)
missing=()
dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386; missing+=(force-update); }
for p in "${packages[@]}"; do
  case $p in
    wine32) q=wine32:i386 ;;
    *) q=$p ;;
  esac
  dpkg-query -W -f='${Status}' "$q" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update
pkgs=()
for p in "${missing[@]}"; do [ "$p" = force-update ] || pkgs+=("$p"); done
[ ${#pkgs[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${pkgs[@]}"
