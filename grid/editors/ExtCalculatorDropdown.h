#pragma once
// The calculator drop-down: a float edit whose popup is a four-function pocket-calculator key
// pad with percent, square root, reciprocal and one memory. The edit shows the calculator's
// display; operators complete the pending operation from left to right, without precedence.
#include "grid/editors/ExtDropDown.h"
#include "grid/editors/ExtItemSelector.h"

#include <functional>
#include <memory>
#include <vector>

enum TButtonPanelType : uint8_t { plCalculator, plCustom };
using TCalculatorButtonClickEvent = std::function<void(TObject* Sender, int Index)>;

// The look of the key pad's keys.
class TButtonAppearance : public TPersistent {
public:
    TButtonAppearance();
    void Assign(TPersistent* Source) override;

#define PAD_COLOR(Name, Notify)                                                                                        \
    TColor Name() const { return F##Name; }                                                                            \
    void Set##Name(TColor Value) { SetColorField(F##Name, Value, Notify); }
    PAD_COLOR(Color, true)
    PAD_COLOR(ColorTo, true)
    PAD_COLOR(ShineColor, false)
    PAD_COLOR(ColorHot, true)
    PAD_COLOR(ColorHotTo, true)
    PAD_COLOR(GlowColorHot, true)
    PAD_COLOR(ColorDown, true)
    PAD_COLOR(ColorDownTo, true)
    PAD_COLOR(GlowColorDown, true)
    PAD_COLOR(ColorChecked, true)
    PAD_COLOR(ColorCheckedTo, true)
    PAD_COLOR(ColorDisabled, true)
    PAD_COLOR(ColorDisabledTo, true)
    PAD_COLOR(BorderColor, true)
    PAD_COLOR(BorderColorHot, true)
    PAD_COLOR(BorderColorDown, true)
    PAD_COLOR(BorderColorChecked, true)
    PAD_COLOR(TextColor, true)
    PAD_COLOR(SpecialTextColor, true)
#undef PAD_COLOR
    TFont* Font() { return &FFont; }
    void SetFont(TFont* Value) { FFont.Assign(Value); }

    TNotifyEvent OnChange;

private:
    void SetColorField(TColor& Field, TColor Value, bool Notify);
    TColor FColor = 0x9A915F;
    TColor FColorTo = 0xB0A170;
    TColor FShineColor = 0xFFFFFF;
    TColor FColorHot = 0x9F6F1C;
    TColor FColorHotTo = 0xD5C244;
    TColor FGlowColorHot = 0xD5C244;
    TColor FColorDown = 0x4B2F08;
    TColor FColorDownTo = 0xADB514;
    TColor FGlowColorDown = 0xD5C244;
    TColor FColorChecked;
    TColor FColorCheckedTo;
    TColor FColorDisabled;
    TColor FColorDisabledTo;
    TColor FBorderColor = clBlack;
    TColor FBorderColorHot = clBlack;
    TColor FBorderColorDown = clBlack;
    TColor FBorderColorChecked = 0xFF0000;
    TColor FTextColor = clBlack;
    TColor FSpecialTextColor = 0x000080;
    TFont FFont;
};

class TButtonItems;

class TButtonItem : public TPersistent {
public:
    explicit TButtonItem(TButtonItems* Collection) : FCollection(Collection) {}
    void Assign(TPersistent* Source) override;
    int Index() const;
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    TColor CaptionColor() const { return FCaptionColor; }
    void SetCaptionColor(TColor Value) { FCaptionColor = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    TPicture* Image() { return &FImage; }
    void SetImage(TPicture* Value) { FImage.Assign(Value); }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    TRect Rect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }

    bool FEnabled = true;
    QString FName;
    bool FSpecial = false;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;

private:
    TButtonItems* FCollection;
    QString FCaption;
    TColor FCaptionColor = 0xFFFFFF;
    int FImageIndex = -1;
    TPicture FImage;
    int FTag = 0;
};

class TButtonItems : public TPersistent {
public:
    explicit TButtonItems(TPersistent* AOwner) : FMyOwner(AOwner) {}
    TPersistent* GetOwner() const { return FMyOwner; }
    int Count() const { return int(FItems.size()); }
    TButtonItem* Add() { return Insert(Count()); }
    TButtonItem* Insert(int Index);
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    TButtonItem* Items(int Index) const; // EListError outside the keys
    int IndexOf(const TButtonItem* Item) const;
    void Assign(TPersistent* Source) override;

private:
    TPersistent* FMyOwner;
    std::vector<std::unique_ptr<TButtonItem>> FItems;
};

// A panel of push keys; with plCalculator it fills itself with the calculator's keys.
class TCustomButtonPanel : public TCustomControl {
public:
    explicit TCustomButtonPanel(TComponent* AOwner);
    ~TCustomButtonPanel() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TButtonItems* Buttons() const { return FButtons.get(); }
    void SetButtons(TButtonItems* Value) { FButtons->Assign(Value); }
    TItemLayout ButtonLayout() const { return FButtonLayout; }
    void SetButtonLayout(TItemLayout Value) { FButtonLayout = Value; }
    TButtonPanelType ButtonPanelType() const { return FButtonPanelType; }
    void SetButtonPanelType(TButtonPanelType Value);
    TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
    void SetButtonAppearance(TButtonAppearance* Value) { FButtonAppearance->Assign(Value); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomEdit* Edit() const { return FEdit; }
    void SetEdit(TCustomEdit* Value) { FEdit = Value; }
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle Value) { FItemColorStyle = Value; }
    TExtCustomDropDown* ExtDropDown() const { return FExtDropDown; }
    void SetExtDropDown(TExtCustomDropDown* Value) { FExtDropDown = Value; }
    int ButtonHot() const { return FButtonHot; }
    int ButtonDown() const { return FButtonDown; }
    // The first key (collection order) whose rectangle holds the point; -1 for none.
    int ButtonAt(int X, int Y) const;

    virtual void DrawButton(int Index, TCanvas* Canvas);
    virtual void GetButtonArea(TRect& R);
    virtual void GetMaxButtonSize(TSize& Size);
    virtual void ClearButtons();
    virtual void RebuildButtons();
    virtual void CreateButtons();
    virtual void ArrangeButtons();
    virtual void InvalidateButton(int Index);
    virtual void DoButtonClick(int Index);

    TCalculatorButtonClickEvent OnButtonClick;

protected:
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

private:
    void SetHot(int Index);
    void SetDown(int Index);
    std::unique_ptr<TButtonItems> FButtons;
    TItemLayout FButtonLayout = ilCaptionRight;
    TButtonPanelType FButtonPanelType = plCalculator;
    std::unique_ptr<TButtonAppearance> FButtonAppearance;
    TCustomImageList* FImages = nullptr;
    TCustomEdit* FEdit = nullptr;
    TSelectionColorStyle FItemColorStyle = scOffice2007;
    int FButtonHot = -1;
    int FButtonDown = -1;
    int FOffSetX = 8, FOffSetY = 8;
    int FButtonOffSetX = 4, FButtonOffSetY = 4;
    int FCaptionGap = 4;
    TExtCustomDropDown* FExtDropDown = nullptr;
};

class TExtCalculatorDropdown : public TExtCustomDropDown {
public:
    explicit TExtCalculatorDropdown(TComponent* AOwner);
    ~TExtCalculatorDropdown() override;
    void AfterConstruction() override;

    // Reading never raises: an empty text becomes "0" first, an unreadable one counts as 0.
    double Value();
    void SetValue(double Value);
    void CalcResult();
    bool ShowThousandSeparator() const { return FShowThousandSeparator; }
    void SetShowThousandSeparator(bool Value);
    TButtonAppearance* CalcButtonAppearance() const { return FCalcButtonAppearance.get(); }
    void SetCalcButtonAppearance(TButtonAppearance* Value) { FCalcButtonAppearance->Assign(Value); }
    TCustomButtonPanel* ButtonPanel() const { return FExtButtonPanel; }
    // The key with the given tag; -1 when the pad has none.
    int KeyIndex(int Tag) const;
    void SetComponentStyle(TExtStyle AStyle) override;

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void AfterDropUp() override;
    void DropDownFormDestroyed() override { FExtButtonPanel = nullptr; }
    void FormKeyPress(QChar& Key) override;
    void FormKeyDown(Word& Key, TShiftState Shift) override;
    // Hook for descendants: runs before every key of the pad and every key typed in the popup.
    virtual void BeforeCalcInput() {}
    void CalcButtonClick(int Index);

    // The calculator's state, open to tests and the grid's wrapper.
    double RunningValue() const { return double(FPrevval); }
    int PendingOperator() const { return FPrevop; }
    double Memory() const { return double(FMVal); }

protected:
    void WMChar(TMessage& Message) override;
    void WMKeyDown(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;

private:
    double ShownNumber() const;
    void Show(long double V);
    void ShowEntry(long double V, int Decimals);
    void RemoveLastDigit();
    void CalcStep();
    void CalcPercent();
    void Clear();
    void Operator(int Op);
    bool EntryFull() const;
    bool PopupShowing() const;
    void CalcKeyPress(QChar Key);

    TCustomButtonPanel* FExtButtonPanel = nullptr;
    long double FPrevval = 0;
    int FPrevop = -1;
    bool FNewval = true;
    long double FDecim = 0;
    bool FCalcClosed = true;
    long double FMVal = 0;
    std::unique_ptr<TButtonAppearance> FCalcButtonAppearance;
    bool FShowThousandSeparator = false;
};
