// A water pipe project: the project file (.gzl) and the results workbook.
//
// The .gzl file holds three GBK lines, each ended by CR LF, written once when
// the project is created: the pipe type name, the supply temperature text and
// the return temperature text, as the window held them. Opening the project
// puts them back into the window; the segment table is the .DB beside it
// (app/SegmentProject.h).
#pragma once

#include "app/SegmentProject.h"
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
struct PipeWorkbookHeading : SegmentWorkbookHeading {
    PipeProjectSettings settings;
    double meanTemperature = 0; // ℃
    WaterState water;
};

// Columns A–M, rows 1–18, one row per segment from row 19.
const WorkbookLayout& PipeWorkbookLayout();
QStringList PipeWorkbookHeadingValues(const PipeWorkbookHeading& heading, double totalResistance);
// WritePipeWorkbook(path, heading, table), or (path, heading, declaration,
// records) for records read one at a time; either with the loops after them
// for the "环路" sheet (app/SegmentProject.h).
inline constexpr SegmentWorkbook<PipeWorkbookHeading> WritePipeWorkbook{
    &PipeWorkbookLayout, &PipeWorkbookHeadingValues, "水管环路计算结果表", "Pipe_No"};
