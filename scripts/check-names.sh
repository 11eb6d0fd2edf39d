#!/usr/bin/env bash
# Checks the names of our own code against the rule in .clang-tidy: every
# source the native build compiles, and the Windows sources only the cross
# build compiles. Prints each name that breaks the rule once and fails if
# there is one. Run after scripts/test.sh, which builds both trees (generated
# headers must exist).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=build/names
rm -rf "$work"
mkdir -p "$work/native" "$work/mingw"

cmake --preset native >/dev/null
cmake --preset mingw >/dev/null

# clang has no code page 1251 execution set (the names do not depend on it),
# and reads the cross build only with the MinGW compiler's own headers.
mingw_includes=$(x86_64-w64-mingw32-g++-posix -xc++ -E -v /dev/null 2>&1 |
  sed -n '/#include <...> search starts here/,/End of search list/p' | grep '^ ')
python3 - "$root" "$work" "$(clang -print-resource-dir)/include" "$mingw_includes" <<'EOF'
import json, os, re, sys
root, work, clang_include, mingw_includes = sys.argv[1:5]

def read(tree):
    return json.load(open(os.path.join(root, 'build', tree, 'compile_commands.json')))

def ours(entry):
    path = entry['file']
    return path.startswith(root + '/') and not path.startswith(root + '/build/') and not path.endswith('.rc')

def clean(command):
    return command.replace('-fexec-charset=CP1251', '')

native = [e for e in read('native') if ours(e)]
for e in native:
    e['command'] = clean(e['command'])
seen = {e['file'] for e in native}

# gcc's own intrinsics headers are not clang's: clang's resource folder stands in for them.
system = []
for folder in map(os.path.realpath, mingw_includes.split()):
    if re.search(r'/include(-fixed)?$', folder) and '/gcc/' in folder:
        continue
    system += ['-isystem', folder]
system += ['-isystem', clang_include]
mingw = []
for e in read('mingw'):
    if not ours(e) or e['file'] in seen:
        continue
    compiler, rest = clean(e['command']).split(' ', 1)
    e['command'] = ' '.join(['clang++', '--target=x86_64-w64-mingw32', '-nostdinc', '-nostdinc++'] + system + [rest])
    mingw.append(e)

if not native or not mingw:
    sys.exit('check-names: a tree lists no sources of ours; build both first (scripts/test.sh)')
for tree, entries in (('native', native), ('mingw', mingw)):
    json.dump(entries, open(os.path.join(work, tree, 'compile_commands.json'), 'w'), indent=1)
    with open(os.path.join(work, tree, 'files'), 'w') as f:
        f.write('\n'.join(e['file'] for e in entries) + '\n')
EOF

# clang-tidy exits 0 on a source with warnings, and fails one it cannot
# compile, which the report then shows as errors; a failure that leaves no
# error behind means it did not run, which must not pass as a clean tree.
for tree in native mingw; do
  status=0
  xargs -P2 -n8 clang-tidy --quiet -p "$work/$tree" --header-filter="^$root/" \
    <"$work/$tree/files" >"$work/$tree/report" 2>&1 || status=$?
  if [ "$status" -ne 0 ] && ! grep -q 'error: ' "$work/$tree/report"; then
    cat "$work/$tree/report" >&2
    echo "check-names: clang-tidy did not run on the $tree tree (xargs status $status)" >&2
    exit 1
  fi
done

# A header reached through a library's include root (build/<tree>/include/<lib>/)
# is reported under that path: name the source instead, once.
cat "$work"/*/report |
  { grep -E '(warning|error): ' || true; } |
  sed -E "s#^$root/build/[^/]+/include/[^/]+/#$root/#; s#^$root/##; s/ \[[a-z,-]+\]\$//" |
  sort -u >"$work/names"
if [ -s "$work/names" ]; then
  cat "$work/names"
  echo "check-names: $(wc -l <"$work/names") names break the rule (.clang-tidy)" >&2
  exit 1
fi
echo "check-names: $(cat "$work"/*/files | wc -l) sources, every name keeps the rule"
