#!/usr/bin/env python3
"""Fails when folders under src/ include each other in a circle (a -> b -> a, or longer), so that the
libraries stay layered. Prints each circle with the files that make its steps."""
import re
import sys
from pathlib import Path

src = Path(__file__).resolve().parent.parent / "src"
include = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/', re.MULTILINE)

edges = {}  # (from folder, to folder) -> files of `from` that include `to`
for path in sorted(src.rglob("*")):
    if path.suffix not in (".h", ".cpp") or not path.is_file():
        continue
    folder = path.relative_to(src).parts[0]
    for target in include.findall(path.read_text(encoding="utf-8", errors="replace")):
        if target != folder and (src / target).is_dir():
            edges.setdefault((folder, target), set()).add(str(path.relative_to(src)))

graph = {}
for a, b in edges:
    graph.setdefault(a, set()).add(b)


def find_circle(start):
    """A shortest path of includes from `start` back to itself, or None."""
    paths = [[start]]
    seen = {start}
    while paths:
        next_paths = []
        for p in paths:
            for n in sorted(graph.get(p[-1], ())):
                if n == start:
                    return p + [start]
                if n not in seen:
                    seen.add(n)
                    next_paths.append(p + [n])
        paths = next_paths
    return None


reported = set()
for folder in sorted(graph):
    circle = find_circle(folder)
    if not circle or frozenset(circle) in reported:
        continue
    reported.add(frozenset(circle))
    print("include circle: " + " -> ".join("src/" + f for f in circle))
    for a, b in zip(circle, circle[1:]):
        print(f"  {a} -> {b}: " + ", ".join(sorted(edges[(a, b)])))
sys.exit(1 if reported else 0)
