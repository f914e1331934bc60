#include "app/ApplicationIcon.h"

#include <QImageReader>
#include <QPixmap>

QIcon ApplicationIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(
            QPixmap::fromImage(BuiltInPng(QStringLiteral(":/icons/ventacalc-%1.png").arg(size))));
    return icon;
}

QImage BuiltInPng(const QString& resource)
{
    QImageReader reader(resource, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}
