#include "FuzzCheck.h"
#include "FuzzHome.h"
#include "FuzzReader.h"
#include "platform/macos/DockStarterDeck.h"
#include "support/FakeWorkspace.h"

#include <QSet>

// The Mac dock's preference file (XML or binary property list) that a first launch makes its starter deck
// from, with two applications installed. The first byte is the number of tiles asked for; the deck never
// gets more, and never the same application twice.
namespace {

const QString ownId = QStringLiteral("app.marquetto.Marquetto");
FakeWorkspace workspace;

QString applicationsDir()
{
    return FuzzHome::shared().filePath(QStringLiteral("Applications"));
}

void install(const QString& name, const QString& bundleId)
{
    const QString bundle = QStringLiteral("Applications/%1.app").arg(name);
    const QByteArray info = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                            "<key>CFBundleIdentifier</key><string>" +
                            bundleId.toUtf8() + "</string></dict></plist>\n";
    (void)FuzzHome::shared().writeFile(bundle + QStringLiteral("/Contents/Info.plist"), info);
    workspace.applications.insert(bundleId, FuzzHome::shared().filePath(bundle));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startCoreApplication(argc, argv);
    install(QStringLiteral("Safari"), QStringLiteral("com.apple.Safari"));
    install(QStringLiteral("Mail"), QStringLiteral("com.apple.mail"));
    install(QStringLiteral("Marquetto"), ownId);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzReader reader(data, size);
    const int limit = reader.byte() % 17;
    const QString dock = FuzzHome::shared().writeFile(QStringLiteral("com.apple.dock.plist"), reader.rest());
    const std::vector<Tile> tiles = DockStarterDeck::tiles(limit, dock, workspace, ownId, applicationsDir());
    if (tiles.size() > static_cast<std::size_t>(limit))
        fuzzFail("the starter deck has more tiles than asked for");
    QSet<QString> paths;
    for (const Tile& tile : tiles) {
        const auto* launch = tile.action ? tile.action->as<TileAction::LaunchApp>() : nullptr;
        if (!launch || paths.contains(launch->path))
            fuzzFail("a starter tile is not one application's launch tile");
        paths.insert(launch->path);
    }
    return 0;
}
