#pragma once
// The filter lists that open under a column header's filter button: TDropList, a plain list
// whose choice closes it, and TDropCheckList, a list with check boxes that stays open while the
// user ticks entries. Both are popup windows of the grid, placed inside the work area of their
// screen. TNoActiveForm is a borderless window that never takes the activation, for pictures
// that float over the grid (the image of a dragged selection).
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

#include <functional>
#include <optional>

class TExtStringGrid;

using TDropSelectEvent = std::function<void(TObject* Sender, int ItemIndex)>;

// Where a popup of size W x H stands when its preferred place is R (screen coordinates): moved
// inside Area on every side; when it would cross the bottom edge it goes above FlipTop (the top
// of what it drops from) when there is room there. Area empty: R as it is.
TRect PlaceInWorkArea(TRect R, int FlipTop, const TRect& Area);
// The available geometry of the screen that holds P (the primary screen when none does).
TRect WorkAreaAt(const TPoint& P);

// What both lists share: the popup window, the grid they belong to and closing on a press
// outside them.
class TDropListBase : public TListBox {
public:
    // Grid: the grid whose filter column is cleared when the list is cancelled (may be null).
    TDropListBase(TComponent* AOwner, TExtStringGrid* Grid);
    TExtStringGrid* Grid() const { return FGrid; }
    // Shows the list at R (grid client coordinates), kept inside the screen's work area, and
    // gives it the focus. FlipTop: the grid y above which it may open instead.
    void DropAt(const TRect& R, int FlipTop);
    void WndProc(TMessage& Message) override;
    TDropSelectEvent OnSelect;

protected:
    bool event(QEvent* E) override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS; }
    void Select(int ItemIndex);

private:
    TExtStringGrid* FGrid;
    // The point (list client coordinates) of the press that cancels the list; unset: the
    // mouse cursor's position.
    std::optional<TPoint> FCancelPoint;
};

// Enter or a click chooses the item under the selection: the list closes and OnSelect fires.
class TDropList : public TDropListBase {
public:
    using TDropListBase::TDropListBase;
    void WndProc(TMessage& Message) override;
};

// Ticking or unticking an entry fires OnSelect(Sender, -1); the list stays open.
class TDropCheckList : public TDropListBase {
public:
    TDropCheckList(TComponent* AOwner, TExtStringGrid* Grid);
    // EListError outside the items. Setting a check does not fire OnSelect.
    bool Checked(int Index) const;
    void SetChecked(int Index, bool Value);
    // Gives every item its check box (unticked); call after filling the list.
    void MakeCheckable();

private:
    bool FSetting = false;
};

// A borderless, disabled popup window that never becomes the active window: a press on it
// answers MA_NOACTIVATE and an activation is answered without taking the focus.
class TNoActiveForm : public TForm {
public:
    explicit TNoActiveForm(TComponent* AOwner);
    // The answer to WM_MOUSEACTIVATE that keeps the window from activating.
    static constexpr LRESULT NoActivate = 3;
    void WndProc(TMessage& Message) override;
    // Shown without activation, kept inside the work area of its screen.
    void Show() override;
    void SetVisible(bool Value) override;

protected:
    void PaintHandler() override;
};
