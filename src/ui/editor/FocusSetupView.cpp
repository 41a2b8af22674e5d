#include "ui/editor/FocusSetupView.h"

#include "band/FocusEngine.h"
#include "platform/PlatformWordings.h"
#include "platform/Workspace.h"
#include "ui/paint/SymbolGlyphs.h"
#include "ui/paint/TileIconPainter.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int symbolPixels = 18;

QGroupBox* section(const QString& title, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    box->setLayout(new QVBoxLayout);
    return box;
}

} // namespace

FocusSetupView::FocusSetupView(FocusEngine& engine, PhosphorFont& font, Workspace& workspace,
                               const PlatformWordings& wordings, QStringList shortcutFiles, QWidget* parent)
    : QWidget(parent)
    , m_engine(engine)
    , m_font(font)
    , m_workspace(workspace)
    , m_wordings(wordings)
    , m_shortcutFiles(std::move(shortcutFiles))
    , m_layout(new QVBoxLayout(this))
{
    connect(&m_engine, &FocusEngine::shortcutReadyChanged, this, &FocusSetupView::rebuild);
    rebuild();
}

void FocusSetupView::rebuild()
{
    delete m_content;
    m_content = new QWidget(this);
    m_layout->addWidget(m_content);
    auto* layout = new QVBoxLayout(m_content);
    const bool ready = m_engine.shortcutReady();

    auto* status = new QHBoxLayout;
    auto* symbol = new QLabel(SymbolGlyphs::text(m_font, ready ? QStringLiteral("checkmark.circle.fill")
                                                               : QStringLiteral("circle.dashed")),
                              m_content);
    symbol->setFont(TileIconPainter::iconFont(symbolPixels));
    symbol->setStyleSheet(ready ? QStringLiteral("color: #34C759") : QStringLiteral("color: palette(mid)"));
    auto* text = new QLabel(ready ? m_wordings.focusSetupReady : m_wordings.focusSetupNeeded, m_content);
    text->setWordWrap(true);
    status->addWidget(symbol);
    status->addWidget(text, 1);
    layout->addLayout(status);

    if (!ready && !m_shortcutFiles.isEmpty()) {
        QGroupBox* add = section(QStringLiteral("Add Do Not Disturb Shortcuts"), m_content);
        auto* button = new QPushButton(QStringLiteral("Add Do Not Disturb Shortcuts"), add);
        connect(button, &QPushButton::clicked, this, &FocusSetupView::addShortcuts);
        add->layout()->addWidget(button);
        layout->addWidget(add);
    } else if (!ready) {
        QGroupBox* create = section(QStringLiteral("Create them once"), m_content);
        for (const QString& line :
             {QStringLiteral("Two one-action shortcuts, named exactly:"),
              QStringLiteral("• “Do Not Disturb On” — Set Focus · Do Not Disturb · On"),
              QStringLiteral("• “Do Not Disturb Off” — Set Focus · Do Not Disturb · Off")})
            create->layout()->addWidget(new QLabel(line, create));
        layout->addWidget(create);
    }

    if (m_wordings.focusSetupUsesShortcuts) {
        auto* buttons = new QHBoxLayout;
        auto* open = new QPushButton(QStringLiteral("Open Shortcuts"), m_content);
        connect(open, &QPushButton::clicked, this, [this] {
            if (const std::optional<QString> shortcuts =
                    m_workspace.applicationPath(QStringLiteral("com.apple.shortcuts")))
                m_workspace.launchApplication(*shortcuts);
        });
        auto* check = new QPushButton(QStringLiteral("Check Again"), m_content);
        connect(check, &QPushButton::clicked, &m_engine, &FocusEngine::refreshShortcuts);
        buttons->addWidget(open);
        buttons->addWidget(check);
        layout->addLayout(buttons);
    }
}

void FocusSetupView::addShortcuts()
{
    // One at a time: Shortcuts offers to add each file in a sheet of its own.
    for (qsizetype i = 0; i < m_shortcutFiles.size(); ++i)
        QTimer::singleShot(
            static_cast<int>(i) * shortcutFileSpacingMs, this,
            [this, file = m_shortcutFiles[i]] { m_workspace.open(QUrl::fromLocalFile(file)); });
    QTimer::singleShot(recheckAfterAddingMs, &m_engine, &FocusEngine::refreshShortcuts);
}
