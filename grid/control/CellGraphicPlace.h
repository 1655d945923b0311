#pragma once
// The vertical place of a cell graphic inside its graphic area, shared by the painter and the
// hit tests so a click lands where the graphic was drawn.

#include "grid/control/CellGraphic.h"

// The top and bottom of a graphic h pixels high inside area G (the cell less its margins).
inline void PlaceGraphicVertically(const TRect& G, TCellVAlign CVA, int h, int& T, int& B) {
    T = G.Top + 1;
    B = T + h;
    switch (CVA) {
        case vaTop:
        case vaAboveText: break;
        case vaBottom:
            B = G.Bottom - 1;
            T = B - h;
            break;
        case vaCenter:
            T = h < G.Height() ? G.Top + (G.Height() - h) / 2 : G.Top + 1;
            B = T + h;
            break;
        case vaUnderText:
            T = G.Bottom - h;
            B = G.Bottom;
            break;
        case vaFull:
            T = G.Top;
            B = G.Bottom;
            break;
    }
}
