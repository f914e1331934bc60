// The chart window's two hot paths: drawing the whole grid (on every showing)
// and the read-out under the mouse (on every mouse movement); the chart
// written as a file from its display list; a weather year laid on the chart.
#include "app/DataDir.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartExport.h"
#include "chart/ChartReadout.h"
#include "chart/PointTable.h"
#include "chart/Unit_ID_Graphics.h"
#include "chart/WeatherYearLayer.h"
#include "psychro/ID_lib.h"
#include "psychro/Unit_atm.h"
#include "shell/DataSeeds.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace
{

ID_lib StandardLib()
{
    ID_lib lib;
    lib.AtmPressure = 101325;
    lib.PsychroCoefficient = 0.0006725;
    return lib;
}

// The grid as drawn on showing: the saturation and humidity states computed
// for what the drawing reads.
void BM_DrawWholeChart(benchmark::State& state)
{
    const ID_lib lib = StandardLib();
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderChart(lib, QStringLiteral("101325")));
}
BENCHMARK(BM_DrawWholeChart)->Unit(benchmark::kMillisecond);

// The same on a high-density screen (device pixel ratio 2).
void BM_DrawWholeChartAtRatio2(benchmark::State& state)
{
    const ID_lib lib = StandardLib();
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderChart(lib, QStringLiteral("101325"), 2.0));
}
BENCHMARK(BM_DrawWholeChartAtRatio2)->Unit(benchmark::kMillisecond);

// The same picture from the library's whole states, for comparison.
void BM_DrawWholeChartFromWholeStates(benchmark::State& state)
{
    const ID_lib lib = StandardLib();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            RenderChart(lib, QStringLiteral("101325"), 1.0, nullptr, ChartComputation::FullStates));
}
BENCHMARK(BM_DrawWholeChartFromWholeStates)->Unit(benchmark::kMillisecond)->Iterations(10);

// The window with 100 points in its table, ready for mouse movements.
struct ChartWindow {
    QTemporaryDir dir;
    ID_lib lib = StandardLib();
    Form_atm atm;
    std::unique_ptr<Form_IDTu> form;

    ChartWindow()
    {
        DataDir::setOverride(dir.path());
        RegisterDataSeeds();
        DataDir::ensure();
        form = std::make_unique<Form_IDTu>(lib, atm);
        form->show();
        for (int k = 0; k < 100; ++k) {
            StatePoint p;
            p.No = "P" + std::to_string(k);
            p.D = 5 + k * 0.25;
            p.I = 30 + k * 0.5;
            StorePoint(form->pointTable(), p);
        }
    }
};

// One movement: the state under the mouse, its five fields and the scan of
// the 100 points for one placed at this pixel.
void BM_MouseReadOut100Points(benchmark::State& state)
{
    ChartWindow window;
    int k = 0;
    for (auto _ : state) {
        const QPointF at(100 + k % 500, 60 + (k * 7) % 350);
        QMouseEvent move(QEvent::MouseMove, at, window.form->Image1->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.form->Image1, &move);
        ++k;
    }
}
BENCHMARK(BM_MouseReadOut100Points)->Unit(benchmark::kMicrosecond);

// The read-out's core alone, without the fields.
void BM_ReadOutCore100Points(benchmark::State& state)
{
    ChartWindow window;
    int k = 0;
    for (auto _ : state) {
        const ChartReadout r = ReadOutAt(window.lib, QPoint(100 + k % 500, 60 + (k * 7) % 350));
        benchmark::DoNotOptimize(PlacedPointAt(window.form->pointTable(), r.state));
        ++k;
    }
}
BENCHMARK(BM_ReadOutCore100Points)->Unit(benchmark::kMicrosecond);

// The whole chart as a file: the grid, 100 named points with lines between
// neighbours and the comfort zones, drawn again from the display list and
// written through a temporary file, as "导出图片" and ventacalc-cli chart
// write it.
ChartDisplayList ListWith100Points()
{
    ChartDisplayList list;
    list.reset(StandardLib(), QStringLiteral("101325"));
    list.setZonesShown(true);
    for (int k = 0; k < 100; ++k) {
        const QPoint at = ChartGeometry::StateToPixel(5 + k * 0.25, 30 + k * 0.5);
        const QPoint next = ChartGeometry::StateToPixel(5 + (k + 1) * 0.25, 30 + (k + 1) * 0.5);
        const QString name = QStringLiteral("P%1").arg(k);
        list.append([at, name](QPainter& p) { DrawPointMark(p, at, name); });
        list.append([at, next](QPainter& p) { DrawChartLine(p, at, next); });
    }
    return list;
}

// A year of 8,760 hours as a temperate station has them: a yearly and a daily
// swing of the dry bulb, the humidity falling as the day warms. About 600
// cells of the chart hold hours.
WeatherYear SyntheticYear()
{
    WeatherYear year;
    year.location.name = QStringLiteral("Benchtown");
    const double pi = std::acos(-1.0);
    for (int day = 0; day < 365; ++day)
        for (int h = 1; h <= 24; ++h) {
            WeatherHour hour;
            hour.month = std::min(12, day / 31 + 1);
            hour.day = day % 31 + 1;
            hour.hour = h;
            const double season = -std::cos(2 * pi * (day - 15) / 365.0);
            const double daily = -std::cos(2 * pi * (h - 4) / 24.0);
            hour.dryBulb = 12 + 16 * season + 5 * daily + 3 * std::sin(day * 1.7);
            hour.relativeHumidity =
                std::clamp(60 + 20 * season - 15 * daily + 10 * std::sin(day * 2.3), 5.0, 100.0);
            hour.pressure = 101325;
            year.hours.push_back(hour);
        }
    return year;
}

// What laying the year (and every showing at a new pressure) computes: the
// hours' states binned at the chart's pressure and the zone hours.
void BM_WeatherYearLayerFromHours(benchmark::State& state)
{
    const WeatherYear year = SyntheticYear();
    const ID_lib lib = StandardLib();
    for (auto _ : state)
        benchmark::DoNotOptimize(WeatherYearLayer(ComputeBinTables(year, WeatherFilter{}, lib),
                                                  CountZoneHours(year, WeatherFilter{})));
}
BENCHMARK(BM_WeatherYearLayerFromHours)->Unit(benchmark::kMillisecond);

// The year's cells, title and legend drawn over a grid already on the image.
void BM_DrawWeatherYearLayer(benchmark::State& state)
{
    const WeatherYear year = SyntheticYear();
    const ID_lib lib = StandardLib();
    const WeatherYearLayer layer(ComputeBinTables(year, WeatherFilter{}, lib),
                                 CountZoneHours(year, WeatherFilter{}));
    QImage image = RenderChart(lib, QStringLiteral("101325"));
    state.counters["cells"] = double(layer.bins().cells.size());
    for (auto _ : state) {
        QPainter painter(&image);
        layer.draw(painter);
        layer.drawZoneHours(painter);
    }
}
BENCHMARK(BM_DrawWeatherYearLayer)->Unit(benchmark::kMillisecond);

// The window's whole redraw with the year on: the grid, the year, the zones
// and 100 points with their lines, replayed from the display list.
void BM_RedrawWholeChartWithWeatherYear(benchmark::State& state)
{
    ChartDisplayList list = ListWith100Points();
    const WeatherYear year = SyntheticYear();
    list.setWeatherYear(std::make_shared<const WeatherYearLayer>(
        ComputeBinTables(year, WeatherFilter{}, list.library()),
        CountZoneHours(year, WeatherFilter{})));
    for (auto _ : state)
        benchmark::DoNotOptimize(list.render());
}
BENCHMARK(BM_RedrawWholeChartWithWeatherYear)->Unit(benchmark::kMillisecond);

void BM_ExportChart(benchmark::State& state, ChartFileFormat format, const char* name)
{
    QTemporaryDir dir;
    const ChartDisplayList list = ListWith100Points();
    const QString path = dir.filePath(QString::fromLatin1(name));
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteChartFile(path, list, format, kDefaultPngScale));
}
BENCHMARK_CAPTURE(BM_ExportChart, Svg, ChartFileFormat::Svg, "chart.svg")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportChart, Pdf, ChartFileFormat::Pdf, "chart.pdf")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportChart, Png2x, ChartFileFormat::Png, "chart.png")
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
