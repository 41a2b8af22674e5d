#include "ui/paint/FirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

FirstPaint::FirstPaint(std::function<void()> then, Run when, const QWidget* window)
    : m_then(std::move(then))
    , m_when(when)
    , m_window(window)
    , m_watchesWindow(window != nullptr)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool FirstPaint::eventFilter(QObject* watched, QEvent* event)
{
    const auto* widget = qobject_cast<const QWidget*>(watched);
    const bool counts = !m_watchesWindow || (widget && m_window && widget->window() == m_window);
    if (event->type() == QEvent::Paint && counts) {
        QCoreApplication::instance()->removeEventFilter(this);
        if (m_when == Run::atOnce)
            m_then();
        else
            QTimer::singleShot(0, this, m_then);
    }
    return QObject::eventFilter(watched, event);
}
