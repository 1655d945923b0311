#include "platform/rtl/Files.h"

#include "tests/platform/rtl/QtPrint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
class FilesFixture : public testing::Test {
protected:
    QString Path(const QString& Name) const { return FDir.path() + u'/' + Name; }
    void Put(const QString& Name, const QByteArray& Bytes) {
        QFile f(Path(Name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
    }
    QTemporaryDir FDir;
};

TEST(Paths, SplitAndJoin) {
    EXPECT_EQ(ExtractFilePath("/a/b/c.xml"), "/a/b/");
    EXPECT_EQ(ExtractFilePath("c.xml"), "");
    EXPECT_EQ(ExtractFileName("/a/b/c.xml"), "c.xml");
    EXPECT_EQ(ExtractFileExt("/a/b/c.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("/a/b.d/c"), "");
    EXPECT_EQ(ChangeFileExt("/a/b.d/c", ".xml"), "/a/b.d/c.xml");
    EXPECT_EQ(ChangeFileExt("/a/ParGen.xml", ".bak"), "/a/ParGen.bak");
    EXPECT_EQ(ChangeFileExt("/a/ParGen.xml", ""), "/a/ParGen");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
}

TEST(Paths, AppDirIsTheExecutablesFolderUntilATestSetsIt) {
    const QString real = App_Dir();
    EXPECT_TRUE(real.endsWith(u'/'));
    EXPECT_TRUE(FileExists(real + "test_platform_rtl")) << real.toStdString();
    Set_App_Dir("/tmp/somewhere");
    EXPECT_EQ(App_Dir(), "/tmp/somewhere/");
    Set_App_Dir("");
    EXPECT_EQ(App_Dir(), real);
}

using Folders = FilesFixture;

TEST_F(Folders, ExistenceCreationAndSortedListings) {
    EXPECT_TRUE(DirectoryExists(FDir.path()));
    EXPECT_FALSE(FileExists(FDir.path()));
    EXPECT_FALSE(DirectoryExists(Path("x")));
    EXPECT_FALSE(CreateDir(Path("a/b"))); // the parent is missing
    EXPECT_TRUE(ForceDirectories(Path("a/b/c")));
    EXPECT_TRUE(ForceDirectories(Path("a/b/c"))); // already there is fine
    EXPECT_FALSE(CreateDir(Path("a"))); // already there is not
    EXPECT_TRUE(CreateDir(Path("B")));
    Put("zeta.lng", "");
    Put("Alpha.LNG", "");
    Put("beta.lng", "");
    Put("notes.txt", "");
    EXPECT_TRUE(FileExists(Path("beta.lng")));
    EXPECT_EQ(ListFiles(FDir.path(), "*.lng"), QStringList({"Alpha.LNG", "beta.lng", "zeta.lng"}));
    EXPECT_EQ(ListFiles(FDir.path()), QStringList({"Alpha.LNG", "beta.lng", "notes.txt", "zeta.lng"}));
    EXPECT_EQ(ListDirectories(FDir.path()), QStringList({"a", "B"}));
    EXPECT_TRUE(ListFiles(Path("missing")).isEmpty());
    EXPECT_TRUE(DeleteFile(Path("notes.txt")));
    EXPECT_FALSE(DeleteFile(Path("notes.txt")));
    EXPECT_FALSE(DeleteFile(Path("a"))); // a folder is not a file
    EXPECT_TRUE(RenameFile(Path("beta.lng"), Path("gamma.lng")));
    EXPECT_FALSE(RenameFile(Path("gamma.lng"), Path("zeta.lng"))); // never over an existing file
}

using TextFiles = FilesFixture;

TEST_F(TextFiles, EncodingsAndLineEnds) {
    struct {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"empty", "", {}},
        {"ascii lf", "a\nb\n", {"a", "b"}},
        {"no final break", "a\nb", {"a", "b"}},
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"cr", "a\rb\r", {"a", "b"}},
        {"mixed", "a\r\n\nb\rc\n\r\nd", {"a", "", "b", "c", "", "d"}},
        {"blank lines", "\n\n", {"", ""}},
        {"cp1252", "\x80 \xe9\x9f\x81", {QString::fromUtf8("\u20ac \u00e9\u0178\u0081")}},
        {"utf8 bom", "\xef\xbb\xbf\xe2\x82\xac\r\nx", {QString::fromUtf8("\u20ac"), "x"}},
        {"utf8 bom only", "\xef\xbb\xbf", {}},
        {"utf16 le", QByteArray("\xff\xfe\xac\x20\x0d\x00\x0a\x00\x41\x00", 10), {QString::fromUtf8("\u20ac"), "A"}},
        {"utf16 be", QByteArray("\xfe\xff\x20\xac\x00\x0a\x00\x41", 8), {QString::fromUtf8("\u20ac"), "A"}},
        {"utf16 odd byte", QByteArray("\xff\xfe\x41\x00\x42", 5), {"A"}},
        {"utf8 without bom", "caf\xc3\xa9 \xe2\x82\xac", {QString::fromUtf8("caf\u00e9 \u20ac")}},
        {"not utf8 is cp1252", "\xc3\xa9\xe9", {QString::fromUtf8("\u00c3\u00a9\u00e9")}},
        {"overlong utf8 is cp1252", "\xc0\xaf", {QString::fromUtf8("\u00c0\u00af")}},
        {"utf8 surrogate is cp1252", "\xed\xa0\x80", {QString::fromUtf8("\u00ed\u00a0\u20ac")}},
    };
    for (const auto& c : cases) {
        Put("t.lng", c.bytes);
        EXPECT_EQ(ReadTextLines(Path("t.lng")), c.lines) << c.name;
    }
}

TEST_F(TextFiles, Cp1252RoundTripAndUtf8Fallback) {
    QString all;
    for (int b = 0; b < 256; ++b) all += DecodeCp1252(QByteArray(1, char(b)));
    QByteArray back;
    ASSERT_TRUE(EncodeCp1252(all, back));
    EXPECT_EQ(back.size(), 256);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(uchar(back[b]), b);
    EXPECT_EQ(EncodeText(QString::fromUtf8("\u20ac")), QByteArray("\x80"));
    const QString greek = QString::fromUtf8("\u03a9 x");
    EXPECT_EQ(EncodeText(greek), QByteArray("\xef\xbb\xbf\xce\xa9 x"));
    EXPECT_EQ(DecodeText(EncodeText(greek)), greek);
}

// What EncodeText writes DecodeText reads back, whatever the text starts with or holds: the
// single-byte form only where it cannot be taken for a mark or for UTF-8.
TEST_F(TextFiles, WrittenTextReadsBackAsWritten) {
    const struct {
        const char* Name;
        QString Text;
        QByteArray Bytes; // empty: UTF-8 with a mark
    } Cases[] = {
        {"ascii", "plain", "plain"},
        {"cp1252", QString::fromUtf8("caf\u00e9 \u20ac"), "caf\xe9 \x80"},
        {"starts like a utf16 le mark", QString::fromUtf8("\u00ff\u00feKey"), {}},
        {"starts like a utf16 be mark", QString::fromUtf8("\u00fe\u00ffKey"), {}},
        {"starts like a utf8 mark", QString::fromUtf8("\u00ef\u00bb\u00bfKey"), {}},
        {"single bytes that are utf8", QString::fromUtf8("\u00c3\u00a9"), {}},
        {"starts with a mark of its own", QChar(0xFEFF) + QStringLiteral("x"), {}},
        {"a mark alone", QString(QChar(0xFEFF)), {}},
        {"beyond cp1252", QString::fromUtf8("\u03a9"), {}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        const QByteArray Written = EncodeText(C.Text);
        EXPECT_EQ(Written, C.Bytes.isEmpty() ? QByteArray("\xef\xbb\xbf") + C.Text.toUtf8() : C.Bytes);
        EXPECT_EQ(DecodeText(Written), C.Text);
    }
}

TEST_F(TextFiles, WholeFilesAreReadWhateverTheirSize) {
    for (const int size : {0, 1, 65535, 65536, 65537, 300001}) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i) bytes[i] = char(i * 7 + i / 251);
        Put("b.bin", bytes);
        EXPECT_EQ(ReadFileBytes(Path("b.bin")), bytes) << size;
    }
    // A file whose size says nothing is still read to its end.
    const QByteArray status = ReadFileBytes("/proc/self/status");
    EXPECT_TRUE(status.startsWith("Name:")) << status.left(40).constData();
    EXPECT_TRUE(status.endsWith('\n'));
}

TEST_F(TextFiles, UnreadableFileRaisesWithTheReason) {
    try {
        ReadTextLines(Path("missing.lng"));
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().contains("missing.lng"));
        EXPECT_TRUE(e.Message().contains("No such file or directory")) << e.what();
    }
    EXPECT_THROW(ReadFileBytes(FDir.path()), EInOutError);
}

// A name that leads to a device or a FIFO would make a reader read for ever or wait for a
// writer: it is refused at once, as a folder is. (Opened without blocking, so a FIFO with no
// writer cannot hold the test either.)
TEST_F(TextFiles, OnlyRegularFilesAreRead) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.xml")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.xml")));
    for (const QString& Name : {Path("fifo.xml"), Path("zero.xml"), QStringLiteral("/dev/null"), FDir.path()}) {
        SCOPED_TRACE(Name.toStdString());
        EXPECT_THROW(ReadFileBytes(Name), EInOutError);
        EXPECT_THROW(ReadTextLines(Name), EInOutError);
    }
    try {
        ReadFileBytes(Path("zero.xml"));
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().contains("not a regular file")) << e.what();
    }
}

// A file beyond the limit raises before it is read (a damaged file of gigabytes costs nothing);
// a reader that takes the head of a long file gets exactly the limit and is told.
TEST_F(TextFiles, ReadingStopsAtTheLimit) {
    {
        QFile f(Path("huge.xml"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(Max_Read_File_Size + 1)); // sparse: no disk space taken
    }
    try {
        ReadFileBytes(Path("huge.xml"));
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().contains("more than the 67108864 allowed")) << e.what();
    }
    Put("ten", "0123456789");
    bool cut = true;
    EXPECT_EQ(ReadFileBytes(Path("ten"), 10, &cut), "0123456789");
    EXPECT_FALSE(cut);
    EXPECT_EQ(ReadFileBytes(Path("ten"), 4, &cut), "0123");
    EXPECT_TRUE(cut);
    EXPECT_THROW(ReadFileBytes(Path("ten"), 9), EInOutError);
}

using AtomicWriter = FilesFixture;

TEST_F(AtomicWriter, ReplacesTheWholeFileAndLeavesNoTemporary) {
    Put("p.xml", "old contents");
    QFile::setPermissions(Path("p.xml"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    WriteFileAtomic(Path("p.xml"), "new");
    EXPECT_EQ(ReadFileBytes(Path("p.xml")), "new");
    EXPECT_EQ(QFile::permissions(Path("p.xml")) & 0x7077, // owner, group, other: not the "user" bits
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    WriteFileAtomic(Path("fresh.xml"), QByteArray());
    EXPECT_TRUE(FileExists(Path("fresh.xml")));
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"fresh.xml", "p.xml"}));
}

TEST_F(AtomicWriter, FailureRaisesAndKeepsTheOldFile) {
    Put("p.xml", "old contents");
    Put("plain", "a regular file");
    // Tests run as root, so a read-only folder would not stop the write: use impossible paths.
    const QString impossible[] = {Path("plain/p.xml"), Path("missing/p.xml"), Path("p.xml/x")};
    for (const QString& target : impossible) {
        try {
            WriteFileAtomic(target, "new");
            ADD_FAILURE() << target.toStdString();
        } catch (const EInOutError& e) {
            EXPECT_TRUE(e.Message().contains(target));
            EXPECT_TRUE(e.Message().contains("Not a directory") || e.Message().contains("No such file")) << e.what();
        }
    }
    // A folder in the target's place: the temporary is written, the rename fails.
    ASSERT_TRUE(CreateDir(Path("dir.xml")));
    Put("dir.xml/inside", "x");
    EXPECT_THROW(WriteFileAtomic(Path("dir.xml"), "new"), EInOutError);
    EXPECT_EQ(ReadFileBytes(Path("p.xml")), "old contents");
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"p.xml", "plain"}));
}

TEST_F(AtomicWriter, AnUnfinishedWriteLeavesTheTargetAlone) {
    Put("p.xml", "old contents");
    {
        TAtomicFile f(Path("p.xml"));
        f.Write("half", 4);
    } // never committed
    EXPECT_EQ(ReadFileBytes(Path("p.xml")), "old contents");
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"p.xml"}));
}
} // namespace
