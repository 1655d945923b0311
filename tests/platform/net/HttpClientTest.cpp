#include "platform/net/HttpClient.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// A small HTTP server on 127.0.0.1 (ephemeral port) in a thread of the test. The handler gets
// the request head and returns the raw answer; an empty answer means "say nothing and keep the
// connection open" (a server that never answers).
class TLocalServer {
public:
    using THandler = std::function<QByteArray(const QByteArray& Head)>;

    explicit TLocalServer(THandler Handler) : FHandler(std::move(Handler)) {
        FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in A{};
        A.sin_family = AF_INET;
        A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        A.sin_port = 0;
        if (::bind(FListen, reinterpret_cast<sockaddr*>(&A), sizeof A) != 0 || ::listen(FListen, 8) != 0)
            throw std::runtime_error("cannot listen on 127.0.0.1");
        socklen_t L = sizeof A;
        ::getsockname(FListen, reinterpret_cast<sockaddr*>(&A), &L);
        FPort = ntohs(A.sin_port);
        FThread = std::thread([this] { Run(); });
    }

    ~TLocalServer() {
        FStop = true;
        FThread.join();
        for (int Fd : FOpen) ::close(Fd);
        ::close(FListen);
    }

    QString Url(const QString& Path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(FPort).arg(Path); }

    QList<QByteArray> Heads() const {
        std::lock_guard<std::mutex> G(FMutex);
        return FHeads;
    }

private:
    void Run() {
        while (!FStop) {
            pollfd P{FListen, POLLIN, 0};
            if (::poll(&P, 1, 20) <= 0) continue;
            const int C = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
            if (C < 0) continue;
            QByteArray Head;
            char Buf[4096];
            while (!Head.contains("\r\n\r\n") && !FStop) {
                pollfd Q{C, POLLIN, 0};
                if (::poll(&Q, 1, 20) <= 0) continue;
                const ssize_t N = ::recv(C, Buf, sizeof Buf, 0);
                if (N <= 0) break;
                Head.append(Buf, N);
            }
            {
                std::lock_guard<std::mutex> G(FMutex);
                FHeads.append(Head);
            }
            const QByteArray Answer = FHandler(Head);
            if (Answer.isEmpty()) {
                FOpen.push_back(C); // silent: the client has to give up by itself
                continue;
            }
            for (qsizetype Sent = 0; Sent < Answer.size();) {
                const ssize_t N = ::send(C, Answer.constData() + Sent, size_t(Answer.size() - Sent), MSG_NOSIGNAL);
                if (N <= 0) break;
                Sent += N;
            }
            ::close(C);
        }
    }

    THandler FHandler;
    int FListen = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::thread FThread;
    std::vector<int> FOpen;
    mutable std::mutex FMutex;
    QList<QByteArray> FHeads;
};

QByteArray Answer(int Status, const QByteArray& Body, const QByteArray& Extra = {}) {
    return "HTTP/1.1 " + QByteArray::number(Status) + " X\r\nContent-Length: " + QByteArray::number(Body.size()) +
        "\r\nConnection: close\r\n" + Extra + "\r\n" + Body;
}

QByteArray PathOf(const QByteArray& Head) {
    const QList<QByteArray> Words = Head.left(Head.indexOf("\r\n")).split(' ');
    return Words.size() > 1 ? Words[1] : QByteArray();
}

QByteArray Route(const QByteArray& Head) {
    const QByteArray Path = PathOf(Head);
    if (Path.startsWith("/home/download/GetversionSW.asp?nomesw=CFG4180")) return Answer(200, "VER. 1.001");
    if (Path == "/empty") return Answer(200, "");
    if (Path == "/missing") return Answer(404, "not here");
    if (Path == "/broken") return Answer(500, "VER. 9.999");
    if (Path == "/moved") return Answer(302, "", "Location: /home/download/GetversionSW.asp?nomesw=CFG4180\r\n");
    if (Path == "/loop") return Answer(302, "", "Location: /loop\r\n");
    if (Path == "/huge") return Answer(200, QByteArray((16 << 20) + 1, 'x'));
    if (Path == "/silent") return {};
    if (Path.startsWith("http://tessaro.invalid/")) // asked of this server as a proxy
        return Answer(200, "via proxy");
    return Answer(404, "");
}

} // namespace

class HttpClientReal : public ::testing::Test {
protected:
    void SetUp() override { SetHttpClient(nullptr); }
    TLocalServer Server{Route};
    THttpTimeouts Short{2000, 5000};
};

TEST_F(HttpClientReal, AnswersWithTheBodyOfASuccessfulReply) {
    EXPECT_EQ(HttpClient().Get(Server.Url("/home/download/GetversionSW.asp?nomesw=CFG4180"), Short),
              std::optional<QByteArray>("VER. 1.001"));
    EXPECT_EQ(HttpClient().Get(Server.Url("/empty"), Short), std::optional<QByteArray>(""));
    EXPECT_EQ(HttpClient().Get(Server.Url("/moved"), Short), std::optional<QByteArray>("VER. 1.001"));
}

TEST_F(HttpClientReal, NoAnswerForErrorsOfEveryKind) {
    for (const char* Path : {"/missing", "/broken", "/loop", "/huge"}) {
        SCOPED_TRACE(Path);
        EXPECT_EQ(HttpClient().Get(Server.Url(Path), Short), std::nullopt);
    }
    EXPECT_EQ(HttpClient().Get("not a url", Short), std::nullopt);
    EXPECT_EQ(HttpClient().Get("", Short), std::nullopt);
    EXPECT_EQ(HttpClient().Get(QString(Server.Url("/empty")).replace("http:", "ftp:"), Short), std::nullopt);
}

TEST_F(HttpClientReal, ClosedPortGivesNoAnswer) {
    // A port that was just free: bind, read its number, close.
    const int Fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(Fd, reinterpret_cast<sockaddr*>(&A), sizeof A), 0);
    socklen_t L = sizeof A;
    ::getsockname(Fd, reinterpret_cast<sockaddr*>(&A), &L);
    ::close(Fd);
    EXPECT_EQ(HttpClient().Get(QStringLiteral("http://127.0.0.1:%1/").arg(ntohs(A.sin_port)), Short), std::nullopt);
}

TEST_F(HttpClientReal, ServerThatNeverAnswersIsBoundedByTheTimeOut) {
    // The total time-out ends the call; the result is what matters, not how long it took.
    EXPECT_EQ(HttpClient().Get(Server.Url("/silent"), THttpTimeouts{1000, 200}), std::nullopt);
    ASSERT_EQ(Server.Heads().size(), 1);
}

TEST_F(HttpClientReal, SendsTheGivenHeaders) {
    HttpClient().Get(
        Server.Url("/empty"), Short,
        {"Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8", "User-Agent: Tessaro"});
    ASSERT_EQ(Server.Heads().size(), 1);
    const QByteArray Head = Server.Heads()[0];
    EXPECT_TRUE(Head.startsWith("GET /empty HTTP/1.")) << Head.constData();
    EXPECT_TRUE(Head.contains("\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"));
    EXPECT_TRUE(Head.contains("\r\nUser-Agent: Tessaro\r\n"));
}

TEST_F(HttpClientReal, CanAskInHttp10) {
    THttpTimeouts Old = Short;
    Old.Http10 = true;
    EXPECT_EQ(HttpClient().Get(Server.Url("/home/download/GetversionSW.asp?nomesw=CFG4180"), Old),
              std::optional<QByteArray>("VER. 1.001"));
    HttpClient().Get(Server.Url("/empty"), Short);
    ASSERT_EQ(Server.Heads().size(), 2);
    EXPECT_TRUE(Server.Heads()[0].startsWith("GET /home/download/GetversionSW.asp?nomesw=CFG4180 HTTP/1.0\r\n"))
        << Server.Heads()[0].constData();
    EXPECT_TRUE(Server.Heads()[1].startsWith("GET /empty HTTP/1.1\r\n")) << Server.Heads()[1].constData();
}

// The user's proxy carries requests to other hosts, never those to this machine.
TEST_F(HttpClientReal, RequestsToThisMachineBypassTheProxy) {
    // The proxy settings of the environment are put back however the test ends.
    struct TSavedEnv {
        const char* Name;
        std::optional<QByteArray> Old;
        explicit TSavedEnv(const char* N) : Name(N) {
            if (qEnvironmentVariableIsSet(Name)) Old = qgetenv(Name);
            qunsetenv(Name);
        }
        ~TSavedEnv() {
            if (Old)
                qputenv(Name, *Old);
            else
                qunsetenv(Name);
        }
    };
    TSavedEnv Saved[] = {TSavedEnv("http_proxy"), TSavedEnv("HTTP_PROXY"), TSavedEnv("no_proxy"),
                         TSavedEnv("NO_PROXY")};
    TLocalServer Proxy(Route);
    qputenv("http_proxy", Proxy.Url("").toUtf8());
    EXPECT_EQ(HttpClient().Get(Server.Url("/empty"), Short), std::optional<QByteArray>(""));
    EXPECT_EQ(HttpClient().Get(QStringLiteral("http://localhost:%1/empty").arg(Server.Url("").section(':', 2)), Short),
              std::optional<QByteArray>(""));
    EXPECT_TRUE(Proxy.Heads().isEmpty());
    EXPECT_EQ(Server.Heads().size(), 2);
    EXPECT_EQ(HttpClient().Get("http://tessaro.invalid/v", Short), std::optional<QByteArray>("via proxy"));
    ASSERT_EQ(Proxy.Heads().size(), 1);
    qputenv("no_proxy", "example.org"); // the user's own list, this machine added to it
    EXPECT_EQ(HttpClient().Get(Server.Url("/empty"), Short), std::optional<QByteArray>(""));
    EXPECT_EQ(HttpClient().Get("http://tessaro.invalid/v", Short), std::optional<QByteArray>("via proxy"));
    EXPECT_EQ(Proxy.Heads().size(), 2);
    EXPECT_EQ(Server.Heads().size(), 3);
}

TEST(HttpClientService, FakeAnswersFromItsTableAndRecords) {
    auto Fake = std::make_shared<TFakeHttpClient>();
    Fake->SetReply("http://a/v", QByteArray("VER. 1.001"));
    Fake->SetReply("http://a/none", std::nullopt);
    SetHttpClient(Fake);
    EXPECT_EQ(HttpClient().Get("http://a/v"), std::optional<QByteArray>("VER. 1.001"));
    EXPECT_EQ(HttpClient().Get("http://a/none"), std::nullopt);
    EXPECT_EQ(HttpClient().Get("http://elsewhere/", THttpTimeouts{1, 2}), std::nullopt);
    ASSERT_EQ(Fake->Requests().size(), 3);
    EXPECT_EQ(Fake->Requests()[2].Url, "http://elsewhere/");
    EXPECT_EQ(Fake->Requests()[2].Timeouts.TotalMs, 2);
    SetHttpClient(nullptr);
    EXPECT_NE(&HttpClient(), Fake.get());
}
