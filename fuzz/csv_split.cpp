// CSV splitting: fields written the way the grid exports them (quoted, quotes doubled, a line
// break as U+000B, or "~" for JavaCSV) split back to themselves; any line splits.
#include "fuzz/FuzzSupport.h"
#include "grid/base/ExtUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 2) return 0;
    static const QChar Delimiters[] = {u',', u';', u'\t', u'|'};
    const QChar Delimiter = Delimiters[Data[0] % 4];
    const bool Java = Data[0] & 4;
    const QString Input = QString::fromUtf8(Fuzz_Bytes(Data + 1, Size - 1));
    SplitCSVLine(Input, Delimiter, Java); // any line

    // Fields apart at U+0001; U+0002 stands for a line break in a cell.
    QStringList Fields = Input.split(QChar(1));
    QString Line;
    for (QString& F : Fields) {
        F.remove(QChar('\r'));
        F.remove(QChar('\n'));
        F.remove(QChar(0x0B));
        if (Java) F.remove(QChar('~'));
        F.replace(QChar(2), QStringLiteral("\r\n"));
        if (Java && F == QLatin1String("^")) F.clear(); // JavaCSV's own mark of an empty cell
        QString Cell = DoubleQuoteChars(F);
        if (Java) {
            CRToTilde(Cell);
            Cell = u'"' + Cell + u'"';
        } else {
            QuoteMultiLineField(Cell);
        }
        if (!Line.isNull()) Line += Delimiter;
        Line += Cell;
    }
    const QStringList Back = SplitCSVLine(Line, Delimiter, Java);
    FUZZ_CHECK(
        Back == Fields,
        QStringLiteral("line %1: %2 fields back of %3").arg(Fuzz_Show(Line)).arg(Back.size()).arg(Fields.size()));
    return 0;
}
