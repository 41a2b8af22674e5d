#pragma once

// End to end on a private X server (Xvfb) with openbox: the real deck program, clicked, keyed and scrolled
// with xdotool, watched through `marquetto-deck state` and the files its tiles write. Screenshots of each
// step are kept in the build's test-artefacts folder.
#include "model/TileCoding.h"
#include "support/DeckProcess.h"
#include "support/FakeShortcutsPortal.h"
#include "support/PrivateSession.h"
#include "support/Screenshot.h"
#include "support/TempHome.h"
#include "support/X11Client.h"
#include "support/XvfbSession.h"

#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>

inline const QString artefacts = QStringLiteral(MARQUETTO_TEST_ARTEFACTS_DIR);

inline bool waitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    const QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

inline void xdotool(const QStringList& arguments)
{
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

inline Tile scriptTile(const QString& command)
{
    Tile tile;
    tile.action = TileAction{TileAction::RunScript{command, false}};
    return tile;
}

class DeckOnX11 : public TempHome {
protected:
    void SetUp() override
    {
        const QStringList missing = XvfbSession::missingPrograms() + missingXdotool();
        if (!missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();
        ASSERT_TRUE(m_x.start()) << m_x.error().toStdString();
        QDir().mkpath(artefacts);
    }

    void TearDown() override
    {
        if (m_deck.state() != QProcess::NotRunning) {
            m_deck.terminate();
            if (!m_deck.waitForFinished(5000))
                m_deck.kill();
            m_deck.waitForFinished(5000);
        }
    }

    static QStringList missingXdotool()
    {
        return QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()
                   ? QStringList{QStringLiteral("xdotool")}
                   : QStringList{};
    }

    void writeLayout(const Pages& pages, const QJsonObject& preferences = {})
    {
        QDir().mkpath(m_paths.supportDir());
        QDir().mkpath(m_paths.configDir());
        QFile layout(m_paths.tilesFile());
        ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
        layout.write(TileCoding::layoutBytes(pages));
        layout.close();
        QFile settings(m_paths.preferencesFile());
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(QJsonDocument(preferences).toJson());
    }

    // `desktop` is what XDG_CURRENT_DESKTOP says; none when empty.
    void startDeck(const QString& desktop = {}, const QString& sessionType = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "QT_QPA_PLATFORM", "XDG_CURRENT_DESKTOP"})
            environment.remove(QLatin1String(name));
        if (!desktop.isEmpty())
            environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
        if (!sessionType.isEmpty())
            environment.insert(QStringLiteral("XDG_SESSION_TYPE"), sessionType);
        environment.insert(QStringLiteral("HOME"), m_paths.home);
        m_deck.setProcessEnvironment(environment);
        m_deck.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_deck.start(QStringLiteral(MARQUETTO_PATH), {});
        ASSERT_TRUE(m_deck.waitForStarted());
        ASSERT_TRUE(waitFor([this] { return state().has_value(); })) << "the deck never answered";
    }

    std::optional<QJsonObject> state()
    {
        const DeckRun run = runDeck(m_paths.home, {QStringLiteral("state")});
        if (run.status != 0)
            return std::nullopt;
        return QJsonDocument::fromJson(run.out).object();
    }

    QRect frame()
    {
        const QJsonArray frame = state().value_or(QJsonObject{}).value(QStringLiteral("frame")).toArray();
        return {frame[0].toInt(), frame[1].toInt(), frame[2].toInt(), frame[3].toInt()};
    }

    bool stateIs(const QString& key, const QJsonValue& value)
    {
        return waitFor([&] { return state().value_or(QJsonObject{}).value(key) == value; });
    }

    void screenshot(const QString& name)
    {
        saveScreenshot(artefacts + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    void moveTo(QPoint point)
    {
        xdotool({QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y())});
    }

    // Presses at `from` and moves in steps to `to`, the button held; the button stays down.
    void pressAndDrag(QPoint from, QPoint to)
    {
        moveTo(from);
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        constexpr int steps = 6;
        for (int step = 1; step <= steps; ++step)
            moveTo(from + (to - from) * step / steps);
    }

    // The id of the tile in the slot, as the running deck prints it.
    static QUuid idAt(const QString& home, int page, int index)
    {
        const DeckRun print = runDeck(home, {QStringLiteral("print")});
        const QJsonValue slot = QJsonDocument::fromJson(print.out)[QStringLiteral("pages")][page][index];
        return QUuid::fromString(slot[QStringLiteral("tile")][QStringLiteral("id")].toString());
    }

    // Whether the running deck has the shared object `fileName` loaded.
    bool hasLoaded(const QString& fileName)
    {
        QFile maps(QStringLiteral("/proc/%1/maps").arg(m_deck.processId()));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(fileName.toUtf8());
    }

    PrivateSession m_session;
    XvfbSession m_x;
    QProcess m_deck;
};
