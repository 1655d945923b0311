#pragma once
// Unit ExtGrid: TExtStringGrid, the table control of the configurator. The cell texts and cell
// records live in the cell store (TBaseGrid); this class adds hidden columns and rows, typed cell
// access, selection, scrolling, keyboard navigation and the grid's events.
//
// Index spaces: the cell store addresses cells by real column and display row. A display column
// is a column the platform grid shows (0..ColCount-1); a real column counts the hidden columns
// too (0..TotalColCount-1). A display row is a row of the cell store (0..RowCount-1); a real row
// counts the hidden rows too (0..TotalRowCount-1). Every parameter says which space it is in.
//
// The class's definitions are split by area: ExtGrid.cpp (core), ExtGrid_Indexes.cpp,
// ExtGrid_Cells.cpp, ExtGrid_Selection.cpp, ExtGrid_Scroll.cpp, ExtGrid_Keys.cpp,
// ExtGrid_Hooks.cpp, ExtGrid_Events.cpp.
#include "grid/base/BaseGrid.h"
#include "grid/base/ExtObj.h"
#include "grid/control/GridIndexMaps.h"
#include "grid/control/GridSettings.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TExtStringGrid;
class TForm;

// A component told of the grid's selection (one per grid, held shared).
class ITExtStringGridSelect {
public:
    virtual ~ITExtStringGridSelect() = default;
};

// ---- module-level state and helpers of the unit --------------------------------------------------
// The grid whose focus window is shown (set by the editor logic, cleared when that focus window
// hides or that grid is destroyed).
extern TExtStringGrid* GridWithFocusWindow;
// Whether the common controls are later than version 4.69 (date and time pickers usable).
extern bool ComCtrlsOk;
// The cursor of links in cells.
extern TCursor LinkCursor;

// The version of a file's version resource (major in the upper 16 bits); -1 when there is none.
int GetFileVersion(const QString& FileName);
// Lets mouse input through the control to what lies beneath it.
void MakeWindowTransparent(TControl* Control);
// The control itself when it is a form, else the nearest form among its parents; null when none.
TForm* FindParentForm(TControl* Control);
// Keeps the grid that shows its focus window aligned with its current cell when a window moves.
void GridWindowPosChanged();
// The platform's current format settings, as the sorting, filtering and typing checks read them.
QChar GridDateSeparator();
QChar GridTimeSeparator();
QChar GridThousandSeparator();
QChar GridDecimalSeparator();
QString GridShortDateFormat();
QString GridShortTimeFormat();
QString GridLongTimeFormat();

// A property that only stores its value.
#define EXTGRID_PLAIN(Type, Name, Default)                                                                             \
public:                                                                                                                \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type Value) { F##Name = Value; }                                                                    \
                                                                                                                       \
protected:                                                                                                             \
    Type F##Name = Default;                                                                                            \
                                                                                                                       \
public:
// A property whose setter does more than store (its setter is declared with its area).
#define EXTGRID_READ(Type, Name, Default)                                                                              \
public:                                                                                                                \
    Type Name() const { return F##Name; }                                                                              \
                                                                                                                       \
protected:                                                                                                             \
    Type F##Name = Default;                                                                                            \
                                                                                                                       \
public:

class TExtStringGrid : public TBaseGrid {
public:
    // ---- construction, window, loading, destruction ------------------------------------------------
    explicit TExtStringGrid(TComponent* AOwner);
    ~TExtStringGrid() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetParent(TWinControl* AParent) override;
    // Platform window creation: runs when the grid first gets a parent.
    virtual void CreateWnd();
    // Copies another TExtStringGrid (settings, counts, sizes, cells); anything else is ignored.
    void Assign(TPersistent* Source) override;
    // Copies only the cells of another TExtStringGrid.
    virtual void AssignCells(TPersistent* Source);
    void Invalidate() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The font of a cell, the caller's own copy (a later call does not change it).
    std::unique_ptr<TFont> GetCellFont(int RealCol, int DisplRow);
    QString Version() const;
    void SetVersion(const QString& Value) { (void)Value; }
    static int GetVersionNr() { return (6 << 24) | (2 << 16) | (1 << 8) | 3; }
    void RegisterSelListener(std::shared_ptr<ITExtStringGridSelect> AListener) { FSelListener = std::move(AListener); }
    void UnRegisterSelListener(const std::shared_ptr<ITExtStringGridSelect>& AListener) {
        (void)AListener;
        FSelListener.reset();
    }
    ITExtStringGridSelect* SelListener() const { return FSelListener.get(); }
    void RegisterNotifier(TGridChangeNotifier* Item);
    void UnRegisterNotifier(TGridChangeNotifier* ANotifier);
    int NotifierCount() const { return int(FNotifiers.size()); }
    TGridChangeNotifier* Notifiers(int Index) const { return FNotifiers.at(size_t(Index)); }
    bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
    bool IsLoading() const { return ComponentState().Contains(csLoading); }
    bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
    bool GridLoaded() const { return FGridLoaded; }
    bool HasFocusWindow() const { return FFocusWindowShown; }
    void SetFocusWindowShown(bool Value);
    // The editor's text of a display cell reads and writes its real column; a display column that
    // shows no real column is never written through.
    QString GetEditText(int DisplCol, int DisplRow) override;
    void SetEditText(int DisplCol, int DisplRow, const QString& Value) override;
    // The form whose resize the grid follows (SizeWithForm), or null.
    TForm* ResizeForm() const { return FResizeForm; }

    // ---- owned settings objects ---------------------------------------------------------------------
    TFooterPanel* FooterPanel() const { return FFooterPanel; }
    TSearchPanel* SearchPanel() const { return FSearchPanel; }
    TFocusHelper* FocusHelper() const { return FFocusHelper.get(); }
    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
    TFloatingFooter* FloatingFooter() const { return FFloatingFooter.get(); }
    TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
    THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
    TSortSettings* SortSettings() const { return FSortSettings.get(); }
    TDragDropSettings* DragDropSettings() const { return FDragDropSettings.get(); }
    TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions.get(); }
    TControlLook* ControlLook() const { return FControlLook.get(); }
    TNavigation* Navigation() const { return FNavigation.get(); }
    TColumnSize* ColumnSize() const { return FColumnSize.get(); }
    TCellNode* CellNode() const { return FCellNode.get(); }
    TBands* Bands() const { return FBands.get(); }
    TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    TGrouping* Grouping() const { return FGrouping.get(); }
    TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
    TFont* FixedFont() const { return FFixedFont.get(); }
    TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
    TStringList* RowHeaders() const { return FRowHeaders.get(); }
    TStringList* LookupItems() const { return FLookupItems.get(); }
    TBitmap* RowIndicator() const { return FRowIndicator.get(); }
    TBackGround* BackGround() const { return FBackGround.get(); }
    TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
    TSyncGrid* SyncGrid() const { return FSyncGrid.get(); }
    TFilter* Filter() const { return FFilter.get(); }
    TBalloonSettings* Balloon() const { return FBalloon.get(); }
    TShowModified* ShowModified() const { return FShowModified.get(); }
    TFilterDropDown* FilterDropDown() const { return FFilterDropDown.get(); }
    TIntList* IgnoredColumns() const { return FIgnoredColumns.get(); }
    TIntList* ColumnOrder() const { return FColumnOrder.get(); }
    TIntList* MergedColumns() const { return FMergedColumns.get(); }
    TIntList* ColSizesAtLoad() const { return FColSizesAtLoad.get(); }
    TStringList* FilterValueList() const { return FFilterValueList.get(); }

    // ---- published properties -------------------------------------------------------------------------
    // counts and sizes
    EXTGRID_READ(int, FixedRightCols, 0)
    EXTGRID_READ(int, FixedFooters, 0)
    EXTGRID_READ(int, FixedRowHeight, 22)
    EXTGRID_PLAIN(bool, FixedRowAlways, false)
    EXTGRID_PLAIN(bool, FixedColAlways, false)
    EXTGRID_PLAIN(bool, IntegralHeight, false)
    EXTGRID_READ(bool, AutoSize, false)
    EXTGRID_PLAIN(bool, SizeWithForm, false)
    // cell text
    EXTGRID_READ(bool, WordWrap, true)
    EXTGRID_PLAIN(bool, Multilinecells, false)
    EXTGRID_READ(TAlignment, DefaultAlignment, taLeftJustify)
    EXTGRID_READ(TVAlignment, VAlignment, vtaTop)
    EXTGRID_PLAIN(bool, EnableHTML, true)
    EXTGRID_PLAIN(bool, EditWithTags, false)
    EXTGRID_PLAIN(bool, EnhTextSize, false)
    EXTGRID_PLAIN(bool, AutoNumAlign, false)
    EXTGRID_PLAIN(QString, FloatFormat, "%.2f")
    EXTGRID_PLAIN(bool, OemConvert, false)
    EXTGRID_PLAIN(bool, ExcelStyleDecimalSeparator, false)
    EXTGRID_PLAIN(QString, ValidChars, QString())
    // editing
    EXTGRID_PLAIN(TEditorType, DefaultEditor, edNormal)
    EXTGRID_READ(int, MaxEditLength, 0)
    EXTGRID_PLAIN(int, MaxComboLength, 0)
    EXTGRID_PLAIN(bool, Lookup, false)
    EXTGRID_PLAIN(bool, LookupCaseSensitive, false)
    EXTGRID_PLAIN(bool, LookupHistory, false)
    EXTGRID_PLAIN(QString, InvalidEntryTitle, QString())
    EXTGRID_PLAIN(QString, InvalidEntryText, QString())
    EXTGRID_PLAIN(TInvalidEntryIcon, InvalidEntryIcon, ieWarning)
    // colours
    EXTGRID_READ(bool, ActiveCellShow, false)
    EXTGRID_READ(TColor, ActiveCellColor, clGray)
    EXTGRID_READ(TColor, ActiveCellColorTo, clNone)
    EXTGRID_READ(TColor, BorderColor, clGray)
    EXTGRID_PLAIN(TColor, DisabledFontColor, clSilver)
    EXTGRID_READ(TColor, HighlightColor, clHighlight)
    EXTGRID_READ(TColor, HighlightTextColor, clHighlightText)
    EXTGRID_PLAIN(TColor, HintColor, clInfoBk)
    EXTGRID_PLAIN(TColor, URLColor, clBlue)
    EXTGRID_READ(bool, Flat, false)
    EXTGRID_PLAIN(TGridLook, Look, glXP)
    EXTGRID_READ(bool, Hovering, false)
    EXTGRID_PLAIN(THoverFixedCells, HoverFixedCells, hfNone)
    EXTGRID_READ(bool, AutoThemeAdapt, false)
    // selection
    EXTGRID_READ(bool, ShowSelection, true)
    EXTGRID_READ(TColor, SelectionColor, TColor(0xEACAB6))
    EXTGRID_READ(TColor, SelectionColorTo, clNone)
    EXTGRID_READ(TColor, SelectionMirrorColor, clNone)
    EXTGRID_READ(TColor, SelectionMirrorColorTo, clNone)
    EXTGRID_READ(TColor, SelectionTextColor, clBlack)
    EXTGRID_READ(bool, SelectionColorMixer, false)
    EXTGRID_READ(int, SelectionColorMixerFactor, 50)
    EXTGRID_READ(bool, SelectionRectangle, false)
    EXTGRID_READ(bool, SelectionResizer, false)
    EXTGRID_PLAIN(bool, SelectionRTFKeep, false)
    EXTGRID_PLAIN(bool, HideFocusRect, false)
    // scrolling
    EXTGRID_READ(TScrollBarAlways, ScrollBarAlways, saNone)
    EXTGRID_READ(TScrollType, ScrollType, ssNormal)
    EXTGRID_READ(TColor, ScrollColor, clNone)
    EXTGRID_READ(int, ScrollWidth, 16)
    EXTGRID_READ(bool, ScrollProportional, false)
    EXTGRID_READ(bool, ScrollSynch, false)
    EXTGRID_READ(TScrollHintType, ScrollHints, shNone)
    EXTGRID_PLAIN(bool, EnableWheel, true)
    EXTGRID_PLAIN(TIntelliPan, IntelliPan, ipVertical)
    EXTGRID_PLAIN(bool, IntelliZoom, true)
    // hints and links
    EXTGRID_PLAIN(bool, HintShowCells, false)
    EXTGRID_PLAIN(bool, HintShowLargeText, false)
    EXTGRID_PLAIN(THintPosition, HintShowLargeTextPos, hpCell)
    EXTGRID_PLAIN(bool, HintShowSizing, false)
    EXTGRID_PLAIN(bool, HTMLHint, false)
    EXTGRID_PLAIN(bool, AnchorHint, false)
    EXTGRID_PLAIN(bool, UseInternalHintClass, true)
    EXTGRID_PLAIN(bool, URLShow, false)
    EXTGRID_PLAIN(bool, URLShowInText, false)
    EXTGRID_PLAIN(bool, URLUnderlineOnHover, false)
    EXTGRID_PLAIN(bool, URLFull, false)
    EXTGRID_PLAIN(bool, URLEdit, false)
    // filtering
    EXTGRID_PLAIN(bool, FilterActive, false)
    EXTGRID_PLAIN(bool, FilterNormalCellsOnly, true)
    EXTGRID_PLAIN(bool, AutoFilterUpdate, true)
    EXTGRID_PLAIN(bool, FilterDropDownAuto, false)
    EXTGRID_PLAIN(bool, FilterDropDownCheck, false)
    EXTGRID_PLAIN(QString, FilterDropDownClear, "(All)")
    EXTGRID_PLAIN(TFilterDropDownColumns, FilterDropDownColumns, fdNormal)
    EXTGRID_PLAIN(int, FilterDropDownRow, 0)
    // fixed cells
    EXTGRID_PLAIN(bool, FixedAsButtons, false)
    EXTGRID_PLAIN(TComponent*, FixedDropDownMenu, nullptr)
    EXTGRID_PLAIN(bool, EnhRowColMove, true)
    // misc
    EXTGRID_PLAIN(bool, EnableBlink, false)
    EXTGRID_READ(bool, ShowDesignHelper, true)
    EXTGRID_PLAIN(TComponent*, GridImages, nullptr)
    EXTGRID_PLAIN(TComponent*, PictureContainer, nullptr)
    EXTGRID_PLAIN(TExtStringGridCheck*, CellChecker, nullptr)

    // Other initial state other areas read and write.
    EXTGRID_PLAIN(QString, CheckTrue, "Y")
    EXTGRID_PLAIN(QString, CheckFalse, "N")
    EXTGRID_PLAIN(QChar, PasswordChar, QChar('*'))
    EXTGRID_READ(QPoint, XYOffset, QPoint(2, 2))
    EXTGRID_PLAIN(QString, XMLEncoding, "ISO-8859-1")
    EXTGRID_PLAIN(QChar, Delimiter, QChar(0))
    EXTGRID_PLAIN(bool, JavaCSV, false)
    EXTGRID_PLAIN(bool, QuoteEmptyCells, true)
    EXTGRID_PLAIN(bool, AlwaysQuotes, false)
    EXTGRID_PLAIN(bool, SaveFixedCells, true)
    EXTGRID_PLAIN(bool, SaveFixedRows, false)
    EXTGRID_PLAIN(bool, SaveFixedCols, false)
    EXTGRID_PLAIN(bool, SaveHiddenCells, false)
    EXTGRID_PLAIN(bool, SaveVirtCells, true)
    EXTGRID_PLAIN(bool, SaveWithHTML, true)
    EXTGRID_PLAIN(bool, LoadFirstRow, true)
    EXTGRID_PLAIN(bool, ShowNullDates, true)
    EXTGRID_PLAIN(bool, ShowColumnNumbers, true)
    EXTGRID_PLAIN(bool, FitCellsInGrid, true)
    EXTGRID_PLAIN(bool, UseDisabledFont, true)
    EXTGRID_PLAIN(int, MinRowHeight, 0)
    EXTGRID_PLAIN(int, MaxRowHeight, 0)
    EXTGRID_PLAIN(int, MinColWidth, 0)
    EXTGRID_PLAIN(int, MaxColWidth, 0)
    EXTGRID_PLAIN(int, PrintPageFrom, 1)
    EXTGRID_PLAIN(int, PrintPageTo, 1)
    EXTGRID_PLAIN(TOfficeTheme, OldOfficeTheme, otUnknown)
    EXTGRID_PLAIN(TTMSStyle, ComponentStyle, tsCustom)
    EXTGRID_PLAIN(bool, IsWinXP, false)
    EXTGRID_PLAIN(bool, IsWin7, false)
    EXTGRID_PLAIN(bool, IsComCtl6, false)

    // ---- display and real indexes, hidden columns and rows ----------------------------------------------
    void HideColumn(int RealCol) { HideColumns(RealCol, RealCol); }
    void HideColumns(int FromRealCol, int ToRealCol);
    void UnHideColumn(int RealCol) { UnHideColumns(RealCol, RealCol); }
    void UnHideColumns(int FromRealCol, int ToRealCol);
    void UnHideColumnsAll();
    bool IsHiddenColumn(int RealCol) const { return FColumnMap.IsHidden(RealCol); }
    int NumHiddenColumns() const { return FColumnMap.NumHidden(); }
    int TotalColCount() const override { return ColCount() + NumHiddenColumns(); }
    int AllColCount() const { return TotalColCount(); }
    int RealColIndex(int DisplCol) const { return FColumnMap.DisplToRealCol(DisplCol); }
    int DisplColIndex(int RealCol) const override { return FColumnMap.RealToDisplCol(RealCol); }
    // The real column shown at DisplCol; -1 when none shows there (nothing is written through it).
    int RealColOfDisplCol(int DisplCol) const { return FColumnMap.DisplToRealColOrNone(DisplCol); }
    int GetRealCol() const { return RealColIndex(Col()); }
    int RealCol() const { return GetRealCol(); }
    bool IsIgnoredColumn(int RealCol) const { return FIgnoredColumns->HasValue(RealCol); }
    void MoveColumn(int FromDisplCol, int ToDisplCol);

    void HideRow(int RealRow) { HideRows(RealRow, RealRow); }
    void HideRows(int FromRealRow, int ToRealRow);
    // RowList: ascending display rows, hidden together as one new filter level.
    void HideRowList(TIntList* DisplRowList);
    void HideRowsEx(int FromRealRow, int ToRealRow);
    void UnHideRow(int RealRow);
    void UnHideRows(int FromRealRow, int ToRealRow);
    void UnHideRowsAll();
    void UnHideRowList();
    bool IsHiddenRow(int RealRow) const { return FHiddenRows.Contains(RealRow); }
    // The same answer through a lookup list built on the first call (the caller frees it).
    bool IsHiddenRow(int RealRow, TIntList*& ListHidden) const;
    int NumHiddenRows() const { return FHiddenRows.Count(); }
    int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    int AllRowCount() const { return TotalRowCount(); }
    int RealRowIndex(int DisplRow) const { return FHiddenRows.DisplToRealRow(DisplRow); }
    int DisplRowIndex(int RealRow) const { return FHiddenRows.RealToDisplRow(RealRow); }
    int GetRealRow() const { return RealRowIndex(Row()); }
    int RealRow() const { return GetRealRow(); }
    void MoveRow(int FromDisplRow, int ToDisplRow);
    void MoveRows(int FromDisplRow, int ToDisplRow, int Count);
    int FilterLevel() const { return FFilterLevel; }
    void SetFilterLevel(int Value) { FFilterLevel = Value; }
    const TVisibleColumnMap& ColumnMap() const { return FColumnMap; }
    const THiddenRowStore& HiddenRows() const { return FHiddenRows; }
    // Both index maps hold their invariants and agree with the counts. Raises EExtGridError.
    void CheckIndexConsistency() const;

    // Cell text by real column and real row (a hidden row's text is read from or written into the
    // hidden-row store).
    QString GetCellsEx(int RealCol, int RealRow);
    void SetCellsEx(int RealCol, int RealRow, const QString& Value);
    TCellProperties* GetCellPropertiesByRealRow(int RealCol, int RealRow);
    // Row insertion and removal at display rows; cells, cell objects and heights move with them.
    virtual void InsertRows(int DisplRow, int RCount, bool UpdateCellControls = true);
    virtual void RemoveRows(int DisplRow, int RCount);
    void RemoveRowsEx(int DisplRow, int RCount);
    void ClearRows(int DisplRow, int RCount);
    void ClearRect(int ACol1, int DisplRow1, int ACol2, int DisplRow2);
    void CellControlsUpdate(bool RebuildList = false);

    // ---- cell access and fill API -----------------------------------------------------------------------
    void SetInts(int RealCol, int DisplRow, int Value);
    int GetInts(int RealCol, int DisplRow);
    void SetAllInts(int RealCol, int RealRow, int Value);
    int GetAllInts(int RealCol, int RealRow);
    void SetFloats(int RealCol, int DisplRow, double Value);
    double GetFloats(int RealCol, int DisplRow);
    void SetAllFloats(int RealCol, int RealRow, double Value);
    double GetAllFloats(int RealCol, int RealRow);
    void SetDates(int RealCol, int DisplRow, TDateTime Value);
    TDateTime GetDates(int RealCol, int DisplRow);
    void SetTimes(int RealCol, int DisplRow, TDateTime Value);
    TDateTime GetTimes(int RealCol, int DisplRow);
    QString GetCtrlVal(int RealCol, int DisplRow, const QString& ID);
    void SetCtrlVal(int RealCol, int DisplRow, const QString& ID, const QString& Value);
    QString GetStrippedCell(int RealCol, int DisplRow);
    // The float format of one cell (the column grid answers per column).
    virtual QString GetFloatFormat(int RealCol, int DisplRow);
    int GetPrintColWidth(int RealCol) const;
    int GetPrintColOffset(int RealCol) const;
    void SetPrintColWidth(int RealCol, int Value);
    void SetPrintColOffset(int RealCol, int Value);

    void ShowColumnHeaders();
    void ClearColumnHeaders();
    void SetColumnHeaders(TStrings* Value);
    void ShowRowHeaders();
    void ClearRowHeaders();
    void SetRowHeaders(TStrings* Value);

    QString HilightText(bool DoCase, const QString& S, const QString& Text);
    QString MarkText(bool DoCase, const QString& S, const QString& Text);
    QString UnHilightText(const QString& S);
    QString UnMarkText(const QString& S);
    void HilightInCell(bool DoCase, int RealCol, int DisplRow, const QString& HiText);
    void HilightInCol(bool DoFixed, bool DoCase, int RealCol, const QString& HiText);
    void HilightInRow(bool DoFixed, bool DoCase, int DisplRow, const QString& HiText);
    void HilightInGrid(bool DoFixed, bool DoCase, const QString& HiText);
    void UnHilightInCell(int RealCol, int DisplRow);
    void UnHilightInCol(bool DoFixed, int RealCol);
    void UnHilightInRow(bool DoFixed, int DisplRow);
    void UnHilightInGrid(bool DoFixed);
    void MarkInCell(bool DoCase, int RealCol, int DisplRow, const QString& HiText);
    void MarkInCol(bool DoFixed, bool DoCase, int RealCol, const QString& HiText);
    void MarkInRow(bool DoFixed, bool DoCase, int DisplRow, const QString& HiText);
    void MarkInGrid(bool DoFixed, bool DoCase, const QString& HiText);
    void UnMarkInCell(int RealCol, int DisplRow);
    void UnMarkInCol(bool DoFixed, int RealCol);
    void UnMarkInRow(bool DoFixed, int DisplRow);
    void UnMarkInGrid(bool DoFixed);

    bool CheckCell(int RealCol, int DisplRow);
    bool CheckCells(int FromRealCol, int FromDisplRow, int ToRealCol, int ToDisplRow);
    bool CheckCol(bool DoFixed, int RealCol);
    bool CheckRow(bool DoFixed, int DisplRow);
    bool CheckGrid(bool DoFixed);

    void TextFill(bool DoFixed, const QString& Txt);
    void FormatFill(bool DoFixed, const QString& Fmt);
    void RandomFill(bool DoFixed, int Rnd);
    void LinearFill(bool DoFixed);

    TRect UsedCells();
    int SaveStartCol() const;
    int SaveStartRow() const;
    int SaveEndCol() const;
    int SaveEndRow() const;
    int SaveColCount() const;
    int SaveRowCount() const;
    void ScreenToCell(TPoint pt, int& DisplCol, int& DisplRow);

    virtual void CalcFooter(int RealCol);
    void UpdateFooter();
    virtual void CalcFooterCells(int RealCol);
    virtual void RecalcFooters() { CalcFooter(-1); }

    // ---- selection

    // ---- scrolling

    // ---- keyboard navigation and property setters

    // ---- cell query hooks and event dispatch

    // ---- events and virtual operations

protected:
    // ---- core internals ------------------------------------------------------------------------------
    void Resize() override;
    void TimerTick(int ID) override;
    // The grid's own form-resize handler (SizeWithForm), chained before the form's own.
    virtual void FormResized(TObject* Sender);
    // Hooks of the owned settings objects.
    virtual void NavigationChanged() {}
    virtual void MouseActionsChanged() {}
    virtual void MouseActionsInvalidate() { Invalidate(); }
    virtual bool MouseActionsIsDesigning() { return IsDesigning(); }
    virtual void ColumnHeadersChanged() {}
    virtual void FilterListSelect() {}
    virtual void FilterCheckListSelect() {}
    void ColumnMoved(int FromDisplCol, int ToDisplCol) override;

    // ---- index internals -----------------------------------------------------------------------------
    // Copies the texts and cell objects of a display row into an entry, and back.
    void SaveRowToItem(int DisplRow, TGridItem* Item);
    void LoadRowFromItem(TGridItem* Item, int DisplRow);
    // Puts back the given entries (already out of the store) in one pass from the bottom.
    void PutBackRows(TGridItems Items);

    // ---- cell access internals -----------------------------------------------------------------------
    void TagTextInRange(const TGridRect& RealRange, const QString& HiText, const QString& Tag, bool DoCase);
    void UnTagTextInRange(const TGridRect& RealRange, const QString& Tag);
    int ColRangeEnd(bool DoFixed, bool WithHidden) const;
    void FillArea(bool DoFixed, const std::function<QString(int RealCol, int DisplRow)>& Text);

    // ---- stand-ins for services of the grid that live in other areas ------------------------------------
    // Painting, editors, data services and drop-down editors call through these; each does the
    // least the core needs until its area fills it.
    void CreateAuxiliaryControls();
    void FreeAuxiliaryControls();
    void SaveColumnSizes() {}
    void LoadColumnSizes() {}
    void InitOrigColSizes();
    void SetColumnOrder();
    void ApplySearchFooterSettings();
    void ApplyScrollBarAlways(bool Hide) { (void)Hide; }
    void AutoSizeColumns(bool DoFixedCols, int Padding) {
        (void)DoFixedCols;
        (void)Padding;
    }
    void BalloonInit() {}
    void BalloonDone() {}
    void ExpandAllNodes() {}
    void DrawThemedBorder() {}
    void HideInplaceEditStandIn();
    void MergedColumnsChanged();
    void SplitColumnCells(int RealCol);
    void MergeColumnCells(int RealCol, bool MainMerge);

protected:
    // ---- owned objects ---------------------------------------------------------------------------------
    TFooterPanel* FFooterPanel = nullptr; // child control: freed with the grid's window
    TSearchPanel* FSearchPanel = nullptr;
    std::unique_ptr<TFocusHelper> FFocusHelper;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TFloatingFooter> FFloatingFooter;
    std::unique_ptr<TPrintSettings> FPrintSettings;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    std::unique_ptr<TSortSettings> FSortSettings;
    std::unique_ptr<TDragDropSettings> FDragDropSettings;
    std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
    std::unique_ptr<TControlLook> FControlLook;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TColumnSize> FColumnSize;
    std::unique_ptr<TCellNode> FCellNode;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TStringList> FColumnHeaders;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    std::unique_ptr<TIntList> FColSizesAtLoad;
    std::unique_ptr<TFont> FFixedFont;
    std::unique_ptr<TFont> FActiveCellFont;
    std::unique_ptr<TStringList> FRowHeaders;
    std::unique_ptr<TStringList> FSortList;
    std::unique_ptr<TStringList> FLookupItems;
    std::unique_ptr<TSortIndexList> FSortIndexes;
    std::unique_ptr<TIntList> FSortList2; // sort cross-reference
    std::unique_ptr<TIntList> FUnSortList;
    std::unique_ptr<TIntList> FMergedColumns;
    std::unique_ptr<TIntList> FModifiedRows;
    std::unique_ptr<TIntList> FEnabledRows;
    std::unique_ptr<TBitmap> FRowIndicator;
    std::unique_ptr<TBackGround> FBackGround;
    std::unique_ptr<TControlList> FControlList;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    std::unique_ptr<TSyncGrid> FSyncGrid;
    std::unique_ptr<TFilter> FFilter;
    std::unique_ptr<TBalloonSettings> FBalloon;
    std::unique_ptr<TShowModified> FShowModified;
    std::vector<TGridChangeNotifier*> FNotifiers; // not owned
    std::shared_ptr<ITExtStringGridSelect> FSelListener;
    std::unique_ptr<TIntList> FColumnOrder;
    std::unique_ptr<TIntList> FIgnoredColumns;
    std::unique_ptr<TFilterDropDown> FFilterDropDown;
    std::unique_ptr<TStringList> FFilterValueList;

    // ---- index state -----------------------------------------------------------------------------------
    TVisibleColumnMap FColumnMap;
    THiddenRowStore FHiddenRows;
    int FFilterLevel = 0;

    // ---- core state ------------------------------------------------------------------------------------
    bool FPlacedAtDesign = false;
    bool FGridLoaded = false;
    bool FFocusWindowShown = false;
    bool FEditChange = false; // goEditing switched on by the cell selection itself: skip one invalidate
    int FUpdateCount = 0;
    TForm* FResizeForm = nullptr;
    std::unique_ptr<QObject> FFormResizeFilter;
    int FFormWidth = 0;
    int FFormHeight = 0;
    bool FWindowCreated = false;
    TCursor FOldCursor = crDefault;
    int FMinFixedRows = 1;
    int FMinFixedCols = 1;
    int FLoadedMinRowHeight = 22;
    int FLoadedMinColWidth = 10;
    int FMaxRowCount = 10;
    int FMaxColCount = 5;
    int FOldLeftCol = 0;
    int FOldTopRow = 0;
    int FPrintColWidths[512] = {};
    int FPrintColOffsets[512] = {};
    // Other initial state.
    int FLastTabCol = -1;
    int FLastTabRow = -1;
    int FComboIdx = -1;
    int FFilterCol = -1;
    int FGroupColumn = -1;
    TPoint FHoverFixedCell{-1, -1};
    TPoint FCellButtonPushed{-1, -1};
    TPoint FClipTopLeft{-1, -1};
    TPoint FLastHintPos{-1, -1};
    int FOleDragCol = -1;
    int FLastDesignChoice = -1;
    int FOldRowSel = -1;
    int FMouseSelectStart = -1;
    int FLinkHoverIndex = -1;
    TColor FTones = clNone;
};

#undef EXTGRID_PLAIN
#undef EXTGRID_READ
