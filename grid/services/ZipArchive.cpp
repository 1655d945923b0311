#include "grid/services/ZipArchive.h"

#include "platform/rtl/SysUtils.h"

#include <cstring>
#include <minizip/unzip.h>
#include <minizip/zip.h>

namespace {

// A byte array seen as a file by minizip's I/O hooks.
struct TMemFile {
    QByteArray* Data = nullptr;
    qint64 Pos = 0;
};

voidpf ZCALLBACK MemOpen(voidpf opaque, const void*, int) {
    auto* M = static_cast<TMemFile*>(opaque);
    M->Pos = 0;
    return M;
}

uLong ZCALLBACK MemRead(voidpf, voidpf stream, void* buf, uLong size) {
    auto* M = static_cast<TMemFile*>(stream);
    qint64 Left = M->Data->size() - M->Pos;
    qint64 N = std::min<qint64>(Left, static_cast<qint64>(size));
    if (N <= 0) return 0;
    std::memcpy(buf, M->Data->constData() + M->Pos, static_cast<size_t>(N));
    M->Pos += N;
    return static_cast<uLong>(N);
}

uLong ZCALLBACK MemWrite(voidpf, voidpf stream, const void* buf, uLong size) {
    auto* M = static_cast<TMemFile*>(stream);
    qint64 End = M->Pos + static_cast<qint64>(size);
    if (End > M->Data->size()) M->Data->resize(End);
    std::memcpy(M->Data->data() + M->Pos, buf, size);
    M->Pos = End;
    return size;
}

ZPOS64_T ZCALLBACK MemTell(voidpf, voidpf stream) { return static_cast<ZPOS64_T>(static_cast<TMemFile*>(stream)->Pos); }

long ZCALLBACK MemSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* M = static_cast<TMemFile*>(stream);
    qint64 Base = 0;
    switch (origin) {
        case ZLIB_FILEFUNC_SEEK_CUR: Base = M->Pos; break;
        case ZLIB_FILEFUNC_SEEK_END: Base = M->Data->size(); break;
        case ZLIB_FILEFUNC_SEEK_SET: Base = 0; break;
        default: return -1;
    }
    qint64 P = Base + static_cast<qint64>(offset);
    if (P < 0 || P > M->Data->size()) return -1;
    M->Pos = P;
    return 0;
}

int ZCALLBACK MemClose(voidpf, voidpf) { return 0; }
int ZCALLBACK MemError(voidpf, voidpf) { return 0; }

zlib_filefunc64_def MemFuncs(TMemFile* M) {
    zlib_filefunc64_def D{};
    D.zopen64_file = MemOpen;
    D.zread_file = MemRead;
    D.zwrite_file = MemWrite;
    D.ztell64_file = MemTell;
    D.zseek64_file = MemSeek;
    D.zclose_file = MemClose;
    D.zerror_file = MemError;
    D.opaque = M;
    return D;
}

} // namespace

struct TZipReader::TState {
    QByteArray Data;
    TMemFile File;
    unzFile Zip = nullptr;
};

TZipReader::TZipReader(const QByteArray& Data) : F(std::make_unique<TState>()) {
    F->Data = Data;
    F->File.Data = &F->Data;
    zlib_filefunc64_def Funcs = MemFuncs(&F->File);
    F->Zip = unzOpen2_64("memory", &Funcs);
    if (!F->Zip) throw Exception(QStringLiteral("The file is not a zip package"));
    for (int R = unzGoToFirstFile(F->Zip); R == UNZ_OK; R = unzGoToNextFile(F->Zip)) {
        char Name[1024];
        unz_file_info64 Info{};
        if (unzGetCurrentFileInfo64(F->Zip, &Info, Name, sizeof Name, nullptr, 0, nullptr, 0) != UNZ_OK) break;
        FNames << QString::fromUtf8(Name);
    }
}

TZipReader::~TZipReader() {
    if (F && F->Zip) unzClose(F->Zip);
}

QByteArray TZipReader::Read(const QString& Name, qint64 MaxSize) const {
    QByteArray N = Name.toUtf8();
    if (unzLocateFile(F->Zip, N.constData(), 1) != UNZ_OK)
        throw Exception(QStringLiteral("The package has no part %1").arg(Name));
    unz_file_info64 Info{};
    if (unzGetCurrentFileInfo64(F->Zip, &Info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(F->Zip) != UNZ_OK)
        throw Exception(QStringLiteral("The package part %1 is damaged").arg(Name));
    QByteArray Out;
    char Buf[65536];
    int Got = 0;
    // The stated size is not trusted: the unpacked bytes are counted as they come.
    while ((Got = unzReadCurrentFile(F->Zip, Buf, sizeof Buf)) > 0) {
        if (Out.size() + Got > MaxSize) {
            unzCloseCurrentFile(F->Zip);
            throw Exception(QStringLiteral("The package part %1 is too large").arg(Name));
        }
        Out.append(Buf, Got);
    }
    // A bad checksum shows only on closing.
    if (unzCloseCurrentFile(F->Zip) != UNZ_OK || Got < 0)
        throw Exception(QStringLiteral("The package part %1 is damaged").arg(Name));
    return Out;
}

struct TZipWriter::TState {
    QByteArray Data;
    TMemFile File;
    zipFile Zip = nullptr;
};

TZipWriter::TZipWriter() : F(std::make_unique<TState>()) {
    F->File.Data = &F->Data;
    zlib_filefunc64_def Funcs = MemFuncs(&F->File);
    F->Zip = zipOpen2_64("memory", APPEND_STATUS_CREATE, nullptr, &Funcs);
    if (!F->Zip) throw Exception(QStringLiteral("Cannot create a zip package"));
}

TZipWriter::~TZipWriter() {
    if (F && F->Zip) zipClose(F->Zip, nullptr);
}

void TZipWriter::Add(const QString& Name, const QByteArray& Data) {
    if (!F->Zip) throw Exception(QStringLiteral("The zip package is already finished"));
    QByteArray N = Name.toUtf8();
    zip_fileinfo Info{};
    if (zipOpenNewFileInZip64(F->Zip, N.constData(), &Info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              Z_DEFAULT_COMPRESSION, Data.size() >= 0xffffffffLL ? 1 : 0) != ZIP_OK ||
        zipWriteInFileInZip(F->Zip, Data.constData(), static_cast<unsigned>(Data.size())) != ZIP_OK ||
        zipCloseFileInZip(F->Zip) != ZIP_OK)
        throw Exception(QStringLiteral("Cannot add %1 to the zip package").arg(Name));
}

QByteArray TZipWriter::Finish() {
    if (!F->Zip) throw Exception(QStringLiteral("The zip package is already finished"));
    int R = zipClose(F->Zip, nullptr);
    F->Zip = nullptr;
    if (R != ZIP_OK) throw Exception(QStringLiteral("Cannot finish the zip package"));
    return F->Data;
}
