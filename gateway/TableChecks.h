#pragma once
// The checks the rule-table editors run before they save (their Controllo_dati): declarative
// steps per table, the first failing value reported as one error. Message texts come from the
// language table by number through a lookup, so the windows pass Lang and tests the English texts.

#include "gateway/TableFile.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

using TLangLookup = std::function<QString(int)>;

struct TCheckError {
    int Table = 0; // index of the table (section) in tab order
    int Row = 0; // grid data row, from 1
    int Column = 0; // grid column of the failed value
    QList<int> MessageNumbers; // the language texts the message is made of
    bool AppendValue = false; // the message ends with Value in decimal
    int Value = 0; // the largest valid data-array position, when appended
    QString Text; // the composed message
};

// "Error row " text + row + the failed value's text [+ Value]: the message of the rule tables.
QString Compose_Check_Message(const TCheckError& Error, const TLangLookup& Lang);

struct TCheckStep {
    int Column = 0; // grid column of the value
    int Min = 0, Max = 0; // valid range (inclusive), used when Allowed is empty and no Valid
    QList<int> Allowed; // when not empty: the value must be one of these
    std::function<bool(const QString& Cell, const QStringList& Row)> Valid; // custom test
    int Message = 0; // language text of the failure
    bool AppendMax = false; // data-array positions: the message ends with Max
    int WhenColumn = 0; // when > 0: the step applies only when that column reads >= WhenAtLeast
    int WhenAtLeast = 0;
};

struct TTableCheck {
    int ErrorRowText = 0; // the table's "Error row " text
    QList<TCheckStep> Steps; // in the order they are checked within a row
};

// Walks the tables in order and in each the rows of its table (up to the blank key, Table_Length),
// each row's steps in order; the first failure is returned with its text composed. Numbers are
// read with the system's one integer syntax (CellValue: empty or invalid reads as -1).
std::optional<TCheckError> Check_Tables(const TTableFileDesc& Desc, const QList<TTableCheck>& Checks,
                                        const TTableFileData& Data, const TLangLookup& Lang);

// Step builders for the common cases.
TCheckStep Range_Step(int Column, int Min, int Max, int Message);
TCheckStep Set_Step(int Column, QList<int> Allowed, int Message);
TCheckStep Position_Step(int Column, int Size, int Message, int WhenColumn = 0, int WhenAtLeast = 0);
