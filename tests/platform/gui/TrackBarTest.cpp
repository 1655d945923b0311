// The track bar: its range refuses an inverted range and keeps the position inside, the change
// event follows every move by code or keys, and the ticks follow the frequency.
#include "platform/gui/ComCtrls.h"

#include <QSlider>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TrackBar : public ::testing::Test {
protected:
    void SetUp() override {
        T = std::make_unique<TTrackBar>(nullptr);
        T->OnChange = [this](TObject*) { ++Changes; };
    }
    std::unique_ptr<TTrackBar> T;
    int Changes = 0;
};

TEST_F(TrackBar, StartsAtZeroOfZeroToTen) {
    EXPECT_EQ(T->Min(), 0);
    EXPECT_EQ(T->Max(), 10);
    EXPECT_EQ(T->Position(), 0);
    EXPECT_EQ(T->Frequency(), 1);
    EXPECT_EQ(T->PageSize(), 2);
    EXPECT_EQ(T->Orientation(), trHorizontal);
}

TEST_F(TrackBar, PositionStaysInsideTheRangeAndRangeStaysInOrder) {
    struct TCase {
        const char* Name;
        int Min, Max, Position;
        int WantMin, WantMax, WantPosition;
    };
    for (const TCase& C :
         {TCase{"Inside", 0, 10, 4, 0, 10, 4}, TCase{"AboveMax", 0, 10, 40, 0, 10, 10},
          TCase{"BelowMin", 2, 10, -3, 2, 10, 2}, TCase{"MinAboveMaxRefused", 12, 10, 5, 0, 10, 5},
          TCase{"MaxBelowMinRefused", 3, 1, 5, 3, 10, 5}, TCase{"NegativeRange", -20, -5, 0, -20, -5, -5}}) {
        SCOPED_TRACE(C.Name);
        T = std::make_unique<TTrackBar>(nullptr);
        T->SetMin(C.Min);
        T->SetMax(C.Max);
        T->SetPosition(C.Position);
        EXPECT_EQ(T->Min(), C.WantMin);
        EXPECT_EQ(T->Max(), C.WantMax);
        EXPECT_EQ(T->Position(), C.WantPosition);
    }
}

TEST_F(TrackBar, ChangeFiresForEveryMoveByCodeOrKey) {
    T->SetPosition(3);
    EXPECT_EQ(Changes, 1);
    T->SetPosition(3);
    EXPECT_EQ(Changes, 1) << "no move, no change";
    T->SimulateKey(VK_RIGHT);
    EXPECT_EQ(T->Position(), 4);
    T->SimulateKey(VK_NEXT);
    EXPECT_EQ(T->Position(), 6) << "a page is PageSize positions";
    T->SimulateKey(VK_UP);
    EXPECT_EQ(T->Position(), 5) << "Up goes towards the minimum";
    T->SimulateKey(VK_PRIOR);
    EXPECT_EQ(T->Position(), 3);
    T->SimulateKey(VK_END);
    EXPECT_EQ(T->Position(), 10);
    T->SimulateKey(VK_HOME);
    EXPECT_EQ(T->Position(), 0);
    T->SetPosition(6);
    T->SetMax(5); // the position is pulled into the shorter range
    EXPECT_EQ(T->Position(), 5);
    EXPECT_EQ(Changes, 9);
}

TEST_F(TrackBar, TicksFollowFrequencyStyleAndMarks) {
    T->SetFrequency(5);
    EXPECT_EQ(T->Native()->tickInterval(), 5);
    EXPECT_EQ(T->Native()->tickPosition(), QSlider::TicksBelow);
    T->SetTickMarks(tmBoth);
    EXPECT_EQ(T->Native()->tickPosition(), QSlider::TicksBothSides);
    T->SetTickStyle(tsNone);
    EXPECT_EQ(T->Native()->tickPosition(), QSlider::NoTicks);
    T->SetOrientation(trVertical);
    EXPECT_EQ(T->Native()->orientation(), Qt::Vertical);
    EXPECT_EQ(T->Width(), 45) << "turned round";
}

} // namespace
