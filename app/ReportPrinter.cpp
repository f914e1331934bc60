#include "app/ReportPrinter.h"

#include "app/CheckedFile.h"
#include "app/Fonts.h"
#include "app/Numbers.h"
#include "app/PdfTextLayer.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace
{

void PaintLines(QPagedPaintDevice& device, const QFont& font, const QStringList& lines)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw UserError(QStringLiteral("打印机无法开始打印，请检查打印机设置！"));
    painter.setFont(ReportPrintFont(font));
    const QFontMetrics metrics(painter.font(), &device);
    const int lineHeight = metrics.lineSpacing();
    const int pageHeight = painter.viewport().height();
    int top = 0;
    for (const QString& line : lines) {
        if (top > 0 && top + lineHeight > pageHeight) {
            if (!device.newPage())
                throw UserError(QStringLiteral("打印机无法换页，打印中止！"));
            top = 0;
        }
        painter.drawText(0, top + metrics.ascent(), line);
        top += lineHeight;
    }
    if (!painter.end())
        throw UserError(QStringLiteral("打印作业未能完成！"));
}

// Printing to a PDF file: the same pages made in memory on the printer's
// page layout and resolution, their text layer mended
// (WithIdeographsInTextLayer), then stored at the printer's file name.
void PrintLinesToPdfFile(QPrinter& printer, const QFont& font, const QStringList& lines)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPdfVersion(printer.pdfVersion());
    pdf.setResolution(printer.resolution());
    if (!pdf.setPageLayout(printer.pageLayout()))
        throw UserError(QStringLiteral("打印机无法开始打印，请检查打印机设置！"));
    pdf.setTitle(printer.docName());
    pdf.setCreator(printer.creator());
    PaintLines(pdf, font, lines);
    const QByteArray bytes = WithIdeographsInTextLayer(buffer.data());

    ReplaceFile(printer.outputFileName(), bytes);
}

} // namespace

QPrinter& AppPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

QFont DefaultReportFont()
{
    return SongFontPt(12);
}

void PrintLines(QPrinter& printer, const QFont& font, const QStringList& lines)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        PrintLinesToPdfFile(printer, font, lines);
    else
        PaintLines(printer, font, lines);
}
