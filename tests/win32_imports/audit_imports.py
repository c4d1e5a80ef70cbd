#!/usr/bin/env python3
"""Checks that a Windows program starts on the oldest Windows the CD is for: every function it
imports, statically or delay-loaded, must be in the table of first Windows versions and not newer
than the floor; the header's OS and subsystem versions must not ask for a newer Windows; and the
manifest must ask for elevation and nothing else (no side-by-side dependency). Each row of the
table also says which of the function's arguments matter below its floor (or '-'); those are
read by people, and the Wine tests' old-Windows library refuses the ones that failed there.

Usage: audit_imports.py [--floor 2000] [--table FILE] [--expect FUNCTION ...] EXE
With --expect, the audit must find exactly those functions at fault (the check of the audit)."""

import argparse
import os
import re
import sys

import pe_imports

ORDER = ["95", "NT4", "2000", "XP", "2003", "Vista", "7", "8", "8.1", "10"]
# The NT version each floor needs in the PE header.
HEADER_VERSION = {"NT4": (4, 0), "2000": (5, 0), "XP": (5, 1), "2003": (5, 2), "Vista": (6, 0)}


def read_table(path):
    table = {}
    with open(path, encoding="utf-8") as rows:
        for number, line in enumerate(rows, 1):
            if not line.strip() or line.startswith("#"):
                continue
            fields = line.rstrip("\n").split("\t")
            if len(fields) != 5 or fields[2] not in ORDER or not all(f.strip() for f in fields[3:]):
                raise SystemExit("%s:%d: expected DLL, function, first Windows, source, arguments"
                                 % (path, number))
            table[(fields[0].lower(), fields[1])] = fields[2]
    return table


def audit(image, table, floor):
    """Findings as (function or None, text)."""
    findings = []
    for kind, imports in (("imports", image.imports()), ("delay-loads", image.delay_imports())):
        for dll, functions in sorted(imports.items()):
            for function in functions:
                first = table.get((dll, function))
                if first is None:
                    findings.append((function, "%s %s!%s, which the table does not know: look up "
                                     "its first Windows and add a row" % (kind, dll, function)))
                elif ORDER.index(first) > ORDER.index(floor):
                    findings.append((function, "%s %s!%s, first in Windows %s, newer than %s"
                                     % (kind, dll, function, first, floor)))
    limit = HEADER_VERSION.get(floor, (5, 0))
    for name, version in (("OS", image.os_version), ("subsystem", image.subsystem_version)):
        if tuple(version) > limit:
            findings.append((None, "the header's %s version %d.%d asks for more than Windows %s"
                             % (name, version[0], version[1], floor)))
    manifest = image.manifest()
    if manifest is None:
        findings.append((None, "no manifest"))
    else:
        if not re.search(r"<requestedExecutionLevel\s[^>]*level=\"requireAdministrator\"", manifest):
            findings.append((None, "the manifest does not ask for elevation"))
        if re.search(r"<dependency\b|<dependentAssembly\b", manifest):
            findings.append((None, "the manifest asks for a side-by-side assembly"))
    return findings


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--floor", default="2000", choices=ORDER)
    parser.add_argument("--table", default=os.path.join(here, "windows_api_floor.tsv"))
    parser.add_argument("--expect", action="append", default=[])
    parser.add_argument("exe")
    args = parser.parse_args()
    with open(args.exe, "rb") as program:
        image = pe_imports.PeImage(program.read())
    findings = audit(image, read_table(args.table), args.floor)
    for _, text in findings:
        print(text)
    if args.expect:
        found = sorted({function for function, _ in findings if function})
        if found != sorted(set(args.expect)):
            print("FAIL: the audit found %s, expected %s" % (found, sorted(set(args.expect))))
            return 1
        print("the audit names each function it should: %s" % ", ".join(found))
        return 0
    if findings:
        print("FAIL: %s would not start on Windows %s" % (os.path.basename(args.exe), args.floor))
        return 1
    counts = (sum(map(len, image.imports().values())), sum(map(len, image.delay_imports().values())))
    print("%s: %d imports and %d delay-loads, all in Windows %s" % (
        os.path.basename(args.exe), counts[0], counts[1], args.floor))
    return 0


if __name__ == "__main__":
    sys.exit(main())
