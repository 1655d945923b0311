#pragma once
// The popup side that the kinds showing an item selector share (the colour picker's list, the
// image picker, the detail drop-down): the selector in the popup form, refilling it at each
// opening, the index a cancel goes back to, the choice that closes the popup, the moves of the
// kind's own keys and wheel that keep it open, and the typed-letter search.
#include "grid/editors/ExtDropDown.h"
#include "grid/editors/ExtItemSelector.h"

#include <functional>

class TSelectorPopup {
public:
    explicit TSelectorPopup(TExtCustomDropDown* Owner) : FOwner(Owner) {}
    ~TSelectorPopup() { FKeySearch.Stop(); }
    TSelectorPopup(const TSelectorPopup&) = delete;
    TSelectorPopup& operator=(const TSelectorPopup&) = delete;

    TExtCustomItemSelector* Selector() const { return FSelector; }
    // Makes the selector in the popup form, once: True when it was made now. Without a popup
    // form there is nothing to make it in.
    bool Create(TSelectorType Type);
    // The popup form went, and the selector, its child, with it.
    void Forget() { FSelector = nullptr; }
    // The selector in the popup's colour, arranged, as the popup's control.
    void Show();

    // What the selector shows besides its cells.
    struct TLook {
        int Columns;
        TCustomImageList* Images;
        TItemLayout Layout;
        TColor Color;
        TItemAppearance* Appearance;
    };
    // Refills the cells (AddItems adds one per item of the kind) with the choice event detached,
    // arranges them and selects ItemIndex; a choice in the popup then hands the selector's index
    // to Take.
    void Fill(const TLook& Look, const std::function<void(TSelectorItems*)>& AddItems, int ItemIndex,
              const std::function<void(int)>& Take);
    // The popup's size from the selector's panel, for each side the user has not fixed.
    void SizeToPanel();

    // The popup opened on ItemIndex: a cancel goes back to it.
    void Opened(int ItemIndex) { FOldItemIndex = ItemIndex; }
    int OldItemIndex() const { return FOldItemIndex; }
    // Only a cancel of a popup that is open has a choice to take back.
    bool TakesBack(bool Cancelled) const;

    // Set while the kind itself moves the selection: the choice is taken, the popup stays open.
    bool InternalCall() const { return FInternalCall; }
    void HoldOpen(const std::function<void()>& Move);
    // Moves the selection with the popup held open, then scrolls it into view.
    void Move(const std::function<void()>& Move);
    void MoveTo(int Index);
    void MoveBy(TSelectMove Move);
    // One row up (Dir -1) or down (+1) in the selector's columns; from no selection to the
    // first item; nothing past either end.
    void StepRow(int Dir);
    // By the items in view, stopping at the first and the last.
    void Page(bool Up);
    // Enter on the hot item chooses it: True when there was one.
    bool ChooseHot();
    // The wheel: the hot item moves while the popup is open, the selection while it is closed.
    void Wheel(bool Down, bool DroppedDown);

    // A typed character that the search takes: printable, neither Ctrl nor Alt held.
    static bool SearchChar(QChar Ch, TShiftState Shift);
    // Adds Ch to the search of the running burst and selects the first caption it begins.
    void Search(QChar Ch);
    QString CurSearch() const { return FKeySearch.Text(); }
    TTimer* KeyTimer() const { return FKeySearch.Timer(); }

private:
    void Choose(const std::function<void(int)>& Take);
    TExtCustomDropDown* FOwner;
    TExtCustomItemSelector* FSelector = nullptr;
    bool FInternalCall = false;
    TItemKeySearch FKeySearch;
    int FOldItemIndex = -1;
};
