#include "weather/WeatherYearFigures.h"

#include "chart/ComfortZones.h"
#include "psychro/ID_lib.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <future>
#include <map>
#include <system_error>
#include <thread>
#include <utility>

namespace
{

// g/kg per kg/kg: the chart and the tables count moisture in g/kg, the
// library in kg/kg.
constexpr double kGramsPerKilogram = 1000;

// GB 50736-2012 §4.1.2: the summer values are exceeded by at most 50 hours
// of the year, the 51st highest; the winter air-conditioning value has at
// most one colder day (the 2nd lowest daily mean), the heating value at most
// five (the 6th).
constexpr std::size_t kSummerHoursExceeded = 50;
constexpr std::size_t kWinterAcColderDays = 1;
constexpr std::size_t kHeatingColderDays = 5;
// A day's mean counts when at least this many of its 24 hours are usable:
// a few missing hours barely move a daily mean, a day missing most of them
// (the night or the afternoon) would give a mean of half a day.
constexpr int kHoursForADay = 20;

// Hours below this many are worked out on the calling thread; above it the
// hours are shared among threads, each with its own copy of the library
// (the library's saturation tables are safe to share).
constexpr std::size_t kHoursPerThread = 1024;

ID_lib WorkingCopy(const ID_lib& lib)
{
    ID_lib work = lib;
    work.setMessageSink({});
    work.PsychroCoefficient = kPsychroCoefficient;
    return work;
}

// The states of hours [first, last), as StateFromRH_T leaves them; an hour
// whose operation gave a failure message is not computed.
void StatesOf(ID_lib lib, const std::vector<WeatherHour>& hours, std::size_t first,
              std::size_t last, std::vector<HourState>& states)
{
    for (std::size_t k = first; k < last; ++k) {
        const WeatherHour& h = hours[k];
        const int failures = lib.FailureCount();
        // Where every caller leaves the two given quantities (the density
        // reads the humidity from here).
        lib.CurrentState.t = h.dryBulb;
        lib.CurrentState.RH = h.relativeHumidity;
        lib.StateFromRH_T(h.dryBulb, h.relativeHumidity);
        HourState& s = states[k];
        s.d = lib.CurrentState.d * kGramsPerKilogram;
        s.i = lib.CurrentState.i;
        s.wetBulb = lib.CurrentState.ts;
        s.computed = lib.FailureCount() == failures && std::isfinite(s.d) && std::isfinite(s.i);
    }
}

// The value with `better` values before it: after sorting so that the
// better come first, the one at `index` (0-based); nullopt when there are
// not that many.
template <class Better>
std::optional<double> Ranked(std::vector<double> values, std::size_t index, Better better)
{
    if (values.size() <= index)
        return std::nullopt;
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(index), values.end(), better);
    return values[index];
}

// The daily means of the days with enough hours: a day is its (month, day),
// as a typical year's months may come from different years.
std::vector<double> DailyMeans(const std::vector<WeatherHour>& hours)
{
    struct Day {
        double sum = 0;
        int hours = 0;
    };
    std::map<std::pair<int, int>, Day> days;
    for (const WeatherHour& h : hours) {
        Day& day = days[{h.month, h.day}];
        day.sum += h.dryBulb;
        ++day.hours;
    }
    std::vector<double> means;
    for (const auto& [date, day] : days)
        if (day.hours >= kHoursForADay)
            means.push_back(day.sum / day.hours);
    return means;
}

// The mean relative humidity of the month whose hours have the lowest mean
// dry bulb (the earlier month on a tie); nullopt without hours.
std::optional<double> ColdestMonthHumidity(const std::vector<WeatherHour>& hours)
{
    struct Month {
        double dryBulb = 0, humidity = 0;
        long long hours = 0;
    };
    std::map<int, Month> months;
    for (const WeatherHour& h : hours) {
        Month& m = months[h.month];
        m.dryBulb += h.dryBulb;
        m.humidity += h.relativeHumidity;
        ++m.hours;
    }
    const Month* coldest = nullptr;
    double coldestMean = 0;
    for (const auto& [number, m] : months) {
        const double mean = m.dryBulb / double(m.hours);
        if (!coldest || mean < coldestMean) {
            coldest = &m;
            coldestMean = mean;
        }
    }
    if (!coldest)
        return std::nullopt;
    return coldest->humidity / double(coldest->hours);
}

// A bin's lower bound as an int, or false for a value no int bin holds.
bool BinOf(double value, int& bin)
{
    const double lower = std::floor(value);
    if (!(lower >= -1e6 && lower <= 1e6)) // NaN too
        return false;
    bin = int(lower);
    return true;
}

bool InZone(const ComfortZone& zone, const WeatherHour& h)
{
    return zone.tLow <= h.dryBulb && h.dryBulb <= zone.tHigh && zone.RHLow <= h.relativeHumidity &&
           h.relativeHumidity <= zone.RHHigh;
}

} // namespace

std::vector<HourState> ComputeHourStates(const WeatherYear& year, const ID_lib& lib)
{
    const ID_lib work = WorkingCopy(lib);
    const std::size_t n = year.hours.size();
    std::vector<HourState> states(n);
    const std::size_t threads = std::clamp<std::size_t>(
        n / kHoursPerThread, 1, std::max(1u, std::thread::hardware_concurrency()));
    if (threads == 1) {
        StatesOf(work, year.hours, 0, n, states);
        return states;
    }
    // Each thread its own range of hours and its own copy of the library;
    // every hour's state is the same whichever thread works it out.
    std::vector<std::future<void>> running;
    const std::size_t share = (n + threads - 1) / threads;
    for (std::size_t first = share; first < n; first += share) {
        const std::size_t last = std::min(n, first + share);
        try {
            running.push_back(std::async(std::launch::async, StatesOf, work, std::cref(year.hours),
                                         first, last, std::ref(states)));
        } catch (const std::system_error&) { // no thread to be had: this one works them out
            StatesOf(work, year.hours, first, last, states);
        }
    }
    StatesOf(work, year.hours, 0, std::min(n, share), states);
    for (std::future<void>& f : running)
        f.get();
    return states;
}

double WeatherPressure(const WeatherYear& year, double fallback)
{
    const double mean = year.meanPressure();
    return std::isfinite(mean) && mean > 0 ? mean : fallback;
}

WeatherDesignValues ComputeDesignValues(const WeatherYear& year, const ID_lib& lib,
                                        double fallbackPressure)
{
    WeatherDesignValues values;
    values.pressure = WeatherPressure(year, fallbackPressure);

    std::vector<double> dryBulbs;
    dryBulbs.reserve(year.hours.size());
    for (const WeatherHour& h : year.hours)
        dryBulbs.push_back(h.dryBulb);
    values.summerDryBulb = Ranked(std::move(dryBulbs), kSummerHoursExceeded, std::greater<>());

    ID_lib work = lib;
    work.AtmPressure = values.pressure;
    std::vector<double> wetBulbs;
    wetBulbs.reserve(year.hours.size());
    for (const HourState& s : ComputeHourStates(year, work))
        if (s.computed)
            wetBulbs.push_back(s.wetBulb);
    values.summerWetBulb = Ranked(std::move(wetBulbs), kSummerHoursExceeded, std::greater<>());

    const std::vector<double> days = DailyMeans(year.hours);
    values.winterAirConditioning = Ranked(days, kWinterAcColderDays, std::less<>());
    values.heating = Ranked(days, kHeatingColderDays, std::less<>());
    values.winterRelativeHumidity = ColdestMonthHumidity(year.hours);
    return values;
}

std::vector<ZoneHours> CountZoneHours(const WeatherYear& year, const WeatherFilter& filter)
{
    const auto& zones = ComfortZones();
    std::vector<ZoneHours> counts;
    for (const ComfortZone& zone : zones)
        counts.push_back({QString::fromUtf16(zone.label), 0, 0});
    long long kept = 0;
    for (const WeatherHour& h : year.hours) {
        if (!filter.takes(h))
            continue;
        ++kept;
        for (std::size_t z = 0; z < zones.size(); ++z)
            if (InZone(zones[z], h))
                ++counts[z].hours;
    }
    for (ZoneHours& c : counts)
        c.share = kept > 0 ? double(c.hours) / double(kept) : 0;
    return counts;
}

long long FilteredHours(const WeatherYear& year, const WeatherFilter& filter)
{
    return std::count_if(year.hours.begin(), year.hours.end(),
                         [&](const WeatherHour& h) { return filter.takes(h); });
}

WeatherBinTables ComputeBinTables(const WeatherYear& year, const WeatherFilter& filter,
                                  const ID_lib& lib)
{
    if (filter.takesAll())
        return BinHourStates(year, filter, ComputeHourStates(year, lib), lib.AtmPressure);
    // Only the filter's hours are worked out; the others keep a state that
    // is not computed, which the filter leaves out anyway.
    WeatherYear kept;
    std::vector<std::size_t> where;
    for (std::size_t k = 0; k < year.hours.size(); ++k)
        if (filter.takes(year.hours[k])) {
            kept.hours.push_back(year.hours[k]);
            where.push_back(k);
        }
    const std::vector<HourState> keptStates = ComputeHourStates(kept, lib);
    std::vector<HourState> states(year.hours.size());
    for (std::size_t k = 0; k < where.size(); ++k)
        states[where[k]] = keptStates[k];
    return BinHourStates(year, filter, states, lib.AtmPressure);
}

WeatherBinTables BinHourStates(const WeatherYear& year, const WeatherFilter& filter,
                               const std::vector<HourState>& states, double pressure)
{
    WeatherBinTables tables;
    tables.station = year.stationText();
    tables.filter = filter;
    tables.pressure = pressure;
    struct DryBulbSum {
        long long hours = 0;
        double wetBulb = 0;
    };
    std::map<std::pair<int, int>, long long> cells;
    std::map<int, DryBulbSum> dryBulb;
    for (std::size_t k = 0; k < year.hours.size(); ++k) {
        const WeatherHour& h = year.hours[k];
        if (!filter.takes(h))
            continue;
        ++tables.hours;
        int t = 0, d = 0;
        if (k >= states.size() || !states[k].computed || !BinOf(h.dryBulb, t) ||
            !BinOf(states[k].d, d)) {
            ++tables.uncomputed;
            continue;
        }
        ++cells[{t, d}];
        DryBulbSum& bin = dryBulb[t];
        ++bin.hours;
        bin.wetBulb += states[k].wetBulb;
    }
    tables.cells.reserve(cells.size());
    for (const auto& [at, hours] : cells)
        tables.cells.push_back({at.first, at.second, hours});
    tables.dryBulb.reserve(dryBulb.size());
    for (const auto& [t, bin] : dryBulb)
        tables.dryBulb.push_back({t, bin.hours, bin.wetBulb / double(bin.hours)});
    return tables;
}
