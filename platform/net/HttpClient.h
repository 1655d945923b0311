#pragma once
// HTTP GET as the version check uses it: one bounded request, the body or "no answer". Goes
// through a replaceable service so that tests answer from a table instead of the network.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>

struct THttpTimeouts {
    int ConnectMs = 5000; // to establish the connection
    int TotalMs = 15000; // for the whole request, the transfer included
    bool Http10 = false; // send the request as HTTP/1.0 (some old services expect it)
};

// Extra request header lines, each "Name: value".
using THttpHeaders = QList<QByteArray>;

class IHttpClient {
public:
    virtual ~IHttpClient() = default;
    // The body of a successful (2xx) answer. No answer at all, a time-out, an error status, a
    // malformed address or a body larger than 16 MiB give nullopt; nothing raises. At most five
    // redirects are followed.
    std::optional<QByteArray> Get(const QString& Url, const THttpTimeouts& Timeouts = {},
                                  const THttpHeaders& Headers = {}) {
        return DoGet(Url, Timeouts, Headers);
    }

protected:
    virtual std::optional<QByteArray> DoGet(const QString& Url, const THttpTimeouts& Timeouts,
                                            const THttpHeaders& Headers) = 0;
};

IHttpClient& HttpClient(); // the service in force (libcurl by default)
void SetHttpClient(std::shared_ptr<IHttpClient> Service); // nullptr restores the real client

// A client for tests: answers from a table of URL -> body; a URL not in the table, or set to
// nullopt, gets no answer. Records every request.
class TFakeHttpClient : public IHttpClient {
public:
    struct TRequest {
        QString Url;
        THttpTimeouts Timeouts;
        THttpHeaders Headers;
    };
    void SetReply(const QString& Url, std::optional<QByteArray> Body) { FReplies[Url] = std::move(Body); }
    const QList<TRequest>& Requests() const { return FRequests; }

protected:
    std::optional<QByteArray> DoGet(const QString& Url, const THttpTimeouts& Timeouts,
                                    const THttpHeaders& Headers) override {
        FRequests.append({Url, Timeouts, Headers});
        auto It = FReplies.constFind(Url);
        return It == FReplies.constEnd() ? std::nullopt : *It;
    }

private:
    QMap<QString, std::optional<QByteArray>> FReplies;
    QList<TRequest> FRequests;
};
