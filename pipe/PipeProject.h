// A water pipe project: the project file (.gzl) and the results workbook.
//
// The .gzl file holds three GBK lines, each ended by CR LF, written once when
// the project is created: the pipe type name, the supply temperature text and
// the return temperature text, as the window held them. Opening the project
// puts them back into the window; the segment table is the .DB beside it
// (app/SegmentProject.h).
#pragma once

#include "app/ResultsWorkbook.h"
#include "app/SegmentLoops.h"
#include "pipe/PipeSegment.h"

#include <QString>
#include <QStringList>

inline constexpr char PipeProjectExtension[] = "gzl";

struct PipeProjectSettings {
    QString pipeType;   // ComboBox_pipe
    QString supplyTemp; // Edit_T1
    QString returnTemp; // Edit_T2
};
QStringList PipeProjectLines(const PipeProjectSettings& settings);
// From the lines ReadProjectLines(path, PipeProjectLineCount) read.
inline constexpr int PipeProjectLineCount = 3;
PipeProjectSettings PipeProjectFromLines(const QStringList& lines);

// What the workbook's heading shows besides the table's total resistance.
struct PipeWorkbookHeading {
    QString time;            // "计算时间"
    QString projectFileName; // "文件名": empty without a project
    PipeProjectSettings settings;
    double meanTemperature = 0; // ℃
    WaterState water;
};

// Columns A–M, rows 1–18, one row per segment from row 19.
const WorkbookLayout& PipeWorkbookLayout();
QStringList PipeWorkbookHeadingValues(const PipeWorkbookHeading& heading, double totalResistance);
// Writes the workbook of the segment table's records (throws UserError).
void WritePipeWorkbook(const QString& path, const PipeWorkbookHeading& heading,
                       const RecordTableStore& table);
// The same from the records of a table read one at a time (a table too large
// to hold; see StreamResultsWorkbook).
void WritePipeWorkbook(const QString& path, const PipeWorkbookHeading& heading,
                       const TableDeclaration& declaration, const RecordSource& records);

// The same with the "环路" sheet of the loops after the segment sheet; with
// no loops the workbook above.
void WritePipeWorkbook(const QString& path, const PipeWorkbookHeading& heading,
                       const TableDeclaration& declaration, const RecordSource& records,
                       const SegmentLoops& loops);
void WritePipeWorkbook(const QString& path, const PipeWorkbookHeading& heading,
                       const RecordTableStore& table, const SegmentLoops& loops);
