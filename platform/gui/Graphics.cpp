#include "platform/gui/Graphics.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------------------------------------
// Colours

namespace {

// The classic default palette, 0x00BBGGRR, indexed by the system colour number.
constexpr TColor kSystemPalette[SystemColorCount] = {
    RGB(200, 200, 200), //  0 scroll bar
    RGB(0, 0, 0), //  1 desktop
    RGB(153, 180, 209), //  2 active caption
    RGB(191, 205, 219), //  3 inactive caption
    RGB(240, 240, 240), //  4 menu
    RGB(255, 255, 255), //  5 window
    RGB(100, 100, 100), //  6 window frame
    RGB(0, 0, 0), //  7 menu text
    RGB(0, 0, 0), //  8 window text
    RGB(0, 0, 0), //  9 caption text
    RGB(180, 180, 180), // 10 active border
    RGB(244, 247, 252), // 11 inactive border
    RGB(171, 171, 171), // 12 application workspace
    RGB(0, 120, 215), // 13 highlight
    RGB(255, 255, 255), // 14 highlight text
    RGB(240, 240, 240), // 15 button face
    RGB(160, 160, 160), // 16 button shadow
    RGB(109, 109, 109), // 17 grey text
    RGB(0, 0, 0), // 18 button text
    RGB(0, 0, 0), // 19 inactive caption text
    RGB(255, 255, 255), // 20 button highlight
    RGB(105, 105, 105), // 21 3-D dark shadow
    RGB(227, 227, 227), // 22 3-D light
    RGB(0, 0, 0), // 23 tooltip text
    RGB(255, 255, 225), // 24 tooltip background
    RGB(0, 0, 0), // 25 (unused)
    RGB(0, 102, 204), // 26 hot-track
    RGB(185, 209, 234), // 27 active caption gradient
    RGB(215, 228, 242), // 28 inactive caption gradient
    RGB(0, 120, 215), // 29 menu highlight
    RGB(240, 240, 240), // 30 menu bar
};

struct TNamedColor {
    TColor Color;
    const char* Name;
};
constexpr TNamedColor kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
};

} // namespace

TColor SystemColorRGB(int Index) { return Index >= 0 && Index < SystemColorCount ? kSystemPalette[Index] : 0; }

int ColorToRGB(TColor Color) {
    if (Color == clNone || Color == clDefault) return 0;
    if ((uint32_t(Color) & 0xFF000000u) == 0xFF000000u) return SystemColorRGB(Color & 0xFF);
    return Color & 0x00FFFFFF;
}

QColor ToQColor(TColor Color) {
    const int C = ColorToRGB(Color);
    return QColor(GetRValue(C), GetGValue(C), GetBValue(C));
}

TColor FromQColor(const QColor& Color) { return RGB(Color.red(), Color.green(), Color.blue()); }

QString ColorToString(TColor Color) {
    for (const auto& N : kColorNames)
        if (N.Color == Color) return QString::fromLatin1(N.Name);
    return QStringLiteral("$%1").arg(uint32_t(Color), 8, 16, QLatin1Char('0')).toUpper();
}

bool IdentToColor(const QString& Ident, TColor& Color) {
    for (const auto& N : kColorNames)
        if (Ident.compare(QLatin1String(N.Name), Qt::CaseInsensitive) == 0) {
            Color = N.Color;
            return true;
        }
    return false;
}

TColor StringToColor(const QString& S) {
    TColor Color = 0;
    if (IdentToColor(S, Color)) return Color;
    int Value = 0;
    if (!TryStrToInt(S, Value)) throw EConvertError(QStringLiteral("'%1' is not a valid colour").arg(S));
    return TColor(uint32_t(Value));
}

static inline QRgb ToQRgb(TColor Color) {
    const int C = ColorToRGB(Color);
    return qRgb(GetRValue(C), GetGValue(C), GetBValue(C));
}

// ---------------------------------------------------------------------------------------------
// Geometry

void InflateRect(TRect& R, int DX, int DY) {
    R.Left -= DX;
    R.Right += DX;
    R.Top -= DY;
    R.Bottom += DY;
}

void OffsetRect(TRect& R, int DX, int DY) {
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
}

bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B) {
    TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
    if (R.IsEmpty()) {
        Dest = TRect{};
        return false;
    }
    Dest = R;
    return true;
}

bool UnionRect(TRect& Dest, const TRect& A, const TRect& B) {
    if (A.IsEmpty()) {
        Dest = B.IsEmpty() ? TRect{} : B;
        return !B.IsEmpty();
    }
    if (B.IsEmpty()) {
        Dest = A;
        return true;
    }
    Dest = {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right), std::max(A.Bottom, B.Bottom)};
    return true;
}

bool PtInRect(const TRect& R, const TPoint& P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

bool IsRectEmpty(const TRect& R) { return R.IsEmpty(); }
bool EqualRect(const TRect& A, const TRect& B) { return A == B; }

static inline QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

// ---------------------------------------------------------------------------------------------
// Fonts and tools

QString MapFontName(const QString& Name) {
    static const QHash<QString, QString> Map = {
        {"verdana", "DejaVu Sans"},
        {"tahoma", "DejaVu Sans"},
        {"ms sans serif", "DejaVu Sans"},
        {"microsoft sans serif", "DejaVu Sans"},
        {"ms shell dlg", "DejaVu Sans"},
        {"ms shell dlg 2", "DejaVu Sans"},
        {"segoe ui", "DejaVu Sans"},
        {"default", "DejaVu Sans"},
        {"arial", "Liberation Sans"},
        {"helvetica", "Liberation Sans"},
        {"courier new", "Liberation Mono"},
        {"courier", "Liberation Mono"},
        {"consolas", "Liberation Mono"},
        {"lucida console", "Liberation Mono"},
        {"times new roman", "Liberation Serif"},
    };
    const QString Key = Name.trimmed().toLower();
    if (Key.isEmpty()) return QStringLiteral("DejaVu Sans");
    auto It = Map.find(Key);
    return It != Map.end() ? *It : Name.trimmed();
}

void TPen::Changed() {
    if (OnChange) OnChange(this);
}
void TPen::SetColor(TColor Value) {
    if (FColor != Value) {
        FColor = Value;
        Changed();
    }
}
void TPen::SetWidth(int Value) {
    Value = std::max(1, Value);
    if (FWidth != Value) {
        FWidth = Value;
        Changed();
    }
}
void TPen::SetStyle(TPenStyle Value) {
    if (FStyle != Value) {
        FStyle = Value;
        Changed();
    }
}
void TPen::SetMode(TPenMode Value) {
    if (FMode != Value) {
        FMode = Value;
        Changed();
    }
}
void TPen::Assign(TPersistent* Source) {
    auto* P = dynamic_cast<TPen*>(Source);
    if (!P || P == this) return;
    FColor = P->FColor;
    FWidth = P->FWidth;
    FStyle = P->FStyle;
    FMode = P->FMode;
    Changed();
}

void TBrush::Changed() {
    if (OnChange) OnChange(this);
}
void TBrush::SetColor(TColor Value) {
    if (FColor == Value && FStyle != bsClear) return;
    FColor = Value;
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}
void TBrush::SetStyle(TBrushStyle Value) {
    if (FStyle != Value) {
        FStyle = Value;
        Changed();
    }
}
void TBrush::Assign(TPersistent* Source) {
    auto* B = dynamic_cast<TBrush*>(Source);
    if (!B || B == this) return;
    FColor = B->FColor;
    FStyle = B->FStyle;
    Changed();
}

void TFont::Changed() {
    if (OnChange) OnChange(this);
}
void TFont::SetName(const QString& Value) {
    if (FName != Value) {
        FName = Value;
        Changed();
    }
}
void TFont::SetHeight(int Value) {
    if (FHeight != Value) {
        FHeight = Value;
        Changed();
    }
}
int TFont::Size() const { return -MulDivRound(FHeight, 72, PixelsPerInch); }
void TFont::SetSize(int Value) { SetHeight(-MulDivRound(Value, PixelsPerInch, 72)); }
void TFont::SetStyle(TFontStyles Value) {
    if (!(FStyle == Value)) {
        FStyle = Value;
        Changed();
    }
}
void TFont::SetColor(TColor Value) {
    if (FColor != Value) {
        FColor = Value;
        Changed();
    }
}
void TFont::SetCharset(TFontCharset Value) {
    if (FCharset != Value) {
        FCharset = Value;
        Changed();
    }
}
void TFont::SetPitch(TFontPitch Value) {
    if (FPitch != Value) {
        FPitch = Value;
        Changed();
    }
}
void TFont::SetOrientation(int Value) {
    if (FOrientation != Value) {
        FOrientation = Value;
        Changed();
    }
}

int TFont::MulDivRound(int Number, int Numerator, int Denominator) {
    // rounded half away from zero, as the platform's MulDiv
    const int64_t P = int64_t(Number) * Numerator;
    const int64_t Half = Denominator / 2;
    return int((P >= 0 ? P + Half : P - Half) / Denominator);
}

void TFont::Assign(TPersistent* Source) {
    auto* F = dynamic_cast<TFont*>(Source);
    if (!F || F == this) return;
    FName = F->FName;
    FHeight = F->FHeight;
    FStyle = F->FStyle;
    FColor = F->FColor;
    FCharset = F->FCharset;
    FPitch = F->FPitch;
    FOrientation = F->FOrientation;
    Changed();
}

QFont TFont::ToQFont() const {
    QFont F(MapFontName(FName));
    int Px;
    if (FHeight < 0)
        Px = -FHeight;
    else if (FHeight == 0)
        Px = 13;
    else
        Px = std::max(1, int(std::lround(FHeight / 1.164))); // cell height to em height
    F.setPixelSize(std::max(1, Px));
    F.setBold(FStyle.Contains(fsBold));
    F.setItalic(FStyle.Contains(fsItalic));
    F.setUnderline(FStyle.Contains(fsUnderline));
    F.setStrikeOut(FStyle.Contains(fsStrikeOut));
    if (FPitch == fpFixed) F.setFixedPitch(true);
    F.setKerning(false);
    F.setHintingPreference(QFont::PreferFullHinting);
    return F;
}

void TFont::AssignQFont(const QFont& Font) {
    FName = Font.family();
    FHeight =
        Font.pixelSize() > 0 ? -Font.pixelSize() : -MulDivRound(int(std::lround(Font.pointSizeF())), PixelsPerInch, 72);
    TFontStyles S;
    if (Font.bold()) S.Include(fsBold);
    if (Font.italic()) S.Include(fsItalic);
    if (Font.underline()) S.Include(fsUnderline);
    if (Font.strikeOut()) S.Include(fsStrikeOut);
    FStyle = S;
    Changed();
}

// ---------------------------------------------------------------------------------------------
// Canvas

TCanvas::TCanvas() {
    FFont.OnChange = [this](TObject*) { FFontDirty = true; };
    FBrush.OnChange = [this](TObject*) { FTextTransparent = false; };
}

int TCanvas::BkMode() const { return FTextTransparent || FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE; }

void TCanvas::SetBkMode(int Mode) { FTextTransparent = Mode == TRANSPARENT; }

int TCanvas::PixelsPerInchX() const {
    const QPaintDevice* D = FBitmap ? nullptr : FDevice;
    return D ? D->logicalDpiX() : TFont::PixelsPerInch;
}

int TCanvas::PixelsPerInchY() const {
    const QPaintDevice* D = FBitmap ? nullptr : FDevice;
    return D ? D->logicalDpiY() : TFont::PixelsPerInch;
}

int SetBkMode(TCanvas* Canvas, int Mode) {
    if (!Canvas) return 0;
    const int Old = Canvas->BkMode();
    Canvas->SetBkMode(Mode);
    return Old;
}

TCanvas::~TCanvas() { EndPaint(); }

void TCanvas::BeginPaintOn(QPaintDevice* Device) {
    EndPaint();
    FBitmap = nullptr;
    FDevice = Device;
    if (!Device) return;
    FPainter = new QPainter(Device);
    FOwnsPainter = true;
    FPainterFontSet = false;
    FBaseTransform = FPainter->worldTransform();
    ApplyTransform();
    ApplyClip();
}

void TCanvas::AttachPainter(QPainter* Painter) {
    EndPaint();
    FBitmap = nullptr;
    FPainter = Painter;
    FOwnsPainter = false;
    FPainterFontSet = false;
    FDevice = Painter ? Painter->device() : nullptr;
    if (Painter) FBaseTransform = Painter->worldTransform();
    if (Painter && Painter->hasClipping()) {
        FHasBaseClip = true;
        FBaseClip = Painter->clipRegion();
    }
    ApplyClip();
}

void TCanvas::EndPaint() {
    if (FPainter && FOwnsPainter) {
        FPainter->end();
        delete FPainter;
    }
    FPainter = nullptr;
    FOwnsPainter = false;
    if (!FBitmap) FDevice = nullptr;
    FHasClip = false;
    FClip = QRegion();
    FHasBaseClip = false;
    FBaseClip = QRegion();
    FPainterFontSet = false;
    FMirrorWidth = 0;
    FLeftToRight = 0;
    FBaseTransform = QTransform();
}

void TCanvas::SetBitmapTarget(TBitmap* Bitmap) { FBitmap = Bitmap; }

bool TCanvas::HandleAllocated() const { return FPainter != nullptr || FBitmap != nullptr; }

bool TCanvas::EnsurePainter() {
    if (FPainter) return true;
    if (!FBitmap) return false;
    QImage& Img = FBitmap->FImage;
    if (Img.isNull()) return false;
    FDevice = &Img;
    FPainter = new QPainter(&Img);
    FOwnsPainter = true;
    FPainterFontSet = false;
    FBaseTransform = QTransform();
    ApplyTransform();
    ApplyClip();
    return true;
}

void TCanvas::ReleasePainter() {
    if (!FBitmap || !FPainter) return;
    FPainter->end();
    delete FPainter;
    FPainter = nullptr;
    FOwnsPainter = false;
}

QPainter* TCanvas::Painter() {
    if (!EnsurePainter()) return nullptr;
    FPainterFontSet = false; // the caller may change the painter's font
    return FPainter;
}

const QFontMetrics& TCanvas::Metrics() {
    if (FFontDirty || !FMetrics) {
        FFontDirty = false;
        const QString Name = FFont.Name();
        const int Height = FFont.Height();
        const uint8_t Style = FFont.Style().Bits();
        const TFontPitch Pitch = FFont.Pitch();
        auto Same = [&](const TFontEntry& E) {
            return E.Height == Height && E.Style == Style && E.Pitch == Pitch && E.Name == Name;
        };
        if (!FCurFont || !Same(*FCurFont)) {
            auto It = std::find_if(FFonts.begin(), FFonts.end(), [&](const auto& E) { return Same(*E); });
            if (It == FFonts.end()) {
                constexpr size_t kFonts = 8;
                if (FFonts.size() >= kFonts) FFonts.pop_back();
                auto E = std::make_unique<TFontEntry>();
                E->Name = Name;
                E->Height = Height;
                E->Style = Style;
                E->Pitch = Pitch;
                E->Font = std::make_unique<QFont>(FFont.ToQFont());
                E->Metrics = std::make_unique<QFontMetrics>(*E->Font);
                E->TextHeight = E->Metrics->height();
                E->Ascent = E->Metrics->ascent();
                E->Leading = E->Metrics->leading();
                FFonts.insert(FFonts.begin(), std::move(E));
            } else if (It != FFonts.begin()) {
                std::rotate(FFonts.begin(), It, It + 1);
            }
            FCurFont = FFonts.front().get();
            FQFont = FCurFont->Font.get();
            FMetrics = FCurFont->Metrics.get();
            FPainterFontSet = false;
        }
    }
    return *FMetrics;
}

void TCanvas::ApplyFont() {
    Metrics();
    if (FPainter && !FPainterFontSet) {
        FPainter->setFont(*FQFont);
        FPainterFontSet = true;
    }
}

namespace {

QPainter::CompositionMode CompositionFor(TPenMode Mode) {
    switch (Mode) {
        case pmXor: return QPainter::RasterOp_SourceXorDestination;
        case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
        case pmNot: return QPainter::RasterOp_NotDestination;
        case pmNotCopy: return QPainter::RasterOp_NotSource;
        case pmMerge: return QPainter::RasterOp_SourceOrDestination;
        case pmMask: return QPainter::RasterOp_SourceAndDestination;
        case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
        case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
        case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
        case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
        case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
        case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
        default: return QPainter::CompositionMode_SourceOver;
    }
}

// The colour a pen mode writes with for pmBlack / pmWhite, else the pen's own.
QColor PenSourceColor(const TPen& Pen) {
    if (Pen.Mode() == pmBlack) return Qt::black;
    if (Pen.Mode() == pmWhite) return Qt::white;
    return ToQColor(Pen.Color());
}

// Dash patterns of one-pixel pens, in pixels: on, off, on, off ...
std::vector<int> DashPattern(TPenStyle Style) {
    switch (Style) {
        case psDash: return {18, 6};
        case psDot: return {3, 3};
        case psDashDot: return {9, 6, 3, 6};
        case psDashDotDot: return {9, 3, 3, 3, 3, 3};
        default: return {};
    }
}

Qt::BrushStyle HatchStyle(TBrushStyle S) {
    switch (S) {
        case bsHorizontal: return Qt::HorPattern;
        case bsVertical: return Qt::VerPattern;
        case bsFDiagonal: return Qt::BDiagPattern; // "\" runs down to the right
        case bsBDiagonal: return Qt::FDiagPattern;
        case bsCross: return Qt::CrossPattern;
        case bsDiagCross: return Qt::DiagCrossPattern;
        default: return Qt::SolidPattern;
    }
}

} // namespace

// ---- right to left ---------------------------------------------------------------------------

static QTransform MirrorTransform(int Width) { return QTransform(-1, 0, 0, 1, Width, 0); }

void TCanvas::ApplyTransform() {
    if (!FPainter) return;
    FPainter->setWorldTransform(Mirrored() ? MirrorTransform(FMirrorWidth) * FBaseTransform : FBaseTransform);
}

void TCanvas::SetMirrorWidth(int Width) {
    FMirrorWidth = std::max(0, Width);
    ApplyTransform();
    ApplyClip();
}

TRect TCanvas::MirrorRect(const TRect& R) const {
    if (!Mirrored()) return R;
    return Rect(FMirrorWidth - R.Right, R.Top, FMirrorWidth - R.Left, R.Bottom);
}

TCanvasLeftToRight::TCanvasLeftToRight(TCanvas* Canvas) : FCanvas(Canvas) {
    ++FCanvas->FLeftToRight;
    FCanvas->ApplyTransform();
}

TCanvasLeftToRight::~TCanvasLeftToRight() {
    --FCanvas->FLeftToRight;
    FCanvas->ApplyTransform();
}

void TCanvas::ApplyClip() {
    if (!FPainter) return;
    // The clip is kept in logical coordinates: it is set through the mirror even while a text
    // is being drawn left to right.
    const bool Suspended = FMirrorWidth > 0 && FLeftToRight > 0;
    if (Suspended) FPainter->setWorldTransform(MirrorTransform(FMirrorWidth) * FBaseTransform);
    struct TBack {
        TCanvas* C;
        bool On;
        ~TBack() {
            if (On) C->ApplyTransform();
        }
    } Back{this, Suspended};
    if (FHasClip && FHasBaseClip)
        FPainter->setClipRegion(FClip & FBaseClip);
    else if (FHasClip)
        FPainter->setClipRegion(FClip);
    else if (FHasBaseClip)
        FPainter->setClipRegion(FBaseClip);
    else
        FPainter->setClipping(false);
}

// A brush fill of a rectangle with the canvas's brush (nothing for a clear brush).
static void FillWithBrush(QPainter* P, const QRect& R, const TBrush& B) {
    // clNone says "no colour": it fills nothing
    if (B.Style() == bsClear || B.Color() == clNone || R.isEmpty()) return;
    if (B.Style() == bsSolid) {
        P->fillRect(R, ToQColor(B.Color()));
        return;
    }
    P->fillRect(R, QBrush(ToQColor(B.Color()), HatchStyle(B.Style())));
}

// Pixels of a one-pixel line from A to B, the end pixel left out, Bresenham order.
template <class Emit>
static void WalkLine(int X0, int Y0, int X1, int Y1, Emit&& E) {
    const int DX = std::abs(X1 - X0), DY = -std::abs(Y1 - Y0);
    const int SX = X0 < X1 ? 1 : -1, SY = Y0 < Y1 ? 1 : -1;
    int Err = DX + DY;
    int X = X0, Y = Y0;
    while (!(X == X1 && Y == Y1)) {
        E(X, Y);
        const int E2 = 2 * Err;
        if (E2 >= DY) {
            Err += DY;
            X += SX;
        }
        if (E2 <= DX) {
            Err += DX;
            Y += SY;
        }
    }
}

// The pixels of WalkLine, the same whichever end the line is walked from (the end pixel left
// out all the same): Bresenham's ties fall one way or the other by the walking direction, so two
// shapes that share an edge, or whose edges run a pixel apart, walked in opposite directions would
// leave single background pixels between them.
template <class Emit>
static void WalkLineEitherWay(int X0, int Y0, int X1, int Y1, Emit&& E) {
    const bool Backwards = X1 < X0 || (X1 == X0 && Y1 < Y0);
    if (!Backwards) {
        WalkLine(X0, Y0, X1, Y1, E);
        return;
    }
    std::vector<QPoint> Pixels;
    WalkLine(X1, Y1, X0, Y0, [&](int X, int Y) { Pixels.emplace_back(X, Y); });
    Pixels.emplace_back(X0, Y0);
    // Walked from the far end: the first pixel there is the end pixel the line leaves out.
    for (size_t I = Pixels.size(); I-- > 1;) E(Pixels[I].x(), Pixels[I].y());
}

// Strokes a polyline with the canvas's pen by the platform's rules: one-pixel pens cover exactly
// the Bresenham pixels with every segment's end pixel left out (the next segment starts there);
// wider pens are round-ended strokes.
static void StrokePolyline(QPainter* P, const std::vector<QPoint>& Pts, const TPen& Pen, bool Closed) {
    if (Pen.Style() == psClear || Pen.Mode() == pmNop || Pts.size() < 2) return;
    const QColor C = PenSourceColor(Pen);
    const auto Mode = CompositionFor(Pen.Mode());
    const bool ModeChanged = Mode != QPainter::CompositionMode_SourceOver;
    if (ModeChanged) P->setCompositionMode(Mode);
    if (Pen.Width() <= 1) {
        // only one-pixel pens are dashed; wider ones draw solid
        const std::vector<int> Dash = DashPattern(Pen.Style());
        int DashIdx = 0, DashLeft = Dash.empty() ? 0 : Dash[0];
        QPolygon Dots;
        auto Segment = [&](QPoint A, QPoint B) {
            if (Dash.empty() && (A.x() == B.x() || A.y() == B.y())) {
                // straight runs are filled rectangles: the common case, and exact
                if (A.y() == B.y()) {
                    const int Len = std::abs(B.x() - A.x());
                    if (Len > 0) P->fillRect(QRect(B.x() < A.x() ? B.x() + 1 : A.x(), A.y(), Len, 1), C);
                } else {
                    const int Len = std::abs(B.y() - A.y());
                    if (Len > 0) P->fillRect(QRect(A.x(), B.y() < A.y() ? B.y() + 1 : A.y(), 1, Len), C);
                }
                return;
            }
            WalkLineEitherWay(A.x(), A.y(), B.x(), B.y(), [&](int X, int Y) {
                const bool On = Dash.empty() || (DashIdx % 2 == 0);
                if (On) Dots << QPoint(X, Y);
                if (!Dash.empty() && --DashLeft == 0) {
                    DashIdx = (DashIdx + 1) % int(Dash.size());
                    DashLeft = Dash[DashIdx];
                }
            });
        };
        for (size_t I = 1; I < Pts.size(); ++I) Segment(Pts[I - 1], Pts[I]);
        if (Closed) Segment(Pts.back(), Pts.front());
        if (!Dots.isEmpty()) {
            QPen QP(C);
            QP.setWidth(0);
            P->setPen(QP);
            P->drawPoints(Dots);
        }
    } else {
        QPen QP(C, Pen.Width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        P->setPen(QP);
        P->setBrush(Qt::NoBrush);
        QPolygon Poly;
        for (const auto& Pt : Pts) Poly << Pt;
        if (Closed)
            P->drawPolygon(Poly);
        else
            P->drawPolyline(Poly);
    }
    if (ModeChanged) P->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::MoveTo(int X, int Y) { FPenPos = {X, Y}; }

void TCanvas::LineTo(int X, int Y) {
    if (EnsurePainter()) StrokePolyline(FPainter, {QPoint(FPenPos.X, FPenPos.Y), QPoint(X, Y)}, FPen, false);
    FPenPos = {X, Y};
}

void TCanvas::FillRect(const TRect& R) {
    if (!EnsurePainter()) return;
    FillWithBrush(FPainter, ToQRect(R), FBrush);
}

void TCanvas::FrameRect(const TRect& R) {
    if (!EnsurePainter() || R.IsEmpty() || FBrush.Style() == bsClear) return;
    const QColor C = ToQColor(FBrush.Color());
    const QRect Q = ToQRect(R);
    FPainter->fillRect(QRect(Q.left(), Q.top(), Q.width(), 1), C);
    FPainter->fillRect(QRect(Q.left(), Q.bottom(), Q.width(), 1), C);
    FPainter->fillRect(QRect(Q.left(), Q.top(), 1, Q.height()), C);
    FPainter->fillRect(QRect(Q.right(), Q.top(), 1, Q.height()), C);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    if (!EnsurePainter()) return;
    if (X2 < X1) std::swap(X1, X2);
    if (Y2 < Y1) std::swap(Y1, Y2);
    if (FPen.Style() == psClear || FPen.Mode() == pmNop) {
        // without an outline the fill stops one pixel short on the right and bottom
        FillWithBrush(FPainter, QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1), FBrush);
        return;
    }
    const int W = std::max(1, FPen.Width());
    FillWithBrush(FPainter, QRect(X1 + W, Y1 + W, X2 - X1 - 2 * W, Y2 - Y1 - 2 * W), FBrush);
    if (X2 - X1 <= 0 || Y2 - Y1 <= 0) return;
    if (FPen.Style() == psSolid || FPen.Style() == psInsideFrame || W > 1) {
        const QColor C = PenSourceColor(FPen);
        const auto Mode = CompositionFor(FPen.Mode());
        if (Mode != QPainter::CompositionMode_SourceOver) FPainter->setCompositionMode(Mode);
        QRegion Band(X1, Y1, X2 - X1, Y2 - Y1);
        if (X2 - X1 > 2 * W && Y2 - Y1 > 2 * W) Band -= QRegion(X1 + W, Y1 + W, X2 - X1 - 2 * W, Y2 - Y1 - 2 * W);
        for (const QRect& Part : Band) FPainter->fillRect(Part, C);
        if (Mode != QPainter::CompositionMode_SourceOver)
            FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        StrokePolyline(FPainter, {QPoint(X1, Y1), QPoint(X2 - 1, Y1), QPoint(X2 - 1, Y2 - 1), QPoint(X1, Y2 - 1)}, FPen,
                       true);
    }
}

// Curved shapes are drawn with antialiasing off and the outline half a pixel inside the box,
// so they cover [X1,X2) x [Y1,Y2) as the platform's do.
static QRectF ShapeBox(int X1, int Y1, int X2, int Y2, int PenWidth) {
    // Without an outline the fill stops one pixel short on the right and bottom, as Rectangle's.
    if (PenWidth == 0) return QRectF(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1);
    const double H = PenWidth / 2.0;
    return QRectF(X1 + H, Y1 + H, X2 - X1 - 2 * H, Y2 - Y1 - 2 * H);
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    if (!EnsurePainter()) return;
    const bool Outline = FPen.Style() != psClear;
    const int W = Outline ? FPen.Width() : 0;
    QPainterPath Path;
    Path.addRoundedRect(ShapeBox(X1, Y1, X2, Y2, W), X3 / 2.0, Y3 / 2.0);
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    if (FBrush.Style() != bsClear)
        FPainter->fillPath(Path,
                           FBrush.Style() == bsSolid ? QBrush(ToQColor(FBrush.Color()))
                                                     : QBrush(ToQColor(FBrush.Color()), HatchStyle(FBrush.Style())));
    if (Outline) {
        QPen P(PenSourceColor(FPen), W);
        if (FPen.Style() != psSolid && FPen.Style() != psInsideFrame) P.setStyle(Qt::DotLine);
        FPainter->strokePath(Path, P);
    }
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    if (!EnsurePainter()) return;
    const bool Outline = FPen.Style() != psClear;
    const int W = Outline ? FPen.Width() : 0;
    QPainterPath Path;
    Path.addEllipse(ShapeBox(X1, Y1, X2, Y2, W));
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    if (FBrush.Style() != bsClear)
        FPainter->fillPath(Path,
                           FBrush.Style() == bsSolid ? QBrush(ToQColor(FBrush.Color()))
                                                     : QBrush(ToQColor(FBrush.Color()), HatchStyle(FBrush.Style())));
    if (Outline) {
        QPen P(PenSourceColor(FPen), W);
        if (FPen.Style() != psSolid && FPen.Style() != psInsideFrame) P.setStyle(Qt::DotLine);
        FPainter->strokePath(Path, P);
    }
}

// The angle (degrees, counter-clockwise from 3 o'clock) of a point as seen from a box's centre.
static double AngleOf(const QRectF& Box, int X, int Y) {
    const double CX = Box.center().x(), CY = Box.center().y();
    return std::atan2(-(Y - CY), X - CX) * 180.0 / M_PI;
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    if (!EnsurePainter() || FPen.Style() == psClear) return;
    const QRectF Box = ShapeBox(X1, Y1, X2, Y2, FPen.Width());
    const double A0 = AngleOf(Box, X3, Y3), A1 = AngleOf(Box, X4, Y4);
    double Span = A1 - A0; // the arc runs counter-clockwise from the start to the end radial
    while (Span <= 0) Span += 360;
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setPen(QPen(PenSourceColor(FPen), FPen.Width()));
    FPainter->setBrush(Qt::NoBrush);
    FPainter->drawArc(Box, int(std::lround(A0 * 16)), int(std::lround(Span * 16)));
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    if (!EnsurePainter()) return;
    const bool Outline = FPen.Style() != psClear;
    const QRectF Box = ShapeBox(X1, Y1, X2, Y2, Outline ? FPen.Width() : 0);
    const double A0 = AngleOf(Box, X3, Y3), A1 = AngleOf(Box, X4, Y4);
    double Span = A1 - A0;
    while (Span <= 0) Span += 360;
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setPen(Outline ? QPen(PenSourceColor(FPen), FPen.Width()) : QPen(Qt::NoPen));
    if (FBrush.Style() == bsClear)
        FPainter->setBrush(Qt::NoBrush);
    else
        FPainter->setBrush(QBrush(ToQColor(FBrush.Color()), HatchStyle(FBrush.Style())));
    FPainter->drawPie(Box, int(std::lround(A0 * 16)), int(std::lround(Span * 16)));
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
    if (!EnsurePainter() || Points.empty()) return;
    QPolygon Poly;
    std::vector<QPoint> Pts;
    for (const TPoint& P : Points) {
        Poly << QPoint(P.X, P.Y);
        Pts.emplace_back(P.X, P.Y);
    }
    if (FBrush.Style() != bsClear) {
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        FPainter->setPen(Qt::NoPen);
        FPainter->setBrush(FBrush.Style() == bsSolid ? QBrush(ToQColor(FBrush.Color()))
                                                     : QBrush(ToQColor(FBrush.Color()), HatchStyle(FBrush.Style())));
        const bool Outlined = FPen.Style() != psClear && FPen.Mode() != pmNop;
        if (Outlined) {
            // The outline runs through the centres of its pixels; the fill follows the same line,
            // so it reaches the outline everywhere instead of stopping half a pixel short of it
            // along the right and lower edges.
            QPolygonF Centred;
            for (const QPoint& Q : Poly) Centred << QPointF(Q.x() + 0.5, Q.y() + 0.5);
            FPainter->drawPolygon(Centred, Qt::OddEvenFill);
        } else {
            FPainter->drawPolygon(Poly, Qt::OddEvenFill);
        }
    }
    if (Pts.size() >= 2)
        StrokePolyline(FPainter, Pts, FPen, true);
    else if (FPen.Style() != psClear)
        FPainter->fillRect(QRect(Pts[0], QSize(1, 1)), PenSourceColor(FPen));
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
    if (Points.empty()) return;
    if (EnsurePainter()) {
        std::vector<QPoint> Pts;
        for (const TPoint& P : Points) Pts.emplace_back(P.X, P.Y);
        StrokePolyline(FPainter, Pts, FPen, false);
    }
}

void TCanvas::DrawFocusRect(const TRect& R) {
    if (!EnsurePainter() || R.IsEmpty()) return;
    // every other pixel of the one-pixel frame is inverted, so a second call restores it
    QPolygon Dots;
    const int L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
    for (int X = L; X <= Rt; ++X) {
        if (((X - L) & 1) == 0) Dots << QPoint(X, T);
        if (B != T && ((X - L + B - T) & 1) == 0) Dots << QPoint(X, B);
    }
    for (int Y = T + 1; Y < B; ++Y) {
        if (((Y - T) & 1) == 0) Dots << QPoint(L, Y);
        if (Rt != L && ((Rt - L + Y - T) & 1) == 0) Dots << QPoint(Rt, Y);
    }
    FPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen P(QColor(255, 255, 255));
    P.setWidth(0);
    FPainter->setPen(P);
    FPainter->drawPoints(Dots);
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

const QImage* TCanvas::ReadableImage(QPoint& Origin) {
    Origin = QPoint(0, 0);
    if (FBitmap) return FBitmap->FImage.isNull() ? nullptr : &FBitmap->FImage;
    if (!FPainter || !FPainter->paintEngine()) return nullptr;
    QPaintDevice* D = FPainter->paintEngine()->paintDevice();
    if (!D || D->devType() != QInternal::Image) return nullptr;
    const QTransform T = FPainter->deviceTransform();
    if (!T.isAffine() || T.m11() != 1 || T.m22() != 1 || T.m12() != 0 || T.m21() != 0) return nullptr;
    Origin = QPoint(int(T.dx()), int(T.dy()));
    return static_cast<QImage*>(D);
}

TColor TCanvas::Pixels(int X, int Y) {
    if (Mirrored()) {
        TCanvasLeftToRight Physical(this);
        return Pixels(FMirrorWidth - 1 - X, Y);
    }
    QPoint O;
    const QImage* Img = ReadableImage(O);
    if (!Img) return -1;
    X += O.x();
    Y += O.y();
    if (X < 0 || Y < 0 || X >= Img->width() || Y >= Img->height()) return -1;
    return FromQColor(QColor::fromRgb(Img->pixel(X, Y)));
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
    if (!EnsurePainter() || FBrush.Style() == bsClear || FBrush.Color() == clNone) return;
    QPoint O;
    const QImage* Src = ReadableImage(O);
    if (!Src) return;
    const int W = Src->width(), H = Src->height();
    const int SX = X + O.x(), SY = Y + O.y();
    if (SX < 0 || SY < 0 || SX >= W || SY >= H) return;
    const QRgb Key = ToQRgb(Color) & 0xFFFFFF;
    auto Inside = [&](int PX, int PY) {
        const bool Same = (Src->pixel(PX, PY) & 0xFFFFFF) == Key;
        return FillStyle == fsBorder ? !Same : Same;
    };
    if (!Inside(SX, SY)) return;
    // scan-line fill into a mask first, then paint the runs with the brush
    std::vector<uint8_t> Done(size_t(W) * H, 0);
    std::vector<QPoint> Stack{{SX, SY}};
    std::vector<QRect> Runs;
    while (!Stack.empty()) {
        const QPoint P = Stack.back();
        Stack.pop_back();
        if (Done[size_t(P.y()) * W + P.x()]) continue;
        int L = P.x(), R = P.x();
        while (L > 0 && !Done[size_t(P.y()) * W + L - 1] && Inside(L - 1, P.y())) --L;
        while (R + 1 < W && !Done[size_t(P.y()) * W + R + 1] && Inside(R + 1, P.y())) ++R;
        for (int I = L; I <= R; ++I) Done[size_t(P.y()) * W + I] = 1;
        Runs.emplace_back(L - O.x(), P.y() - O.y(), R - L + 1, 1);
        for (int NY : {P.y() - 1, P.y() + 1}) {
            if (NY < 0 || NY >= H) continue;
            for (int I = L; I <= R; ++I)
                if (!Done[size_t(NY) * W + I] && Inside(I, NY)) Stack.emplace_back(I, NY);
        }
    }
    for (const QRect& Run : Runs) FillWithBrush(FPainter, Run, FBrush);
}

void TCanvas::SetPixels(int X, int Y, TColor Color) {
    if (!EnsurePainter()) return;
    FPainter->fillRect(QRect(X, Y, 1, 1), ToQColor(Color));
}

// ---- text ---------------------------------------------------------------------------------

int TCanvas::CachedWidth(const QString& Text) {
    const QFontMetrics& M = Metrics(); // first: a font change empties the cache
    auto& Cache = FCurFont->Widths;
    auto It = Cache.find(Text);
    if (It != Cache.end()) return It->second;
    if (Cache.size() >= 4096) Cache.clear();
    const int W = M.horizontalAdvance(Text);
    Cache.emplace(Text, W);
    return W;
}

int TCanvas::TextWidth(const QString& Text) { return CachedWidth(Text); }
int TCanvas::TextHeight(const QString&) {
    Metrics();
    return FCurFont->TextHeight;
}
TSize TCanvas::TextExtent(const QString& Text) { return {TextWidth(Text), TextHeight(Text)}; }

void TCanvas::DrawTextLine(int X, int Y, const TTextLine& Line, bool Opaque) {
    const QFontMetrics& M = Metrics();
    if (Opaque && BkMode() == OPAQUE && FBrush.Color() != clNone && FFont.Orientation() == 0)
        FPainter->fillRect(QRect(X, Y, Line.Width, FCurFont->TextHeight), ToQColor(FBrush.Color()));
    if (Line.Text.isEmpty()) return;
    ApplyFont();
    const QColor C = ToQColor(FFont.Color());
    if (FPainter->pen().color() != C || FPainter->pen().style() != Qt::SolidLine || FPainter->pen().width() > 1)
        FPainter->setPen(C);
    if (FFont.Orientation() != 0) {
        // escapement in tenths of a degree, counter-clockwise about the text's top-left corner
        FPainter->save();
        FPainter->translate(X, Y);
        FPainter->rotate(-FFont.Orientation() / 10.0);
        FPainter->drawText(QPoint(0, FCurFont->Ascent), Line.Text);
        FPainter->restore();
        return;
    }
    FPainter->drawText(QPoint(X, Y + FCurFont->Ascent), Line.Text);
    if (Line.UnderlineAt >= 0 && Line.UnderlineAt < Line.Text.size()) {
        const int UX = X + M.horizontalAdvance(Line.Text.left(Line.UnderlineAt));
        const int UW = M.horizontalAdvance(Line.Text.mid(Line.UnderlineAt, 1));
        const int UY = Y + FCurFont->Ascent + std::max(1, M.underlinePos());
        FPainter->fillRect(QRect(UX, UY, std::max(1, UW), std::max(1, M.lineWidth())), C);
    }
}

void TCanvas::TextOut(int X, int Y, const QString& Text) {
    const int W = TextWidth(Text);
    if (Mirrored()) {
        {
            TCanvasLeftToRight Physical(this);
            TextOut(FMirrorWidth - X - W, Y, Text);
        }
        FPenPos = {X + W, Y};
        return;
    }
    if (EnsurePainter()) {
        TTextLine L{Text, -1, W};
        DrawTextLine(X, Y, L, true);
    }
    FPenPos = {X + W, Y};
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const QString& Text) {
    if (!EnsurePainter()) return;
    if (Mirrored()) {
        const TRect P = MirrorRect(R);
        const int W = TextWidth(Text), MW = FMirrorWidth;
        TCanvasLeftToRight Physical(this);
        TextRect(P, MW - X - W, Y, Text);
        return;
    }
    FPainter->setClipRect(ToQRect(R), FHasClip || FHasBaseClip ? Qt::IntersectClip : Qt::ReplaceClip);
    FillWithBrush(FPainter, ToQRect(R), FBrush);
    TTextLine L{Text, -1, TextWidth(Text)};
    DrawTextLine(X, Y, L, false);
    ApplyClip();
}

namespace {

// Removes the "&" prefixes: "&&" is "&", "&x" marks x (the last marked character counts).
QString StripPrefix(const QString& S, int& MarkAt) {
    MarkAt = -1;
    if (!S.contains(QLatin1Char('&'))) return S;
    QString Out;
    Out.reserve(S.size());
    for (int I = 0; I < S.size(); ++I) {
        if (S[I] == QLatin1Char('&')) {
            if (I + 1 < S.size() && S[I + 1] == QLatin1Char('&')) {
                Out += QLatin1Char('&');
                ++I;
                continue;
            }
            if (I + 1 < S.size()) MarkAt = int(Out.size());
            continue;
        }
        Out += S[I];
    }
    return Out;
}

} // namespace

std::vector<TCanvas::TTextLine> TCanvas::LayoutText(const QString& Text, int MaxWidth, unsigned Flags) {
    const QFontMetrics& M = Metrics();
    const bool Plain = !Text.contains(QLatin1Char('\n')) && !Text.contains(QLatin1Char('\r')) &&
        !((Flags & DT_EXPANDTABS) && Text.contains(QLatin1Char('\t'))) &&
        ((Flags & DT_NOPREFIX) || !Text.contains(QLatin1Char('&')));
    if (Plain && !(Flags & (DT_WORDBREAK | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS))) {
        std::vector<TTextLine> One(1);
        One[0].Text = Text;
        One[0].Width = CachedWidth(Text);
        return One;
    }
    QString S = Text;
    if (Flags & DT_EXPANDTABS) {
        const int TabW = 8 * std::max(1, M.averageCharWidth());
        // expand by width: each tab becomes spaces up to the next tab stop
        QString Out;
        const int SpaceW = std::max(1, M.horizontalAdvance(QLatin1Char(' ')));
        int LineStart = 0;
        for (QChar C : S) {
            if (C == QLatin1Char('\n') || C == QLatin1Char('\r')) {
                Out += C;
                LineStart = int(Out.size());
                continue;
            }
            if (C == QLatin1Char('\t')) {
                const int Cur = M.horizontalAdvance(Out.mid(LineStart));
                const int Next = (Cur / TabW + 1) * TabW;
                const int N = std::max(1, (Next - Cur + SpaceW - 1) / SpaceW);
                Out += QString(N, QLatin1Char(' '));
                continue;
            }
            Out += C;
        }
        S = Out;
    }

    QStringList Raw;
    if (Flags & DT_SINGLELINE) {
        QString One = S;
        One.replace(QLatin1String("\r\n"), QLatin1String(" "));
        One.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        Raw << One;
    } else {
        QString T = S;
        T.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        Raw = T.split(QLatin1Char('\n'));
    }

    const bool Prefix = !(Flags & DT_NOPREFIX);
    const bool ShowMark = Prefix && !(Flags & (DT_HIDEPREFIX | DT_PREFIXONLY));
    std::vector<TTextLine> Lines;
    auto Push = [&](const QString& Src) {
        TTextLine L;
        int Mark = -1;
        L.Text = Prefix ? StripPrefix(Src, Mark) : Src;
        L.UnderlineAt = ShowMark ? Mark : -1;
        L.Width = M.horizontalAdvance(L.Text);
        Lines.push_back(std::move(L));
    };

    const bool Wrap = (Flags & DT_WORDBREAK) && !(Flags & DT_SINGLELINE);
    for (const QString& Para : Raw) {
        if (!Wrap) {
            Push(Para);
            continue;
        }
        // break between words; a word wider than the room stays whole on its own line
        int Pos = 0;
        const int N = int(Para.size());
        if (N == 0) {
            Push(Para);
            continue;
        }
        while (Pos < N) {
            int LineEnd = Pos; // exclusive end of the text that fits
            int LastBreak = -1; // end of the last whole word that fits
            int I = Pos;
            while (I < N) {
                int WordEnd = I;
                while (WordEnd < N && Para[WordEnd] == QLatin1Char(' ')) ++WordEnd;
                while (WordEnd < N && Para[WordEnd] != QLatin1Char(' ')) ++WordEnd;
                QString Candidate = Para.mid(Pos, WordEnd - Pos);
                int Dummy;
                const QString Visible = Prefix ? StripPrefix(Candidate, Dummy) : Candidate;
                if (M.horizontalAdvance(Visible) <= MaxWidth || LastBreak < 0) {
                    LastBreak = WordEnd;
                    I = WordEnd;
                    if (M.horizontalAdvance(Visible) > MaxWidth) break;
                } else {
                    break;
                }
            }
            LineEnd = std::max(LastBreak, Pos + 1);
            QString Line = Para.mid(Pos, LineEnd - Pos);
            while (Line.endsWith(QLatin1Char(' '))) Line.chop(1);
            Push(Line);
            Pos = LineEnd;
            while (Pos < N && Para[Pos] == QLatin1Char(' ')) ++Pos; // spaces at a break vanish
        }
    }

    if (Flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) {
        const QString Dots = QStringLiteral("...");
        for (TTextLine& L : Lines) {
            if (L.Width <= MaxWidth) continue;
            QString T = L.Text;
            while (!T.isEmpty() && M.horizontalAdvance(T + Dots) > MaxWidth) T.chop(1);
            if (L.UnderlineAt >= T.size()) L.UnderlineAt = -1;
            L.Text = T + Dots;
            L.Width = M.horizontalAdvance(L.Text);
        }
    }
    return Lines;
}

int TCanvas::DrawText(const QString& Text, TRect& R, unsigned Flags) {
    if (Mirrored() && !(Flags & DT_CALCRECT)) {
        TRect P = MirrorRect(R);
        TCanvasLeftToRight Physical(this);
        return DrawText(Text, P, Flags);
    }
    const QFontMetrics& M = Metrics();
    const int LineH = FCurFont->TextHeight + ((Flags & DT_EXTERNALLEADING) ? std::max(0, FCurFont->Leading) : 0);
    const int RoomW = R.Width();
    std::vector<TTextLine> Lines = LayoutText(Text, RoomW, Flags);
    const int TextH = LineH * int(Lines.size());

    if (Flags & DT_CALCRECT) {
        int MaxW = 0;
        for (const auto& L : Lines) MaxW = std::max(MaxW, L.Width);
        if (Flags & DT_WORDBREAK) MaxW = std::max(MaxW, 0);
        R.Right = R.Left + MaxW;
        R.Bottom = R.Top + TextH;
        return TextH;
    }

    int Y = R.Top;
    if (Flags & DT_SINGLELINE) {
        if (Flags & DT_BOTTOM)
            Y = R.Bottom - TextH;
        else if (Flags & DT_VCENTER)
            Y = (R.Top + R.Bottom - TextH) / 2;
    }
    const int Result = (Y - R.Top) + TextH;
    if (!EnsurePainter()) return Result;

    auto LineX = [&](const TTextLine& L) {
        if (Flags & DT_CENTER) return (R.Left + R.Right - L.Width) / 2;
        if (Flags & DT_RIGHT) return R.Right - L.Width;
        return R.Left;
    };
    // The text is clipped to R; the clip is only set up when some ink could reach outside
    // (glyphs may overhang their advance by a pixel or two, italics by more).
    bool NeedClip = false;
    if (!(Flags & DT_NOCLIP)) {
        if (Y < R.Top || Y + TextH > R.Bottom || FFont.Style().Contains(fsItalic)) NeedClip = true;
        for (const auto& L : Lines) {
            if (NeedClip || L.Text.isEmpty()) continue;
            // ink runs from the first glyph's left bearing to the last one's right bearing,
            // plus a pixel of antialiasing on each side
            const int X = LineX(L);
            const int InkL = X + M.leftBearing(L.Text.front()) - 1;
            const int InkR = X + L.Width - M.rightBearing(L.Text.back()) + 1;
            if (InkL < R.Left || InkR > R.Right) NeedClip = true;
        }
    }
    const bool Rtl = Flags & DT_RTLREADING;
    if (NeedClip) FPainter->setClipRect(ToQRect(R), FHasClip || FHasBaseClip ? Qt::IntersectClip : Qt::ReplaceClip);
    const Qt::LayoutDirection OldDirection = FPainter->layoutDirection();
    if (Rtl) FPainter->setLayoutDirection(Qt::RightToLeft);
    for (const auto& L : Lines) {
        DrawTextLine(LineX(L), Y, L, true);
        Y += LineH;
    }
    if (Rtl) FPainter->setLayoutDirection(OldDirection);
    if (NeedClip) ApplyClip();
    return Result;
}

// ---- pictures on the canvas ------------------------------------------------------------------

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    if (!EnsurePainter()) return;
    if (Mirrored()) {
        const int MW = FMirrorWidth;
        TCanvasLeftToRight Physical(this);
        Draw(MW - X - Graphic->Width(), Y, Graphic);
        return;
    }
    Graphic->Draw(this, Rect(X, Y, X + Graphic->Width(), Y + Graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    if (!EnsurePainter()) return;
    if (Mirrored()) {
        const TRect P = MirrorRect(R);
        TCanvasLeftToRight Physical(this);
        StretchDraw(P, Graphic);
        return;
    }
    Graphic->Draw(this, R);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect) {
    if (!Source || !Source->FBitmap || !EnsurePainter()) return;
    if (Mirrored()) {
        const TRect P = MirrorRect(Dest);
        TCanvasLeftToRight Physical(this);
        CopyRect(P, Source, SourceRect);
        return;
    }
    if (FCopyMode == cmBlackness || FCopyMode == cmWhiteness) {
        FPainter->fillRect(ToQRect(Dest), FCopyMode == cmBlackness ? Qt::black : Qt::white);
        return;
    }
    // a copy first: the source may be this very canvas
    const QImage Part = Source->FBitmap->FImage.copy(ToQRect(SourceRect));
    QPainter::CompositionMode Mode = QPainter::CompositionMode_Source;
    switch (FCopyMode) {
        case cmSrcAnd: Mode = QPainter::RasterOp_SourceAndDestination; break;
        case cmSrcPaint: Mode = QPainter::RasterOp_SourceOrDestination; break;
        case cmSrcInvert: Mode = QPainter::RasterOp_SourceXorDestination; break;
        case cmMergePaint: Mode = QPainter::RasterOp_NotSourceOrDestination; break;
        case cmNotSrcCopy: Mode = QPainter::RasterOp_NotSource; break;
        default: break;
    }
    FPainter->setCompositionMode(Mode);
    if (Dest.Width() == SourceRect.Width() && Dest.Height() == SourceRect.Height())
        FPainter->drawImage(QPoint(Dest.Left, Dest.Top), Part);
    else
        FPainter->drawImage(ToQRect(Dest), Part);
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// ---- clipping ----------------------------------------------------------------------------

TRect TCanvas::ClipRect() {
    if (FHasClip) {
        const QRect B = FClip.boundingRect();
        return B.isEmpty() ? TRect{} : Rect(B.left(), B.top(), B.right() + 1, B.bottom() + 1);
    }
    QPaintDevice* D = FBitmap ? &FBitmap->FImage : FDevice;
    if (!D) return TRect{};
    return Rect(0, 0, D->width(), D->height());
}

void TCanvas::SetClipRect(const TRect& R) {
    FHasClip = true;
    FClip = QRegion(ToQRect(R));
    ApplyClip();
}

void TCanvas::IntersectClipRect(const TRect& R) {
    if (!FHasClip) {
        const TRect Whole = ClipRect();
        FClip = QRegion(ToQRect(Whole));
        FHasClip = true;
    }
    FClip &= QRegion(ToQRect(R));
    ApplyClip();
}

void TCanvas::ExcludeClipRect(const TRect& R) {
    if (!FHasClip) {
        FClip = QRegion(ToQRect(ClipRect()));
        FHasClip = true;
    }
    FClip -= QRegion(ToQRect(R));
    ApplyClip();
}

void TCanvas::ResetClip() {
    FHasClip = false;
    FClip = QRegion();
    ApplyClip();
}

// ---- 3-D edges and frame controls -----------------------------------------------------------

bool TCanvas::DrawEdge(TRect& R, unsigned Edge, unsigned Flags) {
    if (!EnsurePainter()) return false;
    const bool Soft = Flags & BF_SOFT;
    const bool Flat = Flags & BF_FLAT, Mono = Flags & BF_MONO;
    // outer band then inner band; each has a top-left and a bottom-right colour
    struct Band {
        TColor TL, BR;
        bool On;
    };
    auto Colors = [&](bool Raised, bool Outer) -> std::pair<TColor, TColor> {
        if (Mono) return {clWindowFrame, clWindowFrame};
        if (Flat) return {clBtnShadow, clBtnShadow};
        if (Outer)
            return Raised ? std::pair{Soft ? clBtnHighlight : cl3DLight, cl3DDkShadow}
                          : std::pair{clBtnShadow, clBtnHighlight};
        return Raised ? std::pair{Soft ? cl3DLight : clBtnHighlight, clBtnShadow} : std::pair{cl3DDkShadow, cl3DLight};
    };
    Band Bands[2];
    {
        const bool RO = Edge & BDR_RAISEDOUTER, SO = Edge & BDR_SUNKENOUTER;
        auto C = Colors(RO, true);
        Bands[0] = {C.first, C.second, RO || SO};
        const bool RI = Edge & BDR_RAISEDINNER, SI = Edge & BDR_SUNKENINNER;
        auto D = Colors(RI, false);
        Bands[1] = {D.first, D.second, RI || SI};
        if (Flat || Mono) Bands[1] = {clBtnFace, clBtnFace, RI || SI};
    }
    TRect Cur = R;
    for (const Band& B : Bands) {
        if (!B.On) continue;
        const QColor TL = ToQColor(B.TL), BR = ToQColor(B.BR);
        const int W = Cur.Width(), H = Cur.Height();
        if (W <= 0 || H <= 0) break;
        if (Flags & BF_TOP) FPainter->fillRect(QRect(Cur.Left, Cur.Top, W, 1), TL);
        if (Flags & BF_LEFT) FPainter->fillRect(QRect(Cur.Left, Cur.Top, 1, H), TL);
        if (Flags & BF_BOTTOM) FPainter->fillRect(QRect(Cur.Left, Cur.Bottom - 1, W, 1), BR);
        if (Flags & BF_RIGHT) FPainter->fillRect(QRect(Cur.Right - 1, Cur.Top, 1, H), BR);
        if (Flags & BF_LEFT) ++Cur.Left;
        if (Flags & BF_TOP) ++Cur.Top;
        if (Flags & BF_RIGHT) --Cur.Right;
        if (Flags & BF_BOTTOM) --Cur.Bottom;
    }
    if (Flags & BF_MIDDLE) FPainter->fillRect(ToQRect(Cur), ToQColor(Mono ? clWindow : clBtnFace));
    if (Flags & BF_ADJUST) R = Cur;
    return true;
}

bool TCanvas::DrawFrameControl(TRect& R, unsigned Type, unsigned State) {
    if (!EnsurePainter() || R.IsEmpty()) return false;
    const bool Inactive = State & DFCS_INACTIVE, Pushed = State & DFCS_PUSHED;
    const bool Checked = State & DFCS_CHECKED, Flat = State & DFCS_FLAT;
    const QColor Glyph = ToQColor(Inactive ? clGrayText : clBtnText);
    FPainter->setRenderHint(QPainter::Antialiasing, false);

    auto Face = [&](TRect Box, bool Down) {
        if (Flat) {
            TRect B = Box;
            DrawEdge(B, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_ADJUST);
            FPainter->fillRect(ToQRect(B), ToQColor(clBtnFace));
        } else {
            TRect B = Box;
            DrawEdge(B, Down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST | BF_SOFT);
            FPainter->fillRect(ToQRect(B), ToQColor(clBtnFace));
        }
    };
    auto Arrow = [&](const TRect& Box, int Dir) { // 0 up, 1 down, 2 left, 3 right
        const int S = std::max(2, std::min(Box.Width(), Box.Height()) / 4);
        const int CX = (Box.Left + Box.Right) / 2 + ((Pushed && !Flat) ? 1 : 0);
        const int CY = (Box.Top + Box.Bottom) / 2 + ((Pushed && !Flat) ? 1 : 0);
        for (int I = 0; I < S; ++I) {
            switch (Dir) {
                case 0: FPainter->fillRect(QRect(CX - I, CY - S / 2 + I, 2 * I + 1, 1), Glyph); break;
                case 1:
                    FPainter->fillRect(QRect(CX - (S - 1 - I), CY - S / 2 + I, 2 * (S - 1 - I) + 1, 1), Glyph);
                    break;
                case 2: FPainter->fillRect(QRect(CX - S / 2 + I, CY - I, 1, 2 * I + 1), Glyph); break;
                default:
                    FPainter->fillRect(QRect(CX - S / 2 + I, CY - (S - 1 - I), 1, 2 * (S - 1 - I) + 1), Glyph);
                    break;
            }
        }
    };

    if (Type == DFC_BUTTON) {
        const unsigned Kind = State & 0xFF;
        if (Kind & DFCS_BUTTONPUSH) {
            Face(R, Pushed || Checked);
            return true;
        }
        if (Kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
            const int S = std::min(R.Width(), R.Height());
            const QRect Box(R.Left, R.Top, S, S);
            FPainter->setPen(QPen(ToQColor(Flat ? clBtnShadow : cl3DDkShadow), 1));
            FPainter->setBrush(ToQColor(Inactive || Pushed ? clBtnFace : clWindow));
            FPainter->drawEllipse(Box.adjusted(0, 0, -1, -1));
            if (Checked) {
                FPainter->setPen(Qt::NoPen);
                FPainter->setBrush(Glyph);
                const int D = std::max(2, S / 3);
                FPainter->drawEllipse(QRect(Box.center().x() - D / 2, Box.center().y() - D / 2, D, D));
            }
            return true;
        }
        // check box (two- or three-state)
        const int S = std::min(R.Width(), R.Height());
        TRect Box = Bounds(R.Left, R.Top, S, S);
        if (Flat) {
            FPainter->fillRect(ToQRect(Box), ToQColor(clBtnShadow));
            InflateRect(Box, -1, -1);
        } else {
            DrawEdge(Box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        }
        const bool Mixed = (Kind & DFCS_BUTTON3STATE) && Checked;
        FPainter->fillRect(ToQRect(Box), ToQColor(Inactive || Pushed || Mixed ? clBtnFace : clWindow));
        if (Checked) {
            // a tick of three-pixel-thick strokes: down-right then up-right
            const QColor C = Mixed ? ToQColor(clBtnShadow) : Glyph;
            const int W = Box.Width(), H = Box.Height();
            const int X0 = Box.Left + std::max(1, W / 6), Y0 = Box.Top + H / 2 - 1;
            const int Down = std::max(2, W / 4), Up = std::max(3, W / 2);
            for (int I = 0; I <= Down; ++I) FPainter->fillRect(QRect(X0 + I, Y0 + I - 1, 1, 3), C);
            for (int I = 1; I <= Up && X0 + Down + I < Box.Right; ++I)
                FPainter->fillRect(QRect(X0 + Down + I, Y0 + Down - I - 1, 1, 3), C);
        }
        return true;
    }
    if (Type == DFC_SCROLL) {
        Face(R, Pushed);
        TRect Inner = R;
        InflateRect(Inner, -2, -2);
        switch (State & 0xFF) {
            case DFCS_SCROLLUP: Arrow(Inner, 0); break;
            case DFCS_SCROLLDOWN:
            case DFCS_SCROLLCOMBOBOX: Arrow(Inner, 1); break;
            case DFCS_SCROLLLEFT: Arrow(Inner, 2); break;
            case DFCS_SCROLLRIGHT: Arrow(Inner, 3); break;
            default: break;
        }
        return true;
    }
    if (Type == DFC_CAPTION) {
        Face(R, Pushed);
        if ((State & 0xFF) == DFCS_CAPTIONCLOSE) {
            const int S = std::max(4, std::min(R.Width(), R.Height()) / 2);
            const int X0 = (R.Left + R.Right - S) / 2 + (Pushed ? 1 : 0);
            const int Y0 = (R.Top + R.Bottom - S) / 2 + (Pushed ? 1 : 0);
            for (int I = 0; I < S; ++I) {
                FPainter->fillRect(QRect(X0 + I, Y0 + I, 2, 1), Glyph);
                FPainter->fillRect(QRect(X0 + S - 2 - I, Y0 + I, 2, 1), Glyph);
            }
        }
        return true;
    }
    return false;
}

int DrawText(TCanvas* Canvas, const QString& Text, TRect& R, unsigned Flags) {
    return Canvas ? Canvas->DrawText(Text, R, Flags) : 0;
}
bool DrawEdge(TCanvas* Canvas, TRect& R, unsigned Edge, unsigned Flags) {
    return Canvas && Canvas->DrawEdge(R, Edge, Flags);
}
bool DrawFrameControl(TCanvas* Canvas, TRect& R, unsigned Type, unsigned State) {
    return Canvas && Canvas->DrawFrameControl(R, Type, State);
}
void DrawFocusRect(TCanvas* Canvas, const TRect& R) {
    if (Canvas) Canvas->DrawFocusRect(R);
}

void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width) {
    if (!Canvas) return;
    QPainter* P = Canvas->Painter();
    for (int I = 0; I < Width; ++I) {
        if (P && !R.IsEmpty()) {
            const QColor T = ToQColor(TopColor), B = ToQColor(BottomColor);
            const int W = R.Width(), H = R.Height();
            P->fillRect(QRect(R.Left, R.Top, W - 1, 1), T); // top, up to the corner
            P->fillRect(QRect(R.Left, R.Top, 1, H - 1), T); // left
            P->fillRect(QRect(R.Right - 1, R.Top, 1, H), B); // right, the corner included
            P->fillRect(QRect(R.Left, R.Bottom - 1, W, 1), B); // bottom
        }
        InflateRect(R, -1, -1);
    }
}

// ---------------------------------------------------------------------------------------------
// Graphics

#include "platform/gui/Resources.h"
#include "platform/rtl/Files.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>

namespace {

// Whole file or nothing: the bytes go to a temporary file that replaces the target on commit.
void WriteWholeFile(const QString& FileName, const QByteArray& Bytes) {
    QSaveFile F(FileName);
    if (!F.open(QIODevice::WriteOnly))
        throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, F.errorString()));
    if (F.write(Bytes) != Bytes.size() || !F.commit())
        throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(FileName, F.errorString()));
}

constexpr int kMaxImageSide = 32768;

} // namespace

void TGraphic::Changed() {
    if (OnChange) OnChange(this);
}

void TGraphic::SetTransparent(bool Value) {
    if (FTransparent != Value) {
        FTransparent = Value;
        Changed();
    }
}

// Read through the one careful reader: a FIFO or a device named as a picture is refused at once
// instead of holding the window, and a huge file is refused before it is read.
void TGraphic::LoadFromFile(const QString& FileName) { LoadFromBytes(ReadFileBytes(FileName)); }

void TGraphic::SaveToFile(const QString& FileName) { WriteWholeFile(FileName, SaveToBytes()); }

void TGraphic::LoadFromStream(QIODevice& Stream) { LoadFromBytes(Stream.readAll()); }

void TGraphic::SaveToStream(QIODevice& Stream) {
    const QByteArray B = SaveToBytes();
    if (Stream.write(B) != B.size()) throw EWriteError(QStringLiteral("Stream write error"));
}

void TGraphic::Draw(TCanvas* ACanvas, const TRect& R) {
    QPainter* P = ACanvas ? ACanvas->Painter() : nullptr;
    if (!P || Empty()) return;
    const QImage Img = ToImage();
    if (R.Width() == Img.width() && R.Height() == Img.height())
        P->drawImage(QPoint(R.Left, R.Top), Img);
    else
        P->drawImage(ToQRect(R), Img);
}

// ---- TBitmap -------------------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int Width, int Height) { SetSize(Width, Height); }

TBitmap::~TBitmap() {
    if (FCanvas) FCanvas->ReleasePainter();
}

QImage::Format TBitmap::QtFormat() const {
    switch (FPixelFormat) {
        case pf24bit: return QImage::Format_BGR888;
        case pf32bit: return QImage::Format_ARGB32_Premultiplied;
        default: return QImage::Format_RGB32;
    }
}

void TBitmap::ClosePainter() const {
    if (FCanvas) FCanvas->ReleasePainter();
}

void TBitmap::SetSize(int Width, int Height) {
    Width = std::clamp(Width, 0, kMaxImageSide);
    Height = std::clamp(Height, 0, kMaxImageSide);
    if (Width == this->Width() && Height == this->Height()) return;
    ClosePainter();
    if (Width == 0 || Height == 0) {
        FImage = QImage();
    } else {
        QImage N(Width, Height, QtFormat());
        if (N.isNull()) throw EOutOfResources(QStringLiteral("Out of system resources"));
        N.fill(Qt::white);
        if (!FImage.isNull()) {
            QPainter P(&N);
            P.setCompositionMode(QPainter::CompositionMode_Source);
            P.drawImage(QPoint(0, 0), FImage);
        }
        FImage = std::move(N);
    }
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (FPixelFormat == Value) return;
    ClosePainter();
    FPixelFormat = Value;
    if (!FImage.isNull()) FImage = FImage.convertToFormat(QtFormat());
    Changed();
}

void TBitmap::SetAlphaFormat(TAlphaFormat Value) {
    if (FAlphaFormat == Value) return;
    FAlphaFormat = Value;
    if (Value != afIgnored && FPixelFormat != pf32bit) SetPixelFormat(pf32bit);
    Changed();
}

void* TBitmap::ScanLine(int Row) {
    if (Row < 0 || Row >= Height()) throw EInvalidGraphic(QStringLiteral("Scan line index out of range"));
    ClosePainter();
    return FImage.scanLine(Row);
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        FCanvas->SetBitmapTarget(this);
    }
    return FCanvas.get();
}

void TBitmap::SetTransparent(bool Value) { TGraphic::SetTransparent(Value); }

TColor TBitmap::TransparentColor() {
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
    if (FImage.isNull()) return clDefault;
    return FromQColor(QColor::fromRgb(FImage.pixel(0, FImage.height() - 1)));
}

void TBitmap::SetTransparentColor(TColor Value) {
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
    if (FTransparentMode == Value) return;
    FTransparentMode = Value;
    if (Value == tmAuto)
        FTransparentColor = clDefault;
    else if (FTransparentColor == clDefault)
        FTransparentColor = TransparentColor();
    Changed();
}

QImage TBitmap::ToImage() const {
    if (FImage.isNull()) return FImage;
    if (FTransparent) {
        const QRgb Key = ToQRgb(const_cast<TBitmap*>(this)->TransparentColor()) & 0xFFFFFF;
        QImage Out = FImage.convertToFormat(QImage::Format_ARGB32);
        for (int Y = 0; Y < Out.height(); ++Y) {
            auto* Line = reinterpret_cast<QRgb*>(Out.scanLine(Y));
            for (int X = 0; X < Out.width(); ++X)
                if ((Line[X] & 0xFFFFFF) == Key) Line[X] = 0;
        }
        return Out;
    }
    if (FPixelFormat == pf32bit && FAlphaFormat == afIgnored) {
        QImage Out = FImage; // alpha bytes are data, not coverage
        Out.reinterpretAsFormat(QImage::Format_RGB32);
        return Out;
    }
    if (FPixelFormat == pf32bit && FAlphaFormat == afDefined) {
        QImage Out = FImage; // straight (not premultiplied) alpha in the bytes
        Out.reinterpretAsFormat(QImage::Format_ARGB32);
        return Out;
    }
    return FImage;
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& R) {
    QPainter* P = ACanvas ? ACanvas->Painter() : nullptr;
    if (!P || FImage.isNull()) return;
    if (ACanvas->OwnerBitmap() == this) return; // a bitmap cannot be drawn on itself
    const QImage Img = ToImage();
    if (R.Width() == Img.width() && R.Height() == Img.height())
        P->drawImage(QPoint(R.Left, R.Top), Img);
    else
        P->drawImage(ToQRect(R), Img);
}

void TBitmap::LoadFromBytes(const QByteArray& Bytes) {
    QImage Img;
    if (!Img.loadFromData(Bytes) || Img.isNull()) throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    if (Img.width() > kMaxImageSide || Img.height() > kMaxImageSide)
        throw EInvalidGraphic(QStringLiteral("Bitmap image is too large"));
    SetImage(Img);
}

QByteArray TBitmap::SaveToBytes() {
    if (FImage.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot save an empty image"));
    ClosePainter();
    QByteArray Bytes;
    QBuffer Buf(&Bytes);
    Buf.open(QIODevice::WriteOnly);
    if (!ToImage().save(&Buf, SaveFormat())) throw EInvalidGraphic(QStringLiteral("Cannot encode the image"));
    return Bytes;
}

void TBitmap::SaveToFile(const QString& FileName) {
    if (QFileInfo(FileName).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0 &&
        qstrcmp(SaveFormat(), "PNG") != 0) {
        if (FImage.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot save an empty image"));
        ClosePainter();
        QByteArray Bytes;
        QBuffer Buf(&Bytes);
        Buf.open(QIODevice::WriteOnly);
        if (!ToImage().save(&Buf, "PNG")) throw EInvalidGraphic(QStringLiteral("Cannot encode the image"));
        WriteWholeFile(FileName, Bytes);
        return;
    }
    TGraphic::SaveToFile(FileName);
}

void TBitmap::LoadFromResourceName(const QString& Name) {
    const QImage Img = ResourceBitmap(Name);
    if (Img.isNull()) throw EResNotFound(QStringLiteral("Resource %1 not found").arg(Name));
    SetImage(Img);
}

void TBitmap::SetImage(const QImage& Image) {
    ClosePainter();
    if (Image.hasAlphaChannel() && FPixelFormat != pf32bit) {
        FPixelFormat = pf32bit;
        FAlphaFormat = afPremultiplied;
    }
    FImage = Image.isNull() ? QImage() : Image.convertToFormat(QtFormat());
    Changed();
}

QImage& TBitmap::Image() {
    ClosePainter();
    return FImage;
}

const QImage& TBitmap::Image() const {
    ClosePainter();
    return FImage;
}

void TBitmap::Assign(TPersistent* Source) {
    if (Source == this) return;
    if (!Source) {
        ClosePainter();
        FImage = QImage();
        Changed();
        return;
    }
    if (auto* B = dynamic_cast<TBitmap*>(Source)) {
        ClosePainter();
        B->ClosePainter();
        FPixelFormat = B->FPixelFormat;
        FAlphaFormat = B->FAlphaFormat;
        FImage = B->FImage;
        FTransparent = B->FTransparent;
        FTransparentMode = B->FTransparentMode;
        FTransparentColor = B->FTransparentColor;
        Changed();
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Source)) {
        Assign(P->Graphic());
        return;
    }
    if (auto* G = dynamic_cast<TGraphic*>(Source)) {
        SetImage(G->ToImage());
        FTransparent = G->Transparent();
        return;
    }
}

QByteArray TGIFImage::SaveToBytes() { throw EInvalidGraphic(QStringLiteral("GIF images cannot be saved")); }

void TGIFImage::SaveToFile(const QString&) { SaveToBytes(); }

// ---- JPEG ---------------------------------------------------------------------------------

namespace {

struct TJpegError {
    jpeg_error_mgr Mgr;
    jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr Info) {
    auto* E = reinterpret_cast<TJpegError*>(Info->err);
    (*Info->err->format_message)(Info, E->Message);
    longjmp(E->Jump, 1);
}

void JpegSilence(j_common_ptr, int) {}

} // namespace

// Every object that outlives a longjmp is constructed before setjmp, so nothing is skipped.
QImage DecodeJPEG(const QByteArray& Bytes) {
    QImage Result;
    jpeg_decompress_struct Info;
    TJpegError Err;
    Info.err = jpeg_std_error(&Err.Mgr);
    Err.Mgr.error_exit = JpegErrorExit;
    Err.Mgr.emit_message = JpegSilence;
    Err.Message[0] = 0;
    volatile bool Failed = false;
    volatile bool TooLarge = false;
    if (setjmp(Err.Jump)) {
        jpeg_destroy_decompress(&Info);
        Failed = true;
    } else {
        jpeg_create_decompress(&Info);
        jpeg_mem_src(&Info, reinterpret_cast<const unsigned char*>(Bytes.constData()),
                     static_cast<unsigned long>(Bytes.size()));
        jpeg_read_header(&Info, TRUE);
        const bool Cmyk = Info.jpeg_color_space == JCS_CMYK || Info.jpeg_color_space == JCS_YCCK;
        Info.out_color_space = Cmyk ? JCS_CMYK : JCS_EXT_BGRX;
        if (Info.image_width > unsigned(kMaxImageSide) || Info.image_height > unsigned(kMaxImageSide)) {
            TooLarge = true;
            jpeg_destroy_decompress(&Info);
        } else {
            jpeg_start_decompress(&Info);
            Result = QImage(int(Info.output_width), int(Info.output_height), QImage::Format_RGB32);
            if (Result.isNull()) {
                TooLarge = true;
                jpeg_destroy_decompress(&Info);
            } else {
                while (Info.output_scanline < Info.output_height) {
                    JSAMPROW Row = Result.scanLine(int(Info.output_scanline));
                    jpeg_read_scanlines(&Info, &Row, 1);
                    if (Cmyk) {
                        // Adobe writes inverted CMYK: each byte already holds 255 - ink
                        uchar* P = Row;
                        for (unsigned X = 0; X < Info.output_width; ++X, P += 4) {
                            const int C = P[0], M = P[1], Yl = P[2], K = P[3];
                            P[2] = uchar(C * K / 255);
                            P[1] = uchar(M * K / 255);
                            P[0] = uchar(Yl * K / 255);
                            P[3] = 0xFF;
                        }
                    }
                }
                jpeg_finish_decompress(&Info);
                jpeg_destroy_decompress(&Info);
            }
        }
    }
    if (TooLarge) throw EInvalidGraphic(QStringLiteral("JPEG image is too large"));
    if (Failed) throw EInvalidGraphic(QStringLiteral("JPEG error: %1").arg(QString::fromLocal8Bit(Err.Message)));
    return Result;
}

QByteArray EncodeJPEG(const QImage& Image, int Quality, bool Grayscale) {
    if (Image.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot save an empty image"));
    // transparent pixels land on white, as they show on a window
    QImage Src(Image.size(), QImage::Format_RGB32);
    Src.fill(Qt::white);
    {
        QPainter P(&Src);
        P.drawImage(QPoint(0, 0), Image);
    }
    QByteArray Out;
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    jpeg_compress_struct Info;
    TJpegError Err;
    Info.err = jpeg_std_error(&Err.Mgr);
    Err.Mgr.error_exit = JpegErrorExit;
    Err.Mgr.emit_message = JpegSilence;
    Err.Message[0] = 0;
    volatile bool Failed = false;
    if (setjmp(Err.Jump)) {
        jpeg_destroy_compress(&Info);
        Failed = true;
    } else {
        jpeg_create_compress(&Info);
        jpeg_mem_dest(&Info, &Buffer, &Size);
        Info.image_width = JDIMENSION(Src.width());
        Info.image_height = JDIMENSION(Src.height());
        Info.input_components = 4;
        Info.in_color_space = JCS_EXT_BGRX;
        jpeg_set_defaults(&Info);
        if (Grayscale) jpeg_set_colorspace(&Info, JCS_GRAYSCALE);
        jpeg_set_quality(&Info, std::clamp(Quality, 1, 100), TRUE);
        jpeg_start_compress(&Info, TRUE);
        while (Info.next_scanline < Info.image_height) {
            JSAMPROW Row = const_cast<uchar*>(Src.constScanLine(int(Info.next_scanline)));
            jpeg_write_scanlines(&Info, &Row, 1);
        }
        jpeg_finish_compress(&Info);
        jpeg_destroy_compress(&Info);
        Out = QByteArray(reinterpret_cast<const char*>(Buffer), qsizetype(Size));
    }
    if (Buffer) free(Buffer);
    if (Failed) throw EInvalidGraphic(QStringLiteral("JPEG error: %1").arg(QString::fromLocal8Bit(Err.Message)));
    return Out;
}

void TJPEGImage::SetCompressionQuality(int Value) { FQuality = std::clamp(Value, 1, 100); }

void TJPEGImage::SetGrayscale(bool Value) {
    if (FGrayscale == Value) return;
    FGrayscale = Value;
    if (Value && !FImage.isNull())
        FImage = FImage.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
    Changed();
}

void TJPEGImage::LoadFromBytes(const QByteArray& Bytes) {
    FImage = DecodeJPEG(Bytes);
    Changed();
}

QByteArray TJPEGImage::SaveToBytes() { return EncodeJPEG(FImage, FQuality, FGrayscale); }

void TJPEGImage::Assign(TPersistent* Source) {
    if (Source == this) return;
    if (!Source) {
        FImage = QImage();
        Changed();
        return;
    }
    if (auto* J = dynamic_cast<TJPEGImage*>(Source)) {
        FImage = J->FImage;
        FQuality = J->FQuality;
        FGrayscale = J->FGrayscale;
        Changed();
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Source)) {
        Assign(P->Graphic());
        return;
    }
    if (auto* G = dynamic_cast<TGraphic*>(Source)) {
        const QImage Img = G->ToImage();
        QImage Flat(Img.size(), QImage::Format_RGB32);
        if (!Img.isNull()) {
            Flat.fill(Qt::white);
            QPainter P(&Flat);
            P.drawImage(QPoint(0, 0), Img);
        }
        FImage = Img.isNull() ? QImage() : Flat;
        Changed();
    }
}

// ---- TIcon ---------------------------------------------------------------------------------

void TIcon::LoadFromBytes(const QByteArray& Bytes) {
    QBuffer Buf;
    Buf.setData(Bytes);
    Buf.open(QIODevice::ReadOnly);
    QImageReader Reader(&Buf);
    QImage Best;
    const int Count = std::max(1, Reader.imageCount());
    for (int I = 0; I < Count; ++I) {
        if (I > 0 && !Reader.jumpToNextImage()) break;
        QImage Img = Reader.read();
        if (!Img.isNull() && qint64(Img.width()) * Img.height() > qint64(Best.width()) * Best.height()) Best = Img;
    }
    if (Best.isNull()) throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));
    SetImage(Best);
}

QByteArray TIcon::SaveToBytes() {
    if (FImage.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot save an empty image"));
    QByteArray Bytes;
    QBuffer Buf(&Bytes);
    Buf.open(QIODevice::WriteOnly);
    if (!FImage.save(&Buf, "ICO")) throw EInvalidGraphic(QStringLiteral("Cannot encode the icon"));
    return Bytes;
}

void TIcon::SetImage(const QImage& Image) {
    FImage = Image.convertToFormat(QImage::Format_ARGB32);
    FTransparent = true;
    Changed();
}

void TIcon::Assign(TPersistent* Source) {
    if (Source == this) return;
    if (!Source) {
        FImage = QImage();
        Changed();
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Source)) {
        Assign(P->Graphic());
        return;
    }
    if (auto* G = dynamic_cast<TGraphic*>(Source)) SetImage(G->ToImage());
}

// ---- TPicture ------------------------------------------------------------------------------

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

static std::unique_ptr<TGraphic> NewGraphicLike(const TGraphic* G) {
    if (dynamic_cast<const TJPEGImage*>(G)) return std::make_unique<TJPEGImage>();
    if (dynamic_cast<const TIcon*>(G)) return std::make_unique<TIcon>();
    if (dynamic_cast<const TGIFImage*>(G)) return std::make_unique<TGIFImage>();
    if (dynamic_cast<const TPngImage*>(G)) return std::make_unique<TPngImage>();
    return std::make_unique<TBitmap>();
}

void TPicture::SetGraphic(TGraphic* Value) {
    if (Value == FGraphic.get()) return;
    if (!Value) {
        FGraphic.reset();
        Changed();
        return;
    }
    auto N = NewGraphicLike(Value);
    N->Assign(Value);
    FGraphic = std::move(N);
    Changed();
}

TBitmap* TPicture::Bitmap() {
    if (auto* B = dynamic_cast<TBitmap*>(FGraphic.get())) return B;
    auto B = std::make_unique<TBitmap>();
    if (FGraphic) B->Assign(FGraphic.get());
    FGraphic = std::move(B);
    Changed();
    return static_cast<TBitmap*>(FGraphic.get());
}

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }
int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::LoadFromFile(const QString& FileName) {
    const QString Ext = QFileInfo(FileName).suffix().toLower();
    std::unique_ptr<TGraphic> G;
    if (Ext == QLatin1String("bmp"))
        G = std::make_unique<TBitmap>();
    else if (Ext == QLatin1String("png"))
        G = std::make_unique<TPngImage>();
    else if (Ext == QLatin1String("gif"))
        G = std::make_unique<TGIFImage>();
    else if (Ext == QLatin1String("ico"))
        G = std::make_unique<TIcon>();
    else if (Ext == QLatin1String("jpg") || Ext == QLatin1String("jpeg") || Ext == QLatin1String("jpe"))
        G = std::make_unique<TJPEGImage>();
    else
        throw EInvalidGraphic(QStringLiteral("Unknown picture file extension (.%1)").arg(Ext));
    G->LoadFromFile(FileName); // the current picture stays when this raises
    FGraphic = std::move(G);
    Changed();
}

void TPicture::SaveToFile(const QString& FileName) {
    if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::Assign(TPersistent* Source) {
    if (Source == this) return;
    if (!Source) {
        SetGraphic(nullptr);
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Source)) {
        SetGraphic(P->Graphic());
        return;
    }
    if (auto* G = dynamic_cast<TGraphic*>(Source)) SetGraphic(G);
}
