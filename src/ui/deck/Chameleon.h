#pragma once

#include "core/BackgroundQueue.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

class QImage;
class Wallpaper;

// The colour the deck's glass borrows from the desktop's wallpaper. While running it samples the wallpaper
// at once, again whenever the user moves to another workspace, and every 15 seconds when the picture has
// changed; a picture that is too grey gives no tint. Decoding runs in the background, on a picture reduced
// before any per-pixel work.
//
// Main thread only. `tintChanged` fires when the published tint changes. Timer handlers are public so that
// tests can run them; they do what the timer would.
class ChameleonEngine final : public QObject {
    Q_OBJECT
public:
    using Job = std::function<void()>;
    using JobRunner = std::function<void(Job)>;

    static constexpr std::chrono::seconds recheckInterval{15};
    // The side of the square the picture is reduced to for its statistics.
    static constexpr int sampleSide = 48;
    // The largest side a picture is decoded at, whatever its size on disk.
    static constexpr int decodeSide = 512;

    struct Services {
        // Must outlive the background work it is asked for.
        Wallpaper& wallpaper;
        // The name of the screen the deck counts as its main one, or nothing when there is no screen.
        std::function<std::optional<QString>()> mainScreen;
        JobRunner background = &BackgroundQueue::run;
    };

    explicit ChameleonEngine(Services services, QObject* parent = nullptr);

    // Begins watching; nothing when already running.
    void start();
    // Ends watching and drops the tint at once.
    void stop();
    [[nodiscard]] bool isRunning() const { return m_timer.isActive(); }

    // Looks for the wallpaper and, when it changed (or always when `force`), derives its tint in the
    // background and publishes it. Nothing while stopped.
    void sample(bool force);
    // The 15-second timer's handler.
    void recheck() { sample(false); }

    // The published tint as 0xRRGGBB, or nothing.
    [[nodiscard]] std::optional<quint32> tint() const { return m_tint; }
    // The picture last sampled.
    [[nodiscard]] const std::optional<QString>& lastPicture() const { return m_lastPicture; }

    // The tint of a picture: the saturation-weighted mean colour of its 48 × 48 reduction, its saturation
    // held to [0.45, 0.8] and its brightness to [0.5, 0.72]; nothing for a grey or near-grey picture.
    [[nodiscard]] static std::optional<QColor> extractTint(const QImage& image);
    // The tint of a picture file (the first frame of an animation), decoded at most `decodeSide` pixels
    // wide and high where its format can decode reduced, and never past the image reader's allocation limit;
    // nothing when it is not a readable picture. Safe from any thread.
    [[nodiscard]] static std::optional<QColor> tintOfFile(const QString& path);

Q_SIGNALS:
    void tintChanged();

private:
    void pictureFound(const std::optional<QString>& picture, bool force);
    void setTint(std::optional<quint32> tint);

    Services m_services;
    QTimer m_timer;
    QMetaObject::Connection m_workspaceWatch;
    std::optional<quint32> m_tint;
    std::optional<QString> m_lastPicture;
    // Counts the decodes started, so that only the latest one's result is published, and none after a stop.
    quint64 m_decodes = 0;
};
