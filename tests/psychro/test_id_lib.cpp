// The moist-air library against its worked examples, its failure paths and
// round trips between the nine ways of fixing a state.
#include "psychro/ID_lib.h"
#include "psychro/SaturationPressure.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace
{

constexpr double kStandardPressure = 101325; // Pa
constexpr double kPsychrometer = 0.0006725;  // 1/K, the only coefficient callers set
// Width of SaturationTemperature's final bracket: 150 ℃ halved 17 times.
constexpr double kBisectionStep = 150.0 / (1 << 17);

// A library set up as every calculating window sets it, recording its messages.
struct RecordingLib {
    std::vector<std::string> messages;
    ID_lib lib{[this](const std::string& text, ID_lib::MessageKind) { messages.push_back(text); }};
    RecordingLib()
    {
        lib.AtmPressure = kStandardPressure;
        lib.PsychroCoefficient = kPsychrometer;
    }
    RecordingLib(const RecordingLib&) = delete; // the sink holds `this`
};

// Every field set to a value no operation produces, to see which are written.
MoistAirState Sentinel()
{
    MoistAirState s;
    s.t = s.ts = s.tdew = s.d = s.RH = s.i = s.pv = s.rho = -777;
    return s;
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameState(const MoistAirState& a, const MoistAirState& b)
{
    return SameBits(a.t, b.t) && SameBits(a.ts, b.ts) && SameBits(a.tdew, b.tdew) &&
           SameBits(a.d, b.d) && SameBits(a.RH, b.RH) && SameBits(a.i, b.i) &&
           SameBits(a.pv, b.pv) && SameBits(a.rho, b.rho);
}

// The nine state operations, called as the state-point window calls them:
// both given quantities are left in CurrentState first (d in kg/kg).
enum class Pair { T_Ts, RH_T, D_T, I_T, RH_Ts, D_Ts, D_RH, I_RH, I_D };
constexpr Pair kAllPairs[] = {Pair::T_Ts, Pair::RH_T, Pair::D_T,  Pair::I_T, Pair::RH_Ts,
                              Pair::D_Ts, Pair::D_RH, Pair::I_RH, Pair::I_D};

bool Solve(ID_lib& lib, Pair pair, const MoistAirState& given)
{
    MoistAirState& s = lib.CurrentState;
    switch (pair) {
    case Pair::T_Ts:
        s.t = given.t, s.ts = given.ts;
        return lib.StateFromT_Ts(s.t, s.ts);
    case Pair::RH_T:
        s.t = given.t, s.RH = given.RH;
        return lib.StateFromRH_T(s.t, s.RH);
    case Pair::D_T:
        s.t = given.t, s.d = given.d;
        return lib.StateFromD_T(s.t, s.d);
    case Pair::I_T:
        s.t = given.t, s.i = given.i;
        return lib.StateFromI_T(s.t, s.i);
    case Pair::RH_Ts:
        s.ts = given.ts, s.RH = given.RH;
        return lib.StateFromRH_Ts(s.ts, s.RH);
    case Pair::D_Ts:
        s.ts = given.ts, s.d = given.d;
        return lib.StateFromD_Ts(s.ts, s.d);
    case Pair::D_RH:
        s.RH = given.RH, s.d = given.d;
        return lib.StateFromD_RH(s.RH, s.d);
    case Pair::I_RH:
        s.RH = given.RH, s.i = given.i;
        return lib.StateFromI_RH(s.RH, s.i);
    case Pair::I_D:
        s.d = given.d, s.i = given.i;
        return lib.StateFromI_D(s.d, s.i);
    }
    return false;
}

const char* Name(Pair pair)
{
    static const char* const names[] = {"T_Ts", "RH_T", "D_T",  "I_T", "RH_Ts",
                                        "D_Ts", "D_RH", "I_RH", "I_D"};
    return names[static_cast<int>(pair)];
}

// The saturation temperature by the plain bisection, every midpoint's
// pressure worked out by the formula ps: what the library's kept table of
// midpoint pressures must reproduce bit for bit.
double PlainSaturationTemperature(double pv, double (*ps)(double))
{
    using ext = long double;
    if (pv < ps(-50) || pv > ps(100))
        return 0;
    double lo = -50, hi = 100;
    for (int pass = 0; pass <= 500; ++pass) {
        const double mid = (ext(lo) + hi) / 2;
        if (std::fabs(ext(lo) - mid) <= 0.001L)
            return lo;
        (ext(ps(mid)) - pv > 0 ? hi : lo) = mid;
    }
    return 0;
}

// The dew point of air of moisture content d (kg/kg) at the standard pressure
// by the plain bisection; its vapour pressure is worked out as the library
// does, in extended precision rounded once.
double PlainDewPoint(double d, double (*ps)(double))
{
    const double pv = d * static_cast<long double>(kStandardPressure) / (0.622L + d);
    return PlainSaturationTemperature(pv, ps);
}

} // namespace

// Published values of the formula; each is checked to half a unit of the last
// decimal quoted.
TEST(IdLibSaturationPressure, MatchesPublishedValuesOverWaterAlsoBelowZero)
{
    RecordingLib r;
    EXPECT_NEAR(r.lib.SaturationPressure(0), 610.69, 0.005);
    EXPECT_NEAR(r.lib.SaturationPressure(20), 2337.08, 0.005);
    EXPECT_NEAR(r.lib.SaturationPressure(100), 101325.09, 0.005);
    EXPECT_NEAR(r.lib.SaturationPressure(-10), 286.22, 0.005);
    EXPECT_NEAR(r.lib.SaturationPressure(-50), 6.354, 0.0005);
    EXPECT_THAT(r.messages, IsEmpty());
}

TEST(IdLibSaturationTemperature, ReturnsLowerBracketEndOnTheBisectionGrid)
{
    RecordingLib r;
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> temperature(-50, 100);
    for (int n = 0; n < 200; ++n) {
        const double pv = r.lib.SaturationPressure(temperature(random));
        const double t = r.lib.SaturationTemperature(pv);
        const double k = (t + 50) / kBisectionStep;
        ASSERT_EQ(k, std::floor(k)) << "t = " << t;
        // The root lies in [t, t + step]: t is below it by at most one step.
        EXPECT_LE(r.lib.SaturationPressure(t), pv);
        EXPECT_GE(r.lib.SaturationPressure(t + kBisectionStep), pv);
    }
    EXPECT_THAT(r.messages, IsEmpty());
}

TEST(IdLibSaturationTemperature, RefusesPressuresOutsideMinus50To100AndAcceptsTheEnds)
{
    RecordingLib r;
    const double lowest = r.lib.SaturationPressure(-50), highest = r.lib.SaturationPressure(100);
    EXPECT_EQ(r.lib.SaturationTemperature(lowest), -50);
    EXPECT_NEAR(r.lib.SaturationTemperature(highest), 100, kBisectionStep);
    EXPECT_THAT(r.messages, IsEmpty());

    EXPECT_EQ(r.lib.SaturationTemperature(std::nextafter(lowest, 0.0)), 0);
    EXPECT_EQ(r.lib.SaturationTemperature(std::nextafter(highest, 1e9)), 0);
    EXPECT_THAT(r.messages, ElementsAre("所给的水蒸汽分压力值超出计算范围！",
                                        "所给的水蒸汽分压力值超出计算范围！"));
}

TEST(IdLibDewPoint, PerfectlyDryAirIsOutOfRangeAndGivesZero)
{
    RecordingLib r;
    EXPECT_EQ(r.lib.DewPointFromD(0), 0);
    EXPECT_THAT(r.messages, ElementsAre("所给的水蒸汽分压力值超出计算范围！"));
}

// Near boiling the saturation curve is so steep that the relaxation factors no
// longer damp the substitutions: they oscillate outward until the cap.
TEST(IdLibRelaxation, DivergingIterationsFailWithZero)
{
    RecordingLib r;
    EXPECT_EQ(r.lib.WetBulbFromT_Pv(90000, 100), 0);
    EXPECT_EQ(r.lib.DryBulbFromRH_Ts(95, 50), 0);
    EXPECT_EQ(r.lib.DryBulbFromI_RH(100, 600), 0);
    EXPECT_THAT(r.messages, ElementsAre("计算失败！", "计算失败！", "计算失败！"));
}

TEST(IdLibRelaxation, StateOperationCarriesOnWithTheFailedIterationsZero)
{
    RecordingLib r;
    MoistAirState& s = r.lib.CurrentState;
    s.ts = 95, s.RH = 50;
    EXPECT_TRUE(r.lib.StateFromRH_Ts(s.ts, s.RH));
    EXPECT_EQ(s.t, 0);
    EXPECT_EQ(s.pv, 50 * r.lib.SaturationPressure(0) / 100);
    EXPECT_THAT(r.messages, ElementsAre("计算失败！"));
}

TEST(IdLibRelaxation, DryBulbFromEnthalpyLeavesTheMoistureItUsed)
{
    RecordingLib r;
    const double t = r.lib.DryBulbFromI_RH(50, 38.617);
    EXPECT_NEAR(t, 20, 0.001); // i quoted to 0.001 kJ/kg, ≈ 1 kJ/kg per ℃
    EXPECT_NEAR(r.lib.CurrentState.d, 0.0072570, 0.0000005);
    EXPECT_THAT(r.messages, IsEmpty());
}

TEST(IdLibStateFromRH_T, WorkedExamples)
{
    RecordingLib r;
    MoistAirState& s = r.lib.CurrentState;
    s.t = 20, s.RH = 50;
    ASSERT_TRUE(r.lib.StateFromRH_T(s.t, s.RH));
    EXPECT_NEAR(s.pv, 1168.54, 0.005);
    EXPECT_NEAR(s.d, 0.0072570, 0.00000005);
    EXPECT_NEAR(s.i, 38.617, 0.0005);
    EXPECT_NEAR(s.ts, 13.883, 0.0005);
    EXPECT_NEAR(s.tdew, 9.272, 0.0005);
    EXPECT_NEAR(s.rho, 1.2009, 0.00005);

    s.t = 26, s.RH = 60;
    ASSERT_TRUE(r.lib.StateFromRH_T(s.t, s.RH));
    EXPECT_NEAR(s.d, 0.012629, 0.0000005);
    EXPECT_NEAR(s.i, 58.449, 0.0005);
    EXPECT_NEAR(s.ts, 20.411, 0.0005);
    EXPECT_NEAR(s.tdew, 17.638, 0.0005);
    EXPECT_THAT(r.messages, IsEmpty());
}

TEST(IdLibStateFromRH_T, DensityTakesTheHumidityLeftInCurrentState)
{
    RecordingLib r;
    r.lib.CurrentState.RH = 0; // the caller did not store the given RH
    ASSERT_TRUE(r.lib.StateFromRH_T(20, 50));
    // Dry air's density at 20 ℃: 0.00349 · 101325 / 293.15 = 1.2062911 kg/m³.
    EXPECT_NEAR(r.lib.CurrentState.rho, 0.00349 * 101325 / 293.15, 1e-12);
}

TEST(IdLibStateFromD_T, DewPointComesFromTheMoistureLeftInCurrentState)
{
    RecordingLib r;
    r.lib.CurrentState.d = 0; // the caller did not store the given d
    ASSERT_TRUE(r.lib.StateFromD_T(20, 0.0072570));
    EXPECT_EQ(r.lib.CurrentState.tdew, 0);
    EXPECT_THAT(r.messages, ElementsAre("所给的水蒸汽分压力值超出计算范围！"));
}

TEST(IdLibStateChecks, WetBulbAboveDryBulbWarnsOnceAndStillFillsEveryField)
{
    RecordingLib r;
    MoistAirState& s = r.lib.CurrentState;
    s = Sentinel();
    s.t = 20, s.ts = 22;
    ASSERT_TRUE(r.lib.StateFromT_Ts(s.t, s.ts));
    EXPECT_THAT(r.messages, ElementsAre("湿球温度不能大于干球温度！"));
    EXPECT_GT(s.RH, 100);
    for (double field : {s.pv, s.RH, s.d, s.i, s.rho, s.tdew})
        EXPECT_NE(field, -777);
    EXPECT_GT(s.tdew, 20); // supersaturated: the dew point lies above the dry bulb
}

TEST(IdLibStateChecks, GivenHumidityOutside0To100WritesNothing)
{
    RecordingLib r;
    r.lib.CurrentState = Sentinel();
    EXPECT_FALSE(r.lib.StateFromRH_Ts(15, 101));
    EXPECT_FALSE(r.lib.StateFromRH_Ts(15, -0.01));
    EXPECT_TRUE(SameState(r.lib.CurrentState, Sentinel()));
    EXPECT_THAT(r.messages,
                ElementsAre("相对湿度不能小于0或大于100％！", "相对湿度不能小于0或大于100％！"));

    // The limits belong to the valid range.
    r.messages.clear();
    r.lib.CurrentState.RH = 100;
    EXPECT_TRUE(r.lib.StateFromRH_Ts(15, 100));
    EXPECT_NEAR(r.lib.CurrentState.t, 15, 0.001); // saturated: t = ts within the tolerance
    EXPECT_THAT(r.messages, IsEmpty());
}

TEST(IdLibStateChecks, ComputedHumidityOutOfRangeZeroesItsFieldsAndFails)
{
    RecordingLib r;
    MoistAirState& s = r.lib.CurrentState;

    // 20 g/kg cannot be held at 20 ℃ (saturation ≈ 14.7 g/kg).
    s = Sentinel();
    EXPECT_FALSE(r.lib.StateFromD_T(20, 0.020));
    EXPECT_EQ(s.ts, 0);
    EXPECT_EQ(s.RH, 0);
    EXPECT_EQ(s.pv, 0);
    EXPECT_EQ(s.i, -777);
    EXPECT_EQ(s.rho, -777);
    EXPECT_EQ(s.tdew, -777);

    // A negative moisture content gives a negative humidity.
    EXPECT_FALSE(r.lib.StateFromD_T(20, -0.001));

    // 100 kJ/kg at 20 ℃ would need 31 g/kg.
    s = Sentinel();
    EXPECT_FALSE(r.lib.StateFromI_T(20, 100));
    EXPECT_NEAR(s.d, (100 - 1.01 * 20) / (2501 + 1.84 * 20), 1e-12); // d stays written
    EXPECT_EQ(s.ts, 0);
    EXPECT_EQ(s.RH, 0);
    EXPECT_EQ(s.pv, 0);
    EXPECT_EQ(s.rho, -777);
    EXPECT_EQ(s.tdew, -777);

    // 20 g/kg with a wet bulb of 20 ℃ puts the dry bulb below the wet bulb.
    s = Sentinel();
    EXPECT_FALSE(r.lib.StateFromD_Ts(20, 0.020));
    EXPECT_EQ(s.t, 0);
    EXPECT_EQ(s.RH, 0);
    EXPECT_NEAR(s.pv, 0.020 * 101325 / 0.642, 1e-9); // pv stays written
    EXPECT_EQ(s.i, -777);
    EXPECT_EQ(s.rho, -777);
    EXPECT_EQ(s.tdew, -777);

    EXPECT_THAT(r.messages,
                ElementsAre("输入数据不合理，请检查含湿量！", "输入数据不合理，请检查含湿量！",
                            "输入数据不合理，请检查焓！", "输入参数不合理，请重输！"));
}

TEST(IdLibStateChecks, ZeroHumidityWithMoistureIsRefusedAndWritesNothing)
{
    RecordingLib r;
    r.lib.CurrentState = Sentinel();
    EXPECT_FALSE(r.lib.StateFromD_RH(0, 0.005));
    EXPECT_FALSE(r.lib.StateFromD_RH(-5, 0.005));
    EXPECT_TRUE(SameState(r.lib.CurrentState, Sentinel()));
    EXPECT_THAT(r.messages, ElementsAre("相对湿度为0时无法由含湿量求状态！",
                                        "相对湿度为0时无法由含湿量求状态！"));

    // A small but positive RH is a state beyond 100 ℃: the saturation
    // temperature reports it and the operation carries on with t = 0.
    r.messages.clear();
    EXPECT_TRUE(r.lib.StateFromD_RH(1, 0.020));
    EXPECT_EQ(r.lib.CurrentState.t, 0);
    EXPECT_THAT(r.messages, ElementsAre("所给的水蒸汽分压力值超出计算范围！"));
}

TEST(IdLibStateChecks, EnthalpyBelowSaturationForItsMoistureZeroesSilently)
{
    RecordingLib r;
    MoistAirState& s = r.lib.CurrentState;
    s = Sentinel();
    // 10 g/kg and 20 kJ/kg: t ≈ −5 ℃, far colder than the 14 ℃ dew point.
    EXPECT_TRUE(r.lib.StateFromI_D(0.010, 20));
    EXPECT_EQ(s.t, 0);
    EXPECT_EQ(s.RH, 0);
    EXPECT_EQ(s.ts, 0);
    EXPECT_EQ(s.d, 0.010);
    EXPECT_NEAR(s.rho, 0.00349 * 101325 / 273.15, 1e-12); // from the zeroed t and RH
    EXPECT_NEAR(s.tdew, 14.0, 0.1);
    EXPECT_THAT(r.messages, IsEmpty());
}

// A state fixed by (t, RH) must come back from each other pair of its own
// quantities, as far as the iterations' tolerances allow. The coarsest are
// temperatures: the dry bulb from (ts, RH) stops within 0.001 ℃ and the one
// from (RH, d) is a saturation temperature up to a bisection step (0.00114 ℃)
// low; the wet bulb and the dry bulb from (RH, i) stop within 1e-4 ℃. Over
// −10…45 ℃ a 0.0012 ℃ shift moves i by < 0.002 kJ/kg (1.01 kJ/(kg·K) plus the
// latent heat of the moisture shifted with it on a line of constant RH),
// d by < 1e-6 kg/kg, pv by < 0.1 Pa, RH by < 0.01 % and rho by < 1e-5 kg/m³.
TEST(IdLibRoundTrip, EveryPairReproducesTheStateWithinTheIterationTolerances)
{
    constexpr double kTemperature = 0.0012; // ℃
    RecordingLib r;
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> temperature(-10, 45), humidity(5, 100);
    for (int n = 0; n < 60; ++n) {
        MoistAirState& s = r.lib.CurrentState;
        s = {};
        s.t = temperature(random), s.RH = humidity(random);
        ASSERT_TRUE(r.lib.StateFromRH_T(s.t, s.RH));
        const MoistAirState base = s;
        for (Pair pair : kAllPairs) {
            SCOPED_TRACE(testing::Message() << Name(pair) << " t=" << base.t << " RH=" << base.RH);
            ASSERT_TRUE(Solve(r.lib, pair, base));
            EXPECT_NEAR(s.t, base.t, kTemperature);
            EXPECT_NEAR(s.ts, base.ts, kTemperature);
            EXPECT_NEAR(s.RH, base.RH, 0.01);
            EXPECT_NEAR(s.d, base.d, 1e-6);
            EXPECT_NEAR(s.i, base.i, 0.002);
            EXPECT_NEAR(s.pv, base.pv, 0.1);
            EXPECT_NEAR(s.rho, base.rho, 1e-5);
            // Each dew point sits up to a step below its own root, and the roots
            // move with pv along the saturation curve (secant slope, Pa/K).
            const double slope =
                (r.lib.SaturationPressure(base.tdew) - r.lib.SaturationPressure(base.tdew - 0.1)) /
                0.1;
            EXPECT_NEAR(s.tdew, base.tdew, kBisectionStep + std::fabs(s.pv - base.pv) / slope);
        }
    }
    EXPECT_THAT(r.messages, IsEmpty());
}

// The library takes its saturation pressures from Taylor polynomials, and
// where those lie too near a rounding boundary of double from exp10l rather
// than powl(10, x), redoing with powl only what exp10l leaves uncertain. It
// must give the states of the plain powl form over the windows' input ranges:
// every field bit for bit, every message and return value. Both forms read
// the dew point's midpoint pressures from their own kept tables; the powl
// form's dew points are held against the bisection without a table too.
TEST(IdLibSweep, FastFormsGiveTheSameStatesAsPowl)
{
    RecordingLib fast, plain;
    UseReferenceSaturationPressure(plain.lib, true);

    std::mt19937_64 random(20250101);
    std::uniform_real_distribution<double> dryBulb(-30, 60), wetBulb(-30, 50), humidity(0, 100),
        moisture(0, 0.050), enthalpy(-30, 150);
    constexpr int kStates = 100000;
    int differing = 0, dewPoints = 0, differingDewPoints = 0;
    for (int n = 0; n < kStates; ++n) {
        const Pair pair = kAllPairs[n % 9];
        MoistAirState given;
        given.t = dryBulb(random), given.ts = wetBulb(random), given.RH = humidity(random);
        given.d = moisture(random), given.i = enthalpy(random);
        fast.lib.CurrentState = plain.lib.CurrentState = {};
        fast.messages.clear(), plain.messages.clear();
        const bool fastDone = Solve(fast.lib, pair, given);
        const bool plainDone = Solve(plain.lib, pair, given);
        if (fastDone != plainDone || fast.messages != plain.messages ||
            !SameState(fast.lib.CurrentState, plain.lib.CurrentState)) {
            if (++differing <= 5)
                ADD_FAILURE() << Name(pair) << " t=" << given.t << " ts=" << given.ts
                              << " RH=" << given.RH << " d=" << given.d << " i=" << given.i;
        }
        // Every completed operation ends with the dew point of its own d.
        if (plainDone) {
            ++dewPoints;
            const MoistAirState& state = plain.lib.CurrentState;
            if (!SameBits(state.tdew, PlainDewPoint(state.d, SaturationPressureReference)) &&
                ++differingDewPoints <= 5)
                ADD_FAILURE() << Name(pair) << " d=" << state.d << " tdew=" << state.tdew;
        }
    }
    EXPECT_EQ(differing, 0) << "of " << kStates << " states";
    EXPECT_EQ(differingDewPoints, 0) << "of " << dewPoints << " dew points";
    EXPECT_GT(dewPoints, kStates / 2);
}

// Every fast form against the reference, where each is most likely to slip:
// anywhere (and beyond the series' range), at the series' grid points, half
// way between them where its polynomials meet, and a few doubles either side
// of both.
TEST(IdLibSweep, SaturationPressureFormsAgreeBitForBit)
{
    constexpr double kGridStep = 1.0 / 16; // K, the series' grid
    std::mt19937_64 random(99);
    std::uniform_real_distribution<double> anywhere(-60, 110), inRange(-50, 100), offset(-1, 1);
    const auto nearestPoint = [&] {
        return -50 + std::round((inRange(random) + 50) / kGridStep) * kGridStep;
    };
    const auto stepped = [&](double t) {
        const int steps = static_cast<int>(offset(random) * 8);
        for (int n = 0; n < std::abs(steps); ++n)
            t = std::nextafter(t, steps > 0 ? HUGE_VAL : -HUGE_VAL);
        return t;
    };
    const struct {
        const char* name;
        std::function<double()> next;
        int count;
    } families[] = {
        {"anywhere", [&] { return anywhere(random); }, 100000},
        {"near a grid point", [&] { return nearestPoint() + offset(random) * 1e-6; }, 30000},
        {"a few doubles from a grid point", [&] { return stepped(nearestPoint()); }, 30000},
        {"where two polynomials meet",
         [&] { return stepped(nearestPoint() + std::copysign(kGridStep / 2, offset(random))); },
         30000},
        {"a few doubles from the series' ends",
         [&] { return stepped(offset(random) < 0 ? -50.0 : 100.0); }, 2000},
    };
    for (const auto& family : families) {
        int differing = 0, differingExp10 = 0;
        for (int n = 0; n < family.count; ++n) {
            const double t = family.next();
            const double reference = SaturationPressureReference(t);
            if (!SameBits(SaturationPressureFast(t), reference) && ++differing <= 3)
                ADD_FAILURE() << family.name << ": t = " << t;
            if (!SameBits(SaturationPressureExp10(t), reference))
                ++differingExp10;
        }
        EXPECT_EQ(differing, 0) << family.name;
        EXPECT_EQ(differingExp10, 0) << family.name;
    }
}
