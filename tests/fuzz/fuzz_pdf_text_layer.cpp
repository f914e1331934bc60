// The PDF text layer's mending: any bytes either come back unchanged or as a
// file whose text layer needs no further mending, ended as a PDF is.
#include "FuzzCheck.h"
#include "app/PdfTextLayer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray pdf(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray mended = WithIdeographsInTextLayer(pdf);
    if (mended == pdf)
        return 0;
    FUZZ_CHECK(mended.endsWith("%%EOF\n"));
    FUZZ_CHECK(WithIdeographsInTextLayer(mended) == mended);
    return 0;
}
