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

TEST(ChartGeometry, PrintedPictureIsAWholeMultipleCentredOnThePage)
{
    // An A4 page at 600 dpi.
    const ChartPrintPlacement a4 = PlaceChartOnPage(QSize(4960, 7015));
    EXPECT_EQ(a4.k, 5);
    EXPECT_EQ(a4.target, QRect(417, 2102, 4125, 2810));

    // Landscape: (7015 − 100) div 825 = 8 and (4960 − 100) div 562 = 8.
    const ChartPrintPlacement wide = PlaceChartOnPage(QSize(7015, 4960));
    EXPECT_EQ(wide.k, 8);
    EXPECT_EQ(wide.target, QRect((7015 - 6600) / 2, (4960 - 4496) / 2, 6600, 4496));

    // Exactly 50 pixels of margin each side still fits once.
    EXPECT_EQ(PlaceChartOnPage(QSize(925, 662)).k, 1);
    EXPECT_EQ(PlaceChartOnPage(QSize(925, 662)).target, QRect(50, 50, 825, 562));
}

// A page with no room for the picture at its own size plus the margins
// still gets the whole picture, scaled down with its proportions kept and
// centred inside the margins (inside the page where margins leave nothing).
TEST(ChartGeometry, SmallPagePrintsThePictureScaledDown)
{
    const struct {
        QSize page;
        QRect room; // where the picture must stay
    } cases[] = {
        {{924, 662}, {50, 50, 824, 562}},   // one pixel short across
        {{925, 661}, {50, 50, 825, 561}},   // one pixel short down
        {{500, 700}, {50, 50, 400, 600}},   // narrow portrait page
        {{2000, 400}, {50, 50, 1900, 300}}, // low landscape page
        {{60, 40}, {0, 0, 60, 40}},         // smaller than the margins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.page.width()) + "x" +
                     testing::PrintToString(c.page.height()));
        const ChartPrintPlacement p = PlaceChartOnPage(c.page);
        EXPECT_EQ(p.k, 0);
        ASSERT_FALSE(p.target.isEmpty());
        EXPECT_TRUE(c.room.contains(p.target));
        // The proportions of 825 × 562, and the limiting side filled but for
        // the pixel that truncation takes.
        EXPECT_NEAR(double(p.target.width()) / p.target.height(), 825.0 / 562, 0.05);
        EXPECT_LE(std::min(c.room.width() - p.target.width(), c.room.height() - p.target.height()),
                  1);
        // Centred, within the pixel a halving cuts.
        EXPECT_LE(std::abs(p.target.left() - (c.page.width() - 1 - p.target.right())), 1);
        EXPECT_LE(std::abs(p.target.top() - (c.page.height() - 1 - p.target.bottom())), 1);
    }
    EXPECT_TRUE(PlaceChartOnPage(QSize(0, 0)).target.isEmpty());
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
