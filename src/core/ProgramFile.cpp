#include "core/ProgramFile.h"

#include <QFile>
#include <QFileInfo>

namespace ProgramFile {

bool isProgram(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    constexpr char elfMagic[] = {'\x7f', 'E', 'L', 'F'};
    const QByteArray head = file.read(sizeof elfMagic);
    return head == QByteArrayView(elfMagic, sizeof elfMagic) || head.startsWith("#!");
}

} // namespace ProgramFile
