// Recolouring the grid in one call: the look presets (SetLook), the named colour schemes
// (SetStyle, SetComponentStyle), a caller's colour tones (SetColorTones), the XP colour schemes of
// the header gradient (SetTheme), following the office theme (ApplyOfficeTheme), and the thin
// coloured border of the gradient looks. These only set colours; painting reads them.
//
// SetStyle sets the look first for most schemes, and a look change applies its preset before the
// scheme's own colours go on top; the look presets of the gradient looks in turn apply their
// scheme. The recursion ends because SetLook stores the new look before it does anything else.
#include "grid/control/ExtGrid.h"

#include "grid/base/EsgHTMLE.h"
#include "grid/base/ExtStyleIF.h"
#include "grid/base/ExtUtil.h"
#include "grid/control/ExtGrid_Editors.h"

void TExtStringGrid::SetHTMLHighlightColors(TColor Color, TColor TextColor) {
    ::SetHTMLHighlightColors(Color, TextColor);
}

// ---- header gradient --------------------------------------------------------------------------------
void TExtStringGrid::SetExtGradientFrom(TColor Value) {
    FExtGradientFrom = Value == clNone ? clNone : TColor(ColorToRGB(Value));
    Invalidate();
}

void TExtStringGrid::SetExtGradientTo(TColor Value) {
    FExtGradientTo = Value == clNone ? clNone : TColor(ColorToRGB(Value));
    Invalidate();
}

void TExtStringGrid::SetExtGradientMirrorFrom(TColor Value) {
    FExtGradientMirrorFrom = Value == clNone ? clNone : TColor(ColorToRGB(Value));
    Invalidate();
}

void TExtStringGrid::SetExtGradientMirrorTo(TColor Value) {
    FExtGradientMirrorTo = Value == clNone ? clNone : TColor(ColorToRGB(Value));
    Invalidate();
}

void TExtStringGrid::ControlLookColorChanged(int Which, TColor Value) {
    switch (Which) {
        case clgFixedFrom: SetExtGradientFrom(Value); break;
        case clgFixedTo: SetExtGradientTo(Value); break;
        case clgFixedMirrorFrom: SetExtGradientMirrorFrom(Value); break;
        case clgFixedMirrorTo: SetExtGradientMirrorTo(Value); break;
        case clgHoverFrom: FExtGradientHoverFrom = Value; break;
        case clgHoverTo: FExtGradientHoverTo = Value; break;
        case clgHoverMirrorFrom: FExtGradientHoverMirrorFrom = Value; break;
        case clgHoverMirrorTo: FExtGradientHoverMirrorTo = Value; break;
        case clgHoverBorder: FExtGradientHoverBorder = Value; break;
        case clgDownFrom: FExtGradientDownFrom = Value; break;
        case clgDownTo: FExtGradientDownTo = Value; break;
        case clgDownMirrorFrom: FExtGradientDownMirrorFrom = Value; break;
        case clgDownMirrorTo: FExtGradientDownMirrorTo = Value; break;
        case clgDownBorder: FExtGradientDownBorder = Value; break;
        default: break;
    }
}

// ---- look presets -----------------------------------------------------------------------------------
void TExtStringGrid::SetLook(TGridLook Value) {
    if (Value == FLook) return;
    FLook = Value;
    TControlLook* CL = ControlLook();
    if (Value != glCustom) {
        CL->SetGradient(clgFixedMirrorFrom, clNone);
        CL->SetGradient(clgFixedMirrorTo, clNone);
        CL->SetGradient(clgFixedFrom, clNone);
        CL->SetGradient(clgFixedTo, clNone);
        SetExtGradientFrom(clNone);
        SetExtGradientTo(clNone);
        SetExtGradientMirrorFrom(clNone);
        SetExtGradientMirrorTo(clNone);
        SortSettings()->SetHeaderColor(clNone);
    }
    switch (Value) {
        case glVista:
            SetStyle(gsWindowsVista);
            SetGridStyle(gsWindowsVista);
            SetSelectionStyle(ssVista);
            break;
        case glWin7:
            SetStyle(gsWindows7);
            SetGridStyle(gsWindows7);
            SetSelectionStyle(ssWin7);
            break;
        case glOffice2007:
            SetStyle(gsOffice2007Luna);
            SetGridStyle(gsOffice2007Luna);
            SetSelectionStyle(ssOffice2007);
            break;
        case glCustom: break;
        default: {
            SetSelectionStyle(ssDefault);
            if (IsLoading()) break;
            const bool Plain = Value == glStandard || Value == glSoft || Value == glClassic;
            const bool ExtXP = Value == glExt || Value == glXP;
            if (Plain) SetFixedColor(clBtnFace);
            if (Plain) {
                CL->SetGradient(clgFixedFrom, clBtnFace);
                CL->SetGradient(clgFixedTo, clNone);
            } else {
                CL->SetGradient(clgFixedFrom, clWhite);
                CL->SetGradient(clgFixedTo, clBtnFace);
                if (Value == glExt) CL->SetGradient(clgFixedTo, clSilver);
            }
            SetGridFixedLineColor(clGray);
            CL->SetGradient(clgFixedMirrorFrom, clNone);
            CL->SetGradient(clgFixedMirrorTo, clNone);
            SetExtGradientMirrorFrom(clNone);
            SetExtGradientMirrorTo(clNone);
            SetGridLineColor(clSilver);
            SetActiveCellColor(ExtXP ? TColor(0xEACAB6) : clGray);
            SetActiveCellColorTo(clNone);
            if (ExtXP) {
                SetSelectionColor(TColor(0xEACAB6));
                SetSelectionColorTo(clNone);
                SetSelectionTextColor(clBlack);
                SearchFooter()->SetColor(clNone);
                SearchFooter()->SetColorTo(clNone);
                CL->SetGradient(clgHoverFrom, 0xCFD0D1);
                CL->SetGradient(clgHoverTo, 0xBEC6C8);
                CL->SetGradient(clgHoverMirrorFrom, 0xBEC6C8);
                CL->SetGradient(clgHoverMirrorTo, 0xABBCBF);
                CL->SetGradient(clgDownFrom, 0x868788);
                CL->SetGradient(clgDownTo, 0x737C7E);
                CL->SetGradient(clgDownMirrorFrom, 0x737C7E);
                CL->SetGradient(clgDownMirrorTo, 0x627376);
            } else {
                SetSelectionColor(clHighlight);
                SetSelectionTextColor(clHighlightText);
                SearchFooter()->SetColor(clBtnFace);
                SearchFooter()->SetColorTo(clBtnFace);
            }
            break;
        }
    }
    SetScrollType(ssNormal);
    SetBorderStyle(bsSingle);
    SetBorderColor(TColor(0xB99D7F));
    Invalidate();
    if (!IsLoading()) UpdateFooter();
}

// ---- colour schemes ---------------------------------------------------------------------------------
void TExtStringGrid::SetStyle(TExtGridStyle AStyle) {
    TControlLook* CL = ControlLook();
    TSortSettings* SS = SortSettings();
    TSearchFooter* SF = SearchFooter();
    SetSelectionColor(clHighlight);
    SetSelectionColorTo(clNone);
    SetSelectionTextColor(clHighlightText);
    SetSelectionStyle(ssDefault);
    SS->SetHeaderColor(clNone);
    SS->SetHeaderColorTo(clNone);
    SS->SetHeaderMirrorColor(clNone);
    SS->SetHeaderMirrorColorTo(clNone);
    CL->Init();

    auto GridLines = [this](TColor Line, TColor Fixed) {
        SetGridLineColor(Line);
        SetGridFixedLineColor(Fixed);
    };
    auto Header = [this](TColor From, TColor To) {
        SetExtGradientFrom(From);
        SetExtGradientTo(To);
        SetExtGradientMirrorFrom(clNone);
        SetExtGradientMirrorTo(clNone);
    };
    auto Active = [this](TColor From, TColor To) {
        SetActiveCellColor(From);
        SetActiveCellColorTo(To);
    };
    auto FixedGradient = [CL](TColor From, TColor To) {
        CL->SetGradient(clgFixedFrom, From);
        CL->SetGradient(clgFixedTo, To);
    };
    auto Footer = [SF](TColor From, TColor To) {
        SF->SetColor(From);
        SF->SetColorTo(To);
    };

    switch (AStyle) {
        case gsOffice2003Blue:
        case gsOffice2003Silver:
        case gsOffice2003Olive: {
            static const TColor F[] = {0xFCE1CB, 0xECE2E1, 0xCFF0EA}, T[] = {0xE0A57D, 0xB39698, 0x8CC0B1};
            const TColor From = F[AStyle - gsOffice2003Blue], To = T[AStyle - gsOffice2003Blue];
            SetLook(glXP);
            Header(From, To);
            Active(0x94E6FB, 0x1595EE);
            FixedGradient(From, To);
            GridLines(0xC0C0C0, 0x808080);
            Footer(From, clNone);
            SetSelectionColor(0x94E6FB);
            SetSelectionColorTo(0x1595EE);
            SetSelectionTextColor(clBlack);
            break;
        }
        case gsOffice2003Classic:
        case gsWhidbey:
            if (AStyle == gsOffice2003Classic) {
                SetLook(glXP);
                Active(0xD8D5D4, 0xD8D5D4);
            } else {
                Active(0x94E6FB, 0x1595EE);
            }
            Header(clWhite, AStyle == gsWhidbey ? clBtnFace : TColor(0xCCD4D8));
            FixedGradient(clNone, clNone);
            GridLines(0xC0C0C0, 0x808080);
            Footer(clWhite, clNone);
            break;
        case gsWindowsXP:
            SetLook(glXP);
            Active(clBtnFace, clBtnFace);
            Header(clBtnFace, clBtnFace);
            FixedGradient(clNone, clNone);
            GridLines(0xC0C0C0, 0x808080);
            Footer(clBtnFace, clNone);
            SetLook(glXP);
            break;
        case gsOffice2007Luna:
            SetLook(glOffice2007);
            Active(0x9DD8F9, 0x5EC1F1);
            Header(0xFBF9F6, 0xE8DBD2);
            FixedGradient(0xFBF9F6, 0xE8DBD2);
            GridLines(0xF1EDEB, 0xD1BBA4);
            SetSelectionColor(0x5EC1F1);
            SetSelectionTextColor(clBlack);
            Footer(0xFBF9F6, clNone);
            CL->SetGradient(clgHoverFrom, 0xE4E2DF);
            CL->SetGradient(clgHoverTo, 0xDBD3CD);
            CL->SetGradient(clgHoverMirrorFrom, 0xDBD3CD);
            CL->SetGradient(clgHoverMirrorTo, 0xD2C5BC);
            CL->SetGradient(clgHoverBorder, 0xB79F87);
            for (TControlLookGradient G : {clgDownFrom, clgDownTo, clgDownMirrorFrom, clgDownMirrorTo, clgDownBorder})
                CL->SetGradient(G, 0xE4C19D);
            if (Look() == glOffice2007) SetSelectionStyle(ssOffice2007);
            break;
        case gsOffice2007Obsidian:
        case gsOffice2007Silver: {
            const bool Obsidian = AStyle == gsOffice2007Obsidian;
            SetLook(glOffice2007);
            if (Obsidian)
                Active(0x9DD8F9, 0x5EC1F1);
            else
                Active(0x99CCFF, 0x699CFF);
            SetExtGradientFrom(Obsidian ? 0xF7F7F7 : 0xF3F3F1);
            SetExtGradientTo(Obsidian ? 0xDEDEDE : 0xCAC9C8);
            if (Obsidian) {
                SetExtGradientMirrorFrom(clNone);
                SetExtGradientMirrorTo(clNone);
            }
            FixedGradient(ExtGradientFrom(), ExtGradientTo());
            GridLines(0xE5D7D0, 0x808080);
            SetSelectionColor(Obsidian ? 0x5EC1F1 : 0x95C7F5);
            SetSelectionTextColor(clBlack);
            Footer(ExtGradientFrom(), ExtGradientMirrorTo());
            break;
        }
        case gsWindowsVista:
            SetLook(glVista);
            SetExtGradientFrom(clWhite);
            SetExtGradientTo(clWhite);
            SetExtGradientMirrorFrom(0xFAF8F7);
            SetExtGradientMirrorTo(0xF4F2F1);
            SetExtGradientHoverFrom(0xFFF7E3);
            SetExtGradientHoverTo(0xFFF7E3);
            SetExtGradientHoverMirrorFrom(0xFFEDBD);
            SetExtGradientHoverMirrorTo(0xFBE7B7);
            SetExtGradientHoverBorder(0xE3C993);
            CL->SetGradient(clgFixedFrom, clWhite);
            CL->SetGradient(clgFixedTo, clWhite);
            CL->SetGradient(clgFixedMirrorFrom, 0xFAF8F7);
            CL->SetGradient(clgFixedMirrorTo, 0xF4F2F1);
            CL->SetGradient(clgHoverFrom, 0xFFF7E3);
            CL->SetGradient(clgHoverTo, 0xFFF7E3);
            CL->SetGradient(clgHoverMirrorFrom, 0xFFEDBD);
            CL->SetGradient(clgHoverMirrorTo, 0xFBE7B7);
            CL->SetGradient(clgHoverBorder, 0xE3C993);
            CL->SetGradient(clgDownFrom, 0xF9E4BC);
            CL->SetGradient(clgDownTo, 0xF9E4BC);
            CL->SetGradient(clgDownMirrorFrom, 0xF7D68D);
            CL->SetGradient(clgDownMirrorTo, 0xF5D18A);
            CL->SetGradient(clgDownBorder, 0xAE904F);
            SS->SetHeaderColor(0xFCF9F2);
            SS->SetHeaderColorTo(0xFCF9F2);
            SS->SetHeaderMirrorColor(0xF9F1E1);
            SS->SetHeaderMirrorColorTo(0xF6ECD8);
            Active(0xFDF8F1, 0xFCEFD5);
            FixedGradient(clNone, clNone);
            SetSelectionColor(0xEACAB6);
            SetSelectionTextColor(clBlack);
            Footer(clWhite, 0xF4F2F1);
            SetSelectionStyle(ssVista);
            GridLines(0xECECF0, 0xD4D2D1);
            break;
        case gsWindows7:
            SetLook(glWin7);
            SetExtGradientFrom(0xFDFCFA);
            SetExtGradientTo(0xFAF0E6);
            SetExtGradientMirrorFrom(0xF4E6DC);
            SetExtGradientMirrorTo(0xF7E9DD);
            SetExtGradientHoverFrom(0xFDF8F3);
            SetExtGradientHoverTo(0xF9F3EF);
            SetExtGradientHoverMirrorFrom(clNone);
            SetExtGradientHoverMirrorTo(clNone);
            SetExtGradientHoverBorder(0xEEE8E3);
            CL->SetGradient(clgFixedFrom, 0xFDFCFA);
            CL->SetGradient(clgFixedTo, 0xFAF0E6);
            CL->SetGradient(clgFixedMirrorFrom, 0xF4E6DC);
            CL->SetGradient(clgFixedMirrorTo, 0xF7E9DD);
            CL->SetGradient(clgHoverFrom, 0xFEFBF8);
            CL->SetGradient(clgHoverTo, 0xFAF2ED);
            CL->SetGradient(clgHoverMirrorFrom, 0xF4E4D7);
            CL->SetGradient(clgHoverMirrorTo, 0xE8D2C1);
            CL->SetGradient(clgDownFrom, 0xF1E8DD);
            CL->SetGradient(clgDownTo, 0xF1E4D8);
            CL->SetGradient(clgDownMirrorFrom, 0xECDBCF);
            CL->SetGradient(clgDownMirrorTo, 0xEDDCCF);
            CL->SetGradient(clgDownBorder, 0xD5BCAA);
            SS->SetHeaderColor(0xFCF9F2);
            SS->SetHeaderColorTo(0xFCF9F2);
            SS->SetHeaderMirrorColor(0xF9F1E1);
            SS->SetHeaderMirrorColorTo(0xF6ECD8);
            Active(0xFCEBDC, 0xFCDBC1);
            FixedGradient(clNone, clNone);
            SetSelectionColor(0xEACAB6);
            SetSelectionTextColor(clBlack);
            Footer(ExtGradientFrom(), ExtGradientMirrorTo());
            SetSelectionStyle(ssWin7);
            GridLines(0xECECF0, 0xD4D2D1);
            break;
        case gsOffice2010Blue:
        case gsOffice2010Silver:
        case gsOffice2010Black: {
            static const TColor VV[] = {0xF5E7DA, 0xE8E3DF, 0x6A6A6A}, HH[] = {0xD6CEC7, 0xAAAAAA, 0xBABABA},
                                LL[] = {0xC7B0A0, 0xBAB5B1, 0x444444};
            const int I = AStyle - gsOffice2010Blue;
            const TColor V = VV[I], H = HH[I], L = LL[I];
            SetLook(glOffice2007);
            SetExtGradientFrom(V);
            SetExtGradientTo(V);
            SetExtGradientMirrorFrom(V);
            SetExtGradientMirrorTo(V);
            SetExtGradientHoverFrom(clNone);
            SetExtGradientHoverTo(clNone);
            SetExtGradientHoverMirrorFrom(clNone);
            SetExtGradientHoverMirrorTo(clNone);
            SetExtGradientHoverBorder(clNone);
            for (TControlLookGradient G : {clgFixedFrom, clgFixedTo, clgFixedMirrorFrom, clgFixedMirrorTo})
                CL->SetGradient(G, V);
            CL->SetGradient(clgHoverFrom, 0x6BDFFF);
            CL->SetGradient(clgHoverTo, 0xAFEFFF);
            CL->SetGradient(clgHoverMirrorFrom, 0xAFEFFF);
            CL->SetGradient(clgHoverMirrorTo, 0xE6FCFF);
            CL->SetGradient(clgHoverBorder, 0x3ABFE8);
            CL->SetGradient(clgDownFrom, 0x5BD5FF);
            CL->SetGradient(clgDownTo, 0x64E0FF);
            CL->SetGradient(clgDownMirrorFrom, 0x64E0FF);
            CL->SetGradient(clgDownMirrorTo, 0x71EFFF);
            CL->SetGradient(clgDownBorder, 0x308AC2);
            SS->SetHeaderColor(H);
            SS->SetHeaderColorTo(H);
            SS->SetHeaderMirrorColor(H);
            SS->SetHeaderMirrorColorTo(H);
            Active(0x5BD5FF, 0x71EFFF);
            FixedGradient(clNone, clNone);
            SetSelectionColor(0xFFDBB7);
            SetSelectionTextColor(clBlack);
            Footer(V, V);
            SetSelectionStyle(ssDefault);
            GridLines(0xC0C0C0, L);
            break;
        }
        case gsTerminal: SetLook(glStandard); break;
        case gsCustom: break;
    }
    Invalidate();
}

void TExtStringGrid::SetComponentStyle(TExtStyle AStyle) {
    FComponentStyle = AStyle;
    SetStyle(TExtGridStyle(int(AStyle)));
    SetDropDownStyles(AStyle);
    if (AStyle != tsCustom && ScrollType() == ssMetro) SetScrollType(ssNormal);
}

void TExtStringGrid::SetColorTones(const TColorTones& ATones) {
    FColorTones = ATones;
    SetLook(glClassic);
    SetFlat(true);
    SetScrollType(ssMetro);
    const QString UIFont = GetDefaultUIFontName();
    SetFixedColor(ATones.Foreground.BrushColor);
    FixedFont()->SetColor(ATones.Foreground.TextColor);
    FixedFont()->SetName(UIFont);
    SetColor(ATones.Background.BrushColor);
    Font()->SetName(UIFont);
    Font()->SetColor(ATones.Background.TextColor);
    SetSelectionColor(ATones.Selected.BrushColor);
    SetSelectionTextColor(ATones.Selected.TextColor);
    SetSelectionColorTo(clNone);
    SetGridLineColor(0xE6E6E6);
    SetGridFixedLineColor(ScaleColor(ATones.Foreground.BrushColor, -20));
    SetBorderStyle(bsNone);
    ControlLook()->SetControlStyle(csGlyph);
    auto Glyph = [](const char* Name) {
        auto B = std::make_unique<TBitmap>();
        B->LoadFromResourceName(QString::fromLatin1(Name));
        return B;
    };
    ControlLook()->SetCheckedGlyph(Glyph("METROCHECKON").get());
    ControlLook()->SetUnCheckedGlyph(Glyph("METROCHECKOFF").get());
    ControlLook()->SetRadioOffGlyph(Glyph("METRORADIOOFF").get());
    ControlLook()->SetRadioOnGlyph(Glyph("METRORADIOON").get());
    ControlLook()->SetFlatButton(true);
    FloatingFooter()->SetColor(ATones.Foreground.BrushColor);
    SearchFooter()->SetColor(ATones.Foreground.BrushColor);
    SearchFooter()->SetColorTo(ATones.Foreground.BrushColor);
    SetCellNodeFlat();
    if (!IsDesigning()) ApplyTonesToEditors();
    Invalidate();
}

void TExtStringGrid::ApplyTonesToEditors() {
    const TColorTones& T = FColorTones;
    // Nothing to hand on before a tone set was applied.
    if (T.Background.BrushColor == clNone) return;
    auto Buttons = [&T](auto* E) {
        if (!E) return;
        E->ButtonColor = T.Background.BrushColor;
        E->ButtonColorHot = T.Hover.BrushColor;
        E->ButtonColorDown = T.Selected.BrushColor;
        E->ButtonBorderColor = T.Background.BorderColor;
    };
    Buttons(EditBtn ? EditBtn->Button() : nullptr);
    Buttons(EditCombo);
    Buttons(FEditSpin ? FEditSpin->Button() : nullptr);
    if (EditCombo) {
        EditCombo->SetBorderColor(Color());
        EditCombo->SetFlat(true);
    }
    if (FEditDate) {
        FEditDate->FButtonColor = T.Background.BrushColor;
        FEditDate->FButtonColorHot = T.Hover.BrushColor;
        FEditDate->FButtonColorDown = T.Selected.BrushColor;
        FEditDate->FButtonBorderColor = T.Background.BorderColor;
        FEditDate->SetBorderColor(T.Background.BrushColor);
        FEditDate->SetMetroStyle(true);
    }
}

void TExtStringGrid::SetTheme(TXPColorScheme Scheme) {
    TControlLook* CL = ControlLook();
    auto Apply = [&](TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo, TColor ActiveFrom, TColor ActiveTo,
                     TColor FixedFrom, TColor FixedTo, TColor FooterFrom, TColor FooterTo) {
        FExtGradientFrom = From;
        FExtGradientTo = To;
        FExtGradientMirrorFrom = MirrorFrom;
        FExtGradientMirrorTo = MirrorTo;
        FActiveCellColor = ActiveFrom;
        FActiveCellColorTo = ActiveTo;
        CL->SetGradient(clgFixedFrom, FixedFrom);
        CL->SetGradient(clgFixedTo, FixedTo);
        SearchFooter()->SetColor(FooterFrom);
        SearchFooter()->SetColorTo(FooterTo);
    };
    switch (Scheme) {
        case xpBlue:
            Apply(0xFCE1CB, 0xE0A57D, clNone, clNone, 0x94E6FB, 0x1595EE, 0xFCE1CB, 0xE0A57D, 0xFCE1CB, 0xE0A57D);
            break;
        case xpGreen:
            Apply(0xCFF0EA, 0x8CC0B1, clNone, clNone, 0x94E6FB, 0x1595EE, 0xCFF0EA, 0x8CC0B1, 0xCFF0EA, 0x8CC0B1);
            break;
        case xpGray:
            Apply(0xECE2E1, 0xB39698, clNone, clNone, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698, 0xECE2E1, 0xB39698);
            break;
        case vistaAero:
            Apply(clWhite, clWhite, 0xFAF8F7, 0xF4F2F1, 0x94E6FB, 0x1595EE, clWhite, clWhite, 0xECE2E1, 0xB39698);
            break;
        case xpNone:
            Apply(clWhite, clBtnFace, clNone, clNone, clWhite, 0xFFD9B3, clNone, clNone, clWhite, 0xFFD9B3);
            break;
    }
}

void TExtStringGrid::ApplyOfficeTheme() {
    if (IsDesigning()) return;
    const TOfficeTheme Theme = GetOfficeTheme();
    if (Theme != OldOfficeTheme()) {
        static const TExtStyle Styles[] = {
            tsOffice2003Blue,   tsOffice2003Silver,   tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
            tsOffice2007Silver, tsOffice2007Obsidian, tsOffice2010Blue,  tsOffice2010Silver,  tsOffice2010Black};
        if (Theme != otUnknown) SetComponentStyle(Styles[Theme]);
    }
    SetOldOfficeTheme(Theme);
}

// ---- the coloured border ----------------------------------------------------------------------------
// The frame is not a separate area here, so the line is drawn over the outermost client pixels.
void TExtStringGrid::PaintBorder() {
    const TGridLook L = Look();
    const bool LookWithBorder =
        L == glSoft || L == glExt || L == glXP || L == glListView || L == glVista || L == glWin7 || L == glOffice2007;
    if (!LookWithBorder || BorderStyle() == bsNone || BorderColor() == clNone || Flat()) return;
    if (!Canvas()->HandleAllocated()) {
        update();
        return;
    }
    const int W = ClientWidth(), H = ClientHeight();
    TCanvas* C = Canvas();
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(psSolid);
    auto Ring = [C](TColor Color, int L, int T, int R, int B, int Start) {
        C->Pen()->SetColor(Color);
        C->MoveTo(L, Start);
        C->LineTo(L, T);
        C->LineTo(R, T);
        C->LineTo(R, B);
        C->LineTo(L, B);
    };
    if (FitCellsInGrid()) {
        // The coloured line one pixel in, the outermost pixels in the colour of what is around.
        Ring(BorderColor(), 1, 1, W - 2, H - 2, H);
        if (auto* P = dynamic_cast<TControl*>(Parent())) Ring(P->Color(), 0, 0, W - 1, H - 1, H);
    } else if (IsComCtl6()) {
        Ring(BorderColor(), 0, 0, W - 1, H - 1, H - 1);
    }
}
