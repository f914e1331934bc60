// The weather table's seed reader over arbitrary text: it either refuses the
// text with a message or returns stations that fit the table, and those
// stations, written back as CSV, read back the same.
#include "FuzzCheck.h"
#include "app/CsvReader.h"
#include "app/Numbers.h"
#include "psychro/WeatherTable.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{

std::vector<WeatherStation> read(const QByteArray& text)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return ReadWeatherCsv(buffer);
}

int fieldSize(const char* name)
{
    const TableDeclaration& declaration = WeatherTableDeclaration();
    return declaration.fields[declaration.indexOf(QString::fromLatin1(name))].size;
}

void checkStation(const WeatherStation& s)
{
    FUZZ_CHECK(!s.province.isEmpty() && s.province.size() <= fieldSize("Province"));
    FUZZ_CHECK(!s.city.isEmpty() && s.city.size() <= fieldSize("City"));
    FUZZ_CHECK(s.province == s.province.trimmed() && s.city == s.city.trimmed());
    for (const QString* value : {&s.Txk, &s.Twx, &s.Tdk, &s.Tdm}) {
        FUZZ_CHECK(value->size() <= fieldSize("Txk"));
        if (!value->isEmpty())
            ParseNumber(*value); // kept only when it is a number
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<WeatherStation> stations;
    try {
        stations = read(text);
    } catch (const UserError&) {
        return 0; // refused, with its message
    }
    // At most one station a line after the header.
    FUZZ_CHECK(stations.size() <= static_cast<std::size_t>(text.count('\n') + text.count('\r')));
    QByteArray written = "Province,City,Txk,Twx,Tdk,Tdm\n";
    for (const WeatherStation& s : stations) {
        checkStation(s);
        QStringList fields;
        for (const QString& field : {s.province, s.city, s.Txk, s.Twx, s.Tdk, s.Tdm})
            fields << CsvField(field);
        written += fields.join(QLatin1Char(',')).toUtf8() + '\n';
    }
    FUZZ_CHECK(read(written) == stations);
    return 0;
}
