#pragma once
// The multi-column drop-down: an editable drop-down edit whose popup is a light list of several
// columns (a plain string grid with one header row and one row per item, painted straight from
// the drop-down's items). One column, the lookup column, gives the text the edit shows: typing
// in the edit completes against it, typing in the open list searches it, and the arrow, page and
// wheel keys step through the items.
//
// Its column, item and list classes share their names with those of the grid drop-down but are
// other types; they live in this namespace so the two sets never meet.
#include "grid/editors/ExtDropDown.h"
#include "grid/editors/ExtDropDownColumns.h"
#include "platform/grids/Grids.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ExtMultiColumnDropDown {

class TExtMultiColumnDropDown;
class TDropDownColumns;
class TDropDownItems;

using ExtDropDownColumns::ctImage;
using ExtDropDownColumns::ctText;
using ExtDropDownColumns::TColumnType;

// Paints a list cell instead of the default painting.
using TDrawCellEvent = std::function<void(TObject* Sender, int Column, int Row, TCanvas* ACanvas, TRect ARect)>;
using TGetCellPropEvent =
    std::function<void(TObject* Sender, int Column, int Row, TFont* AFont, TColor& AColor, TColor& AColorTo)>;
// May change the text a list cell shows.
using TGetCellTextEvent = std::function<void(TObject* Sender, int Column, int Row, QString& Text)>;

// ---- columns ----------------------------------------------------------------------------------
using TDropDownColumn = ExtDropDownColumns::TDropDownColumnT<TDropDownColumns>;

// An insert outside the collection puts the column at the nearer end.
class TDropDownColumns : public ExtDropDownColumns::TDropDownCollection<TDropDownColumn, TDropDownColumns,
                                                                        ExtDropDownColumns::TInsertRange::Clamp> {
public:
    using TDropDownCollection::TDropDownCollection;
};

// ---- items ------------------------------------------------------------------------------------
class TDropDownItem : public ExtDropDownColumns::TDropDownItemT<TDropDownItems> {
public:
    using TDropDownItemT::TDropDownItemT;
    // Copies the image index and the strings: a copied item list keeps what it shows.
    void Assign(TPersistent* Source) override;
    // One string per column, index = column number.
    QStringList& Text() { return FText; }
    const QStringList& Text() const { return FText; }
    void SetText(const QStringList& Value) { FText = Value; }
    // The string at Column; empty when the item has none there.
    QString TextAt(int Column) const { return Column >= 0 && Column < FText.size() ? FText[Column] : QString(); }
    bool HasText(int Column) const { return Column >= 0 && Column < FText.size(); }

private:
    QStringList FText;
};

// An insert outside the collection puts the item at the nearer end.
class TDropDownItems : public ExtDropDownColumns::TDropDownCollection<TDropDownItem, TDropDownItems,
                                                                      ExtDropDownColumns::TInsertRange::Clamp> {
public:
    using TDropDownCollection::TDropDownCollection;
    // The first item with a string at Column equal to Value (case counts), -1 when none; items
    // with fewer strings are skipped.
    int IndexInColumn(int Column, const QString& Value) const;
};

// ---- the popup list ---------------------------------------------------------------------------
// A plain string grid that the drop-down fills at every opening. It draws its own lines inside
// its cells (the grid's own line width is held at 0).
class TExtColGrid : public TStringGrid {
public:
    explicit TExtColGrid(TComponent* AOwner);
    void AfterConstruction() override;

    TExtMultiColumnDropDown* ExtDropDown() const { return FExtDropDown; }
    TDropDownColumns* Columns() const { return FColumns.get(); }
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value) { FHeaderColor = Value; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value) { FHeaderColorTo = Value; }
    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor Value) { FLineColor = Value; }
    TColor FixedLineColor() const { return FFixedLineColor; }
    void SetFixedLineColor(TColor Value) { FFixedLineColor = Value; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value) { FImages = Value; }
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value) { FHeaderHeight = Value; }
    TFont* HeaderFont() { return &FHeaderFont; }
    // The width of the lines the list draws itself (the grid's own is 0).
    int ListLineWidth() const { return FGridLineWidth; }
    void SetListLineWidth(int Value) { FGridLineWidth = std::max(0, Value); }
    // A key or mouse press in the list since the last wheel move.
    bool ConfirmSelection() const { return FConfirmSelection; }
    bool MouseWheelSelection() const { return FMouseWheelSelection; }
    int OldRow() const { return FOldRow; }
    // Whether every data row fits below the header in a list ListHeight high.
    bool AllRowsFit(int ListHeight) const;
    // The rows in view are TopRow .. TopRow + VisibleRowCount() - 1.
    bool RowInView(int ARow) const;

    // Takes the columns, items and looks of the drop-down (its content is rebuilt each time).
    void FillFromDropDown(TExtMultiColumnDropDown* ADropDown);
    // Runs the list's select (a release on a data row, Enter).
    void Select();

    // Not used by the drop-down.
    TDrawCellEvent OnDrawCellEvent;
    TGetCellPropEvent OnGetCellProp;
    TGetCellTextEvent OnGetCellText;
    TNotifyEvent OnSelect;

protected:
    int PlatformLineWidth() const override { return 0; }
    bool PlatformDefaultDrawing() const override { return false; }
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS; }

private:
    friend class TExtMultiColumnDropDown;
    bool Wheel(bool Down, TShiftState Shift, TPoint MousePos);
    TExtMultiColumnDropDown* FExtDropDown = nullptr;
    std::unique_ptr<TDropDownColumns> FColumns;
    TColor FHeaderColor = clWhite;
    TColor FHeaderColorTo = RGB(128, 128, 128);
    TColor FLineColor = RGB(128, 128, 128);
    TCustomImageList* FImages = nullptr;
    int FHeaderHeight = 25;
    TFont FHeaderFont;
    TColor FFixedLineColor = RGB(128, 128, 128);
    int FGridLineWidth = 1;
    int FOldRow = -1;
    bool FMouseWheelSelection = false;
    bool FConfirmSelection = false;
};

// ---- the drop-down ----------------------------------------------------------------------------
class TExtMultiColumnDropDown : public TExtCustomDropDown {
public:
    explicit TExtMultiColumnDropDown(TComponent* AOwner);
    ~TExtMultiColumnDropDown() override;
    void AfterConstruction() override;
    void Assign(TPersistent* Source) override;
    void Loaded() override;

    // -- value
    int ItemIndex() const { return FItemIndex; }
    // Past the end: ignored. Negative: no item, the text is cleared.
    void SetItemIndex(int Value);
    // The first item whose lookup-column string is Value exactly, -1 when none.
    int GetItemIndex(const QString& Val) const;
    int RowCount() const { return FItems->Count(); }
    void BeginUpdate() {}
    // Rebuilds the lookup list the edit completes against.
    void EndUpdate();
    // The lookup list as the last rebuild left it.
    const QStringList& LookupItems() const { return FLookupItems; }
    // Whether typing completes the text (off after Backspace, Delete or Escape until another key).
    bool WorkMode() const { return FWorkMode; }
    // The characters typed while the list has the focus.
    QString LookupEntry() const { return FLookupEntry; }
    void SetText(const QString& Value) override;

    // -- content and looks
    TDropDownItems* Items() const { return FItems.get(); }
    void SetItems(TDropDownItems* Value) { FItems->Assign(Value); }
    TDropDownColumns* Columns() const { return FColumns.get(); }
    void SetColumns(TDropDownColumns* Value) { FColumns->Assign(Value); }
    int LookupColumn() const { return FLookupColumn; }
    void SetLookupColumn(int Value) { FLookupColumn = Value; }
    bool ColumnSizing() const { return FColumnSizing; }
    void SetColumnSizing(bool Value) { FColumnSizing = Value; }
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value) { FHeaderColor = Value; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value) { FHeaderColorTo = Value; }
    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor Value) { FLineColor = Value; }
    TColor FixedLineColor() const { return FFixedLineColor; }
    void SetFixedLineColor(TColor Value) { FFixedLineColor = Value; }
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value) { FHeaderHeight = Value; }
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }
    bool DropDownAutoWidth() const { return FDropDownAutoWidth; }
    void SetDropDownAutoWidth(bool Value) { FDropDownAutoWidth = Value; }
    bool ColumnSizeWithDropDown() const { return FColumnSizeWithDropDown; }
    void SetColumnSizeWithDropDown(bool Value) { FColumnSizeWithDropDown = Value; }
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value) { FSelectionTextColor = Value; }
    int DropDownRowHeight() const { return FDropDownRowHeight; }
    void SetDropDownRowHeight(int Value) { FDropDownRowHeight = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
    TExtColGrid* ExtColGrid() const { return FExtColGrid; }

    // -- what the base lets a kind change
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void SizeDropDown() override;
    void AdaptDropDownHeight(int& AHeight) override;
    void DoDropDown() override;
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

    // Scales the list's columns to the popup's width.
    void ColumnSizeWithDropDownNow();

    // The completion on a change, the edit's keys and its typing; the edit's own change, key-down
    // and key-press handling run these, and the grid's editor chains to them.
    virtual void ChangeOverride();
    virtual void KeyDownOverride(Word& Key, TShiftState Shift);
    virtual void KeyPressOverride(QChar& Key);

    TNotifyEvent OnSelect;
    TDrawCellEvent OnDropDownDrawItem;
    TGetCellPropEvent OnDropDownGetItemProp; // published for forms; never raised
    TGetCellTextEvent OnDropDownGetItemText;

protected:
    void Change() override { ChangeOverride(); }
    void KeyDown(Word& Key, TShiftState Shift) override { KeyDownOverride(Key, Shift); }
    void KeyPress(QChar& Key) override { KeyPressOverride(Key); }
    void KeyUp(Word& Key, TShiftState Shift) override;
    void WMKeyDown(TMessage& Message) override;

private:
    friend class TExtColGrid;
    void ListSelectCell(int ACol, int ARow, bool& CanSelect);
    void ListSelect();
    void SetListRow(int ARow);
    void Step(Word Key);
    void SetTextQuiet(const QString& Value);
    int LookupIndexOf(const QString& Value) const; // case ignored

    bool FShowing = false;
    bool FColumnSizing = false;
    int FLookupColumn = 0;
    TColor FHeaderColorTo = RGB(128, 128, 128);
    TColor FHeaderColor = clWhite;
    TColor FLineColor = RGB(235, 237, 241);
    std::unique_ptr<TDropDownItems> FItems;
    std::unique_ptr<TDropDownColumns> FColumns;
    int FItemIndex = -1;
    int FHeaderHeight = 25;
    std::unique_ptr<TFont> FHeaderFont;
    TExtColGrid* FExtColGrid = nullptr;
    TColor FFixedLineColor = RGB(164, 187, 209);
    bool FWorkMode = true;
    QStringList FLookupItems;
    bool FItemChange = false;
    int FItemIdx = -1;
    int FItemSel = 0;
    int FOldItemIndex = -1;
    bool FDropDownAutoWidth = true;
    bool FColumnSizeWithDropDown = true;
    TColor FSelectionTextColor = clBlack;
    int FDropDownRowHeight = 22;
    QString FLookupEntry;
    bool FCaseSensitive = false;
    // Set while the control writes its own text, so that writing it is not taken for typing.
    bool FSettingText = false;
    // The key the key-down handling passed on (0 when it used the key up).
    Word FStepKey = 0;
};

} // namespace ExtMultiColumnDropDown

// The grid's list-picker editor derives from the drop-down; no other kind shares its name.
using ExtMultiColumnDropDown::TExtMultiColumnDropDown;
