#include "platform/macos/DockStarterDeck.h"

#include "support/FakeWorkspace.h"
#include "support/LaunchPaths.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <memory>
#include <plist/plist.h>

namespace {

const QString ownId = QStringLiteral("com.example.marquetto");

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

enum class Format { Xml, Binary };

QByteArray serialised(plist_t root, Format format)
{
    char* bytes = nullptr;
    uint32_t length = 0;
    if (format == Format::Xml) {
        plist_to_xml(root, &bytes, &length);
        const QByteArray copy(bytes, static_cast<qsizetype>(length));
        plist_to_xml_free(bytes);
        return copy;
    }
    plist_to_bin(root, &bytes, &length);
    const QByteArray copy(bytes, static_cast<qsizetype>(length));
    plist_to_bin_free(bytes);
    return copy;
}

void setText(plist_t dict, const char* key, const QString& value)
{
    plist_dict_set_item(dict, key, plist_new_string(value.toUtf8().constData()));
}

// One "persistent-apps" entry as the dock writes it; an empty text leaves its key out.
plist_t dockEntry(const QString& bundleId, const QString& location, const char* tileType = "file-tile")
{
    plist_t tileData = plist_new_dict();
    if (!bundleId.isEmpty())
        setText(tileData, "bundle-identifier", bundleId);
    if (!location.isEmpty()) {
        plist_t fileData = plist_new_dict();
        setText(fileData, "_CFURLString", location);
        plist_dict_set_item(tileData, "file-data", fileData);
    }
    plist_t entry = plist_new_dict();
    plist_dict_set_item(entry, "tile-type", plist_new_string(tileType));
    plist_dict_set_item(entry, "tile-data", tileData);
    return entry;
}

PlistPtr dock(std::initializer_list<plist_t> entries)
{
    plist_t apps = plist_new_array();
    for (plist_t entry : entries)
        plist_array_append_item(apps, entry);
    PlistPtr root(plist_new_dict());
    plist_dict_set_item(root.get(), "persistent-apps", apps);
    return root;
}

class StarterDeckTest : public TempHome {
protected:
    QString m_dockFile = DockStarterDeck::defaultDockPlist(m_paths);
    QString m_applications = m_dir.path() + QStringLiteral("/Applications");
    FakeWorkspace m_workspace;

    void writeDock(const PlistPtr& root, Format format = Format::Xml) const
    {
        writeFile(m_dockFile, serialised(root.get(), format));
    }

    // A bundle folder, with an Info.plist naming `bundleId` unless that is empty.
    QString makeBundle(const QString& relativePath, const QString& bundleId = {}) const
    {
        const QString path = m_dir.path() + QLatin1Char('/') + relativePath;
        QDir().mkpath(path + QStringLiteral("/Contents/MacOS"));
        if (!bundleId.isEmpty()) {
            PlistPtr info(plist_new_dict());
            setText(info.get(), "CFBundleIdentifier", bundleId);
            writeFile(path + QStringLiteral("/Contents/Info.plist"), serialised(info.get(), Format::Binary));
        }
        return path;
    }

    // A bundle under the fake applications folder that the workspace knows by its identifier.
    QString installApp(const QString& name, const QString& bundleId)
    {
        const QString path = makeBundle(QStringLiteral("Applications/%1.app").arg(name), bundleId);
        m_workspace.applications.insert(bundleId, path);
        return path;
    }

    [[nodiscard]] QStringList starterPaths(int limit = 9) const
    {
        return launchPaths(DockStarterDeck::tiles(limit, m_dockFile, m_workspace, ownId, m_applications));
    }
};

class StarterDeckFormatTest : public StarterDeckTest, public ::testing::WithParamInterface<Format> {};

TEST_P(StarterDeckFormatTest, KeepsDockOrderWithoutSystemEntriesItselfRepeatsOrNonApplications)
{
    const QString safari = installApp(QStringLiteral("Safari"), QStringLiteral("com.apple.Safari"));
    const QString mail = installApp(QStringLiteral("Mail"), QStringLiteral("com.apple.mail"));
    installApp(QStringLiteral("Marquetto"), ownId);
    installApp(QStringLiteral("Siri"), QStringLiteral("com.apple.Siri"));
    const QString unnamed = makeBundle(QStringLiteral("Tools/Unnamed.app"));
    plist_t withoutData = plist_new_dict();
    plist_dict_set_item(withoutData, "tile-type", plist_new_string("file-tile"));
    plist_t textData = plist_copy(withoutData);
    plist_dict_set_item(textData, "tile-data", plist_new_string("com.apple.mail"));
    writeDock(dock({
                  dockEntry(QStringLiteral("com.apple.launchpad.launcher"), {}),
                  dockEntry(QStringLiteral("com.apple.mail"), {}),
                  dockEntry(QStringLiteral("com.apple.Safari"), {}, "directory-tile"),
                  dockEntry(QStringLiteral("com.apple.apps.launcher"), {}),
                  dockEntry(ownId, {}),
                  dockEntry(QStringLiteral("com.apple.Siri"), {}),
                  withoutData,
                  textData,
                  dockEntry({}, QUrl::fromLocalFile(unnamed).toString()),
                  dockEntry(QStringLiteral("com.apple.campo"), {}),
                  dockEntry(QStringLiteral("com.apple.Safari"), {}, "spacer-tile"),
                  dockEntry(QStringLiteral("com.apple.Safari"), {}),
                  dockEntry({}, QUrl::fromLocalFile(safari).toString() + QLatin1Char('/')),
                  dockEntry(QStringLiteral("com.apple.mail"), {}),
              }),
              GetParam());

    EXPECT_EQ(starterPaths(), (QStringList{mail, unnamed, safari}));
}

INSTANTIATE_TEST_SUITE_P(DockFormats, StarterDeckFormatTest, ::testing::Values(Format::Xml, Format::Binary),
                         [](const auto& info) { return info.param == Format::Xml ? "xml" : "binary"; });

TEST_F(StarterDeckTest, RecordedLocationStandsInForApplicationsTheWorkspaceDoesNotKnow)
{
    const QString old = makeBundle(QStringLiteral("Old/Legacy.app"));
    const QString spaced = makeBundle(QStringLiteral("Old/My Tool.app"));
    makeBundle(QStringLiteral("Old/Notes.bundle"));
    const QString installed = installApp(QStringLiteral("Known"), QStringLiteral("com.example.known"));
    const QString home = m_dir.path();

    struct Case {
        const char* name;
        QString bundleId;
        QString location;
        QStringList expected;
    };
    const Case cases[] = {
        {"file URL with trailing slash",
         QStringLiteral("com.example.gone"),
         QUrl::fromLocalFile(old).toString() + QLatin1Char('/'),
         {old}},
        {"plain path", {}, old, {old}},
        {"percent-encoded URL",
         {},
         QStringLiteral("file://") + home + QStringLiteral("/Old/My%20Tool.app/"),
         {spaced}},
        {"workspace wins over the recorded place", QStringLiteral("com.example.known"), old, {installed}},
        {"missing bundle", QStringLiteral("com.example.gone"), home + QStringLiteral("/Old/Gone.app"), {}},
        {"not an application", {}, home + QStringLiteral("/Old/Notes.bundle"), {}},
        {"web URL", {}, QStringLiteral("https://example.com") + old, {}},
        {"relative URL", {}, QStringLiteral("Old/Legacy.app"), {}},
        {"no location", QStringLiteral("com.example.gone"), {}, {}},
    };
    for (const Case& c : cases) {
        writeDock(dock({dockEntry(c.bundleId, c.location)}));
        EXPECT_EQ(starterPaths(), c.expected) << c.name;
    }
}

TEST_F(StarterDeckTest, CryptexApplicationsMoveToTheSameBundleInTheApplicationsFolder)
{
    const QString safariId = QStringLiteral("com.apple.Safari");
    const QString cryptexSafari = makeBundle(QStringLiteral("System/Cryptexes/App/Safari.app"), safariId);
    const QString cryptexNoInfo = makeBundle(QStringLiteral("System/Cryptexes/App/Bare.app"));
    const QString cryptexOther = makeBundle(QStringLiteral("System/Cryptexes/App/Other.app"), safariId);
    const QString cryptexLonely = makeBundle(QStringLiteral("System/Cryptexes/App/Lonely.app"), safariId);
    const QString appSafari = makeBundle(QStringLiteral("Applications/Safari.app"), safariId);
    makeBundle(QStringLiteral("Applications/Bare.app"));
    makeBundle(QStringLiteral("Applications/Other.app"), QStringLiteral("com.example.other"));

    struct Case {
        const char* name;
        QString bundleId;     // known to the workspace at the cryptex path when not empty
        QString recordedPath; // the dock's own record
        QString expected;
    };
    const Case cases[] = {
        {"workspace answer with a twin", safariId, {}, appSafari},
        {"identifier read from the cryptex bundle", {}, cryptexSafari, appSafari},
        {"twin with another identifier", {}, cryptexOther, cryptexOther},
        {"no twin", {}, cryptexLonely, cryptexLonely},
        {"no identifier anywhere", {}, cryptexNoInfo, cryptexNoInfo},
    };
    for (const Case& c : cases) {
        m_workspace.applications.clear();
        if (!c.bundleId.isEmpty())
            m_workspace.applications.insert(c.bundleId, cryptexSafari);
        writeDock(dock({dockEntry(c.bundleId, c.recordedPath)}));
        EXPECT_EQ(starterPaths(), QStringList{c.expected}) << c.name;
    }
}

TEST_F(StarterDeckTest, UnusableDockFilesGiveNoTiles)
{
    installApp(QStringLiteral("Mail"), QStringLiteral("com.apple.mail"));
    const PlistPtr valid = dock({dockEntry(QStringLiteral("com.apple.mail"), {})});
    const QByteArray validXml = serialised(valid.get(), Format::Xml);
    writeFile(m_dockFile, validXml);
    ASSERT_EQ(starterPaths().size(), 1);

    PlistPtr topArray(plist_new_array());
    plist_array_append_item(topArray.get(), dockEntry(QStringLiteral("com.apple.mail"), {}));
    PlistPtr appsNotArray(plist_new_dict());
    plist_dict_set_item(appsNotArray.get(), "persistent-apps",
                        dockEntry(QStringLiteral("com.apple.mail"), {}));
    PlistPtr strayEntry = dock({dockEntry(QStringLiteral("com.apple.mail"), {}), plist_new_string("spacer")});
    // Valid in every other way, so only the size limit keeps it out.
    PlistPtr huge = dock({dockEntry(QStringLiteral("com.apple.mail"), {})});
    plist_dict_set_item(huge.get(), "padding",
                        plist_new_string(QByteArray(17 * 1024 * 1024, 'x').constData()));

    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"whitespace", "        \n\n"},
        {"text", "persistent-apps = (com.apple.mail)"},
        {"truncated XML", validXml.left(validXml.size() / 2)},
        {"truncated binary", serialised(valid.get(), Format::Binary).left(40)},
        {"binary magic only", "bplist00"},
        {"top level array", serialised(topArray.get(), Format::Xml)},
        {"persistent-apps not a list", serialised(appsNotArray.get(), Format::Binary)},
        {"persistent-apps with a non-dictionary", serialised(strayEntry.get(), Format::Binary)},
        {"larger than 16 MiB", serialised(huge.get(), Format::Xml)},
    };
    for (const Case& c : cases) {
        writeFile(m_dockFile, c.bytes);
        EXPECT_EQ(starterPaths(), QStringList()) << c.name;
    }
    QFile::remove(m_dockFile);
    EXPECT_EQ(starterPaths(), QStringList()) << "missing file";
}

} // namespace
