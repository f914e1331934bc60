// The saturation pressure formula in its two arithmetic forms. Inside the
// library only; the tests and the benchmark use it to hold the fast form
// against the plain one.
#pragma once

class ID_lib;

// Saturation vapour pressure over water, Pa, at t ℃, with every power of ten
// taken as powl(10, x): the plain extended-precision form of the formula.
double SaturationPressureReference(double t);

// The same formula with exp10l, redone with powl when the result lies too
// near a rounding boundary of double: the same doubles as the reference form
// at about a fifth of its cost. What ID_lib uses.
double SaturationPressureFast(double t);

// Makes lib compute every saturation pressure by the reference form (true) or
// the fast one (false, the default), so that whole states can be compared.
void UseReferenceSaturationPressure(ID_lib& lib, bool reference);
