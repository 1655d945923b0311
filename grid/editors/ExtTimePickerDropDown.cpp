// The time picker drop-down: the time text, typing and stepping, and the popup with the clock
// (and the optional standard picker) that hands its time back on closing.
#include "grid/editors/ExtTimePickerDropDown.h"

#include "platform/gui/Forms.h"
#include "platform/rtl/StateScope.h"
#include "platform/rtl/SysUtils.h"

#include <QPointer>

namespace {
void DecodeT(TDateTime T, int& H, int& M, int& S, int& MS) {
    DecodeTime(T, H, M, S, MS);
    H %= 24;
}
QString Two(int V) { return V < 10 ? QStringLiteral("0") + QString::number(V) : QString::number(V); }
// A part is taken when empty (0) or when it starts with one or two digits; -1 otherwise.
int PartValue(const QString& Part) {
    const QString P = Part.trimmed();
    if (P.isEmpty()) return 0;
    int V = 0, N = 0;
    while (N < 2 && N < P.size() && P[N].isDigit()) V = V * 10 + P[N++].digitValue();
    return N == 0 ? -1 : V;
}
// Every field holds its digits: the hour one or two, minute and second two each.
bool IsCompleteTime(const QString& T, const QString& Sep) {
    const QStringList Parts = T.split(Sep);
    auto Digits = [](const QString& P, int Min, int Max) {
        if (P.size() < Min || P.size() > Max) return false;
        for (QChar Ch : P)
            if (!Ch.isDigit()) return false;
        return true;
    };
    if (!Digits(Parts.value(0).trimmed(), 1, 2)) return false;
    for (qsizetype I = 1; I < Parts.size(); ++I)
        if (!Digits(Parts[I], 2, 2)) return false;
    return true;
}
bool AltDown() { return GetKeyState(VK_MENU) < 0; }
bool AltHeld(TShiftState Shift) { return Shift.Contains(ssAlt); }
bool StepKey(Word Key) { return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN; }
} // namespace

TExtTimePickerDropDown::TExtTimePickerDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FWatchAppearance(std::make_unique<TWatchAppearance>()),
      FWatchSettings(std::make_unique<TWatchSettings>()) {
    FWatchAppearance->OnChange = [](TObject*) {};
}

TExtTimePickerDropDown::~TExtTimePickerDropDown() {
    if (FExtWatch) FExtWatch->OnChange = nullptr;
    if (FDateTimePicker) FDateTimePicker->OnChange = nullptr;
}

void TExtTimePickerDropDown::AfterConstruction() {
    TExtCustomDropDown::AfterConstruction();
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    FShowSeconds = true;
    SetEditMask(MaskFor(true));
    FInternalCall = true;
    SetTextUnformatted(TimeText(0));
    FInternalCall = false;
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
}

QString TExtTimePickerDropDown::Separator() const { return QString(FormatSettings.TimeSeparator); }

QString TExtTimePickerDropDown::MaskFor(bool Seconds) const {
    const QString S = Separator();
    return Seconds ? QStringLiteral("!90") + S + QStringLiteral("00") + S + QStringLiteral("00;1; ")
                   : QStringLiteral("!90") + S + QStringLiteral("00;1; ");
}

QString TExtTimePickerDropDown::TimeText(TDateTime T) const {
    int H, M, S, MS;
    DecodeT(T, H, M, S, MS);
    QString R = Two(H) + Separator() + Two(M);
    if (FShowSeconds) R += Separator() + Two(S);
    return R;
}

void TExtTimePickerDropDown::SetTime(TDateTime Value) {
    if (Value == FTime) return;
    FTime = Value;
    FInternalCall = true;
    SetTextUnformatted(TimeText(Value));
    FInternalCall = false;
    if (DroppedDown()) {
        if (FExtWatch) {
            const TStateScope<TNotifyEvent> Quiet(FExtWatch->OnChange, nullptr);
            FExtWatch->SetTime(Value);
        }
        if (FDateTimePicker && FShowTimePicker) {
            const TStateScope<TNotifyEvent> Quiet(FDateTimePicker->OnChange, nullptr);
            FDateTimePicker->SetTime(Value);
        }
    }
}

void TExtTimePickerDropDown::SetShowSeconds(bool Value) {
    if (Value == FShowSeconds) return;
    FShowSeconds = Value;
    FInternalCall = true;
    SetEditMask(QString());
    SetTextUnformatted(QString());
    SetEditMask(MaskFor(Value));
    FInternalCall = false;
    // Moved by a day, so that the setter sees a new value and writes the text in the new format.
    const TDateTime Old = FTime;
    FTime = Old + 1;
    SetTime(Old);
}

void TExtTimePickerDropDown::SetComponentStyle(TExtStyle AStyle) {
    TExtCustomDropDown::SetComponentStyle(AStyle);
    if (FWatchAppearance) ApplyWatchStyleColors(FWatchAppearance.get(), AStyle);
}

// ---- typing ---------------------------------------------------------------------------------
void TExtTimePickerDropDown::Change() {
    TExtCustomDropDown::Change();
    if (FInternalCall) return;
    const QString T = Text();
    const QString Sep = Separator();
    if (T.count(Sep) != (FShowSeconds ? 2 : 1)) return;
    // Taken are a text of five characters (a time without seconds, or hour and minute typed
    // with the seconds still blank) and every complete time: a value written from outside, or
    // typed to its last digit, is the time, or the next closing of the popup would write the
    // old one back over it. Texts still being typed are left alone.
    if (T.trimmed().size() != 5 && !IsCompleteTime(T, Sep)) return;
    QString S = T;
    S.replace(u' ', u'0');
    const QStringList Parts = S.split(Sep);
    const int H = PartValue(Parts.value(0)), M = PartValue(Parts.value(1));
    const int Sec = FShowSeconds ? PartValue(Parts.value(2)) : 0;
    if (H < 0 || M < 0 || Sec < 0) return;
    TDateTime New;
    if (!TryEncodeTime(H, M, Sec, 0, New)) {
        // An impossible time keeps the old one; the user hears why, and the text stays to be
        // corrected.
        try {
            EncodeTime(H, M, Sec, 0);
        } catch (const std::exception& E) {
            Application->HandleException(this, E);
        }
        return;
    }
    FTime = New;
    const QString Formatted = TimeText(New);
    if (Formatted != T && M == 0 && Sec == 0) {
        FInternalCall = true;
        SetTextUnformatted(Formatted);
        FInternalCall = false;
    }
}

void TExtTimePickerDropDown::StepField(int Field, int Value) {
    int H, M, S, MS;
    DecodeT(FTime, H, M, S, MS);
    int* Target = Field == 0 ? &H : Field == 1 ? &M : &S;
    if (*Target == Value || Value < 0 || (Field == 0 ? Value > 23 : Value > 59)) return;
    *Target = Value;
    SetTime(EncodeTime(H, M, S, MS));
    if (OnTimeChange) OnTimeChange(this);
}

void TExtTimePickerDropDown::WMKeyDown(TMessage& M) {
    const Word Key = Word(M.WParam);
    const TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
    QPointer<TExtTimePickerDropDown> Self(this);
    TExtCustomDropDown::WMKeyDown(M);
    if (!Self) return;
    if (Key != VK_UP && Key != VK_DOWN) return;
    if (AltHeld(Shift) || AltDown() || Shift.Contains(ssCtrl)) return;
    const int Caret = SelStart();
    const QString T = Text(), Sep = Separator();
    const int P = int(T.indexOf(Sep)) + 1;
    int Field;
    if (Caret < P) {
        Field = 0;
    } else {
        const int Q = int(T.mid(P).indexOf(Sep)) + 1;
        Field = (FShowSeconds && Q > 0 && Caret >= P + Q) ? 2 : 1;
    }
    int H, Mi, S, MS;
    DecodeT(FTime, H, Mi, S, MS);
    const int Cur = Field == 0 ? H : Field == 1 ? Mi : S, Top = Field == 0 ? 23 : 59;
    int Next;
    if (Key == VK_UP)
        Next = Cur == 0 ? Top : Cur - 1;
    else
        Next = Cur == Top ? 0 : Cur + 1;
    StepField(Field, Next);
    SetSelStart(Caret);
}

// ---- popup ----------------------------------------------------------------------------------
void TExtTimePickerDropDown::CreateDropDownForm() {
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm() || FPanelCtrl) return;
    FPanelCtrl = Create<TPanel>(this, DropDownForm());
    FPanelCtrl->SetBevelOuter(bvNone);
    FPanelCtrl->SetBevelInner(bvNone);
    FPanelCtrl->SetBounds(0, 0, 170, 180);
    FExtWatch = Create<TExtWatch>(this, FPanelCtrl);
    FExtWatch->SetAlign(alClient);
    SetControl(FPanelCtrl);
}

void TExtTimePickerDropDown::DropDownFormDestroyed() {
    FPanelCtrl = nullptr;
    FExtWatch = nullptr;
    FDateTimePicker = nullptr;
}

void TExtTimePickerDropDown::BeforeDropDown() {
    TExtCustomDropDown::BeforeDropDown();
    FOpenTime = FTime;
    if (!FPanelCtrl || !FExtWatch) return;
    // The panel fills the popup while it shows; its own size decides the popup's at opening.
    FPanelCtrl->SetAlign(alNone);
    FPanelCtrl->SetBounds(0, 0, 170, 170);
    if (TDropDownForm* F = DropDownForm()) {
        F->resize(F->width() + 1, F->height());
        F->resize(F->width() - 1, F->height());
        F->SetCancelOnDeActivate(false);
    }
    FPanelCtrl->SetColor(DropDownColor());
    FExtWatch->SetAppearance(FWatchAppearance.get());
    FExtWatch->SetSettings(FWatchSettings.get());
    FExtWatch->SetShowAMPM(FShowWatchAMPM);
    FExtWatch->SetShowNumbers(FShowWatchNumbers);
    FExtWatch->SetAnimation(FAnimation);
    FExtWatch->SetAnimationFactor(FAnimationFactor);
    FExtWatch->OnChange = nullptr;
    if (!FWatchSettings->Auto()) FExtWatch->SetTime(FTime);
    FExtWatch->OnChange = [this](TObject*) { WatchChanged(); };
    if (!FShowTimePicker) {
        if (FDateTimePicker) FDateTimePicker->SetVisible(false);
        return;
    }
    if (!FDateTimePicker) {
        FDateTimePicker = Create<TDateTimePicker>(this, FPanelCtrl);
        FDateTimePicker->SetKind(dtkTime);
    }
    FDateTimePicker->OnChange = nullptr;
    FDateTimePicker->SetAlign(alBottom);
    FDateTimePicker->SetVisible(true);
    FDateTimePicker->SetTime(FTime);
    FDateTimePicker->BringToFront();
    FDateTimePicker->OnChange = [this](TObject*) { PickerChanged(); };
    FDateTimePicker->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { ControlKeyDown(Key, Shift); };
    FDateTimePicker->OnKeyUp = [this](TObject*, Word& Key, TShiftState Shift) { ControlKeyUp(Key, Shift); };
    FDateTimePicker->OnKeyPress = [this](TObject*, QChar& Key) { ControlKeyPress(Key); };
    FDateTimePicker->SetFormat(FShowSeconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
    FPanelCtrl->SetHeight(FDateTimePicker->Height() + 170);
}

void TExtTimePickerDropDown::WatchChanged() {
    if (!FExtWatch) return;
    const TDateTime Old = FTime, Clock = FExtWatch->Time();
    if (FDateTimePicker && FShowTimePicker && FDateTimePicker->Time() != Clock) {
        const TStateScope<TNotifyEvent> Quiet(FDateTimePicker->OnChange, nullptr);
        FDateTimePicker->SetTime(Clock);
    }
    SetTime(Clock);
    // Moving the hands is a change of the time like any other: listeners hear of it once.
    if (FTime != Old && OnTimeChange) OnTimeChange(this);
}

void TExtTimePickerDropDown::PickerChanged() {
    if (!FExtWatch || !FDateTimePicker || FWatchSettings->Auto()) return;
    const TStateScope<TNotifyEvent> Quiet(FExtWatch->OnChange, nullptr);
    FExtWatch->SetTime(FDateTimePicker->Time());
}

void TExtTimePickerDropDown::DoHideDropDown(bool Cancelled) {
    // The popup's own hiding settles the time; it has to know whether this is a cancel.
    FCancelling = Cancelled;
    QPointer<TExtTimePickerDropDown> Self(this);
    TExtCustomDropDown::DoHideDropDown(Cancelled);
    if (!Self) return;
    FCancelling = false;
    if (!FExtWatch || Cancelled) return;
    const TStateScope<TNotifyEvent> Quiet(FExtWatch->OnChange, nullptr);
    SetTime(FExtWatch->Time());
}

void TExtTimePickerDropDown::AfterDropUp() {
    TExtCustomDropDown::AfterDropUp();
    if (!FExtWatch) return;
    if (FCancelling) {
        // The hands moved the time while the popup was open: a cancel takes all of it back.
        const TDateTime Moved = FTime;
        SetTime(FOpenTime);
        {
            const TStateScope<TNotifyEvent> Quiet(FExtWatch->OnChange, nullptr);
            FExtWatch->SetTime(FTime);
        }
        if (FTime != Moved && OnTimeChange) OnTimeChange(this);
        return;
    }
    const TStateScope<TNotifyEvent> Quiet(FExtWatch->OnChange, nullptr);
    SetTime(FExtWatch->Time());
}

// ---- keys in the popup ----------------------------------------------------------------------
void TExtTimePickerDropDown::FormKeyDown(Word& Key, TShiftState Shift) {
    const Word Original = Key;
    if (!StepKey(Key) || AltHeld(Shift)) TExtCustomDropDown::FormKeyDown(Key, Shift);
    if (FExtWatch && DropDownForm() && DropDownForm()->isVisible()) FExtWatch->HandleKey(Original);
}

void TExtTimePickerDropDown::FormKeyUp(Word& Key, TShiftState Shift) {
    if (!StepKey(Key) || AltHeld(Shift)) TExtCustomDropDown::FormKeyUp(Key, Shift);
}

void TExtTimePickerDropDown::ControlKeyDown(Word& Key, TShiftState Shift) {
    if (!StepKey(Key) || AltHeld(Shift)) TExtCustomDropDown::ControlKeyDown(Key, Shift);
}

void TExtTimePickerDropDown::ControlKeyUp(Word& Key, TShiftState Shift) {
    if (!StepKey(Key) || AltHeld(Shift)) TExtCustomDropDown::ControlKeyUp(Key, Shift);
}

void TExtTimePickerDropDown::ControlKeyPress(QChar& Key) {
    const ushort U = Key.unicode();
    if ((U == 33 || U == 34 || U == 38 || U == 40) && !AltDown()) return;
    TExtCustomDropDown::ControlKeyPress(Key);
}
