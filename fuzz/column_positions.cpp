// The column grid's column positions over a fuzzed INI file: a section that lacks a position
// changes nothing, a bad one raises EListError before anything moves, and positions that load
// are saved into a file that puts the columns in the same order again.
#include "fuzz/FuzzSupport.h"
#include "grid/control/ExtCGrid.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace {

constexpr int Cols = 4;

QString Order(TExtColumnGrid* G) {
    QString S;
    for (int i = 0; i < G->Columns()->Count(); ++i) S += G->Columns()->Items(i)->Header() + QLatin1Char('|');
    return S + QString::number(G->NumHiddenColumns());
}

std::unique_ptr<TExtColumnGrid> MakeGrid() {
    auto G = std::make_unique<TExtColumnGrid>(nullptr);
    G->SetColCount(Cols);
    G->SetRowCount(2);
    G->Columns()->SetOrganization();
    for (int c = 0; c < Cols; ++c) G->Columns()->Items(c)->SetHeader(QStringLiteral("H%1").arg(c));
    G->MoveColumn(0, 2);
    G->HideColumn(1);
    return G;
}

} // namespace

FUZZ_HEADLESS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    Fuzz_Clear_Dir();
    const QString In = Fuzz_Write(QStringLiteral("in.ini"), Fuzz_Bytes(Data, Size));
    auto G = MakeGrid();
    const QString Before = Order(G.get());
    try {
        G->LoadColumnPositions(In, QStringLiteral("Cols"));
    } catch (const EListError&) {
        FUZZ_CHECK(Order(G.get()) == Before, QStringLiteral("a refused section moved columns"));
        return 0;
    }
    const QString Loaded = Order(G.get());
    const QString Out = Fuzz_Dir() + QStringLiteral("/out.ini");
    G->SaveColumnPositions(Out, QStringLiteral("Cols"));
    auto Again = MakeGrid();
    Again->LoadColumnPositions(Out, QStringLiteral("Cols"));
    FUZZ_CHECK(Order(Again.get()) == Loaded || Loaded == Before,
               QStringLiteral("%1 came back as %2").arg(Loaded, Order(Again.get())));
    return 0;
}
