// What a weather year gives: each hour's state, the design values, the hours
// in the comfort zones and the bin tables, with the bin tables' files read
// back.
#include "app/CheckedFile.h"
#include "app/ResultsWorkbook.h"
#include "chart/ComfortZones.h"
#include "psychro/ID_lib.h"
#include "support/WeatherYearFiles.h"
#include "support/WorkbookDump.h"
#include "weather/WeatherBinFiles.h"
#include "weather/WeatherYearFigures.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace
{

using namespace WeatherYearFiles;

ID_lib LibAt(double pressure)
{
    ID_lib lib;
    lib.AtmPressure = pressure;
    lib.PsychroCoefficient = kPsychroCoefficient;
    return lib;
}

WeatherHour HourOf(double t, double rh, int month = 1, int day = 1, int hour = 1)
{
    WeatherHour h;
    h.month = month;
    h.day = day;
    h.hour = hour;
    h.dryBulb = t;
    h.relativeHumidity = rh;
    return h;
}

WeatherYear YearOf(const std::vector<WeatherHour>& hours)
{
    WeatherYear year;
    year.location.name = QStringLiteral("Testville");
    year.hours = hours;
    return year;
}

// Bins as a June, 8–18 h filter might leave them: a comma in the station's
// name, an hour not computed, negative bins and moisture bins without hours.
WeatherBinTables SmallTables()
{
    WeatherBinTables tables;
    tables.station = QStringLiteral("Testville, Hebei, CHN");
    tables.filter.months = WeatherFilter::ParseMonths(QStringLiteral("6"));
    tables.filter.hours = WeatherFilter::ParseHours(QStringLiteral("8-18"));
    tables.pressure = 95000.4;
    tables.hours = 6;
    tables.uncomputed = 1;
    tables.cells = {{-1, 2, 2}, {20, 7, 2}, {20, 9, 1}};
    tables.dryBulb = {{-1, 2, -1.75}, {20, 3, 14.5}};
    return tables;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

// Every hour's d, i and wet bulb are StateFromRH_T's own, bit for bit, the
// same with the hours shared among threads (a year) as worked out one by one
// (a few hours); the library given is left as it was, and an hour the library
// fails on is not computed.
TEST(HourStates, AreTheLibrarysOwnStatesBitForBitAndLeaveTheLibraryAlone)
{
    std::vector<WeatherHour> hours;
    for (int k = 0; k < 8760; ++k)
        hours.push_back(HourOf(-20 + std::fmod(k * 0.37, 60), std::fmod(k * 7.3, 100)));
    // Its dew point lies below the library's range (−50 ℃): a failure.
    hours[4321] = HourOf(-49, 5);
    for (const std::size_t count : {std::size_t(7), hours.size()}) {
        SCOPED_TRACE(count);
        const WeatherYear year = YearOf({hours.begin(), hours.begin() + std::ptrdiff_t(count)});
        int messages = 0;
        ID_lib lib = LibAt(85000);
        lib.PsychroCoefficient = 0; // the states use the program's coefficient all the same
        lib.setMessageSink([&](const std::string&, ID_lib::MessageKind) { ++messages; });
        const std::vector<HourState> states = ComputeHourStates(year, lib);
        EXPECT_EQ(messages, 0);
        EXPECT_EQ(lib.FailureCount(), 0);
        EXPECT_EQ(lib.PsychroCoefficient, 0);
        ASSERT_EQ(states.size(), count);
        ID_lib reference = LibAt(85000);
        for (std::size_t k = 0; k < count; ++k) {
            const WeatherHour& h = year.hours[k];
            const int failures = reference.FailureCount();
            reference.CurrentState.t = h.dryBulb;
            reference.CurrentState.RH = h.relativeHumidity;
            reference.StateFromRH_T(h.dryBulb, h.relativeHumidity);
            const bool computed = reference.FailureCount() == failures;
            EXPECT_EQ(states[k].computed, computed) << k;
            if (!computed)
                continue;
            EXPECT_TRUE(SameBits(states[k].d, reference.CurrentState.d * 1000)) << k;
            EXPECT_TRUE(SameBits(states[k].i, reference.CurrentState.i)) << k;
            EXPECT_TRUE(SameBits(states[k].wetBulb, reference.CurrentState.ts)) << k;
        }
        if (count > 4321) {
            EXPECT_FALSE(states[4321].computed);
        }
    }
}

// The synthetic design year, read from its EPW text: each value as built into
// it, the wet bulb at the file's mean pressure.
TEST(DesignValues, OfTheDesignYearAreThoseItWasBuiltWith)
{
    using V = DesignYearValues;
    const WeatherYear year = ReadDesignYear();
    ASSERT_EQ(year.hours.size(), std::size_t(V::kHours));
    const WeatherDesignValues values = ComputeDesignValues(year, LibAt(101325));
    EXPECT_DOUBLE_EQ(values.pressure, V::kPressure);
    EXPECT_EQ(WeatherPressure(year), V::kPressure);
    ASSERT_TRUE(values.summerDryBulb && values.summerWetBulb && values.winterAirConditioning &&
                values.heating && values.winterRelativeHumidity);
    EXPECT_DOUBLE_EQ(*values.summerDryBulb, V::kSummerDryBulb);
    ID_lib lib = LibAt(V::kPressure);
    lib.StateFromRH_T(V::kSummerDryBulb, V::kSummerDryBulbRH);
    EXPECT_DOUBLE_EQ(*values.summerWetBulb, lib.CurrentState.ts);
    EXPECT_NEAR(*values.winterAirConditioning, V::kWinterAirConditioning, 1e-12);
    EXPECT_NEAR(*values.heating, V::kHeating, 1e-12);
    EXPECT_NEAR(*values.winterRelativeHumidity, V::kWinterRelativeHumidity, 1e-12);
}

// What too few hours or days leave out: a value needs 51 hours, the 2nd or
// the 6th day of at least 20 hours; a day is its date whatever its year (a
// typical year's months come from different years); without a station
// pressure the fallback is used.
TEST(DesignValues, NeedEnoughHoursAndDaysOfEnoughHours)
{
    // Day k (1-based, in January) has the mean −k ℃: hours −k ± 1 ℃.
    const auto days = [](int count, int hoursOfLastDay = 24) {
        std::vector<WeatherHour> hours;
        for (int d = 1; d <= count; ++d)
            for (int h = 1; h <= (d == count ? hoursOfLastDay : 24); ++h)
                hours.push_back(HourOf(-d + (h % 2 ? 1 : -1), 50, 1, d, h));
        return hours;
    };
    const auto firstHours = [&](int count) {
        std::vector<WeatherHour> hours = days(3);
        hours.resize(std::size_t(count));
        return hours;
    };
    struct Case {
        const char* name;
        std::vector<WeatherHour> hours;
        bool summer;
        std::optional<double> winter, heating;
    } cases[] = {
        {"no hours", {}, false, {}, {}},
        {"50 hours", firstHours(50), false, -1, {}},
        {"51 hours: the day of 3 hours does not count", firstHours(51), true, -1, {}},
        {"five days", days(5), true, -4, {}},
        {"six days", days(6), true, -5, -1},
        // The colder days are short: 19 hours leave a day out, 20 keep it.
        {"the coldest day of 19 hours", days(6, 19), true, -4, {}},
        {"the coldest day of 20 hours", days(6, 20), true, -5, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WeatherDesignValues v = ComputeDesignValues(YearOf(c.hours), LibAt(101325), 90000);
        EXPECT_EQ(v.pressure, 90000);
        EXPECT_EQ(v.summerDryBulb.has_value(), c.summer);
        EXPECT_EQ(v.summerWetBulb.has_value(), c.summer);
        EXPECT_EQ(v.winterAirConditioning, c.winter);
        EXPECT_EQ(v.heating, c.heating);
        EXPECT_EQ(v.winterRelativeHumidity,
                  c.hours.empty() ? std::nullopt : std::optional<double>(50));
    }

    // Two years' 1 January: one day of 24 hours, 12 from each (the mean of
    // all, −5 ℃), and a February day colder than January by its hours' mean.
    std::vector<WeatherHour> mixed;
    for (int h = 1; h <= 24; ++h) {
        WeatherHour hour = HourOf(h <= 12 ? -10 : 0, 30, 1, 1, h);
        hour.year = h <= 12 ? 1990 : 2003;
        hour.pressure = h <= 12 ? 90000 : 92000;
        mixed.push_back(hour);
    }
    for (int h = 1; h <= 24; ++h)
        mixed.push_back(HourOf(-6, 70, 2, 1, h));
    const WeatherDesignValues v = ComputeDesignValues(YearOf(mixed), LibAt(101325));
    EXPECT_EQ(v.winterAirConditioning, -5);
    EXPECT_EQ(v.winterRelativeHumidity, 70);
    EXPECT_EQ(v.pressure, 91000); // the mean of the hours that have one
}

// A zone's boundaries belong to it, where two zones meet to both; the counts
// follow the filter, in the chart's zone order with its labels.
TEST(ZoneHours, CountTheFilteredHoursInsideEachZoneBoundariesIncluded)
{
    // Heating I 22–24 ℃ RH 30–100 %, heating II 18–22 ℃, cooling I 24–26 ℃
    // RH 40–60 %, cooling II 26–28 ℃ RH 0–70 %.
    struct Case {
        double t, rh;
        const char* zones; // one letter per zone the hour is in: a b c d
    } cases[] = {
        {22, 30, "ab"},  {21.99, 29.99, "b"}, {24, 30, "a"},   {24, 40, "ac"},
        {24, 60, "ac"},  {24, 60.01, "a"},    {24, 100, "a"},  {18, 0, "b"},
        {17.99, 50, ""}, {26, 40, "cd"},      {26, 70, "d"},   {28, 0, "d"},
        {28, 70, "d"},   {28.01, 50, ""},     {27, 70.01, ""}, {25, 39.99, ""},
    };
    const auto& zones = ComfortZones();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.t << " ℃, " << c.rh << " %");
        const std::vector<ZoneHours> counts =
            CountZoneHours(YearOf({HourOf(c.t, c.rh)}), WeatherFilter{});
        ASSERT_EQ(counts.size(), zones.size());
        for (std::size_t z = 0; z < zones.size(); ++z) {
            EXPECT_EQ(counts[z].name, QString::fromUtf16(zones[z].label));
            const bool inside = std::strchr(c.zones, char('a' + z)) != nullptr;
            EXPECT_EQ(counts[z].hours, inside ? 1 : 0) << z;
            EXPECT_EQ(counts[z].share, inside ? 1 : 0) << z;
        }
    }

    // Four hours of which the filter (June, hours 8–18) keeps three.
    const WeatherYear year = YearOf({HourOf(23, 50, 6, 1, 8), HourOf(23, 50, 6, 1, 18),
                                     HourOf(19, 50, 6, 1, 12), HourOf(23, 50, 6, 1, 19)});
    WeatherFilter filter;
    filter.months = WeatherFilter::ParseMonths(QStringLiteral("6"));
    filter.hours = WeatherFilter::ParseHours(QStringLiteral("8-18"));
    EXPECT_EQ(FilteredHours(year, filter), 3);
    EXPECT_EQ(FilteredHours(year, {}), 4);
    const std::vector<ZoneHours> counts = CountZoneHours(year, filter);
    EXPECT_EQ(counts[0].hours, 2);
    EXPECT_DOUBLE_EQ(counts[0].share, 2.0 / 3);
    EXPECT_EQ(counts[1].hours, 1);
    EXPECT_EQ(CountZoneHours(year, {.months = 1})[0].share, 0); // no hours kept
}

// Bins worked out by hand from given states: [t, t+1) × [d, d+1), floors of
// negative values below them, an uncomputed hour in no bin, the mean wet bulb
// of each dry-bulb bin; from the year itself the same as from its states.
TEST(BinTables, CountTheFilteredHoursInFloorBinsWithTheMeanWetBulb)
{
    const WeatherYear year = YearOf({
        HourOf(20.5, 50, 1, 1, 1),  // (20, 7)
        HourOf(20.0, 50, 1, 1, 2),  // (20, 7)
        HourOf(20.9, 60, 1, 1, 3),  // (20, 9)
        HourOf(-0.5, 80, 1, 1, 4),  // (−1, 2)
        HourOf(-1.0, 80, 1, 1, 5),  // (−1, 2)
        HourOf(30.0, 60, 1, 1, 6),  // not computed
        HourOf(19.99, 50, 2, 1, 1), // (19, 7), outside the filter below
    });
    const std::vector<HourState> states = {
        {7.0, 38, 14.0, true},  {7.99, 38, 13.5, true},  {9.5, 45, 16.0, true},
        {2.0, 4.5, -1.5, true}, {2.99, 4.5, -2.0, true}, {16, 71, 23, false},
        {7.2, 38, 13.9, true},
    };
    WeatherFilter january;
    january.months = 1;
    const WeatherBinTables tables = BinHourStates(year, january, states, 95000);
    EXPECT_EQ(tables.station, QStringLiteral("Testville"));
    EXPECT_EQ(tables.pressure, 95000);
    EXPECT_EQ(tables.hours, 6);
    EXPECT_EQ(tables.uncomputed, 1);
    using Cell = WeatherBinTables::Cell;
    const std::vector<std::tuple<int, int, long long>> cells = {{-1, 2, 2}, {20, 7, 2}, {20, 9, 1}};
    ASSERT_EQ(tables.cells.size(), cells.size());
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const Cell& c = tables.cells[k];
        EXPECT_EQ(std::make_tuple(c.t, c.d, c.hours), cells[k]) << k;
    }
    ASSERT_EQ(tables.dryBulb.size(), 2u);
    EXPECT_EQ(tables.dryBulb[0].t, -1);
    EXPECT_EQ(tables.dryBulb[0].hours, 2);
    EXPECT_DOUBLE_EQ(tables.dryBulb[0].meanWetBulb, -1.75);
    EXPECT_EQ(tables.dryBulb[1].t, 20);
    EXPECT_EQ(tables.dryBulb[1].hours, 3);
    EXPECT_DOUBLE_EQ(tables.dryBulb[1].meanWetBulb, 14.5);

    // From the hours: the library's states binned the same way, filtered or not.
    const ID_lib lib = LibAt(90000);
    for (const WeatherFilter& filter : {WeatherFilter{}, january}) {
        const WeatherBinTables direct = ComputeBinTables(year, filter, lib);
        const WeatherBinTables binned =
            BinHourStates(year, filter, ComputeHourStates(year, lib), lib.AtmPressure);
        EXPECT_EQ(direct.pressure, 90000);
        EXPECT_EQ(direct.hours, binned.hours);
        EXPECT_EQ(direct.uncomputed, 0);
        ASSERT_EQ(direct.cells.size(), binned.cells.size());
        for (std::size_t k = 0; k < direct.cells.size(); ++k)
            EXPECT_EQ(std::make_tuple(direct.cells[k].t, direct.cells[k].d, direct.cells[k].hours),
                      std::make_tuple(binned.cells[k].t, binned.cells[k].d, binned.cells[k].hours));
        ASSERT_EQ(direct.dryBulb.size(), binned.dryBulb.size());
        for (std::size_t k = 0; k < direct.dryBulb.size(); ++k)
            EXPECT_EQ(direct.dryBulb[k].meanWetBulb, binned.dryBulb[k].meanWetBulb);
    }
    EXPECT_EQ(ComputeBinTables(year, {}, lib).hours, 7);
}

// Both tables in the CSV: the heading, then each table's title, column
// titles with their units and rows, as written out here by hand.
TEST(BinTableFiles, CsvHoldsTheHeadingAndBothTables)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bins.csv"));
    WriteBinTablesCsv(path, SmallTables());
    const QString g = QStringLiteral("(g/kg)");
    const QStringList lines = {
        QStringLiteral("气象台站,\"Testville, Hebei, CHN\""),
        QStringLiteral("时段,6月，8–18时"),
        QStringLiteral("大气压力(Pa),95000"),
        QStringLiteral("小时数(h),6（其中1小时无法计算状态，未计入）"),
        QStringLiteral("区间,\"干球温度[t, t+1)℃，含湿量[d, d+1)g/kg\""),
        QString(),
        QStringLiteral("干球温度-含湿量频数表"),
        QStringLiteral(
            "干球温度(℃),2～3%1,3～4%1,4～5%1,5～6%1,6～7%1,7～8%1,8～9%1,9～10%1,合计(h)")
            .arg(g),
        QStringLiteral("-1～0,2,,,,,,,,2"),
        QStringLiteral("20～21,,,,,,2,,1,3"),
        QStringLiteral("合计,2,0,0,0,0,2,0,1,5"),
        QString(),
        QStringLiteral("干球温度-平均湿球温度频数表"),
        QStringLiteral("干球温度(℃),小时数(h),平均湿球温度(℃)"),
        QStringLiteral("-1～0,2,-1.75"),
        QStringLiteral("20～21,3,14.50"),
        QStringLiteral("合计,5,"),
    };
    EXPECT_EQ(ReadAll(path).toStdString(),
              "\xEF\xBB\xBF" +
                  (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toStdString());
}

// The workbook: one sheet per table, named for it, each headed by the
// station, the filter and the pressure, its cells those of the CSV (hours
// and wet bulbs as numbers, no hours an empty cell).
TEST(BinTableFiles, WorkbookHasOneSheetPerTableWithTheHeading)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bins.xlsx"));
    WriteBinTablesWorkbook(path, SmallTables());
    const QJsonObject moisture = DumpWorkbook(path, 0);
    const QJsonObject wetBulb = DumpWorkbook(path, 1);
    ASSERT_FALSE(moisture.isEmpty());
    ASSERT_FALSE(wetBulb.isEmpty());
    EXPECT_EQ(moisture[QStringLiteral("title")].toString(),
              QString::fromUtf8(BinTablesDocumentTitle));
    EXPECT_EQ(moisture[QStringLiteral("sheetNames")].toArray(),
              QJsonArray({QStringLiteral("干球温度-含湿量"), QStringLiteral("干球温度-湿球温度")}));
    struct Case {
        const QJsonObject* sheet;
        const char* cell;
        QString text;
    } cases[] = {
        {&moisture, "A1", QStringLiteral("干球温度-含湿量频数表")},
        {&moisture, "A3", QStringLiteral("气象台站：      Testville, Hebei, CHN")},
        {&moisture, "A4", QStringLiteral("时段：          6月，8–18时")},
        {&moisture, "A5", QStringLiteral("大气压力(Pa)：  95000")},
        {&moisture, "A9", QStringLiteral("干球温度")},
        {&moisture, "A10", QStringLiteral("(℃)")},
        {&moisture, "B9", QStringLiteral("2～3")},
        {&moisture, "B10", QStringLiteral("(g/kg)")},
        {&moisture, "J9", QStringLiteral("合计")},
        {&moisture, "A11", QStringLiteral("-1～0")},
        {&moisture, "B11", QStringLiteral("2")},
        {&moisture, "C11", QString()},
        {&moisture, "J11", QStringLiteral("2")},
        {&moisture, "G12", QStringLiteral("2")},
        {&moisture, "I12", QStringLiteral("1")},
        {&moisture, "A13", QStringLiteral("合计")},
        {&moisture, "C13", QStringLiteral("0")},
        {&moisture, "J13", QStringLiteral("5")},
        {&wetBulb, "A1", QStringLiteral("干球温度-平均湿球温度频数表")},
        {&wetBulb, "A4", QStringLiteral("时段：          6月，8–18时")},
        {&wetBulb, "C9", QStringLiteral("平均湿球温度")},
        {&wetBulb, "A11", QStringLiteral("-1～0")},
        {&wetBulb, "B11", QStringLiteral("2")},
        {&wetBulb, "C11", QStringLiteral("-1.75")},
        {&wetBulb, "C12", QStringLiteral("14.5")},
        {&wetBulb, "B13", QStringLiteral("5")},
        {&wetBulb, "C13", QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CellText(*c.sheet, QString::fromLatin1(c.cell)), c.text) << c.cell;
    EXPECT_EQ(wetBulb[QStringLiteral("cells")][QStringLiteral("C12")][QStringLiteral("format")]
                  .toString(),
              QStringLiteral("0.00"));
    EXPECT_EQ(moisture[QStringLiteral("maxRow")].toInt(), 13);
    EXPECT_EQ(wetBulb[QStringLiteral("maxRow")].toInt(), 13);
}

// A refused write (here a sheet of a name the format does not allow) leaves
// the file that was there, and says so.
TEST(BinTableFiles, AFailedWorkbookLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bins.xlsx"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    const std::vector<RecordTableStore::Record> records = {{0, {1.0}}};
    const WorkbookLayout layout{.title = QStringLiteral("表"),
                                .headings = {},
                                .titleRow = 3,
                                .columns = {{QStringLiteral("x"), {}, QStringLiteral("x"), {}}}};
    const TableDeclaration declaration{{{.name = QStringLiteral("x")}}};
    QString message;
    try {
        WriteResultsWorkbookSheets(
            path, {{QStringLiteral("表一"), layout, {}, declaration, LoadedRecords(records)},
                   {QStringLiteral("a/b"), layout, {}, declaration, LoadedRecords(records)}});
    } catch (const FileWriteError& e) {
        message = e.text();
    }
    EXPECT_EQ(message.toStdString(),
              NotSavedMessage(path, QStringLiteral("工作表名称“a/b”不可用")).toStdString());
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bins.xlsx"});
}
