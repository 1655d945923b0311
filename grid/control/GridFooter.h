#pragma once
// The floating footer: a strip docked under the grid's cells that stays in place while the rows
// scroll. TFloatingFooter holds its settings and the per-column calculation types (kept in the
// cell properties of the last row); TFooterPanel is the strip, which paints in one of four
// styles, passes hints and clicks on to the grid's cell events and drops a hint when the mouse
// moves to another column.
#include "grid/base/BaseGrid.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"

#include <QString>

#include <functional>

class TExtStringGrid;

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

using TFooterCalcEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;

class TFloatingFooter : public TPersistent {
public:
    explicit TFloatingFooter(TExtStringGrid* AOwner);
    // From another floating footer: the hidden-row rule, colour, column, template, style,
    // visibility (through its writer) and hint switch.
    void Assign(TPersistent* Source) override;

    int Height() const { return FHeight; }
    void SetHeight(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle Value);
    int Column() const { return FColumn; }
    void SetColumn(int Value);
    QString CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const QString& Value);
    bool CalculateHiddenRows() const { return FCalculateHiddenRows; }
    void SetCalculateHiddenRows(bool Value) { FCalculateHiddenRows = Value; }
    bool EnableCalculation() const { return FEnableCalculation; }
    void SetEnableCalculation(bool Value) { FEnableCalculation = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);

    void Invalidate();
    // The calculation type of a column (real) lives in the properties of its last-row cell.
    void SetColumnCalc(int ACol, TColumnCalcType Value);
    TColumnCalcType GetColumnCalc(int ACol);

    TFooterCalcEvent OnCalcFooter;

private:
    // Hides the last row from the grid while the strip shows it; with RecountFooters the grid
    // also counts that row as its one fixed footer row.
    void ApplyToGrid(bool RecountFooters);
    TExtStringGrid* FGrid;
    int FHeight = 22;
    bool FVisible = false;
    TColor FColor = clBtnFace;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    int FColumn = 0;
    QString FCustomTemplate;
    bool FCalculateHiddenRows = true;
    bool FEnableCalculation = true;
    bool FShowHint = false;
    TColor FBorderColor = clNone;
};

class TFooterPanel : public TPanel {
public:
    explicit TFooterPanel(TExtStringGrid* AOwner);
    // Run once the grid has its window: takes the footer's height (0 when hidden) and fires
    // the grid's OnCreatedFloatingFooter.
    void CreateWnd();
    void WndProc(TMessage& Message) override;

    int LastHintX() const { return FLastHintX; }
    // The display column under client X: false when X lies right of the last column. Over the
    // fixed columns the column is LeftCol - 1.
    bool ColumnAt(int X, int& DisplCol) const;
    // The used width: the fixed columns plus the columns from LeftCol on.
    int UsedWidth() const;
    // The template with every "<#n>" replaced by the display text of cell (n, current row).
    QString ExpandTemplate(const QString& Template) const;

protected:
    void Paint() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

private:
    bool RightToLeft() const;
    TRect Mirror(TRect R) const;
    void PaintFixedLastRow(TCanvas* C, int W);
    // The grid's own drawing of a cell into R of the strip.
    void PaintGridCell(TCanvas* C, int DisplCol, int DisplRow, const TRect& R, bool Fixed = true);
    void PaintFrame(TCanvas* C, int W);
    TExtStringGrid* FGrid;
    int FLastHintX = -1;
};
