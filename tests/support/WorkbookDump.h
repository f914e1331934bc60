// A results workbook read back with openpyxl (tests/support/xlsx_dump.py).
#pragma once

#include <QJsonObject>
#include <QString>

// The dump's object, of the sheet at index `sheet` (from 0): "title",
// "sheets" (their number), "sheetNames", "cells" ({"A1": {"value", "format", "align",
// "font", "size", "borders"}}), "merged", "widths", "columnFonts", "maxRow",
// "page" ({"orientation", "paper", "fitToPage", "fitToWidth", "fitToHeight",
// "titleRows" ("$17:$18"), "footer" ({"left": {"text", "font"}, "center",
// "right"}), "margins" (inches: "left", "right", "top", "bottom",
// "footer")}). Empty when the file could not be read.
QJsonObject DumpWorkbook(const QString& path, int sheet = 0);
// A cell's value as text ("" for none; a number in its shortest form).
QString CellText(const QJsonObject& dump, const QString& cell);
