#include "grid/editors/ESGEdit.h"

#include "platform/gui/Themes.h"

#include <QLineEdit>

#include <algorithm>

// ---- TExtSpeedButton ------------------------------------------------------------------------
TExtSpeedButton::TExtSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {}

TEsgEditButton* TExtSpeedButton::Holder() const { return dynamic_cast<TEsgEditButton*>(Owner()); }

void TExtSpeedButton::SetIsWinXP(bool Value) {
    FIsWinXP = Value;
    update();
}

void TExtSpeedButton::SetFlat(bool Value) {
    FFlat = Value;
    update();
}

void TExtSpeedButton::SetNumGlyphs(int Value) {
    FNumGlyphs = std::clamp(Value, 1, 4);
    update();
}

void TExtSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled()) {
        FDragging = true;
        FPressed = true;
        update();
    }
}

void TExtSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    const bool Inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    if (Inside != FPressed) {
        FPressed = Inside;
        update();
    }
}

void TExtSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FDragging) return;
    FDragging = false;
    FPressed = false;
    update();
    const bool Inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    if (OnLeftRelease) OnLeftRelease(this, Inside);
}

void TExtSpeedButton::MouseEnter() {
    TGraphicControl::MouseEnter();
    FHot = true;
    update();
}

void TExtSpeedButton::MouseLeave() {
    TGraphicControl::MouseLeave();
    FHot = false;
    update();
}

void TExtSpeedButton::Paint() {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    TEsgEditButton* H = Holder();
    if (H && H->ButtonColor != clNone) {
        FFlat = true;
        TColor Face = FPressed && H->ButtonColorDown != clNone ? H->ButtonColorDown
            : FHot && H->ButtonColorHot != clNone              ? H->ButtonColorHot
                                                               : H->ButtonColor;
        C->Brush()->SetColor(Face);
        C->FillRect(R);
    } else if (FIsWinXP && ThemesActive()) {
        if (HTHEME Th = OpenThemeData(Parent() ? static_cast<QWidget*>(Parent()) : this, QStringLiteral("button"))) {
            const int State = !Enabled() ? PBS_DISABLED : FPressed ? PBS_PRESSED : FHot ? PBS_HOT : PBS_NORMAL;
            DrawThemeBackground(Th, C, BP_PUSHBUTTON, State, R);
            CloseThemeData(Th);
        }
    } else if (FFlat) {
        C->Brush()->SetColor(clBtnFace);
        DrawEdge(C, R, FPressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    } else {
        DrawFrameControl(C, R, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (FPressed ? DFCS_PUSHED : 0));
    }
    const int Off = FPressed ? 1 : 0;
    if (!FGlyph.Empty()) {
        const int GW = FGlyph.Width() / std::max(1, FNumGlyphs), GH = FGlyph.Height();
        TBitmap Part(GW, GH);
        Part.Canvas()->CopyRect(Rect(0, 0, GW, GH), FGlyph.Canvas(), Rect(0, 0, GW, GH));
        Part.SetTransparent(true);
        // A coordinate is centred only when the glyph is smaller in that direction.
        const int X = GW < Width() ? (Width() - GW) / 2 : 0;
        const int Y = GH < Height() ? (Height() - GH) / 2 : 0;
        C->Draw(X + Off, Y + Off, &Part);
    }
    if (!Caption().isEmpty()) {
        TRect T = Rect(Off, Off, Width() + Off, Height() + Off);
        if (H) C->Font()->Assign(H->Font());
        C->Font()->SetColor(clBlack);
        C->Brush()->SetStyle(bsClear);
        DrawText(C, Caption(), T, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

// ---- TEsgEditButton -------------------------------------------------------------------------
TEsgEditButton::TEsgEditButton(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 20, 25);
    FButton = new TExtSpeedButton(this);
    FButton->SetParent(this);
    FButton->SetCaption(QString());
    FButton->OnLeftRelease = [this](TExtSpeedButton* S, bool Inside) { ButtonReleased(S, Inside); };
    FButton->AfterConstruction();
    AdjustButton();
}

void TEsgEditButton::SetFocusControl(TWinControl* Value) {
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TEsgEditButton::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TEsgEditButton::SetFlat(bool Value) {
    FFlat = Value;
    FButton->SetFlat(Value);
}

void TEsgEditButton::SetGlyph(TBitmap* Value) {
    FButton->Glyph()->Assign(Value);
    FButton->update();
}

void TEsgEditButton::SetButtonCaption(const QString& Value) {
    FButton->SetCaption(Value);
    FButton->update();
}

void TEsgEditButton::AdjustButton() {
    if (FButton && !ComponentState().Contains(csLoading)) FButton->SetBounds(0, 0, Width(), Height());
}

void TEsgEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    AdjustButton();
}

void TEsgEditButton::Resize() {
    TWinControl::Resize();
    AdjustButton();
}

void TEsgEditButton::Loaded() {
    TWinControl::Loaded();
    AdjustButton();
}

void TEsgEditButton::ButtonReleased(TExtSpeedButton*, bool) {
    if (OnClick) OnClick(this);
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

// ---- TEsgEditBtn ----------------------------------------------------------------------------
TEsgEditBtn::TEsgEditBtn(TComponent* AOwner) : TEdit(AOwner) {
    FButton = new TEsgEditButton(this);
    FButton->SetBounds(0, 0, 18, 18);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](TObject* S) { ButtonClick(S); };
    FButton->AfterConstruction();
    FButton->SetVisible(true);
    SetText(QStringLiteral("0"));
}

TEsgEditBtn::~TEsgEditBtn() { FButton = nullptr; }

void TEsgEditBtn::AfterConstruction() {
    TEdit::AfterConstruction();
    ResizeControl();
}

void TEsgEditBtn::SetRightAlign(bool Value) {
    if (FRightAlign == Value) return;
    FRightAlign = Value;
    Native()->setAlignment((Value ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

void TEsgEditBtn::SetButtonWidth(int Value) {
    FButton->SetWidth(Value);
    ResizeControl();
}

void TEsgEditBtn::SetIsWinXP(bool Value) {
    FIsWinXP = Value;
    FButton->Button()->SetIsWinXP(Value);
}

void TEsgEditBtn::ButtonClick(TObject* Sender) {
    if (OnClickBtn) OnClickBtn(Sender);
}

void TEsgEditBtn::WndProc(TMessage& M) {
    switch (M.Msg) {
        case WM_CHAR:
            if (!FEditorEnabled) return;
            break;
        case WM_PASTE:
        case WM_CUT:
            if (!FEditorEnabled || ReadOnly()) return;
            break;
        default: break;
    }
    TEdit::WndProc(M);
}

void TEsgEditBtn::KeyDown(Word& Key, TShiftState Shift) {
    TEdit::KeyDown(Key, Shift);
    if (Key == VK_F4 && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) ButtonClick(this);
}

void TEsgEditBtn::KeyPress(QChar& Key) { TEdit::KeyPress(Key); }

void TEsgEditBtn::DoEnter() {
    if (AutoSelect() && !(GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
    TWinControl::DoEnter();
}

void TEsgEditBtn::DoExit() { TEdit::DoExit(); }

int TEsgEditBtn::MinHeight() {
    TCanvas C;
    C.Font()->Assign(Font());
    const int H = C.TextHeight(QStringLiteral("Wg"));
    TCanvas Sys;
    const int S = Sys.TextHeight(QStringLiteral("Wg"));
    return H + std::min(H, S) / 4;
}

void TEsgEditBtn::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    ResizeControl();
}

void TEsgEditBtn::Loaded() {
    TEdit::Loaded();
    ResizeControl();
}

void TEsgEditBtn::ResizeControl() {
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
        Relayout();
    }
    FResizing = false;
}

void TEsgEditBtn::SetEditRect() {
    const bool Border = BorderStyle() != bsNone;
    const int Inset = Border ? 1 : 3;
    int Right = Width() - (FButton->Width() + FUnitSize + 5);
    if (FUnitSize > 0) Right -= 3;
    FEditRect = Rect(Inset, Inset, Right, Height() + 1);
    Native()->setTextMargins(Border ? 0 : Inset, 0, std::max(0, Width() - Right), 0);
}

// ---- TEsgUnitEditBtn ------------------------------------------------------------------------
// Draws the unit beside the text, as an edit draws its text.
class TEsgUnitView : public TGraphicControl {
public:
    explicit TEsgUnitView(TEsgUnitEditBtn* AOwner) : TGraphicControl(AOwner), FEdit(AOwner) {}

protected:
    void Paint() override {
        TCanvas* C = Canvas();
        C->Brush()->SetColor(FEdit->Color());
        C->FillRect(ClientRect());
        C->Font()->Assign(FEdit->Font());
        C->Brush()->SetStyle(bsClear);
        TRect R = ClientRect();
        DrawText(C, FEdit->UnitID(), R, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL);
    }

private:
    TEsgUnitEditBtn* FEdit;
};

TEsgUnitEditBtn::TEsgUnitEditBtn(TComponent* AOwner) : TEsgEditBtn(AOwner), FUnits(std::make_unique<TStringList>()) {
    FUnitSize = 20;
    SetRightAlign(true);
    FUnitView = new TEsgUnitView(this);
    FUnitView->SetParent(this);
    FUnitView->AfterConstruction();
}

TEsgUnitEditBtn::~TEsgUnitEditBtn() = default;

TRect TEsgUnitEditBtn::UnitRect() const {
    const int W = Button()->Width();
    return Rect(ClientWidth() - W - 3 - FUnitSize, 2, ClientWidth() - W - 3, ClientHeight());
}

void TEsgUnitEditBtn::PlaceUnitView() {
    if (!FUnitView) return;
    // The text area of the native edit lies inside its frame; keep the unit clear of it.
    TRect R = UnitRect();
    const int Frame = BorderStyle() != bsNone ? 2 : 0;
    FUnitView->SetBounds(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height() - 2 - Frame));
    FUnitView->raise();
}

void TEsgUnitEditBtn::Relayout() { PlaceUnitView(); }

void TEsgUnitEditBtn::SetUnitID(const QString& Value) {
    FUnitID = Value;
    if (FUnitView) FUnitView->update();
}

void TEsgUnitEditBtn::SetUnits(TStrings* Value) {
    if (Value) FUnits->Assign(Value);
}

void TEsgUnitEditBtn::SetUnitSpace(int Value) {
    FUnitSize = Value;
    ResizeControl();
    update();
}

QString TEsgUnitEditBtn::TextAndUnit() const { return Text() + FUnitID; }

void TEsgUnitEditBtn::SetTextAndUnit(const QString& Value) {
    // The longest unit that ends the value wins (so "km" before "m"), and what stands before it
    // must be a number or nothing.
    int Best = -1;
    for (int I = 0; I < FUnits->Count(); ++I) {
        const QString U = FUnits->Get(I);
        if (U.isEmpty() || !Value.endsWith(U)) continue;
        const QString Rest = Trim(Value.left(Value.size() - U.size()));
        double D;
        if (!Rest.isEmpty() && !TryStrToFloat(Rest, D)) continue;
        if (Best < 0 || U.size() > FUnits->Get(Best).size()) Best = I;
    }
    if (Best < 0) return;
    const QString U = FUnits->Get(Best);
    SetText(Trim(Value.left(Value.size() - U.size())));
    SetUnitID(U);
}

void TEsgUnitEditBtn::ButtonClick(TObject*) {
    if (OnClickBtn) OnClickBtn(this);
    delete FMenu;
    FMenu = new TPopupMenu(this);
    for (int I = 0; I < FUnits->Count(); ++I) {
        auto* Item = new TMenuItem(FMenu);
        Item->SetCaption(FUnits->Get(I));
        Item->SetTag(I + 1);
        Item->OnClick = [this](TObject* S) { Perform(WM_COMMAND, WPARAM(static_cast<TMenuItem*>(S)->Tag()), 0); };
        FMenu->Items()->Add(Item);
    }
    const TPoint P = ClientToScreen(Point(ClientWidth() - 15, ClientHeight()));
    FMenu->SetPopupComponent(this);
    FMenu->Popup(P.X, P.Y);
}

void TEsgUnitEditBtn::WndProc(TMessage& M) {
    if (M.Msg == WM_COMMAND && M.LParam == 0 && HiWord(M.WParam) != 768) {
        const int N = LoWord(M.WParam);
        if (N >= 1 && N <= FUnits->Count()) {
            const QString Old = FUnitID;
            SetUnitID(FUnits->Get(N - 1));
            if (FUnitID != Old && OnUnitChanged) OnUnitChanged(this, FUnitID);
        }
        return;
    }
    TEsgEditBtn::WndProc(M);
}
