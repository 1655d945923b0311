// The floating footer's settings and the strip that paints it.
#include "grid/control/GridFooter.h"

#include "grid/base/EsgHTMLE.h"
#include "grid/control/ExtGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"

#include <algorithm>

// ---- TFloatingFooter -------------------------------------------------------------------------------
TFloatingFooter::TFloatingFooter(TExtStringGrid* AOwner) : FGrid(AOwner) {}

void TFloatingFooter::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TFloatingFooter*>(Source);
    if (!S || S == this) return;
    FCalculateHiddenRows = S->FCalculateHiddenRows;
    SetColor(S->FColor);
    SetColumn(S->FColumn);
    SetCustomTemplate(S->FCustomTemplate);
    SetFooterStyle(S->FFooterStyle);
    SetVisible(S->FVisible);
    SetShowHint(S->FShowHint);
}

void TFloatingFooter::ApplyToGrid(bool RecountFooters) {
    if (!FGrid) return;
    const bool Covers = FVisible && FFooterStyle == fsFixedLastRow;
    if (RecountFooters) FGrid->SetFixedFooters(Covers ? 1 : 0);
    FGrid->SetHideLastRow(Covers);
    FGrid->Invalidate();
}

void TFloatingFooter::SetVisible(bool Value) {
    FVisible = Value;
    if (FGrid && FGrid->FooterPanel()) {
        TFooterPanel* P = FGrid->FooterPanel();
        P->SetHeight(Value ? std::max(FHeight - 1, 0) : 0);
        P->SetVisible(Value);
    }
    ApplyToGrid(true);
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value) {
    FFooterStyle = Value;
    // The style decides whether the last row is the footer row, so a shown footer counts its
    // fixed footer row anew; a hidden one leaves the grid's own count alone.
    ApplyToGrid(FVisible);
    Invalidate();
}

void TFloatingFooter::SetHeight(int Value) {
    FHeight = Value;
    if (Value > 0 && FVisible && FGrid && FGrid->FooterPanel()) FGrid->FooterPanel()->SetHeight(Value - 1);
}

void TFloatingFooter::SetColor(TColor Value) {
    FColor = Value;
    Invalidate();
}

void TFloatingFooter::SetColumn(int Value) {
    FColumn = Value;
    Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const QString& Value) {
    FCustomTemplate = Value;
    Invalidate();
}

void TFloatingFooter::SetShowHint(bool Value) {
    FShowHint = Value;
    if (FGrid && FGrid->FooterPanel()) FGrid->FooterPanel()->SetShowHint(Value);
}

void TFloatingFooter::SetBorderColor(TColor Value) {
    if (Value == FBorderColor) return;
    FBorderColor = Value;
    Invalidate();
}

void TFloatingFooter::Invalidate() {
    if (FGrid && FGrid->FooterPanel()) FGrid->FooterPanel()->Invalidate();
}

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType Value) {
    if (!FGrid || FGrid->RowCount() < 1) return;
    FGrid->GetCellProperties(ACol, FGrid->RowCount() - 1)->SetCalcType(Value);
    FGrid->CalcFooter(ACol);
}

TColumnCalcType TFloatingFooter::GetColumnCalc(int ACol) {
    if (!FGrid || FGrid->RowCount() < 1 || !FGrid->HasCellProperties(ACol, FGrid->RowCount() - 1)) return acNONE;
    return FGrid->GetCellProperties(ACol, FGrid->RowCount() - 1)->CalcType();
}

// ---- TFooterPanel ----------------------------------------------------------------------------------
TFooterPanel::TFooterPanel(TExtStringGrid* AOwner) : TPanel(AOwner), FGrid(AOwner) { SetBevelOuter(bvNone); }

void TFooterPanel::CreateWnd() {
    TFloatingFooter* F = FGrid->FloatingFooter();
    SetHeight(F->Visible() ? std::max(F->Height() - 1, 0) : 0);
    SetShowHint(F->ShowHint());
    if (FGrid->OnCreatedFloatingFooter) FGrid->OnCreatedFloatingFooter(this);
}

bool TFooterPanel::RightToLeft() const { return FGrid->layoutDirection() == Qt::RightToLeft; }

TRect TFooterPanel::Mirror(TRect R) const {
    if (!RightToLeft()) return R;
    const int W = ClientWidth();
    return Rect(W - R.Right, R.Top, W - R.Left, R.Bottom);
}

int TFooterPanel::UsedWidth() const {
    int W = 0;
    for (int c = 0; c < FGrid->FixedCols(); ++c) W += FGrid->ColWidths(c);
    for (int c = FGrid->LeftCol(); c < FGrid->ColCount(); ++c) W += FGrid->ColWidths(c);
    return W;
}

bool TFooterPanel::ColumnAt(int X, int& DisplCol) const {
    if (RightToLeft()) X = ClientWidth() - X;
    int Sum = 0;
    for (int c = 0; c < FGrid->FixedCols() && Sum < X; ++c) Sum += FGrid->ColWidths(c);
    int Found = FGrid->LeftCol() - 1;
    for (int c = FGrid->LeftCol(); Sum < X; ++c) {
        if (c >= FGrid->ColCount()) return false;
        Sum += FGrid->ColWidths(c);
        Found = c;
    }
    DisplCol = Found;
    return true;
}

QString TFooterPanel::ExpandTemplate(const QString& Template) const {
    QString Result;
    int Pos = 0;
    while (true) {
        const int Open = Template.indexOf(QStringLiteral("<#"), Pos);
        if (Open < 0) break;
        const int Close = Template.indexOf(QLatin1Char('>'), Open + 2);
        Result += Template.mid(Pos, Open - Pos);
        if (Close < 0) {
            // An unclosed placeholder is no placeholder: the rest stays as written.
            Pos = Open;
            break;
        }
        bool Ok = false;
        const int n = Template.mid(Open + 2, Close - Open - 2).trimmed().toInt(&Ok, 10);
        if (Ok && n >= 0 && n < FGrid->ColCount() && FGrid->Row() >= 0 && FGrid->Row() < FGrid->RowCount())
            Result += FGrid->GetCellEx(FGrid->RealColIndex(n), FGrid->Row());
        Pos = Close + 1;
    }
    Result += Template.mid(Pos);
    return Result;
}

void TFooterPanel::PaintFrame(TCanvas* C, int W) {
    const TRect R = Mirror(Rect(0, 0, W, ClientHeight()));
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FGrid->FloatingFooter()->Color());
    C->FillRect(R);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(TColor(0x808080));
    C->MoveTo(R.Left, R.Bottom - 1);
    C->LineTo(R.Right - 1, R.Bottom - 1);
    C->LineTo(R.Right - 1, R.Top - 1);
    C->Pen()->SetColor(TColor(0xFFFFFF));
    C->MoveTo(R.Left, R.Bottom - 1);
    C->LineTo(R.Left, R.Top);
    C->LineTo(R.Right - 1, R.Top);
}

void TFooterPanel::PaintGridCell(TCanvas* C, int DisplCol, int DisplRow, const TRect& R, bool Fixed) {
    if (R.Width() <= 0 || R.Height() <= 0) return;
    // The grid keeps a scrolled cell out of its own fixed area, which is where the strip's
    // rectangles lie: the cell is drawn beyond that area on a bitmap and copied.
    const int D = FGrid->FixedColsWidth(), E = FGrid->FixedRowsHeight();
    TBitmap B;
    B.SetSize(D + R.Width(), E + R.Height());
    const TRect At = Rect(D, E, D + R.Width(), E + R.Height());
    B.Canvas()->CopyRect(At, C, R);
    const TGridDrawState State = Fixed ? TGridDrawState{gdFixed} : TGridDrawState{};
    // Background and lines, then the content inside them, as the grid paints its own cells.
    FGrid->PaintCellExt(B.Canvas(), DisplCol, DisplRow, At, State);
    TRect Inner = At;
    if (Fixed) {
        Inner.Right -= 1;
        Inner.Bottom -= 2;
    } else {
        InflateRect(Inner, -FGrid->GridLineWidth(), -FGrid->GridLineWidth());
    }
    FGrid->DrawGridCell(B.Canvas(), DisplCol, DisplRow, Inner, State);
    C->CopyRect(R, B.Canvas(), At);
}

void TFooterPanel::PaintFixedLastRow(TCanvas* C, int W) {
    TExtStringGrid* G = FGrid;
    const int LastRow = G->RowCount() - 1;
    const bool VertLine = G->Options().Contains(goFixedVertLine);
    const bool HorzLine = G->Options().Contains(goFixedHorzLine);
    // The grid hides its last row while the strip shows it: drawn here, it must not be blank.
    const bool WasHidden = G->HideLastRow();
    G->SetHideLastRow(false);
    struct Restore {
        TExtStringGrid* G;
        bool V;
        ~Restore() { G->SetHideLastRow(V); }
    } RestoreHidden{G, WasHidden};

    int X = 0;
    auto PaintColumn = [&](int DisplCol) {
        const int CW = G->ColWidths(DisplCol);
        TRect R = Rect(X, HorzLine ? 1 : 0, X + CW, ClientHeight());
        X += CW;
        const TRect M = Mirror(R);
        const int RealCol = G->RealColIndex(DisplCol);
        if (G->OnGetCellColor) {
            TBrush B;
            B.SetColor(clNone);
            TFont F;
            F.Assign(G->Font());
            G->OnGetCellColor(G, LastRow, RealCol, TGridDrawState{gdFixed}, &B, &F);
            if (B.Color() != clNone) {
                C->Brush()->SetStyle(bsSolid);
                C->Brush()->SetColor(B.Color());
                C->FillRect(M);
            }
        }
        const TColor Own = G->Colors(RealCol, LastRow);
        if (Own != clNone) {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(Own);
            C->FillRect(M);
        }
        const TPoint Base = G->BaseCell(DisplCol, LastRow);
        if (Base.X == DisplCol && Base.Y == LastRow) {
            if (G->OnFooterPaint)
                G->OnFooterPaint(this, DisplCol, C, M);
            else
                PaintGridCell(C, DisplCol, LastRow, M);
        }
        // The column edges as the grid draws its fixed cells.
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetWidth(1);
        C->Pen()->SetColor(G->GridFixedLineColor());
        if (VertLine) {
            C->MoveTo(M.Right - 1, 0);
            C->LineTo(M.Right - 1, ClientHeight());
        }
        if (HorzLine) {
            C->MoveTo(M.Left, 0);
            C->LineTo(M.Right, 0);
        }
    };
    for (int c = 0; c < G->FixedCols(); ++c) PaintColumn(c);
    for (int c = G->LeftCol(); c < G->ColCount() && X < W; ++c) PaintColumn(c);
}

void TFooterPanel::Paint() {
    TCanvas* C = Canvas();
    TExtStringGrid* G = FGrid;
    TFloatingFooter* F = G->FloatingFooter();
    const int W = UsedWidth();
    const TRect Rest = Mirror(Rect(W, 0, std::max(W, ClientWidth()), ClientHeight()));
    auto FillRest = [&] {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(G->Color());
        C->FillRect(Rest);
    };
    int PaintedWidth = W;
    switch (F->FooterStyle()) {
        case fsFixedLastRow:
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(F->Color());
            C->FillRect(Mirror(Rect(0, 0, W, ClientHeight())));
            FillRest();
            if (G->RowCount() > 0) PaintFixedLastRow(C, W);
            break;
        case fsColumnPreview: {
            PaintFrame(C, W);
            const TRect R = Mirror(Rect(0, 0, W, ClientHeight()));
            if (G->OnFooterPaint) {
                G->OnFooterPaint(this, F->Column(), C, R);
            } else if (F->Column() >= 0 && F->Column() < G->ColCount() && G->Row() >= 0 && G->Row() < G->RowCount()) {
                const TColor Sel = G->SelectionTextColor();
                G->SetSelectionTextColor(clBlack);
                PaintGridCell(C, F->Column(), G->Row(), R, false);
                G->SetSelectionTextColor(Sel);
            }
            FillRest();
            break;
        }
        case fsCustomPreview: {
            PaintFrame(C, W);
            TRect R = Mirror(Rect(0, 2, W, ClientHeight()));
            C->Font()->Assign(G->Font());
            C->Brush()->SetStyle(bsClear);
            if (G->IsDesigning()) {
                C->DrawText(F->CustomTemplate(), R, DT_LEFT | DT_NOPREFIX);
            } else {
                QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
                int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
                TRect HoverRect, ControlRect;
                DrawHTMLText(C, ExpandTemplate(F->CustomTemplate()), R,
                             dynamic_cast<TCustomImageList*>(G->GridImages()), 0, 0, -1, -1, 1, false, false, false,
                             false, false, false, true, false, 0.0, G->URLColor(), clNone, clNone, TColor(0x808080),
                             AnchorVal, StripVal, FocusAnchor, AnchorHint, XSize, YSize, HyperLinks, MouseLink,
                             HoverRect, ControlRect, CID, CV, CT, nullptr,
                             dynamic_cast<TPictureContainer*>(G->PictureContainer()), this, bdLeftToRight);
            }
            FillRest();
            break;
        }
        case fsCustomPaint:
            PaintedWidth = ClientWidth();
            if (G->OnFooterPaint) G->OnFooterPaint(this, F->Column(), C, ClientRect());
            break;
    }
    if (F->BorderColor() != clNone) {
        const TRect Line = Mirror(Rect(0, 0, PaintedWidth, 1));
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetWidth(1);
        C->Pen()->SetColor(F->BorderColor());
        C->MoveTo(Line.Left, 0);
        C->LineTo(Line.Right, 0);
    }
}

void TFooterPanel::WndProc(TMessage& Message) {
    if (Message.Msg == CM_HINTSHOW) {
        auto* Info = reinterpret_cast<THintInfo*>(Message.LParam);
        TFloatingFooter* F = FGrid->FloatingFooter();
        int ACol = -1;
        if (Info && ColumnAt(Info->CursorPos.X, ACol)) {
            if (FGrid->OnGridHint) FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, ACol, Info->HintStr);
            FLastHintX = F->ShowHint() ? ACol : -1;
        }
        Message.Result = F->ShowHint() ? 0 : 1;
        return;
    }
    TPanel::WndProc(Message);
}

void TFooterPanel::MouseMove(TShiftState Shift, int X, int Y) {
    TPanel::MouseMove(Shift, X, Y);
    int ACol = -1;
    const bool Over = ColumnAt(X, ACol);
    if (!FGrid->FloatingFooter()->ShowHint() || FLastHintX < 0) return;
    if (!Over) ACol = -1;
    if (ACol != FLastHintX) {
        if (Application) Application->CancelHint();
        FLastHintX = ACol;
    }
}

void TFooterPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPanel::MouseUp(Button, Shift, X, Y);
    if (FGrid->OnClick) FGrid->OnClick(FGrid);
    int ACol = -1;
    if (ColumnAt(X, ACol) && FGrid->OnClickCell) FGrid->OnClickCell(FGrid, FGrid->RowCount() - 1, ACol);
}

void TFooterPanel::MouseLeave() {
    TPanel::MouseLeave();
    FLastHintX = -1;
}
