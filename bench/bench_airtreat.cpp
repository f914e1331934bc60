// Cost of one air treatment calculation per process, on the worked cases:
// the summer processes solve a wet bulb for the outdoor state, the secondary
// summer process relaxes its 95 % dew point over about twenty states.
#include "airtreat/TreatmentCalc.h"
#include "psychro/ID_lib.h"

#include <benchmark/benchmark.h>

namespace
{

TreatmentInputs Case(TreatmentProcess process)
{
    TreatmentInputs in;
    in.process = process;
    const bool summer =
        process == TreatmentProcess::PrimarySummer || process == TreatmentProcess::SecondarySummer;
    in.tW = summer ? 34 : -15;
    in.tsW = 28;
    in.phiW = 70;
    in.tN = summer ? 26 : 20;
    in.phiN = summer ? 60 : 50;
    in.Q = summer ? 10 : -5;
    in.W = summer ? 3 : 2;
    in.tO = summer ? 20 : 30;
    in.freshAir = summer ? 25 : 60;
    in.G = 3000;
    in.GW = 1500;
    in.G1 = 1000;
    return in;
}

void BM_Treatment(benchmark::State& state)
{
    const TreatmentInputs in = Case(static_cast<TreatmentProcess>(state.range(0)));
    ID_lib lib;
    for (auto _ : state) {
        const TreatmentOutcome out = CalculateTreatment(lib, in);
        if (!out.calculation)
            state.SkipWithError("no result");
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_Treatment)->DenseRange(1, 4)->ArgName("process");

} // namespace

BENCHMARK_MAIN();
