// ventacalc-cli weather over a full year (8,760 hours of a synthetic EPW),
// run in-process through the command's own run function as main calls it:
// the figures alone, with the chart, and with the chart and the bin tables.
// The file is read, the design values, zone hours and tables computed and
// the files written in every iteration.
#include "cli/Commands.h"
#include "support/WeatherYearFiles.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

const QTemporaryDir& Folder()
{
    static const QTemporaryDir dir;
    return dir;
}

QString YearFile()
{
    static const QString path = [] {
        const QString p = Folder().filePath(QStringLiteral("year.epw"));
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write(WeatherYearFiles::DesignYearEpw());
        return p;
    }();
    return path;
}

const CliCommand* WeatherCommand()
{
    for (const CliCommand& c : CliCommands())
        if (c.name == QLatin1String("weather"))
            return &c;
    return nullptr;
}

void BM_WeatherCli(benchmark::State& state, const char* options)
{
    const CliCommand* command = WeatherCommand();
    if (!command) {
        state.SkipWithError("no weather command");
        return;
    }
    QStringList args{YearFile()};
    for (const QString& word : QString::fromLatin1(options).split(u' ', Qt::SkipEmptyParts))
        args << (word.startsWith(u'@') ? Folder().filePath(word.mid(1)) : word);
    for (auto _ : state) {
        QString out, err;
        QTextStream o(&out), e(&err);
        CliIo io{o, e};
        if (command->run(args, io) != ExitOk) {
            state.SkipWithError(qPrintable(err));
            return;
        }
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK_CAPTURE(BM_WeatherCli, Figures, "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WeatherCli, FiguresJson, "--json")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WeatherCli, ChartPng, "--chart @year.png --zones")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WeatherCli, ChartPngBinsXlsx, "--chart @year.png --zones --bins @bins.xlsx")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WeatherCli, ChartSvgBinsCsv, "--chart @year.svg --zones --bins @bins.csv")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WeatherCli, OfficeHoursChartBins,
                  "--months 6-8 --hours 8-18 --chart @summer.png --zones --bins @summer.xlsx")
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
