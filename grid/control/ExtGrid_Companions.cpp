// The string grid's side of its companion windows: the search bar's handlers, the application's
// hint window class and keeping the scroll indicators in step with scrolling.
#include "grid/control/ExtGrid.h"

#include "grid/control/HtmlHint.h"
#include "platform/gui/Forms.h"

// ---- search bar --------------------------------------------------------------------------------------
void TExtStringGrid::SearchEditChange(TObject* Sender) {
    (void)Sender;
    bool DefaultSearch = true;
    if (OnSearchEditChange) OnSearchEditChange(this, FSearchPanel->Edit()->Text(), DefaultSearch);
    // The incremental search (when DefaultSearch stays set) comes with the grid's search service.
}

// Find next, find previous and highlight are the search service's; until it lands the buttons
// reach these hooks and nothing is searched.
void TExtStringGrid::SearchNextClick(TObject* Sender) { (void)Sender; }
void TExtStringGrid::SearchPrevClick(TObject* Sender) { (void)Sender; }
void TExtStringGrid::SearchHighlightClick(TObject* Sender) { (void)Sender; }

void TExtStringGrid::SearchExitClick(TObject* Sender) {
    (void)Sender;
    FSearchFooter->SetVisible(false);
    if (OnSearchFooterClose) OnSearchFooterClose(this);
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
