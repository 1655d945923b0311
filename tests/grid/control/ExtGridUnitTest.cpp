// The grid units' start-up and shutdown.
#include "grid/control/ExtGridUnit.h"

#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

TEST(GridUnit, StartUpRunsOnceAndShutdownUndoesTheWatch) {
    GridUnitStartUp();
    ColumnGridUnitStartUp();
    QObject* Hook = GridCallWndProcHook;
    ASSERT_NE(Hook, nullptr);
    const QStringList Classes = RegisteredGridClasses();
    ASSERT_GE(Classes.size(), 31);
    EXPECT_EQ(Classes.first(), "TExtStringGrid");
    EXPECT_EQ(Classes.at(27), "TSearchPanel");
    EXPECT_EQ(Classes.at(28), "TExtColumnGrid");
    EXPECT_EQ(Classes.at(30), "TGridColumnCollection");
    EXPECT_EQ(GridEditDoneMessage, RegisterWindowMessage("GridEditDone"));
    EXPECT_EQ(DTPShiftFocusMessage, RegisterWindowMessage("dtpshiftfocus"));
    EXPECT_EQ(GridCellsClipboardFormat, RegisterWindowMessage("TExtStringGrid Cells"));
    EXPECT_NE(GridEditDoneMessage, DTPShiftFocusMessage);
    EXPECT_TRUE(ComCtlDateEditorsAvailable);

    // A second start-up installs nothing new and registers nothing twice.
    GridUnitStartUp();
    ColumnGridUnitStartUp();
    EXPECT_EQ(GridCallWndProcHook, Hook);
    EXPECT_EQ(RegisteredGridClasses(), Classes);

    HintFontName = "Tahoma";
    GridUnitShutdown();
    EXPECT_EQ(GridCallWndProcHook, nullptr);
    EXPECT_TRUE(HintFontName.isEmpty());
    GridUnitShutdown(); // a second shutdown does nothing
    EXPECT_EQ(GridUnitInitCount, 0);
}

TEST(GridUnit, DateEditorsNeedControlsLaterThan469) {
    EXPECT_FALSE(DateEditorsUsable(-1));
    EXPECT_FALSE(DateEditorsUsable(0x00040045));
    EXPECT_TRUE(DateEditorsUsable(0x00040046));
    EXPECT_TRUE(DateEditorsUsable(DateControlsVersion()));
}

TEST(GridUnit, AFailedRegistrationRaisesForTheCaller) {
    EXPECT_THROW(RegisterGridClass(""), EInvalidOperation);
    RegisterGridClass("TUnitTestOnlyClass");
    EXPECT_THROW(RegisterGridClass("TUnitTestOnlyClass"), EInvalidOperation);
}
