// Drag and drop of cells, rows, columns, text and files between grids, headless: drags start
// from synthetic mouse messages, and a test drag runner delivers the dragged data to a target
// grid as Qt's drag events, so no real drag ever runs.
#include "grid/services/DragDrop.h"

#include "grid/control/ExtGrid.h"
#include "grid/control/GridSettingsObjects.h"
#include "platform/gui/Messages.h"
#include "platform/gui/StdCtrls.h"
#include "tests/support/QtPrint.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Failure messages show a cell rectangle as its corners.
static void PrintTo(const TGridRect& R, std::ostream* Os) {
    *Os << '(' << R.Left << ',' << R.Top << ")-(" << R.Right << ',' << R.Bottom << ')';
}

namespace {

// ---- the drop as the system would deliver it -------------------------------------------------------
Qt::DropActions ToActions(int Effects) {
    Qt::DropActions A;
    if (Effects & DROPEFFECT_COPY) A |= Qt::CopyAction;
    if (Effects & DROPEFFECT_MOVE) A |= Qt::MoveAction;
    return A;
}

int ToEffect(Qt::DropAction A) {
    return A == Qt::MoveAction ? DROPEFFECT_MOVE : A == Qt::CopyAction ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

// Enter, move and drop at a client point of the target; the effect of the drop (none when the
// target refused the data on the way).
int DeliverDrop(QWidget* Target, const QMimeData* Data, TPoint At, Qt::KeyboardModifiers Mods,
                int OKEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
    const QPoint P(At.X, At.Y);
    QDragEnterEvent Enter(P, ToActions(OKEffects), Data, Qt::LeftButton, Mods);
    QApplication::sendEvent(Target, &Enter);
    if (!Enter.isAccepted()) return DROPEFFECT_NONE;
    QDragMoveEvent Move(P, ToActions(OKEffects), Data, Qt::LeftButton, Mods);
    QApplication::sendEvent(Target, &Move);
    if (!Move.isAccepted()) {
        QDragLeaveEvent Leave;
        QApplication::sendEvent(Target, &Leave);
        return DROPEFFECT_NONE;
    }
    QDropEvent Drop(QPointF(P), ToActions(OKEffects), Data, Qt::LeftButton, Mods);
    QApplication::sendEvent(Target, &Drop);
    return Drop.isAccepted() ? ToEffect(Drop.dropAction()) : DROPEFFECT_NONE;
}

// Only the drag-over part: the effect the target shows at a point.
int DeliverOver(QWidget* Target, const QMimeData* Data, TPoint At, Qt::KeyboardModifiers Mods = {}) {
    const QPoint P(At.X, At.Y);
    QDragEnterEvent Enter(P, Qt::CopyAction | Qt::MoveAction, Data, Qt::LeftButton, Mods);
    QApplication::sendEvent(Target, &Enter);
    QDragMoveEvent Move(P, Qt::CopyAction | Qt::MoveAction, Data, Qt::LeftButton, Mods);
    QApplication::sendEvent(Target, &Move);
    return Move.isAccepted() ? ToEffect(Move.dropAction()) : DROPEFFECT_NONE;
}

// A grid of 6 columns (one fixed; real column 3 hidden) and 8 rows (one fixed; the last real
// row hidden). Texts name their real column and their row as set up: "c<col>r<row>".
std::unique_ptr<TExtStringGrid> MakeGrid(const QString& Tag = QStringLiteral("c")) {
    auto G = std::make_unique<TExtStringGrid>(nullptr);
    G->SetColCount(6);
    G->SetRowCount(8);
    G->SetBounds(0, 0, 500, 400);
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r) G->SetGridCell(c, r, QStringLiteral("%1%2r%3").arg(Tag).arg(c).arg(r));
    G->HideColumn(3);
    G->HideRow(7);
    G->Navigation()->SetAllowClipboardAlways(true);
    G->DragDropSettings()->SetOleDropSource(true);
    G->DragDropSettings()->SetOleDropTarget(true);
    return G;
}

TPoint Mid(TExtStringGrid* G, int DisplCol, int Row) {
    const TRect R = G->CellRect(DisplCol, Row);
    return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
}

QString Cell(TExtStringGrid* G, int DisplCol, int Row) { return G->GetCellEx(G->RealColIndex(DisplCol), Row); }

// The texts of one display column, from the first non-fixed row.
QStringList Column(TExtStringGrid* G, int DisplCol) {
    QStringList L;
    for (int r = G->FixedRows(); r < G->RowCount(); ++r) L << Cell(G, DisplCol, r);
    return L;
}

// Where the test runner drops the dragged data, and what it saw of the drag.
struct TDropPlan {
    TExtStringGrid* Target = nullptr;
    TPoint At;
    Qt::KeyboardModifiers Mods;
    bool Ran = false;
    QStringList Formats;
    int Effect = DROPEFFECT_NONE;
};

class DragDrop : public ::testing::Test {
protected:
    void SetUp() override {
        SetDragRunner([this](TDragStart& D) {
            Plan.Ran = true;
            Plan.Formats = D.Data->formats();
            if (!Plan.Target) return DROPEFFECT_NONE;
            Plan.Effect = DeliverDrop(Plan.Target, D.Data.get(), Plan.At, Plan.Mods, D.OKEffects);
            if (D.Feedback) D.Feedback(Plan.Effect);
            return Plan.Effect;
        });
    }
    void TearDown() override { SetDragRunner({}); }

    // Presses on a cell of the selection and moves on with the button held: the drag starts.
    static void DragFrom(TExtStringGrid* G, int DisplCol, int Row) {
        const TPoint P = Mid(G, DisplCol, Row);
        G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(P.X, P.Y));
        G->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(P.X + 8, P.Y + 2));
    }
    void DropOn(TExtStringGrid* Target, int DisplCol, int Row, Qt::KeyboardModifiers Mods = {}) {
        Plan.Target = Target;
        Plan.At = Mid(Target, DisplCol, Row);
        Plan.Mods = Mods;
    }

    TDropPlan Plan;
};

} // namespace

// ---- the offered flavours ------------------------------------------------------------------------------
struct TOfferCase {
    const char* Name;
    QString Text;
    QString Rtf;
    bool RtfOn;
    int Col;
    QByteArray Block;
    QStringList Formats;
};

void PrintTo(const TOfferCase& C, std::ostream* Os) { *Os << C.Name; }

class OfferedFlavours : public ::testing::TestWithParam<TOfferCase> {
protected:
    void TearDown() override { SetOleDropRTF(false); }
};

TEST_P(OfferedFlavours, OnlyWhatCarriesSomething) {
    const TOfferCase& C = GetParam();
    SetOleDropRTF(C.RtfOn);
    auto M = MakeSourceData(C.Text, C.Rtf, C.Col, C.Block);
    QStringList F = M->formats(), Expected = C.Formats;
    F.sort();
    Expected.sort();
    EXPECT_EQ(F, Expected);
}

const QString kCells = TExtStringGrid::CellsMimeType();
const QString kColumn = dragdrop::ColumnMimeType();

INSTANTIATE_TEST_SUITE_P(
    Cases, OfferedFlavours,
    ::testing::Values(
        TOfferCase{"text_only", QStringLiteral("a\tb"), {}, false, -1, {}, {QStringLiteral("text/plain")}},
        TOfferCase{"rich_text_while_switched_off",
                   QStringLiteral("a"),
                   QStringLiteral("{\\rtf1 a}"),
                   false,
                   -1,
                   {},
                   {QStringLiteral("text/plain")}},
        TOfferCase{"rich_text_while_switched_on",
                   QStringLiteral("a"),
                   QStringLiteral("{\\rtf1 a}"),
                   true,
                   -1,
                   {},
                   {QStringLiteral("text/plain"), QStringLiteral("text/rtf")}},
        TOfferCase{"nothing_for_empty_text", {}, QStringLiteral("{\\rtf1 a}"), true, -1, {}, {}},
        TOfferCase{"column_index", {}, {}, false, 4, {}, {kColumn}},
        TOfferCase{"cell_block_beside_the_text",
                   QStringLiteral("a"),
                   {},
                   false,
                   -1,
                   QByteArray("block"),
                   QStringList{QStringLiteral("text/plain"), kCells}}),
    [](const auto& I) { return std::string(I.param.Name); });

TEST(DragDropData, ColumnIndexTravelsAsFourLittleEndianBytes) {
    auto M = MakeSourceData({}, {}, 258, {});
    EXPECT_EQ(M->data(dragdrop::ColumnMimeType()), QByteArray("\x02\x01\x00\x00", 4));
    EXPECT_EQ(TEnumFormats(M.get()).Col(), 258);
}

// ---- reading dropped data ------------------------------------------------------------------------------
struct TReadCase {
    const char* Name;
    std::function<void(QMimeData&)> Fill;
    int Col;
    TDropFormats Formats;
};

void PrintTo(const TReadCase& C, std::ostream* Os) { *Os << C.Name; }

class ReadDroppedData : public ::testing::TestWithParam<TReadCase> {};

TEST_P(ReadDroppedData, FlavoursAndColumn) {
    QMimeData M;
    GetParam().Fill(M);
    const TEnumFormats E(&M);
    EXPECT_EQ(E.Col(), GetParam().Col);
    EXPECT_EQ(E.Formats().Bits(), GetParam().Formats.Bits());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadDroppedData,
    ::testing::Values(TReadCase{"short_column_block_is_no_column",
                                [](QMimeData& M) {
                                    M.setData(dragdrop::ColumnMimeType(), QByteArray("\x01\x00\x00", 3));
                                },
                                -1,
                                {}},
                      TReadCase{"long_column_block_is_no_column",
                                [](QMimeData& M) { M.setData(dragdrop::ColumnMimeType(), QByteArray(8, '\x01')); },
                                -1,
                                {}},
                      TReadCase{"negative_column_is_no_column",
                                [](QMimeData& M) { M.setData(dragdrop::ColumnMimeType(), QByteArray(4, '\xff')); },
                                -1,
                                {}},
                      TReadCase{"local_file_is_a_file",
                                [](QMimeData& M) { M.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.csv"))}); },
                                -1, TDropFormats{dfFile}},
                      TReadCase{"web_link_is_a_url",
                                [](QMimeData& M) {
                                    M.setUrls({QUrl(QStringLiteral("https://example.org/"))});
                                    M.setText(QStringLiteral("https://example.org/"));
                                },
                                -1, TDropFormats{dfURL, dfText}},
                      TReadCase{"text_and_column",
                                [](QMimeData& M) {
                                    M.setText(QStringLiteral("x"));
                                    M.setData(dragdrop::ColumnMimeType(), QByteArray("\x03\x00\x00\x00", 4));
                                },
                                3, TDropFormats{dfText, dfCol}}),
    [](const auto& I) { return std::string(I.param.Name); });

// ---- accepting data ------------------------------------------------------------------------------------
struct TAcceptCase {
    const char* Name;
    std::function<void(QMimeData&)> Fill;
    std::function<void(TDragDropSettings*)> Set;
    Qt::KeyboardModifiers Mods;
    int Effect;
};

void PrintTo(const TAcceptCase& C, std::ostream* Os) { *Os << C.Name; }

class AcceptDrag : public ::testing::TestWithParam<TAcceptCase> {};

TEST_P(AcceptDrag, EffectShownOverABodyCell) {
    auto G = MakeGrid();
    GetParam().Set(G->DragDropSettings());
    QMimeData M;
    GetParam().Fill(M);
    EXPECT_EQ(DeliverOver(G.get(), &M, Mid(G.get(), 2, 2), GetParam().Mods), GetParam().Effect);
}

namespace {
void Text(QMimeData& M) { M.setText(QStringLiteral("x")); }
void Cells(QMimeData& M) { M.setData(TExtStringGrid::CellsMimeType(), QByteArray("x")); }
void NoChange(TDragDropSettings*) {}
} // namespace

INSTANTIATE_TEST_SUITE_P(Cases, AcceptDrag,
                         ::testing::Values(TAcceptCase{"text_moves", Text, NoChange, {}, DROPEFFECT_MOVE},
                                           TAcceptCase{"text_with_ctrl_copies", Text, NoChange, Qt::ControlModifier,
                                                       DROPEFFECT_COPY},
                                           TAcceptCase{"text_refused_when_text_is_not_accepted",
                                                       Text,
                                                       [](TDragDropSettings* S) { S->SetOleAcceptText(false); },
                                                       {},
                                                       DROPEFFECT_NONE},
                                           TAcceptCase{"grid_cells_accepted_whatever_the_switches",
                                                       Cells,
                                                       [](TDragDropSettings* S) {
                                                           S->SetOleAcceptText(false);
                                                           S->SetOleAcceptFiles(false);
                                                           S->SetOleAcceptURLs(false);
                                                       },
                                                       {},
                                                       DROPEFFECT_MOVE},
                                           TAcceptCase{"nothing_known_is_refused",
                                                       [](QMimeData& M) { M.setData("x/y", "z"); },
                                                       NoChange,
                                                       {},
                                                       DROPEFFECT_NONE},
                                           TAcceptCase{"no_drop_target_no_drop",
                                                       Text,
                                                       [](TDragDropSettings* S) { S->SetOleDropTarget(false); },
                                                       {},
                                                       DROPEFFECT_NONE}),
                         [](const auto& I) { return std::string(I.param.Name); });

// ---- cell drags between and within grids ---------------------------------------------------------------
TEST_F(DragDrop, MoveBetweenGridsClearsTheSourceCells) {
    auto S = MakeGrid(QStringLiteral("s"));
    auto T = MakeGrid(QStringLiteral("t"));
    std::vector<int> Stops;
    S->OnOleDragStop = [&](TObject*, int Effect) { Stops.push_back(Effect); };
    S->SetSelection(TGridRect{1, 1, 2, 2});
    const QString A = Cell(S.get(), 1, 1), B = Cell(S.get(), 2, 2);
    DropOn(T.get(), 3, 4);
    DragFrom(S.get(), 1, 1);
    ASSERT_TRUE(Plan.Ran);
    EXPECT_EQ(Plan.Formats, QStringList{QStringLiteral("text/plain")});
    EXPECT_EQ(Cell(T.get(), 3, 4), A);
    EXPECT_EQ(Cell(T.get(), 4, 5), B);
    EXPECT_EQ(Cell(S.get(), 1, 1), QString());
    EXPECT_EQ(Cell(S.get(), 2, 2), QString());
    EXPECT_EQ(Cell(S.get(), 3, 1), QStringLiteral("s4r1")); // next to the block: untouched
    EXPECT_EQ(Stops, std::vector<int>{DROPEFFECT_MOVE});
    EXPECT_EQ(T->Selection().Left, 3);
    EXPECT_EQ(T->Selection().Bottom, 5);
}

struct TKeepCase {
    const char* Name;
    Qt::KeyboardModifiers Mods;
    bool CopyAlways;
    bool TargetRefuses;
    int StopEffect; // -1: no stop event (nothing was dropped)
};

void PrintTo(const TKeepCase& C, std::ostream* Os) { *Os << C.Name; }

class SourceKeepsCells : public DragDrop, public ::testing::WithParamInterface<TKeepCase> {};

TEST_P(SourceKeepsCells, WhenCopiedOrRefused) {
    const TKeepCase& C = GetParam();
    auto S = MakeGrid(QStringLiteral("s"));
    auto T = MakeGrid(QStringLiteral("t"));
    S->DragDropSettings()->SetOleCopyAlways(C.CopyAlways);
    if (C.TargetRefuses) T->OnOleDrop = [](TObject*, int, int, const QString&, bool& Allow) { Allow = false; };
    std::vector<int> Stops;
    S->OnOleDragStop = [&](TObject*, int Effect) { Stops.push_back(Effect); };
    S->SetSelection(TGridRect{2, 3, 2, 3});
    DropOn(T.get(), 1, 1, C.Mods);
    DragFrom(S.get(), 2, 3);
    EXPECT_EQ(Cell(S.get(), 2, 3), QStringLiteral("s2r3"));
    EXPECT_EQ(Cell(T.get(), 1, 1), C.TargetRefuses ? QStringLiteral("t1r1") : QStringLiteral("s2r3"));
    if (C.StopEffect < 0)
        EXPECT_TRUE(Stops.empty());
    else
        EXPECT_EQ(Stops, std::vector<int>{C.StopEffect});
}

INSTANTIATE_TEST_SUITE_P(Cases, SourceKeepsCells,
                         ::testing::Values(TKeepCase{"ctrl_held_copies", Qt::ControlModifier, false, false,
                                                     DROPEFFECT_COPY},
                                           TKeepCase{"copy_always", {}, true, false, DROPEFFECT_MOVE},
                                           TKeepCase{"target_refuses_the_drop", {}, false, true, -1}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(DragDrop, MoveOntoAnOverlappingPlaceInTheSameGridKeepsTheDroppedCells) {
    auto G = MakeGrid();
    G->SetSelection(TGridRect{1, 1, 2, 2});
    const QString A = Cell(G.get(), 1, 1), B = Cell(G.get(), 2, 1), C = Cell(G.get(), 1, 2), D = Cell(G.get(), 2, 2);
    DropOn(G.get(), 2, 2);
    DragFrom(G.get(), 1, 1);
    ASSERT_EQ(Plan.Effect, DROPEFFECT_MOVE);
    EXPECT_EQ(Cell(G.get(), 2, 2), A);
    EXPECT_EQ(Cell(G.get(), 3, 2), B);
    EXPECT_EQ(Cell(G.get(), 2, 3), C);
    EXPECT_EQ(Cell(G.get(), 3, 3), D);
    // Only what the drop did not cover is taken away.
    EXPECT_EQ(Cell(G.get(), 1, 1), QString());
    EXPECT_EQ(Cell(G.get(), 2, 1), QString());
    EXPECT_EQ(Cell(G.get(), 1, 2), QString());
}

TEST_F(DragDrop, DroppedTextIsClippedToTheGridAndSkipsReadOnlyCells) {
    auto S = MakeGrid(QStringLiteral("s"));
    auto T = MakeGrid(QStringLiteral("t"));
    T->SetReadOnly(T->RealColIndex(4), 6, true);
    S->SetSelection(TGridRect{1, 1, 3, 3});
    DropOn(T.get(), 3, 5);
    DragFrom(S.get(), 1, 1);
    EXPECT_EQ(T->ColCount(), 5);
    EXPECT_EQ(T->RowCount(), 7);
    EXPECT_EQ(Cell(T.get(), 3, 5), QStringLiteral("s1r1"));
    EXPECT_EQ(Cell(T.get(), 4, 5), QStringLiteral("s2r1"));
    EXPECT_EQ(Cell(T.get(), 3, 6), QStringLiteral("s1r2"));
    EXPECT_EQ(Cell(T.get(), 4, 6), QStringLiteral("t5r6")); // read-only
    EXPECT_EQ(T->NumHiddenRows(), 1);
}

TEST_F(DragDrop, CellBlockTravelsWithPropertiesAndKeepsReadOnlyCells) {
    auto S = MakeGrid(QStringLiteral("s"));
    auto T = MakeGrid(QStringLiteral("t"));
    S->Navigation()->SetAllowFmtClipboard(true);
    S->GetCellProperties(S->RealColIndex(2), 1)->SetFontStyle(TFontStyles{fsBold});
    T->SetReadOnly(T->RealColIndex(2), 2, true);
    S->SetSelection(TGridRect{1, 1, 2, 2});
    DropOn(T.get(), 1, 1);
    DragFrom(S.get(), 1, 1);
    ASSERT_TRUE(Plan.Formats.contains(TExtStringGrid::CellsMimeType()));
    EXPECT_EQ(Cell(T.get(), 1, 1), QStringLiteral("s1r1"));
    EXPECT_EQ(Cell(T.get(), 2, 1), QStringLiteral("s2r1"));
    ASSERT_TRUE(T->HasCellProperties(T->RealColIndex(2), 1));
    EXPECT_TRUE(T->GetCellProperties(T->RealColIndex(2), 1)->FontStyle().Contains(fsBold));
    EXPECT_EQ(Cell(T.get(), 1, 2), QStringLiteral("s1r2"));
    EXPECT_EQ(Cell(T.get(), 2, 2), QStringLiteral("t2r2"));
    EXPECT_TRUE(T->ReadOnly(T->RealColIndex(2), 2));
    EXPECT_EQ(Cell(S.get(), 1, 1), QString());
}

TEST_F(DragDrop, CellBlockAtTheCornerIsClippedAndNeverResizesTheTarget) {
    auto S = MakeGrid(QStringLiteral("s"));
    S->Navigation()->SetAllowFmtClipboard(true);
    auto T = MakeGrid(QStringLiteral("t"));
    S->SetSelection(TGridRect{1, 1, 3, 3});
    DropOn(T.get(), 4, 6);
    DragFrom(S.get(), 1, 1);
    EXPECT_EQ(T->ColCount(), 5);
    EXPECT_EQ(T->RowCount(), 7);
    EXPECT_EQ(Cell(T.get(), 4, 6), QStringLiteral("s1r1"));
    EXPECT_EQ(Cell(T.get(), 3, 6), QStringLiteral("t4r6"));
}

TEST_F(DragDrop, DroppedCellBlockLeavesTheSelectionAndReportsIt) {
    auto S = MakeGrid(QStringLiteral("s"));
    auto T = MakeGrid(QStringLiteral("t"));
    S->Navigation()->SetAllowFmtClipboard(true);
    const TGridRect Kept{4, 5, 4, 6};
    T->SetSelection(Kept);
    std::vector<TGridRect> Reported;
    T->OnOleDropped = [&](TObject*, TGridRect R) { Reported.push_back(R); };
    S->SetSelection(TGridRect{1, 1, 2, 2});
    DropOn(T.get(), 1, 2);
    DragFrom(S.get(), 1, 1);
    ASSERT_TRUE(Plan.Formats.contains(TExtStringGrid::CellsMimeType()));
    EXPECT_EQ(Cell(T.get(), 2, 3), QStringLiteral("s2r2"));
    EXPECT_EQ(T->Selection(), Kept);
    ASSERT_EQ(Reported.size(), 1u);
    EXPECT_EQ(Reported[0], Kept);
}

// Rich text fills one cell and is taken before the plain text: it travels only for a lone
// dragged cell that holds rich text, so a moved block arrives whole.
struct TRichCase {
    const char* Name;
    QString Pressed; // text of the pressed cell (display column 1, row 1)
    int SelRight, SelBottom; // the selection runs from (1, 1)
    bool RtfOffered;
    QStringList Target; // target cells (1,1), (2,1), (1,2) afterwards
};

void PrintTo(const TRichCase& C, std::ostream* Os) { *Os << C.Name; }

class RichTextDrag : public DragDrop, public ::testing::WithParamInterface<TRichCase> {
protected:
    void TearDown() override {
        SetOleDropRTF(false);
        DragDrop::TearDown();
    }
};

TEST_P(RichTextDrag, BlockArrivesWholeAndTheSourceIsClearedOnlyThen) {
    const TRichCase& C = GetParam();
    auto S = MakeGrid(QStringLiteral("s"));
    auto T = MakeGrid(QStringLiteral("t"));
    S->DragDropSettings()->SetOleDropRTF(true);
    S->SetGridCell(1, 1, C.Pressed);
    S->SetSelection(TGridRect{1, 1, C.SelRight, C.SelBottom});
    DropOn(T.get(), 1, 1);
    DragFrom(S.get(), 1, 1);
    ASSERT_EQ(Plan.Effect, DROPEFFECT_MOVE);
    EXPECT_EQ(Plan.Formats.contains(dragdrop::RtfMimeType()), C.RtfOffered);
    EXPECT_EQ((QStringList{Cell(T.get(), 1, 1), Cell(T.get(), 2, 1), Cell(T.get(), 1, 2)}), C.Target);
    for (int r = 1; r <= C.SelBottom; ++r)
        for (int c = 1; c <= C.SelRight; ++c) EXPECT_EQ(Cell(S.get(), c, r), QString()) << c << "," << r;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RichTextDrag,
    ::testing::Values(TRichCase{"lone_rich_cell_travels_as_rich_text",
                                QStringLiteral("{\\rtf1 rich}"),
                                1,
                                1,
                                true,
                                {QStringLiteral("{\\rtf1 rich}"), QStringLiteral("t2r1"), QStringLiteral("t1r2")}},
                      TRichCase{"lone_plain_cell_travels_as_text",
                                QStringLiteral("plain"),
                                1,
                                1,
                                false,
                                {QStringLiteral("plain"), QStringLiteral("t2r1"), QStringLiteral("t1r2")}},
                      TRichCase{"block_of_plain_cells_arrives_whole",
                                QStringLiteral("plain"),
                                2,
                                2,
                                false,
                                {QStringLiteral("plain"), QStringLiteral("s2r1"), QStringLiteral("s1r2")}},
                      TRichCase{"block_with_a_rich_cell_arrives_whole",
                                QStringLiteral("{\\rtf1 rich}"),
                                2,
                                2,
                                false,
                                {QStringLiteral("rich"), QStringLiteral("s2r1"), QStringLiteral("s1r2")}}),
    [](const auto& I) { return std::string(I.param.Name); });

struct TDamageCase {
    const char* Name;
    // Made when the case runs: a grid needs the application object.
    std::function<QByteArray()> Block;
};

void PrintTo(const TDamageCase& C, std::ostream* Os) { *Os << C.Name; }

class DroppedDamagedBlock : public ::testing::TestWithParam<TDamageCase> {};

TEST_P(DroppedDamagedBlock, ChangesNothingAndIsNotTakenAsText) {
    auto T = MakeGrid(QStringLiteral("t"));
    QStringList Before;
    for (int c = 0; c < T->ColCount(); ++c) Before << Column(T.get(), c);
    QMimeData M;
    M.setData(TExtStringGrid::CellsMimeType(), GetParam().Block());
    M.setText(QStringLiteral("fallback"));
    std::vector<int> Dropped;
    T->OnOleDropped = [&](TObject*, TGridRect) { Dropped.push_back(1); };
    EXPECT_EQ(DeliverDrop(T.get(), &M, Mid(T.get(), 2, 2), {}), DROPEFFECT_NONE);
    QStringList After;
    for (int c = 0; c < T->ColCount(); ++c) After << Column(T.get(), c);
    EXPECT_EQ(After, Before);
    EXPECT_TRUE(Dropped.empty());
    EXPECT_EQ(T->RowCount(), 7);
}

namespace {
QByteArray GoodBlock() {
    auto S = MakeGrid(QStringLiteral("s"));
    TMemoryStream M;
    S->SaveRectToBinStream(TRect{1, 1, 2, 2}, &M);
    return M.Bytes();
}
} // namespace

INSTANTIATE_TEST_SUITE_P(Cases, DroppedDamagedBlock,
                         ::testing::Values(TDamageCase{"empty", [] { return QByteArray(); }},
                                           TDamageCase{"garbage", [] { return QByteArray("garbage"); }},
                                           TDamageCase{"cut_short",
                                                       [] { return GoodBlock().left(GoodBlock().size() / 2); }},
                                           TDamageCase{"counts_overwritten",
                                                       [] {
                                                           QByteArray B = GoodBlock();
                                                           for (int i = 8; i < 40 && i < B.size(); ++i)
                                                               B[i] = char(0xff);
                                                           return B;
                                                       }}),
                         [](const auto& I) { return std::string(I.param.Name); });

// ---- rows ----------------------------------------------------------------------------------------------
struct TRowCase {
    const char* Name;
    int DragTop, DragBottom; // display rows dragged (row selection)
    int DropRow;
    bool InsertRows;
    QStringList Column1; // column 1 afterwards, from row 1
    bool Disjunct = false; // only DragTop and DragBottom are selected, one by one
};

void PrintTo(const TRowCase& C, std::ostream* Os) { *Os << C.Name; }

class RowMove : public DragDrop, public ::testing::WithParamInterface<TRowCase> {};

TEST_P(RowMove, RemovesTheDraggedRowsWhereverTheyEndedUp) {
    const TRowCase& C = GetParam();
    auto G = MakeGrid();
    G->SetOptions(G->Options() << goRowSelect);
    G->DragDropSettings()->SetOleRemoveRows(true);
    G->DragDropSettings()->SetOleInsertRows(C.InsertRows);
    G->SetSelection(TGridRect{1, C.DragTop, G->ColCount() - 1, C.DragBottom});
    if (C.Disjunct) {
        G->MouseActions()->SetDisjunctRowSelect(true);
        G->SetRowSelect(C.DragTop, true);
        G->SetRowSelect(C.DragBottom, true);
    }
    DropOn(G.get(), 2, C.DropRow);
    DragFrom(G.get(), 2, C.DragTop);
    ASSERT_EQ(Plan.Effect, DROPEFFECT_MOVE);
    EXPECT_EQ(Column(G.get(), 1), C.Column1);
    EXPECT_EQ(G->NumHiddenRows(), 1);
    // The selection marks went with the removed rows: none is left on a row that stayed.
    if (C.Disjunct) EXPECT_EQ(G->RowSelectCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowMove,
    ::testing::Values(
        TRowCase{"two_rows_inserted_above_them", 4, 5, 1, true, {"c1r4", "c1r5", "c1r1", "c1r2", "c1r3", "c1r6"}},
        TRowCase{"two_rows_inserted_below_them", 1, 2, 5, true, {"c1r3", "c1r4", "c1r1", "c1r2", "c1r5", "c1r6"}},
        TRowCase{
            "rows_inserted_inside_the_dragged_ones", 2, 4, 3, true, {"c1r1", "c1r2", "c1r3", "c1r4", "c1r5", "c1r6"}},
        TRowCase{"written_over_without_insertion_keeps_the_written_rows",
                 3,
                 4,
                 4,
                 false,
                 {"c1r1", "c1r2", "c1r3", "c1r4", "c1r6"}},
        TRowCase{"rows_selected_one_by_one_inserted_above_them",
                 2,
                 5,
                 1,
                 true,
                 {"c1r2", "c1r5", "c1r1", "c1r3", "c1r4", "c1r6"},
                 true}),
    [](const auto& I) { return std::string(I.param.Name); });

TEST_F(DragDrop, EntireRowsDroppedBelowTheLastRowAreAppended) {
    auto S = MakeGrid(QStringLiteral("s"));
    auto T = MakeGrid(QStringLiteral("t"));
    T->SetRowCount(4);
    for (auto* G : {S.get(), T.get()}) G->SetOptions(G->Options() << goRowSelect);
    T->DragDropSettings()->SetOleEntireRows(true);
    T->DragDropSettings()->SetOleAppendRows(true);
    T->DragDropSettings()->SetOleInsertRows(true);
    S->SetSelection(TGridRect{1, 2, S->ColCount() - 1, 2});
    const TRect Last = T->CellRect(1, T->RowCount() - 1);
    Plan.Target = T.get();
    Plan.At = TPoint{(Last.Left + Last.Right) / 2, Last.Bottom + 20};
    DragFrom(S.get(), 2, 2);
    ASSERT_EQ(T->RowCount(), 5);
    EXPECT_EQ(Cell(T.get(), 3, 3), QStringLiteral("t4r3")); // the old last row stays
    EXPECT_EQ(Cell(T.get(), 0, 4), QStringLiteral("s1r2")); // entire rows start at column 0
    EXPECT_EQ(Cell(T.get(), 1, 4), QStringLiteral("s2r2"));
}

// ---- columns -------------------------------------------------------------------------------------------
TEST_F(DragDrop, ColumnDroppedPastTheLastColumnMovesToTheEnd) {
    auto G = MakeGrid();
    G->DragDropSettings()->SetOleColumnDragDrop(true);
    G->DragDropSettings()->SetOleColumnReorder(true);
    G->SetEnhRowColMove(false); // a press on a header may start a drag
    std::vector<std::string> Log;
    G->OnOleDropCol = [&](TObject*, int R, int C, int To) {
        Log.push_back(std::to_string(R) + ":" + std::to_string(C) + "->" + std::to_string(To));
    };
    const TRect LastHeader = G->CellRect(G->ColCount() - 1, 0);
    Plan.Target = G.get();
    Plan.At = TPoint{LastHeader.Right + 15, (LastHeader.Top + LastHeader.Bottom) / 2};
    G->SetSelection(TGridRect{1, 1, 1, 1});
    DragFrom(G.get(), 1, 0); // a header row: a column drag
    ASSERT_TRUE(Plan.Ran);
    EXPECT_EQ(Plan.Formats, QStringList{dragdrop::ColumnMimeType()});
    EXPECT_EQ(Cell(G.get(), G->ColCount() - 1, 1), QStringLiteral("c1r1"));
    EXPECT_EQ(Cell(G.get(), 1, 1), QStringLiteral("c2r1"));
    EXPECT_EQ(Log, std::vector<std::string>{"0:1->4"});
}

TEST(DragDropColumns, ColumnWithTextDeliversOnlyTheColumn) {
    auto G = MakeGrid();
    G->DragDropSettings()->SetOleColumnReorder(true);
    std::vector<std::string> Log;
    G->OnOleDrop = [&](TObject*, int, int, const QString&, bool&) { Log.push_back("text"); };
    G->OnOleDropCol = [&](TObject*, int, int C, int To) {
        Log.push_back("col " + std::to_string(C) + "->" + std::to_string(To));
    };
    auto M = MakeSourceData({}, {}, 1, {});
    M->setText(QStringLiteral("text"));
    EXPECT_NE(DeliverDrop(G.get(), M.get(), Mid(G.get(), 3, 0), {}), DROPEFFECT_NONE);
    EXPECT_EQ(Log, std::vector<std::string>{"col 1->3"});
    EXPECT_EQ(Cell(G.get(), 3, 1), QStringLiteral("c1r1"));
}

TEST(DragDropColumns, ColumnFromAColumnChooserIsShownAgainWhereItLands) {
    auto G = MakeGrid();
    TListBox List(nullptr);
    List.Items()->Add(QStringLiteral("Column 3"));
    G->DragDropSettings()->SetOleColumnDragDrop(true);
    G->OleColumnDragStart(3, 0, &List);
    auto M = MakeSourceData({}, {}, 3, {});
    DeliverDrop(G.get(), M.get(), Mid(G.get(), 1, 0), {});
    EXPECT_EQ(G->NumHiddenColumns(), 0);
    EXPECT_EQ(Cell(G.get(), 1, 2), QStringLiteral("c3r2"));
    EXPECT_EQ(List.Items()->Count(), 0);
}

TEST(DragDropColumns, ChooserColumnIsFoundWhereEarlierMovesTookIt) {
    auto G = MakeGrid();
    // Moving column 1 to the end shifts the hidden column (first real column 3) one place left.
    G->MoveColumn(1, G->ColCount() - 1);
    ASSERT_TRUE(G->IsHiddenColumn(2));
    TListBox List(nullptr);
    List.Items()->Add(QStringLiteral("Column 3"));
    G->DragDropSettings()->SetOleColumnDragDrop(true);
    G->OleColumnDragStart(3, 0, &List);
    auto M = MakeSourceData({}, {}, 3, {});
    DeliverDrop(G.get(), M.get(), Mid(G.get(), 1, 0), {});
    EXPECT_EQ(G->NumHiddenColumns(), 0);
    EXPECT_EQ(Cell(G.get(), 1, 2), QStringLiteral("c3r2"));
    // Every other column is still there once.
    QStringList Row2;
    for (int c = 0; c < G->ColCount(); ++c) Row2 << Cell(G.get(), c, 2);
    Row2.sort();
    EXPECT_EQ(Row2, (QStringList{"c0r2", "c1r2", "c2r2", "c3r2", "c4r2", "c5r2"}));
}

// ---- starting a drag -----------------------------------------------------------------------------------
TEST_F(DragDrop, ColumnsOnlyStartsNoDragFromABodyCell) {
    auto G = MakeGrid();
    G->DragDropSettings()->SetOleColumnsOnly(true);
    std::vector<bool> Allowed;
    G->OnOleDrag = [&](TObject*, int, int, const QString&, bool& Allow) { Allowed.push_back(Allow); };
    G->SetSelection(TGridRect{2, 2, 2, 2});
    DropOn(G.get(), 1, 1);
    DragFrom(G.get(), 2, 2);
    EXPECT_FALSE(Plan.Ran);
    EXPECT_EQ(Allowed, std::vector<bool>{false});
    EXPECT_EQ(Cell(G.get(), 2, 2), QStringLiteral("c2r2"));
}

TEST_F(DragDrop, AMoveOfThreePixelsStartsNoDrag) {
    auto G = MakeGrid();
    G->SetSelection(TGridRect{2, 2, 2, 2});
    DropOn(G.get(), 1, 1);
    const TPoint P = Mid(G.get(), 2, 2);
    G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(P.X, P.Y));
    G->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(P.X + 3, P.Y - 3));
    EXPECT_FALSE(Plan.Ran);
    G->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(P.X + 4, P.Y));
    EXPECT_TRUE(Plan.Ran);
}

TEST_F(DragDrop, ARefusedDragSelectsFromTheSameMove) {
    auto G = MakeGrid();
    G->OnOleDrag = [](TObject*, int, int, const QString&, bool& Allow) { Allow = false; };
    std::vector<TGridRect> Changes;
    G->OnSelectionChanged = [&](TObject*, int L, int T, int R, int B) { Changes.push_back(TGridRect{L, T, R, B}); };
    G->SetSelection(TGridRect{2, 2, 2, 2});
    DropOn(G.get(), 1, 1);
    const TPoint P = Mid(G.get(), 2, 2), To = Mid(G.get(), 3, 3);
    G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(P.X, P.Y));
    G->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(To.X, To.Y));
    EXPECT_FALSE(Plan.Ran);
    EXPECT_EQ(G->Selection(), (TGridRect{2, 2, 3, 3}));
    ASSERT_FALSE(Changes.empty());
    EXPECT_EQ(Changes.back(), (TGridRect{2, 2, 3, 3}));
}

TEST_F(DragDrop, ADropIntoTheSameGridAnnouncesTheNewSelection) {
    auto G = MakeGrid();
    std::vector<TGridRect> Changes;
    G->OnSelectionChanged = [&](TObject*, int L, int T, int R, int B) { Changes.push_back(TGridRect{L, T, R, B}); };
    G->SetSelection(TGridRect{1, 1, 1, 1});
    DropOn(G.get(), 3, 4);
    DragFrom(G.get(), 1, 1);
    ASSERT_EQ(Plan.Effect, DROPEFFECT_MOVE);
    EXPECT_EQ(Cell(G.get(), 3, 4), QStringLiteral("c1r1"));
    EXPECT_EQ(G->Selection(), (TGridRect{3, 4, 3, 4}));
    EXPECT_EQ(Changes, std::vector<TGridRect>{(TGridRect{3, 4, 3, 4})});
}

TEST(DragDropStart, NothingDroppedAnswersCancel) {
    struct TFeedbackSource : TESGDropSource {};
    TFeedbackSource Src;
    SetDragRunner([&](TDragStart& D) {
        D.Feedback(DROPEFFECT_NONE);
        return DROPEFFECT_MOVE; // whatever the system says, the last feedback refused the data
    });
    int Effect = -1;
    EXPECT_EQ(BeginTextDragDrop(&Src, nullptr, QStringLiteral("x"), {}, Effect, DROPEFFECT_COPY | DROPEFFECT_MOVE, {}),
              DRAGDROP_S_CANCEL);
    EXPECT_EQ(Effect, DROPEFFECT_NONE);
    SetDragRunner([&](TDragStart& D) {
        D.Feedback(DROPEFFECT_COPY);
        return DROPEFFECT_COPY;
    });
    EXPECT_EQ(BeginTextDragDrop(&Src, nullptr, QStringLiteral("x"), {}, Effect, DROPEFFECT_COPY | DROPEFFECT_MOVE, {}),
              DRAGDROP_S_DROP);
    EXPECT_EQ(Effect, DROPEFFECT_COPY);
    SetDragRunner({});
}

// ---- files ---------------------------------------------------------------------------------------------
struct TFileCase {
    const char* Name;
    QStringList Files;
    bool Refuse;
    bool Loaded;
};

void PrintTo(const TFileCase& C, std::ostream* Os) { *Os << C.Name; }

class DroppedFiles : public ::testing::TestWithParam<TFileCase> {};

TEST_P(DroppedFiles, OneCsvFileLoads) {
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    QList<QUrl> Urls;
    for (const QString& F : GetParam().Files) {
        QFile Out(Dir.filePath(F));
        ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
        Out.write("h1,h2\nfrom,file\n");
        Out.close();
        Urls << QUrl::fromLocalFile(Dir.filePath(F));
    }
    auto G = MakeGrid();
    if (GetParam().Refuse) G->OnOleDropFile = [](TObject*, int, int, const QString&, bool& Allow) { Allow = false; };
    QMimeData M;
    M.setUrls(Urls);
    // A file is only ever copied: a source that moves files must not lose the one read here.
    const int Effect = DeliverDrop(G.get(), &M, Mid(G.get(), 2, 2), {});
    EXPECT_EQ(Effect, GetParam().Loaded ? DROPEFFECT_COPY : DROPEFFECT_NONE);
    EXPECT_EQ(Cell(G.get(), 0, 1) == QStringLiteral("from"), GetParam().Loaded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DroppedFiles,
    ::testing::Values(TFileCase{"one_csv_file", {QStringLiteral("data.csv")}, false, true},
                      TFileCase{
                          "two_files_are_ignored", {QStringLiteral("a.csv"), QStringLiteral("b.csv")}, false, false},
                      TFileCase{"other_extension_is_ignored", {QStringLiteral("notes.txt")}, false, false},
                      TFileCase{"refused_by_the_event", {QStringLiteral("data.csv")}, true, false}),
    [](const auto& I) { return std::string(I.param.Name); });

TEST(DragDropFiles, TextIsDroppedBeforeTheFile) {
    auto G = MakeGrid();
    std::vector<std::string> Log;
    G->OnOleDrop = [&](TObject*, int R, int C, const QString&, bool&) {
        Log.push_back("text " + std::to_string(R) + "," + std::to_string(C));
    };
    G->OnOleDropFile = [&](TObject*, int, int, const QString&, bool& Allow) {
        Log.push_back("file");
        Allow = false;
    };
    QMimeData M;
    M.setText(QStringLiteral("dropped"));
    M.setUrls({QUrl::fromLocalFile(QStringLiteral("/nonexistent/x.csv"))});
    M.setText(QStringLiteral("dropped"));
    DeliverDrop(G.get(), &M, Mid(G.get(), 2, 2), {});
    EXPECT_EQ(Log, (std::vector<std::string>{"text 2,2", "file"}));
    EXPECT_EQ(Cell(G.get(), 2, 2), QStringLiteral("dropped"));
}

// ---- feedback while dragging ---------------------------------------------------------------------------
TEST(DragDropFeedback, ArrowShowsTheRowAndHidesOnLeaveOrRefusal) {
    auto G = MakeGrid();
    G->show();
    QMimeData M;
    M.setText(QStringLiteral("x"));
    EXPECT_EQ(DeliverOver(G.get(), &M, Mid(G.get(), 2, 3)), DROPEFFECT_MOVE);
    ASSERT_NE(G->ArwL(), nullptr);
    EXPECT_TRUE(G->ArwL()->isVisible());
    const TRect R = G->CellRect(2, 3);
    const QPoint At = G->mapFromGlobal(G->ArwL()->pos());
    EXPECT_EQ(At.x(), R.Left - 10);
    EXPECT_NEAR(At.y() + G->ArwL()->height() / 2, R.Top, 1);
    // A header row takes no cells.
    EXPECT_EQ(DeliverOver(G.get(), &M, Mid(G.get(), 2, 0)), DROPEFFECT_NONE);
    EXPECT_FALSE(G->ArwL()->isVisible());
    DeliverOver(G.get(), &M, Mid(G.get(), 2, 3));
    QDragLeaveEvent Leave;
    QApplication::sendEvent(G.get(), &Leave);
    EXPECT_FALSE(G->ArwL()->isVisible());
}

TEST(DragDropFeedback, DraggingOverTheRowBelowTheVisibleOnesScrollsDown) {
    auto G = MakeGrid();
    G->SetRowCount(60);
    G->SetBounds(0, 0, 400, 150);
    const int Top = G->TopRow();
    const int Below = Top + G->VisibleRowCount();
    QMimeData M;
    M.setText(QStringLiteral("x"));
    const TRect R = G->CellRect(1, Below);
    ASSERT_FALSE(R.IsEmpty());
    DeliverOver(G.get(), &M, TPoint{(R.Left + R.Right) / 2, R.Top + 2});
    EXPECT_EQ(G->TopRow(), Top + 1);
}
