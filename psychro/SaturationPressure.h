// The saturation pressure formula in its arithmetic forms. Inside the
// library only; the tests and the benchmark use it to hold the fast forms
// against the plain one.
#pragma once

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
// basePower's error plus 1.1 ulps; NaN unless |ln 10·(a − base)| ≤ 0.004
// (every argument the formula takes within 1/32 K of the point is).
long double PowerOfTenNear(long double base, long double basePower, long double a);

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
// ten million temperatures is 56 ulps. With 144 ulps, 86 % of the results come
// from the series; the rest go through the exp10l form.
inline constexpr int kSaturationSeriesGuardUlps = 144;

// The formula with its three powers of ten from the expansions about t's grid
// point instead of exp10l, the exp10l form's corner and guard tests deciding
// as there; what they leave open, and any t without a ready point, goes
// through the exp10l form. The same doubles as the reference at about a third
// of the exp10l form's cost.
double SaturationPressureNearGrid(double t);

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
