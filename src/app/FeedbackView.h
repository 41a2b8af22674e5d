#pragma once

#include <QWidget>

class DeckSettings;
class FeedbackForm;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Feedback" tab of the settings window: the category, the message and an optional reply address, sent
// to the service at the `feedbackURL` preference as it stands when "Submit" is pressed. After a failure the
// text stays for a retry.
class FeedbackView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int formWidth = 460;

    // `settings` outlives the view.
    explicit FeedbackView(const DeckSettings& settings, QWidget* parent = nullptr);

private:
    [[nodiscard]] QWidget* makeCategorySection();
    [[nodiscard]] QWidget* makeMessageSection();
    [[nodiscard]] QWidget* makeEmailSection();
    [[nodiscard]] QWidget* makeSubmitSection();
    void showForm();

    FeedbackForm* m_form = nullptr;
    QComboBox* m_category = nullptr;
    QPlainTextEdit* m_message = nullptr;
    QLineEdit* m_email = nullptr;
    QLabel* m_emailCheck = nullptr;
    QPushButton* m_submit = nullptr;
    QLabel* m_outcome = nullptr;
};
