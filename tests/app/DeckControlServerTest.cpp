#include "app/DeckControlServer.h"

#include "commands/DeckChannel.h"
#include "support/EnvironmentGuard.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <future>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// The client blocks while it waits for the answer; the server needs the event loop of this thread.
std::optional<DeckChannel::Response> sendWhileServing(const AppPaths& paths,
                                                      const DeckChannel::Request& request)
{
    auto answer = std::async(std::launch::async, [&] { return DeckChannel::send(paths, request); });
    while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return answer.get();
}

} // namespace

class DeckControlServerTest : public TempHome {};

TEST_F(DeckControlServerTest, CarriesCommandsAndTheirInputToTheRunningDeckAndItsAnswerBack)
{
    const AppPaths& paths = m_paths;
    EXPECT_EQ(DeckChannel::send(paths, {{QStringLiteral("state")}, {}}), std::nullopt);

    std::vector<DeckChannel::Request> received;
    DeckControlServer server([&](const DeckChannel::Request& request) {
        received.push_back(request);
        return DeckChannel::Response{1, QStringLiteral("out ✓\n"), QStringLiteral("err\n")};
    });
    ASSERT_TRUE(server.listen(DeckChannel::socketPath(paths)));

    // A tile with a character beyond ASCII, then a NUL byte and whatever follows it.
    static constexpr char input[] = "{\"label\":\"\xE2\x9C\x93\"}\n\0binary";
    const DeckChannel::Request request{
        {QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("-")},
        QByteArray(input, sizeof input - 1)};
    EXPECT_EQ(sendWhileServing(paths, request),
              (DeckChannel::Response{1, QStringLiteral("out ✓\n"), QStringLiteral("err\n")}));
    ASSERT_EQ(received.size(), 1U);
    EXPECT_EQ(received.front().arguments, request.arguments);
    EXPECT_EQ(received.front().input, request.input);

    // Another home has a deck of its own.
    QTemporaryDir other;
    EXPECT_NE(DeckChannel::socketPath(AppPaths::forHome(other.path())), DeckChannel::socketPath(paths));
}

TEST_F(DeckControlServerTest, AMalformedRequestIsRefusedWithoutReachingTheDeck)
{
    bool reached = false;
    DeckControlServer server([&](const DeckChannel::Request&) {
        reached = true;
        return DeckChannel::Response{};
    });
    ASSERT_TRUE(server.listen(DeckChannel::socketPath(m_paths)));

    for (const QByteArray& garbage : {QByteArray("not json\n"), QByteArray("{\"arguments\":[1]}\n"),
                                      QByteArray("{\"arguments\":[],\"input\":\"@@\"}\n")}) {
        QLocalSocket socket;
        socket.connectToServer(DeckChannel::socketPath(m_paths));
        ASSERT_TRUE(socket.waitForConnected(1000));
        socket.write(garbage);
        QByteArray answer;
        while (!answer.endsWith('\n') && socket.state() == QLocalSocket::ConnectedState) {
            QCoreApplication::processEvents();
            socket.waitForReadyRead(10);
            answer += socket.readAll();
        }
        const auto response = DeckChannel::decodeResponse(answer);
        ASSERT_TRUE(response) << garbage.constData();
        EXPECT_EQ(response->status, 2);
    }
    EXPECT_FALSE(reached);
}

// A deck that was stopped (or swamped) wakes up to requests whose companion already said "did not answer".
TEST_F(DeckControlServerTest, ARequestItsClientGaveUpOnIsNeverCarriedOut)
{
    bool reached = false;
    DeckControlServer server([&](const DeckChannel::Request&) {
        reached = true;
        return DeckChannel::Response{};
    });
    ASSERT_TRUE(server.listen(DeckChannel::socketPath(m_paths)));
    LogCapture log;
    const QStringList pageAdd{QStringLiteral("page"), QStringLiteral("add")};
    const auto sendRaw = [&](const DeckChannel::Request& request, bool hangUp) {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(DeckChannel::socketPath(m_paths));
        EXPECT_TRUE(socket->waitForConnected(1000));
        socket->write(DeckChannel::encode(request));
        EXPECT_TRUE(socket->waitForBytesWritten(1000));
        if (hangUp)
            socket.reset();
        return socket;
    };

    const auto late =
        sendRaw({pageAdd, {}, std::chrono::steady_clock::now() - std::chrono::seconds(1)}, false);
    sendRaw({pageAdd, {}, std::chrono::steady_clock::now() + std::chrono::minutes(1)}, true);
    ASSERT_TRUE(log.waitForLines(2));
    EXPECT_TRUE(log.lines().front().contains(u"stopped waiting")) << log.lines().front().toStdString();
    EXPECT_FALSE(reached);

    // One still waiting, within its time, is answered.
    EXPECT_TRUE(sendWhileServing(m_paths, {pageAdd, {}}));
    EXPECT_TRUE(reached);
}

TEST_F(DeckControlServerTest, AFolderAnotherUserPlantedInTheTemporaryFolderIsNotUsed)
{
    if (getuid() != 0)
        GTEST_SKIP() << "needs root to give a folder to another user";
    QTemporaryDir temporary;
    EnvironmentGuard environment;
    environment.set("TMPDIR", temporary.path().toUtf8());
    environment.unset("XDG_RUNTIME_DIR");
    const QString planted = temporary.filePath(QStringLiteral("marquetto-0"));
    ASSERT_TRUE(QDir().mkpath(planted));
    ASSERT_EQ(chown(planted.toUtf8().constData(), 4242, 4242), 0);

    const QString socket = DeckChannel::socketPath(m_paths);
    EXPECT_TRUE(socket.startsWith(m_paths.supportDir() + u'/')) << socket.toStdString();
}
