// Cost of the moist-air library: the saturation pressure in each arithmetic
// form and each state operation at a typical room state (20 ℃, 50 %).
#include "psychro/ID_lib.h"
#include "psychro/SaturationPressure.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <vector>

namespace
{

ID_lib MakeLib(bool reference = false)
{
    ID_lib lib;
    lib.AtmPressure = 101325;
    lib.PsychroCoefficient = 0.0006725;
    UseReferenceSaturationPressure(lib, reference);
    return lib;
}

// The room state every operation below starts from.
MoistAirState RoomState()
{
    ID_lib lib = MakeLib();
    lib.CurrentState.t = 20;
    lib.CurrentState.RH = 50;
    lib.StateFromRH_T(20, 50);
    return lib.CurrentState;
}

void BM_SaturationPressureFast(benchmark::State& state)
{
    double t = 20;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaturationPressureFast(t));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SaturationPressureFast);

// The exp10l form alone: what the Taylor polynomials fall back to.
void BM_SaturationPressureExp10(benchmark::State& state)
{
    double t = 20;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaturationPressureExp10(t));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SaturationPressureExp10);

void BM_SaturationPressureReference(benchmark::State& state)
{
    double t = 20;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaturationPressureReference(t));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SaturationPressureReference);

// Over the whole range, so that the share of guarded results redone with powl
// (near a rounding boundary of double) is paid as often as in real use.
template <double (*Ps)(double)> void RunSaturationSweep(benchmark::State& state)
{
    std::vector<double> temperatures(4096);
    for (std::size_t n = 0; n < temperatures.size(); ++n)
        temperatures[n] = -50 + 150.0 * n / temperatures.size();
    for (auto _ : state)
        for (double t : temperatures)
            benchmark::DoNotOptimize(Ps(t));
    state.SetItemsProcessed(state.iterations() * temperatures.size());
}
void BM_SaturationPressureFastSweep(benchmark::State& state)
{
    RunSaturationSweep<SaturationPressureFast>(state);
}
BENCHMARK(BM_SaturationPressureFastSweep)->Unit(benchmark::kMicrosecond);
void BM_SaturationPressureExp10Sweep(benchmark::State& state)
{
    RunSaturationSweep<SaturationPressureExp10>(state);
}
BENCHMARK(BM_SaturationPressureExp10Sweep)->Unit(benchmark::kMicrosecond);
// The form that decides what the series leaves undecided.
void BM_SaturationPressureNearGridSweep(benchmark::State& state)
{
    RunSaturationSweep<SaturationPressureNearGrid>(state);
}
BENCHMARK(BM_SaturationPressureNearGridSweep)->Unit(benchmark::kMicrosecond);
void BM_SaturationPressureReferenceSweep(benchmark::State& state)
{
    RunSaturationSweep<SaturationPressureReference>(state);
}
BENCHMARK(BM_SaturationPressureReferenceSweep)->Unit(benchmark::kMicrosecond);

void BM_SaturationTemperature(benchmark::State& state)
{
    const ID_lib lib = MakeLib();
    for (auto _ : state)
        benchmark::DoNotOptimize(lib.SaturationTemperature(1168.54));
}
BENCHMARK(BM_SaturationTemperature);

// Dew points from −30 to 40 ℃ (up to 49 g/kg) in shuffled order, so that the
// kept midpoint pressures are read from all over their table rather than from
// the few entries one repeated pressure touches.
void BM_SaturationTemperatureSweep(benchmark::State& state)
{
    const ID_lib lib = MakeLib();
    std::vector<double> pressures(4096);
    for (std::size_t n = 0; n < pressures.size(); ++n)
        pressures[n] = lib.SaturationPressure(-30 + 70.0 * n / pressures.size());
    std::shuffle(pressures.begin(), pressures.end(), std::mt19937(1));
    for (auto _ : state)
        for (double pv : pressures)
            benchmark::DoNotOptimize(lib.SaturationTemperature(pv));
    state.SetItemsProcessed(state.iterations() * pressures.size());
}
BENCHMARK(BM_SaturationTemperatureSweep)->Unit(benchmark::kMicrosecond);

void BM_WetBulbFromT_Pv(benchmark::State& state)
{
    const ID_lib lib = MakeLib();
    for (auto _ : state)
        benchmark::DoNotOptimize(lib.WetBulbFromT_Pv(1168.54, 20));
}
BENCHMARK(BM_WetBulbFromT_Pv);

// One state operation, called the way the state-point window calls it: the
// two given quantities stored in CurrentState first. Arg(1) uses powl.
template <typename Call> void RunState(benchmark::State& state, Call call)
{
    ID_lib lib = MakeLib(state.range(0) != 0);
    const MoistAirState room = RoomState();
    for (auto _ : state) {
        lib.CurrentState = room;
        benchmark::DoNotOptimize(call(lib, room));
    }
}

#define STATE_BENCHMARK(name, ...)                                                                 \
    void BM_##name(benchmark::State& state)                                                        \
    {                                                                                              \
        RunState(state,                                                                            \
                 [](ID_lib& lib, const MoistAirState& s) { return lib.name(__VA_ARGS__); });       \
    }                                                                                              \
    BENCHMARK(BM_##name)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)

STATE_BENCHMARK(StateFromT_Ts, s.t, s.ts);
STATE_BENCHMARK(StateFromRH_T, s.t, s.RH);
STATE_BENCHMARK(StateFromD_T, s.t, s.d);
STATE_BENCHMARK(StateFromI_T, s.t, s.i);
STATE_BENCHMARK(StateFromRH_Ts, s.ts, s.RH);
STATE_BENCHMARK(StateFromD_Ts, s.ts, s.d);
STATE_BENCHMARK(StateFromD_RH, s.RH, s.d);
STATE_BENCHMARK(StateFromI_RH, s.RH, s.i);
STATE_BENCHMARK(StateFromI_D, s.d, s.i);

// StateFromRH_T over the batch's states (t −10…40 ℃, RH 10…95 %) rather than
// one: the wet bulb's relaxation reaches saturation pressures all over its
// range. Arg(0) takes them from the Taylor polynomials first, Arg(1) from the
// exp10l form alone.
void BM_StateFromRH_TSweep(benchmark::State& state)
{
    UseSaturationPressureSeries(state.range(0) == 0);
    ID_lib lib = MakeLib();
    std::mt19937 random(3);
    std::uniform_real_distribution<double> dryBulb(-10, 40), humidity(10, 95);
    std::vector<MoistAirState> given(1024);
    for (MoistAirState& s : given)
        s.t = dryBulb(random), s.RH = humidity(random);
    for (auto _ : state)
        for (const MoistAirState& s : given) {
            lib.CurrentState = s;
            benchmark::DoNotOptimize(lib.StateFromRH_T(s.t, s.RH));
        }
    state.SetItemsProcessed(state.iterations() * given.size());
    UseSaturationPressureSeries(true);
}
BENCHMARK(BM_StateFromRH_TSweep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
