#include "fuzz/FuzzSupport.h"

#include "platform/rtl/Files.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

void Fuzz_Fail(const char* What, const char* File, int Line, const QString& Detail) {
    std::fprintf(stderr, "\n==== property broken: %s\n     at %s:%d\n", What, File, Line);
    if (!Detail.isEmpty()) std::fprintf(stderr, "     %s\n", Detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

QString Fuzz_Dir() {
    static const QString Dir = [] {
        const QString Base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString D = QStringLiteral("%1/tessaro-fuzz-%2").arg(Base).arg(::getpid());
        QDir(D).removeRecursively();
        QDir().mkpath(D);
        // The folder goes with the process, however it ends (a finding aborts).
        static const QByteArray Path = QFile::encodeName(D);
        std::atexit([] { QDir(QFile::decodeName(Path)).removeRecursively(); });
        return D;
    }();
    return Dir;
}

void Fuzz_Clear_Dir() {
    QDir D(Fuzz_Dir());
    for (const QString& Name : D.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        const QString Path = D.filePath(Name);
        if (QFileInfo(Path).isDir() && !QFileInfo(Path).isSymLink())
            QDir(Path).removeRecursively();
        else
            QFile::remove(Path);
    }
}

QString Fuzz_Write(const QString& Name, const QByteArray& Bytes) {
    const QString Path = Fuzz_Dir() + u'/' + Name;
    QDir().mkpath(ExtractFilePath(Path));
    QFile F(Path);
    if (!F.open(QIODevice::WriteOnly | QIODevice::Truncate) || F.write(Bytes) != Bytes.size())
        Fuzz_Fail("the scratch file can be written", __FILE__, __LINE__, Path);
    return Path;
}

QList<QByteArray> Fuzz_Split(const QByteArray& Data, int Count) {
    QList<QByteArray> Parts;
    qsizetype From = 0;
    while (Parts.size() < Count - 1) {
        const qsizetype At = Data.indexOf("\n@@\n", From);
        if (At < 0) break;
        Parts << Data.mid(From, At - From);
        From = At + 4;
    }
    Parts << Data.mid(From);
    while (Parts.size() < Count) Parts << QByteArray();
    return Parts;
}

bool Fuzz_Well_Formed(const QString& Text) {
    const qsizetype N = Text.size();
    for (qsizetype i = 0; i < N; ++i) {
        const QChar C = Text[i];
        if (C.isHighSurrogate() && i + 1 < N && Text[i + 1].isLowSurrogate())
            ++i;
        else if (C.isSurrogate())
            return false;
    }
    return true;
}

QString Fuzz_Show(const QString& Text) {
    QString R = QStringLiteral("\"");
    for (const QChar C : Text) {
        const char16_t U = C.unicode();
        if (U >= 0x20 && U < 0x7F && U != '"' && U != '\\')
            R += C;
        else
            R += QStringLiteral("\\u%1").arg(uint(U), 4, 16, QLatin1Char('0'));
    }
    return R + u'"';
}
