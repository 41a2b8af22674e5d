#pragma once

#include <QString>

// Whether a file is a program the system can start by itself. On file systems without Unix permissions
// (exFAT, NTFS, FAT) every file carries the executable bit, so the bit alone says nothing: a program is an
// executable regular file that starts as an ELF binary or a "#!" script does.
namespace ProgramFile {

[[nodiscard]] bool isProgram(const QString& path);

} // namespace ProgramFile
