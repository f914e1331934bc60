// Reading hourly weather files (EPW and CSV) into a weather year, and the
// month and hour filters.
#include "psychro/ID_lib.h"
#include "support/WeatherYearFiles.h"
#include "weather/WeatherYear.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using namespace WeatherYearFiles;

// Messages shown as text when a comparison fails.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace
{

// The message a refusal gives, or "" when the call succeeds.
QString RefusalOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const UserError& e) {
        return e.text();
    }
    return {};
}

QString LineFault(int line, const char* why)
{
    return QStringLiteral("气象年文件第%1行有误：%2").arg(line).arg(QString::fromUtf8(why));
}

std::vector<Hour> WithHour(std::vector<Hour> hours, std::size_t index,
                           const std::function<void(Hour&)>& change)
{
    change(hours[index]);
    return hours;
}

// Texts that are EPW files: their hours, the hours skipped for a missing
// value, and a check of the hours read.
TEST(WeatherYearEpw, AcceptsItsForms)
{
    const std::vector<Hour> three = Days(2001, 1, 1, 3);
    struct Case {
        const char* name;
        QByteArray text;
        std::size_t hours;
        long long skipped;
        std::function<void(const WeatherYear&)> check;
    };
    const std::vector<Case> cases = {
        {"lf", EpwText(three), 72, 0,
         [&](const WeatherYear& y) {
             ASSERT_EQ(y.hours.size(), 72u);
             const WeatherHour& h = y.hours[13];
             EXPECT_EQ(h.year, 2001);
             EXPECT_EQ(h.month, 1);
             EXPECT_EQ(h.day, 1);
             EXPECT_EQ(h.hour, 14);
             EXPECT_DOUBLE_EQ(h.dryBulb, three[13].dryBulb);
             EXPECT_DOUBLE_EQ(h.dewPoint, three[13].dewPoint);
             EXPECT_DOUBLE_EQ(h.relativeHumidity, three[13].relativeHumidity);
             EXPECT_DOUBLE_EQ(h.pressure, 101325);
             EXPECT_EQ(y.hours.back().day, 3);
             EXPECT_EQ(y.hours.back().hour, 24);
         }},
        {"crlf_bom_blank_lines_at_end",
         EpwText(three, {.crlf = true, .bom = true, .blankLinesAtEnd = 3}), 72, 0,
         [&](const WeatherYear& y) {
             EXPECT_EQ(y.location.name, QStringLiteral("Testville"));
             EXPECT_DOUBLE_EQ(y.hours[5].dryBulb, three[5].dryBulb);
         }},
        {"leap_day", EpwText(Days(2004, 2, 28, 3)), 72, 0,
         [](const WeatherYear& y) {
             EXPECT_EQ(y.hours[24].month, 2);
             EXPECT_EQ(y.hours[24].day, 29);
             EXPECT_EQ(y.hours[48].month, 3);
         }},
        {"leap_year", EpwText(Days(2004, 1, 1, 366)), 8784, 0,
         [](const WeatherYear& y) {
             EXPECT_EQ(y.hours.back().month, 12);
             EXPECT_EQ(y.hours.back().day, 31);
         }},
        {"partial_year_over_its_end", EpwText(Days(2001, 12, 31, 2)), 48, 0,
         [](const WeatherYear& y) {
             EXPECT_EQ(y.hours.front().month, 12);
             EXPECT_EQ(y.hours.back().year, 2002);
             EXPECT_EQ(y.hours.back().month, 1);
         }},
        {"missing_values_each_code",
         EpwText(WithHour(
             WithHour(WithHour(WithHour(three, 0, [](Hour& h) { h.dryBulb = kMissingTemperature; }),
                               10, [](Hour& h) { h.dewPoint = kMissingTemperature; }),
                      20, [](Hour& h) { h.relativeHumidity = kMissingHumidity; }),
             71, [](Hour& h) { h.pressure = kMissingPressure; })),
         68, 4,
         [](const WeatherYear& y) {
             EXPECT_EQ(y.hours.front().hour, 2); // hour 1 skipped
             EXPECT_EQ(y.hours.back().hour, 23); // the last hour skipped
         }},
        {"missing_dry_bulb_above_its_code",
         EpwText(WithHour(three, 3, [](Hour& h) { h.dryBulb = 999.9; })), 71, 1, nullptr},
        {"saturated_above_100_percent",
         EpwText(WithHour(three, 7, [](Hour& h) { h.relativeHumidity = 104; })), 72, 0,
         [](const WeatherYear& y) { EXPECT_EQ(y.hours[7].relativeHumidity, 100); }},
        {"every_hour_missing",
         EpwText(std::vector<Hour>(1, Hour{.relativeHumidity = kMissingHumidity})), 0, 1, nullptr},
        {"design_year", DesignYearEpw(), 8760, 0,
         [](const WeatherYear& y) {
             EXPECT_DOUBLE_EQ(y.meanPressure(), DesignYearValues::kPressure);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WeatherYear year;
        ASSERT_EQ(RefusalOf([&] { year = ReadEpwText(c.text); }), QString());
        EXPECT_EQ(year.format, WeatherYear::Format::Epw);
        EXPECT_EQ(year.hours.size(), c.hours);
        EXPECT_EQ(year.skipped, c.skipped);
        if (c.check)
            c.check(year);
    }
}

// The LOCATION line: UTF-8 where it is valid, else Latin-1; "-" and empty
// parts left out of the station's text; numbers absent are NaN.
TEST(WeatherYearEpw, ReadsTheLocation)
{
    const std::vector<Hour> day = Days(2001, 1, 1, 1);
    QStringList lines = EpwLines(day);

    const WeatherYear utf8 = ReadEpwText(JoinLines(lines));
    EXPECT_EQ(utf8.stationText(), QStringLiteral("Testville, Hebei, CHN"));
    EXPECT_DOUBLE_EQ(utf8.location.latitude, 39.8);
    EXPECT_DOUBLE_EQ(utf8.location.longitude, 116.47);
    EXPECT_DOUBLE_EQ(utf8.location.timeZone, 8);
    EXPECT_DOUBLE_EQ(utf8.location.elevation, 31.3);

    lines[0] = QStringLiteral("LOCATION,北京,-,CHN,CSWD,545110,39.80,116.47,8.0,31.3");
    EXPECT_EQ(ReadEpwText(JoinLines(lines)).stationText(), QStringLiteral("北京, CHN"));

    QByteArray latin1 = JoinLines(EpwLines(day));
    latin1.replace("Testville", "Z\xFCrich"); // ü in Latin-1: no valid UTF-8
    EXPECT_EQ(ReadEpwText(latin1).location.name, QStringLiteral("Zürich"));

    lines[0] = QStringLiteral("LOCATION,Nowhere");
    const WeatherYear bare = ReadEpwText(JoinLines(lines));
    EXPECT_EQ(bare.stationText(), QStringLiteral("Nowhere"));
    EXPECT_TRUE(std::isnan(bare.location.latitude));
    EXPECT_TRUE(std::isnan(bare.location.elevation));
}

// Texts that are no EPW, or rows outside the EPW's ranges: refused, naming
// the line and why.
TEST(WeatherYearEpw, RefusesNamingTheLine)
{
    const std::vector<Hour> two = Days(2001, 4, 29, 2); // 29–30 April
    const QStringList lines = EpwLines(two);
    const auto withLine = [&](int number, const QString& text) {
        QStringList changed = lines;
        changed[number - 1] = text;
        return JoinLines(changed);
    };
    // Line 9 is the first hour, 29 April hour 1.
    const QString row = lines[8];
    const auto field = [&](int index, const char* text) {
        QStringList f = row.split(u',');
        f[index] = QString::fromUtf8(text);
        return withLine(9, f.join(u','));
    };
    struct Case {
        const char* name;
        QByteArray text;
        QString message;
    };
    const std::vector<Case> cases = {
        {"empty", QByteArray(), LineFault(1, "文件为空")},
        {"no_location", withLine(1, QStringLiteral("t,rh")),
         LineFault(1, "不是EPW气象文件：第一行应以“LOCATION”开头")},
        {"latitude_beyond_the_pole",
         withLine(1, QStringLiteral("LOCATION,X,Y,Z,S,1,95.0,116.47,8.0,31.3")),
         LineFault(1, "纬度应在-90～90之间，实为“95.0”")},
        {"header_cut_short", JoinLines(lines.mid(0, 5)),
         LineFault(6, "文件在表头中结束：EPW文件应有8行表头")},
        {"seven_header_lines", JoinLines(lines.mid(0, 7) + lines.mid(8)),
         LineFault(8, "应为表头行：EPW文件在逐时数据之前有8行表头")},
        {"no_hours", JoinLines(lines.mid(0, 8) + QStringList{QString()}),
         LineFault(9, "缺少逐时数据")},
        {"too_few_fields", withLine(9, QStringLiteral("2001,4,29,1,60,?9,20,9,50")),
         LineFault(9, "应至少有10个字段，实有9个")},
        {"year_no_number", field(0, "x"), LineFault(9, "年份：“x”不是有效的数值")},
        {"month_13", field(1, "13"), LineFault(9, "月份应为1～12的整数，实为“13”")},
        {"month_fraction", field(1, "4.5"), LineFault(9, "月份应为1～12的整数，实为“4.5”")},
        {"april_31", field(2, "31"), LineFault(9, "日期应为1～30（4月）的整数，实为“31”")},
        {"hour_0", field(3, "0"), LineFault(9, "小时应为1～24的整数，实为“0”")},
        {"hour_25", field(3, "25"), LineFault(9, "小时应为1～24的整数，实为“25”")},
        {"dry_bulb_85", field(6, "85"), LineFault(9, "干球温度应在-70～70℃之间，实为“85”")},
        {"dry_bulb_minus_75", field(6, "-75"), LineFault(9, "干球温度应在-70～70℃之间，实为“-75”")},
        {"dry_bulb_no_number", field(6, "warm"), LineFault(9, "干球温度：“warm”不是有效的数值")},
        {"dry_bulb_empty", field(6, ""), LineFault(9, "干球温度：“”不是有效的数值")},
        {"dew_point_80", field(7, "80"), LineFault(9, "露点温度应在-70～70℃之间，实为“80”")},
        {"rh_120", field(8, "120"), LineFault(9, "相对湿度应在0～110%之间，实为“120”")},
        {"rh_negative", field(8, "-1"), LineFault(9, "相对湿度应在0～110%之间，实为“-1”")},
        {"pressure_low", field(9, "20000"),
         LineFault(9, "大气压力应在31000～120000Pa之间，实为“20000”")},
        {"pressure_high", field(9, "130000"),
         LineFault(9, "大气压力应在31000～120000Pa之间，实为“130000”")},
        // A value out of range is refused even where another one is missing.
        {"rh_120_beside_missing_dry_bulb",
         EpwText(WithHour(WithHour(two, 0, [](Hour& h) { h.dryBulb = 99.9; }), 0,
                          [](Hour& h) { h.relativeHumidity = 120; })),
         LineFault(9, "相对湿度应在0～110%之间，实为“120”")},
        {"hour_twice", withLine(20, row), LineFault(20, "4月29日1时与第9行重复")},
        {"skipped_hour_twice",
         EpwText(WithHour(WithHour(two, 0, [](Hour& h) { h.pressure = kMissingPressure; }), 1,
                          [](Hour& h) { h.hour = 1; })),
         LineFault(10, "4月29日1时与第9行重复")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RefusalOf([&] { ReadEpwText(c.text); }), c.message);
    }
}

// CSV tables: columns by name in any order and case, other columns passed
// over; rows without dates are the hours of the year from 1 January.
TEST(WeatherYearCsv, AcceptsItsForms)
{
    // The moisture content the library gives (t, RH) at pressure, g/kg.
    const auto moisture = [](double t, double rh, double pressure) {
        ID_lib lib;
        lib.AtmPressure = pressure;
        lib.PsychroCoefficient = kPsychroCoefficient;
        lib.CurrentState.t = t;
        lib.CurrentState.RH = rh;
        EXPECT_TRUE(lib.StateFromRH_T(t, rh));
        return lib.CurrentState.d * 1000;
    };
    const QByteArray d20 = QByteArray::number(moisture(20, 50, 101325), 'g', 17);
    const QByteArray d30 = QByteArray::number(moisture(30, 70, 80000), 'g', 17);
    std::vector<Hour> leapLessOne = Days(2004, 1, 1, 366);
    leapLessOne.pop_back();
    struct Case {
        const char* name;
        QByteArray text;
        double pressure;
        std::size_t hours;
        long long skipped;
        std::function<void(const WeatherYear&)> check;
    };
    const std::vector<Case> cases = {
        {"dates_any_order_and_case",
         " Hour ,Month,wind, DAY ,RH,T\n5,7,2.0,14,55,31.5\n6,7,,14,60,30\n", 101325, 2, 0,
         [](const WeatherYear& y) {
             EXPECT_EQ(y.hours[0].month, 7);
             EXPECT_EQ(y.hours[0].day, 14);
             EXPECT_EQ(y.hours[0].hour, 5);
             EXPECT_EQ(y.hours[0].dryBulb, 31.5);
             EXPECT_EQ(y.hours[0].relativeHumidity, 55);
             EXPECT_TRUE(std::isnan(y.hours[0].pressure));
             EXPECT_TRUE(std::isnan(y.hours[0].dewPoint));
             EXPECT_TRUE(std::isnan(y.meanPressure()));
         }},
        {"pressure_column_bom_crlf", "\xEF\xBB\xBFt,rh,p\r\n20,50,90000\r\n\r\n21,40,92000\r\n",
         101325, 2, 0,
         [](const WeatherYear& y) {
             EXPECT_EQ(y.hours[1].pressure, 92000);
             EXPECT_EQ(y.hours[1].hour, 2);
             EXPECT_DOUBLE_EQ(y.meanPressure(), 91000);
         }},
        {"empty_fields_skip_their_hour", "t,rh,p\n20,50,\n,50,90000\n20,,90000\n20,50,90000\n",
         101325, 1, 3,
         [](const WeatherYear& y) {
             EXPECT_EQ(y.hours[0].hour, 4); // the fourth row is still hour 4
         }},
        {"moisture_at_the_given_pressure", "t,d\n20," + d20 + "\n", 101325, 1, 0,
         [](const WeatherYear& y) { EXPECT_NEAR(y.hours[0].relativeHumidity, 50, 1e-9); }},
        {"moisture_at_the_rows_pressure", "t,d,p\n30," + d30 + ",80000\n", 101325, 1, 0,
         [](const WeatherYear& y) { EXPECT_NEAR(y.hours[0].relativeHumidity, 70, 1e-9); }},
        {"moisture_at_the_argument", "t,d\n30," + d30 + "\n", 80000, 1, 0,
         [](const WeatherYear& y) { EXPECT_NEAR(y.hours[0].relativeHumidity, 70, 1e-9); }},
        {"no_dates_non_leap", WeatherCsvText(Days(2001, 1, 1, 365), {"t", "rh"}), 101325, 8760, 0,
         [](const WeatherYear& y) {
             EXPECT_EQ(y.hours[59 * 24].month, 3); // the 60th day is 1 March
             EXPECT_EQ(y.hours[59 * 24].day, 1);
             EXPECT_EQ(y.hours.back().day, 31);
             EXPECT_EQ(y.hours.back().hour, 24);
         }},
        {"no_dates_leap", WeatherCsvText(Days(2004, 1, 1, 366), {"t", "rh"}), 101325, 8784, 0,
         [](const WeatherYear& y) {
             EXPECT_EQ(y.hours[59 * 24].month, 2);
             EXPECT_EQ(y.hours[59 * 24].day, 29);
             EXPECT_EQ(y.hours.back().month, 12);
             EXPECT_EQ(y.hours.back().day, 31);
         }},
        {"no_dates_leap_but_its_last_hour", WeatherCsvText(leapLessOne, {"t", "rh"}), 101325, 8783,
         0,
         [](const WeatherYear& y) {
             EXPECT_EQ(y.hours.back().day, 31);
             EXPECT_EQ(y.hours.back().hour, 23);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WeatherYear year;
        ASSERT_EQ(RefusalOf([&] { year = ReadWeatherCsvText(c.text, c.pressure); }), QString());
        EXPECT_EQ(year.format, WeatherYear::Format::Csv);
        EXPECT_EQ(year.hours.size(), c.hours);
        EXPECT_EQ(year.skipped, c.skipped);
        if (c.check)
            c.check(year);
    }
}

TEST(WeatherYearCsv, RefusesNamingTheLine)
{
    const QByteArray leapAndOneMore =
        WeatherCsvText(Days(2004, 1, 1, 366), {"t", "rh"}) + "20,50\n";
    struct Case {
        const char* name;
        QByteArray text;
        double pressure;
        QString message;
    };
    const std::vector<Case> cases = {
        {"empty", "\n\n", 101325, LineFault(3, "缺少列名行")},
        {"no_rows", "t,rh\n", 101325, LineFault(2, "缺少逐时数据")},
        {"no_t", "temp,rh\n20,50\n", 101325, LineFault(1, "列名行应有“t”列，以及“rh”或“d”列")},
        {"no_humidity", "t,p\n20,50\n", 101325, LineFault(1, "列名行应有“t”列，以及“rh”或“d”列")},
        {"rh_and_d", "t,rh,d\n20,50,7\n", 101325, LineFault(1, "列名行中“rh”与“d”只能有其一")},
        {"twice", "t,rh,T\n20,50,20\n", 101325, LineFault(1, "列名“T”出现了两次")},
        {"dates_in_part", "month,day,t,rh\n1,1,20,50\n", 101325,
         LineFault(1, "列名行中“month”、“day”、“hour”应同时给出或都不给出")},
        {"fields_short", "t,rh,note\n20,50\n", 101325, LineFault(2, "应有3个字段，实有2个")},
        {"rh_no_number", "t,rh\n20,50\n20,half\n", 101325,
         LineFault(3, "相对湿度：“half”不是有效的数值")},
        {"t_out_of_range", "t,rh\n71,50\n", 101325,
         LineFault(2, "干球温度应在-70～70℃之间，实为“71”")},
        {"p_out_of_range", "t,rh,p\n20,50,1000\n", 101325,
         LineFault(2, "大气压力应在31000～120000Pa之间，实为“1000”")},
        {"d_beyond_saturation", "t,d\n20,7\n10,50\n", 101325,
         LineFault(3, "含湿量“50”g/kg在10℃下不合理（相对湿度将超出0～100%）")},
        {"d_negative", "t,d\n10,-1\n", 101325,
         LineFault(2, "含湿量“-1”g/kg在10℃下不合理（相对湿度将超出0～100%）")},
        {"d_with_no_pressure", "t,d\n10,5\n", 0,
         QStringLiteral("大气压力应在31000～120000Pa之间，实为0Pa")},
        {"february_30", "month,day,hour,t,rh\n2,30,1,20,50\n", 101325,
         LineFault(2, "日期应为1～29（2月）的整数，实为“30”")},
        {"hour_twice", "month,day,hour,t,rh\n2,3,1,20,50\n2,3,2,20,50\n2,3,1,,\n", 101325,
         LineFault(4, "2月3日1时与第2行重复")},
        {"more_than_a_leap_year", leapAndOneMore, 101325,
         LineFault(8786, "行数超过一年的8784小时")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RefusalOf([&] { ReadWeatherCsvText(c.text, c.pressure); }), c.message);
    }
}

// Files on the disk: EPW by the name's extension in any case, CSV named by
// the file's base name; a file that cannot be read is told apart from a bad
// text.
TEST(WeatherYearFile, ReadsByExtensionAndTellsUnreadableFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&](const QString& name, const QByteArray& text) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(text), text.size());
        return file.fileName();
    };
    const QString epw = write(QStringLiteral("station.EPW"), EpwText(Days(2001, 1, 1, 1)));
    const WeatherYear fromEpw = ReadWeatherYearFile(epw);
    EXPECT_EQ(fromEpw.format, WeatherYear::Format::Epw);
    EXPECT_EQ(fromEpw.hours.size(), 24u);

    const QString csv = write(QStringLiteral("上海.2020.csv"), "t,rh\n20,50\n");
    const WeatherYear fromCsv = ReadWeatherYearFile(csv);
    EXPECT_EQ(fromCsv.format, WeatherYear::Format::Csv);
    EXPECT_EQ(fromCsv.stationText(), QStringLiteral("上海.2020"));

    // An EPW text under another name is read as a CSV, and refused as one.
    const QString misnamed = write(QStringLiteral("station.txt"), EpwText(Days(2001, 1, 1, 1)));
    EXPECT_EQ(RefusalOf([&] { ReadWeatherYearFile(misnamed); }),
              LineFault(1, "列名行应有“t”列，以及“rh”或“d”列"));

    const QString missing = dir.filePath(QStringLiteral("none.epw"));
    try {
        ReadWeatherYearFile(missing);
        ADD_FAILURE() << "a missing file was read";
    } catch (const WeatherFileUnreadable& e) {
        EXPECT_EQ(
            e.text(),
            QStringLiteral("无法读取气象年文件“%1”：文件或文件夹不存在").arg(QuotedInput(missing)));
    }
    EXPECT_THROW(ReadWeatherYearFile(dir.path()), WeatherFileUnreadable);
}

// A device that gives its text and then fails, as a file on a failing disk
// or a network share that went away.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(QByteArray text) : text_(std::move(text)) { open(ReadOnly); }

protected:
    qint64 readData(char* data, qint64 size) override
    {
        if (pos_ >= text_.size())
            return -1;
        const qint64 n = std::min<qint64>(size, text_.size() - pos_);
        std::memcpy(data, text_.constData() + pos_, n);
        pos_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray text_;
    qint64 pos_ = 0;
};

// A read that fails partway is a file that cannot be read, never a shorter
// year.
TEST(WeatherYearFile, AReadErrorIsNoShorterYear)
{
    FailingDevice epw(EpwText(Days(2001, 1, 1, 2)));
    EXPECT_THROW(ReadEpw(epw), WeatherFileUnreadable);
    FailingDevice csv("t,rh\n20,50\n21,50\n");
    EXPECT_THROW(ReadWeatherCsv(csv), WeatherFileUnreadable);
}

TEST(WeatherFilter, ParsesMonthsAndHours)
{
    struct Case {
        const char* text;
        bool hours;
        unsigned set; // 0: refused
    };
    const auto bits = [](std::initializer_list<int> values) {
        unsigned set = 0;
        for (int v : values)
            set |= 1u << (v - 1);
        return set;
    };
    const std::vector<Case> cases = {
        {"6-8", false, bits({6, 7, 8})},
        {" 6 - 8 ", false, bits({6, 7, 8})},
        {"11-2", false, bits({11, 12, 1, 2})},
        {"1,2,12", false, bits({1, 2, 12})},
        {"7", false, bits({7})},
        {"5-5", false, bits({5})},
        {"1-12", false, 0xFFF},
        {"6～8", false, bits({6, 7, 8})},
        {"6–8，12", false, bits({6, 7, 8, 12})},
        {"8-12,14-18", true, bits({8, 9, 10, 11, 12, 14, 15, 16, 17, 18})},
        {"22-6", true, bits({22, 23, 24, 1, 2, 3, 4, 5, 6})},
        {"24", true, bits({24})},
        {"", false, 0},
        {" ", true, 0},
        {"0", false, 0},
        {"13", false, 0},
        {"25", true, 0},
        {"6-", false, 0},
        {"-8", true, 0},
        {"1-2-3", false, 0},
        {"6,,8", false, 0},
        {"six", false, 0},
        {"+6", false, 0},
        {"6.5", false, 0},
        {"006", false, 0},
        {"%2-8", true, 0}, // a text with a "%2" of its own is quoted as it is
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        unsigned set = 0;
        const QString refusal = RefusalOf([&] {
            set = c.hours ? WeatherFilter::ParseHours(text) : WeatherFilter::ParseMonths(text);
        });
        EXPECT_EQ(set, c.set);
        if (c.set == 0)
            EXPECT_TRUE(refusal.contains(QStringLiteral("“%1”").arg(text)))
                << refusal.toStdString();
        else
            EXPECT_EQ(refusal, QString());
    }
    EXPECT_EQ(RefusalOf([] { WeatherFilter::ParseMonths(QStringLiteral("13")); }),
              QStringLiteral("月份“13”有误：应为1～12的月份或范围，如“6-8”、“11-2”、“1,2,12”"));
}

TEST(WeatherFilter, ShowsItsText)
{
    struct Case {
        const char* months;
        const char* hours;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"1-12", "1-24", "全年"},
        {"1-12", "8-18", "全年，8–18时"},
        {"6-8", "1-24", "6–8月"},
        {"6-8", "8-18", "6–8月，8–18时"},
        {"11-2", "22-6", "11–2月，22–6时"},
        {"1,2,12", "8-12,14-18", "12–2月，8–12、14–18时"},
        {"3,5,7-9", "24", "3、5、7–9月，24时"},
    };
    for (const Case& c : cases) {
        WeatherFilter filter;
        filter.months = WeatherFilter::ParseMonths(QString::fromUtf8(c.months));
        filter.hours = WeatherFilter::ParseHours(QString::fromUtf8(c.hours));
        EXPECT_EQ(filter.text(), QString::fromUtf8(c.text)) << c.months << " " << c.hours;
    }
    EXPECT_TRUE(WeatherFilter().takesAll());
}

} // namespace
