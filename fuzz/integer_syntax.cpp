// The one integer syntax: its entries (UTF-16, QStringView, UTF-8 with a length, NUL-terminated,
// StrToIntDef, StrToInt) all give the same answer; what IntToStr and IntToHex write reads back.
#include "fuzz/FuzzSupport.h"
#include "platform/rtl/SysUtils.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const QByteArray Bytes = Fuzz_Bytes(Data, Size);
    const std::string_view Utf8(Bytes.constData(), size_t(Bytes.size()));
    int FromUtf8 = 0;
    const bool OkUtf8 = TryStrToInt(Utf8, FromUtf8);
    for (const QString& Text : {QString::fromUtf8(Bytes), QString::fromLatin1(Bytes)}) {
        int A = 0, B = 0;
        const bool OkA = TryStrToInt(Text, A);
        const bool OkB = TryStrToInt(QStringView(Text), B);
        FUZZ_CHECK(OkA == OkB && (!OkA || A == B), Fuzz_Show(Text));
        FUZZ_CHECK(OkA == OkUtf8 && (!OkA || A == FromUtf8), Fuzz_Show(Text));
        FUZZ_CHECK(StrToIntDef(Text, 12345) == (OkA ? A : 12345));
        bool Raised = false;
        try {
            FUZZ_CHECK(StrToInt(Text) == A);
        } catch (const EConvertError&) {
            Raised = true;
        }
        FUZZ_CHECK(Raised == !OkA);
    }
    if (!Bytes.contains('\0')) {
        int FromC = 0;
        const bool OkC = TryStrToInt(Bytes.constData(), FromC);
        FUZZ_CHECK(OkC == OkUtf8 && (!OkC || FromC == FromUtf8));
    }
    if (OkUtf8) {
        int Back = 0;
        FUZZ_CHECK(TryStrToInt(IntToStr(FromUtf8), Back) && Back == FromUtf8);
        FUZZ_CHECK(TryStrToInt(u'$' + IntToHex(FromUtf8, 8), Back) && Back == FromUtf8);
    }
    return 0;
}
