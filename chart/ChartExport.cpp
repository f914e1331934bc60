#include "chart/ChartExport.h"

#include "app/CheckedFile.h"
#include "app/Numbers.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartGeometry.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace
{

// The chart's pixels are laid out at 96 per inch (ChartFont); the vector
// files keep that measure, so the picture prints at its screen size.
constexpr int kPixelsPerInch = 96;
constexpr double kPointsPerPixel = 72.0 / kPixelsPerInch;
const QString kTitle = QStringLiteral("湿空气焓湿图");

QString WriteError(const QString& path, const QString& reason)
{
    return QStringLiteral("无法写入文件“%1”：%2").arg(path, reason);
}

QStringList WriteSvg(QIODevice& file, const ChartDisplayList& list)
{
    const QRect page(QPoint(0, 0), ChartGeometry::ImageSize);
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(page.size());
    svg.setViewBox(page);
    svg.setResolution(kPixelsPerInch);
    svg.setTitle(kTitle);
    QPainter painter;
    if (!painter.begin(&svg))
        throw UserError(QStringLiteral("无法生成SVG图形"));
    const QStringList messages = list.replay(painter);
    painter.end();
    return messages;
}

QStringList WritePdf(QIODevice& file, const ChartDisplayList& list)
{
    const QSize pixels = ChartGeometry::ImageSize;
    QPdfWriter pdf(&file);
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
    const QStringList messages = list.replay(painter);
    if (!painter.end())
        throw UserError(QStringLiteral("无法生成PDF文档"));
    return messages;
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

QStringList WriteChartFile(const QString& path, const ChartDisplayList& list,
                           ChartFileFormat format, int scale)
{
    // The picture is drawn before the file is touched: a refused scale
    // leaves no temporary file behind.
    QImage image;
    QStringList messages;
    if (format == ChartFileFormat::Png)
        image = ChartImageAt(list, scale, &messages);

    // Drawn into memory and written in one checked step: a picture cut off
    // by a full disk never reaches the file, and the old file stays.
    QByteArray bytes;
    QBuffer file(&bytes);
    file.open(QIODevice::WriteOnly);
    switch (format) {
    case ChartFileFormat::Png:
        // The picture's own pixels per inch travel with it, so that a
        // document it is placed in shows it at its screen size.
        image.setDotsPerMeterX(int(kPixelsPerInch * scale / 0.0254));
        image.setDotsPerMeterY(int(kPixelsPerInch * scale / 0.0254));
        if (!image.save(&file, "PNG"))
            throw UserError(WriteError(path, QStringLiteral("PNG图片编码失败")));
        break;
    case ChartFileFormat::Svg:
        messages = WriteSvg(file, list);
        break;
    case ChartFileFormat::Pdf:
        messages = WritePdf(file, list);
        break;
    }
    file.close();
    ReplaceFile(path, bytes);
    return messages;
}
