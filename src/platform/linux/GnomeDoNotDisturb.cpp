#include "platform/linux/GnomeDoNotDisturb.h"

#include "core/BackgroundQueue.h"

namespace {

const QString schema = QStringLiteral("org.gnome.desktop.notifications");
const QString key = QStringLiteral("show-banners");

} // namespace

GnomeDoNotDisturb::GnomeDoNotDisturb(ProcessRunner& processes, QString gsettings, QObject* parent)
    : DoNotDisturb(parent)
    , m_processes(processes)
    , m_gsettings(std::move(gsettings))
{
}

std::optional<bool> GnomeDoNotDisturb::parseShowBanners(const QString& output)
{
    const QString value = output.trimmed();
    if (value == u"false")
        return true;
    if (value == u"true")
        return false;
    return std::nullopt;
}

void GnomeDoNotDisturb::read(QObject* context, std::function<void(Reading)> done)
{
    BackgroundQueue::runThenReport<Reading>(
        context,
        [&processes = m_processes, gsettings = m_gsettings] {
            const std::optional<QString> output =
                processes.capture(gsettings, {QStringLiteral("get"), schema, key});
            return Reading{output ? parseShowBanners(*output) : std::nullopt, false};
        },
        std::move(done));
}

bool GnomeDoNotDisturb::turn(bool on)
{
    m_processes.fireAndForget(m_gsettings, {QStringLiteral("set"), schema, key,
                                            on ? QStringLiteral("false") : QStringLiteral("true")});
    return true;
}
