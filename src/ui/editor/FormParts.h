#pragma once

#include <QBoxLayout>
#include <QColor>
#include <QGroupBox>
#include <QPalette>
#include <QPushButton>
#include <QWidget>
#include <initializer_list>

// The small parts the editor's forms are built from.

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
