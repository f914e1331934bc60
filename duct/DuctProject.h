// A duct project: the project file (.dzl) and the results workbook.
//
// The .dzl file holds three lines, each ended by CR LF, each one number: the
// air's kinematic viscosity ν (m²/s), its density ρ (kg/m³) and the wall
// roughness K (mm): the air the project's segments are computed with. They
// are written when the project is created and whenever the air is changed
// while it is open, in the 23-character scientific form
// " 1.50600000000000E-0005"; reading accepts any decimal number on each line.
// The segment table is the .DB beside it (app/SegmentProject.h).
#pragma once

#include "app/SegmentProject.h"
#include "duct/DuctSegment.h"

#include <QString>
#include <QStringList>

inline constexpr char DuctProjectExtension[] = "dzl";
inline constexpr int DuctProjectLineCount = 3;

// A space or a minus sign, one digit, a point, 14 digits, "E", the exponent's
// sign and four exponent digits.
QString ProjectNumberText(double value);
QStringList DuctProjectLines(const AirProperties& air);
// Throws ConversionError for a line that is no number ("工程文件的" and the
// field as the advanced dialog names it) and UserError for air
// the advanced dialog refuses (ν ≤ 0, ρ ≤ 0, K < 0).
AirProperties DuctProjectFromLines(const QStringList& lines);
// Replaces the project file at path with one holding air, as a whole or not
// at all: a failed write leaves the old file. Throws UserError.
void WriteDuctProjectFile(const QString& path, const AirProperties& air);

struct DuctWorkbookHeading : SegmentWorkbookHeading {
    AirProperties air;
};

// Columns A–N, rows 1–13, one row per segment from row 14.
const WorkbookLayout& DuctWorkbookLayout();
QStringList DuctWorkbookHeadingValues(const DuctWorkbookHeading& heading, double totalResistance);
// WriteDuctWorkbook(path, heading, table), or (path, heading, declaration,
// records) for records read one at a time; either with the loops after them
// for the "环路" sheet (app/SegmentProject.h).
inline constexpr SegmentWorkbook<DuctWorkbookHeading> WriteDuctWorkbook{
    &DuctWorkbookLayout, &DuctWorkbookHeadingValues, "风管环路计算结果表", "Duct_No"};
