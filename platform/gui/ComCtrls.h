#pragma once
// Page controls: a row of tabs over pages (tab sheets), one page shown at a time.
#include "platform/gui/Controls.h"

#include <vector>

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
