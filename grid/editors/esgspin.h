#pragma once
// The spin editor: a single-line edit with an up/down button pair at its right edge holding an
// integer, a float, a date or a time of day. The value lives in the text; the buttons, the arrow
// keys and the page keys step it, typed characters are filtered by kind, and the value is kept
// inside its limits when the edit is left. The grid's in-place spin editor derives from it.
#include "platform/gui/Controls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <QString>

class TEsgSpinButton;

enum TEsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TSpinDirection { spVertical, spHorizontal };
enum TEditAlign { eaLeft, eaRight, eaCenter };
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnStateItem { tbFocusRect, tbAllowTimer };
using TTimeBtnState = TSet<TTimeBtnStateItem>;

// The current format settings as the spin editor reads them, at the moment of each use.
QChar SpinTimeSeparator();
QChar SpinDateSeparator();
QChar SpinThousandSeparator();
QChar SpinDecimalSeparator();
QString SpinShortDateFormat();

// ---- TExtTimerSpeedButton -------------------------------------------------------------------
// A speed button that repeats its click while held down (first after 400 ms, then every 100 ms)
// and draws itself in custom colours, the "spin" theme or the classic look.
class TExtTimerSpeedButton : public TGraphicControl {
public:
    explicit TExtTimerSpeedButton(TComponent* AOwner);
    ~TExtTimerSpeedButton() override;

    TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnState Value);
    TButtonDirection ButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    TBitmap* Glyph() { return &FGlyph; }
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    bool Down() const { return FPressed; } // shows as pressed
    bool HasMouse() const { return FHasMouse; }
    // The repeat timer, created at the first press (null before).
    TTimer* RepeatTimer() const { return FRepeatTimer; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool ClicksOnMouseUp() const override { return false; }

private:
    void TimerExpired(TObject* Sender);
    TTimer* FRepeatTimer = nullptr;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = bdUp;
    bool FIsWinXP = false;
    bool FHasMouse = false;
    bool FFlat = false;
    bool FTransparent = false;
    bool FDragging = false; // the left button went down on it and is still held
    bool FPressed = false; // held and the mouse over it
    TBitmap FGlyph;
    int FNumGlyphs = 1;
};

// ---- TEsgSpinButton -------------------------------------------------------------------------
class TEsgSpinButton : public TWinControl {
public:
    explicit TEsgSpinButton(TComponent* AOwner);

    TExtTimerSpeedButton* UpButton() const { return FUpButton; }
    TExtTimerSpeedButton* DownButton() const { return FDownButton; }
    TExtTimerSpeedButton* FocusedButton() const { return FFocusedButton; }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    TBitmap* UpGlyph() { return FUpButton->Glyph(); }
    void SetUpGlyph(TBitmap* Value); // null or empty: the default glyph
    TBitmap* DownGlyph() { return FDownButton->Glyph(); }
    void SetDownGlyph(TBitmap* Value);
    int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(int Value) { FUpButton->SetNumGlyphs(Value); }
    int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(int Value) { FDownButton->SetNumGlyphs(Value); }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonTextColorDown = clNone;
    TColor ButtonBorderColor = clBlack;
    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    LRESULT DialogCode() const override { return DLGC_WANTARROWS; }
    void KeyDown(Word& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;

private:
    TExtTimerSpeedButton* CreateButton();
    void BtnClick(TObject* Sender);
    void BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void SetFocusBtn(TExtTimerSpeedButton* Btn);
    void AdjustSize(int& W, int& H);
    TExtTimerSpeedButton* FUpButton = nullptr;
    TExtTimerSpeedButton* FDownButton = nullptr;
    TExtTimerSpeedButton* FFocusedButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    TSpinDirection FDirection = spVertical;
    bool FIsWinXP = false;
};

// ---- TEsgSpinEdit ---------------------------------------------------------------------------
class TEsgSpinEdit : public TEdit {
public:
    explicit TEsgSpinEdit(TComponent* AOwner);
    ~TEsgSpinEdit() override;

    TEsgSpinButton* Button() const { return FButton; }

    TEsgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TEsgSpinType Value);
    int Value();
    void SetValue(int Value);
    double FloatValue();
    void SetFloatValue(double Value);
    TDateTime DateValue();
    void SetDateValue(TDateTime Value);
    TDateTime TimeValue();
    void SetTimeValue(TDateTime Value);

    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value) { FMinValue = Value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value) { FMaxValue = Value; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double Value) { FMinFloatValue = Value; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double Value) { FMaxFloatValue = Value; }
    TDateTime MinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(TDateTime Value) { FMinDateValue = Value; }
    TDateTime MaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(TDateTime Value) { FMaxDateValue = Value; }

    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    double IncrementFloat() const { return FIncrementFloat; }
    void SetIncrementFloat(double Value) { FIncrementFloat = Value; }
    double IncrementFloatPage() const { return FIncrementFloatPage; }
    void SetIncrementFloatPage(double Value) { FIncrementFloatPage = Value; }
    int IncrementHours() const { return FIncrementHours; }
    void SetIncrementHours(int Value) { FIncrementHours = Value; }
    int IncrementMinutes() const { return FIncrementMinutes; }
    void SetIncrementMinutes(int Value) { FIncrementMinutes = Value; }
    int IncrementSeconds() const { return FIncrementSeconds; }
    void SetIncrementSeconds(int Value) { FIncrementSeconds = Value; }
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool Value) { FShowSeconds = Value; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign Value);
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool Value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool Value);
    bool AllowEmptyValue() const { return FAllowEmptyValue; }
    void SetAllowEmptyValue(bool Value) { FAllowEmptyValue = Value; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    bool UsDates() const { return FUsDates; }

    virtual void StepUp(bool Page);
    virtual void StepDown(bool Page);
    virtual bool AcceptsChar(QChar& Key);
    virtual void SpinUpClick(TObject* Sender);
    virtual void SpinDownClick(TObject* Sender);

    void Loaded() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;
    // The lowest height the font allows (see the layout rules).
    int MinHeight();

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoEnter() override;
    void DoExit() override;

private:
    void Step(bool Up, bool Page);
    void StepDate(bool Up);
    void StepTime(bool Up);
    void ResizeControl();
    void SetEditRect();
    void ClampShownValue();
    int CheckValue(int V) const;
    double CheckFloatValue(double V) const;
    TDateTime CheckDateValue(TDateTime V) const;
    QString TimeText(TDateTime V) const;

    TEsgSpinButton* FButton = nullptr;
    TEsgSpinType FSpinType = sptNormal;
    TDateTime FDateValue = 0;
    TDateTime FTimeValue = 0;
    int FMinValue = 0;
    int FMaxValue = 100;
    double FMinFloatValue = 0;
    double FMaxFloatValue = 100.0;
    TDateTime FMinDateValue = 0;
    TDateTime FMaxDateValue = 0;
    int FIncrement = 1;
    double FIncrementFloat = 0.1;
    double FIncrementFloatPage = 1.0;
    int FIncrementHours = 1;
    int FIncrementMinutes = 1;
    int FIncrementSeconds = 1;
    int FPrecision = 0;
    bool FShowSeconds = true;
    bool FEditorEnabled = true;
    bool FReturnIsTab = false;
    bool FExcelStyleDecimalSeparator = false;
    TSpinDirection FDirection = spVertical;
    TEditAlign FEditAlign = eaLeft;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
    bool FAllowEmptyValue = false;
    bool FIsWinXP = false;
    bool FUsDates = false;
    bool FResizing = false;
    Word FLastKeyDown = 0;
};
