#include "platform/KeyboardShortcutTexts.h"

namespace KeyboardShortcutTexts {

namespace {

const QString ok = QStringLiteral("OK");

QString sentence(const QString& text)
{
    return text.left(1).toUpper() + text.mid(1);
}

QString listed(const QStringList& keys)
{
    return keys.join(QStringLiteral(", "));
}

} // namespace

Alert setUpAlert(const KeyboardShortcutSetup::SetUpReport& report)
{
    if (!report.failure.isEmpty()) {
        return {QStringLiteral("Keyboard shortcuts could not be set up"),
                QStringLiteral("%1. Your own shortcuts are as they were.").arg(sentence(report.failure)),
                {ok}};
    }
    QStringList lines;
    if (!report.added.isEmpty())
        lines << QStringLiteral("Added: %1.").arg(listed(report.added));
    if (!report.alreadyThere.isEmpty())
        lines << QStringLiteral("Already set up: %1.").arg(listed(report.alreadyThere));
    if (!report.skipped.empty()) {
        QStringList skipped;
        for (const auto& [keys, takenBy] : report.skipped)
            skipped << QStringLiteral("%1 (“%2”)").arg(keys, takenBy);
        lines << QStringLiteral("Skipped because you already use them: %1.").arg(listed(skipped));
    }
    const QString message = report.added.isEmpty() ? QStringLiteral("No keyboard shortcuts were added")
                                                   : QStringLiteral("Keyboard shortcuts set up");
    return {message, lines.join(u'\n'), {ok}};
}

Alert removeAlert(const KeyboardShortcutSetup::RemoveReport& report)
{
    if (!report.failure.isEmpty()) {
        return {QStringLiteral("Keyboard shortcuts could not be removed"),
                QStringLiteral("%1. Your own shortcuts are as they were.").arg(sentence(report.failure)),
                {ok}};
    }
    if (report.removed == 0)
        return {QStringLiteral("No keyboard shortcuts to remove"),
                QStringLiteral("Marquetto had set up none."),
                {ok}};
    return {QStringLiteral("Keyboard shortcuts removed"),
            QStringLiteral("Took back %1 of Marquetto's keyboard shortcut%2; your own are as they were.")
                .arg(report.removed)
                .arg(report.removed == 1 ? QString() : QStringLiteral("s")),
            {ok}};
}

QString status(const KeyboardShortcutSetup::Status& status)
{
    if (!status.failure.isEmpty())
        return sentence(status.failure) + u'.';
    if (status.installed.isEmpty())
        return QStringLiteral("None of Marquetto's keyboard shortcuts are set up.");
    return QStringLiteral("Set up: %1.").arg(listed(status.installed));
}

} // namespace KeyboardShortcutTexts
