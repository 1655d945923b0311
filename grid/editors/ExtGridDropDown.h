#pragma once
// The grid drop-down: a drop-down edit whose popup is a full string grid, sortable and
// filterable. In item mode the drop-down owns the content (Items, Columns) and fills the popup
// grid at every opening; in grid mode the program fills the popup grid itself. One column, the
// lookup column, gives the edit its text. Typing looks the text up, narrows the popup's rows
// down, or neither. The popup grid's events are passed on as drop-down events named OnGrid....
//
// The column, item and popup grid classes live in their own namespace: the multi-column
// drop-down has classes of the same names that are different types.
#include "grid/control/ExtGrid.h"
#include "grid/editors/ExtDropDown.h"
#include "grid/editors/ExtDropDownColumns.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TCustomExtGridDropDown;

enum TLookupMethod : uint8_t { lmLookup, lmNarrowDown, lmNone };
enum TGridSorting : uint8_t { gsNone, gsSingleColumn, gsMultiColumn };
enum TDropDownStyle : uint8_t { dsDropDown, dsDropDownList };

namespace ExtGridDD {

using ExtDropDownColumns::ctImage;
using ExtDropDownColumns::ctText;
using ExtDropDownColumns::TColumnType;

class TDropDownColumns;
class TDropDownItems;

using TDropDownColumn = ExtDropDownColumns::TDropDownColumnT<TDropDownColumns>;

// An insert outside 0..Count is a list index error.
class TDropDownColumns : public ExtDropDownColumns::TDropDownCollection<TDropDownColumn, TDropDownColumns,
                                                                        ExtDropDownColumns::TInsertRange::Raise> {
public:
    using TDropDownCollection::TDropDownCollection;
};

class TDropDownItem : public ExtDropDownColumns::TDropDownItemT<TDropDownItems> {
public:
    using TDropDownItemT::TDropDownItemT;
    // Copies the image index only: the texts are the item's own.
    void Assign(TPersistent* Source) override;
    // One string per column.
    TStringList* Text() { return &FText; }
    void SetText(TStrings* Value) { FText.Assign(Value); }

private:
    TStringList FText;
};

class TDropDownItems : public ExtDropDownColumns::TDropDownCollection<TDropDownItem, TDropDownItems,
                                                                      ExtDropDownColumns::TInsertRange::Raise> {
public:
    using TDropDownCollection::TDropDownCollection;
};

// The popup grid. Its own line width and colours are kept for the drop-down; it paints with the
// string grid's own painting.
class TExtColGrid : public TExtStringGrid {
public:
    explicit TExtColGrid(TComponent* AOwner);
    ~TExtColGrid() override;
    void AfterConstruction() override;

    TCustomExtGridDropDown* ExtDropDown() const { return FExtDropDown; }
    void SetExtDropDown(TCustomExtGridDropDown* Value) { FExtDropDown = Value; }
    TDropDownColumns* Columns() const { return FColumns.get(); }
    int OwnGridLineWidth() const { return FGridLineWidth; }
    bool ConfirmSelection() const { return FConfirmSelection; }
    void SetConfirmSelection(bool Value) { FConfirmSelection = Value; }
    bool MouseWheelSelection() const { return FMouseWheelSelection; }
    void WndProc(TMessage& Message) override;

    TColor FHeaderColor = clWhite;
    TColor FHeaderColorTo = RGB(128, 128, 128);
    TColor FLineColor = RGB(128, 128, 128);
    TColor FFixedLineColor = RGB(128, 128, 128);
    TCustomImageList* FImages = nullptr;
    int FHeaderHeight = 25;
    TFont FHeaderFont;

    // A row was chosen: a left release on a data row outside a check box, or Enter.
    TNotifyEvent OnSelect;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    LRESULT DialogCode() const override;
    // Enter in a cell editor of an editable popup reaches the drop-down before the editor.
    void EditKeyDownHook(Word& Key, TShiftState Shift) override;

private:
    TCustomExtGridDropDown* FExtDropDown = nullptr;
    std::unique_ptr<TDropDownColumns> FColumns;
    int FGridLineWidth = 1;
    int FOldRow = -1;
    bool FMouseWheelSelection = false;
    bool FConfirmSelection = false;
};

} // namespace ExtGridDD

class TCustomExtGridDropDown : public TExtCustomDropDown {
public:
    using TDropDownColumns = ExtGridDD::TDropDownColumns;
    using TDropDownItems = ExtGridDD::TDropDownItems;
    using TExtColGrid = ExtGridDD::TExtColGrid;

    explicit TCustomExtGridDropDown(TComponent* AOwner);
    ~TCustomExtGridDropDown() override;
    void AfterConstruction() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    int GetVersionNr() const override { return 0x06000101; }

    // -- content
    TDropDownItems* Items() const { return FItems.get(); }
    void SetItems(TDropDownItems* Value) { FItems->Assign(Value); }
    TDropDownColumns* Columns() const { return FColumns.get(); }
    void SetColumns(TDropDownColumns* Value) { FColumns->Assign(Value); }
    int RowCount() const { return FItems->Count(); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    TExtColGrid* GetGrid() const { return FExtColGrid; }
    void BeginUpdate() {}
    void EndUpdate() { RebuildLookupList(); }
    // The first row whose lookup cell starts with Text (case by CaseSensitive): item mode gives
    // the item's full string and its index, grid mode the cell text and the grid row.
    bool FindLookupMatch(const QString& Text, QString& Match, int& Row) const;
    // The item shown in a popup grid row, and the row that shows an item.
    int RowToItem(int ARow) const;
    int ItemToRow(int AIndex) const;
    // Handles one typed character for the lookup; the row (item mode: item) it found, or -1.
    int LookupChar(QChar Ch);
    QString LookupEntry() const { return FLookupEntry; }
    bool WorkMode() const { return FWorkMode; }

    // -- settings
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
    bool ColumnSizing() const { return FColumnSizing; }
    void SetColumnSizing(bool Value) { FColumnSizing = Value; }
    bool ColumnMoving() const { return FColumnMoving; }
    void SetColumnMoving(bool Value) { FColumnMoving = Value; }
    int LookupColumn() const { return FLookupColumn; }
    void SetLookupColumn(int Value) { FLookupColumn = Value; }
    TLookupMethod LookupMethod() const { return FLookupMethod; }
    void SetLookupMethod(TLookupMethod Value) { FLookupMethod = Value; }
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value) { FHeaderColor = Value; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value) { FHeaderColorTo = Value; }
    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor Value) { FLineColor = Value; }
    TColor FixedLineColor() const { return FFixedLineColor; }
    void SetFixedLineColor(TColor Value) { FFixedLineColor = Value; }
    bool UseItems() const { return FUseItems; }
    void SetUseItems(bool Value) { FUseItems = Value; }
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value) { FHeaderHeight = Value; }
    TFont* HeaderFont() { return &FHeaderFont; }
    void SetHeaderFont(TFont* Value) { FHeaderFont.Assign(Value); }
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value) { FRowSelect = Value; }
    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
    void SetSearchFooter(TSearchFooter* Value) { FSearchFooter->Assign(Value); }
    TBands* Bands() const { return FBands.get(); }
    void SetBands(TBands* Value) { FBands->Assign(Value); }
    TNavigation* Navigation() const { return FNavigation.get(); }
    void SetNavigation(TNavigation* Value) { FNavigation->Assign(Value); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    void SetMouseActions(TMouseActions* Value) { FMouseActions->Assign(Value); }
    bool DropDownAutoWidth() const { return FDropDownAutoWidth; }
    void SetDropDownAutoWidth(bool Value) { FDropDownAutoWidth = Value; }
    bool ColumnSizeWithDropDown() const { return FColumnSizeWithDropDown; }
    void SetColumnSizeWithDropDown(bool Value) { FColumnSizeWithDropDown = Value; }
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value) { FSelectionTextColor = Value; }
    int DropDownRowHeight() const { return FDropDownRowHeight; }
    void SetDropDownRowHeight(int Value) { FDropDownRowHeight = Value; }
    TDropDownStyle Style() const { return FStyle; }
    void SetStyle(TDropDownStyle Value);
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool Value) { FHoverRow = Value; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor Value) { FHoverRowColor = Value; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor Value) { FHoverRowColorTo = Value; }
    TGridSorting Sorting() const { return FSorting; }
    void SetSorting(TGridSorting Value) { FSorting = Value; }
    bool GridEditable() const { return FGridEditable; }
    void SetGridEditable(bool Value) { FGridEditable = Value; }
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* Value);
    bool RowMoving() const { return FRowMoving; }
    void SetRowMoving(bool Value) { FRowMoving = Value; }
    bool RowSizing() const { return FRowSizing; }
    void SetRowSizing(bool Value) { FRowSizing = Value; }
    bool AutoShowDropDown() const { return FAutoShowDropDown; }
    void SetAutoShowDropDown(bool Value) { FAutoShowDropDown = Value; }
    bool AutoSizeColumns() const { return FAutoSizeColumns; }
    void SetAutoSizeColumns(bool Value) { FAutoSizeColumns = Value; }

    // -- the base's steps
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoDropDown() override;
    void SizeDropDown() override;
    void AdaptDropDownHeight(int& AHeight) override;
    void DoHideDropDown(bool Cancelled) override;
    void DropDownSizing() override;
    void DropDownFormDestroyed() override { FExtColGrid = nullptr; }
    void MouseWheelDownHook() override;
    void MouseWheelUpHook() override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(QChar& Key) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void SetComponentStyle(TExtStyle AStyle) override;
    // A text written by code is taken as it stands: only typing completes.
    void SetText(const QString& Value) override;
    // Supplies the item collection; a descendant may give its own.
    virtual TDropDownItems* CreateItems();

    TNotifyEvent OnSelect;

    // The popup grid's events passed on, each with the grid's own arguments.
#define EXTGRIDDD_EVENT(Name) decltype(TExtStringGrid::On##Name) OnGrid##Name;
    EXTGRIDDD_EVENT(AnchorClick)
    EXTGRIDDD_EVENT(AnchorEnter)
    EXTGRIDDD_EVENT(AnchorExit)
    EXTGRIDDD_EVENT(AnchorHint)
    EXTGRIDDD_EVENT(ButtonClick)
    EXTGRIDDD_EVENT(EllipsClick)
    EXTGRIDDD_EVENT(CustomCompare)
    EXTGRIDDD_EVENT(RawCompare)
    EXTGRIDDD_EVENT(ColumnSize)
    EXTGRIDDD_EVENT(ColumnSizing)
    EXTGRIDDD_EVENT(EndColumnSize)
    EXTGRIDDD_EVENT(RowSize)
    EXTGRIDDD_EVENT(RowSizing)
    EXTGRIDDD_EVENT(EndRowSize)
    EXTGRIDDD_EVENT(RowMove)
    EXTGRIDDD_EVENT(RowMoving)
    EXTGRIDDD_EVENT(RowMoved)
    EXTGRIDDD_EVENT(ColumnMove)
    EXTGRIDDD_EVENT(ColumnMoving)
    EXTGRIDDD_EVENT(ColumnMoved)
    EXTGRIDDD_EVENT(CustomCellDraw)
    EXTGRIDDD_EVENT(CustomCellBkgDraw)
    EXTGRIDDD_EVENT(CellBalloon)
    EXTGRIDDD_EVENT(GetAlignment)
    EXTGRIDDD_EVENT(GetCellColor)
    EXTGRIDDD_EVENT(GetCellGradient)
    EXTGRIDDD_EVENT(GetFormat)
    EXTGRIDDD_EVENT(GetFloatFormat)
    EXTGRIDDD_EVENT(GetEditorType)
    EXTGRIDDD_EVENT(GetEditorProp)
    EXTGRIDDD_EVENT(CanEditCell)
    EXTGRIDDD_EVENT(ScrollHint)
    EXTGRIDDD_EVENT(RightClickCell)
    EXTGRIDDD_EVENT(MouseMove)
    EXTGRIDDD_EVENT(MouseDown)
    EXTGRIDDD_EVENT(MouseUp)
    EXTGRIDDD_EVENT(TopLeftChanged)
    EXTGRIDDD_EVENT(SearchEditChange)
    EXTGRIDDD_EVENT(SpinClick)
    EXTGRIDDD_EVENT(AutoAddRow)
    EXTGRIDDD_EVENT(CanAddRow)
    EXTGRIDDD_EVENT(CanInsertRow)
    EXTGRIDDD_EVENT(CanDeleteRow)
    EXTGRIDDD_EVENT(CheckBoxClick)
    EXTGRIDDD_EVENT(CanSort)
    EXTGRIDDD_EVENT(ClickSort)
    EXTGRIDDD_EVENT(KeyDown)
    EXTGRIDDD_EVENT(KeyUp)
    EXTGRIDDD_EVENT(KeyPress)
#undef EXTGRIDDD_EVENT
    decltype(TExtStringGrid::OnGridHint) OnGridHint;
    decltype(TExtStringGrid::OnGetDisplText) OnGridGetDiplText;
    decltype(TExtStringGrid::OnAutoInsertRow) OnGridInsertRow;
    decltype(TExtStringGrid::OnAutoDeleteRow) OnGridDeleteRow;
    decltype(TExtStringGrid::OnAutoInsertCol) OnGridInsertCol;

protected:
    // The grid's wrapper chains its change, key-down and key-press handling to these.
    virtual void ChangeOverride();
    virtual void KeyDownOverride(Word& Key, TShiftState Shift);
    virtual void KeyPressOverride(QChar& Key);
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void WMKeyDown(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    void CMWantSpecialKey(TMessage& Message) override;
    void DoEnter() override;

private:
    friend class ExtGridDD::TExtColGrid;
    // Enter ending a cell edit of an editable popup: the cell's edit closes and the edit takes
    // the row's lookup text and item; true when that happened (Key is then used up).
    bool EndGridCellEdit(Word& Key, TShiftState Shift);
    void RebuildLookupList();
    // The first lookup-list entry equal to Text, or starting with it, ignoring case; -1 if none.
    int LookupListIndex(const QString& Text, bool Prefix) const;
    void RefreshGridSettings();
    void FillGridFromItems();
    void ConnectGridEvents();
    void ScaleColumns();
    void GridSelectCell(int ACol, int ARow);
    void GridSelect();
    void Step(Word Key, TShiftState Shift);
    int DataCount() const;
    bool AllRowsFit() const;
    QString LookupCell(int ARow) const;
    void SetTextQuiet(const QString& Value);
    bool InGridEditMode() const;

    bool FCaseSensitive = false;
    bool FColumnSizing = false;
    bool FColumnMoving = false;
    int FLookupColumn = 0;
    TLookupMethod FLookupMethod = lmLookup;
    TColor FHeaderColorTo = RGB(128, 128, 128);
    TColor FHeaderColor = clWhite;
    TColor FLineColor = RGB(128, 128, 128);
    bool FUseItems = true;
    std::unique_ptr<TDropDownItems> FItems;
    std::unique_ptr<TDropDownColumns> FColumns;
    int FItemIndex = -1;
    int FHeaderHeight = 25;
    TFont FHeaderFont;
    TExtColGrid* FExtColGrid = nullptr;
    TColor FFixedLineColor = RGB(128, 128, 128);
    int FSelRow = -1;
    bool FWorkMode = true;
    bool FRowSelect = true;
    TStringList FLookupItems;
    bool FItemChange = false;
    int FItemIdx = -1;
    int FItemSel = 0;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TMouseActions> FMouseActions;
    int FOldItemIndex = -1;
    bool FDropDownAutoWidth = true;
    bool FColumnSizeWithDropDown = true;
    TColor FSelectionTextColor = clBlack;
    int FDropDownRowHeight = 22;
    int FTempItemIndex = -1;
    TDropDownStyle FStyle = dsDropDown;
    QString FLookupEntry;
    bool FHoverRow = false;
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
    TGridSorting FSorting = gsNone;
    bool FGridEditable = false;
    TCustomImageList* FGridImages = nullptr;
    bool FRowMoving = false;
    bool FRowSizing = false;
    bool FAutoShowDropDown = false;
    bool FAutoSizeColumns = true;
    bool FBalloonInit = false;
    bool FShowing = false;
    // Set while the control writes its own text, so that writing it is not taken for typing.
    bool FSettingText = false;
};
