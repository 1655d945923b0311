#pragma once
// TControlLook: how the grid draws the controls inside cells (check boxes, radio buttons,
// buttons, progress bars, comment markers, drop-down and spin buttons), the gradients of fixed
// cells under the mouse and while pressed, and the popup header and footer of the drop-down
// editors.
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

// A value whose change repaints the grid (OnChange), and one that is only stored.
#define CTRLLOOK_REPAINT(Type, Name, Default)                                                                          \
public:                                                                                                                \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type Value) {                                                                                       \
        if (F##Name == Value) return;                                                                                  \
        F##Name = Value;                                                                                               \
        if (OnChange) OnChange(this);                                                                                  \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    Type F##Name = Default;                                                                                            \
                                                                                                                       \
public:
#define CTRLLOOK_STORED(Type, Name, Default)                                                                           \
public:                                                                                                                \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type Value) { F##Name = Value; }                                                                    \
                                                                                                                       \
private:                                                                                                               \
    Type F##Name = Default;                                                                                            \
                                                                                                                       \
public:
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

    CTRLLOOK_REPAINT(TColor, Color, TColor(0))
    CTRLLOOK_REPAINT(TColor, CommentColor, TColor(0x0000FF))
    CTRLLOOK_REPAINT(int, CheckSize, 15)
    CTRLLOOK_REPAINT(int, RadioSize, 10)
    CTRLLOOK_STORED(bool, CheckAlwaysActive, false)
    CTRLLOOK_STORED(bool, RadioAlwaysActive, false)
    CTRLLOOK_REPAINT(TControlStyle, ControlStyle, csTheme)
    CTRLLOOK_REPAINT(bool, DropDownAlwaysVisible, false)
    CTRLLOOK_REPAINT(bool, SpinButtonsAlwaysVisible, false)
    CTRLLOOK_STORED(int, DropDownCount, 8)
    CTRLLOOK_REPAINT(bool, FlatButton, false)
    CTRLLOOK_REPAINT(bool, NoDisabledCheckRadioLook, false)
    CTRLLOOK_REPAINT(bool, NoDisabledButtonLook, false)
    CTRLLOOK_STORED(TColor, ProgressBorderColor, TColor(0x808080))
    CTRLLOOK_REPAINT(int, ProgressMarginX, 2)
    CTRLLOOK_REPAINT(int, ProgressMarginY, 2)
    CTRLLOOK_REPAINT(bool, ProgressXP, false)
    CTRLLOOK_STORED(bool, FixedDropDownButton, false)
    CTRLLOOK_STORED(int, HintMaxWidth, 0)
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

#undef CTRLLOOK_REPAINT
#undef CTRLLOOK_STORED
#undef CTRLLOOK_GLYPH
#undef CTRLLOOK_GRADIENT
