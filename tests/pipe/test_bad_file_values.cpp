// Values read from files are held to the rules of the editors and the
// calculation that write them: a segment table, pipe.dat or JZ_pipe.DB
// holding what no editor stores is refused, naming the file, the record and
// the field, before anything is listed, written or computed with it.
#include "app/SegmentProject.h"
#include "duct/DuctProject.h"
#include "duct/DuctSegment.h"
#include "pipe/LocalResistance.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/PipeProject.h"
#include "pipe/PipeSegment.h"
#include "support/CliRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace
{

void Exec(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// A project of one sound segment, then `sql` run on its table ("records").
void PipeProject(const QString& dir, const QString& sql)
{
    WriteProjectFile(dir + "/p.gzl", PipeProjectLines({"焊接钢管(GB3092)", "95", "70"}));
    CreateTableFile(
        dir + "/p.DB", PipeSegmentTableDeclaration(),
        {{"A1", 1.0, 28.2, 25.0, 0.49, 130.0, 10.0, "闸阀", 0.5, 2.0, 1300.0, 228.0, 1528.0}});
    Exec(dir + "/p.DB", sql);
}

void DuctProject(const QString& dir, const QString& sql)
{
    WriteProjectFile(dir + "/d.dzl", DuctProjectLines(AirProperties{}));
    CreateTableFile(dir + "/d.DB", DuctSegmentTableDeclaration(),
                    {{"B1", 5000.0, "500", QVariant(), QVariant(), 7.13, 1.0, 10.0, "弯头", 0.5,
                      2.0, 10.0, 30.0, 40.0}});
    Exec(dir + "/d.DB", sql);
}

// pipe.dat of one type "试" with the sizes as given, in that order.
void Catalogue(const QString& dir, const std::vector<PipeSize>& sizes, double K = 0.2)
{
    QFile file(dir + "/pipe.dat");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(EncodePipeTypeRecord({"试", K, sizes}));
}

PipeSize Size(int DN, double De, double E)
{
    return {DN, De, E, De - 2 * E};
}

TEST(BadFileValues, RefusedNamingFileRecordAndField)
{
    const QString setAll = "UPDATE records SET G = %1, ZL_z = -%1";
    const QString velocity = "pipe type=试 G=1 v=1 L=10";
    const struct {
        const char* what;
        std::function<void(const QString&)> make;
        QString args; // @ for the directory; pipe commands use it as data directory
        int status;
        QStringList named; // what the message holds
    } rows[] = {
        {"REAL 1e999 in a pipe project",
         [&](auto& d) { PipeProject(d, setAll.arg("1e999")); },
         "pipe --project @/p.gzl",
         2,
         {"p.DB", "第1条记录", "“A1”", "流量（G）不是有效的数值"}},
        {"text 1e999 in a pipe project",
         [&](auto& d) { PipeProject(d, setAll.arg("'1e999'")); },
         "pipe --project @/p.gzl --json",
         2,
         {"p.DB", "第1条记录", "流量（G）"}},
        {"1e300 in a pipe project's workbook",
         [&](auto& d) { PipeProject(d, "UPDATE records SET L = 1e300"); },
         "pipe --project @/p.gzl --xlsx @/p.xlsx",
         2,
         {"p.DB", "管长（L）超出范围"}},
        {"a fractional count",
         [&](auto& d) { PipeProject(d, "UPDATE records SET JZ_N = 1.5"); },
         "pipe --project @/p.gzl",
         2,
         {"局阻数量（JZ_N）必须为整数"}},
        {"REAL 1e999 in a duct project",
         [&](auto& d) { DuctProject(d, "UPDATE records SET ZL_z = -1e999"); },
         "duct --project @/d.dzl --json",
         2,
         {"d.DB", "第1条记录", "“B1”", "总阻力（ZL_z）"}},
        {"a duct size of 1e999",
         [&](auto& d) { DuctProject(d, "UPDATE records SET DN = '1e999'"); },
         "duct --project @/d.dzl --xlsx @/d.xlsx",
         2,
         {"圆管管径（DN）", "“1e999”"}},
        {"pipe.dat sizes out of order",
         [](auto& d) {
             Catalogue(d, {Size(50, 60, 3.5), Size(20, 26.75, 2.75), Size(20, 26.75, 2.75),
                           Size(32, 42.25, 3.25)});
         },
         velocity,
         1,
         {"pipe.dat", "第1条记录", "第2个管径（DN20）", "从小到大"}},
        {"pipe.dat negative DN",
         [](auto& d) {
             Catalogue(d, {Size(-20, 26.75, 2.75), Size(25, 33.5, 3.25)});
         },
         velocity,
         1,
         {"pipe.dat", "第1个管径（DN-20）", "管道公称直径必须大于0"}},
        {"pipe.dat negative De",
         [](auto& d) {
             Catalogue(d, {Size(20, 26.75, 2.75), {25, -33.5, 3.25, 27}});
         },
         velocity,
         1,
         {"第2个管径（DN25）", "管道外径必须大于0"}},
        {"pipe.dat negative E",
         [](auto& d) { Catalogue(d, {Size(20, 26.75, -2.75)}); },
         velocity,
         1,
         {"第1个管径（DN20）", "管道壁厚不能小于0"}},
        {"pipe.dat negative roughness",
         [](auto& d) { Catalogue(d, {Size(20, 26.75, 2.75)}, -0.2); },
         velocity,
         1,
         {"pipe.dat", "管道粗糙度不能小于0"}},
        {"JZ_pipe.DB negative ξ",
         [](auto& d) {
             CreateLocalResistanceTable(
                 d + "/JZ_pipe.DB",
                 {{"闸阀", {1.5, 0.5, 0.5, 0.5, 0.5, 0.5}}, {"弯头", {2, 2, -1.5, 1.5, 1, 1}}});
         },
         "pipe type=焊接钢管(GB3092) G=1 DN=25 L=10 jz=弯头 n=2",
         1,
         {"JZ_pipe.DB", "第2条记录", "“弯头”", "DN25的系数不能小于0"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        row.make(dir.path());
        QStringList args = QString(row.args).replace('@', dir.path()).split(' ');
        if (args.first() == "pipe")
            args << "--data-dir" << dir.path();
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, row.status) << run.err.toStdString();
        for (const QString& part : row.named)
            EXPECT_TRUE(run.err.contains(part)) << part.toStdString() << "\n"
                                                << run.err.toStdString();
        EXPECT_EQ(run.out, QString());
        for (const char* word : {"inf", "nan"})
            EXPECT_FALSE(run.err.contains(word, Qt::CaseInsensitive)) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("p.xlsx")) ||
                     QFile::exists(dir.filePath("d.xlsx")));
    }
}

// Sizing goes by inner diameter, so the order the sizes come in does not
// change the size taken.
TEST(BadFileValues, SizingDoesNotDependOnTheSizesOrder)
{
    const std::vector<PipeSize> ascending{Size(15, 21.25, 2.75), Size(20, 26.75, 2.75),
                                          Size(25, 33.5, 3.25), Size(32, 42.25, 3.25)};
    const std::vector<PipeSize> shuffled{ascending[3], ascending[1], ascending[0], ascending[2]};
    PipeSegmentInputs in;
    in.pipeType = "试";
    in.supplyTemp = "95";
    in.returnTemp = "70";
    in.segmentNo = "1";
    in.flow = "0.5";
    in.length = "10";
    for (const SizeEntry entry : {SizeEntry::Velocity, SizeEntry::Automatic}) {
        in.sizeEntry = entry;
        in.velocity = "0.5";
        const auto DN = [&](const std::vector<PipeSize>& sizes) {
            const PipeSegmentOutcome out =
                CalculatePipeSegment(in, MemorySegmentData({{"试", 0.2, sizes}}, {}));
            EXPECT_TRUE(out.segment) << out.refusal.toStdString();
            return out.segment ? out.segment->DN : 0;
        };
        EXPECT_EQ(DN(ascending), 20);
        EXPECT_EQ(DN(shuffled), DN(ascending));
    }
}

} // namespace
