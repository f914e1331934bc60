// Start-up inside the process: from nothing to the main menu shown, with
// every window created (the program itself makes the other windows after the
// menu's first paint). bench/startup_first_paint.sh times it from exec.
#include "shell/AppWindows.h"
#include "shell/Unit_main.h"

#include <QApplication>
#include <benchmark/benchmark.h>

static void BM_StartToMainMenuShown(benchmark::State& state)
{
    for (auto _ : state) {
        AppWindows windows;
        windows.main->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(windows.main->isVisible());
    }
}
BENCHMARK(BM_StartToMainMenuShown)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
