// The string grid's construction, defaults, sizing, form chaining, loading and lifetime.
#include "grid/control/ExtGrid.h"
#include "platform/gui/Forms.h"
#include "tests/support/QtPrint.h"

#include <QApplication>
#include <QStyle>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// ---- defaults ----------------------------------------------------------------------------------------
struct TDefaultCase {
    const char* Name;
    std::function<QString(TExtStringGrid&)> Get;
    QString Expected;
};

QString B(bool V) { return V ? "true" : "false"; }
QString N(long long V) { return QString::number(V); }
QString C(TColor V) { return QString::number(unsigned(V), 16); }

class Defaults : public ::testing::TestWithParam<TDefaultCase> {};

TEST_P(Defaults, NewGridHasTheValue) {
    TExtStringGrid G(nullptr);
    EXPECT_EQ(GetParam().Get(G), GetParam().Expected);
}

#define DEF(Name, Expr, Expected)                                                                                      \
    TDefaultCase {                                                                                                     \
#Name, [](TExtStringGrid & G) { return Expr; }, Expected                                                       \
    }

INSTANTIATE_TEST_SUITE_P(
    Cases, Defaults,
    ::testing::Values(
        DEF(ColCount, N(G.ColCount()), "5"), DEF(RowCount, N(G.RowCount()), "10"),
        DEF(FixedCols, N(G.FixedCols()), "1"), DEF(FixedRows, N(G.FixedRows()), "1"),
        DEF(FixedRightCols, N(G.FixedRightCols()), "0"), DEF(FixedFooters, N(G.FixedFooters()), "0"),
        DEF(DefaultRowHeight, N(G.DefaultRowHeight()), "22"), DEF(FixedRowHeight, N(G.FixedRowHeight()), "22"),
        DEF(FixedColWidth, N(G.ColWidths(0)), "64"), DEF(Width, N(G.Width()), "400"), DEF(Height, N(G.Height()), "250"),
        DEF(FixedRowAlways, B(G.FixedRowAlways()), "false"), DEF(IntegralHeight, B(G.IntegralHeight()), "false"),
        DEF(AutoSize, B(G.AutoSize()), "false"), DEF(SizeWithForm, B(G.SizeWithForm()), "false"),
        DEF(WordWrap, B(G.WordWrap()), "true"), DEF(Multilinecells, B(G.Multilinecells()), "false"),
        DEF(DefaultAlignment, N(G.DefaultAlignment()), "0"), DEF(VAlignment, N(G.VAlignment()), "0"),
        DEF(EnableHTML, B(G.EnableHTML()), "true"), DEF(FloatFormat, G.FloatFormat(), "%.2f"),
        DEF(ValidChars, G.ValidChars(), ""), DEF(DefaultEditor, N(G.DefaultEditor()), "0"),
        DEF(MaxEditLength, N(G.MaxEditLength()), "0"), DEF(InvalidEntryIcon, N(G.InvalidEntryIcon()), N(ieWarning)),
        DEF(ActiveCellShow, B(G.ActiveCellShow()), "false"), DEF(ActiveCellColor, C(G.ActiveCellColor()), C(clGray)),
        DEF(ActiveCellColorTo, C(G.ActiveCellColorTo()), C(clNone)),
        DEF(ActiveCellFontBold, B(G.ActiveCellFont()->Style().Contains(fsBold)), "true"),
        DEF(BorderColor, C(G.BorderColor()), "b99d7f"), DEF(DisabledFontColor, C(G.DisabledFontColor()), C(clSilver)),
        DEF(HighlightColor, C(G.HighlightColor()), C(clHighlight)), DEF(HintColor, C(G.HintColor()), C(clInfoBk)),
        DEF(URLColor, C(G.URLColor()), C(clBlue)), DEF(FixedFontName, G.FixedFont()->Name(), "Tahoma"),
        DEF(FixedFontBold, B(G.FixedFont()->Style().Contains(fsBold)), "true"), DEF(Look, N(G.Look()), N(glXP)),
        DEF(HoverFixedCells, N(G.HoverFixedCells()), N(hfNone)), DEF(ShowSelection, B(G.ShowSelection()), "true"),
        DEF(SelectionColor, C(G.SelectionColor()), "eacab6"),
        DEF(SelectionTextColor, C(G.SelectionTextColor()), C(clBlack)),
        DEF(SelectionColorMixerFactor, N(G.SelectionColorMixerFactor()), "50"),
        DEF(ScrollBars, N(G.ScrollBars()), N(ssBoth)), DEF(ScrollType, N(G.ScrollType()), N(ssNormal)),
        DEF(ScrollWidth, N(G.ScrollWidth()), N(QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent))),
        DEF(EnableWheel, B(G.EnableWheel()), "true"), DEF(IntelliPan, N(G.IntelliPan()), N(ipVertical)),
        DEF(UseInternalHintClass, B(G.UseInternalHintClass()), "true"),
        DEF(FilterNormalCellsOnly, B(G.FilterNormalCellsOnly()), "true"),
        DEF(FilterDropDownClear, G.FilterDropDownClear(), "(All)"), DEF(EnhRowColMove, B(G.EnhRowColMove()), "true"),
        DEF(ShowDesignHelper, B(G.ShowDesignHelper()), "true"), DEF(Version, G.Version(), "6.2.1.3"),
        DEF(CheckTrue, G.CheckTrue(), "Y"), DEF(CheckFalse, G.CheckFalse(), "N"),
        DEF(PasswordChar, QString(G.PasswordChar()), "*"),
        DEF(XYOffset, N(G.XYOffset().x()) + "," + N(G.XYOffset().y()), "2,2"),
        DEF(XMLEncoding, G.XMLEncoding(), "ISO-8859-1"), DEF(QuoteEmptyCells, B(G.QuoteEmptyCells()), "true"),
        DEF(SaveFixedCells, B(G.SaveFixedCells()), "true"), DEF(SaveHiddenCells, B(G.SaveHiddenCells()), "false"),
        DEF(ShowNullDates, B(G.ShowNullDates()), "true"), DEF(NumHiddenColumns, N(G.NumHiddenColumns()), "0"),
        DEF(NumHiddenRows, N(G.NumHiddenRows()), "0"), DEF(FilterLevel, N(G.FilterLevel()), "0"),
        DEF(ComponentStyle, N(G.ComponentStyle()), N(tsWindowsXP)),
        DEF(IgnoredColumns, N(G.IgnoredColumns()->Count()), "0")),
    [](const ::testing::TestParamInfo<TDefaultCase>& I) { return std::string(I.param.Name); });

#undef DEF

TEST(ExtGridCore, VersionCannotBeWritten) {
    TExtStringGrid G(nullptr);
    G.SetVersion("1.0.0.0");
    EXPECT_EQ(G.Version(), "6.2.1.3");
}

// ---- sizing ---------------------------------------------------------------------------------------------
// The grid keeps one word-wrap setting: set through the base grid it is the string grid's too,
// and new cell records start with it.
TEST(ExtGridCore, WordWrapIsOneSettingWhicheverClassSetsIt) {
    TExtStringGrid G(nullptr);
    TBaseGrid& Base = G;
    Base.SetWordWrap(false);
    EXPECT_FALSE(G.WordWrap());
    G.SetWordWrap(true);
    EXPECT_TRUE(Base.WordWrap());
}

TEST(ExtGridCore, IntegralHeightMakesTheRowsFillTheClientArea) {
    TExtStringGrid G(nullptr);
    G.SetIntegralHeight(true);
    G.SetBounds(0, 0, 400, 250); // single border, all columns fit
    EXPECT_EQ(G.Height(), 246);

    G.SetColCount(12); // columns no longer fit: the horizontal bar's height counts
    G.SetBounds(0, 0, 400, 250);
    const int s = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int Inner = 250 - s - 2;
    EXPECT_EQ(G.Height(), s + Inner - Inner % 22 + 4);

    G.SetIntegralHeight(false);
    G.SetBounds(0, 0, 400, 250);
    EXPECT_EQ(G.Height(), 250);
}

// ---- the owner form -----------------------------------------------------------------------------------
TEST(ExtGridCore, GridOnAFormFollowsItsResizeAndLeavesTheFormsHandler) {
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    int FormResizes = 0;
    Form->OnResize = [&](TObject*) { ++FormResizes; };
    auto* G = new TExtStringGrid(Form);
    G->SetParent(Form);
    G->SetSizeWithForm(true);
    EXPECT_EQ(G->ResizeForm(), Form);
    Form->Show();
    QApplication::processEvents();
    const int Before = FormResizes;
    Form->SetBounds(0, 0, 650, 430);
    QApplication::processEvents();
    EXPECT_EQ(G->Width(), 450);
    EXPECT_EQ(G->Height(), 280);
    EXPECT_GT(FormResizes, Before); // the form's own handler still runs

    delete G;
    const int AfterGrid = FormResizes;
    Form->SetBounds(0, 0, 700, 450); // nothing left that points at the grid
    QApplication::processEvents();
    EXPECT_GT(FormResizes, AfterGrid);
    delete Form;
}

TEST(ExtGridCore, GridOwnedByAnythingElseLeavesTheOwnerAlone) {
    TComponent Owner(nullptr);
    auto* G = new TExtStringGrid(&Owner);
    EXPECT_EQ(G->ResizeForm(), nullptr);
    delete G;
}

// ---- loading -----------------------------------------------------------------------------------------
TEST(ExtGridCore, LoadingTurnsAlwaysShowEditorIntoAlwaysEdit) {
    TExtStringGrid G(nullptr);
    TGridOptions O = G.Options();
    O << goAlwaysShowEditor;
    G.SetOptions(O);
    G.Loaded();
    EXPECT_FALSE(G.Options().Contains(goAlwaysShowEditor));
    EXPECT_TRUE(G.Navigation()->AlwaysEdit());
    EXPECT_TRUE(G.GridLoaded());
}

TEST(ExtGridCore, LoadingShowsTheHeaders) {
    TExtStringGrid G(nullptr);
    G.ColumnHeaders()->Add("A");
    G.SetCells(0, 0, "");
    G.Loaded();
    EXPECT_EQ(G.Cells(0, 0), "A");
}

// ---- notifiers, focus window, cell fonts ----------------------------------------------------------------
TEST(ExtGridCore, NotifiersAreKeptOnceAndForgottenWhenDestroyed) {
    TExtStringGrid G(nullptr);
    auto* N1 = new TGridChangeNotifier(nullptr);
    TGridChangeNotifier N2(nullptr);
    G.RegisterNotifier(N1);
    G.RegisterNotifier(N1);
    G.RegisterNotifier(&N2);
    EXPECT_EQ(G.NotifierCount(), 2);
    TGridChangeNotifier Unknown(nullptr);
    G.UnRegisterNotifier(&Unknown);
    EXPECT_EQ(G.NotifierCount(), 2);
    delete N1;
    ASSERT_EQ(G.NotifierCount(), 1);
    EXPECT_EQ(G.Notifiers(0), &N2);
    G.UnRegisterNotifier(&N2);
    EXPECT_EQ(G.NotifierCount(), 0);
}

TEST(ExtGridCore, TheFocusWindowGridIsForgottenWithTheGrid) {
    auto* G = new TExtStringGrid(nullptr);
    G->SetFocusWindowShown(true);
    EXPECT_EQ(GridWithFocusWindow, G);
    delete G;
    EXPECT_EQ(GridWithFocusWindow, nullptr);
}

TEST(ExtGridCore, CellFontIsTheCallersOwnCopy) {
    TExtStringGrid G(nullptr);
    G.HideColumn(2);
    G.Font()->SetName("Arial");
    TCellProperties* P = G.GetCellProperties(3, 1);
    P->SetFontName("Verdana");
    P->SetFontSize(14);
    P->SetFontColor(clRed);
    P->SetFontStyle({fsItalic});
    auto Styled = G.GetCellFont(3, 1);
    auto Plain = G.GetCellFont(1, 1);
    EXPECT_EQ(Styled->Name(), "Verdana");
    EXPECT_EQ(Styled->Size(), 14);
    EXPECT_EQ(Styled->Color(), clRed);
    EXPECT_TRUE(Styled->Style().Contains(fsItalic));
    EXPECT_EQ(Plain->Name(), "Arial");
    EXPECT_NE(Styled.get(), G.Font());
}

// ---- assignment -----------------------------------------------------------------------------------------
TEST(ExtGridCore, AssignCopiesSettingsCountsAndCells) {
    TExtStringGrid Src(nullptr);
    Src.SetColCount(7);
    Src.SetRowCount(4);
    Src.SetColWidths(3, 91);
    Src.SetCells(5, 2, "five two");
    Src.Navigation()->SetAdvanceOnEnter(true);
    Src.DragScrollOptions()->SetActive(true);
    Src.DragScrollOptions()->Margins.TopMargin = 7;
    Src.DragScrollOptions()->Delays.RepeatDelay = 9;
    TExtStringGrid Dst(nullptr);
    Dst.Assign(&Src);
    EXPECT_EQ(Dst.ColCount(), 7);
    EXPECT_EQ(Dst.RowCount(), 4);
    EXPECT_EQ(Dst.ColWidths(3), 91);
    EXPECT_EQ(Dst.Cells(5, 2), "five two");
    EXPECT_TRUE(Dst.Navigation()->AdvanceOnEnter());
    EXPECT_TRUE(Dst.DragScrollOptions()->Active());
    EXPECT_EQ(Dst.DragScrollOptions()->Margins.TopMargin, 7);
    EXPECT_EQ(Dst.DragScrollOptions()->Delays.RepeatDelay, 9);

    TStringList NotAGrid;
    Dst.Assign(&NotAGrid);
    Dst.AssignCells(&NotAGrid);
    EXPECT_EQ(Dst.Cells(5, 2), "five two");
}

TEST(ExtGridCore, AssignAppliesTheScrollSettingsAndFixedSizesThroughTheirSetters) {
    TExtStringGrid Src(nullptr);
    Src.HideColumn(2);
    Src.SetScrollType(ssFlat);
    Src.SetScrollColor(clRed);
    Src.SetScrollWidth(11);
    Src.SetFixedRowHeight(30);
    TExtStringGrid Dst(nullptr);
    Dst.Assign(&Src);
    EXPECT_EQ(Dst.ScrollType(), ssFlat);
    EXPECT_TRUE(Dst.FlatScroll()); // the flat scroll bars are set up, not only the field copied
    EXPECT_EQ(Dst.ScrollColor(), clRed);
    EXPECT_EQ(Dst.ScrollWidth(), 11);
    EXPECT_EQ(Dst.FixedRowHeight(), 30);
    EXPECT_EQ(Dst.RowHeights(0), 30);
}

TEST(ExtGridCore, ACellBeyondTheSheetIsNotEditable) {
    TExtStringGrid G(nullptr);
    G.HideColumn(1);
    G.SetEditText(4, 2, "beyond"); // display columns 0..3
    G.SetEditText(1, 10, "beyond");
    EXPECT_EQ(G.Cells(4, 2), "");
    EXPECT_EQ(G.Cells(5, 2), "");
    EXPECT_EQ(G.Cells(2, 10), "");
    EXPECT_EQ(G.GetEditText(7, 1), "");
}

} // namespace

namespace {

TEST(ExtGridUnit, FindParentFormWalksUpToTheForm) {
    auto* Form = new TForm(nullptr);
    auto* G = new TExtStringGrid(Form);
    G->SetParent(Form);
    EXPECT_EQ(FindParentForm(G), Form);
    EXPECT_EQ(FindParentForm(Form), Form);
    TExtStringGrid Loose(nullptr);
    EXPECT_EQ(FindParentForm(&Loose), nullptr);
    MakeWindowTransparent(G);
    EXPECT_TRUE(G->testAttribute(Qt::WA_TransparentForMouseEvents));
    delete Form;
}

TEST(ExtGridUnit, SelectionListenerIsHeldUntilUnregistered) {
    TExtStringGrid G(nullptr);
    auto L = std::make_shared<ITExtStringGridSelect>();
    G.RegisterSelListener(L);
    EXPECT_EQ(G.SelListener(), L.get());
    G.UnRegisterSelListener(nullptr); // whatever the argument
    EXPECT_EQ(G.SelListener(), nullptr);
    EXPECT_EQ(L.use_count(), 1);
}

} // namespace

namespace {

TEST(ExtGridUnit, StoringStretchStretchesTheColumnAtOnceWhenTheGridIsPlaced) {
    TExtStringGrid Loose(nullptr);
    Loose.ColumnSize()->SetStretch(true); // no parent yet: nothing to stretch against
    EXPECT_EQ(Loose.ColWidths(4), 64);

    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    auto* G = new TExtStringGrid(Form);
    G->SetParent(Form);
    G->HideColumn(1);
    G->ColumnSize()->SetStretch(true);
    int Sum = 0;
    for (int DisplCol = 0; DisplCol < G->ColCount(); ++DisplCol) Sum += G->ColWidths(DisplCol);
    EXPECT_GT(G->ColWidths(G->ColCount() - 1), 64);
    EXPECT_EQ(Sum, G->ClientWidth() - 1);
    delete Form;
}

} // namespace

namespace {

TEST(ExtGridUnit, WindowCreationMakesTheMetroControlsAndStartsTheGridTimer) {
    auto* Form = new TForm(nullptr);
    auto* G = new TExtStringGrid(Form);
    G->SetScrollType(ssMetro);
    G->SetParent(Form);
    EXPECT_NE(G->MetroScrollControl(0), nullptr);
    EXPECT_NE(G->MetroScrollControl(1), nullptr);
    EXPECT_TRUE(G->TimerActive(111));
    EXPECT_EQ(G->FooterPanel()->Parent(), G);
    EXPECT_EQ(G->SearchPanel()->Parent(), G);
    delete Form;
}

TEST(ExtGridUnit, WindowCreationTakesTheSystemsWheelLines) {
    TForm Form(nullptr);
    auto* G = new TExtStringGrid(&Form);
    G->HideColumn(1);
    EXPECT_EQ(G->WheelScrollLines(), 0);
    G->SetParent(&Form);
    const int Lines = Mouse->WheelScrollLines();
    EXPECT_EQ(G->WheelScrollLines(), Lines == -1 ? G->VisibleRowCount() : Lines);
    EXPECT_GT(G->WheelScrollLines(), 0);
}

} // namespace
