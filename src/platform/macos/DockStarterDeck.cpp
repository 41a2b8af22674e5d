#include "platform/macos/DockStarterDeck.h"

#include "core/AtomicFile.h"
#include "model/StarterTiles.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <memory>
#include <plist/plist.h>

namespace {

// The dock file is another program's; a runaway file must not cost more memory than this.
constexpr qint64 maxPlistBytes = 16 * 1024 * 1024;

// The dock's launcher, Siri and similar entries are system features, not applications to launch.
bool isSkipped(const QString& bundleId)
{
    static const QStringList skipped = {
        QStringLiteral("com.apple.apps.launcher"),
        QStringLiteral("com.apple.launchpad.launcher"),
        QStringLiteral("com.apple.campo"),
        QStringLiteral("com.apple.Siri"),
    };
    return skipped.contains(bundleId);
}

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

PlistPtr readPlist(const QString& path)
{
    const auto bytes = AtomicFile::read(path, maxPlistBytes);
    if (!bytes)
        return nullptr;
    plist_t root = nullptr;
    plist_from_memory(bytes->constData(), static_cast<uint32_t>(bytes->size()), &root);
    return PlistPtr(root);
}

bool hasType(plist_t node, plist_type type)
{
    return node && plist_get_node_type(node) == type;
}

// A text value of a dictionary; an empty text counts as absent, as no key the deck reads means anything
// empty.
std::optional<QString> textValue(plist_t dict, const char* key)
{
    const plist_t node = plist_dict_get_item(dict, key);
    if (!hasType(node, PLIST_STRING))
        return std::nullopt;
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    if (!text || length == 0)
        return std::nullopt;
    return QString::fromUtf8(text, static_cast<qsizetype>(length));
}

std::optional<QString> bundleIdentifier(const QString& bundlePath)
{
    const PlistPtr info = readPlist(bundlePath + QStringLiteral("/Contents/Info.plist"));
    if (!hasType(info.get(), PLIST_DICT))
        return std::nullopt;
    return textValue(info.get(), "CFBundleIdentifier");
}

// Some system applications are reported inside a cryptex volume whose path changes with every system update;
// the copy under the applications folder is the path that stays valid, provided it is the same bundle.
QString stable(const QString& path, const std::optional<QString>& bundleId, const QString& applicationsDir)
{
    if (!path.contains(QStringLiteral("/Cryptexes/")))
        return path;
    const QString candidate = applicationsDir + QLatin1Char('/') + QFileInfo(path).fileName();
    const std::optional<QString> identifier = bundleId ? bundleId : bundleIdentifier(path);
    if (!identifier)
        return path;
    return bundleIdentifier(candidate) == identifier ? candidate : path;
}

// The application location the dock recorded: a plain path or a URL text.
std::optional<QString> recordedPath(plist_t tileData)
{
    const plist_t fileData = plist_dict_get_item(tileData, "file-data");
    if (!hasType(fileData, PLIST_DICT))
        return std::nullopt;
    const std::optional<QString> text = textValue(fileData, "_CFURLString");
    if (!text)
        return std::nullopt;
    if (text->startsWith(QLatin1Char('/')))
        return QDir::cleanPath(*text);
    const QUrl url(*text, QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile())
        return std::nullopt;
    return QDir::cleanPath(url.path(QUrl::FullyDecoded));
}

std::optional<QString> appPath(const std::optional<QString>& bundleId, plist_t tileData,
                               const Workspace& workspace, const QString& applicationsDir)
{
    // The installed copy the workspace knows wins over the location recorded in the dock, which may be stale.
    if (bundleId) {
        if (const std::optional<QString> installed = workspace.applicationPath(*bundleId))
            return stable(QDir::cleanPath(*installed), bundleId, applicationsDir);
    }
    const std::optional<QString> path = recordedPath(tileData);
    if (!path || !QDir::isAbsolutePath(*path))
        return std::nullopt;
    const QFileInfo info(*path);
    if (info.suffix() != QStringLiteral("app") || !info.exists())
        return std::nullopt;
    return stable(*path, bundleId, applicationsDir);
}

} // namespace

QString DockStarterDeck::defaultDockPlist(const AppPaths& paths)
{
    return paths.home + QStringLiteral("/Library/Preferences/com.apple.dock.plist");
}

std::vector<Tile> DockStarterDeck::tiles(int limit, const QString& dockPlist, const Workspace& workspace,
                                         const QString& ownBundleIdentifier, const QString& applicationsDir)
{
    StarterTiles collector(limit);
    if (collector.isFull())
        return {};
    const PlistPtr root = readPlist(dockPlist);
    if (!hasType(root.get(), PLIST_DICT))
        return {};
    const plist_t apps = plist_dict_get_item(root.get(), "persistent-apps");
    if (!hasType(apps, PLIST_ARRAY))
        return {};
    const uint32_t count = plist_array_get_size(apps);
    for (uint32_t i = 0; i < count; ++i) {
        if (!hasType(plist_array_get_item(apps, i), PLIST_DICT))
            return {};
    }

    for (uint32_t i = 0; i < count && !collector.isFull(); ++i) {
        const plist_t entry = plist_array_get_item(apps, i);
        if (textValue(entry, "tile-type") != QStringLiteral("file-tile"))
            continue;
        const plist_t tileData = plist_dict_get_item(entry, "tile-data");
        if (!hasType(tileData, PLIST_DICT))
            continue;
        const std::optional<QString> bundleId = textValue(tileData, "bundle-identifier");
        if (bundleId && (isSkipped(*bundleId) || *bundleId == ownBundleIdentifier))
            continue;
        if (const std::optional<QString> path = appPath(bundleId, tileData, workspace, applicationsDir))
            collector.add(*path);
    }
    return collector.take();
}
