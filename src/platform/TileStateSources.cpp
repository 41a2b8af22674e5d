#include "TileStateSources.h"

#include <QMetaObject>

namespace {

// Answers must never arrive inside the read that asked for them.
template <typename Value>
void answerLater(QObject* context, std::function<void(Value)> answer, Value value)
{
    QMetaObject::invokeMethod(
        context, [answer = std::move(answer), value = std::move(value)] { answer(value); },
        Qt::QueuedConnection);
}

} // namespace

void NullTileStateSources::readConnectedBluetooth(std::function<void(QSet<QString>)> answer)
{
    answerLater(this, std::move(answer), QSet<QString>());
}

void NullTileStateSources::readOutput(std::function<void(Output)> answer)
{
    answerLater(this, std::move(answer), Output());
}

void NullTileStateSources::readDarkMode(std::function<void(bool)> answer)
{
    answerLater(this, std::move(answer), false);
}

void NullTileStateSources::readRunningApplications(const QStringList&,
                                                   std::function<void(QSet<QString>)> answer)
{
    answerLater(this, std::move(answer), QSet<QString>());
}
