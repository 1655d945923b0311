#pragma once
// The look of the items of an item selector: the hot and selected gradients with their mirror
// halves, the border and edge lines and the text colours. The drop-down kinds that show an item
// selector keep one of these and copy it into the selector at every opening.
#include "platform/gui/Graphics.h"
#include "platform/rtl/Objects.h"

#include <cstdint>

// The selection looks of the list kinds.
enum TSelectionColorStyle : uint8_t { scCustom, scOffice2007, scWindowsVista, scWindows7 };

class TItemAppearance : public TPersistent {
public:
    explicit TItemAppearance(TPersistent* AOwner);

    TPersistent* GetOwner() const { return FOwner; }
    void Assign(TPersistent* Source) override;

    // A named style overwrites the twelve gradient and line colours; scCustom keeps them.
    TSelectionColorStyle ColorStyle() const { return FColorStyle; }
    void SetColorStyle(TSelectionColorStyle Value);

#define ITEMAPPEARANCE_COLOR(Name)                                                                                     \
    TColor Name() const { return F##Name; }                                                                            \
    void Set##Name(TColor Value) { F##Name = Value; }
    ITEMAPPEARANCE_COLOR(BorderColor)
    ITEMAPPEARANCE_COLOR(BorderColorTop)
    ITEMAPPEARANCE_COLOR(BorderColorBottom)
    ITEMAPPEARANCE_COLOR(BorderColorHot)
    ITEMAPPEARANCE_COLOR(BorderColorSelected)
    ITEMAPPEARANCE_COLOR(ColorHot)
    ITEMAPPEARANCE_COLOR(ColorHotTo)
    ITEMAPPEARANCE_COLOR(ColorHotText)
    ITEMAPPEARANCE_COLOR(ColorMirrorHot)
    ITEMAPPEARANCE_COLOR(ColorMirrorHotTo)
    ITEMAPPEARANCE_COLOR(ColorSelected)
    ITEMAPPEARANCE_COLOR(ColorSelectedTo)
    ITEMAPPEARANCE_COLOR(ColorMirrorSelected)
    ITEMAPPEARANCE_COLOR(ColorMirrorSelectedTo)
    ITEMAPPEARANCE_COLOR(ColorSelectedText)
    ITEMAPPEARANCE_COLOR(EdgeColor)
#undef ITEMAPPEARANCE_COLOR

    TFont* Font() { return &FFont; }
    void SetFont(TFont* Value) { FFont.Assign(Value); }

    // None of the setters fires it; whoever owns the appearance may.
    TNotifyEvent OnChange;

private:
    TPersistent* FOwner;
    TColor FColorMirrorHotTo = clNone;
    TColor FBorderColor = clNone;
    TColor FColorMirrorHot = clNone;
    TColor FColorSelectedTo = clNone;
    TColor FColorSelected = clNone;
    TColor FEdgeColor = clNone;
    TColor FColorHotTo = clNone;
    TColor FBorderColorBottom = clNone;
    TColor FColorHot = clNone;
    TColor FBorderColorTop = clNone;
    TColor FColorMirrorSelectedTo = clNone;
    TColor FColorMirrorSelected = clNone;
    TColor FColorSelectedText = clBlack;
    TColor FColorHotText = clBlack;
    TSelectionColorStyle FColorStyle = scCustom;
    TFont FFont;
    TColor FBorderColorHot = clNone;
    TColor FBorderColorSelected = clNone;
};
