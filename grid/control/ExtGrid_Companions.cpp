// The string grid's side of its companion windows: the search bar's handlers, the application's
// hint window class and keeping the scroll indicators in step with scrolling.
#include "grid/control/ExtGrid.h"

#include "grid/control/HtmlHint.h"
#include "platform/gui/Forms.h"

// ---- search bar --------------------------------------------------------------------------------------
// The search itself is one of the grid's data services; the close button is the bar's own.
void TExtStringGrid::SearchCloseClick(TObject* Sender) {
    (void)Sender;
    if (OnSearchFooterClose) OnSearchFooterClose(this);
    FSearchFooter->SetVisible(false);
}

// ---- hint window class -------------------------------------------------------------------------------
void TExtStringGrid::SetUseHTMLHints(bool Value) {
    FUseHTMLHints = Value;
    if (!Application) return;
    if (Value)
        Application->HintWindowClass = [](TComponent* AOwner) -> THintWindow* { return new THTMLHintWindow(AOwner); };
    else
        Application->HintWindowClass = nullptr; // the platform's own hint window
}
