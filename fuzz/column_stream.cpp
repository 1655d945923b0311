// The column grid's column-definition stream over fuzzed bytes: damaged input raises EReadError and
// leaves the columns as they were; input that loads saves again into a stream that loads back into
// the same columns (saving that gives the same bytes).
#include "fuzz/FuzzSupport.h"
#include "grid/control/ExtCGrid.h"
#include "platform/rtl/Classes.h"

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace {

TExtColumnGrid* Grid = nullptr;

QByteArray Saved() {
    TMemoryStream M;
    Grid->SaveColumnsToStream(&M);
    QByteArray B(qsizetype(M.Size()), '\0');
    M.SetPosition(0);
    M.ReadBuffer(B.data(), B.size());
    return B;
}

void Load(const QByteArray& B) {
    TMemoryStream M;
    if (!B.isEmpty()) M.WriteBuffer(B.constData(), B.size());
    M.SetPosition(0);
    Grid->LoadColumnsFromStream(&M);
}

} // namespace

FUZZ_HEADLESS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    // A fresh grid each time: four columns, the second one hidden.
    delete Grid;
    Grid = new TExtColumnGrid(nullptr);
    Grid->SetColCount(4);
    Grid->SetRowCount(3);
    Grid->HideColumn(1);
    const QByteArray Before = Saved();
    try {
        Load(Fuzz_Bytes(Data, Size));
    } catch (const EReadError&) {
        FUZZ_CHECK(Saved() == Before, QStringLiteral("a refused stream changed the columns"));
        return 0;
    }
    const QByteArray First = Saved();
    try {
        Load(First);
    } catch (const EReadError& E) {
        Fuzz_Fail("a saved stream loads back", __FILE__, __LINE__, E.Message());
    }
    const QByteArray Second = Saved();
    FUZZ_CHECK(Second == First, QStringLiteral("saving what was loaded from a save changed it"));
    return 0;
}
