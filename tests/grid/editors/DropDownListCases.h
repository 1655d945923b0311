#pragma once
// Case tables the list drop-downs share: what typing into the edit completes to, and what a
// component style gives the list. Each table names its cases for the test listing.
#include "grid/base/ExtStyleIF.h"
#include "platform/gui/Graphics.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// The readable name of a case in a table whose rows carry a Name.
struct CaseName {
    template <class TParam>
    std::string operator()(const ::testing::TestParamInfo<TParam>& I) const {
        return I.param.Name;
    }
};

// Characters typed into the closed edit, and what it shows after the last key release.
struct TypingCase {
    const char* Name;
    const char* Typed;
    const char* Text;
    const char* Tail; // the selected part: the completed tail
    int ItemIndex;
};
inline void PrintTo(const TypingCase& C, std::ostream* Os) { *Os << C.Name; }

// What a component style gives a drop-down's list. clNone in the last two: not looked at.
struct ListStyleCase {
    const char* Name;
    TExtStyle Style;
    TColor Header, HeaderTo, Line, FixedLine, SelectionText;
    TColor HeaderFont = clNone;
    TColor Selection = clNone;
};
inline void PrintTo(const ListStyleCase& C, std::ostream* Os) { *Os << C.Name; }

template <class TDropDown>
void ExpectListStyle(TDropDown* D, const ListStyleCase& C) {
    EXPECT_EQ(D->HeaderColor(), C.Header);
    EXPECT_EQ(D->HeaderColorTo(), C.HeaderTo);
    EXPECT_EQ(D->LineColor(), C.Line);
    EXPECT_EQ(D->FixedLineColor(), C.FixedLine);
    EXPECT_EQ(D->SelectionTextColor(), C.SelectionText);
    if (C.HeaderFont != clNone) EXPECT_EQ(D->HeaderFont()->Color(), C.HeaderFont);
    if (C.Selection != clNone) {
        EXPECT_EQ(D->SelectionColor(), C.Selection);
        EXPECT_EQ(D->SelectionColorTo(), C.Selection);
    }
}
