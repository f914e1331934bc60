// The state under the mouse on the chart and the points a pixel reproduces.
#pragma once

#include "chart/ChartGeometry.h"

class ID_lib;
class RecordTableStore;

// The read-out of one pixel: its (d, i) and the library's state there.
// Beyond the saturation curve (and left of d = 0) t, RH and ts are 0.
struct ChartReadout {
    ChartState state; // d in g/kg, i in kJ/kg
    double t = 0;     // dry bulb, ℃
    double RH = 0;    // relative humidity, %
    double ts = 0;    // wet bulb, ℃
};

// Reads the state at a pixel with lib's pressure and coefficient. Computed on
// a silent copy of lib: a read-out follows every mouse movement, and a
// message box per movement (off the left of the frame the vapour pressure has
// no dew point) would make the chart unusable. lib itself is untouched.
ChartReadout ReadOutAt(const ID_lib& lib, QPoint pixel);

// True when a point of the table has exactly this (D, I) as stored: only
// points placed by a click land on values a pixel reproduces. Scans from the
// first record with grid updates suspended.
bool PlacedPointAt(RecordTableStore& table, ChartState state);
