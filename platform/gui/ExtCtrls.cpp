#include "platform/gui/ExtCtrls.h"

#include "platform/gui/ImgList.h"
#include "platform/rtl/StateScope.h"

#include <QScrollBar>

#include <algorithm>

// ---- TPanel -----------------------------------------------------------------------------------
TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 185, 41); }

void TPanel::Changed() {
    AlignControls();
    update();
}

TRect TPanel::AlignRect() const {
    TRect R = ClientRect();
    int Inset = FBorderWidth;
    if (FBevelOuter != bvNone) Inset += FBevelWidth;
    if (FBevelInner != bvNone) Inset += FBevelWidth;
    if (FBorderStyle == bsSingle) Inset += 1;
    InflateRect(R, -Inset, -Inset);
    return R;
}

void TPanel::Paint() {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
    if (FBorderStyle == bsSingle) Frame3D(C, R, clWindowFrame, clWindowFrame, 1);
    auto Bevel = [&](TBevelCut Cut) {
        if (Cut == bvNone) return;
        TColor Top = Cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor Bottom = Cut == bvLowered ? clBtnHighlight : clBtnShadow;
        if (Cut == bvSpace) Top = Bottom = Color();
        Frame3D(C, R, Top, Bottom, FBevelWidth);
    };
    Bevel(FBevelOuter);
    InflateRect(R, -FBorderWidth, -FBorderWidth);
    Bevel(FBevelInner);
    if (!FShowCaption || Caption().isEmpty()) return;
    unsigned F = DT_SINGLELINE | DT_EXPANDTABS;
    F |= FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;
    F |= FVerticalAlignment == taAlignTop ? DT_TOP : FVerticalAlignment == taAlignBottom ? DT_BOTTOM : DT_VCENTER;
    C->Brush()->SetStyle(bsClear);
    C->Font()->Assign(Font());
    C->DrawText(Caption(), R, F);
}

// ---- TShape -----------------------------------------------------------------------------------
TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {
    FPen.OnChange = [this](TObject*) { update(); };
    FBrush.OnChange = [this](TObject*) { update(); };
    SetBounds(0, 0, 65, 65);
}

void TShape::Paint() {
    TCanvas* C = Canvas();
    C->SetPen(&FPen);
    C->SetBrush(&FBrush);
    int PW = FPen.Style() == psClear ? 0 : FPen.Width();
    int X = PW / 2, Y = X;
    int W = Width() - PW + 1, H = Height() - PW + 1;
    if (PW == 0) {
        --W;
        --H;
    }
    int S = std::min(W, H);
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        X += (W - S) / 2;
        Y += (H - S) / 2;
        W = S;
        H = S;
    }
    switch (FShape) {
        case stRectangle:
        case stSquare: C->Rectangle(X, Y, X + W, Y + H); break;
        case stRoundRect:
        case stRoundSquare: C->RoundRect(X, Y, X + W, Y + H, S / 4, S / 4); break;
        case stEllipse:
        case stCircle: C->Ellipse(X, Y, X + W, Y + H); break;
    }
}

// ---- TImage -----------------------------------------------------------------------------------
TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    FPicture.OnChange = [this](TObject*) { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

void TImage::SetTransparent(bool Value) {
    FTransparent = Value;
    if (FPicture.Graphic()) FPicture.Graphic()->SetTransparent(Value);
    update();
}

void TImage::SetAutoSize(bool Value) {
    FAutoSize = Value;
    PictureChanged();
}

void TImage::PictureChanged() {
    if (FPicture.Graphic() && FTransparent) FPicture.Graphic()->SetTransparent(true);
    if (FAutoSize && FPicture.Width() > 0 && FPicture.Height() > 0)
        SetBounds(Left(), Top(), FPicture.Width(), FPicture.Height());
    update();
}

TRect TImage::DestRect() const {
    int W = FPicture.Width(), H = FPicture.Height();
    int CW = Width(), CH = Height();
    if (FStretch || (FProportional && (W > CW || H > CH))) {
        if (FProportional && W > 0 && H > 0) {
            double XY = double(W) / H;
            if (CW / XY <= CH) {
                W = CW;
                H = int(CW / XY);
            } else {
                H = CH;
                W = int(CH * XY);
            }
        } else {
            W = CW;
            H = CH;
        }
    }
    TRect R = Rect(0, 0, W, H);
    if (FCenter) OffsetRect(R, (CW - W) / 2, (CH - H) / 2);
    return R;
}

void TImage::Paint() {
    TGraphic* G = FPicture.Graphic();
    if (!G || G->Empty()) return;
    TRect R = DestRect();
    Canvas()->StretchDraw(R, G);
}

// ---- TCategoryPanel ---------------------------------------------------------------------------
TCategoryPanel::TCategoryPanel(TComponent* AOwner) : TCustomControl(AOwner), FSurface(new QWidget(this)) {
    SetBounds(0, 0, 200, 200);
    PlaceSurface();
}

TCategoryPanel::~TCategoryPanel() { Destroying(); }

TCategoryPanelGroup* TCategoryPanel::PanelGroup() const { return dynamic_cast<TCategoryPanelGroup*>(Parent()); }

int TCategoryPanel::HeaderHeight() const {
    TCategoryPanelGroup* G = PanelGroup();
    return G ? G->HeaderHeight() : 24;
}

int TCategoryPanel::ClientHeight() const { return std::max(0, Height() - HeaderHeight()); }

void TCategoryPanel::PlaceSurface() {
    int H = HeaderHeight();
    FSurface->setGeometry(0, H, width(), std::max(0, height() - H));
}

void TCategoryPanel::resizeEvent(QResizeEvent* E) {
    PlaceSurface();
    TCustomControl::resizeEvent(E);
}

void TCategoryPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FCollapsed) {
        FExpandedHeight = std::max(0, AHeight);
        AHeight = HeaderHeight();
    } else {
        FExpandedHeight = std::max(0, AHeight);
    }
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceSurface();
    if (TCategoryPanelGroup* G = PanelGroup()) G->Restack(this);
}

void TCategoryPanel::SetVisible(bool Value) {
    bool Was = Visible();
    TCustomControl::SetVisible(Value);
    if (Was != Value)
        if (TCategoryPanelGroup* G = PanelGroup()) G->Restack(this);
}

void TCategoryPanel::SetParent(TWinControl* AParent) {
    TCustomControl::SetParent(AParent);
    PlaceSurface();
    if (TCategoryPanelGroup* G = PanelGroup()) G->Restack(this);
}

void TCategoryPanel::SetCollapsed(bool Value) {
    if (FCollapsed == Value) return;
    int Full = FExpandedHeight;
    FCollapsed = Value;
    TCustomControl::SetBounds(Left(), Top(), Width(), Value ? HeaderHeight() : Full);
    FExpandedHeight = Full;
    PlaceSurface();
    if (TCategoryPanelGroup* G = PanelGroup()) G->Restack();
    update();
    if (Value && OnCollapse) OnCollapse(this);
    if (!Value && OnExpand) OnExpand(this);
}

void TCategoryPanel::Paint() {
    TCanvas* C = Canvas();
    TCategoryPanelGroup* G = PanelGroup();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(ClientRect());
    TRect H = HeaderRect();
    // The header: a vertical gradient from the base colour, a shadow line at its foot.
    QColor From = QColor::fromRgb(QRgb(ColorToRGB(G ? G->GradientBaseColor() : TColor(0xF0F0F0))));
    QColor To = QColor::fromRgb(QRgb(ColorToRGB(G ? G->GradientColor() : TColor(0xE0E0E0))));
    int Rows = std::max(1, H.Height() - 1);
    for (int Y = 0; Y < Rows; ++Y) {
        auto Mix = [&](int A, int B) { return A + (B - A) * Y / std::max(1, Rows - 1); };
        // QColor reads red first; TColor keeps red in the low byte.
        C->Brush()->SetColor(
            RGB(Mix(From.blue(), To.blue()), Mix(From.green(), To.green()), Mix(From.red(), To.red())));
        C->FillRect(Rect(0, Y, H.Right, Y + 1));
    }
    C->Brush()->SetColor(clBtnShadow);
    C->FillRect(Rect(0, H.Bottom - 1, H.Right, H.Bottom));
    int X = 4;
    if (G && G->Images()) {
        int Index = FCollapsed ? G->CollapsedImageIndex() : G->ExpandedImageIndex();
        if (Index >= 0 && Index < G->Images()->Count()) {
            G->Images()->Draw(C, X, (H.Height() - G->Images()->Height()) / 2, Index);
            X += G->Images()->Width() + 4;
        }
    }
    // The chevron at the right: two strokes pointing up (collapses) or down (expands).
    TColor Chevron = G ? (FHot ? G->ChevronHotColor() : G->ChevronColor()) : clBlack;
    int CX = H.Right - 14, CY = H.Height() / 2;
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(Chevron);
    for (int K = 0; K < 2; ++K) {
        int Y0 = CY - 4 + K * 4;
        int Dir = FCollapsed ? 1 : -1; // a collapsed panel's chevron points down
        int Tip = Dir > 0 ? Y0 + 3 : Y0;
        int Base = Dir > 0 ? Y0 : Y0 + 3;
        C->MoveTo(CX - 4, Base);
        C->LineTo(CX, Tip);
        C->LineTo(CX + 5, Base - (Dir > 0 ? 1 : -1));
    }
    if (!Caption().isEmpty()) {
        C->Brush()->SetStyle(bsClear);
        if (G)
            C->Font()->Assign(G->HeaderFont());
        else
            C->Font()->Assign(Font());
        TRect T = Rect(X, 0, CX - 8, H.Bottom - 1);
        C->DrawText(Caption(), T, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
}

void TCategoryPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Y >= 0 && Y < HeaderHeight()) SetCollapsed(!FCollapsed);
}

void TCategoryPanel::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    bool Hot = Y >= 0 && Y < HeaderHeight();
    if (Hot != FHot) {
        FHot = Hot;
        update(HeaderRect().Left, 0, Width(), HeaderHeight());
    }
}

void TCategoryPanel::MouseLeave() {
    TCustomControl::MouseLeave();
    if (FHot) {
        FHot = false;
        update();
    }
}

// ---- TCategoryPanelGroup ----------------------------------------------------------------------
TCategoryPanelGroup::TCategoryPanelGroup(TComponent* AOwner)
    : TCustomControl(AOwner), FBar(new QScrollBar(Qt::Vertical, this)) {
    FHeaderFont.OnChange = [this](TObject*) { RepaintPanels(); };
    FBar->hide();
    FBar->setFocusPolicy(Qt::NoFocus);
    FBar->setSingleStep(LineIncrement);
    FBar->setTracking(true);
    QObject::connect(FBar, &QScrollBar::valueChanged, FBar, [this](int V) {
        if (!FStacking) TControl::Guard(this, [&] { SetScrollPos(V); });
    });
    SetBounds(0, 0, 200, 400);
}

TCategoryPanelGroup::~TCategoryPanelGroup() {
    Destroying();
    if (FImages) FImages->RemoveFreeNotification(this);
}

void TCategoryPanelGroup::SetHeaderHeight(int Value) {
    Value = std::max(0, Value);
    if (Value == FHeaderHeight) return;
    FHeaderHeight = Value;
    for (int I = 0; I < PanelCount(); ++I) {
        TCategoryPanel* P = Panels(I);
        if (P->Collapsed()) P->TCustomControl::SetBounds(P->Left(), P->Top(), P->Width(), Value);
        P->PlaceSurface();
        P->AlignControls();
    }
    Restack();
    RepaintPanels();
}

void TCategoryPanelGroup::SetImages(TCustomImageList* Value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    RepaintPanels();
}

void TCategoryPanelGroup::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

int TCategoryPanelGroup::PanelCount() const {
    int N = 0;
    for (int I = 0; I < ControlCount(); ++I)
        if (dynamic_cast<TCategoryPanel*>(Controls(I))) ++N;
    return N;
}

TCategoryPanel* TCategoryPanelGroup::Panels(int Index) const {
    int N = 0;
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* P = dynamic_cast<TCategoryPanel*>(Controls(I)))
            if (N++ == Index) return P;
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TCategoryPanelGroup::CollapseAll() {
    for (int I = 0; I < PanelCount(); ++I) Panels(I)->Collapse();
}

void TCategoryPanelGroup::ExpandAll() {
    for (int I = 0; I < PanelCount(); ++I) Panels(I)->Expand();
}

bool TCategoryPanelGroup::ScrollBarVisible() const { return !FBar->isHidden(); }

void TCategoryPanelGroup::SetScrollPos(int Value) {
    Value = std::clamp(Value, 0, ScrollRange());
    if (Value == FScrollPos) return;
    FScrollPos = Value;
    Restack();
}

void TCategoryPanelGroup::Restack(TCategoryPanel* Moved) {
    if (FStacking || ComponentState().Contains(csDestroying)) return;
    const TStateScope<bool> Stacking(FStacking, true);
    std::vector<TCategoryPanel*> List;
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* P = dynamic_cast<TCategoryPanel*>(Controls(I)))
            if (P->Visible() && !P->ComponentState().Contains(csDestroying)) List.push_back(P);
    std::stable_sort(List.begin(), List.end(), [Moved](TCategoryPanel* A, TCategoryPanel* B) {
        if (A->Top() != B->Top()) return A->Top() < B->Top();
        return A == Moved && B != Moved;
    });
    FStackHeight = 0;
    for (TCategoryPanel* P : List) FStackHeight += P->Height();
    FScrollPos = std::clamp(FScrollPos, 0, ScrollRange());
    bool Bar = FStackHeight > ClientHeight();
    int BarWidth = FBar->sizeHint().width();
    int W = std::max(0, ClientWidth() - (Bar ? BarWidth : 0));
    int Y = -FScrollPos;
    for (TCategoryPanel* P : List) {
        P->TCustomControl::SetBounds(0, Y, W, P->Height());
        P->PlaceSurface();
        Y += P->Height();
    }
    FBar->setGeometry(ClientWidth() - BarWidth, 0, BarWidth, ClientHeight());
    FBar->setRange(0, ScrollRange());
    FBar->setPageStep(std::max(1, ClientHeight()));
    FBar->setValue(FScrollPos);
    FBar->setVisible(Bar);
    FBar->raise();
}

void TCategoryPanelGroup::WndProc(TMessage& M) {
    if (M.Msg == WM_VSCROLL) {
        switch (LoWord(M.WParam)) {
            case SB_LINEUP: SetScrollPos(FScrollPos - LineIncrement); break;
            case SB_LINEDOWN: SetScrollPos(FScrollPos + LineIncrement); break;
            case SB_PAGEUP: SetScrollPos(FScrollPos - ClientHeight()); break;
            case SB_PAGEDOWN: SetScrollPos(FScrollPos + ClientHeight()); break;
            case SB_THUMBPOSITION:
            case SB_THUMBTRACK: SetScrollPos(int(int16_t(HiWord(M.WParam)))); break;
            case SB_TOP: SetScrollPos(0); break;
            case SB_BOTTOM: SetScrollPos(ScrollRange()); break;
            default: break; // SB_ENDSCROLL: the scroll is over, nothing to move
        }
        M.Result = 0;
        return;
    }
    TCustomControl::WndProc(M);
}

void TCategoryPanelGroup::Paint() {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(ClientRect());
}

void TCategoryPanelGroup::resizeEvent(QResizeEvent* E) {
    TCustomControl::resizeEvent(E);
    Restack();
}

void TCategoryPanelGroup::RepaintPanels() {
    for (int I = 0; I < PanelCount(); ++I) Panels(I)->update();
}
