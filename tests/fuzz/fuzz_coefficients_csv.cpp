// The coefficient table's seed reader (fitting coefficients built into the
// program) over arbitrary text: it either refuses the text with a message
// naming the line, or returns fittings that JZ_pipe.DB can hold, each name
// once, and that read back the same from their CSV.
#include "FuzzCheck.h"
#include "app/CsvReader.h"
#include "app/Numbers.h"
#include "pipe/LocalResistance.h"

#include <QBuffer>
#include <QSet>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{

std::vector<LocalResistance> read(const QByteArray& text)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return ReadLocalResistanceCsv(buffer);
}

// The shortest text that reads back as the same double.
QString FullPrecisionText(double value)
{
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(r.ptr - buffer));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<LocalResistance> fittings;
    try {
        fittings = read(text);
    } catch (const UserError& e) {
        FUZZ_CHECK(e.text().startsWith(QStringLiteral("局部阻力系数数据")));
        return 0; // refused, with its message
    }
    QSet<QString> names;
    QByteArray written = "Name,DN15,DN20,DN25,DN32,DN40,DN50\n";
    for (const LocalResistance& fitting : fittings) {
        const qsizetype length = fitting.name.toUcs4().size();
        FUZZ_CHECK(length >= 1 && length <= LocalResistanceNameSize);
        FUZZ_CHECK(!names.contains(fitting.name)); // a name picks one record
        names.insert(fitting.name);
        QStringList fields{CsvField(fitting.name)};
        for (const double xi : fitting.xi) {
            FUZZ_CHECK(std::isfinite(xi) && xi >= 0);
            fields << FullPrecisionText(xi);
        }
        written += fields.join(QLatin1Char(',')).toUtf8() + '\n';
        // ξ for any size is one of the six.
        for (const double DN : {15.0, 20.0, 25.0, 32.0, 40.0, 50.0, 10.0, 1000.0})
            FUZZ_CHECK(std::isfinite(CoefficientForDN(fitting, DN)));
    }
    FUZZ_CHECK(read(written) == fittings);
    return 0;
}
