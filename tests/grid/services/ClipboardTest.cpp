// Copy, cut and paste of grid cells through the system clipboard, and the smart fill.
#include "OddTextFixture.h"
#include "platform/gui/Messages.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QClipboard* Clip() { return QGuiApplication::clipboard(); }

void SetClipText(const QString& Text) { Clip()->setText(Text); }

// A grid of Cols x Rows cells without fixed cells, editable, every cell empty.
std::unique_ptr<TTestGrid> PlainGrid(int Cols, int Rows) {
    auto G = std::make_unique<TTestGrid>(nullptr);
    G->SetColCount(Cols);
    G->SetRowCount(Rows);
    G->SetFixedCols(0);
    G->SetFixedRows(0);
    G->SetOptions(G->Options() << goEditing);
    return G;
}

} // namespace

class ClipboardGrid : public OddTextGrid {
protected:
    void SetUp() override {
        OddTextGrid::SetUp();
        G->SetOptions(G->Options() << goEditing);
        Clip()->clear();
    }
    void Select(int L, int T, int R, int B) { G->SetSelection(TGridRect{L, T, R, B}); }
};

TEST_F(ClipboardGrid, BlocksAndRowsAsTabText) {
    auto P = PlainGrid(3, 3);
    P->SetGridCell(0, 0, QStringLiteral("a"));
    P->SetGridCell(1, 0, QStringLiteral("b"));
    P->SetGridCell(0, 1, QStringLiteral("c"));
    P->SetGridCell(1, 1, QStringLiteral("d"));
    P->SetSelection(TGridRect{0, 0, 1, 1});
    P->CopySelectionToClipboard();
    EXPECT_EQ(Clip()->text(), QStringLiteral("a\tb\r\nc\td\r\n"));
    P->SetSelection(TGridRect{0, 0, 1, 0});
    P->CopySelectionToClipboard();
    EXPECT_EQ(Clip()->text(), QStringLiteral("a\tb"));
    EXPECT_EQ(P->LastClipOperation(), TExtStringGrid::coCopy);
    EXPECT_EQ(P->LastCopiedOrigin().X, 0);
}

TEST_F(ClipboardGrid, HiddenColumnIsLeftOutAndQuotedFieldsAreSpreadsheetStyle) {
    G->SetGridCell(1, 1, QStringLiteral("two\r\nlines"));
    G->SetGridCell(2, 1, QStringLiteral("say \"hi\""));
    G->SetGridCell(4, 1, QStringLiteral("x"));
    Select(1, 1, 3, 1); // display columns 1..3 show real columns 1, 2 and 4
    G->CopySelectionToClipboard();
    EXPECT_EQ(Clip()->text(), QStringLiteral("\"two\r\nlines\"\t\"say \"\"hi\"\"\"\tx"));
}

class OddTextRoundTrip : public ClipboardGrid, public ::testing::WithParamInterface<TOddText> {};

TEST_P(OddTextRoundTrip, CopyThenPasteGivesTheSameCells) {
    // The text sits between two neighbours so that a field that split would show in them.
    G->SetGridCell(1, 1, QStringLiteral("left"));
    G->SetGridCell(2, 1, GetParam().Text);
    G->SetGridCell(4, 1, QStringLiteral("right"));
    G->SetGridCell(1, 2, QStringLiteral("below"));
    Select(1, 1, 3, 2);
    G->CopySelectionToClipboard();

    auto P = PlainGrid(3, 2);
    P->Navigation()->SetAllowClipboardColGrow(false);
    P->Navigation()->SetAllowClipboardRowGrow(false);
    P->SetSelection(TGridRect{0, 0, 0, 0});
    P->PasteSelectionFromClipboard();
    EXPECT_EQ(P->GetGridCell(0, 0), QStringLiteral("left"));
    EXPECT_EQ(P->GetGridCell(1, 0), GetParam().Text);
    EXPECT_EQ(P->GetGridCell(2, 0), QStringLiteral("right"));
    EXPECT_EQ(P->GetGridCell(0, 1), QStringLiteral("below"));
    EXPECT_EQ(P->ColCount(), 3);
    EXPECT_EQ(P->RowCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Texts, OddTextRoundTrip, ::testing::ValuesIn(OddTexts()),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(ClipboardGrid, ExcelMultiLineFormatRoundTrips) {
    G->SetExcelClipboardFormat(true);
    G->SetMultilinecells(true);
    G->SetGridCell(1, 1, QStringLiteral("one\r\ntwo \"q\""));
    Select(1, 1, 1, 1);
    G->CopySelectionToClipboard();
    EXPECT_EQ(Clip()->text(), QStringLiteral("\"one") + QChar(11) + QStringLiteral("two \"\"q\"\"\""));
    auto P = PlainGrid(2, 2);
    P->SetSelection(TGridRect{1, 1, 1, 1});
    P->PasteSelectionFromClipboard();
    EXPECT_EQ(P->GetGridCell(1, 1), QStringLiteral("one\r\ntwo \"q\""));
}

TEST_F(ClipboardGrid, PasteGrowsTheGridWhenAllowed) {
    auto P = PlainGrid(2, 2);
    SetClipText(QStringLiteral("a\tb\r\nc\td\r\n"));
    P->SetSelection(TGridRect{1, 1, 1, 1});
    P->PasteSelectionFromClipboard();
    EXPECT_EQ(P->ColCount(), 3);
    EXPECT_EQ(P->RowCount(), 3);
    EXPECT_EQ(P->GetGridCell(1, 1), QStringLiteral("a"));
    EXPECT_EQ(P->GetGridCell(2, 1), QStringLiteral("b"));
    EXPECT_EQ(P->GetGridCell(1, 2), QStringLiteral("c"));
    EXPECT_EQ(P->GetGridCell(2, 2), QStringLiteral("d"));
}

TEST_F(ClipboardGrid, PasteIsClippedAndSkipsReadOnlyCells) {
    auto P = PlainGrid(2, 2);
    P->Navigation()->SetAllowClipboardColGrow(false);
    P->Navigation()->SetAllowClipboardRowGrow(false);
    P->Navigation()->SetAllowClipboardAlways(true); // even so, a read-only cell is kept
    P->SetGridCell(1, 0, QStringLiteral("locked"));
    P->SetReadOnly(1, 0, true);
    SetClipText(QStringLiteral("a\tb\tc\r\nd\te\tf\r\ng\th\ti\r\n"));
    P->SetSelection(TGridRect{0, 0, 0, 0});
    P->PasteSelectionFromClipboard();
    EXPECT_EQ(P->ColCount(), 2);
    EXPECT_EQ(P->RowCount(), 2);
    EXPECT_EQ(P->GetGridCell(0, 0), QStringLiteral("a"));
    EXPECT_EQ(P->GetGridCell(1, 0), QStringLiteral("locked"));
    EXPECT_EQ(P->GetGridCell(0, 1), QStringLiteral("d"));
    EXPECT_EQ(P->GetGridCell(1, 1), QStringLiteral("e"));
}

// The fixture hides real column 3: pasted fields go to the columns on display, the hidden one
// keeps its text, and a field past the last shown column is dropped, not written into it.
TEST_F(ClipboardGrid, TextPasteLandsOnShownColumnsOnly) {
    const QString Hidden = G->GetGridCell(HiddenRealCol, 1);
    G->Navigation()->SetAllowClipboardColGrow(false);
    SetClipText(QStringLiteral("a\tb\tc\td"));
    Select(2, 1, 2, 1); // display columns 2, 3, 4 show real columns 2, 4, 5
    G->PasteSelectionFromClipboard();
    EXPECT_EQ(G->GetGridCell(2, 1), QStringLiteral("a"));
    EXPECT_EQ(G->GetGridCell(HiddenRealCol, 1), Hidden);
    EXPECT_EQ(G->GetGridCell(4, 1), QStringLiteral("b"));
    EXPECT_EQ(G->GetGridCell(5, 1), QStringLiteral("c"));
    EXPECT_EQ(G->TotalColCount(), 6);
}

TEST_F(ClipboardGrid, PasteIntoAGridThatCannotBeEditedChangesNothing) {
    auto P = PlainGrid(2, 2);
    P->SetOptions(P->Options() >> goEditing);
    SetClipText(QStringLiteral("a\tb"));
    P->SetSelection(TGridRect{0, 0, 0, 0});
    P->PasteSelectionFromClipboard();
    EXPECT_EQ(P->GetGridCell(0, 0), QString());
    EXPECT_EQ(P->GetGridCell(1, 0), QString());
}

TEST_F(ClipboardGrid, PasteEventsMayChangeOrRefuseAValue) {
    auto P = PlainGrid(3, 1);
    std::vector<std::string> After;
    P->OnClipboardBeforePasteCell = [](TObject*, int ACol, int, QString& Value, bool& Allow) {
        if (ACol == 1) Allow = false;
        Value = Value.toUpper();
    };
    P->OnClipboardAfterPasteCell = [&](TObject*, int ACol, int, const QString& Value) {
        After.push_back(std::to_string(ACol) + "=" + Value.toStdString());
    };
    SetClipText(QStringLiteral("a\tb\tc"));
    P->SetSelection(TGridRect{0, 0, 0, 0});
    P->PasteSelectionFromClipboard();
    EXPECT_EQ(P->GetGridCell(0, 0), QStringLiteral("A"));
    EXPECT_EQ(P->GetGridCell(1, 0), QString());
    EXPECT_EQ(After, (std::vector<std::string>{"0=A", "2=C"}));
}

TEST_F(ClipboardGrid, InsertModeAddsARowPerLine) {
    auto P = PlainGrid(2, 3);
    P->SetGridCell(0, 0, QStringLiteral("top"));
    P->SetGridCell(0, 1, QStringLiteral("kept"));
    P->Navigation()->SetClipboardPasteAction(paInsert);
    SetClipText(QStringLiteral("x\r\ny\r\n"));
    P->SetSelection(TGridRect{0, 1, 0, 1});
    P->PasteSelectionFromClipboard();
    EXPECT_EQ(P->RowCount(), 5);
    EXPECT_EQ(P->GetGridCell(0, 0), QStringLiteral("top"));
    EXPECT_EQ(P->GetGridCell(0, 1), QStringLiteral("x"));
    EXPECT_EQ(P->GetGridCell(0, 2), QStringLiteral("y"));
    EXPECT_EQ(P->GetGridCell(0, 3), QStringLiteral("kept"));
}

// ---- smart fill ------------------------------------------------------------------------------------

struct TFillCase {
    const char* Name;
    QString Clip;
    bool Column; // the selection is one column of 5 cells, else one row of 5
    QStringList Want;
};
void PrintTo(const TFillCase& C, std::ostream* Os) { *Os << C.Name; }

class SmartFill : public ::testing::TestWithParam<TFillCase> {
protected:
    void SetUp() override {
        Saved = FormatSettings;
        FormatSettings.DecimalSeparator = QLatin1Char('.');
        FormatSettings.DateSeparator = QLatin1Char('/');
        FormatSettings.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    }
    void TearDown() override { FormatSettings = Saved; }
    TFormatSettings Saved;
};

TEST_P(SmartFill, FillsTheSelection) {
    const TFillCase& C = GetParam();
    auto P = PlainGrid(6, 6);
    P->Navigation()->SetAllowSmartClipboard(true);
    P->SetFloatFormat(QStringLiteral("%.1f"));
    SetClipText(C.Clip);
    P->SetSelection(C.Column ? TGridRect{1, 0, 1, 4} : TGridRect{0, 1, 4, 1});
    P->PasteSelectionFromClipboard();
    QStringList Got;
    for (int i = 0; i < 5; ++i) Got << (C.Column ? P->GetGridCell(1, i) : P->GetGridCell(i, 1));
    EXPECT_EQ(Got, C.Want);
}

INSTANTIATE_TEST_SUITE_P(
    Series, SmartFill,
    ::testing::Values(
        TFillCase{"one_value_into_a_row", QStringLiteral("v"), false, {"v", "v", "v", "v", "v"}},
        TFillCase{"one_value_into_a_column", QStringLiteral("v"), true, {"v", "v", "v", "v", "v"}},
        TFillCase{"integers", QStringLiteral("1\r\n3\r\n"), true, {"1", "3", "5", "7", "9"}},
        TFillCase{"integers_in_a_row", QStringLiteral("10\t7"), false, {"10", "7", "4", "1", "-2"}},
        TFillCase{"floats", QStringLiteral("1.5\r\n2\r\n"), true, {"1.5", "2.0", "2.5", "3.0", "3.5"}},
        TFillCase{"dates_a_week_apart",
                  QStringLiteral("01/03/2024\r\n08/03/2024\r\n"),
                  true,
                  {"01/03/2024", "08/03/2024", "15/03/2024", "22/03/2024", "29/03/2024"}},
        TFillCase{"dates_a_month_apart",
                  QStringLiteral("15/11/2024\r\n15/12/2024\r\n"),
                  true,
                  {"15/11/2024", "15/12/2024", "15/01/2025", "15/02/2025", "15/03/2025"}},
        TFillCase{"block_repeated", QStringLiteral("a\r\nb\r\n"), true, {"a", "b", "a", "b", "a"}},
        TFillCase{"block_repeated_in_a_row", QStringLiteral("a\tb\tc"), false, {"a", "b", "c", "a", "b"}},
        TFillCase{"unreadable_number_stops_quietly", QStringLiteral("1.5\r\nx\r\n"), true, {"1.5", "x", "", "", ""}},
        TFillCase{
            "exact_block_untouched", QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\n"), true, {"a", "b", "c", "d", "e"}}),
    [](const auto& I) { return std::string(I.param.Name); });

// ---- cut -------------------------------------------------------------------------------------------

TEST_F(ClipboardGrid, CutKeepsReadOnlyCellsAndUndoesInOneStep) {
    TExtGridUndoRedo Undo(nullptr);
    G->SetUndoRedo(&Undo);
    G->SetReadOnly(2, 2, true);
    const QString Kept = G->GetGridCell(2, 2);
    QStringList Before;
    for (int r = 1; r <= 2; ++r)
        for (int c : {1, 2, 4}) Before << G->GetGridCell(c, r);
    Select(1, 1, 3, 2);
    G->CutSelectionToClipboard();
    EXPECT_EQ(G->LastClipOperation(), TExtStringGrid::coCut);
    EXPECT_EQ(G->GetGridCell(2, 2), Kept);
    EXPECT_EQ(G->GetGridCell(1, 1), QString());
    EXPECT_EQ(G->GetGridCell(4, 2), QString());
    EXPECT_FALSE(Clip()->text().isEmpty());
    Undo.Undo();
    QStringList After;
    for (int r = 1; r <= 2; ++r)
        for (int c : {1, 2, 4}) After << G->GetGridCell(c, r);
    EXPECT_EQ(After, Before);
    G->SetUndoRedo(nullptr);
}

// ---- HTML and the shortcut keys --------------------------------------------------------------------

TEST_F(ClipboardGrid, HtmlCopyPutsATableAsUtf8Html) {
    G->CopyToClipBoardAsHTML();
    const QMimeData* M = Clip()->mimeData();
    ASSERT_TRUE(M);
    ASSERT_TRUE(M->hasHtml());
    EXPECT_TRUE(M->html().contains(QStringLiteral("<TABLE")));
    EXPECT_TRUE(M->html().contains(QStringLiteral("Ünïcødé Ελληνικά 日本語 😀")));
    EXPECT_TRUE(QString::fromUtf8(M->data(QStringLiteral("text/html"))).contains(QStringLiteral("日本語")));
}

TEST_F(ClipboardGrid, ShortcutKeysCopyAndPaste) {
    G->Navigation()->SetAllowClipboardShortCuts(true);
    G->SetGridCell(1, 1, QStringLiteral("from key"));
    Select(1, 1, 1, 1);
    G->FocusCell(1, 1);
    G->Perform(WM_KEYDOWN, 'C', LPARAM(TShiftState{ssCtrl}.Bits()));
    EXPECT_EQ(Clip()->text(), QStringLiteral("from key"));
    SetClipText(QStringLiteral("pasted"));
    G->Perform(WM_KEYDOWN, 'V', LPARAM(TShiftState{ssCtrl}.Bits()));
    EXPECT_EQ(G->GetGridCell(1, 1), QStringLiteral("pasted"));
    bool Asked = false;
    G->OnClipboardCut = [&](TObject*, bool& Allow) {
        Asked = true;
        Allow = false;
    };
    G->Perform(WM_KEYDOWN, 'X', LPARAM(TShiftState{ssCtrl}.Bits()));
    EXPECT_TRUE(Asked);
    EXPECT_EQ(G->GetGridCell(1, 1), QStringLiteral("pasted"));
}

TEST_F(ClipboardGrid, SelectionAsTextRoundTripsWithoutEvents) {
    Select(1, 1, 3, 3);
    const QString T = G->GetSelectionAsText();
    auto P = PlainGrid(1, 1);
    P->OnClipboardBeforePasteCell = [](TObject*, int, int, QString&, bool& Allow) { Allow = false; };
    P->SetSelection(TGridRect{0, 0, 0, 0});
    P->SetSelectionAsText(T);
    ASSERT_EQ(P->ColCount(), 3);
    ASSERT_EQ(P->RowCount(), 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(P->GetGridCell(c, r), G->GetGridCell(G->RealColIndex(c + 1), r + 1)) << c << "," << r;
    int Rows = 0, Cols = 0;
    TTestGrid::TextBlockSize(T, Rows, Cols);
    EXPECT_EQ(Rows, 3);
    EXPECT_EQ(Cols, 3);
}

TEST_F(ClipboardGrid, RichTextCellTravelsAsRtfBesideTheText) {
    const QString Rtf = QStringLiteral("{\\rtf1\\ansi caf\\'e9 {\\b bold}}");
    G->Navigation()->SetAllowRTFClipboard(true);
    G->SetSaveWithRTF(true);
    G->SetGridCell(1, 1, Rtf);
    Select(1, 1, 1, 1);
    G->CopySelectionToClipboard();
    const QMimeData* M = Clip()->mimeData();
    ASSERT_TRUE(M);
    EXPECT_EQ(M->data(QStringLiteral("text/rtf")), Rtf.toLatin1());
    EXPECT_FALSE(M->text().contains(QStringLiteral("{\\"))); // the text form is the plain text

    auto P = PlainGrid(2, 2);
    P->Navigation()->SetAllowRTFClipboard(true);
    P->SetSelection(TGridRect{1, 0, 1, 0});
    P->PasteSelectionFromClipboard();
    EXPECT_EQ(P->GetGridCell(1, 0), Rtf);
}

TEST_F(ClipboardGrid, PasteReportsTheChangedCells) {
    auto P = PlainGrid(4, 4);
    std::vector<TRect> Changed;
    P->OnCellsChanged = [&](TObject*, const TRect& R) { Changed.push_back(R); };
    SetClipText(QStringLiteral("a\tb\r\nc\td\r\n"));
    P->SetSelection(TGridRect{1, 2, 1, 2});
    P->PasteSelectionFromClipboard();
    ASSERT_FALSE(Changed.empty());
    EXPECT_EQ(Changed.front().Left, 1);
    EXPECT_EQ(Changed.front().Top, 2);
    EXPECT_EQ(Changed.front().Right, 2);
    EXPECT_EQ(Changed.front().Bottom, 3);
}
