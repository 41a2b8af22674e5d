#include "ui/settings/SettingsForm.h"

#include "ui/editor/FormParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace SettingsForm {

QVBoxLayout* column(QWidget& pane)
{
    pane.setFixedWidth(paneWidth);
    auto* layout = new QVBoxLayout(&pane);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(8);
    layout->addStretch();
    return layout;
}

QFormLayout* section(QVBoxLayout& column, const QString& title)
{
    auto* group = new QGroupBox(title);
    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    // Before the stretch that keeps the sections at the top.
    column.insertWidget(column.count() - 1, group);
    return form;
}

QLabel* footer(QVBoxLayout& column, const QString& text)
{
    auto* note = new QLabel(text);
    note->setWordWrap(true);
    makeSecondary(*note);
    column.insertWidget(column.count() - 1, note);
    return note;
}

QCheckBox* switchRow(QFormLayout& form, const QString& text, const char* name, bool on,
                     std::function<void(bool on)> clicked)
{
    auto* box = new QCheckBox(text);
    box->setObjectName(QLatin1String(name));
    box->setChecked(on);
    QObject::connect(box, &QCheckBox::clicked, box, std::move(clicked));
    form.addRow(box);
    return box;
}

QPushButton* buttonRow(QFormLayout& form, const QString& label, const QString& text, const char* name,
                       std::function<void()> clicked)
{
    QPushButton* button = formButton(text);
    button->setObjectName(QLatin1String(name));
    QObject::connect(button, &QPushButton::clicked, button, [clicked = std::move(clicked)] { clicked(); });
    form.addRow(label, lineOf(QBoxLayout::RightToLeft, {button}));
    return button;
}

QComboBox* pickerRow(QFormLayout& form, const QString& label, const QStringList& titles, const char* name,
                     std::function<void(int index)> chosen)
{
    auto* picker = new QComboBox;
    picker->setObjectName(QLatin1String(name));
    picker->addItems(titles);
    QObject::connect(picker, &QComboBox::activated, picker, std::move(chosen));
    form.addRow(label, picker);
    return picker;
}

} // namespace SettingsForm
