// Unit ExtGrid: the cell text file and the cell text stream, one "column,row,text" line per
// non-empty cell after a size line and one "cw column,width" line per column, and the numeric
// reading of a cell.
#include "grid/control/ExtGrid.h"
#include "grid/services/GridFileIO.h"
#include "platform/rtl/Files.h"

#include <QtEndian>

#include <algorithm>

namespace {

constexpr int esExportStart = 0;
constexpr int esExportDone = 2;
constexpr int esExportNextRow = 5;

// No grid a file describes is larger; a header beyond these is damage, not a size to allocate.
constexpr int MaxFileCols = 100000;
constexpr int MaxFileRows = 10000000;
constexpr qint64 MaxFileCells = 50000000;
constexpr int MaxWidth = 65535;

bool SizeFits(qint64 Cols, qint64 Rows) {
    return Cols > 0 && Rows > 0 && Cols <= MaxFileCols && Rows <= MaxFileRows && Cols * Rows <= MaxFileCells;
}

QByteArray Utf16Bytes(const QString& Text, bool Bom) {
    QByteArray B;
    B.reserve((Text.size() + 1) * 2);
    if (Bom) B.append("\xFF\xFE", 2);
    for (QChar C : Text) {
        char U[2];
        qToLittleEndian(C.unicode(), U);
        B.append(U, 2);
    }
    return B;
}

} // namespace

// ---- cell text file -----------------------------------------------------------------------------------
void TExtStringGrid::SaveToFile(const QString& FileName, bool Unicode) {
    const int h = SaveHiddenCells() ? NumHiddenColumns() : 0;
    // Without SaveHiddenCells only the columns on display are saved, each under its display index.
    const bool Real = SaveHiddenCells();
    const int FirstCol = SaveStartCol();
    const int LastCol = SaveEndCol() + h;
    auto RealOf = [&](int c) { return Real ? c : RealColIndex(c); };
    auto WidthOf = [&](int c) {
        if (!Real) return ColWidths(c);
        return IsHiddenColumn(c) ? DefaultColWidth() : ColWidths(DisplColIndex(c));
    };

    QString Out;
    const QString CRLF = QStringLiteral("\r\n");
    Out += QString::number(SaveColCount() + h) + QLatin1Char(',') + QString::number(SaveRowCount()) + CRLF;
    for (int c = FirstCol; c <= LastCol; ++c)
        Out += QStringLiteral("cw ") + QString::number(c) + QLatin1Char(',') + QString::number(WidthOf(c)) + CRLF;
    TGridFileProgress Progress(this);
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = FirstCol; c <= LastCol; ++c) {
            const QString T = GetCellForSave(RealOf(c), r);
            if (T.isEmpty()) continue;
            Out += QString::number(c) + QLatin1Char(',') + QString::number(r) + QLatin1Char(',') +
                EncodeCellFileText(T) + CRLF;
        }
        Progress.Report(r - SaveStartRow(), SaveRowCount() - 1);
    }
    ExportNotification(esExportDone, -1);
    WriteFileAtomic(FileName, Unicode ? Utf16Bytes(Out, true) : EncodeText(Out));
}

void TExtStringGrid::LoadFromFile(const QString& FileName) {
    const QStringList Lines = ReadTextLines(FileName);
    const int fc = SaveFixedCells() || SaveFixedCols() ? 0 : FixedCols();
    const int fr = SaveFixedCells() || SaveFixedRows() ? 0 : FixedRows();
    const QString Corrupt = QStringLiteral("File contains no data or corrupt file ") + FileName;
    qint64 Cols = ColCount(), Rows = RowCount();
    if (!Lines.isEmpty() && !Lines.first().isEmpty()) {
        const QString& First = Lines.first();
        const int Comma = int(First.indexOf(QLatin1Char(',')));
        Cols = fc + qint64(LeadingInt(Comma < 0 ? QStringView(First) : QStringView(First).left(Comma)));
        Rows = fr + qint64(Comma < 0 ? 0 : LeadingInt(QStringView(First).mid(Comma + 1)));
    }
    // The header is checked before the grid takes it: a corrupt file changes nothing.
    if (!SizeFits(Cols, Rows)) throw EExtGridError(Corrupt);
    TGridFileLoadLock Lock(this);
    SetColCount(int(Cols));
    SetRowCount(int(Rows));

    TGridFileProgress Progress(this);
    for (int i = 1; i < Lines.size(); ++i) {
        const QString& L = Lines.at(i);
        if (L.startsWith(QLatin1String("cw"))) {
            const QStringView Rest = QStringView(L).mid(3);
            const int Comma = int(Rest.indexOf(QLatin1Char(',')));
            if (Comma >= 0) {
                const int Col = LeadingInt(Rest.left(Comma));
                const int W = LeadingInt(Rest.mid(Comma + 1, 255));
                if (Col >= 0 && Col < ColCount() && W >= 0 && W <= MaxWidth) SetColWidths(Col, W);
            }
        } else {
            // A line without both commas is no cell line: it never lands in some cell.
            const int C1 = int(L.indexOf(QLatin1Char(',')));
            const int C2 = C1 < 0 ? -1 : int(L.indexOf(QLatin1Char(','), C1 + 1));
            if (C2 >= 0) {
                const int Col = LeadingInt(QStringView(L).left(C1));
                const int Row = LeadingInt(QStringView(L).mid(C1 + 1, C2 - C1 - 1));
                if (Col >= 0 && Row >= 0 && Col < TotalColCount() && Row < RowCount())
                    SetCellFromLoad(Col, Row, DecodeCellFileText(L.mid(C2 + 1), Multilinecells()));
                Progress.Report(std::max(0, Row), RowCount() - 1);
            }
        }
        Lock.Poll();
    }
    CellsChanged(Rect(0, 0, ColCount(), RowCount()));
}

// ---- cell text stream ---------------------------------------------------------------------------------
void TExtStringGrid::SaveToStream(TStream* Stream) {
    QString Out;
    const QString CRLF = QStringLiteral("\r\n");
    Out += QString::number(SaveColCount()) + QLatin1Char(',') + QString::number(SaveRowCount()) + CRLF;
    for (int i = 0; i < ColCount(); ++i)
        Out += QStringLiteral("cw ") + QString::number(i) + QLatin1Char(',') + QString::number(ColWidths(i)) + CRLF;
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = SaveStartCol(); c <= SaveEndCol(); ++c) {
            const QString T = GetCellForSave(RealColIndex(c), r);
            if (T.isEmpty()) continue;
            Out += QString::number(c - SaveStartCol()) + QLatin1Char(',') + QString::number(r - SaveStartRow()) +
                QLatin1Char(',') + EncodeCellFileText(T) + CRLF;
        }
    }
    ExportNotification(esExportDone, -1);
    const QByteArray B = Utf16Bytes(Out, false);
    Stream->WriteBuffer(B.constData(), B.size());
}

void TExtStringGrid::LoadFromStream(TStream* Stream) {
    const qint64 Start = Stream->Position();
    const qint64 Avail = std::max<qint64>(0, Stream->Size() - Start);
    if (Avail > Max_Read_File_Size) throw EReadError(QStringLiteral("Cell text stream too large"));
    QByteArray Bytes(qsizetype(Avail), Qt::Uninitialized);
    Stream->ReadBuffer(Bytes.data(), Avail);
    const qint64 Units = Avail / 2;
    qint64 Pos = 0; // in code units
    auto Unit = [&](qint64 I) { return qFromLittleEndian<quint16>(Bytes.constData() + 2 * I); };
    // The next line: up to the next CR (dropped, with the unit after it) or the end.
    auto ReadLine = [&]() {
        QString L;
        while (Pos < Units) {
            const quint16 U = Unit(Pos++);
            if (U == 13) {
                if (Pos < Units) ++Pos;
                break;
            }
            L += QChar(U);
        }
        return L;
    };
    auto Finish = [&]() {
        Stream->SetPosition(Start + 2 * Pos);
        CellsChanged(Rect(0, 0, ColCount(), RowCount()));
    };

    if (Units == 0) {
        Finish();
        return;
    }
    const QString First = ReadLine();
    if (!First.isEmpty()) {
        const int Comma = int(First.indexOf(QLatin1Char(',')));
        const qint64 Cols = qint64(StrToInt(Comma < 0 ? First : First.left(Comma))) + SaveStartCol();
        const qint64 Rows = qint64(StrToInt(Comma < 0 ? QString() : First.mid(Comma + 1))) + SaveStartRow();
        if (!SizeFits(Cols, Rows)) {
            Stream->SetPosition(Start);
            throw EReadError(QStringLiteral("Cell text stream has a bad size line"));
        }
        SetColCount(int(Cols));
        SetRowCount(int(Rows));
    }
    while (Pos < Units) {
        const qint64 LineStart = Pos;
        const QString L = ReadLine();
        if (L.startsWith(QLatin1String("cw"))) {
            const QString Rest = L.mid(3);
            const int Comma = int(Rest.indexOf(QLatin1Char(',')));
            const int Col = StrToInt(Comma < 0 ? Rest : Rest.left(Comma));
            const int W = StrToInt(Comma < 0 ? QString() : Rest.mid(Comma + 1));
            if (Col >= 0 && Col < ColCount() && W >= 0 && W <= MaxWidth) SetColWidths(Col, W);
            continue;
        }
        const int C1 = int(L.indexOf(QLatin1Char(',')));
        const int C2 = C1 < 0 ? -1 : int(L.indexOf(QLatin1Char(','), C1 + 1));
        if (C2 < 0) {
            // Not a cell line: whatever follows the cells stays for the caller.
            Pos = LineStart;
            break;
        }
        const qint64 Col = qint64(StrToInt(L.left(C1))) + SaveStartCol();
        const qint64 Row = qint64(StrToInt(L.mid(C1 + 1, C2 - C1 - 1))) + SaveStartRow();
        if (Col >= 0 && Row >= 0 && Col < TotalColCount() && Row < RowCount())
            SetCellFromLoad(int(Col), int(Row), DecodeCellFileText(L.mid(C2 + 1), Multilinecells()));
    }
    Finish();
}

// ---- numbers --------------------------------------------------------------------------------------------
double TExtStringGrid::CellToReal(int ACol, int ARow) {
    const QString Stored = GetGridCell(ACol, ARow);
    if (Stored.isEmpty()) return 0;
    const QString S = NormalizeNumberText(Stored);
    // The first character that does not continue a number: [sign] digits [. digits] [E [sign] digits].
    int I = 0;
    const int N = int(S.size());
    auto Digits = [&]() {
        const int From = I;
        while (I < N && S.at(I).isDigit() && S.at(I).unicode() < 128) ++I;
        return I > From;
    };
    if (I < N && (S.at(I) == QLatin1Char('-') || S.at(I) == QLatin1Char('+'))) ++I;
    bool Any = Digits();
    if (I < N && S.at(I) == QLatin1Char('.')) {
        ++I;
        Any = Digits() || Any;
    }
    if (Any && I < N && (S.at(I) == QLatin1Char('e') || S.at(I) == QLatin1Char('E'))) {
        ++I;
        if (I < N && (S.at(I) == QLatin1Char('-') || S.at(I) == QLatin1Char('+'))) ++I;
        if (!Digits()) Any = false;
    }
    bool Ok = Any && I == N;
    const double V = Ok ? S.toDouble(&Ok) : 0;
    if (!Ok)
        throw EExtGridError(QStringLiteral("Error at position: %1 in Cell [%2, %3].")
                                .arg(std::max(1, std::min(I + 1, N + 1)))
                                .arg(ACol)
                                .arg(ARow));
    return V;
}
