#!/usr/bin/env python3
"""Reads the fault list, applies one fault to a source tree, and picks the tests of a scope.

Used by run.sh; each subcommand prints plain lines a shell loop can read.
  faults.py LIST ids [SELECT]            ids of the faults, in list order (SELECT: ids or a regex)
  faults.py LIST check SRC [SELECT]      verify each fault's text occurs once; exit 1 on any
  faults.py LIST field ID KEY            one field of one fault
  faults.py LIST apply ID SRC BACKUP     copy the file to BACKUP, then write the faulty version
  faults.py tests BUILD SCOPE [FIRST]    ctest numbers: FIRST's tests in SCOPE, a tab, the rest
  faults.py targets BUILD SCOPE          the build targets whose tests make up SCOPE
"""
import json
import os
import re
import shutil
import subprocess
import sys

KEYS = ("id", "file", "find", "put", "scope", "first", "why")


def read_list(path):
    faults, current = [], {}
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if line.startswith("#"):
                continue
            if not line.strip():
                if current:
                    faults.append(current)
                current = {}
                continue
            key, sep, value = line.partition(":")
            if not sep or key not in KEYS:
                sys.exit(f"{path}:{number}: expected one of {', '.join(KEYS)}")
            if key in current:
                sys.exit(f"{path}:{number}: {key} given twice")
            current[key] = value[1:] if value.startswith(" ") else value
            current.setdefault("_line", number)
    if current:
        faults.append(current)
    seen = set()
    for fault in faults:
        missing = [k for k in ("id", "file", "find", "put", "scope", "why") if k not in fault]
        if missing:
            sys.exit(f"{path}:{fault['_line']}: missing {', '.join(missing)}")
        if fault["id"] in seen:
            sys.exit(f"{path}:{fault['_line']}: id {fault['id']} used twice")
        seen.add(fault["id"])
    return faults


def occurrences(fault, src):
    path = os.path.join(src, fault["file"])
    if not os.path.isfile(path):
        return path, None, 0
    with open(path, "rb") as f:
        content = f.read()
    return path, content, content.count(fault["find"].encode("utf-8"))


def check(faults, src):
    bad = 0
    for fault in faults:
        path, _, count = occurrences(fault, src)
        if count != 1:
            bad += 1
            where = "missing file" if count == 0 and not os.path.isfile(path) else f"found {count} times"
            print(f"{fault['id']}: {fault['file']}: {where}: {fault['find']}")
        elif fault["find"] == fault["put"]:
            bad += 1
            print(f"{fault['id']}: the replacement is the original")
    print(f"{len(faults) - bad} of {len(faults)} faults apply")
    return 1 if bad else 0


def apply(fault, src, backup):
    path, content, count = occurrences(fault, src)
    if count != 1:
        print(f"the original text occurs {count} times in {fault['file']}", file=sys.stderr)
        return 3
    shutil.copyfile(path, backup)   # the bytes to put back, whatever happens next
    faulty = content.replace(fault["find"].encode("utf-8"), fault["put"].encode("utf-8"), 1)
    with open(path, "wb") as f:
        f.write(faulty)
    return 0


def discovered(build):
    """Every ctest test of the build: (number, name, folder under tests/, program)."""
    out = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"], capture_output=True,
                         text=True, check=True).stdout
    data = json.loads(out)
    graph = data.get("backtraceGraph", {})
    files, nodes = graph.get("files", []), graph.get("nodes", [])
    tests_root = os.path.join(os.path.realpath(build), "tests")
    result = []
    for number, test in enumerate(data["tests"], 1):
        # A discovered test runs in its folder's build folder; a plain add_test is known by the
        # CMakeLists.txt that added it.
        where = [p["value"] for p in test.get("properties", []) if p["name"] == "WORKING_DIRECTORY"]
        relative = os.path.relpath(os.path.realpath(where[0]), tests_root) if where else ".."
        folder = "" if relative.startswith("..") or relative == "." else relative.split(os.sep)[0]
        backtrace = test.get("backtrace")
        if not folder and backtrace is not None and backtrace < len(nodes):
            added_in = re.search(r"/tests/([^/]+)/CMakeLists\.txt$", files[nodes[backtrace]["file"]])
            folder = added_in.group(1) if added_in else ""
        if test["name"].startswith("layout."):
            folder = "layout"
        command = test.get("command") or [""]
        result.append((number, test["name"], folder, command[0]))
    return result


def in_scope(build, scope):
    folders = set(scope.split())
    return [t for t in discovered(build) if t[2] in folders]


def tests(build, scope, first):
    chosen = in_scope(build, scope)
    pattern = re.compile(first) if first else None
    early = [t for t in chosen if pattern and pattern.search(t[1])]
    rest = [t for t in chosen if t not in early]
    print(",".join(str(t[0]) for t in early) + "\t" + ",".join(str(t[0]) for t in rest))
    return 0


def targets(build, scope):
    names = set()
    for _, name, _, program in in_scope(build, scope):
        # A test program that failed to build shows as one test NAME_NOT_BUILT with no program.
        if name.endswith("_NOT_BUILT"):
            names.add(name[: -len("_NOT_BUILT")])
        elif program.startswith(os.path.realpath(build)):
            names.add(os.path.basename(program))
    print(" ".join(sorted(names)))
    return 0


def select(faults, chosen):
    if not chosen:
        return faults
    ids = set(chosen.split(","))
    if ids <= {f["id"] for f in faults}:
        return [f for f in faults if f["id"] in ids]
    pattern = re.compile(chosen)
    return [f for f in faults if pattern.search(f["id"])]


def main(argv):
    if len(argv) >= 3 and argv[1] == "tests":
        return tests(argv[2], argv[3], argv[4] if len(argv) > 4 else "")
    if len(argv) >= 3 and argv[1] == "targets":
        return targets(argv[2], argv[3])
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    faults = read_list(argv[1])
    command = argv[2]
    if command == "ids":
        for fault in select(faults, argv[3] if len(argv) > 3 else ""):
            print(fault["id"])
        return 0
    if command == "check":
        return check(select(faults, argv[4] if len(argv) > 4 else ""), argv[3])
    by_id = {f["id"]: f for f in faults}
    fault = by_id.get(argv[3]) if len(argv) > 3 else None
    if fault is None:
        print(f"no fault {argv[3] if len(argv) > 3 else ''}", file=sys.stderr)
        return 2
    if command == "field":
        print(fault.get(argv[4], ""))
        return 0
    if command == "apply":
        return apply(fault, argv[4], argv[5])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
