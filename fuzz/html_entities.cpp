// HTML entities: decoding undoes encoding exactly, with the grid's table of named characters and
// without it; any text decodes.
#include "fuzz/FuzzSupport.h"
#include "grid/base/ExtUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const QString Text = QString::fromUtf8(Fuzz_Bytes(Data, Size));
    for (const bool Table : {false, true}) {
        DecodeHTMLEntities(Text, Table);
        const QString Encoded = EncodeHTMLEntities(Text, Table);
        const QString Back = DecodeHTMLEntities(Encoded, Table);
        FUZZ_CHECK(Back == Text,
                   QStringLiteral("%1 -> %2 -> %3").arg(Fuzz_Show(Text), Fuzz_Show(Encoded), Fuzz_Show(Back)));
    }
    return 0;
}
