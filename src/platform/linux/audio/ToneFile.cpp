#include "platform/linux/audio/ToneFile.h"

#include "core/AtomicFile.h"
#include "core/Logging.h"

#include <QDir>
#include <QFileInfo>

ToneFile::ToneFile(QString path, Maker make)
    : m_path(std::move(path))
    , m_make(make)
{
}

// Written once a process: another copy of the program may have written it already, but never half of it.
bool ToneFile::ensureWritten()
{
    if (m_written) {
        return true;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (const auto error = AtomicFile::write(m_path, m_make())) {
        if (!m_failureLogged) {
            m_failureLogged = true;
            qCWarning(lcPlatform).noquote()
                << "Marquetto: couldn't write the sound" << m_path << ":" << *error;
        }
        return false;
    }
    m_written = true;
    return true;
}
