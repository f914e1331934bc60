// The states the point tools construct from points already on the chart.
#pragma once

#include "chart/ChartGeometry.h"

#include <optional>

// The mixing point of two air streams, weighted by their air volumes as
// entered (m³/h; volume flows, not mass flows): on the line between the two
// states, flow2 / (flow1 + flow2) of the way from first to second. None when
// the volumes sum to zero.
std::optional<ChartState> MixingPoint(ChartState first, double flow1, ChartState second,
                                      double flow2);

// The far end of the heat-moisture-ratio line through room: the line of
// slope Δi/Δd = ratio (kJ per kg of moisture), taken 5 g/kg toward drier air
// whatever the sign of the ratio.
ChartState RatioLineEnd(ChartState room, double ratio);
