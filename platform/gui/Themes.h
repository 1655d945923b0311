#pragma once
// The theme painter: themed check boxes, radio and push buttons, header items, combo and spin
// buttons and progress bars, drawn through the application's QStyle on a TCanvas. One global
// switch says whether themes are active; code that finds them off draws frame controls instead.
//
// Two ways in: the direct one (DrawThemedPart with a TThemedPart and a TThemedState), and the
// visual-styles shape (OpenThemeData with a class name, parts and states by number), which the
// grid's drawing routines are written against.
#include "platform/gui/Graphics.h"

#include <QString>

class QWidget;

bool ThemesActive();
void SetThemesActive(bool Value);

enum class TThemedPart {
    CheckBox,
    RadioButton,
    PushButton,
    HeaderItem,
    ComboDropButton,
    SpinUp,
    SpinDown,
    ProgressBar,
    ProgressChunk,
    ProgressBarVert,
    ProgressChunkVert
};
enum TThemedState { tsNormal, tsHot, tsPressed, tsDisabled };
enum TThemedCheck { tcUnchecked, tcChecked, tcMixed };

// Draws the part filling R (check box and radio keep their natural size, centred in R).
// False when the canvas has nothing to draw on or no application style exists.
bool DrawThemedPart(TCanvas* Canvas, TThemedPart Part, TThemedState State, const TRect& R,
                    TThemedCheck Check = tcUnchecked);
// The part's natural size in pixels (what a check box or spin button wants to be).
TSize ThemedPartSize(TThemedPart Part);

// ---- the visual-styles shape --------------------------------------------------------------
struct TThemeData;
using HTHEME = TThemeData*;

// Class names (case-insensitive, a ";"-separated list takes the first known one): "button",
// "combobox", "spin", "header", "progress". Null when themes are off or no class is known.
HTHEME OpenThemeData(QWidget* Window, const QString& ClassList);
void CloseThemeData(HTHEME Theme);
// False when the part or state is not one of this class's.
bool DrawThemeBackground(HTHEME Theme, TCanvas* Canvas, int PartId, int StateId, const TRect& R,
                         const TRect* Clip = nullptr);
bool GetThemePartSize(HTHEME Theme, TCanvas* Canvas, int PartId, int StateId, TSize& Size);
inline bool IsThemeActive() { return ThemesActive(); }
inline bool IsAppThemed() { return ThemesActive(); }

// "button"
constexpr int BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3;
constexpr int PBS_NORMAL = 1, PBS_HOT = 2, PBS_PRESSED = 3, PBS_DISABLED = 4, PBS_DEFAULTED = 5;
constexpr int RBS_UNCHECKEDNORMAL = 1, RBS_UNCHECKEDHOT = 2, RBS_UNCHECKEDPRESSED = 3, RBS_UNCHECKEDDISABLED = 4,
              RBS_CHECKEDNORMAL = 5, RBS_CHECKEDHOT = 6, RBS_CHECKEDPRESSED = 7, RBS_CHECKEDDISABLED = 8;
constexpr int CBS_UNCHECKEDNORMAL = 1, CBS_UNCHECKEDHOT = 2, CBS_UNCHECKEDPRESSED = 3, CBS_UNCHECKEDDISABLED = 4,
              CBS_CHECKEDNORMAL = 5, CBS_CHECKEDHOT = 6, CBS_CHECKEDPRESSED = 7, CBS_CHECKEDDISABLED = 8,
              CBS_MIXEDNORMAL = 9, CBS_MIXEDHOT = 10, CBS_MIXEDPRESSED = 11, CBS_MIXEDDISABLED = 12;
// "combobox"
constexpr int CP_DROPDOWNBUTTON = 1;
constexpr int CBXS_NORMAL = 1, CBXS_HOT = 2, CBXS_PRESSED = 3, CBXS_DISABLED = 4;
// "spin"
constexpr int SPNP_UP = 1, SPNP_DOWN = 2;
constexpr int UPS_NORMAL = 1, UPS_HOT = 2, UPS_PRESSED = 3, UPS_DISABLED = 4;
constexpr int DNS_NORMAL = 1, DNS_HOT = 2, DNS_PRESSED = 3, DNS_DISABLED = 4;
// "header"
constexpr int HP_HEADERITEM = 1;
constexpr int HIS_NORMAL = 1, HIS_HOT = 2, HIS_PRESSED = 3;
// "progress"
constexpr int PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4;
