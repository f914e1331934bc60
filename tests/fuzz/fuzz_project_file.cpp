// A project file's lines over arbitrary bytes: either refused with a message
// or three lines without line ends; a duct project's usable air, written back in
// the project file's form, read back as the same numbers.
#include "FuzzCheck.h"
#include "app/Numbers.h"
#include "app/SegmentProject.h"
#include "duct/DuctProject.h"
#include "pipe/PipeProject.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList lines;
    try {
        lines = ParseProjectLines(bytes, DuctProjectLineCount, QStringLiteral("fuzz.dzl"));
    } catch (const UserError&) {
        return 0; // refused, with its message
    }
    FUZZ_CHECK(lines.size() == DuctProjectLineCount);
    for (const QString& line : lines)
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
    FUZZ_CHECK(PipeProjectLines(PipeProjectFromLines(lines)) == lines);

    AirProperties air;
    try {
        air = DuctProjectFromLines(lines);
    } catch (const UserError&) {
        return 0; // no number, or air the advanced dialog refuses
    }
    const QStringList written = DuctProjectLines(air);
    for (const QString& line : written)
        FUZZ_CHECK(line.size() == 23);
    const AirProperties back = DuctProjectFromLines(written);
    // Fifteen significant digits: the same number to within its last places.
    for (const auto& [a, b] : {std::pair{air.nu, back.nu}, {air.rho, back.rho}, {air.K, back.K}})
        FUZZ_CHECK(a == b || std::fabs(a - b) <= 1e-14 * std::fabs(a));
    return 0;
}
