#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

// The parts the settings panes are built from: a column of titled sections, each a form of labelled rows,
// with a note in a quieter style under a section where it needs one.
namespace SettingsForm {

inline constexpr int paneWidth = 460;

// Makes `pane` a column of sections, `paneWidth` wide, kept at the top.
[[nodiscard]] QVBoxLayout* column(QWidget& pane);
// Adds a section titled `title` (untitled when empty) and answers the form its rows go into.
[[nodiscard]] QFormLayout* section(QVBoxLayout& column, const QString& title = {});
// Adds a note under the sections so far.
QLabel* footer(QVBoxLayout& column, const QString& text);
// A switch row whose clicks go to `clicked`; a change of the checked state in code calls nothing.
QCheckBox* switchRow(QFormLayout& form, const QString& text, const char* name, bool on,
                     std::function<void(bool on)> clicked);
// A labelled row with a button that calls `clicked`; answers the button.
QPushButton* buttonRow(QFormLayout& form, const QString& label, const QString& text, const char* name,
                       std::function<void()> clicked);
// A labelled picker of `titles` whose choices by the user go to `chosen`.
QComboBox* pickerRow(QFormLayout& form, const QString& label, const QStringList& titles, const char* name,
                     std::function<void(int index)> chosen);

} // namespace SettingsForm
