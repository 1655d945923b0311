// The mini-HTML hint window: measuring, placing inside the screen and painting a hint text.
#include "grid/control/HtmlHint.h"

#include "grid/base/EsgHTMLE.h"
#include "grid/base/ExtUtil.h"
#include "grid/control/ExtGrid.h"
#include "grid/control/ExtGridUnit.h"
#include "platform/gui/Messages.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <climits>

namespace {
constexpr TColor HintURLColor = TColor(0xFF0000);
bool IsWideHint(const QString& Text) { return ClassifyCellText(Text, true) == 5; }
} // namespace

THTMLHintWindow::THTMLHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void THTMLHintWindow::DrawHTML(const QString& AHint, const TRect& R, bool Measure, int& XSize, int& YSize) {
    QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
    int HyperLinks = 0, MouseLink = 0;
    TRect HoverRect, ControlRect;
    DrawHTMLText(Canvas(), AHint, R, FImages, 0, 0, -1, -1, 1, false, Measure, false, false, false, false, true, false,
                 0.0, HintURLColor, clNone, clNone, TColor(0x808080), AnchorVal, StripVal, FocusAnchor, AnchorHint,
                 XSize, YSize, HyperLinks, MouseLink, HoverRect, ControlRect, CID, CV, CT, nullptr, FPictureContainer,
                 this, bdLeftToRight);
}

TSize THTMLHintWindow::MeasureText(const QString& AHint, int W) {
    Canvas()->Font()->Assign(Font());
    if (IsWideHint(AHint)) {
        // A wide text stays on one line whatever the width.
        if (!HintFontName.isEmpty()) Canvas()->Font()->SetName(HintFontName);
        TRect R = Rect(0, 0, std::max(W, 1), 0);
        const int H = Canvas()->DrawText(DecodeWideCellText(AHint), R, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        return TSize{R.Width(), H};
    }
    int XSize = 0, YSize = 0;
    DrawHTML(AHint, Rect(0, 0, std::max(W, 1), 4096), true, XSize, YSize);
    return TSize{XSize, YSize};
}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const QString& AHint, void* AData) {
    (void)AData;
    const TSize S = MeasureText(AHint, MaxWidth);
    return Rect(0, 0, S.cx, S.cy);
}

void THTMLHintWindow::ActivateHintData(TRect R, const QString& AHint, void* AData) {
    if (auto* G = dynamic_cast<TExtStringGrid*>(static_cast<TObject*>(AData))) {
        FImages = dynamic_cast<TCustomImageList*>(G->GridImages());
        FPictureContainer = dynamic_cast<TPictureContainer*>(G->PictureContainer());
    }
    THintWindow::ActivateHintData(R, AHint, AData);
}

TRect THTMLHintWindow::ScreenAreaAt(TPoint P) {
    const QPoint Q(P.X, P.Y);
    QScreen* Best = QGuiApplication::screenAt(Q);
    if (!Best) {
        // Off every screen: the one whose area is closest.
        long long BestDist = LLONG_MAX;
        for (QScreen* S : QGuiApplication::screens()) {
            const QRect G = S->geometry();
            const long long dx = Q.x() < G.left() ? G.left() - Q.x() : Q.x() > G.right() ? Q.x() - G.right() : 0;
            const long long dy = Q.y() < G.top() ? G.top() - Q.y() : Q.y() > G.bottom() ? Q.y() - G.bottom() : 0;
            if (dx * dx + dy * dy < BestDist) {
                BestDist = dx * dx + dy * dy;
                Best = S;
            }
        }
    }
    if (!Best) Best = QGuiApplication::primaryScreen();
    if (!Best) return TRect{};
    const QRect A = Best->availableGeometry();
    return Bounds(A.x(), A.y(), A.width(), A.height());
}

TRect THTMLHintWindow::PlaceInArea(TRect R, const TRect& Area) {
    if (Area.IsEmpty()) return R;
    const int W = R.Width(), H = R.Height();
    if (R.Right > Area.Right) R.Left = Area.Right - W - 2;
    if (R.Bottom > Area.Bottom) R.Top = Area.Bottom - 2 - H;
    // A hint that would start off the left or top edge (a point left of or above the screen, or
    // a hint wider or taller than the screen) starts at that edge instead.
    R.Left = std::max(R.Left, Area.Left);
    R.Top = std::max(R.Top, Area.Top);
    R.Right = R.Left + W;
    R.Bottom = R.Top + H;
    return R;
}

void THTMLHintWindow::ActivateHint(TRect R, const QString& AHint) {
    SetCaption(AHint);
    const bool Wide = IsWideHint(AHint);
    const int HMargin = Wide ? 8 : 16;
    const TSize S = MeasureText(AHint, MeasureWidth);
    FWideCaption = Wide ? DecodeWideCellText(AHint) : QString();
    FTextWidth = S.cx;
    FTextHeight = S.cy;
    R.Right = R.Left + S.cx + HMargin;
    R.Bottom = R.Top + S.cy + 4;
    R = PlaceInArea(R, ScreenAreaAt(TPoint{R.Left, R.Top}));
    setGeometry(R.Left, R.Top, R.Width(), R.Height());
    SetVisible(true); // a top window: the platform flag only, shown below
    QWidget::setVisible(true);
    raise();
    Invalidate();
}

void THTMLHintWindow::WndProc(TMessage& Message) {
    if (Message.Msg == CM_TEXTCHANGED) Invalidate();
    THintWindow::WndProc(Message);
}

void THTMLHintWindow::Paint() {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(R);
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(cl3DLight);
    C->MoveTo(R.Left, R.Bottom - 2);
    C->LineTo(R.Left, R.Top);
    C->LineTo(R.Right - 1, R.Top);
    C->Pen()->SetColor(cl3DDkShadow);
    C->MoveTo(R.Left, R.Bottom - 1);
    C->LineTo(R.Right - 1, R.Bottom - 1);
    C->LineTo(R.Right - 1, R.Top - 1);

    TRect T = R;
    T.Left += 4;
    T.Right -= 4;
    T.Top = R.Top + (R.Height() - FTextHeight) / 2;
    T.Bottom = T.Top + FTextHeight + 8;
    C->Brush()->SetStyle(bsClear);
    C->Font()->Assign(Font());
    const QString Text = Caption();
    if (IsWideHint(Text)) {
        if (!HintFontName.isEmpty()) C->Font()->SetName(HintFontName);
        C->DrawText(FWideCaption, T, DT_NOPREFIX | DT_SINGLELINE);
    } else {
        int XSize = 0, YSize = 0;
        DrawHTML(Text, T, false, XSize, YSize);
    }
}
