#pragma once
// The search bar a grid can show along its bottom edge: an edit field, find-next and
// find-previous buttons, a toggle that highlights every match, a match-case box and a small
// close button. Its texts come from the grid's search footer settings; its events go to the
// grid's search handlers. TRetEdit is its edit field, which reports Enter and Ctrl+Enter.
#include "grid/base/ExtGridCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

#include <QString>

class TExtStringGrid;

class TRetEdit : public TEdit {
public:
    explicit TRetEdit(TComponent* AOwner) : TEdit(AOwner) {}
    void WndProc(TMessage& Message) override;
    TNotifyEvent OnReturn;
    TNotifyEvent OnCtrlReturn;

protected:
    LRESULT DialogCode() const override { return TEdit::DialogCode() | DLGC_WANTALLKEYS; }
};

#define SEARCHPANEL_TEXT(Name)                                                                                         \
    QString Name() const { return F##Name; }                                                                           \
    void Set##Name(const QString& Value) { F##Name = Value; }

class TSearchPanel : public TPanel {
public:
    explicit TSearchPanel(TExtStringGrid* AOwner);
    // Run once the grid has its window: lays out the controls and fires the grid's
    // OnCreatedSearchFooter.
    void CreateWnd();
    // Places the six controls (mirrored in a right-to-left grid) with their texts and hints.
    void LayoutControls();

    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);

    SEARCHPANEL_TEXT(FindNextCaption)
    SEARCHPANEL_TEXT(FindPrevCaption)
    SEARCHPANEL_TEXT(MatchCaseCaption)
    SEARCHPANEL_TEXT(HintFindPrev)
    SEARCHPANEL_TEXT(HintClose)
    SEARCHPANEL_TEXT(HintFindNext)
    SEARCHPANEL_TEXT(HintHighlight)
    SEARCHPANEL_TEXT(HighLightCaption)

    TRetEdit* Edit() const { return FEdit; }
    TExtGridButton* ExitButton() const { return FExitButton; }
    TExtGridButton* ForwardButton() const { return FForwardButton; }
    TExtGridButton* BackwardButton() const { return FBackwardButton; }
    TExtGridButton* HiliteButton() const { return FHiliteButton; }
    TExtCheckBox* MatchCase() const { return FMatchCase; }

    TNotifyEvent OnForwardClick;
    TNotifyEvent OnBackwardClick;
    TNotifyEvent OnEditChange;
    TNotifyEvent OnExitClick;
    TNotifyEvent OnHighlightClick;

protected:
    void Paint() override;

private:
    void EditChanged();
    void Fire(const TNotifyEvent& Event);
    TExtStringGrid* FGrid;
    TRetEdit* FEdit;
    TExtGridButton* FExitButton;
    TExtGridButton* FForwardButton;
    TExtGridButton* FBackwardButton;
    TExtGridButton* FHiliteButton;
    TExtCheckBox* FMatchCase;
    TColor FColorTo = clNone;
    QString FFindNextCaption;
    QString FFindPrevCaption;
    QString FMatchCaseCaption;
    QString FHintFindPrev;
    QString FHintClose;
    QString FHintFindNext;
    QString FHintHighlight;
    QString FHighLightCaption;
};
#undef SEARCHPANEL_TEXT
