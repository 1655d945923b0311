#pragma once
// The item selector: a scrollable grid of equally sized cells, each a colour box, a picture or an
// image-list image with a caption in mini-HTML, with one selected and one hot item. The colour
// picker's list, the image picker and the detail drop-down show it in their popups and drive it
// from their own keys.
//
// Also the look of its items (TItemAppearance): the hot and selected gradients with their mirror
// halves, the border and edge lines and the text colours. The drop-down kinds that show an item
// selector keep one of these and copy it into the selector at every opening.
#include "grid/editors/ExtOwnedItems.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/Objects.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QScrollBar;

// The selection looks of the list kinds.
enum TSelectionColorStyle : uint8_t { scCustom, scOffice2007, scWindowsVista, scWindows7 };

class TItemAppearance : public TPersistent {
public:
    explicit TItemAppearance(TPersistent* AOwner);

    TPersistent* GetOwner() const { return FOwner; }
    void Assign(TPersistent* Source) override;

    // A named style overwrites the twelve gradient and line colours; scCustom keeps them.
    TSelectionColorStyle ColorStyle() const { return FColorStyle; }
    void SetColorStyle(TSelectionColorStyle Value);

#define ITEMAPPEARANCE_COLOR(Name)                                                                                     \
    TColor Name() const { return F##Name; }                                                                            \
    void Set##Name(TColor Value) { F##Name = Value; }
    ITEMAPPEARANCE_COLOR(BorderColor)
    ITEMAPPEARANCE_COLOR(BorderColorTop)
    ITEMAPPEARANCE_COLOR(BorderColorBottom)
    ITEMAPPEARANCE_COLOR(BorderColorHot)
    ITEMAPPEARANCE_COLOR(BorderColorSelected)
    ITEMAPPEARANCE_COLOR(ColorHot)
    ITEMAPPEARANCE_COLOR(ColorHotTo)
    ITEMAPPEARANCE_COLOR(ColorHotText)
    ITEMAPPEARANCE_COLOR(ColorMirrorHot)
    ITEMAPPEARANCE_COLOR(ColorMirrorHotTo)
    ITEMAPPEARANCE_COLOR(ColorSelected)
    ITEMAPPEARANCE_COLOR(ColorSelectedTo)
    ITEMAPPEARANCE_COLOR(ColorMirrorSelected)
    ITEMAPPEARANCE_COLOR(ColorMirrorSelectedTo)
    ITEMAPPEARANCE_COLOR(ColorSelectedText)
    ITEMAPPEARANCE_COLOR(EdgeColor)
#undef ITEMAPPEARANCE_COLOR

    TFont* Font() { return &FFont; }
    void SetFont(TFont* Value) { FFont.Assign(Value); }

    // None of the setters fires it; whoever owns the appearance may.
    TNotifyEvent OnChange;

private:
    TPersistent* FOwner;
    TColor FColorMirrorHotTo = clNone;
    TColor FBorderColor = clNone;
    TColor FColorMirrorHot = clNone;
    TColor FColorSelectedTo = clNone;
    TColor FColorSelected = clNone;
    TColor FEdgeColor = clNone;
    TColor FColorHotTo = clNone;
    TColor FBorderColorBottom = clNone;
    TColor FColorHot = clNone;
    TColor FBorderColorTop = clNone;
    TColor FColorMirrorSelectedTo = clNone;
    TColor FColorMirrorSelected = clNone;
    TColor FColorSelectedText = clBlack;
    TColor FColorHotText = clBlack;
    TSelectionColorStyle FColorStyle = scCustom;
    TFont FFont;
    TColor FBorderColorHot = clNone;
    TColor FBorderColorSelected = clNone;
};

// ---- items ----------------------------------------------------------------------------------
enum TSelectorType : uint8_t { stImage, stColor };
enum TItemLayout : uint8_t { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

class TSelectorItems;
class TCustomItemSelector;
class TExtCustomItemSelector;

using TDrawItemEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R, int Index)>;
using TItemSizeEvent = std::function<void(TObject* Sender, TSize& ASize)>;
// Replaces the painting of a picker's edit part.
using TOnDrawSelectedItem = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R)>;

// One cell of the selector: a content part (colour box, picture or image-list image) and a
// caption in the mini-HTML markup.
class TSelectorItem : public TOwnedItem<TSelectorItems> {
public:
    explicit TSelectorItem(TSelectorItems* Collection) : TOwnedItem(Collection) {}
    void Assign(TPersistent* Source) override;

    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { Change(FImageIndex, Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Change(FColor, Value); }
    // A picture of the item's own; when it holds something it wins over ImageIndex.
    TPicture* Image() { return &FImage; }
    void SetImage(TPicture* Value) { FImage.Assign(Value); }
    bool HasPicture() const;
    QString Hint() const { return FHint; }
    void SetHint(const QString& Value) { FHint = Value; }

    TRect FRect{-1, -1, -1, -1}; // the cell in panel coordinates, set by ArrangeItems

private:
    int FImageIndex = -1;
    TPicture FImage;
    TColor FColor = clNone;
    QString FHint;
};

class TSelectorItems : public TOwnedItems<TSelectorItem, TSelectorItems> {
public:
    using TOwnedItems::TOwnedItems;
};

// Where a selection (or hot item) moves among Count items from Index: the first, the last, the
// next or the previous one, 0 from none; nothing without items or past either end.
enum TSelectMove : uint8_t { smFirst, smLast, smNext, smPrevious };
std::optional<int> SelectTarget(TSelectMove Move, int Index, int Count);

// ---- the inner panel ------------------------------------------------------------------------
// Sized to hold every cell; lays out, paints and hit-tests. Its settings are its container's.
class TCustomItemSelector : public TCustomControl {
public:
    explicit TCustomItemSelector(TComponent* AOwner); // "Invalid parent" unless owned by a container

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int ItemHot() const { return FItemHot; }
    void SetItemHot(int Index);
    void SelectFirst() { Select(smFirst); }
    void SelectLast() { Select(smLast); }
    void SelectNext() { Select(smNext); }
    void SelectPrevious() { Select(smPrevious); }
    void HotNext() { Hot(smNext); }
    void HotPrevious() { Hot(smPrevious); }
    bool LookupItem(const QString& S);
    void GetItemRect(int Index, TRect& R) const;
    int ItemAtPos(int X, int Y) const;
    void DrawItems(TCanvas* Canvas);

    // Settings read from the container.
    int Columns() const;
    TSelectorItems* Items() const;
    TSelectorType SelectorType() const;
    TItemLayout ItemLayout() const;
    TCustomImageList* Images() const;
    TSelectionColorStyle ItemColorStyle() const;
    TColor ItemColorHot() const;
    TColor ItemColorHotTo() const;
    TColor ItemColorSelected() const;
    TColor ItemColorSelectedTo() const;
    int ColorBoxHeight() const;
    int ColorBoxWidth() const;
    TExtCustomItemSelector* ExtItemSelector() const { return FExtItemSelector; }

    virtual void DrawItem(int Index, TCanvas* Canvas);
    virtual void GetContentRect(TRect& R);
    virtual void GetItemSize(TSize& ASize);
    virtual void InvalidateItem(int Index);
    virtual void ArrangeItems();

    TNotifyEvent FOnItemSelect;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

private:
    void Select(TSelectMove Move);
    void Hot(TSelectMove Move);
    bool Selectable(int Index) const;
    int FItemIndex = -1;
    int FItemHot = -1;
    int FOffSetX = 2;
    int FOffSetY = 2;
    int FItemOffSetX = 4;
    int FItemOffSetY = 4;
    int FCaptionGap = 4;
    TExtCustomItemSelector* FExtItemSelector;
};

// ---- the container --------------------------------------------------------------------------
// A scrolling window holding the panel, with scroll bars that show when the panel does not fit.
// The drop-down kinds create this and talk to it; it has no keyboard handling of its own.
class TExtCustomItemSelector : public TCustomControl {
public:
    explicit TExtCustomItemSelector(TComponent* AOwner);
    ~TExtCustomItemSelector() override;
    void AfterConstruction() override;

    void UpdateSelectorPanel();
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const QString& S);
    void ScrollItemInView(int Index);
    int GetVisibleItemCount() const;
    void GetSelectorPanelSize(int& Width, int& Height) const;

    TSelectorItems* Items() const { return FItems.get(); }
    void SetItems(TSelectorItems* Value) { FItems->Assign(Value); }
    TSelectorType SelectorType() const { return FSelectorType; }
    void SetSelectorType(TSelectorType Value);
    // Takes effect at the next UpdateSelectorPanel.
    TItemLayout ItemLayout() const { return FItemLayout; }
    void SetItemLayout(TItemLayout Value) { FItemLayout = Value; }
    int Columns() const { return FColumns; }
    void SetColumns(int Value); // values below 1 are ignored
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value);
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
    int ItemIndex() const;
    void SetItemIndex(int Value);
    int ItemHot() const;
    TCustomItemSelector* SelectorPanel() const { return FItemSelectorPanel; }

    // Scrolling: the part of the panel in view, the bars and their positions.
    int ViewWidth() const;
    int ViewHeight() const;
    bool VertScrollBarVisible() const;
    bool HorzScrollBarVisible() const;
    int VertScrollPos() const { return FVPos; }
    void SetVertScrollPos(int Value);
    int HorzScrollPos() const { return FHPos; }
    void SetHorzScrollPos(int Value);
    static int ScrollBarWidth();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

    TNotifyEvent OnItemSelect; // Sender: the container
    TDrawItemEvent OnDrawItem; // Sender: the panel; replaces the content drawing of every item
    TItemSizeEvent OnItemSize; // Sender: the panel; replaces the cell size

protected:
    void Paint() override;
    void resizeEvent(QResizeEvent* E) override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTALLKEYS; }

private:
    friend class TCustomItemSelector;
    void CreateSelectorPanel();
    void UpdateScrollBars();
    std::unique_ptr<TSelectorItems> FItems;
    TSelectorType FSelectorType = stImage;
    TItemLayout FItemLayout = ilCaptionRight;
    int FColumns = 1;
    int FColorBoxWidth = 14;
    int FColorBoxHeight = 14;
    TCustomImageList* FImages = nullptr;
    TCustomItemSelector* FItemSelectorPanel = nullptr;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    QScrollBar* FVBar;
    QScrollBar* FHBar;
    int FVPos = 0;
    int FHPos = 0;
    bool FUpdatingBars = false;
};

// The typed-letter search of the kinds that show an item selector: letters typed within 500 ms
// of the first one of a burst make one prefix; the clock service decides what a burst is, the
// timer only empties the text once the burst is over.
class TItemKeySearch {
public:
    TItemKeySearch();
    // The prefix with Ch added, upper-cased (a new burst when the last one has run out).
    QString Add(QChar Ch);
    QString Text() const { return FText; }
    TTimer* Timer() const { return FTimer.get(); }
    void Stop();

private:
    void Tick();
    std::unique_ptr<TTimer> FTimer;
    QString FText;
    uint64_t FStart = 0;
};
