#include "SleepInhibitor.h"

#include "core/MainThread.h"

void NullSleepInhibitor::inhibit(std::function<void(bool held)> answer)
{
    MainThread::answerLater(this, std::move(answer), false);
}
