// The search bar: its controls, their layout, its background and the events it raises.
#include "grid/control/SearchPanel.h"

#include "grid/control/ExtGrid.h"
#include "platform/gui/Messages.h"

// The editors' banded gradient (ExtDropDown.h, whose button styles clash with the grid buttons').
void FillGradientBands(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect R, int Steps);

// ---- TRetEdit --------------------------------------------------------------------------------------
void TRetEdit::WndProc(TMessage& Message) {
    if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_RETURN) {
        // Enter searches instead of reaching the edit (which would beep or break the line).
        const TShiftState Shift = TShiftState::FromBits(uint32_t(Message.LParam));
        if (Shift.Contains(ssCtrl)) {
            if (OnCtrlReturn) OnCtrlReturn(this);
        } else if (OnReturn) {
            OnReturn(this);
        }
        Message.Result = 0;
        return;
    }
    if (Message.Msg == WM_CHAR && (Message.WParam == 10 || Message.WParam == 13)) {
        QChar C(char16_t(Message.WParam));
        KeyPress(C);
        Message.Result = 0;
        return;
    }
    TEdit::WndProc(Message);
}

// ---- TSearchPanel ----------------------------------------------------------------------------------
TSearchPanel::TSearchPanel(TExtStringGrid* AOwner) : TPanel(AOwner), FGrid(AOwner) {
    SetBevelOuter(bvNone);
    FEdit = new TRetEdit(this);
    FEdit->SetParent(this);
    FExitButton = new TExtGridButton(this);
    FExitButton->SetParent(this);
    FForwardButton = new TExtGridButton(this);
    FForwardButton->SetParent(this);
    FBackwardButton = new TExtGridButton(this);
    FBackwardButton->SetParent(this);
    FHiliteButton = new TExtGridButton(this);
    FHiliteButton->SetParent(this);
    FMatchCase = new TExtCheckBox(this);
    FMatchCase->SetParent(this);

    FEdit->OnChange = [this](TObject*) { EditChanged(); };
    FEdit->OnReturn = [this](TObject*) { Fire(OnForwardClick); };
    FEdit->OnCtrlReturn = [this](TObject*) { Fire(OnBackwardClick); };
    FEdit->OnKeyDown = [](TObject*, Word&, TShiftState) {};
    FForwardButton->OnClick = [this](TObject*) { Fire(OnForwardClick); };
    FBackwardButton->OnClick = [this](TObject*) { Fire(OnBackwardClick); };
    FExitButton->OnClick = [this](TObject*) { Fire(OnExitClick); };
    FHiliteButton->OnClick = [this](TObject*) { Fire(OnHighlightClick); };

    auto Glyph = [](TBitmap* B, const char* Name) { B->LoadFromResourceName(QString::fromLatin1(Name)); };
    Glyph(FForwardButton->Glyph(), "ESGARDOWN");
    Glyph(FForwardButton->GlyphDisabled(), "ESGARDOWND");
    Glyph(FBackwardButton->Glyph(), "ESGARUP");
    Glyph(FBackwardButton->GlyphDisabled(), "ESGARUPD");
    Glyph(FExitButton->Glyph(), "ESGCLOSE");
    Glyph(FExitButton->GlyphHot(), "ESGCLOSEH");
    Glyph(FExitButton->GlyphDown(), "ESGCLOSED");
    Glyph(FHiliteButton->Glyph(), "ESGHI");
    Glyph(FHiliteButton->GlyphDisabled(), "ESGHID");
    FForwardButton->SetEnabled(false);
    FBackwardButton->SetEnabled(false);
    FHiliteButton->SetEnabled(false);
    FHiliteButton->SetStyle(tasCheck);
    FHiliteButton->SetAllowAllUp(true);
    FHiliteButton->SetGroupIndex(1);
    for (TControl* C : std::initializer_list<TControl*>{FForwardButton, FBackwardButton, FExitButton, FHiliteButton})
        C->SetParentFont(true);
}

void TSearchPanel::Fire(const TNotifyEvent& Event) {
    if (Event) Event(this);
}

void TSearchPanel::EditChanged() {
    const bool HasText = !FEdit->Text().isEmpty();
    FForwardButton->SetEnabled(HasText);
    FBackwardButton->SetEnabled(HasText);
    FHiliteButton->SetEnabled(HasText);
    Fire(OnEditChange);
}

void TSearchPanel::CreateWnd() {
    LayoutControls();
    if (FGrid->OnCreatedSearchFooter) FGrid->OnCreatedSearchFooter(FGrid);
}

void TSearchPanel::LayoutControls() {
    const bool RightToLeft = FGrid->layoutDirection() == Qt::RightToLeft;
    auto Place = [&](TControl* C, int L, int T, int W, int H) {
        if (RightToLeft) L = Width() - W - L;
        C->SetBounds(L, T, W, H);
    };
    auto Hint = [](TControl* C, const QString& Text) {
        C->SetHint(Text);
        C->SetShowHint(!Text.isEmpty());
    };
    Place(FEdit, 25, 6, 110, FEdit->Height());
    Place(FForwardButton, 140, 5, 90, 23);
    FForwardButton->SetCaption(FFindNextCaption);
    Hint(FForwardButton, FHintFindNext);
    Place(FBackwardButton, 235, 5, 90, 23);
    FBackwardButton->SetCaption(FFindPrevCaption);
    Hint(FBackwardButton, FHintFindPrev);
    Place(FExitButton, 5, 7, 14, 14);
    FExitButton->SetCaption(QString());
    Hint(FExitButton, FHintClose);
    Place(FHiliteButton, 330, 5, 90, 23);
    FHiliteButton->SetCaption(FHighLightCaption);
    Hint(FHiliteButton, FHintHighlight);
    FMatchCase->SetCaption(FMatchCaseCaption);
    FMatchCase->Canvas()->Font()->Assign(FMatchCase->Font());
    const int BoxWidth = FMatchCase->Canvas()->TextWidth(FMatchCaseCaption) + 24;
    Place(FMatchCase, FHiliteButton->Visible() ? 425 : 330, 8, BoxWidth, FMatchCase->Height());
}

void TSearchPanel::SetColorTo(TColor Value) {
    FColorTo = Value;
    Invalidate();
}

void TSearchPanel::Paint() {
    TCanvas* C = Canvas();
    const TRect R = ClientRect();
    if (FColorTo == clNone) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(R);
    } else {
        FillGradientBands(C, Color(), FColorTo, false, R, 32);
    }
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(FGrid->GridLineColor());
    C->MoveTo(0, 0);
    C->LineTo(Width(), 0);
}
