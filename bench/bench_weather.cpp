// Weather years: reading a typical year's 8,760 hours, as the chart window
// and ventacalc-cli weather do each time a file is opened, and the figures
// worked out from them (each hour's state, the design values, the bin
// tables).
#include "psychro/ID_lib.h"
#include "tests/support/WeatherYearFiles.h"
#include "weather/WeatherYear.h"
#include "weather/WeatherYearFigures.h"

#include <QBuffer>
#include <benchmark/benchmark.h>

namespace
{

// An EPW of a whole year from memory (its 35 fields a row, CR LF line ends
// as the published files have them).
void BM_ReadEpwYear(benchmark::State& state)
{
    QByteArray text = WeatherYearFiles::EpwText(WeatherYearFiles::DesignYear(), {.crlf = true});
    for (auto _ : state) {
        QBuffer buffer(&text);
        buffer.open(QIODevice::ReadOnly);
        const WeatherYear year = ReadEpw(buffer);
        benchmark::DoNotOptimize(year.hours.data());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
    state.SetItemsProcessed(state.iterations() * WeatherYearFiles::DesignYearValues::kHours);
}
BENCHMARK(BM_ReadEpwYear)->Unit(benchmark::kMillisecond);

// The same year as a CSV of dates, dry bulb, RH and pressure.
void BM_ReadWeatherCsvYear(benchmark::State& state)
{
    QByteArray text = WeatherYearFiles::WeatherCsvText(WeatherYearFiles::DesignYear(),
                                                       {"month", "day", "hour", "t", "rh", "p"});
    for (auto _ : state) {
        QBuffer buffer(&text);
        buffer.open(QIODevice::ReadOnly);
        const WeatherYear year = ReadWeatherCsv(buffer);
        benchmark::DoNotOptimize(year.hours.data());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
    state.SetItemsProcessed(state.iterations() * WeatherYearFiles::DesignYearValues::kHours);
}
BENCHMARK(BM_ReadWeatherCsvYear)->Unit(benchmark::kMillisecond);

ID_lib LibAt(double pressure)
{
    ID_lib lib;
    lib.AtmPressure = pressure;
    lib.PsychroCoefficient = kPsychroCoefficient;
    return lib;
}

// Every hour's state from its dry bulb and RH, as the chart's year layer
// places the hours (the hours shared among the machine's threads).
void BM_HourStatesYear(benchmark::State& state)
{
    const WeatherYear year = WeatherYearFiles::ReadDesignYear();
    const ID_lib lib = LibAt(101325);
    for (auto _ : state) {
        const std::vector<HourState> states = ComputeHourStates(year, lib);
        benchmark::DoNotOptimize(states.data());
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(year.hours.size()));
}
// CPU time is that of every thread.
BENCHMARK(BM_HourStatesYear)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The five design values: the wet bulbs of every hour at the file's mean
// pressure, the ranks and the daily and monthly means.
void BM_DesignValuesYear(benchmark::State& state)
{
    const WeatherYear year = WeatherYearFiles::ReadDesignYear();
    const ID_lib lib = LibAt(101325);
    for (auto _ : state) {
        const WeatherDesignValues values = ComputeDesignValues(year, lib);
        benchmark::DoNotOptimize(values.summerWetBulb);
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(year.hours.size()));
}
BENCHMARK(BM_DesignValuesYear)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The bin tables of the occupied hours (8–18 h) from states already worked out.
void BM_BinHourStatesYear(benchmark::State& state)
{
    const WeatherYear year = WeatherYearFiles::ReadDesignYear();
    const std::vector<HourState> states = ComputeHourStates(year, LibAt(101325));
    WeatherFilter filter;
    filter.hours = WeatherFilter::ParseHours(QStringLiteral("8-18"));
    for (auto _ : state) {
        const WeatherBinTables tables = BinHourStates(year, filter, states, 101325);
        benchmark::DoNotOptimize(tables.cells.data());
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(year.hours.size()));
}
BENCHMARK(BM_BinHourStatesYear)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
