// Unit ExtGrid: delimited text (CSV), fixed-width text and the padded report. Every writer makes
// its whole file in memory and puts it in place at once; every loader reads the whole file, holds
// the grid against input while it works and ends with CellsChanged.
#include "grid/control/ExtGrid.h"
#include "grid/control/GridFooter.h"
#include "grid/services/GridFileIO.h"
#include "platform/rtl/Files.h"

#include <QtEndian>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

constexpr int esExportStart = 0;
constexpr int esExportDone = 2;
constexpr int esExportNextRow = 5;

constexpr QChar Quote = u'"';
constexpr QChar VT = u'\x0B';
// The delimiter of a file in which no candidate occurs: no character of a text is this one.
constexpr QChar NoDelimiter = u'\xFFFF';
// A CSV file may be larger than the other files the system reads.
constexpr qint64 MaxCsvFileSize = qint64(1) << 30;

const QString Candidates = QStringLiteral(",;#\t|@*-+&");

QByteArray Utf16Bytes(const QString& Text) {
    QByteArray B;
    B.reserve((Text.size() + 1) * 2);
    B.append("\xFF\xFE", 2);
    for (QChar C : Text) {
        char U[2];
        qToLittleEndian(C.unicode(), U);
        B.append(U, 2);
    }
    return B;
}

QByteArray Utf8Bom(const QString& Text) { return QByteArray("\xEF\xBB\xBF", 3) + Text.toUtf8(); }

bool HasLineBreak(const QString& T) { return T.contains(QLatin1Char('\r')) || T.contains(QLatin1Char('\n')); }

// The text's lines, a line ending at CR LF, CR or LF.
QStringList TextLines(const QString& T) {
    QStringList L;
    int Start = 0;
    const int N = int(T.size());
    for (int I = 0; I < N; ++I) {
        const QChar C = T.at(I);
        if (C != QLatin1Char('\r') && C != QLatin1Char('\n')) continue;
        L << T.mid(Start, I - Start);
        if (C == QLatin1Char('\r') && I + 1 < N && T.at(I + 1) == QLatin1Char('\n')) ++I;
        Start = I + 1;
    }
    L << T.mid(Start);
    return L;
}

// The physical lines of a file's text, the last one left out when the text ends with a break.
QStringList FileLines(const QString& T) {
    QStringList L = TextLines(T);
    if (!L.isEmpty() && L.last().isEmpty()) L.removeLast();
    return L;
}

// The first two lines of a text (empty when there are fewer).
void FirstTwoLines(const QString& T, QString& L1, QString& L2) {
    const int N = int(T.size());
    int Start = 0;
    for (int Line = 0; Line < 2 && Start < N; ++Line) {
        int I = Start;
        while (I < N && T.at(I) != QLatin1Char('\r') && T.at(I) != QLatin1Char('\n')) ++I;
        (Line == 0 ? L1 : L2) = T.mid(Start, I - Start);
        if (I < N && T.at(I) == QLatin1Char('\r') && I + 1 < N && T.at(I + 1) == QLatin1Char('\n')) ++I;
        Start = I + 1;
    }
}

// The records of a CSV text: a record ends at CR LF, CR or LF, except inside a quoted field
// (one that starts with a double quote, blanks before it allowed), which runs to its closing
// quote whatever it holds.
QStringList CsvRecords(const QString& T, QChar Delim) {
    QStringList Records;
    const QChar* D = T.constData();
    const int N = int(T.size());
    int Start = 0;
    bool InQuotes = false;
    bool FieldStart = true;
    for (int I = 0; I < N; ++I) {
        const QChar C = D[I];
        if (InQuotes) {
            if (C == Quote) {
                if (I + 1 < N && D[I + 1] == Quote)
                    ++I;
                else
                    InQuotes = false;
            }
            continue;
        }
        if (C == Delim) {
            FieldStart = true;
            continue;
        }
        if (C == QLatin1Char('\r') || C == QLatin1Char('\n')) {
            Records << T.mid(Start, I - Start);
            if (C == QLatin1Char('\r') && I + 1 < N && D[I + 1] == QLatin1Char('\n')) ++I;
            Start = I + 1;
            FieldStart = true;
            continue;
        }
        if (FieldStart) {
            if (C == QLatin1Char(' ')) continue;
            FieldStart = false;
            if (C == Quote) InQuotes = true;
        }
    }
    if (Start < N) Records << T.mid(Start);
    return Records;
}

// The delimiter of a file by its first two lines: the candidate whose unpaired count is the same
// and highest in both, else whose plain count is, else the most frequent in either.
QChar DetectDelimiter(const QString& L1, const QString& L2) {
    for (int Pass = 0; Pass < 2; ++Pass) {
        int Best = 0;
        QChar Found;
        for (QChar C : Candidates) {
            const int A = Pass == 0 ? CountUnpairedChar(C, L1) : CountChar(C, L1);
            const int B = Pass == 0 ? CountUnpairedChar(C, L2) : CountChar(C, L2);
            if (A == B && A > Best) {
                Best = A;
                Found = C;
            }
        }
        if (!Found.isNull()) return Found;
    }
    int Best = 0;
    QChar Found = NoDelimiter;
    for (QChar C : Candidates) {
        const int Count = std::max(CountChar(C, L1), CountChar(C, L2));
        if (Count > Best) {
            Best = Count;
            Found = C;
        }
    }
    return Found;
}

// The text of a file for the CSV and fixed-width loaders.
QString CsvFileText(const QString& FileName, bool& Empty) {
    const QByteArray Bytes = ReadFileBytes(FileName, MaxCsvFileSize);
    Empty = Bytes.isEmpty();
    return DecodeText(Bytes);
}

} // namespace

// ---- CSV writing --------------------------------------------------------------------------------------
namespace {

// Whether a field goes out as it is: not empty, no blank first, no quote, delimiter or line break.
bool PlainField(const QString& T, QChar Delim) {
    if (T.isEmpty() || T.at(0) == QLatin1Char(' ')) return false;
    for (QChar C : T)
        if (C == Quote || C == Delim || C == QLatin1Char('\r') || C == QLatin1Char('\n')) return false;
    return true;
}

bool IsAscii(const QString& T) {
    for (QChar C : T)
        if (C.unicode() >= 0x80) return false;
    return true;
}

// One field in its written form.
QString CsvField(QString T, QChar Delim, bool Java, bool QuoteEmpty, bool AlwaysQuote, bool Oem) {
    T = DoubleQuoteChars(T);
    if (Oem) AnsiToOemText(T);
    bool Quoted = false;
    if (AlwaysQuote) {
        T = Quote + T + Quote;
        Quoted = true;
    } else if (!T.contains(Delim) && (T.contains(Quote) || (!Java && T.startsWith(QLatin1Char(' '))))) {
        // A field that starts with a blank is enclosed too: the reader drops blanks before a field.
        T = Quote + T + Quote;
        Quoted = true;
    }
    if (T.isEmpty()) {
        if (Java)
            T = QStringLiteral("^");
        else if (QuoteEmpty)
            T = QStringLiteral("\"\"");
    }
    // A bare CR or LF ends a line as well as a pair does.
    if (T.contains(Delim) || HasLineBreak(T)) {
        if (Java) {
            // A lone LF is a line break as well: it gets the mark too instead of joining its lines.
            T.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
            T.replace(QLatin1Char('\n'), QLatin1Char('\r'));
            CRToTilde(T);
            // A field that holds the delimiter would read back as two.
            if (!Quoted && T.contains(Delim)) T = Quote + T + Quote;
        } else if (Quoted) {
            // The pair is kept as its mark, so that it reads back as the pair.
            T.replace(QStringLiteral("\r\n"), QString(VT));
        } else {
            QuoteMultiLineField(T);
        }
    }
    return T;
}

} // namespace

static void WriteCsv(TExtStringGrid* G, const QString& FileName, bool Unicode, bool Append) {
    QString Out;
    if (Append) {
        // The file must exist. Its text comes first exactly as it is, so that line breaks inside
        // its quoted fields stay what they were, and a file as large as the loader takes is kept.
        Out = DecodeText(ReadFileBytes(FileName, MaxCsvFileSize));
        if (!Out.isEmpty() && !Out.endsWith(QLatin1Char('\r')) && !Out.endsWith(QLatin1Char('\n')))
            Out += QStringLiteral("\r\n");
    }
    const QChar Delim = G->Delimiter().isNull() ? QChar(u',') : G->Delimiter();
    const bool Java = G->JavaCSV(), QuoteEmpty = G->QuoteEmptyCells(), AlwaysQuote = G->AlwaysQuotes(),
               Oem = G->OemConvert();
    const bool Real = G->SaveHiddenCells();
    const int FirstCol = G->SaveStartCol();
    const int LastCol = G->SaveEndCol() + (Real ? G->NumHiddenColumns() : 0);
    std::vector<int> RealCols;
    for (int c = FirstCol; c <= LastCol; ++c) RealCols.push_back(Real ? c : G->RealColIndex(c));
    // Without these settings most fields go out exactly as they are.
    const bool Simple = !Java && !AlwaysQuote && !Oem;
    TGridFileProgress Progress(G);
    G->ExportNotification(esExportStart, G->SaveStartRow());
    for (int r = G->SaveStartRow(); r <= G->SaveEndRow(); ++r) {
        G->ExportNotification(esExportNextRow, r);
        bool First = true;
        for (int RealCol : RealCols) {
            if (!First) Out += Delim;
            First = false;
            const QString T = G->GetCellForSave(RealCol, r);
            if (Simple && PlainField(T, Delim))
                Out += T;
            else
                Out += CsvField(T, Delim, Java, QuoteEmpty, AlwaysQuote, Oem);
        }
        Out += QStringLiteral("\r\n");
        Progress.Report(r, G->RowCount() - 1);
    }
    G->ExportNotification(esExportDone, -1);
    // Plain ASCII needs no look at the code page.
    WriteFileAtomic(FileName, Unicode ? Utf8Bom(Out) : IsAscii(Out) ? Out.toLatin1() : EncodeText(Out));
}

void TExtStringGrid::SaveToCSV(const QString& FileName, bool Unicode) { WriteCsv(this, FileName, Unicode, false); }

void TExtStringGrid::AppendToCSV(const QString& FileName, bool Unicode) { WriteCsv(this, FileName, Unicode, true); }

// ---- CSV reading --------------------------------------------------------------------------------------
namespace {

void LoadCsvText(TExtStringGrid* G, const QString& Text, int MaxRows, bool Insert) {
    if (Text.isEmpty()) throw Exception(QStringLiteral("File is empty"));
    QChar Delim = G->Delimiter();
    if (Delim.isNull()) {
        QString L1, L2;
        FirstTwoLines(Text, L1, L2);
        Delim = DetectDelimiter(L1, L2);
    }
    const QStringList Records = CsvRecords(Text, Delim);
    qsizetype From = G->LoadFirstRow() ? 0 : 1;
    qsizetype Count = std::max<qsizetype>(0, Records.size() - From);
    if (MaxRows > 0) Count = std::min<qsizetype>(Count, MaxRows);

    TGridFileLoadLock Lock(G);
    G->BeginUpdate();
    try {
        const bool Real = G->SaveHiddenCells();
        const int StartCol = G->SaveStartCol();
        int StartRow = G->SaveStartRow();
        QStringList FooterTexts;
        const bool UnderFooter = Insert && G->FloatingFooter() && G->FloatingFooter()->Visible();
        if (Insert) {
            StartRow = G->RowCount();
            if (UnderFooter) {
                for (int c = 0; c < G->TotalColCount(); ++c) FooterTexts << G->GetGridCell(c, G->RowCount() - 1);
                G->ClearRowCells(G->RowCount() - 1);
                StartRow = G->RowCount() - 1;
            }
        }
        const qint64 Rows = std::max<qint64>(qint64(StartRow) + Count + G->FixedFooters(), G->FixedRows() + 1);
        if (Rows > std::numeric_limits<int>::max()) throw EExtGridError(QStringLiteral("Too many rows"));
        // The rows the load drops are emptied first, so no old text comes back when the grid grows.
        const int OldRows = G->RowCount();
        for (int Row = int(Rows); Row < OldRows; ++Row)
            for (int c = 0; c < G->TotalColCount(); ++c)
                if (!G->GetGridCell(c, Row).isEmpty()) G->SetGridCell(c, Row, QString());
        G->SetRowCount(int(Rows));

        const bool Java = G->JavaCSV();
        const bool Oem = G->OemConvert();
        // Loading replaces what the rows held, also in the columns a record does not reach and in
        // hidden ones; only the columns shown left of the loaded ones keep their texts.
        auto ClearRest = [&](int Row, int FromDisplCol) {
            for (int c = 0; c < G->TotalColCount(); ++c) {
                const int D = G->IsHiddenColumn(c) ? -1 : G->DisplColIndex(c);
                if (D < 0 || D >= FromDisplCol)
                    if (!G->GetGridCell(c, Row).isEmpty()) G->SetGridCell(c, Row, QString());
            }
        };
        TGridFileProgress Progress(G);
        for (qsizetype i = 0; i < Count; ++i) {
            QString Record = Records.at(From + i);
            if (Oem) OemToAnsiText(Record);
            const QStringList Fields = SplitCSVLine(Record, Delim, Java);
            const int Row = StartRow + int(i);
            if (Insert || Fields.size() < G->ColCount() - StartCol || G->NumHiddenColumns() > 0)
                ClearRest(Row, Insert ? 0 : StartCol + int(Fields.size()));
            for (int k = 0; k < Fields.size(); ++k) {
                const int c = StartCol + k;
                int RealCol = c;
                if (Real) {
                    if (c >= G->TotalColCount()) G->SetColCount(c + 1 - G->NumHiddenColumns());
                } else {
                    if (c >= G->ColCount()) G->SetColCount(c + 1);
                    RealCol = G->RealColIndex(c);
                }
                G->SetCellFromLoad(RealCol, Row, Fields.at(k));
            }
            Progress.Report(i + 1, Count);
            Lock.Poll();
        }
        if (Count == 0) Progress.ReportPercent(100);
        if (!Insert)
            for (int Row = StartRow + int(Count); Row < G->RowCount(); ++Row) ClearRest(Row, StartCol);
        if (UnderFooter)
            for (int c = 0; c < FooterTexts.size() && c < G->TotalColCount(); ++c)
                G->SetGridCell(c, G->RowCount() - 1, FooterTexts.at(c));
    } catch (...) {
        G->EndUpdate();
        throw;
    }
    G->EndUpdate();
}

} // namespace

void TExtStringGrid::LoadFromCSV(const QString& FileName, int MaxRows) {
    bool Empty = false;
    const QString Text = CsvFileText(FileName, Empty);
    if (Empty) return;
    LoadCsvText(this, Text, MaxRows, false);
    FMaxRowCount = RowCount();
    CellsChanged(Rect(0, 0, ColCount(), RowCount()));
}

void TExtStringGrid::InsertFromCSV(const QString& FileName, int MaxRows) {
    bool Empty = false;
    const QString Text = CsvFileText(FileName, Empty);
    if (Empty) return;
    LoadCsvText(this, Text, MaxRows, true);
    FMaxRowCount = RowCount();
    CellsChanged(Rect(0, 0, ColCount(), RowCount()));
}

void TExtStringGrid::LoadFromCSVStream(TStream* AStream, int MaxRows) {
    const qint64 Avail = std::max<qint64>(0, AStream->Size() - AStream->Position());
    if (Avail > MaxCsvFileSize) throw EReadError(QStringLiteral("CSV stream too large"));
    QByteArray Bytes(qsizetype(Avail), Qt::Uninitialized);
    AStream->ReadBuffer(Bytes.data(), Avail);
    LoadCsvText(this, DecodeText(Bytes), MaxRows, false);
    FMaxRowCount = RowCount();
    CellsChanged(Rect(0, 0, ColCount(), RowCount()));
}

// ---- fixed-width text ---------------------------------------------------------------------------------
void TExtStringGrid::SaveToFixed(const QString& FileName, TIntList* Positions) {
    const bool Real = SaveHiddenCells();
    const int FirstCol = SaveStartCol();
    const int LastCol = SaveEndCol() + (Real ? NumHiddenColumns() : 0);
    std::vector<int> RealCols;
    for (int c = FirstCol; c <= LastCol; ++c) RealCols.push_back(Real ? c : RealColIndex(c));
    for (size_t k = size_t(Positions->Count()); k < RealCols.size(); ++k)
        Positions->Add(MaxColumnTextLength(RealCols[k]) + 1);

    QString Out;
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (size_t k = 0; k < RealCols.size(); ++k) {
            const int W = std::max(0, Positions->GetInteger(int(k)));
            // A line break would end the line: each becomes a blank.
            QString T = GetCellForSave(RealCols[k], r);
            T.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            T.replace(QLatin1Char('\r'), QLatin1Char(' '));
            T.replace(QLatin1Char('\n'), QLatin1Char(' '));
            Out += T.left(W);
            if (T.size() < W) Out += QString(W - T.size(), QLatin1Char(' '));
        }
        Out += QStringLiteral("\r\n");
    }
    ExportNotification(esExportDone, -1);
    try {
        WriteFileAtomic(FileName, EncodeText(Out));
    } catch (const EInOutError&) {
        throw EExtGridError(QStringLiteral("Cannot Create file ") + FileName);
    }
}

void TExtStringGrid::LoadFromFixed(const QString& FileName, TIntList* Positions, bool DoTrim, int MaxRows) {
    QString Text;
    bool Empty = false;
    try {
        Text = CsvFileText(FileName, Empty);
    } catch (const EInOutError&) {
        throw EExtGridError(QStringLiteral("File ") + FileName + QStringLiteral(" not found"));
    }
    std::vector<int> Pos;
    for (int i = 0; i < Positions->Count(); ++i) Pos.push_back(std::max(1, Positions->GetInteger(i)));
    if (Pos.size() < 2) throw EExtGridError(QStringLiteral("Fixed-width columns need at least two positions"));
    std::sort(Pos.begin(), Pos.end());
    const QStringList Lines = FileLines(Text);

    TGridFileLoadLock Lock(this);
    BeginUpdate();
    try {
        SetColCount(std::max(FixedCols() + int(Pos.size()) - 1, SaveStartCol() + int(Pos.size()) - 1));
        int Row = SaveStartRow();
        int Read = 0;
        for (int i = 0; i < Lines.size(); ++i) {
            if (Row >= RowCount()) SetRowCount(Row + 1);
            const QString& L = Lines.at(i);
            for (size_t k = 0; k + 1 < Pos.size(); ++k) {
                QString F = L.mid(Pos[k] - 1, Pos[k + 1] - Pos[k]);
                if (DoTrim) F = F.trimmed();
                const int c = SaveStartCol() + int(k);
                SetCellFromLoad(SaveHiddenCells() ? c : RealColIndex(c), Row, F);
            }
            ++Row;
            ++Read;
            Lock.Poll();
            if (MaxRows != -1 && Read >= MaxRows) break;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    CellsChanged(Rect(0, 0, ColCount(), RowCount()));
}

// ---- padded report ------------------------------------------------------------------------------------
int TExtStringGrid::MaxColumnTextLength(int ACol) {
    int Max = 0;
    for (int r = 0; r < RowCount(); ++r) {
        const QString T = GetCellForSave(ACol, r);
        if (T.isEmpty()) continue;
        if (Multilinecells())
            for (const QString& L : TextLines(T)) Max = std::max(Max, int(L.size()));
        else
            Max = std::max(Max, int(TextLines(T).first().size()));
    }
    return Max;
}

namespace {

QString Aligned(const QString& T, TAlignment A, int W) {
    QString R = T;
    if (A == taRightJustify) {
        if (R.size() < W) R = QString(W - R.size(), QLatin1Char(' ')) + R;
    } else if (A == taCenter) {
        while (R.size() < W) R = QLatin1Char(' ') + R + QLatin1Char(' ');
    }
    return R;
}

void WriteAscii(TExtStringGrid* G, const QString& FileName, bool Unicode, bool Append) {
    const TCursor OldCursor = Screen ? Screen->Cursor() : crDefault;
    if (Screen) Screen->SetCursor(crHourGlass);
    try {
        QString Out;
        if (Append && FileExists(FileName))
            for (const QString& L : ReadTextLines(FileName)) Out += L + QStringLiteral("\r\n");
        const int fc = G->SaveFixedCells() || G->SaveFixedCols() ? 0 : G->FixedCols();
        const int fr = G->SaveFixedCells() || G->SaveFixedRows() ? 0 : G->FixedRows();
        const bool Real = G->SaveHiddenCells();
        const int LastCol = G->ColCount() - 1 + (Real ? G->NumHiddenColumns() : 0);
        // One full width per column, whatever the number of columns or the length of a text.
        std::vector<int> RealCols, Widths;
        for (int c = fc; c <= LastCol; ++c) {
            const int rc = Real ? c : G->RealColIndex(c);
            RealCols.push_back(rc);
            Widths.push_back(G->MaxColumnTextLength(rc));
        }
        G->ExportNotification(esExportStart, fr);
        for (int Row = fr; Row < G->RowCount(); ++Row) {
            G->ExportNotification(esExportNextRow, Row);
            QString Main;
            std::vector<QString> More;
            for (size_t k = 0; k < RealCols.size(); ++k) {
                const int rc = RealCols[k], W = Widths[k];
                const int ColumnStart = int(Main.size());
                QStringList Parts = TextLines(G->GetCellForSave(rc, Row));
                if (!G->Multilinecells()) Parts = QStringList{Parts.first()};
                TAlignment HA = taLeftJustify;
                TVAlignment VA = vtaTop;
                G->CellAlignment(rc, Row, HA, VA);
                QString T = Aligned(Parts.first(), HA, W);
                if (T.size() < W + 1) T += QString(W + 1 - T.size(), QLatin1Char(' '));
                Main += T;
                for (int i = 1; i < Parts.size(); ++i) {
                    if (More.size() < size_t(i)) More.resize(size_t(i));
                    QString& L = More[size_t(i - 1)];
                    if (L.size() < ColumnStart) L += QString(ColumnStart - L.size(), QLatin1Char(' '));
                    L += Aligned(Parts.at(i), HA, W);
                }
            }
            Out += Main + QStringLiteral("\r\n");
            for (const QString& L : More) Out += L + QStringLiteral("\r\n");
        }
        G->ExportNotification(esExportDone, -1);
        WriteFileAtomic(FileName, Unicode ? Utf16Bytes(Out) : EncodeText(Out));
    } catch (...) {
        if (Screen) Screen->SetCursor(OldCursor);
        throw;
    }
    if (Screen) Screen->SetCursor(OldCursor);
}

} // namespace

void TExtStringGrid::SaveToASCII(const QString& FileName, bool Unicode) { WriteAscii(this, FileName, Unicode, false); }

void TExtStringGrid::AppendToASCII(const QString& FileName, bool Unicode) { WriteAscii(this, FileName, Unicode, true); }
