#include "XcbPlatform.h"

#include "core/Logging.h"

#include <xcb/xcb.h>

namespace XcbPlatform {

namespace {

const char* const variable = "QT_QPA_PLATFORM";

QString withoutX(const QString& why)
{
    return QStringLiteral("Marquetto: %1; running without X: no window stacking, hot keys or window snapping")
        .arg(why);
}

} // namespace

// QT_QPA_PLATFORM may list fallbacks ("wayland;xcb") and options ("xcb:option"); Qt tries the first first.
Choice choose(const QByteArray& chosen, bool (*xReachable)())
{
    if (chosen.isEmpty()) {
        if (xReachable())
            return {QByteArrayLiteral("xcb"), {}};
        return {{}, withoutX(QStringLiteral("no X display reachable"))};
    }
    const QByteArray first = chosen.split(';').front().split(':').front().trimmed();
    if (first != "xcb")
        return {{},
                withoutX(QStringLiteral("QT_QPA_PLATFORM chooses %1").arg(QString::fromLocal8Bit(first)))};
    if (!xReachable())
        return {{}, withoutX(QStringLiteral("no X display reachable"))};
    return {};
}

bool isReachable()
{
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        return false;
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

Choice prepare()
{
    Choice choice = choose(qgetenv(variable), &isReachable);
    if (!choice.platform.isEmpty())
        qputenv(variable, choice.platform);
    if (!choice.notice.isEmpty())
        qCWarning(lcPlatform).noquote() << choice.notice;
    return choice;
}

void finish(const Choice& choice)
{
    if (!choice.platform.isEmpty())
        qunsetenv(variable);
}

} // namespace XcbPlatform
