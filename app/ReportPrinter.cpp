#include "app/ReportPrinter.h"

#include "app/Fonts.h"
#include "app/Numbers.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

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
    QPainter painter;
    if (!painter.begin(&printer))
        throw UserError(QStringLiteral("打印机无法开始打印，请检查打印机设置！"));
    painter.setFont(ReportPrintFont(font));
    const QFontMetrics metrics(painter.font(), &printer);
    const int lineHeight = metrics.lineSpacing();
    const int pageHeight = painter.viewport().height();
    int top = 0;
    for (const QString& line : lines) {
        if (top > 0 && top + lineHeight > pageHeight) {
            if (!printer.newPage())
                throw UserError(QStringLiteral("打印机无法换页，打印中止！"));
            top = 0;
        }
        painter.drawText(0, top + metrics.ascent(), line);
        top += lineHeight;
    }
    if (!painter.end())
        throw UserError(QStringLiteral("打印作业未能完成！"));
}
