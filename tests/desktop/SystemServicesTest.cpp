// End to end with the desktop's real system services where they run on a private bus: UPower, reading a
// laptop's power supplies made up by umockdev, shows in the deck's battery module. BlueZ and NetworkManager
// cannot run without the kernel's devices, so their absence is what the deck meets: a Bluetooth tile and the
// Wi-Fi module must take it calmly.
#include "DesktopChecks.h"
#include "support/DeckProcess.h"
#include "support/Eventually.h"
#include "support/PrivateSession.h"
#include "support/RunningDeck.h"
#include "support/TempHome.h"
#include "support/UPowerDaemon.h"
#include "support/XvfbSession.h"

#include <QJsonArray>

namespace {

class RealSystemServices : public TempHome {
protected:
    void SetUp() override
    {
        const QStringList missing = XvfbSession::missingPrograms() + UPowerDaemon::missingPrograms();
        if (!missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();
        ASSERT_TRUE(m_x.start()) << m_x.error().toStdString();
    }

    PrivateSession m_session;
    XvfbSession m_x;
    UPowerDaemon m_upower{m_paths.home};
    RunningDeck m_deck{QStringLiteral(MARQUETTO_PATH), m_paths.home};
};

} // namespace

TEST_F(RealSystemServices, TheBatteryModuleShowsWhatUPowerReadsAndNoBlueZOrNetworkManagerIsNoFault)
{
    ASSERT_TRUE(m_upower.start(m_session.connect(), 73)) << m_upower.error().toStdString();
    setTile(m_paths.home, 0,
            QStringLiteral(
                R"({"label": "Buds", "icon": {"auto": {}}, )"
                R"("action": {"connectBluetooth": {"address": "AA:BB:CC:DD:EE:FF", "name": "Buds"}}})"));
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    ASSERT_EQ(runDeck(m_paths.home, {QStringLiteral("band"), QStringLiteral("set"), QStringLiteral("battery"),
                                     QStringLiteral("wifi")})
                  .status,
              0);
    EXPECT_TRUE(eventually([this] {
        return bandText(m_paths.home, QStringLiteral("battery")).contains(u"73%");
    })) << bandText(m_paths.home, QStringLiteral("battery")).toStdString()
        << m_deck.log().toStdString();
    EXPECT_TRUE(bandText(m_paths.home, QStringLiteral("wifi")).contains(u"Off"))
        << bandText(m_paths.home, QStringLiteral("wifi")).toStdString();

    runTile(m_paths.home, 0);
    EXPECT_TRUE(m_deck.answers()) << m_deck.log().toStdString();
    EXPECT_TRUE(deckState(m_paths.home).value(QStringLiteral("lit")).toArray().isEmpty());
}
