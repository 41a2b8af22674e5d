#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void TempHome::writeFile(const QString& path, const QByteArray& bytes) const
{
    ASSERT_TRUE(path.startsWith(m_dir.path())) << path.toStdString();
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray TempHome::readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TempHome::exists(const QString& path)
{
    return QFileInfo::exists(path);
}
