// ventacalc-cli convert, run as a program: every unit of the page as the
// window shows it.
#include "convert/UnitTables.h"

#include "support/CliRun.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace
{

CliRun Convert(QStringList args)
{
    args.prepend(QStringLiteral("convert"));
    return RunCli(args);
}

// Output lines as (caption, value) pairs.
QList<QPair<QString, QString>> Rows(const QString& out)
{
    QList<QPair<QString, QString>> rows;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        rows.append({parts.value(0), parts.value(1)});
    }
    return rows;
}

} // namespace

TEST(ConvertCli, PrintsEveryUnitOfThePage)
{
    const CliRun r = Convert({QStringLiteral("1"), QStringLiteral("atm")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QPair<QString, QString>> expected{
        {QStringLiteral("Pa"), QStringLiteral("101325.0000")},
        {QStringLiteral("MPa"), QStringLiteral("0.1013")},
        {QStringLiteral("kgf/cm²"), QStringLiteral("1.0332")},
        {QStringLiteral("mmH₂O"), QStringLiteral("10332.2218")},
        {QStringLiteral("mmHg"), QStringLiteral("760.0021")},
        {QStringLiteral("inH₂O"), QStringLiteral("406.7823")},
        {QStringLiteral("bar"), QStringLiteral("1.0133")},
        {QStringLiteral("atm"), QStringLiteral("1.0000")},
        {QStringLiteral("lbf/in²"), QStringLiteral("14.6959")},
    };
    EXPECT_EQ(Rows(r.out), expected);

    const CliRun own = Convert({QStringLiteral("100000"), QStringLiteral("mmhg")});
    ASSERT_EQ(own.status, 0);
    EXPECT_EQ(Rows(own.out).value(4),
              qMakePair(QStringLiteral("mmHg"), QStringLiteral("100000.0000")));
    const CliRun water = Convert({QStringLiteral("1000000"), QStringLiteral("mmH2O")});
    EXPECT_EQ(Rows(water.out).value(3),
              qMakePair(QStringLiteral("mmH₂O"), QStringLiteral("1000000.0000")));
    const CliRun negative = Convert({QStringLiteral("-1"), QStringLiteral("mile")});
    EXPECT_EQ(Rows(negative.out).value(0),
              qMakePair(QStringLiteral("m"), QStringLiteral("-1609.3440")));
    // Values near the top of the range still convert when every result fits.
    const CliRun huge = Convert({QStringLiteral("-1e300"), QStringLiteral("t")});
    ASSERT_EQ(huge.status, 0) << huge.err.toStdString();
    EXPECT_EQ(Rows(huge.out).value(3),
              qMakePair(QStringLiteral("t"), QStringLiteral("-1") + QString(300, QLatin1Char('0')) +
                                                 QStringLiteral(".0000")));
}

TEST(ConvertCli, JsonIsKeyedByCaption)
{
    const CliRun r =
        Convert({QStringLiteral("1"), QStringLiteral("U.S.RT"), QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    // Every unit of the page, each exactly the double the window formats.
    const ConversionPage& power = ConversionPages()[kFirstShownPage];
    const std::vector<double> values = ConvertToAllUnits(power, 6, 1);
    ASSERT_EQ(json.size(), qsizetype(power.units.size()));
    for (size_t u = 0; u < values.size(); ++u)
        EXPECT_EQ(json.value(power.units[u].displayName()).toDouble(), values[u])
            << power.units[u].plainName().toStdString();
    EXPECT_NEAR(json.value(QStringLiteral("Btu/h")).toDouble(), 11999.0106, 5e-5);
}

TEST(ConvertCli, RefusesWithTheWindowsMessages)
{
    const std::pair<QStringList, QString> cases[] = {
        {{QString(), QStringLiteral("atm")}, QStringLiteral("请输入要换算的数据")},
        {{QStringLiteral("1,5"), QStringLiteral("atm")},
         QStringLiteral("数值：“1,5”不是有效的数值")},
        {{QStringLiteral("abc"), QStringLiteral("bar")},
         QStringLiteral("数值：“abc”不是有效的数值")},
        {{QStringLiteral("1e400"), QStringLiteral("bar")},
         QStringLiteral("数值：“1e400”不是有效的数值")},
        // kg/m³ would be 2.8e312: beyond a double, text and JSON alike.
        {{QStringLiteral("1e308"), QStringLiteral("lb/in3")}, ConversionOutOfRangeText},
        {{QStringLiteral("-1e308"), QStringLiteral("lb/in3"), QStringLiteral("--json")},
         ConversionOutOfRangeText},
        {{QString(100000, QLatin1Char('x')), QStringLiteral("atm")},
         QStringLiteral("数值：“%1…”不是有效的数值").arg(QString(40, QLatin1Char('x')))},
    };
    for (const auto& [args, message] : cases) {
        const CliRun r = Convert(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.out, QString());
        EXPECT_EQ(r.err.trimmed(), message);
    }
    for (const QStringList& args :
         {QStringList{QStringLiteral("1"), QStringLiteral("furlong")},
          QStringList{QStringLiteral("1")},
          QStringList{QStringLiteral("1"), QStringLiteral("atm"), QStringLiteral("bar")},
          QStringList{QStringLiteral("1"), QStringLiteral("atm"), QStringLiteral("--xml")}}) {
        const CliRun r = Convert(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_EQ(r.out, QString());
    }
}
