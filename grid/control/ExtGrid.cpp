// TExtStringGrid core: construction, window creation, loading, destruction, assignment, the
// change notifiers, the form-resize chaining, and the unit's module-level helpers.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QStyle>

#include <algorithm>

// ---- module-level state ---------------------------------------------------------------------------
TExtStringGrid* GridWithFocusWindow = nullptr;
bool ComCtrlsOk = true; // the platform's pickers are always available here
TCursor LinkCursor = crHandPoint;

int GetFileVersion(const QString& FileName) {
    // No file here carries a version resource of the classic kind.
    (void)FileName;
    return -1;
}

void MakeWindowTransparent(TControl* Control) {
    if (Control) Control->setAttribute(Qt::WA_TransparentForMouseEvents, true);
}

TForm* FindParentForm(TControl* Control) {
    for (TControl* C = Control; C; C = C->Parent())
        if (auto* F = dynamic_cast<TForm*>(C)) return F;
    return nullptr;
}

void GridWindowPosChanged() {
    // The focus window is a child overlay of the grid's window, so it moves with the grid; all
    // that is left is to repaint it over the current cell.
    if (GridWithFocusWindow)
        GridWithFocusWindow->InvalidateCell(GridWithFocusWindow->Col(), GridWithFocusWindow->Row());
}

QChar GridDateSeparator() { return FormatSettings.DateSeparator; }
QChar GridTimeSeparator() { return FormatSettings.TimeSeparator; }
QChar GridThousandSeparator() { return FormatSettings.ThousandSeparator; }
QChar GridDecimalSeparator() { return FormatSettings.DecimalSeparator; }
QString GridShortDateFormat() { return FormatSettings.ShortDateFormat; }
QString GridShortTimeFormat() { return FormatSettings.ShortTimeFormat; }
QString GridLongTimeFormat() { return FormatSettings.LongTimeFormat; }

namespace {

int SystemScrollBarWidth() {
    QStyle* St = QApplication::style();
    return St ? St->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
}

} // namespace

// ---- construction -----------------------------------------------------------------------------------
TExtStringGrid::TExtStringGrid(TComponent* AOwner) : TBaseGrid(AOwner) {
    // Being placed at design time: designing while the owner is neither reading nor loading.
    FPlacedAtDesign = AOwner && AOwner->ComponentState().Contains(csDesigning) &&
        !AOwner->ComponentState().Contains(csReading) && !AOwner->ComponentState().Contains(csLoading);

    FFooterPanel = new TFooterPanel(this);
    FFooterPanel->SetAlign(alBottom);
    FFooterPanel->SetHeight(0);
    FSearchPanel = new TSearchPanel(this);
    FSearchPanel->SetAlign(alBottom);
    FSearchPanel->SetHeight(0);
    FSearchPanel->OnEditChange = [this](TObject* Sender) { SearchEditChange(Sender); };
    FSearchPanel->OnForwardClick = [this](TObject* Sender) { SearchNextClick(Sender); };
    FSearchPanel->OnBackwardClick = [this](TObject* Sender) { SearchPrevClick(Sender); };
    FSearchPanel->OnExitClick = [this](TObject* Sender) { SearchCloseClick(Sender); };
    FSearchPanel->OnHighlightClick = [this](TObject* Sender) { SearchHighlightClick(Sender); };
    FMoveButton = new THeaderDragButton(this);
    FMoveButton->SetVisible(false);
    FMoveButton->SetEnabled(false);
    FFocusHelper = std::make_unique<TFocusHelper>();
    FSearchFooter = std::make_unique<TSearchFooter>(this, FPlacedAtDesign);
    FSearchFooter->OnChange = [this](TObject*) { ApplySearchFooterSettings(); };
    FFloatingFooter = std::make_unique<TFloatingFooter>(this);
    FPrintSettings = std::make_unique<TPrintSettings>(this);
    FHTMLSettings = std::make_unique<THTMLSettings>();
    FSortSettings = std::make_unique<TSortSettings>(this);
    FDragDropSettings = std::make_unique<TDragDropSettings>(this);
    FDragScrollOptions = std::make_unique<TDragScrollOptions>();
    FControlLook = std::make_unique<TControlLook>(this);
    FControlLook->OnGradientColor = [this](int Which, TColor Value) { ControlLookColorChanged(Which, Value); };
    FControlLook->OnChange = [this](TObject*) { Invalidate(); };
    FControlLook->Init();
    FNavigation = std::make_unique<TNavigation>();
    FNavigation->OnChange = [this](TObject*) { NavigationChanged(); };
    FColumnSize = std::make_unique<TColumnSize>(this);
    FColumnSize->OnStretchChange = [this](TObject*) {
        if (Parent()) StretchColumn(FColumnSize->StretchColumn());
    };
    FCellNode = std::make_unique<TCellNode>(this);
    FBands = std::make_unique<TBands>();
    FBands->OnChange = [this](TObject*) { Invalidate(); };
    FSizeWhileTyping = std::make_unique<TSizeWhileTyping>();
    FMouseActions = std::make_unique<TMouseActions>(this);
    FMouseActions->OnChange = [this](TObject*) { MouseActionsChanged(); };
    FMouseActions->OnIsDesigning = [this](TObject*, bool& IsDesigning) { IsDesigning = MouseActionsIsDesigning(); };
    FMouseActions->OnInvalidate = [this](TObject*) { MouseActionsInvalidate(); };
    FGrouping = std::make_unique<TGrouping>();
    FColumnHeaders = std::make_unique<TStringList>();
    FColumnHeaders->OnChange = [this](TObject*) {
        ColumnHeadersChanged();
        ShowColumnHeaders();
    };
    FImageCache = std::make_unique<THTMLPictureCache>();
    FColSizesAtLoad = std::make_unique<TIntList>(-1, -1);
    FFixedFont = std::make_unique<TFont>();
    FFixedFont->SetName("Tahoma");
    FFixedFont->SetStyle({fsBold});
    FFixedFont->OnChange = [this](TObject*) { Invalidate(); };
    FActiveCellFont = std::make_unique<TFont>();
    FActiveCellFont->SetStyle({fsBold});
    if (FPlacedAtDesign) FActiveCellFont->SetName("Tahoma");
    FActiveCellFont->OnChange = [this](TObject*) { Invalidate(); };
    FRowHeaders = std::make_unique<TStringList>();
    FRowHeaders->OnChange = [this](TObject*) { ShowRowHeaders(); };
    FSortList = std::make_unique<TStringList>();
    FLookupItems = std::make_unique<TStringList>();
    FSortIndexes = std::make_unique<TSortIndexList>();
    FSortList2 = std::make_unique<TIntList>(0, 0);
    FUnSortList = std::make_unique<TIntList>(0, 0);
    FMergedColumns = std::make_unique<TIntList>(0, 0);
    FMergedColumns->OnChange = [this](TObject*, int, int) { MergedColumnsChanged(); };
    FRowIndicator = std::make_unique<TBitmap>();
    FBackGround = std::make_unique<TBackGround>();
    FBackGround->OnChange = [this](TObject*) { Repaint(); };
    FControlList = std::make_unique<TControlList>();
    FProgressAppearance = std::make_unique<TGridProgressAppearance>();
    FProgressAppearance->OnChange = [this](TObject*) { Invalidate(); };
    FSyncGrid = std::make_unique<TSyncGrid>();

    SetRowCount(10);
    SetBounds(Left(), Top(), 400, 250);
    FFilter = std::make_unique<TFilter>(this);
    FAutoSize = false;

    FBalloon = std::make_unique<TBalloonSettings>();
    FBalloon->OnEnableChange = [this](TObject*) {
        BalloonDone();
        if (FBalloon->Enable()) BalloonInit();
    };
    FShowModified = std::make_unique<TShowModified>();
    FShowModified->OnChange = [this](TObject*) { InvalidateCol(0); };

    if (auto* Form = dynamic_cast<TForm*>(AOwner); Form && !IsDesigning()) {
        FResizeForm = Form;
        FFormWidth = Form->Width();
        FFormHeight = Form->Height();
        HookOwnerFormResize();
    }

    FColumnMap.Reset();

    SetDefaultRowHeight(22);
    FFixedRowHeight = DefaultRowHeight();
    FLook = glXP;

    // The platform here is always of the newest kind the grid knows.
    FIsWinXP = true;
    FIsWin7 = true;
    FIsComCtl6 = true;
    FBorderColor = FIsWinXP ? TColor(0xB99D7F) : clGray;
    FScrollWidth = SystemScrollBarWidth();

    FColumnOrder = std::make_unique<TIntList>(0, 0);
    FIgnoredColumns = std::make_unique<TIntList>(-1, -1);
    FFilterDropDown = std::make_unique<TFilterDropDown>();
    FFilterDropDown->OnChange = [this](TObject*) { Invalidate(); };
    FFilterValueList = std::make_unique<TStringList>();
    FFilterValueList->SetSorted(true);
    FFilterValueList->SetDuplicates(dupIgnore);

    FOldLeftCol = LeftCol();
    FOldTopRow = TopRow();
    FMaxRowCount = RowCount();
    FMaxColCount = ColCount();

    if (!IsDesigning()) CreateAuxiliaryControls();
    if (!IsDesigning()) FComponentStyle = tsWindowsXP;
    LinkCursor = crHandPoint;
}

TExtStringGrid::~TExtStringGrid() {
    Destroying();
    if (GridWithFocusWindow == this) GridWithFocusWindow = nullptr;
    FreeMetroScrollControls();
    if (!IsDesigning()) {
        BalloonDone();
        // The form's resize chain goes on without this grid.
        if (FResizeLink) FResizeLink->Grid = nullptr;
        FResizeForm = nullptr;
    }
    if (FColumnSize->Save()) SaveColumnSizes();

    FSaveHiddenCells = false;
    int RowCnt = RowCount();
    int ColCnt = ColCount();
    if (HasNodes()) ExpandAllNodes();
    UnHideColumnsAll();
    if (NumHiddenRows() == 0 && !HasNodes()) {
        // The platform grid keeps cell texts beyond a reduced count, so cells may exist there.
        RowCnt = std::max(RowCnt, FMaxRowCount);
        ColCnt = std::max(ColCnt, FMaxColCount);
    }
    if (RowCnt > 0 && ColCnt > 0 && HasCellProps()) ClearRect(0, 0, ColCnt - 1, RowCnt - 1);

    FNotifiers.clear();
    if (!IsDesigning()) FreeAuxiliaryControls();
    if (FOldCursor != crDefault) SetCursor(FOldCursor);
    // The strips and the drag button belong to the window once it exists; before, to the grid.
    auto FreeUnparented = [](auto*& C) {
        if (C && !C->parentWidget()) {
            delete C;
            C = nullptr;
        }
    };
    FreeUnparented(FFooterPanel);
    FreeUnparented(FSearchPanel);
    FreeUnparented(FMoveButton);
}

void TExtStringGrid::CreateAuxiliaryControls() {
    // The focus window, arrow windows, in-cell editors, header drag button, control editors and
    // the two scroll bars come with their own areas of the grid; they are created here, in this
    // order, once those areas exist.
    CreateEditorControls();
    CreateFilterListsAndAuxEditors();
    FPaintScrollBar = Create<TScrollBar>(this, this);
    FPaintScrollBar->SetVisible(false);
    FPaintScrollBar->SetTabStop(false);
    FPaintScrollBar->SetKind(sbVertical);
    FPaintScrollBar->SetBounds(0, 0, CellScrollBarWidth, 121);
}

void TExtStringGrid::FreeAuxiliaryControls() {
    delete FPaintScrollBar;
    FPaintScrollBar = nullptr;
    FreeFilterListsAndAuxEditors();
    FreeEditorControls();
}

// ---- window creation and loading ----------------------------------------------------------------------
void TExtStringGrid::SetParent(TWinControl* AParent) {
    TBaseGrid::SetParent(AParent);
    if (AParent && !FWindowCreated) {
        FWindowCreated = true;
        CreateWnd();
    }
}

void TExtStringGrid::CreateWnd() {
    if (IsDestroying()) return;
    if (!Parent()) return;
    if (!IsDesigning() && FScrollType == ssMetro) CreateMetroScrollControls();
    if (!IsDesigning() && FBalloon->Enable()) BalloonInit();
    FFooterPanel->SetParent(this);
    FFooterPanel->SetVisible(FFloatingFooter->Visible());
    FFooterPanel->CreateWnd();
    FSearchPanel->SetParent(this);
    FSearchPanel->SetVisible(FSearchFooter->Visible());
    FSearchPanel->SetHeight(FSearchFooter->Visible() ? 32 : 0);
    ApplySearchFooterSettings();
    FSearchPanel->CreateWnd();
    FMoveButton->SetParent(this);
    if (FColumnSize->Save()) LoadColumnSizes();
    SetTimer(111, 500);
    if (IsDesigning() && IsLoading()) Font()->SetName("Tahoma");
    if (FIsWinXP) FIsWinXP = ThemesActive();
    // A wheel notch scrolls the system's lines; "page" scrolling (-1) means a screenful of rows.
    FWheelScrollLines = Mouse ? Mouse->WheelScrollLines() : 3;
    if (FWheelScrollLines == -1) FWheelScrollLines = VisibleRowCount();
    if (FScrollType != ssNormal && !IsLoading()) {
        InitFlatScrollBars();
        ApplyFlatScrollWidth();
        ApplyFlatScrollColor();
    }
}

void TExtStringGrid::Loaded() {
    TBaseGrid::Loaded();
    // The form may have set its own resize handler after creating its grids.
    if (FResizeForm && !IsDesigning()) HookOwnerFormResize();
    FOldCursor = Cursor();
    ShowColumnHeaders();
    ShowRowHeaders();
    if (FLook == glExt) {
        FLook = glCustom;
        SetLook(glExt);
    }
    if (FAutoSize) AutoSizeColumns(false, 4);
    if (FColumnSize->Save()) LoadColumnSizes();
    FMinFixedRows = FixedRows();
    FMinFixedCols = FixedCols();
    FLoadedMinRowHeight = DefaultRowHeight();
    FLoadedMinColWidth = 10;
    FMaxRowCount = RowCount();
    FGridLoaded = true;
    if (Options().Contains(goAlwaysShowEditor)) {
        FNavigation->SetAlwaysEdit(true);
        TGridOptions O = Options();
        O >> goAlwaysShowEditor;
        SetOptions(O);
    }
    if (!FIsWinXP && FControlLook->ControlStyle() == csTheme && !IsDesigning())
        FControlLook->SetControlStyle(csClassic);
    FSearchFooter->SetAutoThemeAdapt(FAutoThemeAdapt);
    ApplySearchFooterSettings();
    ApplyScrollBarAlways(true);
    InitOrigColSizes();
    SetColumnOrder();
    if (FBalloon->Enable()) BalloonInit();
}

void TExtStringGrid::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove) {
        if (AComponent == FGridImages) FGridImages = nullptr;
        if (AComponent == FPictureContainer) FPictureContainer = nullptr;
        if (AComponent == FCellChecker) FCellChecker = nullptr;
        if (AComponent == FFixedDropDownMenu) FFixedDropDownMenu = nullptr;
        if (!IsDestroying() && FSyncGrid && AComponent == FSyncGrid->Grid()) FSyncGrid->SetGrid(nullptr);
        auto It = std::find(FNotifiers.begin(), FNotifiers.end(), AComponent);
        if (It != FNotifiers.end()) FNotifiers.erase(It);
    }
    TBaseGrid::Notification(AComponent, Operation);
}

void TExtStringGrid::SetColumnOrder() {
    // One entry per real column, hidden ones included: column moves keep the list by real index.
    FColumnOrder->Clear();
    for (int Position = 0; Position < AllColCount(); ++Position) FColumnOrder->Add(Position);
}

void TExtStringGrid::ApplySearchFooterSettings() {
    if (!FSearchPanel) return;
    TSearchFooter* F = FSearchFooter.get();
    TSearchPanel* P = FSearchPanel;
    P->SetFindNextCaption(F->FindNextCaption());
    P->SetFindPrevCaption(F->FindPrevCaption());
    P->SetMatchCaseCaption(F->MatchCaseCaption());
    P->SetHighLightCaption(F->HighLightCaption());
    P->SetHintFindNext(F->HintFindNext());
    P->SetHintFindPrev(F->HintFindPrev());
    P->SetHintClose(F->HintClose());
    P->SetHintHighlight(F->HintHighlight());
    P->SetColor(F->Color());
    P->SetColorTo(F->ColorTo());
    P->Font()->Assign(F->Font());
    P->ExitButton()->SetVisible(F->ShowClose());
    P->ForwardButton()->SetVisible(F->ShowFindNext());
    P->BackwardButton()->SetVisible(F->ShowFindPrev());
    P->HiliteButton()->SetVisible(F->ShowHighLight());
    P->MatchCase()->SetVisible(F->ShowMatchCase());
    P->SetHeight(F->Visible() ? 32 : 0);
    P->SetVisible(F->Visible() && Parent());
    P->LayoutControls();
}

// ---- assignment -------------------------------------------------------------------------------------
void TExtStringGrid::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TExtStringGrid*>(Source);
    if (!S) return;
    SetFont(S->Font());
    FActiveCellColor = S->FActiveCellColor;
    FActiveCellColorTo = S->FActiveCellColorTo;
    FActiveCellFont->Assign(S->FActiveCellFont.get());
    FActiveCellShow = S->FActiveCellShow;
    SetActiveRowShow(S->ActiveRowShow());
    FDefaultAlignment = S->FDefaultAlignment;
    FFilterDropDown->Assign(S->FFilterDropDown.get());
    FAnchorHint = S->FAnchorHint;
    FAutoNumAlign = S->FAutoNumAlign;
    FAutoSize = S->FAutoSize;
    FAutoThemeAdapt = S->FAutoThemeAdapt;
    FAutoFilterUpdate = S->FAutoFilterUpdate;
    FMouseActions->Assign(S->FMouseActions.get());
    FNavigation->Assign(S->FNavigation.get());
    FGrouping->Assign(S->FGrouping.get());
    FSearchFooter->Assign(S->FSearchFooter.get());
    FPrintSettings->Assign(S->FPrintSettings.get());
    FFilter->Assign(S->FFilter.get());
    FHTMLSettings->Assign(S->FHTMLSettings.get());
    FBands->Assign(S->FBands.get());
    FCellNode->Assign(S->FCellNode.get());
    FSortSettings->Assign(S->FSortSettings.get());
    FDragScrollOptions->Assign(S->FDragScrollOptions.get());
    FDragDropSettings->Assign(S->FDragDropSettings.get());
    FProgressAppearance->Assign(S->FProgressAppearance.get());
    FColumnSize->Assign(S->FColumnSize.get());
    FSyncGrid->Assign(S->FSyncGrid.get());
    FFocusHelper->Assign(S->FFocusHelper.get());
    FFixedRowAlways = S->FFixedRowAlways;
    SetColCount(S->ColCount());
    SetRowCount(S->RowCount());
    SetFixedRows(S->FixedRows());
    SetFixedCols(S->FixedCols());
    SetDefaultColWidth(S->DefaultColWidth());
    SetDefaultRowHeight(S->DefaultRowHeight());
    SetFixedRowHeight(S->FFixedRowHeight);
    SetFixedColWidth(S->FixedColWidth());
    FInvalidEntryTitle = S->FInvalidEntryTitle;
    FInvalidEntryIcon = S->FInvalidEntryIcon;
    FInvalidEntryText = S->FInvalidEntryText;
    SetOptions(S->Options());
    for (int DisplCol = 0; DisplCol < ColCount(); ++DisplCol) SetColWidths(DisplCol, S->ColWidths(DisplCol));
    SetColumnHeaders(S->ColumnHeaders());
    for (int DisplRow = 0; DisplRow < RowCount(); ++DisplRow) SetRowHeights(DisplRow, S->RowHeights(DisplRow));
    FScrollProportional = S->FScrollProportional;
    FScrollSynch = S->FScrollSynch;
    FScrollHints = S->FScrollHints;
    FScrollBarAlways = S->FScrollBarAlways;
    SetScrollBars(S->ScrollBars());
    SetScrollColor(S->FScrollColor);
    SetScrollType(S->FScrollType);
    SetScrollWidth(S->FScrollWidth);
    AssignCells(Source);
}

void TExtStringGrid::AssignCells(TPersistent* Source) {
    auto* S = dynamic_cast<TExtStringGrid*>(Source);
    if (!S) return;
    // The grid stream format belongs to the data services; until then the cells are copied
    // straight, real columns and display rows.
    const int Cols = S->TotalColCount();
    const int Rows = S->RowCount();
    for (int DisplRow = 0; DisplRow < Rows; ++DisplRow)
        for (int RealCol = 0; RealCol < Cols; ++RealCol) SetCells(RealCol, DisplRow, S->Cells(RealCol, DisplRow));
}

// ---- painting and sizing ---------------------------------------------------------------------------
void TExtStringGrid::Invalidate() {
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
    if (!IsLoading() && FFloatingFooter && FFloatingFooter->Visible() && FFooterPanel) FFooterPanel->Invalidate();
}

void TExtStringGrid::Resize() {
    TBaseGrid::Resize();
    if (FBackGround && (FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) &&
        FBackGround->ColorTo() != clNone)
        Invalidate();
    ApplyScrollBarAlways(false);
    CellControlsUpdate(false);
    if (IsDesigning()) Invalidate();
}

void TExtStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FIntegralHeight && FUpdateCount == 0 && DefaultRowHeight() > 0) {
        const bool AllColsFit = VisibleColCount() + FixedCols() >= ColCount();
        const int s = AllColsFit ? 0 : SystemScrollBarWidth();
        const int b = BorderStyle() == bsSingle ? 2 : 0;
        const int Inner = AHeight - s - b;
        AHeight = s + (Inner - Inner % DefaultRowHeight()) + 2 * b;
    }
    TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Parent()) DrawThemedBorder();
}

void TExtStringGrid::TimerTick(int ID) {
    // Timer 111 drives the grid's blinking and hover logic; the input areas hook in here.
    TBaseGrid::TimerTick(ID);
}

// ---- cell font, version, notifiers, focus window ---------------------------------------------------------
std::unique_ptr<TFont> TExtStringGrid::GetCellFont(int RealCol, int DisplRow) {
    auto F = std::make_unique<TFont>();
    F->Assign(Font());
    if (!HasCellProperties(RealCol, DisplRow)) return F;
    const TCellProperties* P = GetCellProperties(RealCol, DisplRow);
    if (!P->FontName().isEmpty()) F->SetName(P->FontName());
    if (P->FontSize() > 0) F->SetSize(P->FontSize());
    F->SetStyle(P->FontStyle());
    if (P->FontColor() != clNone) F->SetColor(P->FontColor());
    return F;
}

QString TExtStringGrid::Version() const {
    const unsigned V = unsigned(GetVersionNr());
    return QString("%1.%2.%3.%4").arg(V >> 24).arg((V >> 16) & 0xFF).arg((V >> 8) & 0xFF).arg(V & 0xFF);
}

void TExtStringGrid::RegisterNotifier(TGridChangeNotifier* Item) {
    if (!Item || std::find(FNotifiers.begin(), FNotifiers.end(), Item) != FNotifiers.end()) return;
    FNotifiers.push_back(Item);
    Item->FreeNotification(this);
}

void TExtStringGrid::UnRegisterNotifier(TGridChangeNotifier* ANotifier) {
    auto It = std::find(FNotifiers.begin(), FNotifiers.end(), ANotifier);
    if (It != FNotifiers.end()) FNotifiers.erase(It);
}

void TExtStringGrid::SetFocusWindowShown(bool Value) {
    FFocusWindowShown = Value;
    if (Value)
        GridWithFocusWindow = this;
    else if (GridWithFocusWindow == this)
        GridWithFocusWindow = nullptr;
}

// ---- the editor's text -------------------------------------------------------------------------------
QString TExtStringGrid::GetEditText(int DisplCol, int DisplRow) {
    if (DisplCol < 0 || DisplCol >= ColCount() || DisplRow < 0 || DisplRow >= RowCount()) return QString();
    const int RealCol = RealColOfDisplCol(DisplCol);
    if (RealCol < 0) return QString();
    return TBaseGrid::GetEditText(RealCol, DisplRow);
}

void TExtStringGrid::SetEditText(int DisplCol, int DisplRow, const QString& Value) {
    // A cell beyond the sheet is not editable.
    if (DisplCol < 0 || DisplCol >= ColCount() || DisplRow < 0 || DisplRow >= RowCount()) return;
    const int RealCol = RealColOfDisplCol(DisplCol);
    if (RealCol < 0) return;
    TBaseGrid::SetEditText(RealCol, DisplRow, Value);
}
