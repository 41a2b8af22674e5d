#include "ui/editor/SceneStepEditorView.h"

#include "ui/editor/FormParts.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

EditorState stepState(const std::optional<TileAction>& step)
{
    EditorState state;
    state.kind = stepKinds.front();
    if (step)
        state.setAction(step);
    return state;
}

} // namespace

SceneStepEditorView::SceneStepEditorView(ActionForm::Services services, const std::optional<TileAction>& step,
                                         QWidget* parent)
    : QDialog(parent)
    , m_state(stepState(step))
{
    setWindowTitle(step ? QStringLiteral("Edit Step") : QStringLiteral("Add Step"));
    auto* form = new ActionForm(services, m_state, stepKinds);
    auto* cancel = formButton(QStringLiteral("Cancel"));
    m_save = formButton(QStringLiteral("Save Step"));
    const auto updateSave = [this] { m_save->setEnabled(m_state.builtAction().has_value()); };
    updateSave();
    connect(form, &ActionForm::changed, this, updateSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_save, &QPushButton::clicked, this, &SceneStepEditorView::saveStep);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(m_save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(form);
    layout->addLayout(buttons);
    // Only a button inside its window can become the window's default; before, the first button would.
    m_save->setDefault(true);
    resize(420, 320);
}

void SceneStepEditorView::saveStep()
{
    if (const std::optional<TileAction> step = m_state.builtAction()) {
        Q_EMIT stepSaved(*step);
        accept();
    }
}
