#pragma once
// Unit ExtGrid: TExtStringGrid, the table control of the configurator. The cell texts and cell
// records live in the cell store (TBaseGrid); this class adds hidden columns and rows, typed cell
// access, selection, scrolling, keyboard navigation and the grid's events.
//
// Index spaces: the cell store addresses cells by real column and display row. A display column
// is a column the platform grid shows (0..ColCount-1); a real column counts the hidden columns
// too (0..TotalColCount-1). A display row is a row of the cell store (0..RowCount-1); a real row
// counts the hidden rows too (0..TotalRowCount-1). Every parameter says which space it is in.
//
// The class's definitions are split by area: ExtGrid.cpp (core), ExtGrid_Indexes.cpp,
// ExtGrid_Cells.cpp, ExtGrid_Selection.cpp, ExtGrid_Scroll.cpp, ExtGrid_Keys.cpp,
// ExtGrid_Hooks.cpp, ExtGrid_Events.cpp, ExtGrid_Edit.cpp (the editing switch and the special
// editors' table), ExtGrid_EditText.cpp (the default text editor).
#include "grid/base/BaseGrid.h"
#include "grid/base/ExtObj.h"
#include "grid/base/ExtUtil.h"
#include "grid/base/GridFocus.h"
#include "grid/control/CellGraphic.h"
#include "grid/control/ExtGridEvents.h"
#include "grid/control/GridIndexMaps.h"
#include "grid/control/GridSettings.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Themes.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <span>
#include <type_traits>
#include <vector>

class QMimeData;

class TExtStringGrid;
class TGridSortKeys;
class TForm;
namespace office {
class TRecordSource;
}
class TGridCombo;
class TGridCheckBox;
class TGridEditBtn;
class TGridUnitEditBtn;
class TGridButton;
class TGridSpin;
class TGridDatePicker;
class TGridDateTimePicker;
class TGridDropDownLink;
class TGridTrackbarDropDown;
class TGridMemoDropDown;
class TGridCalculatorDropDown;
class TGridTimepickerDropDown;
class TGridDetailPickerDropDown;
class TGridColorDropDown;
class TGridImageDropDown;
class TGridGridDropDown;
class TGridExtGridDropDown;
struct TGridEditorCell;
struct TCompiledFilter;
class TDropList;
class TDropArrow;
class TGridDropSource;
class TGridDropTarget;
class TListBox;
class TDropCheckList;
class TControlEdit;
class TControlCombo;
class TGridTransEdit;
class TGridTransCombo;

// A component told of the grid's selection (one per grid, held shared).
class ITExtStringGridSelect {
public:
    virtual ~ITExtStringGridSelect() = default;
};

// ---- editor controls ------------------------------------------------------------------------------
// The custom editor link: an application's own control edited in place of a cell (esInplace, on
// the grid) or on a small form of its own (esPopup). The grid drives it through these operations.
enum TEditStyle { esInplace, esPopup };

class TEditLink : public TComponent {
public:
    explicit TEditLink(TComponent* AOwner) : TComponent(AOwner) {}
    ~TEditLink() override;
    virtual void CreateEditor(TWinControl* AParent) { (void)AParent; }
    virtual void DestroyEditor() {}
    // On the control GetEditControl returns: placed in R less the grid lines, shown or hidden.
    virtual void SetRect(TRect R);
    virtual void SetVisible(bool Value);
    virtual void SetCellProps(TColor AColor, TFont* AFont) { (void)AColor, (void)AFont; }
    virtual void SetProperties() {}
    virtual void SetEditorValue(const QString& Value) { (void)Value; }
    virtual QString GetEditorValue() { return QString(); }
    // True: shows, enables and focuses the control (made in-place controls are the grid's from
    // then on until RestoreWinProc); false: focuses the grid.
    virtual void SetFocus(bool Value);
    virtual TWinControl* GetEditControl() { return nullptr; }
    // To be called by the control's key-down handler: a key that ends the edit (Tab, Enter, Esc,
    // PageUp, PageDown, End, the arrows, anything with Alt) ends it as the grid's own editors
    // do, unless the link wants that key; Key becomes 0 when the grid took it.
    void EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    // Whether a key ends the edit with this link's WantKey settings.
    bool KeyEndsEdit(Word Key, TShiftState Shift) const;
    // The current cell's display text, and a text stored into it as an edit stores it.
    QString GetCellValue();
    void SetCellValue(const QString& Value);
    // The popup form for esPopup, else the grid.
    TWinControl* GetParent() const;
    // Stores the editor's value, ends the edit and gives the control back.
    void HideEditor();
    void EditExit(TObject* Sender);
    bool WantKeyLeftRight() const { return FWantKeyLeftRight; }
    void SetWantKeyLeftRight(bool Value) { FWantKeyLeftRight = Value; }
    bool WantKeyUpDown() const { return FWantKeyUpDown; }
    void SetWantKeyUpDown(bool Value) { FWantKeyUpDown = Value; }
    bool WantKeyHomeEnd() const { return FWantKeyHomeEnd; }
    void SetWantKeyHomeEnd(bool Value) { FWantKeyHomeEnd = Value; }
    bool WantKeyPriorNext() const { return FWantKeyPriorNext; }
    void SetWantKeyPriorNext(bool Value) { FWantKeyPriorNext = Value; }
    bool WantKeyReturn() const { return FWantKeyReturn; }
    void SetWantKeyReturn(bool Value) { FWantKeyReturn = Value; }
    bool WantKeyEscape() const { return FWantKeyEscape; }
    void SetWantKeyEscape(bool Value) { FWantKeyEscape = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    // Set only while the link itself moves the focus to the grid.
    bool ForcedExit() const { return FForcedExit; }
    // The popup form's deactivation: the edit ends as a focus loss ends it.
    virtual void FormExit(TObject* Sender);
    // Gives the control back its own handling and hides it (in-place style).
    virtual void RestoreWinProc();
    TExtStringGrid* Grid() const { return FOwner; }
    void SetGrid(TExtStringGrid* Value) { FOwner = Value; }
    TEditStyle EditStyle() const { return FEditStyle; }
    void SetEditStyle(TEditStyle Value) { FEditStyle = Value; }
    TForm* PopupForm() const { return FPopupForm; }
    void SetPopupForm(TForm* Value) { FPopupForm = Value; }
    int PopupWidth() const { return FPopupWidth; }
    void SetPopupWidth(int Value) { FPopupWidth = Value; }
    int PopupHeight() const { return FPopupHeight; }
    void SetPopupHeight(int Value) { FPopupHeight = Value; }
    bool AutoPopupWidth() const { return FAutoPopupWidth; }
    void SetAutoPopupWidth(bool Value) { FAutoPopupWidth = Value; }
    int PopupLeft() const { return FPopupLeft; }
    void SetPopupLeft(int Value) { FPopupLeft = Value; }
    int PopupTop() const { return FPopupTop; }
    void SetPopupTop(int Value) { FPopupTop = Value; }
    // The cell (real column, display row) the link edits.
    TPoint EditCell() const { return FEditCell; }
    void SetEditCell(TPoint Value) { FEditCell = Value; }

protected:
    TExtStringGrid* FOwner = nullptr;
    TEditStyle FEditStyle = esInplace;
    TForm* FPopupForm = nullptr;
    int FPopupWidth = 100;
    int FPopupHeight = 100;
    TPoint FEditCell{-1, -1};
    bool FAutoPopupWidth = false;
    int FPopupLeft = -1;
    int FPopupTop = -1;
    bool FSubClassed = false;
    bool FPopupFormMade = false; // the grid made the popup form: it goes with the link
    bool FWantKeyLeftRight = false;
    bool FWantKeyUpDown = false;
    bool FWantKeyHomeEnd = false;
    bool FWantKeyPriorNext = false;
    bool FWantKeyReturn = false;
    bool FWantKeyEscape = false;
    bool FWantReturns = false;
    bool FWantTabs = false;
    bool FForcedExit = false;
    friend class TExtStringGrid;
};

// One special editor as the editing switch drives it, whatever its control: the switch places
// it over the cell with the cell's colour and text (Open), asks what it holds (Text, what
// validation sees), may put a text back into it (SetText: the value validation left), asks what
// to write when the edit ends (StoreText; false: the kind writes nothing) and closes it (hidden
// and disabled). The control is made on first use.
class TGridCellEditor {
public:
    virtual ~TGridCellEditor() = default;
    // The control that has the focus while the editor is open (null for kinds without one).
    virtual TWinControl* Control() = 0;
    virtual void Open(TEditorType Kind, const TRect& R, TColor Color, const QString& Text) = 0;
    virtual QString Text() = 0;
    virtual void SetText(const QString& Value) = 0;
    virtual bool StoreText(TEditorType Kind, QString& Value) {
        (void)Kind;
        Value = Text();
        return true;
    }
    virtual void Close() = 0;
    // Whether the open editor takes the cell's OnGetEditorProp and the typed start key.
    virtual bool TakesEditorProp(TEditorType Kind) const {
        (void)Kind;
        return true;
    }
    virtual bool TakesStartKey(TEditorType Kind) const {
        (void)Kind;
        return true;
    }
};

// Makes the editor of the listed kinds for one grid; the kinds share the one editor.
using TGridCellEditorFactory = std::function<std::unique_ptr<TGridCellEditor>(TExtStringGrid* Grid)>;
// An empty factory leaves the kinds without an editor (they open nothing).
void RegisterGridCellEditor(std::initializer_list<TEditorType> Kinds, TGridCellEditorFactory Factory);
TGridCellEditorFactory GridCellEditorFactory(TEditorType Kind);
// Registers the grid's own editor controls for their kinds (done once, before the table is used).
void RegisterGridEditorControls();
// Whether a kind is edited by the default text editor.
bool IsDefaultEditorKind(TEditorType Kind);

// The default text editor: the grid's in-place edit with the character filters of the cell's
// editor kind, validation on the keys that end an edit, guarded clipboard, caret walking into
// the next cell, lookup completion and sizing while typing.
class TExtInplaceEdit : public TInplaceEdit {
public:
    explicit TExtInplaceEdit(TComponent* AOwner);
    TExtStringGrid* GridOwner() const { return FGrid; }
    bool VAlign() const { return FValign; }
    void SetVAlign(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // The cell whose contents were last loaded (display column, display row).
    int ColE() const { return FColE; }
    int RowE() const { return FRowE; }
    int LengthLimit() const { return FLengthLimit; }
    bool AltBackHeld() const { return FAltBack; }
    void UpdateContents() override;
    void WndProc(TMessage& Message) override;
    // Lookup completion from the grid's lookup list.
    void DoChange();

protected:
    void BoundsChanged() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DblClick() override;
    void Change() override;

private:
    TEditorType Kind() const;
    // Each returns true when the message was consumed.
    bool FilterChar(TMessage& Message);
    bool KeyDownMessage(TMessage& Message);
    void PasteText();
    void FocusGained();
    void FocusLost(TControl* NewFocus);
    // Checks the value before it leaves the editor: true when it may go (the editor then shows
    // the text validation left); a refused one keeps the edit going (KeepEditing).
    bool AcceptValue(bool Repaint);
    // After a refused value: the editor shows what validation left and the edit goes on.
    void KeepEditing(bool Repaint);
    int FSelKeyDown = 0;
    int FOldSelStart = 0;
    int FLengthLimit = 0;
    bool FValign = false;
    bool FWordWrap = false;
    bool GotKey = false;
    bool FGotFocus = false;
    bool Workmode = true;
    TExtStringGrid* FGrid = nullptr;
    int FColE = -1;
    int FRowE = -1;
    bool FAltBack = false;
    ushort FDropChar = 0; // the character of a key already acted on (Enter, Tab), dropped when it comes
};

// ---- module-level state and helpers of the unit --------------------------------------------------
// The grid whose focus window is shown (set by the editor logic, cleared when that focus window
// hides or that grid is destroyed).
extern TExtStringGrid* GridWithFocusWindow;
// Whether the common controls are later than version 4.69 (date and time pickers usable).
extern bool ComCtrlsOk;
// The cursor of links in cells.
extern TCursor LinkCursor;

// The version of a file's version resource (major in the upper 16 bits); -1 when there is none.
int GetFileVersion(const QString& FileName);
// Lets mouse input through the control to what lies beneath it.
void MakeWindowTransparent(TControl* Control);
// The control itself when it is a form, else the nearest form among its parents; null when none.
TForm* FindParentForm(TControl* Control);
// Keeps the grid that shows its focus window aligned with its current cell when a window moves.
void GridWindowPosChanged();
// The platform's current format settings, as the sorting, filtering and typing checks read them.
QChar GridDateSeparator();
QChar GridTimeSeparator();
QChar GridThousandSeparator();
QChar GridDecimalSeparator();
QString GridShortDateFormat();
QString GridShortTimeFormat();
QString GridLongTimeFormat();

// A property that only stores its value.
#define EXTGRID_PLAIN(Type, Name, Default)                                                                             \
public:                                                                                                                \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type Value) { F##Name = Value; }                                                                    \
                                                                                                                       \
protected:                                                                                                             \
    Type F##Name = Default;                                                                                            \
                                                                                                                       \
public:
// A property whose setter does more than store (its setter is declared with its area).
#define EXTGRID_READ(Type, Name, Default)                                                                              \
public:                                                                                                                \
    Type Name() const { return F##Name; }                                                                              \
                                                                                                                       \
protected:                                                                                                             \
    Type F##Name = Default;                                                                                            \
                                                                                                                       \
public:

// ---- cell painting, looks, cell colours and cell text -------------------------------------------
// The XP colour schemes SetTheme applies to the header gradient.
enum TXPColorScheme { xpNone, xpBlue, xpGreen, xpGray, vistaAero };
// The icon a cell balloon shows beside its title.
enum TBalloonIcon { biNone, biInfo, biWarning, biError };
// Gives the focus frame window its per-pixel-alpha picture and the picture's size.
void ApplyLayeredImage(TGridFocusWindow* Window, const TGridAlphaMask& Image);
// Rich-text cells: RTF as markup for the text document (and its plain text), and the size RTF
// text takes in the canvas's font, wrapped at Width when Width is above 0.
QString RtfToHtml(const QString& Rtf, bool IgnoreColors, QString* Plain);
TSize RichTextExtent(TCanvas* Canvas, const QString& Rtf, int Width);

class TExtStringGrid : public TBaseGrid {
    friend class TGridSortKeys;

public:
    // ---- construction, window, loading, destruction ------------------------------------------------
    explicit TExtStringGrid(TComponent* AOwner);
    ~TExtStringGrid() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetParent(TWinControl* AParent) override;
    // Platform window creation: runs when the grid first gets a parent.
    virtual void CreateWnd();
    // Copies another TExtStringGrid (settings, counts, sizes, cells); anything else is ignored.
    void Assign(TPersistent* Source) override;
    // Copies only the cells of another TExtStringGrid.
    virtual void AssignCells(TPersistent* Source);
    void Invalidate() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The font of a cell, the caller's own copy (a later call does not change it).
    std::unique_ptr<TFont> GetCellFont(int RealCol, int DisplRow);
    QString Version() const;
    void SetVersion(const QString& Value) { (void)Value; }
    static int GetVersionNr() { return (6 << 24) | (2 << 16) | (1 << 8) | 3; }
    void RegisterSelListener(std::shared_ptr<ITExtStringGridSelect> AListener) { FSelListener = std::move(AListener); }
    void UnRegisterSelListener(const std::shared_ptr<ITExtStringGridSelect>& AListener) {
        (void)AListener;
        FSelListener.reset();
    }
    ITExtStringGridSelect* SelListener() const { return FSelListener.get(); }
    void RegisterNotifier(TGridChangeNotifier* Item);
    void UnRegisterNotifier(TGridChangeNotifier* ANotifier);
    int NotifierCount() const { return int(FNotifiers.size()); }
    TGridChangeNotifier* Notifiers(int Index) const { return FNotifiers.at(size_t(Index)); }
    bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
    bool IsLoading() const { return ComponentState().Contains(csLoading); }
    bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
    bool GridLoaded() const { return FGridLoaded; }
    bool HasFocusWindow() const { return FFocusWindowShown; }
    void SetFocusWindowShown(bool Value);
    // The editor's text of a display cell reads and writes its real column; a display column that
    // shows no real column is never written through.
    QString GetEditText(int DisplCol, int DisplRow) override;
    void SetEditText(int DisplCol, int DisplRow, const QString& Value) override;
    // The form whose resize the grid follows (SizeWithForm), or null.
    TForm* ResizeForm() const { return FResizeForm; }

    // ---- owned settings objects ---------------------------------------------------------------------
    TFooterPanel* FooterPanel() const { return FFooterPanel; }
    TSearchPanel* SearchPanel() const { return FSearchPanel; }
    TFocusHelper* FocusHelper() const { return FFocusHelper.get(); }
    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
    TFloatingFooter* FloatingFooter() const { return FFloatingFooter.get(); }
    TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
    THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
    TSortSettings* SortSettings() const { return FSortSettings.get(); }
    TDragDropSettings* DragDropSettings() const { return FDragDropSettings.get(); }
    TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions.get(); }
    TControlLook* ControlLook() const { return FControlLook.get(); }
    TNavigation* Navigation() const { return FNavigation.get(); }
    TColumnSize* ColumnSize() const { return FColumnSize.get(); }

    // ---- footer, search bar, scroll indicators, drag button and hint window -------------------------
    // The picture of the dragged header during a column move (hidden and disabled until then).
    THeaderDragButton* MoveButton() const { return FMoveButton; }
    // The live bar the mouse places over a cell with a scroll bar; hidden elsewhere.
    TScrollBar* CellScrollBar() const { return FCellScrollBar; }
    // The search bar's handlers (bound to the bar by the constructor). Edit change fires
    // OnSearchEditChange and, unless the handler takes the search over, searches as the user
    // types; next and previous step from the last cell found; highlight marks every match;
    // close fires OnSearchFooterClose and hides the bar.
    virtual void SearchEditChange(TObject* Sender);
    virtual void SearchNextClick(TObject* Sender);
    virtual void SearchPrevClick(TObject* Sender);
    virtual void SearchHighlightClick(TObject* Sender);
    virtual void SearchCloseClick(TObject* Sender);
    // While set, every hint of the application is shown by the mini-HTML hint window; the last
    // grid to write it decides.
    bool UseHTMLHints() const { return FUseHTMLHints; }
    void SetUseHTMLHints(bool Value);

private:
    THeaderDragButton* FMoveButton = nullptr; // child control: freed with the grid's window
    bool FUseHTMLHints = false;

public:
    TCellNode* CellNode() const { return FCellNode.get(); }
    TBands* Bands() const { return FBands.get(); }
    TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    TGrouping* Grouping() const { return FGrouping.get(); }
    TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
    TFont* FixedFont() const { return FFixedFont.get(); }
    TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
    // Scaling with the form (a resolution change): column widths, row heights and the control's
    // font by M / D, and, unless designing, the fixed and active-cell fonts too.
    virtual void ChangeScaleOverride(int M, int D);
    TStringList* RowHeaders() const { return FRowHeaders.get(); }
    TStringList* LookupItems() const { return FLookupItems.get(); }
    TBitmap* RowIndicator() const { return FRowIndicator.get(); }
    TBackGround* BackGround() const { return FBackGround.get(); }
    TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
    TSyncGrid* SyncGrid() const { return FSyncGrid.get(); }
    TFilter* Filter() const { return FFilter.get(); }
    TBalloonSettings* Balloon() const { return FBalloon.get(); }
    TShowModified* ShowModified() const { return FShowModified.get(); }
    TFilterDropDown* FilterDropDown() const { return FFilterDropDown.get(); }
    TIntList* IgnoredColumns() const { return FIgnoredColumns.get(); }
    TIntList* ColumnOrder() const { return FColumnOrder.get(); }
    TIntList* MergedColumns() const { return FMergedColumns.get(); }
    TIntList* ColSizesAtLoad() const { return FColSizesAtLoad.get(); }
    TStringList* FilterValueList() const { return FFilterValueList.get(); }

    // ---- filter drop-down lists and auxiliary cell editors ---------------------------------------------
    // The real column whose filter list is open (-1: none).
    int FilterCol() const { return FFilterCol; }
    void SetFilterCol(int RealCol) { FFilterCol = RealCol; }
    // The list shown by the filter button: the check list with FilterDropDownCheck.
    TDropList* FilterDropList() const { return FDropList; }
    TDropCheckList* FilterDropCheckList() const { return FDropCheckList; }
    TListBox* FilterList() const;
    // Opens the filter list of the display column under its header cell (DisplCol, ARow); false
    // when the column has no filter values.
    bool ShowFilterList(int DisplCol, int ARow);
    // Whether client point (X, Y) lies on the filter button of cell (DisplCol, ARow).
    bool InFilterButton(int DisplCol, int ARow, int X, int Y);
    // The entry ItemIndex of the open column's filter list was chosen: its condition (after
    // OnFilterSelect) becomes the column's, with AutoFilterUpdate the filter is applied again,
    // and the filter column is closed. The column grid applies its own entries.
    virtual void FilterSelect(int ItemIndex);
    // The edit box and the combo over a form control embedded in a cell's text, and the editors
    // of editable fixed cells.
    TControlEdit* ControlEditor() const { return FControlEdit; }
    TControlCombo* ControlCombo() const { return FControlCombo; }
    TGridTransEdit* FixedCellEdit() const { return FTransEdit; }
    TGridTransCombo* FixedCellCombo() const { return FTransCombo; }
    // Ends the edit of an embedded form control: the editor's text becomes the control's value
    // (OnControlEditDone reports it) and the editor hides.
    virtual void EndCellControlEdit();
    // Moves the edit to the embedded control after Name in the cell (the first when Name is
    // empty); the grid takes the focus when there is none.
    virtual void HTMLControlClick(int RealCol, int DisplRow, const QString& Name);

    // ---- cell painting, looks, cell colours and cell text ------------------------------------------------
    // The working record the steps of one cell's painting share (DrawGridCell and the steps it
    // calls: the text step, the graphic drawing). Placements are the ordinals of the graphic
    // record's horizontal (left, right, centre, before text, after text, full) and vertical (top,
    // bottom, centre, under text, above text, full) placements.
    struct TCellPaintInfo {
        TCanvas* Canvas = nullptr;
        int DisplCol = 0, RealCol = 0, Row = 0, SelRow = 0;
        TGridDrawState State;
        TRect W;
        TObject* Graphic = nullptr;
        TCellType GraphicType = ctEmpty;
        int GraphicW = 0, GraphicH = 0;
        int GraphicHAlign = 0, GraphicVAlign = 0;
        bool DrawText = true;
        int TextWidth = 0;
        int TextKind = 0;
        int TextHeightHG = 0;
        TColor SavedBrush = clNone, SavedFont = clNone;
        bool FilterGlyph = false;
        int ScrollPos = 0;
        TColor ColorTo = clNone, MirrorColor = clNone, MirrorColorTo = clNone;
        TAlignment HA = taLeftJustify;
        TVAlignment VA = vtaTop;
        bool WW = false;
        TCellGradientDirection GD = GradientVertical;
        bool Fixed = false;
        bool StyleDrew = false;
    };
    // header gradient (the fixed cells of the gradient looks), hovered and pressed headers
    EXTGRID_READ(TColor, ExtGradientFrom, clWhite)
    EXTGRID_READ(TColor, ExtGradientTo, TColor(0xF0F0F0))
    EXTGRID_READ(TColor, ExtGradientMirrorFrom, clNone)
    EXTGRID_READ(TColor, ExtGradientMirrorTo, clNone)
    EXTGRID_PLAIN(TColor, ExtGradientHoverFrom, TColor(0xCFD0D1))
    EXTGRID_PLAIN(TColor, ExtGradientHoverTo, TColor(0xBEC6C8))
    EXTGRID_PLAIN(TColor, ExtGradientHoverMirrorFrom, TColor(0xBEC6C8))
    EXTGRID_PLAIN(TColor, ExtGradientHoverMirrorTo, TColor(0xABBCBF))
    EXTGRID_PLAIN(TColor, ExtGradientHoverBorder, TColor(0xC0C0C0))
    EXTGRID_PLAIN(TColor, ExtGradientDownFrom, TColor(0x868788))
    EXTGRID_PLAIN(TColor, ExtGradientDownTo, TColor(0x737C7E))
    EXTGRID_PLAIN(TColor, ExtGradientDownMirrorFrom, TColor(0x737C7E))
    EXTGRID_PLAIN(TColor, ExtGradientDownMirrorTo, TColor(0x627376))
    EXTGRID_PLAIN(TColor, ExtGradientDownBorder, TColor(0x808080))
    EXTGRID_PLAIN(int, ZoomFactor, 0)
    EXTGRID_PLAIN(bool, NoDefaultDraw, false)
    EXTGRID_PLAIN(bool, NoImageAndText, false)
    EXTGRID_PLAIN(bool, XYOffsetTopLeftOnly, false)
    EXTGRID_PLAIN(TColor, SelectionRectangleColor, clBlack)
    EXTGRID_PLAIN(TExtGridStyle, GridStyle, gsCustom)
    // The header gradient setters store the colour as RGB and repaint.
    void SetExtGradientFrom(TColor Value);
    void SetExtGradientTo(TColor Value);
    void SetExtGradientMirrorFrom(TColor Value);
    void SetExtGradientMirrorTo(TColor Value);
    // Looks and colour schemes.
    void SetLook(TGridLook Value);
    void SetComponentStyle(TExtStyle AStyle);
    void SetColorTones(const TColorTones& ATones);
    const TColorTones& Tones() const { return FColorTones; }
    // The in-place editors with buttons take the tones' button colours; the spin and date editors,
    // made on first use, take them then.
    void ApplyTonesToEditors();
    void SetTheme(TXPColorScheme Scheme);
    void ApplyOfficeTheme();
    // The coloured line the gradient looks draw around the grid (inside the client area here).
    void PaintBorder();
    // Colours, font and alignment of a cell (display column unless Remap is false).
    void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
                             TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                             TFont* AFont, TAlignment& HA, TVAlignment& VA, bool& WW,
                             TCellGradientDirection& GD) override;
    void GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState& AState, TFont* AFont, TBrush* ABrush,
                           bool Remap);
    void CellAlignment(int RealCol, int ARow, TAlignment& HA, TVAlignment& VA);
    static TColor MixColors(TColor A, TColor B, int Percentage);
    // The text colour that reads on a fill (progress bars without their own text colours).
    static TColor InverseTextColor(TColor Color);
    // Painting.
    void DrawGridCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    void DrawCellBorders(TCanvas* ACanvas, int RealCol, int ARow, TRect B);
    void DrawColSizingLine(int X);
    void DrawRowSizingLine(int Y);
    // The soft frame around the cell being edited (cell rectangle in client coordinates).
    void ShowFocusFrame(TRect CellR);
    void MoveFocusFrame();
    void HideFocusFrame();
    TGridFocusWindow* FocusFrame() const { return FFocusFrame; }
    // Cell text: drawing step, measuring.
    void DrawCellText(TCellPaintInfo& P);
    void DrawRichCell(int RealCol, int ARow, TRect R, TCanvas* ACanvas);
    TSize GetCellTextSize(int RealCol, int ARow, bool VS, bool SB);
    void MeasureCellText(int RealCol, int DisplCol, int ARow, bool VS, bool SB, int& AWidth, int& AHeight);
    // The extent of text W x H rotated by Angle degrees, with its margin.
    static TSize RotatedTextExtent(int W, int H, int Angle);
    // Whether the cell holds rotated text, and its angle.
    virtual bool IsRotated(int RealCol, int ARow, int& AAngle);
    // The cell graphic in the painter's record: its extent and its drawing.
    void CellGraphicExtent(TCellPaintInfo& P);
    void DrawCellGraphic(TRect W, TCellPaintInfo& P);
    // A cell with a scroll bar whose page is smaller than its range shows the bar along its right
    // edge; the rest of the cell shows its text scrolled by the bar's position.
    void PaintCellScrollBar(TCellPaintInfo& P);
    // The width of a scroll bar shown inside a cell.
    static constexpr int CellScrollBarWidth = 17;
    TNotifyEvent OnPainted;

protected:
    void Paint() override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void PaintEmptyArea(TCanvas* ACanvas);
    void PaintBackgroundPicture(TCanvas* ACanvas, int RealCol, int ARow, TRect B);
    void PaintBackgroundGradient(TCanvas* ACanvas, TRect B);
    bool CellIsFixed(int DisplCol, int ARow);
    // The node settings the painter reads, the node box look after SetColorTones (a stand-in),
    // and the row's node span type (0 a node row, 1 the last row of a group, 2 a row with more below).
    TColor CellNodeTreeColor() const { return FCellNode->TreeColor(); }
    bool CellNodeShowTreeFull() const { return FCellNode->ShowTreeFull(); }
    void SetCellNodeFlat() {}
    int NodeSpanType(int ARow) { return GetNodeSpanType(ARow); }
    bool IsSortHeaderCell(int RealCol, int ARow);
    void ControlLookColorChanged(int Which, TColor Value);
    TColorTones FColorTones;
    TGridFocusWindow* FFocusFrame = nullptr; // a child overlay: freed with the grid's window

public:
    // ---- published properties -------------------------------------------------------------------------
    // counts and sizes
    EXTGRID_READ(int, FixedRightCols, 0)
    EXTGRID_READ(int, FixedFooters, 0)
    EXTGRID_READ(int, FixedRowHeight, 22)
    EXTGRID_PLAIN(bool, FixedRowAlways, false)
    EXTGRID_PLAIN(bool, FixedColAlways, false)
    EXTGRID_READ(bool, IntegralHeight, false)
    EXTGRID_READ(bool, AutoSize, false)
    EXTGRID_PLAIN(bool, SizeWithForm, false)
    // cell text
    EXTGRID_PLAIN(bool, Multilinecells, false)
    EXTGRID_READ(TAlignment, DefaultAlignment, taLeftJustify)
    EXTGRID_READ(TVAlignment, VAlignment, vtaTop)
    EXTGRID_PLAIN(bool, EnableHTML, true)
    EXTGRID_PLAIN(bool, EditWithTags, false)
    EXTGRID_PLAIN(bool, EnhTextSize, false)
    EXTGRID_PLAIN(bool, AutoNumAlign, false)
    EXTGRID_PLAIN(QString, FloatFormat, "%.2f")
    EXTGRID_PLAIN(bool, OemConvert, false)
    EXTGRID_PLAIN(bool, ExcelStyleDecimalSeparator, false)
    EXTGRID_PLAIN(QString, ValidChars, QString())
    // editing
    EXTGRID_PLAIN(TEditorType, DefaultEditor, edNormal)
    EXTGRID_READ(int, MaxEditLength, 0)
    EXTGRID_PLAIN(int, MaxComboLength, 0)
    EXTGRID_PLAIN(bool, Lookup, false)
    EXTGRID_PLAIN(bool, LookupCaseSensitive, false)
    EXTGRID_PLAIN(bool, LookupHistory, false)
    EXTGRID_PLAIN(QString, InvalidEntryTitle, QString())
    EXTGRID_PLAIN(QString, InvalidEntryText, QString())
    EXTGRID_PLAIN(TInvalidEntryIcon, InvalidEntryIcon, ieWarning)
    // colours
    EXTGRID_READ(bool, ActiveCellShow, false)
    EXTGRID_READ(TColor, ActiveCellColor, clGray)
    EXTGRID_READ(TColor, ActiveCellColorTo, clNone)
    EXTGRID_READ(TColor, BorderColor, clGray)
    EXTGRID_PLAIN(TColor, DisabledFontColor, clSilver)
    EXTGRID_READ(TColor, HighlightColor, clHighlight)
    EXTGRID_READ(TColor, HighlightTextColor, clHighlightText)
    EXTGRID_PLAIN(TColor, HintColor, clInfoBk)
    EXTGRID_READ(TColor, URLColor, clBlue)
    EXTGRID_READ(bool, Flat, false)
    EXTGRID_READ(TGridLook, Look, glXP)
    EXTGRID_READ(bool, Hovering, false)
    EXTGRID_PLAIN(THoverFixedCells, HoverFixedCells, hfNone)
    EXTGRID_READ(bool, AutoThemeAdapt, false)
    // selection
    EXTGRID_READ(bool, ShowSelection, true)
    EXTGRID_READ(TColor, SelectionColor, TColor(0xEACAB6))
    EXTGRID_READ(TColor, SelectionColorTo, clNone)
    EXTGRID_READ(TColor, SelectionMirrorColor, clNone)
    EXTGRID_READ(TColor, SelectionMirrorColorTo, clNone)
    EXTGRID_READ(TColor, SelectionTextColor, clBlack)
    EXTGRID_READ(bool, SelectionColorMixer, false)
    EXTGRID_READ(int, SelectionColorMixerFactor, 50)
    EXTGRID_READ(bool, SelectionRectangle, false)
    EXTGRID_READ(bool, SelectionResizer, false)
    EXTGRID_PLAIN(bool, SelectionRTFKeep, false)
    EXTGRID_PLAIN(bool, HideFocusRect, false)
    // scrolling
    EXTGRID_READ(TScrollBarAlways, ScrollBarAlways, saNone)
    EXTGRID_READ(TScrollType, ScrollType, ssNormal)
    EXTGRID_READ(TColor, ScrollColor, clNone)
    EXTGRID_READ(int, ScrollWidth, 16)
    EXTGRID_READ(bool, ScrollProportional, false)
    EXTGRID_READ(bool, ScrollSynch, false)
    EXTGRID_READ(TScrollHintType, ScrollHints, shNone)
    EXTGRID_PLAIN(bool, EnableWheel, true)
    EXTGRID_PLAIN(TIntelliPan, IntelliPan, ipVertical)
    EXTGRID_PLAIN(bool, IntelliZoom, true)
    // hints and links
    EXTGRID_PLAIN(bool, HintShowCells, false)
    EXTGRID_PLAIN(bool, HintShowLargeText, false)
    EXTGRID_PLAIN(THintPosition, HintShowLargeTextPos, hpCell)
    EXTGRID_PLAIN(bool, HintShowSizing, false)
    EXTGRID_PLAIN(bool, HTMLHint, false)
    EXTGRID_PLAIN(bool, AnchorHint, false)
    EXTGRID_PLAIN(bool, UseInternalHintClass, true)
    EXTGRID_READ(bool, URLShow, false)
    EXTGRID_READ(bool, URLShowInText, false)
    EXTGRID_PLAIN(bool, URLUnderlineOnHover, false)
    EXTGRID_READ(bool, URLFull, false)
    EXTGRID_PLAIN(bool, URLEdit, false)
    // filtering
    EXTGRID_READ(bool, FilterActive, false)
    EXTGRID_PLAIN(bool, FilterNormalCellsOnly, true)
    EXTGRID_PLAIN(bool, AutoFilterUpdate, true)
    EXTGRID_READ(bool, FilterDropDownAuto, false)
    EXTGRID_PLAIN(bool, FilterDropDownCheck, false)
    EXTGRID_PLAIN(QString, FilterDropDownClear, "(All)")
    EXTGRID_PLAIN(TFilterDropDownColumns, FilterDropDownColumns, fdNormal)
    EXTGRID_READ(int, FilterDropDownRow, 0)
    // fixed cells
    EXTGRID_PLAIN(bool, FixedAsButtons, false)
    EXTGRID_PLAIN(TComponent*, FixedDropDownMenu, nullptr)
    EXTGRID_PLAIN(bool, EnhRowColMove, true)
    // misc
    EXTGRID_PLAIN(bool, EnableBlink, false)
    EXTGRID_READ(bool, ShowDesignHelper, true)
    EXTGRID_PLAIN(TComponent*, GridImages, nullptr)
    EXTGRID_PLAIN(TComponent*, PictureContainer, nullptr)
    EXTGRID_PLAIN(TExtStringGridCheck*, CellChecker, nullptr)

    // Other initial state other areas read and write.
    EXTGRID_PLAIN(QString, CheckTrue, "Y")
    EXTGRID_PLAIN(QString, CheckFalse, "N")
    EXTGRID_PLAIN(QChar, PasswordChar, QChar('*'))
    EXTGRID_READ(QPoint, XYOffset, QPoint(2, 2))
    EXTGRID_PLAIN(QString, XMLEncoding, "ISO-8859-1")
    EXTGRID_PLAIN(QChar, Delimiter, QChar(0))
    EXTGRID_PLAIN(bool, JavaCSV, false)
    EXTGRID_PLAIN(bool, QuoteEmptyCells, true)
    EXTGRID_PLAIN(bool, AlwaysQuotes, false)
    EXTGRID_PLAIN(bool, SaveFixedCells, true)
    EXTGRID_PLAIN(bool, SaveFixedRows, false)
    EXTGRID_PLAIN(bool, SaveFixedCols, false)
    EXTGRID_PLAIN(bool, SaveHiddenCells, false)
    EXTGRID_PLAIN(bool, SaveVirtCells, true)
    EXTGRID_PLAIN(bool, SaveWithHTML, true)
    EXTGRID_PLAIN(bool, LoadFirstRow, true)
    EXTGRID_PLAIN(bool, ShowNullDates, true)
    EXTGRID_PLAIN(bool, ShowColumnNumbers, true)
    EXTGRID_PLAIN(bool, FitCellsInGrid, true)
    EXTGRID_PLAIN(bool, UseDisabledFont, true)
    EXTGRID_PLAIN(int, MinRowHeight, 0)
    EXTGRID_PLAIN(int, MaxRowHeight, 0)
    EXTGRID_PLAIN(int, MinColWidth, 0)
    EXTGRID_PLAIN(int, MaxColWidth, 0)
    EXTGRID_PLAIN(int, PrintPageFrom, 1)
    EXTGRID_PLAIN(int, PrintPageTo, 1)
    EXTGRID_PLAIN(TOfficeTheme, OldOfficeTheme, otUnknown)
    EXTGRID_READ(TExtStyle, ComponentStyle, tsCustom)
    EXTGRID_PLAIN(bool, IsWinXP, false)
    EXTGRID_PLAIN(bool, IsWin7, false)
    EXTGRID_PLAIN(bool, IsComCtl6, false)
    int WheelScrollLines() const { return FWheelScrollLines; }

    // ---- display and real indexes, hidden columns and rows ----------------------------------------------
    void HideColumn(int RealCol) { HideColumns(RealCol, RealCol); }
    void HideColumns(int FromRealCol, int ToRealCol);
    void UnHideColumn(int RealCol) { UnHideColumns(RealCol, RealCol); }
    void UnHideColumns(int FromRealCol, int ToRealCol);
    void UnHideColumnsAll();
    bool IsHiddenColumn(int RealCol) const { return FColumnMap.IsHidden(RealCol); }
    int NumHiddenColumns() const { return FColumnMap.NumHidden(); }
    int TotalColCount() const override { return ColCount() + NumHiddenColumns(); }
    int AllColCount() const { return TotalColCount(); }
    int RealColIndex(int DisplCol) const { return FColumnMap.DisplToRealCol(DisplCol); }
    int DisplColIndex(int RealCol) const override { return FColumnMap.RealToDisplCol(RealCol); }
    // The real column shown at DisplCol; -1 when none shows there (nothing is written through it).
    int RealColOfDisplCol(int DisplCol) const { return FColumnMap.DisplToRealColOrNone(DisplCol); }
    int GetRealCol() const { return RealColIndex(Col()); }
    int RealCol() const { return GetRealCol(); }
    bool IsIgnoredColumn(int RealCol) const { return FIgnoredColumns->HasValue(RealCol); }
    void MoveColumn(int FromDisplCol, int ToDisplCol) override;

    void HideRow(int RealRow) { HideRows(RealRow, RealRow); }
    void HideRows(int FromRealRow, int ToRealRow);
    // RowList: ascending display rows, hidden together as one new filter level.
    void HideRowList(TIntList* DisplRowList);
    void HideRowsEx(int FromRealRow, int ToRealRow);
    void UnHideRow(int RealRow);
    void UnHideRows(int FromRealRow, int ToRealRow);
    void UnHideRowsAll();
    void UnHideRowList();
    bool IsHiddenRow(int RealRow) const { return FHiddenRows.Contains(RealRow); }
    // The same answer through a lookup list built on the first call (the caller frees it).
    bool IsHiddenRow(int RealRow, TIntList*& ListHidden) const;
    int NumHiddenRows() const { return FHiddenRows.Count(); }
    int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    int AllRowCount() const { return TotalRowCount(); }
    int RealRowIndex(int DisplRow) const { return FHiddenRows.DisplToRealRow(DisplRow); }
    int DisplRowIndex(int RealRow) const { return FHiddenRows.RealToDisplRow(RealRow); }
    int GetRealRow() const { return RealRowIndex(Row()); }
    int RealRow() const { return GetRealRow(); }
    void MoveRow(int FromDisplRow, int ToDisplRow) override;
    void MoveRows(int FromDisplRow, int ToDisplRow, int Count);
    int FilterLevel() const { return FFilterLevel; }
    void SetFilterLevel(int Value) { FFilterLevel = Value; }
    const TVisibleColumnMap& ColumnMap() const { return FColumnMap; }
    const THiddenRowStore& HiddenRows() const { return FHiddenRows; }
    // Both index maps hold their invariants and agree with the counts. Raises EExtGridError.
    void CheckIndexConsistency() const;

    // Cell text by real column and real row (a hidden row's text is read from or written into the
    // hidden-row store).
    QString GetCellsEx(int RealCol, int RealRow);
    void SetCellsEx(int RealCol, int RealRow, const QString& Value);
    TCellProperties* GetCellPropertiesByRealRow(int RealCol, int RealRow);
    // Row insertion and removal at display rows; cells, cell objects and heights move with them.
    void InsertRows(int DisplRow, int RCount) override { InsertRows(DisplRow, RCount, true); }
    virtual void InsertRows(int DisplRow, int RCount, bool UpdateCellControls);
    virtual void RemoveRows(int DisplRow, int RCount);
    void RemoveRowsEx(int DisplRow, int RCount);
    void ClearRows(int DisplRow, int RCount);
    void ClearRect(int ACol1, int DisplRow1, int ACol2, int DisplRow2);
    // Places the controls embedded in cells (and the in-cell scroll bar) over their cells in view
    // and hides the others; with RebuildList the list is first gathered again from the cells.
    void CellControlsUpdate(bool RebuildList = false);

    // ---- cell access and fill API -----------------------------------------------------------------------
    void SetInts(int RealCol, int DisplRow, int Value);
    int GetInts(int RealCol, int DisplRow);
    void SetAllInts(int RealCol, int RealRow, int Value);
    int GetAllInts(int RealCol, int RealRow);
    void SetFloats(int RealCol, int DisplRow, double Value);
    double GetFloats(int RealCol, int DisplRow);
    void SetAllFloats(int RealCol, int RealRow, double Value);
    double GetAllFloats(int RealCol, int RealRow);
    void SetDates(int RealCol, int DisplRow, TDateTime Value);
    TDateTime GetDates(int RealCol, int DisplRow);
    void SetTimes(int RealCol, int DisplRow, TDateTime Value);
    TDateTime GetTimes(int RealCol, int DisplRow);
    QString GetCtrlVal(int RealCol, int DisplRow, const QString& ID);
    void SetCtrlVal(int RealCol, int DisplRow, const QString& ID, const QString& Value);
    QString GetStrippedCell(int RealCol, int DisplRow);
    // The float format of one cell (the column grid answers per column).
    virtual QString GetFloatFormat(int RealCol, int DisplRow);
    int GetPrintColWidth(int RealCol) const;
    int GetPrintColOffset(int RealCol) const;
    void SetPrintColWidth(int RealCol, int Value);
    void SetPrintColOffset(int RealCol, int Value);

    void ShowColumnHeaders();
    void ClearColumnHeaders();
    void SetColumnHeaders(TStrings* Value);
    void ShowRowHeaders();
    void ClearRowHeaders();
    void SetRowHeaders(TStrings* Value);

    QString HilightText(bool DoCase, const QString& S, const QString& Text);
    QString MarkText(bool DoCase, const QString& S, const QString& Text);
    QString UnHilightText(const QString& S);
    QString UnMarkText(const QString& S);
    void HilightInCell(bool DoCase, int RealCol, int DisplRow, const QString& HiText);
    void HilightInCol(bool DoFixed, bool DoCase, int RealCol, const QString& HiText);
    void HilightInRow(bool DoFixed, bool DoCase, int DisplRow, const QString& HiText);
    void HilightInGrid(bool DoFixed, bool DoCase, const QString& HiText);
    void UnHilightInCell(int RealCol, int DisplRow);
    void UnHilightInCol(bool DoFixed, int RealCol);
    void UnHilightInRow(bool DoFixed, int DisplRow);
    void UnHilightInGrid(bool DoFixed);
    void MarkInCell(bool DoCase, int RealCol, int DisplRow, const QString& HiText);
    void MarkInCol(bool DoFixed, bool DoCase, int RealCol, const QString& HiText);
    void MarkInRow(bool DoFixed, bool DoCase, int DisplRow, const QString& HiText);
    void MarkInGrid(bool DoFixed, bool DoCase, const QString& HiText);
    void UnMarkInCell(int RealCol, int DisplRow);
    void UnMarkInCol(bool DoFixed, int RealCol);
    void UnMarkInRow(bool DoFixed, int DisplRow);
    void UnMarkInGrid(bool DoFixed);

    bool CheckCell(int RealCol, int DisplRow);
    bool CheckCells(int FromRealCol, int FromDisplRow, int ToRealCol, int ToDisplRow);
    bool CheckCol(bool DoFixed, int RealCol);
    bool CheckRow(bool DoFixed, int DisplRow);
    bool CheckGrid(bool DoFixed);

    void TextFill(bool DoFixed, const QString& Txt);
    void FormatFill(bool DoFixed, const QString& Fmt);
    void RandomFill(bool DoFixed, int Rnd);
    void LinearFill(bool DoFixed);

    TRect UsedCells();
    int SaveStartCol() const;
    int SaveStartRow() const;
    int SaveEndCol() const;
    int SaveEndRow() const;
    int SaveColCount() const;
    int SaveRowCount() const;
    void ScreenToCell(TPoint pt, int& DisplCol, int& DisplRow);

    virtual void CalcFooter(int RealCol);
    void UpdateFooter();
    virtual void CalcFooterCells(int RealCol);
    virtual void RecalcFooters() { CalcFooter(-1); }

    // ---- selection
    // Current cell and view. Setting Row or Col to another cell checks it ("Grid index out of
    // range"), asks the cell selection and fires OnClick; Row also reports OnRowUpdate and keeps
    // the disjunct row flags and the synchronised grid in step.
    void SetRow(int DisplRow) override;
    void SetCol(int DisplCol) override;
    // Scrolls only to a row from FixedRows to RowCount - 1.
    void SetTopRow(int DisplRow) override;
    void GotoCell(int DisplCol, int DisplRow);
    void EditCell(int DisplCol, int DisplRow);
    void FocusCell(int DisplCol, int DisplRow);
    void MoveFocusTo(int DisplCol, int DisplRow);
    void ScrollInView(int DisplCol, int DisplRow);
    void UpdateEditMode();
    // The selection rectangle (display columns and rows), stored as given.
    void SetSelection(const TGridRect& Value) override;
    void SelectRange(int FromDisplCol, int ToDisplCol, int FromDisplRow, int ToDisplRow);
    void SelectRows(int DisplRow, int RCount);
    void SelectCols(int DisplCol, int CCount);
    void UnSelectRows(int DisplRow, int RCount);
    void UnSelectCols(int DisplCol, int CCount);
    void HideSelection();
    void UnHideSelection();
    bool SelectionHidden() const { return FSelectionHidden; }
    bool SelectionChangedMark() const { return FSelectionChanged; }
    // Disjunct row flags: display rows, or real rows with MouseActions.RowSelectPersistent.
    bool GetRowSelect(int ARow);
    void SetRowSelect(int ARow, bool Value);
    bool GetColSelect(int DisplCol);
    void SetColSelect(int DisplCol, bool Value);
    void ClearRowSelect();
    void ClearColSelect();
    int RowSelectCount();
    int ColSelectCount();
    void SelectionToRowSelect(bool All);
    void SelectionToColSelect(bool All);
    // The rows selected disjunctly, in the order they were selected.
    const std::vector<int>& SelectedRows() const { return FSel.SelectedRows(); }
    // Whether a cell is painted selected.
    bool IsSelected(int DisplCol, int DisplRow);
    const TGridSelStore& SelStore() const { return FSel; }
    TGridSelStore& SelStore() { return FSel; }
    // Row flags (display rows).
    int ModifiedRowCount() const;
    bool GetRowModified(int DisplRow) const;
    void SetRowModified(int DisplRow, bool Value);
    bool GetRowEnabled(int DisplRow) const;
    void SetRowEnabled(int DisplRow, bool Value);
    bool EnabledRowsUsed() const { return FSel.EnabledRowsUsed(); }
    // Repaints (the painting happens later).
    void RepaintRow(int DisplRow);
    void RepaintCol(int DisplCol);
    void RepaintRect(const TRect& DisplCells);
    void RepaintListedCell(TObject* List, int DisplCol, int DisplRow);
    // Exchanges the stored texts and object slots of two cells (real columns, display rows).
    void SwapCells(TPoint FromCell, TPoint ToCell);

protected:
    int RowSelectLimit() const;
    int RowSelectIndex(int DisplRow) const;
    TStringGrid* SyncedGrid() const;
    TGridSelStore FSel;
    TGridRect FOldSelection;
    bool FSelectionHidden = false;
    bool FSelectionChanged = false;
    int FLastRowReported = -1;

public:
    // ---- scrolling
    void SetScrollBars(TScrollStyle Value) override;
    void SetScrollBarAlways(TScrollBarAlways Value);
    void SetScrollType(TScrollType Value);
    void SetScrollColor(TColor Value);
    void SetScrollWidth(int Value);
    void SetScrollProportional(bool Value);
    void SetScrollSynch(bool Value) { FScrollSynch = Value; }
    void SetScrollHints(TScrollHintType Value) { FScrollHints = Value; }
    // Always-visible bars; HideUnneeded also hides a bar whose lines all fit without saNone.
    void ApplyScrollBarAlways(bool HideUnneeded);
    void StretchRightColumn();
    // DisplCol -1 is the last column; raises "Stretch column index out of range" beyond it.
    void StretchColumn(int DisplCol);
    bool IsSizingBorder(int X, int Y);
    // The platform's own bars stand in for the flat bars: the flat settings are kept and the
    // scroll information mirrored.
    void InitFlatScrollBars();
    void DoneFlatScrollBars();
    void ApplyFlatScrollStyle();
    void ApplyFlatScrollColor();
    void ApplyFlatScrollWidth();
    void FlatShowScrollBar(int Bar, bool Show);
    void UpdateVertFlatScroll();
    void UpdateHorzFlatScroll();
    void UpdateFlatScrollBars();
    bool FlatScroll() const { return FFlatScroll; }
    int FlatScrollStyle() const { return FFlatStyle; }
    void UpdateHorzProportional();
    void UpdateVertProportional();
    bool LastRowAboveSearchFooter();
    void ScrollLastRowAboveFooter();
    void CreateMetroScrollControls();
    void FreeMetroScrollControls();
    TCustomControl* MetroScrollControl(int Direction) const { return Direction == 0 ? FMetroVert : FMetroHorz; }
    // Automatic scrolling while something is dragged over the grid's edges.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    bool DragScrollTimerRunning() const { return FDragScrollTimer != nullptr; }
    TTimer* DragScrollTimer() const { return FDragScrollTimer.get(); }
    // The hint shown while the thumb is dragged.
    bool ScrollHintShowing() const { return FScrollHintShown; }
    QString ScrollHintText() const { return FScrollHintText; }
    // The mouse handling notes the column (or row) it starts sizing and its size at that moment.
    void NoteSizingStart(bool IsColumn, int Index);

protected:
    LRESULT DialogCode() const override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void WMVScroll(TMessage& Message);
    void WMHScroll(TMessage& Message);
    bool AllRowsFit() const;
    bool AllColsFit() const;
    bool ProportionalBlocked() const;
    int ScrollHintRow(int Pos) const;
    int ScrollHintCol(int Pos) const;
    void ShowScrollHint(const QString& Text);
    void HideScrollHint();
    TGridRect FixedBackgroundCells();
    int SearchPanelHeight() const;
    // The search panel covers the grid's bottom while it is shown.
    int CoveredBottom() const override { return SearchPanelHeight(); }
    void StopDragScroll();
    void DragScrollOver(int X, int Y, TDragState State);
    void DragScrollTick();
    // A scroll message of the cell scroll bar goes to that bar and its cell.
    bool CellScrollBarMessage(TMessage& Message);
    void PlaceCellScrollBar(int ACol, int ARow);
    TScrollBar* FCellScrollBar = nullptr;
    // Never shown: the painter draws it into the cells that have a scroll bar.
    TScrollBar* FPaintScrollBar = nullptr;
    // The size of the fixed background bitmap (the picture area fills it in).
    int FBackGroundWidth = 0;
    int FBackGroundHeight = 0;
    bool CurrentCellHoldsCheckBox();
    void InvalidateFooterPanel();
    TScrollStyle FScrollBarsSetting = ssBoth;
    bool FFlatScroll = false;
    int FFlatStyle = 0;
    TColor FFlatColor = clNone;
    int FFlatWidth = 0;
    TScrollInfo FFlatInfo[2];
    TScrollControl* FMetroVert = nullptr;
    TScrollControl* FMetroHorz = nullptr;
    bool FScrollLocked = false;
    bool FScrollHintShown = false;
    QString FScrollHintText;
    std::unique_ptr<TTimer> FDragScrollTimer;
    TDragScrollDirection FDragScrollDir;
    bool FStretching = false;
    int FSizedCol = -1;
    int FSizedRow = -1;
    int FSizeAtStart = 0;
    bool FSizingScale = false;
    // The cell a cell scroll bar serves and that bar's position and range.
    int FScrollCol = -1;
    int FScrollRow = -1;
    int FScrollPos = 0;
    int FScrollMin = 0;
    int FScrollMax = 0;

public:
    // ---- keyboard navigation and property setters
    void KeyPress(QChar& Key) override;
    // The grid window's key messages. A consumed key-down leaves WParam 0 and Result 1.
    void KeyDownMessageHandler(TMessage& Message);
    void CharMessageHandler(TMessage& Message);
    void KeyUpMessageHandler(TMessage& Message);
    void DialogCharMessageHandler(TMessage& Message);
    // One Tab step (backwards with Backward); false when the focus moves on to the next control.
    bool TabAdvance(bool Backward);
    // Whether a cell (display column, display row) may become current from the keyboard.
    bool CanSelectCell(int DisplCol, int DisplRow);
    // The first (last) selectable display column of a row; -1 when none.
    int FirstSelectableCol(int DisplRow);
    int LastSelectableCol(int DisplRow);
    int FirstNormalCol();
    bool IsLastNormalRow();
    // Selects a cell (and opens its editor where a click would) as a click does, without the
    // mouse events.
    void ClickCellSilently(int DisplCol, int DisplRow);
    // Whether the key is the character that opened the editor and was reported already: the
    // editor that receives it then does not report it again (true once).
    bool TakeReportedStartChar(QChar Key);
    // Moves to the next (previous) cell after Enter or Tab (display column, display row).
    void AdvanceCell(int DisplCol, int DisplRow, bool EditAfter, bool Recursing, bool Forward, bool AutoEdit,
                     bool Force);
    void EditNextCellControl(int RealCol, int DisplRow, const QString& ID);
    QString EditedCellControlID() const { return FCellControlID; }
    TPoint CellControlCell() const { return FCellControlCell; }
    TInplaceEdit* NormalEdit() const { return InplaceEditor(); }
    // Adds one row at the end (before a visible floating footer, whose texts stay) when
    // OnCanAddRow allows it, and reports it with OnAutoAddRow.
    virtual void AppendRow();
    // Whether a cell may be edited at all: editing possible and the (base) cell editable, not fixed.
    bool IsEditable(int RealCol, int DisplRow);
    bool IsEditableBaseCell(int RealCol, int DisplRow);
    int FirstDataColumn();
    int VisibleFixedRightCols() const;
    // The incremental search: the first non-fixed row of the sorted column whose text starts with
    // the upper-case text; -1 when none.
    int Search(const QString& S);
    QString IncrementalSearchText() const { return FSearchText; }
    // A tick of the grid timer ages the collected text: the fourth tick without a key empties it.
    void IncrementalSearchTick();
    // counts and fixed cells
    void SetRowCount(int Value) override;
    void SetColCount(int Value) override;
    int FixedRows() const;
    void SetFixedRows(int Value) override;
    int FixedCols() const;
    void SetFixedCols(int Value) override;
    int FixedColWidth() const;
    void SetFixedColWidth(int Value);
    void SetFixedRowHeight(int Value);
    void SetDefaultRowHeight(int Value) override;
    void SetFixedFooters(int Value);
    void SetFixedRightCols(int Value);
    // One value for the grid and its cell store (read through the store's WordWrap()).
    void SetWordWrap(bool Value) override;
    void SetAutoSize(bool Value);
    int MinFixedRows() const { return FMinFixedRows; }
    int MinFixedCols() const { return FMinFixedCols; }
    int MaxRowCount() const { return FMaxRowCount; }
    int MaxColCount() const { return FMaxColCount; }
    // appearance and behaviour
    void SetDefaultAlignment(TAlignment Value);
    void SetShowDesignHelper(bool Value);
    void SetSelectionColor(TColor Value);
    void SetSelectionColorTo(TColor Value);
    void SetSelectionMirrorColor(TColor Value);
    void SetSelectionMirrorColorTo(TColor Value);
    void SetSelectionTextColor(TColor Value);
    void SetSelectionColorMixer(bool Value);
    void SetSelectionColorMixerFactor(int Value); // clamped to 0..100
    void SetSelectionRectangle(bool Value);
    void SetSelectionResizer(bool Value);
    void SetShowSelection(bool Value);
    void SetActiveCellShow(bool Value);
    void SetActiveCellColor(TColor Value);
    void SetActiveCellColorTo(TColor Value);
    void SetXYOffset(QPoint Value);
    void UpdateXYOffset(int X, int Y);
    void SetActiveCellFont(TFont* Value);
    void SetFixedFont(TFont* Value);
    void SetBackGround(TBackGround* Value);
    void SetDragScrollOptions(TDragScrollOptions* Value);
    void SetShowModified(TShowModified* Value);
    void SetBalloon(TBalloonSettings* Value);
    void SetProgressAppearance(TGridProgressAppearance* Value);
    void SetSortSettings(TSortSettings* Value);
    void SetLookupItems(TStrings* Value);
    void SetRowIndicator(TBitmap* Value);
    void SetHighlightColor(TColor Value);
    void SetHighlightTextColor(TColor Value);
    void SetHovering(bool Value);
    void SetFlat(bool Value);
    void SetBorderColor(TColor Value);
    void SetVAlignment(TVAlignment Value);
    int VAlignFlag() const { return FVAlignFlag; }
    void SetMaxEditLength(int Value);
    bool SpreadSheet() const { return FSpreadSheet; }
    void SetSpreadSheet(bool Value);
    void SetAutoThemeAdapt(bool Value);
    TColor ArrowColor() const { return FArrowColor; }
    void SetArrowColor(TColor Value);

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    // The grid's steps in the platform's key handling: navigation after the form's key preview
    // (wrapping, row moving, disabled rows, synchronised grid) and the key release.
    virtual void KeyDownOverride(Word& Key, TShiftState Shift);
    virtual void KeyUpOverride(Word& Key, TShiftState Shift);
    // Parts of the key-down handler; each returns true when it ended the handling.
    bool HomeEndKey(TMessage& Message, Word Key, TShiftState Shift);
    void CellControlKey(Word Key);
    bool SkipFixedCellsKey(TMessage& Message, Word Key, TShiftState Shift);
    bool InsertRowKey(Word Key, TShiftState Shift);
    bool DeleteRowKey(Word Key, TShiftState Shift);
    void SelectAllKey();
    void MarkRowsAndColsKey(Word Key, TShiftState Shift);
    void DisjunctCellKeyUp(Word Key, TShiftState Shift, const TGridRect& Before);
    void FireSelectionChangedSince(const TGridRect& Before);
    void FireGridOnKeyDown(Word Key, TShiftState Shift);
    // The cell the grid starts on was never selected: editing is switched on for it as the
    // selection switches it on for every cell moved to, before a key acts on it.
    void EditingFollowsCurrentCell();
    // The Tab step along rows (forward or backward) and down columns.
    void TabAlongRows(bool Backward);
    void TabDownCols(bool Backward);
    void PostTabToParent(bool Backward);
    // Hooks for descendants: the block Ctrl+A selects, and F2 (nothing here).
    virtual void SelectAllHook(const TGridRect& Block) { (void)Block; }
    virtual void F2KeyHook() {}
    // The clipboard transfer of a shortcut key ('X' cut, 'C' copy, 'V' paste) that its event
    // allowed: the selection is cut, copied or pasted into.
    void ClipboardShortCut(char Which);
    void FireKeyPress(QChar& Key);
    TPoint FLastKeyCell{-1, -1};
    TGridRect FMoveSelection{-1, -1, -1, -1};
    bool FKeyClearedByHandler = false; // the platform's key-down step came back without the key
    bool FTabLeftGrid = false; // the running Tab step sent the focus on
    // The character the key handler reported to OnKeyPress and handed to the editor it opened.
    QChar FReportedStartChar;
    // One step of the advance; false when the advance ends there (a new row nobody can edit).
    bool AdvanceStep(int& DisplCol, int& DisplRow, bool Forward);
    bool HasCellControl(int RealCol, int DisplRow);
    void AddRow();
    template <typename T>
    void StoreAndRepaint(T& Field, const T& Value);
    bool UpdatePending() const { return FUpdateCount > 0; }
    // The floating footer's last row moves with the row count: texts and cell objects of
    // FromDisplRow go to ToDisplRow, which owns them from then on.
    void MoveFooterRow(int FromDisplRow, int ToDisplRow);
    // Stand-ins until the text renderer, the theme binding and the arrow windows land.
    void SetHTMLHighlightColors(TColor Color, TColor TextColor);
    void RegisterThemeNotifier(bool Register) { (void)Register; }
    void SetArrowWindowsColor(TColor Value) { (void)Value; }
    // The "<CONTROL" element of a cell being edited (its cell and ID); the control editor opens
    // over it.
    TPoint FCellControlCell{-1, -1};
    QString FCellControlID;
    TPoint FAdvanceOrigin{-1, -1};
    QChar FStartEditChar;
    bool FDisableChange = false; // the grid moves the current cell itself
    bool FEditing = false;
    bool FEditDisable = false;
    QString FSearchText;
    int FSearchTicks = 0;
    bool FSpreadSheet = false;
    TColor FArrowColor = clBlack;
    int FVAlignFlag = 0;

public:
    // ---- cell query hooks and event dispatch
    // Every question applies the built-in rules, then asks its event. Columns are real columns,
    // rows display rows, unless named otherwise.
    virtual void DoCanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void DoSearchFooterAction(const QString& Value, int ACol, int ARow, TSearchAction SearchAction);
    virtual void DoButtonClick(int ACol, int ARow);
    virtual void DoExpandClick(int ACol, int ARow, bool Expanded);
    virtual void DoComboCloseUp(int ARow, int ACol);
    virtual void DoComboDropDown(int ARow, int ACol);
    virtual void DoGetCellCursor(int ACol, int ARow, int X, int Y);
    virtual void DoGetCellHint(int ACol, int ARow, QString& Hint, QString& WideHint);
    virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void GetColumnFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix);
    virtual void GetCellEditor(int ACol, int ARow, TEditorType& AEditor);
    virtual void GetCellEditorEx(int ACol, int ARow, TEditorType& AEditor);
    virtual bool IsNoEditCell(int ACol, int ARow);
    virtual void GetFixedCell(int ACol, int ARow, bool& IsFixed);
    virtual void GetCellEditable(int ACol, int ARow, bool& CanEdit);
    virtual void GetPasswordCell(int ACol, int ARow, bool& IsPassword);
    virtual void GetCellWordWrap(int ACol, int ARow, bool& WordWrap);
    virtual bool HasComboButton(int ACol, int ARow);
    virtual bool HasSpinButtons(int ACol, int ARow);
    virtual void GetCheckTrue(int ACol, int ARow, QString& Value);
    virtual void GetCheckFalse(int ACol, int ARow, QString& Value);
    virtual bool BuildFilterList(int ACol);
    void GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
                         TColor& MirrorColorTo, TAlignment& HA, TVAlignment& VA, bool& WW,
                         TCellGradientDirection& GD) override;
    void GridButtonClicked(TObject* Sender);
    void RichEditSelChange(TObject* Sender);
    QString GetEditMask(int ACol, int ARow) override;
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& Value) { FEditMask = Value; }
    // The handlers the date and date-time picker editors are given.
    void DateTimePickerChanged(TObject* Sender);
    void DatePickerTextChanged(TObject* Picker);
    void DatePickerClosedUp(TObject* Sender);
    void DatePickerDroppedDown(TObject* Picker);

protected:
    // The height an expandable cell gives its row in its present state; stand-ins for the picker
    // editors until their area lands: the picker's value and whether it picks a time.
    int ExpandRowHeight(int ACol, int ARow) { return GetExpandHeight(ACol, ARow, GetExpandState(ACol, ARow)); }
    TDateTime PickerValue(TObject* Picker) const {
        (void)Picker;
        return 0;
    }
    bool PickerIsTimeKind(TObject* Picker) const {
        (void)Picker;
        return false;
    }
    QString FEditMask;
    bool FFilterIncremental = false;
    // The text of the current cell kept when editing began (Escape writes it back).
    QString FOldCellCache;
    bool FOldCellCacheValid = false;
    TCursor FCellCursor = crDefault;

public:
    // ---- in-place editing
    // Whether a cell is fixed for editing: the footer rows and fixed right columns, then the
    // fixed-cell hook. Display column, display row.
    bool IsFixed(int DisplCol, int DisplRow) override;
    // Commits and hides the special editor of the current cell (the text editor is not touched).
    void HideCellEdit();
    // Opens the current cell's editor as F2 does.
    void ShowCellEdit();
    bool EditorWantsTab();
    bool IsPassword(int RealCol, int DisplRow);
    // Opens (and commits) the special editor of EditControl() over a cell (display column).
    void ShowSpecialEditor(int DisplCol, int DisplRow);
    void HideSpecialEditor(int DisplCol, int DisplRow);
    // Ends the edit of the current cell: the open editor's value is written to its cell.
    void HideInplaceEdit();
    // The special editors' keys that end an edit (Enter, Tab, arrows): the value is validated
    // first, a refused one keeps the editor open.
    void DoneInplaceEdit(Word Key, TShiftState Shift);
    // Closes the editor and moves one cell along the row (Forward: to the right), the editor
    // opening again there with Navigation.CursorWalkAlwaysEdit.
    void WalkFromEditor(bool Forward);
    // Opens the current cell's editor again (not over a check box, radio or button cell).
    void ShowInplaceEdit();
    // Escape in a special editor: the cell keeps the text it had when the editor opened.
    void CancelInplaceEdit();
    // OnEditingDone, then "GridEditDone" posted to the grid (real column, display row).
    virtual void DoEditingDone(int RealCol, int DisplRow);
    // The edit going on: its editor kind, whether one is open, the special editor's control and
    // the cell (real column, display row) the open editor writes to.
    TEditorType EditControl() const { return FEditControl; }
    bool EditMode() const { return FEditMode; }
    bool EditingValue() const { return FEditing; }
    TWinControl* EditCtrl() const { return FEditCtrl; }
    int EditRealCol() const { return FEditRealCol; }
    int EditRow() const { return FEditRow; }
    QString CellCache() const { return FOldCellCache; }
    TExtInplaceEdit* TextEditor() const { return dynamic_cast<TExtInplaceEdit*>(InplaceEditor()); }
    // The text a cell is sized by: while the text editor is open on it, what is typed there (the
    // cell itself gets the value only when the edit ends and the value is accepted).
    QString SizingCellText(int RealCol, int DisplRow);
    // The special editor of a kind (made on first use); null for the default-editor kinds and
    // for a kind without an editor.
    TGridCellEditor* SpecialEditor(TEditorType Kind);
    TEditLink* EditLink() const { return FEditLink; }
    void SetEditLink(TEditLink* Value) { FEditLink = Value; }
    int ComboIdx() const { return FComboIdx; }
    void SetComboIdx(int Value) { FComboIdx = Value; }
    bool NoAutoAdvance() const { return FNoAutoAdvance; }
    void SetNoAutoAdvance(bool Value) { FNoAutoAdvance = Value; }
    TRowChangedEvent OnRowChanged;

protected:
    bool CanEditShow() override;
    bool SelectCell(int DisplCol, int DisplRow) override;
    TInplaceEdit* CreateEditor() override;
    void UpdateText() override;
    void EditorHidden() override;
    int GetEditLimit() override;
    // Whether the default text editor may open; opens a special editor instead for such kinds.
    virtual bool CanEditShowOverride();
    // Validates and allows or refuses a cell change; switches goEditing to suit the new cell.
    virtual bool SelectCellOverride(int DisplCol, int DisplRow);
    // The grid's messages of editing ("GridEditDone", typed start keys, clicks that open an
    // editor); true when the message was consumed.
    bool EditWndProc(TMessage& Message);
    // The open editor's value checked before it is written; true when it may be written, with
    // the text to write in Value.
    bool ValidateEditorValue(QString& Value);
    // Validates the value the open editor holds (Wide: the cell holds wide text); Value becomes
    // the text validation left.
    bool ValidateHeldValue(QString& Value, bool Wide);
    // Remembers the cell an editor opens on, and its text, for validation and for Escape.
    void NoteEditCell(int RealCol, int DisplRow);
    void ShowEditLink(int RealCol, int DisplRow, const TRect& R, TColor C);
    void HideEditLink(int RealCol, int DisplRow);
    friend class TExtInplaceEdit;
    bool FLastValidation = true;
    bool FBlockKill = false;
    bool FEntered = false;
    bool FSpecialEditor = false;
    bool FEditActive = false;
    // The press that opens a spin editor was on the upper (lower) half of the cell's spin buttons.
    bool FSpinUpClick = false;
    bool FSpinDnClick = false;
    bool FEditMode = false;
    bool FShowEditProcess = false;
    bool FNoEditChange = false;
    bool FNoAutoAdvance = false;
    bool FForceSel = false;
    bool FRevertEdit = false;
    // Text typed into an open editor is written into its cell as it is typed (FShowEditProcess).
    // Until a validation accepts it or the edit stores its value, the text the cell held before
    // is kept here, so a refused or abandoned edit puts it back.
    bool FTypedWritten = false;
    int FTypedCol = -1; // real column
    int FTypedRow = -1;
    QString FTypedOldText;
    bool LButFlg = false;
    QPoint FLButPos;
    TEditorType FEditControl = edNormal;
    TWinControl* FEditCtrl = nullptr;
    TEditLink* FEditLink = nullptr;
    QString FEditText;
    int FEditRealCol = -1;
    int FEditRow = -1;
    int FComboIdx = -1;
    std::vector<std::pair<int, std::unique_ptr<TGridCellEditor>>> FSpecialEditors;

public:
    // ---- cell graphics ----
    // Size, placement and draw-text flag of a cell's graphic as the painter reads them.
    struct TCellGraphicExtent {
        TCellGraphic* Graphic = nullptr;
        int Width = 0;
        int Height = 0;
        TCellHAlign HAlign = haLeft;
        TCellVAlign VAlign = vaTop;
        bool DrawText = true;
    };
    // What DrawCellGraphic takes from the painter's record of the cell.
    struct TCellGraphicPaint {
        TCanvas* Canvas = nullptr;
        int RealCol = 0;
        int Row = 0;
        TGridDrawState State;
        TAlignment HAlign = taLeftJustify; // of the cell text
        int TextWidth = 0; // measured by the text step
        int Width = 0; // of the graphic (CellGraphicExtent)
        int Height = 0;
    };
    TCellGraphicExtent CellGraphicExtent(int RealCol, int DisplRow);
    // The cell's graphic record; null for a cell without one.
    TCellGraphic* CellGraphicRecord(int RealCol, int DisplRow);
    // Draws Graphic in the painter's rectangle W. Nothing it draws raises: a piece that cannot be
    // drawn (a missing image, an empty range) draws the neutral result.
    void DrawCellGraphic(TRect W, TCellGraphic* Graphic, TVAlignment VA, const TCellGraphicPaint& Info);
    // On the grid's own canvas, or on the given one.
    void DrawCheckBox(TRect R, bool Checked, TCheckBoxState State, bool TriState, TControlStyle Style, bool Grayed,
                      bool Enabled);
    void DrawCheckBox(TCanvas* ACanvas, TRect R, bool Checked, TCheckBoxState State, bool TriState, TControlStyle Style,
                      bool Grayed, bool Enabled);
    void DrawRadioGroup(TCanvas* ACanvas, TRect Q, bool Upward, double Scale, TControlStyle Style, int ARow, int ACol,
                        bool Selected, TStrings* Items, bool Disabled, bool Horizontal, int SelectedIndex, int Count);
    void DrawSortGlyph(TCanvas* ACanvas, int RealCol, int Y, int X);
    // The sort keys the sort glyphs number (real columns, in priority order).
    TSortIndexList* SortIndexes() const { return FSortIndexes.get(); }
    // Moves R's top-left corner to where Text rotated by Angle degrees starts so that it lies in R
    // (shrunk by 2) with the given alignments.
    void PlaceRotatedText(TCanvas* ACanvas, TRect& R, int Angle, TVAlignment VA, TAlignment HA, const QString& Text);

    // ---- printing and preview ------------------------------------------------------------------------
    // Pages are laid out in 0.1 mm with y growing upwards from the page's top edge (MM_LOMETRIC).
    // Print* print on the application's printer (Printer()); the grid rectangles are display cells.
    void Print();
    void PrintRect(const TGridRect& Gridrect);
    void PrintSelection();
    void PrintSelectedRows();
    void PrintSelectedCols();
    // The same job on a given printer (the preview window prints on its own).
    void PrintOn(TPrinter& APrinter, const TGridRect& Gridrect, bool SelectionMode);
    // Page PreviewPage of a print drawn into Displayrect (device pixels) of Canvas.
    void PrintPreview(TCanvas* Canvas, TRect Displayrect);
    void PrintPreviewRect(TCanvas* Canvas, TRect Displayrect, const TGridRect& Gridrect);
    void PrintPreviewSelection(TCanvas* Canvas, TRect Displayrect);
    void PrintPreviewSelectedRows(TCanvas* Canvas, TRect Displayrect);
    void PrintPreviewSelectedCols(TCanvas* Canvas, TRect Displayrect);
    // Page 1 of a print drawn into DrawRect (device pixels) of Canvas.
    void PrintDraw(TCanvas* Canvas, TRect DrawRect);
    void PrintDrawRect(TCanvas* Canvas, TRect DrawRect, const TGridRect& Gridrect);
    // The print of all cells in the platform's preview window, from which the user may print it.
    void ShowPrintPreview();
    // Points to a font height in 0.1 mm (times the fit scale) and back.
    int MapFontHeight(int PointSize) const;
    int MapFontSize(int Height) const;
    int PreviewPage() const { return FPrintPageFrom; }
    void SetPreviewPage(int Page) { FPrintPageFrom = FPrintPageTo = Page; }
    EXTGRID_PLAIN(bool, FastPrint, false)
    EXTGRID_PLAIN(bool, PrinterDriverFix, false)
    int PrintNrOfPages() const { return FPrintNrOfPages; }
    bool IsPrintPreview() const { return FIsPrintPreview; }
    TGridRect PrintGridRect() const { return FPrintRect; }
    TRect PrevRect() const { return FPrevRect; }
    double Fontscalefactor() const { return FFontscalefactor; }
    // Print width and left x of a display column in the last layout (0 outside it).
    int MaxWidths(int DisplCol) const;
    int Indents(int DisplCol) const;
    int PrintPageWidth() const { return FPrintPageWidth; }
    TRect PrintPageRect() const { return FPrintPageRect; }
    int PrintColStart() const { return FPrintColStart; }
    int PrintColEnd() const { return FPrintColEnd; }
    // The cell level of the page engine; they measure and draw on the canvas of the engine's run
    // (CellPrintExtent and PrintRowHeight also on a given mapped canvas outside a run).
    TPoint CellPrintExtent(int RealCol, int ARow);
    void MeasurePrintColumns();
    int PrintRowHeight(int ARow);
    int PrintRow(int y, int FirstCol, int LastCol, int ARow);
    // The canvas the cell-level routines measure on outside an engine run (nullptr: none).
    void SetPrintCanvas(TCanvas* Canvas);
    // Moves R's left and top to where text with the rotated font starts (A, C: the vertical and
    // horizontal projections of the text height; B, D: those of the text width).
    static void RotatedTextOrigin(TRect& R, TAlignment HAlign, TVAlignment VAlign, int A, int B, int C, int D,
                                  int Angle);
    int PrinterLandscapeRotation();
    // Repaints the cells of a block (display cells) without erasing the background.
    void InvalidateGridRect(const TGridRect& R);

private:
    // One run of the page engine. Mode: 0 preview, 1 print or draw, 2 count for printing,
    // 3 count for a preview.
    struct TPrintRun {
        TCanvas* Canvas = nullptr;
        TPrinter* Printer = nullptr;
        int Mode = 1;
        bool SelectionMode = false;
        int Total = 1;
        double Px = 1.0; // 0.1 mm per screen pixel
        double ResRatio = 1.0;
        double FitScale = 1.0;
        int Sp = 0; // spacing unit
        int S = 0; // column spacing
        int W = 0, B = 0; // page width, bottom y
        int HH = 0, FH = 0; // header, footer text heights
        int C = 0; // page counter
        int Band = 0, PageInBand = 0;
        bool MultiBand = false;
        bool RepeatFixedCols = false;
        int A = 0, Bc = 0; // the band's first and last column
        int E = 0, G = 0; // header and footer block heights
        int CachedRow = -1, CachedHeight = 0;
        bool Cancelled = false;
    };
    TPrintRun FPrintRun;
    TGridRect FPrintRect{};
    TRect FPrevRect{};
    double FFontscalefactor = 1.0;
    std::vector<int> FMaxWidths, FIndents;
    int FPrintPageWidth = 0;
    TRect FPrintPageRect{};
    int FPrintColStart = 0, FPrintColEnd = 0;
    int FPrintNrOfPages = 0;
    bool FIsPrintPreview = false;
    void PrintGridBlock(const TGridRect& Gridrect, bool SelectionMode);
    void PreviewGridBlock(TCanvas* Canvas, TRect Displayrect, const TGridRect& Gridrect, bool SelectionMode);
    TGridRect AllPrintCells() const;
    TGridRect SelectionPrintCells() const;
    int PrintEngine(TCanvas* Canvas, TPrinter* APrinter, int Mode, bool SelectionMode, int Total);
    void SizePrintTables();
    bool PrintColPrinted(int DisplCol);
    bool PrintRowPrinted(int ARow);
    bool PrintPageInRange(int Page) const { return Page >= FPrintPageFrom && Page <= FPrintPageTo; }
    bool PrintDrawing() const { return FPrintRun.Mode == 0 || FPrintRun.Mode == 1; }
    void PrintHeaderBlocks(bool FirstPage, int HtmlTitleHeight);
    int PrintHeaderFooter(int Page);
    QString PrintPageNumText();
    void PrintPageBorders(int LastY);
    void PrintNextPage();
    void PrintCellGraphic(int RealCol, int ARow, TCellGraphic* CG, TRect R, TColor Brush);

public:
    // Whether the Windows XP theme drives the themed styles (csTheme, the progress theme).
    bool XPThemed() const { return IsWinXP() && IsComCtl6() && ThemesActive(); }
    // The cell whose push button the mouse hovers (real column, display row); (-1, -1) for none.
    TPoint HoveredCellButton() const { return FHoveredCellButton; }
    void SetHoveredCellButton(TPoint Value) { FHoveredCellButton = Value; }

protected:
    TPoint FHoveredCellButton{-1, -1};
    // The row check box column 0 shows with MouseActions.HotmailRowSelect.
    std::unique_ptr<TCellGraphic> FRowCheckGraphic;
    // A cell's number as the graphics read it; 0 for a text that is no number.
    int SafeInts(int RealCol, int DisplRow);
    double SafeFloats(int RealCol, int DisplRow);
    void DrawProgressCell(TCanvas* Canvas, TRect G, TCellGraphic* CG, int RC, int R);
    void DrawCellButton(TCanvas* Canvas, TRect W, TRect G, TCellGraphic* CG, int RC, int R, int L, int T, int Rt,
                        int B);
    void DrawNodeGlyph(TCanvas* Canvas, TRect W, TRect G, TCellGraphic* CG, int R, TGridDrawState S);
    // The node level of a display row's column-0 cell (0 outside every group).
    virtual int NodeLevel(int DisplRow);

    // ---- HTML and XML
public:
    // The grid as an HTML table file (UTF-16 with byte-order mark when Unicode, else ASCII with
    // character references for everything beyond it); opened afterwards when Show or
    // HTMLSettings.AutoPreview is set. Written whole or not at all.
    void SaveToHTML(const QString& FileName, bool Show = false, bool Unicode = false);
    // As SaveToHTML, after the lines the file already holds (none when it does not exist; a file
    // that exists but cannot be read raises and is left as it is).
    void AppendToHTML(const QString& FileName, bool Show = false, bool Unicode = false);
    // The style block and the table markup; cell images are written below Dir ("images/").
    QString SaveToHTMLString(const QString& Dir);
    // The save range as a list of records, one element per field, in XMLEncoding when that is an
    // encoding written here (UTF-8, ISO-8859-1, Windows-1252, US-ASCII), else in UTF-8.
    void SaveToXML(const QString& FileName, const QString& ListDescr, const QString& RecordDescr,
                   TStrings* FieldDescr = nullptr, bool ExportEmptyCells = false);
    void LoadFromXML(const QString& FileName, bool LevelToRow = false, bool LoadFieldDescr = false);

protected:
    // One cell of the HTML table; false for a cell covered by a merged area.
    bool HTMLCellMarkup(int DisplCol, int ARow, bool Header, int C0, bool HeaderWritten, QStringList& Styles,
                        int& ImageNo, const QString& Dir, QString& Markup);
    QString HTMLImageMarkup(TGraphic* Graphic, const QImage* Image, int& ImageNo, const QString& Dir);
    void WriteHTMLFile(const QString& FileName, bool Show, bool Unicode, bool Append);

    // ---- drag and drop
public:
    // Column ACol (real) is being dragged in from entry AIndex of the list box AList (a column
    // chooser): a drop of it shows the column again where it lands and takes it off the list.
    void OleColumnDragStart(int ACol, int AIndex, TListBox* AList);
    // The cells being dragged out (display columns and rows).
    TGridRect DropSelection() const { return FDropSelection; }
    // The arrows that show where a drop would go (null until first shown).
    TDropArrow* ArwL() const { return FArwL.get(); }
    TDropArrow* ArwD() const { return FArwD.get(); }
    TDropArrow* ArwU() const { return FArwU.get(); }

protected:
    friend class TGridDropSource;
    friend class TGridDropTarget;
    void DropRequest(TDropRequest& Request) override;
    // Runs a drag of the selection (or of a header's column) that the mouse started at the cell.
    void OleDragStart(int DisplCol, int ARow);
    // After a move: the dragged rows go, or the dragged cells are cleared, keeping whatever a
    // drop into this grid placed there.
    void OleRemoveSource();
    // The rows a drop inserted (display rows, before the rows at DisplRow): the dragged rows
    // after them moved down.
    void OleRowsInserted(int DisplRow, int RCount);
    void OleHideArrows(bool Rows, bool Cols);
    void OleShowArrow(std::unique_ptr<TDropArrow>& Arrow, int Direction, TPoint ClientPos);
    // A drop into this grid placed cells here (display columns and rows).
    void OleDropped(const TGridRect& Placed);
    // Places a cell block at a cell; false (nothing changed) for a damaged block or a point
    // outside the grid.
    bool OleDropCellBlock(int DisplCol, int ARow, const QByteArray& Block);
    QPixmap OleDragPicture(const TGridRect& Cells);
    // Whether a drop (or a move's removal) may change the cell: never a read-only one or one
    // the grid would not let be edited.
    bool OleMayWrite(int RealCol, int DisplRow);
    // Where the press that may start a drag went down (client coordinates).
    TPoint FOleDownPoint{-1, -1};
    int FOleDragIndex = -1;
    TListBox* FOleDragList = nullptr;
    int FOleTimerCount = 0;
    std::unique_ptr<TDropArrow> FArwL, FArwD, FArwU;
    // The dragged rows (display rows) while a drag runs, following rows a drop inserted.
    std::vector<int> FOleDragRows;
    // What drops into this grid placed while its own drag ran.
    std::vector<TGridRect> FOleDroppedHere;
    bool FOleDragging = false;

    // ---- clipboard
public:
    enum TClipOperation { coCut, coCopy };
    // The mime type of the grid's own cell block on the clipboard.
    static QString CellsMimeType();
    void CopyToClipBoard();
    void CopySelectionToClipboard();
    void CutToClipboard();
    void CutSelectionToClipboard();
    void CopyToClipBoardAsHTML();
    void PasteFromClipboard();
    void PasteSelectionFromClipboard();
    QString GetSelectionAsText();
    void SetSelectionAsText(const QString& Value);
    TClipOperation LastClipOperation() const { return FClipOperation; }
    TPoint LastCopiedOrigin() const { return FClipTopLeft; }

protected:
    // The clipboard text of a rectangle (display columns and rows), only the disjunct-selected
    // rows or columns when SelectedOnly.
    QString SelectionToText(const TGridRect& R, bool SelectedOnly);
    void CopyRectToClipboard(const TGridRect& R, bool SelectedOnly);
    void CopyCellAsRTF(int DisplCol, int ARow, QMimeData* Data);
    void CopyRectToCellFormat(const TGridRect& R, QMimeData* Data);
    TGridRect ExtendSelectionToMerged(const TGridRect& R);
    TGridRect ClipboardCopyRect(bool& SelectedOnly);
    int PasteAt(int DisplCol, int ARow, int& Rows, int& Cols);
    // The grid's own cell block placed at a cell; -1 (and nothing changed) for a damaged block.
    int PasteCellFormat(int DisplCol, int ARow, const QByteArray& Block, int& Rows, int& Cols);
    int PasteText(int DisplCol, int ARow, const QString& Text, int& Rows, int& Cols);
    // Lines (at CR, LF or CR LF outside quotes) and their largest number of fields.
    static void TextBlockSize(const QString& Text, int& Rows, int& Cols);
    // Whether a pasted value may be stored in a cell: never in a read-only cell, else when the
    // cell is editable or AllowClipboardAlways is set.
    bool CanPasteInto(int DisplCol, int ARow);
    virtual void SetPastedCell(int DisplCol, int ARow, const QString& Value);
    virtual void MarkPastedRows(TPoint Source, const TRect& Target, TClipOperation Operation);
    virtual void PasteBegin() {}
    virtual void PasteEnd() {}
    virtual bool UsesCellClipboardFormat() { return AllowFormattedClipboard(); }
    TClipOperation FClipOperation = coCopy;
    bool FPasteAll = false;

    // ---- hooks and notifications ----
public:
    // The tool-tip text request of the balloon window for the cell under Mouse (client
    // coordinates): title, text and icon as they are shown, texts already cut to size.
    struct TBalloonText {
        bool Valid = false;
        int Col = -1; // real column
        int Row = -1;
        QString Title;
        QString Text;
        int Icon = 1;
    };
    TBalloonText BalloonTextAt(TPoint Mouse);
    // The date picked in the in-place date picker (0 for an incomplete date) is reported for the
    // current cell.
    void DateTimeChangeNotify(int Year, int Month, int Day, int Hour, int Minute, int Second);
    // The cell whose balloon is shown (real column, display row).
    TPoint BalloonCell() const { return FBalloonCell; }
    QString ToolTipBuffer() const { return FToolTipBuffer; }
    // Save rich text as it is (without line breaks) instead of its plain text.
    bool SaveWithRTF() const { return FSaveWithRTF; }
    void SetSaveWithRTF(bool Value) { FSaveWithRTF = Value; }
    // The plain text of a rich-text cell.
    static QString RichTextToPlain(const QString& Rtf);
    // The stored text of a cell (real column, display row): what a formula cell shows.
    virtual QString GetSaveCellText(int ACol, int ARow) { return GetCellEx(ACol, ARow); }

protected:
    TPoint FBalloonCell{-1, -1};
    QString FToolTipBuffer;
    bool FSaveWithRTF = false;

    // ---- cell text file and grid stream ----
public:
    // The cell text file: one line per non-empty cell, "column,row,text", the text's line breaks
    // and the format's own marks escaped so that no text can split its line. Written whole or not
    // at all; Unicode writes UTF-16 with its byte order mark, otherwise Windows-1252 (UTF-8 with
    // its mark when a text does not fit that page, so nothing is lost).
    void SaveToFile(const QString& FileName, bool Unicode = false);
    void LoadFromFile(const QString& FileName);
    // The same lines in UTF-16 at the stream's position, coordinates relative to the save range.
    // Reading stops before the first line that is no cell line, leaving it for the caller.
    void SaveToStream(TStream* Stream);
    void LoadFromStream(TStream* Stream);
    // The grid stream: a header and one record per cell of a block (real columns Left..Right and
    // display rows Top..Bottom, inclusive) with its text, properties and graphic.
    void SaveRectToBinStream(const TRect& Rect, TStream* Stream);
    void SaveToBinStream(TStream* Stream);
    void SaveToBinFile(const QString& FileName);
    // Reads a whole grid stream before it changes anything: a damaged or foreign stream raises
    // EReadError and leaves the grid as it was. The block's first cell goes to Point (X real
    // column, Y display row); cells that fall outside the grid are left out. A whole-grid stream
    // first clears and sizes the grid. The stream is left just past the block.
    void LoadAtPointFromBinStream(TPoint Point, TStream* Stream);
    void LoadFromBinStream(TStream* Stream);
    void LoadFromBinFile(const QString& FileName);
    // The identity a grid stream's header carries for the grid that wrote it.
    int GridStreamID();
    // The numeric value of a cell (0 when empty); EExtGridError when its text is no number.
    double CellToReal(int ACol, int ARow);

    // ---- CSV and text ----
    // Delimited text: the save range, one line per row, fields encoded by the grid's CSV settings.
    void SaveToCSV(const QString& FileName, bool Unicode = false);
    // The existing file (which must exist) with the save range added after its lines.
    void AppendToCSV(const QString& FileName, bool Unicode = false);
    // Replaces the grid's content from a CSV file (MaxRows <= 0: every row); quoted fields may
    // hold line breaks. A file of length 0 changes nothing.
    void LoadFromCSV(const QString& FileName, int MaxRows = -1);
    // The file's rows after the grid's last row.
    void InsertFromCSV(const QString& FileName, int MaxRows = -1);
    void LoadFromCSVStream(TStream* AStream, int MaxRows = -1);
    // Fixed-width text: Positions holds each saved column's width (missing widths are added to
    // the caller's list); for reading, the 1-based positions at which the fields start, the last
    // one just past the last field.
    void SaveToFixed(const QString& FileName, TIntList* Positions);
    void LoadFromFixed(const QString& FileName, TIntList* Positions, bool DoTrim = true, int MaxRows = -1);
    // The padded report: columns lined up with blanks, multi-line cells continued on further lines.
    void SaveToASCII(const QString& FileName, bool Unicode = false);
    void AppendToASCII(const QString& FileName, bool Unicode = false);
    // The longest line of the column's saved texts.
    int MaxColumnTextLength(int ACol);
    // True while a file is being loaded: the grid then takes no edits and its window is not
    // closed until the load ends.
    bool FileLoading() const { return FFileLoading > 0; }

protected:
    friend class TGridFileLoadLock;
    int FFileLoading = 0;
    int FGridStreamID = 0;
    // The node rows counted again after a whole stream was loaded.
    void CountNodeRows();

    // ---- office documents ------------------------------------------------------------------------------
public:
    // The worksheet names of a workbook (.xlsx or .xls), in sheet order.
    std::unique_ptr<TStringList> GetXLSSheets(const QString& FileName);
    // The active (or named) worksheet of a workbook into the grid.
    void LoadFromXLS(const QString& Filename);
    void LoadFromXLSSheet(const QString& Filename, const QString& SheetName);
    // The grid into a new .xlsx workbook. No spreadsheet application is driven, so there is no
    // running one's active sheet to write into: CreateNewSheet makes no difference.
    void SaveToXLS(const QString& Filename, bool CreateNewSheet = true);
    // The grid into the named sheet of the file's .xlsx workbook (the file and sheet made when missing).
    void SaveToXLSSheet(const QString& Filename, const QString& SheetName);
    // The grid as a table in a new .docx document; there is no running word processor's active
    // document to write into, so CreateNewDocument makes no difference.
    void SaveToDOC(const QString& Filename, bool CreateNewDocument = true);
    // The grid as a table appended to an existing .docx document, at the bookmark when it exists.
    void AppendToDoc(const QString& Filename, const QString& Bookmark);
    // A table or a query result of an Access database into the grid.
    void LoadFromMDBTable(const QString& Filename, const QString& Table);
    void LoadFromMDBSQL(const QString& Filename, const QString& SQL);

protected:
    // The records of a query into the grid: field names in the last fixed row, one row a record.
    void LoadFromRecordSource(office::TRecordSource& Source);

    // ---- quick configuration ----
public:
    // Items of the quick-configuration box: 1 "Allow edit", 2 "Column numbers", 3 the look, 4 the
    // close glyph; -1 none.
    int DesignHelperHitTest(int X, int Y);
    // The designer's hit test at a client point: true when the grid takes the click itself.
    bool HandleDesignHitTest(int X, int Y);
    // The box's rectangle in client coordinates.
    TRect DesignHelperRect();
    // The look menu: its entries and command numbers, and the command the menu returns (0 when
    // dismissed). Tests replace the runner.
    std::function<int(const QStringList& Entries, const std::vector<int>& Commands, int CheckedCommand, TPoint At)>
        DesignLookMenu;
    bool ColumnNumbersShown() const { return FColumnNumbersShown; }
    void SetColumnNumbersShown(bool Value) { FColumnNumbersShown = Value; }
    static QString LookDisplayName(TGridLook Value);

    void PaintDesignHelperOn(TCanvas* ACanvas);
    // How often a move over the box asked for its repaint.
    int DesignHelperRepaints() const { return FDesignHelperRepaints; }

protected:
    void ApplyDesignLookCommand(int Command);
    void NudgeDesignForm();
    bool FColumnNumbersShown = false;
    int FLastDesignItem = -1;
    int FDesignHelperRepaints = 0;
    TPopupMenu* FDesignMenu = nullptr; // owned as a component of the grid

public:
    // ---- events and virtual operations
    // Events of the grid (besides the platform's OnClick, OnKeyPress ... and the cell store's
    // OnGetDisplText); each is called only when assigned.
    // cell queries
    TGridColorEvent OnGetCellColor;
    TGridColorEvent OnGetCellPrintColor;
    TGridGradientEvent OnGetCellGradient;
    TGridBorderEvent OnGetCellBorder;
    TGridBorderEvent OnGetCellPrintBorder;
    TGridBorderPropEvent OnGetCellBorderProp;
    TGridAlignEvent OnGetAlignment;
    TWordWrapEvent OnGetWordWrap;
    TGridFormatEvent OnGetFormat;
    TFloatFormatEvent OnGetFloatFormat;
    TGetCheckEvent OnGetCheckTrue;
    TGetCheckEvent OnGetCheckFalse;
    TCellCursorEvent OnGetCellCursor;
    TGetEditorTypeEvent OnGetEditorType;
    TGetEditorPropEvent OnGetEditorProp;
    THasComboEvent OnHasComboBox;
    THasSpinEditEvent OnHasSpinEdit;
    TIsFixedCellEvent OnIsFixedCell;
    TIsPasswordCellEvent OnIsPasswordCell;
    TCanEditCellEvent OnCanEditCell;
    TCanClickCellEvent OnCanClickCell;
    TGridHintEvent OnGridHint;
    TGridWideHintEvent OnGridWideHint;
    TCustomCellDrawEvent OnCustomCellDraw;
    TCustomCellDrawEvent OnCustomCellBkgDraw;
    TCustomCellSizeEvent OnCustomCellSize;
    TCustomStrToDateEvent OnCustomStrToDate;
    // cell clicks and cell objects
    TClickCellEvent OnClickCell;
    TClickCellEvent OnRightClickCell;
    TDblClickCellEvent OnDblClickCell;
    TAnchorClickEvent OnAnchorClick;
    TAnchorEvent OnAnchorEnter;
    TAnchorEvent OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;
    TButtonClickEvent OnButtonClick;
    TCheckBoxClickEvent OnCheckBoxClick;
    TCheckBoxClickEvent OnCheckBoxChange;
    TCheckBoxClickEvent OnCheckBoxMouseUp;
    TRadioClickEvent OnRadioClick;
    TRadioClickEvent OnRadioMouseUp;
    TRadioButtonClickEvent OnRadioButtonClick;
    TRatingChangeEvent OnRatingChange;
    TExpandClickEvent OnExpandClick;
    TEllipsClickEvent OnEllipsClick;
    TUnitChangedEvent OnUnitChanged;
    TControlEvent OnControlClick;
    TControlEvent OnControlEditDone;
    TControlComboListEvent OnControlComboList;
    TControlComboSelectEvent OnControlComboSelect;
    TGridBalloonEvent OnCellBalloon;
    // editing
    TEditChangeEvent OnEditChange;
    TNotifyEvent OnEditingDone;
    TEditCellDoneEvent OnEditCellDone;
    TCellValidateEvent OnCellValidate;
    TCellValidateEvent OnCellValidateWide;
    TCellsChangedEvent OnCellsChanged;
    TFixedEditEvent OnFixedEdit;
    TComboChangeEvent OnComboChange;
    TClickCellEvent OnComboCloseUp;
    TClickCellEvent OnComboDropDown;
    TComboObjectChangeEvent OnComboObjectChange;
    TSpinClickEvent OnSpinClick;
    TFloatSpinClickEvent OnFloatSpinClick;
    TDateTimeSpinClickEvent OnTimeSpinClick;
    TDateTimeSpinClickEvent OnDateSpinClick;
    TDateTimeChangeEvent OnDateTimeChange;
    TClickCellEvent OnDatePickerCloseUp;
    TClickCellEvent OnDatePickerDropDown;
    TColorSelectEvent OnColorSelect;
    TColorSelectedEvent OnColorSelected;
    TImageSelectEvent OnImageSelect;
    TImageSelectedEvent OnImageSelected;
    TNotifyEvent OnRichEditSelectionChange;
    // navigation and selection
    TAutoAdvanceEvent OnAutoAdvance;
    TRowChangedEvent OnRowUpdate;
    TRowChangingEvent OnRowChanging;
    TColChangingEvent OnColChanging;
    TCellChangingEvent OnCellChanging;
    TRowDisjunctSelectEvent OnRowDisjunctSelect;
    TAutoInsertRowEvent OnRowDisjunctSelected;
    TSelectionChanged OnSelectionChanged;
    TSelectionResizeEvent OnSelectionResize;
    TSelectionResizeEvent OnSelectionResized;
    TScrollCellEvent OnScrollCell;
    TScrollHintEvent OnScrollHint;
    TDragScrollEvent OnDragScroll;
    TNotifyEvent OnStartBlockFocus;
    TNotifyEvent OnEndBlockFocus;
    // rows, columns and sizes
    TCanAddRowEvent OnCanAddRow;
    TAutoAddRowEvent OnAutoAddRow;
    TCanInsertRowEvent OnCanInsertRow;
    TAutoInsertRowEvent OnAutoInsertRow;
    TAutoInsertColEvent OnAutoInsertCol;
    TCanDeleteRowEvent OnCanDeleteRow;
    TAutoDeleteRowEvent OnAutoDeleteRow;
    TColumnSizeEvent OnColumnSize;
    TColumnSizingEvent OnColumnSizing;
    TMoveAllowEvent OnColumnMove;
    TMoveAllowEvent OnColumnMoving;
    TRowSizeEvent OnRowSize;
    TRowSizingEvent OnRowSizing;
    TMoveAllowEvent OnRowMove;
    TMoveAllowEvent OnRowMoving;
    TEndColumnSizeEvent OnEndColumnSize;
    TEndRowSizeEvent OnEndRowSize;
    TUpdateColumnSizeEvent OnUpdateColumnSize;
    TNotifyEvent OnResize;
    // sorting, filtering, grouping, nodes, search and fixed drop-downs
    TClickSortEvent OnClickSort;
    TCanSortEvent OnCanSort;
    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;
    TCustomFilterEvent OnCustomFilter;
    TGetColumnFilterEvent OnGetColumnFilter;
    TFilterSelectEvent OnFilterSelect;
    TFilterCheckEvent OnFilterCheck;
    TNotifyEvent OnFilterDone;
    TGridProgressEvent OnFilterProgress;
    TGroupCalcEvent OnGroupCalc;
    TGroupCalcEvent OnColumnCalc;
    TNodeClickEvent OnExpandNode;
    TNodeClickEvent OnContractNode;
    TNodeAllowEvent OnBeforeExpandNode;
    TNodeAllowEvent OnBeforeContractNode;
    TSearchEditChangeEvent OnSearchEditChange;
    TSearchFooterActionEvent OnSearchFooterAction;
    TNotifyEvent OnSearchFooterClose;
    TCanShowFixedDropDownEvent OnCanShowFixedDropDown;
    TFixedDropDownEvent OnFixedDropDownClick;
    TDropDownButtonClickEvent OnDropDownHeaderButtonClick;
    TDropDownButtonClickEvent OnDropDownFooterButtonClick;
    // footers
    TFooterPaintEvent OnFooterPaint;
    TCalcFooterEvent OnFooterCalc;
    TNotifyEvent OnCreatedFloatingFooter;
    TNotifyEvent OnCreatedSearchFooter;
    // clipboard, drag and drop, files and printing
    TClipboardEvent OnClipboardPaste;
    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardCut;
    TClipboardCellEvent OnClipboardBeforePasteCell;
    TClipboardAfterCellEvent OnClipboardAfterPasteCell;
    TClipboardCellEvent OnClipboardBeforePasteWideCell;
    TClipboardAfterCellEvent OnClipboardAfterPasteWideCell;
    TOleDragDropEvent OnOleDrop;
    TOleDroppedEvent OnOleDropped;
    TOleDragEvent OnOleDrag;
    TOleDragOverEvent OnOleDragOver;
    TOleDragStartEvent OnOleDragStart;
    TOleDragStopEvent OnOleDragStop;
    TOleDropColEvent OnOleDropCol;
    TOleDropFileEvent OnOleDropFile;
    TOleDropURLEvent OnOleDropURL;
    TGridProgressEvent OnFileProgress;
    TCellSaveLoadEvent OnSaveCell;
    TCellSaveLoadEvent OnLoadCell;
    TGridPrintStartEvent OnPrintStart;
    TGridPrintCancelEvent OnPrintCancel;
    TGridPrintPageEvent OnPrintPage;
    TGridPrintPageNumEvent OnPrintGetPageNum;
    TGridPrintPageDoneEvent OnPrintPageDone;
    TGridPrintNewPageEvent OnPrintNewPage;
    TGridPrintColumnWidthEvent OnPrintSetColumnWidth;
    TGridPrintRowHeightEvent OnPrintSetRowHeight;
    TFitToPageEvent OnFitToPage;

    // Virtual operations for descendants, in the order of the grid's table; a hook does nothing
    // here. Columns are real columns unless named otherwise.
    virtual void DoClickSort(int ACol);
    virtual void KeyDownHook(Word& Key, TShiftState Shift);
    virtual void KeyValueHook(Word& Key);
    // An editor's text stored: the platform's edit-text step at the display column of RealCol,
    // then the cell store at the real column.
    virtual void StoreEditText(int RealCol, int DisplRow, const QString& Value);
    // The current cell's stored text (the base cell of a merged area, by real column).
    virtual QString GetCurrentCell();
    virtual void SetCurrentCell(const QString& Value);
    QString CurrentCell() { return GetCurrentCell(); }
    virtual QString GetCurrentCellDisplay();
    virtual void SetCurrentEditText(const QString& Value);
    virtual void RestoreCellCache();
    // The editing area keeps the current cell's text here as an edit begins.
    void SetOldCellCache(const QString& Text) {
        FOldCellCache = Text;
        FOldCellCacheValid = true;
    }
    virtual TCellType GetCellType(int ACol, int ARow);
    virtual TObject* GetCellGraphic(int ACol, int ARow);
    virtual void DoPrintGetPageNum(int PageNum, int PageColNum, QString& PageNumString);
    virtual void DoGetEditorProp(int ACol, int ARow, TEditLink* AEditLink);
    virtual void DoCheckBoxClick(int ACol, int ARow, bool State);
    virtual void DoFixedEdit(int ACol, int ARow, TGridFixedCellEditor& AEditor, TStrings* Values);
    virtual void DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    virtual void EditTextChangeHook();
    virtual void DoFilterDone();
    virtual void DoUpdateColumnSize(int ACol, int& AWidth);
    virtual void DoAutoSizeColumn(int ACol, int& AWidth);
    virtual QString DoEllipsClick(const QString& Text);
    virtual void BeforePasteHook();
    virtual void AfterPasteHook();
    // Pasted rows are marked modified when ShowModified is enabled.
    virtual void MarkRowsModified(int FromDisplRow, int ToDisplRow);
    virtual QString GetSaveCellText(int ACol, int ARow, const QString& Text);
    virtual QString GetCellForSave(int ACol, int ARow);
    virtual void SetCellFromLoad(int ACol, int ARow, const QString& Value);
    virtual void DoCanAddRow(bool& CanAdd);
    virtual void DoCanInsertRow(int ARow, bool& CanInsert);
    virtual void MessageHook(TMessage& Message);
    virtual void EditKeyUpHook();
    virtual void EditFocusHook();
    virtual void EditingOff();
    virtual void EditKeyDownHook(Word& Key, TShiftState Shift);
    virtual void EditKeyPressHook(QChar& Key);
    virtual void GotoFirstRow();
    virtual bool AllowFormattedClipboard();
    virtual void DoCheckBoxChange(int ACol, int ARow, bool State);
    virtual bool DoRatingChange(int ACol, int ARow, double& NewRate);
    // The colour (image) drop-down editor's choice: its colour and colour text (its item index)
    // for the cell it edits.
    virtual void DoColorSelect(TObject* Sender);
    virtual void DoImageSelect(TObject* Sender);
    virtual void DoCellChanging(int DisplCol, int DisplRow, bool& Allow);
    virtual void DoScrollCell(int ACol, int ARow);
    virtual bool CanShowFixedDropDown(int ACol);
    virtual void DoStartBlockFocus();
    virtual void DoEndBlockFocus();
    virtual TObject* GetCellImageList(int ACol, int ARow);
    virtual void ExportNotification(int AState, int ARow);
    virtual void ImportNotification(int AState, int ARow);
    // The version number as text with its release month: "6.2.1.3 Sep, 2012".
    virtual QString GetVersionString() { return Version() + QStringLiteral(" Sep, 2012"); }
    virtual void CellsChanged(const TRect& R);
    // The rest of the grid's table of virtual operations. Each answers here with the least that
    // keeps the grid sound; the editing, cell-object, footer, insertion, grouping, sorting,
    // persistence and look areas give them their full behaviour.
    // A new text for a cell (real column, display row): stored through the cell store.
    virtual void CellTextChanging(int ACol, int ARow, const QString& Value);
    // A click on a check-box cell or a radio-button cell; true when a state changed.
    virtual bool ToggleCheckState(int ACol, int ARow, bool FromUser);
    virtual bool ClickRadioButton(int ACol, int ARow, bool FromUser);
    // The text a cell shows (after the display-text step).
    virtual QString GetFormattedCell(int ACol, int ARow);
    virtual TPoint GetCellGraphicSize(int ACol, int ARow) { return GetCellGraphicSizeEx(ACol, ARow, 0); }
    virtual TPoint GetCellGraphicSizeEx(int ACol, int ARow, int ExtraHeight);
    virtual TPoint GetCellGraphicPrintSize(int ACol, int ARow, int AvailWidth, int AvailHeight, double Scale = 1.0);
    // One row inserted or removed at a display row.
    virtual void InsertRowAt(int ARow);
    virtual void RemoveRowAt(int ARow);
    // Whether a display row passes the filter conditions (every row passes without any).
    virtual bool FilterRowMatches(int ARow);
    virtual void RecalcFooterColumn(int ACol);
    // Remembers the cell (display column, display row) and its stored text before an edit.
    virtual void SaveOldCellText(int ACol, int ARow) { RememberOldCell(ACol, ARow); }
    virtual TRect GetUsedCells() { return UsedCells(); }
    // Removes RCount display rows from ARow with their texts, objects and heights.
    virtual void DoRemoveRows(int ARow, int RCount);
    virtual void InvalidateGrid() { Invalidate(); }
    virtual void PaintDesignHelper();
    virtual void DesignHelperClick(int X, int Y);
    // Validation of an edited text: true at once when no value is being edited or a validation
    // is running; otherwise OnCellValidate (real column, row) decides and may change the text,
    // which is left in NewCellText().
    virtual bool ValidateCell(const QString& NewValue);
    virtual bool ValidateCellWide(const QString& NewValue);
    QString NewCellText() const { return FNewCellText; }
    virtual void SubGroup(int ColIndex);
    virtual void SubUnGroup(int ColIndex);
    virtual void Group(int ColIndex);
    virtual void UnGroup();
    // Exchanges two display rows: every cell's text and object, hidden columns included.
    virtual void SortSwapRows(int ARow1, int ARow2);
    // How many row swaps the sorting made since the count was reset.
    int SortSwapCount() const { return FSortSwapCount; }
    void ResetSortSwapCount() { FSortSwapCount = 0; }
    // A row the sorting keeps track of (the current row's content): it follows its row through
    // every swap; -1 when none.
    int SortFollowRow() const { return FSortFollowRow; }
    void SetSortFollowRow(int Value) { FSortFollowRow = Value; }
    // Trims the stored texts of a cell rectangle (real columns, display rows).
    virtual void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
    virtual void SaveColPositions();
    virtual void LoadColPositions();
    virtual void SetStyle(TExtGridStyle AStyle);
    // ---- sorting
    // Rows are reordered only once every comparison is done, so a comparison or an event that
    // raises leaves the rows, counts and locks as they were. Equal rows keep their order.
    void Sort(int Column, TSortDirection Direction);
    void SortByColumn(int Col);
    virtual void QSort();
    virtual void QSortIndexed();
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    virtual void QUnSort();
    // Display rows Left..Right by a real column (or by SortIndexes), no cursor handling.
    void QuickSort(int Col, int Left, int Right);
    void QuickSortIndexed(int Left, int Right);
    // Exchanges two display rows when they are out of order on Col (ties look at the next
    // columns); true when it exchanged them.
    bool SortLine(int Col, int ARow1, int ARow2);
    void InitSortXRef();
    // Order of display row ARow1 against ARow2 in ascending terms (-1, 0, 1).
    int CompareCells(int ACol, int ARow1, TSortDirection Direction, int ARow2);
    int CompareRows(int ACol, int ARow1, int ARow2);
    int CompareRowsIndexed(int Index, int ARow1, int ARow2);
    int64_t Compares() const { return FCompares; }
    uint64_t SortTime() const { return FSortTime; }
    void SetSortTime(uint64_t Value) { FSortTime = Value; }
    int SortDir() const { return FSortDir; }
    // Puts the display rows of Order (old indexes) at Left, Left + 1, ...: the rows move whole
    // with their heights, the cross-reference, the followed row, the disjunct selection (with
    // MoveRowOnSort) and the modified marks; with SingleColumn only the sort column moves.
    virtual void SortApplyOrder(int Left, std::span<const int> Order);
    // A click on the sort row of a sortable column (real column; the keys held): sorts, turns
    // the order round, extends the sort keys or, with UndoSort, restores the unsorted order.
    void SortHeaderClick(int RealCol, TShiftState Shift);
    // ---- end of sorting

    // ---- filtering
    // Whether display row ARow passes Filter and OnCustomFilter.
    virtual bool MatchFilter(int ARow);
    // The text a condition on calculated cells tests: the displayed text, unless a descendant
    // calculates it otherwise.
    virtual QString CalculatedCellText(int RealCol, int DisplRow);
    // Hides display row ARow (outside the filter levels) when it does not pass.
    void FilterRow(int ARow);
    // Hides every normal row that does not pass, as one new filter level; the conditions are
    // read once for the whole pass.
    void ApplyFilter();
    // Shows the rows of the last filter level again; true while more than one level is left.
    bool RemoveLastFilter();
    // Removes every filter level; with none active, clears Filter. Rows hidden outside the
    // filter (HideRow, HideRows) stay hidden.
    void RemoveAllFilters();
    // Narrows the rows while a condition is typed: one character more adds a level, one less
    // removes the last one, anything else starts over. AColumn -1 matches whole rows.
    void NarrowDown(const QString& ACondition, int AColumn = -1);
    void SetFilterActive(bool Value);
    // Accepted only below FixedRows.
    void SetFilterDropDownRow(int Value);
    void SetFilterDropDownAuto(bool Value);
    // ---- end of filtering
    // Painting asks for cell borders only while a handler can supply them.
    bool HasCellBorders() override { return bool(OnGetCellBorder); }
    // The floating footer covers the last row; it is redrawn with it.
    void UpdateHiddenLastRow() override;

protected:
    // The cell an edit began in and its text then (SaveOldCellText), and the value the last
    // validation left.
    int FOldCol = -1;
    int FOldRow = -1;
    int FOldRealCol = -1;
    QString FOldCellText;
    QString FNewCellText;
    bool FValidating = false;
    // The set-up and finishing both validations share: nothing to do (true) without a pending
    // edit or inside a running validation; else the edit stops pending, Body decides about the
    // value for (real column, row) of the edit's cell, and on every path, a raise included, the
    // current cell's text becomes the old value and the guard is down again.
    bool RunValidation(const QString& NewValue, const std::function<void(int Column, int ARow, bool& Valid)>& Body);

public:
protected:
    // ---- core internals ------------------------------------------------------------------------------
    void Resize() override;
    void TimerTick(int ID) override;
    // The view moved: what spans cells is drawn again, an editor other than the default one ends,
    // cell controls follow their cells and a synchronised grid follows the view.
    void TopLeftChanged() override;

public:
    // The owner form's resize handler while the grid lives: sizes the grid (SizeWithForm), runs
    // the handler it replaced, then fits the stretch column.
    void OwnerFormResize(TObject* Sender);
    // What a grid's resize hook on its owner form holds: the grid (null once it is gone) and the
    // handler the hook replaced.
    struct TOwnerFormResizeLink {
        TExtStringGrid* Grid = nullptr;
        TNotifyEvent Saved;
    };

protected:
    // Takes over the owner form's resize handler unless this grid's hook is already in its chain.
    void HookOwnerFormResize();
    std::shared_ptr<TOwnerFormResizeLink> FResizeLink;
    // Hooks of the owned settings objects.
    virtual void NavigationChanged() {}
    virtual void MouseActionsChanged() {}
    virtual void MouseActionsInvalidate() { Invalidate(); }
    virtual bool MouseActionsIsDesigning() { return IsDesigning(); }
    virtual void ColumnHeadersChanged() {}
    // The filter lists' choices (bound to their OnSelect).
    virtual void FilterListSelect(TObject* Sender, int ItemIndex);
    virtual void FilterCheckListSelect(TObject* Sender, int ItemIndex);
    void CreateFilterListsAndAuxEditors();
    void FreeFilterListsAndAuxEditors();
    TDropList* FDropList = nullptr;
    TDropCheckList* FDropCheckList = nullptr;
    TControlEdit* FControlEdit = nullptr;
    TControlCombo* FControlCombo = nullptr;
    TGridTransEdit* FTransEdit = nullptr;
    TGridTransCombo* FTransCombo = nullptr;
    // Opens the editor of the embedded control ID over its rectangle C (client coordinates).
    void StartCellControlEdit(int RealCol, int DisplRow, const TRect& C, const QString& ID, const QString& CType,
                              const QString& Value);
    // The embedded control at client point (X, Y) of a cell, or the one named CID on entry when
    // X is -1: its ID, type, value and rectangle (client coordinates).
    bool FindCellControl(int DisplCol, int DisplRow, int X, int Y, QString& CID, QString& CType, QString& CValue,
                         TRect& ControlRect);
    // A press on a cell whose HTML text embeds form controls: true when it was handled here.
    bool CellControlMouseDown(int DisplCol, int DisplRow, int X, int Y);
    bool FCtrlEditing = false;
    QString FCtrlType;
    void ColumnMoved(int FromDisplCol, int ToDisplCol) override;

    // ---- index internals -----------------------------------------------------------------------------
    // Copies the texts and cell objects of a display row into an entry, and back.
    void SaveRowToItem(int DisplRow, TGridItem* Item);
    void LoadRowFromItem(TGridItem* Item, int DisplRow);
    // Puts back the given entries (already out of the store) in one pass from the bottom.
    void PutBackRows(TGridItems Items);
    // HideRowList for display rows already ascending, distinct and inside the sheet.
    void HideSortedRowList(std::vector<int> Listed);

    // ---- cell access internals -----------------------------------------------------------------------
    void TagTextInRange(const TGridRect& RealRange, const QString& HiText, const QString& Tag, bool DoCase);
    void UnTagTextInRange(const TGridRect& RealRange, const QString& Tag);
    int ColRangeEnd(bool DoFixed, bool WithHidden) const;
    void FillArea(bool DoFixed, const std::function<QString(int RealCol, int DisplRow)>& Text);

    // ---- stand-ins for services of the grid that live in other areas ------------------------------------
    // Painting, editors, data services and drop-down editors call through these; each does the
    // least the core needs until its area fills it.
    void CreateAuxiliaryControls();
    void FreeAuxiliaryControls();
    // ColumnSize.Save: the widths saved when the grid goes and loaded when its window comes. A
    // failure is reported through the application, never thrown out of a destructor.
    void SaveColumnSizes();
    void LoadColumnSizes();
    void ApplySearchFooterSettings();
    void BalloonInit();
    void BalloonDone();
    void ExpandAllNodes() {}
    void DrawThemedBorder() { update(); }
    void HideInplaceEditStandIn();
    void MergedColumnsChanged();

public:
    // ---- cell objects ------------------------------------------------------------------------------------
    // One object per cell (a TCellGraphic in the cell's graphic slot), addressed by real column
    // and displayed row unless a name says otherwise. The add and create operations replace what
    // the cell held; the single-kind removes act only on their kind; every other operation is
    // silent on a cell without object or with one of another kind.
    struct TScrollProp {
        int PageSize = 0;
        int Range = 0;
    };
    // Whether the base cell's object is of one of Kinds (false for a negative index).
    bool HasCellType(int ACol, int ARow, std::initializer_list<TCellType> Kinds);
    // Check boxes of every kind and radio buttons: cells the in-place editor keeps away from.
    bool HasCheckControl(int ACol, int ARow);
    // A fresh record in the cell, the object it held before freed.
    TCellGraphic* NewCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphicOfType(int ACol, int ARow, TCellType Kind);

    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
    void AddCheckBoxColumn(int ACol, bool DefaultState = false, bool DataCheckBox = false);
    void AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State);
    void RemoveCheckBox(int ACol, int ARow);
    void RemoveCheckBoxColumn(int ACol);
    bool HasCheckBox(int ACol, int ARow);
    bool HasDataCheckBox(int ACol, int ARow);
    // While rows are hidden, ARow of the state operations is a real row.
    bool GetCheckBoxState(int ACol, int ARow, bool& State);
    bool GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State);
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    bool SetCheckBoxState(int ACol, int ARow, TCheckBoxState State);
    bool IsChecked(int ACol, int ARow);
    bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheckState(ACol, ARow, false); }
    // ARow is a displayed row; fires OnCheckBoxChange when the box changed.
    bool SetCheckStateAt(int ACol, int ARow, bool Value);
    void CheckAll(int ACol);
    void UnCheckAll(int ACol);
    static TCheckBoxState BoolToCheckBoxState(bool bChecked) { return bChecked ? cbChecked : cbUnchecked; }

    void AddRadioButton(int ACol, int ARow, bool State);
    void AddRadioButtonColumn(int ACol);
    void RemoveRadioButtonColumn(int ACol);
    void RemoveRadioButton(int ACol, int ARow);
    bool HasRadioButton(int ACol, int ARow);
    bool IsRadioButtonChecked(int ACol, int ARow);
    bool SetRadioButtonState(int ACol, int ARow, bool State);
    void SetRadioButtonColumnIndex(int ACol, int Index);
    int GetRadioButtonColumnIndex(int ACol);

    void AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap* GetBitmap(int ACol, int ARow);
    bool HasBitmap(int ACol, int ARow) { return GetBitmap(ACol, ARow) != nullptr; }
    void RemoveBitmap(int ACol, int ARow);
    void AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                    TCellHAlign hal, TCellVAlign val);
    TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                            TCellHAlign hal, TCellVAlign val);
    TPicture* GetPicture(int ACol, int ARow);
    bool HasPicture(int ACol, int ARow) { return GetPicture(ACol, ARow) != nullptr; }
    void RemovePicture(int ACol, int ARow);
    void AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent, TStretchMode StretchMode,
                        int Padding, TCellHAlign hal, TCellVAlign val);
    TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                    TCellHAlign hal, TCellVAlign val);
    TFilePicture* GetFilePicture(int ACol, int ARow);
    void RemoveFilePicture(int ACol, int ARow);
    void AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    TIcon* CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(int ACol, int ARow);
    // The image operations do nothing while GridImages is not set.
    void AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    void RemoveImageIdx(int ACol, int ARow);
    bool GetImageIdx(int ACol, int ARow, int& idx);
    void SetImageIdx(int ACol, int ARow, int Idx);
    void AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    void RemoveDataImage(int ACol, int ARow);
    bool HasDataImage(int ACol, int ARow);
    void AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val);
    void RemoveMultiImage(int ACol, int ARow);
    // The sort key of a cell's image: the bitmap or icon object (as a full 64-bit value), the
    // image-list index, else -1.
    int64_t CellImageKey(int ACol, int ARow);

    void AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor);
    void AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor, TColor BKTextColor);
    void AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                              TColor BKTextColor, const QString& Fmt, int Min, int Max);
    bool HasProgress(int ACol, int ARow);
    void RemoveProgress(int ACol, int ARow);
    void AddExtProgress(int ACol, int ARow, int Min, int Max);
    void RemoveExtProgress(int ACol, int ARow);
    void AddProgressPie(int ACol, int ARow, TColor Color, int Value);
    void SetProgressPie(int ACol, int ARow, int Value);
    void RemoveProgressPie(int ACol, int ARow);
    void AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue);
    void RemoveRangeIndicator(int ACol, int ARow);

    void AddComment(int ACol, int ARow, const QString& Comment);
    void AddColorComment(int ACol, int ARow, const QString& Comment, TColor Color);
    QString GetComment(int ACol, int ARow);
    bool IsComment(int ACol, int ARow, QString& comment);
    void SetComment(int ACol, int ARow, const QString& value);
    void RemoveComment(int ACol, int ARow);
    void RemoveAllComments();

    void AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor, TCellHAlign hal,
                  TCellVAlign val);
    void RemoveShape(int ACol, int ARow);
    void SetShapeColor(int ACol, int ARow, TColor FillColor);
    TColor GetShapeColor(int ACol, int ARow);
    void AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor);
    void RemoveRating(int ACol, int ARow);
    bool HasRating(int ACol, int ARow);

    void AddScrollBar(int ACol, int ARow, bool AutoRange);
    void RemoveScrollBar(int ACol, int ARow);
    bool HasScrollBar(int ACol, int ARow);
    bool HasAutoRangeScrollBar(int ACol, int ARow);
    void SetScrollPosition(int ACol, int ARow, int Pos);
    int GetScrollPosition(int ACol, int ARow);
    void SetScrollProp(int ACol, int ARow, TScrollProp Prop);
    TScrollProp GetScrollProp(int ACol, int ARow);
    // Page size = the row height, range = the height of the cell's text.
    void UpdateScrollBarRange(int ACol, int ARow);

    // Error markers live in the cell's own record; a cell showing a shared check box takes none.
    void AddMarker(int ACol, int ARow, int ErrPos, int ErrLen);
    void GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen);
    void RemoveMarker(int ACol, int ARow);
    void RemoveAllMarkers();

    void AddButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal, TCellVAlign val);
    void AddBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TBitmap* Glyph, TCellHAlign hal,
                      TCellVAlign val);
    TBitmap* CreateBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal,
                             TCellVAlign val);
    // ACol of these two (and of PushButton) is a displayed column; all three act on buttons only.
    void SetButtonText(int ACol, int ARow, const QString& Caption);
    QString GetButtonText(int ACol, int ARow);
    void RemoveButton(int ACol, int ARow);
    void RemoveBitButton(int ACol, int ARow);
    void RemoveAllButtons();
    bool HasButton(int ACol, int ARow);

    void AddInterfacedCell(int ACol, int ARow, TInterfacedPersistent* AObject);
    TInterfacedPersistent* GetInterfacedCell(int ACol, int ARow);
    void RemoveInterfacedCell(int ACol, int ARow);

    // The angle is brought into 0 .. 360.
    void AddRotated(int ACol, int ARow, int16_t AAngle, const QString& s);
    void SetRotated(int ACol, int ARow, int16_t AAngle);
    void RemoveRotated(int ACol, int ARow);

    // Links in cell texts: showing them repaints the grid; the colour and the full-address
    // setting repaint it while links are shown.
    void SetURLShow(bool Value);
    void SetURLShowInText(bool Value);
    void SetURLColor(TColor Value);
    void SetURLFull(bool Value);
    // The inherited display text; with URLShowInText its first address becomes a link.
    void GetDisplText(int ACol, int ARow, QString& Value) override;

    // The combo editor's items (those the grid's editor offers next).
    TStrings* ComboStrings();

private:
    // The toggle with the column OnCheckBoxChange reports.
    bool ToggleCheckStateAs(int ACol, int ARow, bool FromUser, int EventCol);
    // The record of cell (ACol, real row RealRow) as the check-box state operations find it.
    TCellGraphic* CheckBoxRecordByRealRow(int ACol, int RealRow, bool& Fallback);
    // Whether Obj is a record the grid reports for many cells (row or virtual check box).
    bool IsSharedCellGraphic(const TObject* Obj, int ACol, int ARow);
    // The node group a row belongs to, for Grouping.AutoCheckGroup.
    bool CheckGroupNode(int DisplRow, int& NodeRow, int& Span, bool& Collapsed);
    TCellGraphic* OwnCellGraphic(int ACol, int ARow);
    TCellGraphic* BaseCellGraphic(int ACol, int ARow);
    // The cell's object when it is of kind Kind, else null; the second form looks at the base cell
    // of a merged area.
    TCellGraphic* CellGraphicOf(int ACol, int ARow, TCellType Kind);
    TCellGraphic* BaseCellGraphicOf(int ACol, int ARow, TCellType Kind);
    // The button (or bit button) of a cell given by displayed column; null for any other kind.
    TCellGraphic* ButtonRecord(int DisplCol, int ARow);
    // The main object of the cell's Kind record as class T, else null.
    template <typename T>
    T* CellObjectOf(int ACol, int ARow, TCellType Kind) {
        TCellGraphic* CG = CellGraphicOf(ACol, ARow, Kind);
        return CG ? CG->CellBitmapAs<T>() : nullptr;
    }
    // The create operations: a new record in the cell, filled by Fill, over a new T that the
    // record owns (an icon in its icon slot), handed back to the caller for filling.
    template <typename T, typename FillFn>
    T* NewCellGraphicOwning(int ACol, int ARow, FillFn Fill) {
        TCellGraphic* CG = NewCellGraphic(ACol, ARow);
        auto Made = std::make_unique<T>();
        T* Result = Made.get();
        Fill(CG);
        if constexpr (std::is_same_v<T, TIcon>)
            CG->SetCellIconOwned(std::move(Made));
        else
            CG->SetCellBitmapOwned(std::move(Made));
        return Result;
    }

private:
protected:
    // ---- owned objects ---------------------------------------------------------------------------------
    TFooterPanel* FFooterPanel = nullptr; // child control: freed with the grid's window
    TSearchPanel* FSearchPanel = nullptr;
    std::unique_ptr<TFocusHelper> FFocusHelper;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TFloatingFooter> FFloatingFooter;
    std::unique_ptr<TPrintSettings> FPrintSettings;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    std::unique_ptr<TSortSettings> FSortSettings;
    std::unique_ptr<TDragDropSettings> FDragDropSettings;
    std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
    std::unique_ptr<TControlLook> FControlLook;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TColumnSize> FColumnSize;
    std::unique_ptr<TCellNode> FCellNode;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TStringList> FColumnHeaders;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    std::unique_ptr<TIntList> FColSizesAtLoad;
    std::unique_ptr<TFont> FFixedFont;
    std::unique_ptr<TFont> FActiveCellFont;
    std::unique_ptr<TStringList> FRowHeaders;
    std::unique_ptr<TStringList> FSortList;
    std::unique_ptr<TStringList> FLookupItems;
    std::unique_ptr<TSortIndexList> FSortIndexes;
    std::unique_ptr<TIntList> FSortList2; // sort cross-reference
    std::unique_ptr<TIntList> FUnSortList;
    std::unique_ptr<TIntList> FMergedColumns;
    std::unique_ptr<TBitmap> FRowIndicator;
    std::unique_ptr<TBackGround> FBackGround;
    std::unique_ptr<TControlList> FControlList;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    std::unique_ptr<TSyncGrid> FSyncGrid;
    std::unique_ptr<TFilter> FFilter;
    std::unique_ptr<TBalloonSettings> FBalloon;
    std::unique_ptr<TShowModified> FShowModified;
    std::vector<TGridChangeNotifier*> FNotifiers; // not owned
    std::shared_ptr<ITExtStringGridSelect> FSelListener;
    std::unique_ptr<TIntList> FColumnOrder;
    std::unique_ptr<TIntList> FIgnoredColumns;
    std::unique_ptr<TFilterDropDown> FFilterDropDown;
    std::unique_ptr<TStringList> FFilterValueList;

    // ---- index state -----------------------------------------------------------------------------------
    TVisibleColumnMap FColumnMap;
    THiddenRowStore FHiddenRows;
    int FFilterLevel = 0;

    // ---- core state ------------------------------------------------------------------------------------
    bool FPlacedAtDesign = false;
    bool FGridLoaded = false;
    bool FFocusWindowShown = false;
    bool FEditChange = false; // goEditing switched on by the cell selection itself: skip one invalidate
    int FUpdateCount = 0;
    TForm* FResizeForm = nullptr;
    int FFormWidth = 0;
    int FFormHeight = 0;
    bool FWindowCreated = false;
    int FWheelScrollLines = 0; // rows per wheel notch, taken when the window is created
    TCursor FOldCursor = crDefault;
    int FMinFixedRows = 1;
    int FMinFixedCols = 1;
    int FLoadedMinRowHeight = 22;
    int FLoadedMinColWidth = 10;
    int FMaxRowCount = 10;
    int FMaxColCount = 5;
    int FOldLeftCol = 0;
    int FOldTopRow = 0;
    int FPrintColWidths[512] = {};
    int FPrintColOffsets[512] = {};
    // Other initial state.
    int FLastTabCol = -1;
    int FLastTabRow = -1;
    int FFilterCol = -1;
    int FGroupColumn = -1;
    TPoint FHoverFixedCell{-1, -1};
    // The header cell whose drop-down part is held down; (-1, -1) when none.
    TPoint FFixedDropDownPressed{-1, -1};
    // The hovered header cell the left button went down on; (-1, -1) when none.
    TPoint FHeaderHeld{-1, -1};
    int FSortSwapCount = 0;
    int64_t FCompares = 0;
    int FFilterFixedRows = -1; // FixedRows when the first filter level was applied
    QString FNarrowLast;
    const TCompiledFilter* FCompiledFilter = nullptr; // during ApplyFilter
    uint64_t FSortTime = 0;
    int FSortDir = 1;
    int FSortFollowRow = -1;
    bool FixedDropDownPress(int X, int Y);
    TPoint FCellButtonPushed{-1, -1};
    TPoint FClipTopLeft{-1, -1};
    TPoint FLastHintPos{-1, -1};
    int FOleDragCol = -1;
    int FLastDesignChoice = -1;
    int FOldRowSel = -1;
    int FMouseSelectStart = -1;
    int FLinkHoverIndex = -1;
    // The cell whose link FLinkHoverIndex (1-based) is under the mouse; (-1, -1) when none.
    TPoint FLinkHoverCell{-1, -1};
    // The link under the mouse from the last move over a mini-HTML cell.
    QString FAnchor;
    QString FLastAnchorHint;
    void LinkHoverMove(int ACol, int ARow, int X, int Y);
    TColor FTones = clNone;

public:
    // ---- cell access interface (ExtGrid_CellAccess.cpp) ----------------------------------------------
    // Cells in the index space each accessor names; a hidden row is read from and written into
    // the hidden-row store. Real columns below AllColCount, rows as named.
    // The stored text (no display hook) of a real cell; writing does not widen a hidden row.
    QString GetGridCellsEx(int RealCol, int RealRow);
    void SetGridCellsEx(int RealCol, int RealRow, const QString& Value);
    QString GetWideCellsEx(int RealCol, int RealRow) { return GetCellsEx(RealCol, RealRow); }
    void SetWideCellsEx(int RealCol, int RealRow, const QString& Value) { SetCellsEx(RealCol, RealRow, Value); }
    // The cell's user object (the one its properties record carries).
    TObject* GetObjectsEx(int RealCol, int RealRow);
    void SetObjectsEx(int RealCol, int RealRow, TObject* Value);
    // The raw object slot of the cell.
    TObject* GetGridObjectsEx(int RealCol, int RealRow);
    // Rows in their order before sorting (the sort cross-reference); a row the cross-reference
    // does not hold raises EExtGridError, never addresses another row. Columns unmapped.
    QString GetUnSortedCell(int ACol, int UnSortedRow);
    void SetUnSortedCell(int ACol, int UnSortedRow, const QString& Value);
    int SortedRowIndex(int ARow);
    int UnSortedRowIndex(int ARow);
    // The cross-reference the sort keeps: one entry per row position.
    TIntList* SortRowXRef() const { return FSortList2.get(); }
    // Columns in their order before the user moved them; rows unmapped.
    QString GetOriginalCells(int UnmovedCol, int ARow);
    void SetOriginalCells(int UnmovedCol, int ARow, const QString& Value);
    // The number of CR-separated lines of a cell's display text (at least 1).
    int GetLinesInCell(int RealCol, int DisplRow);
    // A real column's width, hidden or not. Writing a hidden column keeps the width it comes
    // back with; columns outside 0..512 raise EExtGridError.
    int GetAllColWidths(int RealCol) const;
    void SetAllColWidths(int RealCol, int Value);
    // The current cell (its base cell): display text, and the edit-text writer.
    virtual QString GetCurrentCellText();
    virtual void SetCurrentCellText(const QString& Value);
    TEditorType CurrentEditor() const { return FEditControl; }
    // Per-cell look (real column, display row). A reader of a cell without properties answers
    // the default and creates nothing (WordWraps creates them); every writer creates them and
    // repaints the cell.
    TColor Colors(int RealCol, int DisplRow);
    void SetColors(int RealCol, int DisplRow, TColor Value);
    TColor ColorsTo(int RealCol, int DisplRow);
    void SetColorsTo(int RealCol, int DisplRow, TColor Value);
    TCellGradientDirection Gradients(int RealCol, int DisplRow);
    void SetGradients(int RealCol, int DisplRow, TCellGradientDirection Value);
    TColor FontColors(int RealCol, int DisplRow);
    void SetFontColors(int RealCol, int DisplRow, TColor Value);
    TFontStyles FontStyles(int RealCol, int DisplRow);
    void SetFontStyles(int RealCol, int DisplRow, TFontStyles Value);
    int FontSizes(int RealCol, int DisplRow);
    void SetFontSizes(int RealCol, int DisplRow, int Value);
    QString FontNames(int RealCol, int DisplRow);
    void SetFontNames(int RealCol, int DisplRow, const QString& Value);
    TAlignment Alignments(int RealCol, int DisplRow);
    void SetAlignments(int RealCol, int DisplRow, TAlignment Value);
    bool WordWraps(int RealCol, int DisplRow);
    void SetWordWraps(int RealCol, int DisplRow, bool Value);
    bool ReadOnly(int RealCol, int DisplRow);
    void SetReadOnly(int RealCol, int DisplRow, bool Value);
    void SetFonts(int RealCol, int DisplRow, TFont* Value);
    // Whole rows (display row, the columns from FixedCols on). Clearing a colour (clNone) clears
    // that colour of the cells that have properties; nothing else of theirs goes.
    void SetRowColor(int DisplRow, TColor Value);
    void SetRowColorTo(int DisplRow, TColor Value);
    void SetRowFontColor(int DisplRow, TColor Value);
    // A control embedded in a cell (real column, display row), placed over the cell with the
    // grid as its parent; null clears it. The control list keys it by real row.
    TControl* GetCellControl(int RealCol, int DisplRow);
    void SetCellControl(int RealCol, int DisplRow, TControl* Value);
    int NumCellControls() const { return FNumCellControls; }
    // Stores the flag and applies the bounds rule at once.
    void SetIntegralHeight(bool Value);
    void SetFocusHelper(TFocusHelper* Value) { FFocusHelper->Assign(Value); }

protected:
    // The cell's properties when it has them; creates nothing.
    TCellProperties* ExistingProps(int RealCol, int DisplRow);
    void RepaintRealCell(int RealCol, int DisplRow);
    int FNumCellControls = 0;

public:
    // ---- row and column operations
    // Real columns. Removal frees the cell records of the removed columns and moves the cells,
    // records, widths and hidden state of the columns after them; insertion moves them the other
    // way and leaves the new columns empty, visible and of the default width. CCount is cut to
    // the columns that exist; a non-positive count does nothing.
    virtual void RemoveCols(int RealCol, int CCount);
    virtual void InsertCols(int RealCol, int CCount);
    void AddColumn() { InsertCols(TotalColCount(), 1); }
    // Joins the text of RealCol2 to RealCol1 (with Separator, trimmed) in the normal rows, then
    // removes RealCol2.
    void MergeCols(int RealCol1, int RealCol2, const QString& Separator);
    // Display columns chosen by the selection (disjunct column flags or the selection rectangle).
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    // Rows (display rows). Removal frees the cell records of the removed rows (all real columns),
    // moves the cells, records, heights, row flags and cell controls of the rows after them, and
    // renumbers the hidden rows after them; insertion moves them the other way and leaves the new
    // rows empty at the default height. The update lock is given back on every path.
    virtual void RemoveRowRange(int DisplRow, int RCount);
    void RemoveCheckedRows(int CheckBoxDisplCol, bool RemoveChecked);
    // Removes every later row whose text in the column equals an earlier one's, without regard
    // to case.
    void RemoveDuplicates(int DisplCol, bool DoCase);
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void HideSelectedRows();
    void HideUnSelectedRows();
    // Clearing: texts, and unless the text-only flag is set, cell records and their graphics.
    // Rectangles are inclusive, real columns (display columns while SaveHiddenCells is set).
    void ClearCols(int RealCol, int CCount);
    void ClearNormalCols(int RealCol, int CCount);
    void ClearNormalRows(int DisplRow, int RCount);
    void ClearNormalCells();
    void Clear();
    void ClearAll();
    void ClearSelection();
    void TrimColumn(int RealCol);
    void TrimRow(int DisplRow);
    void TrimAll();
    void ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor);
    // Merged areas (real columns, display rows).
    void SplitAllCells();
    void SplitColumnCells(int RealCol);
    void MergeColumnCells(int RealCol, bool MainMerge);
    void SplitRowCells(int DisplRow);
    void MergeRowCells(int DisplRow, bool MainMerge);
    // The first cell (display column, display row; row by row) whose whole text is SubStr.
    bool IsCell(const QString& SubStr, int& DisplCol, int& DisplRow);
    bool IsWideCell(int RealCol, int DisplRow);
    QString GetWideCells(int RealCol, int DisplRow) { return GetCellEx(RealCol, DisplRow); }
    void SetWideCells(int RealCol, int DisplRow, const QString& Value) { SetCellEx(RealCol, DisplRow, Value); }
    // Column order: the design index of the column at each position (recorded on first use).
    void SetColumnOrder();
    int ColumnAtPosition(int ACol);
    int ColumnPosition(int ACol);
    void ResetColumnOrder();
    // The first real column whose header (row 0) is AValue, else -1.
    int ColumnByHeader(const QString& AValue);
    // Fills the filter value list of a real column; true when it has entries.
    virtual bool GetFilterValues(int RealCol);
    int GroupColumn() const { return FGroupColumn; }
    // The controls placed in cells (their rows are real rows).
    TControlList* CellControls() const { return FControlList.get(); }
    bool ClearTextOnly() const { return FClearTextOnly; }
    void SetClearTextOnly(bool Value) { FClearTextOnly = Value; }

protected:
    // The light removal: texts and heights of the rows after move up; the hidden rows after are
    // renumbered.
    void RemoveRowsCore(int DisplRow, int RCount, bool FreeControls);
    // Takes display rows out with everything they carry (see RemoveRowRange); FreeControls
    // takes the cell controls of the removed rows out of the list.
    void DropRows(int DisplRow, int RCount, bool FreeControls);
    bool FClearTextOnly = false;
    bool FNilObjects = false;
    bool FBlockCellChange = false;

    // Moves every real column's cells, record, width and hidden state from its index to
    // NewIndex(index), or drops it when that is -1; the count of real columns becomes NewTotal.
    void RemapColumns(int NewTotal, const std::function<int(int)>& NewIndex);

public:
    // ---- statistics, sizing and selection queries
    // Column figures over display rows FromRow..ToRow (-1 for either: the normal rows); texts
    // that are not numbers are skipped. Min and Max start from the first row's value and raise
    // EExtGridError "Cell does not contain a float value" when that is not a number.
    double ColumnSum(int RealCol, int FromRow, int ToRow);
    double ColumnAvg(int RealCol, int FromRow, int ToRow);
    double ColumnMin(int RealCol, int FromRow, int ToRow);
    double ColumnMax(int RealCol, int FromRow, int ToRow);
    // Distinct texts, compared without regard to case.
    double ColumnDistinct(int RealCol, int FromRow, int ToRow);
    // The population standard deviation; every row must hold a number.
    double ColumnStdDev(int RealCol, int FromRow, int ToRow);
    // OnColumnCalc's result (0 without a handler).
    double ColumnCustomCalc(int RealCol, int FromRow, int ToRow);
    // Row figures over display columns FromCol..ToCol of one display row (base cells only).
    double RowSum(int DisplRow, int FromCol, int ToCol);
    double RowAvg(int DisplRow, int FromCol, int ToCol);
    double RowMin(int DisplRow, int FromCol, int ToCol);
    double RowMax(int DisplRow, int FromCol, int ToCol);
    // Numbering of the normal rows of a column (columns of a row), from AutoNumberStart on.
    enum TAutoNumberDirection { sdAscending, sdDescending };
    void AutoNumberCol(int RealCol);
    void AutoNumberRow(int DisplRow);
    int AutoNumberStart() const { return FAutoNumberStart; }
    void SetAutoNumberStart(int Value) { FAutoNumberStart = Value; }
    int AutoNumberOffset() const { return FAutoNumberOffset; }
    void SetAutoNumberOffset(int Value) { FAutoNumberOffset = Value; }
    TAutoNumberDirection AutoNumberDirection() const { return FAutoNumberDirection; }
    void SetAutoNumberDirection(TAutoNumberDirection Value) { FAutoNumberDirection = Value; }
    // Exchanging two display columns (or rows): texts, records, sizes and cell controls.
    void SwapColumns(int DisplCol1, int DisplCol2);
    void SwapRows(int DisplRow1, int DisplRow2);
    // Automatic sizing (display indexes). A width comes from the widest displayed text of the
    // measured rows in the cell's font, plus the text margin, the grid lines and 2.
    void AutoSizeCol(int DisplCol, int Padding = 0);
    void AutoSizeColumns(bool DoFixedCols, int Padding = 0);
    void AutoSizeRow(int DisplRow, int Padding = 0);
    void AutoSizeRows(bool DoFixedRows, int Padding = 0);
    void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
    // The client area takes the sum of the column widths (row heights).
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    // Spreads the control's width over the columns in proportion to their widths.
    void AutoFitColumns(bool DoFixedCells);
    void SetRowHeightForLines(int DisplRow, int Lines, int Padding);
    int MaxLinesInRow(int DisplRow);
    bool SizeGrowOnly() const { return FSizeGrowOnly; }
    void SetSizeGrowOnly(bool Value) { FSizeGrowOnly = Value; }
    // The rows automatic column sizing measures.
    enum TAutoSizeRows { arAll, arNormal, arFixed };
    TAutoSizeRows AutoSizeRows() const { return FAutoSizeRows; }
    void SetAutoSizeRows(TAutoSizeRows Value) { FAutoSizeRows = Value; }
    // The width a cell's text takes as displayed: its widest line in the cell's font.
    int MeasureCellTextWidth(int DisplCol, int DisplRow);
    // The horizontal space around a cell's text: the left offset, doubled unless only the
    // top-left offset is used.
    int HorzTextMargin() const { return XYOffsetTopLeftOnly() ? XYOffset().x() : 2 * XYOffset().x(); }
    // Selection queries (display indexes).
    void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
    int SelectedRowCount();
    int SelectedColCount();
    int SelectedRow(int Index);
    // The selected texts, TAB between cells, CR LF between rows.
    QString SelectedText();
    EXTGRID_PLAIN(bool, ExcelClipboardFormat, false)
    void ClearSelectedCells();
    void ClearModifiedRows();
    // The cells of the selection (display indexes): disjunctly selected ones in the order they were
    // selected, else the rectangle column by column (rebuilt by SelectedCellsCount).
    int SelectedCellsCount();
    TGridCoord GetSelectedCell(int Index);
    bool GetSelectedCells(int DisplCol, int DisplRow);
    void SetSelectedCells(int DisplCol, int DisplRow, bool Value);

protected:
    int AutoSizeColCore(int DisplCol, bool GrowOnly);
    void AutoSizeRowCore(int DisplRow, bool GrowOnly);
    int VertTextMargin() const { return XYOffsetTopLeftOnly() ? XYOffset().y() : 2 * XYOffset().y(); }
    int FAutoNumberStart = 0;
    int FAutoNumberOffset = 0;
    TAutoNumberDirection FAutoNumberDirection = sdAscending;
    std::vector<TGridCoord> FSelectedCellList;
    bool FSizeGrowOnly = false;
    TAutoSizeRows FAutoSizeRows = arAll;

public:
    // ---- focus, validation, update lock, timer, paint and size ---------------------------------------------
    // The old value of an edit: the cell (display column, display row), its stored text and the
    // grid's modified flag at that moment (given back when a value is refused).
    virtual void RememberOldCell(int ACol, int ARow);
    // Footer recalculation after a change of one column (real), of a cell range, of every cell.
    virtual void CellChanged(int RealCol);
    virtual void AllCellsChanged();
    // The update lock. BeginUpdate/EndUpdate nest and repaint the whole grid when the last one
    // ends; StartUpdate/ResetUpdate bracket short internal moves without a repaint.
    void BeginUpdate();
    void EndUpdate();
    void StartUpdate() { ++FUpdateCount; }
    void ResetUpdate() { FUpdateCount = 0; }
    bool LockUpdate() const { return FUpdateCount > 0; }
    void SetLockUpdate(bool Value);
    int UpdateCount() const { return FUpdateCount; }
    // The grid's modified flag (the owner's), and whether an edit changed a value.
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    bool GridModified() const { return FGridModified; }
    void SetGridModified(bool Value) { FGridModified = Value; }
    // False after a value was refused.
    bool LastValidation() const { return FLastValidation; }
    EXTGRID_PLAIN(bool, AlwaysValidate, false)
    // While set, focus arriving (leaving) is not handled: an editor hands the focus back.
    bool BlockFocus() const { return FBlockFocus; }
    bool BlockKill() const { return FBlockKill; }
    // The selection changed since the grid was last left or repainted whole.
    bool SelChangePending() const { return FSelectionChanged; }
    // The grid's periodic timer: its id, ticks so far and the blink phase.
    static constexpr int GridTimerID = 111;
    int TimerTicks() const { return FTimerTicks; }
    bool GridBlink() const { return FGridBlink; }
    // Whether a cell takes the hover effect of fixed cells (display column, display row).
    bool IsHoverFixedCell(int ACol, int ARow);
    TPoint FixedDropDownPressed() const { return FFixedDropDownPressed; }
    // The 1-based number of the mini-HTML link of the cell under the client point (X, Y), with its
    // target and title; -1 when no link is there.
    int HTMLAnchorAt(int DisplCol, int ARow, int X, int Y, QString& Anchor, QString& Title);
    int HoveredLink() const { return FLinkHoverIndex; }
    TPoint HoveredLinkCell() const { return FLinkHoverCell; }
    virtual bool HasCellBorderEvent() { return bool(OnGetCellBorder); }
    // Ends a fixed-cell sizing hover and removes the hover highlight of a fixed cell.
    void ResetFixedCellHighlight();
    // Column widths and the grid width kept for widths that follow the grid's width.
    void InitOrigColSizes();
    int OrigGridWidth() const { return FOldSize; }
    // Fires after a resize stretched a column.
    TNotifyEvent OnGridResize;

protected:
    void Click() override;
    void DoEnter() override;
    // Focus leaving the grid: not while an editor hands the focus back (FBlockKill); ends the
    // edit, unless Alt+Backspace holds the text editor open.
    void DoExit() override;
    void SetFocusMessageHandler(TMessage& Message);
    void KillFocusMessageHandler(TMessage& Message);
    void TimerMessageHandler(TMessage& Message);
    void PaintMessageHandler(TMessage& Message);
    void SizeMessageHandler(TMessage& Message);
    // The timer's hover selection: the cell under the mouse becomes current (client point).
    void HoverSelect(TPoint P);
    void BlinkTick();
    bool FModified = false;
    bool FGridModified = false;
    bool FOldModifiedValue = false;
    bool FBlockFocus = false;
    bool InvokedFocusChange = false;
    int FTimerTicks = 0;
    bool FGridBlink = false;
    int FPaintCount = 0;
    bool FDisableSize = false;
    int FOldSize = 0;

public:
    // ---- window procedure and the editor life cycle -------------------------------------------------------
    // Net zoom steps applied (-10..10); Zoom(x) adds x pixels to every column width and row
    // height that stays above 0.
    void Zoom(int X);

protected:
    void WndProc(TMessage& Message) override;
    // The notifications of the child editors (WM_COMMAND); true when the grid acted on it.
    bool CommandMessage(TMessage& Message);
    // A change of the open editor's text (Sender sent it) written into the edited cell.
    void WriteTypedText(TControl* Sender);
    // Puts back the text the edited cell held before typing began, when typed text is still
    // unaccepted there.
    void RestoreTypedText();
    // The wheel: zoom with Ctrl, the wheel switched off, then the step of WheelAction (the view
    // or the current row moves); true when it is used up.
    bool WheelMessage(TMessage& Message);
    // Called after a wheel step with the rows the current row moved; clearing Handled keeps the
    // wheel events from firing.
    virtual void WheelStepDone(int Moved, bool& Handled) { (void)Moved, (void)Handled; }
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    bool PlatformWheelStep(bool Down, TShiftState Shift, TPoint MousePos);

public:
    // ---- wheel panning (the middle button) --------------------------------------------------------------------
    static constexpr int PanTimerID = 999;
    bool WheelPanning() const { return FWheelPan; }
    TPoint WheelPanOrigin() const { return FWheelPanPos; }
    // The grid's own cursors (free pictures): the pan cursor and its eight directions, and the
    // header-selection and cell-selector cursors.
    static constexpr TCursor crPan = 8000, crPanDown = 8001, crPanLeft = 8002, crPanRight = 8003, crPanUp = 8004,
                             crPanUpRight = 8005, crPanUpLeft = 8006, crPanDownRight = 8007, crPanDownLeft = 8008,
                             crSelectRow = 8010, crSelectColumn = 8011, crSelectAll = 8012, crCellSelector = 8014;
    static QCursor GridCursor(TCursor C);
    // The cursor the grid shows over the point it chose it for last (its own or the platform's).
    TCursor ShownCursor() const { return FShownCursor; }
    // The set-cursor step for the client point (X, Y): the selection zones' cursors, the
    // cell-selector cursor, the grid's or OnGetCellCursor's, the split cursors over fixed borders.
    void SetCursorMessageHandler(int X, int Y);

protected:
    void StartWheelPan(TPoint P);
    void StopWheelPan();
    void WheelPanTick();
    void PaintWheelPanGlyph();
    // Where the mouse is, in client coordinates (the pan ticks follow it).
    virtual TPoint PanMousePos();
    bool FWheelPan = false;
    TPoint FWheelPanPos{0, 0};
    TCursor FPrevCursor = crDefault;
    bool FPanHintsWere = false;
    TCursor FShownCursor = crDefault;
    // OnComboChange and OnComboObjectChange for the open combo editor's item (real column).
    void ComboChangeNotify();

public:
    // ---- editor controls ---------------------------------------------------------------------------------
    // The in-place editor controls (ExtGrid_Editors*.cpp). The combo, check box, edit-button, unit
    // and button editors come with the grid, hidden and disabled between edits; the spin, date and
    // date-time editors on first use through their readers.
    TGridCombo* EditCombo = nullptr;
    TGridCheckBox* EditCheck = nullptr;
    TGridEditBtn* EditBtn = nullptr;
    TGridUnitEditBtn* UnitEditBtn = nullptr;
    TGridButton* GridButton = nullptr;
    TGridSpin* SpinEdit();
    TGridDatePicker* DatePicker();
    TGridDateTimePicker* DateAndTimePicker();
    // The drop-down editors, made on first use (ExtGrid_DropDownEditors.cpp).
    TGridTrackbarDropDown* TrackbarDropDown();
    TGridMemoDropDown* MemoDropDown();
    TGridCalculatorDropDown* CalculatorDropDown();
    TGridTimepickerDropDown* TimePickerDropDown();
    TGridDetailPickerDropDown* DetailPickerDropDown();
    TGridColorDropDown* ColorPickerDropDown();
    TGridImageDropDown* ImagePickerDropDown();
    TGridGridDropDown* GridDropDown();
    TGridExtGridDropDown* ExtGridDropDown();
    // The drop-down editor of a kind (made on first use); null for any other kind.
    TGridDropDownLink* DropDownEditor(TEditorType Kind);
    // Hands the component style to the drop-down editors made so far.
    void SetDropDownStyles(TExtStyle AStyle);
    // A left press on the grid opened the editor (the caret goes under it), and where it was.
    bool LButFlag() const { return LButFlg; }
    void ClearLButFlag() { LButFlg = false; }
    QPoint LButPos() const { return FLButPos; }
    // The combo's items.
    void ClearComboString();
    void AddComboString(const QString& S);
    void AddComboStringObject(const QString& S, TObject* AObject);
    bool RemoveComboString(const QString& S);
    bool SetComboSelectionString(const QString& S);
    void SetComboSelection(int Value) { FComboIdx = Value; }
    int ComboSelection() const { return FComboIdx; }
    int GetComboCount();
    // Asks the application to fill the items for the cell (real column, display row) first.
    void SetComboIndex(int ACol, int ARow, int Value);
    int GetComboIndex(int ACol, int ARow);
    // What the editor switch does with an editor control: open it over a display cell with the
    // cell's value, write its value into the cell it was opened for (validated first; a refused
    // value is not written), bring back the value it opened with, and close it.
    void OpenEditorControl(TEditorType Kind, int DisplCol, int DisplRow);
    void CommitEditorControl();
    void CancelEditorControl();
    bool EditorControlOpen() const { return FEditorControl != nullptr; }
    TEditorType EditorControlKind() const { return FEditorControlKind; }
    TWinControl* EditorControl() const { return FEditorControl; }
    // The value the open control holds as validation sees it, and a text put back into it.
    QString EditorControlText();
    void SetEditorControlText(const QString& Value);
    // OnEditChange for an editor's new text while it is open on its cell.
    void EditorTextChanged(const TGridEditorCell& Cell, const QString& Text);
    // The editor controls' access to the grid.
    TGridEditorCell* OpenEditorCell();
    // Writes Text into the editor's cell once the validation accepts it (the validation may
    // change it); false, and nothing written, when refused. NewCellText() then holds the text
    // to show.
    bool CommitEditorText(TGridEditorCell& Cell, const QString& Text);
    bool ValidateEditorText(TGridEditorCell& Cell, const QString& Text);
    void WriteEditorCell(const TGridEditorCell& Cell, const QString& Text);
    QString EditorCellText(const TGridEditorCell& Cell);
    int EditorDisplCol(const TGridEditorCell& Cell) const;
    int EditorDisplRow(const TGridEditorCell& Cell) const;
    // Set when an editor's commit key met a refused value: the move after it does not happen.
    bool EditorRefusedValue() const { return FEditorRefused; }
    void SetEditorRefusedValue(bool Value) { FEditorRefused = Value; }
    // A left click into the combo put the focus there (the caret goes under the mouse).
    bool ComboClickFocus = false;
    // Moves as Tab does (backwards with Shift), with the grid focused.
    void EditorsTabToNextCell(TShiftState Shift);
    // Gives the grid the focus without opening its editor again.
    void FocusGridNoEdit();
    // Leaves an editor through its left (right) edge: a neighbour holding a check box, radio or
    // button object becomes current once Text is accepted; any other neighbour is reached by
    // one advance step, with the editor opened there again as CursorWalkAlwaysEdit says.
    void EditorsCursorWalk(TGridEditorCell& Cell, const QString& Text, bool Forward);
    void FireGridKeyDown(Word& Key, TShiftState Shift) { KeyDown(Key, Shift); }
    void FireGridKeyPress(QChar& Key) { FireKeyPress(Key); }
    void FireGridKeyUp(Word& Key, TShiftState Shift) { KeyUp(Key, Shift); }
    // The platform grid's edit-modify check, asked as an editor's text changes.
    void EditorCanModify() { CanEditModify(); }

protected:
    void CreateEditorControls();
    // Frees them while the grid is still whole (their focus handling reaches back into it).
    void FreeEditorControls();
    TEditorType FEditorControlKind = edNone;
    TWinControl* FEditorControl = nullptr;
    TGridSpin* FEditSpin = nullptr;
    TGridDatePicker* FEditDate = nullptr;
    TGridDateTimePicker* FEditDateTime = nullptr;
    TGridTrackbarDropDown* FEditTrackBar = nullptr;
    TGridMemoDropDown* FEditMemo = nullptr;
    TGridCalculatorDropDown* FEditCalculator = nullptr;
    TGridTimepickerDropDown* FEditTimePicker = nullptr;
    TGridDetailPickerDropDown* FEditDetailPicker = nullptr;
    TGridColorDropDown* FEditColorPicker = nullptr;
    TGridImageDropDown* FEditImagePicker = nullptr;
    TGridGridDropDown* FEditGridDropDown = nullptr;
    TGridExtGridDropDown* FEditExtGrid = nullptr;
    // Places a drop-down editor over the cell and fills it with the cell's value.
    void OpenDropDownEditor(TGridDropDownLink* L, int RealCol, int DisplRow, const TRect& R, const QString& Stored,
                            const QString& Text, TColor CellColor);
    // Frees the drop-down editors (with the other editor controls).
    void FreeDropDownEditors();
    bool FEditorRefused = false;

    // ---- mouse ----
public:
    enum TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };
    // Left button, double click, right button: the grid's answers to the window messages.
    void LButtonDownMessageHandler(TMessage& Message);
    void LButtonUpMessageHandler(TMessage& Message);
    void LButtonDblClkMessageHandler(TMessage& Message);
    void RButtonDownMessageHandler(TMessage& Message);
    void RButtonUpMessageHandler(TMessage& Message);
    void MouseLeaveMessageHandler(TMessage& Message);
    // Fills the hint for HintInfo.CursorPos (client coordinates).
    void BuildCellHint(QString& HintStr, THintInfo& HintInfo);
    // Toggles a check-box cell (real column, display row); with CheckCanEdit a cell that may not
    // be edited stays as it is (unless ControlLook.CheckAlwaysActive). True when it toggled.
    virtual bool ToggleCheckBoxCell(int RealCol, int DisplRow, bool CheckCanEdit);
    // The number of stars of a rating cell.
    virtual int RatingStars(int RealCol, int DisplRow);
    virtual void CellSelectorClick(int ACol, int ARow) { (void)ACol, (void)ARow; }
    bool CellSelectorMode() const { return FCellSelectorMode; }
    void SetCellSelectorMode(bool Value) { FCellSelectorMode = Value; }
    TMouseSelectMode MouseSelectMode() const { return FMouseSelectMode; }
    TPoint LastHintPos() const { return FLastHintPos; }
    // Only http, https and mailto addresses leave the program.
    static bool IsOpenableLink(const QString& Anchor);
    // The balloon tool-tip window while balloons are on; null while they are off.
    THintWindow* BalloonWindow() const { return FHToolTip; }
    TPoint LastBalloonPos() const { return FLastBalloonPos; }
    void SetLastBalloonPos(TPoint Value) { FLastBalloonPos = Value; }
    // The cell button of a cell (real column, display row) in client coordinates; empty for a
    // cell without one.
    TRect ButtonRect(int RealCol, int DisplRow);
    TPoint PushedCellButton() const { return FPushedCellButton; }
    // Draws the cell button of display cell (ACol, ARow) pressed or released.
    void PushButton(int ACol, int ARow, bool Down);

protected:
    // Routes the mouse messages to their handlers; true when the message was answered.
    bool MouseWndProc(TMessage& Message);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual void MouseDownOverride(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMoveOverride(TShiftState Shift, int X, int Y);
    virtual void MouseUpOverride(TMouseButton Button, TShiftState Shift, int X, int Y);
    // A check box or radio button click (true when the click was one).
    bool CheckBoxMouseDown(int ACol, int ARow, int RealCol, int X, int Y, bool CanEdit);
    // A press on a node glyph, a radio group or column 0 of a grid with nodes; true when the press
    // ends there.
    bool NodeOrRadioMouseDown(int ACol, int ARow, int RealCol, int X, int Y, const TRect& R, TShiftState Shift);
    // A link in the cell text; true when the click was taken by it.
    bool LinkMouseDown(int ACol, int ARow, int RealCol, int X, int Y);
    // What the renderer finds at the client point (X, Y) in the mini-HTML text of a display
    // cell: the anchor (empty when none), its title, and a form control's ID, value and type.
    struct THTMLHit {
        QString Anchor, Title, CtrlID, CtrlValue, CtrlType;
        TRect ControlRect{0, 0, 0, 0};
    };
    THTMLHit HTMLHitTest(int ACol, int ARow, int X, int Y);
    // The link under (X, Y), by the same rules as a click follows it; empty when none.
    QString LinkAt(int ACol, int ARow, int X, int Y);
    void RunPlatformMessage(TMessage& Message);
    bool InSelectionResizer(int X, int Y);
    void StartSelectionResize(TMessage& Message, int X, int Y, bool PlatformUnlessEditing);
    void PasteResizeBuffer(const TGridRect& Target);
    bool FMouseResize = false;
    TGridRect FDropSelection{-1, -1, -1, -1};
    std::vector<QStringList> FResizeBuffer;
    bool FDoOnClick = false;
    bool FMouseDownMove = false;
    bool FMouseKeepDown = false;
    bool FDblClk = false;
    bool FMouseDownFlag = false;
    bool FCellSelectorMode = false;
    bool FSelHidden = false;
    bool ColMoveFlg = false;
    bool ColSizeFlg = false;
    bool ColSized = false;
    bool Rowsized = false;
    TMouseSelectMode FMouseSelectMode = msNormal;
    TPoint FPushedCellButton{-1, -1};
    int Colclicked = -1, Rowclicked = -1;
    int Colclickedsize = 0, Rowclickedsize = 0;
    int Clickposx = 0, Clickposy = 0;
    int Clickposdx = 0, Clickposdy = 0;
    int Movecell = -1;
    int MoveOfsX = 0, MoveOfsY = 0;
    // The selection when the left button went down: the release reports a change against it.
    TGridRect FMouseDownSelection{-1, -1, -1, -1};
    bool FMouseDownSelValid = false;
    // The click hit a check box: the grid's Click step ran already.
    bool FInMouseDownOverride = false;
    // A press inside the selection that may start a drag of it; the release selects instead.
    bool FSelectionClick = false;
    // A Ctrl press on a row or column already selected: the release deselects it.
    bool FDeselectState = false;
    int FOldKeepLeftCol = 0;
    THintWindow* FHToolTip = nullptr;
    // Fixed-column (row) sizing: armed over a fixed border, running from the press to the release.
    bool FSizeFixed = false, FSizingFixed = false;
    int FSizingFixedCol = -1, FSizeFixedX = 0;
    bool FSizeFixedR = false, FSizingFixedR = false;
    int FSizingFixedRow = -1, FSizeFixedY = 0;
    // Set while a fixed drop-down menu is open: hover tracking of fixed cells pauses.
    bool FNoMouseLeave = false;
    bool FBalloonInited = false;
    TPoint FLastBalloonPos{-1, -1};
    bool HasCellButton(int RealCol, int DisplRow);
    // Whether the keys held at a press or release: Shift and Ctrl from the message, Alt from the
    // keyboard.
    static TShiftState MessageShift(const TMessage& Message);

    // ---- search and replace
    // Cells found are (column, row) in the search's own space: display columns unless
    // fnIncludeHiddenColumns (real columns then), display rows unless fnIncludeHiddenRows (real rows
    // then); (-1, -1) for none. No search wraps around.
public:
    TPoint Find(TPoint StartCell, const QString& S, TFindParams FindParams);
    TPoint FindWide(TPoint StartCell, const QString& S, TFindParams FindParams);
    TPoint FindFirst(const QString& S, TFindParams FindParams);
    TPoint FindNext();
    // Replaces OrigStr by NewStr in every matching cell that may be edited (case-sensitive with
    // fnMatchCase); the number of cells whose text changed.
    int Replace(const QString& OrigStr, const QString& NewStr, TFindParams FindParams);
    TPoint SearchCell() const { return FSearchCell; }
    void SetSearchCell(TPoint Value) { FSearchCell = Value; }
    TFindParams FindParams() const { return FFindParams; }
    QString SearchCache() const { return FSearchCache; }
    QString SearchCacheWide() const { return FSearchCacheWide; }
    bool FindBusy() const { return FFindBusy; }
    // The fixed-cell editor's text changed: OnEditChange with the fixed cell being edited.
    virtual void FixedEditChange(TObject* Sender);
    // The preset column (display) and row of fnFindInPresetCol and fnFindInPresetRow.
    int FindCol = -1;
    int FindRow = -1;

protected:
    TPoint FindCore(TPoint StartCell, const QString& S, TFindParams FindParams, bool Wide);
    bool MatchFindCell(int ACol, int ARow, TFindParams FindParams, bool Wide);
    // The search options the footer's state and settings ask for.
    TFindParams SearchFooterParams(bool Backward, bool WithDirection);
    // Find next (find previous when Backward) of the footer, from the last cell found.
    void SearchFooterStep(bool Backward);
    void HilightSearchText(const QString& Text);
    void UnHilightSearchText();
    // Repaints the footer's edit in a new colour (the size nudge makes it repaint at once).
    void SetSearchEditColor(TColor Value);
    TPoint FSearchCell{-1, -1};
    TFindParams FFindParams;
    QString FSearchCache;
    QString FSearchCacheWide;
    bool FFindBusy = false;

    // ---- grouping
    // GroupColumn (real) is the column the rows are grouped by, -1 when ungrouped; while grouped the
    // column is out of the grid and comes back with UnGroup.
public:
    void SetGroupColumn(int Value);
    // Whether Group (ColIndex) would group: ColIndex counted as the columns stand once a grouping
    // in place is undone. A column that grouping could not give back is refused.
    bool CanGroupBy(int ColIndex);
    // One value per expanded group into its summary row (or its header row without summary rows):
    // 1 sum, 2 average, 3 minimum, 4 maximum, 5 count, 6 custom, 7 distinct, 8 standard deviation.
    // Averages, extremes and deviations are taken over the cells whose text is a number.
    void GroupCalc(int ColIndex, int Method);
    void GroupSum(int ColIndex);
    void GroupAvg(int ColIndex);
    void GroupMin(int ColIndex);
    void GroupMax(int ColIndex);
    void GroupCount(int ColIndex);
    void GroupCustomCalc(int ColIndex);
    void GroupDistinct(int ColIndex);
    void GroupStdDev(int ColIndex);

protected:
    // Gives a header row (MergeHeader: merged from FirstCol on) or a summary row its look.
    void StyleGroupRow(int DisplRow, int FirstCol, bool Header);
    // Undoes StyleGroupRow.
    void UnstyleGroupRow(int DisplRow, int FirstCol, bool Header);
    void GroupFooterCalc(int ColIndex, TColumnCalcType Calc);
    int FGroupColWidth = 0;
    QString FGroupColHeader;
    QString FGroupColFooter;
    bool FGroupingBusy = false;

    // ---- nodes and expandable rows ----
    // Rows named ARow are display rows unless the comment says real. A span counts the rows of a
    // group, the node row included, as they stand with every group expanded; a span of 0 or less
    // reaches to the next node row.
public:
    void AddNode(int RealRow, int Span);
    void RemoveNode(int RealRow);
    void RemoveAllNodes();
    bool IsNode(int ARow);
    bool IsSummary(int ARow);
    // True for a collapsed node.
    bool GetNodeState(int ARow);
    void SetNodeState(int ARow, bool Value);
    // -1 for a row that is no node row.
    int GetNodeLevel(int ARow);
    int GetNodeSpan(int ARow);
    void SetNodeSpan(int ARow, int Span);
    void UpdateNodeSpan(int ARow, int Delta);
    void UpdateSubNodeCount(int ARow, int Delta);
    int GetSubNodeCount(int ARow);
    void ExpandNode(int RealRow);
    void ContractNode(int RealRow);
    void ExpandAll();
    void ContractAll();
    // The display row of the node whose group holds ARow; a node row is its own parent; -1 for a
    // row outside every group.
    int GetParentRow(int ARow);
    void InsertChildRow(int RealRow, int InsertAt);
    void RemoveChildRow(int RealRow);
    void InsertNormalRow(int RealRow);
    void RemoveNormalRow(int ARow);
    int GetNodeSpanType(int ARow);
    int NumNodes() const { return FNumNodes; }
    bool HasNodes() override { return FNumNodes > 0; }
    int GetNodeIndent(int ARow) override;
    // The display-text step: the group count follows the text of column 1 of a node row while
    // Grouping.ShowGroupCount is on.
    void AppendGroupCount(int RealCol, int DisplRow, QString& Value);
    // Cells (real column, display row) whose button switches the row between its normal height and
    // ExpandedHeight.
    void AddExpand(int ACol, int ARow, int ExpandedHeight);
    void RemoveExpand(int ACol, int ARow);
    bool HasExpand(int ACol, int ARow);
    bool ToggleExpand(int ACol, int ARow);
    bool GetExpandState(int ACol, int ARow);
    int GetExpandHeight(int ACol, int ARow, bool Expanded);
    // The expand button of the cell's base cell in client coordinates; empty without one.
    TRect ExpandButtonRect(int RealCol, int DisplRow);
    void MarkSummaryRow(int RealRow);

protected:
    void DoExpandNode(int RealRow);
    // The node object of a display row; null for other rows.
    TCellGraphic* NodeRecord(int ARow);
    // The display row just past the group of node row ARow, as far as the rows on display show it.
    int NodeGroupEnd(int ARow);
    void ShiftNodeLevels(int ARow, int Span, int Delta);
    int FNumNodes = 0;

    // ---- balloons and radio groups ----
    // Cells are real column, display row; an operation on a cell without the right kind of object
    // changes nothing and answers false (or null).
public:
    void AddBalloon(int ACol, int ARow, const QString& Title, const QString& Text, TBalloonIcon Icon);
    void RemoveBalloon(int ACol, int ARow);
    bool HasBalloon(int ACol, int ARow);
    bool IsBalloon(int ACol, int ARow, QString& Title, QString& Text, TBalloonIcon& Icon);
    // The group keeps its own copy of the caller's options.
    void AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings* sl);
    // The group shares the options with the caller: either may let go of them first.
    void AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, std::shared_ptr<TStrings> sl);
    // A group over a new empty list, which it returns for filling.
    TStrings* CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio);
    bool GetRadioIdx(int ACol, int ARow, int& IdxRadio);
    bool SetRadioIdx(int ACol, int ARow, int IdxRadio);
    TStrings* GetRadioStrings(int ACol, int ARow);
    bool IsRadio(int ACol, int ARow);
    void RemoveRadio(int ACol, int ARow);
    // Steps a radio group to its next option; true when it stepped.
    bool AdvanceRadio(int ACol, int ARow, bool FromUser);
    // A click at (DX, DY) from the cell's top-left corner chooses the option there.
    void RadioGroupClick(int ACol, int ARow, int DX, int DY);
    // The balloon a refused value shows on its editor (InvalidEntryTitle, Text and Icon); null
    // while none is shown.
    THintWindow* InvalidEntryBalloon() const { return FInvalidEntryBalloon; }
    void ShowInvalidEntryBalloon();
    void HideInvalidEntryBalloon();

protected:
    THintWindow* FInvalidEntryBalloon = nullptr; // owned by the grid as a component
    // ---- layout persistence, look names, cell graphic geometry and hit testing ----
public:
    // The column states as one line "n#widths#order#visible": n all columns, the display widths
    // (the default width past the display count), the initial index of the column at each
    // position, and "1"/"0" per real column for shown/hidden.
    QString ColumnStatesToString();
    // Applies a line of ColumnStatesToString. A text without "#" does nothing. The whole text is
    // checked before anything changes: a count outside the column map, a list of the wrong
    // length, a non-integer, an order that is no permutation, or flags leaving too few columns
    // shown raise EConvertError and leave the grid as it was.
    void StringToColumnStates(const QString& Value);
    // Widths ("Col" keys) and positions ("Pos" keys) in the store ColumnSize names (an INI file,
    // or the per-user registry stand-in); nothing without Key and Section or while designing.
    // A load checks every value first (EConvertError, nothing applied); a save writes the whole
    // file or nothing.
    void SaveColSizes();
    void LoadColSizes();
    // The visual properties as "name=value" lines (CR LF). A load reads and converts every line
    // first: a bad value raises EConvertError naming the line, and nothing is applied.
    void SaveVisualProps(const QString& FileName);
    void LoadVisualProps(const QString& FileName);
    // The print settings in section Section of the INI file Key.
    void SavePrintSettings(const QString& Key, const QString& Section);
    void LoadPrintSettings(const QString& Key, const QString& Section);
    // The saved name of a look ("glXP" ...); Target is left as it was for glCustom.
    static void LookName(TGridLook Look, QString& Target);
    static QString LookName(TGridLook Look);
    static TGridLook LookFromName(const QString& Name, TGridLook Default);

    // Cell objects: (RealCol, DisplRow) unless named otherwise.
    // Whether (XPos, YPos) in client coordinates is on the check box or radio button of the cell,
    // as the painter places it (any point of the cell without MouseActions.PreciseCheckBoxCheck).
    bool IsInCheckBox(int ACol, int ARow, int XPos, int YPos);
    // The check box or radio button of a cell as the painter places it, in client coordinates;
    // empty for a cell without one.
    TRect CheckBoxRect(int RealCol, int DisplRow);
    // The push button of display cell (ACol, ARow) where it was last painted; empty without one.
    TRect GetCellButtonRect(int ACol, int ARow);
    // The 11 x 11 expand button of a ctExpand cell; empty otherwise.
    TRect GetExpandButtonRect(int ACol, int ARow);
    // Whether client X is on the node glyph of display row ARow.
    bool IsInNodeGlyph(int ARow, int X);
    bool IsSortIndicatorCell(int ACol, int ARow);
    TIntList* GetCellImages(int ACol, int ARow);
    // A data check box, data image, virtual or row check box: the text is data, not display.
    bool IsDataGraphicCell(int ACol, int ARow);

private:
    void HideEditorControl(TWinControl* Ctrl);
    // The box of a check kind inside graphic area G (the cell less its margins): the one
    // placement painting and hit testing share.
    TRect PlaceCheckBox(TRect G, TCellGraphic* CG, TVAlignment VA, TAlignment HA, int TextWidth, int w, int h);
    // The integer keys of ColumnSize's store.
    std::unique_ptr<class TIniFile> OpenColumnStore(QString& Section);
};

#undef EXTGRID_PLAIN
#undef EXTGRID_READ
