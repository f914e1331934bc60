// The kept table of saturation pressures behind the dew point's bisection.
#include "psychro/SaturationGrid.h"
#include "psychro/SaturationPressure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace
{

int formulaCalls = 0;

double CountedPressure(double t)
{
    ++formulaCalls;
    return SaturationPressureFast(t);
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

// A point of the grid is worked out once and then read back; any other
// temperature, however near a point, is worked out every time and never gets
// a neighbour's value.
TEST(SaturationGrid, KeepsTheFormulasValueAtGridPointsOnly)
{
    const SaturationGrid grid(CountedPressure, -50, 100, 17);
    const double step = 150.0 / (1 << 17);
    const double point = -50 + 12345 * step;
    const struct {
        const char* name;
        double t;
        bool kept;
    } cases[] = {
        {"lowest point", -50, true},
        {"middle point", 25, true},
        {"a point", point, true},
        {"highest point", 100, true},
        {"between two points", point + step / 2, false},
        {"an ulp above a point", std::nextafter(point, 200.0), false},
        {"an ulp below a point", std::nextafter(point, -200.0), false},
        {"a step below the grid", -50 - step, false},
        {"a step above the grid", 100 + step, false},
        {"NaN", std::numeric_limits<double>::quiet_NaN(), false},
    };
    std::size_t kept = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int use = 1; use <= 2; ++use) {
            formulaCalls = 0;
            EXPECT_TRUE(SameBits(grid.pressure(c.t), SaturationPressureFast(c.t)));
            EXPECT_EQ(formulaCalls, c.kept && use == 2 ? 0 : 1) << "use " << use;
        }
        kept += c.kept;
        EXPECT_EQ(grid.keptPoints(), kept);
    }
}
