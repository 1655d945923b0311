#pragma once
// The date-time picker with a custom border and drop button look (the grid's in-place date
// editor derives from it). The look is shared with the pickers of ExtDateTimePicker: custom
// colours when set, the platform's visual styles when active, else the classic frame controls,
// with a "Metro" mode that paints the drop button itself.
#include "platform/gui/Controls.h"
#include "platform/gui/DateTimePicker.h"

#include <QString>

class TDateTimePickerLookFrame;

// The look both picker twins share; each twin says where it differs.
class TDateTimePickerLook : public TDateTimePicker {
public:
    explicit TDateTimePickerLook(TComponent* AOwner);

    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(TBorderStyle Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool Value);
    int ButtonWidth() const { return FButtonWidth; }
    bool ButtonHover() const { return FButtonHover; }
    bool MouseInControl() const { return FMouseInControl; }
    bool HasFocus() const { return FHasFocus; }
    bool IsWinXP() const { return FIsWinXP; }
    bool IsThemed() const { return FIsThemed; }
    QString Version() const;
    void SetVersion(const QString&) {}

    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonColorDown = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
    TColor FButtonBorderColor = clNone;

    // Paints the outline, the Metro drop button and the custom border on a canvas the size of
    // the control (the frame over the platform's field calls it).
    void PaintLook(TCanvas* C);

protected:
    // Where the twins differ.
    virtual bool MetroActive() const = 0;
    virtual bool CustomBorderAllowed() const { return true; }
    virtual bool FlatOutlineWanted() const = 0;
    virtual bool SecondOutline() const { return false; }
    virtual int MetroStripOffset() const = 0;
    virtual bool TrackMouseAtDesign() const = 0;
    virtual uint32_t VersionNumber() const = 0;

    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DoEnter() override;
    void DoExit() override;
    void resizeEvent(QResizeEvent* E) override;
    void RepaintLook();

    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = clNone;
    TColor FFocusBorderColor = clNone;
    int FButtonWidth;
    bool FButtonHover = false;
    bool FMouseInControl = false;
    bool FIsWinXP = true;
    bool FIsThemed = true;
    bool FMetroStyle = false;
    bool FDisabledBorder = false;
    bool FHasFocus = false;
    bool FFocusBorder = false;
    bool FCtl3D = true;

private:
    void PaintFlatOutline(TCanvas* C);
    void PaintMetroButton(TCanvas* C);
    void PaintCustomBorder(TCanvas* C);
    TDateTimePickerLookFrame* FFrame;
};

class TEsgDateTimePicker : public TDateTimePickerLook {
public:
    explicit TEsgDateTimePicker(TComponent* AOwner);

protected:
    bool MetroActive() const override;
    bool FlatOutlineWanted() const override;
    int MetroStripOffset() const override { return 15; }
    bool TrackMouseAtDesign() const override { return false; }
    uint32_t VersionNumber() const override { return 0x01000000; }
};
