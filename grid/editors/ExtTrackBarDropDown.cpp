#include "grid/editors/ExtTrackBarDropDown.h"

#include <QPointer>

#include <algorithm>

TExtTrackBarDropDown::TExtTrackBarDropDown(TComponent* AOwner) : TExtCustomDropDown(AOwner) {
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetEditType(etNumeric);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetForceShadow(true);
}

TExtTrackBarDropDown::~TExtTrackBarDropDown() { Destroying(); }

// ---- values -----------------------------------------------------------------------------------------
void TExtTrackBarDropDown::SetMin(int Value) {
    FMin = Value;
    if (!FTrackBar) return;
    FTrackBar->SetMin(Value);
    FMin = FTrackBar->Min();
}

void TExtTrackBarDropDown::SetMax(int Value) {
    FMax = Value;
    if (!FTrackBar) return;
    FTrackBar->SetMax(Value);
    FMax = FTrackBar->Max();
}

void TExtTrackBarDropDown::SetPosition(int Value) {
    FPosition = Value;
    if (!FTrackBar) return;
    FTrackBar->SetPosition(Value);
    FPosition = FTrackBar->Position();
}

void TExtTrackBarDropDown::SetPageSize(int Value) {
    FPageSize = Value;
    if (FTrackBar) FTrackBar->SetPageSize(Value);
}

void TExtTrackBarDropDown::SetFrequency(int Value) {
    FFrequency = Value;
    if (FTrackBar) FTrackBar->SetFrequency(Value);
}

void TExtTrackBarDropDown::TrackChanged(TObject*) {
    FPosition = FTrackBar->Position();
    SetTextUnformatted(QString::number(FPosition));
    if (OnTrackChange) OnTrackChange(this);
}

// ---- popup ------------------------------------------------------------------------------------------
void TExtTrackBarDropDown::CreateDropDownForm() {
    TExtCustomDropDown::CreateDropDownForm();
    if (FTrackBar || !DropDownForm()) return;
    FTrackBar = Create<TTrackBar>(this, DropDownForm());
    FTrackBar->SetBounds(0, 0, FTrackBar->Width(), TrackBarHeight);
    FTrackBar->SetMin(FMin);
    FTrackBar->SetMax(FMax);
    FTrackBar->SetPosition(FPosition);
    FTrackBar->SetPageSize(FPageSize);
    FTrackBar->SetFrequency(FFrequency);
    FTrackBar->OnChange = [this](TObject* Sender) { TrackChanged(Sender); };
}

void TExtTrackBarDropDown::BeforeDropDown() {
    TExtCustomDropDown::BeforeDropDown();
    if (!DropDownForm() || !FTrackBar) return;
    DropDownForm()->SetCancelOnDeActivate(false);
    FTrackBar->SetMin(FMin);
    FTrackBar->SetMax(FMax);
    FTrackBar->SetPosition(FPosition);
    FTrackBar->SetPageSize(FPageSize);
    FTrackBar->SetFrequency(FFrequency);
    FTrackBar->SetWidth(Width());
    SetControl(FTrackBar);
}

void TExtTrackBarDropDown::PlaceControl() { TExtCustomDropDown::PlaceControl(); }
void TExtTrackBarDropDown::SizeDropDown() {
    TExtCustomDropDown::SizeDropDown();
    // The track bar fills the popup, so its own size was lost to the empty popup it was laid out
    // in: the popup takes the size the bar was given, as wide as the edit and 40 high.
    if (!DropDownForm() || !FTrackBar) return;
    const int W = DropDownWidth() > 0 ? DropDownWidth() : Width();
    int H = DropDownHeight();
    if (H <= 0) {
        H = 2 * DropDownBorderWidth() + TrackBarHeight;
        if (DropDownHeader()->Visible()) H += DropDownHeader()->Height();
        if (DropDownFooter()->Visible()) H += DropDownFooter()->Height();
    }
    DropDownForm()->resize(W, H);
}
void TExtTrackBarDropDown::DoHideDropDown(bool Cancelled) { TExtCustomDropDown::DoHideDropDown(Cancelled); }
void TExtTrackBarDropDown::AfterDropUp() { TExtCustomDropDown::AfterDropUp(); }

void TExtTrackBarDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    TExtCustomDropDown::SetSelectionColorStyle(Value);
}

void TExtTrackBarDropDown::ControlKeyDown(Word& Key, TShiftState Shift) {
    TExtCustomDropDown::ControlKeyDown(Key, Shift);
    // Up and Down have stepped the value through the edit: the track bar must not step it again.
    if ((Key == VK_UP || Key == VK_DOWN) && !EditorEnabled() && !Shift.Contains(ssAlt)) Key = 0;
}

// ---- edit -------------------------------------------------------------------------------------------
void TExtTrackBarDropDown::Change() {
    TExtCustomDropDown::Change();
    // Only a whole number moves the value: a half-typed or emptied text leaves it where it is.
    bool Ok = false;
    const int Value = GetText().trimmed().toInt(&Ok, 10);
    if (Ok) SetPosition(Value);
}

void TExtTrackBarDropDown::WMKeyDown(TMessage& M) {
    const Word Key = Word(M.WParam);
    const TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
    QPointer<TExtTrackBarDropDown> Self(this);
    TExtCustomDropDown::WMKeyDown(M);
    if (!Self || EditorEnabled() || Shift.Contains(ssAlt)) return;
    if (Key == VK_UP && FPosition - FFrequency >= FMin) SetPosition(FPosition - FFrequency);
    if (Key == VK_DOWN && FPosition + FFrequency <= FMax) SetPosition(FPosition + FFrequency);
}

void TExtTrackBarDropDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TExtCustomDropDown::MouseDown(Button, Shift, X, Y);
    if (!DropDownEnabled() || EditorEnabled()) return;
    FMouseX = X;
    FMouseDraging = true;
}

void TExtTrackBarDropDown::MouseMove(TShiftState Shift, int X, int Y) {
    TExtCustomDropDown::MouseMove(Shift, X, Y);
    if (!FMouseDraging || !DropDownEnabled() || EditorEnabled()) return;
    // A page size of 0 or less would divide by nothing: one pixel is one step then.
    const int PixelsPerStep = std::max(1, FPageSize);
    SetPosition(FPosition + (X - FMouseX) / PixelsPerStep);
    FMouseX = X;
}

void TExtTrackBarDropDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TExtCustomDropDown::MouseUp(Button, Shift, X, Y);
    FMouseDraging = false;
}
