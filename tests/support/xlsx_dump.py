#!/usr/bin/python3
# Prints a workbook's first sheet (or the one of the index given after the
# path) as JSON for the workbook tests: every cell
# written (value, number format, alignment, font name and size, borders), the
# merged ranges, the column widths and their fonts, the document title and
# the printed page (orientation, paper, fit, rows repeated, footer, margins).
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[int(sys.argv[2]) if len(sys.argv) > 2 else 0]
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
                "font": cell.font.name,
                "size": cell.font.sz,
                "borders": sides,
            }
setup = sheet.page_setup
footer = sheet.oddFooter
margins = sheet.page_margins
page = {
    "orientation": setup.orientation,
    "paper": int(setup.paperSize) if setup.paperSize is not None else None,
    "fitToPage": bool(sheet.sheet_properties.pageSetUpPr is not None
                      and sheet.sheet_properties.pageSetUpPr.fitToPage),
    # A count left out of the file is the format's default, one page.
    "fitToWidth": 1 if setup.fitToWidth is None else int(setup.fitToWidth),
    "fitToHeight": 1 if setup.fitToHeight is None else int(setup.fitToHeight),
    "titleRows": sheet.print_title_rows,
    "footer": {part: {"text": getattr(footer, part).text, "font": getattr(footer, part).font}
               for part in ("left", "center", "right")},
    "margins": {side: getattr(margins, side)
                for side in ("left", "right", "top", "bottom", "footer")},
}
print(json.dumps({
    "title": book.properties.title,
    "sheets": len(book.worksheets),
    "sheetNames": book.sheetnames,
    "cells": cells,
    "merged": sorted(str(r) for r in sheet.merged_cells.ranges),
    "widths": {k: v.width for k, v in sheet.column_dimensions.items()},
    "columnFonts": {k: v.font.name for k, v in sheet.column_dimensions.items()},
    "page": page,
    "maxRow": sheet.max_row,
}, ensure_ascii=False))
