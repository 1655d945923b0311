#include "grid/control/CellGraphic.h"

#include "grid/base/ExtObj.h"

#include <cmath>

// ---- object slots -----------------------------------------------------------------------------------
TObject* TCellObjectSlot::Object() const {
    if (auto* P = std::get_if<TObject*>(&FValue)) return *P;
    if (auto* P = std::get_if<std::unique_ptr<TObject>>(&FValue)) return P->get();
    if (auto* P = std::get_if<std::shared_ptr<TObject>>(&FValue)) return P->get();
    return nullptr;
}

void TCellObjectSlot::SetBorrowed(TObject* Value) {
    // Handing the slot its own object back keeps it owned: the record must not be left pointing
    // at an object it has just freed.
    if (Value && (Owned() || Shared()) && Object() == Value) return;
    if (Value)
        FValue = Value;
    else
        FValue = std::monostate();
}

void TCellObjectSlot::SetOwned(std::unique_ptr<TObject> Value) {
    if (!Value) {
        FValue = std::monostate();
        return;
    }
    FValue = std::move(Value);
}

void TCellObjectSlot::SetShared(std::shared_ptr<TObject> Value) {
    if (!Value) {
        FValue = std::monostate();
        return;
    }
    FValue = std::move(Value);
}

void TCellObjectSlot::SetColor(TColor Value) { FValue = Value; }

void TCellObjectSlot::Clear() { FValue = std::monostate(); }

// ---- the record -------------------------------------------------------------------------------------
void TCellGraphic::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TCellGraphic*>(Source);
    if (!S || S == this) return;
    FCellType = S->FCellType;
    FCellVAlign = S->FCellVAlign;
    FCellHAlign = S->FCellHAlign;
    FCellIndex = S->FCellIndex;
    FCellTransparent = S->FCellTransparent;
    FCellValue = S->FCellValue;
    FCellAngle = S->FCellAngle;
    FCellBoolean = S->FCellBoolean;
    FCellErrFrom = S->FCellErrFrom;
    FCellErrLen = S->FCellErrLen;
    FCellText = S->FCellText;
    FCellCreated = S->FCellCreated;
}

void TCellGraphic::SetCellBitmapOwned(std::unique_ptr<TObject> Value) {
    FCellBitmap.SetOwned(std::move(Value));
    FCellCreated = true;
}

void TCellGraphic::SetCellIconOwned(std::unique_ptr<TObject> Value) {
    FCellIcon.SetOwned(std::move(Value));
    FCellCreated = true;
}

void TCellGraphic::SetInterfacedCell(TInterfacedPersistent* AObject) {
    FCellType = ctInterface;
    FCellBitmap.SetBorrowed(AObject);
}

void TCellGraphic::SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctBitmap;
    FCellBitmap.SetBorrowed(ABmp);
    FCellTransparent = Transparent;
    Place(hal, val);
}

void TCellGraphic::SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctButton;
    FCellIndex = int((unsigned(bh) << 16) | (unsigned(bw) & 0xFFFFu));
    FCellText = caption;
    FCellBoolean = false;
    Place(hal, val);
}

void TCellGraphic::SetBitButton(int bw, int bh, const QString& caption, TBitmap* Glyph, TCellHAlign hal,
                                TCellVAlign val) {
    SetButton(bw, bh, caption, hal, val);
    FCellType = ctBitButton;
    FCellBitmap.SetBorrowed(Glyph);
}

void TCellGraphic::SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                              TCellHAlign hal, TCellVAlign val) {
    FCellType = ctPicture;
    FCellBitmap.SetBorrowed(APicture);
    FCellTransparent = Transparent;
    FCellAngle = int(StretchMode);
    FCellIndex = padding;
    Place(hal, val);
}

void TCellGraphic::SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode stretchmode, int padding,
                                  TCellHAlign hal, TCellVAlign val) {
    FCellType = ctFilePicture;
    FCellBitmap.SetBorrowed(FilePictureObject(APicture));
    FCellTransparent = Transparent;
    FCellAngle = int(stretchmode);
    FCellIndex = padding;
    Place(hal, val);
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val) {
    FCellType = Data ? ctDataCheckBox : ctCheckBox;
    FCellBoolean = Value;
    FCellAngle = 0;
    FCellTransparent = Flat;
    Place(hal, val);
}

void TCellGraphic::SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctTriStateCheckBox;
    FCellCheckBoxState = Value;
    FCellBoolean = false;
    FCellTransparent = Flat;
    Place(hal, val);
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctRadioButton;
    FCellBoolean = Value;
    FCellAngle = 0;
    FCellTransparent = Flat;
    Place(hal, val);
}

void TCellGraphic::SetIcon(TIcon* aicon, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctIcon;
    FCellIcon.SetBorrowed(aicon);
    Place(hal, val);
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctDataImage;
    FCellIndex = idx;
    Place(hal, val);
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctImageList;
    FCellIndex = idx;
    Place(hal, val);
}

void TCellGraphic::SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val,
                                 TImageChangeEvent Notifier) {
    FCellType = ctImages;
    FCellBoolean = dir == 0;
    auto List = std::make_unique<TIntList>(Col, Row);
    List->OnChange = std::move(Notifier);
    SetCellBitmapOwned(std::move(List));
    Place(hal, val);
}

void TCellGraphic::SetAngle(int16_t AAngle) {
    FCellType = ctRotated;
    int A = AAngle;
    while (A > 360) A -= 360;
    while (A < 0) A += 360;
    FCellAngle = A;
}

TPoint TCellGraphic::GetPictureSize(int cw, int rh, bool hastext) const {
    (void)hastext;
    TPoint Result{0, 0};
    int w = 0, h = 0;
    if (FCellType == ctPicture) {
        auto* P = CellBitmapAs<TPicture>();
        if (!P) return Result;
        w = P->Width();
        h = P->Height();
    } else if (FCellType == ctFilePicture) {
        if (!FilePictureSize(CellBitmap(), w, h)) return Result;
    } else {
        return Result;
    }
    const int a = cw - FCellIndex;
    const int b = rh - FCellIndex;
    // Banker's rounding, as the platform rounds.
    auto RoundEven = [](double V) { return int(std::nearbyint(V)); };
    auto Scales = [&](double& x, double& y) {
        x = w > 0 ? double(a) / w : 1.0;
        y = h > 0 ? double(b) / h : 1.0;
    };
    auto Aspect = [&](double x, double y) {
        if (x >= y) return TPoint{RoundEven(w * y), b};
        return TPoint{a, RoundEven(h * x)};
    };
    const bool Fits = a >= w && b >= h;
    switch (FCellAngle) {
        case Stretch: return TPoint{a, b};
        case StretchWithAspectRatio: {
            double x, y;
            Scales(x, y);
            return Aspect(x, y);
        }
        case Shrink: return Fits ? TPoint{w, h} : TPoint{a, b};
        case ShrinkWithAspectRatio: {
            if (Fits) return TPoint{w, h};
            double x, y;
            Scales(x, y);
            return Aspect(std::min(x, 1.0), std::min(y, 1.0));
        }
        default: return TPoint{w, h};
    }
}
