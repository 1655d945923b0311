#include "grid/control/ExtGridUnit.h"

#include "grid/control/ExtGrid.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

int GridUnitInitCount = 0;
QObject* GridCallWndProcHook = nullptr;
bool ComCtlDateEditorsAvailable = false;
Cardinal GridCellsClipboardFormat = 0;
Cardinal GridEditDoneMessage = 0;
Cardinal DTPShiftFocusMessage = 0;
QString HintFontName;

namespace {

QStringList& ClassList() {
    static QStringList List;
    return List;
}

bool ColumnGridUnitStarted = false;

// Every window move or resize on the user-interface thread brings the shown focus frame back
// over its cell; the event always goes on to its receiver.
class TWindowPosWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if ((Event->type() == QEvent::Move || Event->type() == QEvent::Resize) && GridWithFocusWindow &&
            Watched->isWidgetType() && static_cast<QWidget*>(Watched)->isWindow())
            GridWindowPosChanged();
        return false;
    }
};

// A failed registration ends the list: the rest stay unregistered.
void RegisterAll(std::initializer_list<const char*> Names) {
    try {
        for (const char* N : Names) RegisterGridClass(QString::fromLatin1(N));
    } catch (const Exception&) {}
}

} // namespace

bool DateEditorsUsable(int ControlsVersion) { return ControlsVersion > 0x00040045; }

int DateControlsVersion() { return (QT_VERSION_MAJOR << 16) | QT_VERSION_MINOR; }

QStringList RegisteredGridClasses() { return ClassList(); }

bool IsGridClassRegistered(const QString& Name) { return ClassList().contains(Name); }

void RegisterGridClass(const QString& Name) {
    if (Name.isEmpty()) throw EInvalidOperation(QStringLiteral("A class without a name cannot be registered"));
    if (IsGridClassRegistered(Name))
        throw EInvalidOperation(QStringLiteral("A class named %1 is already registered").arg(Name));
    ClassList().append(Name);
}

void GridUnitStartUp() {
    if (GridUnitInitCount != 0) return;
    if (!qApp) throw EInvalidOperation(QStringLiteral("The grid unit starts after the application object exists"));
    --GridUnitInitCount;
    GridWithFocusWindow = nullptr;
    if (!GridCallWndProcHook) {
        GridCallWndProcHook = new TWindowPosWatch(qApp);
        qApp->installEventFilter(GridCallWndProcHook);
    }
    RegisterAll({"TExtStringGrid",
                 "TDropList",
                 "TArrowWindow",
                 "TGridCombo",
                 "TGridSpin",
                 "TGridTransEdit",
                 "TGridTransCombo",
                 "TGridCheckBox",
                 "TGridEditBtn",
                 "TGridDateTimePicker",
                 "TGridUnitEditBtn",
                 "TGridTrackbarDropDown",
                 "TGridMemoDropDown",
                 "TGridCalculatorDropDown",
                 "TGridTimepickerDropDown",
                 "TGridDetailPickerDropDown",
                 "TGridGridDropDown",
                 "TGridColorDropDown",
                 "TGridImageDropDown",
                 "TGridButton",
                 "TGridDatePicker",
                 "THeaderDragButton",
                 "TControlEdit",
                 "TControlCombo",
                 "TScrollBar",
                 "TExtRichEdit",
                 "TFooterPanel",
                 "TSearchPanel"});
    ComCtlDateEditorsAvailable = DateEditorsUsable(DateControlsVersion());
    ComCtrlsOk = ComCtlDateEditorsAvailable;
    GridCellsClipboardFormat = RegisterWindowMessage(QStringLiteral("TExtStringGrid Cells"));
    GridEditDoneMessage = RegisterWindowMessage(QStringLiteral("GridEditDone"));
    DTPShiftFocusMessage = RegisterWindowMessage(QStringLiteral("DTPShiftFocus"));
}

void ColumnGridUnitStartUp() {
    if (ColumnGridUnitStarted) return;
    ColumnGridUnitStarted = true;
    RegisterAll({"TExtColumnGrid", "TGridColumnItem", "TGridColumnCollection"});
}

void GridUnitShutdown() {
    if (GridUnitInitCount == 0 || ++GridUnitInitCount != 0) return;
    if (GridCallWndProcHook) {
        if (qApp) qApp->removeEventFilter(GridCallWndProcHook);
        delete GridCallWndProcHook;
    }
    GridCallWndProcHook = nullptr;
    HintFontName.clear();
}
