// The grid's multi-column drop-down editor opened from a cell: its value in and out, Enter
// committing (through the open list too), a value the validation refuses staying out of the cell,
// Escape giving the cell its text back, Tab moving on and the typed keys reaching the grid.
#include "DropDownListCases.h"
#include "EditorsFixture.h"
#include "grid/control/ExtGrid.h"
#include "grid/control/GridDropDownWrapper_MultiColumn.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A grid on the host: four columns with real column 2 hidden (display column 2 edits real
// column 3), five rows, the multi-column editor on real column 3.
class GridDropDownWrapperTest : public EditorsTest {
public:
    TGridGridDropDown* D() const { return G->GridDropDown(); }
    // A key where the keyboard sends it: the open list, else the editor.
    void Key(Word K, TShiftState Shift = {}, QChar Ch = QChar()) {
        if (D()->DroppedDown())
            D()->ExtColGrid()->SimulateKey(K, Shift, Ch);
        else
            D()->SimulateKey(K, Shift, Ch);
    }
    // Typing over the whole text of the editor.
    void TypeOver(const QString& S) {
        D()->SelectAll();
        Type(D(), S);
    }

protected:
    void SetUp() override {
        EditorsTest::SetUp();
        Host->SetBounds(40, 40, 460, 300);
        G = Create<TExtStringGrid>(Host.get(), Host.get());
        G->SetBounds(0, 0, 440, 200);
        G->SetColCount(5);
        G->SetRowCount(5);
        G->SetDefaultColWidth(80);
        for (int C = 0; C < 5; ++C)
            for (int R = 0; R < 5; ++R) G->SetGridCell(C, R, QStringLiteral("%1,%2").arg(C).arg(R));
        G->HideColumn(2);
        G->SetOptions(G->Options() << goEditing);
        G->SetGridCell(3, 2, "Banana");
        G->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
            if (ACol == 3) E = edGridDropDown;
        };
        TGridGridDropDown* D = G->GridDropDown();
        D->Columns()->Add()->SetHeader("Fruit");
        D->Columns()->Add()->SetHeader("Colour");
        for (const char* N : {"Apple", "Banana", "Cherry"}) D->Items()->Add()->Text() << N << "colour";
        D->EndUpdate();
        ShowHost();
        G->SetFocus();
        QApplication::processEvents();
        G->MoveCurrentCell(2, 2, true);
        ASSERT_EQ(G->RealColIndex(2), 3);
    }
    void TearDown() override {
        if (G && G->GridDropDown()->DroppedDown()) G->GridDropDown()->HideDropDown(true);
        EditorsTest::TearDown();
    }
    void Open() {
        G->SimulateKey(VK_F2);
        QApplication::processEvents();
        ASSERT_TRUE(D()->isVisible());
        ASSERT_EQ(G->EditCtrl(), static_cast<TWinControl*>(D()));
    }
    void RefuseBad() {
        G->OnCellValidate = [this](TObject*, int ACol, int ARow, QString& Value, bool& Valid) {
            Validated.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + Value.toStdString());
            if (Value.startsWith("C")) {
                Valid = false;
                Value = "fix me";
            }
        };
    }
    QString Cell(int RealCol, int Row) const { return G->GetGridCell(RealCol, Row); }
    void HiddenColumnUntouched() {
        for (int R = 0; R < 5; ++R) EXPECT_EQ(Cell(2, R), QStringLiteral("2,%1").arg(R)) << "row " << R;
    }

    TExtStringGrid* G = nullptr;
    std::vector<std::string> Validated;
};

TEST_F(GridDropDownWrapperTest, OpensOnTheCellsItem) {
    Open();
    EXPECT_EQ(D()->Text(), "Banana");
    EXPECT_EQ(D()->ItemIndex(), 1);
    EXPECT_FALSE(D()->DroppedDown());
    G->SetGridCell(3, 3, "not an item");
    Key(VK_ESCAPE);
    G->MoveCurrentCell(2, 3, true);
    Open();
    EXPECT_EQ(D()->Text(), "not an item");
    EXPECT_EQ(D()->ItemIndex(), -1);
}

struct CommitCase {
    const char* Name;
    std::function<void(GridDropDownWrapperTest&)> Act;
    const char* Stored; // real (3, 2) afterwards
    bool StillOpen;
    int RowAfter;
};
void PrintTo(const CommitCase& C, std::ostream* Os) { *Os << C.Name; }

class WrapperCommit : public GridDropDownWrapperTest, public ::testing::WithParamInterface<CommitCase> {};

TEST_P(WrapperCommit, TheEditorWritesOnlyAnAcceptedValueIntoItsCell) {
    const CommitCase& C = GetParam();
    RefuseBad();
    Open();
    C.Act(*this);
    QApplication::processEvents();
    EXPECT_EQ(Cell(3, 2), C.Stored);
    EXPECT_EQ(D()->isVisible(), C.StillOpen);
    EXPECT_EQ(G->Row(), C.RowAfter);
    HiddenColumnUntouched();
}

INSTANTIATE_TEST_SUITE_P(Keys, WrapperCommit,
                         ::testing::Values(CommitCase{"typing_completes_and_enter_commits",
                                                      [](GridDropDownWrapperTest& T) {
                                                          T.TypeOver("a");
                                                          EXPECT_EQ(T.D()->Text(), "Apple");
                                                          T.Key(VK_RETURN);
                                                      },
                                                      "Apple", false, 2},
                                           CommitCase{"down_commits_and_moves_down",
                                                      [](GridDropDownWrapperTest& T) {
                                                          T.TypeOver("ap");
                                                          T.Key(VK_DOWN);
                                                      },
                                                      "Apple", false, 3},
                                           CommitCase{"a_pick_in_the_open_list_commits",
                                                      [](GridDropDownWrapperTest& T) {
                                                          T.Key(VK_DOWN, TShiftState{ssAlt}); // opens the list
                                                          ASSERT_TRUE(T.D()->DroppedDown());
                                                          T.Key(VK_UP);
                                                          EXPECT_EQ(T.D()->Text(), "Apple");
                                                          T.Key(VK_RETURN);
                                                          EXPECT_FALSE(T.D()->DroppedDown());
                                                      },
                                                      "Apple", false, 2},
                                           CommitCase{"escape_restores_the_cells_text",
                                                      [](GridDropDownWrapperTest& T) {
                                                          T.TypeOver("ap");
                                                          T.Key(VK_ESCAPE);
                                                          EXPECT_EQ(T.D()->Text(), "Banana");
                                                      },
                                                      "Banana", false, 2},
                                           CommitCase{"escape_in_the_open_list_restores_the_cells_text",
                                                      [](GridDropDownWrapperTest& T) {
                                                          T.Key(VK_DOWN, TShiftState{ssAlt});
                                                          ASSERT_TRUE(T.D()->DroppedDown());
                                                          T.Key(VK_DOWN);
                                                          T.Key(VK_ESCAPE);
                                                          EXPECT_FALSE(T.D()->DroppedDown());
                                                      },
                                                      "Banana", false, 2},
                                           CommitCase{"a_refused_value_stays_out_and_the_editor_stays",
                                                      [](GridDropDownWrapperTest& T) {
                                                          T.TypeOver("ch");
                                                          T.Key(VK_RETURN);
                                                          EXPECT_EQ(T.D()->Text(), "fix me");
                                                          EXPECT_EQ(T.D()->SelText(), "fix me");
                                                      },
                                                      "Banana", true, 2}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(GridDropDownWrapperTest, TheValidationSeesTheEditorsCellAndValue) {
    RefuseBad();
    Open();
    D()->SelectAll();
    Type(D(), "ch");
    Key(VK_RETURN);
    ASSERT_FALSE(Validated.empty());
    EXPECT_EQ(Validated.front(), "3,2 Cherry");
}

TEST_F(GridDropDownWrapperTest, TabWithTabNavigationMovesToTheNextCell) {
    G->SetOptions(G->Options() << goTabs);
    Open();
    D()->SelectAll();
    Type(D(), "ch");
    Key(VK_TAB);
    QApplication::processEvents();
    EXPECT_EQ(Cell(3, 2), "Cherry");
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 2);
}

// Tab out of the editor: where the grid goes on to, what the cell keeps, whether the editor stays.
struct TabCase {
    const char* Name;
    bool Tabs; // goTabs
    bool Validate; // OnCellValidate assigned (refusing texts starting with C)
    bool Shift;
    const char* Typed;
    const char* Stored;
    bool EditorStays;
    int ColAfter;
    bool GridHearsTab; // a Tab key-down must reach the grid itself
};
void PrintTo(const TabCase& C, std::ostream* Os) { *Os << C.Name; }

class WrapperTab : public GridDropDownWrapperTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(WrapperTab, TabCommitsAndMovesOrStaysOnARefusal) {
    const TabCase& C = GetParam();
    if (C.Tabs) G->SetOptions(G->Options() << goTabs);
    if (C.Validate) RefuseBad();
    bool HeardTab = false;
    G->OnKeyDown = [&](TObject*, Word& K, TShiftState) { HeardTab = HeardTab || K == VK_TAB; };
    Open();
    TypeOver(C.Typed);
    Key(VK_TAB, C.Shift ? TShiftState{ssShift} : TShiftState{});
    QApplication::processEvents(); // a posted Tab reaches the grid
    EXPECT_EQ(Cell(3, 2), C.Stored);
    EXPECT_EQ(D()->isVisible(), C.EditorStays);
    EXPECT_EQ(G->Col(), C.ColAfter);
    EXPECT_EQ(G->Row(), 2);
    if (C.GridHearsTab) EXPECT_TRUE(HeardTab);
    if (C.EditorStays) {
        EXPECT_FALSE(HeardTab); // a refused Tab is used up
        // The replacement text with the caret at its end, nothing selected.
        EXPECT_EQ(D()->Text(), "fix me");
        EXPECT_EQ(D()->SelLength(), 0);
        EXPECT_EQ(D()->SelStart(), D()->PrefixLength() + 6);
    }
    HiddenColumnUntouched();
}

INSTANTIATE_TEST_SUITE_P(Keys, WrapperTab,
                         ::testing::Values(TabCase{"shift_tab_moves_to_the_previous_cell", true, false, true, "ap",
                                                   "Apple", false, 1, false},
                                           TabCase{"a_refused_tab_keeps_the_editor_with_the_caret_at_the_end", true,
                                                   true, false, "ch", "Banana", true, 2, false},
                                           TabCase{"without_tab_navigation_a_validated_grid_gets_the_tab", false, true,
                                                   false, "ap", "Apple", false, 2, true}),
                         CaseName());

// The grid's events, in the order a completion and a commit raise them.
TEST_F(GridDropDownWrapperTest, TypingAndCommittingRaiseTheGridsEventsInOrder) {
    std::vector<std::string> Log;
    G->OnKeyPress = [&](TObject*, QChar& K) { Log.push_back("key " + QString(K).toStdString()); };
    G->OnEditChange = [&](TObject*, int, int, const QString& V) { Log.push_back("change " + V.toStdString()); };
    G->OnCellValidate = [&](TObject*, int, int, QString& V, bool&) {
        Log.push_back("validate " + V.toStdString() + " cell " + Cell(3, 2).toStdString());
    };
    Open();
    D()->SelectAll();
    Log.clear();
    Type(D(), "c");
    Key(VK_RETURN);
    // A text reported twice in a row counts once: the completion's own write reports the text too.
    Log.erase(std::unique(Log.begin(), Log.end()), Log.end());
    EXPECT_EQ(
        Log,
        (std::vector<std::string>{"key c", "change cherry", "change Cherry", "validate Cherry cell Banana", "key \r"}));
    EXPECT_EQ(Cell(3, 2), "Cherry");
}

TEST_F(GridDropDownWrapperTest, TypedKeysReachTheGridsKeyPressWithTheEditorAsSender) {
    std::vector<std::string> Seen;
    G->OnKeyPress = [&](TObject* Sender, QChar& Key) {
        Seen.push_back((Sender == D() ? "editor " : "other ") + QString(Key).toStdString());
    };
    std::vector<std::string> Changes;
    G->OnEditChange = [&](TObject*, int ACol, int ARow, const QString& V) {
        Changes.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + V.toStdString());
    };
    Open();
    Seen.clear();
    D()->SelectAll();
    Type(D(), "c");
    EXPECT_EQ(Seen, std::vector<std::string>{"editor c"});
    EXPECT_FALSE(Changes.empty());
    EXPECT_EQ(Changes.back(), "3,2 Cherry");
    Key(VK_RETURN); // the grid hears of it; the value gets no character of it
    EXPECT_EQ(Seen.back(), "editor \r");
    EXPECT_EQ(Cell(3, 2), "Cherry");
}

TEST_F(GridDropDownWrapperTest, LeavingTheEditorWritesItsValue) {
    Open();
    D()->SelectAll();
    Type(D(), "ap");
    Host->Other->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(Cell(3, 2), "Apple");
    EXPECT_FALSE(D()->isVisible());
}

TEST_F(GridDropDownWrapperTest, OnlyAGridCanOwnTheEditor) {
    EXPECT_THROW(Create<TGridGridDropDown>(Host.get(), Host.get()), EInvalidCast);
    EXPECT_EQ(G->GridDropDown(), G->GridDropDown()); // made once
    EXPECT_EQ(G->DropDownEditor(edGridDropDown), static_cast<TGridDropDownLink*>(G->GridDropDown()));
}

} // namespace
