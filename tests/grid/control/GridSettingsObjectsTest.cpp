// The grid's settings objects: what each Assign copies (one table for every class), their
// starting values and the notifications of their setters.
#include "grid/control/ExtGrid.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// ---- Assign rules --------------------------------------------------------------------------------------
enum TAssignOutcome { aoCopied, aoKept, aoNoChange };

struct AssignCase {
    const char* Name;
    std::function<TAssignOutcome()> Run;
    TAssignOutcome Expected;
};

void PrintTo(const AssignCase& C, std::ostream* Os) { *Os << C.Name; }

// Sets one property of a source to a value a new object does not have, assigns the source to a
// new object and tells whether the value arrived.
#define ASSIGN_CASE(Class, Prop, Value, Expected)                                                                      \
    AssignCase {                                                                                                       \
#Class "_" #Prop,                                                                                              \
            [] {                                                                                                       \
                Class Src, Dst;                                                                                        \
                Src.Set##Prop(Value);                                                                                  \
                if (Dst.Prop() == Src.Prop()) return aoNoChange;                                                       \
                Dst.Assign(&Src);                                                                                      \
                return Dst.Prop() == Src.Prop() ? aoCopied : aoKept;                                                   \
            },                                                                                                         \
            Expected       \
    }

class AssignRules : public ::testing::TestWithParam<AssignCase> {};

TEST_P(AssignRules, CopyOrKeep) { EXPECT_EQ(GetParam().Run(), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(
    Objects, AssignRules,
    ::testing::Values(
        // background: everything
        ASSIGN_CASE(TBackGround, Top, 4, aoCopied), ASSIGN_CASE(TBackGround, Left, 5, aoCopied),
        ASSIGN_CASE(TBackGround, Display, bdGradientVert, aoCopied), ASSIGN_CASE(TBackGround, Cells, bcAll, aoCopied),
        ASSIGN_CASE(TBackGround, Color, clRed, aoCopied), ASSIGN_CASE(TBackGround, ColorTo, clRed, aoCopied),
        // grouping: the look and the switches, not the lines or Summary
        ASSIGN_CASE(TGrouping, MergeHeader, true, aoCopied), ASSIGN_CASE(TGrouping, MergeSummary, true, aoCopied),
        ASSIGN_CASE(TGrouping, HeaderColor, clRed, aoCopied), ASSIGN_CASE(TGrouping, HeaderColorTo, clRed, aoCopied),
        ASSIGN_CASE(TGrouping, HeaderTextColor, clRed, aoCopied),
        ASSIGN_CASE(TGrouping, HeaderUnderline, true, aoCopied), ASSIGN_CASE(TGrouping, HeaderLineColor, clRed, aoKept),
        ASSIGN_CASE(TGrouping, HeaderLineWidth, 5, aoKept), ASSIGN_CASE(TGrouping, Summary, true, aoKept),
        ASSIGN_CASE(TGrouping, SummaryColor, clRed, aoCopied), ASSIGN_CASE(TGrouping, SummaryColorTo, clRed, aoCopied),
        ASSIGN_CASE(TGrouping, SummaryTextColor, clRed, aoCopied), ASSIGN_CASE(TGrouping, SummaryLine, true, aoCopied),
        ASSIGN_CASE(TGrouping, SummaryLineColor, clRed, aoKept), ASSIGN_CASE(TGrouping, SummaryLineWidth, 5, aoKept),
        ASSIGN_CASE(TGrouping, ShowGroupCount, true, aoCopied),
        ASSIGN_CASE(TGrouping, GroupCountFormat, QString("(%d)"), aoCopied),
        ASSIGN_CASE(TGrouping, AutoSelectGroup, true, aoCopied), ASSIGN_CASE(TGrouping, AutoCheckGroup, true, aoCopied),
        // drag and drop: everything
        ASSIGN_CASE(TDragDropSettings, OleAcceptText, false, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleEntireRows, true, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleDropSource, true, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleRemoveRows, true, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleAcceptFiles, false, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleAcceptURLs, false, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleDropTarget, true, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleInsertRows, true, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleAppendRows, true, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleCopyAlways, true, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleColumnDragDrop, true, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleColumnReorder, true, aoCopied),
        ASSIGN_CASE(TDragDropSettings, OleColumnsOnly, true, aoCopied),
        ASSIGN_CASE(TDragDropSettings, ShowCells, false, aoCopied),
        // balloons: all but the transparency
        ASSIGN_CASE(TBalloonSettings, BackgroundColor, clRed, aoCopied),
        ASSIGN_CASE(TBalloonSettings, TextColor, clRed, aoCopied),
        ASSIGN_CASE(TBalloonSettings, ReshowDelay, 7, aoCopied),
        ASSIGN_CASE(TBalloonSettings, InitialDelay, 7, aoCopied),
        ASSIGN_CASE(TBalloonSettings, AutoHideDelay, 7, aoCopied),
        ASSIGN_CASE(TBalloonSettings, Enable, true, aoCopied),
        ASSIGN_CASE(TBalloonSettings, Transparency, uint8_t(9), aoKept),
        // modified marking
        ASSIGN_CASE(TShowModified, Enabled, true, aoCopied), ASSIGN_CASE(TShowModified, Color, clRed, aoCopied),
        // drag scrolling
        ASSIGN_CASE(TDragScrollOptions, Active, true, aoCopied),
        // progress bars: everything
        ASSIGN_CASE(TGridProgressAppearance, CompleteColor, clGreen, aoCopied),
        ASSIGN_CASE(TGridProgressAppearance, UnCompleteFontColor, clGreen, aoCopied),
        ASSIGN_CASE(TGridProgressAppearance, Level3ColorTo, clGreen, aoCopied),
        ASSIGN_CASE(TGridProgressAppearance, Level2Perc, 95, aoCopied),
        ASSIGN_CASE(TGridProgressAppearance, Stacked, true, aoCopied),
        ASSIGN_CASE(TGridProgressAppearance, Steps, 4, aoCopied),
        ASSIGN_CASE(TGridProgressAppearance, Style, psClassic, aoCopied),
        // look: every property, the five drawing switches too
        ASSIGN_CASE(TControlLook, CheckSize, 20, aoCopied), ASSIGN_CASE(TControlLook, ControlStyle, csWinXP, aoCopied),
        ASSIGN_CASE(TControlLook, CommentColor, clGreen, aoCopied),
        ASSIGN_CASE(TControlLook, DropDownCount, 3, aoCopied), ASSIGN_CASE(TControlLook, HintMaxWidth, 30, aoCopied),
        ASSIGN_CASE(TControlLook, FixedGradientDownMirrorTo, clGreen, aoCopied),
        ASSIGN_CASE(TControlLook, FixedGradientHoverBorder, clGreen, aoCopied),
        ASSIGN_CASE(TControlLook, FlatButton, true, aoCopied), ASSIGN_CASE(TControlLook, ProgressXP, true, aoCopied),
        ASSIGN_CASE(TControlLook, NoDisabledCheckRadioLook, true, aoCopied),
        ASSIGN_CASE(TControlLook, NoDisabledButtonLook, true, aoCopied),
        ASSIGN_CASE(TControlLook, FixedDropDownButton, true, aoCopied),
        // sorting: all but case and virtual cells
        ASSIGN_CASE(TSortSettings, Column, 3, aoCopied), ASSIGN_CASE(TSortSettings, Show, true, aoCopied),
        ASSIGN_CASE(TSortSettings, IgnoreCase, true, aoKept),
        ASSIGN_CASE(TSortSettings, SortOnVirtualCells, false, aoKept),
        // filter conditions: every property, the method too
        ASSIGN_CASE(TFilterData, Column, 3, aoCopied), ASSIGN_CASE(TFilterData, Condition, QString(">5"), aoCopied),
        ASSIGN_CASE(TFilterData, CaseSensitive, false, aoCopied),
        ASSIGN_CASE(TFilterData, Prefix, QString("$"), aoCopied),
        ASSIGN_CASE(TFilterData, Suffix, QString("%"), aoCopied), ASSIGN_CASE(TFilterData, Operation, foOR, aoCopied),
        ASSIGN_CASE(TFilterData, Data, fcRow, aoCopied), ASSIGN_CASE(TFilterData, Method, fmLiteral, aoCopied),
        // filter drop-down: all but AutoSize
        ASSIGN_CASE(TFilterDropDown, Color, clRed, aoCopied), ASSIGN_CASE(TFilterDropDown, ColumnWidth, true, aoCopied),
        ASSIGN_CASE(TFilterDropDown, Height, 200, aoCopied), ASSIGN_CASE(TFilterDropDown, Width, 200, aoCopied),
        ASSIGN_CASE(TFilterDropDown, AutoSize, true, aoKept)),
    [](const ::testing::TestParamInfo<AssignCase>& I) { return std::string(I.param.Name); });

TEST(GridSettingsObjects, AssignFromAnotherClassChangesNothing) {
    TGrouping Grouping;
    TShowModified Other;
    Other.SetEnabled(true);
    Grouping.SetMergeHeader(true);
    Grouping.Assign(&Other);
    EXPECT_TRUE(Grouping.MergeHeader());
    TBackGround Back;
    Back.Assign(&Grouping);
    EXPECT_EQ(Back.Color(), clWindow);
}

TEST(GridSettingsObjects, OwnedObjectsAreCopiedNotShared) {
    TBackGround Src, Dst;
    TBitmap B(4, 3);
    Src.SetBitmap(&B);
    Dst.Assign(&Src);
    EXPECT_EQ(Dst.Bitmap()->Width(), 4);
    EXPECT_NE(Dst.Bitmap(), Src.Bitmap());

    TDragScrollOptions So, Do;
    So.Margins.LeftMargin = 3;
    So.Delays.InitialDelay = 9;
    Do.Assign(&So);
    EXPECT_EQ(Do.Margins.LeftMargin, 3);
    EXPECT_EQ(Do.Delays.InitialDelay, 9);

    TFilterDropDown Fs, Fd;
    Fs.Font()->SetName("Arial");
    Fs.SetGlyphActive(&B);
    Fd.Assign(&Fs);
    EXPECT_EQ(Fd.Font()->Name(), "Arial");
    EXPECT_EQ(Fd.GlyphActive()->Width(), 4);
    EXPECT_NE(Fd.Font(), Fs.Font());
}

// ---- starting values -------------------------------------------------------------------------------------
TEST(GridSettingsObjects, NewObjectsStartWithTheirValues) {
    TBackGround Back;
    EXPECT_EQ(Back.ColorTo(), clBtnFace);
    TGrouping Grouping;
    EXPECT_EQ(Grouping.HeaderLineColor(), TColor(0xFF0000));
    EXPECT_EQ(Grouping.SummaryLineWidth(), 2);
    TDragDropSettings Drag;
    EXPECT_TRUE(Drag.OleAcceptText());
    EXPECT_TRUE(Drag.ShowCells());
    EXPECT_FALSE(Drag.OleDropTarget());
    TBalloonSettings Balloon;
    EXPECT_EQ(Balloon.InitialDelay(), -1);
    EXPECT_EQ(Balloon.BackgroundColor(), clNone);
    TShowModified Modified;
    EXPECT_EQ(Modified.Color(), TColor(0x00FFFF));
    TDragScrollOptions Scroll;
    EXPECT_EQ(Scroll.Delays.InitialDelay, 1000);
    EXPECT_EQ(Scroll.Delays.RepeatDelay, 250);
    EXPECT_EQ(Scroll.Margins.BottomMargin, 50);
    TGridProgressAppearance Progress;
    EXPECT_EQ(Progress.CompleteColor(), TColor(0x0000FF));
    EXPECT_EQ(Progress.CompleteFontColor(), TColor(0xFF0000));
    EXPECT_EQ(Progress.UnCompleteFontColor(), clWindowText);
    EXPECT_EQ(Progress.Level2Color(), TColor(0x53A9FF));
    EXPECT_EQ(Progress.Style(), psXP);
    TFilterDropDown Drop;
    EXPECT_EQ(Drop.Width(), 150);
    EXPECT_EQ(Drop.Height(), 150);
    EXPECT_EQ(Drop.Color(), clWindow);
}

// ---- notifications ---------------------------------------------------------------------------------------
TEST(GridSettingsObjects, BalloonEnableNotifiesEveryWrite) {
    TBalloonSettings B;
    int Fired = 0;
    B.OnEnableChange = [&](TObject*) { ++Fired; };
    B.SetEnable(true);
    B.SetEnable(true);
    EXPECT_EQ(Fired, 2);
}

TEST(GridSettingsObjects, ModifiedColourNotifiesAndEnabledDoesNot) {
    TShowModified M;
    int Fired = 0;
    M.OnChange = [&](TObject*) { ++Fired; };
    M.SetEnabled(true);
    EXPECT_EQ(Fired, 0);
    M.SetColor(clRed);
    EXPECT_EQ(Fired, 1);
}

TEST(GridSettingsObjects, ProgressNotifiesOnlyNewValuesAndOncePerAssign) {
    TGridProgressAppearance P, Src;
    int Fired = 0;
    P.OnChange = [&](TObject*) { ++Fired; };
    P.SetSteps(11);
    EXPECT_EQ(Fired, 0);
    P.SetSteps(5);
    EXPECT_EQ(Fired, 1);
    Src.SetLevel1Perc(10);
    Src.SetShowBorder(true);
    P.Assign(&Src);
    EXPECT_EQ(Fired, 2);
    EXPECT_EQ(P.Steps(), 11);
    EXPECT_EQ(P.Level1Perc(), 10);
}

TEST(GridSettingsObjects, DropDownGlyphsNotify) {
    TFilterDropDown D;
    int Fired = 0;
    D.OnChange = [&](TObject*) { ++Fired; };
    D.SetHeight(10);
    EXPECT_EQ(Fired, 0);
    TBitmap B(2, 2);
    D.SetGlyph(&B);
    D.SetGlyphActive(&B);
    EXPECT_EQ(Fired, 2);
}

// ---- the drop target ---------------------------------------------------------------------------------------
class DropTarget : public ::testing::Test {
protected:
    void SetUp() override {
        SetDropTargetRegistrar([this](TWinControl* W, bool Register) {
            Calls.push_back(std::string(Register ? "register" : "revoke") + (W == G.get() ? " grid" : " other"));
            return Succeed;
        });
        G = std::make_unique<TExtStringGrid>(nullptr);
    }
    void TearDown() override {
        G.reset();
        SetDropTargetRegistrar([](TWinControl* W, bool Register) {
            if (W) W->setAcceptDrops(Register);
            return W != nullptr;
        });
    }
    std::vector<std::string> Calls;
    bool Succeed = true;
    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(DropTarget, SwitchingOnTwiceRegistersOnce) {
    G->DragDropSettings()->SetOleDropTarget(true);
    G->DragDropSettings()->SetOleDropTarget(true);
    EXPECT_EQ(Calls, (std::vector<std::string>{"register grid"}));
    EXPECT_TRUE(G->DragDropSettings()->DropTargetRegistered());
    ASSERT_NE(G->DragDropSettings()->DropTarget(), nullptr);
    EXPECT_EQ(G->DragDropSettings()->DropTarget()->Grid(), G.get());
    G->DragDropSettings()->SetOleDropTarget(false);
    G->DragDropSettings()->SetOleDropTarget(false);
    EXPECT_EQ(Calls, (std::vector<std::string>{"register grid", "revoke grid"}));
    EXPECT_FALSE(G->DragDropSettings()->DropTargetRegistered());
}

TEST_F(DropTarget, SwitchingOffAfterAFailedRegistrationRevokesNothing) {
    Succeed = false;
    G->DragDropSettings()->SetOleDropTarget(true);
    EXPECT_FALSE(G->DragDropSettings()->DropTargetRegistered());
    G->DragDropSettings()->SetOleDropTarget(false);
    EXPECT_EQ(Calls, (std::vector<std::string>{"register grid"}));
}

TEST_F(DropTarget, RichTextFlagIsSharedByEveryGrid) {
    TExtStringGrid Other(nullptr);
    G->DragDropSettings()->SetOleDropRTF(true);
    EXPECT_TRUE(OleDropRTFAllowed);
    Other.DragDropSettings()->SetOleDropRTF(false);
    EXPECT_FALSE(OleDropRTFAllowed);
}

// ---- the look's gradient colours reach the grid -------------------------------------------------------------
TEST(ControlLookTest, NewGridHasTheLooksStartingColours) {
    TExtStringGrid G(nullptr);
    TControlLook* L = G.ControlLook();
    EXPECT_EQ(L->FixedGradientHoverFrom(), TColor(0x808080));
    EXPECT_EQ(L->FixedGradientHoverTo(), TColor(0xFFFFFF));
    EXPECT_EQ(L->FixedGradientDownFrom(), TColor(0x808080));
    EXPECT_EQ(L->FixedGradientDownTo(), TColor(0xC0C0C0));
    EXPECT_EQ(L->ProgressBorderColor(), TColor(0x808080));
    EXPECT_EQ(L->CommentColor(), TColor(0x0000FF));
    EXPECT_EQ(L->ControlStyle(), csTheme);
    // the hover and pressed mirror colours went to the grid through their setters
    EXPECT_EQ(G.ExtGradientHoverMirrorFrom(), clNone);
    EXPECT_EQ(G.ExtGradientDownMirrorTo(), clNone);
}

TEST(ControlLookTest, UnsetColoursReachTheGridOnlyForMirrors) {
    TExtStringGrid G(nullptr);
    TControlLook* L = G.ControlLook();
    L->SetFixedGradientDownFrom(clRed);
    EXPECT_EQ(G.ExtGradientDownFrom(), clRed);
    L->SetFixedGradientDownFrom(clNone);
    EXPECT_EQ(G.ExtGradientDownFrom(), clRed);
    L->SetFixedGradientDownMirrorFrom(clRed);
    L->SetFixedGradientDownMirrorFrom(clNone);
    EXPECT_EQ(G.ExtGradientDownMirrorFrom(), clNone);
}

TEST(ControlLookTest, AssignHandsTheFixedGradientToTheGridInOrder) {
    TExtStringGrid G(nullptr);
    TControlLook Src;
    Src.SetFixedGradientFrom(clRed);
    Src.SetFixedGradientTo(clBlue);
    G.ControlLook()->Assign(&Src);
    EXPECT_EQ(G.ControlLook()->FixedGradientFrom(), clRed);
    EXPECT_EQ(G.ControlLook()->FixedGradientTo(), clBlue);
    EXPECT_EQ(G.ExtGradientFrom(), clRed);
    EXPECT_EQ(G.ExtGradientTo(), clBlue);
    EXPECT_NE(G.ControlLook()->DropDownHeader(), Src.DropDownHeader());
}

TEST(ControlLookTest, GlyphsAreCopies) {
    TControlLook Src, Dst;
    TBitmap B(5, 5);
    Src.SetCheckedGlyph(&B);
    Dst.Assign(&Src);
    EXPECT_EQ(Dst.CheckedGlyph()->Width(), 5);
    EXPECT_NE(Dst.CheckedGlyph(), Src.CheckedGlyph());
}

} // namespace
