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

// The edges of image (left, top, right, bottom) with no pixel other than
// white within reach pixels of them.
QStringList BlankEdges(const QImage& picture, int reach)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const QRect strips[] = {{0, 0, reach, image.height()},
                            {0, 0, image.width(), reach},
                            {image.width() - reach, 0, reach, image.height()},
                            {0, image.height() - reach, image.width(), reach}};
    const char* names[] = {"left", "top", "right", "bottom"};
    QStringList blank;
    for (int k = 0; k < 4; ++k) {
        bool inked = false;
        const QRect strip = strips[k] & image.rect();
        for (int y = strip.top(); y <= strip.bottom() && !inked; ++y)
            for (int x = strip.left(); x <= strip.right() && !inked; ++x)
                inked = image.pixel(x, y) != qRgb(255, 255, 255);
        if (!inked)
            blank << QString::fromLatin1(names[k]);
    }
    return blank;
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

// The SVG has one more <text> per point than the bare chart's; the PDF is
// one page with its text as text. Only the files themselves are left in the
// folder.
TEST(ChartExport, EachFormatHoldsThePicture)
{
    QTemporaryDir dir;
    const QStringList names{QStringLiteral("AB"), QStringLiteral("CD")};
    const ChartDisplayList list = ListWithPoints(names), bare = ListWithPoints({});
    WriteChartFile(dir.filePath(QStringLiteral("1.png")), list, ChartFileFormat::Png, 1);
    WriteChartFile(dir.filePath(QStringLiteral("c.svg")), list, ChartFileFormat::Svg);
    WriteChartFile(dir.filePath(QStringLiteral("bare.svg")), bare, ChartFileFormat::Svg);
    const QStringList bareTexts = SvgTexts(dir.filePath(QStringLiteral("bare.svg")));
    EXPECT_EQ(SvgTexts(dir.filePath(QStringLiteral("c.svg"))), bareTexts + names);
    EXPECT_TRUE(bareTexts.contains(QStringLiteral("大气压:101325Pa")));

    const QString pdf = dir.filePath(QStringLiteral("c.pdf"));
    WriteChartFile(pdf, list, ChartFileFormat::Pdf);
    EXPECT_EQ(PdfPageCount(pdf), 1);
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
              QStringList({"1.png", "bare.svg", "c.pdf", "c.svg"}));
}

// Every export shows the part of the picture that is drawn on, the frame
// and its labels with every mark, line and name, and an even blank margin
// round it where the picture has room (the picture itself is blank over
// about a quarter of its width and height at the right and bottom). Inside
// it, the PNG at each scale is the picture drawn at that scale, pixel for
// pixel; the SVG and PDF pages have its size at 96 pixels per inch.
TEST(ChartExport, ExportsAreCroppedToTheDrawing)
{
    ChartDisplayList zones = ListWithPoints({QStringLiteral("W1")});
    zones.setZonesShown(true);
    // A point at d = 46 g/kg lies right of the frame (at 730, 299).
    ChartDisplayList beyond = ListWithPoints({});
    beyond.append([](QPainter& p) {
        DrawPointMark(p, ChartGeometry::StateToPixel(46, 124), QStringLiteral("Z"));
    });
    const QRect frame(QPoint(ChartGeometry::X0, ChartGeometry::Y0),
                      QPoint(ChartGeometry::FrameRight, ChartGeometry::FrameBottom));
    const QRect picture(QPoint(0, 0), ChartGeometry::ImageSize);
    const struct {
        const char* what;
        ChartDisplayList list;
        QRect holds, within; // what the part must hold, and where it must stay
    } rows[] = {
        {"bare chart", ListWithPoints({}), frame, {0, 0, 660, 450}},
        {"points and zones", zones, frame, {0, 0, 660, 450}},
        {"point beyond the frame", beyond, frame | QRect(725, 290, 10, 10), {0, 0, 750, 450}},
        {"nothing drawn", ChartDisplayList(), picture, picture},
    };
    QTemporaryDir dir;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const QRect part = ChartExportRect(row.list);
        EXPECT_TRUE(part.contains(row.holds) && row.within.contains(part))
            << part.x() << "," << part.y() << " " << part.width() << "×" << part.height();
        const bool drawn = part != picture;
        // No ink as far as the margin reaches where the picture had room for
        // it; ink within two pixels more of every edge.
        QStringList roomy;
        if (part.left() > 0)
            roomy << QStringLiteral("left");
        if (part.top() > 0)
            roomy << QStringLiteral("top");
        if (part.right() < picture.right())
            roomy << QStringLiteral("right");
        if (part.bottom() < picture.bottom())
            roomy << QStringLiteral("bottom");
        for (int scale = kLeastPngScale; scale <= kGreatestPngScale; ++scale) {
            const QImage png =
                QImage::fromData(ChartFileBytes(row.list, ChartFileFormat::Png, scale));
            ASSERT_EQ(png.size(), part.size() * scale) << scale;
            // 96 pixels per logical inch, as the screen shows the chart.
            EXPECT_EQ(png.dotsPerMeterX(), int(96 * scale / 0.0254)) << scale;
            EXPECT_EQ(png.dotsPerMeterY(), int(96 * scale / 0.0254)) << scale;
            EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32),
                      row.list.render(scale)
                          .copy(QRect(part.topLeft() * scale, part.size() * scale))
                          .convertToFormat(QImage::Format_RGB32))
                << scale;
            if (drawn) {
                EXPECT_EQ(BlankEdges(png, (kChartCropMargin + 2) * scale), QStringList()) << scale;
            }
            if (drawn && scale == 1) {
                EXPECT_EQ(BlankEdges(png, kChartCropMargin), roomy);
            }
        }

        QXmlStreamReader svg(ChartFileBytes(row.list, ChartFileFormat::Svg));
        ASSERT_TRUE(svg.readNextStartElement());
        EXPECT_EQ(svg.attributes().value(QLatin1String("width")).toInt(), part.width());
        EXPECT_EQ(svg.attributes().value(QLatin1String("height")).toInt(), part.height());

        // The PDF page drawn at 96 dpi has the part's size and its ink.
        const QString pdf = dir.filePath(QStringLiteral("c.pdf"));
        WriteChartFile(pdf, row.list, ChartFileFormat::Pdf);
        const QString page = dir.filePath(QStringLiteral("page"));
        ASSERT_EQ(
            QProcess::execute(QStringLiteral("pdftoppm"),
                              {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                               QStringLiteral("-singlefile"), pdf, page}),
            0);
        const QImage shown(page + QStringLiteral(".png"));
        EXPECT_LE(std::abs(shown.width() - part.width()), 1);
        EXPECT_LE(std::abs(shown.height() - part.height()), 1);
        if (drawn) {
            EXPECT_EQ(BlankEdges(shown, kChartCropMargin + 2), QStringList());
        }
    }
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
