#include "ui/editor/PickerSheet.h"

#include "ui/editor/PickerGrid.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

namespace {

constexpr int outerPadding = 16;
constexpr int gridHeight = 360;

} // namespace

PickerSheet::PickerSheet(const Texts& texts, Grid grid, const QString& selected,
                         std::function<void(const QString&)> onPick, QWidget* parent)
    : QDialog(parent)
    , m_noMatch(texts.noMatch)
    , m_countSuffix(texts.countSuffix)
    , m_search(std::move(grid.search))
    , m_field(new QLineEdit(this))
    , m_stack(new QStackedWidget(this))
    , m_grid(new PickerGrid(std::move(grid.glyphText), grid.pixelSize, selected, this))
    , m_noMatchLabel(new QLabel(this))
    , m_count(new QLabel(this))
{
    setWindowTitle(texts.title);
    m_field->setPlaceholderText(texts.placeholder);
    m_field->setClearButtonEnabled(true);
    m_grid->setMinimumHeight(gridHeight);
    m_noMatchLabel->setAlignment(Qt::AlignCenter);
    m_noMatchLabel->setWordWrap(true);
    m_stack->addWidget(m_grid);
    m_stack->addWidget(m_noMatchLabel);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    // Return in the search field must not close the sheet through its only button.
    cancel->setAutoDefault(false);
    auto* footer = new QHBoxLayout;
    footer->addWidget(m_count, 1);
    footer->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(outerPadding, outerPadding, outerPadding, outerPadding);
    layout->addWidget(m_field);
    layout->addWidget(m_stack, 1);
    layout->addLayout(footer);

    connect(m_field, &QLineEdit::textChanged, this, &PickerSheet::showMatches);
    // Typing a name and pressing Return picks the first match, or the chosen one while it still matches.
    connect(m_field, &QLineEdit::returnPressed, m_grid, &PickerGrid::pickCurrent);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &PickerGrid::picked, this, [this, onPick = std::move(onPick)](const QString& name) {
        onPick(name);
        accept();
    });
    showMatches({});
}

void PickerSheet::showMatches(const QString& text)
{
    const QStringList names = m_search(text);
    m_grid->setNames(names);
    m_noMatchLabel->setText(m_noMatch + QStringLiteral(" \u201C") + text + u'\u201D');
    m_stack->setCurrentWidget(names.isEmpty() ? static_cast<QWidget*>(m_noMatchLabel) : m_grid);
    m_count->setText(QString::number(names.size()) + m_countSuffix);
}
