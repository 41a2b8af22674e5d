#include "TileStateSources.h"

#include "core/MainThread.h"

void NullTileStateSources::readConnectedBluetooth(std::function<void(QSet<QString>)> answer)
{
    MainThread::answerLater(this, std::move(answer), QSet<QString>());
}

void NullTileStateSources::readOutput(std::function<void(Output)> answer)
{
    MainThread::answerLater(this, std::move(answer), Output());
}

void NullTileStateSources::readDarkMode(std::function<void(bool)> answer)
{
    MainThread::answerLater(this, std::move(answer), false);
}

void NullTileStateSources::readRunningApplications(const QStringList&,
                                                   std::function<void(QSet<QString>)> answer)
{
    MainThread::answerLater(this, std::move(answer), QSet<QString>());
}
