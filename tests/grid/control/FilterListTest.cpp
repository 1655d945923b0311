// The filter lists that drop from a header's filter button: opening, look, place on the screen,
// keys, clicks, cancelling, the check list's ticks; and the window that never activates.
#include "grid/control/ExtCGrid.h"
#include "grid/control/GridDropLists.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "tests/support/QtPrint.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Records the check list's choices, which the string grid leaves to the filter engine.
class FilterGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    std::vector<int> CheckSelects;

protected:
    void FilterCheckListSelect(TObject* Sender, int ItemIndex) override {
        TExtStringGrid::FilterCheckListSelect(Sender, ItemIndex);
        CheckSelects.push_back(ItemIndex);
    }
};

// A shown string grid: header row 0 with filter buttons, one fixed column, six real columns of
// which real column 2 is hidden (display column 2 shows real column 3), real row 6 hidden.
class FilterList : public ::testing::Test {
protected:
    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 560, 320);
        G = Create<FilterGrid>(Form, Form);
        G->SetBounds(0, 0, 500, 240);
        G->SetColCount(6);
        G->SetRowCount(9);
        G->SetDefaultColWidth(80);
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 9; ++r)
                G->SetGridCell(c, r, r == 0 ? QString("H%1").arg(c) : QString("%1,%2").arg(c).arg(r));
        G->HideColumn(2);
        G->HideRow(6);
        G->SetFilterDropDownRow(0);
        G->OnGetColumnFilter = [this](TObject*, int Column, TStrings* L) {
            Asked.push_back(Column);
            if (Column == 4) return; // no filter values
            L->Add("Alpha");
            L->Add("Beta=B*");
            L->Add("with blank");
        };
        G->OnFilterSelect = [this](TObject*, int Column, int ItemIndex, const QString& Name, QString& Cond) {
            Selects.push_back(std::to_string(Column) + ":" + std::to_string(ItemIndex) + ":" + Name.toStdString() +
                              ":" + Cond.toStdString());
        };
        Form->Show();
        QApplication::processEvents();
    }
    void TearDown() override {
        delete Form;
        QApplication::processEvents();
    }

    // A release on the filter button of a header cell (display column).
    TPoint Button(int DisplCol) const {
        const TRect R = G->CellRect(DisplCol, 0);
        return TPoint{R.Right - 10, R.Top + 5};
    }
    void Click(TPoint P) {
        G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(P.X, P.Y));
        G->Perform(WM_LBUTTONUP, 0, MakeLParam(P.X, P.Y));
    }
    TDropListBase* Shown() const {
        if (G->FilterDropList()->isVisible()) return G->FilterDropList();
        if (G->FilterDropCheckList()->isVisible()) return G->FilterDropCheckList();
        return nullptr;
    }
    static QStringList Items(TListBox* L) {
        QStringList S;
        for (int i = 0; i < L->Items()->Count(); ++i) S << L->Items()->Get(i);
        return S;
    }

    TForm* Form = nullptr;
    FilterGrid* G = nullptr;
    std::vector<int> Asked;
    std::vector<std::string> Selects;
};

TEST_F(FilterList, ButtonOpensThePlainListUnderTheHeaderWithTheDropDownLook) {
    G->FilterDropDown()->SetColor(TColor(0xE0FFFF));
    G->FilterDropDown()->Font()->SetName("Tahoma");
    Click(Button(2));
    TDropListBase* L = Shown();
    ASSERT_EQ(L, G->FilterDropList());
    EXPECT_EQ(G->FilterCol(), 3);
    EXPECT_EQ(Asked.back(), 3) << "the values are asked for the real column";
    EXPECT_EQ(Items(L), QStringList({"Alpha", "Beta", "with blank"}));
    EXPECT_EQ(L->Color(), TColor(0xE0FFFF));
    EXPECT_EQ(L->Font()->Name(), "Tahoma");
    const TRect R = G->CellRect(2, 0);
    const TPoint At = G->ClientToScreen(TPoint{R.Right - 16, R.Top + 16});
    EXPECT_EQ(L->geometry(), QRect(At.X, At.Y, 150, 150));
    EXPECT_TRUE(L->isWindow()) << "a popup window, not clipped by the grid";
    EXPECT_TRUE(Selects.empty());
}

TEST_F(FilterList, ColumnWithoutValuesOrAClickBesideTheButtonOpensNothing) {
    Click(Button(3)); // real column 4: no values
    EXPECT_EQ(Shown(), nullptr);
    EXPECT_EQ(G->FilterCol(), -1);
    const TRect R = G->CellRect(2, 0);
    Click(TPoint{R.Right - 20, R.Top + 5}); // left of the button
    EXPECT_EQ(Shown(), nullptr);
    Click(TPoint{R.Right - 2, R.Top + 5}); // right of it
    EXPECT_EQ(Shown(), nullptr);
    G->Perform(WM_LBUTTONUP, 0, MakeLParam(R.Right - 10, G->CellRect(2, 1).Top + 5)); // a data row
    EXPECT_EQ(Shown(), nullptr);
}

TEST_F(FilterList, ColumnWidthPutsTheListUnderTheColumnAndAutoSizeFitsTheItems) {
    G->FilterDropDown()->SetColumnWidth(true);
    Click(Button(2));
    TDropListBase* L = Shown();
    ASSERT_NE(L, nullptr);
    const TRect R = G->CellRect(2, 0);
    const TPoint At = G->ClientToScreen(TPoint{R.Left, R.Bottom});
    EXPECT_EQ(L->geometry(), QRect(At.X, At.Y, R.Width(), 150));
    Click(TPoint{5, 100}); // closes it
    ASSERT_EQ(Shown(), nullptr);

    G->FilterDropDown()->SetColumnWidth(false);
    G->FilterDropDown()->SetAutoSize(true);
    Click(Button(2));
    L = Shown();
    ASSERT_NE(L, nullptr);
    TCanvas C;
    C.Font()->Assign(L->Font());
    EXPECT_EQ(L->Width(), C.TextWidth("with blank") + 8 + 4);
    EXPECT_EQ(L->Height(), 3 * L->ItemHeight() + 4);
}

TEST_F(FilterList, ListNearTheGridsRightEdgeMovesLeftInsideTheGrid) {
    G->SetColWidths(4, 150); // the last column ends near the right edge
    const TRect R = G->CellRect(4, 0);
    ASSERT_GT(R.Right - 16 + 150, G->ClientWidth());
    Click(Button(4));
    TDropListBase* L = Shown();
    ASSERT_NE(L, nullptr);
    EXPECT_EQ(L->geometry().right() + 1, G->ClientToScreen(TPoint{G->ClientWidth(), 0}).X);
}

TEST_F(FilterList, LetterMovesTheSelectionEnterChoosesAndCloses) {
    Click(Button(2));
    TDropListBase* L = Shown();
    ASSERT_NE(L, nullptr);
    L->SetItemIndex(0);
    L->SimulateKey(Word('B'), {}, QChar('b'));
    EXPECT_EQ(L->ItemIndex(), 1);
    EXPECT_TRUE(L->isVisible());
    EXPECT_TRUE(Selects.empty());
    L->SimulateKey(VK_RETURN, {}, QChar(13));
    EXPECT_FALSE(L->isVisible());
    EXPECT_EQ(Selects, std::vector<std::string>{"3:1:Beta:B*"});
    EXPECT_EQ(G->FilterCol(), -1);
}

TEST_F(FilterList, ReleaseOnTheListChoosesTheItemUnderIt) {
    Click(Button(2));
    TDropListBase* L = Shown();
    ASSERT_NE(L, nullptr);
    L->SetItemIndex(2);
    L->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
    EXPECT_FALSE(L->isVisible());
    EXPECT_EQ(Selects, std::vector<std::string>{"3:2:with blank:with blank"});
}

TEST_F(FilterList, PressOutsideTheListClosesItWithoutChoosing) {
    Click(Button(2));
    TDropListBase* L = Shown();
    ASSERT_NE(L, nullptr);
    L->SetItemIndex(1);
    QMouseEvent Press(QEvent::MouseButtonPress, QPointF(-30, -30), L->mapToGlobal(QPointF(-30, -30)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(L, &Press);
    EXPECT_FALSE(L->isVisible());
    EXPECT_EQ(G->FilterCol(), -1);
    EXPECT_TRUE(Selects.empty());
    // A press inside only works the list.
    Click(Button(2));
    ASSERT_EQ(Shown(), L);
    QMouseEvent Inside(QEvent::MouseButtonPress, QPointF(5, 5), L->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(L, &Inside);
    EXPECT_TRUE(L->isVisible());
    EXPECT_EQ(G->FilterCol(), 3);
}

TEST_F(FilterList, ReleaseElsewhereOnTheGridClosesTheOpenList) {
    Click(Button(2));
    ASSERT_NE(Shown(), nullptr);
    Click(Button(2)); // the open column's own button: closes
    EXPECT_EQ(Shown(), nullptr);
    EXPECT_EQ(G->FilterCol(), -1);
    Click(Button(2));
    ASSERT_NE(Shown(), nullptr);
    Click(Button(1)); // another column's button: its list
    EXPECT_EQ(G->FilterCol(), 1);
    ASSERT_NE(Shown(), nullptr);
    Click(TPoint{G->CellRect(1, 3).Left + 5, G->CellRect(1, 3).Top + 5});
    EXPECT_EQ(Shown(), nullptr);
    EXPECT_EQ(G->FilterCol(), -1);
    EXPECT_TRUE(Selects.empty());
}

TEST_F(FilterList, FilterButtonDoesNotSort) {
    G->SortSettings()->SetShow(true);
    std::vector<int> Sorted;
    G->OnClickSort = [&](TObject*, int Col) { Sorted.push_back(Col); };
    Click(Button(2));
    EXPECT_NE(Shown(), nullptr);
    EXPECT_TRUE(Sorted.empty());
    const TRect R = G->CellRect(1, 0);
    Click(TPoint{R.Left + 10, R.Top + 5}); // the header text sorts
    EXPECT_EQ(Sorted, std::vector<int>{1});
}

TEST_F(FilterList, CheckListTicksTheColumnsConditionsAndStaysOpenWhileTicking) {
    G->SetFilterDropDownCheck(true);
    TFilterData* A = G->Filter()->Add();
    A->SetColumn(3);
    A->SetCondition("\"with blank\"");
    TFilterData* B = G->Filter()->Add();
    B->SetColumn(1); // another column's condition ticks nothing here
    B->SetCondition("Alpha");
    Click(Button(2));
    TDropListBase* L = Shown();
    ASSERT_EQ(L, G->FilterDropCheckList());
    TDropCheckList* C = G->FilterDropCheckList();
    EXPECT_FALSE(C->Checked(0));
    EXPECT_FALSE(C->Checked(1));
    EXPECT_TRUE(C->Checked(2));
    EXPECT_TRUE(G->CheckSelects.empty()) << "ticks made on opening choose nothing";
    C->Native()->item(0)->setCheckState(Qt::Checked); // as the user ticks it
    EXPECT_EQ(G->CheckSelects, std::vector<int>{-1});
    C->SimulateKey(VK_RETURN, {}, QChar(13));
    C->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
    EXPECT_TRUE(C->isVisible());
    EXPECT_TRUE(Selects.empty());
    EXPECT_THROW(C->Checked(3), EListError);
}

TEST_F(FilterList, ColumnGridAppliesItsOwnEntryFromTheList) {
    auto* CG = Create<TExtColumnGrid>(Form, Form);
    CG->SetBounds(0, 0, 400, 200);
    CG->SetColCount(4);
    CG->SetRowCount(5);
    CG->HideColumn(1);
    CG->Columns()->Items(2)->Filter()->Add("Big=>1000");
    CG->Columns()->Items(2)->Filter()->Add("Small=<10");
    QApplication::processEvents();
    const TRect R = CG->CellRect(1, 0); // display column 1 shows real column 2
    CG->Perform(WM_LBUTTONUP, 0, MakeLParam(R.Right - 10, R.Top + 5));
    TDropList* L = CG->FilterDropList();
    ASSERT_TRUE(L->isVisible());
    EXPECT_EQ(Items(L), QStringList({"Big", "Small"}));
    L->SetItemIndex(1);
    L->SimulateKey(VK_RETURN, {}, QChar(13));
    ASSERT_EQ(CG->Filter()->Count(), 1);
    EXPECT_EQ(CG->Filter()->Items(0)->Column(), 2);
    EXPECT_EQ(CG->Filter()->Items(0)->Condition(), "<10");
    EXPECT_EQ(CG->FilterCol(), -1);
}

TEST_F(FilterList, OpenListPicture) {
    G->FilterDropDown()->SetColor(TColor(0xF0FFFF));
    Click(Button(2));
    TDropListBase* L = Shown();
    ASSERT_NE(L, nullptr);
    L->SetItemIndex(1);
    QApplication::processEvents();
    QImage Img(Form->width(), Form->height(), QImage::Format_RGB32);
    Img.fill(Qt::white);
    QPainter P(&Img);
    P.drawImage(0, 0, Form->grab().toImage());
    P.drawImage(Form->mapFromGlobal(L->geometry().topLeft()), L->grab().toImage());
    P.end();
    const QString Path = QCoreApplication::applicationDirPath() + "/grid_filter_list.png";
    EXPECT_TRUE(Img.save(Path));
    // The list stands right of the button's left edge, below the header's top.
    const QPoint Corner = Form->mapFromGlobal(L->geometry().topLeft());
    const TRect R = G->CellRect(2, 0);
    EXPECT_EQ(Corner, QPoint(R.Right - 16, R.Top + 16));
}

// ---- placement inside the screen's work area ------------------------------------------------------------
struct PlaceCase {
    const char* Name;
    TRect Wanted;
    int FlipTop;
    TRect Expected;
};
void PrintTo(const PlaceCase& C, std::ostream* Os) { *Os << C.Name; }

class PlaceInArea : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceInArea, StaysInsideOnEverySide) {
    const TRect Area = Bounds(0, 20, 800, 560); // a panel above and below
    const PlaceCase& C = GetParam();
    const TRect R = PlaceInWorkArea(C.Wanted, C.FlipTop, Area);
    EXPECT_EQ(R.Left, C.Expected.Left);
    EXPECT_EQ(R.Top, C.Expected.Top);
    EXPECT_EQ(R.Width(), C.Wanted.Width());
    EXPECT_EQ(R.Height(), C.Wanted.Height());
}

INSTANTIATE_TEST_SUITE_P(
    Edges, PlaceInArea,
    ::testing::Values(PlaceCase{"inside", Bounds(100, 100, 150, 150), 84, Bounds(100, 100, 150, 150)},
                      PlaceCase{"past_right", Bounds(700, 100, 150, 150), 84, Bounds(650, 100, 150, 150)},
                      PlaceCase{"past_left", Bounds(-40, 100, 150, 150), 84, Bounds(0, 100, 150, 150)},
                      PlaceCase{"past_top", Bounds(100, 5, 150, 150), 0, Bounds(100, 20, 150, 150)},
                      PlaceCase{"past_bottom_opens_above", Bounds(100, 500, 150, 150), 484, Bounds(100, 334, 150, 150)},
                      PlaceCase{"past_bottom_no_room_above", Bounds(100, 500, 150, 150), 100,
                                Bounds(100, 430, 150, 150)},
                      PlaceCase{"bottom_right_corner", Bounds(760, 560, 150, 150), 544, Bounds(650, 394, 150, 150)},
                      PlaceCase{"taller_than_the_area", Bounds(100, 100, 150, 700), 84, Bounds(100, 20, 150, 700)}),
    [](const ::testing::TestParamInfo<PlaceCase>& I) { return std::string(I.param.Name); });

TEST(PlaceInAreaEmpty, EmptyAreaLeavesThePlace) {
    const TRect R = PlaceInWorkArea(Bounds(-5, -5, 10, 10), 0, TRect{});
    EXPECT_EQ(R.Left, -5);
    EXPECT_EQ(R.Top, -5);
}

// ---- the window that never activates --------------------------------------------------------------------
TEST(NoActiveForm, AnswersNoActivationAndShowsWithoutTakingTheActiveWindow) {
    auto Owner = std::unique_ptr<TForm>(Create<TForm>(nullptr));
    Owner->SetBounds(0, 0, 200, 100);
    Owner->Show();
    QApplication::processEvents();
    auto* F = new TNoActiveForm(nullptr);
    std::unique_ptr<TNoActiveForm> Guard(F);
    EXPECT_EQ(F->Perform(WM_MOUSEACTIVATE, 0, 0), TNoActiveForm::NoActivate);
    EXPECT_EQ(F->Perform(WM_ACTIVATE, 1, 0), 1);
    EXPECT_FALSE(F->isEnabled());
    EXPECT_TRUE(F->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(F->testAttribute(Qt::WA_ShowWithoutActivating));
    QWidget* WasActive = QApplication::activeWindow();
    F->setGeometry(-60, -40, 100, 50); // sticks out at the top left
    F->Show();
    QApplication::processEvents();
    EXPECT_TRUE(F->isVisible());
    EXPECT_EQ(QApplication::activeWindow(), WasActive);
    const TRect Area = WorkAreaAt(TPoint{0, 0});
    EXPECT_EQ(F->geometry().topLeft(), QPoint(Area.Left, Area.Top));
    F->SetVisible(false);
    EXPECT_FALSE(F->isVisible());
}

} // namespace
