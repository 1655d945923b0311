#pragma once
// The edit with a push button at its right edge, and its variant that also shows a unit of
// measure picked from a popup menu. The grid's edit-button and unit editors derive from them.
#include "platform/gui/Controls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Classes.h"

#include <QString>

#include <functional>
#include <memory>

class TEsgEditButton;

using TUnitChangeEvent = std::function<void(TObject* Sender, const QString& NewUnit)>;

// ---- TExtSpeedButton ------------------------------------------------------------------------
// Paints the embedded button in the holder's colours, the "button" theme, a flat edge or the
// classic push-button frame, then its glyph and caption.
class TExtSpeedButton : public TGraphicControl {
public:
    explicit TExtSpeedButton(TComponent* AOwner);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Hot() const { return FHot; }
    bool Down() const { return FPressed; }
    TBitmap* Glyph() { return &FGlyph; }
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    // Told when the left button is released after a press on the button.
    std::function<void(TExtSpeedButton* Sender, bool Inside)> OnLeftRelease;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool ClicksOnMouseUp() const override { return false; }

private:
    TEsgEditButton* Holder() const;
    bool FIsWinXP = false;
    bool FFlat = false;
    bool FHot = false;
    bool FDragging = false;
    bool FPressed = false;
    TBitmap FGlyph;
    int FNumGlyphs = 1;
};

// ---- TEsgEditButton -------------------------------------------------------------------------
class TEsgEditButton : public TWinControl {
public:
    explicit TEsgEditButton(TComponent* AOwner);
    TExtSpeedButton* Button() const { return FButton; }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TBitmap* Glyph() { return FButton->Glyph(); }
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int Value) { FButton->SetNumGlyphs(Value); }
    QString ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const QString& Value);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonTextColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    TNotifyEvent OnClick;

protected:
    void Resize() override;

private:
    void ButtonReleased(TExtSpeedButton* Sender, bool Inside);
    void AdjustButton();
    TExtSpeedButton* FButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    bool FFlat = false;
};

// ---- TEsgEditBtn ----------------------------------------------------------------------------
class TEsgEditBtn : public TEdit {
public:
    explicit TEsgEditBtn(TComponent* AOwner);
    ~TEsgEditBtn() override;

    TEsgEditButton* Button() const { return FButton; }
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool Value);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    int ButtonWidth() const { return FButton->Width(); }
    void SetButtonWidth(int Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    TBitmap* Glyph() { return FButton->Glyph(); }
    void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
    QString ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const QString& Value) { FButton->SetButtonCaption(Value); }
    TNotifyEvent OnClickBtn;

    virtual void ButtonClick(TObject* Sender);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;
    void Loaded() override;
    void AfterConstruction() override;
    int MinHeight();
    // The text area inside the edit (client coordinates).
    TRect EditRect() const { return FEditRect; }

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoEnter() override;
    void DoExit() override;
    void ResizeControl();
    void SetEditRect();
    // Called after each placement of the button.
    virtual void Relayout() {}
    int FUnitSize = 0;

private:
    TEsgEditButton* FButton = nullptr;
    bool FRightAlign = false;
    bool FEditorEnabled = true;
    bool FIsWinXP = false;
    bool FResizing = false;
    TRect FEditRect;
};

// ---- TEsgUnitEditBtn ------------------------------------------------------------------------
class TEsgUnitEditBtn : public TEsgEditBtn {
public:
    explicit TEsgUnitEditBtn(TComponent* AOwner);
    ~TEsgUnitEditBtn() override;

    QString UnitID() const { return FUnitID; }
    void SetUnitID(const QString& Value);
    TStringList* Units() { return FUnits.get(); }
    void SetUnits(TStrings* Value);
    int UnitSpace() const { return FUnitSize; }
    void SetUnitSpace(int Value);
    QString TextAndUnit() const;
    void SetTextAndUnit(const QString& Value);
    // The unit menu of the last button use (null before the first).
    TPopupMenu* UnitMenu() const { return FMenu; }
    TUnitChangeEvent OnUnitChanged;

    void ButtonClick(TObject* Sender) override;
    void WndProc(TMessage& Message) override;

protected:
    void Relayout() override;

public:
    // Where the unit is drawn, beside the text (client coordinates).
    TRect UnitRect() const;

private:
    friend class TEsgUnitView;
    void PlaceUnitView();
    std::unique_ptr<TStringList> FUnits;
    TGraphicControl* FUnitView = nullptr;
    QString FUnitID;
    TPopupMenu* FMenu = nullptr;
};
