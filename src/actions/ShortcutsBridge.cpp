#include "ShortcutsBridge.h"

#include "core/BackgroundQueue.h"
#include "platform/Programs.h"

#include <QCoreApplication>
#include <QPointer>

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
    BackgroundQueue::run([&processes, guard = QPointer(context), completion = std::move(completion)] {
        const std::optional<QString> output =
            processes.capture(Programs::shortcuts(), {QStringLiteral("list")});
        QStringList names = output ? parseShortcutList(*output) : QStringList();
        // The guard is only looked at on the main thread, where the context lives and dies.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [guard, completion, names = std::move(names)] {
                if (guard)
                    completion(names);
            },
            Qt::QueuedConnection);
    });
}
