// The few Win32 types and constants the portable code uses. On Windows they come from the platform's
// own headers; elsewhere they are declared here with the same names, sizes and values, so the logic
// builds and is tested natively.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>
#else
#include <cstdint>

typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef struct HDC__* HDC;
typedef struct HGDIOBJ__* HGDIOBJ;
typedef HGDIOBJ HPEN;
typedef HGDIOBJ HBRUSH;
typedef HGDIOBJ HFONT;
typedef struct HHOOK__* HHOOK;

typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef std::intptr_t LONG_PTR;
typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef std::uintptr_t DWORD_PTR;
typedef unsigned int UINT;
typedef int BOOL;
typedef std::int32_t LONG;
typedef std::uint32_t DWORD;
typedef std::uint16_t WORD;
typedef std::uint8_t BYTE;
typedef DWORD COLORREF;

#define TRUE 1
#define FALSE 0

struct RECT {
    LONG left, top, right, bottom;
};
struct POINT {
    LONG x, y;
};
struct SIZE {
    LONG cx, cy;
};
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage;
    HDC hdc;
    RECT rc;
    DWORD_PTR dwItemSpec;
    UINT uItemState;
    LPARAM lItemlParam;
};
struct MOUSEHOOKSTRUCT {
    POINT pt;
    HWND hwnd;
    UINT wHitTestCode;
    ULONG_PTR dwExtraInfo;
};
struct MOUSEHOOKSTRUCTEX : MOUSEHOOKSTRUCT {
    DWORD mouseData; // for WM_MOUSEWHEEL the wheel's delta in the high word
};
#define WHEEL_DELTA 120

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)(((WORD)(c)) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))
#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)((WORD)(l) | ((DWORD)((WORD)(h))) << 16))

// Window messages
#define WM_DESTROY 0x0002
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_CLOSE 0x0010
#define WM_MOUSEACTIVATE 0x0021
#define MA_NOACTIVATE 3
#define WM_APP 0x8000
#define WM_GETTEXTLENGTH 0x000E
#define WM_NOTIFY 0x004E
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_CTLCOLORMSGBOX 0x0132
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORLISTBOX 0x0134
#define WM_CTLCOLORBTN 0x0135
#define WM_CTLCOLORDLG 0x0136
#define WM_CTLCOLORSCROLLBAR 0x0137
#define WM_CTLCOLORSTATIC 0x0138
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_MOUSEWHEEL 0x020A
#define WM_NCMOUSEMOVE 0x00A0
#define WM_USER 0x0400

#define BN_CLICKED 0
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

// Buttons, edit boxes, up-down controls
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BST_UNCHECKED 0
#define BST_CHECKED 1
#define EM_SETSEL 0x00B1
#define UDM_SETRANGE (WM_USER + 101)

// SetWindowPos
#define HWND_TOPMOST ((HWND)(LONG_PTR)-1)
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOOWNERZORDER 0x0200
#define HWND_TOP ((HWND)0)

// GetWindow
#define GW_HWNDFIRST 0
#define GW_HWNDNEXT 2
#define GW_CHILD 5

// GetSystemMetrics
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXFULLSCREEN 16
#define SM_CYFULLSCREEN 17

// RedrawWindow
#define RDW_INVALIDATE 0x0001
#define RDW_ERASE 0x0004
#define RDW_UPDATENOW 0x0100

// MessageBox
#define MB_OK 0x00000000
#define MB_ICONEXCLAMATION 0x00000030
#define MB_YESNO 0x00000004
#define MB_ICONQUESTION 0x00000020
#define MB_DEFBUTTON2 0x00000100

// Window styles
#define WS_DISABLED 0x08000000L
#define WS_POPUP 0x80000000L
#define WS_BORDER 0x00800000L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_NOACTIVATE 0x08000000L
#define SS_CENTER 0x00000001L

// Trackbar
#define TBM_GETPOS (WM_USER)
#define TBM_GETRANGEMIN (WM_USER + 1)
#define TBM_GETRANGEMAX (WM_USER + 2)
#define TBM_SETPOS (WM_USER + 5)
#define TBM_SETRANGE (WM_USER + 6)
#define TBM_SETRANGEMIN (WM_USER + 7)
#define TBM_SETRANGEMAX (WM_USER + 8)
#define TBM_SETSEL (WM_USER + 10)
#define TBM_SETSELSTART (WM_USER + 11)
#define TBM_SETSELEND (WM_USER + 12)
#define TBM_GETSELSTART (WM_USER + 17)
#define TBM_GETSELEND (WM_USER + 18)
#define TBM_SETTICFREQ (WM_USER + 20)
#define TBM_GETTHUMBRECT (WM_USER + 25)
#define TBM_GETCHANNELRECT (WM_USER + 26)
#define TBS_AUTOTICKS 0x0001
#define TBS_VERT 0x0002
#define TBS_HORZ 0x0000
#define TBS_TOP 0x0004
#define TBS_LEFT 0x0004
#define TBS_BOTH 0x0008
#define TBS_NOTICKS 0x0010
#define TBS_ENABLESELRANGE 0x0020
#define TBCD_TICS 0x0001
#define TBCD_THUMB 0x0002
#define TBCD_CHANNEL 0x0003

// Custom draw
#define NM_CUSTOMDRAW ((UINT)-12)
#define NM_RELEASEDCAPTURE ((UINT)-16)
#define CDDS_PREPAINT 0x00000001
#define CDDS_ITEM 0x00010000
#define CDDS_ITEMPREPAINT (CDDS_ITEM | CDDS_PREPAINT)
#define CDRF_DODEFAULT 0x00000000
#define CDRF_SKIPDEFAULT 0x00000004
#define CDRF_NOTIFYITEMDRAW 0x00000020
#define CDIS_SELECTED 0x0001

// System colours
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_HIGHLIGHT 13
#define COLOR_BTNFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DDKSHADOW 21

// Pens and fonts
#define PS_SOLID 0
#define FW_BOLD 700
#define FF_SWISS (2 << 4)
#define DEFAULT_PITCH 0

typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

// Hooks
#define HC_ACTION 0
#define HC_NOREMOVE 3
#endif
