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
// The sheet is written row by row into a scratch file beside the target (the
// library's constant-memory mode), so memory stays flat however many records
// there are: the records are read twice, first for the heading's total, then
// for the rows (the column widths follow them in the file). Texts are stored
// in their cells (inline), not in a shared table.
//
// Printed, the sheet is A4 landscape, shrunk to one page wide and as many
// pages tall as the records need; the column titles and units head every
// page, and the footer names the table (left) and the page ("第 1 页，共 2
// 页", right).
#pragma once

#include "app/RecordTableStore.h"

#include <QString>
#include <QStringList>
#include <functional>
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
    QString totalField{}; // a number field whose sum the heading shows; empty: none
};

// Hands every record of a table, in table order, to the visitor; a workbook
// reads its records twice and needs the same records both times. Whatever a
// source throws while reading passes through the writer unchanged.
using RecordVisitor = std::function<void(const RecordTableStore::Record&)>;
using RecordSource = std::function<void(const RecordVisitor& visit)>;
// The records of a table held in memory (an open table's records()); they
// must outlive the source.
RecordSource LoadedRecords(const std::vector<RecordTableStore::Record>& records);

// The heading's values, one per heading row, from the sum of the layout's
// totalField over the records (a field holding nothing adds 0).
using WorkbookHeadingValues = std::function<QStringList(double total)>;

// The document title every results workbook carries in its properties.
inline constexpr char ResultsWorkbookDocumentTitle[] = "采暖和空调管道阻力计算结果表";

// The label followed by spaces up to `bytes` bytes in GBK (unchanged when it
// is as long or longer).
QString PaddedLabel(const QString& label, int bytes);

// Writes the workbook to `path`: built in a temporary file and then written in
// full beside `path` and renamed over it, so a failure leaves an existing
// file as it was. `headingValues` follow the heading labels, one per heading
// row (missing ones are empty). Throws UserError: FileWriteError for
// anything that stops the file being written.
void WriteResultsWorkbook(const QString& path, const WorkbookLayout& layout,
                          const QStringList& headingValues, const TableDeclaration& declaration,
                          const std::vector<RecordTableStore::Record>& records);
// The same from records read one at a time: the first read comes before the
// temporary file is made, so a source that refuses its records then leaves
// nothing behind; one that fails in the second read leaves the target as it
// was too.
void StreamResultsWorkbook(const QString& path, const WorkbookLayout& layout,
                           const WorkbookHeadingValues& headingValues,
                           const TableDeclaration& declaration, const RecordSource& records);

// One sheet of a workbook of several: the name on its tab (empty: the
// library's own, "Sheet1", "Sheet2", …; at most 31 characters, none of
// []:*?/\), and what StreamResultsWorkbook takes for its one sheet.
struct WorkbookSheet {
    QString name;
    WorkbookLayout layout;
    WorkbookHeadingValues headingValues; // empty: no values
    TableDeclaration declaration;
    RecordSource records;
};

// Writes the sheets, in their order, into one workbook at `path`, each as
// StreamResultsWorkbook writes its sheet, with `documentTitle` in the
// workbook's properties. Every sheet's records are read first, before the
// temporary file is made; then each sheet is written whole in turn, its rows
// through its own scratch file. The same checked, all-or-nothing replacement
// of the target. Throws FileWriteError.
void WriteResultsWorkbookSheets(
    const QString& path, const std::vector<WorkbookSheet>& sheets,
    const QString& documentTitle = QString::fromUtf8(ResultsWorkbookDocumentTitle));
