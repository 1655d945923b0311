// The language table: the built-in English texts, the language-file grammar, the encodings and
// bad files, and the choice of file by language name.
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "platform/rtl/SysUtils.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <sys/stat.h>

namespace {

const QString Pilcrow = QString(QChar(0x00B6));

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Reset_Globals();
        Language_Dir = Dir.path();
        Load_English_Strings();
    }
    void TearDown() override {
        Reset_Language();
        Reset_Globals();
    }

    QString WriteFile(const QString& Name, const QByteArray& Bytes) {
        const QString Path = Dir.path() + "/" + Name;
        QFile F(Path);
        EXPECT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
        F.write(Bytes);
        return Path;
    }

    // Every text but the listed ones is still the English one.
    void ExpectEnglishExcept(std::initializer_list<int> Changed) {
        const QStringList& English = English_Table();
        ASSERT_EQ(Lang.Count(), Lang_Table_Size);
        for (int n = 0; n < Lang_Table_Size; ++n) {
            if (std::find(Changed.begin(), Changed.end(), n) == Changed.end()) {
                ASSERT_EQ(Lang[n], English[n]) << "text " << n;
            }
        }
    }

    QTemporaryDir Dir;
};

// ---- the English table ----------------------------------------------------------------------

TEST_F(LanguageTest, EnglishTableFillsEverySlot) {
    EXPECT_EQ(Num_Lang_Strings, 4200);
    EXPECT_EQ(Lang.Count(), 4200);
    const struct {
        int Number;
        const char* Text;
    } Quoted[] = {
        {0, "Begin"},
        {1, "Step 1"},
        {8, "Step 8"},
        {9, "None Configuration Opened "},
        {11, "Opened Configuration of the Converter : "},
        {18, "Error! Project not Valid"},
        {19, "New Version Available. Click Here for more Details"},
        {68, "Set the Network of EtherNet/IP Slave"},
        {110, "Cancel the New Configuration"},
        {202, "List of Avaliable Configurations"},
        {304, "Selected Language : "},
        {305, "Page "},
        {306, " / "},
        {315, "No Update Available"},
        {316, "Do you want to change the Language from "},
        {317, " to "},
        {321, "Enable Auto Size of Table Columns by Double Click"},
        {400, "Set Communication"},
        {411, "Insert Fourth byte of IP Address"},
        {409, "Insert Second byte of IP Address"},
        {410, "Insert Third byte of IP Address"},
        {416, "Insert Fourth byte of SubNet Mask"},
        {419, "Insert First byte of Default Gateway"},
        {564, "NTP (Network Time Protocol)"},
        {614, "SDO Client TimeOut (1/10 millisecons)"},
        {922, "Error OPC UA Server!! IP Address 1 must be between 0 and 255"},
        {933, "Error OPC UA Server!! GATEWAY IP 4 must be between 0 and 255"},
        {1092, "Error NTP!! Poll Time must be between 0 and 10000000 seconds"},
        {1136, "Error OPC UA Server!! Port must be between 0 and 65535, and different from 10000"},
        {1140, "Insert Second byte of DNS Server"},
        {1142, "Insert Fourth byte of DNS Server"},
        {1300, "Row Already used. Do you want to overwrite the values?"},
        {1305, "File already exists. Do you want to overwrite?"},
    };
    for (const auto& Q : Quoted) EXPECT_EQ(Lang[Q.Number], QString::fromUtf8(Q.Text)) << "text " << Q.Number;
    // Numbers nobody uses hold a single blank.
    for (int n : {69, 99, 111, 208, 322, 475, 1143, 1199, 1399, 4199}) EXPECT_EQ(Lang[n], " ") << "text " << n;
}

TEST_F(LanguageTest, EveryNumberTheShellUsesCarriesAText) {
    // The shell's windows and shared messages, the main-parameters window's shown panels and
    // check messages, and the caption of every panel an ordering can show.
    const std::pair<int, int> Used[] = {
        {0, 68},    {100, 110}, {200, 207},   {300, 321},   {400, 422},   {564, 568},
        {604, 615}, {922, 933}, {1009, 1011}, {1092, 1092}, {1134, 1142}, {1300, 1305},
    };
    for (const auto& [First, Last] : Used)
        for (int n = First; n <= Last; ++n) EXPECT_NE(Trim(Lang[n]), "") << "text " << n;
    for (int n : {406, 423, 450, 473, 549, 564, 569, 582, 601, 604, 616, 625, 634,
                  639, 665, 702, 709, 714, 719, 758, 777, 795, 836, 879, 892, 913})
        EXPECT_NE(Trim(Lang[n]), "") << "panel caption " << n;
}

TEST_F(LanguageTest, ReadingOutsideTheTableRaises) {
    EXPECT_THROW(Lang[4200], EListError);
    EXPECT_THROW(Lang[-1], EListError);
    Reset_Language();
    EXPECT_THROW(Lang[0], EListError);
}

// ---- one line of a language file ------------------------------------------------------------

struct TLineCase {
    QString Line;
    std::optional<std::pair<int, QString>> Expected; // nullopt: ignored
};

TEST_F(LanguageTest, LineGrammar) {
    using P = std::pair<int, QString>;
    const TLineCase Cases[] = {
        {"STR 12 = Hello", P{12, "Hello"}},
        {"STR 12= Hello", P{1, "Hello"}}, // the character before "=" is always dropped
        {"STR 5= Hello", std::nullopt},
        {"STR12 = Hello", P{12, "Hello"}},
        {"   STR 12    =   Hello   ", P{12, "Hello"}},
        {"\tSTR 12 = Hello\t\r", P{12, "Hello"}},
        {"str 12 = Hello", std::nullopt},
        {" // STR 12 = Hello", std::nullopt},
        {"STR 0 = Zero", P{0, "Zero"}},
        {"STR 4199 = Last", P{4199, "Last"}},
        {"STR 4200 = Beyond", std::nullopt},
        {"STR -1 = Below", std::nullopt},
        {"STR 2147483648 = Overflow", std::nullopt},
        {"STR $10 = Hex", P{16, "Hex"}},
        {"STR 0x10 = Hex", P{16, "Hex"}},
        {"STR abc = Letters", std::nullopt},
        {"STR 12 Hello", std::nullopt},
        {"STR 12 =", std::nullopt},
        {"STR 12 =    ", std::nullopt},
        {"STR=", std::nullopt},
        {"STR", std::nullopt},
        {"", std::nullopt},
        {"STR 12 = a = b", P{12, "a = b"}},
        {"STR 12 = Hello /#/ a comment", P{12, "Hello"}},
        {"STR 12 = /#/ nothing but a comment", std::nullopt},
        {"STR 12 = " + Pilcrow + "  spaced  " + Pilcrow, P{12, "  spaced  "}},
        {"STR 12 = " + Pilcrow + "Hello", P{12, "Hello"}},
        {"STR 12 = " + Pilcrow + Pilcrow + "Hello", P{12, ""}},
        {"STR 12 = He" + Pilcrow + "llo", P{12, "He"}},
        {"STR 12 = " + Pilcrow + " x " + Pilcrow + " /#/ c", P{12, " x "}},
        {"STR 12 = Caf" + QString(QChar(0xE9)), P{12, "Caf" + QString(QChar(0xE9))}},
    };
    for (const TLineCase& Case : Cases) {
        SCOPED_TRACE(Case.Line.toStdString());
        int Number = -7;
        QString Text = "untouched";
        const bool Set = Parse_Language_Line(Case.Line, Number, Text);
        ASSERT_EQ(Set, Case.Expected.has_value());
        if (Set) {
            EXPECT_EQ(Number, Case.Expected->first);
            EXPECT_EQ(Text, Case.Expected->second);
        }
    }
}

// ---- files -----------------------------------------------------------------------------------

TEST_F(LanguageTest, OneLineChangesOneText) {
    Read_Language_File(WriteFile("One.lng", "STR 0 = Anfang\r\n"));
    EXPECT_EQ(Lang[0], "Anfang");
    ExpectEnglishExcept({0});
}

TEST_F(LanguageTest, LaterLineForTheSameNumberWins) {
    Read_Language_File(WriteFile("Twice.lng",
                                 "STR 13 = First\nSTR 14 = Kept\nSTR 13 = Second\n"
                                 "STR 14 =\nSTR 14 = /#/ empty\n"));
    EXPECT_EQ(Lang[13], "Second");
    EXPECT_EQ(Lang[14], "Kept"); // an empty text keeps the earlier one
}

TEST_F(LanguageTest, EveryEncodingAndLineEnd) {
    const QString Expected0 = QString::fromUtf8("Caf\xc3\xa9 \xe2\x82\xac");
    const QString Body =
        "STR 0 = " + Expected0 + "\r\nSTR 1 = " + Pilcrow + " one " + Pilcrow + "\rSTR 2 = two\nSTR 3 = three";
    struct TEncoding {
        const char* Name;
        QByteArray Bytes;
    };
    auto Encode = [&](QStringConverter::Encoding E, bool Bom) {
        QStringEncoder Encoder(E, Bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
        return QByteArray(Encoder.encode(Body));
    };
    QByteArray Cp1252 = Body.toLatin1(); // all but the euro sign are Latin-1 here
    Cp1252.replace('?', '\x80'); // the euro sign is 0x80 in Windows-1252
    const TEncoding Encodings[] = {
        {"utf8-bom", Encode(QStringConverter::Utf8, true)},
        {"utf16le-bom", Encode(QStringConverter::Utf16LE, true)},
        {"utf16be-bom", Encode(QStringConverter::Utf16BE, true)},
        {"cp1252", Cp1252},
    };
    for (const TEncoding& E : Encodings) {
        SCOPED_TRACE(E.Name);
        Load_English_Strings();
        Read_Language_File(WriteFile(QString(E.Name) + ".lng", E.Bytes));
        EXPECT_EQ(Lang[0], Expected0);
        EXPECT_EQ(Lang[1], " one ");
        EXPECT_EQ(Lang[2], "two");
        EXPECT_EQ(Lang[3], "three");
        ExpectEnglishExcept({0, 1, 2, 3});
    }
}

// A file saved as UTF-8 without a mark reads as UTF-8; one from the other platform, which is not
// valid UTF-8 once it holds an accented letter, still reads as Windows-1252.
TEST_F(LanguageTest, WithoutMarkUTF8WhenValidElseWindows1252) {
    Read_Language_File(WriteFile("NoBom.lng", "STR 0 = Caf\xc3\xa9 \xe2\x82\xac\n"));
    EXPECT_EQ(Lang[0], QString::fromUtf8("Caf\u00e9 \u20ac"));
    Read_Language_File(WriteFile("Ansi.lng", "STR 1 = Caf\xe9 \x80\n"));
    EXPECT_EQ(Lang[1], QString::fromUtf8("Caf\u00e9 \u20ac"));
}

// A language file that is a FIFO or a link to a device is refused at once, the table untouched.
TEST_F(LanguageTest, DevicesAndFifosAreRefused) {
    const QString Fifo = Dir.path() + "/Fifo.lng";
    ASSERT_EQ(::mkfifo(QFile::encodeName(Fifo).constData(), 0600), 0);
    const QString Zero = Dir.path() + "/Zero.lng";
    ASSERT_TRUE(QFile::link("/dev/zero", Zero));
    for (const QString& Name : {Fifo, Zero}) {
        SCOPED_TRACE(Name.toStdString());
        try {
            Read_Language_File(Name);
            ADD_FAILURE();
        } catch (const EInOutError& E) {
            EXPECT_TRUE(E.Message().contains("not a regular file")) << E.what();
        }
    }
    ExpectEnglishExcept({});
}

TEST_F(LanguageTest, BinaryFileLoadsOnlyItsValidLines) {
    std::mt19937 Random(4180);
    QByteArray Bytes;
    for (int i = 0; i < 200000; ++i) Bytes.append(char(Random() & 0xFF));
    Bytes.append("\nSTR 20 = Found\n");
    for (int i = 0; i < 1000; ++i) Bytes.append(char(Random() & 0xFF));
    Bytes.append(QByteArray(300, '\0'));
    Read_Language_File(WriteFile("Binary.lng", Bytes));
    EXPECT_EQ(Lang[20], "Found");
    EXPECT_EQ(Lang.Count(), Lang_Table_Size);
}

TEST_F(LanguageTest, NumbersOutOfRangeChangeNothing) {
    QByteArray Bytes;
    for (int n = 4200; n < 20000; n += 7) Bytes.append("STR " + QByteArray::number(n) + " = out\n");
    for (int n = -1; n > -2000; n -= 3) Bytes.append("STR " + QByteArray::number(n) + " = out\n");
    Bytes.append("STR 99999999999999999999 = out\nSTR $FFFFFFFF = out\n");
    Read_Language_File(WriteFile("Range.lng", Bytes));
    ExpectEnglishExcept({});
}

TEST_F(LanguageTest, TruncatedLastLineStillLoads) {
    Read_Language_File(WriteFile("Cut.lng", "STR 6 = whole\nSTR 7 = Hal"));
    EXPECT_EQ(Lang[6], "whole");
    EXPECT_EQ(Lang[7], "Hal");

    // A UTF-16 file cut in the middle of a character.
    QStringEncoder Encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    QByteArray Utf16 = Encoder.encode(QString("STR 8 = eight\nSTR 9 = nine"));
    Utf16.chop(1);
    Load_English_Strings();
    Read_Language_File(WriteFile("Cut16.lng", Utf16));
    EXPECT_EQ(Lang[8], "eight");
    ExpectEnglishExcept({8, 9});
}

TEST_F(LanguageTest, HugeFileIsReadUpToTheLastWholeLineWithinTheLimit) {
    QByteArray Bytes = "STR 1 = first\n";
    const QByteArray Filler = "/ " + QByteArray(1000, 'x') + "\n";
    while (Bytes.size() + Filler.size() < Max_Language_File_Size - 150) Bytes.append(Filler);
    Bytes.append("/" + QByteArray(Max_Language_File_Size - 150 - Bytes.size() - 2, 'z') + "\n");
    ASSERT_EQ(Bytes.size(), Max_Language_File_Size - 150);
    // This line starts within the limit and ends beyond it: none of it may be taken.
    Bytes.append("STR 2 = " + QByteArray(300, 'y') + "\n");
    Bytes.append("STR 3 = beyond\n");
    ASSERT_GT(Bytes.size(), Max_Language_File_Size);
    Read_Language_File(WriteFile("Huge.lng", Bytes));
    EXPECT_EQ(Lang[1], "first");
    ExpectEnglishExcept({1});
}

TEST_F(LanguageTest, ManyLinesUnderTheLimitAllLoad) {
    QByteArray Bytes;
    for (int Round = 0; Round < 20; ++Round)
        for (int n = 0; n < Lang_Table_Size; ++n)
            Bytes.append("STR " + QByteArray::number(n) + " = T" + QByteArray::number(Round) + "_" +
                         QByteArray::number(n) + "\n");
    Read_Language_File(WriteFile("Big.lng", Bytes));
    EXPECT_EQ(Lang[0], "T19_0");
    EXPECT_EQ(Lang[4199], "T19_4199");
}

TEST_F(LanguageTest, UnreadableFileRaisesAndKeepsEnglish) {
    EXPECT_THROW(Read_Language_File(Dir.path() + "/Missing.lng"), EInOutError);
    ExpectEnglishExcept({});
}

// ---- choosing the file -----------------------------------------------------------------------

TEST_F(LanguageTest, LoadLanguageTakesTheNamedFile) {
    WriteFile("Italiano.lng", "STR 0 = Inizio\n");
    Lang_Name = "Italiano";
    Load_Language();
    EXPECT_EQ(Lang_Name, "Italiano");
    EXPECT_EQ(Lang[0], "Inizio");
    ExpectEnglishExcept({0});

    // Another language starts again from English: nothing of the first one stays.
    WriteFile("Deutsch.lng", "STR 1 = Schritt 1\n");
    Lang_Name = "Deutsch";
    Load_Language();
    EXPECT_EQ(Lang[1], "Schritt 1");
    ExpectEnglishExcept({1});
}

TEST_F(LanguageTest, MissingLanguageFallsBackToEnglish) {
    const char* Names[] = {"Klingon", "", "../LANGUAGE/Italiano", "sub\\Italiano"};
    WriteFile("Italiano.lng", "STR 0 = Inizio\n");
    for (const char* Name : Names) {
        SCOPED_TRACE(Name);
        Lang_Name = Name;
        Load_Language();
        EXPECT_EQ(Lang_Name, "English");
        ExpectEnglishExcept({});
    }
}

TEST_F(LanguageTest, EnglishFileOverridesTheBuiltInEnglish) {
    WriteFile("English.lng", "STR 0 = Start\n");
    Lang_Name = "Klingon";
    Load_Language();
    EXPECT_EQ(Lang_Name, "English");
    EXPECT_EQ(Lang[0], "Start");
    ExpectEnglishExcept({0});
}

} // namespace
