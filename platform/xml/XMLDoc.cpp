#include "platform/xml/XMLDoc.h"
#include "platform/rtl/Files.h"
#include <pugixml.hpp>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using pugi::xml_node;
using pugi::xml_node_struct;

inline QString FromUtf8(const char* S) { return QString::fromUtf8(S); }

// A QString as a NUL-terminated UTF-8 text for the parser's calls. Names and most cell texts
// are short: those are converted on the stack, without a heap allocation.
class TUtf8Text {
public:
    explicit TUtf8Text(const QString& S)
    {
        const qsizetype N = S.size();
        if (N * 3 < qsizetype(sizeof FBuf)) {
            // ASCII, the usual case, is copied straight; anything else goes through the encoder.
            const char16_t* P = reinterpret_cast<const char16_t*>(S.constData());
            char16_t Any = 0;
            for (qsizetype i = 0; i < N; ++i) {
                Any |= P[i];
                FBuf[i] = char(P[i]);
            }
            char* End = FBuf + N;
            if (Any >= 0x80) {
                QStringEncoder Encode(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
                End = Encode.appendToBuffer(FBuf, S);
            }
            *End = 0;
            FPtr = FBuf;
        } else {
            FLong = S.toStdString();
            FPtr = FLong.c_str();
        }
    }
    TUtf8Text(const TUtf8Text&) = delete;
    TUtf8Text& operator=(const TUtf8Text&) = delete;
    const char* c_str() const { return FPtr; }

private:
    char FBuf[772];   // texts up to 257 characters
    std::string FLong;
    const char* FPtr;
};

inline bool SameText(const char* A, const char* B)
{
    for (; *A == *B; ++A, ++B)
        if (!*A)
            return true;
    return false;
}

// Whether a name as the parser holds it (UTF-8) is Name. Only a plain ASCII name is compared
// here, without converting it; false for any other, which the caller then looks up the slow way.
inline bool MatchName(const char* Utf8, const QString& Name)
{
    const char16_t* P = reinterpret_cast<const char16_t*>(Name.constData());
    const qsizetype Len = Name.size();
    if (Len == 0)
        return false;
    for (qsizetype i = 0; i < Len; ++i) {
        const char16_t C = P[i];
        if (C - 1u >= 0x7Fu || uchar(Utf8[i]) != C)   // NUL or beyond ASCII, or a different byte
            return false;                             // (a shorter Utf8 stops at its NUL)
    }
    return Utf8[Len] == 0;
}

// The UTF-8 text into Out, reusing Out's storage when it is Out's own. Pure ASCII, the usual
// cell, is widened in place; anything else is decoded by Qt as QString::fromUtf8 does.
inline void AssignUtf8(QString& Out, const char* Text)
{
    size_t Len = 0;
    uchar Any = 0;
    for (; Text[Len]; ++Len)
        Any |= uchar(Text[Len]);
    if (Any >= 0x80) {
        Out = QString::fromUtf8(Text, qsizetype(Len));
        return;
    }
    if (Out.size() != qsizetype(Len) || !Out.isDetached())   // neighbouring cells are often as long
        Out.resize(qsizetype(Len));
    char16_t* D = reinterpret_cast<char16_t*>(Out.data());
    for (size_t i = 0; i < Len; ++i)
        D[i] = uchar(Text[i]);
}

// Parsing options: every node kind is kept (declaration, doctype, processing instructions,
// comments); whitespace between elements is dropped, whitespace that is an element's only
// content is kept (see the header for the line-break rule applied after parsing).
constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi
                                  | pugi::parse_declaration | pugi::parse_doctype
                                  | pugi::parse_ws_pcdata_single;

TNodeType TypeOf(xml_node N)
{
    switch (N.type()) {
    case pugi::node_element: return ntElement;
    case pugi::node_pcdata: return ntText;
    case pugi::node_cdata: return ntCData;
    case pugi::node_comment: return ntComment;
    case pugi::node_pi:
    case pugi::node_declaration: return ntProcessingInstr;
    case pugi::node_doctype: return ntDocType;
    case pugi::node_document: return ntDocument;
    default: return ntReserved;
    }
}

bool IsTextKind(xml_node N)
{
    return N.type() == pugi::node_pcdata || N.type() == pugi::node_cdata;
}

bool IsBlank(const char* S, bool& HasLineBreak)
{
    HasLineBreak = false;
    for (; *S; ++S) {
        if (*S == '\n' || *S == '\r')
            HasLineBreak = true;
        else if (*S != ' ' && *S != '\t')
            return false;
    }
    return true;
}

// A whitespace-only text that spans lines and is the only child of its element is the
// indentation of a hand-formatted file (an empty section written as "<S>\n  </S>"), not content:
// it is dropped so that such a section has no children. Single-line blanks are kept as text.
void DropIndentation(xml_node Root)
{
    struct Walker : pugi::xml_tree_walker {
        std::vector<xml_node> Drop;
        bool for_each(xml_node& N) override
        {
            if (N.type() == pugi::node_pcdata && !N.previous_sibling() && !N.next_sibling()) {
                bool LineBreak;
                if (IsBlank(N.value(), LineBreak) && LineBreak)
                    Drop.push_back(N);
            }
            return true;
        }
    } W;
    Root.traverse(W);
    for (xml_node N : W.Drop)
        N.parent().remove_child(N);
}

// Line and column (1-based, column in characters) of a byte offset into UTF-8 text.
void LineAndColumn(const QByteArray& Data, ptrdiff_t Offset, int& Line, int& Column)
{
    if (Offset < 0) Offset = 0;
    if (Offset > Data.size()) Offset = Data.size();
    Line = 1;
    qsizetype LineStart = 0;
    for (qsizetype i = 0; i < Offset; ++i) {
        if (Data[i] == '\n') {
            ++Line;
            LineStart = i + 1;
        }
    }
    Column = QString::fromUtf8(Data.constData() + LineStart, Offset - LineStart).size() + 1;
}

struct TByteWriter : pugi::xml_writer {
    QByteArray& Out;
    explicit TByteWriter(QByteArray& O) : Out(O) {}
    void write(const void* Data, size_t Size) override
    {
        Out.append(static_cast<const char*>(Data), static_cast<qsizetype>(Size));
    }
};

void AppendEscapedAttr(QByteArray& Out, const char* S)
{
    for (; *S; ++S) {
        switch (*S) {
        case '&': Out.append("&amp;"); break;
        case '<': Out.append("&lt;"); break;
        case '"': Out.append("&quot;"); break;
        default: Out.append(*S);
        }
    }
}

// The declaration as written: a loaded file's encoding is replaced, since the file is saved
// as UTF-8 whatever it was read from.
void AppendDeclaration(QByteArray& Out, xml_node Decl)
{
    Out.append("<?xml");
    for (pugi::xml_attribute A : Decl.attributes()) {
        Out.append(' ');
        Out.append(A.name());
        Out.append("=\"");
        if (std::strcmp(A.name(), "encoding") == 0)
            Out.append("UTF-8");
        else
            AppendEscapedAttr(Out, A.value());
        Out.append('"');
    }
    Out.append("?>");
}

[[noreturn]] void RaiseIndex(const char* What, int Index, int Count)
{
    throw EXMLDocError(QStringLiteral("%1 index out of bounds (%2, count %3)")
                           .arg(QLatin1String(What)).arg(Index).arg(Count));
}

}   // namespace

// ---- IXMLNodeList --------------------------------------------------------------------------

int IXMLNodeList::Count() const
{
    if (!FParent)
        return 0;
    TXMLDocument::TChildCache* C = FDoc ? &FDoc->FCache : nullptr;
    if (C && C->Parent == FParent && C->Version == FDoc->FVersion && C->Count >= 0)
        return C->Count;
    int N = 0;
    for (xml_node Child = xml_node(FParent).first_child(); Child; Child = Child.next_sibling())
        ++N;
    if (C) {
        if (C->Parent != FParent || C->Version != FDoc->FVersion)
            *C = {FParent, FDoc->FVersion, -1, nullptr, -1};
        C->Count = N;
    }
    return N;
}

IXMLNode IXMLNodeList::Nodes(int Index) const
{
    if (FParent && Index >= 0) {
        TXMLDocument::TChildCache* C = FDoc ? &FDoc->FCache : nullptr;
        xml_node Child;
        int At = 0;
        if (C && C->Parent == FParent && C->Version == FDoc->FVersion && C->Index >= 0
            && C->Index <= Index) {
            Child = xml_node(C->Node);   // go on from the last position asked
            At = C->Index;
        } else {
            Child = xml_node(FParent).first_child();
        }
        for (; Child && At < Index; Child = Child.next_sibling())
            ++At;
        if (Child) {
            if (C) {
                if (C->Parent != FParent || C->Version != FDoc->FVersion)
                    *C = {FParent, FDoc->FVersion, -1, nullptr, -1};
                C->Index = Index;
                C->Node = Child.internal_object();
            }
            return IXMLNode(Child.internal_object(), FDoc);
        }
    }
    RaiseIndex("Node", Index, Count());
}

IXMLNode IXMLNodeList::operator[](int Index) const { return Nodes(Index); }

IXMLNode IXMLNodeList::First() const
{
    return FParent ? IXMLNode(xml_node(FParent).first_child().internal_object(), FDoc) : IXMLNode();
}

IXMLNode IXMLNodeList::Last() const
{
    return FParent ? IXMLNode(xml_node(FParent).last_child().internal_object(), FDoc) : IXMLNode();
}

IXMLNode IXMLNodeList::FindNode(const QString& NodeName) const
{
    if (!FParent)
        return {};
    return IXMLNode(xml_node(FParent).child(TUtf8Text(NodeName).c_str()).internal_object(), FDoc);
}

int IXMLNodeList::IndexOf(const IXMLNode& Node) const
{
    if (FParent && Node.FNode) {
        int I = 0;
        for (xml_node C = xml_node(FParent).first_child(); C; C = C.next_sibling(), ++I)
            if (C.internal_object() == Node.FNode)
                return I;
    }
    return -1;
}

IXMLNode IXMLNodeList::Add(const IXMLNode& Node)
{
    if (!FParent)
        throw EXMLDocError("Cannot add a node to a null node");
    xml_node Parent(FParent);
    xml_node Moved(Node.Required());
    xml_node Result;
    if (Moved.root() != Parent.root()) {
        // Made by CreateNode in the side document (or taken from another document): copy it
        // in; a loose original has no other use and is dropped.
        Result = Parent.append_copy(Moved);
        if (Result && FDoc && FDoc->FLoose && Moved.root() == FDoc->FLoose->root())
            Moved.parent().remove_child(Moved);
    } else {
        Result = Parent.append_move(Moved);
    }
    if (FDoc)
        FDoc->Changed();
    if (!Result)
        throw EXMLDocError(QStringLiteral("Cannot add a node of this kind here"));
    if (FDoc)
        FDoc->FActive = true;
    return IXMLNode(Result.internal_object(), FDoc);
}

void IXMLNodeList::Delete(int Index)
{
    IXMLNode N = Nodes(Index);
    if (FDoc)
        FDoc->Changed();
    xml_node(FParent).remove_child(xml_node(N.FNode));
}

void IXMLNodeList::Clear()
{
    if (FDoc)
        FDoc->Changed();
    if (FParent)
        xml_node(FParent).remove_children();
}

// ---- IXMLNode ------------------------------------------------------------------------------

[[noreturn]] static void RaiseNullNode()
{
    throw EXMLDocError("Access to a node that does not exist");
}

xml_node_struct* IXMLNode::Required() const
{
    if (!FNode) [[unlikely]]
        RaiseNullNode();
    return FNode;
}

TNodeType IXMLNode::NodeType() const
{
    return FNode ? TypeOf(xml_node(FNode)) : ntReserved;
}

QString IXMLNode::NodeName() const
{
    xml_node N(Required());
    switch (N.type()) {
    case pugi::node_pcdata: return QStringLiteral("#text");
    case pugi::node_cdata: return QStringLiteral("#cdata-section");
    case pugi::node_comment: return QStringLiteral("#comment");
    case pugi::node_document: return QStringLiteral("#document");
    case pugi::node_declaration: return QStringLiteral("xml");
    default: return FromUtf8(N.name());
    }
}

bool IXMLNode::IsTextElement() const
{
    xml_node N(Required());
    if (N.type() != pugi::node_element)
        return false;
    xml_node C = N.first_child();
    return !C || (IsTextKind(C) && !C.next_sibling());
}

QString IXMLNode::NodeValue() const
{
    xml_node N(Required());
    if (N.type() == pugi::node_element)
        return Text();
    return FromUtf8(N.value());
}

void IXMLNode::SetNodeValue(const QString& Value)
{
    SetText(Value);
}

QString IXMLNode::Text() const
{
    xml_node N(Required());
    if (N.type() != pugi::node_element && N.type() != pugi::node_document)
        return FromUtf8(N.value());
    xml_node C = N.first_child();
    if (C && IsTextKind(C) && !C.next_sibling())
        return FromUtf8(C.value());   // the common case, without building a joined buffer
    std::string Joined;
    for (; C; C = C.next_sibling())
        if (IsTextKind(C))
            Joined += C.value();
    return QString::fromStdString(Joined);
}

void IXMLNode::SetText(const QString& Value)
{
    xml_node N(Required());
    if (N.type() != pugi::node_element) {
        if (!N.set_value(TUtf8Text(Value).c_str()))
            throw EXMLDocError("This node has no value to set");
        return;
    }
    if (FDoc)
        FDoc->Changed();
    N.remove_children();
    if (!Value.isEmpty())
        N.append_child(pugi::node_pcdata).set_value(TUtf8Text(Value).c_str());
}

IXMLNodeList IXMLNode::ChildNodes() const
{
    return IXMLNodeList(Required(), FDoc);
}

bool IXMLNode::HasChildNodes() const
{
    return FNode && xml_node(FNode).first_child();
}

IXMLNode IXMLNode::FindNode(const QString& NodeName) const
{
    return ChildNodes().FindNode(NodeName);
}

IXMLNode IXMLNode::AddChild(const QString& NodeName)
{
    xml_node N(Required());
    if (FDoc)
        FDoc->Changed();
    xml_node C = N.append_child(TUtf8Text(NodeName).c_str());
    if (!C)
        throw EXMLDocError(QStringLiteral("Cannot add element \"%1\" here").arg(NodeName));
    if (FDoc)
        FDoc->SetFresh(C.internal_object());
    return IXMLNode(C.internal_object(), FDoc);
}

IXMLNode IXMLNode::ParentNode() const
{
    xml_node P = xml_node(Required()).parent();
    if (!P || P.type() == pugi::node_document)
        return {};
    return IXMLNode(P.internal_object(), FDoc);
}

IXMLNode IXMLNode::NextSibling() const
{
    return IXMLNode(xml_node(Required()).next_sibling().internal_object(), FDoc);
}

IXMLNode IXMLNode::PreviousSibling() const
{
    return IXMLNode(xml_node(Required()).previous_sibling().internal_object(), FDoc);
}

// Where the lookups of a row stand: readers ask a row's attributes in file order, so the
// attribute after the last one found is nearly always the one asked for next. Find tries it
// before searching the element. A build reads thousands of values; this path keeps to the
// fewest calls into the parser's library.
struct TXMLDocument::TAttrHint {
    xml_node_struct* Node = nullptr;
    uint64_t Version = 0;
    pugi::xml_attribute Next;   // after the last one found; may be empty
};

inline TXMLDocument::TAttrHint& TXMLDocument::Hint(xml_node_struct* Node)
{
    TAttrHint& H = *FHint;
    if (H.Node != Node || H.Version != FVersion) {
        H.Node = Node;
        H.Version = FVersion;
        H.Next = xml_node(Node).first_attribute();
    }
    return H;
}

bool IXMLNode::Find(const QString& Name, pugi::xml_attribute& Found) const
{
    if (FDoc) {
        TXMLDocument::TAttrHint& H = FDoc->Hint(Required());
        const pugi::xml_attribute Next = H.Next;
        if (MatchName(Next.name(), Name)) {
            H.Next = Next.next_attribute();
            Found = Next;
            return true;
        }
    }
    return Find(TUtf8Text(Name).c_str(), Found);
}

bool IXMLNode::Find(const char* Name, pugi::xml_attribute& Found) const
{
    if (!FDoc || !*Name) {
        Found = xml_node(Required()).attribute(Name);
        return !Found.empty();
    }
    TXMLDocument::TAttrHint& H = FDoc->Hint(Required());
    const pugi::xml_attribute Next = H.Next;
    if (SameText(Next.name(), Name)) {
        H.Next = Next.next_attribute();
        Found = Next;
        return true;
    }
    // Beyond it to the last attribute, then from the first one up to it.
    for (pugi::xml_attribute A = Next.next_attribute(); A; A = A.next_attribute())
        if (SameText(A.name(), Name)) {
            H.Next = A.next_attribute();
            Found = A;
            return true;
        }
    for (pugi::xml_attribute A = xml_node(FNode).first_attribute(); A && A != Next; A = A.next_attribute())
        if (SameText(A.name(), Name)) {
            H.Next = A.next_attribute();
            Found = A;
            return true;
        }
    return false;
}

bool IXMLNode::HasAttribute(const QString& Name) const
{
    pugi::xml_attribute A;
    return FNode && Find(Name, A);
}

std::optional<QString> IXMLNode::Attributes(const QString& Name) const
{
    pugi::xml_attribute A;
    if (!Find(Name, A))
        return std::nullopt;
    return FromUtf8(A.value());
}

QString IXMLNode::AttributeText(const QString& Name) const
{
    pugi::xml_attribute A;
    if (!Find(Name, A))
        throw EXMLDocError(QStringLiteral("Attribute \"%1\" missing on element \"%2\"")
                               .arg(Name, NodeName()));
    return FromUtf8(A.value());
}

bool IXMLNode::ReadAttribute(const QString& Name, QString& Value) const
{
    pugi::xml_attribute A;
    if (!Find(Name, A))
        return false;
    AssignUtf8(Value, A.value());
    return true;
}

bool IXMLNode::ReadAttribute(const char* Name, QString& Value) const
{
    pugi::xml_attribute A;
    if (!Find(Name, A))
        return false;
    AssignUtf8(Value, A.value());
    return true;
}

void IXMLNode::ReadAttributes(std::span<const char* const> Names, std::span<const char*> Values) const
{
    const size_t Count = Names.size();
    if (Values.size() < Count)
        throw EXMLDocError(QStringLiteral("%1 attribute names asked with room for %2 values")
                               .arg(Count).arg(Values.size()));
    std::fill_n(Values.begin(), Count, nullptr);
    size_t Left = Count;
    size_t Expect = 0;   // the name after the last one found: what a file in order has next
    // Every attribute has a name (the parser requires one, SetAttribute refuses an empty one), so
    // the empty name the parser gives past the last attribute ends the list: one call fewer each.
    for (pugi::xml_attribute A = xml_node(Required()).first_attribute(); Left; A = A.next_attribute()) {
        const char* Name = A.name();
        if (!*Name)
            break;
        size_t K = Expect;
        if (K >= Count || !SameText(Name, Names[K])) {
            // Out of order, or not asked for: on from the expected name, then from the first.
            K = Count;
            for (size_t i = Expect + 1; i < Count; ++i)
                if (SameText(Name, Names[i])) {
                    K = i;
                    break;
                }
            for (size_t i = 0; K == Count && i < Expect && i < Count; ++i)
                if (SameText(Name, Names[i]))
                    K = i;
            if (K == Count)
                continue;
        }
        Expect = K + 1;
        if (!Values[K]) {
            Values[K] = A.value();
            if (--Left == 0)
                break;   // the rest of the row is not asked for
        }
    }
}

void IXMLNode::SetAttribute(const QString& Name, const QString& Value)
{
    xml_node N(Required());
    if (N.type() != pugi::node_element && N.type() != pugi::node_declaration)
        throw EXMLDocError(QStringLiteral("Only an element has attributes (setting \"%1\")").arg(Name));
    // Saved, it would read ="..." and make the file malformed; nor could it be found again.
    if (Name.isEmpty())
        throw EXMLDocError(QStringLiteral("An attribute needs a name (value \"%1\" not set on element \"%2\")")
                               .arg(Value, NodeName()));
    const TUtf8Text Key(Name);
    pugi::xml_attribute A;
    if (FDoc && FDoc->FFresh == FNode && FDoc->FFreshVersion == FDoc->FVersion) {
        // A cheap fingerprint: length, first, middle and last character. Names that share it
        // are merely searched for.
        const qsizetype Len = Name.size();
        const uint64_t Hash = Len == 0 ? 0
                                       : uint64_t(Len) | uint64_t(Name[0].unicode()) << 16
                                             | uint64_t(Name[Len / 2].unicode()) << 32
                                             | uint64_t(Name[Len - 1].unicode()) << 48;
        std::vector<uint64_t>& Seen = FDoc->FFreshNames;
        if (std::find(Seen.begin(), Seen.end(), Hash) == Seen.end()) {
            Seen.push_back(Hash);
            A = N.append_attribute(Key.c_str());
        } else {
            Find(Key.c_str(), A);
        }
    } else {
        Find(Key.c_str(), A);
    }
    if (!A)
        A = N.append_attribute(Key.c_str());
    if (!A)
        throw EXMLDocError(QStringLiteral("Cannot set attribute \"%1\"").arg(Name));
    A.set_value(TUtf8Text(Value).c_str());
}

bool IXMLNode::RemoveAttribute(const QString& Name)
{
    if (FDoc)
        FDoc->Changed();
    return xml_node(Required()).remove_attribute(TUtf8Text(Name).c_str());
}

int IXMLNode::AttributeCount() const
{
    int N = 0;
    for (pugi::xml_attribute A = xml_node(Required()).first_attribute(); A; A = A.next_attribute())
        ++N;
    return N;
}

static pugi::xml_attribute AttributeAt(xml_node N, int Index)
{
    int I = 0;
    for (pugi::xml_attribute A = N.first_attribute(); A; A = A.next_attribute(), ++I)
        if (I == Index)
            return A;
    return {};
}

QString IXMLNode::AttributeName(int Index) const
{
    pugi::xml_attribute A = AttributeAt(xml_node(Required()), Index);
    if (!A)
        RaiseIndex("Attribute", Index, AttributeCount());
    return FromUtf8(A.name());
}

QString IXMLNode::AttributeValue(int Index) const
{
    pugi::xml_attribute A = AttributeAt(xml_node(Required()), Index);
    if (!A)
        RaiseIndex("Attribute", Index, AttributeCount());
    return FromUtf8(A.value());
}

// ---- TXMLDocument --------------------------------------------------------------------------

TXMLDocument::TXMLDocument()
    : FHint(std::make_unique<TAttrHint>()), FDoc(std::make_unique<pugi::xml_document>())
{
}

TXMLDocument::~TXMLDocument() = default;

void TXMLDocument::SetActive(bool Value)
{
    if (!Value)
        Clear();
    FActive = Value;
}

void TXMLDocument::Clear()
{
    Changed();
    FDoc->reset();
    FBuffer.clear();   // only after the document that points into it
    FLoose.reset();
    FActive = true;
}

namespace {

bool HasUtf16Bom(const QByteArray& Data)
{
    return Data.size() >= 2
           && ((uchar(Data[0]) == 0xFF && uchar(Data[1]) == 0xFE)
               || (uchar(Data[0]) == 0xFE && uchar(Data[1]) == 0xFF));
}

// Text with a UTF-16 byte-order mark is turned into UTF-8 before parsing, so that an error's
// place is counted in the text the user sees; everything else goes to the parser as it is.
QByteArray Utf16ToUtf8(const QByteArray& Data)
{
    QStringDecoder Decode(uchar(Data[0]) == 0xFF ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    return QString(Decode(Data.mid(2))).toUtf8();
}

[[noreturn]] void RaiseParseError(const pugi::xml_parse_result& R, const QByteArray& Text,
                                  const QString& Source)
{
    int Line, Column;
    LineAndColumn(Text, R.offset, Line, Column);
    const QString Where = Source.isEmpty() ? QString() : QStringLiteral(" in \"%1\"").arg(Source);
    throw EXMLDocError(QStringLiteral("%1%2 at line %3, column %4 (offset %5)")
                           .arg(FromUtf8(R.description()), Where)
                           .arg(Line).arg(Column).arg(qlonglong(R.offset)));
}

}   // namespace

void TXMLDocument::ParseBuffer(const QByteArray& Data, const QString& Source)
{
    Clear();
    const bool Utf16 = HasUtf16Bom(Data);
    const QByteArray Buffer = Utf16 ? Utf16ToUtf8(Data) : Data;
    pugi::xml_parse_result R = FDoc->load_buffer(Buffer.constData(), size_t(Buffer.size()), ParseOptions,
                                                 Utf16 ? pugi::encoding_utf8 : pugi::encoding_auto);
    Changed();
    if (!R) {
        FDoc->reset();
        FActive = false;
        RaiseParseError(R, Buffer, Source);
    }
    DropIndentation(*FDoc);
    FActive = true;
}

void TXMLDocument::LoadFromFile(const QString& FileName)
{
    Clear();
    QByteArray Data;
    try {
        Data = ReadFileBytes(FileName);
    } catch (...) {
        FActive = false;
        throw;
    }
    // Parsed where it lies, without a copy: the document keeps the buffer. The parser changes it
    // as it goes, so an error is located in the text decoded again.
    const bool Utf16 = HasUtf16Bom(Data);
    FBuffer = Utf16 ? Utf16ToUtf8(Data) : std::move(Data);
    FBuffer.detach();
    pugi::xml_parse_result R = FDoc->load_buffer_inplace(FBuffer.data(), size_t(FBuffer.size()), ParseOptions,
                                                         Utf16 ? pugi::encoding_utf8 : pugi::encoding_auto);
    Changed();
    if (!R) {
        FDoc->reset();
        FBuffer.clear();
        FActive = false;
        QByteArray Original = ReadFileBytes(FileName);
        RaiseParseError(R, HasUtf16Bom(Original) ? Utf16ToUtf8(Original) : Original, FileName);
    }
    DropIndentation(*FDoc);
    FActive = true;
    FFileName = FileName;
}

void TXMLDocument::LoadFromXML(const QString& Xml)
{
    // Already decoded: whatever encoding a declaration names, the text is given as UTF-16 here.
    Clear();
    const QByteArray Utf8 = Xml.toUtf8();
    pugi::xml_parse_result R = FDoc->load_buffer(Utf8.constData(), size_t(Utf8.size()),
                                                 ParseOptions, pugi::encoding_utf8);
    Changed();
    if (!R) {
        FDoc->reset();
        FActive = false;
        RaiseParseError(R, Utf8, QString());
    }
    DropIndentation(*FDoc);
    FActive = true;
}

void TXMLDocument::LoadFromBytes(const QByteArray& Data)
{
    ParseBuffer(Data, QString());
}

QByteArray TXMLDocument::SaveToBytes() const
{
    QByteArray Out;
    TByteWriter W(Out);
    xml_node First = FDoc->first_child();
    if (FWriteDeclaration && !(First && First.type() == pugi::node_declaration))
        Out.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    for (xml_node N = First; N; N = N.next_sibling()) {
        if (N.type() == pugi::node_declaration)
            AppendDeclaration(Out, N);
        else
            N.print(W, "", pugi::format_raw, pugi::encoding_utf8);
        Out.append('\n');
    }
    return Out;
}

QString TXMLDocument::SaveToXML() const
{
    return QString::fromUtf8(SaveToBytes());
}

void TXMLDocument::SaveToFile(const QString& FileName)
{
    WriteFileAtomic(FileName, SaveToBytes());
    FFileName = FileName;
}

IXMLNodeList TXMLDocument::ChildNodes()
{
    return IXMLNodeList(FDoc->internal_object(), this);
}

IXMLNode TXMLDocument::DocumentElement()
{
    return IXMLNode(FDoc->first_child().internal_object(), this);
}

IXMLNode TXMLDocument::RootElement()
{
    return IXMLNode(FDoc->document_element().internal_object(), this);
}

IXMLNode TXMLDocument::AddChild(const QString& NodeName)
{
    FActive = true;
    Changed();
    xml_node C = FDoc->append_child(TUtf8Text(NodeName).c_str());
    SetFresh(C.internal_object());
    return IXMLNode(C.internal_object(), this);
}

IXMLNode TXMLDocument::CreateNode(const QString& Text, TNodeType NodeType)
{
    if (!FLoose)
        FLoose = std::make_unique<pugi::xml_document>();
    xml_node N;
    switch (NodeType) {
    case ntElement: N = FLoose->append_child(TUtf8Text(Text).c_str()); break;
    case ntComment: N = FLoose->append_child(pugi::node_comment); break;
    case ntText: N = FLoose->append_child(pugi::node_pcdata); break;
    case ntCData: N = FLoose->append_child(pugi::node_cdata); break;
    default:
        throw EXMLDocError(QStringLiteral("Cannot create a node of kind %1").arg(int(NodeType)));
    }
    if (NodeType != ntElement)
        N.set_value(TUtf8Text(Text).c_str());
    return IXMLNode(N.internal_object(), this);
}
