#pragma once
// Free routines the grid, its editors, its import and export, its sorting and its painting share:
// integer limits, string searches and cuts, line-break and CSV field encodings, the number test
// and normalisation, date parsing, cell-text kinds, the clipboard HTML envelope, filter
// conditions, HTML entities and the mini-HTML markup helpers. None of them keeps state.
//
// Positions follow the grid's own counting: 1-based, 0 meaning "not found".

#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <QString>
#include <QStringList>

#include <vector>

// ---- format accessors ------------------------------------------------------------------------
QChar UtilTimeSeparator();
QChar UtilDateSeparator();
QChar UtilThousandSeparator();
QChar UtilDecimalSeparator();
QString UtilShortDateFormat();

// ---- integers --------------------------------------------------------------------------------
int IntMax(int a, int b);
int IntMin(int a, int b);
// The upper limit wins when the limits cross; a limit of 0 or less is no limit; equal limits
// leave the value alone.
int ClampToLimits(int Value, int Min, int Max);
// Any rectangle of cells with Left/Top/Right/Bottom (inclusive) fields.
template <class TCellRect>
bool CellInGridRect(const TCellRect& Rect, int Col, int Row) {
    return Rect.Left <= Col && Col <= Rect.Right && Rect.Top <= Row && Row <= Rect.Bottom;
}

// ---- searching and cutting -------------------------------------------------------------------
int UpperPos(const QString& Needle, const QString& Text); // Needle is not upper-cased
int PosVar(const QString& Needle, const QString& Text, int& Pos);
int CharPos(QChar Ch, const QString& Text);
int CharPosVar(QChar Ch, const QString& Text, int& Pos); // Pos written only when found
QString CutField(QString& Text, const QString& Delimiter);
QString ConcatLines(const QStringList& Lines);
QString ConcatLines(const TStrings& Lines);
int WidePos(const QString& Needle, const QString& Text);
// End of the first odd-length run of Ch that is followed by another character (an unescaped
// quote), or the last position when the text ends with Ch; 0 when there is none.
int FindUnpairedChar(QChar Ch, const QString& Text, int& Pos);
int CountUnpairedChar(QChar Ch, const QString& Text);
int CountChar(QChar Ch, const QString& Text);
int LineCount(const QString& Text, bool MultiLine);
void ExtractFirstLine(QString& Text, bool KeepRest, QString& Line);

// ---- line breaks and characters ----------------------------------------------------------------
QString UnescapeLineBreaks(const QString& Text); // backslash + n -> CR
QString EscapeLineBreaks(const QString& Text); // CR -> backslash + n, LF dropped
QString StripCR(const QString& Text);
QString CRToLF(const QString& Text);
void FillWithChar(QString& Text, QChar Ch);

// ---- URLs and cell references ----------------------------------------------------------------
bool IsURLText(const QString& Text);
void StripURLScheme(QString& Text);
bool ParseRCCellRef(const QString& Text, TPoint& Cell); // "R12C3": X = 3 (column), Y = 12 (row)

// ---- numbers ---------------------------------------------------------------------------------
bool IsNumberChar(QChar Ch);
bool IsNumberOrMinus(QChar Ch);
bool IsNumberPart(QChar Ch);
bool IsSignedNumberPart(QChar Ch);
bool IsNumberTextChar(QChar Ch);
QString NormalizeNumberText(const QString& Text);
// 0 integer, 1 decimal number, 5 number with exponent, 2 not a number.
int ClassifyNumber(const QString& Text);

// ---- names and dates -------------------------------------------------------------------------
QString ProperCase(const QString& Text);
bool IsWordBreakChar(QChar Ch);
// 0 when the text is no date; an impossible date raises EConvertError. Years below 100 are
// windowed (0..25 -> 2000s, 26..99 -> 1900s); longer years are taken as written.
TDateTime ParseDateUS(const QString& Text);
TDateTime ParseDateEU(const QString& Text);
bool IsDateText(const QString& Text);
TDateTime IncDateParts(int Years, int Months, int Days, TDateTime Date, double Increment);

// ---- CSV fields ------------------------------------------------------------------------------
QString DoubleQuoteChars(const QString& Text);
QString UndoubleChar(QChar Ch, const QString& Text);
void QuoteMultiLineField(QString& Text); // CR LF -> U+000B, then enclosed in double quotes
void VTToCRLF(QString& Text);
void CRLFToLF(QString& Text);
void CRToTilde(QString& Text);
void TildeToCRLF(QString& Text); // "^" alone becomes empty
void AnsiToOemText(QString& Text); // Windows-1252 text <-> OEM (code page 850) bytes
void OemToAnsiText(QString& Text);
// One line of a CSV file split into its decoded fields: blanks before a field are dropped, a
// quoted field runs to its closing quote with doubled quotes collapsed, U+000B (or "~" with
// JavaCSV) becomes CR LF. An empty rest after the last delimiter adds no field; a quote that
// never closes takes the rest of the line, delimiters and all, as its field.
QStringList SplitCSVLine(const QString& Line, QChar Delimiter, bool JavaCSV = false);

// ---- cell-text files and wide cell text --------------------------------------------------------
QString EncodeCellLineBreaks(const QString& Text);
QString DecodeCellLineBreaks(const QString& Text, bool Whole);
QString EncodeWideCellText(const QString& Wide);
QString DecodeWideCellText(const QString& Text);
// 0 plain, 1 HTML, 2 rich text, 3 formula, 5 wide text.
int ClassifyCellText(const QString& Text, bool AllowHTML);

// ---- HTML export and clipboard ---------------------------------------------------------------
QString CRToHTMLBreak(const QString& Text);
QString ColorToHTMLHex(TColor Color); // "RRGGBB"
bool InsertURLAnchor(const QString& Text, const QString& Prefix, QString& Result);
void WrapClipboardHTML(QString& Html);

// ---- filter conditions -----------------------------------------------------------------------
bool MatchCondition(const QString& Condition, const QString& Value, bool CaseSensitive);
// A condition read once, matched against many texts with the same answers as MatchCondition.
class TCompiledCondition {
public:
    TCompiledCondition(const QString& Condition, bool CaseSensitive);
    ~TCompiledCondition();
    TCompiledCondition(TCompiledCondition&&) noexcept;
    TCompiledCondition& operator=(TCompiledCondition&&) noexcept;
    bool Match(const QString& Value) const;

    struct TOperand;
    struct TTerm;
    struct TGroup;
    struct TValueReadings;

private:
    int CompileGroup(const QString& Condition, int Depth);
    bool MatchGroup(int Index, const QString& Value, TValueReadings& R) const;
    bool FCaseSensitive;
    std::vector<TGroup> FGroups;
    std::vector<TTerm> FTerms;
};
bool MatchTermCase(const QString& Term, const QString& Value, bool CaseSensitive);
bool MatchTerm(const QString& Term, const QString& Value);
bool ParseDateTimeByFormat(const QString& Text, TDateTime& Value);
QString NormalizeNumberForCompare(const QString& Text);
QString RemoveSpacesOutsideQuotes(const QString& Text);
int MatchingParenPos(const QString& Text);
QChar FindCharOutsideQuotes(const QString& Set, const QString& Text, int& Position);

// ---- HTML entities and markup ----------------------------------------------------------------
QString DecodeHTMLEntities(const QString& Text, bool UseTable);
QString EncodeHTMLEntities(const QString& Text, bool UseTable);
QString SpacesToNbsp(const QString& Text);
QString StripHTMLTags(const QString& Text);
QString RemoveTags(const QString& Text);
int VisibleCharIndex(const QString& Markup, int N);
int FindFrom(const QString& Needle, const QString& Text, int Offset, bool CaseSensitive, int& Pos);
QString HighlightInHTML(const QString& Markup, const QString& Needle, const QString& Tag, bool CaseSensitive);
QString UnhighlightInHTML(const QString& Markup, const QString& Tag);

// ---- embedded control tags (<CONTROL TYPE="..." ID="..." VALUE="..." ...>) ---------------------
bool HasControlTag(const QString& Text);
// Attribute text of one tag (what follows "<CONTROL"). TYPE comes upper-cased, VALUE and PROP
// entity-decoded; an attribute that is missing or not quoted reads as empty.
void ParseControlTag(const QString& Attributes, QString& CType, QString& CID, QString& CMaxLen, QString& CProp,
                     QString& CHeight, QString& CWidth, QString& CValue);
bool GetControlValue(const QString& Text, const QString& ID, QString& Value);
QString GetControlProp(const QString& Text, const QString& ID);
int GetControlMaxLen(const QString& Text, const QString& ID);
QString NextEditControlID(const QString& Text, const QString& ID);
QString ClearRadioControls(const QString& Text);
bool SetControlValue(QString& Text, const QString& ID, const QString& NewValue);

// ==== drawing routines ==========================================================================
// Shapes, progress bars, gradients, buttons, transparent bitmaps and colour arithmetic for the
// grid's cell painting, printing, buttons and editors. They draw on the caller's canvas, keep no
// state and never raise: a piece that cannot be drawn (an empty range, a bitmap that is missing)
// draws nothing.
class QWidget;
class TWinControl;
struct TColorTones; // grid/base/ExtStyleIF.h

enum TCellShape {
    csRectangle,
    csCircle,
    csTriangleLeft,
    csTriangleRight,
    csTriangleUp,
    csTriangleDown,
    csDiamond,
    csLineVert,
    csLineHorz,
    csRoundRect,
    csEllips,
    csSquare,
    csRoundSquare,
    csStar,
    csArrowUp,
    csArrowDown,
    csArrowLeft,
    csArrowRight,
    csHalfStar
};

struct TProgressSettings {
    TColor Level0Color = clLime;
    TColor Level0ColorTo = clNone;
    TColor Level1Color = clYellow;
    TColor Level1ColorTo = clNone;
    TColor Level2Color = 0x00A5FF;
    TColor Level2ColorTo = clNone;
    TColor Level3Color = clRed;
    TColor Level3ColorTo = clNone;
    int Level1Perc = 70;
    int Level2Perc = 90;
    TColor BorderColor = clBlack;
    bool ShowBorder = true;
    bool Stacked = false;
    bool ShowPercentage = true;
    TFont* Font = nullptr; // of the percentage text; the canvas's font when null
    TColor CompleteFontColor = clBlue;
    bool CompletionSmooth = true;
    bool ShowGradient = false;
    int Steps = 16;
    TColor Unused = clNone;
    TColor UnCompleteColor = clWhite;
    bool Vertical = false;
};

// Button states and looks of the button routines.
constexpr int ButtonStateNormal = 0, ButtonStateHot = 1, ButtonStateDown = 2, ButtonStateDisabled = 3;
constexpr int ButtonLookThemed = 0, ButtonLookClassic = 1, ButtonLookFlat = 2, ButtonLookTones = 3;

void DrawCellShape(TCanvas* Canvas, int X, int Y, int W, int H, int Shape, TColor BrushColor, TColor PenColor);
void DrawProgressBar(TCanvas* Canvas, TRect R, int Percentage, const TProgressSettings& Settings);
void DrawProgressFormatted(TCanvas* Canvas, TRect R, TColor Color, TColor FontColor, TColor RestColor,
                           TColor RestFontColor, double Position, int HMargin, int VMargin, int Min, int Max,
                           const QString& Fmt, TColor BorderColor, bool Print);
void DrawProgressPie(TCanvas* Canvas, TRect R, TColor Color, int Percentage, bool Flag);
void DrawRangeIndicator(TCanvas* Canvas, TRect R, int Value, int Range, bool ShowValue, TColor NegColor,
                        TColor PosColor);
void FillGradientRect(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, TRect R, bool Horizontal);
void DrawGradientBackground(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TColor MirrorColor,
                            TColor MirrorColorTo, bool Vertical, TColor BorderColor, bool BorderLinesOnly, bool Fill);
// Sides: 0 both ends rounded, 1 the left end only, 2 the right end only, 3 neither.
void DrawGradientButtonFace(TCanvas* Canvas, TColor FromColor, TColor ToColor, TColor MirrorFromColor,
                            TColor MirrorToColor, TColor UpperLineColor, TColor LowerLineColor, TColor BorderColor,
                            TColor CornerColor, TColor OuterCornerColor, TRect R, int Sides);
// The colour at Position on a scale from Start to End; FromColor when the scale is empty.
TColor InterpolateColor(TColor FromColor, TColor ToColor, int Start, int End, int Position);
TColor HalveColor(TColor Color);
TColor ScaleColor(TColor Color, int Percentage);
void DrawComboButton(TCanvas* Canvas, QWidget* Window, TRect R, int Look, int State, const TColorTones& Tones);
void DrawButtonFace(TCanvas* Canvas, QWidget* Window, TRect R, int Look, int State, const TColorTones& Tones);
void DrawSpinButtons(TCanvas* Canvas, QWidget* Window, TRect R, int Look, int State, const TColorTones& Tones);
void DrawDownTriangle(TCanvas* Canvas, int X, int Y, TColor Color);
void FillRectColor(TCanvas* Canvas, TRect R, TColor Color);
void DrawBitmapTransparent(TCanvas* Canvas, TBitmap* Bitmap, TColor BkColor, TRect R);
void DrawResBitmapTransparent(TCanvas* Canvas, TColor BkColor, TRect R, const QString& ResName);
// A red zig-zag under the characters First .. First + Count - 1 (0-based) of Text laid out on
// one line in R with the canvas's font.
void DrawErrorUnderline(TWinControl* Owner, TCanvas* Canvas, const QString& Text, TRect R, int VOffset, int First,
                        int Count);
// The layered-window functions of the classic platform do not exist here: the grid's overlays
// carry their own opacity and picture. Both report success, as the classic code does when the
// function is missing.
bool DynUpdateLayeredWindow(QWidget* Window, TBitmap* Image, TPoint Pos, int Alpha);
bool DynSetLayeredWindowAttributes(QWidget* Window, TColor Key, int Alpha, unsigned Flags);
