// A media player for end-to-end runs and measurements: it appears on the session bus as
// "org.mpris.MediaPlayer2.marquettotest", plays one track whose title, artist and artwork file come from the
// command line, toggles between playing and paused on PlayPause, and prints each command it gets on a line
// of its own ("called PlayPause").
#include "TestMprisPlayer.h"

#include <QCoreApplication>
#include <QDBusObjectPath>
#include <QTextStream>
#include <QUrl>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) {
        QTextStream(stderr) << "usage: marquetto_test_player TITLE ARTIST [ARTWORK-FILE]\n";
        return 2;
    }
    TestMprisPlayer player(QDBusConnection::sessionBus(), QStringLiteral("marquettotest"));
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(QStringLiteral("/track/1")))},
        {QStringLiteral("xesam:title"), arguments[1]},
        {QStringLiteral("xesam:artist"), QStringList{arguments[2]}},
    };
    if (arguments.size() > 3)
        metadata.insert(QStringLiteral("mpris:artUrl"), QUrl::fromLocalFile(arguments[3]).toString());
    player.setMetadata(metadata);
    player.setStatus(QStringLiteral("Playing"));
    QObject::connect(&player, &TestMprisPlayer::called, &player, [&player](const QString& member) {
        QTextStream(stdout) << "called " << member << Qt::endl;
        if (member != u"PlayPause")
            return;
        const bool playing =
            player.properties.value(QStringLiteral("PlaybackStatus")).toString() == u"Playing";
        player.setStatus(playing ? QStringLiteral("Paused") : QStringLiteral("Playing"));
    });
    return QCoreApplication::exec();
}
