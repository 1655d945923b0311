#pragma once
// State an operation sets and must give back (an event-translation flag, an update lock, a
// re-entry guard): the scope sets it and puts the value it had back when it ends, whether it ends
// normally or by a raise, so no path can leave it set.
#include <QObject>
#include <QPointer>

#include <utility>

template <typename T>
class TStateScope {
public:
    // Saves Field and sets it to Value.
    TStateScope(T& Field, T Value) : FField(Field), FSaved(Field) { FField = std::move(Value); }
    // Saves Field only: the scope's body may change it freely.
    explicit TStateScope(T& Field) : FField(Field), FSaved(Field) {}
    // For a field of Holder, which the scope's body may destroy: the value is put back only while
    // Holder lives.
    TStateScope(const QObject* Holder, T& Field, T Value) : TStateScope(Field, std::move(Value)) {
        FHolder = Holder;
        FWatched = true;
    }
    TStateScope(const QObject* Holder, T& Field) : TStateScope(Field) {
        FHolder = Holder;
        FWatched = true;
    }
    ~TStateScope() {
        if (!FWatched || FHolder) FField = std::move(FSaved);
    }
    TStateScope(const TStateScope&) = delete;
    TStateScope& operator=(const TStateScope&) = delete;

private:
    T& FField;
    T FSaved;
    QPointer<const QObject> FHolder;
    bool FWatched = false;
};

// The same for a setting behind a getter and a setter (an options object's property): the setter
// puts the saved value back when the scope ends, on every path.
template <typename TObj, typename TValue>
class TSettingScope {
public:
    TSettingScope(TObj* Obj, TValue (TObj::*Get)() const, void (TObj::*Set)(TValue), TValue Value)
        : FObj(Obj), FSet(Set), FSaved((Obj->*Get)()) {
        (FObj->*FSet)(Value);
    }
    ~TSettingScope() { (FObj->*FSet)(FSaved); }
    TSettingScope(const TSettingScope&) = delete;
    TSettingScope& operator=(const TSettingScope&) = delete;

private:
    TObj* FObj;
    void (TObj::*FSet)(TValue);
    TValue FSaved;
};
