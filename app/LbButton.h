#pragma once
// The push button of every window: a custom-drawn button with six drawing styles, a picture strip
// of up to four state cells, a hot-track colour that follows the mouse (optionally fading out
// slowly), a popup-menu arrow, a modal result and the default/cancel keys of its form.
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"

#include <QString>

#include <memory>

enum TLbButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };
enum TLbButtonKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TLbButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TLbColorStyle {
    lcsCustom,
    lcsGold,
    lcsChrome,
    lcsBlue,
    lcsRed,
    lcsUltraFlat1,
    lcsUltraFlat2,
    lcsUltraFlatXP,
    lcsAqua,
    lcsDefault,
    lcsQuicken
};

// The colour the button's off-screen picture and its glyph cells use for "nothing drawn here".
constexpr TColor LbTransparentColor = TColor(0xFF00FF);

class TLbButton : public TCustomControl {
public:
    explicit TLbButton(TComponent* AOwner);
    ~TLbButton() override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    TLbColorStyle ColorStyle() const { return FDummyStyle; }
    void SetColorStyle(TLbColorStyle Value);
    TColor ColorWhenDown() const { return FColorWhenDown; }
    void SetColorWhenDown(TColor Value);
    bool Default() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; }
    void SetEnabled(bool Value) override;
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(TBitmap* Value);
    TColor HotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackColor(TColor Value);
    TFont* HotTrackFont() { return &FHTFont; }
    void SetHotTrackFont(TFont* Value);
    TLbButtonKind Kind() const { return FKind; }
    void SetKind(TLbButtonKind Value);
    TLbButtonLayout Layout() const { return FLayout; }
    void SetLayout(TLbButtonLayout Value);
    TColor LightColor() const { return FLightColor; }
    void SetLightColor(TColor Value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value);
    bool SlowDecease() const { return FSlowDecease; }
    void SetSlowDecease(bool Value);
    TLbButtonStyle Style() const { return FStyle; }
    void SetStyle(TLbButtonStyle Value);
    bool UseHotTrackFont() const { return FUseHTFont; }
    void SetUseHotTrackFont(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    // Presses and releases the button as the mouse or the keyboard would.
    void Click() override;

    // OnClick and OnMouseEnter are the control's own events.
    TNotifyEvent OnMouseExit;

    // The state the painting reads; exposed so the behaviour can be checked from outside.
    bool IsDown() const { return bDown; }
    bool CursorOnButton() const { return bCursorOnButton; }
    int HotTrackStep() const { return FHotTrackStep; }

    // One step of the slow fade (the fade timer's tick).
    void HotTrackTick();

    // The timer id of the slow fade and its interval.
    static constexpr int FadeTimerId = 1;
    static constexpr unsigned FadeIntervalMs = 30;

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    bool ClicksOnMouseUp() const override { return false; }
    void TextChanged() override;

    // The click action: OnClick, the form's modal result, the popup menu.
    virtual void DoClick();

private:
    void Changed(); // repaints now
    bool ParentShowing() const;
    bool DialogKey(Word Key, TShiftState Shift);
    bool DialogChar(QChar Char);
    void StopFade();

    TAlignment FAlignment = taCenter;
    TColor FShadowColor = TColor(0x808080);
    TColor FColorWhenDown = clNone;
    bool FFlat = false;
    bool FWordWrap = false;
    TBitmap FGlyph;
    TColor FHotTrackColor = clNone;
    TFont FHTFont;
    TLbButtonKind FKind = bkCustom;
    TLbButtonLayout FLayout = blGlyphLeft;
    TColor FLightColor = clWhite;
    TModalResult FModalResult = mrNone;
    int FNumGlyphs = 0;
    bool FUseHTFont = false;
    TLbColorStyle FDummyStyle = lcsCustom;
    TLbButtonStyle FStyle = bsNormal;
    bool FDefault = false;
    bool FCancel = false;
    bool FSlowDecease = false;
    bool bDown = false;
    bool bCursorOnButton = false;
    int FHotTrackStep = 0;
};

// The hot-track blend: each channel of Color moved towards HotTrackColor by Step eighths
// (Step 0..8). Both colours may be system colours; the result is RGB.
TColor BlendHotColor(TColor Color, TColor HotTrackColor, int Step);

// 32 horizontal bands from StartColor to EndColor over the rows Y0..Y1 and the columns
// Left..Right (right and bottom exclusive).
void FillGradient(TCanvas* Canvas, TColor StartColor, TColor EndColor, int Left, int Y0, int Right, int Y1);

// Draws one cell of a picture strip at (X, Y), transparently: the cell's bottom-left pixel gives
// the transparent colour.
void DrawGlyphCell(TCanvas* Canvas, int X, int Y, TBitmap* Strip, int CellLeft, int CellTop, int CellWidth,
                   int CellHeight);

// Text as it fits Width pixels in the canvas's font: whole when it fits, else its longest beginning
// followed by "...", as the platform's DrawText shortens a text that does not fit.
QString EllipsisText(TCanvas* Canvas, const QString& Text, int Width);

// Draws one button picture of W x H pixels at the canvas's origin. Hot: the mouse is over the
// button or it has the focus; Down: it is pressed; HotTrackStep: the hot level 0..8.
void DrawLbButton(TCanvas* Canvas, int W, int H, TAlignment Alignment, const QString& Caption, TLbButtonLayout Layout,
                  TFont* Font, TColor ShadowColor, TColor LightColor, TColor HotTrackColor, TColor ColorWhenDown,
                  TColor Color, TLbButtonStyle Style, bool HasPopup, bool WordWrap, bool Flat, bool Enabled, bool Hot,
                  bool Down, TBitmap* Glyph, int NumGlyphs, int HotTrackStep);
