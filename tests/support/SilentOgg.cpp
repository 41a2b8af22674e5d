#include "support/SilentOgg.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace SilentOgg {

QString write(const QString& path, const Track& track)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QStringLiteral("no folder for ") + path;
    QStringList arguments{
        QStringLiteral("-Q"), QStringLiteral("-r"), QStringLiteral("-B"), QStringLiteral("16"),
        QStringLiteral("-C"), QStringLiteral("2"),  QStringLiteral("-R"), QStringLiteral("44100"),
        QStringLiteral("-t"), track.title,          QStringLiteral("-a"), track.artist,
        QStringLiteral("-l"), track.album,          QStringLiteral("-N"), QString::number(track.number)};
    if (!track.albumArtist.isEmpty())
        arguments << QStringLiteral("-c") << QStringLiteral("ALBUMARTIST=") + track.albumArtist;
    arguments << QStringLiteral("-o") << path << QStringLiteral("-");
    QProcess oggenc;
    oggenc.start(QStringLiteral("oggenc"), arguments);
    if (!oggenc.waitForStarted())
        return QStringLiteral("oggenc did not start");
    oggenc.write(QByteArray(44100 * 2 * 2 * 30, '\0'));
    oggenc.closeWriteChannel();
    if (!oggenc.waitForFinished(30000) || oggenc.exitCode() != 0)
        return QStringLiteral("oggenc failed: ") + QString::fromLocal8Bit(oggenc.readAllStandardError());
    return {};
}

} // namespace SilentOgg
