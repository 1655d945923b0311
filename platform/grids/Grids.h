#pragma once
// The base grid of the platform: TCustomGrid (counts, sizes, current cell and selection,
// scrolling, painting loop, keyboard and mouse, in-place editor protocol), TDrawGrid (its events),
// TStringGrid (sparse text and object matrices with row and column views) and TInplaceEdit (the
// masked edit the grid shows over a cell).
//
// Indexes: ACol/ARow are the indexes of this grid (0-based, fixed columns and rows included).
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Classes.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QScrollBar;
class TCustomGrid;

// ---- small types ------------------------------------------------------------------------------
struct TGridCoord {
    int X = 0;
    int Y = 0;
    bool operator==(const TGridCoord&) const = default;
};

// Inclusive cell indexes.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TGridRect&) const = default;
};

inline TGridRect GridRect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

// Scroll bar information as the classic scroll-info record carries it.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_BOTH = 3;
constexpr unsigned SIF_RANGE = 0x1;
constexpr unsigned SIF_PAGE = 0x2;
constexpr unsigned SIF_POS = 0x4;
constexpr unsigned SIF_DISABLENOSCROLL = 0x8;
constexpr unsigned SIF_TRACKPOS = 0x10;
constexpr unsigned SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct TScrollInfo {
    unsigned fMask = SIF_ALL;
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// The scroll position scale of the grid's own bars: a thumb position 0..GridScrollMax.
constexpr int GridScrollMax = 127;

using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const QString& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TFixedCellClickEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;

// ---- TInplaceEdit -----------------------------------------------------------------------------
// The editor the grid shows over its current cell. The grid creates it (CreateEditor), fills it
// (UpdateContents), places it (BoundsChanged) and hides it; the editor hands navigation keys and
// every typed character to the grid first.
class TInplaceEdit : public TCustomEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);
    ~TInplaceEdit() override;

    TCustomGrid* Grid() const { return FGrid; }
    void SetGrid(TCustomGrid* Value);

    // Shows the editor over R (client coordinates of the grid) and gives it the focus.
    void Move(const TRect& R);
    // Places the editor over R without showing it.
    void UpdateLoc(const TRect& R);
    void Deselect();
    // Loads text, mask and length limit of the grid's current cell.
    virtual void UpdateContents();
    // The text the editor held when it was last loaded (Escape brings it back).
    QString StartText() const { return FStartText; }

    void WndProc(TMessage& Message) override;

protected:
    // After the editor was placed (EditRect): it covers the cell rectangle.
    virtual void BoundsChanged();
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DblClick() override;
    LRESULT DialogCode() const override;
    TRect EditRect() const { return FRect; }

private:
    friend class TCustomGrid;
    TCustomGrid* FGrid = nullptr;
    TRect FRect;
    QString FStartText;
    int FEditLimit = 0; // the grid's edit limit when the cell was loaded (0: none)
    bool FLoading = false;
};

// ---- TCustomGrid ------------------------------------------------------------------------------
class TCustomGrid : public TCustomControl {
    friend class TInplaceEdit;

public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    // counts and fixed counts
    int ColCount() const { return FColCount; }
    virtual void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    virtual void SetRowCount(int Value);
    // The columns (rows) the grid itself keeps from scrolling. A descendant may answer a fixed
    // count of its own under its own name; painting and navigation here go by these.
    int PlatformFixedCols() const { return FFixedCols; }
    virtual void SetFixedCols(int Value); // EInvalidGridOperation "Fixed column count must be less than column count"
    int PlatformFixedRows() const { return FFixedRows; }
    virtual void SetFixedRows(int Value); // EInvalidGridOperation "Fixed row count must be less than row count"

    // sizes
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value); // every column takes it
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    virtual void SetDefaultRowHeight(int Value); // every row takes it
    int ColWidths(int ACol) const; // DefaultColWidth outside 0..ColCount-1
    void SetColWidths(int ACol, int Value);
    int RowHeights(int ARow) const;
    void SetRowHeights(int ARow, int Value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    int GridWidth() const; // pixels the visible columns take, fixed ones included
    int GridHeight() const;

    // view
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int Value);
    int TopRow() const { return FTopLeft.Y; }
    // The view stops where the last row (column) is fully shown. A descendant that covers the
    // bottom of its client area with a panel narrows ClientHeight, so that the view goes on
    // until the last row ends above the panel.
    virtual void SetTopRow(int Value);
    int VisibleColCount() const; // fully visible scrollable columns
    int VisibleRowCount() const;
    // Client rectangle of a cell; an empty rectangle when the cell is out of view. A cell cut by
    // the client edge is cut the same way. A descendant that joins cells answers for the area.
    virtual TRect CellRect(int ACol, int ARow) const;
    TGridCoord MouseCoord(int X, int Y) const; // (-1, -1) outside every cell
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;

    // current cell and selection
    int Col() const { return FCurrent.X; }
    virtual void SetCol(int Value); // EInvalidGridOperation "Grid index out of range"
    int Row() const { return FCurrent.Y; }
    virtual void SetRow(int Value);
    TGridRect Selection() const;
    virtual void SetSelection(const TGridRect& Value);
    TGridCoord Anchor() const { return FAnchor; }
    TGridOptions Options() const { return FOptions; }
    virtual void SetOptions(TGridOptions Value);
    TGridState GridState() const { return FGridState; }

    // scrolling
    TScrollStyle ScrollBars() const { return FScrollBars; }
    virtual void SetScrollBars(TScrollStyle Value);
    bool GetScrollInfo(int Bar, TScrollInfo& Info) const;
    int SetScrollInfo(int Bar, const TScrollInfo& Info, bool Redraw = true);
    // Shows or hides a bar. The grid decides again whenever its extent changes (counts, sizes,
    // fixed counts, client size, ScrollBars); scrolling keeps what was set here.
    void ShowScrollBar(int Bar, bool Show);
    bool ScrollBarShowing(int Bar) const;
    // Enables or disables both arrows of a bar (a bar kept shown while all its lines fit); an
    // extent change enables it again.
    void EnableScrollBar(int Bar, bool Enable);
    bool ScrollBarEnabled(int Bar) const;
    int GetScrollPos(int Bar) const;

    // editing
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value);
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    void ShowEditor();
    void HideEditor();
    // Writes the open editor's text into the cell it was loaded from (SetEditText). A descendant
    // that checks or redirects the value before it is stored overrides it.
    virtual void UpdateText();

    int ClientWidth() const override;
    int ClientHeight() const override;
    void WndProc(TMessage& Message) override;
    // The window's points in the grid's left-to-right coordinates.
    QPoint MouseClientPoint(QPoint P) const override {
        return MirroredLayout() ? QPoint(ClientWidth() - 1 - P.x(), P.y()) : P;
    }

    // The grid's own messages and hooks reachable by the editor.
    virtual bool CanEditModify();
    virtual int GetEditLimit();
    virtual QString GetEditMask(int ACol, int ARow);
    virtual QString GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const QString& Value);
    virtual bool CanEditAcceptKey(QChar Key);

    // Keys the editor passes on (navigation, Enter, Tab, Escape) go to these steps.
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;

    // Invalidation in cells and pixels.
    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateRect(const TGridRect& ARect);
    // A rectangle of the grid's (logical) coordinates; mirrored on a right-to-left grid.
    void InvalidateRect(const TRect& R) { TControl::InvalidateRect(WindowRect(R)); }
    // Right to left the grid lays its columns out from the right: it works in left-to-right
    // coordinates throughout and mirrors them where they meet the window (painting, the mouse,
    // invalidation and the placing of its child editors).
    bool MirroredLayout() const { return layoutDirection() == Qt::RightToLeft; }
    TRect WindowRect(const TRect& R) const {
        if (!MirroredLayout()) return R;
        return Rect(ClientWidth() - R.Right, R.Top, ClientWidth() - R.Left, R.Bottom);
    }
    // The whole grid, through the overridable Invalidate.
    void InvalidateGrid() { Invalidate(); }

    // Moves the current cell (asks SelectCell), the anchor with it when MoveAnchor, and scrolls
    // it into view when Show. Raises "Grid index out of range" outside the sheet.
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
    // Moves the current cell as a user action does: MoveColRow, editor updated, OnClick.
    void MoveCurrentCell(int ACol, int ARow, bool MoveAnchor);
    // Moves a column (or row) with its width (height) and what the descendant keeps per column;
    // the current cell follows its column. Runs ColumnMoved / RowMoved.
    // A column moved with the mouse goes through MoveColumn (MoveRow) too.
    virtual void MoveColumn(int FromIndex, int ToIndex);
    virtual void MoveRow(int FromIndex, int ToIndex);

protected:
    // The pixels the grid leaves after each cell for its own lines, and whether it fills each
    // cell and draws its text and focus frame before DrawCell. A descendant that draws all of
    // its lines and cells itself returns 0 and false, keeping GridLineWidth and DefaultDrawing
    // for its own painting.
    virtual int PlatformLineWidth() const { return FGridLineWidth; }
    virtual bool PlatformDefaultDrawing() const { return FDefaultDrawing; }

    // Hooks. None of them runs from a constructor.
    virtual bool SelectCell(int ACol, int ARow);
    virtual bool CanEditShow();
    virtual TInplaceEdit* CreateEditor();
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
    // After a count change, once the view, the scroll bars and the editor follow the new counts.
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void TopLeftChanged();
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs);
    virtual void Paint() override;
    virtual void Resize() override;
    // Row data of descendants: rows ARow..ARow+ACount-1 removed or inserted (counts change after).
    virtual void DeleteRowData(int ARow, int ACount);
    virtual void InsertRowData(int ARow, int ACount);
    virtual void DeleteColData(int ACol, int ACount);
    virtual void RearrangeRowData(const std::vector<int>& Plan);
    // A press and release of the left button on the same fixed cell.
    virtual void FixedCellClick(int ACol, int ARow);

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void DoExit() override;
    void TimerTick(int ID) override;
    LRESULT DialogCode() const override;
    bool ClicksOnMouseUp() const override { return false; }

    // Opens the editor and hands it the character that started the edit.
    void ShowEditorChar(QChar Ch);
    // Re-reads and re-places the open editor (after the current cell or a size changed).
    void UpdateEdit();
    // Hides the editor; with Commit its text is stored first (UpdateText).
    void HideEdit(bool Commit = true);
    // After the editor was hidden, whatever closed it.
    virtual void EditorHidden() {}
    void InvalidateEditor();
    // Scrolls so that the cell is fully in view.
    void ClampInView(int ACol, int ARow);
    // Row and column range operations; cells of descendants move with them.
    void DeleteRow(int ARow) { DeleteRows(ARow, 1); }
    void DeleteRows(int ARow, int ACount);
    virtual void InsertRows(int ARow, int ACount);
    // Rebuilds the rows in one pass: row i becomes old row Plan[i] (each old row named at most
    // once), or a new empty row where Plan[i] is -1; old rows not named are removed. Heights and
    // the descendant's row data follow (RearrangeRowData); the current cell keeps its index.
    void RearrangeRows(const std::vector<int>& Plan);
    void DeleteColumn(int ACol);
    // The largest TopRow / LeftCol that still shows the last row / column fully.
    int MaxTopRow() const;
    // Pixels at the bottom of the client area that a child of the grid covers (a bar aligned to
    // the bottom edge): the view may scroll on until the last row ends above them.
    virtual int CoveredBottom() const { return 0; }
    int MaxLeftCol() const;
    // Scrolls the view (clamped to the scrollable range); TopLeftChanged when it moved.
    void ScrollTo(int ALeftCol, int ATopRow);
    // After an extent change: which bars show, their range and position.
    void UpdateScrollBars();
    // After a scroll: the positions only.
    void UpdateScrollPos();
    TGridCoord FCurrent;
    TGridCoord FAnchor;
    TGridCoord FTopLeft;
    TGridState FGridState = gsNormal;

private:
    void ChangeSize(int NewColCount, int NewRowCount);
    void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    void SelectionMoved(const TGridRect& OldSel);
    TGridRect NormalSelection() const;
    void ModifyScrollBar(int Bar, Word ScrollCode, int Pos);
    int ScrollPosOf(int Bar) const;
    int PosToTopRow(int Pos) const;
    int PosToLeftCol(int Pos) const;
    void LayoutScrollBars();
    int ColX(int ACol) const; // left pixel of a column in view (-1 out of view)
    int RowY(int ARow) const;
    void CheckCoord(int ACol, int ARow) const;
    void KeyNavigate(Word& Key, TShiftState Shift);
    void DragScroll();

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    std::vector<int> FColWidths; // empty: every column DefaultColWidth
    std::vector<int> FRowHeights; // empty: every row DefaultRowHeight
    int FGridLineWidth = 1;
    TColor FFixedColor = clBtnFace;
    bool FDefaultDrawing = true;
    TBorderStyle FBorderStyle = bsSingle;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TScrollStyle FScrollBars = ssBoth;
    bool FEditorMode = false;
    TInplaceEdit* FInplaceEdit = nullptr;
    TGridCoord FEditCell{-1, -1}; // the cell the editor's text belongs to
    bool FUpdatingEdit = false;
    TCursor FSizeCursor = crDefault;
    // mouse state
    int FSizingIndex = 0;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = 0;
    int FMovePos = 0;
    TGridCoord FPressCell{-1, -1};
    TPoint FLastMouse;
    // scroll bars
    QScrollBar* FHBar = nullptr;
    QScrollBar* FVBar = nullptr;
    TScrollInfo FInfo[2];
    bool FBarShown[2] = {false, false};
    bool FBarEnabled[2] = {true, true};
    bool FSettingBars = false;
};

// ---- TDrawGrid --------------------------------------------------------------------------------
// The grid with the platform's published events.
class TDrawGrid : public TCustomGrid {
public:
    explicit TDrawGrid(TComponent* AOwner);

    TSelectCellEvent OnSelectCell;
    TDrawCellEvent OnDrawCell;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TGetEditEvent OnGetEditMask;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TNotifyEvent OnTopLeftChanged;
    TFixedCellClickEvent OnFixedCellClick;

    QString GetEditMask(int ACol, int ARow) override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;

protected:
    bool SelectCell(int ACol, int ARow) override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void TopLeftChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void FixedCellClick(int ACol, int ARow) override;
};

// ---- TStringGrid ------------------------------------------------------------------------------
class TStringGrid;

// A row or column of a string grid seen as a string list: Count is ColCount (RowCount); the
// entries read and write the grid's cells and objects.
class TStringGridStrings : public TStrings {
public:
    TStringGridStrings(TStringGrid* Grid, bool IsRow, int Index) : FGrid(Grid), FIsRow(IsRow), FIndex(Index) {}
    int Count() const override;
    QString Get(int Index) const override;
    void Put(int Index, const QString& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    // Add puts the text in the first empty entry (-1 when none is empty); inserting and
    // deleting entries is not possible in a grid line.
    int Add(const QString& S) override;
    void Insert(int Index, const QString& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void Assign(TPersistent* Source) override;

private:
    void CheckIndex(int Index) const;
    TStringGrid* FGrid;
    bool FIsRow;
    int FIndex;
};

class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    // Sparse matrices: a never-written cell reads "" and null; writing any non-negative
    // position stores it whatever the counts are, and cells beyond a reduced count stay.
    // A negative index raises EListError "List index out of bounds (%d)".
    QString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const QString& Value);
    TObject* Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TObject* Value);
    // False when no cell of the row has ever held an object (a quick test before a walk over its
    // cells).
    bool RowHasObjects(int ARow) const;
    TStrings* Rows(int ARow);
    void SetRows(int ARow, TStrings* Value) { Rows(ARow)->Assign(Value); }
    TStrings* Cols(int ACol);
    void SetCols(int ACol, TStrings* Value) { Cols(ACol)->Assign(Value); }

    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;

    // A row's cells kept outside the grid: its texts and objects, taken out and put back whole
    // without copying a text. The objects are not owned.
    class TDetachedRow;
    // Takes the cells of ARow out (the row is left empty).
    TDetachedRow DetachRow(int ARow);
    // Replaces the cells of ARow by those of Row (which is left empty).
    void AttachRow(int ARow, TDetachedRow& Row);

    // Removes or inserts rows with their cells, objects and heights (rows below move).
    void RemoveRowRange(int ARow, int ACount) { DeleteRows(ARow, ACount); }
    void InsertRowRange(int ARow, int ACount) { InsertRows(ARow, ACount); }

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void DeleteRowData(int ARow, int ACount) override;
    void InsertRowData(int ARow, int ACount) override;
    void DeleteColData(int ACol, int ACount) override;
    void RearrangeRowData(const std::vector<int>& Plan) override;

private:
    // One row: its texts packed in one block (count, end offsets, UTF-16 units), and its objects
    // in a second array that exists only once an object was stored in the row.
    struct TRowBlock;
    struct TRowObjects;
    struct TRowData {
        TRowBlock* Texts = nullptr;
        TRowObjects* Objects = nullptr;
    };
    static void FreeRow(TRowData& R);
    static void CheckIndex(int Index);
    static QString ReadBlock(const TRowBlock* B, int ACol);
    static void WriteBlock(TRowBlock*& B, int ACol, const QString& Value);
    static void WriteObject(TRowObjects*& O, int ACol, TObject* Value);
    void WriteText(int ACol, int ARow, const QString& Value);
    std::vector<TRowData> FRows;
    std::map<int, std::unique_ptr<TStringGridStrings>> FRowViews;
    std::map<int, std::unique_ptr<TStringGridStrings>> FColViews;
};

class TStringGrid::TDetachedRow {
public:
    TDetachedRow() = default;
    TDetachedRow(TDetachedRow&& Other) noexcept : FData(Other.FData) { Other.FData = {}; }
    TDetachedRow& operator=(TDetachedRow&& Other) noexcept;
    TDetachedRow(const TDetachedRow&) = delete;
    TDetachedRow& operator=(const TDetachedRow&) = delete;
    ~TDetachedRow() {
        if (FData.Texts || FData.Objects) FreeRow(FData);
    }

    QString Cells(int ACol) const { return ACol < 0 ? QString() : ReadBlock(FData.Texts, ACol); }
    void SetCells(int ACol, const QString& Value);
    TObject* Objects(int ACol) const;
    void SetObjects(int ACol, TObject* Value);
    // The columns that may hold an object (0 when the row has none).
    int ObjectCount() const;

private:
    friend class TStringGrid;
    TRowData FData;
};
