// The pipe catalogue's seed reader (pipe sizes built into the program) over
// arbitrary text: it either refuses the text with a message naming the line,
// or returns types that pipe.dat can hold, and that read back the same from
// their catalogue records and from their CSV.
#include "FuzzCheck.h"
#include "app/CsvReader.h"
#include "app/Numbers.h"
#include "pipe/PipeCatalogue.h"

#include <QBuffer>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{

// The shortest text that reads back as the same double.
QString FullPrecisionText(double value)
{
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(r.ptr - buffer));
}

std::vector<PipeTypeRecord> read(const QByteArray& text)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return ReadPipeTypesCsv(buffer);
}

void checkType(const PipeTypeRecord& type, const std::vector<PipeTypeRecord>& types)
{
    FUZZ_CHECK(!type.name.isEmpty() && StoredPipeTypeName(type.name) == type.name);
    FUZZ_CHECK(FindPipeType(types, type.name) == &type); // each name once
    FUZZ_CHECK(std::isfinite(type.K) && type.K >= 0);
    FUZZ_CHECK(!type.sizes.empty() && type.sizes.size() <= std::size_t(MostPipeSizes));
    for (std::size_t k = 0; k < type.sizes.size(); ++k) {
        const PipeSize& s = type.sizes[k];
        FUZZ_CHECK(s.DN > 0 && (k == 0 || s.DN > type.sizes[k - 1].DN));
        FUZZ_CHECK(std::isfinite(s.De) && std::isfinite(s.E) && std::isfinite(s.Di));
        FUZZ_CHECK(s.De > 0 && s.E >= 0 && s.Di > 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<PipeTypeRecord> types;
    try {
        types = read(text);
    } catch (const UserError& e) {
        FUZZ_CHECK(e.text().startsWith(QStringLiteral("管道规格数据")));
        return 0; // refused, with its message
    }
    QByteArray catalogue;
    QByteArray written = "Type,K_mm,DN,De_mm,E_mm,Di_mm\n";
    for (const PipeTypeRecord& type : types) {
        checkType(type, types);
        catalogue +=
            EncodePipeTypeRecord(type); // throws, and so fails, for what pipe.dat cannot hold
        for (const PipeSize& s : type.sizes) {
            const QStringList fields{CsvField(type.name),    FullPrecisionText(type.K),
                                     QString::number(s.DN),  FullPrecisionText(s.De),
                                     FullPrecisionText(s.E), FullPrecisionText(s.Di)};
            written += fields.join(QLatin1Char(',')).toUtf8() + '\n';
        }
    }
    FUZZ_CHECK(ParsePipeCatalogue(catalogue, QStringLiteral("fuzz.dat")) == types);
    FUZZ_CHECK(read(written) == types);
    return 0;
}
