#include "platform/rtl/StateScope.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

TEST(StateScope, GivesTheOldValueBackAlsoAfterARaise) {
    int Lock = 2;
    {
        const TStateScope<int> Scope(Lock, 5);
        EXPECT_EQ(Lock, 5);
    }
    EXPECT_EQ(Lock, 2);
    EXPECT_THROW(
        {
            const TStateScope<int> Scope(Lock, 7);
            throw std::runtime_error("raised inside");
        },
        std::runtime_error);
    EXPECT_EQ(Lock, 2);
    {
        const TStateScope<int> SaveOnly(Lock);
        Lock = 9; // the body may change it freely
    }
    EXPECT_EQ(Lock, 2);
}

TEST(StateScope, LeavesADestroyedHolderAlone) {
    struct THolder : QObject {
        bool Flag = false;
    };
    auto Live = std::make_unique<THolder>();
    {
        const TStateScope<bool> Scope(Live.get(), Live->Flag, true);
        EXPECT_TRUE(Live->Flag);
    }
    EXPECT_FALSE(Live->Flag);

    // A holder freed inside the scope is not written to afterwards (ASan would see it).
    auto* Gone = new THolder;
    {
        const TStateScope<bool> Scope(Gone, Gone->Flag, true);
        delete Gone;
    }
    SUCCEED();
}
