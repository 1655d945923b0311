// The grid's left mouse button: the order in which a press is resolved (refusal, links, check
// boxes, ratings, header clicks, the platform's own selection and editing), the release with
// its events, and the mouse-down step the platform calls from inside its press handling.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/shell/Shell.h"

#include <algorithm>
#include <cmath>

namespace {
bool SameRect(const TGridRect& A, const TGridRect& B) {
    return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}
} // namespace

// ---- message routing -----------------------------------------------------------------------------------
bool TExtStringGrid::MouseWndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_LBUTTONDOWN: LButtonDownMessageHandler(Message); return true;
        case WM_LBUTTONUP: LButtonUpMessageHandler(Message); return true;
        case WM_LBUTTONDBLCLK: LButtonDblClkMessageHandler(Message); return true;
        case WM_RBUTTONDOWN: RButtonDownMessageHandler(Message); return true;
        case WM_RBUTTONUP: RButtonUpMessageHandler(Message); return true;
        case CM_MOUSELEAVE: MouseLeaveMessageHandler(Message); return true;
        case CM_HINTSHOW: {
            auto* Info = reinterpret_cast<THintInfo*>(Message.LParam);
            if (Info) BuildCellHint(Info->HintStr, *Info);
            Message.Result = 0;
            return true;
        }
        default: return false;
    }
}

void TExtStringGrid::RunPlatformMessage(TMessage& Message) { TBaseGrid::WndProc(Message); }

// ---- left button down ----------------------------------------------------------------------------------
void TExtStringGrid::LButtonDownMessageHandler(TMessage& Message) {
    const int X = GetXLParam(Message.LParam), Y = GetYLParam(Message.LParam);
    FDoOnClick = true;
    FMouseDownMove = true;
    FMouseKeepDown = true;
    FSpinUpClick = false;
    FSpinDnClick = false;
    FMouseDownSelection = Selection();
    FMouseDownSelValid = true;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    if (SelectionResizer() && SelectionRectangle() && InSelectionResizer(X, Y)) {
        StartSelectionResize(Message, X, Y, !MouseActions()->RangeSelectAndEdit());
        Message.Result = 1;
        return;
    }

    if (Options().Contains(goEditing) && MouseActions()->RangeSelectAndEdit()) {
        const TGridRect S = Selection();
        if (ACol < S.Left || ACol > S.Right || ARow < S.Top || ARow > S.Bottom) SetOptions(Options() >> goEditing);
    }

    bool Allow = true;
    if (OnCanClickCell) OnCanClickCell(this, ARow, ACol, Allow);
    if (!Allow) return;

    if (FCellSelectorMode) {
        CellSelectorClick(ACol, ARow);
        return;
    }
    if (FMouseSelectMode == msResize) {
        StartSelectionResize(Message, X, Y, true);
        return;
    }

    FPushedCellButton = {-1, -1};
    if (ACol != 0 && ARow != 0)
        MouseToCell(X - 5, Y - 4, Colclicked, Rowclicked);
    else if (ACol == 0 && ARow != 0)
        MouseToCell(X, Y - 4, Colclicked, Rowclicked);
    else
        MouseToCell(X - 5, Y, Colclicked, Rowclicked);
    if (Colclicked >= 0 && Rowclicked >= 0) {
        Colclickedsize = ColWidths(Colclicked);
        Rowclickedsize = RowHeights(Rowclicked);
    }
    Clickposx = X;
    Clickposy = Y;

    const bool FixedArea = ACol >= 0 && ARow >= 0 && (ACol < FixedCols() || ARow < FixedRows());
    if (ACol < 0 || ARow < 0) {
        HideInplaceEdit();
        if (!FixedRowAlways()) RunPlatformMessage(Message);
        return;
    }

    const TPoint Base = BaseCell(ACol, ARow);
    const TRect R = CellRect(Base.X, Base.Y);
    if (MouseActions()->CaretPositioning()) LButFlg = true;

    const bool PseudoFixed = !FixedArea && IsFixed(ACol, ARow);
    if (FixedArea || PseudoFixed) HideInplaceEdit();

    const int RealCol = RealColIndex(ACol);

    // A press on a cell's spin buttons: the spin editor it opens steps once that way.
    if (!IsDesigning() && ControlLook()->SpinButtonsAlwaysVisible() && HasSpinButtons(RealCol, ARow) &&
        X > R.Right - 18) {
        if (Y > (R.Top + R.Bottom) / 2)
            FSpinDnClick = true;
        else
            FSpinUpClick = true;
    }

    // A rating takes the star under the point; never more stars than the cell shows.
    if (GetCellType(RealCol, ARow) == ctRating && IsEditable(RealCol, ARow)) {
        HideInplaceEdit();
        double NewRate = std::trunc(double(X - R.Left) / 9.0) / 2.0;
        NewRate = std::clamp(NewRate, 0.0, double(std::max(0, RatingStars(RealCol, ARow))));
        if (DoRatingChange(RealCol, ARow, NewRate)) {
            NewRate = std::clamp(NewRate, 0.0, double(std::max(0, RatingStars(RealCol, ARow))));
            SetFloats(RealCol, ARow, NewRate);
            RepaintCell(ACol, ARow);
        }
        return;
    }

    if (ACol >= ColCount() || ARow >= RowCount()) {
        RunPlatformMessage(Message);
        return;
    }
    if (Colclicked >= 0 && Rowclicked >= 0) {
        const TRect C = CellRect(Colclicked, Rowclicked);
        Clickposdx = X - C.Right;
        Clickposdy = Y - C.Bottom;
    } else {
        Clickposdx = X;
        Clickposdy = Y;
    }

    if (LinkMouseDown(ACol, ARow, RealCol)) return;

    Movecell = -1;
    const TShiftState Shift = KeyboardShiftState();
    if (ACol >= FixedCols() && ARow < FixedRows() && MouseActions()->ColSelect() && Options().Contains(goRangeSelect) &&
        FMouseSelectMode == msColumn) {
        SetFocus();
        int From = ACol, To = ACol;
        if (Shift.Contains(ssShift)) {
            const TGridRect Old = Selection();
            if (ACol < Old.Left)
                To = Old.Right;
            else
                From = Old.Left;
        }
        SetSelection(TGridRect{From, FixedRows(), To, RowCount() - 1});
        FMouseSelectStart = ACol;
    } else if (ACol < FixedCols() && ARow >= FixedRows() && MouseActions()->RowSelect() && FMouseSelectMode == msRow) {
        const int Top = Shift.Contains(ssShift) ? Selection().Top : ARow;
        SetSelection(TGridRect{FixedCols(), std::min(Top, ARow), ColCount() - 1, std::max(Top, ARow)});
        FMouseSelectStart = ARow;
    } else if (ACol < FixedCols() && ARow < FixedRows() && MouseActions()->AllSelect() &&
               Options().Contains(goRangeSelect) && FMouseSelectMode == msAll) {
        SetFocus();
        SetSelection(TGridRect{FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1});
    }

    if (ACol >= FixedCols() && ARow < FixedRows()) Movecell = ACol;
    if (ACol < FixedCols() && ARow >= FixedRows()) Movecell = ARow;
    MoveOfsX = X - R.Left;
    MoveOfsY = Y - R.Top;
    bool CanEdit = Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit();
    GetCellEditable(RealCol, ARow, CanEdit);

    if (CheckBoxMouseDown(ACol, ARow, RealCol, X, Y, CanEdit)) return;

    const bool NonFixed = !FixedArea && !PseudoFixed;
    const bool HasCombo = NonFixed && ControlLook()->DropDownAlwaysVisible() && HasComboButton(RealCol, ARow);
    const bool DirectOpen = MouseActions()->DirectEdit() || (ControlLook()->DropDownAlwaysVisible() && HasCombo);
    if (NonFixed && (CanEdit || (MouseActions()->EditOnDblClickOnly() && HasCombo)) && DirectOpen) {
        HideInplaceEdit();
        SetFocus();
    }

    const TGridRect Sel = Selection();
    const bool Inside = X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
    const bool OnCurrent =
        Inside && Sel.Left == Base.X && Sel.Right == Base.X && Sel.Top == Base.Y && Sel.Bottom == Base.Y;
    bool BackToSelecting = false;
    if (!OnCurrent && MouseActions()->RangeSelectAndEdit() && !IsFixed(ACol, ARow) && !CanEdit) {
        SetOptions(Options() >> goEditing);
        BackToSelecting = true;
    }

    if (PseudoFixed) {
        if (OnClickCell) OnClickCell(this, ARow, ACol);
        return;
    }

    RunPlatformMessage(Message);

    const bool OnHeaderBorder = (std::abs(X - R.Left) < 4 || std::abs(X - R.Right) < 4) &&
        Options().Contains(goColSizing) && ARow < FixedRows();
    if (!OnHeaderBorder && OnClickCell) OnClickCell(this, Base.Y, Base.X);

    if (IsMergedCell(ACol, ARow) && !IsFixed(ACol, ARow) && (OnCurrent || MouseActions()->DirectEdit()) && CanEdit &&
        !FixedArea)
        ShowInplaceEdit();

    if (X > R.Left + 3 && X < R.Right - 3 && NonFixed &&
        (CanEdit || (MouseActions()->EditOnDblClickOnly() && HasCombo)) && DirectOpen &&
        !HasCellControl(RealCol, ARow)) {
        if (MouseActions()->EditOnDblClickOnly() && HasCombo && !Options().Contains(goEditing)) {
            SetOptions(Options() << goEditing);
            SetFocus();
        }
        bool Go = true;
        if (Row() != Base.Y && OnRowChanging) OnRowChanging(this, Row(), Base.Y, Go);
        if (Col() != Base.X && OnColChanging) OnColChanging(this, Col(), Base.X, Go);
        if ((Row() != Base.Y || Col() != Base.X) && OnCellChanging)
            OnCellChanging(this, Row(), Col(), Base.Y, Base.X, Go);
        if (Go) {
            SetSelection(TGridRect{Base.X, Base.Y, Base.X, Base.Y});
            ShowEditor();
        }
    }
    if (BackToSelecting) FGridState = gsSelecting;
}

// ---- selection resizer ---------------------------------------------------------------------------------
bool TExtStringGrid::InSelectionResizer(int X, int Y) {
    const TGridRect S = Selection();
    if (S.Right < 0 || S.Bottom < 0) return false;
    TRect R = CellRect(S.Right, S.Bottom);
    if (R.Right <= R.Left || R.Bottom <= R.Top) return false;
    R.Top = R.Bottom - 6;
    R.Left = R.Right - 6;
    return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

void TExtStringGrid::StartSelectionResize(TMessage& Message, int X, int Y, bool PlatformUnlessEditing) {
    const TGridRect Sel = Selection();
    FGridState = gsSelecting;
    FDropSelection = Sel;
    // The cells travel in the grid's own buffer: the user's clipboard is not touched.
    FResizeBuffer.clear();
    for (int r = Sel.Top; r <= Sel.Bottom; ++r) {
        QStringList Line;
        for (int c = Sel.Left; c <= Sel.Right; ++c) Line << GetCellEx(RealColIndex(c), r);
        FResizeBuffer.push_back(Line);
    }
    FMouseResize = true;
    if (PlatformUnlessEditing && !Options().Contains(goEditing)) RunPlatformMessage(Message);
    SetSelection(Sel);
    FGridState = gsSelecting;
    MouseMoveOverride({}, X, Y);
}

void TExtStringGrid::PasteResizeBuffer(const TGridRect& Target) {
    if (FResizeBuffer.empty() || FResizeBuffer.front().isEmpty()) return;
    const int H = int(FResizeBuffer.size()), W = int(FResizeBuffer.front().size());
    // The copied block repeats over the new selection from its top-left corner.
    for (int r = Target.Top; r <= Target.Bottom && r < RowCount(); ++r)
        for (int c = Target.Left; c <= Target.Right && c < ColCount(); ++c) {
            if (r < FixedRows() || c < FixedCols()) continue;
            const QString& V = FResizeBuffer[size_t((r - Target.Top) % H)][(c - Target.Left) % W];
            if (GetCellEx(RealColIndex(c), r) != V) SetCellEx(RealColIndex(c), r, V);
        }
}

bool TExtStringGrid::CheckBoxMouseDown(int ACol, int ARow, int RealCol, int X, int Y, bool CanEdit) {
    (void)X, (void)Y;
    if (ACol >= ColCount() || ARow >= RowCount()) return false;
    if (!(CanEdit || ControlLook()->CheckAlwaysActive())) return false;
    const TCellType Kind = GetCellType(RealCol, ARow);
    const bool Radio = Kind == ctRadioButton;
    if (!Radio && !HasCheckBox(RealCol, ARow)) return false;

    HideInplaceEdit();
    SetFocus();
    if (Radio) {
        ClickRadioButton(RealCol, ARow, true);
        if (OnRadioButtonClick) OnRadioButtonClick(this, RealCol, ARow);
    } else {
        ToggleCheckBoxCell(RealCol, ARow, true);
    }
    if (ShowModified()->Enabled()) SetRowModified(ARow, true);
    bool State = false;
    GetCheckBoxState(RealCol, ARow, State);
    const bool Fixed = ACol < FixedCols() || ARow < FixedRows() || IsFixed(ACol, ARow);
    if (!Navigation()->AlwaysEdit() && !Fixed) MoveColRow(ACol, ARow, true, true);
    // Display indexes, as the keyboard's Space reports them.
    DoCheckBoxClick(ACol, ARow, State);
    if (HideFocusRect()) RepaintCell(ACol, ARow);
    if (ARow < FixedRows() && MouseActions()->CheckAllCheck()) {
        for (int r = FixedRows(); r < RowCount(); ++r) SetCheckBoxState(RealCol, r, State);
        Invalidate();
    }
    if (OnMouseDown) OnMouseDown(this, mbLeft, KeyboardShiftState(), X, Y);
    Click();
    return true;
}

bool TExtStringGrid::ToggleCheckBoxCell(int RealCol, int DisplRow, bool CheckCanEdit) {
    if (!HasCheckBox(RealCol, DisplRow)) return false;
    if (CheckCanEdit && !ControlLook()->CheckAlwaysActive()) {
        bool CanEdit = Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit();
        GetCellEditable(RealCol, DisplRow, CanEdit);
        if (!CanEdit) return false;
    }
    bool State = false;
    GetCheckBoxState(RealCol, DisplRow, State);
    SetCheckBoxState(RealCol, DisplRow, !State);
    RepaintCell(DisplColIndex(RealCol), DisplRow);
    GetCheckBoxState(RealCol, DisplRow, State);
    DoCheckBoxChange(DisplColIndex(RealCol), DisplRow, State);
    return true;
}

int TExtStringGrid::RatingStars(int RealCol, int DisplRow) {
    (void)RealCol, (void)DisplRow;
    return 5;
}

bool TExtStringGrid::IsOpenableLink(const QString& Anchor) {
    const QString A = Anchor.trimmed().toLower();
    return A.startsWith(QLatin1String("http://")) || A.startsWith(QLatin1String("https://")) ||
        A.startsWith(QLatin1String("mailto:"));
}

bool TExtStringGrid::LinkMouseDown(int ACol, int ARow, int RealCol) {
    if (!URLShow()) return false;
    const QString Text = GetCellEx(RealCol, ARow);
    if (!IsURLText(Text)) return false;
    const QString Anchor = Text.trimmed();
    bool AutoHandle = true;
    if (OnAnchorClick) OnAnchorClick(this, ARow, ACol, Anchor, AutoHandle);
    if (!AutoHandle) return true;
    if (!Anchor.toUpper().contains(QLatin1String("CELL://"))) {
        if (IsOpenableLink(Anchor)) OpenLink(Anchor);
        return true;
    }
    TPoint Cell;
    if (ParseRCCellRef(Anchor.mid(7), Cell) && Cell.X >= FixedCols() && Cell.X < ColCount() && Cell.Y >= FixedRows() &&
        Cell.Y < RowCount()) {
        SetRow(Cell.Y);
        SetCol(Cell.X);
        ScrollInView(Cell.X, Cell.Y);
    }
    return true;
}

// ---- the platform's mouse steps ---------------------------------------------------------------------
void TExtStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    MouseDownOverride(Button, Shift, X, Y);
}

void TExtStringGrid::MouseDownOverride(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && MouseActions()->RangeSelectAndEdit() && !MouseActions()->EditOnDblClickOnly()) {
        int ACol = -1, ARow = -1;
        MouseToCell(X, Y, ACol, ARow);
        if (ACol >= 0 && ARow >= 0) {
            const bool Current = ACol == Col() && ARow == Row();
            if (Current && !Options().Contains(goEditing) && IsEditable(RealColIndex(ACol), ARow)) {
                SetOptions(Options() << goEditing);
                TBaseGrid::MouseDown(Button, Shift, X, Y);
                ShowInplaceEdit();
                return;
            }
            if (!Current && Options().Contains(goEditing) && Shift.Contains(ssShift)) {
                SetOptions(Options() >> goEditing);
                TBaseGrid::MouseDown(Button, Shift, X, Y);
                return;
            }
        }
    }
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    if (Shift.Contains(ssShift) && SelectionRectangle()) InvalidateRect(Selection());
    // A press that starts sizing notes what it sizes and the size it had.
    if (GridState() == gsColSizing || GridState() == gsRowSizing) {
        TGridState State;
        int Index = -1, Pos = 0, Ofs = 0;
        CalcSizingState(X, Y, State, Index, Pos, Ofs);
        if (Index >= 0) NoteSizingStart(State == gsColSizing, Index);
    }
}

// ---- left button up ------------------------------------------------------------------------------------
void TExtStringGrid::LButtonUpMessageHandler(TMessage& Message) {
    const int X = GetXLParam(Message.LParam), Y = GetYLParam(Message.LParam);
    ColMoveFlg = false;
    ColSizeFlg = false;
    FMouseDownFlag = false;
    FMouseKeepDown = false;
    FMouseDownMove = false;
    FMouseSelectMode = msNormal;
    FMouseSelectStart = -1;

    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (FScrollHintShown) HideScrollHint();

    const bool SizeCursor =
        ARow >= 0 && ARow < FixedRows() && ACol >= 0 && Options().Contains(goColSizing) && GridState() == gsColSizing;
    if (OnClick && FDoOnClick && !SizeCursor && ARow >= 0 && ACol >= 0 && (ARow < FixedRows() || ACol < FixedCols()))
        OnClick(this);
    FDoOnClick = false;
    // A press that sized a column or row ends as a sizing, never as a click on the header.
    if (GridState() == gsColSizing || GridState() == gsRowSizing) ColSizeFlg = true;

    RunPlatformMessage(Message);

    if (FMouseResize) {
        const TGridRect NewSel = Selection();
        if (OnSelectionResize) OnSelectionResize(this, FDropSelection, NewSel);
        {
            const bool Was = FEditDisable;
            FEditDisable = true;
            struct Restore {
                bool& F;
                bool V;
                ~Restore() { F = V; }
            } R{FEditDisable, Was};
            PasteResizeBuffer(NewSel);
        }
        FMouseResize = false;
        FResizeBuffer.clear();
        if (OnSelectionResized) OnSelectionResized(this, FDropSelection, NewSel);
    }

    if (ColMoveFlg || ColSizeFlg || ACol < 0 || ARow < 0) return;
    if (ACol < FixedCols() && !SortSettings()->FixedCols()) return;
    const int RealCol = RealColIndex(ACol);
    bool State = false;
    if (HasCheckBox(RealCol, ARow) && GetCheckBoxState(RealCol, ARow, State) && OnCheckBoxMouseUp)
        OnCheckBoxMouseUp(this, RealCol, ARow, State);
    if (FDblClk) {
        FDblClk = false;
        return;
    }
    const TRect R = CellRect(ACol, ARow);
    if (ARow == 0 && Options().Contains(goColSizing) && (std::abs(X - R.Left) < 4 || std::abs(X - R.Right) < 4)) return;

    // A click on the sort row sorts by the column (pressed and released in that row).
    int PressCol = -1, PressRow = -1;
    MouseToCell(Clickposx, Clickposy, PressCol, PressRow);
    const bool SortClick = SortSettings()->Show() && SortSettings()->Row() == ARow && PressRow == ARow &&
        FixedRows() > 0 && !HasCheckBox(RealCol, ARow) && RowCount() > 2;
    if (!SortClick) return;
    bool DoSort = !IsIgnoredColumn(RealCol);
    if (OnCanSort) OnCanSort(this, RealCol, DoSort);
    if (!DoSort) {
        RepaintCell(ACol, ARow);
        return;
    }
    HideInplaceEdit();
    SortSettings()->SetColumn(RealCol);
    QSort();
    DoClickSort(SortSettings()->Column());
}

void TExtStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    MouseUpOverride(Button, Shift, X, Y);
}

void TExtStringGrid::MouseUpOverride(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const bool Notes = Button == mbLeft || (Button == mbRight && MouseActions()->SelectOnRightClick());
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    // The release reports a selection that differs from the one the press found (or last
    // reported while the mouse moved), once.
    if (Notes && FMouseDownSelValid) {
        const TGridRect S = Selection();
        if (!SameRect(S, FMouseDownSelection)) DoSelectionChanged(S.Left, S.Top, S.Right, S.Bottom);
    }
    if (Button == mbLeft) FMouseDownSelValid = false;
}
