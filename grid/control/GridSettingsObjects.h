#pragma once
// The small settings objects the grid keeps for its whole life besides the look, sort, filter and
// footer objects: background, grouping, drag and drop, balloon hints, modified marking, drag
// scrolling and progress bars. Each copies itself only from an object of its own class.
#include "grid/control/SettingProperties.h"
#include "grid/services/DragDrop.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Objects.h"

#include <QString>

#include <functional>
#include <memory>

class TWinControl;
class TExtStringGrid;

// ---- background -------------------------------------------------------------------------------------
enum TBackgroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackgroundCells { bcNormal, bcFixed, bcAll };

// The picture or gradient behind the cells; every change repaints (OnChange).
class TBackGround : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
    SETTING_CHANGE(int, Top, 0)
    SETTING_CHANGE(int, Left, 0)
    SETTING_CHANGE(TBackgroundDisplay, Display, bdTile)
    SETTING_CHANGE(TBackgroundCells, Cells, bcNormal)
    SETTING_CHANGE(TColor, Color, clWindow)
    SETTING_CHANGE(TColor, ColorTo, clBtnFace)
    // Owned; writing copies the given bitmap.
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* Value);
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TBitmap> FBitmap = std::make_unique<TBitmap>();
};

// ---- grouping ---------------------------------------------------------------------------------------
// Stored without notification. Assign copies the look of group headers and summaries and the
// group switches, not the line colours and widths or Summary.
class TGrouping : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
    SETTING_STORED(bool, MergeHeader, false)
    SETTING_STORED(bool, MergeSummary, false)
    SETTING_STORED(TColor, HeaderColor, clNone)
    SETTING_STORED(TColor, HeaderColorTo, clNone)
    SETTING_STORED(TColor, HeaderTextColor, clNone)
    SETTING_STORED(bool, HeaderUnderline, false)
    SETTING_STORED(TColor, HeaderLineColor, TColor(0xFF0000))
    SETTING_STORED(int, HeaderLineWidth, 2)
    SETTING_STORED(bool, Summary, false)
    SETTING_STORED(TColor, SummaryColor, clNone)
    SETTING_STORED(TColor, SummaryColorTo, clNone)
    SETTING_STORED(TColor, SummaryTextColor, clNone)
    SETTING_STORED(bool, SummaryLine, false)
    SETTING_STORED(TColor, SummaryLineColor, TColor(0xFF0000))
    SETTING_STORED(int, SummaryLineWidth, 2)
    SETTING_STORED(bool, ShowGroupCount, false)
    SETTING_STORED(QString, GroupCountFormat, QString())
    SETTING_STORED(bool, AutoSelectGroup, false)
    SETTING_STORED(bool, AutoCheckGroup, false)
};

// ---- drag and drop ----------------------------------------------------------------------------------
// Registers (Register true) or revokes a window as a drop target; true when it succeeded. The
// default lets the window accept drops; tests put their own in place.
using TDropTargetRegistrar = std::function<bool(TWinControl* Window, bool Register)>;
void SetDropTargetRegistrar(TDropTargetRegistrar Registrar);
// Whether rich text may be dropped into any grid (one flag for every grid, set by OleDropRTF).
extern bool OleDropRTFAllowed;

class TDragDropSettings : public TPersistent {
public:
    explicit TDragDropSettings(TExtStringGrid* AOwner = nullptr);
    ~TDragDropSettings() override;
    // Copies every property (OleDropTarget and OleDropRTF through their setters).
    void Assign(TPersistent* Source) override;
    bool OleDropRTF() const { return FOleDropRTF; }
    void SetOleDropRTF(bool Value);
    SETTING_STORED(bool, OleAcceptText, true)
    SETTING_STORED(bool, OleEntireRows, false)
    SETTING_STORED(bool, OleDropSource, false)
    SETTING_STORED(bool, OleRemoveRows, false)
    SETTING_STORED(bool, OleAcceptFiles, true)
    SETTING_STORED(bool, OleAcceptURLs, true)
    SETTING_STORED(bool, OleInsertRows, false)
    SETTING_STORED(bool, OleAppendRows, false)
    SETTING_STORED(bool, OleCopyAlways, false)
    SETTING_STORED(bool, OleColumnDragDrop, false)
    SETTING_STORED(bool, OleColumnReorder, false)
    SETTING_STORED(bool, OleColumnsOnly, false)
    SETTING_STORED(bool, ShowCells, true)
    // Outside the designer, true registers the grid's window as a drop target (once, however
    // often it is set) and false revokes a registration that succeeded.
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool Value);
    // Whether the grid's window is registered now.
    bool DropTargetRegistered() const { return FDropTargetRegistered; }
    TGridDropTarget* DropTarget() const { return FDropTarget.get(); }

private:
    TExtStringGrid* FOwner;
    bool FOleDropRTF = false;
    bool FOleDropTarget = false;
    bool FDropTargetRegistered = false;
    std::unique_ptr<TGridDropTarget> FDropTarget;
};

// ---- balloon hints ----------------------------------------------------------------------------------
class TBalloonSettings : public TPersistent {
public:
    // Copies the colours, the delays and Enable (through its setter), not Transparency.
    void Assign(TPersistent* Source) override;
    SETTING_STORED(TColor, BackgroundColor, clNone)
    SETTING_STORED(TColor, TextColor, clNone)
    SETTING_STORED(int, ReshowDelay, -1)
    SETTING_STORED(int, InitialDelay, -1)
    SETTING_STORED(int, AutoHideDelay, -1)
    SETTING_STORED(uint8_t, Transparency, 0)
    bool Enable() const { return FEnable; }
    // Fires OnEnableChange on every write, also when the value stays.
    void SetEnable(bool Value) {
        FEnable = Value;
        if (OnEnableChange) OnEnableChange(this);
    }
    TNotifyEvent OnEnableChange;

private:
    bool FEnable = false;
};

// ---- modified marking -------------------------------------------------------------------------------
class TShowModified : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
    SETTING_STORED(bool, Enabled, false)
    TColor Color() const { return FColor; }
    // Fires OnChange.
    void SetColor(TColor Value) {
        FColor = Value;
        if (OnChange) OnChange(this);
    }
    TNotifyEvent OnChange;

private:
    TColor FColor = 0x00FFFF;
};

// ---- drag scrolling ---------------------------------------------------------------------------------
struct TDragScrollMargins {
    int TopMargin = 50;
    int BottomMargin = 50;
    int LeftMargin = 50;
    int RightMargin = 50;
};
struct TDragScrollDelays {
    int InitialDelay = 1000;
    int RepeatDelay = 250;
};

class TDragScrollOptions : public TPersistent {
public:
    // Copies Active and both sub-objects.
    void Assign(TPersistent* Source) override {
        if (auto* S = dynamic_cast<TDragScrollOptions*>(Source)) {
            FActive = S->FActive;
            Margins = S->Margins;
            Delays = S->Delays;
        }
    }
    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    TDragScrollMargins Margins;
    TDragScrollDelays Delays;

private:
    bool FActive = false;
};

// ---- progress bars ----------------------------------------------------------------------------------
enum TProgressStyle { psXP, psClassic };

// Every new value fires OnChange; Assign copies every property, then fires OnChange.
class TGridProgressAppearance : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
    SETTING_CHANGE(TColor, CompleteColor, TColor(0x0000FF))
    SETTING_CHANGE(TColor, CompleteFontColor, TColor(0xFF0000))
    SETTING_CHANGE(TColor, UnCompleteColor, clNone)
    SETTING_CHANGE(TColor, UnCompleteFontColor, clWindowText)
    SETTING_CHANGE(TColor, Level0Color, TColor(0x00FF00))
    SETTING_CHANGE(TColor, Level0ColorTo, TColor(0xE1FFE1))
    SETTING_CHANGE(TColor, Level1Color, TColor(0x00FFFF))
    SETTING_CHANGE(TColor, Level1ColorTo, TColor(0xCAFFFF))
    SETTING_CHANGE(TColor, Level2Color, TColor(0x53A9FF))
    SETTING_CHANGE(TColor, Level2ColorTo, TColor(0xA8D3FF))
    SETTING_CHANGE(TColor, Level3Color, TColor(0x0000FF))
    SETTING_CHANGE(TColor, Level3ColorTo, TColor(0xCACAFF))
    SETTING_CHANGE(int, Level1Perc, 70)
    SETTING_CHANGE(int, Level2Perc, 90)
    SETTING_CHANGE(TColor, BorderColor, TColor(0))
    SETTING_CHANGE(bool, ShowBorder, false)
    SETTING_CHANGE(bool, Stacked, false)
    SETTING_CHANGE(bool, ShowPercentage, true)
    SETTING_CHANGE(bool, CompletionSmooth, true)
    SETTING_CHANGE(bool, ShowGradient, true)
    SETTING_CHANGE(int, Steps, 11)
    SETTING_CHANGE(TProgressStyle, Style, psXP)
    TNotifyEvent OnChange;
};
