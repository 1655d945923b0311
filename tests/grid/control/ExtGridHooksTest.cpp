// The string grid's per-cell questions and its event dispatch: built-in answers without events,
// the argument order every event receives, and the order of the events of one Enter advance.
#include "GridNavFixture.h"
#include "grid/base/ExtUtil.h"
#include "grid/control/GridDropDownWrappers.h"
#include "platform/rtl/SysUtils.h"

#include <functional>

namespace {

using Hooks = GridNav;

TEST_F(Hooks, WithoutEventsTheBuiltInRulesAnswer) {
    QString V;
    G->GetCheckTrue(1, 1, V);
    EXPECT_EQ(V, "Y");
    G->GetCheckFalse(1, 1, V);
    EXPECT_EQ(V, "N");
    EXPECT_FALSE(G->IsNoEditCell(1, 1));
    EXPECT_FALSE(G->HasComboButton(1, 1));
    EXPECT_FALSE(G->HasSpinButtons(1, 1));
    bool Fixed = false;
    G->GetFixedCell(0, 3, Fixed);
    EXPECT_TRUE(Fixed);
    Fixed = false;
    G->GetFixedCell(2, 3, Fixed);
    EXPECT_FALSE(Fixed);
    bool CanEdit = true;
    G->GetCellEditable(3, 3, CanEdit);
    EXPECT_TRUE(CanEdit);
}

TEST_F(Hooks, ACellBeyondTheSheetIsNotEditable) {
    bool CanEdit = true;
    G->GetCellEditable(G->TotalColCount(), 3, CanEdit);
    EXPECT_FALSE(CanEdit);
    CanEdit = true;
    G->GetCellEditable(G->TotalColCount() - 1, 3, CanEdit); // the last real column
    EXPECT_TRUE(CanEdit);
}

TEST_F(Hooks, ReadOnlyRecordAndEditingOptionDecideBeforeTheEvent) {
    G->GetCellProperties(3, 2)->SetReadOnly(true);
    G->GetCellProperties(4, 2); // a record that is not read-only
    bool CanEdit = true;
    G->GetCellEditable(3, 2, CanEdit);
    EXPECT_FALSE(CanEdit);
    CanEdit = true;
    G->GetCellEditable(4, 2, CanEdit); // goEditing is off
    EXPECT_FALSE(CanEdit);
    G->SetOptions(G->Options() << goEditing);
    CanEdit = true;
    G->GetCellEditable(4, 2, CanEdit);
    EXPECT_TRUE(CanEdit);
}

TEST_F(Hooks, FixedCellEventIsAskedOnlyForNormalCells) {
    int Asked = 0;
    G->OnIsFixedCell = [&](TObject*, int ARow, int ACol, bool& IsFixed) {
        ++Asked;
        IsFixed = ARow == 5 && ACol == 3;
    };
    bool Fixed = false;
    G->GetFixedCell(2, 0, Fixed);
    EXPECT_TRUE(Fixed);
    EXPECT_EQ(Asked, 0);
    Fixed = false;
    G->GetFixedCell(3, 5, Fixed);
    EXPECT_TRUE(Fixed);
    EXPECT_EQ(Asked, 1);
}

TEST_F(Hooks, EditorKindsDriveComboAndSpinButtons) {
    G->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
        if (ACol == 1) E = edComboList;
        if (ACol == 3) E = edSpinEdit;
        if (ACol == 4) E = edNone;
    };
    EXPECT_FALSE(G->HasComboButton(1, 2));
    G->ControlLook()->SetDropDownAlwaysVisible(true);
    G->ControlLook()->SetSpinButtonsAlwaysVisible(true);
    EXPECT_TRUE(G->HasComboButton(1, 2));
    EXPECT_FALSE(G->HasComboButton(3, 2));
    EXPECT_TRUE(G->HasSpinButtons(3, 2));
    EXPECT_FALSE(G->HasSpinButtons(3, 0)); // fixed row
    EXPECT_TRUE(G->IsNoEditCell(4, 2));
    EXPECT_FALSE(G->IsNoEditCell(1, 2));
}

TEST_F(Hooks, ActiveCellShowHighlightsTheHeadersOfTheCurrentCell) {
    G->SetActiveCellShow(true);
    G->GotoCell(2, 4); // display column 2 is real column 3
    auto ColorOf = [&](int RealCol, int Row) {
        TBrush B;
        B.SetColor(clWindow);
        TFont F;
        G->GetCellColor(RealCol, Row, TGridDrawState(), &B, &F);
        return B.Color();
    };
    EXPECT_EQ(ColorOf(0, 4), G->ActiveCellColor());
    EXPECT_EQ(ColorOf(3, 0), G->ActiveCellColor());
    EXPECT_EQ(ColorOf(0, 3), clWindow);
    EXPECT_EQ(ColorOf(4, 0), clWindow); // display column 3
    EXPECT_EQ(ColorOf(3, 4), clWindow);
}

TEST_F(Hooks, ARecordColoursAPlainCellWithoutAnyEvent) {
    G->GetCellProperties(3, 2)->SetBrushColor(clRed);
    G->GetCellProperties(3, 2)->SetFontColor(clBlue);
    TBrush B;
    TFont F;
    G->GetCellColor(3, 2, TGridDrawState(), &B, &F);
    EXPECT_EQ(B.Color(), clRed);
    EXPECT_EQ(F.Color(), clBlue);
}

TEST_F(Hooks, FilterListHoldsEveryValueOnceAfterTheClearEntry) {
    const char* Texts[] = {"b", "a", " a b ", "a", "a"};
    for (int r = 1; r <= 5; ++r) G->SetGridCell(3, r, Texts[r - 1]);
    for (int r = 6; r < 10; ++r) G->SetGridCell(3, r, "a");
    G->SetCellsEx(3, HiddenRealRow, "c"); // a hidden row's text counts too
    G->SetFilterDropDownAuto(true);
    EXPECT_TRUE(G->BuildFilterList(3));
    QStringList Values;
    for (int i = 0; i < G->FilterValueList()->Count(); ++i) Values << G->FilterValueList()->Get(i);
    EXPECT_EQ(Values, (QStringList{"(All)", "a", "a b=\"a b\"", "b", "c"}));
    int Column = -1;
    G->OnGetColumnFilter = [&](TObject*, int Col, TStrings* L) {
        Column = Col;
        L->Clear();
    };
    EXPECT_FALSE(G->BuildFilterList(3));
    EXPECT_EQ(Column, 3);
}

TEST_F(Hooks, WideHintReplacesTheHintInTheWideEncoding) {
    G->OnGridHint = [](TObject*, int, int, QString& H) { H = "plain"; };
    QString Hint, Wide;
    G->DoGetCellHint(1, 2, Hint, Wide);
    EXPECT_EQ(Hint, "plain");
    G->OnGridWideHint = [](TObject*, int, int, QString& H) { H = QString::fromUtf16(u"\u20ac wide"); };
    G->DoGetCellHint(1, 2, Hint, Wide);
    EXPECT_EQ(Hint, EncodeWideCellText(QString::fromUtf16(u"\u20ac wide")));
}

TEST_F(Hooks, CurrentCellAndStoredEditTextsUseTheRealColumn) {
    G->GotoCell(2, 4); // display column 2 shows real column 3
    EXPECT_EQ(G->CurrentCell(), "3,4");
    G->SetCurrentCell("x");
    EXPECT_EQ(G->GetGridCell(3, 4), "x");
    EXPECT_EQ(G->GetGridCell(2, 4), "2,4"); // the hidden column keeps its text
    std::vector<std::string> Set;
    G->OnSetEditText = [&](TObject*, int ACol, int ARow, const QString& V) {
        Set.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + "=" + V.toStdString());
    };
    G->StoreEditText(3, 5, "y");
    EXPECT_EQ(G->GetGridCell(3, 5), "y");
    EXPECT_EQ(G->GetGridCell(2, 5), "2,5");
    EXPECT_FALSE(Set.empty());
    G->SetCurrentEditText("z");
    EXPECT_EQ(G->GetGridCell(3, 4), "z");
    EXPECT_EQ(G->GetCurrentCellDisplay(), "z");
}

TEST_F(Hooks, PastedRowsAreMarkedModifiedOnlyWhenShown) {
    G->MarkRowsModified(2, 3);
    EXPECT_EQ(G->ModifiedRowCount(), 0);
    G->ShowModified()->SetEnabled(true);
    G->MarkRowsModified(2, 3);
    EXPECT_EQ(G->ModifiedRowCount(), 2);
}

// ---- argument order ------------------------------------------------------------------------------------
// Every dispatcher is called for column 1, row 2; the event writes its parameters by name.
struct OrderCase {
    const char* Name;
    std::function<void(TExtStringGrid&, std::string&)> Run;
    const char* Expected;
};
void PrintTo(const OrderCase& C, std::ostream* Os) { *Os << C.Name; }

std::string RC(int ARow, int ACol) { return "ARow=" + std::to_string(ARow) + " ACol=" + std::to_string(ACol); }
std::string CR(int ACol, int ARow) { return "ACol=" + std::to_string(ACol) + " ARow=" + std::to_string(ARow); }

class ArgumentOrder : public GridNav, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(ArgumentOrder, EventsGetRowAndColumnInTheirOwnOrder) {
    std::string Got;
    GetParam().Run(*G, Got);
    EXPECT_EQ(Got, GetParam().Expected);
}

const OrderCase OrderCases[] = {
    {"CanEditCell",
     [](TExtStringGrid& G, std::string& S) {
         G.OnCanEditCell = [&](TObject*, int ARow, int ACol, bool&) { S = RC(ARow, ACol); };
         bool B = true;
         G.DoCanEditCell(1, 2, B);
     },
     "ARow=2 ACol=1"},
    {"IsFixedCell",
     [](TExtStringGrid& G, std::string& S) {
         G.OnIsFixedCell = [&](TObject*, int ARow, int ACol, bool&) { S = RC(ARow, ACol); };
         bool B = false;
         G.GetFixedCell(3, 2, B); // column 3 is not fixed
         S += " (asked for column 3)";
     },
     "ARow=2 ACol=3 (asked for column 3)"},
    {"IsPasswordCell",
     [](TExtStringGrid& G, std::string& S) {
         G.OnIsPasswordCell = [&](TObject*, int ARow, int ACol, bool&) { S = RC(ARow, ACol); };
         bool B = false;
         G.GetPasswordCell(1, 2, B);
     },
     "ARow=2 ACol=1"},
    {"GetAlignment",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetAlignment = [&](TObject*, int ARow, int ACol, TAlignment&, TVAlignment&) { S = RC(ARow, ACol); };
         TAlignment H = taLeftJustify;
         TVAlignment V = vtaTop;
         G.GetCellAlignment(1, 2, H, V);
     },
     "ARow=2 ACol=1"},
    {"GetCellColor",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetCellColor = [&](TObject*, int ARow, int ACol, TGridDrawState, TBrush*, TFont*) { S = RC(ARow, ACol); };
         TBrush B;
         TFont F;
         G.GetCellColor(1, 2, TGridDrawState(), &B, &F);
     },
     "ARow=2 ACol=1"},
    {"GetCellPrintColor",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetCellPrintColor = [&](TObject*, int ARow, int ACol, TGridDrawState, TBrush*, TFont*) {
             S = RC(ARow, ACol);
         };
         TBrush B;
         TFont F;
         G.GetCellPrintColor(1, 2, TGridDrawState(), &B, &F);
     },
     "ARow=2 ACol=1"},
    {"GetCellBorder",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetCellBorder = [&](TObject*, int ARow, int ACol, TPen*, TCellBorders&) { S = RC(ARow, ACol); };
         TPen P;
         TCellBorders B;
         G.GetCellBorder(1, 2, &P, B);
     },
     "ARow=2 ACol=1"},
    {"GridHint",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGridHint = [&](TObject*, int ARow, int ACol, QString&) { S = RC(ARow, ACol); };
         QString H, W;
         G.DoGetCellHint(1, 2, H, W);
     },
     "ARow=2 ACol=1"},
    {"GetWordWrap",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetWordWrap = [&](TObject*, int ACol, int ARow, bool&) { S = CR(ACol, ARow); };
         bool W = true;
         G.GetCellWordWrap(1, 2, W);
     },
     "ACol=1 ARow=2"},
    {"GetEditorType",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetEditorType = [&](TObject*, int ACol, int ARow, TEditorType&) { S = CR(ACol, ARow); };
         TEditorType E = edNormal;
         G.GetCellEditor(1, 2, E);
     },
     "ACol=1 ARow=2"},
    {"HasComboBox",
     [](TExtStringGrid& G, std::string& S) {
         G.OnHasComboBox = [&](TObject*, int ACol, int ARow, bool&) { S = CR(ACol, ARow); };
         G.HasComboButton(1, 2);
     },
     "ACol=1 ARow=2"},
    {"HasSpinEdit",
     [](TExtStringGrid& G, std::string& S) {
         G.OnHasSpinEdit = [&](TObject*, int ACol, int ARow, bool&) { S = CR(ACol, ARow); };
         G.HasSpinButtons(1, 2);
     },
     "ACol=1 ARow=2"},
    {"GetCheckTrue",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetCheckTrue = [&](TObject*, int ACol, int ARow, QString&) { S = CR(ACol, ARow); };
         QString V;
         G.GetCheckTrue(1, 2, V);
     },
     "ACol=1 ARow=2"},
    {"CheckBoxClick",
     [](TExtStringGrid& G, std::string& S) {
         G.OnCheckBoxClick = [&](TObject*, int ACol, int ARow, bool State) {
             S = CR(ACol, ARow) + (State ? " on" : " off");
         };
         G.DoCheckBoxClick(1, 2, true);
     },
     "ACol=1 ARow=2 on"},
    {"CheckBoxChange",
     [](TExtStringGrid& G, std::string& S) {
         G.OnCheckBoxChange = [&](TObject*, int ACol, int ARow, bool State) {
             S = CR(ACol, ARow) + (State ? " on" : " off");
         };
         G.DoCheckBoxChange(1, 2, false);
     },
     "ACol=1 ARow=2 off"},
    {"ButtonClick",
     [](TExtStringGrid& G, std::string& S) {
         G.OnButtonClick = [&](TObject*, int ACol, int ARow) { S = CR(ACol, ARow); };
         G.DoButtonClick(1, 2);
     },
     "ACol=1 ARow=2"},
    {"ComboCloseUp",
     [](TExtStringGrid& G, std::string& S) {
         G.OnComboCloseUp = [&](TObject*, int ARow, int ACol) { S = RC(ARow, ACol); };
         G.DoComboCloseUp(2, 1);
     },
     "ARow=2 ACol=1"},
    {"ExpandClick",
     [](TExtStringGrid& G, std::string& S) {
         G.OnExpandClick = [&](TObject*, int ACol, int ARow, bool E) { S = CR(ACol, ARow) + (E ? " open" : ""); };
         G.DoExpandClick(1, 2, true);
     },
     "ACol=1 ARow=2 open"},
    {"GetCellCursor",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetCellCursor = [&](TObject*, int ACol, int ARow, int X, int Y, TCursor&) {
             S = CR(ACol, ARow) + " X=" + std::to_string(X) + " Y=" + std::to_string(Y);
         };
         G.DoGetCellCursor(1, 2, 30, 40);
     },
     "ACol=1 ARow=2 X=30 Y=40"},
    {"SearchFooterAction",
     [](TExtStringGrid& G, std::string& S) {
         G.OnSearchFooterAction = [&](TObject*, const QString& V, int ACol, int ARow, TSearchAction A) {
             S = V.toStdString() + " " + CR(ACol, ARow) + " A=" + std::to_string(int(A));
         };
         G.DoSearchFooterAction("x", 1, 2, saFindNext);
     },
     "x ACol=1 ARow=2 A=2"},
    {"ComboDropDown",
     [](TExtStringGrid& G, std::string& S) {
         G.OnComboDropDown = [&](TObject*, int ARow, int ACol) { S = RC(ARow, ACol); };
         G.DoComboDropDown(2, 1);
     },
     "ARow=2 ACol=1"},
    {"GetCheckFalse",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetCheckFalse = [&](TObject*, int ACol, int ARow, QString& V) {
             S = CR(ACol, ARow) + " " + V.toStdString();
         };
         QString V;
         G.GetCheckFalse(1, 2, V);
     },
     "ACol=1 ARow=2 N"},
    {"GetCellPrintBorder",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetCellPrintBorder = [&](TObject*, int ARow, int ACol, TPen*, TCellBorders&) { S = RC(ARow, ACol); };
         TPen P;
         TCellBorders B;
         G.GetCellPrintBorder(1, 2, &P, B);
     },
     "ARow=2 ACol=1"},
    {"GridWideHint",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGridWideHint = [&](TObject*, int ARow, int ACol, QString&) { S = RC(ARow, ACol); };
         QString H, W;
         G.DoGetCellHint(1, 2, H, W);
     },
     "ARow=2 ACol=1"},
    {"GetEditorProp",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetEditorProp = [&](TObject*, int ACol, int ARow, TEditLink*) { S = CR(ACol, ARow); };
         G.DoGetEditorProp(1, 2, nullptr);
     },
     "ACol=1 ARow=2"},
    {"ColorSelect",
     [](TExtStringGrid& G, std::string& S) {
         G.OnColorSelect = [&](TObject*, int ACol, int ARow, TColor C, const QString& V) {
             S = CR(ACol, ARow) + (C == clRed ? " red " : " other ") + V.toStdString();
         };
         G.MoveCurrentCell(1, 2, true);
         G.ColorPickerDropDown()->SetSelectedColor(clRed);
         G.DoColorSelect(G.ColorPickerDropDown());
     },
     "ACol=1 ARow=2 red Red"},
    {"ImageSelect",
     [](TExtStringGrid& G, std::string& S) {
         G.OnImageSelect = [&](TObject*, int ACol, int ARow, int I) { S = CR(ACol, ARow) + " " + std::to_string(I); };
         G.MoveCurrentCell(1, 2, true);
         G.ImagePickerDropDown()->Items()->Add();
         G.ImagePickerDropDown()->SetItemIndex(0);
         G.DoImageSelect(G.ImagePickerDropDown());
     },
     "ACol=1 ARow=2 0"},
    {"RatingChange",
     [](TExtStringGrid& G, std::string& S) {
         G.OnRatingChange = [&](TObject*, int ACol, int ARow, double&, bool& Allow) {
             S = CR(ACol, ARow);
             Allow = false;
         };
         double Rate = 2;
         S += G.DoRatingChange(1, 2, Rate) ? "" : " refused";
     },
     "ACol=1 ARow=2 refused"},
    {"ScrollCell",
     [](TExtStringGrid& G, std::string& S) {
         G.OnScrollCell = [&](TObject*, int ACol, int ARow, int, int, int) { S = CR(ACol, ARow); };
         G.DoScrollCell(1, 2);
     },
     "ACol=1 ARow=2"},
    {"SaveCell",
     [](TExtStringGrid& G, std::string& S) {
         G.OnSaveCell = [&](TObject*, int ACol, int ARow, QString&) { S = CR(ACol, ARow); };
         G.GetSaveCellText(1, 2, "t");
     },
     "ACol=1 ARow=2"},
    {"LoadCell",
     [](TExtStringGrid& G, std::string& S) {
         G.OnLoadCell = [&](TObject*, int ACol, int ARow, QString&) { S = CR(ACol, ARow); };
         G.SetCellFromLoad(1, 2, "t");
     },
     "ACol=1 ARow=2"},
    {"GridButtonClickedAtTheCurrentCell",
     [](TExtStringGrid& G, std::string& S) {
         G.GotoCell(3, 4);
         G.OnButtonClick = [&](TObject*, int ACol, int ARow) { S = CR(ACol, ARow); };
         G.GridButtonClicked(nullptr);
     },
     "ACol=3 ARow=4"},
    {"DatePickerCloseUp",
     [](TExtStringGrid& G, std::string& S) {
         G.GotoCell(3, 4);
         G.OnDatePickerCloseUp = [&](TObject*, int ARow, int ACol) { S = RC(ARow, ACol); };
         G.DatePickerClosedUp(nullptr);
     },
     "ARow=4 ACol=3"},
    {"DatePickerDropDown",
     [](TExtStringGrid& G, std::string& S) {
         G.GotoCell(3, 4);
         G.OnDatePickerDropDown = [&](TObject*, int ARow, int ACol) { S = RC(ARow, ACol); };
         G.DatePickerDroppedDown(nullptr);
     },
     "ARow=4 ACol=3"},
    {"DateTimeChange",
     [](TExtStringGrid& G, std::string& S) {
         G.GotoCell(3, 4);
         G.OnDateTimeChange = [&](TObject*, int ACol, int ARow, TDateTime) { S = CR(ACol, ARow); };
         G.DateTimePickerChanged(nullptr);
     },
     "ACol=3 ARow=4"},
    {"EditChangeFromTheDatePicker",
     [](TExtStringGrid& G, std::string& S) {
         G.GotoCell(3, 4);
         G.OnEditChange = [&](TObject*, int ACol, int ARow, const QString&) { S = CR(ACol, ARow); };
         G.DatePickerTextChanged(nullptr);
     },
     "ACol=3 ARow=4"},
    {"GetFormat",
     [](TExtStringGrid& G, std::string& S) {
         G.OnGetFormat = [&](TObject*, int ACol, TSortStyle& St, QString& P, QString&) {
             S = "ACol=" + std::to_string(ACol);
             St = ssNumeric;
             P = "$";
         };
         TSortStyle St = ssAutomatic;
         QString P, X;
         G.GetColumnFormat(1, St, P, X);
         S += St == ssNumeric && P == "$" ? " changed" : "";
     },
     "ACol=1 changed"},
    {"CellChangingPassesOldAndNew",
     [](TExtStringGrid& G, std::string& S) {
         G.GotoCell(1, 2);
         G.OnRowChanging = [&](TObject*, int OldRow, int NewRow, bool&) {
             S += "Row " + std::to_string(OldRow) + ">" + std::to_string(NewRow) + "; ";
         };
         G.OnColChanging = [&](TObject*, int OldCol, int NewCol, bool&) {
             S += "Col " + std::to_string(OldCol) + ">" + std::to_string(NewCol) + "; ";
         };
         G.OnCellChanging = [&](TObject*, int OldRow, int OldCol, int NewRow, int NewCol, bool&) {
             S += "Cell " + RC(OldRow, OldCol) + " > " + RC(NewRow, NewCol);
         };
         bool Allow = true;
         G.DoCellChanging(3, 4, Allow);
     },
     "Row 2>4; Col 1>3; Cell ARow=2 ACol=1 > ARow=4 ACol=3"},
    {"EllipsClickGetsTheRealColumn",
     [](TExtStringGrid& G, std::string& S) {
         G.GotoCell(2, 5); // display column 2 shows real column 3
         G.OnEllipsClick = [&](TObject*, int ACol, int ARow, QString& V) {
             S = CR(ACol, ARow);
             V += "!";
         };
         S += " " + G.DoEllipsClick("t").toStdString();
     },
     "ACol=3 ARow=5 t!"},
};

INSTANTIATE_TEST_SUITE_P(Dispatchers, ArgumentOrder, ::testing::ValuesIn(OrderCases),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(Hooks, AnEventAssignedLaterTakesEffectAtTheNextOccurrence) {
    QString V;
    G->GetCheckTrue(1, 1, V);
    EXPECT_EQ(V, "Y");
    G->OnGetCheckTrue = [](TObject*, int, int, QString& Value) { Value = "yes"; };
    G->GetCheckTrue(1, 1, V);
    EXPECT_EQ(V, "yes");
    G->OnGetCheckTrue = nullptr;
    G->GetCheckTrue(1, 1, V);
    EXPECT_EQ(V, "Y");
}

// ---- event order ------------------------------------------------------------------------------------------
TEST_F(Hooks, EnterAdvanceFiresItsEventsInOrder) {
    G->Navigation()->SetAdvanceOnEnter(true);
    G->GotoCell(4, 3);
    EventLog Log;
    G->OnAutoAdvance = [&](TObject*, int OldRow, int OldCol, int& NewRow, int& NewCol, bool&) {
        Log.Add("AutoAdvance " +
                EventLog::Args({{"OldRow", OldRow}, {"OldCol", OldCol}, {"NewRow", NewRow}, {"NewCol", NewCol}}));
    };
    G->OnCellChanging = [&](TObject*, int OldRow, int OldCol, int NewRow, int NewCol, bool&) {
        Log.Add("CellChanging " +
                EventLog::Args({{"OldRow", OldRow}, {"OldCol", OldCol}, {"NewRow", NewRow}, {"NewCol", NewCol}}));
    };
    G->OnRowUpdate = [&](TObject*, int OldRow, int NewRow) {
        Log.Add("RowUpdate " + EventLog::Args({{"OldRow", OldRow}, {"NewRow", NewRow}}));
    };
    G->OnClick = [&](TObject*) { Log.Add("Click " + Cell()); };
    G->OnKeyPress = [&](TObject*, QChar& Key) { Log.Add("KeyPress " + std::to_string(Key.unicode())); };
    Char(13);
    EXPECT_EQ(Log.Lines,
              (std::vector<std::string>{
                  "AutoAdvance OldRow=3 OldCol=4 NewRow=4 NewCol=1",
                  "CellChanging OldRow=3 OldCol=4 NewRow=4 NewCol=1",
                  "Click 1,3",
                  "Click 1,4",
                  // no row was reported before this one
                  "RowUpdate OldRow=-1 NewRow=4",
                  "KeyPress 13",
              }));
}

TEST_F(Hooks, DisjunctRowSelectionAsksThenReports) {
    G->MouseActions()->SetDisjunctRowSelect(true);
    EventLog Log;
    G->OnRowDisjunctSelect = [&](TObject*, int ARow, bool AState, bool&) {
        Log.Add("Select " + EventLog::Args({{"ARow", ARow}, {"AState", AState}}));
    };
    G->OnRowDisjunctSelected = [&](TObject*, int ARow) { Log.Add("Selected " + EventLog::Args({{"ARow", ARow}})); };
    G->SelectRows(2, 2);
    G->SetRowSelect(3, true);
    EXPECT_EQ(Log.Lines,
              (std::vector<std::string>{"Select ARow=2 AState=1", "Selected ARow=2", "Select ARow=3 AState=1",
                                        "Selected ARow=3", "Selected ARow=3"}));
}

TEST_F(Hooks, SelectionChangedRepaintsMarksAndReports) {
    std::string Got;
    G->OnSelectionChanged = [&](TObject*, int L, int T, int R, int B) {
        Got = EventLog::Args({{"ALeft", L}, {"ATop", T}, {"ARight", R}, {"ABottom", B}});
    };
    G->DoSelectionChanged(1, 2, 3, 4);
    EXPECT_EQ(Got, "ALeft=1 ATop=2 ARight=3 ABottom=4");
    EXPECT_TRUE(G->SelectionChangedMark());
    G->SelectRows(2, 1);
    EXPECT_FALSE(G->SelectionChangedMark());
}

// ---- the rest of the table of virtual operations ------------------------------------------------------
// A descendant reaches every operation of the table through its own override.
class Descendant : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    std::vector<std::string> Calls;
    void Log(const char* N) { Calls.push_back(N); }
    void CellTextChanging(int, int, const QString&) override { Log("CellTextChanging"); }
    bool ToggleCheckState(int, int, bool) override { return Log("ToggleCheckState"), true; }
    bool ClickRadioButton(int, int, bool) override { return Log("ClickRadioButton"), true; }
    QString GetFormattedCell(int, int) override { return Log("GetFormattedCell"), QString(); }
    TPoint GetCellGraphicSizeEx(int, int, int) override { return Log("GetCellGraphicSizeEx"), Point(1, 1); }
    TPoint GetCellGraphicPrintSize(int, int, int, int, double) override {
        return Log("GetCellGraphicPrintSize"), Point(1, 1);
    }
    void InsertRowAt(int) override { Log("InsertRowAt"); }
    void RemoveRowAt(int) override { Log("RemoveRowAt"); }
    bool FilterRowMatches(int) override { return Log("FilterRowMatches"), false; }
    void RecalcFooterColumn(int) override { Log("RecalcFooterColumn"); }
    void SaveOldCellText(int, int) override { Log("SaveOldCellText"); }
    TRect GetUsedCells() override { return Log("GetUsedCells"), TRect(); }
    void DoRemoveRows(int, int) override { Log("DoRemoveRows"); }
    void InvalidateGrid() override { Log("InvalidateGrid"); }
    void PaintDesignHelper() override { Log("PaintDesignHelper"); }
    void DesignHelperClick(int, int) override { Log("DesignHelperClick"); }
    bool ValidateCell(const QString&) override { return Log("ValidateCell"), false; }
    bool ValidateCellWide(const QString&) override { return Log("ValidateCellWide"), false; }
    void RemoveCols(int, int) override { Log("RemoveCols"); }
    void InsertCols(int, int) override { Log("InsertCols"); }
    void SubGroup(int) override { Log("SubGroup"); }
    void SubUnGroup(int) override { Log("SubUnGroup"); }
    void Group(int) override { Log("Group"); }
    void UnGroup() override { Log("UnGroup"); }
    void SortSwapRows(int, int) override { Log("SortSwapRows"); }
    void TrimRect(int, int, int, int) override { Log("TrimRect"); }
    void SaveColPositions() override { Log("SaveColPositions"); }
    void LoadColPositions() override { Log("LoadColPositions"); }
    void SetStyle(TExtGridStyle) override { Log("SetStyle"); }
    void QSort() override { Log("QSort"); }
    void QSortIndexed() override { Log("QSortIndexed"); }
    void QSortGroup() override { Log("QSortGroup"); }
    void QSortGroupIndexed() override { Log("QSortGroupIndexed"); }
    void QUnSort() override { Log("QUnSort"); }
};

TEST(VirtualOperations, EveryOperationOfTheTableReachesTheDescendant) {
    Descendant D(nullptr);
    TExtStringGrid& G = D;
    G.CellTextChanging(1, 1, "x");
    G.ToggleCheckState(1, 1, true);
    G.ClickRadioButton(1, 1, true);
    G.GetFormattedCell(1, 1);
    G.GetCellGraphicSize(1, 1); // through GetCellGraphicSizeEx
    G.GetCellGraphicPrintSize(1, 1, 10, 10);
    G.InsertRowAt(1);
    G.RemoveRowAt(1);
    G.FilterRowMatches(1);
    G.RecalcFooterColumn(1);
    G.SaveOldCellText(1, 1);
    G.GetUsedCells();
    G.DoRemoveRows(1, 1);
    G.InvalidateGrid();
    G.PaintDesignHelper();
    G.DesignHelperClick(1, 1);
    G.ValidateCell("x");
    G.ValidateCellWide("x");
    G.RemoveCols(1, 1);
    G.InsertCols(1, 1);
    G.SubGroup(1);
    G.SubUnGroup(1);
    G.Group(1);
    G.UnGroup();
    G.SortSwapRows(1, 2);
    G.TrimRect(1, 1, 2, 2);
    G.SaveColPositions();
    G.LoadColPositions();
    G.SetStyle(gsOffice2010Black);
    G.QSort();
    G.QSortIndexed();
    G.QSortGroup();
    G.QSortGroupIndexed();
    G.QUnSort();
    EXPECT_EQ(D.Calls,
              (std::vector<std::string>{"CellTextChanging",
                                        "ToggleCheckState",
                                        "ClickRadioButton",
                                        "GetFormattedCell",
                                        "GetCellGraphicSizeEx",
                                        "GetCellGraphicPrintSize",
                                        "InsertRowAt",
                                        "RemoveRowAt",
                                        "FilterRowMatches",
                                        "RecalcFooterColumn",
                                        "SaveOldCellText",
                                        "GetUsedCells",
                                        "DoRemoveRows",
                                        "InvalidateGrid",
                                        "PaintDesignHelper",
                                        "DesignHelperClick",
                                        "ValidateCell",
                                        "ValidateCellWide",
                                        "RemoveCols",
                                        "InsertCols",
                                        "SubGroup",
                                        "SubUnGroup",
                                        "Group",
                                        "UnGroup",
                                        "SortSwapRows",
                                        "TrimRect",
                                        "SaveColPositions",
                                        "LoadColPositions",
                                        "SetStyle",
                                        "QSort",
                                        "QSortIndexed",
                                        "QSortGroup",
                                        "QSortGroupIndexed",
                                        "QUnSort"}));
    EXPECT_EQ(int(gsOffice2010Black), 15);
}

// The fixture's layout (hidden real column 2, hidden real row 6) on a grid whose edit can be started.
class EditingGrid : public GridNav {
protected:
    void SetUp() override {
        GridNav::SetUp();
        D = std::make_unique<Plain>(nullptr);
        D->SetColCount(6);
        D->SetRowCount(11);
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 11; ++r) D->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
        D->HideColumn(HiddenRealCol);
        D->HideRow(HiddenRealRow);
    }
    class Plain : public TExtStringGrid {
    public:
        using TExtStringGrid::TExtStringGrid;
        // Starts an edit of a display cell the way the editing area does.
        void BeginEdit(int DisplCol, int DisplRow) {
            SaveOldCellText(DisplCol, DisplRow);
            FEditing = true;
        }
    };
    std::unique_ptr<Plain> D;
};

TEST_F(EditingGrid, ValidationAsksTheHandlerWithTheRealColumnOnce) {
    EXPECT_TRUE(D->ValidateCell("anything")); // nothing is being edited
    std::vector<std::string> Asked;
    D->OnCellValidate = [&](TObject*, int ACol, int ARow, QString& Value, bool& Valid) {
        Asked.push_back(CR(ACol, ARow) + " " + Value.toStdString());
        EXPECT_FALSE(D->Navigation()->AdvanceOnEnter());
        Value = Value.toUpper();
        Valid = Value != "BAD";
    };
    D->Navigation()->SetAdvanceOnEnter(true);
    D->BeginEdit(2, 4); // display column 2 shows real column 3
    EXPECT_TRUE(D->ValidateCell("new"));
    EXPECT_EQ(D->NewCellText(), "NEW");
    EXPECT_TRUE(D->GetRowModified(4));
    EXPECT_TRUE(D->Navigation()->AdvanceOnEnter());
    EXPECT_TRUE(D->ValidateCell("again")); // the edit ended with the first validation
    D->BeginEdit(2, 5);
    EXPECT_FALSE(D->ValidateCell("bad"));
    D->BeginEdit(2, 3);
    EXPECT_TRUE(D->ValidateCell("3,3")); // unchanged text: no question, no mark
    EXPECT_FALSE(D->GetRowModified(3));
    EXPECT_EQ(Asked, (std::vector<std::string>{"ACol=3 ARow=4 new", "ACol=3 ARow=5 bad"}));
}

TEST_F(Hooks, RowSwapTrimAndOneRowOperationsKeepHiddenColumns) {
    G->SortSwapRows(2, 3);
    EXPECT_EQ(G->GetGridCell(HiddenRealCol, 2), "2,3");
    EXPECT_EQ(G->GetGridCell(4, 3), "4,2");
    G->SetGridCell(HiddenRealCol, 1, "  padded ");
    G->TrimRect(0, 1, G->TotalColCount() - 1, 1);
    EXPECT_EQ(G->GetGridCell(HiddenRealCol, 1), "padded");
    G->InsertRowAt(2);
    EXPECT_EQ(G->RowCount(), 11);
    EXPECT_EQ(G->GetGridCell(HiddenRealCol, 2), "");
    EXPECT_EQ(G->GetGridCell(HiddenRealCol, 3), "2,3");
    G->RemoveRowAt(2);
    EXPECT_EQ(G->RowCount(), 10);
    EXPECT_EQ(G->GetGridCell(HiddenRealCol, 2), "2,3");
    G->OnGetDisplText = [](TObject*, int, int, QString& Value) { Value = "<" + Value + ">"; };
    EXPECT_EQ(G->GetFormattedCell(1, 1), "<1,1>");
    EXPECT_TRUE(G->FilterRowMatches(1));
    EXPECT_FALSE(G->HasCellBorders());
    G->OnGetCellBorder = [](TObject*, int, int, TPen*, TCellBorders&) {};
    EXPECT_TRUE(G->HasCellBorders());
    EXPECT_EQ(G->GetCellGraphicSize(1, 1), Point(0, 0));
}

} // namespace
