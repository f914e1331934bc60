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

// A field's text that is not a number, e.g. "“abc”不是有效的数值", or the
// same named by its field, "送风温度(℃)：“abc”不是有效的数值".
class ConversionError : public UserError
{
public:
    using UserError::UserError;
};

// An input as its window shows it and as ventacalc-cli names it. The caption
// is the field's label without its colon; a field of another window (a
// dialog) is named by that window's title first, "当地大气压设置中的当地大气压(Pa)",
// since that is where the user must go to mend it.
struct NamedInput {
    const char* caption;  // "送风温度(℃)"
    const char* argument; // "tO", "--pressure"
};
// Who reads a message: the window's user knows the captions, a command
// line's user the argument names.
enum class InputNaming { Caption, Argument };

// The whole text as a decimal number: blanks around it allowed, "." as the
// decimal point, an optional exponent; a value too small for a double is ±0,
// one too large is refused. Anything else (empty, letters, "inf",
// "nan", hexadecimal, a comma) throws ConversionError naming the text.
double ParseNumber(const QString& text);
// The same for a named field: a text that is no number throws
// ConversionError with the name before the text, "<name>：“abc”不是有效的数值".
double ParseField(const QString& name, const QString& text);
double ParseField(const NamedInput& input, const QString& text,
                  InputNaming naming = InputNaming::Caption);
// A label's text as a message names its field: tags of a rich-text label
// dropped, without the trailing colon (":", "：" or ";") and blanks.
QString FieldName(const QString& label);

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
