// The three moist-air quantities the chart grid reads, computed exactly as the
// library's state operations compute them but without the parts of the state
// the grid throws away (wet bulb, density, dew point: two thirds of the cost
// of a state). ChartComputation::FullStates makes the library calls
// themselves, so that the two can be held against each other.
#pragma once

#include "psychro/ID_lib.h"

#include <vector>

enum class ChartComputation { Reduced, FullStates };

class ChartStates
{
public:
    // lib carries AtmPressure and PsychroCoefficient; its CurrentState is
    // used as the library's calling contract requires.
    ChartStates(ID_lib& lib, ChartComputation how);

    // StateFromD_RH(RH, d) → CurrentState.i, kJ/kg. d in kg/kg, RH in % (> 0).
    double EnthalpyFromD_RH(double RH, double d);
    // StateFromRH_T(t, 100) → CurrentState.d: the saturation moisture content
    // at t ℃, kg/kg.
    double SaturationMoistureAtT(double t);
    // DryBulbFromI_RH(100, i) → CurrentState.d: the saturation moisture
    // content on the enthalpy line i, kg/kg (the same call either way).
    double SaturationMoistureAtI(double i);

private:
    double SaturationTemperature(double pv);

    ID_lib& lib_;
    ChartComputation how_;
    // The library finds a saturation temperature by bisection on a fixed
    // tree of midpoints; the upper levels of that tree are the same for every
    // call, so their saturation pressures are kept here (heap order, NaN until
    // first needed) for the whole drawing.
    static constexpr int kMemoLevels = 11;
    std::vector<double> memo_;
    double lowestPs_ = 0, highestPs_ = 0; // Pa at the ends of the bisection range
};
