// ventacalc-cli pipe, run as scripts run it, on a data directory of its own:
// the DN 25 case against the core at full precision, the shown formats, a
// batch, and refusals.
#include "pipe/PipeCatalogue.h"
#include "pipe/PipeSegment.h"
#include "support/CliRun.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class CliPipeTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    CliRun Pipe(const char* args, const QByteArray& input = {})
    {
        QStringList words{QStringLiteral("pipe")};
        words << QString::fromUtf8(args).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        words << QStringLiteral("--data-dir") << dir.path();
        return RunCli(words, input);
    }

    QTemporaryDir dir;
};

TEST_F(CliPipeTest, Dn25CaseMatchesTheCoreAndTheGrid)
{
    const char* args = "type=焊接钢管(GB3092) t1=95 t2=70 G=1.0 DN=25 L=10 jz=闸阀 n=2";
    const CliRun json = Pipe((std::string(args) + " --json").c_str());
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    // The directory was seeded by the command itself.
    EXPECT_TRUE(QFile::exists(dir.filePath("pipe.dat")));

    PipeSegmentInputs in;
    in.pipeType = "焊接钢管(GB3092)";
    in.supplyTemp = "95";
    in.returnTemp = "70";
    in.segmentNo = "1";
    in.flow = "1.0";
    in.sizeEntry = SizeEntry::Nominal;
    in.nominal = "25";
    in.length = "10";
    in.fittingName = "闸阀";
    in.fittingCount = "2";
    RecordTableStore coefficients(LocalResistanceTableDeclaration());
    coefficients.setPath(dir.filePath("JZ_pipe.DB"));
    const PipeSegmentOutcome core =
        CalculatePipeSegment(in, MemorySegmentData(ReadPipeCatalogue(dir.filePath("pipe.dat")),
                                                   ReadLocalResistances(coefficients)));
    ASSERT_TRUE(core.segment);
    const PipeSegment& s = *core.segment;
    const QJsonObject got = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(got.value("Pipe_No").toString(), "1");
    EXPECT_EQ(got.value("JZ_name").toString(), "闸阀");
    const QStringList keys = QString("G Q DN V Pm L JZ JZ_N ZL_y ZL_j ZL_z nu rho K").split(' ');
    QList<double> values;
    values << s.G << s.Q << s.DN << s.V << s.Pm << s.L << s.JZ << s.JZ_N << s.ZL_y << s.ZL_j;
    values << s.ZL_z << core.water->nu << core.water->rho << core.water->K;
    for (qsizetype k = 0; k < keys.size(); ++k) // full precision
        EXPECT_EQ(got.value(keys[k]).toDouble(), values[k]) << keys[k].toStdString();

    const CliRun plain = Pipe(args);
    ASSERT_EQ(plain.status, 0) << plain.err.toStdString();
    const QStringList lines = plain.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[0], "管段编号 1");
    EXPECT_EQ(lines[2], "热负荷kw 28.2");
    EXPECT_EQ(lines[3], "管径 25");
    EXPECT_EQ(lines[4], "流速 0.49");
    EXPECT_EQ(lines[7], "局阻名称 闸阀");
    EXPECT_EQ(lines[9], "局阻数量 2");
}

TEST_F(CliPipeTest, RefusalsExitTwoWithTheWindowsMessage)
{
    const struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"type=焊接钢管(GB3092) G=0 DN=25 L=10", "流量必须大于0！"},
        {"type=焊接钢管(GB3092) G=1 DN=65 L=10", "管道类型“焊接钢管(GB3092)”中没有DN65的管径！"},
        {"type=焊接钢管(GB3092) G=1 DN=25 auto L=10", "DN、v 和 auto 只能给出一个"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = Pipe(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.trimmed(), QString::fromUtf8(c.message));
    }
}

TEST_F(CliPipeTest, BatchRowsAndDamagedCatalogue)
{
    const CliRun batch = Pipe("--csv - --threads 2", "no,type,G,Q,DN,v,L\n"
                                                     "A,焊接钢管(GB3092),1.0,,25,,10\n"
                                                     "B,焊接钢管(GB3092),,28198,,0.5,10\n"
                                                     "C,焊接钢管(GB3092),-1,,,,10\n");
    ASSERT_EQ(batch.status, 0) << batch.err.toStdString();
    const QStringList rows = batch.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], "Pipe_No,G,Q,DN,V,Pm,L,JZ_name,JZ,JZ_N,ZL_y,ZL_j,ZL_z,nu,rho,K,error");
    EXPECT_TRUE(rows[1].startsWith("A,1,28.19")) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].startsWith("B,")) << rows[2].toStdString();
    EXPECT_TRUE(rows[2].endsWith(",")) << rows[2].toStdString();
    EXPECT_EQ(rows[3], ",,,,,,,,,,,,,,,,流量必须大于0！");

    // A damaged catalogue is a file failure: status 1, the file kept as it is.
    QFile file(dir.filePath("pipe.dat"));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("x");
    file.close();
    const qint64 size = QFileInfo(file).size();
    const CliRun damaged = Pipe("type=焊接钢管(GB3092) G=1 DN=25 L=10");
    EXPECT_EQ(damaged.status, 1);
    EXPECT_TRUE(damaged.err.contains("不是1168字节的整数倍")) << damaged.err.toStdString();
    EXPECT_EQ(QFileInfo(file).size(), size);
}

} // namespace
