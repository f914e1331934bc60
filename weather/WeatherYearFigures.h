// What a weather year gives the designer: the outdoor design values of
// GB 50736-2012 computed from its hours, the hours inside each comfort zone
// and the bin tables. No widgets.
#pragma once

#include "weather/WeatherYear.h"

#include <QString>
#include <optional>
#include <vector>

class ID_lib;

// The design values of GB 50736-2012 applied to the one year of the file,
// always over every hour of the file. A value the year cannot give (too few
// hours or days) is nullopt. A day is a date (month, day), whatever the
// hours' year field (a typical year's months come from different years), and
// its mean counts only when at least 20 of its hours are in the file; a
// month's mean is over all of its hours.
struct WeatherDesignValues {
    // 夏季空调室外计算干球温度: the hourly dry bulb exceeded by at most 50
    // hours (sorted descending, the 51st).
    std::optional<double> summerDryBulb;
    // 夏季空调室外计算湿球温度: the same of the hourly wet bulb, computed with
    // the moist-air library at `pressure`.
    std::optional<double> summerWetBulb;
    // 冬季空调室外计算温度: the daily mean dry bulb with at most one colder
    // day (ascending, the 2nd).
    std::optional<double> winterAirConditioning;
    // 冬季空调室外计算相对湿度: the mean relative humidity of the month with
    // the lowest mean dry bulb.
    std::optional<double> winterRelativeHumidity;
    // 冬季供暖室外计算温度: the daily mean with at most five colder days
    // (ascending, the 6th).
    std::optional<double> heating;
    // The pressure the wet bulbs were computed at, Pa.
    double pressure = 0;
};

// Each hour's state at lib's AtmPressure (with kPsychroCoefficient), one per
// hour of year.hours, from its dry bulb and relative humidity: d and i are
// the library's own (StateFromRH_T), bit for bit, so that an hour lies where
// the chart's StateToPixel puts that state. An hour the library cannot
// compute has computed false (its message is dropped). lib is left untouched.
struct HourState {
    double d = 0;       // g/kg dry air
    double i = 0;       // kJ/kg dry air
    double wetBulb = 0; // ℃
    bool computed = false;
};
std::vector<HourState> ComputeHourStates(const WeatherYear& year, const ID_lib& lib);

// The pressure the year's calculations use: the file's mean station pressure,
// or `fallback` when no hour has one.
double WeatherPressure(const WeatherYear& year, double fallback = 101325);

// lib's AtmPressure and PsychroCoefficient are set here (to
// WeatherPressure(year, fallback) and kPsychroCoefficient) on a copy; lib is
// left untouched.
WeatherDesignValues ComputeDesignValues(const WeatherYear& year, const ID_lib& lib,
                                        double fallbackPressure = 101325);

// The hours of the filter inside each comfort zone the chart draws
// (ComfortZones(), in its order), from each hour's dry bulb and relative
// humidity fields, a boundary belonging to the zone.
struct ZoneHours {
    QString name; // the zone's label
    long long hours = 0;
    double share = 0; // of the filtered hours, 0–1; 0 when there are none
};
std::vector<ZoneHours> CountZoneHours(const WeatherYear& year, const WeatherFilter& filter);
// How many hours the filter keeps.
long long FilteredHours(const WeatherYear& year, const WeatherFilter& filter);

// The bin tables of the filtered hours, from their states at lib's
// AtmPressure: hours by dry bulb (1 ℃ bins [t, t+1)) × moisture content
// (1 g/kg bins [d, d+1)), and by dry bulb with the mean coincident wet bulb of
// each bin. Hours the library cannot compute are counted in uncomputed, in no
// bin. The chart's year layer draws the first table's cells.
struct WeatherBinTables {
    QString station;
    WeatherFilter filter;
    double pressure = 0;     // Pa, the states' pressure
    long long hours = 0;     // hours the filter keeps
    long long uncomputed = 0;
    // Bins with hours only, ordered by t, then d.
    struct Cell {
        int t = 0; // the bin [t, t+1) ℃
        int d = 0; // the bin [d, d+1) g/kg
        long long hours = 0;
    };
    std::vector<Cell> cells;
    // Dry-bulb bins with hours only, ascending.
    struct DryBulbBin {
        int t = 0;
        long long hours = 0;
        double meanWetBulb = 0; // ℃
    };
    std::vector<DryBulbBin> dryBulb;
};
WeatherBinTables ComputeBinTables(const WeatherYear& year, const WeatherFilter& filter,
                                  const ID_lib& lib);
// The same from states already computed (ComputeHourStates at the same
// pressure).
WeatherBinTables BinHourStates(const WeatherYear& year, const WeatherFilter& filter,
                               const std::vector<HourState>& states, double pressure);
