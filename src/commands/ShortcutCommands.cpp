#include "commands/ShortcutCommands.h"

#include "platform/KeyboardShortcutTexts.h"

#include <QTextStream>

namespace ShortcutCommands {

namespace {

int tell(DeckCommands::Context& context, const Alert& alert, const QString& failure)
{
    if (!failure.isEmpty())
        return DeckCommands::fail(context, alert.informativeText);
    context.out << alert.message << ".\n";
    if (!alert.informativeText.isEmpty())
        context.out << alert.informativeText << '\n';
    return DeckCommands::success;
}

} // namespace

int shortcuts(DeckCommands::Context& context, const QStringList& arguments)
{
    const QString what = arguments.value(0);
    if (arguments.size() != 1 ||
        !QStringList{QStringLiteral("setup"), QStringLiteral("remove"), QStringLiteral("status")}.contains(
            what))
        return DeckCommands::misuse(context, QStringLiteral("shortcuts takes setup, remove or status"));
    if (!context.shortcutSetup)
        return DeckCommands::fail(context, QStringLiteral("Marquetto can't set up keyboard shortcuts here."));
    KeyboardShortcutSetup& setup = *context.shortcutSetup;
    if (what == u"status") {
        const KeyboardShortcutSetup::Status status = setup.installed();
        if (!status.failure.isEmpty())
            return DeckCommands::fail(context, KeyboardShortcutTexts::status(status));
        context.out << KeyboardShortcutTexts::status(status) << '\n';
        return DeckCommands::success;
    }
    if (what == u"setup") {
        const KeyboardShortcutSetup::SetUpReport report = setup.setUp(context.companion);
        return tell(context, KeyboardShortcutTexts::setUpAlert(report), report.failure);
    }
    const KeyboardShortcutSetup::RemoveReport report = setup.remove();
    return tell(context, KeyboardShortcutTexts::removeAlert(report), report.failure);
}

} // namespace ShortcutCommands
