#pragma once

#include <QListView>
#include <functional>

class QStringListModel;

// A grid of pictograms drawn with the icon font, one square cell per name, six to a row; the cell of the
// selected name stands out. Clicking a cell answers its name; hovering shows it.
class PickerGrid final : public QListView {
    Q_OBJECT
public:
    static constexpr int columns = 6;
    static constexpr int cellSize = 56;
    static constexpr int gap = 8;
    static constexpr int padding = 10;

    // `glyphText` gives the text that draws a name in the icon font, at `pixelSize`.
    PickerGrid(std::function<QString(const QString&)> glyphText, int pixelSize, QString selected,
               QWidget* parent = nullptr);

    void setNames(const QStringList& names);

Q_SIGNALS:
    void picked(const QString& name);

private:
    QStringListModel* m_model = nullptr;
};
