#include "friction/Friction.h"

#include <cmath>

namespace
{

// The damped iteration of the Colebrook–White equation.
constexpr double kStartLambda = 0.02;
constexpr double kLambdaFloor = 1e-7; // replaces a λ ≤ 0 before its square root
constexpr double kTolerance = 1e-7;   // |λ' − λ| at convergence
constexpr double kKeptOld = 0.2;      // share of the old λ in each step
constexpr int kMostSteps = 500;       // the 501st step is a failure
constexpr double kMmPerM = 1000;

} // namespace

ColebrookWhiteResult ColebrookWhite(double Re, double K, double d)
{
    const double roughnessTerm = (K / kMmPerM) / (3.71 * d);
    const double ln10 = std::log(10.0);
    ColebrookWhiteResult result;
    double lambda = kStartLambda;
    for (int steps = 0;;) {
        if (lambda <= 0)
            lambda = kLambdaFloor;
        const double x = 2.51 / (std::sqrt(lambda) * Re) + roughnessTerm;
        const double lg = std::log(x) / ln10;
        const double next = 1 / (4 * lg * lg);
        if (std::fabs(next - lambda) <= kTolerance) {
            // The λ this step started from is the result, not λ'.
            result.lambda = lambda;
            result.steps = steps;
            result.converged = true;
            return result;
        }
        lambda = next + kKeptOld * (lambda - next);
        ++steps;
        if (steps > kMostSteps) {
            result.lambda = lambda;
            result.steps = steps;
            return result;
        }
    }
}

std::optional<double> DarcyWeisbachGradient(double lambda, double v, double d, double rho)
{
    const double R = lambda * v * v / (d * 2) * rho;
    if (!std::isfinite(R))
        return std::nullopt;
    return R;
}
