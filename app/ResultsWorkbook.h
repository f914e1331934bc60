// The results workbook of a resistance calculation: one worksheet with a
// title, a heading of labelled values, a row of column titles, a row of units
// and one row per record of the segment table. What differs between the
// calculators is described by a WorkbookLayout; WriteResultsWorkbook() writes
// any of them.
//
// The sheet, by rows (1-based; columns A to the last column of the layout):
//   1                 the title, merged across, centred, font size 16
//   3 …               the heading rows: label padded with spaces to its GBK
//                     width, then the value; each merged across, left-aligned
//   titleRow          column titles \ centred; each column's pair of cells
//   titleRow + 1      units         / with top, left and right borders
//   titleRow + 2 …    one row per record: each field as its column formats
//                     it; the block centred with thin borders all round
// Columns are as wide as their titles, units and data (a CJK character counts
// two). A number shows the column's display pattern and is stored as the
// number it shows; a text is written whole; a field holding nothing is an
// empty cell. Every cell is in 宋体.
//
// Printed, the sheet is A4 landscape, shrunk to one page wide and as many
// pages tall as the records need; the column titles and units head every
// page, and the footer names the table (left) and the page ("第 1 页，共 2
// 页", right).
#pragma once

#include "app/RecordTableStore.h"

#include <QString>
#include <QStringList>
#include <vector>

struct WorkbookHeadingRow {
    QString label;
    int padBytes = 0; // the label's width in GBK bytes; 0: as it stands
};

struct WorkbookColumn {
    QString title;
    QString unit;
    QString field;   // a field of the table, by name
    QString pattern; // display pattern of a number ("0.0"); empty: the field's text
};

struct WorkbookLayout {
    QString title;
    std::vector<WorkbookHeadingRow> headings; // rows 3, 4, …
    int titleRow = 0;                         // 1-based
    std::vector<WorkbookColumn> columns;
};

// The document title every results workbook carries in its properties.
inline constexpr char ResultsWorkbookDocumentTitle[] = "采暖和空调管道阻力计算结果表";

// The label followed by spaces up to `bytes` bytes in GBK (unchanged when it
// is as long or longer).
QString PaddedLabel(const QString& label, int bytes);

// The sum of a number field over the records (a field holding nothing adds 0).
double FieldSum(const TableDeclaration& declaration,
                const std::vector<RecordTableStore::Record>& records, const QString& field);

// Writes the workbook to `path`: built in a temporary file and then written in
// full beside `path` and renamed over it, so a failure leaves an existing
// file as it was. `headingValues` follow the heading labels, one per heading
// row (missing ones are empty). Throws UserError.
void WriteResultsWorkbook(const QString& path, const WorkbookLayout& layout,
                          const QStringList& headingValues, const TableDeclaration& declaration,
                          const std::vector<RecordTableStore::Record>& records);
