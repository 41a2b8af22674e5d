#pragma once

#include <QString>
#include <vector>

// The applications installed on this desktop, for the application picker.
//
// `entries()` reads files only and may run on any thread.
class InstalledApplications {
public:
    struct Entry {
        QString name;        // in the user's language
        QString desktopPath; // what an application tile stores
        QString iconName;    // a name in the icon theme or an absolute file; may be empty
    };

    virtual ~InstalledApplications() = default;
    // Every application the desktop shows in its menus, sorted by name in the user's order, ignoring case.
    [[nodiscard]] virtual std::vector<Entry> entries() const = 0;
};

// A desktop without installed applications to list.
class NoInstalledApplications final : public InstalledApplications {
public:
    [[nodiscard]] std::vector<Entry> entries() const override { return {}; }
};
