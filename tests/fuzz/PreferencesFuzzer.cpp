#include "FuzzBytes.h"
#include "FuzzHome.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "platform/Preferences.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <cstdio>
#include <cstdlib>

// The preferences file as the deck reads it at start, by hand-edited or damaged as it may be. The settings
// read from it stay within their bounds, and the file the preferences write after a change reads back as
// the same values.
namespace {

[[noreturn]] void fail(const char* message)
{
    std::fprintf(stderr, "%s\n", message);
    std::abort();
}

void checkBounds(const DeckSettings& settings)
{
    const auto side = [](int value) { return value >= 1 && value <= DeckSettings::maxGridSide; };
    if (!side(settings.gridColumns()) || !side(settings.gridRows()))
        fail("a grid side is out of bounds");
    if (!(settings.backgroundOpacity() >= 0.0 && settings.backgroundOpacity() <= 1.0))
        fail("the opacity is out of bounds");
    if (settings.cloudDeckRevision() < 0)
        fail("the cloud revision is negative");
    const QList<BandModule>& modules = settings.bandModules();
    for (qsizetype i = 0; i < modules.size(); ++i) {
        if (modules.indexOf(modules[i]) != i)
            fail("a band module shows twice");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const AppPaths& paths = FuzzHome::shared().paths();
    FuzzHome::shared().clear(paths.configDir());
    const QString file = paths.preferencesFile();
    if (QFile f(file); !f.open(QIODevice::WriteOnly) || f.write(fuzzBytes(data, size)) != qint64(size))
        fail("cannot write the preferences");

    Preferences preferences(file);
    DeckSettings settings(preferences);
    const StarterHint hint(preferences);
    checkBounds(settings);

    settings.setPinned(!settings.isPinned());
    const Preferences again(file);
    QStringList keys = QJsonDocument::fromJson(fuzzBytes(data, size)).object().keys();
    keys << QStringLiteral("isPinned");
    for (const QString& key : std::as_const(keys)) {
        if (again.value(key) != preferences.value(key))
            fail("a preference does not read back as it was written");
    }
    return 0;
}
