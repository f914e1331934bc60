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

#include "app/ResultsWorkbook.h"
#include "app/SegmentLoops.h"
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

struct DuctWorkbookHeading {
    QString time;            // "计算时间"
    QString projectFileName; // "文件名": empty without a project
    AirProperties air;
};

// Columns A–N, rows 1–13, one row per segment from row 14.
const WorkbookLayout& DuctWorkbookLayout();
QStringList DuctWorkbookHeadingValues(const DuctWorkbookHeading& heading, double totalResistance);
// Writes the workbook of the segment table's records (throws UserError).
void WriteDuctWorkbook(const QString& path, const DuctWorkbookHeading& heading,
                       const RecordTableStore& table);
// The same from the records of a table read one at a time (a table too large
// to hold; see StreamResultsWorkbook).
void WriteDuctWorkbook(const QString& path, const DuctWorkbookHeading& heading,
                       const TableDeclaration& declaration, const RecordSource& records);

// The same with the "环路" sheet of the loops after the segment sheet; with
// no loops the workbook above.
void WriteDuctWorkbook(const QString& path, const DuctWorkbookHeading& heading,
                       const TableDeclaration& declaration, const RecordSource& records,
                       const SegmentLoops& loops);
void WriteDuctWorkbook(const QString& path, const DuctWorkbookHeading& heading,
                       const RecordTableStore& table, const SegmentLoops& loops);
