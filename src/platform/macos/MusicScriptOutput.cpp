#include "MusicScriptOutput.h"

#include "core/TextTrim.h"

#include <QSet>

namespace {

const QString sectionSeparator = QStringLiteral("\n===SEP===\n");

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

QStringView withoutLeadingLineBreaks(QStringView text)
{
    while (!text.isEmpty() && isLineBreak(text.front()))
        text = text.mid(1);
    return text;
}

QStringView withoutTrailingLineBreaks(QStringView text)
{
    while (!text.isEmpty() && isLineBreak(text.back()))
        text.chop(1);
    return text;
}

} // namespace

QStringList MusicScriptOutput::playlists(const QString& output)
{
    return nonBlankLines(output);
}

std::vector<AlbumEntry> MusicScriptOutput::albums(const QString& output)
{
    // Sections are found before the ends are trimmed: an empty library's output starts with a separator,
    // which trimming would turn into an album name.
    QList<QStringView> sections = QStringView(output).split(sectionSeparator);
    sections.front() = withoutLeadingLineBreaks(sections.front());
    sections.back() = withoutTrailingLineBreaks(sections.back());
    const auto linesOf = [&sections](qsizetype section) {
        return section < sections.size() ? sections[section].split(u'\n') : QList<QStringView>();
    };
    const QList<QStringView> names = linesOf(0);
    const QList<QStringView> albumArtists = linesOf(1);
    const QList<QStringView> trackArtists = linesOf(2);
    // A name with a line break in it shifts every later line: artists are then better left unknown.
    const bool aligned = albumArtists.size() == names.size() && trackArtists.size() == names.size();

    std::vector<AlbumEntry> albums;
    QSet<QString> seen;
    for (qsizetype line = 0; line < names.size(); ++line) {
        const QStringView name = trimSpacesAndTabs(names[line]);
        if (name.isEmpty())
            continue;
        QStringView artist;
        if (aligned) {
            artist = trimSpacesAndTabs(albumArtists[line]);
            if (artist.isEmpty())
                artist = trimSpacesAndTabs(trackArtists[line]);
        }
        const QString key = AlbumEntry{name.toString().toLower(), artist.toString().toLower()}.key();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        albums.push_back({name.toString(), artist.toString()});
    }
    return albums;
}

std::optional<NowPlayingInfo> MusicScriptOutput::nowPlaying(const QString& output)
{
    QStringView text = output;
    // osascript ends what it prints with a line feed of its own.
    if (text.endsWith(u'\n'))
        text.chop(1);
    const QList<QStringView> lines = text.split(u'\n');
    if (lines.size() < 4)
        return std::nullopt;
    return NowPlayingInfo{
        trimSpacesAndTabs(lines[0]) == u"playing",
        trimSpacesAndTabs(lines[1]).toString(),
        trimSpacesAndTabs(lines[2]).toString(),
        trimSpacesAndTabs(lines[3]).toString(),
    };
}
