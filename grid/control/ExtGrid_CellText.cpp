// The text of one cell: drawn inside the per-cell painter (the selected look, the display text and
// its kind, password masking, the filter glyph, background pictures and gradients, the selection
// rectangle, room for the cell graphic, the text-format flags, URLs, sort glyphs and error marks)
// and measured for automatic sizing and hints. Both go through the same text pipeline.
//
// Vertical alignment follows the canvas's text rule: DT_VCENTER and DT_BOTTOM place only
// single-line text; word-wrapped or multi-line text starts at the top of its rectangle.
#include "grid/control/ExtGrid.h"

#include "grid/base/EsgHTMLE.h"
#include "grid/base/ExtUtil.h"

#include <QGuiApplication>
#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace {

// Text kinds of the cell-text classification.
constexpr int tkPlain = 0, tkHTML = 1, tkRTF = 2, tkFormula = 3, tkWide = 5;
// Placements of the cell graphic that take room from the text.
constexpr int haBeforeTextPos = 3, haAfterTextPos = 4, haLeftPos = 0;
constexpr int vaUnderTextPos = 3, vaAboveTextPos = 4;

bool MouseButtonHeld() { return QGuiApplication::mouseButtons() != Qt::NoButton; }

// The check-box kinds (a radio button is not one here).
bool IsCheckBoxKind(TCellType T) {
    return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox ||
        T == ctTriStateCheckBox;
}

// Cuts everything up to and including the scheme of a link.
void CutScheme(QString& S) {
    int P = S.indexOf(QStringLiteral("://"));
    if (P >= 0) {
        S.remove(0, P + 3);
        return;
    }
    P = S.indexOf(QStringLiteral("mailto:"), 0, Qt::CaseInsensitive);
    if (P >= 0) S.remove(0, P + 7);
}

} // namespace

bool TExtStringGrid::IsRotated(int RealCol, int ARow, int& AAngle) {
    AAngle = 0;
    auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(RealCol, ARow));
    if (!CG || CG->CellType() != ctRotated) return false;
    AAngle = CG->CellAngle();
    return true;
}

bool TExtStringGrid::IsSortHeaderCell(int RealCol, int ARow) {
    TSortSettings* S = SortSettings();
    return S->Show() && ARow == S->Row() && RowCount() > FixedRows() + 1 && FixedRows() > 0 && RealCol == S->Column() &&
        (RealCol + 1 > FixedCols() || S->FixedCols());
}

// ---- drawing ----------------------------------------------------------------------------------------
void TExtStringGrid::DrawCellText(TCellPaintInfo& P) {
    TCanvas* C = P.Canvas;
    const int RC = P.RealCol, R = P.Row;
    const int GLW = GridLineWidth();

    // 1., 2. the selected look
    TColor U = URLColor();
    const bool RowSelected = Options().Contains(goRowSelect) && MouseActions()->DisjunctRowSelect() &&
        GetRowSelect(P.SelRow) && RC >= FixedCols() && RC < ColCount() - FixedRightCols();
    if ((P.State.Contains(gdSelected) || RowSelected) && !P.Fixed) {
        if (ShowSelection()) {
            if (SelectionColor() != clNone) C->Brush()->SetColor(SelectionColor());
            if (SelectionTextColor() != clNone && Enabled()) C->Font()->SetColor(SelectionTextColor());
            U = SelectionTextColor();
        }
        if ((!Focused() || IsCheckBoxKind(P.GraphicType)) && !ShowSelection()) {
            C->Brush()->SetColor(P.SavedBrush);
            C->Font()->SetColor(P.SavedFont);
            U = URLColor();
        }
    }

    // 3. display text and its kind
    QString T = GetFormattedCell(RC, R);
    P.TextKind = ClassifyCellText(T, EnableHTML());
    if (P.TextKind == tkWide) {
        T = DecodeWideCellText(T);
        P.TextKind = tkPlain;
    }

    // 5. password
    bool IsPassword = false;
    GetPasswordCell(RC, R, IsPassword);
    if (IsPassword) T = QString(T.size(), PasswordChar());

    // 6.
    TRect TR = P.W;
    if (P.Fixed) {
        TR.Left += GLW;
        TR.Top += GLW;
    }
    // Text scrolled up by the cell's own scroll bar stays inside the cell (and off the bar); the
    // clip goes back on every way out of this step.
    struct TScrollClip {
        TCanvas* C;
        bool Set = false, Had = false;
        TRect Old;
        ~TScrollClip() {
            if (!Set) return;
            if (Had)
                C->SetClipRect(Old);
            else
                C->ResetClip();
        }
    } Clip{C};
    if (P.ScrollPos > 0) {
        Clip.Set = true;
        Clip.Had = C->HasClip();
        if (Clip.Had) {
            Clip.Old = C->ClipRect();
            C->IntersectClipRect(P.W);
        } else {
            C->SetClipRect(P.W);
        }
        TR.Top -= P.ScrollPos;
    }

    // 7. filter glyph
    if (P.FilterGlyph) {
        TBitmap* Glyph =
            FilterActive() && Filter()->HasFilter(RC) ? FilterDropDown()->GlyphActive() : FilterDropDown()->Glyph();
        const TRect Place = Rect(TR.Right - 16, TR.Top, TR.Right, TR.Top + 16);
        if (Glyph->Empty()) {
            DrawResBitmapTransparent(C, FixedColor(), Place, QStringLiteral("ESGFILT"));
        } else {
            TBitmap Copy;
            Copy.Assign(Glyph);
            Copy.SetTransparent(true);
            C->Draw(Place.Left, Place.Top, &Copy);
        }
    }

    // 8. disjunct reset
    const bool Scrolling = P.DisplCol >= FixedCols() && R >= FixedRows();
    if (Scrolling && !MouseButtonHeld() &&
        ((MouseActions()->DisjunctRowSelect() && !GetRowSelect(P.SelRow)) ||
         (MouseActions()->DisjunctColSelect() && !GetColSelect(P.DisplCol)))) {
        U = URLColor();
        C->Brush()->SetColor(Color());
        C->Font()->SetColor(Font()->Color());
        GetCellColor(RC, R, P.State, C->Brush(), C->Font());
        if (ZoomFactor() != 0) C->Font()->SetSize(C->Font()->Size() + ZoomFactor());
    }

    // 9., 10. background picture or gradient inside the cell
    const bool KindMatches = BackGround()->Cells() == bcAll || (BackGround()->Cells() == bcFixed) == P.Fixed;
    const bool OwnColor = HasCellProperties(RC, R) && GetCellProperties(RC, R)->BrushColor() != clNone;
    const bool ShownSelected = ShowSelection() && P.State.Contains(gdSelected);
    if (!BackGround()->Bitmap()->Empty() && !OwnColor && KindMatches && !ShownSelected)
        PaintBackgroundPicture(C, RC, R, Rect(TR.Left - GLW + 1, TR.Top - GLW + 1, TR.Right, TR.Bottom));
    if ((BackGround()->Display() == bdGradientHorz || BackGround()->Display() == bdGradientVert) && KindMatches &&
        (!OwnColor || IsCheckBoxKind(P.GraphicType) || P.GraphicType == ctRadio || P.GraphicType == ctButton ||
         P.GraphicType == ctRadioButton) &&
        !ShownSelected) {
        const TColor B = C->Brush()->Color();
        PaintBackgroundGradient(C, Rect(TR.Left - 1, TR.Top - GLW, TR.Right, TR.Bottom + GLW - 1));
        C->Brush()->SetColor(B);
    }

    // 11. selection rectangle
    if (SelectionRectangle() && !P.Fixed && IsSelected(P.DisplCol, R)) {
        const TGridRect S = Selection();
        const int g = GLW;
        C->Pen()->SetColor(SelectionRectangleColor());
        C->Pen()->SetWidth(2);
        const bool AtLeft = S.Left == P.DisplCol, AtRight = S.Right == P.DisplCol;
        const bool AtTop = S.Top == R, AtBottom = S.Bottom == R;
        const int EndX = AtRight ? TR.Right - 1 : TR.Right;
        if (AtLeft) {
            C->MoveTo(TR.Left - g + 1, TR.Bottom);
            C->LineTo(TR.Left - g + 1, TR.Top - g);
        }
        if (AtRight) {
            C->MoveTo(TR.Right - 1, TR.Bottom);
            C->LineTo(TR.Right - 1, TR.Top - g);
        }
        if (AtTop) {
            C->MoveTo(TR.Left - g, TR.Top - g + 1);
            C->LineTo(EndX, TR.Top - g + 1);
        }
        if (AtBottom) {
            C->MoveTo(TR.Left - g, TR.Bottom);
            C->LineTo(EndX, TR.Bottom);
        }
        if (SelectionResizer() && AtRight && AtBottom) {
            const TRect CR = CellRect(P.DisplCol, R);
            C->Brush()->SetColor(SelectionRectangleColor());
            C->FillRect(Rect(TR.Right - 4, TR.Bottom - 4, CR.Right, CR.Bottom));
        }
        C->Pen()->SetWidth(1);
    }

    // 12.
    if (!P.DrawText) return;

    // 13. offsets
    TR.Left += XYOffset().x();
    TR.Top += XYOffset().y();
    if (!XYOffsetTopLeftOnly()) TR.Right -= XYOffset().x();

    // 14. room for the graphic
    if (P.GraphicHAlign == haBeforeTextPos) TR.Left += P.GraphicW;
    if (P.GraphicHAlign == haAfterTextPos) TR.Right -= P.GraphicW;
    if (P.GraphicVAlign == vaAboveTextPos) TR.Top += P.GraphicH;
    if (P.GraphicVAlign == vaUnderTextPos) TR.Bottom -= P.GraphicH;
    const int G0 =
        P.GraphicHAlign == haLeftPos || (P.GraphicHAlign == haBeforeTextPos && P.HA == taLeftJustify) ? P.GraphicW : 0;

    // 15. a child row of a node is indented
    if (RC == 0 && HasNodes() && GetCellType(0, R) != ctNode && HasCellProperties(0, R))
        TR.Left += GetCellProperties(0, R)->NodeLevel() * CellNode()->NodeIndent();

    const bool SortHeader = IsSortHeaderCell(RC, R);
    auto SortGlyphY = [&](const TRect& Box) {
        if (P.VA == vtaCenter) return Box.Top + (Box.Bottom - Box.Top) / 2;
        if (P.VA == vtaBottom) return Box.Bottom - 8;
        return Box.Top + 8;
    };

    // 16. HTML
    if (P.TextKind == tkHTML) {
        if (P.FilterGlyph) TR.Right -= 18;
        TR.Left -= 1;
        if (SortHeader) TR.Right -= 10;
        QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
        int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
        TRect HoverRect, ControlRect;
        // Right to left the text box is mirrored and the text itself drawn left to right.
        const TRect Logical = TR;
        std::optional<TCanvasLeftToRight> Physical;
        if (C->Mirrored()) {
            TR = C->MirrorRect(TR);
            Physical.emplace(C);
        }
        const int HoverLink =
            FLinkHoverIndex > 0 && FLinkHoverCell.X == P.DisplCol && FLinkHoverCell.Y == R ? FLinkHoverIndex : -1;
        DrawHTMLText(C, T, TR, dynamic_cast<TCustomImageList*>(GridImages()), TR.Left, TR.Top, -1, HoverLink, 1, false,
                     false, false, false, true, URLUnderlineOnHover(), !EnhTextSize(),
                     QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier), 0.0, U, clNone, clNone,
                     TColor(0x808080), AnchorVal, StripVal, FocusAnchor, AnchorHint, XSize, YSize, HyperLinks,
                     MouseLink, HoverRect, ControlRect, CID, CV, CT, FImageCache.get(),
                     dynamic_cast<TPictureContainer*>(PictureContainer()), this,
                     MirroredLayout() ? bdRightToLeft : bdLeftToRight);
        Physical.reset();
        TR = Logical;
        P.TextWidth = XSize + 2;
        if (SortHeader) DrawSortGlyph(C, RC, SortGlyphY(TR), TR.Right + 2);
        return;
    }

    // 17. rich text
    if (P.TextKind == tkRTF) {
        if (!(P.State.Contains(gdSelected) && !P.State.Contains(gdFocused) && SelectionColor() == clNone)) {
            C->Pen()->SetColor(C->Brush()->Color());
            C->Rectangle(TR);
        }
        C->Brush()->SetStyle(bsClear);
        {
            const TRect Box = C->MirrorRect(TR);
            TCanvasLeftToRight Physical(C);
            DrawRichCell(RC, R, Box, C);
        }
        C->Brush()->SetStyle(bsSolid);
        C->Font()->SetColor(clBlack);
        return;
    }

    // 18. plain text
    if (SortHeader && P.HA == taCenter) TR.Left += 10;
    const QString Raw = GetGridCell(RC, R);
    const bool URL = URLShow() && (Raw.contains(QStringLiteral("://")) || Raw.contains(QStringLiteral("mailto:")));
    if (URL) {
        if (!URLFull()) CutScheme(T);
        C->Font()->SetStyle(C->Font()->Style() + fsUnderline);
        C->Font()->SetColor(U);
    }
    unsigned Flags = DT_EDITCONTROL;
    const bool OneLine = LineCount(T, Multilinecells()) <= 1;
    if (OneLine && !P.WW) {
        const int CR = T.indexOf(QLatin1Char('\r'));
        if (CR >= 0) T.truncate(CR);
        Flags = DT_SINGLELINE;
        if (EnhTextSize()) Flags |= DT_END_ELLIPSIS;
    }
    if (P.WW && !Multilinecells() && EnhTextSize()) Flags |= DT_END_ELLIPSIS;
    Flags |= DT_EXPANDTABS | DT_NOPREFIX;
    Flags |= P.HA == taRightJustify ? DT_RIGHT : P.HA == taCenter ? DT_CENTER : DT_LEFT;
    FVAlignFlag = P.VA == vtaCenter ? DT_VCENTER : P.VA == vtaBottom ? DT_BOTTOM : DT_TOP;
    Flags |= unsigned(FVAlignFlag);
    if (P.WW || Multilinecells())
        Flags |= DT_WORDBREAK | DT_EDITCONTROL;
    else
        Flags |= DT_SINGLELINE;
    if (MirroredLayout()) {
        // The platform's reading-order rule: right to left, the horizontal alignment turns round.
        if (Flags & DT_RIGHT)
            Flags &= ~unsigned(DT_RIGHT);
        else if (!(Flags & DT_CENTER))
            Flags |= DT_RIGHT;
        Flags |= DT_RTLREADING;
    }

    C->SetBkMode(TRANSPARENT);
    if (P.FilterGlyph) TR.Right -= 16;
    if (P.Graphic && !T.isEmpty()) {
        TRect M = TR;
        C->DrawText(T, M, Flags | DT_CALCRECT);
        P.TextWidth = M.Width() + 2;
    }
    {
        TRect Box = C->MirrorRect(TR);
        TCanvasLeftToRight Physical(C);
        C->DrawText(T, Box, Flags);
    }
    P.TextHeightHG = C->TextHeight(QStringLiteral("hg"));
    if (P.Graphic && (P.GraphicType == ctEmpty || P.GraphicType == ctValue)) {
        auto* CG = dynamic_cast<TCellGraphic*>(P.Graphic);
        if (CG && CG->CellErrLen() > 0)
            DrawErrorUnderline(this, C, T, TR, P.TextHeightHG, CG->CellErrFrom(), CG->CellErrLen());
    }
    TRect Box = P.W;
    if (P.FilterGlyph) Box.Right -= 16;
    if (SortHeader) {
        const int tw = std::max(0, std::min(Box.Right - Box.Left - 16, C->TextWidth(T)));
        int X = Box.Left + tw + G0 + 10;
        if (P.HA == taRightJustify) X = Box.Right - tw - 10;
        if (P.HA == taCenter) X = Box.Left + 8;
        DrawSortGlyph(C, RC, SortGlyphY(Box), X);
    }
    if (URL) C->Font()->SetStyle(C->Font()->Style() - fsUnderline);
}

// ---- links under the mouse --------------------------------------------------------------------------
int TExtStringGrid::HTMLAnchorAt(int DisplCol, int ARow, int X, int Y, QString& Anchor, QString& Title) {
    Anchor.clear();
    Title.clear();
    if (DisplCol < 0 || ARow < 0 || DisplCol >= ColCount() || ARow >= RowCount()) return -1;
    const int RealCol = RealColIndex(DisplCol);
    QString T = GetFormattedCell(RealCol, ARow);
    if (ClassifyCellText(T, EnableHTML()) != tkHTML) return -1;
    // The rectangle the text is drawn in.
    TRect R = CellRect(DisplCol, ARow);
    R.Left += XYOffset().x() + 1;
    if (HasCheckBox(RealCol, ARow)) R.Left += ControlLook()->CheckSize();
    R.Top += XYOffset().y() + 1;
    R.Right -= XYOffset().x();
    // Right to left the text is drawn left to right in the mirrored box.
    if (MirroredLayout()) {
        R = WindowRect(R);
        X = ClientWidth() - 1 - X;
    }
    TCanvas Measure;
    TGridDrawState State;
    TBrush B;
    GetFontProperties(DisplCol, RealCol, ARow, State, Measure.Font(), &B, true);
    if (ZoomFactor() != 0) Measure.Font()->SetSize(Measure.Font()->Size() + ZoomFactor());
    QString StripVal, FocusAnchor, CID, CV, CT;
    int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = -1;
    TRect HoverRect, ControlRect;
    DrawHTMLText(&Measure, T, R, dynamic_cast<TCustomImageList*>(GridImages()), X, Y, -1, -1, 1, true, false, false,
                 false, true, URLUnderlineOnHover(), !EnhTextSize(), false, 0.0, URLColor(), clNone, clNone,
                 TColor(0x808080), Anchor, StripVal, FocusAnchor, Title, XSize, YSize, HyperLinks, MouseLink, HoverRect,
                 ControlRect, CID, CV, CT, FImageCache.get(), dynamic_cast<TPictureContainer*>(PictureContainer()),
                 this, MirroredLayout() ? bdRightToLeft : bdLeftToRight);
    if (Anchor.isEmpty() || Anchor == QLatin1String("ctrl")) {
        Anchor.clear();
        return -1;
    }
    return MouseLink;
}

// ---- measuring --------------------------------------------------------------------------------------
TSize TExtStringGrid::RotatedTextExtent(int W, int H, int Angle) {
    // The rotated box spans the sums of the projections of both sides.
    const double A = Angle * M_PI / 180.0;
    const double S = std::fabs(std::sin(A)), Co = std::fabs(std::cos(A));
    TSize Z;
    Z.cx = int(std::lround(H * S)) + int(std::lround(W * Co)) + 12;
    Z.cy = int(std::lround(H * Co)) + int(std::lround(W * S)) + 12;
    return Z;
}

void TExtStringGrid::MeasureCellText(int RealCol, int DisplCol, int ARow, bool VS, bool SB, int& AWidth, int& AHeight) {
    TCanvas Measure;
    TCanvas* C = Canvas()->HandleAllocated() ? Canvas() : &Measure;
    // 1.
    QString T = GetFormattedCell(RealCol, ARow);
    int Kind = ClassifyCellText(T, EnableHTML());
    if (Kind == tkWide) {
        T = DecodeWideCellText(T);
        Kind = tkPlain;
    }
    // 2. font and brush
    TGridDrawState State;
    TFont F;
    TBrush B;
    GetFontProperties(DisplCol, RealCol, ARow, State, &F, &B, true);
    if ((DisplCol < FixedCols() || ARow < FixedRows()) && ActiveCellShow() &&
        ActiveCellFont()->Style().Contains(fsBold))
        F.SetStyle(F.Style() + fsBold);
    if (ZoomFactor() != 0) F.SetSize(F.Size() + ZoomFactor());
    TFont Saved;
    Saved.Assign(C->Font());
    C->SetFont(&F);
    struct TRestore {
        TCanvas* C;
        TFont* F;
        ~TRestore() { C->SetFont(F); }
    } Restore{C, &Saved};

    // 4. room
    TRect M = CellRect(DisplCol, ARow);
    if (XYOffsetTopLeftOnly()) {
        M.Left += XYOffset().x();
        M.Top += XYOffset().y();
    } else {
        InflateRect(M, -XYOffset().x(), -XYOffset().y());
    }
    if (VS) M.Right -= 17;

    // 5. HTML
    if (Kind == tkHTML) {
        if (!SB) M.Right = 65535;
        M.Bottom = 65535;
        QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
        int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
        TRect HoverRect, ControlRect;
        DrawHTMLText(C, T, M, dynamic_cast<TCustomImageList*>(GridImages()), 0, 0, -1, 0, 1, false, true, false, true,
                     true, false, !EnhTextSize(), false, 0.0, URLColor(), clNone, clNone, TColor(0x808080), AnchorVal,
                     StripVal, FocusAnchor, AnchorHint, XSize, YSize, HyperLinks, MouseLink, HoverRect, ControlRect,
                     CID, CV, CT, FImageCache.get(), dynamic_cast<TPictureContainer*>(PictureContainer()), this,
                     bdLeftToRight);
        AWidth = XSize + 2;
        AHeight = std::max(YSize, C->TextHeight(QStringLiteral("gh"))) + 2;
        return;
    }

    // 6., 11. rich text lays itself out
    if (Kind == tkRTF && !IsDesigning()) {
        const TSize Z = RichTextExtent(C, T, SB ? M.Width() : 0);
        AWidth = Z.cx;
        AHeight = Z.cy;
        return;
    }

    // 7. rotation
    int Angle = 0;
    const bool Rotated = IsRotated(RealCol, ARow, Angle);

    int W = 0, H = 0;
    if (SB) {
        // 8. wrapped at the cell's width
        InflateRect(M, -2, -2);
        if (EditorMode() && RealCol == RealColIndex(Col()) && ARow == Row() && T.endsWith(QLatin1Char('\n')))
            T += QLatin1Char('w');
        TRect CR = M;
        const unsigned Flags = DT_CALCRECT | DT_EDITCONTROL | DT_NOPREFIX | (Rotated ? DT_SINGLELINE : DT_WORDBREAK);
        H = C->DrawText(T, CR, Flags);
        W = CR.Width();
    } else {
        // 9. line by line
        QStringList Lines;
        if (Multilinecells())
            Lines = T.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
        else
            Lines << T;
        if (Lines.isEmpty()) Lines << QString();
        for (QString& L : Lines) {
            if (URLShow() && !URLFull() && Kind == tkPlain) CutScheme(L);
            W = std::max(W, C->TextWidth(L));
        }
        H = C->TextHeight(QStringLiteral("gh")) * int(Lines.size());
    }

    // 10.
    if (Rotated) {
        const TSize Z = RotatedTextExtent(W, H, Angle);
        W = Z.cx;
        H = Z.cy;
    }
    AWidth = W;
    AHeight = H;
}

TSize TExtStringGrid::GetCellTextSize(int RealCol, int ARow, bool VS, bool SB) {
    TSize Z;
    MeasureCellText(RealCol, DisplColIndex(RealCol), ARow, VS, SB, Z.cx, Z.cy);
    return Z;
}
