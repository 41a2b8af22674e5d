#include "SleepInhibitor.h"

void NullSleepInhibitor::inhibit(std::function<void(bool held)> answer)
{
    QMetaObject::invokeMethod(
        this, [answer = std::move(answer)] { answer(false); }, Qt::QueuedConnection);
}
