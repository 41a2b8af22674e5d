#include "app/StatusMenu.h"

#include <QCoreApplication>
#include <QMenu>

namespace {

// The shortcuts are shown only: the global keys themselves are grabbed elsewhere, and a shortcut of the menu
// must not compete with them.
void showShortcut(QAction* action, const QKeySequence& keys)
{
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetShortcut);
}

} // namespace

StatusMenu::StatusMenu(Handlers handlers, QObject* parent)
    : QObject(parent)
    , m_handlers(std::move(handlers))
    , m_menu(std::make_unique<QMenu>())
{
    const QString version = QCoreApplication::applicationVersion();
    m_menu->addAction(QStringLiteral("Marquetto ") + (version.isEmpty() ? QStringLiteral("?") : version))
        ->setEnabled(false);
    m_saveProblemItem = m_menu->addAction(QString());
    m_saveProblemItem->setEnabled(false);
    m_saveProblemItem->setVisible(false);
    m_menu->addSeparator();

    m_summonItem = add(QStringLiteral("Summon Deck"), m_handlers.toggleSummon);
    showShortcut(m_summonItem, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Space));
    QMenu* runTile = m_menu->addMenu(QStringLiteral("Run Tile"));
    for (int number = 1; number <= 9; ++number) {
        QAction* item = runTile->addAction(QStringLiteral("Tile %1").arg(number));
        showShortcut(item, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key(Qt::Key_0 + number)));
        connect(item, &QAction::triggered, this, [this, number] { m_handlers.runTile(number - 1); });
    }
    m_menu->addSeparator();

    m_editItem = add(QStringLiteral("Edit Layout"), m_handlers.toggleEditMode);
    m_pinItem = add(QStringLiteral("Pin Position"), m_handlers.togglePin);
    m_compactItem = add(QStringLiteral("Compact Mode"), m_handlers.toggleCompact);
    for (QAction* item : {m_editItem, m_pinItem, m_compactItem})
        item->setCheckable(true);
    m_menu->addSeparator();

    showShortcut(add(QStringLiteral("Settings…"), m_handlers.openSettings),
                 QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_menu->addSeparator();

    m_updatesItem = addPage(m_handlers.updatesAddress);
    m_updatesItem->setText(QStringLiteral("Check for Updates…"));
    m_websiteItem = addPage(m_handlers.websiteAddress);
    showPages();
    m_menu->addSeparator();

    add(QStringLiteral("Restart Marquetto"), m_handlers.restart);
    showShortcut(add(QStringLiteral("Quit Marquetto"), m_handlers.quit), QKeySequence(Qt::CTRL | Qt::Key_Q));

    connect(m_menu.get(), &QMenu::aboutToShow, this, &StatusMenu::refresh);
}

StatusMenu::~StatusMenu() = default;

void StatusMenu::showIn(QMenu& menu)
{
    menu.addActions(m_menu->actions());
    connect(&menu, &QMenu::aboutToShow, this, &StatusMenu::refresh);
}

QAction* StatusMenu::add(const QString& title, std::function<void()> handler)
{
    QAction* item = m_menu->addAction(title);
    connect(item, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return item;
}

QAction* StatusMenu::addPage(std::function<QString()> address)
{
    return add(QString(), [this, address = std::move(address)] {
        if (const std::optional<QUrl> page = pageAddress(address()))
            m_handlers.openPage(*page);
    });
}

std::optional<QUrl> StatusMenu::pageAddress(const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
        return std::nullopt;
    return url;
}

void StatusMenu::showPages()
{
    m_updatesItem->setVisible(pageAddress(m_handlers.updatesAddress()).has_value());
    const std::optional<QUrl> website = pageAddress(m_handlers.websiteAddress());
    m_websiteItem->setVisible(website.has_value());
    if (website)
        m_websiteItem->setText(QStringLiteral("Visit ") + website->host());
}

void StatusMenu::refresh()
{
    showPages();
    m_pinItem->setChecked(m_handlers.isPinned());
    m_editItem->setChecked(m_handlers.isEditing());
    m_compactItem->setChecked(m_handlers.isCompact());
    m_summonItem->setText(m_handlers.isSummoned() ? QStringLiteral("Send Deck Back")
                                                  : QStringLiteral("Summon Deck"));
    const QString problem = m_handlers.saveProblem();
    m_saveProblemItem->setText(problem);
    m_saveProblemItem->setVisible(!problem.isEmpty());
}
