#pragma once

#include <QByteArray>
#include <QString>

// A sound of our own kept as a file for the sound server's player, written the first time it is needed.
// Main thread.
class ToneFile final {
public:
    using Maker = QByteArray (*)();

    ToneFile(QString path, Maker make);

    // True once the file is written; a failure to write it is logged once and asked again on the next call.
    [[nodiscard]] bool ensureWritten();

    [[nodiscard]] const QString& path() const { return m_path; }

private:
    QString m_path;
    Maker m_make;
    bool m_written = false;
    bool m_failureLogged = false;
};
