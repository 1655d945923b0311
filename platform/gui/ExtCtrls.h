#pragma once
// Panels with bevels, shapes and images.
#include "platform/gui/Controls.h"
#include "platform/gui/StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelWidth = int;

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* AOwner);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value) {
        FBevelOuter = Value;
        Changed();
    }
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value) {
        FBevelInner = Value;
        Changed();
    }
    TBevelWidth BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TBevelWidth Value) {
        FBevelWidth = std::max(1, Value);
        Changed();
    }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) {
        FBorderWidth = std::max(0, Value);
        Changed();
    }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value) {
        FBorderStyle = Value;
        Changed();
    }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) {
        FAlignment = Value;
        update();
    }
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment Value) {
        FVerticalAlignment = Value;
        update();
    }
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool Value) {
        FParentBackground = Value;
        update();
    }
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value) {
        FShowCaption = Value;
        update();
    }
    // The client area less the border and bevels: where aligned children go.
    TRect AlignRect() const override;

protected:
    void Paint() override;
    void TextChanged() override { update(); }

private:
    void Changed();
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    TBevelWidth FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    TAlignment FAlignment = taCenter;
    TVerticalAlignment FVerticalAlignment = taVerticalCenter;
    bool FParentBackground = false;
    bool FShowCaption = true;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType Value) {
        FShape = Value;
        update();
    }
    TPen* Pen() { return &FPen; }
    void SetPen(TPen* Value) { FPen.Assign(Value); }
    TBrush* Brush() { return &FBrush; }
    void SetBrush(TBrush* Value) { FBrush.Assign(Value); }

protected:
    void Paint() override;

private:
    TShapeType FShape = stRectangle;
    TPen FPen;
    TBrush FBrush;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    TPicture* Picture() { return &FPicture; }
    void SetPicture(TPicture* Value) { FPicture.Assign(Value); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value) {
        FStretch = Value;
        update();
    }
    bool Center() const { return FCenter; }
    void SetCenter(bool Value) {
        FCenter = Value;
        update();
    }
    bool Proportional() const { return FProportional; }
    void SetProportional(bool Value) {
        FProportional = Value;
        update();
    }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // Where the picture is drawn in the client area.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();
    TPicture FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};

// ---- category panels --------------------------------------------------------------------------
class QScrollBar;
class TCustomImageList;
class TCategoryPanelGroup;

// A panel of a category panel group: a header band (image, caption, chevron) over its client
// area. A click on the header collapses or expands it. The client area starts below the header:
// the panel's controls are placed in client coordinates, and the panel's Height counts the header.
class TCategoryPanel : public TCustomControl {
public:
    explicit TCategoryPanel(TComponent* AOwner);
    ~TCategoryPanel() override;
    // The group it sits in (its parent), null when it sits in none.
    TCategoryPanelGroup* PanelGroup() const;
    bool Collapsed() const { return FCollapsed; }
    // A collapsed panel shows only its header; the height it was given comes back on expanding.
    void SetCollapsed(bool Value);
    void Collapse() { SetCollapsed(true); }
    void Expand() { SetCollapsed(false); }
    int HeaderHeight() const; // the group's
    // While collapsed, a new height is kept for expanding and the header height stays.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool Value) override;
    void SetParent(TWinControl* AParent) override;
    int ClientHeight() const override;
    TNotifyEvent OnCollapse;
    TNotifyEvent OnExpand;
    // Header geometry, client coordinates of the panel widget (the header is above the client area).
    TRect HeaderRect() const { return Rect(0, 0, Width(), HeaderHeight()); }

protected:
    void Paint() override;
    void TextChanged() override { update(); }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    QWidget* ClientWidget() override { return FSurface; }
    void resizeEvent(QResizeEvent* E) override;

private:
    friend class TCategoryPanelGroup;
    void PlaceSurface();
    QWidget* FSurface;
    bool FCollapsed = false;
    int FExpandedHeight = 200;
    bool FHot = false;
};

// A vertical stack of category panels with a vertical scroll bar when they do not fit. The
// panels are stacked in the order of their tops without gaps; a panel that is moved goes before
// one at the same top. WM_VSCROLL (SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN,
// SB_THUMBPOSITION/SB_THUMBTRACK with the position in the high word, SB_TOP, SB_BOTTOM,
// SB_ENDSCROLL) scrolls it as its scroll bar does.
class TCategoryPanelGroup : public TCustomControl {
public:
    explicit TCategoryPanelGroup(TComponent* AOwner);
    ~TCategoryPanelGroup() override;
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value);
    TFont* HeaderFont() { return &FHeaderFont; }
    void SetHeaderFont(TFont* Value) { FHeaderFont.Assign(Value); }
    // The header's vertical gradient, from the base colour at the top.
    TColor GradientBaseColor() const { return FGradientBaseColor; }
    void SetGradientBaseColor(TColor Value) {
        FGradientBaseColor = Value;
        RepaintPanels();
    }
    TColor GradientColor() const { return FGradientColor; }
    void SetGradientColor(TColor Value) {
        FGradientColor = Value;
        RepaintPanels();
    }
    TColor ChevronColor() const { return FChevronColor; }
    void SetChevronColor(TColor Value) {
        FChevronColor = Value;
        RepaintPanels();
    }
    // The chevron's colour while the mouse is over a header.
    TColor ChevronHotColor() const { return FChevronHotColor; }
    void SetChevronHotColor(TColor Value) {
        FChevronHotColor = Value;
        RepaintPanels();
    }
    // The header images (not owned; forgotten when the list is destroyed): CollapsedImageIndex
    // on a collapsed panel, ExpandedImageIndex on an expanded one; -1 for none.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int CollapsedImageIndex() const { return FCollapsedImageIndex; }
    void SetCollapsedImageIndex(int Value) {
        FCollapsedImageIndex = Value;
        RepaintPanels();
    }
    int ExpandedImageIndex() const { return FExpandedImageIndex; }
    void SetExpandedImageIndex(int Value) {
        FExpandedImageIndex = Value;
        RepaintPanels();
    }
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The panels, in creation order.
    int PanelCount() const;
    TCategoryPanel* Panels(int Index) const;
    void CollapseAll();
    void ExpandAll();

    // Vertical scrolling: the stack's height, how far it is scrolled, the step of one line.
    int StackHeight() const { return FStackHeight; }
    int ScrollPos() const { return FScrollPos; }
    void SetScrollPos(int Value);
    int ScrollRange() const { return std::max(0, FStackHeight - ClientHeight()); }
    bool ScrollBarVisible() const;
    static constexpr int LineIncrement = 8;

    // Puts the visible panels one under the other (Moved first among panels at the same top).
    void Restack(TCategoryPanel* Moved = nullptr);
    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void resizeEvent(QResizeEvent* E) override;

private:
    void RepaintPanels();
    int FHeaderHeight = 24;
    TFont FHeaderFont;
    TColor FGradientBaseColor = TColor(0xF0F0F0);
    TColor FGradientColor = TColor(0xE0E0E0);
    TColor FChevronColor = clBlack;
    TColor FChevronHotColor = clGray;
    TCustomImageList* FImages = nullptr;
    int FCollapsedImageIndex = -1;
    int FExpandedImageIndex = -1;
    int FScrollPos = 0;
    int FStackHeight = 0;
    bool FStacking = false;
    QScrollBar* FBar;
};
