// The saturation pressure's Taylor polynomials: how far they stray from the
// reference form's extended-precision value, where they have no value, their
// first use from several threads at once, and the form near their grid
// points that decides what they leave undecided.
#include "psychro/SaturationPressure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <thread>
#include <vector>

namespace
{

// A long double ulp at v (v > 0, x87 format: 64 significant bits).
long double UlpAt(long double v)
{
    int exponent = 0;
    std::frexp(v, &exponent);
    return std::ldexp(1.0L, exponent - 64);
}

// How far v lies from the nearest rounding boundary of double, in long
// double ulps of the double nearest v.
long double UlpsFromRoundingBoundary(long double v)
{
    const double nearest = static_cast<double>(v);
    const long double halfSpacing =
        (static_cast<long double>(std::nextafter(nearest, HUGE_VAL)) - nearest) / 2;
    return (halfSpacing - std::fabs(v - nearest)) / (halfSpacing / 1024);
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

// The guard rests on a bound of 130 ulps for the distance between series and
// reference, made of worst cases that seldom meet: about 50 is what occurs.
// Half the guard leaves room for that and still fails if the polynomials or
// the premises of the bound (log10l's and powl's accuracy) go wrong.
TEST(SaturationSeries, StaysWellInsideItsGuardOfTheReference)
{
    ASSERT_EQ(std::numeric_limits<long double>::digits, 64);
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> temperature(-50, 100), offset(-1, 1);
    long double largest = 0;
    double worstT = 0;
    for (int n = 0; n < 200000; ++n) {
        double t = temperature(random);
        if (n % 2 == 1) // where two polynomials meet, their least accurate points
            t = std::clamp(-50 + std::round((t + 50) * 16) / 16 +
                               std::copysign(1.0 / 32, offset(random)),
                           -50.0, 100.0);
        const long double reference = SaturationPressureReferenceExtended(t);
        const long double ulps =
            std::fabs(SaturationPressureSeries(t) - reference) / UlpAt(reference);
        if (!(ulps <= largest)) // NaN too
            largest = ulps, worstT = t;
    }
    EXPECT_LT(largest, kSaturationSeriesGuardUlps / 2) << "at t = " << worstT;
}

TEST(SaturationSeries, HasNoValueOutsideMinus50To100)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double t : {std::nextafter(-50.0, -inf), std::nextafter(100.0, inf), -273.15, 1e300, inf,
                     -inf, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_TRUE(std::isnan(SaturationPressureSeries(t))) << t;
    for (double t : {-50.0, 100.0, 0.0, -0.0, 1e-300})
        EXPECT_TRUE(std::isfinite(SaturationPressureSeries(t))) << t;
}

// Threads reaching the same unfilled grid points together: whichever fills a
// point, and whatever the others do meanwhile, every result is the reference's.
TEST(SaturationSeries, FirstUseFromSeveralThreadsGivesTheReferenceBits)
{
    constexpr int kThreads = 4;
    constexpr int kPerThread = 4000;
    // A band the library's start-up does not reach: its points start empty
    // when the test runs in a process of its own, as ctest runs it.
    std::vector<double> temperatures(kPerThread);
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> band(97.5, 99.5);
    for (double& t : temperatures)
        t = band(random);
    std::vector<double> results[kThreads];
    std::vector<std::thread> threads;
    for (int k = 0; k < kThreads; ++k)
        threads.emplace_back([&, k] {
            for (double t : temperatures)
                results[k].push_back(SaturationPressureFast(t));
        });
    for (std::thread& thread : threads)
        thread.join();
    int differing = 0;
    for (int n = 0; n < kPerThread; ++n) {
        const double reference = SaturationPressureReference(temperatures[n]);
        for (const std::vector<double>& result : results)
            if (std::memcmp(&result[n], &reference, sizeof reference) != 0)
                ++differing;
    }
    EXPECT_EQ(differing, 0);
}

// Where the series is too near a rounding boundary, the form that takes its
// powers of ten from the grid points' expansions must still give the
// reference's doubles: over random temperatures that the series leaves
// undecided, those whose reference value lies within the last step's 16 ulps
// of a boundary, those at the ends of a point's interval (the expansions'
// farthest reach), and around 0 ℃ (x = 1, the correction powers' arguments
// change sign), 100 ℃ (E near 0) and −50 ℃ (the largest guard). The fast
// form is held against the reference on the same temperatures.
TEST(SaturationSeries, NearGridFormGivesTheReferenceBitsWhereTheSeriesIsUndecided)
{
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> inRange(-50, 100), offset(-1, 1);
    const auto undecided = [&](long double largestUlps, bool byReference) {
        for (;;) {
            const double t = inRange(random);
            const long double v =
                byReference ? SaturationPressureReferenceExtended(t) : SaturationPressureSeries(t);
            if (UlpsFromRoundingBoundary(v) <= largestUlps)
                return t;
        }
    };
    const auto intervalEnd = [&] {
        const double point = -50 + std::round((inRange(random) + 50) * 16) / 16;
        return std::clamp(point + std::copysign(1.0 / 32, offset(random)) * (1 - 1e-12), -50.0,
                          100.0);
    };
    const struct {
        const char* name;
        std::function<double()> next;
        int count;
    } families[] = {
        {"undecided by the series", [&] { return undecided(kSaturationSeriesGuardUlps, false); },
         40000},
        {"within 16 ulps of a boundary", [&] { return undecided(16, true); }, 5000},
        {"at an end of a point's interval", intervalEnd, 20000},
        {"around 0 ℃", [&] { return offset(random) * 0.05; }, 10000},
        {"around 100 ℃", [&] { return 100 - std::fabs(offset(random)) * 0.05; }, 10000},
        {"around -50 ℃", [&] { return -50 + std::fabs(offset(random)) * 0.05; }, 10000},
    };
    for (const auto& family : families) {
        int differing = 0, differingFast = 0;
        for (int n = 0; n < family.count; ++n) {
            const double t = family.next();
            const double reference = SaturationPressureReference(t);
            if (!SameBits(SaturationPressureNearGrid(t), reference) && ++differing <= 3)
                ADD_FAILURE() << family.name << ": t = " << t;
            if (!SameBits(SaturationPressureFast(t), reference))
                ++differingFast;
        }
        EXPECT_EQ(differing, 0) << family.name;
        EXPECT_EQ(differingFast, 0) << family.name;
    }
}
