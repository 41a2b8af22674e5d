#include "ui/editor/EditorWindowController.h"

#include "core/Logging.h"
#include "model/StarterHint.h"
#include "ui/paint/FirstPaint.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

EditorWindowController::EditorWindowController(EditorView::Services services, QObject* parent)
    : QObject(parent)
    , m_services(services)
{
}

EditorWindowController::~EditorWindowController() = default;

void EditorWindowController::show(int page, int index)
{
    QElapsedTimer opening;
    opening.start();
    m_services.starterHint.dismiss();
    close();
    m_editor = std::make_unique<EditorView>(m_services, page, index);
    EditorView* editor = m_editor.get();
    connect(editor, &QDialog::finished, this, [this, editor] { editorFinished(editor); });
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        editor->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, editor->size(),
                                                screen->availableGeometry()));
    if (lcEditor().isDebugEnabled()) {
        m_firstPaint = std::make_unique<FirstPaint>(
            [opening] {
                qCDebug(lcEditor).noquote() << "Marquetto: editor painted"
                                            << QString::number(double(opening.nsecsElapsed()) / 1e6, 'f', 1)
                                            << "ms after it was asked for";
            },
            FirstPaint::Run::afterThePaint, editor);
    }
    editor->show();
    editor->raise();
    editor->activateWindow();
}

std::optional<EditorWindowController::Slot> EditorWindowController::openSlot() const
{
    if (!m_editor)
        return std::nullopt;
    return Slot{m_editor->state().page, m_editor->state().index};
}

void EditorWindowController::close()
{
    if (!m_editor)
        return;
    // Closing emits `finished`, which would hand the window over twice.
    m_editor->disconnect(this);
    m_editor->close();
    m_editor.reset();
}

void EditorWindowController::editorFinished(EditorView* editor)
{
    if (m_editor.get() != editor)
        return;
    // The window may still be inside its own button's handler: let it go once that has returned.
    m_editor.release()->deleteLater();
}
