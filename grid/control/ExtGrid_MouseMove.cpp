// The grid under a moving mouse (sizing events and hint, cursor zones, the hint reset), the
// double click, the right button and the cell hints.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"

#include <algorithm>
#include <cmath>

// ---- mouse move ------------------------------------------------------------------------------------
void TExtStringGrid::MouseMove(TShiftState Shift, int X, int Y) { MouseMoveOverride(Shift, X, Y); }

void TExtStringGrid::MouseMoveOverride(TShiftState Shift, int X, int Y) {
    if (FMouseDownMove && MouseActions()->RangeSelectAndEdit() && Options().Contains(goEditing) && !EditMode())
        SetOptions(Options() >> goEditing);
    const TGridRect Before = Selection();
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    // Header-driven selections follow the mouse.
    if (FMouseSelectStart >= 0 && FMouseKeepDown && MouseActions()->RowSelect() && FMouseSelectMode == msRow &&
        ARow >= FixedRows() && ARow < RowCount() - FixedFooters()) {
        const int R = std::max(FixedRows(), ARow);
        SetSelection(
            TGridRect{FixedCols(), std::min(FMouseSelectStart, R), ColCount() - 1, std::max(FMouseSelectStart, R)});
    }
    if (FMouseSelectStart >= 0 && FMouseKeepDown && MouseActions()->ColSelect() && FMouseSelectMode == msColumn &&
        ACol >= 0) {
        const int C = std::max(FixedCols(), ACol);
        SetSelection(
            TGridRect{std::min(FMouseSelectStart, C), FixedRows(), std::max(FMouseSelectStart, C), RowCount() - 1});
    }

    // Cursor zones that arm the header-driven selections on the next press.
    if (!FMouseKeepDown) {
        FMouseSelectMode = msNormal;
        if (SelectionResizer() && SelectionRectangle() && InSelectionResizer(X, Y))
            FMouseSelectMode = msResize;
        else if (ACol >= 0 && ARow >= 0) {
            if (ARow < FixedRows() && ACol < FixedCols() && MouseActions()->AllSelect())
                FMouseSelectMode = msAll;
            else if (ARow < FixedRows() && ACol >= FixedCols() && MouseActions()->ColSelect() && !IsSizingBorder(X, Y))
                FMouseSelectMode = msColumn;
            else if (ACol < FixedCols() && ARow >= FixedRows() && MouseActions()->RowSelect() && !IsSizingBorder(X, Y))
                FMouseSelectMode = msRow;
        }
    }

    // The hint belongs to one cell: leaving it takes the hint away, so the next one is built
    // for the new cell.
    if (FLastHintPos.X >= 0) {
        TPoint Base{-1, -1};
        if (ACol >= 0 && ARow >= 0) Base = BaseCell(ACol, ARow);
        if (Base.X != FLastHintPos.X || Base.Y != FLastHintPos.Y) {
            if (Application) Application->CancelHint();
            FLastHintPos = TPoint{-1, -1};
        }
    }

    TBaseGrid::MouseMove(Shift, X, Y);

    if (GridState() == gsColSizing) {
        ColSized = true;
        int Width = X;
        if (Colclicked >= 0 && Rowclicked >= 0) Width = X - CellRect(Colclicked, Rowclicked).Left - Clickposdx;
        if (OnColumnSizing) OnColumnSizing(this, Colclicked, Width);
        if (HintShowSizing() || IsDesigning()) ShowScrollHint(QStringLiteral("cw=<b>%1</b>").arg(Width));
    } else if (GridState() == gsRowSizing) {
        Rowsized = true;
        int Height = Y;
        if (Colclicked >= 0 && Rowclicked >= 0) Height = Y - CellRect(Colclicked, Rowclicked).Top - Clickposdy;
        if (OnRowSizing) OnRowSizing(this, Rowclicked, Height);
        if (HintShowSizing() || IsDesigning()) ShowScrollHint(QStringLiteral("rh=<b>%1</b>").arg(Height));
    }

    const TGridRect After = Selection();
    if (!(After.Left == Before.Left && After.Top == Before.Top && After.Right == Before.Right &&
          After.Bottom == Before.Bottom)) {
        DoSelectionChanged(After.Left, After.Top, After.Right, After.Bottom);
        // Reported now: the release reports only what changes after this.
        FMouseDownSelection = After;
    }
}

void TExtStringGrid::MouseLeaveMessageHandler(TMessage& Message) {
    RunPlatformMessage(Message);
    FMouseSelectMode = msNormal;
}

// ---- double click ----------------------------------------------------------------------------------
void TExtStringGrid::LButtonDblClkMessageHandler(TMessage& Message) {
    const int X = GetXLParam(Message.LParam), Y = GetYLParam(Message.LParam);
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0) {
        if (FixedRowAlways()) {
            RunPlatformMessage(Message);
            return;
        }
        // Right of the last column: the last column's header border.
        ACol = ColCount() - 1;
        ARow = 0;
    }
    if (ARow < 0) {
        RunPlatformMessage(Message);
        return;
    }

    if (ARow < FixedRows() && Options().Contains(goColSizing) && MouseActions()->AutoSizeColOnDblClick()) {
        const TRect R = CellRect(ACol, ARow);
        auto SizeColumn = [&](int C) {
            bool Allow = true;
            if (OnColumnSize) OnColumnSize(this, C, Allow);
            if (Allow) {
                AutoSizeCol(C, 0);
                if (OnEndColumnSize) OnEndColumnSize(this, C);
            }
        };
        if (std::abs(X - R.Left) <= 3 && ACol - 1 >= FixedCols()) {
            FDblClk = true;
            SizeColumn(ACol - 1);
            RunPlatformMessage(Message);
            return;
        }
        if (std::abs(X - R.Right) <= 3 && ACol >= FixedCols()) {
            FDblClk = true;
            SizeColumn(ACol);
            RunPlatformMessage(Message);
            return;
        }
    }

    const int RealCol = RealColIndex(ACol);
    if (HasCellControl(RealCol, ARow)) {
        RunPlatformMessage(Message);
        return;
    }

    RunPlatformMessage(Message);

    if (OnDblClickCell) {
        int C = -1, R = -1;
        MouseToCell(X, Y, C, R);
        OnDblClickCell(this, R, C);
    }

    if (MouseActions()->EditOnDblClickOnly()) {
        const bool Was = MouseActions()->RangeSelectAndEdit();
        MouseActions()->SetRangeSelectAndEdit(true);
        if (IsEditable(RealCol, ARow)) {
            SetOptions(Options() << goEditing);
            FOldCol = ACol;
            FOldRow = ARow;
            ShowInplaceEdit();
        }
        MouseActions()->SetRangeSelectAndEdit(Was);
    } else if (MouseActions()->RangeSelectAndEdit() && IsEditable(RealCol, ARow)) {
        SetOptions(Options() << goEditing);
        const TPoint Base = BaseCell(ACol, ARow);
        const TRect R = CellRect(Base.X, Base.Y);
        MouseDownOverride(mbLeft, {}, R.Left + 4, R.Top + 4);
    }
}

// ---- right button ----------------------------------------------------------------------------------
void TExtStringGrid::RButtonDownMessageHandler(TMessage& Message) {
    const int X = GetXLParam(Message.LParam), Y = GetYLParam(Message.LParam);
    RunPlatformMessage(Message);
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool Valid = ACol >= 0 && ARow >= 0;
    if (MouseActions()->SelectOnRightClick() && Valid && !(ACol < FixedCols() || ARow < FixedRows()) &&
        !IsFixed(ACol, ARow)) {
        const int RealCol = RealColIndex(ACol);
        const TGridRect S = Selection();
        const bool Selected = ACol >= S.Left && ACol <= S.Right && ARow >= S.Top && ARow <= S.Bottom;
        if (!HasCellControl(RealCol, ARow) && OnRightClickCell) FocusCell(ACol, ARow);
        if (Selected) {
            bool CanSelect = true;
            if (OnSelectCell) OnSelectCell(this, ACol, ARow, CanSelect);
        } else {
            const TPoint Base = BaseCell(ACol, ARow);
            MoveColRow(Base.X, Base.Y, true, true);
        }
    }
    if (OnRightClickCell) OnRightClickCell(this, ARow, ACol);
}

void TExtStringGrid::RButtonUpMessageHandler(TMessage& Message) {
    if (EnhRowColMove() && (GridState() == gsColMoving || GridState() == gsRowMoving)) {
        Message.Result = 0;
        return;
    }
    RunPlatformMessage(Message);
}

// ---- cell hints ------------------------------------------------------------------------------------
void TExtStringGrid::BuildCellHint(QString& HintStr, THintInfo& HintInfo) {
    int ACol = -1, ARow = -1;
    MouseToCell(HintInfo.CursorPos.X, HintInfo.CursorPos.Y, ACol, ARow);
    if (ACol >= 0 && ARow >= 0) {
        const TPoint Base = BaseCell(ACol, ARow);
        ACol = Base.X;
        ARow = Base.Y;
        FLastHintPos = TPoint{ACol, ARow};
        const TRect R = CellRect(ACol, ARow);
        const int RealCol = RealColIndex(ACol);
        TPoint Pos{HintInfo.CursorPos.X, R.Bottom + 6};
        const bool Normal = ACol >= FixedCols() && ARow >= FixedRows() && ACol < ColCount() - FixedRightCols() &&
            ARow < RowCount() - FixedFooters();
        const QString Text = GetCellEx(RealCol, ARow);
        if (HintShowCells() && Normal) {
            Pos.Y = R.Top;
            HintStr = HTMLHint() ? Text : GetStrippedCell(RealCol, ARow);
        }
        if (HintShowLargeText() && Normal) {
            const TSize Sz = GetCellTextSize(RealCol, ARow, false, false);
            if (Sz.cx > R.Right - R.Left || Sz.cy > R.Bottom - R.Top) {
                if (HintShowLargeTextPos() == hpCell) Pos = {R.Left, R.Top};
                HintStr =
                    (HTMLHint() || ClassifyCellText(Text, EnableHTML()) != 1) ? Text : GetStrippedCell(RealCol, ARow);
            }
        }
        const bool FooterRow = FloatingFooter()->Visible() && ARow == RowCount() - 1;
        if (!FooterRow) {
            QString Wide;
            DoGetCellHint(ACol, ARow, HintStr, Wide);
        }
        HintInfo.HintPos = ClientToScreen(Pos);
    }
    HintInfo.HintColor = HintColor();
}
