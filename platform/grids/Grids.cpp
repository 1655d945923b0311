#include "platform/grids/Grids.h"

#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <malloc.h>

namespace {

[[noreturn]] void GridIndexError() { throw EInvalidGridOperation(QStringLiteral("Grid index out of range")); }

bool InGridRect(const TGridRect& R, int ACol, int ARow) {
    return ACol >= R.Left && ACol <= R.Right && ARow >= R.Top && ARow <= R.Bottom;
}

// Where an index lands when the line From moves to To (the lines in between shift by one).
int MoveAdjust(int Index, int From, int To) {
    if (Index == From) return To;
    if (From < To && Index > From && Index <= To) return Index - 1;
    if (To < From && Index >= To && Index < From) return Index + 1;
    return Index;
}

template <class T>
void RotateItem(std::vector<T>& V, int From, int To) {
    if (From < To)
        std::rotate(V.begin() + From, V.begin() + From + 1, V.begin() + To + 1);
    else
        std::rotate(V.begin() + To, V.begin() + From, V.begin() + From + 1);
}

} // namespace

// ===============================================================================================
// TInplaceEdit
// ===============================================================================================
TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
    SetBorderStyle(bsNone);
    SetTabStop(false);
}

TInplaceEdit::~TInplaceEdit() = default;

void TInplaceEdit::SetGrid(TCustomGrid* Value) { FGrid = Value; }

void TInplaceEdit::UpdateLoc(const TRect& R) {
    FRect = R;
    BoundsChanged();
}

void TInplaceEdit::Move(const TRect& R) {
    UpdateLoc(R);
    Show();
    if (FGrid && (FGrid->Focused() || FGrid->isActiveWindow())) SetFocus();
}

void TInplaceEdit::BoundsChanged() {
    const TRect R = FGrid ? FGrid->WindowRect(FRect) : FRect;
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TInplaceEdit::Deselect() { SetSelStart(int(Text().size())); }

void TInplaceEdit::UpdateContents() {
    if (!FGrid) return;
    FLoading = true;
    try {
        SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
        // The limit is for typing: a cell text already longer than it is loaded whole, since the
        // edit box would cut it and the cut text would be stored back when the edit ends.
        FEditLimit = std::max(0, FGrid->GetEditLimit());
        SetMaxLength(0);
        SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
        if (FEditLimit > 0 && Text().size() <= FEditLimit) SetMaxLength(FEditLimit);
        SelectAll();
    } catch (...) {
        FLoading = false;
        throw;
    }
    FStartText = Text();
    FLoading = false;
}

void TInplaceEdit::WndProc(TMessage& Message) {
    if (Message.Msg == CM_WANTSPECIALKEY) {
        Word Key = Word(Message.WParam);
        // Enter and Escape end the edit in the grid, never at the form's default buttons.
        if (Key == VK_RETURN || Key == VK_ESCAPE) {
            Message.Result = 1;
            return;
        }
        if (Key == VK_TAB) {
            Message.Result = FGrid && FGrid->Options().Contains(goTabs) ? 1 : 0;
            return;
        }
    }
    TCustomEdit::WndProc(Message);
}

LRESULT TInplaceEdit::DialogCode() const {
    LRESULT Code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    if (FGrid && FGrid->Options().Contains(goTabs)) Code |= DLGC_WANTTAB;
    return Code;
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
    if (!FGrid) {
        TCustomEdit::KeyDown(Key, Shift);
        return;
    }
    auto SendToGrid = [&] {
        FGrid->KeyDown(Key, Shift);
        Key = 0;
    };
    bool NoSel = SelLength() == 0;
    int Len = int(Text().size());
    switch (Key) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT: SendToGrid(); return;
        case VK_ESCAPE:
            // The edit is abandoned: the editor shows the text it began with and nothing is stored,
            // so a cell whose edit text differs from its stored text is left as it was.
            SetText(FStartText);
            FGrid->FEditorMode = false;
            FGrid->HideEdit(false);
            Key = 0;
            return;
        case VK_TAB:
            if (!Shift.Contains(ssAlt) && FGrid->Options().Contains(goTabs)) {
                SendToGrid();
                return;
            }
            break;
        case VK_LEFT:
            if (NoSel && SelStart() == 0 && !Shift.Contains(ssShift)) {
                SendToGrid();
                return;
            }
            break;
        case VK_RIGHT:
            if (NoSel && SelStart() == Len && !Shift.Contains(ssShift)) {
                SendToGrid();
                return;
            }
            break;
        case VK_HOME:
        case VK_END:
            if (Shift.Contains(ssCtrl)) {
                SendToGrid();
                return;
            }
            break;
        case VK_F2:
            Deselect();
            Key = 0;
            return;
        case VK_DELETE:
            if (!FGrid->CanEditModify()) Key = 0;
            break;
        default: break;
    }
    if (Key != 0) TCustomEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(QChar& Key) {
    if (FGrid) {
        FGrid->KeyPress(Key);
        ushort K = Key.unicode();
        if (K == 13 || K == 27 || K == 9)
            Key = QChar();
        else if ((K >= 32 || K == 8 || K == 22 || K == 24) && !FGrid->CanEditModify())
            Key = QChar();
        else if (K >= 32 && !FGrid->CanEditAcceptKey(Key))
            Key = QChar();
        // An over-long text may be edited but never grows: a typed character may replace a
        // selection, and adds to the text only below the limit.
        else if (K >= 32 && FEditLimit > 0 && !SelLength() && Text().size() >= FEditLimit)
            Key = QChar();
    }
    if (!Key.isNull()) TCustomEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
    if (FGrid) FGrid->KeyUp(Key, Shift);
    if (Key != 0) TCustomEdit::KeyUp(Key, Shift);
}

void TInplaceEdit::DblClick() {
    TCustomEdit::DblClick();
    if (FGrid) FGrid->DblClick();
}

// ===============================================================================================
// TCustomGrid
// ===============================================================================================
TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
    FCurrent = {FFixedCols, FFixedRows};
    FAnchor = FCurrent;
    FTopLeft = FCurrent;
    SetColor(clWindow);
    SetTabStop(true);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FHBar = new QScrollBar(Qt::Horizontal, this);
    FVBar = new QScrollBar(Qt::Vertical, this);
    for (int Bar = SB_HORZ; Bar <= SB_VERT; ++Bar) {
        QScrollBar* B = Bar == SB_HORZ ? FHBar : FVBar;
        B->setFocusPolicy(Qt::NoFocus);
        B->hide();
        FInfo[Bar].nMax = GridScrollMax;
        B->setRange(0, GridScrollMax);
        Cardinal Msg = Bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
        QObject::connect(B, &QScrollBar::actionTriggered, B, [this, B, Bar, Msg](int Action) {
            if (FSettingBars) return;
            Word Code = SB_ENDSCROLL;
            switch (Action) {
                case QAbstractSlider::SliderSingleStepAdd: Code = SB_LINEDOWN; break;
                case QAbstractSlider::SliderSingleStepSub: Code = SB_LINEUP; break;
                case QAbstractSlider::SliderPageStepAdd: Code = SB_PAGEDOWN; break;
                case QAbstractSlider::SliderPageStepSub: Code = SB_PAGEUP; break;
                case QAbstractSlider::SliderToMinimum: Code = SB_TOP; break;
                case QAbstractSlider::SliderToMaximum: Code = SB_BOTTOM; break;
                case QAbstractSlider::SliderMove: Code = SB_THUMBTRACK; break;
                default: return;
            }
            int Pos = B->sliderPosition();
            Guard(this, [&] { Perform(Msg, MakeWParam(Code, Pos), 0); });
            // The bar shows where the grid scrolled to, not where Qt's own step would put it.
            B->setSliderPosition(FInfo[Bar].nPos);
        });
        QObject::connect(B, &QScrollBar::sliderReleased, B, [this, B, Msg] {
            if (FSettingBars) return;
            int Pos = B->sliderPosition();
            Guard(this, [&] {
                Perform(Msg, MakeWParam(SB_THUMBPOSITION, Pos), 0);
                Perform(Msg, MakeWParam(SB_ENDSCROLL, Pos), 0);
            });
        });
    }
    // The plain geometry: no size message (and so no virtual call) while constructing.
    setGeometry(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

// ---- counts -------------------------------------------------------------------------------------
void TCustomGrid::SetColCount(int Value) {
    if (Value < 1) Value = 1;
    if (Value == FColCount) return;
    ChangeSize(Value, FRowCount);
}

void TCustomGrid::SetRowCount(int Value) {
    if (Value < 1) Value = 1;
    if (Value == FRowCount) return;
    ChangeSize(FColCount, Value);
}

void TCustomGrid::ChangeSize(int NewColCount, int NewRowCount) {
    int OldColCount = FColCount, OldRowCount = FRowCount;
    FColCount = NewColCount;
    FRowCount = NewRowCount;
    if (!FColWidths.empty()) FColWidths.resize(size_t(FColCount), FDefaultColWidth);
    if (!FRowHeights.empty()) FRowHeights.resize(size_t(FRowCount), FDefaultRowHeight);
    if (FFixedCols >= FColCount) FFixedCols = FColCount - 1;
    if (FFixedRows >= FRowCount) FFixedRows = FRowCount - 1;
    auto ClampCoord = [this](TGridCoord& C) {
        if (C.X >= FColCount) C.X = FColCount - 1;
        if (C.Y >= FRowCount) C.Y = FRowCount - 1;
    };
    ClampCoord(FCurrent);
    ClampCoord(FAnchor);
    if (FCurrent.X < FFixedCols && FCurrent.X >= 0) FCurrent.X = FFixedCols;
    if (FCurrent.Y < FFixedRows && FCurrent.Y >= 0) FCurrent.Y = FFixedRows;
    TGridCoord OldTopLeft = FTopLeft;
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    UpdateScrollBars();
    InvalidateGrid();
    // An open editor stays on its cell while that cell is still the current one.
    if (FEditorMode) {
        if (FEditCell == FCurrent)
            UpdateEdit();
        else
            HideEditor();
    }
    if (!(OldTopLeft == FTopLeft)) TopLeftChanged();
    // Last, so that a descendant sees (and may adjust) the bars and the view of the new counts.
    SizeChanged(OldColCount, OldRowCount);
}

void TCustomGrid::SetFixedCols(int Value) {
    if (Value < 0) GridIndexError();
    if (Value >= FColCount)
        throw EInvalidGridOperation(QStringLiteral("Fixed column count must be less than column count"));
    if (Value == FFixedCols) return;
    if (FEditorMode) HideEditor();
    FFixedCols = Value;
    if (FCurrent.X < Value) FCurrent.X = Value;
    if (FAnchor.X < Value) FAnchor.X = Value;
    int OldTop = FTopLeft.X;
    FTopLeft.X = Value;
    UpdateScrollBars();
    InvalidateGrid();
    // The view starts again at the first scrollable line.
    if (OldTop != Value) TopLeftChanged();
}

void TCustomGrid::SetFixedRows(int Value) {
    if (Value < 0) GridIndexError();
    if (Value >= FRowCount) throw EInvalidGridOperation(QStringLiteral("Fixed row count must be less than row count"));
    if (Value == FFixedRows) return;
    if (FEditorMode) HideEditor();
    FFixedRows = Value;
    if (FCurrent.Y < Value) FCurrent.Y = Value;
    if (FAnchor.Y < Value) FAnchor.Y = Value;
    int OldTop = FTopLeft.Y;
    FTopLeft.Y = Value;
    UpdateScrollBars();
    InvalidateGrid();
    // The view starts again at the first scrollable line.
    if (OldTop != Value) TopLeftChanged();
}

// ---- sizes --------------------------------------------------------------------------------------
void TCustomGrid::SetDefaultColWidth(int Value) {
    Value = std::max(0, Value);
    FDefaultColWidth = Value;
    FColWidths.clear();
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
    Value = std::max(0, Value);
    FDefaultRowHeight = Value;
    FRowHeights.clear();
    RowHeightsChanged();
}

int TCustomGrid::ColWidths(int ACol) const {
    if (ACol < 0 || ACol >= FColCount || FColWidths.empty()) return FDefaultColWidth;
    return FColWidths[size_t(ACol)];
}

void TCustomGrid::SetColWidths(int ACol, int Value) {
    if (ACol < 0 || ACol >= FColCount) GridIndexError();
    Value = std::max(0, Value);
    if (ColWidths(ACol) == Value) return;
    if (FColWidths.empty()) FColWidths.assign(size_t(FColCount), FDefaultColWidth);
    FColWidths[size_t(ACol)] = Value;
    ColWidthsChanged();
}

int TCustomGrid::RowHeights(int ARow) const {
    if (ARow < 0 || ARow >= FRowCount || FRowHeights.empty()) return FDefaultRowHeight;
    return FRowHeights[size_t(ARow)];
}

void TCustomGrid::SetRowHeights(int ARow, int Value) {
    if (ARow < 0 || ARow >= FRowCount) GridIndexError();
    Value = std::max(0, Value);
    if (RowHeights(ARow) == Value) return;
    if (FRowHeights.empty()) FRowHeights.assign(size_t(FRowCount), FDefaultRowHeight);
    FRowHeights[size_t(ARow)] = Value;
    RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(int Value) {
    Value = std::max(0, Value);
    if (Value == FGridLineWidth) return;
    FGridLineWidth = Value;
    ColWidthsChanged();
}

void TCustomGrid::SetFixedColor(TColor Value) {
    FFixedColor = Value;
    InvalidateGrid();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
    FDefaultDrawing = Value;
    InvalidateGrid();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    InvalidateGrid();
}

int TCustomGrid::GridWidth() const {
    int W = 0;
    for (int C = 0; C < FFixedCols; ++C) W += ColWidths(C) + PlatformLineWidth();
    for (int C = FTopLeft.X; C < FColCount && W < ClientWidth(); ++C) W += ColWidths(C) + PlatformLineWidth();
    return std::min(W, ClientWidth());
}

int TCustomGrid::GridHeight() const {
    int H = 0;
    for (int R = 0; R < FFixedRows; ++R) H += RowHeights(R) + PlatformLineWidth();
    for (int R = FTopLeft.Y; R < FRowCount && H < ClientHeight(); ++R) H += RowHeights(R) + PlatformLineWidth();
    return std::min(H, ClientHeight());
}

void TCustomGrid::SizeChanged(int OldColCount, int OldRowCount) {
    (void)OldColCount;
    (void)OldRowCount;
}

void TCustomGrid::ColWidthsChanged() {
    UpdateScrollBars();
    UpdateEdit();
    InvalidateGrid();
}

void TCustomGrid::RowHeightsChanged() {
    UpdateScrollBars();
    UpdateEdit();
    InvalidateGrid();
}

// ---- geometry -----------------------------------------------------------------------------------
int TCustomGrid::ClientWidth() const {
    int W = width();
    if (FBarShown[SB_VERT]) W -= FVBar->sizeHint().width();
    return std::max(0, W);
}

int TCustomGrid::ClientHeight() const {
    int H = height();
    if (FBarShown[SB_HORZ]) H -= FHBar->sizeHint().height();
    return std::max(0, H);
}

int TCustomGrid::ColX(int ACol) const {
    if (ACol < 0 || ACol >= FColCount) return -1;
    int X = 0;
    int CW = ClientWidth();
    if (ACol < FFixedCols) {
        for (int C = 0; C < ACol; ++C) X += ColWidths(C) + PlatformLineWidth();
        return X < CW ? X : -1;
    }
    if (ACol < FTopLeft.X) return -1;
    for (int C = 0; C < FFixedCols; ++C) X += ColWidths(C) + PlatformLineWidth();
    for (int C = FTopLeft.X; C < ACol; ++C) {
        X += ColWidths(C) + PlatformLineWidth();
        if (X >= CW) return -1;
    }
    return X < CW ? X : -1;
}

int TCustomGrid::RowY(int ARow) const {
    if (ARow < 0 || ARow >= FRowCount) return -1;
    int Y = 0;
    int CH = ClientHeight();
    if (ARow < FFixedRows) {
        for (int R = 0; R < ARow; ++R) Y += RowHeights(R) + PlatformLineWidth();
        return Y < CH ? Y : -1;
    }
    if (ARow < FTopLeft.Y) return -1;
    for (int R = 0; R < FFixedRows; ++R) Y += RowHeights(R) + PlatformLineWidth();
    for (int R = FTopLeft.Y; R < ARow; ++R) {
        Y += RowHeights(R) + PlatformLineWidth();
        if (Y >= CH) return -1;
    }
    return Y < CH ? Y : -1;
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
    int X = ColX(ACol), Y = RowY(ARow);
    if (X < 0 || Y < 0) return TRect{};
    return Rect(X, Y, std::min(X + ColWidths(ACol), ClientWidth()), std::min(Y + RowHeights(ARow), ClientHeight()));
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
    TGridCoord Result{-1, -1};
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight()) return Result;
    auto Find = [this](int P, int Fixed, int First, int Count, auto Size) {
        int Pos = 0;
        for (int I = 0; I < Fixed; ++I) {
            int Next = Pos + Size(I) + PlatformLineWidth();
            if (P < Next) return I;
            Pos = Next;
        }
        for (int I = First; I < Count; ++I) {
            int Next = Pos + Size(I) + PlatformLineWidth();
            if (P < Next) return I;
            Pos = Next;
        }
        return -1;
    };
    int C = Find(X, FFixedCols, FTopLeft.X, FColCount, [this](int I) { return ColWidths(I); });
    int R = Find(Y, FFixedRows, FTopLeft.Y, FRowCount, [this](int I) { return RowHeights(I); });
    if (C < 0 || R < 0) return Result;
    return {C, R};
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    TGridCoord C = MouseCoord(X, Y);
    ACol = C.X;
    ARow = C.Y;
}

int TCustomGrid::VisibleColCount() const {
    int X = 0;
    for (int C = 0; C < FFixedCols; ++C) X += ColWidths(C) + PlatformLineWidth();
    int CW = ClientWidth(), N = 0;
    for (int C = FTopLeft.X; C < FColCount; ++C) {
        if (X + ColWidths(C) > CW) break;
        X += ColWidths(C) + PlatformLineWidth();
        ++N;
    }
    if (N == 0 && FTopLeft.X < FColCount) N = 1;
    return N;
}

int TCustomGrid::VisibleRowCount() const {
    int Y = 0;
    for (int R = 0; R < FFixedRows; ++R) Y += RowHeights(R) + PlatformLineWidth();
    int CH = ClientHeight(), N = 0;
    for (int R = FTopLeft.Y; R < FRowCount; ++R) {
        if (Y + RowHeights(R) > CH) break;
        Y += RowHeights(R) + PlatformLineWidth();
        ++N;
    }
    if (N == 0 && FTopLeft.Y < FRowCount) N = 1;
    return N;
}

int TCustomGrid::MaxTopRow() const {
    int Avail = ClientHeight() - std::max(0, CoveredBottom());
    for (int R = 0; R < FFixedRows; ++R) Avail -= RowHeights(R) + PlatformLineWidth();
    int Top = FRowCount - 1, Used = 0;
    for (int R = FRowCount - 1; R >= FFixedRows; --R) {
        Used += RowHeights(R) + (R == FRowCount - 1 ? 0 : PlatformLineWidth());
        if (Used > Avail) break;
        Top = R;
    }
    return std::max(Top, FFixedRows);
}

int TCustomGrid::MaxLeftCol() const {
    int Avail = ClientWidth();
    for (int C = 0; C < FFixedCols; ++C) Avail -= ColWidths(C) + PlatformLineWidth();
    int Left = FColCount - 1, Used = 0;
    for (int C = FColCount - 1; C >= FFixedCols; --C) {
        Used += ColWidths(C) + (C == FColCount - 1 ? 0 : PlatformLineWidth());
        if (Used > Avail) break;
        Left = C;
    }
    return std::max(Left, FFixedCols);
}

// ---- view ---------------------------------------------------------------------------------------
void TCustomGrid::SetLeftCol(int Value) { ScrollTo(Value, FTopLeft.Y); }
void TCustomGrid::SetTopRow(int Value) { ScrollTo(FTopLeft.X, Value); }

void TCustomGrid::ScrollTo(int ALeftCol, int ATopRow) {
    ALeftCol = std::clamp(ALeftCol, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    ATopRow = std::clamp(ATopRow, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    if (ALeftCol == FTopLeft.X && ATopRow == FTopLeft.Y) return;
    FTopLeft = {ALeftCol, ATopRow};
    UpdateScrollPos();
    InvalidateGrid();
    UpdateEdit();
    TopLeftChanged();
}

void TCustomGrid::ClampInView(int ACol, int ARow) {
    int L = FTopLeft.X, T = FTopLeft.Y;
    if (ACol >= FFixedCols && ACol < FColCount) {
        if (ACol < L)
            L = ACol;
        else {
            int Avail = ClientWidth();
            for (int C = 0; C < FFixedCols; ++C) Avail -= ColWidths(C) + PlatformLineWidth();
            int Used = 0, First = ACol;
            for (int C = ACol; C >= FFixedCols; --C) {
                Used += ColWidths(C) + (C == ACol ? 0 : PlatformLineWidth());
                if (Used > Avail) break;
                First = C;
            }
            if (First > L) L = First;
        }
    }
    if (ARow >= FFixedRows && ARow < FRowCount) {
        if (ARow < T)
            T = ARow;
        else {
            int Avail = ClientHeight();
            for (int R = 0; R < FFixedRows; ++R) Avail -= RowHeights(R) + PlatformLineWidth();
            int Used = 0, First = ARow;
            for (int R = ARow; R >= FFixedRows; --R) {
                Used += RowHeights(R) + (R == ARow ? 0 : PlatformLineWidth());
                if (Used > Avail) break;
                First = R;
            }
            if (First > T) T = First;
        }
    }
    ScrollTo(L, T);
}

void TCustomGrid::TopLeftChanged() {}

// ---- current cell and selection -----------------------------------------------------------------
void TCustomGrid::CheckCoord(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount) GridIndexError();
}

// A current cell outside the sheet (a selection hidden by moving it away) gives the other index
// of the new current cell as the nearest cell of the sheet.
void TCustomGrid::SetCol(int Value) {
    if (Value == FCurrent.X) return;
    int ARow = std::clamp(FCurrent.Y, FFixedRows, FRowCount - 1);
    CheckCoord(Value, ARow);
    MoveCurrentCell(Value, ARow, true);
}

void TCustomGrid::SetRow(int Value) {
    if (Value == FCurrent.Y) return;
    int ACol = std::clamp(FCurrent.X, FFixedCols, FColCount - 1);
    CheckCoord(ACol, Value);
    MoveCurrentCell(ACol, Value, true);
}

bool TCustomGrid::SelectCell(int ACol, int ARow) {
    (void)ACol;
    (void)ARow;
    return true;
}

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show) {
    CheckCoord(ACol, ARow);
    if (!SelectCell(ACol, ARow)) return;
    TGridRect OldSel = Selection();
    // The open editor writes its text into the cell it was opened on before the cell changes.
    if (!FOptions.Contains(goAlwaysShowEditor))
        HideEditor();
    else
        UpdateText();
    FCurrent = {ACol, ARow};
    if (MoveAnchor || !FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    if (Show) ClampInView(ACol, ARow);
    SelectionMoved(OldSel);
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show) {
    MoveCurrent(ACol, ARow, MoveAnchor, Show);
}

void TCustomGrid::MoveCurrentCell(int ACol, int ARow, bool MoveAnchor) {
    MoveCurrent(ACol, ARow, MoveAnchor, true);
    UpdateEdit();
    Click();
}

TGridRect TCustomGrid::NormalSelection() const {
    TGridRect R{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y), std::max(FAnchor.X, FCurrent.X),
                std::max(FAnchor.Y, FCurrent.Y)};
    if (FOptions.Contains(goRowSelect)) {
        R.Left = FFixedCols;
        R.Right = FColCount - 1;
    }
    return R;
}

TGridRect TCustomGrid::Selection() const { return NormalSelection(); }

void TCustomGrid::SetSelection(const TGridRect& Value) {
    TGridRect OldSel = Selection();
    FAnchor = {Value.Left, Value.Top};
    FCurrent = {Value.Right, Value.Bottom};
    SelectionMoved(OldSel);
}

void TCustomGrid::SelectionMoved(const TGridRect& OldSel) {
    InvalidateRect(OldSel);
    InvalidateRect(Selection());
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::SetOptions(TGridOptions Value) {
    if (Value.Contains(goRowSelect)) Value >> goAlwaysShowEditor;
    if (Value == FOptions) return;
    TGridOptions Old = FOptions;
    FOptions = Value;
    if (!Value.Contains(goEditing) || Value.Contains(goRowSelect)) HideEditor();
    if (Value.Contains(goRowSelect) && !Old.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    if (Value.Contains(goAlwaysShowEditor) && !Old.Contains(goAlwaysShowEditor) && Focused()) ShowEditor();
    InvalidateGrid();
}

// ---- moving lines -------------------------------------------------------------------------------
void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FColCount || ToIndex >= FColCount) GridIndexError();
    if (FromIndex == ToIndex) return;
    if (FEditorMode) HideEditor();
    if (!FColWidths.empty()) RotateItem(FColWidths, FromIndex, ToIndex);
    FCurrent.X = MoveAdjust(FCurrent.X, FromIndex, ToIndex);
    FAnchor.X = MoveAdjust(FAnchor.X, FromIndex, ToIndex);
    ColumnMoved(FromIndex, ToIndex);
    UpdateScrollBars();
    InvalidateGrid();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex) {
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FRowCount || ToIndex >= FRowCount) GridIndexError();
    if (FromIndex == ToIndex) return;
    if (FEditorMode) HideEditor();
    if (!FRowHeights.empty()) RotateItem(FRowHeights, FromIndex, ToIndex);
    FCurrent.Y = MoveAdjust(FCurrent.Y, FromIndex, ToIndex);
    FAnchor.Y = MoveAdjust(FAnchor.Y, FromIndex, ToIndex);
    RowMoved(FromIndex, ToIndex);
    UpdateScrollBars();
    InvalidateGrid();
}

void TCustomGrid::ColumnMoved(int FromIndex, int ToIndex) {
    (void)FromIndex;
    (void)ToIndex;
}

void TCustomGrid::RowMoved(int FromIndex, int ToIndex) {
    (void)FromIndex;
    (void)ToIndex;
}

void TCustomGrid::DeleteRowData(int ARow, int ACount) {
    (void)ARow;
    (void)ACount;
}

void TCustomGrid::InsertRowData(int ARow, int ACount) {
    (void)ARow;
    (void)ACount;
}

void TCustomGrid::DeleteColData(int ACol, int ACount) {
    (void)ACol;
    (void)ACount;
}

void TCustomGrid::DeleteRows(int ARow, int ACount) {
    if (ARow < 0 || ARow >= FRowCount) GridIndexError();
    ACount = std::min(ACount, FRowCount - ARow);
    if (ACount <= 0) return;
    if (FEditorMode) HideEditor();
    DeleteRowData(ARow, ACount);
    if (!FRowHeights.empty()) FRowHeights.erase(FRowHeights.begin() + ARow, FRowHeights.begin() + ARow + ACount);
    auto Adjust = [&](int& Y) {
        if (Y >= ARow + ACount)
            Y -= ACount;
        else if (Y >= ARow)
            Y = ARow;
    };
    Adjust(FCurrent.Y);
    Adjust(FAnchor.Y);
    Adjust(FTopLeft.Y);
    ChangeSize(FColCount, std::max(1, FRowCount - ACount));
}

void TCustomGrid::InsertRows(int ARow, int ACount) {
    if (ARow < 0 || ARow > FRowCount) GridIndexError();
    if (ACount <= 0) return;
    if (FEditorMode) HideEditor();
    InsertRowData(ARow, ACount);
    if (!FRowHeights.empty()) FRowHeights.insert(FRowHeights.begin() + ARow, size_t(ACount), FDefaultRowHeight);
    ChangeSize(FColCount, FRowCount + ACount);
}

void TCustomGrid::RearrangeRowData(const std::vector<int>& Plan) { (void)Plan; }

void TCustomGrid::RearrangeRows(const std::vector<int>& Plan) {
    if (Plan.empty()) return;
    for (int Old : Plan)
        if (Old < -1 || Old >= FRowCount) GridIndexError();
    if (FEditorMode) HideEditor();
    RearrangeRowData(Plan);
    if (!FRowHeights.empty()) {
        std::vector<int> Heights(Plan.size(), FDefaultRowHeight);
        for (size_t I = 0; I < Plan.size(); ++I)
            if (Plan[I] >= 0) Heights[I] = FRowHeights[size_t(Plan[I])];
        FRowHeights = std::move(Heights);
    }
    if (int(Plan.size()) == FRowCount) {
        UpdateScrollBars();
        InvalidateGrid();
    } else
        ChangeSize(FColCount, int(Plan.size()));
}

void TCustomGrid::DeleteColumn(int ACol) {
    if (ACol < 0 || ACol >= FColCount) GridIndexError();
    if (FEditorMode) HideEditor();
    DeleteColData(ACol, 1);
    if (!FColWidths.empty()) FColWidths.erase(FColWidths.begin() + ACol);
    auto Adjust = [&](int& X) {
        if (X > ACol) --X;
    };
    Adjust(FCurrent.X);
    Adjust(FAnchor.X);
    Adjust(FTopLeft.X);
    ChangeSize(std::max(1, FColCount - 1), FRowCount);
}

// ---- invalidation -------------------------------------------------------------------------------
void TCustomGrid::InvalidateRect(const TGridRect& ARect) {
    if (!isVisible()) return;
    // Only the part in view matters: walk the visible lines.
    int CW = ClientWidth(), CH = ClientHeight();
    int L = CW, T = CH, R = 0, B = 0;
    int X = 0;
    auto ColVisit = [&](int C) {
        int W = ColWidths(C);
        if (C >= ARect.Left && C <= ARect.Right) {
            L = std::min(L, X);
            R = std::max(R, std::min(CW, X + W + PlatformLineWidth()));
        }
        X += W + PlatformLineWidth();
    };
    for (int C = 0; C < FFixedCols && X < CW; ++C) ColVisit(C);
    for (int C = FTopLeft.X; C < FColCount && X < CW; ++C) ColVisit(C);
    int Y = 0;
    auto RowVisit = [&](int Rw) {
        int H = RowHeights(Rw);
        if (Rw >= ARect.Top && Rw <= ARect.Bottom) {
            T = std::min(T, Y);
            B = std::max(B, std::min(CH, Y + H + PlatformLineWidth()));
        }
        Y += H + PlatformLineWidth();
    };
    for (int Rw = 0; Rw < FFixedRows && Y < CH; ++Rw) RowVisit(Rw);
    for (int Rw = FTopLeft.Y; Rw < FRowCount && Y < CH; ++Rw) RowVisit(Rw);
    if (R > L && B > T) {
        const TRect W = WindowRect(Rect(L, T, R, B));
        update(QRect(W.Left, W.Top, W.Width(), W.Height()));
    }
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
    if (!isVisible()) return;
    InvalidateRect(GridRect(ACol, ARow, ACol, ARow));
}

void TCustomGrid::InvalidateCol(int ACol) {
    if (!isVisible()) return;
    InvalidateRect(GridRect(ACol, 0, ACol, FRowCount - 1));
}

void TCustomGrid::InvalidateRow(int ARow) {
    if (!isVisible()) return;
    InvalidateRect(GridRect(0, ARow, FColCount - 1, ARow));
}

void TCustomGrid::InvalidateEditor() {
    if (FInplaceEdit && FInplaceEdit->isVisible()) FInplaceEdit->update();
}

// ---- scroll bars --------------------------------------------------------------------------------
int TCustomGrid::PosToTopRow(int Pos) const {
    int Max = MaxTopRow();
    if (Max <= FFixedRows) return FFixedRows;
    return FFixedRows + MulDiv(std::clamp(Pos, 0, GridScrollMax), Max - FFixedRows, GridScrollMax);
}

int TCustomGrid::PosToLeftCol(int Pos) const {
    int Max = MaxLeftCol();
    if (Max <= FFixedCols) return FFixedCols;
    return FFixedCols + MulDiv(std::clamp(Pos, 0, GridScrollMax), Max - FFixedCols, GridScrollMax);
}

int TCustomGrid::ScrollPosOf(int Bar) const {
    if (Bar == SB_VERT) {
        int Max = MaxTopRow();
        return Max <= FFixedRows ? 0 : MulDiv(FTopLeft.Y - FFixedRows, GridScrollMax, Max - FFixedRows);
    }
    int Max = MaxLeftCol();
    return Max <= FFixedCols ? 0 : MulDiv(FTopLeft.X - FFixedCols, GridScrollMax, Max - FFixedCols);
}

void TCustomGrid::UpdateScrollBars() {
    if (FSettingBars) return;
    FSettingBars = true;
    bool WantH = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    bool WantV = FScrollBars == ssVertical || FScrollBars == ssBoth;
    // Showing one bar narrows the client area, which may call for the other one.
    for (int Pass = 0; Pass < 2; ++Pass) {
        FBarShown[SB_VERT] = WantV && MaxTopRow() > FFixedRows;
        FBarShown[SB_HORZ] = WantH && MaxLeftCol() > FFixedCols;
    }
    for (int Bar = SB_HORZ; Bar <= SB_VERT; ++Bar) {
        FInfo[Bar].nMin = 0;
        FInfo[Bar].nMax = GridScrollMax;
        FBarEnabled[Bar] = true;
    }
    FSettingBars = false;
    UpdateScrollPos();
}

void TCustomGrid::UpdateScrollPos() {
    if (FSettingBars) return;
    for (int Bar = SB_HORZ; Bar <= SB_VERT; ++Bar) {
        FInfo[Bar].nPos = ScrollPosOf(Bar);
        FInfo[Bar].nTrackPos = FInfo[Bar].nPos;
    }
    LayoutScrollBars();
}

void TCustomGrid::LayoutScrollBars() {
    FSettingBars = true;
    int VW = FVBar->sizeHint().width(), HH = FHBar->sizeHint().height();
    for (int Bar = SB_HORZ; Bar <= SB_VERT; ++Bar) {
        QScrollBar* B = Bar == SB_HORZ ? FHBar : FVBar;
        const TScrollInfo& I = FInfo[Bar];
        int Page = int(I.nPage);
        B->setRange(I.nMin, std::max(I.nMin, I.nMax - std::max(Page, 1) + 1));
        B->setPageStep(Page > 0 ? Page : 16);
        B->setValue(I.nPos);
        B->setEnabled(FBarEnabled[Bar]);
        B->setVisible(FBarShown[Bar] && isVisible());
        if (!FBarShown[Bar]) B->hide();
    }
    if (FBarShown[SB_VERT]) FVBar->setGeometry(width() - VW, 0, VW, height() - (FBarShown[SB_HORZ] ? HH : 0));
    if (FBarShown[SB_HORZ]) FHBar->setGeometry(0, height() - HH, width() - (FBarShown[SB_VERT] ? VW : 0), HH);
    if (FBarShown[SB_VERT]) FVBar->show();
    if (FBarShown[SB_HORZ]) FHBar->show();
    FSettingBars = false;
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    UpdateScrollBars();
    InvalidateGrid();
}

bool TCustomGrid::GetScrollInfo(int Bar, TScrollInfo& Info) const {
    if (Bar != SB_HORZ && Bar != SB_VERT) return false;
    const TScrollInfo& I = FInfo[Bar];
    if (Info.fMask & SIF_RANGE) {
        Info.nMin = I.nMin;
        Info.nMax = I.nMax;
    }
    if (Info.fMask & SIF_PAGE) Info.nPage = I.nPage;
    if (Info.fMask & SIF_POS) Info.nPos = I.nPos;
    if (Info.fMask & SIF_TRACKPOS) Info.nTrackPos = I.nTrackPos;
    return true;
}

int TCustomGrid::SetScrollInfo(int Bar, const TScrollInfo& Info, bool Redraw) {
    (void)Redraw;
    if (Bar != SB_HORZ && Bar != SB_VERT) return 0;
    TScrollInfo& I = FInfo[Bar];
    if (Info.fMask & SIF_RANGE) {
        I.nMin = Info.nMin;
        I.nMax = std::max(Info.nMin, Info.nMax);
    }
    if (Info.fMask & SIF_PAGE) I.nPage = Info.nPage;
    if (Info.fMask & SIF_POS) I.nPos = Info.nPos;
    int Top = I.nMax - std::max(int(I.nPage), 1) + 1;
    I.nPos = std::clamp(I.nPos, I.nMin, std::max(I.nMin, Top));
    I.nTrackPos = I.nPos;
    LayoutScrollBars();
    return I.nPos;
}

void TCustomGrid::ShowScrollBar(int Bar, bool Show) {
    if (Bar == SB_HORZ || Bar == SB_BOTH) FBarShown[SB_HORZ] = Show;
    if (Bar == SB_VERT || Bar == SB_BOTH) FBarShown[SB_VERT] = Show;
    LayoutScrollBars();
    InvalidateGrid();
}

bool TCustomGrid::ScrollBarShowing(int Bar) const { return (Bar == SB_HORZ || Bar == SB_VERT) && FBarShown[Bar]; }

void TCustomGrid::EnableScrollBar(int Bar, bool Enable) {
    if (Bar == SB_HORZ || Bar == SB_BOTH) FBarEnabled[SB_HORZ] = Enable;
    if (Bar == SB_VERT || Bar == SB_BOTH) FBarEnabled[SB_VERT] = Enable;
    LayoutScrollBars();
}

bool TCustomGrid::ScrollBarEnabled(int Bar) const { return (Bar == SB_HORZ || Bar == SB_VERT) && FBarEnabled[Bar]; }

int TCustomGrid::GetScrollPos(int Bar) const { return (Bar == SB_HORZ || Bar == SB_VERT) ? FInfo[Bar].nPos : 0; }

void TCustomGrid::ModifyScrollBar(int Bar, Word ScrollCode, int Pos) {
    bool Vert = Bar == SB_VERT;
    int Cur = Vert ? FTopLeft.Y : FTopLeft.X;
    int Page = Vert ? VisibleRowCount() : VisibleColCount();
    int New = Cur;
    switch (ScrollCode) {
        case SB_LINEUP: New = Cur - 1; break;
        case SB_LINEDOWN: New = Cur + 1; break;
        case SB_PAGEUP: New = Cur - std::max(1, Page); break;
        case SB_PAGEDOWN: New = Cur + std::max(1, Page); break;
        case SB_THUMBPOSITION: New = Vert ? PosToTopRow(Pos) : PosToLeftCol(Pos); break;
        case SB_THUMBTRACK:
            if (FOptions.Contains(goThumbTracking))
                New = Vert ? PosToTopRow(Pos) : PosToLeftCol(Pos);
            else
                FInfo[Bar].nTrackPos = Pos;
            break;
        case SB_TOP: New = Vert ? FFixedRows : FFixedCols; break;
        case SB_BOTTOM: New = Vert ? MaxTopRow() : MaxLeftCol(); break;
        default: return;
    }
    if (Vert)
        ScrollTo(FTopLeft.X, New);
    else
        ScrollTo(New, FTopLeft.Y);
}

// ---- editing ------------------------------------------------------------------------------------
bool TCustomGrid::CanEditModify() { return true; }
int TCustomGrid::GetEditLimit() { return 0; }
QString TCustomGrid::GetEditMask(int ACol, int ARow) {
    (void)ACol;
    (void)ARow;
    return QString();
}
QString TCustomGrid::GetEditText(int ACol, int ARow) {
    (void)ACol;
    (void)ARow;
    return QString();
}
void TCustomGrid::SetEditText(int ACol, int ARow, const QString& Value) {
    (void)ACol;
    (void)ARow;
    (void)Value;
}
bool TCustomGrid::CanEditAcceptKey(QChar Key) {
    (void)Key;
    return true;
}

bool TCustomGrid::CanEditShow() {
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && !ComponentState().Contains(csDesigning) &&
        !ComponentState().Contains(csDestroying) && FCurrent.X >= FFixedCols && FCurrent.X < FColCount &&
        FCurrent.Y >= FFixedRows && FCurrent.Y < FRowCount;
}

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

void TCustomGrid::ShowEditor() {
    FEditorMode = true;
    UpdateEdit();
}

void TCustomGrid::HideEditor() {
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid::SetEditorMode(bool Value) {
    if (Value)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::ShowEditorChar(QChar Ch) {
    ShowEditor();
    if (FInplaceEdit && FInplaceEdit->isVisible()) SendMessage(FInplaceEdit, WM_CHAR, Ch.unicode(), 0);
}

void TCustomGrid::UpdateText() {
    if (!FInplaceEdit || !FInplaceEdit->isVisible() || FUpdatingEdit) return;
    TGridCoord Cell = FEditCell;
    if (Cell.X < 0 || Cell.Y < 0) return;
    SetEditText(Cell.X, Cell.Y, FInplaceEdit->Text());
}

void TCustomGrid::UpdateEdit() {
    if (!FEditorMode || FUpdatingEdit) return;
    if (!CanEditShow()) {
        FEditorMode = false;
        HideEdit();
        return;
    }
    FUpdatingEdit = true;
    try {
        if (!FInplaceEdit) {
            FInplaceEdit = CreateEditor();
            FInplaceEdit->SetGrid(this);
            FInplaceEdit->Hide();
            if (FInplaceEdit->Parent() != this) FInplaceEdit->SetParent(this);
        }
        bool NewCell = !FInplaceEdit->isVisible() || !(FEditCell == FCurrent);
        if (NewCell) {
            if (FInplaceEdit->isVisible() && FEditCell.X >= 0) {
                FUpdatingEdit = false;
                UpdateText();
                FUpdatingEdit = true;
            }
            FInplaceEdit->UpdateContents();
            FEditCell = FCurrent;
        }
        // The platform's own rectangle: empty while the cell is out of view.
        TRect R = TCustomGrid::CellRect(FCurrent.X, FCurrent.Y);
        if (R.IsEmpty()) {
            // The cell is scrolled out of view: the editor waits hidden, keeping its text.
            FInplaceEdit->Hide();
        } else if (NewCell || !FInplaceEdit->isVisible()) {
            FInplaceEdit->Move(R);
        } else {
            FInplaceEdit->UpdateLoc(R);
        }
    } catch (...) {
        FUpdatingEdit = false;
        throw;
    }
    FUpdatingEdit = false;
}

void TCustomGrid::HideEdit(bool Commit) {
    if (!FInplaceEdit) return;
    if (FInplaceEdit->isVisible() || FEditCell.X >= 0) {
        bool HadFocus = FInplaceEdit->Focused();
        if (Commit && FInplaceEdit->isVisible()) UpdateText();
        FEditCell = {-1, -1};
        FInplaceEdit->Hide();
        if (HadFocus && CanFocus()) SetFocus();
        InvalidateCell(FCurrent.X, FCurrent.Y);
        EditorHidden();
    }
}

// ---- keyboard -----------------------------------------------------------------------------------
LRESULT TCustomGrid::DialogCode() const {
    LRESULT Code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (FOptions.Contains(goTabs) && !FOptions.Contains(goRowSelect)) Code |= DLGC_WANTTAB;
    return Code;
}

void TCustomGrid::KeyDown(Word& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    KeyNavigate(Key, Shift);
}

void TCustomGrid::KeyNavigate(Word& Key, TShiftState Shift) {
    bool RowSel = FOptions.Contains(goRowSelect);
    bool Ctrl = Shift.Contains(ssCtrl);
    bool Range = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect) && !RowSel;
    // A current cell outside the sheet (a hidden selection) starts from the first data cell.
    TGridCoord Cur{std::clamp(FCurrent.X, FFixedCols, FColCount - 1),
                   std::clamp(FCurrent.Y, FFixedRows, FRowCount - 1)};
    TGridCoord New = Cur;
    TGridCoord TL = FTopLeft;
    int PageRows = std::max(1, VisibleRowCount());
    bool Handled = true;
    switch (Key) {
        case VK_UP:
            if (Ctrl)
                TL.Y -= 1;
            else
                New.Y -= 1;
            break;
        case VK_DOWN:
            if (Ctrl)
                TL.Y += 1;
            else
                New.Y += 1;
            break;
        case VK_LEFT:
            if (RowSel)
                TL.X -= 1;
            else if (Ctrl)
                New.X = FTopLeft.X;
            else
                New.X -= 1;
            break;
        case VK_RIGHT:
            if (RowSel)
                TL.X += 1;
            else if (Ctrl)
                New.X = FTopLeft.X + VisibleColCount() - 1;
            else
                New.X += 1;
            break;
        case VK_PRIOR:
            if (Ctrl)
                New.Y = FTopLeft.Y;
            else {
                New.Y -= PageRows;
                TL.Y -= PageRows;
            }
            break;
        case VK_NEXT:
            if (Ctrl)
                New.Y = FTopLeft.Y + PageRows - 1;
            else {
                New.Y += PageRows;
                TL.Y += PageRows;
            }
            break;
        case VK_HOME:
            if (Ctrl || RowSel) {
                New.Y = FFixedRows;
                if (Ctrl && !RowSel) New.X = FFixedCols;
            } else
                New.X = FFixedCols;
            break;
        case VK_END:
            if (Ctrl || RowSel) {
                New.Y = FRowCount - 1;
                if (Ctrl && !RowSel) New.X = FColCount - 1;
            } else
                New.X = FColCount - 1;
            break;
        case VK_TAB:
            if (!FOptions.Contains(goTabs) || Shift.Contains(ssAlt)) {
                Handled = false;
                break;
            }
            Range = false;
            if (RowSel) {
                New.Y += Shift.Contains(ssShift) ? -1 : 1;
            } else if (Shift.Contains(ssShift)) {
                if (New.X > FFixedCols)
                    --New.X;
                else if (New.Y > FFixedRows) {
                    New.X = FColCount - 1;
                    --New.Y;
                }
            } else {
                if (New.X < FColCount - 1)
                    ++New.X;
                else if (New.Y < FRowCount - 1) {
                    New.X = FFixedCols;
                    ++New.Y;
                }
            }
            break;
        case VK_F2:
            if (!FEditorMode) ShowEditor();
            Key = 0;
            return;
        default: Handled = false;
    }
    if (!Handled) return;
    New.X = std::clamp(New.X, FFixedCols, FColCount - 1);
    New.Y = std::clamp(New.Y, FFixedRows, FRowCount - 1);
    if (!(TL == FTopLeft)) ScrollTo(TL.X, TL.Y);
    if (!(New == FCurrent)) MoveCurrentCell(New.X, New.Y, !Range);
    if (Key == VK_TAB) Key = 0;
}

void TCustomGrid::KeyPress(QChar& Key) {
    TCustomControl::KeyPress(Key);
    if (Key.unicode() != 13) return;
    if (FOptions.Contains(goAlwaysShowEditor)) {
        // The editor stays; Enter stores what it holds.
        if (FEditorMode) UpdateText();
        return;
    }
    if (FEditorMode && FInplaceEdit && FInplaceEdit->isVisible())
        HideEditor();
    else
        ShowEditor();
    Key = QChar();
}

void TCustomGrid::DoExit() {
    TCustomControl::DoExit();
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
}

// ---- mouse --------------------------------------------------------------------------------------
void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) {
    State = gsNormal;
    Index = -1;
    int FixedH = 0, FixedW = 0;
    for (int R = 0; R < FFixedRows; ++R) FixedH += RowHeights(R) + PlatformLineWidth();
    for (int C = 0; C < FFixedCols; ++C) FixedW += ColWidths(C) + PlatformLineWidth();
    const int Zone = 3;
    if (FOptions.Contains(goColSizing) && Y >= 0 && Y < FixedH) {
        int Pos = 0;
        auto Try = [&](int C) {
            int Edge = Pos + ColWidths(C);
            if (X >= Edge - Zone && X <= Edge + PlatformLineWidth() + Zone - 1) {
                State = gsColSizing;
                Index = C;
                SizingPos = Edge;
                SizingOfs = X - Edge;
            }
            Pos = Edge + PlatformLineWidth();
        };
        for (int C = 0; C < FFixedCols; ++C) Try(C);
        for (int C = FTopLeft.X; C < FColCount && Pos < ClientWidth(); ++C) Try(C);
        if (State != gsNormal) return;
    }
    if (FOptions.Contains(goRowSizing) && X >= 0 && X < FixedW) {
        int Pos = 0;
        auto Try = [&](int R) {
            int Edge = Pos + RowHeights(R);
            if (Y >= Edge - Zone && Y <= Edge + PlatformLineWidth() + Zone - 1) {
                State = gsRowSizing;
                Index = R;
                SizingPos = Edge;
                SizingOfs = Y - Edge;
            }
            Pos = Edge + PlatformLineWidth();
        };
        for (int R = 0; R < FFixedRows; ++R) Try(R);
        for (int R = FTopLeft.Y; R < FRowCount && Pos < ClientHeight(); ++R) Try(R);
    }
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FLastMouse = {X, Y};
    FPressCell = {-1, -1};
    if (FEditorMode && !FOptions.Contains(goAlwaysShowEditor)) HideEditor();
    if (CanFocus() && !Focused()) SetFocus();
    if (Button == mbLeft && !Shift.Contains(ssDouble)) {
        TGridState State;
        int Index = -1, Pos = 0, Ofs = 0;
        CalcSizingState(X, Y, State, Index, Pos, Ofs);
        if (State != gsNormal) {
            FGridState = State;
            FSizingIndex = Index;
            FSizingPos = Pos;
            FSizingOfs = Ofs;
            InvalidateGrid();
            return; // a press that starts sizing is not reported as a mouse press
        }
        TGridCoord Cell = MouseCoord(X, Y);
        FPressCell = Cell;
        if (Cell.X >= 0 && Cell.Y >= 0) {
            bool FixedRow = Cell.Y < FFixedRows, FixedCol = Cell.X < FFixedCols;
            if (FixedRow && !FixedCol && FOptions.Contains(goColMoving)) {
                FGridState = gsColMoving;
                FMoveIndex = FMovePos = Cell.X;
            } else if (FixedCol && !FixedRow && FOptions.Contains(goRowMoving)) {
                FGridState = gsRowMoving;
                FMoveIndex = FMovePos = Cell.Y;
            } else if (!FixedRow && !FixedCol) {
                if (FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect)) {
                    if (Cell == FCurrent)
                        ShowEditor();
                    else {
                        MoveCurrent(Cell.X, Cell.Y, true, true);
                        UpdateEdit();
                    }
                    Click();
                } else {
                    FGridState = gsSelecting;
                    SetTimer(1, 60);
                    if (Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect))
                        MoveCurrent(Cell.X, Cell.Y, false, true);
                    else
                        MoveCurrent(Cell.X, Cell.Y, true, true);
                }
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
    FLastMouse = {X, Y};
    switch (FGridState) {
        case gsSelecting: {
            TGridCoord Cell = MouseCoord(X, Y);
            if (Cell.X >= FFixedCols && Cell.Y >= FFixedRows && !(Cell == FCurrent))
                MoveCurrent(Cell.X, Cell.Y, !FOptions.Contains(goRangeSelect), true);
            break;
        }
        case gsColSizing:
        case gsRowSizing: {
            bool ColS = FGridState == gsColSizing;
            int Start = ColS ? ColX(FSizingIndex) : RowY(FSizingIndex);
            FSizingPos = std::max((ColS ? X : Y) - FSizingOfs, std::max(0, Start) + 1);
            InvalidateGrid();
            break;
        }
        case gsColMoving:
        case gsRowMoving: {
            TGridCoord Cell = MouseCoord(X, Y);
            if (FGridState == gsColMoving && Cell.X >= FFixedCols) FMovePos = Cell.X;
            if (FGridState == gsRowMoving && Cell.Y >= FFixedRows) FMovePos = Cell.Y;
            InvalidateGrid();
            break;
        }
        case gsNormal: {
            TGridState State;
            int Index = -1, Pos = 0, Ofs = 0;
            CalcSizingState(X, Y, State, Index, Pos, Ofs);
            TCursor Want = State == gsColSizing ? crHSplit : State == gsRowSizing ? crVSplit : crDefault;
            if (FSizeCursor != Want) {
                FSizeCursor = Want;
                setCursor(CursorToQCursor(Want == crDefault ? Cursor() : Want));
            }
            break;
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGridState State = FGridState;
    FGridState = gsNormal;
    // A descendant may have ended the selecting press itself; the drag timer ends with it.
    if (Button == mbLeft && State != gsSelecting) KillTimer(1);
    bool Moved = false;
    switch (State) {
        case gsSelecting: {
            FGridState = gsSelecting;
            MouseMove(Shift, X, Y);
            FGridState = gsNormal;
            KillTimer(1);
            UpdateEdit();
            Click();
            break;
        }
        case gsColSizing: {
            int Start = ColX(FSizingIndex);
            int Pos = std::max(X - FSizingOfs, std::max(0, Start) + 1);
            if (Start >= 0) SetColWidths(FSizingIndex, Pos - Start);
            Moved = true;
            break;
        }
        case gsRowSizing: {
            int Start = RowY(FSizingIndex);
            int Pos = std::max(Y - FSizingOfs, std::max(0, Start) + 1);
            if (Start >= 0) SetRowHeights(FSizingIndex, Pos - Start);
            Moved = true;
            break;
        }
        case gsColMoving:
            if (FMovePos != FMoveIndex) {
                MoveColumn(FMoveIndex, FMovePos);
                Moved = true;
            }
            break;
        case gsRowMoving:
            if (FMovePos != FMoveIndex) {
                MoveRow(FMoveIndex, FMovePos);
                Moved = true;
            }
            break;
        default: break;
    }
    InvalidateGrid();
    TGridCoord Cell = MouseCoord(X, Y);
    bool FixedClick = Button == mbLeft && !Moved && FPressCell.X >= 0 && Cell == FPressCell &&
        (Cell.X < FFixedCols || Cell.Y < FFixedRows);
    FPressCell = {-1, -1};
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FixedClick) FixedCellClick(Cell.X, Cell.Y);
}

void TCustomGrid::FixedCellClick(int ACol, int ARow) {
    (void)ACol;
    (void)ARow;
}

void TCustomGrid::TimerTick(int ID) {
    if (ID == 1 && FGridState == gsSelecting) DragScroll();
    TCustomControl::TimerTick(ID);
}

void TCustomGrid::DragScroll() {
    // While a selection is dragged past an edge the view follows, one line per tick.
    int FixedW = 0, FixedH = 0;
    for (int C = 0; C < FFixedCols; ++C) FixedW += ColWidths(C) + PlatformLineWidth();
    for (int R = 0; R < FFixedRows; ++R) FixedH += RowHeights(R) + PlatformLineWidth();
    TGridCoord Target = FCurrent;
    if (FLastMouse.Y < FixedH && FTopLeft.Y > FFixedRows) {
        ScrollTo(FTopLeft.X, FTopLeft.Y - 1);
        Target.Y = FTopLeft.Y;
    } else if (FLastMouse.Y >= ClientHeight() && FTopLeft.Y < MaxTopRow()) {
        ScrollTo(FTopLeft.X, FTopLeft.Y + 1);
        Target.Y = std::min(FRowCount - 1, FTopLeft.Y + VisibleRowCount() - 1);
    }
    if (FLastMouse.X < FixedW && FTopLeft.X > FFixedCols) {
        ScrollTo(FTopLeft.X - 1, FTopLeft.Y);
        Target.X = FTopLeft.X;
    } else if (FLastMouse.X >= ClientWidth() && FTopLeft.X < MaxLeftCol()) {
        ScrollTo(FTopLeft.X + 1, FTopLeft.Y);
        Target.X = std::min(FColCount - 1, FTopLeft.X + VisibleColCount() - 1);
    }
    if (!(Target == FCurrent) && Target.X >= FFixedCols && Target.Y >= FFixedRows)
        MoveCurrent(Target.X, Target.Y, !FOptions.Contains(goRangeSelect), false);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    bool Handled = TCustomControl::DoMouseWheelDown(Shift, MousePos);
    if (!Handled) {
        if (FCurrent.Y < FRowCount - 1) SetRow(FCurrent.Y + 1);
        Handled = true;
    }
    return Handled;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    bool Handled = TCustomControl::DoMouseWheelUp(Shift, MousePos);
    if (!Handled) {
        if (FCurrent.Y > FFixedRows) SetRow(FCurrent.Y - 1);
        Handled = true;
    }
    return Handled;
}

// ---- messages, size and paint -------------------------------------------------------------------
void TCustomGrid::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_HSCROLL:
        case WM_VSCROLL:
            ModifyScrollBar(Message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LoWord(Message.WParam),
                            int16_t(HiWord(Message.WParam)));
            return;
        case WM_CHAR: {
            QChar C(char16_t(Message.WParam));
            ushort U = C.unicode();
            bool Typed = U == 8 || (U >= 32 && U != 127);
            if (Typed && FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) &&
                !(FEditorMode && FInplaceEdit && FInplaceEdit->isVisible())) {
                ShowEditorChar(C);
                if (FEditorMode) return;
            }
            break;
        }
        case CM_WANTSPECIALKEY:
            // Enter opens and closes the editor; Tab moves between cells with goTabs.
            if (Message.WParam == VK_RETURN) {
                Message.Result = 1;
                return;
            }
            if (Message.WParam == VK_TAB && FOptions.Contains(goTabs) && !FOptions.Contains(goRowSelect)) {
                Message.Result = 1;
                return;
            }
            break;
        case WM_PAINT: {
            // The whole paint, the descendants' additions included, runs mirrored.
            Canvas()->SetMirrorWidth(MirroredLayout() ? ClientWidth() : 0);
            TCustomControl::WndProc(Message);
            Canvas()->SetMirrorWidth(0);
            return;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS: InvalidateCell(FCurrent.X, FCurrent.Y); break;
        case CM_ENTER:
            TCustomControl::WndProc(Message);
            if (FOptions.Contains(goAlwaysShowEditor)) ShowEditor();
            return;
        default: break;
    }
    TCustomControl::WndProc(Message);
}

void TCustomGrid::Resize() {
    UpdateScrollBars();
    int L = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    int T = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    if (L != FTopLeft.X || T != FTopLeft.Y) ScrollTo(L, T);
    UpdateEdit();
    TCustomControl::Resize();
}

void TCustomGrid::Paint() {
    TCanvas* C = Canvas();
    int CW = ClientWidth(), CH = ClientHeight();
    bool HasFocus = Focused() || (FInplaceEdit && FInplaceEdit->Focused());
    TGridRect Sel = Selection();
    TColor FixedLine = clGray, NormalLine = clSilver;

    // Visible lines: the fixed ones, then the scrolled ones from the top-left cell on, only
    // as many as the client area shows.
    struct TLine {
        int Index;
        int Pos;
        int Size;
    };
    std::vector<TLine> Cols, Rows;
    int X = 0;
    for (int I = 0; I < FFixedCols && X < CW; ++I) {
        Cols.push_back({I, X, ColWidths(I)});
        X += ColWidths(I) + PlatformLineWidth();
    }
    for (int I = FTopLeft.X; I < FColCount && X < CW; ++I) {
        Cols.push_back({I, X, ColWidths(I)});
        X += ColWidths(I) + PlatformLineWidth();
    }
    int Y = 0;
    for (int I = 0; I < FFixedRows && Y < CH; ++I) {
        Rows.push_back({I, Y, RowHeights(I)});
        Y += RowHeights(I) + PlatformLineWidth();
    }
    for (int I = FTopLeft.Y; I < FRowCount && Y < CH; ++I) {
        Rows.push_back({I, Y, RowHeights(I)});
        Y += RowHeights(I) + PlatformLineWidth();
    }
    int GridW = std::min(X, CW), GridH = std::min(Y, CH);

    for (const TLine& R : Rows) {
        for (const TLine& Cl : Cols) {
            TRect CellR = Rect(Cl.Pos, R.Pos, Cl.Pos + Cl.Size, R.Pos + R.Size);
            TGridDrawState State;
            bool Fixed = Cl.Index < FFixedCols || R.Index < FFixedRows;
            bool IsCurrent = Cl.Index == FCurrent.X && R.Index == FCurrent.Y;
            if (Fixed)
                State << gdFixed;
            else {
                if (IsCurrent && HasFocus) State << gdFocused;
                if (InGridRect(Sel, Cl.Index, R.Index) &&
                    (!IsCurrent || FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect) ||
                     !HasFocus))
                    State << gdSelected;
            }
            if (PlatformDefaultDrawing()) {
                C->Brush()->SetStyle(bsSolid);
                if (State.Contains(gdFixed)) {
                    C->Brush()->SetColor(FFixedColor);
                    C->Font()->SetColor(Font()->Color());
                } else if (State.Contains(gdSelected)) {
                    C->Brush()->SetColor(clHighlight);
                    C->Font()->SetColor(clHighlightText);
                } else {
                    C->Brush()->SetColor(Color());
                    C->Font()->SetColor(Font()->Color());
                }
                C->FillRect(CellR);
            }
            DrawCell(Cl.Index, R.Index, CellR, State);
            if (PlatformDefaultDrawing() && State.Contains(gdFocused) && !FOptions.Contains(goRowSelect) &&
                !FEditorMode)
                C->DrawFocusRect(CellR);
        }
    }

    // Grid lines fill the gaps after each cell.
    if (PlatformLineWidth() > 0) {
        C->Brush()->SetStyle(bsSolid);
        for (const TLine& Cl : Cols) {
            bool FixedCol = Cl.Index < FFixedCols;
            for (const TLine& R : Rows) {
                bool Fixed = FixedCol || R.Index < FFixedRows;
                bool Want = Fixed ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
                C->Brush()->SetColor(Want ? (Fixed ? FixedLine : NormalLine) : (Fixed ? FFixedColor : Color()));
                C->FillRect(Rect(Cl.Pos + Cl.Size, R.Pos, Cl.Pos + Cl.Size + PlatformLineWidth(),
                                 R.Pos + R.Size + PlatformLineWidth()));
            }
        }
        for (const TLine& R : Rows) {
            bool FixedRow = R.Index < FFixedRows;
            for (const TLine& Cl : Cols) {
                bool Fixed = FixedRow || Cl.Index < FFixedCols;
                bool Want = Fixed ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
                C->Brush()->SetColor(Want ? (Fixed ? FixedLine : NormalLine) : (Fixed ? FFixedColor : Color()));
                C->FillRect(Rect(Cl.Pos, R.Pos + R.Size, Cl.Pos + Cl.Size, R.Pos + R.Size + PlatformLineWidth()));
            }
        }
    }

    // The client area past the last line.
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    if (GridW < CW) C->FillRect(Rect(GridW, 0, CW, CH));
    if (GridH < CH) C->FillRect(Rect(0, GridH, GridW, CH));
    // The corner between two shown scroll bars.
    if (FBarShown[SB_HORZ] && FBarShown[SB_VERT]) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(Rect(CW, CH, width(), height()));
    }

    if (FGridState == gsColSizing || FGridState == gsRowSizing) {
        C->Pen()->SetColor(clBlack);
        C->Pen()->SetWidth(1);
        if (FGridState == gsColSizing) {
            C->MoveTo(FSizingPos, 0);
            C->LineTo(FSizingPos, GridH);
        } else {
            C->MoveTo(0, FSizingPos);
            C->LineTo(GridW, FSizingPos);
        }
    }
}

// ===============================================================================================
// TDrawGrid
// ===============================================================================================
TDrawGrid::TDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

bool TDrawGrid::SelectCell(int ACol, int ARow) {
    bool CanSelect = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, CanSelect);
    return CanSelect;
}

void TDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

QString TDrawGrid::GetEditMask(int ACol, int ARow) {
    QString Value;
    if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, Value);
    return Value;
}

QString TDrawGrid::GetEditText(int ACol, int ARow) {
    QString Value;
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, Value);
    return Value;
}

void TDrawGrid::SetEditText(int ACol, int ARow, const QString& Value) {
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

void TDrawGrid::TopLeftChanged() {
    TCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex) {
    if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::RowMoved(int FromIndex, int ToIndex) {
    if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::FixedCellClick(int ACol, int ARow) {
    if (OnFixedCellClick) OnFixedCellClick(this, ACol, ARow);
}

// ===============================================================================================
// TStringGrid storage
// ===============================================================================================
// A row's texts in one heap block: Count, Count end offsets, then the UTF-16 units of all texts
// one after the other. A row without text has no block.
struct TStringGrid::TRowBlock {
    int32_t Count;
    uint32_t* Ends() { return reinterpret_cast<uint32_t*>(this + 1); }
    const uint32_t* Ends() const { return reinterpret_cast<const uint32_t*>(this + 1); }
    char16_t* Chars() { return reinterpret_cast<char16_t*>(Ends() + Count); }
    const char16_t* Chars() const { return reinterpret_cast<const char16_t*>(Ends() + Count); }
    uint32_t Total() const { return Count ? Ends()[Count - 1] : 0; }
    static size_t Bytes(int Count, uint32_t Chars) {
        return sizeof(TRowBlock) + size_t(Count) * sizeof(uint32_t) + size_t(Chars) * sizeof(char16_t);
    }
};

// Aligned so that the pointers stored right after the header are aligned too.
struct alignas(alignof(TObject*)) TStringGrid::TRowObjects {
    int32_t Count;
    TObject** Items() { return reinterpret_cast<TObject**>(this + 1); }
    TObject* const* Items() const { return reinterpret_cast<TObject* const*>(this + 1); }
};

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

TStringGrid::~TStringGrid() {
    for (TRowData& R : FRows) FreeRow(R);
}

void TStringGrid::FreeRow(TRowData& R) {
    std::free(R.Texts);
    std::free(R.Objects);
    R.Texts = nullptr;
    R.Objects = nullptr;
}

void TStringGrid::CheckIndex(int Index) {
    if (Index < 0) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

QString TStringGrid::Cells(int ACol, int ARow) const {
    CheckIndex(ACol);
    CheckIndex(ARow);
    if (size_t(ARow) >= FRows.size()) return QString();
    return ReadBlock(FRows[size_t(ARow)].Texts, ACol);
}

bool TStringGrid::RowHasObjects(int ARow) const {
    return ARow >= 0 && size_t(ARow) < FRows.size() && FRows[size_t(ARow)].Objects != nullptr;
}

QString TStringGrid::ReadBlock(const TRowBlock* B, int ACol) {
    if (!B || ACol >= B->Count) return QString();
    uint32_t Start = ACol ? B->Ends()[ACol - 1] : 0;
    uint32_t End = B->Ends()[ACol];
    if (End == Start) return QString();
    return QString(reinterpret_cast<const QChar*>(B->Chars() + Start), qsizetype(End - Start));
}

TStringGrid::TDetachedRow TStringGrid::DetachRow(int ARow) {
    CheckIndex(ARow);
    TDetachedRow Row;
    if (size_t(ARow) < FRows.size()) {
        Row.FData = FRows[size_t(ARow)];
        FRows[size_t(ARow)] = {};
        InvalidateRow(ARow);
    }
    return Row;
}

void TStringGrid::AttachRow(int ARow, TDetachedRow& Row) {
    CheckIndex(ARow);
    if (size_t(ARow) >= FRows.size()) {
        if (!Row.FData.Texts && !Row.FData.Objects) return;
        FRows.resize(size_t(ARow) + 1);
    }
    TRowData& Slot = FRows[size_t(ARow)];
    if (Slot.Texts || Slot.Objects) FreeRow(Slot);
    Slot = Row.FData;
    Row.FData = {};
    InvalidateRow(ARow);
}

TStringGrid::TDetachedRow& TStringGrid::TDetachedRow::operator=(TDetachedRow&& Other) noexcept {
    if (this != &Other) {
        FreeRow(FData);
        FData = Other.FData;
        Other.FData = {};
    }
    return *this;
}

void TStringGrid::TDetachedRow::SetCells(int ACol, const QString& Value) {
    CheckIndex(ACol);
    WriteBlock(FData.Texts, ACol, Value);
}

TObject* TStringGrid::TDetachedRow::Objects(int ACol) const {
    if (ACol < 0 || !FData.Objects || ACol >= FData.Objects->Count) return nullptr;
    return FData.Objects->Items()[ACol];
}

void TStringGrid::TDetachedRow::SetObjects(int ACol, TObject* Value) {
    CheckIndex(ACol);
    WriteObject(FData.Objects, ACol, Value);
}

int TStringGrid::TDetachedRow::ObjectCount() const { return FData.Objects ? FData.Objects->Count : 0; }

void TStringGrid::WriteText(int ACol, int ARow, const QString& Value) {
    if (size_t(ARow) >= FRows.size()) {
        if (Value.isEmpty()) return;
        FRows.resize(size_t(ARow) + 1);
    }
    WriteBlock(FRows[size_t(ARow)].Texts, ACol, Value);
}

void TStringGrid::WriteBlock(TRowBlock*& B, int ACol, const QString& Value) {
    int Count = B ? B->Count : 0;
    if (ACol >= Count && Value.isEmpty()) return;
    uint32_t Total = B ? B->Total() : 0;
    int NewCount = std::max(Count, ACol + 1);
    uint32_t Start = ACol < Count ? (ACol ? B->Ends()[ACol - 1] : 0) : Total;
    uint32_t OldLen = ACol < Count ? B->Ends()[ACol] - Start : 0;
    uint32_t NewLen = uint32_t(Value.size());
    uint32_t NewTotal = Total - OldLen + NewLen;
    if (NewTotal == 0) {
        std::free(B);
        B = nullptr;
        return;
    }
    size_t OldBytes = B ? TRowBlock::Bytes(Count, Total) : 0;
    size_t NewBytes = TRowBlock::Bytes(NewCount, NewTotal);
    // A row filled cell by cell grows in steps of a quarter, so that most writes find room.
    size_t Capacity = B ? malloc_usable_size(B) : 0;
    if (NewBytes > Capacity) {
        size_t Want = NewBytes + std::min<size_t>(NewBytes / 4, 256);
        void* P = std::realloc(B, Want);
        if (!P) throw EOutOfResources(QStringLiteral("Out of memory"));
        B = static_cast<TRowBlock*>(P);
        if (OldBytes == 0) B->Count = 0;
    }
    char* Base = reinterpret_cast<char*>(B);
    char* OldChars = Base + sizeof(TRowBlock) + size_t(Count) * sizeof(uint32_t);
    char* NewChars = Base + sizeof(TRowBlock) + size_t(NewCount) * sizeof(uint32_t);
    // The characters after the cell, then those before it (the block only ever gains end
    // offsets, so the text area moves right or stays).
    std::memmove(NewChars + (Start + NewLen) * sizeof(char16_t), OldChars + (Start + OldLen) * sizeof(char16_t),
                 (Total - Start - OldLen) * sizeof(char16_t));
    if (NewChars != OldChars) std::memmove(NewChars, OldChars, Start * sizeof(char16_t));
    uint32_t* Ends = reinterpret_cast<uint32_t*>(Base + sizeof(TRowBlock));
    for (int I = Count; I < NewCount; ++I) Ends[I] = Total;
    for (int I = ACol; I < NewCount; ++I) Ends[I] = Ends[I] - OldLen + NewLen;
    B->Count = NewCount;
    std::memcpy(NewChars + Start * sizeof(char16_t), Value.constData(), NewLen * sizeof(char16_t));
    // A row that lost much of its text gives the room back.
    if (NewBytes + 64 < Capacity / 2) {
        if (void* P = std::realloc(B, NewBytes)) B = static_cast<TRowBlock*>(P);
    }
}

void TStringGrid::SetCells(int ACol, int ARow, const QString& Value) {
    CheckIndex(ACol);
    CheckIndex(ARow);
    WriteText(ACol, ARow, Value);
    InvalidateCell(ACol, ARow);
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
    CheckIndex(ACol);
    CheckIndex(ARow);
    if (size_t(ARow) >= FRows.size()) return nullptr;
    const TRowObjects* O = FRows[size_t(ARow)].Objects;
    if (!O || ACol >= O->Count) return nullptr;
    return O->Items()[ACol];
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
    CheckIndex(ACol);
    CheckIndex(ARow);
    if (size_t(ARow) >= FRows.size()) {
        if (!Value) return;
        FRows.resize(size_t(ARow) + 1);
    }
    WriteObject(FRows[size_t(ARow)].Objects, ACol, Value);
}

void TStringGrid::WriteObject(TRowObjects*& O, int ACol, TObject* Value) {
    int Count = O ? O->Count : 0;
    if (ACol >= Count) {
        if (!Value) return;
        int NewCount = ACol + 1;
        void* P = std::realloc(O, sizeof(TRowObjects) + size_t(NewCount) * sizeof(TObject*));
        if (!P) throw EOutOfResources(QStringLiteral("Out of memory"));
        O = static_cast<TRowObjects*>(P);
        if (Count == 0) O->Count = 0;
        for (int I = O->Count; I < NewCount; ++I) O->Items()[I] = nullptr;
        O->Count = NewCount;
    }
    O->Items()[ACol] = Value;
}

QString TStringGrid::GetEditText(int ACol, int ARow) {
    QString Value = Cells(ACol, ARow);
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, Value);
    return Value;
}

void TStringGrid::SetEditText(int ACol, int ARow, const QString& Value) {
    SetCells(ACol, ARow, Value);
    TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (PlatformDefaultDrawing()) {
        QString S = Cells(ACol, ARow);
        if (!S.isEmpty()) {
            TCanvas* C = Canvas();
            C->Brush()->SetStyle(bsClear);
            C->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, S);
            C->Brush()->SetStyle(bsSolid);
        }
    }
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

// Moves the entry From to To in every stored row, the entries between shifting by one.
void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
    int Hi = std::max(FromIndex, ToIndex);
    std::vector<QString> Texts;
    std::vector<TObject*> Objs;
    for (size_t R = 0; R < FRows.size(); ++R) {
        TRowData& D = FRows[R];
        bool HasTexts = D.Texts && D.Texts->Count > std::min(FromIndex, ToIndex);
        bool HasObjs = D.Objects && D.Objects->Count > std::min(FromIndex, ToIndex);
        if (HasTexts) {
            Texts.clear();
            for (int C = 0; C <= Hi; ++C) Texts.push_back(Cells(C, int(R)));
            RotateItem(Texts, FromIndex, ToIndex);
            for (int C = std::min(FromIndex, ToIndex); C <= Hi; ++C) WriteText(C, int(R), Texts[size_t(C)]);
        }
        if (HasObjs) {
            Objs.clear();
            for (int C = 0; C <= Hi; ++C) Objs.push_back(Objects(C, int(R)));
            RotateItem(Objs, FromIndex, ToIndex);
            for (int C = std::min(FromIndex, ToIndex); C <= Hi; ++C) SetObjects(C, int(R), Objs[size_t(C)]);
        }
    }
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
    size_t Need = size_t(std::max(FromIndex, ToIndex)) + 1;
    if (FRows.size() < Need) FRows.resize(Need);
    RotateItem(FRows, FromIndex, ToIndex);
    TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::DeleteRowData(int ARow, int ACount) {
    if (size_t(ARow) >= FRows.size()) return;
    size_t End = std::min(FRows.size(), size_t(ARow) + size_t(ACount));
    for (size_t R = size_t(ARow); R < End; ++R) FreeRow(FRows[R]);
    FRows.erase(FRows.begin() + ARow, FRows.begin() + long(End));
}

void TStringGrid::InsertRowData(int ARow, int ACount) {
    if (size_t(ARow) >= FRows.size()) return;
    FRows.insert(FRows.begin() + ARow, size_t(ACount), TRowData{});
}

void TStringGrid::RearrangeRowData(const std::vector<int>& Plan) {
    // Rows that only close up (each taken from its own place or below) or only open gaps (from
    // its own place or above) move in place; any other plan builds a new row array.
    bool Up = true;
    bool Down = true;
    int Last = -1;
    size_t Named = 0; // old rows inside the row array that the plan keeps
    for (size_t I = 0; I < Plan.size(); ++I) {
        const int Old = Plan[I];
        if (Old < 0) continue;
        if (Old <= Last) Up = Down = false;
        Last = Old;
        if (size_t(Old) < FRows.size()) ++Named;
        if (size_t(Old) < I) Up = false;
        if (size_t(Old) > I) Down = false;
    }
    if (Up || Down) {
        size_t Next = 0; // rows below Next are taken or freed
        auto FreeUpTo = [&](size_t End) {
            for (End = std::min(End, FRows.size()); Next < End; ++Next)
                if (FRows[Next].Texts || FRows[Next].Objects) FreeRow(FRows[Next]);
        };
        auto Source = [&](int Old) { return Old >= 0 && size_t(Old) < FRows.size() ? FRows[size_t(Old)] : TRowData{}; };
        if (Up) {
            // One pass that frees and moves together: on a large sheet a second walk over the
            // whole row array costs as much as the move itself. A row at or below slot I is never
            // named after step I (sources only close up), so freeing it there is safe, and no
            // slot at or above Next has been written yet.
            const size_t OldSize = FRows.size();
            for (size_t I = 0; I < Plan.size(); ++I) {
                const int Old = Plan[I];
                if (Old >= 0) {
                    FreeUpTo(size_t(Old));
                    Next = std::max(Next, size_t(Old) + 1);
                } else {
                    FreeUpTo(I + 1);
                }
                if (I < OldSize) FRows[I] = Source(Old);
            }
            FreeUpTo(OldSize);
            FRows.resize(std::min(OldSize, Plan.size()));
            return;
        }
        // Free the rows no one takes, then move the others.
        if (Named < FRows.size()) {
            for (int Old : Plan)
                if (Old >= 0) {
                    FreeUpTo(size_t(Old));
                    Next = std::max(Next, size_t(Old) + 1);
                }
            FreeUpTo(FRows.size());
        }
        const size_t OldSize = FRows.size();
        if (FRows.size() < Plan.size()) FRows.resize(Plan.size());
        for (size_t I = Plan.size(); I-- > 0;)
            FRows[I] = Plan[I] >= 0 && size_t(Plan[I]) < OldSize ? FRows[size_t(Plan[I])] : TRowData{};
        FRows.resize(Plan.size());
        return;
    }
    std::vector<TRowData> Rows(Plan.size());
    for (size_t I = 0; I < Plan.size(); ++I) {
        const int Old = Plan[I];
        if (Old < 0 || size_t(Old) >= FRows.size()) continue;
        Rows[I] = FRows[size_t(Old)];
        FRows[size_t(Old)] = {}; // a row named twice comes back empty the second time
    }
    for (TRowData& R : FRows)
        if (R.Texts || R.Objects) FreeRow(R);
    FRows = std::move(Rows);
}

void TStringGrid::DeleteColData(int ACol, int ACount) {
    for (size_t R = 0; R < FRows.size(); ++R) {
        TRowData& D = FRows[R];
        if (D.Texts && D.Texts->Count > ACol) {
            int N = D.Texts->Count;
            std::vector<QString> Texts;
            for (int C = 0; C < N; ++C) Texts.push_back(Cells(C, int(R)));
            Texts.erase(Texts.begin() + ACol, Texts.begin() + std::min(N, ACol + ACount));
            std::free(D.Texts);
            D.Texts = nullptr;
            for (int C = 0; C < int(Texts.size()); ++C) WriteText(C, int(R), Texts[size_t(C)]);
        }
        if (D.Objects && D.Objects->Count > ACol) {
            TObject** Items = D.Objects->Items();
            int N = D.Objects->Count;
            int Cut = std::min(N, ACol + ACount) - ACol;
            std::memmove(Items + ACol, Items + ACol + Cut, size_t(N - ACol - Cut) * sizeof(TObject*));
            D.Objects->Count = N - Cut;
        }
    }
}

TStrings* TStringGrid::Rows(int ARow) {
    CheckIndex(ARow);
    auto& V = FRowViews[ARow];
    if (!V) V = std::make_unique<TStringGridStrings>(this, true, ARow);
    return V.get();
}

TStrings* TStringGrid::Cols(int ACol) {
    CheckIndex(ACol);
    auto& V = FColViews[ACol];
    if (!V) V = std::make_unique<TStringGridStrings>(this, false, ACol);
    return V.get();
}

// ---- TStringGridStrings ---------------------------------------------------------------------------
int TStringGridStrings::Count() const { return FIsRow ? FGrid->ColCount() : FGrid->RowCount(); }

void TStringGridStrings::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) Error(QStringLiteral("List index out of bounds (%d)"), Index);
}

QString TStringGridStrings::Get(int Index) const {
    CheckIndex(Index);
    return FIsRow ? FGrid->Cells(Index, FIndex) : FGrid->Cells(FIndex, Index);
}

void TStringGridStrings::Put(int Index, const QString& S) {
    CheckIndex(Index);
    if (FIsRow)
        FGrid->SetCells(Index, FIndex, S);
    else
        FGrid->SetCells(FIndex, Index, S);
}

TObject* TStringGridStrings::GetObject(int Index) const {
    CheckIndex(Index);
    return FIsRow ? FGrid->Objects(Index, FIndex) : FGrid->Objects(FIndex, Index);
}

void TStringGridStrings::PutObject(int Index, TObject* AObject) {
    CheckIndex(Index);
    if (FIsRow)
        FGrid->SetObjects(Index, FIndex, AObject);
    else
        FGrid->SetObjects(FIndex, Index, AObject);
}

int TStringGridStrings::Add(const QString& S) {
    for (int I = 0; I < Count(); ++I) {
        if (Get(I).isEmpty() && !GetObject(I)) {
            Put(I, S);
            return I;
        }
    }
    return -1;
}

void TStringGridStrings::Insert(int Index, const QString& S) {
    (void)S;
    Error(QStringLiteral("Cannot insert into a grid line (%d)"), Index);
}

void TStringGridStrings::Delete(int Index) { Error(QStringLiteral("Cannot delete from a grid line (%d)"), Index); }

void TStringGridStrings::Clear() {
    for (int I = 0; I < Count(); ++I) {
        Put(I, QString());
        PutObject(I, nullptr);
    }
}

void TStringGridStrings::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TStrings*>(Source);
    if (!S) {
        TStrings::Assign(Source);
        return;
    }
    BeginUpdate();
    try {
        for (int I = 0; I < Count(); ++I) {
            bool Has = I < S->Count();
            Put(I, Has ? S->Get(I) : QString());
            PutObject(I, Has ? S->GetObject(I) : nullptr);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}
