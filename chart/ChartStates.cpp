#include "chart/ChartStates.h"

#include <cmath>
#include <limits>

// The arithmetic below repeats the library's own, step for step: each
// intermediate the library stores in CurrentState is rounded to double at the
// same place, every expression is carried in long double. The chart tests
// compare both ways value for value and pixel for pixel.

namespace
{
using ext = long double;
constexpr ext kMolarMassRatio = 0.622L; // water / dry air
constexpr ext kLatentHeat0 = 2501.0L;   // kJ/kg at 0 ℃
constexpr ext kCpVapour = 1.84L;        // kJ/(kg·K)
constexpr ext kCpDryAir = 1.01L;        // kJ/(kg·K)

// The library's bisection range for a saturation temperature, ℃, its
// tolerance and its cap on passes.
constexpr double kLowestT = -50.0;
constexpr double kHighestT = 100.0;
constexpr ext kTolerance = 0.001L;
constexpr int kMaxPasses = 500;
} // namespace

ChartStates::ChartStates(ID_lib& lib, ChartComputation how)
    : lib_(lib), how_(how),
      memo_(std::size_t(1) << kMemoLevels, std::numeric_limits<double>::quiet_NaN()),
      lowestPs_(lib.SaturationPressure(kLowestT)), highestPs_(lib.SaturationPressure(kHighestT))
{
}

// The library's SaturationTemperature, pass for pass, with the pressures at
// the shared upper midpoints taken from memo_. Out of range (the library's
// message) and the never-reached cap are left to the library itself.
double ChartStates::SaturationTemperature(double pv)
{
    if (pv < lowestPs_ || pv > highestPs_)
        return lib_.SaturationTemperature(pv);
    double lo = kLowestT, hi = kHighestT;
    std::size_t node = 1;
    for (int counter = 0; counter <= kMaxPasses; ++counter) {
        const double mid = (ext(lo) + hi) / 2;
        if (std::fabs(ext(lo) - mid) <= kTolerance)
            return lo;
        double ps;
        if (node < memo_.size()) {
            if (std::isnan(memo_[node]))
                memo_[node] = lib_.SaturationPressure(mid);
            ps = memo_[node];
        } else {
            ps = lib_.SaturationPressure(mid);
        }
        const bool above = ext(ps) - pv > 0;
        (above ? hi : lo) = mid;
        node = 2 * node + (above ? 0 : 1);
    }
    return lib_.SaturationTemperature(pv);
}

double ChartStates::EnthalpyFromD_RH(double RH, double d)
{
    if (how_ == ChartComputation::FullStates) {
        lib_.StateFromD_RH(RH, d);
        return lib_.CurrentState.i;
    }
    const ext B = lib_.AtmPressure;
    // Vapour pressure of the air, then the dry bulb at which it is RH % of
    // saturation.
    const double pv = ext(d) * B / (kMolarMassRatio + d);
    const double t = SaturationTemperature(pv / (0.01L * RH));
    return kCpDryAir * t + (kLatentHeat0 + kCpVapour * t) * ext(d);
}

double ChartStates::SaturationMoistureAtT(double t)
{
    if (how_ == ChartComputation::FullStates) {
        lib_.CurrentState.t = t;
        lib_.CurrentState.RH = 100;
        lib_.StateFromRH_T(t, 100);
        return lib_.CurrentState.d;
    }
    const ext B = lib_.AtmPressure;
    const double pv = lib_.SaturationPressure(t) * ext(100) / 100;
    return kMolarMassRatio * pv / (B - pv);
}

double ChartStates::SaturationMoistureAtI(double i)
{
    lib_.DryBulbFromI_RH(100, i);
    return lib_.CurrentState.d;
}
