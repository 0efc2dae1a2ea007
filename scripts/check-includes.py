#!/usr/bin/python3
"""Every file includes only from folders whose libraries its target links: a file in src/<folder>
belongs to kelvaris_<folder>, a file in tools/<program> to that program; an include of
"<other>/..." from src/ needs kelvaris_<other> among the libraries its target links (directly or
through them), as CMake's own dependency graph (cmake --graphviz) of the build folder says. Also
names the libraries that link a display library (Qt6::Gui, Qt6::Widgets) and fails when one that
kelvarisd or kelvarisctl links does.
    scripts/check-includes.py <build-dir>"""
import os
import re
import subprocess
import sys
import tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build")

with tempfile.TemporaryDirectory() as work:
    dot = os.path.join(work, "deps.dot")
    subprocess.run(["cmake", "--graphviz=" + dot, build], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    edges = {}
    with open(dot, encoding="utf-8") as graph:
        for line in graph:
            match = re.search(r"//\s*(\S+)\s*->\s*(\S+)", line)
            if match:
                edges.setdefault(match.group(1), set()).add(match.group(2))


def reach(target):
    seen, todo = set(), [target]
    while todo:
        for nxt in edges.get(todo.pop(), ()):
            if nxt not in seen:
                seen.add(nxt)
                todo.append(nxt)
    return seen


src = os.path.join(root, "src")
folders = {name for name in os.listdir(src) if os.path.isdir(os.path.join(src, name))}
include = re.compile(r'^\s*#\s*include\s+"([a-z]+)/')
owners = [(os.path.join(src, folder), "kelvaris_" + folder) for folder in sorted(folders)]
tools = os.path.join(root, "tools")
owners += [(os.path.join(tools, name), name) for name in sorted(os.listdir(tools))
           if os.path.isdir(os.path.join(tools, name))]

failures = 0
checked = 0
for path, target in owners:
    if target not in edges and not any(target in to for to in edges.values()):
        print("check-includes: FAIL: no CMake target %s for %s" % (target, os.path.relpath(path, root)))
        failures += 1
        continue
    linked = reach(target) | {target}
    for directory, _, files in os.walk(path):
        for name in files:
            if not name.endswith((".cpp", ".h")):
                continue
            file = os.path.join(directory, name)
            with open(file, encoding="utf-8") as text:
                for number, line in enumerate(text, 1):
                    match = include.match(line)
                    if not match or match.group(1) not in folders:
                        continue
                    checked += 1
                    needed = "kelvaris_" + match.group(1)
                    if needed not in linked:
                        print("check-includes: FAIL: %s:%d includes %s/ but %s does not link %s"
                              % (os.path.relpath(file, root), number, match.group(1), target, needed))
                        failures += 1

display = {"Qt6::Gui", "Qt6::Widgets"}
for program in ("kelvarisd", "kelvarisctl"):
    drawn = sorted(reach(program) & display)
    if drawn:
        print("check-includes: FAIL: %s links %s" % (program, ", ".join(drawn)))
        failures += 1
    else:
        print("check-includes: ok: %s links no Qt GUI or Widgets" % program)
if failures:
    print("check-includes: %d include(s) or link(s) disagree" % failures)
    sys.exit(1)
print("check-includes: ok: %d includes of other folders, each from a library its target links" % checked)
