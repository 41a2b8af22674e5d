#include "ui/deck/NowPlayingArtwork.h"

#include "actions/NowPlaying.h"
#include "core/BackgroundQueue.h"
#include "core/MainThread.h"
#include "icons/IconNormalizer.h"

#include <QPointer>

NowPlayingArtwork::NowPlayingArtwork(const NowPlayingModel& model, QObject* parent)
    : QObject(parent)
    , m_model(model)
{
    connect(&m_model, &NowPlayingModel::artworkChanged, this, &NowPlayingArtwork::load);
}

void NowPlayingArtwork::load()
{
    const quint64 generation = ++m_generation;
    const QString path = m_model.artworkFile();
    if (path.isEmpty()) {
        show({}, generation);
        return;
    }
    BackgroundQueue::run([self = QPointer(this), path, generation] {
        QImage image = IconNormalizer::decode(path).value_or(QImage());
        if (!image.isNull() && std::max(image.width(), image.height()) > maxSide)
            image = image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (!image.isNull())
            image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        MainThread::post(
            self, [image, generation](NowPlayingArtwork& artwork) { artwork.show(image, generation); });
    });
}

void NowPlayingArtwork::show(const QImage& image, quint64 generation)
{
    if (generation != m_generation)
        return;
    m_image = image;
    Q_EMIT imageChanged();
}
