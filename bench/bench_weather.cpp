// Weather years: reading a typical year's 8,760 hours, as the chart window
// and ventacalc-cli weather do each time a file is opened.
#include "tests/support/WeatherYearFiles.h"
#include "weather/WeatherYear.h"

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

} // namespace

BENCHMARK_MAIN();
