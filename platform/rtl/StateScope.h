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
