#pragma once
// Colours, geometry, drawing tools, the canvas and the picture classes. The canvas keeps the
// classic drawing rules (exclusive right/bottom, outlines inside, line end left out, GDI text
// layout with DT_* flags) on top of QPainter, so code written for those rules draws the same here.
#include "platform/rtl/Objects.h"
#include "platform/rtl/SysUtils.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRegion>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

class QPainter;
class QPaintDevice;
class QIODevice;

// ---------------------------------------------------------------------------------------------
// Colours: 0x00BBGGRR; system colours are 0xFF000000 | index into the palette table.
using TColor = int32_t;

constexpr TColor RGB(int R, int G, int B) { return TColor((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16)); }
constexpr int GetRValue(int C) { return C & 0xFF; }
constexpr int GetGValue(int C) { return (C >> 8) & 0xFF; }
constexpr int GetBValue(int C) { return (C >> 16) & 0xFF; }

constexpr TColor clSystemColor = TColor(0xFF000000u);

constexpr TColor clScrollBar = TColor(0xFF000000u);
constexpr TColor clBackground = TColor(0xFF000001u);
constexpr TColor clActiveCaption = TColor(0xFF000002u);
constexpr TColor clInactiveCaption = TColor(0xFF000003u);
constexpr TColor clMenu = TColor(0xFF000004u);
constexpr TColor clWindow = TColor(0xFF000005u);
constexpr TColor clWindowFrame = TColor(0xFF000006u);
constexpr TColor clMenuText = TColor(0xFF000007u);
constexpr TColor clWindowText = TColor(0xFF000008u);
constexpr TColor clCaptionText = TColor(0xFF000009u);
constexpr TColor clActiveBorder = TColor(0xFF00000Au);
constexpr TColor clInactiveBorder = TColor(0xFF00000Bu);
constexpr TColor clAppWorkSpace = TColor(0xFF00000Cu);
constexpr TColor clHighlight = TColor(0xFF00000Du);
constexpr TColor clHighlightText = TColor(0xFF00000Eu);
constexpr TColor clBtnFace = TColor(0xFF00000Fu);
constexpr TColor clBtnShadow = TColor(0xFF000010u);
constexpr TColor clGrayText = TColor(0xFF000011u);
constexpr TColor clBtnText = TColor(0xFF000012u);
constexpr TColor clInactiveCaptionText = TColor(0xFF000013u);
constexpr TColor clBtnHighlight = TColor(0xFF000014u);
constexpr TColor cl3DDkShadow = TColor(0xFF000015u);
constexpr TColor cl3DLight = TColor(0xFF000016u);
constexpr TColor clInfoText = TColor(0xFF000017u);
constexpr TColor clInfoBk = TColor(0xFF000018u);
constexpr TColor clHotLight = TColor(0xFF00001Au);
constexpr TColor clGradientActiveCaption = TColor(0xFF00001Bu);
constexpr TColor clGradientInactiveCaption = TColor(0xFF00001Cu);
constexpr TColor clMenuHighlight = TColor(0xFF00001Du);
constexpr TColor clMenuBar = TColor(0xFF00001Eu);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr int SystemColorCount = 31;
// The RGB (0x00BBGGRR) of a system colour index in the classic default palette; 0 outside it.
TColor SystemColorRGB(int Index);
// A system colour resolved through the palette; an RGB colour unchanged; clNone and clDefault
// resolve to black (they say "not set" and draw nothing where the caller checks them).
int ColorToRGB(TColor Color);
QColor ToQColor(TColor Color);
TColor FromQColor(const QColor& Color); // alpha dropped
QString ColorToString(TColor Color); // "clRed" for named colours, else "$00BBGGRR"
// The reverse: a colour name (without regard to case) or an integer in the system's syntax
// ("$00BBGGRR", decimal); anything else raises EConvertError.
bool IdentToColor(const QString& Ident, TColor& Color);
TColor StringToColor(const QString& S);

// ---------------------------------------------------------------------------------------------
// Geometry: TRect has exclusive Right and Bottom.
struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const TSize&) const = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect&) const = default;
};

constexpr TRect Rect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
constexpr TRect Bounds(int Left, int Top, int Width, int Height) { return {Left, Top, Left + Width, Top + Height}; }
constexpr TPoint Point(int X, int Y) { return {X, Y}; }
void InflateRect(TRect& R, int DX, int DY);
void OffsetRect(TRect& R, int DX, int DY);
// Dest gets the common part of A and B; false (and an all-zero Dest) when they do not overlap.
bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B);
bool UnionRect(TRect& Dest, const TRect& A, const TRect& B);
bool PtInRect(const TRect& R, const TPoint& P); // right and bottom edges are outside
bool IsRectEmpty(const TRect& R);
bool EqualRect(const TRect& A, const TRect& B);

// ---------------------------------------------------------------------------------------------
// Drawing tools.
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles: Contains() is "in", + and - add and remove, * intersects.
class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> Styles) {
        for (TFontStyle S : Styles) FBits |= Bit(S);
    }
    constexpr bool Contains(TFontStyle S) const { return (FBits & Bit(S)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TFontStyles& Include(TFontStyle S) {
        FBits |= Bit(S);
        return *this;
    }
    constexpr TFontStyles& Exclude(TFontStyle S) {
        FBits &= ~Bit(S);
        return *this;
    }
    constexpr TFontStyles operator+(TFontStyles O) const { return FromBits(FBits | O.FBits); }
    constexpr TFontStyles operator-(TFontStyles O) const { return FromBits(FBits & ~O.FBits); }
    constexpr TFontStyles operator*(TFontStyles O) const { return FromBits(FBits & O.FBits); }
    constexpr TFontStyles operator+(TFontStyle S) const { return FromBits(FBits | Bit(S)); }
    constexpr TFontStyles operator-(TFontStyle S) const { return FromBits(FBits & ~Bit(S)); }
    constexpr bool operator==(const TFontStyles&) const = default;
    constexpr uint8_t Bits() const { return FBits; }
    static constexpr TFontStyles FromBits(uint8_t B) {
        TFontStyles R;
        R.FBits = B & 0x0F;
        return R;
    }

private:
    static constexpr uint8_t Bit(TFontStyle S) { return uint8_t(1u << unsigned(S)); }
    uint8_t FBits = 0;
};

using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset OEM_CHARSET = 255;

enum TFontPitch { fpDefault, fpVariable, fpFixed };

// The Linux face a Windows font name is drawn with: the sans faces map to DejaVu Sans or
// Liberation Sans, the fixed ones to Liberation Mono; other names are kept.
QString MapFontName(const QString& Name);

class TPen : public TPersistent {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);
    void Assign(TPersistent* Source) override;
    TNotifyEvent OnChange;

private:
    void Changed();
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

class TBrush : public TPersistent {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value); // a colour on a clear brush makes it solid again
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    void Assign(TPersistent* Source) override;
    TNotifyEvent OnChange;

private:
    void Changed();
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

class TFont : public TPersistent {
public:
    static constexpr int PixelsPerInch = 96;

    QString Name() const { return FName; }
    void SetName(const QString& Value);
    int Height() const { return FHeight; } // negative: character height in pixels
    void SetHeight(int Value);
    int Size() const; // points at 96 dpi
    void SetSize(int Value); // Height = -MulDiv(Size, 96, 72)
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    int Orientation() const { return FOrientation; } // tenths of a degree, counter-clockwise
    void SetOrientation(int Value);
    void Assign(TPersistent* Source) override;
    TNotifyEvent OnChange;

    QFont ToQFont() const; // the mapped face at the pixel size
    void AssignQFont(const QFont& Font); // takes family, pixel size and styles

private:
    static int MulDivRound(int Number, int Numerator, int Denominator);
    void Changed();
    QString FName = QStringLiteral("Tahoma");
    int FHeight = -11; // 8 pt
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int FOrientation = 0;
};

// ---------------------------------------------------------------------------------------------
// DrawText flags.
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_TABSTOP = 0x80;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_EXTERNALLEADING = 0x200;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_INTERNAL = 0x1000;
constexpr unsigned DT_EDITCONTROL = 0x2000;
constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;
constexpr unsigned DT_MODIFYSTRING = 0x10000;
constexpr unsigned DT_RTLREADING = 0x20000;
constexpr unsigned DT_WORD_ELLIPSIS = 0x40000;
constexpr unsigned DT_NOFULLWIDTHCHARBREAK = 0x80000;
constexpr unsigned DT_HIDEPREFIX = 0x100000;
constexpr unsigned DT_PREFIXONLY = 0x200000;

// Reading order of a control's text.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// 3-D edges.
constexpr unsigned BDR_RAISEDOUTER = 0x1;
constexpr unsigned BDR_SUNKENOUTER = 0x2;
constexpr unsigned BDR_RAISEDINNER = 0x4;
constexpr unsigned BDR_SUNKENINNER = 0x8;
constexpr unsigned BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
constexpr unsigned BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
constexpr unsigned BDR_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned BDR_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;

constexpr unsigned BF_LEFT = 0x1;
constexpr unsigned BF_TOP = 0x2;
constexpr unsigned BF_RIGHT = 0x4;
constexpr unsigned BF_BOTTOM = 0x8;
constexpr unsigned BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr unsigned BF_TOPRIGHT = BF_TOP | BF_RIGHT;
constexpr unsigned BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
constexpr unsigned BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_MIDDLE = 0x800;
constexpr unsigned BF_SOFT = 0x1000;
constexpr unsigned BF_ADJUST = 0x2000;
constexpr unsigned BF_FLAT = 0x4000;
constexpr unsigned BF_MONO = 0x8000;

// Frame controls.
constexpr unsigned DFC_CAPTION = 1;
constexpr unsigned DFC_MENU = 2;
constexpr unsigned DFC_SCROLL = 3;
constexpr unsigned DFC_BUTTON = 4;

constexpr unsigned DFCS_CAPTIONCLOSE = 0x0;
constexpr unsigned DFCS_CAPTIONMIN = 0x1;
constexpr unsigned DFCS_CAPTIONMAX = 0x2;
constexpr unsigned DFCS_CAPTIONRESTORE = 0x3;
constexpr unsigned DFCS_CAPTIONHELP = 0x4;
constexpr unsigned DFCS_SCROLLUP = 0x0;
constexpr unsigned DFCS_SCROLLDOWN = 0x1;
constexpr unsigned DFCS_SCROLLLEFT = 0x2;
constexpr unsigned DFCS_SCROLLRIGHT = 0x3;
constexpr unsigned DFCS_SCROLLCOMBOBOX = 0x5;
constexpr unsigned DFCS_BUTTONCHECK = 0x0;
constexpr unsigned DFCS_BUTTONRADIOIMAGE = 0x1;
constexpr unsigned DFCS_BUTTONRADIOMASK = 0x2;
constexpr unsigned DFCS_BUTTONRADIO = 0x4;
constexpr unsigned DFCS_BUTTON3STATE = 0x8;
constexpr unsigned DFCS_BUTTONPUSH = 0x10;
constexpr unsigned DFCS_INACTIVE = 0x100;
constexpr unsigned DFCS_PUSHED = 0x200;
constexpr unsigned DFCS_CHECKED = 0x400;
constexpr unsigned DFCS_TRANSPARENT = 0x800;
constexpr unsigned DFCS_HOT = 0x1000;
constexpr unsigned DFCS_ADJUSTRECT = 0x2000;
constexpr unsigned DFCS_FLAT = 0x4000;
constexpr unsigned DFCS_MONO = 0x8000;

// ---------------------------------------------------------------------------------------------
class TGraphic;
class TBitmap;

enum TCopyMode { cmSrcCopy, cmSrcAnd, cmSrcPaint, cmSrcInvert, cmMergePaint, cmNotSrcCopy, cmBlackness, cmWhiteness };

// Draws on a widget during its paint, on a TBitmap, or (with no device) only measures text.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // Widget painting: the canvas opens its own painter on Device until EndPaint, or borrows a
    // painter the caller has open (it is never ended by the canvas).
    void BeginPaintOn(QPaintDevice* Device);
    void AttachPainter(QPainter* Painter);
    void EndPaint();
    bool HandleAllocated() const; // a device or painter is attached
    QPainter* Painter(); // the painter with the canvas's state applied; null if none
    QPaintDevice* Device() const { return FDevice; }

    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    TFont* Font() { return &FFont; }
    void SetPen(TPen* Value) { FPen.Assign(Value); }
    void SetBrush(TBrush* Value) { FBrush.Assign(Value); }
    void SetFont(TFont* Value) { FFont.Assign(Value); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }

    // Text background: a solid brush paints it, a clear one (or a brush colour of clNone) does
    // not. SetBkMode(TRANSPARENT) turns it off until the brush is next changed.
    int BkMode() const;
    void SetBkMode(int Mode);
    // The device's resolution: 96 on bitmaps and screens, the printer's on a printer.
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;

    // Mapping: MM_TEXT draws in device pixels; MM_LOMETRIC in 0.1 mm with y growing upwards from
    // the viewport origin (a device point), so everything below it has a negative y. While mapped,
    // coordinates, font heights and pen widths given to the canvas are logical, and measurements
    // and the clip rectangle come back logical.
    int MapMode() const { return FMapMode; }
    int SetMapMode(int Mode); // returns the previous mode
    TPoint ViewportOrg() const { return FViewportOrg; }
    void SetViewportOrg(const TPoint& Org) { FViewportOrg = Org; }
    TPoint LPtoDP(const TPoint& P) const;
    TPoint DPtoLP(const TPoint& P) const;
    // Both corners converted; a logical rectangle with top above bottom becomes an ordinary
    // device rectangle and back.
    TRect LPtoDP(const TRect& R) const;
    TRect DPtoLP(const TRect& R) const;

    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(const TPoint& Value) { FPenPos = Value; }
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y); // the end pixel is left out; the pen moves to (X, Y)

    void FillRect(const TRect& R); // fills [Left,Right) x [Top,Bottom) with the brush
    void FrameRect(const TRect& R); // a one-pixel border inside R in the brush colour
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Polygon(std::span<const TPoint> Points);
    void Polygon(std::initializer_list<TPoint> Points) {
        Polygon(std::span<const TPoint>(Points.begin(), Points.size()));
    }
    void Polyline(std::span<const TPoint> Points);
    void Polyline(std::initializer_list<TPoint> Points) {
        Polyline(std::span<const TPoint>(Points.begin(), Points.size()));
    }
    void DrawFocusRect(const TRect& R); // dotted, inverting: drawing it twice restores

    // fsBorder: fills outwards from (X, Y) up to pixels of Color; fsSurface: fills the area of
    // Color around (X, Y). Uses the brush. Needs a device whose pixels can be read.
    enum TFillStyle { fsSurface, fsBorder };
    void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);

    TColor Pixels(int X, int Y); // -1 outside the device or when it cannot be read
    void SetPixels(int X, int Y, TColor Color);

    // Text. A solid brush paints the text's background cell, a clear brush leaves it.
    void TextOut(int X, int Y, const QString& Text);
    void TextRect(const TRect& R, int X, int Y, const QString& Text); // clipped to R
    int TextWidth(const QString& Text);
    int TextHeight(const QString& Text);
    TSize TextExtent(const QString& Text);
    // Lays out Text in R by the DT_* flags; returns the height of the text. With DT_CALCRECT it
    // draws nothing and sets R's Right/Bottom to the extent the text needs.
    int DrawText(const QString& Text, TRect& R, unsigned Flags);

    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& R, TGraphic* Graphic);
    // Copies from a bitmap canvas (scaled when the sizes differ), combined by CopyMode.
    void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect);

    bool DrawEdge(TRect& R, unsigned Edge, unsigned Flags);
    bool DrawFrameControl(TRect& R, unsigned Type, unsigned State);

    // Clipping, in device coordinates. With no clip set ClipRect is the whole device.
    TRect ClipRect();
    void SetClipRect(const TRect& R);
    void IntersectClipRect(const TRect& R);
    void ExcludeClipRect(const TRect& R);
    void ResetClip();
    bool HasClip() const { return FHasClip; }

    void Refresh() {}

    // Right-to-left painting: with a width above 0 every drawing at x lands at Width - x (a
    // rectangle's left and right swap), while texts and pictures keep their reading direction:
    // they are placed at the mirrored rectangle and drawn unmirrored. 0 draws left to right.
    void SetMirrorWidth(int Width);
    int MirrorWidth() const { return FMirrorWidth; }
    // Mirroring in force right now (not suspended by a TCanvasLeftToRight).
    bool Mirrored() const { return FMirrorWidth > 0 && FLeftToRight == 0; }
    // The physical rectangle of a logical one while mirrored; R itself otherwise.
    TRect MirrorRect(const TRect& R) const;

    // The text layout DrawText uses, for callers that need the lines themselves.
    struct TTextLine {
        QString Text; // prefix characters already removed
        int UnderlineAt = -1; // index in Text of the character "&" marks, -1 for none
        int Width = 0;
    };
    std::vector<TTextLine> LayoutText(const QString& Text, int MaxWidth, unsigned Flags);

    // The bitmap a bitmap canvas draws on (null on a widget or measure-only canvas).
    TBitmap* OwnerBitmap() const { return FBitmap; }

private:
    friend class TBitmap;
    friend class TCanvasDeviceUnits;
    bool Mapped() const { return FMapMode != MM_TEXT_MODE; }
    static constexpr int MM_TEXT_MODE = 1;
    int FMapMode = MM_TEXT_MODE;
    TPoint FViewportOrg{0, 0};
    void SetBitmapTarget(TBitmap* Bitmap);
    bool EnsurePainter();
    void ReleasePainter(); // a bitmap canvas closes its painter before the image changes
    void ApplyFont();
    void ApplyClip();
    const QFontMetrics& Metrics();
    void DrawTextLine(int X, int Y, const TTextLine& Line, bool Opaque);
    // The pixels under the canvas when they can be read (a bitmap, or a widget painted through
    // a raster back buffer); Origin is where the canvas's (0, 0) lies in that image.
    const QImage* ReadableImage(QPoint& Origin);

    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TCopyMode FCopyMode = cmSrcCopy;
    int FMirrorWidth = 0;
    int FLeftToRight = 0; // open TCanvasLeftToRight scopes
    QTransform FBaseTransform;
    void ApplyTransform();
    friend class TCanvasLeftToRight;
    TPoint FPenPos;

    QPaintDevice* FDevice = nullptr;
    QPainter* FPainter = nullptr;
    bool FOwnsPainter = false;
    TBitmap* FBitmap = nullptr;

    bool FHasClip = false;
    QRegion FClip;
    bool FHasBaseClip = false; // the clip an attached painter came with
    QRegion FBaseClip;
    bool FPainterFontSet = false;
    bool FTextTransparent = false;
    // Widths of recently measured strings in the current font: a grid repaints the same cell
    // texts again and again, and shaping a string costs more than looking it up.
    int CachedWidth(const QString& Text);
    struct TTextHash {
        size_t operator()(const QString& S) const noexcept {
            size_t H = 1469598103934665603ull; // FNV-1a: cell texts are short
            for (QChar C : S) H = (H ^ C.unicode()) * 1099511628211ull;
            return H;
        }
    };
    // The few fonts drawn with lately, each with its metrics and text widths: marked-up text
    // switches between bold, italic and plain many times per cell, and a colour change does not
    // touch the metrics at all.
    struct TFontEntry {
        QString Name;
        int Height = 0;
        uint8_t Style = 0;
        TFontPitch Pitch = fpDefault;
        std::unique_ptr<QFont> Font;
        std::unique_ptr<QFontMetrics> Metrics;
        int TextHeight = 0, Ascent = 0, Leading = 0; // asked once: each ask looks the font engine up
        std::unordered_map<QString, int, TTextHash> Widths;
    };
    std::vector<std::unique_ptr<TFontEntry>> FFonts; // most recently used first
    TFontEntry* FCurFont = nullptr;

    bool FFontDirty = true;
    QFont* FQFont = nullptr; // of FCurFont
    QFontMetrics* FMetrics = nullptr;
};

// Suspends a canvas's right-to-left mirroring: coordinates inside are physical. Texts that must
// read left to right inside a mirrored cell are drawn in such a scope at MirrorRect of their box.
class TCanvasLeftToRight {
public:
    explicit TCanvasLeftToRight(TCanvas* Canvas);
    ~TCanvasLeftToRight();
    TCanvasLeftToRight(const TCanvasLeftToRight&) = delete;
    TCanvasLeftToRight& operator=(const TCanvasLeftToRight&) = delete;

private:
    TCanvas* FCanvas;
};

constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Windows-style free functions over a canvas.
int SetBkMode(TCanvas* Canvas, int Mode); // returns the previous mode
int DrawText(TCanvas* Canvas, const QString& Text, TRect& R, unsigned Flags);
inline int DrawTextEx(TCanvas* Canvas, const QString& Text, TRect& R, unsigned Flags, void* = nullptr) {
    return DrawText(Canvas, Text, R, Flags);
}
bool DrawEdge(TCanvas* Canvas, TRect& R, unsigned Edge, unsigned Flags);
bool DrawFrameControl(TCanvas* Canvas, TRect& R, unsigned Type, unsigned State);
void DrawFocusRect(TCanvas* Canvas, const TRect& R);
// A Width-thick frame, TopColor on the top/left, BottomColor on the bottom/right; R shrinks by
// Width on every side.
void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width);

// ---------------------------------------------------------------------------------------------
// Pictures.
enum TTransparentMode { tmAuto, tmFixed };
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };

class TGraphic : public TPersistent {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);

    // Raise EInOutError (missing file) or EInvalidGraphic (bytes that do not decode).
    virtual void LoadFromFile(const QString& FileName);
    virtual void SaveToFile(const QString& FileName); // whole file or nothing
    virtual void LoadFromStream(QIODevice& Stream);
    virtual void SaveToStream(QIODevice& Stream);
    virtual void LoadFromBytes(const QByteArray& Bytes) = 0;
    virtual QByteArray SaveToBytes() = 0;

    // The picture as an image, for drawing; alpha marks transparent pixels.
    virtual QImage ToImage() const = 0;
    // Paints into R of ACanvas (scaled when R differs from the picture's size).
    virtual void Draw(TCanvas* ACanvas, const TRect& R);

    TNotifyEvent OnChange;

protected:
    void Changed();
    bool FTransparent = false;
};

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int Width, int Height);
    ~TBitmap() override;

    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void SetWidth(int Value) override { SetSize(Value, Height()); }
    void SetHeight(int Value) override { SetSize(Width(), Value); }
    void SetSize(int Width, int Height); // keeps the overlapping pixels, new ones white

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value); // pf24bit rows are B,G,R; pf32bit rows B,G,R,A
    TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
    void SetAlphaFormat(TAlphaFormat Value);
    void* ScanLine(int Row); // raises EInvalidGraphic outside the bitmap

    TCanvas* Canvas();

    void SetTransparent(bool Value) override;
    TColor TransparentColor(); // tmAuto: the bottom-left pixel
    void SetTransparentColor(TColor Value); // switches to tmFixed
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    void LoadFromBytes(const QByteArray& Bytes) override; // BMP, PNG, GIF, ICO by content
    QByteArray SaveToBytes() override; // BMP
    void SaveToFile(const QString& FileName) override; // PNG for ".png", else BMP
    void LoadFromResourceName(const QString& Name); // a named bitmap (Resources.h)
    void Assign(TPersistent* Source) override; // any TGraphic, or TPicture
    QImage ToImage() const override;
    void Draw(TCanvas* ACanvas, const TRect& R) override;

    QImage& Image(); // the pixels; any open painter is closed first
    const QImage& Image() const;
    void SetImage(const QImage& Image);

protected:
    virtual const char* SaveFormat() const { return "BMP"; }

private:
    friend class TCanvas;
    void ClosePainter() const;
    QImage::Format QtFormat() const;
    QImage FImage;
    TPixelFormat FPixelFormat = pfDevice;
    TAlphaFormat FAlphaFormat = afIgnored;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
    std::unique_ptr<TCanvas> FCanvas;
};

// A bitmap kept as PNG (alpha kept) when saved.
class TPngImage : public TBitmap {
protected:
    const char* SaveFormat() const override { return "PNG"; }
};

// A GIF picture (first frame). Saving raises EInvalidGraphic: there is no GIF encoder here.
class TGIFImage : public TBitmap {
public:
    QByteArray SaveToBytes() override;
    void SaveToFile(const QString& FileName) override;
};

// A JPEG picture: decoded and encoded with libjpeg.
class TJPEGImage : public TGraphic {
public:
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int Value); // 1..100, clamped
    bool Grayscale() const { return FGrayscale; }
    void SetGrayscale(bool Value);

    void LoadFromBytes(const QByteArray& Bytes) override;
    QByteArray SaveToBytes() override;
    void Assign(TPersistent* Source) override; // a TBitmap, another TJPEGImage, any TGraphic
    QImage ToImage() const override { return FImage; }

private:
    QImage FImage; // RGB32
    int FQuality = 90;
    bool FGrayscale = false;
};

// Raw libjpeg entry points (also used by the picture container).
QImage DecodeJPEG(const QByteArray& Bytes); // raises EInvalidGraphic
QByteArray EncodeJPEG(const QImage& Image, int Quality, bool Grayscale = false);

class TIcon : public TGraphic {
public:
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromBytes(const QByteArray& Bytes) override; // ICO (largest image), or PNG/BMP
    QByteArray SaveToBytes() override; // ICO
    void Assign(TPersistent* Source) override;
    QImage ToImage() const override { return FImage; }
    void SetImage(const QImage& Image);

private:
    QImage FImage; // ARGB32
};

// Holds one graphic of the class its file names (.bmp, .png, .gif, .ico, .jpg/.jpeg).
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(TGraphic* Value); // copies Value into a graphic of its class
    TBitmap* Bitmap(); // the graphic as a bitmap, converting it if needed
    int Width() const;
    int Height() const;
    void LoadFromFile(const QString& FileName); // EInvalidGraphic for an unknown extension
    void SaveToFile(const QString& FileName);
    void Assign(TPersistent* Source) override;
    TNotifyEvent OnChange;

private:
    void Changed();
    std::unique_ptr<TGraphic> FGraphic;
};
