// The colour styles of the drop-down family pinned by a few entries per style, the selection
// looks and the item-appearance colours.
#include "tests/grid/DropDownFixture.h"

namespace {
struct TStyleCase {
    const char* Name;
    TExtStyle Style;
    TColor Popup, PopupTo, HeaderTo, HeaderBorder, FooterBorder, ButtonColorTo, ButtonHot;
};

constexpr TColor Prev = TColor(0x123456); // the popup frame colour before the style

const TStyleCase StyleCases[] = {
    {"Office2003Blue", tsOffice2003Blue, 0xFFFFFF, clNone, 0xE0A57D, clBlack, 0x962D00, 0xE0A57D, 0xEBFDFF},
    {"Office2003Silver", tsOffice2003Silver, 0xFFFFFF, clNone, 0xB39698, 0x947C7C, 0x947C7C, 0xB39698, 0xEBFDFF},
    {"Office2003Olive", tsOffice2003Olive, 0xFFFFFF, clNone, 0x8CC0B1, 0x588060, 0x588060, 0x8CC0B1, 0xEBFDFF},
    {"Office2003Classic", tsOffice2003Classic, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0xC9D1D5, 0xD2BDB6},
    {"Office2007Luna", tsOffice2007Luna, 0xF3E5DA, 0xF0DED0, 0xFFD2AF, 0xFFD2AF, 0xFFD2AF, 0xFFDDC4, 0xEBFDFF},
    {"Office2007Obsidian", tsOffice2007Obsidian, 0xFFFFFF, clNone, 0xC9C2BD, 0x5C534C, 0x5C534C, 0xC9C2BD, 0xEBFDFF},
    {"WindowsXP", tsWindowsXP, 0xFFFFFF, clNone, clBtnFace, 0x808080, 0x808080, clBtnFace, 0xEFD3C6},
    {"Whidbey", tsWhidbey, 0xF5F9FA, 0xF5F9FA, 0x7E9898, 0x962D00, 0x962D00, 0xDFEDF0, 0xEBFDFF},
    {"Office2007Silver", tsOffice2007Silver, 0xF8F4F1, 0xF0E8E3, 0xE8E0DB, 0x74706F, 0x74706F, 0xE4E2DF, 0xEBFDFF},
    {"WindowsVista", tsWindowsVista, 0xFFFFFF, 0xFFFFFF, 0xFFFAF0, 0xFCF2DA, 0xFCF2DA, 0xFFFAF0, 0xFEF9F0},
    {"Windows7", tsWindows7, 0xFFFFFF, 0xFFFFFF, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFDF3EB, 0xFDFBFA},
    {"Terminal", tsTerminal, 0xFFFFFF, 0xFFFFFF, clBtnFace, clNone, clNone, clBtnFace, 0xC0C0C0},
    {"Office2010Blue", tsOffice2010Blue, 0xFFFFFF, 0xF1EFED, 0xF0DAC7, 0xC7B29F, 0xC7B29F, 0xF0DAC7, 0x8AE3FD},
    {"Office2010Silver", tsOffice2010Silver, 0xFFFFFF, 0xF1EFED, 0xEDE5E0, 0xD2CDC8, 0xD2CDC8, 0xEDE5E0, 0x8AE3FD},
    {"Office2010Black", tsOffice2010Black, 0xFFFFFF, 0xF1EFED, 0x919191, 0x6D6D6D, 0x6D6D6D, 0x919191, 0x8AE3FD},
};

class DropDownStyleTest : public DropDownTest, public ::testing::WithParamInterface<TStyleCase> {};
} // namespace

TEST_P(DropDownStyleTest, StyleSetsPopupHeaderFooterAndButtonColours) {
    const TStyleCase& C = GetParam();
    D->SetDropDownBorderColor(Prev);
    D->SetComponentStyle(C.Style);
    EXPECT_EQ(D->GetComponentStyle(), C.Style);
    EXPECT_EQ(D->DropDownColor(), C.Popup);
    EXPECT_EQ(D->DropDownColorTo(), C.PopupTo);
    EXPECT_EQ(D->DropDownHeader()->ColorTo(), C.HeaderTo);
    EXPECT_EQ(D->DropDownHeader()->BorderColor(), C.HeaderBorder);
    EXPECT_EQ(D->DropDownFooter()->BorderColor(), C.FooterBorder);
    EXPECT_EQ(D->ButtonAppearance()->ColorTo(), C.ButtonColorTo);
    EXPECT_EQ(D->ButtonAppearance()->ColorHot(), C.ButtonHot);
    // Three styles keep the popup frame colour that was there.
    const bool Keeps = C.Style == tsOffice2003Blue || C.Style == tsOffice2003Silver || C.Style == tsWindowsXP;
    EXPECT_EQ(D->DropDownBorderColor() == Prev, Keeps);
}

INSTANTIATE_TEST_SUITE_P(EveryStyle, DropDownStyleTest, ::testing::ValuesIn(StyleCases),
                         [](const ::testing::TestParamInfo<TStyleCase>& I) { return std::string(I.param.Name); });

TEST_F(DropDownTest, StyleDetailsThatDifferPerStyle) {
    // Vista: the footer gets the header's gradient reversed.
    D->SetComponentStyle(tsWindowsVista);
    EXPECT_EQ(D->DropDownHeader()->Color(), TColor(0xFFFDF9));
    EXPECT_EQ(D->DropDownFooter()->Color(), TColor(0xFFFAF0));
    EXPECT_EQ(D->DropDownFooter()->ColorTo(), TColor(0xFFFDF9));
    EXPECT_EQ(D->ButtonAppearance()->BorderColorChecked(), TColor(0x0FEDF9AB));
    EXPECT_EQ(D->DropDownBorderColor(), TColor(0x979797));
    // The shared button set.
    D->SetComponentStyle(tsOffice2003Blue);
    TExtButtonAppearance* A = D->ButtonAppearance();
    EXPECT_EQ(A->BorderColorChecked(), RGB(123, 102, 69));
    EXPECT_EQ(A->ColorDown(), TColor(0xAAD9FF));
    EXPECT_EQ(A->BorderColor(), clNone);
    EXPECT_EQ(D->DropDownHeader()->Font()->Color(), clBlack);
    D->SetComponentStyle(tsOffice2010Black);
    EXPECT_EQ(A->ColorHotTo(), clNone);
    EXPECT_EQ(A->ColorChecked(), TColor(0x45E1FE));
    EXPECT_EQ(D->DropDownHeader()->Font()->Color(), TColor(0xD7D7D6));
    D->SetComponentStyle(tsWindowsXP);
    EXPECT_EQ(A->BorderColorHot(), clHighlight);
    EXPECT_EQ(A->ColorDown(), clInactiveCaption);
    // Custom keeps every colour and is remembered.
    D->SetDropDownColor(clAqua);
    D->SetComponentStyle(tsCustom);
    EXPECT_EQ(D->GetComponentStyle(), tsCustom);
    EXPECT_EQ(D->DropDownColor(), clAqua);
    EXPECT_EQ(A->BorderColorHot(), clHighlight);
    // Each button colour goes through its setter.
    int Changes = 0;
    A->OnChange = [&](TObject*) { ++Changes; };
    D->SetComponentStyle(tsTerminal);
    EXPECT_GT(Changes, 5);
}

TEST_F(DropDownTest, SelectionColorStyles) {
    struct TCase {
        TSelectionColorStyle S;
        TColor From, To;
    } Cases[] = {
        {scOffice2007, 0xD7FFFD, 0x58D4FC}, {scWindowsVista, 0xFDF8F1, 0xFCEFD5}, {scWindows7, 0xFCEBDC, 0xFCDBC1}};
    for (const TCase& C : Cases) {
        D->SetSelectionColorStyle(C.S);
        EXPECT_EQ(D->SelectionColor(), C.From);
        EXPECT_EQ(D->SelectionColorTo(), C.To);
    }
    D->SetSelectionColor(clRed);
    D->SetSelectionColorStyle(scCustom);
    EXPECT_EQ(D->SelectionColor(), clRed);
    // Custom: a plain fill.
    TBitmap B(40, 20);
    D->DrawSelectionBackground(B.Canvas(), Rect(0, 0, 40, 20), 0, clWhite);
    EXPECT_EQ(B.Canvas()->Pixels(20, 10), clRed);
}

TEST_F(DropDownTest, Office2007SelectionHasAMirrorHalfAndTheExtraCornerColour) {
    D->SetSelectionColorStyle(scOffice2007);
    TBitmap B(40, 24);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 40, 24));
    D->DrawSelectionBackground(B.Canvas(), Rect(0, 0, 40, 24), 0, clRed);
    TCanvas* C = B.Canvas();
    EXPECT_EQ(C->Pixels(0, 0), clRed); // the extra colour at the outer corner
    EXPECT_EQ(C->Pixels(1, 0), TColor(0xC3D9DF)); // the edge colour beside it
    EXPECT_EQ(C->Pixels(20, 2), TColor(0xD7FFFD));
    // The lower half starts again from the mirror colour.
    EXPECT_EQ(C->Pixels(20, 11), TColor(0x58D4FC));
    EXPECT_GT(GetGValue(C->Pixels(20, 19)), 0xD4);
}

TEST_F(DropDownTest, Windows7SelectionIsOneGradientWithFourLines) {
    D->SetSelectionColorStyle(scWindows7);
    TBitmap B(40, 24);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 40, 24));
    D->DrawSelectionBackground(B.Canvas(), Rect(0, 0, 40, 24), 0, clWhite);
    TCanvas* C = B.Canvas();
    // Lines: border on top, the upper line below it, the lower line above the bottom border.
    EXPECT_EQ(C->Pixels(20, 0), TColor(0xCEA27D));
    EXPECT_EQ(C->Pixels(20, 1), TColor(0xFDF4EB));
    EXPECT_EQ(C->Pixels(20, 21), TColor(0xFDEADB));
    EXPECT_EQ(C->Pixels(20, 22), TColor(0xCEA27D));
    EXPECT_EQ(C->Pixels(0, 10), TColor(0xCEA27D));
    // Inside: one gradient from 0xFCEBDC at the top towards 0xFCDBC1, no mirror half.
    EXPECT_EQ(C->Pixels(20, 2), TColor(0xFCEBDC));
    const TColor Low = C->Pixels(20, 19);
    EXPECT_LT(GetGValue(Low), 0xEB);
    EXPECT_GE(GetGValue(Low), 0xDB);
    EXPECT_GE(GetGValue(C->Pixels(20, 11)), GetGValue(Low));
}

TEST_F(DropDownTest, ItemAppearanceStyles) {
    TItemAppearance A(nullptr);
    EXPECT_EQ(A.ColorStyle(), scOffice2007);
    EXPECT_EQ(A.ColorHot(), TColor(0xD7FFFD));
    A.SetBorderColorHot(clRed);
    D->SetItemAppearanceStyle(&A, tsCustom);
    EXPECT_EQ(A.BorderColorHot(), clRed);
    D->SetItemAppearanceStyle(&A, tsOffice2007Luna);
    EXPECT_EQ(A.BorderColorHot(), clNone);
    EXPECT_EQ(A.ColorHot(), TColor(0xEBFDFF));
    EXPECT_EQ(A.BorderColorTop(), TColor(0xF4FEFF));
    EXPECT_EQ(A.EdgeColor(), TColor(0xC3D9DF));
    D->SetItemAppearanceStyle(&A, tsOffice2003Blue);
    EXPECT_EQ(A.BorderColorTop(), clNone);
    EXPECT_EQ(A.ColorMirrorSelectedTo(), TColor(0x7AE1FE));
    D->SetItemAppearanceStyle(&A, tsWindowsXP);
    EXPECT_EQ(A.ColorSelected(), clHighlight);
    EXPECT_EQ(A.ColorSelectedText(), clHighlightText);
    D->SetItemAppearanceStyle(&A, tsOffice2010Silver);
    EXPECT_EQ(A.ColorSelectedText(), clBlack);
    EXPECT_EQ(A.ColorMirrorHot(), TColor(0x8AE3FD));
    EXPECT_EQ(A.BorderColor(), TColor(0x308AC2));
    D->SetItemAppearanceStyle(nullptr, tsOffice2010Silver); // nothing to style
}
