#pragma once
// The root of the system's object model: every Sender is a TObject*.
#include <QString>

#include <functional>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The name of the object's most derived class as its declaration spells it, without
    // namespaces or enclosing classes ("TLbButton"). The one place that knows a class's identity
    // by name: code that matches classes by name asks here.
    QString ClassName() const;
};

// An object whose contents another object of a fitting class can copy (Assign). The default
// ignores the source; classes that can copy override it and check the source's class themselves.
class TPersistent : public TObject {
public:
    virtual void Assign(TPersistent* Source) { (void)Source; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
