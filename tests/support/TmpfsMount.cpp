#include "TmpfsMount.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>

TmpfsMount::TmpfsMount(QString path)
    : m_path(std::move(path))
{
}

TmpfsMount::~TmpfsMount()
{
    unmount();
}

bool TmpfsMount::mount(qint64 sizeBytes)
{
    m_options = QStringLiteral("size=%1,mode=0700").arg(sizeBytes);
    if (::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                m_options.toLatin1().constData()) != 0)
        return fail("mount");
    m_mounted = true;
    return true;
}

bool TmpfsMount::setReadOnly(bool readOnly)
{
    unsigned long flags = MS_REMOUNT | MS_NOSUID | MS_NODEV;
    if (readOnly)
        flags |= MS_RDONLY;
    if (::mount(nullptr, QFile::encodeName(m_path).constData(), nullptr, flags,
                m_options.toLatin1().constData()) != 0)
        return fail("remount");
    return true;
}

void TmpfsMount::unmount()
{
    if (!m_mounted)
        return;
    // A program the test started may still hold a file open there; detaching still takes the mount away.
    if (::umount2(QFile::encodeName(m_path).constData(), 0) != 0)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    m_mounted = false;
}

bool TmpfsMount::fill(const QString& path)
{
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(64 * 1024, 'x');
    while (filler.write(block) == block.size()) {
    }
    // The last partial block may have fitted; a single byte more must not.
    while (filler.write("x", 1) == 1) {
    }
    return filler.error() != QFileDevice::NoError;
}

bool TmpfsMount::fail(const char* step)
{
    m_error = QStringLiteral("%1 of a tmpfs on %2: %3")
                  .arg(QLatin1String(step), m_path, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}
