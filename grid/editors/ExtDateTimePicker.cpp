#include "grid/editors/ExtDateTimePicker.h"

#include "platform/gui/Themes.h"

#include <QDateTimeEdit>

#include <cmath>

Cardinal DTPShiftFocusMessage() {
    static const Cardinal Msg = RegisterWindowMessage(QStringLiteral("DTPShiftFocus"));
    return Msg;
}

namespace {
void DecodeDateParts(TDateTime D, Word& Y, Word& M, Word& Dd) {
    int Yi, Mi, Di;
    DecodeDate(D, Yi, Mi, Di);
    Y = Word(Yi);
    M = Word(Mi);
    Dd = Word(Di);
}

// The time of day to whole seconds.
TDateTime WholeSeconds(TDateTime V) {
    const double Frac = V - std::floor(V);
    const int64_t Ms = std::llround(Frac * 86400000.0);
    return double(Ms / 1000) / 86400.0;
}
} // namespace

// ---- TCustomDateTimePicker ------------------------------------------------------------------
TCustomDateTimePicker::TCustomDateTimePicker(TComponent* AOwner) : TDateTimePickerLook(AOwner) {
    FCtl3D = false;
    FBorderColor = clBlack;
    DTPShiftFocusMessage();
}

void TCustomDateTimePicker::SetBorderStyle(TBorderStyle Value) { TDateTimePickerLook::SetBorderStyle(Value); }

void TCustomDateTimePicker::RememberParts() {
    if (TDateTimePicker::Kind() != dtkTime) return;
    int H, M, S, Ms;
    DecodeTime(TDateTimePicker::DateTime(), H, M, S, Ms);
    Fh = Word(H);
    Fm = Word(M);
    Fs = Word(S);
    Fms = Word(Ms);
}

void TCustomDateTimePicker::KeyPress(QChar& Key) {
    const bool Digit = Key >= QLatin1Char('0') && Key <= QLatin1Char('9');
    if (Digit && FAutoTab) RememberParts();
    TDateTimePickerLook::KeyPress(Key);
    if (Digit && FAutoTab) PostMessage(this, DTPShiftFocusMessage(), 0, 0);
}

void TCustomDateTimePicker::PostRightArrow() { PostMessage(this, WM_KEYDOWN, VK_RIGHT, 0); }

void TCustomDateTimePicker::AdvanceField() {
    if (TDateTimePicker::Kind() != dtkTime) return;
    int H, M, S, Ms;
    DecodeTime(TDateTimePicker::DateTime(), H, M, S, Ms);
    if (H != Fh || M != Fm || S != Fs) PostRightArrow();
}

void TCustomDateTimePicker::WndProc(TMessage& M) {
    if (M.Msg == DTPShiftFocusMessage()) {
        AdvanceField();
        return;
    }
    TDateTimePickerLook::WndProc(M);
}

// ---- TExtDateTimePicker: creation -----------------------------------------------------------
TExtDateTimePicker::TExtDateTimePicker(TComponent* AOwner) : TCustomDateTimePicker(AOwner) {
    FBorderStyle = bsSingle;
    FCtl3D = true;
    FMetroStyle = false;
}

TExtDateTimePicker::~TExtDateTimePicker() {
    if (FLabel) {
        TLabel* L = FLabel;
        FLabel = nullptr;
        L->SetParent(nullptr);
        delete L;
    }
}

void TExtDateTimePicker::AfterConstruction() {
    TCustomDateTimePicker::AfterConstruction();
    // The window exists now: the kind is applied again, which attaches the time picker.
    const TExtDateTimeKind K = FKind;
    FKind = dkDate;
    SetKind(K);
}

void TExtDateTimePicker::Loaded() {
    TCustomDateTimePicker::Loaded();
    FParentFnt = ParentFont();
    if (FKind == dkDateTime && !FTimePicker) CreateTimePicker();
    UpdateTimePicker();
    PlaceLabel();
    if (ShowCheckbox() && !Checked()) {
        SetChecked(false);
        if (FTimePicker) FTimePicker->SetEnabled(false);
    }
}

// ---- TExtDateTimePicker: the attached time picker -------------------------------------------
void TExtDateTimePicker::CreateTimePicker() {
    if (FTimePicker || FKind != dkDateTime) return;
    FTimePicker = new TCustomDateTimePicker(this);
    FTimePicker->SetKind(dtkTime);
    FTimePicker->SetBounds(0, 0, 90, 17);
    FTimePicker->SetVisible(false);
    FTimePicker->SetEnabled(Enabled());
    if (!(ComponentState().Contains(csLoading) && ComponentState().Contains(csDesigning))) FTimePicker->SetParent(this);
    FTimePicker->SetAutoTab(FAutoTab);
    FTimePicker->OnChange = [this](TObject*) {
        DoChange();
        if (FOnTimeChange) FOnTimeChange(this);
    };
    FTimePicker->OnClick = [this](TObject*) { FireClick(); };
    FTimePicker->OnKeyPress = [this](TObject* S, QChar& Key) { TimePickerKeyPress(S, Key); };
    FTimePicker->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { KeyDown(Key, Shift); };
    FTimePicker->AfterConstruction();
}

void TExtDateTimePicker::UpdateTimePicker() {
    if (!FTimePicker || FUpdating) return;
    FUpdating = true;
    FTimePicker->SetParent(this);
    FTimePicker->SetColor(Color());
    FTimePicker->SetEnabled(Enabled() && (Checked() || !ShowCheckbox()));
    const bool Show = FKind == dkDateTime;
    FTimePicker->SetVisible(Show);
    FTimePicker->TDateTimePicker::SetDateTime(DateTime());
    FTimePicker->SetFormat(FTimeFormat);
    FTimePicker->Font()->Assign(Font());
    const bool LoadingAtRunTime = ComponentState().Contains(csLoading) && !ComponentState().Contains(csDesigning);
    if (Show || LoadingAtRunTime) {
        TCanvas C;
        C.Font()->Assign(Font());
        const int T = C.TextWidth(FTimePicker->DisplayText()) + 31;
        const int W = Width(), H = Height(), B = 0;
        int L, Tp, Ht;
        if (!ThemesActive()) {
            L = W - T - B - 21, Tp = 2, Ht = H - B - 4;
        } else if (MetroActive()) {
            L = W - T - B - 21, Tp = 1, Ht = H - B - 2;
        } else {
            L = W - T - B - 34, Tp = 1, Ht = H - B - 2;
        }
        FTimePicker->SetBounds(L, Tp, T, Ht);
        FTimePicker->raise();
    } else {
        delete FTimePicker;
        FTimePicker = nullptr;
    }
    FUpdating = false;
}

void TExtDateTimePicker::SetKind(TExtDateTimeKind Value) {
    if (FKind == Value && (Value != dkDateTime || FTimePicker)) return;
    FKind = Value;
    TDateTimePicker::SetKind(Value == dkTime ? dtkTime : dtkDate);
    if (Value == dkTime && !FTimeFormat.isEmpty()) TDateTimePicker::SetFormat(FTimeFormat);
    if (Value == dkDateTime) CreateTimePicker();
    UpdateTimePicker();
}

TDateTime TExtDateTimePicker::DateTime() const {
    TDateTime V = TDateTimePicker::DateTime();
    if (FTimePicker) {
        const TDateTime T = FTimePicker->TDateTimePicker::Time();
        V = std::floor(V) + T;
        auto* Self = const_cast<TExtDateTimePicker*>(this);
        Self->TDateTimePicker::SetDateTime(V);
    }
    return V;
}

void TExtDateTimePicker::SetDateTimeValue(TDateTime Value) {
    const TDateTime V = std::floor(Value) + WholeSeconds(Value);
    TDateTimePicker::SetDateTime(V);
    if (FKind == dkDateTime && !FTimePicker) CreateTimePicker();
    if (FTimePicker) FTimePicker->TDateTimePicker::SetDateTime(V);
    if (FTimePicker && ShowCheckbox()) {
        FTimePicker->SetEnabled(Enabled() && Checked());
        FIgnoreTimePickerCheck = FTimePicker->Enabled();
    }
}

void TExtDateTimePicker::SetDate(TDateTime Value) {
    const TDateTime T = WholeSeconds(DateTime());
    SetDateTimeValue(std::floor(Value) + T);
}

TDateTime TExtDateTimePicker::Time() const {
    if (FKind == dkDateTime && FTimePicker) return FTimePicker->TDateTimePicker::Time();
    return TDateTimePicker::Time();
}

void TExtDateTimePicker::SetTime(TDateTime Value) {
    TDateTimePicker::SetTime(Value);
    // The written time reaches the attached picker too, so the update below keeps it.
    if (FTimePicker) FTimePicker->TDateTimePicker::SetTime(Value);
    UpdateTimePicker();
}

void TExtDateTimePicker::SetTimeFormat(const QString& Value) {
    if (FTimePicker) FTimePicker->SetFormat(Value);
    if (FKind == dkTime) TDateTimePicker::SetFormat(Value);
    FTimeFormat = Value;
    UpdateTimePicker();
}

void TExtDateTimePicker::SetAutoTab(bool Value) {
    TCustomDateTimePicker::SetAutoTab(Value);
    if (FTimePicker) FTimePicker->SetAutoTab(Value);
}

void TExtDateTimePicker::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomDateTimePicker::SetBounds(ALeft, ATop, AWidth, AHeight);
    UpdateTimePicker();
    if (FLabel && FLabel->Parent()) PlaceLabel();
}

void TExtDateTimePicker::SetBorderStyle(TBorderStyle Value) {
    TCustomDateTimePicker::SetBorderStyle(Value);
    UpdateTimePicker();
}

void TExtDateTimePicker::SetEnabled(bool Value) {
    TCustomDateTimePicker::SetEnabled(Value);
    if (FTimePicker) FTimePicker->SetEnabled(Value && (Checked() || !ShowCheckbox()));
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Value);
}

void TExtDateTimePicker::SetParent(TWinControl* AParent) {
    TCustomDateTimePicker::SetParent(AParent);
    if (FLabel) {
        FLabel->SetParent(AParent);
        PlaceLabel();
    }
}

void TExtDateTimePicker::SetVisible(bool Value) {
    TCustomDateTimePicker::SetVisible(Value);
    if (FLabel) FLabel->SetVisible(Value);
}

// ---- TExtDateTimePicker: events and field advance -------------------------------------------
void TExtDateTimePicker::DoChange() {
    if (OnChange) OnChange(this);
}

void TExtDateTimePicker::FireClick() {
    if (OnClick) OnClick(this);
}

void TExtDateTimePicker::TimePickerKeyPress(TObject*, QChar&) {}

void TExtDateTimePicker::DateTimeChanged(bool NoDate) {
    TCustomDateTimePicker::DateTimeChanged(NoDate);
    if (FTimePicker && !FIgnoreTimePickerCheck) {
        FTimePicker->SetEnabled(Enabled() && Checked());
        if (NoDate) FTimePicker->SetEnabled(false);
    }
    FIgnoreTimePickerCheck = false;
}

void TExtDateTimePicker::RememberParts() {
    DecodeDateParts(DateTime(), Fy, Fm, Fd);
    TCustomDateTimePicker::RememberParts();
}

void TExtDateTimePicker::AdvanceField() {
    if (FKind == dkTime) {
        TCustomDateTimePicker::AdvanceField();
        return;
    }
    Word Y, M, D;
    DecodeDateParts(DateTime(), Y, M, D);
    const bool DayChanged = D != Fd, MonthChanged = M != Fm, YearChanged = Y != Fy;
    auto FocusTime = [this] {
        if (FTimePicker && FTimePicker->CanFocus()) FTimePicker->SetFocus();
    };
    const QString F = Format();
    if (!F.isEmpty()) {
        const QChar Last = F.back().toLower();
        const bool LastChanged = Last == QLatin1Char('d') ? DayChanged
            : Last == QLatin1Char('m')                    ? MonthChanged
            : Last == QLatin1Char('y')                    ? YearChanged
                                                          : false;
        if (LastChanged)
            FocusTime();
        else if (DayChanged || MonthChanged || YearChanged)
            PostRightArrow();
        return;
    }
    if (DayChanged || MonthChanged)
        PostRightArrow();
    else if (YearChanged)
        FocusTime();
}

// ---- TExtDateTimePicker: label --------------------------------------------------------------
QString TExtDateTimePicker::LabelCaption() const { return FLabel ? FLabel->Caption() : QString(); }

void TExtDateTimePicker::SetLabelCaption(const QString& Value) {
    if (!FLabel) {
        FLabel = new TLabel(this);
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->Font()->Assign(&FLabelFont);
        FLabel->OnClick = [this](TObject*) {
            if (OnLabelClick) OnLabelClick(this);
        };
        FLabel->OnDblClick = [this](TObject*) {
            if (OnLabelDblClick) OnLabelDblClick(this);
        };
        FLabel->SetParentFont(ParentFont());
        FLabel->AfterConstruction();
    }
    FLabel->SetCaption(Value);
    FLabel->AdjustBounds();
    PlaceLabel();
}

void TExtDateTimePicker::SetLabelFont(TFont* Value) {
    if (!FParentFnt) FLabelFont.Assign(Value);
    PlaceLabel();
}

void TExtDateTimePicker::SetLabelPosition(TLabelPosition Value) {
    FLabelPosition = Value;
    PlaceLabel();
}

void TExtDateTimePicker::SetLabelMargin(int Value) {
    FLabelMargin = Value;
    PlaceLabel();
}

void TExtDateTimePicker::SetLabelTransparent(bool Value) {
    FLabelTransparent = Value;
    PlaceLabel();
}

void TExtDateTimePicker::SetLabelAlwaysEnabled(bool Value) {
    FLabelAlwaysEnabled = Value;
    if (FLabel) {
        if (Value) FLabel->SetEnabled(true);
        FLabel->update();
    }
}

void TExtDateTimePicker::PlaceLabel() {
    if (!FLabel) return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt ? Font() : &FLabelFont);
    FLabel->AdjustBounds();
    FLabel->SetVisible(Visible());
    TCanvas C;
    C.Font()->Assign(FLabel->Font());
    const TPoint P = LabelPlace(FLabelPosition, Rect(Left(), Top(), Left() + Width(), Top() + Height()),
                                FLabel->Width(), FLabel->Height(), C.TextWidth(FLabel->Caption()), FLabelMargin);
    FLabel->SetBounds(P.X, P.Y, FLabel->Width(), FLabel->Height());
}

void TExtDateTimePicker::DoEnter() {
    TCustomDateTimePicker::DoEnter();
    if (FLabel && FFocusLabel && !ComponentState().Contains(csLoading)) {
        TFontStyles S = FLabel->Font()->Style();
        FLabel->Font()->SetStyle(S + fsBold);
    }
}

void TExtDateTimePicker::DoExit() {
    TCustomDateTimePicker::DoExit();
    if (FLabel && FFocusLabel && !ComponentState().Contains(csLoading)) {
        TFontStyles S = FLabel->Font()->Style();
        FLabel->Font()->SetStyle(S - fsBold);
    }
}
