// The check for a newer version: reading version texts, the rules on the service's reply, and the
// query itself through the fake HTTP service and against a server on 127.0.0.1.
#include "LocalHttpServer.h"
#include "app/USoftOptions_Version.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(Conv_Version, DigitBeforeThePointAndThreeAfter) {
    const struct {
        const char* Text;
        int Value;
    } Cases[] = {
        {"1.000", 1000},       {"VER. 1.002", 1002},
        {"VER. 0.000", 0},     {"VER.   9.999  ", 9999},
        {"VER. 1.0025", 1002}, // only the first five characters count
        {"VER. 1x002", 1002}, // the point itself is not looked at
        {"VER. 1.00", -1}, // too short
        {"VER. ", -1},         {"", -1},
        {"VER. $.FFF", -1}, // no hex, signs or blanks: plain digits only
        {"VER. -.123", -1},    {"VER. 1. 23", -1},
        {"VER. a.bcd", -1},    {"VER. 1.2 3 4", -1},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        EXPECT_EQ(Conv_Version(Case.Text), Case.Value);
    }
}

// Reply -> whether it names a newer version than "1.000".
struct TReplyCase {
    QByteArray Reply;
    bool Newer;
};

const TReplyCase Reply_Cases[] = {
    {"VER. 1.001", true},
    {"VER. 2.000", true},
    {"  VER. 1.500\r\n", true},
    {"VER. 1.000", false},
    {"VER. 0.999", false},
    {"VER. 0.000", false},
    {"ver. 0.000 ", false},
    {"", false},
    {"   \r\n", false},
    {"VER. 1.0", false},
    {"<html><body>Not found</body></html>", false},
    {"VER. x.yyy", false},
    {QByteArray("\x00\xff\xfe garbage", 12), false},
};

TEST(Reply_Names_Newer_Version, ReplyTable) {
    for (const TReplyCase& Case : Reply_Cases) {
        SCOPED_TRACE(Case.Reply.toStdString());
        EXPECT_EQ(Reply_Names_Newer_Version(QString::fromUtf8(Case.Reply)), Case.Newer);
    }
}

class VersionQueryTest : public ::testing::Test {
protected:
    void TearDown() override { SetHttpClient(nullptr); }
};

TEST_F(VersionQueryTest, ReplyTableThroughTheFake) {
    for (const TReplyCase& Case : Reply_Cases) {
        SCOPED_TRACE(Case.Reply.toStdString());
        auto Fake = std::make_shared<TFakeHttpClient>();
        Fake->SetReply(Version_Query_URL(), Case.Reply);
        SetHttpClient(Fake);
        EXPECT_EQ(Check_Version(), Case.Newer);
        ASSERT_EQ(Fake->Requests().size(), 1);
    }
}

TEST_F(VersionQueryTest, OneBoundedQueryWithTheSoftwareCode) {
    auto Fake = std::make_shared<TFakeHttpClient>();
    SetHttpClient(Fake);
    EXPECT_FALSE(Check_Version()); // no answer: no update
    ASSERT_EQ(Fake->Requests().size(), 1);
    const TFakeHttpClient::TRequest& Request = Fake->Requests().first();
    EXPECT_EQ(Request.Url, Maker_Web_Site + "home/download/GetversionSW.asp?nomesw=CFG4180");
    EXPECT_GT(Request.Timeouts.ConnectMs, 0);
    EXPECT_GT(Request.Timeouts.TotalMs, 0);
    EXPECT_LE(Request.Timeouts.TotalMs, 30000);
    // The service answers the headers a browser-like client sends.
    EXPECT_TRUE(Request.Headers.contains("Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"));
    EXPECT_TRUE(Request.Headers.contains("User-Agent: Mozilla/3.0 (compatible; Indy Library)"));
}

class TThrowingHttpClient : public IHttpClient {
protected:
    std::optional<QByteArray> DoGet(const QString&, const THttpTimeouts&, const THttpHeaders&) override {
        throw std::runtime_error("network stack exploded");
    }
};

TEST_F(VersionQueryTest, AFailingClientMeansNoUpdate) {
    SetHttpClient(std::make_shared<TThrowingHttpClient>());
    EXPECT_NO_THROW(EXPECT_FALSE(Check_Version()));
}

TEST_F(VersionQueryTest, ReplyTableAgainstALocalServer) {
    SetHttpClient(nullptr);
    TLocalHttpServer Server;
    for (const TReplyCase& Case : Reply_Cases) {
        SCOPED_TRACE(Case.Reply.toStdString());
        Server.SetBody(Case.Reply);
        EXPECT_EQ(Check_Version(Server.BaseUrl()), Case.Newer);
    }
    const QList<QByteArray> Lines = Server.RequestLines();
    ASSERT_EQ(Lines.size(), qsizetype(std::size(Reply_Cases)));
    EXPECT_EQ(Lines.first(), "GET /home/download/GetversionSW.asp?nomesw=CFG4180 HTTP/1.0");
    // The headers reach the wire, and no cookie is sent.
    const QList<QByteArray> Head = Server.RequestHeads().first();
    EXPECT_TRUE(Head.contains("Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"));
    EXPECT_TRUE(Head.contains("User-Agent: Mozilla/3.0 (compatible; Indy Library)"));
    for (const QByteArray& Line : Head) EXPECT_FALSE(Line.toLower().startsWith("cookie:")) << Line.toStdString();
}

TEST_F(VersionQueryTest, ServerErrorsMeanNoUpdate) {
    SetHttpClient(nullptr);
    TLocalHttpServer Server;
    const QByteArray Answers[] = {
        "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 10\r\nConnection: close\r\n\r\nVER. 9.999",
        "HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\nConnection: close\r\n\r\nVER. 9.999",
        "this is not HTTP at all\r\n\r\n",
        "", // the connection closes without an answer
    };
    for (const QByteArray& Answer : Answers) {
        SCOPED_TRACE(Answer.toStdString());
        Server.SetResponse(Answer);
        EXPECT_FALSE(Check_Version(Server.BaseUrl()));
    }
}

TEST(Update_Link_Caption, OneLinkToTheDownloadPage) {
    EXPECT_EQ(Update_Link_Caption("New Version Available. Click Here for more Details"),
              "<a href=\"" + Maker_Web_Site +
                  "Home/download/download.asp#GWU4180\">New Version Available. Click Here for more Details</a>");
    // A translated text cannot break the markup.
    EXPECT_EQ(Update_Link_Caption("<b>&</b>", "http://h/"),
              "<a href=\"http://h/Home/download/download.asp#GWU4180\">&lt;b&gt;&amp;&lt;/b&gt;</a>");
}

} // namespace
