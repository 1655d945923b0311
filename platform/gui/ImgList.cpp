#include "platform/gui/ImgList.h"

#include <QPainter>

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int Width, int Height)
    : TComponent(AOwner), FWidth(std::max(1, Width)), FHeight(std::max(1, Height)) {}

void TCustomImageList::Changed() {
    if (OnChange) OnChange(this);
}

void TCustomImageList::SetWidth(int Value) {
    Value = std::max(1, Value);
    if (Value == FWidth) return;
    FWidth = Value;
    FImages.clear();
    Changed();
}

void TCustomImageList::SetHeight(int Value) {
    Value = std::max(1, Value);
    if (Value == FHeight) return;
    FHeight = Value;
    FImages.clear();
    Changed();
}

int TCustomImageList::AddCells(const QImage& Source) {
    if (Source.isNull()) return -1;
    const int First = Count();
    const int Cells = std::max(1, Source.width() / FWidth);
    for (int I = 0; I < Cells; ++I) {
        QImage Cell(FWidth, FHeight, QImage::Format_ARGB32_Premultiplied);
        Cell.fill(Qt::transparent);
        QPainter P(&Cell);
        P.setCompositionMode(QPainter::CompositionMode_Source);
        P.drawImage(QPoint(-I * FWidth, 0), Source);
        P.end();
        FImages.push_back(std::move(Cell));
    }
    Changed();
    return First;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
    if (!Image || Image->Empty()) return -1;
    QImage Src = Image->ToImage().convertToFormat(QImage::Format_ARGB32);
    if (Mask && !Mask->Empty()) {
        const QImage M = Mask->ToImage().convertToFormat(QImage::Format_RGB32);
        for (int Y = 0; Y < Src.height() && Y < M.height(); ++Y) {
            auto* Line = reinterpret_cast<QRgb*>(Src.scanLine(Y));
            const auto* MLine = reinterpret_cast<const QRgb*>(M.constScanLine(Y));
            for (int X = 0; X < Src.width() && X < M.width(); ++X)
                if (qGray(MLine[X]) >= 128) Line[X] = 0;
        }
    }
    return AddCells(Src);
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
    if (!Image || Image->Empty()) return -1;
    QImage Src = Image->ToImage().convertToFormat(QImage::Format_ARGB32);
    const TColor Key = MaskColor == clDefault || MaskColor == clNone
        ? FromQColor(QColor::fromRgb(Src.pixel(0, Src.height() - 1)))
        : ColorToRGB(MaskColor);
    const QRgb K = ToQColor(Key).rgb() & 0xFFFFFF;
    for (int Y = 0; Y < Src.height(); ++Y) {
        auto* Line = reinterpret_cast<QRgb*>(Src.scanLine(Y));
        for (int X = 0; X < Src.width(); ++X)
            if ((Line[X] & 0xFFFFFF) == K) Line[X] = 0;
    }
    return AddCells(Src);
}

void TCustomImageList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    FImages.erase(FImages.begin() + Index);
    Changed();
}

void TCustomImageList::Clear() {
    if (FImages.empty()) return;
    FImages.clear();
    Changed();
}

QImage TCustomImageList::ImageAt(int Index) const {
    return Index >= 0 && Index < Count() ? FImages[size_t(Index)] : QImage();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
    if (!Canvas || Index < 0 || Index >= Count()) return;
    if (Canvas->Mirrored()) {
        // A picture keeps its reading direction at the mirrored place.
        const int MW = Canvas->MirrorWidth();
        TCanvasLeftToRight Physical(Canvas);
        Draw(Canvas, MW - X - Width(), Y, Index, Enabled);
        return;
    }
    QPainter* P = Canvas->Painter();
    if (!P) return;
    const QImage& Img = FImages[size_t(Index)];
    if (Enabled) {
        P->drawImage(QPoint(X, Y), Img);
        return;
    }
    // greyed: the image's luminance, lightened towards the button face, alpha kept
    QImage Grey = Img.convertToFormat(QImage::Format_ARGB32);
    const QColor Face = ToQColor(clBtnFace);
    for (int Row = 0; Row < Grey.height(); ++Row) {
        auto* Line = reinterpret_cast<QRgb*>(Grey.scanLine(Row));
        for (int Col = 0; Col < Grey.width(); ++Col) {
            const QRgb Px = Line[Col];
            const int G = (qGray(Px) + Face.red()) / 2;
            Line[Col] = qRgba(G, G, G, qAlpha(Px));
        }
    }
    P->drawImage(QPoint(X, Y), Grey);
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
    if (!Image || Index < 0 || Index >= Count()) return false;
    QImage Out(FWidth, FHeight, QImage::Format_RGB32);
    Out.fill(ToQColor(clBtnFace));
    QPainter P(&Out);
    P.drawImage(QPoint(0, 0), FImages[size_t(Index)]);
    P.end();
    Image->SetImage(Out);
    return true;
}
