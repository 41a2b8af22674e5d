#include "platform/linux/dbus/LazyDBusConnection.h"

LazyDBusConnection::LazyDBusConnection(Connect connect)
    : m_made(std::make_shared<Made>())
{
    m_made->connect = std::move(connect);
}

LazyDBusConnection::LazyDBusConnection(QDBusConnection connection)
    : m_made(std::make_shared<Made>())
{
    m_made->connection = std::move(connection);
}

const QDBusConnection& LazyDBusConnection::get() const
{
    std::call_once(m_made->once, [made = m_made.get()] {
        if (!made->connection)
            made->connection = made->connect();
    });
    return *m_made->connection;
}
