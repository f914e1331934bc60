// The chart window's two hot paths: drawing the whole grid (on every showing)
// and the read-out under the mouse (on every mouse movement); and the chart
// written as a file from its display list.
#include "app/DataDir.h"
#include "shell/DataSeeds.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartExport.h"
#include "chart/ChartReadout.h"
#include "chart/PointTable.h"
#include "chart/Unit_ID_Graphics.h"
#include "psychro/ID_lib.h"
#include "psychro/Unit_atm.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
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
