// A loops file over arbitrary bytes: either refused with a message or loops
// that pass the editor's checks, whose figures are finite and bounded, and
// which are written back as bytes that read back as the same loops.
#include "FuzzCheck.h"
#include "app/Numbers.h"
#include "app/SegmentLoops.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SegmentLoops loops;
    try {
        loops = ParseSegmentLoops(bytes, QStringLiteral("fuzz.HL"));
    } catch (const UserError&) {
        return 0; // refused, with its message
    }
    try {
        CheckSegmentLoops(loops);
    } catch (const UserError&) {
        FUZZ_CHECK(false); // read loops are loops the editor accepts
    }
    // Every segment numbered after its position: some found, some missing.
    SegmentResistances resistances;
    for (const SegmentLoop& loop : loops.loops)
        for (qsizetype k = 0; k < loop.segments.size(); k += 2)
            resistances.insert(loop.segments[k], double(k + 1));
    const LoopsFigures figures = ComputeLoopFigures(loops, resistances);
    FUZZ_CHECK(figures.loops.size() == loops.loops.size());
    FUZZ_CHECK(figures.loops.empty() == figures.mostUnfavourable.isEmpty());
    for (const LoopFigures& f : figures.loops)
        FUZZ_CHECK(std::isfinite(f.total) && f.share >= 0 && f.share <= 1);
    for (const GroupFigures& g : figures.groups)
        for (const LoopDifference& d : g.differences)
            FUZZ_CHECK(d.difference >= 0 && d.difference <= 1);
    LoopReportLines(figures);

    const QByteArray written = SegmentLoopsBytes(loops);
    FUZZ_CHECK(ParseSegmentLoops(written, QStringLiteral("fuzz.HL")) == loops);
    return 0;
}
