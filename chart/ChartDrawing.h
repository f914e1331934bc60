// The i–d chart drawn with a QPainter on any paint device: the grid of the
// chart window, the marks and lines the point tools add to it, and the
// placement of the picture on a printed page. No widgets.
#pragma once

#include "chart/ChartGeometry.h"
#include "chart/ChartStates.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;
class ID_lib;

// The chart's colours (red, green, blue).
namespace ChartColors
{
inline constexpr QRgb Black = 0xff000000;
inline constexpr QRgb LightBlue = 0xffa6caf0; // 166, 202, 240: ordinary d lines, isotherms
inline constexpr QRgb Blue = 0xff0000ff;      // every fifth d line and isotherm, every tenth i line
inline constexpr QRgb Green = 0xff008000;     // enthalpy lines, scales and ticks
inline constexpr QRgb Red = 0xffff0000;       // relative-humidity curves, point marks
inline constexpr QRgb White = 0xffffffff;
} // namespace ChartColors

// The chart's text sizes in points, as the drawing asks for them. The two
// smallest are rendered at a legible size (about 7.5 pt); the others as asked.
// Sizes become pixel sizes at 96 pixels per inch, so the picture is the same
// on every device.
QFont ChartFont(int points);
// The font of the scale labels, still in force when the point tools write
// point names.
QFont ChartLabelFont();

// Writes text opaquely with the top-left corner of its cell at (x, y): the
// cell (advance × font height) is filled white first, blanking the lines
// beneath it. The text is black.
void DrawCellText(QPainter& painter, int x, int y, const QString& text);

// Draws the whole grid on painter, whose device is imageSize in logical
// pixels: the picture cleared to white, the frame, the lines of constant d,
// i, t and relative humidity with their scales and labels, the captions and
// the title block with pressureText exactly as typed. lib gives AtmPressure
// and PsychroCoefficient (already set) and is left untouched: the drawing
// computes on a copy. Returns the library's messages, each text once, in the
// order they first came (a pressure far off the library's range would
// otherwise raise the same message hundreds of times).
QStringList DrawChartGrid(QPainter& painter, const ID_lib& lib, const QString& pressureText,
                          QSize imageSize = ChartGeometry::ImageSize,
                          ChartComputation how = ChartComputation::Reduced);

// A fresh white image of ImageSize logical pixels at devicePixelRatio dpr with
// the grid drawn on it. messages (if given) receives DrawChartGrid's result.
QImage RenderChart(const ID_lib& lib, const QString& pressureText, qreal dpr = 1.0,
                   QStringList* messages = nullptr,
                   ChartComputation how = ChartComputation::Reduced);

// Where a point's name goes: the top-left corner of its cell, from the
// point's pixel. The chart window writes every name at this offset; the
// treatment view places each of its letters on its own side of the point.
inline constexpr QPoint PointLabelOffset{-12, -18};

// A named point: a red circle of pen width 2 inscribed in (x−2, y−2)–(x+2,
// y+2), filled white, and the name with its cell's top-left at at +
// labelOffset.
void DrawPointMark(QPainter& painter, QPoint at, const QString& name,
                   QPoint labelOffset = PointLabelOffset);
// Erasing a mark: the same circle in white, and the name's cell blanked (at
// least four spaces wide, as wide as the name when that is wider).
void ErasePointMark(QPainter& painter, QPoint at, const QString& name);
// A straight line between two points, pen width 1: black for the lines the
// user draws, blue for the treatment view's process lines.
void DrawChartLine(QPainter& painter, QPoint from, QPoint to, QRgb colour = ChartColors::Black);

// The least margin of a printed chart, on every side of the paper: 10 mm,
// and never less than 50 printer pixels.
inline constexpr double kChartPrintMarginMm = 10;
inline constexpr int kChartPrintMarginPixels = 50;

// Where a printed picture of picture's size (logical pixels) goes: centred
// on the paper, enlarged by the largest whole factor that leaves the least
// margin between it and each edge of the paper, inside the part the printer
// can draw on; a picture larger than that room is scaled down to it with
// its proportions kept. paper and printable are in
// printer pixels at dpi, printable in the paper's coordinates, as is the
// result. Where the margins leave no room the picture fills the printable
// part instead, centred on it: a printout is never blank. Only an empty
// paper, printable part or picture gives an empty target.
QRect PlaceChartOnPage(QRect paper, QRect printable, int dpi, QSize picture);
