#include "ui/editor/PickerGrid.h"

#include "ui/paint/PhosphorFont.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyledItemDelegate>

namespace {

constexpr int pitch = PickerGrid::cellSize + PickerGrid::gap;
constexpr double selectedOpacity = 0.28;
constexpr double otherOpacity = 0.05;
constexpr qreal cornerRadius = 10;
constexpr qreal focusRingWidth = 2;

class NameModel final : public QStringListModel {
public:
    using QStringListModel::QStringListModel;

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override
    {
        // A pictogram alone can be ambiguous; its name is its tooltip and what a screen reader says.
        if (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
            role = Qt::DisplayRole;
        return QStringListModel::data(index, role);
    }
};

class CellDelegate final : public QStyledItemDelegate {
public:
    CellDelegate(std::function<QString(const QString&)> glyphText, int pixelSize, QString selected,
                 QObject* parent)
        : QStyledItemDelegate(parent)
        , m_glyphText(std::move(glyphText))
        , m_font(QLatin1String(PhosphorFont::family))
        , m_selected(std::move(selected))
    {
        m_font.setPixelSize(pixelSize);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString name = index.data().toString();
        QRect cell(0, 0, PickerGrid::cellSize, PickerGrid::cellSize);
        cell.moveCenter(option.rect.center());
        QColor fill = option.palette.color(QPalette::Highlight);
        fill.setAlphaF(name == m_selected ? selectedOpacity : otherOpacity);

        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(fill);
        painter->drawRoundedRect(cell, cornerRadius, cornerRadius);
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(option.palette.color(QPalette::Highlight), focusRingWidth));
            painter->setBrush(Qt::NoBrush);
            const qreal inset = focusRingWidth / 2;
            painter->drawRoundedRect(QRectF(cell).adjusted(inset, inset, -inset, -inset), cornerRadius,
                                     cornerRadius);
        }
        painter->setPen(option.palette.color(QPalette::Text));
        painter->setFont(m_font);
        painter->drawText(cell, Qt::AlignCenter, m_glyphText(name));
        painter->restore();
    }

    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {pitch, pitch};
    }

private:
    std::function<QString(const QString&)> m_glyphText;
    QFont m_font;
    QString m_selected;
};

} // namespace

PickerGrid::PickerGrid(std::function<QString(const QString&)> glyphText, int pixelSize, QString selected,
                       QWidget* parent)
    : QListView(parent)
    , m_model(new NameModel(this))
    , m_selected(selected)
{
    setModel(m_model);
    setItemDelegate(new CellDelegate(std::move(glyphText), pixelSize, std::move(selected), this));
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setGridSize({pitch, pitch});
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A scroll bar that comes and goes would change the number of columns.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Each cell is centred in a grid square a gap wider, so the edges already hold half a gap.
    const int margin = padding - gap / 2;
    setViewportMargins(margin, margin, margin, margin);
    // The list wraps a row whose last square would reach the viewport's last pixel column, hence one more.
    setFixedWidth(columns * pitch + 1 + 2 * margin + verticalScrollBar()->sizeHint().width());
    connect(this, &QListView::clicked, this,
            [this](const QModelIndex& index) { Q_EMIT picked(index.data().toString()); });
}

void PickerGrid::setNames(const QStringList& names)
{
    m_model->setStringList(names);
    if (names.isEmpty())
        return;
    setCurrentIndex(m_model->index(static_cast<int>(std::max<qsizetype>(0, names.indexOf(m_selected))), 0));
}

void PickerGrid::pickCurrent()
{
    if (const QModelIndex current = currentIndex(); current.isValid())
        Q_EMIT picked(current.data().toString());
}

void PickerGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        pickCurrent();
        return;
    }
    QListView::keyPressEvent(event);
}
