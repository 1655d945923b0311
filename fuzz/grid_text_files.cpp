// The grid's text loaders over any bytes: a CSV stream (delimiter found in the text), a cell text
// stream (UTF-16) and a cell text file. Whatever a loader accepts, the grid's own file of the same
// kind reads back into the same texts; a refused input raises one of the grid's errors.
#include "fuzz/FuzzSupport.h"
#include "grid/base/ExtUtil.h"
#include "grid/control/ExtGrid.h"

#include <QApplication>

namespace {
// Larger grids take long to write back; the loaders have met their input by then.
constexpr qint64 MaxRoundTripCells = 20000;

// Two grids for the whole run, since making one costs more than a load: each input starts them
// empty at the size of a new grid.
TExtStringGrid* NewGrid(int Which) {
    static TExtStringGrid* Grids[2] = {nullptr, nullptr};
    static int DefaultCols = 0, DefaultRows = 0;
    TExtStringGrid*& G = Grids[Which];
    if (!G) {
        G = new TExtStringGrid(nullptr);
        G->SetMultilinecells(true);
        DefaultCols = G->ColCount();
        DefaultRows = G->RowCount();
    }
    G->Clear();
    G->SetColCount(DefaultCols);
    G->SetRowCount(DefaultRows);
    G->SetDelimiter(QChar());
    return G;
}

QString Texts(TExtStringGrid* G) {
    QString S = QString("%1x%2:").arg(G->TotalColCount()).arg(G->RowCount());
    for (int r = 0; r < G->RowCount(); ++r)
        for (int c = 0; c < G->TotalColCount(); ++c) S += G->GetGridCell(c, r) + QChar(0);
    return S;
}

// Whether every text goes out as it is stored: rich text is written as its plain text, and a
// lone surrogate has no UTF-8 or UTF-16 form of its own.
bool Writable(TExtStringGrid* G) {
    if (qint64(G->TotalColCount()) * G->RowCount() > MaxRoundTripCells) return false;
    for (int r = 0; r < G->RowCount(); ++r)
        for (int c = 0; c < G->TotalColCount(); ++c) {
            const QString T = G->GetGridCell(c, r);
            if (ClassifyCellText(T, true) == 2 || !Fuzz_Well_Formed(T)) return false;
        }
    return true;
}

void Csv(const QByteArray& Bytes) {
    TExtStringGrid* G = NewGrid(0);
    TMemoryStream S;
    S.WriteBuffer(Bytes.constData(), Bytes.size());
    S.SetPosition(0);
    try {
        G->LoadFromCSVStream(&S);
    } catch (const Exception& E) {
        FUZZ_CHECK(E.Message() == QLatin1String("File is empty"), E.Message());
        return;
    }
    FUZZ_CHECK(G->Delimiter().isNull(), QStringLiteral("the found delimiter stayed"));
    if (!Writable(G)) return;
    // The delimiter is given: a written file's own delimiter detection is no property of the reader.
    G->SetDelimiter(u',');
    const QString File = Fuzz_Dir() + QStringLiteral("/grid.csv");
    G->SaveToCSV(File, true);
    TExtStringGrid* Back = NewGrid(1);
    Back->SetDelimiter(u',');
    Back->LoadFromCSV(File);
    FUZZ_CHECK(Texts(Back) == Texts(G), Fuzz_Show(Texts(G)));
}

void CellStream(const QByteArray& Bytes) {
    TExtStringGrid* G = NewGrid(0);
    TMemoryStream S;
    S.WriteBuffer(Bytes.constData(), Bytes.size());
    S.SetPosition(0);
    try {
        G->LoadFromStream(&S);
    } catch (const EConvertError&) {
        // A malformed number stops the load; what was loaded stays and is written back below.
    } catch (const EReadError&) {
        return;
    }
    if (!Writable(G)) return;
    TMemoryStream Out;
    G->SaveToStream(&Out);
    Out.SetPosition(0);
    TExtStringGrid* Back = NewGrid(1);
    Back->LoadFromStream(&Out);
    FUZZ_CHECK(Out.Position() == Out.Size(), QStringLiteral("the written cells were not read to their end"));
    FUZZ_CHECK(Texts(Back) == Texts(G), Fuzz_Show(Texts(G)));
}

void CellFile(const QByteArray& Bytes) {
    TExtStringGrid* G = NewGrid(0);
    try {
        G->LoadFromFile(Fuzz_Write(QStringLiteral("cells.txt"), Bytes));
    } catch (const EExtGridError&) {
        return;
    }
    if (!Writable(G)) return;
    const QString File = Fuzz_Dir() + QStringLiteral("/back.txt");
    G->SaveToFile(File, true);
    TExtStringGrid* Back = NewGrid(1);
    Back->LoadFromFile(File);
    FUZZ_CHECK(Texts(Back) == Texts(G), Fuzz_Show(Texts(G)));
}
} // namespace

FUZZ_HEADLESS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const QList<QByteArray> Parts = Fuzz_Split(Fuzz_Bytes(Data, Size), 3);
    Csv(Parts[0]);
    CellStream(Parts[1]);
    CellFile(Parts[2]);
    Fuzz_Clear_Dir();
    return 0;
}
