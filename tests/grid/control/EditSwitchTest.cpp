// The grid's editing switch on a grid with a hidden column: the editor kind a cell opens through
// OnGetEditorType, special editors from the kind table (a recording editor stands in for one),
// how a special edit ends, the cell it writes to, validation before a move, "GridEditDone",
// goEditing following the current cell, the custom editor link and fixed cells.
#include "tests/grid/control/EditFixture.h"

namespace {

// A special editor that records what the grid asks of it.
class TRecordingEditor : public TGridCellEditor {
public:
    explicit TRecordingEditor(TExtStringGrid* Grid, std::vector<std::string>* Log) : FLog(Log) {
        FEdit = Create<TEdit>(Grid, Grid);
        FEdit->Hide();
    }
    TWinControl* Control() override { return FEdit; }
    void Open(TEditorType Kind, const TRect& R, TColor Color, const QString& Text) override {
        (void)Color;
        OpenedWith = Text;
        OpenedAt = R;
        OpenedKind = Kind;
        FLog->push_back("Open " + Text.toStdString());
        FEdit->SetBounds(R.Left, R.Top, R.Right - R.Left - 1, R.Bottom - R.Top - 1);
        FEdit->SetText(Text);
        FEdit->SetEnabled(true);
        FEdit->Show();
        FEdit->SetFocus();
    }
    QString Text() override { return FEdit->Text(); }
    void SetText(const QString& Value) override { FEdit->SetText(Value); }
    void Close() override {
        FLog->push_back("Close");
        FEdit->Hide();
        FEdit->SetEnabled(false);
    }
    TEdit* FEdit;
    QString OpenedWith;
    TRect OpenedAt;
    TEditorType OpenedKind = edNormal;

private:
    std::vector<std::string>* FLog;
};

class EditSwitch : public EditGrid {
protected:
    void SetUp() override {
        Saved = GridCellEditorFactory(edComboEdit);
        RegisterGridCellEditor({edComboEdit, edComboList}, [this](TExtStringGrid* Grid) {
            auto E = std::make_unique<TRecordingEditor>(Grid, &Calls);
            Fake = E.get();
            return std::unique_ptr<TGridCellEditor>(std::move(E));
        });
        EditGrid::SetUp();
    }
    void TearDown() override {
        EditGrid::TearDown();
        RegisterGridCellEditor({edComboEdit, edComboList}, Saved);
    }
    // Real column 3 (display column 2) opens the recording editor.
    void ComboInColumn3() {
        G->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
            if (ACol == 3) E = edComboEdit;
        };
    }
    bool SpecialOpen() const { return Fake && Fake->FEdit->isVisible() && G->EditMode(); }

    TGridCellEditorFactory Saved;
    TRecordingEditor* Fake = nullptr;
    std::vector<std::string> Calls;
};

// ---- ending a special edit -----------------------------------------------------------------------------------
enum class Act { Enter, Tab, Down, Escape, HideInplace, HideCellEdit };

struct SpecialCase {
    const char* Name;
    Act How;
    bool Refuse;
    QString Expected; // in real column 3, row 3
    bool StaysOpen;
};

class SpecialEnd : public EditSwitch, public ::testing::WithParamInterface<SpecialCase> {};

TEST_P(SpecialEnd, WritesTheValidatedValueIntoItsCell) {
    const SpecialCase& C = GetParam();
    ComboInColumn3();
    int Validated = 0;
    G->OnCellValidate = [&](TObject*, int ACol, int ARow, QString&, bool& Valid) {
        ++Validated;
        EXPECT_EQ(ACol, 3);
        EXPECT_EQ(ARow, 3);
        Valid = !C.Refuse;
    };
    Key(VK_F2);
    ASSERT_TRUE(SpecialOpen());
    EXPECT_FALSE(TextEditorOpen()) << "the text editor stays closed under a special editor";
    EXPECT_EQ(Fake->OpenedWith, "3,3");
    EXPECT_EQ(Fake->OpenedKind, edComboEdit);
    EXPECT_EQ(Fake->OpenedAt, G->CellRect(2, 3));
    EXPECT_EQ(G->EditCtrl(), Fake->FEdit);
    Fake->SetText("new");
    switch (C.How) {
        case Act::Enter: G->DoneInplaceEdit(VK_RETURN, {}); break;
        case Act::Tab: G->DoneInplaceEdit(VK_TAB, {}); break;
        case Act::Down: G->DoneInplaceEdit(VK_DOWN, {}); break;
        case Act::Escape: G->CancelInplaceEdit(); break;
        case Act::HideInplace: G->HideInplaceEdit(); break;
        case Act::HideCellEdit: G->HideCellEdit(); break;
    }
    EXPECT_EQ(CellAt(3, 3), C.Expected);
    EXPECT_EQ(CellAt(HiddenRealCol, 3), "2,3");
    EXPECT_EQ(SpecialOpen(), C.StaysOpen);
    if (C.How != Act::Escape) {
        EXPECT_EQ(Validated, 1);
    }
    if (C.StaysOpen) {
        EXPECT_TRUE(G->NoAutoAdvance());
        EXPECT_EQ(G->Row(), 3);
        EXPECT_EQ(Fake->Text(), "new") << "the editor keeps the refused value";
    }
}

INSTANTIATE_TEST_SUITE_P(Endings, SpecialEnd,
                         ::testing::Values(SpecialCase{"enter", Act::Enter, false, "new", false},
                                           SpecialCase{"tab", Act::Tab, false, "new", false},
                                           SpecialCase{"down", Act::Down, false, "new", false},
                                           SpecialCase{"escape", Act::Escape, false, "3,3", false},
                                           SpecialCase{"focus_loss", Act::HideInplace, false, "new", false},
                                           SpecialCase{"hide_cell_edit", Act::HideCellEdit, false, "new", false},
                                           SpecialCase{"refused_enter", Act::Enter, true, "3,3", true},
                                           SpecialCase{"refused_tab", Act::Tab, true, "3,3", true},
                                           SpecialCase{"refused_focus_loss", Act::HideInplace, true, "3,3", false},
                                           SpecialCase{"refused_hide_cell_edit", Act::HideCellEdit, true, "3,3",
                                                       false}),
                         [](const ::testing::TestParamInfo<SpecialCase>& I) { return std::string(I.param.Name); });

TEST_F(EditSwitch, DownMovesOnAfterTheCommit) {
    ComboInColumn3();
    Key(VK_F2);
    Fake->SetText("new");
    G->DoneInplaceEdit(VK_DOWN, {});
    EXPECT_EQ(G->Row(), 4);
    EXPECT_EQ(G->Col(), 2);
}

TEST_F(EditSwitch, ATypedKeyOpensTheSpecialEditorAndReachesIt) {
    ComboInColumn3();
    G->Perform(WM_CHAR, '7', 0);
    ASSERT_TRUE(SpecialOpen());
    EXPECT_EQ(Fake->Text(), "3,3") << "the start key is posted, not typed at once";
    Application->ProcessMessages();
    EXPECT_TRUE(Fake->Text().endsWith("7"));
}

TEST_F(EditSwitch, ASpecialEditorWritesToTheCellItWasOpenedFor) {
    ComboInColumn3();
    Key(VK_F2);
    Fake->SetText("new");
    G->SetSelection(GridRect(4, 5, 4, 5));
    G->HideCellEdit();
    EXPECT_EQ(CellAt(3, 3), "new");
    EXPECT_EQ(CellAt(5, 5), "5,5");
}

TEST_F(EditSwitch, LeavingTheCellValidatesTheSpecialEditorsValueFirst) {
    ComboInColumn3();
    G->OnCellValidate = [](TObject*, int, int, QString& Value, bool& Valid) { Valid = Value != "bad"; };
    std::vector<int> Changing;
    G->OnRowChanging = [&](TObject*, int, int NewRow, bool&) { Changing.push_back(NewRow); };
    Key(VK_F2);
    Fake->SetText("bad");
    G->SetRow(5);
    EXPECT_EQ(G->Row(), 3) << "a refused value keeps the focus in its cell";
    EXPECT_TRUE(SpecialOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3");
    EXPECT_TRUE(Changing.empty());
    Fake->SetText("good");
    G->SetRow(5);
    EXPECT_EQ(G->Row(), 5);
    EXPECT_EQ(CellAt(3, 3), "good");
    EXPECT_EQ(Changing, std::vector<int>{5});
}

TEST_F(EditSwitch, EditingDoneAtOnceAndGridEditDoneFromTheMessageLoop) {
    ComboInColumn3();
    EditLog Log;
    Log.Watch(G);
    G->OnGetEditorType = [&](TObject*, int ACol, int ARow, TEditorType& E) {
        Log.Add("GetEditorType " + std::to_string(ACol) + "," + std::to_string(ARow));
        if (ACol == 3) E = edComboEdit;
    };
    Key(VK_F2);
    Fake->SetText("v");
    G->DoneInplaceEdit(VK_RETURN, {});
    const std::vector<std::string> Before{"GetEditorType 3,3", "GetEditorProp 3,3", "EditingDone"};
    EXPECT_EQ(Log.Lines, Before);
    Application->ProcessMessages();
    std::vector<std::string> After = Before;
    After.push_back("EditCellDone 3,3");
    EXPECT_EQ(Log.Lines, After);
}

TEST_F(EditSwitch, EditOnDblClickOnlySwitchesEditingOffAfterAnEdit) {
    ComboInColumn3();
    Key(VK_F2);
    G->MouseActions()->SetEditOnDblClickOnly(true);
    G->DoneInplaceEdit(VK_RETURN, {});
    Application->ProcessMessages();
    EXPECT_FALSE(G->Options().Contains(goEditing));
}

TEST_F(EditSwitch, NoneOpensNothing) {
    G->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
        if (ACol == 3) E = edNone;
    };
    Key(VK_F2);
    EXPECT_FALSE(TextEditorOpen());
    EXPECT_FALSE(G->EditMode());
    G->Perform(WM_CHAR, 'x', 0);
    EXPECT_FALSE(TextEditorOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3");
    // With DirectEdit such a cell does not even switch editing on.
    G->SetOptions(G->Options() >> goEditing);
    G->MouseActions()->SetDirectEdit(true);
    G->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = true; };
    G->SetCol(3);
    EXPECT_TRUE(G->Options().Contains(goEditing));
    G->SetCol(2);
    EXPECT_FALSE(G->Options().Contains(goEditing));
}

TEST_F(EditSwitch, AKindWithoutItsEditorOpensNothing) {
    const bool Was = ComCtrlsOk;
    ComCtrlsOk = false;
    G->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = edDateEdit; };
    Key(VK_F2);
    EXPECT_FALSE(TextEditorOpen());
    EXPECT_FALSE(G->EditMode());
    EXPECT_EQ(CellAt(3, 3), "3,3");
    ComCtrlsOk = Was;
    // The text editor still opens on the next cell of a text kind.
    G->OnGetEditorType = nullptr;
    Key(VK_F2);
    EXPECT_TRUE(TextEditorOpen());
}

TEST_F(EditSwitch, GoEditingFollowsTheCurrentCell) {
    G->SetOptions(G->Options() >> goEditing);
    // Only real column 3 (display column 2) may be edited.
    G->OnCanEditCell = [](TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol == 3; };
    struct Step {
        int DisplCol;
        bool Editing;
    };
    const Step Steps[] = {{1, false}, {2, true}, {1, false}, {3, false}, {2, true}};
    for (const Step& S : Steps) {
        G->SetCol(S.DisplCol);
        EXPECT_EQ(G->Options().Contains(goEditing), S.Editing) << "display column " << S.DisplCol;
    }
    Type("q");
    EXPECT_TRUE(TextEditorOpen());
    Key(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), "q");
}

TEST_F(EditSwitch, FixedCells) {
    G->SetFixedFooters(1);
    G->SetFixedRightCols(1);
    G->OnIsFixedCell = [](TObject*, int ARow, int ACol, bool& IsFixed) { IsFixed = ARow == 2 && ACol == 2; };
    struct Case {
        int DisplCol, DisplRow;
        bool Fixed;
    };
    const Case Cases[] = {{2, 3, false}, {2, 7, true}, {4, 3, true}, {2, 2, true}, {0, 3, true}, {3, 4, false}};
    for (const Case& C : Cases)
        EXPECT_EQ(G->IsFixed(C.DisplCol, C.DisplRow), C.Fixed) << C.DisplCol << "," << C.DisplRow;
}

// ---- the custom editor link -----------------------------------------------------------------------------------
class TRecordingLink : public TEditLink {
public:
    TRecordingLink(TComponent* AOwner, std::vector<std::string>* Log) : TEditLink(AOwner), FLog(Log) {}
    void CreateEditor(TWinControl* AParent) override {
        FLog->push_back("CreateEditor");
        if (!FEdit) FEdit = Create<TEdit>(AParent, AParent);
    }
    void SetRect(TRect R) override {
        FLog->push_back("SetRect");
        FEdit->SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
    }
    void SetVisible(bool Value) override {
        FLog->push_back(Value ? "SetVisible 1" : "SetVisible 0");
        FEdit->SetVisible(Value);
    }
    void SetCellProps(TColor, TFont*) override { FLog->push_back("SetCellProps"); }
    void SetProperties() override { FLog->push_back("SetProperties"); }
    void SetEditorValue(const QString& V) override {
        FLog->push_back("SetEditorValue " + V.toStdString());
        FEdit->SetText(V);
    }
    QString GetEditorValue() override {
        FLog->push_back("GetEditorValue");
        return FEdit->Text();
    }
    void SetFocus(bool) override { FLog->push_back("SetFocus"); }
    TWinControl* GetEditControl() override { return FEdit; }
    TEdit* FEdit = nullptr;

private:
    std::vector<std::string>* FLog;
};

TEST_F(EditSwitch, TheCustomEditLinkEditsInPlace) {
    std::vector<std::string> Log;
    TRecordingLink Link(nullptr, &Log);
    G->SetEditLink(&Link);
    G->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = edCustom; };
    Key(VK_F2);
    ASSERT_NE(Link.FEdit, nullptr);
    EXPECT_EQ(Link.Grid(), G);
    EXPECT_EQ(Link.EditCell(), Point(3, 3));
    EXPECT_EQ(Log,
              (std::vector<std::string>{"CreateEditor", "SetRect", "SetVisible 1", "SetCellProps", "SetProperties",
                                        "SetEditorValue 3,3", "SetFocus"}));
    EXPECT_EQ(G->EditCtrl(), Link.FEdit);
    Link.FEdit->SetText("linked");
    Log.clear();
    G->DoneInplaceEdit(VK_RETURN, {});
    EXPECT_EQ(CellAt(3, 3), "linked");
    EXPECT_EQ(Log, (std::vector<std::string>{"GetEditorValue", "GetEditorValue", "SetVisible 0"}));
    EXPECT_FALSE(Link.FEdit->isVisible());
    G->SetEditLink(nullptr);
}

TEST_F(EditSwitch, CustomWithoutALinkOpensNothing) {
    G->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = edCustom; };
    Key(VK_F2);
    EXPECT_FALSE(G->EditMode());
    EXPECT_FALSE(TextEditorOpen());
}

} // namespace
