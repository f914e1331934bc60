// Everything a chart picture shows, kept as the steps that drew it, so that
// the same picture can be drawn again on any paint device: a bigger image, an
// SVG or PDF file, the clipboard. No widgets.
//
// A chart window draws only through its list: the grid when the picture is
// started afresh, then each mark, line and erasure as the point tools or the
// process drawing make it. Drawing the list again on an image of the
// window's size and pixel ratio gives the window's picture pixel for pixel.
#pragma once

#include "psychro/ID_lib.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class WeatherYearLayer;

class ChartDisplayList
{
public:
    // One drawing step on a painter whose device is ChartGeometry::ImageSize
    // logical pixels. A step keeps copies of everything it draws.
    using Step = std::function<void(QPainter&)>;

    // Starts a new picture: the grid at lib's AtmPressure and
    // PsychroCoefficient, titled with pressureText as typed, and no steps.
    // The comfort zones' choice is kept.
    void reset(const ID_lib& lib, const QString& pressureText);
    void append(Step step);
    // The library the picture was started at (its AtmPressure and
    // PsychroCoefficient), without a message sink.
    const ID_lib& library() const { return lib_; }

    // The comfort zones of the design code, drawn over the grid beneath every
    // step; off until asked for.
    void setZonesShown(bool shown) { zonesShown_ = shown; }
    bool zonesShown() const { return zonesShown_; }

    // A weather year's hours, drawn over the grid beneath the zones and
    // every step; none until set. Kept by reset(): the owner lays a layer
    // computed afresh when the pressure changes.
    void setWeatherYear(std::shared_ptr<const WeatherYearLayer> layer) { year_ = std::move(layer); }
    void clearWeatherYear() { year_.reset(); }
    const WeatherYearLayer* weatherYear() const { return year_.get(); }

    // The steps after the grid.
    std::size_t stepCount() const { return steps_.size(); }

    // Draws the whole picture: the page cleared to white, the grid, the
    // weather year when set, the zones when shown (with the year's hours in
    // them), then every step in order. Returns the grid's messages
    // (DrawChartGrid); nothing is drawn before reset() but the white page.
    QStringList replay(QPainter& painter) const;
    // A fresh image of ImageSize logical pixels at device pixel ratio dpr
    // with the whole picture on it.
    QImage render(qreal dpr = 1.0, QStringList* messages = nullptr) const;

private:
    bool started_ = false;
    ID_lib lib_;
    QString pressureText_;
    bool zonesShown_ = false;
    std::shared_ptr<const WeatherYearLayer> year_;
    std::vector<Step> steps_;
};
