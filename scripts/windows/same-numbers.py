#!/usr/bin/env python3
"""Compares two CSV results of ventacalc-cli row by row: every text field the
same, every number the same when rounded to 2 decimals (as the windows and
reports show them) and within 4 ulps at full precision. Prints how many rows
differ in their last digits.
    same-numbers.py A.csv B.csv"""
import csv
import math
import sys

ULPS = 4
a = list(csv.reader(open(sys.argv[1], newline="")))
b = list(csv.reader(open(sys.argv[2], newline="")))
faults = []
last_digits = 0
if len(a) != len(b) or a[:1] != b[:1]:
    faults.append(f"{len(a)} and {len(b)} rows, headers {a[:1]} and {b[:1]}")
for n, (x, y) in enumerate(zip(a[1:], b[1:]), start=2):
    differs = False
    for u, v in zip(x, y):
        if u == v:
            continue
        try:
            fu, fv = float(u), float(v)
        except ValueError:
            faults.append(f"row {n}: {u!r} != {v!r}")
            continue
        differs = True
        if f"{fu:.2f}" != f"{fv:.2f}" or abs(fu - fv) > ULPS * math.ulp(max(abs(fu), abs(fv))):
            faults.append(f"row {n}: {u} != {v}")
    last_digits += differs
for line in faults[:20]:
    print("      " + line)
print(f"      {last_digits} of {len(a) - 1} rows differ in their last digits")
sys.exit(1 if faults else 0)
