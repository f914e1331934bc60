// Water properties and the specific friction of water flowing in a pipe: what
// the water pipe resistance calculator needs for each segment.
//
// Using it (the segment calculation in PipeSegment.h does exactly this):
//   const double tm = (t1 + t2) / 2;                        // ℃, 0 < tm ≤ 100
//   const double nu = KinematicViscosityOfWater(tm) * 1e-6; // m²/s
//   const double rho = WaterDensity(tm);                    // kg/m³
//   const std::optional<double> R = PipeSpecificFriction(v, Di / 1000, K, nu, rho);
//   if (!R)
//       <"计算失败！": the iteration did not converge; nothing is stored>
//
// Reference: the Darcy–Weisbach gradient with the Colebrook–White friction
// factor (friction/Friction.h), and 64/Re for laminar flow, as Chinese heating
// design practice uses them; the viscosity of water from the usual handbook
// table.
#pragma once

#include <optional>

// Kinematic viscosity of water at t (℃), in 10⁻⁶ m²/s, interpolated linearly in
// a 16-row table from 0 to 100 ℃: the row at or above t and the row before it,
// so a t on a row gives that row's value. Outside 0 < t ≤ 100 there is no such
// pair of rows and the result is NaN; callers refuse those temperatures first.
double KinematicViscosityOfWater(double t);

// Density of water (kg/m³) at the mean temperature tm (℃).
double WaterDensity(double tm);

// The specific friction R (Pa/m) of water at mean velocity v (m/s) in a pipe of
// inner diameter d (m) and absolute roughness K (mm), with kinematic viscosity
// nu (m²/s) and density rho (kg/m³). Below Re 2000 λ = 64/Re; from 2000 on the
// Colebrook–White iteration. None when the iteration fails or the result is
// not a finite number (a zero velocity or diameter, for instance).
std::optional<double> PipeSpecificFriction(double v, double d, double K, double nu, double rho);
