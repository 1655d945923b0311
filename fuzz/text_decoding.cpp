// Text files: any bytes decode; what the system writes decodes back to the text it wrote
// (decode(encode(t)) == t), whatever the text starts with; Windows-1252 goes both ways.
#include "fuzz/FuzzSupport.h"
#include "platform/rtl/Files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size == 0) return 0;
    const QByteArray Bytes = Fuzz_Bytes(Data + 1, Size - 1);
    // The first byte picks where the text comes from, so that every character can be reached.
    QString Text;
    switch (Data[0] % 4) {
        case 0: Text = DecodeText(Bytes); break;
        case 1: Text = QString::fromUtf8(Bytes); break;
        case 2: Text = QString(reinterpret_cast<const QChar*>(Bytes.constData()), Bytes.size() / 2); break;
        default: Text = DecodeCp1252(Bytes); break;
    }
    SplitLines(Text);
    QByteArray Single;
    if (EncodeCp1252(DecodeCp1252(Bytes), Single)) FUZZ_CHECK(Single == Bytes);
    if (!Fuzz_Well_Formed(Text)) return 0; // no file can hold a lone surrogate
    const QByteArray Written = EncodeText(Text);
    const QString Read = DecodeText(Written);
    FUZZ_CHECK(Read == Text, QStringLiteral("wrote %1, read %2").arg(Fuzz_Show(Text), Fuzz_Show(Read)));
    return 0;
}
