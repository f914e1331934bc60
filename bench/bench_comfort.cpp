// Cost of one PMV/PPD calculation: a typical office climate settled by the
// damped relaxation, hot surroundings, and heavy clothing in moving air where
// the relaxation cannot settle and bisection solves the balance.
//
// Arg(0) is the calculation as it was: the whole room state, no short cuts in
// the clothing temperature's search (all 501 passes of the relaxation before
// the bisection, the convection's root always taken); Arg(1) is what the
// command line and its batches do: the vapour pressure only, with the short
// cuts. Both give the same bits. The BM_IsoAnnexD benchmarks time the standard's own
// algorithm, written out below in plain C++ with its own vapour pressure, on
// the same climates, so that the ratio comes from one run.
#include "comfort/Pmv.h"
#include "psychro/ID_lib.h"

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

// ISO 7730 Annex D: temperatures in units of 100 K, the clothing temperature
// by its damped iteration on the balance solved for tcl with hc held, stopped
// at 0.00015 (in 100 K) or after 150 passes; the vapour pressure from the
// standard's own saturation formula. NaN when the iteration gives up.
struct IsoResult {
    double PMV, PPD;
};

IsoResult IsoAnnexD(const PmvInput& in)
{
    const double PA = in.RH * 10 * std::exp(16.6536 - 4030.183 / (in.ta + 235)); // Pa
    const double ICL = in.Icl, M = in.M, W = in.W, MW = M - W;
    const double FCL = ICL <= 0.078 ? 1 + 1.29 * ICL : 1.05 + 0.645 * ICL;
    const double HCF = 12.1 * std::sqrt(in.va);
    const double TAA = in.ta + 273, TRA = in.tr + 273;
    const double TCLA = TAA + (35.5 - in.ta) / (3.5 * ICL + 0.1);
    const double P1 = ICL * FCL, P2 = P1 * 3.96, P3 = P1 * 100, P4 = P1 * TAA;
    const double P5 = 308.7 - 0.028 * MW + P2 * std::pow(TRA / 100, 4);
    double XN = TCLA / 100, XF = TCLA / 50, HC = 0;
    for (int N = 0; std::abs(XN - XF) > 0.00015; ++N) {
        if (N > 150)
            return {NAN, NAN};
        XF = (XF + XN) / 2;
        const double HCN = 2.38 * std::pow(std::abs(100 * XF - TAA), 0.25);
        HC = HCF > HCN ? HCF : HCN;
        XN = (P5 + P4 * HC - P2 * std::pow(XF, 4)) / (100 + P3 * HC);
    }
    const double TCL = 100 * XN - 273;
    const double HL1 = 3.05 * 0.001 * (5733 - 6.99 * MW - PA);
    const double HL2 = MW > 58.15 ? 0.42 * (MW - 58.15) : 0;
    const double HL3 = 1.7 * 0.00001 * M * (5867 - PA);
    const double HL4 = 0.0014 * M * (34 - in.ta);
    const double HL5 = 3.96 * FCL * (std::pow(XN, 4) - std::pow(TRA / 100, 4));
    const double HL6 = FCL * HC * (TCL - in.ta);
    const double TS = 0.303 * std::exp(-0.036 * M) + 0.028;
    const double PMV = TS * (MW - HL1 - HL2 - HL3 - HL4 - HL5 - HL6);
    return {PMV, 100 - 95 * std::exp(-0.03353 * std::pow(PMV, 4) - 0.2179 * PMV * PMV)};
}

void RunIso(benchmark::State& state, const PmvInput& in)
{
    for (auto _ : state) {
        const IsoResult r = IsoAnnexD(in);
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
