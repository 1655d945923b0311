#include "grid/control/GridCellIO.h"

#include "grid/base/BaseGrid.h"
#include "grid/control/CellGraphic.h"

#include <QtEndian>

#include <cstring>
#include <limits>

namespace {

const char Signature[4] = {'G', 'C', 'I', 'O'};
constexpr int MaxDepth = 4;

enum TValueKind : quint8 { vkInt = 1, vkBool, vkDouble, vkString, vkStrings, vkBytes, vkObject };

[[noreturn]] void Damaged(const QString& What) {
    throw EReadError(QStringLiteral("Invalid grid cell stream: ") + What);
}

} // namespace

// Setters, so the target's cell is repainted where its grid shows it.

void CopyCarriedCellProperties(TCellProperties* D, const TCellProperties* S) {
    D->SetBrushStyle(S->BrushStyle());
    D->SetBrushColor(S->BrushColor());
    D->SetBrushColorTo(S->BrushColorTo());
    D->SetFontSize(S->FontSize());
    D->SetFontColor(S->FontColor());
    D->SetFontStyle(S->FontStyle());
    D->SetCellSpanX(S->CellSpanX());
    D->SetCellSpanY(S->CellSpanY());
    D->SetBorderWidth(S->BorderWidth());
    D->SetBorderColor(S->BorderColor());
    D->SetAlignment(S->Alignment());
    D->SetVAlignment(S->VAlignment());
    D->SetWordWrap(S->WordWrap());
    D->SetIsBaseCell(S->IsBaseCell());
    D->SetCalcType(S->CalcType());
    D->SetNodeLevel(S->NodeLevel());
    D->SetEditor(S->Editor());
    D->SetFontName(S->FontName());
    D->SetReadOnly(S->ReadOnly());
    D->SetGradientDirection(S->GradientDirection());
}

void CopyCarriedCellGraphic(TCellGraphic* D, const TCellGraphic* S) {
    D->SetCellType(S->CellType());
    D->SetCellVAlign(S->CellVAlign());
    D->SetCellHAlign(S->CellHAlign());
    D->SetCellIndex(S->CellIndex());
    D->SetCellTransparent(S->CellTransparent());
    D->SetCellCreated(S->CellCreated());
    D->SetCellBoolean(S->CellBoolean());
    D->SetCellAngle(S->CellAngle());
    D->SetCellValue(S->CellValue());
    D->SetCellErrFrom(S->CellErrFrom());
    D->SetCellErrLen(S->CellErrLen());
    D->SetCellText(S->CellText());
    D->SetCellCheckBoxState(S->CellCheckBoxState());
    D->SetHasBalloon(S->HasBalloon());
}

namespace {

int FontStyleBits(TFontStyles S) {
    int Bits = 0;
    for (int I = 0; I < 4; ++I)
        if (S.Contains(TFontStyle(I))) Bits |= 1 << I;
    return Bits;
}

TFontStyles FontStylesOf(int Bits) {
    TFontStyles S;
    for (int I = 0; I < 4; ++I)
        if (Bits & (1 << I)) S = S + TFontStyle(I);
    return S;
}

// A graphic as the stream keeps it: its class name and its bytes. A GIF, which cannot be
// written, travels as PNG.
std::unique_ptr<TGraphic> NewGraphicOfClass(const QString& ClassName) {
    if (ClassName == QLatin1String("TBitmap")) return std::make_unique<TBitmap>();
    if (ClassName == QLatin1String("TPngImage")) return std::make_unique<TPngImage>();
    if (ClassName == QLatin1String("TJPEGImage")) return std::make_unique<TJPEGImage>();
    if (ClassName == QLatin1String("TIcon")) return std::make_unique<TIcon>();
    Damaged(QStringLiteral("unknown picture class"));
}

QString GraphicClassName(TGraphic* G) {
    if (dynamic_cast<TGIFImage*>(G) || dynamic_cast<TPngImage*>(G)) return QStringLiteral("TPngImage");
    if (dynamic_cast<TBitmap*>(G)) return QStringLiteral("TBitmap");
    if (dynamic_cast<TJPEGImage*>(G)) return QStringLiteral("TJPEGImage");
    if (dynamic_cast<TIcon*>(G)) return QStringLiteral("TIcon");
    return QString();
}

QByteArray GraphicBytes(TGraphic* G) {
    if (!G || G->Empty()) return QByteArray();
    if (dynamic_cast<TGIFImage*>(G)) {
        TPngImage Png;
        Png.Assign(G);
        return Png.SaveToBytes();
    }
    return G->SaveToBytes();
}

} // namespace

// ---- TCarrierWriter -----------------------------------------------------------------------------------
void TCarrierWriter::RawBytes(const void* Data, int Count) { FStream->WriteBuffer(Data, Count); }

void TCarrierWriter::RawU32(quint32 Value) {
    char B[4];
    qToLittleEndian(Value, B);
    RawBytes(B, 4);
}

void TCarrierWriter::RawString(const QString& Value) {
    RawU32(quint32(Value.size()));
    for (QChar C : Value) {
        char B[2];
        qToLittleEndian(C.unicode(), B);
        RawBytes(B, 2);
    }
}

void TCarrierWriter::RawName(const QString& Name) {
    const QByteArray N = Name.toLatin1();
    const quint8 Len = quint8(N.size());
    RawBytes(&Len, 1);
    RawBytes(N.constData(), Len);
}

void TCarrierWriter::Int(const char* Name, int Value) {
    RawName(QString::fromLatin1(Name));
    const quint8 K = vkInt;
    RawBytes(&K, 1);
    RawU32(quint32(Value));
}

void TCarrierWriter::Bool(const char* Name, bool Value) {
    RawName(QString::fromLatin1(Name));
    const quint8 B[2] = {vkBool, quint8(Value ? 1 : 0)};
    RawBytes(B, 2);
}

void TCarrierWriter::Double(const char* Name, double Value) {
    RawName(QString::fromLatin1(Name));
    const quint8 K = vkDouble;
    RawBytes(&K, 1);
    quint64 Bits;
    std::memcpy(&Bits, &Value, 8);
    char B[8];
    qToLittleEndian(Bits, B);
    RawBytes(B, 8);
}

void TCarrierWriter::String(const char* Name, const QString& Value) {
    RawName(QString::fromLatin1(Name));
    const quint8 K = vkString;
    RawBytes(&K, 1);
    RawString(Value);
}

void TCarrierWriter::Strings(const char* Name, const QStringList& Value) {
    RawName(QString::fromLatin1(Name));
    const quint8 K = vkStrings;
    RawBytes(&K, 1);
    RawU32(quint32(Value.size()));
    for (const QString& S : Value) RawString(S);
}

void TCarrierWriter::Bytes(const char* Name, const QByteArray& Value) {
    RawName(QString::fromLatin1(Name));
    const quint8 K = vkBytes;
    RawBytes(&K, 1);
    RawU32(quint32(Value.size()));
    RawBytes(Value.constData(), int(Value.size()));
}

void TCarrierWriter::BeginObject(const char* Name) {
    RawName(QString::fromLatin1(Name));
    const quint8 K = vkObject;
    RawBytes(&K, 1);
}

void TCarrierWriter::EndObject() {
    const quint8 End = 0;
    RawBytes(&End, 1);
}

// ---- TCarrierReader -----------------------------------------------------------------------------------
QByteArray TCarrierReader::RawBytes(quint32 Count) {
    // A length beyond what the stream holds is damage, not a reason to allocate.
    if (qint64(Count) > FStream->Size() - FStream->Position()) Damaged(QStringLiteral("length beyond the end"));
    QByteArray B(qsizetype(Count), Qt::Uninitialized);
    FStream->ReadBuffer(B.data(), Count);
    return B;
}

quint32 TCarrierReader::RawU32() { return qFromLittleEndian<quint32>(RawBytes(4).constData()); }

QString TCarrierReader::RawString() {
    const quint32 N = RawU32();
    if (N > quint32(0x7FFFFFFF) / 2) Damaged(QStringLiteral("length beyond the end"));
    const QByteArray B = RawBytes(N * 2);
    QString S(qsizetype(N), Qt::Uninitialized);
    for (quint32 I = 0; I < N; ++I) S[qsizetype(I)] = QChar(qFromLittleEndian<quint16>(B.constData() + 2 * I));
    return S;
}

QString TCarrierReader::NextName() {
    const quint8 Len = quint8(RawBytes(1).at(0));
    if (Len == 0) return QString();
    const QByteArray N = RawBytes(Len);
    for (char C : N)
        if (!((C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '_'))
            Damaged(QStringLiteral("bad property name"));
    return QString::fromLatin1(N);
}

quint8 TCarrierReader::Kind() { return quint8(RawBytes(1).at(0)); }

void TCarrierReader::Expect(quint8 K) {
    if (Kind() != K) Damaged(QStringLiteral("property of the wrong type"));
}

int TCarrierReader::Int() {
    Expect(vkInt);
    return int(RawU32());
}

int TCarrierReader::IntIn(int Min, int Max) {
    const int V = Int();
    if (V < Min || V > Max) Damaged(QStringLiteral("value out of range"));
    return V;
}

bool TCarrierReader::Bool() {
    Expect(vkBool);
    const quint8 V = quint8(RawBytes(1).at(0));
    if (V > 1) Damaged(QStringLiteral("value out of range"));
    return V == 1;
}

double TCarrierReader::Double() {
    Expect(vkDouble);
    const quint64 Bits = qFromLittleEndian<quint64>(RawBytes(8).constData());
    double V;
    std::memcpy(&V, &Bits, 8);
    return V;
}

QString TCarrierReader::String() {
    Expect(vkString);
    return RawString();
}

QStringList TCarrierReader::Strings() {
    Expect(vkStrings);
    const quint32 N = RawU32();
    // Every string takes at least its four length bytes.
    if (qint64(N) * 4 > FStream->Size() - FStream->Position()) Damaged(QStringLiteral("length beyond the end"));
    QStringList L;
    for (quint32 I = 0; I < N; ++I) L << RawString();
    return L;
}

QByteArray TCarrierReader::Bytes() {
    Expect(vkBytes);
    return RawBytes(RawU32());
}

void TCarrierReader::Object(const std::function<void(const QString& Name)>& Each) {
    Expect(vkObject);
    if (++FDepth > MaxDepth) Damaged(QStringLiteral("objects nested too deep"));
    for (QString Name = NextName(); !Name.isEmpty(); Name = NextName()) Each(Name);
    --FDepth;
}

// ---- whole carriers -----------------------------------------------------------------------------------
void WriteGridCarrier(TStream* Stream, const TGridStreamCarrier* Carrier) {
    TCarrierWriter W(Stream);
    W.RawBytes(Signature, 4);
    W.RawString(Carrier->CarrierClassName());
    W.RawString(Carrier->Name());
    Carrier->WriteProperties(W);
    W.EndObject();
}

void ReadGridCarrier(TStream* Stream, TGridStreamCarrier* Carrier) {
    try {
        TCarrierReader R(Stream);
        if (R.RawBytes(4) != QByteArray(Signature, 4)) Damaged(QStringLiteral("no carrier signature"));
        if (R.RawString() != Carrier->CarrierClassName()) Damaged(QStringLiteral("carrier of another class"));
        R.RawString(); // the component name: cleared below
        std::unique_ptr<TGridStreamCarrier> Staged = Carrier->NewEmpty();
        for (QString Name = R.NextName(); !Name.isEmpty(); Name = R.NextName()) Staged->ReadProperty(Name, R);
        Carrier->TakeFrom(Staged.get());
        Carrier->SetName(QString());
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& E) {
        throw EReadError(QStringLiteral("Invalid grid cell stream: ") + E.Message());
    }
}

namespace {
[[noreturn]] void UnknownProperty(const QString& Name) { Damaged(QStringLiteral("unknown property ") + Name); }
} // namespace

// ---- TGridCellIO --------------------------------------------------------------------------------------
void TGridCellIO::SetCol(int Value) {
    if (Value < 0) throw ERangeError(QStringLiteral("Column %1 does not fit the cell stream").arg(Value));
    FCol = Value;
}

void TGridCellIO::SetRow(int Value) {
    if (Value < 0) throw ERangeError(QStringLiteral("Row %1 does not fit the cell stream").arg(Value));
    FRow = Value;
}

void TGridCellIO::WriteProperties(TCarrierWriter& W) const {
    W.Int("Col", FCol);
    W.Int("Row", FRow);
    W.String("Cell", FCell);
    W.Bool("HasProp", FHasProp);
}

void TGridCellIO::ReadProperty(const QString& Name, TCarrierReader& R) {
    if (Name == QLatin1String("Col"))
        FCol = R.IntIn(0, std::numeric_limits<int>::max());
    else if (Name == QLatin1String("Row"))
        FRow = R.IntIn(0, std::numeric_limits<int>::max());
    else if (Name == QLatin1String("Cell"))
        FCell = R.String();
    else if (Name == QLatin1String("HasProp"))
        FHasProp = R.Bool();
    else
        UnknownProperty(Name);
}

std::unique_ptr<TGridStreamCarrier> TGridCellIO::NewEmpty() const { return std::make_unique<TGridCellIO>(nullptr); }

void TGridCellIO::TakeFrom(TGridStreamCarrier* Source) {
    auto* S = dynamic_cast<TGridCellIO*>(Source);
    if (!S) return;
    FCol = S->FCol;
    FRow = S->FRow;
    FCell = S->FCell;
    FHasProp = S->FHasProp;
}

// ---- TGridCellPropIO ----------------------------------------------------------------------------------
TGridCellPropIO::TGridCellPropIO(TComponent* AOwner)
    : TGridStreamCarrier(AOwner),
      FCellProperties(std::make_unique<TCellProperties>(dynamic_cast<TBaseGrid*>(AOwner), 0, 0)) {}

TGridCellPropIO::~TGridCellPropIO() = default;

void TGridCellPropIO::SetCellProperties(TCellProperties* Value) {
    if (Value && Value != FCellProperties.get()) CopyCarriedCellProperties(FCellProperties.get(), Value);
}

void TGridCellPropIO::WriteProperties(TCarrierWriter& W) const {
    const TCellProperties* P = FCellProperties.get();
    W.BeginObject("CellProperties");
    W.Int("BrushStyle", P->BrushStyle());
    W.Int("BrushColor", int(P->BrushColor()));
    W.Int("BrushColorTo", int(P->BrushColorTo()));
    W.Int("FontSize", P->FontSize());
    W.Int("FontColor", int(P->FontColor()));
    W.Int("FontStyle", FontStyleBits(P->FontStyle()));
    W.Int("CellSpanX", P->CellSpanX());
    W.Int("CellSpanY", P->CellSpanY());
    W.Int("BorderWidth", P->BorderWidth());
    W.Int("BorderColor", int(P->BorderColor()));
    W.Int("Alignment", P->Alignment());
    W.Int("VAlignment", P->VAlignment());
    W.Bool("WordWrap", P->WordWrap());
    W.Bool("IsBaseCell", P->IsBaseCell());
    W.Int("CalcType", P->CalcType());
    W.Int("NodeLevel", P->NodeLevel());
    W.Int("Editor", P->Editor());
    W.String("FontName", P->FontName());
    W.Bool("ReadOnly", P->ReadOnly());
    W.Int("GradientDirection", P->GradientDirection());
    W.EndObject();
    W.Bool("HasGraphic", FHasGraphic);
}

void TGridCellPropIO::ReadProperty(const QString& Name, TCarrierReader& R) {
    if (Name == QLatin1String("HasGraphic")) {
        FHasGraphic = R.Bool();
        return;
    }
    if (Name != QLatin1String("CellProperties")) UnknownProperty(Name);
    TCellProperties* P = FCellProperties.get();
    R.Object([P, &R](const QString& N) {
        if (N == QLatin1String("BrushStyle"))
            P->SetBrushStyle(TBrushStyle(R.IntIn(bsSolid, bsDiagCross)));
        else if (N == QLatin1String("BrushColor"))
            P->SetBrushColor(TColor(R.Int()));
        else if (N == QLatin1String("BrushColorTo"))
            P->SetBrushColorTo(TColor(R.Int()));
        else if (N == QLatin1String("FontSize"))
            P->SetFontSize(R.Int());
        else if (N == QLatin1String("FontColor"))
            P->SetFontColor(TColor(R.Int()));
        else if (N == QLatin1String("FontStyle"))
            P->SetFontStyle(FontStylesOf(R.IntIn(0, 15)));
        else if (N == QLatin1String("CellSpanX"))
            P->SetCellSpanX(R.Int());
        else if (N == QLatin1String("CellSpanY"))
            P->SetCellSpanY(R.Int());
        else if (N == QLatin1String("BorderWidth"))
            P->SetBorderWidth(R.Int());
        else if (N == QLatin1String("BorderColor"))
            P->SetBorderColor(TColor(R.Int()));
        else if (N == QLatin1String("Alignment"))
            P->SetAlignment(TAlignment(R.IntIn(taLeftJustify, taCenter)));
        else if (N == QLatin1String("VAlignment"))
            P->SetVAlignment(TVAlignment(R.IntIn(vtaTop, vtaBottom)));
        else if (N == QLatin1String("WordWrap"))
            P->SetWordWrap(R.Bool());
        else if (N == QLatin1String("IsBaseCell"))
            P->SetIsBaseCell(R.Bool());
        else if (N == QLatin1String("CalcType"))
            P->SetCalcType(TColumnCalcType(R.IntIn(acNONE, acSTDDEV)));
        else if (N == QLatin1String("NodeLevel"))
            P->SetNodeLevel(R.Int());
        else if (N == QLatin1String("Editor"))
            P->SetEditor(TEditorType(R.IntIn(edNormal, edMaskEditBtn)));
        else if (N == QLatin1String("FontName"))
            P->SetFontName(R.String());
        else if (N == QLatin1String("ReadOnly"))
            P->SetReadOnly(R.Bool());
        else if (N == QLatin1String("GradientDirection"))
            P->SetGradientDirection(TCellGradientDirection(R.IntIn(GradientVertical, GradientHorizontal)));
        else
            UnknownProperty(N);
    });
}

std::unique_ptr<TGridStreamCarrier> TGridCellPropIO::NewEmpty() const {
    return std::make_unique<TGridCellPropIO>(nullptr);
}

void TGridCellPropIO::TakeFrom(TGridStreamCarrier* Source) {
    auto* S = dynamic_cast<TGridCellPropIO*>(Source);
    if (!S) return;
    CopyCarriedCellProperties(FCellProperties.get(), S->FCellProperties.get());
    FHasGraphic = S->FHasGraphic;
}

// ---- TGridGraphicIO -----------------------------------------------------------------------------------
TGridGraphicIO::TGridGraphicIO(TComponent* AOwner)
    : TGridStreamCarrier(AOwner), FCellGraphic(std::make_unique<TCellGraphic>()) {}

TGridGraphicIO::~TGridGraphicIO() = default;

void TGridGraphicIO::SetCellGraphic(TCellGraphic* Value) {
    if (Value && Value != FCellGraphic.get()) CopyCarriedCellGraphic(FCellGraphic.get(), Value);
}

void TGridGraphicIO::WriteProperties(TCarrierWriter& W) const {
    const TCellGraphic* G = FCellGraphic.get();
    W.BeginObject("CellGraphic");
    W.Int("CellType", G->CellType());
    W.Int("CellVAlign", G->CellVAlign());
    W.Int("CellHAlign", G->CellHAlign());
    W.Int("CellIndex", G->CellIndex());
    W.Bool("CellTransparent", G->CellTransparent());
    W.Bool("CellCreated", G->CellCreated());
    W.Bool("CellBoolean", G->CellBoolean());
    W.Int("CellAngle", G->CellAngle());
    W.Double("CellValue", G->CellValue());
    W.Int("CellErrFrom", G->CellErrFrom());
    W.Int("CellErrLen", G->CellErrLen());
    W.String("CellText", G->CellText());
    W.Int("CellCheckBoxState", G->CellCheckBoxState());
    W.Bool("HasBalloon", G->HasBalloon());
    W.EndObject();
}

void TGridGraphicIO::ReadProperty(const QString& Name, TCarrierReader& R) {
    if (Name != QLatin1String("CellGraphic")) UnknownProperty(Name);
    TCellGraphic* G = FCellGraphic.get();
    R.Object([G, &R](const QString& N) {
        if (N == QLatin1String("CellType"))
            G->SetCellType(TCellType(R.IntIn(ctBitmap, ctExpand)));
        else if (N == QLatin1String("CellVAlign"))
            G->SetCellVAlign(TCellVAlign(R.IntIn(vaTop, vaFull)));
        else if (N == QLatin1String("CellHAlign"))
            G->SetCellHAlign(TCellHAlign(R.IntIn(haLeft, haFull)));
        else if (N == QLatin1String("CellIndex"))
            G->SetCellIndex(R.Int());
        else if (N == QLatin1String("CellTransparent"))
            G->SetCellTransparent(R.Bool());
        else if (N == QLatin1String("CellCreated"))
            G->SetCellCreated(R.Bool());
        else if (N == QLatin1String("CellBoolean"))
            G->SetCellBoolean(R.Bool());
        else if (N == QLatin1String("CellAngle"))
            G->SetCellAngle(R.Int());
        else if (N == QLatin1String("CellValue"))
            G->SetCellValue(R.Double());
        else if (N == QLatin1String("CellErrFrom"))
            G->SetCellErrFrom(R.Int());
        else if (N == QLatin1String("CellErrLen"))
            G->SetCellErrLen(R.Int());
        else if (N == QLatin1String("CellText"))
            G->SetCellText(R.String());
        else if (N == QLatin1String("CellCheckBoxState"))
            G->SetCellCheckBoxState(TCheckBoxState(R.IntIn(cbUnchecked, cbGrayed)));
        else if (N == QLatin1String("HasBalloon"))
            G->SetHasBalloon(R.Bool());
        else
            UnknownProperty(N);
    });
}

std::unique_ptr<TGridStreamCarrier> TGridGraphicIO::NewEmpty() const {
    return std::make_unique<TGridGraphicIO>(nullptr);
}

void TGridGraphicIO::TakeFrom(TGridStreamCarrier* Source) {
    if (auto* S = dynamic_cast<TGridGraphicIO*>(Source))
        CopyCarriedCellGraphic(FCellGraphic.get(), S->FCellGraphic.get());
}

// ---- TGridBMPIO ---------------------------------------------------------------------------------------
TGridBMPIO::TGridBMPIO(TComponent* AOwner) : TGridStreamCarrier(AOwner), FBitmap(std::make_unique<TBitmap>()) {}
TGridBMPIO::~TGridBMPIO() = default;

void TGridBMPIO::SetBitmap(TBitmap* Value) {
    if (Value != FBitmap.get()) FBitmap->Assign(Value);
}

void TGridBMPIO::WriteProperties(TCarrierWriter& W) const { W.Bytes("Bitmap", GraphicBytes(FBitmap.get())); }

void TGridBMPIO::ReadProperty(const QString& Name, TCarrierReader& R) {
    if (Name != QLatin1String("Bitmap")) UnknownProperty(Name);
    const QByteArray B = R.Bytes();
    auto Fresh = std::make_unique<TBitmap>();
    if (!B.isEmpty()) Fresh->LoadFromBytes(B);
    FBitmap = std::move(Fresh);
}

std::unique_ptr<TGridStreamCarrier> TGridBMPIO::NewEmpty() const { return std::make_unique<TGridBMPIO>(nullptr); }

void TGridBMPIO::TakeFrom(TGridStreamCarrier* Source) {
    if (auto* S = dynamic_cast<TGridBMPIO*>(Source)) FBitmap->Assign(S->FBitmap.get());
}

// ---- TGridIconIO --------------------------------------------------------------------------------------
TGridIconIO::TGridIconIO(TComponent* AOwner) : TGridStreamCarrier(AOwner), FIcon(std::make_unique<TIcon>()) {}
TGridIconIO::~TGridIconIO() = default;

void TGridIconIO::SetIcon(TIcon* Value) {
    if (Value != FIcon.get()) FIcon->Assign(Value);
}

void TGridIconIO::WriteProperties(TCarrierWriter& W) const { W.Bytes("Icon", GraphicBytes(FIcon.get())); }

void TGridIconIO::ReadProperty(const QString& Name, TCarrierReader& R) {
    if (Name != QLatin1String("Icon")) UnknownProperty(Name);
    const QByteArray B = R.Bytes();
    auto Fresh = std::make_unique<TIcon>();
    if (!B.isEmpty()) Fresh->LoadFromBytes(B);
    FIcon = std::move(Fresh);
}

std::unique_ptr<TGridStreamCarrier> TGridIconIO::NewEmpty() const { return std::make_unique<TGridIconIO>(nullptr); }

void TGridIconIO::TakeFrom(TGridStreamCarrier* Source) {
    if (auto* S = dynamic_cast<TGridIconIO*>(Source)) FIcon->Assign(S->FIcon.get());
}

// ---- TGridPicIO ---------------------------------------------------------------------------------------
TGridPicIO::TGridPicIO(TComponent* AOwner) : TGridStreamCarrier(AOwner), FPicture(std::make_unique<TPicture>()) {}
TGridPicIO::~TGridPicIO() = default;

void TGridPicIO::SetPicture(TPicture* Value) {
    if (Value != FPicture.get()) FPicture->Assign(Value);
}

void TGridPicIO::WriteProperties(TCarrierWriter& W) const {
    TGraphic* G = FPicture->Graphic();
    const bool Has = G && !G->Empty();
    W.BeginObject("Picture");
    W.String("ClassName", Has ? GraphicClassName(G) : QString());
    W.Bytes("Data", Has ? GraphicBytes(G) : QByteArray());
    W.EndObject();
}

void TGridPicIO::ReadProperty(const QString& Name, TCarrierReader& R) {
    if (Name != QLatin1String("Picture")) UnknownProperty(Name);
    QString ClassName;
    QByteArray Data;
    R.Object([&](const QString& N) {
        if (N == QLatin1String("ClassName"))
            ClassName = R.String();
        else if (N == QLatin1String("Data"))
            Data = R.Bytes();
        else
            UnknownProperty(N);
    });
    auto Fresh = std::make_unique<TPicture>();
    if (!ClassName.isEmpty() || !Data.isEmpty()) {
        std::unique_ptr<TGraphic> G = NewGraphicOfClass(ClassName);
        G->LoadFromBytes(Data);
        Fresh->SetGraphic(G.get());
    }
    FPicture = std::move(Fresh);
}

std::unique_ptr<TGridStreamCarrier> TGridPicIO::NewEmpty() const { return std::make_unique<TGridPicIO>(nullptr); }

void TGridPicIO::TakeFrom(TGridStreamCarrier* Source) {
    if (auto* S = dynamic_cast<TGridPicIO*>(Source)) FPicture->Assign(S->FPicture.get());
}

// ---- TGridSLIO ----------------------------------------------------------------------------------------
TGridSLIO::TGridSLIO(TComponent* AOwner) : TGridStreamCarrier(AOwner), FStrings(std::make_unique<TStringList>()) {}
TGridSLIO::~TGridSLIO() = default;

void TGridSLIO::SetStrings(TStrings* Value) {
    if (Value != FStrings.get()) FStrings->Assign(Value);
}

void TGridSLIO::WriteProperties(TCarrierWriter& W) const {
    QStringList L;
    for (int I = 0; I < FStrings->Count(); ++I) L << FStrings->Get(I);
    W.Strings("Strings", L);
}

void TGridSLIO::ReadProperty(const QString& Name, TCarrierReader& R) {
    if (Name != QLatin1String("Strings")) UnknownProperty(Name);
    const QStringList L = R.Strings();
    FStrings->Clear();
    for (const QString& S : L) FStrings->Add(S);
}

std::unique_ptr<TGridStreamCarrier> TGridSLIO::NewEmpty() const { return std::make_unique<TGridSLIO>(nullptr); }

void TGridSLIO::TakeFrom(TGridStreamCarrier* Source) {
    if (auto* S = dynamic_cast<TGridSLIO*>(Source)) FStrings->Assign(S->FStrings.get());
}

// ---- TGridPropIO --------------------------------------------------------------------------------------
void TGridPropIO::WriteProperties(TCarrierWriter& W) const {
    W.Int("Version", FVersion);
    W.Int("ColCount", FColCount);
    W.Int("RowCount", FRowCount);
    if (!FColWidths.isEmpty()) W.String("ColWidths", FColWidths);
    if (!FRowHeights.isEmpty()) W.String("RowHeights", FRowHeights);
    W.Bool("FullGrid", FFullGrid);
    W.Int("ID", FID);
}

void TGridPropIO::ReadProperty(const QString& Name, TCarrierReader& R) {
    if (Name == QLatin1String("Version"))
        FVersion = R.IntIn(1, std::numeric_limits<int>::max());
    else if (Name == QLatin1String("ColCount"))
        FColCount = R.IntIn(0, std::numeric_limits<int>::max());
    else if (Name == QLatin1String("RowCount"))
        FRowCount = R.IntIn(0, std::numeric_limits<int>::max());
    else if (Name == QLatin1String("ColWidths"))
        FColWidths = R.String();
    else if (Name == QLatin1String("RowHeights"))
        FRowHeights = R.String();
    else if (Name == QLatin1String("FullGrid"))
        FFullGrid = R.Bool();
    else if (Name == QLatin1String("ID"))
        FID = R.Int();
    else
        UnknownProperty(Name);
}

std::unique_ptr<TGridStreamCarrier> TGridPropIO::NewEmpty() const {
    auto E = std::make_unique<TGridPropIO>(nullptr);
    // A header without a version mark is none of this build's.
    E->FVersion = 0;
    return E;
}

void TGridPropIO::TakeFrom(TGridStreamCarrier* Source) {
    auto* S = dynamic_cast<TGridPropIO*>(Source);
    if (!S) return;
    FVersion = S->FVersion;
    FColCount = S->FColCount;
    FRowCount = S->FRowCount;
    FColWidths = S->FColWidths;
    FRowHeights = S->FRowHeights;
    FFullGrid = S->FFullGrid;
    FID = S->FID;
}
