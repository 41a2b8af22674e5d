#pragma once

#include <QString>
#include <optional>

// The program an application path starts, so that its processes can be found.
namespace ApplicationProgram {

// A ".desktop" file starts its TryExec, else the first word of its Exec line, found on the PATH; any other
// path is the program itself. Nothing when the desktop file cannot be read or names no installed program.
[[nodiscard]] std::optional<QString> of(const QString& applicationPath);

// A program named with a path stands as it is; a bare name is looked up on the PATH (empty when absent).
[[nodiscard]] QString located(const QString& program);

} // namespace ApplicationProgram
