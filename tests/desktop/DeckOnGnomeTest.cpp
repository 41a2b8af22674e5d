// End to end on GNOME Shell: the real shell, headless, with one virtual monitor and XWayland, on the test's
// own session bus and runtime folder. The real deck, on XWayland, is stacked as on every desktop, and tints
// its glass from the wallpaper GNOME's settings name.
#include "DeckStacking.h"
#include "support/DeckProcess.h"
#include "support/GnomeSession.h"
#include "support/PrivateSession.h"
#include "support/RunningDeck.h"
#include "support/Screenshot.h"
#include "support/TempHome.h"
#include "support/X11Client.h"

#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace {

class DeckOnGnome : public TempHome {
protected:
    void SetUp() override
    {
        if (const QStringList missing = GnomeSession::missingPrograms(); !missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();
    }

    // GNOME's settings as the shell and the deck read them, before the shell starts.
    void startShell(const QByteArray& settings = {})
    {
        writeFile(m_gnome.settingsFile(), settings);
        ASSERT_TRUE(m_gnome.start()) << m_gnome.error().toStdString();
    }

    QString picture(const QColor& colour)
    {
        const QString path = m_dir.filePath(QStringLiteral("wallpaper-%1.png").arg(colour.name().mid(1)));
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QJsonObject state()
    {
        return QJsonDocument::fromJson(runDeck(m_paths.home, {QStringLiteral("state")}).out).object();
    }

    PrivateSession m_session;
    GnomeSession m_gnome{m_paths.home};
    RunningDeck m_deck{QStringLiteral(MARQUETTO_PATH), m_paths.home, QStringLiteral("GNOME")};
};

} // namespace

TEST_F(DeckOnGnome, TheDeckSitsBelowOnEveryWorkspaceAndIsLiftedWhenSummonedWithoutTheFocus)
{
    startShell();
    expectDeckStackedAndSummoned(m_deck, m_paths.home, QStringLiteral("gnome"));
}

TEST_F(DeckOnGnome, TheGlassTakesItsTintFromTheWallpaperGnomeShows)
{
    startShell("[org/gnome/desktop/background]\npicture-uri='" +
               QUrl::fromLocalFile(picture(Qt::red)).toEncoded() + "'\n");
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    EXPECT_TRUE(eventually([&] { return state().value(QStringLiteral("tint")).toString() == u"#B82525"; },
                           std::chrono::seconds(10)))
        << "no tint from the red wallpaper: " << QJsonDocument(state()).toJson().toStdString()
        << m_deck.log().toStdString();
}
