#include "grid/base/ExtUtil.h"

#include "grid/base/ExtUtil_Internal.h"

#include <array>

using namespace ExtUtil_Internal;

// ---- CSV fields ------------------------------------------------------------------------------
QString DoubleQuoteChars(const QString& Text) {
    if (!Text.contains(Quote)) return Text;
    QString R(Text);
    R.replace(Quote, QStringLiteral("\"\""));
    return R;
}

QString UndoubleChar(QChar Ch, const QString& Text) {
    if (!Text.contains(Ch)) return Text;
    QString R;
    R.reserve(Text.size());
    const int N = Text.size();
    for (int I = 0; I < N; ++I) {
        R += Text.at(I);
        if (Text.at(I) == Ch && I + 1 < N && Text.at(I + 1) == Ch) ++I;
    }
    return R;
}

void QuoteMultiLineField(QString& Text) {
    Text.replace(QStringLiteral("\r\n"), QString(VT));
    Text = Quote + Text + Quote;
}

void VTToCRLF(QString& Text) {
    if (Text.contains(VT)) Text.replace(VT, QStringLiteral("\r\n"));
}

void CRLFToLF(QString& Text) { Text.replace(QStringLiteral("\r\n"), QString(LF)); }

void CRToTilde(QString& Text) {
    Text.remove(LF);
    Text.replace(CR, QChar('~'));
}

void TildeToCRLF(QString& Text) {
    Text.replace(QChar('~'), QStringLiteral("\r\n"));
    if (Text == QStringLiteral("^")) Text.clear();
}

namespace {
// Upper halves of the two 8-bit code pages. Windows-1252 keeps its five unassigned bytes as the
// C1 controls, the way the platform's own conversion does, so no byte is lost.
constexpr std::array<char16_t, 128> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152,
    0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0,
    0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD,
    0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA,
    0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF, 0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4,
    0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF};

// The OEM code page of Western European systems (850).
constexpr std::array<char16_t, 128> Cp850High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0};

// The byte a character takes in the code page; "?" for a character the page cannot hold.
uint8_t ToCodePage(QChar C, const std::array<char16_t, 128>& High) {
    const char16_t U = C.unicode();
    if (U < 0x80) return uint8_t(U);
    for (int I = 0; I < 128; ++I)
        if (High[I] == U) return uint8_t(0x80 + I);
    return uint8_t('?');
}

QChar FromCodePage(uint8_t B, const std::array<char16_t, 128>& High) {
    return B < 0x80 ? QChar(char16_t(B)) : QChar(High[B - 0x80]);
}
} // namespace

void AnsiToOemText(QString& Text) {
    for (QChar& C : Text) C = FromCodePage(ToCodePage(C, Cp850High), Cp1252High);
}

void OemToAnsiText(QString& Text) {
    for (QChar& C : Text) C = FromCodePage(ToCodePage(C, Cp1252High), Cp850High);
}

QStringList SplitCSVLine(const QString& Line, QChar Delimiter, bool JavaCSV) {
    QStringList Fields;
    const QChar* D = Line.constData();
    const int N = Line.size();
    auto Store = [&](QString Field) {
        if (JavaCSV)
            TildeToCRLF(Field);
        else
            VTToCRLF(Field);
        Fields.append(std::move(Field));
    };
    int Pos = 0;
    for (;;) {
        int Next = Line.indexOf(Delimiter, Pos);
        if (Next < 0) break;
        while (N - Pos >= 2 && D[Pos] == QChar(' ')) ++Pos;
        if (D[Pos] == Quote) {
            const int Close = UnpairedIndex(Quote, D, Pos + 1, N);
            if (Close < 0) {
                // No closing quote: the rest of the line is this one field, delimiters and all,
                // rather than losing the text up to the next delimiter.
                Store(UndoubleChar(Quote, Line.mid(Pos + 1)));
                return Fields;
            }
            Store(UndoubleChar(Quote, Line.mid(Pos + 1, Close - Pos - 1)));
            Pos = Close + 1;
            Next = Line.indexOf(Delimiter, Pos);
            if (Next >= 0) Pos = Next + 1;
        } else {
            Next = Line.indexOf(Delimiter, Pos);
            if (Next < 0) break; // only when the delimiter is a blank that was just skipped
            Store(Line.mid(Pos, Next - Pos));
            Pos = Next + 1;
        }
    }
    if (Pos < N) {
        while (N - Pos >= 2 && D[Pos] == QChar(' ')) ++Pos;
        int End = N;
        if (D[Pos] == Quote) ++Pos;
        if (End > Pos && D[End - 1] == Quote) --End;
        Store(UndoubleChar(Quote, Line.mid(Pos, End - Pos)));
    }
    return Fields;
}
