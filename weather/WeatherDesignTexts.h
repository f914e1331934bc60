// A weather year's design values as texts of the city weather table, so that
// the air treatment calculator takes them as it takes a picked station's.
// No widgets.
#pragma once

#include "psychro/WeatherTable.h"
#include "weather/WeatherYearFigures.h"

#include <QString>

// Temperatures as the table writes them: to 0.1 ℃ with one decimal, halves
// away from zero ("33.5", "-9.9", "29.0"; never "-0.0").
QString DesignTemperatureText(double celsius);
// Relative humidity as the table writes it: whole per cent ("44").
QString DesignHumidityText(double percent);

// The year's values as a station of the table: city the station's name,
// province empty; a value the year cannot give (or one that is not finite)
// stays empty. The heating temperature has no field in the table.
WeatherStation WeatherStationOf(const WeatherDesignValues& values, const QString& station);
