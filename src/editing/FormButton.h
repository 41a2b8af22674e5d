#pragma once

#include <QPushButton>

// A button of the editor's forms. Return belongs to the form's default button ("Save", "Save Step") wherever
// the focus is, so no other button takes it over when it has the focus.
[[nodiscard]] inline QPushButton* formButton(const QString& text = {})
{
    auto* button = new QPushButton(text);
    button->setAutoDefault(false);
    return button;
}
