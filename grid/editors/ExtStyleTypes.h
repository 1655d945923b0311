#pragma once
// The library-wide colour styles and colour tones a control can be painted in, and the two
// interfaces through which a theme or a container applies them to a control.
#include "platform/gui/Graphics.h"

#include <cstdint>

enum TExtStyle : uint8_t {
    tsOffice2003Blue,
    tsOffice2003Silver,
    tsOffice2003Olive,
    tsOffice2003Classic,
    tsOffice2007Luna,
    tsOffice2007Obsidian,
    tsWindowsXP,
    tsWhidbey,
    tsCustom,
    tsOffice2007Silver,
    tsWindowsVista,
    tsWindows7,
    tsTerminal,
    tsOffice2010Blue,
    tsOffice2010Silver,
    tsOffice2010Black
};

struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
};

struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

// The owner frees a control that implements these; nothing is reference counted.
class IExtStyle {
public:
    virtual ~IExtStyle() = default;
    virtual void SetComponentStyle(TExtStyle AStyle) = 0;
};

class IExtTones {
public:
    virtual ~IExtTones() = default;
    virtual void SetColorTones(const TColorTones& ATones) = 0;
};
