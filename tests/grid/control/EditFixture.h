#pragma once
// A string grid on a shown form for the editing tests: 5 visible columns (real column 2 hidden,
// so display column 2 edits real column 3), 8 rows, one fixed row and column, goEditing on, the
// grid focused. Every cell holds "realcol,row". A second control on the form takes the focus
// away from the grid.
#include "grid/control/ExtGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/StdCtrls.h"
#include "tests/support/QtPrint.h"

#include <QApplication>
#include <QClipboard>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class EditGrid : public ::testing::Test {
protected:
    static constexpr int HiddenRealCol = 2;

    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 520, 320);
        G = Create<TExtStringGrid>(Form, Form);
        G->SetBounds(0, 0, 460, 220);
        G->SetColCount(6);
        G->SetRowCount(8);
        G->SetDefaultColWidth(80);
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
        G->HideColumn(HiddenRealCol);
        G->SetOptions(G->Options() << goEditing);
        Other = Create<TEdit>(Form, Form);
        Other->SetBounds(0, 240, 100, 24);
        Form->Show();
        QApplication::processEvents();
        G->SetFocus();
        QApplication::processEvents();
        G->MoveCurrentCell(2, 3, true);
        ASSERT_EQ(G->RealColIndex(2), 3);
    }
    void TearDown() override {
        delete Form;
        QApplication::processEvents();
    }

    TExtInplaceEdit* Editor() const { return G->TextEditor(); }
    bool TextEditorOpen() const { return Editor() && Editor()->isVisible(); }
    // The control that has the keyboard: the open editor, else the grid.
    TControl* KeyTarget() const {
        if (TextEditorOpen()) return Editor();
        if (G->EditCtrl() && G->EditCtrl()->isVisible()) return G->EditCtrl();
        return G;
    }
    void Key(Word K, TShiftState Shift = {}) { KeyTarget()->SimulateKey(K, Shift, QChar()); }
    void Type(const QString& S) {
        for (QChar C : S) KeyTarget()->SimulateKey(0, {}, C);
    }
    // Opens the text editor on the current cell with F2, caret at the end.
    void OpenWithF2() {
        Key(VK_F2);
        ASSERT_TRUE(TextEditorOpen());
        Editor()->SetSelStart(int(Editor()->Text().size()));
    }
    void ClickCell(int DisplCol, int DisplRow) {
        const TRect R = G->CellRect(DisplCol, DisplRow);
        const LPARAM P = MakeLParam((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
        G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, P);
        G->Perform(WM_LBUTTONUP, 0, P);
    }
    void FocusAway() {
        Other->SetFocus();
        QApplication::processEvents();
    }
    static void SetClipboard(const QString& S) { QGuiApplication::clipboard()->setText(S); }
    // Real column, display row.
    QString CellAt(int RealCol, int DisplRow) const { return G->GetGridCell(RealCol, DisplRow); }

    TForm* Form = nullptr;
    TExtStringGrid* G = nullptr;
    TEdit* Other = nullptr;
};

// The events of an edit, in the order they fire.
struct EditLog {
    std::vector<std::string> Lines;
    void Add(const std::string& S) { Lines.push_back(S); }
    void Watch(TExtStringGrid* G) {
        G->OnGetEditorType = [this](TObject*, int ACol, int ARow, TEditorType&) {
            Add("GetEditorType " + std::to_string(ACol) + "," + std::to_string(ARow));
        };
        G->OnGetEditorProp = [this](TObject*, int ACol, int ARow, TEditLink*) {
            Add("GetEditorProp " + std::to_string(ACol) + "," + std::to_string(ARow));
        };
        G->OnEditChange = [this](TObject*, int ACol, int ARow, const QString& V) {
            Add("EditChange " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + V.toStdString());
        };
        G->OnEditingDone = [this](TObject*) { Add("EditingDone"); };
        G->OnEditCellDone = [this](TObject*, int ACol, int ARow) {
            Add("EditCellDone " + std::to_string(ACol) + "," + std::to_string(ARow));
        };
    }
};
