#include "sync/CloudReading.h"

#include "core/AtomicFile.h"
#include "core/Logging.h"
#include "sync/CloudFolder.h"
#include "transfer/DeckFingerprint.h"

#include <QDateTime>
#include <QFileInfo>

using CloudRule::Reading;

namespace {

CloudRemote only(Reading reading)
{
    CloudRemote remote;
    remote.reading = reading;
    return remote;
}

} // namespace

std::optional<CloudReading::Stamp> CloudReading::stampOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    const QDateTime modified = info.lastModified();
    return Stamp{path, modified.isValid() ? modified.toMSecsSinceEpoch() : 0, info.size()};
}

CloudRemote CloudReading::read(const QString& driveRoot)
{
    if (driveRoot.isEmpty() || !QFileInfo(driveRoot).isDir())
        return only(Reading::unavailable);
    const QString path = CloudFolder::syncFile(driveRoot);
    const std::optional<Stamp> stamp = stampOf(path);
    if (!stamp) {
        const bool arriving = QFileInfo::exists(CloudFolder::placeholder(driveRoot)) ||
                              CloudFolder::isBeingDownloaded(driveRoot);
        return only(arriving ? Reading::pending : Reading::missing);
    }
    if (m_lastRead && m_lastRead->first == *stamp)
        return m_lastRead->second;
    // A client that writes the file in place rather than renaming a finished download over it leaves its
    // temporary file beside ours until it is done.
    if (CloudFolder::isBeingDownloaded(driveRoot))
        return only(Reading::pending);

    const auto bytes = AtomicFile::read(path, DeckTransfer::maxFileBytes);
    if (!bytes) {
        qCWarning(lcCloud).noquote() << "Marquetto: couldn't read the shared deck" << path;
        return only(bytes.error() == AtomicFile::ReadError::tooLarge ? Reading::damaged : Reading::failed);
    }
    if (stampOf(path) != stamp)
        return only(Reading::pending);
    return decoded(*bytes, *stamp);
}

CloudRemote CloudReading::decoded(const QByteArray& bytes, const Stamp& stamp)
{
    auto file = DeckTransfer::decode(bytes);
    CloudRemote remote;
    if (file) {
        const QString print = DeckFingerprint::of(file->pages, file->gridColumns, file->gridRows);
        remote = {Reading::deck, std::make_shared<const DeckTransfer::DeckFile>(std::move(*file)), print};
    } else if (file.error() == DeckTransfer::TransferError::newerFormat) {
        remote = only(Reading::newer);
    } else if (m_suspect != stamp) {
        // A sync client may still be filling the file in; only the same broken file seen on a later pass
        // counts as damaged, which a real local deck then overwrites.
        m_suspect = stamp;
        qCInfo(lcCloud).noquote() << "Marquetto: the shared deck doesn't decode yet; looking again next pass";
        return only(Reading::pending);
    } else {
        qCWarning(lcCloud).noquote() << "Marquetto: the shared deck" << stamp.path << "doesn't decode";
        remote = only(Reading::damaged);
    }
    m_suspect.reset();
    m_lastRead = {stamp, remote};
    return remote;
}
