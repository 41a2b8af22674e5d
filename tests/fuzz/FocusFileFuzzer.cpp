#include "FuzzBytes.h"
#include "FuzzFolder.h"
#include "FuzzQuiet.h"
#include "platform/macos/FocusAssertions.h"

#include <cstdio>
#include <cstdlib>

namespace {

QString path()
{
    static const QString file = fuzzFile(FocusAssertions::path(fuzzFolder()));
    return file;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietQtMessages();
    return 0;
}

// The Focus assertion file, as the system writes it. A file the reader could open is never one it needs
// access for.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeFuzzFile(path(), fuzzBytes(data, size));
    if (FocusAssertions::reading(path()).needsAccess) {
        std::fputs("a readable Focus file reads as needing access\n", stderr);
        std::abort();
    }
    return 0;
}
