#include "platform/rtl/Files.h"

#include "tests/platform/rtl/QtPrint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        {"utf8 without bom is cp1252", "\xc3\xa9", {QString::fromUtf8("\u00c3\u00a9")}},
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
