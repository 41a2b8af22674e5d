#include "platform/qt/MessageBoxAlerts.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

int MessageBoxAlerts::present(const Alert& alert)
{
    QMessageBox box(alert.isWarning ? QMessageBox::Warning : QMessageBox::Information,
                    QStringLiteral("Marquetto"), alert.message);
    box.setInformativeText(alert.informativeText);
    QList<QAbstractButton*> buttons;
    for (const QString& title : alert.buttons)
        buttons << box.addButton(title,
                                 buttons.isEmpty() ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
    if (buttons.isEmpty())
        buttons << box.addButton(QMessageBox::Ok);
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
    box.setEscapeButton(buttons.last());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
    const auto chosen = buttons.indexOf(box.clickedButton());
    // Closing the box without a button is the last button, the one that changes nothing.
    return chosen < 0 ? static_cast<int>(buttons.size()) - 1 : static_cast<int>(chosen);
}
