// The list colours per component style and the popup sizing shared by the column-list
// drop-downs.
#include "grid/editors/ExtDropDownColumns.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace ExtDropDownColumns {

namespace {
// Indexed by TExtStyle. tsCustom's row is never used.
constexpr TListStyle ListStyles[] = {
    /* tsOffice2003Blue */
    {RGB(89, 135, 214), RGB(3, 56, 147), clWhite, scOffice2007, RGB(0, 45, 150), RGB(0, 45, 150), clNone, clBlack},
    /* tsOffice2003Silver */
    {RGB(165, 164, 189), RGB(117, 116, 149), clNone, scOffice2007, RGB(124, 124, 148), RGB(124, 124, 148), clNone,
     clBlack},
    /* tsOffice2003Olive */
    {RGB(175, 192, 130), RGB(99, 122, 68), clNone, scOffice2007, RGB(96, 128, 88), RGB(96, 128, 88), clNone, clBlack},
    /* tsOffice2003Classic */
    {RGB(128, 128, 128), RGB(128, 128, 128), clNone, scOffice2007, RGB(128, 128, 128), RGB(128, 128, 128), clNone,
     clBlack},
    /* tsOffice2007Luna */
    {RGB(227, 239, 255), RGB(175, 210, 255), RGB(8, 55, 114), scOffice2007, RGB(175, 210, 255), RGB(175, 210, 255),
     clNone, clBlack},
    /* tsOffice2007Obsidian */
    {RGB(240, 241, 242), RGB(189, 194, 201), RGB(55, 60, 67), scOffice2007, RGB(76, 83, 92), RGB(76, 83, 92), clNone,
     clBlack},
    /* tsWindowsXP */
    {clBtnFace, clBtnFace, clBlack, scCustom, clSilver, clBlack, clHighlight, clHighlightText},
    /* tsWhidbey */
    {RGB(239, 238, 235), RGB(152, 152, 126), clWhite, scOffice2007, RGB(0, 45, 150), RGB(0, 45, 150), clNone, clBlack},
    /* tsCustom */ {},
    /* tsOffice2007Silver */
    {RGB(246, 247, 248), RGB(219, 224, 232), RGB(21, 66, 139), scOffice2007, RGB(111, 112, 116), RGB(111, 112, 116),
     clNone, clBlack},
    /* tsWindowsVista */
    {RGB(249, 253, 255), RGB(240, 250, 255), clBlack, scWindowsVista, RGB(218, 242, 252), RGB(218, 242, 252), clNone,
     clBlack},
    /* tsWindows7 */
    {RGB(250, 251, 253), RGB(235, 243, 253), clBlack, scWindows7, RGB(184, 214, 251), RGB(184, 214, 251), clNone,
     clBlack},
    /* tsTerminal */
    {clBtnFace, clBtnFace, clBlack, scCustom, RGB(128, 128, 128), RGB(128, 128, 128), clHighlight, clHighlightText},
    /* tsOffice2010Blue */
    {RGB(205, 219, 237), clNone, RGB(30, 57, 91), scCustom, RGB(207, 221, 238), RGB(207, 221, 238), RGB(255, 208, 108),
     clBlack},
    /* tsOffice2010Silver */
    {RGB(229, 233, 237), clNone, RGB(30, 57, 91), scCustom, RGB(207, 221, 238), RGB(207, 221, 238), RGB(255, 208, 108),
     clBlack},
    /* tsOffice2010Black */
    {RGB(130, 130, 130), clNone, RGB(214, 215, 215), scCustom, RGB(207, 221, 238), RGB(207, 221, 238),
     RGB(255, 208, 108), clBlack},
};
static_assert(std::size(ListStyles) == size_t(tsOffice2010Black) + 1);
} // namespace

const TListStyle* ListStyleFor(TExtStyle AStyle) {
    if (AStyle == tsCustom || size_t(AStyle) >= std::size(ListStyles)) return nullptr;
    return &ListStyles[AStyle];
}

void SelectionStyleLines(TSelectionColorStyle Value, TColor& LineColor, TColor& FixedLineColor) {
    if (Value == scOffice2007) {
        LineColor = RGB(235, 237, 241);
        FixedLineColor = RGB(164, 187, 209);
    } else if (Value == scWindowsVista || Value == scWindows7) {
        LineColor = RGB(240, 236, 236);
        FixedLineColor = RGB(209, 210, 212);
    }
}

int ScrollBarExtent() {
    QStyle* St = QApplication::style();
    return St ? St->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
}

int WholeRowsHeight(int AHeight, int Bars, int HeaderHeight, int RowHeight, int Extra) {
    if (RowHeight <= 0) return AHeight;
    const int Room = std::max(AHeight - Bars - HeaderHeight - 2, 0);
    return Bars + HeaderHeight + (Room / RowHeight) * RowHeight + Extra;
}

std::vector<int> ScaleColumnWidths(const std::vector<int>& Widths, int Available) {
    double Total = 1;
    for (int W : Widths) Total += W;
    const double F = Available / Total;
    std::vector<int> Out;
    Out.reserve(Widths.size());
    double Rest = 0;
    for (int W : Widths) {
        const double Exact = F * W;
        int Px = int(std::nearbyint(Exact));
        Rest += Exact - Px;
        if (Rest > 1) {
            ++Px;
            Rest -= 1;
        }
        Out.push_back(std::max(0, Px));
    }
    return Out;
}

} // namespace ExtDropDownColumns
