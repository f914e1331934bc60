// The pipe type catalogue reader over arbitrary bytes: it either refuses the
// file with a message naming it, or reads every 1168-byte record into a type
// that fits the record, and each type written back reads back the same.
#include "FuzzCheck.h"
#include "app/Gbk.h"
#include "app/Numbers.h"
#include "pipe/PipeCatalogue.h"

#include <QByteArray>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{

const QString kPath = QStringLiteral("/data/pipe.dat");

void checkType(const PipeTypeRecord& type)
{
    FUZZ_CHECK(ToGbk(type.name).size() <= MostPipeTypeNameBytes);
    FUZZ_CHECK(type.sizes.size() <= size_t(MostPipeSizes));
    FUZZ_CHECK(std::isfinite(type.K));
    for (const PipeSize& size : type.sizes)
        FUZZ_CHECK(std::isfinite(size.De) && std::isfinite(size.E) && std::isfinite(size.Di));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    std::vector<PipeTypeRecord> types;
    try {
        types = ParsePipeCatalogue(bytes, kPath);
    } catch (const UserError& error) {
        FUZZ_CHECK(error.text().contains(kPath));
        return 0;
    }
    FUZZ_CHECK(size % PipeTypeRecordSize == 0);
    FUZZ_CHECK(types.size() == size / PipeTypeRecordSize);
    QByteArray written;
    for (const PipeTypeRecord& type : types) {
        checkType(type);
        // The stored name is the name itself: saving a type read from the
        // file finds its own record again.
        FUZZ_CHECK(StoredPipeTypeName(type.name) == type.name);
        written += EncodePipeTypeRecord(type);
    }
    FUZZ_CHECK(ParsePipeCatalogue(written, kPath) == types);
    return 0;
}
