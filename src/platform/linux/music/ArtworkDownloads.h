#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class SingleFetch;

struct ArtworkDownloadLimits {
    std::chrono::milliseconds timeout{10000};
    qint64 maxBytes = 5 * 1024 * 1024;
    // Pictures kept in the folder; the one used longest ago goes first.
    int keptFiles = 32;
};

// The pictures that media players name by web address (streaming services, browsers), downloaded into a
// folder of ours and answered from there for as long as they are kept, keyed by their address. A download is
// bounded in time and size, follows redirects only to https (or to this machine), and is kept only when its
// bytes are a picture. The folder is emptied on the first download of the run: the deck never serves a
// picture it did not fetch itself this time.
//
// Main thread only. Every fetch answers exactly once on the main thread, possibly before it returns, unless
// this object is gone first.
class ArtworkDownloads final : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<void(std::optional<QString> path)>;

    explicit ArtworkDownloads(QString folder, ArtworkDownloadLimits limits = {}, QObject* parent = nullptr);
    ~ArtworkDownloads() override;

    [[nodiscard]] static bool isWebAddress(const QUrl& url);
    // The local file holding the picture at `url`, or nothing. Only the latest picture is wanted: a fetch of
    // another address while one is out gives up on that one, which answers nothing.
    void fetch(const QUrl& url, Answer answer);

private:
    [[nodiscard]] QString fileFor(const QUrl& url) const;
    void downloaded(const QUrl& url, std::optional<QByteArray> body);
    // Makes `url` the picture used last, and lets the one used longest ago go when there are too many.
    void remember(const QUrl& url);

    QString m_folder;
    ArtworkDownloadLimits m_limits;
    std::unique_ptr<SingleFetch> m_fetch;
    bool m_folderEmptied = false;
    QUrl m_pending;
    std::vector<Answer> m_waiting; // for `m_pending`
    std::deque<QUrl> m_kept;       // the one used longest ago first
};
