// Painting that follows the mouse: a hovered header with its drop-down part held down or not, a
// mini-HTML link under the mouse, and the colour tones the in-place editors take. The grid is
// driven through its own window procedure and painted cell by cell onto a bitmap. Real column 2
// is hidden, so display column 2 shows real column 3.
#include "grid/control/EsgCombo.h"
#include "grid/control/ExtGrid.h"
#include "grid/control/ExtGrid_Editors.h"
#include "grid/editors/ESGEdit.h"
#include "grid/editors/EsgDateTimePicker.h"
#include "grid/editors/esgspin.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Messages.h"
#include "tests/support/QtPrint.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr TColor HoverC = 0x0000C000, DownC = 0x000000C0, HoverBorderC = 0x00C0C000, DownBorderC = 0x00C000C0;

class HoverPaint : public ::testing::Test {
protected:
    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 560, 320);
        G = Create<TExtStringGrid>(Form, Form);
        G->SetBounds(0, 0, 520, 240);
        G->SetColCount(6);
        G->SetRowCount(7);
        G->SetDefaultColWidth(80);
        G->SetDefaultRowHeight(24);
        G->SetColor(clWhite);
        for (int c = 0; c < 6; ++c) G->SetGridCell(c, 0, QString("H%1").arg(c));
        G->HideColumn(2);
        // Solid hover and down faces, so a probe tells which set a part was drawn in.
        G->SetLook(glOffice2007);
        G->SetHoverFixedCells(hfAll);
        G->SetExtGradientHoverFrom(HoverC);
        G->SetExtGradientHoverTo(HoverC);
        G->SetExtGradientHoverMirrorFrom(HoverC);
        G->SetExtGradientHoverMirrorTo(HoverC);
        G->SetExtGradientHoverBorder(HoverBorderC);
        G->SetExtGradientDownFrom(DownC);
        G->SetExtGradientDownTo(DownC);
        G->SetExtGradientDownMirrorFrom(DownC);
        G->SetExtGradientDownMirrorTo(DownC);
        G->SetExtGradientDownBorder(DownBorderC);
        Form->Show();
        QApplication::processEvents();
        Sheet.SetSize(540, 260);
    }
    void TearDown() override {
        delete Form;
        QApplication::processEvents();
    }
    void Move(TPoint P) { G->Perform(WM_MOUSEMOVE, 0, MakeLParam(P.X, P.Y)); }
    void Down(TPoint P) { G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(P.X, P.Y)); }
    void Up(TPoint P) { G->Perform(WM_LBUTTONUP, 0, MakeLParam(P.X, P.Y)); }
    void Paint(int C, int R) {
        Sheet.Canvas()->Brush()->SetColor(clWhite);
        Sheet.Canvas()->FillRect(Rect(0, 0, 540, 260));
        TGridDrawState S;
        if (C < G->FixedCols() || R < G->FixedRows()) S << gdFixed;
        G->PaintCell(Sheet.Canvas(), C, R, G->CellRect(C, R), S);
    }
    TColor At(int X, int Y) { return Sheet.Canvas()->Pixels(X, Y); }
    // Probes of a header cell: the drop-down part (its right 16 pixels, below the triangle) and
    // the rest.
    TColor DropPart(const TRect& R) { return At(R.Right - 6, R.Bottom - 5); }
    TColor RestPart(const TRect& R) { return At(R.Left + 12, R.Bottom - 5); }
    TForm* Form = nullptr;
    TExtStringGrid* G = nullptr;
    TBitmap Sheet;
};

// ---- the header drop-down ------------------------------------------------------------------------
struct HeaderCase {
    const char* Name;
    bool DropDownButton; // ControlLook.FixedDropDownButton
    int PressAt; // 0: no press, 1: on the drop-down part, 2: on the rest of the header
    TColor Drop, Rest;
};
void PrintTo(const HeaderCase& C, std::ostream* Os) { *Os << C.Name; }

class HeaderPress : public HoverPaint, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderPress, PartsTakeTheHoverOrDownColours) {
    const HeaderCase& K = GetParam();
    G->ControlLook()->SetFixedDropDownButton(K.DropDownButton);
    std::vector<int> DropDownClicks;
    G->OnFixedDropDownClick = [&](TObject*, int ACol, int, TPopupMenu*&, bool&) { DropDownClicks.push_back(ACol); };
    const TRect R = G->CellRect(2, 0);
    const int Y = (R.Top + R.Bottom) / 2;
    Move(TPoint{R.Left + 20, Y});
    if (K.PressAt == 1) Down(TPoint{R.Right - 6, Y});
    if (K.PressAt == 2) Down(TPoint{R.Left + 20, Y});
    Paint(2, 0);
    EXPECT_EQ(DropPart(R), K.Drop);
    EXPECT_EQ(RestPart(R), K.Rest);
    // The drop-down part is set off by a line and loses its room to the text.
    if (K.DropDownButton) {
        EXPECT_EQ(At(R.Right - 17, R.Bottom - 5), K.PressAt ? DownBorderC : HoverBorderC);
    }
    // A press on the drop-down part reports the real column and neither sorts nor selects.
    EXPECT_EQ(DropDownClicks, K.PressAt == 1 && K.DropDownButton ? std::vector<int>{3} : std::vector<int>{});
    Up(TPoint{R.Left + 20, Y});
    Paint(2, 0);
    EXPECT_EQ(DropPart(R), HoverC) << "released";
    EXPECT_EQ(RestPart(R), HoverC) << "released";
}

INSTANTIATE_TEST_SUITE_P(Cases, HeaderPress,
                         ::testing::Values(HeaderCase{"HoveredOnly", true, 0, HoverC, HoverC},
                                           HeaderCase{"DropDownPressed", true, 1, DownC, HoverC},
                                           HeaderCase{"RestOfHeaderHeld", true, 2, HoverC, DownC},
                                           HeaderCase{"HeldWithoutDropDownButton", false, 2, DownC, DownC},
                                           HeaderCase{"NoButtonPressOnTheRightEdge", false, 1, DownC, DownC}),
                         [](const ::testing::TestParamInfo<HeaderCase>& I) { return std::string(I.param.Name); });

TEST_F(HoverPaint, ColumnRefusedADropDownShowsNoButtonAndIsNotPressed) {
    G->ControlLook()->SetFixedDropDownButton(true);
    G->OnCanShowFixedDropDown = [](TObject*, int ACol, bool& CanShow) { CanShow = ACol != 3; };
    const TRect R = G->CellRect(2, 0);
    const int Y = (R.Top + R.Bottom) / 2;
    Move(TPoint{R.Left + 20, Y});
    Down(TPoint{R.Right - 6, Y});
    EXPECT_EQ(G->FixedDropDownPressed().X, -1);
    Paint(2, 0);
    EXPECT_EQ(DropPart(R), DownC) << "an ordinary held header";
    EXPECT_EQ(RestPart(R), DownC);
    Up(TPoint{R.Right - 6, Y});
}

TEST_F(HoverPaint, TheDropDownMenuIsToldItsColumn) {
    G->ControlLook()->SetFixedDropDownButton(true);
    auto* Menu = Create<TPopupMenu>(Form);
    Menu->Items()->Add(Create<TMenuItem>(Menu));
    G->SetFixedDropDownMenu(Menu);
    const TRect R = G->CellRect(2, 0);
    const int Y = (R.Top + R.Bottom) / 2;
    Move(TPoint{R.Left + 20, Y});
    Down(TPoint{R.Right - 6, Y});
    EXPECT_EQ(Menu->Tag(), 3) << "the real column";
    Menu->CloseMenu();
    Up(TPoint{R.Right - 6, Y});
}

TEST_F(HoverPaint, ADraggedHeaderStaysHeldDownWhileTheMouseMovesOn) {
    G->SetOptions(G->Options() << goColMoving);
    const TRect From = G->CellRect(3, 0), Over = G->CellRect(4, 0);
    const int Y = (From.Top + From.Bottom) / 2;
    Move(TPoint{From.Left + 20, Y});
    Down(TPoint{From.Left + 20, Y});
    Move(TPoint{From.Left + 40, Y});
    Move(TPoint{Over.Left + 20, Y});
    ASSERT_EQ(G->GridState(), gsColMoving);
    Paint(3, 0);
    EXPECT_EQ(RestPart(From), DownC) << "the dragged header";
    Paint(4, 0);
    EXPECT_NE(RestPart(Over), HoverC) << "the header under the mouse is not hovered meanwhile";
    EXPECT_NE(RestPart(Over), DownC);
    Up(TPoint{Over.Left + 20, Y});
    Paint(4, 0);
    EXPECT_EQ(RestPart(Over), HoverC) << "hovered again once the drag is over";
}

// ---- links under the mouse ------------------------------------------------------------------------
class LinkHover : public HoverPaint {
protected:
    void SetUp() override {
        HoverPaint::SetUp();
        G->SetURLUnderlineOnHover(true);
        G->SetURLColor(LinkC);
        G->SetColWidths(1, 200);
        G->SetGridCell(1, 2, "<a href=\"first\">first</a> <a href=\"second\">second</a>");
        G->SetGridCell(1, 3, G->GetGridCell(1, 2));
        G->OnAnchorEnter = [this](TObject*, int R, int C, const QString& A) {
            Events.push_back("enter " + std::to_string(C) + "," + std::to_string(R) + " " + A.toStdString());
        };
        G->OnAnchorExit = [this](TObject*, int, int, const QString&) { Events.push_back("exit"); };
    }
    // A point of the cell on its N-th link (1-based), found by the grid's own hit test.
    TPoint OnLink(int C, int R, int N) {
        const TRect Rc = G->CellRect(C, R);
        QString A, T;
        for (int y = Rc.Top; y < Rc.Bottom; ++y)
            for (int x = Rc.Left; x < Rc.Right; ++x)
                if (G->HTMLAnchorAt(C, R, x, y, A, T) == N) return TPoint{x, y};
        ADD_FAILURE() << "no link " << N;
        return TPoint{-1, -1};
    }
    // The link's pixels in the link colour, counted per row of the cell; an underline is a row
    // with many of them.
    int LongestLinkRun(int C, int R) {
        Paint(C, R);
        const TRect Rc = G->CellRect(C, R);
        int Best = 0;
        for (int y = Rc.Top; y < Rc.Bottom; ++y) {
            int Run = 0;
            for (int x = Rc.Left; x < Rc.Right; ++x) {
                Run = At(x, y) == LinkC ? Run + 1 : 0;
                Best = std::max(Best, Run);
            }
        }
        return Best;
    }
    static constexpr TColor LinkC = 0x000000FF;
    std::vector<std::string> Events;
};

TEST_F(LinkHover, OnlyTheLinkUnderTheMouseIsDrawnHoveredAndAnnounced) {
    const int Plain = LongestLinkRun(1, 2);
    const TPoint First = OnLink(1, 2, 1);
    Move(First);
    EXPECT_EQ(G->HoveredLink(), 1);
    EXPECT_EQ(G->HoveredLinkCell().X, 1);
    EXPECT_EQ(G->HoveredLinkCell().Y, 2);
    const int Hovered = LongestLinkRun(1, 2);
    EXPECT_GT(Hovered, Plain + 10) << "the hovered link is underlined";
    EXPECT_EQ(LongestLinkRun(1, 3), Plain) << "the same text in another cell is not";
    Move(OnLink(1, 2, 2));
    EXPECT_EQ(G->HoveredLink(), 2);
    Move(TPoint{G->CellRect(3, 5).Left + 5, G->CellRect(3, 5).Top + 5});
    EXPECT_EQ(G->HoveredLink(), -1);
    EXPECT_EQ(LongestLinkRun(1, 2), Plain) << "the mouse left the link";
    EXPECT_EQ(Events, (std::vector<std::string>{"enter 1,2 first", "enter 1,2 second", "exit"}));
}

TEST_F(LinkHover, AnAddressIsUnderlinedWithoutItsSchemeInTheLinkOrSelectedTextColour) {
    G->SetURLShow(true);
    G->SetGridCell(1, 4, "http://example.org");
    TCanvas M;
    M.SetFont(G->Font());
    const int Run = LongestLinkRun(1, 4);
    EXPECT_GE(Run, M.TextWidth("example.org") - 2);
    EXPECT_LT(Run, M.TextWidth("http://example.org") - 4) << "the scheme is not shown";
    // Selected, the address takes the selection's text colour.
    constexpr TColor SelText = 0x0000A000;
    G->SetSelectionTextColor(SelText);
    const TRect R = G->CellRect(1, 4);
    Sheet.Canvas()->Brush()->SetColor(clWhite);
    Sheet.Canvas()->FillRect(Rect(0, 0, 540, 260));
    G->PaintCell(Sheet.Canvas(), 1, 4, R, TGridDrawState{} << gdSelected);
    int Best = 0, Link = 0;
    for (int y = R.Top; y < R.Bottom; ++y) {
        int Run2 = 0;
        for (int x = R.Left; x < R.Right; ++x) {
            Run2 = At(x, y) == SelText ? Run2 + 1 : 0;
            Best = std::max(Best, Run2);
            Link += At(x, y) == LinkC;
        }
    }
    EXPECT_GE(Best, M.TextWidth("example.org") - 2);
    EXPECT_EQ(Link, 0);
}

TEST_F(LinkHover, LeavingTheGridDropsTheHoveredLink) {
    Move(OnLink(1, 3, 1));
    ASSERT_EQ(G->HoveredLink(), 1);
    G->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(G->HoveredLink(), -1);
    EXPECT_EQ(G->HoveredLinkCell().X, -1);
}

// ---- colour tones for the editors -----------------------------------------------------------------
TEST_F(HoverPaint, ColourTonesReachTheEditorsMadeBeforeAndAfter) {
    TColorTones T;
    T.Background = {0x00F0F0F0, 0x00A0A0A0, 0x00101010};
    T.Foreground = {0x00E0E0E0, 0x00909090, 0x00202020};
    T.Selected = {0x00D0A000, 0x00808080, 0x00FFFFFF};
    T.Hover = {0x00C0E0F0, 0x00707070, 0x00303030};
    T.Disabled = {0x00C0C0C0, 0x00606060, 0x00808080};
    TGridSpin* Early = G->SpinEdit(); // made before the tones
    G->SetColorTones(T);
    auto Check = [&](const auto* B, const char* What) {
        ASSERT_NE(B, nullptr) << What;
        EXPECT_EQ(B->ButtonColor, T.Background.BrushColor) << What;
        EXPECT_EQ(B->ButtonColorHot, T.Hover.BrushColor) << What;
        EXPECT_EQ(B->ButtonColorDown, T.Selected.BrushColor) << What;
        EXPECT_EQ(B->ButtonBorderColor, T.Background.BorderColor) << What;
    };
    Check(G->EditBtn->Button(), "edit button");
    Check(G->EditCombo, "combo");
    Check(Early->Button(), "spin");
    EXPECT_TRUE(G->EditCombo->Flat());
    EXPECT_EQ(G->EditCombo->BorderColor(), G->Color());
    TGridDatePicker* D = G->DatePicker(); // made after the tones
    EXPECT_EQ(D->FButtonColor, T.Background.BrushColor);
    EXPECT_EQ(D->FButtonColorHot, T.Hover.BrushColor);
    EXPECT_EQ(D->FButtonColorDown, T.Selected.BrushColor);
    EXPECT_EQ(D->BorderColor(), T.Background.BrushColor);
    EXPECT_TRUE(D->MetroStyle());
}

TEST_F(HoverPaint, WithoutTonesTheEditorsKeepThePlatformButtons) {
    EXPECT_EQ(G->EditBtn->Button()->ButtonColor, clNone);
    EXPECT_EQ(G->SpinEdit()->Button()->ButtonColor, clNone);
    EXPECT_FALSE(G->DatePicker()->MetroStyle());
}

} // namespace
