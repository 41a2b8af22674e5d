// Listing the installed applications for the application picker: 500 desktop entries of the size a desktop
// ships, with names and comments in 60 languages and a few actions each.
#include "platform/linux/desktop/DesktopInstalledApplications.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int entryCount = 500;
constexpr int languageCount = 60;

QByteArray entryText(int i)
{
    const QByteArray n = QByteArray::number(i);
    QByteArray text = "[Desktop Entry]\nType=Application\nName=Application " + n + "\nExec=app" + n +
                      " %U\nIcon=org.example.App" + n + "\nCategories=Utility;\nTerminal=false\n";
    for (int language = 0; language < languageCount; ++language) {
        const QByteArray code = "l" + QByteArray::number(language);
        text += "Name[" + code + "]=Application " + n + " in " + code + "\nComment[" + code +
                "]=Does something useful with your files, quickly\nKeywords[" + code +
                "]=files;tool;utility;something;\n";
    }
    for (int action = 0; action < 3; ++action)
        text +=
            "\n[Desktop Action a" + QByteArray::number(action) + "]\nName=Action\nExec=app" + n + " --a\n";
    return text;
}

void listApplications(benchmark::State& state)
{
    QTemporaryDir dataDir;
    const QString applications = dataDir.path() + QStringLiteral("/applications/");
    QDir().mkpath(applications);
    for (int i = 0; i < entryCount; ++i) {
        QFile file(applications + QStringLiteral("org.example.App%1.desktop").arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(entryText(i)) < 0)
            state.SkipWithError("the entries could not be written");
    }
    const DesktopInstalledApplications installed({dataDir.path()}, QStringLiteral("l30_XX.UTF-8"));
    for (auto _ : state)
        benchmark::DoNotOptimize(installed.entries());
}
BENCHMARK(listApplications)->Unit(benchmark::kMillisecond);

} // namespace
