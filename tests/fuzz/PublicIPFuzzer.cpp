#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "band/PublicIPEngine.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietQtMessages();
    return 0;
}

// The echo service's answer. An address taken from it has no more characters than the longest answer read
// has bytes (a byte that is no UTF-8 reads as one replacement character), and no white space around it to
// push the band's text aside.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<QString> address = PublicIPEngine::addressIn(fuzzBytes(data, size));
    if (address && (address->size() > PublicIPEngine::maxAnswerBytes || address->isEmpty() ||
                    *address != address->trimmed())) {
        std::fprintf(stderr, "the address \"%s\" taken from an answer\n", qPrintable(*address));
        std::abort();
    }
    return 0;
}
