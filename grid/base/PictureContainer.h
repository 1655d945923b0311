#pragma once
// Pictures for the mini-HTML renderer: THTMLPicture keeps the raw bytes of an image file and
// decodes them through Qt's image readers (GIF, PNG, JPEG, BMP, ICO), stepping through the frames
// of an animated GIF; THTMLPictureCache holds the pictures markup names by URL-like sources;
// TPictureContainer is a component of named pictures that markup names by their names.
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class THTMLPicture;

// Picture files are read only when they are regular files of at most this size: a source named
// in a cell text must not be able to block on a device or a FIFO, or exhaust memory.
constexpr int64_t MaxPictureFileSize = 16 * 1024 * 1024;
// The bytes of a regular file of at most MaxPictureFileSize bytes; false for anything else.
bool ReadPictureFile(const QString& FileName, QByteArray& Bytes);

using TDownloadProgressEvent = std::function<void(TObject* Sender, uint32_t dwSize, uint32_t dwTotSize)>;
using TDownloadCancelEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TDownloadErrorEvent = std::function<void(TObject* Sender, const QString& Err)>;

// Kept for the asynchronous load of a web picture, which this program does not do: starting one
// only marks the picture busy.
class TDownLoadThread {
public:
    explicit TDownLoadThread(THTMLPicture* Picture) : FHTMLPicture(Picture) {}

private:
    THTMLPicture* FHTMLPicture;
};

class THTMLPicture : public TGraphic {
public:
    THTMLPicture();
    ~THTMLPicture() override;

    // ---- TGraphic ------------------------------------------------------------------------------
    void Assign(TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    bool Empty() const override { return FIsEmpty; }
    int Width() const override;
    int Height() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    // Never raises: a file that is missing, not a regular file, too big or not an image leaves
    // the picture empty.
    void LoadFromFile(const QString& FileName) override;
    void LoadFromStream(QIODevice& Stream) override;
    void SaveToStream(QIODevice& Stream) override;
    void LoadFromStream(TStream* Stream); // a null stream does nothing; decoding errors raise
    void SaveToStream(TStream* Stream); // the raw bytes as loaded
    void LoadFromBytes(const QByteArray& Bytes) override; // as LoadFromStream
    QByteArray SaveToBytes() override { return FDatastream->Bytes(); }
    QImage ToImage() const override { return gpPicture; }
    void LoadFromClipboardFormat() {}
    void SaveToClipboardFormat() {}
    // The raw bytes as the stored data of a form or component.
    void ReadData(TStream* Stream);
    void WriteData(TStream* Stream);

    // ---- loading by name -----------------------------------------------------------------------
    // A named resource of the program (Resources.h); nothing when there is none.
    void LoadFromResourceName(const QString& ResName);
    void LoadFromResourceID(int ResID); // EResNotFound when there is no such resource
    // "RES://name", "FILE://path"; any other address leaves the picture empty.
    void LoadFromURL(const QString& url);

    // ---- frames --------------------------------------------------------------------------------
    int GetFrameTime(int i); // hundredths of a second; -1 without frame i or for other data
    int GetMaxWidth() const;
    int GetMaxHeight() const;
    void SetFrame(int Value); // decodes again (raising its errors) and fires OnFrameChange
    void FrameNext();
    void FramePrev();
    // One animation tick (a tenth of a second); true when the picture moved to another frame.
    // Never raises: a frame that does not decode draws nothing.
    bool Step();

    // ---- properties ----------------------------------------------------------------------------
    bool Stretch() const { return FStretched; }
    void SetStretch(bool Value) { FStretched = Value; }
    int Frame() const { return FFrame; }
    int FrameTime(int i) { return GetFrameTime(i); }
    bool Busy() const { return FThreadBusy; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool Value) { FAsynch = Value; }
    bool IsDB() const { return FIsDB; }
    void SetIsDB(bool Value) { FIsDB = Value; }
    bool IsGIF() const;
    int FrameCount();
    int MaxWidth() const { return GetMaxWidth(); }
    int MaxHeight() const { return GetMaxHeight(); }
    int FrameXPos() const { return FFrameXPos; }
    int FrameYPos() const { return FFrameYPos; }
    QString ID() const { return FID; }
    void SetID(const QString& Value) { FID = Value; }
    QString URL() const { return FURL; }
    bool FrameTransparent() const { return FFrameTransp; }
    int FrameDisposal() const { return FFrameDisposal; }
    // The bytes the decoder was given for the current frame (for a GIF, the frames before it
    // left out).
    const QByteArray& DecodedStream() const { return FDecodedStream; }

    TNotifyEvent OnFrameChange;
    TDownloadProgressEvent OnDownLoadProgress;
    TDownloadCancelEvent OnDownLoadCancel;
    TNotifyEvent OnDownLoadComplete;
    TDownloadErrorEvent OnDownLoadError;

private:
    void LoadPicture(); // decodes the current frame; raises EInvalidGraphic
    void Reset();
    void SetData(const QByteArray& Bytes);
    // Offsets of the frame starts of GIF data (a graphic control extension followed by an image
    // descriptor), each with room for the bytes read from it.
    std::vector<int> FrameStarts() const;

    std::unique_ptr<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    bool FStretched = false;
    QImage gpPicture;
    int FLogPixX = 96;
    int FLogPixY = 96;
    QString FURL;
    QString FID;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;
    int FFrame = 1;
    int FFrameCount = -1;
    uint16_t FFrameXPos = 0;
    uint16_t FFrameYPos = 0;
    uint16_t FFrameXSize = 0;
    uint16_t FFrameYSize = 0;
    bool FFrameTransp = false;
    uint16_t FFrameDisposal = 0;
    uint16_t FAnimMaxX = 0;
    uint16_t FAnimMaxY = 0;
    int FNextCount = -1;
    int FTimerCount = -1;
    QByteArray FDecodedStream;
    bool FErrorReported = false;
};

class THTMLPictureCache {
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache() { ClearPictures(); }
    THTMLPictureCache(const THTMLPictureCache&) = delete;
    THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;

    THTMLPicture* AddPicture();
    THTMLPicture* FindPicture(const QString& ID) const; // exact match of the identity
    int Count() const { return int(FItems.size()); }
    THTMLPicture* GetPicture(int Index) const; // EListError outside the list
    void SetPicture(int Index, THTMLPicture* Value); // copies Value into picture Index
    THTMLPicture* Items(int Index) const { return GetPicture(Index); }
    void ClearPictures();
    bool Animate(); // one tick for every picture; true when any changed frame

private:
    std::vector<std::unique_ptr<THTMLPicture>> FItems;
};

class TPictureCollection;

class TPictureItem {
public:
    explicit TPictureItem(TPictureCollection* Collection);
    ~TPictureItem();
    TPictureItem(const TPictureItem&) = delete;
    TPictureItem& operator=(const TPictureItem&) = delete;

    THTMLPicture* Picture() const { return FPicture.get(); }
    void SetPicture(THTMLPicture* Value) { FPicture->Assign(Value); }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    QString Name() const { return FName; }
    void SetName(const QString& Value) { FName = Value; }
    TPictureCollection* Collection() const { return FCollection; }
    void Assign(const TPictureItem* Source);

private:
    std::unique_ptr<THTMLPicture> FPicture;
    int FTag = 0;
    QString FName;
    TPictureCollection* FCollection;
};

class TPictureCollection {
public:
    explicit TPictureCollection(TComponent* AOwner);
    ~TPictureCollection();
    TPictureCollection(const TPictureCollection&) = delete;
    TPictureCollection& operator=(const TPictureCollection&) = delete;

    TComponent* GetOwner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TPictureItem* Add();
    TPictureItem* Insert(int Index); // EListError outside 0..Count
    TPictureItem* GetItem(int Index) const; // EListError outside the collection
    void SetItem(int Index, const TPictureItem* Value); // copies Value into item Index
    TPictureItem* Items(int Index) const { return GetItem(Index); }
    void Assign(const TPictureCollection* Source); // copies every item
    bool Animate();

private:
    TComponent* FOwner;
    std::vector<std::unique_ptr<TPictureItem>> FItems;
};

class TPictureContainer : public TComponent {
public:
    explicit TPictureContainer(TComponent* AOwner);
    ~TPictureContainer() override;

    TPictureCollection* Items() const { return FItems.get(); }
    // Copies the given collection's items; the container keeps its own collection.
    void SetItems(const TPictureCollection* Value);
    THTMLPicture* FindPicture(const QString& s) const; // by name, case ignored

private:
    std::unique_ptr<TPictureCollection> FItems;
};
