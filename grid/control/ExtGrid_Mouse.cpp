// The grid's left mouse button: the order in which a press is resolved (refusal, links, check
// boxes, ratings, header clicks, the platform's own selection and editing), the release with
// its events, and the mouse-down step the platform calls from inside its press handling.
#include "grid/control/ExtGrid.h"

#include "grid/base/EsgHTMLE.h"
#include "grid/base/ExtUtil.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/Clock.h"
#include "platform/shell/Shell.h"

#include <algorithm>
#include <cmath>

namespace {
bool SameRect(const TGridRect& A, const TGridRect& B) {
    return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}
bool InRect(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }
} // namespace

TShiftState TExtStringGrid::MessageShift(const TMessage& Message) {
    TShiftState S;
    if (Message.WParam & MK_SHIFT) S << ssShift;
    if (Message.WParam & MK_CONTROL) S << ssCtrl;
    if (KeyboardShiftState().Contains(ssAlt)) S << ssAlt;
    return S;
}

bool TExtStringGrid::HasCellButton(int RealCol, int DisplRow) {
    const TCellType Kind = GetCellType(RealCol, DisplRow);
    return Kind == ctButton || Kind == ctBitButton;
}

TRect TExtStringGrid::ButtonRect(int RealCol, int DisplRow) {
    if (!HasCellButton(RealCol, DisplRow) || IsHiddenColumn(RealCol)) return TRect{0, 0, 0, 0};
    return GetCellButtonRect(DisplColIndex(RealCol), DisplRow);
}

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

    const TShiftState Shift = MessageShift(Message);
    if (MouseActions()->DisjunctCellSelect() && !Shift.Contains(ssCtrl) && ACol >= 0 && ARow >= 0 &&
        !IsFixed(ACol, ARow)) {
        ClearSelectedCells();
        Invalidate();
    }
    FSearchText.clear();
    FSelectionClick = false;
    FPushedCellButton = {-1, -1};
    FOldTopRow = TopRow();
    FOldKeepLeftCol = LeftCol();
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

    // A press on an armed fixed border sizes that fixed column (row) until the release.
    if (FSizeFixed) {
        FSizingFixed = true;
        FSizeFixedX = X;
        FSizingFixedCol = -1;
        int Total = 0;
        for (int c = 0; c < FixedCols() && !IsDesigning(); ++c) {
            Total += ColWidths(c) + 1;
            if (std::abs(X - Total) < 3) FSizingFixedCol = c;
        }
        return;
    }
    if (FSizeFixedR) {
        FSizingFixedR = true;
        FSizeFixedY = Y;
        FSizingFixedRow = -1;
        int Total = 0;
        for (int r = 0; r < FixedRows() && !IsDesigning(); ++r) {
            Total += RowHeights(r) + 1;
            if (std::abs(Y - Total) < 3) FSizingFixedRow = r;
        }
        return;
    }

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

    if (!IsDesigning() && NodeOrRadioMouseDown(ACol, ARow, RealCol, X, Y, R, Shift)) return;

    // A press inside the selection may start dragging it: the release decides.
    const bool InSelection = IsSelected(ACol, ARow) || (ARow < FixedRows() && !EnhRowColMove());
    if (InSelection && !Options().Contains(goEditing) && !HasCellButton(RealCol, ARow) && !HasCheckBox(RealCol, ARow) &&
        DragDropSettings()->OleDropSource() &&
        !((MouseActions()->ColSelect() || MouseActions()->AllSelect()) && ARow < FixedRows()) && ACol >= FixedCols() &&
        ((X > R.Left + 3 && X < R.Right - 3) || !Options().Contains(goColSizing))) {
        SetFocus();
        if (OnMouseDown) OnMouseDown(this, mbLeft, Shift, X, Y);
        FSelectionClick = true;
        FOleDownPoint = TPoint{X, Y};
        if (OnClickCell) OnClickCell(this, ARow, ACol);
        return;
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

    // A cell button, or an expand button: selects its cell and is pressed until the release,
    // which reports it (an expand button's release switches the row's height).
    auto PressCellButton = [&](bool Expand) {
        HideInplaceEdit();
        if (!IsFixed(ACol, ARow)) {
            const bool Was = FForceSel;
            FForceSel = true;
            if (SelectCellOverride(ACol, ARow)) MoveColRow(ACol, ARow, true, true);
            FForceSel = Was;
        }
        // Placed after the selection, which may have moved the view.
        if (!InRect(Expand ? ExpandButtonRect(RealCol, ARow) : ButtonRect(RealCol, ARow), X, Y)) return false;
        PushButton(ACol, ARow, true);
        FPushedCellButton = {ACol, ARow};
        if (OnClickCell) OnClickCell(this, ARow, ACol);
        return true;
    };
    if (HasCellButton(RealCol, ARow) && PressCellButton(false)) return;
    if (HasExpand(RealCol, ARow) && PressCellButton(true)) return;

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

    // Disjunct row and column selection: Ctrl on a selected row (column) deselects it on the
    // release; a plain press starts a new set.
    if (MouseActions()->DisjunctRowSelect() && ARow >= FixedRows() &&
        !(ACol == 0 && MouseActions()->HotmailRowSelect())) {
        if (Shift.Contains(ssShift)) {
            const TGridRect Old = Selection();
            RunPlatformMessage(Message);
            SetSelection(TGridRect{std::min(ACol, Old.Left), std::min(ARow, Old.Top), std::max(ACol, Old.Left),
                                   std::max(ARow, Old.Top)});
            return;
        }
        if (Shift.Contains(ssCtrl) || MouseActions()->DisjunctRowSelectNoCtrl()) {
            const int Idx = RowSelectIndex(ARow);
            if (Idx >= 0 && Idx < RowSelectLimit() && GetRowSelect(Idx)) FDeselectState = true;
        } else {
            FMouseDownFlag = true;
            if (!Shift.Contains(ssAlt)) ClearRowSelect();
        }
    }
    if (MouseActions()->DisjunctColSelect() && ACol >= FixedCols()) {
        if (Shift.Contains(ssCtrl)) {
            if (GetColSelect(ACol)) FDeselectState = true;
        } else {
            FMouseDownFlag = true;
            ClearColSelect();
        }
    }

    if (CellControlMouseDown(ACol, ARow, X, Y)) return;
    if (LinkMouseDown(ACol, ARow, RealCol, X, Y)) return;

    Movecell = -1;
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
    if (ACol >= ColCount() || ARow >= RowCount()) return false;
    if (!(CanEdit || ControlLook()->CheckAlwaysActive())) return false;
    const TCellType Kind = GetCellType(RealCol, ARow);
    const bool Radio = Kind == ctRadioButton;
    if (!Radio && !HasCheckBox(RealCol, ARow)) return false;
    if (CellGraphicRecord(RealCol, ARow) && !IsInCheckBox(RealCol, ARow, X, Y)) return false;

    HideInplaceEdit();
    SetFocus();
    if (Radio) {
        ClickRadioButton(RealCol, ARow, true);
        // The display column, as the check box's click reports it.
        if (OnRadioButtonClick) OnRadioButtonClick(this, ACol, ARow);
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

bool TExtStringGrid::NodeOrRadioMouseDown(int ACol, int ARow, int RealCol, int X, int Y, const TRect& R,
                                          TShiftState Shift) {
    const bool Node = IsNode(ARow);
    // A header node opens or closes every group at once.
    if (ARow < FixedRows() && ACol == 0 && Node && IsInNodeGlyph(ARow, X) && MouseActions()->NodeAllExpandContract()) {
        const bool Collapsed = GetNodeState(ARow);
        if (Collapsed)
            ExpandAll();
        else
            ContractAll();
        if (TCellGraphic* CG = NodeRecord(ARow)) CG->SetCellBoolean(!Collapsed);
        RepaintCell(0, ARow);
        return false;
    }
    if (ARow >= FixedRows() && ACol == 0 && Node && IsInNodeGlyph(ARow, X)) {
        if (OnMouseDown) OnMouseDown(this, mbLeft, Shift, X, Y);
        if (OnClickCell) OnClickCell(this, ARow, ACol);
        const int RR = RealRowIndex(ARow);
        bool Allow = true;
        if (GetNodeState(ARow)) {
            if (OnBeforeExpandNode) OnBeforeExpandNode(this, ARow, RR, Allow);
            if (Allow) {
                ExpandNode(RR);
                if (OnExpandNode) OnExpandNode(this, ARow, RR);
            }
        } else {
            if (OnBeforeContractNode) OnBeforeContractNode(this, ARow, RR, Allow);
            if (Allow) {
                ContractNode(RR);
                if (OnContractNode) OnContractNode(this, ARow, RR);
            }
        }
        if (MouseActions()->MoveRowOnNodeClick()) {
            const int Now = DisplRowIndex(RR);
            if (Now >= 0 && Now < RowCount()) SetRow(Now);
        }
        return true;
    }
    if (IsRadio(RealCol, ARow) && (IsEditable(RealCol, ARow) || ControlLook()->RadioAlwaysActive())) {
        HideInplaceEdit();
        RadioGroupClick(RealCol, ARow, X - R.Left, Y - R.Top);
        SetFocus();
        return true;
    }
    if (ACol == 0 && ARow >= FixedRows() && HasNodes() && !MouseActions()->RowSelect() &&
        !Options().Contains(goRowSizing)) {
        if (OnMouseDown) OnMouseDown(this, mbLeft, Shift, X, Y);
        if (OnClickCell) OnClickCell(this, ARow, ACol);
        return true;
    }
    return false;
}

bool TExtStringGrid::ToggleCheckBoxCell(int RealCol, int DisplRow, bool CheckCanEdit) {
    if (!HasCheckBox(RealCol, DisplRow)) return false;
    if (CheckCanEdit && !ControlLook()->CheckAlwaysActive()) {
        bool CanEdit = Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit();
        GetCellEditable(RealCol, DisplRow, CanEdit);
        if (!CanEdit) return false;
    }
    // Reported at the displayed column, as the keyboard's Space reports it.
    return ToggleCheckStateAs(RealCol, DisplRow, false, DisplColIndex(RealCol));
}

int TExtStringGrid::RatingStars(int RealCol, int DisplRow) {
    // The painter draws as many stars as the rating's graphic holds.
    if (TCellGraphic* CG = CellGraphicRecord(RealCol, DisplRow); CG && CG->CellType() == ctRating)
        return CG->CellAngle();
    return 5;
}

bool TExtStringGrid::IsOpenableLink(const QString& Anchor) {
    const QString A = Anchor.trimmed().toLower();
    return A.startsWith(QLatin1String("http://")) || A.startsWith(QLatin1String("https://")) ||
        A.startsWith(QLatin1String("mailto:"));
}

TExtStringGrid::THTMLHit TExtStringGrid::HTMLHitTest(int ACol, int ARow, int X, int Y) {
    THTMLHit Hit;
    const int RealCol = RealColIndex(ACol);
    const QString Text = GetCellEx(RealCol, ARow);
    if (ClassifyCellText(Text, EnableHTML()) != 1) return Hit;
    // The text's room as the painter lays it out.
    TRect R = CellRect(ACol, ARow);
    R.Right -= XYOffset().x();
    R.Left += XYOffset().x() + 1;
    if (HasCheckBox(RealCol, ARow)) R.Left += ControlLook()->CheckSize();
    R.Top += XYOffset().y() + 1;
    TCanvas* C = Canvas();
    TFont Saved;
    Saved.Assign(C->Font());
    struct TRestore {
        TCanvas* C;
        TFont* F;
        ~TRestore() { C->SetFont(F); }
    } Restore{C, &Saved};
    if (IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows())
        C->SetFont(FixedFont());
    else
        C->SetFont(GetCellFont(RealCol, ARow).get());
    QString StripVal, FocusAnchor;
    int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
    TRect HoverRect;
    DrawHTMLText(C, Text, R, dynamic_cast<TCustomImageList*>(GridImages()), X, Y, -1, 0, 1, true, false, false, false,
                 true, URLUnderlineOnHover(), !EnhTextSize(), false, 0.0, URLColor(), clNone, clNone, TColor(0x808080),
                 Hit.Anchor, StripVal, FocusAnchor, Hit.Title, XSize, YSize, HyperLinks, MouseLink, HoverRect,
                 Hit.ControlRect, Hit.CtrlID, Hit.CtrlValue, Hit.CtrlType, FImageCache.get(),
                 dynamic_cast<TPictureContainer*>(PictureContainer()), this, bdLeftToRight);
    return Hit;
}

QString TExtStringGrid::LinkAt(int ACol, int ARow, int X, int Y) {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return QString();
    const QString Text = GetCellEx(RealColIndex(ACol), ARow);
    if (ClassifyCellText(Text, EnableHTML()) == 1) return HTMLHitTest(ACol, ARow, X, Y).Anchor;
    if (URLShow() && IsURLText(Text)) return Text.trimmed();
    return QString();
}

bool TExtStringGrid::LinkMouseDown(int ACol, int ARow, int RealCol, int X, int Y) {
    const QString Text = GetCellEx(RealCol, ARow);
    const bool HTML = ClassifyCellText(Text, EnableHTML()) == 1;
    if (!URLShow() && !HTML) return false;
    const QString Anchor = LinkAt(ACol, ARow, X, Y);
    if (Anchor.isEmpty()) return false;
    bool AutoHandle = true;
    if (OnAnchorClick) OnAnchorClick(this, ARow, ACol, Anchor, AutoHandle);
    if (!AutoHandle) return true;
    if (!Anchor.toUpper().contains(QLatin1String("CELL://"))) {
        // Only web and mail addresses leave the program: a cell text is no way to start files
        // or other programs.
        if (IsOpenableLink(Anchor)) OpenLink(Anchor.trimmed());
        return true;
    }
    TPoint Cell;
    const QString Ref = Anchor.trimmed();
    if (ParseRCCellRef(Ref.mid(Ref.toUpper().indexOf(QLatin1String("CELL://")) + 7), Cell) && Cell.X >= FixedCols() &&
        Cell.X < ColCount() && Cell.Y >= FixedRows() && Cell.Y < RowCount()) {
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
    if (Button == mbLeft && FixedDropDownPress(X, Y)) return;
    // A hovered header held down takes its pressed look until the release.
    if (Button == mbLeft) {
        int HC = -1, HR = -1;
        MouseToCell(X, Y, HC, HR);
        if (HC >= 0 && HR >= 0 && IsHoverFixedCell(HC, HR)) {
            FHeaderHeld = TPoint{HC, HR};
            RepaintCell(HC, HR);
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

// A press on the drop-down part of a hovered header: the part is drawn pressed until the button
// comes up, and the header neither sorts, moves nor selects.
bool TExtStringGrid::FixedDropDownPress(int X, int Y) {
    if (!ControlLook()->FixedDropDownButton()) return false;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0 || !IsHoverFixedCell(ACol, ARow)) return false;
    const TRect R = CellRect(ACol, ARow);
    const int Edge = R.Right - (Options().Contains(goColSizing) ? 2 : 0);
    if (X < Edge - 16 || X >= Edge) return false;
    const int RC = RealColIndex(ACol);
    if (!CanShowFixedDropDown(RC)) return false;
    FFixedDropDownPressed = TPoint{ACol, ARow};
    FHoverFixedCell = TPoint{ACol, ARow};
    RepaintCell(ACol, ARow);
    if (FixedDropDownMenu() || OnFixedDropDownClick) {
        TPopupMenu* Menu = dynamic_cast<TPopupMenu*>(FixedDropDownMenu());
        bool Keep = false;
        // The menu's items learn from its tag which column they serve.
        if (Menu) Menu->SetTag(RC);
        if (OnFixedDropDownClick) OnFixedDropDownClick(this, RC, ARow, Menu, Keep);
        if (Menu) {
            const TPoint P = ClientToScreen(TPoint{R.Right - 16, R.Bottom});
            Menu->Popup(P.X, P.Y);
        }
        RepaintCell(ACol, ARow);
    }
    return true;
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
    for (TPoint* Held : {&FFixedDropDownPressed, &FHeaderHeld}) {
        if (Held->X < 0) continue;
        const TPoint Was = *Held;
        *Held = TPoint{-1, -1};
        if (Was.X < ColCount() && Was.Y < RowCount()) RepaintCell(Was.X, Was.Y);
    }

    // The end of sizing a fixed column (row): the width reaches from the columns before it to X.
    if (FSizingFixed) {
        FSizingFixed = false;
        FSizeFixed = false;
        if (FSizingFixedCol >= 0 && FSizingFixedCol < ColCount()) {
            int W = X;
            for (int c = 0; c < FSizingFixedCol; ++c) W -= ColWidths(c);
            W = std::max(0, W);
            SetColWidths(FSizingFixedCol, W);
            if (OnEndColumnSize) OnEndColumnSize(this, FSizingFixedCol);
            if (OnUpdateColumnSize) {
                int Asked = W;
                OnUpdateColumnSize(this, FSizingFixedCol, Asked);
                if (Asked != W) SetColWidths(FSizingFixedCol, std::max(0, Asked));
            }
        }
    }
    if (FSizingFixedR) {
        FSizingFixedR = false;
        FSizeFixedR = false;
        if (FSizingFixedRow >= 0 && FSizingFixedRow < RowCount()) {
            int H = Y;
            for (int r = 0; r < FSizingFixedRow; ++r) H -= RowHeights(r);
            SetRowHeights(FSizingFixedRow, std::max(0, H));
            if (OnEndRowSize) OnEndRowSize(this, FSizingFixedRow);
        }
    }

    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const TShiftState Shift = MessageShift(Message);

    // A pressed cell button: released here, and reported when the release is on it.
    if (FPushedCellButton.X >= 0 && FPushedCellButton.Y >= 0) {
        const TPoint P = FPushedCellButton;
        const bool Inside = ACol >= 0 && ARow >= 0;
        bool Enabled = ControlLook()->NoDisabledButtonLook();
        if (!Enabled && !Inside) Enabled = Options().Contains(goEditing);
        if (!Enabled && Inside) {
            bool CanEdit = true;
            GetCellEditable(RealColIndex(ACol), ARow, CanEdit);
            Enabled = CanEdit && !IsFixed(ACol, ARow);
        }
        const bool FixedPress = P.X < FixedCols() || P.Y < FixedRows();
        if (Enabled || FixedPress) {
            PushButton(P.X, P.Y, false);
            if (Inside) {
                const TPoint B = BaseCell(ACol, ARow);
                const bool OnButton = InRect(ButtonRect(RealColIndex(B.X), B.Y), X, Y);
                if ((OnButton || P.Y < FixedRows() || (FixedAsButtons() && P.X < FixedCols())) && OnButtonClick)
                    OnButtonClick(this, P.X, P.Y);
                if (HasExpand(RealColIndex(B.X), B.Y) && InRect(ExpandButtonRect(RealColIndex(B.X), B.Y), X, Y)) {
                    const int PressedCol = RealColIndex(P.X);
                    DoExpandClick(PressedCol, P.Y, ToggleExpand(PressedCol, P.Y));
                }
            }
        }
        FPushedCellButton = {-1, -1};
    }
    if (FScrollHintShown) HideScrollHint();

    const bool SizeCursor =
        ARow >= 0 && ARow < FixedRows() && ACol >= 0 && Options().Contains(goColSizing) && GridState() == gsColSizing;
    if (OnClick && FDoOnClick && !SizeCursor && ARow >= 0 && ACol >= 0 && (ARow < FixedRows() || ACol < FixedCols()))
        OnClick(this);
    FDoOnClick = false;
    // A press that sized a column or row ends as a sizing, never as a click on the header.
    if (GridState() == gsColSizing || GridState() == gsRowSizing) ColSizeFlg = true;

    // A press inside the selection that did not become a drag: the release selects.
    if (FSelectionClick) {
        FSelectionClick = false;
        if (ACol >= FixedCols() && ARow >= FixedRows() && !IsFixed(ACol, ARow)) {
            if (MouseActions()->DisjunctRowSelect() && DragDropSettings()->OleDropSource()) {
                if (Shift.Contains(ssCtrl) || MouseActions()->DisjunctRowSelectNoCtrl()) {
                    const int Idx = RowSelectIndex(ARow);
                    if (Idx >= 0 && Idx < RowSelectLimit()) SetRowSelect(Idx, !GetRowSelect(Idx));
                    // The pointer's position, as every mouse-up handler receives it.
                    if (OnMouseUp) OnMouseUp(this, mbLeft, TShiftState{ssCtrl}, X, Y);
                    return;
                }
                ClearRowSelect();
            }
            if (Options().Contains(goRowSelect))
                SetSelection(TGridRect{FixedCols(), ARow, ColCount() - 1, ARow});
            else
                MoveColRow(ACol, ARow, true, true);
        }
    }

    // Disjunct row and column selection: the rows (columns) of the selection join the set; a
    // Ctrl press on a selected one takes it out.
    if (ACol >= 0 && ARow >= 0 && MouseActions()->DisjunctRowSelect()) {
        if (!(ACol == 0 && MouseActions()->HotmailRowSelect())) SelectionToRowSelect(false);
        if (ARow >= FixedRows() && ARow < RowCount() - FixedFooters() && FDeselectState) {
            const int Idx = RowSelectIndex(ARow);
            if (Idx >= 0 && Idx < RowSelectLimit()) SetRowSelect(Idx, false);
        }
        if (MouseActions()->HotmailRowSelect()) RepaintCell(0, 0);
        FDeselectState = false;
    }
    if (ACol >= 0 && ARow >= 0 && MouseActions()->DisjunctColSelect()) {
        SelectionToColSelect(false);
        if (ACol >= FixedCols() && ACol < ColCount() - FixedRightCols() && FDeselectState) SetColSelect(ACol, false);
        FDeselectState = false;
    }

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
    if (int Idx = -1; IsRadio(RealCol, ARow) && OnRadioMouseUp) {
        const TPoint B = BaseCell(RealCol, ARow);
        GetRadioIdx(B.X, B.Y, Idx);
        OnRadioMouseUp(this, RealCol, ARow, Idx);
    }
    if (FDblClk) {
        FDblClk = false;
        return;
    }
    const TRect R = CellRect(ACol, ARow);
    if (ARow == 0 && Options().Contains(goColSizing) && (std::abs(X - R.Left) < 4 || std::abs(X - R.Right) < 4)) return;
    // A click on a filter button opens the list and does not sort.
    if (ARow == FilterDropDownRow() && X >= R.Right - 16 && GetFilterValues(RealCol)) return;

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
    SortHeaderClick(RealCol, MessageShift(Message));
}

void TExtStringGrid::SortHeaderClick(int RealCol, TShiftState Shift) {
    TSortSettings* S = SortSettings();
    SetSortTime(Clock().TickCount());
    if (SortRowXRef()->Count() != RowCount()) InitSortXRef();
    if (S->IndexShow()) {
        // Shift (or Ctrl) adds the column as a further key or turns its key round; a plain
        // click turns the only key round or makes the column the only key.
        const bool Extend = Shift.Contains(S->IndexSortKey() == ikShift ? ssShift : ssCtrl);
        TSortIndexList* L = SortIndexes();
        const bool InitAsc = S->InitSortDirection() == TSortDirection::sdAscending;
        if (L->FindIndex(RealCol) >= 0 && (Extend || L->Count() == 1))
            L->ToggleIndex(RealCol);
        else {
            if (!Extend) L->Clear();
            L->AddIndex(RealCol, InitAsc);
        }
        S->SetColumn(RealCol);
        if (HasNodes())
            QSortGroupIndexed();
        else
            QSortIndexed();
    } else {
        if (S->Column() == RealCol) {
            const TSortDirection Next = S->Direction() == TSortDirection::sdAscending ? TSortDirection::sdDescending
                                                                                      : TSortDirection::sdAscending;
            if (S->UndoSort() && Next == S->InitSortDirection()) {
                // The click that would come back to the first order restores the unsorted one.
                QUnSort();
                S->SetColumn(-1);
                S->SetDirection(S->InitSortDirection());
                Invalidate();
                DoClickSort(RealCol);
                return;
            }
            S->SetDirection(Next);
        } else {
            S->SetDirection(S->InitSortDirection());
            S->SetColumn(RealCol);
        }
        if (HasNodes())
            QSortGroup();
        else
            QSort();
    }
    Invalidate();
    DoClickSort(S->Column());
}

void TExtStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    MouseUpOverride(Button, Shift, X, Y);
}

void TExtStringGrid::MouseUpOverride(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const bool Notes = Button == mbLeft || (Button == mbRight && MouseActions()->SelectOnRightClick());
    // A release on a filter button opens that column's filter list; any other release closes it.
    {
        int FCol = -1, FRow = -1;
        MouseToCell(X, Y, FCol, FRow);
        const bool OnButton = FCol >= 0 && FRow >= 0 && FRow == FilterDropDownRow() &&
            RealColIndex(FCol) != FFilterCol && InFilterButton(FCol, FRow, X, Y);
        if (!(OnButton && ShowFilterList(FCol, FRow))) {
            if (FilterList() && FilterList()->Visible()) FilterList()->SetVisible(false);
            FFilterCol = -1;
        }
    }
    // Disjunct cell selection: Shift adds the cell, Ctrl flips it, a plain click starts anew.
    if (MouseActions()->DisjunctCellSelect() && Button == mbLeft) {
        int ACol = -1, ARow = -1;
        MouseToCell(X, Y, ACol, ARow);
        if (ACol >= 0 && ARow >= 0) {
            const TPoint B = BaseCell(ACol, ARow);
            if (!IsFixed(B.X, B.Y)) {
                bool CanSelect = true;
                if (OnSelectCell) OnSelectCell(this, ACol, ARow, CanSelect);
                if (!CanSelect) return;
                if (Shift.Contains(ssShift))
                    SetSelectedCells(ACol, ARow, true);
                else if (Shift.Contains(ssCtrl))
                    SetSelectedCells(B.X, B.Y, !GetSelectedCells(B.X, B.Y));
                else {
                    ClearSelectedCells();
                    Invalidate();
                    SetSelectedCells(B.X, B.Y, true);
                }
            } else if (!Shift.Contains(ssCtrl) && !IsFixed(ACol, ARow)) {
                ClearSelectedCells();
                Invalidate();
            }
            const TGridRect S = Selection();
            if (S.Left != S.Right || S.Top != S.Bottom) {
                for (int r = S.Top; r <= S.Bottom; ++r)
                    for (int c = S.Left; c <= S.Right; ++c)
                        if (!(c == B.X && r == B.Y) && !GetSelectedCells(c, r)) SetSelectedCells(c, r, true);
                Invalidate();
            } else
                RepaintCell(S.Left, S.Top);
        }
    }
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    // The release reports a selection that differs from the one the press found (or last
    // reported while the mouse moved), once.
    if (Notes && FMouseDownSelValid) {
        const TGridRect S = Selection();
        if (!SameRect(S, FMouseDownSelection)) DoSelectionChanged(S.Left, S.Top, S.Right, S.Bottom);
    }
    if (Button == mbLeft) FMouseDownSelValid = false;
}
