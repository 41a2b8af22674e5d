#include "deck/FileDrop.h"

#include "core/ProgramFile.h"

#include <QByteArrayView>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace FileDrop {

namespace {

const QString uriListType = QStringLiteral("text/uri-list");

// The first address of a URI list: lines end in CR LF, and lines starting with '#' are comments. Newlines
// inside a file's name are percent-encoded, so they never split a line.
std::optional<QUrl> firstUrl(QByteArrayView list)
{
    while (!list.isEmpty()) {
        const qsizetype end = list.indexOf('\n');
        const QByteArrayView line = (end < 0 ? list : list.first(end)).trimmed();
        list = end < 0 ? QByteArrayView() : list.sliced(end + 1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QUrl url = QUrl::fromEncoded(line.toByteArray());
        if (!url.isValid())
            return std::nullopt;
        return url;
    }
    return std::nullopt;
}

std::optional<TileAction> localFileAction(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return std::nullopt;
    if (info.isFile() && (info.suffix() == u"desktop" || ProgramFile::isProgram(path)))
        return TileAction{TileAction::LaunchApp{path}};
    return TileAction{TileAction::OpenFile{path}};
}

} // namespace

std::optional<TileAction> actionFor(const QMimeData& data)
{
    if (!data.hasFormat(uriListType))
        return std::nullopt;
    const std::optional<QUrl> url = firstUrl(data.data(uriListType));
    if (!url)
        return std::nullopt;
    if (url->isLocalFile())
        return localFileAction(url->toLocalFile());
    const QString scheme = url->scheme();
    if ((scheme == u"http" || scheme == u"https") && !url->host().isEmpty())
        return TileAction{TileAction::OpenURL{QString::fromUtf8(url->toEncoded())}};
    return std::nullopt;
}

Tile tileFor(const Tile& replaced, const TileAction& action)
{
    Tile tile;
    tile.id = replaced.id;
    tile.action = action;
    return tile;
}

} // namespace FileDrop
