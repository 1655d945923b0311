// Unit ExtCGrid: the column-definition stream. Each item is written as named, typed properties,
// so a reader can tell every value apart. The reader takes in and checks the whole stream before
// it touches the columns: damaged input raises EReadError and changes nothing.
#include "grid/control/ExtCGrid.h"

#include "platform/rtl/StateScope.h"

#include <QByteArray>
#include <QtEndian>

#include <functional>
#include <map>
#include <vector>

namespace {

const char Magic[4] = {'T', 'E', 'C', 'G'};
constexpr quint32 StreamVersion = 1;
constexpr quint32 MaxItems = 4096;
constexpr quint32 MaxProps = 256;

enum TPropKind : quint8 { pkInt, pkString, pkStrings, pkFont, pkPen };

class TWriter {
public:
    void U32(quint32 V) {
        char B[4];
        qToLittleEndian(V, B);
        Out.append(B, 4);
    }
    void I32(qint32 V) { U32(quint32(V)); }
    void Str(const QString& S) {
        const QByteArray U = S.toUtf8();
        U32(quint32(U.size()));
        Out.append(U);
    }
    void Int(const char* Name, int V) {
        Str(QString::fromLatin1(Name));
        Out.append(char(pkInt));
        I32(V);
    }
    void Text(const char* Name, const QString& V) {
        Str(QString::fromLatin1(Name));
        Out.append(char(pkString));
        Str(V);
    }
    void List(const char* Name, TStrings* L) {
        Str(QString::fromLatin1(Name));
        Out.append(char(pkStrings));
        U32(quint32(L->Count()));
        for (int i = 0; i < L->Count(); ++i) Str(L->Get(i));
    }
    void Font(const char* Name, TFont* F) {
        Str(QString::fromLatin1(Name));
        Out.append(char(pkFont));
        Str(F->Name());
        I32(F->Height());
        I32(F->Color());
        quint32 Bits = 0;
        for (int s = 0; s < 4; ++s)
            if (F->Style().Contains(TFontStyle(s))) Bits |= 1u << s;
        U32(Bits);
    }
    void Pen(const char* Name, TPen* P) {
        Str(QString::fromLatin1(Name));
        Out.append(char(pkPen));
        I32(P->Color());
        I32(P->Width());
        I32(P->Style());
    }
    QByteArray Out;
};

// One property as read: its kind and value.
struct TPropValue {
    TPropKind Kind = pkInt;
    qint32 Int = 0;
    QString Text;
    QStringList List;
    qint32 A = 0, B = 0, C = 0;
};

class TReader {
public:
    explicit TReader(const QByteArray& In) : FIn(In) {}
    void Need(qint64 N) {
        if (N < 0 || FPos + N > FIn.size()) Fail(QStringLiteral("the stream ends early"));
    }
    [[noreturn]] static void Fail(const QString& Why) {
        throw EReadError(QStringLiteral("Column definitions cannot be read: %1").arg(Why));
    }
    quint32 U32() {
        Need(4);
        const quint32 V = qFromLittleEndian<quint32>(FIn.constData() + FPos);
        FPos += 4;
        return V;
    }
    qint32 I32() { return qint32(U32()); }
    quint8 U8() {
        Need(1);
        return quint8(FIn[FPos++]);
    }
    QString Str() {
        const quint32 N = U32();
        Need(qint64(N)); // checked before anything is allocated for it
        const QString S = QString::fromUtf8(FIn.constData() + FPos, qsizetype(N));
        FPos += N;
        return S;
    }
    bool AtEnd() const { return FPos == FIn.size(); }
    qint64 Remaining() const { return FIn.size() - FPos; }

private:
    const QByteArray& FIn;
    qint64 FPos = 0;
};

using TItemProps = std::map<QString, TPropValue>;

} // namespace

void TExtColumnGrid::SaveColumnsToStream(TStream* St) {
    TWriter W;
    W.Out.append(Magic, 4);
    W.U32(StreamVersion);
    W.U32(quint32(FColumnCollection->Count()));
    for (const auto& P : FColumnCollection->FItems) {
        TGridColumnItem* I = P.get();
        TWriter Props;
        int N = 0;
        // Written in the stored form's rule: empty texts and True custom flags are left out.
        auto Text = [&](const char* Name, const QString& V) {
            if (!V.isEmpty()) Props.Text(Name, V), ++N;
        };
        auto Int = [&](const char* Name, int V) { Props.Int(Name, V), ++N; };
        Int("Width", I->Width());
        Int("Alignment", I->Alignment());
        Text("Header", I->Header());
        Int("SortStyle", I->SortStyle());
        Text("SortPrefix", I->SortPrefix());
        Text("SortSuffix", I->SortSuffix());
        Text("EditMask", I->EditMask());
        Int("EditLength", I->EditLength());
        Props.Font("Font", I->Font()), ++N;
        Int("Color", I->Color());
        Int("Editor", I->Editor());
        Int("Fixed", I->Fixed());
        Int("ReadOnly", I->ReadOnly());
        Props.List("ComboItems", I->ComboItems()), ++N;
        Int("DropDownCount", I->DropDownCount());
        Int("SpinMin", I->SpinMin());
        Int("SpinMax", I->SpinMax());
        Int("SpinStep", I->SpinStep());
        Int("Password", I->Password());
        Props.Font("PrintFont", I->PrintFont()), ++N;
        Int("PrintColor", I->PrintColor());
        Props.Pen("BorderPen", I->BorderPen()), ++N;
        Props.Pen("PrintBorderPen", I->PrintBorderPen()), ++N;
        auto BorderBits = [](TCellBorders B) {
            int V = 0;
            for (int b = 0; b < 4; ++b)
                if (B.Contains(TCellBorder(b))) V |= 1 << b;
            return V;
        };
        Int("Borders", BorderBits(I->Borders()));
        Int("PrintBorders", BorderBits(I->PrintBorders()));
        Int("Tag", I->Tag());
        Text("Name", I->Name());
        Text("CheckFalse", I->CheckFalse());
        Text("CheckTrue", I->CheckTrue());
        Int("ShowBands", I->ShowBands());
        Props.List("Filter", I->Filter()), ++N;
        Int("MaxSize", I->MaxSize());
        Int("MinSize", I->MinSize());
        Int("AutoMinSize", I->AutoMinSize());
        Int("AutoMaxSize", I->AutoMaxSize());
        Int("ColumnPopupType", I->ColumnPopupType());
        Int("FilterCaseSensitive", I->FilterCaseSensitive());
        Text("FloatFormat", I->FloatFormat());
        Int("HeaderAlignment", I->HeaderAlignment());
        Props.Font("HeaderFont", I->HeaderFont()), ++N;
        if (!I->PrintBorderCustom()) Int("PrintBorderCustom", 0);
        if (!I->PrintFontCustom()) Int("PrintFontCustom", 0);
        W.U32(quint32(N));
        W.Out.append(Props.Out);
    }
    St->WriteBuffer(W.Out.constData(), W.Out.size());
}

void TExtColumnGrid::LoadColumnsFromStream(TStream* St) {
    const int64_t Left = St->Size() - St->Position();
    if (Left < 12) TReader::Fail(QStringLiteral("the stream ends early"));
    QByteArray In(qsizetype(Left), Qt::Uninitialized);
    St->ReadBuffer(In.data(), Left);
    TReader R(In);
    R.Need(4);
    if (In.left(4) != QByteArray(Magic, 4)) TReader::Fail(QStringLiteral("it is not a column-definition stream"));
    R.U8(), R.U8(), R.U8(), R.U8();
    if (R.U32() != StreamVersion) TReader::Fail(QStringLiteral("unknown version"));
    const quint32 Count = R.U32();
    // Every item takes at least its property count: a count the stream cannot hold is damage.
    if (Count > MaxItems || qint64(Count) * 4 > R.Remaining()) TReader::Fail(QStringLiteral("bad column count"));
    std::vector<TItemProps> Items(Count);
    for (TItemProps& Props : Items) {
        const quint32 N = R.U32();
        if (N > MaxProps) TReader::Fail(QStringLiteral("bad property count"));
        for (quint32 k = 0; k < N; ++k) {
            const QString Name = R.Str();
            TPropValue V;
            V.Kind = TPropKind(R.U8());
            switch (V.Kind) {
                case pkInt: V.Int = R.I32(); break;
                case pkString: V.Text = R.Str(); break;
                case pkStrings: {
                    const quint32 L = R.U32();
                    if (qint64(L) * 4 > R.Remaining()) TReader::Fail(QStringLiteral("bad list length"));
                    for (quint32 j = 0; j < L; ++j) V.List.append(R.Str());
                    break;
                }
                case pkFont:
                    V.Text = R.Str();
                    V.A = R.I32(), V.B = R.I32(), V.C = R.I32();
                    break;
                case pkPen: V.A = R.I32(), V.B = R.I32(), V.C = R.I32(); break;
                default: TReader::Fail(QStringLiteral("unknown value kind of %1").arg(Name));
            }
            Props[Name] = V;
        }
    }
    if (!R.AtEnd()) TReader::Fail(QStringLiteral("data after the last column"));

    // Everything is read; build the items aside, checking each value's range.
    auto IntOf = [](const TItemProps& P, const char* Name, int Def, int Lo, int Hi) {
        auto It = P.find(QString::fromLatin1(Name));
        if (It == P.end()) return Def;
        if (It->second.Kind != pkInt || It->second.Int < Lo || It->second.Int > Hi)
            TReader::Fail(QStringLiteral("bad value of %1").arg(QString::fromLatin1(Name)));
        return int(It->second.Int);
    };
    auto TextOf = [](const TItemProps& P, const char* Name, const QString& Def) {
        auto It = P.find(QString::fromLatin1(Name));
        if (It == P.end()) return Def;
        if (It->second.Kind != pkString)
            TReader::Fail(QStringLiteral("bad value of %1").arg(QString::fromLatin1(Name)));
        return It->second.Text;
    };
    auto Entry = [](const TItemProps& P, const char* Name, TPropKind Kind) -> const TPropValue* {
        auto It = P.find(QString::fromLatin1(Name));
        if (It == P.end()) return nullptr;
        if (It->second.Kind != Kind) TReader::Fail(QStringLiteral("bad value of %1").arg(QString::fromLatin1(Name)));
        return &It->second;
    };
    auto ApplyFont = [](TFont* F, const TPropValue* V) {
        if (!V) return;
        F->SetName(V->Text);
        F->SetHeight(V->A);
        F->SetColor(V->B);
        TFontStyles S;
        for (int s = 0; s < 4; ++s)
            if (V->C & (1 << s)) S.Include(TFontStyle(s));
        F->SetStyle(S);
    };
    auto ApplyPen = [](TPen* P, const TPropValue* V) {
        if (!V) return;
        if (V->C < psSolid || V->C > psInsideFrame) TReader::Fail(QStringLiteral("bad pen style"));
        P->SetColor(V->A);
        P->SetWidth(V->B);
        P->SetStyle(TPenStyle(V->C));
    };
    auto Borders = [](int Bits) {
        TCellBorders B;
        for (int b = 0; b < 4; ++b)
            if (Bits & (1 << b)) B = B + TCellBorders{TCellBorder(b)};
        return B;
    };
    constexpr int Big = 0x7FFFFFFF;
    std::vector<std::unique_ptr<TGridColumnItem>> Built;
    std::vector<std::pair<int, QString>> WidthHeader;
    for (const TItemProps& P : Items) {
        auto I = std::make_unique<TGridColumnItem>(nullptr);
        WidthHeader.emplace_back(IntOf(P, "Width", 50, 0, Big), TextOf(P, "Header", QString()));
        I->FAlignment = TAlignment(IntOf(P, "Alignment", taLeftJustify, 0, 2));
        I->FColumnHeader = WidthHeader.back().second;
        I->FSortStyle = TSortStyle(IntOf(P, "SortStyle", ssAutomatic, 0, ssAlphaNumericNoCase));
        I->FSortPrefix = TextOf(P, "SortPrefix", QString());
        I->FSortSuffix = TextOf(P, "SortSuffix", QString());
        I->FEditMask = TextOf(P, "EditMask", QString());
        I->FEditLength = IntOf(P, "EditLength", 0, 0, Big);
        ApplyFont(I->FFont.get(), Entry(P, "Font", pkFont));
        I->FColor = IntOf(P, "Color", 0, -Big - 1, Big);
        I->FEditorType = TEditorType(IntOf(P, "Editor", edNormal, 0, 42));
        I->FFixed = IntOf(P, "Fixed", 0, 0, 1);
        I->FReadOnly = IntOf(P, "ReadOnly", 0, 0, 1);
        if (auto* V = Entry(P, "ComboItems", pkStrings)) I->FComboItems->Assign(V->List);
        I->FDropDownCount = IntOf(P, "DropDownCount", 8, -Big - 1, Big);
        I->FSpinMin = IntOf(P, "SpinMin", 0, -Big - 1, Big);
        I->FSpinMax = IntOf(P, "SpinMax", 0, -Big - 1, Big);
        I->FSpinStep = IntOf(P, "SpinStep", 1, -Big - 1, Big);
        I->FPassword = IntOf(P, "Password", 0, 0, 1);
        ApplyFont(I->FPrintFont.get(), Entry(P, "PrintFont", pkFont));
        I->FPrintColor = IntOf(P, "PrintColor", clWhite, -Big - 1, Big);
        ApplyPen(I->FBorderPen.get(), Entry(P, "BorderPen", pkPen));
        ApplyPen(I->FPrintBorderPen.get(), Entry(P, "PrintBorderPen", pkPen));
        I->FBorders = Borders(IntOf(P, "Borders", 0, 0, 15));
        I->FPrintBorders = Borders(IntOf(P, "PrintBorders", 15, 0, 15));
        I->FTag = IntOf(P, "Tag", 0, -Big - 1, Big);
        I->FName = TextOf(P, "Name", QString());
        I->FCheckFalse = TextOf(P, "CheckFalse", QString());
        I->FCheckTrue = TextOf(P, "CheckTrue", QString());
        I->FShowBands = IntOf(P, "ShowBands", 0, 0, 1);
        if (auto* V = Entry(P, "Filter", pkStrings)) I->FFilter->Assign(V->List);
        I->FMaxSize = IntOf(P, "MaxSize", 0, -Big - 1, Big);
        I->FMinSize = IntOf(P, "MinSize", 0, -Big - 1, Big);
        I->FAutoMinSize = IntOf(P, "AutoMinSize", 0, -Big - 1, Big);
        I->FAutoMaxSize = IntOf(P, "AutoMaxSize", 0, -Big - 1, Big);
        I->FColumnPopupType = TColumnPopupType(IntOf(P, "ColumnPopupType", cpFixedCellsRClick, 0, cpAllCellsLClick));
        I->FFilterCaseSensitive = IntOf(P, "FilterCaseSensitive", 0, 0, 1);
        I->FFloatFormat = TextOf(P, "FloatFormat", QString());
        I->FHeaderAlignment = TAlignment(IntOf(P, "HeaderAlignment", taLeftJustify, 0, 2));
        ApplyFont(I->FHeaderFont.get(), Entry(P, "HeaderFont", pkFont));
        I->FPrintBorderCustom = IntOf(P, "PrintBorderCustom", 1, 0, 1);
        I->FPrintFontCustom = IntOf(P, "PrintFontCustom", 1, 0, 1);
        Built.push_back(std::move(I));
    }

    // Applied only now: the items take the read settings, and their header and width writes
    // reach the grid. The column count is left as it is.
    TGridColumnCollection* C = FColumnCollection.get();
    {
        TStateScope<bool> Quiet(C->FNoRecursiveUpdate, true);
        while (C->Count() > int(Built.size())) C->FItems.pop_back();
        while (C->Count() < int(Built.size())) {
            C->FItems.push_back(std::make_unique<TGridColumnItem>(C));
            C->FItems.back()->FDefIdx = C->Count() - 1;
        }
        for (int i = 0; i < C->Count(); ++i) {
            TGridColumnItem* I = C->FItems[size_t(i)].get();
            const TGridColumnItem* B = Built[size_t(i)].get();
            // The design position is not in the stream: the column at this index keeps its own.
            const int DefIdx = I->FDefIdx;
            I->Assign(Built[size_t(i)].get());
            I->FDefIdx = DefIdx;
            // Assign leaves these three alone; the stream holds them like every other setting.
            I->FColumnPopupType = B->FColumnPopupType;
            I->FPrintBorderCustom = B->FPrintBorderCustom;
            I->FPrintFontCustom = B->FPrintFontCustom;
            I->FColor = B->FColor;
            I->SetHeader(WidthHeader[size_t(i)].second);
            I->SetWidth(WidthHeader[size_t(i)].first);
        }
    }
    Invalidate();
}
