#pragma once

#include "platform/AlertPresenter.h"

#include <QObject>
#include <QString>

class TileStore;

// Tells the user when the layout file cannot be written (a full or read-only disk): one alert when saving
// starts to fail, then a line for the status menu until a save succeeds. Failing again after that alerts
// again.
//
// Main thread only. The alert is shown from the event loop, never from inside the save that failed, so a
// command that saved answers before the alert waits for the user.
class SaveProblemNotice final : public QObject {
    Q_OBJECT
public:
    SaveProblemNotice(TileStore& store, AlertPresenter& alerts, QObject* parent = nullptr);

    // The status menu's line while the layout is not saved; empty once it is.
    [[nodiscard]] QString statusLine() const;
    [[nodiscard]] static Alert alertFor(const QString& problem);

private:
    void problemChanged(const QString& problem);

    TileStore& m_store;
    AlertPresenter& m_alerts;
    bool m_told = false;
};
