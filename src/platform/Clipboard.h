#pragma once

#include <QString>

// The desktop's clipboard. Called on the main thread.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Replaces whatever the clipboard holds, text or not, with plain text.
    virtual void setText(const QString& text) = 0;
};

// A process without a clipboard of its own (the command-line companion): on X11 the clipboard's content
// lives in the process that set it, so a program about to exit cannot keep a snippet there.
class NullClipboard final : public Clipboard {
public:
    void setText(const QString&) override;
};
