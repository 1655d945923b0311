// The popup window of the drop-down family, its header and footer panels, and the persistent
// appearances those panels are copied from.
#include "grid/editors/ExtDropDown.h"

#include "platform/rtl/Clock.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QWindow>

// ---- button items ---------------------------------------------------------------------------
int THeaderButton::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

void THeaderButton::Changed() {
    if (FCollection && FCollection->OnChange) FCollection->OnChange(FCollection);
}

void THeaderButton::SetCaption(const QString& Value) {
    if (FCaption == Value) return;
    FCaption = Value;
    Changed();
}

void THeaderButton::SetEnabled(bool Value) {
    if (FEnabled == Value) return;
    FEnabled = Value;
    Changed();
}

void THeaderButton::SetWidth(int Value) {
    if (FWidth == Value) return;
    FWidth = Value;
    Changed();
}

void THeaderButton::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<THeaderButton*>(Source);
    if (!S) throw EConvertError(QStringLiteral("Cannot assign to a THeaderButton"));
    SetCaption(S->Caption());
    SetImageIndex(S->ImageIndex());
    SetEnabled(S->Enabled());
    SetWidth(S->Width());
    SetHeight(S->Height());
}

TFooterButton::TFooterButton(TFooterButtons* ACollection) : THeaderButton(nullptr), FFooterCollection(ACollection) {}

void TFooterButton::Changed() {
    if (FFooterCollection && FFooterCollection->OnChange) FFooterCollection->OnChange(FFooterCollection);
}

void TFooterButton::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TFooterButton*>(Source);
    if (!S) throw EConvertError(QStringLiteral("Cannot assign to a TFooterButton"));
    SetCaption(S->Caption());
    SetImageIndex(S->ImageIndex());
    SetModalResult(S->ModalResult());
    SetEnabled(S->Enabled());
    SetWidth(S->Width());
    SetHeight(S->Height());
}

// ---- appearances ----------------------------------------------------------------------------
THeaderAppearance::THeaderAppearance(TPersistent* AOwner) : TPopupBarAppearance(AOwner) {
    FFont.SetName(QStringLiteral("Tahoma"));
}

THeaderAppearance::~THeaderAppearance() = default;

void THeaderAppearance::Assign(TPersistent* Source) {
    if (auto* S = dynamic_cast<THeaderAppearance*>(Source)) AssignBar(*S);
}

void THeaderAppearance::AssignColors(TPersistent* Source) {
    if (auto* S = dynamic_cast<THeaderAppearance*>(Source)) AssignBarColors(*S);
}

TFooterAppearance::TFooterAppearance(TPersistent* AOwner) : TPopupBarAppearance(AOwner) {}

TFooterAppearance::~TFooterAppearance() = default;

void TFooterAppearance::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TFooterAppearance*>(Source);
    if (!S) return;
    FSizeGrip = S->FSizeGrip;
    AssignBar(*S);
}

void TFooterAppearance::AssignColors(TPersistent* Source) {
    if (auto* S = dynamic_cast<TFooterAppearance*>(Source)) AssignBarColors(*S);
}

// ---- header and footer panels ---------------------------------------------------------------
TExtPopupPanel::TExtPopupPanel(TComponent* AOwner, bool IsFooter) : TCustomControl(AOwner), FIsFooter(IsFooter) {}

TExtPopupPanel::~TExtPopupPanel() = default;

void TExtPopupPanel::LinkDropDown(TExtCustomDropDown* ADropDown) {
    FExtDropDown = ADropDown;
    FImages = ADropDown ? ADropDown->Images() : nullptr;
}

void TExtPopupPanel::AppearanceChanged(TObject*) {
    SetVisible(AVisible());
    SetHeight(AHeight());
}

bool TExtPopupPanel::SizeGripShows() const {
    if (!FIsFooter || !FExtDropDown) return false;
    auto* F = static_cast<const TExtFooter*>(this);
    return const_cast<TExtFooter*>(F)->Appearance()->SizeGrip() && FExtDropDown->DropDownSizeable();
}

TRect TExtPopupPanel::ButtonArea() const {
    TRect R = ClientRect();
    R.Left += 2;
    R.Top += 2;
    R.Right -= (FIsFooter && SizeGripShows()) ? 14 : 2;
    R.Bottom -= FIsFooter ? 2 : 3;
    return R;
}

void TExtPopupPanel::ClearButtons() {
    // A button's own click may reopen the popup and rebuild the buttons: it goes once its
    // handler has returned.
    for (int I = FButtonList.Count() - 1; I >= 0; --I) {
        TExtButton* B = ButtonAt(I);
        B->OnClick = nullptr;
        B->Hide();
        B->deleteLater();
    }
    FButtonList.Clear();
}

void TExtPopupPanel::BuildButtons() {
    if (!FExtDropDown) return;
    ClearButtons();
    const int H = ButtonArea().Height();
    for (int I = 0; I < ButtonItemCount(); ++I) {
        THeaderButton* Item = ButtonItem(I);
        auto* B = new TExtButton(this);
        B->SetParent(this);
        B->AfterConstruction();
        B->SetAppearance(FExtDropDown->ButtonAppearance());
        B->SetCaption(Item->Caption());
        B->SetImages(FImages);
        B->SetImageIndex(Item->ImageIndex());
        B->SetEnabled(Item->Enabled());
        if (FIsFooter) {
            B->SetExtDropDown(FExtDropDown);
            B->SetModalResult(static_cast<TFooterButton*>(Item)->ModalResult());
        }
        B->AutoSizeButton();
        int W = Item->Width() > 0 ? Item->Width() : B->Width();
        int BH = Item->Height() > 0 ? Item->Height() : B->Height();
        if (BH > H) BH = H;
        B->SetBounds(B->Left(), B->Top(), W, BH);
        B->SetTag(I);
        B->OnClick = [this](TObject* S) { ButtonClick(S); };
        FButtonList.Add(B);
    }
    ArrangeButtons();
}

void TExtPopupPanel::ArrangeButtons() {
    if (FButtonList.Count() == 0) return;
    const TRect A = ButtonArea();
    int X = AButtonAlignment() == baRight ? A.Right : A.Left;
    for (int I = 0; I < FButtonList.Count(); ++I) {
        TExtButton* B = ButtonAt(I);
        int Top = std::max(A.Top, (A.Bottom - B->Height()) / 2);
        if (AButtonAlignment() == baRight) {
            X -= B->Width();
            B->SetBounds(X, Top, B->Width(), B->Height());
        } else {
            B->SetBounds(X, Top, B->Width(), B->Height());
            X += B->Width();
        }
    }
}

void TExtPopupPanel::UpdateButtons() {
    for (int I = 0; I < FButtonList.Count(); ++I) {
        TExtButton* B = ButtonAt(I);
        if (FExtDropDown) B->SetAppearance(FExtDropDown->ButtonAppearance());
        B->SetImages(FImages);
        if (I < ButtonItemCount()) {
            THeaderButton* Item = ButtonItem(I);
            B->SetCaption(Item->Caption());
            B->SetImageIndex(Item->ImageIndex());
            B->SetEnabled(Item->Enabled());
        }
        B->AutoSizeButton();
    }
    ArrangeButtons();
}

void TExtPopupPanel::Resize() {
    TCustomControl::Resize();
    ArrangeButtons();
}

void TExtPopupPanel::ButtonClick(TObject* Sender) {
    auto* B = dynamic_cast<TExtButton*>(Sender);
    if (!B || !FExtDropDown) return;
    int Index = int(B->Tag());
    if (FIsFooter) {
        if (FExtDropDown->OnDropDownFooterButtonClick) FExtDropDown->OnDropDownFooterButtonClick(FExtDropDown, Index);
    } else if (FExtDropDown->OnDropDownHeaderButtonClick) {
        FExtDropDown->OnDropDownHeaderButtonClick(FExtDropDown, Index);
    }
}

void TExtPopupPanel::Paint() {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    if (OnDrawBackGround) {
        OnDrawBackGround(this, C, R);
        return;
    }
    if (AColorTo() == clNone) {
        if (AColor() != clNone) {
            C->Brush()->SetColor(AColor());
            C->FillRect(R);
        }
    } else {
        FillGradientBands(C, AColor(), AColorTo(), AGradientDirection() == gdHorizontal, R, 80);
    }
    const int BW = ABorderWidth();
    if (ABorderColor() != clNone && BW > 0) {
        C->Pen()->SetColor(ABorderColor());
        C->Pen()->SetWidth(BW);
        const bool NoFrame =
            !FExtDropDown || FExtDropDown->DropDownBorderWidth() <= 0 || FExtDropDown->DropDownBorderColor() == clNone;
        if (!FIsFooter) {
            C->MoveTo(R.Left, R.Bottom - 1);
            C->LineTo(R.Right, R.Bottom - 1);
            if (NoFrame) {
                C->MoveTo(R.Left, R.Bottom - 1);
                C->LineTo(R.Left, R.Top);
                C->LineTo(R.Right - 1, R.Top);
                C->LineTo(R.Right - 1, R.Bottom - 1);
            }
        } else {
            C->MoveTo(R.Left, R.Top);
            C->LineTo(R.Right, R.Top);
            if (NoFrame) {
                C->MoveTo(R.Left, R.Top);
                C->LineTo(R.Left, R.Bottom - 1);
                C->LineTo(R.Right - 1, R.Bottom - 1);
                C->LineTo(R.Right - 1, R.Top);
            }
        }
        C->Pen()->SetWidth(1);
        C->Pen()->SetColor(BlendColor(ABorderColor(), clWhite, 20));
        C->Brush()->SetStyle(bsClear);
        TRect Inner = R;
        if (FIsFooter)
            Inner.Top += BW;
        else
            Inner.Bottom -= BW;
        C->Rectangle(Inner);
        C->Brush()->SetStyle(bsSolid);
    }
    TRect Content = R;
    InflateRect(Content, -BW, -BW);
    if (AImageIndex() >= 0 && FImages) {
        FImages->Draw(C, Content.Left + 4, Content.Top + (Content.Height() - FImages->Height()) / 2, AImageIndex());
        Content.Left += FImages->Width() + 8;
    }
    QString Caption = ACaption();
    if (OnGetText) OnGetText(this, Caption);
    if (!Caption.isEmpty()) {
        if (FButtonList.Count() > 0) Content.Right = ButtonAt(FButtonList.Count() - 1)->Left() - 2;
        C->Font()->Assign(AFont());
        TSize Extent = DrawDropDownHTML(C, Caption, Content, FImages, true, true);
        if (Extent.cy < Content.Height()) Content.Top += (Content.Height() - Extent.cy) / 2;
        DrawDropDownHTML(C, Caption, Content, FImages, true);
    }
    if (SizeGripShows()) {
        TRect G = Rect(R.Right - BW - 16, 1, R.Right - BW - 1, R.Bottom);
        static constexpr TPoint White[] = {{5, -2}, {9, -2}, {13, -2}, {13, -6}, {13, -10}, {9, -6}};
        static constexpr TPoint Dark[] = {{4, -3}, {8, -3}, {12, -3}, {12, -7}, {12, -11}, {8, -7}};
        C->Brush()->SetColor(clWhite);
        for (TPoint P : White) C->FillRect(Rect(G.Left + P.X, G.Bottom + P.Y - 2, G.Left + P.X + 2, G.Bottom + P.Y));
        C->Brush()->SetColor(ABorderColor());
        for (TPoint P : Dark) C->FillRect(Rect(G.Left + P.X, G.Bottom + P.Y - 2, G.Left + P.X + 2, G.Bottom + P.Y));
    }
}

void TExtPopupPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && SizeGripShows() && Parent() && X > Width() - 12 && Y > Height() - 15) {
        SetMouseCapture(false);
        // The bottom-right sizing corner: the window system runs the resize.
        if (QWindow* W = window()->windowHandle()) W->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
    }
}

void TExtPopupPanel::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FIsFooter) return;
    if (SizeGripShows() && X > Width() - 12 && Y > Height() - 15) {
        if (Screen->Cursor() != crSizeNWSE) Screen->SetCursor(crSizeNWSE);
    } else if (Screen->Cursor() != FOldCursor) {
        Screen->SetCursor(FOldCursor);
    }
}

void TExtPopupPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FIsFooter && Screen->Cursor() != FOldCursor) Screen->SetCursor(FOldCursor);
}

void TExtPopupPanel::MouseEnter() {
    TCustomControl::MouseEnter();
    if (FIsFooter && Screen->Cursor() != crSizeNWSE) FOldCursor = Screen->Cursor();
}

void TExtPopupPanel::MouseLeave() {
    TCustomControl::MouseLeave();
    if (FIsFooter && Screen->Cursor() != FOldCursor) Screen->SetCursor(FOldCursor);
}

TExtHeader::TExtHeader(TComponent* AOwner) : TExtPopupPanel(AOwner, false), FAppearance(this) {
    FAppearance.OnChange = [this](TObject* S) { AppearanceChanged(S); };
}

THeaderButtons* TExtHeader::Buttons() const {
    return ExtDropDown() ? ExtDropDown()->DropDownHeader()->Buttons() : nullptr;
}

void TExtHeader::LinkDropDown(TExtCustomDropDown* ADropDown) {
    TExtPopupPanel::LinkDropDown(ADropDown);
    if (ADropDown) FAppearance.Assign(ADropDown->DropDownHeader());
}

int TExtHeader::ButtonItemCount() const { return Buttons() ? Buttons()->Count() : 0; }
THeaderButton* TExtHeader::ButtonItem(int Index) const { return Buttons()->Items(Index); }

TExtFooter::TExtFooter(TComponent* AOwner) : TExtPopupPanel(AOwner, true), FAppearance(this) {
    FAppearance.OnChange = [this](TObject* S) { AppearanceChanged(S); };
}

TFooterButtons* TExtFooter::Buttons() const {
    return ExtDropDown() ? ExtDropDown()->DropDownFooter()->Buttons() : nullptr;
}

void TExtFooter::LinkDropDown(TExtCustomDropDown* ADropDown) {
    TExtPopupPanel::LinkDropDown(ADropDown);
    if (ADropDown) FAppearance.Assign(ADropDown->DropDownFooter());
}

int TExtFooter::ButtonItemCount() const { return Buttons() ? Buttons()->Count() : 0; }
THeaderButton* TExtFooter::ButtonItem(int Index) const { return Buttons()->Items(Index); }

// ---- popup window ---------------------------------------------------------------------------
TDropDownForm::TDropDownForm(TComponent* AOwner) : TDropDownForm(AOwner, 0) {}

TDropDownForm::TDropDownForm(TComponent* AOwner, int Dummy) : TForm(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    (void)Dummy;
    FShadow = true;
    FCancelOnDeActivate = true;
    MakePopup();
}

TDropDownForm::~TDropDownForm() = default;

void TDropDownForm::PaintHandler() {
    FCanvas->Font()->Assign(Font());
    FCanvas->Brush()->SetColor(Color());
    FCanvas->BeginPaintOn(this);
    struct TEnd {
        TCanvas* C;
        ~TEnd() { C->EndPaint(); }
    } End{FCanvas.get()};
    Perform(WM_PAINT);
}

void TDropDownForm::MakePopup() {
    SetBorderStyle(bsNone);
    // A popup window: on top, placed at absolute screen coordinates, closed by an outside press.
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

TRect TDropDownForm::AlignRect() const {
    TRect R = ClientRect();
    int B = FExtDropDown ? FExtDropDown->DropDownBorderWidth() : 0;
    InflateRect(R, -B, -B);
    return R;
}

void TDropDownForm::InitializeAndUpdate() {
    TExtCustomDropDown* D = FExtDropDown;
    if (!D) return;
    if (FHeader) {
        FHeader->LinkDropDown(D);
        FHeader->BuildButtons();
        FHeader->SetVisible(D->DropDownHeader()->Visible());
    } else if (D->DropDownHeader()->Visible()) {
        FHeader = new TExtHeader(this);
        FHeader->SetParent(this);
        FHeader->AfterConstruction();
        FHeader->SetHeight(D->DropDownHeader()->Height());
        FHeader->LinkDropDown(D);
        FHeader->BuildButtons();
        FHeader->SetAlign(alTop);
    }
    if (FHeader) {
        FHeader->OnDrawBackGround = D->OnDrawHeader;
        FHeader->OnGetText = D->OnGetHeaderText;
        FHeader->SetHeight(FHeader->Appearance()->Height());
    }
    if (FFooter) {
        FFooter->LinkDropDown(D);
        FFooter->BuildButtons();
        FFooter->SetVisible(D->DropDownFooter()->Visible());
    } else if (D->DropDownFooter()->Visible()) {
        FFooter = new TExtFooter(this);
        FFooter->SetParent(this);
        FFooter->AfterConstruction();
        FFooter->SetHeight(D->DropDownFooter()->Height());
        FFooter->LinkDropDown(D);
        FFooter->BuildButtons();
        FFooter->SetAlign(alBottom);
    }
    if (FFooter) {
        FFooter->OnDrawBackGround = D->OnDrawFooter;
        FFooter->OnGetText = D->OnGetFooterText;
        FFooter->SetHeight(FFooter->Appearance()->Height());
    }
    AlignControls();
}

void TDropDownForm::Paint() {
    TExtCustomDropDown* D = FExtDropDown;
    if (!D) return;
    TCanvas* C = FCanvas.get();
    const int BW = D->DropDownBorderWidth();
    TRect R = ClientRect();
    InflateRect(R, -BW, -BW);
    if (D->DropDownColor() != clNone && D->DropDownColorTo() != clNone) {
        FillGradientBands(C, D->DropDownColor(), D->DropDownColorTo(), D->DropDownGradient() == gdHorizontal, R, 80);
    } else if (D->DropDownColor() != clNone) {
        C->Brush()->SetColor(D->DropDownColor());
        C->FillRect(R);
    }
    if (BW > 0 && D->DropDownBorderColor() != clNone) {
        R = ClientRect();
        R.Left += BW / 2;
        R.Top += BW / 2;
        C->Pen()->SetWidth(BW);
        C->Pen()->SetColor(D->DropDownBorderColor());
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(R);
        C->Brush()->SetStyle(bsSolid);
        C->Pen()->SetWidth(1);
    }
}

void TDropDownForm::SetBlockActivate(bool Value) {
    FBlockActivate = Value;
    if (Value || !FHiddenWhileBlocked) return;
    FHiddenWhileBlocked = false;
    if (FExtDropDown && FExtDropDown->DroppedDown()) {
        TForm::SetVisible(true);
    }
}

void TDropDownForm::Deactivated(QWidget* Target) {
    if (FBlockActivate || !isVisible()) return;
    FDeActivate = uint32_t(Clock().TickCount());
    for (QWidget* W = Target; W; W = W->parentWidget())
        if (W == this) return;
    if (FExtDropDown)
        FExtDropDown->DoHideDropDown(FCancelOnDeActivate);
    else
        Hide();
}

bool TDropDownForm::event(QEvent* E) {
    if (E->type() == QEvent::MouseButtonPress || E->type() == QEvent::MouseButtonDblClick) {
        auto* M = static_cast<QMouseEvent*>(E);
        if (!rect().contains(M->position().toPoint())) {
            // A press outside: whatever lies there is being activated.
            QPoint G = M->globalPosition().toPoint();
            QWidget* Target = QApplication::widgetAt(G);
            if (Target == this) Target = nullptr;
            QPointer<TDropDownForm> Self(this);
            TControl::Guard(this, [&] { Deactivated(Target); });
            return true;
        }
    }
    if (E->type() == QEvent::Hide && FBlockActivate && FExtDropDown && FExtDropDown->DroppedDown())
        FHiddenWhileBlocked = true;
    return TForm::event(E);
}

void TDropDownForm::closeEvent(QCloseEvent* E) {
    // The window system closes a popup when it loses the input (another window comes up): the
    // same loss of activation as an outside press.
    E->ignore();
    if (FBlockActivate) {
        FHiddenWhileBlocked = true;
        return;
    }
    TControl::Guard(this, [this] { Deactivated(nullptr); });
}

void TDropDownForm::WndProc(TMessage& M) {
    switch (M.Msg) {
        case WM_SIZING:
            TForm::WndProc(M);
            if (OnSizing) OnSizing(this);
            return;
        case WM_GETDLGCODE: M.Result = 5; return;
        case WM_NCHITTEST: {
            TPoint P = ScreenToClient(Point(GetXLParam(M.LParam), GetYLParam(M.LParam)));
            M.Result = (FSizeable && P.X > Width() - 10 && P.Y > Height() - 10) ? 17 : 0;
            return;
        }
        case WM_SIZE:
            TForm::WndProc(M);
            update();
            // The window system's resize loop (the footer's grip) sizes the popup.
            if (isVisible() && !FPlacing && OnSizing) OnSizing(this);
            return;
        default: break;
    }
    TForm::WndProc(M);
}

void TDropDownForm::KeyDown(Word& Key, TShiftState Shift) {
    TForm::KeyDown(Key, Shift);
    if (Key && OnFormKeyDown) OnFormKeyDown(this, Key, Shift);
}

void TDropDownForm::KeyUp(Word& Key, TShiftState Shift) {
    TForm::KeyUp(Key, Shift);
    if (Key && OnFormKeyUp) OnFormKeyUp(this, Key, Shift);
}

void TDropDownForm::KeyPress(QChar& Key) {
    TForm::KeyPress(Key);
    if (!Key.isNull() && OnFormKeyPress) OnFormKeyPress(this, Key);
}

bool TDropDownForm::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    bool Handled = TForm::DoMouseWheelDown(Shift, MousePos);
    if (OnFormMouseWheelDown) OnFormMouseWheelDown(this, Shift, MousePos, Handled);
    return Handled;
}

bool TDropDownForm::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    bool Handled = TForm::DoMouseWheelUp(Shift, MousePos);
    if (OnFormMouseWheelUp) OnFormMouseWheelUp(this, Shift, MousePos, Handled);
    return Handled;
}
