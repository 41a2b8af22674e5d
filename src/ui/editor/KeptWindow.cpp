#include "ui/editor/KeptWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

void KeptWindow::prepare(QWidget& view, const QString& title, QSize size)
{
    view.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
    view.setWindowTitle(title);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        view.setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, screen->availableGeometry()));
}

void KeptWindow::present(QWidget& view)
{
    view.show();
    view.raise();
    view.activateWindow();
}
