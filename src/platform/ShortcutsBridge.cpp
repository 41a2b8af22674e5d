#include "platform/ShortcutsBridge.h"

#include "core/BackgroundQueue.h"
#include "core/TextTrim.h"
#include "platform/Programs.h"

QStringList ShortcutsBridge::parseShortcutList(const QString& output)
{
    return nonBlankLines(output);
}

void ShortcutsBridge::fetchShortcuts(ProcessRunner& processes, QObject* context,
                                     std::function<void(QStringList)> completion)
{
    BackgroundQueue::runThenReport<QStringList>(
        context,
        [&processes] {
            const std::optional<QString> output =
                processes.capture(Programs::shortcuts(), {QStringLiteral("list")});
            return output ? parseShortcutList(*output) : QStringList();
        },
        std::move(completion));
}
