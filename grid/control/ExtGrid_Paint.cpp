// How the string grid paints itself: the control (Paint), the frame of each cell (the cell store's
// PaintCellCore through DrawCell) and the grid's own per-cell painter DrawGridCell, whose steps run
// in a fixed order on one working rectangle: look-dependent fixed backgrounds, row indicator,
// modified mark, always-visible buttons, the text, borders, look edges, node tree lines, the cell
// graphic, the owner-draw events and the focus rectangle. Also the cell borders, the background
// picture or gradient and the sizing lines.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Themes.h"

#include <QGuiApplication>

#include <algorithm>

namespace {

bool MouseButtonHeld() { return QGuiApplication::mouseButtons() != Qt::NoButton; }

bool GradientLook(TGridLook L) { return L == glExt || L == glXP || L == glVista || L == glWin7 || L == glOffice2007; }

// Saves the canvas pen and gives it back on every path.
struct TPenGuard {
    TCanvas* C;
    TPen Saved;
    explicit TPenGuard(TCanvas* Canvas) : C(Canvas) { Saved.Assign(Canvas->Pen()); }
    ~TPenGuard() { C->Pen()->Assign(&Saved); }
};

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

} // namespace

// ---- the control ------------------------------------------------------------------------------------
void TExtStringGrid::Paint() {
    Canvas()->Pen()->SetStyle(psSolid);
    Canvas()->Brush()->SetStyle(bsSolid);
    TBaseGrid::Paint();
    if (EditorMode() && InplaceEditor() && InplaceEditor()->isVisible()) {
        TColor C = GridLineColor();
        if (GridLineWidth() < 1 || !(Options().Contains(goHorzLine) || Options().Contains(goVertLine))) C = Color();
        Canvas()->Pen()->SetColor(C);
        Canvas()->Brush()->SetStyle(bsClear);
        Canvas()->Rectangle(CellRect(Col(), Row()));
        Canvas()->Brush()->SetStyle(bsSolid);
    }
    Canvas()->Pen()->SetColor(clBlack);
    if (!BackGround()->Bitmap()->Empty() || BackGround()->ColorTo() != clNone) PaintEmptyArea(Canvas());
    PaintBorder();
    PaintDesignHelper();
    PaintWheelPanGlyph();
    if (OnPainted) OnPainted(this);
}

void TExtStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    TBaseGrid::DrawCell(ACol, ARow, ARect, AState);
}

// ---- the per-cell painter ---------------------------------------------------------------------------
void TExtStringGrid::DrawGridCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    if (!ACanvas) return;
    TCellPaintInfo P;
    P.Canvas = ACanvas;
    P.DisplCol = ACol;
    P.Row = ARow;
    P.W = ARect;
    P.State = AState;
    TRect& W = P.W;

    // 1.
    const bool Ctl3D = !Flat();
    P.RealCol = RealColOfDisplCol(ACol);
    if (P.RealCol < 0) P.RealCol = ACol;
    const int RC = P.RealCol;
    const bool PersistRows = MouseActions()->DisjunctRowSelect() && MouseActions()->RowSelectPersistent();
    P.SelRow = PersistRows ? RealRowIndex(ARow) : ARow;

    // 2. filter glyph
    if (ARow == FilterDropDownRow() && (FilterDropDownAuto() || OnGetColumnFilter)) P.FilterGlyph = BuildFilterList(RC);

    // 3. in-cell scroll bar
    PaintCellScrollBar(P);

    // 4. the painter's own visual query
    P.WW = WordWrap();
    GetVisualProperties(ACol, ARow, P.State, false, false, true, ACanvas->Brush(), P.ColorTo, P.MirrorColor,
                        P.MirrorColorTo, ACanvas->Font(), P.HA, P.VA, P.WW, P.GD);

    // 5. the cell graphic and its extent
    CellGraphicExtent(P);
    if (RC == 0 && GetCellType(0, ARow) == ctNode && HasCellProperties(0, ARow))
        P.GraphicW = GetCellProperties(0, ARow)->NodeLevel() * 12 + 4;

    // 6.
    if (P.State.Contains(gdSelected) && !P.State.Contains(gdFocused) && SelectionColor() == clNone)
        ACanvas->Brush()->SetColor(clHighlight);

    // 7.
    if (ZoomFactor() != 0) ACanvas->Font()->SetSize(ACanvas->Font()->Size() + ZoomFactor());
    P.SavedBrush = ACanvas->Brush()->Color();
    P.SavedFont = ACanvas->Font()->Color();

    // 8. fixed test
    bool F = CellIsFixed(ACol, ARow);
    if (ARow == HoverRowIdx() && HoverRowCells().Contains(hcFixed)) F = false;
    P.Fixed = F;

    // 9. The platform visual style branch needs a style that draws grid cells; there is none here
    // (UsesPlatformStyles answers false), so the cell never counts as drawn by the style.

    // 10. fixed backgrounds of the gradient looks
    if (F && !P.StyleDrew && GradientLook(Look())) {
        const bool Covered = HoverFixedCells() == hfAll || (HoverFixedCells() == hfFixedRows && ARow < FixedRows()) ||
            (HoverFixedCells() == hfFixedColumns && ACol < FixedCols());
        // While a column is dragged by its header, that header keeps the hovered look, held
        // down, wherever the mouse is.
        const bool ColMove = GridState() == gsColMoving && Movecell >= 0;
        const bool Hovered = Covered && !IsDesigning() &&
            (ColMove ? Movecell == ACol : FHoverFixedCell.X == ACol && FHoverFixedCell.Y == ARow);
        if (Hovered) {
            W.Bottom += 1;
            const bool Pressed = FFixedDropDownPressed.X == ACol && FFixedDropDownPressed.Y == ARow;
            const bool Held = Pressed || ColMove || FHeaderHeld.X >= 0 || MouseButtonHeld();
            const bool DropDown = ControlLook()->FixedDropDownButton() && CanShowFixedDropDown(RC);
            auto HoverFace = [&](TRect R) {
                DrawGradientBackground(ACanvas, R, ExtGradientHoverFrom(), ExtGradientHoverTo(),
                                       ExtGradientHoverMirrorFrom(), ExtGradientHoverMirrorTo(), true,
                                       ExtGradientHoverBorder(), false, true);
            };
            auto DownFace = [&](TRect R) {
                DrawGradientBackground(ACanvas, R, ExtGradientDownFrom(), ExtGradientDownTo(),
                                       ExtGradientDownMirrorFrom(), ExtGradientDownMirrorTo(), true,
                                       ExtGradientDownBorder(), false, true);
            };
            if (!Held) {
                HoverFace(W);
            } else if (DropDown) {
                // The part held down takes the down colours, the other part stays hovered.
                TRect DD = W, Rest = W;
                DD.Left = W.Right - 16;
                Rest.Right = W.Right - 16;
                if (Pressed) {
                    HoverFace(Rest);
                    DownFace(DD);
                } else {
                    DownFace(Rest);
                    HoverFace(DD);
                }
            } else {
                DownFace(W);
            }
            if (DropDown) {
                ACanvas->Pen()->SetColor(Held ? ExtGradientDownBorder() : ExtGradientHoverBorder());
                Line(ACanvas, W.Right - 16, W.Top, W.Right - 16, W.Bottom);
                DrawDownTriangle(ACanvas, W.Right - 8, W.Top + 8, clBlack);
                W.Right -= 16;
            }
        } else {
            const bool ActiveHeader = ActiveCellShow() &&
                ((ARow == Row() && ACol + 1 == FixedCols() && FixedCols() > 0) ||
                 (ACol == Col() && ARow + 1 == FixedRows() && FixedRows() > 0));
            const bool SortHeader = SortSettings()->Column() != -1 && SortSettings()->Column() == RC &&
                SortSettings()->HeaderColor() != clNone && ARow + 1 == FixedRows() &&
                (ACol + 1 > FixedCols() || SortSettings()->FixedCols());
            if (ActiveHeader) {
                DrawGradientBackground(ACanvas, W, ActiveCellColor(), ActiveCellColorTo(), clNone, clNone, true, clNone,
                                       false, true);
            } else if (SortHeader) {
                DrawGradientBackground(ACanvas, W, SortSettings()->HeaderColor(), SortSettings()->HeaderColorTo(),
                                       SortSettings()->HeaderMirrorColor(), SortSettings()->HeaderMirrorColorTo(), true,
                                       clNone, false, true);
            } else if (!Flat()) {
                DrawGradientBackground(ACanvas, W, P.SavedBrush, P.ColorTo, P.MirrorColor, P.MirrorColorTo,
                                       P.GD == GradientVertical, clNone, false, true);
                if (Look() == glVista) {
                    ACanvas->Pen()->SetColor(clWhite);
                    Line(ACanvas, W.Left, W.Top, W.Left, W.Bottom);
                    Line(ACanvas, W.Right - 1, W.Top, W.Right - 1, W.Bottom);
                }
            }
        }
        ACanvas->Brush()->SetColor(P.SavedBrush);
    }

    // 11. row indicator
    int IndicatorShift = 0;
    if (RC == 0 && ARow == Row() && FixedCols() > 0 && !RowIndicator()->Empty() &&
        !(FixedRowAlways() && RowCount() == FixedRows())) {
        TBitmap* B = RowIndicator();
        int Y = W.Top;
        if (VAlignment() == vtaCenter) Y = W.Top + (W.Height() - B->Height()) / 2;
        if (VAlignment() == vtaBottom) Y = W.Bottom - B->Height();
        DrawBitmapTransparent(ACanvas, B, ACanvas->Brush()->Color(),
                              Rect(W.Left + 2, Y, W.Left + 2 + B->Width(), Y + B->Height()));
        IndicatorShift = B->Width() + 2;
        W.Left += IndicatorShift;
    }

    // 12. list-view headers: the flat face (no header theme service here)
    if (Look() == glListView && F && !P.StyleDrew && !Flat()) {
        ACanvas->Brush()->SetColor(clBtnFace);
        ACanvas->Pen()->SetColor(clWhite);
        ACanvas->Rectangle(W);
        ACanvas->Brush()->SetColor(P.SavedBrush);
    }

    // 13. modified mark
    if (ACol == 0 && ShowModified()->Enabled() && ARow < RowCount() && GetRowModified(ARow)) {
        ACanvas->Brush()->SetColor(ShowModified()->Color());
        ACanvas->Pen()->SetColor(ShowModified()->Color());
        ACanvas->Rectangle(W.Right - 4, W.Top, W.Right, W.Bottom);
        ACanvas->Brush()->SetColor(P.SavedBrush);
    }

    // 14.
    if (OnCustomCellBkgDraw) OnCustomCellBkgDraw(this, ACanvas, RC, ARow, P.State, W, false);

    // 15. always-visible buttons
    const int SavedRight = W.Right;
    if (!F && (ControlLook()->DropDownAlwaysVisible() || ControlLook()->SpinButtonsAlwaysVisible())) {
        int Look =
            ControlLook()->FlatButton() ? ButtonLookFlat : (ThemesActive() ? ButtonLookThemed : ButtonLookClassic);
        if (Flat() && Tones().Background.BrushColor != clNone) Look = ButtonLookTones;
        bool CanEdit = true;
        DoCanEditCell(RC, ARow, CanEdit);
        const int State = CanEdit ? ButtonStateNormal : ButtonStateDisabled;
        if (ControlLook()->DropDownAlwaysVisible() && HasComboButton(RC, ARow)) {
            DrawComboButton(ACanvas, this, Rect(W.Left - 2, W.Top - 1, W.Right + 1, W.Bottom), Look, State, Tones());
            W.Right -= 16;
        }
        if (ControlLook()->SpinButtonsAlwaysVisible() && HasSpinButtons(RC, ARow)) {
            DrawSpinButtons(ACanvas, this, W, Look, State, Tones());
            W.Right -= 16;
        }
    }

    // 16. the text, over a caller's object that asks to be drawn first
    auto* Interface = P.GraphicType == ctInterface && P.Graphic
        ? dynamic_cast<ICellGraphic*>(dynamic_cast<TCellGraphic*>(P.Graphic)->CellBitmap())
        : nullptr;
    const bool InterfaceFirst = Interface && Interface->IsBackground();
    if (InterfaceFirst) {
        TRect R = W;
        InflateRect(R, 1, 1);
        DrawCellGraphic(R, P);
    }
    const bool OwnerDraw = bool(OnDrawCell) || bool(OnCustomCellDraw);
    const bool HasGraphic = P.Graphic != nullptr;
    if (!(OwnerDraw && NoDefaultDraw()) && !(HasGraphic && NoImageAndText())) DrawCellText(P);

    // 17. borders
    W.Right = SavedRight;
    ACanvas->Brush()->SetColor(P.SavedBrush);
    ACanvas->Font()->SetColor(P.SavedFont);
    InflateRect(W, 1, 1);
    if (HasCellBorders()) DrawCellBorders(ACanvas, RC, ARow, W);

    // 18.
    W.Left -= IndicatorShift;

    // 19. look edges of fixed cells
    if (F && !Flat()) {
        if (Look() == glClassic) {
            TRect E = W;
            E.Top += 1;
            E.Bottom += 1;
            E.Left += 1;
            TRect L = E;
            ACanvas->DrawEdge(L, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
            L = E;
            ACanvas->DrawEdge(L, BDR_RAISED, BF_RIGHT | BF_BOTTOM);
            ACanvas->Pen()->SetColor(clBlack);
            ACanvas->MoveTo(E.Right - 1, E.Top);
            ACanvas->LineTo(E.Right - 1, E.Bottom - 1);
            ACanvas->LineTo(E.Left - 1, E.Bottom - 1);
        } else if (Look() == glExt || Look() == glXP) {
            TRect E = W;
            E.Bottom += 1;
            if (Options().Contains(goFixedHorzLine)) {
                ACanvas->Pen()->SetColor(HalveColor(FixedColor()));
                Line(ACanvas, E.Left, E.Bottom - 1, E.Right - 1, E.Bottom - 1);
                ACanvas->Pen()->SetColor(clWhite);
                ACanvas->MoveTo(E.Right - 2, E.Top + 1);
                ACanvas->LineTo(E.Left + 1, E.Top + 1);
                ACanvas->LineTo(E.Left + 1, E.Bottom - 1);
            }
        } else if (Look() == glSoft) {
            TRect E = W;
            if (Ctl3D) {
                E.Right += 1;
                E.Bottom += 1;
                if (Options().Contains(goFixedHorzLine)) {
                    ACanvas->Pen()->SetColor(HalveColor(FixedColor()));
                    Line(ACanvas, E.Left, E.Bottom - 1, E.Right - 1, E.Bottom - 1);
                    ACanvas->Pen()->SetColor(clWhite);
                    ACanvas->MoveTo(E.Right, E.Top + 1);
                    ACanvas->LineTo(E.Left + 1, E.Top + 1);
                    ACanvas->LineTo(E.Left + 1, E.Bottom - 1);
                }
                if (Options().Contains(goFixedVertLine)) {
                    ACanvas->Pen()->SetColor(HalveColor(FixedColor()));
                    Line(ACanvas, E.Right - 2, E.Top, E.Right - 2, E.Bottom - 1);
                    ACanvas->Pen()->SetColor(clWhite);
                    Line(ACanvas, E.Right - 1, E.Top, E.Right - 1, E.Bottom - 1);
                }
            }
        }
    }

    // 20. right fixed columns of a flat (or 2-D) grid get a plain outline
    if (FixedRightCols() > 0 && FixedRightCols() >= ColCount() + NumHiddenColumns() - RC && Look() != glClassic &&
        !Ctl3D) {
        ACanvas->Pen()->SetColor(Flat() ? TColor(0x808080) : clBlack);
        ACanvas->Pen()->SetWidth(1);
        if (Options().Contains(goFixedHorzLine)) {
            Line(ACanvas, W.Left - 1, W.Top - 1, W.Right + 1, W.Top - 1);
            Line(ACanvas, W.Left - 1, W.Bottom + 1, W.Right + 1, W.Bottom + 1);
        }
        if (Options().Contains(goFixedVertLine)) {
            Line(ACanvas, W.Left - 1, W.Top - 1, W.Left - 1, W.Bottom + 1);
            Line(ACanvas, W.Right + 1, W.Top - 1, W.Right + 1, W.Bottom + 1);
        }
    }

    // 21. node tree lines, placed from the cell's own left edge
    if (RC == 0 && HasNodes() && ARow >= FixedRows() && CellNode()->ShowTree()) {
        const int Indent = CellNode()->NodeIndent();
        auto LevelOf = [&](int R) {
            return R >= 0 && R < RowCount() && HasCellProperties(0, R) ? GetCellProperties(0, R)->NodeLevel() : 0;
        };
        const int Level = LevelOf(ARow);
        ACanvas->Pen()->SetColor(CellNodeTreeColor());
        ACanvas->Pen()->SetWidth(1);
        ACanvas->Pen()->SetStyle(psSolid);
        const int L = Level * Indent;
        W.Left += L;
        const int X0 = W.Left + Indent / 2 - Indent + 2;
        const int Mid = W.Top + (W.Bottom - W.Top) / 2;
        if (Level > 0) Line(ACanvas, X0, Mid, CellNodeShowTreeFull() ? W.Right : W.Left + 4, Mid);
        const int Span = NodeSpanType(ARow);
        if (Span == 1) Line(ACanvas, X0, W.Top, X0, Mid);
        if (Span == 2) Line(ACanvas, X0, W.Top, X0, W.Bottom + 4);
        const bool Last = ARow == RowCount() - 1;
        const int NextLevel = Last ? 0 : LevelOf(ARow + 1);
        for (int i = 1; i <= Level; ++i) {
            const int X = X0 - Indent * i;
            if (i < Level && (Last || NextLevel == 0)) {
                ACanvas->MoveTo(X, W.Top);
                ACanvas->LineTo(X, Mid);
                ACanvas->LineTo(X0 + Indent - Indent * i, Mid);
            } else if (!Last && NextLevel != 0) {
                Line(ACanvas, X, W.Top, X, W.Bottom + 4);
            } else {
                Line(ACanvas, X, W.Top, X, Mid);
            }
        }
        W.Left -= L;
    }

    // 22. the cell graphic
    if (P.GraphicType == ctInterface && P.Graphic) {
        if (!InterfaceFirst) DrawCellGraphic(W, P);
    } else if (P.Graphic) {
        TRect G = W;
        if (F) G.Top += 1;
        DrawCellGraphic(G, P);
        W = G;
    }

    // 23. owner drawing
    if (OnDrawCell) {
        TRect R = W;
        R.Left += 1;
        R.Top += 1;
        R.Right -= GridLineWidth();
        R.Bottom -= GridLineWidth();
        OnDrawCell(this, RC, ARow, R, P.State);
    }
    if (OnCustomCellDraw) OnCustomCellDraw(this, ACanvas, RC, ARow, P.State, W, false);

    // 24. focus rectangle
    if (!HideFocusRect()) {
        int BC = ACol, BR = ARow;
        ResolveBaseCell(ACol, ARow, BC, BR);
        if (BC == Col() && BR == Row() && Focused() && !Options().Contains(goRowSelect) && !CellIsFixed(Col(), Row())) {
            TRect R = W;
            InflateRect(R, GridLineWidth() - 1, GridLineWidth() - 1);
            R.Right -= 1;
            R.Bottom -= 1;
            ACanvas->DrawFocusRect(R);
        }
    }
}

// ---- borders ----------------------------------------------------------------------------------------
void TExtStringGrid::DrawCellBorders(TCanvas* ACanvas, int RealCol, int ARow, TRect B) {
    TPenGuard Guard(ACanvas);
    TCellBorders Borders;
    GetCellBorder(RealCol, ARow, ACanvas->Pen(), Borders);
    TPen LeftPen, TopPen, RightPen, BottomPen;
    LeftPen.Assign(ACanvas->Pen());
    TopPen.Assign(ACanvas->Pen());
    RightPen.Assign(ACanvas->Pen());
    BottomPen.Assign(ACanvas->Pen());
    if (OnGetCellBorderProp) OnGetCellBorderProp(this, ARow, RealCol, &LeftPen, &TopPen, &RightPen, &BottomPen);
    if (Borders.Empty()) return;
    const int H = (ACanvas->Pen()->Width() + 1) / 2;
    const int Fv = Options().Contains(goVertLine) ? H : 0;
    const int Eh = Options().Contains(goHorzLine) ? H : 0;
    B.Left += Fv;
    B.Bottom -= Eh;
    if (Borders.Contains(cbLeft)) {
        ACanvas->Pen()->Assign(&LeftPen);
        Line(ACanvas, std::max(0, B.Left), B.Top, std::max(0, B.Left), B.Bottom);
    }
    B.Right -= Fv;
    if (Borders.Contains(cbRight)) {
        ACanvas->Pen()->Assign(&RightPen);
        Line(ACanvas, B.Right - 1, B.Top, B.Right - 1, B.Bottom);
    }
    if (Borders.Contains(cbTop)) {
        ACanvas->Pen()->Assign(&TopPen);
        B.Top += Eh;
        const int Y = GridLineWidth() == 0 ? B.Top + 1 : std::max(0, B.Top - GridLineWidth());
        Line(ACanvas, B.Left, Y, B.Right, Y);
    }
    if (Borders.Contains(cbBottom)) {
        ACanvas->Pen()->Assign(&BottomPen);
        Line(ACanvas, B.Left - GridLineWidth() - 1, B.Bottom - 1, B.Right, B.Bottom - 1);
    }
}

// ---- sizing lines -----------------------------------------------------------------------------------
void TExtStringGrid::DrawColSizingLine(int X) {
    TCanvas* C = Canvas();
    if (!C->HandleAllocated()) return;
    TPenGuard Guard(C);
    // A black pen leaves every pixel as it is under XOR; white inverts the dots, and a second
    // line at the same place puts them back.
    C->Pen()->SetColor(clWhite);
    C->Pen()->SetStyle(psDot);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetWidth(1);
    const TRect Last = CellRect(ColCount() - 1, RowCount() - 1);
    Line(C, X, 0, X, std::max(Height(), Last.Bottom));
}

void TExtStringGrid::DrawRowSizingLine(int Y) {
    TCanvas* C = Canvas();
    if (!C->HandleAllocated()) return;
    TPenGuard Guard(C);
    // A black pen leaves every pixel as it is under XOR; white inverts the dots, and a second
    // line at the same place puts them back.
    C->Pen()->SetColor(clWhite);
    C->Pen()->SetStyle(psDot);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetWidth(1);
    const TRect Last = CellRect(ColCount() - 1, RowCount() - 1);
    Line(C, 0, Y, std::max(Width(), Last.Right), Y);
}

// ---- background pictures and gradients --------------------------------------------------------------
void TExtStringGrid::PaintBackgroundPicture(TCanvas* ACanvas, int RealCol, int ARow, TRect B) {
    TBitmap* Bmp = BackGround()->Bitmap();
    if (Bmp->Empty() || B.Width() <= 0 || B.Height() <= 0) return;
    const int BW = Bmp->Width(), BH = Bmp->Height();
    const TRect OldClip = ACanvas->ClipRect();
    const bool HadClip = ACanvas->HasClip();
    if (HadClip)
        ACanvas->IntersectClipRect(B);
    else
        ACanvas->SetClipRect(B);
    if (BackGround()->Display() == bdTile) {
        const int C0 = BackGround()->Cells() != bcNormal ? 0 : FixedCols();
        const int R0 = BackGround()->Cells() != bcNormal ? 0 : FixedRows();
        int SX = 0, SY = 0;
        const int DC = DisplColIndex(RealCol);
        for (int c = C0; c < DC; ++c) SX += ColWidths(c);
        for (int r = R0; r < ARow; ++r) SY += RowHeights(r);
        const int X0 = SX % BW, Y0 = SY % BH;
        for (int Y = B.Top - 1 - Y0; Y < B.Bottom; Y += BH)
            for (int X = B.Left - 1 - X0; X < B.Right; X += BW) ACanvas->Draw(X, Y, Bmp);
    } else {
        ACanvas->Draw(BackGround()->Left(), BackGround()->Top(), Bmp);
    }
    if (HadClip)
        ACanvas->SetClipRect(OldClip);
    else
        ACanvas->ResetClip();
}

void TExtStringGrid::PaintBackgroundGradient(TCanvas* ACanvas, TRect B) {
    const bool Horz = BackGround()->Display() == bdGradientHorz;
    const int Size = Horz ? Width() : Height();
    const TColor C1 = InterpolateColor(BackGround()->Color(), BackGround()->ColorTo(), 0, Size, Horz ? B.Left : B.Top);
    const TColor C2 =
        InterpolateColor(BackGround()->Color(), BackGround()->ColorTo(), 0, Size, Horz ? B.Right : B.Bottom);
    ACanvas->Brush()->SetColor(C2);
    ACanvas->Pen()->SetColor(C2);
    FillGradientRect(ACanvas, C1, C2, 128, B, Horz);
}

void TExtStringGrid::PaintEmptyArea(TCanvas* ACanvas) {
    const bool Gradient = BackGround()->Display() == bdGradientHorz || BackGround()->Display() == bdGradientVert;
    if (Gradient && BackGround()->ColorTo() == clNone) return;
    const bool RowsBelow = TopRow() + VisibleRowCount() < RowCount();
    const bool ColsRight = LeftCol() + VisibleColCount() < ColCount();
    if (RowsBelow && ColsRight) return;
    TRect Client = ClientRect();
    if (SearchFooter()->Visible()) Client.Bottom -= 32;
    if (FloatingFooter()->Visible()) Client.Bottom -= FloatingFooter()->Height();
    const TRect LastCol = CellRect(ColCount() - 1, 0);
    const TRect LastRow = CellRect(0, RowCount() - 1);
    std::vector<TRect> Areas;
    if (!ColsRight && LastCol.Right > 0 && LastCol.Right + GridLineWidth() < Client.Right)
        Areas.push_back(Rect(LastCol.Right + GridLineWidth(), Client.Top, Client.Right, Client.Bottom));
    if (!RowsBelow && LastRow.Bottom > 0 && LastRow.Bottom + GridLineWidth() < Client.Bottom)
        Areas.push_back(Rect(Client.Left, LastRow.Bottom + GridLineWidth(), Client.Right, Client.Bottom));
    for (const TRect& A : Areas) {
        ACanvas->SetClipRect(A);
        if (Gradient && BackGround()->Bitmap()->Empty()) {
            FillGradientRect(ACanvas, BackGround()->Color(), BackGround()->ColorTo(), 128, Client,
                             BackGround()->Display() == bdGradientHorz);
        } else if (!BackGround()->Bitmap()->Empty() && BackGround()->Display() != bdTile) {
            ACanvas->Draw(BackGround()->Left(), BackGround()->Top(), BackGround()->Bitmap());
        } else if (!BackGround()->Bitmap()->Empty() && BackGround()->Cells() != bcFixed) {
            TBitmap* Bmp = BackGround()->Bitmap();
            int X0 = XYOffset().x(), Y0 = XYOffset().y();
            if (BackGround()->Cells() == bcNormal) {
                const TRect TL = CellRect(FixedCols(), FixedRows());
                X0 += TL.Left;
                Y0 += TL.Top;
            }
            for (int Y = Y0; Y < Client.Bottom; Y += Bmp->Height())
                for (int X = X0; X < Client.Right; X += Bmp->Width()) ACanvas->Draw(X, Y, Bmp);
        }
        ACanvas->ResetClip();
    }
}

TColor TExtStringGrid::InverseTextColor(TColor Color) {
    // A system colour's index is no colour: invert what it stands for.
    return Color == clNone ? clNone : TColor(ColorToRGB(Color) ^ 0xFFFFFF);
}

// ---- cell graphics ----------------------------------------------------------------------------------
// The painter's record takes the graphic's extent and placement; the drawing itself is the graphic's.
void TExtStringGrid::CellGraphicExtent(TCellPaintInfo& P) {
    const TCellGraphicExtent E = CellGraphicExtent(P.RealCol, P.Row);
    P.Graphic = E.Graphic;
    P.GraphicType = E.Graphic ? E.Graphic->CellType() : GetCellType(P.RealCol, P.Row);
    P.GraphicW = E.Width;
    P.GraphicH = E.Height;
    P.GraphicHAlign = int(E.HAlign);
    P.GraphicVAlign = int(E.VAlign);
    P.DrawText = E.DrawText;
}

void TExtStringGrid::DrawCellGraphic(TRect W, TCellPaintInfo& P) {
    auto* CG = dynamic_cast<TCellGraphic*>(P.Graphic);
    if (!CG) return;
    DrawCellGraphic(W, CG, P.VA,
                    TCellGraphicPaint{P.Canvas, P.RealCol, P.Row, P.State, P.HA, P.TextWidth, P.GraphicW, P.GraphicH});
}

void TExtStringGrid::PaintCellScrollBar(TCellPaintInfo& P) {
    TScrollBar* Bar = FPaintScrollBar;
    if (!Bar || !HasScrollBar(P.RealCol, P.Row)) return;
    const TScrollProp Prop = GetScrollProp(P.RealCol, P.Row);
    if (Prop.Range <= 0 || Prop.PageSize >= Prop.Range) return;
    // The range goes in before the position: the bar last served another cell, and its old range
    // would cut this cell's position short.
    Bar->SetPageSize(std::max(0, Prop.PageSize));
    Bar->SetParams(GetScrollPosition(P.RealCol, P.Row), 0, Prop.Range);
    TRect& W = P.W;
    Bar->SetHeight(std::max(0, W.Bottom - W.Top));
    W.Right -= Bar->Width();
    Bar->PaintTo(P.Canvas, W.Right, W.Top);
    P.ScrollPos = Bar->Position();
}
