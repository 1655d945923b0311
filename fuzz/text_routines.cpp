// The grid's other text routines over any text: no crash, and the pairs that encode and decode
// give the text back (doubled quotes, cell line breaks, wide cell text, CSV line-break forms).
#include "fuzz/FuzzSupport.h"
#include "grid/base/ExtUtil.h"
#include "grid/services/GridFileIO.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const QString Text = QString::fromUtf8(Fuzz_Bytes(Data, Size));
    const QStringList Parts = Text.split(QChar(0));
    const QString A = Parts.value(0), B = Parts.value(1);

    FUZZ_CHECK(UndoubleChar(u'"', DoubleQuoteChars(A)) == A, Fuzz_Show(A));
    FUZZ_CHECK(DecodeWideCellText(EncodeWideCellText(A)) == A, Fuzz_Show(A));
    QString Cells = A;
    Cells.remove(QChar(8)).remove(QChar(9)).remove(QChar(1)).remove(QChar(0));
    // The decoder knows an encoded text by its encoded line feeds: a text with a CR and no line
    // feed at all (no line break a cell makes) is not encoded to begin with.
    if (Cells.contains(u'\n'))
        FUZZ_CHECK(DecodeCellLineBreaks(EncodeCellLineBreaks(Cells), true) == Cells, Fuzz_Show(Cells));
    // The cell text file's codec takes any text back, and its lines hold no line break.
    const QString FileLine = EncodeCellFileText(A);
    FUZZ_CHECK(!FileLine.contains(u'\r') && !FileLine.contains(u'\n'), Fuzz_Show(A));
    FUZZ_CHECK(DecodeCellFileText(FileLine, true) == A, Fuzz_Show(A));
    QString Escaped = A;
    Escaped.remove(u'\\').remove(u'\n');
    FUZZ_CHECK(UnescapeLineBreaks(EscapeLineBreaks(Escaped)) == Escaped, Fuzz_Show(Escaped));

    UpperPos(B, A);
    int Pos = 1;
    PosVar(B, A, Pos);
    FindUnpairedChar(u'"', A, Pos);
    CountUnpairedChar(u'"', A);
    LineCount(A, true);
    QString Rest = A, Line;
    ExtractFirstLine(Rest, true, Line);
    QString Cut = A;
    if (!B.isEmpty()) CutField(Cut, B);
    StripCR(A);
    CRToLF(A);
    TPoint Cell;
    ParseRCCellRef(A, Cell);
    NormalizeNumberText(A);
    ClassifyNumber(A);
    ProperCase(A);
    try {
        ParseDateUS(A);
    } catch (const EConvertError&) {}
    try {
        ParseDateEU(A);
    } catch (const EConvertError&) {}
    try {
        IsDateText(A);
    } catch (const EConvertError&) {}
    ClassifyCellText(A, true);
    QString Html;
    InsertURLAnchor(A, B, Html);
    QString Clip = A;
    WrapClipboardHTML(Clip);
    StripHTMLTags(A);
    RemoveTags(A);
    VisibleCharIndex(A, int(Size % 64));
    FindFrom(B, A, int(Size % 16), true, Pos);
    if (!B.isEmpty()) {
        const QString Marked = HighlightInHTML(A, B, QStringLiteral("B"), false);
        UnhighlightInHTML(Marked, QStringLiteral("B"));
    }
    QString Oem = A;
    AnsiToOemText(Oem);
    OemToAnsiText(Oem);
    // Texts from language files are formats too: a bad one raises, nothing worse.
    try {
        Format(A, {42, QStringLiteral("text"), 1.5});
    } catch (const EConvertError&) {}
    return 0;
}
