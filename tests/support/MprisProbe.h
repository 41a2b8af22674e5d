#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariant>

// A real media player's state as its MPRIS interface tells it, asked by a test on the session's bus.
class MprisProbe final {
public:
    MprisProbe(QDBusConnection bus, QString service);

    // A property of the player's Player interface; invalid when the player does not answer.
    [[nodiscard]] QVariant property(const QString& name) const;
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString playbackStatus() const;
    // The names of the player's playlists, as its Playlists interface lists them.
    [[nodiscard]] QStringList playlists() const;

private:
    QDBusConnection m_bus;
    QString m_service;
};
