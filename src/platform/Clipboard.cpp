#include "Clipboard.h"

#include "core/Logging.h"

void NullClipboard::setText(const QString&)
{
    qCWarning(lcPlatform) << "Marquetto: no clipboard here; snippets are copied by the running deck";
}
