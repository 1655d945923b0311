// The platform grid driven as a user drives it: synthetic keys and mouse messages through the
// control's WndProc, on a shown form, headless.
#include "platform/grids/Grids.h"

#include "platform/gui/Forms.h"

#include <QApplication>
#include <QDir>
#include <QImage>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace {

class TTag : public TObject {};

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 500, 350);
        Grid = Create<TStringGrid>(Form, Form);
        Grid->SetBounds(0, 0, 400, 250);
        Grid->SetColCount(5);
        Grid->SetRowCount(10);
        Form->Show();
        QApplication::processEvents();
        Grid->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        delete Form;
        QApplication::processEvents();
    }

    // The control that has the keyboard: the editor while it is open, else the grid.
    TControl* KeyTarget() {
        TInplaceEdit* E = Grid->InplaceEditor();
        if (E && E->isVisible()) return E;
        return Grid;
    }
    void Key(Word K, TShiftState Shift = {}, QChar Ch = QChar()) { KeyTarget()->SimulateKey(K, Shift, Ch); }
    void Type(const QString& S) {
        for (QChar C : S) KeyTarget()->SimulateKey(0, {}, C);
    }

    TPoint Center(int ACol, int ARow) {
        TRect R = Grid->CellRect(ACol, ARow);
        return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    }
    void Press(int X, int Y, WPARAM Flags = 0) { Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON | Flags, MakeLParam(X, Y)); }
    void MoveTo(int X, int Y, WPARAM Flags = MK_LBUTTON) { Grid->Perform(WM_MOUSEMOVE, Flags, MakeLParam(X, Y)); }
    void Release(int X, int Y, WPARAM Flags = 0) { Grid->Perform(WM_LBUTTONUP, Flags, MakeLParam(X, Y)); }
    void ClickCell(int ACol, int ARow, WPARAM Flags = 0) {
        TPoint P = Center(ACol, ARow);
        Press(P.X, P.Y, Flags);
        Release(P.X, P.Y, Flags);
    }
    void Fill() {
        for (int R = 0; R < Grid->RowCount(); ++R)
            for (int C = 0; C < Grid->ColCount(); ++C) Grid->SetCells(C, R, QStringLiteral("%1:%2").arg(C).arg(R));
    }
    TGridCoord Cur() const { return {Grid->Col(), Grid->Row()}; }

    TForm* Form = nullptr;
    TStringGrid* Grid = nullptr;
};

// ---- data -------------------------------------------------------------------------------------
TEST_F(GridTest, CellsAreSparseAndKeptAcrossCountChanges) {
    EXPECT_EQ(Grid->Cells(3, 4), "");
    EXPECT_EQ(Grid->Objects(3, 4), nullptr);
    EXPECT_EQ(Grid->Cells(400, 90000), "");

    TTag Tag;
    Grid->SetCells(2, 8, "eight");
    Grid->SetObjects(2, 8, &Tag);
    Grid->SetCells(7, 20, "outside"); // beyond both counts: stored all the same
    Grid->SetCells(1, 1, "a");
    Grid->SetCells(3, 1, "ccc");
    Grid->SetCells(1, 1, "longer text"); // rewriting a cell keeps its neighbours
    Grid->SetCells(3, 1, "");
    Grid->SetCells(2, 1, "b");
    EXPECT_EQ(Grid->Cells(1, 1), "longer text");
    EXPECT_EQ(Grid->Cells(2, 1), "b");
    EXPECT_EQ(Grid->Cells(3, 1), "");
    EXPECT_EQ(Grid->Cells(7, 20), "outside");

    Grid->SetRowCount(3);
    Grid->SetColCount(2);
    EXPECT_EQ(Grid->Cells(2, 8), "eight");
    Grid->SetRowCount(10);
    Grid->SetColCount(5);
    EXPECT_EQ(Grid->Cells(2, 8), "eight");
    EXPECT_EQ(Grid->Objects(2, 8), &Tag);
}

TEST_F(GridTest, PackedRowsMatchAPlainModelUnderMixedWrites) {
    // Rewrites, growing and shrinking texts, empties and columns written out of order all go
    // through the same packed row; every cell must still read back what was written last.
    std::map<std::pair<int, int>, QString> Model;
    uint32_t Seed = 12345;
    auto Next = [&](uint32_t N) {
        Seed = Seed * 1103515245u + 12345u;
        return (Seed >> 8) % N;
    };
    for (int I = 0; I < 20000; ++I) {
        int C = int(Next(12)), R = int(Next(6));
        uint32_t Kind = Next(4);
        QString V = Kind == 0 ? QString() : QString(int(Next(Kind == 3 ? 300 : 9)), QChar(u'a' + Next(26)));
        Grid->SetCells(C, R, V);
        Model[{C, R}] = V;
        if (I % 997 == 0) {
            for (auto& [Cell, Text] : Model) ASSERT_EQ(Grid->Cells(Cell.first, Cell.second), Text) << I;
        }
    }
    for (auto& [Cell, Text] : Model) EXPECT_EQ(Grid->Cells(Cell.first, Cell.second), Text);
}

TEST_F(GridTest, NegativeIndexRaisesListError) {
    struct Case {
        int C, R;
        const char* Message;
    };
    const Case Cases[] = {{0, -1, "List index out of bounds (-1)"}, {-3, 2, "List index out of bounds (-3)"}};
    for (const Case& K : Cases) {
        try {
            Grid->Cells(K.C, K.R);
            ADD_FAILURE() << "no error for " << K.C << "," << K.R;
        } catch (const EListError& E) {
            EXPECT_EQ(E.Message(), K.Message);
        }
        EXPECT_THROW(Grid->SetCells(K.C, K.R, "x"), EListError);
        EXPECT_THROW(Grid->SetObjects(K.C, K.R, nullptr), EListError);
        EXPECT_THROW(Grid->Objects(K.C, K.R), EListError);
    }
    EXPECT_THROW(Grid->Rows(-1), EListError);
}

TEST_F(GridTest, RowAndColumnViewsReadAndWriteCells) {
    Fill();
    TStrings* Row = Grid->Rows(2);
    EXPECT_EQ(Row->Count(), 5);
    EXPECT_EQ(Row->Get(3), "3:2");
    TStringList Src;
    Src.Add("x");
    Src.Add("y");
    Grid->Rows(4)->Assign(&Src); // shorter source: the rest of the row is emptied
    EXPECT_EQ(Grid->Cells(0, 4), "x");
    EXPECT_EQ(Grid->Cells(1, 4), "y");
    EXPECT_EQ(Grid->Cells(2, 4), "");
    TStrings* Col = Grid->Cols(1);
    EXPECT_EQ(Col->Count(), 10);
    Col->Put(9, "last");
    EXPECT_EQ(Grid->Cells(1, 9), "last");
    EXPECT_THROW(Col->Get(10), EListError);
    Grid->Cols(4)->Clear();
    EXPECT_EQ(Grid->Cells(4, 0), "");
    EXPECT_EQ(Grid->Cols(4)->Add("first"), 0);
}

TEST_F(GridTest, MovesCarryTextsObjectsAndSizes) {
    Fill();
    TTag A, B;
    Grid->SetObjects(1, 3, &A);
    Grid->SetObjects(3, 5, &B);
    Grid->SetColWidths(1, 90);
    Grid->SetRowHeights(3, 40);
    std::vector<std::pair<int, int>> ColMoves, RowMoves;
    Grid->OnColumnMoved = [&](TObject*, int F, int T) { ColMoves.push_back({F, T}); };
    Grid->OnRowMoved = [&](TObject*, int F, int T) { RowMoves.push_back({F, T}); };

    Grid->MoveColumn(1, 3); // columns 2 and 3 shift left
    EXPECT_EQ(Grid->Cells(3, 3), "1:3");
    EXPECT_EQ(Grid->Cells(1, 3), "2:3");
    EXPECT_EQ(Grid->Cells(2, 3), "3:3");
    EXPECT_EQ(Grid->Objects(3, 3), &A);
    EXPECT_EQ(Grid->Objects(2, 5), &B);
    EXPECT_EQ(Grid->ColWidths(3), 90);
    EXPECT_EQ(Grid->ColWidths(1), 64);

    Grid->MoveRow(3, 1); // rows 1 and 2 shift down
    EXPECT_EQ(Grid->Cells(0, 1), "0:3");
    EXPECT_EQ(Grid->Cells(0, 2), "0:1");
    EXPECT_EQ(Grid->Objects(3, 1), &A);
    EXPECT_EQ(Grid->RowHeights(1), 40);
    EXPECT_EQ(Grid->RowHeights(3), 24);
    EXPECT_THAT(ColMoves, ::testing::ElementsAre(std::make_pair(1, 3)));
    EXPECT_THAT(RowMoves, ::testing::ElementsAre(std::make_pair(3, 1)));
}

TEST_F(GridTest, RowRangesAreRemovedAndInsertedWithTheirCells) {
    Grid->SetRowCount(1000);
    for (int R = 0; R < 1000; ++R) Grid->SetCells(1, R, QString::number(R));
    Grid->SetRowHeights(500, 33);
    Grid->SetRow(700);
    Grid->RemoveRowRange(100, 400);
    EXPECT_EQ(Grid->RowCount(), 600);
    EXPECT_EQ(Grid->Cells(1, 99), "99");
    EXPECT_EQ(Grid->Cells(1, 100), "500");
    EXPECT_EQ(Grid->RowHeights(100), 33);
    EXPECT_EQ(Grid->Row(), 300); // the current row stays on its data
    Grid->InsertRowRange(1, 2);
    EXPECT_EQ(Grid->RowCount(), 602);
    EXPECT_EQ(Grid->Cells(1, 1), "");
    EXPECT_EQ(Grid->Cells(1, 3), "1");
    EXPECT_EQ(Grid->RowHeights(102), 33);
    Grid->RemoveRowRange(590, 100); // a count past the end stops at the last row
    EXPECT_EQ(Grid->RowCount(), 590);
}

// A descendant as the system's grids are: its own count setter, its own edit limits.
class TTestGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    int ColCountCalls = 0;
    int Limit = 0;
    bool Modify = true;
    void SetColCount(int Value) override {
        ++ColCountCalls;
        TStringGrid::SetColCount(Value);
    }
    // Internal count changes reach the base setter without passing through the one above.
    void SetBaseColCount(int Value) { TCustomGrid::SetColCount(Value); }
    using TCustomGrid::DeleteColumn;
    int GetEditLimit() override { return Limit; }
    bool CanEditModify() override { return Modify; }
};

TEST(GridDescendantTest, BaseSetterAndEditLimits) {
    auto Form = std::unique_ptr<TForm>(Create<TForm>(nullptr));
    Form->SetBounds(0, 0, 500, 350);
    auto* G = Create<TTestGrid>(Form.get(), Form.get());
    G->SetBounds(0, 0, 400, 250);
    Form->Show();
    QApplication::processEvents();
    for (int C = 0; C < 5; ++C) G->SetCells(C, 1, QString::number(C));
    G->DeleteColumn(1);
    G->SetBaseColCount(7);
    EXPECT_EQ(G->ColCountCalls, 0);
    EXPECT_EQ(G->ColCount(), 7);
    EXPECT_EQ(G->Cells(1, 1), "2");
    EXPECT_EQ(G->Cells(3, 1), "4");
    EXPECT_EQ(G->Cells(4, 1), "");

    G->SetOptions(G->Options() + TGridOptions{goEditing});
    G->MoveCurrentCell(2, 2, true);
    struct Case {
        int Limit;
        bool Modify;
        const char* Typed;
        const char* Expected;
    };
    const Case Cases[] = {{0, true, "abcdef", "abcdef"}, {3, true, "abcdef", "abc"}, {0, false, "abc", ""}};
    for (const Case& K : Cases) {
        G->Limit = K.Limit;
        G->Modify = K.Modify;
        G->SetCells(2, 2, "");
        for (const char* P = K.Typed; *P; ++P) {
            TControl* T = G->EditorMode() ? static_cast<TControl*>(G->InplaceEditor()) : G;
            T->SimulateKey(0, {}, QChar(*P));
        }
        G->InplaceEditor()->SimulateKey(VK_RETURN);
        EXPECT_FALSE(G->EditorMode());
        EXPECT_EQ(G->Cells(2, 2), K.Expected) << K.Typed << " limit " << K.Limit;
    }
}

// ---- geometry ---------------------------------------------------------------------------------
TEST_F(GridTest, FixedCountsRefuseToCoverTheWholeGrid) {
    EXPECT_THROW(Grid->SetFixedRows(10), EInvalidGridOperation);
    EXPECT_THROW(Grid->SetFixedCols(5), EInvalidGridOperation);
    EXPECT_THROW(Grid->SetFixedRows(-1), EInvalidGridOperation);
    EXPECT_EQ(Grid->PlatformFixedRows(), 1);
    Grid->SetFixedRows(3);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->TopRow(), 3);
    Grid->SetRowCount(2); // fewer rows than fixed ones: the fixed count follows
    EXPECT_EQ(Grid->PlatformFixedRows(), 1);
}

TEST_F(GridTest, CellRectAndMouseToCellAgree) {
    Grid->SetColWidths(2, 100);
    Grid->SetRowHeights(3, 40);
    for (int C = 0; C < 5; ++C)
        for (int R = 0; R < 9; ++R) {
            TRect Rc = Grid->CellRect(C, R);
            ASSERT_FALSE(Rc.IsEmpty()) << C << "," << R;
            int AC = -2, AR = -2;
            Grid->MouseToCell(Rc.Left, Rc.Top, AC, AR);
            EXPECT_EQ(AC, C);
            EXPECT_EQ(AR, R);
        }
    EXPECT_EQ(Grid->CellRect(2, 1), Rect(130, 25, 230, 49));
    EXPECT_EQ(Grid->CellRect(2, 3).Height(), 40);
    int AC, AR;
    Grid->MouseToCell(399, 249, AC, AR); // right of the last column
    EXPECT_EQ(AC, -1);
    Grid->SetRowCount(100);
    EXPECT_TRUE(Grid->CellRect(1, 60).IsEmpty()); // out of view
}

TEST_F(GridTest, TopRowIsClampedAndReported) {
    Grid->SetRowCount(100);
    int Changes = 0;
    Grid->OnTopLeftChanged = [&](TObject*) { ++Changes; };
    Grid->SetTopRow(50);
    EXPECT_EQ(Grid->TopRow(), 50);
    Grid->SetTopRow(1000);
    int Max = Grid->TopRow();
    EXPECT_LT(Max, 100);
    EXPECT_EQ(Max + Grid->VisibleRowCount(), 100); // the last row just fits
    Grid->SetTopRow(0);
    EXPECT_EQ(Grid->TopRow(), 1);
    EXPECT_EQ(Changes, 3);
}

// ---- current cell, selection and keys -----------------------------------------------------------
TEST_F(GridTest, KeyNavigation) {
    struct Case {
        const char* Name;
        TGridCoord Start;
        Word Key;
        TShiftState Shift;
        TGridOptions Extra;
        TGridCoord Expected;
    };
    const Case Cases[] = {
        {"down", {2, 2}, VK_DOWN, {}, {}, {2, 3}},
        {"up stops at fixed row", {2, 1}, VK_UP, {}, {}, {2, 1}},
        {"left stops at fixed col", {1, 4}, VK_LEFT, {}, {}, {1, 4}},
        {"right", {1, 4}, VK_RIGHT, {}, {}, {2, 4}},
        {"right stops at last col", {4, 4}, VK_RIGHT, {}, {}, {4, 4}},
        {"home", {3, 5}, VK_HOME, {}, {}, {1, 5}},
        {"end", {2, 5}, VK_END, {}, {}, {4, 5}},
        {"ctrl home", {3, 50}, VK_HOME, {ssCtrl}, {}, {1, 1}},
        {"ctrl end", {2, 5}, VK_END, {ssCtrl}, {}, {4, 99}},
        {"page down", {2, 2}, VK_NEXT, {}, {}, {2, 11}},
        {"page up stops at first row", {2, 5}, VK_PRIOR, {}, {}, {2, 1}},
        {"tab without goTabs stays", {2, 2}, VK_TAB, {}, {}, {2, 2}},
        {"tab", {2, 2}, VK_TAB, {}, {goTabs}, {3, 2}},
        {"tab wraps to next row", {4, 2}, VK_TAB, {}, {goTabs}, {1, 3}},
        {"shift tab wraps back", {1, 3}, VK_TAB, {ssShift}, {goTabs}, {4, 2}},
        {"tab on last cell stays", {4, 99}, VK_TAB, {}, {goTabs}, {4, 99}},
    };
    Grid->SetRowCount(100);
    TGridOptions Base = Grid->Options();
    for (const Case& K : Cases) {
        Grid->SetOptions(Base + K.Extra);
        Grid->MoveCurrentCell(K.Start.X, K.Start.Y, true);
        Grid->SetFocus();
        Grid->SimulateKey(K.Key, K.Shift);
        EXPECT_EQ(Cur(), K.Expected) << K.Name;
        TRect R = Grid->CellRect(Grid->Col(), Grid->Row());
        EXPECT_FALSE(R.IsEmpty()) << K.Name << ": the current cell is scrolled into view";
    }
}

TEST_F(GridTest, ShiftArrowsSpanARangeFromTheAnchor) {
    Grid->MoveCurrentCell(2, 2, true);
    Key(VK_DOWN, {ssShift});
    Key(VK_RIGHT, {ssShift});
    EXPECT_EQ(Grid->Selection(), GridRect(2, 2, 3, 3));
    Key(VK_DOWN); // without Shift the anchor follows again
    EXPECT_EQ(Grid->Selection(), GridRect(3, 4, 3, 4));
    Grid->SetOptions(Grid->Options() - TGridOptions{goRangeSelect});
    Key(VK_DOWN, {ssShift});
    EXPECT_EQ(Grid->Selection(), GridRect(3, 5, 3, 5));
    Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
    EXPECT_EQ(Grid->Selection(), GridRect(1, 5, 4, 5));
}

TEST_F(GridTest, SelectCellVetoAndIndexErrors) {
    int Clicks = 0;
    Grid->OnClick = [&](TObject*) { ++Clicks; };
    bool Allow = false;
    std::vector<TGridCoord> Asked;
    Grid->OnSelectCell = [&](TObject*, int C, int R, bool& Can) {
        Asked.push_back({C, R});
        Can = Allow;
    };
    Grid->SetRow(5);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Clicks, 1); // refused, and still reported as a click
    Key(VK_DOWN);
    EXPECT_EQ(Grid->Row(), 1);
    Allow = true;
    Grid->SetRow(5);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Grid->Selection(), GridRect(1, 5, 1, 5));
    int Asks = int(Asked.size());
    Grid->SetRow(5); // the same value again does nothing
    EXPECT_EQ(int(Asked.size()), Asks);
    try {
        Grid->SetCol(5);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidGridOperation& E) {
        EXPECT_EQ(E.Message(), "Grid index out of range");
    }
    EXPECT_THROW(Grid->SetRow(-1), EInvalidGridOperation);
    // Setting the selection stores it as given, without asking.
    Grid->SetSelection(GridRect(2, 3, 4, 6));
    EXPECT_EQ(Grid->Selection(), GridRect(2, 3, 4, 6));
    EXPECT_EQ(Cur(), (TGridCoord{4, 6}));
    EXPECT_EQ(int(Asked.size()), Asks);
    // A selection moved off the sheet hides it; setting a row brings the current cell back.
    Grid->SetSelection(GridRect(-1, -1, -1, -1));
    Grid->SetRow(3);
    EXPECT_EQ(Cur(), (TGridCoord{1, 3}));
}

// ---- editing ----------------------------------------------------------------------------------
class EditTest : public GridTest {
protected:
    void SetUp() override {
        GridTest::SetUp();
        Fill();
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
        Grid->MoveCurrentCell(2, 2, true);
        Grid->SetFocus();
    }
    bool EditorShown() { return Grid->EditorMode() && Grid->InplaceEditor() && Grid->InplaceEditor()->isVisible(); }
};

TEST_F(EditTest, EnterCommitsAndEscapeRestores) {
    // Open: the key that opens the editor (0: the typed text itself opens it, replacing the text).
    struct Case {
        const char* Name;
        Word Open;
        QString Typed;
        Word EndKey;
        QString Expected;
    };
    const Case Cases[] = {
        {"F2 then Enter", VK_F2, "!", VK_RETURN, "2:2!"},        {"typed key replaces", 0, "xy", VK_RETURN, "xy"},
        {"Enter opens", VK_RETURN, "z", VK_RETURN, "2:2z"},      {"Escape restores", VK_F2, "lost", VK_ESCAPE, "2:2"},
        {"Down commits and moves", VK_F2, "+", VK_DOWN, "2:2+"},
    };
    for (const Case& K : Cases) {
        Grid->SetCells(2, 2, "2:2");
        Grid->MoveCurrentCell(2, 2, true);
        if (K.Open) {
            Key(K.Open);
            ASSERT_TRUE(EditorShown()) << K.Name;
            Grid->InplaceEditor()->Deselect();
        }
        Type(K.Typed);
        ASSERT_TRUE(EditorShown()) << K.Name;
        Key(K.EndKey);
        EXPECT_FALSE(EditorShown()) << K.Name;
        EXPECT_EQ(Grid->Cells(2, 2), K.Expected) << K.Name;
    }
}

TEST_F(EditTest, VetoesKeepTheEditorOpen) {
    Key(VK_F2);
    Grid->InplaceEditor()->Deselect();
    Type("!");
    // A refused cell change keeps the editor on its cell.
    Grid->OnSelectCell = [](TObject*, int, int, bool& Can) { Can = false; };
    Key(VK_DOWN);
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(Cur(), (TGridCoord{2, 2}));
    Grid->OnSelectCell = nullptr;
    // A key handler that takes the Enter keeps it open too.
    std::vector<ushort> Seen;
    Grid->OnKeyPress = [&](TObject* Sender, QChar& K) {
        EXPECT_EQ(Sender, Grid);
        Seen.push_back(K.unicode());
        if (K.unicode() == 13) K = QChar();
    };
    Key(VK_RETURN);
    EXPECT_TRUE(EditorShown());
    EXPECT_THAT(Seen, ::testing::ElementsAre(13));
    Grid->OnKeyPress = nullptr;
    Key(VK_RETURN);
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(Grid->Cells(2, 2), "2:2!");
}

TEST_F(EditTest, EditorHooksAndOptions) {
    std::vector<QString> Stored;
    Grid->OnGetEditText = [](TObject*, int, int, QString& V) { V = "[" + V + "]"; };
    Grid->OnSetEditText = [&](TObject*, int C, int R, const QString& V) {
        Stored.push_back(QStringLiteral("%1,%2=%3").arg(C).arg(R).arg(V));
    };
    Key(VK_F2);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Grid->InplaceEditor()->Text(), "[2:2]");
    EXPECT_EQ(Grid->InplaceEditor()->BoundsRect(), Grid->CellRect(2, 2));
    Key(VK_RETURN);
    EXPECT_THAT(Stored, ::testing::ElementsAre("2,2=[2:2]"));
    // Escape stores nothing, so the edit text never replaces the cell's own.
    Grid->SetCells(2, 2, "2:2");
    Stored.clear();
    Key(VK_F2);
    Type("x");
    Key(VK_ESCAPE);
    EXPECT_FALSE(EditorShown());
    EXPECT_TRUE(Stored.empty());
    EXPECT_EQ(Grid->Cells(2, 2), "2:2");
    Grid->OnGetEditText = nullptr;
    Grid->OnSetEditText = nullptr;
    // A count change leaves the editor open on its cell.
    Key(VK_F2);
    Grid->SetRowCount(20);
    EXPECT_TRUE(EditorShown());
    Key(VK_ESCAPE);

    // Without goEditing nothing opens, and typed keys reach OnKeyPress.
    Grid->SetOptions(Grid->Options() - TGridOptions{goEditing});
    QString Typed;
    Grid->OnKeyPress = [&](TObject*, QChar& K) { Typed += K; };
    Type("ab");
    Key(VK_F2);
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(Typed, "ab");
}

TEST_F(EditTest, AlwaysShowEditorFollowsTheCurrentCell) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goAlwaysShowEditor});
    Grid->ShowEditor();
    ASSERT_TRUE(EditorShown());
    Grid->InplaceEditor()->SetText("new");
    Key(VK_RIGHT); // all selected: Right leaves the editor at the end first
    Key(VK_RIGHT);
    EXPECT_EQ(Cur(), (TGridCoord{3, 2}));
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(Grid->InplaceEditor()->Text(), "3:2");
    EXPECT_EQ(Grid->Cells(2, 2), "new");
    EXPECT_EQ(Grid->InplaceEditor()->BoundsRect(), Grid->CellRect(3, 2));
}

// ---- mouse ------------------------------------------------------------------------------------
TEST_F(GridTest, MouseSelectsAndSpansRanges) {
    std::vector<TMouseButton> Downs;
    Grid->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState, int, int) { Downs.push_back(B); };
    ClickCell(3, 4);
    EXPECT_EQ(Cur(), (TGridCoord{3, 4}));
    TPoint A = Center(1, 2), B = Center(2, 5);
    Press(A.X, A.Y);
    MoveTo(B.X, B.Y);
    Release(B.X, B.Y);
    EXPECT_EQ(Grid->Selection(), GridRect(1, 2, 2, 5));
    ClickCell(4, 6, MK_SHIFT); // Shift extends from the anchor
    EXPECT_EQ(Grid->Selection(), GridRect(1, 2, 4, 6));
    EXPECT_EQ(Downs.size(), 3u);
    TPoint F = Center(2, 0); // a fixed cell is not selected
    Press(F.X, F.Y);
    Release(F.X, F.Y);
    EXPECT_EQ(Cur(), (TGridCoord{4, 6}));
}

TEST_F(GridTest, MouseSizesColumnsAndRowsOnTheirBorder) {
    struct Case {
        const char* Name;
        TGridOptions Opt;
        bool Col;
        int Index;
        int Delta;
        int Expected;
    };
    const Case Cases[] = {
        {"column", {goColSizing}, true, 2, 30, 94},
        {"column narrower", {goColSizing}, true, 1, -20, 44},
        {"no option", {}, true, 2, 30, 64},
        {"row", {goRowSizing}, false, 3, 10, 34},
    };
    TGridOptions Base = Grid->Options();
    for (const Case& K : Cases) {
        Grid->SetDefaultColWidth(64);
        Grid->SetDefaultRowHeight(24);
        Grid->SetOptions(Base + K.Opt);
        int Sizes = 0;
        Grid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Sizes; };
        TRect R = K.Col ? Grid->CellRect(K.Index, 0) : Grid->CellRect(0, K.Index);
        int X = K.Col ? R.Right : 10, Y = K.Col ? 10 : R.Bottom;
        Press(X, Y);
        EXPECT_EQ(Grid->GridState(), K.Opt.Empty() ? gsNormal : (K.Col ? gsColSizing : gsRowSizing)) << K.Name;
        int X2 = K.Col ? X + K.Delta : X, Y2 = K.Col ? Y : Y + K.Delta;
        MoveTo(X2, Y2);
        Release(X2, Y2);
        EXPECT_EQ(Grid->GridState(), gsNormal);
        EXPECT_EQ(K.Col ? Grid->ColWidths(K.Index) : Grid->RowHeights(K.Index), K.Expected) << K.Name;
        EXPECT_EQ(Sizes, K.Opt.Empty() ? 1 : 0) << K.Name << ": a sizing press is no mouse press";
    }
}

TEST_F(GridTest, MouseMovesFixedHeadersWithTheirCells) {
    Fill();
    Grid->SetOptions(Grid->Options() + TGridOptions{goColMoving, goRowMoving});
    std::vector<std::pair<int, int>> Moves;
    Grid->OnColumnMoved = [&](TObject*, int F, int T) { Moves.push_back({F, T}); };
    TPoint From = Center(1, 0), To = Center(3, 0);
    Press(From.X, From.Y);
    EXPECT_EQ(Grid->GridState(), gsColMoving);
    MoveTo(To.X, To.Y);
    Release(To.X, To.Y);
    EXPECT_THAT(Moves, ::testing::ElementsAre(std::make_pair(1, 3)));
    EXPECT_EQ(Grid->Cells(3, 5), "1:5");
    From = Center(0, 6);
    To = Center(0, 2);
    Press(From.X, From.Y);
    MoveTo(To.X, To.Y);
    Release(To.X, To.Y);
    EXPECT_EQ(Grid->Cells(0, 2), "0:6");
    // A plain click on a fixed cell is reported as such.
    std::vector<TGridCoord> Fixed;
    Grid->OnFixedCellClick = [&](TObject*, int C, int R) { Fixed.push_back({C, R}); };
    ClickCell(2, 0);
    ASSERT_EQ(Fixed.size(), 1u);
    EXPECT_EQ(Fixed[0], (TGridCoord{2, 0}));
}

TEST_F(GridTest, WheelAndDoubleClick) {
    Grid->SetRowCount(100);
    TPoint P = Grid->ClientToScreen(Center(2, 2));
    Grid->Perform(WM_MOUSEWHEEL, MakeWParam(0, -120), MakeLParam(P.X, P.Y));
    EXPECT_EQ(Grid->Row(), 2);
    Grid->Perform(WM_MOUSEWHEEL, MakeWParam(0, 120), MakeLParam(P.X, P.Y));
    Grid->Perform(WM_MOUSEWHEEL, MakeWParam(0, 120), MakeLParam(P.X, P.Y));
    EXPECT_EQ(Grid->Row(), 1);
    int Dbl = 0;
    Grid->OnDblClick = [&](TObject*) { ++Dbl; };
    TPoint C = Center(3, 3);
    Press(C.X, C.Y);
    Release(C.X, C.Y);
    Grid->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON | MK_DOUBLE, MakeLParam(C.X, C.Y));
    Release(C.X, C.Y);
    EXPECT_EQ(Dbl, 1);
}

// ---- scrolling --------------------------------------------------------------------------------
TEST_F(GridTest, ScrollMessagesMoveTheView) {
    Grid->SetRowCount(200);
    ASSERT_TRUE(Grid->ScrollBarShowing(SB_VERT));
    EXPECT_FALSE(Grid->ScrollBarShowing(SB_HORZ));
    int Page = Grid->VisibleRowCount();
    struct Case {
        Word Code;
        int Pos;
        int ExpectedTop;
    };
    const Case Cases[] = {
        {SB_LINEDOWN, 0, 2},
        {SB_PAGEDOWN, 0, 2 + Page},
        {SB_LINEUP, 0, 1 + Page},
        {SB_THUMBTRACK, 127, 1 + Page}, // without goThumbTracking the view waits for the release
        {SB_THUMBPOSITION, 127, -1}, // -1: the last page
        {SB_TOP, 0, 1},
    };
    int Max = 200 - Page;
    for (const Case& K : Cases) {
        Grid->Perform(WM_VSCROLL, MakeWParam(K.Code, K.Pos), 0);
        EXPECT_EQ(Grid->TopRow(), K.ExpectedTop < 0 ? Max : K.ExpectedTop) << K.Code;
    }
    Grid->SetTopRow(Max);
    TScrollInfo Info;
    Info.fMask = SIF_POS | SIF_RANGE;
    ASSERT_TRUE(Grid->GetScrollInfo(SB_VERT, Info));
    EXPECT_EQ(Info.nMax, 127);
    EXPECT_EQ(Info.nPos, 127);
    // A proportional thumb set by a descendant is kept as given.
    Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    Info.nMin = 0;
    Info.nMax = 1000;
    Info.nPage = 100;
    Info.nPos = 950;
    EXPECT_EQ(Grid->SetScrollInfo(SB_VERT, Info), 901);
    Grid->SetScrollBars(ssNone);
    EXPECT_FALSE(Grid->ScrollBarShowing(SB_VERT));
}

// ---- painting ---------------------------------------------------------------------------------
TEST_F(GridTest, PaintDrawsOnlyTheVisibleCellsWithTheirState) {
    Grid->SetRowCount(10000);
    Grid->SetTopRow(5000);
    Grid->SetSelection(GridRect(2, 5001, 3, 5002));
    std::map<std::pair<int, int>, TGridDrawState> Drawn;
    Grid->OnDrawCell = [&](TObject*, int C, int R, TRect, TGridDrawState S) { Drawn[{C, R}] = S; };
    QImage Img(Grid->size(), QImage::Format_RGB32);
    Grid->render(&Img);
    int Rows = Grid->VisibleRowCount() + 1; // the fixed row
    EXPECT_GE(int(Drawn.size()), 5 * Rows);
    EXPECT_LE(int(Drawn.size()), 5 * (Rows + 1)); // one partly visible row at most
    for (auto& [Cell, State] : Drawn) {
        bool Fixed = Cell.first == 0 || Cell.second == 0;
        EXPECT_TRUE(Cell.second == 0 || Cell.second >= 5000);
        EXPECT_EQ(State.Contains(gdFixed), Fixed);
        bool InSel = Cell.first >= 2 && Cell.first <= 3 && Cell.second >= 5001 && Cell.second <= 5002;
        if (!Fixed && !(Cell.first == 3 && Cell.second == 5002)) {
            EXPECT_EQ(State.Contains(gdSelected), InSel);
        }
    }
}

TEST_F(GridTest, GridLinesFollowTheLineWidth) {
    Grid->SetFixedCols(0);
    Grid->SetFixedRows(0);
    auto LinePixel = [&]() {
        QImage Img(Grid->size(), QImage::Format_RGB32);
        Grid->render(&Img);
        TRect R = Grid->CellRect(1, 1);
        return FromQColor(Img.pixelColor(R.Right, (R.Top + R.Bottom) / 2));
    };
    EXPECT_EQ(LinePixel(), clSilver);
    Grid->SetGridLineWidth(0);
    EXPECT_EQ(Grid->CellRect(1, 1).Left, 64);
    EXPECT_NE(LinePixel(), clSilver);
}

TEST_F(GridTest, SmallFilledGridPicture) {
    Fill();
    Grid->SetColWidths(0, 40);
    Grid->MoveCurrentCell(2, 3, true);
    Key(VK_DOWN, {ssShift});
    QImage Img(Grid->size(), QImage::Format_RGB32);
    Grid->render(&Img);
    QString Dir = QDir::currentPath();
    EXPECT_TRUE(Img.save(Dir + "/grid_small.png"));
}

// ---- what descendants build on ------------------------------------------------------------------
// A descendant watching the hooks the system's grids override.
class TProbeGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    struct TSizeSeen {
        int OldRows;
        int Rows;
        bool VertBar;
        int Top;
    };
    std::vector<TSizeSeen> Sizes;
    int Invalidates = 0;
    int TopLefts = 0;
    std::vector<QString> Typed; // editor texts announced to the grid while an edit runs
    void Invalidate() override {
        ++Invalidates;
        TStringGrid::Invalidate();
    }
    void WndProc(TMessage& M) override {
        if (M.Msg == WM_COMMAND && HiWord(M.WParam) == EN_CHANGE && EditorMode() && M.LParam == LPARAM(InplaceEditor()))
            Typed.push_back(InplaceEditor()->Text());
        TStringGrid::WndProc(M);
    }

protected:
    void SizeChanged(int OldColCount, int OldRowCount) override {
        Sizes.push_back({OldRowCount, RowCount(), ScrollBarShowing(SB_VERT), TopRow()});
        TStringGrid::SizeChanged(OldColCount, OldRowCount);
    }
    void TopLeftChanged() override {
        ++TopLefts;
        TStringGrid::TopLeftChanged();
    }
};

class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 500, 350);
        G = Create<TProbeGrid>(Form, Form);
        G->SetBounds(0, 0, 400, 250);
        Form->Show();
        QApplication::processEvents();
        G->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        delete Form;
        QApplication::processEvents();
    }
    TForm* Form = nullptr;
    TProbeGrid* G = nullptr;
};

TEST_F(ProbeTest, SizeChangedSeesTheViewAndBarsOfTheNewCounts) {
    // The notification follows a count change: a descendant that copies the bars' state from it
    // must find them already following the new counts.
    G->SetRowCount(200);
    G->SetTopRow(150);
    G->SetRowCount(8);
    ASSERT_EQ(G->Sizes.size(), 2u);
    EXPECT_EQ(G->Sizes[0].OldRows, 5);
    EXPECT_EQ(G->Sizes[0].Rows, 200);
    EXPECT_TRUE(G->Sizes[0].VertBar);
    EXPECT_EQ(G->Sizes[1].OldRows, 200);
    EXPECT_FALSE(G->Sizes[1].VertBar);
    EXPECT_EQ(G->Sizes[1].Top, 1); // the view came back to the rows that remain
}

TEST_F(ProbeTest, WholeGridRepaintsGoThroughInvalidate) {
    // The string grid skips the repaint that its own switch of goEditing asks for: the option
    // setter must reach the overridable Invalidate.
    G->Invalidates = 0;
    G->SetOptions(G->Options() + TGridOptions{goEditing});
    EXPECT_EQ(G->Invalidates, 1);
    G->Invalidates = 0;
    G->SetRowCount(30);
    EXPECT_GE(G->Invalidates, 1);
}

TEST_F(ProbeTest, FixedCountChangesReportTheNewTopLeft) {
    G->SetRowCount(30);
    G->SetColCount(12);
    struct Case {
        const char* Name;
        bool Rows;
        int Value;
        int Reports;
    };
    const Case Cases[] = {
        {"more fixed rows", true, 3, 1},
        {"same fixed rows", true, 3, 0},
        {"more fixed columns", false, 2, 1},
        {"fewer fixed columns", false, 0, 1},
    };
    for (const Case& K : Cases) {
        G->TopLefts = 0;
        if (K.Rows)
            G->SetFixedRows(K.Value);
        else
            G->SetFixedCols(K.Value);
        EXPECT_EQ(G->TopLefts, K.Reports) << K.Name;
        EXPECT_EQ(K.Rows ? G->TopRow() : G->LeftCol(), K.Value) << K.Name;
    }
}

TEST_F(ProbeTest, TypingAnnouncesTheEditorTextToTheGrid) {
    // The string grid writes the editor's text into the cell while typing when asked to: the
    // editor's change notices must reach the grid's window procedure, naming the editor.
    G->SetOptions(G->Options() + TGridOptions{goEditing});
    G->SetCells(2, 2, "ab");
    G->MoveCurrentCell(2, 2, true);
    G->SimulateKey(VK_F2);
    ASSERT_TRUE(G->EditorMode());
    G->InplaceEditor()->Deselect();
    G->Typed.clear();
    G->InplaceEditor()->SimulateKey(0, {}, QChar('x'));
    G->InplaceEditor()->SimulateKey(0, {}, QChar('y'));
    EXPECT_THAT(G->Typed, ::testing::ElementsAre("abx", "abxy"));
}

TEST_F(GridTest, BarsShownByADescendantStayUntilTheExtentChanges) {
    Grid->SetRowCount(200);
    ASSERT_FALSE(Grid->ScrollBarShowing(SB_HORZ)); // the five columns fit
    EXPECT_TRUE(Grid->ScrollBarEnabled(SB_VERT));
    // Kept shown and disabled while everything fits, as an always-visible bar is.
    Grid->ShowScrollBar(SB_HORZ, true);
    Grid->EnableScrollBar(SB_HORZ, false);
    const std::function<void()> Scrolls[] = {
        [&] { Grid->SetTopRow(50); },
        [&] { Grid->Perform(WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0), 0); },
        [&] { Grid->SimulateKey(VK_DOWN, {ssCtrl}); },
    };
    for (const auto& Scroll : Scrolls) {
        Scroll();
        EXPECT_TRUE(Grid->ScrollBarShowing(SB_HORZ));
        EXPECT_FALSE(Grid->ScrollBarEnabled(SB_HORZ));
    }
    EXPECT_GT(Grid->TopRow(), 50);
    // A width change is an extent change: the grid decides again.
    Grid->SetColWidths(2, 70);
    EXPECT_FALSE(Grid->ScrollBarShowing(SB_HORZ));
    EXPECT_TRUE(Grid->ScrollBarEnabled(SB_HORZ));
}

TEST(GridDescendantTest, EditLimitNeverCutsALongerCellText) {
    // A limit lower than a stored text must not shorten it: opening and closing the editor
    // would store the cut text.
    auto Form = std::unique_ptr<TForm>(Create<TForm>(nullptr));
    Form->SetBounds(0, 0, 500, 350);
    auto* G = Create<TTestGrid>(Form.get(), Form.get());
    G->SetBounds(0, 0, 400, 250);
    Form->Show();
    QApplication::processEvents();
    G->SetOptions(G->Options() + TGridOptions{goEditing});
    G->MoveCurrentCell(2, 2, true);
    G->Limit = 4;
    struct Case {
        const char* Name;
        const char* Stored;
        Word Select;
        const char* Typed;
        const char* Expected;
    };
    // Select: 0 the caret at the end, VK_HOME the caret at the start and the first two chosen.
    const Case Cases[] = {
        {"kept whole", "abcdefgh", 0, "", "abcdefgh"},
        {"nothing added", "abcdefgh", 0, "xy", "abcdefgh"},
        {"a replaced part", "abcdefgh", VK_HOME, "x", "xcdefgh"},
        {"short text limited", "ab", 0, "cdef", "abcd"},
    };
    for (const Case& K : Cases) {
        G->SetCells(2, 2, K.Stored);
        G->SimulateKey(VK_F2);
        ASSERT_TRUE(G->EditorMode()) << K.Name;
        TInplaceEdit* E = G->InplaceEditor();
        EXPECT_EQ(E->Text(), K.Stored) << K.Name;
        if (K.Select) {
            E->SetSelStart(0);
            E->SetSelLength(2);
        } else {
            E->Deselect();
        }
        for (const char* P = K.Typed; *P; ++P) E->SimulateKey(0, {}, QChar(*P));
        E->SimulateKey(VK_RETURN);
        EXPECT_FALSE(G->EditorMode()) << K.Name;
        EXPECT_EQ(G->Cells(2, 2), K.Expected) << K.Name;
    }
}

} // namespace
