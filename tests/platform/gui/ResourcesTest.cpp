// Named bitmaps built into the program.
#include "platform/gui/Resources.h"

#include "platform/gui/Graphics.h"

#include <gtest/gtest.h>

namespace {

TEST(ResourcesTest, NamedBitmapsAreFoundWithoutRegardToCase) {
    ASSERT_TRUE(ResourceBitmapExists("LBOK"));
    EXPECT_TRUE(ResourceBitmapExists("lbok"));
    EXPECT_TRUE(ResourceBitmapNames().contains("LBARROW"));
    const QImage Upper = ResourceBitmap("LBOK"), Lower = ResourceBitmap("LbOk");
    ASSERT_FALSE(Upper.isNull());
    EXPECT_EQ(Upper, Lower);

    TBitmap B;
    B.LoadFromResourceName("lbarrow");
    EXPECT_EQ(B.Width(), Upper.isNull() ? 0 : ResourceBitmap("LBARROW").width());
    EXPECT_FALSE(B.Empty());
}

TEST(ResourcesTest, AMissingNameRaisesAndLeavesTheBitmapAlone) {
    EXPECT_FALSE(ResourceBitmapExists("NOSUCHBITMAP"));
    EXPECT_TRUE(ResourceBitmap("NOSUCHBITMAP").isNull());
    TBitmap B(3, 3);
    EXPECT_THROW(B.LoadFromResourceName("NOSUCHBITMAP"), EResNotFound);
    EXPECT_EQ(B.Width(), 3);
}

} // namespace
