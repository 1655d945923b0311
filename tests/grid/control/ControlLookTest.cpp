// The control look as a whole: a copy carries every property, and each property either repaints
// the grid when it changes or is only stored.
#include "grid/control/ControlLook.h"

#include "grid/editors/ExtDropDown.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

namespace {

struct LookCase {
    const char* Name;
    // Gives the look a value a new look does not have.
    std::function<void(TControlLook&)> Change;
    // Whether two looks agree on the property.
    std::function<bool(TControlLook&, TControlLook&)> Same;
    bool Repaints; // a change fires OnChange (the grid's repaint)
};
void PrintTo(const LookCase& C, std::ostream* Os) { *Os << C.Name; }

#define LOOK_CASE(Prop, Value, Repaints)                                                                               \
    LookCase {                                                                                                         \
#Prop, [](TControlLook & L) { L.Set##Prop(Value); },                                                           \
                                                          [](TControlLook & A,                                         \
                                                             TControlLook & B) { return A.Prop() == B.Prop(); },       \
                                                                                                              Repaints \
    }
#define LOOK_GLYPH_CASE(Prop)                                                                                          \
    LookCase {                                                                                                         \
#Prop,                                                                                                         \
            [](TControlLook& L) {                                                                                      \
                TBitmap B(7, 3);                                                                                       \
                L.Set##Prop(&B);                                                                                       \
            },                                                                                                         \
            [](TControlLook& A, TControlLook& B) {                                                                     \
                return A.Prop()->Width() == B.Prop()->Width() && A.Prop()->Height() == B.Prop()->Height();             \
            },                                                                                                         \
            true       \
    }

const LookCase LookCases[] = {
    LOOK_CASE(Color, clGreen, true),
    LOOK_CASE(CommentColor, clGreen, true),
    LOOK_CASE(CheckSize, 20, true),
    LOOK_CASE(RadioSize, 14, true),
    LOOK_CASE(CheckAlwaysActive, true, false),
    LOOK_CASE(RadioAlwaysActive, true, false),
    LOOK_CASE(ControlStyle, csGlyph, true),
    LOOK_CASE(DropDownAlwaysVisible, true, true),
    LOOK_CASE(SpinButtonsAlwaysVisible, true, true),
    LOOK_CASE(DropDownCount, 3, false),
    LOOK_CASE(FlatButton, true, true),
    LOOK_CASE(NoDisabledCheckRadioLook, true, true),
    LOOK_CASE(NoDisabledButtonLook, true, true),
    LOOK_CASE(ProgressBorderColor, clGreen, false),
    LOOK_CASE(ProgressMarginX, 5, true),
    LOOK_CASE(ProgressMarginY, 6, true),
    LOOK_CASE(ProgressXP, true, true),
    LOOK_CASE(FixedDropDownButton, true, false),
    LOOK_CASE(HintMaxWidth, 300, false),
    LOOK_GLYPH_CASE(CheckedGlyph),
    LOOK_GLYPH_CASE(UnCheckedGlyph),
    LOOK_GLYPH_CASE(RadioOnGlyph),
    LOOK_GLYPH_CASE(RadioOffGlyph),
    // the gradients go to the grid's own colours instead of repainting through OnChange
    LOOK_CASE(FixedGradientFrom, clGreen, false),
    LOOK_CASE(FixedGradientTo, clGreen, false),
    LOOK_CASE(FixedGradientMirrorFrom, clGreen, false),
    LOOK_CASE(FixedGradientMirrorTo, clGreen, false),
    LOOK_CASE(FixedGradientHoverFrom, clGreen, false),
    LOOK_CASE(FixedGradientHoverTo, clGreen, false),
    LOOK_CASE(FixedGradientHoverMirrorFrom, clGreen, false),
    LOOK_CASE(FixedGradientHoverMirrorTo, clGreen, false),
    LOOK_CASE(FixedGradientHoverBorder, clGreen, false),
    LOOK_CASE(FixedGradientDownFrom, clGreen, false),
    LOOK_CASE(FixedGradientDownTo, clGreen, false),
    LOOK_CASE(FixedGradientDownMirrorFrom, clGreen, false),
    LOOK_CASE(FixedGradientDownMirrorTo, clGreen, false),
    LOOK_CASE(FixedGradientDownBorder, clGreen, false),
};

class LookProperty : public ::testing::TestWithParam<LookCase> {};

TEST_P(LookProperty, AssignCarriesItWithoutARepaint) {
    TControlLook Src, Dst;
    GetParam().Change(Src);
    ASSERT_FALSE(GetParam().Same(Src, Dst)) << "the case must change the value";
    int Repaints = 0;
    Dst.OnChange = [&](TObject*) { ++Repaints; };
    Dst.Assign(&Src);
    EXPECT_TRUE(GetParam().Same(Src, Dst));
    EXPECT_EQ(Repaints, 0);
}

TEST_P(LookProperty, ChangeRepaintsOrIsOnlyStored) {
    TControlLook L;
    int Repaints = 0;
    L.OnChange = [&](TObject*) { ++Repaints; };
    GetParam().Change(L);
    EXPECT_EQ(Repaints > 0, GetParam().Repaints);
}

INSTANTIATE_TEST_SUITE_P(Every, LookProperty, ::testing::ValuesIn(LookCases),
                         [](const ::testing::TestParamInfo<LookCase>& I) { return std::string(I.param.Name); });

TEST(ControlLookCopy, AppearancesAreCopiedIntoTheLooksOwn) {
    TControlLook Src, Dst;
    Src.DropDownHeader()->SetHeight(41);
    Src.DropDownFooter()->SetHeight(43);
    Dst.Assign(&Src);
    EXPECT_EQ(Dst.DropDownHeader()->Height(), 41);
    EXPECT_EQ(Dst.DropDownFooter()->Height(), 43);
    EXPECT_NE(Dst.DropDownHeader(), Src.DropDownHeader());
    // from something that is not a look: nothing changes
    THeaderAppearance Other(nullptr);
    Dst.Assign(&Other);
    EXPECT_EQ(Dst.DropDownHeader()->Height(), 41);
}

} // namespace
