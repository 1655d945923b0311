#pragma once
// Files and paths. Paths join with "/"; file names keep their case.
#include "platform/rtl/SysUtils.h"

#include <QStringList>

QString App_Dir(); // the executable's folder, with a trailing "/"
void Set_App_Dir(const QString& Dir); // tests point it at a temporary folder

bool FileExists(const QString& FileName);
bool DirectoryExists(const QString& Dir);
bool CreateDir(const QString& Dir);
bool ForceDirectories(const QString& Dir);
bool DeleteFile(const QString& FileName);
bool RenameFile(const QString& OldName, const QString& NewName);
QString ExtractFilePath(const QString& FileName); // up to and including the last "/"
QString ExtractFileName(const QString& FileName);
QString ExtractFileExt(const QString& FileName); // with the dot, "" when none
QString ChangeFileExt(const QString& FileName, const QString& Ext);
QString IncludeTrailingPathDelimiter(const QString& Dir);
QString ExcludeTrailingPathDelimiter(const QString& Dir);
QStringList ListFiles(const QString& Dir, const QString& Pattern = "*"); // names, sorted
QStringList ListDirectories(const QString& Dir); // names, sorted, no "." ".."

// Text files as the language and text readers take them: a BOM selects UTF-8, UTF-16 LE or BE;
// without one the bytes are UTF-8 when they are valid UTF-8, else Windows-1252. Lines end at CR,
// LF or CRLF. Raises EInOutError when the file cannot be read.
QStringList ReadTextLines(const QString& FileName);
QString DecodeText(const QByteArray& Bytes);
QStringList SplitLines(const QString& Text);
bool IsUtf8(const QByteArray& Bytes); // well-formed UTF-8 (no overlong form, no surrogate)

// The most a reader takes of a file: no file of the system comes near it, and a damaged or wrong
// file of gigabytes would otherwise be read whole.
constexpr qint64 Max_Read_File_Size = 64 * 1024 * 1024;

// The bytes of a regular file. The file is opened without blocking, and anything but a regular
// file (a folder, a device such as /dev/zero, a FIFO) is refused, so that no name can make a
// reader wait or read for ever. A file larger than MaxSize raises, unless Cut is given: then its
// first MaxSize bytes are returned and *Cut is set. Raises EInOutError with the reason.
QByteArray ReadFileBytes(const QString& FileName, qint64 MaxSize = Max_Read_File_Size, bool* Cut = nullptr);

// Writes the whole file or nothing: the bytes go to a temporary file beside the target, which is
// flushed and then renamed over it. Raises EInOutError with the OS's reason when it cannot.
void WriteFileAtomic(const QString& FileName, const QByteArray& Data);

// Windows-1252, the code page of files written without a BOM.
QString DecodeCp1252(const QByteArray& Bytes);
bool EncodeCp1252(const QString& Text, QByteArray& Bytes); // false when a character has no byte
// The bytes the system writes a text file with: Windows-1252 when every character fits, else
// UTF-8 with a BOM, so that DecodeText reads back exactly what was written. So is a text whose
// single-byte form would start like a byte-order mark ("ÿþ", "ï»¿") or would be valid UTF-8
// ("Ã©"), which DecodeText would read otherwise.
QByteArray EncodeText(const QString& Text);

// The atomic writer in pieces, for writers that produce their bytes bit by bit (TFileStream):
// the temporary file exists from construction; Commit renames it over the target; destruction
// without Commit removes it and leaves the target as it was. Raises EInOutError with the OS's
// reason.
class TAtomicFile {
public:
    explicit TAtomicFile(const QString& FileName);
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;
    void Write(const char* Data, int64_t Count);
    void Commit();
    void Discard();
    int Handle() const { return FFd; } // the temporary file, open for reading and writing
    const QString& FileName() const { return FFileName; }

private:
    [[noreturn]] void Fail(const QString& What, int Error);
    QString FFileName;
    QByteArray FTempPath;
    int FFd = -1;
};
