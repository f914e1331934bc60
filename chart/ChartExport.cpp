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
#include <future>
#include <optional>
#include <zlib.h>

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

// PNG: the picture as 8-bit RGB rows, each with filter type 0 (none), in one
// zlib stream at kPngDeflateLevel, with its pixels per metre. A chart is
// mostly runs of white and of a few line colours, which deflate finds
// without any filter; Qt's writer has libpng try all five filters on every
// row and deflates at level 6: four times as long for a file 15–30 % smaller.
constexpr int kPngDeflateLevel = 2;

void AppendBigEndian(QByteArray& out, quint32 value)
{
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

void AppendPngChunk(QByteArray& out, const char (&type)[5], const QByteArray& data)
{
    AppendBigEndian(out, quint32(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    const auto* crcFrom = reinterpret_cast<const Bytef*>(out.constData() + start);
    AppendBigEndian(out, quint32(crc32(crc32(0, nullptr, 0), crcFrom, uInt(out.size() - start))));
}

// Rows [first, end) of the part as PNG scanlines (filter type 0, none, then
// RGB), deflated raw: all but the stream's last piece end on a byte boundary
// without closing it, so the pieces join into one stream. The Adler-32 sum of
// the scanlines comes back in *sum.
std::optional<QByteArray> DeflatedRows(const QImage& image, QRect part, int first, int end,
                                       bool last, uLong* sum)
{
    z_stream z{};
    if (deflateInit2(&z, kPngDeflateLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return std::nullopt;
    const int width = part.width();
    const qsizetype rowBytes = 1 + qsizetype(width) * 3;
    // The output grows as it fills: a chart deflates to a few per cent of
    // its rows, and a buffer of their whole size would only be paged in.
    QByteArray compressed(qsizetype(64) * 1024, Qt::Uninitialized);
    QByteArray row(rowBytes, Qt::Uninitialized);
    auto* bytes = reinterpret_cast<uchar*>(row.data());
    bytes[0] = 0; // filter type: none
    *sum = adler32(0, nullptr, 0);
    const int done = last ? Z_STREAM_END : Z_OK;
    int status = Z_OK;
    for (int y = first; y < end && status == Z_OK; ++y) {
        const auto* pixels =
            reinterpret_cast<const QRgb*>(image.constScanLine(part.top() + y)) + part.left();
        uchar* out = bytes + 1;
        for (int x = 0; x < width; ++x) {
            *out++ = uchar(qRed(pixels[x]));
            *out++ = uchar(qGreen(pixels[x]));
            *out++ = uchar(qBlue(pixels[x]));
        }
        *sum = adler32(*sum, bytes, uInt(rowBytes));
        z.next_in = bytes;
        z.avail_in = uInt(rowBytes);
        const int flush = y + 1 < end ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
        do {
            if (z.total_out == uLong(compressed.size()))
                compressed.resize(compressed.size() * 2);
            z.next_out = reinterpret_cast<Bytef*>(compressed.data()) + z.total_out;
            z.avail_out = uInt(compressed.size() - qsizetype(z.total_out));
            status = deflate(&z, flush);
            // A flush is complete once deflate leaves room in the output.
        } while (status == Z_OK && (z.avail_in != 0 || (flush != Z_NO_FLUSH && z.avail_out == 0) ||
                                    flush == Z_FINISH));
    }
    const bool complete = status == done;
    compressed.truncate(qsizetype(z.total_out));
    deflateEnd(&z);
    if (!complete)
        return std::nullopt;
    return compressed;
}

// The part of the picture, read in place (a copy of a 2× chart costs as
// much as deflating it), as one zlib stream deflated in two halves at once:
// at 2× deflating is half the export.
QByteArray PngBytes(const QImage& picture, QRect part, int dotsPerMeter)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    part &= image.rect();
    const int width = part.width(), height = part.height();
    if (image.isNull() || width <= 0 || height <= 0)
        throw UserError(QStringLiteral("PNG图片编码失败"));

    const int half = height / 2;
    uLong upperSum = 0, lowerSum = 0;
    auto upper = std::async(std::launch::async, [&] {
        return DeflatedRows(image, part, 0, half, half == height, &upperSum);
    });
    const std::optional<QByteArray> lower =
        half < height ? DeflatedRows(image, part, half, height, true, &lowerSum) : QByteArray();
    const std::optional<QByteArray> upperBytes = upper.get();
    if (!upperBytes || !lower)
        throw UserError(QStringLiteral("PNG图片编码失败"));
    const qsizetype rowBytes = 1 + qsizetype(width) * 3;
    const uLong sum = adler32_combine(upperSum, lowerSum, z_off_t(rowBytes * (height - half)));

    QByteArray compressed("\x78\x01", 2); // deflate, 32 KB window, no dictionary
    compressed.reserve(2 + upperBytes->size() + lower->size() + 4);
    compressed.append(*upperBytes);
    compressed.append(*lower);
    AppendBigEndian(compressed, quint32(sum));

    QByteArray header;
    AppendBigEndian(header, quint32(width));
    AppendBigEndian(header, quint32(height));
    header.append("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, filters, no interlace
    QByteArray resolution;
    AppendBigEndian(resolution, quint32(dotsPerMeter));
    AppendBigEndian(resolution, quint32(dotsPerMeter));
    resolution.append('\x01'); // per metre

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png.reserve(png.size() + compressed.size() + 128);
    AppendPngChunk(png, "IHDR", header);
    AppendPngChunk(png, "pHYs", resolution);
    AppendPngChunk(png, "IDAT", compressed);
    AppendPngChunk(png, "IEND", QByteArray());
    return png;
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

namespace
{
// The chart drawn at scale and the part of it a picture file holds: the 1×
// chart's crop, scaled.
struct ScaledChart {
    QImage whole;
    QRect part;
};

ScaledChart ChartAt(const ChartDisplayList& list, int scale, QStringList* messages)
{
    if (scale < kLeastPngScale || scale > kGreatestPngScale)
        throw UserError(QStringLiteral("图片放大倍数应为%1到%2之间的整数")
                            .arg(kLeastPngScale)
                            .arg(kGreatestPngScale));
    const QRect part = ChartExportRect(list, messages);
    return {list.render(scale), QRect(part.topLeft() * scale, part.size() * scale)};
}
} // namespace

QImage ChartImageAt(const ChartDisplayList& list, int scale, QStringList* messages)
{
    const ScaledChart chart = ChartAt(list, scale, messages);
    return chart.whole.copy(chart.part);
}

QByteArray ChartFileBytes(const ChartDisplayList& list, ChartFileFormat format, int scale,
                          QStringList* messages)
{
    QStringList shown;
    QByteArray bytes;
    switch (format) {
    case ChartFileFormat::Png: {
        // The picture's own pixels per inch travel with it, so that a
        // document it is placed in shows it at its screen size.
        const ScaledChart chart = ChartAt(list, scale, &shown);
        bytes = PngBytes(chart.whole, chart.part, int(kPixelsPerInch * scale / 0.0254));
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
