#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "FuzzHome.h"
#include "sync/CloudFolder.h"
#include "sync/CloudReading.h"

#include <QDir>
#include <QFileInfo>

// The shared deck in the synced folder, as another machine or a sync client left it, read on two passes as
// the cloud sync reads it. A file that does not decode is only damaged once it was seen twice, and a deck
// reading always carries the deck and its fingerprint.
namespace {

void check(const CloudRemote& remote)
{
    if ((remote.reading == CloudRule::Reading::deck) != (remote.file && !remote.fingerprint.isEmpty()))
        fuzzFail("a reading carries a deck if and only if it is a deck");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startCoreApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzHome& home = FuzzHome::shared();
    const QString driveRoot = home.filePath(QStringLiteral("Sync"));
    home.clear(driveRoot);
    const QString relative = QDir(home.path()).relativeFilePath(CloudFolder::syncFile(driveRoot));
    (void)home.writeFile(relative, fuzzBytes(data, size));

    CloudReading reading;
    const CloudRemote first = reading.read(driveRoot);
    check(first);
    const CloudRemote second = reading.read(driveRoot);
    check(second);
    if (second.reading == CloudRule::Reading::pending)
        fuzzFail("a file seen twice is still pending");
    return 0;
}
