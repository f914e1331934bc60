// The city weather table wea.DB: outdoor design conditions for air
// conditioning, one record per station, grouped by province. The air
// treatment calculator takes a station's values from it through the city
// weather dialog (Form_wea).
//
// Values are kept as the table's own text ("33.5", "-9.9", "44"; empty where
// the source has no figure) and copied into the calculator's fields
// unchanged. The seed is data/wea.csv, built into the program as
// :/data/wea.csv (stations of GB 50736-2012, Appendix A, in its order).
#pragma once

#include "app/RecordTableStore.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The table's file name in the data directory.
inline constexpr char WeatherTableFileName[] = "wea.DB";
// The seed built into the program.
inline constexpr char WeatherSeedResource[] = ":/data/wea.csv";

// Fields Province, City (text) and Txk, Twx, Tdk, Tdm (text of the number as
// the source writes it).
const TableDeclaration& WeatherTableDeclaration();

// One station's record.
struct WeatherStation {
    QString province;
    QString city;
    QString Txk; // summer outdoor design dry bulb for air conditioning, ℃
    QString Twx; // summer outdoor design wet bulb, ℃ (empty where the source has none)
    QString Tdk; // winter outdoor design temperature for air conditioning, ℃
    QString Tdm; // winter outdoor design relative humidity, %

    bool operator==(const WeatherStation&) const = default;
};

// Reads the seed CSV: the header "Province,City,Txk,Twx,Tdk,Tdm", then one
// station per line in the table's order. A province and a city are required
// and must fit their fields; each value is empty or a number that fits its
// field, and is kept exactly as written (blanks around it trimmed). Throws
// UserError naming the line for anything else.
std::vector<WeatherStation> ReadWeatherCsv(QIODevice& device);

// Creates a new table file at path holding the stations in order (seeding
// and tests). Throws UserError, also when the file exists.
void CreateWeatherTable(const QString& path, const std::vector<WeatherStation>& stations);

// The table at path, read from the first record to the last; each call opens
// and closes the file, so that a user's edits of it count at once. A missing
// or unreadable file throws the store's UserError.
//
// Every province once, in the order in which it first occurs.
QStringList WeatherProvinces(const QString& path);
// The cities of one province, in table order.
QStringList WeatherCities(const QString& path, const QString& province);
// The first station with this province and city; none when there is no such
// station. Both are compared: a city name that occurs under two provinces
// gives each province's own values.
std::optional<WeatherStation> FindWeatherStation(const QString& path, const QString& province,
                                                 const QString& city);

// What a pick writes into the air treatment calculator's outdoor fields: the
// dry bulb is the summer value Txk for the two summer processes and the
// winter value Tdk otherwise; the wet bulb (summer) and the relative humidity
// (winter) are written whatever the process.
struct OutdoorDesignTexts {
    QString dryBulb;
    QString wetBulb;
    QString relativeHumidity;
};
OutdoorDesignTexts OutdoorDesignFor(const WeatherStation& station, bool summerProcess);
