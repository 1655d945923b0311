#include "app/ULanguage.h"

#include "app/UComon.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

TLanguageTable Lang;
int Num_Lang_Strings = 0;

namespace {
const QChar Pilcrow(0x00B6);

// The file's lines, at most Max_Language_File_Size bytes of it. A file cut at that size loses
// its last, incomplete line rather than passing half a text on.
QStringList Read_Language_Lines(const QString& FileName) {
    bool Cut = false;
    QByteArray Bytes;
    try {
        Bytes = ReadFileBytes(FileName, Max_Language_File_Size, &Cut);
    } catch (const EInOutError& E) {
        throw EInOutError(QStringLiteral("Cannot read the language file \"%1\": %2").arg(FileName, E.Message()));
    }
    QString Text = DecodeText(Bytes);
    if (Cut) {
        const int LastBreak = std::max(Text.lastIndexOf('\n'), Text.lastIndexOf('\r'));
        Text.truncate(LastBreak < 0 ? 0 : LastBreak);
    }
    return SplitLines(Text);
}

// A language name that leaves the language folder cannot name one of its files.
bool Is_Plain_Name(const QString& Name) {
    return !Name.isEmpty() && !Name.contains('/') && !Name.contains('\\') && !Name.contains(QChar(0)) &&
        Name != QLatin1String(".") && Name != QLatin1String("..");
}
} // namespace

QString TLanguageTable::Strings(int n) const {
    if (n < 0 || n >= FStrings.size()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(n));
    return FStrings.at(n);
}

void Load_English_Strings() {
    Lang.FStrings = English_Table();
    Num_Lang_Strings = Lang_Table_Size;
}

bool Parse_Language_Line(const QString& Line, int& Number, QString& Text) {
    const QString S = Trim(Line);
    if (!S.startsWith(QLatin1String("STR"))) return false;
    // The number stands between "STR" and the character just before the first "=".
    const int Eq = S.indexOf('=');
    if (Eq < 0) return false;
    const int NumberLength = Eq - 4;
    if (NumberLength <= 0) return false;
    int N = 0;
    if (!TryStrToInt(Trim(S.mid(3, NumberLength)), N)) return false;
    if (N < 0 || N >= Num_Lang_Strings) return false;
    QString T = Trim(S.mid(Eq + 1));
    if (T.isEmpty()) return false;
    const int Comment = T.indexOf(QLatin1String("/#/"));
    if (Comment >= 0) {
        T = Trim(T.left(Comment));
        // A line that is all comment sets nothing, like a line with no text.
        if (T.isEmpty()) return false;
    }
    if (T.startsWith(Pilcrow)) T.remove(0, 1);
    const int End = T.indexOf(Pilcrow);
    if (End >= 0) T.truncate(End);
    Number = N;
    Text = T;
    return true;
}

void Read_Language_File(const QString& FileName) {
    const QStringList Lines = Read_Language_Lines(FileName);
    for (const QString& Line : Lines) {
        int Number = 0;
        QString Text;
        // The table may have fewer slots than numbers allowed when it was never filled.
        if (Parse_Language_Line(Line, Number, Text) && Number < Lang.FStrings.size()) Lang.FStrings[Number] = Text;
    }
}

void Load_Language() {
    Load_English_Strings();
    // Without a language folder there is no file to look for (and no path to build one from).
    const bool HaveFolder = !Language_Dir.isEmpty();
    if (HaveFolder && Is_Plain_Name(Lang_Name)) {
        const QString FileName = Language_Dir + "/" + Lang_Name + ".lng";
        if (FileExists(FileName)) {
            Read_Language_File(FileName);
            return;
        }
    }
    Lang_Name = Default_Lang_Name;
    const QString English = Language_Dir + "/" + Default_Lang_Name + ".lng";
    if (HaveFolder && FileExists(English)) Read_Language_File(English);
}

void Reset_Language() {
    Lang.FStrings.clear();
    Num_Lang_Strings = 0;
}
