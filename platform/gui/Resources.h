#pragma once
// Named bitmaps ("LBOK", "ESGCHK01" ...) built into the program from resources/bitmaps/NAME.png.
// Names are looked up without regard to case.
#include "platform/rtl/SysUtils.h"

#include <QByteArray>
#include <QImage>
#include <QStringList>

TESSARO_DECLARE_EXCEPTION(EResNotFound, Exception)

bool ResourceBitmapExists(const QString& Name);
QImage ResourceBitmap(const QString& Name); // a null image when there is no such bitmap
QByteArray ResourceData(const QString& Name); // the resource's file as stored; empty when there is none
QStringList ResourceBitmapNames(); // upper case, sorted
