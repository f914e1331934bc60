// The saturation pressure formula over liquid water, Goff–Gratch type,
// referred to the triple point:
//   log10(ps / 101325 Pa) = E(x) = a1·(1 − 1/x) − a2·log10(x)
//                                  + a3·(1 − 10^(b3·(x − 1)))
//                                  + a4·(10^(b4·(1 − 1/x)) − 1) + E0,
//   x = T / 273.16 K, T = t + 273.15 K.
// Its constants, named once for the two ways it is evaluated: directly
// (ID_lib.cpp) and by Taylor polynomials about grid points
// (SaturationSeries.cpp). Each is the long double nearest the decimal shown,
// and that long double is what "the formula" means.
#pragma once

namespace GoffGratch
{

inline constexpr long double kZeroCelsius = 273.15L;   // K at 0 ℃
inline constexpr long double kTriplePoint = 273.16L;   // K, triple point of water
inline constexpr long double kStandardAtm = 101325.0L; // Pa; the formula's pressure unit
inline constexpr long double kA1 = 10.79574L;          // the (1 − 1/x) term
inline constexpr long double kA2 = 5.028L;             // the log10(x) term
inline constexpr long double kA3 = 0.000150475L;       // first power-of-ten correction
inline constexpr long double kB3 = -8.2969L;           // its exponent per (x − 1)
inline constexpr long double kA4 = 0.00042873L;        // second power-of-ten correction
inline constexpr long double kB4 = 4.76955L;           // its exponent per (1 − 1/x)
inline constexpr long double kE0 =
    -2.2195768L; // log10(611.14 Pa / 101325 Pa): ps at the triple point

} // namespace GoffGratch
