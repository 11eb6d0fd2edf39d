#!/usr/bin/env bash
# Installs what building, running and testing need on a fresh Debian machine.
# Safe to run again: installs only what is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config dpkg-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb imagemagick locales
  clang libclang-rt-14-dev clang-tidy python3 lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine shows the operator messages in code page 1251 only in a locale of that code page.
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.cp1251'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO localedef -i ru_RU -f CP1251 ru_RU.CP1251
fi
