#include "platform/net/HttpClient.h"

#include <curl/curl.h>

#include <mutex>

namespace {

constexpr size_t MaxBody = 16u << 20;

struct TBody {
    QByteArray Data;
    bool TooLarge = false;
};

size_t WriteBody(char* Ptr, size_t Size, size_t Count, void* User) {
    auto* Body = static_cast<TBody*>(User);
    const size_t N = Size * Count;
    if (size_t(Body->Data.size()) + N > MaxBody) {
        Body->TooLarge = true;
        return 0; // makes curl stop with a write error
    }
    Body->Data.append(Ptr, qsizetype(N));
    return N;
}

// The hosts that never go through a proxy: those the user's no_proxy names, and this machine,
// which a proxy elsewhere could not reach (and which should never leave it).
QByteArray NoProxyList() {
    QByteArray User = qgetenv("no_proxy");
    if (User.isEmpty()) User = qgetenv("NO_PROXY");
    User = User.trimmed();
    if (User == "*") return User;
    const QByteArray Local = "localhost,127.0.0.1,127.0.0.0/8,::1";
    return User.isEmpty() ? Local : User + ',' + Local;
}

class TCurlHttpClient : public IHttpClient {
public:
    TCurlHttpClient() {
        static std::once_flag Once;
        std::call_once(Once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    }

protected:
    std::optional<QByteArray> DoGet(const QString& Url, const THttpTimeouts& Timeouts,
                                    const THttpHeaders& Headers) override {
        CURL* H = curl_easy_init();
        if (!H) return std::nullopt;
        TBody Body;
        curl_slist* List = nullptr;
        for (const QByteArray& Line : Headers) List = curl_slist_append(List, Line.constData());
        const QByteArray U = Url.toUtf8();
        const QByteArray NoProxy = NoProxyList();
        curl_easy_setopt(H, CURLOPT_NOPROXY, NoProxy.constData());
        curl_easy_setopt(H, CURLOPT_URL, U.constData());
        curl_easy_setopt(H, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(H, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(H, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(H, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(H, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(H, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(H, CURLOPT_CONNECTTIMEOUT_MS, long(qMax(1, Timeouts.ConnectMs)));
        curl_easy_setopt(H, CURLOPT_TIMEOUT_MS, long(qMax(1, Timeouts.TotalMs)));
        curl_easy_setopt(H, CURLOPT_FAILONERROR, 1L);
        if (Timeouts.Http10) curl_easy_setopt(H, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
        curl_easy_setopt(H, CURLOPT_WRITEFUNCTION, WriteBody);
        curl_easy_setopt(H, CURLOPT_WRITEDATA, &Body);
        if (List) curl_easy_setopt(H, CURLOPT_HTTPHEADER, List);
        const CURLcode Rc = curl_easy_perform(H);
        long Status = 0;
        curl_easy_getinfo(H, CURLINFO_RESPONSE_CODE, &Status);
        curl_easy_cleanup(H);
        curl_slist_free_all(List);
        if (Rc != CURLE_OK || Body.TooLarge || Status < 200 || Status > 299) return std::nullopt;
        return Body.Data;
    }
};

std::shared_ptr<IHttpClient>& Current() {
    static std::shared_ptr<IHttpClient> Client = std::make_shared<TCurlHttpClient>();
    return Client;
}

} // namespace

IHttpClient& HttpClient() { return *Current(); }

void SetHttpClient(std::shared_ptr<IHttpClient> Service) {
    Current() = Service ? std::move(Service) : std::make_shared<TCurlHttpClient>();
}
