// The image picker drop-down driven headless through its keys, clicks and wheel: filling it from
// an image list or a folder, opening, moving in the popup's columns, the typed-letter search,
// accepting and cancelling, and the picture in the edit part.
#include "EditorsFixture.h"
#include "grid/editors/ExtImagePickerDropDown.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace {

constexpr TColor Swatches[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF,
                               0xFFFF00, 0x808080, 0x008080, 0x800080};

class ImagePickerTest : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        FClock->Advance(100000);
        Images = new TImageList(Host.get(), 16, 16);
        TBitmap Strip(16 * 9, 16);
        for (int I = 0; I < 9; ++I) {
            Strip.Canvas()->Brush()->SetColor(Swatches[I]);
            Strip.Canvas()->FillRect(Rect(I * 16, 0, I * 16 + 16, 16));
        }
        Images->Add(&Strip, nullptr);
        P = Create<TExtImagePickerDropDown>(Host.get(), Host.get());
        P->SetBounds(60, 20, 120, 24);
        P->SetImages(Images);
        P->OnChange = [this](TObject*) { Log.push_back("change " + std::to_string(P->ItemIndex())); };
        P->OnSelect = [this](TObject*) { Log.push_back("select " + std::to_string(P->ItemIndex())); };
        P->OnDropUp = [this](TObject*, bool Cancelled) {
            Log.push_back(std::string(Cancelled ? "cancel " : "accept ") + std::to_string(P->ItemIndex()));
        };
        ShowHost();
        P->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        if (P) {
            P->OnChange = nullptr;
            P->OnSelect = nullptr;
            P->OnDropUp = nullptr;
            if (P->DroppedDown()) P->HideDropDown(true);
        }
        EditorsTest::TearDown();
    }
    void Key(Word K, QChar Ch = QChar()) {
        if (P->DroppedDown())
            P->DropDownForm()->SimulateKey(K, {}, Ch);
        else
            P->SimulateKey(K, {}, Ch);
    }
    void Open() {
        Key(VK_F4);
        ASSERT_TRUE(P->DroppedDown());
        Log.clear();
    }
    TImageList* Images = nullptr;
    TExtImagePickerDropDown* P = nullptr;
    std::vector<std::string> Log;
};

TEST_F(ImagePickerTest, ImagesOfTheListAreAppendedAsItems) {
    auto* Bare = Create<TExtImagePickerDropDown>(Host.get(), Host.get());
    Bare->AddImagesFromImageList(); // no list: nothing
    EXPECT_EQ(Bare->Items()->Count(), 0);
    Bare->Items()->Add()->SetCaption("own");
    Bare->SetImages(Images);
    Bare->AddImagesFromImageList();
    ASSERT_EQ(Bare->Items()->Count(), 10);
    EXPECT_EQ(Bare->Items()->Items(0)->ImageIndex(), -1);
    for (int I = 0; I < 9; ++I) EXPECT_EQ(Bare->Items()->Items(I + 1)->ImageIndex(), I);
}

TEST_F(ImagePickerTest, AFolderGivesOneItemPerMatchingEntryAndKeepsTheOnesThatDoNotLoad) {
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    QImage Red(8, 6, QImage::Format_RGB32);
    Red.fill(Qt::red);
    ASSERT_TRUE(Red.save(Dir.filePath("red.png")));
    QFile Bad(Dir.filePath("bad.png"));
    ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
    Bad.write("not a picture");
    Bad.close();
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.png"));
    ASSERT_TRUE(Red.save(Dir.filePath("other.bmp")));
    P->AddImagesFromFolder(Dir.path() + "/*.png", true);
    ASSERT_EQ(P->Items()->Count(), 3);
    int Loaded = 0;
    for (int I = 0; I < 3; ++I) {
        TImageItem* It = P->Items()->Items(I);
        SCOPED_TRACE(It->Caption().toStdString());
        if (It->HasPicture()) {
            ++Loaded;
            EXPECT_EQ(It->Caption(), "red.png");
            EXPECT_EQ(It->Image()->Width(), 8);
        } else {
            EXPECT_TRUE(It->Caption().isEmpty());
        }
    }
    EXPECT_EQ(Loaded, 1);
    P->AddImagesFromFolder(Dir.path() + "/*.bmp", false);
    ASSERT_EQ(P->Items()->Count(), 4);
    EXPECT_TRUE(P->Items()->Items(3)->HasPicture());
    EXPECT_TRUE(P->Items()->Items(3)->Caption().isEmpty());
}

TEST_F(ImagePickerTest, ImageIndexSelectsTheFirstItemWithItOrNone) {
    P->AddImagesFromImageList();
    P->SetImageIndex(4);
    EXPECT_EQ(P->ItemIndex(), 4);
    EXPECT_EQ(P->ImageIndex(), 4);
    P->SetImageIndex(4); // unchanged: no events
    P->SetImageIndex(42);
    EXPECT_EQ(P->ItemIndex(), -1);
    EXPECT_EQ(P->ImageIndex(), -1);
    P->SetImageIndex(42);
    P->SetItemIndex(9); // past the end
    EXPECT_EQ(Log, (std::vector<std::string>{"change 4", "select 4", "change -1", "select -1"}));
}

TEST_F(ImagePickerTest, NoImageIndexSelectsNoItemThatShowsAPictureOfItsOwn) {
    TBitmap Own(8, 8);
    TPicture Pic;
    Pic.SetGraphic(&Own);
    P->Items()->Add()->SetImage(&Pic); // a picture, no image index
    ASSERT_TRUE(P->Items()->Items(0)->HasPicture());
    P->AddImagesFromImageList();
    P->SetItemIndex(3);
    P->SetImageIndex(-1);
    EXPECT_EQ(P->ItemIndex(), -1);
    EXPECT_EQ(P->ImageIndex(), -1);
    P->SetImageIndex(0);
    EXPECT_EQ(P->ItemIndex(), 1);
}

struct ColumnKeyCase {
    const char* Name;
    int Start;
    Word Key;
    int Want;
    int Columns = 4; // what the picker is given; the selector refuses counts below 1
};
void PrintTo(const ColumnKeyCase& C, std::ostream* Os) { *Os << C.Name; }

class ImagePickerColumns : public ImagePickerTest, public ::testing::WithParamInterface<ColumnKeyCase> {};

// Nine images in four columns: rows 0-3, 4-7 and 8.
TEST_P(ImagePickerColumns, ArrowsMoveInTheGridOfTheOpenPopup) {
    const ColumnKeyCase& C = GetParam();
    P->AddImagesFromImageList();
    P->SetColumns(C.Columns);
    P->SetItemIndex(C.Start);
    Open();
    Key(C.Key);
    EXPECT_TRUE(P->DroppedDown());
    EXPECT_EQ(P->ItemIndex(), C.Want);
}

INSTANTIATE_TEST_SUITE_P(Keys, ImagePickerColumns,
                         ::testing::Values(ColumnKeyCase{"down_is_a_row_on", 1, VK_DOWN, 5},
                                           ColumnKeyCase{"down_from_the_last_row_stays", 8, VK_DOWN, 8},
                                           ColumnKeyCase{"down_past_the_items_stays", 6, VK_DOWN, 6},
                                           ColumnKeyCase{"up_is_a_row_back", 6, VK_UP, 2},
                                           ColumnKeyCase{"up_from_the_first_row_stays", 3, VK_UP, 3},
                                           ColumnKeyCase{"down_from_none_is_the_first", -1, VK_DOWN, 0},
                                           ColumnKeyCase{"right_is_the_next", 3, VK_RIGHT, 4},
                                           ColumnKeyCase{"left_is_the_previous", 3, VK_LEFT, 2},
                                           ColumnKeyCase{"end_is_the_last", 0, VK_END, 8},
                                           ColumnKeyCase{"home_is_the_first", 5, VK_HOME, 0},
                                           ColumnKeyCase{"no_columns_step_the_one_column_shown", 1, VK_DOWN, 2, 0},
                                           ColumnKeyCase{"negative_columns_do_not_turn_up_into_down", 3, VK_UP, 2, -2}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(ImagePickerTest, ThePopupHoldsEveryItemInItsColumns) {
    P->AddImagesFromImageList();
    P->SetColumns(3);
    Open();
    TExtCustomItemSelector* S = P->ItemSelector();
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(S->Items()->Count(), 9);
    EXPECT_EQ(S->Columns(), 3);
    EXPECT_FALSE(S->VertScrollBarVisible());
    EXPECT_FALSE(S->HorzScrollBarVisible());
    int W = 0, H = 0;
    S->GetSelectorPanelSize(W, H);
    EXPECT_EQ(W, 3 * (16 + 8) + 4);
    EXPECT_GE(S->ViewWidth(), W);
    EXPECT_GE(S->ViewHeight(), H);
}

TEST_F(ImagePickerTest, EnterOnTheHotItemThatIsSelectedClosesWithoutEvents) {
    P->AddImagesFromImageList();
    P->SetItemIndex(0);
    Open();
    P->MouseWheelDownHook(); // hot: the first item, the one selected
    ASSERT_EQ(P->ItemSelector()->ItemHot(), 0);
    Key(VK_RETURN);
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_EQ(Log, std::vector<std::string>{"accept 0"});
}

TEST_F(ImagePickerTest, AClickChoosesAndEscapeTakesBackTheKeysChoice) {
    P->AddImagesFromImageList();
    P->SetItemIndex(2);
    Open();
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    EXPECT_EQ(P->ItemIndex(), 4);
    Key(VK_ESCAPE);
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_EQ(P->ItemIndex(), 2);
    EXPECT_EQ(
        Log,
        (std::vector<std::string>{"change 3", "select 3", "change 4", "select 4", "change 2", "select 2", "cancel 2"}));
    Open();
    TRect R;
    P->ItemSelector()->SelectorPanel()->GetItemRect(7, R);
    Click(P->ItemSelector()->SelectorPanel(), R.Left + 2, R.Top + 2);
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_EQ(Log, (std::vector<std::string>{"change 7", "select 7", "accept 7"}));
}

TEST_F(ImagePickerTest, HidingAClosedPopupLeavesTheChoiceAlone) {
    P->AddImagesFromImageList();
    P->SetItemIndex(1);
    Open();
    Key(VK_RETURN);
    P->SetItemIndex(5);
    P->HideDropDown(true); // nothing is open: nothing to take back
    EXPECT_EQ(P->ItemIndex(), 5);
}

TEST_F(ImagePickerTest, TypedLettersFindCaptions) {
    for (const char* C : {"Cat", "Cow", "Dog", "#5"}) {
        TImageItem* It = P->Items()->Add();
        It->SetCaption(C);
        It->SetImageIndex(P->Items()->Count() - 1);
    }
    Open();
    Key('C', QChar('c'));
    Key('O', QChar('o'));
    EXPECT_EQ(P->ItemIndex(), 1);
    FClock->Advance(500);
    Key('D', QChar('d'));
    EXPECT_EQ(P->ItemIndex(), 2);
    FClock->Advance(500);
    Key(0xDE, QChar('#')); // a punctuation key's code is no character of the caption
    EXPECT_EQ(P->ItemIndex(), 3);
    EXPECT_TRUE(P->DroppedDown());
}

TEST_F(ImagePickerTest, ClosedKeysAndWheelStepThroughTheItems) {
    P->AddImagesFromImageList();
    Key(VK_UP); // from none: the first
    EXPECT_EQ(P->ItemIndex(), 0);
    Key(VK_UP);
    EXPECT_EQ(P->ItemIndex(), 0);
    Key(VK_END);
    EXPECT_EQ(P->ItemIndex(), 8);
    Key(VK_DOWN);
    EXPECT_EQ(P->ItemIndex(), 8);
    Key(VK_HOME);
    P->MouseWheelDownHook();
    EXPECT_EQ(P->ItemIndex(), 1);
    P->MouseWheelUpHook();
    EXPECT_EQ(P->ItemIndex(), 0);
    EXPECT_FALSE(P->DroppedDown());
}

TEST_F(ImagePickerTest, TheEditPartShowsTheChosenImageCentred) {
    P->AddImagesFromImageList();
    P->SetItemIndex(2);
    Host->Other->SetFocus();
    QApplication::processEvents();
    const TRect R = P->GetEditRect();
    const QImage I = P->grab().toImage();
    const int CX = R.Left + R.Width() / 2, CY = R.Top + R.Height() / 2;
    const QColor C = I.pixelColor(CX, CY);
    EXPECT_EQ(TColor(C.red() | (C.green() << 8) | (C.blue() << 16)), Swatches[2]);
    const QColor Left = I.pixelColor(R.Left + 2, CY);
    EXPECT_NE(TColor(Left.red() | (Left.green() << 8) | (Left.blue() << 16)), Swatches[2]);
}

} // namespace
