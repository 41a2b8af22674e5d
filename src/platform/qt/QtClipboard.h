#pragma once

#include "platform/Clipboard.h"

// The deck's clipboard: it lives as long as the deck, so a snippet stays on the clipboard after the click.
class QtClipboard final : public Clipboard {
public:
    void setText(const QString& text) override;
};
