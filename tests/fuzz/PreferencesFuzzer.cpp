#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "FuzzHome.h"
#include "core/Preferences.h"
#include "model/Settings.h"
#include "model/StarterHint.h"

#include <QDir>
#include <QJsonDocument>

// The preferences file as the deck reads it at start, by hand-edited or damaged as it may be. The settings
// read from it stay within their bounds, and the file the preferences write after a change reads back as
// the same values.
namespace {

void checkBounds(const DeckSettings& settings)
{
    const auto side = [](int value) { return value >= 1 && value <= DeckSettings::maxGridSide; };
    if (!side(settings.gridColumns()) || !side(settings.gridRows()))
        fuzzFail("a grid side is out of bounds");
    if (!(settings.backgroundOpacity() >= 0.0 && settings.backgroundOpacity() <= 1.0))
        fuzzFail("the opacity is out of bounds");
    if (settings.cloudDeckRevision() < 0)
        fuzzFail("the cloud revision is negative");
    const QList<BandModule>& modules = settings.bandModules();
    for (qsizetype i = 0; i < modules.size(); ++i) {
        if (modules.indexOf(modules[i]) != i)
            fuzzFail("a band module shows twice");
    }
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
    home.clear(home.paths().configDir());
    const QString file = home.writeFile(QDir(home.path()).relativeFilePath(home.paths().preferencesFile()),
                                        fuzzBytes(data, size));

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
            fuzzFail("a preference does not read back as it was written");
    }
    return 0;
}
