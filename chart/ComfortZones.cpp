#include "chart/ComfortZones.h"

#include "chart/ChartDrawing.h"
#include "chart/ChartGeometry.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace
{

// g/kg per kg/kg: the chart counts moisture in g/kg, the library in kg/kg.
constexpr double kGramsPerKilogram = 1000;
// The humidity curves are sampled this often along the temperature, ℃: at
// most about a pixel apart on the chart, so the outline follows the curve the
// grid draws.
constexpr double kCurveStep = 0.25;

// The regions' colours: warm for heating, cool for cooling; level I more
// opaque than level II, so that neighbouring regions stay apart.
constexpr QRgb kHeatingColour = 0xffe07000;
constexpr QRgb kCoolingColour = 0xff0070e0;
constexpr int kLevelOneAlpha = 90;
constexpr int kLevelTwoAlpha = 45;
// The labels' colour: the region's, darker by this factor (%) to stand out.
constexpr int kLabelDarker = 160;
const QColor kLabelVeil(255, 255, 255, 200);

QPoint PixelOf(ID_lib& lib, double t, double RH)
{
    lib.StateFromRH_T(t, RH);
    return ChartGeometry::StateToPixel(lib.CurrentState.d * kGramsPerKilogram, lib.CurrentState.i);
}

// The points of the RH curve from t1 to t2 (either way), ends included.
void AppendCurve(QPolygon& outline, ID_lib& lib, double RH, double t1, double t2)
{
    const int steps = std::max(1, int(std::ceil(std::abs(t2 - t1) / kCurveStep)));
    for (int k = 0; k <= steps; ++k)
        outline << PixelOf(lib, t1 + (t2 - t1) * k / steps, RH);
}

} // namespace

const std::array<ComfortZone, 4>& ComfortZones()
{
    // GB 50736-2012 table 3.0.2: indoor design parameters of comfort air
    // conditioning for long stays. No humidity limit is 0–100 %.
    static const std::array<ComfortZone, 4> zones{{
        {ComfortZone::Heating, 1, 22, 24, 30, 100, 0.2, u"冬季Ⅰ级"},
        {ComfortZone::Heating, 2, 18, 22, 0, 100, 0.2, u"冬季Ⅱ级"},
        {ComfortZone::Cooling, 1, 24, 26, 40, 60, 0.25, u"夏季Ⅰ级"},
        {ComfortZone::Cooling, 2, 26, 28, 0, 70, 0.3, u"夏季Ⅱ级"},
    }};
    return zones;
}

std::vector<ComfortZoneOutline> ComfortZoneOutlines(const ID_lib& lib)
{
    ID_lib work = lib;
    work.setMessageSink({});
    std::vector<ComfortZoneOutline> outlines;
    for (const ComfortZone& zone : ComfortZones()) {
        ComfortZoneOutline o;
        o.zone = &zone;
        o.corners = {PixelOf(work, zone.tLow, zone.RHLow), PixelOf(work, zone.tLow, zone.RHHigh),
                     PixelOf(work, zone.tHigh, zone.RHHigh), PixelOf(work, zone.tHigh, zone.RHLow)};
        // Isotherms are straight on the chart: their two corners are enough.
        o.outline << o.corners[0];
        AppendCurve(o.outline, work, zone.RHHigh, zone.tLow, zone.tHigh);
        AppendCurve(o.outline, work, zone.RHLow, zone.tHigh, zone.tLow);
        outlines.push_back(o);
    }
    return outlines;
}

void DrawComfortZones(QPainter& painter, const std::vector<ComfortZoneOutline>& outlines)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const ComfortZoneOutline& o : outlines) {
        QColor colour = QColor::fromRgb(o.zone->season == ComfortZone::Heating ? kHeatingColour
                                                                               : kCoolingColour);
        painter.setPen(QPen(colour, 1));
        colour.setAlpha(o.zone->level == 1 ? kLevelOneAlpha : kLevelTwoAlpha);
        painter.setBrush(colour);
        painter.drawPolygon(o.outline);
    }
    // Each label is centred among its region's corners, in the middle of
    // its band.
    painter.setFont(ChartLabelFont());
    const QFontMetrics fm(painter.font(), painter.device());
    for (const ComfortZoneOutline& o : outlines) {
        painter.setPen(QColor::fromRgb(o.zone->season == ComfortZone::Heating ? kHeatingColour
                                                                              : kCoolingColour)
                           .darker(kLabelDarker));
        QPoint centre;
        for (const QPoint& corner : o.corners)
            centre += corner;
        centre /= int(o.corners.size());
        const QString label = QString::fromUtf16(o.zone->label);
        const QRect ink = fm.boundingRect(label);
        const QPoint baseline = centre - QPoint(ink.width() / 2, ink.center().y());
        // A veil over the grid lines beneath keeps the label legible.
        painter.fillRect(ink.translated(baseline).adjusted(-1, -1, 1, 1), kLabelVeil);
        painter.drawText(baseline, label);
    }
    painter.restore();
}
