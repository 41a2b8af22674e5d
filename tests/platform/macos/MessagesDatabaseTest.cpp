#include "platform/macos/MessagesDatabase.h"

#include "support/FakeWorkspace.h"
#include "support/MessagesSchema.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace {

using Kind = UnreadMessages::Reading::Kind;

class MessagesDatabaseTest : public TempHome {
protected:
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(QFileInfo(m_path).path())); }

    sqlite3* create(const char* statements = messagesSchema)
    {
        sqlite3* database = nullptr;
        EXPECT_EQ(sqlite3_open(m_path.toUtf8().constData(), &database), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(database, statements, nullptr, nullptr, nullptr), SQLITE_OK);
        return database;
    }

    QString m_path = MessagesDatabase::path(m_paths.home);
};

TEST_F(MessagesDatabaseTest, CountsOnlyUnreadIncomingPlainIMessageTextsOncePerChat)
{
    sqlite3* database = create();
    // text, service, is_read, is_from_me, item_type, associated_message_type, error, chats
    ASSERT_EQ(
        sqlite3_exec(database,
                     "INSERT INTO message VALUES"
                     "(1, 'hi', 'iMessage', 0, 0, 0, 0, 0),"       // counted in two chats
                     "(2, 'yo', 'iMessage', 0, 0, 0, 0, 0),"       // counted
                     "(3, 'read', 'iMessage', 1, 0, 0, 0, 0),"     // read
                     "(4, 'mine', 'iMessage', 0, 1, 0, 0, 0),"     // sent
                     "(5, 'group', 'iMessage', 0, 0, 1, 0, 0),"    // another item kind
                     "(6, 'Loved', 'iMessage', 0, 0, 0, 2000, 0)," // a reaction
                     "(7, 'oops', 'iMessage', 0, 0, 0, 0, 22),"    // failed
                     "(8, '', 'iMessage', 0, 0, 0, 0, 0),"         // empty text
                     "(9, NULL, 'iMessage', 0, 0, 0, 0, 0),"       // no text
                     "(10, 'sms', 'SMS', 0, 0, 0, 0, 0),"          // another service
                     "(11, 'lost', 'iMessage', 0, 0, 0, 0, 0);"    // in no chat
                     "INSERT INTO chat_message_join VALUES (1, 1), (2, 1), (1, 2), (1, 3), (1, 4), (1, 5),"
                     "(1, 6), (1, 7), (1, 8), (1, 9), (1, 10);",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(database);

    EXPECT_EQ(MessagesDatabase::query(m_path), (UnreadMessages::Reading{Kind::count, 3}));
}

TEST_F(MessagesDatabaseTest, AMissingFileLacksAccessWhileAnUnreadableOneOnlyFailsTheQuery)
{
    EXPECT_EQ(MessagesDatabase::query(m_path).kind, Kind::noAccess);

    sqlite3_close(create("CREATE TABLE message (ROWID INTEGER PRIMARY KEY, body TEXT);"));
    EXPECT_EQ(MessagesDatabase::query(m_path).kind, Kind::queryFailed) << "another schema";

    writeFile(m_path, QByteArray(4096, 'x'));
    EXPECT_EQ(MessagesDatabase::query(m_path).kind, Kind::queryFailed) << "not SQLite";
}

TEST_F(MessagesDatabaseTest, ADatabaseLockedLongerThanTheBusyTimeoutFailsTheQuery)
{
    sqlite3* writer = create();
    ASSERT_EQ(
        sqlite3_exec(writer, "BEGIN EXCLUSIVE; INSERT INTO chat VALUES (3);", nullptr, nullptr, nullptr),
        SQLITE_OK);
    EXPECT_EQ(MessagesDatabase::query(m_path).kind, Kind::queryFailed);
    sqlite3_exec(writer, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    EXPECT_EQ(MessagesDatabase::query(m_path), (UnreadMessages::Reading{Kind::count, 0}));
}

TEST_F(MessagesDatabaseTest, OpensMessagesAndThePrivacyPane)
{
    FakeWorkspace workspace;
    MessagesDatabase messages(m_paths.home, workspace);
    messages.open();
    EXPECT_TRUE(workspace.launched.isEmpty()) << "no Messages application here";
    workspace.applications.insert(QStringLiteral("com.apple.MobileSMS"), QStringLiteral("/Messages.app"));
    messages.open();
    messages.openAccessSettings();
    EXPECT_EQ(workspace.launched, QStringList{QStringLiteral("/Messages.app")});
    ASSERT_EQ(workspace.opened.size(), 1u);
    EXPECT_EQ(workspace.opened.front().scheme(), QStringLiteral("x-apple.systempreferences"));
}

} // namespace
