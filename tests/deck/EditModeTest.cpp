#include "deck/EditMode.h"

#include "model/DeckGeometry.h"
#include "support/StoreFixture.h"

#include <QSignalSpy>

namespace {

// The deck of a 3 × 3 regular grid: 360 points wide, tiles of 104 with gaps of 10 inside a padding of 14.
const DeckGeometry deck(DeckGeometry::Grid{3, 3, 104, 10, 14}, 3, true, false);

QPointF centreOf(int index)
{
    return deck.slotRect(index).center();
}

class EditModeTest : public StoreFixture {
protected:
    void SetUp() override
    {
        makeStore();
        m_store->addPage();
        m_store->addPage();
        m_store->goToPage(0);
        for (int page = 0; page < 3; ++page) {
            for (int index = 0; index < 9; ++index)
                m_store->set(snippetTile(QStringLiteral("%1.%2").arg(page).arg(index)), page, index);
        }
        m_editMode = std::make_unique<EditModeState>(*m_store);
        m_editMode->setEditing(true);
    }

    void drag(int page, int index, QPointF to)
    {
        m_editMode->beginDrag(page, index);
        m_editMode->updateDrag(to, deck);
    }

    [[nodiscard]] QUuid idAt(int page, int index) const { return m_store->tile(page, index).id; }

    std::unique_ptr<EditModeState> m_editMode;
};

TEST_F(EditModeTest, ADropSwapsTheTwoTilesOnThePageShownAtReleaseAndTheyKeepTheirIds)
{
    const QUuid first = idAt(0, 0);
    const QUuid third = idAt(0, 2);
    drag(0, 0, centreOf(2));
    EXPECT_EQ(m_editMode->dropTargetIndex(), 2);
    m_editMode->endDrag();
    EXPECT_EQ(idAt(0, 2), first);
    EXPECT_EQ(idAt(0, 0), third);
    EXPECT_FALSE(m_editMode->isDragging());

    // Carried to another page, the tile lands on that page's slot, and that page's tile takes its place.
    const QUuid carried = idAt(0, 4);
    const QUuid displaced = idAt(2, 7);
    drag(0, 4, centreOf(7));
    m_store->goToPage(2);
    m_editMode->endDrag();
    EXPECT_EQ(idAt(2, 7), carried);
    EXPECT_EQ(idAt(0, 4), displaced);
}

TEST_F(EditModeTest, DropsThatChangeNothing)
{
    const Pages before = m_store->pages();
    QSignalSpy changes(m_store.get(), &TileStore::pagesChanged);

    drag(0, 3, centreOf(3));
    m_editMode->endDrag();
    // Released over the page dots, left of the grid, or past the deck's right edge.
    for (const QPointF outside : {QPointF(180, 360), QPointF(5, 100), QPointF(400, 100), QPointF(100, -20)}) {
        drag(0, 3, centreOf(5));
        m_editMode->updateDrag(outside, deck);
        EXPECT_EQ(m_editMode->dropTargetIndex(), std::nullopt);
        m_editMode->endDrag();
    }
    // Cancelled, or ended with edit mode.
    drag(0, 3, centreOf(5));
    m_editMode->cancelDrag();
    m_editMode->endDrag();
    drag(0, 3, centreOf(5));
    m_editMode->setEditing(false);
    EXPECT_FALSE(m_editMode->isDragging());
    m_editMode->endDrag();
    m_editMode->setEditing(true);
    // The page the tile came from was deleted while it was carried: the slot holds another tile now.
    drag(1, 3, centreOf(5));
    m_store->goToPage(1);
    m_store->deleteCurrentPage();
    const Pages afterDelete = m_store->pages();
    m_editMode->endDrag();
    EXPECT_EQ(m_store->pages(), afterDelete);

    EXPECT_EQ(changes.count(), 1) << "only the page deletion changed the deck";
    EXPECT_EQ(afterDelete[0], before[0]);
    EXPECT_EQ(afterDelete[1], before[2]);
}

TEST_F(EditModeTest, RestingAtAnEdgeFlipsPagesUntilTheLastAndStopsWhenThePointerLeaves)
{
    const double right = deck.size().width() - 10;
    drag(0, 0, QPointF(right, 100));
    EXPECT_EQ(m_editMode->edgeDirection(), 1);
    ASSERT_TRUE(m_editMode->isEdgeFlipRunning());
    // Moving within the zone keeps the timer as it is.
    m_editMode->updateDrag(QPointF(right + 5, 120), deck);
    EXPECT_TRUE(m_editMode->isEdgeFlipRunning());

    m_editMode->flipAtEdge();
    EXPECT_EQ(m_store->currentPage(), 1);
    EXPECT_TRUE(m_editMode->isEdgeFlipRunning());
    m_editMode->flipAtEdge();
    EXPECT_EQ(m_store->currentPage(), 2);
    EXPECT_FALSE(m_editMode->isEdgeFlipRunning()) << "nothing to wake up for at the last page";
    m_editMode->flipAtEdge();
    EXPECT_EQ(m_store->currentPage(), 2);

    m_editMode->updateDrag(centreOf(4), deck);
    EXPECT_EQ(m_editMode->edgeDirection(), 0);
    m_editMode->updateDrag(QPointF(15.9, 100), deck);
    EXPECT_EQ(m_editMode->edgeDirection(), -1);
    EXPECT_TRUE(m_editMode->isEdgeFlipRunning());
    m_editMode->updateDrag(QPointF(16, 100), deck);
    EXPECT_FALSE(m_editMode->isEdgeFlipRunning()) << "16 points from the edge is outside the zone";

    m_editMode->updateDrag(QPointF(3, 100), deck);
    m_editMode->flipAtEdge();
    EXPECT_EQ(m_store->currentPage(), 1);
    m_editMode->endDrag();
    EXPECT_FALSE(m_editMode->isEdgeFlipRunning());
    EXPECT_EQ(m_editMode->edgeDirection(), 0);

    // Dragged at the first page into the left zone, there is no page to flip to.
    m_store->goToPage(0);
    drag(0, 0, QPointF(3, 100));
    EXPECT_FALSE(m_editMode->isEdgeFlipRunning());
    m_editMode->updateDrag(QPointF(right, 100), deck);
    EXPECT_TRUE(m_editMode->isEdgeFlipRunning());
    m_editMode->setEditing(false);
    EXPECT_FALSE(m_editMode->isEdgeFlipRunning());
}

} // namespace
