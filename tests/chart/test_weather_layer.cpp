// A weather year on the chart: every hour inside the cell it is counted in,
// the shades, what is drawn where (and what is not), the texts, and the
// layer in the display list between the grid and the points.
#include "chart/ChartDisplayList.h"
#include "chart/ChartDrawing.h"
#include "chart/WeatherYearLayer.h"
#include "psychro/ID_lib.h"
#include "weather/WeatherYearFigures.h"

#include <QGuiApplication>
#include <QPainter>
#include <gtest/gtest.h>
#include <memory>

namespace
{

// Text needs a QGuiApplication; the core test binary has none of its own.
class LayerGuiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (QCoreApplication::instance())
            return;
#ifndef Q_OS_WIN
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        static int argc = 1;
        static char name[] = "core_tests";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
};
[[maybe_unused]] const auto* const layerGuiEnvironment =
    ::testing::AddGlobalTestEnvironment(new LayerGuiEnvironment);

ID_lib LibAt(double pressure)
{
    ID_lib lib;
    lib.AtmPressure = pressure;
    lib.PsychroCoefficient = kPsychroCoefficient;
    return lib;
}

// Whether p lies inside the convex polygon or on its outline.
bool InsideOrOn(const QPolygon& polygon, QPoint p)
{
    int sign = 0;
    for (int k = 0; k < polygon.size(); ++k) {
        const QPoint a = polygon[k], b = polygon[(k + 1) % polygon.size()];
        const long long cross = (long long)(b.x() - a.x()) * (p.y() - a.y()) -
                                (long long)(b.y() - a.y()) * (p.x() - a.x());
        if (cross == 0)
            continue;
        const int s = cross > 0 ? 1 : -1;
        if (sign != 0 && s != sign)
            return false;
        sign = s;
    }
    return true;
}

// A colour laid over white as the painter blends it.
QRgb OverWhite(QRgb colour)
{
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::white);
    QPainter(&pixel).fillRect(0, 0, 1, 1, QColor::fromRgba(colour));
    return pixel.pixel(0, 0);
}

WeatherBinTables Bins(std::vector<WeatherBinTables::Cell> cells, long long uncomputed)
{
    WeatherBinTables bins;
    bins.station = QStringLiteral("Testville, Hebei, CHN");
    bins.pressure = 101325;
    bins.cells = std::move(cells);
    bins.uncomputed = uncomputed;
    bins.hours = uncomputed;
    for (const auto& c : bins.cells)
        bins.hours += c.hours;
    return bins;
}

ChartDisplayList ListAt(double pressure)
{
    ChartDisplayList list;
    list.reset(LibAt(pressure), QString::number(pressure));
    return list;
}

} // namespace

// Hours over the whole chart's range, binned as the chart's layer bins them
// at three pressures: each hour's pixel lies in the drawn cell it counts in.
// The cell's corners and the hour are each truncated to their pixels, so an
// hour within a pixel of the cell's edge may land a pixel beyond it, never
// further; most lie strictly inside.
TEST(WeatherYearLayer, EveryHourLiesInsideItsCell)
{
    for (const double pressure : {101325.0, 60000.0, 140000.0}) {
        WeatherYear year;
        for (double t = -20; t <= 44; t += 0.37)
            for (double rh = 1; rh <= 100; rh += 3.3) {
                WeatherHour h;
                h.month = 1, h.hour = 1, h.dryBulb = t, h.relativeHumidity = rh;
                year.hours.push_back(h);
            }
        const ID_lib lib = LibAt(pressure);
        const std::vector<HourState> states = ComputeHourStates(year, lib);
        const WeatherBinTables bins = BinHourStates(year, WeatherFilter{}, states, pressure);
        int checked = 0, onTheOutline = 0;
        long long uncomputed = 0;
        for (std::size_t k = 0; k < states.size(); ++k) {
            if (!states[k].computed) { // the driest cold air: no wet bulb
                ++uncomputed;
                continue;
            }
            const int t = int(std::floor(year.hours[k].dryBulb)), d = int(std::floor(states[k].d));
            const bool binned = std::any_of(bins.cells.begin(), bins.cells.end(),
                                            [&](auto& c) { return c.t == t && c.d == d; });
            ASSERT_TRUE(binned) << t << " " << d;
            const QPoint pixel = ChartGeometry::StateToPixel(states[k].d, states[k].i);
            if (!WeatherYearLayer::CellOnChart(t, d))
                continue;
            ++checked;
            const QPolygon cell = WeatherYearLayer::CellPolygon(t, d);
            if (InsideOrOn(cell, pixel))
                continue;
            ++onTheOutline;
            bool nextToIt = false;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    nextToIt |= InsideOrOn(cell, pixel + QPoint(dx, dy));
            EXPECT_TRUE(nextToIt) << pressure << " Pa: " << year.hours[k].dryBulb << " ℃, "
                                  << year.hours[k].relativeHumidity << " % at (" << pixel.x()
                                  << ", " << pixel.y() << ")";
        }
        EXPECT_GT(checked, 3000);
        EXPECT_LT(onTheOutline, checked / 10);
        EXPECT_EQ(uncomputed, bins.uncomputed);
        EXPECT_LT(uncomputed, checked / 20);
    }
}

TEST(WeatherYearLayer, ShadesGoFromLightToDarkByHours)
{
    const struct {
        long long hours;
        int shade;
    } cases[] = {{1, 0},  {5, 0},  {6, 1},   {20, 1},  {21, 2},
                 {50, 2}, {51, 3}, {100, 3}, {101, 4}, {8784, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(WeatherYearLayer::HourClassOf(c.hours), c.shade) << c.hours;
    const auto& classes = WeatherYearLayer::HourClasses();
    QStringList texts;
    for (std::size_t k = 0; k < classes.size(); ++k) {
        texts << classes[k].text();
        if (k > 0) {
            EXPECT_GT(qAlpha(classes[k].colour), qAlpha(classes[k - 1].colour));
        }
    }
    EXPECT_EQ(texts.join(u' '), QStringLiteral("1–5 6–20 21–50 51–100 >100"));
    // Even the darkest lets a red humidity curve beneath stay red.
    const QRgb darkest = classes.back().colour;
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(QColor::fromRgb(ChartColors::Red));
    QPainter(&pixel).fillRect(0, 0, 1, 1, QColor::fromRgba(darkest));
    const QRgb blended = pixel.pixel(0, 0);
    EXPECT_GT(qRed(blended), 2 * qGreen(blended));
    EXPECT_GT(qRed(blended), qBlue(blended));
}

// Cells on the chart are shaded inside the frame and nothing else there
// changes; a cell off the chart is not drawn, and its hours with the
// uncomputed ones are the hours outside.
TEST(WeatherYearLayer, DrawsTheCellsOnTheChartAndCountsTheRest)
{
    const std::vector<WeatherBinTables::Cell> cells = {{-40, 0, 7}, {20, 10, 3},   {30, 27, 10},
                                                       {25, 8, 30}, {30, 20, 200}, {34, 41, 4}};
    const auto layer = std::make_shared<WeatherYearLayer>(Bins(cells, 5));
    EXPECT_FALSE(WeatherYearLayer::CellOnChart(-40, 0)); // below the frame
    EXPECT_FALSE(WeatherYearLayer::CellOnChart(34, 41)); // right of it
    EXPECT_EQ(layer->hoursDrawn(), 243);
    EXPECT_EQ(layer->hoursOutside(), 16);
    EXPECT_EQ(layer->titleLines(),
              QStringList({QStringLiteral("气象年：Testville, Hebei, CHN"), QStringLiteral("全年"),
                           QStringLiteral("图中小时数：243"), QStringLiteral("图外小时数：16")}));

    ChartDisplayList list = ListAt(101325);
    const QImage bare = list.render();
    list.setWeatherYear(layer);
    const QImage laid = list.render();
    const QRect inside = WeatherYearLayer::FrameInside();
    std::vector<QPolygon> drawn;
    for (const auto& c : cells)
        if (WeatherYearLayer::CellOnChart(c.t, c.d))
            drawn.push_back(WeatherYearLayer::CellPolygon(c.t, c.d));
    int changedInside = 0;
    for (int y = 0; y < bare.height(); ++y)
        for (int x = 0; x < bare.width(); ++x) {
            if (bare.pixel(x, y) == laid.pixel(x, y))
                continue;
            const QPoint p(x, y);
            if (inside.contains(p)) {
                ++changedInside;
                // A cell cut at the saturation curve may gain a pixel where
                // the cut's corner is rounded.
                EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [&](const QPolygon& c) {
                    return InsideOrOn(c, p) || InsideOrOn(c, p + QPoint(0, 1)) ||
                           InsideOrOn(c, p - QPoint(0, 1));
                })) << x << ", " << y;
            } else {
                // Only the title block and legend right of the frame.
                EXPECT_GT(x, ChartGeometry::FrameRight) << x << ", " << y;
            }
        }
    EXPECT_GT(changedInside, 3 * 60);
    // The cell (30, 27) reaches past saturation (27.3 g/kg at 30 ℃, 29.0 at
    // 31 ℃): shaded above the curve only.
    const ID_lib lib = LibAt(101325);
    const auto pixelOf = [&](double t, double d) {
        return ChartGeometry::StateToPixel(d, lib.EnthalpyFromT_D(t, d / 1000));
    };
    EXPECT_EQ(laid.pixel(pixelOf(30.1, 27.95)), bare.pixel(pixelOf(30.1, 27.95)));
    EXPECT_NE(laid.pixel(pixelOf(30.8, 27.2)), bare.pixel(pixelOf(30.8, 27.2)));
    // A white pixel of the grid inside each drawn cell takes the cell's shade.
    for (const auto& c : cells) {
        if (!WeatherYearLayer::CellOnChart(c.t, c.d))
            continue;
        const QRect box = WeatherYearLayer::CellPolygon(c.t, c.d).boundingRect();
        const QRgb shade =
            WeatherYearLayer::HourClasses()[WeatherYearLayer::HourClassOf(c.hours)].colour;
        bool found = false;
        for (int y = box.top() + 2; y < box.bottom() - 1 && !found; ++y)
            for (int x = box.left() + 2; x < box.right() - 1 && !found; ++x)
                if (bare.pixel(x, y) == ChartColors::White &&
                    WeatherYearLayer::CellPolygon(c.t, c.d).containsPoint(QPoint(x, y),
                                                                          Qt::OddEvenFill)) {
                    EXPECT_EQ(laid.pixel(x, y), OverWhite(shade)) << c.t << " " << c.d;
                    found = true;
                }
        EXPECT_TRUE(found) << c.t << " " << c.d;
    }
}

// The layer lies over the grid and under the zones and the points; the zone
// hours are written only with the zones; reset keeps the layer; clearing it
// gives back the picture pixel for pixel.
TEST(WeatherYearLayer, SitsInTheDisplayListBetweenGridAndPoints)
{
    std::vector<ZoneHours> zones = {{QStringLiteral("冬季Ⅰ级"), 12, 12.0 / 219},
                                    {QStringLiteral("夏季Ⅱ级"), 200, 200.0 / 219}};
    const auto layer = std::make_shared<WeatherYearLayer>(
        Bins({{20, 10, 3}, {22, 9, 12}, {26, 12, 50}, {26, 13, 50}, {27, 12, 50}, {27, 13, 50}}, 4),
        zones);
    EXPECT_EQ(layer->zoneLines(), QStringList({QStringLiteral("冬季Ⅰ级 12时 5.5%"),
                                               QStringLiteral("夏季Ⅱ级 200时 91.3%")}));

    ChartDisplayList list = ListAt(101325);
    ID_lib lib = LibAt(101325);
    lib.StateFromRH_T(27.5, 55);
    const QPoint mark = ChartGeometry::StateToPixel(lib.CurrentState.d * 1000, lib.CurrentState.i);
    list.append([mark](QPainter& p) { DrawPointMark(p, mark, QStringLiteral("A")); });
    const QImage before = list.render();
    list.setZonesShown(true);
    const QImage zonesBefore = list.render();

    list.setWeatherYear(layer);
    const QImage withZones = list.render();
    list.setZonesShown(false);
    const QImage withoutZones = list.render();
    // The point's mark is drawn over the cell it sits in.
    for (const QImage* image : {&withZones, &withoutZones}) {
        EXPECT_EQ(image->pixel(mark + QPoint(-2, 0)), ChartColors::Red);
        EXPECT_EQ(image->pixel(mark), ChartColors::White);
    }
    EXPECT_NE(withoutZones.pixel(mark + QPoint(6, 0)), before.pixel(mark + QPoint(6, 0)));
    // The zone hours: in the side area only, and only with the zones.
    const QRect side(ChartGeometry::FrameRight + 1, 0, 825 - ChartGeometry::FrameRight - 1, 562);
    bool sideDiffers = false;
    for (int y = 0; y < 562; ++y)
        for (int x = side.left(); x < 825; ++x)
            sideDiffers |= withZones.pixel(x, y) != withoutZones.pixel(x, y);
    EXPECT_TRUE(sideDiffers);

    // reset keeps the layer; clearing it restores the picture exactly.
    list.reset(LibAt(101325), QStringLiteral("101325"));
    ASSERT_NE(list.weatherYear(), nullptr);
    list.append([mark](QPainter& p) { DrawPointMark(p, mark, QStringLiteral("A")); });
    EXPECT_EQ(list.render(), withoutZones);
    list.clearWeatherYear();
    EXPECT_EQ(list.render(), before);
    list.setZonesShown(true);
    EXPECT_EQ(list.render(), zonesBefore);
    EXPECT_EQ(list.render(2.0), [&] {
        ChartDisplayList plain = ListAt(101325);
        plain.setZonesShown(true);
        plain.append([mark](QPainter& p) { DrawPointMark(p, mark, QStringLiteral("A")); });
        return plain.render(2.0);
    }());
}
