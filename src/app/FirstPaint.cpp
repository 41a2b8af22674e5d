#include "app/FirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

FirstPaint::FirstPaint(std::function<void()> then, Run when, QObject* parent)
    : QObject(parent)
    , m_then(std::move(then))
    , m_when(when)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool FirstPaint::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        QCoreApplication::instance()->removeEventFilter(this);
        if (m_when == Run::atOnce)
            m_then();
        else
            QTimer::singleShot(0, this, m_then);
    }
    return QObject::eventFilter(watched, event);
}
