#pragma once
// INI files: sections of "key=value" lines. Section and key names match without regard to case.
#include "platform/rtl/Objects.h"
#include "platform/rtl/SysUtils.h"

#include <QList>
#include <QString>

class TStrings;

// The file is read once, at construction (a missing file reads as empty; an unreadable one raises
// EInOutError). Every change is written at once, whole, through the atomic writer, so a failed
// write (EInOutError) leaves the file as it was; UpdateFile writes it again. Comment and other
// lines are kept. A value with blanks at its ends, or one wrapped in quotes, is written in double
// quotes, so it reads back exactly; names and values cannot hold line breaks (EConvertError).
class TIniFile : public TObject {
public:
    explicit TIniFile(const QString& FileName);
    const QString& FileName() const { return FFileName; }

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    int ReadInteger(const QString& Section, const QString& Ident, int Default) const; // the integer syntax
    void WriteInteger(const QString& Section, const QString& Ident, int Value);
    bool ReadBool(const QString& Section, const QString& Ident, bool Default) const; // integer, 0 = false
    void WriteBool(const QString& Section, const QString& Ident, bool Value); // "1" / "0"

    void ReadSection(const QString& Section, TStrings* Strings) const; // the keys, in file order
    void ReadSections(TStrings* Strings) const; // the section names
    void ReadSectionValues(const QString& Section, TStrings* Strings) const; // "key=value" lines
    bool SectionExists(const QString& Section) const;
    bool ValueExists(const QString& Section, const QString& Ident) const;
    void EraseSection(const QString& Section);
    void DeleteKey(const QString& Section, const QString& Ident);
    void UpdateFile();
    // The changes made between BeginUpdate and the matching EndUpdate are written once, by the
    // outermost EndUpdate, so a batch of keys reaches the file whole or not at all.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

private:
    struct TLine {
        bool IsEntry = false;
        QString Key;
        QString Value;
        QString Raw; // comments, blank and other lines, kept as they were
    };
    struct TSection {
        QString Name;
        bool Headed = true; // false for the lines before the first section
        QList<TLine> Lines;
    };
    int FindSection(const QString& Section) const;
    int FindKey(const TSection& S, const QString& Ident) const;
    void Save() const;
    QString FFileName;
    QList<TSection> FSections;
    int FUpdateCount = 0;
    mutable bool FPending = false;
};
