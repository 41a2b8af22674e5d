#include "LayoutFile.h"

#include "core/AtomicFile.h"
#include "core/Logging.h"
#include "model/TileCoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

LayoutFile::LayoutFile(const AppPaths& paths, const Clock& clock)
    : m_paths(paths)
    , m_backups(paths.tilesFile(), paths.backupsDir(), clock)
{
}

std::optional<LayoutFile::Contents> LayoutFile::read() const
{
    const auto bytes = AtomicFile::read(m_paths.tilesFile(), maxBytes);
    if (!bytes && bytes.error() != AtomicFile::ReadError::tooLarge)
        return std::nullopt;
    auto contents = bytes ? decode(*bytes) : std::nullopt;
    if (!contents) {
        // Keep the bytes where the user and the icon clean-up can find them; the file itself stays in place
        // until the next save, which backs it up first.
        QFile::remove(m_paths.unreadableTilesFile());
        QFile::copy(m_paths.tilesFile(), m_paths.unreadableTilesFile());
        qCWarning(lcStore).noquote() << "Marquetto: the layout file could not be read; a copy was kept as"
                                     << m_paths.unreadableTilesFile();
    }
    return contents;
}

bool LayoutFile::isFirstLaunch() const
{
    return !QFileInfo::exists(m_paths.tilesFile()) && m_backups.availableBackups().empty();
}

std::optional<QString> LayoutFile::write(const Pages& pages) const
{
    m_backups.backupExisting();
    QDir().mkpath(m_paths.supportDir());
    const auto failure = AtomicFile::write(m_paths.tilesFile(), TileCoding::layoutBytes(pages));
    if (failure)
        qCWarning(lcStore).noquote() << "Marquetto: couldn't save the layout:" << *failure;
    return failure;
}

std::optional<LayoutFile::Contents> LayoutFile::decode(const QByteArray& bytes)
{
    const auto json = TileCoding::parse(bytes);
    if (!json)
        return std::nullopt;
    if (auto pages = TileCoding::decodePages(*json))
        return Contents{std::move(*pages), false};
    if (auto page = TileCoding::decodePage(*json))
        return Contents{Pages{std::move(*page)}, true};
    return std::nullopt;
}

std::optional<Pages> LayoutFile::readPages(const QString& path)
{
    const auto bytes = AtomicFile::read(path, maxBytes);
    if (!bytes)
        return std::nullopt;
    const auto json = TileCoding::parse(*bytes);
    if (!json)
        return std::nullopt;
    auto pages = TileCoding::decodePages(*json);
    if (!pages || pages->empty())
        return std::nullopt;
    return std::move(*pages);
}
