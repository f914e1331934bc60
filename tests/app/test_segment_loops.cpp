// Loops of a segment table: their figures worked by hand, the refusals of
// the editor and of the loops file, the file's text, a project without loops
// left byte for byte, and the workbooks' "环路" sheet read back.
#include "app/SegmentLoops.h"

#include "app/Numbers.h"
#include "app/RecordTableStore.h"
#include "app/SegmentProject.h"
#include "duct/DuctProject.h"
#include "pipe/PipeProject.h"
#include "support/WorkbookDump.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace
{

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A pipe table of six segments: each record's number and total resistance
// (ZL_z, the last field), the others zero.
std::vector<std::vector<QVariant>> pipeRecords(const std::vector<std::pair<QString, QVariant>>& s)
{
    std::vector<std::vector<QVariant>> records;
    for (const auto& [number, total] : s)
        records.push_back(
            {number, 1.0, 0.0, 25.0, 0.5, 100.0, 10.0, QVariant(), 0.0, 0.0, 0.0, 0.0, total});
    return records;
}

const std::vector<std::pair<QString, QVariant>> kSegments{
    {"1", 1000.0},
    {"2", 500.0},
    {"3", 300.0},
    {"4", 400.0},
    {"5", 350.0},
    {"6", 200.0},
    // A second record of a number: the first counts, as the table's lookups.
    {"2", 9999.0},
    // A segment not yet computed holds nothing: it adds 0.
    {"7", QVariant()}};

SegmentResistances resistancesOf(const std::vector<std::vector<QVariant>>& records)
{
    std::vector<RecordTableStore::Record> held;
    for (const auto& values : records)
        held.push_back({qint64(held.size() + 1), values});
    return ResistancesOf(PipeSegmentTableDeclaration(), LoadedRecords(held),
                         QStringLiteral("Pipe_No"), QStringLiteral("ZL_z"));
}

// A, B and C leave at segment 1; A and C share segment 2 too. D names
// segment 8, deleted from the table since it was stored.
SegmentLoops sampleLoops()
{
    SegmentLoops loops;
    loops.loops = {{"A", {"1", "2", "3"}},
                   {"B", {"1", "4", "5"}},
                   {"C", {"1", "2", "6", "7"}},
                   {"D", {"8", "1"}}};
    loops.groups = {{{"A", "B"}}, {{"C", "A"}}};
    return loops;
}

} // namespace

TEST(SegmentLoops, FiguresOfTwoGroupsWithCommonSegmentsByHand)
{
    const LoopsFigures f = ComputeLoopFigures(sampleLoops(), resistancesOf(pipeRecords(kSegments)));
    // Totals: A 1000+500+300, B 1000+400+350, C 1000+500+200+0, D 0+1000.
    const struct {
        const char* name;
        double total;
        int count;
        double share;
        bool most;
        QStringList missing;
    } loops[] = {
        {"A", 1800, 3, 1.0, true, {}},
        {"B", 1750, 3, 1750.0 / 1800, false, {}},
        {"C", 1700, 4, 1700.0 / 1800, false, {}},
        {"D", 1000, 2, 1000.0 / 1800, false, {"8"}},
    };
    ASSERT_EQ(f.loops.size(), std::size(loops));
    for (size_t k = 0; k < f.loops.size(); ++k) {
        SCOPED_TRACE(loops[k].name);
        EXPECT_EQ(f.loops[k].name, str(loops[k].name));
        EXPECT_DOUBLE_EQ(f.loops[k].total, loops[k].total);
        EXPECT_EQ(f.loops[k].count, loops[k].count);
        EXPECT_DOUBLE_EQ(f.loops[k].share, loops[k].share);
        EXPECT_EQ(f.loops[k].mostUnfavourable, loops[k].most);
        EXPECT_EQ(f.loops[k].missing, loops[k].missing);
    }
    EXPECT_EQ(f.mostUnfavourable, "A");
    EXPECT_EQ(f.limit, 0.15);

    // A,B: common 1; A 800, B 750: B (800−750)/800 = 6.25 %.
    // C,A: common 1,2 (in C's order); C 200+0, A 300: C (300−200)/300 = 33 % > 15 %.
    const struct {
        QStringList common;
        const char* largest;
        std::vector<std::tuple<const char*, double, double, bool>> differences;
        bool above;
    } groups[] = {
        {{"1"}, "A", {{"A", 800, 0, false}, {"B", 750, 0.0625, false}}, false},
        {{"1", "2"}, "A", {{"C", 200, 1.0 / 3, true}, {"A", 300, 0, false}}, true},
    };
    ASSERT_EQ(f.groups.size(), std::size(groups));
    for (size_t k = 0; k < f.groups.size(); ++k) {
        SCOPED_TRACE(k);
        const GroupFigures& g = f.groups[k];
        EXPECT_EQ(g.common, groups[k].common);
        EXPECT_EQ(g.largest, str(groups[k].largest));
        EXPECT_EQ(g.aboveLimit, groups[k].above);
        ASSERT_EQ(g.differences.size(), groups[k].differences.size());
        for (size_t j = 0; j < g.differences.size(); ++j) {
            const auto& [loop, nonCommon, difference, above] = groups[k].differences[j];
            EXPECT_EQ(g.differences[j].loop, str(loop));
            EXPECT_DOUBLE_EQ(g.differences[j].nonCommon, nonCommon);
            EXPECT_DOUBLE_EQ(g.differences[j].difference, difference);
            EXPECT_EQ(g.differences[j].aboveLimit, above);
        }
    }

    // A limit of 40 % passes C; exactly at the limit is not above it (B at 6.25 %).
    SegmentLoops loose = sampleLoops();
    loose.limit = 0.4;
    EXPECT_FALSE(
        ComputeLoopFigures(loose, resistancesOf(pipeRecords(kSegments))).groups[1].aboveLimit);
    loose.limit = 0.0625;
    EXPECT_FALSE(
        ComputeLoopFigures(loose, resistancesOf(pipeRecords(kSegments))).groups[0].aboveLimit);

    // The report: the loops, the most unfavourable marked, the missing segment
    // said, the groups' differences with the one above the limit marked.
    const QString report = LoopReportLines(f).join(QLatin1Char('\n'));
    for (const char* part : {"1800.0", "最不利环路", "管段表中已没有管段：8", "并联环路：C、A",
                             "公共管段：1,2", "33.3  超过15%", "6.3"})
        EXPECT_TRUE(report.contains(str(part))) << part;
    EXPECT_EQ(report.count(str("超过15%")), 1);
    EXPECT_EQ(report.count(str("最不利环路")), 1);

    // Without a table nothing is found; the first loop of equal totals is the most unfavourable.
    const LoopsFigures none = ComputeLoopFigures(sampleLoops(), {});
    EXPECT_EQ(none.mostUnfavourable, "A");
    EXPECT_EQ(none.loops[1].share, 0);
    EXPECT_EQ(none.groups[0].differences[1].difference, 0);
}

// Every refusal names what it refuses; the loops are left as they were.
TEST(SegmentLoops, RefusalsNameTheLoopOrGroup)
{
    const QStringList table{"1", "2", "3", "4", "5", "6"};
    SegmentLoops base;
    PutLoop(base, {"A", {"1", "2", "3"}}, table);
    PutLoop(base, {"B", {"1", "4", "5"}}, table);
    PutGroup(base, {{"A", "B"}});
    const struct {
        const char* name;
        std::function<void(SegmentLoops&)> change;
        const char* message;
    } cases[] = {
        {"not in the table",
         [&](SegmentLoops& l) {
             PutLoop(l, {"C", {"1", "9"}}, table);
         },
         "环路“C”中的管段“9”不在管段表中！"},
        {"named twice",
         [&](SegmentLoops& l) {
             PutLoop(l, {"C", {"1", "2", "1"}}, table);
         },
         "环路“C”中管段“1”出现了两次！"},
        {"empty",
         [&](SegmentLoops& l) {
             PutLoop(l, {"C", {}}, table);
         },
         "环路“C”中没有管段！"},
        {"no name",
         [&](SegmentLoops& l) {
             PutLoop(l, {"", {"1"}}, table);
         },
         "请输入环路名称！"},
        {"name too long",
         [&](SegmentLoops& l) {
             PutLoop(l, {str("供水环路一二三四五六七八九"), {"1"}}, table);
         },
         "环路名称不能超过12个字符：“供水环路一二三四五六七八九”"},
        {"name with a comma",
         [&](SegmentLoops& l) {
             PutLoop(l, {"C,D", {"1"}}, table);
         },
         "环路名称“C,D”不能含有逗号、顿号、等号或控制字符！"},
        {"name taken",
         [&](SegmentLoops& l) {
             PutLoop(l, {"B", {"6"}}, table);
         },
         "已有名为“B”的环路！"},
        {"group of an unknown loop",
         [&](SegmentLoops& l) {
             PutGroup(l, {{"A", "X"}});
         },
         "并联环路“A、X”中的“X”不是已有的环路！"},
        {"group of one loop", [&](SegmentLoops& l) { PutGroup(l, {{"A"}}); },
         "并联环路“A”至少要有两个环路！"},
        {"group naming a loop twice",
         [&](SegmentLoops& l) {
             PutGroup(l, {{"A", "B", "A"}});
         },
         "并联环路“A、B、A”中环路“A”出现了两次！"},
        {"same group again",
         [&](SegmentLoops& l) {
             PutGroup(l, {{"B", "A"}});
         },
         "已有由“B、A”组成的并联环路！"},
        {"typed list with a gap", [](SegmentLoops&) { ParseSegmentList("1,,2"); },
         "管段编号之间不能为空：“1,,2”"},
        {"limit of 100 %", [](SegmentLoops&) { ParseBalanceLimitPercent("100"); },
         "平衡限值须大于0%、小于100%！"},
        {"limit no number", [](SegmentLoops&) { ParseBalanceLimitPercent("x"); },
         "平衡限值(%)：“x”不是有效的数值"},
        {"argument without =", [](SegmentLoops&) { ParseLoopArgument("A:1,2"); },
         "--loop 须为“名称=管段编号,管段编号,…”：“A:1,2”"},
        {"given twice",
         [&](SegmentLoops& l) {
             WithGivenLoops(l, {{"C", {"1"}}, {"C", {"2"}}}, {}, table);
         },
         "环路“C”给出了两次！"},
        {"given not in the table",
         [&](SegmentLoops& l) {
             WithGivenLoops(l, {{"A", {"7"}}}, {}, table);
         },
         "环路“A”中的管段“7”不在管段表中！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SegmentLoops loops = base;
        try {
            c.change(loops);
            ADD_FAILURE() << "not refused";
        } catch (const UserError& e) {
            EXPECT_EQ(e.text(), str(c.message));
        }
        EXPECT_EQ(loops, base);
    }

    // Typed lists take Chinese separators and blanks; the limit is in percent.
    EXPECT_EQ(ParseSegmentList(str(" 1，2、 3 ,4")), QStringList({"1", "2", "3", "4"}));
    EXPECT_DOUBLE_EQ(ParseBalanceLimitPercent("12.5"), 0.125);
    EXPECT_EQ(ParseLoopArgument(str("供水=1,2")), (SegmentLoop{str("供水"), {"1", "2"}}));
}

TEST(SegmentLoops, EditingKeepsGroupsInStep)
{
    const QStringList table{"1", "2", "3", "4", "5", "6"};
    SegmentLoops loops;
    for (const SegmentLoop& loop :
         {SegmentLoop{"A", {"1", "2"}}, SegmentLoop{"B", {"1", "3"}}, SegmentLoop{"C", {"1", "4"}}})
        PutLoop(loops, loop, table);
    PutGroup(loops, {{"A", "B"}});
    PutGroup(loops, {{"A", "B", "C"}});
    // Renamed in place, its groups follow.
    PutLoop(loops, {"A2", {"1", "2", "6"}}, table, "A");
    EXPECT_EQ(loops.loops[0], (SegmentLoop{"A2", {"1", "2", "6"}}));
    EXPECT_EQ(loops.groups[1].loops, QStringList({"A2", "B", "C"}));
    // Deleting B drops the pair and leaves the group of three as a pair.
    EXPECT_EQ(RemoveLoop(loops, "B"), QStringList({str("A2、B")}));
    ASSERT_EQ(loops.groups.size(), 1u);
    EXPECT_EQ(loops.groups[0].loops, QStringList({"A2", "C"}));

    // Given loops: one of a stored name replaces it in its place, its groups
    // kept; others come after; given groups after the stored ones.
    const SegmentLoops given =
        WithGivenLoops(loops, {{"C", {"5"}}, {"E", {"6", "5"}}}, {{{"E", "C"}}}, table);
    ASSERT_EQ(given.loops.size(), 3u);
    EXPECT_EQ(given.loops[1], (SegmentLoop{"C", {"5"}}));
    EXPECT_EQ(given.loops[2].name, "E");
    ASSERT_EQ(given.groups.size(), 2u);
    EXPECT_EQ(given.groups[1].loops, QStringList({"E", "C"}));
}

TEST(SegmentLoopsFile, WrittenAsTextAndReadBackStrictly)
{
    QTemporaryDir dir;
    EXPECT_EQ(SegmentLoopsPath(dir.filePath("loop1.DB")), dir.filePath("loop1.HL"));
    EXPECT_EQ(SegmentLoopsPath("/d/ZL_pipe.DB"), "/d/ZL_pipe.HL");

    SegmentLoops loops = sampleLoops();
    loops.limit = 0.1;
    loops.loops[3].segments = {str("主干 8"), "1"}; // a space inside a number is kept
    const QByteArray expected = str("Ventacalc环路表 1\r\n限值 0.1\r\n"
                                    "环路 A\r\n管段 1\r\n管段 2\r\n管段 3\r\n"
                                    "环路 B\r\n管段 1\r\n管段 4\r\n管段 5\r\n"
                                    "环路 C\r\n管段 1\r\n管段 2\r\n管段 6\r\n管段 7\r\n"
                                    "环路 D\r\n管段 主干 8\r\n管段 1\r\n"
                                    "并联 A,B\r\n并联 C,A\r\n")
                                    .toUtf8();
    EXPECT_EQ(SegmentLoopsBytes(loops), expected);
    const QString path = dir.filePath("p.HL");
    WriteSegmentLoops(path, loops);
    EXPECT_EQ(readAll(path), expected);
    EXPECT_EQ(ReadSegmentLoops(path), loops);
    // LF line ends and a last line without one read too.
    QByteArray lf = expected;
    lf.replace("\r\n", "\n").chop(1);
    EXPECT_EQ(ParseSegmentLoops(lf, path), loops);

    // No loops: no file (an existing one is removed), and none reads as none.
    WriteSegmentLoops(path, {});
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(ReadSegmentLoops(path), SegmentLoops{});

    const QByteArray head = str("Ventacalc环路表 1\r\n").toUtf8();
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } refused[] = {
        {"empty", "", "“p.HL”不是有效的环路文件！"},
        {"another file", "1.5e-5\r\n1.2\r\n", "“p.HL”不是有效的环路文件！"},
        {"unknown line", head + "环路 A\r\n管段 1\r\nx\r\n",
         "环路文件“p.HL”第4行：无法识别的内容“x”！"},
        {"segment first", head + "管段 1\r\n",
         "环路文件“p.HL”第2行：管段须紧接在所属的环路之后给出！"},
        {"segment twice", head + "环路 A\r\n管段 1\r\n管段 1\r\n",
         "环路文件“p.HL”第4行：环路“A”中管段“1”出现了两次！"},
        {"empty loop", head + "环路 A\r\n环路 B\r\n管段 1\r\n",
         "环路文件“p.HL”第2行：环路“A”中没有管段！"},
        {"name too long", head + "环路 ABCDEFGHIJKLM\r\n",
         "环路文件“p.HL”第2行：环路名称不能超过12个字符：“ABCDEFGHIJKLM”"},
        {"name taken", head + "环路 A\r\n管段 1\r\n环路 A\r\n",
         "环路文件“p.HL”第4行：已有名为“A”的环路！"},
        {"group before its loop", head + "环路 A\r\n管段 1\r\n并联 A,B\r\n环路 B\r\n管段 2\r\n",
         "环路文件“p.HL”第4行：并联环路“A、B”中的“B”不是已有的环路！"},
        {"loop after groups",
         head + "环路 A\r\n管段 1\r\n环路 B\r\n管段 1\r\n并联 A,B\r\n环路 C\r\n",
         "环路文件“p.HL”第7行：环路须在各并联环路之前给出！"},
        {"same group", head + "环路 A\r\n管段 1\r\n环路 B\r\n管段 1\r\n并联 A,B\r\n并联 B,A\r\n",
         "环路文件“p.HL”第7行：已有由“B、A”组成的并联环路！"},
        {"limit too high", head + "限值 1\r\n",
         "环路文件“p.HL”第2行：平衡限值须大于0%、小于100%！"},
        {"limit no number", head + "限值 15%\r\n",
         "环路文件“p.HL”第2行：限值：“15%”不是有效的数值"},
        {"not UTF-8", head + "环路 \xff\r\n", "环路文件“p.HL”第2行：不是有效的UTF-8文字！"},
        {"control in a name", head + "环路 A\x1b\r\n",
         "环路文件“p.HL”第2行：环路名称“A\\x1b”不能含有逗号、顿号、等号或控制字符！"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.name);
        try {
            ParseSegmentLoops(r.bytes, "p.HL");
            ADD_FAILURE() << "not refused";
        } catch (const UserError& e) {
            EXPECT_EQ(e.text(), str(r.message));
        }
    }
}

// Opening a project without loops and saving it again (its loops and a
// workbook) leaves its files as they were and adds no loops file.
TEST(SegmentLoopsFile, ProjectWithoutLoopsUnchangedAfterOpenAndSave)
{
    QTemporaryDir dir;
    const QString project = dir.filePath("loop1.gzl");
    WriteProjectFile(project, PipeProjectLines({str("焊接钢管(GB3092)"), "95", "70"}));
    CreateTableFile(ProjectTablePath(project), PipeSegmentTableDeclaration(),
                    pipeRecords({{"1", 10.0}, {"2", 20.0}}));
    const QByteArray projectBytes = readAll(project);
    const QByteArray tableBytes = readAll(ProjectTablePath(project));

    RecordTableStore table(PipeSegmentTableDeclaration());
    table.setPath(ProjectTablePath(project));
    table.open();
    ReadProjectLines(project, PipeProjectLineCount);
    const QString loopsPath = SegmentLoopsPath(table.path());
    const SegmentLoops loops = ReadSegmentLoops(loopsPath);
    EXPECT_TRUE(loops.empty());
    WriteSegmentLoops(loopsPath, loops);
    WritePipeWorkbook(ProjectWorkbookPath(project), {}, table, loops);
    table.close();

    EXPECT_EQ(readAll(project), projectBytes);
    EXPECT_EQ(readAll(ProjectTablePath(project)), tableBytes);
    EXPECT_FALSE(QFile::exists(loopsPath));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({"loop1.DB", "loop1.gzl", "loop1.xlsx"}));
}

// The "环路" sheet after the segment sheet in both workbooks; the segment
// sheet is the same cell for cell as without loops, and without loops there
// is no second sheet.
TEST(SegmentLoopsWorkbook, SecondSheetReadBack)
{
    QTemporaryDir dir;
    const auto records = pipeRecords(kSegments);
    RecordTableStore pipe(PipeSegmentTableDeclaration());
    CreateTableFile(dir.filePath("p.DB"), PipeSegmentTableDeclaration(), records);
    pipe.setPath(dir.filePath("p.DB"));
    pipe.open();
    PipeWorkbookHeading heading;
    heading.time = "9:05:07";
    heading.projectFileName = "p.gzl";
    WritePipeWorkbook(dir.filePath("plain.xlsx"), heading, pipe);
    WritePipeWorkbook(dir.filePath("none.xlsx"), heading, pipe, SegmentLoops{});
    WritePipeWorkbook(dir.filePath("loops.xlsx"), heading, pipe, sampleLoops());

    const QJsonObject plain = DumpWorkbook(dir.filePath("plain.xlsx"));
    ASSERT_FALSE(plain.isEmpty());
    EXPECT_EQ(plain["sheets"].toInt(), 1);
    EXPECT_EQ(DumpWorkbook(dir.filePath("none.xlsx")), plain);
    const QJsonObject first = DumpWorkbook(dir.filePath("loops.xlsx"), 0);
    EXPECT_EQ(first["cells"], plain["cells"]);
    EXPECT_EQ(first["merged"], plain["merged"]);
    EXPECT_EQ(first["page"], plain["page"]);

    const QJsonObject d = DumpWorkbook(dir.filePath("loops.xlsx"), 1);
    ASSERT_FALSE(d.isEmpty());
    EXPECT_EQ(d["sheetNames"].toArray(), QJsonArray({"Sheet1", str("环路")}));
    EXPECT_EQ(d["title"].toString(), str("采暖和空调管道阻力计算结果表"));
    // Rows 1–6 the title and heading, 8–9 the column titles and units, one
    // row per loop from 10, then one per loop of each group.
    const char* const expected[][2] = {
        {"A1", "水管环路计算结果表"},
        {"A3", "计算时间： 9:05:07"},
        {"A4", "文件名:    p.gzl"},
        {"A5", "最不利环路：        A"},
        {"A6", "允许相对差额(%)：   15"},
        {"A8", "环路名称"},
        {"D8", "总阻力"},
        {"D9", "(Pa)"},
        {"I8", "相对差额"},
        {"A10", "A"},
        {"B10", "1,2,3"},
        {"C10", "3"},
        {"D10", "1800"},
        {"E10", "100"},
        {"J10", "最不利环路"},
        {"E11", "97.2"},
        {"C12", "4"},
        {"D13", "1000"},
        {"J13", "管段表中已没有管段8"},
        {"A14", "A"},
        {"F14", "A、B"},
        {"G14", "1"},
        {"H14", "800"},
        {"I14", "0"},
        {"A15", "B"},
        {"H15", "750"},
        {"I15", "6.3"},
        {"J15", ""},
        {"B15", ""},
        {"A16", "C"},
        {"F16", "C、A"},
        {"G16", "1,2"},
        {"I16", "33.3"},
        {"J16", "超过15%"},
        {"A17", "A"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(CellText(d, e[0]), str(e[1])) << e[0];
    const QJsonObject cells = d["cells"].toObject();
    EXPECT_EQ(cells["D10"]["format"].toString(), "0.0");
    EXPECT_EQ(cells["I16"]["format"].toString(), "0.0");
    EXPECT_EQ(cells["A1"]["size"].toDouble(), 16);
    EXPECT_EQ(cells["B9"]["borders"].toString(), "LR");
    EXPECT_EQ(cells["J17"]["borders"].toString(), "TLRB");
    EXPECT_EQ(cells["J17"]["font"].toString(), str("宋体"));
    EXPECT_TRUE(d["merged"].toArray().contains(QStringLiteral("A1:J1")));
    EXPECT_EQ(d["maxRow"].toInt(), 17);
    EXPECT_EQ(d["page"]["titleRows"].toString(), "$8:$9");

    // The duct workbook: its own title, its segment numbers.
    const TableDeclaration& declaration = DuctSegmentTableDeclaration();
    CreateTableFile(dir.filePath("d.DB"), declaration,
                    {{"1", 5000.0, "500", QVariant(), QVariant(), 7.07, 1.02, 10.0, QVariant(),
                      QVariant(), QVariant(), 10.2, 0.0, 10.2},
                     {"2", 1000.0, QVariant(), "400", "200", 3.47, 0.6, 5.0, QVariant(), QVariant(),
                      QVariant(), 3.0, 0.0, 3.0}});
    RecordTableStore duct(declaration);
    duct.setPath(dir.filePath("d.DB"));
    duct.open();
    SegmentLoops pair;
    pair.loops = {{"X", {"1"}}, {"Y", {"1", "2"}}};
    WriteDuctWorkbook(dir.filePath("d.xlsx"), {"9:05:07", "d.dzl", AirProperties{}}, duct, pair);
    const QJsonObject dd = DumpWorkbook(dir.filePath("d.xlsx"), 1);
    EXPECT_EQ(CellText(dd, "A1"), str("风管环路计算结果表"));
    EXPECT_EQ(CellText(dd, "A5"), str("最不利环路：        Y"));
    EXPECT_EQ(CellText(dd, "D11"), "13.2");
    EXPECT_EQ(dd["maxRow"].toInt(), 11);
}
