#include "FuzzBytes.h"
#include "model/LayoutFile.h"
#include "model/TileCoding.h"

#include <cstdio>
#include <cstdlib>

// The layout file, in the current form and the older single-page one. Whatever decodes must come back
// unchanged from the bytes the store would write for it: a layout read once and saved again loses nothing.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto contents = LayoutFile::decode(fuzzBytes(data, size));
    if (!contents)
        return 0;
    const auto again = LayoutFile::decode(TileCoding::layoutBytes(contents->pages));
    if (!again || again->pages != contents->pages || again->isOlderFormat) {
        std::fputs("a decoded layout does not survive being written again\n", stderr);
        std::abort();
    }
    return 0;
}
