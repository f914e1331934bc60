// The text layer of the PDF files the program writes: text drawn in each
// face the program prints with reads back exactly as drawn, the mended file
// stays sound, and a file of any other layout is left alone.
#include "app/EquivalentIdeographs.h"
#include "app/Fonts.h"
#include "app/PdfTextLayer.h"
#include "support/PdfText.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// Text needs a QGuiApplication: test_chart_drawing.cpp's environment makes
// one for the whole core test binary.

QByteArray QtPdf(const QString& text, const QString& family)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    QPainter painter(&pdf);
    QFont font(family);
    font.setPointSize(12);
    painter.setFont(font);
    painter.drawText(QPointF(200, 1000), text);
    painter.end();
    return buffer.data();
}

// What Qt's file reads back as, each radical read as its ideograph.
QString WithRadicalsAsIdeographs(const QString& text)
{
    QString out;
    for (const char32_t c : text.toUcs4()) {
        const char32_t ideograph = EquivalentIdeograph(c);
        out += QString::fromUcs4(ideograph ? &ideograph : &c, 1);
    }
    return out;
}

QString Stored(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {};
    return path;
}

} // namespace

// Qt names 一 风 干 气 after the radicals that share their glyphs (and its
// file differs from the drawn text only there); once
// mended the text reads back as drawn, character for character, and qpdf
// finds the cross-reference table and stream lengths sound.
TEST(PdfTextLayer, TextReadsBackAsDrawnInEachFace)
{
    QTemporaryDir dir;
    const QString drawn = QStringLiteral("一风干气 送风量 一次回风量 湿空气 干球温度(℃)");
    for (const QString& family :
         {QString::fromLatin1(ReportPrintFace), QStringLiteral("Noto Serif CJK SC"),
          QStringLiteral("Noto Sans CJK SC")}) {
        const QByteArray qt = QtPdf(drawn, family);
        const QString before = PdfRawText(Stored(dir, QStringLiteral("qt.pdf"), qt)).simplified();
        EXPECT_NE(before, drawn) << family.toStdString() << ": nothing to mend";
        EXPECT_EQ(WithRadicalsAsIdeographs(before), drawn) << family.toStdString();

        const QString mended =
            Stored(dir, QStringLiteral("mended.pdf"), WithIdeographsInTextLayer(qt));
        EXPECT_EQ(PdfRawText(mended).simplified(), drawn) << family.toStdString();
        EXPECT_EQ(PdfStructureFaults(mended), QString()) << family.toStdString();
        EXPECT_EQ(PdfPageCount(mended), 1);
    }
}

// Each form a CMap may give its mappings in is read (codes one by one,
// ranges onto consecutive values, ranges onto arrays) and each radical named
// as its ideograph; the file stays sound.
TEST(PdfTextLayer, EveryFormOfMappingIsMended)
{
    QTemporaryDir dir;
    QFile f(
        QStringLiteral(VENTACALC_TEST_SUPPORT_DIR "/../fuzz/corpus/pdf_text_layer/cmap_forms.pdf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray mended = WithIdeographsInTextLayer(f.readAll());
    for (const char* mapping : {"<0001> <4E00>", "<0002> <0041>", "<0003> <9875>", "<0004> <98CE>",
                                "<0005> <98DE>", "<0006> <5E72>", "<0007> <6C14>"})
        EXPECT_TRUE(mended.contains(mapping)) << mapping;
    EXPECT_EQ(PdfStructureFaults(Stored(dir, QStringLiteral("forms.pdf"), mended)), QString());
}

// The data: every Kangxi radical is its NFKC form; the simplified radicals
// (which NFKC leaves alone) have their ideographs; other characters none.
TEST(PdfTextLayer, RadicalsHaveTheirIdeographs)
{
    for (char32_t c = 0x2F00; c <= 0x2FD5; ++c)
        EXPECT_EQ(QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KC).toUcs4(),
                  QList<uint>{uint(EquivalentIdeograph(c))})
            << std::hex << uint(c);
    const std::pair<char32_t, char32_t> rows[] = {{0x2EDB, U'风'}, {0x2ED3, U'长'}, {0x2EC5, U'见'},
                                                  {0x2E8C, U'小'}, {0x31D0, U'一'}, {U'风', 0},
                                                  {U'A', 0},       {0x2E80, 0}};
    for (const auto& [c, ideograph] : rows)
        EXPECT_EQ(EquivalentIdeograph(c), ideograph) << std::hex << uint(c);
}

// Nothing to mend, or not a file as Qt writes it: the bytes come back as
// they were.
TEST(PdfTextLayer, OtherFilesAreLeftAlone)
{
    const QByteArray qt = QtPdf(QStringLiteral("风量"), QStringLiteral("Noto Sans CJK SC"));
    QByteArray compressed = qt;
    compressed.replace("/Length", "/Filter /FlateDecode /Length");
    const QByteArray rows[] = {
        QByteArray(),
        QByteArray("not a PDF at all"),
        QtPdf(QStringLiteral("Pa 101325"), QStringLiteral("Noto Sans CJK SC")),
        qt.left(qt.size() / 2),
        qt.left(qt.lastIndexOf("xref")) + "startxref\n12\n%%EOF\n",
        compressed,
    };
    for (const QByteArray& pdf : rows)
        EXPECT_EQ(WithIdeographsInTextLayer(pdf), pdf) << pdf.left(40).toStdString();
}
