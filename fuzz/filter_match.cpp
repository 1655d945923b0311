// Filter conditions: any condition over any value answers (no crash, no runaway nesting); a plain
// word matches itself, "*" matches everything.
#include "fuzz/FuzzSupport.h"
#include "grid/base/ExtUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const QStringList Parts = QString::fromUtf8(Fuzz_Bytes(Data, Size)).split(QChar(0));
    const QString Condition = Parts.value(0);
    const QString Value = Parts.value(1);
    const bool Sensitive = Parts.size() > 2;
    MatchCondition(Condition, Value, Sensitive);
    MatchTerm(Condition, Value);
    int Position = 0;
    FindCharOutsideQuotes(QStringLiteral("(;^&|"), Condition, Position);
    MatchingParenPos(Condition);
    RemoveSpacesOutsideQuotes(Condition);
    TDateTime When;
    ParseDateTimeByFormat(Value, When);
    NormalizeNumberForCompare(Value);

    FUZZ_CHECK(MatchCondition(QStringLiteral("*"), Value, Sensitive), Fuzz_Show(Value));
    QString Word;
    for (const QChar C : Condition)
        if ((C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z') || (C >= u'0' && C <= u'9')) Word += C;
    if (!Word.isEmpty()) {
        FUZZ_CHECK(MatchCondition(Word, Word, true), Fuzz_Show(Word));
        FUZZ_CHECK(MatchCondition(Word, Word, false), Fuzz_Show(Word));
        FUZZ_CHECK(MatchCondition(Word, Word.toLower(), false), Fuzz_Show(Word));
    }
    return 0;
}
