#include "DrillFiles.h"

#include "model/LayoutFile.h"

#include <QFile>
#include <gtest/gtest.h>

namespace DrillFiles {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<Pages> layoutOf(const AppPaths& machine)
{
    auto contents = LayoutFile::decode(contentsOf(machine.tilesFile()));
    if (!contents)
        return std::nullopt;
    return std::move(contents->pages);
}

int roundCount(int fallback)
{
    bool ok = false;
    const int count = qEnvironmentVariableIntValue("MARQUETTO_KILL_DRILL_COUNT", &ok);
    return ok ? count : fallback;
}

} // namespace DrillFiles

DeckRun DrillMachines::must(const AppPaths& machine, const QStringList& arguments, const QByteArray& input)
{
    DeckRun run = runDeck(machine.home, arguments, input);
    EXPECT_EQ(run.status, 0) << arguments.join(u' ').toStdString() << ": " << run.err.toStdString();
    return run;
}

void DrillMachines::syncNow(const AppPaths& machine)
{
    must(machine, {QStringLiteral("sync"), QStringLiteral("now")});
}
