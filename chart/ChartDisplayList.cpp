#include "chart/ChartDisplayList.h"

#include "chart/ChartDrawing.h"
#include "chart/ComfortZones.h"
#include "chart/WeatherYearLayer.h"

#include <QPainter>
#include <cmath>

void ChartDisplayList::reset(const ID_lib& lib, const QString& pressureText)
{
    lib_ = lib;
    // The grid reports its messages to whoever draws it; a copy keeps no
    // sink of the window's.
    lib_.setMessageSink({});
    pressureText_ = pressureText;
    steps_.clear();
    started_ = true;
}

void ChartDisplayList::append(Step step)
{
    steps_.push_back(std::move(step));
}

QStringList ChartDisplayList::replay(QPainter& painter) const
{
    const QSize size = ChartGeometry::ImageSize;
    if (!started_) {
        painter.fillRect(QRect(QPoint(0, 0), size), QColor(Qt::white));
        return {};
    }
    const QStringList messages = DrawChartGrid(painter, lib_, pressureText_, size);
    if (year_)
        year_->draw(painter);
    if (zonesShown_) {
        DrawComfortZones(painter, ComfortZoneOutlines(lib_));
        if (year_)
            year_->drawZoneHours(painter);
    }
    for (const Step& step : steps_)
        step(painter);
    return messages;
}

QImage ChartDisplayList::render(qreal dpr, QStringList* messages) const
{
    const QSize logical = ChartGeometry::ImageSize;
    QImage image(int(std::ceil(logical.width() * dpr)), int(std::ceil(logical.height() * dpr)),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QStringList shown = replay(painter);
    if (messages)
        *messages = shown;
    return image;
}
