// Absurd typed values in both resistance calculators: each is refused with a
// message naming its field, and neither a core nor ventacalc-cli ever shows
// a number that is not finite or too long for its column.
#include "app/DataDir.h"
#include "duct/DuctSegment.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/PipeSegment.h"
#include "shell/DataSeeds.h"
#include "support/CliRun.h"

#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

using Words = QMap<QString, QString>;

// The words of a command line "k=v k=v auto" by lower-case key.
Words WordsOf(const QString& line)
{
    Words words;
    for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words.insert(word.section(QLatin1Char('='), 0, 0).toLower(), word.section('=', 1));
    return words;
}

// The window's inputs for the words, as ventacalc-cli pipe reads them.
PipeSegmentInputs PipeInputs(const Words& w)
{
    PipeSegmentInputs in;
    in.pipeType = w.value("type");
    in.supplyTemp = w.value("t1", "95");
    in.returnTemp = w.value("t2", "70");
    in.segmentNo = "1";
    in.flowEntry = w.contains("q") ? FlowEntry::HeatLoad : FlowEntry::Flow;
    in.flow = w.contains("q") ? w.value("q") : w.value("g");
    in.sizeEntry = w.contains("dn")  ? SizeEntry::Nominal
                   : w.contains("v") ? SizeEntry::Velocity
                                     : SizeEntry::Automatic;
    in.nominal = w.value("dn");
    in.velocity = w.value("v");
    in.maxFriction = w.value("rmax", "200");
    in.length = w.value("l");
    in.fittingName = w.value("jz");
    in.fittingCount = w.value("n");
    return in;
}

DuctSegmentInputs DuctInputs(const Words& w)
{
    DuctSegmentInputs in;
    in.air = ExactTexts(AirProperties{});
    in.segmentNo = "1";
    in.flow = w.value("g");
    in.round = w.contains("dn");
    in.diameter = w.value("dn");
    in.width = w.value("w");
    in.height = w.value("h");
    in.length = w.value("l");
    in.fittingName = w.value("jz");
    in.coefficient = w.value("xi");
    in.count = w.value("n");
    return in;
}

TEST(AbsurdInputs, RefusedNamingTheFieldByCoreAndCommand)
{
    QTemporaryDir dir;
    DataDir::setOverride(dir.path());
    RegisterDataSeeds();
    DataDir::ensure();
    RecordTableStore coefficients(LocalResistanceTableDeclaration());
    coefficients.setPath(dir.filePath(LocalResistanceTableFileName));
    const PipeSegmentData data = MemorySegmentData(
        ReadPipeCatalogue(dir.filePath(PipeCatalogueFileName)), ReadLocalResistances(coefficients));
    DataDir::setOverride(QString());

    const QString pipe = "type=焊接钢管(GB3092) t1=95 t2=70 G=1 DN=25 L=10 ";
    const QString duct = "G=5000 DN=500 L=10 ";
    const struct {
        bool isPipe;
        QString words;
        const char* message; // empty: computed and stored
        bool cli;            // also run through ventacalc-cli
    } rows[] = {
        {true, pipe + "L=1e308", "管段长度不能大于100000m！", true},
        {true, pipe + "L=100000.1", "管段长度不能大于100000m！", false},
        {true, pipe + "G=1e308", "流量不能大于100000m³/h！", false},
        {true, "type=焊接钢管(GB3092) Q=1e11 DN=25 L=1", "热负荷不能大于10000000000W！", false},
        {true, pipe + "t1=-70 t2=131", "供水温度必须在0～200℃之间！", false},
        {true, pipe + "jz=闸阀 n=1.5", "局部阻力数量必须为整数！", true},
        {true, pipe + "jz=闸阀 n=1001", "局部阻力数量不能大于1000！", false},
        {true, pipe + "jz=闸阀 n=2.0", "", false},
        {true, pipe + "jz=不存在 n=2", "局部阻力系数表中没有局部阻力类型“不存在”！", true},
        {true, pipe + "jz=不存在 n=0", "", false},
        {true, "type=焊接钢管(GB3092) G=1 L=10 Rmax=0", "最大比摩阻必须大于0！", false},
        {true, "type=焊接钢管(GB3092) G=1 L=10 Rmax=-5", "最大比摩阻必须大于0！", true},
        // A flow no DN 15 carries: a friction of 10¹³ Pa/m.
        {true, "type=焊接钢管(GB3092) G=100000 DN=15 L=1", "比摩阻超出可计算的范围", true},
        {false, "G=5000 DN=1e308 L=10", "风管尺寸不能大于10000mm！", true},
        {false, "G=5000 W=1e308 H=200 L=10", "风管尺寸不能大于10000mm！", false},
        {false, duct + "L=1e308", "管段长度不能大于100000m！", true},
        {false, "G=1e308 DN=500 L=10", "风量不能大于1000000m³/h！", false},
        {false, duct + "xi=0.5 n=1.5", "局部阻力数量必须为整数！", true},
        {false, duct + "xi=1e308 n=1", "局部阻力系数不能大于1000！", false},
        {false, "G=1000000 DN=3 L=1", "比摩阻超出可计算的范围", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.words.toStdString());
        const QString message = QString::fromUtf8(row.message);
        const Words words = WordsOf(row.words);
        QString refusal;
        if (row.isPipe) {
            const PipeSegmentOutcome out = CalculatePipeSegment(PipeInputs(words), data);
            EXPECT_EQ(out.segment.has_value(), message.isEmpty());
            refusal = out.refusal;
        } else {
            const DuctSegmentOutcome out = CalculateDuctSegment(DuctInputs(words));
            EXPECT_EQ(out.segment.has_value(), message.isEmpty());
            refusal = out.refusal;
        }
        EXPECT_TRUE(message.isEmpty() ? refusal.isEmpty() : refusal.startsWith(message))
            << refusal.toStdString();
        if (!row.cli)
            continue;

        QStringList args{row.isPipe ? "pipe" : "duct"};
        for (auto it = words.begin(); it != words.end(); ++it)
            args << it.key() + "=" + it.value();
        if (row.isPipe)
            args << "--data-dir" << dir.path();
        for (const bool json : {false, true}) {
            const CliRun run = RunCli(json ? args + QStringList{"--json"} : args);
            EXPECT_EQ(run.status, 2) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
            EXPECT_EQ(run.out, QString());
            for (const char* word : {"inf", "nan"})
                EXPECT_FALSE((run.out + run.err).contains(word, Qt::CaseInsensitive));
        }
    }
}

} // namespace
