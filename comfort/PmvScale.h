// The thermal sensation scale beside the results: a colour bar from hot (red,
// left) to cold (blue, right) and a marker strip above it.
#pragma once

#include <QImage>

constexpr int kScaleWidth = 198; // pixels, +3 to −3 at 33 pixels per step
constexpr int kMarkerStripHeight = 17;
constexpr int kColourBarHeight = 16;

// The colour bar, kScaleWidth × kColourBarHeight.
QImage ComfortColourBar();

// The marker strip for a vote: white, with the marker at PmvMarkerX(pmv) (a
// blue bar across the top and a teal triangle pointing down at the scale).
// Beyond ±3 the marker lies outside the strip.
QImage PmvMarkerStrip(double pmv);
