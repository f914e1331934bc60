// The weather table: its seed, the province and city lists the dialog shows,
// and the values a pick writes.
#include "app/DataDir.h"
#include "shell/DataSeeds.h"
#include "app/Numbers.h"
#include "psychro/WeatherTable.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

WeatherStation Station(const char* province, const char* city, const char* Txk, const char* Twx,
                       const char* Tdk, const char* Tdm)
{
    return {QString::fromUtf8(province), QString::fromUtf8(city), QString::fromUtf8(Txk),
            QString::fromUtf8(Twx),      QString::fromUtf8(Tdk),  QString::fromUtf8(Tdm)};
}

std::vector<WeatherStation> ReadCsv(const QByteArray& text)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return ReadWeatherCsv(buffer);
}

// A table whose provinces come back after others, with a city name under two
// provinces and a station without a wet bulb.
class WeatherTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QString::fromLatin1(WeatherTableFileName));
        CreateWeatherTable(path, {
                                     Station("甲", "一城", "33.5", "26.4", "-9.9", "44"),
                                     Station("甲", "二城", "30", "25.1", "-5", "50"),
                                     Station("乙", "一城", "31.2", "", "2.9", "67"),
                                     Station("甲", "三城", "29.9", "24", "-12.0", "71"),
                                     Station("丙", "四城", "35", "28", "10.3", "86"),
                                     Station("乙", "五城", "34", "27", "-1", "60"),
                                 });
    }

    QTemporaryDir dir;
    QString path;
};

// Provinces once each, in the order they first occur (甲 comes back after
// 乙); a province's cities in table order.
TEST_F(WeatherTableTest, ProvincesOnceAndTheirCitiesInTableOrder)
{
    EXPECT_EQ(WeatherProvinces(path), QStringList({"甲", "乙", "丙"}));
    EXPECT_EQ(WeatherCities(path, QStringLiteral("甲")), QStringList({"一城", "二城", "三城"}));
    EXPECT_EQ(WeatherCities(path, QStringLiteral("乙")), QStringList({"一城", "五城"}));
    EXPECT_TRUE(WeatherCities(path, QStringLiteral("丁")).isEmpty());
}

// Province and city are matched together: the first "一城" does not answer
// for the second province's.
TEST_F(WeatherTableTest, StationIsFoundByProvinceAndCity)
{
    const struct {
        const char* province;
        const char* city;
        std::optional<WeatherStation> expected;
    } cases[] = {
        {"甲", "一城", Station("甲", "一城", "33.5", "26.4", "-9.9", "44")},
        {"乙", "一城", Station("乙", "一城", "31.2", "", "2.9", "67")},
        {"甲", "三城", Station("甲", "三城", "29.9", "24", "-12.0", "71")},
        {"丙", "一城", std::nullopt},
        {"甲", "五城", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.province) + c.city);
        EXPECT_EQ(
            FindWeatherStation(path, QString::fromUtf8(c.province), QString::fromUtf8(c.city)),
            c.expected);
    }
}

// Summer processes take the summer dry bulb, winter ones the winter
// temperature; wet bulb and humidity are written either way, an empty wet
// bulb as empty.
TEST(WeatherPick, FieldsForSummerAndWinter)
{
    const WeatherStation beijing = Station("北京", "北京", "33.5", "26.4", "-9.9", "44");
    const WeatherStation wuqia = Station("新疆", "乌恰", "28.8", "", "-17.9", "59");
    const struct {
        const WeatherStation& station;
        bool summer;
        const char *dryBulb, *wetBulb, *rh;
    } cases[] = {
        {beijing, true, "33.5", "26.4", "44"},
        {beijing, false, "-9.9", "26.4", "44"},
        {wuqia, true, "28.8", "", "59"},
        {wuqia, false, "-17.9", "", "59"},
    };
    for (const auto& c : cases) {
        const OutdoorDesignTexts texts = OutdoorDesignFor(c.station, c.summer);
        SCOPED_TRACE(c.station.city.toStdString() + (c.summer ? " summer" : " winter"));
        EXPECT_EQ(texts.dryBulb, QString::fromUtf8(c.dryBulb));
        EXPECT_EQ(texts.wetBulb, QString::fromUtf8(c.wetBulb));
        EXPECT_EQ(texts.relativeHumidity, QString::fromUtf8(c.rh));
    }
}

// The seed as the program builds it into a fresh data directory.
TEST(WeatherSeed, ShippedTableHoldsEveryStationInTheFilesOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    DataDir::setOverride(dir.path());
    RegisterDataSeeds();
    DataDir::ensure();
    const QString path = DataDir::file(QString::fromLatin1(WeatherTableFileName));
    DataDir::setOverride(QString());

    RecordTableStore table(WeatherTableDeclaration());
    table.setPath(path);
    table.open();
    EXPECT_EQ(table.recordCount(), 294);
    table.close();

    const QStringList provinces = WeatherProvinces(path);
    EXPECT_EQ(provinces.size(), 31);
    EXPECT_EQ(provinces.first(), QStringLiteral("北京"));
    EXPECT_EQ(provinces.last(), QStringLiteral("新疆"));
    EXPECT_EQ(WeatherCities(path, QStringLiteral("天津")), QStringList({"天津", "塘沽"}));

    // 安庆's winter temperature as the seed corrects it; 乌恰 has no wet bulb.
    for (const WeatherStation& station :
         {Station("北京", "北京", "33.5", "26.4", "-9.9", "44"),
          Station("安徽", "安庆", "35.3", "28.1", "-2.9", "75"),
          Station("新疆", "克孜勒苏柯尔克孜自治州(乌恰)", "28.8", "", "-17.9", "59")}) {
        EXPECT_EQ(FindWeatherStation(path, station.province, station.city), station);
    }
}

TEST(WeatherSeed, ReadingRefusesWhatIsNoStation)
{
    const QByteArray header = "Province,City,Txk,Twx,Tdk,Tdm\n";
    const struct {
        const char* name;
        QByteArray text;
        const char* message;
    } cases[] = {
        {"empty", "", "气象参数数据为空"},
        {"other header", "Province,City,Txk\n", "第1行"},
        {"field missing", header + "北京,北京,33.5,26.4,-9.9\n", "第2行"},
        {"no city", header + "北京,,33.5,26.4,-9.9,44\n", "第2行"},
        {"no number", header + "北京,北京,33.5,湿,-9.9,44\n", "“湿”不是有效的数值"},
        {"name too long", header + "北京," + QByteArray(21, 'x') + ",1,2,3,4\n", "名称过长"},
        {"value too long", header + "北京,北京,33.500000,1,2,3\n", "过长"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ReadCsv(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const UserError& error) {
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.message)))
                << error.text().toStdString();
        }
    }
    // Blank lines and CR LF ends are no stations and no faults; a byte
    // order mark inside the text is no part of a name.
    EXPECT_EQ(ReadCsv(header + "\r\n北京,北京,33.5,26.4,-9.9,44\r\n\r\n"),
              std::vector<WeatherStation>({Station("北京", "北京", "33.5", "26.4", "-9.9", "44")}));
    EXPECT_EQ(ReadCsv(header + "\xEF\xBB\xBF北京,\"\xEF\xBB\xBF北京\",33.5,26.4,-9.9,44\n"),
              std::vector<WeatherStation>({Station("北京", "北京", "33.5", "26.4", "-9.9", "44")}));
}

} // namespace
