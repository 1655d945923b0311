#pragma once
// Window messages: the record every control's WndProc receives, the message numbers the system
// handles, the dialog-code flags, key codes, and the queue of posted messages.
#include <QString>

#include <cstdint>

class TControl;

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using Word = uint16_t;
using Cardinal = uint32_t;

struct TMessage {
    Cardinal Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

constexpr Word LoWord(uintptr_t V) { return Word(V & 0xFFFF); }
constexpr Word HiWord(uintptr_t V) { return Word((V >> 16) & 0xFFFF); }
constexpr LPARAM MakeLParam(int Lo, int Hi) { return LPARAM(uint32_t((Lo & 0xFFFF) | ((Hi & 0xFFFF) << 16))); }
constexpr WPARAM MakeWParam(int Lo, int Hi) { return WPARAM(uint32_t((Lo & 0xFFFF) | ((Hi & 0xFFFF) << 16))); }
// The signed coordinates packed into a mouse message's LParam.
constexpr int GetXLParam(LPARAM L) { return int16_t(L & 0xFFFF); }
constexpr int GetYLParam(LPARAM L) { return int16_t((L >> 16) & 0xFFFF); }

// ---- window messages --------------------------------------------------------------------------
constexpr Cardinal WM_NULL = 0x0000;
constexpr Cardinal WM_CREATE = 0x0001;
constexpr Cardinal WM_DESTROY = 0x0002;
constexpr Cardinal WM_MOVE = 0x0003;
constexpr Cardinal WM_SIZE = 0x0005;
constexpr Cardinal WM_ACTIVATE = 0x0006;
constexpr Cardinal WM_SETFOCUS = 0x0007; // WParam: the control that lost the focus (TControl*), 0 if none
constexpr Cardinal WM_KILLFOCUS = 0x0008; // WParam: the control that gets the focus (TControl*), 0 if none
constexpr Cardinal WM_ENABLE = 0x000A;
constexpr Cardinal WM_SETTEXT = 0x000C;
constexpr Cardinal WM_PAINT = 0x000F;
constexpr Cardinal WM_CLOSE = 0x0010;
constexpr Cardinal WM_ERASEBKGND = 0x0014;
constexpr Cardinal WM_SHOWWINDOW = 0x0018;
constexpr Cardinal WM_CANCELMODE = 0x001F;
constexpr Cardinal WM_SETCURSOR = 0x0020;
constexpr Cardinal WM_MOUSEACTIVATE = 0x0021;
constexpr Cardinal WM_WINDOWPOSCHANGING = 0x0046;
constexpr Cardinal WM_WINDOWPOSCHANGED = 0x0047;
constexpr Cardinal WM_CONTEXTMENU = 0x007B;
constexpr Cardinal WM_NCHITTEST = 0x0084;
constexpr Cardinal WM_NCPAINT = 0x0085;
constexpr Cardinal WM_NCACTIVATE = 0x0086;
constexpr Cardinal WM_GETDLGCODE = 0x0087;
constexpr Cardinal WM_NCLBUTTONDOWN = 0x00A1;
constexpr Cardinal WM_KEYDOWN = 0x0100; // WParam: VK code; LParam: TShiftState bits
constexpr Cardinal WM_KEYUP = 0x0101; // WParam: VK code; LParam: TShiftState bits
constexpr Cardinal WM_CHAR = 0x0102; // WParam: the UTF-16 character
constexpr Cardinal WM_SYSKEYDOWN = 0x0104;
constexpr Cardinal WM_SYSKEYUP = 0x0105;
constexpr Cardinal WM_SYSCHAR = 0x0106;
constexpr Cardinal WM_COMMAND = 0x0111;
constexpr Cardinal WM_TIMER = 0x0113; // WParam: the timer id
constexpr Cardinal WM_HSCROLL = 0x0114;
constexpr Cardinal WM_VSCROLL = 0x0115;
constexpr Cardinal WM_MOUSEMOVE = 0x0200; // WParam: MK_* flags; LParam: MakeLParam(X, Y) in client pixels
constexpr Cardinal WM_LBUTTONDOWN = 0x0201;
constexpr Cardinal WM_LBUTTONUP = 0x0202;
constexpr Cardinal WM_LBUTTONDBLCLK = 0x0203;
constexpr Cardinal WM_RBUTTONDOWN = 0x0204;
constexpr Cardinal WM_RBUTTONUP = 0x0205;
constexpr Cardinal WM_RBUTTONDBLCLK = 0x0206;
constexpr Cardinal WM_MBUTTONDOWN = 0x0207;
constexpr Cardinal WM_MBUTTONUP = 0x0208;
constexpr Cardinal WM_MBUTTONDBLCLK = 0x0209;
constexpr Cardinal WM_MOUSEWHEEL = 0x020A; // WParam: MakeWParam(MK_* flags, delta); LParam: screen X, Y
constexpr Cardinal WM_SIZING = 0x0214;
constexpr Cardinal WM_CUT = 0x0300;
constexpr Cardinal WM_COPY = 0x0301;
constexpr Cardinal WM_PASTE = 0x0302;
constexpr Cardinal WM_CLEAR = 0x0303;
constexpr Cardinal WM_UNDO = 0x0304;
constexpr Cardinal WM_THEMECHANGED = 0x031A;
constexpr Cardinal WM_USER = 0x0400;
constexpr Cardinal WM_APP = 0x8000;

// Mouse-message key flags. MK_ALT is this platform's own: the Alt key held during the event.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;
constexpr WPARAM MK_ALT = 0x0020;
constexpr WPARAM MK_DOUBLE = 0x0040; // the press of a double click

// ---- control messages -------------------------------------------------------------------------
constexpr Cardinal CM_BASE = 0xB000;
// Fixed numbers: code may name these messages by number (a control's special-key query is
// 0xB01E, the wheel question to the parent 0xB043).
constexpr Cardinal CM_ACTIVATE = CM_BASE + 0;
constexpr Cardinal CM_DEACTIVATE = CM_BASE + 1;
constexpr Cardinal CM_GOTFOCUS = CM_BASE + 2;
constexpr Cardinal CM_LOSTFOCUS = CM_BASE + 3;
constexpr Cardinal CM_CANCELMODE = CM_BASE + 4;
constexpr Cardinal CM_DIALOGKEY = CM_BASE + 5; // WParam: VK; Result 1 when a control took the key
constexpr Cardinal CM_DIALOGCHAR = CM_BASE + 6;
constexpr Cardinal CM_FOCUSCHANGED = CM_BASE + 7;
constexpr Cardinal CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr Cardinal CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr Cardinal CM_HITTEST = CM_BASE + 10;
constexpr Cardinal CM_VISIBLECHANGED = CM_BASE + 11;
constexpr Cardinal CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr Cardinal CM_COLORCHANGED = CM_BASE + 13;
constexpr Cardinal CM_FONTCHANGED = CM_BASE + 14;
constexpr Cardinal CM_CURSORCHANGED = CM_BASE + 15;
constexpr Cardinal CM_TEXTCHANGED = CM_BASE + 18;
constexpr Cardinal CM_MOUSEENTER = CM_BASE + 19;
constexpr Cardinal CM_MOUSELEAVE = CM_BASE + 20;
constexpr Cardinal CM_BUTTONPRESSED = CM_BASE + 24;
constexpr Cardinal CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr Cardinal CM_ENTER = CM_BASE + 26; // the control became the form's active control (or an ancestor of it)
constexpr Cardinal CM_EXIT = CM_BASE + 27;
constexpr Cardinal CM_WANTSPECIALKEY = CM_BASE + 30; // WParam: VK; Result non-zero: the control takes the key itself
constexpr Cardinal CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr Cardinal CM_HINTSHOW = CM_BASE + 48; // LParam: THintInfo*; Result non-zero suppresses the hint
constexpr Cardinal CM_MOUSEWHEEL = CM_BASE + 67;
constexpr Cardinal CM_STYLECHANGED = CM_BASE + 81; // the application's visual style changed

// Notification codes carried by WM_COMMAND (HiWord of WParam; LParam is the sending TControl*).
constexpr Word EN_CHANGE = 0x0300;
constexpr Word CBN_SELCHANGE = 1;
constexpr Word CBN_DBLCLK = 2;
constexpr Word CBN_EDITCHANGE = 5;
constexpr Word CBN_DROPDOWN = 7;
constexpr Word CBN_CLOSEUP = 8;
constexpr Word BN_CLICKED = 0;

// Edit-control messages (TCustomEdit answers them).
constexpr Cardinal EM_GETSEL = 0x00B0; // Result MakeLParam(start, end); WParam/LParam: optional uint32_t* for them
constexpr Cardinal EM_SETSEL = 0x00B1; // WParam start, LParam end; start -1: no selection; end -1: to the end
constexpr Cardinal EM_REPLACESEL = 0x00C2; // LParam: const QString*
constexpr Cardinal EM_LIMITTEXT = 0x00C5;
constexpr Cardinal EM_SETREADONLY = 0x00CF;
constexpr Cardinal EM_POSFROMCHAR =
    0x00D6; // WParam index; Result MakeLParam(x, y) of its left edge, -1 beyond the text
constexpr Cardinal EM_CHARFROMPOS = 0x00D7; // LParam MakeLParam(x, y); Result: the character index in the low word

// Scroll codes (LoWord of WM_HSCROLL / WM_VSCROLL WParam).
constexpr Word SB_LINEUP = 0;
constexpr Word SB_LINELEFT = 0;
constexpr Word SB_LINEDOWN = 1;
constexpr Word SB_LINERIGHT = 1;
constexpr Word SB_PAGEUP = 2;
constexpr Word SB_PAGELEFT = 2;
constexpr Word SB_PAGEDOWN = 3;
constexpr Word SB_PAGERIGHT = 3;
constexpr Word SB_THUMBPOSITION = 4;
constexpr Word SB_THUMBTRACK = 5;
constexpr Word SB_TOP = 6;
constexpr Word SB_LEFT = 6;
constexpr Word SB_BOTTOM = 7;
constexpr Word SB_RIGHT = 7;
constexpr Word SB_ENDSCROLL = 8;

// Answers to WM_GETDLGCODE: which keys a control takes before the form uses them to move the
// focus (Tab, arrows) or to press its default and cancel buttons (Enter, Escape).
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// ---- virtual key codes ------------------------------------------------------------------------
constexpr Word VK_LBUTTON = 0x01;
constexpr Word VK_RBUTTON = 0x02;
constexpr Word VK_CANCEL = 0x03;
constexpr Word VK_MBUTTON = 0x04;
constexpr Word VK_BACK = 0x08;
constexpr Word VK_TAB = 0x09;
constexpr Word VK_CLEAR = 0x0C;
constexpr Word VK_RETURN = 0x0D;
constexpr Word VK_SHIFT = 0x10;
constexpr Word VK_CONTROL = 0x11;
constexpr Word VK_MENU = 0x12;
constexpr Word VK_PAUSE = 0x13;
constexpr Word VK_CAPITAL = 0x14;
constexpr Word VK_ESCAPE = 0x1B;
constexpr Word VK_SPACE = 0x20;
constexpr Word VK_PRIOR = 0x21;
constexpr Word VK_NEXT = 0x22;
constexpr Word VK_END = 0x23;
constexpr Word VK_HOME = 0x24;
constexpr Word VK_LEFT = 0x25;
constexpr Word VK_UP = 0x26;
constexpr Word VK_RIGHT = 0x27;
constexpr Word VK_DOWN = 0x28;
constexpr Word VK_SELECT = 0x29;
constexpr Word VK_PRINT = 0x2A;
constexpr Word VK_SNAPSHOT = 0x2C;
constexpr Word VK_INSERT = 0x2D;
constexpr Word VK_DELETE = 0x2E;
constexpr Word VK_HELP = 0x2F;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' 0x41..0x5A.
constexpr Word VK_LWIN = 0x5B;
constexpr Word VK_RWIN = 0x5C;
constexpr Word VK_APPS = 0x5D;
constexpr Word VK_NUMPAD0 = 0x60;
constexpr Word VK_NUMPAD1 = 0x61;
constexpr Word VK_NUMPAD2 = 0x62;
constexpr Word VK_NUMPAD3 = 0x63;
constexpr Word VK_NUMPAD4 = 0x64;
constexpr Word VK_NUMPAD5 = 0x65;
constexpr Word VK_NUMPAD6 = 0x66;
constexpr Word VK_NUMPAD7 = 0x67;
constexpr Word VK_NUMPAD8 = 0x68;
constexpr Word VK_NUMPAD9 = 0x69;
constexpr Word VK_MULTIPLY = 0x6A;
constexpr Word VK_ADD = 0x6B;
constexpr Word VK_SEPARATOR = 0x6C;
constexpr Word VK_SUBTRACT = 0x6D;
constexpr Word VK_DECIMAL = 0x6E;
constexpr Word VK_DIVIDE = 0x6F;
constexpr Word VK_F1 = 0x70;
constexpr Word VK_F2 = 0x71;
constexpr Word VK_F3 = 0x72;
constexpr Word VK_F4 = 0x73;
constexpr Word VK_F5 = 0x74;
constexpr Word VK_F6 = 0x75;
constexpr Word VK_F7 = 0x76;
constexpr Word VK_F8 = 0x77;
constexpr Word VK_F9 = 0x78;
constexpr Word VK_F10 = 0x79;
constexpr Word VK_F11 = 0x7A;
constexpr Word VK_F12 = 0x7B;
constexpr Word VK_NUMLOCK = 0x90;
constexpr Word VK_SCROLL = 0x91;
constexpr Word VK_LSHIFT = 0xA0;
constexpr Word VK_RSHIFT = 0xA1;
constexpr Word VK_LCONTROL = 0xA2;
constexpr Word VK_RCONTROL = 0xA3;
constexpr Word VK_LMENU = 0xA4;
constexpr Word VK_RMENU = 0xA5;
constexpr Word VK_OEM_1 = 0xBA; // ;:
constexpr Word VK_OEM_PLUS = 0xBB;
constexpr Word VK_OEM_COMMA = 0xBC;
constexpr Word VK_OEM_MINUS = 0xBD;
constexpr Word VK_OEM_PERIOD = 0xBE;
constexpr Word VK_OEM_2 = 0xBF; // /?
constexpr Word VK_OEM_3 = 0xC0; // `~
constexpr Word VK_OEM_4 = 0xDB; // [{
constexpr Word VK_OEM_5 = 0xDC; // \|
constexpr Word VK_OEM_6 = 0xDD; // ]}
constexpr Word VK_OEM_7 = 0xDE; // '"

// ---- sending and posting ----------------------------------------------------------------------
// Sends synchronously through the target's WndProc; 0 for a null target.
LRESULT SendMessage(TControl* Target, Cardinal Msg, WPARAM WParam, LPARAM LParam);
// Queues the message: it reaches the target's WndProc from the event loop after the current
// handler has returned, and is dropped if the target has been destroyed by then. An exception in
// the target's handling goes to Application->HandleException. False for a null target.
bool PostMessage(TControl* Target, Cardinal Msg, WPARAM WParam, LPARAM LParam);
// A message number unique to Name for the life of the program (0xC000..0xFFFF; the same name,
// without regard to case, gives the same number). 0 for an empty name.
Cardinal RegisterWindowMessage(const QString& Name);
