#pragma once

#include <QUrl>

// The privacy pane of System Settings where Full Disk Access is granted.
inline QUrl fullDiskAccessSettings()
{
    return QUrl(QStringLiteral("x-apple.systempreferences:com.apple.preference.security?Privacy_AllFiles"));
}
