#include "platform/rtl/Classes.h"
#include "platform/rtl/Files.h"
#include "tests/platform/rtl/QtPrint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>
#include <sys/stat.h>

namespace {
TEST(MemoryStream, ReadWriteSeekAndSize) {
    TMemoryStream m;
    m.WriteBuffer("hello", 5);
    EXPECT_EQ(m.Position(), 5);
    EXPECT_EQ(m.Size(), 5);
    m.SetPosition(1);
    m.WriteBuffer("EL", 2);
    EXPECT_EQ(m.Bytes(), "hELlo");
    m.Seek(-2, soEnd);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 2); // a short read returns what there is
    EXPECT_STREQ(buf, "lo");
    EXPECT_EQ(m.Read(buf, 8), 0);
    m.SetPosition(3);
    EXPECT_THROW(m.ReadBuffer(buf, 3), EReadError);
    EXPECT_THROW(m.Seek(-1, soBeginning), EStreamError);
    m.SetSize(8);
    EXPECT_EQ(m.Bytes(), QByteArray("hELlo\0\0\0", 8));
    m.SetSize(2);
    EXPECT_EQ(m.Position(), 2);
    m.Seek(2, soCurrent); // past the end: a write fills the gap with zeros
    m.WriteBuffer("x", 1);
    EXPECT_EQ(m.Bytes(), QByteArray("hE\0\0x", 5));
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
}

TEST(MemoryStream, CopyFromAndStringListStreaming) {
    TMemoryStream src;
    TStringList l;
    l.AddStrings(QStringList({"a", "b"}));
    l.SaveToStream(&src);
    EXPECT_EQ(src.Bytes(), "a\r\nb\r\n");
    TMemoryStream dst;
    EXPECT_EQ(dst.CopyFrom(&src, 0), 6); // 0 copies the whole source
    EXPECT_EQ(dst.Bytes(), src.Bytes());
    dst.SetPosition(0);
    TStringList back;
    back.LoadFromStream(&dst);
    EXPECT_EQ(back.ToStringList(), QStringList({"a", "b"}));
}

class FileStreamFixture : public testing::Test {
protected:
    QString Path(const QString& Name) const { return FDir.path() + u'/' + Name; }
    QStringList Entries() const { return QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden); }
    QTemporaryDir FDir;
};

using FileStream = FileStreamFixture;

TEST_F(FileStream, CreateWritesTheFileWhenDone) {
    WriteFileAtomic(Path("bank1.bin"), "old");
    {
        TFileStream f(Path("bank1.bin"), fmCreate);
        f.WriteBuffer("\x01\x02\x03", 3);
        EXPECT_EQ(ReadFileBytes(Path("bank1.bin")), "old"); // not yet in place
        f.SetPosition(1);
        char c = 0;
        f.ReadBuffer(&c, 1);
        EXPECT_EQ(c, '\x02');
        EXPECT_EQ(f.Size(), 3);
    }
    EXPECT_EQ(ReadFileBytes(Path("bank1.bin")), "\x01\x02\x03");
    EXPECT_EQ(Entries(), QStringList({"bank1.bin"}));
}

TEST_F(FileStream, AnErrorWhileWritingKeepsTheOldFile) {
    WriteFileAtomic(Path("bank1.bin"), "old");
    try {
        TFileStream f(Path("bank1.bin"), fmCreate);
        f.WriteBuffer("half", 4);
        throw std::runtime_error("the writer failed");
    } catch (const std::runtime_error&) {}
    EXPECT_EQ(ReadFileBytes(Path("bank1.bin")), "old");
    EXPECT_EQ(Entries(), QStringList({"bank1.bin"}));
}

TEST_F(FileStream, CommitRaisesAndLaterWritesFail) {
    TFileStream f(Path("a.bin"), fmCreate);
    f.WriteBuffer("abc", 3);
    f.Commit();
    EXPECT_EQ(ReadFileBytes(Path("a.bin")), "abc");
    EXPECT_THROW(f.WriteBuffer("d", 1), EWriteError);
}

// A stream is opened on a regular file only: a FIFO would hold the program, a device be read
// for ever.
TEST_F(FileStream, DevicesAndFifosAreRefused) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.bin")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.bin")));
    for (const QString& Name : {Path("fifo.bin"), Path("zero.bin")}) {
        SCOPED_TRACE(Name.toStdString());
        EXPECT_THROW(TFileStream(Name, fmOpenRead), EFOpenError);
        TMemoryStream m;
        EXPECT_THROW(m.LoadFromFile(Name), EFOpenError);
    }
}

TEST_F(FileStream, OpenModesAndErrors) {
    WriteFileAtomic(Path("f.bin"), "0123456789");
    {
        TFileStream r(Path("f.bin"), fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(r.Size(), 10);
        r.Seek(-3, soEnd);
        char buf[4] = {};
        r.ReadBuffer(buf, 3);
        EXPECT_STREQ(buf, "789");
        EXPECT_THROW(r.ReadBuffer(buf, 1), EReadError);
        EXPECT_THROW(r.WriteBuffer("x", 1), EWriteError);
    }
    {
        TFileStream rw(Path("f.bin"), fmOpenReadWrite);
        rw.SetPosition(2);
        rw.WriteBuffer("AB", 2);
        rw.SetSize(5);
    }
    EXPECT_EQ(ReadFileBytes(Path("f.bin")), "01AB4");
    EXPECT_THROW(TFileStream(Path("missing.bin"), fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(Path("missing/x.bin"), fmCreate), EFCreateError);
    try {
        TFileStream(Path("missing.bin"), fmOpenWrite);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_TRUE(e.Message().contains("No such file or directory")) << e.what();
    }
}
} // namespace
