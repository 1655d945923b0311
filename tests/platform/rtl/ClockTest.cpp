#include "platform/rtl/Clock.h"

#include <gtest/gtest.h>

TEST(Clock, FakeClockReplacesTheRealOneUntilRestored) {
    auto fake = std::make_shared<TFakeClock>(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
    SetClock(fake);
    Clock().Sleep(1500);
    EXPECT_EQ(Clock().TickCount(), 1500u);
    EXPECT_EQ(Clock().CurrentDateTime().time(), QTime(3, 4, 6, 500));
    SetClock(nullptr);
    EXPECT_NE(&Clock(), fake.get());
}
