#include "platform/macos/MessagesDatabase.h"

#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "platform/macos/FullDiskAccess.h"

#include <sqlite3.h>

namespace {

// Unread, incoming, plain (no reactions, no other item kinds), error-free iMessage texts; a message in
// several chats counts once per chat.
constexpr char unreadQuery[] =
    "SELECT COUNT(*) FROM message m JOIN chat_message_join cmj ON cmj.message_id = m.ROWID JOIN chat c ON "
    "c.ROWID = cmj.chat_id WHERE m.is_read = 0 AND m.is_from_me = 0 AND m.item_type = 0 AND "
    "m.associated_message_type = 0 AND m.error = 0 AND m.text IS NOT NULL AND m.text != '' AND m.service = "
    "'iMessage'";

} // namespace

MessagesDatabase::MessagesDatabase(const QString& home, Workspace& workspace, QObject* parent)
    : UnreadMessages(parent)
    , m_path(path(home))
    , m_workspace(workspace)
{
}

QString MessagesDatabase::path(const QString& home)
{
    return home + QStringLiteral("/Library/Messages/chat.db");
}

UnreadMessages::Reading MessagesDatabase::query(const QString& path)
{
    sqlite3* database = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &database, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(database);
        return {Reading::Kind::noAccess, 0};
    }
    sqlite3_busy_timeout(database, busyTimeoutMs);
    Reading reading{Reading::Kind::queryFailed, 0};
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(database, unreadQuery, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        reading = {Reading::Kind::count, sqlite3_column_int(statement, 0)};
    else
        qCDebug(lcPlatform).noquote()
            << "Marquetto: couldn't count unread messages:" << sqlite3_errmsg(database);
    sqlite3_finalize(statement);
    sqlite3_close(database);
    return reading;
}

void MessagesDatabase::read(QObject* context, std::function<void(Reading)> done)
{
    BackgroundQueue::runThenReport<Reading>(
        context, [path = m_path] { return query(path); }, std::move(done));
}

void MessagesDatabase::open()
{
    if (const std::optional<QString> messages =
            m_workspace.applicationPath(QStringLiteral("com.apple.MobileSMS")))
        m_workspace.launchApplication(*messages);
}

void MessagesDatabase::openAccessSettings()
{
    m_workspace.open(fullDiskAccessSettings());
}
