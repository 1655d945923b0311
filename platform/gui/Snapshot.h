#pragma once
// Saves what a window or a bitmap shows as a PNG file, so a person can look at it.
#include "platform/gui/Graphics.h"

#include <QString>

class QWidget;

bool SaveControlPng(QWidget* Widget, const QString& Path); // false when it cannot be written
bool SaveBitmapPng(TBitmap& Bitmap, const QString& Path);
