// A weather year on the i–d chart: the hours of its bin table (1 ℃ × 1 g/kg
// cells at the chart's local pressure) drawn as shaded cells under the state
// points and over the grid, with its title block, a legend of hours and, with
// the comfort zones shown, the hours inside each zone. No widgets.
#pragma once

#include "weather/WeatherYearFigures.h"

#include <QPolygon>
#include <QRect>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class QPainter;

// One shade of the legend: the cells holding least…most hours (most < 0: no
// upper limit) in colour, whose alpha lets the grid show through.
struct WeatherHourClass {
    long long least;
    long long most;
    QRgb colour;
    QString text() const; // "1–5", ">100"
};

class WeatherYearLayer
{
public:
    // The cells are bins' own (computed at the chart's pressure); zones are
    // CountZoneHours of the same year and filter, written beside the chart
    // when the zones are shown.
    explicit WeatherYearLayer(WeatherBinTables bins, std::vector<ZoneHours> zones = {});

    // The shades light to dark: 1–5, 6–20, 21–50, 51–100 and more than 100
    // hours in a cell.
    static const std::array<WeatherHourClass, 5>& HourClasses();
    // The index in HourClasses() of a cell with hours (≥ 1).
    static int HourClassOf(long long hours);

    // The cell [t, t+1) ℃ × [d, d+1) g/kg on the chart: the states (t, d),
    // (t, d+1), (t+1, d+1), (t+1, d) through ChartGeometry::StateToPixel, i
    // from the moist-air library's enthalpy expression. Isotherms are straight
    // on the chart, so the four corners bound the cell exactly.
    static QPolygon CellPolygon(int t, int d);
    // Whether a cell is on the chart: its centre lies inside the frame. Cells
    // off it are not drawn and their hours count as outside.
    static bool CellOnChart(int t, int d);
    // The inside of the frame, where the cells are drawn.
    static QRect FrameInside();

    const WeatherBinTables& bins() const { return bins_; }
    const std::vector<ZoneHours>& zoneHours() const { return zones_; }
    // Hours of the filter in cells on the chart.
    long long hoursDrawn() const { return drawn_; }
    // Hours of the filter that are not drawn: not computed by the library or
    // in cells off the chart.
    long long hoursOutside() const { return bins_.hours - drawn_; }

    // The title block: "气象年：<station>", the filter, "图中小时数：<n>",
    // "图外小时数：<n>" (beside the chart the station goes under a heading
    // "气象年").
    QStringList titleLines() const;
    // The zone hours as written: "<zone> <n>时 <share>%", one a zone.
    QStringList zoneLines() const;

    // The cells, clipped to the frame's inside above the saturation curve,
    // then the title block and the legend right of the frame.
    void draw(QPainter& painter) const;
    // The hours of each comfort zone, below the legend.
    void drawZoneHours(QPainter& painter) const;

private:
    WeatherBinTables bins_;
    std::vector<ZoneHours> zones_;
    long long drawn_ = 0;
    // The cells drawn, each cut to the frame above the saturation curve.
    struct Shape {
        QPolygon outline;
        int shade; // in HourClasses()
    };
    std::vector<Shape> shapes_;
};

// The year in the chart window's point report: the title block, with
// zonesShown the hours of each zone, and the design values of the year when
// given.
QStringList WeatherYearReportLines(const WeatherYearLayer& layer, bool zonesShown,
                                   const WeatherDesignValues* design = nullptr);
