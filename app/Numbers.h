// Reading numbers from fields and showing them: locale-independent and strict.
#pragma once

#include <QString>
#include <stdexcept>
#include <string>

// A failure of a user action that the handler's edge shows in the general
// error box. what() is UTF-8.
class UserError : public std::runtime_error
{
public:
    explicit UserError(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromUtf8(what()); }
};

// A field's text that is not a number, e.g. "“abc”不是有效的数值".
class ConversionError : public UserError
{
public:
    using UserError::UserError;
};

// The whole text as a decimal number: blanks around it allowed, "." as the
// decimal point, an optional exponent; a value too small for a double is ±0,
// one too large is refused. Anything else (empty, letters, "inf",
// "nan", hexadecimal, a comma) throws ConversionError naming the text.
double ParseNumber(const QString& text);

// A user's text as a message quotes it: its first 40 characters (and "…"
// when it is longer), control characters shown escaped (\n, \x1b).
QString QuotedInput(const QString& text);

// The value with a fixed number of decimals, halves rounded away from zero on
// the decimal value (0.125 -> "0.13"), no grouping, never "-0.00".
QString FormatFixed(double value, int decimals);

// The same through a display pattern "0", "0.0", "0.00", "0.0000", ...
QString FormatNumber(double value, const QString& pattern);

// A report column value:width:decimals: right-aligned in width characters,
// widened by a longer number.
QString FormatColumn(double value, int width, int decimals);
