// The filter lists that drop from a header's filter button, and the auxiliary editors: the edit
// box and combo over a form control embedded in a cell's HTML text, and the fixed-cell editors.
//
// Applying a chosen entry to the rows belongs to the filter engine (grid/services/Filter.cpp);
// the column grid applies its own column entries (ExtCGrid_Cells.cpp).
#include "grid/control/ExtGrid.h"

#include "grid/base/EsgHTMLE.h"
#include "grid/base/ExtUtil.h"
#include "grid/control/GridAuxEditors.h"
#include "grid/control/GridDropLists.h"
#include "platform/gui/Messages.h"

#include <QPointer>

#include <algorithm>

// ---- creation ----------------------------------------------------------------------------------------
void TExtStringGrid::CreateFilterListsAndAuxEditors() {
    FDropList = Create<TDropList>(this, nullptr, this);
    FDropList->OnSelect = [this](TObject* Sender, int ItemIndex) { FilterListSelect(Sender, ItemIndex); };
    FDropCheckList = Create<TDropCheckList>(this, nullptr, this);
    FDropCheckList->OnSelect = [this](TObject* Sender, int ItemIndex) { FilterCheckListSelect(Sender, ItemIndex); };
    FControlEdit = Create<TControlEdit>(this, nullptr, this);
    FControlEdit->OnExit = [this](TObject*) { EndCellControlEdit(); };
    FControlCombo = Create<TControlCombo>(this, nullptr, this);
    FControlCombo->OnExit = [this](TObject*) { EndCellControlEdit(); };
    FControlCombo->OnSelect = [this](TObject*) {
        if (OnControlComboSelect)
            OnControlComboSelect(this, FCellControlCell.Y, FCellControlCell.X, FControlCombo->ItemIndex(),
                                 FCellControlID, FControlCombo->Text());
    };
    FTransEdit = Create<TGridTransEdit>(this, this, this);
    FTransEdit->OnChange = [this](TObject* Sender) { FixedEditChange(Sender); };
    FTransCombo = Create<TGridTransCombo>(this, this, this);
    FTransCombo->SetVisible(false);
}

void TExtStringGrid::FreeFilterListsAndAuxEditors() {
    auto Free = [](auto*& C) {
        if (!C) return;
        C->OnExit = nullptr;
        delete C;
        C = nullptr;
    };
    Free(FDropList);
    Free(FDropCheckList);
    Free(FControlEdit);
    Free(FControlCombo);
    Free(FTransEdit);
    Free(FTransCombo);
}

// ---- filter lists ------------------------------------------------------------------------------------
TListBox* TExtStringGrid::FilterList() const {
    if (FilterDropDownCheck()) return FDropCheckList;
    return FDropList;
}

bool TExtStringGrid::InFilterButton(int DisplCol, int ARow, int X, int Y) {
    if (DisplCol < 0 || DisplCol >= ColCount() || ARow < 0 || ARow >= RowCount()) return false;
    const TRect R = CellRect(DisplCol, ARow);
    return X >= R.Right - 16 && X <= R.Right - 3 && Y >= R.Top && Y - R.Top < 19;
}

bool TExtStringGrid::ShowFilterList(int DisplCol, int ARow) {
    if (!FDropList || DisplCol < 0 || DisplCol >= ColCount() || ARow < 0 || ARow >= RowCount()) return false;
    const int RealCol = RealColIndex(DisplCol);
    if (!GetFilterValues(RealCol)) return false;
    FFilterCol = RealCol;
    const bool Check = FilterDropDownCheck();
    TDropListBase* L = Check ? static_cast<TDropListBase*>(FDropCheckList) : FDropList;
    (Check ? static_cast<TDropListBase*>(FDropList) : FDropCheckList)->SetVisible(false);
    L->SetColor(FilterDropDown()->Color());
    L->Font()->Assign(FilterDropDown()->Font());
    L->Clear();
    TStringList* Values = FilterValueList();
    for (int i = 0; i < Values->Count(); ++i) {
        const QString E = Values->Get(i);
        const int Eq = E.indexOf(QLatin1Char('='));
        L->Items()->Add(Eq < 0 ? E : E.left(Eq));
    }
    if (Check) {
        FDropCheckList->MakeCheckable();
        for (int i = 0; i < L->Items()->Count(); ++i) {
            QString S = L->Items()->Get(i);
            if (S.contains(QLatin1Char(' '))) S = QLatin1Char('"') + S + QLatin1Char('"');
            for (int f = 0; f < Filter()->Count(); ++f) {
                TFilterData* D = Filter()->Items(f);
                if (D->Column() == RealCol && D->Condition() == S) {
                    FDropCheckList->SetChecked(i, true);
                    break;
                }
            }
        }
    }

    const TRect R = CellRect(DisplCol, ARow);
    int W = FilterDropDown()->Width(), H = FilterDropDown()->Height();
    if (FilterDropDown()->AutoSize()) {
        const int Edge = 2; // the system's 3-D edge
        TCanvas C;
        C.Font()->Assign(L->Font());
        int Widest = 0;
        for (int i = 0; i < L->Items()->Count(); ++i) Widest = std::max(Widest, C.TextWidth(L->Items()->Get(i)));
        H = L->Items()->Count() * L->ItemHeight() + 2 * Edge;
        W = Widest + 8 + 2 * Edge;
    }
    int X = R.Right - 16, Y = R.Top + 16;
    if (FilterDropDown()->ColumnWidth()) {
        X = R.Left;
        Y = R.Bottom;
        W = R.Right - R.Left;
    }
    // Kept inside the grid on the right, never left of it.
    if (X + W > ClientWidth()) X = ClientWidth() - W;
    X = std::max(X, 0);
    L->DropAt(Bounds(X, Y, W, H), R.Top);
    return true;
}

void TExtStringGrid::FilterListSelect(TObject* Sender, int ItemIndex) {
    (void)Sender;
    FilterSelect(ItemIndex);
}

// ---- embedded form controls ----------------------------------------------------------------------------
bool TExtStringGrid::FindCellControl(int DisplCol, int DisplRow, int X, int Y, QString& CID, QString& CType,
                                     QString& CValue, TRect& ControlRect) {
    if (DisplCol < 0 || DisplCol >= ColCount() || DisplRow < 0 || DisplRow >= RowCount()) return false;
    const int RealCol = RealColIndex(DisplCol);
    // The cell narrowed as for drawing its text.
    TRect R = CellRect(DisplCol, DisplRow);
    R.Left += XYOffset().x() + 1 + (HasCheckBox(RealCol, DisplRow) ? ControlLook()->CheckSize() : 0);
    R.Top += XYOffset().y() + 1;
    R.Right -= XYOffset().x();
    TBitmap B;
    B.SetSize(1, 1);
    B.Canvas()->Font()->Assign(Font());
    QString AnchorVal, StripVal, FocusAnchor, AnchorHint;
    int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
    TRect HoverRect;
    CType.clear();
    DrawHTMLText(B.Canvas(), GetCellEx(RealCol, DisplRow), R, dynamic_cast<TCustomImageList*>(GridImages()), X, Y, -1,
                 0, 1, true, false, false, false, true, false, !EnhTextSize(), false, 0.0, URLColor(), clNone, clNone,
                 TColor(0x808080), AnchorVal, StripVal, FocusAnchor, AnchorHint, XSize, YSize, HyperLinks, MouseLink,
                 HoverRect, ControlRect, CID, CValue, CType, FImageCache.get(),
                 dynamic_cast<TPictureContainer*>(PictureContainer()), this, bdLeftToRight);
    return !CType.isEmpty() && !CID.isEmpty();
}

bool TExtStringGrid::CellControlMouseDown(int DisplCol, int DisplRow, int X, int Y) {
    const int RealCol = RealColIndex(DisplCol);
    const QString Text = GetCellEx(RealCol, DisplRow);
    if (!EnableHTML() || ClassifyCellText(Text, true) != 1 || !HasControlTag(Text)) return false;
    QString CID, CT, CV;
    TRect C;
    if (FindCellControl(DisplCol, DisplRow, X, Y, CID, CT, CV, C)) {
        bool Editable = (Options().Contains(goEditing) || FEditDisable) && !ReadOnly(RealCol, DisplRow);
        if (OnCanEditCell) OnCanEditCell(this, DisplRow, DisplCol, Editable);
        if (!Editable) return false;
        EndCellControlEdit();
        QString T = GetCellEx(RealCol, DisplRow);
        if (CT == QLatin1String("CHECK")) {
            SetControlValue(T, CID, CV == QLatin1String("TRUE") ? QStringLiteral("FALSE") : QStringLiteral("TRUE"));
            SetCellEx(RealCol, DisplRow, T);
        } else if (CT == QLatin1String("RADIO")) {
            T = ClearRadioControls(T);
            SetControlValue(T, CID, QStringLiteral("TRUE"));
            SetCellEx(RealCol, DisplRow, T);
        } else if (CT == QLatin1String("BUTTON")) {
            FCellControlCell = Point(RealCol, DisplRow);
            RepaintCell(DisplCol, DisplRow);
        }
        if (OnControlClick) OnControlClick(this, DisplRow, DisplCol, CID, CT, CV);
        StartCellControlEdit(RealCol, DisplRow, C, CID, CT, CV);
        return true;
    }
    // A link beside the controls is followed as a link.
    if (!LinkAt(DisplCol, DisplRow, X, Y).isEmpty()) return false;
    // A click beside the controls selects the cell and opens no editor.
    if (OnClickCell) OnClickCell(this, DisplRow, DisplCol);
    HideInplaceEdit();
    MoveColRow(DisplCol, DisplRow, true, true);
    return true;
}

void TExtStringGrid::HTMLControlClick(int RealCol, int DisplRow, const QString& Name) {
    EditNextCellControl(RealCol, DisplRow, Name);
    if (FCellControlID.isEmpty()) return;
    const int DisplCol = DisplColIndex(RealCol);
    if (DisplCol < 0 || DisplCol >= ColCount() || DisplRow < 0 || DisplRow >= RowCount()) return;
    // The control's rectangle as the text renderer lays the cell out (as a click finds it).
    QString CID = FCellControlID, CV, CT;
    TRect ControlRect;
    if (!FindCellControl(DisplCol, DisplRow, -1, -1, CID, CT, CV, ControlRect)) {
        if (CanFocus()) SetFocus();
        return;
    }
    StartCellControlEdit(RealCol, DisplRow, ControlRect, CID, CT, CV);
}

void TExtStringGrid::StartCellControlEdit(int RealCol, int DisplRow, const TRect& C, const QString& ID,
                                          const QString& CType, const QString& Value) {
    const QString T = CType.toUpper();
    const bool IsEdit = T == QLatin1String("EDIT") || T == QLatin1String("PASSWORD") || T == QLatin1String("MASK");
    if (!IsEdit && T != QLatin1String("COMBO")) return;
    FCellControlCell = Point(RealCol, DisplRow);
    FCellControlID = ID;
    FCtrlType = T;
    FCtrlEditing = true;
    const QString Text = GetCellEx(RealCol, DisplRow);
    if (IsEdit) {
        TControlEdit* E = FControlEdit;
        E->SetParent(this);
        E->SetBorderStyle(bsNone);
        E->SetBounds(C.Left + 1, C.Top + 8, C.Right - C.Left - 4, 14);
        E->SetPasswordChar(T == QLatin1String("PASSWORD") ? QChar('*') : QChar());
        E->SetEditMask(T == QLatin1String("MASK") ? GetControlProp(Text, ID) : QString());
        E->SetMaxLength(std::max(0, GetControlMaxLen(Text, ID)));
        E->SetText(Value);
        E->SetVisible(true);
        E->raise();
        if (E->CanFocus()) E->SetFocus();
        return;
    }
    TControlCombo* Cb = FControlCombo;
    Cb->SetParent(this);
    auto Values = std::make_unique<TStringList>();
    bool Edit = true;
    int DropCount = ControlLook()->DropDownCount();
    if (OnControlComboList) OnControlComboList(this, DisplRow, RealCol, ID, T, Value, Values.get(), Edit, DropCount);
    Cb->SetStyle(Edit ? csDropDown : csDropDownList);
    Cb->Items()->Assign(Values.get());
    Cb->SetItemIndex(Values->IndexOf(Value));
    if (Edit) Cb->SetText(Value);
    Cb->SetDropDownCount(DropCount);
    Cb->SetMaxLength(std::max(0, GetControlMaxLen(Text, ID)));
    Cb->SetBounds(C.Left - 1, C.Top + 4, C.Right - C.Left, Cb->Height());
    Cb->SetVisible(true);
    Cb->raise();
    if (Cb->CanFocus()) Cb->SetFocus();
    Cb->SetDroppedDown(isVisible());
}

void TExtStringGrid::EndCellControlEdit() {
    if (!FCtrlEditing) return;
    FCtrlEditing = false;
    const bool IsCombo = FCtrlType == QLatin1String("COMBO");
    TWinControl* E = IsCombo ? static_cast<TWinControl*>(FControlCombo) : FControlEdit;
    const QString Value = E->Text();
    const int RealCol = FCellControlCell.X, DisplRow = FCellControlCell.Y;
    if (RealCol >= 0 && DisplRow >= 0 && DisplRow < RowCount()) {
        QString Text = GetCellEx(RealCol, DisplRow);
        if (SetControlValue(Text, FCellControlID, Value)) SetCellEx(RealCol, DisplRow, Text);
    }
    E->SetVisible(false);
    const QString Type = FCtrlType;
    FCtrlType.clear();
    if (OnControlEditDone) OnControlEditDone(this, DisplRow, RealCol, FCellControlID, Type, Value);
}
