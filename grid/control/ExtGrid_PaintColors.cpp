// What a cell looks like before it is painted, measured, printed or exported: its background
// colour or gradient, font, alignment, word wrap and selected state (GetVisualProperties), the font
// for measuring (GetFontProperties), the alignment alone (CellAlignment) and the text it shows
// (GetFormattedCell).
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/rtl/SysUtils.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace {

// Cell types whose record's brush colour is the cell's own colour (a fixed cell keeps it).
bool OwnColorKind(TCellType T) { return T == ctNone || T == ctRotated || T == ctEmpty; }

bool MouseButtonHeld() { return QGuiApplication::mouseButtons() != Qt::NoButton; }

} // namespace

TColor TExtStringGrid::MixColors(TColor A, TColor B, int Percentage) {
    // A is the selection colour, B the cell's own brush.
    if (Percentage >= 100) return A;
    if (Percentage < 1 || A == clNone) return B;
    if (B == clNone) return A;
    const TColor RA = ColorToRGB(A), RB = ColorToRGB(B);
    auto Mix = [&](int Shift) {
        const double CA = (RA >> Shift) & 0xFF, CB = (RB >> Shift) & 0xFF;
        const double V = Percentage / 100.0 * CA + (1.0 - Percentage / 100.0) * CB;
        return std::min(255, int(std::lround(V)));
    };
    return TColor(Mix(0) | (Mix(8) << 8) | (Mix(16) << 16));
}

bool TExtStringGrid::CellIsFixed(int DisplCol, int ARow) {
    bool F = false;
    GetFixedCell(DisplCol, ARow, F);
    return F || DisplCol < FixedCols() || ARow < FixedRows();
}

void TExtStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                         bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                         TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                         bool& WW, TCellGradientDirection& GD) {
    // 1. font of the area
    const bool Normal = ACol >= FixedCols() && ARow >= FixedRows();
    if (Print && !PrintSettings()->UseDisplayFont())
        AFont->Assign(Normal ? PrintSettings()->Font() : PrintSettings()->FixedFont());
    else
        AFont->Assign(Normal ? Font() : FixedFont());

    // 2. content column and selection row
    const int RC = Remap ? RealColIndex(ACol) : ACol;
    const bool PersistRows = MouseActions()->DisjunctRowSelect() && MouseActions()->RowSelectPersistent();
    const int SR = (PersistRows || EnabledRowsUsed()) ? RealRowIndex(ARow) : ARow;

    // 3.
    ABrush->SetColor(clNone);
    AColorTo = AMirrorColor = AMirrorColorTo = clNone;

    // 4. the cell's own record
    bool OwnColor = false;
    if (HasCellProperties(RC, ARow)) {
        TCellProperties* P = GetCellProperties(RC, ARow);
        if (P->BrushColor() != clNone) {
            ABrush->SetColor(P->BrushColor());
            OwnColor = OwnColorKind(GetCellType(RC, ARow));
        }
        if (P->FontColor() != clNone) AFont->SetColor(P->FontColor());
        if (!P->FontStyle().Empty()) AFont->SetStyle(P->FontStyle());
        if (P->FontSize() != 0) AFont->SetSize(P->FontSize());
        if (!P->FontName().isEmpty()) AFont->SetName(P->FontName());
        WW = P->WordWrap();
        AColorTo = P->BrushColorTo();
        GD = P->GradientDirection();
    }

    // 5.
    if (AState.Contains(gdSelected)) GD = GradientVertical;

    // 6. background, bands, fixed areas
    if (ABrush->Color() == clNone) {
        ABrush->SetColor(Color());
        const int AllCols = ColCount() + NumHiddenColumns();
        if (Bands()->Active() && ACol >= FixedCols() && ACol < AllCols - FixedRightCols() && ARow >= FixedRows() &&
            ARow < RowCount() - FixedFooters() && Bands()->TotalLength() > 0) {
            if ((ARow - FixedRows()) % Bands()->TotalLength() < Bands()->PrimaryLength())
                ABrush->SetColor(Bands()->PrimaryColor());
            else
                ABrush->SetColor(Bands()->SecondaryColor());
        }
        if (ACol < FixedCols() || ARow < FixedRows() || ACol >= AllCols - FixedRightCols() ||
            ARow >= RowCount() - FixedFooters())
            ABrush->SetColor(FixedColor());
    }

    // 7., 8. fixed cells
    const bool FX = CellIsFixed(ACol, ARow);
    if (FX && !Print && !OwnColor) {
        ABrush->SetColor(FixedColor());
        AFont->Assign(FixedFont());
        AState << gdFixed;
    }
    // Every look after the classic one, the custom look included, takes the header gradient.
    if (FX && !OwnColor && Look() > glClassic) {
        ABrush->SetColor(FExtGradientFrom);
        AColorTo = FExtGradientTo;
        AMirrorColor = FExtGradientMirrorFrom;
        AMirrorColorTo = FExtGradientMirrorTo;
    }

    // 9. cell-colour query
    if (Print) {
        GetCellPrintColor(RC, ARow, AState, ABrush, AFont);
    } else {
        GetCellColor(RC, ARow, AState, ABrush, AFont);
    }

    // 10.
    if (OnGetCellGradient) {
        TColor C = ABrush->Color();
        OnGetCellGradient(this, ARow, RC, C, AColorTo, AMirrorColor, AMirrorColorTo, GD);
        ABrush->SetColor(C);
    }

    // 11. the unselected colours
    const TColor PlainBrush = ABrush->Color(), PlainFont = AFont->Color();

    // 12. selection
    auto ApplySelection = [&]() {
        ABrush->SetColor(SelectionColor());
        AColorTo = SelectionColorTo();
        AMirrorColor = SelectionMirrorColor();
        AMirrorColorTo = SelectionMirrorColorTo();
        if (SelectionTextColor() != clNone) AFont->SetColor(SelectionTextColor());
    };
    if (Select && !Print && ShowSelection() && !FX) {
        const bool Scrolling = ACol >= FixedCols() && ARow >= FixedRows();
        const bool Down = MouseButtonHeld();
        if (MouseActions()->DisjunctRowSelect()) {
            if (Scrolling) {
                if (!GetRowSelect(SR) || (Down && ARow == Row())) {
                    if (!(Down && AState.Contains(gdSelected) && !GetRowSelect(SR))) AState >> gdSelected;
                } else {
                    AState = TGridDrawState{gdSelected};
                    ApplySelection();
                }
            }
        } else if (MouseActions()->DisjunctColSelect()) {
            if ((Scrolling && GetColSelect(ACol) && !(Down && ACol == Col())) ||
                (AState.Contains(gdSelected) && Down && !GetColSelect(ACol))) {
                AState = TGridDrawState{gdSelected};
                ApplySelection();
            }
        } else if (IsSelected(ACol, ARow) || (AState.Contains(gdSelected) && Down)) {
            const TColor Own = ABrush->Color();
            TColor Sel = SelectionColor();
            if (Own != Color() && SelectionColorMixer())
                Sel = MixColors(SelectionColor(), Own, SelectionColorMixerFactor());
            ApplySelection();
            ABrush->SetColor(Sel);
            AState << gdSelected;
        }
        if (MouseActions()->DisjunctCellSelect()) {
            if (FSel.HasCell(ACol, ARow)) {
                ApplySelection();
                AState << gdSelected;
            } else if (ACol == Col() && ARow == Row()) {
                AState >> gdSelected;
                ABrush->SetColor(PlainBrush);
                AFont->SetColor(PlainFont);
            }
        }
    }

    // 13. disabled rows and grids
    if (UseDisabledFont() && ((EnabledRowsUsed() && !GetRowEnabled(ARow)) || !Enabled()))
        AFont->SetColor(DisabledFontColor());

    // 14. a disjunctly selected row away from the current one is drawn lighter
    if (AState.Contains(gdSelected) && ARow != Row() && MouseActions()->DisjunctRowSelect() &&
        SelectionColorTo() == clNone)
        ABrush->SetColor(ScaleColor(ABrush->Color(), 7));

    // 15., 16.
    GetCellWordWrap(RC, ARow, WW);
    CellAlignment(RC, ARow, HA, VA);
}

void TExtStringGrid::GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState& AState, TFont* AFont,
                                       TBrush* ABrush, bool Remap) {
    (void)Remap;
    AFont->Assign(CellIsFixed(ACol, ARow) ? FixedFont() : Font());
    if (HasCellProperties(RCol, ARow)) {
        TCellProperties* P = GetCellProperties(RCol, ARow);
        if (P->FontColor() != clNone) AFont->SetColor(P->FontColor());
        if (!P->FontStyle().Empty()) AFont->SetStyle(P->FontStyle());
        if (P->FontSize() != 0) AFont->SetSize(P->FontSize());
        if (!P->FontName().isEmpty()) AFont->SetName(P->FontName());
    }
    GetCellColor(RCol, ARow, AState, ABrush, AFont);
}

void TExtStringGrid::CellAlignment(int RealCol, int ARow, TAlignment& HA, TVAlignment& VA) {
    HA = DefaultAlignment();
    VA = VAlignment();
    QString S = GetCellEx(RealCol, ARow);
    const bool Formula = S.startsWith(QLatin1Char('=')) ||
        (S.startsWith(QStringLiteral("|\\")) && S.size() > 3 && S.at(3) == QLatin1Char('='));
    if (AutoNumAlign()) {
        if (Formula) S = GetFormattedCell(RealCol, ARow);
        const int Kind = ClassifyNumber(S.trimmed());
        if (Kind == 0 || Kind == 1 || Kind == 5) HA = taRightJustify;
    }
    if (HasCellProperties(RealCol, ARow) && !Formula) HA = GetCellProperties(RealCol, ARow)->Alignment();
    GetCellAlignment(RealCol, ARow, HA, VA);
}

QString TExtStringGrid::GetFormattedCell(int ACol, int ARow) {
    QString S = GetGridCell(ACol, ARow);
    GetDisplText(ACol, ARow, S);
    if (!OnGetFloatFormat) return S;
    const int Kind = ClassifyNumber(S.trimmed());
    if (Kind != 0 && Kind != 1 && Kind != 5) return S;
    QString Fmt = FloatFormat();
    bool IsFloat = true;
    OnGetFloatFormat(this, ACol, ARow, IsFloat, Fmt);
    if (!IsFloat || Fmt.isEmpty()) return S;
    // A caller's format that does not fit the number, or a text that does not read as one, shows
    // the text as it stands.
    try {
        if (Fmt.contains(QLatin1Char('d'))) return Format(Fmt, {GetInts(ACol, ARow)});
        return Format(Fmt, {GetFloats(ACol, ARow)});
    } catch (const std::exception&) {
        return S;
    }
}
