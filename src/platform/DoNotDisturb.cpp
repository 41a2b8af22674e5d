#include "platform/DoNotDisturb.h"

#include "core/Logging.h"

#include <QPointer>

namespace {

template <typename Answer>
void answerLater(QObject* context, std::function<void(Answer)> done, Answer answer)
{
    QMetaObject::invokeMethod(
        context,
        [guard = QPointer(context), done = std::move(done), answer] {
            if (guard)
                done(answer);
        },
        Qt::QueuedConnection);
}

} // namespace

void NoDoNotDisturb::read(QObject* context, std::function<void(Reading)> done)
{
    answerLater(context, std::move(done), Reading{false, false});
}

void DoNotDisturb::checkReady(QObject* context, std::function<void(bool)> done)
{
    answerLater(context, std::move(done), true);
}

bool NoDoNotDisturb::turn(bool)
{
    qCInfo(lcPlatform) << "Marquetto: this desktop's Do Not Disturb can't be switched from Marquetto (GNOME "
                          "and KDE Plasma's can)";
    return false;
}
