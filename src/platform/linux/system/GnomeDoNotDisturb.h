#pragma once

#include "core/ProcessRunner.h"
#include "platform/DoNotDisturb.h"
#include "platform/linux/dbus/LazyDBusConnection.h"

#include <QString>
#include <optional>

// GNOME's Do Not Disturb, which is its notification banners switched off: `show-banners` of
// `org.gnome.desktop.notifications`, read and written with the `gsettings` program and followed through the
// change notices dconf, GNOME's settings store, sends on the session bus. Always ready; an answer that is
// not a boolean tells nothing.
class GnomeDoNotDisturb final : public DoNotDisturb {
    Q_OBJECT
public:
    // `processes` outlives this object; `gsettings` is that program's path; `session` the bus dconf is on.
    GnomeDoNotDisturb(ProcessRunner& processes, QString gsettings, LazyDBusConnection session,
                      QObject* parent = nullptr);

    void read(QObject* context, std::function<void(Reading)> done) override;
    bool turn(bool on) override;
    void openAccessSettings() override {}
    bool follow() override;
    void stopFollowing() override;

    // Whether Do Not Disturb is on, from what `gsettings get` printed for `show-banners`.
    [[nodiscard]] static std::optional<bool> parseShowBanners(const QString& output);
    // Whether a dconf change notice (a path, and the keys or folders under it that changed) touches
    // `show-banners`.
    [[nodiscard]] static bool touchesShowBanners(const QString& prefix, const QStringList& changes);

private Q_SLOTS:
    void dconfChanged(const QString& prefix, const QStringList& changes, const QString& tag);

private:
    void listen(const QDBusConnection& bus);

    ProcessRunner& m_processes;
    QString m_gsettings;
    LazyDBusConnection m_session;
    bool m_following = false;
    std::optional<QDBusConnection> m_listening;
};
