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
# The technicians' README.txt reads right in Notepad: UTF-8 with its byte
# order mark, CRLF line ends.
(cd "$unpacked" && cmake -E tar xf "$OLDPWD/$zip")
readme="$unpacked/$(basename "$zip" .zip)/README.txt"
[ "$(head -c3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README.txt has no UTF-8 byte order mark"
[ "$(tr -cd '\n' <"$readme" | wc -c)" = "$(grep -c $'\r$' "$readme")" ] || fail "README.txt has a line without CRLF"
rm -rf "${unpacked:?}"/*

dpkg-deb -x "$deb" "$unpacked"
for program in ducat pollbench ducat-sim standard-sim; do
  binary="$unpacked/usr/bin/$program"
  [ -x "$binary" ] || fail "$deb lacks /usr/bin/$program"
  help=$("$binary" --help 2>&1 || true)
  grep -q "^usage: $program" <<<"$help" || fail "$program --help: $help"
  # The man page names every option --help names, and fits 80 columns
  # without a warning from the formatter (shown in ASCII, a byte a column).
  page="$unpacked/usr/share/man/man1/$program.1.gz"
  [ -f "$page" ] || fail "$deb lacks the man page of $program"
  source=$(zcat "$page" | sed 's/\\-/-/g')
  for option in $(grep -oE -- '--[a-z][a-z0-9-]*' <<<"$help" | sort -u); do
    grep -qE -- "$option([^a-z0-9-]|\$)" <<<"$source" || fail "man page of $program lacks $option"
  done
  shown=$(LC_ALL=C MANWIDTH=80 man --warnings -l "$page" 2>"$unpacked/man-warnings") || fail "man $program"
  [ ! -s "$unpacked/man-warnings" ] || fail "man page of $program: $(cat "$unpacked/man-warnings")"
  wide=$(awk 'length > 80' <<<"$shown")
  [ -z "$wide" ] || fail "man page of $program is wider than 80 columns: $wide"
done
for doc in copyright changelog.Debian.gz; do
  [ -f "$unpacked/usr/share/doc/coin-acceptor-tools/$doc" ] || fail "$deb lacks /usr/share/doc/coin-acceptor-tools/$doc"
done
"$unpacked/usr/bin/ducat" --version | grep -q "^ducat (Ducat Console) " || fail "ducat --version"
"$unpacked/usr/bin/pollbench" --version | grep -q "^pollbench (Pollbench) " || fail "pollbench --version"
# What apt would install with it, without installing it.
apt-get install -s -qq "./$deb" >/dev/null || fail "apt cannot install $deb"
# Debian's own check of the package: an error fails the build; the warnings
# left are explained in ARCHITECTURE.md (where it tells of cmake/Packaging.cmake).
command -v lintian >/dev/null || fail "lintian is not installed (scripts/setup.sh installs it)"
lintian --fail-on error "$deb" ||
  fail "lintian found errors in $deb"
echo "packages: $deb $zip"
