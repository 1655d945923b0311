#include "grid/control/GridBalloon.h"

#include <algorithm>

namespace {

constexpr int Margin = 6;
constexpr int IconSize = 16;
constexpr int MaxBalloonWidth = 300;

TColor IconColor(int Icon) {
    switch (Icon) {
        case 1: return TColor(0xD77800); // blue
        case 2: return TColor(0x00B4F0); // amber
        case 3: return TColor(0x2020D0); // red
        default: return clNone;
    }
}

QString IconMark(int Icon) {
    switch (Icon) {
        case 1: return QStringLiteral("i");
        case 2: return QStringLiteral("!");
        case 3: return QStringLiteral("x");
        default: return QString();
    }
}

} // namespace

TGridBalloonWindow::TGridBalloonWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void TGridBalloonWindow::SetBalloon(const QString& Title, const QString& Text, int Icon) {
    FTitle = Title;
    FText = Text;
    FIcon = Icon >= 0 && Icon <= 3 ? Icon : 0;
    SetCaption(Text);
    update();
}

TRect TGridBalloonWindow::BalloonRect(int MaxWidth) {
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    const int HasIcon = FIcon > 0 ? IconSize + 4 : 0;
    int W = 0, H = 0;
    if (!FTitle.trimmed().isEmpty() || HasIcon) {
        C->Font()->SetStyle(TFontStyles{fsBold});
        W = HasIcon + C->TextWidth(FTitle);
        H = std::max(C->TextHeight(QStringLiteral("gh")), HasIcon ? IconSize : 0) + 4;
        C->Font()->SetStyle(TFontStyles{});
    }
    if (!FText.isEmpty()) {
        TRect T = Rect(0, 0, std::max(40, MaxWidth - 2 * Margin), 0);
        C->DrawText(FText, T, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        W = std::max(W, T.Width());
        H += T.Height();
    }
    return Rect(0, 0, W + 2 * Margin, H + 2 * Margin);
}

void TGridBalloonWindow::ShowAt(TPoint Screen) {
    TRect R = BalloonRect(MaxBalloonWidth);
    OffsetRect(R, Screen.X, Screen.Y);
    ActivateHint(R, FText);
}

void TGridBalloonWindow::PaintTo(TCanvas* C, int X, int Y) {
    const TRect Size = BalloonRect(MaxBalloonWidth);
    TRect R = Size;
    OffsetRect(R, X, Y);
    C->Font()->Assign(Font());
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->Pen()->SetColor(clGray);
    C->Pen()->SetWidth(1);
    C->RoundRect(R.Left, R.Top, R.Right, R.Bottom, 8, 8);
    int Left = R.Left + Margin;
    int Top = R.Top + Margin;
    int LineH = 0;
    if (FIcon > 0) {
        C->Brush()->SetColor(IconColor(FIcon));
        C->Pen()->SetColor(IconColor(FIcon));
        C->Ellipse(Left, Top, Left + IconSize, Top + IconSize);
        C->Font()->SetColor(clWhite);
        C->Font()->SetStyle(TFontStyles{fsBold});
        C->Brush()->SetStyle(bsClear);
        const QString M = IconMark(FIcon);
        C->TextOut(Left + (IconSize - C->TextWidth(M)) / 2, Top + (IconSize - C->TextHeight(M)) / 2, M);
        Left += IconSize + 4;
        LineH = IconSize;
    }
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(Font()->Color());
    if (!FTitle.trimmed().isEmpty() || FIcon > 0) {
        C->Font()->SetStyle(TFontStyles{fsBold});
        C->TextOut(Left, Top + std::max(0, LineH - C->TextHeight(FTitle)) / 2, FTitle);
        LineH = std::max(LineH, C->TextHeight(QStringLiteral("gh")));
        Top += LineH + 4;
    }
    C->Font()->SetStyle(TFontStyles{});
    if (!FText.isEmpty()) {
        TRect T = Rect(R.Left + Margin, Top, R.Right - Margin, R.Bottom - Margin);
        C->DrawText(FText, T, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }
}

void TGridBalloonWindow::Paint() { PaintTo(Canvas(), 0, 0); }
