#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "core/ColorText.h"

// A colour text as a tile's icon or a hand-edited file gives it. A colour read must be one of the 2^24 and
// read the same from the text written for it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto rgb = ColorText::rgb(QString::fromUtf8(fuzzBytes(data, size)));
    if (!rgb)
        return 0;
    if (*rgb > 0xffffff || ColorText::rgb(ColorText::text(*rgb)) != rgb) {
        fuzzFail("a colour read does not survive being written again");
    }
    return 0;
}
