#include "chart/ChartExport.h"

#include "app/CheckedFile.h"
#include "app/Numbers.h"
#include "app/PdfTextLayer.h"
#include "app/SvgPaintDevice.h"
#include "chart/ChartDisplayList.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

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

// Each vector file is a page of the exported part's size, its top-left
// corner at the part's.
QByteArray SvgBytes(const ChartDisplayList& list, QRect part, QStringList* messages)
{
    SvgPaintDevice svg(part.size(), kTitle);
    svg.setFallbackFamilies(kSvgFallbackFamilies);
    QPainter painter;
    if (!painter.begin(&svg))
        throw UserError(QStringLiteral("无法生成SVG图形"));
    painter.translate(-part.topLeft());
    *messages = list.replay(painter);
    painter.end();
    return svg.document();
}

QByteArray PdfBytes(const ChartDisplayList& list, QRect part, QStringList* messages)
{
    const QSize pixels = part.size();
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
    painter.translate(-part.topLeft());
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

QRect ChartPictureCrop(const QImage& picture)
{
    const QImage pixels =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
            ? picture
            : picture.convertToFormat(QImage::Format_RGB32);
    const QRgb white = qRgb(255, 255, 255);
    const int width = pixels.width();
    int left = width, right = -1, top = -1, bottom = -1;
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int first = 0;
        while (first < width && row[first] == white)
            ++first;
        if (first == width)
            continue;
        int last = width - 1;
        while (row[last] == white)
            --last;
        left = std::min(left, first);
        right = std::max(right, last);
        if (top < 0)
            top = y;
        bottom = y;
    }
    if (top < 0)
        return pixels.rect();
    const int margin = int(std::lround(kChartCropMargin * picture.devicePixelRatio()));
    return QRect(QPoint(left, top), QPoint(right, bottom))
               .adjusted(-margin, -margin, margin, margin) &
           pixels.rect();
}

QRect ChartExportRect(const ChartDisplayList& list, QStringList* messages)
{
    return ChartPictureCrop(list.render(1.0, messages));
}

QImage ChartImageAt(const ChartDisplayList& list, int scale, QStringList* messages)
{
    if (scale < kLeastPngScale || scale > kGreatestPngScale)
        throw UserError(QStringLiteral("图片放大倍数应为%1到%2之间的整数")
                            .arg(kLeastPngScale)
                            .arg(kGreatestPngScale));
    const QRect part = ChartExportRect(list, messages);
    return list.render(scale).copy(QRect(part.topLeft() * scale, part.size() * scale));
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
        bytes = SvgBytes(list, ChartExportRect(list), &shown);
        break;
    case ChartFileFormat::Pdf:
        bytes = PdfBytes(list, ChartExportRect(list), &shown);
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
