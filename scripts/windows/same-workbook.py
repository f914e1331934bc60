#!/usr/bin/env python3
"""Compares two results workbooks cell by cell (every sheet, every value, the
merged ranges), except the time of day each was written at.
    same-workbook.py A.xlsx B.xlsx   (status 1 and the first differences when they differ)"""
import re
import sys

import openpyxl

TIME = re.compile(r"^(计算时间[:：]\s*)?\d{1,2}:\d{2}:\d{2}( ?[AP]M)?$")


def cells(path):
    book = openpyxl.load_workbook(path)
    found = {}
    for sheet in book.worksheets:
        found[(sheet.title, "merged")] = sorted(str(r) for r in sheet.merged_cells.ranges)
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is not None:
                    found[(sheet.title, cell.coordinate)] = cell.value
    return found


a, b = cells(sys.argv[1]), cells(sys.argv[2])
differences = []
for key in sorted(set(a) | set(b), key=str):
    left, right = a.get(key), b.get(key)
    if left == right:
        continue
    if isinstance(left, str) and isinstance(right, str) and TIME.match(left) and TIME.match(right):
        continue
    differences.append(f"{key}: {left!r} != {right!r}")
for line in differences[:20]:
    print("      " + line)
sys.exit(1 if differences else 0)
