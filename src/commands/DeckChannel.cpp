#include "commands/DeckChannel.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <unistd.h>

namespace DeckChannel {

namespace {

// XDG_RUNTIME_DIR is private to the user; without it a folder of our own in the temporary folder serves. One
// that another user made there first is not ours to trust: the data folder serves instead.
QString runtimeDir(const AppPaths& paths)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return runtime;
    const QString own = QDir::tempPath() + QStringLiteral("/marquetto-%1").arg(getuid());
    QDir().mkpath(own);
    if (QFileInfo(own).ownerId() != getuid() || QFileInfo(own).isSymLink()) {
        QDir().mkpath(paths.supportDir());
        return paths.supportDir();
    }
    QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return own;
}

// One deck per data folder: a second user, or a test on its own home, gets a socket of its own.
QString baseName(const AppPaths& paths)
{
    const QByteArray digest =
        QCryptographicHash::hash(paths.supportDir().toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return runtimeDir(paths) + QStringLiteral("/marquetto-deck-") + QString::fromLatin1(digest);
}

QByteArray line(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<QJsonObject> object(const QByteArray& line)
{
    if (line.size() > maxMessageBytes)
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(line.trimmed());
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

// A deadline is a whole number of milliseconds that the monotonic clock can hold: about 292 years of uptime.
std::optional<std::chrono::milliseconds> monotonicMilliseconds(const QJsonValue& value)
{
    constexpr qint64 limit =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::duration::max())
            .count();
    const qint64 count = value.toInteger(limit + 1);
    if (!value.isDouble() || count < -limit || count > limit)
        return std::nullopt;
    return std::chrono::milliseconds(count);
}

} // namespace

QString socketPath(const AppPaths& paths)
{
    return baseName(paths) + QStringLiteral(".sock");
}

QString lockPath(const AppPaths& paths)
{
    return baseName(paths) + QStringLiteral(".lock");
}

QByteArray encode(const Request& request)
{
    QJsonObject json{{QStringLiteral("arguments"), QJsonArray::fromStringList(request.arguments)},
                     {QStringLiteral("input"), QString::fromLatin1(request.input.toBase64())}};
    if (request.deadline) {
        const auto since =
            std::chrono::duration_cast<std::chrono::milliseconds>(request.deadline->time_since_epoch());
        json.insert(QStringLiteral("deadline"), static_cast<qint64>(since.count()));
    }
    return line(json);
}

QByteArray encode(const Response& response)
{
    return line({{QStringLiteral("status"), response.status},
                 {QStringLiteral("out"), response.out},
                 {QStringLiteral("err"), response.err}});
}

std::optional<Request> decodeRequest(const QByteArray& line)
{
    const auto json = object(line);
    if (!json)
        return std::nullopt;
    const QJsonValue arguments = json->value(QStringLiteral("arguments"));
    const QJsonValue input = json->value(QStringLiteral("input"));
    const QJsonValue deadline = json->value(QStringLiteral("deadline"));
    if (!arguments.isArray() || !(input.isString() || input.isUndefined()))
        return std::nullopt;
    Request request;
    if (!deadline.isUndefined()) {
        const auto since = monotonicMilliseconds(deadline);
        if (!since)
            return std::nullopt;
        request.deadline = std::chrono::steady_clock::time_point(*since);
    }
    for (const QJsonValue& argument : arguments.toArray()) {
        if (!argument.isString())
            return std::nullopt;
        request.arguments << argument.toString();
    }
    const auto bytes =
        QByteArray::fromBase64Encoding(input.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!bytes)
        return std::nullopt;
    request.input = *bytes;
    return request;
}

std::optional<Response> decodeResponse(const QByteArray& line)
{
    const auto json = object(line);
    if (!json)
        return std::nullopt;
    const QJsonValue status = json->value(QStringLiteral("status"));
    if (!status.isDouble())
        return std::nullopt;
    return Response{status.toInt(), json->value(QStringLiteral("out")).toString(),
                    json->value(QStringLiteral("err")).toString()};
}

std::optional<Response> send(const AppPaths& paths, const Request& request, std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    Request stamped = request;
    stamped.deadline = std::chrono::steady_clock::now() + timeout;
    QLocalSocket socket;
    socket.connectToServer(socketPath(paths));
    if (!socket.waitForConnected(static_cast<int>(std::min<qint64>(deadline.remainingTime(), 2000))))
        return std::nullopt;
    socket.write(encode(stamped));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return std::nullopt;
    }
    QByteArray answer;
    while (!answer.endsWith('\n')) {
        if (answer.size() > maxMessageBytes || deadline.hasExpired())
            return std::nullopt;
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())) &&
            socket.bytesAvailable() == 0)
            return std::nullopt;
        answer += socket.readAll();
    }
    return decodeResponse(answer);
}

} // namespace DeckChannel
