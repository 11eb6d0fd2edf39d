#!/usr/bin/env python3
"""Reads the resources of a Windows program (a PE file) and checks what
Explorer and Windows take from them: the version information, and for a
window its manifest and icon.

  check_resources.py EXE --product P --company C --description D
                     --version-text T --version A.B.C.D
                     [--manifest [--common-controls-6]] [--icon-sizes 16,32,48]

Exit status 0 when every check holds, 1 with a line per failure."""
import argparse
import struct
import sys

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
RESOURCE_DIRECTORY = 2
FIXED_SIGNATURE = 0xFEEF04BD


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        self.rsrc_rva, self.rsrc_size = struct.unpack_from("<II", data, directories + 8 * RESOURCE_DIRECTORY)
        self.sections = []
        table = optional + optional_size
        for k in range(sections):
            virtual_size, rva, raw_size, raw = struct.unpack_from("<IIII", data, table + 40 * k + 8)
            self.sections.append((rva, max(virtual_size, raw_size), raw))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(f"RVA {rva:#x} in no section")

    def resources(self):
        """{(type, id): [data of each language]} for numbered types and ids."""
        if self.rsrc_rva == 0:
            return {}
        base = self.offset(self.rsrc_rva)
        found = {}
        for type_id, type_dir in self._entries(base, 0):
            for name_id, name_dir in self._entries(base, type_dir):
                for _, leaf in self._entries(base, name_dir):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(rva)
                    found.setdefault((type_id, name_id), []).append(self.data[start:start + size])
        return found

    def _entries(self, base, directory):
        named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
        for k in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * k)
            ident = None if name & 0x80000000 else name
            yield ident, target & 0x7FFFFFFF


def align4(n):
    return (n + 3) & ~3


def version_block(data, start=0):
    """(key, value bytes, is text, children) of one block of a version resource."""
    length, value_length, text = struct.unpack_from("<HHH", data, start)
    end = start + 6
    while data[end:end + 2] != b"\0\0":
        end += 2
    key = data[start + 6:end].decode("utf-16-le")
    position = align4(end + 2)
    value_bytes = value_length * 2 if text else value_length
    value = data[position:position + value_bytes]
    position = align4(position + value_bytes)
    children = []
    while position < start + length:
        child = version_block(data, position)
        children.append(child[:4])
        position = align4(child[4])
    return key, value, text, children, start + length


def version_strings(data):
    key, fixed, _, children, _ = version_block(data)
    if key != "VS_VERSION_INFO":
        raise ValueError(f"version key '{key}'")
    signature, _, ms, ls = struct.unpack_from("<IIII", fixed)
    if signature != FIXED_SIGNATURE:
        raise ValueError("no fixed file information")
    numbers = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    strings = {}
    for child_key, _, _, tables in children:
        if child_key != "StringFileInfo":
            continue
        for _, _, _, values in tables:
            for name, value, _, _ in values:
                strings[name] = value.decode("utf-16-le").rstrip("\0")
    return numbers, strings


def icon_sizes(group):
    count = struct.unpack_from("<H", group, 4)[0]
    return sorted(group[6 + 14 * k] or 256 for k in range(count))


def check(path, args):
    failures = []
    with open(path, "rb") as f:
        pe = PeFile(f.read())
    resources = pe.resources()

    versions = [d for (t, _), ds in resources.items() if t == RT_VERSION for d in ds]
    if len(versions) != 1:
        failures.append(f"{len(versions)} version resources, not 1")
    else:
        numbers, strings = version_strings(versions[0])
        wanted_numbers = tuple(int(n) for n in args.version.split("."))
        if numbers != wanted_numbers:
            failures.append(f"version numbers {numbers}, not {wanted_numbers}")
        wanted = {"ProductName": args.product, "CompanyName": args.company, "FileDescription": args.description,
                  "FileVersion": args.version_text, "ProductVersion": args.version_text,
                  "OriginalFilename": path.rsplit("/", 1)[-1]}
        for name, value in wanted.items():
            if strings.get(name) != value:
                failures.append(f"{name} '{strings.get(name)}', not '{value}'")

    manifests = resources.get((RT_MANIFEST, 1), [])
    if args.manifest:
        text = " ".join(manifests[0].decode("utf-8").split()) if manifests else ""
        common_controls = 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'
        for part in (">false</dpiAware>", 'level="asInvoker"') + ((common_controls,) if args.common_controls_6 else ()):
            if part not in text:
                failures.append(f"manifest 1 without '{part}'")
        if not args.common_controls_6 and "Common-Controls" in text:
            failures.append("manifest 1 asks for common controls it should not")
    elif manifests:
        failures.append("a manifest in a program that should have none")

    if args.icon_sizes:
        groups = [d for (t, _), ds in sorted(resources.items(), key=lambda kv: kv[0][1] or 0)
                  if t == RT_GROUP_ICON for d in ds]
        wanted_sizes = sorted(int(s) for s in args.icon_sizes.split(","))
        if not groups:
            failures.append("no icon")
        elif icon_sizes(groups[0]) != wanted_sizes:
            failures.append(f"icon sizes {icon_sizes(groups[0])}, not {wanted_sizes}")
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    for option in ("--product", "--company", "--description", "--version-text", "--version"):
        parser.add_argument(option, required=True)
    parser.add_argument("--manifest", action="store_true")
    parser.add_argument("--common-controls-6", action="store_true")
    parser.add_argument("--icon-sizes")
    args = parser.parse_args()
    try:
        failures = check(args.exe, args)
    except (OSError, ValueError, struct.error, UnicodeDecodeError) as error:
        failures = [str(error)]
    for failure in failures:
        print(f"FAIL: {args.exe}: {failure}", file=sys.stderr)
    if not failures:
        print(f"{args.exe}: version {args.version_text}, {args.company}" + (", manifest" if args.manifest else ""))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
