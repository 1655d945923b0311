// The colour styles of the drop-down family: popup, header, footer and button colours per
// TExtStyle, the selection looks of the list kinds and the item-selector colours per style.
#include "grid/editors/ExtDropDown.h"

#include "grid/base/ExtUtil.h"

#include <optional>

namespace {
constexpr TColor Kept = TColor(0x7FFFFFFF); // the style leaves this colour as it is

struct TPanelStyle {
    TColor Popup, PopupTo, PopupBorder;
    TColor Header, HeaderTo, HeaderFont, HeaderBorder;
    // The footer differs from the header only where these are not Kept.
    TColor FooterBorder = Kept, Footer = Kept, FooterTo = Kept;
};

// Indexed by TExtStyle; tsCustom keeps everything.
constexpr TPanelStyle PanelStyles[] = {
    /* tsOffice2003Blue */ {0xFFFFFF, clNone, Kept, 0xFCE1CB, 0xE0A57D, clBlack, clBlack, 0x962D00},
    /* tsOffice2003Silver */ {0xFFFFFF, clNone, Kept, 0xECE2E1, 0xB39698, clBlack, 0x947C7C},
    /* tsOffice2003Olive */ {0xFFFFFF, clNone, clNone, 0xCFF0EA, 0x8CC0B1, clBlack, 0x588060},
    /* tsOffice2003Classic */ {0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, clWhite, 0x808080},
    /* tsOffice2007Luna */ {0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF},
    /* tsOffice2007Obsidian */ {0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C},
    /* tsWindowsXP */ {0xFFFFFF, clNone, Kept, 0xFFFFFF, clBtnFace, clBlack, 0x808080},
    /* tsWhidbey */ {0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, clWhite, 0x962D00},
    /* tsCustom */ {Kept, Kept, Kept, Kept, Kept, Kept, Kept},
    /* tsOffice2007Silver */ {0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F},
    /* tsWindowsVista */
    {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, clBlack, 0xFCF2DA, Kept, 0xFFFAF0, 0xFFFDF9},
    /* tsWindows7 */ {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, clBlack, 0xFBD6B8},
    /* tsTerminal */ {0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, clBlack, clNone},
    /* tsOffice2010Blue */ {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F},
    /* tsOffice2010Silver */ {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8},
    /* tsOffice2010Black */ {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D},
};

// Button colours, in the order they are applied.
struct TButtonStyleColors {
    TColor Color, ColorTo, BorderColor;
    TColor ColorHot, ColorHotTo, BorderColorHot;
    TColor ColorDown, ColorDownTo, BorderColorDown;
    TColor ColorDisabled, ColorDisabledTo;
    TColor ColorChecked, ColorCheckedTo, BorderColorChecked;
};

// The set shared by seven styles, which differ only in the face gradient.
constexpr TButtonStyleColors SetA(TColor Face, TColor FaceTo) {
    return {Face,     FaceTo,   clNone,   0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF,
            0x6EBBFF, 0x42AEFE, 0xF2F2F2, 0xB6B6B6, 0x76AFF1, 0x4190F3, RGB(123, 102, 69)};
}

constexpr TButtonStyleColors Office2010(TColor Face, TColor FaceTo, TColor Border) {
    return {Face,   FaceTo,   Border,   0x8AE3FD, clNone,   0x58CAF1, 0x6CD0FF,
            clNone, 0x308AC2, 0xF2F2F2, 0xB6B6B6, 0x45E1FE, clNone,   0x4FA0CE};
}

// Indexed by TExtStyle; tsCustom has no entry of its own (it changes nothing).
constexpr TButtonStyleColors ButtonStyles[] = {
    /* tsOffice2003Blue */ SetA(0xFCE1CB, 0xE0A57D),
    /* tsOffice2003Silver */ SetA(0xECE2E1, 0xB39698),
    /* tsOffice2003Olive */ SetA(0xCFF0EA, 0x8CC0B1),
    /* tsOffice2003Classic */
    {0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080, 0xD8D5D4, 0xD8D5D4,
     0xD8D5D4, 0xD8D5D4, 0x808080},
    /* tsOffice2007Luna */ SetA(0xFFEFE3, 0xFFDDC4),
    /* tsOffice2007Obsidian */ SetA(0xF2F1F0, 0xC9C2BD),
    /* tsWindowsXP */
    {0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption, clInactiveCaption, clHighlight,
     0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, clBlack},
    /* tsWhidbey */ SetA(0xFFFFFF, 0xDFEDF0),
    /* tsCustom */ SetA(clNone, clNone),
    /* tsOffice2007Silver */ SetA(0xF9F8F8, 0xE4E2DF),
    /* tsWindowsVista */
    {0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A, 0xFFFFFF, 0xFFFFFF,
     0xFEF9F0, 0xFDF0D7, TColor(0x0FEDF9AB)},
    /* tsWindows7 */
    {0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFFFFFF, 0xFFFFFF,
     0xFEF9F0, 0xFCDBC1, 0xCEA27D},
    /* tsTerminal */
    {clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080, clBtnFace,
     clBtnFace, clBtnFace, clBtnFace, clHighlight},
    /* tsOffice2010Blue */ Office2010(0xFDF6EF, 0xF0DAC7, 0xC7B29F),
    /* tsOffice2010Silver */ Office2010(0xFFFFFF, 0xEDE5E0, 0xD2CDC8),
    /* tsOffice2010Black */ Office2010(0xBFBFBF, 0x919191, 0xD7D7D6),
};

struct TSelectionLook {
    TColor Color, ColorTo;
    TColor Edge, Border, Bottom, Top; // the four line colours, in the order the face takes them
    TColor Mirror, MirrorTo;
};

// Indexed by TSelectionColorStyle; scCustom fills plainly.
constexpr TSelectionLook SelectionLooks[] = {
    /* scCustom */ {clNone, clNone, clNone, clNone, clNone, clNone, clNone, clNone},
    /* scOffice2007 */ {0xD7FFFD, 0x58D4FC, 0xC3D9DF, 0x8DD7D3, 0xCAF8FF, 0xF4FEFF, 0x58D4FC, 0xB3F1FC},
    /* scWindowsVista */ {0xFDF8F1, 0xFCEFD5, 0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, clNone, clNone},
    /* scWindows7 */ {0xFCEBDC, 0xFCDBC1, 0xE0C5AE, 0xCEA27D, 0xFDEADB, 0xFDF4EB, clNone, clNone},
};

struct TItemStyle {
    TColor Hot, HotTo, MirrorHot, MirrorHotTo;
    TColor Selected, SelectedTo, MirrorSelected, MirrorSelectedTo;
    TColor Border, Top, Bottom, Edge;
    TColor SelectedText = Kept;
};

constexpr TItemStyle ItemOffice2003 = {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF,
                                       0x42AEFE, 0x7AE1FE, 0x42AEFE, clNone,   clNone,   clNone};
constexpr TItemStyle ItemOffice2007 = {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF,
                                       0x42AEFE, 0x7AE1FE, 0x42AEFE, 0xF4FEFF, 0xCAF8FF, 0xC3D9DF};
constexpr TItemStyle ItemOffice2010 = {0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF,
                                       0x7BEEFF, 0x308AC2, clNone,   clNone,   clNone,   clBlack};

// Indexed by TExtStyle.
constexpr TItemStyle ItemStyles[] = {
    /* tsOffice2003Blue */ ItemOffice2003,
    /* tsOffice2003Silver */ ItemOffice2003,
    /* tsOffice2003Olive */ ItemOffice2003,
    /* tsOffice2003Classic */
    {0xD2BDB6, 0xD2BDB6, clNone, clNone, 0xB59285, 0xB59285, clNone, clNone, 0x808080, clNone, clNone, clNone},
    /* tsOffice2007Luna */ ItemOffice2007,
    /* tsOffice2007Obsidian */ ItemOffice2007,
    /* tsWindowsXP */
    {0xEFD3C6, 0xEFD3C6, clNone, clNone, clHighlight, clNone, clNone, clNone, clHighlight, clNone, clNone, clNone,
     clHighlightText},
    /* tsWhidbey */ ItemOffice2003,
    /* tsCustom */ ItemOffice2003,
    /* tsOffice2007Silver */ ItemOffice2007,
    /* tsWindowsVista */
    {0xFFFDF9, 0xFFFAF0, clNone, clNone, 0xFEF9F0, 0xFDF0D7, clNone, clNone, 0xFEDF9A, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB},
    /* tsWindows7 */
    {0xFDFBFA, 0xFDF3EB, clNone, clNone, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE},
    /* tsTerminal */
    {0xC0C0C0, 0xC0C0C0, clNone, clNone, clHighlight, clNone, clNone, clNone, 0x808080, clNone, clNone, clNone,
     clHighlightText},
    /* tsOffice2010Blue */ ItemOffice2010,
    /* tsOffice2010Silver */ ItemOffice2010,
    /* tsOffice2010Black */ ItemOffice2010,
};

static_assert(std::size(PanelStyles) == 16 && std::size(ButtonStyles) == 16 && std::size(ItemStyles) == 16);

void Apply(TColor& Field, TColor Value) {
    if (Value != Kept) Field = Value;
}

} // namespace

void TExtCustomDropDown::SetComponentStyle(TExtStyle AStyle) {
    FExtStyle = AStyle;
    if (AStyle == tsCustom || AStyle > tsOffice2010Black) return;
    const TPanelStyle& P = PanelStyles[AStyle];
    Apply(FDropDownColor, P.Popup);
    Apply(FDropDownColorTo, P.PopupTo);
    Apply(FDropDownBorderColor, P.PopupBorder);
    THeaderAppearance* H = FDropDownHeader.get();
    H->SetColor(P.Header);
    H->SetColorTo(P.HeaderTo);
    H->Font()->SetColor(P.HeaderFont);
    H->SetBorderColor(P.HeaderBorder);
    TFooterAppearance* F = FDropDownFooter.get();
    F->SetColor(P.Footer != Kept ? P.Footer : P.Header);
    F->SetColorTo(P.FooterTo != Kept ? P.FooterTo : P.HeaderTo);
    F->Font()->SetColor(P.HeaderFont);
    F->SetBorderColor(P.FooterBorder != Kept ? P.FooterBorder : P.HeaderBorder);

    const TButtonStyleColors& B = ButtonStyles[AStyle];
    TExtButtonAppearance* A = FButtonAppearance.get();
    A->SetColor(B.Color);
    A->SetColorTo(B.ColorTo);
    A->SetBorderColor(B.BorderColor);
    A->SetColorHot(B.ColorHot);
    A->SetColorHotTo(B.ColorHotTo);
    A->SetBorderColorHot(B.BorderColorHot);
    A->SetColorDown(B.ColorDown);
    A->SetColorDownTo(B.ColorDownTo);
    A->SetBorderColorDown(B.BorderColorDown);
    A->SetColorDisabled(B.ColorDisabled);
    A->SetColorDisabledTo(B.ColorDisabledTo);
    A->SetColorChecked(B.ColorChecked);
    A->SetColorCheckedTo(B.ColorCheckedTo);
    A->SetBorderColorChecked(B.BorderColorChecked);
}

void TExtCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    FSelectionColorStyle = Value;
    if (Value == scCustom) return;
    FSelectionColor = SelectionLooks[Value].Color;
    FSelectionColorTo = SelectionLooks[Value].ColorTo;
}

void TExtCustomDropDown::DrawSelectionBackground(TCanvas* Canvas, TRect R, int SideCode, TColor ExtraColor) {
    if (!Canvas) return;
    if (FSelectionColorStyle == scCustom) {
        Canvas->Brush()->SetColor(FSelectionColor);
        Canvas->Pen()->SetColor(FSelectionColor);
        Canvas->Rectangle(R);
        return;
    }
    const TSelectionLook& L = SelectionLooks[FSelectionColorStyle];
    // The extra colour fills the outermost corner pixels, the edge colour the ones inside them.
    DrawGradientButtonFace(Canvas, FSelectionColor, FSelectionColorTo, L.Mirror, L.MirrorTo, L.Top, L.Bottom, L.Border,
                           L.Edge, ExtraColor, R, SideCode);
}

void TExtCustomDropDown::SetItemAppearanceStyle(TItemAppearance* Appearance, TExtStyle AStyle) {
    if (!Appearance || AStyle == tsCustom || AStyle > tsOffice2010Black) return;
    Appearance->SetBorderColorHot(clNone);
    Appearance->SetBorderColorSelected(clNone);
    Appearance->SetColorSelectedText(clBlack);
    Appearance->SetColorHotText(clBlack);
    const TItemStyle& S = ItemStyles[AStyle];
    Appearance->SetColorHot(S.Hot);
    Appearance->SetColorHotTo(S.HotTo);
    Appearance->SetColorMirrorHot(S.MirrorHot);
    Appearance->SetColorMirrorHotTo(S.MirrorHotTo);
    Appearance->SetColorSelected(S.Selected);
    Appearance->SetColorSelectedTo(S.SelectedTo);
    Appearance->SetColorMirrorSelected(S.MirrorSelected);
    Appearance->SetColorMirrorSelectedTo(S.MirrorSelectedTo);
    Appearance->SetBorderColor(S.Border);
    Appearance->SetBorderColorTop(S.Top);
    Appearance->SetBorderColorBottom(S.Bottom);
    Appearance->SetEdgeColor(S.Edge);
    if (S.SelectedText != Kept) Appearance->SetColorSelectedText(S.SelectedText);
}

void TExtCustomDropDown::SetColorTones(const TColorTones& ATones) {
    FButton->ButtonColor = ATones.Background.BrushColor;
    FButton->ButtonColorHot = ATones.Hover.BrushColor;
    FButton->ButtonColorDown = ATones.Selected.BrushColor;
    FButton->ButtonBorderColor = ATones.Background.BorderColor;
    SetBorderColor(ATones.Background.BorderColor);
    FButton->Button()->update();
}
