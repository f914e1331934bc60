// ventacalc-cli chart, run as scripts run it: each format written, the points
// of a point file and a treatment process drawn as the windows draw them, and
// the refusals.
#include "airtreat/TreatmentCalc.h"
#include "airtreat/TreatmentChart.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartDrawing.h"
#include "chart/PointTable.h"
#include "support/CliRun.h"
#include "support/PdfText.h"
#include "support/SvgText.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

CliRun Chart(const QStringList& args)
{
    return RunCli(QStringList{QStringLiteral("chart")} + args);
}

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ID_lib StandardLib()
{
    ID_lib lib;
    lib.AtmPressure = 101325;
    lib.PsychroCoefficient = kPsychroCoefficient;
    return lib;
}

QImage Rgb32(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(CliChart, WritesEachFormat)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("c.png")),
                  svg = dir.filePath(QStringLiteral("c.svg")),
                  pdf = dir.filePath(QStringLiteral("c.PDF"));
    for (const QStringList& args : {QStringList{"--out", png}, QStringList{"--out", svg, "--zones"},
                                    QStringList{"--pressure", "90000", "--out", pdf}}) {
        const CliRun run = Chart(args);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, QString());
    }
    // PNG at twice the picture's size unless --scale says otherwise.
    EXPECT_EQ(QImage(png).size(), QSize(1650, 1124));
    const QString svgText = SvgTexts(svg).join(QString());
    for (const char* label : {"冬季Ⅰ级", "冬季Ⅱ级", "夏季Ⅰ级", "夏季Ⅱ级"})
        EXPECT_TRUE(svgText.contains(QString::fromUtf8(label))) << label;
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_TRUE(PdfText(pdf).contains(Nfkc(QStringLiteral("大气压:90000Pa"))));

    // The bare chart at 1× is the chart window's fresh picture.
    const QString one = dir.filePath(QStringLiteral("one.png"));
    ASSERT_EQ(Chart({"--out", one, "--scale", "1"}).status, 0);
    EXPECT_EQ(Rgb32(QImage(one)), Rgb32(RenderChart(StandardLib(), QStringLiteral("101325"))));
}

// A point file's marks and names and a process's points and lines, in that
// order over the grid, as the chart window and the treatment view draw them.
TEST(CliChart, DrawsPointsAndAProcessAsTheWindowsDo)
{
    QTemporaryDir dir;
    const QString points = dir.filePath(QStringLiteral("p.DB"));
    CreateTableFile(points, PointTableDeclaration());
    std::vector<StatePoint> stored(2);
    stored[0].No = "A";
    stored[0].D = 8, stored[0].I = 40;
    stored[1].No = "B12";
    stored[1].D = 14, stored[1].I = 60;
    {
        RecordTableStore table(PointTableDeclaration());
        table.setPath(points);
        table.open();
        for (const StatePoint& p : stored)
            StorePoint(table, p);
    }
    const QByteArray before = Bytes(points);

    TreatmentInputs in;
    in.process = TreatmentProcess::PrimarySummer;
    in.tW = 34, in.tsW = 28, in.tN = 26, in.phiN = 60, in.Q = 10, in.W = 3, in.tO = 20;
    in.freshAir = 25;
    ID_lib calc = StandardLib();
    const TreatmentOutcome outcome = CalculateTreatment(calc, in);
    ASSERT_TRUE(outcome.calculation);

    ChartDisplayList expected;
    expected.reset(StandardLib(), QStringLiteral("101325"));
    expected.append([&stored](QPainter& p) {
        for (const StatePoint& point : stored)
            DrawPointMark(p, ChartGeometry::StateToPixel(point.D, point.I),
                          QString::fromStdString(point.No));
    });
    const std::vector<TreatmentChartStep> steps = TreatmentChartSteps(outcome.calculation->points);
    expected.append([&steps](QPainter& p) { DrawTreatmentChart(p, steps); });

    const QString png = dir.filePath(QStringLiteral("p.png"));
    const CliRun run =
        Chart({"--points", points, "--out", png, "--scale", "1", "--process", "1", "tW=34",
               "tsW=28", "tN=26", "phiN=60", "Q=10", "W=3", "tO=20", "ratio=25"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(Rgb32(QImage(png)), Rgb32(expected.render()));
    EXPECT_EQ(Bytes(points), before); // the point file is only read
}

// Refused words exit 2 and unreadable or unwritable files 1, each with its
// message and no file written.
TEST(CliChart, RefusesWithAMessageAndWritesNothing)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("c.svg"));
    const QString png = dir.filePath(QStringLiteral("c.png"));
    const struct {
        QStringList args;
        int status;
        const char* message;
    } rows[] = {
        {{"--out", dir.filePath(QStringLiteral("c.jpg"))}, 2, "无法识别输出文件"},
        {{"--zones"}, 2, "请用 --out 给出输出文件"},
        {{"--out", png, "--scale", "5"}, 2, "放大倍数“5”应为1到4之间的整数"},
        {{"--out", png, "--scale", "x"}, 2, "放大倍数“x”应为1到4之间的整数"},
        {{"--out", out, "--scale", "2"}, 2, "--scale 只用于PNG图片"},
        {{"--out", out, "--pressure", "abc"}, 2, "“abc”不是有效的数值"},
        {{"--out", out, "--pressure", "0"}, 2, "大气压力必须大于0！"},
        {{"--out", out, "tW=34"}, 2, "无法识别的参数: tW=34"},
        {{"--out", out, "--bogus"}, 2, "无法识别的参数: --bogus"},
        {{"--out", out, "--out", png}, 2, "选项 --out 给出了两次"},
        {{"--out"}, 2, "选项 --out 缺少值"},
        {{"--out", out, "--process", "5"}, 2, "处理过程应为1、2、3或4"},
        {{"--out", out, "--process", "1", "tW=34", "phiW=50"}, 2, "过程1不使用参数 phiW"},
        {{"--out", out, "--process", "1", "tW=34"}, 2, "请输入室外空气参数！"},
        {{"--out", out, "--points", dir.filePath(QStringLiteral("none.DB"))}, 1, "无法打开数据表"},
        {{"--out", dir.filePath(QStringLiteral("no/such/c.svg"))}, 1, "无法写入文件"},
    };
    for (const auto& row : rows) {
        const CliRun run = Chart(row.args);
        const std::string args = row.args.join(u' ').toStdString();
        EXPECT_EQ(run.status, row.status) << args << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.message))) << args << "\n"
                                                                      << run.err.toStdString();
        EXPECT_EQ(run.out, QString()) << args;
        EXPECT_FALSE(QFile::exists(out) || QFile::exists(png)) << args;
    }
}
