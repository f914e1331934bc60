// Cost of the duct calculations: one specific friction (round DN 500 at
// 5000 m³/h), one segment as the CLI computes it, and one segment computed
// and stored in a segment table as "计算和保存" does it.
#include "duct/DuctSegment.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

void BM_DuctSpecificFriction(benchmark::State& state)
{
    const AirProperties air;
    double v = 7.13;
    for (auto _ : state) {
        benchmark::DoNotOptimize(v);
        benchmark::DoNotOptimize(DuctSpecificFriction(v, 0.498, air.K, air.nu, air.rho));
    }
}
BENCHMARK(BM_DuctSpecificFriction);

// 1000 m³/h in a 400 × 200 duct, 10 m with two bends.
DuctSegmentInputs Segment()
{
    DuctSegmentInputs in;
    in.air = ExactTexts(AirProperties{});
    in.segmentNo = QStringLiteral("1");
    in.flow = QStringLiteral("1000");
    in.width = QStringLiteral("400");
    in.height = QStringLiteral("200");
    in.length = QStringLiteral("10");
    in.fittingName = QStringLiteral("弯头");
    in.coefficient = QStringLiteral("0.5");
    in.count = QStringLiteral("2");
    return in;
}

void BM_DuctSegment(benchmark::State& state)
{
    const DuctSegmentInputs in = Segment();
    for (auto _ : state)
        benchmark::DoNotOptimize(CalculateDuctSegment(in));
}
BENCHMARK(BM_DuctSegment);

// The same segment saved again and again under one number: the table is
// scanned for it and the record written to the file at each save.
void BM_DuctSegmentStored(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(DuctSegmentTableFileName));
    CreateTableFile(path, DuctSegmentTableDeclaration());
    RecordTableStore table(DuctSegmentTableDeclaration());
    table.setPath(path);
    table.open();
    const DuctSegmentInputs in = Segment();
    for (auto _ : state)
        StoreDuctSegment(table, *CalculateDuctSegment(in).segment);
}
BENCHMARK(BM_DuctSegmentStored);

} // namespace

BENCHMARK_MAIN();
