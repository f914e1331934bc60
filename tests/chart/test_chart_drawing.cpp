// The chart grid against pixels worked out here from the chart's formulas,
// the grid computed the fast way against the library's whole states, and the
// marks the point tools draw.
#include "chart/ChartDrawing.h"
#include "chart/ChartStates.h"
#include "psychro/ID_lib.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QSet>
#include <cmath>
#include <gtest/gtest.h>

namespace
{

// Text needs a QGuiApplication; the core test binary has none of its own.
class ChartGuiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (QCoreApplication::instance())
            return;
#ifndef Q_OS_WIN // (there the system's platform, the one that knows its fonts)
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        static int argc = 1;
        static char name[] = "core_tests";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
};
[[maybe_unused]] const auto* const chartGuiEnvironment =
    ::testing::AddGlobalTestEnvironment(new ChartGuiEnvironment);

constexpr QRgb kBlack = 0xff000000, kWhite = 0xffffffff, kRed = 0xffff0000, kGreen = 0xff008000,
               kBlue = 0xff0000ff, kLightBlue = 0xffa6caf0;

ID_lib LibAt(double pressure)
{
    ID_lib lib;
    lib.AtmPressure = pressure;
    lib.PsychroCoefficient = 0.0006725;
    return lib;
}

// The chart's pixel of a state, worked out independently of the drawing.
int Trunc(double v)
{
    return int(std::trunc(v));
}
QPoint Pixel(double d, double i)
{
    return {Trunc(40 + d * 15), Trunc(329 - i * 5.8 + d * 15)};
}

double SaturatedD(ID_lib& lib, double t) // g/kg
{
    lib.CurrentState.t = t;
    lib.CurrentState.RH = 100;
    lib.StateFromRH_T(t, 100);
    return lib.CurrentState.d * 1000;
}

double EnthalpyAt(ID_lib& lib, double RH, double d) // d in g/kg
{
    lib.StateFromD_RH(RH, d / 1000);
    return lib.CurrentState.i;
}

bool IsGridColour(QRgb c)
{
    return c == kRed || c == kGreen || c == kBlue || c == kLightBlue;
}

class ChartDrawingTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { chart_ = new QImage(RenderChart(LibAt(101325), "101325")); }
    static void TearDownTestSuite() { delete chart_; }
    static QRgb at(int x, int y) { return chart_->pixel(x, y); }
    static QRgb at(QPoint p) { return chart_->pixel(p); }
    static QImage* chart_;
};
QImage* ChartDrawingTest::chart_ = nullptr;

TEST_F(ChartDrawingTest, ImageIsTheDesignSizeAndWhiteOutsideTheChart)
{
    EXPECT_EQ(chart_->size(), QSize(825, 562));
    EXPECT_EQ(at(0, 0), kWhite);
    EXPECT_EQ(at(824, 561), kWhite);
    EXPECT_EQ(at(700, 300), kWhite);
}

TEST_F(ChartDrawingTest, FrameIsClosedSeventyPixelsAboveItsNominalHeight)
{
    EXPECT_EQ(at(640, 40), kBlack);
    EXPECT_EQ(at(640, 434), kBlack);
    EXPECT_EQ(at(40, 434), kBlack);
    EXPECT_EQ(at(300, 434), kBlack);
    EXPECT_EQ(at(640, 200), kBlack);
    // The left edge ran on to y = 504; the corner below the bottom edge is erased.
    EXPECT_EQ(at(40, 435), kWhite);
    EXPECT_EQ(at(40, 504), kWhite);
    EXPECT_EQ(at(641, 300), kWhite);
}

TEST_F(ChartDrawingTest, IsothermRunsFromTheLeftEdgeToTheSaturationCurve)
{
    ID_lib lib = LibAt(101325);
    // 20 ℃ is a fifth isotherm: blue. Start at i = 1.01·t on the left edge;
    // it rises 0.3 pixel over its first 15, so its first pixels are level.
    const int y0 = Trunc(329 - 1.01 * 20 * 5.8);
    for (int x = 40; x <= 45; ++x)
        EXPECT_EQ(at(x, y0), kBlue) << x;
    // 21 ℃ is an ordinary one.
    EXPECT_EQ(at(41, Trunc(329 - 1.01 * 21 * 5.8)), kLightBlue);

    // It ends where the saturation curve meets it: the end enthalpy with the
    // latent heat 2500, the red saturation curve passing within a pixel.
    const double ds = SaturatedD(lib, 20);
    const QPoint end = Pixel(ds, 1.01 * 20 + (1.84 * 20 + 2500) * ds / 1000);
    int colouredNearEnd = 0;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            colouredNearEnd += at(end.x() + dx, end.y() + dy) == kRed;
    EXPECT_GT(colouredNearEnd, 0);
    // Beyond the end, on the same level, nothing of the isotherm.
    EXPECT_NE(at(end.x() + 20, end.y()), kBlue);
}

TEST_F(ChartDrawingTest, IsothermsFromFortyDegreesEndOnTheRightEdge)
{
    // 45 ℃: the saturation moisture content exceeds 40 g/kg, so the line
    // ends at d = 40 with i = 1.01·45 + (1.84·45 + 2500)·0.04.
    const QPoint end = Pixel(40, 1.01 * 45 + (1.84 * 45 + 2500) * 40 / 1000);
    const int y0 = Trunc(329 - 1.01 * 45 * 5.8);
    EXPECT_EQ(end.x(), 640);
    EXPECT_EQ(end.y(), y0 + 1); // almost level at 45 ℃
    // The last pixels before the edge lie on one of the two rows.
    EXPECT_TRUE(at(639, y0) == kBlue || at(639, end.y()) == kBlue);
}

TEST_F(ChartDrawingTest, EnthalpyLinesFallAtFortyFiveDegrees)
{
    // i = 25 from (40, 329 − 145): an ordinary line, green.
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(at(40 + k, 184 + k), kGreen) << k;
    // i = 30 is a tenth line: blue, running on past the saturation curve
    // (near d = 8 g/kg) to the lower scale at d = (30 + 16)/4 = 11.5. Its last
    // quarter g/kg is the scale's green tick.
    EXPECT_EQ(at(Pixel(9.5, 30)), kBlue);
    EXPECT_EQ(at(Pixel(11.4, 30)), kGreen);
    // i = 140 is blue and ends on the right edge (its scale end, d = 40.5,
    // lies beyond it): on the edge's neighbour its pixel is blue.
    const QPoint right = Pixel(40, 140);
    EXPECT_EQ(at(639, right.y() - 1), kBlue);
}

TEST_F(ChartDrawingTest, HumidityCurvesPassThroughTheLibrarysStates)
{
    ID_lib lib = LibAt(101325);
    for (const auto& [RH, d] : {std::pair{50, 10.0}, {100, 20.0}, {10, 3.5}, {80, 15.5}}) {
        const QPoint p = Pixel(d, EnthalpyAt(lib, RH, d));
        EXPECT_EQ(at(p.x(), p.y()), kRed) << RH << "% at " << d;
    }
    // The 10 % curve stops at its last point below the top edge: nothing red
    // on the row just under the edge to the right of where it leaves.
    int lastX = 0;
    for (int n = 2; n <= 80; ++n) {
        const double d = n / 2.0;
        if (Pixel(d, EnthalpyAt(lib, 10, d)).y() < 41)
            break;
        lastX = Pixel(d, 0).x();
    }
    ASSERT_GT(lastX, 40);
    ASSERT_LT(lastX, 640);
    EXPECT_NE(at(lastX + 16, 40), kRed);
}

TEST_F(ChartDrawingTest, LabelCellsBlankTheLinesBeneathThem)
{
    ID_lib lib = LibAt(101325);
    const QFontMetrics fm(ChartLabelFont(), chart_);
    // The 30 % label sits on its own curve at the fifth term of the series
    // of steps 5.7·0.876ⁿ (10, 15, 20, 25, 30 %).
    double step = 5.7, p = 0;
    for (int n = 0; n < 5; ++n) {
        step *= 0.876;
        p += step;
    }
    EXPECT_NEAR(p, 19.496, 0.0005);
    const double i = EnthalpyAt(lib, 30, p);
    const QRect cell(Trunc(40 + p * 15 - 6), Trunc(329 - i * 5.8 + p * 15) - 5,
                     fm.horizontalAdvance("30"), fm.height());
    int dark = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            EXPECT_FALSE(IsGridColour(at(x, y))) << x << "," << y;
            dark += qGray(at(x, y)) < 128;
        }
    }
    EXPECT_GT(dark, 5); // the digits themselves
    // The curve does run through the cell's neighbourhood.
    const QPoint onCurve = Pixel(p, i);
    EXPECT_TRUE(cell.adjusted(-2, -2, 2, 8).contains(onCurve));
}

TEST_F(ChartDrawingTest, MoistureScaleLabelsStandAboveTheTopEdge)
{
    const QFontMetrics fm(ChartLabelFont(), chart_);
    for (int k = 0; k <= 8; ++k) {
        const QString text = QString::number(5 * k);
        const QRect cell(5 * k * 15 + 40 - 5, 24, fm.horizontalAdvance(text), fm.height());
        int dark = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                dark += qGray(at(x, y)) < 128;
        EXPECT_GT(dark, 3) << text.toStdString();
    }
}

TEST_F(ChartDrawingTest, OnlyTheLabelledHumiditiesHaveLabels)
{
    // Where the 80 % label would go (the series' 15th term) the curve shows.
    ID_lib lib = LibAt(101325);
    double step = 5.7, p = 0;
    for (int RH = 10; RH <= 80; RH += 5) {
        step *= 0.876;
        p += step;
    }
    const QPoint curve = Pixel(p, EnthalpyAt(lib, 80, p));
    const QPoint anchor(Trunc(40 + p * 15 - 6), curve.y() - 5);
    int red = 0;
    for (int y = anchor.y(); y < anchor.y() + 12; ++y)
        for (int x = anchor.x(); x < anchor.x() + 12; ++x)
            red += at(x, y) == kRed;
    EXPECT_GT(red, 0);
}

TEST(ChartDrawing, GridDrawnFastIsTheGridOfTheLibrarysWholeStates)
{
    for (const double pressure : {101325.0, 90000.0}) {
        QStringList fastMessages, fullMessages;
        const QImage fast = RenderChart(LibAt(pressure), "p", 1.0, &fastMessages);
        const QImage full =
            RenderChart(LibAt(pressure), "p", 1.0, &fullMessages, ChartComputation::FullStates);
        EXPECT_TRUE(fast == full) << pressure;
        EXPECT_TRUE(fastMessages.isEmpty());
        EXPECT_TRUE(fullMessages.isEmpty());
    }
}

TEST(ChartDrawing, PressureFarOffTheLibrarysRangeReportsEachMessageOnce)
{
    // Ten times the standard pressure puts many humidity states past 100 ℃.
    QStringList fastMessages, fullMessages;
    const QImage fast = RenderChart(LibAt(1013250), "1013250", 1.0, &fastMessages);
    const QImage full =
        RenderChart(LibAt(1013250), "1013250", 1.0, &fullMessages, ChartComputation::FullStates);
    EXPECT_TRUE(fast == full);
    EXPECT_EQ(fastMessages, QStringList{QStringLiteral("所给的水蒸汽分压力值超出计算范围！")});
    for (const QString& m : fastMessages)
        EXPECT_TRUE(fullMessages.contains(m));
    EXPECT_EQ(fullMessages.size(), QSet<QString>(fullMessages.begin(), fullMessages.end()).size());
}

TEST(ChartDrawing, FastStatesEqualTheLibrarysStatesValueForValue)
{
    // A random sweep over and beyond the chart: moisture content 0–60 g/kg,
    // humidity 1–100 %, temperatures −50–100 ℃, at three pressures.
    QRandomGenerator random(20240611);
    for (const double pressure : {101325.0, 84000.0, 110000.0}) {
        ID_lib fastLib = LibAt(pressure), fullLib = LibAt(pressure);
        ChartStates fast(fastLib, ChartComputation::Reduced);
        ChartStates full(fullLib, ChartComputation::FullStates);
        for (int k = 0; k < 1500; ++k) {
            const double d = random.bounded(0.06);
            const double RH = 1 + random.bounded(99.0);
            ASSERT_EQ(fast.EnthalpyFromD_RH(RH, d), full.EnthalpyFromD_RH(RH, d))
                << pressure << " Pa, d " << d << ", RH " << RH;
        }
        for (int k = 0; k < 1500; ++k) {
            const double t = -50 + random.bounded(150.0);
            ASSERT_EQ(fast.SaturationMoistureAtT(t), full.SaturationMoistureAtT(t)) << t;
        }
    }
}

TEST(ChartDrawing, TitleBlockShowsThePressureAsTyped)
{
    const QImage standard = RenderChart(LibAt(101325), "101325");
    const QImage typed = RenderChart(LibAt(101325), "101325.0");
    // Only the pressure line differs: its cell starts at (440, 370).
    QRect differing;
    for (int y = 0; y < standard.height(); ++y)
        for (int x = 0; x < standard.width(); ++x)
            if (standard.pixel(x, y) != typed.pixel(x, y))
                differing |= QRect(x, y, 1, 1);
    ASSERT_FALSE(differing.isEmpty());
    EXPECT_GE(differing.left(), 440);
    EXPECT_GE(differing.top(), 370);
    EXPECT_LT(differing.bottom(), 390);
}

TEST(ChartDrawing, LinesAreComputedAtThePressureGiven)
{
    ID_lib lib = LibAt(90000);
    const QImage chart = RenderChart(lib, "90000");
    const QPoint p = Pixel(20, EnthalpyAt(lib, 100, 20));
    EXPECT_EQ(chart.pixel(p), kRed);
    ID_lib standard = LibAt(101325);
    EXPECT_NE(Pixel(20, EnthalpyAt(standard, 100, 20)), p);
}

TEST(ChartDrawing, HighDensityImageKeepsTheLogicalLayout)
{
    const QImage crisp = RenderChart(LibAt(101325), "101325", 2.0);
    EXPECT_EQ(crisp.size(), QSize(1650, 1124));
    EXPECT_EQ(crisp.deviceIndependentSize(), QSizeF(825, 562));
    EXPECT_EQ(crisp.pixel(2 * 640, 2 * 434), kBlack);
    // A one-pixel line is two device pixels wide.
    EXPECT_EQ(crisp.pixel(2 * 640, 2 * 300), kBlack);
    EXPECT_EQ(crisp.pixel(2 * 640 - 1, 2 * 300), kBlack);
    EXPECT_EQ(crisp.pixel(2 * 640 + 2, 2 * 300), kWhite);
    EXPECT_EQ(crisp.pixel(2 * 40, 2 * 470), kWhite);
}

TEST(ChartDrawing, PointMarkIsARedRingWithItsNameAboveLeft)
{
    QImage image = RenderChart(LibAt(101325), "101325");
    {
        QPainter painter(&image);
        DrawPointMark(painter, QPoint(229, 179), "W");
    }
    // Pen width 2 around the square (227, 177)–(231, 181): red on the ring,
    // white inside.
    EXPECT_EQ(image.pixel(226, 179), kRed);
    EXPECT_EQ(image.pixel(227, 179), kRed);
    EXPECT_EQ(image.pixel(230, 179), kRed);
    EXPECT_EQ(image.pixel(229, 177), kRed);
    EXPECT_EQ(image.pixel(229, 179), kWhite);
    EXPECT_EQ(image.pixel(228, 178), kWhite);
    // The name's cell at (217, 161).
    const QFontMetrics fm(ChartLabelFont(), &image);
    const QRect cell(217, 161, fm.horizontalAdvance("W"), fm.height());
    int dark = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            EXPECT_FALSE(IsGridColour(image.pixel(x, y)));
            dark += qGray(image.pixel(x, y)) < 128;
        }
    EXPECT_GT(dark, 3);

    {
        QPainter painter(&image);
        ErasePointMark(painter, QPoint(229, 179), "W");
    }
    for (const QPoint ring : {QPoint(226, 179), QPoint(227, 179), QPoint(230, 179),
                              QPoint(229, 177), QPoint(229, 179), QPoint(228, 178)})
        EXPECT_EQ(image.pixel(ring), kWhite) << ring.x() << "," << ring.y();
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            EXPECT_EQ(image.pixel(x, y), kWhite);
}

TEST(ChartDrawing, ErasingBlanksANameWiderThanFourSpaces)
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawPointMark(painter, QPoint(100, 50), "WWWW");
    ErasePointMark(painter, QPoint(100, 50), "WWWW");
    painter.end();
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(image.pixel(x, y), kWhite) << x << "," << y;
}

TEST(ChartDrawing, UserLineIsOnePixelBlack)
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawChartLine(painter, QPoint(10, 10), QPoint(50, 50));
    painter.end();
    EXPECT_EQ(image.pixel(10, 10), kBlack);
    EXPECT_EQ(image.pixel(30, 30), kBlack);
    EXPECT_EQ(image.pixel(31, 30), kWhite);
    EXPECT_EQ(image.pixel(50, 50), kBlack);
}

} // namespace
