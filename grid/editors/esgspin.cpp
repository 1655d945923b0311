#include "grid/editors/esgspin.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"

#include <QApplication>
#include <QLineEdit>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

QChar SpinTimeSeparator() { return FormatSettings.TimeSeparator; }
QChar SpinDateSeparator() { return FormatSettings.DateSeparator; }
QChar SpinThousandSeparator() { return FormatSettings.ThousandSeparator; }
QChar SpinDecimalSeparator() { return FormatSettings.DecimalSeparator; }
QString SpinShortDateFormat() { return FormatSettings.ShortDateFormat; }

namespace {
constexpr int SecondsPerDay = 24 * 60 * 60;

bool IsLeapYear(int Y) { return (Y % 4 == 0 && Y % 100 != 0) || Y % 400 == 0; }

int DaysInMonth(int Y, int M) {
    static const int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return M == 2 && IsLeapYear(Y) ? 29 : Days[M - 1];
}

// The date moved by whole months and years, the day kept within the new month's length and the
// time of day kept.
TDateTime IncMonths(TDateTime D, int Months) {
    int Y, M, Dd;
    DecodeDate(D, Y, M, Dd);
    int Total = Y * 12 + (M - 1) + Months;
    int NY = Total / 12, NM = Total % 12 + 1;
    if (Total < 0) throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    int ND = std::min(Dd, (NY >= 1 && NY <= 9999) ? DaysInMonth(NY, NM) : Dd);
    TDateTime R = EncodeDate(NY, NM, ND);
    double Frac = std::fabs(D - std::trunc(D));
    return R >= 0 ? R + Frac : R - Frac;
}
} // namespace

// ---- TExtTimerSpeedButton -------------------------------------------------------------------
TExtTimerSpeedButton::TExtTimerSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 15, 12); }

TExtTimerSpeedButton::~TExtTimerSpeedButton() { delete FRepeatTimer; }

void TExtTimerSpeedButton::SetTimeBtnState(TTimeBtnState Value) {
    if (FTimeBtnState == Value) return;
    FTimeBtnState = Value;
    update();
}

void TExtTimerSpeedButton::SetButtonDirection(TButtonDirection Value) {
    FButtonDirection = Value;
    update();
}

void TExtTimerSpeedButton::SetIsWinXP(bool Value) {
    FIsWinXP = Value;
    update();
}

void TExtTimerSpeedButton::SetFlat(bool Value) {
    FFlat = Value;
    update();
}

void TExtTimerSpeedButton::SetTransparent(bool Value) {
    FTransparent = Value;
    update();
}

void TExtTimerSpeedButton::SetNumGlyphs(int Value) {
    FNumGlyphs = std::clamp(Value, 1, 4);
    update();
}

void TExtTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled()) {
        FDragging = true;
        FPressed = true;
        SetMouseCapture(true);
        update();
    }
    if (FTimeBtnState.Contains(tbAllowTimer)) {
        if (!FRepeatTimer) {
            FRepeatTimer = new TTimer(nullptr);
            FRepeatTimer->OnTimer = [this](TObject* S) { TimerExpired(S); };
        }
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer->SetInterval(400);
        FRepeatTimer->SetEnabled(true);
    }
    if (Parent()) Parent()->Invalidate();
}

void TExtTimerSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    bool Inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    if (Inside != FPressed) {
        FPressed = Inside;
        update();
    }
}

void TExtTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
    if (Button == mbLeft && FDragging) {
        FDragging = false;
        bool Inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
        FPressed = false;
        SetMouseCapture(false);
        update();
        if (Inside && Enabled()) Click();
    }
    if (Parent()) Parent()->Invalidate();
}

void TExtTimerSpeedButton::MouseEnter() {
    TGraphicControl::MouseEnter();
    FHasMouse = true;
    update();
}

void TExtTimerSpeedButton::MouseLeave() {
    TGraphicControl::MouseLeave();
    FHasMouse = false;
    update();
}

void TExtTimerSpeedButton::TimerExpired(TObject*) {
    FRepeatTimer->SetInterval(100);
    if (FPressed && MouseCapture()) {
        try {
            Click();
        } catch (...) {
            FRepeatTimer->SetEnabled(false);
            throw;
        }
    }
}

void TExtTimerSpeedButton::Paint() {
    TCanvas* C = Canvas();
    const TRect R = ClientRect();
    auto* Pair = dynamic_cast<TEsgSpinButton*>(Parent());
    if (Pair && Pair->ButtonColor != clNone) {
        TColor Face = FPressed && Pair->ButtonColorDown != clNone ? Pair->ButtonColorDown
            : FHasMouse && Pair->ButtonColorHot != clNone         ? Pair->ButtonColorHot
                                                                  : Pair->ButtonColor;
        C->Brush()->SetColor(Face);
        C->Pen()->SetColor(Face);
        C->Rectangle(R);
        C->Brush()->SetColor(clBlack);
        C->Pen()->SetColor(clBlack);
        const int L = R.Left, T = R.Top;
        switch (FButtonDirection) {
            case bdLeft: C->Polygon({Point(L + 5, T + 5), Point(L + 3, T + 7), Point(L + 5, T + 9)}); break;
            case bdRight: C->Polygon({Point(L + 3, T + 5), Point(L + 5, T + 7), Point(L + 3, T + 9)}); break;
            case bdUp: C->Polygon({Point(L + 4, T + 4), Point(L + 8, T + 4), Point(L + 6, T + 2)}); break;
            case bdDown: C->Polygon({Point(L + 4, T + 2), Point(L + 8, T + 2), Point(L + 6, T + 4)}); break;
        }
        return;
    }
    if (FIsWinXP) {
        if (HTHEME Th = OpenThemeData(Pair ? static_cast<QWidget*>(Pair) : this, QStringLiteral("spin"))) {
            const bool Up = FButtonDirection == bdUp || FButtonDirection == bdRight;
            const int State = !Enabled() ? UPS_DISABLED : FPressed ? UPS_PRESSED : FHasMouse ? UPS_HOT : UPS_NORMAL;
            DrawThemeBackground(Th, C, Up ? SPNP_UP : SPNP_DOWN, State, R);
            CloseThemeData(Th);
            return;
        }
    }
    TRect B = R;
    if (FButtonDirection == bdLeft || FButtonDirection == bdRight) {
        unsigned State = (FButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT) |
            (FPressed ? DFCS_PUSHED : 0) | (FFlat ? DFCS_FLAT : 0) | (Enabled() ? 0 : DFCS_INACTIVE);
        DrawFrameControl(C, B, DFC_SCROLL, State);
        return;
    }
    // The speed button's own face with its glyph.
    if (!FTransparent || !FFlat) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(B);
    }
    if (!FFlat || FHasMouse || FPressed) DrawEdge(C, B, FPressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    if (!FGlyph.Empty()) {
        const int GW = FGlyph.Width() / std::max(1, FNumGlyphs), GH = FGlyph.Height();
        TBitmap Part(GW, GH);
        Part.Canvas()->CopyRect(Rect(0, 0, GW, GH), FGlyph.Canvas(), Rect(0, 0, GW, GH));
        Part.SetTransparent(true);
        const int Off = FPressed ? 1 : 0;
        C->Draw((Width() - GW) / 2 + Off, (Height() - GH) / 2 + Off, &Part);
    }
}

// ---- TEsgSpinButton -------------------------------------------------------------------------
TEsgSpinButton::TEsgSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 15, 25);
    FUpButton = CreateButton();
    FUpButton->SetButtonDirection(bdUp);
    FDownButton = CreateButton();
    FDownButton->SetButtonDirection(bdDown);
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    FFocusedButton = FUpButton;
    int W = Width(), H = Height();
    AdjustSize(W, H);
}

TExtTimerSpeedButton* TEsgSpinButton::CreateButton() {
    auto* B = new TExtTimerSpeedButton(this);
    B->SetParent(this);
    B->SetTimeBtnState(TTimeBtnState{tbAllowTimer});
    B->OnClick = [this](TObject* S) { BtnClick(S); };
    B->OnMouseDown = [this](TObject* S, TMouseButton Btn, TShiftState Sh, int X, int Y) {
        BtnMouseDown(S, Btn, Sh, X, Y);
    };
    B->AfterConstruction();
    return B;
}

void TEsgSpinButton::SetFocusControl(TWinControl* Value) {
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TEsgSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TEsgSpinButton::SetDirection(TSpinDirection Value) {
    FDirection = Value;
    if (Value == spHorizontal) {
        FUpButton->SetButtonDirection(bdRight);
        FDownButton->SetButtonDirection(bdLeft);
        SetWidth(20);
    } else {
        FUpButton->SetButtonDirection(bdUp);
        FDownButton->SetButtonDirection(bdDown);
        SetWidth(15);
    }
    int W = Width(), H = Height();
    AdjustSize(W, H);
    update();
}

void TEsgSpinButton::SetIsWinXP(bool Value) {
    FIsWinXP = Value;
    FUpButton->SetIsWinXP(Value);
    FDownButton->SetIsWinXP(Value);
}

void TEsgSpinButton::SetUpGlyph(TBitmap* Value) {
    if (Value && !Value->Empty()) {
        FUpButton->Glyph()->Assign(Value);
    } else {
        FUpButton->Glyph()->LoadFromResourceName(QStringLiteral("EsgSpinUp"));
        FUpButton->SetNumGlyphs(1);
    }
    FUpButton->Invalidate();
}

void TEsgSpinButton::SetDownGlyph(TBitmap* Value) {
    if (Value && !Value->Empty()) {
        FDownButton->Glyph()->Assign(Value);
    } else {
        FDownButton->Glyph()->LoadFromResourceName(QStringLiteral("EsgSpinDown"));
        FDownButton->SetNumGlyphs(1);
    }
    FDownButton->Invalidate();
}

void TEsgSpinButton::AdjustSize(int& W, int& H) {
    if (!FUpButton || !FDownButton || ComponentState().Contains(csLoading)) return;
    if (FDirection == spVertical) {
        W = std::max(W, 15);
        const int UpH = H / 2;
        FUpButton->SetBounds(0, 0, W, UpH);
        FDownButton->SetBounds(0, FUpButton->Height() - 1, W, H - FUpButton->Height() + 1);
    } else {
        W = std::max(W, 20);
        FDownButton->SetBounds(0, 0, W / 2, H);
        FUpButton->SetBounds(W / 2 + 1, 0, W / 2, H);
    }
}

void TEsgSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    int W = AWidth, H = AHeight;
    AdjustSize(W, H);
    TWinControl::SetBounds(ALeft, ATop, W, H);
}

void TEsgSpinButton::Resize() {
    TWinControl::Resize();
    int W = Width(), H = Height();
    AdjustSize(W, H);
}

void TEsgSpinButton::Loaded() {
    TWinControl::Loaded();
    int W = Width(), H = Height();
    AdjustSize(W, H);
    if (W != Width() || H != Height()) TWinControl::SetBounds(Left(), Top(), W, H);
}

void TEsgSpinButton::BtnClick(TObject* Sender) {
    if (Sender == FUpButton) {
        if (OnUpClick) OnUpClick(this);
    } else if (OnDownClick) {
        OnDownClick(this);
    }
}

void TEsgSpinButton::SetFocusBtn(TExtTimerSpeedButton* Btn) {
    if (Btn == FFocusedButton) return;
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() >> tbFocusRect);
    FFocusedButton = Btn;
    if (Focused()) FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() << tbFocusRect);
}

void TEsgSpinButton::BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState, int, int) {
    if (Button != mbLeft) return;
    if (TabStop() && CanFocus()) SetFocusBtn(static_cast<TExtTimerSpeedButton*>(Sender));
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

void TEsgSpinButton::KeyDown(Word& Key, TShiftState Shift) {
    switch (Key) {
        case VK_SPACE: FFocusedButton->Click(); break;
        case VK_UP:
            SetFocusBtn(FUpButton);
            FUpButton->Click();
            break;
        case VK_DOWN:
            SetFocusBtn(FDownButton);
            FDownButton->Click();
            break;
        default: break;
    }
    TWinControl::KeyDown(Key, Shift);
}

void TEsgSpinButton::DoEnter() {
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() << tbFocusRect);
    TWinControl::DoEnter();
}

void TEsgSpinButton::DoExit() {
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() >> tbFocusRect);
    TWinControl::DoExit();
}

// ---- TEsgSpinEdit: creation and properties --------------------------------------------------
TEsgSpinEdit::TEsgSpinEdit(TComponent* AOwner) : TEdit(AOwner) {
    FButton = new TEsgSpinButton(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject* S) { SpinUpClick(S); };
    FButton->OnDownClick = [this](TObject* S) { SpinDownClick(S); };
    FButton->AfterConstruction();
    FButton->SetVisible(true);
    SetText(QStringLiteral("0"));
    ResizeControl();
}

TEsgSpinEdit::~TEsgSpinEdit() { FButton = nullptr; }

void TEsgSpinEdit::SetIsWinXP(bool Value) {
    FIsWinXP = Value;
    FButton->SetIsWinXP(Value);
}

void TEsgSpinEdit::SetSpinType(TEsgSpinType Value) {
    FSpinType = Value;
    switch (Value) {
        case sptNormal: SetValue(this->Value()); break;
        case sptFloat: SetFloatValue(FloatValue()); break;
        case sptDate: SetDateValue(DateValue()); break;
        case sptTime: SetTimeValue(TimeValue()); break;
    }
}

void TEsgSpinEdit::SetPrecision(int Value) {
    FPrecision = Value;
    if (FSpinType == sptFloat) SetFloatValue(FloatValue());
}

void TEsgSpinEdit::SetDirection(TSpinDirection Value) {
    FDirection = Value;
    FButton->SetDirection(Value);
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TEsgSpinEdit::SetEditAlign(TEditAlign Value) {
    FEditAlign = Value;
    Qt::Alignment A = Value == eaRight ? Qt::AlignRight : Value == eaCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    Native()->setAlignment(A | Qt::AlignVCenter);
}

void TEsgSpinEdit::SetSpinFlat(bool Value) {
    FSpinFlat = Value;
    FButton->UpButton()->SetFlat(Value);
    FButton->DownButton()->SetFlat(Value);
}

void TEsgSpinEdit::SetSpinTransparent(bool Value) {
    FSpinTransparent = Value;
    FButton->UpButton()->SetTransparent(Value);
    FButton->DownButton()->SetTransparent(Value);
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

// ---- TEsgSpinEdit: values -------------------------------------------------------------------
int TEsgSpinEdit::CheckValue(int V) const {
    if (FMinValue == FMaxValue) return V;
    if (V < FMinValue) return FMinValue;
    if (V > FMaxValue) return FMaxValue;
    return V;
}

double TEsgSpinEdit::CheckFloatValue(double V) const {
    if (FMinFloatValue == FMaxFloatValue) return V;
    if (V < FMinFloatValue) return FMinFloatValue;
    if (V > FMaxFloatValue) return FMaxFloatValue;
    return V;
}

TDateTime TEsgSpinEdit::CheckDateValue(TDateTime V) const {
    if (FMinDateValue == FMaxDateValue) return V;
    if (V < FMinDateValue) return FMinDateValue;
    if (V > FMaxDateValue) return FMaxDateValue;
    return V;
}

int TEsgSpinEdit::Value() {
    const QString T = Trim(Text());
    if (T.isEmpty()) return 0;
    // Decimal only: the platform's integer conversion also takes hex forms such as "$10".
    const int Start = T.front() == QLatin1Char('-') || T.front() == QLatin1Char('+') ? 1 : 0;
    for (int I = Start; I < T.size(); ++I)
        if (T[I] < QLatin1Char('0') || T[I] > QLatin1Char('9')) return FMinValue;
    int V;
    return TryStrToInt(T, V) ? V : FMinValue;
}

void TEsgSpinEdit::SetValue(int V) {
    SetText(IntToStr(CheckValue(V)));
    if (!FEditorEnabled) SelectAll();
}

double TEsgSpinEdit::FloatValue() {
    double V;
    // A text that is not a number reads as the float range's lower limit.
    return TryStrToFloat(Text(), V) ? V : FMinFloatValue;
}

void TEsgSpinEdit::SetFloatValue(double V) {
    V = CheckFloatValue(V);
    if (FPrecision != 0)
        SetText(Format(QStringLiteral("%.*f"), {FPrecision, V}));
    else
        SetText(FloatToStr(V));
}

TDateTime TEsgSpinEdit::DateValue() {
    const QString T = Text();
    if (T.isEmpty() || T == QLatin1String("0")) return Now();
    TDateTime V;
    return TryStrToDate(T, V) ? V : FMinDateValue;
}

void TEsgSpinEdit::SetDateValue(TDateTime V) {
    FDateValue = V;
    if (ComponentState().Contains(csLoading)) return;
    const int Caret = SelStart();
    SetText(DateToStr(CheckDateValue(V)));
    SetSelStart(Caret);
}

TDateTime TEsgSpinEdit::TimeValue() {
    TDateTime V;
    return TryStrToTime(Text(), V) ? V : 0;
}

QString TEsgSpinEdit::TimeText(TDateTime V) const {
    return FShowSeconds ? TimeToStr(V) : FormatDateTime(QStringLiteral("h:nn"), V);
}

void TEsgSpinEdit::SetTimeValue(TDateTime V) {
    FTimeValue = V;
    if (ComponentState().Contains(csLoading)) return;
    const int Caret = SelStart();
    SetText(TimeText(CheckDateValue(V)));
    SetSelStart(Caret);
}

void TEsgSpinEdit::Loaded() {
    TEdit::Loaded();
    if (FSpinType == sptDate)
        SetText(DateToStr(FDateValue));
    else if (FSpinType == sptTime)
        SetText(TimeText(FTimeValue));
    SetSpinType(FSpinType);
    ResizeControl();
}

// ---- TEsgSpinEdit: stepping -----------------------------------------------------------------
void TEsgSpinEdit::StepUp(bool Page) { Step(true, Page); }
void TEsgSpinEdit::StepDown(bool Page) { Step(false, Page); }
void TEsgSpinEdit::SpinUpClick(TObject*) { StepUp(false); }
void TEsgSpinEdit::SpinDownClick(TObject*) { StepDown(false); }

void TEsgSpinEdit::Step(bool Up, bool Page) {
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    switch (FSpinType) {
        case sptNormal: {
            // Stops at the ends of the integer range rather than wrapping round.
            const int64_t Inc = Up ? int64_t(FIncrement) : -int64_t(FIncrement);
            SetValue(int(std::clamp<int64_t>(int64_t(Value()) + Inc, INT_MIN, INT_MAX)));
            break;
        }
        case sptFloat: {
            const double Inc = Page ? FIncrementFloatPage : FIncrementFloat;
            SetFloatValue(FloatValue() + (Up ? Inc : -Inc));
            break;
        }
        case sptDate: StepDate(Up); break;
        case sptTime: StepTime(Up); break;
    }
}

void TEsgSpinEdit::StepDate(bool Up) {
    const QString Fmt = SpinShortDateFormat().toUpper();
    const int MPos = int(Fmt.indexOf(QLatin1Char('M'))), DPos = int(Fmt.indexOf(QLatin1Char('D')));
    FUsDates = MPos >= 0 && (DPos < 0 || MPos < DPos);
    const QString T = Text();
    const QChar Sep = SpinDateSeparator();
    const int P1 = int(T.indexOf(Sep));
    const int P2 = P1 >= 0 ? int(T.indexOf(Sep, P1 + 1)) : -1;
    const int Caret = SelStart();
    const int Field = Caret <= P1 ? 1 : (P2 < 0 || Caret > P2) ? 3 : 2;
    const int Dir = Up ? 1 : -1;
    const TDateTime D = DateValue();
    TDateTime R;
    if (Field == 3)
        R = IncMonths(D, 12 * Dir); // a year from 29 February lands on 28 February
    else if ((Field == 1) == FUsDates)
        R = IncMonths(D, Dir);
    else
        R = D + Dir;
    SetDateValue(R);
}

void TEsgSpinEdit::StepTime(bool Up) {
    const QString T = Text();
    const QChar Sep = SpinTimeSeparator();
    const int P1 = int(T.indexOf(Sep));
    const int P2 = P1 >= 0 ? int(T.indexOf(Sep, P1 + 1)) : -1;
    const int Caret = SelStart();
    int64_t Span;
    if (Caret <= P1)
        Span = int64_t(FIncrementHours) * 3600;
    else if (FShowSeconds && ((P2 >= 0 && Caret > P2) || (P2 < 0 && Caret > P1)))
        Span = int64_t(FIncrementSeconds);
    else
        Span = int64_t(FIncrementMinutes) * 60;
    // Any increment wraps within the day, up past midnight as well as down.
    const double V = TimeValue();
    const double Frac = V - std::floor(V);
    int64_t Secs = int64_t(std::llround(Frac * SecondsPerDay)) % SecondsPerDay;
    Secs += Up ? Span : -Span;
    Secs %= SecondsPerDay;
    if (Secs < 0) Secs += SecondsPerDay;
    SetTimeValue(double(Secs) / SecondsPerDay);
}

// ---- TEsgSpinEdit: keys ---------------------------------------------------------------------
void TEsgSpinEdit::WndProc(TMessage& M) {
    switch (M.Msg) {
        case WM_KEYDOWN: {
            const Word Key = Word(M.WParam);
            FLastKeyDown = Key;
            if (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT) {
                if (Key == VK_UP || Key == VK_PRIOR)
                    StepUp(Key == VK_PRIOR);
                else
                    StepDown(Key == VK_NEXT);
                M.Result = 0;
                return;
            }
            break;
        }
        case WM_CHAR:
            // The keypad's decimal key types the locale's separator.
            if (FExcelStyleDecimalSeparator && FLastKeyDown == VK_DECIMAL && M.WParam == u'.')
                M.WParam = SpinDecimalSeparator().unicode();
            FLastKeyDown = 0;
            break;
        case WM_PASTE:
        case WM_CUT:
            if (!FEditorEnabled || ReadOnly()) return;
            break;
        case CM_WANTSPECIALKEY:
            if (Word(M.WParam) == VK_RETURN && FReturnIsTab) {
                M.Result = 1;
                return;
            }
            break;
        default: break;
    }
    TEdit::WndProc(M);
}

void TEsgSpinEdit::KeyDown(Word& Key, TShiftState Shift) {
    if (Key == VK_RETURN && FReturnIsTab) {
        Key = VK_TAB;
        if (TForm* Form = ParentForm()) PostMessage(Form, CM_DIALOGKEY, VK_TAB, 0);
    }
    if (Key == VK_DELETE && !FEditorEnabled) Key = 0;
    TEdit::KeyDown(Key, Shift);
}

void TEsgSpinEdit::KeyPress(QChar& Key) {
    if (!AcceptsChar(Key)) {
        Key = QChar(0);
        MessageBeep(0);
    }
    if (!Key.isNull()) TEdit::KeyPress(Key);
}

bool TEsgSpinEdit::AcceptsChar(QChar& Key) {
    const char16_t U = Key.unicode();
    if (U == 8) return FEditorEnabled;
    const QChar Dec = SpinDecimalSeparator(), Thou = SpinThousandSeparator(), TimeSep = SpinTimeSeparator(),
                DateSep = SpinDateSeparator();
    const QString T = Text();
    const int SelS = SelStart();
    bool R;
    if (Key == Dec || Key == Thou || Key == TimeSep || Key == DateSep || Key == QLatin1Char('-') || Key.isNumber())
        R = true;
    else
        R = U < 32 && U != 13;
    auto SharedSeparator = [&](QChar Sep) {
        return Sep == Dec || Sep == Thou || Sep == QLatin1Char('-') || Sep == QLatin1Char('+');
    };
    if (Key == TimeSep && FSpinType != sptTime)
        R = R && SharedSeparator(TimeSep) && (FSpinType == sptNormal || FSpinType == sptFloat);
    if (Key == DateSep && FSpinType != sptDate)
        R = R && SharedSeparator(DateSep) && (FSpinType == sptNormal || FSpinType == sptFloat);
    if (Key == QLatin1Char('-')) {
        if (!T.contains(QLatin1Char('-')))
            R = R && SelS == 0;
        else
            R = R && SelText().contains(QLatin1Char('-')) && SelS == 0;
    }
    if (FSpinType == sptNormal) R = R && (Key.isNumber() || Key == QLatin1Char('-') || U < 32);
    if (FSpinType == sptFloat && U != 27 && U != 13 && U != 8) {
        if (Key == Thou) R = false;
        if (Key == Dec) {
            QString Outside = T;
            Outside.remove(SelS, SelLength());
            if (Outside.contains(Dec)) R = false;
        }
        const int P = int(T.indexOf(Dec)) + 1; // counted from 1, 0 when none
        if (FPrecision > 0 && P > 0 && SelS >= P && SelLength() == 0 && R) R = T.size() < P + FPrecision;
    }
    if (FSpinType == sptTime && Key == TimeSep && T.count(TimeSep) >= 2) R = false;
    if (!FEditorEnabled && R && !(U < 32 && U != 8)) R = false;
    return R;
}

// ---- TEsgSpinEdit: focus --------------------------------------------------------------------
void TEsgSpinEdit::DoEnter() {
    if (AutoSelect() && !(FEditorEnabled && (GetKeyState(VK_LBUTTON) & 0x8000))) SelectAll();
    TWinControl::DoEnter();
}

void TEsgSpinEdit::ClampShownValue() {
    switch (FSpinType) {
        case sptNormal: {
            const int V = Value();
            if (V != CheckValue(V)) SetValue(V);
            break;
        }
        case sptFloat: {
            const double V = FloatValue();
            if (V != CheckFloatValue(V)) SetFloatValue(V);
            break;
        }
        case sptDate: {
            const TDateTime V = DateValue();
            if (V != CheckDateValue(V)) SetDateValue(V);
            break;
        }
        case sptTime: {
            const TDateTime V = TimeValue();
            if (V != CheckDateValue(V)) SetTimeValue(V);
            break;
        }
    }
}

void TEsgSpinEdit::DoExit() {
    TEdit::DoExit();
    ClampShownValue();
}

// ---- TEsgSpinEdit: layout -------------------------------------------------------------------
int TEsgSpinEdit::MinHeight() {
    TCanvas C;
    C.Font()->Assign(Font());
    const int H = C.TextHeight(QStringLiteral("Wg"));
    TCanvas Sys;
    const int S = Sys.TextHeight(QStringLiteral("Wg"));
    int Min = H + std::min(H, S) / 4 + 2;
    if (BorderStyle() == bsSingle) Min += 4;
    return Min;
}

void TEsgSpinEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    ResizeControl();
}

void TEsgSpinEdit::ResizeControl() {
    if (FResizing || !FButton) return;
    FResizing = true;
    const int Min = MinHeight();
    if (Height() < Min) {
        TEdit::SetBounds(Left(), Top(), Width(), Min);
    } else {
        const int W = FButton->Width();
        const int B = BorderStyle() == bsNone ? 4 : 0;
        FButton->SetBounds(Width() - W - 5 + B, 0, W, Height() - 5 + B);
        SetEditRect();
    }
    FResizing = false;
}

void TEsgSpinEdit::SetEditRect() {
    const int Inset = BorderStyle() == bsNone ? 3 : 0;
    const int Right = Width() - FButton->Width() - 2 - Inset;
    Native()->setTextMargins(Inset, 0, std::max(0, Width() - Right), 0);
}
