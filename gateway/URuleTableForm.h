#pragma once
// The rule-table window every table editor is made of: the title panel, one column grid per
// table on the tabs of a page control, six push buttons (OK, Cancel, Delete, Insert, Copy and
// Paste Row) and the window's project table file. A window describes its tables (grids, columns,
// texts, file, check) and gets the life cycle: texts by number from its block, showing loads the
// file, OK checks and saves the file whole, Cancel drops the edits.

#include "app/LbButton.h"
#include "gateway/TableChecks.h"
#include "gateway/TableFile.h"
#include "grid/control/ExtCGrid.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

#include <QChar>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A colour given as the RGB number designers write (0xRRGGBB).
constexpr TColor RGB_Color(unsigned Rgb) {
    return TColor(((Rgb & 0xFF) << 16) | (Rgb & 0xFF00) | ((Rgb >> 16) & 0xFF));
}
constexpr TColor Key_Column_Color = RGB_Color(0xE0FAFE);
constexpr TColor Timing_Column_Color = RGB_Color(0xA8FFA8);
constexpr TColor Position_Column_Color = RGB_Color(0xFCD6F4);
constexpr TColor Mnemonic_Column_Color = clWhite;

// One data column of a rule grid (grid column 1 on).
struct TRuleColumn {
    int Width = 64;
    TColor Color = clWhite;
    TEditorType Editor = edNormal; // edDataCheckBox: the cell text "Y"/"N" is the state
};

struct TRuleGridDesc {
    QString GridName; // "sga"
    QString TabName; // "TS_SDO_Read"
    QString CopyFlagName; // "Do_Copy_SDO_Read"
    QString HintListName; // "Hint_SDO_Client_Read"
    int DataRows = 0;
    QList<TRuleColumn> Columns; // columns 1..N
    bool Hooks = true; // header hints, Enter jump, double-click sizing, row-number click
};

struct TRuleFormDesc {
    QString FormName; // "FSet_SDO_Server_Access"
    int ClientWidth = 0;
    int ClientHeight = 337;
    int TextBase = 0; // caption; then description, six captions, six hints, tabs, headers, hint lists
    int DeleteQuestion = 0; // followed by the row number
    const TTableFileDesc* File = nullptr;
    const QString* FilePath = nullptr; // the project file's path global
    std::function<std::optional<TCheckError>(const TTableFileData&)> Check;
    QList<TRuleGridDesc> Grids; // in tab order
};

class TRuleTableForm : public TForm {
public:
    TRuleTableForm(TComponent* AOwner, TRuleFormDesc Desc);
    using TForm::KeyPress;

    void CreateComponents() override;
    void FormCreate(TObject* Sender) override;
    void FormShow(TObject* Sender);
    void Set_Lang();
    bool Controllo_dati();
    // The check of the tables as given: shows the first error and answers false.
    bool Check_Data(const TTableFileData& Data);
    void Btn_OK_Click(TObject* Sender);
    void Btn_DelRow_Click(TObject* Sender);
    void Delete_Row(int Num_Row, TExtColumnGrid* SGA);
    void Btn_InsRowClick(TObject* Sender);
    void Btn_CopyRowClick(TObject* Sender);
    void Btn_PasteRowClick(TObject* Sender);
    void GridHint(TObject* Sender, int ARow, int ACol, QString& hintstr);
    void KeyPress(TObject* Sender, QChar& Key);
    void DblClickCell(TObject* Sender, int ARow, int ACol);
    void ClickCell(TObject* Sender, int ARow, int ACol);

    const TRuleFormDesc& Desc() const { return FDesc; }
    // The grids' tables as the file holds them (each up to its grid's capacity), and back.
    TTableFileData Grid_Data();
    void Set_Grid_Data(const TTableFileData& Data);
    // The grid on the active tab.
    TExtColumnGrid* Active_Grid() const;
    // Whether the file shown could not be read completely (then OK asks before replacing it).
    bool File_Incomplete() const { return FIncomplete; }

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TPageControl* PageControl1 = nullptr;
    std::vector<TTabSheet*> Tabs;
    std::vector<TExtColumnGrid*> Grids;
    TPanel* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TLbButton* Btn_DelRow = nullptr;
    TLbButton* Btn_InsRow = nullptr;
    TLbButton* Btn_CopyRow = nullptr;
    TLbButton* Btn_PasteRow = nullptr;
    // One per grid: the column hints (entry i: column i+1) and the copy flags.
    std::vector<std::unique_ptr<TStringList>> Hint_Lists;
    std::vector<bool> Do_Copy;
    // The data-array sizes the positions are checked against (set at every showing).
    int PROFINET_NByte_IN = 0;
    int PROFINET_NByte_OUT = 0;

private:
    int Grid_Index(TObject* Sender) const;
    void Fit_Header_Rows();
    void Clear_Grids();
    void Read_File();
    TRuleFormDesc FDesc;
    bool FIncomplete = false;
};
