#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "FuzzHome.h"
#include "platform/macos/FocusAssertions.h"

#include <cstdio>
#include <cstdlib>

namespace {

QString path()
{
    static const QString file = FocusAssertions::path(FuzzHome::shared().path());
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
    FuzzHome::write(path(), fuzzBytes(data, size));
    if (FocusAssertions::reading(path()).needsAccess) {
        std::fputs("a readable Focus file reads as needing access\n", stderr);
        std::abort();
    }
    return 0;
}
