#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>
#include <optional>
#include <vector>

// A media player of the test's own on a private bus: it owns "org.mpris.MediaPlayer2." + `name`, answers the
// player interface's properties and, when it has playlists, the playlists interface, on the main thread, and
// records every command. Status and metadata set through it are announced as real players do.
class TestMprisPlayer final : public QObject {
    Q_OBJECT
public:
    struct Playlist {
        QString id; // an object path
        QString name;
        QString icon;
    };
    struct Call {
        QString member; // "PlayPause", "OpenUri", "ActivatePlaylist"…
        QVariantList arguments;
    };

    TestMprisPlayer(QDBusConnection connection, const QString& name);
    ~TestMprisPlayer() override;

    [[nodiscard]] QString serviceName() const;

    // The properties of the player interface as Get and GetAll answer them; set without a word.
    QVariantMap properties;
    // Nothing: the player has no playlists interface.
    std::optional<std::vector<Playlist>> playlists;
    // A hung player takes every call and answers none.
    bool answers = true;
    std::vector<Call> calls;

    void setStatus(const QString& status);
    void setMetadata(const QVariantMap& metadata);
    [[nodiscard]] qsizetype callsTo(const QString& member) const;
    // The player's process ends: its connection closes, calls to it fail.
    void quit();

Q_SIGNALS:
    // A command of the player or playlists interface arrived, after it was recorded.
    void called(const QString& member);

private:
    class Objects;

    void announce(const QString& property);

    QDBusConnection m_connection;
    QString m_name;
    std::unique_ptr<Objects> m_objects;
};
