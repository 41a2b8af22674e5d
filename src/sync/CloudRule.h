#pragma once

#include <QString>

// The decisions of cloud sync, apart from every file and timer: what a pass does with what it read of the
// synced folder, and what switching sync on does.
namespace CloudRule {

// What reading the synced folder found.
enum class Reading {
    deck,        // the sync file decoded
    unavailable, // the synced folder is not there
    pending,     // the file is on its way to this disk
    failed,      // the file is there but could not be read
    newer,       // the file was written by a newer program
    missing,     // there is no sync file
    damaged,     // the file does not decode
};

// What a pass does.
enum class Step {
    record, // both sides hold the same deck: remember that and settle
    settle, // nothing changed
    send,   // upload the local deck
    apply,  // take the shared deck
    report, // only say what the reading was
};

struct Pass {
    Reading reading = Reading::missing;
    // The fingerprints of the file read (for `deck`) and of the local deck now.
    QString filePrint;
    QString localPrint;
    // The fingerprints remembered from the last time both sides were known to agree.
    QString storedFilePrint;
    QString storedDeckPrint;
    // Whether the local deck is the user's own rather than a starter or empty deck. Only such a deck is ever
    // uploaded.
    bool localIsReal = false;
    // Seconds since 1970: this machine's last edit (0 when none) and when the file's deck was edited.
    double layoutEdit = 0;
    double exportedAt = 0;
};

[[nodiscard]] Step decide(const Pass& pass);

// What switching sync on does with what was read.
enum class SwitchOn {
    useShared, // the same deck on both sides: take it without asking
    ask,       // both sides hold a deck: the user chooses
    keepLocal, // nothing usable is shared: upload this machine's deck
    refuse,    // the folder cannot be used now: say why and stay off
};

[[nodiscard]] SwitchOn switchOn(Reading reading, const QString& filePrint, const QString& localPrint);

} // namespace CloudRule
