#include "Models.h"

#include "core/Overloaded.h"
#include "core/TextTrim.h"

#include <QStringList>
#include <QTextBoundaryFinder>
#include <QUrl>
#include <algorithm>

namespace {

const QString ellipsis = QStringLiteral("\u2026");

bool isNewline(QChar c)
{
    switch (c.unicode()) {
    case 0x000A: // line feed
    case 0x000B: // vertical tab
    case 0x000C: // form feed
    case 0x000D: // carriage return
    case 0x0085: // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        return false;
    }
}

// The lines of a text, split at every newline character, without the empty ones.
QList<QStringView> nonEmptyLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || isNewline(text[i])) {
            if (i > start)
                lines << text.mid(start, i - start);
            start = i + 1;
        }
    }
    return lines;
}

// Cuts text of `limit` or more user-perceived characters to its first `limit - 1` followed by "…".
QString truncated(QStringView text, int limit)
{
    // A grapheme cluster is at least one UTF-16 unit, so shorter texts need no counting.
    if (text.size() < limit)
        return text.toString();
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype keepUpTo = -1;
    int boundaries = 0;
    for (qsizetype position = graphemes.toNextBoundary(); position != -1;
         position = graphemes.toNextBoundary()) {
        ++boundaries;
        if (boundaries == limit - 1)
            keepUpTo = position;
        if (boundaries == limit)
            return text.left(keepUpTo).toString() + ellipsis;
    }
    return text.toString();
}

// The first line that holds more than spaces and tabs, trimmed and cut to 44 characters.
QString firstLine(QStringView text)
{
    for (const QStringView line : nonEmptyLines(text)) {
        const QStringView trimmed = trimSpacesAndTabs(line);
        if (!trimmed.isEmpty())
            return truncated(trimmed, 45);
    }
    return {};
}

QString snippetLabel(QStringView text)
{
    const QList<QStringView> lines = nonEmptyLines(text);
    const QStringView first = lines.isEmpty() ? QStringView() : trimSpacesAndTabs(lines.first());
    return first.isEmpty() ? QStringLiteral("Snippet") : truncated(first, 19);
}

QStringView lastPathComponent(QStringView path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 || path.size() == 1 ? path : path.mid(slash + 1);
}

QStringView withoutExtension(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    // A leading dot marks a hidden file, not an extension.
    return dot > 0 ? name.left(dot) : name;
}

QString urlHostOr(const QString& urlString)
{
    const QUrl url(urlString, QUrl::StrictMode);
    const QString host = url.isValid() ? url.host() : QString();
    return host.isEmpty() ? urlString : host;
}

QString orFallback(const QString& text, const char16_t* fallback)
{
    return text.isEmpty() ? QString::fromUtf16(fallback) : text;
}

// The desktop's name for the application, else the bundle's or desktop file's name without its extension.
QString applicationLabel(const ApplicationNames& names, const QString& path)
{
    return names.nameOf(path).value_or(withoutExtension(lastPathComponent(path)).toString());
}

} // namespace

QString TileAction::defaultLabel(const ApplicationNames& names) const
{
    return std::visit(Overloaded{
                          [&](const LaunchApp& a) { return applicationLabel(names, a.path); },
                          [](const OpenFile& a) { return lastPathComponent(a.path).toString(); },
                          [](const OpenURL& a) { return urlHostOr(a.urlString); },
                          [](const PlayPlaylist& a) { return a.name; },
                          [](const PlayAlbum& a) { return a.name; },
                          [](const NowPlaying&) { return QStringLiteral("Now Playing"); },
                          [](const RunSystemAction& a) { return title(a.action); },
                          [](const RunShortcut& a) { return a.name; },
                          [](const RunScript&) { return QStringLiteral("Script"); },
                          [](const Sequence&) { return QStringLiteral("Scene"); },
                          [](const ConnectBluetooth& a) { return orFallback(a.name, u"Bluetooth"); },
                          [](const AudioOutput& a) { return orFallback(a.name, u"Output"); },
                          [](const Snippet& a) { return snippetLabel(a.text); },
                      },
                      value);
}

QString TileAction::tooltipDescription(const ApplicationNames& names) const
{
    return std::visit(
        Overloaded{
            [&](const LaunchApp&) { return defaultLabel(names); },
            [&](const OpenFile&) { return defaultLabel(names); },
            [&](const OpenURL&) { return defaultLabel(names); },
            [](const PlayPlaylist& a) { return a.name; },
            [](const PlayAlbum& a) {
                return a.artist.isEmpty() ? a.name : a.name + QStringLiteral(" \u2014 ") + a.artist;
            },
            [](const NowPlaying&) { return QStringLiteral("Now Playing"); },
            [](const RunSystemAction& a) { return title(a.action); },
            [](const RunShortcut& a) { return a.name; },
            [](const RunScript& a) { return orFallback(firstLine(a.source), u"Script"); },
            [&names](const Sequence& a) {
                if (a.steps.empty())
                    return QStringLiteral("Scene");
                QStringList labels;
                for (size_t i = 0; i < std::min<size_t>(3, a.steps.size()); ++i)
                    labels << a.steps[i].defaultLabel(names);
                return labels.join(QStringLiteral(", ")) + (a.steps.size() > 3 ? ellipsis : QString());
            },
            [](const ConnectBluetooth& a) { return orFallback(a.name, u"Bluetooth device"); },
            [](const AudioOutput& a) { return orFallback(a.name, u"Audio output"); },
            [](const Snippet& a) { return orFallback(firstLine(a.text), u"Snippet"); },
        },
        value);
}

std::optional<QString> Tile::tooltipText(const ApplicationNames& names) const
{
    if (!action)
        return std::nullopt;
    QString text = label.isEmpty() ? action->tooltipDescription(names) : label;
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

int actionTileCount(const Pages& pages)
{
    int count = 0;
    for (const Page& page : pages)
        count += static_cast<int>(
            std::count_if(page.begin(), page.end(), [](const Tile& tile) { return !tile.isEmpty(); }));
    return count;
}
