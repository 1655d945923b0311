// Undo and redo of cell-text changes through the cell store.
#include "grid/base/BaseGrid.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class TUndoGrid : public TBaseGrid {
public:
    explicit TUndoGrid(TComponent* AOwner) : TBaseGrid(AOwner) {}
    // One hidden storage column after the visible ones; it displays nowhere.
    int TotalColCount() const override { return ColCount() + 1; }
    int DisplColIndex(int ACol) const override { return ACol < ColCount() ? ACol : -1; }
    void Invalidate() override {
        ++Invalidations;
        TBaseGrid::Invalidate();
    }
    int Invalidations = 0;
};

class BaseGridUndo : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TUndoGrid>(nullptr);
        G->SetColCount(5);
        G->SetRowCount(5);
        U = std::make_unique<TExtGridUndoRedo>(nullptr);
        G->SetUndoRedo(U.get());
    }
    // Writes a text the way an edit does: the cell changes, the change is registered.
    void Edit(int c, int r, const QString& V) {
        U->RegisterChange(c, r, G->GetCellEx(c, r), V);
        G->SetCellEx(c, r, V);
    }
    std::unique_ptr<TUndoGrid> G;
    std::unique_ptr<TExtGridUndoRedo> U;
};

TEST_F(BaseGridUndo, MaxLevelKeepsTheNewestChanges) {
    U->SetMaxLevel(2);
    Edit(1, 1, "a");
    Edit(2, 2, "b");
    Edit(3, 3, "c");
    ASSERT_EQ(U->Items()->Count(), 2);
    EXPECT_EQ(U->Items()->Items(0)->Value(), "b");
    U->Undo();
    U->Undo();
    EXPECT_EQ(G->GetCellEx(3, 3), "");
    EXPECT_EQ(G->GetCellEx(2, 2), "");
    EXPECT_FALSE(U->CanUndo());
    U->Undo(); // nothing left: the oldest change stays
    EXPECT_EQ(G->GetCellEx(1, 1), "a");
    EXPECT_EQ(U->Level(), 0);
}

TEST_F(BaseGridUndo, UndoMovesTheCurrentCellAndRedoReapplies) {
    Edit(2, 3, "x");
    Edit(4, 1, "y");
    U->Undo();
    EXPECT_EQ(G->GetCellEx(4, 1), "");
    EXPECT_EQ(G->Col(), 4);
    EXPECT_EQ(G->Row(), 1);
    EXPECT_TRUE(U->CanRedo());
    U->Redo();
    EXPECT_EQ(G->GetCellEx(4, 1), "y");
    EXPECT_FALSE(U->CanRedo());
}

TEST_F(BaseGridUndo, ANewChangeAfterAnUndoIsAppendedAndEndsRedo) {
    Edit(1, 1, "a");
    Edit(1, 2, "b");
    U->Undo();
    Edit(2, 2, "c");
    ASSERT_EQ(U->Items()->Count(), 3);
    EXPECT_EQ(U->Items()->Items(1)->Value(), "b"); // the undone record stays in place
    EXPECT_EQ(U->Items()->Items(2)->Value(), "c");
    EXPECT_FALSE(U->CanRedo());
    EXPECT_TRUE(U->CanUndo());
}

TEST_F(BaseGridUndo, SequenceUndoesAndRedoesAsOne) {
    G->SetGridCell(1, 1, "o1");
    G->SetGridCell(2, 1, "o2");
    U->StartSequence();
    Edit(1, 1, "n1");
    Edit(2, 1, "n2");
    U->StopSequence();
    std::vector<QString> Order;
    U->OnUndo = [&](TObject* Sender, TBaseGrid* Grid, int Col, int Row, const QString& Orig, const QString& New) {
        EXPECT_EQ(Sender, U.get());
        EXPECT_EQ(Grid, G.get());
        Order.push_back(QString("%1,%2:%3->%4").arg(Col).arg(Row).arg(Orig, New));
    };
    const int Before = G->Invalidations;
    U->Undo();
    EXPECT_EQ(G->Invalidations, Before + 1);
    EXPECT_EQ(Order, std::vector<QString>({"2,1:n2->o2", "1,1:n1->o1"})); // the later first
    EXPECT_EQ(G->GetCellEx(1, 1), "o1");
    EXPECT_EQ(G->GetCellEx(2, 1), "o2");
    EXPECT_EQ(U->Level(), 0);

    U->Redo();
    EXPECT_EQ(G->GetCellEx(1, 1), "n1");
    EXPECT_EQ(G->GetCellEx(2, 1), "n2");
    EXPECT_EQ(U->Level(), 4);
    EXPECT_FALSE(U->CanRedo());
}

TEST_F(BaseGridUndo, BrokenSequencesNeitherLoseChangesNorLeaveTheList) {
    // A stop whose start was trimmed away: undo restores down to the first record and stops.
    U->SetMaxLevel(2);
    U->StartSequence();
    Edit(1, 1, "a");
    Edit(2, 2, "b"); // trims the start marker
    U->StopSequence();
    U->Undo();
    EXPECT_EQ(U->Level(), 0);
    EXPECT_EQ(G->GetCellEx(2, 2), "");
    EXPECT_FALSE(U->CanUndo());

    // A sequence never closed: redo re-applies every record after its start.
    U->Reset();
    U->SetMaxLevel(0);
    U->StartSequence();
    Edit(3, 3, "c");
    Edit(4, 4, "d");
    U->Undo(); // d
    U->Undo(); // c
    U->Undo(); // the open start
    EXPECT_EQ(U->Level(), 0);
    U->Redo();
    EXPECT_EQ(G->GetCellEx(3, 3), "c");
    EXPECT_EQ(G->GetCellEx(4, 4), "d");
    EXPECT_EQ(U->Level(), 3);
}

TEST_F(BaseGridUndo, AChangeInAHiddenColumnIsRestoredWithoutMovingTheCurrentCell) {
    G->SetCol(2);
    G->SetRow(2);
    Edit(5, 3, "h"); // storage column 5 is the hidden one
    U->Undo();
    EXPECT_EQ(G->GetCellEx(5, 3), "");
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 2);
}

TEST_F(BaseGridUndo, ResetClearsBothDirections) {
    Edit(1, 1, "a");
    Edit(1, 2, "b");
    U->Undo();
    U->Reset();
    EXPECT_FALSE(U->CanUndo());
    EXPECT_FALSE(U->CanRedo());
    EXPECT_EQ(U->Items()->Count(), 0);
}

TEST_F(BaseGridUndo, EitherSideForgetsTheOtherWhenItGoes) {
    EXPECT_EQ(U->Grid(), G.get());
    U.reset();
    EXPECT_EQ(G->UndoRedo(), nullptr);

    U = std::make_unique<TExtGridUndoRedo>(nullptr);
    G->SetUndoRedo(U.get());
    G.reset();
    EXPECT_EQ(U->Grid(), nullptr);
    U->RegisterChange(1, 1, "", "a");
    EXPECT_NO_THROW(U->Undo()); // no grid: nothing happens
    EXPECT_EQ(U->Level(), 1);
}

// A handler that clears or trims the list frees the record being undone or redone: the change
// still lands whole and the level stays inside the list.
TEST_F(BaseGridUndo, HandlersThatEmptyTheListDuringUndoOrRedo) {
    G->SetGridCell(1, 1, "o1");
    G->SetGridCell(2, 1, "o2");
    Edit(1, 1, "n1");
    U->OnUndo = [&](TObject*, TBaseGrid*, int, int, const QString&, const QString&) { U->Reset(); };
    U->Undo();
    EXPECT_EQ(G->GetCellEx(1, 1), "o1");
    EXPECT_EQ(U->Level(), 0);
    EXPECT_FALSE(U->CanUndo());
    EXPECT_FALSE(U->CanRedo());

    // Inside a sequence: the first restore empties the list, the walk stops there.
    U->OnUndo = nullptr;
    U->StartSequence();
    Edit(1, 1, "a1");
    Edit(2, 1, "a2");
    U->StopSequence();
    U->OnUndo = [&](TObject*, TBaseGrid*, int, int, const QString&, const QString&) { U->Reset(); };
    U->Undo();
    EXPECT_EQ(G->GetCellEx(2, 1), "o2");
    EXPECT_EQ(U->Level(), 0);

    // Redo with a handler that registers a change over a full MaxLevel list (the oldest record,
    // the one being redone, is trimmed away).
    U->OnUndo = nullptr;
    U->Reset();
    U->SetMaxLevel(1);
    Edit(3, 3, "c");
    U->Undo();
    U->OnRedo = [&](TObject*, TBaseGrid*, int, int, const QString&, const QString&) {
        U->RegisterChange(4, 4, "", "z");
    };
    U->Redo();
    EXPECT_EQ(G->GetCellEx(3, 3), "c");
    EXPECT_EQ(U->Items()->Count(), 1);
    EXPECT_LE(U->Level(), U->Items()->Count());
}

TEST_F(BaseGridUndo, AGridThatGoesLeavesTheLinkOfTheGridNowUsingTheComponent) {
    auto Other = std::make_unique<TUndoGrid>(nullptr);
    Other->SetColCount(5);
    Other->SetRowCount(5);
    Other->SetUndoRedo(U.get()); // G still names U as its component
    EXPECT_EQ(U->Grid(), Other.get());
    G.reset();
    EXPECT_EQ(U->Grid(), Other.get());
    U->RegisterChange(1, 1, "", "a");
    Other->SetCellEx(1, 1, "a");
    U->Undo();
    EXPECT_EQ(Other->GetCellEx(1, 1), "");
}

} // namespace
