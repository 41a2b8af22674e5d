#pragma once

#include <QBoxLayout>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QWidget>
#include <initializer_list>

// The small parts the editor's forms are built from.

// What a field shows while nothing is chosen.
inline const QString formNoneChosen = QStringLiteral("None chosen");

// A button of the editor's forms. Return presses the button that has the focus; from a field it presses the
// form's default button ("Save", "Save Step").
[[nodiscard]] inline QPushButton* formButton(const QString& text = {})
{
    auto* button = new QPushButton(text);
    button->setAutoDefault(true);
    return button;
}

// A titled group of a form's fields, laid out by `content`.
[[nodiscard]] inline QGroupBox* formSection(const QString& title, QLayout* content)
{
    auto* box = new QGroupBox(title);
    box->setLayout(content);
    return box;
}

// The widgets side by side (`QBoxLayout::LeftToRight`) or one under the other (`TopToBottom`), kept together
// at the start by a stretch after them.
[[nodiscard]] inline QWidget* lineOf(QBoxLayout::Direction direction, std::initializer_list<QWidget*> widgets)
{
    auto* line = new QWidget;
    auto* layout = new QBoxLayout(direction, line);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    layout->addStretch();
    return line;
}

// Texts that say less than those beside them: the window's text colour, faded.
inline void makeSecondary(QWidget& widget)
{
    QPalette palette = widget.palette();
    QColor secondary = palette.color(QPalette::WindowText);
    secondary.setAlphaF(0.6F);
    palette.setColor(QPalette::WindowText, secondary);
    widget.setPalette(palette);
}

// A line of help under a field, in the placeholder colour.
[[nodiscard]] inline QLabel* formHelp(const QString& text)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

// The widgets one under the other, kept together at the top.
[[nodiscard]] inline QWidget* formColumn(std::initializer_list<QWidget*> widgets)
{
    return lineOf(QBoxLayout::TopToBottom, widgets);
}

// An empty pop-up of choices that shows `placeholder` until one is chosen; `name` finds it in tests.
[[nodiscard]] inline QComboBox* formPicker(const QString& placeholder, const QString& name)
{
    auto* combo = new QComboBox;
    combo->setPlaceholderText(placeholder);
    combo->setObjectName(name);
    return combo;
}

// Offers the names, and the chosen one too when it is not among them, so that it is kept.
inline void fillFormPicker(QComboBox& combo, QStringList names, const QString& chosen)
{
    if (!chosen.isEmpty() && !names.contains(chosen))
        names.prepend(chosen);
    const QSignalBlocker blocker(combo);
    combo.clear();
    combo.addItems(names);
    combo.setCurrentIndex(chosen.isEmpty() ? -1 : static_cast<int>(names.indexOf(chosen)));
}
