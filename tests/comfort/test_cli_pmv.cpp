// ventacalc-cli pmv, run as a program: the window's figures and messages.
#include "comfort/Pmv.h"
#include "psychro/ID_lib.h"
#include "support/CliRun.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace
{

CliRun Pmv(QStringList args)
{
    args.prepend(QStringLiteral("pmv"));
    return RunCli(args);
}

QStringList Split(const char* args)
{
    return QString::fromUtf8(args).split(QLatin1Char(' '));
}

} // namespace

TEST(ComfortCli, PrintsTheWindowsFigures)
{
    const CliRun r = Pmv(Split("ta=22 tr=22 va=0.1 rh=60 activity=坐着活动 w=0 icl=0.093"));
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("预测平均投票值PMV：-0.50\n预测不满意百分数PPD:10.30\n"));
    EXPECT_EQ(r.err, QString());

    // m= instead of an activity; w and icl default to the window's texts.
    const CliRun m = Pmv(Split("ta=27 tr=27 va=0.1 rh=60 m=69.8 icl=0.0775"));
    EXPECT_EQ(m.out, QStringLiteral("预测平均投票值PMV：0.76\n预测不满意百分数PPD:17.30\n"));
    const CliRun defaults = Pmv(Split("rh=60 va=0.1 TR=22 ta=22"));
    EXPECT_EQ(defaults.out,
              QStringLiteral("预测平均投票值PMV：-0.50\n预测不满意百分数PPD:10.30\n"));
}

TEST(ComfortCli, JsonCarriesFullPrecision)
{
    const CliRun r = Pmv(Split("ta=36 tr=36 va=0.1 rh=50 activity=坐着活动 --json"));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    PmvInput in;
    in.ta = in.tr = 36;
    in.RH = 50;
    in.va = 0.1;
    in.M = 70;
    in.Icl = 0.093;
    ID_lib lib;
    const auto expected = CalculatePmv(lib, in);
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(json.value(QStringLiteral("pmv")).toDouble(), expected->PMV);
    EXPECT_EQ(json.value(QStringLiteral("ppd")).toDouble(), expected->PPD);
    EXPECT_EQ(json.size(), 2);
}

TEST(ComfortCli, RefusesWithTheWindowsMessages)
{
    const std::pair<const char*, const char*> cases[] = {
        {"ta=22 tr=22 va=0 rh=60", "空气流速必须大于0！"},
        {"ta=22 tr=22 va=0.1 rh=60 activity=跑步", "人体能量代谢率必须大于0！"},
        {"ta=22 tr=22 va=0.1 rh=60 m=0", "人体能量代谢率必须大于0！"},
        {"ta=22 tr=22 va=0.1 rh=60 icl=-0.1", "衣服热阻不能小于0！"},
        {"ta=abc tr=22 va=0.1 rh=60", "ta：“abc”不是有效的数值"},
        {"ta= tr=22 va=0.1 rh=60", "ta：“”不是有效的数值"},
        {"ta=22 tr=22 va=0.1 rh=100.5", "相对湿度不能小于0或大于100％！"},
        {"ta=22 tr=22 va=0.1 rh=-1", "相对湿度不能小于0或大于100％！"},
        // A room state the moist-air library cannot complete: its messages,
        // and no vote built on it.
        {"ta=200 tr=22 va=0.1 rh=60", "所给的水蒸汽分压力值超出计算范围！"},
        {"ta=1e300 tr=22 va=0.1 rh=60", "所给的水蒸汽分压力值超出计算范围！"},
        {"ta=-1e300 tr=22 va=0.1 rh=60", "计算失败！"},
        // Far beyond any climate: no figure, the window's failure message.
        {"ta=22 tr=1e300 va=0.1 rh=60", "计算失败！"},
        {"ta=22 tr=-1e300 va=0.1 rh=60", "计算失败！"},
        {"ta=22 tr=22 va=0.1 rh=60 m=1e300", "计算失败！"},
        {"ta=22 tr=22 va=0.1 rh=60 w=-1e300", "计算失败！"},
        {"ta=22 tr=22 va=0.1 rh=60 icl=1e300", "计算失败！"},
        {"ta=1e400 tr=22 va=0.1 rh=60", "ta：“1e400”不是有效的数值"},
    };
    for (const auto& [args, message] : cases) {
        const CliRun r = Pmv(Split(args));
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, QString()) << args;
        // Beyond the moist-air library's range its own messages come first.
        EXPECT_EQ(r.err.trimmed().split(QLatin1Char('\n')).last(), QString::fromUtf8(message))
            << args;
    }
}

TEST(ComfortCli, RefusesHugeTexts)
{
    // Each argument stays below the system's 128 KiB limit on one argument.
    const QString digits(100000, QLatin1Char('7'));
    const CliRun number = Pmv({QStringLiteral("ta=") + digits, QStringLiteral("tr=22"),
                               QStringLiteral("va=0.1"), QStringLiteral("rh=60")});
    EXPECT_EQ(number.status, 2);
    EXPECT_EQ(number.err.trimmed(), QStringLiteral("ta：“%1…”不是有效的数值").arg(digits.left(40)));
    const CliRun activity =
        Pmv({QStringLiteral("ta=22"), QStringLiteral("tr=22"), QStringLiteral("va=0.1"),
             QStringLiteral("rh=60"), QStringLiteral("activity=") + QString(30000, QChar(0x8DD1))});
    EXPECT_EQ(activity.status, 2);
    EXPECT_EQ(activity.err.trimmed(), QStringLiteral("人体能量代谢率必须大于0！"));
}

TEST(ComfortCli, RefusesBadUsage)
{
    for (const char* args :
         {"ta=22 tr=22 va=0.1", "ta=22 tr=22 va=0.1 rh=60 m=70 activity=躺着",
          "ta=22 tr=22 va=0.1 rh=60 ta=23", "ta=22 tr=22 va=0.1 rh=60 speed=1", "22 22 0.1 60"}) {
        const CliRun r = Pmv(Split(args));
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_FALSE(r.err.isEmpty()) << args;
        EXPECT_EQ(r.out, QString()) << args;
    }
    const CliRun help = Pmv({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("躺着"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--json")));
}
