#pragma once
// The two kinds of property the grid's settings objects publish, written once for all of them:
// one that only stores its value, and one whose new value fires the object's OnChange (an
// unchanged value fires nothing). Each expands inside a class body and leaves it public.
#define SETTING_STORED(Type, Name, Default)                                                                            \
public:                                                                                                                \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type Value) { F##Name = Value; }                                                                    \
                                                                                                                       \
private:                                                                                                               \
    Type F##Name = Default;                                                                                            \
                                                                                                                       \
public:
#define SETTING_CHANGE(Type, Name, Default)                                                                            \
public:                                                                                                                \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type Value) {                                                                                       \
        if (F##Name == Value) return;                                                                                  \
        F##Name = Value;                                                                                               \
        if (OnChange) OnChange(this);                                                                                  \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    Type F##Name = Default;                                                                                            \
                                                                                                                       \
public:
