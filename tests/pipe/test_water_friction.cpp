// Water properties and pipe friction: the handbook figures and the worked
// friction case, the laminar boundary and the iteration's failure.
#include "friction/Friction.h"
#include "pipe/WaterFriction.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{

TEST(PipeWater, ViscosityInterpolatesFromTheRowBelow)
{
    const struct {
        double t;
        double nu; // 10⁻⁶ m²/s
    } cases[] = {
        {20, 1.007},                                // on a row
        {82.5, 0.367 + (0.328 - 0.367) / 10 * 2.5}, // 95/70 ℃ water: 0.35725
        {100, 0.296},                               // the last row
        {0.1, 1.792 + (1.519 - 1.792) / 5 * 0.1},   // between the first two rows
        {55, 0.556 + (0.477 - 0.556) / 10 * 5},     // where the spacing widens
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t);
        // The same arithmetic in the same order: equal to the last bit.
        EXPECT_DOUBLE_EQ(KinematicViscosityOfWater(c.t), c.nu);
    }
    EXPECT_NEAR(KinematicViscosityOfWater(82.5), 0.35725, 1e-12);
    for (double outside : {0.0, -5.0, 100.5})
        EXPECT_TRUE(std::isnan(KinematicViscosityOfWater(outside))) << outside;
}

TEST(PipeWater, DensityAtTheMeanOf95And70)
{
    // 1019.87957 · e^(−0.0503407), to the two decimals the tables show.
    EXPECT_NEAR(WaterDensity(82.5), 969.81, 0.005);
}

TEST(PipeFriction, WorkedCaseConvergesAfterEightDampedSteps)
{
    const double nu = 0.35725e-6;
    const ColebrookWhiteResult cw = ColebrookWhite(1 * 0.027 / nu, 0.2, 0.027);
    ASSERT_TRUE(cw.converged);
    EXPECT_EQ(cw.steps, 8);
    EXPECT_NEAR(cw.lambda, 0.03526, 5e-6);
    const std::optional<double> R = PipeSpecificFriction(1, 0.027, 0.2, nu, 969.81);
    ASSERT_TRUE(R);
    EXPECT_NEAR(*R, 633.2, 0.05);
    // R is the Darcy–Weisbach gradient of the iteration's λ.
    EXPECT_DOUBLE_EQ(*R, cw.lambda * 1 * 1 / (0.027 * 2) * 969.81);
}

TEST(PipeFriction, LaminarBelowRe2000AndTurbulentFromItSmoothPipesIncluded)
{
    const double d = 0.02, nu = 1e-6, rho = 1000;
    const struct {
        double Re, K;
        bool laminar;
    } cases[] = {{1999.999, 0.2, true}, {2000, 0.2, false}, {1e5, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Re);
        const double v = c.Re * nu / d;
        const ColebrookWhiteResult cw = ColebrookWhite(v * d / nu, c.K, d);
        ASSERT_TRUE(cw.converged);
        EXPECT_GT(cw.steps, 0); // a smooth pipe (K = 0) iterates too
        const double lambda = c.laminar ? 64 / (v * d / nu) : cw.lambda;
        EXPECT_EQ(PipeSpecificFriction(v, d, c.K, nu, rho), lambda * v * v / (d * 2) * rho);
    }
    // Blasius' smooth-pipe law agrees to a few per cent at Re 1e5.
    EXPECT_NEAR(ColebrookWhite(1e5, 0, d).lambda, 0.3164 / std::pow(1e5, 0.25), 0.001);
}

TEST(PipeFriction, FailureIsReportedNotReturnedAsAResult)
{
    // A roughness that makes x ≤ 0 has no logarithm: every step is NaN, the
    // iteration runs out of steps and says so.
    const ColebrookWhiteResult cw = ColebrookWhite(1e5, -1000, 0.05);
    EXPECT_FALSE(cw.converged);
    EXPECT_EQ(cw.steps, 501);
    EXPECT_FALSE(PipeSpecificFriction(2, 0.05, -1000, 1e-6, 1000));
    // No velocity: λ = 64/0, no result either.
    EXPECT_FALSE(PipeSpecificFriction(0, 0.05, 0.2, 1e-6, 1000));
}

} // namespace
