#include "chart/ChartDrawing.h"

#include "psychro/ID_lib.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace
{

using G = ChartGeometry;

constexpr double kPixelsPerPoint = 96.0 / 72.0;
// The legible size the two smallest sizes are rendered at, pixels (7.5 pt).
constexpr int kSmallTextPixels = 10;
// Sizes up to this are drawn at kSmallTextPixels.
constexpr int kSmallestSizes = 2;

// The enthalpy scales are the lines d = (i + 16)/4 below 50 kJ/kg and
// d = (i + 22)/4 from 50 up; every tenth enthalpy line runs on to them.
double LowerScaleD(double i)
{
    return (i + 16) / 4;
}
double UpperScaleD(double i)
{
    return (i + 22) / 4;
}

// Isotherm enthalpy: dry air plus vapour, with the latent heat rounded to
// 2500 kJ/kg as the chart has always been drawn (the library uses 2501).
constexpr double kCpDryAir = 1.01;        // kJ/(kg·K)
constexpr double kCpVapour = 1.84;        // kJ/(kg·K)
constexpr double kChartLatentHeat = 2500; // kJ/kg

class GridPainter
{
public:
    GridPainter(QPainter& p, ID_lib& lib, ChartComputation how)
        : p_(p), states_(lib, how), reduced_(how == ChartComputation::Reduced)
    {
    }

    void pen(QRgb colour)
    {
        QPen pen(QColor::fromRgb(colour));
        pen.setWidth(1);
        p_.setPen(pen);
    }
    void line(QPoint a, QPoint b) { p_.drawLine(a, b); }
    void line(int x1, int y1, int x2, int y2) { p_.drawLine(x1, y1, x2, y2); }
    void font(int points) { p_.setFont(ChartFont(points)); }
    void text(int x, int y, const QString& s) { DrawCellText(p_, x, y, s); }
    void text(QPoint at, const QString& s) { text(at.x(), at.y(), s); }

    void clear(QSize size) { p_.fillRect(QRect(QPoint(0, 0), size), QColor(Qt::white)); }
    void frameTopLeft();
    void axisCaptions();
    void titleBlock(const QString& pressureText);
    void moistureLines();
    void moistureScale();
    void lowerEnthalpyLines();
    void lowerEnthalpyScale();
    void upperEnthalpyLines();
    void upperEnthalpyScale();
    void isotherms();
    void temperatureScale();
    void humidityCurves();
    void humidityLabels();
    void closeFrame();

private:
    QPainter& p_;
    ChartStates states_;
    bool reduced_;
};

void GridPainter::frameTopLeft()
{
    font(1);
    pen(ChartColors::Black);
    line(G::X0, G::Y0, G::X0, G::Y0 + G::H);
    line(G::X0, G::Y0, G::X0 + G::W, G::Y0);
}

void GridPainter::axisCaptions()
{
    font(1);
    text(G::X0 + G::W / 2 - 70, G::Y0 - 35, QStringLiteral("含湿量 (g/kg干空气)"));
    // The dry-bulb caption runs down the left margin, one character a line.
    const int x = G::X0 - 31, top = G::Y0 + G::H / 2 - 115;
    const QString down[] = {QStringLiteral("干"), QStringLiteral("球"), QStringLiteral("温"),
                            QStringLiteral("度")};
    for (int k = 0; k < 4; ++k)
        text(x, top + 15 * k, down[k]);
    text(G::X0 - 35, top + 60, QStringLiteral("(℃)"));
    // The enthalpy caption climbs beside the lower enthalpy scale.
    struct Piece {
        int dx, dy;
        const char16_t* s;
    };
    static constexpr Piece stair[] = {{120, 333, u"焓"}, {132, 326, u"(kj"}, {145, 319, u"/kg"},
                                      {165, 312, u"干"}, {178, 305, u"空"},  {191, 298, u"气)"}};
    for (const Piece& piece : stair)
        text(G::X0 + piece.dx, G::Y0 + piece.dy, QString::fromUtf16(piece.s));
}

void GridPainter::titleBlock(const QString& pressureText)
{
    font(10);
    text(G::X0 + 400, G::Y0 + 310, QStringLiteral("湿空气焓湿图"));
    font(6);
    text(G::X0 + 400, G::Y0 + 330, QStringLiteral("大气压:") + pressureText + QStringLiteral("Pa"));
    font(8);
    text(G::X0 + 470, G::Y0 + 370, QStringLiteral("岚禾暖通空调计算软件"));
}

// Lines of constant d from the top edge down to the saturation curve.
void GridPainter::moistureLines()
{
    for (int d = 1; d <= 39; ++d) {
        const double iSat = states_.EnthalpyFromD_RH(100, d / 1000.0);
        pen(d % 5 == 0 ? ChartColors::Blue : ChartColors::LightBlue);
        line(QPoint(TruncPixel(G::X0 + d * G::sx), G::Y0), G::StateToPixel(d, iSat));
    }
}

void GridPainter::moistureScale()
{
    font(2);
    for (int k = 0; k <= 8; ++k)
        text(TruncPixel(5 * k * G::sx) + G::X0 - 5, G::Y0 - 16, QString::number(5 * k));
}

// Enthalpy lines from the left edge to the saturation curve; every tenth one
// is blue and runs on past the curve to the lower scale.
void GridPainter::lowerEnthalpyLines()
{
    for (int i = 0; i <= 49; ++i) {
        const bool tenth = i % 10 == 0;
        double dEnd = 0;
        if (!tenth || !reduced_) {
            const double dSat = states_.SaturationMoistureAtI(i) * 1000;
            dEnd = dSat;
        }
        pen(tenth ? ChartColors::Blue : ChartColors::Green);
        if (tenth)
            dEnd = LowerScaleD(i);
        line(QPoint(G::X0, TruncPixel(G::Yb - i * G::sy)), G::StateToPixel(dEnd, i));
    }
}

void GridPainter::lowerEnthalpyScale()
{
    pen(ChartColors::Green);
    line(G::StateToPixel(LowerScaleD(0), 0), G::StateToPixel(LowerScaleD(50), 50));
    // A quarter-g/kg stub of every whole enthalpy line, ending on the scale.
    for (int n = 0; n <= 50; ++n)
        line(G::StateToPixel((n + 15) / 4.0, n), G::StateToPixel(LowerScaleD(n), n));
    for (int i = 0; i <= 40; i += 10)
        text(G::StateToPixel(LowerScaleD(i), i), QString::number(i));
}

// Enthalpy lines from 50 kJ/kg up, starting on the top edge. The start is
// taken at X0 + j·sy as the chart has always had it; with Yb = 329 the exact
// meeting point lies one pixel further right.
void GridPainter::upperEnthalpyLines()
{
    for (int j = 0; j <= 104; ++j) {
        const int i = 50 + j;
        const bool tenth = i % 10 == 0;
        double dEnd = 0;
        if (!tenth || !reduced_)
            dEnd = states_.SaturationMoistureAtI(i) * 1000;
        pen(tenth ? ChartColors::Blue : ChartColors::Green);
        if (tenth)
            dEnd = UpperScaleD(i);
        if (dEnd * G::sx > G::W)
            dEnd = G::dmax; // ends on the right edge
        line(QPoint(TruncPixel(G::X0 + j * G::sy), G::Y0), G::StateToPixel(dEnd, i));
    }
}

void GridPainter::upperEnthalpyScale()
{
    pen(ChartColors::Green);
    line(G::StateToPixel(UpperScaleD(50), 50), G::StateToPixel(UpperScaleD(138), 138));
    for (int i = 50; i <= 138; ++i)
        line(G::StateToPixel((i + 21) / 4.0, i), G::StateToPixel(UpperScaleD(i), i));
    for (int i = 50; i <= 130; i += 10)
        text(G::StateToPixel(UpperScaleD(i), i), QString::number(i));
}

// Isotherms are straight: from the left edge (d = 0, i = 1.01·t) to the
// saturation curve, or to the right edge from 40 ℃ up.
void GridPainter::isotherms()
{
    for (int t = -15; t <= 49; ++t) {
        pen(t % 5 == 0 ? ChartColors::Blue : ChartColors::LightBlue);
        const double dSat = std::min(states_.SaturationMoistureAtT(t) * 1000, G::dmax);
        const double i0 = kCpDryAir * t;
        const double iEnd = kCpDryAir * t + (kCpVapour * t + kChartLatentHeat) * dSat / 1000;
        line(QPoint(G::X0, TruncPixel(G::Yb - i0 * G::sy)), G::StateToPixel(dSat, iEnd));
    }
}

void GridPainter::temperatureScale()
{
    font(2);
    for (int t = -15; t <= 45; t += 5) {
        // Labels right-aligned by hand against the left edge.
        const int x = t >= 10   ? G::X0 - 15
                      : t >= 0  ? G::X0 - 10
                      : t == -5 ? G::X0 - 13
                                : G::X0 - 20;
        text(x, TruncPixel(G::Yb - kCpDryAir * t * G::sy) - 8, QString::number(t));
    }
}

// Each curve is a polyline over d = 0.5, 1.0, …, 40.0 g/kg that stops at its
// last point below the top edge.
void GridPainter::humidityCurves()
{
    pen(ChartColors::Red);
    QPolygon curve;
    for (int RH = 10; RH <= 100; RH += 5) {
        curve.clear();
        curve << G::StateToPixel(0.5, states_.EnthalpyFromD_RH(RH, 0.0005));
        for (int n = 2; n <= 80; ++n) {
            const double d = n / 2.0;
            const double i = states_.EnthalpyFromD_RH(RH, d / 1000);
            const int y = TruncPixel(G::Yb - i * G::sy + d * G::sx);
            if (y < G::Y0 + 1)
                break;
            curve << QPoint(TruncPixel(G::X0 + d * G::sx), y);
        }
        p_.drawPolyline(curve);
    }
}

// The labels sit along a geometric series of d that crowds toward the right,
// where the curves close up; 70–95 % would not fit and are left unlabelled.
void GridPainter::humidityLabels()
{
    double step = 5.7, p = 0; // g/kg
    for (int RH = 10; RH <= 100; RH += 5) {
        step *= 0.876;
        p += step;
        const bool labelled = RH <= 65 || RH == 100;
        if (!labelled && reduced_)
            continue;
        const double i = states_.EnthalpyFromD_RH(RH, p / 1000);
        if (labelled)
            text(TruncPixel(G::X0 + p * G::sx - 6), TruncPixel(G::Yb - i * G::sy + p * G::sx) - 5,
                 QString::number(RH));
    }
}

// The bottom edge is drawn 70 pixels above the nominal height; the left edge
// below it is erased with the lower-left corner.
void GridPainter::closeFrame()
{
    p_.fillRect(QRect(QPoint(G::X0 - 2, G::FrameBottom), QPoint(99, 599)), QColor(Qt::white));
    pen(ChartColors::Black);
    line(G::X0, G::FrameBottom, G::FrameRight, G::FrameBottom);
    line(G::FrameRight, G::Y0, G::FrameRight, G::FrameBottom);
}

} // namespace

QFont ChartFont(int points)
{
    // The window's face first; the CJK faces stand in where it is missing.
    QFont f;
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                   QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    f.setPixelSize(points <= kSmallestSizes ? kSmallTextPixels
                                            : int(std::lround(points * kPixelsPerPoint)));
    return f;
}

QFont ChartLabelFont()
{
    return ChartFont(2);
}

void DrawCellText(QPainter& painter, int x, int y, const QString& text)
{
    const QFontMetrics fm(painter.font(), painter.device());
    painter.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), QColor(Qt::white));
    const QPen saved = painter.pen();
    painter.setPen(QColor(Qt::black));
    painter.drawText(QPoint(x, y + fm.ascent()), text);
    painter.setPen(saved);
}

QStringList DrawChartGrid(QPainter& painter, const ID_lib& lib, const QString& pressureText,
                          QSize imageSize, ChartComputation how)
{
    ID_lib work = lib;
    QStringList messages;
    work.setMessageSink([&messages](const std::string& text, ID_lib::MessageKind) {
        const QString s = QString::fromStdString(text);
        if (!messages.contains(s))
            messages << s;
    });

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    GridPainter g(painter, work, how);
    g.clear(imageSize);
    g.frameTopLeft();
    g.axisCaptions();
    g.titleBlock(pressureText);
    g.moistureLines();
    g.moistureScale();
    g.lowerEnthalpyLines();
    g.lowerEnthalpyScale();
    g.upperEnthalpyLines();
    g.upperEnthalpyScale();
    g.isotherms();
    g.temperatureScale();
    g.humidityCurves();
    g.humidityLabels();
    g.closeFrame();
    painter.restore();
    return messages;
}

QImage RenderChart(const ID_lib& lib, const QString& pressureText, qreal dpr, QStringList* messages,
                   ChartComputation how)
{
    const QSize logical = ChartGeometry::ImageSize;
    QImage image(int(std::ceil(logical.width() * dpr)), int(std::ceil(logical.height() * dpr)),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QStringList shown = DrawChartGrid(painter, lib, pressureText, logical, how);
    if (messages)
        *messages = shown;
    return image;
}

void DrawPointMark(QPainter& painter, QPoint at, const QString& name, QPoint labelOffset)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor::fromRgb(ChartColors::Red), 2));
    painter.setBrush(QColor(Qt::white));
    painter.drawEllipse(at, 2, 2);
    painter.setFont(ChartLabelFont());
    const QPoint cell = at + labelOffset;
    DrawCellText(painter, cell.x(), cell.y(), name);
    painter.restore();
}

void ErasePointMark(QPainter& painter, QPoint at, const QString& name)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(Qt::white), 2));
    painter.setBrush(QColor(Qt::white));
    painter.drawEllipse(at, 2, 2);
    painter.setFont(ChartLabelFont());
    // Four spaces blank a name only as wide as they are; the name's own cell
    // and any ink its glyphs put beyond the cell go too.
    const QFontMetrics fm(painter.font(), painter.device());
    const QPoint cell = at + PointLabelOffset;
    const QString blank(4, QLatin1Char(' '));
    const int width = std::max(fm.horizontalAdvance(blank), fm.horizontalAdvance(name));
    const QRect ink = fm.boundingRect(name).translated(cell + QPoint(0, fm.ascent()));
    painter.fillRect(QRect(cell, QSize(width, fm.height())) | ink, QColor(Qt::white));
    painter.restore();
}

void DrawChartLine(QPainter& painter, QPoint from, QPoint to, QRgb colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor::fromRgb(colour), 1));
    painter.drawLine(from, to);
    painter.restore();
}

QRect PlaceChartOnPage(QRect paper, QRect printable, int dpi, QSize picture)
{
    if (paper.isEmpty() || printable.isEmpty() || picture.isEmpty() || dpi <= 0)
        return {};
    const int margin =
        std::max(kChartPrintMarginPixels, int(std::ceil(kChartPrintMarginMm / 25.4 * dpi)));
    // Twice the centre, and the room as the width and height of the largest
    // rectangle about that centre that stays within both limits, so that
    // every step is whole.
    const auto room = [](int centre2, int low, int high) {
        return std::max(0, std::min(centre2 - 2 * low, 2 * high - centre2));
    };
    int cx2 = 2 * paper.x() + paper.width(), cy2 = 2 * paper.y() + paper.height();
    int roomW =
        room(cx2, std::max(paper.x() + margin, printable.x()),
             std::min(paper.x() + paper.width() - margin, printable.x() + printable.width()));
    int roomH =
        room(cy2, std::max(paper.y() + margin, printable.y()),
             std::min(paper.y() + paper.height() - margin, printable.y() + printable.height()));
    if (roomW == 0 || roomH == 0) {
        cx2 = 2 * printable.x() + printable.width();
        cy2 = 2 * printable.y() + printable.height();
        roomW = printable.width();
        roomH = printable.height();
    }
    const qint64 w = picture.width(), h = picture.height();
    // Enlarged by a whole factor, so that every pixel of the picture prints
    // the same size; only a picture larger than the room is scaled down.
    const qint64 k = std::min(roomW / w, roomH / h);
    qint64 targetW = k * w, targetH = k * h;
    if (k == 0) {
        targetW = roomW;
        targetH = roomH;
        if (roomW * h <= roomH * w)
            targetH = std::max<qint64>(1, roomW * h / w);
        else
            targetW = std::max<qint64>(1, roomH * w / h);
    }
    return QRect(int((cx2 - targetW) / 2), int((cy2 - targetH) / 2), int(targetW), int(targetH));
}
