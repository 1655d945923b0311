#pragma once
// Unit EsgCombo: a combo box with its own flat and etched look, a coloured drop-down button and
// border, focus colours and an attached caption label. The grid's in-place combo editor derives
// from TEsgComboBox.
#include "grid/editors/LabelPosition.h"
#include "platform/gui/StdCtrls.h"

#include <QPointer>
#include <QString>

class TEsgComboLookFrame;

class TEsgCustomCombo : public TCustomComboBox {
public:
    explicit TEsgCustomCombo(TComponent* AOwner);
    ~TEsgCustomCombo() override;

    void Loaded() override;
    // The colour to go back to after the focus leaves is the current one.
    void Init();
    // Selects the item equal to AString; nothing changes when there is none.
    void SelectItem(const QString& AString);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetEnabled(bool Value) override;
    void SetVisible(bool Value) override;
    void SetParent(TWinControl* AParent) override;
    // Keeps the colour given while loading, so Loaded can apply it.
    void SetColor(TColor Value);

    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value); // 14 to 32; anything else is ignored
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value);
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int Value);
    // The width the open list takes (the combo's own width until DropWidth sets one).
    int ListWidth() const { return FListWidth; }
    void SetListWidth(int Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor Value);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool Value);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor Value) { FFocusColor = Value; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool Value) { FFocusBorder = Value; }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool Value) { FFocusLabel = Value; }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value);
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool Value) { FAutoFocus = Value; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value) { FIsWinXP = Value; }
    bool IsVista() const { return FIsVista; }
    void SetIsVista(bool Value) { FIsVista = Value; }
    bool IsThemed() const { return FIsThemed; }

    QString LabelCaption() const;
    void SetLabelCaption(const QString& Value);
    TFont* LabelFont() { return FLabelFont.get(); }
    void SetLabelFont(TFont* Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value);
    TLabel* Label() const { return FLabel; }

    bool ButtonHover() const { return FButtonHover; }
    bool MouseInControl() const { return FMouseInControl; }
    bool HasFocus() const { return FHasFocus; }

    // Custom button colours; clNone leaves the button to the platform.
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonTextColorDown = clNone;
    TNotifyEvent OnDropUp;

    // Whether the control paints its own button and frame over the platform's drawing.
    bool CustomLook() const;
    // Paints the button and the frame on a canvas the size of the control.
    void PaintLook(TCanvas* C);
    // The button rectangle (client coordinates).
    TRect ButtonRect() const;

protected:
    void DropDown() override;
    void CloseUp() override;
    void DoEnter() override;
    void DoExit() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Resize() override;
    void PlaceLabel();
    void RepaintLook();
    void FontChanged() override;

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    TColor FOldColor = clWindow;
    TColor FLoadedColor = clWindow;
    bool FOldParentColor = false;
    int FButtonWidth;
    bool FFocusBorder = false;
    bool FMouseInControl = false;
    int FDropWidth = 0;
    bool FIsWinXP = false;
    bool FIsThemed = true;
    bool FButtonHover = false;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    int FLabelMargin = 4;
    std::unique_ptr<TFont> FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    QPointer<TLabel> FLabel; // lives on the combo's parent, which may go first
    TColor FFlatLineColor = clNone;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clWindow;
    bool FHasFocus = false;
    bool FFocusLabel = false;
    bool FIsVista = false;
    int FListWidth = 0;

private:
    void ApplyListWidth();
    TEsgComboLookFrame* FFrame = nullptr;
};

class TEsgComboBox : public TEsgCustomCombo {
public:
    explicit TEsgComboBox(TComponent* AOwner) : TEsgCustomCombo(AOwner) {}
};
