#include "cli/IconImportHelper.h"

#include "core/Logging.h"
#include "model/LayoutFile.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

// The helper's standard output once it exited with 0, given `input` on its standard input; nothing otherwise
// (logged when it could not be run).
std::optional<QByteArray> runHelper(const QStringList& arguments, const QByteArray& input = {})
{
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/marquetto-icon-import");
    QProcess helper;
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.start(program, arguments);
    // Closed at the end of the input: the helper never waits for more.
    helper.write(input);
    helper.closeWriteChannel();
    // Decoding is bounded in size, so the helper always finishes; the command waits for it as long as it
    // takes.
    if (!helper.waitForFinished(-1) || helper.exitStatus() != QProcess::NormalExit) {
        qCWarning(lcStore).noquote() << QStringLiteral("Marquetto: icon import failed: ") +
                                            helper.errorString();
        return std::nullopt;
    }
    if (helper.exitCode() != 0)
        return std::nullopt;
    return helper.readAllStandardOutput();
}

} // namespace

std::optional<QString> IconImportHelper::importImage(const QString& iconsDir, const QString& path)
{
    const auto output = runHelper({iconsDir, path});
    const QString name = output ? QString::fromUtf8(*output).trimmed() : QString();
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<Pages> IconImportHelper::storeDeckIcons(const QString& iconsDir, const QByteArray& deckFile)
{
    const auto output = runHelper({QStringLiteral("--deck"), iconsDir}, deckFile);
    const auto contents = output ? LayoutFile::decode(*output) : std::nullopt;
    if (!contents || contents->isOlderFormat)
        return std::nullopt;
    return std::move(contents->pages);
}
