#pragma once
// Small controls and settings the grid creates for itself: the drop-position arrows shown while
// a column or row is dragged, the flat gradient button of the search footer, its themed check
// box, a picture given by file name, the settings of a synchronised second grid and the switch
// of the soft focus frame.
#include "grid/base/ExtStyleIF.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/StdCtrls.h"

#include <QString>

#include <array>
#include <memory>

class TPopupMenu;
class TStringGrid;

// ---- TArrowWindow -------------------------------------------------------------------------------
enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

// An arrow-shaped overlay in the grid's window (only the arrow's polygon shows), filled in its
// colour. arrLeft stands left of the drop position pointing right at it; arrRight points left.
class TArrowWindow : public TPanel {
public:
    explicit TArrowWindow(TComponent* AOwner);
    // Direction, lime colour, parent AOwner (a windowed control), hidden.
    void Init(TWinControl* AOwner, TArrowDirection Direction);
    TArrowDirection Dir() const { return FDir; }
    std::array<TPoint, 7> Arrow() const;
    static std::array<TPoint, 7> ArrowPolygon(TArrowDirection Direction);

protected:
    void Paint() override;

private:
    TArrowDirection FDir = arrUp;
};

// ---- TExtGridButton -----------------------------------------------------------------------------
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
enum TExtGridButtonStyle { tasButton, tasCheck };

// The platform message a button broadcasts to its parent's controls when it goes down in a group.
constexpr Cardinal CM_GRIDBUTTONPRESSED = CM_BUTTONPRESSED;
constexpr Cardinal CM_APPSTYLECHANGED = CM_BASE + 53;

class TExtGridButton : public TGraphicControl {
public:
    explicit TExtGridButton(TComponent* AOwner);

    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(TBitmap* Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value); // values below -1 are refused
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool MouseInControl() const { return FMouseInControl; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor Value) { FColorHot = Value; }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor Value) { FColorHotTo = Value; }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor Value) { FColorDown = Value; }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor Value) { FColorDownTo = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor Value) { FBorderDownColor = Value; }
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor Value) { FBorderHotColor = Value; }
    TBitmap* GlyphDisabled() { return &FGlyphDisabled; }
    void SetGlyphDisabled(TBitmap* Value) { FGlyphDisabled.Assign(Value); }
    TBitmap* GlyphHot() { return &FGlyphHot; }
    void SetGlyphHot(TBitmap* Value) { FGlyphHot.Assign(Value); }
    TBitmap* GlyphDown() { return &FGlyphDown; }
    void SetGlyphDown(TBitmap* Value) { FGlyphDown.Assign(Value); }
    TBitmap* GlyphShade() { return &FGlyphShade; }
    bool Shaded() const { return FShaded; }
    void SetShaded(bool Value);
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor Value);
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor Value);
    TExtGridButtonStyle Style() const { return FStyle; }
    void SetStyle(TExtGridButtonStyle Value);
    int Look() const { return FLook; }
    // Applies preset look 1 (no scheme) to 4 (silver).
    void ApplyLook(int Look);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool Value);
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    bool AutoXPStyle() const { return FAutoXPStyle; }
    void SetAutoXPStyle(bool Value) { FAutoXPStyle = Value; }
    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* Value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    TButtonState State() const { return FState; }
    TNotifyEvent OnDropDown;

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void DblClick() override;

    // Where the glyph and the caption go in Client (step 7 of the painting), exposed for tests.
    void CalcLayout(const TRect& Client, TPoint Offset, TPoint& GlyphPos, TRect& TextBounds);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool ClicksOnMouseUp() const override { return false; }

private:
    void UpdateExclusive();
    void UpdateTracking();
    void ThemeAdapt();
    void BuildShadeGlyph();
    void FillFace(TRect R, TColor C, TColor CTo, TColor Pen);
    TBitmap* CurrentGlyph();

    int FGroupIndex = 0;
    TBitmap FGlyph;
    bool FDown = false;
    bool FDragging = false;
    bool FAllowAllUp = false;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int FSpacing = 4;
    bool FTransparent = true;
    int FMargin = -1;
    bool FFlat = true;
    bool FMouseInControl = false;
    TColor FColorTo = clNone;
    TColor FColorHot = 0xCAC7C7;
    TColor FColorHotTo = clNone;
    TColor FColorDown = 0xD8D3D2;
    TColor FColorDownTo = clNone;
    TColor FBorderColor = clNone;
    TColor FBorderDownColor = clNone;
    TColor FBorderHotColor = clNone;
    TBitmap FGlyphDisabled;
    TBitmap FGlyphHot;
    TBitmap FGlyphDown;
    TBitmap FGlyphShade;
    bool FShaded = true;
    TColor FColorChecked = clGray;
    TColor FColorCheckedTo = clNone;
    TExtGridButtonStyle FStyle = tasButton;
    int FLook = 0;
    bool FRounded = false;
    bool FDropDownButton = false;
    bool FAutoThemeAdapt = false;
    bool FAutoXPStyle = false;
    TPopupMenu* FDropDownMenu = nullptr;
    bool FShowCaption = true;
    TButtonState FState = bsUp;
    bool FIsComCtl6 = true;
};

// ---- TExtCheckBox -------------------------------------------------------------------------------
// Alignment: taRightJustify (the default) puts the box left of the caption, taLeftJustify right.
class TExtCheckBox : public TCustomControl {
public:
    explicit TExtCheckBox(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextLayout Value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool Down() const { return FDown; }
    bool Hot() const { return FHot; }

    virtual void Toggle();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

    // The box and the caption rectangles of the current look (client coordinates).
    TRect BoxRect() const;
    TRect CaptionRect() const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    bool ClicksOnMouseUp() const override { return false; }
    LRESULT DialogCode() const override;

private:
    bool Themed() const;
    void InvalidateBox();
    bool FDown = false;
    TCheckBoxState FState = cbUnchecked;
    bool FFocused = false;
    bool FReturnIsTab = false;
    TTextLayout FBtnVAlign = tlTop;
    TAlignment FAlignment = taRightJustify;
    bool FEllipsis = false;
    QString FCaption = QStringLiteral("TExtCheckBox");
    bool FIsWinXP = true;
    bool FHot = false;
    bool FClicksDisabled = false;
    bool FReadOnly = false;
    bool FMouseDown = false;
    bool FTransparent = false;
};

// ---- TFilePicture -------------------------------------------------------------------------------
// A picture given by file name. Only regular files of at most MaxFileSize bytes are read; the
// picture is decoded once when the name is set (or first drawn) and kept.
class TFilePicture : public TPersistent {
public:
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    TFilePicture();
    ~TFilePicture() override;
    QString Filename() const { return FFilename; }
    // Loads the picture to learn its size; "" clears it. A file that is missing, not a regular
    // file, too big or not a picture raises (EInOutError or EInvalidGraphic) and leaves the
    // previous picture as it was.
    void SetFilename(const QString& Value);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Draws the picture stretched into R; nothing without a file name or a picture that failed.
    void DrawPicture(TCanvas* Canvas, TRect R);
    void Assign(TPersistent* Source) override;
    // How many times the file was decoded (the picture is kept after the first time).
    int DecodeCount() const { return FDecodeCount; }

private:
    std::shared_ptr<TGraphic> Decode(const QString& FileName);
    QString FFilename;
    int FWidth = 0;
    int FHeight = 0;
    std::shared_ptr<TGraphic> FPicture; // shared with copies made by Assign
    bool FFailed = false; // a draw that failed to load does not retry on every paint
    int FDecodeCount = 0;
};

// Reads a picture file by its extension (.bmp, .png, .gif, .ico, .jpg, .jpeg), only a regular
// file of at most MaxBytes bytes; raises EInOutError or EInvalidGraphic.
std::unique_ptr<TGraphic> LoadPictureFile(const QString& FileName, qint64 MaxBytes);

// ---- TSyncGrid, TFocusHelper --------------------------------------------------------------------
// The cell store's own synchronisation and focus companions. The grid control has settings
// objects of the same names; these live in a namespace of their own so that the two never share a
// class identity (a copy between them would otherwise be taken for a copy of its own kind).
namespace GridBase {
class TSyncGrid : public TPersistent {
public:
    explicit TSyncGrid(TStringGrid* AOwner) : FOwner(AOwner) {}
    TStringGrid* Grid() const { return FGrid; }
    void SetGrid(TStringGrid* Value); // the owning grid itself is ignored
    bool ScrollVertical = false;
    bool ScrollHorizontal = false;
    bool SelectionColumn = false;
    bool SelectionRow = false;
    bool MoveColumn = false;
    bool MoveRow = false;
    void Assign(TPersistent* Source) override; // another TSyncGrid only

private:
    TStringGrid* FOwner;
    TStringGrid* FGrid = nullptr;
};

class TFocusHelper : public TPersistent {
public:
    explicit TFocusHelper(TStringGrid* AOwner) : FOwner(AOwner) {}
    bool Enabled = false;
    void Assign(TPersistent* Source) override; // another TFocusHelper only
    TStringGrid* OwnerGrid() const { return FOwner; }

private:
    TStringGrid* FOwner;
};
} // namespace GridBase
