// Layout persistence of the string grid: the column-state line, the "Col"/"Pos" keys in an INI
// file or the per-user registry stand-in, the visual-properties file and the print-settings
// section. Round trips restore what was saved; damaged input raises EConvertError and changes
// nothing. The fixture hides real column 2 and real row 3.
#include "grid/control/ExtGrid.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/IniFiles.h"
#include "tests/support/QtPrint.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

namespace {

class Layout : public ::testing::Test {
protected:
    void SetUp() override {
        A = NewGrid();
        B = NewGrid();
        // Files of one test under the test program's folder in the build tree.
        const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
        Dir = QDir::current().filePath(QString("layout_%1_%2_%3")
                                           .arg(Info->test_suite_name(), Info->name())
                                           .arg(QCoreApplication::applicationPid()));
        QDir(Dir).removeRecursively();
        QDir().mkpath(Dir);
    }
    void TearDown() override {
        // Grids that save their widths when they go do so before their folder goes.
        A.reset();
        B.reset();
        QDir(Dir).removeRecursively();
    }

    static std::unique_ptr<TExtStringGrid> NewGrid() {
        auto G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(5);
        G->SetDefaultColWidth(64);
        for (int c = 0; c < 6; ++c) {
            G->SetCellEx(c, 0, QString("H%1").arg(c));
            G->SetColWidths(c, 50 + 10 * c);
        }
        G->HideColumn(2);
        G->HideRow(3);
        return G;
    }
    // The headers in display order, then the hidden ones by real index, then the widths.
    static QString State(TExtStringGrid* G) {
        QString S;
        for (int d = 0; d < G->ColCount(); ++d) S += G->GetCellEx(G->RealColIndex(d), 0) + " ";
        S += "| hidden:";
        for (int r = 0; r < G->AllColCount(); ++r)
            if (G->IsHiddenColumn(r)) S += " " + G->GetCellEx(r, 0);
        S += " | widths:";
        for (int d = 0; d < G->ColCount(); ++d) S += QString(" %1").arg(G->ColWidths(d));
        return S + " | " + G->ColumnStatesToString();
    }
    QString File(const char* Name) const { return Dir + "/" + Name; }
    void WriteText(const QString& Path, const QString& Text) {
        QFile F(Path);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Text.toUtf8());
    }

    std::unique_ptr<TExtStringGrid> A, B;
    QString Dir;
};

// ---- the column-state line --------------------------------------------------------------------------------
TEST_F(Layout, TheLineOfFourColumnsWithOneHidden) {
    TExtStringGrid G(nullptr);
    G.SetColCount(4);
    G.SetDefaultColWidth(64);
    G.SetColWidths(1, 100);
    G.SetColWidths(3, 80);
    G.HideColumn(2);
    EXPECT_EQ(G.ColumnStatesToString(), "4#64,100,80,64#0,1,2,3#1,1,0,1");
}

struct RoundTrip {
    const char* Name;
    std::function<void(TExtStringGrid*)> Change;
};
void PrintTo(const RoundTrip& C, std::ostream* OS) { *OS << C.Name; }

class LayoutRoundTrip : public Layout, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(LayoutRoundTrip, AFreshGridTakesTheSavedLayout) {
    GetParam().Change(A.get());
    const QString Line = A->ColumnStatesToString();
    B->StringToColumnStates(Line);
    EXPECT_EQ(State(B.get()), State(A.get()));
}

TEST_P(LayoutRoundTrip, ColAndPosKeysRestoreWidthsAndOrder) {
    GetParam().Change(A.get());
    for (TExtStringGrid* G : {A.get(), B.get()}) {
        G->ColumnSize()->SetLocation(clIniFile);
        G->ColumnSize()->SetKey(File("cols.ini"));
        G->ColumnSize()->SetSection("Grid");
    }
    A->SaveColPositions();
    A->SaveColSizes();
    B->LoadColPositions();
    B->LoadColSizes();
    // Hidden columns are kept by position, widths by display column.
    for (int d = 0; d < A->ColCount(); ++d) EXPECT_EQ(B->ColWidths(d), A->ColWidths(d)) << d;
    if (A->ColumnOrder()->Count() > 0) EXPECT_EQ(B->ColumnOrder()->StrValue(), A->ColumnOrder()->StrValue());
}

INSTANTIATE_TEST_SUITE_P(Changes, LayoutRoundTrip,
                         ::testing::Values(RoundTrip{"Unchanged", [](TExtStringGrid*) {}},
                                           RoundTrip{"Widths", [](TExtStringGrid* G) { G->SetColWidths(3, 140); }},
                                           RoundTrip{"ColumnMoved", [](TExtStringGrid* G) { G->MoveColumn(1, 4); }},
                                           RoundTrip{"SecondColumnHidden", [](TExtStringGrid* G) { G->HideColumn(4); }},
                                           RoundTrip{"MovedHiddenAndResized",
                                                     [](TExtStringGrid* G) {
                                                         G->MoveColumn(4, 1);
                                                         G->MoveColumn(2, 3);
                                                         G->HideColumn(1);
                                                         G->SetColWidths(1, 33);
                                                     }}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(Layout, ALineAppliedToAGridMovedSinceLandsOnTheSavedOrder) {
    A->MoveColumn(1, 3);
    const QString Line = A->ColumnStatesToString();
    B->MoveColumn(3, 0); // B's columns stand elsewhere before the line comes in
    B->StringToColumnStates(Line);
    EXPECT_EQ(State(B.get()), State(A.get()));
}

TEST_F(Layout, AHandlerRaisingWhileALayoutGoesOnLeavesNoUpdateLockBehind) {
    A->MoveColumn(1, 3);
    const QString Line = A->ColumnStatesToString();
    B->ColumnSize()->SetStretch(true);
    B->OnColumnMoved = [](TObject*, int, int) { throw std::runtime_error("refused by the handler"); };
    EXPECT_THROW(B->StringToColumnStates(Line), std::runtime_error);
    B->OnColumnMoved = nullptr;
    EXPECT_FALSE(B->LockUpdate()) << "the grid paints again";
    EXPECT_TRUE(B->ColumnSize()->Stretch());
    B->ColumnSize()->SetStretch(false);
    // The line still goes on whole afterwards.
    B->StringToColumnStates(Line);
    EXPECT_EQ(State(B.get()), State(A.get()));
}

TEST_F(Layout, ALineWithoutHashChangesNothing) {
    const QString Before = State(A.get());
    A->StringToColumnStates("no layout here");
    A->StringToColumnStates("");
    EXPECT_EQ(State(A.get()), Before);
}

struct Damaged {
    const char* Name;
    const char* Line;
};
void PrintTo(const Damaged& C, std::ostream* OS) { *OS << C.Name; }

class DamagedLine : public Layout, public ::testing::WithParamInterface<Damaged> {};

TEST_P(DamagedLine, RaisesAndChangesNothing) {
    A->MoveColumn(1, 3);
    const QString Before = State(A.get());
    EXPECT_THROW(A->StringToColumnStates(GetParam().Line), EConvertError);
    EXPECT_EQ(State(A.get()), Before);
}

// The fixture's grid has 6 columns; a sound line is "6#50,60,80,70,90,64#0,1,2,3,4,5#1,1,0,1,1,1".
INSTANTIATE_TEST_SUITE_P(
    Lines, DamagedLine,
    ::testing::Values(Damaged{"ThreeFields", "6#50,60,80,70,90,64#0,1,2,3,4,5"},
                      Damaged{"FiveFields", "6#50,60,80,70,90,64#0,1,2,3,4,5#1,1,0,1,1,1#"},
                      Damaged{"CountNotANumber", "six#50,60,80,70,90,64#0,1,2,3,4,5#1,1,0,1,1,1"},
                      Damaged{"CountZero", "0###"}, Damaged{"CountBeyondTheColumnMap", "513#1#0#1"},
                      Damaged{"HugeCount", "2000000000#1#0#1"}, Damaged{"CountPastTheIntegers", "99999999999#1#0#1"},
                      Damaged{"WidthsShort", "6#50,60,80#0,1,2,3,4,5#1,1,0,1,1,1"},
                      Damaged{"WidthsLong", "6#50,60,80,70,90,64,1#0,1,2,3,4,5#1,1,0,1,1,1"},
                      Damaged{"WidthNotANumber", "6#50,60,wide,70,90,64#0,1,2,3,4,5#1,1,0,1,1,1"},
                      Damaged{"WidthNegative", "6#50,60,-8,70,90,64#0,1,2,3,4,5#1,1,0,1,1,1"},
                      Damaged{"WidthsEmpty", "6##0,1,2,3,4,5#1,1,0,1,1,1"},
                      Damaged{"OrderShort", "6#50,60,80,70,90,64#0,1,2#1,1,0,1,1,1"},
                      Damaged{"OrderRepeatsAColumn", "6#50,60,80,70,90,64#0,1,1,3,4,5#1,1,0,1,1,1"},
                      Damaged{"OrderOutOfRange", "6#50,60,80,70,90,64#0,1,2,3,4,6#1,1,0,1,1,1"},
                      Damaged{"OrderWithMinusOne", "6#50,60,80,70,90,64#0,1,2,3,4,-1#1,1,0,1,1,1"},
                      Damaged{"VisibleFlagTwo", "6#50,60,80,70,90,64#0,1,2,3,4,5#1,1,2,1,1,1"},
                      Damaged{"VisibleShort", "6#50,60,80,70,90,64#0,1,2,3,4,5#1,1"},
                      Damaged{"EveryColumnHidden", "6#50,60,80,70,90,64#0,1,2,3,4,5#0,0,0,0,0,0"},
                      Damaged{"OnlyTheFixedColumnShown", "6#50,60,80,70,90,64#0,1,2,3,4,5#1,0,0,0,0,0"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// ---- "Col" and "Pos" keys --------------------------------------------------------------------------------
struct DamagedIni {
    const char* Name;
    const char* Text;
};
void PrintTo(const DamagedIni& C, std::ostream* OS) { *OS << C.Name; }

class DamagedKeys : public Layout, public ::testing::WithParamInterface<DamagedIni> {};

TEST_P(DamagedKeys, RaiseAndChangeNothing) {
    A->ColumnSize()->SetLocation(clIniFile);
    A->ColumnSize()->SetKey(File("cols.ini"));
    A->ColumnSize()->SetSection("Grid");
    WriteText(File("cols.ini"), GetParam().Text);
    const QString Before = State(A.get());
    EXPECT_THROW(
        {
            A->LoadColPositions();
            A->LoadColSizes();
        },
        EConvertError);
    EXPECT_EQ(State(A.get()), Before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedKeys,
    ::testing::Values(DamagedIni{"PosNotANumber", "[Grid]\nPos0=0\nPos1=one\nPos2=2\nPos3=3\nPos4=4\nPos5=5\n"},
                      DamagedIni{"PosMissing", "[Grid]\nPos0=0\nPos1=1\nPos2=2\nPos4=4\nPos5=5\n"},
                      DamagedIni{"PosTooFewForTheColumns", "[Grid]\nPos0=1\nPos1=0\n"},
                      DamagedIni{"PosRepeatsAColumn", "[Grid]\nPos0=0\nPos1=0\nPos2=2\nPos3=3\nPos4=4\nPos5=5\n"},
                      DamagedIni{"PosBeyondTheColumns", "[Grid]\nPos0=0\nPos1=1\nPos2=2\nPos3=3\nPos4=4\nPos5=600\n"},
                      DamagedIni{"ColNotANumber", "[Grid]\nCol0=40\nCol1=forty\n"},
                      DamagedIni{"ColNegative", "[Grid]\nCol0=40\nCol3=-5\n"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(Layout, KeysActOnlyWithKeyAndSectionAndWithoutPos0NothingMoves) {
    A->ColumnSize()->SetLocation(clIniFile);
    A->ColumnSize()->SetKey(File("cols.ini"));
    A->SaveColSizes(); // no section: nothing written
    EXPECT_FALSE(QFile::exists(File("cols.ini")));
    A->ColumnSize()->SetSection("Grid");
    WriteText(File("cols.ini"), "[Grid]\nPos1=0\nCol1=99\n");
    const QString Before = State(A.get());
    A->LoadColPositions();
    EXPECT_EQ(State(A.get()), Before);
    A->LoadColSizes();
    EXPECT_EQ(A->ColWidths(1), 99) << "widths load on their own";
}

TEST_F(Layout, WithColumnSizeSaveTheWidthsGoWithTheGridAndComeBackOnLoading) {
    for (TExtStringGrid* G : {A.get(), B.get()}) {
        G->ColumnSize()->SetLocation(clIniFile);
        G->ColumnSize()->SetKey(File("cols.ini"));
        G->ColumnSize()->SetSection("Grid");
        G->ColumnSize()->SetSave(true);
    }
    A->SetColWidths(1, 111);
    A->SetColWidths(4, 44);
    A.reset();
    B->Loaded();
    EXPECT_EQ(B->ColWidths(1), 111);
    EXPECT_EQ(B->ColWidths(4), 44);
}

TEST_F(Layout, TheRegistryLocationKeepsKeysInTheUsersOwnStore) {
    const QByteArray Old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", (Dir + "/config").toUtf8());
    for (TExtStringGrid* G : {A.get(), B.get()}) {
        G->ColumnSize()->SetKey("Software\\Tessaro\\Test");
        G->ColumnSize()->SetSection("Grid");
    }
    A->MoveColumn(1, 3);
    A->SetColWidths(2, 123);
    A->SaveColPositions();
    A->SaveColSizes();
    B->LoadColPositions();
    B->LoadColSizes();
    if (Old.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", Old);
    EXPECT_TRUE(QFile::exists(Dir + "/config/tessaro/registry.ini"));
    EXPECT_EQ(State(B.get()), State(A.get()));
}

// ---- visual properties -----------------------------------------------------------------------------------
TEST_F(Layout, VisualPropertiesReadBackAsSaved) {
    A->SetSelectionColor(clRed);
    A->SetURLShow(true);
    A->Font()->SetStyle({fsBold, fsUnderline});
    A->Font()->SetSize(13);
    A->FixedFont()->SetName("Tahoma");
    A->ControlLook()->SetControlStyle(csFlat);
    A->ControlLook()->SetCheckSize(17);
    A->Balloon()->SetTransparency(120);
    A->BackGround()->SetDisplay(bdGradientVert);
    A->Grouping()->SetHeaderLineWidth(5);
    A->SetGridLineColor(TColor(0x123456));
    A->SaveVisualProps(File("a.txt"));
    B->LoadVisualProps(File("a.txt"));
    B->SaveVisualProps(File("b.txt"));
    EXPECT_EQ(ReadTextLines(File("b.txt")), ReadTextLines(File("a.txt")));
    EXPECT_EQ(B->SelectionColor(), clRed);
    EXPECT_TRUE(B->Font()->Style().Contains(fsUnderline));
    EXPECT_EQ(B->ControlLook()->CheckSize(), 17);
    EXPECT_EQ(B->BackGround()->Display(), bdGradientVert);
    EXPECT_EQ(B->GridLineColor(), TColor(0x123456));
    const QByteArray Raw = [&] {
        QFile F(File("a.txt"));
        F.open(QIODevice::ReadOnly);
        return F.readAll();
    }();
    EXPECT_TRUE(Raw.startsWith("Color=")) << Raw.left(40).constData();
    EXPECT_TRUE(Raw.contains("\r\nFont.Style=fsBold,fsUnderline\r\n"));
    EXPECT_TRUE(Raw.contains("\r\nLook=glXP\r\n"));
}

struct DamagedProps {
    const char* Name;
    const char* Line;
};
void PrintTo(const DamagedProps& C, std::ostream* OS) { *OS << C.Name; }

class DamagedVisualProps : public Layout, public ::testing::WithParamInterface<DamagedProps> {};

TEST_P(DamagedVisualProps, RaiseAndApplyNothing) {
    A->SaveVisualProps(File("a.txt"));
    QStringList Lines = ReadTextLines(File("a.txt"));
    const QString Line = GetParam().Line;
    const QString Name = Line.left(Line.indexOf('=') + 1);
    for (QString& L : Lines)
        if (L.startsWith(Name)) L = Line;
    Lines.replaceInStrings("Color=clWindow", "Color=clRed"); // a change on the first line, before the damage
    WriteText(File("a.txt"), Lines.join("\r\n") + "\r\n");
    const TColor Before = A->Color();
    EXPECT_THROW(A->LoadVisualProps(File("a.txt")), EConvertError);
    EXPECT_EQ(A->Color(), Before);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedVisualProps,
                         ::testing::Values(DamagedProps{"IntegerNotANumber", "ControlLook.CheckSize=big"},
                                           DamagedProps{"IntegerEmpty", "Font.Size="},
                                           DamagedProps{"ColourNeitherNameNorNumber", "GridLineColor=sky"},
                                           DamagedProps{"TransparencyPastAByte", "Balloon.Transparency=4096"}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(Layout, UnknownNamedValuesAndEmptyColoursOfAVisualFile) {
    A->SaveVisualProps(File("a.txt"));
    QStringList Lines = ReadTextLines(File("a.txt"));
    for (QString& L : Lines) {
        if (L.startsWith("ControlLook.ControlStyle=")) L = "ControlLook.ControlStyle=csNoSuchStyle";
        if (L.startsWith("HintColor=")) L = "HintColor=";
        if (L.startsWith("Look=")) L = "look=GLWIN7"; // names and values without regard to case
    }
    WriteText(File("a.txt"), Lines.join("\r\n"));
    const TControlStyle Style = A->ControlLook()->ControlStyle();
    A->LoadVisualProps(File("a.txt"));
    EXPECT_EQ(A->ControlLook()->ControlStyle(), Style);
    EXPECT_EQ(A->HintColor(), clNone);
    EXPECT_EQ(A->Look(), glWin7);
}

TEST_F(Layout, AMissingVisualFileRaisesAnInputOutputError) {
    EXPECT_THROW(A->LoadVisualProps(File("absent.txt")), EInOutError);
}

// ---- print settings ---------------------------------------------------------------------------------------
TEST_F(Layout, PrintSettingsReadBackAsSaved) {
    TPrintSettings* P = A->PrintSettings();
    P->SetColumnSpacing(7);
    P->SetCentered(false);
    P->SetBorders(pbCustom);
    P->SetDate(ppBottomRight);
    P->SetTitleText("Title = yes");
    P->SetFitToPage(fpShrink);
    P->Font()->SetStyle({fsItalic});
    P->HeaderFont()->SetName("Courier New");
    P->SetOrientation(poLandscape);
    P->TitleLines()->SetText("first\r\nsecond");
    P->SetPrintGraphics(true);
    A->SavePrintSettings(File("print.ini"), "Print");
    B->PrintSettings()->Font()->SetStyle({fsBold});
    B->LoadPrintSettings(File("print.ini"), "Print");
    B->SavePrintSettings(File("again.ini"), "Print");
    EXPECT_EQ(ReadTextLines(File("again.ini")), ReadTextLines(File("print.ini")));
    EXPECT_EQ(B->PrintSettings()->TitleLines()->Count(), 2);
    EXPECT_EQ(B->PrintSettings()->Date(), ppBottomRight);
    EXPECT_EQ(TIniFile(File("print.ini")).ReadString("Print", "TitleLines", ""), "first\\nsecond");
    EXPECT_FALSE(B->PrintSettings()->Font()->Style().Contains(fsBold)) << "the saved style, not added to";
}

TEST_F(Layout, PrintSettingsOutsideTheirRangesKeepTheSetting) {
    WriteText(File("print.ini"), "[Print]\nBorders=9\nFitToPage=-1\nOrientation=2\nDate=7\nCentered=yes\n");
    TPrintSettings* P = A->PrintSettings();
    P->SetBorders(pbAround);
    P->SetFitToPage(fpGrow);
    A->LoadPrintSettings(File("print.ini"), "Print");
    EXPECT_EQ(P->Borders(), pbAround);
    EXPECT_EQ(P->FitToPage(), fpGrow);
    EXPECT_EQ(P->Orientation(), poPortrait);
    EXPECT_EQ(P->Date(), ppNone);
    EXPECT_FALSE(P->Centered()) << "true exactly for Y";
    EXPECT_EQ(P->ColumnSpacing(), 20) << "absent keys take their defaults";
}

TEST_F(Layout, APrintSettingThatIsNoIntegerRaisesAndAppliesNothing) {
    WriteText(File("print.ini"), "[Print]\nColumnSpacing=3\nFontSize=large\n");
    const int Before = A->PrintSettings()->ColumnSpacing();
    EXPECT_THROW(A->LoadPrintSettings(File("print.ini"), "Print"), EConvertError);
    EXPECT_EQ(A->PrintSettings()->ColumnSpacing(), Before);
}

// ---- look names ----------------------------------------------------------------------------------------------
TEST(LookNames, SavedNamesAndACustomLookLeavingTheTargetAlone) {
    const std::pair<TGridLook, const char*> Names[] = {
        {glStandard, "glStandard"}, {glSoft, "glSoft"}, {glClassic, "glClassic"},
        {glExt, "glExt"},           {glXP, "glXP"},     {glListView, "glListView"},
        {glVista, "glVista"},       {glWin7, "glWin7"}, {glOffice2007, "glOffice2007"}};
    for (const auto& [Look, Name] : Names) {
        EXPECT_EQ(TExtStringGrid::LookName(Look), QString(Name));
        EXPECT_EQ(TExtStringGrid::LookFromName(QString(Name).toUpper(), glCustom), Look);
    }
    QString Target = "kept";
    TExtStringGrid::LookName(glCustom, Target);
    EXPECT_EQ(Target, "kept");
    EXPECT_EQ(TExtStringGrid::LookFromName("", glSoft), glSoft);
}

TEST(MetroScrollControls, MadeOnceEachAndKept) {
    TExtStringGrid G(nullptr);
    G.CreateMetroScrollControls();
    TCustomControl* V = G.MetroScrollControl(0);
    TCustomControl* H = G.MetroScrollControl(1);
    ASSERT_NE(V, nullptr);
    ASSERT_NE(H, nullptr);
    EXPECT_EQ(V->Width(), 6);
    EXPECT_EQ(H->Height(), 6);
    G.CreateMetroScrollControls();
    EXPECT_EQ(G.MetroScrollControl(0), V);
    EXPECT_EQ(G.MetroScrollControl(1), H);
}

} // namespace
