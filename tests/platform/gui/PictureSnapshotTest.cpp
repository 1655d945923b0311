// Saving a window or a bitmap as PNG for a person to look at.
#include "platform/gui/Snapshot.h"

#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(PictureSnapshotTest, SavesWidgetsAndBitmapsAsPng) {
    QTemporaryDir Dir;
    QLabel Label("Snapshot");
    Label.resize(80, 20);
    ASSERT_TRUE(SaveControlPng(&Label, Dir.filePath("label.png")));
    const QImage Shot(Dir.filePath("label.png"));
    EXPECT_EQ(Shot.size(), QSize(80, 20));

    TBitmap B(7, 5);
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(Rect(0, 0, 7, 5));
    ASSERT_TRUE(SaveBitmapPng(B, Dir.filePath("b.png")));
    const QImage Back(Dir.filePath("b.png"));
    EXPECT_EQ(Back.size(), QSize(7, 5));
    EXPECT_EQ(Back.pixel(3, 3), qRgb(255, 0, 0));

    TBitmap Empty;
    EXPECT_FALSE(SaveBitmapPng(Empty, Dir.filePath("e.png")));
    EXPECT_FALSE(SaveControlPng(nullptr, Dir.filePath("n.png")));
}

} // namespace
