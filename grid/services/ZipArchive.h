#pragma once
// Zip containers held in memory, for the office documents the grid reads and writes: a reader
// that lists and extracts the parts of a package, and a writer that builds a new package whose
// bytes then go to disk through the atomic writer in one piece.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class TZipReader {
public:
    // Raises Exception when Data is no zip container.
    explicit TZipReader(const QByteArray& Data);
    ~TZipReader();
    TZipReader(const TZipReader&) = delete;
    TZipReader& operator=(const TZipReader&) = delete;

    QStringList Names() const { return FNames; }
    bool Contains(const QString& Name) const { return FNames.contains(Name); }
    // The unpacked bytes of part Name. Raises Exception when the part is missing, damaged, or
    // would unpack to more than MaxSize bytes (a small package can claim gigabytes).
    QByteArray Read(const QString& Name, qint64 MaxSize = 256 * 1024 * 1024) const;

private:
    struct TState;
    std::unique_ptr<TState> F;
    QStringList FNames;
};

class TZipWriter {
public:
    TZipWriter();
    ~TZipWriter();
    TZipWriter(const TZipWriter&) = delete;
    TZipWriter& operator=(const TZipWriter&) = delete;

    // Adds part Name, deflated. Raises Exception when the container refuses it.
    void Add(const QString& Name, const QByteArray& Data);
    // The finished container; no part can be added afterwards.
    QByteArray Finish();

private:
    struct TState;
    std::unique_ptr<TState> F;
};
