#pragma once
// The grid units' process-wide start-up and shutdown: the registered messages and clipboard
// format the grids share, the class names form streaming may name, whether the date and time
// editors are usable, and the watch that keeps a grid's focus frame over its cell while windows
// move. Start-up runs once, after the application object exists and before any grid is made.
#include "platform/gui/Messages.h"

#include <QString>
#include <QStringList>

class QObject;

// Guard of the grid unit: 0 before start-up, -1 after it (start-up counts down, shutdown up).
extern int GridUnitInitCount;
// The window-move watch; null when not installed.
extern QObject* GridCallWndProcHook;
extern bool ComCtlDateEditorsAvailable;
// Registered names share the message number space, as on the platform the grids come from.
extern Cardinal GridCellsClipboardFormat;
extern Cardinal GridEditDoneMessage;
extern Cardinal DTPShiftFocusMessage;
// The font name of the cell-hint window (set by the hint builder).
extern QString HintFontName;

// Raises EInvalidOperation when no application object exists yet.
void GridUnitStartUp();
void ColumnGridUnitStartUp();
void GridUnitShutdown();

// Whether the date and time editors may be used with controls of the given version (major in
// the upper 16 bits): only later than 4.69.
bool DateEditorsUsable(int ControlsVersion);
// The version of the controls the date and time editors are built from.
int DateControlsVersion();

// The class names registered for form streaming, in registration order. A name is listed once.
QStringList RegisteredGridClasses();
bool IsGridClassRegistered(const QString& Name);
// Raises EInvalidOperation for an empty name or one already registered.
void RegisterGridClass(const QString& Name);
