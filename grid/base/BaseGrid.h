#pragma once
// The cell store under every grid of the library: cell texts read and written through the base
// cell of a merged area, merged cells, one TCellProperties record per cell kept in the string
// grid's object slot, navigation that steps over merged areas, and the link to an undo/redo
// component.
//
// Indexes: every operation here takes storage (real) columns and display rows; the cell store
// never translates between displayed and stored columns. Merges and records are resolved over
// columns 0..TotalColCount()-1 and rows 0..RowCount()-1, so a descendant that hides columns keeps
// their cells, records and merges by counting them in TotalColCount().
#include "platform/grids/Grids.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

class TBaseGrid;
class TExtGridUndoRedo;

// ---- shared cell types ------------------------------------------------------------------------
enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TCellGradientDirection { GradientVertical, GradientHorizontal };
enum TColumnCalcType { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV };
enum TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum THoverRowCell { hcNormal, hcFixed, hcSelected };
using THoverRowCells = TSet<THoverRowCell>;

// The editor kind of a cell or column, in its stored order.
enum TEditorType {
    edNormal,
    edSpinEdit,
    edComboEdit,
    edComboList,
    edEditBtn,
    edCheckBox,
    edDateEdit,
    edDateEditUpDown,
    edTimeEdit,
    edButton,
    edDataCheckBox,
    edNumeric,
    edPositiveNumeric,
    edFloat,
    edCapital,
    edMixedCase,
    edPassword,
    edUnitEditBtn,
    edLowerCase,
    edUpperCase,
    edFloatSpinEdit,
    edTimeSpinEdit,
    edDateSpinEdit,
    edNumericEditBtn,
    edFloatEditBtn,
    edCustom,
    edRichEdit,
    edNone,
    edDateTimeEdit,
    edValidChars,
    edTrackbarDropDown,
    edMemoDropDown,
    edCalculatorDropDown,
    edTimePickerDropDown,
    edDetailDropDown,
    edGridDropDown,
    edColorPickerDropDown,
    edImagePickerDropDown,
    edExtGridDropDown,
    edPositiveFloat,
    edNumericUnitEditBtn,
    edFloatUnitEditBtn,
    edMaskEditBtn
};

using TGetDisplTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
// The wide text of a cell: each character a full UTF-16 unit (the stored "|\" form decoded).
using TGetDisplWideTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;

// True when Obj is a cell graphic, the one graphic class a cell record owns. Matches the class
// by its own (unqualified) name, so the record does not depend on the graphic's unit.
bool IsCellGraphicObject(const TObject* Obj);

// ---- TCellProperties --------------------------------------------------------------------------
// Everything a cell needs beyond its text. Created by the cell store on first request; knows its
// grid and cell so that its visible setters repaint that cell.
class TCellProperties : public TPersistent {
    friend class TBaseGrid; // seeds a new record without repainting
public:
    TCellProperties(TBaseGrid* AOwner, int ACol, int ARow);
    // Frees an owned cell graphic with the record, whichever path frees the record.
    ~TCellProperties() override;

    TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
    int OwnerCol() const { return FOwnerCol; }
    void SetOwnerCol(int Value) { FOwnerCol = Value; }
    int OwnerRow() const { return FOwnerRow; }
    void SetOwnerRow(int Value) { FOwnerRow = Value; }

    uintptr_t CellObject() const { return FObject; }
    void SetCellObject(uintptr_t Value) { FObject = Value; }
    // A cell graphic set here is owned by the record; any other object is only referenced.
    TObject* GraphicObject() const { return FGraphicObject; }
    void SetGraphicObject(TObject* Value) { FGraphicObject = Value; }

    TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle Value) { FBrushStyle = Value; }
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor Value);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor Value);
    int FontSize() const { return FFontSize; }
    void SetFontSize(int Value) { FFontSize = Value; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value) { FFontColor = Value; }
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles Value) { FFontStyle = Value; }
    int CellSpanY() const { return FCellSpanY; }
    void SetCellSpanY(int Value) { FCellSpanY = Value; }
    int CellSpanX() const { return FCellSpanX; }
    void SetCellSpanX(int Value) { FCellSpanX = Value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value);
    // The paint pass in which this cell was last painted through a covered cell.
    int PaintID() const { return FPaintID; }
    void SetPaintID(int Value) { FPaintID = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool IsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool Value) { FIsBaseCell = Value; }
    TColumnCalcType CalcType() const { return FCalcType; }
    void SetCalcType(TColumnCalcType Value) { FCalcType = Value; }
    TObject* CalcObject() const { return FCalcObject; }
    void SetCalcObject(TObject* Value) { FCalcObject = Value; }
    int NodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(int Value) { FNodeLevel = Value; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType Value) { FEditor = Value; }
    QString FontName() const { return FFontName; }
    void SetFontName(const QString& Value) { FFontName = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TCellGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection Value) { FGradientDirection = Value; }
    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value) { FControl = Value; }

    // The base cell of the area this record's cell (c, r) belongs to.
    TPoint GetBaseCell(int c, int r) const;
    // Copies the cell's look, merge role and attachments; leaves the gradient end, the graphic,
    // the calculation, the paint pass and the owner grid as they are. Source must be a record.
    void Assign(TPersistent* Source) override;

private:
    void RepaintOwnerCell();
    TBaseGrid* FOwnerGrid;
    int FOwnerCol;
    int FOwnerRow;
    uintptr_t FObject = 0;
    TObject* FGraphicObject = nullptr;
    int FPaintID = 0;
    TColumnCalcType FCalcType = acNONE;
    TObject* FCalcObject = nullptr;
    TBrushStyle FBrushStyle = bsSolid;
    TColor FBrushColor = clNone;
    TColor FBrushColorTo = clNone;
    int FFontSize = 0;
    TColor FFontColor = clNone;
    TFontStyles FFontStyle;
    int FCellSpanY = -1;
    int FCellSpanX = -1;
    int FBorderWidth = 0;
    TColor FBorderColor = 0;
    TAlignment FAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    bool FWordWrap = true;
    bool FIsBaseCell = true;
    int FNodeLevel = 0;
    TEditorType FEditor = edNormal;
    QString FFontName;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = GradientVertical;
    TControl* FControl = nullptr;
};

// ---- undo/redo --------------------------------------------------------------------------------
// One registered change (old and new text of a cell), or a sequence marker (Col = Row = -1,
// empty texts, exactly one flag set).
class TUndoRedoItem : public TPersistent {
public:
    int Row() const { return FRow; }
    void SetRow(int Value) { FRow = Value; }
    int Col() const { return FCol; } // storage column
    void SetCol(int Value) { FCol = Value; }
    QString Value() const { return FValue; }
    void SetValue(const QString& V) { FValue = V; }
    QString OrigValue() const { return FOrigValue; }
    void SetOrigValue(const QString& V) { FOrigValue = V; }
    bool SequenceStart() const { return FSequenceStart; }
    void SetSequenceStart(bool V) { FSequenceStart = V; }
    bool SequenceStop() const { return FSequenceStop; }
    void SetSequenceStop(bool V) { FSequenceStop = V; }

private:
    int FRow = 0;
    int FCol = 0;
    QString FValue;
    QString FOrigValue;
    bool FSequenceStart = false;
    bool FSequenceStop = false;
};

// The records in registration order; owns them.
class TUndoRedoCollection : public TPersistent {
public:
    int Count() const { return int(FItems.size()); }
    TUndoRedoItem* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
    TUndoRedoItem* Add();
    void Delete(int Index);
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TUndoRedoItem>> FItems;
};

using TExtGridUndoRedoEvent = std::function<void(TObject* Sender, TBaseGrid* Grid, int Col, int Row,
                                                 const QString& OrigValue, const QString& NewValue)>;

class TExtGridUndoRedo : public TComponent {
public:
    explicit TExtGridUndoRedo(TComponent* AOwner);
    ~TExtGridUndoRedo() override;

    virtual void RegisterChange(int ACol, int ARow, const QString& OldValue, const QString& NewValue);
    virtual void StartSequence();
    virtual void StopSequence();
    void Undo();
    void Redo();
    void Reset();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems->Count(); }

    TBaseGrid* Grid() const { return FGrid; }
    void SetGrid(TBaseGrid* Value) { FGrid = Value; }
    int MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(int Value) { FMaxLevel = Value; }
    int Level() const { return FLevel; }
    TUndoRedoCollection* Items() const { return FItems.get(); }

    TExtGridUndoRedoEvent OnUndo;
    TExtGridUndoRedoEvent OnRedo;

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AddMarker(bool Start);
    void Restore(TUndoRedoItem* X);
    void Reapply(TUndoRedoItem* X);
    void MoveGridTo(int ACol, int ARow);
    void ClampLevel();
    std::unique_ptr<TUndoRedoCollection> FItems;
    TBaseGrid* FGrid = nullptr;
    int FLevel = 0;
    int FMaxLevel = 0;
};

// ---- TBaseGrid --------------------------------------------------------------------------------
// Adds nothing to the string grid; the library's grids derive through it.
class TObjStringGrid : public TStringGrid {
public:
    explicit TObjStringGrid(TComponent* AOwner) : TStringGrid(AOwner) {}
};

class TBaseGrid : public TObjStringGrid {
    friend class TCellProperties;

public:
    explicit TBaseGrid(TComponent* AOwner);
    ~TBaseGrid() override;

    // -- cell text
    QString GetCellEx(int c, int r);
    void SetCellEx(int c, int r, const QString& Value);
    QString GetGridCell(int c, int r) const { return Cells(c, r); }
    void SetGridCell(int c, int r, const QString& Value) { SetCells(c, r, Value); }
    TObject* GetGridObject(int c, int r) const { return Objects(c, r); }
    void SetGridObject(int c, int r, TObject* Value) { SetObjects(c, r, Value); }

    // -- cell properties and attached objects
    TCellProperties* GetCellProperties(int c, int r);
    void SetCellProperties(int c, int r, TCellProperties* Value);
    TObject* GetObjectEx(int c, int r);
    void SetObjectEx(int c, int r, TObject* Value);
    TObject* GetGraphicObjectEx(int c, int r);
    void SetGraphicObjectEx(int c, int r, TObject* Value);
    static TObject* PropsGraphicObject(const TCellProperties* Props) {
        return Props ? Props->GraphicObject() : nullptr;
    }
    bool HasCellProperties(int c, int r) const;

    // -- merged cells
    virtual void MergeCells(int c, int r, int spanx, int spany);
    virtual void SplitCells(int c, int r);
    TPoint BaseCell(int ACol, int ARow) const;
    bool ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
    bool IsBaseCell(int ACol, int ARow) const;
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsMergedNonBaseCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    TPoint CellSpan(int ACol, int ARow) const;
    TPoint CellExt(int ACol, int ARow) const;
    TGridRect FullCell(int ACol, int ARow) const;
    int MinRowSpan(int ARow) const;
    int MaxRowSpan(int ARow) const;
    bool RowSpanIdentical(int ARow1, int ARow2) const;
    bool ColSpanIdentical(int ACol1, int ACol2) const;
    int MergeCount() const { return FMergeCount; }

    // -- geometry (pixels, client coordinates)
    TRect CellRect(int c, int r) const override;
    TRect CellRectAnywhere(int c, int r) const;
    TPoint CellSize(int c, int r) const;
    void RepaintCell(int c, int r);
    int FixedColsWidth() const;
    int FixedRowsHeight() const;

    // -- clearing and freeing, for the row and column operations of descendants
    void ClearColCells(int ACol);
    void ClearRowCells(int ARow);
    void ClearCellAndObject(int ACol, int ARow);
    void FreeCellPropsRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void FreeCellProps(int ACol, int ARow);
    void FreeAllCellProps();

    // -- virtual operations the descendants override
    virtual bool IsFixed(int ACol, int ARow);
    virtual int GetNodeIndent(int ARow);
    virtual bool HasNodes();
    virtual void DrawGridCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    virtual void UpdateHiddenLastRow();
    virtual void GetDisplText(int ACol, int ARow, QString& Value);
    virtual void GetDisplWideText(int ACol, int ARow, QString& Value);
    virtual void GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
                                 TColor& MirrorColorTo, TAlignment& HA, TVAlignment& VA, bool& WW,
                                 TCellGradientDirection& GD);
    virtual void CellTextChanged(int ACol, int ARow);
    virtual bool HasCellBorders();
    virtual bool UsesPlatformStyles();
    virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
                                     TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                                     TFont* AFont, TAlignment& HA, TVAlignment& VA, bool& WW,
                                     TCellGradientDirection& GD);
    virtual int DisplColIndex(int ACol) const { return ACol; }
    virtual int TotalColCount() const { return ColCount(); }

    // -- properties (GridLineWidth and DefaultDrawing are the platform grid's, which leaves every
    // line and all cell drawing to the store)
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor Value);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor Value);
    int PaintID() const { return FPaintID; }
    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool Value);
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor Value);
    TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor Value);
    TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor Value);
    TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor Value);
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle Value);
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool Value) { FHoverRow = Value; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor Value) { FHoverRowColor = Value; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor Value) { FHoverRowColorTo = Value; }
    THoverRowCells HoverRowCells() const { return FHoverRowCells; }
    void SetHoverRowCells(THoverRowCells Value) { FHoverRowCells = Value; }
    TExtGridUndoRedo* UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TExtGridUndoRedo* Value);
    bool HasCellProps() const { return FHasCellProps; }

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void KeyDown(Word& Key, TShiftState Shift) override;

    // State the string grid above keeps here.
    bool CustomSelect() const { return FCustomSelect; }
    void SetCustomSelect(bool Value) { FCustomSelect = Value; }
    bool HideLastRow() const { return FHideLastRow; }
    void SetHideLastRow(bool Value) { FHideLastRow = Value; }
    // Rows from this one down get the display hooks.
    int NormalRowCount() const { return FNormalRowCount; }
    void SetNormalRowCount(int Value) { FNormalRowCount = Value; }
    // The word wrap a new record starts with; the string grid above also repaints on a change.
    bool WordWrap() const { return FWordWrap; }
    virtual void SetWordWrap(bool Value) { FWordWrap = Value; }
    int HoverRowIdx() const { return FHoverRowIdx; }
    void SetHoverRowIdx(int Value) { FHoverRowIdx = Value; }
    bool ShowSel() const { return FShowSel; }
    void SetShowSel(bool Value) { FShowSel = Value; }

    // ---- cell painting (BaseGrid_Paint.cpp) ----
    // Lays the frame of one cell on Canvas (merged areas once per pass, clipping under the
    // fixed cells, hover and active-row colours, selection face, background, grid lines) and,
    // when Full, hands the inner rectangle to DrawGridCell.
    void PaintCellCore(TCanvas* Canvas, int ACol, int ARow, TRect R, TGridDrawState AState, bool Full);
    // The whole cell on any canvas.
    void PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    // Background and lines only, in the rectangle as given (a look-alike of the cell).
    void PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);

private:
    bool FPaintErrorReported = false; // a cell that fails to paint is reported once
    void ReportPaintError(int ACol, int ARow, const char* What);
    void GuardedPaintCell(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState, bool Full);

protected:
    // Every line and all cell drawing are the store's own.
    int PlatformLineWidth() const override { return 0; }
    bool PlatformDefaultDrawing() const override { return false; }
    bool SelectCell(int ACol, int ARow) override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void Paint() override;
    void TopLeftChanged() override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

    void SnapToBaseCell();
    void RepaintFixedColMerges();
    void RepaintFixedRowMerges();

private:
    TCellProperties* PropsAt(int c, int r) const; // the record when HasCellProperties
    TCellProperties* CreateCellProperties(int c, int r, bool Seed);
    void ForgetRecord(TCellProperties* P) { FRecords.erase(P); }

    bool FCustomSelect = true;
    bool FHideLastRow = false;
    int FNormalRowCount = 0;
    bool FWordWrap = true;
    int FHoverRowIdx = -1;
    bool FShowSel = true;
    TColor FGridLineColor = clSilver;
    TColor FGridFixedLineColor = clGray;
    int FPaintID = 1;
    TExtGridUndoRedo* FUndoRedo = nullptr;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle FSelectionStyle = ssDefault;
    bool FHoverRow = false;
    THoverRowCells FHoverRowCells{hcNormal, hcSelected};
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
    bool FHasCellProps = false;
    int FMergeCount = 0;
    bool FDestroying = false;
    // Every record alive for this grid, wherever its slot is now (rows and columns move, counts
    // shrink, slots get cleared without freeing): the destructor frees them all.
    std::unordered_set<TCellProperties*> FRecords;
};
