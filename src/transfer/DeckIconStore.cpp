#include "core/AtomicFile.h"
#include "core/Logging.h"
#include "transfer/DeckTransfer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace DeckTransfer {

namespace {

bool isPlainCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'-' ||
           u == u'_';
}

QString contentName(const VettedIcon& icon)
{
    return QString::fromLatin1(QCryptographicHash::hash(icon.bytes, QCryptographicHash::Sha256).toHex()) +
           u'.' + icon.extension;
}

enum class Slot {
    free,
    sameBytes,
    taken,
};

Slot slotFor(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    // A link could lead the write out of the icons folder; whatever it points at, the name is taken.
    if (info.isSymLink())
        return Slot::taken;
    if (!info.exists())
        return Slot::free;
    // Reading one byte more than ours tells a larger file apart without reading all of it.
    const auto existing = AtomicFile::read(path, bytes.size());
    return existing && *existing == bytes ? Slot::sameBytes : Slot::taken;
}

// A fresh date keeps the clean-up from taking the file for an old unused one.
void markUsed(const QString& path, const QDateTime& now)
{
    QFile file(path);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(now, QFileDevice::FileModificationTime);
}

} // namespace

bool isPlainFileName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return false;
    const QStringView base = QStringView(name).left(dot);
    const QStringView extension = QStringView(name).mid(dot + 1);
    if (base.size() > maxPlainBaseLength || !base.front().isLetterOrNumber())
        return false;
    if (!imageExtensions().contains(extension.toString()))
        return false;
    return std::all_of(base.begin(), base.end(), isPlainCharacter);
}

std::optional<QString> storeIcon(const VettedIcon& icon, const QString& name, const QString& iconsDir,
                                 const QDateTime& now)
{
    if (!imageExtensions().contains(icon.extension))
        return std::nullopt;
    QStringList candidates;
    if (isPlainFileName(name))
        candidates << name;
    candidates << contentName(icon);
    for (const QString& candidate : candidates) {
        const QString path = iconsDir + u'/' + candidate;
        switch (slotFor(path, icon.bytes)) {
        case Slot::sameBytes:
            markUsed(path, now);
            return candidate;
        case Slot::free:
            if (const auto failure = AtomicFile::write(path, icon.bytes)) {
                qCWarning(lcStore).noquote() << "Marquetto: deck import couldn't write an icon:" << *failure;
                continue;
            }
            return candidate;
        case Slot::taken:
            continue;
        }
    }
    return std::nullopt;
}

Pages storeIcons(const DeckFile& deck, const QString& iconsDir, const QDateTime& now, const Vet& vet)
{
    QHash<QString, QString> stored;
    const QSet<QString> names = customIconNames(deck.pages);
    if (!names.isEmpty() && !deck.icons.empty())
        QDir().mkpath(iconsDir);
    for (const QString& name : names) {
        const auto bytes = deck.icons.find(name);
        if (bytes == deck.icons.end())
            continue;
        // The very bytes the icons folder holds under this name need no second look: the deck draws that
        // file already, and a deck applied again or synced back costs no picture decoding.
        if (const QString path = iconsDir + u'/' + name;
            isPlainFileName(name) && slotFor(path, bytes->second) == Slot::sameBytes) {
            markUsed(path, now);
            stored.insert(name, name);
            continue;
        }
        const std::optional<VettedIcon> vetted = vet(bytes->second);
        if (!vetted)
            continue;
        if (const auto storedName = storeIcon(*vetted, name, iconsDir, now))
            stored.insert(name, *storedName);
    }
    Pages pages = deck.pages;
    for (Page& page : pages) {
        for (Tile& tile : page) {
            const auto* custom = tile.icon.as<TileIcon::Custom>();
            if (!custom)
                continue;
            const auto storedName = stored.constFind(custom->fileName);
            tile.icon = storedName == stored.cend() ? TileIcon{TileIcon::Auto{}}
                                                    : TileIcon{TileIcon::Custom{*storedName}};
        }
    }
    return pages;
}

} // namespace DeckTransfer
