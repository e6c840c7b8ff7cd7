#!/usr/bin/env python3
"""The include check on small planted trees: it passes a tree that keeps the layers and refuses each kind
of wrong include."""
import importlib.util
import sys
import tempfile
import unittest
from pathlib import Path

spec = importlib.util.spec_from_file_location("check_includes", Path(sys.argv.pop(1)))
check_includes = importlib.util.module_from_spec(spec)
spec.loader.exec_module(check_includes)


def faults_of(files):
    """The faults the check finds in a tree of `files` ({path from src/: text})."""
    with tempfile.TemporaryDirectory() as folder:
        src = Path(folder)
        for name, text in files.items():
            (src / name).parent.mkdir(parents=True, exist_ok=True)
            (src / name).write_text(text)
        return check_includes.check(src)


LAYERED = {
    "core/model/Model.h": '#include <vector>\n#include "core/design/Design.h"\n',
    "core/design/Design.h": "#pragma once\n",
    "render/views/View.cpp": '#include <QPainter>\n#include "core/model/Model.h"\n',
    "ui/shell/Window.cpp": '#include <QWidget>\n#include "render/views/View.cpp"\n#include "ui/shell/BuildDate.h"\n',
}


class IncludeCheck(unittest.TestCase):
    def test_a_layered_tree_passes(self):
        self.assertEqual(faults_of(LAYERED), [])

    def test_each_wrong_include_is_refused(self):
        cases = [
            ("core/model/Model.h", '#include "render/views/View.cpp"\n', "core must not include render"),
            ("core/model/Model.h", '#include "ui/shell/Window.cpp"\n', "core must not include ui"),
            ("render/views/View.cpp", '#include "ui/shell/Window.cpp"\n', "render must not include ui"),
            ("core/model/Model.h", "#include <QString>\n", "core must not include Qt"),
            ("render/views/View.cpp", "#include <QDialog>\n", "render must not include Qt Widgets"),
            ("core/model/Model.h", '#include "Design.h"\n', "is not a path from src/"),
            ("core/model/Model.h", '#include "design/Design.h"\n', "is not a path from src/"),
            ("core/design/Design.h", '#include "core/model/Model.h"\n', "include circle: core/design -> core/model"),
        ]
        for path, line, expected in cases:
            with self.subTest(path=path, line=line):
                tree = dict(LAYERED)
                tree[path] += line
                faults = faults_of(tree)
                self.assertTrue(any(expected in f for f in faults), faults)

    def test_a_file_outside_the_libraries_is_refused(self):
        self.assertTrue(faults_of({**LAYERED, "stray/File.cpp": ""}))


if __name__ == "__main__":
    unittest.main()
