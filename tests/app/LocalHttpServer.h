#pragma once
// A tiny HTTP server for tests: listens on 127.0.0.1 (an ephemeral port) in a thread of its own
// and answers each connection with the raw bytes the test gives it (status line included), or
// closes it without a word. It records the request line of every connection.

#include <QByteArray>
#include <QList>
#include <QString>

#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

class TLocalHttpServer {
public:
    TLocalHttpServer() {
        FListen = ::socket(AF_INET, SOCK_STREAM, 0);
        if (FListen < 0) throw std::runtime_error("socket() failed");
        sockaddr_in Addr{};
        Addr.sin_family = AF_INET;
        Addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        Addr.sin_port = 0;
        socklen_t Len = sizeof Addr;
        if (::bind(FListen, reinterpret_cast<sockaddr*>(&Addr), sizeof Addr) != 0 || ::listen(FListen, 8) != 0 ||
            ::getsockname(FListen, reinterpret_cast<sockaddr*>(&Addr), &Len) != 0) {
            ::close(FListen);
            throw std::runtime_error("cannot listen on 127.0.0.1");
        }
        FPort = ntohs(Addr.sin_port);
        FThread = std::thread([this] { Serve(); });
    }

    ~TLocalHttpServer() {
        FStop = true;
        FThread.join();
        ::close(FListen);
    }

    int Port() const { return FPort; }
    QString BaseUrl() const { return QStringLiteral("http://127.0.0.1:%1/").arg(FPort); }

    // The raw answer to every following request; an empty answer closes the connection unanswered.
    void SetResponse(const QByteArray& Raw) {
        std::lock_guard<std::mutex> Lock(FMutex);
        FResponse = Raw;
    }
    // A 200 answer with Body.
    void SetBody(const QByteArray& Body) {
        SetResponse("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(Body.size()) +
                    "\r\nConnection: close\r\n\r\n" + Body);
    }
    QList<QByteArray> RequestLines() const {
        std::lock_guard<std::mutex> Lock(FMutex);
        return FRequestLines;
    }
    // The head of every request as received: request line and header lines, each without its
    // line end.
    QList<QList<QByteArray>> RequestHeads() const {
        std::lock_guard<std::mutex> Lock(FMutex);
        return FRequestHeads;
    }

private:
    void Serve() {
        while (!FStop) {
            pollfd P{FListen, POLLIN, 0};
            if (::poll(&P, 1, 20) <= 0) continue;
            const int Conn = ::accept(FListen, nullptr, nullptr);
            if (Conn < 0) continue;
            Answer(Conn);
            ::close(Conn);
        }
    }

    void Answer(int Conn) {
        QByteArray Request;
        char Buffer[4096];
        while (!Request.contains("\r\n\r\n") && Request.size() < 65536) {
            pollfd P{Conn, POLLIN, 0};
            if (::poll(&P, 1, 2000) <= 0) break;
            const ssize_t n = ::recv(Conn, Buffer, sizeof Buffer, 0);
            if (n <= 0) break;
            Request.append(Buffer, int(n));
        }
        QByteArray Response;
        {
            std::lock_guard<std::mutex> Lock(FMutex);
            FRequestLines.append(Request.left(Request.indexOf("\r\n")));
            const qsizetype End = Request.indexOf("\r\n\r\n");
            FRequestHeads.append(Request.left(End < 0 ? Request.size() : End).split('\n'));
            for (QByteArray& Line : FRequestHeads.last())
                if (Line.endsWith('\r')) Line.chop(1);
            Response = FResponse;
        }
        qsizetype Sent = 0;
        while (Sent < Response.size()) {
            const ssize_t n = ::send(Conn, Response.constData() + Sent, size_t(Response.size() - Sent), MSG_NOSIGNAL);
            if (n <= 0) break;
            Sent += n;
        }
    }

    int FListen = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::thread FThread;
    mutable std::mutex FMutex;
    QByteArray FResponse;
    QList<QByteArray> FRequestLines;
    QList<QList<QByteArray>> FRequestHeads;
};
