#pragma once
// An analog clock face: hour, minute and (while running) second hands, an AM/PM box, hour
// numbers and tick marks. It either runs as a clock (the current time plus an offset, refreshed
// every 100 ms) or shows a time the user sets by clicking on the face (hour), outside it
// (minute) or on the AM/PM box (half-day), and by keys its owner hands on.
#include "grid/base/ExtStyleIF.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/SysUtils.h"

#include <QImage>

#include <memory>
#include <utility>

enum TAMPMFrame : uint8_t { apRect, apRoundRect };
enum TWatchShape : uint8_t { wsCircle, wsRect, wsRoundRect };
enum TPointerStyle : uint8_t { psLine, psShortLine, psPointer, psLineArrow };
enum TWatchGradient : uint8_t { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
enum TTickMarks : uint8_t { tmAll, tmHours, tmQuartHours, tmNone };
enum THourMarkStyle : uint8_t { hmsLine, hmsQuartDblLine };
enum TWatchStyle : uint8_t {
    wsClassic,
    wsTower,
    wsFluorescent,
    wsEmerald,
    wsBlueStar,
    wsFuchsia,
    wsBlack,
    wsBlackWhite,
    wsGray,
    wsSuperNova,
    wsSports,
    wsSmooth
};

class TWatchSettings : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
    bool Auto() const { return FAuto; }
    void SetAuto(bool Value);
    bool Second() const { return FSeconds; }
    void SetSecond(bool Value);
    int TimeOffset() const { return FTimeOffset; }
    void SetTimeOffset(int Value);
    TNotifyEvent OnChange;

private:
    void Changed() {
        if (OnChange) OnChange(this);
    }
    bool FAuto = false;
    bool FSeconds = true;
    int FTimeOffset = 0;
};

class TWatchAppearance : public TPersistent {
public:
    TWatchAppearance();
    void Assign(TPersistent* Source) override;
    // Every field back to its default, without a notification.
    void Reset();

#define WATCH_PROP(Type, Name)                                                                                         \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type Value) {                                                                                       \
        if (F##Name == Value) return;                                                                                  \
        F##Name = Value;                                                                                               \
        Changed();                                                                                                     \
    }
    WATCH_PROP(int, Size)
    WATCH_PROP(TColor, HourPointer)
    WATCH_PROP(TColor, BackgroundColor)
    WATCH_PROP(TColor, MinutePointerShadow)
    WATCH_PROP(TColor, BackgroundColorTo)
    WATCH_PROP(TColor, HourPointerShadow)
    WATCH_PROP(TColor, SecondPointer)
    WATCH_PROP(TColor, BorderColor)
    WATCH_PROP(TColor, MinutePointer)
    WATCH_PROP(TAMPMFrame, AMPMFrame)
    WATCH_PROP(TWatchShape, Shape)
    WATCH_PROP(TPointerStyle, PointerStyle)
    WATCH_PROP(int, HourPointerSize)
    WATCH_PROP(int, SecondPointerSize)
    WATCH_PROP(int, MinutePointerSize)
    WATCH_PROP(TColor, HourColor)
    WATCH_PROP(TColor, MinuteColor)
    WATCH_PROP(int, CenterPointSize)
    WATCH_PROP(TColor, CenterPointColor)
    WATCH_PROP(TColor, CenterPointBorderColor)
    WATCH_PROP(TWatchGradient, BackgroundGradient)
    WATCH_PROP(int, HourMarkLength)
    WATCH_PROP(int, HourMarkWidth)
    WATCH_PROP(int, MinuteMarkLength)
    WATCH_PROP(int, MinuteMarkWidth)
    WATCH_PROP(int, BorderWidth)
    WATCH_PROP(TColor, CenterPointOuterBorderColor)
    WATCH_PROP(TTickMarks, TickMarks)
    WATCH_PROP(THourMarkStyle, HourMarkStyle)
#undef WATCH_PROP
    // Plain fields: no notification of their own.
    TColor AMPMColor() const { return FAMPMColor; }
    void SetAMPMColor(TColor Value) { FAMPMColor = Value; }
    TColor AMPMBorderColor() const { return FAMPMBorderColor; }
    void SetAMPMBorderColor(TColor Value) { FAMPMBorderColor = Value; }
    TFont* HourFont() { return &FHourFont; }
    void SetHourFont(TFont* Value) {
        FHourFont.Assign(Value);
        Changed();
    }
    TFont* AMPMFont() { return &FAMPMFont; }
    void SetAMPMFont(TFont* Value) {
        FAMPMFont.Assign(Value);
        Changed();
    }
    TPicture* Picture() { return &FPicture; }
    void SetPicture(TPicture* Value) {
        const TNotifyEvent Hook = std::exchange(FPicture.OnChange, nullptr);
        FPicture.Assign(Value);
        FPicture.OnChange = Hook;
        Changed();
    }
    void Changed() {
        if (OnChange) OnChange(this);
    }

    TNotifyEvent OnChange;

private:
    int FSize;
    TColor FHourPointer, FBackgroundColor, FMinutePointerShadow, FBackgroundColorTo, FHourPointerShadow;
    TColor FSecondPointer, FBorderColor, FMinutePointer;
    TFont FHourFont, FAMPMFont;
    TPicture FPicture;
    TAMPMFrame FAMPMFrame;
    TWatchShape FShape;
    TPointerStyle FPointerStyle;
    int FHourPointerSize, FSecondPointerSize, FMinutePointerSize;
    TColor FHourColor, FMinuteColor;
    int FCenterPointSize;
    TColor FCenterPointColor, FCenterPointBorderColor;
    TWatchGradient FBackgroundGradient;
    int FHourMarkLength, FHourMarkWidth, FMinuteMarkLength, FMinuteMarkWidth, FBorderWidth;
    TColor FAMPMColor, FAMPMBorderColor, FCenterPointOuterBorderColor;
    TTickMarks FTickMarks;
    THourMarkStyle FHourMarkStyle;
};

class TExtWatch : public TCustomControl, public IExtStyle {
public:
    explicit TExtWatch(TComponent* AOwner);
    ~TExtWatch() override;

    TWatchAppearance* Appearance() const { return FAppearance.get(); }
    void SetAppearance(TWatchAppearance* Value) { FAppearance->Assign(Value); }
    TWatchSettings* Settings() const { return FSettings.get(); }
    void SetSettings(TWatchSettings* Value) { FSettings->Assign(Value); }
    TDateTime Time() const { return FTime; }
    void SetTime(TDateTime Value);
    bool Animation() const { return FAnimation; }
    void SetAnimation(bool Value) { FAnimation = Value; }
    int AnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(int Value) { FAnimationFactor = Value; }
    bool ShowAMPM() const { return FShowAMPM; }
    void SetShowAMPM(bool Value);
    bool ShowNumbers() const { return FShowNumbers; }
    void SetShowNumbers(bool Value);
    TWatchStyle Style() const { return FStyle; }
    void SetStyle(TWatchStyle Value);
    bool AM() const { return FAM; }

    void SetHour(int Value);
    void SetMinute(int Value); // "Invalid time" for 60 and more
    void HandleKey(Word Key);
    void SetComponentStyle(TExtStyle AStyle) override;

    // Geometry in client coordinates.
    TRect GetWatchRect() const;
    TPoint GetCenter() const;
    int GetRadius() const;
    TRect GetAMPMRect();
    int MinuteFromPoint(int X, int Y) const;
    int HourFromPoint(int X, int Y) const;
    TDateTime CurrentTime() const;

    TTimer* WatchTimer() const { return FWatchTimer.get(); }
    TTimer* AnimationTimer() const { return FAnimationTimer.get(); }

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    LRESULT DialogCode() const override { return TabStop() ? DLGC_WANTARROWS | DLGC_WANTALLKEYS : 0; }

private:
    void SetTimeInternal(TDateTime T);
    void SetAM(bool A);
    void PaintAll(TCanvas* Canvas);
    void PaintRoll(TCanvas* C);
    void PaintFace(TCanvas* C);
    void PaintPointers(TCanvas* C);
    void RepaintPointers();
    void AnimationTick();
    void SettingsChanged();
    void FireChange();
    void ApplyPreset(TWatchStyle Value);

    std::unique_ptr<TWatchAppearance> FAppearance;
    std::unique_ptr<TWatchSettings> FSettings;
    TDateTime FTime = 0;
    QImage FBKGCache;
    std::unique_ptr<TTimer> FWatchTimer;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    std::unique_ptr<TTimer> FAnimationTimer;
    int FCurrentHourTo = 0;
    int FCurrentMinuteTo = 0;
    int FMinuteFrom = 0;
    bool FHourAnimating = false;
    bool FInternalCall = false;
    bool FAM = true;
    bool FShowAMPM = true;
    bool FShowNumbers = true;
    bool FInternalSet = false;
    TWatchStyle FStyle = wsClassic;
    int FRollOffset = -1; // the AM/PM roll's window on its strip; -1 while none runs
};

// The colour table of the component styles, applied to any clock appearance (the time picker
// drop-down applies it to its own).
void ApplyWatchStyleColors(TWatchAppearance* A, TExtStyle AStyle);
