// The string grid's scrolling on top of the platform grid's: always-visible and flat bars, the
// thin metro controls, the proportional thumb, thumb hints and synchronous scrolling, scrolling
// while dragging over the edges, stretching a column to the width, proportional sizing of all
// columns or rows, and keeping the last row clear of the search footer.
#include "grid/control/ExtGrid.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cmath>

// ---- settings -----------------------------------------------------------------------------------
void TExtStringGrid::SetScrollBars(TScrollStyle Value) {
    FScrollBarsSetting = Value;
    TBaseGrid::SetScrollBars(Value);
}

void TExtStringGrid::SetScrollBarAlways(TScrollBarAlways Value) {
    FScrollBarAlways = Value;
    ApplyScrollBarAlways(true);
}

void TExtStringGrid::SetScrollType(TScrollType Value) {
    if (Value != FScrollType) {
        FScrollType = Value;
        if (Value == ssFlat || Value == ssEncarta) {
            InitFlatScrollBars();
            UpdateFlatScrollBars();
        } else {
            DoneFlatScrollBars();
        }
        if (HandleAllocated()) {
            if (Value == ssMetro) {
                CreateMetroScrollControls();
                SetScrollBars(ssNone);
            } else {
                FreeMetroScrollControls();
                SetScrollBars(ssBoth);
            }
        }
    }
    ApplyFlatScrollStyle();
}

void TExtStringGrid::SetScrollColor(TColor Value) {
    FScrollColor = Value;
    ApplyFlatScrollColor();
}

void TExtStringGrid::SetScrollWidth(int Value) {
    FScrollWidth = Value;
    ApplyFlatScrollWidth();
}

void TExtStringGrid::SetScrollProportional(bool Value) {
    FScrollProportional = Value;
    if (Value) {
        UpdateVertProportional();
        UpdateHorzProportional();
    } else if (FFlatScroll && FScrollType == ssNormal) {
        DoneFlatScrollBars();
        for (int Bar : {SB_HORZ, SB_VERT}) {
            TScrollInfo SI;
            SI.fMask = SIF_PAGE;
            SI.nPage = 0;
            SetScrollInfo(Bar, SI);
        }
    }
}

// ---- always-visible bars --------------------------------------------------------------------------
bool TExtStringGrid::AllRowsFit() const { return VisibleRowCount() + FixedRows() >= RowCount(); }

bool TExtStringGrid::AllColsFit() const { return VisibleColCount() + FixedCols() >= ColCount(); }

void TExtStringGrid::ApplyScrollBarAlways(bool HideUnneeded) {
    bool RowsFit = AllRowsFit(), ColsFit = AllColsFit();
    if (FScrollBarAlways != saNone) {
        if (RowsFit) ShowScrollBar(SB_VERT, FScrollBarAlways == saVert || FScrollBarAlways == saBoth);
        if (ColsFit) ShowScrollBar(SB_HORZ, FScrollBarAlways == saHorz || FScrollBarAlways == saBoth);
        EnableScrollBar(SB_VERT, !RowsFit);
        EnableScrollBar(SB_HORZ, !ColsFit);
    } else if (HideUnneeded) {
        if (RowsFit) ShowScrollBar(SB_VERT, false);
        if (ColsFit) ShowScrollBar(SB_HORZ, false);
    }
}

// ---- flat bars ------------------------------------------------------------------------------------
// The platform's own bars stand in for the flat bars of the common controls: the flat settings
// are kept and applied to them where they have a meaning (visibility, scroll information).
void TExtStringGrid::InitFlatScrollBars() { FFlatScroll = true; }

void TExtStringGrid::DoneFlatScrollBars() { FFlatScroll = false; }

void TExtStringGrid::ApplyFlatScrollStyle() {
    if (!FFlatScroll) return;
    FFlatStyle = FScrollType == ssFlat ? 2 : FScrollType == ssEncarta ? 1 : 0;
}

void TExtStringGrid::ApplyFlatScrollColor() {
    if (!FFlatScroll || FScrollColor == clNone) return;
    FFlatColor = FScrollColor;
}

void TExtStringGrid::ApplyFlatScrollWidth() {
    if (!FFlatScroll) return;
    FFlatWidth = FScrollWidth;
}

void TExtStringGrid::FlatShowScrollBar(int Bar, bool Show) {
    bool Included = Bar == SB_VERT ? (FScrollBarsSetting == ssVertical || FScrollBarsSetting == ssBoth)
                                   : (FScrollBarsSetting == ssHorizontal || FScrollBarsSetting == ssBoth);
    if (Included) ShowScrollBar(Bar, Show);
}

void TExtStringGrid::UpdateVertFlatScroll() {
    if (!FFlatScroll || !(FScrollBarsSetting == ssVertical || FScrollBarsSetting == ssBoth)) return;
    TScrollInfo SI;
    GetScrollInfo(SB_VERT, SI);
    FFlatInfo[SB_VERT] = SI;
}

void TExtStringGrid::UpdateHorzFlatScroll() {
    if (!FFlatScroll || !(FScrollBarsSetting == ssHorizontal || FScrollBarsSetting == ssBoth)) return;
    TScrollInfo SI;
    GetScrollInfo(SB_HORZ, SI);
    FFlatInfo[SB_HORZ] = SI;
}

void TExtStringGrid::UpdateFlatScrollBars() {
    ApplyFlatScrollStyle();
    ApplyFlatScrollColor();
    ApplyFlatScrollWidth();
    if (!FFlatScroll) return;
    FlatShowScrollBar(SB_VERT, !AllRowsFit());
    if (!AllRowsFit()) UpdateVertFlatScroll();
    FlatShowScrollBar(SB_HORZ, !AllColsFit());
    if (!AllColsFit()) UpdateHorzFlatScroll();
}

// ---- metro controls -------------------------------------------------------------------------------
void TExtStringGrid::CreateMetroScrollControls() {
    // Each control is made when it is missing; one that exists is kept.
    if (!FMetroVert) {
        FMetroVert = new TScrollControl(this);
        FMetroVert->SetDirection(sdVertical);
        FMetroVert->SetParent(this);
        FMetroVert->SetWidth(6);
        FMetroVert->SetAlign(alRight);
        FMetroVert->SetVisible(true);
    }
    if (!FMetroHorz) {
        FMetroHorz = new TScrollControl(this);
        FMetroHorz->SetDirection(sdHorizontal);
        FMetroHorz->SetParent(this);
        FMetroHorz->SetHeight(6);
        FMetroHorz->SetAlign(alBottom);
        FMetroHorz->SetVisible(true);
    }
}

void TExtStringGrid::FreeMetroScrollControls() {
    delete FMetroVert;
    delete FMetroHorz;
    FMetroVert = nullptr;
    FMetroHorz = nullptr;
}

// ---- proportional thumb ---------------------------------------------------------------------------
bool TExtStringGrid::ProportionalBlocked() const {
    return !FScrollProportional || ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning) ||
        FScrollLocked;
}

void TExtStringGrid::UpdateHorzProportional() {
    if (ProportionalBlocked()) return;
    TScrollInfo SI;
    GetScrollInfo(SB_HORZ, SI);
    const int L = GridLineWidth();
    int b = L, c = L, d = L, Total = 0;
    for (int i = 0; i < ColCount(); ++i) {
        int W = ColWidths(i);
        Total += W;
        if (i < FixedCols())
            b += L + W;
        else {
            c += L + W;
            if (i < LeftCol()) d += L + W;
        }
    }
    if (c <= 0) return;
    float e = float(Width() - b) / float(c);
    if (e >= 0.9999f) return;
    float f = (e + 127.0f) / (1.0f - e);
    int p = Width() < c ? int(float(d) / float(c - Width()) * 128.0f) : SI.nPos;
    if (b + c - Width() < 5) return;
    SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    SI.nMin = 0;
    SI.nMax = int(f);
    SI.nPage = unsigned(std::max(SI.nMax - 126, 0));
    SI.nPos = p;
    SetScrollInfo(SB_HORZ, SI);
    UpdateHorzFlatScroll();
    if (FScrollBarAlways != saHorz && FScrollBarAlways != saBoth) {
        bool HasHorz = FScrollBarsSetting == ssHorizontal || FScrollBarsSetting == ssBoth;
        if (!(Total >= Width() && HasHorz)) ShowScrollBar(SB_HORZ, false);
    }
}

void TExtStringGrid::UpdateVertProportional() {
    if (ProportionalBlocked() || AllRowsFit()) return;
    TScrollInfo SI;
    GetScrollInfo(SB_VERT, SI);
    const int L = GridLineWidth();
    int b = L, c = L, d = L;
    for (int i = 0; i < RowCount(); ++i) {
        int H = RowHeights(i);
        if (i < FixedRows())
            b += L + H;
        else {
            c += L + H;
            if (i < TopRow()) d += L + H;
        }
    }
    if (c == 0) return;
    float e = float(Height() - b) / float(c);
    if (e >= 0.9999f) return;
    float f = (e + 127.0f) / (1.0f - e);
    int p = Height() < c ? int(float(d) / float(c - Height()) * 128.0f) : 127;
    if (b + c - Height() < 5) return;
    SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    SI.nMin = 0;
    SI.nMax = int(f);
    SI.nPage = unsigned(std::max(SI.nMax - 126, 0));
    SI.nPos = p;
    SetScrollInfo(SB_VERT, SI);
    UpdateVertFlatScroll();
}

// ---- scroll messages ------------------------------------------------------------------------------
int TExtStringGrid::ScrollHintRow(int Pos) const {
    return FixedRows() + MulDiv(Pos, RowCount() - VisibleRowCount() - FixedRows(), GridScrollMax);
}

int TExtStringGrid::ScrollHintCol(int Pos) const {
    return FixedCols() + MulDiv(Pos, ColCount() - VisibleColCount() - FixedCols(), GridScrollMax);
}

void TExtStringGrid::ShowScrollHint(const QString& Text) {
    // The hint window shows the text 10 pixels right of the mouse cursor, at most 100 wide.
    FScrollHintText = Text;
    FScrollHintShown = true;
}

void TExtStringGrid::HideScrollHint() { FScrollHintShown = false; }

TGridRect TExtStringGrid::FixedBackgroundCells() {
    if (BackGround()->Display() != bdFixed) return GridRect(-1, -1, -1, -1);
    int c1, r1, c2, r2;
    MouseToCell(BackGround()->Left(), BackGround()->Top(), c1, r1);
    MouseToCell(BackGround()->Left() + FBackGroundWidth, BackGround()->Top() + FBackGroundHeight, c2, r2);
    return GridRect(c1, r1, c2, r2);
}

bool TExtStringGrid::CellScrollBarMessage(TMessage& Message) {
    if (!FCellScrollBar || Message.LParam != LPARAM(FCellScrollBar)) return false;
    Word Code = LoWord(Message.WParam);
    int Pos = FCellScrollBar->Position(), New = Pos;
    switch (Code) {
        case SB_LINEUP: New = std::max(Pos - 10, FCellScrollBar->Min()); break;
        case SB_LINEDOWN: New = std::min(Pos + 10, FCellScrollBar->Max()); break;
        case SB_PAGEUP: New = std::max(Pos - 100, FCellScrollBar->Min()); break;
        case SB_PAGEDOWN: New = std::min(Pos + 100, FCellScrollBar->Max()); break;
        case SB_THUMBTRACK: New = int16_t(HiWord(Message.WParam)); break;
        default: break;
    }
    if (New != Pos) {
        FCellScrollBar->SetPosition(New);
        // The bar stops where its page meets the end of the range; report only where it really is.
        New = FCellScrollBar->Position();
    }
    if (New != Pos) {
        Message.Result = 1;
        FScrollPos = New;
        FScrollMin = FCellScrollBar->Min();
        FScrollMax = FCellScrollBar->Max();
        // The cell keeps its own position: the painter and the next placement of the bar read it there.
        if (FScrollCol >= 0 && FScrollRow >= 0 && FScrollRow < RowCount() && FScrollCol < ColCount())
            SetScrollPosition(RealColIndex(FScrollCol), FScrollRow, New);
        RepaintCell(FScrollCol, FScrollRow);
        DoScrollCell(FScrollCol, FScrollRow);
    }
    return true;
}

void TExtStringGrid::WMVScroll(TMessage& Message) {
    if (ComponentState().Contains(csDesigning)) {
        TBaseGrid::WndProc(Message);
        return;
    }
    Word Code = LoWord(Message.WParam);
    int Pos = int16_t(HiWord(Message.WParam));
    if (CellScrollBarMessage(Message)) return;
    int r = ScrollHintRow(Pos);
    if (FScrollHints == shVertical || FScrollHints == shBoth) {
        if (Code == SB_ENDSCROLL) HideScrollHint();
        if (Code == SB_THUMBTRACK) {
            QString Hint = QStringLiteral("Row : %1").arg(r);
            if (OnScrollHint) OnScrollHint(this, r, Hint);
            ShowScrollHint(Hint);
        }
    }
    if (FScrollSynch && Code == SB_THUMBTRACK) TBaseGrid::SetTopRow(r);
    TGridRect OldBk = FixedBackgroundCells();
    bool Footer = SearchFooter()->Visible();
    if ((Code == SB_ENDSCROLL || Code == SB_LINEDOWN) && Footer && LastRowAboveSearchFooter()) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::WndProc(Message);
    int LastTop = RowCount() - VisibleRowCount();
    if (Code == SB_LINEUP && Footer && TopRow() == LastTop) TBaseGrid::SetTopRow(TopRow() - 1);
    if ((Code == SB_ENDSCROLL || Code == SB_LINEDOWN) && Footer && TopRow() == LastTop) ScrollLastRowAboveFooter();
    TGridRect NewBk = FixedBackgroundCells();
    if (Code != SB_THUMBTRACK && !(OldBk == NewBk)) {
        InvalidateRect(OldBk);
        InvalidateRect(NewBk);
    }
    UpdateVertFlatScroll();
    UpdateHorzFlatScroll();
    if (CurrentCellHoldsCheckBox()) HideEditor();
}

void TExtStringGrid::WMHScroll(TMessage& Message) {
    Word Code = LoWord(Message.WParam);
    int Pos = int16_t(HiWord(Message.WParam));
    int k = ScrollHintCol(Pos);
    if (FScrollHints == shHorizontal || FScrollHints == shBoth) {
        if (Code == SB_ENDSCROLL) HideScrollHint();
        if (Code == SB_THUMBTRACK) {
            QString Hint = QStringLiteral("Col : %1").arg(k);
            if (OnScrollHint) OnScrollHint(this, k, Hint);
            ShowScrollHint(Hint);
        }
    }
    if (FFlatScroll && Code == SB_THUMBPOSITION && ColCount() > 0) {
        int v = int(std::lround(double(VisibleColCount()) * 128.0 / double(ColCount())));
        if (v != 128) {
            Pos = int(std::lround(double(Pos) * 127.0 / double(128 - v)));
            Message.WParam = MakeWParam(Code, Word(Pos));
        }
    }
    if (FScrollSynch && Code == SB_THUMBTRACK) SetLeftCol(k);
    TGridRect OldBk = FixedBackgroundCells();
    if (FixedCols() == 0 && k >= Col()) HideInplaceEditStandIn();
    TBaseGrid::WndProc(Message);
    TGridRect NewBk = FixedBackgroundCells();
    if (Code != SB_THUMBTRACK && !(OldBk == NewBk)) {
        InvalidateRect(OldBk);
        InvalidateRect(NewBk);
    }
    if (Code == SB_ENDSCROLL) {
        if (!isLeftToRight() && MergeCount() > 0) Invalidate();
        if (ColCount() == 1) Repaint();
    }
    UpdateVertFlatScroll();
    UpdateHorzFlatScroll();
    if (CurrentCellHoldsCheckBox()) HideEditor();
    InvalidateFooterPanel();
}

LRESULT TExtStringGrid::DialogCode() const {
    LRESULT Code = TBaseGrid::DialogCode();
    if (Navigation()->AutoGotoWhenSorted() || !Options().Contains(goEditing)) Code |= DLGC_WANTCHARS;
    return Code;
}

// ---- search footer --------------------------------------------------------------------------------
bool TExtStringGrid::LastRowAboveSearchFooter() {
    if (!SearchFooter()->Visible()) return false;
    if (TopRow() + VisibleRowCount() < RowCount() - 1) return false;
    TRect R = CellRect(0, RowCount() - 1);
    if (R.IsEmpty()) return false;
    return R.Bottom < Height() - SearchPanelHeight() + 2;
}

void TExtStringGrid::ScrollLastRowAboveFooter() {
    if (!SearchFooter()->Visible()) return;
    int Limit = ClientHeight() - SearchPanelHeight();
    if (DefaultRowHeight() + SearchPanelHeight() >= ClientHeight()) return;
    for (int Guard = RowCount(); Guard > 0; --Guard) {
        TRect R = CellRect(0, RowCount() - 1);
        if (!R.IsEmpty() && R.Bottom <= Limit) break;
        if (Row() < 0 || Row() >= RowCount()) break;
        int Before = TopRow();
        TBaseGrid::SetTopRow(TopRow() + 1);
        if (TopRow() == Before) break;
    }
}

// ---- drag-over scrolling --------------------------------------------------------------------------
void TExtStringGrid::StopDragScroll() { FDragScrollTimer.reset(); }

void TExtStringGrid::DragScrollOver(int X, int Y, TDragState State) {
    TDragScrollOptions* O = DragScrollOptions();
    if (!O->Active()) {
        StopDragScroll();
        return;
    }
    if (State == dsDragLeave) {
        StopDragScroll();
        return;
    }
    TDragScrollDirection Dir;
    if (Y < O->Margins.TopMargin)
        Dir << dsdUp;
    else if (Y > Height() - O->Margins.BottomMargin)
        Dir << dsdDown;
    if (X < O->Margins.LeftMargin)
        Dir << dsdLeft;
    else if (X > Width() - O->Margins.RightMargin)
        Dir << dsdRight;
    TDragScrollDirection Previous = FDragScrollDir;
    FDragScrollDir = Dir;
    if (Dir.Empty()) {
        StopDragScroll();
        return;
    }
    if (!FDragScrollTimer) {
        FDragScrollTimer = std::make_unique<TTimer>(nullptr);
        FDragScrollTimer->SetInterval(unsigned(O->Delays.InitialDelay));
        FDragScrollTimer->OnTimer = [this](TObject*) { DragScrollTick(); };
        FDragScrollTimer->SetEnabled(true);
    } else if (!Previous.Empty()) {
        FDragScrollTimer->SetInterval(unsigned(O->Delays.InitialDelay));
    }
}

void TExtStringGrid::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    (void)Source;
    (void)Accept;
    DragScrollOver(X, Y, State);
}

void TExtStringGrid::DragScrollTick() {
    TDragScrollOptions* O = DragScrollOptions();
    if (!O->Active()) {
        StopDragScroll();
        return;
    }
    FDragScrollTimer->SetInterval(unsigned(O->Delays.RepeatDelay));
    TDragScrollDirection Dir = FDragScrollDir;
    if (OnDragScroll) {
        bool CanScroll = true;
        OnDragScroll(this, TopRow(), LeftCol(), Dir, CanScroll);
        if (!CanScroll) return;
    }
    if (Dir.Contains(dsdUp) && TopRow() > FixedRows()) TBaseGrid::SetTopRow(TopRow() - 1);
    if (Dir.Contains(dsdDown) && TopRow() + VisibleRowCount() < RowCount()) TBaseGrid::SetTopRow(TopRow() + 1);
    if (Dir.Contains(dsdLeft) && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
    if (Dir.Contains(dsdRight) && LeftCol() + VisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
}

// ---- stretching and size notifications ------------------------------------------------------------
void TExtStringGrid::StretchRightColumn() { StretchColumn(ColCount() - 1); }

void TExtStringGrid::StretchColumn(int Index) {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
    if (Application && Application->Terminated()) return;
    if (Index == -1) Index = ColCount() - 1;
    if (Index >= ColCount()) throw Exception(QStringLiteral("Stretch column index out of range"));
    if (ColCount() == 0 || !ColumnSize()->Stretch() || FStretching) return;
    FStretching = true;
    struct Restore {
        bool& F;
        ~Restore() { F = false; }
    } R{FStretching};
    if (ColCount() == 1) {
        SetColWidths(Index, ClientWidth());
    } else {
        int s = 0;
        for (int i = 0; i < ColCount(); ++i)
            if (i != Index) s += ColWidths(i);
        if (s < ClientWidth())
            SetColWidths(Index, ClientWidth() - s - 1);
        else if (LeftCol() == FixedCols())
            SetColWidths(Index, DefaultColWidth());
    }
    if (FloatingFooter()->Visible() && FooterPanel()) FooterPanel()->SetAlign(alBottom);
}

void TExtStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
    if (!Parent() || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
    if (Application && Application->Terminated()) return;
    if (ColumnSize()->Stretch()) StretchColumn(ColumnSize()->StretchColumn());
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    if (FFlatScroll) {
        FlatShowScrollBar(SB_VERT, !AllRowsFit());
        FlatShowScrollBar(SB_HORZ, !AllColsFit());
        UpdateVertFlatScroll();
        UpdateHorzFlatScroll();
    }
}

void TExtStringGrid::ColWidthsChanged() {
    if (!FStretching) StretchColumn(ColumnSize()->StretchColumn());
    if (ComponentState().Contains(csDesigning)) HideScrollHint();
    TBaseGrid::ColWidthsChanged();
    if (FSizedCol >= 0 && !FSizingScale) {
        int ACol = FSizedCol;
        FSizedCol = -1;
        FSizingScale = true;
        struct Restore {
            bool& F;
            ~Restore() { F = false; }
        } R{FSizingScale};
        if (MouseActions()->AllColumnSize() && FSizeAtStart > 0 && ACol < ColCount()) {
            double r = double(ColWidths(ACol)) / double(FSizeAtStart);
            for (int i = FixedCols(); i < ColCount(); ++i)
                if (i != ACol) SetColWidths(i, int(std::lround(ColWidths(i) * r)));
        }
        if (OnEndColumnSize) OnEndColumnSize(this, ACol);
        int W = ColWidths(ACol);
        DoUpdateColumnSize(ACol, W);
        if (W != ColWidths(ACol)) SetColWidths(ACol, W);
        FSizedRow = -1;
    }
    if (InplaceEditor() && InplaceEditor()->isVisible()) UpdateEdit();
    if (CurrentCellHoldsCheckBox()) HideEditor();
    InvalidateFooterPanel();
    CellControlsUpdate(false);
    if (ColumnSize()->Stretch() && FScrollProportional) UpdateVertProportional();
}

void TExtStringGrid::RowHeightsChanged() {
    TBaseGrid::RowHeightsChanged();
    if (FSizedRow >= 0 && !FSizingScale) {
        int ARow = FSizedRow;
        FSizedRow = -1;
        FSizingScale = true;
        struct Restore {
            bool& F;
            ~Restore() { F = false; }
        } R{FSizingScale};
        if (MouseActions()->AllRowSize() && FSizeAtStart > 0 && ARow < RowCount()) {
            double r = double(RowHeights(ARow)) / double(FSizeAtStart);
            for (int i = FixedRows(); i < RowCount(); ++i)
                if (i != ARow) SetRowHeights(i, int(std::lround(RowHeights(i) * r)));
        }
        if (OnEndRowSize) OnEndRowSize(this, ARow);
        FSizedCol = -1;
    }
    if (CurrentCellHoldsCheckBox()) HideEditor();
    CellControlsUpdate(false);
}

void TExtStringGrid::NoteSizingStart(bool IsColumn, int Index) {
    FSizedCol = IsColumn ? Index : -1;
    FSizedRow = IsColumn ? -1 : Index;
    FSizeAtStart = IsColumn ? ColWidths(Index) : RowHeights(Index);
}

bool TExtStringGrid::IsSizingBorder(int X, int Y) {
    int c, r;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0) return false;
    TRect R = CellRect(c, r);
    bool Result = false;
    if (r <= FixedRows() && Options().Contains(goColSizing))
        Result = std::abs(X - R.Left) < 4 || std::abs(X - R.Right) < 4;
    if (c <= FixedCols() && Options().Contains(goRowSizing))
        Result = std::abs(Y - R.Top) < 4 || std::abs(Y - R.Bottom) < 4;
    return Result;
}

int TExtStringGrid::SearchPanelHeight() const {
    return SearchFooter()->Visible() && SearchPanel() ? SearchPanel()->Height() : 0;
}

bool TExtStringGrid::CurrentCellHoldsCheckBox() {
    if (Col() < 0 || Col() >= ColCount() || Row() < 0 || Row() >= RowCount()) return false;
    switch (GetCellType(GetRealCol(), Row())) {
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox:
        case ctTriStateCheckBox: return true;
        default: return false;
    }
}

void TExtStringGrid::InvalidateFooterPanel() {
    if (FooterPanel()) FooterPanel()->Invalidate();
}
