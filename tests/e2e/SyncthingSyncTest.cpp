// Cloud sync end to end through a real sync client: two Syncthing instances keep one folder the same for two
// homes, and each home's companion switches sync on against its own copy. The companions run the same sync
// engine the deck does, on the home's files, so no X server is needed to see a deck travel and land.
#include "support/DeckProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int processTimeoutMs = 30000;
const QString folderID = QStringLiteral("marquetto-deck");

// Free at the time of asking; Syncthing binds it a moment later, which is close enough on a test machine.
quint16 freePort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 0;
    return server.serverPort();
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(150);
    }
    return true;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString syncthingPath()
{
    return QStandardPaths::findExecutable(QStringLiteral("syncthing"));
}

// One Syncthing instance on the loopback interface alone. Everything that would reach beyond this machine
// (discovery, relays, NAT traversal, usage and crash reports, upgrades) is off in the configuration it
// finds at its first start. It is killed when this goes out of scope, whatever the test's outcome.
class Syncthing {
public:
    explicit Syncthing(const QString& dir)
        : m_dir(dir)
        , m_configDir(dir + QStringLiteral("/config"))
    {
    }

    Syncthing(const Syncthing&) = delete;
    Syncthing& operator=(const Syncthing&) = delete;

    ~Syncthing()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(processTimeoutMs);
    }

    // Makes the keys; the device id follows from them.
    [[nodiscard]] bool generate()
    {
        QProcess generate;
        prepare(generate);
        generate.start(syncthingPath(),
                       {QStringLiteral("generate"), QStringLiteral("--home=") + m_configDir,
                        QStringLiteral("--no-default-folder"), QStringLiteral("--skip-port-probing")});
        if (!generate.waitForFinished(processTimeoutMs) || generate.exitCode() != 0)
            return false;
        QProcess id;
        prepare(id);
        id.start(syncthingPath(), {QStringLiteral("serve"), QStringLiteral("--home=") + m_configDir,
                                   QStringLiteral("--device-id")});
        if (!id.waitForFinished(processTimeoutMs) || id.exitCode() != 0)
            return false;
        m_deviceID = QString::fromUtf8(id.readAllStandardOutput()).trimmed();
        m_listenPort = freePort();
        m_guiPort = freePort();
        return !m_deviceID.isEmpty() && m_listenPort != 0 && m_guiPort != 0;
    }

    [[nodiscard]] const QString& deviceID() const { return m_deviceID; }
    [[nodiscard]] QString address() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(m_listenPort); }

    // Replaces the generated configuration: this device, `peer` at its static address, and `folder` shared
    // between the two.
    [[nodiscard]] bool configure(const Syncthing& peer, const QString& folder) const
    {
        // A folder without its marker is taken for a missing disk, and Syncthing would not touch it.
        if (!QDir().mkpath(folder + QStringLiteral("/.stfolder")))
            return false;
        const QString device = QStringLiteral(R"(    <device id="%1" name="%2" compression="metadata">
        <address>%3</address>
        <autoAcceptFolders>false</autoAcceptFolders>
    </device>
)");
        const QString config =
            QStringLiteral(R"(<configuration version="36">
    <folder id="%1" label="Marquetto" path="%2" type="sendreceive" rescanIntervalS="5" fsWatcherEnabled="true" fsWatcherDelayS="1">
        <filesystemType>basic</filesystemType>
        <device id="%3"></device>
        <device id="%4"></device>
        <markerName>.stfolder</markerName>
    </folder>
%5%6    <gui enabled="true" tls="false">
        <address>127.0.0.1:%7</address>
    </gui>
    <options>
        <listenAddress>%8</listenAddress>
        <globalAnnounceEnabled>false</globalAnnounceEnabled>
        <localAnnounceEnabled>false</localAnnounceEnabled>
        <relaysEnabled>false</relaysEnabled>
        <natEnabled>false</natEnabled>
        <stunKeepaliveStartS>0</stunKeepaliveStartS>
        <stunKeepaliveMinS>0</stunKeepaliveMinS>
        <announceLANAddresses>false</announceLANAddresses>
        <urAccepted>-1</urAccepted>
        <crashReportingEnabled>false</crashReportingEnabled>
        <autoUpgradeIntervalH>0</autoUpgradeIntervalH>
        <startBrowser>false</startBrowser>
        <restartOnWakeup>false</restartOnWakeup>
        <reconnectionIntervalS>1</reconnectionIntervalS>
        <setLowPriority>false</setLowPriority>
    </options>
</configuration>
)")
                .arg(folderID, folder.toHtmlEscaped(), m_deviceID, peer.m_deviceID,
                     device.arg(m_deviceID, QStringLiteral("this"), QStringLiteral("dynamic")),
                     device.arg(peer.m_deviceID, QStringLiteral("peer"), peer.address()),
                     QString::number(m_guiPort), address());
        QFile file(m_configDir + QStringLiteral("/config.xml"));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(config.toUtf8()) > 0;
    }

    [[nodiscard]] bool start()
    {
        prepare(m_process);
        m_process.setStandardOutputFile(logPath());
        m_process.setStandardErrorFile(logPath(), QIODevice::Append);
        m_process.start(syncthingPath(), {QStringLiteral("serve"), QStringLiteral("--home=") + m_configDir,
                                          QStringLiteral("--no-browser"), QStringLiteral("--no-restart"),
                                          QStringLiteral("--no-upgrade"), QStringLiteral("--logflags=2")});
        return m_process.waitForStarted(processTimeoutMs);
    }

    [[nodiscard]] QString log() const { return QString::fromUtf8(readFile(logPath())); }

private:
    [[nodiscard]] QString logPath() const { return m_dir + QStringLiteral("/syncthing.log"); }

    // Nothing of the user's: its own home, no proxy, no monitor process that would outlive a kill.
    void prepare(QProcess& process) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY",
                                 "ALL_PROXY", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("HOME"), m_dir);
        environment.insert(QStringLiteral("STNOUPGRADE"), QStringLiteral("1"));
        environment.insert(QStringLiteral("STNORESTART"), QStringLiteral("1"));
        environment.insert(QStringLiteral("STNODEFAULTFOLDER"), QStringLiteral("1"));
        process.setProcessEnvironment(environment);
    }

    QString m_dir;
    QString m_configDir;
    QString m_deviceID;
    quint16 m_listenPort = 0;
    quint16 m_guiPort = 0;
    QProcess m_process;
};

QJsonArray firstPage(const QString& home)
{
    const DeckRun print = runDeck(home, {QStringLiteral("print")});
    return QJsonDocument::fromJson(print.out).object()[QStringLiteral("pages")][0].toArray();
}

QString tileJson(const QString& label)
{
    return QStringLiteral(R"({"label":"%1","icon":{"auto":{}},"action":{"snippet":{"text":"%1"}}})")
        .arg(label);
}

} // namespace

TEST(SyncthingSync, ADeckSetOnOneHomeArrivesThroughSyncthingAndReplacesTheOther)
{
    if (syncthingPath().isEmpty())
        GTEST_SKIP() << "needs syncthing on the PATH";
    const QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString homeA = root.filePath(QStringLiteral("a"));
    const QString homeB = root.filePath(QStringLiteral("b"));
    const QString syncA = homeA + QStringLiteral("/Sync");
    const QString syncB = homeB + QStringLiteral("/Sync");
    Syncthing syncthingA(root.filePath(QStringLiteral("syncthing-a")));
    Syncthing syncthingB(root.filePath(QStringLiteral("syncthing-b")));
    ASSERT_TRUE(syncthingA.generate());
    ASSERT_TRUE(syncthingB.generate());
    ASSERT_TRUE(syncthingA.configure(syncthingB, syncA));
    ASSERT_TRUE(syncthingB.configure(syncthingA, syncB));
    ASSERT_TRUE(syncthingA.start());
    ASSERT_TRUE(syncthingB.start());

    const DeckRun setB = runDeck(homeB, {QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("0"),
                                         tileJson(QStringLiteral("On B"))});
    ASSERT_EQ(setB.status, 0) << setB.err.toStdString();
    const DeckRun setA = runDeck(homeA, {QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("0"),
                                         tileJson(QStringLiteral("From A"))});
    ASSERT_EQ(setA.status, 0) << setA.err.toStdString();
    const DeckRun onA = runDeck(homeA, {QStringLiteral("sync"), QStringLiteral("on"), syncA});
    ASSERT_EQ(onA.status, 0) << onA.err.toStdString();
    const DeckRun nowA = runDeck(homeA, {QStringLiteral("sync"), QStringLiteral("now")});
    ASSERT_EQ(nowA.status, 0) << nowA.err.toStdString();

    const QString deckFile = QStringLiteral("/Marquetto/Deck.marquetto");
    const QByteArray sent = readFile(syncA + deckFile);
    ASSERT_FALSE(sent.isEmpty()) << "sync on wrote no deck file into " << syncA.toStdString();
    ASSERT_TRUE(waitFor([&] { return readFile(syncB + deckFile) == sent; }, std::chrono::seconds(60)))
        << "the deck file never reached B\n--- Syncthing A ---\n"
        << syncthingA.log().toStdString() << "--- Syncthing B ---\n"
        << syncthingB.log().toStdString();

    const DeckRun onB =
        runDeck(homeB, {QStringLiteral("sync"), QStringLiteral("on"), syncB, QStringLiteral("--use-shared")});
    ASSERT_EQ(onB.status, 0) << onB.err.toStdString();
    EXPECT_EQ(firstPage(homeB)[0].toObject()[QStringLiteral("tooltip")], QStringLiteral("From A"));

    const DeckRun backups = runDeck(homeB, {QStringLiteral("backups")});
    ASSERT_EQ(backups.status, 0) << backups.err.toStdString();
    bool oldLayoutKept = false;
    for (const QByteArray& line : backups.out.split('\n')) {
        const QString path = QString::fromUtf8(line.mid(line.indexOf('\t') + 1));
        oldLayoutKept = oldLayoutKept || (!line.isEmpty() && readFile(path).contains("On B"));
    }
    EXPECT_TRUE(oldLayoutKept) << "B's backups:\n" << backups.out.toStdString();
}
