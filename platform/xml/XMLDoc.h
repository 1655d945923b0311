#pragma once
// The XML document every reader and writer of the system goes through: a small DOM over pugixml
// with the reading and writing rules the system's files are built on.
//
// Reading
//  - The document's own child nodes are kept in file order, whatever their kind: an XML
//    declaration (a processing instruction named "xml"), comments, processing instructions, the
//    document type and the root element. "The first node of the document" is the first of these.
//  - Whitespace-only text between elements (indentation) is dropped, so the children of an element
//    taken by position are the same whether a file is indented or not; so is a whitespace-only
//    text spanning lines that is an element's only content (a hand-indented empty section). Other
//    text is kept as it stands, blanks included: "  x " and "   " read back untrimmed.
//  - Comments are nodes: a comment among the rows of a section counts as a child by position.
//  - Attributes keep their file order; a missing attribute is told apart from an empty one.
//  - A file that is not well-formed raises EXMLDocError with the parser's message and the place
//    (line, column, byte offset); the document is then empty. So does what a lenient parser
//    would let through and lose: a second root element, text outside the root, a reference to
//    an entity XML does not define ("&nbsp;") or to no character.
//  - A byte-order mark selects UTF-8, UTF-16 or UTF-32; without one the declaration's encoding
//    decides (UTF-8, Windows-1252, ISO-8859-1); an encoding not known here raises EXMLDocError.
//  - The declaration is read by its grammar: version ("1.x"), encoding (a name) and standalone
//    ("yes" / "no"), each at most once; anything else in it raises EXMLDocError.
//  - A file is read only when it is a regular file of at most Max_Read_File_Size (64 MiB):
//    a device, a FIFO or a larger file raises EInOutError (see ReadFileBytes).
//
// Writing
//  - UTF-8 without byte-order mark, through WriteFileAtomic: the whole file or nothing.
//  - A CR in text is written "&#13;", so that it reads back as a CR and not as a line feed.
//    Whitespace-only text the reader would drop (between elements, or spanning lines) is written
//    as character references, so that text which came from references ("&#32;") comes back.
//  - No XML declaration unless SetWriteDeclaration(true), or unless the document holds one itself
//    (a loaded file keeps its declaration). It is written from known values only: its version
//    ("1.0" unless it holds a legal one), encoding as UTF-8 since that is what the file then
//    holds, standalone when it says yes or no.
//  - No indentation inside the root element: the element is written in one piece, exactly as
//    built. Each node at document level ends with a line break, so a comment added after the
//    root stands on its own line after it.
#include "platform/rtl/Objects.h"
#include "platform/rtl/SysUtils.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace pugi {
struct xml_node_struct;
struct xml_attribute_struct;
class xml_document;
class xml_attribute;
} // namespace pugi

enum TXMLNodeType {
    ntReserved,
    ntElement,
    ntAttribute,
    ntText,
    ntCData,
    ntEntityRef,
    ntEntity,
    ntProcessingInstr, // the XML declaration is one too, named "xml"
    ntComment,
    ntDocument,
    ntDocType,
    ntDocFragment,
    ntNotation
};

class IXMLNode;

// The child nodes of a node or of the document, every kind, in document order. A cheap handle:
// it stays valid while its parent node does.
class IXMLNodeList {
public:
    IXMLNodeList() = default;
    int Count() const;
    IXMLNode Nodes(int Index) const; // by position, comments count; raises EXMLDocError out of range
    IXMLNode operator[](int Index) const; // same as Nodes
    IXMLNode First() const; // null handle when empty
    IXMLNode Last() const; // null handle when empty
    IXMLNode FindNode(const QString& NodeName) const; // first child element of that name, or null
    int IndexOf(const IXMLNode& Node) const; // -1 when not a child here
    // Appends Node as the last child. A node from CreateNode is moved here; a node already in the
    // tree is moved from its place. Returns the node as it now stands in the tree.
    IXMLNode Add(const IXMLNode& Node);
    void Delete(int Index); // raises EXMLDocError out of range
    void Clear();
    bool IsNull() const { return FParent == nullptr; }

private:
    friend class IXMLNode;
    friend class TXMLDocument;
    explicit IXMLNodeList(pugi::xml_node_struct* Parent, class TXMLDocument* Doc) : FParent(Parent), FDoc(Doc) {}
    pugi::xml_node_struct* FParent = nullptr;
    class TXMLDocument* FDoc = nullptr;
};

// A node of a document: a cheap value handle, null when a lookup found nothing. Handles stay valid
// while the node is in its document; clearing or reloading the document invalidates them.
class IXMLNode {
public:
    IXMLNode() = default;
    bool IsNull() const { return FNode == nullptr; }
    explicit operator bool() const { return FNode != nullptr; }
    bool operator==(const IXMLNode& Other) const { return FNode == Other.FNode; }
    bool operator!=(const IXMLNode& Other) const { return FNode != Other.FNode; }

    TXMLNodeType NodeType() const; // ntReserved for a null handle
    QString NodeName() const; // element or processing-instruction name; "#text", "#comment", "#cdata-section"
    bool IsTextElement() const; // an element with no child or a single text / CDATA child

    // The value of a text, CDATA, comment or processing-instruction node; for an element its Text.
    QString NodeValue() const;
    void SetNodeValue(const QString& Value);

    // An element's text: its text and CDATA children joined, untrimmed ("" when it has none).
    // SetText replaces every child by one text node (none for an empty text). For other kinds it
    // is the node's value. A null handle raises EXMLDocError.
    QString Text() const;
    void SetText(const QString& Value);

    // Children.
    IXMLNodeList ChildNodes() const;
    bool HasChildNodes() const;
    IXMLNode FindNode(const QString& NodeName) const; // first child element of that name, or null
    IXMLNode AddChild(const QString& NodeName); // a new last child element; EXMLDocError unless an XML name
    IXMLNode ParentNode() const; // null for the document's own children
    IXMLNode NextSibling() const;
    IXMLNode PreviousSibling() const;

    // Attributes, in their order on the element.
    bool HasAttribute(const QString& Name) const;
    std::optional<QString> Attributes(const QString& Name) const; // nullopt when missing
    // For readers that do not guard the read: the value, or EXMLDocError
    // "Attribute "<Name>" missing on element "<element>"" when the element has no such attribute.
    QString AttributeText(const QString& Name) const;
    // For readers that take many values in turn: the value into Value, reusing its storage, so
    // that a row's numbers can be read without a heap allocation each. False, and Value left as
    // it was, when the element has no such attribute.
    bool ReadAttribute(const QString& Name, QString& Value) const;
    bool ReadAttribute(const char* Name, QString& Value) const; // Name in UTF-8, as the file has it
    // For readers that take a whole row at once: one pass over the element's attributes puts
    // into Values[i] the text of the attribute named Names[i] (UTF-8, as the file has it), or
    // nullptr when the element has none of that name. The texts are the parser's own, UTF-8 and
    // NUL-terminated, valid until the document changes. Names given in the order the file holds
    // them cost least; any order gives the same answers, the first attribute of a name counting
    // as for Attributes(). Names must be distinct and Values at least as long as Names.
    void ReadAttributes(std::span<const char* const> Names, std::span<const char*> Values) const;
    // Sets the value; an existing attribute keeps its place, a new one goes after the others.
    // A name that is not an XML name (empty, with a blank, a quote or "<", starting with a digit)
    // raises EXMLDocError and changes nothing: no file could hold such an attribute.
    void SetAttribute(const QString& Name, const QString& Value);
    bool RemoveAttribute(const QString& Name);
    int AttributeCount() const;
    QString AttributeName(int Index) const; // raises EXMLDocError out of range
    QString AttributeValue(int Index) const; // raises EXMLDocError out of range

private:
    friend class IXMLNodeList;
    friend class TXMLDocument;
    IXMLNode(pugi::xml_node_struct* Node, class TXMLDocument* Doc) : FNode(Node), FDoc(Doc) {}
    pugi::xml_node_struct* Required() const; // FNode, or EXMLDocError for a null handle
    // The attribute of that name into Found; false when there is none.
    bool Find(const QString& Name, pugi::xml_attribute& Found) const;
    bool Find(const char* Name, pugi::xml_attribute& Found) const; // Name in UTF-8
    pugi::xml_node_struct* FNode = nullptr;
    class TXMLDocument* FDoc = nullptr;
};

class TXMLDocument : public TObject {
public:
    TXMLDocument();
    ~TXMLDocument() override;

    // An inactive document is empty. Making it inactive discards the content; loading or building
    // makes it active.
    bool Active() const { return FActive; }
    void SetActive(bool Value);

    void Clear(); // removes every node; stays active

    // Replace the content with the file's / the text's. Raise EXMLDocError on malformed XML (and
    // EInOutError when the file cannot be read); the document is then empty and inactive.
    void LoadFromFile(const QString& FileName);
    void LoadFromXML(const QString& Xml);
    void LoadFromBytes(const QByteArray& Data);

    void SaveToFile(const QString& FileName); // raises EInOutError when it cannot write
    QString SaveToXML() const;
    QByteArray SaveToBytes() const; // UTF-8, what SaveToFile writes

    // Adds the XML declaration <?xml version="1.0" encoding="UTF-8"?> on saving when the document
    // has none of its own. Off by default.
    bool WriteDeclaration() const { return FWriteDeclaration; }
    void SetWriteDeclaration(bool Value) { FWriteDeclaration = Value; }

    QString FileName() const { return FFileName; } // of the last load or save

    // The document's own child nodes, every kind, in order.
    IXMLNodeList ChildNodes();
    // The first node of the document, whatever its kind (null when empty): the readers take it
    // as the root.
    IXMLNode DocumentElement();
    // The first element at document level (null when none).
    IXMLNode RootElement();
    // Adds an element at document level, after the nodes already there.
    IXMLNode AddChild(const QString& NodeName);
    // A new node not yet in the tree, to be placed with ChildNodes().Add(). Kinds: ntElement (Text
    // is the name), ntComment, ntText, ntCData (Text is the content); others raise EXMLDocError.
    IXMLNode CreateNode(const QString& Text, TXMLNodeType NodeType = ntElement);

private:
    friend class IXMLNodeList;
    friend class IXMLNode;
    // Parses FBuffer (UTF-8) in place. On an error the document is emptied and the error is
    // placed in Pristine, the text as it was before parsing (for a file, read again when null).
    void ParseText(const QString& Source, const QByteArray* Pristine);
    void Changed() { ++FVersion; }
    // Readers walk children by position (Nodes(j) for j = 0, 1, ...) and ask Count() on every
    // turn; remembering the last position and count per parent keeps such walks linear.
    struct TChildCache {
        pugi::xml_node_struct* Parent = nullptr;
        uint64_t Version = 0;
        int Index = -1;
        pugi::xml_node_struct* Node = nullptr;
        int Count = -1;
    };
    TChildCache FCache;
    // Readers ask a row's attributes in file order: each lookup starts after the last one found.
    struct TAttrHint;
    std::unique_ptr<TAttrHint> FHint;
    TAttrHint& Hint(pugi::xml_node_struct* Node); // reset when Node is not the last one asked
    // The element last added and the names set on it since: a writer sets distinct names on a
    // new row, and those need no search for an attribute of the same name.
    pugi::xml_node_struct* FFresh = nullptr;
    uint64_t FFreshVersion = 0;
    std::vector<uint64_t> FFreshNames; // fingerprints; a clash only costs the ordinary search
    void SetFresh(pugi::xml_node_struct* Node) {
        FFresh = Node;
        FFreshVersion = FVersion;
        FFreshNames.clear();
    }
    uint64_t FVersion = 1;
    QByteArray FBuffer; // the loaded file's text, parsed in place; outlives FDoc's nodes
    std::unique_ptr<pugi::xml_document> FDoc;
    std::unique_ptr<pugi::xml_document> FLoose; // nodes made by CreateNode, until placed
    bool FActive = false;
    bool FWriteDeclaration = false;
    QString FFileName;
};
