#include "platform/gui/Snapshot.h"

#include <QPixmap>
#include <QWidget>

bool SaveControlPng(QWidget* Widget, const QString& Path) {
    if (!Widget) return false;
    // grab() renders the widget and its children off screen; no window needs to be shown
    if (!Widget->testAttribute(Qt::WA_WState_Polished)) Widget->ensurePolished();
    const QPixmap Pix = Widget->grab();
    return !Pix.isNull() && Pix.save(Path, "PNG");
}

bool SaveBitmapPng(TBitmap& Bitmap, const QString& Path) {
    if (Bitmap.Empty()) return false;
    return Bitmap.ToImage().save(Path, "PNG");
}
