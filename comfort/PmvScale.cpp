#include "comfort/PmvScale.h"

#include "comfort/Pmv.h"

#include <QPainter>
#include <QPolygon>

QImage ComfortColourBar()
{
    QImage bar(kScaleWidth, kColourBarHeight, QImage::Format_RGB32);
    QPainter p(&bar);
    // Hue from red (0°) through yellow and green to blue (240°), the usual
    // hot-to-cold reading of a sensation scale.
    for (int x = 0; x < kScaleWidth; ++x) {
        const double hue = 240.0 * x / (kScaleWidth - 1);
        p.setPen(QColor::fromHsvF(hue / 360.0, 1.0, 1.0));
        p.drawLine(x, 0, x, kColourBarHeight - 1);
    }
    return bar;
}

QImage PmvMarkerStrip(double pmv)
{
    QImage strip(kScaleWidth, kMarkerStripHeight, QImage::Format_RGB32);
    strip.fill(Qt::white);
    const int x = PmvMarkerX(pmv);
    QPainter p(&strip);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::blue);
    p.drawRect(QRect(QPoint(x - 6, 0), QPoint(x + 6, 5)));
    p.setBrush(Qt::darkCyan); // teal
    p.drawPolygon(QPolygon({QPoint(x - 7, 6), QPoint(x + 7, 6), QPoint(x, 18)}));
    return strip;
}
