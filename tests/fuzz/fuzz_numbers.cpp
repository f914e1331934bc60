// ParseNumber over arbitrary field texts, and FormatFixed of every number it
// accepts read back through ParseNumber; on ASCII text, ParseAsciiNumber
// accepts what ParseNumber accepts, with the same bits.
#include "FuzzCheck.h"
#include "app/AsciiNumber.h"
#include "app/Numbers.h"

#include <QRegularExpression>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace
{

// The display patterns run from "0" to "0.0000000000".
constexpr int kMostDecimals = 10;

// What FormatFixed may produce: no grouping, no exponent, exactly `decimals`
// digits after the point.
bool isFixedText(const QString& text, int decimals)
{
    static const QRegularExpression whole(QStringLiteral("^-?\\d+$"));
    static const QRegularExpression fraction(QStringLiteral("^-?\\d+\\.(\\d+)$"));
    if (decimals == 0)
        return whole.match(text).hasMatch();
    const QRegularExpressionMatch match = fraction.match(text);
    return match.hasMatch() && match.capturedLength(1) == decimals;
}

void checkFormatted(double value, int decimals)
{
    const QString text = FormatFixed(value, decimals);
    FUZZ_CHECK(isFixedText(text, decimals));
    // "-0.00" is never shown: a minus sign comes only with a non-zero digit.
    if (text.startsWith(QLatin1Char('-')))
        FUZZ_CHECK(text.contains(QRegularExpression(QStringLiteral("[1-9]"))));

    const double back = ParseNumber(text); // a formatted number always reads back
    // Rounding to `decimals` moves the value by at most half a unit in the
    // last decimal; reading the decimal text back adds at most half an ulp on
    // each side (the shortest form the rounding starts from, and the double
    // nearest the result).
    const long double allowed = 0.5L * std::pow(10.0L, -decimals) +
                                std::nextafter(std::fabs(value), INFINITY) - std::fabs(value) +
                                std::nextafter(std::fabs(back), INFINITY) - std::fabs(back);
    FUZZ_CHECK(std::fabs(static_cast<long double>(back) - value) <= allowed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the decimals for the formatting half; the rest is
    // the field's text.
    const int decimals = data[0] % (kMostDecimals + 1);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1),
                               static_cast<qsizetype>(size - 1));
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    double value = 0;
    try {
        value = ParseNumber(text);
    } catch (const ConversionError& error) {
        FUZZ_CHECK(!error.text().isEmpty());
        FUZZ_CHECK(!ascii || !ParseAsciiNumber(bytes));
        return 0;
    }
    FUZZ_CHECK(std::isfinite(value));
    if (ascii) {
        const std::optional<double> read = ParseAsciiNumber(bytes);
        FUZZ_CHECK(read &&
                   std::bit_cast<std::uint64_t>(*read) == std::bit_cast<std::uint64_t>(value));
    }
    checkFormatted(value, decimals);
    return 0;
}
