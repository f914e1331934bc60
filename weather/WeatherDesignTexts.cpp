#include "weather/WeatherDesignTexts.h"

#include <cmath>

namespace
{

QString roundedText(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0) // −0.04 ℃ is written "0.0", as the table has it
        rounded = 0;
    return QString::number(rounded, 'f', decimals);
}

QString textOf(const std::optional<double>& value, QString (*format)(double))
{
    return value && std::isfinite(*value) ? format(*value) : QString();
}

} // namespace

QString DesignTemperatureText(double celsius)
{
    return roundedText(celsius, 1);
}

QString DesignHumidityText(double percent)
{
    return roundedText(percent, 0);
}

WeatherStation WeatherStationOf(const WeatherDesignValues& values, const QString& station)
{
    return {.province = QString(),
            .city = station,
            .Txk = textOf(values.summerDryBulb, DesignTemperatureText),
            .Twx = textOf(values.summerWetBulb, DesignTemperatureText),
            .Tdk = textOf(values.winterAirConditioning, DesignTemperatureText),
            .Tdm = textOf(values.winterRelativeHumidity, DesignHumidityText)};
}
