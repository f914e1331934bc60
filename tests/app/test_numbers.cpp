// Reading and showing numbers: strict, locale-independent, halves away from zero.
#include "app/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(AppNumbers, ParsesWholeDecimalTexts)
{
    EXPECT_DOUBLE_EQ(ParseNumber(QStringLiteral("20")), 20);
    EXPECT_DOUBLE_EQ(ParseNumber(QStringLiteral("  -3.25 ")), -3.25);
    EXPECT_DOUBLE_EQ(ParseNumber(QStringLiteral("+2")), 2);
    EXPECT_DOUBLE_EQ(ParseNumber(QStringLiteral(".5")), 0.5);
    EXPECT_DOUBLE_EQ(ParseNumber(QStringLiteral("5.")), 5);
    EXPECT_DOUBLE_EQ(ParseNumber(QStringLiteral("1.5e3")), 1500);
    EXPECT_DOUBLE_EQ(ParseNumber(QStringLiteral("1E-2")), 0.01);
    EXPECT_DOUBLE_EQ(ParseNumber(QStringLiteral("\t20\u3000")), 20); // any white space around
}

// Too small for a double reads as zero of its sign, as every number reader
// takes it; a subnormal keeps its value; too large stays refused (below).
TEST(AppNumbers, UnderflowIsZero)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {{"1e-400", 0.0},
                 {"-1e-400", -0.0},
                 {"0.0000001e-320", 0.0},
                 {"1e-310", 1e-310},
                 {"00000.5e-99999999999", 0.0}};
    for (const auto& c : cases) {
        const double v = ParseNumber(QString::fromLatin1(c.text));
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(std::signbit(v), std::signbit(c.value)) << c.text;
    }
}

TEST(AppNumbers, RefusesEverythingElseNamingTheText)
{
    for (const char* bad : {"", " ", "abc", "inf", "nan", "0x10", "1,5", "1.2.3", "1e", "--1",
                            "12abc", "1e999", "２０", "1e+", ".", "+.e1", "10000e99999999999"}) {
        const QString text = QString::fromUtf8(bad);
        try {
            ParseNumber(text);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.text(), QStringLiteral("“%1”不是有效的数值").arg(text));
        }
    }
}

// Messages quote a user's text by its first 40 characters, control
// characters escaped, never raw.
TEST(AppNumbers, QuotedInputIsShortAndPrintable)
{
    const struct {
        QString text, quoted;
    } cases[] = {
        {QStringLiteral("abc"), QStringLiteral("abc")},
        {QStringLiteral("a\nb\tc\rd"), QStringLiteral("a\\nb\\tc\\rd")},
        {QStringLiteral("\x1b[31m\x7f"), QStringLiteral("\\x1b[31m\\x7f")},
        {QString(41, QLatin1Char('z')), QString(40, QLatin1Char('z')) + QStringLiteral("…")},
        // A cut never splits a character outside the basic plane.
        {QString(39, QLatin1Char('z')) + QStringLiteral("😀😀"),
         QString(39, QLatin1Char('z')) + QStringLiteral("…")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QuotedInput(c.text), c.quoted) << c.text.toStdString();
    try {
        ParseNumber(QStringLiteral("1\n2"));
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("“1\\n2”不是有效的数值"));
    }
}

TEST(AppNumbers, LongTextIsNamedByItsBeginning)
{
    const QString pasted = QString(100000, QLatin1Char('x'));
    try {
        ParseNumber(pasted);
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.text(),
                  QStringLiteral("“%1…”不是有效的数值").arg(QString(40, QLatin1Char('x'))));
    }
}

TEST(AppNumbers, RoundsHalvesAwayFromZeroOnTheDecimalValue)
{
    EXPECT_EQ(FormatFixed(0.125, 2), QStringLiteral("0.13"));
    EXPECT_EQ(FormatFixed(-0.125, 2), QStringLiteral("-0.13"));
    EXPECT_EQ(FormatFixed(1.005, 2), QStringLiteral("1.01")); // 1.00499999… in binary
    EXPECT_EQ(FormatFixed(-2.5, 0), QStringLiteral("-3"));
    EXPECT_EQ(FormatFixed(2.5, 0), QStringLiteral("3"));
    EXPECT_EQ(FormatFixed(999.995, 2), QStringLiteral("1000.00"));
    EXPECT_EQ(FormatFixed(0.0049, 2), QStringLiteral("0.00"));
    EXPECT_EQ(FormatFixed(0.005, 2), QStringLiteral("0.01"));
    EXPECT_EQ(FormatFixed(1168.539594226961, 2), QStringLiteral("1168.54"));
    EXPECT_EQ(FormatFixed(1e-20, 4), QStringLiteral("0.0000"));
    EXPECT_EQ(FormatFixed(123456789.0, 1), QStringLiteral("123456789.0"));
}

TEST(AppNumbers, NeverShowsNegativeZero)
{
    EXPECT_EQ(FormatFixed(-0.001, 2), QStringLiteral("0.00"));
    EXPECT_EQ(FormatFixed(-0.0, 2), QStringLiteral("0.00"));
    EXPECT_EQ(FormatFixed(-0.4, 0), QStringLiteral("0"));
}

TEST(AppNumbers, PatternsAndReportColumns)
{
    EXPECT_EQ(FormatNumber(3.14159, QStringLiteral("0")), QStringLiteral("3"));
    EXPECT_EQ(FormatNumber(1168.54, QStringLiteral("0.0")), QStringLiteral("1168.5"));
    EXPECT_EQ(FormatNumber(1, QStringLiteral("0.0000")), QStringLiteral("1.0000"));
    EXPECT_EQ(FormatColumn(20, 10, 2), QStringLiteral("     20.00"));
    EXPECT_EQ(FormatColumn(-5.555, 10, 2), QStringLiteral("     -5.56"));
    // A longer number widens the column instead of being cut.
    EXPECT_EQ(FormatColumn(123456789.125, 10, 2), QStringLiteral("123456789.13"));
}
