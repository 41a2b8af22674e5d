#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QProcess;

// What the real `marquetto-deck` did when a test ran it.
struct DeckRun {
    int status = -1; // -1 when it did not finish in time
    QByteArray out;
    QByteArray err;
};

// Runs the real program, as a user would, with the given home (none when empty) and no XDG folders of the
// test's own environment.
DeckRun runDeck(const QString& home, const QStringList& arguments, const QByteArray& input = {});

// Starts the real program in `process` as `runDeck` does, without waiting for it to finish.
void startDeck(QProcess& process, const QString& home, const QStringList& arguments);
