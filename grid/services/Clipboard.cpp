// Copy, cut and paste of the grid's cells through the system clipboard: tab-separated text, a
// single rich-text cell, the grid's own cell block and an HTML table, and the smart fill of a
// selection on paste.
#include "grid/control/ExtGrid.h"
#include "grid/control/GridCellIO.h"
#include "grid/control/GridFooter.h"
#include "platform/rtl/Files.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int isImportStart = 0;
constexpr int isImportNewRow = 1;
constexpr int isImportDone = 2;
constexpr int isImportSelRow = 3;
constexpr int esExportStart = 0;
constexpr int esExportDone = 2;
constexpr int esExportNextRow = 5;

const QString RtfMimeType = QStringLiteral("text/rtf");
const QString SourceProcessMimeType = QStringLiteral("application/x-extstringgrid-source-process");

// A clipboard text split into its lines and fields. Lines end at CR LF, CR or LF; fields at a
// tab. A field that starts with a double quote and has its closing quote is a quoted field, as
// spreadsheets write them: it may hold tabs and line breaks, a doubled quote stands for one,
// and character 11 stands for a line break within a cell.
struct TClipBlock {
    std::vector<QStringList> Lines;
    bool EndsWithBreak = false;
};

bool IsFieldEnd(QChar C) { return C == QLatin1Char('\t') || C == QLatin1Char('\r') || C == QLatin1Char('\n'); }

TClipBlock ParseClipText(const QString& Text) {
    TClipBlock B;
    QStringList Line;
    bool LineOpen = false;
    const qsizetype N = Text.size();
    qsizetype i = 0;
    while (i < N) {
        QString Field;
        bool Quoted = false;
        if (Text[i] == QLatin1Char('"')) {
            QString V;
            qsizetype j = i + 1;
            while (j < N) {
                if (Text[j] == QLatin1Char('"')) {
                    if (j + 1 < N && Text[j + 1] == QLatin1Char('"')) {
                        V += QLatin1Char('"');
                        j += 2;
                        continue;
                    }
                    Quoted = true;
                    ++j;
                    break;
                }
                V += Text[j++];
            }
            if (Quoted) {
                while (j < N && !IsFieldEnd(Text[j])) V += Text[j++];
                V.replace(QChar(11), QStringLiteral("\r\n"));
                Field = V;
                i = j;
            }
        }
        if (!Quoted) {
            const qsizetype Start = i;
            while (i < N && !IsFieldEnd(Text[i])) ++i;
            Field = Text.mid(Start, i - Start);
        }
        Line << Field;
        LineOpen = true;
        if (i >= N) break;
        if (Text[i] == QLatin1Char('\t')) {
            ++i;
            if (i >= N) Line << QString();
            continue;
        }
        if (Text[i] == QLatin1Char('\r') && i + 1 < N && Text[i + 1] == QLatin1Char('\n')) ++i;
        ++i;
        B.Lines.push_back(Line);
        Line.clear();
        LineOpen = false;
        if (i >= N) B.EndsWithBreak = true;
    }
    if (LineOpen) B.Lines.push_back(Line);
    return B;
}

// A field as the clipboard text carries it: quoted (quotes doubled) when it holds a tab, a line
// break or a quote, so that it comes back as the one cell it was.
QString ClipField(QString T, bool ExcelMultiLine) {
    if (ExcelMultiLine) {
        T.replace(QStringLiteral("\r\n"), QString(QChar(11)));
        T.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + T + QLatin1Char('"');
    }
    if (!T.contains(QLatin1Char('\t')) && !T.contains(QLatin1Char('\r')) && !T.contains(QLatin1Char('\n')) &&
        !T.contains(QLatin1Char('"')))
        return T;
    T.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + T + QLatin1Char('"');
}

TGridRect Normalized(const TGridRect& R) {
    return TGridRect{std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
                     std::max(R.Top, R.Bottom)};
}

} // namespace

QString TExtStringGrid::CellsMimeType() {
    return QStringLiteral("application/x-qt-windows-mime;value=\"TExtStringGrid Cells\"");
}

// ---- copying ---------------------------------------------------------------------------------------

QString TExtStringGrid::SelectionToText(const TGridRect& Rect, bool SelectedOnly) {
    const TGridRect R = Normalized(Rect);
    FClipTopLeft = TPoint{R.Left, R.Top};
    const bool RowsOnly = SelectedOnly && MouseActions()->DisjunctRowSelect() && !MouseActions()->DisjunctColSelect();
    const bool ColsOnly = SelectedOnly && MouseActions()->DisjunctColSelect();
    const bool ExcelMulti = ExcelClipboardFormat();
    QString Out;
    ExportNotification(esExportStart, -1);
    for (int r = R.Top; r <= R.Bottom; ++r) {
        if (RowsOnly) {
            const int SR = MouseActions()->RowSelectPersistent() ? RealRowIndex(r) : r;
            if (!GetRowSelect(SR)) continue;
        }
        QStringList Fields;
        for (int c = R.Left; c <= R.Right; ++c) {
            if (ColsOnly && !GetColSelect(c)) continue;
            const int RC = RealColIndex(c);
            QString T = GetCellForSave(RC, r);
            if (T.startsWith(QStringLiteral("|\\"))) T = DecodeWideCellText(T);
            if (!Navigation()->CopyHTMLTagsToClipboard() && T.contains(QStringLiteral("</")))
                T = GetStrippedCell(RC, r);
            else if (T.contains(QStringLiteral("{\\")))
                T = RichTextToPlain(T);
            const bool Multi = ExcelMulti && Multilinecells() && LineCount(T, true) > 1;
            Fields << ClipField(T, Multi);
        }
        Out += Fields.join(QLatin1Char('\t'));
        if (R.Bottom > R.Top) Out += QStringLiteral("\r\n");
        ExportNotification(esExportNextRow, r);
    }
    ExportNotification(esExportDone, -1);
    return Out;
}

void TExtStringGrid::CopyCellAsRTF(int DisplCol, int ARow, QMimeData* Data) {
    const QString T = GetCellEx(RealColIndex(DisplCol), ARow);
    if (!T.contains(QStringLiteral("{\\"))) return;
    QByteArray Bytes;
    if (!EncodeCp1252(T, Bytes)) Bytes = T.toLatin1();
    Data->setData(RtfMimeType, Bytes);
}

void TExtStringGrid::CopyRectToClipboard(const TGridRect& R, bool SelectedOnly) {
    auto* Data = new QMimeData;
    Data->setText(SelectionToText(R, SelectedOnly));
    const TGridRect N = Normalized(R);
    if (Navigation()->AllowRTFClipboard()) CopyCellAsRTF(N.Left, N.Top, Data);
    if (UsesCellClipboardFormat()) CopyRectToCellFormat(N, Data);
    QGuiApplication::clipboard()->setMimeData(Data);
}

TGridRect TExtStringGrid::ExtendSelectionToMerged(const TGridRect& Rect) {
    TGridRect R = Normalized(Rect);
    int BC = RealColIndex(R.Left), BR = R.Top;
    if (R.Left >= 0 && R.Top >= 0 && IsMergedCell(BC, BR)) {
        ResolveBaseCell(RealColIndex(R.Left), R.Top, BC, BR);
        R.Left = DisplColIndex(BC);
        R.Top = BR;
    }
    const int RC = RealColIndex(R.Right);
    if (R.Right >= 0 && R.Bottom >= 0 && IsMergedCell(RC, R.Bottom)) {
        int C = RC, Rw = R.Bottom;
        ResolveBaseCell(RC, R.Bottom, C, Rw);
        const TPoint S = CellSpan(C, Rw);
        R.Right = std::max(R.Right, DisplColIndex(C) + S.X);
        R.Bottom = std::max(R.Bottom, Rw + S.Y);
    }
    R.Right = std::min(R.Right, ColCount() - 1);
    R.Bottom = std::min(R.Bottom, RowCount() - 1);
    return R;
}

TGridRect TExtStringGrid::ClipboardCopyRect(bool& SelectedOnly) {
    SelectedOnly = false;
    const bool Fmt = UsesCellClipboardFormat();
    if (MouseActions()->DisjunctRowSelect() && !Fmt) {
        SelectedOnly = true;
        return TGridRect{FixedCols(), SaveStartRow(), ColCount() - FixedRightCols() - 1, SaveEndRow()};
    }
    if (MouseActions()->DisjunctColSelect() && !Fmt) {
        SelectedOnly = true;
        return TGridRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()};
    }
    return ExtendSelectionToMerged(Selection());
}

void TExtStringGrid::CopyToClipBoard() {
    CopyRectToClipboard(TGridRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, false);
    FClipOperation = coCopy;
}

void TExtStringGrid::CopySelectionToClipboard() {
    bool SelectedOnly = false;
    const TGridRect R = ClipboardCopyRect(SelectedOnly);
    CopyRectToClipboard(R, SelectedOnly);
    FClipOperation = coCopy;
}

void TExtStringGrid::CutToClipboard() {
    const TGridRect R{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()};
    CopyRectToClipboard(R, false);
    for (int r = R.Top; r <= R.Bottom; ++r)
        for (int c = R.Left; c <= R.Right; ++c)
            if (CanPasteInto(c, r)) SetCellEx(RealColIndex(c), r, QString());
    MarkRowsModified(R.Top, R.Bottom);
    FClipOperation = coCut;
    CellsChanged(TRect{RealColIndex(R.Left), R.Top, RealColIndex(R.Right), R.Bottom});
}

void TExtStringGrid::CutSelectionToClipboard() {
    bool SelectedOnly = false;
    const TGridRect R = ClipboardCopyRect(SelectedOnly);
    CopyRectToClipboard(R, SelectedOnly);
    if (MouseActions()->DisjunctRowSelect() && !UsesCellClipboardFormat()) {
        for (int r = R.Bottom; r >= R.Top; --r) {
            const int SR = MouseActions()->RowSelectPersistent() ? RealRowIndex(r) : r;
            if (!GetRowSelect(SR)) continue;
            ClearRows(r, 1);
            MarkRowsModified(r, r);
        }
    } else if (MouseActions()->DisjunctColSelect() && !UsesCellClipboardFormat()) {
        for (int c = R.Left; c <= R.Right; ++c)
            if (GetColSelect(c)) ClearCols(RealColIndex(c), 1);
    } else {
        if (UndoRedo()) UndoRedo()->StartSequence();
        for (int r = R.Top; r <= R.Bottom; ++r)
            for (int c = R.Left; c <= R.Right; ++c) {
                if (!CanPasteInto(c, r)) continue;
                const int RC = RealColIndex(c);
                if (!IsBaseCell(RC, r)) continue;
                if (UndoRedo()) UndoRedo()->RegisterChange(RC, r, GetCellEx(RC, r), QString());
                SetCellEx(RC, r, QString());
                // Only what was emptied loses its properties: a read-only cell stays read-only.
                if (UsesCellClipboardFormat() && HasCellProperties(RC, r) && !IsMergedCell(RC, r)) FreeCellProps(RC, r);
            }
        if (UndoRedo()) UndoRedo()->StopSequence();
        MarkRowsModified(R.Top, R.Bottom);
    }
    FClipOperation = coCut;
    CellsChanged(TRect{RealColIndex(R.Left), R.Top, RealColIndex(R.Right), R.Bottom});
    if (NumHiddenColumns() > 0) Invalidate();
}

void TExtStringGrid::CopyToClipBoardAsHTML() {
    // Cell images go to the system's temporary folder, never beside whatever the current folder is.
    const QString Html = SaveToHTMLString(IncludeTrailingPathDelimiter(QDir::tempPath()));
    auto* Data = new QMimeData;
    Data->setHtml(Html);
    Data->setText(Html);
    QGuiApplication::clipboard()->setMimeData(Data);
}

QString TExtStringGrid::GetSelectionAsText() { return SelectionToText(Selection(), false); }

// ---- pasting ---------------------------------------------------------------------------------------

bool TExtStringGrid::CanPasteInto(int DisplCol, int ARow) {
    if (DisplCol < 0 || ARow < 0 || DisplCol >= ColCount() || ARow >= RowCount()) return false;
    const int RC = RealColIndex(DisplCol);
    int BC = RC, BR = ARow;
    ResolveBaseCell(RC, ARow, BC, BR);
    if (HasCellProperties(BC, BR) && GetCellProperties(BC, BR)->ReadOnly()) return false;
    return Navigation()->AllowClipboardAlways() || IsEditable(RC, ARow);
}

void TExtStringGrid::SetPastedCell(int DisplCol, int ARow, const QString& Value) {
    const int RC = RealColIndex(DisplCol);
    if (UndoRedo()) UndoRedo()->RegisterChange(RC, ARow, GetCellEx(RC, ARow), Value);
    if (HasCheckBox(RC, ARow))
        SetCheckBoxState(RC, ARow, Value == CheckTrue());
    else
        SetCellEx(RC, ARow, Value);
    if (RC != DisplCol) RepaintCell(DisplCol, ARow);
}

void TExtStringGrid::MarkPastedRows(TPoint Source, const TRect& Target, TClipOperation Operation) {
    (void)Source;
    (void)Operation;
    MarkRowsModified(Target.Top, Target.Bottom);
}

void TExtStringGrid::TextBlockSize(const QString& Text, int& Rows, int& Cols) {
    const TClipBlock B = ParseClipText(Text);
    Rows = int(B.Lines.size());
    Cols = 0;
    for (const QStringList& L : B.Lines) Cols = std::max(Cols, int(L.size()));
}

int TExtStringGrid::PasteText(int DisplCol, int ARow, const QString& Text, int& Rows, int& Cols) {
    Rows = 0;
    Cols = 0;
    if (DisplCol < 0 || ARow < 0) return 0;
    if (!Options().Contains(goEditing) && !Navigation()->AllowClipboardAlways() &&
        !MouseActions()->RangeSelectAndEdit())
        return 0;
    const TClipBlock B = ParseClipText(Text);
    if (B.Lines.empty()) return 0;

    // A floating footer in the grid's last row is no place for pasted data.
    auto RowLimit = [this] {
        const bool Footer = FloatingFooter()->Visible() && FloatingFooter()->FooterStyle() == fsFixedLastRow;
        return RowCount() - (Footer ? 1 : 0);
    };
    const bool Insert = Navigation()->ClipboardPasteAction() == paInsert;
    int Count = 0;
    int Row = ARow;
    int MaxCol = DisplCol;
    if (UndoRedo()) UndoRedo()->StartSequence();
    for (size_t l = 0; l < B.Lines.size(); ++l) {
        const QStringList& Line = B.Lines[l];
        if (Row >= RowLimit()) {
            if (!Navigation()->AllowClipboardRowGrow()) break;
            SetRowCount(RowCount() + (Row - RowLimit() + 1));
        }
        ++Rows;
        ImportNotification(FPasteAll ? isImportNewRow : isImportSelRow, Row);
        const bool EmptyLine = Line.size() == 1 && Line[0].isEmpty();
        if (Insert && !EmptyLine) InsertRows(Row, 1);
        int Col = DisplCol;
        for (const QString& Field : Line) {
            ++Count;
            if (Col >= ColCount()) {
                if (!Navigation()->AllowClipboardColGrow()) {
                    ++Col;
                    continue;
                }
                SetColCount(Col + 1);
            }
            if (CanPasteInto(Col, Row)) {
                QString V = Field;
                bool Allow = true;
                const bool Wide = V.startsWith(QStringLiteral("|\\"));
                if (Wide) {
                    QString W = DecodeWideCellText(V);
                    if (OnClipboardBeforePasteWideCell) OnClipboardBeforePasteWideCell(this, Col, Row, W, Allow);
                    V = EncodeWideCellText(W);
                } else if (OnClipboardBeforePasteCell) {
                    OnClipboardBeforePasteCell(this, Col, Row, V, Allow);
                }
                if (Allow) {
                    SetPastedCell(Col, Row, V);
                    if (Wide && OnClipboardAfterPasteWideCell)
                        OnClipboardAfterPasteWideCell(this, Col, Row, DecodeWideCellText(V));
                    else if (!Wide && OnClipboardAfterPasteCell)
                        OnClipboardAfterPasteCell(this, Col, Row, V);
                }
            }
            MaxCol = std::max(MaxCol, std::min(Col, ColCount() - 1));
            ++Col;
        }
        Cols = int(Line.size());
        ++Row;
    }
    if (B.EndsWithBreak) ++Count;
    if (UndoRedo()) UndoRedo()->StopSequence();
    const int LastRow = std::min(ARow + std::max(Rows, 1) - 1, RowCount() - 1);
    MarkPastedRows(FClipTopLeft, TRect{DisplCol, ARow, MaxCol, LastRow}, FClipOperation);
    CellsChanged(TRect{RealColIndex(DisplCol), ARow, RealColIndex(MaxCol), LastRow});
    return Count;
}

int TExtStringGrid::PasteAt(int DisplCol, int ARow, int& Rows, int& Cols) {
    Rows = 0;
    Cols = 0;
    const QMimeData* M = QGuiApplication::clipboard()->mimeData();
    if (!M) return 0;
    if (UsesCellClipboardFormat() && M->hasFormat(CellsMimeType())) {
        const int N = PasteCellFormat(DisplCol, ARow, M->data(CellsMimeType()), Rows, Cols);
        if (N >= 0) return N;
        // A damaged block pastes nothing; the text form beside it is not taken in its place.
        return 0;
    }
    if (Navigation()->AllowRTFClipboard() && M->hasFormat(RtfMimeType)) {
        QByteArray Bytes = M->data(RtfMimeType);
        const qsizetype Zero = Bytes.indexOf('\0');
        if (Zero >= 0) Bytes.truncate(Zero);
        Rows = Cols = 1;
        if (CanPasteInto(DisplCol, ARow)) SetPastedCell(DisplCol, ARow, DecodeCp1252(Bytes));
        return 0;
    }
    if (M->hasText()) return PasteText(DisplCol, ARow, M->text(), Rows, Cols);
    return 0;
}

void TExtStringGrid::PasteFromClipboard() {
    FPasteAll = true;
    ImportNotification(isImportStart, -1);
    int Rows = 0, Cols = 0;
    PasteAt(SaveStartCol(), SaveStartRow(), Rows, Cols);
    ImportNotification(isImportDone, -1);
    CalcFooter(-1);
}

void TExtStringGrid::PasteSelectionFromClipboard() {
    ImportNotification(isImportStart, -1);
    FPasteAll = false;
    const TGridRect Sel = ExtendSelectionToMerged(Selection());
    const int StartCol = Options().Contains(goRowSelect) ? FixedCols() : Sel.Left;
    int R = 0, C = 0;
    const int P = PasteAt(StartCol, Sel.Top, R, C);

    auto Done = [&] {
        ImportNotification(isImportDone, -1);
        CellsChanged(TRect{RealColIndex(Sel.Left), Sel.Top, RealColIndex(Sel.Right), Sel.Bottom});
    };
    const int W = Sel.Right - Sel.Left + 1, H = Sel.Bottom - Sel.Top + 1;
    const int N = W * H;
    if (!Navigation()->AllowSmartClipboard() || P == N + 1 || P <= 0) {
        Done();
        return;
    }

    // Stores one filled value through the paste events, as a pasted field is.
    auto Fill = [&](int c, int r, const QString& Value, bool Events) {
        if (!CanPasteInto(c, r)) return;
        QString V = Value;
        bool Allow = true;
        if (Events && OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, V, Allow);
        if (!Allow) return;
        SetPastedCell(c, r, V);
        MarkPastedRows(FClipTopLeft, TRect{c, r, c, r}, FClipOperation);
        if (Events && OnClipboardAfterPasteCell) OnClipboardAfterPasteCell(this, c, r, V);
    };
    auto Displayed = [&](int c, int r) {
        const int RC = RealColIndex(c);
        bool State = false;
        if (HasCheckBox(RC, r) && GetCheckBoxState(RC, r, State)) return State ? CheckTrue() : CheckFalse();
        return GetCellEx(RC, r);
    };

    PasteBegin();
    if (P == 1 && N > 1) {
        const QString V = Displayed(Sel.Left, Sel.Top);
        for (int r = Sel.Top; r <= Sel.Bottom; ++r)
            for (int c = Sel.Left; c <= Sel.Right; ++c) Fill(c, r, V, !(c == Sel.Left && r == Sel.Top));
    } else if (P > 1 && (W == 1 || H == 1) && N > 1) {
        const bool Column = W == 1;
        const QString T1 = Displayed(Sel.Left, Sel.Top);
        const QString T2 = Column ? Displayed(Sel.Left, Sel.Top + 1) : Displayed(Sel.Left + 1, Sel.Top);
        const TFormatSettings& FS = FormatSettings;
        auto IsDateOrTime = [&](const QString& T) { return IsDateText(T) || T.contains(FS.TimeSeparator); };
        int I1 = 0, I2 = 0;
        double F1 = 0, F2 = 0;
        if (IsDateOrTime(T1) && IsDateOrTime(T2)) {
            TDateTime D1 = 0, D2 = 0;
            if (TryStrToDateTime(T1, D1) && TryStrToDateTime(T2, D2)) {
                int Y1, M1, Dd1, Y2, M2, Dd2;
                DecodeDate(D1, Y1, M1, Dd1);
                DecodeDate(D2, Y2, M2, Dd2);
                const bool AsDate = T1.contains(FS.DateSeparator);
                TDateTime D = D1;
                for (int c = Sel.Left; c <= Sel.Right; ++c)
                    for (int r = Sel.Top; r <= Sel.Bottom; ++r) {
                        Fill(c, r, AsDate ? DateToStr(D) : TimeToStr(D), true);
                        D = IncDateParts(Y2 - Y1, M2 - M1, Dd2 - Dd1, D, D2 - D1);
                    }
            }
        } else if (T1.contains(FS.DecimalSeparator) || T2.contains(FS.DecimalSeparator)) {
            QString A = T1, Bv = T2;
            A.replace(FS.DecimalSeparator, QLatin1Char('.'));
            Bv.replace(FS.DecimalSeparator, QLatin1Char('.'));
            bool Ok1 = false, Ok2 = false;
            F1 = A.trimmed().toDouble(&Ok1);
            F2 = Bv.trimmed().toDouble(&Ok2);
            if (Ok1 && Ok2) {
                double X = F1;
                for (int c = Sel.Left; c <= Sel.Right; ++c)
                    for (int r = Sel.Top; r <= Sel.Bottom; ++r) {
                        Fill(c, r, Format(FloatFormat(), {X}), true);
                        X += F2 - F1;
                    }
            }
        } else if (TryStrToInt(T1.trimmed(), I1) && TryStrToInt(T2.trimmed(), I2)) {
            qint64 X = I1;
            for (int c = Sel.Left; c <= Sel.Right; ++c)
                for (int r = Sel.Top; r <= Sel.Bottom; ++r) {
                    Fill(c, r, QString::number(X), true);
                    X += qint64(I2) - I1;
                }
        } else {
            // The pasted block is repeated along the selection.
            const int Step = Column ? R : C;
            if (Step > 0) {
                if (Column)
                    for (int r = Sel.Top + Step; r <= Sel.Bottom; ++r)
                        Fill(Sel.Left, r, Displayed(Sel.Left, r - Step), true);
                else
                    for (int c = Sel.Left + Step; c <= Sel.Right; ++c)
                        Fill(c, Sel.Top, Displayed(c - Step, Sel.Top), true);
            }
        }
    } else if (W > 1 && H > 1 && (R == 1 || C == 1)) {
        if (R == 1)
            for (int r = Sel.Top + 1; r <= Sel.Bottom; ++r) {
                int R2 = 0, C2 = 0;
                PasteAt(Sel.Left, r, R2, C2);
            }
        else
            for (int c = Sel.Left + 1; c <= Sel.Right; ++c) {
                int R2 = 0, C2 = 0;
                PasteAt(c, Sel.Top, R2, C2);
            }
        SetSelection(Sel);
    }
    PasteEnd();
    Done();
}

void TExtStringGrid::SetSelectionAsText(const QString& Value) {
    const TGridRect Sel = Normalized(Selection());
    const TClipBlock B = ParseClipText(Value);
    if (B.Lines.empty()) return;
    auto RowLimit = [this] {
        const bool Footer = FloatingFooter()->Visible() && FloatingFooter()->FooterStyle() == fsFixedLastRow;
        return RowCount() - (Footer ? 1 : 0);
    };
    int Row = Sel.Top, MaxCol = Sel.Left;
    for (const QStringList& Line : B.Lines) {
        if (Row >= RowLimit()) SetRowCount(RowCount() + (Row - RowLimit() + 1));
        int Col = Sel.Left;
        for (const QString& Field : Line) {
            if (Col >= ColCount()) SetColCount(Col + 1);
            SetGridCell(RealColIndex(Col), Row, Field);
            MaxCol = std::max(MaxCol, Col);
            ++Col;
        }
        ++Row;
    }
    CellsChanged(TRect{RealColIndex(Sel.Left), Sel.Top, RealColIndex(MaxCol), Row - 1});
    Invalidate();
}

void TExtStringGrid::ClipboardShortCut(char Which) {
    switch (Which) {
        case 'X': CutSelectionToClipboard(); break;
        case 'C': CopySelectionToClipboard(); break;
        case 'V': PasteSelectionFromClipboard(); break;
        default: break;
    }
}

// ---- the grid's own cell block -----------------------------------------------------------------------

namespace {

// A grid stream made a block for placing at a point: a stream that says it holds a whole grid
// would clear and size the grid it is loaded into. ID, when not 0, replaces the block's grid
// identity. False when the header cannot be read.
bool AsBlockStream(const QByteArray& Bytes, TMemoryStream& Out, TGridPropIO& Header, int ID = 0) {
    TMemoryStream In;
    In.Write(Bytes.constData(), Bytes.size());
    In.Seek(0, soBeginning);
    try {
        ReadGridCarrier(&In, &Header);
    } catch (const Exception&) {
        return false;
    }
    Header.SetFullGrid(false);
    if (ID != 0) Header.SetID(ID);
    Out.Clear();
    WriteGridCarrier(&Out, &Header);
    const qint64 Rest = In.Position();
    Out.Write(Bytes.constData() + Rest, Bytes.size() - Rest);
    Out.Seek(0, soBeginning);
    return true;
}

// One cell with its properties and graphic from one grid into another (real columns). A cell
// without properties takes only the text: the target cell keeps the look it has.
void TransferCell(TExtStringGrid& From, int FromCol, int FromRow, TExtStringGrid& To, int ToCol, int ToRow) {
    if (!From.HasCellProperties(FromCol, FromRow)) {
        To.SetGridCell(ToCol, ToRow, From.GetGridCell(FromCol, FromRow));
        return;
    }
    TMemoryStream One;
    From.SaveRectToBinStream(TRect{FromCol, FromRow, FromCol, FromRow}, &One);
    TGridPropIO Header(nullptr);
    TMemoryStream Block;
    if (AsBlockStream(One.Bytes(), Block, Header)) To.LoadAtPointFromBinStream(TPoint{ToCol, ToRow}, &Block);
}

// A grid of Cols x Rows cells without fixed cells, to lay a block out in.
std::unique_ptr<TExtStringGrid> ScratchGrid(int Cols, int Rows) {
    auto G = std::make_unique<TExtStringGrid>(nullptr);
    G->SetColCount(Cols);
    G->SetRowCount(Rows);
    G->SetFixedCols(0);
    G->SetFixedRows(0);
    return G;
}

} // namespace

void TExtStringGrid::CopyRectToCellFormat(const TGridRect& R, QMimeData* Data) {
    if (R.Left < 0 || R.Top < 0 || R.Right < R.Left || R.Bottom < R.Top || R.Right >= ColCount() ||
        R.Bottom >= RowCount())
        return;
    // The block holds the columns as they are shown, like the text beside it: a hidden column
    // between them stays out, and moved columns come in their display order.
    bool Straight = true;
    for (int c = R.Left; c <= R.Right; ++c)
        if (RealColIndex(c) != RealColIndex(R.Left) + (c - R.Left)) Straight = false;
    TMemoryStream S;
    if (Straight) {
        SaveRectToBinStream(TRect{RealColIndex(R.Left), R.Top, RealColIndex(R.Right), R.Bottom}, &S);
    } else {
        const int W = R.Right - R.Left + 1, H = R.Bottom - R.Top + 1;
        auto Shown = ScratchGrid(W, H);
        for (int c = 0; c < W; ++c) Shown->SetColWidths(c, ColWidths(R.Left + c));
        for (int r = 0; r < H; ++r) {
            Shown->SetRowHeights(r, RowHeights(R.Top + r));
            for (int c = 0; c < W; ++c) TransferCell(*this, RealColIndex(R.Left + c), R.Top + r, *Shown, c, r);
        }
        TMemoryStream Laid;
        Shown->SaveRectToBinStream(TRect{0, 0, W - 1, H - 1}, &Laid);
        // The block still says which grid it came from.
        TGridPropIO Header(nullptr);
        if (!AsBlockStream(Laid.Bytes(), S, Header, GridStreamID())) return;
    }
    Data->setData(CellsMimeType(), S.Bytes());
    // Grid identities are counted per process: the block also says which process wrote it.
    Data->setData(SourceProcessMimeType, QByteArray::number(QCoreApplication::applicationPid()));
}

int TExtStringGrid::PasteCellFormat(int DisplCol, int ARow, const QByteArray& Block, int& Rows, int& Cols) {
    Rows = Cols = 0;
    if (DisplCol < 0 || ARow < 0 || DisplCol >= ColCount() || ARow >= RowCount()) return -1;
    // The block comes from another process: it is read whole into a scratch grid first, which
    // checks every count, length and type. Only a block that reads cleanly changes this grid.
    TGridPropIO Header(nullptr);
    TMemoryStream Part;
    if (!AsBlockStream(Block, Part, Header)) return -1;
    try {
        auto Check = ScratchGrid(1, 1);
        Check->LoadAtPointFromBinStream(TPoint{0, 0}, &Part);
    } catch (const Exception&) {
        return -1;
    }
    const int BC = Header.ColCount(), BR = Header.RowCount();

    PasteBegin();
    const TClipboardPasteAction Action = Navigation()->ClipboardPasteAction();
    if (Navigation()->AllowClipboardColGrow() && DisplCol + BC > ColCount()) SetColCount(DisplCol + BC);
    if (Action == paInsert)
        InsertRows(ARow, BR);
    else if (Navigation()->AllowClipboardRowGrow() && ARow + BR > RowCount())
        SetRowCount(ARow + BR);

    // The block is laid out as far as it lands on the grid, then goes cell by cell onto the
    // columns on display: a hidden column is never written, and a cell the paste may not change
    // keeps its text, properties and graphic.
    const int Right = std::min(DisplCol + BC - 1, ColCount() - 1);
    const int Bottom = std::min(ARow + BR - 1, RowCount() - 1);
    auto Laid = ScratchGrid(Right - DisplCol + 1, Bottom - ARow + 1);
    Part.Seek(0, soBeginning);
    Laid->LoadAtPointFromBinStream(TPoint{0, 0}, &Part);
    if (UndoRedo()) UndoRedo()->StartSequence();
    for (int r = ARow; r <= Bottom; ++r)
        for (int c = DisplCol; c <= Right; ++c) {
            if (!CanPasteInto(c, r)) continue;
            const int RC = RealColIndex(c);
            const QString Old = GetCellEx(RC, r);
            TransferCell(*Laid, c - DisplCol, r - ARow, *this, RC, r);
            if (UndoRedo() && GetCellEx(RC, r) != Old) UndoRedo()->RegisterChange(RC, r, Old, GetCellEx(RC, r));
        }
    if (UndoRedo()) UndoRedo()->StopSequence();
    // The block's origin is handed on only when it came from this grid.
    const QMimeData* M = QGuiApplication::clipboard()->mimeData();
    const bool SameProcess =
        M && M->data(SourceProcessMimeType) == QByteArray::number(QCoreApplication::applicationPid());
    const TPoint Source = SameProcess && Header.ID() == GridStreamID() ? FClipTopLeft : TPoint{-1, -1};
    MarkPastedRows(Source, TRect{DisplCol, ARow, Right, Bottom}, FClipOperation);
    PasteEnd();
    Rows = BR;
    Cols = BC;
    CellsChanged(TRect{RealColIndex(DisplCol), ARow, RealColIndex(Right), Bottom});
    Invalidate();
    return BC * BR;
}
