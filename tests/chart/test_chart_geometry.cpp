// The chart's pixel mapping and the placement of the printed picture.
#include "chart/ChartConstructions.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartGeometry.h"
#include "psychro/ID_lib.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace
{

using G = ChartGeometry;

TEST(ChartGeometry, WorkedExampleMapsToItsPixelAndBack)
{
    ID_lib lib;
    lib.AtmPressure = 101325;
    lib.PsychroCoefficient = 0.0006725;
    lib.CurrentState.t = 26;
    lib.CurrentState.RH = 60;
    lib.StateFromRH_T(26, 60);
    const double d = lib.CurrentState.d * 1000, i = lib.CurrentState.i;
    EXPECT_NEAR(d, 12.629, 0.0005);
    EXPECT_NEAR(i, 58.449, 0.0005);
    // x = trunc(229.43), y = trunc(329 − 339.01 + 189.43)
    EXPECT_EQ(G::StateToPixel(d, i), QPoint(229, 179));

    const ChartState back = G::PixelToState(229, 179);
    EXPECT_DOUBLE_EQ(back.d, 12.6);
    EXPECT_DOUBLE_EQ(back.i, 339 / 5.8); // 58.448…
    EXPECT_NEAR(back.i, 58.448, 0.0005);
}

TEST(ChartGeometry, CornersAndStatesOutsideTheFrame)
{
    EXPECT_EQ(G::StateToPixel(0, 0), QPoint(40, 329));
    // Below the bitmap: nothing is clipped.
    EXPECT_EQ(G::StateToPixel(40, 0), QPoint(640, 929));
    const ChartState topRight = G::PixelToState(640, 40);
    EXPECT_DOUBLE_EQ(topRight.d, 40);
    EXPECT_NEAR(topRight.i, 153.3, 0.05);
    // The top edge at d = 0 lies just under 50 kJ/kg, since Yb is 329.
    EXPECT_NEAR(G::PixelToState(40, 40).i, 49.83, 0.005);
}

TEST(ChartGeometry, TruncatesTowardZeroOnBothSidesOfTheOrigin)
{
    // x = 40 + d·15: −3.5 → −3 (toward zero), where flooring would give −4.
    EXPECT_EQ(G::StateToPixel(-2.9, 0).x(), -3);
    EXPECT_EQ(G::StateToPixel(2.99, 0).x(), 84);
    // y = 329 − i·5.8: 0.43 → 0 for i = 56.65, −4.5 → −4 for i = 57.5.
    EXPECT_EQ(G::StateToPixel(0, 56.65).y(), 0);
    EXPECT_EQ(G::StateToPixel(0, 57.5).y(), -4);
}

TEST(ChartGeometry, PixelToStateInvertsTheMappingBeforeTruncation)
{
    for (int x = 0; x < 825; x += 7) {
        for (int y = 0; y < 562; y += 5) {
            const ChartState s = G::PixelToState(x, y);
            EXPECT_NEAR(G::X0 + s.d * G::sx, x, 1e-9);
            EXPECT_NEAR(G::Yb - s.i * G::sy + s.d * G::sx, y, 1e-9);
        }
    }
}

TEST(ChartGeometry, AbsurdStatesStayFarOutsideTheImage)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(G::StateToPixel(inf, 0).x(), 1000000);
    EXPECT_EQ(G::StateToPixel(0, inf).y(), -1000000);
    EXPECT_EQ(G::StateToPixel(1e300, -1e300), QPoint(1000000, 1000000));
    const QPoint p = G::StateToPixel(nan, nan);
    EXPECT_EQ(std::abs(p.x()), 1000000);
    EXPECT_EQ(std::abs(p.y()), 1000000);
}

// The printed picture (an exported part of 646 × 442) is centred on the
// paper and enlarged by the largest whole factor that 10 mm margins (237
// pixels at 600 dpi) and the printable part leave; a page with no room left
// inside the margins gets it scaled down to the printable part; nothing to
// print prints nothing.
TEST(ChartGeometry, PrintedPictureIsAWholeMultipleWithinTenMillimetreMargins)
{
    const QSize picture(646, 442);
    const QRect a4(0, 0, 4960, 7015), a4Wide(0, 0, 7015, 4960);
    const struct {
        const char* what;
        QRect paper, printable;
        QSize picture;
        QRect target;
    } rows[] = {
        // (4960 − 474) div 646 = 6 and (7015 − 474) div 442 = 14.
        {"A4 portrait", a4, a4, picture, {542, 2181, 3876, 2652}},
        {"A4 landscape", a4Wide, a4Wide, picture, {277, 270, 6460, 4420}},
        {"square picture, landscape", a4Wide, a4Wide, {500, 500}, {1507, 480, 4000, 4000}},
        // The printer cannot draw on the left 400 pixels: the picture stays
        // centred on the paper within what it can draw.
        {"wide unprintable strip", a4, {400, 100, 4460, 6815}, picture, {542, 2181, 3876, 2652}},
        {"unprintable strip wider than the margin",
         a4,
         {900, 0, 3160, 7015},
         picture,
         {1188, 2623, 2584, 1768}},
        {"no room inside the margins",
         {0, 0, 300, 300},
         {0, 0, 300, 300},
         picture,
         {0, 47, 300, 205}},
        {"empty picture", a4, a4, {}, {}},
        {"empty paper", {}, {}, picture, {}},
    };
    for (const auto& row : rows) {
        const QRect target = PlaceChartOnPage(row.paper, row.printable, 600, row.picture);
        EXPECT_EQ(target, row.target) << row.what;
        if (target.isEmpty())
            continue;
        EXPECT_TRUE(row.printable.contains(target)) << row.what;
        EXPECT_NEAR(double(target.width()) / target.height(),
                    double(row.picture.width()) / row.picture.height(), 0.002)
            << row.what;
    }
}

TEST(ChartConstructions, MixingPointDividesTheLineByTheAirVolumes)
{
    // Outdoor W (1000 m³/h) with room N (3000 m³/h): three quarters of the
    // way from W to N.
    const ChartState w{12.629, 58.449}, n{12.6, 58.448};
    const auto m = MixingPoint(w, 1000, n, 3000);
    ASSERT_TRUE(m);
    EXPECT_NEAR(m->d, 12.60725, 1e-12);
    EXPECT_NEAR(m->i, 58.44825, 1e-12);
    const auto apart = MixingPoint({10, 40}, 1000, {20, 60}, 3000);
    ASSERT_TRUE(apart);
    EXPECT_DOUBLE_EQ(apart->d, 17.5);
    EXPECT_DOUBLE_EQ(apart->i, 55);
    // The order of the streams does not matter.
    const auto swapped = MixingPoint({20, 60}, 3000, {10, 40}, 1000);
    EXPECT_DOUBLE_EQ(swapped->d, 17.5);
}

TEST(ChartConstructions, VolumesSummingToZeroHaveNoMixingPoint)
{
    EXPECT_FALSE(MixingPoint({10, 40}, 1000, {20, 60}, -1000));
    EXPECT_FALSE(MixingPoint({10, 40}, 0, {20, 60}, 0));
    // Other volumes are taken as entered, negative ones too.
    const auto m = MixingPoint({10, 40}, 2000, {20, 60}, -1000);
    ASSERT_TRUE(m);
    EXPECT_DOUBLE_EQ(m->d, 0);
}

TEST(ChartConstructions, RatioLineRunsFiveGramsTowardDrierAir)
{
    const ChartState room{12, 50};
    const ChartState cooling = RatioLineEnd(room, 10000);
    EXPECT_DOUBLE_EQ(cooling.d, 7);
    EXPECT_DOUBLE_EQ(cooling.i, 0);
    EXPECT_EQ(G::StateToPixel(cooling), QPoint(145, 434));
    const ChartState negative = RatioLineEnd(room, -2000);
    EXPECT_DOUBLE_EQ(negative.d, 7);
    EXPECT_DOUBLE_EQ(negative.i, 60);
    EXPECT_EQ(G::StateToPixel(negative), QPoint(145, 86));
}

} // namespace
