// The grid under a moving mouse (sizing events and hint, cursor zones, the hint reset), the
// double click, the right button and the cell hints.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "grid/control/ExtGridUnit.h"
#include "grid/control/HtmlHint.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"

#include <algorithm>
#include <cmath>

namespace {
bool InRectOf(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }
} // namespace

// ---- mouse move ------------------------------------------------------------------------------------
void TExtStringGrid::MouseMove(TShiftState Shift, int X, int Y) { MouseMoveOverride(Shift, X, Y); }

// The shared bar follows the mouse onto a cell whose text is taller than the cell. The bar and the
// cell it serves change together, so a move over a cell that needs no bar never leaves the bar
// writing its position into that other cell.
void TExtStringGrid::PlaceCellScrollBar(int ACol, int ARow) {
    if (!FCellScrollBar) return;
    const int RealCol = RealColIndex(ACol);
    if (!HasScrollBar(RealCol, ARow)) {
        if (FCellScrollBar->Visible()) FCellScrollBar->SetVisible(false);
        return;
    }
    const TScrollProp Prop = GetScrollProp(RealCol, ARow);
    if (Prop.Range <= 0 || Prop.PageSize >= Prop.Range) return;
    FScrollCol = ACol;
    FScrollRow = ARow;
    // Taken on every move: the program may have changed the cell's scrolling while the bar stood
    // over it, and the bar's next step starts from what it shows.
    const int Pos = std::max(0, GetScrollPosition(RealCol, ARow));
    const int Page = std::max(0, Prop.PageSize);
    if (FCellScrollBar->PageSize() != Page) FCellScrollBar->SetPageSize(Page);
    if (FCellScrollBar->Position() != Pos || FCellScrollBar->Min() != 0 || FCellScrollBar->Max() != Prop.Range)
        FCellScrollBar->SetParams(Pos, 0, Prop.Range);
    const TRect R = CellRect(ACol, ARow);
    const int GL = GridLineWidth();
    const TRect Place{R.Right - CellScrollBarWidth - GL, R.Top + GL, R.Right - GL, R.Bottom - GL};
    if (FCellScrollBar->Visible() && FCellScrollBar->BoundsRect() == Place) return;
    FCellScrollBar->SetBounds(Place.Left, Place.Top, CellScrollBarWidth, std::max(0, Place.Bottom - Place.Top));
    FCellScrollBar->SetVisible(true);
}

void TExtStringGrid::MouseMoveOverride(TShiftState Shift, int X, int Y) {
    if (FMouseDownMove && MouseActions()->RangeSelectAndEdit() && Options().Contains(goEditing) && !EditMode())
        SetOptions(Options() >> goEditing);
    const TGridRect Before = Selection();
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    // Hover: the row under the mouse, the fixed cell under it.
    if (ACol >= 0 && ARow >= 0 && !IsDesigning()) {
        if (HoverRow() && HoverRowIdx() != ARow) {
            const int Old = HoverRowIdx();
            SetHoverRowIdx(ARow);
            RepaintRow(ARow);
            if (Old >= 0 && Old < RowCount()) RepaintRow(Old);
        }
        PlaceCellScrollBar(ACol, ARow);
    }
    if (HoverFixedCells() != hfNone && !FNoMouseLeave && (FHoverFixedCell.X != ACol || FHoverFixedCell.Y != ARow)) {
        const TPoint Old = FHoverFixedCell;
        FHoverFixedCell = TPoint{ACol, ARow};
        auto IsFixedCell = [this](TPoint P) {
            return P.X >= 0 && P.Y >= 0 && P.X < ColCount() && P.Y < RowCount() &&
                (P.X < FixedCols() || P.Y < FixedRows());
        };
        if (IsFixedCell(Old)) RepaintCell(Old.X, Old.Y);
        if (IsFixedCell(FHoverFixedCell)) RepaintCell(ACol, ARow);
    }

    LinkHoverMove(ACol, ARow, X, Y);

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

    // A fixed column's (row's) right (bottom) border arms its sizing; a running sizing follows.
    FSizeFixed = false;
    FSizeFixedR = false;
    if (ACol >= 0 && ARow >= 0 && !IsDesigning()) {
        int Total = 0;
        for (int c = 0; c < FixedCols(); ++c) {
            Total += ColWidths(c) + 1;
            if (std::abs(X - Total) < 3) FSizeFixed = MouseActions()->SizeFixedCol();
        }
        Total = 0;
        for (int r = 0; r < FixedRows(); ++r) {
            Total += RowHeights(r) + 1;
            if (std::abs(Y - Total) < 3) FSizeFixedR = MouseActions()->SizeFixedRow();
        }
    }
    if (FSizingFixed) FSizeFixedX = X;
    if (FSizingFixedR) FSizeFixedY = Y;

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
    if (FLastBalloonPos.X >= 0 && Balloon()->Enable()) {
        TPoint Base{-1, -1};
        if (ACol >= 0 && ARow >= 0) Base = BaseCell(ACol, ARow);
        if (Base.X != FLastBalloonPos.X || Base.Y != FLastBalloonPos.Y) {
            if (FHToolTip) FHToolTip->ReleaseHandle();
            FLastBalloonPos = TPoint{-1, -1};
        }
    }

    // A press in the selection that moves on by more than 3 pixels drags the selection out.
    if (FSelectionClick && ACol >= 0 && ARow >= 0 && FMouseKeepDown && Shift.Contains(ssLeft) &&
        (std::abs(X - FOleDownPoint.X) > 3 || std::abs(Y - FOleDownPoint.Y) > 3) &&
        DragDropSettings()->OleDropSource() && GridState() != gsColSizing &&
        !(SelectionResizer() && SelectionRectangle() && InSelectionResizer(X, Y))) {
        FSelectionClick = false;
        // The drag runs to its end in here. The move then goes on as any other: a refused drag
        // selects from this very move on, and a selection the drop changed is announced below.
        OleDragStart(ACol, ARow);
    }

    TBaseGrid::MouseMove(Shift, X, Y);

    if (FSizingFixed) {
        if (OnColumnSizing) OnColumnSizing(this, 0, FSizeFixedX);
        if (HintShowSizing() || IsDesigning()) ShowScrollHint(QStringLiteral("cw=<b>%1</b>").arg(FSizeFixedX));
    } else if (FSizingFixedR) {
        if (OnRowSizing) OnRowSizing(this, 0, FSizeFixedY);
        if (HintShowSizing() || IsDesigning()) ShowScrollHint(QStringLiteral("rh=<b>%1</b>").arg(FSizeFixedY));
    } else if (GridState() == gsColSizing) {
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

    // The platform sends no set-cursor message: the cursor is chosen on every move.
    SetCursorMessageHandler(X, Y);

    const TGridRect After = Selection();
    if (!(After.Left == Before.Left && After.Top == Before.Top && After.Right == Before.Right &&
          After.Bottom == Before.Bottom)) {
        DoSelectionChanged(After.Left, After.Top, After.Right, After.Bottom);
        // Reported now: the release reports only what changes after this.
        FMouseDownSelection = After;
    }
}

// The link under the mouse: drawn hovered while the mouse is on it, announced when it changes.
void TExtStringGrid::LinkHoverMove(int ACol, int ARow, int X, int Y) {
    QString Anchor, Title;
    int Link = -1;
    if (ACol >= 0 && ARow >= 0 && !IsDesigning()) Link = HTMLAnchorAt(ACol, ARow, X, Y, Anchor, Title);
    const TPoint Cell = Link > 0 ? TPoint{ACol, ARow} : TPoint{-1, -1};
    const bool CellChanged = Cell.X != FLinkHoverCell.X || Cell.Y != FLinkHoverCell.Y;
    if (CellChanged || Link != FLinkHoverIndex) {
        const TPoint Old = FLinkHoverCell;
        FLinkHoverCell = Cell;
        FLinkHoverIndex = Link > 0 ? Link : -1;
        if (Old.X >= 0 && Old.X < ColCount() && Old.Y < RowCount()) RepaintCell(Old.X, Old.Y);
        if (Cell.X >= 0) RepaintCell(Cell.X, Cell.Y);
    }
    if (Link > 0) {
        if (Title.isEmpty() && OnAnchorHint) OnAnchorHint(this, ARow, ACol, Anchor);
        if (!FLastAnchorHint.isEmpty() && Title != FLastAnchorHint && Anchor != FAnchor) {
            FLastAnchorHint = Title;
            if (Application) Application->CancelHint();
        }
        if (Anchor != FAnchor) {
            setCursor(CursorToQCursor(crHandPoint));
            FAnchor = Anchor;
            if (OnAnchorEnter) OnAnchorEnter(this, ARow, ACol, Anchor);
        }
    } else if (!FAnchor.isEmpty()) {
        FAnchor.clear();
        setCursor(CursorToQCursor(Cursor()));
        if (OnAnchorExit) OnAnchorExit(this, ARow, ACol, QString());
    }
}

void TExtStringGrid::MouseLeaveMessageHandler(TMessage& Message) {
    RunPlatformMessage(Message);
    FMouseSelectMode = msNormal;
    FSizeFixed = false;
    FSizeFixedR = false;
    if (!FNoMouseLeave && FHoverFixedCell.X >= 0) {
        const TPoint Old = FHoverFixedCell;
        FHoverFixedCell = TPoint{-1, -1};
        if (Old.X < ColCount() && Old.Y < RowCount()) RepaintCell(Old.X, Old.Y);
    }
    if (FLinkHoverCell.X >= 0) {
        const TPoint Old = FLinkHoverCell;
        FLinkHoverCell = TPoint{-1, -1};
        FLinkHoverIndex = -1;
        if (Old.X < ColCount() && Old.Y < RowCount()) RepaintCell(Old.X, Old.Y);
    }
    if (HoverRow() && HoverRowIdx() >= 0) {
        const int Old = HoverRowIdx();
        SetHoverRowIdx(-1);
        if (Old < RowCount()) RepaintRow(Old);
    }
}

// ---- balloons ----------------------------------------------------------------------------------------
void TExtStringGrid::BalloonInit() {
    if (FBalloonInited) return;
    FBalloonInited = true;
    FHToolTip = new THintWindow(this);
}

void TExtStringGrid::BalloonDone() {
    // Switched off or not, a window that exists goes: Enable is already false when balloons
    // are being switched off.
    delete FHToolTip;
    FHToolTip = nullptr;
    FBalloonInited = false;
    FLastBalloonPos = TPoint{-1, -1};
}

// ---- double click ----------------------------------------------------------------------------------
void TExtStringGrid::LButtonDblClkMessageHandler(TMessage& Message) {
    const int X = GetXLParam(Message.LParam), Y = GetYLParam(Message.LParam);
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool WasForceSel = FForceSel;
    struct RestoreForceSel {
        bool& F;
        bool V;
        ~RestoreForceSel() { F = V; }
    } ForceSelGuard{FForceSel, WasForceSel};
    if (MouseActions()->RangeSelectAndEdit() && ACol >= 0 && ARow >= 0 && !HasCellControl(RealColIndex(ACol), ARow))
        FForceSel = true;
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
    // A double click on a cell button is two presses of the button, nothing more.
    if (HasCellButton(RealCol, ARow) && InRectOf(ButtonRect(RealCol, ARow), X, Y)) return;
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
    const bool KeepDisjunct = MouseActions()->DisjunctCellSelect() && Valid && IsSelected(ACol, ARow);
    if (MouseActions()->SelectOnRightClick() && Valid && !(ACol < FixedCols() || ARow < FixedRows()) &&
        !IsFixed(ACol, ARow) && !KeepDisjunct) {
        const int RealCol = RealColIndex(ACol);
        if (!HasCellControl(RealCol, ARow)) {
            if (OnRightClickCell)
                FocusCell(ACol, ARow);
            else {
                // Without a handler the right click selects as a left click would.
                MouseDownOverride(mbLeft, {}, X, Y);
                MouseUpOverride(mbLeft, {}, X, Y);
            }
        }
        const TGridRect S = Selection();
        if (ACol >= S.Left && ACol <= S.Right && ARow >= S.Top && ARow <= S.Bottom) {
            bool CanSelect = true;
            if (OnSelectCell) OnSelectCell(this, ACol, ARow, CanSelect);
        } else {
            const TPoint Base = BaseCell(ACol, ARow);
            const int KeepLeft = LeftCol();
            MoveColRow(Base.X, Base.Y, true, true);
            if (Navigation()->KeepHorizScroll() && LeftCol() != KeepLeft) SetLeftCol(KeepLeft);
        }
        if (MouseActions()->DisjunctRowSelect()) {
            const int Idx = RowSelectIndex(ARow);
            const TShiftState Shift = MessageShift(Message);
            if (Idx >= 0 && Idx < RowSelectLimit()) {
                if (Shift.Contains(ssCtrl) || MouseActions()->DisjunctRowSelectNoCtrl())
                    SetRowSelect(Idx, !GetRowSelect(Idx));
                else if (!(RowSelectCount() > 1 && PopupMenu() && GetRowSelect(Idx))) {
                    ClearRowSelect();
                    SetRowSelect(Idx, true);
                }
            }
        }
    }
    if (OnRightClickCell) OnRightClickCell(this, ARow, ACol);
    // A right click edits a link that a left click would open.
    if (Valid && URLShow() && URLEdit() && IsURLText(GetCellEx(RealColIndex(ACol), ARow))) {
        MoveColRow(ACol, ARow, true, true);
        ShowEditor();
    }
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
    if (ControlLook()->HintMaxWidth() > 0) HintInfo.HintMaxWidth = ControlLook()->HintMaxWidth();
    HintFontName = Font()->Name();
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
        // Markup and wide texts need the window that can draw them; it takes this grid's
        // images and picture container from the hint data.
        const int Kind = ClassifyCellText(HintStr, true);
        if ((Kind == 1 || Kind == 5) && UseInternalHintClass()) {
            HintInfo.HintWindowClass = [](TComponent* AOwner) -> THintWindow* { return new THTMLHintWindow(AOwner); };
            HintInfo.HintData = static_cast<TObject*>(this);
        }
        HintInfo.HintPos = ClientToScreen(Pos);
    }
    HintInfo.HintColor = HintColor();
}

// ---- owner form resize -------------------------------------------------------------------------------
namespace {
// The hook a grid puts in its owner form's resize handler; it outlives the grid and then only
// passes the resize on.
struct TOwnerFormResizeHook {
    std::shared_ptr<TExtStringGrid::TOwnerFormResizeLink> Link;
    void operator()(TObject* Sender) const {
        if (Link->Grid)
            Link->Grid->OwnerFormResize(Sender);
        else if (Link->Saved)
            Link->Saved(Sender);
    }
};
} // namespace

void TExtStringGrid::HookOwnerFormResize() {
    if (!FResizeForm) return;
    if (FResizeLink) {
        const TNotifyEvent* E = &FResizeForm->OnResize;
        while (const auto* H = E->target<TOwnerFormResizeHook>()) {
            if (H->Link == FResizeLink) return;
            E = &H->Link->Saved;
        }
        FResizeLink->Grid = nullptr; // an older hook that the form replaced stays inert
    }
    FResizeLink = std::make_shared<TOwnerFormResizeLink>();
    FResizeLink->Grid = this;
    FResizeLink->Saved = FResizeForm->OnResize;
    FResizeForm->OnResize = TOwnerFormResizeHook{FResizeLink};
}

void TExtStringGrid::OwnerFormResize(TObject* Sender) {
    const bool Active = !IsDesigning() && !IsDestroying();
    if (Active && SizeWithForm()) {
        if (auto* Form = dynamic_cast<TForm*>(Sender)) {
            const int W = Form->Width() + Width() - FFormWidth;
            const int H = Form->Height() + Height() - FFormHeight;
            if (W > 0 && H > 0) {
                SetBounds(Left(), Top(), W, H);
                FFormWidth = Form->Width();
                FFormHeight = Form->Height();
            }
        }
    }
    // The handler this hook replaced (an earlier grid's hook, at the end the form's own): its
    // error is reported once, and the stretch still runs.
    if (FResizeLink && FResizeLink->Saved) {
        const TNotifyEvent Saved = FResizeLink->Saved;
        TControl::Guard(Sender, [&] { Saved(Sender); });
    }
    if (Active && ColumnSize()->Stretch())
        TControl::Guard(this, [this] { StretchColumn(ColumnSize()->StretchColumn()); });
}
