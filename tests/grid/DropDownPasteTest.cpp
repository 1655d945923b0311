// Text that reaches the drop-down edit other than by typing: the clipboard keys of the edit, the
// clipboard messages and dropped text, each held to the rules that typing the same text meets.
#include "tests/grid/DropDownFixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>

namespace {
struct TPasteCase {
    const char* Name;
    TDropDownEditType Type;
    const char* Pasted;
    const char* Expected; // value text afterwards, from an empty value selected whole
    bool Signed = false;
    int LengthLimit = 0;
    int Precision = 0;
    const char* ValidChars = "";
};

const TPasteCase PasteCases[] = {
    {"NumericWithinLengthLimit", etNumeric, "123", "123", false, 3},
    {"NumericPastLengthLimit", etNumeric, "1234", "0", false, 3},
    {"StringPastLengthLimit", etString, "abcd", "", false, 3},
    {"FloatIntegerPartPastLengthLimit", etFloat, "1234.5", "0.00", false, 3, 2},
    {"FloatDecimalsDoNotCountToLengthLimit", etFloat, "123.45", "123.45", false, 3, 2},
    {"SignedNumericLeadingMinus", etNumeric, "-12", "-12", true},
    {"SignedNumericMinusInside", etNumeric, "1-2", "0", true},
    {"SignedFloatMinusInside", etFloat, "1-2", "0.00", true, 0, 2},
    {"AlphaNumericAsciiLetters", etAlphaNumeric, "ab12", "ab12"},
    {"AlphaNumericAccentedLetter", etAlphaNumeric, "caf\u00e9", ""},
    {"AlphaNumericArabicIndicDigit", etAlphaNumeric, "1\u0662", ""},
    {"ValidCharsListed", etValidChars, "xyx", "xyx", false, 0, 0, "xy"},
    {"ValidCharsUnlisted", etValidChars, "xz", "", false, 0, 0, "xy"},
    {"StringTakesFirstLineOfSeveral", etString, "first\r\nsecond", "first"},
    {"NumericTakesCellCopiedWithLineEnd", etNumeric, "42\n", "42"},
    {"NothingBeforeLineBreak", etString, "\nsecond", ""},
};

class DropDownPasteTest : public DropDownTest, public ::testing::WithParamInterface<TPasteCase> {
protected:
    void Prepare(const TPasteCase& C) {
        D->SetEditType(C.Type);
        D->SetSigned(C.Signed);
        D->SetLengthLimit(C.LengthLimit);
        D->SetPrecision(C.Precision);
        D->SetValidChars(C.ValidChars);
        D->SetText("");
        if (C.Type == etAlphaNumeric || C.Type == etValidChars || C.Type == etString) D->SetTextUnformatted("");
        Focus();
        D->SelectAll();
        QGuiApplication::clipboard()->setText(QString::fromUtf8(C.Pasted));
    }
};
} // namespace

TEST_P(DropDownPasteTest, PasteMessageMeetsTheTypingRules) {
    const TPasteCase& C = GetParam();
    Prepare(C);
    D->Perform(WM_PASTE);
    EXPECT_EQ(D->Text(), QString::fromUtf8(C.Expected));
}

INSTANTIATE_TEST_SUITE_P(EditTypes, DropDownPasteTest, ::testing::ValuesIn(PasteCases),
                         [](const ::testing::TestParamInfo<TPasteCase>& I) { return std::string(I.param.Name); });

// Every key of the edit that pastes, cuts or copies takes the drop-down's own paths: the events
// fire and the edit type's rules hold.
TEST_F(DropDownTest, ClipboardKeysOfTheEditTakeTheClipboardPaths) {
    QClipboard* Clip = QGuiApplication::clipboard();
    std::vector<QString> Log;
    D->OnClipboardCopy = [&](TObject*, const QString& V, bool&) { Log.push_back("copy " + V); };
    D->OnClipboardCut = [&](TObject*, const QString& V, bool&) { Log.push_back("cut " + V); };
    D->OnClipboardPaste = [&](TObject*, const QString& V, bool&) { Log.push_back("paste " + V); };
    D->SetEditType(etNumeric);
    D->SetText("1234");
    Focus();
    D->Perform(EM_SETSEL, 1, 3);
    Key(VK_INSERT, {ssCtrl});
    EXPECT_EQ(Clip->text(), "23");
    Key(VK_DELETE, {ssShift});
    EXPECT_EQ(D->Text(), "14");
    Clip->setText("x9");
    D->SetSelStart(1);
    Key(VK_INSERT, {ssShift});
    EXPECT_EQ(D->Text(), "14"); // a letter cannot be typed into a number, nor pasted
    Clip->setText("9");
    Key(VK_INSERT, {ssShift});
    EXPECT_EQ(D->Text(), "194");
    // Ctrl+V typed in the open popup pastes once.
    Key(VK_F4);
    ASSERT_TRUE(D->DroppedDown());
    Clip->setText("7");
    D->DropDownForm()->SimulateKey('V', {ssCtrl});
    D->HideDropDown(false);
    EXPECT_EQ(D->Text().count('7'), 1) << D->Text().toStdString();
    ASSERT_EQ(Log.size(), 5u);
    const std::vector<QString> Expected{"copy 23", "cut 23", "paste 1x94", "paste 194"};
    EXPECT_EQ(std::vector<QString>(Log.begin(), Log.begin() + 4), Expected);
}

TEST_F(DropDownTest, PasteNeedsAnEditableValue) {
    QGuiApplication::clipboard()->setText("pasted");
    D->SetText("kept");
    D->SetEditorEnabled(false);
    D->SelectAll();
    D->Perform(WM_PASTE);
    EXPECT_EQ(D->Text(), "kept");
    D->SetEditorEnabled(true);
    D->SetReadOnly(true);
    D->SelectAll();
    D->Perform(WM_PASTE);
    EXPECT_EQ(D->Text(), "kept");
}

TEST_F(DropDownTest, DroppedTextIsNotTakenPastTheFilter) {
    D->SetEditType(etNumeric);
    D->SetText("5");
    Focus();
    QMimeData Data;
    Data.setText("abc");
    const QPointF At(10, 10);
    QDragEnterEvent Enter(At.toPoint(), Qt::CopyAction | Qt::MoveAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(D->Native(), &Enter);
    QDropEvent Drop(At, Qt::CopyAction | Qt::MoveAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(D->Native(), &Drop);
    EXPECT_EQ(D->Text(), "5");
}

namespace {
// Opens the edit's menu at a point of it and chooses the entry whose caption starts with Caption.
void ChooseFromEditMenu(TExtCustomDropDown* D, const QString& Caption) {
    const QPoint At(5, 5);
    QContextMenuEvent E(QContextMenuEvent::Mouse, At, D->Native()->mapToGlobal(At));
    QApplication::sendEvent(D->Native(), &E);
    const QList<QMenu*> Menus = D->Native()->findChildren<QMenu*>();
    ASSERT_FALSE(Menus.isEmpty());
    QMenu* Menu = Menus.back();
    bool Found = false;
    for (QAction* A : Menu->actions())
        if (A->text().startsWith(Caption)) {
            Found = true;
            A->trigger();
        }
    Menu->close();
    QApplication::processEvents();
    EXPECT_TRUE(Found) << Caption.toStdString();
}
} // namespace

TEST_F(DropDownTest, EditMenuPastesThroughTheFilter) {
    std::vector<QString> Log;
    D->OnClipboardPaste = [&](TObject*, const QString& V, bool&) { Log.push_back(V); };
    D->SetEditType(etNumeric);
    D->SetText("5");
    Focus();
    D->SelectAll();
    QGuiApplication::clipboard()->setText("abc");
    ChooseFromEditMenu(D, "&Paste");
    EXPECT_EQ(D->Text(), "5");
    D->SelectAll();
    QGuiApplication::clipboard()->setText("42");
    ChooseFromEditMenu(D, "&Paste");
    EXPECT_EQ(D->Text(), "42");
    const std::vector<QString> Expected{"abc", "42"};
    EXPECT_EQ(Log, Expected);
}

TEST_F(DropDownTest, HiddenValueIsNeitherCopiedNorCutAway) {
    QClipboard* Clip = QGuiApplication::clipboard();
    D->SetEditType(etPassword);
    D->SetText("secret");
    Focus();
    for (Word K : {Word('C'), Word('X')}) {
        SCOPED_TRACE(K);
        Clip->setText("before");
        D->SelectAll();
        Key(K, {ssCtrl});
        EXPECT_EQ(Clip->text(), "before");
        EXPECT_EQ(D->Text(), "secret");
    }
}
