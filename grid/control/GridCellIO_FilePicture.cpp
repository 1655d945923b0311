// The file-picture carrier. Kept in a unit of its own: the control's settings header and the
// grid controls header each declare a synchronised-grid class of the same name.
#include "grid/control/GridCellIO.h"

#include "grid/base/ExtGridCtrls.h"

// ---- TGridFilePicIO -----------------------------------------------------------------------------------
TGridFilePicIO::TGridFilePicIO(TComponent* AOwner)
    : TGridStreamCarrier(AOwner), FPicture(std::make_unique<TFilePicture>()) {}
TGridFilePicIO::~TGridFilePicIO() = default;

void TGridFilePicIO::SetPicture(TFilePicture* Value) {
    if (Value && Value != FPicture.get()) FPicture->Assign(Value);
}

void TGridFilePicIO::WriteProperties(TCarrierWriter& W) const {
    W.BeginObject("Picture");
    W.String("Filename", FPicture->Filename());
    W.EndObject();
}

void TGridFilePicIO::ReadProperty(const QString& Name, TCarrierReader& R) {
    if (Name != QLatin1String("Picture"))
        throw EReadError(QStringLiteral("Invalid grid cell stream: unknown property ") + Name);
    TFilePicture* P = FPicture.get();
    R.Object([P, &R](const QString& N) {
        if (N == QLatin1String("Filename"))
            P->SetFilename(R.String());
        else
            throw EReadError(QStringLiteral("Invalid grid cell stream: unknown property ") + N);
    });
}

std::unique_ptr<TGridStreamCarrier> TGridFilePicIO::NewEmpty() const {
    return std::make_unique<TGridFilePicIO>(nullptr);
}

void TGridFilePicIO::TakeFrom(TGridStreamCarrier* Source) {
    if (auto* S = dynamic_cast<TGridFilePicIO*>(Source)) FPicture->Assign(S->FPicture.get());
}
