#pragma once
// Where a control's caption label sits beside it.
#include "platform/gui/Graphics.h"

#include <cstdint>

enum TLabelPosition : uint8_t {
    lpLeftTop,
    lpLeftCenter,
    lpLeftBottom,
    lpTopLeft,
    lpBottomLeft,
    lpLeftTopLeft,
    lpLeftCenterLeft,
    lpLeftBottomLeft,
    lpTopCenter,
    lpBottomCenter,
    lpRightTop,
    lpRightCenter,
    lpRighBottom,
    lpTopRight,
    lpBottomRight
};

// The top-left corner of a caption label (LabelW x LabelH, its caption TextW wide) placed at Pos
// beside a control occupying Control, Margin pixels away.
inline TPoint LabelPlace(TLabelPosition Pos, const TRect& Control, int LabelW, int LabelH, int TextW, int Margin) {
    const int L = Control.Left, T = Control.Top, W = Control.Width(), H = Control.Height(), M = Margin;
    const int CTop = T + (H - LabelH) / 2;
    const int CLeft = L + (W - LabelW) / 2;
    switch (Pos) {
        case lpLeftTop: return Point(L - TextW - M, T);
        case lpLeftCenter: return Point(L - TextW - M, CTop);
        case lpLeftBottom: return Point(L - TextW - M, T + H - LabelH);
        case lpTopLeft: return Point(L, T - LabelH - M);
        case lpBottomLeft: return Point(L, T + H + M);
        case lpLeftTopLeft: return Point(L - M, T);
        case lpLeftCenterLeft: return Point(L - M, CTop);
        case lpLeftBottomLeft: return Point(L - M, T + H - LabelH);
        case lpTopCenter: return Point(CLeft, T - LabelH - M);
        case lpBottomCenter: return Point(CLeft, T + H + M);
        case lpRightTop: return Point(L + W + M, T);
        case lpRightCenter: return Point(L + W + M, CTop);
        case lpRighBottom: return Point(L + W + M, T + H - LabelH);
        case lpTopRight: return Point(L + W - LabelW, T - LabelH - M);
        case lpBottomRight: return Point(L + W - LabelW, T + H + M);
    }
    return Point(L, T);
}
