#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the real `marquetto-deck` did when a test ran it.
struct DeckRun {
    int status = -1; // -1 when it did not finish in time
    QByteArray out;
    QByteArray err;
};

// Runs the real program, as a user would, with the given home (none when empty) and no XDG folders of the
// test's own environment.
DeckRun runDeck(const QString& home, const QStringList& arguments, const QByteArray& input = {});
