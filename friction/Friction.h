// The friction of a fluid flowing full in a round conduit, for the water pipe
// and the air duct calculators alike: the Colebrook–White friction factor and
// the Darcy–Weisbach gradient it gives. What is particular to water (its
// properties, the laminar branch) is in pipe/WaterFriction.h, to air in
// duct/DuctSegment.h.
//
// Reference: the Darcy–Weisbach gradient R = λ/d · ρv²/2 with the
// Colebrook–White friction factor 1/√λ = −2·lg(2.51/(Re·√λ) + K/(3.71·d)), as
// Chinese heating and ventilation design practice uses them.
#pragma once

#include <optional>

// The Colebrook–White friction factor by damped fixed-point iteration: from
// λ = 0.02, each step takes λ' from the equation and keeps 20 % of the old λ;
// it has converged when |λ' − λ| ≤ 1e-7, and the result is then the λ before
// that last step. After 501 damped steps without converging it has failed.
struct ColebrookWhiteResult {
    double lambda = 0; // the friction factor (meaningless when !converged)
    int steps = 0;     // damped steps taken
    bool converged = false;
};
// Re: Reynolds number; K: absolute roughness (mm); d: inner diameter (m).
ColebrookWhiteResult ColebrookWhite(double Re, double K, double d);

// The specific friction R = λ/d · ρv²/2 (Pa/m) of friction factor lambda at
// mean velocity v (m/s) in a conduit of diameter d (m), density rho (kg/m³).
// None when the result is not a finite number (a zero diameter, for instance).
std::optional<double> DarcyWeisbachGradient(double lambda, double v, double d, double rho);
