#include "platform/linux/hotkeys/GnomeCustomKeybindings.h"

#include "core/Logging.h"
#include "platform/linux/desktop/AutostartEntry.h"
#include "platform/linux/hotkeys/GVariantText.h"

#include <QHash>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>

namespace {

const QString listSchema = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
const QString listKey = QStringLiteral("custom-keybindings");
const QString entrySchema = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys.custom-keybinding");
const QString pathPrefix =
    QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/");

struct Ours {
    QString path;
    QString name;
    QStringList arguments;
    QString binding;
    QString keys;
};

const std::vector<Ours>& ours()
{
    static const std::vector<Ours> table = [] {
        std::vector<Ours> shortcuts{{pathPrefix + QStringLiteral("marquetto-summon/"),
                                     QStringLiteral("Marquetto: Summon the deck"),
                                     {QStringLiteral("summon")},
                                     QStringLiteral("<Control><Alt>space"),
                                     QStringLiteral("Control-Alt-Space")}};
        for (int n = 1; n <= 9; ++n) {
            shortcuts.push_back({pathPrefix + QStringLiteral("marquetto-tile-%1/").arg(n),
                                 QStringLiteral("Marquetto: Run tile %1").arg(n),
                                 {QStringLiteral("fire"), QString::number(n)},
                                 QStringLiteral("<Control><Alt>%1").arg(n),
                                 QStringLiteral("Control-Alt-%1").arg(n)});
        }
        return shortcuts;
    }();
    return table;
}

bool isOurs(const QString& path)
{
    return std::any_of(ours().begin(), ours().end(), [&](const Ours& one) { return one.path == path; });
}

QString at(const QString& path)
{
    return entrySchema + u':' + path;
}

// The keys of one entry, from what `gsettings list-recursively` printed for its path.
QHash<QString, QString> entryKeys(const QString& output, const QString& path)
{
    QHash<QString, QString> keys;
    for (const QString& line : output.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(u' ');
        if (parts.size() < 3)
            continue;
        const QString value = parts.mid(2).join(u' ');
        if (const auto text = GVariantText::parseString(value))
            keys.insert(parts[1], *text);
        else
            qCWarning(lcPlatform).noquote()
                << QStringLiteral(
                       "Marquetto: the GNOME shortcut at %1 has a %2 that is no text (%3); ignored")
                       .arg(path, parts[1], value.left(80));
    }
    return keys;
}

KeyboardShortcutSetup::SetUpReport failed(KeyboardShortcutSetup::SetUpReport report, const QString& why)
{
    qCWarning(lcPlatform).noquote() << "Marquetto: couldn't set up GNOME keyboard shortcuts:" << why;
    report.failure = why;
    return report;
}

} // namespace

struct GnomeCustomKeybindings::Listing {
    QStringList entries;
    QString failure;
};

GnomeCustomKeybindings::GnomeCustomKeybindings(ProcessRunner& processes, QString gsettings)
    : m_processes(processes)
    , m_gsettings(std::move(gsettings))
{
}

QString GnomeCustomKeybindings::companionProgram(const QString& programDir)
{
    const QString name = QStringLiteral("marquetto-deck");
    return AutostartEntry::programToStart(
        programDir + u'/' + name,
        {QStandardPaths::findExecutable(name), QStringLiteral(MARQUETTO_INSTALL_BINDIR "/marquetto-deck")});
}

QString GnomeCustomKeybindings::commandLine(const QString& program, const QStringList& arguments)
{
    // Inside single quotes GNOME's shell-style parsing takes every character as it is, but a quote.
    QString quoted = program;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return (QStringList{u'\'' + quoted + u'\''} + arguments).join(u' ');
}

QString GnomeCustomKeybindings::normalisedBinding(const QString& binding)
{
    static const QHash<QString, QString> aliases{
        {QStringLiteral("primary"), QStringLiteral("control")},
        {QStringLiteral("ctrl"), QStringLiteral("control")},
        {QStringLiteral("mod1"), QStringLiteral("alt")},
        {QStringLiteral("mod4"), QStringLiteral("super")},
    };
    QStringList modifiers;
    QString rest = binding.trimmed().toLower();
    while (rest.startsWith(u'<')) {
        const qsizetype end = rest.indexOf(u'>');
        if (end < 0)
            break;
        const QString modifier = rest.mid(1, end - 1);
        modifiers << aliases.value(modifier, modifier);
        rest = rest.mid(end + 1);
    }
    modifiers.sort();
    modifiers.removeDuplicates();
    QString normal;
    for (const QString& modifier : modifiers)
        normal += u'<' + modifier + u'>';
    return normal + rest;
}

GnomeCustomKeybindings::Listing GnomeCustomKeybindings::readList()
{
    if (m_gsettings.isEmpty())
        return {{}, QStringLiteral("the gsettings program is missing")};
    const auto schemas = m_processes.capture(m_gsettings, {QStringLiteral("list-schemas")});
    const auto relocatable = m_processes.capture(m_gsettings, {QStringLiteral("list-relocatable-schemas")});
    if (!schemas || !relocatable)
        return {{}, QStringLiteral("gsettings could not be run")};
    if (!schemas->split(u'\n').contains(listSchema) || !relocatable->split(u'\n').contains(entrySchema))
        return {{}, QStringLiteral("GNOME's keyboard shortcut settings are not installed (is this GNOME?)")};
    const QString text = get(listSchema, listKey);
    const auto entries = GVariantText::parseStringArray(text);
    if (!entries) {
        return {{},
                QStringLiteral("GNOME's list of custom shortcuts is not a list of texts (it reads \"%1\"); "
                               "nothing changed")
                    .arg(text.trimmed().left(80))};
    }
    return {*entries, {}};
}

void GnomeCustomKeybindings::change(const QStringList& arguments)
{
    // Waited for, so that what follows reads the change; what it printed says nothing.
    static_cast<void>(m_processes.capture(m_gsettings, arguments));
}

QString GnomeCustomKeybindings::get(const QString& schemaAndPath, const QString& key)
{
    return m_processes.capture(m_gsettings, {QStringLiteral("get"), schemaAndPath, key}).value_or(QString());
}

bool GnomeCustomKeybindings::write(const QString& path, const QHash<QString, QString>& keys)
{
    for (auto key = keys.cbegin(); key != keys.cend(); ++key) {
        change({QStringLiteral("set"), at(path), key.key(), GVariantText::quoted(key.value())});
    }
    // gsettings says nothing on success nor, to us, on failure: what reads back tells.
    const auto output = m_processes.capture(m_gsettings, {QStringLiteral("list-recursively"), at(path)});
    const QHash<QString, QString> kept = entryKeys(output.value_or(QString()), path);
    for (auto key = keys.cbegin(); key != keys.cend(); ++key) {
        if (kept.value(key.key()) != key.value())
            return false;
    }
    return true;
}

KeyboardShortcutSetup::SetUpReport GnomeCustomKeybindings::setUp(const QString& companion)
{
    SetUpReport report;
    const Listing listing = readList();
    if (!listing.failure.isEmpty())
        return failed(report, listing.failure);

    QStringList userPaths;
    for (const QString& entry : listing.entries) {
        if (entry.startsWith(u'/') && entry.endsWith(u'/') && !isOurs(entry) && !userPaths.contains(entry))
            userPaths << entry;
    }
    if (userPaths.size() > maximumPaths) {
        return failed(report, QStringLiteral("GNOME's list holds %1 custom shortcuts, more than the %2 "
                                             "Marquetto looks through; nothing changed")
                                  .arg(userPaths.size())
                                  .arg(maximumPaths));
    }
    QHash<QString, QString> taken;
    for (const QString& path : userPaths) {
        const auto output = m_processes.capture(m_gsettings, {QStringLiteral("list-recursively"), at(path)});
        const QHash<QString, QString> keys = entryKeys(output.value_or(QString()), path);
        const QString binding = normalisedBinding(keys.value(QStringLiteral("binding")));
        const QString name = keys.value(QStringLiteral("name"));
        if (!binding.isEmpty())
            taken.insert(binding, name.isEmpty() ? path : name);
    }

    QStringList appended;
    for (const Ours& one : ours()) {
        if (listing.entries.contains(one.path)) {
            report.alreadyThere << one.keys;
        } else if (const auto user = taken.constFind(normalisedBinding(one.binding)); user != taken.cend()) {
            report.skipped.push_back({one.keys, *user});
        } else {
            // The keys come first: GNOME never sees one of ours without its binding.
            const bool written =
                write(one.path, {{QStringLiteral("name"), one.name},
                                 {QStringLiteral("command"), commandLine(companion, one.arguments)},
                                 {QStringLiteral("binding"), one.binding}});
            if (!written) {
                change({QStringLiteral("reset-recursively"), at(one.path)});
                return failed(report, QStringLiteral("GNOME did not keep the shortcut \"%1\"").arg(one.name));
            }
            appended << one.path;
            report.added << one.keys;
        }
    }
    if (!appended.isEmpty()) {
        const QStringList entries = listing.entries + appended;
        change({QStringLiteral("set"), listSchema, listKey, GVariantText::quotedArray(entries)});
        if (GVariantText::parseStringArray(get(listSchema, listKey)) != entries) {
            for (const QString& path : appended)
                change({QStringLiteral("reset-recursively"), at(path)});
            report.added.clear();
            return failed(report, QStringLiteral("GNOME did not keep its new list of custom shortcuts"));
        }
    }
    qCInfo(lcPlatform).noquote()
        << QStringLiteral("Marquetto: GNOME keyboard shortcuts: %1 added, %2 already there, %3 skipped")
               .arg(report.added.size())
               .arg(report.alreadyThere.size())
               .arg(report.skipped.size());
    return report;
}

KeyboardShortcutSetup::RemoveReport GnomeCustomKeybindings::remove()
{
    const Listing listing = readList();
    if (!listing.failure.isEmpty()) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: couldn't remove GNOME keyboard shortcuts:" << listing.failure;
        return {0, listing.failure};
    }
    QStringList kept;
    QSet<QString> removed;
    for (const QString& entry : listing.entries) {
        if (isOurs(entry))
            removed.insert(entry);
        else
            kept << entry;
    }
    if (!removed.isEmpty()) {
        change({QStringLiteral("set"), listSchema, listKey, GVariantText::quotedArray(kept)});
        if (GVariantText::parseStringArray(get(listSchema, listKey)) != kept) {
            const QString why =
                QStringLiteral("GNOME did not keep its list of custom shortcuts without ours");
            qCWarning(lcPlatform).noquote() << "Marquetto: couldn't remove GNOME keyboard shortcuts:" << why;
            return {0, why};
        }
    }
    for (const Ours& one : ours())
        change({QStringLiteral("reset-recursively"), at(one.path)});
    qCInfo(lcPlatform) << "Marquetto: GNOME keyboard shortcuts removed:" << removed.size();
    return {static_cast<int>(removed.size()), {}};
}

KeyboardShortcutSetup::Status GnomeCustomKeybindings::installed()
{
    const Listing listing = readList();
    Status status{{}, listing.failure};
    for (const Ours& one : ours()) {
        if (listing.entries.contains(one.path))
            status.installed << one.keys;
    }
    return status;
}
