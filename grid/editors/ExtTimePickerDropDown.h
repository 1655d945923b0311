#pragma once
// The time picker drop-down: a non-editable (until asked) edit that shows a time of day under an
// edit mask, steps the field under the caret with the arrow keys, and drops down an analog clock
// (and on request a standard time picker below it) whose hands set the time.
#include "grid/editors/ExtDropDown.h"
#include "grid/editors/ExtWatch.h"
#include "platform/gui/DateTimePicker.h"
#include "platform/gui/ExtCtrls.h"

#include <memory>

class TExtTimePickerDropDown : public TExtCustomDropDown {
public:
    explicit TExtTimePickerDropDown(TComponent* AOwner);
    ~TExtTimePickerDropDown() override;
    void AfterConstruction() override;

    TDateTime Time() const { return FTime; }
    void SetTime(TDateTime Value);
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool Value);
    bool ShowTimePicker() const { return FShowTimePicker; }
    void SetShowTimePicker(bool Value) { FShowTimePicker = Value; }
    bool ShowWatchAMPM() const { return FShowWatchAMPM; }
    void SetShowWatchAMPM(bool Value) { FShowWatchAMPM = Value; }
    bool ShowWatchNumbers() const { return FShowWatchNumbers; }
    void SetShowWatchNumbers(bool Value) { FShowWatchNumbers = Value; }
    bool Animation() const { return FAnimation; }
    void SetAnimation(bool Value) { FAnimation = Value; }
    int AnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(int Value) { FAnimationFactor = Value; }
    TWatchAppearance* WatchAppearance() const { return FWatchAppearance.get(); }
    void SetWatchAppearance(TWatchAppearance* Value) { FWatchAppearance->Assign(Value); }
    TWatchSettings* WatchSettings() const { return FWatchSettings.get(); }
    void SetWatchSettings(TWatchSettings* Value) { FWatchSettings->Assign(Value); }
    void SetComponentStyle(TExtStyle AStyle) override;

    TExtWatch* Watch() const { return FExtWatch; }
    TDateTimePicker* Picker() const { return FDateTimePicker; }
    // The text a time is shown as: hour, minute and (with seconds) second, two digits each.
    QString TimeText(TDateTime T) const;

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void AfterDropUp() override;
    void DropDownFormDestroyed() override;
    void FormKeyDown(Word& Key, TShiftState Shift) override;
    void FormKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(QChar& Key) override;

    TNotifyEvent OnTimeChange;

protected:
    void Change() override; // the typed text becomes the time
    void WMKeyDown(TMessage& Message) override; // the arrow keys step the field under the caret

private:
    QString Separator() const;
    QString MaskFor(bool Seconds) const;
    void StepField(int Field, int Value); // 0 hour, 1 minute, 2 second
    void WatchChanged();
    void PickerChanged();

    bool FShowTimePicker = false;
    TExtWatch* FExtWatch = nullptr;
    TDateTimePicker* FDateTimePicker = nullptr;
    TPanel* FPanelCtrl = nullptr;
    std::unique_ptr<TWatchAppearance> FWatchAppearance;
    bool FShowWatchAMPM = true;
    bool FShowWatchNumbers = true;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    TDateTime FTime = 0;
    std::unique_ptr<TWatchSettings> FWatchSettings;
    bool FInternalCall = false;
    bool FShowSeconds = true;
    bool FCancelling = false;
    TDateTime FOpenTime = 0; // what a cancel goes back to
};
