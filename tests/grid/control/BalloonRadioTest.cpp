// Balloons and radio groups: balloons on every kind of cell, radio groups stepped, chosen by
// the mouse and the keyboard, their option lists' lifetime, the balloon a refused value shows,
// and a picture of a grid with nested nodes, a radio group and a balloon.
#include "EditFixture.h"
#include "grid/control/GridBalloon.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <functional>
#include <memory>
#include <ostream>

namespace {

// The edit grid (real column 2 hidden) with real row 6 hidden too; the cells under test are in
// real column 3, shown at display column 2, and display row 6 (real row 7).
class ObjGrid : public EditGrid {
protected:
    static constexpr int RC = 3; // real column
    static constexpr int DC = 2; // its display column
    static constexpr int Row = 6;
    void SetUp() override {
        EditGrid::SetUp();
        G->HideRow(6);
        ASSERT_EQ(G->RealRowIndex(Row), 7);
    }
    void TearDown() override {
        G->OnRadioClick = nullptr;
        G->OnRadioButtonClick = nullptr;
        G->OnCheckBoxClick = nullptr;
        G->OnCellValidate = nullptr;
        EditGrid::TearDown();
    }
    TCellGraphic* Record(int RealCol, int DisplRow) {
        return dynamic_cast<TCellGraphic*>(G->GetCellGraphic(RealCol, DisplRow));
    }
    // A record of the given make in the cell.
    void Put(int RealCol, int DisplRow, const std::function<void(TCellGraphic*)>& Make) {
        auto* CG = new TCellGraphic;
        Make(CG);
        G->SetGraphicObjectEx(RealCol, DisplRow, CG);
    }
};

// ---- balloons by the kind of cell they go to ------------------------------------------------------------
enum class Holder { Empty, CheckBox, DataCheckBox, RadioButton, Button, Balloon };

struct BalloonCase {
    const char* Name;
    Holder Cell;
    TCellType KindAfterAdd;
    bool Has; // HasBalloon: a balloon object of its own
    bool Is; // IsBalloon
    TCellType KindAfterRemove;
};
void PrintTo(const BalloonCase& C, std::ostream* Os) { *Os << C.Name; }

class BalloonKinds : public ObjGrid, public ::testing::WithParamInterface<BalloonCase> {};

TEST_P(BalloonKinds, AddQueryRemove) {
    const BalloonCase& C = GetParam();
    switch (C.Cell) {
        case Holder::Empty: break;
        case Holder::CheckBox: G->AddCheckBox(RC, Row, true, false); break;
        case Holder::DataCheckBox: G->AddCheckBox(RC, Row, true, true); break;
        case Holder::RadioButton:
            Put(RC, Row, [](TCellGraphic* CG) { CG->SetRadioButton(true, false, haLeft, vaTop); });
            break;
        case Holder::Button: Put(RC, Row, [](TCellGraphic* CG) { CG->SetButton(40, 18, "Go", haLeft, vaTop); }); break;
        case Holder::Balloon: G->AddBalloon(RC, Row, "old", "old text", biNone); break;
    }
    G->AddBalloon(RC, Row, "Title", "Text", biWarning);
    EXPECT_EQ(G->GetCellType(RC, Row), C.KindAfterAdd);
    EXPECT_EQ(G->HasBalloon(RC, Row), C.Has);
    QString T, X;
    TBalloonIcon I = biNone;
    EXPECT_EQ(G->IsBalloon(RC, Row, T, X, I), C.Is);
    if (C.Is) {
        EXPECT_EQ(T, "Title");
        EXPECT_EQ(X, "Text");
        EXPECT_EQ(I, biWarning);
        if (C.KindAfterAdd == ctCheckBox) {
            // the balloon does not grey the box, nor change its state
            EXPECT_EQ(Record(RC, Row)->CellAngle(), 0);
            EXPECT_TRUE(Record(RC, Row)->CellBoolean());
        }
    }
    G->RemoveBalloon(RC, Row);
    EXPECT_EQ(G->GetCellType(RC, Row), C.KindAfterRemove);
    EXPECT_FALSE(G->IsBalloon(RC, Row, T, X, I));
    EXPECT_FALSE(G->HasBalloon(RC, Row));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BalloonKinds,
    ::testing::Values(BalloonCase{"EmptyCell", Holder::Empty, ctBalloon, true, true, ctEmpty},
                      BalloonCase{"CheckBoxKeepsItsBox", Holder::CheckBox, ctCheckBox, false, true, ctCheckBox},
                      BalloonCase{"DataCheckBox", Holder::DataCheckBox, ctDataCheckBox, false, true, ctDataCheckBox},
                      BalloonCase{"RadioButton", Holder::RadioButton, ctRadioButton, false, true, ctRadioButton},
                      BalloonCase{"ButtonTakesNone", Holder::Button, ctButton, false, false, ctButton},
                      BalloonCase{"BalloonAgainTakesTheNewTexts", Holder::Balloon, ctBalloon, true, true, ctEmpty}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(ObjGrid, ABalloonGivenAgainKeepsItsListAndTakesTheNewTexts) {
    G->AddCheckBox(RC, Row, false, false);
    G->AddBalloon(RC, Row, "first", "one", biInfo);
    TObject* List = Record(RC, Row)->CellBitmap();
    G->AddBalloon(RC, Row, "second", "two", biError);
    EXPECT_EQ(Record(RC, Row)->CellBitmap(), List);
    QString T, X;
    TBalloonIcon I = biNone;
    ASSERT_TRUE(G->IsBalloon(RC, Row, T, X, I));
    EXPECT_EQ(T, "second");
    EXPECT_EQ(X, "two");
    EXPECT_EQ(I, biError);
}

TEST_F(ObjGrid, BalloonsOutsideTheGridAreRefused) {
    EXPECT_THROW(G->AddBalloon(-1, 1, "t", "x", biInfo), Exception);
    EXPECT_THROW(G->AddBalloon(RC, G->RowCount(), "t", "x", biInfo), Exception);
    EXPECT_THROW(G->AddRadio(RC, -1, 0, 0, static_cast<TStrings*>(nullptr)), Exception);
}

TEST_F(ObjGrid, TheBalloonTipShowsTheCellsBalloon) {
    G->Balloon()->SetEnable(true);
    G->AddBalloon(RC, Row, "Range", "0 to 255", biError);
    const TRect R = G->CellRect(DC, Row);
    const auto B = G->BalloonTextAt({(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
    ASSERT_TRUE(B.Valid);
    EXPECT_EQ(B.Title, "Range");
    EXPECT_EQ(B.Text, "0 to 255");
    EXPECT_EQ(B.Icon, int(biError));
    G->Balloon()->SetEnable(false);
}

// ---- radio groups ---------------------------------------------------------------------------------------
struct StepCase {
    const char* Name;
    QStringList Options;
    int Index;
    QString Text;
    // expected
    bool Stepped;
    int IndexAfter;
    QString TextAfter;
};
void PrintTo(const StepCase& C, std::ostream* Os) { *Os << C.Name; }

class RadioStep : public ObjGrid, public ::testing::WithParamInterface<StepCase> {};

TEST_P(RadioStep, AdvancesToTheNextOption) {
    const StepCase& C = GetParam();
    TStrings* L = G->CreateRadio(RC, Row, 0, C.Index);
    L->Assign(C.Options);
    G->SetCellEx(RC, Row, C.Text);
    EXPECT_EQ(G->AdvanceRadio(RC, Row, true), C.Stepped);
    int Idx = 99;
    ASSERT_TRUE(G->GetRadioIdx(RC, Row, Idx));
    EXPECT_EQ(Idx, C.IndexAfter);
    EXPECT_EQ(G->GetCellEx(RC, Row), C.TextAfter);
}

const QStringList ABC{"a", "b", "c"};
INSTANTIATE_TEST_SUITE_P(Cases, RadioStep,
                         ::testing::Values(StepCase{"LastIndexWrapsToFirst", ABC, 2, "", true, 0, "a"},
                                           StepCase{"TextOfSecondStepsToThird", ABC, -1, "b", true, 2, "c"},
                                           StepCase{"TextNoOptionStepsToFirst", ABC, -1, "zz", true, 0, "a"},
                                           StepCase{"IndexBelowMinusOneIsKept", ABC, -2, "a", true, -2, "b"},
                                           StepCase{"NoOptionsDoNothing", {}, 0, "keep", false, 0, "keep"},
                                           StepCase{"NoOptionsByTextDoNothing", {}, -1, "keep", false, -1, "keep"}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(ObjGrid, RadioIndexAndStringsByCell) {
    TStrings* L = G->CreateRadio(RC, Row, 1, 1);
    L->Assign(ABC);
    G->SetCellEx(RC, Row, "b");
    EXPECT_TRUE(G->IsRadio(RC, Row));
    EXPECT_TRUE(G->SetRadioIdx(RC, Row, -1));
    EXPECT_EQ(G->GetCellEx(RC, Row), "") << "index -1 clears the text";
    G->AddCheckBox(1, Row, true, false);
    EXPECT_FALSE(G->SetRadioIdx(1, Row, 2));
    EXPECT_TRUE(Record(1, Row)->CellBoolean()) << "the box keeps its state";
    int Idx = 5;
    EXPECT_FALSE(G->GetRadioIdx(1, Row, Idx));
    EXPECT_EQ(Idx, 5);
    EXPECT_EQ(G->GetRadioStrings(1, Row), nullptr);
    // every cell of a merged area answers with the base cell's options
    G->MergeCells(RC, Row, 2, 1);
    EXPECT_EQ(G->GetRadioStrings(RC + 1, Row), L);
    EXPECT_TRUE(G->IsRadio(RC + 1, Row));
    G->RemoveRadio(RC, Row);
    EXPECT_FALSE(G->IsRadio(RC, Row));
}

TEST_F(ObjGrid, ARadioGroupOutlivesTheCallersList) {
    auto* Callers = new TStringList;
    Callers->Assign(ABC);
    G->AddRadio(RC, Row, 0, 0, Callers);
    delete Callers;
    ASSERT_NE(G->GetRadioStrings(RC, Row), nullptr);
    EXPECT_EQ(G->GetRadioStrings(RC, Row)->Count(), 3);
    EXPECT_TRUE(G->AdvanceRadio(RC, Row, false));
    EXPECT_EQ(G->GetCellEx(RC, Row), "b");

    // a shared list: the caller's changes show, and the group keeps it when the caller lets go
    auto Shared = std::make_shared<TStringList>();
    Shared->Assign(ABC);
    G->AddRadio(1, Row, 0, 0, std::shared_ptr<TStrings>(Shared));
    Shared->Add("d");
    EXPECT_EQ(G->GetRadioStrings(1, Row)->Count(), 4);
    std::weak_ptr<TStringList> Watch = Shared;
    Shared.reset();
    EXPECT_FALSE(Watch.expired());
    EXPECT_EQ(G->GetRadioStrings(1, Row)->Strings(3), "d");
    G->RemoveRadio(1, Row);
    EXPECT_TRUE(Watch.expired());
    QImage Img(G->Width(), G->Height(), QImage::Format_RGB32);
    G->render(&Img); // the painter reads the options
}

TEST_F(ObjGrid, AClickChoosesTheOptionUnderThePoint) {
    G->SetRowHeights(Row, 60);
    TStrings* L = G->CreateRadio(RC, Row, 0, 0);
    L->Assign(ABC);
    std::vector<std::string> Log;
    G->OnRadioClick = [&](TObject*, int C, int R, int I) {
        Log.push_back(std::to_string(C) + "," + std::to_string(R) + "," + std::to_string(I));
    };
    const TRect R = G->CellRect(DC, Row);
    const int Pitch = std::max(16, G->Canvas()->TextHeight("gh")); // the default style draws 16-pixel options
    G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(R.Left + 5, R.Top + Pitch + 3));
    G->Perform(WM_LBUTTONUP, 0, MakeLParam(R.Left + 5, R.Top + Pitch + 3));
    EXPECT_EQ(G->GetCellEx(RC, Row), "b");
    int Idx = -1;
    G->GetRadioIdx(RC, Row, Idx);
    EXPECT_EQ(Idx, 1);
    EXPECT_EQ(Log, (std::vector<std::string>{"2,6,1"})) << "the display column, as check boxes report";
    EXPECT_EQ(G->Col(), DC);
    EXPECT_EQ(G->Row(), Row);
}

TEST_F(ObjGrid, SpaceStepsARadioGroup) {
    TStrings* L = G->CreateRadio(RC, Row, 0, 0);
    L->Assign(ABC);
    std::vector<std::string> Log;
    G->OnRadioClick = [&](TObject*, int C, int R, int I) {
        Log.push_back(std::to_string(C) + "," + std::to_string(R) + "," + std::to_string(I));
    };
    G->MoveCurrentCell(DC, Row, true);
    G->Perform(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(G->GetCellEx(RC, Row), "b");
    EXPECT_EQ(Log, (std::vector<std::string>{"2,6,1"}));
}

// Radio buttons and check boxes report the same kind of column, by mouse and by Space.
TEST_F(ObjGrid, RadioButtonsAndCheckBoxesReportTheDisplayColumn) {
    Put(RC, Row, [](TCellGraphic* CG) { CG->SetRadioButton(false, false, haLeft, vaTop); });
    G->AddCheckBox(4, Row, false, false); // real column 4, display column 3
    std::vector<std::string> Log;
    G->OnRadioButtonClick = [&](TObject*, int C, int R) {
        Log.push_back("radio " + std::to_string(C) + "," + std::to_string(R));
    };
    G->OnCheckBoxClick = [&](TObject*, int C, int R, bool) {
        Log.push_back("check " + std::to_string(C) + "," + std::to_string(R));
    };
    ClickCell(DC, Row);
    ClickCell(3, Row);
    G->MoveCurrentCell(DC, Row, true);
    G->Perform(WM_KEYDOWN, VK_SPACE, 0);
    G->MoveCurrentCell(3, Row, true);
    G->Perform(WM_KEYDOWN, VK_SPACE, 0);
    // a click on a radio button reports its state through the check-box event as well
    EXPECT_EQ(Log, (std::vector<std::string>{"radio 2,6", "check 2,6", "check 3,6", "radio 2,6", "check 3,6"}));
}

// ---- the balloon of a refused value ---------------------------------------------------------------------
TEST_F(ObjGrid, ARefusedValueShowsTheInvalidEntryBalloon) {
    G->SetInvalidEntryTitle("Not a number");
    G->SetInvalidEntryText("Type digits only.");
    G->SetInvalidEntryIcon(ieError);
    G->OnCellValidate = [](TObject*, int, int, QString& Value, bool& Valid) { Valid = !Value.contains('x'); };
    OpenWithF2();
    Type("x");
    Key(VK_RETURN);
    ASSERT_TRUE(TextEditorOpen()) << "the editor stays on the refused value";
    auto* B = dynamic_cast<TGridBalloonWindow*>(G->InvalidEntryBalloon());
    ASSERT_NE(B, nullptr);
    EXPECT_TRUE(B->isVisible());
    EXPECT_EQ(B->Title(), "Not a number");
    EXPECT_EQ(B->Text(), "Type digits only.");
    EXPECT_EQ(B->Icon(), 3);
    // just below the editor's field
    const TPoint Under = Editor()->ClientToScreen(Point(0, Editor()->Height()));
    EXPECT_EQ(B->Left(), Under.X);
    EXPECT_EQ(B->Top(), Under.Y);

    Key(VK_BACK);
    Key(VK_RETURN);
    EXPECT_FALSE(B->isVisible()) << "an accepted value takes it away";
}

TEST_F(ObjGrid, WithoutTextsARefusalShowsNoBalloon) {
    G->OnCellValidate = [](TObject*, int, int, QString&, bool& Valid) { Valid = false; };
    OpenWithF2();
    Type("y");
    Key(VK_RETURN);
    EXPECT_EQ(G->InvalidEntryBalloon(), nullptr);
}

// ---- a picture --------------------------------------------------------------------------------------------
TEST_F(ObjGrid, PictureOfNodesRadioGroupAndBalloon) {
    G->SetBounds(0, 0, 460, 300);
    G->SetColWidths(0, 60);
    for (int r = 1; r < G->RowCount(); ++r) {
        G->SetGridCell(0, r, QString());
        G->SetGridCell(1, r, QString("row %1").arg(G->RealRowIndex(r)));
    }
    G->AddNode(1, 5);
    G->AddNode(2, 2);
    G->AddNode(4, 2);
    G->ContractNode(4);
    G->SetRowHeights(1, 50);
    TStrings* L = G->CreateRadio(RC, 1, 0, 1);
    L->Assign(QStringList{"Off", "On", "Auto"});
    G->AddCheckBox(4, 2, true, false);
    G->AddBalloon(4, 2, "Enabled", "The object is sent to the bus.", biInfo);
    G->Balloon()->SetEnable(true);
    const TRect Cell = G->CellRect(3, 2);
    const auto Tip = G->BalloonTextAt({(Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2});
    ASSERT_TRUE(Tip.Valid);
    TGridBalloonWindow Balloon(nullptr);
    Balloon.SetBalloon(Tip.Title, Tip.Text, Tip.Icon);
    const TRect BR = Balloon.BalloonRect(300);
    ASSERT_GT(BR.Width(), 100);
    ASSERT_GT(BR.Height(), 20);

    QImage Sheet(G->Width() + 20, G->Height() + 20 + BR.Height(), QImage::Format_RGB32);
    Sheet.fill(Qt::white);
    QImage GridImg(G->Width(), G->Height(), QImage::Format_RGB32);
    G->render(&GridImg);
    {
        QPainter P(&Sheet);
        P.drawImage(10, 10, GridImg);
    }
    TBitmap Bmp;
    Bmp.SetSize(BR.Width() + 1, BR.Height() + 1);
    Bmp.Canvas()->Brush()->SetColor(clWhite);
    Bmp.Canvas()->FillRect(Rect(0, 0, BR.Width() + 1, BR.Height() + 1));
    Balloon.PaintTo(Bmp.Canvas(), 0, 0);
    {
        QPainter P(&Sheet);
        P.drawImage(10 + Cell.Left, 10 + Cell.Bottom, Bmp.Image());
    }
    const QString Path = QDir(QCoreApplication::applicationDirPath()).filePath("grid_nodes_radio_balloon.png");
    ASSERT_TRUE(Sheet.save(Path));
    G->Balloon()->SetEnable(false);

    // the collapsed inner node hides its one row; the others show theirs
    EXPECT_EQ(G->RowCount(), 6);
    EXPECT_EQ(G->GetCellProperties(0, 3)->NodeLevel(), 2);
}

} // namespace
