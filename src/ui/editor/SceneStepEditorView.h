#pragma once

#include "deck/EditorState.h"
#include "ui/editor/ActionForm.h"

#include <QDialog>
#include <optional>

class QPushButton;

// The sheet that edits one step of a scene: the kinds a step can take, with the main form's fields and
// rules. "Save Step" is offered once the fields describe an action; it emits `stepSaved` and closes the
// sheet. "Cancel" closes it and changes nothing.
class SceneStepEditorView final : public QDialog {
    Q_OBJECT
public:
    // Opens on `step`, or on an empty "Open App" step when there is none.
    SceneStepEditorView(ActionForm::Services services, const std::optional<TileAction>& step,
                        QWidget* parent = nullptr);

Q_SIGNALS:
    void stepSaved(const TileAction& step);

private:
    void saveStep();

    EditorState m_state;
    QPushButton* m_save = nullptr;
};
