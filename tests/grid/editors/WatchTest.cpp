// The analog clock headless: geometry, clicks on and around the face, keys, the hand animation
// driven tick by tick, the running mode on the fake clock, and the hands probed on its picture.
#include "grid/editors/ExtWatch.h"
#include "tests/grid/editors/EditorsFixture.h"

#include <string>
#include <vector>

namespace {

TColor At(const QImage& I, int X, int Y) {
    const QRgb P = I.pixel(X, Y);
    return RGB(qRed(P), qGreen(P), qBlue(P));
}

class WatchFixture : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        Host->SetBounds(40, 40, 300, 260);
        W = Create<TExtWatch>(Host.get(), Host.get());
        W->SetBounds(10, 10, 180, 180);
        W->OnChange = [this](TObject*) { ++Changes; };
        ShowHost();
    }
    void SetTime(int H, int M, int S = 0) { W->SetTime(EncodeTime(H, M, S, 0)); }
    std::string Shown() const {
        int H, M, S, MS;
        DecodeTime(W->Time(), H, M, S, MS);
        return QStringLiteral("%1:%2").arg(H).arg(M, 2, 10, QLatin1Char('0')).toStdString();
    }
    // Ticks the animation until it stops (bounded, so a runaway animation fails instead of hanging).
    int RunAnimation() {
        int Ticks = 0;
        while (W->AnimationTimer()->Enabled() && Ticks < 200) {
            W->AnimationTimer()->Tick();
            ++Ticks;
        }
        return Ticks;
    }
    TExtWatch* W = nullptr;
    int Changes = 0;
};

TEST_F(WatchFixture, FaceOfAnAutomaticSizeLeavesTenPixelsAround) {
    EXPECT_EQ(W->GetWatchRect(), Rect(10, 10, 170, 170));
    EXPECT_EQ(W->GetCenter(), Point(90, 90));
    EXPECT_EQ(W->GetRadius(), 80);
    W->Appearance()->SetSize(100);
    EXPECT_EQ(W->GetWatchRect(), Rect(40, 40, 140, 140));
    W->Appearance()->SetSize(400); // clipped to the control
    EXPECT_EQ(W->GetWatchRect(), Rect(0, 0, 180, 180));
}

struct ClickCase {
    const char* Name;
    int StartHour, StartMinute;
    int X, Y;
    const char* Want;
};
void PrintTo(const ClickCase& C, std::ostream* Os) { *Os << C.Name; }

class WatchClicks : public WatchFixture, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(WatchClicks, SetTheHandUnderTheClick) {
    const ClickCase& C = GetParam();
    W->SetAnimation(false);
    SetTime(C.StartHour, C.StartMinute);
    Changes = 0;
    Click(W, C.X, C.Y);
    EXPECT_EQ(Shown(), C.Want);
    EXPECT_EQ(Changes, 1) << "a click that moves a hand is announced once";
}

INSTANTIATE_TEST_SUITE_P(Points, WatchClicks,
                         ::testing::Values(ClickCase{"left_of_twelve_in_am", 5, 20, 89, 40, "0:20"},
                                           ClickCase{"right_of_twelve_in_am", 5, 20, 91, 40, "0:20"},
                                           ClickCase{"left_of_twelve_in_pm", 17, 20, 89, 40, "12:20"},
                                           ClickCase{"right_of_twelve_in_pm", 17, 20, 91, 40, "12:20"},
                                           ClickCase{"centre_in_am_is_five", 1, 20, 90, 90, "5:20"},
                                           ClickCase{"centre_in_pm_is_seventeen", 13, 20, 90, 90, "17:20"},
                                           ClickCase{"three_o_clock_on_face", 8, 20, 140, 90, "3:20"},
                                           ClickCase{"outside_the_face_sets_minute", 8, 20, 2, 2, "8:53"},
                                           ClickCase{"outside_below_is_half_past", 8, 20, 90, 178, "8:30"}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(WatchFixture, ClickOnTheAMPMBoxTogglesTheHalfDay) {
    W->SetAnimation(false);
    SetTime(9, 10);
    const TRect B = W->GetAMPMRect();
    ASSERT_GT(B.Right, B.Left);
    Click(W, (B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2);
    EXPECT_EQ(Shown(), "21:10");
    EXPECT_FALSE(W->AM());
    EXPECT_EQ(Changes, 1);
    Click(W, (B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2);
    EXPECT_EQ(Shown(), "9:10");
    EXPECT_TRUE(W->AM());
}

// A clock whose every pause takes a picture of the AM/PM box, so the roll can be watched.
class TRollCamera : public TFakeClock {
public:
    TRollCamera(TExtWatch* W, TRect Box) : TFakeClock(QDateTime(QDate(2026, 1, 5), QTime(9, 0))), FW(W), FBox(Box) {}
    void Sleep(unsigned Ms) override {
        TFakeClock::Sleep(Ms);
        Frames.push_back(
            FW->grab(QRect(FBox.Left, FBox.Top, FBox.Right - FBox.Left, FBox.Bottom - FBox.Top)).toImage());
    }
    std::vector<QImage> Frames;

private:
    TExtWatch* FW;
    TRect FBox;
};

TEST_F(WatchFixture, AMPMLabelRollsFromTheOldTextToTheNew) {
    SetTime(9, 10);
    QApplication::processEvents();
    const TRect B = W->GetAMPMRect();
    auto Box = [&] { return W->grab(QRect(B.Left, B.Top, B.Right - B.Left, B.Bottom - B.Top)).toImage(); };
    const QImage ShowsAM = Box();
    auto Camera = std::make_shared<TRollCamera>(W, B);
    SetClock(Camera);
    Click(W, (B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2);
    SetClock(FClock);
    QApplication::processEvents();
    const QImage ShowsPM = Box();
    EXPECT_EQ(Shown(), "21:10");
    ASSERT_EQ(int(Camera->Frames.size()), B.Bottom - B.Top - 2) << "one step per pixel of the inner height";
    // Half way the label is neither text; at the end it is the new one.
    const QImage& Mid = Camera->Frames[Camera->Frames.size() / 2];
    EXPECT_NE(Mid, ShowsAM);
    EXPECT_NE(Mid, ShowsPM);
    EXPECT_NE(ShowsAM, ShowsPM);
    EXPECT_EQ(Camera->Frames.back(), ShowsPM);
}

TEST_F(WatchFixture, MinuteAnimationRunsForwardThroughTheHourAndAnnouncesOnce) {
    SetTime(10, 45);
    W->SetMinute(0);
    EXPECT_EQ(Shown(), "10:45") << "nothing moves before the first tick";
    EXPECT_TRUE(W->AnimationTimer()->Enabled());
    std::vector<std::string> Seen;
    W->OnChange = [&](TObject*) { Seen.push_back(Shown()); };
    RunAnimation();
    EXPECT_FALSE(W->AnimationTimer()->Enabled());
    EXPECT_EQ(Shown(), "11:00");
    EXPECT_EQ(Seen, (std::vector<std::string>{"11:00"}));
}

TEST_F(WatchFixture, HourAnimationReachesItsTarget) {
    SetTime(2, 30);
    W->SetHour(20);
    RunAnimation();
    EXPECT_EQ(Shown(), "20:30");
    EXPECT_EQ(Changes, 1);
}

TEST_F(WatchFixture, ZeroAnimationFactorDoesNotDivideByZero) {
    W->SetAnimationFactor(0);
    SetTime(2, 30);
    W->SetHour(7);
    RunAnimation();
    EXPECT_EQ(Shown(), "7:30");
}

TEST_F(WatchFixture, InvalidMinuteRaisesAndAnEqualHourDoesNothing) {
    SetTime(4, 5);
    EXPECT_THROW(W->SetMinute(60), Exception);
    W->SetAnimation(false);
    W->SetHour(4);
    EXPECT_EQ(Changes, 0);
    EXPECT_FALSE(W->AnimationTimer()->Enabled());
}

struct KeyCase {
    const char* Name;
    int StartHour, StartMinute;
    Word Key;
    const char* Want;
};
void PrintTo(const KeyCase& C, std::ostream* Os) { *Os << C.Name; }

class WatchKeys : public WatchFixture, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(WatchKeys, MoveTheHands) {
    const KeyCase& C = GetParam();
    SetTime(C.StartHour, C.StartMinute);
    Changes = 0;
    W->HandleKey(C.Key);
    RunAnimation();
    EXPECT_EQ(Shown(), C.Want);
    EXPECT_EQ(Changes, 1);
}

INSTANTIATE_TEST_SUITE_P(Keys, WatchKeys,
                         ::testing::Values(KeyCase{"right_at_59_carries_the_hour", 10, 59, VK_RIGHT, "11:00"},
                                           KeyCase{"left_at_0_goes_back_an_hour", 10, 0, VK_LEFT, "9:59"},
                                           KeyCase{"left_at_midnight_wraps", 0, 0, VK_LEFT, "23:59"},
                                           KeyCase{"page_up_at_23_is_midnight", 23, 10, VK_PRIOR, "0:10"},
                                           KeyCase{"page_down_at_0_is_23", 0, 10, VK_NEXT, "23:10"},
                                           KeyCase{"page_up", 7, 10, VK_PRIOR, "8:10"},
                                           KeyCase{"home_is_noon", 7, 10, VK_HOME, "12:10"},
                                           KeyCase{"end_is_full_hour", 7, 10, VK_END, "7:00"},
                                           KeyCase{"p_goes_to_pm", 7, 10, 'P', "19:10"},
                                           KeyCase{"a_goes_to_am", 19, 10, 'A', "7:10"}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(WatchFixture, PageUpAtTwentyThreeNeedsNoAnimation) {
    SetTime(23, 0);
    W->HandleKey(VK_PRIOR);
    EXPECT_FALSE(W->AnimationTimer()->Enabled());
    EXPECT_EQ(Shown(), "0:00");
}

TEST_F(WatchFixture, RunningClockFollowsTheClockServiceAndIgnoresInput) {
    W->Settings()->SetTimeOffset(30);
    W->Settings()->SetAuto(true);
    EXPECT_TRUE(W->WatchTimer()->Enabled());
    EXPECT_EQ(W->WatchTimer()->Interval(), 100u);
    int H, M, S, MS;
    DecodeTime(W->CurrentTime(), H, M, S, MS);
    EXPECT_EQ(H, 9);
    EXPECT_EQ(M, 30);
    FClock->Advance(60 * 1000);
    W->WatchTimer()->Tick();
    DecodeTime(W->CurrentTime(), H, M, S, MS);
    EXPECT_EQ(M, 31);
    const TDateTime Before = W->Time();
    W->HandleKey(VK_PRIOR);
    Click(W, 90, 40);
    EXPECT_EQ(W->Time(), Before);
    EXPECT_FALSE(W->AnimationTimer()->Enabled());
    W->Settings()->SetAuto(false);
    EXPECT_FALSE(W->WatchTimer()->Enabled());
}

// ---- the hands on the picture ---------------------------------------------------------------
struct HandCase {
    const char* Name;
    int Hour, Minute;
    TPointerStyle Style;
    std::vector<int> DarkAt; // angles, clockwise from 12, where a hand lies 30 px from the centre
    std::vector<int> LightAt; // angles where none does
};
void PrintTo(const HandCase& C, std::ostream* Os) { *Os << C.Name; }

class WatchHands : public WatchFixture, public ::testing::WithParamInterface<HandCase> {};

TEST_P(WatchHands, LieAtTheirAngles) {
    const HandCase& C = GetParam();
    W->Appearance()->SetPointerStyle(C.Style);
    W->SetShowAMPM(false);
    SetTime(C.Hour, C.Minute);
    QApplication::processEvents();
    const QImage I = W->grab().toImage();
    const TPoint Ct = W->GetCenter();
    auto Probe = [&](int Deg) {
        const double T = Deg * 3.14159265358979 / 180;
        return At(I, Ct.X + int(std::lround(30 * std::sin(T))), Ct.Y - int(std::lround(30 * std::cos(T))));
    };
    for (int A : C.DarkAt) EXPECT_EQ(Probe(A), TColor(clBlack)) << "a hand at " << A << " degrees";
    for (int A : C.LightAt) EXPECT_EQ(Probe(A), TColor(clWhite)) << "no hand at " << A << " degrees";
    // The centre cap is there whatever the hands.
    EXPECT_EQ(At(I, Ct.X, Ct.Y), TColor(clBlack));
}

INSTANTIATE_TEST_SUITE_P(Times, WatchHands,
                         ::testing::Values(HandCase{"three_o_clock", 3, 0, psLine, {90, 0}, {270, 180}},
                                           HandCase{"nine_o_clock", 9, 0, psLine, {270, 0}, {90, 180}},
                                           HandCase{"quarter_past_twelve", 12, 15, psLine, {8, 90}, {270, 180}},
                                           HandCase{"half_past_six_pm", 18, 30, psLine, {195, 180}, {0, 90, 270}},
                                           HandCase{"pointer_hands", 3, 0, psPointer, {90, 0}, {270, 180}},
                                           HandCase{
                                               "short_line_draws_no_hands", 3, 0, psShortLine, {}, {90, 0, 270, 180}}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(WatchFixture, ComponentStyleColoursTheFace) {
    W->SetComponentStyle(tsOffice2003Blue);
    EXPECT_EQ(W->Appearance()->BackgroundColor(), RGB(175, 210, 255));
    EXPECT_EQ(W->Appearance()->HourPointer(), RGB(89, 135, 214));
    EXPECT_EQ(W->Appearance()->CenterPointOuterBorderColor(), TColor(clBlack));
    QApplication::processEvents();
    const QImage I = W->grab().toImage();
    EXPECT_EQ(At(I, 60, 60), RGB(175, 210, 255));
    W->SetComponentStyle(tsCustom); // changes only the fonts and the outer ring
    EXPECT_EQ(W->Appearance()->BackgroundColor(), RGB(175, 210, 255));
}

TEST_F(WatchFixture, PictureLiesOverTheFaceWithItsBottomLeftColourLeftOut) {
    W->SetColor(clWhite);
    TBitmap Bmp(30, 30);
    Bmp.Canvas()->Brush()->SetColor(clLime);
    Bmp.Canvas()->FillRect(Rect(0, 0, 30, 30));
    Bmp.Canvas()->Brush()->SetColor(clRed);
    Bmp.Canvas()->FillRect(Rect(0, 0, 4, 4));
    W->Appearance()->Picture()->SetGraphic(&Bmp);
    QApplication::processEvents();
    const QImage I = W->grab().toImage();
    EXPECT_EQ(At(I, 1, 1), TColor(clRed));
    EXPECT_EQ(At(I, 20, 6), TColor(clWhite)) << "the bottom-left colour is not painted";
    EXPECT_FALSE(W->Appearance()->Picture()->Graphic()->Transparent()) << "the appearance's picture is untouched";
}

TEST_F(WatchFixture, ClassicStyleOnANewClockChangesNothing) {
    const TColor Before = W->Appearance()->BackgroundColor();
    W->SetStyle(wsClassic);
    EXPECT_EQ(W->Appearance()->HourMarkLength(), 0);
    EXPECT_EQ(W->Appearance()->BackgroundColor(), Before);
    W->SetStyle(wsTower);
    EXPECT_EQ(W->Appearance()->Shape(), wsRect);
    EXPECT_FALSE(W->ShowNumbers());
}

} // namespace
