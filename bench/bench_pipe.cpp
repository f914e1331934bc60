// Cost of the water pipe calculations: one specific friction on the worked
// case (eight damped Colebrook–White steps), and one segment in each way of
// sizing on the shipped welded steel series, from data in memory (the CLI's
// batch) and as the window does it, reading pipe.dat and scanning the
// coefficient table at each calculation.
#include "app/DataDir.h"
#include "shell/DataSeeds.h"
#include "pipe/LocalResistance.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/PipeSegment.h"
#include "pipe/WaterFriction.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

void BM_PipeSpecificFriction(benchmark::State& state)
{
    double v = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(v);
        benchmark::DoNotOptimize(PipeSpecificFriction(v, 0.027, 0.2, 0.35725e-6, 969.81));
    }
}
BENCHMARK(BM_PipeSpecificFriction);

// The shipped data in a data directory of the benchmark's own.
class ShippedData
{
public:
    ShippedData()
    {
        DataDir::setOverride(dir_.path());
        RegisterDataSeeds();
        DataDir::ensure();
        coefficients_.setPath(DataDir::file(QString::fromLatin1(LocalResistanceTableFileName)));
    }
    QString catalogue() const { return DataDir::file(QString::fromLatin1(PipeCatalogueFileName)); }
    RecordTableStore& coefficients() { return coefficients_; }

private:
    QTemporaryDir dir_;
    RecordTableStore coefficients_{LocalResistanceTableDeclaration()};
};

ShippedData& shipped()
{
    static ShippedData data;
    return data;
}

// 2.5 m³/h of 95/70 ℃ water, 10 m with two gate valves; automatic sizing
// tries DN 15 to DN 40 before one is below 200 Pa/m.
PipeSegmentInputs Segment(SizeEntry sizing)
{
    PipeSegmentInputs in;
    in.pipeType = QStringLiteral("焊接钢管(GB3092)");
    in.supplyTemp = QStringLiteral("95");
    in.returnTemp = QStringLiteral("70");
    in.segmentNo = QStringLiteral("1");
    in.flow = QStringLiteral("2.5");
    in.sizeEntry = sizing;
    in.velocity = QStringLiteral("0.8");
    in.nominal = QStringLiteral("32");
    in.length = QStringLiteral("10");
    in.fittingName = QStringLiteral("闸阀");
    in.fittingCount = QStringLiteral("2");
    return in;
}

void run(benchmark::State& state, const PipeSegmentData& data)
{
    const PipeSegmentInputs in = Segment(static_cast<SizeEntry>(state.range(0)));
    for (auto _ : state) {
        const PipeSegmentOutcome out = CalculatePipeSegment(in, data);
        if (!out.segment) {
            state.SkipWithError("refused");
            break;
        }
        benchmark::DoNotOptimize(out.segment->ZL_z);
    }
}

void BM_PipeSegmentInMemory(benchmark::State& state)
{
    ShippedData& data = shipped();
    run(state, MemorySegmentData(ReadPipeCatalogue(data.catalogue()),
                                 ReadLocalResistances(data.coefficients())));
}
BENCHMARK(BM_PipeSegmentInMemory)
    ->Arg(int(SizeEntry::Velocity))
    ->Arg(int(SizeEntry::Nominal))
    ->Arg(int(SizeEntry::Automatic));

void BM_PipeSegmentFromFiles(benchmark::State& state)
{
    ShippedData& data = shipped();
    run(state, FileSegmentData(data.catalogue(), data.coefficients()));
}
BENCHMARK(BM_PipeSegmentFromFiles)->Arg(int(SizeEntry::Automatic));

} // namespace

BENCHMARK_MAIN();
