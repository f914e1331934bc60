#include "app/Numbers.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <system_error>

namespace
{

// Blanks, an optional sign, digits with at most one ".", an optional exponent.
const QRegularExpression& numberPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    return pattern;
}

// A pasted page of text is named by its beginning only: the box stays readable.
constexpr int kLongestQuotedText = 40;

QString conversionMessage(const QString& text)
{
    const QString quoted = text.size() > kLongestQuotedText
                               ? text.left(kLongestQuotedText) + QStringLiteral("…")
                               : text;
    return QStringLiteral("“%1”不是有效的数值").arg(quoted);
}

} // namespace

double ParseNumber(const QString& text)
{
    if (!numberPattern().match(text).hasMatch())
        throw ConversionError(conversionMessage(text));
    QByteArray latin = text.trimmed().toLatin1();
    const char* first = latin.constData();
    if (*first == '+') // from_chars takes no plus sign
        ++first;
    double value = 0;
    const auto [end, ec] = std::from_chars(first, latin.constData() + latin.size(), value);
    if (ec != std::errc() || end != latin.constData() + latin.size() || !std::isfinite(value))
        throw ConversionError(conversionMessage(text));
    return value;
}

QString FormatFixed(double value, int decimals)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    // The shortest decimal form that reads back as value: d.dddde±x. Rounding
    // is done on these decimal digits, so 0.125 and 1.005 both round up.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific);
    const std::string text(buffer, result.ptr);
    const auto ePos = text.find('e');
    std::string digits = text.substr(0, ePos);
    if (digits.size() > 1)
        digits.erase(1, 1); // the decimal point after the first digit
    const int exponent = std::stoi(text.substr(ePos + 1));

    // Digits that stay before the rounding position.
    const int keep = exponent + 1 + decimals;
    std::string kept; // the value times 10^decimals, as decimal digits
    bool roundUp = false;
    if (keep >= 0) {
        if (static_cast<int>(digits.size()) < keep + 1)
            digits.append(keep + 1 - digits.size(), '0');
        kept = digits.substr(0, keep);
        roundUp = digits[keep] >= '5';
    }
    if (kept.empty())
        kept.push_back('0');
    if (roundUp) {
        int pos = static_cast<int>(kept.size()) - 1;
        while (pos >= 0 && kept[pos] == '9')
            kept[pos--] = '0';
        if (pos < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[pos];
    }
    const auto firstNonZero = kept.find_first_not_of('0');
    const bool isZero = firstNonZero == std::string::npos;
    kept = isZero ? std::string(1, '0') : kept.substr(firstNonZero);
    if (static_cast<int>(kept.size()) < decimals + 1)
        kept.insert(0, decimals + 1 - kept.size(), '0');

    QString out = QString::fromLatin1(kept.data(), static_cast<int>(kept.size()));
    if (decimals > 0)
        out.insert(out.size() - decimals, QLatin1Char('.'));
    if (value < 0 && !isZero)
        out.prepend(QLatin1Char('-'));
    return out;
}

QString FormatNumber(double value, const QString& pattern)
{
    const int point = pattern.indexOf(QLatin1Char('.'));
    return FormatFixed(value, point < 0 ? 0 : static_cast<int>(pattern.size() - point - 1));
}

QString FormatColumn(double value, int width, int decimals)
{
    return FormatFixed(value, decimals).rightJustified(width, QLatin1Char(' '));
}
