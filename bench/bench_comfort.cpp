// Cost of one PMV/PPD calculation: a typical office climate settled by the
// damped relaxation, hot surroundings, and heavy clothing in moving air where
// the relaxation cannot settle and bisection solves the balance.
//
// Arg(0) is the calculation as it was: the whole room state, no short cuts in
// the clothing temperature's search (all 501 passes of the relaxation before
// the bisection, the convection's root always taken); Arg(1) is what the
// command line and its batches do: the vapour pressure only, with the short
// cuts. Both give the same bits. The BM_IsoAnnexD benchmarks time the standard's own
// algorithm (tests/support/IsoAnnexD.h) with its own vapour pressure, on
// the same climates, so that the ratio comes from one run.
#include "comfort/Pmv.h"
#include "psychro/ID_lib.h"
#include "support/IsoAnnexD.h"

#include <benchmark/benchmark.h>

#include <cmath>

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

const PmvInput kOffice = Climate(22, 60, 0.1, 70, 0.093);
const PmvInput kHotSurroundings = Climate(36, 50, 0.1, 70, 0.093);
const PmvInput kHeavyClothing = Climate(16, 40, 0.5, 70, 0.31);

void RunPmv(benchmark::State& state, const PmvInput& in)
{
    const bool asCommandLine = state.range(0) == 1;
    const PmvRoomAir room = asCommandLine ? PmvRoomAir::VapourPressureOnly : PmvRoomAir::WholeState;
    UsePmvShortCuts(asCommandLine);
    ID_lib lib;
    for (auto _ : state) {
        const auto r = CalculatePmv(lib, in, room);
        if (!r)
            state.SkipWithError("no result");
        benchmark::DoNotOptimize(r);
    }
    UsePmvShortCuts(true);
}

void BM_PmvOffice(benchmark::State& state)
{
    RunPmv(state, kOffice);
}
BENCHMARK(BM_PmvOffice)->Arg(0)->Arg(1);

void BM_PmvHotSurroundings(benchmark::State& state)
{
    RunPmv(state, kHotSurroundings);
}
BENCHMARK(BM_PmvHotSurroundings)->Arg(0)->Arg(1);

void BM_PmvHeavyClothingByBisection(benchmark::State& state)
{
    RunPmv(state, kHeavyClothing);
}
BENCHMARK(BM_PmvHeavyClothingByBisection)->Arg(0)->Arg(1);

// ISO 7730 Annex D as the standard gives it: its own saturation formula for
// the vapour pressure, its stop rule and 150 passes. NaN when it gives up.
IsoPmvResult IsoAnnexD(const PmvInput& in)
{
    const double PA = in.RH * 10 * std::exp(16.6536 - 4030.183 / (in.ta + 235)); // Pa
    return IsoAnnexDPmv(in, PA, 0.00015, 150).value_or(IsoPmvResult{NAN, NAN});
}

void RunIso(benchmark::State& state, const PmvInput& in)
{
    for (auto _ : state) {
        const IsoPmvResult r = IsoAnnexD(in);
        if (std::isnan(r.PMV))
            state.SkipWithError("no result");
        benchmark::DoNotOptimize(r);
    }
}

void BM_IsoAnnexDOffice(benchmark::State& state)
{
    RunIso(state, kOffice);
}
BENCHMARK(BM_IsoAnnexDOffice);

void BM_IsoAnnexDHeavyClothing(benchmark::State& state)
{
    RunIso(state, kHeavyClothing);
}
BENCHMARK(BM_IsoAnnexDHeavyClothing);

} // namespace

BENCHMARK_MAIN();
