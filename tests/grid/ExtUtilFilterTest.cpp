// Filter conditions: comparisons, wildcards, operators, dates; and that odd input always returns.
#include "grid/base/ExtUtil.h"
#include "tests/grid/GridFormatFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

namespace {

QString U(const char* Utf8) { return QString::fromUtf8(Utf8); }

using FilterTest = GridFormatTest;

TEST_F(FilterTest, MatchCondition) {
    struct Case {
        const char* Condition;
        const char* Value;
        bool Expected;
    };
    const Case Cases[] = {
        // comparisons
        {">10&<20", "15", true},
        {">10&<20", "25", false},
        {">=10", "10", true},
        {">10", "10", false},
        {"<=10", "10", true},
        {"<10", "9.5", true},
        {">10", "abc", true}, // texts: "abc" sorts after "10"
        {">9", "10", true}, // numbers, not texts
        {"> 5", "6", true}, // blanks outside quotes go
        {">1,000", "999", false}, // thousand separators dropped
        {">9", "10 ", true},
        {">9", " 10", true}, // blanks around a number: still a number
        {"<=2.5", " 2.5 ", true},
        {">9", "1 0", false}, // a blank inside is no number
        // negated comparisons keep what the comparison leaves out
        {"!>10", "15", false},
        {"!>10", "5", true},
        {"!>10", "10", true},
        {"!<10", "5", false},
        {"!<10", "15", true},
        {"!>=10", "10", false},
        {"!<=10", "11", true},
        {"!>10", "abc", false}, // texts compare as texts
        // wildcards
        {"a*", "apple", true},
        {"a*", "a", true},
        {"a*", "banana", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"*an*", "banana", true},
        {"!a*", "banana", true},
        {"!a*", "apple", false},
        {"a**c", "abc", true},
        {"*", "", true},
        {"?", "", false},
        {"", "", true},
        {"", "x", false},
        {"a b", "ab", true}, // blanks outside quotes removed first
        {"\"a b\"", "a b", true},
        {"\"a b\"", "ab", false},
        {"=5", "5", true}, // one leading "=" dropped
        // operators: left to right, no precedence
        {"a|b", "b", true},
        {"a;b", "b", true},
        {"a^b", "a", true},
        {"a&b", "a", false},
        {"a|b&c", "a", false},
        {"*a*&*n*", "banana", true},
        // groups
        {"(>10&<20)|5", "15", true},
        {"(>10&<20)|5", "5", true},
        {"(>10&<20)|=5", "5", false}, // "=5" inside is a pattern
        {"5|(>10&<20)", "15", true},
        {"((a))", "a", true},
        {"(abc", "abc", true}, // unclosed group runs to the end
        {"((a|b", "b", true},
        {"(", "", true},
        // quotes
        {"\"a|b\"", "a|b", true},
        {">\"b c\"", "b d", true},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(MatchCondition(U(C.Condition), U(C.Value), true), C.Expected) << C.Condition << " on " << C.Value;
}

TEST_F(FilterTest, CaseSensitivity) {
    EXPECT_TRUE(MatchCondition(U("ABC"), U("abc"), false));
    EXPECT_FALSE(MatchCondition(U("ABC"), U("abc"), true));
    EXPECT_TRUE(MatchCondition(U("\xC3\xA9*"), U("\xC3\x89t\xC3\xA9"), false));
    EXPECT_TRUE(MatchTermCase(U("a?C"), U("AbC"), false));
    EXPECT_FALSE(MatchTermCase(U("a?C"), U("AbC"), true));
}

TEST_F(FilterTest, DatesCompareAsDates) {
    EXPECT_TRUE(MatchCondition(U(">01/02/2020"), U("15/03/2020"), false));
    EXPECT_FALSE(MatchCondition(U(">01/02/2020"), U("01/01/2020"), false));
    // As texts 02/01/2021 would sort before 15/03/2020.
    EXPECT_TRUE(MatchCondition(U(">15/03/2020"), U("02/01/2021"), false));
    // A date with a time needs quotes, since blanks outside quotes are removed.
    EXPECT_TRUE(MatchCondition(U("<\"10/01/2020 12:00\""), U("2/1/2020 09:00"), false));
    EXPECT_FALSE(MatchCondition(U("<\"10/01/2020 12:00\""), U("10/01/2020 12:01"), false));
    FormatSettings.ShortDateFormat = U("MM/dd/yyyy");
    EXPECT_TRUE(MatchCondition(U(">12/31/2019"), U("01/01/2020"), false));
}

TEST_F(FilterTest, ParseDateTimeByFormat) {
    struct Case {
        const char* Text;
        bool Ok;
        int Y, Mo, D, H, Mi, S;
    };
    const Case Cases[] = {
        {"15/03/2020", true, 2020, 3, 15, 0, 0, 0},
        {"15/03/2020 10:30", true, 2020, 3, 15, 10, 30, 0}, // no seconds: minutes are the rest
        {"15/03/2020 10:30:15", true, 2020, 3, 15, 10, 30, 15},
        {" 1/1/0020 ", true, 20, 1, 1, 0, 0, 0}, // the year as written
        {"31/12/9999 23:59:59", true, 9999, 12, 31, 23, 59, 59},
        {"29/02/2024 0:0", true, 2024, 2, 29, 0, 0, 0},
        {"29/02/2023", false, 0, 0, 0, 0, 0, 0},
        {"32/01/2020", false, 0, 0, 0, 0, 0, 0},
        {"31/13/2020", false, 0, 0, 0, 0, 0, 0},
        {"31/04/2020", false, 0, 0, 0, 0, 0, 0},
        {"15/03/2020 24:00", false, 0, 0, 0, 0, 0, 0},
        {"15/03/2020 10:60", false, 0, 0, 0, 0, 0, 0},
        {"15/03/2020 10:30:61", false, 0, 0, 0, 0, 0, 0},
        {"15/03", false, 0, 0, 0, 0, 0, 0},
        {"a/b/c", false, 0, 0, 0, 0, 0, 0},
        {"10", false, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& C : Cases) {
        TDateTime V = -1;
        EXPECT_EQ(ParseDateTimeByFormat(U(C.Text), V), C.Ok) << C.Text;
        if (C.Ok) {
            EXPECT_DOUBLE_EQ(V, EncodeDate(C.Y, C.Mo, C.D) + EncodeTime(C.H, C.Mi, C.S, 0)) << C.Text;
        }
    }
    // A time without its separator fails, but the date has been worked out.
    TDateTime V = -1;
    EXPECT_FALSE(ParseDateTimeByFormat(U("15/03/2020 1030"), V));
    EXPECT_EQ(V, EncodeDate(2020, 3, 15));
    FormatSettings.ShortDateFormat = U("yyyy-MM-dd");
    FormatSettings.DateSeparator = '-';
    EXPECT_TRUE(ParseDateTimeByFormat(U("2020-03-15"), V));
    EXPECT_EQ(V, EncodeDate(2020, 3, 15));
}

TEST_F(FilterTest, Helpers) {
    EXPECT_EQ(RemoveSpacesOutsideQuotes(U(" a b \" c d \" e ")), U("ab\" c d \"e"));
    EXPECT_EQ(MatchingParenPos(U("(a(b)c)d")), 7);
    EXPECT_EQ(MatchingParenPos(U("x(a)")), 4);
    EXPECT_EQ(MatchingParenPos(U("((a)")), 0);
    EXPECT_EQ(MatchingParenPos(U("abc")), 0);
    int P = 0;
    EXPECT_EQ(FindCharOutsideQuotes(U("&|"), U("\"a&b\"|c"), P), QChar('|'));
    EXPECT_EQ(P, 6);
    EXPECT_EQ(FindCharOutsideQuotes(U("&|"), U("\"a&b\""), P), QChar(0));
    EXPECT_EQ(P, -1);
    // One term on its own: an "&" inside it needs both comparisons.
    EXPECT_TRUE(MatchTerm(U(">10&<20"), U("15")));
    EXPECT_FALSE(MatchTerm(U(">10&<20"), U("25")));
    EXPECT_FALSE(MatchTerm(U(">10&<20"), U("5")));
    EXPECT_FALSE(MatchTerm(U("!>10&<20"), U("15")));
    EXPECT_TRUE(MatchTerm(U("!>10&<20"), U("25")));
    UseSeparators(',', '.');
    EXPECT_EQ(NormalizeNumberForCompare(U("1.234,5 kg")), U("1234.5 kg"));
}

// Runs Work(i) for i = 0..Count-1 on a worker thread; an input that has not returned after
// Bound fails the test with Describe(i) instead of hanging the run. A finished input never waits.
void EachReturns(int Count, const std::function<void(int)>& Work, const std::function<std::string(int)>& Describe,
                 std::chrono::seconds Bound = std::chrono::seconds(10)) {
    struct TState {
        std::mutex M;
        std::condition_variable CV;
        int Done = 0;
        bool Finished = false;
    };
    auto State = std::make_shared<TState>();
    std::thread Worker([State, Count, Work] {
        for (int I = 0; I < Count; ++I) {
            Work(I);
            std::lock_guard<std::mutex> L(State->M);
            State->Done = I + 1;
            State->CV.notify_all();
        }
        std::lock_guard<std::mutex> L(State->M);
        State->Finished = true;
        State->CV.notify_all();
    });
    std::unique_lock<std::mutex> L(State->M);
    while (!State->Finished) {
        const int Before = State->Done;
        if (!State->CV.wait_for(L, Bound, [&] { return State->Finished || State->Done != Before; })) {
            ADD_FAILURE() << "no return within the bound for input: " << Describe(Before);
            L.unlock();
            Worker.detach(); // the process ends with the test run; the state outlives us
            return;
        }
    }
    L.unlock();
    Worker.join();
}

TEST_F(FilterTest, WildcardsStayFastOnHardPatterns) {
    // Backtracking over every star would take exponential time on these.
    struct Case {
        QString Condition, Value;
        bool Expected;
    };
    const QString Many = QString(3000, QChar('a'));
    // Shared with the worker, which may outlive the test when an input never returns.
    const auto Cases = std::make_shared<const std::vector<Case>>(std::vector<Case>{
        {U("*a*a*a*a*a*a*a*a*a*a*a*a*b"), Many, false},
        {U("*a*a*a*a*a*a*a*a*a*a*a*a"), Many, true},
        {U("*?*?*?*?*?*?*?*?*?*?*?*?*b"), Many, false},
        {QString(200, QChar('(')) + U("a"), U("b"), false},
    });
    const auto Results = std::make_shared<std::vector<int>>(Cases->size(), -1);
    EachReturns(
        int(Cases->size()),
        [=](int I) {
            (*Results)[size_t(I)] = MatchCondition(Cases->at(size_t(I)).Condition, Cases->at(size_t(I)).Value, true);
        },
        [=](int I) { return Cases->at(size_t(I)).Condition.toStdString(); });
    for (size_t I = 0; I < Cases->size(); ++I)
        EXPECT_EQ((*Results)[I], int(Cases->at(I).Expected)) << Cases->at(I).Condition.toStdString();
}

TEST_F(FilterTest, RandomConditionsAndCsvLinesAlwaysReturn) {
    std::mt19937 Rng(20261210);
    auto RandomText = [&](const QString& Alphabet, int MaxLen) {
        const int Len = int(Rng() % unsigned(MaxLen + 1));
        QString S;
        for (int I = 0; I < Len; ++I) S += Alphabet.at(int(Rng() % unsigned(Alphabet.size())));
        return S;
    };
    const QString ConditionChars = U("()&|;^!<>=*?\" a1.,/-:");
    const QString ValueChars = U("a1./: ,-");
    const QString CsvChars = QStringLiteral("\",a ;\t~^") + QChar(11);
    const int Count = 3000;
    auto Conditions = std::make_shared<std::vector<QString>>();
    auto Values = std::make_shared<std::vector<QString>>();
    auto Lines = std::make_shared<std::vector<QString>>();
    for (int I = 0; I < Count; ++I) {
        Conditions->push_back(RandomText(ConditionChars, 60));
        Values->push_back(RandomText(ValueChars, 30));
        Lines->push_back(RandomText(CsvChars, 80));
    }
    auto Failures = std::make_shared<std::atomic<int>>(0);
    EachReturns(
        Count,
        [=](int I) {
            try {
                MatchCondition(Conditions->at(I), Values->at(I), I % 2 == 0);
                SplitCSVLine(Lines->at(I), QChar(','), I % 3 == 0);
                SplitCSVLine(Lines->at(I), QChar(';'), false);
            } catch (...) {
                ++*Failures;
            }
        },
        [=](int I) { return (Conditions->at(I) + U(" | ") + Values->at(I) + U(" | ") + Lines->at(I)).toStdString(); });
    EXPECT_EQ(*Failures, 0);
}

} // namespace
