#include "grid/control/ControlLook.h"

#include "grid/editors/ExtDropDown.h"

TControlLook::TControlLook(TPersistent* AOwner)
    : FCheckedGlyph(std::make_unique<TBitmap>()), FUnCheckedGlyph(std::make_unique<TBitmap>()),
      FRadioOnGlyph(std::make_unique<TBitmap>()), FRadioOffGlyph(std::make_unique<TBitmap>()),
      FDropDownHeader(std::make_unique<THeaderAppearance>(AOwner)),
      FDropDownFooter(std::make_unique<TFooterAppearance>(AOwner)) {}

TControlLook::~TControlLook() = default;

void TControlLook::SetDropDownHeader(THeaderAppearance* Value) {
    if (Value && Value != FDropDownHeader.get()) FDropDownHeader->Assign(Value);
}

void TControlLook::SetDropDownFooter(TFooterAppearance* Value) {
    if (Value && Value != FDropDownFooter.get()) FDropDownFooter->Assign(Value);
}

void TControlLook::SetGradient(TControlLookGradient Which, TColor Value) {
    FGradient[Which] = Value;
    const bool Mirror = Which == clgFixedMirrorFrom || Which == clgFixedMirrorTo || Which == clgHoverMirrorFrom ||
        Which == clgHoverMirrorTo || Which == clgDownMirrorFrom || Which == clgDownMirrorTo;
    if ((Mirror || Value != clNone) && OnGradientColor) OnGradientColor(Which, Value);
}

void TControlLook::Init() {
    FColor = 0;
    FCommentColor = 0x0000FF;
    for (TControlLookGradient G : {clgFixedFrom, clgFixedTo, clgFixedMirrorFrom, clgFixedMirrorTo})
        FGradient[G] = clNone;
    FGradient[clgHoverFrom] = 0x808080;
    FGradient[clgHoverTo] = 0xFFFFFF;
    FGradient[clgHoverBorder] = 0xC0C0C0;
    FGradient[clgDownFrom] = 0x808080;
    FGradient[clgDownTo] = 0xC0C0C0;
    FGradient[clgDownBorder] = 0x808080;
    for (TControlLookGradient G : {clgHoverMirrorFrom, clgHoverMirrorTo, clgDownMirrorFrom, clgDownMirrorTo})
        SetGradient(G, clNone);
}

void TControlLook::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TControlLook*>(Source);
    if (!S || S == this) return;
    FCheckSize = S->FCheckSize;
    FRadioSize = S->FRadioSize;
    FControlStyle = S->FControlStyle;
    FCheckedGlyph->Assign(S->FCheckedGlyph.get());
    FUnCheckedGlyph->Assign(S->FUnCheckedGlyph.get());
    FRadioOnGlyph->Assign(S->FRadioOnGlyph.get());
    FRadioOffGlyph->Assign(S->FRadioOffGlyph.get());
    FProgressMarginX = S->FProgressMarginX;
    FProgressMarginY = S->FProgressMarginY;
    FCommentColor = S->FCommentColor;
    FColor = S->FColor;
    FProgressBorderColor = S->FProgressBorderColor;
    FCheckAlwaysActive = S->FCheckAlwaysActive;
    FRadioAlwaysActive = S->FRadioAlwaysActive;
    for (int G = 0; G < clgCount; ++G) SetGradient(TControlLookGradient(G), S->FGradient[G]);
    FDropDownAlwaysVisible = S->FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = S->FSpinButtonsAlwaysVisible;
    FDropDownCount = S->FDropDownCount;
    FDropDownHeader->Assign(S->FDropDownHeader.get());
    FDropDownFooter->Assign(S->FDropDownFooter.get());
    FHintMaxWidth = S->FHintMaxWidth;
    // A copy of a look is the whole look: these five are copied too.
    FFlatButton = S->FFlatButton;
    FProgressXP = S->FProgressXP;
    FNoDisabledCheckRadioLook = S->FNoDisabledCheckRadioLook;
    FNoDisabledButtonLook = S->FNoDisabledButtonLook;
    FFixedDropDownButton = S->FFixedDropDownButton;
}
