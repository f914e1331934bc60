// Synthetic hourly weather files for the tests: EPW text (its LOCATION line,
// the seven other header lines and one row per hour) and plain CSV tables,
// built from hours given here, never from a real station's year.
//
// DesignYear() is one full non-leap year (8,760 hours, 2001) whose design
// values are known by construction (the constants of DesignYearValues):
//
//   - Every hour has the station pressure kPressure = 95,000 Pa.
//   - A day's hours are its base temperature + 2 ℃ at even hours and − 2 ℃
//     at odd hours, so the daily mean is the base exactly. Month bases:
//     Jan −5, Feb 0, Mar 6, Apr 12, May 18, Jun 24, Jul 28, Aug 27, Sep 22,
//     Oct 15, Nov 8, Dec 1 ℃.
//   - Seven days are colder, scattered over the year's two ends so that only
//     a sort over every day finds them: 9 Jan −12, 20 Dec −11, 28 Jan −10,
//     3 Jan −9, 14 Feb −8, 15 Jan −7, 20 Jan −6 ℃. Ascending daily means:
//     −12, −11, −10, −9, −8, −7, −6, −5, ... so the 2nd coldest day is −11 ℃
//     (冬季空调室外计算温度) and the 6th −7 ℃ (冬季供暖室外计算温度).
//   - January is the coldest month (mean −174/31 ≈ −5.61 ℃; February's
//     −8/28, December's 19/31). Its hours' relative humidity alternates 40 %
//     (odd hours) and 50 % (even hours): its mean is 45 %. Every other hour
//     of the year has 60 %.
//   - July's otherwise ≤ 30 ℃ hours hold 50 hours at 37 ℃ (10–21 July hours
//     13–16, 22 July hours 13–14), one at 34.5 ℃ (22 July hour 15) and ten at
//     34 ℃ (23 July hours 11–16, 24 July hours 13–16). Descending, the 51st
//     hourly dry bulb is 34.5 ℃ (夏季空调室外计算干球温度); the 50th is 37 and
//     the 52nd 34, so an off-by-one shows. No other hour exceeds 30 ℃.
//   - The hot hours all have 60 %, as have all hours outside January (whose
//     hours are far colder), so the highest hourly wet bulbs belong to the
//     same hours as the highest dry bulbs, in the same order: the 51st is
//     that of 34.5 ℃, 60 % at 95,000 Pa (夏季空调室外计算湿球温度), as the
//     moist-air library computes it (StateFromRH_T).
//   - Dew points are Magnus-formula approximations, rounded to 0.1 ℃: the
//     readers store them but nothing derives from them.
#pragma once

#include "weather/WeatherYear.h"

#include <QBuffer>
#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <cmath>
#include <vector>

namespace WeatherYearFiles
{

// One hour as a file gives it; values at the EPW's missing codes (99.9 ℃,
// 999 %, 999999 Pa) are written as such.
struct Hour {
    int year = 2001, month = 1, day = 1, hour = 1;
    double dryBulb = 20, dewPoint = 9.3, relativeHumidity = 50, pressure = 101325;
};

// The EPW's codes for a missing value.
constexpr double kMissingTemperature = 99.9, kMissingHumidity = 999, kMissingPressure = 999999;

struct Location {
    QString name = QStringLiteral("Testville");
    QString region = QStringLiteral("Hebei");
    QString country = QStringLiteral("CHN");
    QString source = QStringLiteral("SYNTHETIC");
    QString wmo = QStringLiteral("545110");
    QString latitude = QStringLiteral("39.80"), longitude = QStringLiteral("116.47");
    QString timeZone = QStringLiteral("8.0"), elevation = QStringLiteral("31.3");
};

inline int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// A number as files write it: the shortest text that reads back as the same
// double, "." as the point.
inline QString Number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// The dew point of (t, RH) by the Magnus formula, to 0.1 ℃.
inline double MagnusDewPoint(double t, double rh)
{
    const double g = std::log(rh / 100) + 17.62 * t / (243.12 + t);
    return std::round(10 * 243.12 * g / (17.62 - g)) / 10;
}

inline QString EpwLocationLine(const Location& l = {})
{
    return QStringList{QStringLiteral("LOCATION"),
                       l.name,
                       l.region,
                       l.country,
                       l.source,
                       l.wmo,
                       l.latitude,
                       l.longitude,
                       l.timeZone,
                       l.elevation}
        .join(u',');
}

// The LOCATION line and the seven header lines after it.
inline QStringList EpwHeaderLines(const Location& l = {})
{
    return {EpwLocationLine(l),
            QStringLiteral("DESIGN CONDITIONS,0"),
            QStringLiteral("TYPICAL/EXTREME PERIODS,0"),
            QStringLiteral("GROUND TEMPERATURES,0"),
            QStringLiteral("HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0"),
            QStringLiteral("COMMENTS 1,Synthetic hours for the tests"),
            QStringLiteral("COMMENTS 2,"),
            QStringLiteral("DATA PERIODS,1,1,Data,Sunday, 1/ 1,12/31")};
}

// A data row of all 35 fields; those after the pressure hold plausible
// radiation, wind and sky values.
inline QString EpwRow(const Hour& h)
{
    return QStringLiteral("%1,%2,%3,%4,60,?9?9?9?9E0?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9*9*9?9?9?9,"
                          "%5,%6,%7,%8,9999,9999,315,0,0,0,0,0,0,0,180,2.1,5,3,9999,77777,9,"
                          "999999999,0,0.0000,0,88,0.200,0,1.0")
        .arg(h.year)
        .arg(h.month)
        .arg(h.day)
        .arg(h.hour)
        .arg(Number(h.dryBulb), Number(h.dewPoint), Number(h.relativeHumidity), Number(h.pressure));
}

// The file's lines: the 8 header lines, then a row per hour (line 9 is the
// first hour).
inline QStringList EpwLines(const std::vector<Hour>& hours, const Location& l = {})
{
    QStringList lines = EpwHeaderLines(l);
    for (const Hour& h : hours)
        lines << EpwRow(h);
    return lines;
}

struct TextForm {
    bool crlf = false; // CR LF line ends, else LF
    bool bom = false;  // a UTF-8 byte order mark first
    int blankLinesAtEnd = 0;
};

// Lines joined as a file holds them (UTF-8), each with its line end.
inline QByteArray JoinLines(const QStringList& lines, const TextForm& form = {})
{
    const QByteArray end = form.crlf ? "\r\n" : "\n";
    QByteArray text = form.bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (const QString& line : lines)
        text += line.toUtf8() + end;
    for (int k = 0; k < form.blankLinesAtEnd; ++k)
        text += end;
    return text;
}

inline QByteArray EpwText(const std::vector<Hour>& hours, const TextForm& form = {},
                          const Location& l = {})
{
    return JoinLines(EpwLines(hours, l), form);
}

// count whole days of hours from (year, month, day) on, over month and year
// ends: dry bulb 10 + (day index mod 20) + hour/10 ℃, RH 30 + hour·2 %,
// 101,325 Pa.
inline std::vector<Hour> Days(int year, int month, int day, int count)
{
    std::vector<Hour> hours;
    for (int k = 0; k < count; ++k) {
        for (int h = 1; h <= 24; ++h) {
            Hour hour;
            hour.year = year, hour.month = month, hour.day = day, hour.hour = h;
            hour.dryBulb = 10 + k % 20 + h / 10.0;
            hour.relativeHumidity = 30 + 2 * h;
            hour.dewPoint = MagnusDewPoint(hour.dryBulb, hour.relativeHumidity);
            hour.pressure = 101325;
            hours.push_back(hour);
        }
        if (++day > DaysInMonth(year, month)) {
            day = 1;
            if (++month > 12)
                month = 1, ++year;
        }
    }
    return hours;
}

// A CSV of the hours with the columns named (any of month, day, hour, t, rh,
// p, dew; another name gets an empty field), header first, LF line ends.
inline QByteArray WeatherCsvText(const std::vector<Hour>& hours, const QStringList& columns)
{
    QStringList lines{columns.join(u',')};
    for (const Hour& h : hours) {
        QStringList fields;
        for (const QString& c : columns) {
            const QString name = c.trimmed().toLower();
            if (name == u"month")
                fields << QString::number(h.month);
            else if (name == u"day")
                fields << QString::number(h.day);
            else if (name == u"hour")
                fields << QString::number(h.hour);
            else if (name == u"t")
                fields << Number(h.dryBulb);
            else if (name == u"rh")
                fields << Number(h.relativeHumidity);
            else if (name == u"p")
                fields << Number(h.pressure);
            else if (name == u"dew")
                fields << Number(h.dewPoint);
            else
                fields << QString();
        }
        lines << fields.join(u',');
    }
    return JoinLines(lines);
}

// The design values of DesignYear() (see the top of this file).
struct DesignYearValues {
    static constexpr double kPressure = 95000;            // Pa, every hour
    static constexpr double kSummerDryBulb = 34.5;        // ℃, the 51st hottest hour
    static constexpr double kSummerDryBulbRH = 60;        // %, that hour's (and every hot hour's)
    static constexpr double kWinterAirConditioning = -11; // ℃, the 2nd coldest day
    static constexpr double kHeating = -7;                // ℃, the 6th coldest day
    static constexpr double kWinterRelativeHumidity = 45; // %, January's mean
    static constexpr int kColdestMonth = 1;
    static constexpr int kHours = 8760;
};

inline std::vector<Hour> DesignYear()
{
    static const double base[] = {-5, 0, 6, 12, 18, 24, 28, 27, 22, 15, 8, 1};
    struct ColdDay {
        int month, day;
        double mean;
    };
    static const ColdDay cold[] = {{1, 9, -12}, {12, 20, -11}, {1, 28, -10}, {1, 3, -9},
                                   {2, 14, -8}, {1, 15, -7},   {1, 20, -6}};
    std::vector<Hour> hours;
    hours.reserve(DesignYearValues::kHours);
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= DaysInMonth(2001, m); ++d) {
            double mean = base[m - 1];
            for (const ColdDay& c : cold)
                if (c.month == m && c.day == d)
                    mean = c.mean;
            for (int h = 1; h <= 24; ++h) {
                Hour hour;
                hour.year = 2001, hour.month = m, hour.day = d, hour.hour = h;
                hour.dryBulb = mean + (h % 2 == 0 ? 2 : -2);
                if (m == 7) {
                    const bool afternoon = h >= 13 && h <= 16;
                    if ((d >= 10 && d <= 21 && afternoon) || (d == 22 && (h == 13 || h == 14)))
                        hour.dryBulb = 37;
                    else if (d == 22 && h == 15)
                        hour.dryBulb = DesignYearValues::kSummerDryBulb;
                    else if ((d == 23 && h >= 11 && h <= 16) || (d == 24 && afternoon))
                        hour.dryBulb = 34;
                }
                hour.relativeHumidity = m == 1 ? (h % 2 == 0 ? 50 : 40) : 60;
                hour.dewPoint = MagnusDewPoint(hour.dryBulb, hour.relativeHumidity);
                hour.pressure = DesignYearValues::kPressure;
                hours.push_back(hour);
            }
        }
    }
    return hours;
}

inline QByteArray DesignYearEpw()
{
    return EpwText(DesignYear());
}

// The readers over text in memory.
inline WeatherYear ReadEpwText(const QByteArray& text)
{
    QByteArray copy = text;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ReadEpw(buffer);
}

inline WeatherYear ReadWeatherCsvText(const QByteArray& text, double pressure = 101325)
{
    QByteArray copy = text;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ReadWeatherCsv(buffer, pressure);
}

inline WeatherYear ReadDesignYear()
{
    return ReadEpwText(DesignYearEpw());
}

} // namespace WeatherYearFiles
