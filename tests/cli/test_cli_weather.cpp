// ventacalc-cli weather over synthetic weather years: its refusals and exit
// statuses, the JSON object against the core's figures, the text output
// rounded as the city weather table writes, and the chart and bin files.
#include "psychro/ID_lib.h"
#include "psychro/StatePointCalc.h"
#include "support/CliRun.h"
#include "support/WeatherYearFiles.h"
#include "support/WorkbookDump.h"
#include "weather/WeatherBinFiles.h"
#include "weather/WeatherYearFigures.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

namespace W = WeatherYearFiles;

class CliWeather : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        year_ = write(QStringLiteral("year.epw"), W::DesignYearEpw());
    }
    QString write(const QString& name, const QByteArray& text)
    {
        QFile f(dir_.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    }
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir_;
    QString year_;
};

QJsonObject JsonOf(const CliRun& r)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    return doc.object();
}

QJsonValue Optional(const std::optional<double>& v)
{
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

} // namespace

// Every word checked before the file is read refuses with status 2; a file
// that cannot be read is status 1, one whose text is no weather year 2; an
// output that cannot be written 1. Nothing reaches standard output then.
TEST_F(CliWeather, RefusalsAndFailuresPrintNoResult)
{
    const QString bad = write(QStringLiteral("bad.epw"),
                              W::JoinLines(W::EpwLines(W::Days(2001, 1, 1, 1)).mid(0, 8)
                                           << QStringLiteral("2001,1,1,1,60,x,abc,5,50,101325")));
    const QString noFolder = path("none/out");
    const struct {
        QStringList args;
        int status;
        const char* message; // part of standard error
    } cases[] = {
        {{}, 2, "请给出气象年文件"},
        {{year_, year_}, 2, "只能给出一个气象年文件"},
        {{year_, "--zones"}, 2, "选项 --zones 只用于 --chart"},
        {{year_, "--scale", "2"}, 2, "选项 --scale 只用于 --chart"},
        {{year_, "--points", "p.DB"}, 2, "选项 --points 只用于 --chart"},
        {{year_, "--process", "1", "tW=34"}, 2, "选项 --process 只用于 --chart"},
        {{year_, "--chart", "c.gif"}, 2, "扩展名应为 .png、.svg 或 .pdf"},
        {{year_, "--chart", "c.svg", "--scale", "2"}, 2, "--scale 只用于PNG图片"},
        {{year_, "--chart", "c.png", "--scale", "5"}, 2, "放大倍数“5”应为1到4之间的整数"},
        {{year_, "--bins", "b.txt"}, 2, "扩展名应为 .xlsx 或 .csv"},
        {{year_, "--months", "13"}, 2, "13"},
        {{year_, "--hours", "0-5"}, 2, "0-5"},
        {{year_, "--pressure", "abc"}, 2, "“abc”不是有效的数值"},
        {{year_, "--pressure", "1000"}, 2, "30000"},
        {{year_, "--json", "--json"}, 2, "选项 --json 给出了两次"},
        {{year_, "--months"}, 2, "选项 --months 缺少值"},
        {{year_, "--frobnicate"},
         2,
         "无法识别的参数: --frobnicate（见 ventacalc-cli weather --help）"},
        {{year_, "--chart", "c.png", "--process", "1", "tW=34"}, 2, "请输入室外空气参数！"},
        {{year_, "--chart", "c.png", "--process", "1", "tW=34", "tw0=3"}, 2, "tw0=3"},
        {{path("missing.epw")}, 1, "：文件或文件夹不存在"},
        {{bad}, 2, "第9行"},
        {{year_, "--chart", noFolder + ".png"}, 1, "none"},
        {{year_, "--bins", noFolder + ".csv"}, 1, "none"},
        {{year_, "--bins", noFolder + ".xlsx"}, 1, "none"},
    };
    for (const auto& c : cases) {
        QStringList args{QStringLiteral("weather")};
        args << c.args;
        const CliRun r = RunCli(args);
        const std::string what = args.join(u' ').toStdString();
        EXPECT_EQ(r.status, c.status) << what << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << what << "\n"
                                                                  << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << what << "\n" << r.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("c.png")));
}

// The object has exactly the documented keys and the core's figures, bit for
// bit; the design values use every hour whatever the filter, the zones the
// filter's hours.
TEST_F(CliWeather, JsonHoldsTheCoresFigures)
{
    const WeatherYear year = W::ReadDesignYear();
    const WeatherDesignValues design = ComputeDesignValues(year, ID_lib());
    const QString shortYear =
        write(QStringLiteral("short.epw"), W::EpwText(W::Days(2001, 7, 30, 4)));
    const struct {
        const char* name;
        QString file;
        QStringList options;
        const char* months;
        const char* hours;
    } cases[] = {
        {"whole year", year_, {}, nullptr, nullptr},
        {"summer days", year_, {"--months", "6-8", "--hours", "8-18"}, "6-8", "8-18"},
        {"winter over the year's end", year_, {"--months", "11-2"}, "11-2", nullptr},
        {"four days, no heating value", shortYear, {"--hours", "1,24"}, nullptr, "1,24"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const WeatherYear read = W::ReadEpwText([&] {
            QFile f(c.file);
            EXPECT_TRUE(f.open(QIODevice::ReadOnly));
            return f.readAll();
        }());
        WeatherFilter filter;
        if (c.months)
            filter.months = WeatherFilter::ParseMonths(QString::fromUtf8(c.months));
        if (c.hours)
            filter.hours = WeatherFilter::ParseHours(QString::fromUtf8(c.hours));
        const WeatherDesignValues values = ComputeDesignValues(read, ID_lib());
        const CliRun r = RunCli(QStringList{"weather", c.file, "--json"} << c.options);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QJsonObject o = JsonOf(r);
        EXPECT_EQ(o.keys(),
                  QStringList({"design", "hours", "pressure", "skipped", "station", "zones"}));
        EXPECT_EQ(o["station"].toString(), read.stationText());
        const QJsonObject hours = o["hours"].toObject();
        EXPECT_EQ(hours.keys(), QStringList({"kept", "read"}));
        EXPECT_EQ(hours["read"].toInteger(), qint64(read.hours.size()));
        EXPECT_EQ(hours["kept"].toInteger(), FilteredHours(read, filter));
        EXPECT_EQ(o["skipped"].toInteger(), read.skipped);
        EXPECT_EQ(o["pressure"].toDouble(), values.pressure);
        const QJsonObject d = o["design"].toObject();
        EXPECT_EQ(d.keys(), QStringList({"heating", "summer_dry_bulb", "summer_wet_bulb",
                                         "winter_ac", "winter_rh"}));
        EXPECT_EQ(d["summer_dry_bulb"], Optional(values.summerDryBulb));
        EXPECT_EQ(d["summer_wet_bulb"], Optional(values.summerWetBulb));
        EXPECT_EQ(d["winter_ac"], Optional(values.winterAirConditioning));
        EXPECT_EQ(d["winter_rh"], Optional(values.winterRelativeHumidity));
        EXPECT_EQ(d["heating"], Optional(values.heating));
        const std::vector<ZoneHours> zones = CountZoneHours(read, filter);
        const QJsonArray array = o["zones"].toArray();
        ASSERT_EQ(array.size(), qsizetype(zones.size()));
        for (std::size_t z = 0; z < zones.size(); ++z) {
            const QJsonObject zone = array[qsizetype(z)].toObject();
            EXPECT_EQ(zone.keys(), QStringList({"hours", "name", "share"}));
            EXPECT_EQ(zone["name"].toString(), zones[z].name);
            EXPECT_EQ(zone["hours"].toInteger(), zones[z].hours);
            EXPECT_EQ(zone["share"].toDouble(), zones[z].share);
        }
    }
    // The design year's values by construction.
    EXPECT_EQ(design.summerDryBulb, W::DesignYearValues::kSummerDryBulb);
    EXPECT_EQ(design.winterAirConditioning, W::DesignYearValues::kWinterAirConditioning);
    EXPECT_EQ(design.heating, W::DesignYearValues::kHeating);
    EXPECT_EQ(design.pressure, W::DesignYearValues::kPressure);
}

// A CSV without pressures takes --pressure for its wet bulbs, else 101325 Pa.
TEST_F(CliWeather, CsvWithoutPressureTakesTheOption)
{
    const QString csv =
        write(QStringLiteral("days.csv"),
              W::WeatherCsvText(W::Days(2001, 1, 1, 10), {"month", "day", "hour", "t", "rh"}));
    for (const double pressure : {101325.0, 90000.0}) {
        QStringList args{"weather", csv, "--json"};
        if (pressure != 101325)
            args << "--pressure" << QString::number(pressure);
        const CliRun r = RunCli(args);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(JsonOf(r)["pressure"].toDouble(), pressure);
        EXPECT_EQ(JsonOf(r)["station"].toString(), QStringLiteral("days"));
    }
}

// The text names each figure, rounded as the city weather table writes its
// values; a value the year cannot give is a dash.
TEST_F(CliWeather, TextRoundsAsTheWeatherTable)
{
    const CliRun r = RunCli({"weather", year_, "--months", "6-8"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    WeatherFilter summer;
    summer.months = WeatherFilter::ParseMonths(QStringLiteral("6-8"));
    const QString wetBulb = QString::number(
        std::round(*ComputeDesignValues(W::ReadDesignYear(), ID_lib()).summerWetBulb * 10) / 10,
        'f', 1);
    for (const QString& line :
         {QStringLiteral("气象站: Testville, Hebei, CHN"),
          QStringLiteral("小时数: 读入 8760，跳过 0，统计 2208（%1）").arg(summer.text()),
          QStringLiteral("湿球温度所用大气压(Pa): 95000"),
          QStringLiteral("夏季空调室外计算干球温度(℃): 34.5"),
          QStringLiteral("夏季空调室外计算湿球温度(℃): ") + wetBulb,
          QStringLiteral("冬季空调室外计算温度(℃): -11.0"),
          QStringLiteral("冬季空调室外计算相对湿度(%): 45"),
          QStringLiteral("冬季供暖室外计算温度(℃): -7.0")})
        EXPECT_TRUE(r.out.split(u'\n').contains(line)) << line.toStdString() << "\n"
                                                       << r.out.toStdString();
    const QString shortYear =
        write(QStringLiteral("short.epw"), W::EpwText(W::Days(2001, 7, 30, 4)));
    const CliRun s = RunCli({"weather", shortYear});
    ASSERT_EQ(s.status, 0) << s.err.toStdString();
    EXPECT_TRUE(s.out.contains(QStringLiteral("冬季供暖室外计算温度(℃): —")))
        << s.out.toStdString();
}

// The picture and the tables are written as asked, the tables the same as
// the core writes them for the filter at the chart's pressure (the file's
// mean unless --pressure), and the figures printed after them.
TEST_F(CliWeather, ChartAndBinFilesAreWritten)
{
    const WeatherYear year = W::ReadDesignYear();
    const struct {
        const char* chart;
        const char* bins;
        QStringList more;
        const char* pressure; // the chart's
        const char* months;
    } cases[] = {
        {"year.png", "bins.csv", {"--zones", "--scale", "1"}, "95000", nullptr},
        {"year.svg",
         "bins.xlsx",
         {"--process", "1", "tW=34", "tsW=28", "tN=26", "phiN=60", "Q=10", "W=3", "tO=20",
          "ratio=25"},
         "95000",
         nullptr},
        {"year.pdf", "july.csv", {"--pressure", "90000", "--months", "7"}, "90000", "7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chart);
        const CliRun r =
            RunCli(QStringList{"weather", year_, "--chart", path(c.chart), "--bins", path(c.bins)}
                   << c.more);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("夏季空调室外计算干球温度(℃): 34.5")));
        QFile chart(path(c.chart));
        ASSERT_TRUE(chart.open(QIODevice::ReadOnly));
        const QByteArray bytes = chart.readAll();
        if (QByteArray(c.chart).endsWith(".png"))
            EXPECT_FALSE(QImage::fromData(bytes, "PNG").isNull());
        else if (QByteArray(c.chart).endsWith(".svg"))
            EXPECT_TRUE(bytes.contains("气象年"));
        else
            EXPECT_TRUE(bytes.startsWith("%PDF"));

        ID_lib lib;
        ApplyPressureText(lib, QString::fromLatin1(c.pressure), InputNaming::Argument);
        WeatherFilter filter;
        if (c.months)
            filter.months = WeatherFilter::ParseMonths(QString::fromLatin1(c.months));
        const WeatherBinTables tables = ComputeBinTables(year, filter, lib);
        const QString expected = path("expected_") + QString::fromLatin1(c.bins);
        if (QByteArray(c.bins).endsWith(".csv")) {
            WriteBinTablesCsv(expected, tables);
            QFile written(path(c.bins)), core(expected);
            ASSERT_TRUE(written.open(QIODevice::ReadOnly) && core.open(QIODevice::ReadOnly));
            EXPECT_EQ(written.readAll(), core.readAll());
        } else {
            WriteBinTablesWorkbook(expected, tables);
            const QJsonObject written = DumpWorkbook(path(c.bins));
            EXPECT_FALSE(written.isEmpty());
            EXPECT_EQ(written, DumpWorkbook(expected));
        }
    }
}
