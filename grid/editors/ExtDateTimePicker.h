#pragma once
// The date-time pickers with automatic field advance (AutoTab) and the combined date and time
// editor: a date picker with an attached time picker at its right edge and an optional caption
// label. The grid's in-place date-time editor derives from TExtDateTimePicker.
#include "grid/editors/EsgDateTimePicker.h"
#include "grid/editors/LabelPosition.h"
#include "platform/gui/StdCtrls.h"

#include <QPointer>
#include <QString>

// The message that advances to the next field after a typed digit has been taken.
Cardinal DTPShiftFocusMessage();

class TCustomDateTimePicker : public TDateTimePickerLook {
public:
    explicit TCustomDateTimePicker(TComponent* AOwner);

    bool AutoTab() const { return FAutoTab; }
    virtual void SetAutoTab(bool Value) { FAutoTab = Value; }
    void SetBorderStyle(TBorderStyle Value) override;
    virtual bool SkipCustomBorder() const { return true; }
    virtual void AdvanceField();
    void WndProc(TMessage& Message) override;

    Word Fh = 0, Fm = 0, Fs = 0, Fms = 0;

protected:
    void KeyPress(QChar& Key) override;
    // Remembers what a typed digit may change (before the platform takes the digit).
    virtual void RememberParts();
    bool MetroActive() const override { return FMetroStyle && !SkipCustomBorder(); }
    bool CustomBorderAllowed() const override { return !SkipCustomBorder(); }
    bool FlatOutlineWanted() const override { return true; }
    bool SecondOutline() const override { return true; }
    int MetroStripOffset() const override { return 4; }
    bool TrackMouseAtDesign() const override { return true; }
    uint32_t VersionNumber() const override { return 0x01020000; }
    void PostRightArrow();

    bool FAutoTab = false;
};

enum TExtDateTimeKind { dkDate, dkTime, dkDateTime };

class TExtDateTimePicker : public TCustomDateTimePicker {
public:
    explicit TExtDateTimePicker(TComponent* AOwner);
    ~TExtDateTimePicker() override;
    void AfterConstruction() override;

    TExtDateTimeKind Kind() const { return FKind; }
    void SetKind(TExtDateTimeKind Value);
    TDateTime DateTime() const override;
    virtual void SetDateTimeValue(TDateTime Value);
    void SetDateTime(TDateTime Value) override { SetDateTimeValue(Value); }
    TDateTime Date() const { return std::floor(DateTime()); }
    void SetDate(TDateTime Value);
    TDateTime Time() const;
    void SetTime(TDateTime Value);
    QString TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const QString& Value);
    void SetAutoTab(bool Value) override;
    bool SkipCustomBorder() const override { return false; }
    void AdvanceField() override;
    TCustomDateTimePicker* TimePicker() const { return FTimePicker; }

    QString LabelCaption() const;
    void SetLabelCaption(const QString& Value);
    TFont* LabelFont() { return &FLabelFont; }
    void SetLabelFont(TFont* Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value);
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool Value) { FFocusLabel = Value; }
    TLabel* Label() const { return FLabel; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetParent(TWinControl* AParent) override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;
    void SetBorderStyle(TBorderStyle Value) override;
    void Loaded() override;

    virtual void DoChange();
    virtual void FireClick();
    virtual void TimePickerKeyPress(TObject* Sender, QChar& Key);

    TNotifyEvent FOnTimeChange;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

    Word Fy = 0, Fm = 0, Fd = 0;

protected:
    void RememberParts() override;
    void DateTimeChanged(bool NoDate) override;
    void DoEnter() override;
    void DoExit() override;
    void Change() override { DoChange(); }

private:
    void CreateTimePicker();
    void UpdateTimePicker();
    void PlaceLabel();
    TExtDateTimeKind FKind = dkDateTime;
    TCustomDateTimePicker* FTimePicker = nullptr;
    QString FTimeFormat;
    QPointer<TLabel> FLabel; // also lives on the parent, which may go first
    TFont FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FLabelAlwaysEnabled = false;
    bool FFocusLabel = false;
    bool FParentFnt = false;
    bool FIgnoreTimePickerCheck = false;
    bool FUpdating = false;
};
