#include "app/ApplicationIcon.h"

#include <QIconEngine>
#include <QImageReader>
#include <QPixmap>
#include <optional>

namespace
{
// The icon's pictures are read when something first asks for them (the
// window system, for the windows' frames): a platform that shows no window
// icon never decodes one.
class ApplicationIconEngine : public QIconEngine
{
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return false; }
    QIconEngine* clone() const override { return new ApplicationIconEngine(*this); }

private:
    const QIcon& icon()
    {
        if (!icon_) {
            icon_.emplace();
            for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
                icon_->addPixmap(QPixmap::fromImage(
                    BuiltInPng(QStringLiteral(":/icons/ventacalc-%1.png").arg(size))));
        }
        return *icon_;
    }

    std::optional<QIcon> icon_;
};
} // namespace

QIcon ApplicationIcon()
{
    return QIcon(new ApplicationIconEngine);
}

QImage BuiltInPng(const QString& resource)
{
    QImageReader reader(resource, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}
