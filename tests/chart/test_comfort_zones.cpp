// The comfort zones on the chart: their corners are the library's states at
// the local pressure on the chart's own pixels, and their edges follow the
// humidity curves.
#include "chart/ComfortZones.h"
#include "psychro/ID_lib.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{

ID_lib LibAt(double pressure)
{
    ID_lib lib;
    lib.AtmPressure = pressure;
    lib.PsychroCoefficient = 0.0006725;
    return lib;
}

// The chart's pixel of a state, worked out independently of the drawing.
QPoint Pixel(double d, double i)
{
    return {int(std::trunc(40 + d * 15)), int(std::trunc(329 - i * 5.8 + d * 15))};
}

QPoint PixelOf(ID_lib& lib, double t, double RH)
{
    lib.StateFromRH_T(t, RH);
    return Pixel(lib.CurrentState.d * 1000, lib.CurrentState.i);
}

// The design ranges as the code's table gives them: heating I 22–24 ℃
// RH ≥ 30 %, heating II 18–22 ℃, cooling I 24–26 ℃ RH 40–60 %, cooling II
// 26–28 ℃ RH ≤ 70 %; no limit is 0–100 %.
struct Range {
    double tLow, tHigh, RHLow, RHHigh;
};
constexpr Range kRanges[] = {
    {22, 24, 30, 100}, {18, 22, 0, 100}, {24, 26, 40, 60}, {26, 28, 0, 70}};

} // namespace

TEST(ComfortZones, CornersAreTheLibrarysStatesOnTheChartsPixels)
{
    ASSERT_EQ(ComfortZones().size(), std::size(kRanges));
    for (const double pressure : {101325.0, 90000.0}) {
        ID_lib lib = LibAt(pressure);
        const std::vector<ComfortZoneOutline> outlines = ComfortZoneOutlines(lib);
        ASSERT_EQ(outlines.size(), std::size(kRanges));
        for (std::size_t z = 0; z < outlines.size(); ++z) {
            const Range& r = kRanges[z];
            const ComfortZoneOutline& o = outlines[z];
            const std::array<QPoint, 4> corners{
                PixelOf(lib, r.tLow, r.RHLow), PixelOf(lib, r.tLow, r.RHHigh),
                PixelOf(lib, r.tHigh, r.RHHigh), PixelOf(lib, r.tHigh, r.RHLow)};
            EXPECT_EQ(o.corners, corners) << pressure << " zone " << z;
            for (const QPoint& corner : corners)
                EXPECT_TRUE(o.outline.contains(corner)) << pressure << " zone " << z;
            // The upper edge runs along the humidity curve, not straight
            // across: its middle state is a vertex of the outline.
            EXPECT_TRUE(o.outline.contains(PixelOf(lib, (r.tLow + r.tHigh) / 2, r.RHHigh)))
                << pressure << " zone " << z;
        }
    }
    // The local pressure moves the corners: 24 ℃ / 60 % holds more moisture
    // at 90000 Pa, further right on the chart.
    EXPECT_GT(ComfortZoneOutlines(LibAt(90000))[2].corners[1].x(),
              ComfortZoneOutlines(LibAt(101325))[2].corners[1].x() + 10);
}
