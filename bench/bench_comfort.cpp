// Cost of one PMV/PPD calculation: a typical office climate settled by the
// damped relaxation, hot surroundings, and heavy clothing in moving air where
// the relaxation gives up after 501 passes and bisection solves the balance.
#include "comfort/Pmv.h"
#include "psychro/ID_lib.h"

#include <benchmark/benchmark.h>

namespace
{

PmvInput Climate(double t, double RH, double va, double M, double Icl)
{
    PmvInput in;
    in.ta = in.tr = t;
    in.RH = RH;
    in.va = va;
    in.M = M;
    in.Icl = Icl;
    return in;
}

void RunPmv(benchmark::State& state, const PmvInput& in)
{
    ID_lib lib;
    for (auto _ : state) {
        const auto r = CalculatePmv(lib, in);
        if (!r)
            state.SkipWithError("no result");
        benchmark::DoNotOptimize(r);
    }
}

void BM_PmvOffice(benchmark::State& state)
{
    RunPmv(state, Climate(22, 60, 0.1, 70, 0.093));
}
BENCHMARK(BM_PmvOffice);

void BM_PmvHotSurroundings(benchmark::State& state)
{
    RunPmv(state, Climate(36, 50, 0.1, 70, 0.093));
}
BENCHMARK(BM_PmvHotSurroundings);

void BM_PmvHeavyClothingByBisection(benchmark::State& state)
{
    RunPmv(state, Climate(16, 40, 0.5, 70, 0.31));
}
BENCHMARK(BM_PmvHeavyClothingByBisection);

} // namespace

BENCHMARK_MAIN();
