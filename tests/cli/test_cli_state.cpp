// ventacalc-cli state, run as scripts run it.
#include "support/CliRun.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(CliState, PrintsTheEightResultsAsTheWindowShowsThem)
{
    const CliRun r =
        RunCli({QStringLiteral("state"), QStringLiteral("t=20"), QStringLiteral("rh=50")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{"干球温度(℃): 20.00", "湿球温度(℃)： 13.88", "相对湿度(%): 50.00",
                           "含湿量(g/kg干空气): 7.26", "焓(kj/kg干空气): 38.62",
                           "露点温度(℃): 9.27", "密度(kg/m3): 1.20", "水蒸汽分压力(Pa): 1168.54"}));
    EXPECT_TRUE(r.err.isEmpty());
    // Either order gives the same state.
    EXPECT_EQ(
        RunCli({QStringLiteral("state"), QStringLiteral("rh=50"), QStringLiteral("t=20")}).out,
        r.out);
}

TEST(CliState, JsonCarriesFullPrecision)
{
    const CliRun r = RunCli({QStringLiteral("state"), QStringLiteral("t=20"),
                             QStringLiteral("rh=50"), QStringLiteral("--json")});
    EXPECT_EQ(r.status, 0);
    for (const char* key : {"\"t\": 20,", "\"ts\": 13.88", "\"rh\": 50,", "\"d\": 7.2569",
                            "\"i\": 38.61", "\"tdew\": 9.27", "\"rho\": 1.2009", "\"pv\": 1168.5"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(key))) << key << " in " << r.out.toStdString();
}

TEST(CliState, PressureOptionAndItsRefusal)
{
    const CliRun low =
        RunCli({QStringLiteral("state"), QStringLiteral("t=20"), QStringLiteral("rh=50"),
                QStringLiteral("--pressure"), QStringLiteral("90000")});
    EXPECT_EQ(low.status, 0);
    EXPECT_TRUE(low.out.contains(QStringLiteral("含湿量(g/kg干空气): 8.18")));
    const CliRun zero =
        RunCli({QStringLiteral("state"), QStringLiteral("t=20"), QStringLiteral("rh=50"),
                QStringLiteral("--pressure"), QStringLiteral("0")});
    EXPECT_EQ(zero.status, 2);
    EXPECT_EQ(zero.err.trimmed(), QStringLiteral("大气压力必须大于0！"));
}

TEST(CliState, RefusedInputExitsWithTwoAndTheWindowsMessage)
{
    CliRun r =
        RunCli({QStringLiteral("state"), QStringLiteral("t=20"), QStringLiteral("rh=100.01")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("相对湿度不能小于0或大于100％！"));
    EXPECT_TRUE(r.out.isEmpty());

    r = RunCli({QStringLiteral("state"), QStringLiteral("t=20"), QStringLiteral("rh=abc")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("rh：“abc”不是有效的数值"));

    r = RunCli({QStringLiteral("state"), QStringLiteral("ts=20"), QStringLiteral("i=50")});
    EXPECT_EQ(r.status, 2);

    // The library refuses a moisture content the dry bulb cannot hold.
    r = RunCli({QStringLiteral("state"), QStringLiteral("t=10"), QStringLiteral("d=40")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("输入数据不合理，请检查含湿量！"));
}

TEST(CliState, WarningGoesToStandardErrorWithTheResult)
{
    const CliRun r =
        RunCli({QStringLiteral("state"), QStringLiteral("t=20"), QStringLiteral("ts=25")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("湿球温度不能大于干球温度！"));
    EXPECT_TRUE(r.out.contains(QStringLiteral("湿球温度(℃)： 25.00")));
}

TEST(CliState, CsvBatchCarriesFailuresInItsErrorColumn)
{
    const CliRun r = RunCli({QStringLiteral("state"), QStringLiteral("--csv"), QStringLiteral("-")},
                            "t,rh,d\n20,50,\n30,,46\n20,abc,\n26,60,\n");
    EXPECT_EQ(r.status, 0);
    const QStringList rows = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[0], QStringLiteral("t,ts,rh,d,i,tdew,rho,pv,error"));
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("20,13.88")));
    EXPECT_TRUE(rows[1].endsWith(QLatin1Char(',')));
    EXPECT_EQ(rows[2], QStringLiteral(",,,,,,,,含湿量数据太大或太小！"));
    EXPECT_EQ(rows[3], QStringLiteral(",,,,,,,,rh：“abc”不是有效的数值"));
    EXPECT_TRUE(rows[4].startsWith(QStringLiteral("26,20.41")));
}

TEST(CliState, HelpExplainsTheCommand)
{
    const CliRun r = RunCli({QStringLiteral("state"), QStringLiteral("--help")});
    EXPECT_EQ(r.status, 0);
    for (const char* word : {"--pressure", "--json", "--csv", "ts", "error"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(word))) << word;
}
