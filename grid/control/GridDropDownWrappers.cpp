// The shared layer of the grid's drop-down editors and the wrappers' own value handling.
#include "grid/control/GridDropDownWrappers.h"

#include "grid/control/ExtGrid.h"
#include "platform/rtl/SysUtils.h"

// ---- the shared layer ------------------------------------------------------------------------------------
TGridDropDownLink::TGridDropDownLink(TComponent* AOwner, TExtCustomDropDown* AControl, TGridDropDownTraits ATraits)
    : FControl(AControl), FGrid(GridEditorOwner(AOwner)), FTraits(ATraits) {}

void TGridDropDownLink::LoadCellValue(int RealCol, int DisplRow, const QString& Text) {
    (void)RealCol, (void)DisplRow;
    SetEditText(Text);
}

QString TGridDropDownLink::CellValue() const { return FControl->Text(); }

void TGridDropDownLink::SetEditText(const QString& Value) { FControl->SetText(Value); }

void TGridDropDownLink::PutText(const QString& Value) {
    if (FControl->Text() == Value) return;
    // Putting a value back is no typing of the user's: no change event for it.
    const bool Was = FCell.Open;
    FCell.Open = false;
    SetEditText(Value);
    FCell.Open = Was;
}

bool TGridDropDownLink::IsOpenEditor() const { return GridEditorIsOpen(FGrid, FControl); }

bool TGridDropDownLink::ClaimsKey(Word Key) const {
    if (Key == VK_RETURN || Key == VK_ESCAPE) return true;
    return Key == VK_TAB && FGrid->EditorWantsTab();
}

bool TGridDropDownLink::StoreValue() {
    const QString From = CellValue();
    if (FStored && From == FStoredFrom) return true;
    QString Value = From;
    BeforeStore(Value);
    if (!FGrid->CommitEditorText(FCell, Value)) return false;
    FStored = true;
    FStoredFrom = From;
    AfterStore();
    return true;
}

bool TGridDropDownLink::CommitText(bool SelectAll) {
    TExtStringGrid* G = FGrid;
    if (!StoreValue()) {
        PutText(G->NewCellText());
        if (SelectAll) {
            FControl->SetSelStart(0);
            FControl->SelectAll();
        } else {
            FControl->SetSelStart(FControl->PrefixLength() + int(FControl->GetText().size()));
        }
        G->SetEditorRefusedValue(true);
        // The move that would follow Enter does not happen.
        if (SelectAll) G->SetNoAutoAdvance(true);
        FControl->Invalidate();
        return false;
    }
    PutText(G->NewCellText());
    return true;
}

void TGridDropDownLink::GridKeyDown(Word& Key, TShiftState Shift) {
    TExtStringGrid* G = FGrid;
    Forced = false;
    WorkMode = Key != VK_BACK && Key != VK_DELETE;
    if (!IsOpenEditor()) return;
    const bool Dropped = FControl->DroppedDown();
    const bool Special = FTraits.PopupKeepsArrows && Dropped
        ? GridEditorKeyIn(Key, {VK_TAB, VK_RETURN, VK_ESCAPE})
        : GridEditorKeyIn(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_UP, VK_DOWN}) &&
            !(Key == VK_DOWN && Shift.Contains(ssAlt));
    if (!Special) return;

    if (Key == VK_ESCAPE) {
        // The cell keeps what it had when the editor opened; the popup's choice is dropped.
        if (Dropped) FControl->HideDropDown(true);
        PutText(FCell.OpenText);
        G->CancelInplaceEdit();
        Key = 0;
        return;
    }
    const bool Commit = Key == VK_RETURN || (!FTraits.PopupKeepsArrows && (Key == VK_UP || Key == VK_DOWN));
    if (Commit) {
        BeforeCommit(Key);
        if (!CommitText(true)) {
            Key = 0;
            return;
        }
    }
    if (Key == VK_TAB && G->EditorWantsTab()) {
        if (!CommitText(false)) {
            Key = 0;
            return;
        }
        if (Dropped) FControl->HideDropDown(false);
        G->HideInplaceEdit();
        if (G->Options().Contains(goTabs))
            G->EditorsTabToNextCell(Shift);
        else
            // The grid sees the Tab after this key is done, as a typed one.
            PostMessage(G, WM_KEYDOWN, VK_TAB, LPARAM(Shift.Bits()));
        Key = 0;
        return;
    }
    if (Dropped) {
        FControl->HideDropDown(false);
        G->HideInplaceEdit();
        if (GridEditorKeyIn(Key, {VK_PRIOR, VK_NEXT, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) Key = 0;
    } else if (Key == VK_END) {
        return;
    }
    G->DoneInplaceEdit(Key, Shift);
    if (!IsOpenEditor() && G->Navigation()->AdvanceOnEnter() && G->Navigation()->AdvanceAutoEdit())
        G->ShowInplaceEdit();
    Key = 0;
}

bool TGridDropDownLink::GridKeyPress(QChar& Key) {
    TExtStringGrid* G = FGrid;
    if (G->OnKeyPress) {
        QChar K = Key;
        G->OnKeyPress(FControl, K);
        Key = K;
    }
    const ushort U = Key.unicode();
    // Enter, Escape and Tab act on the grid; none is a character of the value.
    return !(U == 0 || U == 27 || U == 13 || U == 9);
}

void TGridDropDownLink::GridChange() {
    if (FCell.Open && IsOpenEditor()) FGrid->EditorTextChanged(FCell, CellValue());
}

void TGridDropDownLink::GridExit() {
    if (IsOpenEditor()) FGrid->HideInplaceEdit();
}

void TGridDropDownLink::PlaceCaretAtClick() {
    TExtStringGrid* G = FGrid;
    if (!G->LButFlag()) return;
    // The press that opened the editor, in the control's client coordinates.
    const QPoint P = G->LButPos() - QPoint(FControl->Left(), FControl->Top());
    if (P.x() < 0 || P.y() < 0 || P.x() > FControl->Width() || P.y() > FControl->Height()) return;
    const LRESULT R = FControl->Perform(EM_CHARFROMPOS, 0, MakeLParam(P.x(), P.y()));
    if (R == -1) return;
    const int At = std::min<int>(
        LoWord(R), FControl->PrefixLength() + int(FControl->GetText().size()) + int(FControl->Suffix().size()));
    FControl->SetSelStart(At);
    FControl->SetSelLength(0);
    G->ClearLButFlag();
}

// ---- the wrappers ------------------------------------------------------------------------------------------
TGridTrackbarDropDown::TGridTrackbarDropDown(TComponent* AOwner)
    : TGridDropDownWrapper<TExtTrackBarDropDown>(AOwner, TGridDropDownTraits{true, false}) {}

void TGridTrackbarDropDown::LoadCellValue(int RealCol, int DisplRow, const QString& Text) {
    (void)RealCol, (void)DisplRow;
    bool Ok = false;
    const int V = Text.trimmed().toInt(&Ok, 10);
    if (Ok) SetPosition(V);
    // The edit shows the cell's own text: a cell that holds no number is not given another's.
    SetEditText(Text);
}

TGridMemoDropDown::TGridMemoDropDown(TComponent* AOwner)
    : TGridDropDownWrapper<TExtMemoDropDown>(AOwner, TGridDropDownTraits{true, false}) {}

void TGridMemoDropDown::LoadCellValue(int RealCol, int DisplRow, const QString& Text) {
    (void)RealCol, (void)DisplRow;
    SetEditText(Text);
    SetSelStart(0);
    SetSelLength(0);
}

QString TGridMemoDropDown::CellValue() const {
    if (EditorEnabled()) return TGridDropDownWrapper<TExtMemoDropDown>::CellValue();
    QStringList Lines;
    for (int I = 0; I < MemoText()->Count(); ++I) Lines << MemoText()->Get(I);
    return Lines.join(QStringLiteral("\r\n"));
}

TGridCalculatorDropDown::TGridCalculatorDropDown(TComponent* AOwner)
    : TGridDropDownWrapper<TExtCalculatorDropdown>(AOwner, TGridDropDownTraits{true, false}) {}

void TGridCalculatorDropDown::BeforeCommit(Word Key) {
    if (Key == VK_RETURN) CalcResult();
}

TGridTimepickerDropDown::TGridTimepickerDropDown(TComponent* AOwner)
    : TGridDropDownWrapper<TExtTimePickerDropDown>(AOwner) {
    SetFocusDraw(false);
}

TGridDetailPickerDropDown::TGridDetailPickerDropDown(TComponent* AOwner)
    : TGridDropDownWrapper<TExtDetailDropDown>(AOwner) {}

void TGridDetailPickerDropDown::LoadCellValue(int RealCol, int DisplRow, const QString& Text) {
    (void)RealCol, (void)DisplRow;
    SetEditText(Text);
    const int I = Items()->IndexOf(Text);
    if (I >= 0) SetItemIndex(I);
}

TGridColorDropDown::TGridColorDropDown(TComponent* AOwner)
    : TGridDropDownWrapper<TExtColorPickerDropDown>(AOwner, TGridDropDownTraits{false, true}) {}

void TGridColorDropDown::LoadCellValue(int RealCol, int DisplRow, const QString& Text) {
    TExtStringGrid* G = Grid();
    // The picker paints its colour and leaves the edit text alone: the edit holds this cell's own
    // text, so a commit gives the cell back its text, never one left from another cell. The
    // choice reaches the application through OnColorSelect.
    SetEditText(Text);
    const bool Shape = G->GetCellType(RealCol, DisplRow) == ctShape;
    SetSelectedColor(Shape ? G->GetShapeColor(RealCol, DisplRow) : G->Colors(RealCol, DisplRow));
}

QString TGridColorDropDown::CellValue() const {
    if (SelectedColor() == clNone) return TGridDropDownWrapper<TExtColorPickerDropDown>::CellValue();
    return SelectedColorText();
}

void TGridColorDropDown::BeforeStore(QString& Value) {
    TExtStringGrid* G = Grid();
    FStoreColor = SelectedColor();
    if (G->OnColorSelected) G->OnColorSelected(G, Cell().RealCol, G->EditorDisplRow(Cell()), FStoreColor, Value);
}

void TGridColorDropDown::AfterStore() {
    TExtStringGrid* G = Grid();
    const int RealCol = Cell().RealCol;
    const int DisplRow = G->EditorDisplRow(Cell());
    if (FStoreColor == clNone || DisplRow < 0 || DisplRow >= G->RowCount()) return;
    if (G->GetCellType(RealCol, DisplRow) == ctShape)
        G->SetShapeColor(RealCol, DisplRow, FStoreColor);
    else
        G->SetColors(RealCol, DisplRow, FStoreColor);
}

TGridImageDropDown::TGridImageDropDown(TComponent* AOwner) : TGridDropDownWrapper<TExtImagePickerDropDown>(AOwner) {}

QString TGridImageDropDown::CellValue() const {
    // A data-image cell holds the index of its image: a pick changes that number.
    if (FDataImage) return QString::number(ImageIndex());
    // The edit shows the picked item's caption, which is no text of the cell's.
    if (FImageList) return Cell().OpenText;
    return TGridDropDownWrapper<TExtImagePickerDropDown>::CellValue();
}

void TGridImageDropDown::BeforeStore(QString& Value) {
    TExtStringGrid* G = Grid();
    FStoreIndex = ImageIndex();
    if (G->OnImageSelected) G->OnImageSelected(G, Cell().RealCol, G->EditorDisplRow(Cell()), FStoreIndex);
    if (FDataImage) Value = QString::number(FStoreIndex);
}

void TGridImageDropDown::AfterStore() {
    TExtStringGrid* G = Grid();
    const int DisplRow = G->EditorDisplRow(Cell());
    if (FImageList && DisplRow >= 0 && DisplRow < G->RowCount()) G->SetImageIdx(Cell().RealCol, DisplRow, FStoreIndex);
}

void TGridImageDropDown::LoadCellValue(int RealCol, int DisplRow, const QString& Text) {
    TExtStringGrid* G = Grid();
    const TCellType T = G->GetCellType(RealCol, DisplRow);
    FDataImage = T == ctDataImage;
    FImageList = T == ctImageList;
    if (T != ctImageList && T != ctDataImage) {
        SetEditText(Text);
        return;
    }
    auto* List = dynamic_cast<TCustomImageList*>(G->GridImages());
    SetImages(List);
    if (List && Items()->Count() == 0) AddImagesFromImageList();
    int Index = -1;
    if (T == ctImageList) {
        G->GetImageIdx(RealCol, DisplRow, Index);
    } else {
        bool Ok = false;
        Index = G->GetGridCell(RealCol, DisplRow).trimmed().toInt(&Ok);
        if (!Ok) Index = -1;
    }
    SetImageIndex(Index);
    const int I = ItemIndex();
    SetEditText(I >= 0 && I < Items()->Count() ? Items()->Items(I)->Caption() : QString());
}
