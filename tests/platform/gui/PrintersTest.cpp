// The printer on PDF files: a job's file appears whole when it ends, an aborted or failed job
// leaves the old file, and misuse raises.
#include "platform/gui/Printers.h"

#include "tests/support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class PdfPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        P.SetOutputFileName(File());
        P.SetResolution(100);
        QFile F(File());
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write("old");
    }
    QString File() const { return Dir.filePath("out.pdf"); }
    QByteArray Contents() const {
        QFile F(File());
        return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
    }
    int FilesInDir() const { return int(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).size()); }
    QTemporaryDir Dir;
    TPrinter P;
};

TEST_F(PdfPrinter, AFinishedJobReplacesTheFileWhole) {
    P.BeginDoc();
    EXPECT_EQ(Contents(), QByteArray("old")) << "nothing is visible while the job runs";
    P.Canvas()->Brush()->SetColor(clRed);
    P.Canvas()->FillRect(Rect(10, 10, 100, 100));
    P.NewPage();
    EXPECT_EQ(P.PageNumber(), 2);
    P.EndDoc();
    EXPECT_TRUE(Contents().startsWith("%PDF"));
    EXPECT_EQ(FilesInDir(), 1);
    EXPECT_FALSE(P.Printing());
}

TEST_F(PdfPrinter, AnAbortedJobKeepsTheOldFileAndLeavesNothingBehind) {
    P.BeginDoc();
    P.Canvas()->FillRect(Rect(10, 10, 100, 100));
    P.Abort();
    EXPECT_TRUE(P.Aborted());
    EXPECT_FALSE(P.Printing());
    EXPECT_EQ(Contents(), QByteArray("old"));
    EXPECT_EQ(FilesInDir(), 1);
}

// The file system refuses the job's bytes part way (here: a file size limit, as a full disk
// would): the job must not end as a success with half a document in the user's file.
TEST_F(PdfPrinter, AJobTheDiskCannotHoldRaisesAndKeepsTheOldFile) {
    P.BeginDoc();
    {
        TFileSizeLimit Limit(3000);
        ASSERT_TRUE(Limit.Set());
        auto Job = [this] {
            for (int Page = 0; Page < 30; ++Page) {
                if (Page > 0) P.NewPage();
                for (int Line = 0; Line < 40; ++Line)
                    P.Canvas()->TextOut(20, 20 + Line * 20, QStringLiteral("Page %1 line %2").arg(Page).arg(Line));
            }
            P.EndDoc();
        };
        EXPECT_THROW(Job(), EPrinter);
        if (P.Printing()) P.Abort(); // a failed job is ended by its caller
    }
    EXPECT_FALSE(P.Printing());
    EXPECT_EQ(Contents(), QByteArray("old"));
    EXPECT_EQ(FilesInDir(), 1) << "no part file left behind";
}

TEST_F(PdfPrinter, AFinishedJobKeepsTheOldFilesPermissions) {
    const QByteArray Name = QFile::encodeName(File());
    ASSERT_EQ(::chmod(Name.constData(), 0640), 0);
    P.BeginDoc();
    P.Canvas()->FillRect(Rect(10, 10, 100, 100));
    P.EndDoc();
    struct stat St {};
    ASSERT_EQ(::stat(Name.constData(), &St), 0);
    EXPECT_EQ(St.st_mode & 0777, 0640u);
}

TEST_F(PdfPrinter, MisuseRaises) {
    EXPECT_THROW(P.NewPage(), EPrinter);
    EXPECT_THROW(P.EndDoc(), EPrinter);
    P.BeginDoc();
    EXPECT_THROW(P.BeginDoc(), EPrinter);
    EXPECT_THROW(P.SetOrientation(poLandscape), EPrinter);
    P.EndDoc();
    TPrinter Nowhere;
    Nowhere.SetOutputFileName(Dir.filePath("missing/folder/out.pdf"));
    EXPECT_THROW(Nowhere.BeginDoc(), EPrinter);
}

TEST_F(PdfPrinter, LandscapeTurnsThePage) {
    const int W = P.PageWidth(), H = P.PageHeight();
    ASSERT_GT(H, W);
    P.SetOrientation(poLandscape);
    EXPECT_EQ(P.Orientation(), poLandscape);
    EXPECT_EQ(P.PageWidth(), H);
    EXPECT_EQ(P.PageHeight(), W);
    EXPECT_EQ(P.PixelsPerInchX(), 100);
}

} // namespace
