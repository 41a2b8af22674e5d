#include "ui/settings/MainMenu.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

MainMenu::MainMenu(std::function<void()> openSettings, std::function<void()> quit, QObject* parent)
    : QObject(parent)
    , m_application(std::make_unique<QMenu>())
    , m_file(std::make_unique<QMenu>(QStringLiteral("File")))
    , m_edit(std::make_unique<QMenu>(QStringLiteral("Edit")))
{
    QAction* settings = add(*m_application, QStringLiteral("Settings…"),
                            QKeySequence(Qt::CTRL | Qt::Key_Comma), openSettings);
    settings->setEnabled(static_cast<bool>(openSettings));
    m_application->addSeparator();
    add(*m_application, QStringLiteral("Quit Marquetto"), QKeySequence(Qt::CTRL | Qt::Key_Q),
        std::move(quit));

    add(*m_file, QStringLiteral("Close"), QKeySequence(Qt::CTRL | Qt::Key_W), [] {
        if (QWidget* window = QApplication::activeWindow())
            window->close();
    });

    add(*m_edit, QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { sendToFocus("undo"); });
    add(*m_edit, QStringLiteral("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
        [this] { sendToFocus("redo"); });
    m_edit->addSeparator();
    add(*m_edit, QStringLiteral("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X), [this] { sendToFocus("cut"); });
    add(*m_edit, QStringLiteral("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), [this] { sendToFocus("copy"); });
    add(*m_edit, QStringLiteral("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V),
        [this] { sendToFocus("paste"); });
    add(*m_edit, QStringLiteral("Delete"), {}, [] {
        // Text fields have no slot for it; the Delete key does the same.
        if (QWidget* focus = QApplication::focusWidget()) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
            QCoreApplication::sendEvent(focus, &press);
        }
    });
    add(*m_edit, QStringLiteral("Select All"), QKeySequence(Qt::CTRL | Qt::Key_A),
        [this] { sendToFocus("selectAll"); });
}

MainMenu::~MainMenu() = default;

QList<QMenu*> MainMenu::menus() const
{
    return {m_application.get(), m_file.get(), m_edit.get()};
}

void MainMenu::serve(QWidget* window) const
{
    for (const QMenu* menu : menus()) {
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                window->addAction(action);
        }
    }
}

QAction* MainMenu::add(QMenu& menu, const QString& title, const QKeySequence& keys,
                       std::function<void()> handler)
{
    QAction* action = menu.addAction(title);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    if (handler)
        connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return action;
}

// Text fields answer these by name (a line edit deletes with `del`); a widget that has no such slot ignores
// it.
void MainMenu::sendToFocus(const char* slot) const
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return;
    const QByteArray signature = QByteArray(slot) + "()";
    if (focus->metaObject()->indexOfMethod(signature.constData()) >= 0)
        QMetaObject::invokeMethod(focus, slot);
}
