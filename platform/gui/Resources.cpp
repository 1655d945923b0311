#include "platform/gui/Resources.h"

#include <QDir>
#include <QFile>
#include <QHash>

static void InitTessaroBitmaps() { Q_INIT_RESOURCE(tessaro_bitmaps); }

namespace {

struct TBitmapTable {
    QHash<QString, QString> Paths; // upper-case name -> resource path
    QHash<QString, QImage> Loaded;

    TBitmapTable() {
        InitTessaroBitmaps();
        const QDir Dir(QStringLiteral(":/bitmaps"));
        for (const QString& File : Dir.entryList(QDir::Files)) {
            const int Dot = int(File.lastIndexOf(QLatin1Char('.')));
            const QString Name = (Dot > 0 ? File.left(Dot) : File).toUpper();
            Paths.insert(Name, Dir.filePath(File));
        }
    }
};

TBitmapTable& Table() {
    static TBitmapTable T;
    return T;
}

} // namespace

bool ResourceBitmapExists(const QString& Name) { return Table().Paths.contains(Name.trimmed().toUpper()); }

QImage ResourceBitmap(const QString& Name) {
    TBitmapTable& T = Table();
    const QString Key = Name.trimmed().toUpper();
    auto Hit = T.Loaded.find(Key);
    if (Hit != T.Loaded.end()) return *Hit;
    auto Path = T.Paths.find(Key);
    if (Path == T.Paths.end()) return QImage();
    QImage Img(*Path);
    if (!Img.isNull()) T.Loaded.insert(Key, Img);
    return Img;
}

QByteArray ResourceData(const QString& Name) {
    TBitmapTable& T = Table();
    auto Path = T.Paths.find(Name.trimmed().toUpper());
    if (Path == T.Paths.end()) return QByteArray();
    QFile File(*Path);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

QStringList ResourceBitmapNames() {
    QStringList Names = Table().Paths.keys();
    Names.sort();
    return Names;
}
