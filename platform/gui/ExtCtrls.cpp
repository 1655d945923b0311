#include "platform/gui/ExtCtrls.h"

#include <algorithm>

// ---- TPanel -----------------------------------------------------------------------------------
TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 185, 41);
}

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
    case stRectangle: case stSquare: C->Rectangle(X, Y, X + W, Y + H); break;
    case stRoundRect: case stRoundSquare: C->RoundRect(X, Y, X + W, Y + H, S / 4, S / 4); break;
    case stEllipse: case stCircle: C->Ellipse(X, Y, X + W, Y + H); break;
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
