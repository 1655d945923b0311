#include "gateway/TableFile.h"

#include "platform/xml/XMLDoc.h"

QList<TTableAttribute> Unguarded_Attributes(const QStringList& Names) {
    QList<TTableAttribute> List;
    for (const QString& N : Names) List.append(TTableAttribute{N, false, QString()});
    return List;
}

QString Table_Cell(const QStringList& Row, int Col) { return Col >= 1 && Col <= Row.size() ? Row[Col - 1] : QString(); }

int Table_Length(const TTableSection& Section, const TTable& Table) {
    if (Section.KeyColumn <= 0) return Table.Rows.size();
    for (int r = 0; r < Table.Rows.size(); ++r) {
        const QString Key = Table_Cell(Table.Rows[r], Section.KeyColumn);
        if ((Section.TrimKey ? Trim(Key) : Key).isEmpty()) return r;
    }
    return Table.Rows.size();
}

static QString Section_Label(const TTableFileDesc& Desc, const TTableSection& Section) {
    return Section.Name.isEmpty() ? QString("\"%1\"").arg(Desc.FileName)
                                  : QString("section \"%1\" of \"%2\"").arg(Section.Name, Desc.FileName);
}

void Write_Table_File(const TTableFileDesc& Desc, const TTableFileData& Data, const QString& FileName) {
    if (Data.Tables.size() > Desc.Sections.size())
        throw ERangeError(QString("\"%1\" holds %2 tables, not %3")
                              .arg(Desc.FileName)
                              .arg(Desc.Sections.size())
                              .arg(Data.Tables.size()));
    // Every limit is checked before the document is built, so a refused table writes nothing.
    QList<int> Lengths;
    for (int s = 0; s < Desc.Sections.size(); ++s) {
        const TTableSection& Section = Desc.Sections[s];
        const int Len = s < Data.Tables.size() ? Table_Length(Section, Data.Tables[s]) : 0;
        if (Section.Capacity > 0 && Len > Section.Capacity)
            throw ERangeError(QString("%1: %2 rows, at most %3 allowed")
                                  .arg(Section_Label(Desc, Section))
                                  .arg(Len)
                                  .arg(Section.Capacity));
        Lengths << Len;
    }

    TXMLDocument Doc;
    Doc.SetActive(true);
    Doc.Clear();
    IXMLNode Root = Doc.AddChild(Desc.Root);
    if (!Desc.Comment.isEmpty()) Doc.ChildNodes().Add(Doc.CreateNode(Desc.Comment, ntComment));
    for (int s = 0; s < Desc.Sections.size(); ++s) {
        const TTableSection& Section = Desc.Sections[s];
        IXMLNode Parent = Section.Name.isEmpty() ? Root : Root.AddChild(Section.Name);
        for (int r = 0; r < Lengths[s]; ++r) {
            const QStringList& Row = Data.Tables[s].Rows[r];
            IXMLNode Elem = Parent.AddChild(Desc.RowElement);
            for (int c = 0; c < Section.Attributes.size(); ++c) {
                const TTableAttribute& A = Section.Attributes[c];
                if (!A.Name.isEmpty()) Elem.SetAttribute(A.Name, Table_Cell(Row, c + 1));
            }
        }
    }
    Doc.SaveToFile(FileName);
}

void Read_Table_File(const TTableFileDesc& Desc, const QString& FileName, TTableFileData& Data) {
    Data.Tables.clear();
    TXMLDocument Doc;
    Doc.LoadFromFile(FileName);
    const IXMLNode Root = Doc.DocumentElement();
    for (const TTableSection& Section : Desc.Sections) {
        Data.Tables.append(TTable());
        TTable& Table = Data.Tables.last();
        IXMLNode Parent = Root;
        if (!Section.Name.isEmpty()) {
            Parent = Root.FindNode(Section.Name);
            if (Parent.IsNull())
                throw EXMLDocError(QString("\"%1\": section \"%2\" not found").arg(Desc.FileName, Section.Name));
        }
        const IXMLNodeList Rows = Parent.ChildNodes();
        const int Count = Rows.Count();
        const int Read = Section.Capacity > 0 ? std::min(Count, Section.Capacity) : Count;
        Table.Dropped = Count - Read;
        for (int j = 0; j < Read; ++j) {
            const IXMLNode Node = Rows.Nodes(j);
            Table.Rows.append(QStringList());
            QStringList& Row = Table.Rows.last();
            for (const TTableAttribute& A : Section.Attributes) {
                if (A.Name.isEmpty()) {
                    Row << A.Default;
                    continue;
                }
                const std::optional<QString> Value = Node.Attributes(A.Name);
                if (Value) {
                    Row << *Value;
                } else if (A.Guarded) {
                    Row << A.Default;
                } else {
                    throw EXMLDocError(QString("%1: row %2 has no attribute \"%3\"")
                                           .arg(Section_Label(Desc, Section))
                                           .arg(j + 1)
                                           .arg(A.Name));
                }
            }
        }
    }
}
