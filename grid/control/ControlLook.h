#pragma once
// TControlLook: how the grid draws the controls inside cells (check boxes, radio buttons,
// buttons, progress bars, comment markers, drop-down and spin buttons), the gradients of fixed
// cells under the mouse and while pressed, and the popup header and footer of the drop-down
// editors.
#include "grid/control/SettingProperties.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Objects.h"

#include <functional>
#include <memory>

class THeaderAppearance;
class TFooterAppearance;

enum TControlStyle { csClassic, csFlat, csWinXP, csBorland, csExt, csGlyph, csTheme };

// The gradient colours of the fixed cells (normal, hovered, pressed); each is passed on to the
// grid's matching header colour through OnGradientColor.
enum TControlLookGradient {
    clgFixedFrom,
    clgFixedTo,
    clgFixedMirrorFrom,
    clgFixedMirrorTo,
    clgHoverFrom,
    clgHoverTo,
    clgHoverMirrorFrom,
    clgHoverMirrorTo,
    clgHoverBorder,
    clgDownFrom,
    clgDownTo,
    clgDownMirrorFrom,
    clgDownMirrorTo,
    clgDownBorder,
    clgCount
};

#define CTRLLOOK_GLYPH(Name)                                                                                           \
    TBitmap* Name() const { return F##Name.get(); }                                                                    \
    void Set##Name(TBitmap* Value) {                                                                                   \
        if (Value != F##Name.get()) F##Name->Assign(Value);                                                            \
        if (OnChange) OnChange(this);                                                                                  \
    }
#define CTRLLOOK_GRADIENT(Name, Which)                                                                                 \
    TColor Name() const { return FGradient[Which]; }                                                                   \
    void Set##Name(TColor Value) { SetGradient(Which, Value); }

class TControlLook : public TPersistent {
public:
    // AOwner: the grid, owner of the two appearances (may be null).
    explicit TControlLook(TPersistent* AOwner = nullptr);
    ~TControlLook() override;
    // From another TControlLook: every property, the gradient colours through their setters (so
    // the grid follows), without a repaint of its own.
    void Assign(TPersistent* Source) override;
    // Back to the starting colours: plain stores, only the hover and down mirror colours through
    // their setters.
    void Init();

    SETTING_CHANGE(TColor, Color, TColor(0))
    SETTING_CHANGE(TColor, CommentColor, TColor(0x0000FF))
    SETTING_CHANGE(int, CheckSize, 15)
    SETTING_CHANGE(int, RadioSize, 10)
    SETTING_STORED(bool, CheckAlwaysActive, false)
    SETTING_STORED(bool, RadioAlwaysActive, false)
    SETTING_CHANGE(TControlStyle, ControlStyle, csTheme)
    SETTING_CHANGE(bool, DropDownAlwaysVisible, false)
    SETTING_CHANGE(bool, SpinButtonsAlwaysVisible, false)
    SETTING_STORED(int, DropDownCount, 8)
    SETTING_CHANGE(bool, FlatButton, false)
    SETTING_CHANGE(bool, NoDisabledCheckRadioLook, false)
    SETTING_CHANGE(bool, NoDisabledButtonLook, false)
    SETTING_STORED(TColor, ProgressBorderColor, TColor(0x808080))
    SETTING_CHANGE(int, ProgressMarginX, 2)
    SETTING_CHANGE(int, ProgressMarginY, 2)
    SETTING_CHANGE(bool, ProgressXP, false)
    SETTING_STORED(bool, FixedDropDownButton, false)
    SETTING_STORED(int, HintMaxWidth, 0)
    // Owned glyphs; writing copies the given bitmap and repaints.
    CTRLLOOK_GLYPH(CheckedGlyph)
    CTRLLOOK_GLYPH(UnCheckedGlyph)
    CTRLLOOK_GLYPH(RadioOnGlyph)
    CTRLLOOK_GLYPH(RadioOffGlyph)
    // The drop-down editors' popup header and footer (owned); writing copies the given one.
    THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
    void SetDropDownHeader(THeaderAppearance* Value);
    TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
    void SetDropDownFooter(TFooterAppearance* Value);

    // Fixed-cell gradients. The mirror colours go on to the grid always; the others only when
    // set (not clNone).
    TColor Gradient(TControlLookGradient Which) const { return FGradient[Which]; }
    void SetGradient(TControlLookGradient Which, TColor Value);
    CTRLLOOK_GRADIENT(FixedGradientFrom, clgFixedFrom)
    CTRLLOOK_GRADIENT(FixedGradientTo, clgFixedTo)
    CTRLLOOK_GRADIENT(FixedGradientMirrorFrom, clgFixedMirrorFrom)
    CTRLLOOK_GRADIENT(FixedGradientMirrorTo, clgFixedMirrorTo)
    CTRLLOOK_GRADIENT(FixedGradientHoverFrom, clgHoverFrom)
    CTRLLOOK_GRADIENT(FixedGradientHoverTo, clgHoverTo)
    CTRLLOOK_GRADIENT(FixedGradientHoverMirrorFrom, clgHoverMirrorFrom)
    CTRLLOOK_GRADIENT(FixedGradientHoverMirrorTo, clgHoverMirrorTo)
    CTRLLOOK_GRADIENT(FixedGradientHoverBorder, clgHoverBorder)
    CTRLLOOK_GRADIENT(FixedGradientDownFrom, clgDownFrom)
    CTRLLOOK_GRADIENT(FixedGradientDownTo, clgDownTo)
    CTRLLOOK_GRADIENT(FixedGradientDownMirrorFrom, clgDownMirrorFrom)
    CTRLLOOK_GRADIENT(FixedGradientDownMirrorTo, clgDownMirrorTo)
    CTRLLOOK_GRADIENT(FixedGradientDownBorder, clgDownBorder)

    TNotifyEvent OnChange;
    std::function<void(int Which, TColor Value)> OnGradientColor;

private:
    std::unique_ptr<TBitmap> FCheckedGlyph;
    std::unique_ptr<TBitmap> FUnCheckedGlyph;
    std::unique_ptr<TBitmap> FRadioOnGlyph;
    std::unique_ptr<TBitmap> FRadioOffGlyph;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    TColor FGradient[clgCount] = {clNone, clNone,   clNone,   clNone,   0x808080, 0xFFFFFF, clNone,
                                  clNone, 0xC0C0C0, 0x808080, 0xC0C0C0, clNone,   clNone,   0x808080};
};

#undef CTRLLOOK_GLYPH
#undef CTRLLOOK_GRADIENT
