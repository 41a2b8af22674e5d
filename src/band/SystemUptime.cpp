#include "SystemUptime.h"

#include "band/BandFormat.h"
#include "core/AtomicFile.h"
#include "core/Logging.h"

#include <cmath>

namespace {

// The file is two numbers on one line; anything longer is not it.
constexpr qint64 maxFileSize = 256;

std::optional<double> parse(const QByteArray& bytes)
{
    const QByteArray first = bytes.simplified().split(' ').constFirst();
    bool ok = false;
    const double seconds = first.toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0)
        return std::nullopt;
    return seconds;
}

} // namespace

SystemUptime::SystemUptime(QString procFolder)
    : m_file(std::move(procFolder) + QStringLiteral("/uptime"))
{
}

std::optional<double> SystemUptime::seconds()
{
    const auto bytes = AtomicFile::read(m_file, maxFileSize);
    auto seconds = bytes ? parse(*bytes) : std::nullopt;
    if (!seconds && !m_failureLogged) {
        m_failureLogged = true;
        qCWarning(lcBand).noquote() << "Marquetto: couldn't read the uptime from" << m_file;
    }
    return seconds;
}

QString SystemUptime::text()
{
    const auto uptime = seconds();
    return uptime ? BandFormat::uptime(*uptime) : QStringLiteral("…");
}
