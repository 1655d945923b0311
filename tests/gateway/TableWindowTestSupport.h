#pragma once
// What the table-window tests share: a scratch project with the English texts, and one adapter
// per window that fills, reads and drives it the same way, so a behaviour every window shares is
// written once and runs over all of them.
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "gateway/GatewayTables.h"
#include "gateway/UOPC_UA_Server_Access.h"
#include "gateway/URuleTableForm.h"
#include "gateway/USet_PDO_Access.h"
#include "gateway/USet_SDO_Client_Access.h"
#include "gateway/USet_SDO_Server_Access.h"
#include "tests/support/ScriptedDialogs.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

inline QByteArray Read_Bytes(const QString& Path) {
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

inline void Write_Bytes(const QString& Path, const QByteArray& Bytes) {
    QFile F(Path);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
    F.write(Bytes);
}

// One window as the shared tests see it. Tables are numbered in tab order; rows and columns are
// the grid's (data rows from 1, data columns from 1).
struct TTableWindow {
    const char* Name;
    std::function<TForm*()> Make;
    QString* File;
    int TextBase;
    int Tables;
    // The cells 1..N of a valid rule; distinct k give distinct rules.
    std::function<QStringList(int Table, int k)> Valid_Row;
    int Key_Column;
    // A column and a text that make the rule fail the check, and the message it fails with.
    int Bad_Column;
    QString Bad_Text;
    std::function<QString(int Row)> Bad_Message;
};
// A window's case is shown by its name.
inline void PrintTo(const TTableWindow& W, std::ostream* Out) { *Out << W.Name; }

// Cells of a window's grid, whatever kind of grid it is.
void Set_Row(TForm* F, int Table, int Row, const QStringList& Cells);
QStringList Get_Row(TForm* F, int Table, int Row);
void Set_Cell(TForm* F, int Table, int Row, int Col, const QString& Text);
int Data_Rows(TForm* F, int Table);
void Press_OK(TForm* F);
void Show(TForm* F);
bool Incomplete(TForm* F);

const std::vector<TTableWindow>& Table_Windows();

class TableWindowFixture {
public:
    TableWindowFixture();
    ~TableWindowFixture();
    QTemporaryDir Dir;
};
