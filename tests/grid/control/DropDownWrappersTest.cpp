// The grid's drop-down editors, each opened over a cell as a user opens it: the value it
// commits (validated before it reaches the cell), what a refusal leaves, Escape, Tab, the
// typing events and the pickers' selection hooks.
#include "EditFixture.h"
#include "grid/control/GridDropDownWrappers.h"

#include <QApplication>

#include <functional>
#include <ostream>
#include <string>

namespace {

// A drop-down kind with what a test types into it and what the cell gets.
struct WrapperCase {
    std::string Name;
    TEditorType Kind;
    QString Typed; // typed over the opening text (all selected first)
    QString Stored; // what the cell holds after Enter
    QString Replaced; // the validation's replacement "9" as the editor shows it
};
void PrintTo(const WrapperCase& C, std::ostream* Os) { *Os << C.Name; }
std::string CaseName(const ::testing::TestParamInfo<WrapperCase>& I) { return I.param.Name; }

const WrapperCase Cases[] = {
    {"TrackBar", edTrackbarDropDown, "7", "7", "9"},
    {"Memo", edMemoDropDown, "abc", "abc", "9"},
    {"Calculator", edCalculatorDropDown, "12", "12.00", "9.00"},
    {"DetailPicker", edDetailDropDown, "xy", "xy", "9"},
};

class DropDownWrappers : public EditGrid, public ::testing::WithParamInterface<WrapperCase> {
protected:
    void SetUp() override {
        EditGrid::SetUp();
        G->SetGridCell(3, 3, "5");
    }
    // Opens the kind's editor on display cell (2, 3) (real column 3) with F2.
    void Open(TEditorType Kind) {
        G->OnGetEditorType = [Kind](TObject*, int ACol, int, TEditorType& E) {
            if (ACol == 3) E = Kind;
        };
        G->MoveCurrentCell(2, 3, true);
        G->SetFocus();
        QApplication::processEvents();
        G->SimulateKey(VK_F2);
        QApplication::processEvents();
        ASSERT_TRUE(G->EditorControlOpen());
        ASSERT_EQ(G->EditorControlKind(), Kind);
    }
    TExtCustomDropDown* DropDown() const { return dynamic_cast<TExtCustomDropDown*>(G->EditorControl()); }
    void TypeAll(const QString& S) {
        DropDown()->SelectAll();
        for (QChar C : S) DropDown()->SimulateKey(0, {}, C);
    }
    void Press(Word K, TShiftState Shift = {}) { DropDown()->SimulateKey(K, Shift); }
};

TEST_P(DropDownWrappers, EnterWritesTheTypedValueAndMovesOn) {
    const WrapperCase& C = GetParam();
    Open(C.Kind);
    TypeAll(C.Typed);
    EXPECT_EQ(CellAt(3, 3), "5") << "typing alone writes nothing";
    Press(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), C.Stored);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_FALSE(DropDown());
    EXPECT_EQ(CellAt(HiddenRealCol, 3), "2,3");
}

TEST_P(DropDownWrappers, EscapeLeavesTheCellWithItsOpeningText) {
    const WrapperCase& C = GetParam();
    Open(C.Kind);
    TypeAll(C.Typed);
    Press(VK_ESCAPE);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 3), "5");
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(G->Col(), 2);
}

TEST_P(DropDownWrappers, RefusedValueKeepsTheEditorOpenWithTheReplacementSelected) {
    const WrapperCase& C = GetParam();
    int Asked = 0;
    G->OnCellValidate = [&](TObject*, int, int, QString& Value, bool& Valid) {
        ++Asked;
        Value = "9";
        Valid = false;
    };
    Open(C.Kind);
    TypeAll(C.Typed);
    Press(VK_RETURN);
    EXPECT_GE(Asked, 1);
    ASSERT_TRUE(G->EditorControlOpen()) << "a refused value keeps the editor open";
    EXPECT_EQ(CellAt(3, 3), "5") << "a refused value never reaches the cell";
    EXPECT_EQ(DropDown()->Text(), C.Replaced);
    EXPECT_EQ(DropDown()->SelLength(), DropDown()->Text().size());
    EXPECT_EQ(G->Row(), 3) << "no advance";
}

TEST_P(DropDownWrappers, KeyPressSeesTheEditorAndTheControlKeysAreNoCharacters) {
    const WrapperCase& C = GetParam();
    std::vector<std::pair<TObject*, ushort>> Seen;
    G->OnKeyPress = [&](TObject* Sender, QChar& K) { Seen.emplace_back(Sender, K.unicode()); };
    Open(C.Kind);
    TypeAll(C.Typed.left(1));
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back().first, static_cast<TObject*>(DropDown()));
    const QString Before = DropDown()->Text();
    DropDown()->Perform(WM_CHAR, 27);
    DropDown()->Perform(WM_CHAR, 9);
    DropDown()->Perform(WM_CHAR, 13);
    EXPECT_EQ(DropDown()->Text(), Before);
}

TEST_P(DropDownWrappers, UpCommitsAndMovesUp) {
    const WrapperCase& C = GetParam();
    Open(C.Kind);
    TypeAll(C.Typed);
    Press(VK_UP);
    EXPECT_EQ(CellAt(3, 3), C.Stored);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(G->Row(), 2);
}

INSTANTIATE_TEST_SUITE_P(Wrapper, DropDownWrappers, ::testing::ValuesIn(Cases), CaseName);

} // namespace
