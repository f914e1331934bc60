// Project files and results workbooks of the resistance calculators: the
// paths a project uses, the duct project's numbers, and both workbooks read
// back cell by cell with openpyxl.
#include "app/Numbers.h"
#include "app/RecordTableStore.h"
#include "app/ResultsWorkbook.h"
#include "app/SegmentProject.h"
#include "duct/DuctProject.h"
#include "pipe/PipeProject.h"
#include "support/CliRun.h"
#include "support/WorkbookDump.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QJsonObject cell(const QJsonObject& dump, const char* name)
{
    return dump[QStringLiteral("cells")][QString::fromLatin1(name)].toObject();
}

std::unique_ptr<RecordTableStore> openTable(const TableDeclaration& declaration,
                                            const QString& path,
                                            const std::vector<std::vector<QVariant>>& records)
{
    CreateTableFile(path, declaration, records);
    auto table = std::make_unique<RecordTableStore>(declaration);
    table->setPath(path);
    table->open();
    return table;
}

// A fitting name longer than 20 bytes in GBK: written whole.
const char* const kLongFitting = "截止阀直流式全开型号甲";

} // namespace

TEST(ProjectPaths, TableAndWorkbookBesideTheProjectFromTheFileNamesFirstDot)
{
    struct Case {
        const char* project;
        const char* table;
        const char* workbook;
        const char* name;
    } cases[] = {
        {"/calc/loop1.gzl", "/calc/loop1.DB", "/calc/loop1.xlsx", "loop1.gzl"},
        // A dot in a folder's name is not the base's end.
        {"/data.old/a.gzl", "/data.old/a.DB", "/data.old/a.xlsx", "a.gzl"},
        {"/p/loop.v1.dzl", "/p/loop.DB", "/p/loop.xlsx", "loop.v1.dzl"},
        {"/p/plain", "/p/plain.DB", "/p/plain.xlsx", "plain"},
        {"rel.gzl", "rel.DB", "rel.xlsx", "rel.gzl"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project);
        EXPECT_EQ(ProjectTablePath(str(c.project)), str(c.table));
        EXPECT_EQ(ProjectWorkbookPath(str(c.project)), str(c.workbook));
        EXPECT_EQ(ProjectFileName(str(c.project)), str(c.name));
    }
}

TEST(DuctProjectFile, NumbersWrittenInTheFixedScientificFormAndAnyDecimalReadBack)
{
    EXPECT_EQ(DuctProjectLines(AirProperties{}),
              QStringList({" 1.50600000000000E-0005", " 1.20400000000000E+0000",
                           " 1.50000000000000E-0001"}));
    EXPECT_EQ(ProjectNumberText(-2.5), "-2.50000000000000E+0000");
    EXPECT_EQ(ProjectNumberText(0), " 0.00000000000000E+0000");
    EXPECT_EQ(ProjectNumberText(12345.678), " 1.23456780000000E+0004");

    const AirProperties read =
        DuctProjectFromLines(ParseProjectLines("1.5e-5\r\n1.2\n0.1", 3, "a.dzl"));
    EXPECT_EQ(read, (AirProperties{1.5e-5, 1.2, 0.1}));
    EXPECT_EQ(DuctProjectFromLines(DuctProjectLines(read)), read);

    EXPECT_THROW(ParseProjectLines("1.5e-5\r\n1.2\r\n", 3, "a.dzl"), UserError);
    EXPECT_THROW(DuctProjectFromLines(ParseProjectLines("x\r\n1.2\r\n0.1\r\n", 3, "a.dzl")),
                 ConversionError);
    // Air the advanced dialog refuses, in the file's order ν, ρ, K.
    const struct {
        QStringList lines;
        const char* message;
    } refused[] = {
        {{"-1", "1.2", "0.1"}, "工程文件的空气运动粘滞系数必须大于0！"},
        {{"1.5e-5", "0", "0.1"}, "工程文件的空气密度必须大于0！"},
        {{"1.5e-5", "1.2", "-5"}, "工程文件的风管管壁绝对粗糙度不能小于0！"},
        {{"1.5e-5", "nan", "0.1"}, "工程文件的空气密度(kg/m³)：“nan”不是有效的数值"},
    };
    for (const auto& r : refused) {
        try {
            DuctProjectFromLines(r.lines);
            ADD_FAILURE() << r.message;
        } catch (const UserError& e) {
            EXPECT_EQ(e.text(), str(r.message));
        }
    }
    // Pipe project lines are GBK texts, an empty one included.
    EXPECT_EQ(ParseProjectLines(QByteArray("\xba\xb8\xbd\xd3\r\n\r\n70\r\n"), 3, "a.gzl"),
              QStringList({str("焊接"), "", "70"}));
}

class WorkbookTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(WorkbookTest, PipeWorkbookCellByCell)
{
    const std::vector<std::vector<QVariant>> segments{
        {"1", 1.0, 28.1984, 25.0, 0.4987, 151.43, 10.0, str(kLongFitting), 0.5, 2.0, 1514.3, 124.36,
         1638.66},
        {"2a", 0.5, 14.1, 20.0, 0.45, 160.0, 5.0, QVariant(), QVariant(), QVariant(), 800.0, 0.0,
         800.0},
    };
    struct Case {
        const char* name;
        std::vector<std::vector<QVariant>> records;
        const char* total;
    } cases[] = {{"empty", {}, "0.0"}, {"two", segments, "2438.7"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto table = openTable(PipeSegmentTableDeclaration(),
                                     path(c.name) + QStringLiteral(".DB"), c.records);
        PipeWorkbookHeading h;
        h.time = "9:05:07";
        h.projectFileName = "loop1.gzl";
        h.settings = {str("铜管"), "95", "70"};
        h.meanTemperature = 82.5;
        h.water = {0.3525e-6, 969.12345, 0.0025};
        const QString file = path(c.name) + QStringLiteral(".xlsx");
        WritePipeWorkbook(file, h, *table);
        const QJsonObject d = DumpWorkbook(file);
        ASSERT_FALSE(d.isEmpty());

        EXPECT_EQ(d["title"].toString(), str("采暖和空调管道阻力计算结果表"));
        EXPECT_EQ(CellText(d, "A1"), str("水管阻力计算结果表"));
        EXPECT_EQ(cell(d, "A1")["size"].toDouble(), 16);
        EXPECT_EQ(cell(d, "A1")["align"].toString(), "center");
        const QStringList heading{
            str("计算软件： 岚禾暖通常用计算工具软件Ventacalc3.00 "),
            str("计算时间： 9:05:07"),
            str("文件名:    loop1.gzl"),
            "",
            str("管道类型:               铜管"),
            str("供水温度(℃):           95"),
            str("回水温度(℃):           70"),
            str("平均水温(℃)：          82.50"),
            str("水的密度(kg/m3)：       969.12"),
            str("水的运动粘滞系数(m2/s)：0.0000003525"),
            str("管壁粗糙度(mm)：        0.0025"),
            str("总阻力(Pa)：            ") + c.total,
        };
        for (int r = 0; r < heading.size(); ++r) {
            const QString a = QStringLiteral("A%1").arg(r + 3);
            EXPECT_EQ(CellText(d, a.toLatin1()), heading[r]) << a.toStdString();
            EXPECT_TRUE(d["merged"].toArray().contains(QStringLiteral("A%1:M%1").arg(r + 3)));
        }
        EXPECT_TRUE(d["merged"].toArray().contains(QStringLiteral("A1:M1")));
        EXPECT_EQ(cell(d, "A3")["align"].toString(), "left");

        EXPECT_EQ(CellText(d, "A17") + "|" + CellText(d, "E17") + "|" + CellText(d, "M17"),
                  str("管段编号|流速 |总阻力"));
        EXPECT_EQ(CellText(d, "C18") + "|" + CellText(d, "H18"), str("(Kw)|"));
        EXPECT_EQ(cell(d, "B17")["borders"].toString(), "TLR");
        EXPECT_EQ(cell(d, "B18")["borders"].toString(), "LR");
        EXPECT_EQ(cell(d, "B18")["align"].toString(), "center");
        EXPECT_EQ(d["maxRow"].toInt(), 18 + int(c.records.size()));
    }

    // The second workbook's data: numbers as their columns show them, texts
    // whole, nothing for a field holding nothing, every cell bordered.
    const QJsonObject d = DumpWorkbook(path("two") + QStringLiteral(".xlsx"));
    const char* const expected[][4] = {
        {"A19", "1", "General", ""},
        {"B19", "1", "0.0", ""},
        {"C19", "28.2", "0.0", ""},
        {"D19", "25", "0", ""},
        {"E19", "0.5", "0.00", ""},
        {"F19", "151.4", "0.0", ""},
        {"H19", kLongFitting, "General", ""},
        {"I19", "0.5", "0.0", ""},
        {"J19", "2", "0", ""},
        {"L19", "124.4", "0.0", ""},
        {"M19", "1638.7", "0.0", ""},
        {"A20", "2a", "General", ""},
        {"H20", "", "General", ""},
        {"I20", "", "General", ""},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e[0]);
        EXPECT_EQ(CellText(d, e[0]), str(e[1]));
        EXPECT_EQ(cell(d, e[0])["format"].toString(), e[2]);
        EXPECT_EQ(cell(d, e[0])["borders"].toString(), "TLRB");
        EXPECT_EQ(cell(d, e[0])["align"].toString(), "center");
    }
    // Columns fit their widest text, a CJK character counting two.
    EXPECT_GE(d["widths"]["H"].toDouble(), 22);
    EXPECT_LT(d["widths"]["D"].toDouble(), d["widths"]["H"].toDouble());
}

TEST_F(WorkbookTest, DuctWorkbookRoundAndRectangularSegments)
{
    const auto table = openTable(DuctSegmentTableDeclaration(), path("duct.DB"),
                                 {{"1", 5000.0, "500", QVariant(), QVariant(), 7.07, 1.02, 10.0,
                                   str(kLongFitting), 0.25, 2.0, 10.2, 15.05, 25.25},
                                  {"2", 1000.0, QVariant(), "400", "200", 3.47, 0.6, 5.0,
                                   QVariant(), QVariant(), QVariant(), 3.0, 0.0, 3.0}});
    const QString file = path("duct.xlsx");
    WriteDuctWorkbook(file, {"09:05:07", QString(), AirProperties{}}, *table);
    const QJsonObject d = DumpWorkbook(file);
    ASSERT_FALSE(d.isEmpty());
    const char* const expected[][2] = {
        {"A1", "风管阻力计算结果表"},
        {"A3", "计算软件： 风管阻力计算软件 "},
        {"A4", "计算时间： 09:05:07"},
        {"A5", "文件名:    "},
        {"A6", "密度(kg/m3)：       1.20"},
        {"A7", "运动粘滞系数(m2/s)：0.0000150600"},
        {"A8", "管壁粗糙度(mm)：    0.150"},
        {"A9", "总阻力(Pa)：        28.3"},
        {"C12", "圆管管径"},
        {"N13", "(Pa)"},
        {"B14", "5000"},
        {"C14", "500"},
        {"D14", ""},
        {"E14", ""},
        {"I14", kLongFitting},
        {"J14", "0.3"},
        {"C15", ""},
        {"D15", "400"},
        {"E15", "200"},
        {"F15", "3.5"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(CellText(d, e[0]), str(e[1])) << e[0];
    EXPECT_TRUE(d["merged"].toArray().contains(QStringLiteral("A1:N1")));
    EXPECT_TRUE(d["merged"].toArray().contains(QStringLiteral("A9:N9")));
    EXPECT_EQ(cell(d, "N12")["borders"].toString(), "TLR");
    EXPECT_EQ(cell(d, "N15")["borders"].toString(), "TLRB");
    EXPECT_EQ(d["maxRow"].toInt(), 15);
}

// Both workbooks print one page wide on A4 landscape with their column titles
// and units on every page and the page numbers in the footer, and every cell,
// filled or empty, is in 宋体.
TEST_F(WorkbookTest, PrintedPageAndFontOfBothWorkbooks)
{
    const std::vector<QVariant> pipeSegment{"1",    1.0, 28.2, 25.0,   0.5,   151.4, 10.0,
                                            "弯头", 0.5, 2.0,  1514.3, 124.4, 1638.7};
    const std::vector<QVariant> ductSegment{"1",        5000.0, "500", QVariant(), QVariant(),
                                            7.07,       1.02,   10.0,  QVariant(), QVariant(),
                                            QVariant(), 10.2,   0.0,   10.2};
    struct Case {
        const char* name;
        TableDeclaration declaration;
        std::vector<QVariant> segment;
        int segments;
        const char* title;
        const char* titleRows;
        const char* lastColumn;
        void (*write)(const QString&, const RecordTableStore&);
    } cases[] = {
        {"pipe", PipeSegmentTableDeclaration(), pipeSegment, 60, "水管阻力计算结果表", "$17:$18",
         "M",
         [](const QString& file, const RecordTableStore& table) {
             WritePipeWorkbook(file, PipeWorkbookHeading{"9:05:07", "a.gzl", {}, 82.5, {}}, table);
         }},
        {"duct", DuctSegmentTableDeclaration(), ductSegment, 2, "风管阻力计算结果表", "$12:$13",
         "N",
         [](const QString& file, const RecordTableStore& table) {
             WriteDuctWorkbook(file, {"9:05:07", "a.dzl", AirProperties{}}, table);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto table =
            openTable(c.declaration, path(c.name) + QStringLiteral(".DB"),
                      std::vector<std::vector<QVariant>>(size_t(c.segments), c.segment));
        const QString file = path(c.name) + QStringLiteral(".xlsx");
        c.write(file, *table);
        const QJsonObject d = DumpWorkbook(file);
        ASSERT_FALSE(d.isEmpty());

        const QJsonObject page = d["page"].toObject();
        EXPECT_EQ(page["orientation"].toString(), "landscape");
        EXPECT_EQ(page["paper"].toInt(), 9); // A4
        EXPECT_TRUE(page["fitToPage"].toBool());
        EXPECT_EQ(page["fitToWidth"].toInt(), 1);
        EXPECT_EQ(page["fitToHeight"].toInt(), 0); // as many pages tall as needed
        EXPECT_EQ(page["titleRows"].toString(), c.titleRows);
        const QJsonObject footer = page["footer"].toObject();
        EXPECT_EQ(footer["left"]["text"].toString(), str(c.title));
        EXPECT_EQ(footer["right"]["text"].toString(), str("第 &P 页，共 &N 页"));
        EXPECT_EQ(footer["left"]["font"].toString(), str("宋体,Regular"));
        EXPECT_EQ(footer["right"]["font"].toString(), str("宋体,Regular"));
        // The footer sits in the bottom margin, below the table's last row.
        const QJsonObject margins = page["margins"].toObject();
        EXPECT_LT(margins["footer"].toDouble() + 0.2, margins["bottom"].toDouble());
        EXPECT_GE(margins["left"].toDouble(), 0.4);

        // Every written cell in 宋体, the title in 16 points and the rest in
        // the default 11; the cells of the columns that hold nothing as well.
        const QJsonObject cells = d["cells"].toObject();
        EXPECT_GT(cells.size(), 13 * c.segments);
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            SCOPED_TRACE(it.key().toStdString());
            EXPECT_EQ(it.value().toObject()["font"].toString(), str("宋体"));
            EXPECT_EQ(it.value().toObject()["size"].toDouble(), it.key() == "A1" ? 16 : 11);
        }
        const QJsonObject columnFonts = d["columnFonts"].toObject();
        for (char column = 'A'; column <= c.lastColumn[0]; ++column)
            EXPECT_EQ(columnFonts[QString(QLatin1Char(column))].toString(), str("宋体")) << column;
    }
}

// A workbook that cannot be built (a text longer than a cell holds) leaves
// the file that was there.
TEST_F(WorkbookTest, FailedWriteKeepsTheOldWorkbook)
{
    const TableDeclaration declaration{{TextColumn("Note", 40000, "Note", 10)}};
    const auto table = openTable(declaration, path("n.DB"), {{QString(33000, QLatin1Char('x'))}});
    const QString file = path("n.xlsx");
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old workbook");
    }
    const WorkbookLayout layout{
        .title = "T", .headings = {}, .titleRow = 4, .columns = {{"Note", {}, "Note", {}}}};
    EXPECT_THROW(WriteResultsWorkbook(file, layout, {}, declaration, table->records()), UserError);
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old workbook");
}

// ventacalc-cli's --project: the segments like the grid or as JSON, and its
// refusals (2) and unreadable files (1). The workbook itself is compared with
// the window's in the window test.
TEST_F(WorkbookTest, ProjectCommandListsOrRefuses)
{
    WriteProjectFile(path("a.dzl"), DuctProjectLines(AirProperties{}));
    CreateTableFile(path("a.DB"), DuctSegmentTableDeclaration(),
                    {{"1", 5000.0, "500", QVariant(), QVariant(), 7.07, 1.02, 10.0, QVariant(),
                      QVariant(), QVariant(), 10.2, 0.0, 10.2},
                     {"主干管12", 12345.678, QVariant(), "1250", "800", 3.43, 0.125, 123.45, "弯头",
                      0.35, 2.0, 15.4, 4.9, 20.3}});
    WriteProjectFile(path("e.dzl"), DuctProjectLines(AirProperties{}));
    CreateTableFile(path("e.DB"), DuctSegmentTableDeclaration());
    WriteProjectFile(path("b.dzl"), {"1", "x", "1"});
    WriteProjectFile(path("c.dzl"), {"1", "1"});
    WriteProjectFile(path("d.dzl"), {"1.5e-5", "1.2", "-5"});
    struct Case {
        QStringList args;
        int status;
        QString out; // the start of standard output (the whole of a listing)
        QString err; // the start of standard error
    } cases[] = {
        // Every column as wide as its widest value in any row.
        {{"--project", path("a.dzl")},
         0,
         str("管段编号  风量   圆管管径  宽度  高度  风速  比摩阻  管长   局阻名称  局阻系数  "
             "局阻数量  沿程阻力  局部阻力  总阻力\n"
             "1         5000   500                   7.1   1.02    10.0                      "
             "           10.2      0.0       10.2\n"
             "主干管12  12346            1250  800   3.4   0.13    123.5  弯头      0.35      2"
             "         15.4      4.9       20.3\n"),
         {}},
        {{"--project", path("a.dzl"), "--json"},
         0,
         str(R"([{"Duct_No": "1", "G": 5000, "DN": "500", "W": null, "H": null, "V": 7.07, )"
             R"("Pm": 1.02, "L": 10, "JZ_name": null, "JZ_K": null, "JZ_N": null, "ZL_y": 10.2, )"
             R"("ZL_j": 0, "ZL_z": 10.2},)"
             "\n"
             R"( {"Duct_No": "主干管12", "G": 12345.678, "DN": null, "W": "1250", "H": "800", )"
             R"("V": 3.43, "Pm": 0.125, "L": 123.45, "JZ_name": "弯头", "JZ_K": 0.35, )"
             R"("JZ_N": 2, "ZL_y": 15.4, "ZL_j": 4.9, "ZL_z": 20.3}])"
             "\n"),
         {}},
        {{"--project", path("e.dzl")},
         0,
         str("管段编号  风量  圆管管径  宽度  高度  风速  比摩阻  管长  局阻名称  局阻系数  "
             "局阻数量  沿程阻力  局部阻力  总阻力\n"),
         {}},
        {{"--project", path("e.dzl"), "--json"}, 0, str("[]\n"), {}},
        {{"--project", path("b.dzl"), "--xlsx", path("b.xlsx")},
         2,
         {},
         str("工程文件的空气密度(kg/m³)：“x”不是有效的数值")},
        {{"--project", path("c.dzl")}, 2, {}, str("“") + path("c.dzl")},
        {{"--project", path("d.dzl"), "--xlsx", path("d.xlsx")},
         2,
         {},
         str("工程文件的风管管壁绝对粗糙度不能小于0！")},
        {{"--project", path("none.dzl")}, 1, {}, str("无法读取工程文件")},
        {{"--project", path("a.dzl"), "G=1"}, 2, {}, str("--project 只能")},
        {{"--project", path("a.dzl"), "--xlsx", path("missing/a.xlsx")}, 1, {}, str("无法写入")},
        // The project's own files are no workbook; a device stays a device.
        {{"--project", path("a.dzl"), "--xlsx", path("a.DB")}, 2, {}, str("“") + path("a.DB")},
        {{"--project", path("a.dzl"), "--xlsx", path("a.dzl")}, 2, {}, str("“") + path("a.dzl")},
        {{"--project", path("a.dzl"), "--xlsx", "/dev/null"},
         1,
         {},
         str("无法写入文件“/dev/null”，文件未保存：这是一个设备文件")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun run = RunCli(QStringList{"duct"} + c.args);
        EXPECT_EQ(run.status, c.status);
        if (c.status == 0)
            EXPECT_EQ(run.out, c.out);
        else
            EXPECT_TRUE(run.out.startsWith(c.out)) << run.out.toStdString();
        EXPECT_TRUE(run.err.startsWith(c.err)) << run.err.toStdString();
        if (c.status != 0) {
            EXPECT_EQ(run.out, QString());
        }
    }
    // The refused outputs are untouched.
    RecordTableStore table(DuctSegmentTableDeclaration());
    table.setPath(path("a.DB"));
    ASSERT_NO_THROW(table.open());
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_NO_THROW(ReadProjectLines(path("a.dzl"), 3));
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/null")).exists() &&
                !QFileInfo(QStringLiteral("/dev/null")).isFile());
}

// A table too large to hold is read record by record: a bad record deep in
// it is refused as in a small table, before anything is printed or written;
// an old workbook stays as it was and no temporary file is left.
TEST_F(WorkbookTest, BadRecordDeepInALargeTableIsRefusedBeforeAnyOutput)
{
    constexpr int kRecords = 20000;
    constexpr size_t kBad = 15000; // the 15001st record
    std::vector<std::vector<QVariant>> pipe, duct;
    for (int i = 0; i < kRecords; ++i) {
        pipe.push_back({QString::number(i + 1), 1.0, 28.2, 25.0, 0.49, 130.0, 10.0, str("闸阀"),
                        0.5, 2.0, 1300.0, 228.0, 1528.0});
        duct.push_back({QString::number(i + 1), 5000.0, "500", QVariant(), QVariant(), 7.13, 1.0,
                        10.0, str("弯头"), 0.5, 2.0, 10.0, 30.0, 40.0});
    }
    pipe[kBad][6] = 1e300;   // L
    duct[kBad][2] = "1e999"; // DN
    WriteProjectFile(path("p.gzl"), PipeProjectLines({str("焊接钢管(GB3092)"), "95", "70"}));
    CreateTableFile(path("p.DB"), PipeSegmentTableDeclaration(), pipe);
    WriteProjectFile(path("d.dzl"), DuctProjectLines(AirProperties{}));
    CreateTableFile(path("d.DB"), DuctSegmentTableDeclaration(), duct);
    {
        QFile old(path("old.xlsx"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old workbook");
    }
    const QStringList pipeArgs{"pipe", "--project", path("p.gzl"), "--data-dir", path("data")};
    const QStringList ductArgs{"duct", "--project", path("d.dzl")};
    const QString pipeFault = str("管长（L）超出范围");
    const QString ductFault = str("圆管管径（DN）“1e999”");
    const struct {
        QStringList args;
        QString fault;
    } cases[] = {
        {pipeArgs, pipeFault},
        {pipeArgs + QStringList{"--json"}, pipeFault},
        {pipeArgs + QStringList{"--xlsx", path("old.xlsx")}, pipeFault},
        {ductArgs, ductFault},
        {ductArgs + QStringList{"--json"}, ductFault},
        {ductArgs + QStringList{"--xlsx", path("old.xlsx")}, ductFault},
    };
    const auto files = [&] {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    };
    const QStringList filesBefore = files();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, QString());
        for (const QString& part : {str("第15001条记录（管段编号“15001”）"), c.fault})
            EXPECT_TRUE(run.err.contains(part)) << run.err.toStdString();
        QFile old(path("old.xlsx"));
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "old workbook");
        EXPECT_EQ(files(), filesBefore);
    }
}
