// Saturation pressures kept at the points of a fixed temperature grid, so that
// a search that keeps landing on the same points (the dew point's bisection
// evaluates 17 of them per call) works each one out once per program run.
#pragma once

#include <cstddef>

class SaturationGrid
{
public:
    // Pa at t ℃: SaturationPressureFast or SaturationPressureReference.
    using Formula = double (*)(double t);

    // The grid lowest + k·(highest − lowest)/2^halvings, k = 0…2^halvings
    // (℃), whose points must all be doubles exactly; the bisection grid
    // −50 + k·150/2^17 is (multiples of 2^-16 below 2^8).
    SaturationGrid(Formula formula, double lowest, double highest, int halvings);
    ~SaturationGrid();
    SaturationGrid(const SaturationGrid&) = delete;
    SaturationGrid& operator=(const SaturationGrid&) = delete;

    // formula(t), bit for bit, for every t. At a point of the grid the value
    // is worked out on its first use and read back afterwards; any other t is
    // worked out every time. Safe to call from several threads at once.
    double pressure(double t) const;

private:
    Formula formula_;
    double lowest_, highest_, step_, pointsPerDegree_;
    std::size_t points_;
    // One slot per point, 0 until its value is first worked out (no
    // saturation pressure is 0). Zeroed by calloc, so that the system hands
    // over only the pages whose points are used.
    double* kept_;
};
