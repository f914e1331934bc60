// A chart picture written to a file: PNG at a whole scale, SVG and PDF as
// vectors with the text kept as text, each drawn from the picture's display
// list. No widgets.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

class ChartDisplayList;

enum class ChartFileFormat { Png, Svg, Pdf };

// The format named by a file's extension (.png, .svg, .pdf in any case);
// nothing for any other.
std::optional<ChartFileFormat> ChartFileFormatOf(const QString& path);

// PNG scales offered: the picture's own size up to four times it.
inline constexpr int kLeastPngScale = 1;
inline constexpr int kGreatestPngScale = 4;
// The window's default, and the clipboard's.
inline constexpr int kDefaultPngScale = 2;

// The blank kept around the drawing of an exported or printed picture, on
// every side, in logical pixels.
inline constexpr int kChartCropMargin = 6;

// The part of picture that an export or a printout shows, in the picture's
// own pixels: the bounding rectangle of every pixel that is not the page's
// white (the frame, the grid and its labels, the marks and lines), widened
// by kChartCropMargin logical pixels on each side and kept inside the
// picture. A picture with nothing drawn on it is shown whole.
QRect ChartPictureCrop(const QImage& picture);

// The part of list's picture that every export shows (ChartPictureCrop of
// the picture at its logical size), in logical pixels. messages receives the
// grid's messages (DrawChartGrid).
QRect ChartExportRect(const ChartDisplayList& list, QStringList* messages = nullptr);

// The exported part of the picture (ChartExportRect) at scale times its
// logical size: the lines, marks and text drawn at that size, not enlarged
// pixels; pixel for pixel the same as that part of list.render(scale).
QImage ChartImageAt(const ChartDisplayList& list, int scale, QStringList* messages = nullptr);

// The exported part of the picture (ChartExportRect) as the bytes of a file
// in format: PNG at scale
// (kLeastPngScale…kGreatestPngScale, used by PNG only); SVG with each label
// one <text> naming its face and fallbacks every renderer has; PDF whose
// text reads back as drawn (WithIdeographsInTextLayer). messages receives
// the grid's messages (DrawChartGrid). Throws UserError with the reason for
// a scale out of range or a picture that cannot be encoded.
QByteArray ChartFileBytes(const ChartDisplayList& list, ChartFileFormat format,
                          int scale = kDefaultPngScale, QStringList* messages = nullptr);

// Writes ChartFileBytes(list, format, scale) to path: the file is built
// beside path under a temporary name and renamed over it only when complete,
// so a failure leaves whatever was at path as it was. The SVG and the
// one-page PDF are the exported part of the picture (ChartExportRect),
// measured at 96 pixels per inch.
// Returns the grid's messages (DrawChartGrid). Throws UserError with the
// reason for a scale out of range or a file that cannot be written.
QStringList WriteChartFile(const QString& path, const ChartDisplayList& list,
                           ChartFileFormat format, int scale = kDefaultPngScale);
