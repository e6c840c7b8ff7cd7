#!/usr/bin/env python3
"""Compares what two builds of veltrano-cli printed for the same evaluations.

usage: compare-evaluations.py [--tolerance T] EXPECTED_DIR ACTUAL_DIR
       compare-evaluations.py [--tolerance T] --cigarette-files EXPECTED.cig ACTUAL.cig

Every NAME.json in EXPECTED_DIR must have its twin in ACTUAL_DIR with the same members in the same order,
lists of the same length, the same texts and every number within T relative (1e-4 by default: the
model's shooting tolerance, which one ulp of another math library's pow can use up to about 1e-5). The
outputs must also be plain bytes: a carriage return means standard output was in text mode. Prints the
largest relative difference and where it is; exits with 1 on any mismatch.

With --cigarette-files it compares two cigarette files that two builds of the program saved: the same
size, the same information text, and each design's fields, which all take 8 bytes at offsets that are
multiples of 8, equal or, where both are numbers, within T relative. A field whose bytes read as no
normal number (a whole number with its padding, the magic) must be equal.
"""
import argparse
import json
import math
import pathlib
import struct
import sys

DESIGN_SIZE = 4168
DESIGNS = ("reference", "workingReference", "current")

# Below this magnitude two numbers count as equal: rounding noise around zero has no relative size.
NEGLIGIBLE = 1e-12


def is_number(value):
    return isinstance(value, (int, float)) and not isinstance(value, bool)


def relative_difference(a, b):
    scale = max(abs(a), abs(b))
    if scale < NEGLIGIBLE:
        return 0.0
    return abs(a - b) / scale


class Comparison:
    def __init__(self, tolerance):
        self.tolerance = tolerance
        self.largest = (0.0, "")
        self.mismatches = []

    def mismatch(self, where, text):
        self.mismatches.append(f"{where}: {text}")

    def compare(self, where, expected, actual):
        if is_number(expected) and is_number(actual):
            difference = relative_difference(expected, actual)
            if difference > self.largest[0]:
                self.largest = (difference, where)
            if difference > self.tolerance:
                self.mismatch(where, f"{expected!r} against {actual!r} ({difference:.3g} relative)")
        elif isinstance(expected, dict) and isinstance(actual, dict):
            if list(expected) != list(actual):
                self.mismatch(where, f"members {list(expected)} against {list(actual)}")
                return
            for key in expected:
                self.compare(f"{where}.{key}", expected[key], actual[key])
        elif isinstance(expected, list) and isinstance(actual, list):
            if len(expected) != len(actual):
                self.mismatch(where, f"{len(expected)} entries against {len(actual)}")
                return
            for i, (e, a) in enumerate(zip(expected, actual)):
                self.compare(f"{where}[{i}]", e, a)
        elif type(expected) is not type(actual) or expected != actual:
            self.mismatch(where, f"{expected!r} against {actual!r}")


def is_normal_number(value):
    return math.isfinite(value) and (value == 0.0 or abs(value) >= sys.float_info.min)


def compare_cigarette_files(comparison, expected_path, actual_path):
    expected, actual = expected_path.read_bytes(), actual_path.read_bytes()
    for path, data in ((expected_path, expected), (actual_path, actual)):
        if len(data) != len(DESIGNS) * DESIGN_SIZE + 512:
            comparison.mismatch(str(path), f"{len(data)} bytes: no cigarette file")
    if comparison.mismatches:
        return
    for index, design in enumerate(DESIGNS):
        start = index * DESIGN_SIZE
        for offset in range(0, DESIGN_SIZE, 8):
            e, a = expected[start + offset:start + offset + 8], actual[start + offset:start + offset + 8]
            if e == a:
                continue
            where = f"{design} at byte {offset}"
            (e_value,), (a_value,) = struct.unpack("<d", e), struct.unpack("<d", a)
            if is_normal_number(e_value) and is_normal_number(a_value):
                comparison.compare(where, e_value, a_value)
            else:
                comparison.mismatch(where, f"bytes {e.hex()} against {a.hex()}")
    if expected[len(DESIGNS) * DESIGN_SIZE:] != actual[len(DESIGNS) * DESIGN_SIZE:]:
        comparison.mismatch("informationText", "differs")


def report(comparison, what, tolerance):
    difference, where = comparison.largest
    print(f"{what} compared; largest relative difference {difference:.3g}" + (f" ({where})" if where else ""))
    for line in comparison.mismatches[:20]:
        print("mismatch: " + line)
    if comparison.mismatches:
        print(f"{len(comparison.mismatches)} mismatches beyond {tolerance:g} relative")
        sys.exit(1)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--tolerance", type=float, default=1e-4)
    parser.add_argument("--cigarette-files", action="store_true")
    parser.add_argument("expected", type=pathlib.Path)
    parser.add_argument("actual", type=pathlib.Path)
    args = parser.parse_args()

    comparison = Comparison(args.tolerance)
    if args.cigarette_files:
        compare_cigarette_files(comparison, args.expected, args.actual)
        report(comparison, "two cigarette files", args.tolerance)
        return
    files = sorted(args.expected.glob("*.json"))
    if not files:
        sys.exit(f"no evaluations in {args.expected}")
    for expected_file in files:
        actual_file = args.actual / expected_file.name
        if not actual_file.is_file():
            comparison.mismatch(expected_file.stem, f"{actual_file} is missing")
            continue
        actual_bytes = actual_file.read_bytes()
        if b"\r" in actual_bytes:
            comparison.mismatch(expected_file.stem, "holds a carriage return: standard output is not binary")
        comparison.compare(
            expected_file.stem, json.loads(expected_file.read_bytes()), json.loads(actual_bytes)
        )

    report(comparison, f"{len(files)} evaluations", args.tolerance)


if __name__ == "__main__":
    main()
