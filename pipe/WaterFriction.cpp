#include "pipe/WaterFriction.h"

#include "friction/Friction.h"

#include <array>
#include <cmath>
#include <limits>

namespace
{

struct ViscosityRow {
    double t;  // ℃
    double nu; // 10⁻⁶ m²/s
};

// Kinematic viscosity of water at atmospheric pressure, the handbook's own
// figures: every 5 ℃ up to 50 ℃, every 10 ℃ above. Not to be replaced by a
// fitted formula: the shown results follow these rows.
constexpr std::array<ViscosityRow, 16> kViscosity{{
    {0, 1.792},
    {5, 1.519},
    {10, 1.308},
    {15, 1.140},
    {20, 1.007},
    {25, 0.897},
    {30, 0.824},
    {35, 0.727},
    {40, 0.661},
    {45, 0.605},
    {50, 0.556},
    {60, 0.477},
    {70, 0.415},
    {80, 0.367},
    {90, 0.328},
    {100, 0.296},
}};

// ρ = 1019.87957 · e^(−0.00061019 · tm), kg/m³, tm in ℃: a fit of the density
// of water over 0–100 ℃.
constexpr double kDensityAt0 = 1019.87957;       // kg/m³
constexpr double kDensityExponent = -0.00061019; // 1/℃

// Below this Reynolds number the flow is laminar and λ = 64/Re.
constexpr double kLaminarBelowRe = 2000;
constexpr double kLaminarFactor = 64;

} // namespace

double KinematicViscosityOfWater(double t)
{
    // The first row at or above t; the value comes from the line through it
    // and the row before it.
    for (size_t i = 0; i < kViscosity.size(); ++i) {
        if (t > kViscosity[i].t)
            continue;
        if (i == 0)
            break; // t ≤ 0: no row before
        const ViscosityRow& below = kViscosity[i - 1];
        const ViscosityRow& above = kViscosity[i];
        return below.nu + (above.nu - below.nu) / (above.t - below.t) * (t - below.t);
    }
    return std::numeric_limits<double>::quiet_NaN();
}

double WaterDensity(double tm)
{
    return kDensityAt0 * std::exp(kDensityExponent * tm);
}

std::optional<double> PipeSpecificFriction(double v, double d, double K, double nu, double rho)
{
    const double Re = v * d / nu;
    double lambda;
    if (Re < kLaminarBelowRe) {
        lambda = kLaminarFactor / Re;
    } else {
        const ColebrookWhiteResult cw = ColebrookWhite(Re, K, d);
        if (!cw.converged)
            return std::nullopt;
        lambda = cw.lambda;
    }
    return DarcyWeisbachGradient(lambda, v, d, rho);
}
