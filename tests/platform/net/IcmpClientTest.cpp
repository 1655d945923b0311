#include "platform/net/IcmpClient.h"

#include "platform/rtl/Clock.h"

#include <gtest/gtest.h>

// Each way of sending is tried on its own; a way the environment does not allow is skipped
// with the reason.
class IcmpClientReal : public ::testing::TestWithParam<TIcmpClient::TSocketKind> {};

TEST_P(IcmpClientReal, EchoFromLoopback) {
    TIcmpClient Client(GetParam());
    std::optional<TIcmpReply> Reply;
    try {
        Reply = Client.Ping("127.0.0.1", 1024, 400);
    } catch (const ESocketError& E) {
        if (E.Message().startsWith("Cannot open an ICMP socket")) GTEST_SKIP() << E.what();
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
                         ::testing::Values(TIcmpClient::skAuto, TIcmpClient::skPingSocket, TIcmpClient::skRawSocket),
                         [](const auto& Info) -> std::string {
                             switch (Info.param) {
                                 case TIcmpClient::skAuto: return "Auto";
                                 case TIcmpClient::skPingSocket: return "PingSocket";
                                 case TIcmpClient::skRawSocket: return "RawSocket";
                             }
                             return "Kind" + std::to_string(int(Info.param));
                         });

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
