// The grid drop-down: its columns and items, the popup grid, filling and sizing the popup,
// choosing and cancelling, auto-completion, the typed lookup and narrowing down, keys, the wheel,
// the styles and the popup grid's events passed on.
#include "grid/editors/ExtGridDropDown.h"

#include "grid/base/ExtObj.h"
#include "platform/rtl/StateScope.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLocale>
#include <QPointer>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <deque>

namespace ExtGridDD {

// ---- columns and items ----------------------------------------------------------------------
void TDropDownItem::Assign(TPersistent* Source) {
    if (auto* S = dynamic_cast<TDropDownItem*>(Source)) FImageIndex = S->FImageIndex;
}

namespace {
// The item a popup grid row shows, kept in the row's first object slot so that sorting and
// filtering carry it along. The grid looks at its object slots as cell properties, so the slot
// holds a real object, never a number dressed as a pointer; the tags live as long as the program
// and are shared by every drop-down.
class TItemTag : public TObject {
public:
    explicit TItemTag(int AIndex) : Index(AIndex) {}
    const int Index;
};

TItemTag* TagFor(int Index) {
    static std::deque<TItemTag> Tags;
    while (int(Tags.size()) <= Index) Tags.emplace_back(int(Tags.size()));
    return &Tags[size_t(Index)];
}

using ExtDropDownColumns::ScrollBarExtent;

bool IsStepKey(Word Key) { return Key >= VK_PRIOR && Key <= VK_DOWN; }
} // namespace

// ---- popup grid -----------------------------------------------------------------------------
TExtColGrid::TExtColGrid(TComponent* AOwner)
    : TExtStringGrid(AOwner), FColumns(std::make_unique<TDropDownColumns>(this)) {}

TExtColGrid::~TExtColGrid() = default;

void TExtColGrid::AfterConstruction() {
    TExtStringGrid::AfterConstruction();
    SetColCount(1);
    SetRowCount(2);
    SetFixedCols(0);
    SetFixedRows(1);
    SetFixedRowAlways(true);
    TGridOptions O = Options();
    O >> goRangeSelect >> goVertLine >> goFixedVertLine >> goEditing;
    O << goRowSelect << goHorzLine << goFixedHorzLine;
    SetOptions(O);
    SetBorderStyle(bsNone);
    SetScrollBars(ssVertical);
    Navigation()->SetHomeEndKey(heFirstLastRow);
}

LRESULT TExtColGrid::DialogCode() const { return TExtStringGrid::DialogCode() | DLGC_WANTARROWS | DLGC_WANTTAB; }

// The grid's own key handling would use Enter and Alt+arrows up itself: the drop-down takes them
// first.
void TExtColGrid::WndProc(TMessage& M) {
    switch (M.Msg) {
        case WM_KEYDOWN: {
            Word Key = Word(M.WParam);
            const TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
            FConfirmSelection = true;
            const bool AltUpDown = Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN);
            if (AltUpDown || Key == VK_TAB) {
                // Opening and closing belong to the edit; Tab does nothing at all, in the grid or
                // in the edit.
                if (AltUpDown && OnKeyDown) OnKeyDown(this, Key, Shift);
                M.WParam = 0;
                M.Result = 1;
                return;
            }
            if (Key == VK_RETURN && !(FExtDropDown && FExtDropDown->GridEditable() && EditMode())) {
                M.WParam = 0;
                M.Result = 1;
                if (OnSelect) OnSelect(this);
                return;
            }
            break;
        }
        case WM_CHAR:
            if (M.WParam == 13) return;
            break;
        case WM_MOUSEWHEEL: {
            // A wheel move only looks through the rows: it neither chooses nor confirms.
            FConfirmSelection = false;
            const TStateScope<bool> Wheeling(FMouseWheelSelection, true);
            TExtStringGrid::WndProc(M);
            return;
        }
        default: break;
    }
    TExtStringGrid::WndProc(M);
}

void TExtColGrid::EditKeyDownHook(Word& Key, TShiftState Shift) {
    TExtStringGrid::EditKeyDownHook(Key, Shift);
    if (Key != VK_RETURN || !FExtDropDown) return;
    FConfirmSelection = true;
    FExtDropDown->EndGridCellEdit(Key, Shift);
}

void TExtColGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FConfirmSelection = true;
    FOldRow = Row();
    TExtStringGrid::MouseDown(Button, Shift, X, Y);
}

void TExtColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    QPointer<TExtColGrid> Self(this);
    TExtStringGrid::MouseUp(Button, Shift, X, Y);
    if (!Self || Button != mbLeft) return;
    int C = -1, R = -1;
    MouseToCell(X, Y, C, R);
    if (R < FixedRows() || R >= RowCount() || C < 0) return;
    if (HasCheckBox(C, R)) return;
    if (OnSelect) OnSelect(this);
}

} // namespace ExtGridDD

using namespace ExtGridDD;

// ---- creation -------------------------------------------------------------------------------
TCustomExtGridDropDown::TCustomExtGridDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FColumns(std::make_unique<TDropDownColumns>(this)),
      FSearchFooter(std::make_unique<TSearchFooter>(this, false)), FBands(std::make_unique<TBands>()),
      FNavigation(std::make_unique<TNavigation>()), FMouseActions(std::make_unique<TMouseActions>(this)) {
    FNavigation->SetHomeEndKey(heFirstLastRow);
}

TCustomExtGridDropDown::~TCustomExtGridDropDown() = default;

TCustomExtGridDropDown::TDropDownItems* TCustomExtGridDropDown::CreateItems() { return new TDropDownItems(this); }

void TCustomExtGridDropDown::AfterConstruction() {
    FItems.reset(CreateItems());
    TExtCustomDropDown::AfterConstruction();
    SetEditorEnabled(true);
    SetDropDownEnabled(true);
    SetDropDownColor(clWhite);
    SetDropDownHeight(200);
    FHeaderFont.Assign(Font());
    if (ComponentState().Contains(csDesigning))
        for (int I = 0; I < 3; ++I) FColumns->Add();
}

void TCustomExtGridDropDown::CreateDropDownForm() {
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm() || FExtColGrid) return;
    FExtColGrid = Create<TExtColGrid>(this, DropDownForm());
    FExtColGrid->SetBounds(0, 0, FExtColGrid->Width(), 180);
    FExtColGrid->SetColor(DropDownColor());
    FExtColGrid->SetExtDropDown(this);
    SetControl(FExtColGrid);
}

void TCustomExtGridDropDown::Loaded() {
    TExtCustomDropDown::Loaded();
    RebuildLookupList();
    if (FUseItems && FExtColGrid) FillGridFromItems();
}

void TCustomExtGridDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TExtCustomDropDown::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == FGridImages) SetGridImages(nullptr);
}

void TCustomExtGridDropDown::SetGridImages(TCustomImageList* Value) {
    FGridImages = Value;
    if (FExtColGrid) FExtColGrid->SetGridImages(Value);
}

void TCustomExtGridDropDown::SetStyle(TDropDownStyle Value) {
    FStyle = Value;
    SetEditorEnabled(Value == dsDropDown);
}

// ---- value ----------------------------------------------------------------------------------
void TCustomExtGridDropDown::SetText(const QString& Value) {
    const TStateScope<bool> Quiet(FSettingText, true);
    TExtCustomDropDown::SetText(Value);
}

void TCustomExtGridDropDown::SetTextQuiet(const QString& Value) { SetText(Value); }

QString TCustomExtGridDropDown::LookupCell(int ARow) const {
    if (!FExtColGrid || FLookupColumn < 0 || ARow < 0 || ARow >= FExtColGrid->RowCount()) return QString();
    return FExtColGrid->GetGridCell(FLookupColumn, ARow);
}

int TCustomExtGridDropDown::DataCount() const {
    if (FUseItems) return FItems->Count();
    if (!FExtColGrid) return 0;
    return std::max(0, FExtColGrid->RowCount() - FExtColGrid->FixedRows());
}

void TCustomExtGridDropDown::SetItemIndex(int Value) {
    if (FUseItems) {
        if (Value >= FItems->Count()) return;
        FItemIndex = Value;
        QString S;
        if (Value >= 0 && FLookupColumn >= 0) {
            TStringList* T = FItems->Items(Value)->Text();
            if (FLookupColumn < T->Count()) S = T->Strings(FLookupColumn);
        }
        SetTextQuiet(S);
        return;
    }
    if (!FExtColGrid) {
        FItemIndex = Value;
        return;
    }
    // A row past the last data row has no lookup cell to show.
    if (Value == FItemIndex || Value >= DataCount()) return;
    FItemIndex = Value;
    SetTextQuiet(Value < 0 ? QString() : LookupCell(Value + FExtColGrid->FixedRows()));
}

int TCustomExtGridDropDown::RowToItem(int ARow) const {
    if (!FExtColGrid || ARow >= FExtColGrid->RowCount() || ARow < 0) return ARow;
    if (auto* T = dynamic_cast<TItemTag*>(FExtColGrid->GetGridObject(0, ARow))) return T->Index;
    return -1;
}

int TCustomExtGridDropDown::ItemToRow(int AIndex) const {
    // An item no row shows (filtered out, or none at all) has no row: an item index is no row.
    if (!FExtColGrid || AIndex < 0) return -1;
    for (int R = FExtColGrid->FixedRows(); R < FExtColGrid->RowCount(); ++R)
        if (auto* T = dynamic_cast<TItemTag*>(FExtColGrid->GetGridObject(0, R)); T && T->Index == AIndex) return R;
    return -1;
}

bool TCustomExtGridDropDown::FindLookupMatch(const QString& Text, QString& Match, int& Row) const {
    Match.clear();
    Row = -1;
    if (FLookupColumn < 0) return false;
    const QLocale L;
    const QString Key = FCaseSensitive ? Text : L.toUpper(Text);
    auto Starts = [&](const QString& S) { return (FCaseSensitive ? S : L.toUpper(S)).startsWith(Key); };
    if (FUseItems) {
        for (int I = 0; I < FItems->Count(); ++I) {
            TStringList* T = FItems->Items(I)->Text();
            if (FLookupColumn >= T->Count()) continue;
            if (Starts(T->Strings(FLookupColumn))) {
                Match = T->Strings(FLookupColumn);
                Row = I;
                return true;
            }
        }
        return false;
    }
    if (!FExtColGrid) return false;
    for (int R = FExtColGrid->FixedRows(); R < FExtColGrid->RowCount(); ++R) {
        const QString S = LookupCell(R);
        if (Starts(S)) {
            Match = S;
            Row = R;
            return true;
        }
    }
    return false;
}

int TCustomExtGridDropDown::LookupListIndex(const QString& Text, bool Prefix) const {
    const QLocale L;
    const QString Key = L.toUpper(Text);
    // The list is rebuilt by an update alone: only entries of items that still exist count.
    const int Entries = std::min(FLookupItems.Count(), FItems->Count());
    for (int I = 0; I < Entries; ++I) {
        const QString Entry = L.toUpper(FLookupItems.Strings(I));
        if (Prefix ? Entry.startsWith(Key) : Entry == Key) return I;
    }
    return -1;
}

void TCustomExtGridDropDown::RebuildLookupList() {
    FLookupItems.Clear();
    if (FLookupColumn < 0 || FItems->Count() == 0) return;
    for (int I = 0; I < FItems->Count(); ++I) {
        TStringList* T = FItems->Items(I)->Text();
        FLookupItems.Add(FLookupColumn < T->Count() ? T->Strings(FLookupColumn) : QString());
    }
}

// ---- the popup grid's settings and content --------------------------------------------------
bool TCustomExtGridDropDown::AllRowsFit() const {
    if (!FExtColGrid) return true;
    int H = DropDownForm() && DropDownForm()->isVisible() ? FExtColGrid->ClientHeight() : 0;
    if (H <= 0) {
        H = DropDownHeight() - 2 * DropDownBorderWidth();
        if (TDropDownForm* F = DropDownForm()) {
            if (F->Header() && const_cast<TCustomExtGridDropDown*>(this)->DropDownHeader()->Visible())
                H -= const_cast<TCustomExtGridDropDown*>(this)->DropDownHeader()->Height();
            if (F->Footer() && const_cast<TCustomExtGridDropDown*>(this)->DropDownFooter()->Visible())
                H -= const_cast<TCustomExtGridDropDown*>(this)->DropDownFooter()->Height();
        }
    }
    int Need = 0;
    for (int R = 0; R < FExtColGrid->RowCount(); ++R) Need += FExtColGrid->RowHeights(R);
    return Need <= H;
}

void TCustomExtGridDropDown::RefreshGridSettings() {
    TExtColGrid* G = FExtColGrid;
    G->Columns()->Assign(FColumns.get());
    if (G->ColCount() < FColumns->Count()) G->SetColCount(FColumns->Count());
    if (FUseItems) G->SetRowCount(std::max(FItems->Count(), 1) + 1);
    for (int C = 0; C < FColumns->Count() && C < G->ColCount(); ++C) G->SetColWidths(C, FColumns->Items(C)->Width());
    G->SetGridLineColor(FLineColor);
    G->SetGridFixedLineColor(FFixedLineColor);
    G->FLineColor = FLineColor;
    G->FFixedLineColor = FFixedLineColor;
    G->FHeaderColor = FHeaderColor;
    G->FHeaderColorTo = FHeaderColorTo;
    G->ControlLook()->SetFixedGradientFrom(FHeaderColor);
    G->ControlLook()->SetFixedGradientTo(FHeaderColorTo == clNone ? FHeaderColor : FHeaderColorTo);
    G->SetHoverRow(FHoverRow);
    G->SetHoverRowColor(FHoverRowColor);
    G->SetHoverRowColorTo(FHoverRowColorTo);
    G->FHeaderHeight = FHeaderHeight;
    G->FHeaderFont.Assign(&FHeaderFont);
    G->SetFixedFont(&FHeaderFont);
    G->FImages = Images();
    G->SetDefaultRowHeight(std::max(FDropDownRowHeight, 1));
    G->SetRowHeights(0, FHeaderHeight);
    TGridOptions O = G->Options();
    auto Switch = [&O](TGridOption Opt, bool On) {
        if (On)
            O << Opt;
        else
            O >> Opt;
    };
    Switch(goColSizing, FColumnSizing);
    Switch(goColMoving, FColumnMoving);
    Switch(goRowSizing, FRowSizing);
    Switch(goRowMoving, FRowMoving);
    G->SetOptions(O);
    if (FAutoSizeColumns) {
        if (FUseItems) {
            for (int C = 0; C < FColumns->Count() && C < G->ColCount(); ++C) {
                TDropDownColumn* D = FColumns->Items(C);
                if (!D->AutoSize()) continue;
                const QFontMetrics FM(D->Font()->ToQFont());
                int W = 0;
                for (int I = 0; I < FItems->Count(); ++I) {
                    TDropDownItem* It = FItems->Items(I);
                    int IW = 0;
                    if (D->ColumnType() == ctImage && Images() && It->ImageIndex() >= 0) IW += Images()->Width() + 4;
                    if (C < It->Text()->Count() && !It->Text()->Strings(C).isEmpty())
                        IW += FM.horizontalAdvance(It->Text()->Strings(C)) + 6;
                    W = std::max(W, IW);
                }
                D->SetWidth(W);
                G->Columns()->Items(C)->SetWidth(W);
                G->SetColWidths(C, W);
            }
        } else {
            G->AutoSizeColumns(true, 4);
        }
    }
    bool Wraps = false;
    for (int C = 0; C < FColumns->Count(); ++C) Wraps = Wraps || FColumns->Items(C)->Wordwrap();
    if (!Wraps) return;
    for (int R = G->FixedRows(); R < G->RowCount(); ++R) {
        int H = 24;
        for (int C = 0; C < FColumns->Count() && C < G->ColCount(); ++C) {
            TDropDownColumn* D = FColumns->Items(C);
            if (!D->Wordwrap()) continue;
            const QFontMetrics FM(D->Font()->ToQFont());
            const QRect B = FM.boundingRect(QRect(0, 0, std::max(G->ColWidths(C), 1), 10000), Qt::TextWordWrap,
                                            G->GetGridCell(C, R));
            H = std::max(H, B.height() + 6);
            if (D->ColumnType() == ctImage && Images()) H = std::max(H, Images()->Height() + 6);
        }
        G->SetRowHeights(R, H);
    }
}

void TCustomExtGridDropDown::FillGridFromItems() {
    TExtColGrid* G = FExtColGrid;
    const int Cols = std::max(FColumns->Count(), 1);
    G->SetColCount(Cols);
    for (int C = 0; C < Cols; ++C) {
        G->SetGridCell(C, 0, C < FColumns->Count() ? FColumns->Items(C)->Header() : QString());
        G->SetGridObject(C, 0, nullptr);
    }
    G->SetRowCount(G->FixedRows() + std::max(FItems->Count(), 1));
    if (FItems->Count() == 0) {
        for (int C = 0; C < Cols; ++C) {
            G->SetGridCell(C, 1, QString());
            G->SetGridObject(C, 1, nullptr);
        }
        return;
    }
    for (int I = 0; I < FItems->Count(); ++I) {
        TStringList* T = FItems->Items(I)->Text();
        for (int C = 0; C < Cols; ++C) G->SetGridCell(C, I + 1, C < T->Count() ? T->Strings(C) : QString());
        G->SetGridObject(0, I + 1, TagFor(I));
    }
}

void TCustomExtGridDropDown::ConnectGridEvents() {
    TExtColGrid* G = FExtColGrid;
    G->OnStartBlockFocus = [](TObject*) {};
    G->OnEndBlockFocus = [this](TObject*) {
        if (DropDownForm()) DropDownForm()->SetBlockActivate(false);
    };
    G->OnSelect = [this](TObject*) { GridSelect(); };
    G->OnSelectCell = [this](TObject*, int ACol, int ARow, bool&) { GridSelectCell(ACol, ARow); };
    G->OnCheckBoxClick = [this](TObject* S, int C, int R, bool State) {
        if (OnGridCheckBoxClick) OnGridCheckBoxClick(S, C, R, State);
    };
#define EXTGRIDDD_FORWARD(Name)                                                                                        \
    G->On##Name = [this](auto&&... A) {                                                                                \
        if (OnGrid##Name) OnGrid##Name(A...);                                                                          \
    };
    // The blocking ones keep the popup open while the handler shows a window of its own.
#define EXTGRIDDD_BLOCKING(Name)                                                                                       \
    G->On##Name = [this](auto&&... A) {                                                                                \
        if (!OnGrid##Name) return;                                                                                     \
        QPointer<TDropDownForm> F(DropDownForm());                                                                     \
        if (F) F->SetBlockActivate(true);                                                                              \
        OnGrid##Name(A...);                                                                                            \
        if (F) F->SetBlockActivate(false);                                                                             \
    };
    EXTGRIDDD_BLOCKING(AnchorClick)
    EXTGRIDDD_FORWARD(AnchorEnter)
    EXTGRIDDD_FORWARD(AnchorExit)
    EXTGRIDDD_FORWARD(AnchorHint)
    EXTGRIDDD_BLOCKING(ButtonClick)
    EXTGRIDDD_BLOCKING(EllipsClick)
    EXTGRIDDD_FORWARD(CustomCompare)
    EXTGRIDDD_FORWARD(RawCompare)
    EXTGRIDDD_FORWARD(ColumnSize)
    EXTGRIDDD_FORWARD(ColumnSizing)
    EXTGRIDDD_FORWARD(EndColumnSize)
    EXTGRIDDD_FORWARD(RowSize)
    EXTGRIDDD_FORWARD(RowSizing)
    EXTGRIDDD_FORWARD(EndRowSize)
    EXTGRIDDD_FORWARD(RowMove)
    EXTGRIDDD_FORWARD(RowMoving)
    EXTGRIDDD_FORWARD(RowMoved)
    EXTGRIDDD_FORWARD(ColumnMove)
    EXTGRIDDD_FORWARD(ColumnMoving)
    EXTGRIDDD_FORWARD(ColumnMoved)
    EXTGRIDDD_FORWARD(CellBalloon)
    EXTGRIDDD_FORWARD(GetCellGradient)
    EXTGRIDDD_FORWARD(GetFormat)
    EXTGRIDDD_FORWARD(GetEditorType)
    EXTGRIDDD_FORWARD(GetEditorProp)
    EXTGRIDDD_FORWARD(CanEditCell)
    EXTGRIDDD_FORWARD(ScrollHint)
    EXTGRIDDD_FORWARD(RightClickCell)
    EXTGRIDDD_FORWARD(MouseDown)
    EXTGRIDDD_FORWARD(MouseUp)
    EXTGRIDDD_FORWARD(SearchEditChange)
    EXTGRIDDD_FORWARD(SpinClick)
    EXTGRIDDD_FORWARD(AutoAddRow)
    EXTGRIDDD_FORWARD(CanAddRow)
    EXTGRIDDD_FORWARD(CanInsertRow)
    EXTGRIDDD_FORWARD(CanDeleteRow)
#undef EXTGRIDDD_FORWARD
#undef EXTGRIDDD_BLOCKING
    G->OnGridHint = [this](auto&&... A) {
        if (OnGridHint) OnGridHint(A...);
    };
    G->OnGetDisplText = [this](auto&&... A) {
        if (OnGridGetDiplText) OnGridGetDiplText(A...);
    };
    G->OnAutoInsertRow = [this](auto&&... A) {
        if (OnGridInsertRow) OnGridInsertRow(A...);
    };
    G->OnAutoDeleteRow = [this](auto&&... A) {
        if (OnGridDeleteRow) OnGridDeleteRow(A...);
    };
    G->OnAutoInsertCol = [this](auto&&... A) {
        if (OnGridInsertCol) OnGridInsertCol(A...);
    };
    G->OnGetAlignment = [this](TObject* S, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign) {
        if (ACol >= 0 && ACol < FColumns->Count()) HAlign = FColumns->Items(ACol)->Alignment();
        if (OnGridGetAlignment) OnGridGetAlignment(S, ARow, ACol, HAlign, VAlign);
    };
    G->OnGetCellColor = [this](TObject* S, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
        // The header keeps its gradient; data cells take their column's colour.
        if (FExtColGrid && ARow >= FExtColGrid->FixedRows() && ACol >= 0 && ACol < FColumns->Count())
            ABrush->SetColor(FColumns->Items(ACol)->Color());
        if (OnGridGetCellColor) OnGridGetCellColor(S, ARow, ACol, AState, ABrush, AFont);
    };
    G->OnGetFloatFormat = [this](TObject* S, int ACol, int ARow, bool& IsFloat, QString& FloatFormat) {
        FloatFormat.clear();
        if (OnGridGetFloatFormat) OnGridGetFloatFormat(S, ACol, ARow, IsFloat, FloatFormat);
    };
    G->OnMouseMove = [this](TObject* S, TShiftState Shift, int X, int Y) {
        if (!FBalloonInit && FExtColGrid) {
            // The balloons of the grid are armed again for this opening.
            FBalloonInit = true;
            if (FExtColGrid->Balloon()->Enable()) {
                FExtColGrid->Balloon()->SetEnable(false);
                FExtColGrid->Balloon()->SetEnable(true);
            }
        }
        if (OnGridMouseMove) OnGridMouseMove(S, Shift, X, Y);
    };
    G->OnTopLeftChanged = [this](TObject*) {
        if (OnGridTopLeftChanged) OnGridTopLeftChanged(this);
    };
    G->OnCustomCellDraw = nullptr;
    G->OnCustomCellBkgDraw = nullptr;
    if (OnGridCustomCellDraw)
        G->OnCustomCellDraw = [this](TObject* S, TCanvas* C, int ACol, int ARow, TGridDrawState St, TRect R, bool P) {
            if (OnGridCustomCellDraw) OnGridCustomCellDraw(S, C, ACol, ARow, St, R, P);
        };
    if (OnGridCustomCellBkgDraw)
        G->OnCustomCellBkgDraw = [this](TObject* S, TCanvas* C, int ACol, int ARow, TGridDrawState St, TRect R,
                                        bool P) {
            if (OnGridCustomCellBkgDraw) OnGridCustomCellBkgDraw(S, C, ACol, ARow, St, R, P);
        };
    // The drop-down's own sort handlers: the chosen item stays current through a sort.
    G->OnCanSort = [this](TObject*, int, bool&) { FTempItemIndex = FItemIndex; };
    G->OnClickSort = [this](TObject*, int) {
        if (!FExtColGrid || FTempItemIndex < 0) return;
        const int R = FUseItems ? ItemToRow(FTempItemIndex) : -1;
        if (R >= 0) FExtColGrid->MoveCurrentCell(FExtColGrid->Col(), R, true);
    };
}

// ---- opening --------------------------------------------------------------------------------
void TCustomExtGridDropDown::BeforeDropDown() {
    QPointer<TCustomExtGridDropDown> Self(this);
    if (DropDownForm()) DropDownForm()->SetCancelOnDeActivate(false);
    FShowing = true;
    if (FExtColGrid) {
        TExtColGrid* G = FExtColGrid;
        G->SetExtDropDown(this);
        if (FUseItems) {
            // Rows a narrowing hid are filled anew; the narrowing is applied again below.
            G->RemoveAllFilters();
        }
        RefreshGridSettings();
        G->SetColor(DropDownColor());
        G->SortSettings()->SetShow(FSorting != gsNone);
        G->SortSettings()->SetIndexShow(FSorting == gsMultiColumn);
        FBalloonInit = false;
        G->SetGridImages(FGridImages);
        ConnectGridEvents();
        G->SearchFooter()->Assign(FSearchFooter.get());
        G->MouseActions()->Assign(FMouseActions.get());
        G->Navigation()->Assign(FNavigation.get());
        G->Bands()->Assign(FBands.get());
        TGridOptions O = G->Options();
        O << goThumbTracking;
        if (FRowSelect)
            O << goRowSelect;
        else
            O >> goRowSelect;
        if (FGridEditable)
            O << goEditing;
        else
            O >> goEditing;
        G->SetOptions(O);
        G->SetComponentStyle(GetComponentStyle());
    }
    if (FUseItems) {
        TExtCustomDropDown::BeforeDropDown();
        if (!Self) return;
        if (FExtColGrid) {
            FExtColGrid->SetFixedRows(1);
            FillGridFromItems();
            if (FLookupMethod == lmNarrowDown && !FLookupEntry.trimmed().isEmpty())
                FExtColGrid->NarrowDown(FLookupEntry.trimmed(), FLookupColumn);
            const int R = ItemToRow(FItemIndex);
            if (R >= FExtColGrid->FixedRows() && R < FExtColGrid->RowCount())
                FExtColGrid->MoveCurrentCell(0, R, true);
            else if (FExtColGrid->RowCount() > FExtColGrid->FixedRows())
                FExtColGrid->MoveCurrentCell(0, FExtColGrid->FixedRows(), true);
        }
    } else if (FExtColGrid) {
        QString Match;
        int R = -1;
        if (!FindLookupMatch(Text(), Match, R) || Text().isEmpty()) R = FExtColGrid->FixedRows();
        if (R < FExtColGrid->RowCount()) FExtColGrid->MoveCurrentCell(FExtColGrid->Col(), R, true);
    }
    if (FExtColGrid && FExtColGrid->SortSettings()->Show() && FExtColGrid->SortSettings()->Column() >= 0) {
        FExtColGrid->QSort();
        // The sort moved the rows under the current one: the chosen item stays current.
        const int R = FUseItems ? ItemToRow(FItemIndex) : -1;
        if (R >= 0) FExtColGrid->MoveCurrentCell(0, R, true);
    }
    FOldItemIndex = FItemIndex;
    if (!FUseItems) TExtCustomDropDown::BeforeDropDown();
}

void TCustomExtGridDropDown::SizeDropDown() {
    TExtCustomDropDown::SizeDropDown();
    if (!FExtColGrid || !DropDownForm() || !FDropDownAutoWidth) return;
    int W = 0;
    for (int C = 0; C < FExtColGrid->ColCount(); ++C) W += FExtColGrid->ColWidths(C);
    if (!AllRowsFit()) W += ScrollBarExtent();
    FExtColGrid->SetWidth(W);
    DropDownForm()->resize(W + 2 * DropDownBorderWidth(), DropDownForm()->height());
}

void TCustomExtGridDropDown::AdaptDropDownHeight(int& AHeight) {
    // Only whole rows show.
    int Bars = 0;
    if (DropDownHeader()->Visible()) Bars += DropDownHeader()->Height();
    if (DropDownFooter()->Visible()) Bars += DropDownFooter()->Height();
    AHeight = ExtDropDownColumns::WholeRowsHeight(AHeight, Bars, FHeaderHeight, FDropDownRowHeight, 6);
}

void TCustomExtGridDropDown::ScaleColumns() {
    if (!FExtColGrid || !DropDownForm() || !FColumnSizeWithDropDown) return;
    FExtColGrid->SetScrollBars(ssVertical);
    if (FColumns->Count() == 0) return;
    std::vector<int> Widths;
    for (int C = 0; C < FColumns->Count(); ++C) Widths.push_back(FColumns->Items(C)->Width());
    int W = DropDownForm()->width();
    if (!AllRowsFit()) W -= ScrollBarExtent();
    const std::vector<int> Scaled = ExtDropDownColumns::ScaleColumnWidths(Widths, W);
    for (int C = 0; C < int(Scaled.size()) && C < FExtColGrid->ColCount(); ++C)
        FExtColGrid->SetColWidths(C, Scaled[size_t(C)]);
}

void TCustomExtGridDropDown::DoDropDown() {
    QPointer<TCustomExtGridDropDown> Self(this);
    TExtCustomDropDown::DoDropDown();
    if (!Self) return;
    if (FExtColGrid && DroppedDown()) {
        TExtColGrid* G = FExtColGrid;
        if (!FUseItems)
            while (FColumns->Count() < G->ColCount()) FColumns->Add();
        ScaleColumns();
        // The grid was filled before the popup had its size, which scrolled the current row to
        // the top: the rows start from the first one again, and only a row out of sight is
        // brought into view.
        if (G->RowCount() > G->FixedRows()) G->SetTopRow(G->FixedRows());
        if (!AllRowsFit() && (G->Row() >= G->TopRow() + G->VisibleRowCount() || G->Row() < G->TopRow()))
            G->SetTopRow(G->Row());
        FSelRow = G->Row();
        G->SetConfirmSelection(false);
        G->SetTabStop(true);
        if (G->CanFocus()) G->SetFocus();
    }
    FShowing = false;
}

void TCustomExtGridDropDown::DropDownSizing() {
    TExtCustomDropDown::DropDownSizing();
    if (DroppedDown()) ScaleColumns();
}

// ---- choosing and closing -------------------------------------------------------------------
void TCustomExtGridDropDown::GridSelectCell(int, int ARow) {
    if (!FExtColGrid || FShowing) return;
    FSelRow = ARow;
    if (FExtColGrid->MouseWheelSelection()) return;
    if (FUseItems) {
        SetItemIndex(RowToItem(ARow));
    } else {
        SetTextQuiet(LookupCell(ARow));
        FItemIndex = ARow - FExtColGrid->FixedRows();
    }
}

void TCustomExtGridDropDown::GridSelect() {
    if (!FExtColGrid) return;
    QPointer<TCustomExtGridDropDown> Self(this);
    const int R = FExtColGrid->Row();
    if (FExtColGrid->ConfirmSelection()) {
        if (FUseItems)
            SetItemIndex(RowToItem(R));
        else
            SetItemIndex(R - FExtColGrid->FixedRows());
    }
    if (!Self) return;
    if (!FGridEditable) DoHideDropDown(false);
    if (Self && OnSelect) OnSelect(this);
}

void TCustomExtGridDropDown::DoHideDropDown(bool Cancelled) {
    QPointer<TCustomExtGridDropDown> Self(this);
    if (DropDownForm() && DropDownForm()->isVisible() && FExtColGrid) {
        if (Cancelled) {
            if (FUseItems)
                SetItemIndex(FOldItemIndex);
            else {
                FItemIndex = -2; // so that the restore is never taken for no change
                SetItemIndex(FOldItemIndex);
                FItemIndex = FOldItemIndex;
            }
        } else if (FExtColGrid->ConfirmSelection() && FSelRow >= 0) {
            if (FUseItems)
                SetItemIndex(RowToItem(FSelRow));
            else
                SetItemIndex(FSelRow - FExtColGrid->FixedRows());
        }
        if (!Self) return;
        FOldItemIndex = FItemIndex;
        if (FExtColGrid) FExtColGrid->SetConfirmSelection(false);
    }
    TExtCustomDropDown::DoHideDropDown(Cancelled);
}

// ---- typing in the edit ---------------------------------------------------------------------
void TCustomExtGridDropDown::Change() { ChangeOverride(); }

void TCustomExtGridDropDown::ChangeOverride() {
    QPointer<TCustomExtGridDropDown> Self(this);
    TExtCustomDropDown::Change();
    // The completion writing its own text must not drop the item it leaves for the key release.
    if (!Self || FSettingText) return;
    FItemChange = false;
    if (ComponentState().Contains(csDesigning) || !FWorkMode) return;
    const QString Current = Text();
    const bool Modified = !Current.isEmpty();
    SetModified(Modified);
    const QString Typed = Current.left(SelStart());
    if (Typed.isEmpty()) return;
    const int N = int(Typed.size());
    const int I = LookupListIndex(Typed, true);
    if (I >= 0) {
        const QString Entry = FLookupItems.Strings(I);
        const QString NewText = Typed + Entry.mid(N).left(255);
        FItemIndex = I;
        FItemIdx = I;
        FItemSel = N;
        FItemChange = true;
        SetTextQuiet(NewText);
        if (!Self) return;
        // Writing the text cleared it: the user's typing is what made the change.
        SetModified(Modified);
        // The completed tail stays selected, so that further typing replaces it.
        SetSelStart(N);
        SetSelLength(int(NewText.size()) - N);
        return;
    }
    SetTextQuiet(Typed);
    if (!Self) return;
    SetModified(Modified);
    SetSelStart(N);
    SetSelLength(0);
}

void TCustomExtGridDropDown::KeyUp(Word& Key, TShiftState Shift) {
    QPointer<TCustomExtGridDropDown> Self(this);
    const Word Pressed = Key;
    TExtCustomDropDown::KeyUp(Key, Shift);
    if (!Self) return;
    if (FItemChange) {
        FItemChange = false;
        const bool Modified = this->Modified();
        SetItemIndex(FItemIdx);
        if (!Self) return;
        SetModified(Modified);
        SetSelStart(FItemSel);
        SetSelLength(std::max(0, int(Text().size()) - FItemSel));
    }
    if (Pressed == VK_RETURN && !Shift.Contains(ssShift) && InGridEditMode()) {
        if (FExtColGrid->Col() == FLookupColumn)
            HideDropDown(false);
        else
            FExtColGrid->HideInplaceEdit();
    }
}

bool TCustomExtGridDropDown::InGridEditMode() const {
    // The grid's own cell editing, which its in-place editors report (not the platform's flag).
    return FExtColGrid && FGridEditable && FExtColGrid->EditMode();
}

void TCustomExtGridDropDown::KeyDown(Word& Key, TShiftState Shift) { KeyDownOverride(Key, Shift); }

bool TCustomExtGridDropDown::EndGridCellEdit(Word& Key, TShiftState Shift) {
    if (Key != VK_RETURN || Shift.Contains(ssShift) || !InGridEditMode()) return false;
    QPointer<TCustomExtGridDropDown> Self(this);
    FExtColGrid->HideInplaceEdit();
    if (!Self || !FExtColGrid) return true;
    const int R = FExtColGrid->Row();
    SetTextQuiet(LookupCell(R));
    // A sorted popup shows its items in another order than the list holds them.
    FItemIndex = FUseItems ? RowToItem(R) : R - FExtColGrid->FixedRows();
    Key = 0;
    return true;
}

void TCustomExtGridDropDown::KeyDownOverride(Word& Key, TShiftState Shift) {
    QPointer<TCustomExtGridDropDown> Self(this);
    if (EndGridCellEdit(Key, Shift)) return;
    if (Key == VK_ESCAPE || IsStepKey(Key)) FLookupEntry.clear();
    if (FLookupColumn < 0 || FItems->Count() == 0) {
        TExtCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    const Word Pressed = Key;
    switch (Pressed) {
        case VK_BACK:
        case VK_ESCAPE:
        case VK_DELETE: FWorkMode = false; break;
        case VK_RETURN: {
            FWorkMode = true;
            if (const int I = LookupListIndex(Text(), false); I >= 0) {
                SetTextQuiet(FLookupItems.Strings(I));
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
    if (Pressed == VK_ESCAPE) {
        SetItemIndex(LookupListIndex(Text(), false));
    }
}

void TCustomExtGridDropDown::KeyPress(QChar& Key) { KeyPressOverride(Key); }

void TCustomExtGridDropDown::KeyPressOverride(QChar& Key) { TExtCustomDropDown::KeyPress(Key); }

void TCustomExtGridDropDown::Step(Word Key, TShiftState Shift) {
    const int N = DataCount();
    if (N == 0) return;
    const int I = FItemIndex;
    int To = I;
    switch (Key) {
        case VK_PRIOR: To = I < 0 ? 0 : std::max(I - 10, 0); break;
        case VK_NEXT: To = I < 0 ? 0 : std::min(I + 10, N - 1); break;
        case VK_UP: To = I < 0 ? 0 : (I > 0 ? I - 1 : I); break;
        case VK_DOWN: To = I < 0 ? 0 : (I + 1 < N ? I + 1 : I); break;
        case VK_HOME:
        case VK_END:
            if (FStyle != dsDropDownList || Shift.Contains(ssShift)) return;
            To = Key == VK_HOME ? 0 : N - 1;
            break;
        default: return;
    }
    if (To == I) return;
    SetItemIndex(To);
    if (FExtColGrid && DroppedDown()) {
        const int R = FUseItems ? ItemToRow(FItemIndex) : FItemIndex + FExtColGrid->FixedRows();
        if (R >= FExtColGrid->FixedRows() && R < FExtColGrid->RowCount()) {
            const TStateScope<bool> Quiet(FShowing, true);
            FExtColGrid->MoveCurrentCell(FExtColGrid->Col(), R, true);
            FSelRow = R;
        }
    }
}

void TCustomExtGridDropDown::WMKeyDown(TMessage& M) {
    const Word Key = Word(M.WParam);
    const TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
    if (Key == VK_RETURN && FExtColGrid) FExtColGrid->SetConfirmSelection(true);
    if (Key == VK_ESCAPE || IsStepKey(Key)) FLookupEntry.clear();
    QPointer<TCustomExtGridDropDown> Self(this);
    TExtCustomDropDown::WMKeyDown(M);
    if (!Self || !Enabled() || Shift.Contains(ssAlt) || !IsStepKey(Key) || Key == VK_LEFT || Key == VK_RIGHT) return;
    FLookupEntry.clear();
    Step(Key, Shift);
}

void TCustomExtGridDropDown::CMWantSpecialKey(TMessage& M) {
    // The base may take Escape here, before any key-down: the entry ends with it all the same.
    if (Word(M.WParam) == VK_ESCAPE) FLookupEntry.clear();
    TExtCustomDropDown::CMWantSpecialKey(M);
}

void TCustomExtGridDropDown::WMChar(TMessage& M) {
    const QChar Ch(char16_t(M.WParam));
    QPointer<TCustomExtGridDropDown> Self(this);
    const bool HadSelection = SelLength() > 0;
    TExtCustomDropDown::WMChar(M);
    if (!Self || !Enabled()) return;
    // Control characters (Enter, Escape, the clipboard keys) are not typed text.
    const TShiftState Shift = KeyboardShiftState();
    if (Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)) return;
    if (Ch == QChar(8)) {
        // The edit has already removed the character or the selection: the entry follows what
        // the edit shows instead of removing a second one.
        if (FLookupMethod == lmNone) return;
        (void)HadSelection;
        FLookupEntry = Text().left(SelStart());
        if (FLookupMethod == lmNarrowDown && FExtColGrid) {
            if (FLookupEntry.trimmed().isEmpty())
                FExtColGrid->RemoveAllFilters();
            else
                FExtColGrid->NarrowDown(FLookupEntry.trimmed(), FLookupColumn);
        }
        return;
    }
    if (Ch.unicode() < 0x20 && Ch != QChar(9)) return;
    LookupChar(Ch);
    if (!Self) return;
    if (FAutoShowDropDown && !DroppedDown()) DoDropDown();
}

int TCustomExtGridDropDown::LookupChar(QChar Ch) {
    if (FLookupMethod == lmNone) return -1;
    QPointer<TCustomExtGridDropDown> Self(this);
    if (Ch == QChar(8)) {
        if (SelLength() == 0) {
            FLookupEntry.chop(1);
            SetTextQuiet(FLookupEntry);
        } else {
            QString S = Text();
            S.remove(SelStart(), SelLength());
            SetTextQuiet(S);
        }
        if (Self) SetSelStart(int(Text().size()));
        return -1;
    }
    if (Ch != QChar(9)) FLookupEntry += Ch;
    const QString Entry = FLookupEntry.trimmed();
    if (FLookupMethod == lmNarrowDown) {
        if (!FExtColGrid) return -1;
        if (!Entry.isEmpty()) {
            FExtColGrid->SetFixedRowAlways(true);
            if (FExtColGrid->FilterLevel() == 0) {
                // A narrowing that starts afresh is no step back from the one before it.
                FExtColGrid->NarrowDown(QString(), FLookupColumn);
                // The closed popup's rows may be none yet, or older than the items: it starts
                // from the items as the next opening shows them.
                if (FUseItems && !DroppedDown()) FillGridFromItems();
            }
            FExtColGrid->NarrowDown(Entry, FLookupColumn);
            if (FStyle == dsDropDown && FExtColGrid->RowCount() > FExtColGrid->FixedRows()) {
                const QString S = LookupCell(FExtColGrid->FixedRows());
                SetTextQuiet(S);
                if (!Self) return -1;
                SetSelStart(std::min(int(FLookupEntry.size()), int(S.size())));
                SetSelLength(std::max(0, int(S.size()) - int(FLookupEntry.size())));
            }
        } else {
            FExtColGrid->RemoveAllFilters();
        }
        return FExtColGrid ? FExtColGrid->FixedRows() : -1;
    }
    QString Match;
    int Row = -1;
    auto Take = [&](bool Select) {
        FItemIndex = FUseItems ? Row : Row - (FExtColGrid ? FExtColGrid->FixedRows() : 1);
        SetTextQuiet(Match);
        if (!Self) return;
        if (Select) {
            SetSelStart(int(FLookupEntry.size()));
            SetSelLength(std::max(0, int(Match.size()) - int(FLookupEntry.size())));
        }
    };
    // An empty entry (a Tab or blanks typed first) would match the first item: it looks up nothing.
    if (!Entry.isEmpty() && FindLookupMatch(Entry, Match, Row)) {
        Take(FStyle == dsDropDown);
        return Row;
    }
    if (FStyle == dsDropDown) return -1;
    if (FindLookupMatch(QString(Ch), Match, Row)) {
        FLookupEntry = QString(Ch);
        Take(false);
        return Row;
    }
    FLookupEntry.clear();
    return -1;
}

void TCustomExtGridDropDown::DoEnter() {
    TExtCustomDropDown::DoEnter();
    // A narrowing lasts until the control is entered again.
    if (FExtColGrid && !DroppedDown()) FExtColGrid->RemoveAllFilters();
    FLookupEntry.clear();
}

// ---- keys in the popup grid -----------------------------------------------------------------
void TCustomExtGridDropDown::ControlKeyDown(Word& Key, TShiftState Shift) {
    QPointer<TCustomExtGridDropDown> Self(this);
    const bool Move = IsStepKey(Key) && Key != VK_LEFT && Key != VK_RIGHT;
    if (!Move || Shift.Contains(ssAlt)) TExtCustomDropDown::ControlKeyDown(Key, Shift);
    if (Self && OnGridKeyDown) OnGridKeyDown(this, Key, Shift);
}

void TCustomExtGridDropDown::ControlKeyUp(Word& Key, TShiftState Shift) {
    QPointer<TCustomExtGridDropDown> Self(this);
    const bool Move = IsStepKey(Key) && Key != VK_LEFT && Key != VK_RIGHT;
    if (Move && !Shift.Contains(ssAlt))
        FLookupEntry.clear();
    else
        TExtCustomDropDown::ControlKeyUp(Key, Shift);
    if (Self && OnGridKeyUp) OnGridKeyUp(this, Key, Shift);
}

void TCustomExtGridDropDown::ControlKeyPress(QChar& Key) {
    QPointer<TCustomExtGridDropDown> Self(this);
    if (Key == QChar(13) || Key == QChar(27) || Key.isNull() || FGridEditable) {
        FLookupEntry.clear();
    } else if (FExtColGrid) {
        const int R = LookupChar(Key);
        if (!Self) return;
        int Row = R;
        if (R >= 0 && FLookupMethod == lmLookup && FUseItems) Row = ItemToRow(R);
        TExtColGrid* G = FExtColGrid;
        if (G && Row >= G->FixedRows() && Row < G->RowCount()) {
            const QString Shown = Text();
            const int SS = SelStart(), SL = SelLength();
            if (!AllRowsFit()) G->SetTopRow(Row);
            G->MoveCurrentCell(0, Row, true);
            if (!Self) return;
            FSelRow = Row;
            // Moving the row shows its item; the typed part and the completed tail stay as the
            // lookup left them.
            if (FLookupMethod == lmLookup) {
                SetTextQuiet(Shown);
                SetSelStart(SS);
                SetSelLength(SL);
            }
            G->Invalidate();
        } else {
            FLookupEntry.clear();
        }
    }
    if (Self && OnGridKeyPress) OnGridKeyPress(this, Key);
}

// ---- wheel ----------------------------------------------------------------------------------
void TCustomExtGridDropDown::MouseWheelDownHook() {
    if (!DroppedDown()) Step(VK_DOWN, {});
}

void TCustomExtGridDropDown::MouseWheelUpHook() {
    if (!DroppedDown()) Step(VK_UP, {});
}

// ---- styles ---------------------------------------------------------------------------------
void TCustomExtGridDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    ExtDropDownColumns::SelectionStyleLines(Value, FLineColor, FFixedLineColor);
    TExtCustomDropDown::SetSelectionColorStyle(Value);
}

// The Office 2010 styles leave the list colours alone.
void TCustomExtGridDropDown::SetComponentStyle(TExtStyle AStyle) {
    TExtCustomDropDown::SetComponentStyle(AStyle);
    ExtDropDownColumns::ApplyListStyle(*this, AStyle, tsTerminal);
}
