#pragma once
// The colour picker drop-down: a non-editable drop-down edit that shows the chosen colour as a
// box, optionally followed by its name or value, and whose popup offers one of four ways of
// choosing: the picker's own list of named colours (in an item selector), a fixed palette, a
// honeycomb of colour cells or a spectrum picture.
#include "grid/editors/ExtColorSelectors.h"
#include "grid/editors/ExtDropDown.h"
#include "grid/editors/ExtItemSelector.h"
#include "grid/editors/ExtSelectorPopup.h"

#include <functional>
#include <memory>
#include <vector>

enum TColorSelectionStyle : uint8_t { csList, csDiscrete, csColorCube, csSpectrum };
enum TColorValueText : uint8_t { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };

class TColorItems;

class TColorItem : public TOwnedItem<TColorItems> {
public:
    explicit TColorItem(TColorItems* Collection) : TOwnedItem(Collection) {}
    void Assign(TPersistent* Source) override;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Change(FColor, Value); }
    QString Hint() const { return FHint; }
    void SetHint(const QString& Value) { FHint = Value; }

    TRect FRect{0, 0, 0, 0}; // not used by the picker

private:
    TColor FColor = clNone;
    QString FHint;
};

class TColorItems : public TOwnedItems<TColorItem, TColorItems> {
public:
    using TOwnedItems::TOwnedItems;
};

class TExtColorPickerDropDown : public TExtCustomDropDown {
public:
    explicit TExtColorPickerDropDown(TComponent* AOwner);
    ~TExtColorPickerDropDown() override;
    void AfterConstruction() override;

    // The sixteen basic colours, appended to whatever the list holds.
    void AddDefaultColors();

    int Columns() const { return FColumns; }
    void SetColumns(int Value) { FColumns = Value; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout Value) { FLayout = Value; }
    TColorItems* Colors() const { return FColors.get(); }
    void SetColors(TColorItems* Value) { FColors->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value) { FColorBoxWidth = Value; }
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value) { FColorBoxHeight = Value; }
    TColorSelectionStyle ColorSelectionStyle() const { return FColorSelectionStyle; }
    void SetColorSelectionStyle(TColorSelectionStyle Value);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool Value);
    TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
    TColorValueText ColorValueText() const { return FColorValueText; }
    void SetColorValueText(TColorValueText Value);
    // The text shown after the colour box.
    virtual QString SelectedColorText() const;

    // The popup controls (null until their style first opens).
    TExtCustomItemSelector* ItemSelector() const { return FPopup.Selector(); }
    TCustomColorSelector* ColorSelector() const { return FColorSelector; }
    TExtColorCubePanel* ColorCubePanel() const { return FColorCubePanel; }
    TExtColorSpectrumPanel* SpectrumPanel() const { return FSpectrumPanel; }
    QString CurSearch() const { return FPopup.CurSearch(); }
    TTimer* KeyTimer() const { return FPopup.KeyTimer(); }

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void PlaceControl() override;
    void SizeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void DropDownFormDestroyed() override;
    void MouseWheelDownHook() override;
    void MouseWheelUpHook() override;
    void DrawFocusedText(TCanvas* Canvas) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void SetComponentStyle(TExtStyle AStyle) override;

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedColor;
    TDrawItemEvent OnDrawColor; // replaces the content drawing of list entries

protected:
    void WMKeyDown(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    void WMPaint(TMessage& Message) override;

private:
    void PrepareList();
    void PrepareDiscrete();
    void PrepareCube();
    void PrepareSpectrum();
    void PreparePanel(TControl* C);
    void HidePanels(TControl* Keep);
    void FillList();
    void FillListIfStale();
    void OpenStyle();
    void SizePanelStyle();
    void DiscreteChoice();
    void PanelChoice(TColor Color);
    void Select();
    void Wheel(bool Down);

    TSelectorPopup FPopup{this};
    TExtColorCubePanel* FColorCubePanel = nullptr;
    TExtColorSpectrumPanel* FSpectrumPanel = nullptr;
    TCustomColorSelector* FColorSelector = nullptr;
    int FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TColorItems> FColors;
    int FItemIndex = -1;
    int FColorBoxWidth = 14;
    int FColorBoxHeight = 14;
    TColorSelectionStyle FColorSelectionStyle = csList;
    TColor FSelectedColor = clNone;
    bool FShowText = true;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    TColor FOldSelectedColor = clNone;
    bool FDesignTime = false;
    TColorValueText FColorValueText = cvtNone;
};

// The text of a colour by ColorValueText (cvtNone gives "").
QString ColorValueString(TColor Color, TColorValueText Kind);
