// The XML document from bytes in any encoding: what loads saves, what is saved loads again, and
// saving that gives the same bytes (nothing gained or lost per load and save).
#include "fuzz/FuzzSupport.h"
#include "platform/rtl/Files.h"
#include "platform/xml/XMLDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    TXMLDocument First;
    try {
        First.LoadFromBytes(Fuzz_Bytes(Data, Size));
    } catch (const EXMLDocError&) {
        FUZZ_CHECK(!First.Active());
        return 0;
    }
    const QByteArray Saved = First.SaveToBytes();
    TXMLDocument Second;
    try {
        Second.LoadFromBytes(Saved);
    } catch (const EXMLDocError& E) {
        Fuzz_Fail("a saved document loads again", __FILE__, __LINE__,
                  E.Message() + QStringLiteral("\n     saved: ") + Fuzz_Show(QString::fromUtf8(Saved)));
    }
    const QByteArray Again = Second.SaveToBytes();
    FUZZ_CHECK(Again == Saved,
               QStringLiteral("first: %1\n     again: %2")
                   .arg(Fuzz_Show(QString::fromUtf8(Saved)), Fuzz_Show(QString::fromUtf8(Again))));
    // The text form reads the same document (when the bytes are text: a file without a
    // declaration may hold bytes that are not UTF-8, which are kept as they are).
    if (!IsUtf8(Saved)) return 0;
    TXMLDocument Third;
    try {
        Third.LoadFromXML(QString::fromUtf8(Saved));
    } catch (const EXMLDocError& E) {
        Fuzz_Fail("a saved document loads from its text", __FILE__, __LINE__, E.Message());
    }
    FUZZ_CHECK(Third.SaveToBytes() == Saved);
    return 0;
}
