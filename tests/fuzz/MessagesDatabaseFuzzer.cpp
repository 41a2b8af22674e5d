#include "FuzzCheck.h"
#include "FuzzHome.h"
#include "FuzzReader.h"
#include "platform/macos/MessagesDatabase.h"
#include "support/MessagesSchema.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sqlite3.h>

namespace {

using Kind = UnreadMessages::Reading::Kind;

constexpr int maxMessages = 32;
constexpr int maxJoins = 64;

QString path()
{
    static const QString file = MessagesDatabase::path(FuzzHome::shared().path());
    return file;
}

void check(bool sqliteOk)
{
    if (!sqliteOk) {
        std::fputs("cannot build the fuzz database\n", stderr);
        std::abort();
    }
}

// The columns the query filters on hold what the fuzzer chose, of any storage class: the Messages
// application is not the only program that may write there.
void bindValue(sqlite3_stmt* statement, int column, FuzzReader& in)
{
    const std::uint8_t kind = in.byte();
    switch (kind % 6) {
    case 0:
        sqlite3_bind_null(statement, column);
        break;
    case 1: {
        const QByteArray text = in.terminated();
        sqlite3_bind_text(statement, column, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case 2:
        sqlite3_bind_int64(statement, column, in.number<sqlite3_int64>());
        break;
    case 3:
        sqlite3_bind_double(statement, column, in.number<double>());
        break;
    case 4: {
        const QByteArray blob = in.terminated();
        sqlite3_bind_blob(statement, column, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
        break;
    }
    default:
        // The small numbers the filters compare with, so that counted rows are found often.
        sqlite3_bind_int(statement, column, kind / 6 % 3);
        break;
    }
}

// A database of the Messages schema whose rows the fuzzer chose; answers how many chat links it holds.
int buildRows(FuzzReader& in)
{
    sqlite3* database = nullptr;
    check(sqlite3_open(path().toUtf8().constData(), &database) == SQLITE_OK);
    check(sqlite3_exec(database, "PRAGMA synchronous = OFF; BEGIN;", nullptr, nullptr, nullptr) == SQLITE_OK);
    check(sqlite3_exec(database, messagesSchema, nullptr, nullptr, nullptr) == SQLITE_OK);
    sqlite3_stmt* message = nullptr;
    check(sqlite3_prepare_v2(database, "INSERT INTO message VALUES (?, ?, ?, ?, ?, ?, ?, ?)", -1, &message,
                             nullptr) == SQLITE_OK);
    const int messages = in.byte() % (maxMessages + 1);
    for (int row = 1; row <= messages; ++row) {
        sqlite3_bind_int(message, 1, row);
        if (in.byte() & 1)
            sqlite3_bind_text(message, 3, "iMessage", -1, SQLITE_STATIC);
        else
            bindValue(message, 3, in);
        for (const int column : {2, 4, 5, 6, 7, 8})
            bindValue(message, column, in);
        check(sqlite3_step(message) == SQLITE_DONE);
        sqlite3_reset(message);
    }
    sqlite3_finalize(message);
    sqlite3_stmt* join = nullptr;
    check(sqlite3_prepare_v2(database, "INSERT INTO chat_message_join VALUES (?, ?)", -1, &join, nullptr) ==
          SQLITE_OK);
    int joins = 0;
    for (; joins < maxJoins && !in.atEnd(); ++joins) {
        sqlite3_bind_int(join, 1, in.byte() % 3);
        sqlite3_bind_int(join, 2, in.byte() % (maxMessages + 2));
        check(sqlite3_step(join) == SQLITE_DONE);
        sqlite3_reset(join);
    }
    sqlite3_finalize(join);
    check(sqlite3_exec(database, "COMMIT;", nullptr, nullptr, nullptr) == SQLITE_OK);
    sqlite3_close(database);
    return joins;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietQtMessages();
    return 0;
}

// The Messages database: an even first byte makes the rest of the input the database file itself, an odd one
// a database of the Messages schema with the rows the rest describes. The count is never negative and never
// more than the links between messages and chats, since a message counts once per chat.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzReader in(data, size);
    QFile::remove(path());
    const bool asFile = (in.byte() & 1) == 0;
    const int links = asFile ? std::numeric_limits<int>::max() : buildRows(in);
    if (asFile)
        FuzzHome::write(path(), in.rest());
    const UnreadMessages::Reading reading = MessagesDatabase::query(path());
    if (reading.kind == Kind::noAccess) {
        std::fputs("a database that is there reads as lacking access\n", stderr);
        std::abort();
    }
    if (reading.kind == Kind::count && (reading.count < 0 || reading.count > links)) {
        std::fprintf(stderr, "%d unread messages counted in a database with %d chat links\n", reading.count,
                     links);
        std::abort();
    }
    return 0;
}
