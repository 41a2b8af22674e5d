#pragma once

#include "platform/Workspace.h"

#include <QHash>

// A desktop whose applications and favourites the test lists.
class FakeWorkspace final : public Workspace {
public:
    QHash<QString, QString> applications; // identifier → path
    QStringList favourites;

    [[nodiscard]] std::optional<QString> applicationPath(const QString& applicationId) const override
    {
        const auto it = applications.constFind(applicationId);
        return it == applications.constEnd() ? std::nullopt : std::optional(*it);
    }
    [[nodiscard]] QStringList favouriteApplications() const override { return favourites; }
};
