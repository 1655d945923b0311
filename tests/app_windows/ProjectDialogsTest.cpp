// The new-project and open-project dialogs: names refused with their message and nothing made,
// a created project with its "bin" folder and file paths, the listing and preselection of the
// open dialog, and both windows' layout and texts.
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UNew_Project.h"
#include "app/UOpenConf.h"
#include "platform/gui/Snapshot.h"
#include "platform/rtl/Files.h"
#include "tests/support/QtPrint.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr TColor Window_Color = TColor(15595512);

// The pictures of the windows go beside the test program, inside the build folder.
QString BuildDir() { return QCoreApplication::applicationDirPath(); }

// Every entry below Dir (folders and files), relative, sorted: what a refused name must leave
// exactly as it was.
QStringList Tree(const QString& Dir) {
    QStringList Out;
    QDirIterator It(Dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (It.hasNext()) Out << QDir(Dir).relativeFilePath(It.next());
    Out.sort();
    return Out;
}

class ProjectDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Root.isValid());
        Saved_App_Dir = App_Dir();
        Reset_Globals();
        Load_English_Strings();
        Set_App_Dir(Root.path() + "/app");
        ASSERT_TRUE(QDir().mkpath(Root.path() + "/app"));
        Prepare_App_Folders();
        SW_Code = Const_SW_Code;
        Set_Files();
    }
    void TearDown() override {
        Set_App_Dir(Saved_App_Dir);
        Reset_Globals();
        Reset_Language();
    }

    std::unique_ptr<TFNew_Project> MakeNew() {
        auto F = std::make_unique<TFNew_Project>(nullptr);
        F->AfterConstruction();
        return F;
    }
    std::unique_ptr<TFOpenConf> MakeOpen() {
        auto F = std::make_unique<TFOpenConf>(nullptr);
        F->AfterConstruction();
        return F;
    }
    void MakeProject(const QString& Name) { ASSERT_TRUE(QDir().mkpath(Projects_Dir + "/" + Name + "/bin")); }

    // Shows the open dialog, leaves it with Result, and returns what the list showed.
    QStringList ShowOpen(TFOpenConf& F, TModalResult Result = mrOk) {
        QStringList Shown;
        TestModal().Expect([&](TForm*) {
            for (int i = 0; i < F.ListBox1->Items()->Count(); ++i) Shown << F.ListBox1->Items()->Strings(i);
            F.SetModalResult(Result);
        });
        EXPECT_EQ(F.ShowModal(), Result);
        return Shown;
    }

    QTemporaryDir Root;
    QString Saved_App_Dir;
};

// ---- new project ----------------------------------------------------------------------------

TEST_F(ProjectDialogsTest, RefusedNamesShowTheirMessageKeepTheDialogOpenAndCreateNothing) {
    MakeProject("Alpha");
    ASSERT_TRUE(QFile(Projects_Dir + "/notes.txt").open(QIODevice::WriteOnly));
    const QStringList Before = Tree(Root.path());

    struct TCase {
        QString Name;
        int Text;
    };
    const TCase Cases[] = {
        {"", 107},
        {"Alpha", 106},
        {"ALPHA", 106}, // only the case differs: the open dialog could not tell them apart
        {"notes.txt", 105}, // a plain file of that name is there: no folder can be made
        {".", 105},
        {"..", 105},
        {"../Escaped", 105},
        {"Alpha/bin2", 105},
        {"sub\\dir", 105},
        {"tab\there", 105},
        {QString("nul") + QChar(0) + "x", 105},
        {"line\nbreak", 105},
    };
    auto F = MakeNew();
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name.toStdString());
        TestDialogs().Reset();
        TestDialogs().ExpectBox(mrOk);
        F->E_New_Proj->SetText(C.Name);
        F->Btn_OK->Click();
        ASSERT_EQ(TestDialogs().Boxes().size(), 1u);
        EXPECT_EQ(TestDialogs().Boxes()[0].Text, Lang[C.Text]);
        EXPECT_EQ(TestDialogs().Boxes()[0].Type, mtError);
        EXPECT_EQ(TestDialogs().Boxes()[0].Buttons, TMsgDlgButtons({mbOK}));
        EXPECT_EQ(F->ModalResult(), mrNone);
        EXPECT_EQ(Tree(Root.path()), Before);
        EXPECT_TRUE(Project_Name.isEmpty());
        EXPECT_TRUE(Project_Dir.isEmpty());
        EXPECT_TRUE(File_ParGen.isEmpty());
    }
}

TEST_F(ProjectDialogsTest, ProjectsFolderRemovedMeanwhileGivesTheCreationErrorAndMakesNoFolder) {
    ASSERT_TRUE(QDir(Projects_Dir).removeRecursively());
    auto F = MakeNew();
    TestDialogs().ExpectBox(mrOk, Lang[105]);
    F->E_New_Proj->SetText("Plant");
    F->Btn_OK->Click();
    EXPECT_EQ(F->ModalResult(), mrNone);
    EXPECT_FALSE(DirectoryExists(Projects_Dir));
    EXPECT_TRUE(Project_Dir.isEmpty());
}

TEST_F(ProjectDialogsTest, ProjectFolderWithoutRoomForItsBinFolderIsTakenBack) {
    // The projects folder sits so deep that the project folder still fits the system's path
    // limit but its "bin" folder no longer does.
    constexpr int Path_Max = 4096; // with the terminating NUL
    constexpr int Deep_Length = 3850;
    QString Deep = Root.path() + "/deep";
    while (Deep.size() + 201 < Deep_Length - 2) Deep += "/" + QString(200, QChar('d'));
    Deep += "/" + QString(Deep_Length - Deep.size() - 1, QChar('e'));
    ASSERT_EQ(Deep.size(), Deep_Length);
    ASSERT_TRUE(QDir().mkpath(Deep));
    Projects_Dir = Deep;
    // The project folder's path is Path_Max - 3 long; with "/bin" it is over the limit.
    const QString Name(Path_Max - 3 - Deep_Length - 1, QChar('p'));
    ASSERT_LE(Name.size(), 255);
    const QStringList Before = Tree(Root.path());

    auto F = MakeNew();
    TestDialogs().ExpectBox(mrOk, Lang[105]);
    F->E_New_Proj->SetText(Name);
    F->Btn_OK->Click();
    EXPECT_EQ(F->ModalResult(), mrNone);
    EXPECT_EQ(Tree(Root.path()), Before);
    EXPECT_TRUE(Project_Dir.isEmpty());
}

TEST_F(ProjectDialogsTest, EnterInTheNameFieldCreatesTheProjectWithItsBinFolderAndOpensIt) {
    auto F = MakeNew();
    const QString Name = " Plant 1 "; // blanks are part of the name, as typed
    TestModal().Expect([&](TForm* Form) {
        ASSERT_EQ(Form, F.get());
        EXPECT_TRUE(F->E_New_Proj->Text().isEmpty());
        EXPECT_TRUE(F->E_New_Proj->Focused());
        F->E_New_Proj->SetText(Name);
        F->E_New_Proj->SimulateKey(VK_RETURN, {}, QChar(13));
    });
    EXPECT_EQ(F->ShowModal(), mrOk);
    EXPECT_TRUE(TestDialogs().Boxes().empty());
    const QString Dir = Projects_Dir + "/" + Name;
    EXPECT_TRUE(DirectoryExists(Dir + "/bin"));
    EXPECT_EQ(QDir(Dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"bin"}));
    EXPECT_EQ(Project_Name, Name);
    EXPECT_EQ(Project_Dir, Dir);
    EXPECT_EQ(File_ParGen, Dir + "/ParGen.xml");
    EXPECT_EQ(File_EtherNetIP_Master_Rules, Dir + "/EtherNetIP_Master_Rules.xml");

    // The next showing starts from an empty field; a refused name keeps the dialog up and the
    // open project as it was, and Cancel then changes nothing.
    TestDialogs().ExpectBox(mrOk, Lang[106]);
    TestModal().Expect([&](TForm*) {
        EXPECT_TRUE(F->E_New_Proj->Text().isEmpty());
        F->E_New_Proj->SetText(Name);
        F->Btn_OK->Click();
        EXPECT_EQ(F->ModalResult(), mrNone);
        F->Btn_Cancel->Click();
    });
    EXPECT_EQ(F->ShowModal(), mrCancel);
    EXPECT_EQ(Project_Name, Name);
    EXPECT_EQ(Project_Dir, Dir);
}

TEST_F(ProjectDialogsTest, NewProjectWindowHasItsLayoutAndTexts) {
    auto F = MakeNew();
    EXPECT_EQ(F->ClientWidth(), 331);
    EXPECT_EQ(F->ClientHeight(), 162);
    EXPECT_EQ(F->BorderStyle(), bsSingle);
    EXPECT_EQ(F->BorderIcons(), TBorderIcons({biSystemMenu}));
    EXPECT_EQ(F->Position(), poScreenCenter);
    EXPECT_EQ(F->Color(), Window_Color);
    EXPECT_EQ(F->Caption(), "Create New Configuration");
    EXPECT_EQ(F->L_SW_Code->Caption(), "CFG4180");
    EXPECT_EQ(F->L_SW_Desc->Caption(), Lang[101]);
    EXPECT_EQ(F->Label1->Caption(), "Name of the new Configuration");
    EXPECT_EQ(F->P_Title->Height(), 69);
    EXPECT_EQ(F->P_Title->Top(), 0);
    EXPECT_EQ(F->P_Buttons->Height(), 40);
    EXPECT_EQ(F->P_Buttons->Top(), 162 - 40);
    EXPECT_EQ(F->L_SW_Code->BoundsRect().TopLeft(), TPoint(16, 8));
    EXPECT_EQ(F->L_SW_Desc->BoundsRect().TopLeft(), TPoint(16, 42));
    EXPECT_EQ(F->Label1->BoundsRect().TopLeft(), TPoint(16, 70));
    EXPECT_EQ(F->E_New_Proj->BoundsRect(), Bounds(16, 94, 297, 21));
    EXPECT_EQ(F->E_New_Proj->Hint(), Lang[108]);
    EXPECT_TRUE(F->E_New_Proj->ShowHint());

    struct TButtonCase {
        TLbButton* Button;
        int Left;
        int Caption, Hint;
        TModalResult Result;
    };
    for (const TButtonCase& B :
         {TButtonCase{F->Btn_OK, 85, 103, 109, mrNone}, TButtonCase{F->Btn_Cancel, 203, 104, 110, mrCancel}}) {
        SCOPED_TRACE(B.Button->Name().toStdString());
        EXPECT_EQ(B.Button->Parent(), F->P_Buttons);
        EXPECT_EQ(B.Button->BoundsRect(), Bounds(B.Left, 6, 110, 28));
        EXPECT_EQ(B.Button->Style(), bsEncarta);
        EXPECT_EQ(B.Button->Caption(), Lang[B.Caption]);
        EXPECT_EQ(B.Button->Hint(), Lang[B.Hint]);
        EXPECT_EQ(B.Button->ModalResult(), B.Result);
    }

    F->Show();
    F->E_New_Proj->SetText("Plant 1");
    EXPECT_TRUE(SaveControlPng(F.get(), BuildDir() + "/NewProject.png"));
    F->Hide();
    // The name field is drawn white on the window's own colour.
    const QImage Shot(BuildDir() + "/NewProject.png");
    EXPECT_EQ(Shot.pixelColor(250, 104), QColor(Qt::white));
    EXPECT_NE(Shot.pixelColor(5, 80), QColor(Qt::white));
}

// One rule for a project name in both dialogs (and at start): any name that stays directly inside
// the projects folder is a project, whatever other systems think of its characters; the open
// dialog does not offer a folder the rule refuses, since it could not be reopened at the next start.
TEST_F(ProjectDialogsTest, OneNameRuleForTheNewAndTheOpenDialog) {
    const QString Accepted[] = {"C:Plant", "What?", "a*b", "<x>|y", "say \"hi\"", " Plant 1 "};
    auto New = MakeNew();
    for (const QString& Name : Accepted) {
        SCOPED_TRACE(Name.toStdString());
        EXPECT_TRUE(Is_Valid_Project_Name(Name));
        New->SetModalResult(mrNone);
        New->E_New_Proj->SetText(Name);
        New->Btn_OK->Click();
        EXPECT_EQ(New->ModalResult(), mrOk);
        EXPECT_TRUE(DirectoryExists(Projects_Dir + "/" + Name + "/bin"));
        EXPECT_EQ(Project_Name, Name);
    }
    // Folders made behind the program's back with names the rule refuses.
    const QString Refused[] = {"sub\\dir", "tab\there", QString("bell") + QChar(7)};
    for (const QString& Name : Refused) {
        EXPECT_FALSE(Is_Valid_Project_Name(Name));
        ASSERT_TRUE(QDir().mkpath(Projects_Dir + "/" + Name));
    }
    auto Open = MakeOpen();
    QStringList Listed = ShowOpen(*Open, mrCancel);
    Listed.sort();
    QStringList Expected(std::begin(Accepted), std::end(Accepted));
    Expected.sort();
    EXPECT_EQ(Listed, Expected);
}

// ---- open project ---------------------------------------------------------------------------

TEST_F(ProjectDialogsTest, OpenListsTheProjectFoldersOnlyAndPreselectsTheOpenOneInAnyCase) {
    MakeProject("gamma");
    MakeProject("Alpha");
    MakeProject("beta");
    ASSERT_TRUE(QFile(Projects_Dir + "/readme.txt").open(QIODevice::WriteOnly));
    Project_Name = "BETA";
    Project_Dir = Projects_Dir + "/BETA";

    auto F = MakeOpen();
    TestModal().Expect([&](TForm*) {
        EXPECT_EQ(F->ListBox1->ItemIndex(), 1);
        EXPECT_EQ(F->Name_Conf, "beta");
        F->Btn_OK->Click();
    });
    EXPECT_EQ(F->ShowModal(), mrOk);
    EXPECT_EQ(F->SL->Count(), 3);
    QStringList Listed;
    for (int i = 0; i < F->SL->Count(); ++i) Listed << F->SL->Strings(i);
    EXPECT_EQ(Listed, QStringList({"Alpha", "beta", "gamma"}));
    EXPECT_EQ(F->Name_Conf, "beta");
    // The dialog only chooses: the main window opens the project.
    EXPECT_EQ(Project_Name, "BETA");
}

TEST_F(ProjectDialogsTest, OpenPreselectsTheFirstFolderWhenNoListedProjectIsOpen) {
    MakeProject("One");
    MakeProject("Two");
    for (const QString& Open : {QString(), Projects_Dir + "/Gone"}) {
        SCOPED_TRACE(Open.toStdString());
        Project_Dir = Open;
        auto F = MakeOpen();
        TestModal().Expect([&](TForm*) {
            EXPECT_EQ(F->ListBox1->ItemIndex(), 0);
            F->Btn_OK->Click();
        });
        EXPECT_EQ(F->ShowModal(), mrOk);
        EXPECT_EQ(F->Name_Conf, "One");
    }
}

TEST_F(ProjectDialogsTest, ChoosingAnEntrySetsTheNameAndCancelLeavesTheProjectAsItWas) {
    MakeProject("One");
    MakeProject("Two");
    MakeProject("Three");
    auto F = MakeOpen();
    TestModal().Expect([&](TForm*) {
        F->ListBox1->Native()->setCurrentRow(2); // as the user's click or arrow key does
        F->Btn_OK->Click();
    });
    EXPECT_EQ(F->ShowModal(), mrOk);
    EXPECT_EQ(F->Name_Conf, "Two");

    TestModal().Expect([&](TForm*) {
        F->ListBox1->Native()->setCurrentRow(1);
        F->Btn_Cancel->Click();
    });
    EXPECT_EQ(F->ShowModal(), mrCancel);
    EXPECT_TRUE(Project_Name.isEmpty());
    EXPECT_TRUE(Project_Dir.isEmpty());
}

TEST_F(ProjectDialogsTest, OpenReReadsTheFoldersAtEveryShowingAndNeverOffersAVanishedOne) {
    auto F = MakeOpen();
    // No project at all: nothing selected, OK gives an empty name (no project open).
    EXPECT_EQ(ShowOpen(*F), QStringList());
    EXPECT_EQ(F->ListBox1->ItemIndex(), -1);
    EXPECT_TRUE(F->Name_Conf.isEmpty());

    MakeProject("Made Meanwhile");
    EXPECT_EQ(ShowOpen(*F), QStringList({"Made Meanwhile"}));
    EXPECT_EQ(F->Name_Conf, "Made Meanwhile");

    // The folder is removed: the name chosen before must not come back with an empty list.
    ASSERT_TRUE(QDir(Projects_Dir + "/Made Meanwhile").removeRecursively());
    EXPECT_EQ(ShowOpen(*F), QStringList());
    EXPECT_TRUE(F->Name_Conf.isEmpty());
}

TEST_F(ProjectDialogsTest, SearchIgnoresTheCaseOfAsciiLettersOnly) {
    auto F = MakeOpen();
    F->SL->Assign(QStringList({"Plant", "Über", "a-b_1"}));
    struct TCase {
        QString Text;
        int Index;
    };
    const TCase Cases[] = {
        {"Plant", 0},   {"PLANT", 0}, {"plant", 0}, {"Plan", -1},
        {"Plants", -1}, {"Über", 1},  {"ÜBER", 1},  {"über", -1}, // not an ASCII letter
        {"A-B_1", 2},   {"", -1},
    };
    for (const TCase& C : Cases) EXPECT_EQ(F->Search_Open_Conf(C.Text), C.Index) << C.Text.toStdString();
}

TEST_F(ProjectDialogsTest, OpenProjectWindowHasItsLayoutAndTexts) {
    MakeProject("Plant 1");
    MakeProject("Plant 2");
    auto F = MakeOpen();
    EXPECT_EQ(F->ClientWidth(), 377);
    EXPECT_EQ(F->ClientHeight(), 351);
    EXPECT_EQ(F->BorderStyle(), bsSingle);
    EXPECT_EQ(F->BorderIcons(), TBorderIcons({biSystemMenu}));
    EXPECT_EQ(F->Position(), poScreenCenter);
    EXPECT_EQ(F->Color(), Window_Color);
    EXPECT_EQ(F->Caption(), "Open Configuration");
    EXPECT_EQ(F->L_SW_Code->Caption(), "CFG4180");
    EXPECT_EQ(F->L_SW_Desc->Caption(), "Open an Existing Configuration");
    EXPECT_EQ(F->Label1->Caption(), Lang[202]);
    EXPECT_EQ(F->P_Title->Height(), 69);
    EXPECT_EQ(F->P_Buttons->Height(), 40);
    EXPECT_EQ(F->P_Buttons->Top(), 351 - 40);
    EXPECT_EQ(F->Label1->BoundsRect().TopLeft(), TPoint(16, 70));
    EXPECT_EQ(F->ListBox1->Hint(), Lang[205]);
    EXPECT_TRUE(F->ListBox1->ShowHint());
    // The list fills the room between its label and the buttons and follows all four edges.
    EXPECT_EQ(F->ListBox1->Left(), 16);
    EXPECT_EQ(F->ListBox1->Top(), 94);
    EXPECT_EQ(F->ListBox1->Left() + F->ListBox1->Width(), F->Btn_Cancel->Left() + F->Btn_Cancel->Width());
    EXPECT_LT(F->ListBox1->Top() + F->ListBox1->Height(), F->P_Buttons->Top());
    EXPECT_GT(F->ListBox1->Height(), 150);
    EXPECT_EQ(F->ListBox1->Anchors(), TAnchors({akLeft, akTop, akRight, akBottom}));

    struct TButtonCase {
        TLbButton* Button;
        int Left;
        int Caption, Hint;
        TModalResult Result;
    };
    for (const TButtonCase& B :
         {TButtonCase{F->Btn_OK, 123, 203, 206, mrOk}, TButtonCase{F->Btn_Cancel, 241, 204, 207, mrCancel}}) {
        SCOPED_TRACE(B.Button->Name().toStdString());
        EXPECT_EQ(B.Button->Parent(), F->P_Buttons);
        EXPECT_EQ(B.Button->BoundsRect(), Bounds(B.Left, 6, 110, 28));
        EXPECT_EQ(B.Button->Anchors(), TAnchors({akTop, akRight}));
        EXPECT_EQ(B.Button->Style(), bsEncarta);
        EXPECT_EQ(B.Button->Caption(), Lang[B.Caption]);
        EXPECT_EQ(B.Button->Hint(), Lang[B.Hint]);
        EXPECT_EQ(B.Button->ModalResult(), B.Result);
    }

    F->Show();
    EXPECT_EQ(F->SL->Count(), 2);
    EXPECT_TRUE(SaveControlPng(F.get(), BuildDir() + "/OpenProject.png"));
    F->Hide();
    // The first project comes selected (a highlighted row); the list below the names is empty.
    const QImage Shot(BuildDir() + "/OpenProject.png");
    const QColor Selected = Shot.pixelColor(200, 100);
    EXPECT_NE(Selected, QColor(Qt::white));
    EXPECT_GT(Selected.blue(), Selected.red());
    EXPECT_EQ(Shot.pixelColor(200, 250), QColor(Qt::white));
}

} // namespace
