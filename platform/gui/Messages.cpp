#include "platform/gui/Messages.h"

#include "platform/gui/Controls.h"

#include <QCoreApplication>
#include <QHash>
#include <QMetaObject>
#include <QPointer>

bool PostMessage(TControl* Target, Cardinal Msg, WPARAM WParam, LPARAM LParam) {
    if (!Target) return false;
    QPointer<QWidget> Guarded(Target);
    // Queued on the target itself: Qt drops it when the target is deleted first; the pointer
    // check covers a target being torn down when the queue reaches it.
    QMetaObject::invokeMethod(
        Target,
        [Guarded, Target, Msg, WParam, LParam] {
            if (!Guarded || Target->ComponentState().Contains(csDestroying)) return;
            TControl::Guard(Target, [&] {
                // A queued key goes the way a typed one does, so a Tab the control does not
                // want moves the focus on the form.
                if (Msg == WM_KEYDOWN)
                    Target->DeliverPostedKeyDown(Word(WParam), TShiftState::FromBits(uint32_t(LParam)));
                else
                    Target->Perform(Msg, WParam, LParam);
            });
        },
        Qt::QueuedConnection);
    return true;
}

Cardinal RegisterWindowMessage(const QString& Name) {
    static QHash<QString, Cardinal> Registered;
    if (Name.isEmpty()) return 0;
    QString Key = Name.toCaseFolded();
    auto It = Registered.find(Key);
    if (It != Registered.end()) return It.value();
    Cardinal Id = 0xC000 + Cardinal(Registered.size());
    if (Id > 0xFFFF) return 0;
    Registered.insert(Key, Id);
    return Id;
}
