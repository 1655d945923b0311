#include "platform/xml/XMLDoc.h"

#include "platform/rtl/Files.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <vector>

namespace {

using pugi::xml_node;
using pugi::xml_node_struct;

inline QString FromUtf8(const char* S) { return QString::fromUtf8(S); }

bool IsXmlName(const QString& S);
// The ASCII characters a name may hold, as bits: 0-63, 64-127.
constexpr uint64_t NameBits[2] = {0x07FF600000000000ULL, 0x07FFFFFE87FFFFFEULL};

// A QString as a NUL-terminated UTF-8 text for the parser's calls. Names and most cell texts
// are short: those are converted on the stack, without a heap allocation.
class TUtf8Text {
public:
    explicit TUtf8Text(const QString& S) : TUtf8Text(S, false) {}
    // An element or attribute name, told valid or not as it is converted: writers set a name
    // for every cell, and a second pass over it would cost them.
    struct TName {};
    TUtf8Text(const QString& S, TName) : TUtf8Text(S, true) {}
    bool ValidName() const { return FValidName; }

    TUtf8Text(const TUtf8Text&) = delete;
    TUtf8Text& operator=(const TUtf8Text&) = delete;
    const char* c_str() const { return FPtr; }

private:
    TUtf8Text(const QString& S, bool AsName) {
        const qsizetype N = S.size();
        if (N * 3 < qsizetype(sizeof FBuf)) {
            // ASCII, the usual case, is copied straight; anything else goes through the encoder.
            const char16_t* P = reinterpret_cast<const char16_t*>(S.constData());
            char16_t Any = 0;
            bool NotName = false; // a character no ASCII name holds
            for (qsizetype i = 0; i < N; ++i) {
                const char16_t C = P[i];
                Any |= C;
                FBuf[i] = char(C);
                if (AsName) NotName |= !(NameBits[(C >> 6) & 1] >> (C & 63) & 1);
            }
            char* End = FBuf + N;
            if (Any >= 0x80) {
                QStringEncoder Encode(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
                End = Encode.appendToBuffer(FBuf, S);
                FValidName = AsName && IsXmlName(S);
            } else {
                FValidName = AsName && N > 0 && !NotName && unsigned(P[0] - '0') >= 10u && P[0] != '-' && P[0] != '.';
            }
            *End = 0;
            FPtr = FBuf;
        } else {
            FLong = S.toStdString();
            FPtr = FLong.c_str();
            FValidName = AsName && IsXmlName(S);
        }
    }

    bool FValidName = false;
    char FBuf[772]; // texts up to 257 characters
    std::string FLong;
    const char* FPtr;
};

// Whether S is an XML name, the only thing a file can hold as an element or attribute name:
// anything else (a blank, a quote, "<", a leading digit, nothing at all) would make the saved
// file malformed. Names are nearly always short ASCII, checked through a table.
constexpr std::array<uchar, 128> NameTable = [] {
    std::array<uchar, 128> T{}; // 1: may continue a name, 2: may start one too
    for (int c = 'a'; c <= 'z'; ++c) T[size_t(c)] = 3;
    for (int c = 'A'; c <= 'Z'; ++c) T[size_t(c)] = 3;
    for (int c = '0'; c <= '9'; ++c) T[size_t(c)] = 1;
    T['_'] = T[':'] = 3;
    T['-'] = T['.'] = 1;
    return T;
}();

bool IsWideNameStart(char32_t C) {
    return (C >= 0xC0 && C <= 0xD6) || (C >= 0xD8 && C <= 0xF6) || (C >= 0xF8 && C <= 0x2FF) ||
        (C >= 0x370 && C <= 0x37D) || (C >= 0x37F && C <= 0x1FFF) || (C >= 0x200C && C <= 0x200D) ||
        (C >= 0x2070 && C <= 0x218F) || (C >= 0x2C00 && C <= 0x2FEF) || (C >= 0x3001 && C <= 0xD7FF) ||
        (C >= 0xF900 && C <= 0xFDCF) || (C >= 0xFDF0 && C <= 0xFFFD) || (C >= 0x10000 && C <= 0xEFFFF);
}

bool IsWideNameChar(char32_t C) {
    return IsWideNameStart(C) || C == 0xB7 || (C >= 0x300 && C <= 0x36F) || (C >= 0x203F && C <= 0x2040);
}

bool IsXmlName(const QString& S) {
    const char16_t* P = reinterpret_cast<const char16_t*>(S.constData());
    const qsizetype N = S.size();
    if (N == 0) return false;
    for (qsizetype i = 0; i < N; ++i) {
        char32_t C = P[i];
        const bool First = i == 0;
        if (C < 0x80) {
            if (!(NameTable[C] & (First ? 2 : 1))) return false;
            continue;
        }
        if (C >= 0xD800 && C <= 0xDBFF && i + 1 < N && P[i + 1] >= 0xDC00 && P[i + 1] <= 0xDFFF) {
            C = 0x10000 + ((C - 0xD800) << 10) + (P[i + 1] - 0xDC00);
            ++i;
        }
        if (!(First ? IsWideNameStart(C) : IsWideNameChar(C))) // a lone surrogate fails here too
            return false;
    }
    return true;
}

[[noreturn]] void RaiseBadName(const char* What, const QString& Name) {
    throw EXMLDocError(QStringLiteral("\"%1\" is not a valid %2 name").arg(Name, QLatin1String(What)));
}

inline bool SameText(const char* A, const char* B) {
    for (; *A == *B; ++A, ++B)
        if (!*A) return true;
    return false;
}

// Whether a name as the parser holds it (UTF-8) is Name. Only a plain ASCII name is compared
// here, without converting it; false for any other, which the caller then looks up the slow way.
inline bool MatchName(const char* Utf8, const QString& Name) {
    const char16_t* P = reinterpret_cast<const char16_t*>(Name.constData());
    const qsizetype Len = Name.size();
    if (Len == 0) return false;
    for (qsizetype i = 0; i < Len; ++i) {
        const char16_t C = P[i];
        if (C - 1u >= 0x7Fu || uchar(Utf8[i]) != C) // NUL or beyond ASCII, or a different byte
            return false; // (a shorter Utf8 stops at its NUL)
    }
    return Utf8[Len] == 0;
}

// The UTF-8 text into Out, reusing Out's storage when it is Out's own. Pure ASCII, the usual
// cell, is widened in place; anything else is decoded by Qt as QString::fromUtf8 does.
inline void AssignUtf8(QString& Out, const char* Text) {
    size_t Len = 0;
    uchar Any = 0;
    for (; Text[Len]; ++Len) Any |= uchar(Text[Len]);
    if (Any >= 0x80) {
        Out = QString::fromUtf8(Text, qsizetype(Len));
        return;
    }
    if (Out.size() != qsizetype(Len) || !Out.isDetached()) // neighbouring cells are often as long
        Out.resize(qsizetype(Len));
    char16_t* D = reinterpret_cast<char16_t*>(Out.data());
    for (size_t i = 0; i < Len; ++i) D[i] = uchar(Text[i]);
}

// Parsing options: every node kind is kept (declaration, doctype, processing instructions,
// comments); whitespace between elements is dropped, whitespace that is an element's only
// content is kept (see the header for the line-break rule applied after parsing).
constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi |
    pugi::parse_declaration | pugi::parse_doctype | pugi::parse_ws_pcdata_single;

TXMLNodeType TypeOf(xml_node N) {
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

bool IsTextKind(xml_node N) { return N.type() == pugi::node_pcdata || N.type() == pugi::node_cdata; }

bool IsBlank(const char* S, bool& HasLineBreak) {
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
void DropIndentation(xml_node Root) {
    struct Walker : pugi::xml_tree_walker {
        std::vector<xml_node> Drop;
        bool for_each(xml_node& N) override {
            if (N.type() == pugi::node_pcdata && !N.previous_sibling() && !N.next_sibling()) {
                bool LineBreak;
                if (IsBlank(N.value(), LineBreak) && LineBreak) Drop.push_back(N);
            }
            return true;
        }
    } W;
    Root.traverse(W);
    for (xml_node N : W.Drop) N.parent().remove_child(N);
}

// Line and column (1-based, column in characters) of a byte offset into UTF-8 text.
void LineAndColumn(const QByteArray& Data, ptrdiff_t Offset, int& Line, int& Column) {
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
    void write(const void* Data, size_t Size) override {
        // The parser hands the text over in small pieces: grow the buffer by doubling, so that a
        // large document is not copied over and over as it is written.
        const qsizetype Need = Out.size() + qsizetype(Size);
        if (Need > Out.capacity()) Out.reserve(std::max(Need, 2 * Out.capacity()));
        Out.append(static_cast<const char*>(Data), static_cast<qsizetype>(Size));
    }
};

// The declaration as written, from known values only: the version when it is one ("1.0"
// otherwise), the encoding as UTF-8 since the file is saved so whatever it was read from, and
// standalone when it says yes or no. Nothing else a node may carry reaches the file.
void AppendDeclaration(QByteArray& Out, xml_node Decl) {
    const char* Version = Decl.attribute("version").value();
    bool LegalVersion = std::strncmp(Version, "1.", 2) == 0 && Version[2];
    for (const char* P = Version + 2; LegalVersion && *P; ++P) LegalVersion = *P >= '0' && *P <= '9';
    Out.append("<?xml version=\"");
    Out.append(LegalVersion ? Version : "1.0");
    Out.append('"');
    if (Decl.attribute("encoding")) Out.append(" encoding=\"UTF-8\"");
    const char* Standalone = Decl.attribute("standalone").value();
    if (std::strcmp(Standalone, "yes") == 0 || std::strcmp(Standalone, "no") == 0) {
        Out.append(" standalone=\"");
        Out.append(Standalone);
        Out.append('"');
    }
    Out.append("?>");
}

[[noreturn]] void RaiseIndex(const char* What, int Index, int Count) {
    throw EXMLDocError(
        QStringLiteral("%1 index out of bounds (%2, count %3)").arg(QLatin1String(What)).arg(Index).arg(Count));
}

} // namespace

// ---- IXMLNodeList --------------------------------------------------------------------------

int IXMLNodeList::Count() const {
    if (!FParent) return 0;
    TXMLDocument::TChildCache* C = FDoc ? &FDoc->FCache : nullptr;
    if (C && C->Parent == FParent && C->Version == FDoc->FVersion && C->Count >= 0) return C->Count;
    int N = 0;
    for (xml_node Child = xml_node(FParent).first_child(); Child; Child = Child.next_sibling()) ++N;
    if (C) {
        if (C->Parent != FParent || C->Version != FDoc->FVersion) *C = {FParent, FDoc->FVersion, -1, nullptr, -1};
        C->Count = N;
    }
    return N;
}

IXMLNode IXMLNodeList::Nodes(int Index) const {
    if (FParent && Index >= 0) {
        TXMLDocument::TChildCache* C = FDoc ? &FDoc->FCache : nullptr;
        xml_node Child;
        int At = 0;
        if (C && C->Parent == FParent && C->Version == FDoc->FVersion && C->Index >= 0 && C->Index <= Index) {
            Child = xml_node(C->Node); // go on from the last position asked
            At = C->Index;
        } else {
            Child = xml_node(FParent).first_child();
        }
        for (; Child && At < Index; Child = Child.next_sibling()) ++At;
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

IXMLNode IXMLNodeList::First() const {
    return FParent ? IXMLNode(xml_node(FParent).first_child().internal_object(), FDoc) : IXMLNode();
}

IXMLNode IXMLNodeList::Last() const {
    return FParent ? IXMLNode(xml_node(FParent).last_child().internal_object(), FDoc) : IXMLNode();
}

IXMLNode IXMLNodeList::FindNode(const QString& NodeName) const {
    if (!FParent) return {};
    return IXMLNode(xml_node(FParent).child(TUtf8Text(NodeName).c_str()).internal_object(), FDoc);
}

int IXMLNodeList::IndexOf(const IXMLNode& Node) const {
    if (FParent && Node.FNode) {
        int I = 0;
        for (xml_node C = xml_node(FParent).first_child(); C; C = C.next_sibling(), ++I)
            if (C.internal_object() == Node.FNode) return I;
    }
    return -1;
}

IXMLNode IXMLNodeList::Add(const IXMLNode& Node) {
    if (!FParent) throw EXMLDocError("Cannot add a node to a null node");
    xml_node Parent(FParent);
    xml_node Moved(Node.Required());
    xml_node Result;
    if (Moved.root() != Parent.root()) {
        // Made by CreateNode in the side document (or taken from another document): copy it
        // in; a loose original has no other use and is dropped.
        Result = Parent.append_copy(Moved);
        if (Result && FDoc && FDoc->FLoose && Moved.root() == FDoc->FLoose->root()) Moved.parent().remove_child(Moved);
    } else {
        Result = Parent.append_move(Moved);
    }
    if (FDoc) FDoc->Changed();
    if (!Result) throw EXMLDocError(QStringLiteral("Cannot add a node of this kind here"));
    if (FDoc) FDoc->FActive = true;
    return IXMLNode(Result.internal_object(), FDoc);
}

void IXMLNodeList::Delete(int Index) {
    IXMLNode N = Nodes(Index);
    if (FDoc) FDoc->Changed();
    xml_node(FParent).remove_child(xml_node(N.FNode));
}

void IXMLNodeList::Clear() {
    if (FDoc) FDoc->Changed();
    if (FParent) xml_node(FParent).remove_children();
}

// ---- IXMLNode ------------------------------------------------------------------------------

[[noreturn]] static void RaiseNullNode() { throw EXMLDocError("Access to a node that does not exist"); }

xml_node_struct* IXMLNode::Required() const {
    if (!FNode) [[unlikely]]
        RaiseNullNode();
    return FNode;
}

TXMLNodeType IXMLNode::NodeType() const { return FNode ? TypeOf(xml_node(FNode)) : ntReserved; }

QString IXMLNode::NodeName() const {
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

bool IXMLNode::IsTextElement() const {
    xml_node N(Required());
    if (N.type() != pugi::node_element) return false;
    xml_node C = N.first_child();
    return !C || (IsTextKind(C) && !C.next_sibling());
}

QString IXMLNode::NodeValue() const {
    xml_node N(Required());
    if (N.type() == pugi::node_element) return Text();
    return FromUtf8(N.value());
}

void IXMLNode::SetNodeValue(const QString& Value) { SetText(Value); }

QString IXMLNode::Text() const {
    xml_node N(Required());
    if (N.type() != pugi::node_element && N.type() != pugi::node_document) return FromUtf8(N.value());
    xml_node C = N.first_child();
    if (C && IsTextKind(C) && !C.next_sibling())
        return FromUtf8(C.value()); // the common case, without building a joined buffer
    std::string Joined;
    for (; C; C = C.next_sibling())
        if (IsTextKind(C)) Joined += C.value();
    return QString::fromStdString(Joined);
}

void IXMLNode::SetText(const QString& Value) {
    xml_node N(Required());
    if (N.type() != pugi::node_element) {
        if (!N.set_value(TUtf8Text(Value).c_str())) throw EXMLDocError("This node has no value to set");
        return;
    }
    if (FDoc) FDoc->Changed();
    N.remove_children();
    if (!Value.isEmpty()) N.append_child(pugi::node_pcdata).set_value(TUtf8Text(Value).c_str());
}

IXMLNodeList IXMLNode::ChildNodes() const { return IXMLNodeList(Required(), FDoc); }

bool IXMLNode::HasChildNodes() const { return FNode && xml_node(FNode).first_child(); }

IXMLNode IXMLNode::FindNode(const QString& NodeName) const { return ChildNodes().FindNode(NodeName); }

IXMLNode IXMLNode::AddChild(const QString& NodeName) {
    xml_node N(Required());
    const TUtf8Text Name(NodeName, TUtf8Text::TName());
    if (!Name.ValidName()) RaiseBadName("element", NodeName);
    if (FDoc) FDoc->Changed();
    xml_node C = N.append_child(Name.c_str());
    if (!C) throw EXMLDocError(QStringLiteral("Cannot add element \"%1\" here").arg(NodeName));
    if (FDoc) FDoc->SetFresh(C.internal_object());
    return IXMLNode(C.internal_object(), FDoc);
}

IXMLNode IXMLNode::ParentNode() const {
    xml_node P = xml_node(Required()).parent();
    if (!P || P.type() == pugi::node_document) return {};
    return IXMLNode(P.internal_object(), FDoc);
}

IXMLNode IXMLNode::NextSibling() const { return IXMLNode(xml_node(Required()).next_sibling().internal_object(), FDoc); }

IXMLNode IXMLNode::PreviousSibling() const {
    return IXMLNode(xml_node(Required()).previous_sibling().internal_object(), FDoc);
}

// Where the lookups of a row stand: readers ask a row's attributes in file order, so the
// attribute after the last one found is nearly always the one asked for next. Find tries it
// before searching the element. A build reads thousands of values; this path keeps to the
// fewest calls into the parser's library.
struct TXMLDocument::TAttrHint {
    xml_node_struct* Node = nullptr;
    uint64_t Version = 0;
    pugi::xml_attribute Next; // after the last one found; may be empty
};

inline TXMLDocument::TAttrHint& TXMLDocument::Hint(xml_node_struct* Node) {
    TAttrHint& H = *FHint;
    if (H.Node != Node || H.Version != FVersion) {
        H.Node = Node;
        H.Version = FVersion;
        H.Next = xml_node(Node).first_attribute();
    }
    return H;
}

bool IXMLNode::Find(const QString& Name, pugi::xml_attribute& Found) const {
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

bool IXMLNode::Find(const char* Name, pugi::xml_attribute& Found) const {
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

bool IXMLNode::HasAttribute(const QString& Name) const {
    pugi::xml_attribute A;
    return FNode && Find(Name, A);
}

std::optional<QString> IXMLNode::Attributes(const QString& Name) const {
    pugi::xml_attribute A;
    if (!Find(Name, A)) return std::nullopt;
    return FromUtf8(A.value());
}

QString IXMLNode::AttributeText(const QString& Name) const {
    pugi::xml_attribute A;
    if (!Find(Name, A))
        throw EXMLDocError(QStringLiteral("Attribute \"%1\" missing on element \"%2\"").arg(Name, NodeName()));
    return FromUtf8(A.value());
}

bool IXMLNode::ReadAttribute(const QString& Name, QString& Value) const {
    pugi::xml_attribute A;
    if (!Find(Name, A)) return false;
    AssignUtf8(Value, A.value());
    return true;
}

bool IXMLNode::ReadAttribute(const char* Name, QString& Value) const {
    pugi::xml_attribute A;
    if (!Find(Name, A)) return false;
    AssignUtf8(Value, A.value());
    return true;
}

void IXMLNode::ReadAttributes(std::span<const char* const> Names, std::span<const char*> Values) const {
    const size_t Count = Names.size();
    if (Values.size() < Count)
        throw EXMLDocError(
            QStringLiteral("%1 attribute names asked with room for %2 values").arg(Count).arg(Values.size()));
    std::fill_n(Values.begin(), Count, nullptr);
    size_t Left = Count;
    size_t Expect = 0; // the name after the last one found: what a file in order has next
    // Every attribute has a name (the parser requires one, SetAttribute refuses an empty one), so
    // the empty name the parser gives past the last attribute ends the list: one call fewer each.
    for (pugi::xml_attribute A = xml_node(Required()).first_attribute(); Left; A = A.next_attribute()) {
        const char* Name = A.name();
        if (!*Name) break;
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
                if (SameText(Name, Names[i])) K = i;
            if (K == Count) continue;
        }
        Expect = K + 1;
        if (!Values[K]) {
            Values[K] = A.value();
            if (--Left == 0) break; // the rest of the row is not asked for
        }
    }
}

void IXMLNode::SetAttribute(const QString& Name, const QString& Value) {
    xml_node N(Required());
    if (N.type() != pugi::node_element && N.type() != pugi::node_declaration)
        throw EXMLDocError(QStringLiteral("Only an element has attributes (setting \"%1\")").arg(Name));
    // Saved, it would read ="..." and make the file malformed; nor could it be found again.
    if (Name.isEmpty())
        throw EXMLDocError(QStringLiteral("An attribute needs a name (value \"%1\" not set on element \"%2\")")
                               .arg(Value, NodeName()));
    const TUtf8Text Key(Name, TUtf8Text::TName());
    if (!Key.ValidName())
        throw EXMLDocError(
            QStringLiteral("\"%1\" is not a valid attribute name (value \"%2\" not set on element \"%3\")")
                .arg(Name, Value, NodeName()));
    pugi::xml_attribute A;
    if (FDoc && FDoc->FFresh == FNode && FDoc->FFreshVersion == FDoc->FVersion) {
        // A cheap fingerprint: length, first, middle and last character. Names that share it
        // are merely searched for.
        const qsizetype Len = Name.size();
        const uint64_t Hash = Len == 0 ? 0
                                       : uint64_t(Len) | uint64_t(Name[0].unicode()) << 16 |
                uint64_t(Name[Len / 2].unicode()) << 32 | uint64_t(Name[Len - 1].unicode()) << 48;
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
    if (!A) A = N.append_attribute(Key.c_str());
    if (!A) throw EXMLDocError(QStringLiteral("Cannot set attribute \"%1\"").arg(Name));
    A.set_value(TUtf8Text(Value).c_str());
}

bool IXMLNode::RemoveAttribute(const QString& Name) {
    if (FDoc) FDoc->Changed();
    return xml_node(Required()).remove_attribute(TUtf8Text(Name).c_str());
}

int IXMLNode::AttributeCount() const {
    int N = 0;
    for (pugi::xml_attribute A = xml_node(Required()).first_attribute(); A; A = A.next_attribute()) ++N;
    return N;
}

static pugi::xml_attribute AttributeAt(xml_node N, int Index) {
    int I = 0;
    for (pugi::xml_attribute A = N.first_attribute(); A; A = A.next_attribute(), ++I)
        if (I == Index) return A;
    return {};
}

QString IXMLNode::AttributeName(int Index) const {
    pugi::xml_attribute A = AttributeAt(xml_node(Required()), Index);
    if (!A) RaiseIndex("Attribute", Index, AttributeCount());
    return FromUtf8(A.name());
}

QString IXMLNode::AttributeValue(int Index) const {
    pugi::xml_attribute A = AttributeAt(xml_node(Required()), Index);
    if (!A) RaiseIndex("Attribute", Index, AttributeCount());
    return FromUtf8(A.value());
}

// ---- TXMLDocument --------------------------------------------------------------------------

TXMLDocument::TXMLDocument() : FHint(std::make_unique<TAttrHint>()), FDoc(std::make_unique<pugi::xml_document>()) {}

TXMLDocument::~TXMLDocument() = default;

void TXMLDocument::SetActive(bool Value) {
    if (!Value) Clear();
    FActive = Value;
}

void TXMLDocument::Clear() {
    Changed();
    FDoc->reset();
    FBuffer.clear(); // only after the document that points into it
    FLoose.reset();
    FActive = true;
}

namespace {

// The bytes of a file as UTF-8 text, the form the parser works on. A byte-order mark selects
// UTF-16 or UTF-32, as does the "<?" such a file starts with when it has none; otherwise the
// encoding named by the XML declaration decides, UTF-8 when it names none. A file in
// Windows-1252 or Latin-1 is thus read as the characters it holds, not as broken UTF-8.
QByteArray DecodeToUtf8(QByteArray Data, const QString& Source);

QByteArray Utf16ToUtf8(const QByteArray& Data, QStringConverter::Encoding Encoding, qsizetype Skip) {
    QStringDecoder Decode(Encoding);
    return QString(Decode(QByteArrayView(Data).sliced(Skip))).toUtf8();
}

[[noreturn]] void RaiseAt(const QString& Message, const QByteArray& Text, qsizetype Offset, const QString& Source) {
    int Line, Column;
    LineAndColumn(Text, Offset, Line, Column);
    const QString Where = Source.isEmpty() ? QString() : QStringLiteral(" in \"%1\"").arg(Source);
    throw EXMLDocError(QStringLiteral("%1%2 at line %3, column %4 (offset %5)")
                           .arg(Message, Where)
                           .arg(Line)
                           .arg(Column)
                           .arg(qlonglong(Offset)));
}

bool SameAscii(QByteArrayView A, const char* B) { return A.compare(QByteArrayView(B), Qt::CaseInsensitive) == 0; }

// One pseudo-attribute of the XML declaration as the file holds it.
struct TPseudoAttribute {
    QByteArray Name;
    QByteArray Value;
    qsizetype ValueAt = 0; // offset of the value in the text read
};

inline bool IsXmlBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }

// The pseudo-attributes of a declaration from At (just after "<?xml") up to its "?>", read as
// the grammar has them: blanks, name, "=", a quoted value; false when the text does not read so.
bool ReadDeclaration(QByteArrayView Text, qsizetype At, QList<TPseudoAttribute>& Out) {
    const qsizetype N = Text.size();
    for (;;) {
        const qsizetype BlankFrom = At;
        while (At < N && IsXmlBlank(Text[At])) ++At;
        if (At + 1 < N && Text[At] == '?' && Text[At + 1] == '>') return true;
        if (At == BlankFrom) return false; // pseudo-attributes stand apart
        const qsizetype NameAt = At;
        while (
            At < N &&
            (std::isalnum(uchar(Text[At])) || Text[At] == '_' || Text[At] == ':' || Text[At] == '-' || Text[At] == '.'))
            ++At;
        if (At == NameAt) return false;
        TPseudoAttribute A;
        A.Name = Text.sliced(NameAt, At - NameAt).toByteArray();
        while (At < N && IsXmlBlank(Text[At])) ++At;
        if (At >= N || Text[At] != '=') return false;
        ++At;
        while (At < N && IsXmlBlank(Text[At])) ++At;
        if (At >= N || (Text[At] != '"' && Text[At] != '\'')) return false;
        const char Quote = Text[At];
        A.ValueAt = ++At;
        while (At < N && Text[At] != Quote) {
            if (Text[At] == '<' || Text[At] == '&') return false; // no value of the declaration holds these
            ++At;
        }
        if (At >= N) return false;
        A.Value = Text.sliced(A.ValueAt, At - A.ValueAt).toByteArray();
        ++At;
        Out.append(A);
    }
}

// What a declaration may say: version "1.x", an encoding name, standalone "yes" or "no", each at
// most once. Empty when it is sound, else what is wrong.
QString CheckDeclaration(const QList<TPseudoAttribute>& Pseudo) {
    bool Seen[3] = {};
    for (const TPseudoAttribute& A : Pseudo) {
        const QByteArray& V = A.Value;
        int K;
        bool Legal;
        if (A.Name == "version") {
            K = 0;
            Legal = V.size() >= 3 && V.startsWith("1.") &&
                std::all_of(V.begin() + 2, V.end(), [](char C) { return C >= '0' && C <= '9'; });
        } else if (A.Name == "encoding") {
            K = 1;
            Legal = !V.isEmpty() && std::isalpha(uchar(V[0])) && std::all_of(V.begin(), V.end(), [](char C) {
                return std::isalnum(uchar(C)) || C == '.' || C == '_' || C == '-';
            });
        } else if (A.Name == "standalone") {
            K = 2;
            Legal = V == "yes" || V == "no";
        } else {
            return QStringLiteral("\"%1\" has no place in the XML declaration").arg(QString::fromUtf8(A.Name));
        }
        if (Seen[K]) return QStringLiteral("\"%1\" stands twice in the XML declaration").arg(QString::fromUtf8(A.Name));
        Seen[K] = true;
        if (!Legal)
            return QStringLiteral("Invalid %1 \"%2\" in the XML declaration")
                .arg(QString::fromUtf8(A.Name), QString::fromUtf8(V));
    }
    return QString();
}

QByteArray DecodeToUtf8(QByteArray Data, const QString& Source) {
    const auto B = [&](qsizetype i) -> uint { return i < Data.size() ? uchar(Data[i]) : 0x100u; };
    struct {
        uint Mark[4];
        qsizetype Len;
        QStringConverter::Encoding Enc;
    } const Wide[] = {
        {{0x00, 0x00, 0xFE, 0xFF}, 4, QStringConverter::Utf32BE},
        {{0xFF, 0xFE, 0x00, 0x00}, 4, QStringConverter::Utf32LE}, // before UTF-16 LE's mark
        {{0xFE, 0xFF}, 2, QStringConverter::Utf16BE},
        {{0xFF, 0xFE}, 2, QStringConverter::Utf16LE},
        {{0x00, 0x3C, 0x00, 0x3F}, 0, QStringConverter::Utf16BE}, // "<?" without a mark
        {{0x3C, 0x00, 0x3F, 0x00}, 0, QStringConverter::Utf16LE},
    };
    for (const auto& W : Wide) {
        const qsizetype Len = W.Len ? W.Len : 4;
        bool Match = Data.size() >= Len;
        for (qsizetype i = 0; Match && i < Len; ++i) Match = B(i) == W.Mark[i];
        if (Match) return Utf16ToUtf8(Data, W.Enc, W.Len);
    }
    // A byte-order mark makes it UTF-8 whatever the declaration says.
    if (B(0) == 0xEF && B(1) == 0xBB && B(2) == 0xBF) return Data;
    // <?xml version="1.0" encoding="..."?> at the very start (blanks before it tolerated): the
    // pseudo-attribute named "encoding" and no other. A declaration that does not read as one is
    // left to the parser and the declaration check, which report it.
    qsizetype i = 0;
    while (i < Data.size() && (Data[i] == ' ' || Data[i] == '\t' || Data[i] == '\r' || Data[i] == '\n')) ++i;
    if (!QByteArrayView(Data).sliced(i).startsWith("<?xml") ||
        !(B(i + 5) == ' ' || B(i + 5) == '\t' || B(i + 5) == '\r' || B(i + 5) == '\n'))
        return Data;
    QList<TPseudoAttribute> Pseudo;
    if (!ReadDeclaration(Data, i + 5, Pseudo)) return Data;
    const auto Enc =
        std::find_if(Pseudo.begin(), Pseudo.end(), [](const TPseudoAttribute& A) { return A.Name == "encoding"; });
    if (Enc == Pseudo.end()) return Data;
    const qsizetype ValueAt = Enc->ValueAt;
    const qsizetype Close = ValueAt + Enc->Value.size();
    const QByteArrayView Name = QByteArrayView(Data).sliced(ValueAt, Close - ValueAt).trimmed();
    // UTF-16 or -32 named in a file whose declaration reads as single bytes: the file is
    // plainly not in it, and what it holds is taken as UTF-8, as any reader would.
    for (const char* U : {"UTF-8", "UTF8", "US-ASCII", "ASCII", "UTF-16", "UTF-16LE", "UTF-16BE", "UTF-32", "UCS-2"})
        if (SameAscii(Name, U)) return Data;
    for (const char* W : {"windows-1252", "cp1252", "x-cp1252"})
        if (SameAscii(Name, W)) return DecodeCp1252(Data).toUtf8();
    for (const char* L : {"ISO-8859-1", "ISO8859-1", "ISO_8859-1", "latin1", "latin-1", "l1"})
        if (SameAscii(Name, L)) return QString::fromLatin1(Data).toUtf8();
    RaiseAt(QStringLiteral("Unsupported encoding \"%1\" in the XML declaration")
                .arg(QString::fromLatin1(Name.data(), Name.size())),
            Data.left(ValueAt), ValueAt, Source);
}

// A reference the parser would keep as literal text, to be saved back as "&amp;name;": an entity
// the file does not define for it (XML itself defines five) or a character reference that names
// no character. Found in one pass before parsing; "&" alone, as in "R&D", is left to the parser,
// which keeps it as the character it plainly is.
struct TFault {
    QString Message;
    qsizetype Offset = -1;
    bool SkipBlanks = false; // the place is the first non-blank character from Offset
    explicit operator bool() const { return Offset >= 0; }
};

// Comments, CDATA sections, processing instructions and the document type hold "&" as a plain
// character. Asked for increasing places; each part of the text is looked at once.
class TLiteralZones {
public:
    // DocType: where the parser found the document type ("<!DOCTYPE" up to its ">"), if any.
    TLiteralZones(const QByteArray& Text, qsizetype DocTypeStart, qsizetype DocTypeEnd)
        : FText(Text), FDocTypeStart(DocTypeStart), FDocTypeEnd(DocTypeEnd) {}
    bool Contains(qsizetype At) {
        while (FEnd <= At && FEnd < FText.size()) Next(FEnd);
        return FStart <= At && At < FEnd;
    }

private:
    void Next(qsizetype From) {
        const char* P = FText.constData();
        const qsizetype N = FText.size();
        for (qsizetype i = FText.indexOf('<', From); i >= 0; i = FText.indexOf('<', i + 1)) {
            const QByteArrayView Rest = QByteArrayView(P + i, N - i);
            const char* Close = nullptr;
            qsizetype Open = 0; // the end is looked for after the opening, as the parser does:
            if (Rest.startsWith("<!--")) { // "<!--->" opens a comment, it does not close one
                Close = "-->";
                Open = 4;
            } else if (Rest.startsWith("<![CDATA[")) {
                Close = "]]>";
                Open = 9;
            } else if (Rest.startsWith("<?")) {
                Close = "?>";
                Open = 2;
            }
            if (Close) {
                const qsizetype E = FText.indexOf(Close, i + Open);
                Set(i, E < 0 ? N : E + qsizetype(std::strlen(Close)));
                return;
            }
            if (i == FDocTypeStart) { // its internal subset may hold anything a comment does
                Set(i, FDocTypeEnd);
                return;
            }
            if (Rest.startsWith("<!")) { // not parsed: the parser reports it
                int Depth = 0;
                char Quote = 0;
                qsizetype j = i + 2;
                for (; j < N; ++j) {
                    const char C = P[j];
                    if (Quote) {
                        if (C == Quote) Quote = 0;
                    } else if (C == '"' || C == '\'')
                        Quote = C;
                    else if (C == '[')
                        ++Depth;
                    else if (C == ']')
                        --Depth;
                    else if (C == '>' && Depth <= 0)
                        break;
                }
                Set(i, std::min(j + 1, N));
                return;
            }
        }
        Set(N, N);
    }
    void Set(qsizetype S, qsizetype E) {
        FStart = S;
        FEnd = std::max(E, S + 1);
    }
    const QByteArray& FText;
    const qsizetype FDocTypeStart;
    const qsizetype FDocTypeEnd;
    qsizetype FStart = 0;
    qsizetype FEnd = 0;
};

TFault FindBadReference(const QByteArray& Text, qsizetype DocTypeStart = -1, qsizetype DocTypeEnd = -1) {
    const char* const Begin = Text.constData();
    const char* const End = Begin + Text.size(); // a NUL follows: look-ahead stops there
    std::optional<TLiteralZones> Zones;
    const char* P = Begin;
    while (*P == '&' || (P = static_cast<const char*>(std::memchr(P, '&', size_t(End - P))))) {
        const char* R = P + 1;
        // The references every writer uses, first and cheaply; they often come in a row, as in
        // "&lt;&amp;", and the next one is then taken without searching for it.
        if ((R[0] == 'l' || R[0] == 'g') && R[1] == 't' && R[2] == ';') {
            P = R + 3;
            continue;
        }
        if (R[0] == 'a' && R[1] == 'm' && R[2] == 'p' && R[3] == ';') {
            P = R + 4;
            continue;
        }
        QString Problem;
        if (*R == '#') {
            ++R;
            const bool Hex = *R == 'x';
            R += Hex;
            uint32_t Code = 0;
            const char* Digits = R;
            for (;; ++R) {
                const char C = *R;
                int D = C >= '0' && C <= '9'      ? C - '0'
                    : Hex && C >= 'a' && C <= 'f' ? C - 'a' + 10
                    : Hex && C >= 'A' && C <= 'F' ? C - 'A' + 10
                                                  : -1;
                if (D < 0) break;
                Code = std::min<uint32_t>(Code * (Hex ? 16 : 10) + uint32_t(D), 0x110000);
            }
            if (R == Digits || *R != ';' || Code == 0 || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) {
                const char* Stop = R;
                while (Stop < End && Stop - P < 16 && *Stop != ';' && *Stop != '<' && *Stop != '"') ++Stop;
                Problem = QStringLiteral("Invalid character reference \"%1\"")
                              .arg(QString::fromUtf8(P, Stop - P + (Stop < End && *Stop == ';')));
            }
        } else {
            const auto NameByte = [](uchar C, bool First) { return C >= 0x80 || (NameTable[C] & (First ? 2 : 1)); };
            if (NameByte(uchar(*R), true)) {
                while (R < End && NameByte(uchar(*R), false)) ++R;
                const QByteArrayView Name(P + 1, R - P - 1);
                if (*R == ';' && Name != "quot" && Name != "apos")
                    Problem =
                        QStringLiteral("Undefined entity \"&%1;\"").arg(QString::fromUtf8(Name.data(), Name.size()));
            }
        }
        if (!Problem.isEmpty()) {
            if (!Zones) Zones.emplace(Text, DocTypeStart, DocTypeEnd);
            if (!Zones->Contains(P - Begin)) return {Problem, P - Begin};
        }
        ++P;
    }
    return {};
}

// The declaration at the start of the text, read by the grammar before the parser, which would
// take any attribute there and write back what it decoded: only version, encoding and
// standalone, each with a legal value.
TFault CheckDeclarationText(const QByteArray& Text) {
    qsizetype i = 0;
    while (i < Text.size() && IsXmlBlank(Text[i])) ++i;
    if (!QByteArrayView(Text).sliced(i).startsWith("<?xml") || i + 5 >= Text.size() || !IsXmlBlank(Text[i + 5]))
        return {};
    QList<TPseudoAttribute> Pseudo;
    if (!ReadDeclaration(Text, i + 5, Pseudo)) return {QStringLiteral("Malformed XML declaration"), i};
    const QString Problem = CheckDeclaration(Pseudo);
    if (!Problem.isEmpty()) return {Problem, i};
    return {};
}

// What the parser, reading leniently, lets through at the document level: a second root
// element, text outside the root (dropped without a word), a declaration after other nodes,
// no element at all.
TFault CheckDocumentLevel(const pugi::xml_document& Doc, const QByteArray& Text) {
    const char* Base = Text.constData();
    xml_node Root;
    for (xml_node N = Doc.first_child(); N; N = N.next_sibling()) {
        switch (N.type()) {
            case pugi::node_element:
                if (Root)
                    return {QStringLiteral("More than one root element (\"%1\" after \"%2\")")
                                .arg(FromUtf8(N.name()), FromUtf8(Root.name())),
                            N.name() - Base - 1};
                Root = N;
                break;
            case pugi::node_pcdata:
            case pugi::node_cdata: {
                bool LineBreak;
                if (N.type() == pugi::node_pcdata && IsBlank(N.value(), LineBreak)) break;
                return {QStringLiteral("Text outside the root element"),
                        N.value() - Base - (N.type() == pugi::node_cdata ? 9 : 0), true};
            }
            case pugi::node_declaration:
                if (N != Doc.first_child())
                    return {QStringLiteral("The XML declaration is not at the start of the document"),
                            N.name() - Base - 2};
                break;
            default: break;
        }
    }
    if (!Root) return {QStringLiteral("No document element found"), Text.size()};
    return {};
}

[[noreturn]] void RaiseParseError(const pugi::xml_parse_result& R, const QByteArray& Text, const QString& Source) {
    RaiseAt(FromUtf8(R.description()), Text, R.offset, Source);
}

} // namespace

void TXMLDocument::ParseText(const QString& Source, const QByteArray* Pristine) {
    // The parser works in FBuffer, which the document's nodes then point into. A reference is
    // checked before the parser rewrites the text; the document level after it, where the
    // parser, reading it as a fragment, keeps what a document may not have.
    FBuffer.detach();
    TFault Fault = CheckDeclarationText(FBuffer);
    // The document type's extent is the parser's own (its internal subset may hold quotes and
    // brackets in comments): a text with one is checked for references after parsing, on the
    // text as it was. Without one the check comes first and the text needs no copy.
    const bool DocType = FBuffer.contains("<!DOCTYPE");
    QByteArray Before;
    if (DocType) {
        Before = FBuffer;
        FBuffer.detach();
    } else if (!Fault) {
        Fault = FindBadReference(FBuffer);
    }
    pugi::xml_parse_result R;
    if (!Fault && !FBuffer.isEmpty()) {
        // The NUL that ends a QByteArray is passed too: the parser takes the last character as
        // its own terminator, and would otherwise lose the last letter of text after the root.
        R = FDoc->load_buffer_inplace(FBuffer.data(), size_t(FBuffer.size()) + 1, ParseOptions | pugi::parse_fragment,
                                      pugi::encoding_utf8);
        if (R) Fault = CheckDocumentLevel(*FDoc, FBuffer);
        if (R && !Fault && DocType) {
            qsizetype Start = -1, End = -1;
            for (xml_node N = FDoc->first_child(); N; N = N.next_sibling())
                if (N.type() == pugi::node_doctype) {
                    // Its value starts after "<!DOCTYPE" and blanks and ends where its ">" was.
                    const qsizetype ValueAt = N.value() - FBuffer.constData();
                    if (ValueAt < 0 || ValueAt > FBuffer.size()) break;
                    Start = Before.lastIndexOf("<!DOCTYPE", ValueAt);
                    End = ValueAt + qsizetype(std::strlen(N.value())) + 1;
                    break;
                }
            Fault = FindBadReference(Before, Start, End);
        }
    } else if (!Fault) {
        Fault = {QStringLiteral("No document element found"), 0};
    }
    Changed();
    if (Fault || !R) {
        FDoc->reset();
        FBuffer.clear();
        FActive = false;
        // The parser changed the text as it went: the place is found in the text as it was.
        const QByteArray Text = Pristine ? *Pristine : DecodeToUtf8(ReadFileBytes(Source), Source);
        if (!Fault) RaiseParseError(R, Text, Source);
        qsizetype At = std::clamp<qsizetype>(Fault.Offset, 0, Text.size());
        while (Fault.SkipBlanks && At < Text.size() &&
               (Text[At] == ' ' || Text[At] == '\t' || Text[At] == '\r' || Text[At] == '\n'))
            ++At;
        RaiseAt(Fault.Message, Text, At, Source);
    }
    DropIndentation(*FDoc);
    // Blanks outside the root are no content (the check above let nothing else through), even
    // when they came from references: kept, each save would add a line around them.
    for (xml_node N = FDoc->first_child(), Next; N; N = Next) {
        Next = N.next_sibling();
        if (N.type() == pugi::node_pcdata) FDoc->remove_child(N);
    }
    FActive = true;
}

void TXMLDocument::LoadFromFile(const QString& FileName) {
    Clear();
    try {
        // Parsed where it lies, without a copy: the document keeps the buffer.
        FBuffer = DecodeToUtf8(ReadFileBytes(FileName), FileName);
    } catch (...) {
        FActive = false;
        throw;
    }
    ParseText(FileName, nullptr);
    FFileName = FileName;
}

void TXMLDocument::LoadFromXML(const QString& Xml) {
    // Already decoded: whatever encoding a declaration names, the text is given as UTF-16 here.
    Clear();
    const QByteArray Utf8 = Xml.toUtf8();
    FBuffer = Utf8;
    ParseText(QString(), &Utf8);
}

void TXMLDocument::LoadFromBytes(const QByteArray& Data) {
    Clear();
    QByteArray Utf8;
    try {
        Utf8 = DecodeToUtf8(Data, QString());
    } catch (...) {
        FActive = false;
        throw;
    }
    FBuffer = Utf8;
    ParseText(QString(), &Utf8);
}

namespace {

// The parser's writer leaves a CR in text as it is, and every reader turns a CR in text into a
// line feed: written as a reference it reads back as the CR it was. Attribute values have it
// escaped already; comments, CDATA sections and processing instructions cannot hold a
// reference and are copied as they stand. Out is the writer's own output, so every "<" in
// text is markup.
QByteArray EscapeCarriageReturns(const QByteArray& In) {
    QByteArray Out;
    Out.reserve(In.size() + In.count('\r') * 4);
    const qsizetype N = In.size();
    qsizetype i = 0;
    while (i < N) {
        const char C = In[i];
        if (C == '\r') {
            Out.append("&#13;");
            ++i;
            continue;
        }
        if (C != '<') {
            Out.append(C);
            ++i;
            continue;
        }
        const QByteArrayView Rest = QByteArrayView(In).sliced(i);
        qsizetype End;
        if (Rest.startsWith("<!--"))
            End = In.indexOf("-->", i + 4), End = End < 0 ? N : End + 3;
        else if (Rest.startsWith("<![CDATA["))
            End = In.indexOf("]]>", i + 9), End = End < 0 ? N : End + 3;
        else if (Rest.startsWith("<?"))
            End = In.indexOf("?>", i + 2), End = End < 0 ? N : End + 2;
        else {
            // A tag or the document type: up to the ">" outside quotes and brackets.
            char Quote = 0;
            int Depth = 0;
            End = i + 1;
            for (; End < N; ++End) {
                const char D = In[End];
                if (Quote) {
                    if (D == Quote) Quote = 0;
                } else if (D == '"' || D == '\'')
                    Quote = D;
                else if (D == '[')
                    ++Depth;
                else if (D == ']')
                    --Depth;
                else if (D == '>' && Depth <= 0)
                    break;
            }
            End = std::min(End + 1, N);
        }
        Out.append(In.constData() + i, End - i);
        i = End;
    }
    return Out;
}

} // namespace

namespace {

// A whitespace-only text the reader would drop or change: one among other nodes (the reader
// drops whitespace between elements), or one spanning lines (dropped as indentation). Such a
// text can only have come from references, and is written as references again.
bool IsFragileText(xml_node N) {
    if (N.type() != pugi::node_pcdata) return false;
    const char* V = N.value();
    if (!*V) return false;
    bool LineBreak = false;
    for (const char* P = V; *P; ++P) {
        if (*P == '\n')
            LineBreak = true;
        else if (*P != ' ' && *P != '\t' && *P != '\r')
            return false;
    }
    return LineBreak || N.previous_sibling() || N.next_sibling();
}

bool HasFragileText(xml_node Root) {
    // Depth first without recursion: documents of thousands of rows are saved often.
    xml_node N = Root.first_child();
    while (N) {
        if (IsFragileText(N)) return true;
        if (xml_node C = N.first_child()) {
            N = C;
            continue;
        }
        while (N != Root && !N.next_sibling()) N = N.parent();
        if (N == Root) break;
        N = N.next_sibling();
    }
    return false;
}

// A node through the parser's writer, CRs in its text as references.
void PrintNode(QByteArray& Out, xml_node N) {
    const qsizetype From = Out.size();
    TByteWriter W(Out);
    N.print(W, "", pugi::format_raw, pugi::encoding_utf8);
    if (QByteArrayView(Out).sliced(From).contains('\r')) {
        const QByteArray Escaped = EscapeCarriageReturns(Out.mid(From));
        Out.truncate(From);
        Out.append(Escaped);
    }
}

// An element whose subtree holds a fragile text: its tags by the parser's writer (for its
// escaping of attribute values), its children one by one, fragile texts as references.
void PrintElementWithFragileText(QByteArray& Out, xml_node E) {
    pugi::xml_document Shallow;
    xml_node Copy = Shallow.append_child(E.name());
    for (pugi::xml_attribute A : E.attributes()) Copy.append_attribute(A.name()).set_value(A.value());
    QByteArray Tag;
    PrintNode(Tag, Copy);
    Tag.chop(2); // "/>": the element has children
    Out.append(Tag);
    Out.append('>');
    for (xml_node C = E.first_child(); C; C = C.next_sibling()) {
        if (IsFragileText(C)) {
            for (const char* P = C.value(); *P; ++P)
                Out.append(*P == ' ' ? "&#32;" : *P == '\t' ? "&#9;" : *P == '\n' ? "&#10;" : "&#13;");
        } else if (C.type() == pugi::node_element && HasFragileText(C)) {
            PrintElementWithFragileText(Out, C);
        } else {
            PrintNode(Out, C);
        }
    }
    Out.append("</");
    Out.append(E.name());
    Out.append('>');
}

} // namespace

QByteArray TXMLDocument::SaveToBytes() const {
    QByteArray Out;
    xml_node First = FDoc->first_child();
    if (FWriteDeclaration && !(First && First.type() == pugi::node_declaration))
        Out.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    for (xml_node N = First; N; N = N.next_sibling()) {
        if (N.type() == pugi::node_declaration) {
            AppendDeclaration(Out, N);
        } else if (N.type() == pugi::node_doctype) {
            // As it stands: its comments and literals cannot hold a reference.
            TByteWriter W(Out);
            N.print(W, "", pugi::format_raw, pugi::encoding_utf8);
        } else if (N.type() == pugi::node_element && HasFragileText(N)) {
            PrintElementWithFragileText(Out, N);
        } else {
            PrintNode(Out, N);
        }
        Out.append('\n');
    }
    return Out;
}

QString TXMLDocument::SaveToXML() const { return QString::fromUtf8(SaveToBytes()); }

void TXMLDocument::SaveToFile(const QString& FileName) {
    WriteFileAtomic(FileName, SaveToBytes());
    FFileName = FileName;
}

IXMLNodeList TXMLDocument::ChildNodes() { return IXMLNodeList(FDoc->internal_object(), this); }

IXMLNode TXMLDocument::DocumentElement() { return IXMLNode(FDoc->first_child().internal_object(), this); }

IXMLNode TXMLDocument::RootElement() { return IXMLNode(FDoc->document_element().internal_object(), this); }

IXMLNode TXMLDocument::AddChild(const QString& NodeName) {
    if (!IsXmlName(NodeName)) RaiseBadName("element", NodeName);
    FActive = true;
    Changed();
    xml_node C = FDoc->append_child(TUtf8Text(NodeName).c_str());
    SetFresh(C.internal_object());
    return IXMLNode(C.internal_object(), this);
}

IXMLNode TXMLDocument::CreateNode(const QString& Text, TXMLNodeType NodeType) {
    if (!FLoose) FLoose = std::make_unique<pugi::xml_document>();
    xml_node N;
    switch (NodeType) {
        case ntElement:
            if (!IsXmlName(Text)) RaiseBadName("element", Text);
            N = FLoose->append_child(TUtf8Text(Text).c_str());
            break;
        case ntComment: N = FLoose->append_child(pugi::node_comment); break;
        case ntText: N = FLoose->append_child(pugi::node_pcdata); break;
        case ntCData: N = FLoose->append_child(pugi::node_cdata); break;
        default: throw EXMLDocError(QStringLiteral("Cannot create a node of kind %1").arg(int(NodeType)));
    }
    if (NodeType != ntElement) N.set_value(TUtf8Text(Text).c_str());
    return IXMLNode(N.internal_object(), this);
}
