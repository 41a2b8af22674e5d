#pragma once

#include "ui/editor/EditorView.h"

#include <QObject>
#include <memory>

class FirstPaint;
#include <optional>

// Keeps the one tile editor window of the deck. Opening an editor dismisses the starter hint and closes the
// editor already open; a closed editor is forgotten.
//
// Main thread only.
class EditorWindowController final : public QObject {
    Q_OBJECT
public:
    struct Slot {
        int page = 0;
        int index = 0;
        bool operator==(const Slot&) const = default;
    };

    explicit EditorWindowController(EditorView::Services services, QObject* parent = nullptr);
    ~EditorWindowController() override;

    // Opens an editor on the slot in a window of its own, centred on the screen, in front and focused.
    void show(int page, int index);
    // The open editor, if any.
    [[nodiscard]] EditorView* editor() const { return m_editor.get(); }
    [[nodiscard]] std::optional<Slot> openSlot() const;

private:
    void close();
    void editorFinished(EditorView* editor);

    EditorView::Services m_services;
    std::unique_ptr<EditorView> m_editor;
    // Times the opening when asked to.
    std::unique_ptr<FirstPaint> m_firstPaint;
};
