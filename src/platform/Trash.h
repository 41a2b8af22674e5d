#pragma once

#include <QStringList>

// The user's Trash: where its items are, opening it in the file manager and emptying it.
class Trash {
public:
    struct Locations {
        // The folders holding trashed items, each listed once, in the order the platform ranks them.
        QStringList folders;
        // Some file system could not be examined: it may hold a Trash of the user's that is not listed.
        bool skipped = false;
        bool operator==(const Locations&) const = default;
    };

    virtual ~Trash() = default;

    // May block on the disk (mounted file systems are examined): call off the main thread, from any thread.
    [[nodiscard]] virtual Locations locations() const = 0;
    // Both return at once, on the main thread; the outcome is not observed.
    virtual void open() = 0;
    virtual void empty() = 0;

protected:
    // The candidates that are existing folders, in order, each folder once however many paths lead to it.
    [[nodiscard]] static QStringList distinctFolders(const QStringList& candidates);
};

// A machine without a Trash of its own: nothing to count, open or empty.
class NullTrash final : public Trash {
public:
    [[nodiscard]] Locations locations() const override { return {}; }
    void open() override {}
    void empty() override {}
};
