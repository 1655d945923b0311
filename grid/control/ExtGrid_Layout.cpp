// Keeping what a user changes about a grid's layout: column widths, order and hidden columns as
// one line of text or as "Col"/"Pos" keys, the visual properties as a name=value file, and the
// print settings as an INI section.
//
// Everything read here may come from a hand-edited or damaged file, so each reader parses and
// checks its whole input before it touches the grid: a bad value raises EConvertError naming
// what is wrong and the grid stays as it was. Every file is written whole or not at all.
#include "grid/control/ExtGrid.h"

#include "platform/gui/Forms.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StateScope.h"

#include <QDir>
#include <QHash>
#include <QStandardPaths>

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>

namespace {
[[noreturn]] void Refuse(const QString& What) { throw EConvertError(What); }

int ReadInt(const QString& Text, const QString& What) {
    int Value = 0;
    if (!TryStrToInt(Text, Value)) Refuse(QStringLiteral("%1: '%2' is not an integer").arg(What, Text));
    return Value;
}

bool IsPermutation(const QList<int>& Order, int Count) {
    if (Order.size() != Count) return false;
    std::vector<bool> Seen(size_t(std::max(Count, 0)), false);
    for (int V : Order) {
        if (V < 0 || V >= Count || Seen[size_t(V)]) return false;
        Seen[size_t(V)] = true;
    }
    return true;
}

QList<int> Identity(int Count) {
    QList<int> L;
    L.reserve(Count);
    for (int i = 0; i < Count; ++i) L.append(i);
    return L;
}

QList<int> OrderOf(TIntList* List) {
    QList<int> L;
    for (int i = 0; i < List->Count(); ++i) L.append(List->GetInteger(i));
    return L;
}

void SetOrder(TIntList* List, const QList<int>& Order) {
    List->Clear();
    for (int V : Order) List->Add(V);
}

// Moves the columns (all shown) so that position p holds the column of initial index Order[p].
// Current is the initial index of the column at each position now.
void ArrangeColumns(TExtStringGrid* G, QList<int> Current, const QList<int>& Order) {
    for (int p = 0; p < Order.size(); ++p) {
        const int q = int(Current.indexOf(Order[p], p));
        if (q < 0 || q == p) continue;
        G->MoveColumn(q, p);
        Current.move(q, p);
    }
}

// The per-user stand-in for the registry: one INI file, a section per key path.
QString RegistryFileName() {
    const QString Dir =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/tessaro");
    QDir().mkpath(Dir);
    return Dir + QStringLiteral("/registry.ini");
}

const int MaxColumns = TVisibleColumnMap::MappedCols;

// A layout goes on under one update lock, which is given back also when applying it raises, so
// the grid never stays frozen.
class TLayoutUpdate {
public:
    explicit TLayoutUpdate(TExtStringGrid* G) : FGrid(G) { FGrid->BeginUpdate(); }
    ~TLayoutUpdate() { FGrid->EndUpdate(); }
    TLayoutUpdate(const TLayoutUpdate&) = delete;
    TLayoutUpdate& operator=(const TLayoutUpdate&) = delete;

private:
    TExtStringGrid* FGrid;
};
} // namespace

// ---- column-state string -----------------------------------------------------------------------------
QString TExtStringGrid::ColumnStatesToString() {
    const int n = AllColCount();
    QStringList Widths, Order, Visible;
    for (int i = 0; i < n; ++i) Widths << QString::number(i < ColCount() ? ColWidths(i) : DefaultColWidth());
    QList<int> Saved = OrderOf(FColumnOrder.get());
    // An order list that no longer matches the columns (columns added or removed since it was
    // made) is not written: the reader would refuse the whole line for it.
    if (!IsPermutation(Saved, n)) Saved = Identity(n);
    for (int V : Saved) Order << QString::number(V);
    for (int i = 0; i < n; ++i) Visible << (IsHiddenColumn(i) ? QStringLiteral("0") : QStringLiteral("1"));
    return QStringLiteral("%1#%2#%3#%4").arg(n).arg(Widths.join(u','), Order.join(u','), Visible.join(u','));
}

void TExtStringGrid::StringToColumnStates(const QString& Value) {
    if (!Value.contains(u'#')) return;
    // 1. The whole line, checked.
    const QStringList Fields = Value.split(u'#');
    if (Fields.size() != 4)
        Refuse(QStringLiteral("Column states: %1 fields instead of 4 (count#widths#order#visible)").arg(Fields.size()));
    const int n = ReadInt(Fields[0], QStringLiteral("Column states, column count"));
    if (n < 1 || n > MaxColumns)
        Refuse(QStringLiteral("Column states: %1 columns, outside 1..%2").arg(n).arg(MaxColumns));
    auto List = [&](int Field, const QString& What) {
        const QStringList L = Fields[Field].split(u',');
        if (L.size() != n) Refuse(QStringLiteral("Column states: %1 %2 for %3 columns").arg(L.size()).arg(What).arg(n));
        return L;
    };
    QList<int> Widths;
    for (const QString& W : List(1, QStringLiteral("widths"))) {
        Widths.append(ReadInt(W, QStringLiteral("Column states, width")));
        if (Widths.last() < 0) Refuse(QStringLiteral("Column states: negative width %1").arg(Widths.last()));
    }
    QList<int> Order;
    if (!Fields[2].isEmpty()) {
        for (const QString& O : List(2, QStringLiteral("order entries")))
            Order.append(ReadInt(O, QStringLiteral("Column states, order")));
        if (!IsPermutation(Order, n))
            Refuse(QStringLiteral("Column states: the order is not a permutation of 0..%1").arg(n - 1));
    }
    QList<bool> Visible;
    int Shown = 0;
    for (const QString& V : List(3, QStringLiteral("visible flags"))) {
        if (V != QLatin1String("0") && V != QLatin1String("1"))
            Refuse(QStringLiteral("Column states: visible flag '%1' is neither 0 nor 1").arg(V));
        Visible.append(V == QLatin1String("1"));
        Shown += Visible.last() ? 1 : 0;
    }
    if (Shown <= FixedCols())
        Refuse(QStringLiteral("Column states: %1 shown columns leave none beside the %2 fixed ones")
                   .arg(Shown)
                   .arg(FixedCols()));

    // 2. Applied.
    const TLayoutUpdate Lock(this);
    const QList<int> Before = OrderOf(FColumnOrder.get());
    const int OldCount = AllColCount();
    FColumnOrder->Clear();
    UnHideColumnsAll();
    SetColCount(n);
    if (!Order.isEmpty()) {
        // Where the columns stand now: the recorded order when it still describes them.
        const QList<int> Current = OldCount == n && IsPermutation(Before, n) ? Before : Identity(n);
        ArrangeColumns(this, Current, Order);
        SetOrder(FColumnOrder.get(), Order);
    }
    for (int RealCol = n - 1; RealCol >= 0; --RealCol)
        if (!Visible[RealCol]) HideColumn(RealCol);
    // Stretching stays off while the widths go on, and comes back however this ends.
    std::optional<TSettingScope<TColumnSize, bool>> NoStretch;
    if (ColumnSize()->Stretch()) {
        const int S = ColumnSize()->StretchColumn() == -1 ? ColCount() - 1 : ColumnSize()->StretchColumn();
        if (S >= 0 && S < ColCount()) SetDefaultColWidth(ColWidths(S));
        NoStretch.emplace(ColumnSize(), &TColumnSize::Stretch, &TColumnSize::SetStretch, false);
    }
    for (int DisplCol = 0; DisplCol < ColCount(); ++DisplCol) SetColWidths(DisplCol, Widths[DisplCol]);
}

// ---- "Col" and "Pos" keys -------------------------------------------------------------------------------
std::unique_ptr<TIniFile> TExtStringGrid::OpenColumnStore(QString& Section) {
    if (ColumnSize()->Location() == clIniFile) {
        Section = ColumnSize()->Section();
        return std::make_unique<TIniFile>(ColumnSize()->Key());
    }
    Section = ColumnSize()->Key() + u'\\' + ColumnSize()->Section();
    return std::make_unique<TIniFile>(RegistryFileName());
}

void TExtStringGrid::SaveColSizes() {
    if (ColumnSize()->Key().isEmpty() || ColumnSize()->Section().isEmpty() || IsDesigning()) return;
    QString Section;
    std::unique_ptr<TIniFile> Store = OpenColumnStore(Section);
    Store->BeginUpdate();
    for (int DisplCol = 0; DisplCol < ColCount(); ++DisplCol)
        Store->WriteInteger(Section, QStringLiteral("Col%1").arg(DisplCol), ColWidths(DisplCol));
    Store->EndUpdate();
}

void TExtStringGrid::LoadColSizes() {
    if (ColumnSize()->Key().isEmpty() || ColumnSize()->Section().isEmpty() || IsDesigning()) return;
    QString Section;
    std::unique_ptr<TIniFile> Store = OpenColumnStore(Section);
    QList<int> Widths;
    for (int DisplCol = 0; DisplCol < ColCount(); ++DisplCol) {
        const QString Key = QStringLiteral("Col%1").arg(DisplCol);
        if (!Store->ValueExists(Section, Key)) {
            Widths.append(ColWidths(DisplCol));
            continue;
        }
        const int W = ReadInt(Store->ReadString(Section, Key, QString()), QStringLiteral("[%1] %2").arg(Section, Key));
        if (W < 0) Refuse(QStringLiteral("[%1] %2: negative width %3").arg(Section, Key).arg(W));
        Widths.append(W);
    }
    for (int DisplCol = 0; DisplCol < ColCount(); ++DisplCol)
        if (ColWidths(DisplCol) != Widths[DisplCol]) SetColWidths(DisplCol, Widths[DisplCol]);
}

void TExtStringGrid::SaveColumnSizes() {
    try {
        SaveColSizes();
    } catch (const std::exception& E) {
        if (Application) Application->HandleException(this, E);
    }
}

void TExtStringGrid::LoadColumnSizes() { LoadColSizes(); }

void TExtStringGrid::SaveColPositions() {
    if (ColumnSize()->Key().isEmpty() || ColumnSize()->Section().isEmpty() || IsDesigning()) return;
    if (FColumnOrder->Count() == 0) return;
    QString Section;
    std::unique_ptr<TIniFile> Store = OpenColumnStore(Section);
    Store->BeginUpdate();
    for (int p = 0; p < FColumnOrder->Count(); ++p)
        Store->WriteInteger(Section, QStringLiteral("Pos%1").arg(p), FColumnOrder->GetInteger(p));
    Store->EndUpdate();
}

void TExtStringGrid::LoadColPositions() {
    if (ColumnSize()->Key().isEmpty() || ColumnSize()->Section().isEmpty() || IsDesigning()) return;
    QString Section;
    std::unique_ptr<TIniFile> Store = OpenColumnStore(Section);
    if (!Store->ValueExists(Section, QStringLiteral("Pos0"))) return;
    const int n = AllColCount();
    QList<int> Order;
    for (int p = 0; p < n; ++p) {
        const QString Key = QStringLiteral("Pos%1").arg(p);
        if (!Store->ValueExists(Section, Key))
            Refuse(QStringLiteral("[%1] %2 is missing: %3 columns need %3 positions").arg(Section, Key).arg(n));
        Order.append(ReadInt(Store->ReadString(Section, Key, QString()), QStringLiteral("[%1] %2").arg(Section, Key)));
    }
    if (!IsPermutation(Order, n))
        Refuse(QStringLiteral("[%1] the Pos keys are not a permutation of 0..%2").arg(Section).arg(n - 1));

    const TLayoutUpdate Lock(this);
    const QList<int> Before = OrderOf(FColumnOrder.get());
    const QList<int> Current = IsPermutation(Before, n) ? Before : Identity(n);
    // The columns hidden now stay hidden wherever the order puts them (by their initial index),
    // so the same columns stay out of sight rather than whichever land at their old places.
    QList<int> Hidden;
    for (int RealCol = 0; RealCol < n; ++RealCol)
        if (IsHiddenColumn(RealCol)) Hidden.append(Current[RealCol]);
    UnHideColumnsAll();
    ArrangeColumns(this, Current, Order);
    for (int Initial : Hidden) HideColumn(int(Order.indexOf(Initial)));
    SetOrder(FColumnOrder.get(), Order);
}

// ---- print settings --------------------------------------------------------------------------------------
namespace {
int StyleBits(TFontStyles S) {
    return (S.Contains(fsBold) ? 1 : 0) | (S.Contains(fsItalic) ? 2 : 0) | (S.Contains(fsUnderline) ? 4 : 0) |
        (S.Contains(fsStrikeOut) ? 8 : 0);
}

TFontStyles StylesOfBits(int Bits) {
    TFontStyles S;
    if (Bits & 1) S.Include(fsBold);
    if (Bits & 2) S.Include(fsItalic);
    if (Bits & 4) S.Include(fsUnderline);
    if (Bits & 8) S.Include(fsStrikeOut);
    return S;
}

QString YN(bool Value) { return Value ? QStringLiteral("Y") : QStringLiteral("N"); }
} // namespace

void TExtStringGrid::SavePrintSettings(const QString& Key, const QString& Section) {
    TPrintSettings* P = PrintSettings();
    TIniFile Ini(Key);
    Ini.BeginUpdate();
    auto Int = [&](const char* Name, int Value) { Ini.WriteInteger(Section, QLatin1String(Name), Value); };
    auto Str = [&](const char* Name, const QString& Value) { Ini.WriteString(Section, QLatin1String(Name), Value); };
    auto Bool = [&](const char* Name, bool Value) { Str(Name, YN(Value)); };
    auto Font = [&](const char* Prefix, TFont* F) {
        const QString Pre = QLatin1String(Prefix);
        Ini.WriteString(Section, Pre + QStringLiteral("Name"), F->Name());
        Ini.WriteInteger(Section, Pre + QStringLiteral("Size"), F->Size());
        Ini.WriteInteger(Section, Pre + QStringLiteral("Style"), StyleBits(F->Style()));
        Ini.WriteInteger(Section, Pre + QStringLiteral("Color"), F->Color());
    };
    Int("ColumnSpacing", P->ColumnSpacing());
    Int("RowSpacing", P->RowSpacing());
    Int("TitleSpacing", P->TitleSpacing());
    Int("FixedHeight", P->FixedHeight());
    Int("FixedWidth", P->FixedWidth());
    Bool("Centered", P->Centered());
    Bool("NoAutoSize", P->NoAutoSize());
    Bool("UseFixedHeight", P->UseFixedHeight());
    Bool("UseFixedWidth", P->UseFixedWidth());
    Bool("RepeatFixedRows", P->RepeatFixedRows());
    Bool("RepeatFixedCols", P->RepeatFixedCols());
    Bool("UseDisplFont", P->UseDisplayFont());
    Bool("UseDefOrientation", P->UseDefaultOrientation());
    Int("Borders", int(P->Borders()));
    Int("BorderColor", P->BorderColor());
    Int("BorderStyle", int(P->BorderStyle()));
    Int("Date", int(P->Date()));
    Int("PageNr", int(P->PageNr()));
    Int("Title", int(P->Title()));
    Int("Time", int(P->Time()));
    Str("DateFormat", P->DateFormat());
    Str("TitleText", P->TitleText());
    Int("FooterSize", P->FooterSize());
    Int("HeaderSize", P->HeaderSize());
    Int("LeftSize", P->LeftSize());
    Int("RightSize", P->RightSize());
    Int("FitToPage", int(P->FitToPage()));
    Font("Font", P->Font());
    Font("HeaderFont", P->HeaderFont());
    Font("FooterFont", P->FooterFont());
    Str("PageNumSep", P->PageNumSep());
    Str("PageSuffix", P->PageSuffix());
    Str("PagePrefix", P->PagePrefix());
    Int("Orientation", int(P->Orientation()));
    // Line breaks cannot stand in an INI value: each becomes a backslash and "n".
    QString Lines = P->TitleLines()->Text();
    if (Lines.endsWith(QLatin1String("\r\n"))) Lines.chop(2);
    Lines.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    Str("TitleLines", Lines);
    Bool("PrintGraphics", P->PrintGraphics());
    Ini.EndUpdate();
}

void TExtStringGrid::LoadPrintSettings(const QString& Key, const QString& Section) {
    TIniFile Ini(Key);
    // Read into a copy and checked there; the grid's settings change in one step at the end.
    TPrintSettings P(nullptr);
    P.Assign(PrintSettings());
    auto Int = [&](const char* Name, int Default) {
        const QString Text = Ini.ReadString(Section, QLatin1String(Name), QString());
        if (!Ini.ValueExists(Section, QLatin1String(Name))) return Default;
        return ReadInt(Text, QStringLiteral("[%1] %2").arg(Section, QLatin1String(Name)));
    };
    auto Str = [&](const char* Name) { return Ini.ReadString(Section, QLatin1String(Name), QString()); };
    auto Bool = [&](const char* Name, const char* Default) {
        return Ini.ReadString(Section, QLatin1String(Name), QLatin1String(Default)) == QLatin1String("Y");
    };
    auto Position = [&](const char* Name) {
        const int V = Int(Name, 0);
        return V >= 1 && V <= 6 ? TPrintPosition(V) : ppNone;
    };
    auto Font = [&](const char* Prefix, TFont* F) {
        const QString Pre = QLatin1String(Prefix);
        const QByteArray N = (Pre + QStringLiteral("Name")).toLatin1(), S = (Pre + QStringLiteral("Size")).toLatin1(),
                         St = (Pre + QStringLiteral("Style")).toLatin1(),
                         C = (Pre + QStringLiteral("Color")).toLatin1();
        F->SetName(Ini.ReadString(Section, QLatin1String(N), QStringLiteral("Arial")));
        F->SetSize(Int(S.constData(), 10));
        // The saved style replaces the font's, so a plain font saved reads back plain.
        F->SetStyle(StylesOfBits(Int(St.constData(), 0)));
        F->SetColor(TColor(Int(C.constData(), 0)));
    };
    P.SetColumnSpacing(Int("ColumnSpacing", 20));
    P.SetRowSpacing(Int("RowSpacing", 20));
    P.SetTitleSpacing(Int("TitleSpacing", 20));
    P.SetFixedHeight(Int("FixedHeight", 0));
    P.SetFixedWidth(Int("FixedWidth", 0));
    P.SetCentered(Bool("Centered", "Y"));
    P.SetNoAutoSize(Bool("NoAutoSize", "N"));
    P.SetUseFixedHeight(Bool("UseFixedHeight", "N"));
    P.SetUseFixedWidth(Bool("UseFixedWidth", "N"));
    P.SetRepeatFixedRows(Bool("RepeatFixedRows", "N"));
    P.SetRepeatFixedCols(Bool("RepeatFixedCols", "N"));
    P.SetUseDisplayFont(Bool("UseDisplFont", "N"));
    P.SetUseDefaultOrientation(Bool("UseDefOrientation", "N"));
    if (const int V = Int("Borders", 0); V >= 0 && V <= 8) P.SetBorders(TPrintBorders(V));
    P.SetBorderColor(TColor(Int("BorderColor", 0)));
    if (const int V = Int("BorderStyle", 0); V >= 0 && V <= 6) P.SetBorderStyle(TPenStyle(V));
    P.SetDate(Position("Date"));
    P.SetPageNr(Position("PageNr"));
    P.SetTitle(Position("Title"));
    P.SetTime(Position("Time"));
    P.SetDateFormat(Str("DateFormat"));
    P.SetTitleText(Str("TitleText"));
    P.SetFooterSize(Int("FooterSize", 100));
    P.SetHeaderSize(Int("HeaderSize", 100));
    P.SetLeftSize(Int("LeftSize", 100));
    P.SetRightSize(Int("RightSize", 100));
    if (const int V = Int("FitToPage", 0); V >= 0 && V <= 4) P.SetFitToPage(TFitToPage(V));
    Font("Font", P.Font());
    Font("HeaderFont", P.HeaderFont());
    Font("FooterFont", P.FooterFont());
    P.SetPageNumSep(Str("PageNumSep"));
    P.SetPageSuffix(Str("PageSuffix"));
    P.SetPagePrefix(Str("PagePrefix"));
    if (const int V = Int("Orientation", 0); V == 0 || V == 1) P.SetOrientation(TPrinterOrientation(V));
    QString Lines = Str("TitleLines");
    Lines.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
    P.TitleLines()->SetText(Lines);
    P.SetPrintGraphics(Bool("PrintGraphics", "N"));
    PrintSettings()->Assign(&P);
}

// ---- visual properties -------------------------------------------------------------------------------------
namespace {
enum TPropKind { pkColor, pkBool, pkInt, pkStyle, pkText, pkNamed };

// One line of the file: how to read the value from the grid and how to apply a checked value.
struct TVisualProp {
    QString Name;
    TPropKind Kind;
    std::function<QString()> Get;
    std::function<void(const QVariant&)> Set;
    QStringList Names = {}; // the values of a named property, in ordinal order
    int Min = INT_MIN, Max = INT_MAX; // the range of an integer
};

QString StyleText(TFontStyles S) {
    QStringList L;
    if (S.Contains(fsBold)) L << QStringLiteral("fsBold");
    if (S.Contains(fsItalic)) L << QStringLiteral("fsItalic");
    if (S.Contains(fsUnderline)) L << QStringLiteral("fsUnderline");
    if (S.Contains(fsStrikeOut)) L << QStringLiteral("fsStrikeOut");
    return L.join(u',');
}

TFontStyles StyleOfText(const QString& Text) {
    TFontStyles S;
    if (Text.contains(QLatin1String("fsBold"), Qt::CaseInsensitive)) S.Include(fsBold);
    if (Text.contains(QLatin1String("fsItalic"), Qt::CaseInsensitive)) S.Include(fsItalic);
    if (Text.contains(QLatin1String("fsUnderline"), Qt::CaseInsensitive)) S.Include(fsUnderline);
    if (Text.contains(QLatin1String("fsStrikeOut"), Qt::CaseInsensitive)) S.Include(fsStrikeOut);
    return S;
}

QString BoolText(bool Value) { return Value ? QStringLiteral("true") : QStringLiteral("false"); }

const QStringList LookNames = {QStringLiteral("glStandard"), QStringLiteral("glSoft"), QStringLiteral("glClassic"),
                               QStringLiteral("glExt"),      QStringLiteral("glXP"),   QStringLiteral("glListView"),
                               QStringLiteral("glVista"),    QStringLiteral("glWin7"), QStringLiteral("glOffice2007")};
} // namespace

void TExtStringGrid::LookName(TGridLook Look, QString& Target) {
    if (Look >= glStandard && Look < glCustom) Target = LookNames[int(Look)];
}

QString TExtStringGrid::LookName(TGridLook Look) {
    QString S;
    LookName(Look, S);
    return S;
}

TGridLook TExtStringGrid::LookFromName(const QString& Name, TGridLook Default) {
    for (int i = 0; i < LookNames.size(); ++i)
        if (SameText(Name, LookNames[i])) return TGridLook(i);
    return Default;
}

namespace {
// The table of the file, in the order of its lines.
QList<TVisualProp> VisualProps(TExtStringGrid* G) {
    QList<TVisualProp> T;
    auto Color = [&](const char* Name, std::function<TColor()> Get, std::function<void(TColor)> Set) {
        T.append({QLatin1String(Name), pkColor, [Get] { return ColorToString(Get()); },
                  [Set](const QVariant& V) { Set(TColor(V.toInt())); }});
    };
    auto Bool = [&](const char* Name, std::function<bool()> Get, std::function<void(bool)> Set) {
        T.append({QLatin1String(Name), pkBool, [Get] { return BoolText(Get()); },
                  [Set](const QVariant& V) { Set(V.toBool()); }});
    };
    auto Int = [&](const char* Name, std::function<int()> Get, std::function<void(int)> Set) {
        T.append({QLatin1String(Name), pkInt, [Get] { return QString::number(Get()); },
                  [Set](const QVariant& V) { Set(V.toInt()); }});
    };
    auto Named = [&](const char* Name, const QStringList& Names, std::function<int()> Get,
                     std::function<void(int)> Set) {
        T.append({QLatin1String(Name), pkNamed,
                  [Get, Names] { return Get() >= 0 && Get() < Names.size() ? Names[Get()] : QString(); },
                  [Set](const QVariant& V) { Set(V.toInt()); }, Names});
    };
    auto Font = [&](const char* Prefix, TFont* F) {
        const QByteArray P(Prefix);
        const QString Pre = QLatin1String(P);
        T.append({Pre + QStringLiteral("Color"), pkColor, [F] { return ColorToString(F->Color()); },
                  [F](const QVariant& V) { F->SetColor(TColor(V.toInt())); }});
        T.append({Pre + QStringLiteral("Style"), pkStyle, [F] { return StyleText(F->Style()); },
                  [F](const QVariant& V) { F->SetStyle(StyleOfText(V.toString())); }});
        T.append({Pre + QStringLiteral("Size"), pkInt, [F] { return QString::number(F->Size()); },
                  [F](const QVariant& V) { F->SetSize(V.toInt()); }});
        T.append({Pre + QStringLiteral("Name"), pkText, [F] { return F->Name(); },
                  [F](const QVariant& V) { F->SetName(V.toString()); }});
    };
#define GRID_COLOR(Name)                                                                                               \
    Color(                                                                                                             \
        #Name, [G] { return G->Name(); }, [G](TColor C) { G->Set##Name(C); })
#define GRID_BOOL(Name)                                                                                                \
    Bool(                                                                                                              \
        #Name, [G] { return G->Name(); }, [G](bool B) { G->Set##Name(B); })
    Color(
        "Color", [G] { return G->Color(); }, [G](TColor C) { G->SetColor(C); });
    GRID_COLOR(HintColor);
    GRID_COLOR(SelectionColor);
    GRID_COLOR(SelectionColorTo);
    GRID_COLOR(SelectionMirrorColor);
    GRID_COLOR(SelectionMirrorColorTo);
    GRID_COLOR(SelectionTextColor);
    GRID_COLOR(URLColor);
    GRID_BOOL(URLShow);
    GRID_BOOL(URLShowInText);
    GRID_COLOR(ScrollColor);
    GRID_COLOR(ActiveRowColor);
    GRID_BOOL(ActiveRowShow);
    GRID_BOOL(ActiveCellShow);
    Font("Font.", G->Font());
    GRID_COLOR(ActiveCellColor);
    GRID_COLOR(ActiveCellColorTo);
    Font("ActiveCellFont.", G->ActiveCellFont());
    Font("FixedFont.", G->FixedFont());
    TBalloonSettings* B = G->Balloon();
    Color(
        "Balloon.BackgroundColor", [B] { return B->BackgroundColor(); }, [B](TColor C) { B->SetBackgroundColor(C); });
    Color(
        "Balloon.TextColor", [B] { return B->TextColor(); }, [B](TColor C) { B->SetTextColor(C); });
    Int(
        "Balloon.Transparency", [B] { return int(B->Transparency()); }, [B](int V) { B->SetTransparency(uint8_t(V)); });
    T.last().Min = 0;
    T.last().Max = 255;
    TBands* Bn = G->Bands();
    Color(
        "Bands.PrimaryColor", [Bn] { return Bn->PrimaryColor(); }, [Bn](TColor C) { Bn->SetPrimaryColor(C); });
    Color(
        "Bands.SecondaryColor", [Bn] { return Bn->SecondaryColor(); }, [Bn](TColor C) { Bn->SetSecondaryColor(C); });
    Bool(
        "Bands.Active", [Bn] { return Bn->Active(); }, [Bn](bool V) { Bn->SetActive(V); });
    TSortSettings* SS = G->SortSettings();
    Color(
        "SortSettings.IndexColor", [SS] { return SS->IndexColor(); }, [SS](TColor C) { SS->SetIndexColor(C); });
    TFloatingFooter* FF = G->FloatingFooter();
    Color(
        "FloatingFooter.Color", [FF] { return FF->Color(); }, [FF](TColor C) { FF->SetColor(C); });
    TControlLook* CL = G->ControlLook();
    Int(
        "ControlLook.CheckSize", [CL] { return CL->CheckSize(); }, [CL](int V) { CL->SetCheckSize(V); });
    Color(
        "ControlLook.Color", [CL] { return CL->Color(); }, [CL](TColor C) { CL->SetColor(C); });
    Color(
        "ControlLook.CommentColor", [CL] { return CL->CommentColor(); }, [CL](TColor C) { CL->SetCommentColor(C); });
    Named(
        "ControlLook.ControlStyle",
        {QStringLiteral("csClassic"), QStringLiteral("csFlat"), QStringLiteral("csWinXP"), QStringLiteral("csBorland"),
         QStringLiteral("csExt"), QStringLiteral("csGlyph"), QStringLiteral("csTheme")},
        [CL] { return int(CL->ControlStyle()); }, [CL](int V) { CL->SetControlStyle(TControlStyle(V)); });
    Color(
        "ControlLook.FixedGradientFrom", [CL] { return CL->FixedGradientFrom(); },
        [CL](TColor C) { CL->SetFixedGradientFrom(C); });
    Color(
        "ControlLook.FixedGradientTo", [CL] { return CL->FixedGradientTo(); },
        [CL](TColor C) { CL->SetFixedGradientTo(C); });
    Int(
        "ControlLook.RadioSize", [CL] { return CL->RadioSize(); }, [CL](int V) { CL->SetRadioSize(V); });
    Bool(
        "ControlLook.FlatButton", [CL] { return CL->FlatButton(); }, [CL](bool V) { CL->SetFlatButton(V); });
    Color(
        "ControlLook.ProgressBorderColor", [CL] { return CL->ProgressBorderColor(); },
        [CL](TColor C) { CL->SetProgressBorderColor(C); });
    Bool(
        "ControlLook.ProgressXP", [CL] { return CL->ProgressXP(); }, [CL](bool V) { CL->SetProgressXP(V); });
    Named(
        "Look", LookNames, [G] { return int(G->Look()); }, [G](int V) { G->SetLook(TGridLook(V)); });
    TSearchFooter* SF = G->SearchFooter();
    Color(
        "SearchFooter.Color", [SF] { return SF->Color(); }, [SF](TColor C) { SF->SetColor(C); });
    Color(
        "SearchFooter.ColorTo", [SF] { return SF->ColorTo(); }, [SF](TColor C) { SF->SetColorTo(C); });
    TGrouping* Gr = G->Grouping();
#define GROUP_COLOR(Name)                                                                                              \
    Color(                                                                                                             \
        "Grouping." #Name, [Gr] { return Gr->Name(); }, [Gr](TColor C) { Gr->Set##Name(C); })
    GROUP_COLOR(HeaderColor);
    GROUP_COLOR(HeaderColorTo);
    GROUP_COLOR(HeaderTextColor);
    Bool(
        "Grouping.HeaderUnderline", [Gr] { return Gr->HeaderUnderline(); },
        [Gr](bool V) { Gr->SetHeaderUnderline(V); });
    GROUP_COLOR(HeaderLineColor);
    Int(
        "Grouping.HeaderLineWidth", [Gr] { return Gr->HeaderLineWidth(); }, [Gr](int V) { Gr->SetHeaderLineWidth(V); });
    GROUP_COLOR(SummaryColor);
    GROUP_COLOR(SummaryColorTo);
    GROUP_COLOR(SummaryTextColor);
    Bool(
        "Grouping.SummaryLine", [Gr] { return Gr->SummaryLine(); }, [Gr](bool V) { Gr->SetSummaryLine(V); });
    GROUP_COLOR(SummaryLineColor);
    Int(
        "Grouping.SummaryLineWidth", [Gr] { return Gr->SummaryLineWidth(); },
        [Gr](int V) { Gr->SetSummaryLineWidth(V); });
    GRID_COLOR(GridLineColor);
    GRID_COLOR(GridFixedLineColor);
    TBackGround* BG = G->BackGround();
    Int(
        "BackGround.Top", [BG] { return BG->Top(); }, [BG](int V) { BG->SetTop(V); });
    Int(
        "BackGround.Left", [BG] { return BG->Left(); }, [BG](int V) { BG->SetLeft(V); });
    Named(
        "BackGround.Display",
        {QStringLiteral("bdTile"), QStringLiteral("bdFixed"), QStringLiteral("bdGradientHorz"),
         QStringLiteral("bdGradientVert")},
        [BG] { return int(BG->Display()); }, [BG](int V) { BG->SetDisplay(TBackgroundDisplay(V)); });
    Named(
        "BackGround.Cells", {QStringLiteral("bcNormal"), QStringLiteral("bcFixed"), QStringLiteral("bcAll")},
        [BG] { return int(BG->Cells()); }, [BG](int V) { BG->SetCells(TBackgroundCells(V)); });
    Color(
        "BackGround.Color", [BG] { return BG->Color(); }, [BG](TColor C) { BG->SetColor(C); });
    Color(
        "BackGround.ColorTo", [BG] { return BG->ColorTo(); }, [BG](TColor C) { BG->SetColorTo(C); });
#undef GRID_COLOR
#undef GRID_BOOL
#undef GROUP_COLOR
    return T;
}
} // namespace

void TExtStringGrid::SaveVisualProps(const QString& FileName) {
    QString Text;
    for (const TVisualProp& P : VisualProps(this)) Text += P.Name + u'=' + P.Get() + QStringLiteral("\r\n");
    WriteFileAtomic(FileName, EncodeText(Text));
}

void TExtStringGrid::LoadVisualProps(const QString& FileName) {
    const QStringList Lines = ReadTextLines(FileName);
    // The first line of a name wins; names match without regard to case.
    QHash<QString, QString> Values;
    for (const QString& Line : Lines) {
        const int Eq = int(Line.indexOf(u'='));
        if (Eq < 0) continue;
        const QString Name = Line.left(Eq).toLower();
        if (!Values.contains(Name)) Values.insert(Name, Line.mid(Eq + 1));
    }
    QList<TVisualProp> Props = VisualProps(this);
    // The grid line colours go on before the grouping lines.
    auto IndexOf = [&](const QString& Name) {
        for (int i = 0; i < Props.size(); ++i)
            if (Props[i].Name == Name) return i;
        return -1;
    };
    const int FirstGrouping = IndexOf(QStringLiteral("Grouping.HeaderColor"));
    Props.move(IndexOf(QStringLiteral("GridLineColor")), FirstGrouping);
    Props.move(IndexOf(QStringLiteral("GridFixedLineColor")), FirstGrouping + 1);

    // Every value converted first; a bad one leaves the grid untouched.
    QList<std::pair<const TVisualProp*, QVariant>> Apply;
    for (const TVisualProp& P : Props) {
        const QString V = Values.value(P.Name.toLower());
        const QString Where = QStringLiteral("%1, line %2").arg(FileName, P.Name);
        switch (P.Kind) {
            case pkColor: {
                if (V.isEmpty()) {
                    Apply.append({&P, int(clNone)});
                    break;
                }
                TColor C = 0;
                try {
                    C = StringToColor(V);
                } catch (const EConvertError&) {
                    Refuse(QStringLiteral("%1: '%2' is not a colour").arg(Where, V));
                }
                Apply.append({&P, int(C)});
                break;
            }
            case pkBool: Apply.append({&P, V.toUpper() == QLatin1String("TRUE")}); break;
            case pkInt: {
                const int I = ReadInt(V, Where);
                if (I < P.Min || I > P.Max)
                    Refuse(QStringLiteral("%1: %2 is outside %3..%4").arg(Where).arg(I).arg(P.Min).arg(P.Max));
                Apply.append({&P, I});
                break;
            }
            case pkStyle:
            case pkText: Apply.append({&P, V}); break;
            case pkNamed:
                for (int i = 0; i < P.Names.size(); ++i)
                    if (SameText(V, P.Names[i])) Apply.append({&P, i});
                break; // an unknown or empty name leaves the property as it is
        }
    }
    const TLayoutUpdate Lock(this);
    for (const auto& [P, V] : Apply) P->Set(V);
}
