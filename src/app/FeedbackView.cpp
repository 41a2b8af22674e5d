#include "app/FeedbackView.h"

#include "app/FeedbackForm.h"
#include "editing/FormParts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* footnote(const QString& text)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    makeSecondary(*label);
    return label;
}

} // namespace

FeedbackView::FeedbackView(const DeckSettings& settings, QWidget* parent)
    : QWidget(parent)
    , m_form(new FeedbackForm(settings, FeedbackForm::defaultTimeout, this))
{
    setFixedWidth(formWidth);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeCategorySection());
    layout->addWidget(makeMessageSection(), 1);
    layout->addWidget(makeEmailSection());
    layout->addWidget(makeSubmitSection());
    connect(m_form, &FeedbackForm::changed, this, &FeedbackView::showForm);
    showForm();
}

QWidget* FeedbackView::makeCategorySection()
{
    m_category = new QComboBox;
    m_category->setObjectName(QStringLiteral("category"));
    for (size_t i = 0; i < EnumTable<FeedbackCategory>::names.count(); ++i)
        m_category->addItem(title(static_cast<FeedbackCategory>(i)));
    connect(m_category, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row >= 0)
            m_form->setCategory(static_cast<FeedbackCategory>(row));
    });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Category"), m_category);
    return formSection(QString(), form);
}

QWidget* FeedbackView::makeMessageSection()
{
    m_message = new QPlainTextEdit;
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setPlaceholderText(QStringLiteral("Tell us what's on your mind…"));
    connect(m_message, &QPlainTextEdit::textChanged, this,
            [this] { m_form->setMessage(m_message->toPlainText()); });
    auto* layout = new QVBoxLayout;
    layout->addWidget(m_message);
    return formSection(QStringLiteral("Message"), layout);
}

QWidget* FeedbackView::makeEmailSection()
{
    m_email = new QLineEdit;
    m_email->setObjectName(QStringLiteral("email"));
    m_email->setPlaceholderText(QStringLiteral("Email (Optional)"));
    connect(m_email, &QLineEdit::textChanged, m_form, &FeedbackForm::setReplyEmail);
    m_emailCheck = new QLabel(QStringLiteral("Check the email address."));
    m_emailCheck->setObjectName(QStringLiteral("emailCheck"));
    m_emailCheck->setStyleSheet(QStringLiteral("color: #FF3B30"));
    auto* layout = new QVBoxLayout;
    layout->addWidget(m_email);
    layout->addWidget(footnote(QStringLiteral("Add it if you'd like a reply. It's used for nothing else.")));
    layout->addWidget(m_emailCheck);
    return formSection(QString(), layout);
}

QWidget* FeedbackView::makeSubmitSection()
{
    m_submit = new QPushButton(QStringLiteral("Submit"));
    m_submit->setObjectName(QStringLiteral("submit"));
    connect(m_submit, &QPushButton::clicked, m_form, &FeedbackForm::submit);
    m_outcome = new QLabel;
    m_outcome->setObjectName(QStringLiteral("outcome"));
    m_outcome->setWordWrap(true);
    auto* layout = new QVBoxLayout;
    layout->addWidget(m_submit, 0, Qt::AlignLeft);
    layout->addWidget(m_outcome);
    return formSection(QString(), layout);
}

void FeedbackView::showForm()
{
    m_submit->setEnabled(m_form->canSubmit());
    m_emailCheck->setVisible(!FeedbackForm::isUsableReplyEmail(m_form->replyEmail()));
    const std::optional<FeedbackForm::Outcome> outcome = m_form->outcome();
    if (!outcome)
        m_outcome->clear();
    else if (*outcome == FeedbackForm::Outcome::sent)
        m_outcome->setText(QStringLiteral("Sent. Thank you!"));
    else
        m_outcome->setText(QStringLiteral("Couldn't send. Check your connection and retry."));
    m_outcome->setVisible(outcome.has_value());
}
