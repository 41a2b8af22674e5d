#include "platform/linux/x11/XcbPlatform.h"

#include "core/Logging.h"

namespace XcbPlatform {

namespace {

const char* const variable = "QT_QPA_PLATFORM";

} // namespace

// Qt tries the platforms of a list in turn, so a desktop without X still gets a deck.
QByteArray platformFor(const QByteArray& chosen)
{
    return chosen.isEmpty() ? QByteArrayLiteral("xcb;wayland") : QByteArray();
}

QString noticeFor(const QString& platformName)
{
    if (platformName == u"xcb")
        return {};
    return QStringLiteral(
               "Marquetto: running on %1 without X: no window stacking, hot keys or window snapping")
        .arg(platformName);
}

bool prepare()
{
    const QByteArray platform = platformFor(qgetenv(variable));
    if (platform.isEmpty())
        return false;
    qputenv(variable, platform);
    return true;
}

void finish(bool prepared, const QString& platformName)
{
    if (prepared)
        qunsetenv(variable);
    const QString notice = noticeFor(platformName);
    if (!notice.isEmpty())
        qCWarning(lcPlatform).noquote() << notice;
}

} // namespace XcbPlatform
