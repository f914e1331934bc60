#include "app/SvgPaintDevice.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <QTextItem>
#include <climits>
#include <cmath>
#include <optional>
#include <utility>

namespace
{

// SVG's user unit is the CSS pixel, 96 to the inch.
constexpr int kPixelsPerInch = 96;
constexpr double kMillimetresPerInch = 25.4;
// Text runs that QPainter hands over one after the other belong to one
// drawText call when each starts where the last ended; positions are whole
// 64ths of a pixel.
constexpr qreal kRunJoinTolerance = 1.0 / 32;

QByteArray Number(qreal v)
{
    if (std::abs(v - std::round(v)) < 1e-6)
        return QByteArray::number(qint64(std::round(v)));
    QByteArray s = QByteArray::number(v, 'f', 3);
    while (s.endsWith('0'))
        s.chop(1);
    if (s.endsWith('.'))
        s.chop(1);
    return s == "-0" ? QByteArray("0") : s;
}

QByteArray Attribute(const char* name, const QByteArray& value)
{
    return QByteArray(" ") + name + "=\"" + value + '"';
}

// Text as XML character data or an attribute value: markup escaped, and the
// characters XML cannot hold at all replaced.
QByteArray Escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (c.isHighSurrogate() && k + 1 < text.size() && text[k + 1].isLowSurrogate()) {
            out += c;
            out += text[++k];
            continue;
        }
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\t':
            out += QLatin1String("&#9;");
            break;
        case '\n':
            out += QLatin1String("&#10;");
            break;
        case '\r':
            out += QLatin1String("&#13;");
            break;
        default:
            if (c.unicode() < 0x20 || c.isSurrogate() || c.unicode() >= 0xFFFE)
                out += QChar(QChar::ReplacementCharacter);
            else
                out += c;
        }
    }
    return out.toUtf8();
}

QByteArray Colour(const QColor& c)
{
    return c.name(QColor::HexRgb).toLatin1();
}

// A family as CSS names it: generic families bare, others quoted where
// their name is more than one word of letters.
QByteArray CssFamily(const QString& family)
{
    static const QStringList generic{"serif",   "sans-serif", "monospace",
                                     "cursive", "fantasy",    "system-ui"};
    if (generic.contains(family))
        return family.toLatin1();
    bool plain = !family.isEmpty() && !family[0].isDigit();
    for (const QChar c : family)
        plain = plain && (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'));
    if (plain)
        return Escaped(family);
    QString quoted = family;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), "\\'");
    return "'" + Escaped(quoted) + "'";
}

QByteArray Points(const QPointF* points, int count)
{
    QByteArray s;
    for (int k = 0; k < count; ++k)
        s += (k ? " " : "") + Number(points[k].x()) + ',' + Number(points[k].y());
    return s;
}

QByteArray PathData(const QPainterPath& path)
{
    QByteArray d;
    for (int k = 0; k < path.elementCount(); ++k) {
        const QPainterPath::Element e = path.elementAt(k);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            d += 'M';
            break;
        case QPainterPath::LineToElement:
            d += 'L';
            break;
        case QPainterPath::CurveToElement:
            d += 'C';
            break;
        case QPainterPath::CurveToDataElement:
            d += ' ';
            break;
        }
        d += Number(e.x) + ',' + Number(e.y);
    }
    return d;
}

} // namespace

class SvgPaintEngine : public QPaintEngine
{
public:
    SvgPaintEngine(QSize size, QString title)
        : QPaintEngine(AllFeatures & ~(PerspectiveTransform | ConicalGradientFill | PorterDuff)),
          size_(size), title_(std::move(title))
    {
    }

    QStringList fallbacks;
    QByteArray document;

    bool begin(QPaintDevice*) override
    {
        body_.clear();
        document.clear();
        nextId_ = 0;
        clipOpen_ = false;
        run_.reset();
        return true;
    }

    bool end() override
    {
        flushText();
        closeClip();
        QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg";
        head += Attribute("xmlns", "http://www.w3.org/2000/svg");
        head += Attribute("xmlns:xlink", "http://www.w3.org/1999/xlink");
        head += Attribute("version", "1.1");
        head += Attribute("width", QByteArray::number(size_.width()));
        head += Attribute("height", QByteArray::number(size_.height()));
        head += Attribute("viewBox", "0 0 " + QByteArray::number(size_.width()) + ' ' +
                                         QByteArray::number(size_.height()));
        // Han characters take their Simplified Chinese forms.
        head += Attribute("xml:lang", "zh-CN");
        head += ">\n";
        if (!title_.isEmpty())
            head += "<title>" + Escaped(title_) + "</title>\n";
        document = head + body_ + "</svg>\n";
        return true;
    }

    void updateState(const QPaintEngineState& state) override
    {
        const DirtyFlags flags = state.state();
        if (flags & DirtyPen)
            pen_ = state.pen();
        if (flags & DirtyBrush)
            brush_ = state.brush();
        if (flags & DirtyTransform)
            transform_ = state.transform();
        if (flags & DirtyHints)
            hints_ = state.renderHints();
        if (flags & (DirtyClipPath | DirtyClipRegion | DirtyClipEnabled))
            updateClip();
    }

    void drawPath(const QPainterPath& path) override
    {
        element("path", Attribute("d", PathData(path)) + fillRule(path.fillRule()), true, true);
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (mode == PolylineMode) {
            element("polyline", Attribute("points", Points(points, count)), true, false);
            return;
        }
        element("polygon",
                Attribute("points", Points(points, count)) +
                    fillRule(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill),
                true, true);
    }

    void drawLines(const QLineF* lines, int count) override
    {
        for (int k = 0; k < count; ++k)
            element(
                "line",
                Attribute("x1", Number(lines[k].x1())) + Attribute("y1", Number(lines[k].y1())) +
                    Attribute("x2", Number(lines[k].x2())) + Attribute("y2", Number(lines[k].y2())),
                true, false);
    }

    void drawRects(const QRectF* rects, int count) override
    {
        for (int k = 0; k < count; ++k)
            element("rect", box(rects[k]), true, true);
    }

    void drawEllipse(const QRectF& r) override
    {
        element("ellipse",
                Attribute("cx", Number(r.center().x())) + Attribute("cy", Number(r.center().y())) +
                    Attribute("rx", Number(r.width() / 2)) +
                    Attribute("ry", Number(r.height() / 2)),
                true, true);
    }

    void drawPoints(const QPointF* points, int count) override
    {
        if (pen_.style() == Qt::NoPen)
            return;
        const qreal w = std::max<qreal>(1, pen_.widthF());
        for (int k = 0; k < count; ++k) {
            const QRectF dot(points[k] - QPointF(w / 2, w / 2), QSizeF(w, w));
            flushText();
            body_ += "<rect" + box(dot) + paint("fill", pen_.brush()) + transform() + "/>\n";
        }
    }

    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override
    {
        drawImage(r, pm.toImage(), sr, Qt::AutoColor);
    }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags) override
    {
        const QRect source = sr.toAlignedRect();
        const QImage part = source == image.rect() ? image : image.copy(source);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!part.save(&buffer, "PNG"))
            return;
        flushText();
        QByteArray attributes = box(r) + Attribute("preserveAspectRatio", "none");
        if (!(hints_ & QPainter::SmoothPixmapTransform))
            attributes += Attribute("image-rendering", "optimizeSpeed");
        body_ += "<image" + attributes + transform() +
                 Attribute("xlink:href", "data:image/png;base64," + png.toBase64()) + "/>\n";
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        const QString text = item.text();
        if (text.isEmpty() || pen_.style() == Qt::NoPen)
            return;
        const QColor colour = pen_.color();
        const bool continues = run_ && !(item.renderFlags() & QTextItem::RightToLeft) &&
                               run_->transform == transform_ && run_->colour == colour &&
                               run_->font == item.font() &&
                               std::abs(p.y() - run_->start.y()) < kRunJoinTolerance &&
                               std::abs(p.x() - run_->end) < kRunJoinTolerance;
        if (continues) {
            run_->text += text;
        } else {
            flushText();
            run_ = TextRun{p, 0, text, item.font(), colour, transform_};
        }
        run_->end = p.x() + item.width();
    }

    Type type() const override { return User; }

private:
    struct TextRun {
        QPointF start;
        qreal end = 0;
        QString text;
        QFont font;
        QColor colour;
        QTransform transform;
    };

    QByteArray families(const QFont& font) const
    {
        QStringList names = font.families();
        if (names.isEmpty())
            names << font.family();
        for (const QString& f : fallbacks)
            if (!names.contains(f, Qt::CaseInsensitive))
                names << f;
        QByteArray list;
        for (const QString& name : names)
            list += (list.isEmpty() ? "" : ", ") + CssFamily(name);
        return list;
    }

    void flushText()
    {
        if (!run_)
            return;
        const TextRun run = *std::exchange(run_, std::nullopt);
        const QFont& f = run.font;
        const qreal pixels =
            f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * kPixelsPerInch / 72.0;
        QByteArray attributes =
            Attribute("x", Number(run.start.x())) + Attribute("y", Number(run.start.y())) +
            Attribute("font-family", families(f)) + Attribute("font-size", Number(pixels));
        if (f.weight() != QFont::Normal)
            attributes += Attribute("font-weight", QByteArray::number(int(f.weight())));
        if (f.style() != QFont::StyleNormal)
            attributes += Attribute("font-style", "italic");
        attributes += Attribute("fill", Colour(run.colour));
        if (run.colour.alpha() < 255)
            attributes += Attribute("fill-opacity", Number(run.colour.alphaF()));
        attributes += transform(run.transform) + Attribute("xml:space", "preserve");
        body_ += "<text" + attributes + '>' + Escaped(run.text) + "</text>\n";
    }

    void closeClip()
    {
        if (clipOpen_)
            body_ += "</g>\n";
        clipOpen_ = false;
    }

    void updateClip()
    {
        flushText();
        closeClip();
        QPainter* p = painter();
        if (!p || !p->hasClipping())
            return;
        const QPainterPath clip = p->combinedTransform().map(p->clipPath());
        const QByteArray id = "clip" + QByteArray::number(++nextId_);
        body_ += "<clipPath" + Attribute("id", id) + "><path" + Attribute("d", PathData(clip)) +
                 fillRule(clip.fillRule()) + "/></clipPath>\n<g" +
                 Attribute("clip-path", "url(#" + id + ')') + ">\n";
        clipOpen_ = true;
    }

    static QByteArray box(const QRectF& r)
    {
        return Attribute("x", Number(r.x())) + Attribute("y", Number(r.y())) +
               Attribute("width", Number(r.width())) + Attribute("height", Number(r.height()));
    }

    static QByteArray fillRule(Qt::FillRule rule)
    {
        return Attribute("fill-rule", rule == Qt::OddEvenFill ? "evenodd" : "nonzero");
    }

    QByteArray transform(const QTransform& t) const
    {
        if (t.isIdentity())
            return {};
        return Attribute("transform", "matrix(" + Number(t.m11()) + ' ' + Number(t.m12()) + ' ' +
                                          Number(t.m21()) + ' ' + Number(t.m22()) + ' ' +
                                          Number(t.dx()) + ' ' + Number(t.dy()) + ')');
    }
    QByteArray transform() const { return transform(transform_); }

    // fill="…" or stroke="…" for a brush: a colour with its opacity, or a
    // gradient written just before the element.
    QByteArray paint(const char* what, const QBrush& brush)
    {
        const QByteArray opacity = QByteArray(what) + "-opacity";
        switch (brush.style()) {
        case Qt::NoBrush:
            return Attribute(what, "none");
        case Qt::LinearGradientPattern:
        case Qt::RadialGradientPattern:
            return Attribute(what, "url(#" + gradient(*brush.gradient()) + ')');
        default: {
            QByteArray s = Attribute(what, Colour(brush.color()));
            if (brush.color().alpha() < 255)
                s += Attribute(opacity.constData(), Number(brush.color().alphaF()));
            return s;
        }
        }
    }

    QByteArray gradient(const QGradient& g)
    {
        const QByteArray id = "gradient" + QByteArray::number(++nextId_);
        const bool box = g.coordinateMode() == QGradient::ObjectBoundingMode ||
                         g.coordinateMode() == QGradient::ObjectMode;
        // Stretched to the device: the page's size is the unit.
        const qreal sx = g.coordinateMode() == QGradient::StretchToDeviceMode ? size_.width() : 1;
        const qreal sy = g.coordinateMode() == QGradient::StretchToDeviceMode ? size_.height() : 1;
        QByteArray s;
        if (g.type() == QGradient::LinearGradient) {
            const auto& l = static_cast<const QLinearGradient&>(g);
            s = "<linearGradient" + Attribute("x1", Number(l.start().x() * sx)) +
                Attribute("y1", Number(l.start().y() * sy)) +
                Attribute("x2", Number(l.finalStop().x() * sx)) +
                Attribute("y2", Number(l.finalStop().y() * sy));
        } else {
            const auto& r = static_cast<const QRadialGradient&>(g);
            s = "<radialGradient" + Attribute("cx", Number(r.center().x() * sx)) +
                Attribute("cy", Number(r.center().y() * sy)) +
                Attribute("r", Number(r.radius() * std::min(sx, sy))) +
                Attribute("fx", Number(r.focalPoint().x() * sx)) +
                Attribute("fy", Number(r.focalPoint().y() * sy));
        }
        s += Attribute("id", id) +
             Attribute("gradientUnits", box ? "objectBoundingBox" : "userSpaceOnUse") +
             Attribute("spreadMethod", g.spread() == QGradient::ReflectSpread  ? "reflect"
                                       : g.spread() == QGradient::RepeatSpread ? "repeat"
                                                                               : "pad") +
             ">\n";
        for (const QGradientStop& stop : g.stops()) {
            s += "<stop" + Attribute("offset", Number(stop.first)) +
                 Attribute("stop-color", Colour(stop.second));
            if (stop.second.alpha() < 255)
                s += Attribute("stop-opacity", Number(stop.second.alphaF()));
            s += "/>\n";
        }
        s += g.type() == QGradient::LinearGradient ? "</linearGradient>\n" : "</radialGradient>\n";
        body_ += "<defs>\n" + s + "</defs>\n";
        return id;
    }

    QByteArray stroke()
    {
        if (pen_.style() == Qt::NoPen)
            return Attribute("stroke", "none");
        QByteArray s = paint("stroke", pen_.brush().style() == Qt::NoBrush ? QBrush(pen_.color())
                                                                           : pen_.brush());
        // A cosmetic pen is as wide on the page whatever the transform.
        const bool cosmetic = pen_.isCosmetic() || pen_.widthF() == 0;
        const qreal width = pen_.widthF() == 0 ? 1 : pen_.widthF();
        s += Attribute("stroke-width", Number(width));
        if (cosmetic && !transform_.isIdentity())
            s += Attribute("vector-effect", "non-scaling-stroke");
        if (pen_.style() != Qt::SolidLine) {
            QByteArray dashes;
            for (const qreal d : pen_.dashPattern())
                dashes += (dashes.isEmpty() ? "" : ",") + Number(d * width);
            s += Attribute("stroke-dasharray", dashes);
            if (pen_.dashOffset() != 0)
                s += Attribute("stroke-dashoffset", Number(pen_.dashOffset() * width));
        }
        s += Attribute("stroke-linecap", pen_.capStyle() == Qt::FlatCap    ? "butt"
                                         : pen_.capStyle() == Qt::RoundCap ? "round"
                                                                           : "square");
        s += Attribute("stroke-linejoin", pen_.joinStyle() == Qt::RoundJoin   ? "round"
                                          : pen_.joinStyle() == Qt::BevelJoin ? "bevel"
                                                                              : "miter");
        if (pen_.joinStyle() == Qt::MiterJoin || pen_.joinStyle() == Qt::SvgMiterJoin)
            s += Attribute("stroke-miterlimit", Number(pen_.miterLimit()));
        return s;
    }

    // One shape: its own attributes, then its pen and brush.
    void element(const char* name, const QByteArray& attributes, bool stroked, bool filled)
    {
        flushText();
        QByteArray s = QByteArray("<") + name + attributes;
        s += stroked ? stroke() : Attribute("stroke", "none");
        s += filled ? paint("fill", brush_) : Attribute("fill", "none");
        if (!(hints_ & QPainter::Antialiasing))
            s += Attribute("shape-rendering", "crispEdges");
        body_ += s + transform() + "/>\n";
    }

    QSize size_;
    QString title_;
    QByteArray body_;
    QPen pen_;
    QBrush brush_;
    QTransform transform_;
    QPainter::RenderHints hints_;
    std::optional<TextRun> run_;
    bool clipOpen_ = false;
    int nextId_ = 0;
};

SvgPaintDevice::SvgPaintDevice(QSize size, QString title)
    : size_(size), engine_(std::make_unique<SvgPaintEngine>(size, std::move(title)))
{
}

SvgPaintDevice::~SvgPaintDevice() = default;

void SvgPaintDevice::setFallbackFamilies(const QStringList& families)
{
    engine_->fallbacks = families;
}

QByteArray SvgPaintDevice::document() const
{
    return engine_->isActive() ? QByteArray() : engine_->document;
}

QPaintEngine* SvgPaintDevice::paintEngine() const
{
    return engine_.get();
}

int SvgPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return int(std::lround(size_.width() * kMillimetresPerInch / kPixelsPerInch));
    case PdmHeightMM:
        return int(std::lround(size_.height() * kMillimetresPerInch / kPixelsPerInch));
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return kPixelsPerInch;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}
