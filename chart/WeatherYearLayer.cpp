#include "chart/WeatherYearLayer.h"

#include "app/Numbers.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartGeometry.h"
#include "psychro/ID_lib.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <utility>

namespace
{

using G = ChartGeometry;

constexpr double kGramsPerKilogram = 1000;

// The shades: one violet, more opaque the more hours a cell holds. Violet
// stands apart from the grid's red, green and blue lines and from the
// zones' orange and blue; even the darkest lets those lines show through.
constexpr QRgb Shade(int alpha)
{
    return QRgb(unsigned(alpha) << 24 | 0x461e82u); // 70, 30, 130
}

// The free part of the picture right of the frame.
constexpr int kSideLeft = G::FrameRight + 8;
constexpr int kSideWidth = G::ImageSize.width() - kSideLeft - 4;
constexpr int kSwatchWidth = 16;
constexpr int kSwatchGap = 6;
constexpr int kBlockGap = 8;

// The state (t ℃, d g/kg) on the chart, i as the library gives it.
QPoint PixelOf(double t, double d)
{
    static const ID_lib lib;
    return G::StateToPixel(d, lib.EnthalpyFromT_D(t, d / kGramsPerKilogram));
}

// Writes lines one under another from y on; returns the y below the last.
int WriteLines(QPainter& p, int y, const QStringList& lines)
{
    const QFontMetrics fm(p.font(), p.device());
    for (const QString& line : lines) {
        p.drawText(QPoint(kSideLeft, y + fm.ascent()),
                   fm.elidedText(line, Qt::ElideRight, kSideWidth));
        y += fm.height();
    }
    return y;
}

// Where the legend ends (the zone hours follow it).
int LegendBottom(QPainter& p, const QStringList& title)
{
    p.setFont(ChartFont(9));
    const int heading = QFontMetrics(p.font(), p.device()).height();
    p.setFont(ChartLabelFont());
    const int line = QFontMetrics(p.font(), p.device()).height();
    // The heading, the title's lines, the gap, the legend's heading and its
    // shades, the gap.
    const int rows = int(title.size()) + 1 + int(WeatherYearLayer::HourClasses().size());
    return G::Y0 + heading + rows * line + 2 * kBlockGap;
}

// The part of the frame where air can be: above the saturation curve as the
// grid draws it (sampled every 0.5 g/kg), widened by a pixel so that the
// shading meets the curve. Without a pressure, the whole inside of the frame.
QPolygon UnsaturatedPart(double pressure)
{
    // Filled, the polygon covers the pixels of the frame's inside.
    const QRect inside = WeatherYearLayer::FrameInside();
    const QPolygon frame = QPolygon(QRect(inside.topLeft(), inside.size() + QSize(1, 1)));
    if (!(pressure > 0))
        return frame;
    QPolygon part;
    ID_lib lib;
    lib.AtmPressure = pressure;
    lib.PsychroCoefficient = kPsychroCoefficient;
    QPolygon curve;
    for (int n = 1; n <= 2 * int(G::dmax); ++n) {
        const double d = n / 2.0;
        if (!lib.StateFromD_RH(100, d / kGramsPerKilogram))
            return frame;
        curve << G::StateToPixel(d, lib.CurrentState.i) + QPoint(1, 1);
    }
    part << QPoint(G::X0, G::Y0) << QPoint(G::X0, std::max(curve.first().y(), G::FrameBottom))
         << curve << QPoint(G::FrameRight, std::min(curve.last().y(), G::Y0))
         << QPoint(G::FrameRight, G::Y0);
    return part.intersected(frame);
}

} // namespace

QString WeatherHourClass::text() const
{
    if (most < 0)
        return QStringLiteral(">%1").arg(least - 1);
    return QStringLiteral("%1–%2").arg(least).arg(most);
}

WeatherYearLayer::WeatherYearLayer(WeatherBinTables bins, std::vector<ZoneHours> zones)
    : bins_(std::move(bins)), zones_(std::move(zones))
{
    // Each cell cut to the frame's inside above the saturation curve, once:
    // the picture files draw the shapes as they are, without clipping.
    const QPolygon part = UnsaturatedPart(bins_.pressure);
    for (const WeatherBinTables::Cell& cell : bins_.cells) {
        if (cell.hours <= 0 || !CellOnChart(cell.t, cell.d))
            continue;
        drawn_ += cell.hours;
        QPolygon shape = CellPolygon(cell.t, cell.d);
        const bool whole = std::all_of(shape.begin(), shape.end(), [&](const QPoint& corner) {
            return part.containsPoint(corner, Qt::OddEvenFill);
        });
        if (!whole)
            shape = shape.intersected(part);
        if (!shape.isEmpty())
            shapes_.push_back({std::move(shape), HourClassOf(cell.hours)});
    }
}

const std::array<WeatherHourClass, 5>& WeatherYearLayer::HourClasses()
{
    static const std::array<WeatherHourClass, 5> classes{{
        {1, 5, Shade(36)},
        {6, 20, Shade(72)},
        {21, 50, Shade(108)},
        {51, 100, Shade(144)},
        {101, -1, Shade(180)},
    }};
    return classes;
}

int WeatherYearLayer::HourClassOf(long long hours)
{
    const auto& classes = HourClasses();
    for (int k = 0; k < int(classes.size()); ++k)
        if (classes[k].most < 0 || hours <= classes[k].most)
            return k;
    return int(classes.size()) - 1;
}

QPolygon WeatherYearLayer::CellPolygon(int t, int d)
{
    QPolygon cell;
    cell << PixelOf(t, d) << PixelOf(t, d + 1) << PixelOf(t + 1, d + 1) << PixelOf(t + 1, d);
    return cell;
}

bool WeatherYearLayer::CellOnChart(int t, int d)
{
    return FrameInside().contains(PixelOf(t + 0.5, d + 0.5));
}

QRect WeatherYearLayer::FrameInside()
{
    return QRect(QPoint(G::X0 + 1, G::Y0 + 1), QPoint(G::FrameRight - 1, G::FrameBottom - 1));
}

QStringList WeatherYearLayer::titleLines() const
{
    return {QStringLiteral("气象年：") + bins_.station, bins_.filter.text(),
            QStringLiteral("图中小时数：%1").arg(hoursDrawn()),
            QStringLiteral("图外小时数：%1").arg(hoursOutside())};
}

QStringList WeatherYearLayer::zoneLines() const
{
    QStringList lines;
    for (const ZoneHours& zone : zones_)
        lines << QStringLiteral("%1 %2时 %3%")
                     .arg(zone.name)
                     .arg(zone.hours)
                     .arg(zone.share * 100, 0, 'f', 1);
    return lines;
}

void WeatherYearLayer::draw(QPainter& painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    const auto& classes = HourClasses();
    for (const Shape& shape : shapes_) {
        painter.setBrush(QColor::fromRgba(classes[shape.shade].colour));
        painter.drawPolygon(shape.outline);
    }

    // The title block (the station under its heading), then the legend,
    // right of the frame.
    QStringList title = titleLines();
    title.first() = bins_.station;
    painter.setPen(QColor(Qt::black));
    painter.setFont(ChartFont(9));
    int y = WriteLines(painter, G::Y0, {QStringLiteral("气象年")});
    painter.setFont(ChartLabelFont());
    y = WriteLines(painter, y, title);
    y += kBlockGap;
    y = WriteLines(painter, y, {QStringLiteral("每格小时数：")});
    const QFontMetrics fm(painter.font(), painter.device());
    for (const WeatherHourClass& c : classes) {
        const QRect swatch(kSideLeft, y + 2, kSwatchWidth, fm.height() - 4);
        painter.fillRect(swatch, QColor::fromRgba(c.colour));
        painter.drawText(QPoint(kSideLeft + kSwatchWidth + kSwatchGap, y + fm.ascent()), c.text());
        y += fm.height();
    }
    painter.restore();
}

void WeatherYearLayer::drawZoneHours(QPainter& painter) const
{
    if (zones_.empty())
        return;
    painter.save();
    const int top = LegendBottom(painter, titleLines());
    painter.setPen(QColor(Qt::black));
    painter.setFont(ChartLabelFont());
    WriteLines(painter, top, QStringList{QStringLiteral("舒适区小时数：")} + zoneLines());
    painter.restore();
}

QStringList WeatherYearReportLines(const WeatherYearLayer& layer, bool zonesShown,
                                   const WeatherDesignValues* design)
{
    const QString indent = QStringLiteral(" "), item = QStringLiteral("   ");
    QStringList lines{QStringLiteral(" ")};
    for (const QString& line : layer.titleLines())
        lines << indent + line;
    if (zonesShown && !layer.zoneHours().empty()) {
        lines << indent + QStringLiteral("舒适区小时数（GB 50736-2012）：");
        for (const QString& line : layer.zoneLines())
            lines << item + line;
    }
    if (design) {
        const auto value = [](const std::optional<double>& v, const QString& unit) {
            return v ? FormatNumber(*v, QStringLiteral("0.0")) + unit
                     : QStringLiteral("数据不足，无法求得");
        };
        const QString celsius = QStringLiteral("℃");
        lines << indent + QStringLiteral("由该年逐时数据求得的室外计算参数（大气压力%1Pa）：")
                              .arg(FormatNumber(design->pressure, QStringLiteral("0")))
              << item + QStringLiteral("夏季空调室外计算干球温度：") +
                     value(design->summerDryBulb, celsius)
              << item + QStringLiteral("夏季空调室外计算湿球温度：") +
                     value(design->summerWetBulb, celsius)
              << item + QStringLiteral("冬季空调室外计算温度：") +
                     value(design->winterAirConditioning, celsius)
              << item + QStringLiteral("冬季空调室外计算相对湿度：") +
                     value(design->winterRelativeHumidity, QStringLiteral("%"))
              << item + QStringLiteral("冬季供暖室外计算温度：") + value(design->heating, celsius);
    }
    return lines;
}
