// Embedded control tags: any text parses; a control's value set through SetControlValue reads
// back as set, and its other attributes (PROP, MAXLEN) stay as they were.
#include "fuzz/FuzzSupport.h"
#include "grid/base/ExtUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const QStringList Parts = QString::fromUtf8(Fuzz_Bytes(Data, Size)).split(QChar(0));
    QString Text = Parts.value(0);
    const QString NewValue = Parts.value(1);
    HasControlTag(Text);
    QString Type, ID, MaxLen, Prop, Height, Width, Value;
    ParseControlTag(Text, Type, ID, MaxLen, Prop, Height, Width, Value);
    ClearRadioControls(Text);

    // The controls in turn, by their IDs.
    QString Id = NextEditControlID(Text, QString());
    for (int Turn = 0; Turn < 4 && !Id.isEmpty(); ++Turn, Id = NextEditControlID(Text, Id)) {
        QString Before;
        if (!GetControlValue(Text, Id, Before)) break;
        const QString PropBefore = GetControlProp(Text, Id);
        const int MaxLenBefore = GetControlMaxLen(Text, Id);
        QString Changed = Text;
        FUZZ_CHECK(SetControlValue(Changed, Id, NewValue), Fuzz_Show(Id));
        QString After;
        FUZZ_CHECK(GetControlValue(Changed, Id, After),
                   QStringLiteral("id %1 lost in %2").arg(Fuzz_Show(Id), Fuzz_Show(Changed)));
        FUZZ_CHECK(
            After == NewValue,
            QStringLiteral("set %1, read %2 in %3").arg(Fuzz_Show(NewValue), Fuzz_Show(After), Fuzz_Show(Changed)));
        FUZZ_CHECK(GetControlProp(Changed, Id) == PropBefore, Fuzz_Show(Changed));
        FUZZ_CHECK(GetControlMaxLen(Changed, Id) == MaxLenBefore, Fuzz_Show(Changed));
    }
    return 0;
}
