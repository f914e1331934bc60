// Reading user text: a field's number and CSV lines. Both must take time in
// proportion to the text, however hostile it is.
#include "app/CsvReader.h"
#include "app/Numbers.h"

#include <QBuffer>
#include <benchmark/benchmark.h>

namespace
{

// A pasted page of digits ending in a letter: refused after one pass.
void BM_ParseNumberRefusesLongField(benchmark::State& state)
{
    const QString text = QString(state.range(0), QLatin1Char('7')) + QLatin1Char('x');
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(ParseNumber(text));
        } catch (const ConversionError&) {
        }
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseNumberRefusesLongField)
    ->RangeMultiplier(4)
    ->Range(1 << 14, 1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A long but valid number (digits after the point).
void BM_ParseNumberLongFraction(benchmark::State& state)
{
    const QString text = QStringLiteral("1.") + QString(state.range(0), QLatin1Char('3'));
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseNumber(text));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseNumberLongFraction)
    ->RangeMultiplier(4)
    ->Range(1 << 14, 1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_ParseNumberField(benchmark::State& state)
{
    const QString text = QStringLiteral(" 1168.539594 ");
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseNumber(text));
}
BENCHMARK(BM_ParseNumberField);

// 100,000 rows of a state batch, read and split.
void BM_CsvLines(benchmark::State& state)
{
    QByteArray text = "t,rh\n";
    for (int k = 0; k < 100000; ++k)
        text += QByteArray::number(k % 50 - 10) + ".5," + QByteArray::number(k % 90 + 5) + "\r\n";
    for (auto _ : state) {
        QBuffer buffer(&text);
        buffer.open(QIODevice::ReadOnly);
        CsvLineReader reader(buffer);
        qsizetype fields = 0;
        while (const auto line = reader.next())
            fields += SplitCsvFields(QString::fromUtf8(line->text)).size();
        benchmark::DoNotOptimize(fields);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_CsvLines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
