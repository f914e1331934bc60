// ventacalc-cli chart, run as scripts run it: each format written, the points
// of a point file and a treatment process drawn as the windows draw them, and
// the refusals.
#include "airtreat/TreatmentCalc.h"
#include "airtreat/TreatmentChart.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartExport.h"
#include "chart/PointTable.h"
#include "support/CliRun.h"
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

// Each format, by its extension; the zones' labels among the SVG's texts.
TEST(CliChart, WritesEachFormat)
{
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray start;
    } rows[] = {{"c.png", "\x89PNG"}, {"c.SVG", "<?xml"}, {"c.pdf", "%PDF"}};
    for (const auto& row : rows) {
        const QString path = dir.filePath(QString::fromUtf8(row.name));
        const CliRun run = Chart({"--out", path, "--zones"});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, QString());
        EXPECT_TRUE(Bytes(path).startsWith(row.start)) << row.name;
    }
    ChartDisplayList zoned;
    zoned.reset(StandardLib(), QStringLiteral("101325"));
    zoned.setZonesShown(true);
    EXPECT_EQ(Rgb32(QImage(dir.filePath(QStringLiteral("c.png")))),
              Rgb32(ChartImageAt(zoned, 2))); // 2×
    const QString svgText = SvgTexts(dir.filePath(QStringLiteral("c.SVG"))).join(QString());
    for (const char* label : {"冬季Ⅰ级", "冬季Ⅱ级", "夏季Ⅰ级", "夏季Ⅱ级"})
        EXPECT_TRUE(svgText.contains(QString::fromUtf8(label))) << label;
}

// A point file's marks and names and a process's points and lines, in that
// order over the grid, as the chart window and the treatment view draw them.
TEST(CliChart, DrawsPointsAndAProcessAsTheWindowsDo)
{
    QTemporaryDir dir;
    const QString points = dir.filePath(QStringLiteral("p.DB"));
    // No, T, RH, Ts, D, I, Ruo, Tv, P: only the name, D and I are drawn.
    CreateTableFile(points, PointTableDeclaration(),
                    {{"A", 0, 0, 0, 8, 40, 0, 0, 0}, {"B12", 0, 0, 0, 14, 60, 0, 0, 0}});
    std::vector<StatePoint> stored(2);
    stored[0].No = "A", stored[0].D = 8, stored[0].I = 40;
    stored[1].No = "B12", stored[1].D = 14, stored[1].I = 60;
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
    EXPECT_EQ(Rgb32(QImage(png)), Rgb32(ChartImageAt(expected, 1)));
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
        {{"--out", out, "--scale", "2"}, 2, "--scale 只用于PNG图片"},
        {{"--out", out, "--pressure", "0"}, 2, "大气压力必须大于0！"},
        // Pressures the grid cannot be drawn at: the library fails (1, 1e300,
        // 1e-300) or the humidity curves leave the frame (10000).
        {{"--out", out, "--pressure", "1"},
         2,
         "大气压力超出焓湿图的范围，应在30000～150000Pa之间！"},
        {{"--out", out, "--pressure", "1e300"}, 2, "大气压力超出焓湿图的范围"},
        {{"--out", out, "--pressure", "1e-300"}, 2, "大气压力超出焓湿图的范围"},
        {{"--out", out, "--pressure", "10000"}, 2, "大气压力超出焓湿图的范围"},
        {{"--out", out, "--pressure", "150001"}, 2, "大气压力超出焓湿图的范围"},
        {{"--out", out, "tW=34"}, 2, "无法识别的参数: tW=34"},
        {{"--out", out, "--process", "1", "tW=34", "phiW=50"}, 2, "过程1不使用参数 phiW"},
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
