#pragma once

#include "platform/Wallpaper.h"

#include <QMutex>
#include <QMutexLocker>

// A desktop whose picture the test sets; it remembers the screen it was last asked about, and the test
// announces workspace changes. Safe from several threads.
class FakeWallpaper final : public Wallpaper {
public:
    void setPicture(std::optional<QString> picture)
    {
        QMutexLocker lock(&m_mutex);
        m_picture = std::move(picture);
    }

    [[nodiscard]] QString askedScreen() const
    {
        QMutexLocker lock(&m_mutex);
        return m_askedScreen;
    }

    void switchWorkspace() { Q_EMIT workspaceChanged(); }

    [[nodiscard]] std::optional<QString> pictureFile(const QString& screen) const override
    {
        QMutexLocker lock(&m_mutex);
        m_askedScreen = screen;
        return m_picture;
    }

private:
    mutable QMutex m_mutex;
    std::optional<QString> m_picture;
    mutable QString m_askedScreen;
};
