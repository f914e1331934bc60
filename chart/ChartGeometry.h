// The i–d chart's frame in image pixels and the mapping between a moist-air
// state (moisture content d, g/kg dry air; enthalpy i, kJ/kg dry air) and a
// pixel of the chart image (x to the right, y downwards, origin top-left).
//
// Lines of constant enthalpy fall 45° to the right: a pixel's height is the
// enthalpy scale sy minus the shear d·sx, so y = Yb − i·sy + d·sx.
#pragma once

#include <QPoint>
#include <QSize>

struct ChartState {
    double d = 0; // moisture content, g/kg dry air
    double i = 0; // enthalpy, kJ/kg dry air
};

class ChartGeometry
{
public:
    static constexpr int X0 = 40;          // x of the left frame edge, where d = 0
    static constexpr int Y0 = 40;          // y of the top frame edge
    static constexpr int W = 600;          // frame width, pixels
    static constexpr int H = 464;          // nominal frame height, pixels
    static constexpr double dmax = 40;     // g/kg at the right frame edge
    static constexpr double sx = W / dmax; // 15 pixels per g/kg
    static constexpr double sy = H / 80.0; // 5.8 pixels per kJ/kg
    // y of i = 0 at d = 0: Y0 + 50·sy truncated. 50 times the double nearest
    // 5.8, formed in extended precision, falls just short of 290, so the sum
    // truncates to 329 rather than 330.
    static constexpr int Yb = 329;
    // The drawn frame stops 70 pixels above the nominal height.
    static constexpr int FrameBottom = Y0 + H - 70; // 434
    static constexpr int FrameRight = X0 + W;       // 640

    // The design size of the chart image.
    static constexpr QSize ImageSize{825, 562};

    // The pixel of a state, each coordinate truncated toward zero. States
    // outside the frame map outside it; nothing is clipped.
    static QPoint StateToPixel(double d, double i);
    static QPoint StateToPixel(ChartState s) { return StateToPixel(s.d, s.i); }
    // The state of a pixel: the exact inverse of StateToPixel before its
    // truncation, as real numbers.
    static ChartState PixelToState(int x, int y);
};

// The local pressures (Pa) the chart is drawn at: from the highest summits
// (about 33 kPa) to deep mines. Within them every line of the grid is
// computed by the moist-air library and stays inside the frame; at 10 kPa the
// humidity curves already run out below it, and far outside the library
// fails.
inline constexpr double LowestChartPressure = 30000;
inline constexpr double HighestChartPressure = 150000;
// Throws UserError for a pressure outside them.
void CheckChartPressure(double pressure);

// Truncates a pixel coordinate toward zero. Non-finite or absurdly large
// values (a typed state far off the chart) are held at ±1e6, which is still
// far outside any image, so that drawing stays defined.
int TruncPixel(double v);
