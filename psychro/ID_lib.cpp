#include "psychro/ID_lib.h"
#include "psychro/GoffGratch.h"
#include "psychro/SaturationGrid.h"
#include "psychro/SaturationPressure.h"

#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

// Arithmetic: every expression is evaluated in extended precision (ext) and
// every named value (an iteration's estimate, a returned or stored quantity)
// is a double, so each is rounded once, where it is stored.

namespace
{

using ext = long double;

// Saturation pressure over liquid water: psychro/GoffGratch.h.
using GoffGratch::kA1;
using GoffGratch::kA2;
using GoffGratch::kA3;
using GoffGratch::kA4;
using GoffGratch::kB3;
using GoffGratch::kB4;
using GoffGratch::kE0;
using GoffGratch::kStandardAtm;
using GoffGratch::kTriplePoint;
using GoffGratch::kZeroCelsius;

// Moist air at the pressure B.
constexpr ext kMolarMassRatio = 0.622L;  // water / dry air, 18.02 / 28.97
constexpr ext kLatentHeat0 = 2501.0L;    // kJ/kg, vaporisation at 0 ℃
constexpr ext kCpVapour = 1.84L;         // kJ/(kg·K), water vapour
constexpr ext kCpDryAir = 1.01L;         // kJ/(kg·K), dry air
constexpr ext kDensityDryAir = 0.00349L; // kg·K/(m³·Pa), ≈ 1/287 J/(kg·K)
constexpr ext kDensityVapour = 0.00134L; // kg·K/(m³·Pa), the vapour's lighter share

// Iterations.
constexpr double kLowestT = -50.0;  // ℃, the range in which a saturation
constexpr double kHighestT = 100.0; //     temperature is sought
constexpr int kMaxPasses = 500;     // passes after the first: 501 in all

const char* const kPressureOutOfRange = "所给的水蒸汽分压力值超出计算范围！";
const char* const kWetAboveDry = "湿球温度不能大于干球温度！";
const char* const kCheckMoisture = ID_lib::CheckMoistureText;
const char* const kCheckEnthalpy = "输入数据不合理，请检查焓！";
const char* const kReenterInput = "输入参数不合理，请重输！";
const char* const kNoStateAtZeroHumidity = "相对湿度为0时无法由含湿量求状态！";

ext Pow10Reference(ext x)
{
    return std::pow(10.0L, x);
}

ext Pow10Fast(ext x)
{
#if defined(__GLIBC__)
    return ::exp10l(x);
#else
    return std::pow(10.0L, x);
#endif
}

// log10(ps / 101325 Pa), the terms summed in the order of the formula.
template <ext (*Pow10)(ext)> ext GoffGratchExponent(double t)
{
    const ext x = (t + kZeroCelsius) / kTriplePoint;
    return kA1 * (1 - 1 / x) - kA2 * std::log10(x) + kA3 * (1 - Pow10(kB3 * (x - 1))) +
           kA4 * (Pow10(kB4 * (1 - 1 / x)) - 1) + kE0;
}

// The exp10l form gets the reference's exponent E, not just a value near it:
// x, 1/x, log10l and the a1 and a2 terms are the same operations, and only
// the two correction powers come from exp10l instead of powl. Both are good
// to about an ulp (1.39 and 0.90 the largest errors seen over the formula's
// exponents); taking each of powl's powers to lie within 3 ulps of exp10l's,
// a power widened by 2^-60 of its value each way (7.5 ulps or more) covers
// powl's. E falls as the first power grows and rises with the second, every
// rounding keeping that order, so when E comes out the same at both corners
// (97 % of the time) it is the reference's E. Then only the last power
// differs, by ≤ 3 ulps, ≤ 7 ulps of ps after the product with 101325; a
// result farther than 16 ulps from a rounding boundary of double (98.4 %)
// rounds as the powl one would, and a nearer one gets the reference's last
// step: powl of that same E.
constexpr ext kPowerWidening = 0x1p-60L;
constexpr int kRoundingGuardUlps = 16;
// Beyond this (below about −90 ℃) the reference form is used outright.
constexpr ext kLargestGuardedExponent = 8;

// Whether SaturationPressureFast tries the series first; every form gives
// the same doubles, so this changes only the speed.
std::atomic<bool> seriesInUse{true};

// Partial pressure of the vapour, Pa, in air of moisture content d (kg/kg).
ext VapourPressureFromD(ext d, ext B)
{
    return d * B / (kMolarMassRatio + d);
}

// Moisture content, kg/kg dry air, of air whose vapour pressure is pv.
ext MoistureFromPv(ext pv, ext B)
{
    return kMolarMassRatio * pv / (B - pv);
}

// Relative humidity, %, from the vapour pressure and the saturation pressure.
ext HumidityFromPv(ext pv, ext ps)
{
    return pv / ps * 100;
}

// Enthalpy, kJ/kg dry air: dry air plus vapour, referred to 0 ℃ and liquid water.
ext Enthalpy(ext t, ext d)
{
    return kCpDryAir * t + (kLatentHeat0 + kCpVapour * t) * d;
}

// Density of moist air, kg/m³: the dry air's ideal-gas density at B less the
// share the lighter vapour displaces; ps is the saturation pressure at t.
ext Density(ext t, ext RH, ext ps, ext B)
{
    const ext T = t + kZeroCelsius;
    return kDensityDryAir * B / T - kDensityVapour * (0.01L * RH * ps) / T;
}

bool HumidityOutOfRange(double RH)
{
    return RH < 0 || RH > 100;
}

// Saturation pressures at the ends of the bisection range, Pa, worked out once.
struct SaturationRange {
    double lowest, highest;
};
const SaturationRange& RangeOf(bool reference)
{
    static const SaturationRange fast{SaturationPressureFast(kLowestT),
                                      SaturationPressureFast(kHighestT)};
    static const SaturationRange plain{SaturationPressureReference(kLowestT),
                                       SaturationPressureReference(kHighestT)};
    return reference ? plain : fast;
}

// Every midpoint the bisection reaches lies on the grid kLowestT + k·150/2^17 ℃
// (it stops when the bracket is 150/2^17 wide, the first width under 0.002),
// and dew points near each other share most of their 17 midpoints: the
// pressures there are kept, one table per formula, filled as first reached.
constexpr int kBisectionHalvings = 17;
const SaturationGrid& GridOf(bool reference)
{
    static const SaturationGrid fast(SaturationPressureFast, kLowestT, kHighestT,
                                     kBisectionHalvings);
    static const SaturationGrid plain(SaturationPressureReference, kLowestT, kHighestT,
                                      kBisectionHalvings);
    return reference ? plain : fast;
}

} // namespace

long double SaturationPressureReferenceExtended(double t)
{
    return kStandardAtm * Pow10Reference(GoffGratchExponent<Pow10Reference>(t));
}

double SaturationPressureReference(double t)
{
    return static_cast<double>(SaturationPressureReferenceExtended(t));
}

namespace
{
// GoffGratchExponent's operations in its order, the correction powers apart,
// each power of ten from power(which, argument) — which: 0 and 1 the two
// correction powers, 2 the exponent's. Where the corners of the widened
// powers give one exponent E and 101325·10^E rounds as its neighbours do,
// that is the reference's double; otherwise the reference decides.
template <class Power> double GuardedSaturationPressure(double t, Power power)
{
    const ext x = (t + kZeroCelsius) / kTriplePoint;
    const ext dryTerms = kA1 * (1 - 1 / x) - kA2 * std::log10(x);
    const ext firstPow = power(0, kB3 * (x - 1));
    const ext secondPow = power(1, kB4 * (1 - 1 / x));
    const auto exponent = [dryTerms](ext first, ext second) {
        return dryTerms + kA3 * (1 - first) + kA4 * (second - 1) + kE0;
    };
    const ext lowest = exponent(firstPow * (1 + kPowerWidening), secondPow * (1 - kPowerWidening));
    const ext highest = exponent(firstPow * (1 - kPowerWidening), secondPow * (1 + kPowerWidening));
    if (lowest != highest || !(std::fabs(lowest) < kLargestGuardedExponent)) // NaN too
        return SaturationPressureReference(t);
    const ext ps = kStandardAtm * power(2, lowest);
    if (RoundsLikeItsNeighbours(ps, kRoundingGuardUlps)) // false for NaN
        return static_cast<double>(ps);
    return static_cast<double>(kStandardAtm * Pow10Reference(lowest));
}
} // namespace

double SaturationPressureExp10(double t)
{
    return GuardedSaturationPressure(t, [](int, ext argument) { return Pow10Fast(argument); });
}

// The exp10l form's tests with other powers. In relative terms (units of
// 2^-64): a power from PowerOfTenNear is within 3.1 of the exact one (its
// point's powl within an ulp, ≤ 2, and its own 1.1), powl's within 2, so the
// two lie 5.1 apart, well inside the corners' widening by 2^-60 (16, 15 after
// its rounding); 10^E likewise, 7.1 apart after the products with 101325
// (≤ 7.1 ulps of ps), inside the same 16-ulp guard. A NaN (no point, or an
// argument too far from it) fails the corner test.
double SaturationPressureNearGrid(double t)
{
    const SaturationNodePowers* node = SaturationNodePowersAt(t);
    if (!node)
        return SaturationPressureExp10(t);
    return GuardedSaturationPressure(t, [node](int which, ext argument) {
        switch (which) {
        case 0:
            return PowerOfTenNear(node->firstArgument, node->firstPower, argument);
        case 1:
            return PowerOfTenNear(node->secondArgument, node->secondPower, argument);
        default:
            return PowerOfTenNear(node->exponent, node->exponentPower, argument);
        }
    });
}

double SaturationPressureFast(double t)
{
    if (seriesInUse.load(std::memory_order_relaxed)) {
        const double ps = SaturationPressureSeriesRounded(t);
        return ps == ps ? ps : SaturationPressureNearGrid(t); // NaN: undecided
    }
    return SaturationPressureExp10(t);
}

void UseSaturationPressureSeries(bool use)
{
    seriesInUse.store(use, std::memory_order_relaxed);
}

void UseReferenceSaturationPressure(ID_lib& lib, bool reference)
{
    lib.referenceSaturationPressure_ = reference;
}

ID_lib::ID_lib(MessageSink sink) : sink_(std::move(sink)) {}

void ID_lib::setMessageSink(MessageSink sink)
{
    sink_ = std::move(sink);
}

void ID_lib::fail(const char* text) const
{
    ++failures_;
    if (sink_)
        sink_(text, MessageKind::Failure);
}

void ID_lib::warn(const char* text) const
{
    if (sink_)
        sink_(text, MessageKind::Warning);
}

// Goff–Gratch type formula over liquid water, used below 0 ℃ as well (the
// design practice has no separate formula over ice).
double ID_lib::SaturationPressure(double t) const
{
    return referenceSaturationPressure_ ? SaturationPressureReference(t)
                                        : SaturationPressureFast(t);
}

// Inverse of SaturationPressure by bisection on [−50, 100] ℃. Returns the
// lower end of the last bracket: a point of the grid −50 + k·150/2^17, at most
// one grid step below the root (17 halvings; the cap only guards).
double ID_lib::SaturationTemperature(double pv) const
{
    const SaturationRange& range = RangeOf(referenceSaturationPressure_);
    if (pv < range.lowest || pv > range.highest) {
        fail(kPressureOutOfRange);
        return 0;
    }
    const SaturationGrid& grid = GridOf(referenceSaturationPressure_);
    double lo = kLowestT, hi = kHighestT;
    for (int counter = 0; counter <= kMaxPasses; ++counter) {
        const double mid = (ext(lo) + hi) / 2;
        if (std::fabs(ext(lo) - mid) <= 0.001L)
            return lo;
        if (ext(grid.pressure(mid)) - pv > 0)
            hi = mid;
        else
            lo = mid;
    }
    fail(CalculationFailedText);
    return 0;
}

// Wet bulb from the psychrometer equation pv = Ps(ts) − A·B·(t − ts), solved by
// under-relaxed substitution from 15 ℃ (factor 0.05 keeps it stable where
// Ps rises steeply). Returns the estimate that met the tolerance.
double ID_lib::WetBulbFromT_Pv(double pv, double t) const
{
    const ext A = PsychroCoefficient, B = AtmPressure;
    double c = 15;
    for (int counter = 0; counter <= kMaxPasses; ++counter) {
        const double r = t - (ext(SaturationPressure(c)) - pv) / A / B;
        if (std::fabs(ext(r) - c) <= 0.0001L)
            return c;
        c = c + 0.05L * (ext(r) - c);
    }
    fail(CalculationFailedText);
    return 0;
}

// Dry bulb from the psychrometer equation with pv = RH/100 · Ps(t): relaxed
// substitution from 10 ℃, factor 0.1, tolerance 0.001 ℃.
double ID_lib::DryBulbFromRH_Ts(double ts, double RH) const
{
    const ext AB = ext(PsychroCoefficient) * AtmPressure;
    const double psWet = SaturationPressure(ts);
    double c = 10;
    for (int counter = 0; counter <= kMaxPasses; ++counter) {
        const double r = (psWet + AB * ts - 0.01L * RH * SaturationPressure(c)) / AB;
        if (std::fabs(ext(r) - c) <= 0.001L)
            return c;
        c = c + 0.1L * (ext(r) - c);
    }
    fail(CalculationFailedText);
    return 0;
}

// Dry bulb on the line of constant enthalpy i through the humidity RH:
// relaxed substitution from 20 ℃ on t = (i − 2501·d) / (1.01 + 1.84·d), d
// taken at the saturation pressure of the current estimate. Returns the new
// value that met the tolerance; CurrentState.d is the d it was computed from.
double ID_lib::DryBulbFromI_RH(double RH, double i)
{
    const ext B = AtmPressure;
    const double phi = RH / 100.0L;
    double c = 20;
    for (int counter = 0; counter <= kMaxPasses; ++counter) {
        const double p = phi * ext(SaturationPressure(c));
        const double d = MoistureFromPv(p, B);
        CurrentState.d = d;
        const double r = (i - kLatentHeat0 * d) / (kCpDryAir + kCpVapour * d);
        if (std::fabs(ext(r) - c) <= 0.0001L)
            return r;
        c = c + 0.1L * (ext(r) - c);
    }
    fail(CalculationFailedText);
    return 0;
}

// Dew point: the saturation temperature of the air's own vapour pressure.
double ID_lib::DewPointFromD(double d) const
{
    return SaturationTemperature(VapourPressureFromD(d, AtmPressure));
}

double ID_lib::EnthalpyFromT_D(double t, double d) const
{
    return double(Enthalpy(t, d));
}

// The state operations complete CurrentState from two given quantities; the
// density always takes CurrentState.RH, where the caller leaves a given RH.

// Vapour pressure straight from the psychrometer equation.
bool ID_lib::StateFromT_Ts(double t, double ts)
{
    if (ts > t)
        warn(kWetAboveDry); // the state is still computed
    const ext A = PsychroCoefficient, B = AtmPressure;
    const double psDry = SaturationPressure(t);
    CurrentState.pv = SaturationPressure(ts) - A * B * (ext(t) - ts);
    CurrentState.RH = HumidityFromPv(CurrentState.pv, psDry);
    CurrentState.d = MoistureFromPv(CurrentState.pv, B);
    CurrentState.i = Enthalpy(t, CurrentState.d);
    CurrentState.rho = Density(t, CurrentState.RH, psDry, B);
    CurrentState.tdew = DewPointFromD(CurrentState.d);
    return true;
}

// Vapour pressure from RH, wet bulb by relaxation on the psychrometer equation.
bool ID_lib::StateFromRH_T(double t, double RH)
{
    const ext B = AtmPressure;
    const double psDry = SaturationPressure(t);
    CurrentState.pv = psDry * ext(RH) / 100;
    CurrentState.ts = WetBulbFromT_Pv(CurrentState.pv, t);
    CurrentState.d = MoistureFromPv(CurrentState.pv, B);
    CurrentState.i = Enthalpy(t, CurrentState.d);
    CurrentState.rho = Density(t, CurrentState.RH, psDry, B);
    CurrentState.tdew = DewPointFromD(CurrentState.d);
    return true;
}

// Vapour pressure from d (Dalton's law with the molar mass ratio 0.622); a d
// beyond saturation at t, or below 0, is refused.
bool ID_lib::StateFromD_T(double t, double d)
{
    const ext B = AtmPressure;
    const double psDry = SaturationPressure(t);
    CurrentState.pv = VapourPressureFromD(d, B);
    CurrentState.ts = WetBulbFromT_Pv(CurrentState.pv, t);
    CurrentState.RH = HumidityFromPv(CurrentState.pv, psDry);
    if (HumidityOutOfRange(CurrentState.RH)) {
        fail(kCheckMoisture);
        CurrentState.ts = CurrentState.RH = CurrentState.pv = 0;
        return false;
    }
    CurrentState.i = Enthalpy(t, d);
    CurrentState.rho = Density(t, CurrentState.RH, psDry, B);
    CurrentState.tdew = DewPointFromD(CurrentState.d);
    return true;
}

// d from the enthalpy at t, then as from (t, d); an i beyond saturation is refused.
bool ID_lib::StateFromI_T(double t, double i)
{
    const ext B = AtmPressure;
    const double psDry = SaturationPressure(t);
    CurrentState.d = (i - kCpDryAir * t) / (kLatentHeat0 + kCpVapour * t);
    CurrentState.pv = VapourPressureFromD(CurrentState.d, B);
    CurrentState.ts = WetBulbFromT_Pv(CurrentState.pv, t);
    CurrentState.RH = HumidityFromPv(CurrentState.pv, psDry);
    if (HumidityOutOfRange(CurrentState.RH)) {
        fail(kCheckEnthalpy);
        CurrentState.ts = CurrentState.RH = CurrentState.pv = 0;
        return false;
    }
    CurrentState.rho = Density(t, CurrentState.RH, psDry, B);
    CurrentState.tdew = DewPointFromD(CurrentState.d);
    return true;
}

// Dry bulb by relaxation on the psychrometer equation along the line of RH.
bool ID_lib::StateFromRH_Ts(double ts, double RH)
{
    if (HumidityOutOfRange(RH)) {
        fail(HumidityOutOfRangeText);
        return false;
    }
    const ext B = AtmPressure;
    CurrentState.t = DryBulbFromRH_Ts(ts, RH);
    const double psDry = SaturationPressure(CurrentState.t);
    CurrentState.pv = ext(RH) * psDry / 100;
    CurrentState.d = MoistureFromPv(CurrentState.pv, B);
    CurrentState.i = Enthalpy(CurrentState.t, CurrentState.d);
    CurrentState.rho = Density(CurrentState.t, CurrentState.RH, psDry, B);
    CurrentState.tdew = DewPointFromD(CurrentState.d);
    return true;
}

bool ID_lib::StateFromD_Ts(double ts, double d)
{
    const ext A = PsychroCoefficient, B = AtmPressure;
    CurrentState.pv = VapourPressureFromD(d, B);
    // The psychrometer equation solved for the dry bulb.
    CurrentState.t = ts + (SaturationPressure(ts) - ext(CurrentState.pv)) / (A * B);
    const double psDry = SaturationPressure(CurrentState.t);
    CurrentState.RH = HumidityFromPv(CurrentState.pv, psDry);
    if (HumidityOutOfRange(CurrentState.RH)) {
        fail(kReenterInput);
        CurrentState.t = CurrentState.RH = 0;
        return false;
    }
    CurrentState.i = Enthalpy(CurrentState.t, d);
    CurrentState.rho = Density(CurrentState.t, CurrentState.RH, psDry, B);
    CurrentState.tdew = DewPointFromD(CurrentState.d);
    return true;
}

// The dry bulb is where the air would be saturated at pv / (RH/100), so RH = 0
// has no state: refused before anything is written.
bool ID_lib::StateFromD_RH(double RH, double d)
{
    if (!(RH > 0)) {
        fail(kNoStateAtZeroHumidity);
        return false;
    }
    const ext B = AtmPressure;
    CurrentState.pv = VapourPressureFromD(d, B);
    CurrentState.t = SaturationTemperature(CurrentState.pv / (0.01L * RH));
    CurrentState.ts = WetBulbFromT_Pv(CurrentState.pv, CurrentState.t);
    CurrentState.i = Enthalpy(CurrentState.t, d);
    CurrentState.rho =
        Density(CurrentState.t, CurrentState.RH, SaturationPressure(CurrentState.t), B);
    CurrentState.d = d;
    CurrentState.tdew = DewPointFromD(d);
    return true;
}

// Dry bulb by relaxation along the line of constant enthalpy; the enthalpy is
// then recomputed from that t and the d the iteration left.
bool ID_lib::StateFromI_RH(double RH, double i)
{
    const ext B = AtmPressure;
    CurrentState.t = DryBulbFromI_RH(RH, i);
    const double psDry = SaturationPressure(CurrentState.t);
    CurrentState.pv = psDry * 0.01L * RH;
    CurrentState.ts = WetBulbFromT_Pv(CurrentState.pv, CurrentState.t);
    CurrentState.i = Enthalpy(CurrentState.t, CurrentState.d);
    CurrentState.rho = Density(CurrentState.t, CurrentState.RH, psDry, B);
    CurrentState.tdew = DewPointFromD(CurrentState.d);
    return true;
}

// The dry bulb follows directly from the enthalpy at d. Air beyond the
// saturation line (RH over 100) has no state of its own: t, RH and ts are
// zeroed without a message and the operation still succeeds.
bool ID_lib::StateFromI_D(double d, double i)
{
    const ext B = AtmPressure;
    CurrentState.t = (i - kLatentHeat0 * d) / (kCpDryAir + kCpVapour * ext(d));
    CurrentState.pv = VapourPressureFromD(d, B);
    CurrentState.ts = WetBulbFromT_Pv(CurrentState.pv, CurrentState.t);
    CurrentState.RH = HumidityFromPv(CurrentState.pv, SaturationPressure(CurrentState.t));
    CurrentState.d = d;
    if (HumidityOutOfRange(CurrentState.RH))
        CurrentState.t = CurrentState.RH = CurrentState.ts = 0;
    CurrentState.rho =
        Density(CurrentState.t, CurrentState.RH, SaturationPressure(CurrentState.t), B);
    CurrentState.tdew = DewPointFromD(d);
    return true;
}

// StateFromRH_T's pv, and its two ways of failing: the wet bulb relaxation not
// settling, and the dew point's pressure lying outside the bisection range.
// The relaxation is run only where it might not settle. It settles when
// −49 ≤ t ≤ 60 ℃, 0 ≤ RH ≤ 100 and A·B ≥ 50 Pa/K (B from 74.4 kPa):
// F(c) = t − c − (Ps(c) − pv)/(A·B) falls with c, F(t) ≤ 0 as pv ≤ Ps(t), and
// F(−50) ≥ 1 − 6.4 Pa/(A·B) > 0, so the wet bulb c* lies in (−50, 60]. A pass
// moves c to c* + (1 − k)(c − c*), k = 0.05·(1 + s) with s the slope of
// Ps/(A·B) between c and c*; Ps rises on [−50, 60] ℃ by at most 922 Pa/K, so
// 0.05 ≤ k ≤ 0.97: from 15 ℃ every pass comes at least 5 % nearer without
// overshooting. The stop |F| ≤ 1e-4 holds once |c − c*| ≤ 1e-4/19.44, which
// from at most 65 K away takes ln(65·19.44/1e-4)/−ln 0.95 < 320 of its 501
// passes; the roundings (about 1e-13 K a pass) change nothing of this.
double ID_lib::VapourPressureFromRH_T(double t, double RH) const
{
    const ext B = AtmPressure;
    const double pv = SaturationPressure(t) * ext(RH) / 100;
    const bool wetBulbSettles =
        t >= -49 && t <= 60 && RH >= 0 && RH <= 100 && ext(PsychroCoefficient) * B >= 50;
    if (!wetBulbSettles)
        WetBulbFromT_Pv(pv, t); // for its failure only
    const double d = MoistureFromPv(pv, B);
    const double pvDew = VapourPressureFromD(d, B);
    // Within the range the dew point's bisection always ends after its 17
    // halvings; outside it (or NaN) SaturationTemperature gives its verdict.
    const SaturationRange& range = RangeOf(referenceSaturationPressure_);
    if (!(pvDew >= range.lowest && pvDew <= range.highest))
        SaturationTemperature(pvDew);
    return pv;
}
