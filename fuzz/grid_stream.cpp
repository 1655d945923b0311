// The grid stream reader over any bytes, loaded at a point the first byte picks. A refused stream
// leaves the grid exactly as it was; an accepted one leaves a grid whose own stream reads back
// into the same texts.
#include "fuzz/FuzzSupport.h"
#include "grid/control/ExtGrid.h"
#include "grid/services/GridFileIO.h"

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace {
std::unique_ptr<TExtStringGrid> NewGrid() {
    auto G = std::make_unique<TExtStringGrid>(nullptr);
    G->SetColCount(4);
    G->SetRowCount(4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) G->SetGridCell(c, r, QString("%1.%2").arg(c).arg(r));
    G->GetCellProperties(1, 1)->SetBrushColor(clRed);
    G->HideColumn(2);
    return G;
}

QString Texts(TExtStringGrid* G) {
    QString S = QString("%1x%2:").arg(G->TotalColCount()).arg(G->RowCount());
    for (int r = 0; r < G->RowCount(); ++r)
        for (int c = 0; c < G->TotalColCount(); ++c) S += G->GetGridCell(c, r) + QChar(0);
    return S;
}

QString Looks(TExtStringGrid* G) {
    QString S;
    for (int r = 0; r < G->RowCount(); ++r)
        for (int c = 0; c < G->TotalColCount(); ++c)
            S += G->HasCellProperties(c, r) ? QString::number(G->GetCellProperties(c, r)->BrushColor()) : QString("-");
    return S;
}
} // namespace

FUZZ_HEADLESS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size == 0) return 0;
    const TPoint At = Point(Data[0] % 6, (Data[0] / 6) % 6);
    auto G = NewGrid();
    const QString Before = Texts(G.get()) + Looks(G.get());
    TMemoryStream S;
    S.WriteBuffer(Data + 1, int64_t(Size - 1));
    S.SetPosition(0);
    try {
        G->LoadAtPointFromBinStream(At, &S);
    } catch (const EReadError&) {
        FUZZ_CHECK(Texts(G.get()) + Looks(G.get()) == Before, QStringLiteral("a refused stream changed the grid"));
        return 0;
    }
    TMemoryStream Again;
    G->SaveToBinStream(&Again);
    Again.SetPosition(0);
    TExtStringGrid Copy(nullptr);
    Copy.LoadFromBinStream(&Again);
    FUZZ_CHECK(Texts(&Copy) == Texts(G.get()), QStringLiteral("the loaded grid's own stream reads back otherwise"));
    return 0;
}
