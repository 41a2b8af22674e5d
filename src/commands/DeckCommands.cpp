#include "commands/DeckCommands.h"

#include "commands/CloudCommands.h"
#include "commands/DeckCommandHandlers.h"
#include "commands/DeckTransferCommands.h"
#include "commands/ShortcutCommands.h"

#include <QIODevice>
#include <QTextStream>

namespace DeckCommands {

namespace {

const QString programName = QStringLiteral("marquetto-deck");

} // namespace

const std::vector<Command>& table()
{
    namespace H = DeckCommandHandlers;
    static const std::vector<Command> commands{
        {QStringLiteral("print"), true, {QStringLiteral("print")}, &H::print},
        {QStringLiteral("set"), true, {QStringLiteral("set PAGE INDEX TILE-JSON|-")}, &H::set},
        {QStringLiteral("backups"), true, {QStringLiteral("backups")}, &H::backups},
        {QStringLiteral("restore"), true, {QStringLiteral("restore PATH")}, &H::restore},
        {QStringLiteral("page"),
         true,
         {QStringLiteral("page add"), QStringLiteral("page delete [PAGE]"),
          QStringLiteral("page move FROM TO"), QStringLiteral("page go PAGE")},
         &H::page},
        // Running a tile waits for a scene's end, which must never hold up the deck.
        {QStringLiteral("run"), false, {QStringLiteral("run PAGE INDEX")}, &H::run},
        {QStringLiteral("state"), true, {QStringLiteral("state")}, &H::state},
        {QStringLiteral("summon"), true, {QStringLiteral("summon")}, &H::summon},
        {QStringLiteral("fire"), true, {QStringLiteral("fire N")}, &H::fire},
        {QStringLiteral("edit"), true, {QStringLiteral("edit on|off")}, &H::edit},
        {QStringLiteral("settings"), true, {QStringLiteral("settings [TAB]")}, &H::settings},
        {QStringLiteral("presets"), false, {QStringLiteral("presets")}, &H::presets},
        // Decoding a large picture takes a while, which the deck never spends on its main thread.
        {QStringLiteral("icon"), false, {QStringLiteral("icon import PATH")}, &H::icon},
        {QStringLiteral("band"),
         true,
         {QStringLiteral("band"), QStringLiteral("band set MODULE…")},
         &H::band},
        // Writing the file from the deck's own pages catches an edit that is not saved yet.
        {QStringLiteral("export"), true, {QStringLiteral("export FILE")}, &DeckTransferCommands::exportDeck},
        // Reading and vetting a deck file takes a while, and the question is asked on the companion's
        // terminal; only the finished pages go to the deck, through "replace-deck".
        {QStringLiteral("import"),
         false,
         {QStringLiteral("import FILE [--yes]")},
         &DeckTransferCommands::importDeck},
        {QStringLiteral("replace-deck"), true, {}, &DeckTransferCommands::replaceDeck},
        // The running deck's engine must see the switch and its passes, or it would undo them.
        {QStringLiteral("sync"),
         true,
         {QStringLiteral("sync on FOLDER [--use-shared | --keep-local]"), QStringLiteral("sync off"),
          QStringLiteral("sync now"), QStringLiteral("sync allow-scripts")},
         &CloudCommands::sync},
        // The desktop's settings, not the deck's: they change with no deck running.
        {QStringLiteral("shortcuts"),
         false,
         {QStringLiteral("shortcuts setup|remove|status")},
         &ShortcutCommands::shortcuts},
        {QStringLiteral("help"), false, {}, &H::help},
    };
    return commands;
}

const Command* find(const QString& name)
{
    const QString canonical = name == u"--help" || name == u"-h" ? QStringLiteral("help") : name;
    for (const Command& command : table()) {
        if (command.name == canonical)
            return &command;
    }
    return nullptr;
}

QString usage()
{
    QString text = QStringLiteral("Usage:\n");
    for (const Command& command : table()) {
        for (const QString& line : command.usage)
            text += QStringLiteral("  %1 %2\n").arg(programName, line);
    }
    return text +
           QStringLiteral(
               "Pages and slots are numbered from 0; fire N runs tile N (1 to 9) of the current page,\n"
               "like Control-Alt-N. While Marquetto runs, the commands go to it.\n");
}

int run(Context& context, const QStringList& arguments)
{
    const Command* command = find(arguments.value(0));
    if (!command) {
        return misuse(context, arguments.isEmpty() || arguments.first().isEmpty()
                                   ? QString()
                                   : QStringLiteral("unknown command: %1").arg(arguments.join(u' ')));
    }
    return command->handler(context, arguments.mid(1));
}

int runInDeck(Context& context, const QStringList& arguments)
{
    const QString name = arguments.value(0);
    const Command* command = find(name);
    if (!command) {
        context.err << programName << ": Marquetto has no command \"" << name << "\".\n";
        return badUsage;
    }
    if (!command->runsInDeck) {
        context.err << programName << ": Marquetto leaves \"" << name << "\" to " << programName << ".\n";
        return badUsage;
    }
    return command->handler(context, arguments.mid(1));
}

int fail(Context& context, const QString& message)
{
    context.err << programName << ": " << message << '\n';
    return failure;
}

int misuse(Context& context, const QString& message)
{
    if (!message.isEmpty())
        context.err << programName << ": " << message << '\n';
    context.err << usage();
    return badUsage;
}

} // namespace DeckCommands
