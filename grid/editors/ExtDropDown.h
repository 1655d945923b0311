#pragma once
// The drop-down edit every drop-down kind of the grid library stands on: a single-line edit with
// a drop-down button at its right edge, an optional attached label, and a borderless popup window
// with a header and a footer that shows one control supplied by the kind. Besides the control:
// its popup window and panels, the buttons and their colour set, the shared drawing routines,
// the colour styles, and the value text (prefix, suffix, edit types, precision, clipboard).
//
// Definitions are split by area: ExtDropDown.cpp (the control: creation, opening and closing,
// keys, focus, mouse, label, layout, painting), ExtDropDown_Value.cpp (edit types and value
// text), ExtDropDown_Popup.cpp (popup window, header, footer and their appearances),
// ExtDropDown_Buttons.cpp (buttons and drawing routines), ExtDropDown_Styles.cpp (colour styles).
#include "grid/base/ExtGridCtrls.h"
#include "grid/base/ExtStyleIF.h"
#include "grid/editors/ExtItemSelector.h"
#include "grid/editors/LabelPosition.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/StdCtrls.h"

#include <QPointer>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TExtCustomDropDown;
class TDropDownForm;

// ---- enumerations and events ----------------------------------------------------------------
enum TDropDownEditType : uint8_t {
    etString,
    etNumeric,
    etFloat,
    etUppercase,
    etMixedCase,
    etLowerCase,
    etPassword,
    etMoney,
    etRange,
    etHex,
    etAlphaNumeric,
    etValidChars
};
enum TDropPosition : uint8_t { dpAuto, dpDown, dpUp };
enum TGradientDirection : uint8_t { gdHorizontal, gdVertical };
enum TButtonAlignment : uint8_t { baLeft, baRight };
enum TButtonStyle : uint8_t { bsButton, bsDropDown };
// The same two button styles as the grid's buttons: one enumeration, so both units can be used together.
using TExtButtonStyle = TExtGridButtonStyle;
enum TExtButtonState : uint8_t { absUp, absDisabled, absDown, absDropDown, absExclusive };

using TDropDown = std::function<void(TObject* Sender, bool& acceptdrop)>;
using TDropUp = std::function<void(TObject* Sender, bool Cancelled)>;
// The grid's clipboard event has another shape: the drop-down's keeps its name in a scope of its own.
namespace ExtDropDownEvents {
using TClipboardEvent = std::function<void(TObject* Sender, const QString& value, bool& allow)>;
}
using TDropDownButtonItemClick = std::function<void(TObject* Sender, int ButtonIndex)>;
using TDrawBackGroundEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect)>;
using TGetTextEvent = std::function<void(TObject* Sender, QString& Text)>;

// ---- drawing routines -----------------------------------------------------------------------
// Colours resolve system colours first; nint rounds halves to even.
void FillGradientBands(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect R, int Steps);
TColor BlendColor(TColor Color1, TColor Color2, int Percent);
TColor ShiftColor(TColor Color, int RedPct, int GreenPct, int BluePct);
void DrawFramedGradient(TCanvas* Canvas, TRect R, TColor FromColor, TGradientDirection Direction, int BorderWidth,
                        TColor BorderColor, TColor ToColor);
void DrawImageAndText(TCanvas* Canvas, TRect R, const QString& Text, int ImageIndex, TCustomImageList* Images);
void DrawTransparentGlyph(TCanvas* Canvas, TBitmap* Glyph, TColor BackgroundColor, TRect R);
TSize GetTextSize(TCanvas* Canvas, const QString& Text);
// The text when it fits; else its longest prefix (with "..." when Ellipsis) narrower than
// MaxWidth; empty when not even the ellipsis alone is.
QString FitText(TCanvas* Canvas, const QString& Text, int MaxWidth, bool Ellipsis);
// Draws a caption in the mini-HTML markup and returns its extent; Measure only measures.
TSize DrawDropDownHTML(TCanvas* Canvas, const QString& Text, TRect R, TCustomImageList* Images, bool Enabled,
                       bool Measure = false);

// ---- text routines of the family ------------------------------------------------------------
QChar DropDownThousandSeparator();
QChar DropDownDecimalSeparator();
bool IsRangeSeparator(QChar Ch);
QString RemoveThousandSeparators(const QString& S);
int HexDigitValue(QChar Ch);
int64_t HexToInt(const QString& S);
QString ApplyCase(const QString& S, bool Keep);
// 0 integer, 1 decimal number, 5 hexadecimal, 2 anything else.
int ClassifyValueText(const QString& S);
// Thousand separators removed, then the locale's number reading; anything unreadable is 0.
double TextToFloat(const QString& S);

// ---- pointer list with checked access -------------------------------------------------------
class TDbgList : public TObject {
public:
    int Count() const { return int(FItems.size()); }
    void Add(void* Item) { FItems.push_back(Item); }
    void Clear() { FItems.clear(); }
    void Delete(int Index); // EListError outside the list
    void AssignList(const TDbgList& ListA);
    void* ItemsEx(int Index) const; // "Index out of bounds in list read access"
    void SetItemsEx(int Index, void* Value); // "Index out of bounds in list write access"

private:
    std::vector<void*> FItems;
};

// ---- button colour set ----------------------------------------------------------------------
class TExtButtonAppearance : public TPersistent {
public:
    TExtButtonAppearance();
    void Assign(TPersistent* Source) override; // EConvertError from a foreign class

#define EXTBUTTON_COLOR(Name)                                                                                          \
    TColor Name() const { return F##Name; }                                                                            \
    void Set##Name(TColor Value) { SetColorField(F##Name, Value); }
    EXTBUTTON_COLOR(BorderColor)
    EXTBUTTON_COLOR(BorderColorHot)
    EXTBUTTON_COLOR(BorderColorDown)
    EXTBUTTON_COLOR(BorderColorDisabled)
    EXTBUTTON_COLOR(BorderColorChecked)
    EXTBUTTON_COLOR(Color)
    EXTBUTTON_COLOR(ColorTo)
    EXTBUTTON_COLOR(ColorDown)
    EXTBUTTON_COLOR(ColorDownTo)
    EXTBUTTON_COLOR(ColorHot)
    EXTBUTTON_COLOR(ColorHotTo)
    EXTBUTTON_COLOR(ColorCheckedTo)
    EXTBUTTON_COLOR(ColorDisabled)
    EXTBUTTON_COLOR(ColorDisabledTo)
    EXTBUTTON_COLOR(ColorChecked)
#undef EXTBUTTON_COLOR
    TGradientDirection Gradient() const { return FGradient; }
    void SetGradient(TGradientDirection Value);
    TFont* Font() { return &FFont; }
    void SetFont(TFont* Value);

    TNotifyEvent OnChange;

private:
    void SetColorField(TColor& Field, TColor Value);
    void Changed();
    TColor FBorderColor = clNone;
    TColor FBorderColorHot = 0x808080;
    TColor FBorderColorDown = 0x800000;
    TColor FBorderColorDisabled = 0x808080;
    TColor FBorderColorChecked = 0xFF0000;
    TColor FColor = clNone;
    TColor FColorTo = clNone;
    TColor FColorDown = 0xF5D8CA;
    TColor FColorDownTo = 0xF9BDA0;
    TColor FColorHot = 0xF5F0E1;
    TColor FColorHotTo = 0xF9D2B2;
    TColor FColorCheckedTo;
    TColor FColorDisabled = 0xF2F2F2;
    TColor FColorDisabledTo = clNone;
    TColor FColorChecked;
    TGradientDirection FGradient = gdVertical;
    TFont FFont;
};

// ---- the drop-down button inside the edit ---------------------------------------------------
class TDropDownEditButton;

// Paints the drop-down arrow (bsDropDown) or a push-button face (bsButton) in the three looks.
class TExtDropDownSpeedButton : public TGraphicControl {
public:
    explicit TExtDropDownSpeedButton(TComponent* AOwner);
    void SetUp() { FUp = true; }
    TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle Value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value);
    bool Focused() const { return FFocused; }
    void SetFocused(bool Value);
    bool Hot() const { return FHot; }
    bool Down() const { return FDown; } // the left button is held on it
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) {
        FFlat = Value;
        update();
    }
    TBitmap* Glyph() { return &FGlyph; }
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value) { FNumGlyphs = Value; }

protected:
    void Paint() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool ClicksOnMouseUp() const override { return false; }

private:
    TDropDownEditButton* Holder() const;
    bool FEtched = false;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FIsWinXP;
    bool FDown = false;
    bool FFlat = false;
    TButtonStyle FButtonStyle = bsDropDown;
    TBitmap FGlyph;
    int FNumGlyphs = 1;
};

class TDropDownEditButton : public TWinControl {
public:
    explicit TDropDownEditButton(TComponent* AOwner);
    TExtDropDownSpeedButton* Button() const { return FButton; }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    int ButtonWidth() const { return FBWidth; }
    void SetButtonWidth(int Value);
    TBitmap* Glyph() { return FButton->Glyph(); }
    void SetGlyph(TBitmap* Value) {
        FButton->Glyph()->Assign(Value);
        FButton->update();
    }
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int Value) { FButton->SetNumGlyphs(Value); }
    QString ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const QString& Value) { FButton->SetCaption(Value); }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetEnabled(bool Value) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The drop-down this button sits in (its owner); null for a free-standing button.
    TExtCustomDropDown* DropDown() const;

    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonTextColorDown = clNone;
    TNotifyEvent OnClick;

protected:
    void Resize() override;

private:
    friend class TExtDropDownSpeedButton;
    void ButtonMouseUp(TObject* Sender, TMouseButton Button);
    void AdjustButton();
    TExtDropDownSpeedButton* FButton;
    TWinControl* FFocusControl = nullptr;
    int FBWidth = 16;
};

// ---- header and footer push button ----------------------------------------------------------
class TExtButton : public TCustomControl {
public:
    explicit TExtButton(TComponent* AOwner);
    ~TExtButton() override;

    TExtButtonAppearance* Appearance() const { return FAppearance; }
    void SetAppearance(TExtButtonAppearance* Value) { // shared, not owned
        FAppearance = Value;
        update();
    }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value) { FImages = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    TExtCustomDropDown* ExtDropDown() const { return FExtDropDown; }
    void SetExtDropDown(TExtCustomDropDown* Value) { FExtDropDown = Value; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    TExtButtonStyle Style() const { return FStyle; }
    void SetStyle(TExtButtonStyle Value) { FStyle = Value; }
    TExtButtonState State() const { return FState; }
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool MouseInControl() const { return FMouseInControl; }
    bool Hot() const { return FHot; }
    TTimer* UnHotTimer() const { return FUnHotTimer; }

    void Click() override;
    void AutoSizeButton();
    void Loaded() override;
    void WndProc(TMessage& Message) override;

    TNotifyEvent OnMouseLeaveEvent;
    TNotifyEvent OnMouseEnterEvent;

protected:
    void Paint() override;
    void DrawButton(TCanvas* ACanvas);
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    LRESULT DialogCode() const override { return DLGC_BUTTON; }
    bool ClicksOnMouseUp() const override;

private:
    void UnHotTimerTick(TObject* Sender);
    void SyncHot();
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    int FOffSet = 4;
    bool FMouseInControl = false;
    bool FHot = false;
    TExtButtonStyle FStyle = tasButton;
    TExtButtonState FState = absUp;
    bool FMouseDownInControl = false;
    bool FGrouped = true;
    bool FDragging = false;
    bool FPropHot = false;
    TTimer* FUnHotTimer;
    bool FInitialDown = false;
    bool FInternalClick = false;
    TExtButtonAppearance* FAppearance = nullptr;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    TModalResult FModalResult = mrNone;
    TExtCustomDropDown* FExtDropDown = nullptr;
};

// ---- header and footer buttons and appearances ----------------------------------------------
class THeaderButtons;
class TFooterButtons;

class THeaderButton : public TPersistent {
public:
    explicit THeaderButton(THeaderButtons* ACollection) : FCollection(ACollection) {}
    void Assign(TPersistent* Source) override; // EConvertError from a foreign class
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int Index() const;

protected:
    virtual void Changed();
    QString FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    int FHeight = 0;
    int FWidth = 0;

private:
    THeaderButtons* FCollection;
};

class TFooterButton : public THeaderButton {
public:
    explicit TFooterButton(TFooterButtons* ACollection);
    void Assign(TPersistent* Source) override;
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

protected:
    void Changed() override;

private:
    TFooterButtons* FFooterCollection;
    TModalResult FModalResult = mrNone;
};

// A collection of buttons owned by its appearance; adding or removing fires nothing, changing
// an item's caption, enabled state or width fires OnChange.
template <class TItem, class TSelf>
class TButtonCollection : public TPersistent {
public:
    explicit TButtonCollection(TPersistent* AOwner) : FMyOwner(AOwner) {}
    int Count() const { return int(FItems.size()); }
    TItem* Add() { return Insert(Count()); }
    TItem* Insert(int Index) {
        Index = std::clamp(Index, 0, Count());
        auto* I = new TItem(static_cast<TSelf*>(this));
        FItems.insert(FItems.begin() + Index, std::unique_ptr<TItem>(I));
        return I;
    }
    void Delete(int Index) { FItems.erase(FItems.begin() + CheckIndex(Index)); }
    void Clear() { FItems.clear(); }
    TItem* Items(int Index) const { return FItems[size_t(CheckIndex(Index))].get(); }
    TItem* GetItem(int Index) const { return Items(Index); }
    void SetItem(int Index, TItem* Value) { Items(Index)->Assign(Value); }
    int IndexOf(const THeaderButton* Item) const {
        for (int I = 0; I < Count(); ++I)
            if (FItems[size_t(I)].get() == Item) return I;
        return -1;
    }
    TPersistent* GetOwner() const { return FMyOwner; }
    void Assign(TPersistent* Source) override {
        auto* S = dynamic_cast<TSelf*>(Source);
        if (!S) return;
        FItems.clear();
        for (int I = 0; I < S->Count(); ++I) Add()->Assign(S->Items(I));
    }
    TNotifyEvent OnChange;

private:
    int CheckIndex(int Index) const {
        if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
        return Index;
    }
    TPersistent* FMyOwner;
    std::vector<std::unique_ptr<TItem>> FItems;
};

class THeaderButtons : public TButtonCollection<THeaderButton, THeaderButtons> {
public:
    using TButtonCollection::TButtonCollection;
};
class TFooterButtons : public TButtonCollection<TFooterButton, TFooterButtons> {
public:
    using TButtonCollection::TButtonCollection;
};

// What the persistent looks of a popup header and footer have in common. Each look assigns from
// its own kind only.
template <class TButtons>
class TPopupBarAppearance : public TPersistent {
public:
    TPersistent* GetOwner() const { return FOwner; }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { FColorTo = Value; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    TFont* Font() { return &FFont; }
    void SetFont(TFont* Value) { FFont.Assign(Value); }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection Value) { FGradientDirection = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) {
        if (FVisible == Value) return;
        FVisible = Value;
        if (OnChange) OnChange(this);
    }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    TButtons* Buttons() { return FButtons.get(); }
    void SetButtons(TButtons* Value) { FButtons->Assign(Value); }
    TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
    void SetButtonAlignment(TButtonAlignment Value) { FButtonAlignment = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

protected:
    explicit TPopupBarAppearance(TPersistent* AOwner) : FOwner(AOwner), FButtons(std::make_unique<TButtons>(AOwner)) {
        FButtons->OnChange = [this](TObject*) {
            if (OnButtonsChanged) OnButtonsChanged(this);
        };
    }
    // Everything; the visibility last but the buttons, so that an open popup is laid out once
    // with the new look.
    void AssignBar(TPopupBarAppearance& S) {
        FColorTo = S.FColorTo;
        FColor = S.FColor;
        FBorderColor = S.FBorderColor;
        FCaption = S.FCaption;
        FFont.Assign(&S.FFont);
        FImageIndex = S.FImageIndex;
        FBorderWidth = S.FBorderWidth;
        FGradientDirection = S.FGradientDirection;
        FHeight = S.FHeight;
        SetVisible(S.FVisible);
        FButtonAlignment = S.FButtonAlignment;
        FButtons->Assign(S.FButtons.get());
    }
    void AssignBarColors(TPopupBarAppearance& S) {
        FColorTo = S.FColorTo;
        FColor = S.FColor;
        FBorderColor = S.FBorderColor;
        FFont.Assign(&S.FFont);
        FGradientDirection = S.FGradientDirection;
    }

    TPersistent* FOwner;
    bool FVisible = true;
    int FHeight = 22;
    int FBorderWidth = 1;
    int FImageIndex = -1;
    QString FCaption;
    TColor FColorTo = clWhite;
    TColor FColor = clSilver;
    TColor FBorderColor = clBlack;
    TFont FFont;
    std::unique_ptr<TButtons> FButtons;
    TGradientDirection FGradientDirection = gdVertical;
    TButtonAlignment FButtonAlignment = baRight;
};

// The persistent look of a popup header: owned by every drop-down and by every grid's look.
class THeaderAppearance : public TPopupBarAppearance<THeaderButtons> {
public:
    explicit THeaderAppearance(TPersistent* AOwner);
    ~THeaderAppearance() override;
    void Assign(TPersistent* Source) override; // from the same class only
    void AssignColors(TPersistent* Source);
};

class TFooterAppearance : public TPopupBarAppearance<TFooterButtons> {
public:
    explicit TFooterAppearance(TPersistent* AOwner);
    ~TFooterAppearance() override;
    void Assign(TPersistent* Source) override; // from the same class only
    void AssignColors(TPersistent* Source);

    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value) { FSizeGrip = Value; }

private:
    bool FSizeGrip = true;
};

// ---- popup panels ---------------------------------------------------------------------------
// The header (IsFooter false) or footer panel of a popup: background, border, image, caption,
// buttons and, on the footer, the sizing grip.
class TExtPopupPanel : public TCustomControl {
public:
    TExtPopupPanel(TComponent* AOwner, bool IsFooter);
    ~TExtPopupPanel() override;
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value) { FImages = Value; }
    TExtCustomDropDown* ExtDropDown() const { return FExtDropDown; }
    virtual void LinkDropDown(TExtCustomDropDown* ADropDown);
    virtual void BuildButtons();
    virtual void ClearButtons();
    virtual void ArrangeButtons();
    virtual void UpdateButtons();
    // The created buttons, in collection order.
    TDbgList* ButtonList() { return &FButtonList; }
    TExtButton* ButtonAt(int Index) const { return static_cast<TExtButton*>(FButtonList.ItemsEx(Index)); }
    // The area buttons are placed in.
    TRect ButtonArea() const;
    bool SizeGripShows() const;

    TDrawBackGroundEvent OnDrawBackGround;
    TGetTextEvent OnGetText;

protected:
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    // The panel's own copy of the appearance: colours, caption and layout.
    virtual TColor AColor() const = 0;
    virtual TColor AColorTo() const = 0;
    virtual TColor ABorderColor() const = 0;
    virtual int ABorderWidth() const = 0;
    virtual int AImageIndex() const = 0;
    virtual QString ACaption() const = 0;
    virtual TFont* AFont() = 0;
    virtual TGradientDirection AGradientDirection() const = 0;
    virtual TButtonAlignment AButtonAlignment() const = 0;
    virtual bool AVisible() const = 0;
    virtual int AHeight() const = 0;
    virtual int ButtonItemCount() const = 0;
    virtual THeaderButton* ButtonItem(int Index) const = 0;
    void AppearanceChanged(TObject* Sender);
    void ButtonClick(TObject* Sender);

private:
    bool FIsFooter;
    TCustomImageList* FImages = nullptr;
    TExtCustomDropDown* FExtDropDown = nullptr;
    TDbgList FButtonList;
    TCursor FOldCursor = crDefault;
};

class TExtHeader : public TExtPopupPanel {
public:
    explicit TExtHeader(TComponent* AOwner);
    THeaderAppearance* Appearance() { return &FAppearance; }
    void SetAppearance(THeaderAppearance* Value) { FAppearance.Assign(Value); }
    THeaderButtons* Buttons() const; // the linked drop-down's, null without one
    void LinkDropDown(TExtCustomDropDown* ADropDown) override;

protected:
    TColor AColor() const override { return FAppearance.Color(); }
    TColor AColorTo() const override { return FAppearance.ColorTo(); }
    TColor ABorderColor() const override { return FAppearance.BorderColor(); }
    int ABorderWidth() const override { return FAppearance.BorderWidth(); }
    int AImageIndex() const override { return FAppearance.ImageIndex(); }
    QString ACaption() const override { return FAppearance.Caption(); }
    TFont* AFont() override { return FAppearance.Font(); }
    TGradientDirection AGradientDirection() const override { return FAppearance.GradientDirection(); }
    TButtonAlignment AButtonAlignment() const override { return FAppearance.ButtonAlignment(); }
    bool AVisible() const override { return FAppearance.Visible(); }
    int AHeight() const override { return FAppearance.Height(); }
    int ButtonItemCount() const override;
    THeaderButton* ButtonItem(int Index) const override;

private:
    THeaderAppearance FAppearance;
};

class TExtFooter : public TExtPopupPanel {
public:
    explicit TExtFooter(TComponent* AOwner);
    TFooterAppearance* Appearance() { return &FAppearance; }
    void SetAppearance(TFooterAppearance* Value) { FAppearance.Assign(Value); }
    TFooterButtons* Buttons() const;
    void LinkDropDown(TExtCustomDropDown* ADropDown) override;

protected:
    TColor AColor() const override { return FAppearance.Color(); }
    TColor AColorTo() const override { return FAppearance.ColorTo(); }
    TColor ABorderColor() const override { return FAppearance.BorderColor(); }
    int ABorderWidth() const override { return FAppearance.BorderWidth(); }
    int AImageIndex() const override { return FAppearance.ImageIndex(); }
    QString ACaption() const override { return FAppearance.Caption(); }
    TFont* AFont() override { return FAppearance.Font(); }
    TGradientDirection AGradientDirection() const override { return FAppearance.GradientDirection(); }
    TButtonAlignment AButtonAlignment() const override { return FAppearance.ButtonAlignment(); }
    bool AVisible() const override { return FAppearance.Visible(); }
    int AHeight() const override { return FAppearance.Height(); }
    int ButtonItemCount() const override;
    THeaderButton* ButtonItem(int Index) const override;

private:
    friend class TExtPopupPanel;
    TFooterAppearance FAppearance;
};

// ---- popup window ---------------------------------------------------------------------------
// A borderless Qt popup window at absolute screen coordinates. A press outside it is a loss of
// activation: the drop-down closes (cancelled unless the kind says otherwise), except while a
// kind blocks activation around a modal action of its own.
class TDropDownForm : public TForm {
public:
    explicit TDropDownForm(TComponent* AOwner);
    TDropDownForm(TComponent* AOwner, int Dummy);
    ~TDropDownForm() override;

    TExtCustomDropDown* ExtDropDown() const { return FExtDropDown; }
    void SetExtDropDown(TExtCustomDropDown* Value) { FExtDropDown = Value; }
    void InitializeAndUpdate();
    virtual void UpdateSize() {}
    TRect AlignRect() const override;

    TExtHeader* Header() const { return FHeader; }
    TExtFooter* Footer() const { return FFooter; }
    bool Shadow() const { return FShadow; }
    void SetShadow(bool Value) { FShadow = Value; }
    bool Sizeable() const { return FSizeable; }
    void SetSizeable(bool Value) { FSizeable = Value; }
    bool CancelOnDeActivate() const { return FCancelOnDeActivate; }
    void SetCancelOnDeActivate(bool Value) { FCancelOnDeActivate = Value; }
    bool BlockActivate() const { return FBlockActivate; }
    // Ending a block puts the popup back on screen when something hid it meanwhile.
    void SetBlockActivate(bool Value);
    uint32_t DeActivateTick() const { return FDeActivate; }
    // While the drop-down places and sizes the popup, a size change is not the user's resizing.
    void SetPlacing(bool Value) { FPlacing = Value; }
    // The window Target (any widget, null for none) is being activated: the drop-down closes
    // unless Target lies inside the popup.
    void Deactivated(QWidget* Target);

    TNotifyEvent OnSizing;
    TKeyEvent OnFormKeyDown;
    TKeyEvent OnFormKeyUp;
    TKeyPressEvent OnFormKeyPress;
    TMouseWheelUpDownEvent OnFormMouseWheelDown;
    TMouseWheelUpDownEvent OnFormMouseWheelUp;

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void PaintHandler() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTALLKEYS; }
    bool event(QEvent* E) override;
    void closeEvent(QCloseEvent* E) override;

private:
    void MakePopup();
    uint32_t FDeActivate = 0;
    bool FShadow = true;
    TExtFooter* FFooter = nullptr;
    TExtHeader* FHeader = nullptr;
    TExtCustomDropDown* FExtDropDown = nullptr;
    bool FSizeable = false;
    bool FCancelOnDeActivate = true;
    bool FBlockActivate = false;
    bool FHiddenWhileBlocked = false;
    bool FPlacing = false;
    std::unique_ptr<TCanvas> FCanvas;
};

// ---- the drop-down edit ---------------------------------------------------------------------
class TExtCustomDropDown : public TCustomEdit, public IExtStyle, public IExtTones {
public:
    explicit TExtCustomDropDown(TComponent* AOwner);
    ~TExtCustomDropDown() override;
    void AfterConstruction() override;

    // -- operations
    void ShowDropDown() { DoDropDown(); }
    void HideDropDown(bool CancelChanges) { DoHideDropDown(CancelChanges); }
    void SelectAll();
    void SelectAfterDecimal();
    void SelectBeforeDecimal();
    TExtStyle GetComponentStyle() const { return FExtStyle; }
    void SetComponentStyle(TExtStyle AStyle) override;
    void SetColorTones(const TColorTones& ATones) override;
    void Assign(TPersistent* Source) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetEnabled(bool Value) override;
    void SetVisible(bool Value) override;
    void WndProc(TMessage& Message) override;

    // -- value text (ExtDropDown_Value.cpp)
    QString GetText() const override;
    void SetText(const QString& Value) override;
    void SetTextUnformatted(const QString& Value);
    TDropDownEditType EditType() const { return FEditType; }
    void SetEditType(TDropDownEditType Value);
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    double GetFloatValue() const;
    double FloatValue() const { return GetFloatValue(); }
    void SetFloatValue(double Value);
    int IntValue() const { return int(GetFloatValue()); }
    void SetIntValue(int Value);
    bool GetModified() const { return FIsModified; }
    void SetModified(bool Value);
    void FormatMoney();
    int IntegerDigits(const QString& S) const;
    int DecimalPos() const;
    bool IsSignChar(QChar Ch) const;
    // Where the value's edit text starts and how long the value is.
    int PrefixLength() const { return int(FPrefix.size()); }

    QString Prefix() const { return FPrefix; }
    void SetPrefix(const QString& Value);
    QString Suffix() const { return FSuffix; }
    void SetSuffix(const QString& Value);
    bool Signed() const { return FSigned; }
    void SetSigned(bool Value) { FSigned = Value; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int Value) { FLengthLimit = int16_t(Value); }
    bool DefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool Value) { FDefaultHandling = Value; }
    bool CanUndo() const { return FCanUndo; }
    void SetCanUndo(bool Value) { FCanUndo = Value; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }
    QString ValidChars() const { return FValidChars; }
    void SetValidChars(const QString& Value) { FValidChars = Value; }
    bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
    void SetAutoThousandSeparator(bool Value) { FAutoThousandSeparator = Value; }
    bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
    void SetAllowNumericNullValue(bool Value) { FAllowNumericNullValue = Value; }

    // -- settings of the control
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool FocusDraw() const { return FFocusDraw; }
    void SetFocusDraw(bool Value) { FFocusDraw = Value; }
    bool ForceShadow() const { return FForceShadow; }
    void SetForceShadow(bool Value) { FForceShadow = Value; }
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value) { FEtched = Value; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TDropPosition DropPosition() const { return FDropPosition; }
    void SetDropPosition(TDropPosition Value) { FDropPosition = Value; }
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int Value);
    int DropDownHeight() const { return FDropDownHeight; }
    void SetDropDownHeight(int Value);
    bool DropDownShadow() const { return FDropDownShadow; }
    void SetDropDownShadow(bool Value) { FDropDownShadow = Value; }
    int DropDownBorderWidth() const { return FDropDownBorderWidth; }
    void SetDropDownBorderWidth(int Value) { FDropDownBorderWidth = Value; }
    TColor DropDownBorderColor() const { return FDropDownBorderColor; }
    void SetDropDownBorderColor(TColor Value) { FDropDownBorderColor = Value; }
    TColor DropDownColor() const { return FDropDownColor; }
    void SetDropDownColor(TColor Value) { FDropDownColor = Value; }
    TColor DropDownColorTo() const { return FDropDownColorTo; }
    void SetDropDownColorTo(TColor Value) { FDropDownColorTo = Value; }
    TGradientDirection DropDownGradient() const { return FDropDownGradient; }
    void SetDropDownGradient(TGradientDirection Value) { FDropDownGradient = Value; }
    bool DropDownSizeable() const { return FDropDownSizeable; }
    void SetDropDownSizeable(bool Value) { FDropDownSizeable = Value; }
    bool DropDownEnabled() const { return FDropDownEnabled; }
    void SetDropDownEnabled(bool Value) { FDropDownEnabled = Value; }
    int GetDropDownButtonWidth() const { return FButtonWidth; }
    int DropDownButtonWidth() const { return FButtonWidth; }
    void SetDropDownButtonWidth(int Value);
    QString DropDownButtonHint() const { return FButtonHint; }
    void SetDropDownButtonHint(const QString& Value);
    TBitmap* DropDownButtonGlyph() { return FButton->Glyph(); }
    void SetDropDownButtonGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value);
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value) { FSelectionColor = Value; }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor Value) { FSelectionColorTo = Value; }
    TSelectionColorStyle SelectionColorStyle() const { return FSelectionColorStyle; }
    // Reading a stored form sets only the field; the style's colours are not applied again.
    void LoadSelectionColorStyle(int Value) { FSelectionColorStyle = TSelectionColorStyle(Value); }
    void LoadExtStyle(int Value) { FExtStyle = TExtStyle(Value); }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value) { FFocusControl = Value; }
    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value);
    QString Version() const;
    void SetVersion(const QString&) {}
    THeaderAppearance* DropDownHeader() { return FDropDownHeader.get(); }
    void SetDropDownHeader(THeaderAppearance* Value) { FDropDownHeader->Assign(Value); }
    TFooterAppearance* DropDownFooter() { return FDropDownFooter.get(); }
    void SetDropDownFooter(TFooterAppearance* Value) { FDropDownFooter->Assign(Value); }
    TExtButtonAppearance* ButtonAppearance() { return FButtonAppearance.get(); }
    void SetButtonAppearance(TExtButtonAppearance* Value) { FButtonAppearance->Assign(Value); }
    TDropDownEditButton* Button() const { return FButton; }
    bool DroppedDown() const { return FDroppedDown; }
    TDropDownForm* DropDownForm() const { return FDropDownForm; }
    TRect GetEditRect() const { return FEditRect; }

    // -- label
    QString LabelCaption() const;
    void SetLabelCaption(const QString& Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value) { FLabelAlwaysEnabled = Value; }
    TFont* LabelFont() { return &FLabelFont; }
    void SetLabelFont(TFont* Value);
    TLabel* EditLabel() const { return FLabel; }
    void UpdateLabel();

    // -- styles (ExtDropDown_Styles.cpp)
    virtual void SetSelectionColorStyle(TSelectionColorStyle Value);
    virtual void DrawSelectionBackground(TCanvas* Canvas, TRect R, int SideCode, TColor ExtraColor);
    void SetItemAppearanceStyle(TItemAppearance* Appearance, TExtStyle AStyle);

    // -- what a kind overrides
    virtual void LabelClick();
    virtual void LabelDblClick();
    virtual int GetVersionNr() const { return 0x01020104; }
    virtual void CreateDropDownForm();
    virtual void CreateButton();
    virtual void UpdateButton();
    virtual void BeforeDropDown();
    virtual void AdaptDropDownHeight(int& AHeight) { (void)AHeight; }
    virtual void FocusDropDownControl();
    virtual void DoDropDown();
    virtual void PlaceControl();
    virtual void SizeDropDown();
    virtual void DoHideDropDown(bool Cancelled);
    virtual void AfterDropUp();
    virtual void DropDownFormDestroyed() {}
    virtual void FormMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual void FormMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void FormKeyPress(QChar& Key);
    virtual void FormKeyDown(Word& Key, TShiftState Shift);
    virtual void FormKeyUp(Word& Key, TShiftState Shift);
    virtual void ControlKeyDown(Word& Key, TShiftState Shift);
    virtual void ControlKeyUp(Word& Key, TShiftState Shift);
    virtual void ControlKeyPress(QChar& Key);
    virtual void DropDownSizing() {}
    virtual void MouseWheelDownHook() {}
    virtual void MouseWheelUpHook() {}
    virtual void DrawFocusedText(TCanvas* Canvas);
    virtual void SetEditRect();
    virtual void ResizeControl();
    virtual void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, TGradientDirection Direction, TRect R,
                              int Steps);
    void ButtonClick(TObject* Sender);
    int GetMinHeight() const;
    bool IsHotOrFocused() const;
    bool MouseInControl() const { return FMouseInControl; }

    // -- events
    TDropDown OnDropDown;
    TDropUp OnDropUp;
    TNotifyEvent OnBeforeDropDown;
    TNotifyEvent OnBeforeDropUp;
    ExtDropDownEvents::TClipboardEvent OnClipboardCopy;
    ExtDropDownEvents::TClipboardEvent OnClipboardPaste;
    ExtDropDownEvents::TClipboardEvent OnClipboardCut;
    TDropDownButtonItemClick OnDropDownFooterButtonClick;
    TDropDownButtonItemClick OnDropDownHeaderButtonClick;
    TDrawBackGroundEvent OnDrawHeader;
    TDrawBackGroundEvent OnDrawFooter;
    TGetTextEvent OnGetFooterText;
    TGetTextEvent OnGetHeaderText;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

protected:
    // Message handlers (the grid's wrappers chain to them).
    virtual void WMKeyDown(TMessage& Message);
    virtual void WMChar(TMessage& Message);
    virtual void WMPaint(TMessage& Message);
    virtual void CMEnter(TMessage& Message);
    virtual void SetFocusMessageHandler(TMessage& Message);
    virtual void KillFocusMessageHandler(TMessage& Message);
    virtual void CMWantSpecialKey(TMessage& Message);
    virtual void WMCut(TMessage& Message);
    virtual void WMCopy(TMessage& Message);
    virtual void WMPaste(TMessage& Message);
    virtual void WMLButtonDown(TMessage& Message);
    virtual void WMLButtonUp(TMessage& Message);
    void KeyDown(Word& Key, TShiftState Shift) override; // the key-down event: Alt+Up/Down toggle
    void KeyPress(QChar& Key) override; // the key-press event: Enter becomes #0
    void DoEnter() override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void FontChanged() override;
    void Change() override;
    void PaintHandler() override;
    void resizeEvent(QResizeEvent* E) override;
    void paintEvent(QPaintEvent* E) override;
    bool eventFilter(QObject* Watched, QEvent* E) override;
    // The work area of the monitor nearest P (the popup is kept inside it).
    virtual TRect WorkAreaAt(const TPoint& P) const;

    void DrawControlBorder();
    void DrawBorder(TCanvas* Canvas);
    bool IsEditable() const { return FEditorEnabled && !ReadOnly(); }
    QString SelectedValueText() const;
    void SetRawText(const QString& Value) { TCustomEdit::SetText(Value); }
    QString RawText() const;

private:
    void CreateLabel();
    void HeaderChanged(TObject* Sender);
    void ToggleDropDown();
    bool WholeValueSelected() const;
    void CharFilter(TMessage& Message, QChar& Ch, bool Ctrl, bool NumPadDecimal);
    void ReplaceSign(bool WholeSelected);
    QString PasteCandidate(const QString& Clip) const;
    bool PasteFits(const QString& Candidate) const;
    bool ClipboardKey(Word Key, TShiftState Shift);
    void ShowEditMenu(const QPoint& ScreenPos);
    void PaintOverlay();

    TLabel* FLabel = nullptr;
    bool FParentFnt = false;
    int FDropDownWidth = 0;
    int FDropDownHeight = 0;
    int FUserDropDownWidth = -1;
    int FUserDropDownHeight = -1;
    bool FEditorEnabled = true;
    TDropPosition FDropPosition = dpAuto;
    bool FFlat = false;
    TCustomImageList* FImages = nullptr;
    bool FDropDownShadow = true;
    int FDropDownBorderWidth = 1;
    QString FButtonHint;
    TColor FDropDownColorTo = clNone;
    TColor FDropDownColor = clWhite;
    TColor FDropDownBorderColor = 0;
    int FButtonWidth = 17;
    bool FMouseInControl = false;
    bool FEtched = false;
    TWinControl* FFocusControl = nullptr;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TExtButtonAppearance> FButtonAppearance;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    TControl* FControl = nullptr;
    TGradientDirection FDropDownGradient = gdHorizontal;
    bool FDropDownSizeable = true;
    TColor FSelectionColor = 0xD7FFFD;
    TColor FSelectionColorTo = 0x58D4FC;
    TSelectionColorStyle FSelectionColorStyle = scCustom;
    TDropDownEditType FEditType = etString;
    int16_t FLengthLimit = 0;
    int16_t FPrecision = 0;
    QString FPrefix;
    QString FSuffix;
    QString FOldString;
    bool FSigned = false;
    bool FReturnIsTab = false;
    bool FIsWinXP = true;
    bool FIsThemed = true;
    bool FBlockChange = false;
    bool FAllowNumericNullValue = false;
    bool FDefaultHandling = true;
    bool FCanUndo = true;
    bool FExcelStyleDecimalSeparator = false;
    QString FValidChars;
    bool FBlockCopy = false;
    bool FButtonDown = false;
    bool FAutoThousandSeparator = true;
    bool FIsModified = false;
    TRect FEditRect;
    bool FDropDownEnabled = false;
    bool FDroppedDown = false;
    bool FFocusDraw = true;
    bool FForceShadow = false;
    TExtStyle FExtStyle = tsOffice2007Luna;
    int FLabelMargin = 4;
    TLabelPosition FLabelPosition = lpLeftTop;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    TFont FLabelFont;
    TColor FBorderColor = clNone;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = true;
    TDropDownForm* FDropDownForm = nullptr;
    TDropDownEditButton* FButton = nullptr;
    QString FOldText;
    // Changes handed to OnChange, so a character can tell whether its change was announced.
    unsigned FChangeCount = 0;
    Word FLastKeyDown = 0;
    Word FSwallowKey = 0; // a key the special-key query used up
    bool FResizing = false;
    bool FHasFocus = false;
};
