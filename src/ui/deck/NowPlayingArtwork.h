#pragma once

#include <QImage>
#include <QObject>

class NowPlayingModel;

// The now-playing artwork as pixels for the deck to draw: each artwork the model fetches is decoded in the
// background, within the import's size budgets, and kept scaled to at most `maxSide` pixels. A picture
// that cannot be decoded (missing, cut short, far too large) leaves no image.
//
// Main thread only. `imageChanged` fires when a new decode arrives or the artwork went away.
class NowPlayingArtwork final : public QObject {
    Q_OBJECT
public:
    // Twice the largest tile, for dense screens.
    static constexpr int maxSide = 256;

    explicit NowPlayingArtwork(const NowPlayingModel& model, QObject* parent = nullptr);

    [[nodiscard]] const NowPlayingModel& model() const { return m_model; }
    [[nodiscard]] const QImage& image() const { return m_image; }

Q_SIGNALS:
    void imageChanged();

private:
    void load();
    void show(const QImage& image, quint64 generation);

    const NowPlayingModel& m_model;
    QImage m_image;
    // Only the newest decode is shown: an older one may finish last.
    quint64 m_generation = 0;
};
