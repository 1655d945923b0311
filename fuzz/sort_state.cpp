// The sort-state text of the sort settings: a refused text leaves every value as it was; an
// accepted one saves to a text that loads back into the same state.
#include "fuzz/FuzzSupport.h"
#include "grid/control/ExtGrid.h"

#include <QApplication>

#include <cstdlib>

namespace {
TExtStringGrid* First = nullptr;
TExtStringGrid* Second = nullptr;

TExtStringGrid* NewGrid() {
    auto* G = new TExtStringGrid(nullptr);
    G->SetColCount(7);
    G->HideColumn(2);
    return G;
}

QString State(TExtStringGrid* G) {
    TSortSettings* S = G->SortSettings();
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(S->SaveToString())
        .arg(S->Show())
        .arg(S->IndexShow())
        .arg(S->Column())
        .arg(int(S->Direction()))
        .arg(G->SortIndexes()->SaveToString());
}

void Reset(TExtStringGrid* G) {
    TSortSettings Fresh;
    G->SortSettings()->Assign(&Fresh);
    G->SortIndexes()->Clear();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QApplication(*Argc, *Argv);
    First = NewGrid();
    Second = NewGrid();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const QString Text = QString::fromUtf8(Fuzz_Bytes(Data, Size));
    Reset(First);
    Reset(Second);
    const QString Before = State(First);
    try {
        First->SortSettings()->LoadFromString(Text);
    } catch (const Exception&) {
        FUZZ_CHECK(State(First) == Before, Fuzz_Show(Text) + QStringLiteral(" -> ") + State(First));
        return 0;
    }
    const QString Saved = First->SortSettings()->SaveToString();
    try {
        Second->SortSettings()->LoadFromString(Saved);
    } catch (const Exception& E) {
        FUZZ_CHECK(false,
                   Fuzz_Show(Text) + QStringLiteral(" saved as ") + Fuzz_Show(Saved) + QStringLiteral(" refused"));
    }
    FUZZ_CHECK(Second->SortSettings()->SaveToString() == Saved,
               Fuzz_Show(Saved) + QStringLiteral(" -> ") + Fuzz_Show(Second->SortSettings()->SaveToString()));
    FUZZ_CHECK(Second->SortSettings()->IndexShow() == First->SortSettings()->IndexShow(), Fuzz_Show(Text));
    return 0;
}
