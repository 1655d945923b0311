// The picture container: decoding through Qt's readers, the GIF frame scan and timing, the
// animation steps, the cache and the named container, and file reading that refuses anything but a
// regular file of at most 16 MiB.
#include "grid/base/PictureContainer.h"

#include "platform/gui/Resources.h"
#include "tests/grid/GifFixture.h"
#include "tests/support/QtPrint.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/types.h>

using namespace gif_fixture;

namespace {

// A 12 x 10 animation: frame 1 fills the area red, frame 2 is a green 4 x 3 patch at (5, 2),
// frame 3 a blue 2 x 2 patch at (1, 6).
QByteArray ThreeFrames() {
    return MakeGIF(12, 10, {{0, 0, 12, 10, 20, Red}, {5, 2, 4, 3, 50, Green, true, 2}, {1, 6, 2, 2, 30, Blue}});
}

QByteArray PngBytes(int W, int H, QColor Color) {
    QImage Img(W, H, QImage::Format_ARGB32);
    Img.fill(Color);
    QByteArray Bytes;
    QBuffer Buf(&Bytes);
    Buf.open(QIODevice::WriteOnly);
    Img.save(&Buf, "PNG");
    return Bytes;
}

// Offsets of the frame starts as the fixture writes them.
std::vector<int> FixtureStarts(const QByteArray& Gif) {
    std::vector<int> S;
    for (int I = 13 + 12; I + 2 < Gif.size(); ++I)
        if (uint8_t(Gif[I]) == 0x21 && uint8_t(Gif[I + 1]) == 0xF9) S.push_back(I);
    return S;
}

QColor PixelOf(const THTMLPicture& P, int X, int Y) { return P.ToImage().pixelColor(X, Y); }

} // namespace

TEST(HTMLPicture, EmptyPictureHasNoSizeAndNoFrames) {
    THTMLPicture P;
    EXPECT_TRUE(P.Empty());
    EXPECT_EQ(P.Width(), 0);
    EXPECT_EQ(P.Height(), 0);
    EXPECT_EQ(P.GetMaxWidth(), 0);
    EXPECT_EQ(P.Frame(), 1);
    EXPECT_EQ(P.FrameCount(), -1);
    EXPECT_EQ(P.GetFrameTime(1), -1);
    EXPECT_TRUE(P.Asynch());
    EXPECT_FALSE(P.Step());
}

TEST(HTMLPicture, DecodesPngAndKeepsTheRawBytes) {
    const QByteArray Png = PngBytes(7, 5, Qt::blue);
    THTMLPicture P;
    int Changes = 0;
    P.OnChange = [&](TObject*) { ++Changes; };
    P.LoadFromBytes(Png);
    EXPECT_FALSE(P.Empty());
    EXPECT_EQ(P.Width(), 7);
    EXPECT_EQ(P.Height(), 5);
    EXPECT_EQ(P.GetMaxWidth(), 7);
    EXPECT_EQ(P.GetMaxHeight(), 5);
    EXPECT_FALSE(P.IsGIF());
    EXPECT_EQ(P.FrameCount(), -1);
    EXPECT_EQ(P.SaveToBytes(), Png);
    EXPECT_EQ(Changes, 1);

    THTMLPicture Copy;
    Copy.Assign(&P);
    EXPECT_EQ(Copy.Width(), 7);
    EXPECT_EQ(PixelOf(Copy, 3, 3), QColor(Qt::blue));
    Copy.Assign(&Copy); // given itself, a picture keeps its image
    EXPECT_FALSE(Copy.Empty());
    EXPECT_EQ(Copy.Width(), 7);
    EXPECT_EQ(PixelOf(Copy, 3, 3), QColor(Qt::blue));
    Copy.Assign(nullptr);
    EXPECT_TRUE(Copy.Empty());
    EXPECT_EQ(Copy.SaveToBytes().size(), 0);
}

TEST(HTMLPicture, DecodesEveryFormatThroughTheImageReaders) {
    QImage Img(6, 4, QImage::Format_RGB32);
    Img.fill(QColor(200, 0, 0));
    for (const char* Format : {"PNG", "BMP", "JPEG", "ICO"}) {
        QByteArray Bytes;
        QBuffer Buf(&Bytes);
        Buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(Img.save(&Buf, Format)) << Format;
        THTMLPicture P;
        P.LoadFromBytes(Bytes);
        EXPECT_EQ(P.Width(), 6) << Format;
        EXPECT_EQ(P.Height(), 4) << Format;
        EXPECT_GT(PixelOf(P, 2, 2).red(), 150) << Format;
    }
}

TEST(HTMLPicture, StreamErrorsRaiseWithTheDecoderText) {
    THTMLPicture P;
    QByteArray Junk("this is no picture at all");
    QBuffer Buf(&Junk);
    Buf.open(QIODevice::ReadOnly);
    try {
        P.LoadFromStream(Buf);
        FAIL() << "no error";
    } catch (const EInvalidGraphic& E) {
        EXPECT_EQ(E.Message(), "Could not load image. Invalid format");
    }
    EXPECT_TRUE(P.Empty());
    EXPECT_THROW(P.LoadFromBytes(QByteArray()), EInvalidGraphic);
    P.LoadFromStream(static_cast<TStream*>(nullptr)); // nothing
    EXPECT_TRUE(P.Empty());

    TMemoryStream M;
    const QByteArray Png = PngBytes(3, 3, Qt::red);
    M.Write(Png.constData(), Png.size());
    P.ReadData(&M);
    EXPECT_EQ(P.Width(), 3);
    TMemoryStream Out;
    P.WriteData(&Out);
    EXPECT_EQ(Out.Bytes(), Png);
}

TEST(HTMLPicture, GifFramesAreCountedAndTimed) {
    THTMLPicture P;
    P.LoadFromBytes(ThreeFrames());
    EXPECT_TRUE(P.IsGIF());
    EXPECT_EQ(P.FrameCount(), 3);
    EXPECT_EQ(P.GetMaxWidth(), 12);
    EXPECT_EQ(P.GetMaxHeight(), 10);
    EXPECT_EQ(P.GetFrameTime(1), 20);
    EXPECT_EQ(P.GetFrameTime(2), 50);
    EXPECT_TRUE(P.FrameTransparent());
    EXPECT_EQ(P.FrameDisposal(), 2);
    EXPECT_EQ(P.GetFrameTime(3), 30);
    EXPECT_FALSE(P.FrameTransparent());
    EXPECT_EQ(P.GetFrameTime(4), -1);
    EXPECT_EQ(P.GetFrameTime(0), -1);
    EXPECT_EQ(P.Width(), 12);
    EXPECT_EQ(PixelOf(P, 6, 6), QColor(Qt::red));
}

TEST(HTMLPicture, SettingAFrameDecodesTheStreamWithoutTheFramesBeforeIt) {
    const QByteArray Gif = ThreeFrames();
    const std::vector<int> Starts = FixtureStarts(Gif);
    ASSERT_EQ(Starts.size(), 3u);
    THTMLPicture P;
    P.LoadFromBytes(Gif);
    int Changes = 0;
    P.OnFrameChange = [&](TObject*) { ++Changes; };
    P.SetFrame(2);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(P.DecodedStream(), Gif.left(Starts[0]) + Gif.mid(Starts[1]));
    EXPECT_EQ(P.FrameXPos(), 5);
    EXPECT_EQ(P.FrameYPos(), 2);
    EXPECT_EQ(P.Width(), 4); // the frame itself
    EXPECT_EQ(P.Height(), 3);
    EXPECT_EQ(P.GetMaxWidth(), 12); // the animation area
    EXPECT_EQ(PixelOf(P, 1, 1), QColor(Qt::green));

    P.FrameNext();
    EXPECT_EQ(P.Frame(), 3);
    EXPECT_EQ(P.FrameXPos(), 1);
    EXPECT_EQ(P.FrameYPos(), 6);
    EXPECT_EQ(PixelOf(P, 0, 0), QColor(Qt::blue));
    P.FrameNext();
    EXPECT_EQ(P.Frame(), 1);
    P.FramePrev();
    EXPECT_EQ(P.Frame(), 3);
}

TEST(HTMLPicture, StepFollowsTheFrameDelays) {
    THTMLPicture P;
    P.LoadFromBytes(MakeGIF(4, 4, {{0, 0, 4, 4, 20, Red}, {0, 0, 4, 4, 50, Green}}));
    std::vector<int> ChangedAt;
    for (int Call = 1; Call <= 10; ++Call)
        if (P.Step()) ChangedAt.push_back(Call);
    // step count x 10 reaches 20 on the fourth call, 70 on the ninth
    EXPECT_EQ(ChangedAt, (std::vector<int>{4, 9}));
    EXPECT_EQ(P.Frame(), 1);

    THTMLPicture Single;
    Single.LoadFromBytes(MakeGIF(4, 4, {{0, 0, 4, 4, 10, Red}}));
    for (int Call = 0; Call < 30; ++Call) EXPECT_FALSE(Single.Step());
    EXPECT_EQ(Single.Frame(), 1);
}

TEST(HTMLPicture, TruncatedGifNeverReadsPastTheData) {
    const QByteArray Gif = ThreeFrames();
    // every prefix, and every prefix with a frame start forged at its end: loading may fail,
    // but counting, timing and stepping stay inside the bytes (the sanitizer build checks that)
    for (int Len = 0; Len <= Gif.size(); ++Len) {
        for (const QByteArray& Bytes : {Gif.left(Len), Gif.left(Len) + QByteArray("\x21\xF9\x04\x00\x0A", 5)}) {
            THTMLPicture P;
            try {
                P.LoadFromBytes(Bytes);
            } catch (const EInvalidGraphic&) {
                EXPECT_TRUE(P.Empty());
            }
            const int Count = P.FrameCount();
            for (int F = 0; F <= Count + 1; ++F) (void)P.GetFrameTime(F);
            for (int Step = 0; Step < 20; ++Step) EXPECT_NO_THROW(P.Step());
        }
    }
}

TEST(HTMLPicture, AFrameThatFailsToDecodeDrawsNothingAndTheTimerGoesOn) {
    // frame 2's descriptor is there, its pixel data is cut off
    QByteArray Gif = MakeGIF(4, 4, {{0, 0, 4, 4, 0, Red}, {0, 0, 4, 4, 0, Green}});
    const std::vector<int> Starts = FixtureStarts(Gif);
    ASSERT_EQ(Starts.size(), 2u);
    Gif.truncate(Starts[1] + 18);
    THTMLPicture P;
    P.LoadFromBytes(Gif);
    ASSERT_EQ(P.FrameCount(), 2);
    THTMLPictureCache Cache;
    Cache.AddPicture()->Assign(&P);
    bool Changed = true;
    EXPECT_NO_THROW(Changed = Cache.Animate()); // the step count starts at -1
    EXPECT_FALSE(Changed);
    EXPECT_NO_THROW(Changed = Cache.Animate());
    EXPECT_TRUE(Changed);
    EXPECT_TRUE(Cache.GetPicture(0)->ToImage().isNull());
    TBitmap B(8, 8);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 8, 8));
    EXPECT_NO_THROW(Cache.GetPicture(0)->Draw(B.Canvas(), Rect(0, 0, 4, 4)));
    EXPECT_NO_THROW(Cache.Animate());
}

TEST(HTMLPicture, DrawsAtNaturalSizeOrStretched) {
    THTMLPicture P;
    P.LoadFromBytes(PngBytes(4, 4, Qt::red));
    TBitmap B(20, 20);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 20, 20));
    P.Draw(B.Canvas(), Rect(2, 2, 18, 18)); // not stretched: 4 x 4 at (2, 2)
    EXPECT_EQ(B.Canvas()->Pixels(3, 3), clRed);
    EXPECT_EQ(B.Canvas()->Pixels(8, 8), clWhite);
    P.SetStretch(true);
    P.Draw(B.Canvas(), Rect(2, 2, 18, 18));
    EXPECT_EQ(B.Canvas()->Pixels(16, 16), clRed);
    EXPECT_EQ(B.Canvas()->Pixels(18, 18), clWhite);
}

TEST(HTMLPicture, LoadsFromUrlsByKind) {
    THTMLPicture Res;
    Res.LoadFromURL("res://lbok");
    EXPECT_FALSE(Res.Empty());
    EXPECT_GT(Res.Width(), 0);
    EXPECT_EQ(Res.ID(), "res://lbok");

    THTMLPicture Missing;
    Missing.LoadFromURL("RES://NO_SUCH_PICTURE");
    EXPECT_TRUE(Missing.Empty());
    EXPECT_THROW(Missing.LoadFromResourceID(424242), EResNotFound);

    THTMLPicture Web;
    Web.SetAsynch(false);
    Web.LoadFromURL("http://example.com/a.png");
    EXPECT_TRUE(Web.Empty());
    EXPECT_EQ(Web.ID(), "http://example.com/a.png");
    EXPECT_FALSE(Web.Busy());

    THTMLPicture Async;
    Async.LoadFromURL("http://example.com/a.png");
    EXPECT_TRUE(Async.Empty());
    EXPECT_TRUE(Async.Busy());
    EXPECT_EQ(Async.URL(), "http://example.com/a.png");

    QTemporaryDir Dir;
    const QString Path = Dir.filePath("Pic.png");
    QFile File(Path);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(PngBytes(5, 6, Qt::green));
    File.close();
    THTMLPicture FromFile;
    FromFile.LoadFromURL("file://" + Path);
    EXPECT_EQ(FromFile.Width(), 5);
    EXPECT_EQ(FromFile.Height(), 6);
}

TEST(HTMLPicture, LoadFromFileLeavesThePictureEmptyOnAnyFailure) {
    QTemporaryDir Dir;
    const QString Text = Dir.filePath("notes.txt");
    QFile File(Text);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write("just some words");
    File.close();
    THTMLPicture P;
    P.LoadFromBytes(PngBytes(2, 2, Qt::red));
    EXPECT_NO_THROW(P.LoadFromFile(Text));
    EXPECT_TRUE(P.Empty());
    EXPECT_NO_THROW(P.LoadFromFile(Dir.filePath("missing.png")));
    EXPECT_TRUE(P.Empty());
}

// A picture source read from a cell text must not hang or exhaust the program.
TEST(PictureFiles, OnlyRegularFilesOfAtMost16MiBAreRead) {
    QTemporaryDir Dir;
    QByteArray Bytes;

    const QString Fifo = Dir.filePath("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(Fifo).constData(), 0600), 0);
    EXPECT_FALSE(ReadPictureFile(Fifo, Bytes)); // returns at once, no writer needed
    EXPECT_FALSE(ReadPictureFile("/dev/zero", Bytes));
    EXPECT_FALSE(ReadPictureFile(Dir.path(), Bytes));
    EXPECT_FALSE(ReadPictureFile(Dir.filePath("missing"), Bytes));
    EXPECT_FALSE(ReadPictureFile("", Bytes));

    const QString Huge = Dir.filePath("huge.gif");
    QFile H(Huge);
    ASSERT_TRUE(H.open(QIODevice::WriteOnly));
    ASSERT_TRUE(H.resize(MaxPictureFileSize + 1)); // sparse: costs no disk
    H.close();
    EXPECT_FALSE(ReadPictureFile(Huge, Bytes));
    EXPECT_TRUE(Bytes.isEmpty());

    const QString Link = Dir.filePath("link.png");
    const QString Small = Dir.filePath("small.png");
    QFile S(Small);
    ASSERT_TRUE(S.open(QIODevice::WriteOnly));
    S.write(PngBytes(3, 3, Qt::red));
    S.close();
    ASSERT_TRUE(QFile::link(Small, Link));
    EXPECT_TRUE(ReadPictureFile(Link, Bytes));
    EXPECT_EQ(Bytes, PngBytes(3, 3, Qt::red));

    THTMLPicture P;
    P.LoadFromURL("FILE://" + Fifo);
    EXPECT_TRUE(P.Empty());
    P.LoadFromURL("FILE:///dev/zero");
    EXPECT_TRUE(P.Empty());
    P.LoadFromURL("FILE://" + Huge);
    EXPECT_TRUE(P.Empty());
}

TEST(HTMLPictureCache, FindsByExactIdentityAndAnimatesEveryPicture) {
    THTMLPictureCache Cache;
    THTMLPicture* A = Cache.AddPicture();
    A->SetID("file:///a.gif");
    A->LoadFromBytes(MakeGIF(2, 2, {{0, 0, 2, 2, 0, Red}, {0, 0, 2, 2, 0, Green}}));
    THTMLPicture* B = Cache.AddPicture();
    B->SetID("FILE:///B.PNG");
    EXPECT_EQ(Cache.FindPicture("file:///a.gif"), A);
    EXPECT_EQ(Cache.FindPicture("FILE:///A.GIF"), nullptr);
    EXPECT_EQ(Cache.FindPicture("FILE:///B.PNG"), B);
    EXPECT_EQ(Cache.Count(), 2);
    EXPECT_THROW(Cache.GetPicture(2), EListError);
    EXPECT_FALSE(Cache.Animate()); // the step count starts at -1
    EXPECT_TRUE(Cache.Animate()); // delay 0: the next tick moves on
    EXPECT_EQ(A->Frame(), 2);
    Cache.ClearPictures();
    EXPECT_EQ(Cache.Count(), 0);
}

TEST(PictureContainer, FindsPicturesByNameIgnoringCase) {
    TPictureContainer Container(nullptr);
    TPictureItem* Logo = Container.Items()->Add();
    Logo->SetName("Logo");
    Logo->Picture()->LoadFromBytes(PngBytes(3, 2, Qt::red));
    TPictureItem* Other = Container.Items()->Insert(0);
    Other->SetName("other");
    EXPECT_EQ(Container.Items()->GetOwner(), &Container);
    EXPECT_EQ(Container.FindPicture("LOGO"), Logo->Picture());
    EXPECT_EQ(Container.FindPicture("logo"), Logo->Picture());
    EXPECT_EQ(Container.FindPicture("Other"), Other->Picture());
    EXPECT_EQ(Container.FindPicture("nothing"), nullptr);
    EXPECT_EQ(Container.Items()->Items(1), Logo);
    EXPECT_THROW(Container.Items()->Insert(5), EListError);

    // items keep their own pictures: writing one copies
    THTMLPicture Source;
    Source.LoadFromBytes(PngBytes(6, 6, Qt::blue));
    Other->SetPicture(&Source);
    EXPECT_NE(Other->Picture(), &Source);
    EXPECT_EQ(Other->Picture()->Width(), 6);

    TPictureContainer Copy(nullptr);
    Copy.SetItems(Container.Items());
    ASSERT_EQ(Copy.Items()->Count(), 2);
    EXPECT_EQ(Copy.FindPicture("LOGO")->Width(), 3);
    EXPECT_NE(Copy.FindPicture("LOGO"), Logo->Picture());
    EXPECT_FALSE(Container.Items()->Animate());
}
