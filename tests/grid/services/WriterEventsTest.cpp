// What every writer tells the grid while it works: the export hook before the rows, at each saved
// row in order and at the end, and a progress that grows to a hundred only once the last row is
// written, also when the saved rows start below the fixed ones.
#include "grid/control/ExtGrid.h"
#include "platform/rtl/Files.h"
#include "tests/support/QtPrint.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

class TNotifyGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void ExportNotification(int AState, int ARow) override {
        Log.push_back(QStringLiteral("n%1:%2").arg(AState).arg(ARow));
    }
    std::vector<QString> Log;
};

struct WriterCase {
    const char* Name;
    std::function<void(TNotifyGrid*, const QString& Dir)> Write;
    bool Progress;
};
void PrintTo(const WriterCase& C, std::ostream* Os) { *Os << C.Name; }

class WriterEvents : public ::testing::TestWithParam<WriterCase> {
protected:
    // One fixed row and column, real column 2 hidden; the fixed cells are not saved, so the saved
    // rows are 1 to 4.
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        G.SetColCount(5);
        G.SetRowCount(5);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 5; ++c) G.SetGridCell(c, r, QStringLiteral("%1.%2").arg(c).arg(r));
        G.HideColumn(2);
        G.SetSaveFixedCells(false);
        G.OnFileProgress = [this](TObject*, short P) { G.Log.push_back(QStringLiteral("p%1").arg(P)); };
    }
    QTemporaryDir Dir;
    TNotifyGrid G{nullptr};
};

TEST_P(WriterEvents, HookAtEveryRowAndProgressToAHundredAtTheLastRow) {
    GetParam().Write(&G, Dir.path() + QLatin1Char('/'));
    std::vector<QString> Hook;
    std::vector<int> Progress;
    int LastRowAt = -1, HundredAt = -1;
    for (size_t i = 0; i < G.Log.size(); ++i) {
        const QString& E = G.Log[i];
        if (E.startsWith(QLatin1Char('n'))) {
            Hook.push_back(E);
            if (E == QLatin1String("n5:4")) LastRowAt = int(i);
        } else {
            Progress.push_back(E.mid(1).toInt());
            if (Progress.back() == 100 && HundredAt < 0) HundredAt = int(i);
        }
    }
    EXPECT_EQ(Hook, (std::vector<QString>{"n0:1", "n5:1", "n5:2", "n5:3", "n5:4", "n2:-1"}));
    if (!GetParam().Progress) return;
    ASSERT_FALSE(Progress.empty());
    EXPECT_TRUE(std::is_sorted(Progress.begin(), Progress.end()));
    EXPECT_GE(Progress.front(), 0);
    EXPECT_EQ(Progress.back(), 100);
    EXPECT_GT(HundredAt, LastRowAt) << "a hundred before the last row was written";
}

INSTANTIATE_TEST_SUITE_P(
    Files, WriterEvents,
    ::testing::Values(
        WriterCase{"CellFile", [](TNotifyGrid* G, const QString& D) { G->SaveToFile(D + "c.txt"); }, true},
        WriterCase{"CellStream",
                   [](TNotifyGrid* G, const QString&) {
                       TMemoryStream S;
                       G->SaveToStream(&S);
                   },
                   false},
        WriterCase{"GridStream",
                   [](TNotifyGrid* G, const QString&) {
                       TMemoryStream S;
                       G->SaveToBinStream(&S);
                   },
                   true},
        WriterCase{"Csv", [](TNotifyGrid* G, const QString& D) { G->SaveToCSV(D + "c.csv"); }, true},
        WriterCase{"AppendCsv",
                   [](TNotifyGrid* G, const QString& D) {
                       WriteFileAtomic(D + "a.csv", "old,line\r\n");
                       G->AppendToCSV(D + "a.csv");
                   },
                   true},
        WriterCase{"Fixed",
                   [](TNotifyGrid* G, const QString& D) {
                       TIntList Pos(0, 0);
                       G->SaveToFixed(D + "f.txt", &Pos);
                   },
                   false},
        WriterCase{"PaddedReport", [](TNotifyGrid* G, const QString& D) { G->SaveToASCII(D + "r.txt"); }, false},
        WriterCase{"Html", [](TNotifyGrid* G, const QString& D) { G->SaveToHTML(D + "h.html"); }, false},
        WriterCase{"Xml",
                   [](TNotifyGrid* G, const QString& D) {
                       G->SaveToXML(D + "x.xml", QStringLiteral("l"), QStringLiteral("r"));
                   },
                   true}),
    [](const ::testing::TestParamInfo<WriterCase>& I) { return std::string(I.param.Name); });

} // namespace
