// The chart written to files from its display list: PNG read back as an
// image, SVG parsed as XML, PDF measured with pdfinfo; and the failures.
#include "app/Numbers.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartExport.h"
#include "support/PdfText.h"
#include "support/SvgText.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace
{

// Text needs a QGuiApplication: test_chart_drawing.cpp's environment makes
// one for the whole core test binary.

ChartDisplayList ListWithPoints(const QStringList& names)
{
    ID_lib lib;
    lib.AtmPressure = 101325;
    lib.PsychroCoefficient = kPsychroCoefficient;
    ChartDisplayList list;
    list.reset(lib, QStringLiteral("101325"));
    for (int k = 0; k < names.size(); ++k) {
        const QPoint at = ChartGeometry::StateToPixel(10 + 5 * k, 50 + 10 * k);
        list.append([at, name = names[k]](QPainter& p) { DrawPointMark(p, at, name); });
    }
    return list;
}

} // namespace

TEST(ChartExport, FormatComesFromTheExtensionInAnyCase)
{
    const std::pair<const char*, std::optional<ChartFileFormat>> rows[] = {
        {"/x/B.PNG", ChartFileFormat::Png},
        {"c.svg", ChartFileFormat::Svg},
        {"d.Pdf", ChartFileFormat::Pdf},
        {"e.jpg", std::nullopt},
        {"f", std::nullopt},
        {"g.png.txt", std::nullopt}};
    for (const auto& [path, format] : rows)
        EXPECT_EQ(ChartFileFormatOf(QString::fromUtf8(path)), format) << path;
}

// PNG at every scale is the list drawn at that size; the SVG has one more
// <text> per point than the bare chart's; the PDF is one page of the
// picture's size (825 × 562 pixels at 96 per inch: 618.75 × 421.5 points)
// with its text as text. Only the files themselves are left in the folder.
TEST(ChartExport, EachFormatHoldsThePicture)
{
    QTemporaryDir dir;
    const QStringList names{QStringLiteral("AB"), QStringLiteral("CD")};
    const ChartDisplayList list = ListWithPoints(names), bare = ListWithPoints({});
    for (int scale = kLeastPngScale; scale <= kGreatestPngScale; ++scale) {
        const QString png = dir.filePath(QStringLiteral("%1.png").arg(scale));
        WriteChartFile(png, list, ChartFileFormat::Png, scale);
        EXPECT_EQ(QImage(png).size(), QSize(825 * scale, 562 * scale));
        EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32),
                  list.render(scale).convertToFormat(QImage::Format_RGB32))
            << scale;
    }

    WriteChartFile(dir.filePath(QStringLiteral("c.svg")), list, ChartFileFormat::Svg);
    WriteChartFile(dir.filePath(QStringLiteral("bare.svg")), bare, ChartFileFormat::Svg);
    const QStringList bareTexts = SvgTexts(dir.filePath(QStringLiteral("bare.svg")));
    EXPECT_EQ(SvgTexts(dir.filePath(QStringLiteral("c.svg"))), bareTexts + names);
    EXPECT_TRUE(bareTexts.contains(QStringLiteral("大气压:101325Pa")));

    const QString pdf = dir.filePath(QStringLiteral("c.pdf"));
    WriteChartFile(pdf, list, ChartFileFormat::Pdf);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished();
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .simplified()
                    .contains(QStringLiteral("Page size: 619 x 422 pts")));
    // The text reads back as drawn: no radical stands for an ideograph.
    const QString text = PdfRawText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("湿空气焓湿图")) &&
                text.contains(QStringLiteral("岚禾暖通空调计算软件")) &&
                text.contains(QStringLiteral("AB")) && text.contains(QStringLiteral("CD")))
        << text.toStdString();
    for (const char32_t c : text.toUcs4())
        EXPECT_FALSE((c >= 0x2E80 && c <= 0x2FDF) || (c >= 0x31C0 && c <= 0x31EF))
            << std::hex << uint(c);
    for (const char* drawn : {"干", "球", "温", "度", "气)"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(drawn))) << drawn;
    EXPECT_EQ(PdfStructureFaults(pdf), QString());

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              QStringList({"1.png", "2.png", "3.png", "4.png", "bare.svg", "c.pdf", "c.svg"}));
}

// The SVG is well-formed XML; every label, whatever scripts it mixes, is one
// <text> (renderers lay it out as a whole in the face they find, so no run
// overlaps the next), and each names the chart's faces and then fallbacks
// that every renderer has.
TEST(ChartExport, SvgLabelsAreWholeTextsWithFallbackFaces)
{
    ChartDisplayList list = ListWithPoints({QStringLiteral("W1")});
    list.setZonesShown(true);
    QXmlStreamReader xml(ChartFileBytes(list, ChartFileFormat::Svg));
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"text")
            continue;
        EXPECT_EQ(xml.attributes().value(QLatin1String("font-family")),
                  u"宋体, SimSun, 'Noto Serif CJK SC', 'Noto Sans CJK SC', serif");
        texts << xml.readElementText();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    for (const char* label :
         {"含湿量 (g/kg干空气)", "(℃)", "(kj", "/kg", "气)", "湿空气焓湿图", "大气压:101325Pa",
          "岚禾暖通空调计算软件", "冬季Ⅰ级", "冬季Ⅱ级", "夏季Ⅰ级", "夏季Ⅱ级", "-15", "W1"})
        EXPECT_EQ(texts.count(QString::fromUtf8(label)), 1) << label;
}

// A refused scale or a folder that is not there: a message naming the
// reason, and whatever was at the path stays as it was.
TEST(ChartExport, FailuresAreReportedAndLeaveTheOldFile)
{
    QTemporaryDir dir;
    const ChartDisplayList list = ListWithPoints({QStringLiteral("AB")});
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
        try {
            WriteChartFile(row.path, list, *ChartFileFormatOf(row.path), row.scale);
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
