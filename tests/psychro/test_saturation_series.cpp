// The saturation pressure's Taylor polynomials: how far they stray from the
// reference form's extended-precision value, where they have no value, and
// their first use from several threads at once.
#include "psychro/SaturationPressure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
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
