#!/usr/bin/env bash
# Builds the packages from the release and Windows builds, checks what the
# ZIP holds, and unpacks the Debian package into a clean folder to check
# that its programs run and its man pages are there.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release
cmake --preset mingw >/dev/null
cmake --build --preset mingw
rm -f build/release/*.deb build/mingw/*.zip
(cd build/release && cpack -G DEB >/dev/null)
(cd build/mingw && cpack -G ZIP >/dev/null)
deb=$(ls build/release/*.deb)
zip=$(ls build/mingw/*.zip)

fail() { echo "package check: $*" >&2; exit 1; }

listing=$(cmake -E tar tf "$zip")
for entry in "Ducat Console.exe" Pollbench.exe console/ducat.exe console/pollbench.exe README.txt Export/ "Coins Stat/"; do
  grep -qxF "$(basename "$zip" .zip)/$entry" <<<"$listing" || fail "$zip lacks $entry"
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
for program in ducat pollbench ducat-sim standard-sim; do
  binary="$unpacked/usr/bin/$program"
  [ -x "$binary" ] || fail "$deb lacks /usr/bin/$program"
  help=$("$binary" --help 2>&1 || true)
  grep -q "^usage: $program" <<<"$help" || fail "$program --help: $help"
  zcat "$unpacked/usr/share/man/man1/$program.1.gz" | grep -q "^usage: $program" || fail "man page of $program"
done
"$unpacked/usr/bin/ducat" --version | grep -q "^ducat (Ducat Console) " || fail "ducat --version"
"$unpacked/usr/bin/pollbench" --version | grep -q "^pollbench (Pollbench) " || fail "pollbench --version"
# What apt would install with it, without installing it.
apt-get install -s -qq "./$deb" >/dev/null || fail "apt cannot install $deb"
echo "packages: $deb $zip"
