#include "grid/base/ExtObj.h"

#include "platform/gui/Controls.h"

#include <QStringList>

// ---- TIntListCore ----------------------------------------------------------------------------
void TIntListCore::CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index >= Limit) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

int TIntListCore::IndexOf(int Value) const {
    for (size_t I = 0; I < FItems.size(); ++I)
        if (FItems[I] == Value) return int(I);
    return -1;
}

int TIntListCore::GetInteger(int Index) const {
    CheckIndex(Index, Count());
    return FItems[size_t(Index)];
}

int TIntListCore::AddItem(int Value) {
    FItems.push_back(Value);
    return Count() - 1;
}

void TIntListCore::InsertItem(int Index, int Value) {
    CheckIndex(Index, Count() + 1);
    FItems.insert(FItems.begin() + Index, Value);
}

void TIntListCore::DeleteItem(int Index) {
    CheckIndex(Index, Count());
    FItems.erase(FItems.begin() + Index);
}

void TIntListCore::PutItem(int Index, int Value) {
    CheckIndex(Index, Count());
    FItems[size_t(Index)] = Value;
}

// ---- TIntList --------------------------------------------------------------------------------
void TIntList::Changed() {
    if (OnChange) OnChange(this, FCol, FRow);
}

int TIntList::Add(int Value) {
    const int I = AddItem(Value);
    Changed();
    return I;
}

void TIntList::Insert(int Index, int Value) { InsertItem(Index, Value); }

void TIntList::Delete(int Index) {
    DeleteItem(Index);
    Changed();
}

void TIntList::SetInteger(int Index, int Value) {
    PutItem(Index, Value);
    Changed();
}

void TIntList::DeleteValue(int Value) {
    const int I = IndexOf(Value);
    if (I >= 0) Delete(I);
}

QString TIntList::StrValue() const {
    QStringList Parts;
    for (int I = 0; I < Count(); ++I) Parts << QString::number(GetInteger(I));
    return Parts.join(QChar(','));
}

void TIntList::SetStrValue(const QString& Value) {
    TStringList Items;
    Items.SetCommaText(Value);
    Clear();
    for (int I = 0; I < Items.Count(); ++I) Add(StrToInt(Items.Get(I)));
}

// ---- TSortIndexList --------------------------------------------------------------------------
namespace {
constexpr uint32_t DescendingBit = 0x80000000u;
constexpr uint32_t ColumnBits = 0x7FFFFFFFu;

// The value at the start of S the way the runtime's Val reads it: leading blanks, a sign, then
// decimal digits or hexadecimal ones after "$", "x" or "0x"; reading stops at the first
// character that does not belong, and what was read so far counts.
int ValPrefix(const QString& S) {
    int I = 0;
    const int N = S.size();
    while (I < N && S.at(I) == QChar(' ')) ++I;
    bool Negative = false;
    if (I < N && (S.at(I) == QChar('-') || S.at(I) == QChar('+'))) Negative = S.at(I++) == QChar('-');
    int Base = 10;
    if (I < N && S.at(I) == QChar('$')) {
        Base = 16;
        ++I;
    } else if (I < N && (S.at(I) == QChar('x') || S.at(I) == QChar('X'))) {
        Base = 16;
        ++I;
    } else if (I + 1 < N && S.at(I) == QChar('0') && (S.at(I + 1) == QChar('x') || S.at(I + 1) == QChar('X'))) {
        Base = 16;
        I += 2;
    }
    uint32_t V = 0;
    for (; I < N; ++I) {
        const int D = S.at(I).isDigit() && S.at(I).unicode() < 128 ? S.at(I).unicode() - '0'
            : Base == 16 && QStringLiteral("abcdef").contains(S.at(I).toLower())
            ? S.at(I).toLower().unicode() - 'a' + 10
            : -1;
        if (D < 0 || D >= Base) break;
        V = V * uint32_t(Base) + uint32_t(D);
    }
    return Negative ? int(0u - V) : int(V);
}
} // namespace

void TSortIndexList::AddIndex(int ColumnIndex, bool Ascending) {
    uint32_t V = uint32_t(ColumnIndex) & ColumnBits;
    if (!Ascending) V |= DescendingBit;
    Add(int(V));
}

int TSortIndexList::FindIndex(int ColumnIndex) const {
    const uint32_t Col = uint32_t(ColumnIndex) & ColumnBits;
    for (int I = 0; I < Count(); ++I)
        if ((uint32_t(GetInteger(I)) & ColumnBits) == Col) return I;
    return -1;
}

void TSortIndexList::ToggleIndex(int ColumnIndex) {
    const int I = FindIndex(ColumnIndex);
    if (I >= 0) SetInteger(I, int(uint32_t(GetInteger(I)) ^ DescendingBit));
}

int TSortIndexList::SortColumns(int Index) const { return int(uint32_t(GetInteger(Index)) & ColumnBits); }

void TSortIndexList::SetSortColumns(int Index, int Value) {
    const uint32_t Old = uint32_t(GetInteger(Index));
    SetInteger(Index, int((Old & DescendingBit) | (uint32_t(Value) & ColumnBits)));
}

bool TSortIndexList::SortDirections(int Index) const { return (uint32_t(GetInteger(Index)) & DescendingBit) == 0; }

void TSortIndexList::SetSortDirections(int Index, bool Ascending) {
    const uint32_t Old = uint32_t(GetInteger(Index));
    SetInteger(Index, int(Ascending ? Old & ColumnBits : Old | DescendingBit));
}

QString TSortIndexList::SaveToString() const {
    QStringList Keys;
    for (int I = 0; I < Count(); ++I) {
        const uint32_t V = uint32_t(GetInteger(I));
        Keys << QString(V & DescendingBit ? QChar('d') : QChar('u')) + QString::number(V & 0xFFFF);
    }
    return Keys.join(QChar(';'));
}

void TSortIndexList::LoadFromString(const QString& S) {
    Clear();
    for (const QString& Entry : S.split(QChar(';'))) {
        if (Entry.size() < 2) continue;
        AddIndex(ValPrefix(Entry.mid(1)), Entry.at(0) == QChar('u'));
    }
}

// ---- THandleList -----------------------------------------------------------------------------
void THandleList::DeleteValue(int Value) {
    const int I = IndexOf(Value);
    if (I >= 0) DeleteItem(I);
}

// ---- TControlList ----------------------------------------------------------------------------
TControlList::~TControlList() {
    while (!FItems.empty()) FItems.erase(FItems.begin());
}

void TControlList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TControlList::AddControl(int X, int Y, TControl* AObject) {
    FItems.push_back(std::make_unique<TControlItem>(X, Y, AObject));
}

int TControlList::ControlIndex(int X, int Y) const {
    for (size_t I = 0; I < FItems.size(); ++I)
        if (FItems[I]->FX == X && FItems[I]->FY == Y) return int(I);
    return -1;
}

TControlItem* TControlList::GetControl(int Index) const {
    CheckIndex(Index);
    return FItems[size_t(Index)].get();
}

void TControlList::RemoveControl(int Index) {
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
}

bool TControlList::HasHandle(quintptr Handle) const {
    for (const auto& Item : FItems) {
        auto* W = dynamic_cast<TWinControl*>(Item->FObject);
        if (W && quintptr(W->winId()) == Handle) return true;
    }
    return false;
}

// ---- TFileStringList -------------------------------------------------------------------------
void TFileStringList::Reset() {
    fp = 0;
    cache.clear();
}

bool TFileStringList::Eof() const { return fp >= Count(); }

void TFileStringList::ReadLn(QString& S) {
    S = Get(fp);
    ++fp;
}

void TFileStringList::Write(const QString& S) { cache += S; }

void TFileStringList::WriteLn(const QString& S) {
    Add(cache + S);
    cache.clear();
}

// ---- TSearchFooter ---------------------------------------------------------------------------
TSearchFooter::TSearchFooter(TComponent* AOwner, bool InitDesign) : FOwner(AOwner), FFont(std::make_unique<TFont>()) {
    if (InitDesign) {
        FFindPrevCaption = QStringLiteral("Find &previous");
        FFindNextCaption = QStringLiteral("Find &next");
        FMatchCaseCaption = QStringLiteral("Match case");
        FHighLightCaption = QStringLiteral("Highlight");
        FHintClose = QStringLiteral("Close");
        FHintFindNext = QStringLiteral("Find next occurrence");
        FHintFindPrev = QStringLiteral("Find previous occurrence");
        FHintHighlight = QStringLiteral("Highlight occurrences");
    }
}

TSearchFooter::~TSearchFooter() = default;

void TSearchFooter::Changed() {
    if (OnChange) OnChange(this);
}

#define EXTOBJ_SET_IF_CHANGED(Class, Type, Name)                                                                       \
    void Class::Set##Name(Type Value) {                                                                                \
        if (F##Name == Value) return;                                                                                  \
        F##Name = Value;                                                                                               \
        Changed();                                                                                                     \
    }
#define EXTOBJ_SET_ALWAYS(Class, Type, Name)                                                                           \
    void Class::Set##Name(Type Value) {                                                                                \
        F##Name = Value;                                                                                               \
        Changed();                                                                                                     \
    }

EXTOBJ_SET_IF_CHANGED(TSearchFooter, bool, ShowFindPrev)
EXTOBJ_SET_IF_CHANGED(TSearchFooter, bool, ShowFindNext)
EXTOBJ_SET_ALWAYS(TSearchFooter, const QString&, FindNextCaption)
EXTOBJ_SET_ALWAYS(TSearchFooter, const QString&, FindPrevCaption)
EXTOBJ_SET_ALWAYS(TSearchFooter, TColor, ColorTo)
EXTOBJ_SET_ALWAYS(TSearchFooter, TColor, Color)
EXTOBJ_SET_IF_CHANGED(TSearchFooter, bool, Visible)
EXTOBJ_SET_ALWAYS(TSearchFooter, bool, AutoThemeAdapt)
EXTOBJ_SET_ALWAYS(TSearchFooter, bool, ShowClose)
EXTOBJ_SET_IF_CHANGED(TSearchFooter, bool, ShowHighLight)
EXTOBJ_SET_IF_CHANGED(TSearchFooter, bool, ShowMatchCase)
EXTOBJ_SET_ALWAYS(TSearchFooter, const QString&, MatchCaseCaption)
EXTOBJ_SET_ALWAYS(TSearchFooter, const QString&, HintClose)
EXTOBJ_SET_ALWAYS(TSearchFooter, const QString&, HintFindPrev)
EXTOBJ_SET_ALWAYS(TSearchFooter, const QString&, HintHighlight)
EXTOBJ_SET_ALWAYS(TSearchFooter, const QString&, HintFindNext)
EXTOBJ_SET_ALWAYS(TSearchFooter, const QString&, HighLightCaption)

void TSearchFooter::SetFont(TFont* Value) {
    if (Value && Value != FFont.get()) FFont->Assign(Value);
    Changed();
}

void TSearchFooter::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TSearchFooter*>(Source);
    if (!S || S == this) return;
    FAlwaysHighLight = S->FAlwaysHighLight;
    FColor = S->FColor;
    FColorTo = S->FColorTo;
    FFindNextCaption = S->FFindNextCaption;
    FFindPrevCaption = S->FFindPrevCaption;
    FMatchCaseCaption = S->FMatchCaseCaption;
    FHighLightCaption = S->FHighLightCaption;
    FHintClose = S->FHintClose;
    FHintFindNext = S->FHintFindNext;
    FHintFindPrev = S->FHintFindPrev;
    FHintHighlight = S->FHintHighlight;
    FShowClose = S->FShowClose;
    FShowFindNext = S->FShowFindNext;
    FShowFindPrev = S->FShowFindPrev;
    FShowHighLight = S->FShowHighLight;
    FShowMatchCase = S->FShowMatchCase;
    FSearchActiveColumnOnly = S->FSearchActiveColumnOnly;
    FSearchMatchStart = S->FSearchMatchStart;
    FSearchColumn = S->FSearchColumn;
    FSearchDirection = S->FSearchDirection;
    FSearchHiddenRows = S->FSearchHiddenRows;
    FVisible = S->FVisible;
    FFont->Assign(S->FFont.get());
}

// ---- TNavigation -----------------------------------------------------------------------------
void TNavigation::SetAdvanceInsert(bool Value) {
    if (FAdvanceInsert == Value) return;
    FAdvanceInsert = Value;
    if (OnChange) OnChange(this);
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value) {
    if (FAdvanceDirection == Value) return;
    FAdvanceDirection = Value;
    if (OnChange) OnChange(this);
}

void TNavigation::SetAdvanceAuto(bool Value) {
    if (FAdvanceAuto == Value) return;
    FAdvanceAuto = Value;
    if (Value) FAdvanceOnEnter = true;
}

void TNavigation::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TNavigation*>(Source);
    if (!S || S == this) return;
    // KeepScrollOnSort belongs to this grid alone and is not copied.
    FAllowInsertRow = S->FAllowInsertRow;
    FAllowDeleteRow = S->FAllowDeleteRow;
    FAdvanceOnEnter = S->FAdvanceOnEnter;
    FAdvanceInsert = S->FAdvanceInsert;
    FAutoGotoWhenSorted = S->FAutoGotoWhenSorted;
    FAutoGotoIncremental = S->FAutoGotoIncremental;
    FAutoComboDropSize = S->FAutoComboDropSize;
    FAllowClipboardShortCuts = S->FAllowClipboardShortCuts;
    FAllowRTFClipboard = S->FAllowRTFClipboard;
    FAllowSmartClipboard = S->FAllowSmartClipboard;
    FAllowClipboardAlways = S->FAllowClipboardAlways;
    FImproveMaskSel = S->FImproveMaskSel;
    FInsertPosition = S->FInsertPosition;
    FHomeEndKey = S->FHomeEndKey;
    FAllowFmtClipboard = S->FAllowFmtClipboard;
    FEditSelectAll = S->FEditSelectAll;
    FSkipFixedCells = S->FSkipFixedCells;
    FAllowCtrlEnter = S->FAllowCtrlEnter;
    FLeftRightRowSelect = S->FLeftRightRowSelect;
    FComboGetUpDown = S->FComboGetUpDown;
    FCursorAdvance = S->FCursorAdvance;
    FCursorMoveRows = S->FCursorMoveRows;
    FAllowClipboardColGrow = S->FAllowClipboardColGrow;
    FAllowClipboardRowGrow = S->FAllowClipboardRowGrow;
    FClipboardPasteAction = S->FClipboardPasteAction;
    FCopyHTMLTagsToClipboard = S->FCopyHTMLTagsToClipboard;
    FAdvanceDirection = S->FAdvanceDirection;
    FAdvanceAuto = S->FAdvanceAuto;
    FAdvanceAutoEdit = S->FAdvanceAutoEdit;
    FCursorWalkEditor = S->FCursorWalkEditor;
    FCursorWalkAlwaysEdit = S->FCursorWalkAlwaysEdit;
    FMoveRowOnSort = S->FMoveRowOnSort;
    FAlwaysEdit = S->FAlwaysEdit;
    FLineFeedOnEnter = S->FLineFeedOnEnter;
    FKeepHorizScroll = S->FKeepHorizScroll;
    FTabToNextAtEnd = S->FTabToNextAtEnd;
    FTabAdvanceDirection = S->FTabAdvanceDirection;
    FSkipDisabledRows = S->FSkipDisabledRows;
    FAppendOnArrowDown = S->FAppendOnArrowDown;
    FMoveScrollOnly = S->FMoveScrollOnly;
    FAdvanceOnEnterLoop = S->FAdvanceOnEnterLoop;
    FAdvanceSkipReadOnlyCells = S->FAdvanceSkipReadOnlyCells;
}

// ---- TMouseActions ---------------------------------------------------------------------------
TMouseActions::TMouseActions(TComponent* AOwner) : FOwner(AOwner), FFixedComboValues(std::make_unique<TStringList>()) {}

TMouseActions::~TMouseActions() = default;

bool TMouseActions::IsDesigning() {
    bool Designing = false;
    if (OnIsDesigning) OnIsDesigning(this, Designing);
    return Designing;
}

void TMouseActions::SetDisjunctRowSelect(bool Value) {
    FDisjunctRowSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctColSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctColSelect(bool Value) {
    FDisjunctColSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctCellSelect(bool Value) {
    FDisjunctCellSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctColSelect = false;
    }
}

void TMouseActions::SetHotmailRowSelect(bool Value) {
    FHotmailRowSelect = Value;
    if (Value) {
        SetDisjunctRowSelect(true);
        FCheckAllCheck = true;
    }
    if (OnInvalidate) OnInvalidate(this);
}

void TMouseActions::SetEditOnDblClickOnly(bool Value) {
    FEditOnDblClickOnly = Value;
    if (Value && OnDisableEdit) OnDisableEdit(this);
}

void TMouseActions::SetWheelAction(TWheelAction Value) {
    if (FWheelAction == Value) return;
    FWheelAction = Value;
    if (OnChange) OnChange(this);
}

void TMouseActions::SetFixedComboValues(TStrings* Value) {
    if (Value && Value != FFixedComboValues.get()) FFixedComboValues->Assign(Value);
}

void TMouseActions::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TMouseActions*>(Source);
    if (!S || S == this) return;
    FColSelect = S->FColSelect;
    FRowSelect = S->FRowSelect;
    FAllSelect = S->FAllSelect;
    FDirectEdit = S->FDirectEdit;
    FDirectComboDrop = S->FDirectComboDrop;
    FDirectComboClose = S->FDirectComboClose;
    FDirectDateClose = S->FDirectDateClose;
    FDirectDateDrop = S->FDirectDateDrop;
    FDisjunctRowSelect = S->FDisjunctRowSelect;
    FDisjunctColSelect = S->FDisjunctColSelect;
    FAllColumnSize = S->FAllColumnSize;
    FAllRowSize = S->FAllRowSize;
    FCaretPositioning = S->FCaretPositioning;
    FSizeFixedCol = S->FSizeFixedCol;
    FDisjunctCellSelect = S->FDisjunctCellSelect;
    FFixedRowsEdit = S->FFixedRowsEdit;
    FFixedColsEdit = S->FFixedColsEdit;
    FFixedRowsEditor = S->FFixedRowsEditor;
    FFixedColsEditor = S->FFixedColsEditor;
    FRangeSelectAndEdit = S->FRangeSelectAndEdit;
    FNoAutoRangeScroll = S->FNoAutoRangeScroll;
    FPreciseCheckBoxCheck = S->FPreciseCheckBoxCheck;
    FPreciseNodeClick = S->FPreciseNodeClick;
    FCheckAllCheck = S->FCheckAllCheck;
    FNodeAllExpandContract = S->FNodeAllExpandContract;
    FMoveRowOnNodeClick = S->FMoveRowOnNodeClick;
    FRowSelectPersistent = S->FRowSelectPersistent;
    FSelectOnRightClick = S->FSelectOnRightClick;
    FNoScrollOnPartialRow = S->FNoScrollOnPartialRow;
    FWheelIncrement = S->FWheelIncrement;
    FWheelAction = S->FWheelAction;
    FAutoSizeColOnDblClick = S->FAutoSizeColOnDblClick;
    FDisjunctRowSelectNoCtrl = S->FDisjunctRowSelectNoCtrl;
}

// ---- TBands ----------------------------------------------------------------------------------
void TBands::Changed() {
    if (OnChange) OnChange(this);
}

void TBands::SetActive(bool Value) {
    if (FActive == Value) return;
    FActive = Value;
    Changed();
}

void TBands::SetPrimaryColor(TColor Value) {
    if (FPrimaryColor == Value) return;
    FPrimaryColor = Value;
    if (FActive) Changed();
}

void TBands::SetSecondaryColor(TColor Value) {
    if (FSecondaryColor == Value) return;
    FSecondaryColor = Value;
    if (FActive) Changed();
}

namespace {
// A band of no rows would leave the painter no period to cycle through.
void CheckBandLength(int Value) {
    if (Value < 1) throw ERangeError(QStringLiteral("Band length must be at least 1 (%1)").arg(Value));
}
} // namespace

void TBands::SetPrimaryLength(int Value) {
    CheckBandLength(Value);
    if (FPrimaryLength == Value) return;
    FPrimaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    if (FActive) Changed();
}

void TBands::SetSecondaryLength(int Value) {
    CheckBandLength(Value);
    if (FSecondaryLength == Value) return;
    FSecondaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    if (FActive) Changed();
}

void TBands::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TBands*>(Source);
    if (!S || S == this) return;
    FActive = S->FActive;
    FPrimaryColor = S->FPrimaryColor;
    FPrimaryLength = S->FPrimaryLength;
    FSecondaryColor = S->FSecondaryColor;
    FSecondaryLength = S->FSecondaryLength;
    FPrint = S->FPrint;
    FTotalLength = FPrimaryLength + FSecondaryLength;
}
