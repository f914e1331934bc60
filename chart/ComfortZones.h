// The indoor design ranges for comfort air conditioning of GB 50736-2012
// (table 3.0.2) as regions of the i–d chart: each bounded by two isotherms and
// two relative-humidity curves, computed with the moist-air library at the
// local pressure and mapped through the chart's own StateToPixel, so that the
// regions sit on the grid the chart draws. No widgets.
#pragma once

#include "psychro/ID_lib.h"

#include <QPoint>
#include <QPolygon>
#include <QString>
#include <array>
#include <vector>

class QPainter;

// One row of the table. A range with no humidity limit runs from dry air
// (RH 0 %, the chart's left edge) to saturation (100 %).
struct ComfortZone {
    enum Season { Heating, Cooling } season;
    int level;       // 1 or 2 (the code's levels I and II)
    double tLow;     // ℃
    double tHigh;    // ℃
    double RHLow;    // %
    double RHHigh;   // %
    double airSpeed; // greatest air speed, m/s (for the help's table; not drawn)
    const char16_t* label;
};

// Heating I 22–24 ℃ RH ≥ 30 %, heating II 18–22 ℃, cooling I 24–26 ℃
// RH 40–60 %, cooling II 26–28 ℃ RH ≤ 70 %.
const std::array<ComfortZone, 4>& ComfortZones();

// A zone on the chart, in image pixels.
struct ComfortZoneOutline {
    const ComfortZone* zone = nullptr;
    // (tLow, RHLow), (tLow, RHHigh), (tHigh, RHHigh), (tHigh, RHLow).
    std::array<QPoint, 4> corners;
    // The corners joined along the isotherm tLow, the RHHigh curve, the
    // isotherm tHigh and the RHLow curve (curves sampled every 0.25 ℃).
    QPolygon outline;
};

// The four outlines at lib's AtmPressure and PsychroCoefficient; lib is left
// untouched (the states are computed on a copy, whose messages are dropped:
// the ranges lie well inside the library's range at any usable pressure).
std::vector<ComfortZoneOutline> ComfortZoneOutlines(const ID_lib& lib);

// The zones as translucent regions with their outlines, then their labels.
void DrawComfortZones(QPainter& painter, const std::vector<ComfortZoneOutline>& outlines);
