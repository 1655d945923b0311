#include "platform/rtl/Classes.h"

#include "platform/rtl/Files.h"

#include <QFile>
#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SSortedListError = "Operation not allowed on sorted list";
const char* const SDuplicateString = "String list does not allow duplicates";
} // namespace

// ---- TStrings -----------------------------------------------------------------------------

void TStrings::Error(const QString& Fmt, int Index) const { throw EListError(Format(Fmt, {Index})); }

void TStrings::Put(int Index, const QString& S) {
    TObject* o = GetObject(Index);
    WithinUpdate([&] {
        Delete(Index);
        InsertObject(Index, S, o);
    });
}

TObject* TStrings::GetObject(int Index) const {
    (void)Index;
    return nullptr;
}

void TStrings::PutObject(int Index, TObject* AObject) {
    (void)Index;
    (void)AObject;
}

void TStrings::InsertObject(int Index, const QString& S, TObject* AObject) {
    Insert(Index, S);
    PutObject(Index, AObject);
}

int TStrings::Add(const QString& S) {
    const int index = Count();
    Insert(index, S);
    return index;
}

int TStrings::AddObject(const QString& S, TObject* AObject) {
    const int index = Add(S);
    PutObject(index, AObject);
    return index;
}

void TStrings::AddStrings(TStrings* Strings) {
    if (!Strings) return;
    // Copy first: the source may be this very list.
    QList<QPair<QString, TObject*>> items;
    for (int i = 0; i < Strings->Count(); ++i) items.append({Strings->Get(i), Strings->GetObject(i)});
    WithinUpdate([&] {
        for (const auto& it : items) AddObject(it.first, it.second);
    });
}

void TStrings::AddStrings(const QStringList& Strings) {
    WithinUpdate([&] {
        for (const QString& s : Strings) Add(s);
    });
}

void TStrings::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TStrings*>(Source);
    if (!src)
        throw EConvertError(Source ? QStringLiteral("Cannot assign this object to a string list")
                                   : QStringLiteral("Cannot assign nil to a string list"));
    if (src == this) return;
    WithinUpdate([&] {
        Clear();
        FNameValueSeparator = src->FNameValueSeparator;
        FDelimiter = src->FDelimiter;
        FQuoteChar = src->FQuoteChar;
        FStrictDelimiter = src->FStrictDelimiter;
        FLineBreak = src->FLineBreak;
        AddStrings(src);
    });
}

void TStrings::Assign(const QStringList& Source) {
    WithinUpdate([&] {
        Clear();
        AddStrings(Source);
    });
}

void TStrings::Exchange(int Index1, int Index2) {
    WithinUpdate([&] {
        const QString s = Get(Index1);
        TObject* o = GetObject(Index1);
        Put(Index1, Get(Index2));
        PutObject(Index1, GetObject(Index2));
        Put(Index2, s);
        PutObject(Index2, o);
    });
}

void TStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    if (NewIndex < 0 || NewIndex >= Count()) Error(QString::fromLatin1(SListIndexError), NewIndex);
    WithinUpdate([&] {
        const QString s = Get(CurIndex);
        TObject* o = GetObject(CurIndex);
        Delete(CurIndex);
        InsertObject(NewIndex, s, o);
    });
}

int TStrings::IndexOf(const QString& S) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), S) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const QString& Name) const {
    for (int i = 0; i < Count(); ++i) {
        const QString s = Get(i);
        const int p = s.indexOf(FNameValueSeparator);
        if (p >= 0 && CompareStrings(s.left(p), Name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == AObject) return i;
    return -1;
}

bool TStrings::Equals(const TStrings* Strings) const {
    if (!Strings || Strings->Count() != Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != Strings->Get(i)) return false;
    return true;
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount <= 0) return;
    --FUpdateCount;
    if (FUpdateCount == 0) SetUpdateState(false);
}

QString TStrings::Names(int Index) const {
    const QString s = Get(Index);
    const int p = s.indexOf(FNameValueSeparator);
    return p >= 0 ? s.left(p) : QString();
}

QString TStrings::Values(const QString& Name) const {
    const int i = IndexOfName(Name);
    return i >= 0 ? ValueFromIndex(i) : QString();
}

void TStrings::SetValues(const QString& Name, const QString& Value) {
    int i = IndexOfName(Name);
    if (!Value.isEmpty()) {
        if (i < 0) i = Add(QString());
        Put(i, Name + FNameValueSeparator + Value);
    } else if (i >= 0) {
        Delete(i);
    }
}

QString TStrings::ValueFromIndex(int Index) const {
    const QString s = Get(Index);
    const int p = s.indexOf(FNameValueSeparator);
    return p >= 0 ? s.mid(p + 1) : QString();
}

void TStrings::SetValueFromIndex(int Index, const QString& Value) {
    if (!Value.isEmpty()) {
        if (Index < 0) Index = Add(QString());
        Put(Index, Names(Index) + FNameValueSeparator + Value);
    } else if (Index >= 0) {
        Delete(Index);
    }
}

QString TStrings::DelimitedText() const {
    const int n = Count();
    if (n == 1 && Get(0).isEmpty()) return QString(2, FQuoteChar);
    QString result;
    for (int i = 0; i < n; ++i) {
        QString s = Get(i);
        bool quote = false;
        for (QChar c : s) {
            if (c == FQuoteChar || c == FDelimiter || c.unicode() == 0 || (!FStrictDelimiter && c.unicode() <= ' ')) {
                quote = true;
                break;
            }
        }
        if (quote) {
            s.replace(FQuoteChar, QString(2, FQuoteChar));
            s = FQuoteChar + s + FQuoteChar;
        }
        if (i > 0) result += FDelimiter;
        result += s;
    }
    return result;
}

void TStrings::SetDelimitedText(const QString& Value) {
    const int n = Value.size();
    int p = 0;
    // A NUL counts as a blank: it ends an unquoted item like any other control character, so the
    // scan always moves on (a NUL that stopped an item without being skipped would stall it).
    auto blank = [&](int i) { return i < n && Value[i].unicode() <= ' '; };
    WithinUpdate([&] {
        Clear();
        if (!FStrictDelimiter)
            while (blank(p)) ++p;
        while (p < n) {
            QString s;
            if (Value[p] == FQuoteChar) {
                // A quoted item: doubled quote characters stand for one; an unclosed quote runs to the end.
                ++p;
                while (p < n) {
                    if (Value[p] == FQuoteChar) {
                        if (p + 1 < n && Value[p + 1] == FQuoteChar) {
                            s += FQuoteChar;
                            p += 2;
                            continue;
                        }
                        ++p;
                        break;
                    }
                    s += Value[p++];
                }
            } else {
                const int start = p;
                while (p < n && Value[p] != FDelimiter && (FStrictDelimiter || Value[p].unicode() > ' ')) ++p;
                s = Value.mid(start, p - start);
            }
            Add(s);
            if (!FStrictDelimiter)
                while (blank(p)) ++p;
            if (p < n && Value[p] == FDelimiter) {
                if (p + 1 == n) Add(QString());
                do {
                    ++p;
                } while (!FStrictDelimiter && blank(p));
            }
        }
    });
}

QString TStrings::CommaText() const {
    TStringList copy;
    copy.AddStrings(const_cast<TStrings*>(this));
    return copy.DelimitedText(); // a fresh list has ',' and '"', not strict
}

void TStrings::SetCommaText(const QString& S) {
    const QChar delimiter = FDelimiter, quote = FQuoteChar;
    const bool strict = FStrictDelimiter;
    FDelimiter = u',';
    FQuoteChar = u'"';
    FStrictDelimiter = false;
    try {
        SetDelimitedText(S);
    } catch (...) {
        FDelimiter = delimiter;
        FQuoteChar = quote;
        FStrictDelimiter = strict;
        throw;
    }
    FDelimiter = delimiter;
    FQuoteChar = quote;
    FStrictDelimiter = strict;
}

QString TStrings::Text() const {
    QString out;
    for (int i = 0; i < Count(); ++i) out += Get(i) + FLineBreak;
    return out;
}

void TStrings::SetText(const QString& S) { Assign(SplitLines(S)); }

QStringList TStrings::ToStringList() const {
    QStringList out;
    out.reserve(Count());
    for (int i = 0; i < Count(); ++i) out << Get(i);
    return out;
}

void TStrings::LoadFromFile(const QString& FileName) {
    // Read before clearing, so an unreadable file leaves the list as it was.
    Assign(ReadTextLines(FileName));
}

void TStrings::SaveToFile(const QString& FileName) const { WriteFileAtomic(FileName, EncodeText(Text())); }

void TStrings::LoadFromStream(TStream* Stream) {
    const int64_t size = Stream->Size() - Stream->Position();
    QByteArray bytes(qsizetype(std::max<int64_t>(size, 0)), '\0');
    Stream->ReadBuffer(bytes.data(), bytes.size());
    SetText(DecodeText(bytes));
}

void TStrings::SaveToStream(TStream* Stream) const {
    const QByteArray bytes = EncodeText(Text());
    Stream->WriteBuffer(bytes.constData(), bytes.size());
}

int TStrings::CompareStrings(const QString& S1, const QString& S2) const {
    return QString::compare(S1, S2, Qt::CaseInsensitive);
}

// ---- TStringList --------------------------------------------------------------------------

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TStringList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) Error(QString::fromLatin1(SListIndexError), Index);
}

QString TStringList::Get(int Index) const {
    CheckIndex(Index);
    return FList[size_t(Index)].S;
}

void TStringList::Put(int Index, const QString& S) {
    if (FSorted) throw EListError(QString::fromLatin1(SSortedListError));
    CheckIndex(Index);
    Changing();
    FList[size_t(Index)].S = S;
    Changed();
}

TObject* TStringList::GetObject(int Index) const {
    CheckIndex(Index);
    return FList[size_t(Index)].O;
}

void TStringList::PutObject(int Index, TObject* AObject) {
    CheckIndex(Index);
    Changing();
    FList[size_t(Index)].O = AObject;
    Changed();
}

int TStringList::Add(const QString& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const QString& S, TObject* AObject) {
    int index;
    if (!FSorted) {
        index = Count();
    } else if (Find(S, index)) {
        switch (FDuplicates) {
            case dupIgnore: return index;
            case dupError: throw EListError(QString::fromLatin1(SDuplicateString));
            case dupAccept: break;
        }
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Insert(int Index, const QString& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const QString& S, TObject* AObject) {
    if (FSorted) throw EListError(QString::fromLatin1(SSortedListError));
    if (Index < 0 || Index > Count()) Error(QString::fromLatin1(SListIndexError), Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const QString& S, TObject* AObject) {
    Changing();
    FList.insert(FList.begin() + Index, TItem{S, AObject});
    Changed();
}

void TStringList::Delete(int Index) {
    CheckIndex(Index);
    Changing();
    FList.erase(FList.begin() + Index);
    Changed();
}

void TStringList::Clear() {
    if (FList.empty()) return;
    Changing();
    FList.clear();
    Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
    Changed();
}

int TStringList::IndexOf(const QString& S) const {
    if (!FSorted) return TStrings::IndexOf(S);
    int index;
    return Find(S, index) ? index : -1;
}

bool TStringList::Find(const QString& S, int& Index) const {
    bool found = false;
    int l = 0, h = Count() - 1;
    while (l <= h) {
        const int i = (l + h) / 2;
        const int c = CompareStrings(FList[size_t(i)].S, S);
        if (c < 0) {
            l = i + 1;
        } else {
            h = i - 1;
            if (c == 0) {
                found = true;
                if (FDuplicates != dupAccept) l = i;
            }
        }
    }
    Index = l;
    return found;
}

void TStringList::Sort() {
    CustomSort([](TStringList* List, int A, int B) {
        return List->CompareStrings(List->FList[size_t(A)].S, List->FList[size_t(B)].S);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
    const int n = Count();
    if (n < 2) return;
    // A merge sort of positions: stable, and safe whatever the comparison answers.
    std::vector<int> order(static_cast<size_t>(n)), buffer(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) order[size_t(i)] = i;
    for (int width = 1; width < n; width *= 2) {
        for (int lo = 0; lo < n; lo += 2 * width) {
            const int mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            int a = lo, b = mid, k = lo;
            while (a < mid && b < hi)
                buffer[size_t(k++)] =
                    Compare(this, order[size_t(b)], order[size_t(a)]) < 0 ? order[size_t(b++)] : order[size_t(a++)];
            while (a < mid) buffer[size_t(k++)] = order[size_t(a++)];
            while (b < hi) buffer[size_t(k++)] = order[size_t(b++)];
        }
        order.swap(buffer);
    }
    Changing();
    std::vector<TItem> sorted;
    sorted.reserve(size_t(n));
    for (int i : order) sorted.push_back(FList[size_t(i)]);
    FList.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool Value) {
    if (FSorted == Value) return;
    if (Value) Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (FCaseSensitive == Value) return;
    FCaseSensitive = Value;
    if (FSorted) Sort();
}

int TStringList::CompareStrings(const QString& S1, const QString& S2) const {
    return QString::compare(S1, S2, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing() {
    if (!Updating() && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (!Updating() && OnChange) OnChange(this);
}

// ---- TStream ------------------------------------------------------------------------------

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
    if (Count < 0 || (Count != 0 && Read(Buffer, Count) != Count))
        throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
    if (Count < 0 || (Count != 0 && Write(Buffer, Count) != Count))
        throw EWriteError(QStringLiteral("Stream write error"));
}

int64_t TStream::Size() {
    const int64_t pos = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
    if (Count <= 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    const int64_t total = Count;
    std::vector<char> buf(size_t(std::min<int64_t>(Count, 65536)) + 1);
    while (Count > 0) {
        const int64_t n = std::min<int64_t>(Count, int64_t(buf.size()));
        Source->ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        Count -= n;
    }
    return total;
}

// ---- TMemoryStream ------------------------------------------------------------------------

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
    if (Count <= 0 || FPosition >= FData.size()) return 0;
    const int64_t n = std::min<int64_t>(Count, FData.size() - FPosition);
    std::memcpy(Buffer, FData.constData() + FPosition, size_t(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
    if (Count <= 0) return 0;
    const int64_t end = FPosition + Count;
    if (end > FData.size()) {
        const qsizetype old = FData.size();
        FData.resize(qsizetype(end));
        if (FPosition > old) std::memset(FData.data() + old, 0, size_t(FPosition - old)); // the gap
    }
    std::memcpy(FData.data() + FPosition, Buffer, size_t(Count));
    FPosition = end;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t pos = Offset;
    if (Origin == soCurrent)
        pos += FPosition;
    else if (Origin == soEnd)
        pos += FData.size();
    if (pos < 0) throw EStreamError(QStringLiteral("Invalid stream position %1").arg(pos));
    FPosition = pos;
    return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
    if (NewSize < 0) throw EStreamError(QStringLiteral("Invalid stream size %1").arg(NewSize));
    const qsizetype old = FData.size();
    FData.resize(qsizetype(NewSize));
    if (FData.size() > old) std::memset(FData.data() + old, 0, size_t(FData.size() - old));
    if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
    Stream->SetPosition(0);
    QByteArray data(qsizetype(Stream->Size()), '\0');
    Stream->ReadBuffer(data.data(), data.size());
    FData = data;
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const QString& FileName) {
    try {
        FData = ReadFileBytes(FileName);
    } catch (const EInOutError& e) {
        throw EFOpenError(e.Message());
    }
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream* Stream) { Stream->WriteBuffer(FData.constData(), FData.size()); }

void TMemoryStream::SaveToFile(const QString& FileName) { WriteFileAtomic(FileName, FData); }

// ---- TFileStream --------------------------------------------------------------------------

namespace {
QString OsReason(int Error) { return QString::fromLocal8Bit(std::strerror(Error)); }
} // namespace

TFileStream::TFileStream(const QString& FileName, uint16_t Mode) : FFileName(FileName) {
    if ((Mode & fmCreate) == fmCreate) {
        try {
            FAtomic = std::make_unique<TAtomicFile>(FileName);
        } catch (const EInOutError& e) {
            throw EFCreateError(e.Message());
        }
        FHandle = FAtomic->Handle();
        FUncaught = std::uncaught_exceptions();
        return;
    }
    int flags = O_CLOEXEC;
    switch (Mode & 3) {
        case fmOpenWrite: flags |= O_WRONLY; break;
        case fmOpenReadWrite: flags |= O_RDWR; break;
        default: flags |= O_RDONLY; break;
    }
    // Without blocking, and a regular file only: a FIFO or a device would make the program wait
    // or read for ever.
    FHandle = ::open(QFile::encodeName(FileName).constData(), flags | O_NONBLOCK | O_NOCTTY);
    if (FHandle < 0) {
        const int err = errno;
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, OsReason(err)));
    }
    struct stat st {};
    if (::fstat(FHandle, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". It is not a regular file").arg(FileName));
    }
    const int Flags = ::fcntl(FHandle, F_GETFL);
    if (Flags >= 0) ::fcntl(FHandle, F_SETFL, Flags & ~O_NONBLOCK);
}

TFileStream::~TFileStream() {
    if (FAtomic) {
        if (std::uncaught_exceptions() > FUncaught) {
            FAtomic->Discard(); // the writer failed part-way: keep the old file
        } else if (FHandle >= 0) {
            try {
                Commit();
            } catch (const Exception& e) {
                qWarning("%s", e.what()); // a destructor cannot raise; Commit() can
            }
        }
        return;
    }
    if (FHandle >= 0) ::close(FHandle);
}

void TFileStream::Commit() {
    if (!FAtomic || FHandle < 0) return;
    FHandle = -1;
    FAtomic->Commit();
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
    if (FHandle < 0) throw EReadError(QStringLiteral("Stream read error: \"%1\" is closed").arg(FFileName));
    int64_t total = 0;
    auto* p = static_cast<char*>(Buffer);
    while (total < Count) {
        const ssize_t r = ::read(FHandle, p + total, size_t(Count - total));
        if (r < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            throw EReadError(QStringLiteral("Cannot read file \"%1\". %2").arg(FFileName, OsReason(err)));
        }
        if (r == 0) break;
        total += r;
    }
    return total;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
    if (FHandle < 0) throw EWriteError(QStringLiteral("Stream write error: \"%1\" is closed").arg(FFileName));
    int64_t total = 0;
    const auto* p = static_cast<const char*>(Buffer);
    while (total < Count) {
        const ssize_t w = ::write(FHandle, p + total, size_t(Count - total));
        if (w < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(FFileName, OsReason(err)));
        }
        total += w;
    }
    return total;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    if (FHandle < 0) throw EStreamError(QStringLiteral("\"%1\" is closed").arg(FFileName));
    const int whence = Origin == soCurrent ? SEEK_CUR : Origin == soEnd ? SEEK_END : SEEK_SET;
    const off_t pos = ::lseek(FHandle, off_t(Offset), whence);
    if (pos < 0) {
        const int err = errno;
        throw EStreamError(QStringLiteral("Cannot seek in file \"%1\". %2").arg(FFileName, OsReason(err)));
    }
    return int64_t(pos);
}

void TFileStream::SetSize(int64_t NewSize) {
    if (FHandle < 0) throw EStreamError(QStringLiteral("\"%1\" is closed").arg(FFileName));
    if (::ftruncate(FHandle, off_t(NewSize)) != 0) {
        const int err = errno;
        throw EStreamError(QStringLiteral("Cannot resize file \"%1\". %2").arg(FFileName, OsReason(err)));
    }
    if (Position() > NewSize) SetPosition(NewSize);
}
