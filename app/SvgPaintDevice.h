// A paint device whose drawing becomes an SVG document, for pictures that
// are kept as vectors with their text as text. No widgets, and no module
// beyond QtGui.
//
// Each drawText call becomes one <text> element holding the whole string,
// however QPainter splits it into runs of one script or one font: a renderer
// lays the label out in whatever face it finds, so runs placed one by one at
// Qt's positions would overlap or gape wherever its face is wider or
// narrower. Its font-family names the font's families and then fallbacks
// that every renderer has (setFallbackFamilies).
//
// Drawn: lines, polylines, polygons, rectangles, ellipses and paths with
// solid, linear- and radial-gradient brushes and solid pens (width, dashes,
// caps, joins, opacity); images as PNG inside the document; clipping and
// affine transforms. Pattern and texture brushes are drawn in their colour.
#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

class SvgPaintEngine;

class SvgPaintDevice : public QPaintDevice
{
public:
    // A picture of size pixels, measured at 96 per inch (the SVG user unit)
    // and titled title.
    explicit SvgPaintDevice(QSize size, QString title = {});
    ~SvgPaintDevice() override;

    // Families named after each text's own, where it does not name them
    // already; a generic family ("serif") belongs last.
    void setFallbackFamilies(const QStringList& families);

    // The whole document once the painter on this device has ended; before
    // that, empty.
    QByteArray document() const;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize size_;
    std::unique_ptr<SvgPaintEngine> engine_;
};
