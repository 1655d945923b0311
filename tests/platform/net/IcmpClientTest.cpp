#include "platform/net/IcmpClient.h"

#include "platform/rtl/Clock.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

// Each way of sending is tried on its own; a way the environment does not allow is skipped
// with the reason.
class IcmpClientReal : public ::testing::TestWithParam<TIcmpClient::TSocketKind> {};

TEST_P(IcmpClientReal, EchoFromLoopback) {
    TIcmpClient Client(GetParam());
    std::optional<TIcmpReply> Reply;
    try {
        Reply = Client.Ping("127.0.0.1", 1024, 400);
    } catch (const ESocketError& E) {
        if (E.Message().startsWith("Cannot open an ICMP socket") ||
            E.Message().startsWith("Cannot run the ping program"))
            GTEST_SKIP() << E.what();
        throw;
    }
    ASSERT_TRUE(Reply.has_value());
    EXPECT_EQ(Reply->FromAddress, "127.0.0.1");
    EXPECT_EQ(Reply->BytesReceived, 1024);
    // Requests in a row each get their own reply.
    for (int i = 0; i < 3; ++i) {
        std::optional<TIcmpReply> Again = Client.Ping("127.0.0.1", 0, 400);
        ASSERT_TRUE(Again.has_value());
        EXPECT_EQ(Again->BytesReceived, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Sockets, IcmpClientReal,
                         ::testing::Values(TIcmpClient::skAuto, TIcmpClient::skPingSocket, TIcmpClient::skRawSocket,
                                           TIcmpClient::skPingProgram),
                         [](const ::testing::TestParamInfo<TIcmpClient::TSocketKind>& Info) {
                             switch (Info.param) {
                                 case TIcmpClient::skAuto: return std::string("Auto");
                                 case TIcmpClient::skPingSocket: return std::string("PingSocket");
                                 case TIcmpClient::skRawSocket: return std::string("RawSocket");
                                 case TIcmpClient::skPingProgram: return std::string("PingProgram");
                             }
                             return std::string("Unknown");
                         });

namespace {
// A client on which this platform allows neither ICMP socket, as for a user outside the ping
// group range without CAP_NET_RAW.
class TNoSocketClient : public TIcmpClient {
public:
    using TIcmpClient::TIcmpClient;
    int Opened = 0;

protected:
    int OpenSocket(int) override {
        ++Opened;
        errno = EACCES;
        return -1;
    }
};

// A stand-in for the system's ping program: a shell script in a temporary folder.
QString Script(const QTemporaryDir& Dir, const QString& Name, const QString& Body) {
    const QString Path = Dir.path() + "/" + Name;
    QFile F(Path);
    EXPECT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(("#!/bin/sh\n" + Body + "\n").toUtf8());
    F.close();
    F.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return Path;
}
} // namespace

// Without either socket the echo goes through the system's ping program (skipped where it is
// not installed).
TEST(IcmpClient, WithoutSocketsTheSystemPingProgramEchoes) {
    TNoSocketClient Client;
    std::optional<TIcmpReply> Reply;
    try {
        Reply = Client.Ping("127.0.0.1", 1024, 400);
    } catch (const ESocketError& E) {
        if (E.Message().contains("Cannot run the ping program")) GTEST_SKIP() << E.what();
        throw;
    }
    EXPECT_EQ(Client.Opened, 2);
    ASSERT_TRUE(Reply.has_value());
    EXPECT_EQ(Reply->FromAddress, "127.0.0.1");
    EXPECT_EQ(Reply->BytesReceived, 1024);
}

// What the ping program is asked and how its answers read, on stand-ins for it.
TEST(IcmpClient, PingProgramAnswersAndFailures) {
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    const QString Args = Dir.path() + "/args";
    struct TCase {
        const char* Name;
        QString Body;
        std::optional<int> Bytes; // a reply with that many bytes; nullopt: none
        QString Error; // raises ESocketError with this in its text
    };
    const TCase Cases[] = {
        {"reply",
         "printf '%s ' \"$@\" > '" + Args +
             "'\necho 'PING 10.1.2.3 (10.1.2.3) 1024(1052) bytes of data.'\n"
             "echo '1032 bytes from 10.1.2.3: icmp_seq=1 ttl=64 time=1.25 ms'\nexit 0",
         1024,
         {}},
        {"no reply", "echo '1 packets transmitted, 0 received, 100% packet loss'\nexit 1", std::nullopt, {}},
        {"another host answers",
         "echo 'From 10.1.2.1 icmp_seq=1 Destination Host Unreachable'\nexit 1",
         std::nullopt,
         {}},
        {"program error", "echo 'ping: socket: Operation not permitted' >&2\nexit 2", std::nullopt,
         "ping: socket: Operation not permitted"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TNoSocketClient Client(TIcmpClient::skAuto, Script(Dir, "ping", C.Body));
        if (!C.Error.isEmpty()) {
            try {
                Client.Ping("10.1.2.3", 1024, 400);
                ADD_FAILURE() << "no error";
            } catch (const ESocketError& E) {
                EXPECT_TRUE(E.Message().contains(C.Error)) << E.what();
                EXPECT_TRUE(E.Message().startsWith("Cannot open an ICMP socket")) << E.what();
            }
            continue;
        }
        const std::optional<TIcmpReply> Reply = Client.Ping("10.1.2.3", 1024, 400);
        ASSERT_EQ(Reply.has_value(), C.Bytes.has_value());
        if (!Reply) continue;
        EXPECT_EQ(Reply->BytesReceived, *C.Bytes);
        EXPECT_EQ(Reply->FromAddress, "10.1.2.3");
        EXPECT_EQ(Reply->RoundTripMs, 1);
        QFile F(Args);
        ASSERT_TRUE(F.open(QIODevice::ReadOnly));
        EXPECT_EQ(F.readAll().trimmed(), "-n -c 1 -s 1024 -W 0.400 10.1.2.3");
    }
    // A missing program is an error like a missing socket.
    TNoSocketClient Missing(TIcmpClient::skAuto, Dir.path() + "/no-such-ping");
    EXPECT_THROW(Missing.Ping("10.1.2.3", 1024, 400), ESocketError);
}

// A ping program that does not end is stopped at the echo's time-out, counted on the clock
// service.
TEST(IcmpClient, PingProgramIsStoppedAtTheTimeOut) {
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    auto FakeClock = std::make_shared<TFakeClock>(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    SetClock(FakeClock);
    TIcmpClient Client(TIcmpClient::skPingProgram, Script(Dir, "ping", "exec sleep 60"));
    EXPECT_EQ(Client.Ping("10.1.2.3", 1024, 400), std::nullopt);
    EXPECT_GE(FakeClock->TickCount(), 400u);
    EXPECT_LT(FakeClock->TickCount(), 420u);
    SetClock(nullptr);
}

TEST(IcmpClient, BadRequestsRaise) {
    TIcmpClient Client;
    EXPECT_THROW(Client.Ping("", 32, 400), ESocketError);
    EXPECT_THROW(Client.Ping("   ", 32, 400), ESocketError);
    EXPECT_THROW(Client.Ping("127.0.0.1", -1, 400), ESocketError);
    EXPECT_THROW(Client.Ping("127.0.0.1", 70000, 400), ESocketError);
}

TEST(IcmpClientService, FakeRepliesOrCostsTheTimeOutOnTheClock) {
    auto FakeClock = std::make_shared<TFakeClock>(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    SetClock(FakeClock);
    auto Fake = std::make_shared<TFakeIcmpClient>();
    Fake->SetAnswering("192.168.2.205");
    Fake->SetUnresolvable("no.such.host");
    SetIcmpClient(Fake);

    std::optional<TIcmpReply> R = IcmpClient().Ping("192.168.2.205", 1024, 400);
    ASSERT_TRUE(R.has_value());
    EXPECT_EQ(R->BytesReceived, 1024);
    EXPECT_EQ(FakeClock->TickCount(), 1u);

    EXPECT_EQ(IcmpClient().Ping("10.0.0.9", 1024, 400), std::nullopt);
    EXPECT_EQ(FakeClock->TickCount(), 401u);
    EXPECT_THROW(IcmpClient().Ping("no.such.host", 1024, 400), ESocketError);
    EXPECT_EQ(Fake->Hosts(), QStringList({"192.168.2.205", "10.0.0.9", "no.such.host"}));

    SetIcmpClient(nullptr);
    SetClock(nullptr);
}
