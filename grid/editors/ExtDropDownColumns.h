#pragma once
// What the two column-list drop-downs (the multi-column drop-down and the grid drop-down) have in
// common: the column definition, the plain collection their columns and items live in, the
// colours a component style gives their lists, and the arithmetic that sizes their popups.
//
// The pieces are templates over the collection that owns them, so that each drop-down keeps a set
// of types of its own: a column of one can never be assigned to or inserted into the other.
#include "grid/base/ExtStyleIF.h"
#include "grid/editors/ExtItemSelector.h"
#include "grid/editors/ExtOwnedItems.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace ExtDropDownColumns {

enum TColumnType : uint8_t { ctText, ctImage };

// One column definition of a drop-down list. TCollection is the column collection of the set the
// column belongs to.
template <class TCollection>
class TDropDownColumnT : public TPersistent {
public:
    explicit TDropDownColumnT(TCollection* Collection) : FCollection(Collection) {}
    // Copies every field.
    void Assign(TPersistent* Source) override {
        auto* S = dynamic_cast<TDropDownColumnT*>(Source);
        if (!S || S == this) return;
        FWordwrap = S->FWordwrap;
        FWidth = S->FWidth;
        FAutoSize = S->FAutoSize;
        FHeader = S->FHeader;
        FAlignment = S->FAlignment;
        FColor = S->FColor;
        FColumnType = S->FColumnType;
        FFont.Assign(&S->FFont);
        FEllipsis = S->FEllipsis;
    }
    int Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

    bool Wordwrap() const { return FWordwrap; }
    void SetWordwrap(bool Value) { FWordwrap = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }
    QString Header() const { return FHeader; }
    void SetHeader(const QString& Value) { FHeader = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TColumnType ColumnType() const { return FColumnType; }
    void SetColumnType(TColumnType Value) { FColumnType = Value; }
    TFont* Font() { return &FFont; }
    void SetFont(TFont* Value) { FFont.Assign(Value); }
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool Value) { FEllipsis = Value; }

private:
    TCollection* FCollection;
    bool FWordwrap = false;
    int FWidth = 80;
    bool FAutoSize = false;
    QString FHeader;
    TAlignment FAlignment = taLeftJustify;
    TColor FColor = clWhite;
    TColumnType FColumnType = ctText;
    TFont FFont;
    bool FEllipsis = false;
};

// What every item of a drop-down list has: its place in the collection and its image. The texts
// and what a copy takes are each set's own.
template <class TCollection>
class TDropDownItemT : public TPersistent {
public:
    explicit TDropDownItemT(TCollection* Collection) : FCollection(Collection) {}
    int Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }

protected:
    TCollection* FCollection;
    int FImageIndex = -1;
};

// What an insert does with an index outside 0..Count.
enum class TInsertRange : uint8_t {
    Clamp, // the item goes to the nearer end
    Raise // a list index error
};

// A plain collection: adding, inserting and changing items raise no event (OnChange is there for
// forms, nothing fires it). An index outside the items is a list index error.
template <class TItem, class TSelf, TInsertRange Range>
class TDropDownCollection : public TOwnedItems<TItem, TSelf> {
    using TBase = TOwnedItems<TItem, TSelf>;

public:
    using TBase::TBase;
    TItem* Add() { return TBase::Insert(this->Count()); }
    TItem* Insert(int Index) {
        if (Range == TInsertRange::Raise && (Index < 0 || Index > this->Count()))
            throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
        return TBase::Insert(Index);
    }
    void SetItems(int Index, TItem* Value) { this->Items(Index)->Assign(Value); }
};

// ---- the colours a component style gives the list ---------------------------------------------
struct TListStyle {
    TColor Header, HeaderTo;
    TColor HeaderFont; // clNone: the header font keeps its colour
    TSelectionColorStyle Selection;
    TColor Lines;
    TColor FixedLines; // the header row's lines
    TColor SelectionColors; // clNone: the selection style's own colours
    TColor SelectionText;
};

// The list colours of a style; nullptr for tsCustom, which changes nothing.
const TListStyle* ListStyleFor(TExtStyle AStyle);

// The line colours a selection colour style brings along; other styles leave them alone.
void SelectionStyleLines(TSelectionColorStyle Value, TColor& LineColor, TColor& FixedLineColor);

// Gives a drop-down the list colours of AStyle, for the styles up to Last only.
template <class TDropDown>
void ApplyListStyle(TDropDown& D, TExtStyle AStyle, TExtStyle Last) {
    if (AStyle > Last) return;
    const TListStyle* S = ListStyleFor(AStyle);
    if (!S) return;
    D.SetHeaderColor(S->Header);
    D.SetHeaderColorTo(S->HeaderTo);
    if (S->HeaderFont != clNone) D.HeaderFont()->SetColor(S->HeaderFont);
    D.SetSelectionColorStyle(S->Selection);
    D.SetLineColor(S->Lines);
    D.SetFixedLineColor(S->FixedLines);
    if (S->SelectionColors != clNone) {
        D.SetSelectionColor(S->SelectionColors);
        D.SetSelectionColorTo(S->SelectionColors);
    }
    D.SetSelectionTextColor(S->SelectionText);
}

// ---- popup sizing -------------------------------------------------------------------------------
// The width of the platform's vertical scroll bar.
int ScrollBarExtent();

// The popup height that shows only whole rows below the header row: AHeight less the header and
// footer bars (Bars) leaves room for whole data rows of RowHeight; Extra pixels are added for the
// frame. A row height of 0 or less leaves the height as it is; no room gives no data row.
int WholeRowsHeight(int AHeight, int Bars, int HeaderHeight, int RowHeight, int Extra);

// The widths of Widths scaled to Available pixels: each gets its share of Available against
// 1 + their sum, rounded half to even, and the rounding left over is handed out a pixel at a time
// from left to right whenever it passes one pixel.
std::vector<int> ScaleColumnWidths(const std::vector<int>& Widths, int Available);

} // namespace ExtDropDownColumns
