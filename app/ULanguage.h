#pragma once
// The numbered language table every window takes its texts from. English is built in; a
// language file in Language_Dir ("<name>.lng") overrides any subset of the numbers.
//
// Language file: one entry per line, "STR <number> =<text>". A byte-order mark selects UTF-8 or
// UTF-16; without one the bytes are UTF-8 when they are valid UTF-8, else Windows-1252. Lines are trimmed; other lines are comments.
// The character just before the first "=" is always dropped (the grammar wants one blank there).
// "/#/" starts an end-of-line comment; a leading pilcrow is dropped and a later one ends the
// text, so "¶ text ¶" keeps its blanks. Empty texts and numbers outside the table are ignored;
// a later line for the same number wins.

#include <QString>
#include <QStringList>

class TLanguageTable {
public:
    // Text n. Reading outside 0..Count()-1 (an empty table included) raises EListError.
    QString operator[](int n) const { return Strings(n); }
    QString Strings(int n) const;
    int Count() const { return FStrings.size(); }

private:
    friend void Load_English_Strings();
    friend void Read_Language_File(const QString& FileName);
    friend void Reset_Language();
    QStringList FStrings;
};

extern TLanguageTable Lang;
extern int Num_Lang_Strings; // 4200 once the English table is loaded

// How many texts the table holds.
constexpr int Lang_Table_Size = 4200;

// Files larger than this are read only up to the last complete line within it.
constexpr qint64 Max_Language_File_Size = 16 * 1024 * 1024;

// Empties Lang and fills it with the 4200 English texts.
void Load_English_Strings();

// Overrides entries of Lang from a language file. Raises EInOutError when the file cannot be
// read or is no regular file (a device, a FIFO); lines that do not follow the grammar are skipped.
void Read_Language_File(const QString& FileName);

// The English table, then the file of Lang_Name. Without that file Lang_Name becomes "English"
// and "English.lng" applies when present.
void Load_Language();

// One language-file line: true with the number and text when the line sets a text, false when
// the line is to be ignored. Numbers must be below Num_Lang_Strings.
bool Parse_Language_Line(const QString& Line, int& Number, QString& Text);

// Empties Lang and sets Num_Lang_Strings to 0, as at program start (for tests).
void Reset_Language();

// The built-in English table: Lang_Table_Size texts, " " for numbers that carry no text.
const QStringList& English_Table();
