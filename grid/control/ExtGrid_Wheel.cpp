// TExtStringGrid's wheel: zooming with Ctrl, the step of WheelAction (the view or the current row
// moves by WheelIncrement, else by the system's wheel lines), panning with the middle button, and
// the cursors the grid chooses itself (the pan cursors, the header-selection zones, the fixed
// borders).
#include "grid/control/ExtGrid.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/StateScope.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <map>

// ---- the wheel message ------------------------------------------------------------------------------------
bool TExtStringGrid::WheelMessage(TMessage& Message) {
    // A parent that takes the wheel itself (a scrolling container) has the first word.
    if (Parent() && Parent()->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0) return false;
    const int Delta = int16_t(HiWord(Message.WParam));
    const bool TowardsUser = Delta < 0;
    const TShiftState Shift = [&] {
        TShiftState S;
        const Word Keys = LoWord(Message.WParam);
        if (Keys & MK_SHIFT) S << ssShift;
        if (Keys & MK_CONTROL) S << ssCtrl;
        return S;
    }();
    if (Shift.Contains(ssCtrl) && IntelliZoom()) {
        const int Step = std::max(1, FWheelScrollLines);
        // Towards the user (a negative turn) enlarges.
        Zoom(TowardsUser ? Step : -Step);
        AutoSizeCells(true, 4, 4);
        Message.Result = 1;
        return true;
    }
    // The grid takes the wheel without moving: no handler hears of it.
    if (!EnableWheel() || (FixedRowAlways() && RowCount() == 1)) {
        Message.Result = 1;
        return true;
    }

    const TGridRect Before = Selection();
    const bool MoveSelection = MouseActions()->WheelAction() == waMoveSelection;
    int Step = MouseActions()->WheelIncrement();
    if (Step < 1) Step = std::max(1, FWheelScrollLines);
    int Target = Row();
    if (!MoveSelection) {
        if (TowardsUser) {
            const int Last = RowCount() - VisibleRowCount();
            if (TopRow() < Last && TopRow() + Step >= FixedRows()) SetTopRow(std::min(Last, TopRow() + Step));
        } else {
            if (TopRow() - Step < FixedRows()) Step = TopRow() - FixedRows();
            if (TopRow() > FixedRows() && TopRow() - Step >= FixedRows()) SetTopRow(TopRow() - Step);
        }
    } else {
        Target = TowardsUser ? Row() + Step : Row() - Step;
    }
    Target = std::clamp(Target, FixedRows(), std::max(FixedRows(), RowCount() - FixedFooters() - 1));
    if (Col() >= ColCount() && Row() >= RowCount()) FocusCell(ColCount() - 1, RowCount() - 1);
    if (ColCount() > FixedCols()) {
        const int C = std::clamp(Col(), FixedCols(), ColCount() - 1);
        if (C != Col()) SetCol(C);
    }

    int Moved = 0;
    if (Target >= 0 && Target < RowCount()) {
        // Painted once, when the step is done.
        const TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
        const int Left = LeftCol();
        if (MouseActions()->DisjunctRowSelect() && MoveSelection) ClearRowSelect();
        Moved = Target - Row();
        if (MoveSelection) SetRow(Target);
        if (Row() != Target) {
            // A refused move (a validation, a disabled row) tries half the way.
            SetRow(Row() + int(std::nearbyint((Target - Row()) / 2.0)));
            if (TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
        }
        if (Options().Contains(goRowSelect) && Navigation()->KeepHorizScroll() && LeftCol() != Left) SetLeftCol(Left);
    }
    Invalidate();

    bool Handled = true;
    WheelStepDone(Moved, Handled);
    if ((MouseActions()->WheelIncrement() != 0 || MouseActions()->DisjunctRowSelect()) && Handled) {
        const TShiftState S = MouseActions()->DisjunctRowSelect() ? KeyboardShiftState() : Shift;
        const TPoint Pos{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
        bool EventHandled = false;
        if (TowardsUser && OnMouseWheelDown) OnMouseWheelDown(this, S, Pos, EventHandled);
        if (!TowardsUser && OnMouseWheelUp) OnMouseWheelUp(this, S, Pos, EventHandled);
    }
    Message.Result = 1;
    const TGridRect After = Selection();
    if (After.Left != Before.Left || After.Top != Before.Top || After.Right != Before.Right ||
        After.Bottom != Before.Bottom)
        DoSelectionChanged(After.Left, After.Top, After.Right, After.Bottom);
    // The search panel covers the grid's bottom: on the last page the view goes on until the last
    // row shows above it, as the keys take it there.
    if (SearchFooter()->Visible() && SearchPanel() && TopRow() >= RowCount() - VisibleRowCount())
        ScrollLastRowAboveFooter();
    return true;
}

// ---- the platform's wheel steps ----------------------------------------------------------------------------
// Reached when the wheel goes the platform's way (a parent took the first word).
bool TExtStringGrid::PlatformWheelStep(bool Down, TShiftState Shift, TPoint MousePos) {
    if (MouseActions()->WheelAction() == waScroll || !EnableWheel()) {
        bool Handled = false;
        if (Down && OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, Handled);
        if (!Down && OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, Handled);
        return Handled;
    }
    if (!Down && (Col() < 0 || Row() < 0 || Col() >= ColCount() || Row() >= RowCount())) return true;
    const bool EditorWasShown = EditMode();
    const int Left = LeftCol();
    bool Result;
    {
        const TSettingScope<TMouseActions, bool> NoDirectEdit(MouseActions(), &TMouseActions::DirectEdit,
                                                              &TMouseActions::SetDirectEdit, false);
        Result = Down ? TBaseGrid::DoMouseWheelDown(Shift, MousePos) : TBaseGrid::DoMouseWheelUp(Shift, MousePos);
    }
    if (Options().Contains(goRowSelect) && Navigation()->KeepHorizScroll()) {
        const TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
        SetLeftCol(Left);
    } else if (EditorWasShown && CanFocus()) {
        SetFocus();
    }
    return Result;
}

bool TExtStringGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    return PlatformWheelStep(true, Shift, MousePos);
}

bool TExtStringGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    return PlatformWheelStep(false, Shift, MousePos);
}

// ---- wheel panning ------------------------------------------------------------------------------------------
TPoint TExtStringGrid::PanMousePos() {
    TPoint P{0, 0};
    if (Mouse) P = Mouse->CursorPos();
    return ScreenToClient(P);
}

void TExtStringGrid::StartWheelPan(TPoint P) {
    FPrevCursor = Cursor();
    FWheelPan = true;
    FWheelPanPos = P;
    FShownCursor = crPan;
    setCursor(GridCursor(crPan));
    SetTimer(PanTimerID, 10);
    SetMouseCapture(true);
    FPanHintsWere = ShowHint();
    SetShowHint(false);
    update(QRect(P.X, P.Y, 32, 32));
}

void TExtStringGrid::StopWheelPan() {
    if (!FWheelPan) return;
    SetMouseCapture(false);
    KillTimer(PanTimerID);
    FShownCursor = FPrevCursor;
    setCursor(CursorToQCursor(FPrevCursor));
    SetShowHint(FPanHintsWere);
    FWheelPan = false;
    update(QRect(FWheelPanPos.X, FWheelPanPos.Y, 32, 32));
}

void TExtStringGrid::WheelPanTick() {
    const TGridRect Before = Selection();
    const TPoint P = PanMousePos();
    int V = 0, H = 0;
    if (IntelliPan() != ipHorizontal) {
        if (P.Y < FWheelPanPos.Y - 5) V = -1;
        if (P.Y > FWheelPanPos.Y + 5) V = 1;
    }
    if (IntelliPan() != ipVertical) {
        if (P.X > FWheelPanPos.X + 5) H = 1;
        if (P.X < FWheelPanPos.X - 5) H = -1;
    }
    static constexpr TCursor Cursors[3][3] = {
        // H = -1, 0, +1
        {crPanUpLeft, crPanUp, crPanUpRight}, // V = -1
        {crPanLeft, crPan, crPanRight}, // V = 0
        {crPanDownLeft, crPanDown, crPanDownRight}, // V = +1
    };
    const TCursor C = Cursors[V + 1][H + 1];
    if (C != FShownCursor) {
        FShownCursor = C;
        setCursor(GridCursor(C));
    }
    const int LastRow = std::max(FixedRows(), RowCount() - FixedFooters() - 1);
    const int LastCol = std::max(FixedCols(), ColCount() - FixedRightCols() - 1);
    if (Row() < FixedRows() || Row() > LastRow) SetRow(std::clamp(Row(), FixedRows(), LastRow));
    if (Col() < FixedCols() || Col() > LastCol) SetCol(std::clamp(Col(), FixedCols(), LastCol));
    update(QRect(FWheelPanPos.X, FWheelPanPos.Y, 32, 32));
    if (MouseActions()->WheelAction() == waScroll) {
        if (H != 0) {
            const int L = std::clamp(LeftCol() + H, FixedCols(), std::max(FixedCols(), ColCount() - VisibleColCount()));
            if (L != LeftCol()) SetLeftCol(L);
        }
        if (V != 0) {
            const int T = std::clamp(TopRow() + V, FixedRows(), std::max(FixedRows(), RowCount() - VisibleRowCount()));
            if (T != TopRow()) SetTopRow(T);
        }
    } else {
        if (H != 0) {
            const int NewCol = std::clamp(Col() + H, FixedCols(), LastCol);
            if (NewCol != Col()) SetCol(NewCol);
        }
        if (V != 0) {
            const int NewRow = std::clamp(Row() + V, FixedRows(), LastRow);
            if (NewRow != Row()) SetRow(NewRow);
        }
    }
    const TGridRect After = Selection();
    if (After.Left != Before.Left || After.Top != Before.Top || After.Right != Before.Right ||
        After.Bottom != Before.Bottom)
        DoSelectionChanged(After.Left, After.Top, After.Right, After.Bottom);
}

void TExtStringGrid::PaintWheelPanGlyph() {
    if (!FWheelPan) return;
    // The pan origin: a ring with the arrows of the directions the pan can take.
    QPainter* Painter = Canvas()->Painter();
    if (!Painter) return;
    QPainter& Pt = *Painter;
    Pt.save();
    struct TRestore {
        QPainter& P;
        ~TRestore() { P.restore(); }
    } Restore{Pt};
    Pt.setRenderHint(QPainter::Antialiasing);
    const QRectF Box(FWheelPanPos.X + 1, FWheelPanPos.Y + 1, 30, 30);
    Pt.setPen(QPen(Qt::black, 1));
    Pt.setBrush(Qt::white);
    Pt.drawEllipse(Box);
    Pt.setBrush(Qt::black);
    const QPointF M = Box.center();
    auto Arrow = [&](double DX, double DY) {
        const QPointF Tip = M + QPointF(DX * 11, DY * 11);
        const QPointF Base = M + QPointF(DX * 6, DY * 6);
        const QPointF Side(DY * 4, DX * 4);
        Pt.drawPolygon(QPolygonF{Tip, Base + Side, Base - Side});
    };
    if (IntelliPan() != ipHorizontal) {
        Arrow(0, -1);
        Arrow(0, 1);
    }
    if (IntelliPan() != ipVertical) {
        Arrow(-1, 0);
        Arrow(1, 0);
    }
    Pt.drawEllipse(M, 2, 2);
}

// ---- cursors -------------------------------------------------------------------------------------------------
namespace {
// A black arrow with a white rim pointing at (DX, DY) from the middle of a 32 x 32 picture.
QCursor ArrowCursor(double DX, double DY) {
    QPixmap Pm(32, 32);
    Pm.fill(Qt::transparent);
    QPainter Pt(&Pm);
    Pt.setRenderHint(QPainter::Antialiasing);
    const double Len = std::hypot(DX, DY);
    DX /= Len;
    DY /= Len;
    const QPointF M(16, 16), Tip = M + QPointF(DX * 12, DY * 12), Base = M - QPointF(DX * 4, DY * 4);
    const QPointF Side(-DY * 6, DX * 6), Stem(-DY * 2, DX * 2), Neck = M + QPointF(DX * 2, DY * 2);
    const QPolygonF Shape{Tip, Neck + Side, Neck + Stem, Base + Stem, Base - Stem, Neck - Stem, Neck - Side};
    Pt.setPen(QPen(Qt::white, 1.5));
    Pt.setBrush(Qt::black);
    Pt.drawPolygon(Shape);
    Pt.end();
    return QCursor(Pm, int(Tip.x()), int(Tip.y()));
}
} // namespace

QCursor TExtStringGrid::GridCursor(TCursor C) {
    switch (C) {
        case crPan: return QCursor(Qt::SizeAllCursor);
        case crPanDown:
        case crPanUp: return QCursor(Qt::SizeVerCursor);
        case crPanLeft:
        case crPanRight: return QCursor(Qt::SizeHorCursor);
        case crPanUpRight:
        case crPanDownLeft: return QCursor(Qt::SizeBDiagCursor);
        case crPanUpLeft:
        case crPanDownRight: return QCursor(Qt::SizeFDiagCursor);
        case crCellSelector: return QCursor(Qt::CrossCursor);
        default: break;
    }
    // The selection cursors point the way the selection goes.
    static std::map<TCursor, QCursor> Drawn;
    if (C == crSelectRow || C == crSelectColumn || C == crSelectAll) {
        auto It = Drawn.find(C);
        if (It == Drawn.end())
            It = Drawn
                     .emplace(C,
                              C == crSelectRow          ? ArrowCursor(1, 0)
                                  : C == crSelectColumn ? ArrowCursor(0, 1)
                                                        : ArrowCursor(1, 1))
                     .first;
        return It->second;
    }
    return CursorToQCursor(C);
}

void TExtStringGrid::SetCursorMessageHandler(int X, int Y) {
    if (FWheelPan) return;
    const bool Sizing = GridState() == gsColSizing || GridState() == gsRowSizing;
    TCursor C = Cursor();
    bool Own = false;
    if (FMouseSelectMode != msNormal && FMouseSelectMode != msURL && !Sizing) {
        C = FMouseSelectMode == msColumn ? crSelectColumn : FMouseSelectMode == msRow ? crSelectRow : crSelectAll;
        Own = true;
    } else if (FMouseSelectMode == msURL && !Sizing) {
        C = FShownCursor;
        Own = true;
    } else if (FCellSelectorMode) {
        C = crCellSelector;
        Own = true;
    } else {
        // The platform's choice: the split cursors over a sizable border, else the grid's cursor,
        // which OnGetCellCursor may change for the cell under the mouse.
        TGridState State = gsNormal;
        int Index = -1, Pos = 0, Ofs = 0;
        CalcSizingState(X, Y, State, Index, Pos, Ofs);
        if (State == gsColSizing)
            C = crHSplit;
        else if (State == gsRowSizing)
            C = crVSplit;
        else {
            int ACol = -1, ARow = -1;
            MouseToCell(X, Y, ACol, ARow);
            if (ACol >= 0 && ARow >= 0 && OnGetCellCursor) {
                OnGetCellCursor(this, ACol, ARow, X, Y, C);
                FCellCursor = C;
            }
            // A mini-HTML link the hover found, or a plain address text the grid shows as a link.
            if (!FAnchor.isEmpty() || (ACol >= 0 && ARow >= 0 && !LinkAt(ACol, ARow, X, Y).isEmpty())) C = LinkCursor;
        }
    }
    if (!Own) {
        if (FSizeFixed || FSizingFixed) C = crHSplit;
        if (FSizeFixedR || FSizingFixedR) C = crVSplit;
    }
    FShownCursor = C;
    setCursor(GridCursor(C));
}
