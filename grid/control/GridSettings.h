#pragma once
// The settings objects and companions the string grid owns besides those of the cell store
// (footers, sorting, drag and drop, look, grouping, background, filter, balloons, modified
// marking, printing and HTML export, column sizes, nodes) and the small enumerations of its
// published properties. Each object keeps its values and tells the grid of a change through its
// events; the behaviour behind the values lives in the grid areas that read them.
#include "grid/base/ExtStyleIF.h"
#include "grid/base/PictureContainer.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Objects.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

// ---- enumerations of the grid's published properties -------------------------------------------
enum TGridLook { glStandard, glSoft, glClassic, glExt, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
enum TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
enum THintPosition { hpCell, hpMouse };
enum TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum TFilterDropDownColumns { fdNormal, fdAll, fdFixed };
enum THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum TFooterStyle { fsFixedLastRow, fsCustomPreview };
enum TControlStyle { csClassic, csFlat, csWinXP, csBorland, csTMS, csGlyph, csTheme };
enum TBackgroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackgroundCells { bcNormal, bcFixed, bcAll };
enum TColumnSizeLocation { clRegistry, clIniFile };
enum TColumnSizeRows { crNormal, crAll };

using TFooterCalcEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;

// A settings class is a list of values, each with a getter and a setter; a setter that changes
// its value fires OnChange. Assign copies every value of another object of the same class (and
// fires OnChange); anything else is ignored.
#define GRIDSET_FIELD(Type, Name, Default) Type Name = Default;
#define GRIDSET_ACCESS(Type, Name, Default)                                                                            \
    Type Name() const { return FValues.Name; }                                                                         \
    void Set##Name(Type Value) {                                                                                       \
        if (FValues.Name == Value) return;                                                                             \
        FValues.Name = Value;                                                                                          \
        if (OnChange) OnChange(this);                                                                                  \
    }
#define GRIDSET_CLASS(Class, FIELDS)                                                                                   \
public:                                                                                                                \
    void Assign(TPersistent* Source) override {                                                                        \
        if (auto* S = dynamic_cast<Class*>(Source)) {                                                                  \
            FValues = S->FValues;                                                                                      \
            if (OnChange) OnChange(this);                                                                              \
        }                                                                                                              \
    }                                                                                                                  \
    FIELDS(GRIDSET_ACCESS)                                                                                             \
    TNotifyEvent OnChange;                                                                                             \
                                                                                                                       \
private:                                                                                                               \
    struct TValues {                                                                                                   \
        FIELDS(GRIDSET_FIELD)                                                                                          \
    } FValues;                                                                                                         \
                                                                                                                       \
public:

// ---- footer ---------------------------------------------------------------------------------------
#define TFLOATINGFOOTER_FIELDS(X)                                                                                      \
    X(bool, Visible, false)                                                                                            \
    X(TFooterStyle, FooterStyle, fsFixedLastRow)                                                                       \
    X(bool, EnableCalculation, true)                                                                                   \
    X(bool, CalculateHiddenRows, true)                                                                                 \
    X(int, Height, 22)                                                                                                 \
    X(TColor, Color, clBtnFace)
class TFloatingFooter : public TPersistent {
    GRIDSET_CLASS(TFloatingFooter, TFLOATINGFOOTER_FIELDS)
public:
    TFooterCalcEvent OnFooterCalc;
};

// The panel under the cells that shows the floating footer.
class TFooterPanel : public TPanel {
public:
    explicit TFooterPanel(TComponent* AOwner) : TPanel(AOwner) {}
};

// The panel under the cells that holds the search bar.
class TSearchPanel : public TPanel {
public:
    explicit TSearchPanel(TComponent* AOwner) : TPanel(AOwner) {}
    TNotifyEvent OnEditChange;
    TNotifyEvent OnBackwardClick;
    TNotifyEvent OnForwardClick;
    TNotifyEvent OnExitClick;
    TNotifyEvent OnHighlightClick;
};

// ---- sorting, drag and drop ------------------------------------------------------------------------
#define TSORTSETTINGS_FIELDS(X)                                                                                        \
    X(int, Column, 0)                                                                                                  \
    X(int, Row, 0)                                                                                                     \
    X(bool, Show, false)                                                                                               \
    X(bool, FixedCols, false)                                                                                          \
    X(bool, IndexShow, false)                                                                                          \
    X(TColor, HeaderColor, clNone)                                                                                     \
    X(TColor, HeaderColorTo, clNone)                                                                                   \
    X(TColor, HeaderMirrorColor, clNone)                                                                               \
    X(TColor, HeaderMirrorColorTo, clNone)
class TSortSettings : public TPersistent {
    GRIDSET_CLASS(TSortSettings, TSORTSETTINGS_FIELDS)
};

#define TDRAGDROPSETTINGS_FIELDS(X)                                                                                    \
    X(bool, OleAcceptText, true)                                                                                       \
    X(bool, OleAcceptFiles, true)                                                                                      \
    X(bool, OleAcceptURLs, true)                                                                                       \
    X(bool, OleDropTarget, false)                                                                                      \
    X(bool, OleDropSource, false)
class TDragDropSettings : public TPersistent {
    GRIDSET_CLASS(TDragDropSettings, TDRAGDROPSETTINGS_FIELDS)
};

struct TDragScrollMargins {
    int TopMargin = 20;
    int BottomMargin = 20;
    int LeftMargin = 20;
    int RightMargin = 20;
};
struct TDragScrollDelays {
    int InitialDelay = 100;
    int RepeatDelay = 50;
};

class TDragScrollOptions : public TPersistent {
public:
    void Assign(TPersistent* Source) override {
        if (auto* S = dynamic_cast<TDragScrollOptions*>(Source)) {
            FActive = S->FActive;
            Margins = S->Margins;
            Delays = S->Delays;
            if (OnChange) OnChange(this);
        }
    }
    bool Active() const { return FActive; }
    void SetActive(bool Value) {
        if (FActive == Value) return;
        FActive = Value;
        if (OnChange) OnChange(this);
    }
    TNotifyEvent OnChange;
    TDragScrollMargins Margins;
    TDragScrollDelays Delays;

private:
    bool FActive = false;
};

// ---- look ---------------------------------------------------------------------------------------
#define TCONTROLLOOK_FIELDS(X)                                                                                         \
    X(int, CheckSize, 15)                                                                                              \
    X(int, RadioSize, 10)                                                                                              \
    X(TColor, CommentColor, clRed)                                                                                     \
    X(TColor, Color, clBlack)                                                                                          \
    X(bool, CheckAlwaysActive, false)                                                                                  \
    X(bool, RadioAlwaysActive, false)                                                                                  \
    X(TControlStyle, ControlStyle, csTheme)                                                                            \
    X(bool, FlatButton, false)                                                                                         \
    X(bool, DropDownAlwaysVisible, false)                                                                              \
    X(bool, SpinButtonsAlwaysVisible, false)                                                                           \
    X(bool, FixedDropDownButton, false)                                                                                \
    X(int, DropDownCount, 8)
// The gradient colours of the fixed cells (normal, hovered, pressed); each is passed on to the
// grid's matching header colour through OnGradientColor (Which: the TControlLookGradient value).
enum TControlLookGradient {
    clgFixedFrom,
    clgFixedTo,
    clgFixedMirrorFrom,
    clgFixedMirrorTo,
    clgHoverFrom,
    clgHoverTo,
    clgHoverMirrorFrom,
    clgHoverMirrorTo,
    clgHoverBorder,
    clgDownFrom,
    clgDownTo,
    clgDownMirrorFrom,
    clgDownMirrorTo,
    clgDownBorder,
    clgCount
};
class TControlLook : public TPersistent {
    GRIDSET_CLASS(TControlLook, TCONTROLLOOK_FIELDS)
public:
    TColor Gradient(TControlLookGradient Which) const { return FGradient[Which]; }
    // The mirror colours go on to the grid always; the others only when set (not clNone).
    void SetGradient(TControlLookGradient Which, TColor Value) {
        FGradient[Which] = Value;
        const bool Mirror = Which == clgFixedMirrorFrom || Which == clgFixedMirrorTo || Which == clgHoverMirrorFrom ||
            Which == clgHoverMirrorTo || Which == clgDownMirrorFrom || Which == clgDownMirrorTo;
        if ((Mirror || Value != clNone) && OnGradientColor) OnGradientColor(Which, Value);
    }
    // Back to the starting colours: plain stores, only the hover and down mirror colours through
    // their setters.
    void Init() {
        FValues.Color = clBlack;
        FValues.CommentColor = clRed;
        for (TControlLookGradient G : {clgFixedFrom, clgFixedTo, clgFixedMirrorFrom, clgFixedMirrorTo})
            FGradient[G] = clNone;
        FGradient[clgHoverFrom] = 0x808080;
        FGradient[clgHoverTo] = clWhite;
        FGradient[clgHoverBorder] = 0xC0C0C0;
        FGradient[clgDownFrom] = 0x808080;
        FGradient[clgDownTo] = 0xC0C0C0;
        FGradient[clgDownBorder] = 0x808080;
        for (TControlLookGradient G : {clgHoverMirrorFrom, clgHoverMirrorTo, clgDownMirrorFrom, clgDownMirrorTo})
            SetGradient(G, clNone);
    }
    std::function<void(int Which, TColor Value)> OnGradientColor;

private:
    TColor FGradient[clgCount] = {clNone, clNone,   clNone,   clNone,   0x808080, clWhite, clNone,
                                  clNone, 0xC0C0C0, 0x808080, 0xC0C0C0, clNone,   clNone,  0x808080};
};

#define TGROUPING_FIELDS(X)                                                                                            \
    X(bool, AutoCheckGroup, false)                                                                                     \
    X(bool, ShowGroupCount, false)                                                                                     \
    X(QString, GroupCountFormat, QString())                                                                            \
    X(bool, HeaderUnderline, false)                                                                                    \
    X(TColor, HeaderLineColor, clBlack)                                                                                \
    X(int, HeaderLineWidth, 2)                                                                                         \
    X(bool, SummaryLine, false)                                                                                        \
    X(TColor, SummaryLineColor, clBlack)                                                                               \
    X(int, SummaryLineWidth, 2)
class TGrouping : public TPersistent {
    GRIDSET_CLASS(TGrouping, TGROUPING_FIELDS)
};

#define TBACKGROUND_FIELDS(X)                                                                                          \
    X(TBackgroundDisplay, Display, bdTile)                                                                             \
    X(TBackgroundCells, Cells, bcNormal)                                                                               \
    X(TColor, Color, clWindow)                                                                                         \
    X(TColor, ColorTo, clNone)                                                                                         \
    X(int, Left, 0)                                                                                                    \
    X(int, Top, 0)
class TBackGround : public TPersistent {
    GRIDSET_CLASS(TBackGround, TBACKGROUND_FIELDS)
public:
    // The picture behind the cells (owned; setting it copies the given one).
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* Value) {
        FBitmap->Assign(Value);
        if (OnChange) OnChange(this);
    }

private:
    std::unique_ptr<TBitmap> FBitmap = std::make_unique<TBitmap>();
};

#define TGRIDPROGRESSAPPEARANCE_FIELDS(X)                                                                              \
    X(TColor, CompletionColor, clHighlight)                                                                            \
    X(TColor, UnCompletionColor, clWindow)
class TGridProgressAppearance : public TPersistent {
    GRIDSET_CLASS(TGridProgressAppearance, TGRIDPROGRESSAPPEARANCE_FIELDS)
};

#define TSHOWMODIFIED_FIELDS(X)                                                                                        \
    X(bool, Enabled, false)                                                                                            \
    X(TColor, Color, clRed)
class TShowModified : public TPersistent {
    GRIDSET_CLASS(TShowModified, TSHOWMODIFIED_FIELDS)
};

class TBalloonSettings : public TPersistent {
public:
    void Assign(TPersistent* Source) override {
        if (auto* S = dynamic_cast<TBalloonSettings*>(Source)) SetEnable(S->FEnable);
    }
    bool Enable() const { return FEnable; }
    void SetEnable(bool Value) {
        if (FEnable == Value) return;
        FEnable = Value;
        if (OnEnableChange) OnEnableChange(this);
    }
    TNotifyEvent OnEnableChange;

private:
    bool FEnable = false;
};

#define TFILTERDROPDOWN_FIELDS(X)                                                                                      \
    X(int, Height, 200)                                                                                                \
    X(int, Width, 0)                                                                                                   \
    X(bool, Sorted, false)
class TFilterDropDown : public TPersistent {
    GRIDSET_CLASS(TFilterDropDown, TFILTERDROPDOWN_FIELDS)
};

// One condition of the grid's filter: the column it tests and the condition text.
struct TFilterData {
    int Column = 0;
    QString Condition;
    bool CaseSensitive = true;
};

class TFilter : public TPersistent {
public:
    void Assign(TPersistent* Source) override {
        if (auto* S = dynamic_cast<TFilter*>(Source)) Items = S->Items;
    }
    int Count() const { return int(Items.size()); }
    bool HasFilter(int Col) const {
        for (const TFilterData& F : Items)
            if (F.Column == Col) return true;
        return false;
    }
    std::vector<TFilterData> Items;
};

// ---- printing, export, column sizes, nodes, typing ---------------------------------------------------
#define TPRINTSETTINGS_FIELDS(X)                                                                                       \
    X(QString, Title, QString())                                                                                       \
    X(bool, FitToPage, false)
class TPrintSettings : public TPersistent {
    GRIDSET_CLASS(TPrintSettings, TPRINTSETTINGS_FIELDS)
};

#define THTMLSETTINGS_FIELDS(X)                                                                                        \
    X(int, BorderSize, 1)                                                                                              \
    X(int, CellSpacing, 0)                                                                                             \
    X(int, Width, 100)
class THTMLSettings : public TPersistent {
    GRIDSET_CLASS(THTMLSettings, THTMLSETTINGS_FIELDS)
};

#define TCOLUMNSIZE_FIELDS(X)                                                                                          \
    X(bool, Save, false)                                                                                               \
    X(QString, Key, QString())                                                                                         \
    X(QString, Section, QString())                                                                                     \
    X(TColumnSizeLocation, Location, clRegistry)                                                                       \
    X(int, StretchColumn, -1)                                                                                          \
    X(TColumnSizeRows, Rows, crNormal)                                                                                 \
    X(bool, SynchWithGrid, false)
class TColumnSize : public TPersistent {
    GRIDSET_CLASS(TColumnSize, TCOLUMNSIZE_FIELDS)
public:
    bool Stretch() const { return FStretch; }
    // The grid stretches its column as soon as the value is stored (OnStretchChange).
    void SetStretch(bool Value) {
        FStretch = Value;
        if (OnStretchChange) OnStretchChange(this);
    }
    TNotifyEvent OnStretchChange;

private:
    bool FStretch = false;
};

#define TCELLNODE_FIELDS(X)                                                                                            \
    X(TColor, Color, clSilver)                                                                                         \
    X(int, NodeIndent, 12)                                                                                             \
    X(bool, ShowTree, true)
class TCellNode : public TPersistent {
    GRIDSET_CLASS(TCellNode, TCELLNODE_FIELDS)
};

#define TSIZEWHILETYPING_FIELDS(X)                                                                                     \
    X(bool, Height, false)                                                                                             \
    X(bool, Width, false)
class TSizeWhileTyping : public TPersistent {
    GRIDSET_CLASS(TSizeWhileTyping, TSIZEWHILETYPING_FIELDS)
};

// ---- companions ------------------------------------------------------------------------------------
// Moves the focus to the grid's window when the grid itself is asked to take it.
#define TFOCUSHELPER_FIELDS(X) X(bool, Enabled, false)
class TFocusHelper : public TPersistent {
    GRIDSET_CLASS(TFocusHelper, TFOCUSHELPER_FIELDS)
};

// Another grid whose scrolling and column sizes follow this one.
#define TSYNCGRID_FIELDS(X)                                                                                            \
    X(TComponent*, Grid, nullptr)                                                                                      \
    X(bool, ScrollHorizontal, true)                                                                                    \
    X(bool, ScrollVertical, true)                                                                                      \
    X(bool, SelectionColumn, false)                                                                                    \
    X(bool, SelectionRow, false)
class TSyncGrid : public TPersistent {
    GRIDSET_CLASS(TSyncGrid, TSYNCGRID_FIELDS)
};

// A component told of every change of a grid's cells (RegisterNotifier).
class TGridChangeNotifier : public TComponent {
public:
    explicit TGridChangeNotifier(TComponent* AOwner) : TComponent(AOwner) {}
    virtual void CellsChanged(const TRect& R) { (void)R; }
};

// The cell checker a grid may be given: corrects cell texts and marks errors in them.
class TExtStringGridCheck : public TComponent {
public:
    explicit TExtStringGridCheck(TComponent* AOwner) : TComponent(AOwner) {}
    bool GotoCell() const { return FGotoCell; }
    void SetGotoCell(bool Value) { FGotoCell = Value; }
    bool UseCorrect() const { return FUseCorrect; }
    void SetUseCorrect(bool Value) { FUseCorrect = Value; }
    bool UseMarkError() const { return FUseMarkError; }
    void SetUseMarkError(bool Value) { FUseMarkError = Value; }
    virtual void StartCheck() {}
    virtual void StopCheck() {}
    // Value: the text to change; OrigValue: the cell's text without error marks.
    virtual void Correct(TComponent* Grid, int ACol, int ARow, QString& Value, const QString& OrigValue) {
        (void)Grid, (void)ACol, (void)ARow, (void)Value, (void)OrigValue;
    }
    virtual void MarkError(TComponent* Grid, int ACol, int ARow, QString& Value, const QString& OrigValue) {
        (void)Grid, (void)ACol, (void)ARow, (void)Value, (void)OrigValue;
    }

private:
    bool FGotoCell = false;
    bool FUseCorrect = true;
    bool FUseMarkError = false;
};

#undef GRIDSET_FIELD
#undef GRIDSET_ACCESS
#undef GRIDSET_CLASS
