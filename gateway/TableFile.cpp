#include "gateway/TableFile.h"

#include "platform/xml/XMLDoc.h"

#include <vector>

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
    for (int s = 0; s < Desc.Sections.size(); ++s) Data.Tables.append(TTable());
    Walk_Table_Rows(Desc, FileName, TTableWalk(), [&](const TTableRow& R) {
        const TTableSection& Section = Desc.Sections[R.Section()];
        TTable& Table = Data.Tables[R.Section()];
        if (Section.Capacity > 0 && R.Row() > Section.Capacity) {
            ++Table.Dropped;
            return;
        }
        Table.Rows.append(QStringList());
        QStringList& Row = Table.Rows.last();
        for (int c = 1; c <= Section.Attributes.size(); ++c) Row << R.Value(c);
    });
}

// ---- the row walk ---------------------------------------------------------------------------
struct TTableRow::TState {
    const TTableFileDesc* Desc = nullptr;
    const TTableSection* Section = nullptr;
    int SectionIndex = 0;
    int Row = 0;
    QString Label; // the section as messages name it
    std::vector<QByteArray> NameBytes; // UTF-8 names of the stored columns
    std::vector<const char*> Names;
    std::vector<int> Slot; // per column (from 0): its place in Names and Found, -1 when not stored
    std::vector<const char*> Found; // the current row's texts, null for a missing attribute

    explicit TState(const TTableFileDesc& D) : Desc(&D) {}
    void Enter(int Index) {
        SectionIndex = Index;
        Section = &Desc->Sections[Index];
        Label = Section_Label(*Desc, *Section);
        NameBytes.clear();
        Names.clear();
        Slot.assign(size_t(Section->Attributes.size()), -1);
        for (int c = 0; c < Section->Attributes.size(); ++c) {
            const QString& Name = Section->Attributes[c].Name;
            if (Name.isEmpty()) continue;
            Slot[size_t(c)] = int(NameBytes.size());
            NameBytes.push_back(Name.toUtf8());
        }
        for (const QByteArray& N : NameBytes) Names.push_back(N.constData());
        Found.assign(Names.size(), nullptr);
    }
    int SlotOf(int Col) const { return Col >= 1 && Col <= int(Slot.size()) ? Slot[size_t(Col - 1)] : -1; }
    QString NameOf(int Col) const {
        return Col >= 1 && Col <= Section->Attributes.size() ? Section->Attributes[Col - 1].Name : QString();
    }
};

int TTableRow::Section() const { return FState.SectionIndex; }
int TTableRow::Row() const { return FState.Row; }

const char* TTableRow::Text(int Col) const {
    const int S = FState.SlotOf(Col);
    return S < 0 ? nullptr : FState.Found[size_t(S)];
}

void TTableRow::Raise_Missing(int Col) const {
    throw EXMLDocError(
        QString("%1: row %2 has no attribute \"%3\"").arg(FState.Label).arg(FState.Row).arg(FState.NameOf(Col)));
}

QString TTableRow::Value(int Col) const {
    if (const char* T = Text(Col)) return QString::fromUtf8(T);
    const QList<TTableAttribute>& A = FState.Section->Attributes;
    if (Col >= 1 && Col <= A.size() && (A[Col - 1].Name.isEmpty() || A[Col - 1].Guarded)) return A[Col - 1].Default;
    Raise_Missing(Col);
}

int TTableRow::Number(int Col) const {
    const char* T = Text(Col);
    if (!T) [[unlikely]]
        Raise_Missing(Col);
    int V = 0;
    if (!TryStrToInt(T, V)) [[unlikely]]
        throw EConvertError(QString("%1: row %2: \"%3\" is not a valid number for \"%4\"")
                                .arg(FState.Label)
                                .arg(FState.Row)
                                .arg(QString::fromUtf8(T), FState.NameOf(Col)));
    return V;
}

void TTableRow::Refuse(int Col, const QString& Reason) const {
    const char* T = Text(Col);
    throw ERangeError(QString("%1: row %2: \"%3\" for \"%4\" %5")
                          .arg(FState.Label)
                          .arg(FState.Row)
                          .arg(T ? QString::fromUtf8(T) : QString(), FState.NameOf(Col), Reason));
}

void Walk_Table_Rows(const TTableFileDesc& Desc, const QString& FileName, const TTableWalk& How,
                     const TTableRowVisitor& Visit) {
    TXMLDocument Doc;
    Doc.LoadFromFile(FileName);
    IXMLNode Root;
    if (How.RootByName) {
        Root = Doc.ChildNodes().FindNode(Desc.Root);
        if (Root.IsNull())
            throw EXMLDocError(QString("\"%1\": root element \"%2\" not found").arg(Desc.FileName, Desc.Root));
    } else {
        Root = Doc.DocumentElement();
    }
    TTableRow::TState State(Desc);
    const TTableRow Row(State);
    for (int s = 0; s < Desc.Sections.size(); ++s) {
        State.Enter(s);
        const TTableSection& Section = Desc.Sections[s];
        IXMLNode Parent = Root;
        if (!Section.Name.isEmpty()) {
            Parent = Root.IsNull() ? IXMLNode() : Root.FindNode(Section.Name);
            if (Parent.IsNull())
                throw EXMLDocError(QString("\"%1\": section \"%2\" not found").arg(Desc.FileName, Section.Name));
        }
        const IXMLNodeList Rows = Parent.ChildNodes();
        if (How.Limit > 0) {
            int Count = 0;
            for (IXMLNode N = Rows.First(); !N.IsNull(); N = N.NextSibling())
                if (!How.ElementsOnly || N.NodeType() == ntElement) ++Count;
            if (Count > How.Limit)
                throw ERangeError(QString("%1 holds %2 rows; the device table holds at most %3")
                                      .arg(State.Label)
                                      .arg(Count)
                                      .arg(How.Limit));
        }
        State.Row = 0;
        for (IXMLNode N = Rows.First(); !N.IsNull(); N = N.NextSibling()) {
            if (How.ElementsOnly && N.NodeType() != ntElement) continue;
            ++State.Row;
            N.ReadAttributes(State.Names, State.Found);
            Visit(Row);
        }
    }
}
