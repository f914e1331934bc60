// ventacalc-cli duct, run as scripts run it: the round case against the core
// at full precision and in the grid's formats, a batch, and refusals.
#include "duct/DuctSegment.h"
#include "support/CliRun.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace
{

CliRun Duct(const char* args, const QByteArray& input = {})
{
    QStringList words{QStringLiteral("duct")};
    words << QString::fromUtf8(args).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return RunCli(words, input);
}

TEST(CliDuct, RoundCaseAsTheCoreComputesIt)
{
    DuctSegmentInputs in;
    in.air = ExactTexts(AirProperties{});
    in.segmentNo = "1";
    in.flow = "5000";
    in.round = true;
    in.diameter = "500";
    in.length = "10";
    const DuctSegment core = *CalculateDuctSegment(in).segment;

    const CliRun json = Duct("G=5000 DN=500 L=10 --json");
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(o["DN"].toString(), "500");
    EXPECT_EQ(o["W"].toString(), "");
    EXPECT_EQ(o["V"].toDouble(), core.V);
    EXPECT_EQ(o["Pm"].toDouble(), core.Pm);
    EXPECT_EQ(o["ZL_z"].toDouble(), core.ZL_z);
    EXPECT_EQ(o["K"].toDouble(), 0.15);

    const CliRun plain = Duct("G=5000 DN=500 L=10");
    ASSERT_EQ(plain.status, 0);
    const QStringList lines = plain.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[0], "管段编号 1");
    EXPECT_EQ(lines[5], "风速 7.1");

    const CliRun batch = Duct("--csv -", "G,DN,W,H,L\n5000,500,,,10\n1000,,200,200,-1\n");
    ASSERT_EQ(batch.status, 0) << batch.err.toStdString();
    const QStringList rows = batch.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[1].startsWith("1,5000,500,,,")) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].endsWith("管段长度不能小于0！")) << rows[2].toStdString();
}

TEST(CliDuct, RefusalsExitTwoWithTheWindowsMessage)
{
    const struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"G=5000 DN=2 L=10", "风管尺寸必须大于2mm！"},
        {"DN=500 L=10", "请输入风量！"},
        {"G=5000 DN=500 W=400 L=10", "DN 与 W、H 只能给出一种"},
        {"G=5000 DN=500 L=10 xi=0.5", "n：“”不是有效的数值"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = Duct(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
    }
}

} // namespace
