// The grid's hooks and notifications: texts of cells for saving, removing the last data row, the
// fixed-cell editor question, the date picker's change and the balloon tooltip's text request.
#include "GridNavFixture.h"
#include "grid/control/CellGraphic.h"
#include "platform/rtl/SysUtils.h"

#include <QString>

#include <ostream>

namespace {

using Notify = GridNav;

struct SaveCase {
    const char* Name;
    TCellType Kind; // ctNone: no object
    bool Checked;
    QString Text;
    bool SaveWithHTML;
    bool SaveWithRTF;
    QString Saved;
};

void PrintTo(const SaveCase& C, std::ostream* Os) { *Os << C.Name; }

class SaveText : public Notify, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveText, IsTheTextAFileGets) {
    const SaveCase& C = GetParam();
    const int Col = 3, Row = 4;
    G->SetGridCell(Col, Row, C.Text);
    if (C.Kind != ctNone) {
        auto* CG = new TCellGraphic;
        if (C.Kind == ctTriStateCheckBox)
            CG->SetCheckBox(C.Checked ? cbChecked : cbGrayed, false, haLeft, vaTop);
        else
            CG->SetCheckBox(C.Checked, false, false, haLeft, vaTop);
        G->SetGraphicObjectEx(Col, Row, CG);
    }
    G->SetSaveWithHTML(C.SaveWithHTML);
    G->SetSaveWithRTF(C.SaveWithRTF);
    QString Seen;
    G->OnSaveCell = [&](TObject*, int ACol, int ARow, QString& Value) {
        EXPECT_EQ(ACol, Col);
        EXPECT_EQ(ARow, Row);
        Seen = Value;
    };
    EXPECT_EQ(G->GetCellForSave(Col, Row), C.Saved);
    EXPECT_EQ(Seen, C.Saved);
}

const QString Rtf = QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\r\n\\f0 Hello\\par World}");

INSTANTIATE_TEST_SUITE_P(
    Cells, SaveText,
    ::testing::Values(SaveCase{"EmptyCheckedBox", ctCheckBox, true, "", true, false, "Y"},
                      SaveCase{"EmptyUncheckedBox", ctCheckBox, false, "", true, false, "N"},
                      SaveCase{"BoxWithText", ctCheckBox, true, "label", true, false, "label"},
                      SaveCase{"TriStateChecked", ctTriStateCheckBox, true, "", true, false, "Y"},
                      SaveCase{"TriStateGreyed", ctTriStateCheckBox, false, "", true, false, "N"},
                      SaveCase{"HtmlStripped", ctNone, false, "<b>bold</b>", false, false, "bold"},
                      SaveCase{"HtmlKept", ctNone, false, "<b>bold</b>", true, false, "<b>bold</b>"},
                      SaveCase{"RichTextAsPlain", ctNone, false, Rtf, true, false, "Hello\r\nWorld"},
                      SaveCase{"RichTextWithoutBreaks", ctNone, false, Rtf, true, true,
                               "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello\\par World}"},
                      SaveCase{"FormulaUnchanged", ctNone, false, "=A1+B2", true, false, "=A1+B2"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(Notify, StoredTextOfACoveredCellIsItsBaseCellsText) {
    G->SetGridCell(3, 2, "=A1+1");
    G->MergeCells(3, 2, 2, 1);
    EXPECT_EQ(G->GetSaveCellText(4, 2), "=A1+1");
}

TEST_F(Notify, RemovingTheOnlyDataRowEmptiesItAndStillReports) {
    TExtStringGrid One(nullptr);
    One.SetColCount(3);
    One.SetRowCount(2);
    One.SetFixedRows(1);
    One.SetGridCell(1, 1, "keep?");
    std::vector<int> Deleted;
    One.OnAutoDeleteRow = [&](TObject*, int ARow) { Deleted.push_back(ARow); };
    One.RemoveRowAt(1);
    EXPECT_EQ(One.RowCount(), 2);
    EXPECT_EQ(One.GetGridCell(1, 1), "");
    EXPECT_EQ(Deleted, std::vector<int>{1});

    G->OnAutoDeleteRow = [&](TObject*, int ARow) { Deleted.push_back(ARow); };
    G->RemoveRowAt(3);
    EXPECT_EQ(G->RowCount(), 9);
    EXPECT_EQ(G->GetGridCell(HiddenRealCol, 3), "2,4");
    EXPECT_EQ(Deleted, (std::vector<int>{1, 3}));
}

TEST_F(Notify, FixedEditKeepsTheCallersEditorButTakesTheItems) {
    G->OnFixedEdit = [](TObject*, int, int, TGridFixedCellEditor& AEditor, TStrings* Values) {
        AEditor = fceComboList;
        Values->Add("one");
    };
    TGridFixedCellEditor Kind = fceEdit;
    TStringList Items;
    G->DoFixedEdit(1, 0, Kind, &Items);
    EXPECT_EQ(Kind, fceEdit);
    ASSERT_EQ(Items.Count(), 1);
    EXPECT_EQ(Items.Strings(0), "one");
}

TEST_F(Notify, DatePickerChangeReportsTheDateForTheCurrentCell) {
    std::vector<TDateTime> Seen;
    G->OnDateTimeChange = [&](TObject*, int ACol, int ARow, TDateTime D) {
        EXPECT_EQ(ACol, G->Col());
        EXPECT_EQ(ARow, G->Row());
        Seen.push_back(D);
    };
    G->DateTimeChangeNotify(2026, 12, 10, 6, 30, 0);
    G->DateTimeChangeNotify(0, 12, 10, 0, 0, 0);
    G->DateTimeChangeNotify(2026, 2, 30, 0, 0, 0);
    ASSERT_EQ(Seen.size(), 3u);
    EXPECT_DOUBLE_EQ(Seen[0], EncodeDate(2026, 12, 10) + EncodeTime(6, 30, 0, 0));
    EXPECT_EQ(Seen[1], 0);
    EXPECT_EQ(Seen[2], 0);
}

class Balloon : public Notify {
protected:
    void SetUp() override {
        Notify::SetUp();
        G->SetBounds(0, 0, 400, 300);
        G->Balloon()->SetEnable(true);
    }
    // The centre of a cell by display column and row.
    TPoint Centre(int DisplCol, int DisplRow) {
        const TRect R = G->CellRect(DisplCol, DisplRow);
        return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
};

TEST_F(Balloon, LongTextsAndTitlesAreCut) {
    G->SetGridCell(3, 2, QString(3000, QLatin1Char('x')));
    G->OnCellBalloon = [](TObject*, int, int, QString& Title, QString&, int&) { Title = QString(120, 'T'); };
    const auto B = G->BalloonTextAt(Centre(2, 2)); // display column 2 shows real column 3
    ASSERT_TRUE(B.Valid);
    EXPECT_EQ(B.Col, 3);
    EXPECT_EQ(B.Row, 2);
    EXPECT_EQ(B.Text.size(), 2048);
    EXPECT_EQ(B.Text.left(2045), QString(2045, 'x'));
    EXPECT_TRUE(B.Text.endsWith("..."));
    EXPECT_EQ(B.Title.size(), 100);
    EXPECT_TRUE(B.Title.endsWith("..."));
    EXPECT_EQ(G->ToolTipBuffer(), B.Text);
    EXPECT_EQ(G->BalloonCell(), Point(3, 2));
}

TEST_F(Balloon, TextLosesMarkupTabsAndLeadingBreaks) {
    G->SetGridCell(1, 3, "\r\n<b>a</b>\tb");
    const auto B = G->BalloonTextAt(Centre(1, 3));
    EXPECT_EQ(B.Text, "a b");
    EXPECT_EQ(B.Title, " ");
    EXPECT_EQ(B.Icon, 1);
}

TEST_F(Balloon, EventSeesTheCellAndMayChangeEverything) {
    G->OnCellBalloon = [](TObject*, int ACol, int ARow, QString& Title, QString& Text, int& Icon) {
        Title = "Cell";
        Text = QString("%1/%2").arg(ACol).arg(ARow);
        Icon = 3;
    };
    const auto B = G->BalloonTextAt(Centre(3, 4));
    EXPECT_EQ(B.Text, "4/4");
    EXPECT_EQ(B.Title, "Cell");
    EXPECT_EQ(B.Icon, 3);
}

TEST_F(Balloon, NothingWhileBalloonsAreOff) {
    G->Balloon()->SetEnable(false);
    bool Asked = false;
    G->OnCellBalloon = [&](TObject*, int, int, QString&, QString&, int&) { Asked = true; };
    EXPECT_FALSE(G->BalloonTextAt(Centre(1, 1)).Valid);
    EXPECT_FALSE(Asked);
}

} // namespace
