#include "platform/linux/system/LinuxSystemControls.h"

#include "core/Logging.h"
#include "platform/linux/dbus/DBusAsync.h"

#include <QDBusObjectPath>

namespace {

constexpr int kVolumeStep = 10;

// logind answers these at once; one that takes longer is stuck, and the log should say so.
constexpr std::chrono::seconds kLogindTimeout{10};

QString logindService()
{
    return QStringLiteral("org.freedesktop.login1");
}

QDBusMessage managerCall(const QString& method)
{
    return QDBusMessage::createMethodCall(logindService(), QStringLiteral("/org/freedesktop/login1"),
                                          QStringLiteral("org.freedesktop.login1.Manager"), method);
}

void lockSession(const QDBusConnection& bus, const QString& sessionPath)
{
    DBusAsync::call(bus,
                    QDBusMessage::createMethodCall(logindService(), sessionPath,
                                                   QStringLiteral("org.freedesktop.login1.Session"),
                                                   QStringLiteral("Lock")),
                    kLogindTimeout);
}

void toggleColorScheme(ProcessRunner& runner, const QString& gsettings)
{
    const QString schema = QStringLiteral("org.gnome.desktop.interface");
    const QString key = QStringLiteral("color-scheme");
    const QString current =
        runner.capture(gsettings, {QStringLiteral("get"), schema, key}).value_or(QString()).trimmed();
    // GNOME before 42 has no such key: gsettings then prints nothing here and its complaint elsewhere.
    if (current.size() < 2 || !current.startsWith(u'\'') || !current.endsWith(u'\'')) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: no colour scheme setting to switch; gsettings answered" << current;
        return;
    }
    const QString next =
        current == u"'prefer-dark'" ? QStringLiteral("default") : QStringLiteral("prefer-dark");
    // Not waited for: the change must happen even when Marquetto quits right after asking for it.
    runner.fireAndForget(gsettings, {QStringLiteral("set"), schema, key, next});
}

} // namespace

LinuxSystemControls::LinuxSystemControls(AudioSystem& audio, ProcessRunner& runner, QString gsettings,
                                         LazyDBusConnection logind, JobRunner background)
    : m_audio(audio)
    , m_runner(runner)
    , m_gsettings(std::move(gsettings))
    , m_logind(std::move(logind))
    , m_background(std::move(background))
{
}

void LinuxSystemControls::volumeUp()
{
    m_background([&audio = m_audio] { audio.changeOutputVolume(kVolumeStep); });
}

void LinuxSystemControls::volumeDown()
{
    m_background([&audio = m_audio] { audio.changeOutputVolume(-kVolumeStep); });
}

void LinuxSystemControls::toggleMute()
{
    m_background([&audio = m_audio] { audio.toggleOutputMute(); });
}

void LinuxSystemControls::toggleDarkMode()
{
    if (m_gsettings.isEmpty()) {
        qCWarning(lcPlatform) << "Marquetto: no gsettings program; dark mode cannot be switched";
        return;
    }
    m_background([&runner = m_runner, gsettings = m_gsettings] { toggleColorScheme(runner, gsettings); });
}

void LinuxSystemControls::lockScreen()
{
    if (!hasBus("lock the screen"))
        return;
    const QString sessionId = qEnvironmentVariable("XDG_SESSION_ID");
    // Without a session of its own (started by a user service, say) the caller's "auto" session is the
    // user's display session.
    if (sessionId.isEmpty()) {
        lockSession(m_logind.get(), QStringLiteral("/org/freedesktop/login1/session/auto"));
        return;
    }
    QDBusMessage getSession = managerCall(QStringLiteral("GetSession"));
    getSession << sessionId;
    DBusAsync::call(m_logind.get(), getSession, kLogindTimeout,
                    [bus = m_logind.get(), sessionId](const QDBusMessage& reply) {
                        if (reply.signature() != u"o") {
                            qCWarning(lcPlatform).noquote()
                                << "Marquetto: logind named no session for" << sessionId;
                            return;
                        }
                        lockSession(bus, reply.arguments().constFirst().value<QDBusObjectPath>().path());
                    });
}

void LinuxSystemControls::sleep()
{
    if (!hasBus("sleep"))
        return;
    QDBusMessage suspend = managerCall(QStringLiteral("Suspend"));
    // Not interactive: where sleeping needs a password, fail and say so rather than raise a prompt nobody
    // asked for.
    suspend << false;
    DBusAsync::call(m_logind.get(), suspend, kLogindTimeout);
}

bool LinuxSystemControls::hasBus(const char* purpose) const
{
    if (m_logind.get().isConnected())
        return true;
    qCWarning(lcPlatform).noquote() << "Marquetto: no system bus to" << purpose;
    return false;
}
