#pragma once
// The root of the system's object model: every Sender is a TObject*.
#include <functional>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// An object whose contents another object of a fitting class can copy (Assign). The default
// ignores the source; classes that can copy override it and check the source's class themselves.
class TPersistent : public TObject {
public:
    virtual void Assign(TPersistent* Source) { (void)Source; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
