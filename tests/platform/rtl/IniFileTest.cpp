#include "platform/rtl/Classes.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/IniFiles.h"
#include "tests/platform/rtl/QtPrint.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
class IniFixture : public testing::Test {
protected:
    QString Path(const QString& Name = "grid.ini") const { return FDir.path() + u'/' + Name; }
    QTemporaryDir FDir;
};

using IniFile = IniFixture;

TEST_F(IniFile, ReadsSectionsKeysAndTypedValues) {
    WriteFileAtomic(Path(),
                    "; settings\r\n"
                    "[Columns]\r\n"
                    "CP0 = 3\r\n"
                    "CP1=$10\n"
                    "Name=  spaced  \r\n"
                    "Quoted=\" kept \"\r\n"
                    "Flag=1\r\n"
                    "Off=0\r\n"
                    "Bad=12 x\r\n"
                    "\r\n"
                    "[ Other ]\r\n"
                    "cp0=9\r\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("columns", "cp0", -1), 3); // names ignore case
    EXPECT_EQ(ini.ReadInteger("Columns", "CP1", -1), 16);
    EXPECT_EQ(ini.ReadInteger("Columns", "Bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Columns", "Missing", 7), 7);
    EXPECT_EQ(ini.ReadString("Columns", "Name", "d"), "spaced");
    EXPECT_EQ(ini.ReadString("Columns", "Quoted", "d"), " kept ");
    EXPECT_TRUE(ini.ReadBool("Columns", "Flag", false));
    EXPECT_FALSE(ini.ReadBool("Columns", "Off", true));
    EXPECT_TRUE(ini.ReadBool("Columns", "Missing", true));
    EXPECT_EQ(ini.ReadInteger("Other", "CP0", -1), 9);
    EXPECT_TRUE(ini.SectionExists("OTHER"));
    EXPECT_FALSE(ini.SectionExists("settings"));
    EXPECT_TRUE(ini.ValueExists("Columns", "Flag"));
    EXPECT_FALSE(ini.ValueExists("Other", "Flag"));
    TStringList keys;
    ini.ReadSection("Columns", &keys);
    EXPECT_EQ(keys.ToStringList(), QStringList({"CP0", "CP1", "Name", "Quoted", "Flag", "Off", "Bad"}));
    ini.ReadSections(&keys);
    EXPECT_EQ(keys.ToStringList(), QStringList({"Columns", "Other"}));
    ini.ReadSectionValues("Other", &keys);
    EXPECT_EQ(keys.ToStringList(), QStringList({"cp0=9"}));
    ini.ReadSection("Nothing", &keys);
    EXPECT_EQ(keys.Count(), 0);
}

TEST_F(IniFile, WritesAtOnceWholeAndKeepsComments) {
    WriteFileAtomic(Path(), "; kept comment\r\n[A]\r\nx=1\r\n");
    TIniFile ini(Path());
    ini.WriteInteger("A", "y", -2);
    ini.WriteString("A", "x", "one");
    ini.WriteBool("B", "on", true);
    ini.WriteString("B", "pad", "  a  ");
    EXPECT_EQ(ReadFileBytes(Path()), "; kept comment\r\n[A]\r\nx=one\r\ny=-2\r\n\r\n[B]\r\non=1\r\npad=\"  a  \"\r\n");
    TIniFile again(Path());
    EXPECT_EQ(again.ReadString("B", "pad", ""), "  a  ");
    EXPECT_EQ(again.ReadInteger("A", "y", 0), -2);
    again.DeleteKey("A", "x");
    again.EraseSection("b");
    EXPECT_EQ(ReadFileBytes(Path()), "; kept comment\r\n[A]\r\ny=-2\r\n\r\n");
    EXPECT_FALSE(TIniFile(Path()).ValueExists("A", "x"));
}

TEST_F(IniFile, MissingFileReadsEmptyAndAFailedWriteChangesNothing) {
    TIniFile fresh(Path("new.ini"));
    EXPECT_EQ(fresh.ReadString("S", "k", "dflt"), "dflt");
    EXPECT_FALSE(FileExists(Path("new.ini"))); // reading never creates the file
    fresh.WriteString("S", "k", "v");
    EXPECT_TRUE(FileExists(Path("new.ini")));

    TIniFile nowhere(Path("missing/x.ini"));
    EXPECT_THROW(nowhere.WriteString("S", "k", "v"), EInOutError);
    EXPECT_FALSE(nowhere.ValueExists("S", "k")); // the failed write is not kept in memory either
    EXPECT_THROW(fresh.WriteString("S", "k", "two\r\nlines"), EConvertError);
    EXPECT_THROW(fresh.WriteString("S", "a=b", "v"), EConvertError);
    EXPECT_THROW(fresh.WriteString("S]", "k", "v"), EConvertError);
    EXPECT_EQ(TIniFile(Path("new.ini")).ReadString("S", "k", ""), "v");
}
// A key whose single-byte form would start like a byte-order mark, or be taken for UTF-8, is
// written so that it reads back: the file does not read back empty and is not saved empty next.
TEST_F(IniFile, KeysThatLookLikeAMarkOrUtf8ReadBack) {
    const QString Keys[] = {QString::fromUtf8("\u00ff\u00feKey"), QString::fromUtf8("\u00ef\u00bb\u00bfKey"),
                            QString::fromUtf8("\u00c3\u00a9t\u00c3\u00a9")};
    for (const QString& Key : Keys) {
        SCOPED_TRACE(Key.toStdString());
        DeleteFile(Path());
        TIniFile(Path()).WriteString("S", Key, "1");
        TIniFile Back(Path());
        EXPECT_EQ(Back.ReadString("S", Key, "missing"), "1");
        Back.WriteString("S", "Other", "2");
        EXPECT_EQ(TIniFile(Path()).ReadString("S", Key, "missing"), "1");
    }
}

// A FIFO in the INI file's place is refused, not waited on.
TEST_F(IniFile, ABatchReachesTheFileOnlyAtItsOutermostEnd) {
    WriteFileAtomic(Path(), "[S]\r\nA=1\r\n");
    TIniFile ini(Path());
    ini.BeginUpdate();
    ini.BeginUpdate();
    ini.WriteInteger("S", "A", 2);
    ini.WriteInteger("S", "B", 3);
    ini.EndUpdate();
    EXPECT_EQ(TIniFile(Path()).ReadInteger("S", "B", -1), -1) << "inner end: nothing written yet";
    EXPECT_EQ(ini.ReadInteger("S", "A", -1), 2) << "the reader sees its own changes";
    ini.EndUpdate();
    TIniFile back(Path());
    EXPECT_EQ(back.ReadInteger("S", "A", -1), 2);
    EXPECT_EQ(back.ReadInteger("S", "B", -1), 3);
}

TEST_F(IniFile, AFifoIsRefused) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path()).constData(), 0600), 0);
    EXPECT_THROW(TIniFile{Path()}, EInOutError);
}
} // namespace
