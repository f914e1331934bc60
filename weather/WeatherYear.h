// A weather year: the hourly records of one station read from an hourly
// weather file — the EPW text format in which typical meteorological years
// are published, or a plain CSV table — as the chart, the design values and
// the bin tables use them. No widgets.
#pragma once

#include "app/Numbers.h"

#include <QIODevice>
#include <QString>
#include <cmath>
#include <limits>
#include <vector>

// Where the file's station is (the LOCATION line of an EPW; a CSV names none:
// its name is the file's base name, the rest NaN).
struct WeatherLocation {
    QString name;     // "Beijing"
    QString region;   // province or state
    QString country;  // "CHN"
    double latitude = std::numeric_limits<double>::quiet_NaN();  // °, north positive
    double longitude = std::numeric_limits<double>::quiet_NaN(); // °, east positive
    double timeZone = std::numeric_limits<double>::quiet_NaN();  // hours from UTC
    double elevation = std::numeric_limits<double>::quiet_NaN(); // m
};

// One usable hour. Dates follow the EPW: hour 1 is the hour ending at 1:00.
struct WeatherHour {
    int year = 0;  // as the file gives it (typical years mix years by month); 0: none
    int month = 0; // 1–12
    int day = 0;   // 1–31 (29 February allowed)
    int hour = 0;  // 1–24
    double dryBulb = 0;          // ℃
    double relativeHumidity = 0; // %, 0–100 (an EPW's 100–110 is taken as 100)
    double dewPoint = std::numeric_limits<double>::quiet_NaN(); // ℃; NaN: not in the file
    double pressure = std::numeric_limits<double>::quiet_NaN(); // station pressure, Pa; NaN: not in the file
};

struct WeatherYear {
    enum class Format { Epw, Csv } format = Format::Epw;
    WeatherLocation location;
    // The usable hours in file order.
    std::vector<WeatherHour> hours;
    // Hours of the file left out because a value they need is missing
    // (EPW's 99.9 ℃, 999 %, 999999 Pa; an empty CSV field).
    long long skipped = 0;

    // The station's name as titles show it: the LOCATION's name, region and
    // country joined by ", " where present ("Beijing, Beijing, CHN").
    QString stationText() const;
    // The mean of the hours' station pressures; NaN when no hour has one.
    double meanPressure() const;
};

// The failure to read a weather file from the disk at all (missing,
// unreadable, a read error): the command line's status 1. Faults of the
// text itself are plain UserErrors naming the line: status 2.
class WeatherFileUnreadable : public UserError
{
public:
    using UserError::UserError;
};

// Reads an EPW: the LOCATION line and the seven other header lines, then one
// line per hour. A UTF-8 BOM and CR LF or LF line ends are accepted; leap
// years (8,784 hours) and partial years too. Throws UserError
// "气象年文件第<n>行有误：<why>" for a text that is no EPW.
WeatherYear ReadEpw(QIODevice& device);
// Reads a CSV through the program's CSV reader: a header naming `t` and `rh`
// (%) or `t` and `d` (g/kg dry air), optionally `p` (Pa) and `month`, `day`,
// `hour` (all three or none; without them the rows are the hours of the year
// in order from 1 January, hour 1). A row's moisture content becomes its
// relative humidity with the moist-air library at the row's pressure, or at
// `pressure` where the row has none. Throws UserError naming the line.
WeatherYear ReadWeatherCsv(QIODevice& device, double pressure = 101325);
// The file at path: an EPW when its name ends in .epw (any case), a CSV
// otherwise. Throws WeatherFileUnreadable when the file cannot be read,
// UserError for its text.
WeatherYear ReadWeatherYearFile(const QString& path, double csvPressure = 101325);

// Which hours count: months (1–12) and hours of the day (1–24), each a set.
// The default takes every hour.
struct WeatherFilter {
    unsigned months = 0xFFF;     // bit m−1 set: month m counts
    unsigned hours = 0xFFFFFF;   // bit h−1 set: hour h counts
    bool takes(const WeatherHour& h) const
    {
        return (months >> (h.month - 1) & 1u) && (hours >> (h.hour - 1) & 1u);
    }
    bool takesAll() const { return months == 0xFFF && hours == 0xFFFFFF; }
    // "6-8", "11-2" (running over the year's end), "1,2,12", "8-12,14-18".
    // Throws UserError naming the text.
    static unsigned ParseMonths(const QString& text);
    static unsigned ParseHours(const QString& text);
    // The filter as headings show it: "6–8月，8–18时"; "全年" for every hour.
    QString text() const;
};
