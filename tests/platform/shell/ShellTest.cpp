#include "platform/shell/Shell.h"

#include "platform/rtl/Clock.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <linux/serial.h>
#include <signal.h>
#include <thread>

inline void PrintTo(const QString& S, std::ostream* Os) { *Os << '"' << S.toStdString() << '"'; }

namespace {

class ShellServices : public ::testing::Test {
protected:
    void SetUp() override {
        SetClock(Clock_);
        SetProcessLauncher(Launcher);
    }
    void TearDown() override {
        SetProcessLauncher(nullptr);
        SetLinkOpener(nullptr);
        SetClock(nullptr);
    }
    std::shared_ptr<TFakeClock> Clock_ = std::make_shared<TFakeClock>(QDateTime(QDate(2024, 1, 1), QTime(8, 0)));
    std::shared_ptr<TFakeProcessLauncher> Launcher = std::make_shared<TFakeProcessLauncher>();
};

} // namespace

TEST_F(ShellServices, WaitEndsWhenTheProgramEnds) {
    Launcher->SetRunPolls(30); // ends at the 31st look
    EXPECT_EQ(StartAndWait("/opt/app/Ethernet_Update.exe", "", false, 149999, 10), TWaitResult::Ended);
    EXPECT_EQ(Launcher->Polls(), 31);
    EXPECT_EQ(Clock_->TickCount(), 300u);
    ASSERT_EQ(Launcher->Starts().size(), 1);
    EXPECT_EQ(Launcher->Starts()[0].Program, "/opt/app/Ethernet_Update.exe");
    EXPECT_TRUE(Launcher->Starts()[0].Arguments.isEmpty());
}

TEST_F(ShellServices, WaitIsBoundedAndGivesUpJustPastTheLimit) {
    Launcher->SetRunPolls(-1);
    EXPECT_EQ(StartAndWait("updater", "", false, 149999, 10), TWaitResult::TimedOut);
    EXPECT_EQ(Clock_->TickCount(), 150000u); // the first look after more than 149999 ms
    EXPECT_EQ(Launcher->Polls(), 15001);
}

TEST_F(ShellServices, ProgramThatCannotStartReturnsAtOnce) {
    Launcher->SetMissing("gone");
    EXPECT_EQ(StartAndWait("gone", "x", true, 149999, 10), TWaitResult::NotStarted);
    EXPECT_EQ(Clock_->TickCount(), 0u);
    EXPECT_EQ(Launcher->Polls(), 0);
    EXPECT_TRUE(Launcher->Starts()[0].Hidden);
}

TEST_F(ShellServices, CommandLineIsSplitLikeAShellWouldButNotInterpreted) {
    StartAndWait("p", "192.168.2.205  2007 \"two words\" 'single q' $HOME;rm", false, 100, 10);
    EXPECT_EQ(Launcher->Starts()[0].Arguments,
              QStringList({"192.168.2.205", "2007", "two words", "'single", "q'", "$HOME;rm"}));
}

TEST_F(ShellServices, LinksOpenThroughXdgOpenAsOneArgument) {
    EXPECT_TRUE(OpenLink("http://example.com/Home/download/download.asp#GWU4180"));
    ASSERT_EQ(Launcher->Starts().size(), 1);
    EXPECT_EQ(Launcher->Starts()[0].Program, "xdg-open");
    EXPECT_EQ(Launcher->Starts()[0].Arguments, QStringList({"http://example.com/Home/download/download.asp#GWU4180"}));
    EXPECT_FALSE(OpenLink(""));
    EXPECT_FALSE(OpenLink("--help"));
    EXPECT_EQ(Launcher->Starts().size(), 1);
    Launcher->SetMissing("xdg-open");
    EXPECT_FALSE(OpenLink("http://example.com/"));

    auto Opener = std::make_shared<TFakeLinkOpener>();
    SetLinkOpener(Opener);
    EXPECT_TRUE(OpenLink("http://x/"));
    EXPECT_EQ(Opener->Links(), QStringList({"http://x/"}));
    EXPECT_EQ(Launcher->Starts().size(), 2); // the fake opener starts nothing
}

// The real launcher runs local programs only (no network, no windows).
TEST(ProcessLauncherReal, StartsWithArgumentsAsGivenAndSeesTheEnd) {
    SetProcessLauncher(nullptr);
    QTemporaryDir Dir;
    const QString Out = Dir.filePath("out.txt");
    std::optional<int64_t> Pid =
        ProcessLauncher().Start("sh", {"-c", "printf '%s|' \"$@\" > \"$0\"", Out, "a b", "$HOME", "*"}, false);
    ASSERT_TRUE(Pid.has_value());
    while (!ProcessLauncher().HasEnded(*Pid)) std::this_thread::yield(); // sh ends by itself; no time is waited for
    QFile F(Out);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    EXPECT_EQ(F.readAll(), "a b|$HOME|*|");
    EXPECT_TRUE(ProcessLauncher().HasEnded(*Pid)); // asked again after reaping
}

TEST(ProcessLauncherReal, MissingProgramCannotStart) {
    SetProcessLauncher(nullptr);
    EXPECT_EQ(ProcessLauncher().Start("/nonexistent/Ethernet_Update.exe", {}, false), std::nullopt);
    EXPECT_EQ(ProcessLauncher().Start("no-such-program-xyz", {}, false), std::nullopt);
    EXPECT_EQ(ProcessLauncher().Start("", {}, false), std::nullopt);
}

TEST(ProcessLauncherReal, RunningProgramIsSeenRunning) {
    SetProcessLauncher(nullptr);
    std::optional<int64_t> Pid = ProcessLauncher().Start("sleep", {"30"}, true);
    ASSERT_TRUE(Pid.has_value());
    EXPECT_FALSE(ProcessLauncher().HasEnded(*Pid));
    ::kill(pid_t(*Pid), SIGKILL);
    while (!ProcessLauncher().HasEnded(*Pid)) std::this_thread::yield();
}

TEST(SerialPorts, ScanPicksSerialNodesInKindAndNumberOrder) {
    QTemporaryDir Dir;
    for (const char* Name : {"ttyS10", "ttyS2", "ttyUSB0", "ttyACM1", "ttyS1", "ttyX0", "console", "ttyUSB", "ttyACM0",
                             "ttyS3", "tty1", "ttyUSB11", "ttyUSB2"}) {
        QFile F(Dir.filePath(Name));
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    }
    // ttyS3 stands for a node without a port behind it.
    const QStringList Ports = ScanSerialPorts(Dir.path(), [](const QString& P) { return !P.endsWith("/ttyS3"); });
    QStringList Names;
    for (const QString& P : Ports) {
        EXPECT_TRUE(P.startsWith(Dir.path() + "/"));
        Names.append(P.mid(Dir.path().size() + 1));
    }
    EXPECT_EQ(Names, QStringList({"ttyS1", "ttyS2", "ttyS10", "ttyUSB0", "ttyUSB2", "ttyUSB11", "ttyACM0", "ttyACM1"}));
    EXPECT_TRUE(ScanSerialPorts(Dir.filePath("missing"), [](const QString&) { return true; }).isEmpty());
    EXPECT_FALSE(ProbeSerialPort(Dir.filePath("missing")));
}

TEST(SerialPorts, ProbeVerdictTrustsTheUartTypeOnlyForLegacyNodes) {
    struct {
        const char* Path;
        int OpenError;
        std::optional<int> Type;
        bool Port;
    } Cases[] = {
        {"/dev/ttyS0", 0, PORT_16550A, true},
        {"/dev/ttyS1", 0, PORT_UNKNOWN, false}, // a node without a UART behind it
        {"/dev/ttyS2", 0, std::nullopt, true},
        {"/dev/ttyUSB0", 0, PORT_UNKNOWN, true}, // USB and ACM drivers leave the type unset
        {"/dev/ttyACM0", 0, PORT_UNKNOWN, true},
        {"/dev/ttyUSB1", 0, std::nullopt, true},
        {"/dev/ttyUSB2", EACCES, std::nullopt, true},
        {"/dev/ttyACM1", EBUSY, std::nullopt, true},
        {"/dev/ttyS3", EPERM, std::nullopt, true},
        {"/dev/ttyS5", EACCES, PORT_UNKNOWN, false}, // not ours to open, and empty as published
        {"/dev/ttyS6", EACCES, PORT_16550A, true},
        {"/dev/ttyUSB4", EACCES, PORT_UNKNOWN, true},
        {"/dev/ttyUSB3", ENOENT, std::nullopt, false},
        {"/dev/ttyS4", EIO, std::nullopt, false},
        {"/dev/ttyACM2", ENXIO, std::nullopt, false},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(SerialNodeIsPort(C.Path, C.OpenError, C.Type), C.Port) << C.Path << " " << C.OpenError;
}

TEST(SerialPorts, FakeServiceListsWhatItIsGiven) {
    auto Fake = std::make_shared<TFakeSerialPorts>(QStringList{"/dev/ttyUSB0"});
    SetSerialPorts(Fake);
    EXPECT_EQ(ListSerialPorts(), QStringList({"/dev/ttyUSB0"}));
    Fake->Set({});
    EXPECT_TRUE(ListSerialPorts().isEmpty());
    SetSerialPorts(nullptr);
}
