// The saturation pressure formula in its arithmetic forms. Inside the
// library only; the tests and the benchmark use it to hold the fast forms
// against the plain one.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

class ID_lib;

// Saturation vapour pressure over water, Pa, at t ℃, with every power of ten
// taken as powl(10, x): the plain extended-precision form of the formula.
double SaturationPressureReference(double t);
// The same before its rounding to double.
long double SaturationPressureReferenceExtended(double t);

// The formula with exp10l: its exponent is the reference's whenever the
// correction powers' difference from powl's cannot change it, and only then
// is it used; the last power of ten is redone with powl when the result lies
// too near a rounding boundary of double, and an uncertain exponent takes
// the reference form. The same doubles as the reference at a fifth of its cost.
double SaturationPressureExp10(double t);

// Pa at t ℃ from a Taylor polynomial of degree 6 about the nearest point of
// the grid −50 + k/16 ℃, its coefficients worked out on the point's first use
// (safe from several threads at once). Within 12 ulps of the formula's exact
// value; NaN outside [−50, 100] ℃, and while another thread is still working
// out the point's coefficients.
long double SaturationPressureSeries(double t);
// The same, and in guardUlps (unless null) the guard that holds for the
// temperatures nearest that point: the reference form's own bound there plus
// the series' 12 ulps and 2 to spare, at most kSaturationSeriesGuardUlps
// (reached only towards −50 ℃; about 90 between 0 and 40 ℃).
long double SaturationPressureSeries(double t, int* guardUlps);

// A grid point's three powers of ten, each with the long double argument it
// is 10 to (by powl, within an ulp): the two correction powers and 10^E at
// the point, as the reference form evaluates their arguments there.
struct SaturationNodePowers {
    long double firstArgument, firstPower;
    long double secondArgument, secondPower;
    long double exponent, exponentPower;
};
// t's grid point's powers; null where SaturationPressureSeries(t) is NaN.
const SaturationNodePowers* SaturationNodePowersAt(double t);
// 10^a from a nearby argument base and basePower ≈ 10^base, within
// basePower's relative error plus 1.1 units of 2^-64; NaN unless |ln 10·(a − base)| ≤ 0.004
// (every argument the formula takes within 1/32 K of the point is).
//
// 10^a = 10^base · exp(y), y = ln 10·(a − base), exp(y) − 1 to degree 6:
// for |y| ≤ 4·10^-3 the terms left out are below 2^-68. The subtraction, the
// product with ln 10 and the polynomial's roundings move y or the small
// term exp(y) − 1 by a few units of 2^-64 of themselves, nothing against the
// result; basePower·q and the last addition round by ½ ulp (≤ 2^-64 of the
// value) each, the dropped terms add 2^-68. Inline, so
// that the formula's two correction powers are worked out side by side.
inline long double PowerOfTenNear(long double base, long double basePower, long double a)
{
    constexpr long double kLn10 = 2.302585092994045684017991454684364208L;
    const long double y = kLn10 * (a - base);
    if (!(y <= 4e-3L && y >= -4e-3L)) // NaN too
        return std::numeric_limits<long double>::quiet_NaN();
    const long double q =
        y * (1 + y * (0.5L + y * (1 / 6.0L + y * (1 / 24.0L + y * (1 / 120.0L + y / 720.0L)))));
    return basePower + basePower * q;
}

// How near the series may come to a rounding boundary of double, in long
// double ulps, and still be rounded as the reference form rounds. (A
// relative error of n·2^-64 is at most n ulps.)
//
// The series is within 12 ulps of the formula's exact value. The reference
// form is not: x = (t + 273.15)/273.16 carries two roundings (a relative
// error ≤ 2·2^-64) and 1/x a third (≤ 2^-64); E moves by x·dE/dx ≤ 11.1 times
// the first and by a1/x ≤ 13.2 times the second; the a1 product and the four
// additions of E add |a1 term| + |partial sums| ≤ 12.6 units of 2^-64, and
// log10l (≤ 2 ulps), the a2 product and the small power terms ≤ 2.5 more. At
// −50 ℃, where all of these are largest, E is off by at most 2·11.1 + 13.2 +
// 12.6 + 2.5 = 50.3 units, and ps by ln 10 times that plus powl's ulp and the
// last product's rounding: ≤ 119 ulps (72…78 between 0 and 100 ℃). So series
// and reference lie at most 131 ulps apart; the largest distance seen over
// ten million temperatures is 56 ulps. 144 ulps hold at every temperature;
// each grid point has its own guard from the same terms at its temperatures
// (SaturationPressureSeries(t, guardUlps)), about 90 between 0 and 40 ℃,
// where 91 % of the results come from the series.
inline constexpr int kSaturationSeriesGuardUlps = 144;

// The formula with its three powers of ten from the expansions about t's grid
// point instead of exp10l, the exp10l form's corner and guard tests deciding
// as there; what they leave open, and any t without a ready point, goes
// through the exp10l form. The same doubles as the reference; exp10l or powl
// is called only where the tests leave the result open (5 % of temperatures
// over −50…100 ℃).
double SaturationPressureNearGrid(double t);

// True when every long double within `ulps` of x rounds to the same double as x.
// Bit operations only: this runs for every saturation pressure.
inline bool RoundsLikeItsNeighbours(long double x, int ulps)
{
    if constexpr (std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10 &&
                  std::endian::native == std::endian::little) {
        // Positive and normal as a double (NaN fails too), by comparison:
        // the sign and exponent are not read from memory, since a wider load
        // after the 10-byte store of x would wait for the store to complete.
        if (!(x > 0x1p-1000L && x < 0x1p1000L))
            return false;
        // The x87 format's first 8 bytes: a 64-bit significand with its
        // leading bit. A double keeps its upper 53 bits, so the lower 11
        // count x's long double ulps above a double, and the rounding
        // boundary is at 1024 of them.
        std::uint64_t significand;
        std::memcpy(&significand, &x, sizeof significand);
        // The next double down and up in the same binade (not worth the
        // care near a power of two).
        constexpr std::uint64_t kKeptBits = (std::uint64_t(1) << 52) - 1;
        const std::uint64_t kept = (significand >> 11) & kKeptBits;
        if (kept == 0 || kept == kKeptBits)
            return false;
        const int below = static_cast<int>(significand & 0x7FF);
        return std::abs(below - 1024) > ulps;
    }
    const double nearest = static_cast<double>(x);
    constexpr std::uint64_t kFractionBits = (std::uint64_t(1) << 52) - 1;
    // Powers of two have a closer neighbour below than above: not worth the care.
    if (!std::isfinite(nearest) || nearest <= 0 ||
        (std::bit_cast<std::uint64_t>(nearest) & kFractionBits) == 0)
        return false;
    // An ulp of double at nearest, halved; long double has 11 more bits, so
    // one of its ulps there is this spacing / 2^11. Both are exact.
    // The next double up is the next bit pattern, nearest being positive and finite.
    const double above = std::bit_cast<double>(std::bit_cast<std::uint64_t>(nearest) + 1);
    const long double halfSpacing = ((long double)above - nearest) / 2;
    const long double margin = ulps * (halfSpacing / 1024);
    return halfSpacing - std::fabs(x - nearest) > margin; // x − nearest is exact
}

// The series' value rounded to double where it lies farther than its
// point's guard from a rounding boundary of double, so that the reference
// rounds the same way; NaN where it does not, or has no value.
double SaturationPressureSeriesRounded(double t);

// What ID_lib uses: the series where it lies farther than its point's guard
// from a rounding boundary of double, otherwise SaturationPressureNearGrid.
// The same doubles as the reference form.
double SaturationPressureFast(double t);

// Whether SaturationPressureFast tries the series first (the default) or goes
// straight to the exp10l form; for the benchmark, since the results are the
// same either way. Affects every thread.
void UseSaturationPressureSeries(bool use);

// Makes lib compute every saturation pressure by the reference form (true) or
// the fast one (false, the default), so that whole states can be compared.
void UseReferenceSaturationPressure(ID_lib& lib, bool reference);
