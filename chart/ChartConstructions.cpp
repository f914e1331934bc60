#include "chart/ChartConstructions.h"

namespace
{
constexpr double kRatioLineLength = 5; // g/kg
constexpr double kKgPerGram = 0.001;   // d is in g/kg, the ratio per kg of moisture
} // namespace

std::optional<ChartState> MixingPoint(ChartState first, double flow1, ChartState second,
                                      double flow2)
{
    const double total = flow1 + flow2;
    if (total == 0)
        return std::nullopt;
    return ChartState{(second.d * flow2 + first.d * flow1) / total,
                      (second.i * flow2 + first.i * flow1) / total};
}

ChartState RatioLineEnd(ChartState room, double ratio)
{
    return {room.d - kRatioLineLength, room.i - ratio * kRatioLineLength * kKgPerGram};
}
