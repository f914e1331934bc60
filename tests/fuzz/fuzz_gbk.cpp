// The GBK codec: arbitrary bytes decoded, arbitrary text encoded.
#include "FuzzCheck.h"
#include "app/Gbk.h"
#include "app/Numbers.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // Bytes read from a report or project file: either refused, or text that
    // encodes back to exactly the same bytes.
    bool decoded = true;
    QString read;
    try {
        read = FromGbk(bytes);
    } catch (const UserError&) {
        decoded = false;
    }
    // Outside the try: text that was read but cannot be written back is a fault.
    if (decoded)
        FUZZ_CHECK(ToGbk(read) == bytes);

    // The same bytes as UTF-8 text about to be saved: either refused, or GBK
    // that reads back as valid text.
    const QString text = QString::fromUtf8(bytes);
    QByteArray encoded;
    try {
        encoded = ToGbk(text);
    } catch (const UserError& error) {
        FUZZ_CHECK(!error.text().isEmpty());
        return 0;
    }
    FromGbk(encoded); // throws (and so crashes the target) if the encoder wrote invalid GBK
    return 0;
}
