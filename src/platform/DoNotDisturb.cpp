#include "platform/DoNotDisturb.h"

#include "core/Logging.h"
#include "core/MainThread.h"

void NoDoNotDisturb::read(QObject* context, std::function<void(Reading)> done)
{
    MainThread::answerLater(context, std::move(done), Reading{false, false});
}

void DoNotDisturb::checkReady(QObject* context, std::function<void(bool)> done)
{
    MainThread::answerLater(context, std::move(done), true);
}

bool NoDoNotDisturb::turn(bool)
{
    qCInfo(lcPlatform) << "Marquetto: this desktop's Do Not Disturb can't be switched from Marquetto (GNOME "
                          "and KDE Plasma's can)";
    return false;
}
