// The calculator drop-down: its key pad (keys, layout, painting, mouse) and the calculator
// behind it (operators, memory, display, keys on the pad, in the popup and in the edit).
#include "grid/editors/ExtCalculatorDropdown.h"

#include "platform/gui/Themes.h"
#include "platform/rtl/SysUtils.h"

#include <QLineEdit>
#include <QLocale>
#include <QPointer>

#include <algorithm>
#include <cmath>

// ---- key look -------------------------------------------------------------------------------
TButtonAppearance::TButtonAppearance() {
    FColorChecked = ShiftColor(0xF5F0E1, -10, -10, 0);
    FColorCheckedTo = ShiftColor(0xF9D2B2, -10, -10, 0);
    FColorDisabled = ShiftColor(0xFFFFFF, -5, -5, -5);
    FColorDisabledTo = ShiftColor(0xFFFFFF, -5, -5, -5);
    FFont.SetSize(10);
    FFont.SetStyle(TFontStyles{fsBold});
}

void TButtonAppearance::SetColorField(TColor& Field, TColor Value, bool Notify) {
    if (Field == Value) return;
    Field = Value;
    if (Notify && OnChange) OnChange(this);
}

void TButtonAppearance::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TButtonAppearance*>(Source);
    if (!S) return;
    FColor = S->FColor;
    FColorTo = S->FColorTo;
    FShineColor = S->FShineColor;
    FColorHot = S->FColorHot;
    FColorHotTo = S->FColorHotTo;
    FGlowColorHot = S->FGlowColorHot;
    FColorDown = S->FColorDown;
    FColorDownTo = S->FColorDownTo;
    FGlowColorDown = S->FGlowColorDown;
    FColorChecked = S->FColorChecked;
    FColorCheckedTo = S->FColorCheckedTo;
    FColorDisabled = S->FColorDisabled;
    FColorDisabledTo = S->FColorDisabledTo;
    FBorderColor = S->FBorderColor;
    FBorderColorHot = S->FBorderColorHot;
    FBorderColorDown = S->FBorderColorDown;
    FBorderColorChecked = S->FBorderColorChecked;
    FTextColor = S->FTextColor;
    FSpecialTextColor = S->FSpecialTextColor;
    FFont.Assign(&S->FFont);
}

// ---- keys -----------------------------------------------------------------------------------
int TButtonItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

void TButtonItem::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TButtonItem*>(Source);
    if (!S) return;
    FCaption = S->FCaption;
    FCaptionColor = S->FCaptionColor;
    FTag = S->FTag;
    FImageIndex = S->FImageIndex;
    FImage.Assign(&S->FImage);
    FEnabled = S->FEnabled;
    FName = S->FName;
}

TButtonItem* TButtonItems::Insert(int Index) {
    Index = std::clamp(Index, 0, Count());
    auto* I = new TButtonItem(this);
    FItems.insert(FItems.begin() + Index, std::unique_ptr<TButtonItem>(I));
    return I;
}

void TButtonItems::Delete(int Index) {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.erase(FItems.begin() + Index);
}

TButtonItem* TButtonItems::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

int TButtonItems::IndexOf(const TButtonItem* Item) const {
    for (int I = 0; I < Count(); ++I)
        if (FItems[size_t(I)].get() == Item) return I;
    return -1;
}

void TButtonItems::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TButtonItems*>(Source);
    if (!S || S == this) return;
    FItems.clear();
    for (int I = 0; I < S->Count(); ++I) Add()->Assign(S->Items(I));
}

// ---- key pad --------------------------------------------------------------------------------
namespace {
struct TKeyDef {
    const char* Caption;
    const char* Name;
    int Tag;
    bool Special;
    int Row, Col; // Col -1: the three wide keys of the top row
};
constexpr TKeyDef KCalcKeys[] = {
    {"", "BTN_ON", 30, false, 0, 0},      {"Back", "BTN_BACK", 31, true, 0, -1}, {"CE", "BTN_CE", 32, true, 0, -1},
    {"C", "BTN_C", 16, true, 0, -1},      {"MC", "BTN_MC", 33, true, 1, 0},      {"MR", "BTN_MR", 34, true, 2, 0},
    {"MS", "BTN_MS", 35, true, 3, 0},     {"M+", "BTN_M+", 36, true, 4, 0},      {"0", "BTN_0", 0, false, 4, 1},
    {"1", "BTN_1", 1, false, 3, 1},       {"4", "BTN_4", 4, false, 2, 1},        {"7", "BTN_7", 7, false, 1, 1},
    {"8", "BTN_8", 8, false, 1, 2},       {"5", "BTN_5", 5, false, 2, 2},        {"2", "BTN_2", 2, false, 3, 2},
    {"+/-", "BTN_+/-", 14, false, 4, 2},  {".", "BTN_.", 15, false, 4, 3},       {"3", "BTN_3", 3, false, 3, 3},
    {"6", "BTN_6", 6, false, 2, 3},       {"9", "BTN_9", 9, false, 1, 3},        {"/", "BTN_/", 13, true, 1, 4},
    {"*", "BTN_*", 12, true, 2, 4},       {"-", "BTN_-", 11, true, 3, 4},        {"+", "BTN_+", 10, true, 4, 4},
    {"=", "BTN_=", 17, true, 4, 5},       {"1/x", "BTN_1/x", 38, false, 3, 5},   {"%", "BTN_%", 18, false, 2, 5},
    {"sqrt", "BTN_sqrt", 37, true, 1, 5},
};
} // namespace

TCustomButtonPanel::TCustomButtonPanel(TComponent* AOwner)
    : TCustomControl(AOwner), FButtons(std::make_unique<TButtonItems>(this)),
      FButtonAppearance(std::make_unique<TButtonAppearance>()) {
    FButtonAppearance->OnChange = [this](TObject*) {
        if (!FExtDropDown) update();
    };
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TCustomButtonPanel::~TCustomButtonPanel() = default;

void TCustomButtonPanel::Loaded() {
    TCustomControl::Loaded();
    if (!FExtDropDown) {
        CreateButtons();
        ArrangeButtons();
    }
}

void TCustomButtonPanel::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FEdit) FEdit = nullptr;
}

void TCustomButtonPanel::SetButtonPanelType(TButtonPanelType Value) {
    if (Value == FButtonPanelType) return;
    FButtonPanelType = Value;
    ArrangeButtons();
}

void TCustomButtonPanel::SetImages(TCustomImageList* Value) {
    if (Value == FImages) return;
    FImages = Value;
    ArrangeButtons();
}

void TCustomButtonPanel::GetButtonArea(TRect& R) {
    R = ClientRect();
    R.Left += FOffSetX;
    R.Top += FOffSetY;
    R.Right -= FOffSetX;
    R.Bottom -= FOffSetY;
}

void TCustomButtonPanel::GetMaxButtonSize(TSize& Size) {
    int CW = 0, CH = 0, IW = 0, IH = 0;
    Canvas()->Font()->Assign(Font());
    for (int I = 0; I < FButtons->Count(); ++I) {
        TButtonItem* B = FButtons->Items(I);
        if (!B->Caption().isEmpty()) {
            const TSize S = Canvas()->TextExtent(B->Caption());
            CW = std::max(CW, S.cx);
            CH = std::max(CH, S.cy);
        }
        if (B->Image()->Graphic() && !B->Image()->Graphic()->Empty()) {
            IW = std::max(IW, B->Image()->Width());
            IH = std::max(IH, B->Image()->Height());
        } else if (FImages && B->ImageIndex() >= 0) {
            IW = std::max(IW, FImages->Width());
            IH = std::max(IH, FImages->Height());
        }
    }
    const int Gap = (CW > 0 && IW > 0) ? FCaptionGap : 0;
    if (FButtonLayout == ilCaptionLeft || FButtonLayout == ilCaptionRight) {
        Size.cx = IW + Gap + CW + 2 * FButtonOffSetX;
        Size.cy = std::max(IH, CH) + 2 * FButtonOffSetY;
    } else {
        Size.cx = std::max(IW, CW) + 2 * FButtonOffSetX;
        Size.cy = IH + Gap + CH + 2 * FButtonOffSetY;
    }
}

void TCustomButtonPanel::ClearButtons() {
    FButtons->Clear();
    FButtonHot = FButtonDown = -1;
}

void TCustomButtonPanel::RebuildButtons() {
    ClearButtons();
    CreateButtons();
}

void TCustomButtonPanel::CreateButtons() {
    if (FButtonPanelType != plCalculator || FButtons->Count() > 0) return;
    for (const TKeyDef& K : KCalcKeys) {
        TButtonItem* B = FButtons->Add();
        B->SetCaption(QString::fromLatin1(K.Caption));
        B->FName = QString::fromLatin1(K.Name);
        B->SetTag(K.Tag);
        B->FSpecial = K.Special;
        if (K.Special) B->SetCaptionColor(0x000080);
    }
}

void TCustomButtonPanel::ArrangeButtons() {
    if (FButtonPanelType != plCalculator) return;
    TRect A;
    GetButtonArea(A);
    const int W = (A.Right - A.Left - 8) / 6, H = (A.Bottom - A.Top - 4) / 5;
    int ColX[6], RowY[5];
    ColX[0] = A.Left;
    ColX[1] = A.Left + W + 4;
    ColX[2] = ColX[1] + W - 1;
    ColX[3] = ColX[2] + W - 1;
    ColX[4] = ColX[3] + W + 4;
    ColX[5] = ColX[4] + W - 1;
    RowY[0] = A.Top;
    RowY[1] = A.Top + H + 4;
    for (int R = 2; R < 5; ++R) RowY[R] = RowY[R - 1] + H - 1;
    const int WideX = A.Left + W + 4, RightEdge = ColX[5] + W;
    const int WideW = (RightEdge - WideX - 8) / 3;
    int Wide = 0;
    for (int I = 0; I < FButtons->Count() && I < int(std::size(KCalcKeys)); ++I) {
        TButtonItem* B = FButtons->Items(I);
        const TKeyDef& K = KCalcKeys[I];
        if (K.Col >= 0) {
            B->FLeft = ColX[K.Col];
            B->FTop = RowY[K.Row];
            B->FWidth = W;
        } else {
            B->FLeft = WideX + Wide * (WideW + 4);
            B->FTop = RowY[0];
            B->FWidth = Wide < 2 ? WideW : RightEdge - B->FLeft;
            ++Wide;
        }
        B->FHeight = H;
    }
    update();
}

int TCustomButtonPanel::ButtonAt(int X, int Y) const {
    for (int I = 0; I < FButtons->Count(); ++I) {
        const TRect R = FButtons->Items(I)->Rect();
        if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return I;
    }
    return -1;
}

void TCustomButtonPanel::InvalidateButton(int Index) {
    if (Index < 0 || Index >= FButtons->Count()) return;
    const TRect R = FButtons->Items(Index)->Rect();
    update(QRect(R.Left - 8, R.Top - 8, R.Right - R.Left + 16, R.Bottom - R.Top + 16));
}

void TCustomButtonPanel::DoButtonClick(int Index) {
    if (OnButtonClick) OnButtonClick(this, Index);
}

void TCustomButtonPanel::SetHot(int Index) {
    if (Index >= 0 && !FButtons->Items(Index)->FEnabled) Index = -1;
    if (Index == FButtonHot) return;
    const int Old = FButtonHot;
    FButtonHot = Index;
    InvalidateButton(Old);
    InvalidateButton(Index);
}

void TCustomButtonPanel::SetDown(int Index) {
    if (Index >= 0 && !FButtons->Items(Index)->FEnabled) return;
    if (Index == FButtonDown) return;
    const int Old = FButtonDown;
    FButtonDown = Index;
    InvalidateButton(Old);
    InvalidateButton(Index);
}

void TCustomButtonPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const int I = ButtonAt(X, Y);
    if (I >= 0) SetDown(I);
}

void TCustomButtonPanel::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    SetHot(ButtonAt(X, Y));
}

void TCustomButtonPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FButtonDown < 0) return;
    const int Was = FButtonDown;
    SetDown(-1);
    if (ButtonAt(X, Y) == Was) DoButtonClick(Was);
}

void TCustomButtonPanel::MouseLeave() {
    TCustomControl::MouseLeave();
    SetHot(-1);
}

void TCustomButtonPanel::Resize() {
    TCustomControl::Resize();
    ArrangeButtons();
}

void TCustomButtonPanel::Paint() {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(ClientRect());
    if (!FExtDropDown) {
        C->Brush()->SetStyle(bsClear);
        C->Pen()->SetColor(clBlack);
        C->Pen()->SetWidth(1);
        const TRect R = ClientRect();
        C->Rectangle(R);
    }
    for (int I = 0; I < FButtons->Count(); ++I)
        if (I != FButtonHot) DrawButton(I, C);
    if (FButtonHot >= 0) DrawButton(FButtonHot, C);
}

void TCustomButtonPanel::DrawButton(int Index, TCanvas* C) {
    if (Index < 0 || Index >= FButtons->Count()) return;
    TButtonItem* B = FButtons->Items(Index);
    const TRect R = B->Rect();
    if (R.Right <= R.Left || R.Bottom <= R.Top) return;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(R);
    const bool Disabled = !Enabled() || !B->FEnabled;
    const bool Down = Index == FButtonDown, Hot = Index == FButtonHot;
    TButtonAppearance* A = FButtonAppearance.get();
    HTHEME Theme = OpenThemeData(this, QStringLiteral("button"));
    const int State = Disabled ? PBS_DISABLED : Down ? PBS_PRESSED : Hot ? PBS_HOT : PBS_NORMAL;
    if (!Theme || !DrawThemeBackground(Theme, C, BP_PUSHBUTTON, State, R)) {
        // Without visual styles the keys take the appearance's own colours.
        TColor From = A->Color(), To = A->ColorTo(), Border = A->BorderColor();
        if (Disabled) {
            From = A->ColorDisabled();
            To = A->ColorDisabledTo();
        } else if (Down) {
            From = A->ColorDown();
            To = A->ColorDownTo();
            Border = A->BorderColorDown();
        } else if (Hot) {
            From = A->ColorHot();
            To = A->ColorHotTo();
            Border = A->BorderColorHot();
        }
        DrawFramedGradient(C, R, From, gdVertical, 1, Border, To);
    }
    if (Theme) CloseThemeData(Theme);

    // image and caption
    TSize Img{0, 0};
    const bool OwnPicture = B->Image()->Graphic() && !B->Image()->Graphic()->Empty();
    if (OwnPicture)
        Img = TSize{B->Image()->Width(), B->Image()->Height()};
    else if (FImages && B->ImageIndex() >= 0 && B->ImageIndex() < FImages->Count())
        Img = TSize{FImages->Width(), FImages->Height()};
    C->Font()->Assign(A->Font());
    C->Font()->SetColor(B->FSpecial ? A->SpecialTextColor() : A->TextColor());
    C->Brush()->SetStyle(bsClear);
    TRect TR = R;
    if (Img.cx > 0) {
        const TSize T = B->Caption().isEmpty() ? TSize{0, 0} : C->TextExtent(B->Caption());
        const int Gap = T.cx > 0 ? FCaptionGap : 0;
        int IX = R.Left + (R.Right - R.Left - Img.cx) / 2, IY = R.Top + (R.Bottom - R.Top - Img.cy) / 2;
        switch (FButtonLayout) {
            case ilCaptionRight:
                IX = R.Left + FButtonOffSetX;
                TR.Left = IX + Img.cx + Gap;
                break;
            case ilCaptionLeft:
                IX = R.Right - FButtonOffSetX - Img.cx;
                TR.Right = IX - Gap;
                break;
            case ilCaptionBottom:
                IY = R.Top + FButtonOffSetY;
                TR.Top = IY + Img.cy + Gap;
                break;
            case ilCaptionTop:
                IY = R.Bottom - FButtonOffSetY - Img.cy;
                TR.Bottom = IY - Gap;
                break;
        }
        if (OwnPicture)
            C->Draw(IX, IY, B->Image()->Graphic());
        else
            FImages->Draw(C, IX, IY, B->ImageIndex(), !Disabled);
    }
    unsigned Flags = DT_SINGLELINE | DT_VCENTER;
    if (Img.cx == 0) Flags |= DT_CENTER;
    if (!B->Caption().isEmpty()) DrawText(C, B->Caption(), TR, Flags);
}

// ---- calculator -----------------------------------------------------------------------------
namespace {
enum : int { opNone = -1, opAdd = 0, opMultiply = 1, opSubtract = 2, opDivide = 3 };
const QString KError = QStringLiteral("Error");
} // namespace

TExtCalculatorDropdown::TExtCalculatorDropdown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FCalcButtonAppearance(std::make_unique<TButtonAppearance>()) {}

TExtCalculatorDropdown::~TExtCalculatorDropdown() = default;

void TExtCalculatorDropdown::AfterConstruction() {
    TExtCustomDropDown::AfterConstruction();
    SetDropDownColor(0xFFFFFF);
    SetDropDownWidth(230);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetEditType(etFloat);
    SetPrecision(2);
    SetText(QStringLiteral("0"));
}

int TExtCalculatorDropdown::KeyIndex(int Tag) const {
    if (!FExtButtonPanel) return -1;
    for (int I = 0; I < FExtButtonPanel->Buttons()->Count(); ++I)
        if (FExtButtonPanel->Buttons()->Items(I)->Tag() == Tag) return I;
    return -1;
}

double TExtCalculatorDropdown::Value() {
    if (GetText().isEmpty()) SetText(QStringLiteral("0"));
    return TextToFloat(GetText());
}

void TExtCalculatorDropdown::SetValue(double Value) { SetText(Format(QStringLiteral("%g"), {Value})); }

void TExtCalculatorDropdown::SetShowThousandSeparator(bool Value) {
    if (Value == FShowThousandSeparator) return;
    FShowThousandSeparator = Value;
    SetEditType(Value ? etMoney : etFloat);
    SetFloatValue(GetFloatValue());
}

void TExtCalculatorDropdown::SetComponentStyle(TExtStyle AStyle) {
    TExtCustomDropDown::SetComponentStyle(AStyle);
    if (!FCalcButtonAppearance) return;
    TExtButtonAppearance* S = ButtonAppearance();
    TButtonAppearance* D = FCalcButtonAppearance.get();
    D->SetBorderColor(S->BorderColor());
    D->SetBorderColorHot(S->BorderColorHot());
    D->SetBorderColorDown(S->BorderColorDown());
    D->SetColor(S->Color());
    D->SetColorTo(S->ColorTo());
    D->SetColorDown(S->ColorDown());
    D->SetColorDownTo(S->ColorDownTo());
    D->SetColorHot(S->ColorHot());
    D->SetColorHotTo(S->ColorHotTo());
    D->SetColorDisabled(S->ColorDisabled());
    D->SetColorDisabledTo(S->ColorDisabledTo());
    D->SetBorderColorChecked(S->BorderColorDisabled());
    D->SetColorChecked(S->ColorDisabledTo());
    D->SetColorCheckedTo(S->ColorHotTo());
    if (AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black) {
        D->SetGlowColorDown(S->ColorHot());
        D->SetGlowColorHot(S->ColorHot());
    } else {
        D->SetGlowColorDown(0xD5C244);
        D->SetGlowColorHot(S->ColorDownTo());
    }
}

// -- popup
void TExtCalculatorDropdown::CreateDropDownForm() {
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm() || FExtButtonPanel) return;
    FExtButtonPanel = Create<TCustomButtonPanel>(this, DropDownForm());
    FExtButtonPanel->SetExtDropDown(this);
    FExtButtonPanel->SetBounds(0, 0, 230, 150);
    FExtButtonPanel->CreateButtons();
    FExtButtonPanel->ArrangeButtons();
    FExtButtonPanel->OnButtonClick = [this](TObject*, int Index) { CalcButtonClick(Index); };
    SetControl(FExtButtonPanel);
}

void TExtCalculatorDropdown::BeforeDropDown() {
    TExtCustomDropDown::BeforeDropDown();
    if (DropDownForm()) DropDownForm()->SetCancelOnDeActivate(false);
    if (FExtButtonPanel) {
        // The pad fills the popup while it shows; its own height decides the popup's at opening.
        FExtButtonPanel->SetAlign(alNone);
        FExtButtonPanel->SetBounds(0, 0, DropDownWidth(), 150);
        FExtButtonPanel->SetButtonAppearance(FCalcButtonAppearance.get());
        FExtButtonPanel->SetColor(DropDownColor());
        FExtButtonPanel->ArrangeButtons();
    }
    FNewval = true;
    FDecim = 0;
    FCalcClosed = false;
}

void TExtCalculatorDropdown::DoHideDropDown(bool Cancelled) { TExtCustomDropDown::DoHideDropDown(Cancelled); }

void TExtCalculatorDropdown::AfterDropUp() { TExtCustomDropDown::AfterDropUp(); }

bool TExtCalculatorDropdown::PopupShowing() const {
    return !FCalcClosed && DropDownForm() && DropDownForm()->isVisible();
}

// -- the arithmetic
double TExtCalculatorDropdown::ShownNumber() const { return TextToFloat(GetText()); }

void TExtCalculatorDropdown::Show(long double V) { SetFloatValue(double(V)); }

// The number being typed shows every decimal typed so far, also those beyond the display's
// precision: they take part in the next operation, which shows its result at the precision.
void TExtCalculatorDropdown::ShowEntry(long double V, int Decimals) {
    QString S =
        Format(QStringLiteral("%.") + QString::number(Decimals) + (EditType() == etMoney ? u'n' : u'f'), {double(V)});
    SetRawText(Prefix() + S + Suffix());
}

// Takes back the last digit of the shown number (an emptied number or "Error" shows 0).
void TExtCalculatorDropdown::RemoveLastDigit() {
    if (GetText() == KError) {
        SetText(QStringLiteral("0"));
        FDecim = 0;
        return;
    }
    const QChar Dec = DropDownDecimalSeparator();
    QString S = QString::number(GetFloatValue(), 'g', QLocale::FloatingPointShortest);
    S.replace(u'.', Dec);
    S.chop(1);
    if (S == QLatin1String("-")) S.clear();
    SetText(S);
    // The decimal entry steps back with the digit it lost.
    if (FDecim > 0) {
        FDecim /= 10;
        if (FDecim < 10) FDecim = 0;
    }
}

void TExtCalculatorDropdown::CalcStep() {
    if (GetText().isEmpty() || GetText() == KError) SetText(QStringLiteral("0"));
    const long double X = ShownNumber();
    switch (FPrevop) {
        case opAdd: FPrevval += X; break;
        case opMultiply: FPrevval *= X; break;
        case opSubtract: FPrevval -= X; break;
        case opDivide:
            if (X == 0) {
                FPrevval = 0;
                SetText(KError);
                return;
            }
            FPrevval /= X;
            break;
        default: FPrevval = X; break;
    }
    // An overflow leaves no number to go on with.
    if (!std::isfinite(double(FPrevval))) FPrevval = 0;
    Show(FPrevval);
    FNewval = true;
}

void TExtCalculatorDropdown::Operator(int Op) {
    CalcStep();
    FPrevop = Op;
}

void TExtCalculatorDropdown::CalcResult() {
    CalcStep();
    if (GetText().isEmpty()) SetText(QStringLiteral("0"));
    FPrevop = opNone;
    if (GetText() != KError) FPrevval = ShownNumber();
}

void TExtCalculatorDropdown::CalcPercent() {
    if (GetText().isEmpty() || GetText() == KError) SetText(QStringLiteral("0"));
    const long double X = ShownNumber();
    SetText(Format(QStringLiteral("%g"), {double(FPrevval * X / 100)}));
}

// Every clear, from the pad or the keyboard, open or closed: a fresh start with nothing pending.
void TExtCalculatorDropdown::Clear() {
    SetText(QStringLiteral("0"));
    FPrevval = 0;
    FPrevop = opNone;
    FNewval = true;
    FDecim = 0;
}

bool TExtCalculatorDropdown::EntryFull() const { return MaxLength() > 0 && GetText().size() >= MaxLength(); }

void TExtCalculatorDropdown::CalcButtonClick(int Index) {
    if (!FExtButtonPanel || Index < 0 || Index >= FExtButtonPanel->Buttons()->Count()) return;
    QPointer<TExtCalculatorDropdown> Self(this);
    BeforeCalcInput();
    if (!Self) return;
    const int T = FExtButtonPanel->Buttons()->Items(Index)->Tag();
    // A sign change keeps the decimal entry going: the next digit still lands behind the last one.
    if ((T >= 10 && T <= 13) || (T >= 16 && T <= 18)) FDecim = 0;
    if (((T >= 0 && T <= 9) || T == 14 || T == 15) && EntryFull()) return;
    const QChar Dec = DropDownDecimalSeparator();
    if (T >= 0 && T <= 9) {
        const long double V = GetFloatValue();
        if ((V == 0 && FDecim == 0) || FNewval) {
            SetText(QString::number(T));
            FNewval = false;
        } else {
            // Digits extend the magnitude, whatever the sign.
            const bool Negative = GetText().trimmed().startsWith(u'-');
            const long double D = Negative ? -T : T;
            if (FDecim > 0) {
                const int Decimals = int(std::lround(std::log10(double(FDecim))));
                if (Precision() >= 0 && Decimals > Precision())
                    ShowEntry(V + D / FDecim, Decimals);
                else
                    Show(V + D / FDecim);
                FDecim *= 10;
            } else {
                Show(V * 10 + D);
            }
        }
    } else {
        switch (T) {
            case 10: Operator(opAdd); break;
            case 11: Operator(opSubtract); break;
            case 12: Operator(opMultiply); break;
            case 13: Operator(opDivide); break;
            case 14: {
                QString S = GetText();
                if (S.contains(u'-'))
                    S.remove(0, 1);
                else
                    S.prepend(u'-');
                // Only the sign changes: decimals typed beyond the precision stay.
                if (S.contains(KError))
                    SetText(S);
                else
                    SetRawText(Prefix() + S + Suffix());
                break;
            }
            case 15:
                if (!GetText().contains(Dec)) SetText(GetText() + Dec);
                FDecim = 10;
                if (FNewval) SetText(QStringLiteral("0"));
                FNewval = false;
                break;
            case 16:
            case 30:
            case 32: Clear(); break;
            case 17: CalcResult(); break;
            case 18: CalcPercent(); break;
            case 31:
                if (FPrevop < 0) RemoveLastDigit();
                break;
            case 33: FMVal = 0; break;
            case 34: Show(FMVal); break;
            case 35: FMVal = ShownNumber(); break;
            case 36: FMVal = ShownNumber() + FMVal; break;
            case 37: {
                const double V = GetFloatValue();
                if (V >= 0)
                    Show(std::sqrt(V));
                else
                    SetText(KError);
                break;
            }
            case 38: {
                const double V = GetFloatValue();
                if (V != 0)
                    Show(1.0L / V);
                else
                    SetText(KError);
                break;
            }
            default: break;
        }
    }
    SetModified(true);
}

// -- keys in the popup
void TExtCalculatorDropdown::FormKeyPress(QChar& Key) {
    // Backspace was handled whole on its key-down; given to the edit too it would take a second
    // character.
    if (Key.unicode() == 8) return;
    QPointer<TExtCalculatorDropdown> Self(this);
    TExtCustomDropDown::FormKeyPress(Key);
    if (!Self) return;
    CalcKeyPress(Key);
}

void TExtCalculatorDropdown::CalcKeyPress(QChar Key) {
    QPointer<TExtCalculatorDropdown> Self(this);
    BeforeCalcInput();
    if (!Self) return;
    const QChar Dec = DropDownDecimalSeparator();
    const ushort U = Key.unicode();
    const bool Digit = U >= '0' && U <= '9';
    if (Key == Dec && !GetText().contains(Dec)) SetText(GetText() + Dec);
    if (Digit && EntryFull()) return;
    switch (U) {
        case 13:
            CalcResult();
            HideDropDown(false);
            return;
        case 27: HideDropDown(true); return;
        case '%': CalcPercent(); return;
        case '*': Operator(opMultiply); return;
        case '+': Operator(opAdd); return;
        case '-': Operator(opSubtract); return;
        case '/': Operator(opDivide); return;
        case '=': CalcResult(); return;
        case 'C':
        case 'c': Clear(); return;
        default: break;
    }
    if (Digit && (GetText() == QLatin1String("0") || FNewval)) FNewval = false;
}

void TExtCalculatorDropdown::FormKeyDown(Word& Key, TShiftState Shift) {
    if (Key == VK_BACK) {
        // The last digit of the number, as the pad's key takes it: the last character of a
        // formatted text is a decimal the user may never have typed. The edit does not see
        // the key, or it would take a second character.
        BeforeCalcInput();
        RemoveLastDigit();
        SetModified(true);
        return;
    }
    QPointer<TExtCalculatorDropdown> Self(this);
    TExtCustomDropDown::FormKeyDown(Key, Shift);
    if (!Self) return;
    if (Key == VK_TAB || Key == VK_F4) {
        HideDropDown(false);
    }
}

// -- keys in the edit
void TExtCalculatorDropdown::WMChar(TMessage& M) {
    const QChar Ch(char16_t(M.WParam));
    const ushort U = Ch.unicode();
    if (!PopupShowing()) {
        switch (U) {
            case 13:
            case '=': CalcResult(); return;
            case '%': CalcPercent(); return;
            case '*': Operator(opMultiply); return;
            case '+': Operator(opAdd); return;
            // The operator is the whole meaning of the key: it does not also change the sign.
            case '-': Operator(opSubtract); return;
            case '/': Operator(opDivide); return;
            case 'C':
            case 'c': Clear(); return;
            default: break;
        }
    }
    const QChar Dec = DropDownDecimalSeparator(), Th = DropDownThousandSeparator();
    const bool Digit = U >= '0' && U <= '9';
    if (!(Digit || Ch == Dec || U == 8 || Ch == u'-')) return;
    const int Pl = PrefixLength();
    if (Digit && (GetText() == QLatin1String("0") || FNewval)) {
        SetText(QString(Ch));
        SetSelStart(Pl + 1);
        SetSelLength(0);
        SetModified(true);
        FNewval = false;
        return;
    }
    if (U == 8 && GetText().size() == 1) {
        SetText(QStringLiteral("0"));
        SetSelStart(Pl + 1);
        return;
    }
    if (Ch == Th && Th != Dec) return;
    if (Ch == Dec) {
        if (FNewval) {
            SetText(QStringLiteral("0"));
            SetSelStart(Pl + 1);
            FNewval = false;
        }
        const qsizetype D = GetText().indexOf(Dec);
        if (D >= 0) {
            // The separator is already shown: typing it starts the decimals, so the digits that
            // follow land behind it instead of growing the whole part.
            if (SelStart() - Pl <= D) {
                SelectAfterDecimal();
                SetSelLength(0);
            }
            return;
        }
    }
    if (Digit && SelLength() == 0 && Precision() > 0) {
        // A digit behind the last shown decimal is kept: the display formats only results.
        const QString V = GetText();
        const qsizetype D = V.indexOf(Dec);
        if (D >= 0 && SelStart() - Pl == V.size() && V.size() - D - 1 >= Precision()) {
            SetRawText(Prefix() + V + Ch + Suffix());
            SetSelStart(Pl + int(V.size()) + 1);
            SetModified(true);
            return;
        }
    }
    TExtCustomDropDown::WMChar(M);
}

void TExtCalculatorDropdown::WMKeyDown(TMessage& M) {
    const Word Key = Word(M.WParam);
    QPointer<TExtCalculatorDropdown> Self(this);
    TExtCustomDropDown::WMKeyDown(M);
    if (!Self) return;
    if (Key == VK_DELETE && (GetText().isEmpty() || GetText() == KError)) SetText(QStringLiteral("0"));
}

void TExtCalculatorDropdown::CMEnter(TMessage& M) { TExtCustomDropDown::CMEnter(M); }
