#pragma once
// The colour picker's popup panels besides its list: a discrete palette of colour boxes, a
// honeycomb of hexagonal colour cells and a spectrum picture with its two swatches.
#include "grid/editors/ExtItemSelector.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Graphics.h"

#include <array>
#include <memory>
#include <vector>

// Where a box stands in a column of connected boxes: alone, or the top, middle or bottom of a strip.
enum TItemPos : uint8_t { ipStandAlone, ipTop, ipMiddle, ipBottom };

// The number under which the spectrum's pipette is registered with the screen's cursors.
constexpr TCursor crExtPipette = 54;

class TColorBoxItems;

class TColorBoxItem {
public:
    explicit TColorBoxItem(TColorBoxItems* Collection) : FCollection(Collection) {}
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TItemPos ColorBoxPos() const { return FColorBoxPos; }
    void SetColorBoxPos(TItemPos Value) { FColorBoxPos = Value; }
    void Assign(const TColorBoxItem& Source);

    bool FEnabled = true;
    TRect FRect{0, 0, 0, 0}; // the box in panel coordinates

private:
    TColorBoxItems* FCollection;
    TColor FColor = clNone;
    TItemPos FColorBoxPos = ipStandAlone;
};

class TColorBoxItems {
public:
    explicit TColorBoxItems(TPersistent* AOwner) : FOwner(AOwner) {}
    TPersistent* Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TColorBoxItem* Items(int Index) const { return FItems[static_cast<size_t>(Index)].get(); }
    TColorBoxItem* Add();
    void Clear();
    void Assign(const TColorBoxItems& Source);
    TNotifyEvent OnChange;

private:
    friend class TColorBoxItem;
    void Changed();
    TPersistent* FOwner;
    std::vector<std::unique_ptr<TColorBoxItem>> FItems;
};

class TColorBoxAppearance : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
#define COLORBOX_COLOR(Name, Default)                                                                                  \
    TColor Name() const { return F##Name; }                                                                            \
    void Set##Name(TColor Value) { F##Name = Value; }                                                                  \
                                                                                                                       \
private:                                                                                                               \
    TColor F##Name = Default;                                                                                          \
                                                                                                                       \
public:
    COLORBOX_COLOR(BorderColor, 0xC5C5C5)
    COLORBOX_COLOR(OuterBorderColorHot, 0x3694F2)
    COLORBOX_COLOR(InnerBorderColorHot, 0x94E2FF)
    COLORBOX_COLOR(OuterBorderColorSelected, 0x0000FF)
    COLORBOX_COLOR(InnerBorderColorSelected, 0x94E2FF)
#undef COLORBOX_COLOR
    void ResetColors();
    TNotifyEvent OnChange; // not fired by the setters
};

// A custom-drawn panel that can ask its popup to close when a choice is made with the mouse.
class TExtCustomColorSelectorPanel : public TCustomControl {
public:
    explicit TExtCustomColorSelectorPanel(TComponent* AOwner);
    TNotifyEvent FOnShouldHide;

protected:
    void PaintBackground();
};

// The discrete palette: boxes in rows, chosen by mouse or keys.
class TCustomColorSelector : public TExtCustomColorSelectorPanel {
public:
    explicit TCustomColorSelector(TComponent* AOwner);
    ~TCustomColorSelector() override;

    void LoadPalette();

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int ItemHot() const { return FItemHot; }
    void SetItemHot(int Index);
    int Columns() const { return FColumns; }
    void SetColumns(int Value);
    int ColumnGap() const { return FColumnGap; }
    void SetColumnGap(int Value);
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value);
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value);
    TColorBoxAppearance* ColorBoxAppearance() const { return FColorBoxAppearance.get(); }
    void SetColorBoxAppearance(TColorBoxAppearance* Value) { FColorBoxAppearance->Assign(Value); }
    TColorBoxItems* Items() const { return FItems.get(); }
    void SetItems(TColorBoxItems* Value) { FItems->Assign(*Value); }
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle Value);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);

    void HandleKey(Word Key, bool EditorEnabled, bool DroppedDown);
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    int ItemAtPos(int X, int Y) const;
    TRect GetItemRect(int Index) const;

    TNotifyEvent OnItemSelect;

    // The box layout and painting, in this order after Paint.
    virtual void DrawItem(int Index, TCanvas* ACanvas);
    virtual void GetContentRect(TRect& R);
    virtual void GetItemSize(TSize& ASize);
    virtual void ArrangeItems();
    virtual void InvalidateItem(int Index);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

private:
    bool Enabled_(int Index) const;
    int FItemIndex = -1;
    int FItemHot = -1;
    int FOffSetX = 4;
    int FOffSetY = 4;
    int FColumns = 10;
    int FColumnGap = 4;
    int FColorBoxHeight = 12;
    int FColorBoxWidth = 12;
    std::unique_ptr<TColorBoxAppearance> FColorBoxAppearance;
    std::unique_ptr<TColorBoxItems> FItems;
    TSelectionColorStyle FItemColorStyle = scOffice2007;
    TColor FSelectedColor = clNone;
};

// The honeycomb: 127 hexagonal cells in 13 rows forming one large hexagon.
class TExtColorCubePanel : public TExtCustomColorSelectorPanel {
public:
    struct TCubeCell {
        TPoint Center{0, 0};
        TColor Color = clNone;
    };

    explicit TExtColorCubePanel(TComponent* AOwner);

    void InitCubeCells();
    void ResetCube();
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    bool ShowRGBHint() const { return FShowRGBHint; }
    void SetShowRGBHint(bool Value);
    int SelectedIndex() const { return FSelectedIndex; }
    int HotIndex() const { return FHotIndex; }
    const TCubeCell& CubeCell(int Index) const { return FCubeCells[static_cast<size_t>(Index)]; }
    // The cell (1 .. 127) whose circle holds the point; -1 for none.
    int CellAtPos(int X, int Y) const;

    TNotifyEvent OnSelect;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void DrawCell(int Index);
    void DrawHexagon(TCanvas* C, TPoint Center, int A, int B);
    std::array<TCubeCell, 128> FCubeCells{}; // cells 1 .. 127; 0 unused
    TPoint FCubeSize{6, 3};
    TColor FSelectedColor = clNone;
    int FSelectedIndex = -1;
    int FHotIndex = -1;
    bool FShowRGBHint = true;
};

// The spectrum picture: hue across, lightness down; the colour under the mouse shows in the hot
// swatch and a click takes it into the selected one.
class TExtColorSpectrumPanel : public TExtCustomColorSelectorPanel {
public:
    explicit TExtColorSpectrumPanel(TComponent* AOwner);
    ~TExtColorSpectrumPanel() override;

    void ArrangeSpectrum();
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value) { FSelectedColor = Value; }
    TColor HotColor() const { return FHotColor; }
    TImage* SpectrumImage() const { return FSpectrumImage; }
    TRect HotRect() const { return FHotRect; }
    TRect SelectedRect() const { return FSelectedRect; }

    TNotifyEvent OnSelect;

    // The spectrum picture: 128 x 128, hue by column, lightness by row.
    static QImage SpectrumBitmap();
    // The pipette cursor, its hot spot at the lower-left tip.
    static QCursor PipetteCursor();

protected:
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void ImageMouseMove(int X, int Y);
    void ImageMouseDown(int X, int Y);
    void ImageMouseUp();
    void PaintSwatch(const TRect& R, TColor Color);
    TImage* FSpectrumImage = nullptr; // child control, freed with the panel
    QImage FBitmap;
    TColor FHotColor = clNone;
    TColor FSelectedColor = 0xFFFFFF;
    TRect FHotRect{0, 0, 0, 0};
    TRect FSelectedRect{0, 0, 0, 0};
};
