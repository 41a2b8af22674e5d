#include "platform/linux/music/ArtworkDownloads.h"

#include "core/AtomicFile.h"
#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "core/net/SingleFetch.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <algorithm>

namespace {

// Judged by the bytes, not by what the server says they are.
std::optional<QString> keepPicture(const QByteArray& bytes, const QString& path, const QString& what)
{
    const QString type = QMimeDatabase().mimeTypeForData(bytes).name();
    if (!type.startsWith(QStringLiteral("image/"))) {
        qCWarning(lcPlatform).noquote() << "Marquetto: artwork at" << what << "is no picture but" << type;
        return std::nullopt;
    }
    const QString folder = QFileInfo(path).path();
    const std::optional<QString> failure =
        QDir().mkpath(folder) ? AtomicFile::write(path, bytes) : QStringLiteral("no folder ") + folder;
    if (failure) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: could not keep the artwork at" << what << ":" << *failure;
        return std::nullopt;
    }
    return path;
}

void answerAll(const std::vector<ArtworkDownloads::Answer>& answers, const std::optional<QString>& path)
{
    for (const ArtworkDownloads::Answer& answer : answers)
        answer(path);
}

} // namespace

ArtworkDownloads::ArtworkDownloads(QString folder, ArtworkDownloadLimits limits, QObject* parent)
    : QObject(parent)
    , m_folder(std::move(folder))
    , m_limits(limits)
    , m_fetch(std::make_unique<SingleFetch>(QStringLiteral("artwork"),
                                            SingleFetch::Limits{limits.timeout, limits.maxBytes}))
{
}

ArtworkDownloads::~ArtworkDownloads() = default;

bool ArtworkDownloads::isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

void ArtworkDownloads::fetch(const QUrl& url, Answer answer)
{
    if (std::find(m_kept.cbegin(), m_kept.cend(), url) != m_kept.cend() && QFile::exists(fileFor(url))) {
        remember(url);
        answer(fileFor(url));
        return;
    }
    if (m_fetch->isBusy()) {
        if (url == m_pending) {
            m_waiting.push_back(std::move(answer));
            return;
        }
        m_fetch->abandon();
    }
    if (!m_folderEmptied) {
        m_folderEmptied = true;
        QDir(m_folder).removeRecursively();
    }
    m_pending = url;
    m_waiting.push_back(std::move(answer));
    const bool started =
        m_fetch->get(url, [this, url](std::optional<QByteArray> body) { downloaded(url, std::move(body)); });
    if (!started)
        answerAll(std::exchange(m_waiting, {}), std::nullopt);
}

QString ArtworkDownloads::fileFor(const QUrl& url) const
{
    return m_folder + u'/' +
           QString::fromLatin1(QCryptographicHash::hash(url.toEncoded(), QCryptographicHash::Sha256).toHex());
}

void ArtworkDownloads::downloaded(const QUrl& url, std::optional<QByteArray> body)
{
    std::vector<Answer> waiting = std::exchange(m_waiting, {});
    if (!body) {
        answerAll(waiting, std::nullopt);
        return;
    }
    BackgroundQueue::runThenReport<std::optional<QString>>(
        this,
        [bytes = std::move(*body), path = fileFor(url), what = url.toDisplayString()] {
            return keepPicture(bytes, path, what);
        },
        [this, url, waiting = std::move(waiting)](const std::optional<QString>& path) {
            if (path)
                remember(url);
            answerAll(waiting, path);
        });
}

void ArtworkDownloads::remember(const QUrl& url)
{
    std::erase(m_kept, url);
    m_kept.push_back(url);
    while (m_kept.size() > static_cast<std::size_t>(std::max(1, m_limits.keptFiles))) {
        QFile::remove(fileFor(m_kept.front()));
        m_kept.pop_front();
    }
}
