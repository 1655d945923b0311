#include "platform/rtl/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString& AppDirOverride() {
    static QString dir;
    return dir;
}

QString ExecutableDir() {
    QByteArray buf(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return QDir::currentPath() + u'/';
    buf.truncate(n);
    return ExtractFilePath(QString::fromLocal8Bit(buf));
}

QString OsReason(int Error) { return QString::fromLocal8Bit(std::strerror(Error)); }
} // namespace

QString App_Dir() {
    if (!AppDirOverride().isEmpty()) return AppDirOverride();
    static const QString dir = ExecutableDir();
    return dir;
}

void Set_App_Dir(const QString& Dir) {
    AppDirOverride() = Dir.isEmpty() ? QString() : IncludeTrailingPathDelimiter(Dir);
}

bool FileExists(const QString& FileName) {
    const QFileInfo fi(FileName);
    return !FileName.isEmpty() && fi.exists() && !fi.isDir();
}

bool DirectoryExists(const QString& Dir) { return !Dir.isEmpty() && QFileInfo(Dir).isDir(); }

bool CreateDir(const QString& Dir) { return !Dir.isEmpty() && QDir().mkdir(Dir); }

bool ForceDirectories(const QString& Dir) {
    if (Dir.isEmpty()) return false;
    return QDir().mkpath(Dir);
}

bool DeleteFile(const QString& FileName) { return FileExists(FileName) && QFile::remove(FileName); }

bool RenameFile(const QString& OldName, const QString& NewName) {
    return QFile::rename(OldName, NewName); // fails when NewName exists
}

QString ExtractFilePath(const QString& FileName) { return FileName.left(FileName.lastIndexOf(u'/') + 1); }

QString ExtractFileName(const QString& FileName) { return FileName.mid(FileName.lastIndexOf(u'/') + 1); }

QString ExtractFileExt(const QString& FileName) {
    const int dot = FileName.lastIndexOf(u'.');
    if (dot < 0 || dot < FileName.lastIndexOf(u'/')) return QString();
    return FileName.mid(dot);
}

QString ChangeFileExt(const QString& FileName, const QString& Ext) {
    const int dot = FileName.lastIndexOf(u'.');
    if (dot < 0 || dot < FileName.lastIndexOf(u'/')) return FileName + Ext;
    return FileName.left(dot) + Ext;
}

QString IncludeTrailingPathDelimiter(const QString& Dir) { return Dir.endsWith(u'/') ? Dir : Dir + u'/'; }

QString ExcludeTrailingPathDelimiter(const QString& Dir) {
    QString d = Dir;
    while (d.size() > 1 && d.endsWith(u'/')) d.chop(1);
    return d;
}

namespace {
// Names without regard to case, ties broken by the exact names so the order is stable.
void SortNames(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}
} // namespace

QStringList ListFiles(const QString& Dir, const QString& Pattern) {
    QDir d(Dir);
    if (Dir.isEmpty() || !d.exists()) return {};
    // Patterns match without regard to case: "*.lng" finds "English.LNG".
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(Pattern.isEmpty() ? "*" : Pattern),
                                QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (const QFileInfo& fi : d.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort))
        if (re.match(fi.fileName()).hasMatch()) names << fi.fileName();
    SortNames(names);
    return names;
}

QStringList ListDirectories(const QString& Dir) {
    QDir d(Dir);
    if (Dir.isEmpty() || !d.exists()) return {};
    QStringList names = d.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::NoSort);
    SortNames(names);
    return names;
}

// ---- text ---------------------------------------------------------------------------------

namespace {
// Windows-1252 bytes 0x80..0x9F; the five the code page leaves undefined map to the same code.
const char16_t Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeUtf16(const QByteArray& Bytes, int Start, bool BigEndian) {
    const int units = (Bytes.size() - Start) / 2;
    QString s(units, Qt::Uninitialized);
    const auto* p = reinterpret_cast<const unsigned char*>(Bytes.constData()) + Start;
    for (int i = 0; i < units; ++i) {
        const unsigned b0 = p[2 * i], b1 = p[2 * i + 1];
        s[i] = QChar(char16_t(BigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0));
    }
    return s;
}
} // namespace

QString DecodeCp1252(const QByteArray& Bytes) {
    QString s(Bytes.size(), Qt::Uninitialized);
    for (int i = 0; i < Bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(Bytes[i]);
        s[i] = QChar(char16_t(b >= 0x80 && b < 0xA0 ? Cp1252High[b - 0x80] : b));
    }
    return s;
}

bool EncodeCp1252(const QString& Text, QByteArray& Bytes) {
    Bytes.resize(Text.size());
    for (int i = 0; i < Text.size(); ++i) {
        const char16_t u = Text[i].unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            Bytes[i] = char(u);
            continue;
        }
        int found = -1;
        for (int k = 0; k < 32; ++k)
            if (Cp1252High[k] == u) {
                found = k;
                break;
            }
        if (found < 0) return false;
        Bytes[i] = char(0x80 + found);
    }
    return true;
}

bool IsUtf8(const QByteArray& Bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(Bytes.constData());
    const qsizetype n = Bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        // The length of the sequence and the range of its second byte, which rules out
        // overlong forms, surrogates and code points beyond U+10FFFF.
        int len;
        unsigned lo = 0x80, hi = 0xBF;
        if (b >= 0xC2 && b <= 0xDF)
            len = 2;
        else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            if (b == 0xE0) lo = 0xA0;
            if (b == 0xED) hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            if (b == 0xF0) lo = 0x90;
            if (b == 0xF4) hi = 0x8F;
        } else
            return false;
        if (n - i < len || p[i + 1] < lo || p[i + 1] > hi) return false;
        for (int k = 2; k < len; ++k)
            if ((p[i + k] & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

QByteArray EncodeText(const QString& Text) {
    QByteArray bytes;
    // The single-byte form is kept only where DecodeText reads it back as written: not when it
    // would start like a byte-order mark, nor when its bytes beyond ASCII happen to be UTF-8.
    if (EncodeCp1252(Text, bytes) && !bytes.startsWith("\xEF\xBB\xBF") && !bytes.startsWith("\xFF\xFE") &&
        !bytes.startsWith("\xFE\xFF")) {
        bool ascii = true;
        for (const char c : std::as_const(bytes))
            if (uchar(c) >= 0x80) {
                ascii = false;
                break;
            }
        if (ascii || !IsUtf8(bytes)) return bytes;
    }
    return QByteArray("\xEF\xBB\xBF") + Text.toUtf8();
}

QString DecodeText(const QByteArray& Bytes) {
    if (Bytes.startsWith("\xEF\xBB\xBF")) {
        // One mark is dropped, no more: a text that starts with U+FEFF keeps it.
        QStringDecoder decode(QStringDecoder::Utf8,
                              QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        return decode(QByteArrayView(Bytes).sliced(3));
    }
    if (Bytes.startsWith("\xFF\xFE")) return DecodeUtf16(Bytes, 2, false);
    if (Bytes.startsWith("\xFE\xFF")) return DecodeUtf16(Bytes, 2, true);
    // Without a mark: UTF-8 as most editors save today, and Windows-1252 for the files of the
    // other platform, which are practically never valid UTF-8 once they hold an accented letter.
    if (IsUtf8(Bytes)) return QString::fromUtf8(Bytes);
    return DecodeCp1252(Bytes);
}

QStringList SplitLines(const QString& Text) {
    QStringList lines;
    const int n = Text.size();
    int start = 0;
    for (int i = 0; i < n; ++i) {
        const QChar c = Text[i];
        if (c == u'\r' || c == u'\n') {
            lines << Text.mid(start, i - start);
            if (c == u'\r' && i + 1 < n && Text[i + 1] == u'\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines << Text.mid(start);
    return lines;
}

QStringList ReadTextLines(const QString& FileName) { return SplitLines(DecodeText(ReadFileBytes(FileName))); }

QByteArray ReadFileBytes(const QString& FileName, qint64 MaxSize, bool* Cut) {
    if (Cut) *Cut = false;
    const QByteArray path = QFile::encodeName(FileName);
    // Opened without blocking: a FIFO with no writer would otherwise hold the program here.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const int err = errno;
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, OsReason(err)));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        throw EInOutError(QStringLiteral("Cannot read file \"%1\". %2").arg(FileName, OsReason(err)));
    }
    // A device (/dev/zero reads without end), a FIFO or a socket is no file of the system's.
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw EInOutError(
            QStringLiteral("Cannot read file \"%1\". %2")
                .arg(FileName, S_ISDIR(st.st_mode) ? OsReason(EISDIR) : QStringLiteral("It is not a regular file")));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    const qint64 limit = std::max<qint64>(MaxSize, 0);
    if (st.st_size > limit && !Cut) {
        ::close(fd);
        throw EInOutError(QStringLiteral("Cannot read file \"%1\". It holds %2 bytes, more than the %3 allowed")
                              .arg(FileName)
                              .arg(qlonglong(st.st_size))
                              .arg(qlonglong(limit)));
    }
    // The buffer is made once at the file's size and read into directly; a file that grows while
    // it is read goes on in steps, up to the limit.
    constexpr qsizetype step = 65536;
    const qsizetype expected = qsizetype(std::min<qint64>(std::max<qint64>(st.st_size, 0), limit));
    QByteArray data;
    try {
        data.resize(expected + 1); // one byte more, so the end is seen without a second buffer
    } catch (const std::bad_alloc&) {
        ::close(fd);
        throw EInOutError(QStringLiteral("Cannot read file \"%1\". %2").arg(FileName, OsReason(ENOMEM)));
    }
    qsizetype used = 0;
    for (;;) {
        if (used == data.size()) data.resize(std::min<qint64>(used + step, limit + 1));
        const ssize_t r = ::read(fd, data.data() + used, size_t(data.size() - used));
        if (r < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            throw EInOutError(QStringLiteral("Cannot read file \"%1\". %2").arg(FileName, OsReason(err)));
        }
        if (r == 0) break;
        used += r;
        if (used > limit) break;
    }
    ::close(fd);
    if (used > limit) {
        if (!Cut)
            throw EInOutError(QStringLiteral("Cannot read file \"%1\". It holds more than the %2 bytes allowed")
                                  .arg(FileName)
                                  .arg(qlonglong(limit)));
        *Cut = true;
        used = limit;
    }
    data.truncate(used);
    return data;
}

// ---- the atomic writer ----------------------------------------------------------------------

TAtomicFile::TAtomicFile(const QString& FileName) : FFileName(FileName) {
    const QString dir = ExtractFilePath(FileName).isEmpty() ? QStringLiteral("./") : ExtractFilePath(FileName);
    FTempPath = QFile::encodeName(dir + u'.' + ExtractFileName(FileName) + QStringLiteral(".XXXXXX"));
    FFd = ::mkostemp(FTempPath.data(), O_CLOEXEC);
    if (FFd < 0) {
        const int err = errno;
        throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, OsReason(err)));
    }
    // The new file keeps the old one's permissions; a new file gets the usual ones.
    struct stat st {};
    mode_t mode;
    if (::stat(QFile::encodeName(FileName).constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(FFd, mode);
}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Fail(const QString& What, int Error) {
    Discard();
    throw EInOutError(QStringLiteral("Cannot %1 file \"%2\". %3").arg(What, FFileName, OsReason(Error)));
}

void TAtomicFile::Write(const char* Data, int64_t Count) {
    if (FFd < 0) throw EInOutError(QStringLiteral("Cannot write file \"%1\". The file is closed").arg(FFileName));
    while (Count > 0) {
        const ssize_t w = ::write(FFd, Data, size_t(Count));
        if (w < 0) {
            if (errno == EINTR) continue;
            Fail(QStringLiteral("write"), errno);
        }
        Data += w;
        Count -= w;
    }
}

void TAtomicFile::Commit() {
    if (FFd < 0) throw EInOutError(QStringLiteral("Cannot write file \"%1\". The file is closed").arg(FFileName));
    if (::fsync(FFd) != 0) Fail(QStringLiteral("write"), errno);
    const int fd = FFd;
    FFd = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(FTempPath.constData());
        FTempPath.clear();
        throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(FFileName, OsReason(err)));
    }
    if (::rename(FTempPath.constData(), QFile::encodeName(FFileName).constData()) != 0) {
        const int err = errno;
        ::unlink(FTempPath.constData());
        FTempPath.clear();
        throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(FFileName, OsReason(err)));
    }
    FTempPath.clear();
    // Make the rename itself durable; the file is in place either way, so a failure here is moot.
    const QString dir = ExtractFilePath(FFileName).isEmpty() ? QStringLiteral(".") : ExtractFilePath(FFileName);
    const int dfd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

void TAtomicFile::Discard() {
    if (FFd >= 0) {
        ::close(FFd);
        FFd = -1;
    }
    if (!FTempPath.isEmpty()) {
        ::unlink(FTempPath.constData());
        FTempPath.clear();
    }
}

void WriteFileAtomic(const QString& FileName, const QByteArray& Data) {
    TAtomicFile file(FileName);
    file.Write(Data.constData(), Data.size());
    file.Commit();
}
