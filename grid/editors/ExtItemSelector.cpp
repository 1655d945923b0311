#include "grid/editors/ExtItemSelector.h"

namespace {
// The twelve colours a named selection style presets, in the order of the table below.
struct TItemStylePreset {
    TColor ColorHot, ColorHotTo, ColorMirrorHot, ColorMirrorHotTo, BorderColorTop, BorderColorBottom, BorderColor,
        EdgeColor, ColorSelected, ColorSelectedTo, ColorMirrorSelected, ColorMirrorSelectedTo;
};

constexpr TItemStylePreset ItemStylePresets[] = {
    // scOffice2007
    {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4, 0x15C1FB,
     0x68E3F9},
    // scWindowsVista
    {0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4, clNone, clNone},
    // scWindows7
    {0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2, clNone, clNone},
};
} // namespace

TItemAppearance::TItemAppearance(TPersistent* AOwner) : FOwner(AOwner) {
    FFont.SetName(QStringLiteral("Tahoma"));
    SetColorStyle(scOffice2007);
    FColorSelectedText = clBlack;
    FColorHotText = clBlack;
    FBorderColorHot = clNone;
    FBorderColorSelected = clNone;
}

void TItemAppearance::SetColorStyle(TSelectionColorStyle Value) {
    if (Value == FColorStyle) return;
    FColorStyle = Value;
    if (Value == scCustom) return;
    const TItemStylePreset& P = ItemStylePresets[Value - scOffice2007];
    FColorHot = P.ColorHot;
    FColorHotTo = P.ColorHotTo;
    FColorMirrorHot = P.ColorMirrorHot;
    FColorMirrorHotTo = P.ColorMirrorHotTo;
    FBorderColorTop = P.BorderColorTop;
    FBorderColorBottom = P.BorderColorBottom;
    FBorderColor = P.BorderColor;
    FEdgeColor = P.EdgeColor;
    FColorSelected = P.ColorSelected;
    FColorSelectedTo = P.ColorSelectedTo;
    FColorMirrorSelected = P.ColorMirrorSelected;
    FColorMirrorSelectedTo = P.ColorMirrorSelectedTo;
}

void TItemAppearance::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TItemAppearance*>(Source);
    if (!S) return;
    FColorHot = S->FColorHot;
    FColorHotTo = S->FColorHotTo;
    FColorMirrorHot = S->FColorMirrorHot;
    FColorMirrorHotTo = S->FColorMirrorHotTo;
    FBorderColorTop = S->FBorderColorTop;
    FBorderColorBottom = S->FBorderColorBottom;
    FBorderColor = S->FBorderColor;
    FEdgeColor = S->FEdgeColor;
    FColorSelected = S->FColorSelected;
    FColorSelectedTo = S->FColorSelectedTo;
    FColorMirrorSelected = S->FColorMirrorSelected;
    FColorMirrorSelectedTo = S->FColorMirrorSelectedTo;
    FFont.Assign(&S->FFont);
    SetColorStyle(S->FColorStyle);
    FColorSelectedText = S->FColorSelectedText;
    FColorHotText = S->FColorHotText;
    FBorderColorHot = S->FBorderColorHot;
    FBorderColorSelected = S->FBorderColorSelected;
}
