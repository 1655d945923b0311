// The buttons of the drop-down family in their looks (pixel probes), the header and footer
// panels' painting, and the shared drawing routines and lists.
#include "platform/gui/Themes.h"
#include "tests/grid/DropDownFixture.h"

#include <QImage>
#include <QPixmap>

namespace {
QImage Grab(QWidget* W) {
    QApplication::processEvents();
    return W->grab().toImage();
}

TColor At(const QImage& I, int X, int Y) {
    QRgb P = I.pixel(X, Y);
    return RGB(qRed(P), qGreen(P), qBlue(P));
}

class ThemesOff : public DropDownTest {
protected:
    void SetUp() override {
        SetThemesActive(false);
        DropDownTest::SetUp();
    }
    void TearDown() override {
        DropDownTest::TearDown();
        SetThemesActive(true);
    }
};
} // namespace

TEST(DropDownDrawing, ColourArithmetic) {
    struct TCase {
        TColor A, B;
        int Pct;
        TColor Expected;
    } Blends[] = {
        {clRed, clWhite, 50, RGB(255, 128, 128)}, // 127.5 goes to the even 128
        {clRed, clWhite, 100, clRed},
        {clRed, clWhite, 150, clRed},
        {clRed, clWhite, 0, clWhite},
        {clBlack, clWhite, 20, RGB(204, 204, 204)},
        {clBtnFace, clBlack, 50, RGB(120, 120, 120)}, // system colours resolve first
    };
    for (const TCase& C : Blends) EXPECT_EQ(BlendColor(C.A, C.B, C.Pct), C.Expected) << C.Pct;
    EXPECT_EQ(ShiftColor(0xF5F0E1, -10, -10, 0), TColor(0xF5D8CA));
    EXPECT_EQ(ShiftColor(0xF9D2B2, -10, -10, 0), TColor(0xF9BDA0));
    EXPECT_EQ(ShiftColor(0x000080, 20, 30, -5), RGB(128, 30, 0)); // a zero channel takes a positive percentage
    EXPECT_EQ(ShiftColor(0x808080, 50, 0, 0), TColor(0x808080)); // never lightens
}

TEST(DropDownDrawing, GradientBandsCoverTheRectangle) {
    TBitmap B(100, 10);
    FillGradientBands(B.Canvas(), clBlack, clWhite, true, Rect(0, 0, 100, 10), 10);
    EXPECT_EQ(At(B.Image(), 0, 5), clBlack);
    // Band 9 starts at nint(9 * 9.9) = 89; its grey is nint(229.5) = 230.
    EXPECT_EQ(At(B.Image(), 95, 0), RGB(230, 230, 230));
    EXPECT_EQ(At(B.Image(), 99, 9), RGB(230, 230, 230));
    EXPECT_EQ(At(B.Image(), 88, 5), RGB(204, 204, 204));
    TBitmap V(10, 50);
    FillGradientBands(V.Canvas(), clRed, clBlue, false, Rect(0, 0, 10, 50), 0); // 0 steps draws one band
    EXPECT_EQ(At(V.Image(), 5, 49), clRed);
}

TEST(DropDownDrawing, TextFittingEndsForAnyWidth) {
    TBitmap B(10, 10);
    TCanvas* C = B.Canvas();
    const QString Text = "A rather long caption";
    EXPECT_EQ(FitText(C, Text, 1000, true), Text);
    const int Max = C->TextWidth("A rather") + 2;
    QString Fit = FitText(C, Text, Max, true);
    EXPECT_TRUE(Fit.endsWith("..."));
    EXPECT_LT(C->TextWidth(Fit), Max);
    // The next longer prefix would not fit.
    QString Longer = Text.left(Fit.size() - 3 + 1) + "...";
    EXPECT_GE(C->TextWidth(Longer), Max);
    // Narrower than the ellipsis alone, and no room at all: the search ends with nothing.
    EXPECT_EQ(FitText(C, Text, C->TextWidth("...") - 1, true), "");
    EXPECT_EQ(FitText(C, Text, 0, false), "");
    EXPECT_EQ(FitText(C, Text, -5, true), "");
    EXPECT_EQ(GetTextSize(C, ""), (TSize{0, 0}));
    EXPECT_GT(GetTextSize(C, "Wg").cy, 0);
}

// Captions go through the mini-HTML renderer: markup changes the look, not only the text.
TEST(DropDownDrawing, HtmlCaptionsKeepTheirMarkup) {
    TBitmap B(200, 40);
    TCanvas* C = B.Canvas();
    auto Clear = [&] {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clWhite);
        C->FillRect(Rect(0, 0, 200, 40));
    };
    Clear();
    C->Font()->SetName("Tahoma");
    C->Font()->SetHeight(-13);
    C->Font()->SetColor(clBlack);
    const TRect R = Rect(2, 2, 198, 38);
    const TSize Plain = DrawDropDownHTML(C, "Header text", R, nullptr, true, true);
    const TSize Bold = DrawDropDownHTML(C, "<b>Header text</b>", R, nullptr, true, true);
    EXPECT_GT(Plain.cx, 0);
    EXPECT_GT(Plain.cy, 0);
    EXPECT_GT(Bold.cx, Plain.cx);
    // Measuring paints nothing.
    for (int X = 0; X < 200; ++X) ASSERT_EQ(C->Pixels(X, 10), clWhite) << X;
    EXPECT_EQ(DrawDropDownHTML(C, "", R, nullptr, true).cx, 0);

    DrawDropDownHTML(C, "<font color=\"clRed\">WWW</font>", R, nullptr, true);
    int Red = 0, Black = 0;
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 200; ++X) {
            const TColor P = C->Pixels(X, Y);
            if (P == clRed) ++Red;
            if (P == clBlack) ++Black;
        }
    EXPECT_GT(Red, 10);
    EXPECT_EQ(Black, 0);
    EXPECT_EQ(C->Font()->Color(), clBlack);
}

TEST(DropDownDrawing, DbgListChecksItsIndexes) {
    TDbgList L;
    int A = 1, B = 2;
    L.Add(&A);
    EXPECT_EQ(L.ItemsEx(0), &A);
    try {
        L.ItemsEx(1);
        FAIL();
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message(), "Index out of bounds in list read access");
    }
    try {
        L.SetItemsEx(1, &B);
        FAIL();
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message(), "Index out of bounds in list write access");
    }
    EXPECT_THROW(L.ItemsEx(-1), EListError);
    TDbgList Copy;
    Copy.Add(&B);
    Copy.AssignList(L);
    EXPECT_EQ(Copy.Count(), 1);
    EXPECT_EQ(Copy.ItemsEx(0), &A);
}

TEST(DropDownDrawing, ButtonAppearanceStartAndAssign) {
    TExtButtonAppearance A;
    EXPECT_EQ(A.Color(), clNone);
    EXPECT_EQ(A.ColorHot(), TColor(0xF5F0E1));
    EXPECT_EQ(A.ColorChecked(), TColor(0xF5D8CA));
    EXPECT_EQ(A.ColorCheckedTo(), TColor(0xF9BDA0));
    EXPECT_EQ(A.BorderColorChecked(), TColor(0xFF0000));
    EXPECT_EQ(A.Gradient(), gdVertical);
    EXPECT_EQ(A.Font()->Name(), "Tahoma");
    TExtButtonAppearance B;
    B.SetColor(clRed);
    B.SetBorderColorDown(clGreen);
    B.Font()->SetName("Arial");
    int Changes = 0;
    A.OnChange = [&](TObject*) { ++Changes; };
    A.Assign(&B);
    EXPECT_EQ(A.Color(), clRed);
    EXPECT_EQ(A.BorderColorDown(), clGreen);
    EXPECT_EQ(A.Font()->Name(), "Tahoma"); // the font is not copied
    EXPECT_EQ(Changes, 2);
    TFont F;
    EXPECT_THROW(A.Assign(&F), EConvertError);
}

TEST(DropDownDrawing, AppearancesStartAndCopy) {
    THeaderAppearance H(nullptr);
    EXPECT_TRUE(H.Visible());
    EXPECT_EQ(H.Height(), 22);
    EXPECT_EQ(H.Color(), clSilver);
    EXPECT_EQ(H.ColorTo(), clWhite);
    EXPECT_EQ(H.GradientDirection(), gdVertical);
    EXPECT_EQ(H.BorderColor(), clBlack);
    EXPECT_EQ(H.BorderWidth(), 1);
    EXPECT_EQ(H.Font()->Name(), "Tahoma");
    EXPECT_EQ(H.ImageIndex(), -1);
    EXPECT_EQ(H.ButtonAlignment(), baRight);
    TFooterAppearance F(nullptr);
    EXPECT_TRUE(F.SizeGrip());
    EXPECT_EQ(F.Height(), 22);
    THeaderAppearance H2(nullptr);
    H2.SetCaption("Cap");
    H2.Buttons()->Add()->SetCaption("B");
    H2.SetVisible(false);
    int Changes = 0;
    H.OnChange = [&](TObject*) { ++Changes; };
    H.Assign(&H2);
    EXPECT_EQ(H.Caption(), "Cap");
    EXPECT_EQ(H.Buttons()->Count(), 1);
    EXPECT_FALSE(H.Visible());
    EXPECT_EQ(Changes, 1);
    H.Assign(&F); // a foreign class changes nothing
    EXPECT_EQ(H.Caption(), "Cap");
    // Button items raise on a foreign source.
    TFont Font;
    EXPECT_THROW(H.Buttons()->Items(0)->Assign(&Font), EConvertError);
    EXPECT_THROW(H.Buttons()->Items(3), EListError);
    F.Buttons()->Add()->SetModalResult(mrNo);
    TFooterAppearance F2(nullptr);
    F2.Assign(&F);
    EXPECT_EQ(F2.Buttons()->Items(0)->ModalResult(), mrNo);
    // A look assigned onto itself keeps its buttons (clearing first emptied the list).
    F2.Assign(&F2);
    F2.Buttons()->Assign(F2.Buttons());
    ASSERT_EQ(F2.Buttons()->Count(), 1);
    EXPECT_EQ(F2.Buttons()->Items(0)->ModalResult(), mrNo);
}

TEST_F(ThemesOff, ClassicDropDownButtonDrawsBlackArrow) {
    TExtDropDownSpeedButton* B = D->Button()->Button();
    QImage I = Grab(B);
    EXPECT_EQ(At(I, 8, 8), clBlack); // inside the triangle (5,7) (11,7) (8,10)
    EXPECT_EQ(At(I, 1, 1), clWhite);
    EXPECT_EQ(At(I, 3, 12), TColor(ColorToRGB(clBtnFace)));
    // A read-only drop-down shows its button disabled at the next paint.
    D->SetReadOnly(true);
    B->update();
    I = Grab(B);
    EXPECT_FALSE(B->Enabled());
    EXPECT_NE(At(I, 8, 8), clBlack);
}

TEST_F(DropDownTest, CustomColouredDropDownButton) {
    TDropDownEditButton* H = D->Button();
    H->ButtonColor = 0x00FFFF;
    H->ButtonTextColor = clBlue;
    H->ButtonColorHot = clLime;
    D->SetBorderColor(clRed);
    QImage I = Grab(H->Button());
    EXPECT_EQ(At(I, 3, 14), TColor(0x00FFFF));
    EXPECT_EQ(At(I, 8, 8), clBlue);
    EXPECT_EQ(At(I, 0, 5), clRed); // the drop-down's border colour down the left edge
    H->Button()->Perform(CM_MOUSEENTER);
    I = Grab(H->Button());
    EXPECT_EQ(At(I, 3, 14), clLime);
    // Colour tones set the same colours.
    TColorTones T;
    T.Background.BrushColor = clGray;
    T.Background.BorderColor = clNavy;
    T.Hover.BrushColor = clWhite;
    T.Selected.BrushColor = clBlack;
    D->SetColorTones(T);
    H->Button()->Perform(CM_MOUSELEAVE);
    I = Grab(H->Button());
    EXPECT_EQ(At(I, 3, 14), clGray);
    EXPECT_EQ(D->BorderColor(), clNavy);
}

TEST_F(DropDownTest, ThemedDropDownButtonUsesTheComboLook) {
    SetThemesActive(true);
    QImage I = Grab(D->Button()->Button());
    SetThemesActive(false);
    QImage Classic = Grab(D->Button()->Button());
    SetThemesActive(true);
    EXPECT_NE(I, Classic);
    EXPECT_FALSE(I.isNull());
}

TEST_F(DropDownTest, HeaderFooterButtonLooksFollowTheAppearance) {
    D->SetComponentStyle(tsOffice2007Luna);
    D->DropDownFooter()->Buttons()->Add()->SetCaption("  ");
    D->ShowDropDown();
    TExtButton* B = D->DropDownForm()->Footer()->ButtonAt(0);
    TExtButtonAppearance* A = D->ButtonAppearance();
    QImage Normal = Grab(B);
    // The face gradient runs top to bottom from Color towards ColorTo inside a 1-pixel frame.
    const int H = B->Height();
    EXPECT_GT(GetGValue(At(Normal, 3, 1)), GetGValue(At(Normal, 3, H - 2)));
    EXPECT_GE(GetGValue(At(Normal, 3, 1)), GetGValue(A->ColorTo()));
    EXPECT_LE(GetGValue(At(Normal, 3, 1)), GetGValue(A->Color()));
    // The mouse really is over the button, so the un-hot timer keeps the hot look.
    Mouse->SetCursorPos(B->ClientToScreen(Point(2, 2)));
    B->Perform(CM_MOUSEENTER);
    QImage Hot = Grab(B);
    EXPECT_EQ(At(Hot, 3, B->Height() / 2), A->ColorHot());
    EXPECT_EQ(At(Hot, 0, B->Height() / 2), A->BorderColorHot());
    B->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, 2));
    QImage Down = Grab(B);
    EXPECT_EQ(At(Down, 3, B->Height() / 2), A->ColorDown());
    B->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(-50, 2));
    B->Perform(WM_LBUTTONUP, 0, MakeLParam(-50, 2));
    EXPECT_TRUE(D->DroppedDown()); // released outside: no click
    B->SetEnabled(false);
    QImage Disabled = Grab(B);
    const TColor Grey = At(Disabled, 3, H / 2);
    EXPECT_TRUE(GetRValue(Grey) == GetGValue(Grey) && GetGValue(Grey) == GetBValue(Grey));
    EXPECT_EQ(B->State(), absDisabled);
}

TEST_F(DropDownTest, HotLookEndsAtTimerTickWithoutLeaveMessage) {
    D->DropDownHeader()->Buttons()->Add()->SetCaption("H");
    D->ShowDropDown();
    TExtButton* B = D->DropDownForm()->Header()->ButtonAt(0);
    Mouse->SetCursorPos(B->ClientToScreen(Point(2, 2)));
    B->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(B->MouseInControl());
    EXPECT_TRUE(B->UnHotTimer()->Enabled());
    B->UnHotTimer()->Tick(); // still inside
    EXPECT_TRUE(B->MouseInControl());
    Mouse->SetCursorPos(B->ClientToScreen(Point(500, 500)));
    B->UnHotTimer()->Tick();
    EXPECT_FALSE(B->MouseInControl());
    EXPECT_FALSE(B->UnHotTimer()->Enabled());
}

TEST_F(DropDownTest, HeaderBorderDependsOnPopupFrame) {
    THeaderAppearance* H = D->DropDownHeader();
    H->SetColor(clWhite);
    H->SetColorTo(clNone);
    H->SetBorderColor(clBlack);
    H->SetBorderWidth(3); // wide enough for the side lines to show inside the light inner line
    D->SetDropDownBorderColor(clRed);
    D->SetDropDownBorderWidth(1);
    D->ShowDropDown();
    TExtHeader* P = D->DropDownForm()->Header();
    QImage Framed = Grab(P);
    const int Bottom = P->Height() - 1;
    EXPECT_EQ(At(Framed, P->Width() / 2, Bottom), clBlack);
    EXPECT_EQ(At(Framed, 1, Bottom / 2), clWhite); // no side line inside a popup frame
    D->HideDropDown(false);
    D->SetDropDownBorderColor(clNone);
    D->ShowDropDown();
    QImage Open = Grab(P);
    EXPECT_EQ(At(Open, 1, Bottom / 2), clBlack);
    EXPECT_EQ(At(Open, P->Width() / 2, 1), clBlack);
    EXPECT_EQ(At(Open, 0, Bottom / 2), BlendColor(clBlack, clWhite, 20)); // the light inner line
    D->HideDropDown(false);
    // A handler replaces the whole painting.
    D->OnDrawHeader = [](TObject*, TCanvas* C, TRect R) {
        C->Brush()->SetColor(clLime);
        C->FillRect(R);
    };
    H->SetCaption("Caption");
    D->ShowDropDown();
    QImage Own = Grab(P);
    EXPECT_EQ(At(Own, 0, Bottom / 2), clLime);
    EXPECT_EQ(At(Own, P->Width() / 2, P->Height() / 2), clLime);
}

TEST_F(DropDownTest, FooterShowsSizeGripOnlyWhenSizeable) {
    TFooterAppearance* F = D->DropDownFooter();
    F->SetColor(clWhite);
    F->SetColorTo(clNone);
    F->SetBorderColor(clNavy);
    D->ShowDropDown();
    TExtFooter* P = D->DropDownForm()->Footer();
    ASSERT_TRUE(P->SizeGripShows());
    QImage I = Grab(P);
    // The grip's dark square at (12, -3) from the grip's left and bottom edges.
    const int GLeft = P->Width() - 1 - 16;
    EXPECT_EQ(At(I, GLeft + 12, P->Height() - 4), clNavy);
    D->HideDropDown(false);
    D->SetDropDownSizeable(false);
    D->ShowDropDown();
    EXPECT_FALSE(P->SizeGripShows());
    I = Grab(P);
    EXPECT_EQ(At(I, GLeft + 12, P->Height() - 4), clWhite);
}

TEST_F(DropDownTest, BorderColoursOfTheEdit) {
    D->SetText("x");
    Host->Other->SetFocus();
    D->SetBorderColor(clRed);
    D->SetFocusBorderColor(clBlue);
    EXPECT_EQ(At(Grab(D), 0, 10), clRed);
    Focus();
    EXPECT_EQ(At(Grab(D), 0, 10), clBlue);
    Host->Other->SetFocus();
    D->SetBorderColor(clNone);
    D->SetFocusBorderColor(clNone);
    D->SetEnabled(false);
    EXPECT_EQ(At(Grab(D), 0, 10), clSilver);
    EXPECT_FALSE(D->Button()->Enabled());
}
