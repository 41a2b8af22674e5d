#include "app/RemoteDeck.h"

#include "actions/NowPlaying.h"
#include "app/DeckUi.h"
#include "band/BandEngines.h"
#include "band/BandLayout.h"
#include "commands/DeckCommands.h"
#include "core/ColorText.h"
#include "deck/DesktopPanel.h"
#include "deck/HotKeys.h"
#include "model/Settings.h"
#include "model/TileStore.h"
#include "platform/HotKeys.h"
#include "services/DeckServices.h"

#include <QBuffer>
#include <QJsonArray>
#include <QTextStream>

namespace {

QJsonObject hotKeysState(const GlobalHotKeys& keys)
{
    QJsonObject triggers;
    for (const auto& [id, trigger] : keys.triggers())
        triggers.insert(id == DeckHotKeys::summonId ? QStringLiteral("summon") : QString::number(id),
                        trigger);
    return {{QStringLiteral("mechanism"), hotKeyMechanismNames.rawValue(keys.mechanism())},
            {QStringLiteral("triggers"), triggers}};
}

} // namespace

RemoteDeck::RemoteDeck(DeckServices& services, DeckUi& ui)
    : m_services(services)
    , m_ui(ui)
{
}

DeckChannel::Response RemoteDeck::handle(const DeckChannel::Request& request)
{
    // A second launch of the deck: "reopen", followed by the deck file it was asked to open, if any.
    if (request.arguments.value(0) == u"reopen" && request.arguments.size() <= 2) {
        m_ui.summon();
        if (request.arguments.size() == 2)
            m_ui.importDeckFile(request.arguments[1]);
        return {};
    }
    QByteArray input = request.input;
    QBuffer in(&input);
    in.open(QIODevice::ReadOnly);
    DeckChannel::Response response;
    QTextStream out(&response.out);
    QTextStream err(&response.err);
    DeckCommands::Context context = m_services.commandContext(in, out, err);
    context.deck = this;
    response.status = DeckCommands::runInDeck(context, request.arguments);
    out.flush();
    err.flush();
    return response;
}

QJsonObject RemoteDeck::band() const
{
    const DeckSettings& settings = m_services.settings();
    const int units = BandLayout::unitCount(settings);
    QJsonArray modules;
    if (settings.showBand()) {
        const QList<BandModule> visible = BandLayout::visibleModules(settings.bandModules(), units);
        const std::vector<int> widths = BandLayout::layout(visible, units);
        for (qsizetype i = 0; i < visible.size(); ++i)
            modules.append(QJsonObject{{QStringLiteral("module"), rawValue(visible[i])},
                                       {QStringLiteral("units"), widths[static_cast<std::size_t>(i)]},
                                       {QStringLiteral("text"), m_services.band().face(visible[i]).line}});
    }
    return {{QStringLiteral("units"), units}, {QStringLiteral("modules"), modules}};
}

QJsonObject RemoteDeck::state() const
{
    QJsonArray frame{0, 0, 0, 0};
    if (const std::optional<QRect> shown = m_ui.frame())
        frame = QJsonArray{shown->x(), shown->y(), shown->width(), shown->height()};
    const NowPlayingModel& nowPlaying = m_services.nowPlaying();
    QJsonValue playing = QJsonValue::Null;
    if (nowPlaying.hasAnswered())
        playing = QJsonObject{{QStringLiteral("title"), nowPlaying.trackName()},
                              {QStringLiteral("artist"), nowPlaying.artistName()},
                              {QStringLiteral("isPlaying"), nowPlaying.isPlaying()}};
    QJsonArray lit;
    for (const int slot : m_ui.litSlots())
        lit.append(slot);
    QJsonValue editor = QJsonValue::Null;
    if (const auto slot = m_ui.editorSlot())
        editor = QJsonObject{{QStringLiteral("page"), slot->page}, {QStringLiteral("index"), slot->index}};
    const QString saveProblem = m_ui.saveProblem();
    return {
        {QStringLiteral("currentPage"), m_services.store().currentPage()},
        {QStringLiteral("isSummoned"), m_ui.panel().isSummoned()},
        {QStringLiteral("isCompact"), m_services.settings().isCompact()},
        {QStringLiteral("isExpanded"), m_ui.chrome().isExpanded()},
        {QStringLiteral("isEditing"), m_ui.editMode().isEditing()},
        {QStringLiteral("frame"), frame},
        {QStringLiteral("editor"), editor},
        {QStringLiteral("tint"),
         m_ui.chrome().tint() ? QJsonValue(ColorText::text(*m_ui.chrome().tint())) : QJsonValue()},
        {QStringLiteral("isDealing"), m_ui.isDealing()},
        {QStringLiteral("nowPlaying"), playing},
        {QStringLiteral("lit"), lit},
        {QStringLiteral("settingsOpen"), m_ui.isSettingsOpen()},
        {QStringLiteral("settingsTab"), m_ui.settingsTab()},
        {QStringLiteral("hotKeys"), m_ui.hasHotKeys() ? hotKeysState(m_services.hotKeys()) : QJsonValue()},
        {QStringLiteral("reduceMotion"), m_services.reduceMotion().isOn()},
        {QStringLiteral("saveProblem"), saveProblem.isEmpty() ? QJsonValue() : QJsonValue(saveProblem)},
    };
}

void RemoteDeck::toggleSummon()
{
    m_ui.toggleSummon();
}

bool RemoteDeck::fire(int index)
{
    return m_ui.fire(index);
}

void RemoteDeck::setEditing(bool editing)
{
    m_ui.setEditing(editing);
}

void RemoteDeck::openSettings(const QString& tab)
{
    m_ui.openSettings(tab);
}
