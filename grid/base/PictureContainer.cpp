#include "grid/base/PictureContainer.h"

#include "platform/gui/Resources.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// ---- reading picture files -----------------------------------------------------------------------

bool ReadPictureFile(const QString& FileName, QByteArray& Bytes) {
    Bytes.clear();
    if (FileName.isEmpty()) return false;
    const QByteArray Path = QFile::encodeName(FileName);
    // O_NONBLOCK: opening a FIFO without a writer must not wait for one; the type is checked on
    // the opened file, so a name swapped after a check cannot slip a device in.
    int Fd;
    do Fd = ::open(Path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (Fd < 0 && errno == EINTR);
    if (Fd < 0) return false;
    struct stat St {};
    bool Ok = ::fstat(Fd, &St) == 0 && S_ISREG(St.st_mode) && St.st_size <= MaxPictureFileSize;
    if (Ok) {
        // the file may grow while it is read: never take more than the limit
        QByteArray Data(qsizetype(St.st_size), Qt::Uninitialized);
        qsizetype Got = 0;
        while (Ok && Got < Data.size()) {
            const ssize_t N = ::read(Fd, Data.data() + Got, size_t(Data.size() - Got));
            if (N < 0 && errno == EINTR) continue;
            if (N <= 0) break;
            Got += N;
        }
        Data.truncate(Got);
        Bytes = Data;
    }
    ::close(Fd);
    return Ok;
}

// ---- THTMLPicture ------------------------------------------------------------------------------

namespace {

inline int Byte(const QByteArray& D, int I) { return uint8_t(D.at(I)); }
inline uint16_t LEWord(const QByteArray& D, int I) { return uint16_t(Byte(D, I) | (Byte(D, I + 1) << 8)); }

// Where the blocks of a GIF start: after the 13-byte header and the global colour table, so that
// colour values are never taken for a frame.
int GIFBlocksStart(const QByteArray& D) {
    if (D.size() < 13) return int(D.size());
    int Start = 13;
    const int Packed = Byte(D, 10);
    if (Packed & 0x80) Start += 3 * (1 << ((Packed & 7) + 1));
    return std::min(Start, int(D.size()));
}

} // namespace

THTMLPicture::THTMLPicture() : FDatastream(std::make_unique<TMemoryStream>()) {}

THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::Reset() {
    FIsEmpty = true;
    gpPicture = QImage();
    FDecodedStream.clear();
    FFrameCount = -1;
    FNextCount = -1;
    FTimerCount = -1;
    FFrame = 1;
    FFrameXPos = FFrameYPos = FFrameXSize = FFrameYSize = 0;
    FAnimMaxX = FAnimMaxY = 0;
    FErrorReported = false;
}

void THTMLPicture::SetData(const QByteArray& Bytes) {
    FDatastream->Clear();
    if (!Bytes.isEmpty()) FDatastream->Write(Bytes.constData(), Bytes.size());
    FDatastream->Seek(0, soBeginning);
}

bool THTMLPicture::IsGIF() const {
    const QByteArray& D = FDatastream->Bytes();
    return D.size() > 4 && D.startsWith("GIF8");
}

std::vector<int> THTMLPicture::FrameStarts() const {
    std::vector<int> Starts;
    const QByteArray& D = FDatastream->Bytes();
    const int N = int(D.size());
    // a frame start: 0x21 0xF9 0x04 (graphic control extension) with the image descriptor's 0x2C
    // eight bytes further, and at least nine bytes after the 0x21
    for (int I = GIFBlocksStart(D); I + 9 < N; ++I) {
        if (Byte(D, I) == 0x21 && Byte(D, I + 1) == 0xF9 && Byte(D, I + 2) == 0x04 && Byte(D, I + 8) == 0x2C)
            Starts.push_back(I);
    }
    return Starts;
}

int THTMLPicture::FrameCount() {
    if (!IsGIF()) return -1;
    if (FFrameCount < 0) FFrameCount = int(FrameStarts().size());
    return FFrameCount;
}

int THTMLPicture::GetFrameTime(int i) {
    if (!IsGIF()) return -1;
    const std::vector<int> Starts = FrameStarts();
    if (i < 1 || i > int(Starts.size())) return -1;
    const QByteArray& D = FDatastream->Bytes();
    const int S = Starts[size_t(i - 1)];
    const int Packed = Byte(D, S + 3);
    FFrameTransp = Packed & 1;
    FFrameDisposal = uint16_t((Packed >> 2) & 7);
    return LEWord(D, S + 4);
}

void THTMLPicture::LoadPicture() {
    gpPicture = QImage();
    FDecodedStream.clear();
    const QByteArray& D = FDatastream->Bytes();
    if (D.isEmpty()) throw EInvalidGraphic(QStringLiteral("Empty image stream created"));

    QByteArray Stream = D;
    bool Crop = false;
    if (IsGIF()) {
        const std::vector<int> Starts = FrameStarts();
        if (FFrameCount < 0) FFrameCount = int(Starts.size());
        if (!Starts.empty()) {
            if (D.size() >= 10) {
                FAnimMaxX = LEWord(D, 6);
                FAnimMaxY = LEWord(D, 8);
            }
            const int Cur = std::clamp(FFrame, 1, int(Starts.size())) - 1;
            const int S = Starts[size_t(Cur)];
            Stream = D.left(Starts[0]) + D.mid(S);
            const int Desc = S + 8; // the image descriptor's 0x2C
            if (Desc + 8 < D.size()) {
                FFrameXPos = LEWord(D, Desc + 1);
                FFrameYPos = LEWord(D, Desc + 3);
                FFrameXSize = LEWord(D, Desc + 5);
                FFrameYSize = LEWord(D, Desc + 7);
                Crop = true;
            } else {
                FFrameXPos = FFrameYPos = FFrameXSize = FFrameYSize = 0;
            }
        }
    }

    FDecodedStream = Stream;
    QBuffer Buffer(&Stream);
    if (!Buffer.open(QIODevice::ReadOnly)) throw EInvalidGraphic(QStringLiteral("Could not create image stream"));
    QImageReader Reader(&Buffer);
    QImage Img;
    if (!Reader.read(&Img)) throw EInvalidGraphic(QStringLiteral("Could not load image. Invalid format"));
    if (Img.isNull()) throw EInvalidGraphic(QStringLiteral("Could not load image"));
    // The GIF reader paints a frame into the whole animation area; the picture is the frame
    // itself, drawn at its offset.
    if (Crop) {
        const QRect Frame = QRect(FFrameXPos, FFrameYPos, FFrameXSize, FFrameYSize).intersected(Img.rect());
        if (Frame.isEmpty()) throw EInvalidGraphic(QStringLiteral("Could not load image"));
        if (Frame != Img.rect()) Img = Img.copy(Frame);
    }
    gpPicture = Img;
}

void THTMLPicture::Assign(TPersistent* Source) {
    // a picture given itself keeps what it holds
    if (Source == this) return;
    Reset();
    if (!Source) {
        FDatastream->Clear();
        return;
    }
    auto* P = dynamic_cast<THTMLPicture*>(Source);
    if (!P) return;
    SetData(P->FDatastream->Bytes());
    if (FDatastream->Size() == 0) return;
    try {
        LoadPicture();
    } catch (...) {
        Reset();
        FDatastream->Clear();
        throw;
    }
    FIsEmpty = false;
    Changed();
}

int THTMLPicture::Width() const { return gpPicture.isNull() ? 0 : gpPicture.width() * FLogPixX / 96; }

int THTMLPicture::Height() const { return gpPicture.isNull() ? 0 : gpPicture.height() * FLogPixY / 96; }

int THTMLPicture::GetMaxWidth() const {
    if (gpPicture.isNull()) return 0;
    return FAnimMaxX ? FAnimMaxX : Width();
}

int THTMLPicture::GetMaxHeight() const {
    if (gpPicture.isNull()) return 0;
    return FAnimMaxY ? FAnimMaxY : Height();
}

void THTMLPicture::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (!ACanvas || FIsEmpty || gpPicture.isNull()) return;
    QPainter* P = ACanvas->Painter();
    if (!P) return;
    TRect R = Rect;
    if (!FStretched) {
        R.Right = R.Left + int((int64_t(gpPicture.width()) * ACanvas->PixelsPerInchX() + 48) / 96);
        R.Bottom = R.Top + int((int64_t(gpPicture.height()) * ACanvas->PixelsPerInchY() + 48) / 96);
    }
    if (R.IsEmpty()) return;
    if (R.Width() == gpPicture.width() && R.Height() == gpPicture.height())
        P->drawImage(QPoint(R.Left, R.Top), gpPicture);
    else
        P->drawImage(QRect(R.Left, R.Top, R.Width(), R.Height()), gpPicture);
}

void THTMLPicture::LoadFromBytes(const QByteArray& Bytes) {
    Reset();
    SetData(Bytes);
    try {
        LoadPicture();
    } catch (...) {
        Reset();
        FDatastream->Clear();
        throw;
    }
    FIsEmpty = false;
    Changed();
}

void THTMLPicture::LoadFromFile(const QString& FileName) {
    QByteArray Bytes;
    if (!ReadPictureFile(FileName, Bytes)) {
        Reset();
        FDatastream->Clear();
        return;
    }
    try {
        LoadFromBytes(Bytes);
    } catch (const std::exception&) {
        // a file that is not a picture leaves the picture empty
    }
}

void THTMLPicture::LoadFromStream(QIODevice& Stream) { LoadFromBytes(Stream.readAll()); }

void THTMLPicture::SaveToStream(QIODevice& Stream) {
    const QByteArray& B = FDatastream->Bytes();
    if (Stream.write(B) != B.size()) throw EWriteError(QStringLiteral("Stream write error"));
}

void THTMLPicture::LoadFromStream(TStream* Stream) {
    if (!Stream) return;
    TMemoryStream M;
    M.LoadFromStream(Stream);
    LoadFromBytes(M.Bytes());
}

void THTMLPicture::SaveToStream(TStream* Stream) {
    if (!Stream) return;
    FDatastream->SaveToStream(Stream);
}

void THTMLPicture::ReadData(TStream* Stream) { LoadFromStream(Stream); }

void THTMLPicture::WriteData(TStream* Stream) { SaveToStream(Stream); }

void THTMLPicture::LoadFromResourceName(const QString& ResName) {
    if (ResName.isEmpty() || !ResourceBitmapExists(ResName)) return;
    LoadFromBytes(ResourceData(ResName));
}

void THTMLPicture::LoadFromResourceID(int ResID) {
    const QString Name = QString::number(ResID);
    if (!ResourceBitmapExists(Name)) throw EResNotFound(QStringLiteral("Resource %1 not found").arg(Name));
    LoadFromBytes(ResourceData(Name));
}

void THTMLPicture::LoadFromURL(const QString& url) {
    const QString Up = url.toUpper();
    if (Up.startsWith(QLatin1String("RES://"))) {
        FID = url;
        LoadFromResourceName(url.mid(6));
        return;
    }
    if (Up.startsWith(QLatin1String("FILE://"))) {
        FID = url;
        LoadFromFile(url.mid(7));
        return;
    }
    if (!FAsynch) {
        FURL = url;
        FID = url;
        return;
    }
    if (!FThreadBusy) {
        FURL = url;
        FThreadBusy = true;
        TDownLoadThread Thread(this); // downloads are not done: the picture stays empty and busy
        (void)Thread;
    }
}

void THTMLPicture::SetFrame(int Value) {
    FFrame = Value;
    if (FDatastream->Size() > 0) {
        LoadPicture();
        if (OnFrameChange) OnFrameChange(this);
    }
}

void THTMLPicture::FrameNext() {
    const int Count = FrameCount();
    int F = FFrame + 1;
    if (F > Count) F = 1;
    SetFrame(F);
}

void THTMLPicture::FramePrev() {
    const int Count = FrameCount();
    int F = FFrame - 1;
    if (F < 1) F = std::max(1, Count);
    SetFrame(F);
}

bool THTMLPicture::Step() {
    if (FIsEmpty || FrameCount() < 2) return false;
    bool Changed = false;
    try {
        if (FNextCount == -1) FNextCount = GetFrameTime(FFrame);
        if (FTimerCount * 10 >= FNextCount) {
            FrameNext();
            FNextCount += std::max(0, GetFrameTime(FFrame));
            Changed = true;
        }
    } catch (const std::exception& E) {
        // the frame draws nothing; an animation tick must not stop on a broken frame
        gpPicture = QImage();
        Changed = true;
        if (!FErrorReported) {
            FErrorReported = true;
            qWarning("Picture %s: %s", qPrintable(FID), E.what());
        }
    }
    ++FTimerCount;
    return Changed;
}

// ---- THTMLPictureCache ---------------------------------------------------------------------------

THTMLPicture* THTMLPictureCache::AddPicture() {
    FItems.push_back(std::make_unique<THTMLPicture>());
    return FItems.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const QString& ID) const {
    for (const auto& P : FItems)
        if (P->ID() == ID) return P.get();
    return nullptr;
}

THTMLPicture* THTMLPictureCache::GetPicture(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

void THTMLPictureCache::SetPicture(int Index, THTMLPicture* Value) { GetPicture(Index)->Assign(Value); }

void THTMLPictureCache::ClearPictures() { FItems.clear(); }

bool THTMLPictureCache::Animate() {
    bool Any = false;
    for (const auto& P : FItems)
        if (P->Step()) Any = true;
    return Any;
}

// ---- TPictureItem, TPictureCollection, TPictureContainer -------------------------------------------

TPictureItem::TPictureItem(TPictureCollection* Collection)
    : FPicture(std::make_unique<THTMLPicture>()), FCollection(Collection) {}

TPictureItem::~TPictureItem() = default;

void TPictureItem::Assign(const TPictureItem* Source) {
    if (!Source || Source == this) return;
    FPicture->Assign(Source->FPicture.get());
    FTag = Source->FTag;
    FName = Source->FName;
}

TPictureCollection::TPictureCollection(TComponent* AOwner) : FOwner(AOwner) {}

TPictureCollection::~TPictureCollection() = default;

TPictureItem* TPictureCollection::Add() {
    FItems.push_back(std::make_unique<TPictureItem>(this));
    return FItems.back().get();
}

TPictureItem* TPictureCollection::Insert(int Index) {
    if (Index < 0 || Index > Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    auto It = FItems.insert(FItems.begin() + Index, std::make_unique<TPictureItem>(this));
    return It->get();
}

TPictureItem* TPictureCollection::GetItem(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

void TPictureCollection::SetItem(int Index, const TPictureItem* Value) { GetItem(Index)->Assign(Value); }

void TPictureCollection::Assign(const TPictureCollection* Source) {
    if (!Source || Source == this) return;
    FItems.clear();
    for (const auto& Item : Source->FItems) Add()->Assign(Item.get());
}

bool TPictureCollection::Animate() {
    bool Any = false;
    for (const auto& Item : FItems)
        if (Item->Picture()->Step()) Any = true;
    return Any;
}

TPictureContainer::TPictureContainer(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TPictureCollection>(this)) {}

TPictureContainer::~TPictureContainer() = default;

void TPictureContainer::SetItems(const TPictureCollection* Value) { FItems->Assign(Value); }

THTMLPicture* TPictureContainer::FindPicture(const QString& s) const {
    const QString Wanted = s.toUpper();
    for (int I = 0; I < FItems->Count(); ++I) {
        TPictureItem* Item = FItems->GetItem(I);
        if (Item->Name().toUpper() == Wanted) return Item->Picture();
    }
    return nullptr;
}
