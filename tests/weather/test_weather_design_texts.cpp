// A weather year's design values as the city weather table writes its own,
// and as a station of the table.
#include "weather/WeatherDesignTexts.h"

#include <gtest/gtest.h>
#include <limits>

TEST(WeatherDesignTexts, RoundAsTheTableWrites)
{
    const struct {
        double value;
        const char* temperature;
        const char* humidity;
    } cases[] = {
        {33.5, "33.5", "34"},  {-9.9, "-9.9", "-10"},    {29, "29.0", "29"},
        {12.25, "12.3", "12"}, {-12.25, "-12.3", "-12"}, // halves away from zero
        {-0.04, "0.0", "0"},   {-0.4, "-0.4", "0"},      // no "-0.0", no "-0"
        {43.5, "43.5", "44"},  {44.49, "44.5", "44"},    {-7.0000001, "-7.0", "-7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DesignTemperatureText(c.value), QString::fromLatin1(c.temperature)) << c.value;
        EXPECT_EQ(DesignHumidityText(c.value), QString::fromLatin1(c.humidity)) << c.value;
    }
}

TEST(WeatherDesignTexts, StationLeavesWhatTheYearCannotGiveEmpty)
{
    WeatherDesignValues values;
    values.summerDryBulb = 34.46;
    values.winterAirConditioning = -11;
    values.winterRelativeHumidity = std::numeric_limits<double>::quiet_NaN();
    values.heating = -7;
    const WeatherStation s = WeatherStationOf(values, QStringLiteral("Testville, CHN"));
    EXPECT_EQ(s,
              (WeatherStation{QString(), QStringLiteral("Testville, CHN"), QStringLiteral("34.5"),
                              QString(), QStringLiteral("-11.0"), QString()}));
    // As a picked station's: the season's dry bulb, the wet bulb and the RH.
    const OutdoorDesignTexts winter = OutdoorDesignFor(s, false);
    EXPECT_EQ(winter.dryBulb, QStringLiteral("-11.0"));
    EXPECT_TRUE(winter.wetBulb.isEmpty());
}
