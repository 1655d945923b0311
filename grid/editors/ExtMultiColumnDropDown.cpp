// The multi-column drop-down: its columns and items, the popup list and its painting, opening,
// choosing and cancelling, completion while typing, the search in the open list, stepping with
// keys and wheel, and the colour styles.
#include "grid/editors/ExtMultiColumnDropDown.h"

#include "platform/rtl/StateScope.h"

#include <QApplication>
#include <QPointer>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace ExtMultiColumnDropDown {

namespace {
bool StartsWith(const QString& Text, const QString& Prefix, bool CaseSensitive) {
    return Text.startsWith(Prefix, CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}
} // namespace

// ---- items ------------------------------------------------------------------------------------
void TDropDownItem::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TDropDownItem*>(Source);
    if (!S || S == this) return;
    FImageIndex = S->FImageIndex;
    FText = S->FText;
}

int TDropDownItems::IndexInColumn(int Column, const QString& Value) const {
    for (int I = 0; I < Count(); ++I) {
        const TDropDownItem* It = Items(I);
        if (It->HasText(Column) && It->TextAt(Column) == Value) return I;
    }
    return -1;
}

// ---- the popup list ---------------------------------------------------------------------------
TExtColGrid::TExtColGrid(TComponent* AOwner)
    : TStringGrid(AOwner), FColumns(std::make_unique<TDropDownColumns>(this)) {}

void TExtColGrid::AfterConstruction() {
    TStringGrid::AfterConstruction();
    SetFixedCols(0);
    SetFixedRows(1);
    SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRowSelect});
    SetDefaultDrawing(false);
    SetBorderStyle(bsNone);
    SetGridLineWidth(0);
}

bool TExtColGrid::AllRowsFit(int ListHeight) const {
    int H = RowCount() > 0 ? RowHeights(0) : 0;
    for (int R = 1; R < RowCount(); ++R) H += RowHeights(R);
    return H <= ListHeight;
}

bool TExtColGrid::RowInView(int ARow) const { return ARow >= TopRow() && ARow < TopRow() + VisibleRowCount(); }

void TExtColGrid::FillFromDropDown(TExtMultiColumnDropDown* D) {
    FExtDropDown = D;
    FColumns->Assign(D->Columns());
    const int NCols = std::max(1, FColumns->Count());
    const int NItems = D->Items()->Count();
    SetColCount(NCols);
    SetRowCount(std::max(2, NItems + 1));
    for (int C = 0; C < FColumns->Count(); ++C) SetColWidths(C, std::max(0, FColumns->Items(C)->Width()));
    FLineColor = D->LineColor();
    FFixedLineColor = D->FixedLineColor();
    FHeaderColor = D->HeaderColor();
    FHeaderColorTo = D->HeaderColorTo();
    FHeaderHeight = D->HeaderHeight();
    FHeaderFont.Assign(D->HeaderFont());
    FImages = D->Images();
    SetDefaultRowHeight(std::max(1, D->DropDownRowHeight()));
    SetRowHeights(0, std::max(1, FHeaderHeight));
    TGridOptions O = Options();
    if (D->ColumnSizing())
        O << goColSizing;
    else
        O >> goColSizing;
    SetOptions(O);
    FConfirmSelection = false;
    FMouseWheelSelection = false;

    auto ImageShown = [&](TDropDownColumn* Col, const TDropDownItem* It) {
        return Col->ColumnType() == ctImage && FImages && It->ImageIndex() >= 0;
    };
    TCanvas Measure;
    bool Wraps = false;
    for (int C = 0; C < FColumns->Count(); ++C) {
        TDropDownColumn* Col = FColumns->Items(C);
        Wraps = Wraps || Col->Wordwrap();
        if (!Col->AutoSize()) continue;
        Measure.Font()->Assign(Col->Font());
        int W = 0;
        for (int I = 0; I < NItems; ++I) {
            const TDropDownItem* It = D->Items()->Items(I);
            int Cell = ImageShown(Col, It) ? FImages->Width() + 4 : 0;
            const QString S = It->TextAt(C);
            if (!S.isEmpty()) Cell += Measure.TextWidth(S) + 6;
            W = std::max(W, Cell);
        }
        Col->SetWidth(W);
        SetColWidths(C, W);
    }
    if (!Wraps) return;
    for (int I = 0; I < NItems; ++I) {
        const TDropDownItem* It = D->Items()->Items(I);
        int H = 24;
        for (int C = 0; C < FColumns->Count(); ++C) {
            TDropDownColumn* Col = FColumns->Items(C);
            if (!Col->Wordwrap()) continue;
            if (ImageShown(Col, It)) H = std::max(H, FImages->Height() + 6);
            Measure.Font()->Assign(Col->Font());
            TRect R = Rect(0, 0, ColWidths(C), 0);
            DrawText(&Measure, It->TextAt(C), R, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
            H = std::max(H, R.Height() + 6);
        }
        SetRowHeights(I + 1, H);
    }
}

void TExtColGrid::Select() {
    if (OnSelect) OnSelect(this);
}

void TExtColGrid::KeyDown(Word& Key, TShiftState Shift) {
    FConfirmSelection = true;
    FMouseWheelSelection = false;
    if (Key == VK_TAB) {
        Key = 0;
        return;
    }
    QPointer<TExtColGrid> Self(this);
    if (Key == VK_RETURN) {
        Select();
        if (!Self) return;
    }
    TStringGrid::KeyDown(Key, Shift);
}

void TExtColGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FConfirmSelection = true;
    FMouseWheelSelection = false;
    FOldRow = MouseCoord(X, Y).Y;
    TStringGrid::MouseDown(Button, Shift, X, Y);
}

void TExtColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    QPointer<TExtColGrid> Self(this);
    TStringGrid::MouseUp(Button, Shift, X, Y);
    if (!Self || Button != mbLeft) return;
    const int ARow = MouseCoord(X, Y).Y;
    if (ARow >= PlatformFixedRows()) Select();
}

bool TExtColGrid::Wheel(bool Down, TShiftState Shift, TPoint MousePos) {
    // A wheel move only looks through the list: the item is taken once a key or a click
    // confirms it.
    FConfirmSelection = false;
    const TStateScope<bool> Wheeling(this, FMouseWheelSelection, true);
    return Down ? TStringGrid::DoMouseWheelDown(Shift, MousePos) : TStringGrid::DoMouseWheelUp(Shift, MousePos);
}

bool TExtColGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) { return Wheel(true, Shift, MousePos); }
bool TExtColGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) { return Wheel(false, Shift, MousePos); }

void TExtColGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    (void)AState;
    TCanvas* C = Canvas();
    TExtMultiColumnDropDown* D = FExtDropDown;
    // 1. The whole cell, and its place in its row.
    TRect R = Rect(ARect.Left, ARect.Top, ARect.Left + ColWidths(ACol), ARect.Top + RowHeights(ARow));
    if (D && D->OnDropDownDrawItem) {
        D->OnDropDownDrawItem(D, ACol, ARow, C, R);
        return;
    }
    int Place = 3; // middle
    if (ColCount() == 1)
        Place = 0;
    else if (ACol == 0)
        Place = 1;
    else if (ACol == ColCount() - 1)
        Place = 2;

    // 2. What the cell shows.
    const bool Header = ARow < PlatformFixedRows();
    const bool Selected = !Header && ARow == Row();
    TDropDownColumn* Col = ACol < FColumns->Count() ? FColumns->Items(ACol) : nullptr;
    TColor CellColor = Color();
    TAlignment Align = taLeftJustify;
    bool Wrap = false, Ellipsis = false;
    TFont* CellFont = &FHeaderFont;
    QString Text;
    int ImageIndex = -1;
    if (Col) {
        CellColor = Col->Color();
        Align = Col->Alignment();
        Wrap = Col->Wordwrap();
        Ellipsis = Col->Ellipsis();
        CellFont = Col->Font();
    }
    if (Header) {
        if (Col) Text = Col->Header();
    } else if (D && ARow - 1 < D->Items()->Count()) {
        const TDropDownItem* It = D->Items()->Items(ARow - 1);
        Text = It->TextAt(ACol);
        if (Col && Col->ColumnType() == ctImage) ImageIndex = It->ImageIndex();
        if (D->OnDropDownGetItemText) D->OnDropDownGetItemText(D, ACol, ARow, Text);
    }

    // 3. Background.
    C->Brush()->SetStyle(bsSolid);
    if (Header) {
        if (FHeaderColor == clNone || FHeaderColorTo == clNone) {
            C->Brush()->SetColor(FHeaderColor == clNone ? Color() : FHeaderColor);
            C->FillRect(R);
        } else if (D) {
            D->DrawGradient(C, FHeaderColor, FHeaderColorTo, gdVertical, R, 80);
        } else {
            FillGradientBands(C, FHeaderColor, FHeaderColorTo, false, R, 80);
        }
    } else if (Selected && D) {
        D->DrawSelectionBackground(C, R, Place, CellColor);
    } else {
        C->Brush()->SetColor(CellColor);
        C->FillRect(R);
    }

    // 4. Lines.
    const int LW = Header ? 1 : FGridLineWidth;
    if (LW > 0) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Header ? FFixedLineColor : FLineColor);
        const TGridOptions O = Options();
        if (O.Contains(Header ? goFixedHorzLine : goHorzLine))
            C->FillRect(Rect(R.Left, R.Bottom - LW, R.Right, R.Bottom));
        if (O.Contains(Header ? goFixedVertLine : goVertLine))
            C->FillRect(Rect(R.Right - LW, R.Top, R.Right, R.Bottom));
    }

    // 5. Margin and image.
    R.Right -= LW;
    R.Bottom -= LW;
    R.Left += 2;
    if (FImages && ImageIndex >= 0) {
        int Y = R.Top;
        if (FImages->Height() < R.Height()) Y += (R.Height() - FImages->Height()) / 2;
        FImages->Draw(C, R.Left, Y, ImageIndex, true);
        R.Left += FImages->Width() + 4;
    }

    // 6. Text.
    if (Text.isEmpty()) return;
    C->Font()->Assign(Header ? &FHeaderFont : CellFont);
    if (Selected) C->Font()->SetColor(D ? D->SelectionTextColor() : clBlack);
    C->Brush()->SetStyle(bsClear);
    unsigned Flags = DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS;
    Flags |= Wrap ? (DT_WORDBREAK | DT_EDITCONTROL) : DT_SINGLELINE;
    Flags |= Align == taRightJustify ? DT_RIGHT : Align == taCenter ? DT_CENTER : DT_LEFT;
    if (Ellipsis) Flags |= DT_END_ELLIPSIS;
    if (Wrap) {
        // A wrapped text is centred as a block: the platform centres single lines only.
        TRect M = R;
        DrawText(C, Text, M, Flags | DT_CALCRECT);
        const int Off = std::max(0, (R.Height() - M.Height()) / 2);
        R.Top += Off;
    }
    DrawText(C, Text, R, Flags);
    C->Brush()->SetStyle(bsSolid);
}

// ---- the drop-down: creation ------------------------------------------------------------------
TExtMultiColumnDropDown::TExtMultiColumnDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FItems(std::make_unique<TDropDownItems>(this)),
      FColumns(std::make_unique<TDropDownColumns>(this)), FHeaderFont(std::make_unique<TFont>()) {}

TExtMultiColumnDropDown::~TExtMultiColumnDropDown() = default;

void TExtMultiColumnDropDown::AfterConstruction() {
    TExtCustomDropDown::AfterConstruction();
    FColumnSizing = false;
    FLookupColumn = 0;
    FHeaderColor = clWhite;
    FHeaderColorTo = RGB(128, 128, 128);
    FHeaderHeight = 25;
    SetDropDownColor(clWhite);
    SetDropDownHeight(200);
    FItemIndex = -1;
    FWorkMode = true;
    SetAutoSelect(true);
    FDropDownAutoWidth = true;
    SetSelectionColorStyle(scOffice2007);
    FSelectionTextColor = clBlack;
    FColumnSizeWithDropDown = true;
    FDropDownRowHeight = 22;
    SetEditorEnabled(true);
}

void TExtMultiColumnDropDown::CreateDropDownForm() {
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    if (!FExtColGrid) {
        FExtColGrid = Create<TExtColGrid>(this, DropDownForm());
        FExtColGrid->SetBounds(0, 0, FExtColGrid->Width(), 180);
        FExtColGrid->SetColor(DropDownColor());
        FExtColGrid->FExtDropDown = this;
        FExtColGrid->setAttribute(Qt::WA_OpaquePaintEvent);
    }
    SetControl(FExtColGrid);
}

void TExtMultiColumnDropDown::Assign(TPersistent* Source) {
    TExtCustomDropDown::Assign(Source);
    auto* S = dynamic_cast<TExtMultiColumnDropDown*>(Source);
    if (!S || S == this) return;
    FCaseSensitive = S->FCaseSensitive;
    FDropDownAutoWidth = S->FDropDownAutoWidth;
    FDropDownRowHeight = S->FDropDownRowHeight;
    FLineColor = S->FLineColor;
    FFixedLineColor = S->FFixedLineColor;
    FColumnSizing = S->FColumnSizing;
    FColumnSizeWithDropDown = S->FColumnSizeWithDropDown;
    FColumns->Assign(S->FColumns.get());
    FHeaderColor = S->FHeaderColor;
    FHeaderColorTo = S->FHeaderColorTo;
    FHeaderHeight = S->FHeaderHeight;
    FHeaderFont->Assign(S->FHeaderFont.get());
    FLookupColumn = S->FLookupColumn;
    FSelectionTextColor = S->FSelectionTextColor;
    FItems->Assign(S->FItems.get());
    FItemIndex = S->FItemIndex;
}

void TExtMultiColumnDropDown::Loaded() {
    TExtCustomDropDown::Loaded();
    EndUpdate();
}

// ---- value ------------------------------------------------------------------------------------
void TExtMultiColumnDropDown::SetText(const QString& Value) {
    const TStateScope<bool> Quiet(this, FSettingText, true);
    TExtCustomDropDown::SetText(Value);
}

// A text the control writes is no typing: nothing completes it, and the caret goes to its start
// as after any text written from outside.
void TExtMultiColumnDropDown::SetTextQuiet(const QString& Value) {
    QPointer<TExtMultiColumnDropDown> Self(this);
    SetText(Value);
    if (Self) SetSelStart(PrefixLength());
}

void TExtMultiColumnDropDown::SetItemIndex(int Value) {
    if (Value >= FItems->Count()) return;
    if (Value < 0) Value = -1;
    FItemIndex = Value;
    QString T;
    if (Value >= 0 && FLookupColumn >= 0) T = FItems->Items(Value)->TextAt(FLookupColumn);
    // The same text is not written again, so that a selection in it stays.
    if (T != Text()) SetTextQuiet(T);
}

int TExtMultiColumnDropDown::GetItemIndex(const QString& Val) const {
    if (FLookupColumn < 0) return -1;
    return FItems->IndexInColumn(FLookupColumn, Val);
}

void TExtMultiColumnDropDown::EndUpdate() {
    // An empty rebuild empties the list: entries of items no longer there must not complete.
    FLookupItems.clear();
    if (FLookupColumn < 0) return;
    for (int I = 0; I < FItems->Count(); ++I) FLookupItems.append(FItems->Items(I)->TextAt(FLookupColumn));
}

int TExtMultiColumnDropDown::LookupIndexOf(const QString& Value) const {
    for (int I = 0; I < FLookupItems.size(); ++I)
        if (FLookupItems[I].compare(Value, Qt::CaseInsensitive) == 0) return I < FItems->Count() ? I : -1;
    return -1;
}

// ---- typing in the edit -----------------------------------------------------------------------
void TExtMultiColumnDropDown::ChangeOverride() {
    // The control's own text writes (the completion among them) leave a pending item alone.
    if (!FSettingText) FItemChange = false;
    QPointer<TExtMultiColumnDropDown> Self(this);
    TExtCustomDropDown::Change();
    if (!Self || FSettingText || ComponentState().Contains(csDesigning) || !FWorkMode) return;
    const int Pl = PrefixLength();
    const QString Current = Text();
    const bool Modified = !Current.isEmpty();
    SetModified(Modified);
    const QString Typed = Current.left(std::max(0, SelStart() - Pl));
    if (Typed.isEmpty()) return;
    const int N = int(Typed.size());
    // Only entries of items that still exist complete: the list is rebuilt by EndUpdate alone.
    const int Entries = std::min(int(FLookupItems.size()), FItems->Count());
    for (int I = 0; I < Entries; ++I) {
        if (!StartsWith(FLookupItems[I], Typed, false)) continue;
        const QString NewText = Typed + FLookupItems[I].mid(N).left(255);
        FItemIndex = I;
        FItemIdx = I;
        FItemSel = N;
        FItemChange = true;
        SetTextQuiet(NewText);
        if (!Self) return;
        SetModified(Modified);
        // The completed tail stays selected, so that further typing replaces it.
        SetSelStart(Pl + N);
        SetSelLength(int(NewText.size()) - N);
        return;
    }
    SetTextQuiet(Typed);
    if (!Self) return;
    SetModified(Modified);
    SetSelStart(Pl + N);
}

void TExtMultiColumnDropDown::KeyDownOverride(Word& Key, TShiftState Shift) {
    if (FLookupColumn < 0 || FItems->Count() == 0) {
        TExtCustomDropDown::KeyDown(Key, Shift);
        FStepKey = Key;
        return;
    }
    QPointer<TExtMultiColumnDropDown> Self(this);
    const Word Pressed = Key;
    switch (Pressed) {
        case VK_BACK:
        case VK_ESCAPE:
        case VK_DELETE: FWorkMode = false; break;
        case VK_RETURN: {
            FWorkMode = true;
            const int I = LookupIndexOf(Text());
            if (I >= 0) {
                SetTextQuiet(FLookupItems[I]);
                if (!Self) return;
                SetItemIndex(I);
                if (!Self) return;
                Change();
                if (!Self) return;
            }
            break;
        }
        default: FWorkMode = true; break;
    }
    TExtCustomDropDown::KeyDown(Key, Shift);
    if (!Self) return;
    FStepKey = Key;
    if (Pressed == VK_ESCAPE) SetItemIndex(LookupIndexOf(Text()));
}

void TExtMultiColumnDropDown::KeyPressOverride(QChar& Key) { TExtCustomDropDown::KeyPress(Key); }

void TExtMultiColumnDropDown::KeyUp(Word& Key, TShiftState Shift) {
    QPointer<TExtMultiColumnDropDown> Self(this);
    TExtCustomDropDown::KeyUp(Key, Shift);
    if (!Self || !FItemChange) return;
    FItemChange = false;
    // Settling the item's own letter case is still the user's edit: it stays modified.
    const bool Modified = GetModified();
    SetItemIndex(FItemIdx);
    if (!Self) return;
    SetModified(Modified);
    const int Len = int(Text().size());
    SetSelStart(PrefixLength() + std::min(FItemSel, Len));
    SetSelLength(std::max(0, Len - FItemSel));
}

void TExtMultiColumnDropDown::WMKeyDown(TMessage& M) {
    const TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
    QPointer<TExtMultiColumnDropDown> Self(this);
    // Only a key that the key-down handling left alone steps: one a descendant used up does not.
    // A fixed edit hands its keys to no key-down handling.
    FStepKey = EditorEnabled() ? 0 : Word(M.WParam);
    TExtCustomDropDown::WMKeyDown(M);
    if (!Self || !Enabled() || Shift.Contains(ssAlt) || FStepKey == 0) return;
    Step(FStepKey);
}

void TExtMultiColumnDropDown::Step(Word Key) {
    const int Count = FItems->Count();
    if (Count == 0) return;
    const int I = FItemIndex;
    switch (Key) {
        case VK_UP:
            if (I < 0)
                SetItemIndex(0);
            else if (I > 0)
                SetItemIndex(I - 1);
            break;
        case VK_DOWN:
            if (I < 0)
                SetItemIndex(0);
            else if (I < Count - 1)
                SetItemIndex(I + 1);
            break;
        case VK_PRIOR: SetItemIndex(I < 0 ? 0 : std::max(0, I - 10)); break;
        case VK_NEXT: SetItemIndex(I < 0 ? 0 : std::min(Count - 1, I + 10)); break;
        case VK_HOME:
            if (!EditorEnabled()) SetItemIndex(0);
            break;
        case VK_END:
            if (!EditorEnabled()) SetItemIndex(Count - 1);
            break;
        default: break;
    }
}

void TExtMultiColumnDropDown::MouseWheelDownHook() { Step(VK_DOWN); }
void TExtMultiColumnDropDown::MouseWheelUpHook() { Step(VK_UP); }

// ---- opening and closing ----------------------------------------------------------------------
void TExtMultiColumnDropDown::BeforeDropDown() {
    QPointer<TExtMultiColumnDropDown> Self(this);
    TExtCustomDropDown::BeforeDropDown();
    if (!Self) return;
    if (DropDownForm()) DropDownForm()->SetCancelOnDeActivate(false);
    FShowing = true;
    FLookupEntry.clear();
    if (FExtColGrid) {
        FExtColGrid->FillFromDropDown(this);
        TGridOptions O = FExtColGrid->Options();
        O << goThumbTracking;
        FExtColGrid->SetOptions(O);
        FExtColGrid->SetColor(DropDownColor());
        FExtColGrid->OnSelectCell = [this](TObject*, int ACol, int ARow, bool& CanSelect) {
            ListSelectCell(ACol, ARow, CanSelect);
        };
        FExtColGrid->OnSelect = [this](TObject*) { ListSelect(); };
        SetListRow(FItemIndex + 1);
    }
    FOldItemIndex = FItemIndex;
}

void TExtMultiColumnDropDown::SetListRow(int ARow) {
    if (!FExtColGrid) return;
    ARow = std::clamp(ARow, 1, FExtColGrid->RowCount() - 1);
    if (FExtColGrid->Row() != ARow) FExtColGrid->MoveColRow(0, ARow, true, true);
}

void TExtMultiColumnDropDown::SizeDropDown() {
    TExtCustomDropDown::SizeDropDown();
    if (!FExtColGrid || !DropDownForm() || !FDropDownAutoWidth) return;
    TDropDownForm* F = DropDownForm();
    int ListH = F->Height() - 2 * DropDownBorderWidth();
    if (DropDownHeader()->Visible()) ListH -= DropDownHeader()->Height();
    if (DropDownFooter()->Visible()) ListH -= DropDownFooter()->Height();
    int W = 0;
    for (int C = 0; C < FExtColGrid->ColCount(); ++C) W += FExtColGrid->ColWidths(C);
    if (!FExtColGrid->AllRowsFit(ListH)) W += ExtDropDownColumns::ScrollBarExtent();
    F->resize(W + 2 * DropDownBorderWidth(), F->Height());
}

void TExtMultiColumnDropDown::AdaptDropDownHeight(int& AHeight) {
    // Only whole rows show below the header.
    const int Bars = (DropDownHeader()->Visible() ? DropDownHeader()->Height() : 0) +
        (DropDownFooter()->Visible() ? DropDownFooter()->Height() : 0);
    AHeight = ExtDropDownColumns::WholeRowsHeight(AHeight, Bars, FHeaderHeight, FDropDownRowHeight, 2);
}

void TExtMultiColumnDropDown::DoDropDown() {
    QPointer<TExtMultiColumnDropDown> Self(this);
    TExtCustomDropDown::DoDropDown();
    if (!Self) return;
    if (DroppedDown() && FExtColGrid) {
        if (FColumnSizeWithDropDown) ColumnSizeWithDropDownNow();
        if (FItems->Count() > 0) {
            const int R = std::max(1, FItemIndex + 1);
            SetListRow(R);
            if (!FExtColGrid->RowInView(R)) FExtColGrid->SetTopRow(R - FExtColGrid->VisibleRowCount() + 1);
        }
        if (FExtColGrid->CanFocus()) FExtColGrid->SetFocus();
    }
    FShowing = false;
}

void TExtMultiColumnDropDown::ColumnSizeWithDropDownNow() {
    if (!FExtColGrid || !DropDownForm()) return;
    FExtColGrid->SetScrollBars(ssVertical);
    TDropDownColumns* Cols = FExtColGrid->Columns();
    if (Cols->Count() == 0) return;
    std::vector<int> Widths;
    for (int C = 0; C < Cols->Count(); ++C) Widths.push_back(Cols->Items(C)->Width());
    int W = DropDownForm()->Width();
    if (!FExtColGrid->AllRowsFit(FExtColGrid->Height())) W -= ExtDropDownColumns::ScrollBarExtent();
    const std::vector<int> Scaled = ExtDropDownColumns::ScaleColumnWidths(Widths, W);
    for (int C = 0; C < int(Scaled.size()); ++C) FExtColGrid->SetColWidths(C, Scaled[size_t(C)]);
}

void TExtMultiColumnDropDown::DropDownSizing() {
    TExtCustomDropDown::DropDownSizing();
    if (FColumnSizeWithDropDown) ColumnSizeWithDropDownNow();
}

void TExtMultiColumnDropDown::DoHideDropDown(bool Cancelled) {
    if (!DropDownForm() || !DropDownForm()->isVisible()) {
        TExtCustomDropDown::DoHideDropDown(Cancelled);
        return;
    }
    QPointer<TExtMultiColumnDropDown> Self(this);
    // The item settles before the popup's closing events, so that they see the value that stays;
    // the base then puts a cancelled text back as it was, whether an item held it or not.
    if (Cancelled)
        SetItemIndex(FOldItemIndex);
    else if (FExtColGrid && FExtColGrid->ConfirmSelection())
        SetItemIndex(FExtColGrid->Row() - 1);
    if (!Self) return;
    TExtCustomDropDown::DoHideDropDown(Cancelled);
    if (!Self) return;
    FOldItemIndex = FItemIndex;
}

// ---- choosing in the list ---------------------------------------------------------------------
void TExtMultiColumnDropDown::ListSelectCell(int ACol, int ARow, bool& CanSelect) {
    (void)ACol;
    (void)CanSelect;
    if (FShowing || !FExtColGrid || FExtColGrid->MouseWheelSelection()) return;
    if (ARow >= 1) SetItemIndex(ARow - 1);
}

void TExtMultiColumnDropDown::ListSelect() {
    QPointer<TExtMultiColumnDropDown> Self(this);
    if (FExtColGrid && FExtColGrid->ConfirmSelection()) SetItemIndex(FExtColGrid->Row() - 1);
    if (!Self) return;
    DoHideDropDown(false);
    if (Self && OnSelect) OnSelect(this);
}

void TExtMultiColumnDropDown::ControlKeyDown(Word& Key, TShiftState Shift) {
    const bool Alt = Shift.Contains(ssAlt);
    if (!Alt && (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN)) return;
    const Word Pressed = Key;
    if (Pressed == VK_BACK) {
        // The edit hears of Backspace, but the list's search does the deleting (with the
        // character it types), so the edit must not delete as well.
        KeyDown(Key, Shift);
        return;
    }
    TExtCustomDropDown::ControlKeyDown(Key, Shift);
    // Alt+Up and Alt+Down close the popup through the edit; the list does not move on them.
    if (Alt && (Pressed == VK_UP || Pressed == VK_DOWN)) Key = 0;
}

void TExtMultiColumnDropDown::ControlKeyUp(Word& Key, TShiftState Shift) {
    if (!Shift.Contains(ssAlt) && (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN)) return;
    TExtCustomDropDown::ControlKeyUp(Key, Shift);
}

// Typing in the open list searches the lookup column; the characters never reach the edit.
// Only Enter and Escape are kept out of the search: the navigation keys type no characters.
void TExtMultiColumnDropDown::ControlKeyPress(QChar& Key) {
    const QChar Ch = Key;
    Key = QChar();
    QPointer<TExtMultiColumnDropDown> Self(this);
    if (!KeyboardShiftState().Contains(ssAlt) && (Ch.unicode() == 13 || Ch.unicode() == 27)) {
        FLookupEntry.clear();
        return;
    }
    const int Pl = PrefixLength();
    if (Ch.unicode() == 8) {
        if (SelLength() == 0) {
            FLookupEntry.chop(1);
            SetTextQuiet(FLookupEntry);
        } else {
            QString T = Text();
            T.remove(std::max(0, SelStart() - Pl), SelLength());
            SetTextQuiet(T);
        }
        if (!Self) return;
        SetSelStart(Pl + int(Text().size()));
        FLookupEntry.clear();
        return;
    }
    auto Find = [this](const QString& Entry) {
        if (Entry.isEmpty() || FLookupColumn < 0) return -1;
        for (int I = 0; I < FItems->Count(); ++I) {
            const TDropDownItem* It = FItems->Items(I);
            if (It->HasText(FLookupColumn) && StartsWith(It->TextAt(FLookupColumn), Entry, FCaseSensitive)) return I;
        }
        return -1;
    };
    if (Ch.unicode() != 9) FLookupEntry += Ch;
    int Found = Find(FLookupEntry);
    if (Found >= 0) {
        FItemIndex = Found;
        const QString S = FItems->Items(Found)->TextAt(FLookupColumn);
        SetTextQuiet(S);
        if (!Self) return;
        const int N = std::min(int(FLookupEntry.size()), int(S.size()));
        SetSelStart(Pl + N);
        SetSelLength(int(S.size()) - N);
    } else {
        Found = Find(QString(Ch));
        if (Found < 0) {
            FLookupEntry.clear();
            return;
        }
        FItemIndex = Found;
        FLookupEntry = QString(Ch);
        SetTextQuiet(FItems->Items(Found)->TextAt(FLookupColumn));
        if (!Self) return;
    }
    if (!FExtColGrid) return;
    const int R = Found + 1;
    if (R >= FExtColGrid->RowCount()) return;
    if (!FExtColGrid->RowInView(R)) FExtColGrid->SetTopRow(R);
    FExtColGrid->MoveColRow(0, R, true, true);
}

// ---- styles -----------------------------------------------------------------------------------
void TExtMultiColumnDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    ExtDropDownColumns::SelectionStyleLines(Value, FLineColor, FFixedLineColor);
    TExtCustomDropDown::SetSelectionColorStyle(Value);
}

void TExtMultiColumnDropDown::SetComponentStyle(TExtStyle AStyle) {
    TExtCustomDropDown::SetComponentStyle(AStyle);
    ExtDropDownColumns::ApplyListStyle(*this, AStyle, tsOffice2010Black);
}

} // namespace ExtMultiColumnDropDown
