#pragma once

#include "platform/Workspace.h"

#include <QHash>

// A desktop whose applications, favourites and running processes the test lists, and which records what
// it was asked to open and start.
class FakeWorkspace final : public Workspace {
public:
    QHash<QString, QString> applications;        // identifier → path
    QStringList favourites;                      // paths
    QStringList everyday;                        // paths
    QHash<QString, std::vector<qint64>> running; // application path → processes
    std::vector<QUrl> opened;
    QStringList launched;
    int accessSettingsOpened = 0;

    [[nodiscard]] std::optional<QString> applicationPath(const QString& applicationId) const override
    {
        const auto it = applications.constFind(applicationId);
        return it == applications.constEnd() ? std::nullopt : std::optional(*it);
    }
    [[nodiscard]] QStringList favouriteApplications() const override { return favourites; }
    [[nodiscard]] QStringList everydayApplications() const override { return everyday; }
    void open(const QUrl& url) override { opened.push_back(url); }
    bool launchApplication(const QString& applicationPath) override
    {
        launched << applicationPath;
        return true;
    }
    [[nodiscard]] std::vector<qint64> runningProcessesOf(const QString& applicationPath) const override
    {
        return running.value(applicationPath);
    }
    void openWindowAccessSettings() override { ++accessSettingsOpened; }
};
