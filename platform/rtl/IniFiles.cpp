#include "platform/rtl/IniFiles.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Files.h"

namespace {
QString Unquote(const QString& V) {
    if (V.size() >= 2 && (V.front() == u'"' || V.front() == u'\'') && V.back() == V.front())
        return V.mid(1, V.size() - 2);
    return V;
}

QString QuoteIfNeeded(const QString& V) {
    if (V.isEmpty()) return V;
    const bool blankEnds = V.front().unicode() <= ' ' || V.back().unicode() <= ' ';
    if (blankEnds || Unquote(V) != V) return u'"' + V + u'"';
    return V;
}

bool HasLineBreak(const QString& S) { return S.contains(u'\r') || S.contains(u'\n'); }

void CheckName(const QString& What, const QString& Name) {
    if (HasLineBreak(Name) || Trim(Name) != Name || Name.isEmpty())
        throw EConvertError(QStringLiteral("Invalid INI %1 name '%2'").arg(What, Name));
}
} // namespace

TIniFile::TIniFile(const QString& FileName) : FFileName(FileName) {
    if (!FileExists(FileName)) return;
    const QStringList lines = ReadTextLines(FileName);
    TSection* current = nullptr;
    for (const QString& raw : lines) {
        const QString t = Trim(raw);
        if (t.startsWith(u'[') && t.contains(u']')) {
            FSections.append(TSection{Trim(t.mid(1, t.indexOf(u']') - 1)), true, {}});
            current = &FSections.last();
            continue;
        }
        if (!current) {
            FSections.append(TSection{QString(), false, {}});
            current = &FSections.last();
        }
        const int eq = t.indexOf(u'=');
        TLine line;
        if (eq > 0 && !t.startsWith(u';')) {
            line.IsEntry = true;
            line.Key = Trim(t.left(eq));
            line.Value = Unquote(Trim(t.mid(eq + 1)));
        } else {
            line.Raw = raw;
        }
        current->Lines.append(line);
    }
}

int TIniFile::FindSection(const QString& Section) const {
    for (int i = 0; i < FSections.size(); ++i)
        if (FSections[i].Headed && SameText(FSections[i].Name, Section)) return i;
    return -1;
}

int TIniFile::FindKey(const TSection& S, const QString& Ident) const {
    for (int i = 0; i < S.Lines.size(); ++i)
        if (S.Lines[i].IsEntry && SameText(S.Lines[i].Key, Ident)) return i;
    return -1;
}

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const {
    const int s = FindSection(Section);
    if (s < 0) return Default;
    const int k = FindKey(FSections[s], Ident);
    return k < 0 ? Default : FSections[s].Lines[k].Value;
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
    CheckName(QStringLiteral("section"), Section);
    if (Section.contains(u']')) CheckName(QStringLiteral("section"), QString());
    CheckName(QStringLiteral("key"), Ident);
    if (Ident.contains(u'=') || Ident.startsWith(u'[') || Ident.startsWith(u';'))
        throw EConvertError(QStringLiteral("Invalid INI key name '%1'").arg(Ident));
    if (HasLineBreak(Value)) throw EConvertError(QStringLiteral("An INI value cannot hold a line break"));
    const QList<TSection> before = FSections;
    int s = FindSection(Section);
    if (s < 0) {
        // A blank line sets a new section off from what comes before it.
        if (!FSections.isEmpty() &&
            (FSections.last().Lines.isEmpty() || FSections.last().Lines.last().IsEntry ||
             !Trim(FSections.last().Lines.last().Raw).isEmpty()))
            FSections.last().Lines.append(TLine{});
        FSections.append(TSection{Section, true, {}});
        s = FSections.size() - 1;
    }
    TSection& sec = FSections[s];
    const int k = FindKey(sec, Ident);
    if (k >= 0) {
        sec.Lines[k].Value = Value;
    } else {
        // New keys go after the section's last entry, ahead of trailing blank lines.
        int at = sec.Lines.size();
        while (at > 0 && !sec.Lines[at - 1].IsEntry && Trim(sec.Lines[at - 1].Raw).isEmpty()) --at;
        TLine line;
        line.IsEntry = true;
        line.Key = Ident;
        line.Value = Value;
        sec.Lines.insert(at, line);
    }
    try {
        Save();
    } catch (...) {
        FSections = before;
        throw;
    }
}

int TIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const {
    return StrToIntDef(ReadString(Section, Ident, QString()), Default);
}

void TIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value) {
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::ReadSection(const QString& Section, TStrings* Strings) const {
    Strings->WithinUpdate([&] {
        Strings->Clear();
        const int s = FindSection(Section);
        if (s >= 0)
            for (const TLine& l : FSections[s].Lines)
                if (l.IsEntry) Strings->Add(l.Key);
    });
}

void TIniFile::ReadSections(TStrings* Strings) const {
    Strings->WithinUpdate([&] {
        Strings->Clear();
        QStringList seen;
        for (const TSection& s : FSections) {
            if (!s.Headed || seen.contains(s.Name, Qt::CaseInsensitive)) continue;
            seen << s.Name;
            Strings->Add(s.Name);
        }
    });
}

void TIniFile::ReadSectionValues(const QString& Section, TStrings* Strings) const {
    Strings->WithinUpdate([&] {
        Strings->Clear();
        const int s = FindSection(Section);
        if (s >= 0)
            for (const TLine& l : FSections[s].Lines)
                if (l.IsEntry) Strings->Add(l.Key + u'=' + l.Value);
    });
}

bool TIniFile::SectionExists(const QString& Section) const { return FindSection(Section) >= 0; }

bool TIniFile::ValueExists(const QString& Section, const QString& Ident) const {
    const int s = FindSection(Section);
    return s >= 0 && FindKey(FSections[s], Ident) >= 0;
}

void TIniFile::EraseSection(const QString& Section) {
    const QList<TSection> before = FSections;
    bool changed = false;
    for (int i = FSections.size() - 1; i >= 0; --i)
        if (FSections[i].Headed && SameText(FSections[i].Name, Section)) {
            FSections.removeAt(i);
            changed = true;
        }
    if (!changed) return;
    try {
        Save();
    } catch (...) {
        FSections = before;
        throw;
    }
}

void TIniFile::DeleteKey(const QString& Section, const QString& Ident) {
    const int s = FindSection(Section);
    if (s < 0) return;
    const int k = FindKey(FSections[s], Ident);
    if (k < 0) return;
    const QList<TSection> before = FSections;
    FSections[s].Lines.removeAt(k);
    try {
        Save();
    } catch (...) {
        FSections = before;
        throw;
    }
}

void TIniFile::UpdateFile() {
    FPending = false;
    const int Count = FUpdateCount;
    FUpdateCount = 0;
    try {
        Save();
    } catch (...) {
        FUpdateCount = Count;
        throw;
    }
    FUpdateCount = Count;
}

void TIniFile::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FPending) UpdateFile();
}

void TIniFile::Save() const {
    if (FUpdateCount > 0) {
        FPending = true;
        return;
    }
    QString text;
    for (int i = 0; i < FSections.size(); ++i) {
        const TSection& s = FSections[i];
        if (s.Headed) text += u'[' + s.Name + QStringLiteral("]\r\n");
        for (const TLine& l : s.Lines)
            text += (l.IsEntry ? l.Key + u'=' + QuoteIfNeeded(l.Value) : l.Raw) + QStringLiteral("\r\n");
    }
    WriteFileAtomic(FFileName, EncodeText(text));
}
