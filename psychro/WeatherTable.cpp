#include "psychro/WeatherTable.h"

#include "app/CsvReader.h"
#include "app/Numbers.h"

#include <array>

namespace
{

const QString kProvince = QStringLiteral("Province");
const QString kCity = QStringLiteral("City");
const QString kTxk = QStringLiteral("Txk");
const QString kTwx = QStringLiteral("Twx");
const QString kTdk = QStringLiteral("Tdk");
const QString kTdm = QStringLiteral("Tdm");

// Field sizes in characters. The longest station name of the standard,
// "克孜勒苏柯尔克孜自治州(乌恰)", has 15; a value such as "-32.9" has 5.
constexpr int kProvinceSize = 10;
constexpr int kCitySize = 20;
constexpr int kValueSize = 8;

FieldDeclaration textField(const QString& name, int size)
{
    return {.name = name, .type = FieldType::Text, .size = size};
}

// The values of a station in the table's field order after Province and City.
std::array<QString WeatherStation::*, 4> valueMembers()
{
    return {&WeatherStation::Txk, &WeatherStation::Twx, &WeatherStation::Tdk, &WeatherStation::Tdm};
}

WeatherStation currentStation(const RecordTableStore& table)
{
    WeatherStation station;
    station.province = table.text(kProvince);
    station.city = table.text(kCity);
    const auto members = valueMembers();
    for (int k = 0; k < int(members.size()); ++k)
        station.*members[k] = table.textAt(2 + k);
    return station;
}

// The table at path, open on its first record; closed when it goes.
class OpenWeatherTable
{
public:
    explicit OpenWeatherTable(const QString& path) : table_(WeatherTableDeclaration())
    {
        table_.setPath(path);
        table_.open();
    }
    RecordTableStore& operator*() { return table_; }
    RecordTableStore* operator->() { return &table_; }

private:
    RecordTableStore table_;
};

const QString kWeatherData = QStringLiteral("气象参数数据");

[[noreturn]] void badLine(qint64 number, const QString& why)
{
    CsvLineError(kWeatherData, number, why);
}

} // namespace

const TableDeclaration& WeatherTableDeclaration()
{
    static const TableDeclaration declaration{{
        textField(kProvince, kProvinceSize),
        textField(kCity, kCitySize),
        textField(kTxk, kValueSize),
        textField(kTwx, kValueSize),
        textField(kTdk, kValueSize),
        textField(kTdm, kValueSize),
    }};
    return declaration;
}

std::vector<WeatherStation> ReadWeatherCsv(QIODevice& device)
{
    std::vector<WeatherStation> stations;
    ReadCsvTable(device, kWeatherData, {kProvince, kCity, kTxk, kTwx, kTdk, kTdm},
                 [&](const QStringList& fields, qint64 line) {
        WeatherStation station;
        station.province = fields[0];
        station.city = fields[1];
        if (station.province.isEmpty() || station.city.isEmpty())
            badLine(line, QStringLiteral("缺少省市名称或城市名称"));
        if (station.province.size() > kProvinceSize || station.city.size() > kCitySize)
            badLine(line, QStringLiteral("名称过长"));
        const auto members = valueMembers();
        for (int k = 0; k < int(members.size()); ++k) {
            const QString& value = fields[2 + k];
            if (value.size() > kValueSize)
                badLine(line, QStringLiteral("“%1”过长").arg(QuotedInput(value)));
            if (!value.isEmpty())
                ParseNumber(value); // a value that is no number throws, naming it
            station.*members[k] = value;
        }
        stations.push_back(std::move(station));
    });
    return stations;
}

void CreateWeatherTable(const QString& path, const std::vector<WeatherStation>& stations)
{
    std::vector<std::vector<QVariant>> records;
    records.reserve(stations.size());
    for (const WeatherStation& station : stations) {
        std::vector<QVariant> record{station.province, station.city};
        for (QString WeatherStation::*member : valueMembers())
            record.emplace_back(station.*member);
        records.push_back(std::move(record));
    }
    CreateTableFile(path, WeatherTableDeclaration(), records);
}

QStringList WeatherProvinces(const QString& path)
{
    OpenWeatherTable table(path);
    QStringList provinces;
    for (table->first(); !table->eof(); table->next()) {
        const QString province = table->text(kProvince);
        if (!provinces.contains(province))
            provinces << province;
    }
    return provinces;
}

QStringList WeatherCities(const QString& path, const QString& province)
{
    OpenWeatherTable table(path);
    QStringList cities;
    for (table->first(); !table->eof(); table->next()) {
        if (table->text(kProvince) == province)
            cities << table->text(kCity);
    }
    return cities;
}

std::optional<WeatherStation> FindWeatherStation(const QString& path, const QString& province,
                                                 const QString& city)
{
    OpenWeatherTable table(path);
    for (table->first(); !table->eof(); table->next()) {
        if (table->text(kProvince) == province && table->text(kCity) == city)
            return currentStation(*table);
    }
    return std::nullopt;
}

OutdoorDesignTexts OutdoorDesignFor(const WeatherStation& station, bool summerProcess)
{
    return {.dryBulb = summerProcess ? station.Txk : station.Tdk,
            .wetBulb = station.Twx,
            .relativeHumidity = station.Tdm};
}
