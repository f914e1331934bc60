// A point file of the chart window opened the way the window opens one: the
// store with the point table's declaration, every point read, the points'
// report built and their marks placed on the chart.
#include "FuzzCheck.h"
#include "FuzzTableFile.h"
#include "app/Numbers.h"
#include "chart/ChartGeometry.h"
#include "chart/PointTable.h"

#include <cstddef>
#include <cstdint>

namespace
{

// The report's lines besides one per point: title block, column heads and
// the dash lines around them.
constexpr int kReportFrameLines = 11;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzTableFile file;
    RecordTableStore table(PointTableDeclaration());
    table.setPath(file.write(data, size));
    try {
        table.open();
    } catch (const UserError& error) {
        FUZZ_CHECK(!table.isOpen());
        FUZZ_CHECK(!error.text().isEmpty());
        return 0;
    }
    const std::vector<StatePoint> points = ReadPoints(table);
    FUZZ_CHECK(static_cast<int>(points.size()) == table.recordCount());
    FUZZ_CHECK(table.eof());

    const QStringList report = PointReportLines(points, QStringLiteral("101325"));
    FUZZ_CHECK(report.size() == kReportFrameLines + static_cast<int>(points.size()));
    for (const StatePoint& point : points) {
        const QPoint mark = ChartGeometry::StateToPixel(point.D, point.I);
        // Far-off states are held well outside the image, never undefined.
        FUZZ_CHECK(std::abs(mark.x()) <= 1000000 && std::abs(mark.y()) <= 1000000);
    }
    if (!points.empty())
        FUZZ_CHECK(FindPoint(table, QString::fromStdString(points.front().No)));
    return 0;
}
