#include "grid/control/SortSettings.h"

#include "grid/control/ExtGrid.h"

#include <utility>
#include <vector>

namespace {

const char* const InvalidSpecifier = "Invalid sort settings specifier";

// A column number as the state text writes it: decimal digits, a minus sign before them for the
// "no column" SaveToString writes as -1.
bool ReadColumn(QStringView S, int& Value) {
    const bool Negative = S.startsWith(QChar('-'));
    if (Negative) S = S.mid(1);
    if (S.isEmpty() || S.size() > 9) return false;
    int V = 0;
    for (QChar C : S) {
        if (C < QChar('0') || C > QChar('9')) return false;
        V = V * 10 + (C.unicode() - '0');
    }
    Value = Negative ? -V : V;
    return true;
}

// The state text taken apart, before anything is applied.
struct TParsedSortState {
    bool Indexed = false;
    TSortDirection Direction = sdAscending;
    int Column = -1;
    bool HasIndexText = false;
    std::vector<std::pair<int, bool>> Keys; // column, ascending
};

TParsedSortState ParseSortState(const QString& Value) {
    if (Value.size() < 2) throw Exception(QString::fromLatin1(InvalidSpecifier));
    TParsedSortState P;
    if (Value.startsWith(QLatin1String("i;"))) {
        P.Indexed = true;
        const QString Rest = Value.mid(2);
        P.HasIndexText = !Rest.isEmpty();
        for (const QString& Item : Rest.split(QChar(';'))) {
            if (Item.size() < 2) continue;
            int Col = 0;
            if (!ReadColumn(QStringView(Item).mid(1), Col)) throw Exception(QString::fromLatin1(InvalidSpecifier));
            P.Keys.emplace_back(Col, Item.at(0) == QChar('u'));
        }
        return P;
    }
    // "i;" anywhere but at the start is no state SaveToString writes.
    if (Value.contains(QLatin1String("i;"))) throw Exception(QString::fromLatin1(InvalidSpecifier));
    if (!ReadColumn(QStringView(Value).mid(1), P.Column)) throw Exception(QString::fromLatin1(InvalidSpecifier));
    P.Direction = Value.at(0) == QChar('u') ? sdAscending : sdDescending;
    return P;
}

} // namespace

TSortSettings::TSortSettings(TExtStringGrid* AOwner)
    : FOwner(AOwner), FUpGlyph(std::make_unique<TBitmap>()), FDownGlyph(std::make_unique<TBitmap>()),
      FIndexUpGlyph(std::make_unique<TBitmap>()), FIndexDownGlyph(std::make_unique<TBitmap>()) {}

TSortSettings::~TSortSettings() = default;

void TSortSettings::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TSortSettings*>(Source);
    if (!S || S == this) return;
    FAutoSortForGrouping = S->FAutoSortForGrouping;
    FAutoColumnMerge = S->FAutoColumnMerge;
    FColumn = S->FColumn;
    FShow = S->FShow;
    FIndexShow = S->FIndexShow;
    FIndexColor = S->FIndexColor;
    FFull = S->FFull;
    FSingleColumn = S->FSingleColumn;
    FIgnoreBlanks = S->FIgnoreBlanks;
    FBlankPos = S->FBlankPos;
    FAutoFormat = S->FAutoFormat;
    FDirection = S->FDirection;
    FUpGlyph->Assign(S->FUpGlyph.get());
    FDownGlyph->Assign(S->FDownGlyph.get());
    FIndexUpGlyph->Assign(S->FIndexUpGlyph.get());
    FIndexDownGlyph->Assign(S->FIndexDownGlyph.get());
    FIndexSortKey = S->FIndexSortKey;
    FInitSortDirection = S->FInitSortDirection;
    FFixedCols = S->FFixedCols;
    FNormalCellsOnly = S->FNormalCellsOnly;
    FRow = S->FRow;
    FUndoSort = S->FUndoSort;
    FHeaderColor = S->FHeaderColor;
    FHeaderColorTo = S->FHeaderColorTo;
    FHeaderMirrorColor = S->FHeaderMirrorColor;
    FHeaderMirrorColorTo = S->FHeaderMirrorColorTo;
}

void TSortSettings::SetShow(bool Value) {
    if (FShow == Value) return;
    FShow = Value;
    if (FOwner) FOwner->Invalidate();
}

void TSortSettings::SetRow(int Value) {
    if (FOwner && Value >= FOwner->FixedRows())
        throw Exception(QStringLiteral("Sort row should be smaller than number of fixed rows"));
    FRow = Value;
}

void TSortSettings::SetHeader(TColor& Field, TColor Value) {
    if (Field == Value) return;
    Field = Value;
    RepaintHeaderRow();
}

void TSortSettings::RepaintHeaderRow() {
    if (FOwner && FOwner->FixedRows() > 0) FOwner->RepaintRow(FOwner->FixedRows() - 1);
}

QString TSortSettings::SaveToString() const {
    if (FIndexShow) return QStringLiteral("i;") + (FOwner ? FOwner->SortIndexes()->SaveToString() : QString());
    return QString(FDirection == sdDescending ? QChar('d') : QChar('u')) + QString::number(FColumn);
}

void TSortSettings::LoadFromString(const QString& Value) {
    if (Value.isEmpty()) return;
    const TParsedSortState P = ParseSortState(Value);
    const int Columns = FOwner ? FOwner->AllColCount() : -1;
    auto InRange = [Columns](int Col) { return Col >= 0 && (Columns < 0 || Col < Columns); };

    SetShow(true);
    if (!P.Indexed) {
        FIndexShow = false;
        FDirection = P.Direction;
        if (!InRange(P.Column)) return;
        FColumn = P.Column;
        if (FOwner) FOwner->QSort();
        return;
    }
    FIndexShow = true;
    if (!P.HasIndexText || !FOwner) return;
    TSortIndexList* Indexes = FOwner->SortIndexes();
    Indexes->Clear();
    for (const auto& [Col, Ascending] : P.Keys)
        if (InRange(Col)) Indexes->AddIndex(Col, Ascending);
    FOwner->QSortIndexed();
}

void TSortSettings::Remove() {
    FColumn = -1;
    if (FOwner) FOwner->SortIndexes()->Clear();
    RepaintHeaderRow();
}

void TSortSettings::ToggleDirection() { FDirection = FDirection == sdAscending ? sdDescending : sdAscending; }
