#include "app/Numbers.h"

#include "app/AsciiNumber.h"
#include "app/EscapedText.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <system_error>

namespace
{

// A pasted page of text is named by its beginning only: the box stays readable.
constexpr int kLongestQuotedText = 40;

template <class Char> bool isDigit(Char c)
{
    return c >= Char('0') && c <= Char('9');
}

// s[begin, end) as a number under the field grammar (the blanks around
// already dropped): an optional sign, digits with at most one ".", at least
// one digit, an optional exponent. One pass over the text, so that a page of
// digits is refused as fast as it is read.
template <class Char>
std::optional<double> scanNumber(const Char* s, qsizetype begin, qsizetype end)
{
    qsizetype k = begin;
    const bool negative = k < end && s[k] == Char('-');
    if (k < end && (s[k] == Char('+') || s[k] == Char('-')))
        ++k;
    const qsizetype mantissa = k;
    qsizetype intDigits = 0, fracDigits = 0;
    while (k < end && isDigit(s[k]))
        ++k, ++intDigits;
    if (k < end && s[k] == Char('.')) {
        ++k;
        while (k < end && isDigit(s[k]))
            ++k, ++fracDigits;
    }
    if (intDigits + fracDigits == 0)
        return std::nullopt;
    const qsizetype mantissaEnd = k;
    // The exponent's value, held at a bound far beyond any double's range.
    constexpr qint64 kExponentBound = 1'000'000'000;
    qint64 exponent = 0;
    if (k < end && (s[k] == Char('e') || s[k] == Char('E'))) {
        ++k;
        const bool negativeExponent = k < end && s[k] == Char('-');
        if (k < end && (s[k] == Char('+') || s[k] == Char('-')))
            ++k;
        if (k == end || !isDigit(s[k]))
            return std::nullopt;
        while (k < end && isDigit(s[k])) {
            exponent = std::min(exponent * 10 + (s[k] - Char('0')), kExponentBound);
            ++k;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (k != end)
        return std::nullopt;

    // Every character from the sign on is ASCII now; from_chars takes no "+".
    std::string ascii;
    ascii.reserve(static_cast<size_t>(end - begin));
    for (qsizetype j = begin + (s[begin] == Char('+') ? 1 : 0); j < end; ++j)
        ascii.push_back(static_cast<char>(s[j]));
    double value = 0;
    const auto [stop, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec == std::errc() && stop == ascii.data() + ascii.size() && std::isfinite(value))
        return value;
    if (ec != std::errc::result_out_of_range)
        return std::nullopt;

    // Out of range: too small is zero, as every number reader takes it; too
    // large is refused. The decimal exponent of the first significant digit
    // tells which.
    qsizetype firstSignificant = mantissa;
    while (firstSignificant < mantissaEnd &&
           (s[firstSignificant] == Char('0') || s[firstSignificant] == Char('.')))
        ++firstSignificant;
    const qsizetype point = mantissa + intDigits;
    const qint64 position =
        firstSignificant < point ? point - firstSignificant - 1 : point - firstSignificant;
    if (position + exponent < 0)
        return negative ? -0.0 : 0.0;
    return std::nullopt;
}

// The text with blanks (any white space) around it.
std::optional<double> scanNumber(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin].isSpace())
        ++begin;
    while (end > begin && text[end - 1].isSpace())
        --end;
    return scanNumber(reinterpret_cast<const char16_t*>(text.constData()), begin, end);
}

} // namespace

QString EscapedControls(const QString& text, bool keepLineEnds)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n')
            out += keepLineEnds ? QStringLiteral("\n") : QStringLiteral("\\n");
        else if (u == u'\r')
            out += QLatin1String("\\r");
        else if (u == u'\t')
            out += QLatin1String("\\t");
        else if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString QuotedInput(const QString& text)
{
    QString cut = text.left(kLongestQuotedText + 1);
    if (cut.size() > kLongestQuotedText) {
        cut.truncate(kLongestQuotedText);
        if (cut.back().isHighSurrogate())
            cut.chop(1);
        cut += QStringLiteral("…");
    }
    return EscapedControls(cut);
}

std::optional<double> ParseAsciiNumber(QByteArrayView text)
{
    qsizetype begin = 0, end = text.size();
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return scanNumber(text.data(), begin, end);
}

double ParseNumber(const QString& text)
{
    if (const auto value = scanNumber(text))
        return *value;
    throw ConversionError(QStringLiteral("“%1”不是有效的数值").arg(QuotedInput(text)));
}

double ParseField(const QString& name, const QString& text)
{
    try {
        return ParseNumber(text);
    } catch (const ConversionError& e) {
        if (name.isEmpty())
            throw;
        throw ConversionError(name + QStringLiteral("：") + e.text());
    }
}

double ParseField(const NamedInput& input, const QString& text, InputNaming naming)
{
    return ParseField(
        QString::fromUtf8(naming == InputNaming::Caption ? input.caption : input.argument), text);
}

QString FieldName(const QString& label)
{
    QString name = label;
    name.replace(QStringLiteral("<sup>2</sup>"), QStringLiteral("²"))
        .replace(QStringLiteral("<sup>3</sup>"), QStringLiteral("³"))
        .remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    name = name.trimmed();
    while (!name.isEmpty() && QStringLiteral(":：;；").contains(name.back()))
        name.chop(1);
    return name.trimmed();
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
