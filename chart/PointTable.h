// The chart's point table: one record per named state point, in the order the
// points were first stored. The scratch copy is id_tu.DB in the data
// directory; the user saves it to and opens it from files of their own.
//
// The point tools look points up by name (an exact, case-sensitive match on
// the stored name; the first match wins) and store a point by editing the
// record of that name or appending one. Names are cut to 4 characters when
// stored, so "ABCDE" is stored as "ABCD" and a later lookup of "ABCDE" fails.
#pragma once

#include "app/RecordTableStore.h"
#include "psychro/ID_lib.h"

#include <QString>
#include <QStringList>
#include <vector>

// The scratch table's file name in the data directory.
inline constexpr char PointTableFileName[] = "id_tu.DB";

// Fields No (text of 4), T, RH, Ts, D, I, Ruo, Tv, P with their grid titles,
// widths and display patterns.
const TableDeclaration& PointTableDeclaration();

// Makes the first record whose No equals `name` current and returns true;
// returns false at eof when no record matches. Grid updates are suspended
// during the scan.
bool FindPoint(RecordTableStore& table, const QString& name);

// The current record as a point (throws UserError at eof).
StatePoint CurrentPoint(const RecordTableStore& table);

// Stores the point under point.No: edits the record found by that name or
// appends a new one, sets No and the eight quantities, posts. The stored
// record is current afterwards.
void StorePoint(RecordTableStore& table, const StatePoint& point);

// Deletes the first record named `name`; false (nothing changed) when none.
bool DeletePoint(RecordTableStore& table, const QString& name);

// Deletes every record (the window's emptying on showing).
void DeleteAllPoints(RecordTableStore& table);

// Every point in table order. Leaves the table at eof.
std::vector<StatePoint> ReadPoints(RecordTableStore& table);

// How a point report is headed and indented. The chart window's report is
// the default; the treatment view's has its own title and rule, and its
// printed form indents the points by one more space.
struct PointReportStyle {
    QString title = QStringLiteral("湿空气状态参数计算");
    int ruleLength = 9; // heavy rule characters "━" under the title
    int indent = 4;     // spaces before each point's name
};

// The state-point report: header, one line per point, closing dash line (11
// lines for no points). `pressureText` is the local-pressure field's text as
// the user typed it.
QStringList PointReportLines(const std::vector<StatePoint>& points, const QString& pressureText,
                             const PointReportStyle& style = {});
