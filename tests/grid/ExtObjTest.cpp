// The grid's support lists and settings objects.
#include "grid/base/ExtObj.h"

#include "platform/gui/Controls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

QString U(const char* Utf8) { return QString::fromUtf8(Utf8); }

std::vector<int> Values(const TIntListCore& L) {
    std::vector<int> V;
    for (int I = 0; I < L.Count(); ++I) V.push_back(L.GetInteger(I));
    return V;
}

// Counts the change events of a list and the cell they name.
struct TChangeLog {
    int Count = 0;
    int Col = -1, Row = -1;
    TObject* Sender = nullptr;
    TImageChangeEvent Handler() {
        return [this](TObject* S, int C, int R) {
            ++Count;
            Sender = S;
            Col = C;
            Row = R;
        };
    }
};

TEST(IntList, ChangeEventsNameTheCell) {
    TIntList L(3, 7);
    TChangeLog Log;
    L.OnChange = Log.Handler();
    EXPECT_EQ(L.Add(5), 0);
    EXPECT_EQ(Log.Count, 1);
    EXPECT_EQ(Log.Sender, &L);
    EXPECT_EQ(Log.Col, 3);
    EXPECT_EQ(Log.Row, 7);
    L.Insert(0, 4); // silent
    EXPECT_EQ(Log.Count, 1);
    L.SetInteger(1, 6);
    L.DeleteValue(42); // absent: silent
    EXPECT_EQ(Log.Count, 2);
    L.DeleteValue(4);
    EXPECT_EQ(Log.Count, 3);
    EXPECT_EQ(Values(L), std::vector<int>({6}));
    L.Delete(0);
    EXPECT_EQ(Log.Count, 4);
    L.Add(1);
    L.Clear(); // silent
    EXPECT_EQ(Log.Count, 5);
    EXPECT_EQ(L.Count(), 0);
}

TEST(IntList, IndexOutOfBounds) {
    TIntList L(0, 0);
    L.Add(1);
    try {
        L.GetInteger(5);
        FAIL() << "no error";
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message(), U("List index out of bounds (5)"));
    }
    EXPECT_THROW(L.Delete(1), EListError);
    EXPECT_THROW(L.SetInteger(-1, 0), EListError);
    EXPECT_THROW(L.Insert(2, 0), EListError);
    L.Insert(1, 2); // at the end is fine
    EXPECT_EQ(Values(L), std::vector<int>({1, 2}));
}

TEST(IntList, StrValue) {
    TIntList L(0, 0);
    EXPECT_EQ(L.StrValue(), QString());
    L.Add(1);
    L.Add(-2);
    L.Add(30);
    EXPECT_EQ(L.StrValue(), U("1,-2,30"));
    EXPECT_TRUE(L.HasValue(-2));
    EXPECT_FALSE(L.HasValue(2));

    TChangeLog Log;
    L.OnChange = Log.Handler();
    L.SetStrValue(U("4, 5 6"));
    EXPECT_EQ(Values(L), std::vector<int>({4, 5, 6}));
    EXPECT_EQ(Log.Count, 3);
    L.SetStrValue(U("\"7\",8"));
    EXPECT_EQ(Values(L), std::vector<int>({7, 8}));
    EXPECT_THROW(L.SetStrValue(U("1,x,3")), EConvertError);
    EXPECT_EQ(Values(L), std::vector<int>({1})); // converted so far
}

TEST(SortIndexList, KeysAndText) {
    TSortIndexList L;
    L.AddIndex(3, false);
    L.AddIndex(1, true);
    EXPECT_EQ(L.SaveToString(), U("d3;u1"));
    EXPECT_EQ(L.FindIndex(3), 0);
    EXPECT_EQ(L.FindIndex(9), -1);
    EXPECT_FALSE(L.SortDirections(0));
    EXPECT_LT(L.GetInteger(0), 0); // a descending key is negative
    L.ToggleIndex(3);
    EXPECT_EQ(L.SaveToString(), U("u3;u1"));
    L.ToggleIndex(9); // none: nothing
    EXPECT_EQ(L.SaveToString(), U("u3;u1"));
    L.SetSortDirections(1, false);
    L.SetSortColumns(1, 4);
    EXPECT_EQ(L.SaveToString(), U("u3;d4"));
    EXPECT_EQ(L.SortColumns(1), 4);
    EXPECT_EQ(L.FindIndex(4), 1);

    TSortIndexList Big;
    Big.AddIndex(65536 + 2, false);
    EXPECT_EQ(Big.SaveToString(), U("d2")); // columns above 65535 wrap
    EXPECT_EQ(Big.SortColumns(0), 65538);
}

TEST(SortIndexList, LoadFromString) {
    struct Case {
        const char* Text;
        const char* Saved;
    };
    const Case Cases[] = {
        {"u2;;x;d10;", "u2;d10"},
        {"U5", "d5"}, // only a lower-case u is ascending
        {"u12abc;d$1F", "u12;d31"},
        {"u 7;u-0;ux10", "u7;u0;u16"},
        {"", ""},
        {";;;", ""},
        {"q", ""},
    };
    for (const Case& C : Cases) {
        TSortIndexList L;
        L.AddIndex(99, true);
        TChangeLog Log;
        L.OnChange = Log.Handler();
        L.LoadFromString(U(C.Text));
        EXPECT_EQ(L.SaveToString(), U(C.Saved)) << C.Text;
        EXPECT_EQ(Log.Count, L.Count()) << C.Text; // one event per key, none for the clearing
    }
}

TEST(HandleList, SameOperationsWithoutCell) {
    THandleList L;
    L.Add(10);
    L.Add(20);
    L.Insert(1, 15);
    L.SetInteger(0, 5);
    L.DeleteValue(20);
    L.DeleteValue(99);
    EXPECT_EQ(Values(L), std::vector<int>({5, 15}));
    L.Delete(0);
    EXPECT_TRUE(L.HasValue(15));
    EXPECT_THROW(L.Delete(3), EListError);
}

TEST(ControlList, FirstItemOfACellWins) {
    TControlList L;
    L.AddControl(1, 2, nullptr);
    L.AddControl(3, 4, nullptr);
    L.AddControl(1, 2, nullptr);
    EXPECT_EQ(L.ControlIndex(1, 2), 0);
    EXPECT_EQ(L.ControlIndex(3, 4), 1);
    EXPECT_EQ(L.ControlIndex(2, 1), -1);
    EXPECT_EQ(L.Controls(1)->FX, 3);
    L.RemoveControl(0);
    EXPECT_EQ(L.ControlIndex(1, 2), 1);
    EXPECT_EQ(L.Count(), 2);
    EXPECT_THROW(L.RemoveControl(2), EListError);
    EXPECT_THROW(L.Controls(-1), EListError);
    EXPECT_FALSE(L.HasHandle(0)); // no windowed control placed
}

TEST(ControlList, HasHandleAsksWindowedControlsOnly) {
    TWinControl Windowed(nullptr);
    TControl Plain(nullptr);
    TControlList L;
    L.AddControl(0, 0, &Plain);
    L.AddControl(1, 0, &Windowed);
    ASSERT_FALSE(Windowed.testAttribute(Qt::WA_WState_Created));
    EXPECT_FALSE(L.HasHandle(quintptr(-1)));
    // Asking has given the windowed control its window.
    EXPECT_TRUE(Windowed.testAttribute(Qt::WA_WState_Created));
    EXPECT_TRUE(L.HasHandle(quintptr(Windowed.winId())));
    L.RemoveControl(1); // the control itself stays
    EXPECT_FALSE(L.HasHandle(quintptr(Windowed.winId())));
}

TEST(FileStringList, PendingLineAndCursor) {
    TFileStringList L;
    L.Write(U("a"));
    L.Write(U("b"));
    L.WriteLn(U("c"));
    L.WriteLn(U("d"));
    ASSERT_EQ(L.Count(), 2);
    EXPECT_EQ(L.Get(0), U("abc"));
    EXPECT_EQ(L.Get(1), U("d"));
    L.Write(U("pending"));
    L.Reset();
    EXPECT_EQ(L.cache, QString());
    QString S;
    EXPECT_FALSE(L.Eof());
    L.ReadLn(S);
    EXPECT_EQ(S, U("abc"));
    EXPECT_FALSE(L.Eof());
    L.ReadLn(S);
    EXPECT_EQ(S, U("d"));
    EXPECT_TRUE(L.Eof());
    EXPECT_THROW(L.ReadLn(S), EListError);
}

// ---- settings objects ------------------------------------------------------------------------

struct TNotifyLog {
    int Count = 0;
    TObject* Sender = nullptr;
    TNotifyEvent Handler() {
        return [this](TObject* S) {
            ++Count;
            Sender = S;
        };
    }
};

TEST(SearchFooter, DefaultsAndDesignTexts) {
    TSearchFooter Run(nullptr, false);
    EXPECT_TRUE(Run.ShowFindPrev());
    EXPECT_TRUE(Run.ShowFindNext());
    EXPECT_EQ(Run.ColorTo(), clBtnFace);
    EXPECT_EQ(Run.Color(), clWhite);
    EXPECT_FALSE(Run.Visible());
    EXPECT_TRUE(Run.ShowClose());
    EXPECT_TRUE(Run.AutoSearch());
    EXPECT_EQ(Run.SearchColumn(), -1);
    EXPECT_EQ(Run.SearchDirection(), sdTopBottom);
    EXPECT_EQ(Run.FindNextCaption(), QString());
    EXPECT_EQ(Run.HintHighlight(), QString());
    ASSERT_NE(Run.Font(), nullptr);

    TSearchFooter Design(nullptr, true);
    EXPECT_EQ(Design.FindPrevCaption(), U("Find &previous"));
    EXPECT_EQ(Design.FindNextCaption(), U("Find &next"));
    EXPECT_EQ(Design.MatchCaseCaption(), U("Match case"));
    EXPECT_EQ(Design.HighLightCaption(), U("Highlight"));
    EXPECT_EQ(Design.HintClose(), U("Close"));
    EXPECT_EQ(Design.HintFindNext(), U("Find next occurrence"));
    EXPECT_EQ(Design.HintFindPrev(), U("Find previous occurrence"));
    EXPECT_EQ(Design.HintHighlight(), U("Highlight occurrences"));
}

TEST(SearchFooter, ChangeEvents) {
    TSearchFooter F(nullptr, false);
    TNotifyLog Log;
    F.OnChange = Log.Handler();
    F.SetShowClose(true); // same value, still an event
    EXPECT_EQ(Log.Count, 1);
    EXPECT_EQ(Log.Sender, &F);
    F.SetShowFindNext(true); // same value, no event
    F.SetVisible(false);
    F.SetShowMatchCase(true);
    EXPECT_EQ(Log.Count, 1);
    F.SetShowFindNext(false);
    F.SetColor(clWhite);
    F.SetHintClose(U("x"));
    F.SetAutoThemeAdapt(false);
    EXPECT_EQ(Log.Count, 5);
    F.SetSearchColumn(2); // plain
    F.SetAutoSearch(false);
    EXPECT_EQ(Log.Count, 5);
    TFont Other;
    Other.SetName(U("Arial"));
    TFont* Own = F.Font();
    F.SetFont(&Other);
    EXPECT_EQ(Log.Count, 6);
    EXPECT_EQ(F.Font(), Own); // copied into, never replaced
    EXPECT_EQ(F.Font()->Name(), U("Arial"));
}

TEST(SearchFooter, AssignCopiesItsOwnClassOnly) {
    TSearchFooter Source(nullptr, true);
    Source.SetShowFindPrev(false);
    Source.SetColor(clInfoBk);
    Source.SetVisible(true);
    Source.SetSearchColumn(4);
    Source.SetSearchDirection(sdLeftRight);
    Source.SetSearchHiddenRows(true);
    Source.SetAlwaysHighLight(true);
    Source.SetAutoSearch(false);
    Source.SetSearchFixedCells(true);
    Source.SetAutoThemeAdapt(true);
    Source.SetLastSearch(U("abc"));
    Source.Font()->SetName(U("Arial"));

    TSearchFooter Target(nullptr, false);
    TNotifyLog Log;
    Target.OnChange = Log.Handler();
    Target.Assign(&Source);
    EXPECT_EQ(Log.Count, 0);
    EXPECT_FALSE(Target.ShowFindPrev());
    EXPECT_EQ(Target.Color(), clInfoBk);
    EXPECT_TRUE(Target.Visible());
    EXPECT_EQ(Target.SearchColumn(), 4);
    EXPECT_EQ(Target.SearchDirection(), sdLeftRight);
    EXPECT_TRUE(Target.SearchHiddenRows());
    EXPECT_TRUE(Target.AlwaysHighLight());
    EXPECT_EQ(Target.FindNextCaption(), U("Find &next"));
    EXPECT_EQ(Target.HintHighlight(), U("Highlight occurrences"));
    EXPECT_EQ(Target.Font()->Name(), U("Arial"));
    // Not copied:
    EXPECT_TRUE(Target.AutoSearch());
    EXPECT_FALSE(Target.SearchFixedCells());
    EXPECT_FALSE(Target.AutoThemeAdapt());
    EXPECT_EQ(Target.LastSearch(), QString());

    TBands Other;
    Target.Assign(&Other); // another class: ignored silently
    EXPECT_TRUE(Target.Visible());
    Target.Assign(nullptr);
    EXPECT_EQ(Target.SearchColumn(), 4);
}

TEST(Navigation, DefaultsSettersAndAssign) {
    TNavigation N;
    EXPECT_FALSE(N.AllowInsertRow());
    EXPECT_TRUE(N.AllowClipboardColGrow());
    EXPECT_TRUE(N.EditSelectAll());
    EXPECT_TRUE(N.SkipFixedCells());
    EXPECT_TRUE(N.CopyHTMLTagsToClipboard());
    EXPECT_TRUE(N.AdvanceOnEnterLoop());
    EXPECT_TRUE(N.AdvanceSkipReadOnlyCells());
    EXPECT_EQ(N.AdvanceDirection(), adLeftRight);
    EXPECT_EQ(N.HomeEndKey(), heFirstLastColumn);
    EXPECT_EQ(N.ClipboardPasteAction(), paReplace);

    TNotifyLog Log;
    N.OnChange = Log.Handler();
    N.SetAdvanceInsert(false);
    N.SetAdvanceDirection(adLeftRight);
    EXPECT_EQ(Log.Count, 0);
    N.SetAdvanceInsert(true);
    N.SetAdvanceDirection(adTopBottom);
    EXPECT_EQ(Log.Count, 2);
    N.SetAdvanceAuto(true);
    EXPECT_TRUE(N.AdvanceOnEnter());
    N.SetAdvanceAuto(false);
    EXPECT_TRUE(N.AdvanceOnEnter());
    EXPECT_EQ(Log.Count, 2);

    TNavigation Source;
    Source.SetTabAdvanceDirection(adTopBottomInCol);
    Source.SetAdvanceDirection(adLeftRightInRow);
    Source.SetKeepScrollOnSort(true);
    Source.SetMoveRowOnSort(true);
    Source.SetSkipFixedCells(false);
    TNavigation Target;
    Target.OnChange = Log.Handler();
    Target.Assign(&Source);
    EXPECT_EQ(Log.Count, 2);
    EXPECT_EQ(Target.TabAdvanceDirection(), adTopBottomInCol);
    EXPECT_EQ(Target.AdvanceDirection(), adLeftRightInRow);
    EXPECT_TRUE(Target.MoveRowOnSort());
    EXPECT_FALSE(Target.SkipFixedCells());
    EXPECT_FALSE(Target.KeepScrollOnSort());
}

TEST(MouseActions, DisjunctSelectionAtRunAndDesignTime) {
    TMouseActions Run(nullptr);
    Run.SetDisjunctRowSelect(true);
    Run.SetDisjunctColSelect(true);
    EXPECT_TRUE(Run.DisjunctRowSelect());
    EXPECT_TRUE(Run.DisjunctColSelect());

    TMouseActions Design(nullptr);
    Design.OnIsDesigning = [](TObject*, bool& D) { D = true; };
    Design.SetDisjunctRowSelect(true);
    Design.SetDisjunctColSelect(true);
    EXPECT_FALSE(Design.DisjunctRowSelect());
    EXPECT_TRUE(Design.DisjunctColSelect());
    Design.SetDisjunctCellSelect(true);
    EXPECT_FALSE(Design.DisjunctColSelect());
    EXPECT_TRUE(Design.DisjunctCellSelect());
    Design.SetDisjunctRowSelect(false); // clearing touches nothing else
    EXPECT_TRUE(Design.DisjunctCellSelect());
}

TEST(MouseActions, SettersWithSideEffects) {
    TMouseActions M(nullptr);
    EXPECT_TRUE(M.PreciseNodeClick());
    EXPECT_TRUE(M.AutoSizeColOnDblClick());
    EXPECT_EQ(M.WheelAction(), waMoveSelection);
    EXPECT_EQ(M.FixedRowsEditor(), fceEdit);

    TNotifyLog Invalidate, Disable, Change;
    M.OnInvalidate = Invalidate.Handler();
    M.OnDisableEdit = Disable.Handler();
    M.OnChange = Change.Handler();
    M.SetHotmailRowSelect(false);
    EXPECT_EQ(Invalidate.Count, 1);
    EXPECT_FALSE(M.DisjunctRowSelect());
    M.SetHotmailRowSelect(true);
    EXPECT_EQ(Invalidate.Count, 2);
    EXPECT_TRUE(M.DisjunctRowSelect());
    EXPECT_TRUE(M.CheckAllCheck());

    M.SetEditOnDblClickOnly(false);
    EXPECT_EQ(Disable.Count, 0);
    M.SetEditOnDblClickOnly(true);
    EXPECT_EQ(Disable.Count, 1);

    M.SetWheelAction(waMoveSelection);
    EXPECT_EQ(Change.Count, 0);
    M.SetWheelAction(waScroll);
    EXPECT_EQ(Change.Count, 1);
    EXPECT_EQ(Change.Sender, &M);

    TStringList Lines;
    Lines.Add(U("a"));
    Lines.Add(U("b"));
    TStrings* Own = M.FixedComboValues();
    M.SetFixedComboValues(&Lines);
    EXPECT_EQ(M.FixedComboValues(), Own);
    EXPECT_EQ(M.FixedComboValues()->Text(), U("a\r\nb\r\n"));
}

TEST(MouseActions, AssignLeavesFourOptions) {
    TMouseActions Source(nullptr);
    Source.SetRowSelect(true);
    Source.SetWheelIncrement(3);
    Source.SetWheelAction(waScroll);
    Source.SetFixedColsEdit(fceDblClick);
    Source.SetPreciseNodeClick(false);
    Source.SetSizeFixedRow(true);
    Source.SetHotmailRowSelect(true);
    Source.SetEditOnDblClickOnly(true);
    Source.FixedComboValues()->Add(U("x"));

    TMouseActions Target(nullptr);
    TNotifyLog Log;
    Target.OnChange = Log.Handler();
    Target.OnInvalidate = Log.Handler();
    Target.Assign(&Source);
    EXPECT_EQ(Log.Count, 0);
    EXPECT_TRUE(Target.RowSelect());
    EXPECT_EQ(Target.WheelIncrement(), 3);
    EXPECT_EQ(Target.WheelAction(), waScroll);
    EXPECT_EQ(Target.FixedColsEdit(), fceDblClick);
    EXPECT_FALSE(Target.PreciseNodeClick());
    EXPECT_TRUE(Target.DisjunctRowSelect()); // set through HotmailRowSelect, copied itself
    EXPECT_FALSE(Target.SizeFixedRow());
    EXPECT_FALSE(Target.HotmailRowSelect());
    EXPECT_FALSE(Target.EditOnDblClickOnly());
    EXPECT_EQ(Target.FixedComboValues()->Count(), 0);
    TNavigation Other;
    Target.Assign(&Other);
    EXPECT_TRUE(Target.RowSelect());
}

TEST(Bands, LengthsColoursAndAssign) {
    TBands B;
    EXPECT_FALSE(B.Active());
    EXPECT_EQ(B.PrimaryColor(), clInfoBk);
    EXPECT_EQ(B.SecondaryColor(), clWindow);
    EXPECT_EQ(B.TotalLength(), 2);
    TNotifyLog Log;
    B.OnChange = Log.Handler();
    B.SetPrimaryLength(3);
    B.SetPrimaryColor(clWhite);
    EXPECT_EQ(B.TotalLength(), 4);
    EXPECT_EQ(Log.Count, 0); // inactive: silent
    B.SetActive(true);
    B.SetActive(true);
    EXPECT_EQ(Log.Count, 1);
    B.SetSecondaryLength(2);
    B.SetSecondaryColor(clWhite);
    B.SetSecondaryColor(clWhite);
    EXPECT_EQ(Log.Count, 3);
    EXPECT_EQ(B.TotalLength(), 5);
    EXPECT_THROW(B.SetPrimaryLength(0), ERangeError);
    EXPECT_THROW(B.SetSecondaryLength(-1), ERangeError);
    EXPECT_EQ(B.TotalLength(), 5);

    TBands Source;
    Source.SetPrimaryLength(2);
    Source.SetSecondaryLength(5);
    Source.SetPrint(true);
    TBands Target;
    Target.OnChange = Log.Handler();
    Target.Assign(&Source);
    EXPECT_EQ(Target.TotalLength(), 7);
    EXPECT_TRUE(Target.Print());
    EXPECT_EQ(Log.Count, 3);
    TSearchFooter Other(nullptr, false);
    Target.Assign(&Other);
    EXPECT_EQ(Target.TotalLength(), 7);
}

} // namespace
