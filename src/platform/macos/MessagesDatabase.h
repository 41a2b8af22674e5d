#pragma once

#include "platform/UnreadMessages.h"
#include "platform/Workspace.h"

#include <QString>

// The Mac's unread iMessages, counted in the Messages database under the user's home folder. The database
// is opened read-only for each reading, which waits at most `busyTimeoutMs` for a writer to finish; a file
// that cannot be opened is taken as missing Full Disk Access, a failing query (another schema, a lock held
// too long, not a database at all) as a failed reading.
class MessagesDatabase final : public UnreadMessages {
    Q_OBJECT
public:
    static constexpr int busyTimeoutMs = 1500;

    // `workspace` outlives this object.
    MessagesDatabase(const QString& home, Workspace& workspace, QObject* parent = nullptr);

    void read(QObject* context, std::function<void(Reading)> done) override;
    void open() override;
    void openAccessSettings() override;

    // Where the database of the user with this home folder is.
    [[nodiscard]] static QString path(const QString& home);
    // Counts the unread messages in the database at `path`. Blocks for up to `busyTimeoutMs` and more.
    [[nodiscard]] static Reading query(const QString& path);

private:
    QString m_path;
    Workspace& m_workspace;
};
