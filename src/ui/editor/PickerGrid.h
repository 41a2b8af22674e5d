#pragma once

#include <QListView>
#include <functional>

class QStringListModel;

// A grid of pictograms drawn with the icon font, one square cell per name, six to a row; the cell of the
// selected name stands out. Clicking a cell answers its name; hovering shows it. From the keyboard, the arrow
// keys move a focus ring over the cells and Return answers the cell it is on.
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

    // Shows these names; the ring starts on the selected name when it is among them, else on the first.
    void setNames(const QStringList& names);
    // Answers the name under the ring, if there is one.
    void pickCurrent();

Q_SIGNALS:
    void picked(const QString& name);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QStringListModel* m_model = nullptr;
    QString m_selected;
};
