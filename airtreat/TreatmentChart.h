// The treatment process on the i–d chart: the state points of the last air
// treatment calculation marked and labelled, joined by the process lines, and
// each point's full state for the view's point list (Form_IDTu_Treat).
//
// The points and lines come in drawing order:
//   N, W, [W" with Kind 2 or 3], the line N–W (through W" with Kind 2 or 3),
//   C, L, the line C–L, O, the lines O–L and O–N,
//   [O" and the lines O–O" and O"–N with Kind 3 or 4].
// Process 1 thus shows the mixing line N–W through C, the cooling line C–L,
// the reheating line L–O and the room line O–N; process 4 also the reheating
// O–O" and the room line O"–N.
#pragma once

#include "airtreat/TreatmentCalc.h"
#include "app/RecordTableStore.h"
#include "chart/PointTable.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <vector>

class ID_lib;
class QPainter;

// The view's own scratch point table in the data directory: showing the view
// empties it, and never the chart window's id_tu.DB.
inline constexpr char TreatPointTableFileName[] = "id_treat.DB";

// The point table's fields (those of the chart window's table) with the
// view's grid: every number "0.00" and centred.
const TableDeclaration& TreatPointTableDeclaration();

// One step of the drawing: a point or a line.
struct TreatmentChartStep {
    enum What { Point, Line } what = Point;
    // Point: its label, its state (d kg/kg dry air, i kJ/kg dry air, as the
    // calculation left them) and where its label's top-left corner goes from
    // the point's pixel.
    QString name;
    double d = 0;
    double i = 0;
    QPoint labelOffset;
    // Line: the labels of the points it joins, in order (more than two for a
    // line through the preheated air).
    QStringList through;
};

// The steps for a calculation's points and Kind.
std::vector<TreatmentChartStep> TreatmentChartSteps(const TreatmentResult& result);

// Marks the points (red, label at its offset) and draws the process lines
// (blue, width 1) in the steps' order, through the chart's mapping.
void DrawTreatmentChart(QPainter& painter, const std::vector<TreatmentChartStep>& steps);

// The point records, in the steps' order: for each point
// StateOfProcessPoint(d, i) and its CurrentState, with D = d × 1000 (g/kg) and I = i as they place
// the point. Messages of a failed iteration go to lib's sink; the zeros it leaves are recorded, as
// the library gives them.
std::vector<StatePoint> TreatmentPointRecords(ID_lib& lib,
                                              const std::vector<TreatmentChartStep>& steps);

// The view's point report: titled "空气处理过程湿空气状态参数" with a rule of
// 13, the points indented by 4 spaces in the text file and by 5 on paper.
enum class ReportTarget { File, Printer };
PointReportStyle TreatmentReportStyle(ReportTarget target);
