#include "platform/linux/desktop/DesktopFile.h"

#include "core/AtomicFile.h"

#include <QStringDecoder>

namespace {

// Desktop files are small; a larger one is not a desktop file.
constexpr qint64 maximumSize = 1024 * 1024;

// Resolves the escapes of a string value: \s, \n, \t, \r and \\.
QString unescapeValue(QStringView value)
{
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            result += value[i];
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case u's':
            result += u' ';
            break;
        case u'n':
            result += u'\n';
            break;
        case u't':
            result += u'\t';
            break;
        case u'r':
            result += u'\r';
            break;
        default:
            result += next;
        }
    }
    return result;
}

// Splits the Exec value into words: spaces separate them, double quotes group them, and inside quotes a
// backslash takes the next of ", `, $ and \ literally.
Expected<QStringList, QString> splitWords(QStringView exec)
{
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c == u'"') {
            inWord = true;
            for (++i;; ++i) {
                if (i == exec.size())
                    return Unexpected(QStringLiteral("an unterminated quote in its Exec line"));
                if (exec[i] == u'"')
                    break;
                if (exec[i] == u'\\' && i + 1 < exec.size())
                    ++i;
                word += exec[i];
            }
        } else if (c == u' ' || c == u'\t') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

// The keys a value localized for `locale` ("lang_COUNTRY.ENCODING@MODIFIER", each part but the language
// optional) may carry, best first: lang_COUNTRY@MODIFIER, lang_COUNTRY, lang@MODIFIER, lang.
QStringList localeKeys(QStringView locale)
{
    const qsizetype at = locale.indexOf(u'@');
    const QStringView modifier = at < 0 ? QStringView() : locale.mid(at + 1);
    QStringView rest = at < 0 ? locale : locale.left(at);
    if (const qsizetype dot = rest.indexOf(u'.'); dot >= 0)
        rest = rest.left(dot);
    const qsizetype underscore = rest.indexOf(u'_');
    const QStringView language = underscore < 0 ? rest : rest.left(underscore);
    QStringList keys;
    if (language.isEmpty())
        return keys;
    const auto withModifier = [&](QStringView key) {
        if (!modifier.isEmpty())
            keys << key.toString() + u'@' + modifier.toString();
    };
    if (underscore >= 0) {
        withModifier(rest);
        keys << rest.toString();
    }
    withModifier(language);
    keys << language.toString();
    return keys;
}

} // namespace

Expected<DesktopFile, QString> DesktopFile::read(const QString& path, QStringView locale)
{
    const Expected<QByteArray, AtomicFile::ReadError> bytes = AtomicFile::read(path, maximumSize);
    if (!bytes)
        return Unexpected(QStringLiteral("the file can't be read"));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(*bytes);
    if (decoder.hasError())
        return Unexpected(QStringLiteral("the file is not UTF-8 text"));

    DesktopFile file;
    file.path = path;
    const QStringList nameKeys = localeKeys(locale);
    qsizetype nameRank = nameKeys.size(); // the plain Name ranks below every localized one
    QString type;
    bool inEntry = false;
    bool sawEntry = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            // There is one [Desktop Entry] group; what follows it (actions, vendors' own groups) is not read.
            if (sawEntry)
                break;
            inEntry = line == u"[Desktop Entry]";
            sawEntry = inEntry;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inEntry || equals < 0)
            continue;
        const QStringView key = line.left(equals).trimmed();
        // Most lines are translations of keys not read here; only the values kept are unescaped.
        const auto value = [&] { return unescapeValue(line.mid(equals + 1).trimmed()); };
        if (key == u"Type")
            type = value();
        else if (key == u"Name" && nameRank == nameKeys.size())
            file.name = value();
        else if (key.startsWith(u"Name[") && key.endsWith(u']')) {
            const qsizetype rank = nameKeys.indexOf(key.mid(5, key.size() - 6));
            if (rank >= 0 && rank < nameRank) {
                file.name = value();
                nameRank = rank;
            }
        } else if (key == u"Exec")
            file.exec = value();
        else if (key == u"TryExec")
            file.tryExec = value();
        else if (key == u"Icon")
            file.icon = value();
        else if (key == u"Terminal")
            file.terminal = value() == u"true";
        else if (key == u"NoDisplay")
            file.noDisplay = value() == u"true";
        else if (key == u"Hidden")
            file.hidden = value() == u"true";
    }
    if (!sawEntry)
        return Unexpected(QStringLiteral("it has no [Desktop Entry] group"));
    if (type != u"Application")
        return Unexpected(QStringLiteral("it does not describe an application"));
    if (file.exec.isEmpty())
        return Unexpected(QStringLiteral("it has no Exec line"));
    return file;
}

Expected<QStringList, QString> DesktopFile::commandLine() const
{
    const Expected<QStringList, QString> words = splitWords(exec);
    if (!words)
        return words;

    QStringList arguments;
    for (const QString& word : *words) {
        if (word == u"%i") {
            if (!icon.isEmpty())
                arguments << QStringLiteral("--icon") << icon;
            continue;
        }
        // Codes for files and URLs expand to nothing: a tile starts the application without any.
        const bool wholeFileCode =
            word.size() == 2 && word.front() == u'%' && QStringView(u"fFuUdDnNvm").contains(word.back());
        if (wholeFileCode)
            continue;
        QString expanded;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word[i] != u'%') {
                expanded += word[i];
                continue;
            }
            if (i + 1 == word.size())
                return Unexpected(QStringLiteral("a stray % in its Exec line"));
            const QChar code = word[++i];
            if (code == u'%')
                expanded += u'%';
            else if (code == u'c')
                expanded += name;
            else if (code == u'k')
                expanded += path;
            else if (!QStringView(u"fFuUdDnNvmi").contains(code))
                return Unexpected(QStringLiteral("an unknown field code %%1 in its Exec line").arg(code));
        }
        arguments << expanded;
    }
    if (arguments.isEmpty() || arguments.front().isEmpty())
        return Unexpected(QStringLiteral("its Exec line names no program"));
    return arguments;
}
