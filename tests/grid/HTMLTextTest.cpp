// The mini-HTML renderer: measuring (extent and stripped text), hit testing (anchor and control
// under a point), pixel probes of what it paints, and a sheet of cells for a person to look at.
#include "grid/base/EsgHTMLE.h"
#include "tests/grid/GifFixture.h"
#include "tests/support/QtPrint.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

// One call with the grid's usual arguments; the test changes what it is about.
struct THtml {
    TRect R = Rect(0, 0, 300, 100);
    TCustomImageList* Images = nullptr;
    int X = -1, Y = -1;
    int FocusLink = -1, HoverLink = 0, ShadowOffset = 1;
    bool HotSpot = false, Measure = false, Print = false, Selected = false, Blink = true;
    bool HoverStyle = false, WordWrap = true, Down = false;
    double Res = 1.0;
    TColor URL = clBlue, Hover = clNone, HoverFont = clNone, Shadow = clGray;
    THTMLPictureCache* Cache = nullptr;
    TPictureContainer* Container = nullptr;
    TBiDiMode BiDi = bdLeftToRight;

    QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
    int XSize = -1, YSize = -1, HyperLinks = -1, MouseLink = -2;
    TRect HoverRect, ControlRect;
    bool Result = false;

    bool Run(TCanvas* C, const QString& Text) {
        Result = DrawHTMLText(C, Text, R, Images, X, Y, FocusLink, HoverLink, ShadowOffset, HotSpot, Measure, Print,
                              Selected, Blink, HoverStyle, WordWrap, Down, Res, URL, Hover, HoverFont, Shadow,
                              AnchorVal, StripVal, FocusAnchor, AnchorHint, XSize, YSize, HyperLinks, MouseLink,
                              HoverRect, ControlRect, CID, CV, CT, Cache, Container, nullptr, BiDi);
        return Result;
    }
};

void SetCellFont(TCanvas* C) {
    C->Font()->SetName("Tahoma");
    C->Font()->SetHeight(-13);
    C->Font()->SetStyle({});
    C->Font()->SetColor(clBlack);
}

// A white bitmap with the cell font.
struct TSheet {
    TBitmap B;
    TSheet(int W = 300, int H = 100) : B(W, H) {
        C()->Brush()->SetColor(clWhite);
        C()->FillRect(Rect(0, 0, W, H));
        SetCellFont(C());
    }
    TCanvas* C() { return B.Canvas(); }
};

// Widths in the canvas's own measure, for the expectations.
struct TMeasure {
    TCanvas* C;
    int W(const QString& S, TFontStyles Style = {}, int Height = -13) {
        TFont Old;
        Old.Assign(C->Font());
        C->Font()->SetStyle(Style);
        C->Font()->SetHeight(Height);
        const int R = C->TextWidth(S);
        C->Font()->Assign(&Old);
        return R;
    }
    int H(int Height = -13) {
        TFont Old;
        Old.Assign(C->Font());
        C->Font()->SetHeight(Height);
        const int R = C->TextHeight("gh");
        C->Font()->Assign(&Old);
        return R;
    }
};

QByteArray PngBytes(int W, int H, QColor Color) {
    QImage Img(W, H, QImage::Format_ARGB32);
    Img.fill(Color);
    QByteArray Bytes;
    QBuffer Buf(&Bytes);
    Buf.open(QIODevice::WriteOnly);
    Img.save(&Buf, "PNG");
    return Bytes;
}

// ---- measuring --------------------------------------------------------------------------------------

struct TMeasureCase {
    const char* Name;
    QString Markup;
    bool WordWrap;
    std::function<int(TMeasure&)> RectWidth;
    std::function<TSize(TMeasure&)> Size;
    QString Strip;
    int Anchors;
};

void PrintTo(const TMeasureCase& C, std::ostream* Os) { *Os << C.Name; }

class HTMLMeasure : public ::testing::TestWithParam<TMeasureCase> {};

TEST_P(HTMLMeasure, ExtentStrippedTextAndAnchors) {
    const TMeasureCase& Case = GetParam();
    TSheet S;
    TMeasure M{S.C()};
    TPictureContainer Container(nullptr);
    TPictureItem* Pic = Container.Items()->Add();
    Pic->SetName("photo");
    Pic->Picture()->LoadFromBytes(PngBytes(64, 48, Qt::red));
    THtml H;
    H.R = Rect(0, 0, Case.RectWidth(M), 20); // shorter than most texts: measuring ignores the bottom
    H.Measure = true;
    H.WordWrap = Case.WordWrap;
    H.Container = &Container;
    EXPECT_FALSE(H.Run(S.C(), Case.Markup));
    const TSize Want = Case.Size(M);
    EXPECT_EQ(H.XSize, Want.cx);
    EXPECT_EQ(H.YSize, Want.cy);
    EXPECT_EQ(H.StripVal, Case.Strip);
    EXPECT_EQ(H.HyperLinks, Case.Anchors);
}

int Width300(TMeasure&) { return 300; }
int Width0(TMeasure&) { return 0; }
// "aaa " fits, the bold "bbb" after it does not
int Width10(TMeasure& M) { return 1 + M.W("aaa ") + 2; }

const TMeasureCase kMeasureCases[] = {
    {"Empty", "", true, Width300,
     [](TMeasure& M) {
         return TSize{0, M.H()};
     },
     "", 0},
    {"Plain", "plain text", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("plain text"), M.H()};
     },
     "plain text", 0},
    {"TypicalCell", "<b>Name</b> <font color=\"clRed\">12.5</font> <i>kg</i>", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("Name", {fsBold}) + M.W(" ") + M.W("12.5") + M.W(" ") + M.W("kg", {fsItalic}), M.H()};
     },
     "Name 12.5 kg", 0},
    {"TrailingSpaceLeftOut", "abc ", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("abc"), M.H()};
     },
     "abc ", 0},
    {"LineBreaks", "a<br>bbb\rcc", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("bbb"), 3 * M.H()};
     },
     "a\rbbb\rcc", 0},
    {"LineFeedDropped", "ab\ncd", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("abcd"), M.H()};
     },
     "abcd", 0},
    {"Entities", "&lt;b&gt; &permil;&EURO;", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("<b> ") + M.W(QString(QChar(0x2030)) + QChar(0x20AC)), M.H()};
     },
     QString("<b> ") + QChar(0x2030) + QChar(0x20AC), 0},
    {"AmpersandIsAPrefix", "a&b &amp; c", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("ab & c"), M.H()};
     },
     "a&b && c", 0},
    {"UnclosedTagDropsTheRest", "abc<font color=\"clRed\" more", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("abc"), M.H()};
     },
     "abc", 0},
    {"ShortTagAtTheEndDropped", "abc<b", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("abc"), M.H()};
     },
     "abc", 0},
    {"UnwrappedHashTag", "x<#y>z", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("x#yz"), M.H()};
     },
     "x#yz", 0},
    {"HiddenTextOnlyStripped", "<z>secret</z>shown", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("shown"), M.H()};
     },
     "secretshown", 0},
    {"FontSize3Is12Points", "<font size=\"3\">gh</font>", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("gh", {}, -16), M.H(-16)};
     },
     "gh", 0},
    {"FontSize7Is7Points", "<font size=\"7\">gh</font>", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("gh", {}, -9), M.H()};
     },
     "gh", 0},
    {"UnquotedSizeTakesItsNumber", "<font size=5>gh</font>", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("gh", {}, -21), M.H(-21)};
     },
     "gh", 0},
    {"WordWrapKeepsWordsWhole", "aaa bbb ccc", true, Width0,
     [](TMeasure& M) {
         return TSize{M.W("aaa"), 3 * M.H()};
     },
     "aaa bbb ccc", 0},
    {"NoWrapOneLinePerBreak", "aaa bbb ccc<br>d", false, Width300,
     [](TMeasure& M) {
         return TSize{M.W("aaa bbb ccc"), 2 * M.H()};
     },
     "aaa bbb ccc\rd", 0},
    {"NoWrapOverflowDropsTheRestOfTheLine", "aaa <b>bbb</b> ccc<br>d", false, Width10,
     [](TMeasure& M) {
         return TSize{M.W("aaa ") + M.W("bbb", {fsBold}), 2 * M.H()};
     },
     "aaa bbb\rd", 0},
    {"Anchors", "<a href=\"x\">one</a> and <a href=\"y\">two</a>", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("one and two"), M.H()};
     },
     "one and two", 2},
    {"ListLevel2", "<ul><ul><li>x", true, Width300,
     [](TMeasure& M) {
         return TSize{24 + M.W("x"), 3 * M.H()};
     },
     "x", 0},
    {"SecondListItemStartsALine", "<ul><li>a<li>b", true, Width300,
     [](TMeasure& M) {
         return TSize{12 + M.W("a"), 3 * M.H()};
     },
     "ab", 0},
    {"TabToOffset", "a<ind x=\"50\">b", true, Width300,
     [](TMeasure& M) {
         return TSize{50 + M.W("b"), M.H()};
     },
     "ab", 0},
    {"ImageWidthScalesHeight", "<img src=\"photo\" width=\"32\">", true, Width300,
     [](TMeasure& M) {
         return TSize{32, std::max(24, M.H())};
     },
     "", 0},
    {"ImageNaturalSize", "<img src=\"PHOTO\">x", true, Width300,
     [](TMeasure& M) {
         return TSize{64 + M.W("x"), 48};
     },
     "x", 0},
    {"MissingImageTakesNoSpace", "<img src=\"none\">x", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("x"), M.H()};
     },
     "x", 0},
    {"ControlWithoutWidthLeavesNoTrace", "a<control type=\"edit\" id=\"e1\" value=\"v\">b", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("ab"), M.H()};
     },
     "ab", 0},
    {"CheckBoxIs16By16", "<control type=\"check\" id=\"c\" value=\"TRUE\" width=\"80\">", true, Width300,
     [](TMeasure&) {
         return TSize{16, 16};
     },
     "", 0},
    {"EditTakesItsWidth", "<control type=\"edit\" id=\"e\" value=\"v\" width=\"80\">", true, Width300,
     [](TMeasure& M) {
         return TSize{80, M.H() + 10};
     },
     "", 0},
    {"Subscript", "x<sub>2</sub>", true, Width300,
     [](TMeasure& M) {
         return TSize{M.W("x2"), M.H() + M.H() / 4};
     },
     "x2", 0},
};

// The case whose expectation needs the canvas: a line that just holds "aaa bbb ".
TEST(HTMLMeasureWrap, WordWrapFillsTheLineBeforeBreaking) {
    TSheet S;
    TMeasure M{S.C()};
    THtml H;
    H.Measure = true;
    H.R = Rect(0, 0, 1 + M.W("aaa bbb "), 20);
    H.Run(S.C(), "aaa bbb ccc");
    EXPECT_EQ(H.XSize, M.W("aaa bbb"));
    EXPECT_EQ(H.YSize, 2 * M.H());
}

INSTANTIATE_TEST_SUITE_P(Table, HTMLMeasure, ::testing::ValuesIn(kMeasureCases),
                         [](const ::testing::TestParamInfo<TMeasureCase>& I) { return std::string(I.param.Name); });

TEST(HTMLMeasureOnly, LaysOutTheWholeTextWhilePaintingStopsAtTheBottom) {
    TSheet S;
    TMeasure M{S.C()};
    const QString Text = "1<br>2<br>3<br>4<br>5";
    THtml H;
    H.R = Rect(0, 0, 100, M.H() * 2 + 2);
    H.Measure = true;
    H.Run(S.C(), Text);
    EXPECT_EQ(H.YSize, 5 * M.H());
    EXPECT_EQ(H.StripVal, "1\r2\r3\r4\r5");
    THtml P;
    P.R = H.R;
    P.Run(S.C(), Text);
    EXPECT_EQ(P.YSize, 2 * M.H()); // the third line would pass the bottom
    EXPECT_EQ(P.StripVal, "1\r2\r");
}

TEST(HTMLMeasureOnly, NestedFontTagsRestoreTheBaseColour) {
    // after two colour tags and one closing tag the text is in the base colour, not red
    TSheet S(200, 30);
    THtml H;
    H.R = Rect(0, 0, 200, 30);
    H.Run(S.C(), "<font color=\"clRed\"><font color=\"clBlue\">x</font>WWWW");
    const QImage& Img = S.B.Image();
    int Colored = 0, Black = 0;
    for (int Y = 0; Y < 30; ++Y)
        for (int X = 12; X < 200; ++X) {
            const QColor P = Img.pixelColor(X, Y);
            if (P.red() > 150 && P.green() < 80) ++Colored;
            if (P.red() < 60 && P.green() < 60 && P.blue() < 60) ++Black;
        }
    EXPECT_EQ(Colored, 0);
    EXPECT_GT(Black, 10);
}

TEST(HTMLColors, NamesAndHexValues) {
    EXPECT_EQ(HTMLColor("#FF0000"), RGB(255, 0, 0));
    EXPECT_EQ(HTMLColor("#00FF8"), RGB(0, 255, 0)); // a pair cut short counts as 0
    EXPECT_EQ(HTMLColor("CLRED"), RGB(255, 0, 0));
    EXPECT_EQ(HTMLColor("clBtnFace"), clBtnFace);
    EXPECT_EQ(HTMLColor("clinfobk"), clInfoBk);
    EXPECT_EQ(HTMLColor("red"), 0);
    EXPECT_EQ(HTMLColor(""), 0);
}

// ---- hit testing ------------------------------------------------------------------------------------

TEST(HTMLHitTest, AnchorUnderThePoint) {
    TSheet S;
    TMeasure M{S.C()};
    const QString Text = "go <a href=\"http://Example.com/A\" title=\"Go there\">link</a> and "
                         "<a href=\"second\">more</a>";
    const int Gh = M.H();
    const int LinkLeft = 1 + M.W("go ");
    struct {
        const char* Name;
        int X, Y;
        bool Hit;
        QString Value;
        int Link;
    } Cases[] = {
        {"OnFirstLink", LinkLeft + 3, Gh / 2, true, "http://Example.com/A", 1},
        {"OnSecondLink", 1 + M.W("go link and ") + 3, Gh / 2, true, "second", 2},
        {"OnPlainText", 3, Gh / 2, false, "", -1},
        {"BelowTheLine", LinkLeft + 3, Gh + 5, false, "", -1},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        THtml H;
        H.HotSpot = true;
        H.X = Case.X;
        H.Y = Case.Y;
        EXPECT_EQ(H.Run(S.C(), Text), Case.Hit);
        EXPECT_EQ(H.HyperLinks, 2);
        if (Case.Hit) {
            EXPECT_EQ(H.AnchorVal, Case.Value);
            EXPECT_EQ(H.MouseLink, Case.Link);
        }
        if (Case.Link == 1) {
            EXPECT_EQ(H.AnchorHint, "Go there");
            EXPECT_EQ(H.HoverRect, Rect(LinkLeft, 0, LinkLeft + M.W("link"), Gh));
        }
    }
}

TEST(HTMLHitTest, EntitiesInsideTagsKeepLinkTargetsWhole) {
    TSheet S;
    THtml H;
    H.HotSpot = true;
    H.X = 3;
    H.Y = 5;
    EXPECT_TRUE(H.Run(S.C(), "<a href=\"http://x/?a=1&amp;b=2\" title=\"say &quot;hi&quot;\">query</a>"));
    EXPECT_EQ(H.AnchorVal, "http://x/?a=1&b=2");
    EXPECT_EQ(H.AnchorHint, "say \"hi\"");
}

TEST(HTMLHitTest, RightToLeftTextIsHitFromTheRightEdge) {
    TSheet S;
    TMeasure M{S.C()};
    THtml H;
    H.R = Rect(100, 0, 300, 40);
    H.BiDi = bdRightToLeft;
    H.HotSpot = true;
    H.X = 300 - 3; // the link stands at the right edge
    H.Y = 5;
    EXPECT_TRUE(H.Run(S.C(), "<a href=\"rtl\">link</a>"));
    EXPECT_EQ(H.AnchorVal, "rtl");
    H.X = 300 - M.W("link") - 5;
    EXPECT_FALSE(H.Run(S.C(), "<a href=\"rtl\">link</a>"));
}

TEST(HTMLHitTest, CentredLineIsHitWhereItIsDrawn) {
    TSheet S;
    TMeasure M{S.C()};
    const QString Text = "<p align=\"center\"><a href=\"mid\">word</a></p>";
    const int Left = 1 + (299 - M.W("word")) / 2;
    THtml H;
    H.HotSpot = true;
    H.X = Left + 2;
    H.Y = M.H() / 2;
    EXPECT_TRUE(H.Run(S.C(), Text));
    EXPECT_EQ(H.AnchorVal, "mid");
    H.X = 4; // where the word would be unaligned
    EXPECT_FALSE(H.Run(S.C(), Text));
}

TEST(HTMLHitTest, HoverRectangleOfAWrappedAnchorStartsOnItsLastLine) {
    TSheet S;
    TMeasure M{S.C()};
    THtml H;
    H.R = Rect(0, 0, 1 + M.W("xx first "), 100);
    H.HotSpot = true;
    H.X = 3;
    H.Y = M.H() + M.H() / 2;
    EXPECT_TRUE(H.Run(S.C(), "xx <a href=\"wrap\">first second</a>"));
    EXPECT_EQ(H.AnchorVal, "wrap");
    EXPECT_EQ(H.HoverRect, Rect(1, M.H(), 1 + M.W("second"), 2 * M.H()));
}

// The point on the first line of an anchor that closes on a later line still names that anchor.
TEST(HTMLHitTest, PointOnTheFirstLineOfAWrappedAnchorSetsTheMouseLink) {
    TSheet S;
    TMeasure M{S.C()};
    for (bool HotSpot : {true, false}) {
        SCOPED_TRACE(HotSpot ? "HotSpot" : "Paint");
        THtml H;
        H.R = Rect(0, 0, 1 + M.W("xx first "), 100);
        H.HotSpot = HotSpot;
        H.X = 1 + M.W("xx ") + 2;
        H.Y = M.H() / 2;
        H.Run(S.C(), "xx <a href=\"wrap\">first second</a>");
        EXPECT_EQ(H.AnchorVal, "wrap");
        EXPECT_EQ(H.MouseLink, 1);
        EXPECT_EQ(H.HoverRect.Left, 1);
        EXPECT_EQ(H.HoverRect.Top, M.H());
        EXPECT_EQ(H.HoverRect.Right, 1 + M.W("second"));
    }
}

TEST(HTMLHitTest, ControlsAndImagesInsideAnchors) {
    TSheet S;
    TMeasure M{S.C()};
    TPictureContainer Container(nullptr);
    TPictureItem* Pic = Container.Items()->Add();
    Pic->SetName("dot");
    Pic->Picture()->LoadFromBytes(PngBytes(20, 20, Qt::blue));
    const QString Text = "<control type=\"check\" id=\"c1\" value=\"TRUE\" width=\"40\">"
                         "<a href=\"img\"><img src=\"dot\"></a>"
                         "<control type=\"edit\" id=\"e1\" value=\"a&amp;b\" width=\"60\">";
    THtml H;
    H.Container = &Container;
    H.HotSpot = true;
    H.X = 5;
    H.Y = 5;
    EXPECT_TRUE(H.Run(S.C(), Text));
    EXPECT_EQ(H.AnchorVal, "ctrl");
    EXPECT_EQ(H.CID, "c1");
    EXPECT_EQ(H.CV, "TRUE");
    EXPECT_EQ(H.CT, "CHECK");
    EXPECT_EQ(H.ControlRect, Rect(1, 0, 17, 16));

    H.X = 1 + 16 + 10; // on the picture
    H.Y = 10;
    H.CID.clear(); // in hot-spot mode the control ID is an input
    EXPECT_TRUE(H.Run(S.C(), Text));
    EXPECT_EQ(H.AnchorVal, "img");
    EXPECT_TRUE(H.CID.isEmpty());

    // in hot-spot mode the control named by ID is hit wherever the point is
    H.X = -50;
    H.Y = -50;
    H.CID = "e1";
    EXPECT_TRUE(H.Run(S.C(), Text));
    EXPECT_EQ(H.CID, "e1");
    EXPECT_EQ(H.CV, "a&b");
    EXPECT_EQ(H.CT, "EDIT");
    EXPECT_EQ(H.ControlRect, Rect(37, 0, 97, M.H() + 10));

    // with no ID asked for, a control without an ID is hit only under the point
    H.CID.clear();
    EXPECT_FALSE(H.Run(S.C(), "text <control type=\"check\" value=\"TRUE\" width=\"40\">"));
    EXPECT_TRUE(H.CT.isEmpty());
    EXPECT_EQ(H.ControlRect, TRect());

    // measuring reports no hit, painting clears the control ID
    H.HotSpot = false;
    H.Measure = true;
    EXPECT_FALSE(H.Run(S.C(), Text));
    EXPECT_TRUE(H.CID.isEmpty());
}

TEST(HTMLHitTest, AltPictureIsShownWhileThePointIsOverTheImage) {
    TSheet S(100, 40);
    TPictureContainer Container(nullptr);
    auto Add = [&](const char* Name, QColor Color) {
        TPictureItem* Item = Container.Items()->Add();
        Item->SetName(Name);
        Item->Picture()->LoadFromBytes(PngBytes(16, 16, Color));
    };
    Add("plain", Qt::blue);
    Add("hot", Qt::red);
    THtml H;
    H.R = Rect(0, 0, 100, 40);
    H.Container = &Container;
    H.X = 8;
    H.Y = 8;
    H.Run(S.C(), "<a href=\"x\"><img src=\"plain\" alt=\"hot\"></a>");
    EXPECT_TRUE(H.Result);
    EXPECT_EQ(S.C()->Pixels(8, 8), clRed);
    H.X = 80;
    H.Run(S.C(), "<a href=\"x\"><img src=\"plain\" alt=\"hot\"></a>");
    EXPECT_EQ(S.C()->Pixels(8, 8), clBlue);
}

// ---- painting -----------------------------------------------------------------------------------------

int CountPixels(const QImage& Img, const QRect& Area, const std::function<bool(QColor)>& Test) {
    int N = 0;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            if (Test(Img.pixelColor(X, Y))) ++N;
    return N;
}

bool Dark(QColor C) { return C.red() < 100 && C.green() < 100 && C.blue() < 100; }

TEST(HTMLPaint, BoldInkIsHeavier) {
    TSheet A(200, 30), B(200, 30);
    THtml H;
    H.R = Rect(0, 0, 200, 30);
    H.Run(A.C(), "Name Name");
    H.Run(B.C(), "<b>Name Name</b>");
    const QRect All(0, 0, 200, 30);
    EXPECT_GT(CountPixels(B.B.Image(), All, Dark), CountPixels(A.B.Image(), All, Dark) * 11 / 10);
}

TEST(HTMLPaint, FontColourAndBackground) {
    TSheet S(200, 30);
    TMeasure M{S.C()};
    THtml H;
    H.R = Rect(0, 0, 200, 30);
    H.Run(S.C(), "<font color=\"#ff0000\" bgcolor=\"clYellow\">MMMM</font> end"); // the tag is upper-cased
    const int W = M.W("MMMM");
    const QImage& Img = S.B.Image();
    EXPECT_GT(CountPixels(Img, QRect(1, 0, W, M.H()),
                          [](QColor C) { return C.red() > 200 && C.green() < 90 && C.blue() < 90; }),
              20);
    // the background fills the run's cell: its corners are yellow
    EXPECT_EQ(S.C()->Pixels(2, 1), clYellow);
    EXPECT_EQ(S.C()->Pixels(W - 1, M.H() - 1), clYellow);
    // after the closing tag the background is clear again
    EXPECT_EQ(S.C()->Pixels(1 + W + M.W(" e"), 1), clWhite);
}

// Without word wrap the rest of an overflowing line is dropped up to the next line break; a colour
// or underline closed in that rest does not run on into the next line.
TEST(HTMLPaint, TagsClosedInTheDroppedRestOfALineStillClose) {
    TSheet S(200, 60);
    TMeasure M{S.C()};
    THtml H;
    H.WordWrap = false;
    H.R = Rect(0, 0, 1 + M.W("x MMM"), 60);
    H.Run(S.C(), "x <font color=\"clRed\"><u>MMMM MMMM MMMM</u></font><br>MMM");
    const QImage& Img = S.B.Image();
    const QRect Second(0, M.H(), 200, M.H() + 2);
    EXPECT_EQ(CountPixels(Img, Second, [](QColor C) { return C.red() > 200 && C.green() < 90 && C.blue() < 90; }), 0);
    EXPECT_GT(CountPixels(Img, Second, [](QColor C) { return C.lightness() < 90; }), 20);
    // no underline: no row of the second line is dark across the whole text
    const int W = M.W("MMM");
    for (int Y = M.H() + M.H() / 2; Y < 2 * M.H() + 2; ++Y)
        EXPECT_LT(CountPixels(Img, QRect(2, Y, W - 4, 1), [](QColor C) { return C.lightness() < 200; }), W - 4) << Y;
    EXPECT_EQ(H.StripVal, "x MMMM MMMM MMMM\rMMM");
}

TEST(HTMLPaint, UnderlineRunsUnderTheWholeRun) {
    TSheet S(200, 30);
    TMeasure M{S.C()};
    THtml H;
    H.R = Rect(0, 0, 200, 30);
    H.Run(S.C(), "<u>oooo</u>");
    const int W = M.W("oooo");
    const QImage& Img = S.B.Image();
    bool Found = false;
    for (int Y = M.H() / 2; Y < M.H() + 2 && !Found; ++Y)
        Found = CountPixels(Img, QRect(2, Y, W - 4, 1), Dark) == W - 4;
    EXPECT_TRUE(Found);
}

TEST(HTMLPaint, AnchorsTakeTheLinkColourAndAnUnderline) {
    TSheet S(200, 30);
    THtml H;
    H.R = Rect(0, 0, 200, 30);
    H.URL = clGreen;
    H.Run(S.C(), "<a href=\"x\">link</a>");
    EXPECT_GT(CountPixels(S.B.Image(), QRect(0, 0, 200, 30),
                          [](QColor C) { return C.green() > 90 && C.red() < 60 && C.blue() < 60; }),
              20);
}

TEST(HTMLPaint, ErrorUnderlineIsARedZigZag) {
    TSheet S(200, 30);
    TMeasure M{S.C()};
    THtml H;
    H.R = Rect(0, 0, 200, 30);
    H.Run(S.C(), "<e>wrong</e>");
    const int Bottom = M.H();
    EXPECT_EQ(S.C()->Pixels(4, Bottom + 1), RGB(255, 0, 0));
    EXPECT_EQ(S.C()->Pixels(6, Bottom - 1), RGB(255, 0, 0));
}

TEST(HTMLPaint, PicturesFromContainerCacheAndImageList) {
    QTemporaryDir Dir;
    const QString File = Dir.filePath("Green.png");
    QFile F(File);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(PngBytes(10, 10, Qt::green));
    F.close();
    TPictureContainer Container(nullptr);
    TPictureItem* Item = Container.Items()->Add();
    Item->SetName("red");
    Item->Picture()->LoadFromBytes(PngBytes(10, 10, Qt::red));
    THTMLPictureCache Cache;
    TImageList List(nullptr, 10, 10);
    TBitmap Blue(10, 10);
    Blue.Canvas()->Brush()->SetColor(clBlue);
    Blue.Canvas()->FillRect(Rect(0, 0, 10, 10));
    List.Add(&Blue, nullptr);

    TSheet S(200, 30);
    THtml H;
    H.R = Rect(0, 0, 200, 30);
    H.Container = &Container;
    H.Cache = &Cache;
    H.Images = &List;
    H.Run(S.C(), "<img src=\"red\"><img src=\"file://" + File + "\"><img src=\"idx:0\"><img src=\"idx:7\">");
    EXPECT_EQ(S.C()->Pixels(6, 5), clRed);
    EXPECT_EQ(S.C()->Pixels(16, 5), clLime);
    EXPECT_EQ(S.C()->Pixels(26, 5), clBlue);
    EXPECT_EQ(S.C()->Pixels(36, 5), clWhite);
    EXPECT_EQ(H.XSize, 30);
    ASSERT_EQ(Cache.Count(), 1);
    EXPECT_EQ(Cache.GetPicture(0)->ID(), "file://" + File);

    // stretched by WIDTH and HEIGHT
    TSheet T(200, 40);
    H.Run(T.C(), "<img src=\"red\" width=\"30\" height=\"20\">");
    EXPECT_EQ(T.C()->Pixels(29, 19), clRed);
    EXPECT_EQ(T.C()->Pixels(32, 5), clWhite);
}

TEST(HTMLPaint, AnimatedPictureDrawsItsCurrentFrameAtItsOffset) {
    using namespace gif_fixture;
    TPictureContainer Container(nullptr);
    TPictureItem* Item = Container.Items()->Add();
    Item->SetName("anim");
    Item->Picture()->LoadFromBytes(MakeGIF(12, 10, {{0, 0, 12, 10, 10, Red}, {5, 2, 4, 3, 10, Green}}));
    Item->Picture()->SetFrame(2);
    TSheet S(100, 30);
    S.C()->Brush()->SetColor(clSilver);
    THtml H;
    H.R = Rect(0, 0, 100, 30);
    H.Container = &Container;
    H.Run(S.C(), "<img src=\"anim\">");
    EXPECT_EQ(S.C()->Pixels(1 + 6, 3), clLime); // the frame at (5, 2)
    EXPECT_EQ(S.C()->Pixels(1 + 1, 1), clSilver); // the rest of the area in the background colour
}

TEST(HTMLPaint, BrokenPictureSourcesDrawNothingAndRaiseNothing) {
    QTemporaryDir Dir;
    const QString Fifo = Dir.filePath("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(Fifo).constData(), 0600), 0);
    const QString Junk = Dir.filePath("junk.gif");
    QFile F(Junk);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write("GIF89a and then nothing that decodes");
    F.close();
    THTMLPictureCache Cache;
    TSheet S(200, 30);
    THtml H;
    H.R = Rect(0, 0, 200, 30);
    H.Cache = &Cache;
    for (const QString& Src : {"file://" + Fifo, QString("file:///dev/zero"), "file://" + Junk,
                               QString("http://example.com/x.png"), QString("res://"), QString("c:\\x.png")}) {
        SCOPED_TRACE(Src.toStdString());
        EXPECT_NO_THROW(H.Run(S.C(), "<img src=\"" + Src + "\" width=\"20\">x"));
        EXPECT_EQ(CountPixels(S.B.Image(), QRect(0, 0, 20, 5), [](QColor C) { return C != Qt::white; }), 0);
    }
}

TEST(HTMLPaint, CanvasIsGivenBackAsItWas) {
    TSheet S(100, 30);
    TCanvas* C = S.C();
    C->Pen()->SetColor(clTeal);
    C->Pen()->SetWidth(3);
    C->Brush()->SetColor(clAqua);
    C->Font()->SetStyle({fsItalic});
    THtml H;
    H.R = Rect(0, 0, 100, 30);
    H.Run(C,
          "<b><u><font color=\"clRed\" bgcolor=\"clLime\" size=\"5\">x<e>y<hr>"
          "<control type=\"button\" id=\"b\" value=\"OK\" width=\"40\">");
    EXPECT_EQ(C->Pen()->Color(), clTeal);
    EXPECT_EQ(C->Pen()->Width(), 3);
    EXPECT_EQ(C->Brush()->Color(), clAqua);
    EXPECT_EQ(C->Brush()->Style(), bsSolid);
    EXPECT_EQ(C->BkMode(), OPAQUE);
    EXPECT_EQ(C->Font()->Style(), TFontStyles({fsItalic}));
    EXPECT_EQ(C->Font()->Height(), -13);
    EXPECT_EQ(C->Font()->Color(), clBlack);
}

TEST(HTMLPaint, GarbageMarkupNeverStopsTheCall) {
    const QString Cases[] = {"<",
                             "<<",
                             "<<<>>>",
                             "<a",
                             "</",
                             "<>",
                             "<font size=\"99999999999\">x",
                             "<img width=\"99999999\" src=\"x\">",
                             "<ind x=\"\">",
                             "<r a=\"-90\">rot</r>",
                             "<control type=\"button\" width=\"abc\" height=\"zz\">",
                             "&amp;amp;amp;amp;",
                             "<p align=\"right\" indent=\"5000\">far</p>",
                             "</ul></ul></ul>x",
                             "<li><li><li>",
                             QString(5000, QChar('<'))};
    TSheet S(100, 30);
    for (const QString& Text : Cases) {
        SCOPED_TRACE(Text.left(40).toStdString());
        THtml H;
        H.R = Rect(0, 0, 100, 30);
        EXPECT_NO_THROW(H.Run(S.C(), Text));
        EXPECT_GE(H.YSize, 0);
        H.Measure = true;
        EXPECT_NO_THROW(H.Run(S.C(), Text));
        H.Measure = false;
        H.HotSpot = true;
        EXPECT_NO_THROW(H.Run(S.C(), Text));
    }
}

// ---- a sheet for the eye -------------------------------------------------------------------------------

TEST(HTMLSheet, SavesAPictureOfSomeCells) {
    TPictureContainer Container(nullptr);
    TPictureItem* Item = Container.Items()->Add();
    Item->SetName("logo");
    QImage Logo(16, 16, QImage::Format_ARGB32);
    Logo.fill(Qt::transparent);
    {
        QPainter P(&Logo);
        P.setRenderHint(QPainter::Antialiasing);
        P.setBrush(QColor(30, 120, 200));
        P.setPen(Qt::NoPen);
        P.drawEllipse(1, 1, 14, 14);
    }
    QByteArray Bytes;
    QBuffer Buf(&Bytes);
    Buf.open(QIODevice::WriteOnly);
    Logo.save(&Buf, "PNG");
    Item->Picture()->LoadFromBytes(Bytes);

    const QString Cells[] = {
        "<b>Name</b> <font color=\"clRed\">12.5</font> <i>kg</i>",
        "<a href=\"http://x\">A link</a> and <u>underline</u>",
        "<font bgcolor=\"clYellow\">marked</font> <s>struck</s> <e>wrnog</e>",
        "H<sub>2</sub>O and x<sup>2</sup>",
        "<img src=\"logo\" align=\"middle\"> Logo <font size=\"4\">big</font>",
        "<control type=\"check\" id=\"c\" value=\"TRUE\" width=\"20\"> checked "
        "<control type=\"radio\" id=\"r\" value=\"FALSE\" width=\"20\"> radio",
        "<control type=\"edit\" id=\"e\" value=\"edit me\" width=\"80\"> "
        "<control type=\"button\" id=\"b\" value=\"Go\" width=\"40\">",
        "<control type=\"combo\" id=\"k\" value=\"one\" width=\"90\">",
        "<p align=\"center\">centred</p>",
        "<p bgcolor=\"#DDEEFF\">paragraph background</p>",
        "<ul><li>first<li>second</ul>",
        "A long text that wraps onto the next line of its cell",
        "<sh>shadowed text</sh> <hi>highlit</hi>",
        "no wrap: a long text that ends in an ellipsis",
    };
    const int CellW = 220, CellH = 52, Cols = 2;
    const int Rows = int(std::size(Cells) + Cols - 1) / Cols;
    TBitmap Sheet(Cols * CellW, Rows * CellH);
    TCanvas* C = Sheet.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, Sheet.Width(), Sheet.Height()));
    SetHTMLHighlightColors(clNavy, clWhite);
    for (int I = 0; I < int(std::size(Cells)); ++I) {
        const TRect Cell = Bounds((I % Cols) * CellW, (I / Cols) * CellH, CellW, CellH);
        C->Pen()->SetColor(clSilver);
        C->Brush()->SetColor(clWhite);
        C->Rectangle(Cell);
        SetCellFont(C);
        THtml H;
        H.R = Rect(Cell.Left + 2, Cell.Top + 2, Cell.Right - 2, Cell.Bottom - 2);
        H.Container = &Container;
        H.WordWrap = I != int(std::size(Cells)) - 1;
        H.Run(C, Cells[I]);
    }
    SetHTMLHighlightColors(0, clBlack);
    const QString Path = QDir(QCoreApplication::applicationDirPath()).filePath("html_cells.png");
    Sheet.SaveToFile(Path);
    EXPECT_TRUE(QFile::exists(Path));
    // the first cell's "12.5" is red
    EXPECT_GT(CountPixels(Sheet.Image(), QRect(0, 0, CellW, CellH),
                          [](QColor P) { return P.red() > 200 && P.green() < 90 && P.blue() < 90; }),
              10);
}

} // namespace
