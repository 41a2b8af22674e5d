#pragma once

#include "model/ApplicationNames.h"

// A desktop that knows the name of one application, "Files".
class FakeApplicationNames final : public ApplicationNames {
public:
    const QString known = QStringLiteral("/usr/share/applications/org.gnome.Nautilus.desktop");

    [[nodiscard]] std::optional<QString> nameOf(const QString& path) const override
    {
        return path == known ? std::optional(QStringLiteral("Files")) : std::nullopt;
    }
};
