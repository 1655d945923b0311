// The grid's own cell block on the clipboard: texts with their cell properties, the source
// grid told apart, and blocks that come damaged from another process.
#include "OddTextFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QClipboard* Clip() { return QGuiApplication::clipboard(); }

// Records what the paste hook is told about the block's source.
class TMoveGrid : public TTestGrid {
public:
    using TTestGrid::TTestGrid;
    std::vector<TPoint> Sources;
    std::vector<TRect> Targets;

protected:
    void MarkPastedRows(TPoint Source, const TRect& Target, TClipOperation Operation) override {
        Sources.push_back(Source);
        Targets.push_back(Target);
        TTestGrid::MarkPastedRows(Source, Target, Operation);
    }
};

std::unique_ptr<TMoveGrid> FormatGrid(int Cols, int Rows) {
    auto G = std::make_unique<TMoveGrid>(nullptr);
    G->SetColCount(Cols);
    G->SetRowCount(Rows);
    G->SetOptions(G->Options() << goEditing);
    G->Navigation()->SetAllowFmtClipboard(true);
    for (int c = 0; c < Cols; ++c)
        for (int r = 0; r < Rows; ++r) G->SetGridCell(c, r, QStringLiteral("t%1.%2").arg(c).arg(r));
    return G;
}

QStringList Texts(TExtStringGrid& G) {
    QStringList L;
    for (int r = 0; r < G.RowCount(); ++r)
        for (int c = 0; c < G.TotalColCount(); ++c) L << G.GetGridCell(c, r);
    return L;
}

QByteArray CopiedBlock(TExtStringGrid& G, const TGridRect& R) {
    G.SetSelection(R);
    G.CopySelectionToClipboard();
    const QMimeData* M = Clip()->mimeData();
    EXPECT_TRUE(M && M->hasFormat(TExtStringGrid::CellsMimeType()));
    return M ? M->data(TExtStringGrid::CellsMimeType()) : QByteArray();
}

void PutBlock(const QByteArray& Block, const QString& Text = QStringLiteral("fallback text")) {
    auto* M = new QMimeData;
    M->setData(TExtStringGrid::CellsMimeType(), Block);
    M->setText(Text);
    Clip()->setMimeData(M);
}

} // namespace

TEST(ClipboardCellFormat, TextAndPropertiesTravelWithTheBlock) {
    auto S = FormatGrid(4, 4);
    S->SetGridCell(1, 1, QStringLiteral("two\r\nlines\t\"q\""));
    S->GetCellProperties(2, 1)->SetFontStyle(TFontStyles{fsBold});
    CopiedBlock(*S, TGridRect{1, 1, 2, 2});
    EXPECT_EQ(Clip()->text().split(QLatin1Char('\t')).size() > 1, true); // the text form stands beside it

    auto T = FormatGrid(5, 5);
    T->SetSelection(TGridRect{2, 2, 2, 2});
    T->PasteSelectionFromClipboard();
    EXPECT_EQ(T->GetGridCell(2, 2), QStringLiteral("two\r\nlines\t\"q\""));
    EXPECT_EQ(T->GetGridCell(3, 2), S->GetGridCell(2, 1));
    EXPECT_EQ(T->GetGridCell(2, 3), S->GetGridCell(1, 2));
    EXPECT_EQ(T->GetGridCell(4, 4), QStringLiteral("t4.4"));
    ASSERT_TRUE(T->HasCellProperties(3, 2));
    EXPECT_TRUE(T->GetCellProperties(3, 2)->FontStyle().Contains(fsBold));
}

TEST(ClipboardCellFormat, SourcePointOnlyForTheGridTheBlockCameFrom) {
    auto S = FormatGrid(4, 4);
    CopiedBlock(*S, TGridRect{1, 1, 1, 1});
    S->SetSelection(TGridRect{3, 3, 3, 3});
    S->PasteSelectionFromClipboard();
    ASSERT_FALSE(S->Sources.empty());
    EXPECT_EQ(S->Sources.front().X, 1);
    EXPECT_EQ(S->Sources.front().Y, 1);
    EXPECT_EQ(S->GetGridCell(3, 3), QStringLiteral("t1.1"));

    auto T = FormatGrid(4, 4);
    T->SetSelection(TGridRect{2, 2, 2, 2});
    T->PasteSelectionFromClipboard();
    ASSERT_FALSE(T->Sources.empty());
    EXPECT_EQ(T->Sources.front().X, -1);
    EXPECT_EQ(T->Sources.front().Y, -1);
}

TEST(ClipboardCellFormat, AWholeGridBlockNeverClearsOrResizesTheTarget) {
    auto S = FormatGrid(3, 3);
    S->CopyToClipBoard(); // the save range: the whole grid with its fixed cells
    auto T = FormatGrid(6, 6);
    T->Navigation()->SetAllowClipboardColGrow(false);
    T->Navigation()->SetAllowClipboardRowGrow(false);
    T->SetSelection(TGridRect{4, 4, 4, 4});
    T->PasteSelectionFromClipboard();
    EXPECT_EQ(T->ColCount(), 6);
    EXPECT_EQ(T->RowCount(), 6);
    EXPECT_EQ(T->GetGridCell(1, 1), QStringLiteral("t1.1")); // untouched
    EXPECT_EQ(T->GetGridCell(4, 4), QStringLiteral("t0.0"));
    EXPECT_EQ(T->GetGridCell(5, 5), QStringLiteral("t1.1")); // clipped at the grid's edge
}

TEST(ClipboardCellFormat, ReadOnlyCellsKeepTheirTextAndProperties) {
    auto S = FormatGrid(3, 3);
    CopiedBlock(*S, TGridRect{1, 1, 2, 2});
    auto T = FormatGrid(4, 4);
    T->SetReadOnly(2, 1, true);
    T->GetCellProperties(2, 1)->SetFontColor(clRed);
    T->SetSelection(TGridRect{1, 1, 1, 1});
    T->PasteSelectionFromClipboard();
    EXPECT_EQ(T->GetGridCell(1, 1), QStringLiteral("t1.1"));
    EXPECT_EQ(T->GetGridCell(2, 1), QStringLiteral("t2.1"));
    EXPECT_TRUE(T->GetCellProperties(2, 1)->ReadOnly());
    EXPECT_EQ(T->GetCellProperties(2, 1)->FontColor(), clRed);
    EXPECT_EQ(T->GetGridCell(1, 2), QStringLiteral("t1.2"));
}

struct TDamage {
    const char* Name;
    std::function<QByteArray(const QByteArray&)> Make;
};
void PrintTo(const TDamage& D, std::ostream* Os) { *Os << D.Name; }

class DamagedCellBlock : public ::testing::TestWithParam<TDamage> {};

TEST_P(DamagedCellBlock, ChangesNothing) {
    auto S = FormatGrid(4, 4);
    S->GetCellProperties(1, 1)->SetFontStyle(TFontStyles{fsItalic});
    const QByteArray Good = CopiedBlock(*S, TGridRect{1, 1, 3, 3});
    ASSERT_FALSE(Good.isEmpty());
    const QByteArray Bad = GetParam().Make(Good);
    ASSERT_NE(Bad, Good);

    auto T = FormatGrid(3, 3);
    const QStringList Before = Texts(*T);
    PutBlock(Bad);
    T->SetSelection(TGridRect{1, 1, 1, 1});
    T->PasteSelectionFromClipboard();
    EXPECT_EQ(Texts(*T), Before);
    EXPECT_EQ(T->ColCount(), 3);
    EXPECT_EQ(T->RowCount(), 3);
    EXPECT_FALSE(T->HasCellProperties(1, 1));
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, DamagedCellBlock,
    ::testing::Values(TDamage{"empty", [](const QByteArray&) { return QByteArray(); }},
                      TDamage{"garbage", [](const QByteArray&) { return QByteArray(200, '\x7F'); }},
                      TDamage{"first_bytes", [](const QByteArray& B) { return B.left(12); }},
                      TDamage{"half", [](const QByteArray& B) { return B.left(B.size() / 2); }},
                      TDamage{"last_byte_missing", [](const QByteArray& B) { return B.left(B.size() - 1); }},
                      TDamage{"every_truncation",
                              [](const QByteArray& B) {
                                  // Each truncation is tried here; the last one is handed back.
                                  for (qsizetype n = 1; n < B.size(); n += 13) {
                                      auto T = FormatGrid(3, 3);
                                      const QStringList Before = Texts(*T);
                                      PutBlock(B.left(n));
                                      T->SetSelection(TGridRect{1, 1, 1, 1});
                                      T->PasteSelectionFromClipboard();
                                      EXPECT_EQ(Texts(*T), Before) << "cut at " << n;
                                  }
                                  return B.left(B.size() - 3);
                              }},
                      TDamage{"huge_counts",
                              [](const QByteArray& B) {
                                  QByteArray D = B;
                                  // Every small little-endian integer of the header made huge.
                                  for (qsizetype i = 0; i + 4 <= std::min<qsizetype>(D.size(), 160); ++i)
                                      if (D[i] == 3 && D[i + 1] == 0 && D[i + 2] == 0 && D[i + 3] == 0) {
                                          D[i + 3] = char(0x7F);
                                          D[i + 2] = char(0xFF);
                                      }
                                  return D;
                              }}),
    [](const auto& I) { return std::string(I.param.Name); });

// ---- the block as the grid shows it ----------------------------------------------------------------------
// Hidden and moved columns: the block carries the columns on display, in their display order, and
// lands on the columns on display of the grid it is pasted into; hidden cells are neither copied
// out nor written over.
struct TShownCase {
    const char* Name;
    int SourceHidden; // real column hidden in the source, -1 for none
    bool SourceMoved; // the source's real columns 1 and 2 change places on display
    int TargetHidden; // real column hidden in the target, -1 for none
    bool Grow; // growth allowed
    const char* Expect; // the target's real row 1, columns 0..4, "|"-separated
};
void PrintTo(const TShownCase& C, std::ostream* Os) { *Os << C.Name; }

class ShownColumnsBlock : public ::testing::TestWithParam<TShownCase> {};

TEST_P(ShownColumnsBlock, CarriesAndLandsOnTheShownColumns) {
    const TShownCase& C = GetParam();
    auto S = FormatGrid(5, 3);
    if (C.SourceMoved) S->MoveColumn(1, 2);
    if (C.SourceHidden >= 0) S->HideColumn(C.SourceHidden);
    // Display columns 1 and 2 of row 1.
    CopiedBlock(*S, TGridRect{1, 1, 2, 1});
    const QStringList TextForm = Clip()->text().split(QLatin1Char('\t'));

    auto T = FormatGrid(5, 3);
    T->Navigation()->SetAllowClipboardColGrow(C.Grow);
    T->Navigation()->SetAllowClipboardRowGrow(C.Grow);
    if (C.TargetHidden >= 0) T->HideColumn(C.TargetHidden);
    const int Last = T->ColCount() - 1;
    T->SetSelection(TGridRect{C.Grow ? 1 : Last, 1, C.Grow ? 1 : Last, 1});
    T->PasteSelectionFromClipboard();
    QStringList Row;
    for (int c = 0; c < 5; ++c) Row << T->GetGridCell(c, 1);
    EXPECT_EQ(Row.join(QLatin1Char('|')), QString::fromUtf8(C.Expect));
    EXPECT_EQ(TextForm.size(), 2) << "the text form has the same two columns";
    EXPECT_EQ(T->TotalColCount(), 5) << "no growth was needed or allowed";
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, ShownColumnsBlock,
    ::testing::Values(TShownCase{"Plain", -1, false, -1, true, "t0.1|t1.1|t2.1|t3.1|t4.1"},
                      TShownCase{"SourceHiddenColumnStaysOut", 2, false, -1, true, "t0.1|t1.1|t3.1|t3.1|t4.1"},
                      TShownCase{"SourceMovedColumnsInDisplayOrder", -1, true, -1, true, "t0.1|t2.1|t1.1|t3.1|t4.1"},
                      TShownCase{"TargetHiddenColumnKept", -1, false, 2, true, "t0.1|t1.1|t2.1|t2.1|t4.1"},
                      TShownCase{"ClippedAtTheLastShownColumn", -1, false, 4, false, "t0.1|t1.1|t2.1|t1.1|t4.1"}),
    [](const auto& I) { return std::string(I.param.Name); });
