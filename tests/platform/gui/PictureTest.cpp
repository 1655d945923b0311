// Bitmaps, JPEG, icons and the picture holder: file round trips, errors and pixel layout.
#include "platform/gui/Graphics.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// A picture with smooth gradients and a few hard edges: what cell images look like.
void PaintSample(TBitmap& B) {
    B.SetSize(64, 48);
    for (int Y = 0; Y < 48; ++Y)
        for (int X = 0; X < 64; ++X) B.Canvas()->SetPixels(X, Y, RGB(X * 4, Y * 5, 128));
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(Rect(8, 8, 24, 24));
}

struct TDiff {
    double Mean = 0;
    int Max = 0;
};

TDiff Compare(const QImage& A, const QImage& B) {
    TDiff D;
    if (A.size() != B.size()) {
        D.Max = 1000;
        return D;
    }
    double Sum = 0;
    for (int Y = 0; Y < A.height(); ++Y)
        for (int X = 0; X < A.width(); ++X) {
            const QRgb P = A.pixel(X, Y), Q = B.pixel(X, Y);
            const int Ch[3] = {std::abs(qRed(P) - qRed(Q)), std::abs(qGreen(P) - qGreen(Q)),
                               std::abs(qBlue(P) - qBlue(Q))};
            for (int C : Ch) {
                Sum += C;
                D.Max = std::max(D.Max, C);
            }
        }
    D.Mean = Sum / (3.0 * A.width() * A.height());
    return D;
}

class PictureTest : public ::testing::Test {
protected:
    QString Path(const QString& Name) const { return Dir.filePath(Name); }
    QTemporaryDir Dir;
};

TEST_F(PictureTest, JpegEncodeDecodeRoundTripKeepsThePixelsClose) {
    TBitmap Src;
    PaintSample(Src);
    TJPEGImage Jpeg;
    Jpeg.Assign(&Src);
    EXPECT_EQ(Jpeg.Width(), 64);
    EXPECT_EQ(Jpeg.Height(), 48);

    Jpeg.SetCompressionQuality(95);
    const QByteArray High = Jpeg.SaveToBytes();
    ASSERT_GT(High.size(), 100);
    EXPECT_EQ(uchar(High[0]), 0xFF);
    EXPECT_EQ(uchar(High[1]), 0xD8); // a JPEG start-of-image marker

    TJPEGImage Back;
    Back.LoadFromBytes(High);
    const TDiff D = Compare(Back.ToImage(), Src.ToImage());
    EXPECT_LT(D.Mean, 3.0);
    // away from hard edges (where chroma subsampling smears) every pixel is close
    for (TPoint P : {Point(15, 15), Point(40, 30), Point(60, 5), Point(2, 45)}) {
        const QRgb A = Back.ToImage().pixel(P.X, P.Y), B = Src.ToImage().pixel(P.X, P.Y);
        EXPECT_NEAR(qRed(A), qRed(B), 8) << P.X << "," << P.Y;
        EXPECT_NEAR(qGreen(A), qGreen(B), 8) << P.X << "," << P.Y;
        EXPECT_NEAR(qBlue(A), qBlue(B), 8) << P.X << "," << P.Y;
    }

    Jpeg.SetCompressionQuality(10);
    const QByteArray Low = Jpeg.SaveToBytes();
    EXPECT_LT(Low.size(), High.size());
    TJPEGImage LowBack;
    LowBack.LoadFromBytes(Low);
    EXPECT_GT(Compare(LowBack.ToImage(), Src.ToImage()).Mean, D.Mean);

    // back into a bitmap, through a file and the picture holder
    Jpeg.SetCompressionQuality(90);
    Jpeg.SaveToFile(Path("cell.jpg"));
    TPicture Pic;
    Pic.LoadFromFile(Path("cell.jpg"));
    ASSERT_NE(dynamic_cast<TJPEGImage*>(Pic.Graphic()), nullptr);
    TBitmap Again;
    Again.Assign(Pic.Graphic());
    EXPECT_LT(Compare(Again.ToImage(), Src.ToImage()).Mean, 4.0);
}

TEST_F(PictureTest, JpegQualityIsClampedAndGrayscaleDropsColour) {
    TJPEGImage J;
    EXPECT_EQ(J.CompressionQuality(), 90);
    J.SetCompressionQuality(0);
    EXPECT_EQ(J.CompressionQuality(), 1);
    J.SetCompressionQuality(400);
    EXPECT_EQ(J.CompressionQuality(), 100);

    TBitmap Src;
    PaintSample(Src);
    J.Assign(&Src);
    J.SetGrayscale(true);
    TJPEGImage Back;
    Back.LoadFromBytes(J.SaveToBytes());
    const QRgb P = Back.ToImage().pixel(16, 16);
    EXPECT_NEAR(qRed(P), qGreen(P), 2);
    EXPECT_NEAR(qGreen(P), qBlue(P), 2);
}

TEST_F(PictureTest, BrokenJpegRaisesAndKeepsThePicture) {
    TBitmap Src;
    PaintSample(Src);
    TJPEGImage J;
    J.Assign(&Src);
    const QByteArray Good = J.SaveToBytes();
    for (const QByteArray& Bad : {QByteArray(), QByteArray("not a jpeg at all"), Good.left(2)}) {
        TJPEGImage K;
        EXPECT_THROW(K.LoadFromBytes(Bad), EInvalidGraphic);
    }
    EXPECT_THROW(DecodeJPEG(QByteArray("\xFF\xD8\xFF\xE0garbage", 12)), EInvalidGraphic);
    EXPECT_THROW(TJPEGImage().SaveToBytes(), EInvalidGraphic); // nothing to encode
}

TEST_F(PictureTest, BitmapAndPngFilesRoundTripExactly) {
    for (TPixelFormat Format : {pfDevice, pf24bit, pf32bit})
        for (const char* Name : {"a.bmp", "a.png"}) {
            TBitmap Src;
            Src.SetPixelFormat(Format);
            PaintSample(Src);
            Src.SaveToFile(Path(Name));
            TBitmap Back;
            Back.LoadFromFile(Path(Name));
            EXPECT_EQ(Compare(Back.ToImage(), Src.ToImage()).Max, 0) << Name;
            QFile F(Path(Name));
            ASSERT_TRUE(F.open(QIODevice::ReadOnly));
            const QByteArray Head = F.read(4);
            if (QString(Name).endsWith(".png"))
                EXPECT_EQ(Head.mid(1, 3), "PNG");
            else
                EXPECT_EQ(Head.left(2), "BM");
        }
}

TEST_F(PictureTest, PictureChoosesTheGraphicClassByExtension) {
    TBitmap Src;
    PaintSample(Src);
    Src.SaveToFile(Path("p.bmp"));
    Src.SaveToFile(Path("p.png"));
    QImage(Src.ToImage()).save(Path("p.gif"), "PNG"); // content is detected, not trusted
    {
        TIcon I;
        I.SetImage(Src.ToImage().scaled(32, 32));
        I.SaveToFile(Path("p.ico"));
    }
    TPicture Pic;
    struct Case {
        const char* File;
        const std::type_info& Class;
        int W;
    };
    const Case Cases[] = {
        {"p.bmp", typeid(TBitmap), 64}, {"p.png", typeid(TPngImage), 64}, {"p.ico", typeid(TIcon), 32},
        {"P.BMP", typeid(TBitmap), 64}, {"p.gif", typeid(TGIFImage), 64},
    };
    QFile::copy(Path("p.bmp"), Path("P.BMP"));
    for (const Case& K : Cases) {
        Pic.LoadFromFile(Path(K.File));
        ASSERT_NE(Pic.Graphic(), nullptr) << K.File;
        EXPECT_EQ(typeid(*Pic.Graphic()), K.Class) << K.File;
        EXPECT_EQ(Pic.Width(), K.W) << K.File;
    }
}

TEST_F(PictureTest, FailedLoadsRaiseAndKeepTheCurrentPicture) {
    TBitmap Src;
    PaintSample(Src);
    Src.SaveToFile(Path("ok.bmp"));
    TPicture Pic;
    Pic.LoadFromFile(Path("ok.bmp"));

    QFile F(Path("broken.png"));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write("\x89PNG but not really");
    F.close();

    EXPECT_THROW(Pic.LoadFromFile(Path("missing.bmp")), EInOutError);
    EXPECT_THROW(Pic.LoadFromFile(Path("broken.png")), EInvalidGraphic);
    EXPECT_THROW(Pic.LoadFromFile(Path("x.tiff")), EInvalidGraphic);
    ASSERT_NE(dynamic_cast<TBitmap*>(Pic.Graphic()), nullptr);
    EXPECT_EQ(Pic.Width(), 64);
}

// A picture name that leads to a FIFO, a device or a folder is refused at once: the window that
// loads it must not wait for a writer or read without end. A helper thread stands ready as the
// FIFO's writer and is released by the test itself, so even a reader that blocked on the open
// would get an empty file instead of holding the test.
TEST_F(PictureTest, OnlyRegularFilesAreLoaded) {
    TBitmap Src;
    PaintSample(Src);
    Src.SaveToFile(Path("ok.bmp"));
    const QByteArray Fifo = QFile::encodeName(Path("fifo.bmp"));
    ASSERT_EQ(::mkfifo(Fifo.constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.png")));
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.jpg"));

    std::thread Writer([&Fifo] {
        const int Fd = ::open(Fifo.constData(), O_WRONLY | O_CLOEXEC); // waits for any reader
        if (Fd >= 0) ::close(Fd);
    });
    for (const char* Name : {"fifo.bmp", "zero.png", "folder.jpg"}) {
        SCOPED_TRACE(Name);
        TPicture Pic;
        Pic.LoadFromFile(Path("ok.bmp"));
        EXPECT_THROW(Pic.LoadFromFile(Path(Name)), EInOutError);
        EXPECT_EQ(Pic.Width(), 64);
    }
    for (const char* Name : {"zero.png", "folder.jpg"}) { // the FIFO is opened once only: see above
        SCOPED_TRACE(Name);
        TBitmap B;
        EXPECT_THROW(B.LoadFromFile(Path(Name)), EInOutError);
    }
    // Release the writer: a reader opened without blocking lets its open complete.
    const int Release = ::open(Fifo.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    Writer.join();
    if (Release >= 0) ::close(Release);
}

TEST_F(PictureTest, FailedSaveLeavesNoFileAndKeepsTheOldOne) {
    TBitmap Src;
    PaintSample(Src);
    EXPECT_THROW(Src.SaveToFile(Path("no/such/folder/a.bmp")), EInOutError);
    EXPECT_FALSE(QFile::exists(Path("no/such/folder/a.bmp")));

    Src.SaveToFile(Path("keep.bmp"));
    const QByteArray Before = [&] {
        QFile F(Path("keep.bmp"));
        F.open(QIODevice::ReadOnly);
        return F.readAll();
    }();
    TBitmap Empty;
    EXPECT_THROW(Empty.SaveToFile(Path("keep.bmp")), EInvalidGraphic);
    TGIFImage Gif;
    Gif.Assign(&Src);
    EXPECT_THROW(Gif.SaveToFile(Path("keep.bmp")), EInvalidGraphic);
    QFile F(Path("keep.bmp"));
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    EXPECT_EQ(F.readAll(), Before);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"keep.bmp"});
}

TEST_F(PictureTest, StreamsCarryTheSameBytesAsFiles) {
    TBitmap Src;
    PaintSample(Src);
    TJPEGImage J;
    J.Assign(&Src);
    QByteArray Bytes;
    QBuffer Buf(&Bytes);
    Buf.open(QIODevice::WriteOnly);
    J.SaveToStream(Buf);
    Buf.close();
    EXPECT_EQ(Bytes, J.SaveToBytes());
    Buf.open(QIODevice::ReadOnly);
    TJPEGImage Back;
    Back.LoadFromStream(Buf);
    EXPECT_EQ(Back.Width(), 64);
}

TEST_F(PictureTest, ScanLinesUseBlueGreenRedOrder) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(3, 2);
    B.Canvas()->SetPixels(1, 1, RGB(10, 20, 30));
    auto* Row = static_cast<uint8_t*>(B.ScanLine(1));
    EXPECT_EQ(Row[3], 30); // blue
    EXPECT_EQ(Row[4], 20); // green
    EXPECT_EQ(Row[5], 10); // red
    Row[0] = 1;
    Row[1] = 2;
    Row[2] = 3;
    EXPECT_EQ(B.Canvas()->Pixels(0, 1), RGB(3, 2, 1));

    B.SetPixelFormat(pf32bit);
    auto* Row32 = static_cast<uint8_t*>(B.ScanLine(1));
    EXPECT_EQ(Row32[4], 30);
    EXPECT_EQ(Row32[6], 10);
    EXPECT_EQ(Row32[7], 255); // alpha
    EXPECT_THROW(B.ScanLine(2), EInvalidGraphic);
    EXPECT_THROW(B.ScanLine(-1), EInvalidGraphic);
}

TEST_F(PictureTest, SetSizeKeepsTheOverlapAndWhitensTheRest) {
    TBitmap B(4, 4);
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(Rect(0, 0, 4, 4));
    B.SetSize(6, 2);
    EXPECT_EQ(B.Width(), 6);
    EXPECT_EQ(B.Height(), 2);
    EXPECT_EQ(B.Canvas()->Pixels(3, 1), clRed);
    EXPECT_EQ(B.Canvas()->Pixels(4, 1), clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 6, 2)); // the canvas follows the new size
    EXPECT_EQ(B.Canvas()->Pixels(5, 1), clRed);
    B.SetSize(0, 5);
    EXPECT_TRUE(B.Empty());
}

} // namespace
