#!/usr/bin/env bash
# The source tree's structure: each folder under src/ includes only the
# folders below it (app, platform, render, engine, menu, core, top to
# bottom), and no two modules (a .cpp with its header) include each other.
# A header without a .cpp of its own (a kernel body, a record) belongs to
# the modules that include it.
set -u
src=$(cd "$(dirname "$0")/../../src" && pwd)
python3 - "$src" <<'PY'
import os, re, sys
src = sys.argv[1]
order = ["app", "platform", "render", "engine", "menu", "core"]
rank = {r: i for i, r in enumerate(order)}
uses = {}  # file stem (folder/.../name) -> stems of the headers it includes
faults = []
for folder, _, files in os.walk(src):
    for name in files:
        path = os.path.join(folder, name)
        rel = os.path.relpath(path, src)
        role = rel.split(os.sep)[0]
        if role not in rank:
            continue
        stem = os.path.splitext(rel)[0]
        for line in open(path, encoding="utf-8"):
            m = re.match(r'#include "((\w+)/[\w/]+)\.h"', line)
            if not m:
                continue
            if m.group(2) in rank and rank[m.group(2)] < rank[role]:
                faults.append(f"{rel} includes {m.group(1)}.h, a folder above it")
            if m.group(1) != stem:
                uses.setdefault(stem, set()).add(m.group(1))
modules = {s for s in uses if os.path.exists(os.path.join(src, s + ".cpp"))}
for a in modules:
    for b in uses[a] & modules:
        if a < b and a in uses[b]:
            faults.append(f"{a} and {b} include each other")
print("\n".join(faults))
sys.exit(1 if faults else 0)
PY
