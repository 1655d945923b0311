#pragma once
// TSortSettings: how a grid sorts and how its header shows the sort, with the one-line text form
// of the sort state ("u3", "d0", "i;u2;d0") that an application stores and restores.
#include "platform/gui/Graphics.h"
#include "platform/rtl/Objects.h"

#include <QString>

#include <memory>

class TExtStringGrid;

enum TSortDirection { sdAscending, sdDescending };
enum TIndexSortKey { ikShift, ikCtrl };
enum TSortBlankPosition { blFirst, blLast };

class TSortSettings : public TPersistent {
public:
    // AOwner may be null (a free-standing copy): then nothing is repainted or sorted.
    explicit TSortSettings(TExtStringGrid* AOwner = nullptr);
    ~TSortSettings() override;
    TExtStringGrid* Owner() const { return FOwner; }

    // From another TSortSettings only; IgnoreCase and SortOnVirtualCells stay the target's own.
    void Assign(TPersistent* Source) override;

    // "i;" + the sort indexes while IndexShow is set, else "u" or "d" + Column.
    QString SaveToString() const;
    // Reads a text SaveToString wrote. The whole text is checked before anything changes: a
    // malformed one raises Exception("Invalid sort settings specifier") and leaves every value
    // as it was. A column outside the grid's columns is ignored (the column is not taken, an
    // index entry is skipped). An empty text changes nothing.
    void LoadFromString(const QString& Value);
    // Drops the sort state (column and sort indexes); the rows keep their order.
    void Remove();
    void ToggleDirection();

    int Column() const { return FColumn; }
    void SetColumn(int Value) { FColumn = Value; }
    TSortDirection Direction() const { return FDirection; }
    void SetDirection(TSortDirection Value) { FDirection = Value; }
    TSortDirection InitSortDirection() const { return FInitSortDirection; }
    void SetInitSortDirection(TSortDirection Value) { FInitSortDirection = Value; }
    bool Show() const { return FShow; }
    void SetShow(bool Value);
    int Row() const { return FRow; }
    // Raises Exception when Value is not below the grid's FixedRows.
    void SetRow(int Value);
    bool IndexShow() const { return FIndexShow; }
    void SetIndexShow(bool Value) { FIndexShow = Value; }
    TColor IndexColor() const { return FIndexColor; }
    void SetIndexColor(TColor Value) { FIndexColor = Value; }
    TIndexSortKey IndexSortKey() const { return FIndexSortKey; }
    void SetIndexSortKey(TIndexSortKey Value) { FIndexSortKey = Value; }
    bool Full() const { return FFull; }
    void SetFull(bool Value) { FFull = Value; }
    bool SingleColumn() const { return FSingleColumn; }
    void SetSingleColumn(bool Value) { FSingleColumn = Value; }
    bool IgnoreBlanks() const { return FIgnoreBlanks; }
    void SetIgnoreBlanks(bool Value) { FIgnoreBlanks = Value; }
    TSortBlankPosition BlankPos() const { return FBlankPos; }
    void SetBlankPos(TSortBlankPosition Value) { FBlankPos = Value; }
    bool AutoFormat() const { return FAutoFormat; }
    void SetAutoFormat(bool Value) { FAutoFormat = Value; }
    bool IgnoreCase() const { return FIgnoreCase; }
    void SetIgnoreCase(bool Value) { FIgnoreCase = Value; }
    bool FixedCols() const { return FFixedCols; }
    void SetFixedCols(bool Value) { FFixedCols = Value; }
    bool NormalCellsOnly() const { return FNormalCellsOnly; }
    void SetNormalCellsOnly(bool Value) { FNormalCellsOnly = Value; }
    bool AutoColumnMerge() const { return FAutoColumnMerge; }
    void SetAutoColumnMerge(bool Value) { FAutoColumnMerge = Value; }
    bool UndoSort() const { return FUndoSort; }
    void SetUndoSort(bool Value) { FUndoSort = Value; }
    bool AutoSortForGrouping() const { return FAutoSortForGrouping; }
    void SetAutoSortForGrouping(bool Value) { FAutoSortForGrouping = Value; }
    bool SortOnVirtualCells() const { return FSortOnVirtualCells; }
    void SetSortOnVirtualCells(bool Value) { FSortOnVirtualCells = Value; }
    // Owned glyphs; writing copies the given bitmap.
    TBitmap* UpGlyph() const { return FUpGlyph.get(); }
    void SetUpGlyph(TBitmap* Value) { CopyGlyph(FUpGlyph.get(), Value); }
    TBitmap* DownGlyph() const { return FDownGlyph.get(); }
    void SetDownGlyph(TBitmap* Value) { CopyGlyph(FDownGlyph.get(), Value); }
    TBitmap* IndexUpGlyph() const { return FIndexUpGlyph.get(); }
    void SetIndexUpGlyph(TBitmap* Value) { CopyGlyph(FIndexUpGlyph.get(), Value); }
    TBitmap* IndexDownGlyph() const { return FIndexDownGlyph.get(); }
    void SetIndexDownGlyph(TBitmap* Value) { CopyGlyph(FIndexDownGlyph.get(), Value); }
    // The sorted column's header gradient; a new value repaints the last fixed row.
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value) { SetHeader(FHeaderColor, Value); }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value) { SetHeader(FHeaderColorTo, Value); }
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor Value) { SetHeader(FHeaderMirrorColor, Value); }
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor Value) { SetHeader(FHeaderMirrorColorTo, Value); }

private:
    static void CopyGlyph(TBitmap* Target, TBitmap* Value) {
        if (Value != Target) Target->Assign(Value);
    }
    void SetHeader(TColor& Field, TColor Value);
    void RepaintHeaderRow();
    TExtStringGrid* FOwner;
    int FColumn = -1;
    TSortDirection FDirection = sdAscending;
    TSortDirection FInitSortDirection = sdAscending;
    bool FShow = false;
    int FRow = 0;
    bool FIndexShow = false;
    TColor FIndexColor = 0x00FFFF;
    TIndexSortKey FIndexSortKey = ikShift;
    bool FFull = true;
    bool FSingleColumn = false;
    bool FIgnoreBlanks = false;
    TSortBlankPosition FBlankPos = blFirst;
    bool FAutoFormat = true;
    bool FIgnoreCase = false;
    bool FFixedCols = false;
    bool FNormalCellsOnly = false;
    bool FAutoColumnMerge = false;
    bool FUndoSort = false;
    bool FAutoSortForGrouping = true;
    bool FSortOnVirtualCells = true;
    std::unique_ptr<TBitmap> FUpGlyph;
    std::unique_ptr<TBitmap> FDownGlyph;
    std::unique_ptr<TBitmap> FIndexUpGlyph;
    std::unique_ptr<TBitmap> FIndexDownGlyph;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone;
    TColor FHeaderMirrorColorTo = clNone;
};
