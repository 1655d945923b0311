#include "platform/rtl/Classes.h"
#include "platform/rtl/Files.h"
#include "tests/platform/rtl/QtPrint.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QStringList Items(const TStrings& L) { return L.ToStringList(); }

TEST(StringList, AddInsertDeleteMoveExchangeKeepObjects) {
    TStringList l;
    TObject a, b;
    l.Add("one");
    l.AddObject("two", &a);
    l.Insert(0, "zero");
    l.InsertObject(3, "three", &b);
    EXPECT_EQ(Items(l), QStringList({"zero", "one", "two", "three"}));
    EXPECT_EQ(l.Objects(2), &a);
    l.Move(2, 0);
    EXPECT_EQ(Items(l), QStringList({"two", "zero", "one", "three"}));
    EXPECT_EQ(l.Objects(0), &a);
    l.Exchange(0, 3);
    EXPECT_EQ(l[0], "three");
    EXPECT_EQ(l.Objects(0), &b);
    EXPECT_EQ(l.Objects(3), &a);
    l.SetStrings(3, "deux");
    EXPECT_EQ(l.Objects(3), &a);
    l.Delete(1);
    EXPECT_EQ(Items(l), QStringList({"three", "one", "deux"}));
    EXPECT_EQ(l.IndexOfObject(&a), 2);
    EXPECT_EQ(l.IndexOf("ONE"), 1); // case is ignored by default
    EXPECT_EQ(l.IndexOf("four"), -1);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
}

TEST(StringList, IndexErrorsNameTheIndex) {
    TStringList l;
    l.Add("a");
    auto expectIndexError = [](const std::function<void()>& f, int index) {
        try {
            f();
            ADD_FAILURE() << "no error for index " << index;
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (%1)").arg(index));
        }
    };
    expectIndexError([&] { l.Strings(1); }, 1);
    expectIndexError([&] { (void)l[-1]; }, -1);
    expectIndexError([&] { l.Delete(5); }, 5);
    expectIndexError([&] { l.Insert(2, "x"); }, 2);
    expectIndexError([&] { l.SetObjects(3, nullptr); }, 3);
    expectIndexError([&] { l.Exchange(0, 1); }, 1);
    expectIndexError([&] { l.Move(0, 1); }, 1);
    EXPECT_EQ(Items(l), QStringList({"a"}));
}

TEST(StringList, SortedListsKeepOrderAndApplyDuplicates) {
    struct {
        TDuplicates dup;
        QStringList expect;
        bool raises;
    } cases[] = {
        {dupIgnore, {"apple", "Banana", "cherry"}, false},
        {dupAccept, {"apple", "banana", "Banana", "cherry"}, false},
        {dupError, {"apple", "Banana", "cherry"}, true},
    };
    for (const auto& c : cases) {
        TStringList l;
        l.SetDuplicates(c.dup);
        l.SetSorted(true);
        l.Add("cherry");
        l.Add("Banana");
        l.Add("apple");
        if (c.raises)
            EXPECT_THROW(l.Add("banana"), EListError);
        else
            l.Add("banana");
        EXPECT_EQ(Items(l), c.expect) << c.dup;
        int index = -1;
        EXPECT_TRUE(l.Find("BANANA", index));
        EXPECT_EQ(index, 1);
        EXPECT_FALSE(l.Find("blueberry", index));
        EXPECT_EQ(index, c.dup == dupAccept ? 3 : 2);
        EXPECT_THROW(l.Insert(0, "zzz"), EListError);
        EXPECT_THROW(l.SetStrings(0, "zzz"), EListError);
    }
}

TEST(StringList, CaseSensitivityDecidesSortingAndSearch) {
    TStringList l;
    l.SetCommaText("b,B,a,A");
    l.SetCaseSensitive(true);
    l.SetSorted(true);
    EXPECT_EQ(Items(l), QStringList({"A", "B", "a", "b"}));
    EXPECT_EQ(l.IndexOf("b"), 3);
    l.SetCaseSensitive(false); // re-sorts, stably
    EXPECT_EQ(Items(l), QStringList({"A", "a", "B", "b"}));
    EXPECT_EQ(l.IndexOf("b"), 2);
}

TEST(StringList, CustomSortSurvivesAnInconsistentComparison) {
    TStringList l;
    for (int i = 0; i < 100; ++i) l.Add(IntToStr(i));
    int calls = 0;
    l.CustomSort([&](TStringList*, int, int) { return (++calls % 3) - 1; });
    EXPECT_EQ(l.Count(), 100);
    l.CustomSort([](TStringList* L, int a, int b) { return StrToInt(L->Strings(b)) - StrToInt(L->Strings(a)); });
    EXPECT_EQ(l[0], "99");
    EXPECT_EQ(l[99], "0");
}

TEST(StringList, NamesAndValues) {
    TStringList l;
    l.SetText("Port=502\r\nIP=192.168.2.205\nflag\nEmpty=\nA=b=c");
    EXPECT_EQ(l.Names(0), "Port");
    EXPECT_EQ(l.Names(2), "");
    EXPECT_EQ(l.ValueFromIndex(2), "");
    EXPECT_EQ(l.Values("ip"), "192.168.2.205");
    EXPECT_EQ(l.Values("A"), "b=c");
    EXPECT_EQ(l.Values("missing"), "");
    l.SetValues("Port", "503");
    l.SetValues("New", "1");
    l.SetValues("IP", ""); // an empty value removes the entry
    EXPECT_EQ(Items(l), QStringList({"Port=503", "flag", "Empty=", "A=b=c", "New=1"}));
    l.SetValueFromIndex(0, "504");
    EXPECT_EQ(l[0], "Port=504");
    l.SetNameValueSeparator(u':');
    l.Add("key:v");
    EXPECT_EQ(l.Values("KEY"), "v");
}

TEST(StringList, DelimitedAndCommaText) {
    struct {
        const char* text;
        QStringList items;
    } reads[] = {
        {"a,b,c", {"a", "b", "c"}},
        {"a b,c", {"a", "b", "c"}}, // a blank delimits too when not strict
        {"\"a b\",\"say \"\"hi\"\"\"", {"a b", "say \"hi\""}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {"  a  ,  b  ", {"a", "b"}},
        {"", {}},
        {"\"unclosed", {"unclosed"}},
    };
    for (const auto& r : reads) {
        TStringList l;
        l.SetCommaText(r.text);
        EXPECT_EQ(Items(l), r.items) << r.text;
    }
    TStringList l;
    l.AddStrings(QStringList({"plain", "with blank", "with,comma", "q\"uote", ""}));
    EXPECT_EQ(l.CommaText(), "plain,\"with blank\",\"with,comma\",\"q\"\"uote\",");
    TStringList back;
    back.SetCommaText(l.CommaText());
    EXPECT_EQ(Items(back), Items(l));
    TStringList single;
    single.Add("");
    EXPECT_EQ(single.CommaText(), "\"\"");

    // A NUL outside quotes separates like a blank (it once stalled the reader for good); inside
    // quotes it is kept, so a text holding one goes round unchanged.
    const QString nul(QChar(0));
    TStringList withNul;
    withNul.SetCommaText("a" + nul + "b," + nul + nul + ",c" + nul);
    EXPECT_EQ(Items(withNul), QStringList({"a", "b", "", "c"}));
    withNul.Clear();
    withNul.Add("x" + nul + "y");
    TStringList nulBack;
    nulBack.SetCommaText(withNul.CommaText());
    EXPECT_EQ(Items(nulBack), QStringList({"x" + nul + "y"}));

    TStringList strict;
    strict.SetDelimiter(u';');
    strict.SetStrictDelimiter(true);
    strict.SetDelimitedText(" a b ;c");
    EXPECT_EQ(Items(strict), QStringList({" a b ", "c"}));
    EXPECT_EQ(strict.DelimitedText(), " a b ;c");
    EXPECT_EQ(strict.Delimiter(), u';'); // SetCommaText leaves the list's own settings alone
    strict.SetCommaText("x,y");
    EXPECT_EQ(strict.DelimitedText(), "x;y");
}

TEST(StringList, TextUsesCrLfAndReadsAnyLineEnd) {
    TStringList l;
    l.SetText("a\r\nb\rc\n\nd");
    EXPECT_EQ(Items(l), QStringList({"a", "b", "c", "", "d"}));
    EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\n\r\nd\r\n");
    l.SetText("");
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.Text(), "");
}

TEST(StringList, ChangeEventsFireOnceAroundAnUpdate) {
    TStringList l;
    QStringList log;
    l.OnChanging = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &l);
        log << "changing";
    };
    l.OnChange = [&](TObject*) { log << "change"; };
    l.Add("a");
    EXPECT_EQ(log, QStringList({"changing", "change"}));
    log.clear();
    l.BeginUpdate();
    l.Add("b");
    l.Add("c");
    l.BeginUpdate();
    l.Delete(0);
    l.EndUpdate();
    EXPECT_EQ(log, QStringList({"changing"}));
    l.EndUpdate();
    EXPECT_EQ(log, QStringList({"changing", "change"}));
    log.clear();
    l.SetCommaText("x,y,z");
    EXPECT_EQ(log, QStringList({"changing", "change"}));
}

TEST(StringList, AssignAndAddStrings) {
    TStringList a, b;
    TObject o;
    a.AddObject("x", &o);
    a.Add("y");
    a.SetDelimiter(u';');
    b.Add("old");
    b.Assign(&a);
    EXPECT_EQ(Items(b), QStringList({"x", "y"}));
    EXPECT_EQ(b.Objects(0), &o);
    EXPECT_EQ(b.Delimiter(), u';');
    b.AddStrings(&b); // adding a list to itself doubles it
    EXPECT_EQ(Items(b), QStringList({"x", "y", "x", "y"}));
    EXPECT_TRUE(a.Equals(&a));
    EXPECT_FALSE(a.Equals(&b));
    TPersistent notAList;
    EXPECT_THROW(b.Assign(&notAList), EConvertError);
    EXPECT_EQ(b.Count(), 4);
}

TEST(StringList, FilesRoundTripAndFailuresKeepTheList) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/list.txt";
    TStringList l;
    l.AddStrings(QStringList({QString::fromUtf8("caf\u00e9 \u20ac"), "", "end"}));
    l.SaveToFile(file);
    EXPECT_EQ(ReadFileBytes(file), QByteArray("caf\xe9 \x80\r\n\r\nend\r\n")); // Windows-1252 when it fits
    TStringList back;
    back.LoadFromFile(file);
    EXPECT_EQ(Items(back), Items(l));

    l.Add(QString::fromUtf8("\u03a9")); // beyond Windows-1252: UTF-8 with a BOM
    l.SaveToFile(file);
    EXPECT_TRUE(ReadFileBytes(file).startsWith("\xef\xbb\xbf"));
    back.LoadFromFile(file);
    EXPECT_EQ(Items(back), Items(l));

    EXPECT_THROW(back.LoadFromFile(dir.path() + "/missing.txt"), EInOutError);
    EXPECT_EQ(Items(back), Items(l));
    EXPECT_THROW(l.SaveToFile(dir.path() + "/missing/list.txt"), EInOutError);
}
} // namespace
