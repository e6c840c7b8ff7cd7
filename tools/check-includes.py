#!/usr/bin/env python3
"""Checks the include lines of src/ against its three libraries, before anything compiles.

  core/    may include core/ only, and nothing of Qt
  render/  may include core/ and render/, and no Qt Widgets or PrintSupport header
  ui/      may include all three

Every quoted include names its file by the path from src/ ("core/model/Recalculation.h"). Folders
(core/design, render/views, ui/shell, ...) must not include each other in a circle. Prints each fault
with the files that make it and exits with 1 when there is one.

Usage: check-includes.py [SRC_DIR]   (default: the src/ beside this script's folder)
"""
import re
import sys
from pathlib import Path

LAYERS = {"core": 0, "render": 1, "ui": 2}
QUOTED = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
ANGLED = re.compile(r'^\s*#\s*include\s+<([^>]+)>', re.MULTILINE)
# Files the build writes (the program's name and version, the about box's date); they follow the same
# path rule.
GENERATED = {"core/design/ProgramName.h", "ui/shell/BuildDate.h"}


def qt_module_headers(*modules):
    """Names of the public headers of the given Qt modules, from the headers installed here."""
    names = set()
    for base in [*Path("/usr/include").glob("*/qt6"), Path("/usr/include/qt6")]:
        for module in modules:
            folder = base / module
            if folder.is_dir():
                names |= {p.name for p in folder.iterdir()}
                names |= {f"{module}/{p.name}" for p in folder.iterdir()}
    return names


def check(src):
    faults = []
    widget_headers = qt_module_headers("QtWidgets", "QtPrintSupport")
    edges = {}  # (folder, folder) -> files of the first that include the second
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        rel = path.relative_to(src)
        if len(rel.parts) < 3 or rel.parts[0] not in LAYERS:
            faults.append(f"{rel}: every source file lives in a folder of core/, render/ or ui/")
            continue
        library, folder = rel.parts[0], "/".join(rel.parts[:2])
        text = path.read_text(encoding="utf-8", errors="replace")
        for target in QUOTED.findall(text):
            parts = target.split("/")
            if len(parts) < 3 or parts[0] not in LAYERS or not ((src / target).is_file() or target in GENERATED):
                faults.append(f'{rel}: "{target}" is not a path from src/ (library/folder/File.h)')
                continue
            if LAYERS[parts[0]] > LAYERS[library]:
                faults.append(f'{rel}: {library} must not include {parts[0]} ("{target}")')
            target_folder = "/".join(parts[:2])
            if target_folder != folder:
                edges.setdefault((folder, target_folder), set()).add(str(rel))
        for header in ANGLED.findall(text):
            if library == "core" and (header.startswith("Q") or header.startswith("qt")):
                faults.append(f"{rel}: core must not include Qt (<{header}>)")
            elif library == "render" and header in widget_headers:
                faults.append(f"{rel}: render must not include Qt Widgets or PrintSupport (<{header}>)")
    faults += circles(edges)
    return faults


def circles(edges):
    graph = {}
    for a, b in edges:
        graph.setdefault(a, set()).add(b)

    def shortest_circle(start):
        paths, seen = [[start]], {start}
        while paths:
            longer = []
            for p in paths:
                for n in sorted(graph.get(p[-1], ())):
                    if n == start:
                        return p + [start]
                    if n not in seen:
                        seen.add(n)
                        longer.append(p + [n])
            paths = longer
        return None

    found, reported = [], set()
    for folder in sorted(graph):
        circle = shortest_circle(folder)
        if not circle or frozenset(circle) in reported:
            continue
        reported.add(frozenset(circle))
        lines = ["include circle: " + " -> ".join(circle)]
        lines += [f"  {a} -> {b}: " + ", ".join(sorted(edges[(a, b)])) for a, b in zip(circle, circle[1:])]
        found.append("\n".join(lines))
    return found


if __name__ == "__main__":
    src = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src"
    faults = check(src.resolve())
    for fault in faults:
        print(fault)
    sys.exit(1 if faults else 0)
