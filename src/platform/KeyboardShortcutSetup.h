#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The desktop's own keyboard shortcuts that run the companion's `summon` and `fire N`, for sessions where the
// deck cannot hear its keys itself. Shortcuts the user already has on the same keys are never replaced.
//
// Every call runs programs and waits for them: call it from a background queue or from the companion,
// never from the main thread of the deck. An answer with a `failure` changed nothing the user had.
class KeyboardShortcutSetup {
public:
    // Keys are named the way the user reads them: "Control-Alt-Space", "Control-Alt-1".
    struct Skipped {
        QString keys;
        QString takenBy; // the name of the user's shortcut on those keys
        bool operator==(const Skipped&) const = default;
    };
    struct SetUpReport {
        QStringList added;
        QStringList alreadyThere;
        std::vector<Skipped> skipped;
        QString failure;
    };
    struct RemoveReport {
        int removed = 0;
        QString failure;
    };
    struct Status {
        QStringList installed; // the keys of ours that are there
        QString failure;
    };

    virtual ~KeyboardShortcutSetup() = default;

    // Adds the shortcuts not there yet, each running `companion` with its arguments.
    [[nodiscard]] virtual SetUpReport setUp(const QString& companion) = 0;
    // Takes back our own shortcuts and nothing else.
    [[nodiscard]] virtual RemoveReport remove() = 0;
    [[nodiscard]] virtual Status installed() = 0;
};

// A desktop whose own shortcuts the deck does not know how to change.
class NoKeyboardShortcutSetup final : public KeyboardShortcutSetup {
public:
    [[nodiscard]] SetUpReport setUp(const QString&) override { return {{}, {}, {}, why()}; }
    [[nodiscard]] RemoveReport remove() override { return {0, why()}; }
    [[nodiscard]] Status installed() override { return {{}, why()}; }

private:
    [[nodiscard]] static QString why()
    {
        return QStringLiteral("Marquetto sets up the desktop's own keyboard shortcuts only on GNOME");
    }
};
