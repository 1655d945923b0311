// The cell carriers of the grid stream. The first byte picks the carrier class, the rest is the
// stream. A refused carrier leaves the carrier as it was; an accepted one writes a carrier that
// reads back into the same values.
#include "fuzz/FuzzSupport.h"
#include "grid/control/ExtGrid.h"
#include "grid/control/GridCellIO.h"

#include <QApplication>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {
TExtStringGrid* Grid = nullptr;
std::vector<std::unique_ptr<TGridStreamCarrier>> Carriers;

std::unique_ptr<TGridStreamCarrier> NewCarrier(int Kind) {
    switch (Kind) {
        case 0: return std::make_unique<TGridCellIO>(Grid);
        case 1: return std::make_unique<TGridCellPropIO>(Grid);
        case 2: return std::make_unique<TGridGraphicIO>(Grid);
        case 3: return std::make_unique<TGridBMPIO>(Grid);
        case 4: return std::make_unique<TGridIconIO>(Grid);
        case 5: return std::make_unique<TGridPicIO>(Grid);
        case 6: return std::make_unique<TGridFilePicIO>(Grid);
        default: return std::make_unique<TGridSLIO>(Grid);
    }
}

QByteArray Saved(TGridStreamCarrier* C) {
    TMemoryStream S;
    WriteGridCarrier(&S, C);
    return S.Bytes();
}

bool Read(TGridStreamCarrier* C, const QByteArray& Bytes) {
    TMemoryStream S;
    S.WriteBuffer(Bytes.constData(), Bytes.size());
    S.SetPosition(0);
    try {
        ReadGridCarrier(&S, C);
        return true;
    } catch (const EReadError&) {
        return false;
    }
}

// A JPEG picture is encoded again on every save, so only its size is compared.
bool IsJpegPicture(TGridStreamCarrier* C) {
    auto* P = dynamic_cast<TGridPicIO*>(C);
    return P && dynamic_cast<TJPEGImage*>(P->Picture()->Graphic());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QApplication(*Argc, *Argv);
    Grid = new TExtStringGrid(nullptr);
    for (int K = 0; K < 8; ++K) Carriers.push_back(NewCarrier(K));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size == 0) return 0;
    const int Kind = Data[0] % 8;
    TGridStreamCarrier* C = Carriers[size_t(Kind)].get();
    const QByteArray Before = Saved(C);
    if (!Read(C, Fuzz_Bytes(Data + 1, Size - 1))) {
        FUZZ_CHECK(Saved(C) == Before, QStringLiteral("kind %1 changed by a refused carrier").arg(Kind));
        return 0;
    }
    const QByteArray Once = Saved(C);
    std::unique_ptr<TGridStreamCarrier> Again = NewCarrier(Kind);
    FUZZ_CHECK(Read(Again.get(), Once), QStringLiteral("kind %1 refused its own carrier").arg(Kind));
    if (IsJpegPicture(C)) {
        auto* P = static_cast<TGridPicIO*>(C);
        auto* Q = static_cast<TGridPicIO*>(Again.get());
        FUZZ_CHECK(Q->Picture()->Width() == P->Picture()->Width() && Q->Picture()->Height() == P->Picture()->Height());
        return 0;
    }
    FUZZ_CHECK(Saved(Again.get()) == Once, QStringLiteral("kind %1 reads back otherwise").arg(Kind));
    return 0;
}
