#include "ui/settings/SettingsView.h"

#include "commands/DeckRemote.h"
#include "ui/paint/PhosphorFont.h"
#include "ui/paint/SymbolGlyphs.h"
#include "ui/settings/AppearancePane.h"
#include "ui/settings/GeneralPane.h"
#include "ui/settings/LayoutPane.h"

#include <QPainter>
#include <QScrollArea>

namespace {

constexpr int iconSide = 32;

QIcon symbolIcon(PhosphorFont& font, const QString& symbol, const QColor& colour)
{
    const QString glyph = SymbolGlyphs::text(font, symbol);
    QPixmap pixmap(iconSide, iconSide);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont face(QString::fromLatin1(PhosphorFont::family));
    face.setPixelSize(iconSide * 3 / 4);
    painter.setFont(face);
    painter.setPen(colour);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

// A pane may grow taller than the screen; it scrolls then.
QWidget* scrolling(QWidget* pane)
{
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidget(pane);
    return area;
}

} // namespace

SettingsView::SettingsView(const SettingsParts& parts, QWidget* parent)
    : QTabWidget(parent)
    , m_layout(new LayoutPane(parts))
{
    setDocumentMode(true);
    setIconSize(QSize(iconSide / 2 + 4, iconSide / 2 + 4));
    parts.font.ensureLoaded();
    const QColor colour = palette().color(QPalette::WindowText);
    const std::array<QWidget*, 4> panes{scrolling(new GeneralPane(parts)),
                                        scrolling(new AppearancePane(parts)), scrolling(m_layout),
                                        parts.feedback()};
    const std::array<const char*, 4> symbols{"gearshape", "paintbrush", "square.grid.3x3",
                                             "bubble.left.and.bubble.right"};
    for (std::size_t i = 0; i < panes.size(); ++i)
        addTab(panes[i], symbolIcon(parts.font, QLatin1String(symbols[i]), colour),
               DeckRemote::settingsTabs[i].toString());
}

bool SettingsView::showTab(const QString& title)
{
    for (int i = 0; i < count(); ++i) {
        if (tabText(i).compare(title, Qt::CaseInsensitive) == 0) {
            setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

QString SettingsView::currentTitle() const
{
    return tabText(currentIndex());
}
