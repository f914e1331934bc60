// The SVG paint device: a well-formed document whose texts are whole
// drawText strings with the face and its fallbacks, and whose shapes carry
// the painter's pen, brush and transform.
#include "app/SvgPaintDevice.h"

#include <QPainter>
#include <QPainterPath>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace
{

// Text needs a QGuiApplication: test_chart_drawing.cpp's environment makes
// one for the whole core test binary.

struct Element {
    QString name, text;
    QXmlStreamAttributes attributes;
    QString operator[](const char* a) const
    {
        return attributes.value(QLatin1String(a)).toString();
    }
};

// The elements inside <svg>, or one named "error" when the XML is broken.
std::vector<Element> Elements(const QByteArray& svg)
{
    std::vector<Element> elements;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() == u"svg")
            continue;
        Element e{xml.name().toString(), {}, xml.attributes()};
        if (e.name == u"text" || e.name == u"title")
            e.text = xml.readElementText();
        elements.push_back(e);
    }
    if (xml.hasError())
        return {Element{QStringLiteral("error"), xml.errorString(), {}}};
    return elements;
}

QFont ChineseFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC")});
    f.setPixelSize(10);
    return f;
}

} // namespace

// However QPainter splits a string into runs of one script or one face,
// each drawText is one <text> at its baseline, holding the string exactly
// (markup and spaces kept, characters XML cannot hold replaced); texts that
// merely follow one another stay apart.
TEST(SvgPaintDevice, EachDrawTextIsOneTextElement)
{
    const struct {
        QString drawn, stored;
    } rows[] = {
        {QStringLiteral("大气压:101325Pa"), QStringLiteral("大气压:101325Pa")},
        {QStringLiteral("夏季Ⅱ级"), QStringLiteral("夏季Ⅱ级")},
        {QStringLiteral("含湿量 (g/kg干空气)"), QStringLiteral("含湿量 (g/kg干空气)")},
        {QStringLiteral(" A&B <C> \"D\" "), QStringLiteral(" A&B <C> \"D\" ")},
        {QStringLiteral("x\x1b[2Jy"), QStringLiteral("x\uFFFD[2Jy")},
    };
    SvgPaintDevice device(QSize(400, 300), QStringLiteral("图"));
    device.setFallbackFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("serif")});
    QPainter painter(&device);
    painter.setFont(ChineseFont());
    int y = 20;
    for (const auto& row : rows)
        painter.drawText(QPoint(10, y += 20), row.drawn);
    // Two strings side by side with a gap: two texts.
    painter.drawText(QPoint(10, 250), QStringLiteral("12"));
    painter.drawText(QPoint(60, 250), QStringLiteral("34"));
    painter.end();

    const std::vector<Element> elements = Elements(device.document());
    ASSERT_FALSE(elements.empty());
    ASSERT_NE(elements[0].name, u"error") << elements[0].text.toStdString();
    EXPECT_EQ(elements[0].name, u"title");
    EXPECT_EQ(elements[0].text, u"图");
    std::vector<Element> texts;
    for (const Element& e : elements)
        if (e.name == u"text")
            texts.push_back(e);
    ASSERT_EQ(texts.size(), std::size(rows) + 2);
    y = 20;
    for (std::size_t k = 0; k < std::size(rows); ++k) {
        EXPECT_EQ(texts[k].text, rows[k].stored);
        EXPECT_EQ(texts[k]["x"], u"10");
        EXPECT_EQ(texts[k]["y"], QString::number(y += 20));
        EXPECT_EQ(texts[k]["font-family"], u"宋体, 'Noto Serif CJK SC', serif");
        EXPECT_EQ(texts[k]["font-size"], u"10");
        EXPECT_EQ(texts[k]["fill"], u"#000000");
    }
    EXPECT_EQ(texts[std::size(rows)].text, u"12");
    EXPECT_EQ(texts[std::size(rows) + 1].text, u"34");
}

// Each shape as its element, with the pen, the brush and the transform in
// force; an image inside the document as PNG.
TEST(SvgPaintDevice, ShapesCarryPenBrushAndTransform)
{
    SvgPaintDevice device(QSize(825, 562));
    QPainter painter(&device);
    painter.setPen(QPen(QColor(255, 0, 0), 2, Qt::DashLine, Qt::RoundCap));
    painter.setBrush(QColor(0, 0, 255, 128));
    painter.drawLine(QPoint(1, 2), QPoint(3, 4));
    painter.drawRect(QRect(10, 20, 30, 40));
    painter.drawEllipse(QPoint(100, 100), 2, 3);
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(5, 0), QPoint(0, 5)}));
    painter.drawPolyline(QPolygon({QPoint(0, 0), QPoint(5, 5)}));
    painter.translate(50, 60);
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    painter.drawImage(QPoint(0, 0), image);
    painter.end();

    const std::vector<Element> elements = Elements(device.document());
    ASSERT_EQ(elements.size(), 6u) << (elements.empty() ? "" : elements[0].text.toStdString());
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> attributes;
    } rows[] = {
        {"line",
         {{"x1", "1"},
          {"y2", "4"},
          {"stroke", "#ff0000"},
          {"stroke-width", "2"},
          {"stroke-dasharray", "8,4"},
          {"stroke-linecap", "round"},
          {"fill", "none"}}},
        {"rect", {{"x", "10"}, {"height", "40"}, {"fill", "#0000ff"}, {"fill-opacity", "0.502"}}},
        {"ellipse", {{"cx", "100"}, {"rx", "2"}, {"ry", "3"}, {"fill", "#0000ff"}}},
        {"polygon", {{"points", "0,0 5,0 0,5"}, {"fill-rule", "evenodd"}}},
        {"polyline", {{"points", "0,0 5,5"}, {"fill", "none"}}},
        {"image", {{"width", "2"}, {"transform", "matrix(1 0 0 1 50 60)"}}},
    };
    for (std::size_t k = 0; k < std::size(rows); ++k) {
        EXPECT_EQ(elements[k].name, QString::fromLatin1(rows[k].name));
        for (const auto& [name, value] : rows[k].attributes)
            EXPECT_EQ(elements[k][name], QString::fromLatin1(value)) << rows[k].name << " " << name;
    }
    EXPECT_TRUE(elements[5]["xlink:href"].startsWith(u"data:image/png;base64,iVBORw0KGgo"));
}
