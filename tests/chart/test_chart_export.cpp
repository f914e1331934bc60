// The chart's display list and its files: the list drawn again gives the
// picture it recorded, and PNG, SVG and PDF files hold that picture (read
// back as an image, parsed as XML, measured with pdfinfo).
#include "app/Numbers.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartExport.h"
#include "chart/ComfortZones.h"
#include "support/PdfText.h"
#include "support/SvgText.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// Text needs a QGuiApplication: test_chart_drawing.cpp's environment makes
// one for the whole core test binary.

ID_lib LibAt(double pressure)
{
    ID_lib lib;
    lib.AtmPressure = pressure;
    lib.PsychroCoefficient = 0.0006725;
    return lib;
}

// The grid at 101325 Pa with two named points and a line between them.
ChartDisplayList TwoPointList()
{
    ChartDisplayList list;
    list.reset(LibAt(101325), QStringLiteral("101325"));
    const QPoint a = ChartGeometry::StateToPixel(10, 50), b = ChartGeometry::StateToPixel(15, 60);
    list.append([a](QPainter& p) { DrawPointMark(p, a, QStringLiteral("AB")); });
    list.append([b](QPainter& p) { DrawPointMark(p, b, QStringLiteral("CD")); });
    list.append([a, b](QPainter& p) { DrawChartLine(p, a, b); });
    return list;
}

QImage Rgb32(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

QString PdfInfo(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST(ChartDisplayList, BareListIsTheGridWithoutZones)
{
    ChartDisplayList list;
    EXPECT_FALSE(list.zonesShown());
    EXPECT_EQ(Rgb32(list.render()).pixel(300, 200), 0xffffffffu); // white before reset
    list.reset(LibAt(90000), QStringLiteral("90000"));
    EXPECT_EQ(Rgb32(list.render()), Rgb32(RenderChart(LibAt(90000), QStringLiteral("90000"))));
    EXPECT_EQ(Rgb32(list.render(2)), Rgb32(RenderChart(LibAt(90000), QStringLiteral("90000"), 2)));

    // Zones on change the picture; off again gives it back pixel for pixel.
    list.setZonesShown(true);
    EXPECT_NE(Rgb32(list.render()), Rgb32(RenderChart(LibAt(90000), QStringLiteral("90000"))));
    list.setZonesShown(false);
    EXPECT_EQ(Rgb32(list.render()), Rgb32(RenderChart(LibAt(90000), QStringLiteral("90000"))));
}

TEST(ChartDisplayList, StepsAreDrawnInOrderAndResetStartsAfresh)
{
    ChartDisplayList list = TwoPointList();
    EXPECT_EQ(list.stepCount(), 3u);
    QImage expected = RenderChart(LibAt(101325), QStringLiteral("101325"));
    {
        QPainter p(&expected);
        const QPoint a = ChartGeometry::StateToPixel(10, 50),
                     b = ChartGeometry::StateToPixel(15, 60);
        DrawPointMark(p, a, QStringLiteral("AB"));
        DrawPointMark(p, b, QStringLiteral("CD"));
        DrawChartLine(p, a, b);
    }
    EXPECT_EQ(Rgb32(list.render()), Rgb32(expected));

    list.reset(LibAt(101325), QStringLiteral("101325"));
    EXPECT_EQ(list.stepCount(), 0u);
    EXPECT_EQ(Rgb32(list.render()), Rgb32(RenderChart(LibAt(101325), QStringLiteral("101325"))));
}

TEST(ChartExport, FormatComesFromTheExtensionInAnyCase)
{
    const struct {
        const char* path;
        std::optional<ChartFileFormat> format;
    } rows[] = {{"a.png", ChartFileFormat::Png}, {"/x/B.PNG", ChartFileFormat::Png},
                {"c.svg", ChartFileFormat::Svg}, {"d.Pdf", ChartFileFormat::Pdf},
                {"e.jpg", std::nullopt},         {"f", std::nullopt},
                {"g.png.txt", std::nullopt},     {"svg", std::nullopt}};
    for (const auto& row : rows)
        EXPECT_EQ(ChartFileFormatOf(QString::fromUtf8(row.path)), row.format) << row.path;
}

// Each format written whole: PNG at every scale, SVG with one <text> per
// label (the points' names among them), a one-page PDF of the picture's size
// with its text as text. Nothing but the file is left in the folder.
TEST(ChartExport, EachFormatHoldsThePicture)
{
    QTemporaryDir dir;
    const ChartDisplayList list = TwoPointList();
    ChartDisplayList bare;
    bare.reset(LibAt(101325), QStringLiteral("101325"));

    for (int scale = kLeastPngScale; scale <= kGreatestPngScale; ++scale) {
        const QString png = dir.filePath(QStringLiteral("c%1.png").arg(scale));
        WriteChartFile(png, list, ChartFileFormat::Png, scale);
        const QImage read(png);
        EXPECT_EQ(read.size(), QSize(825 * scale, 562 * scale)) << scale;
        EXPECT_EQ(Rgb32(read), Rgb32(list.render(scale))) << scale;
    }

    const QString svg = dir.filePath(QStringLiteral("c.svg"));
    const QString bareSvg = dir.filePath(QStringLiteral("bare.svg"));
    WriteChartFile(svg, list, ChartFileFormat::Svg);
    WriteChartFile(bareSvg, bare, ChartFileFormat::Svg);
    const QStringList texts = SvgTexts(svg), bareTexts = SvgTexts(bareSvg);
    // Qt writes a label in runs of one font each: "大气压:101325" and "Pa".
    const QString joined = bareTexts.join(QString());
    EXPECT_TRUE(joined.contains(QStringLiteral("湿空气焓湿图大气压:101325Pa")))
        << joined.toStdString();
    const QStringList names{QStringLiteral("AB"), QStringLiteral("CD")};
    EXPECT_EQ(texts, bareTexts + names);

    const QString pdf = dir.filePath(QStringLiteral("c.pdf"));
    WriteChartFile(pdf, list, ChartFileFormat::Pdf);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    // 825 × 562 pixels at 96 per inch: 618.75 × 421.5 points.
    const QString info = PdfInfo(pdf);
    EXPECT_TRUE(info.contains(QRegularExpression(
        QStringLiteral("Page size:\\s+61[89](\\.\\d+)? x 42[12](\\.\\d+)? pts"))))
        << info.toStdString();
    const QString text = PdfText(pdf);
    for (const QString& word :
         {QStringLiteral("湿空气焓湿图"), QStringLiteral("AB"), QStringLiteral("CD")})
        EXPECT_TRUE(text.contains(Nfkc(word))) << word.toStdString();

    QStringList expected{QStringLiteral("bare.svg"), QStringLiteral("c.pdf"),
                         QStringLiteral("c.svg")};
    for (int scale = kLeastPngScale; scale <= kGreatestPngScale; ++scale)
        expected << QStringLiteral("c%1.png").arg(scale);
    expected.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
}

// A refused scale or a folder that is not there: a message naming the
// reason, and whatever was at the path stays as it was.
TEST(ChartExport, FailuresAreReportedAndLeaveTheOldFile)
{
    QTemporaryDir dir;
    const ChartDisplayList list = TwoPointList();
    const QString old = dir.filePath(QStringLiteral("old.png"));
    {
        QFile f(old);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier picture");
    }
    const struct {
        QString path;
        int scale;
        const char* message;
    } rows[] = {
        {old, 0, "图片放大倍数应为1到4之间的整数"},
        {old, 5, "图片放大倍数应为1到4之间的整数"},
        {dir.filePath(QStringLiteral("no/such/folder/c.png")), 2, "无法写入文件"},
        {old + QStringLiteral("/c.svg"), 2, "无法写入文件"}, // a file is no folder
    };
    for (const auto& row : rows) {
        const ChartFileFormat format = *ChartFileFormatOf(row.path);
        try {
            WriteChartFile(row.path, list, format, row.scale);
            ADD_FAILURE() << "no failure for " << row.path.toStdString() << " at " << row.scale;
        } catch (const UserError& e) {
            EXPECT_TRUE(e.text().startsWith(QString::fromUtf8(row.message)))
                << e.text().toStdString();
        }
    }
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("earlier picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.png")});
}
