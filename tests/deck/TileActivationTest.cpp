#include "deck/TileActivation.h"

#include "support/ActivationFixture.h"

#include <QSignalSpy>

namespace {

class TileActivationTest : public ActivationFixture {
protected:
    void SetUp() override
    {
        ActivationFixture::SetUp();
        m_store->set(snippetTile(QStringLiteral("hello")), 0, 1);
        m_panel->beginSummon();
    }
};

TEST_F(TileActivationTest, ClickPopsRunsTheTileAndSendsTheSummonedDeckBack)
{
    QSignalSpy editor(m_activation.get(), &TileActivation::editorRequested);
    m_activation->activate(0, 1);
    EXPECT_EQ(copied(), QStringList{QStringLiteral("hello")});
    EXPECT_EQ(m_sound.played, std::vector<double>{0.4});
    EXPECT_FALSE(m_panel->isSummoned());
    EXPECT_EQ(editor.count(), 0);

    m_settings->setClickSoundEnabled(false);
    m_activation->activate(0, 1);
    EXPECT_EQ(copied().size(), 2);
    EXPECT_EQ(m_sound.played.size(), 1u);
}

TEST_F(TileActivationTest, ClickOnAnEmptyTileOrInEditModeAsksForTheEditorInstead)
{
    struct Case {
        const char* name;
        bool editing;
        int index;
    };
    for (const Case& c : {Case{"empty tile", false, 4}, Case{"edit mode", true, 1}}) {
        SCOPED_TRACE(c.name);
        m_editMode->setEditing(c.editing);
        QSignalSpy editor(m_activation.get(), &TileActivation::editorRequested);
        m_activation->activate(0, c.index);
        ASSERT_EQ(editor.count(), 1);
        EXPECT_EQ(editor.at(0), (QVariantList{0, c.index}));
        EXPECT_TRUE(copied().isEmpty());
        EXPECT_TRUE(m_sound.played.empty());
        EXPECT_TRUE(m_panel->isSummoned());
    }
}

} // namespace
