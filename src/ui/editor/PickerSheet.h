#pragma once

#include <QDialog>
#include <functional>

class PickerGrid;
class QLabel;
class QLineEdit;
class QStackedWidget;

// A sheet that offers named pictograms to pick one from: a search field, the grid of what matches (or a line
// saying nothing does), the number of matches and "Cancel". Picking a cell calls back with its name and
// closes the sheet; "Cancel" and Escape close it without a call. Return in the search field picks the cell
// the grid's focus ring is on.
class PickerSheet : public QDialog {
    Q_OBJECT
public:
    struct Texts {
        QString title;
        QString placeholder; // "Search symbols…"
        QString noMatch;     // "No symbols match", before the quoted search text
        QString countSuffix; // " symbols", after the number of matches
    };
    struct Grid {
        // The names to show for a search text.
        std::function<QStringList(const QString&)> search;
        // The text that draws a name in the icon font, at `pixelSize`.
        std::function<QString(const QString&)> glyphText;
        int pixelSize = 0;
    };

    PickerSheet(const Texts& texts, Grid grid, const QString& selected,
                std::function<void(const QString&)> onPick, QWidget* parent);

private:
    void showMatches(const QString& text);

    QString m_noMatch;
    QString m_countSuffix;
    std::function<QStringList(const QString&)> m_search;
    QLineEdit* m_field = nullptr;
    QStackedWidget* m_stack = nullptr;
    PickerGrid* m_grid = nullptr;
    QLabel* m_noMatchLabel = nullptr;
    QLabel* m_count = nullptr;
};
