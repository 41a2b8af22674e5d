#include "ui/settings/FeedbackView.h"

#include "deck/FeedbackForm.h"
#include "model/Settings.h"
#include "ui/editor/FormParts.h"

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

FeedbackView::FeedbackView(const DeckSettings& settings, Services services, QWidget* parent)
    : QWidget(parent)
    , m_services(std::move(services))
    , m_form(new FeedbackForm(settings, FeedbackForm::defaultTimeout, this))
{
    m_form->setRecipient(m_services.recipient);
    setFixedWidth(formWidth);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeCategorySection());
    layout->addWidget(makeMessageSection(), 1);
    layout->addWidget(makeEmailSection());
    layout->addWidget(makeSubmitSection());
    connect(m_form, &FeedbackForm::changed, this, &FeedbackView::showForm);
    connect(&settings, &DeckSettings::feedbackURLChanged, this, &FeedbackView::showForm);
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
    m_submit = formButton(QStringLiteral("Submit"));
    m_submit->setObjectName(QStringLiteral("submit"));
    connect(m_submit, &QPushButton::clicked, m_form, &FeedbackForm::submit);
    m_openInMail = formButton(QStringLiteral("Open in Email App"));
    m_openInMail->setObjectName(QStringLiteral("openInMail"));
    connect(m_openInMail, &QPushButton::clicked, this, [this] { m_form->openInMail(m_services.workspace); });
    m_saveAsFile = formButton(QStringLiteral("Save as File…"));
    m_saveAsFile->setObjectName(QStringLiteral("saveAsFile"));
    connect(m_saveAsFile, &QPushButton::clicked, this, &FeedbackView::saveAsFile);
    m_noService =
        footnote(QStringLiteral("No feedback service is set up for this copy of Marquetto. Send the "
                                "message from your email app, or save it as a file and send it."));
    m_noService->setObjectName(QStringLiteral("noService"));
    m_outcome = new QLabel;
    m_outcome->setObjectName(QStringLiteral("outcome"));
    m_outcome->setWordWrap(true);
    m_outcome->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout;
    layout->addWidget(lineOf(QBoxLayout::LeftToRight, {m_submit, m_openInMail, m_saveAsFile}));
    layout->addWidget(m_noService);
    layout->addWidget(m_outcome);
    return formSection(QString(), layout);
}

void FeedbackView::saveAsFile()
{
    if (const std::optional<QString> path = m_services.chooseSaveFile(QLatin1String(suggestedFileName)))
        m_form->saveAsFile(*path);
}

void FeedbackView::showForm()
{
    const bool service = m_form->hasService();
    m_submit->setVisible(service);
    m_submit->setEnabled(m_form->canSubmit());
    for (QPushButton* handOver : {m_openInMail, m_saveAsFile}) {
        handOver->setVisible(!service);
        handOver->setEnabled(m_form->canHandOver());
    }
    m_noService->setVisible(!service);
    m_emailCheck->setVisible(!FeedbackForm::isUsableReplyEmail(m_form->replyEmail()));
    m_outcome->setText(outcomeText());
    m_outcome->setVisible(m_form->outcome().has_value());
}

QString FeedbackView::outcomeText() const
{
    using Outcome = FeedbackForm::Outcome;
    switch (m_form->outcome().value_or(Outcome::sent)) {
    case Outcome::sent:
        return QStringLiteral("Sent. Thank you!");
    case Outcome::failed:
        return QStringLiteral("Couldn't send. Check your connection and retry.");
    case Outcome::handedToMail:
        return QStringLiteral("The message is in your email app, ready to send. If none opened, save it as a "
                              "file instead.");
    case Outcome::saved:
        return QStringLiteral("Saved to %1. Thank you!").arg(m_form->outcomeDetail());
    case Outcome::saveFailed:
        return QStringLiteral("Couldn't save the file: %1").arg(m_form->outcomeDetail());
    }
    return {};
}
