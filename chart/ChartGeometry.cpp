#include "chart/ChartGeometry.h"

#include "app/Numbers.h"

#include <cmath>

namespace
{
constexpr double kFarOutside = 1e6; // pixels; well beyond any image, well inside int
} // namespace

void CheckChartPressure(double pressure)
{
    if (!(pressure >= LowestChartPressure && pressure <= HighestChartPressure))
        throw UserError(QStringLiteral("大气压力超出焓湿图的范围，应在%1～%2Pa之间！")
                            .arg(LowestChartPressure, 0, 'f', 0)
                            .arg(HighestChartPressure, 0, 'f', 0));
}

int TruncPixel(double v)
{
    if (!(std::fabs(v) < kFarOutside)) // also catches NaN
        return std::signbit(v) ? -int(kFarOutside) : int(kFarOutside);
    return static_cast<int>(std::trunc(v));
}

QPoint ChartGeometry::StateToPixel(double d, double i)
{
    return {TruncPixel(X0 + d * sx), TruncPixel(Yb - i * sy + d * sx)};
}

ChartState ChartGeometry::PixelToState(int x, int y)
{
    const double d = (x - X0) / sx;
    return {d, (d * sx + (Yb - y)) / sy};
}
