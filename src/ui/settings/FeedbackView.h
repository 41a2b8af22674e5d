#pragma once

#include <QWidget>
#include <functional>
#include <optional>

class DeckSettings;
class FeedbackForm;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Workspace;

// The "Feedback" tab of the settings window: the category, the message and an optional reply address. With a
// service at the `feedbackURL` preference, "Submit" sends them there as the preference stands when it is
// pressed, and turns off once they are sent; without one, the message goes to the email application or into a
// file. After a failure the text stays for a retry.
class FeedbackView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int formWidth = 460;
    static constexpr auto suggestedFileName = "Marquetto feedback.txt";

    struct Services {
        Workspace& workspace;
        // Where the email goes when no service is set up; empty leaves it to the user.
        QString recipient;
        // Where to save the message, offered under the suggested name; nothing when the user dismissed it.
        std::function<std::optional<QString>(const QString& suggestedName)> chooseSaveFile;
    };

    // `settings` and the workspace outlive the view.
    FeedbackView(const DeckSettings& settings, Services services, QWidget* parent = nullptr);

private:
    [[nodiscard]] QWidget* makeCategorySection();
    [[nodiscard]] QWidget* makeMessageSection();
    [[nodiscard]] QWidget* makeEmailSection();
    [[nodiscard]] QWidget* makeSubmitSection();
    void saveAsFile();
    void showForm();
    [[nodiscard]] QString outcomeText() const;

    Services m_services;
    FeedbackForm* m_form = nullptr;
    QComboBox* m_category = nullptr;
    QPlainTextEdit* m_message = nullptr;
    QLineEdit* m_email = nullptr;
    QLabel* m_emailCheck = nullptr;
    QPushButton* m_submit = nullptr;
    QPushButton* m_openInMail = nullptr;
    QPushButton* m_saveAsFile = nullptr;
    QLabel* m_noService = nullptr;
    QLabel* m_outcome = nullptr;
};
