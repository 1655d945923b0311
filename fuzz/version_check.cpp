// The version check's answer: any reply body gives an answer without raising; the query through
// the HTTP service answers as the reply rule does; a version number is four digits or -1.
#include "app/USoftOptions_Version.h"
#include "fuzz/FuzzSupport.h"
#include "platform/rtl/SysUtils.h"

#include <memory>

namespace {
// Answers every request with the one body (the test client keeps every request: not for a
// million runs).
class TReplyService : public IHttpClient {
public:
    QByteArray Body;

protected:
    std::optional<QByteArray> DoGet(const QString&, const THttpTimeouts&, const THttpHeaders&) override { return Body; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static const std::shared_ptr<TReplyService> Service = [] {
        auto S = std::make_shared<TReplyService>();
        SetHttpClient(S);
        return S;
    }();
    const QByteArray Body = Fuzz_Bytes(Data, Size);
    const QString Reply = QString::fromUtf8(Body);
    const int Version = Conv_Version(Reply);
    FUZZ_CHECK(Version == -1 || (Version >= 0 && Version <= 9999), Fuzz_Show(Reply));
    const bool Newer = Reply_Names_Newer_Version(Reply);
    FUZZ_CHECK(!Newer || Conv_Version(Trim(Reply)) > Conv_Version(Const_SW_Version), Fuzz_Show(Reply));
    Service->Body = Body;
    FUZZ_CHECK(Check_Version() == Newer, Fuzz_Show(Reply));
    return 0;
}
