// The grid's own cell block as it comes from the clipboard of another process, pasted at a point
// the first byte picks into a grid with a hidden column and a read-only cell that may not grow.
// Whatever the bytes, the grid keeps its size, its hidden column and its read-only cell; a block
// that does not read as a grid stream changes nothing at all.
#include "fuzz/FuzzSupport.h"
#include "grid/control/ExtGrid.h"
#include "grid/control/GridCellIO.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <memory>

namespace {
constexpr int HiddenCol = 2;
constexpr int ReadOnlyCol = 3, ReadOnlyRow = 2;

std::unique_ptr<TExtStringGrid> NewGrid() {
    auto G = std::make_unique<TExtStringGrid>(nullptr);
    G->SetColCount(5);
    G->SetRowCount(5);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) G->SetGridCell(c, r, QString("%1.%2").arg(c).arg(r));
    G->SetOptions(G->Options() << goEditing);
    G->Navigation()->SetAllowFmtClipboard(true);
    G->Navigation()->SetAllowClipboardColGrow(false);
    G->Navigation()->SetAllowClipboardRowGrow(false);
    G->SetReadOnly(ReadOnlyCol, ReadOnlyRow, true);
    G->GetCellProperties(1, 1)->SetBrushColor(clRed);
    G->HideColumn(HiddenCol);
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

QString Column(TExtStringGrid* G, int RealCol) {
    QString S;
    for (int r = 0; r < G->RowCount(); ++r) S += G->GetGridCell(RealCol, r) + QChar(0);
    return S;
}

// Whether the bytes read as a block to place at a point: a reader of its own, outside the paste.
bool ReadsAsBlock(const QByteArray& Bytes) {
    TMemoryStream In;
    In.WriteBuffer(Bytes.constData(), Bytes.size());
    In.SetPosition(0);
    TGridPropIO Header(nullptr);
    try {
        ReadGridCarrier(&In, &Header);
    } catch (const Exception&) {
        return false;
    }
    Header.SetFullGrid(false);
    TMemoryStream Block;
    WriteGridCarrier(&Block, &Header);
    const qint64 Rest = In.Position();
    Block.WriteBuffer(Bytes.constData() + Rest, Bytes.size() - Rest);
    Block.SetPosition(0);
    TExtStringGrid Probe(nullptr);
    try {
        Probe.LoadAtPointFromBinStream(Point(0, 0), &Block);
    } catch (const Exception&) {
        return false;
    }
    return true;
}
} // namespace

FUZZ_HEADLESS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size == 0) return 0;
    auto G = NewGrid();
    const int Col = Data[0] % G->ColCount(), Row = (Data[0] / 8) % G->RowCount();
    const QByteArray Block(reinterpret_cast<const char*>(Data + 1), qsizetype(Size - 1));
    const QString Before = Texts(G.get()) + Looks(G.get());
    const QString HiddenBefore = Column(G.get(), HiddenCol);
    const QString ReadOnlyBefore = G->GetGridCell(ReadOnlyCol, ReadOnlyRow);

    auto* M = new QMimeData;
    M->setData(TExtStringGrid::CellsMimeType(), Block);
    M->setText(QStringLiteral("not taken in the block's place"));
    QGuiApplication::clipboard()->setMimeData(M);
    G->SetSelection(TGridRect{Col, Row, Col, Row});
    G->PasteSelectionFromClipboard();

    FUZZ_CHECK(G->ColCount() == 4 && G->TotalColCount() == 5 && G->RowCount() == 5,
               QStringLiteral("the paste resized the grid"));
    FUZZ_CHECK(Column(G.get(), HiddenCol) == HiddenBefore, QStringLiteral("the paste wrote into the hidden column"));
    FUZZ_CHECK(G->GetGridCell(ReadOnlyCol, ReadOnlyRow) == ReadOnlyBefore && G->ReadOnly(ReadOnlyCol, ReadOnlyRow),
               QStringLiteral("the paste changed the read-only cell"));
    if (!ReadsAsBlock(Block))
        FUZZ_CHECK(Texts(G.get()) + Looks(G.get()) == Before, QStringLiteral("a damaged block changed the grid"));
    return 0;
}
