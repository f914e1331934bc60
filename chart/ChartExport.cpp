#include "chart/ChartExport.h"

#include "app/CheckedFile.h"
#include "app/Numbers.h"
#include "app/PdfTextLayer.h"
#include "app/SvgPaintDevice.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartGeometry.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace
{

// The chart's pixels are laid out at 96 per inch (ChartFont); the vector
// files keep that measure, so the picture prints at its screen size.
constexpr int kPixelsPerInch = 96;
constexpr double kPointsPerPixel = 72.0 / kPixelsPerInch;
const QString kTitle = QStringLiteral("湿空气焓湿图");

// The faces every SVG renderer can stand in with where a label's own
// (宋体, SimSun) is missing: the Simplified Chinese faces the program itself
// draws with, then any serif face, as 宋体 is one.
const QStringList kSvgFallbackFamilies{QStringLiteral("Noto Serif CJK SC"),
                                       QStringLiteral("Noto Sans CJK SC"), QStringLiteral("serif")};

QByteArray SvgBytes(const ChartDisplayList& list, QStringList* messages)
{
    SvgPaintDevice svg(ChartGeometry::ImageSize, kTitle);
    svg.setFallbackFamilies(kSvgFallbackFamilies);
    QPainter painter;
    if (!painter.begin(&svg))
        throw UserError(QStringLiteral("无法生成SVG图形"));
    *messages = list.replay(painter);
    painter.end();
    return svg.document();
}

QByteArray PdfBytes(const ChartDisplayList& list, QStringList* messages)
{
    const QSize pixels = ChartGeometry::ImageSize;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(kTitle);
    pdf.setCreator(QStringLiteral("岚禾暖通计算工具"));
    pdf.setResolution(kPixelsPerInch);
    pdf.setPageSize(
        QPageSize(QSizeF(pixels.width() * kPointsPerPixel, pixels.height() * kPointsPerPixel),
                  QPageSize::Point, kTitle, QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&pdf))
        throw UserError(QStringLiteral("无法生成PDF文档"));
    *messages = list.replay(painter);
    if (!painter.end())
        throw UserError(QStringLiteral("无法生成PDF文档"));
    return WithIdeographsInTextLayer(buffer.data());
}

} // namespace

std::optional<ChartFileFormat> ChartFileFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return ChartFileFormat::Png;
    if (suffix == QLatin1String("svg"))
        return ChartFileFormat::Svg;
    if (suffix == QLatin1String("pdf"))
        return ChartFileFormat::Pdf;
    return std::nullopt;
}

QImage ChartImageAt(const ChartDisplayList& list, int scale, QStringList* messages)
{
    if (scale < kLeastPngScale || scale > kGreatestPngScale)
        throw UserError(QStringLiteral("图片放大倍数应为%1到%2之间的整数")
                            .arg(kLeastPngScale)
                            .arg(kGreatestPngScale));
    return list.render(scale, messages);
}

QByteArray ChartFileBytes(const ChartDisplayList& list, ChartFileFormat format, int scale,
                          QStringList* messages)
{
    QStringList shown;
    QByteArray bytes;
    switch (format) {
    case ChartFileFormat::Png: {
        QImage image = ChartImageAt(list, scale, &shown);
        // The picture's own pixels per inch travel with it, so that a
        // document it is placed in shows it at its screen size.
        image.setDotsPerMeterX(int(kPixelsPerInch * scale / 0.0254));
        image.setDotsPerMeterY(int(kPixelsPerInch * scale / 0.0254));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            throw UserError(QStringLiteral("PNG图片编码失败"));
        break;
    }
    case ChartFileFormat::Svg:
        bytes = SvgBytes(list, &shown);
        break;
    case ChartFileFormat::Pdf:
        bytes = PdfBytes(list, &shown);
        break;
    }
    if (messages)
        *messages = shown;
    return bytes;
}

QStringList WriteChartFile(const QString& path, const ChartDisplayList& list,
                           ChartFileFormat format, int scale)
{
    // The picture is made before the file is touched: a refused scale
    // leaves no temporary file behind.
    QStringList messages;
    const QByteArray bytes = ChartFileBytes(list, format, scale, &messages);
    ReplaceFile(path, bytes);
    return messages;
}
