#pragma once
// String lists and streams.
#include "platform/rtl/Objects.h"
#include "platform/rtl/SysUtils.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TStream;
class TAtomicFile;

enum TDuplicates { dupIgnore, dupAccept, dupError };

// ---- TStrings -----------------------------------------------------------------------------
// The abstract list of texts, each with an object pointer (not owned). Descendants supply the
// storage (Get, Count, Insert, Delete, Clear ...); everything else is built on those.
class TStrings : public TPersistent {
public:
    TStrings() = default;

    // storage, supplied by descendants
    virtual int Count() const = 0;
    virtual QString Get(int Index) const = 0;
    virtual void Put(int Index, const QString& S); // default: replace, keeping the object
    virtual TObject* GetObject(int Index) const; // default: nullptr
    virtual void PutObject(int Index, TObject* AObject); // default: ignored
    virtual void Insert(int Index, const QString& S) = 0;
    virtual void InsertObject(int Index, const QString& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    virtual int Add(const QString& S);
    virtual int AddObject(const QString& S, TObject* AObject);
    void Append(const QString& S) { Add(S); }
    void AddStrings(TStrings* Strings);
    void AddStrings(const QStringList& Strings);
    void Assign(TPersistent* Source) override;
    void Assign(const QStringList& Source);
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);
    virtual int IndexOf(const QString& S) const;
    int IndexOfName(const QString& Name) const;
    int IndexOfObject(TObject* AObject) const;
    bool Equals(const TStrings* Strings) const;

    // updates: OnChange-style notifications are held until the outermost EndUpdate
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // Runs Body between BeginUpdate and EndUpdate, ending the update also when Body raises.
    template <class TBody>
    void WithinUpdate(TBody&& Body) {
        BeginUpdate();
        try {
            Body();
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    }

    // properties
    QString Strings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const QString& S) { Put(Index, S); }
    QString operator[](int Index) const { return Get(Index); }
    TObject* Objects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }
    QString Names(int Index) const; // the part before the separator, "" without one
    QString Values(const QString& Name) const;
    void SetValues(const QString& Name, const QString& Value); // "" removes the entry
    QString ValueFromIndex(int Index) const;
    void SetValueFromIndex(int Index, const QString& Value);
    QChar NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(QChar C) { FNameValueSeparator = C; }
    QChar Delimiter() const { return FDelimiter; }
    void SetDelimiter(QChar C) { FDelimiter = C; }
    QChar QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(QChar C) { FQuoteChar = C; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool B) { FStrictDelimiter = B; }
    QString LineBreak() const { return FLineBreak; }
    void SetLineBreak(const QString& S) { FLineBreak = S; }
    QString DelimitedText() const;
    void SetDelimitedText(const QString& S);
    QString CommaText() const; // DelimitedText with ',' and '"'
    void SetCommaText(const QString& S);
    QString Text() const; // every line followed by LineBreak ("\r\n")
    void SetText(const QString& S); // lines end at CR, LF or CRLF
    QStringList ToStringList() const;

    // files and streams: read with the text-file rules of Files.h; written whole (Windows-1252 when
    // every character fits, else UTF-8 with a BOM), through the atomic writer
    virtual void LoadFromFile(const QString& FileName);
    virtual void SaveToFile(const QString& FileName) const;
    virtual void LoadFromStream(TStream* Stream);
    virtual void SaveToStream(TStream* Stream) const;

protected:
    // Compares two texts as IndexOf and the sorted list do; TStrings ignores case.
    virtual int CompareStrings(const QString& S1, const QString& S2) const;
    virtual void SetUpdateState(bool Updating) { (void)Updating; }
    void Error(const QString& Fmt, int Index) const; // raises EListError
    bool Updating() const { return FUpdateCount > 0; }

private:
    int FUpdateCount = 0;
    QChar FNameValueSeparator = u'=';
    QChar FDelimiter = u',';
    QChar FQuoteChar = u'"';
    bool FStrictDelimiter = false;
    QString FLineBreak = QStringLiteral("\r\n");
};

// ---- TStringList --------------------------------------------------------------------------
class TStringList : public TStrings {
public:
    using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

    TStringList() = default;
    ~TStringList() override;

    int Count() const override { return int(FList.size()); }
    QString Get(int Index) const override;
    void Put(int Index, const QString& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    int Add(const QString& S) override;
    int AddObject(const QString& S, TObject* AObject) override;
    void Insert(int Index, const QString& S) override;
    void InsertObject(int Index, const QString& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;
    int IndexOf(const QString& S) const override;

    // Binary search of a sorted list: true when found; Index is the position or the insertion point.
    virtual bool Find(const QString& S, int& Index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    int CompareStrings(const QString& S1, const QString& S2) const override;
    void SetUpdateState(bool Updating) override;
    virtual void Changed();
    virtual void Changing();

private:
    struct TItem {
        QString S;
        TObject* O = nullptr;
    };
    void CheckIndex(int Index) const;
    void InsertItem(int Index, const QString& S, TObject* AObject);
    std::vector<TItem> FList;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
};

// ---- streams ------------------------------------------------------------------------------
enum TSeekOrigin { soBeginning, soCurrent, soEnd };
constexpr int soFromBeginning = soBeginning;
constexpr int soFromCurrent = soCurrent;
constexpr int soFromEnd = soEnd;

class TStream : public TObject {
public:
    // Read and Write move up to Count bytes and return how many they moved.
    virtual int64_t Read(void* Buffer, int64_t Count) = 0;
    virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
    void ReadBuffer(void* Buffer, int64_t Count); // all or EReadError
    void WriteBuffer(const void* Buffer, int64_t Count); // all or EWriteError
    int64_t CopyFrom(TStream* Source, int64_t Count); // Count 0 copies the whole source

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t NewSize) = 0;
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return FData.size(); }
    void SetSize(int64_t NewSize) override;
    void Clear();
    char* Memory() { return FData.data(); }
    const QByteArray& Bytes() const { return FData; }
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const QString& FileName);
    void SaveToStream(TStream* Stream);
    void SaveToFile(const QString& FileName); // through the atomic writer
private:
    QByteArray FData;
    int64_t FPosition = 0;
};

// File modes; the share modes are accepted and have no effect here.
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

// A file as a stream. fmOpenRead/fmOpenWrite/fmOpenReadWrite work on the existing file in place
// (EFOpenError when it cannot be opened). fmCreate writes a new file whole or not at all: the
// bytes go to a temporary file beside the target, which replaces the target when the stream is
// destroyed normally (or at Commit(), which raises EInOutError on failure). When the stream is
// destroyed while an exception is propagating, the temporary file is dropped and the target is
// left as it was. EFCreateError when the temporary file cannot be made.
class TFileStream : public TStream {
public:
    TFileStream(const QString& FileName, uint16_t Mode);
    ~TFileStream() override;
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    void Commit(); // fmCreate: puts the new file in place now; later writes raise
    const QString& FileName() const { return FFileName; }

private:
    QString FFileName;
    int FHandle = -1;
    std::unique_ptr<TAtomicFile> FAtomic;
    int FUncaught = 0;
};
