#pragma once

#include <QString>
#include <QStringList>

// A modal alert: a message, an explanation and buttons, the first being the default. A warning is for what
// may harm the user's files or machine.
struct Alert {
    QString message;
    QString informativeText;
    QStringList buttons;
    bool isWarning = false;
    bool operator==(const Alert&) const = default;
};

// Shows alerts. The deck shows real dialogs; tests answer in advance.
class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;

    // Shows the alert modally on the main thread and answers the index of the chosen button.
    [[nodiscard]] virtual int present(const Alert& alert) = 0;
};

// Where no dialog can be shown: the alert goes to the log and the last button (the one that changes
// nothing) is taken.
class LoggingAlertPresenter final : public AlertPresenter {
public:
    [[nodiscard]] int present(const Alert& alert) override;
};
