// ventacalc-cli's loops of a project, run as scripts run it: the stored
// loops and loops given on the command line, their JSON figures equal to the
// core's at full precision, the table, the workbook's sheet and refusals.
#include "app/RecordTableStore.h"
#include "app/SegmentLoops.h"
#include "app/SegmentProject.h"
#include "duct/DuctProject.h"
#include "pipe/PipeProject.h"
#include "support/CliRun.h"
#include "support/WorkbookDump.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QStringList texts(const QJsonValue& array)
{
    QStringList out;
    for (const QJsonValue& v : array.toArray())
        out << v.toString();
    return out;
}

// The JSON object against the core's figures, number for number.
void expectFigures(const QString& out, const LoopsFigures& core)
{
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
    const QJsonArray loops = o["loops"].toArray();
    ASSERT_EQ(size_t(loops.size()), core.loops.size());
    for (size_t k = 0; k < core.loops.size(); ++k) {
        const QJsonObject l = loops[qsizetype(k)].toObject();
        EXPECT_EQ(l["name"].toString(), core.loops[k].name);
        EXPECT_EQ(texts(l["segments"]), core.loops[k].segments);
        EXPECT_EQ(l["total"].toDouble(), core.loops[k].total);
        EXPECT_EQ(l["share"].toDouble(), core.loops[k].share);
        EXPECT_EQ(texts(l["missing"]), core.loops[k].missing);
    }
    EXPECT_EQ(o["most_unfavourable"].toString(), core.mostUnfavourable);
    const QJsonArray groups = o["groups"].toArray();
    ASSERT_EQ(size_t(groups.size()), core.groups.size());
    for (size_t k = 0; k < core.groups.size(); ++k) {
        const QJsonObject g = groups[qsizetype(k)].toObject();
        EXPECT_EQ(texts(g["loops"]), core.groups[k].loops);
        EXPECT_EQ(texts(g["common"]), core.groups[k].common);
        const QJsonObject differences = g["differences"].toObject();
        EXPECT_EQ(size_t(differences.size()), core.groups[k].differences.size());
        for (const LoopDifference& d : core.groups[k].differences)
            EXPECT_EQ(differences[d.loop].toDouble(), d.difference) << d.loop.toStdString();
    }
}

class CliLoopsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // Totals with every digit significant: the JSON must carry them all.
        const double totals[] = {1234.5678901234, 512.25, 301.1, 401.0000001, 349.9, 200.125};
        std::vector<std::vector<QVariant>> records;
        for (int k = 0; k < 6; ++k)
            records.push_back({QString::number(k + 1), 1.0, 0.0, 25.0, 0.5, 100.0, 10.0, QVariant(),
                               0.0, 0.0, 0.0, 0.0, totals[k]});
        for (const char* name : {"p", "q", "r"}) {
            const QString project = file(name) + QStringLiteral(".gzl");
            WriteProjectFile(project, PipeProjectLines({str("焊接钢管(GB3092)"), "95", "70"}));
            CreateTableFile(ProjectTablePath(project), PipeSegmentTableDeclaration(), records);
        }
        RecordTableStore table(PipeSegmentTableDeclaration());
        table.setPath(file("p.DB"));
        table.open();
        resistances = ResistancesOf(table.declaration(), LoadedRecords(table.records()),
                                    QStringLiteral("Pipe_No"), QStringLiteral("ZL_z"));
        stored.loops = {{"A", {"1", "2", "3"}}, {"B", {"1", "4", "5"}}};
        stored.groups = {{{"A", "B"}}};
        WriteSegmentLoops(file("p.HL"), stored);
        QFile bad(file("r.HL"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write(str("Ventacalc环路表 1\r\n环路 A\r\n").toUtf8());
    }

    QString file(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    CliRun pipe(const QStringList& args)
    {
        return RunCli(QStringList{"pipe"} << args << "--data-dir" << dir.path());
    }

    QTemporaryDir dir;
    SegmentResistances resistances;
    SegmentLoops stored;
};

} // namespace

TEST_F(CliLoopsTest, StoredAndGivenLoopsAsTheCoreComputesThem)
{
    SegmentLoops replaced = stored;
    replaced.loops[1] = {"B", {"1", "6"}};
    SegmentLoops added = stored;
    added.loops.push_back({"C", {"1", "2", "6"}});
    added.groups.push_back({{"A", "C"}});
    const struct {
        const char* name;
        QStringList args;
        SegmentLoops loops;
    } cases[] = {
        {"stored", {"--project", file("p.gzl"), "--loops", "--json"}, stored},
        {"given",
         {"--project", file("q.gzl"), "--loop", "A=1,2,3", "--loop", "B=1,4,5", "--group", "A,B",
          "--json"},
         stored},
        {"given again on the project that stores them",
         {"--project", file("p.gzl"), "--loop", "A=1,2,3", "--loop", "B=1,4,5", "--group", "A,B",
          "--json"},
         stored},
        {"given replacing a stored loop",
         {"--project", file("p.gzl"), "--loop", "B=1,6", "--json"},
         replaced},
        {"given beside the stored",
         {"--project", file("p.gzl"), "--loop", "C=1,2,6", "--group", "A,C", "--loops", "--json"},
         added},
        {"none", {"--project", file("q.gzl"), "--loops", "--json"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = pipe(c.args);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        expectFigures(run.out, ComputeLoopFigures(c.loops, resistances));
    }

    // The table: one line per loop, then one per loop of each group.
    const CliRun table = pipe({"--project", file("p.gzl"), "--loops"});
    ASSERT_EQ(table.status, 0) << table.err.toStdString();
    const QStringList lines = table.out.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 7);
    EXPECT_TRUE(lines[0].startsWith(str("环路名称  管段   管段数  总阻力(Pa)  占最大环路(%)")));
    EXPECT_EQ(lines[1], str("A         1,2,3  3       2047.9      100.0          最不利环路"));
    EXPECT_EQ(lines[2], str("B         1,4,5  3       1985.5      97.0"));
    EXPECT_EQ(lines[3], "");
    EXPECT_TRUE(lines[5].startsWith(str("A、B      1         A")));
    EXPECT_TRUE(lines[6].contains(str("7.7")));
}

TEST_F(CliLoopsTest, RefusalsAndTheWorkbooksSheet)
{
    const struct {
        const char* name;
        QStringList args;
        int status;
        const char* err;
    } cases[] = {
        {"segment not in the table",
         {"--project", file("p.gzl"), "--loop", "C=1,9"},
         2,
         "环路“C”中的管段“9”不在管段表中！"},
        {"group of an unknown loop",
         {"--project", file("p.gzl"), "--group", "A,X"},
         2,
         "并联环路“A、X”中的“X”不是已有的环路！"},
        {"loop without its segments",
         {"--project", file("p.gzl"), "--loop", "C"},
         2,
         "--loop 须为"},
        {"segment twice",
         {"--project", file("q.gzl"), "--loop", "C=1,2,1"},
         2,
         "环路“C”中管段“1”出现了两次！"},
        {"loops and a workbook",
         {"--project", file("p.gzl"), "--loops", "--xlsx", file("x.xlsx")},
         2,
         "选项 --loops 不能与 --xlsx 一起使用"},
        {"loops without a project", {"--loops"}, 2, "--project 只能与"},
        {"refused loops file",
         {"--project", file("r.gzl"), "--loops"},
         2,
         "第2行：环路“A”中没有管段！"},
        {"refused loops file, workbook",
         {"--project", file("r.gzl"), "--xlsx", file("r.xlsx")},
         2,
         "第2行"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = pipe(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.contains(str(c.err))) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(QFile::exists(file("x.xlsx")));
    EXPECT_FALSE(QFile::exists(file("r.xlsx")));
    // The segment listing does not read the loops.
    EXPECT_EQ(pipe({"--project", file("r.gzl")}).status, 0);

    // The workbook carries the stored loops and the given ones.
    const CliRun xlsx = pipe({"--project", file("p.gzl"), "--xlsx", file("p.xlsx"), "--loop",
                              "C=1,2,6", "--group", "A,C"});
    ASSERT_EQ(xlsx.status, 0) << xlsx.err.toStdString();
    const QJsonObject d = DumpWorkbook(file("p.xlsx"), 1);
    EXPECT_EQ(d["sheetNames"].toArray(), QJsonArray({"Sheet1", str("环路")}));
    EXPECT_EQ(CellText(d, "A12"), "C");
    EXPECT_EQ(CellText(d, "B12"), "1,2,6");
    EXPECT_EQ(CellText(d, "F15"), str("A、C"));
    EXPECT_EQ(d["maxRow"].toInt(), 16); // 3 loops, 2 + 2 group rows from row 10
    // Without loops the workbook has its one sheet.
    ASSERT_EQ(pipe({"--project", file("q.gzl"), "--xlsx", file("q.xlsx")}).status, 0);
    EXPECT_EQ(DumpWorkbook(file("q.xlsx"))["sheets"].toInt(), 1);

    // The duct command reads its project's loops the same way.
    WriteProjectFile(file("d.dzl"), DuctProjectLines(AirProperties{}));
    CreateTableFile(file("d.DB"), DuctSegmentTableDeclaration(),
                    {{"1", 5000.0, "500", QVariant(), QVariant(), 7.07, 1.02, 10.0, QVariant(),
                      QVariant(), QVariant(), 10.2, 0.0, 10.2},
                     {"2", 1000.0, QVariant(), "400", "200", 3.47, 0.6, 5.0, QVariant(), QVariant(),
                      QVariant(), 3.0, 0.0, 3.0}});
    SegmentLoops duct;
    duct.loops = {{"X", {"1"}}, {"Y", {"1", "2"}}};
    duct.groups = {{{"X", "Y"}}};
    WriteSegmentLoops(file("d.HL"), duct);
    const CliRun run = RunCli({"duct", "--project", file("d.dzl"), "--json"});
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.startsWith("[")); // the segments: --loops not given
    const CliRun loops = RunCli({"duct", "--project", file("d.dzl"), "--loops", "--json"});
    ASSERT_EQ(loops.status, 0) << loops.err.toStdString();
    SegmentResistances ductResistances{{"1", 10.2}, {"2", 3.0}};
    expectFigures(loops.out, ComputeLoopFigures(duct, ductResistances));
    EXPECT_EQ(RunCli({"duct", "--project", file("d.dzl"), "--loop", "Z=3"}).status, 2);
}
