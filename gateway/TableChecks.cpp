#include "gateway/TableChecks.h"

QString Compose_Check_Message(const TCheckError& Error, const TLangLookup& Lang) {
    QString Text;
    if (!Error.MessageNumbers.isEmpty()) Text = Lang(Error.MessageNumbers.first());
    Text += IntToStr(Error.Row);
    for (int i = 1; i < Error.MessageNumbers.size(); ++i) Text += Lang(Error.MessageNumbers[i]);
    if (Error.AppendValue) Text += IntToStr(Error.Value);
    return Text;
}

static bool Step_Applies(const TCheckStep& Step, const QStringList& Row) {
    if (Step.WhenColumn <= 0) return true;
    return CellValue(Table_Cell(Row, Step.WhenColumn)) >= Step.WhenAtLeast;
}

static bool Step_Passes(const TCheckStep& Step, const QStringList& Row) {
    const QString Cell = Table_Cell(Row, Step.Column);
    if (Step.Valid) return Step.Valid(Cell, Row);
    const int Value = CellValue(Cell);
    if (!Step.Allowed.isEmpty()) return Step.Allowed.contains(Value);
    return Value >= Step.Min && Value <= Step.Max;
}

std::optional<TCheckError> Check_Tables(const TTableFileDesc& Desc, const QList<TTableCheck>& Checks,
                                        const TTableFileData& Data, const TLangLookup& Lang) {
    for (int t = 0; t < Checks.size() && t < Desc.Sections.size(); ++t) {
        if (t >= Data.Tables.size()) break;
        const TTable& Table = Data.Tables[t];
        const int Len = Table_Length(Desc.Sections[t], Table);
        for (int r = 0; r < Len; ++r) {
            const QStringList& Row = Table.Rows[r];
            for (const TCheckStep& Step : Checks[t].Steps) {
                if (!Step_Applies(Step, Row) || Step_Passes(Step, Row)) continue;
                TCheckError Error;
                Error.Table = t;
                Error.Row = r + 1;
                Error.Column = Step.Column;
                Error.MessageNumbers = {Checks[t].ErrorRowText, Step.Message};
                Error.AppendValue = Step.AppendMax;
                Error.Value = Step.Max;
                Error.Text = Compose_Check_Message(Error, Lang);
                return Error;
            }
        }
    }
    return std::nullopt;
}

TCheckStep Range_Step(int Column, int Min, int Max, int Message) {
    TCheckStep S;
    S.Column = Column;
    S.Min = Min;
    S.Max = Max;
    S.Message = Message;
    return S;
}

TCheckStep Set_Step(int Column, QList<int> Allowed, int Message) {
    TCheckStep S;
    S.Column = Column;
    S.Allowed = std::move(Allowed);
    S.Message = Message;
    return S;
}

TCheckStep Position_Step(int Column, int Size, int Message, int WhenColumn, int WhenAtLeast) {
    TCheckStep S = Range_Step(Column, 0, Size - 1, Message);
    S.AppendMax = true;
    S.WhenColumn = WhenColumn;
    S.WhenAtLeast = WhenAtLeast;
    return S;
}
