#pragma once
// The grid's row filter as data: TFilter, the list of conditions, and TFilterData, one
// condition; TFilterDropDown, the look of the filter list that opens under a column header.
#include "platform/gui/Graphics.h"
#include "platform/rtl/Objects.h"

#include <QString>

#include <memory>
#include <vector>

class TExtStringGrid;

enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum TFilterMethod { fmExpression, fmLiteral };

// One condition: the real column it tests, the condition text and how it joins the result of
// the conditions before it.
class TFilterData : public TPersistent {
public:
    // Copies every property, the method included.
    void Assign(TPersistent* Source) override;
    int Column() const { return FColumn; }
    void SetColumn(int Value) { FColumn = Value; }
    QString Condition() const { return FCondition; }
    void SetCondition(const QString& Value) { FCondition = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
    QString Suffix() const { return FSuffix; }
    void SetSuffix(const QString& Value) { FSuffix = Value; }
    QString Prefix() const { return FPrefix; }
    void SetPrefix(const QString& Value) { FPrefix = Value; }
    TFilterOperation Operation() const { return FOperation; }
    void SetOperation(TFilterOperation Value) { FOperation = Value; }
    TFilterCells Data() const { return FData; }
    void SetData(TFilterCells Value) { FData = Value; }
    TFilterMethod Method() const { return FMethod; }
    void SetMethod(TFilterMethod Value) { FMethod = Value; }

private:
    int FColumn = 0;
    QString FCondition;
    bool FCaseSensitive = true;
    QString FSuffix;
    QString FPrefix;
    TFilterOperation FOperation = foSHORT;
    TFilterCells FData = fcVirtual;
    TFilterMethod FMethod = fmExpression;
};

class TFilter : public TPersistent {
public:
    // AOwner: the grid whose header is repainted when a column's conditions go (may be null).
    explicit TFilter(TExtStringGrid* AOwner = nullptr) : FOwner(AOwner) {}
    TExtStringGrid* Owner() const { return FOwner; }
    // A copy of every condition of another TFilter; anything else is ignored.
    void Assign(TPersistent* Source) override;

    int Count() const { return int(FItems.size()); }
    // Appends a condition: foNONE when it is the only one, foAND otherwise.
    TFilterData* Add();
    // Inserts a condition at Index (0..Count), with the operation Add gives; EListError beyond.
    TFilterData* Insert(int Index);
    // EListError outside 0..Count-1.
    TFilterData* Items(int Index) const;
    void SetItems(int Index, TFilterData* Value);
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    // The first condition on the column; null when there is none (reading creates nothing).
    TFilterData* ColumnFilter(int Col) const;
    // The first condition on the column, added (on that column) when there is none.
    TFilterData* GetColFilter(int Col);
    bool HasFilter(int Col) const { return ColumnFilter(Col) != nullptr; }
    // Deletes every condition on the column and repaints its header cell.
    void RemoveColumnFilter(int Col);

private:
    void CheckIndex(int Index, int Limit) const;
    TExtStringGrid* FOwner;
    std::vector<std::unique_ptr<TFilterData>> FItems;
};

// The look of the filter drop-down list. A new glyph fires OnChange.
class TFilterDropDown : public TPersistent {
public:
    TFilterDropDown();
    ~TFilterDropDown() override;
    // Copies Color, ColumnWidth, Font, Height, Width and both glyphs (not AutoSize).
    void Assign(TPersistent* Source) override;
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    bool ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(bool Value) { FColumnWidth = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    // Owned; writing copies the given object.
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    TBitmap* GlyphActive() const { return FGlyphActive.get(); }
    void SetGlyphActive(TBitmap* Value);
    TNotifyEvent OnChange;

private:
    bool FAutoSize = false;
    TColor FColor = clWindow;
    bool FColumnWidth = false;
    int FHeight = 150;
    int FWidth = 150;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TBitmap> FGlyph;
    std::unique_ptr<TBitmap> FGlyphActive;
};
