#!/usr/bin/python3
# Prints a workbook's first sheet as JSON for the workbook tests: every cell
# written (value, number format, alignment, font size, borders), the merged
# ranges, the column widths and the document title.
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
cells = {}
for row in sheet.iter_rows():
    for cell in row:
        if cell.has_style or cell.value is not None:
            b = cell.border
            sides = "".join(letter for letter, side in
                            (("T", b.top), ("L", b.left), ("R", b.right), ("B", b.bottom))
                            if side is not None and side.style == "thin")
            cells[cell.coordinate] = {
                "value": cell.value,
                "format": cell.number_format,
                "align": cell.alignment.horizontal,
                "size": cell.font.sz,
                "borders": sides,
            }
print(json.dumps({
    "title": book.properties.title,
    "sheets": len(book.worksheets),
    "cells": cells,
    "merged": sorted(str(r) for r in sheet.merged_cells.ranges),
    "widths": {k: v.width for k, v in sheet.column_dimensions.items()},
    "maxRow": sheet.max_row,
}, ensure_ascii=False))
