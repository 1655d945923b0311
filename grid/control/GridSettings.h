#pragma once
// The settings objects and companions the string grid owns besides those of the cell store
// (footers, sorting, drag and drop, look, grouping, background, filter, balloons, modified
// marking, printing and HTML export, column sizes, nodes) and the small enumerations of its
// published properties. Each object keeps its values and tells the grid of a change through its
// events; the behaviour behind the values lives in the grid areas that read them.
#include "grid/base/ExtStyleIF.h"
#include "grid/base/PictureContainer.h"
#include "grid/control/ControlLook.h"
#include "grid/control/GridFilter.h"
#include "grid/control/GridFooter.h"
#include "grid/control/GridSettingsObjects.h"
#include "grid/control/SearchPanel.h"
#include "grid/control/SortSettings.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Printers.h"
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
enum TColumnSizeLocation { clRegistry, clIniFile };

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

// As GRIDSET_CLASS, with owned glyph bitmaps besides the values: writing a glyph copies the given
// bitmap, Assign copies the glyphs too.
#define GRIDSET_GLYPH_ACCESS(Name)                                                                                     \
    TBitmap* Name() const { return F##Name.get(); }                                                                    \
    void Set##Name(TBitmap* Value) {                                                                                   \
        if (Value == F##Name.get()) return;                                                                            \
        F##Name->Assign(Value);                                                                                        \
        if (OnChange) OnChange(this);                                                                                  \
    }
#define GRIDSET_GLYPH_FIELD(Name) std::unique_ptr<TBitmap> F##Name = std::make_unique<TBitmap>();
#define GRIDSET_GLYPH_COPY(Name) F##Name->Assign(S->F##Name.get());
#define GRIDSET_GLYPH_CLASS(Class, FIELDS, GLYPHS)                                                                     \
public:                                                                                                                \
    void Assign(TPersistent* Source) override {                                                                        \
        auto* S = dynamic_cast<Class*>(Source);                                                                        \
        if (!S || S == this) return;                                                                                   \
        FValues = S->FValues;                                                                                          \
        GLYPHS(GRIDSET_GLYPH_COPY)                                                                                     \
        if (OnChange) OnChange(this);                                                                                  \
    }                                                                                                                  \
    FIELDS(GRIDSET_ACCESS)                                                                                             \
    GLYPHS(GRIDSET_GLYPH_ACCESS)                                                                                       \
    TNotifyEvent OnChange;                                                                                             \
                                                                                                                       \
private:                                                                                                               \
    struct TValues {                                                                                                   \
        FIELDS(GRIDSET_FIELD)                                                                                          \
    } FValues;                                                                                                         \
    GLYPHS(GRIDSET_GLYPH_FIELD)                                                                                        \
                                                                                                                       \
public:

// ---- footer and search bar ----------------------------------------------------------------------
// TFloatingFooter, TFooterPanel (GridFooter.h) and TSearchPanel (SearchPanel.h).

// ---- printing, export, column sizes, nodes, typing ---------------------------------------------------
// The five records a form streams by property name; each property is a field of the same name.
// Their definitions are in GridSettings.cpp.
enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };
enum TAutoSizeRows { arAll, arNormal, arFixed };
enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders {
    pbNoborder,
    pbSingle,
    pbDouble,
    pbVertical,
    pbHorizontal,
    pbAround,
    pbAroundVertical,
    pbAroundHorizontal,
    pbCustom
};
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

class TIntList;

// A property that is stored directly.
#define GRIDREC_PLAIN(Type, Name)                                                                                      \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type Value) { F##Name = Value; }

// The look of row nodes. The writers of the node type, the tree switches, the tree colour and the
// indent repaint the owning grid when the value changes.
class TCellNode : public TPersistent {
public:
    explicit TCellNode(TControl* AOwner);
    ~TCellNode() override;
    TControl* Owner() const { return FOwner; }
    // From another TCellNode only; any other source is ignored.
    void Assign(TPersistent* Source) override;

    GRIDREC_PLAIN(TColor, Color)
    GRIDREC_PLAIN(TColor, NodeColor)
    GRIDREC_PLAIN(bool, ExpandOne)
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType Value);
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool Value);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool Value);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor Value);
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int Value);
    // Owned glyphs; writing copies the given bitmap.
    TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
    void SetExpandGlyph(TBitmap* Value);
    TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
    void SetContractGlyph(TBitmap* Value);

private:
    template <typename T>
    void Change(T& Field, T Value);
    TControl* FOwner;
    TColor FColor = clSilver;
    TNodeType FNodeType = cnXP;
    TColor FNodeColor = clBlack;
    std::unique_ptr<TBitmap> FExpandGlyph;
    std::unique_ptr<TBitmap> FContractGlyph;
    bool FExpandOne = false;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    int FNodeIndent = 12;
    TColor FTreeColor = clGray;
};

// Growing the edited cell while typing. It has no copy of its own: assigning one changes nothing.
class TSizeWhileTyping : public TPersistent {
public:
    GRIDREC_PLAIN(bool, Height)
    GRIDREC_PLAIN(bool, Width)

private:
    bool FHeight = false;
    bool FWidth = false;
};

// Saving and stretching column widths.
class TColumnSize : public TPersistent {
public:
    explicit TColumnSize(TComponent* AOwner = nullptr) : FOwner(AOwner) {}
    TComponent* Owner() const { return FOwner; }
    // From another TColumnSize only; any other source is ignored.
    void Assign(TPersistent* Source) override;

    GRIDREC_PLAIN(bool, Save)
    GRIDREC_PLAIN(QString, Key)
    GRIDREC_PLAIN(QString, Section)
    GRIDREC_PLAIN(TColumnSizeLocation, Location)
    GRIDREC_PLAIN(int, StretchColumn)
    GRIDREC_PLAIN(bool, SynchWithGrid)
    GRIDREC_PLAIN(bool, SynchNormalCellsOnly)
    GRIDREC_PLAIN(TAutoSizeRows, Rows)
    bool Stretch() const { return FStretch; }
    // The grid stretches its column as soon as the value is stored (OnStretchChange).
    void SetStretch(bool Value) {
        FStretch = Value;
        if (OnStretchChange) OnStretchChange(this);
    }
    TNotifyEvent OnStretchChange;

private:
    TComponent* FOwner;
    bool FSave = false;
    QString FKey;
    QString FSection;
    TColumnSizeLocation FLocation = clRegistry;
    bool FStretch = false;
    int FStretchColumn = -1;
    bool FSynchWithGrid = false;
    bool FSynchNormalCellsOnly = false;
    TAutoSizeRows FRows = arAll;
};

// The HTML export's settings.
class THTMLSettings : public TPersistent {
public:
    THTMLSettings();
    ~THTMLSettings() override;
    // From another THTMLSettings; the column widths and the image switch stay the target's own.
    void Assign(TPersistent* Source) override;

    GRIDREC_PLAIN(bool, AutoPreview)
    GRIDREC_PLAIN(bool, ConvertSpecialChars)
    GRIDREC_PLAIN(bool, NonBreakingText)
    GRIDREC_PLAIN(bool, SaveColor)
    GRIDREC_PLAIN(bool, SaveFonts)
    GRIDREC_PLAIN(QString, HeaderFile)
    GRIDREC_PLAIN(QString, FooterFile)
    GRIDREC_PLAIN(int, BorderSize)
    GRIDREC_PLAIN(int, CellSpacing)
    GRIDREC_PLAIN(int, CellPadding)
    GRIDREC_PLAIN(QString, TableStyle)
    GRIDREC_PLAIN(QString, PrefixTag)
    GRIDREC_PLAIN(QString, SuffixTag)
    GRIDREC_PLAIN(QString, Summary)
    GRIDREC_PLAIN(int, Width)
    GRIDREC_PLAIN(bool, XHTML)
    GRIDREC_PLAIN(bool, ExportImages)
    TIntList* ColWidths() const { return FColWidths.get(); }

private:
    bool FAutoPreview = false;
    bool FConvertSpecialChars = false;
    bool FNonBreakingText = false;
    bool FSaveColor = true;
    bool FSaveFonts = true;
    QString FHeaderFile;
    QString FFooterFile;
    int FBorderSize = 1;
    int FCellSpacing = 0;
    int FCellPadding = 0;
    QString FTableStyle;
    QString FPrefixTag;
    QString FSuffixTag;
    QString FSummary;
    int FWidth = 100;
    bool FXHTML = false;
    bool FExportImages = true;
    std::unique_ptr<TIntList> FColWidths;
};

// Printing's settings.
class TPrintSettings : public TPersistent {
public:
    explicit TPrintSettings(TComponent* AOwner = nullptr);
    ~TPrintSettings() override;
    TComponent* Grid() const { return FGrid; }
    // The source must be a TPrintSettings (EInvalidCast otherwise); FixedCellsAlways stays.
    void Assign(TPersistent* Source) override;

    GRIDREC_PLAIN(TPrintPosition, Time)
    GRIDREC_PLAIN(TPrintPosition, Date)
    GRIDREC_PLAIN(TPrintPosition, PageNr)
    GRIDREC_PLAIN(TPrintPosition, Title)
    GRIDREC_PLAIN(QString, DateFormat)
    GRIDREC_PLAIN(QString, PageNumSep)
    GRIDREC_PLAIN(QString, PagePrefix)
    GRIDREC_PLAIN(QString, PageSuffix)
    GRIDREC_PLAIN(QString, TitleText)
    GRIDREC_PLAIN(bool, UseDisplayFont)
    GRIDREC_PLAIN(TPrintBorders, Borders)
    GRIDREC_PLAIN(TPenStyle, BorderStyle)
    GRIDREC_PLAIN(TColor, BorderColor)
    GRIDREC_PLAIN(bool, Centered)
    GRIDREC_PLAIN(bool, RepeatFixedRows)
    GRIDREC_PLAIN(bool, RepeatFixedCols)
    GRIDREC_PLAIN(int, FooterSize)
    GRIDREC_PLAIN(int, HeaderSize)
    GRIDREC_PLAIN(int, LeftSize)
    GRIDREC_PLAIN(int, RightSize)
    GRIDREC_PLAIN(int, ColumnSpacing)
    GRIDREC_PLAIN(int, RowSpacing)
    GRIDREC_PLAIN(int, TitleSpacing)
    GRIDREC_PLAIN(TPrinterOrientation, Orientation)
    GRIDREC_PLAIN(bool, UseDefaultOrientation)
    GRIDREC_PLAIN(int, PageNumberOffset)
    GRIDREC_PLAIN(int, MaxPagesOffset)
    GRIDREC_PLAIN(int, FixedWidth)
    GRIDREC_PLAIN(int, FixedHeight)
    GRIDREC_PLAIN(bool, UseFixedWidth)
    GRIDREC_PLAIN(bool, UseFixedHeight)
    GRIDREC_PLAIN(TFitToPage, FitToPage)
    GRIDREC_PLAIN(bool, NoAutoSize)
    GRIDREC_PLAIN(bool, NoAutoSizeRow)
    GRIDREC_PLAIN(bool, PrintGraphics)
    GRIDREC_PLAIN(QString, JobName)
    GRIDREC_PLAIN(bool, FixedCellsAlways)
    // Owned; writing copies the given object.
    TStringList* TitleLines() const { return FTitleLines.get(); }
    void SetTitleLines(TStrings* Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TFont* FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(TFont* Value) { FFixedFont->Assign(Value); }
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }
    TFont* FooterFont() const { return FFooterFont.get(); }
    void SetFooterFont(TFont* Value) { FFooterFont->Assign(Value); }

private:
    TComponent* FGrid;
    TPrintPosition FTime = ppNone;
    TPrintPosition FDate = ppNone;
    TPrintPosition FPageNr = ppNone;
    TPrintPosition FTitle = ppNone;
    QString FDateFormat = QStringLiteral("dd/mm/yyyy");
    QString FPageNumSep = QStringLiteral("/");
    QString FPagePrefix;
    QString FPageSuffix;
    QString FTitleText;
    bool FUseDisplayFont = true;
    TPrintBorders FBorders = pbSingle;
    TPenStyle FBorderStyle = psSolid;
    TColor FBorderColor = clBlack;
    bool FCentered = true;
    bool FRepeatFixedRows = false;
    bool FRepeatFixedCols = false;
    int FFooterSize = 0;
    int FHeaderSize = 0;
    int FLeftSize = 0;
    int FRightSize = 0;
    int FColumnSpacing = 0;
    int FRowSpacing = 0;
    int FTitleSpacing = 0;
    TPrinterOrientation FOrientation = poPortrait;
    bool FUseDefaultOrientation = false;
    int FPageNumberOffset = 0;
    int FMaxPagesOffset = 0;
    int FFixedWidth = 0;
    int FFixedHeight = 0;
    bool FUseFixedWidth = false;
    bool FUseFixedHeight = false;
    TFitToPage FFitToPage = fpNever;
    bool FNoAutoSize = false;
    bool FNoAutoSizeRow = false;
    bool FPrintGraphics = false;
    QString FJobName;
    bool FFixedCellsAlways = false;
    std::unique_ptr<TStringList> FTitleLines;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TFont> FFixedFont;
    std::unique_ptr<TFont> FHeaderFont;
    std::unique_ptr<TFont> FFooterFont;
};

#undef GRIDREC_PLAIN

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

#undef GRIDSET_GLYPH_ACCESS
#undef GRIDSET_GLYPH_FIELD
#undef GRIDSET_GLYPH_COPY
#undef GRIDSET_GLYPH_CLASS
#undef GRIDSET_FIELD
#undef GRIDSET_ACCESS
#undef GRIDSET_CLASS
