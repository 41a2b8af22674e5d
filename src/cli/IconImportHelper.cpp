#include "cli/IconImportHelper.h"

#include "core/Logging.h"

#include <QCoreApplication>
#include <QProcess>

std::optional<QString> IconImportHelper::importImage(const QString& iconsDir, const QString& path)
{
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/marquetto-icon-import");
    QProcess helper;
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.setStandardInputFile(QProcess::nullDevice());
    helper.start(program, {iconsDir, path});
    // Decoding is bounded in size, so the helper always finishes; the command waits for it as long as it
    // takes.
    if (!helper.waitForFinished(-1) || helper.exitStatus() != QProcess::NormalExit) {
        qCWarning(lcStore).noquote() << QStringLiteral("Marquetto: icon import failed: ") +
                                            helper.errorString();
        return std::nullopt;
    }
    const QString name = QString::fromUtf8(helper.readAllStandardOutput()).trimmed();
    if (helper.exitCode() != 0 || name.isEmpty())
        return std::nullopt;
    return name;
}
