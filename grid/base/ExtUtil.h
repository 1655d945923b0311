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
