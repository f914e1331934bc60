// The weather year's readers over arbitrary text: the EPW reader and the CSV
// reader each either refuse the text with a message or return hours held to
// the EPW's ranges, each hour of the year at most once; the hours, written
// back as a file of the same kind, read back the same. The text's first line
// goes through the month and hour filters too.
#include "FuzzCheck.h"
#include "app/Numbers.h"
#include "tests/support/WeatherYearFiles.h"
#include "weather/WeatherYear.h"

#include <QBuffer>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <tuple>

namespace
{

bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool sameHours(const WeatherYear& a, const WeatherYear& b)
{
    if (a.hours.size() != b.hours.size())
        return false;
    for (std::size_t k = 0; k < a.hours.size(); ++k) {
        const WeatherHour &x = a.hours[k], &y = b.hours[k];
        if (x.year != y.year || x.month != y.month || x.day != y.day || x.hour != y.hour ||
            !same(x.dryBulb, y.dryBulb) || !same(x.relativeHumidity, y.relativeHumidity) ||
            !same(x.dewPoint, y.dewPoint) || !same(x.pressure, y.pressure))
            return false;
    }
    return true;
}

void checkYear(const WeatherYear& year)
{
    FUZZ_CHECK(year.hours.size() <= 8784);
    FUZZ_CHECK(year.skipped >= 0);
    std::set<std::tuple<int, int, int>> seen;
    for (const WeatherHour& h : year.hours) {
        FUZZ_CHECK(h.month >= 1 && h.month <= 12);
        FUZZ_CHECK(h.day >= 1 && h.day <= WeatherYearFiles::DaysInMonth(2004, h.month));
        FUZZ_CHECK(h.hour >= 1 && h.hour <= 24);
        FUZZ_CHECK(seen.insert({h.month, h.day, h.hour}).second);
        FUZZ_CHECK(h.dryBulb >= -70 && h.dryBulb <= 70);
        FUZZ_CHECK(h.relativeHumidity >= 0 && h.relativeHumidity <= 100);
        FUZZ_CHECK(std::isnan(h.dewPoint) || (h.dewPoint >= -70 && h.dewPoint <= 70));
        FUZZ_CHECK(std::isnan(h.pressure) || (h.pressure >= 31000 && h.pressure <= 120000));
    }
    const double mean = year.meanPressure();
    FUZZ_CHECK(std::isnan(mean) || (mean >= 31000 && mean <= 120000));
    year.stationText();
}

std::vector<WeatherYearFiles::Hour> filesHours(const WeatherYear& year)
{
    std::vector<WeatherYearFiles::Hour> hours;
    for (const WeatherHour& h : year.hours)
        hours.push_back({h.year, h.month, h.day, h.hour, h.dryBulb, h.dewPoint, h.relativeHumidity,
                         h.pressure});
    return hours;
}

void epw(const QByteArray& text)
{
    WeatherYear year;
    try {
        year = WeatherYearFiles::ReadEpwText(text);
    } catch (const UserError& e) {
        FUZZ_CHECK(!e.text().isEmpty());
        return;
    }
    FUZZ_CHECK(year.format == WeatherYear::Format::Epw);
    FUZZ_CHECK(year.hours.size() + year.skipped > 0);
    checkYear(year);
    for (const WeatherHour& h : year.hours)
        FUZZ_CHECK(!std::isnan(h.dewPoint) && !std::isnan(h.pressure));
    if (year.hours.empty())
        return;
    const WeatherYear again =
        WeatherYearFiles::ReadEpwText(WeatherYearFiles::EpwText(filesHours(year)));
    FUZZ_CHECK(again.skipped == 0 && sameHours(again, year));
}

void csv(const QByteArray& text)
{
    WeatherYear year;
    try {
        year = WeatherYearFiles::ReadWeatherCsvText(text);
    } catch (const UserError& e) {
        FUZZ_CHECK(!e.text().isEmpty());
        return;
    }
    FUZZ_CHECK(year.format == WeatherYear::Format::Csv);
    checkYear(year);
    if (year.hours.empty())
        return;
    QStringList columns = {"month", "day", "hour", "t", "rh"};
    if (!std::isnan(year.hours.front().pressure))
        columns << QStringLiteral("p");
    WeatherYear again = WeatherYearFiles::ReadWeatherCsvText(
        WeatherYearFiles::WeatherCsvText(filesHours(year), columns));
    FUZZ_CHECK(again.skipped == 0);
    // A CSV gives no year and no dew point.
    for (const WeatherHour& h : year.hours)
        FUZZ_CHECK(h.year == 0 && std::isnan(h.dewPoint));
    FUZZ_CHECK(sameHours(again, year));
}

void filters(const QByteArray& text)
{
    const QString line = QString::fromUtf8(text.left(text.indexOf('\n')).left(64));
    for (const bool hours : {false, true}) {
        try {
            const unsigned set =
                hours ? WeatherFilter::ParseHours(line) : WeatherFilter::ParseMonths(line);
            FUZZ_CHECK(set != 0 && (set & ~(hours ? 0xFFFFFFu : 0xFFFu)) == 0);
            WeatherFilter filter;
            (hours ? filter.hours : filter.months) = set;
            FUZZ_CHECK(!filter.text().isEmpty());
        } catch (const UserError& e) {
            FUZZ_CHECK(e.text().contains(QuotedInput(line)));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    epw(text);
    csv(text);
    filters(text);
    return 0;
}
