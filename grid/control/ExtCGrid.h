#pragma once
// Unit ExtCGrid: the column grid. TExtColumnGrid is the string grid with one TGridColumnItem per
// real column (hidden columns keep their items); the item of a cell's column decides the cell's
// look, editor and editability before the string grid's own rules and events.
#include "grid/control/ExtGrid.h"

#include <QString>

#include <memory>
#include <vector>

class TExtColumnGrid;
class TGridColumnCollection;

enum TColumnPopupType {
    cpFixedCellsRClick,
    cpFixedCellsLClick,
    cpNormalCellsRClick,
    cpNormalCellsLClick,
    cpAllCellsRClick,
    cpAllCellsLClick
};

using TColumnPopupEvent = std::function<void(TObject* Sender, int ACol, int ARow, TPopupMenu*& PopupMenu)>;
using TAfterColumnMoved = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;

// The definition of one real column.
class TGridColumnItem : public TPersistent {
    friend class TGridColumnCollection;
    friend class TExtColumnGrid;

public:
    // Inside a collection the item starts with the grid's font and colour and reports changes of
    // its fonts and pen; without one it keeps plain defaults and reports nothing.
    explicit TGridColumnItem(TGridColumnCollection* ACollection);
    ~TGridColumnItem() override;

    TGridColumnCollection* Collection() const { return FCollection; }
    int Index() const;
    QString GetDisplayName() const;
    // Copies every setting of another item by field (no grid writes); anything else is ignored.
    void Assign(TPersistent* Source) override;
    // As Assign, but font and colour come from the grid, and the header, lists, tag, name and
    // header font stay.
    void AssignVisuals(TPersistent* Source);

    // The live width of the column (the remembered one when hidden); 0 outside a collection.
    int Width() const;
    void SetWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    QString Header() const { return FColumnHeader; }
    void SetHeader(const QString& Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool Value);
    bool Fixed() const { return FFixed; }
    void SetFixed(bool Value);
    bool Password() const { return FPassword; }
    void SetPassword(bool Value);
    TCellBorders Borders() const { return FBorders; }
    void SetBorders(TCellBorders Value);
    TPen* BorderPen() const { return FBorderPen.get(); }
    void SetBorderPen(TPen* Value);
    TPen* PrintBorderPen() const { return FPrintBorderPen.get(); }
    void SetPrintBorderPen(TPen* Value);
    TStringList* ComboItems() const { return FComboItems.get(); }
    void SetComboItems(TStrings* Value);
    TStringList* Filter() const { return FFilter.get(); }
    void SetFilter(TStrings* Value);
    TFont* PrintFont() const { return FPrintFont.get(); }
    void SetPrintFont(TFont* Value);
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont* Value);
    TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(TAlignment Value);
    QString FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const QString& Value);
    TEditorType Editor() const { return FEditorType; }
    void SetEditor(TEditorType Value);

#define COLITEM_PLAIN(Type, Name, Field)                                                                               \
    Type Name() const { return Field; }                                                                                \
    void Set##Name(Type Value) { Field = Value; }
    COLITEM_PLAIN(TSortStyle, SortStyle, FSortStyle)
    COLITEM_PLAIN(QString, SortPrefix, FSortPrefix)
    COLITEM_PLAIN(QString, SortSuffix, FSortSuffix)
    COLITEM_PLAIN(QString, EditMask, FEditMask)
    COLITEM_PLAIN(int, EditLength, FEditLength)
    COLITEM_PLAIN(TEditLink*, EditLink, FEditLink)
    COLITEM_PLAIN(bool, ReadOnly, FReadOnly)
    COLITEM_PLAIN(int, DropDownCount, FDropDownCount)
    COLITEM_PLAIN(int, SpinMin, FSpinMin)
    COLITEM_PLAIN(int, SpinMax, FSpinMax)
    COLITEM_PLAIN(int, SpinStep, FSpinStep)
    COLITEM_PLAIN(TColor, PrintColor, FPrintColor)
    COLITEM_PLAIN(TCellBorders, PrintBorders, FPrintBorders)
    COLITEM_PLAIN(int, Tag, FTag)
    COLITEM_PLAIN(QString, Name, FName)
    COLITEM_PLAIN(QString, CheckFalse, FCheckFalse)
    COLITEM_PLAIN(QString, CheckTrue, FCheckTrue)
    COLITEM_PLAIN(int, MaxSize, FMaxSize)
    COLITEM_PLAIN(int, MinSize, FMinSize)
    COLITEM_PLAIN(int, AutoMinSize, FAutoMinSize)
    COLITEM_PLAIN(int, AutoMaxSize, FAutoMaxSize)
    COLITEM_PLAIN(TColumnPopupType, ColumnPopupType, FColumnPopupType)
    COLITEM_PLAIN(TPopupMenu*, ColumnPopup, FColumnPopup)
    COLITEM_PLAIN(bool, FilterCaseSensitive, FFilterCaseSensitive)
    COLITEM_PLAIN(bool, PrintBorderCustom, FPrintBorderCustom)
    COLITEM_PLAIN(bool, PrintFontCustom, FPrintFontCustom)
#undef COLITEM_PLAIN
    // The design position (recorded when loading ends, kept by the INI column positions).
    int DefIdx() const { return FDefIdx; }

    // Cell access down the column (rows as the cell store counts them).
    QString Rows(int ARow) const;
    void SetRows(int ARow, const QString& Value);
    int Ints(int ARow) const;
    void SetInts(int ARow, int Value);
    double Floats(int ARow) const;
    void SetFloats(int ARow, double Value);
    TDateTime Dates(int ARow) const;
    void SetDates(int ARow, TDateTime Value);
    TDateTime Times(int ARow) const;
    void SetTimes(int ARow, TDateTime Value);

private:
    TExtColumnGrid* Grid() const;
    void Notify();
    void Repaint();
    void CopyFrom(const TGridColumnItem& S, bool Visuals);

    TGridColumnCollection* FCollection = nullptr;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    QString FColumnHeader;
    TSortStyle FSortStyle = ssAutomatic;
    QString FSortPrefix;
    QString FSortSuffix;
    QString FEditMask;
    int FEditLength = 0;
    TEditLink* FEditLink = nullptr;
    std::unique_ptr<TFont> FFont;
    TColor FColor = 0;
    TEditorType FEditorType = edNormal;
    bool FFixed = false;
    bool FReadOnly = false;
    std::unique_ptr<TStringList> FComboItems;
    int FDropDownCount = 8;
    int FSpinMin = 0;
    int FSpinMax = 0;
    int FSpinStep = 1;
    bool FPassword = false;
    std::unique_ptr<TFont> FPrintFont;
    TColor FPrintColor = clWhite;
    TCellBorders FBorders;
    std::unique_ptr<TPen> FBorderPen;
    TCellBorders FPrintBorders{cbTop, cbLeft, cbRight, cbBottom};
    std::unique_ptr<TPen> FPrintBorderPen;
    int FTag = 0;
    int FDefIdx = 0;
    QString FName;
    QString FCheckFalse = QStringLiteral("N");
    QString FCheckTrue = QStringLiteral("Y");
    bool FShowBands = false;
    std::unique_ptr<TStringList> FFilter;
    int FMaxSize = 0;
    int FMinSize = 0;
    int FAutoMinSize = 0;
    int FAutoMaxSize = 0;
    TColumnPopupType FColumnPopupType = cpFixedCellsRClick;
    TPopupMenu* FColumnPopup = nullptr;
    bool FFilterCaseSensitive = false;
    QString FFloatFormat;
    TAlignment FHeaderAlignment = taLeftJustify;
    std::unique_ptr<TFont> FHeaderFont;
    bool FPrintBorderCustom = true;
    bool FPrintFontCustom = true;
};

// The column items of a column grid, item i for real column i.
class TGridColumnCollection : public TPersistent {
    friend class TGridColumnItem;
    friend class TExtColumnGrid;

public:
    explicit TGridColumnCollection(TExtColumnGrid* AOwner);
    ~TGridColumnCollection() override;

    TExtColumnGrid* GetOwner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    // Raises EListError for an index outside 0..Count-1.
    TGridColumnItem* GetItem(int Index) const;
    TGridColumnItem* Items(int Index) const { return GetItem(Index); }
    void SetItem(int Index, TGridColumnItem* Value);
    // A new item that repeats the visuals of the item before it.
    TGridColumnItem* Add();
    // A new default item at Index.
    TGridColumnItem* Insert(int Index);
    // Frees the item at Index.
    void Delete(int Index);
    void Clear();
    // Assigning another collection assigns its items one by one (the count follows it).
    void Assign(TPersistent* Source) override;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    bool NoRecursiveUpdate() const { return FNoRecursiveUpdate; }
    void SetNoRecursiveUpdate(bool Value) { FNoRecursiveUpdate = Value; }
    // Keeps the grid's column count and headers in step after an item changed, was added or
    // removed (Item null: the collection as a whole).
    virtual void UpdateOverride(TGridColumnItem* Item);
    void SetOrganization();
    void ResetOrganization();

private:
    void Changed(TGridColumnItem* Item) { UpdateOverride(Item); }
    TExtColumnGrid* FOwner;
    bool FNoRecursiveUpdate = false;
    int FUpdateCount = 0;
    std::vector<std::unique_ptr<TGridColumnItem>> FItems;
};

class TExtColumnGrid : public TExtStringGrid {
    friend class TGridColumnItem;
    friend class TGridColumnCollection;

public:
    explicit TExtColumnGrid(TComponent* AOwner);
    ~TExtColumnGrid() override;

    TGridColumnCollection* Columns() const { return FColumnCollection.get(); }
    void SetColumns(TGridColumnCollection* Value);
    // The string grid's count; the items follow it.
    void SetColCount(int Value) override;
    bool AutoFilterDisplay() const { return FAutoFilterDisplay; }
    void SetAutoFilterDisplay(bool Value) { FAutoFilterDisplay = Value; }
    TColumnPopupEvent OnColumnPopup;
    TAfterColumnMoved OnAfterColumnMoved;

    TGridColumnItem* GetColumnByName(const QString& AValue) const;
    // The column definitions, every setting of every item. Loading checks the whole stream first:
    // damaged input raises EReadError and leaves the columns as they were.
    void SaveColumnsToStream(TStream* St);
    // Column positions in an INI section: key "CP" and the position, value the design index of
    // the column standing there. Loading a section without every key changes nothing; a value
    // outside the columns or one named at two positions raises EListError before anything moves.
    // Loading shows hidden columns again and puts the columns back in design order first.
    void SaveColumnPositions(const QString& Key, const QString& Section);
    void LoadColumnPositions(const QString& Key, const QString& Section);
    void LoadColumnsFromStream(TStream* St);
    void RebuildColumnHeaders();
    void MatchColumnsToColCount();
    // The width of a real column: the live width of a visible one, the remembered width of a
    // hidden one.
    int AllColWidths(int RealCol) const;
    void SetAllColWidths(int RealCol, int Value);
    bool ColMoving() const { return FColMoving; }
    // Grouping takes a column out: its item's settings are kept aside and given back to the item
    // at the group column when the grid is ungrouped.
    void Group(int ColIndex) override;
    void UnGroup() override;
    // A column's own filter entries (the text before "=") replace the list when it has any.
    bool GetFilterValues(int RealCol) override;
    // Applies entry ItemIndex of the open column's Filter list: its caption (the text before "=")
    // may become the header, its condition (the text after it) the column's filter condition,
    // and with AutoFilterUpdate the filter is switched on again. The list is closed in any case.
    void FilterSelect(int ItemIndex) override;
    // With ColumnSize.Location clIniFile the positions go to the INI file ColumnSize.Key,
    // section ColumnSize.Section; otherwise the string grid keeps them.
    void SaveColPositions() override;
    void LoadColPositions() override;
    // The items follow the removed and inserted columns (new columns get default items).
    void RemoveCols(int RealCol, int CCount) override;
    void InsertCols(int RealCol, int CCount) override;

    static int GetVersionNr() { return (3 << 24) | (1 << 16) | (3 << 8) | 1; }
    QString GetVersionString() override;

    // Per-cell overrides: the column's item first, then the string grid's rules.
    TCellType GetCellType(int ACol, int ARow) override;
    TObject* GetCellGraphic(int ACol, int ARow) override;
    QString GetFloatFormat(int RealCol, int DisplRow) override;
    void DoUpdateColumnSize(int ACol, int& AWidth) override;
    void DoAutoSizeColumn(int ACol, int& AWidth) override;
    void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) override;
    void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) override;
    void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) override;
    void GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) override;
    void GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) override;
    void GetColumnFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix) override;
    void GetCellEditor(int ACol, int ARow, TEditorType& AEditor) override;
    void GetCellEditorEx(int ACol, int ARow, TEditorType& AEditor) override;
    void GetFixedCell(int ACol, int ARow, bool& IsFixed) override;
    void GetCellEditable(int ACol, int ARow, bool& CanEdit) override;
    void GetPasswordCell(int ACol, int ARow, bool& IsPassword) override;
    bool HasComboButton(int ACol, int ARow) override;
    void GetCheckTrue(int ACol, int ARow, QString& Value) override;
    void GetCheckFalse(int ACol, int ARow, QString& Value) override;
    void GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
                         TColor& MirrorColorTo, TAlignment& HA, TVAlignment& VA, bool& WW,
                         TCellGradientDirection& GD) override;
    QString GetEditMask(int ACol, int ARow) override;
    // The longest text the editor of the current cell takes (0: no limit).
    int GetEditLimit() override;
    // The displayed text of a cell: the column's float format applied to a numeric text.
    QString GetFormattedCell(int ACol, int ARow) override;

    // The combo list and spin bounds the last editor question loaded (the editors read these).
    TStringList* EditComboItems() const { return FEditComboItems.get(); }
    int EditComboDropDownCount() const { return FEditComboDropDownCount; }
    int SpinMinValue() const { return FSpinMinValue; }
    int SpinMaxValue() const { return FSpinMaxValue; }
    int SpinStepValue() const { return FSpinStepValue; }
    TEditLink* CurrentEditLink() const { return FCurrentEditLink; }

protected:
    virtual std::unique_ptr<TGridColumnCollection> CreateColumns();
    void ColumnHeadersChanged() override;
    void ColumnMoved(int FromDisplCol, int ToDisplCol) override;
    // The items keep the widths the columns are shown with.
    void ColWidthsChanged() override;
    // A click of the kind a column's pop-up menu asks for offers the menu (OnColumnPopup may
    // change it) and shows it under the cell in the rows the kind names.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The item of a real column, null when it has none.
    TGridColumnItem* ItemOf(int RealCol) const;
    // Takes the column item's editor kind, list, bounds and link for a normal cell (true then).
    bool LoadColumnEditor(int ACol, int ARow, TEditorType& AEditor);
    bool IsNormalCell(int ACol, int ARow) const;
    // Bands are a screen aid: printed pages take the columns' print colours.
    bool BandsPrinted() const { return false; }

private:
    // The graphic data check-box cells of a column are drawn with: the cell text is the state.
    std::unique_ptr<TGridColumnCollection> FColumnCollection;
    std::unique_ptr<TGridColumnItem> FSaveCol;
    bool FColMoving = false;
    // The shared record of the virtual check boxes; never stored in a cell.
    std::unique_ptr<TCellGraphic> FCellGraphic;
    bool FAutoFilterDisplay = false;
    std::unique_ptr<TStringList> FEditComboItems;
    int FEditComboDropDownCount = 8;
    int FSpinMinValue = 0;
    int FSpinMaxValue = 0;
    int FSpinStepValue = 1;
    TEditLink* FCurrentEditLink = nullptr;
};
