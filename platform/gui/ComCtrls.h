#pragma once
// Page controls: a row of tabs over pages (tab sheets), one page shown at a time. Track bars: a
// slider over a range of whole numbers.
#include "platform/gui/Controls.h"

#include <vector>

class QSlider;
class QTabBar;
class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return FPageControl; }
    // Puts the sheet on a page control (its parent becomes the page control), as its last page.
    void SetPageControl(TPageControl* Value);
    int PageIndex() const;
    void SetPageIndex(int Value);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    int TabIndex() const; // among the visible tabs; -1 when its tab is hidden
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }

protected:
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int Index) const; // raises EListError outside 0..PageCount-1
    TTabSheet* ActivePage() const { return FActivePage; }
    // Shows the page (no OnChanging/OnChange: those answer the user's tab clicks).
    void SetActivePage(TTabSheet* Page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int Value);
    int TabIndex() const;
    // Moves to the next (or previous) visible page as a tab click would (with the events).
    void SelectNextPage(bool GoForward);
    // The area the pages fill, below the tabs.
    TRect DisplayRect() const;
    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    QTabBar* TabBar() const { return FTabBar; }
    // What a click on tab TabIndex (among the visible tabs) does.
    void ClickTab(int TabIndex);

protected:
    void Resize() override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS; }
    void KeyDown(Word& Key, TShiftState Shift) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void UpdateTabs();
    void PlacePages();
    TTabSheet* VisiblePage(int TabIndex) const;
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    QTabBar* FTabBar;
    bool FUpdating = false;
};

// ---- track bar --------------------------------------------------------------------------------
enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

// A thumb moved along a range Min..Max (10 at creation) by the mouse and the keys: Left and Up
// one line towards Min, Right and Down one line towards Max, Page Up and Page Down by PageSize
// the same ways, Home and End to the ends. OnChange fires whenever the position moves, by the
// user or by code.
class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner);
    ~TTrackBar() override;
    int Min() const { return FMin; }
    void SetMin(int Value); // refused above Max; the position stays inside the range
    int Max() const { return FMax; }
    void SetMax(int Value); // refused below Min; the position stays inside the range
    int Position() const;
    void SetPosition(int Value); // kept inside Min..Max
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value); // a tick every Frequency positions
    int PageSize() const;
    void SetPageSize(int Value);
    int LineSize() const;
    void SetLineSize(int Value);
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation Value);
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark Value);
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle Value);
    TNotifyEvent OnChange;
    QSlider* Native() const { return FSlider; }

protected:
    LRESULT DialogCode() const override { return DLGC_WANTARROWS; }
    void KeyDown(Word& Key, TShiftState Shift) override;

private:
    void ApplyTicks();
    QSlider* FSlider;
    int FMin = 0;
    int FMax = 10;
    int FFrequency = 1;
    TTrackBarOrientation FOrientation = trHorizontal;
    TTickMark FTickMarks = tmBottomRight;
    TTickStyle FTickStyle = tsAuto;
};
