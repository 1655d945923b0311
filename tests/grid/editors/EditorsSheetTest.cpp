// Writes a sheet of the cell editors in their looks, and the date picker with its calendar open,
// as PNG files beside the build for a person to look at, and probes a few of their pixels.
#include "grid/editors/ESGEdit.h"
#include "grid/editors/EsgDateTimePicker.h"
#include "grid/editors/ExtCalculatorDropdown.h"
#include "grid/editors/ExtColorPickerDropDown.h"
#include "grid/editors/ExtDateTimePicker.h"
#include "grid/editors/ExtDetailDropDown.h"
#include "grid/editors/ExtGridDropDown.h"
#include "grid/editors/ExtImagePickerDropDown.h"
#include "grid/editors/ExtMemoDropDown.h"
#include "grid/editors/ExtMultiColumnDropDown.h"
#include "grid/editors/ExtTimePickerDropDown.h"
#include "grid/editors/ExtTrackBarDropDown.h"
#include "grid/editors/esgspin.h"
#include "platform/gui/Themes.h"
#include "tests/grid/editors/EditorsFixture.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QPainter>

#include <functional>

#ifndef EDITORS_SHEET_DIR
#define EDITORS_SHEET_DIR "."
#endif

namespace {

TColor At(const QImage& I, int X, int Y) {
    const QRgb P = I.pixel(X, Y);
    return RGB(qRed(P), qGreen(P), qBlue(P));
}

class EditorsSheetTest : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        FThemes = ThemesActive();
        SetThemesActive(true);
        Host->SetBounds(40, 40, 420, 600);
        Host->Other->SetBounds(10, 570, 80, 21); // below the sheet's rows
    }
    void TearDown() override {
        SetThemesActive(FThemes);
        EditorsTest::TearDown();
    }
    template <class T>
    T* Add(const QString& Name, int Width = 160) {
        T* C = Create<T>(Host.get(), Host.get());
        C->SetBounds(150, 10 + int(Rows.size()) * 34, Width, 24);
        Rows.push_back({Name, C});
        return C;
    }
    // Opens each drop-down's popup with F4 and grabs it, then closes it again. Prepare, when
    // given, acts on the control before F4 (Open false) and once its popup is open (Open true).
    void GrabPopups(std::initializer_list<TExtCustomDropDown*> Ds, std::vector<QImage>& Popups,
                    const std::function<void(TExtCustomDropDown*, bool Open)>& Prepare = {}) {
        for (TExtCustomDropDown* D : Ds) {
            D->SetFocus();
            QApplication::processEvents();
            if (Prepare) Prepare(D, false);
            D->SimulateKey(VK_F4);
            QApplication::processEvents();
            ASSERT_TRUE(D->DroppedDown());
            if (Prepare) Prepare(D, true);
            QApplication::processEvents();
            Popups.push_back(D->DropDownForm()->grab().toImage());
            D->HideDropDown(true);
        }
    }
    // The closed controls with their names above, each popup below, named, side by side;
    // saved as Name under the build tree.
    void SaveSheet(const std::vector<QImage>& Popups, const QString& Name) {
        Host->Other->SetFocus();
        QApplication::processEvents();
        const int RowH = 34;
        int W = 420, H = 20 + int(Rows.size()) * RowH + 10, X = 10, PopH = 0;
        for (const QImage& I : Popups) {
            PopH = std::max(PopH, I.height());
            X += I.width() + 10;
        }
        W = std::max(W, X);
        QImage Sheet(W, H + PopH + 30, QImage::Format_RGB32);
        Sheet.fill(ToQColor(clBtnFace));
        QPainter P(&Sheet);
        P.drawImage(0, 0, Host->grab(QRect(0, 0, 420, H)).toImage());
        for (size_t I = 0; I < Rows.size(); ++I) P.drawText(8, 10 + int(I) * RowH + 16, Rows[I].Name);
        X = 10;
        for (size_t I = 0; I < Popups.size(); ++I) {
            P.drawText(X, H + 14, Rows[I].Name);
            P.drawImage(X, H + 24, Popups[I]);
            X += Popups[I].width() + 10;
        }
        P.end();
        ASSERT_TRUE(Sheet.save(QStringLiteral(EDITORS_SHEET_DIR "/") + Name));
    }
    struct TRow {
        QString Name;
        TControl* Control;
    };
    std::vector<TRow> Rows;
    bool FThemes = true;
};

TEST_F(EditorsSheetTest, SheetOfEditorsClosedAndPickerOpen) {
    auto* SpinInt = Add<TEsgSpinEdit>("spin integer, classic");
    SpinInt->SetValue(42);
    auto* SpinFloat = Add<TEsgSpinEdit>("spin float, themed");
    SpinFloat->SetIsWinXP(true);
    SpinFloat->SetSpinType(sptFloat);
    SpinFloat->SetPrecision(2);
    SpinFloat->SetFloatValue(3.75);
    auto* SpinDate = Add<TEsgSpinEdit>("spin date");
    SpinDate->SetSpinType(sptDate);
    SpinDate->SetDateValue(EncodeDate(2024, 2, 29));
    auto* SpinTime = Add<TEsgSpinEdit>("spin time, across");
    SpinTime->SetSpinType(sptTime);
    SpinTime->SetTimeValue(EncodeTime(13, 5, 0, 0));
    SpinTime->SetDirection(spHorizontal);
    auto* SpinCustom = Add<TEsgSpinEdit>("spin custom colours");
    SpinCustom->Button()->ButtonColor = 0xF0D0B0;
    SpinCustom->Button()->ButtonColorHot = 0xF8E0C8;
    SpinCustom->SetValue(7);
    auto* Btn = Add<TEsgEditBtn>("edit button, classic");
    Btn->SetButtonCaption("...");
    Btn->SetText("C:/data/file.txt");
    auto* BtnXP = Add<TEsgEditBtn>("edit button, themed");
    BtnXP->SetIsWinXP(true);
    BtnXP->SetButtonCaption("...");
    auto* BtnCustom = Add<TEsgEditBtn>("edit button, colours");
    BtnCustom->Button()->ButtonColor = 0xB0D0F0;
    BtnCustom->SetButtonCaption("?");
    auto* Unit = Add<TEsgUnitEditBtn>("unit editor");
    Unit->Units()->Add("m");
    Unit->Units()->Add("km");
    Unit->SetTextAndUnit("12.5 km");
    auto* Date = Add<TEsgDateTimePicker>("date picker");
    Date->SetDateTime(EncodeDate(2024, 2, 29));
    auto* Metro = Add<TEsgDateTimePicker>("picker, Metro");
    Metro->SetDateTime(EncodeDate(2024, 2, 29));
    Metro->SetMetroStyle(true);
    Metro->SetBorderColor(0xA06030);
    Metro->FButtonColor = 0xF0D0B0;
    Metro->FButtonTextColor = 0x703000;
    auto* Disabled = Add<TEsgDateTimePicker>("picker, disabled");
    Disabled->SetMetroStyle(true);
    Disabled->SetEnabled(false);
    auto* Both = Add<TExtDateTimePicker>("date and time", 200);
    Both->SetDateTime(EncodeDate(2024, 2, 29) + EncodeTime(9, 30, 0, 0));
    auto* Labelled = Add<TExtDateTimePicker>("", 200);
    Labelled->SetKind(dkDate);
    Labelled->SetDateTime(EncodeDate(2025, 7, 14));
    Labelled->SetLabelCaption("Due date");
    Labelled->SetLabelPosition(lpLeftCenter);
    auto* Track = Add<TExtTrackBarDropDown>("track bar drop-down");
    Track->SetPosition(7);
    auto* Memo = Add<TExtMemoDropDown>("memo drop-down");
    Memo->SetEditorEnabled(false);
    {
        TStringList L;
        L.Add("First line of the note");
        L.Add("second line");
        Memo->SetMemoText(&L);
    }
    ShowHost();
    Labelled->SetFocus();
    QApplication::processEvents();

    // Closed: every row with its name.
    const int RowH = 34;
    QImage Sheet(420, 20 + int(Rows.size()) * RowH + 240 + 2 * 170, QImage::Format_RGB32);
    Sheet.fill(ToQColor(clBtnFace));
    QPainter P(&Sheet);
    P.drawImage(0, 0, Host->grab().toImage());
    for (size_t I = 0; I < Rows.size(); ++I)
        if (!Rows[I].Name.isEmpty()) P.drawText(8, 10 + int(I) * RowH + 16, Rows[I].Name);

    // Open: the date picker with its calendar.
    Date->DropDown();
    QApplication::processEvents();
    ASSERT_TRUE(Date->DroppedDown());
    QWidget* Popup = Date->Native()->calendarWidget()->window();
    const QImage Cal = Popup->grab().toImage();
    const int OpenY = 20 + int(Rows.size()) * RowH;
    P.drawText(8, OpenY + 12, "date picker, open");
    P.drawImage(150, OpenY, Host->grab(QRect(Date->Left(), Date->Top(), Date->Width(), Date->Height())).toImage());
    P.drawImage(150, OpenY + 26, Cal);
    Date->CloseUp();
    QApplication::processEvents();

    // Open: the track bar and the memo drop-downs, each with its popup under its edit.
    int KindY = OpenY + 240;
    for (TExtCustomDropDown* K : {static_cast<TExtCustomDropDown*>(Track), static_cast<TExtCustomDropDown*>(Memo)}) {
        K->ShowDropDown();
        QApplication::processEvents();
        ASSERT_TRUE(K->DroppedDown());
        P.drawText(8, KindY + 12, K == Track ? "track bar, open" : "memo, open");
        P.drawImage(150, KindY, Host->grab(QRect(K->Left(), K->Top(), K->Width(), K->Height())).toImage());
        P.drawImage(150, KindY + K->Height() - 1, K->DropDownForm()->grab().toImage());
        K->HideDropDown(true);
        QApplication::processEvents();
        KindY += 170;
    }
    P.end();
    const QString Path = QStringLiteral(EDITORS_SHEET_DIR "/editors_sheet.png");
    ASSERT_TRUE(Sheet.save(Path));

    // Probes: the spin buttons in their colour, the Metro button, the unit beside the number and
    // a calendar with something drawn in it.
    const QImage Host_ = Host->grab().toImage();
    TExtTimerSpeedButton* Up = SpinCustom->Button()->UpButton();
    const TPoint UpAt = Point(SpinCustom->Left() + SpinCustom->Button()->Left() + Up->Left() + 1,
                              SpinCustom->Top() + SpinCustom->Button()->Top() + Up->Top() + 1);
    EXPECT_EQ(At(Host_, UpAt.X, UpAt.Y), TColor(0xF0D0B0));
    TExtTimerSpeedButton* Down = SpinCustom->Button()->DownButton();
    EXPECT_EQ(At(Host_, UpAt.X, SpinCustom->Top() + SpinCustom->Button()->Top() + Down->Top() + Down->Height() - 2),
              TColor(0xF0D0B0));
    EXPECT_EQ(At(Host_, Metro->Left() + Metro->Width() - 4, Metro->Top() + 3), TColor(0xF0D0B0));
    EXPECT_EQ(At(Host_, Metro->Left(), Metro->Top() + 5), TColor(0xA06030));
    const TRect UR = Unit->UnitRect();
    int Dark = 0;
    for (int Y = UR.Top; Y < UR.Bottom - 2; ++Y)
        for (int X = UR.Left; X < UR.Right; ++X) Dark += qGray(Host_.pixel(Unit->Left() + X, Unit->Top() + Y)) < 100;
    EXPECT_GT(Dark, 5) << "the unit is drawn beside the number";
    EXPECT_GT(Cal.width(), 100);
    int CalDark = 0;
    for (int Y = 0; Y < Cal.height(); Y += 2)
        for (int X = 0; X < Cal.width(); X += 2) CalDark += qGray(Cal.pixel(X, Y)) < 100;
    EXPECT_GT(CalDark, 20);
}

// The colour picker in its four popup styles, the image picker and the detail drop-down, each
// with its popup open.
TEST_F(EditorsSheetTest, SheetOfPickersWithTheirPopupsOpen) {
    auto* List = Add<TExtColorPickerDropDown>("colour list");
    List->AddDefaultColors();
    List->SetSelectedColor(0x0000FF);
    List->SetColorValueText(cvtHTML);
    auto* Discrete = Add<TExtColorPickerDropDown>("colour palette");
    Discrete->SetColorSelectionStyle(csDiscrete);
    Discrete->SetSelectedColor(0x00C0C0);
    Discrete->SetColorValueText(cvtHTML);
    auto* Cube = Add<TExtColorPickerDropDown>("colour cube");
    Cube->SetColorSelectionStyle(csColorCube);
    Cube->SetSelectedColor(0xFF66FF);
    Cube->SetColorValueText(cvtRGB);
    auto* Spectrum = Add<TExtColorPickerDropDown>("colour spectrum");
    Spectrum->SetColorSelectionStyle(csSpectrum);
    Spectrum->SetSelectedColor(0x3399FF);
    Spectrum->SetColorValueText(cvtHex);
    auto* Images = new TImageList(Host.get(), 16, 16);
    TBitmap Strip(16 * 6, 16);
    const TColor Swatch[] = {0x3050E0, 0x30B050, 0xE07030, 0x20C0E0, 0xA040A0, 0x707070};
    for (int I = 0; I < 6; ++I) {
        Strip.Canvas()->Brush()->SetColor(Swatch[I]);
        Strip.Canvas()->Pen()->SetColor(clBlack);
        Strip.Canvas()->Ellipse(Rect(I * 16 + 1, 1, I * 16 + 15, 15));
    }
    Images->Add(&Strip, nullptr);
    auto* Image = Add<TExtImagePickerDropDown>("image picker", 80);
    Image->SetImages(Images);
    Image->AddImagesFromImageList();
    const char* Names[] = {"Red", "<b>Green</b>", "Blue", "Amber", "Violet", "<i>Grey</i>"};
    for (int I = 0; I < 6; ++I) Image->Items()->Items(I)->SetCaption(Names[I]);
    Image->SetColumns(2);
    Image->SetItemIndex(3);
    auto* Detail = Add<TExtDetailDropDown>("detail drop-down", 200);
    Detail->SetImages(Images);
    Detail->SetItemHeight(36);
    const char* Details[][2] = {{"Red", "warm, <b>first</b> of three"},
                                {"Green", "the <i>middle</i> one"},
                                {"Blue", ""},
                                {"Amber", "a long note that runs past the right edge of the row"}};
    for (int I = 0; I < 4; ++I) {
        TDetailItem* It = Detail->Items()->Add();
        It->SetCaption(Details[I][0]);
        It->SetNotes(Details[I][1]);
        It->SetImageIndex(I);
    }
    Detail->SetItemIndex(1);
    ShowHost();

    std::vector<QImage> Popups;
    ASSERT_NO_FATAL_FAILURE(
        GrabPopups({List, Discrete, Cube, Spectrum, Image, Detail}, Popups, [&](TExtCustomDropDown* D, bool Open) {
            if (!Open) return;
            if (D == List) D->DropDownForm()->SimulateKey(VK_DOWN); // Lime, after Red
            if (D == Image) Image->MouseWheelDownHook(); // a hot item
        }));
    ASSERT_NO_FATAL_FAILURE(SaveSheet(Popups, QStringLiteral("pickers_sheet.png")));

    // Probes: the list popup has the sixteen entries and no horizontal scroll bar; the box of
    // the chosen colour in the edit part is red.
    EXPECT_EQ(List->ItemSelector()->Items()->Count(), 16);
    EXPECT_FALSE(List->ItemSelector()->HorzScrollBarVisible());
    EXPECT_FALSE(Image->ItemSelector()->HorzScrollBarVisible());
    EXPECT_FALSE(Detail->ItemSelector()->HorzScrollBarVisible());
    const QImage Closed = Host->grab().toImage();
    EXPECT_EQ(At(Closed, List->Left() + 10, List->Top() + 1 + List->Height() / 2), TColor(0x0000FF));
    EXPECT_GT(Popups[0].height(), 150);
    EXPECT_GT(Popups[2].width(), 150); // the cube
}

// The calculator and the time picker (plain, with the standard picker, and in a style), each
// with its popup open.
TEST_F(EditorsSheetTest, SheetOfCalculatorAndTimePickersWithTheirPopupsOpen) {
    auto* Calc = Add<TExtCalculatorDropdown>("calculator");
    Calc->SetValue(1234.5);
    auto* Time = Add<TExtTimePickerDropDown>("time picker", 100);
    Time->SetTime(EncodeTime(10, 9, 30, 0));
    auto* WithPicker = Add<TExtTimePickerDropDown>("with time field", 100);
    WithPicker->SetShowTimePicker(true);
    WithPicker->SetTime(EncodeTime(15, 45, 0, 0));
    auto* Styled = Add<TExtTimePickerDropDown>("Office 2003 blue", 100);
    Styled->SetComponentStyle(tsOffice2003Blue);
    Styled->SetTime(EncodeTime(20, 35, 0, 0));
    ShowHost();

    std::vector<QImage> Popups;
    ASSERT_NO_FATAL_FAILURE(GrabPopups({Calc, Time, WithPicker, Styled}, Popups));
    ASSERT_NO_FATAL_FAILURE(SaveSheet(Popups, QStringLiteral("calculator_clock_sheet.png")));

    // Probes: the pad is as wide as asked and 150 high; the clocks are square faces with their
    // centre cap; the time field sits below the clock; the style colours the face.
    EXPECT_EQ(Popups[0].width(), 230);
    EXPECT_GE(Popups[0].height(), 150);
    EXPECT_EQ(Popups[1].width(), 170);
    EXPECT_GT(Popups[2].height(), Popups[1].height() + 10);
    auto Count = [](const QImage& I, TColor Want) {
        int N = 0;
        for (int Y = 0; Y < I.height(); ++Y)
            for (int X = 0; X < I.width(); ++X) N += At(I, X, Y) == Want;
        return N;
    };
    // The default look is the Office 2007 Luna one: dark blue hands on a pale face.
    EXPECT_GT(Count(Popups[1], RGB(8, 55, 114)), 60);
    EXPECT_GT(Count(Popups[1], RGB(227, 239, 255)), 5000);
    EXPECT_GT(Count(Popups[3], RGB(175, 210, 255)), 5000);
    EXPECT_EQ(Calc->Text(), QStringLiteral("1234.50"));
}

// The multi-column drop-down with its list open, plain and in a style, one with an image column.
TEST_F(EditorsSheetTest, SheetOfMultiColumnDropDownsWithTheirListsOpen) {
    auto* Images = new TImageList(Host.get(), 16, 16);
    TBitmap Strip(16 * 3, 16);
    const TColor Swatch[] = {0x3050E0, 0x30B050, 0xE07030};
    for (int I = 0; I < 3; ++I) {
        Strip.Canvas()->Brush()->SetColor(Swatch[I]);
        Strip.Canvas()->Pen()->SetColor(clBlack);
        Strip.Canvas()->Ellipse(Rect(I * 16 + 1, 1, I * 16 + 15, 15));
    }
    Images->Add(&Strip, nullptr);
    auto Fill = [&](TExtMultiColumnDropDown* D, bool WithImages) {
        if (WithImages) {
            D->SetImages(Images);
            auto* Pic = D->Columns()->Add();
            Pic->SetColumnType(ExtMultiColumnDropDown::ctImage);
            Pic->SetWidth(26);
        }
        D->Columns()->Add()->SetHeader("Name");
        auto* Note = D->Columns()->Add();
        Note->SetHeader("Note");
        Note->SetWidth(120);
        Note->SetEllipsis(true);
        auto* Qty = D->Columns()->Add();
        Qty->SetHeader("Qty");
        Qty->SetWidth(40);
        Qty->SetAlignment(taRightJustify);
        const char* Rows[][3] = {{"Apple", "red, from the north orchard", "12"},
                                 {"Banana", "yellow", "7"},
                                 {"Cherry", "dark red, a long note that is cut", "120"},
                                 {"Damson", "", "3"},
                                 {"Elderberry", "for the syrup", "40"}};
        int N = 0;
        for (auto& R : Rows) {
            auto* It = D->Items()->Add();
            if (WithImages) It->Text() << "";
            It->Text() << R[0] << R[1] << R[2];
            It->SetImageIndex(N++ % 3);
        }
        D->SetLookupColumn(WithImages ? 1 : 0);
        D->EndUpdate();
        D->SetItemIndex(2);
    };
    auto* Plain = Add<TExtMultiColumnDropDown>("multi-column list", 200);
    Fill(Plain, false);
    auto* Styled = Add<TExtMultiColumnDropDown>("Office 2003 blue, images", 200);
    Styled->SetComponentStyle(tsOffice2003Blue);
    Fill(Styled, true);
    ShowHost();

    std::vector<QImage> Popups;
    ASSERT_NO_FATAL_FAILURE(GrabPopups({Plain, Styled}, Popups));
    ASSERT_NO_FATAL_FAILURE(SaveSheet(Popups, QStringLiteral("multicolumn_sheet.png")));

    // Probes: the edit shows the chosen item; the styled header starts in its top colour.
    EXPECT_EQ(Plain->Text(), QStringLiteral("Cherry"));
    EXPECT_EQ(Styled->Text(), QStringLiteral("Cherry"));
    int Blue = 0; // the widest line near the gradient's first colour
    for (int Y = 0; Y < std::min(80, Popups[1].height()); ++Y) {
        int Line = 0;
        for (int X2 = 0; X2 < Popups[1].width(); ++X2) {
            const QRgb Px = Popups[1].pixel(X2, Y);
            Line += std::abs(qRed(Px) - 89) + std::abs(qGreen(Px) - 135) + std::abs(qBlue(Px) - 214) < 16;
        }
        Blue = std::max(Blue, Line);
    }
    EXPECT_GT(Blue, 20);
}

// The grid drop-down with its popup grid open: items in columns, in a style, and a program-filled
// grid narrowed down by typing.
TEST_F(EditorsSheetTest, SheetOfGridDropDownsWithTheirPopupsOpen) {
    auto Fill = [](TCustomExtGridDropDown* D) {
        const char* Rows[][3] = {{"Apple", "A-100", "red"},     {"Apricot", "A-200", "orange"},
                                 {"Banana", "B-100", "yellow"}, {"Cherry", "C-100", "dark red"},
                                 {"Grape", "G-100", "green"},   {"Lemon", "L-100", "yellow"},
                                 {"Mango", "M-100", "orange"},  {"Papaya", "P-100", "orange"}};
        const char* Heads[] = {"Fruit", "Code", "Colour"};
        for (const char* H : Heads) D->Columns()->Add()->SetHeader(H);
        for (auto& R : Rows) {
            auto* It = D->Items()->Add();
            for (const char* T : R) It->Text()->Add(T);
        }
        D->EndUpdate();
    };
    auto* Items = Add<TCustomExtGridDropDown>("grid drop-down");
    Fill(Items);
    Items->SetItemIndex(2);
    auto* Styled = Add<TCustomExtGridDropDown>("Office 2003 blue");
    Fill(Styled);
    Styled->SetComponentStyle(tsOffice2003Blue);
    Styled->SetItemIndex(0);
    auto* Narrow = Add<TCustomExtGridDropDown>("narrowed: \"an\"");
    Fill(Narrow);
    Narrow->SetLookupMethod(lmNarrowDown);
    ShowHost();

    std::vector<QImage> Popups;
    ASSERT_NO_FATAL_FAILURE(GrabPopups({Items, Styled, Narrow}, Popups, [&](TExtCustomDropDown* D, bool Open) {
        if (D != Narrow || Open) return;
        D->SimulateKey('A', {}, QChar('a'));
        D->SimulateKey('N', {}, QChar('n'));
    }));
    ASSERT_NO_FATAL_FAILURE(SaveSheet(Popups, QStringLiteral("grid_dropdown_sheet.png")));

    // Probes: only whole rows show (header 25, rows 22, 6 over); the narrowed popup shows the
    // rows that contain "an" only.
    EXPECT_EQ(Popups[0].height(), 185);
    ASSERT_EQ(Narrow->GetGrid()->RowCount(), 3);
    EXPECT_EQ(Narrow->GetGrid()->GetGridCell(0, 1), "Banana");
    EXPECT_EQ(Narrow->GetGrid()->GetGridCell(0, 2), "Mango");
}

} // namespace
