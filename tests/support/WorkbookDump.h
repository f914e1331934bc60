// A results workbook read back with openpyxl (tests/support/xlsx_dump.py).
#pragma once

#include <QJsonObject>
#include <QString>

// The dump's object: "title", "cells" ({"A1": {"value", "format", "align",
// "size", "borders"}}), "merged", "widths", "maxRow". Empty when the file
// could not be read.
QJsonObject DumpWorkbook(const QString& path);
// A cell's value as text ("" for none; a number in its shortest form).
QString CellText(const QJsonObject& dump, const QString& cell);
