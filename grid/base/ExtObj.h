#pragma once
// The grid's small support classes: integer and sort-key lists, the list of controls placed in
// cells, the text-line list of the text import and export, and the settings objects the grid
// groups its options in (search footer, navigation, mouse actions, row bands).

#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Objects.h"
#include "platform/rtl/SysUtils.h"

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TComponent;
class TControl;

// ---- integer lists ---------------------------------------------------------------------------
// The ordered 32-bit slots under the integer lists; an index outside the list raises EListError
// "List index out of bounds (%d)".
class TIntListCore : public TObject {
public:
    int Count() const { return int(FItems.size()); }
    void Clear() { FItems.clear(); } // no change event
    int IndexOf(int Value) const;
    int GetInteger(int Index) const;
    bool HasValue(int Value) const { return IndexOf(Value) >= 0; }

protected:
    int AddItem(int Value);
    void InsertItem(int Index, int Value);
    void DeleteItem(int Index);
    void PutItem(int Index, int Value);
    void CheckIndex(int Index, int Limit) const;

private:
    std::vector<int32_t> FItems;
};

using TImageChangeEvent = std::function<void(TObject* Sender, int Acol, int Arow)>;

// An integer list that belongs to cell (Col, Row) and reports changes with that cell.
class TIntList : public TIntListCore {
public:
    TIntList(int Col, int Row) : FCol(Col), FRow(Row) {}

    int Add(int Value); // OnChange
    void Insert(int Index, int Value); // no OnChange
    void Delete(int Index); // OnChange
    void SetInteger(int Index, int Value); // OnChange
    void DeleteValue(int Value); // OnChange when found
    QString StrValue() const; // "1,-2,30"
    // Comma-text items (commas or blanks separate, double quotes group); EConvertError on an
    // item that is no integer, with the items before it already in the list.
    void SetStrValue(const QString& Value);

    int Col() const { return FCol; }
    int Row() const { return FRow; }
    TImageChangeEvent OnChange;

protected:
    void Changed();

private:
    int FCol;
    int FRow;
};

// Sort keys: bits 0..30 the column, bit 31 set for a descending key; list order is priority.
class TSortIndexList : public TIntList {
public:
    TSortIndexList() : TIntList(0, 0) {}

    void AddIndex(int ColumnIndex, bool Ascending);
    int FindIndex(int ColumnIndex) const;
    void ToggleIndex(int ColumnIndex);
    int SortColumns(int Index) const;
    void SetSortColumns(int Index, int Value);
    bool SortDirections(int Index) const; // true: ascending
    void SetSortDirections(int Index, bool Ascending);
    QString SaveToString() const; // "u2;d0"
    void LoadFromString(const QString& S);
};

// Window handles, without cell and event.
class THandleList : public TIntListCore {
public:
    int Add(int Value) { return AddItem(Value); }
    void Insert(int Index, int Value) { InsertItem(Index, Value); }
    void Delete(int Index) { DeleteItem(Index); }
    void SetInteger(int Index, int Value) { PutItem(Index, Value); }
    void DeleteValue(int Value);
};

// ---- controls placed in cells ----------------------------------------------------------------
class TControlItem : public TObject {
public:
    TControlItem(int X, int Y, TControl* AObject) : FX(X), FY(Y), FObject(AObject) {}
    int X() const { return FX; }
    int Y() const { return FY; }
    TControl* Control() const { return FObject; }

    int FX; // column
    int FY; // row
    TControl* FObject; // not owned
};

// Owns its items, never the controls.
class TControlList : public TObject {
public:
    ~TControlList() override;
    int Count() const { return int(FItems.size()); }
    void AddControl(int X, int Y, TControl* AObject);
    int ControlIndex(int X, int Y) const;
    TControlItem* GetControl(int Index) const;
    TControlItem* Controls(int Index) const { return GetControl(Index); }
    void RemoveControl(int Index);
    // Whether a placed windowed control has this window handle (asking creates the window).
    bool HasHandle(quintptr Handle) const;

private:
    void CheckIndex(int Index) const;
    std::vector<std::unique_ptr<TControlItem>> FItems;
};

// ---- text lines with a read cursor and a pending output line ----------------------------------
class TFileStringList : public TStringList {
public:
    void Reset();
    bool Eof() const;
    void ReadLn(QString& S); // EListError past the last line
    void Write(const QString& S);
    void WriteLn(const QString& S);

    int fp = 0; // index of the next line to read
    QString cache; // written, not yet ended as a line
};

// ---- settings objects ------------------------------------------------------------------------
enum TSearchDirection { sdTopBottom, sdLeftRight };
enum TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum TCursorAdvance { caDefault, caSnake, caLoop };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum TClipboardPasteAction { paReplace, paInsert };
enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction { waMoveSelection, waScroll };

using TIsDesigningEvent = std::function<void(TObject* Sender, bool& IsDesigning)>;

// A property that only stores its value.
#define EXTOBJ_PLAIN(Type, Name, Default)                                                                              \
public:                                                                                                                \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type Value) { F##Name = Value; }                                                                    \
                                                                                                                       \
private:                                                                                                               \
    Type F##Name = Default;

// The search bar under the grid.
class TSearchFooter : public TPersistent {
public:
    // InitDesign: placed in a form designer, so the captions and hints get their English texts.
    TSearchFooter(TComponent* AOwner, bool InitDesign);
    ~TSearchFooter() override;
    void Assign(TPersistent* Source) override; // only from a TSearchFooter

    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool Value);
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool Value);
    QString FindNextCaption() const { return FFindNextCaption; }
    void SetFindNextCaption(const QString& Value);
    QString FindPrevCaption() const { return FFindPrevCaption; }
    void SetFindPrevCaption(const QString& Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool Value);
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool Value);
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool Value);
    QString MatchCaseCaption() const { return FMatchCaseCaption; }
    void SetMatchCaseCaption(const QString& Value);
    QString HintClose() const { return FHintClose; }
    void SetHintClose(const QString& Value);
    QString HintFindPrev() const { return FHintFindPrev; }
    void SetHintFindPrev(const QString& Value);
    QString HintHighlight() const { return FHintHighlight; }
    void SetHintHighlight(const QString& Value);
    QString HintFindNext() const { return FHintFindNext; }
    void SetHintFindNext(const QString& Value);
    QString HighLightCaption() const { return FHighLightCaption; }
    void SetHighLightCaption(const QString& Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value); // copies the font

    TComponent* Owner() const { return FOwner; }
    TNotifyEvent OnChange;

    EXTOBJ_PLAIN(bool, AutoSearch, true)
    EXTOBJ_PLAIN(QString, LastSearch, QString()) // kept by the grid, not copied
    EXTOBJ_PLAIN(int, SearchColumn, -1)
    EXTOBJ_PLAIN(bool, SearchActiveColumnOnly, false)
    EXTOBJ_PLAIN(bool, SearchMatchStart, false)
    EXTOBJ_PLAIN(bool, SearchFixedCells, false)
    EXTOBJ_PLAIN(bool, SearchHiddenRows, false)
    EXTOBJ_PLAIN(bool, AlwaysHighLight, false)
    EXTOBJ_PLAIN(TSearchDirection, SearchDirection, sdTopBottom)

private:
    void Changed();
    TComponent* FOwner;
    bool FShowFindPrev = true;
    bool FShowFindNext = true;
    QString FFindNextCaption;
    QString FFindPrevCaption;
    TColor FColorTo = clBtnFace;
    TColor FColor = clWhite;
    bool FVisible = false;
    bool FAutoThemeAdapt = false;
    bool FShowClose = true;
    bool FShowHighLight = true;
    bool FShowMatchCase = true;
    QString FMatchCaseCaption;
    QString FHintClose;
    QString FHintFindPrev;
    QString FHintHighlight;
    QString FHintFindNext;
    QString FHighLightCaption;
    std::unique_ptr<TFont> FFont;
};

// Keyboard navigation, editing advance and clipboard options.
class TNavigation : public TPersistent {
public:
    TNavigation() = default;
    void Assign(TPersistent* Source) override; // only from a TNavigation; KeepScrollOnSort stays

    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool Value);
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection Value);
    bool AdvanceAuto() const { return FAdvanceAuto; }
    void SetAdvanceAuto(bool Value); // turning it on turns AdvanceOnEnter on

    TNotifyEvent OnChange;

    EXTOBJ_PLAIN(bool, AllowInsertRow, false)
    EXTOBJ_PLAIN(bool, AllowDeleteRow, false)
    EXTOBJ_PLAIN(bool, AdvanceOnEnter, false)
    EXTOBJ_PLAIN(bool, AutoGotoWhenSorted, false)
    EXTOBJ_PLAIN(bool, AutoGotoIncremental, false)
    EXTOBJ_PLAIN(bool, AutoComboDropSize, false)
    EXTOBJ_PLAIN(bool, AllowClipboardShortCuts, false)
    EXTOBJ_PLAIN(bool, AllowRTFClipboard, false)
    EXTOBJ_PLAIN(bool, AllowSmartClipboard, false)
    EXTOBJ_PLAIN(bool, AllowClipboardAlways, false)
    EXTOBJ_PLAIN(bool, ImproveMaskSel, false)
    EXTOBJ_PLAIN(TInsertPosition, InsertPosition, pInsertBefore)
    EXTOBJ_PLAIN(THomeEndAction, HomeEndKey, heFirstLastColumn)
    EXTOBJ_PLAIN(bool, AllowFmtClipboard, false)
    EXTOBJ_PLAIN(bool, EditSelectAll, true)
    EXTOBJ_PLAIN(bool, SkipFixedCells, true)
    EXTOBJ_PLAIN(bool, AllowCtrlEnter, true)
    EXTOBJ_PLAIN(bool, LeftRightRowSelect, true)
    EXTOBJ_PLAIN(bool, ComboGetUpDown, true)
    EXTOBJ_PLAIN(TCursorAdvance, CursorAdvance, caDefault)
    EXTOBJ_PLAIN(bool, CursorMoveRows, false)
    EXTOBJ_PLAIN(bool, AllowClipboardColGrow, true)
    EXTOBJ_PLAIN(bool, AllowClipboardRowGrow, true)
    EXTOBJ_PLAIN(TClipboardPasteAction, ClipboardPasteAction, paReplace)
    EXTOBJ_PLAIN(bool, CopyHTMLTagsToClipboard, true)
    EXTOBJ_PLAIN(bool, AdvanceAutoEdit, true)
    EXTOBJ_PLAIN(bool, CursorWalkEditor, false)
    EXTOBJ_PLAIN(bool, CursorWalkAlwaysEdit, true)
    EXTOBJ_PLAIN(bool, MoveRowOnSort, false)
    EXTOBJ_PLAIN(bool, KeepScrollOnSort, false)
    EXTOBJ_PLAIN(bool, AlwaysEdit, false)
    EXTOBJ_PLAIN(bool, LineFeedOnEnter, false)
    EXTOBJ_PLAIN(bool, KeepHorizScroll, false)
    EXTOBJ_PLAIN(bool, TabToNextAtEnd, false)
    EXTOBJ_PLAIN(TAdvanceDirection, TabAdvanceDirection, adLeftRight)
    EXTOBJ_PLAIN(bool, SkipDisabledRows, true)
    EXTOBJ_PLAIN(bool, AppendOnArrowDown, false)
    EXTOBJ_PLAIN(bool, MoveScrollOnly, false)
    EXTOBJ_PLAIN(bool, AdvanceOnEnterLoop, true)
    EXTOBJ_PLAIN(bool, AdvanceSkipReadOnlyCells, true)

private:
    bool FAdvanceInsert = false;
    TAdvanceDirection FAdvanceDirection = adLeftRight;
    bool FAdvanceAuto = false;
};

// Mouse selection, editing and sizing options.
class TMouseActions : public TPersistent {
public:
    explicit TMouseActions(TComponent* AOwner);
    ~TMouseActions() override;
    // Only from a TMouseActions; SizeFixedRow, HotmailRowSelect, EditOnDblClickOnly and
    // FixedComboValues stay.
    void Assign(TPersistent* Source) override;

    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool Value);
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool Value);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool Value);
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool Value);
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool Value);
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction Value);
    TStrings* FixedComboValues() const { return FFixedComboValues.get(); }
    void SetFixedComboValues(TStrings* Value); // copies the lines

    TComponent* Owner() const { return FOwner; }
    TNotifyEvent OnChange;
    TNotifyEvent OnInvalidate;
    TNotifyEvent OnDisableEdit;
    TIsDesigningEvent OnIsDesigning;

    EXTOBJ_PLAIN(bool, ColSelect, false)
    EXTOBJ_PLAIN(bool, RowSelect, false)
    EXTOBJ_PLAIN(bool, AllSelect, false)
    EXTOBJ_PLAIN(bool, DirectEdit, false)
    EXTOBJ_PLAIN(bool, DirectComboDrop, false)
    EXTOBJ_PLAIN(bool, DirectComboClose, false)
    EXTOBJ_PLAIN(bool, DirectDateClose, false)
    EXTOBJ_PLAIN(bool, DirectDateDrop, false)
    EXTOBJ_PLAIN(bool, AllColumnSize, false)
    EXTOBJ_PLAIN(bool, AllRowSize, false)
    EXTOBJ_PLAIN(bool, CaretPositioning, false)
    EXTOBJ_PLAIN(bool, SizeFixedCol, false)
    EXTOBJ_PLAIN(bool, SizeFixedRow, false)
    EXTOBJ_PLAIN(TGridFixedCellEdit, FixedRowsEdit, fceNone)
    EXTOBJ_PLAIN(TGridFixedCellEdit, FixedColsEdit, fceNone)
    EXTOBJ_PLAIN(TGridFixedCellEditor, FixedRowsEditor, fceEdit)
    EXTOBJ_PLAIN(TGridFixedCellEditor, FixedColsEditor, fceEdit)
    EXTOBJ_PLAIN(bool, RangeSelectAndEdit, false)
    EXTOBJ_PLAIN(bool, NoAutoRangeScroll, false)
    EXTOBJ_PLAIN(bool, PreciseCheckBoxCheck, false)
    EXTOBJ_PLAIN(bool, PreciseNodeClick, true)
    EXTOBJ_PLAIN(bool, CheckAllCheck, false)
    EXTOBJ_PLAIN(bool, NodeAllExpandContract, false)
    EXTOBJ_PLAIN(bool, MoveRowOnNodeClick, false)
    EXTOBJ_PLAIN(bool, RowSelectPersistent, false)
    EXTOBJ_PLAIN(bool, SelectOnRightClick, false)
    EXTOBJ_PLAIN(bool, NoScrollOnPartialRow, false)
    EXTOBJ_PLAIN(int, WheelIncrement, 0)
    EXTOBJ_PLAIN(bool, AutoSizeColOnDblClick, true)
    EXTOBJ_PLAIN(bool, DisjunctRowSelectNoCtrl, false)

private:
    bool IsDesigning();
    TComponent* FOwner;
    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
    bool FHotmailRowSelect = false;
    bool FEditOnDblClickOnly = false;
    TWheelAction FWheelAction = waMoveSelection;
    std::unique_ptr<TStringList> FFixedComboValues;
};

// Alternating row colours: PrimaryLength rows of PrimaryColor, then SecondaryLength rows of
// SecondaryColor.
class TBands : public TPersistent {
public:
    TBands() = default;
    void Assign(TPersistent* Source) override; // only from a TBands

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor Value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int Value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor Value);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int Value);
    int TotalLength() const { return FTotalLength; }

    TNotifyEvent OnChange;

    EXTOBJ_PLAIN(bool, Print, false)

private:
    void Changed();
    bool FActive = false;
    TColor FPrimaryColor = clInfoBk;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    int FSecondaryLength = 1;
    int FTotalLength = 2;
};

#undef EXTOBJ_PLAIN
