#include "ShortcutsBridge.h"

#include "core/BackgroundQueue.h"
#include "platform/Programs.h"

namespace {

QStringView trimSpacesAndTabs(QStringView text)
{
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

} // namespace

QStringList ShortcutsBridge::parseShortcutList(const QString& output)
{
    QStringList names;
    for (QStringView line : QStringView(output).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringView name = trimSpacesAndTabs(line);
        if (!name.isEmpty())
            names << name.toString();
    }
    return names;
}

void ShortcutsBridge::fetchShortcuts(ProcessRunner& processes, QObject* context,
                                     std::function<void(QStringList)> completion)
{
    BackgroundQueue::runThen(
        context,
        [&processes] {
            const std::optional<QString> output =
                processes.capture(Programs::shortcuts(), {QStringLiteral("list")});
            return output ? parseShortcutList(*output) : QStringList();
        },
        std::move(completion));
}
