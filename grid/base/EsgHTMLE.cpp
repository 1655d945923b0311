#include "grid/base/EsgHTMLE.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Themes.h"

#include <QBrush>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QPainter>
#include <QStringView>
#include <QtGlobal>

#include <algorithm>
#include <cmath>

// ---- unit state ------------------------------------------------------------------------------------

namespace {

TColor GHighlightBackground = 0;
TColor GHighlightText = clBlack;
bool GThemeSupport = false;

struct TUnitInit {
    TUnitInit() { InitHTMLThemeSupport(); }
} GUnitInit;

} // namespace

void SetHTMLHighlightColors(TColor Background, TColor Text) {
    GHighlightBackground = Background;
    GHighlightText = Text;
}

// Qt draws themed controls on every platform version this program runs on.
void InitHTMLThemeSupport() { GThemeSupport = true; }

bool HTMLThemeSupport() { return GThemeSupport; }

// ---- markup values -----------------------------------------------------------------------------------

namespace {

constexpr int kMaxNumber = 32767; // numbers in markup: sizes and offsets in pixels

inline bool IsDigit(QChar C) { return C >= QLatin1Char('0') && C <= QLatin1Char('9'); }

// A leading decimal integer; no digits: 0.
int LeadingInt(QStringView V) {
    int N = 0;
    for (QChar C : V) {
        if (!IsDigit(C)) break;
        N = std::min(N * 10 + (C.unicode() - '0'), kMaxNumber);
    }
    return N;
}

// Number x Numerator / Denominator, rounded.
int MulDiv(int Number, int Numerator, int Denominator) {
    return int(std::lround(double(Number) * Numerator / Denominator));
}

// The whole text as a decimal number.
bool WholeInt(const QString& V, int& N) {
    bool Ok = false;
    const int X = V.trimmed().toInt(&Ok);
    if (!Ok) return false;
    N = std::clamp(X, -kMaxNumber, kMaxNumber);
    return true;
}

// Upper case of the same length, so a position found in it holds in the original text.
QString UpperSame(QStringView S) {
    QString R(S.size(), Qt::Uninitialized);
    QChar* D = R.data();
    for (qsizetype I = 0; I < S.size(); ++I) D[I] = S[I].toUpper();
    return R;
}

// Where the attribute's name ends in the upper-cased tag; the name must stand at the start of a
// word, so that "COLOR" is not found in "BGCOLOR" nor "ALT" in a file name. -1 when absent.
int FindAttr(QStringView Up, QLatin1String Name) {
    qsizetype From = 0;
    for (;;) {
        const qsizetype P = Up.indexOf(Name, From);
        if (P < 0) return -1;
        if (P > 0 && (Up[P - 1].isSpace() || Up[P - 1] == QLatin1Char('"'))) return int(P + Name.size());
        From = P + 1;
    }
}

// The value of an attribute: the text between the double quotes that follow its name and "=".
// A value without quotes reads as empty, except with Unquoted, which takes the word that follows.
QString AttrValue(QStringView Up, QStringView Src, QLatin1String Name, bool* Present = nullptr, bool Unquoted = false) {
    int P = FindAttr(Up, Name);
    if (Present) *Present = P >= 0;
    if (P < 0) return QString();
    const int N = int(Up.size());
    while (P < N && Up[P].isSpace()) ++P;
    if (P < N && Up[P] == QLatin1Char('=')) ++P;
    while (P < N && Up[P].isSpace()) ++P;
    if (P < N && Up[P] == QLatin1Char('"')) {
        const qsizetype Q = Up.indexOf(QLatin1Char('"'), P + 1);
        return Q < 0 ? QString() : Src.mid(P + 1, Q - P - 1).toString();
    }
    if (!Unquoted) return QString();
    int E = P;
    while (E < N && !Up[E].isSpace() && Up[E] != QLatin1Char('>')) ++E;
    return Src.mid(P, E - P).toString();
}

// The first double-quoted value after the first Letter (either case) at or after From.
QString QuotedAfterLetter(QStringView Up, QChar Letter, int From) {
    const qsizetype L = Up.indexOf(Letter.toUpper(), From);
    if (L < 0) return QString();
    const qsizetype Q1 = Up.indexOf(QLatin1Char('"'), L + 1);
    if (Q1 < 0) return QString();
    const qsizetype Q2 = Up.indexOf(QLatin1Char('"'), Q1 + 1);
    if (Q2 < 0) return QString();
    return Up.mid(Q1 + 1, Q2 - Q1 - 1).toString();
}

int HexPair(QStringView V, int At) {
    if (At + 1 >= V.size()) return 0;
    bool Ok = false;
    const int X = V.mid(At, 2).toInt(&Ok, 16);
    return Ok ? X : 0;
}

} // namespace

TColor HTMLColor(const QString& Value) {
    if (Value.startsWith(QLatin1Char('#'))) {
        const QStringView V(Value);
        return RGB(HexPair(V, 1), HexPair(V, 3), HexPair(V, 5));
    }
    static const std::pair<const char*, TColor> Names[] = {
        {"clred", RGB(255, 0, 0)},
        {"clblack", RGB(0, 0, 0)},
        {"clblue", RGB(0, 0, 255)},
        {"clgreen", RGB(0, 128, 0)},
        {"claqua", RGB(0, 255, 255)},
        {"clyellow", RGB(255, 255, 0)},
        {"clfuchsia", RGB(255, 0, 255)},
        {"clwhite", RGB(255, 255, 255)},
        {"cllime", RGB(0, 255, 0)},
        {"clsilver", RGB(192, 192, 192)},
        {"clgray", RGB(128, 128, 128)},
        {"clolive", RGB(128, 128, 0)},
        {"clnavy", RGB(0, 0, 128)},
        {"clpurple", RGB(128, 0, 128)},
        {"clteal", RGB(0, 128, 128)},
        {"clmaroon", RGB(128, 0, 0)},
        {"clbackground", clBackground},
        {"clactivecaption", clActiveCaption},
        {"clinactivecaption", clInactiveCaption},
        {"clmenu", clMenu},
        {"clwindow", clWindow},
        {"clwindowframe", clWindowFrame},
        {"clmenutext", clMenuText},
        {"clwindowtext", clWindowText},
        {"clcaptiontext", clCaptionText},
        {"clactiveborder", clActiveBorder},
        {"clinactiveborder", clInactiveBorder},
        {"clappworkspace", clAppWorkSpace},
        {"clhighlight", clHighlight},
        {"clhighlighttext", clHighlightText},
        {"clbtnface", clBtnFace},
        {"clbtnshadow", clBtnShadow},
        {"clgraytext", clGrayText},
        {"clbtntext", clBtnText},
        {"clinactivecaptiontext", clInactiveCaptionText},
        {"clbtnhighlight", clBtnHighlight},
        {"cl3ddkshadow", cl3DDkShadow},
        {"cl3dlight", cl3DLight},
        {"clinfotext", clInfoText},
        {"clinfobk", clInfoBk},
    };
    // compared without case: the same as looking the lower-cased value up
    for (const auto& [Name, Color] : Names)
        if (Value.compare(QLatin1String(Name), Qt::CaseInsensitive) == 0) return Color;
    return 0;
}

// ---- the renderer --------------------------------------------------------------------------------------

namespace {

struct TFontState {
    QString Name;
    int Height = 0;
    TFontStyles Style;
    TColor Color = clBlack;
    int Orientation = 0;
};

// What the tags of a line change, and what a line's two passes must both start from.
struct TPassState {
    bool Hidden = false;
    bool Shadow = false;
    bool Sup = false;
    bool Sub = false;
    bool ErrorLine = false;
    int ListLevel = 0;
    int Align = 0; // 0 left, 1 right, 2 centre
    int Indent = 0;
    bool InAnchor = false;
    QString Target;
    QString Title;
    int AnchorCount = 0;
    int ImageCount = 0;
    bool Rotated = false;
    TFontState BeforeRotation;
};

// One line as its measuring pass found it.
struct TLineInfo {
    int Start = 0; // the line's own markup: [Start, End) of the text
    int End = 0;
    int Width = 0;
    int Height = 0;
    int SupRaise = 0;
    int SubDrop = 0;
    int VOffset = 0;
    int DropFrom = 0; // markup dropped after an overflowing run: its state tags still apply
    int DropTo = 0;
};

class THTMLRenderer {
public:
    // inputs
    TCanvas* C = nullptr;
    TRect fr;
    TCustomImageList* FImages = nullptr;
    int XPos = 0, YPos = 0, FocusLink = -1, HoverLink = 0, ShadowOffset = 0;
    bool CheckHotSpot = false, CheckHeight = false, Print = false, Selected = false, Blink = true;
    bool HoverStyle = false, WordWrap = true, Down = false;
    double ResFactor = 1.0;
    TColor URLColor = clBlue, HoverColor = clNone, HoverFontColor = clNone, ShadowColor = clGray;
    THTMLPictureCache* ic = nullptr;
    TPictureContainer* pc = nullptr;
    QWidget* WinHandle = nullptr;
    TBiDiMode BiDiMode = bdLeftToRight;
    QString CIDIn;

    // outputs
    QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
    int XSize = 0, YSize = 0, MouseLink = -1, HyperLinks = 0;
    TRect HoverRect, ControlRect;

    bool Run(QString s);

private:
    enum TPassKind { pkMeasure, pkDraw };
    struct TPass {
        TPassKind Kind;
        bool Paint; // drawing pass outside hot-spot mode
        bool Test; // hit tests of runs (measuring, and the drawing pass in hot-spot mode)
        TRect R; // the line rectangle
        const TLineInfo* Line = nullptr; // drawing pass: what measuring found
        int Advance = 0;
        int LineHeight = 0;
        int SupRaise = 0;
        int SubDrop = 0;
        int VOffset = 0;
        int TrailingSpace = 0;
        bool HasText = false; // a run or picture was taken on this line
        bool EndsWithSpace = false;
        bool ListItem = false;
        bool PtOnAnchor = false;
        bool ImageHit = false;
        bool ControlHit = false;
        int AnchorLeft = 0, AnchorTop = 0;
        int MarkupEnd = -1; // where the line's own markup ends when text after it was dropped
        int DropTo = -1; // and where the dropped markup ends
        int LineWidth() const { return R.Right - R.Left; }
    };

    void LinePass(const QString& T, int& Pos, int End, TPass& P);
    // Applies the tag [Pos, Gt]; false when it does not fit on the line (left for the next one).
    // Sets Break for a tag that ends the line.
    bool ApplyTag(QStringView Tag, TPass& P, bool& Break);
    void ApplyDroppedTags(const QString& T, int From, int To, TPass& P);
    void OpenAnchor(QStringView Tag, TPass& P);
    void CloseAnchor(TPass& P);
    void FontTag(QStringView Tag, TPass& P);
    bool ImageTag(QStringView Tag, TPass& P);
    bool ControlTag(QStringView Tag, TPass& P);
    void BodyTag(QStringView Tag, TPass& P);
    bool Fits(TPass& P, int W) const;
    void DrawRun(const QString& Run, TPass& P, int W);
    void DrawControl(const QString& Type, const QString& Value, int Width, int Height, TPass& P);
    void CloseFocus(TPass& P, bool Draw);
    THTMLPicture* FindPicture(const QString& Src);
    void TileBackground(THTMLPicture* Pic);

    // canvas state
    void Sync();
    int RunWidth(const QString& Run, int Room);
    int TextH();
    TColor Background() const;
    void SetBackground(TColor Color);
    int X(const TPass& P) const { return Rtl ? P.R.Right - P.Advance : P.R.Left + P.Advance; }
    int PointX(const TPass& P) const { return Rtl ? P.R.Right - XPos : XPos - P.R.Left; }

    unsigned Flags = 0;
    bool Rtl = false;
    bool Themed = false;
    TFontState Base, F, Applied;
    TColor EntryBackground = clNone;
    TPassState S;
    int HoveredImage = -1;
    int LastLayoutW = 0, LastLayoutH = 0; // of the last picture or control
    TColor AnchorSavedBg = clNone, AnchorSavedFont = clBlack;
    TColor FontSavedBg = clNone;
    TColor HighlightSavedBg = clNone, HighlightSavedFont = clBlack;
    TColor ParaSavedBg = clNone;
    bool ParaBg = false;
    bool FocusOpen = false;
    int FocusLeft = 0;
    // the point was on a run of the open anchor: its rectangle is recorded at </A>, which may
    // come lines later; each pass kind keeps its own mark, as each lays the lines out apart
    bool HoverMarked[2] = {false, false};
    int PpiX = 96, PpiY = 96;
};

// ---- canvas state --------------------------------------------------------------------------------------

void THTMLRenderer::Sync() {
    TFont* CF = C->Font();
    if (F.Name != Applied.Name) CF->SetName(F.Name);
    if (F.Height != Applied.Height) CF->SetHeight(F.Height);
    if (F.Style != Applied.Style) CF->SetStyle(F.Style);
    if (F.Color != Applied.Color) CF->SetColor(F.Color);
    if (F.Orientation != Applied.Orientation) CF->SetOrientation(F.Orientation);
    Applied = F;
}

int THTMLRenderer::TextH() {
    Sync();
    return C->TextHeight(QStringLiteral("gh"));
}

// The run's width as the line's text flags lay it out in Room pixels (an end ellipsis cuts it).
int THTMLRenderer::RunWidth(const QString& Run, int Room) {
    Sync();
    if (!Run.contains(QLatin1Char('&')) && !Run.contains(QLatin1Char('\t'))) {
        const int W = C->TextWidth(Run);
        if (!(Flags & DT_END_ELLIPSIS) || W <= Room) return W;
    }
    TRect R = Rect(0, 0, std::max(0, Room), 1 << 16);
    C->DrawText(Run, R, Flags | DT_CALCRECT);
    return R.Width();
}

TColor THTMLRenderer::Background() const {
    TBrush* B = C->Brush();
    return B->Style() == bsClear ? clNone : B->Color();
}

void THTMLRenderer::SetBackground(TColor Color) {
    if (Color == clNone)
        C->Brush()->SetStyle(bsClear);
    else
        C->Brush()->SetColor(Color);
}

// ---- pictures --------------------------------------------------------------------------------------------

THTMLPicture* THTMLRenderer::FindPicture(const QString& Src) {
    if (!Src.contains(QLatin1Char(':'))) return pc ? pc->FindPicture(Src) : nullptr;
    if (!Src.contains(QLatin1String("://")) || !ic) return nullptr;
    if (THTMLPicture* P = ic->FindPicture(Src)) return P;
    THTMLPicture* P = ic->AddPicture();
    P->SetAsynch(false);
    P->LoadFromURL(Src);
    return ic->FindPicture(Src);
}

void THTMLRenderer::TileBackground(THTMLPicture* Pic) {
    const QImage Img = Pic->ToImage();
    QPainter* Painter = C->Painter();
    if (Img.isNull() || !Painter || fr.IsEmpty()) return;
    QBrush Tile(Img);
    Tile.setTransform(QTransform::fromTranslate(fr.Left, fr.Top));
    Painter->fillRect(QRect(fr.Left, fr.Top, fr.Width(), fr.Height()), Tile);
}

// ---- the call ----------------------------------------------------------------------------------------------

bool THTMLRenderer::Run(QString s) {
    // A. preparation
    TFont* CF = C->Font();
    Base.Name = CF->Name();
    Base.Height = CF->Height();
    Base.Style = CF->Style();
    Base.Color = CF->Color();
    Base.Orientation = CF->Orientation();
    F = Base;
    Applied = Base;
    EntryBackground = C->Brush()->Style() == bsClear ? clNone : C->Brush()->Color();
    C->Brush()->SetColor(clNone);
    C->SetBkMode(TRANSPARENT);
    PpiX = C->PixelsPerInchX();
    PpiY = C->PixelsPerInchY();
    Themed = GThemeSupport && IsThemeActive();

    Flags = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
    if (BiDiMode == bdRightToLeft) {
        if (Flags & DT_RIGHT)
            Flags &= ~DT_RIGHT;
        else if (!(Flags & DT_CENTER))
            Flags |= DT_RIGHT;
    }
    if (BiDiMode != bdLeftToRight) Flags |= DT_RTLREADING;
    if (!WordWrap) Flags |= DT_END_ELLIPSIS;
    Rtl = Flags & DT_RIGHT;

    if (s.contains(QLatin1Char('&'))) {
        static const std::pair<QString, QString> Entities[] = {
            {QStringLiteral("&amp;"), QStringLiteral("&&")},    {QStringLiteral("&quot;"), QStringLiteral("\"")},
            {QStringLiteral("&sect;"), QString(QChar(0x00A7))}, {QStringLiteral("&permil;"), QString(QChar(0x2030))},
            {QStringLiteral("&reg;"), QString(QChar(0x00AE))},  {QStringLiteral("&copy;"), QString(QChar(0x00A9))},
            {QStringLiteral("&para;"), QString(QChar(0x00B6))}, {QStringLiteral("&trade;"), QString(QChar(0x2122))},
            {QStringLiteral("&euro;"), QString(QChar(0x20AC))},
        };
        // Only text between tags: inside a tag "&&" and a bare quote would corrupt the attribute
        // values (link targets and control values decode their own entities).
        QString Out;
        Out.reserve(s.size());
        for (qsizetype I = 0; I < s.size();) {
            const qsizetype Lt = s.indexOf(QLatin1Char('<'), I);
            QString Text = s.mid(I, (Lt < 0 ? s.size() : Lt) - I);
            // each replacement shortens the text, so this ends
            for (bool Changed = Text.contains(QLatin1Char('&')); Changed;) {
                const qsizetype Before = Text.size();
                for (const auto& [From, To] : Entities) Text.replace(From, To, Qt::CaseInsensitive);
                Changed = Text.size() != Before;
            }
            Out += Text;
            if (Lt < 0) break;
            const qsizetype Gt = s.indexOf(QLatin1Char('>'), Lt);
            const qsizetype TagEnd = Gt < 0 ? s.size() : Gt + 1;
            Out += QStringView(s).mid(Lt, TagEnd - Lt);
            I = TagEnd;
        }
        s = Out;
    }
    for (qsizetype I = s.indexOf(QLatin1String("<#")); I >= 0; I = s.indexOf(QLatin1String("<#"), I)) {
        s.remove(I, 1);
        const qsizetype Gt = s.indexOf(QLatin1Char('>'), I);
        if (Gt >= 0) s.remove(Gt, 1);
    }
    if (s.contains(QLatin1Char('\n'))) s.remove(QLatin1Char('\n'));
    if (s.contains(QLatin1Char('\r'))) s.replace(QLatin1Char('\r'), QLatin1String("<BR>"));

    // B. lines
    const bool MeasureOnly = CheckHeight;
    TRect r = fr;
    r.Left += 1;
    TFontState MeasureFont = Base, DrawFont = Base;
    bool Result = false;
    int Pos = 0;
    const int End = int(s.size());
    bool First = true;
    while (Pos < End) {
        F = MeasureFont;
        S.Sup = S.Sub = false;
        const int Gh = TextH();
        if (!First && !MeasureOnly && r.Top + Gh > fr.Bottom) break;
        First = false;

        const TPassState Before = S;
        TLineInfo Line;
        Line.Start = Pos;
        TPass M{pkMeasure, false, true, r};
        M.LineHeight = Gh;
        LinePass(s, Pos, End, M);
        if (Pos == Line.Start) Pos = End; // a pass always takes something; never loop on a line
        Line.End = M.MarkupEnd >= 0 ? M.MarkupEnd : Pos;
        if (M.MarkupEnd >= 0) {
            Line.DropFrom = M.MarkupEnd;
            Line.DropTo = M.DropTo;
        }
        Line.Width = std::max(0, M.Advance - M.TrailingSpace);
        Line.Height = M.LineHeight;
        Line.SupRaise = M.SupRaise;
        Line.SubDrop = M.SubDrop;
        Line.VOffset = M.VOffset;
        XSize = std::max(XSize, Line.Width);
        MeasureFont = F;
        S.InAnchor = Before.InAnchor;
        S.Target = Before.Target;
        S.Title = Before.Title;

        TRect dr = r;
        const int Room = r.Right - r.Left - Line.Width;
        if (S.Align == 1 && Room > 0) dr.Left += Room;
        if (S.Align == 2 && Room > 0) dr.Left += Room / 2;
        dr.Left += S.Indent;
        dr.Bottom = r.Top + Line.Height + Line.SubDrop + Line.SupRaise;

        if (!MeasureOnly) {
            F = DrawFont;
            S = Before;
            TPass D{pkDraw, !CheckHotSpot, CheckHotSpot, dr};
            D.Line = &Line;
            D.LineHeight = Gh;
            int DrawPos = Line.Start;
            LinePass(s, DrawPos, Line.End, D);
            ApplyDroppedTags(s, Line.DropFrom, Line.DropTo, D);
            DrawFont = F;
            F = MeasureFont;
            const int TextBottom = dr.Bottom - Line.SubDrop - Line.VOffset;
            if (D.ImageHit || D.ControlHit || (D.PtOnAnchor && YPos < TextBottom && YPos > TextBottom - TextH()))
                Result = true;
        }

        const int Step = Line.Height + Line.SupRaise + Line.SubDrop;
        r.Top += Step;
        YSize += Step;
    }
    if (YSize == 0) {
        F = Base;
        YSize = TextH();
    }
    HyperLinks = S.AnchorCount;
    return MeasureOnly ? false : Result;
}

// ---- one pass over a line ----------------------------------------------------------------------------------

// A run or picture alone on its line always fits: a word wider than the line is not broken.
bool THTMLRenderer::Fits(TPass& P, int W) const {
    if (P.Kind != pkMeasure) return true;
    return P.Advance + W <= P.LineWidth() || (!P.HasText && W >= P.LineWidth());
}

void THTMLRenderer::LinePass(const QString& T, int& Pos, int End, TPass& P) {
    P.AnchorLeft = Rtl ? P.R.Right : P.R.Left;
    P.AnchorTop = P.R.Top;
    if (P.Paint && FocusOpen) FocusLeft = X(P);
    if (P.Paint && ParaBg && Background() != clNone) {
        const TColor Pen = C->Pen()->Color();
        C->Pen()->SetColor(C->Brush()->Color());
        C->Rectangle(fr.Left, P.R.Top, fr.Right, P.R.Bottom);
        C->Pen()->SetColor(Pen);
    }
    const QChar* Data = T.constData();
    while (Pos < End) {
        if (Data[Pos] != QLatin1Char('<')) {
            // C2. a text run: up to the next tag, or with word wrap up to and including a space
            qsizetype Lt = T.indexOf(QLatin1Char('<'), Pos);
            if (Lt < 0 || Lt > End) Lt = End;
            int RunEnd = int(Lt);
            if (WordWrap) {
                for (int I = Pos; I < RunEnd; ++I)
                    if (Data[I] == QLatin1Char(' ')) {
                        RunEnd = I + 1;
                        break;
                    }
            }
            QString Run = T.mid(Pos, RunEnd - Pos);
            if (Run.contains(QLatin1Char('&'))) {
                Run.replace(QLatin1String("&nbsp;"), QLatin1String(" "), Qt::CaseInsensitive);
                Run.replace(QLatin1String("&lt;"), QLatin1String("<"), Qt::CaseInsensitive);
                Run.replace(QLatin1String("&gt;"), QLatin1String(">"), Qt::CaseInsensitive);
            }
            if (Run.isEmpty()) {
                Pos = RunEnd;
                continue;
            }
            // C3
            Sync();
            const int Th = C->TextHeight(Run);
            P.LineHeight = std::max(P.LineHeight, Th);
            if (S.Sub) P.SubDrop = std::max(P.SubDrop, Th / 4);
            if (S.Sup) P.SupRaise = std::max(P.SupRaise, Th / 4);
            if (S.Hidden) {
                if (P.Kind == pkMeasure) StripVal += Run;
                Pos = RunEnd;
                continue;
            }
            const int W = RunWidth(Run, P.Kind == pkMeasure ? P.LineWidth() : P.R.Right - P.R.Left - P.Advance);
            // C6. fitting, measuring pass only: the drawing pass takes what measuring laid out
            if (P.Kind == pkMeasure && !Fits(P, W) && !(P.HasText && !P.EndsWithSpace)) {
                if (WordWrap) break; // the run starts the next line
            }
            // a run left for the next line is stripped there, not twice
            if (P.Kind == pkMeasure) StripVal += Run;
            bool Overflow = P.Kind == pkMeasure && !WordWrap && P.HasText && P.Advance + W > P.LineWidth();
            // C4. hit test
            if (P.Test && S.InAnchor) {
                const int Px = PointX(P);
                if (Px >= P.Advance && Px < P.Advance + W) {
                    P.PtOnAnchor = true;
                    if (YPos > P.R.Top) {
                        AnchorVal = S.Target;
                        AnchorHint = S.Title;
                        HoverMarked[P.Kind] = true;
                    }
                }
            }
            if (P.Paint) DrawRun(Run, P, W);
            P.Advance += W;
            P.HasText = true;
            P.EndsWithSpace = Run.endsWith(QLatin1Char(' '));
            P.TrailingSpace = P.EndsWithSpace ? C->TextWidth(QStringLiteral(" ")) : 0;
            Pos = RunEnd;
            if (Overflow) {
                // without word wrap the overflowing line ends in an ellipsis; the rest of it up to
                // the next line break is dropped
                const qsizetype Br = T.indexOf(QLatin1String("<BR"), Pos, Qt::CaseInsensitive);
                P.DropTo = Br < 0 ? int(T.size()) : int(Br);
                ApplyDroppedTags(T, RunEnd, P.DropTo, P);
                if (Br < 0) {
                    Pos = int(T.size());
                } else {
                    const qsizetype Gt = T.indexOf(QLatin1Char('>'), Br);
                    Pos = Gt < 0 ? int(T.size()) : int(Gt) + 1;
                    StripVal += QLatin1Char('\r');
                }
                P.MarkupEnd = RunEnd;
                break;
            }
            continue;
        }

        // C8. a tag
        if (End - Pos <= 2) {
            Pos = End;
            break;
        }
        const qsizetype Gt = T.indexOf(QLatin1Char('>'), Pos + 1);
        if (Gt < 0 || Gt >= End) {
            Pos = End;
            break;
        }
        const QStringView Tag = QStringView(T).mid(Pos, Gt - Pos + 1);
        bool Break = false;
        if (!ApplyTag(Tag, P, Break)) break; // the line is full: the tag starts the next line
        Pos = int(Gt) + 1;
        if (Break) break;
    }
    // C9
    if (P.Paint && FocusOpen) CloseFocus(P, true);
}

void THTMLRenderer::DrawRun(const QString& Run, TPass& P, int W) {
    Sync();
    TRect RR = P.R;
    if (Rtl)
        RR.Right = P.R.Right - P.Advance;
    else
        RR.Left = P.R.Left + P.Advance;
    // text stands on the line's base, above a subscript's drop; superscripts rise from it
    RR.Bottom = P.R.Bottom - P.Line->SubDrop - P.Line->VOffset;
    if (S.Sup) RR.Bottom -= P.Line->SupRaise;
    if (S.Sub) RR.Bottom += P.Line->SubDrop;
    // a blank run without anything that shows on blanks leaves no mark
    const bool Blank = std::all_of(Run.cbegin(), Run.cend(), [](QChar Ch) { return Ch.isSpace(); }) &&
        !F.Style.Contains(fsUnderline) && !F.Style.Contains(fsStrikeOut) && Background() == clNone;
    if (!Blank) {
        if (S.Shadow) {
            const TColor Color = F.Color;
            F.Color = ShadowColor;
            Sync();
            TRect SR = RR;
            OffsetRect(SR, ShadowOffset, ShadowOffset);
            C->DrawText(Run, SR, Flags);
            F.Color = Color;
            Sync();
        }
        TRect DR = RR;
        C->DrawText(Run, DR, Flags);
    }
    if (S.InAnchor && S.AnchorCount - 1 == FocusLink) FocusAnchor = S.Target;
    if (S.ErrorLine) {
        // a red zig-zag under the run: up at x multiples of 4, down at the other even x
        const int Left = (Rtl ? RR.Right - W : RR.Left) & ~1;
        const int Right = Rtl ? RR.Right : RR.Left + W;
        const int Base = RR.Bottom;
        C->Pen()->SetColor(RGB(255, 0, 0));
        C->Pen()->SetWidth(1);
        for (int X = Left; X <= Right; X += 2) {
            const int Y = (X % 4 == 0) ? Base + 1 : Base - 1;
            if (X == Left)
                C->MoveTo(X, Y);
            else
                C->LineTo(X, Y);
        }
    }
}

void THTMLRenderer::CloseFocus(TPass& P, bool Draw) {
    const int Right = X(P);
    const int Bottom = P.R.Bottom - (P.Line ? P.Line->SubDrop + P.Line->VOffset : 0);
    const int Top = Bottom - TextH();
    TRect R = Rtl ? Rect(Right - 1, Top, FocusLeft + 1, Bottom) : Rect(FocusLeft - 1, Top, Right + 1, Bottom);
    if (Draw && P.Paint) C->DrawFocusRect(R);
}

// ---- tags -------------------------------------------------------------------------------------------------------

namespace {

// Tag starts with the literal, letters compared without case.
inline bool Is(QStringView Tag, const char* Lit) { return Tag.startsWith(QLatin1String(Lit), Qt::CaseInsensitive); }
inline QChar UpAt(QStringView Tag, int I) { return I < Tag.size() ? Tag[I].toUpper() : QChar(); }

} // namespace

bool THTMLRenderer::ApplyTag(QStringView Tag, TPass& P, bool& Break) {
    const bool Closing = UpAt(Tag, 1) == QLatin1Char('/');
    const QChar L = UpAt(Tag, Closing ? 2 : 1);
    const char Letter = L.toLatin1();
    if (!Closing) {
        switch (Letter) {
            case 'A': OpenAnchor(Tag, P); return true;
            case 'B':
                if (Is(Tag, "<B>"))
                    F.Style.Include(fsBold);
                else if (Is(Tag, "<BR")) {
                    if (P.Kind == pkMeasure) StripVal += QLatin1Char('\r');
                    Break = true;
                } else if (Is(Tag, "<BL")) {
                    if (!Blink) F.Color = EntryBackground == clNone ? clWindow : EntryBackground;
                } else if (Is(Tag, "<BO"))
                    BodyTag(Tag, P);
                return true;
            case 'C': return ControlTag(Tag, P);
            case 'E':
                if (P.Paint) S.ErrorLine = true;
                return true;
            case 'F': FontTag(Tag, P); return true;
            case 'H':
                if (Is(Tag, "<HI")) {
                    if (P.Paint) {
                        HighlightSavedFont = F.Color;
                        HighlightSavedBg = Background();
                        F.Color = GHighlightText;
                        SetBackground(GHighlightBackground);
                    }
                } else if (Is(Tag, "<HR")) {
                    if (P.Paint) {
                        C->Pen()->SetColor(clBlack);
                        C->MoveTo(P.R.Left, P.R.Bottom + 1);
                        C->LineTo(P.R.Right, P.R.Bottom + 1);
                    }
                    Break = true;
                }
                return true;
            case 'I':
                if (Is(Tag, "<I>"))
                    F.Style.Include(fsItalic);
                else if (Is(Tag, "<IN")) {
                    const int V = LeadingInt(QuotedAfterLetter(UpperSame(Tag), QLatin1Char('X'), 3));
                    if (V > P.Advance) P.Advance = V;
                } else if (Is(Tag, "<IM"))
                    return ImageTag(Tag, P);
                return true;
            case 'L': {
                if (P.Kind == pkMeasure && P.ListItem) return false; // one list item per line
                P.ListItem = true;
                const int Level = S.ListLevel;
                if (P.Paint) {
                    const int Bx = Rtl ? X(P) - 12 * (Level - 1) : X(P) + 12 * (Level - 1);
                    const QString Name = F.Name;
                    F.Name = QStringLiteral("Symbol");
                    Sync();
                    TRect BR = P.R;
                    if (Rtl)
                        BR.Right = Bx;
                    else
                        BR.Left = Bx;
                    BR.Bottom = P.R.Bottom - P.Line->SubDrop - P.Line->VOffset;
                    C->DrawText(Level % 2 ? QStringLiteral("\u00B7") : QStringLiteral("o"), BR, Flags);
                    F.Name = Name;
                }
                P.Advance += 12 * Level;
                return true;
            }
            case 'P': {
                const QString Up = UpperSame(Tag);
                bool Has = false;
                const QString Align = AttrValue(Up, Up, QLatin1String("ALIGN"), &Has);
                if (Has) {
                    if (Align.contains(QLatin1String("RIGHT"))) S.Align = 1;
                    if (Align.contains(QLatin1String("LEFT"))) S.Align = 0;
                    if (Align.contains(QLatin1String("CENTER"))) S.Align = 2;
                }
                const QString Indent = AttrValue(Up, Up, QLatin1String("INDENT"), &Has);
                if (Has) S.Indent = LeadingInt(Indent);
                const QString Bg = AttrValue(Up, Up, QLatin1String("BGCOLOR"), &Has);
                if (Has && P.Paint) {
                    const TColor Color = Bg.isEmpty() ? clNone : HTMLColor(Bg);
                    ParaSavedBg = Background();
                    SetBackground(Color);
                    if (Color != clNone) {
                        const TColor Pen = C->Pen()->Color();
                        C->Pen()->SetColor(Color);
                        C->Rectangle(fr.Left, P.R.Top, fr.Right, P.R.Bottom);
                        C->Pen()->SetColor(Pen);
                    }
                    ParaBg = true;
                }
                return true;
            }
            case 'R': {
                const QString Angle = QuotedAfterLetter(UpperSame(Tag), QLatin1Char('A'), 2);
                int A = 0;
                if (!WholeInt(Angle, A)) A = LeadingInt(Angle);
                if (!S.Rotated) S.BeforeRotation = F;
                S.Rotated = true;
                F.Orientation = A * 10;
                return true;
            }
            case 'S':
                if (Is(Tag, "<S>"))
                    F.Style.Include(fsStrikeOut);
                else if (Is(Tag, "<SH"))
                    S.Shadow = true;
                else if (Is(Tag, "<SUB>"))
                    S.Sub = true;
                else if (Is(Tag, "<SUP>"))
                    S.Sup = true;
                return true;
            case 'U':
                if (Is(Tag, "<U>"))
                    F.Style.Include(fsUnderline);
                else {
                    ++S.ListLevel;
                    Break = true;
                }
                return true;
            case 'Z': S.Hidden = true; return true;
            default: return true;
        }
    }
    switch (Letter) {
        case 'A': CloseAnchor(P); return true;
        case 'B':
            if (Is(Tag, "</B>"))
                F.Style.Exclude(fsBold);
            else
                F.Color = Base.Color;
            return true;
        case 'E':
            if (P.Paint) S.ErrorLine = false;
            return true;
        case 'F':
            F.Name = Base.Name;
            F.Height = Base.Height;
            if (P.Paint && !Selected) {
                F.Color = Base.Color;
                SetBackground(FontSavedBg);
            }
            return true;
        case 'H':
            if (Is(Tag, "</HI") && P.Paint) {
                F.Color = HighlightSavedFont;
                SetBackground(HighlightSavedBg);
            }
            return true;
        case 'I': F.Style.Exclude(fsItalic); return true;
        case 'L': Break = true; return true;
        case 'P':
            if (P.Paint) {
                SetBackground(ParaSavedBg);
                ParaBg = false;
            }
            Break = true;
            return true;
        case 'R':
            if (S.Rotated) {
                F = S.BeforeRotation;
                S.Rotated = false;
            }
            return true;
        case 'S':
            if (Is(Tag, "</SH"))
                S.Shadow = false;
            else if (Is(Tag, "</SU"))
                S.Sup = S.Sub = false;
            else
                F.Style.Exclude(fsStrikeOut);
            return true;
        case 'U':
            if (Is(Tag, "</U>"))
                F.Style.Exclude(fsUnderline);
            else if (S.ListLevel > 0)
                --S.ListLevel;
            else
                F.Style.Exclude(fsUnderline);
            return true;
        case 'Z': S.Hidden = false; return true;
        default: return true;
    }
}

namespace {

// Tags that only switch the font, colours or a text flag: nothing to lay out, no line break.
bool IsStateTag(QStringView Tag) {
    const bool Closing = UpAt(Tag, 1) == QLatin1Char('/');
    switch (UpAt(Tag, Closing ? 2 : 1).toLatin1()) {
        case 'A': return Closing;
        case 'B': return Closing || Is(Tag, "<B>") || Is(Tag, "<BL");
        case 'E':
        case 'F':
        case 'R':
        case 'S':
        case 'Z': return true;
        case 'H': return Is(Tag, "<HI") || Is(Tag, "</HI");
        case 'I': return Closing || Is(Tag, "<I>");
        case 'U': return Is(Tag, "<U>") || Is(Tag, "</U>");
        default: return false;
    }
}

} // namespace

// The markup dropped from an overflowing line is neither measured nor drawn, but a bold, a colour
// or a link closed in it must not run on into the next line.
void THTMLRenderer::ApplyDroppedTags(const QString& T, int From, int To, TPass& P) {
    for (qsizetype Lt = T.indexOf(QLatin1Char('<'), From); Lt >= 0 && Lt < To;
         Lt = T.indexOf(QLatin1Char('<'), Lt + 1)) {
        const qsizetype Gt = T.indexOf(QLatin1Char('>'), Lt + 1);
        if (Gt < 0 || Gt >= To) break;
        const QStringView Tag = QStringView(T).mid(Lt, Gt - Lt + 1);
        if (IsStateTag(Tag)) {
            bool Break = false;
            ApplyTag(Tag, P, Break);
        }
        Lt = Gt;
    }
}

void THTMLRenderer::OpenAnchor(QStringView Tag, TPass& P) {
    ++S.AnchorCount;
    const bool Hovered = S.AnchorCount == HoverLink;
    if (P.Paint && (!HoverStyle || Hovered)) {
        F.Style.Include(fsUnderline);
        if (HoverColor != clNone) {
            AnchorSavedBg = Background();
            SetBackground(HoverColor);
        }
        if (HoverFontColor != clNone) {
            AnchorSavedFont = F.Color;
            F.Color = HoverFontColor;
        }
    }
    if (!Selected && !(HoverStyle && Hovered && HoverFontColor != clNone)) F.Color = URLColor;
    const QString Up = UpperSame(Tag);
    bool HasHref = false;
    S.Target = DecodeHTMLEntities(AttrValue(Up, Tag, QLatin1String("HREF"), &HasHref), true);
    S.Title = DecodeHTMLEntities(AttrValue(Up, Tag, QLatin1String("TITLE")), true);
    if (HasHref) S.InAnchor = true;
    P.AnchorLeft = X(P);
    P.AnchorTop = P.R.Top;
    if (P.Paint && S.AnchorCount - 1 == FocusLink) {
        FocusOpen = true;
        FocusLeft = X(P);
    }
}

void THTMLRenderer::CloseAnchor(TPass& P) {
    const bool Hovered = S.AnchorCount == HoverLink;
    if (P.Paint && (!HoverStyle || Hovered)) {
        F.Style.Exclude(fsUnderline);
        if (HoverColor != clNone) SetBackground(AnchorSavedBg);
        if (HoverFontColor != clNone) F.Color = AnchorSavedFont;
    }
    if (!Selected) F.Color = Base.Color;
    S.InAnchor = false;
    if (HoverMarked[P.Kind]) {
        const int Cur = X(P);
        HoverRect =
            Rtl ? Rect(Cur, P.AnchorTop, P.AnchorLeft, P.R.Bottom) : Rect(P.AnchorLeft, P.AnchorTop, Cur, P.R.Bottom);
        MouseLink = S.AnchorCount;
        HoverMarked[P.Kind] = false;
    }
    if (FocusOpen && S.AnchorCount - 1 == FocusLink) {
        CloseFocus(P, true);
        FocusOpen = false;
    }
}

void THTMLRenderer::FontTag(QStringView Tag, TPass& P) {
    const QString Up = UpperSame(Tag);
    bool Has = false;
    const QString Face = AttrValue(Up, Up, QLatin1String("FACE"), &Has);
    if (Has) F.Name = Face;
    const QString Color = AttrValue(Up, Up, QLatin1String("COLOR"), &Has);
    if (Has && !Selected) F.Color = HTMLColor(Color);
    const QString Bg = AttrValue(Up, Up, QLatin1String("BGCOLOR"), &Has);
    if (Has && P.Paint && !Selected) {
        FontSavedBg = Background();
        SetBackground(HTMLColor(Bg));
    }
    const QString Size = AttrValue(Up, Up, QLatin1String("SIZE"), &Has, true);
    if (Has) {
        static const int Sizes[] = {0, 8, 10, 12, 14, 16};
        int Points = LeadingInt(Size);
        if (Points >= 1 && Points <= 5) Points = Sizes[Points];
        F.Height = -((Points * TFont::PixelsPerInch + 36) / 72);
    }
}

void THTMLRenderer::BodyTag(QStringView Tag, TPass& P) {
    if (!P.Paint) return;
    const QString Up = UpperSame(Tag);
    bool Has = false;
    const QString Picture = AttrValue(Up, Tag, QLatin1String("BACKGROUND"), &Has);
    if (Has && !Picture.isEmpty()) {
        try {
            THTMLPicture* Pic = FindPicture(Picture);
            if (Pic && !Pic->Empty()) TileBackground(Pic);
        } catch (const std::exception&) {
            // a background that cannot be had is not drawn
        }
    }
    const QString Bg = AttrValue(Up, Up, QLatin1String("BGCOLOR"), &Has);
    if (Has) {
        TColor Color = clNone;
        if (Bg.contains(QLatin1String("CL")))
            Color = HTMLColor(Bg.toLower());
        else if (Bg.contains(QLatin1Char('#')))
            Color = HTMLColor(Bg.mid(Bg.indexOf(QLatin1Char('#'))));
        if (Color != clNone) {
            SetBackground(Color);
            C->FillRect(fr);
        }
    }
}

bool THTMLRenderer::ImageTag(QStringView Tag, TPass& P) {
    ++S.ImageCount;
    const QString Up = UpperSame(Tag);
    // sources keep their case: file names are case-sensitive here
    QString Src = AttrValue(Up, Tag, QLatin1String("SRC"));
    bool HasAlt = false;
    const QString Alt = AttrValue(Up, Tag, QLatin1String("ALT"), &HasAlt);
    if (HasAlt && S.ImageCount == HoveredImage) Src = Alt;
    const int W = LeadingInt(AttrValue(Up, Up, QLatin1String("WIDTH")));
    const int H = LeadingInt(AttrValue(Up, Up, QLatin1String("HEIGHT")));
    const QString SrcUp = Src.toUpper();

    int LW = 0, LH = 0;
    bool Found = false;
    enum { kList, kIcon, kPicture } Kind = kPicture;
    int ListIndex = 0;
    QIcon Icon;
    int IconSize = 16;
    THTMLPicture* Pic = nullptr;
    int DrawW = 0, DrawH = 0; // a stretched picture's size
    try {
        if (SrcUp.startsWith(QLatin1String("IDX:"))) {
            Kind = kList;
            ListIndex = LeadingInt(QStringView(Src).mid(4));
            if (FImages && ListIndex < FImages->Count()) {
                Found = true;
                LW = MulDiv(FImages->Width(), PpiX, 96);
                LH = MulDiv(FImages->Height(), PpiY, 96);
            }
        } else if (SrcUp.startsWith(QLatin1String("SSYS:")) || SrcUp.startsWith(QLatin1String("LSYS:"))) {
            Kind = kIcon;
            IconSize = SrcUp.startsWith(QLatin1Char('L')) ? 32 : 16;
            const QString Path = Src.mid(5);
            bool IsIndex = false;
            Path.toInt(&IsIndex);
            // there is no shell icon list to index here: a number draws nothing
            if (!IsIndex && !Path.isEmpty()) {
                static QFileIconProvider Provider;
                const QFileInfo Info(Path);
                Icon = Provider.icon(Info);
                if (!Icon.isNull()) {
                    Found = true;
                    LW = MulDiv(IconSize, PpiX, 96);
                    LH = MulDiv(IconSize, PpiY, 96);
                }
            }
        } else if (!Src.isEmpty()) {
            Pic = FindPicture(Src);
            if (Pic && !Pic->Empty() && Pic->Width() > 0 && Pic->Height() > 0) {
                Found = true;
                int PW = Pic->Width(), PH = Pic->Height();
                if (W > 0 && H > 0) {
                    PW = W;
                    PH = H;
                } else if (W > 0) {
                    PH = int(std::lround(double(W) * Pic->Height() / Pic->Width()));
                    PW = W;
                } else if (H > 0) {
                    PW = int(std::lround(double(H) * Pic->Width() / Pic->Height()));
                    PH = H;
                }
                if (W > 0 || H > 0) {
                    LW = MulDiv(PW, PpiX, 96);
                    LH = MulDiv(PH, PpiY, 96);
                } else {
                    LW = MulDiv(Pic->GetMaxWidth(), PpiX, 96);
                    LH = MulDiv(Pic->GetMaxHeight(), PpiY, 96);
                }
                DrawW = PW;
                DrawH = PH;
            }
        }
    } catch (const std::exception&) {
        Found = false; // a picture that cannot be had draws nothing
    }
    if (!Found) return true;

    // G7. fit
    if (P.Kind == pkMeasure && LW < P.LineWidth() && P.Advance + LW > P.LineWidth()) {
        --S.ImageCount;
        return false;
    }
    // G6. hit
    const int Px = PointX(P);
    if (S.InAnchor && Px > P.Advance && Px < P.Advance + LW && YPos > P.R.Top && YPos < P.R.Top + LH) {
        P.ImageHit = true;
        AnchorVal = S.Target;
        AnchorHint = S.Title;
        HoveredImage = S.ImageCount;
    }
    if (P.Paint) {
        const int Ix = Rtl ? X(P) - LW : X(P);
        const int Iy = P.R.Top;
        try {
            if (Kind == kList) {
                if (Print) {
                    const QImage Img = FImages->ImageAt(ListIndex);
                    if (QPainter* Painter = C->Painter())
                        Painter->drawImage(QRect(Ix, Iy, int(std::lround(FImages->Width() * ResFactor)),
                                                 int(std::lround(FImages->Height() * ResFactor))),
                                           Img);
                } else {
                    FImages->Draw(C, Ix, Iy, ListIndex, true);
                }
            } else if (Kind == kIcon) {
                const int Side = Print ? int(std::lround(IconSize * ResFactor)) : LW;
                const QPixmap Pixmap = Icon.pixmap(IconSize, IconSize);
                if (QPainter* Painter = C->Painter())
                    Painter->drawPixmap(QRect(Ix, Iy, Side, Print ? Side : LH), Pixmap);
            } else if (W > 0 || H > 0) {
                Pic->SetStretch(true);
                Pic->Draw(C, Rect(Ix, Iy, Ix + DrawW, Iy + DrawH));
            } else {
                if (Pic->FrameCount() > 1 && EntryBackground != clNone) {
                    const TColor Brush = C->Brush()->Color();
                    const TBrushStyle Style = C->Brush()->Style();
                    C->Brush()->SetColor(EntryBackground);
                    C->FillRect(Rect(Ix, Iy, Ix + Pic->GetMaxWidth(), Iy + Pic->GetMaxHeight()));
                    C->Brush()->SetColor(Brush);
                    C->Brush()->SetStyle(Style);
                }
                const int Fx = Ix + Pic->FrameXPos(), Fy = Iy + Pic->FrameYPos();
                Pic->Draw(C, Rect(Fx, Fy, Fx + Pic->Width(), Fy + Pic->Height()));
            }
        } catch (const std::exception&) {
            // a picture that fails while drawing draws nothing
        }
    }
    P.Advance += LW;
    P.HasText = true;
    P.EndsWithSpace = false;
    P.TrailingSpace = 0;
    P.LineHeight = std::max(P.LineHeight, LH);
    LastLayoutW = LW;
    LastLayoutH = LH;
    // G8. text aligned with the picture's top or middle
    const int Gh = TextH();
    if (Up.contains(QLatin1String("\"TOP")))
        P.VOffset = P.LineHeight - Gh;
    else if (Up.contains(QLatin1String("\"MIDDLE")))
        P.VOffset = (P.LineHeight - Gh) / 2;
    return true;
}

bool THTMLRenderer::ControlTag(QStringView Tag, TPass& P) {
    QString Type, ID, MaxLen, Prop, Height, Width, Value;
    QStringView Attrs = Tag.mid(std::min<qsizetype>(8, Tag.size()));
    if (Attrs.endsWith(QLatin1Char('>'))) Attrs.chop(1);
    ParseControlTag(Attrs.toString(), Type, ID, MaxLen, Prop, Height, Width, Value);
    if (Width.isEmpty()) return true;

    int CH = 25;
    int HV = 0;
    const bool HeightIsNumber = WholeInt(Height, HV);
    if (HeightIsNumber) CH = HV;
    int CW = 0;
    int LW = LastLayoutW, LH = LastLayoutH;
    int HotH = LH;
    const bool WidthIsNumber = WholeInt(Width, CW);
    const bool Small = Type == QLatin1String("CHECK") || Type == QLatin1String("RADIO");
    if (WidthIsNumber) {
        CW = std::max(0, CW);
        LW = CW;
        LH = TextH() + 10;
        HotH = Type == QLatin1String("BUTTON") ? 24 : LH;
    }

    // H7. fit, with the sizes the control takes on the line
    int FitW = LW, FitH = LH;
    if (WidthIsNumber) {
        if (Small) FitW = FitH = 16;
        if (Type == QLatin1String("BUTTON") || Type == QLatin1String("COMBO")) FitH = 25;
    }
    if (P.Kind == pkMeasure && FitW < P.LineWidth() && P.Advance + FitW > P.LineWidth()) return false;

    if (WidthIsNumber) {
        P.LineHeight = Small ? 16 : 23;
        if (HeightIsNumber && HV > 25) P.LineHeight = HV - 2;
    }

    if (P.Paint && WidthIsNumber) {
        const int Cx = Rtl ? X(P) - CW : X(P);
        const int Bottom = P.R.Bottom;
        const bool Over = Cx - 2 < XPos && XPos < Cx - 2 + CW && Bottom - HotH - 2 < YPos && YPos < Bottom - 2;
        const TColor PenColor = C->Pen()->Color();
        const int PenWidth = C->Pen()->Width();
        const TColor BrushColor = C->Brush()->Color();
        const TBrushStyle BrushStyle = C->Brush()->Style();
        const TColor Border = Themed ? RGB(127, 157, 185) : RGB(128, 128, 128);
        const bool Checked = Value.toUpper() == QLatin1String("TRUE");
        const int LineH = P.LineHeight;
        auto Box = [&] {
            C->Pen()->SetColor(Border);
            C->Pen()->SetWidth(1);
            C->Brush()->SetColor(clWhite);
            C->Rectangle(Cx, Bottom - LineH + 4, Cx + CW, Bottom + 2);
            C->Brush()->SetStyle(bsClear);
        };
        auto Text = [&](const QString& Shown, TRect R, unsigned TextFlags) {
            Sync();
            C->Brush()->SetStyle(bsClear);
            C->DrawText(Shown, R, TextFlags | DT_SINGLELINE | DT_NOPREFIX);
        };
        HTHEME Theme = nullptr;
        if (Type == QLatin1String("EDIT") || Type == QLatin1String("PASSWORD") || Type == QLatin1String("MASK")) {
            Box();
            const QString Shown = Type == QLatin1String("PASSWORD") ? QString(Value.size(), QLatin1Char('*')) : Value;
            Text(Shown, Rect(Cx + 2, Bottom - LineH + 4, Cx + CW, Bottom), DT_VCENTER);
        } else if (Type == QLatin1String("COMBO")) {
            Box();
            Text(Value, Rect(Cx + 4, Bottom - LineH + 4, Cx + CW - 18, Bottom), DT_VCENTER);
            TRect Button = Rect(Cx + CW - 18, Bottom - LineH + 5, Cx + CW - 1, Bottom + 1);
            if (Themed && (Theme = OpenThemeData(WinHandle, QStringLiteral("combobox"))))
                DrawThemeBackground(Theme, C, CP_DROPDOWNBUTTON, Over ? CBXS_HOT : CBXS_NORMAL, Button);
            else
                C->DrawFrameControl(Button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
        } else if (Type == QLatin1String("CHECK")) {
            TRect R = Rect(Cx + 2, Bottom - 15, Cx + 15, Bottom);
            if (Themed && (Theme = OpenThemeData(WinHandle, QStringLiteral("button"))))
                DrawThemeBackground(Theme, C, BP_CHECKBOX, Checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL, R);
            else
                C->DrawFrameControl(R, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (Checked ? DFCS_CHECKED : 0));
        } else if (Type == QLatin1String("RADIO")) {
            TRect R = Rect(Cx + 2, Bottom - 14, Cx + 14, Bottom);
            if (Themed && (Theme = OpenThemeData(WinHandle, QStringLiteral("button"))))
                DrawThemeBackground(Theme, C, BP_RADIOBUTTON, Checked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL, R);
            else
                C->DrawFrameControl(R, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_FLAT | (Checked ? DFCS_CHECKED : 0));
        } else if (Type == QLatin1String("BUTTON")) {
            TRect Face = Rect(Cx + 2, Bottom - CH, Cx + CW - 2, Bottom);
            if (Themed && (Theme = OpenThemeData(WinHandle, QStringLiteral("button"))))
                DrawThemeBackground(Theme, C, BP_PUSHBUTTON, Down ? PBS_PRESSED : (Over ? PBS_HOT : PBS_NORMAL), Face);
            else
                C->DrawFrameControl(Face, DFC_BUTTON, DFCS_BUTTONPUSH | (Over && Down ? DFCS_PUSHED : 0));
            TRect Caption = Face;
            InflateRect(Caption, -2, -2);
            Text(Value, Caption, DT_CENTER | DT_VCENTER);
        }
        if (Theme) CloseThemeData(Theme);
        C->Pen()->SetColor(PenColor);
        C->Pen()->SetWidth(PenWidth);
        C->Brush()->SetColor(BrushColor);
        C->Brush()->SetStyle(BrushStyle);
    }

    LW = FitW;
    LH = FitH;
    const int Px = PointX(P);
    if ((Px > P.Advance && Px < P.Advance + LW && YPos > P.R.Top && YPos < P.R.Top + LH) ||
        (CheckHotSpot && !CIDIn.isEmpty() && ID == CIDIn)) {
        P.ControlHit = true;
        AnchorVal = QStringLiteral("ctrl");
        const int Left = Rtl ? P.R.Right - P.Advance - LW : P.R.Left + P.Advance;
        ControlRect = Rect(Left, P.R.Top, Left + LW, P.R.Top + LH);
        CV = Value;
        CID = ID;
        CT = Type;
    }
    P.Advance += LW;
    P.HasText = true;
    P.EndsWithSpace = false;
    P.TrailingSpace = 0;
    P.LineHeight = std::max(P.LineHeight, LH);
    LastLayoutW = LW;
    LastLayoutH = LH;
    return true;
}

// Puts the canvas back as the call found it, however the call ends.
struct TCanvasKeeper {
    TCanvas* C;
    TColor PenColor;
    int PenWidth;
    TColor BrushColor;
    TBrushStyle BrushStyle;
    int BkMode;
    TFont Font;
    explicit TCanvasKeeper(TCanvas* Canvas)
        : C(Canvas), PenColor(Canvas->Pen()->Color()), PenWidth(Canvas->Pen()->Width()),
          BrushColor(Canvas->Brush()->Color()), BrushStyle(Canvas->Brush()->Style()), BkMode(Canvas->BkMode()) {
        Font.Assign(Canvas->Font());
    }
    ~TCanvasKeeper() {
        C->Pen()->SetColor(PenColor);
        C->Pen()->SetWidth(PenWidth);
        C->Brush()->SetColor(BrushColor);
        C->Brush()->SetStyle(BrushStyle);
        C->SetBkMode(BkMode);
        C->Font()->Assign(&Font);
    }
};

} // namespace

bool DrawHTMLText(TCanvas* Canvas, QString s, const TRect& fr, TCustomImageList* FImages, int XPos, int YPos,
                  int FocusLink, int HoverLink, int ShadowOffset, bool CheckHotSpot, bool CheckHeight, bool Print,
                  bool Selected, bool Blink, bool HoverStyle, bool WordWrap, bool Down, double ResFactor,
                  TColor URLColor, TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, QString& AnchorVal,
                  QString& StripVal, QString& FocusAnchor, QString& AnchorHint, int& XSize, int& YSize, int& HyperLinks,
                  int& MouseLink, TRect& HoverRect, TRect& ControlRect, QString& CID, QString& CV, QString& CT,
                  THTMLPictureCache* ic, TPictureContainer* pc, QWidget* WinHandle, TBiDiMode BiDiMode) {
    ControlRect = TRect();
    CV.clear();
    CT.clear();
    if (!CheckHotSpot) CID.clear();
    AnchorVal.clear();
    StripVal.clear();
    FocusAnchor.clear();
    AnchorHint.clear();
    XSize = YSize = HyperLinks = 0;
    MouseLink = -1;
    if (!Canvas) return false;

    THTMLRenderer R;
    R.C = Canvas;
    R.fr = fr;
    R.FImages = FImages;
    R.XPos = XPos;
    R.YPos = YPos;
    R.FocusLink = FocusLink;
    R.HoverLink = HoverLink;
    R.ShadowOffset = ShadowOffset;
    R.CheckHotSpot = CheckHotSpot;
    R.CheckHeight = CheckHeight;
    R.Print = Print;
    R.Selected = Selected;
    R.Blink = Blink;
    R.HoverStyle = HoverStyle;
    R.WordWrap = WordWrap;
    R.Down = Down;
    R.ResFactor = ResFactor;
    R.URLColor = URLColor;
    R.HoverColor = HoverColor;
    R.HoverFontColor = HoverFontColor;
    R.ShadowColor = ShadowColor;
    R.ic = ic;
    R.pc = pc;
    R.WinHandle = WinHandle;
    R.BiDiMode = BiDiMode;
    R.CIDIn = CID;
    R.CID = CID;
    R.HoverRect = HoverRect;

    bool Result = false;
    {
        TCanvasKeeper Keep(Canvas);
        try {
            Result = R.Run(std::move(s));
        } catch (const std::exception& E) {
            // painting goes on: a text that cannot be drawn draws what it had so far
            static bool Reported = false;
            if (!Reported) {
                Reported = true;
                qWarning("DrawHTMLText: %s", E.what());
            }
            Result = false;
        }
    }
    AnchorVal = R.AnchorVal;
    StripVal = R.StripVal;
    FocusAnchor = R.FocusAnchor;
    AnchorHint = R.AnchorHint;
    XSize = R.XSize;
    YSize = R.YSize;
    HyperLinks = R.HyperLinks;
    MouseLink = R.MouseLink;
    HoverRect = R.HoverRect;
    ControlRect = R.ControlRect;
    CID = R.CID;
    CV = R.CV;
    CT = R.CT;
    return Result;
}
