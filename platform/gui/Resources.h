#pragma once
// Named bitmaps ("LBOK", "ESGCHK01" ...) built into the program from resources/bitmaps/NAME.png.
// Names are looked up without regard to case.
#include "platform/rtl/SysUtils.h"

#include <QImage>
#include <QStringList>

TESSARO_DECLARE_EXCEPTION(EResNotFound, Exception)

bool ResourceBitmapExists(const QString& Name);
QImage ResourceBitmap(const QString& Name); // a null image when there is no such bitmap
QStringList ResourceBitmapNames(); // upper case, sorted
