/*
 * WButtonEx: a skinned child-window button with five behaviour modes.
 *
 * The one header a parent window needs. The values compile on any platform,
 * so platform-free code shares them; the Win32 part is there on Windows.
 *
 * Control messages: LOWORD(wParam) 0 queries; non-zero stores lParam and,
 * with HIWORD(wParam) non-zero, also repaints. The result is the value now
 * held. Pairs travel as MAKELPARAM(first, second) of unsigned 16-bit halves.
 * BXM_COLOR differs: LOWORD(wParam) picks a colour slot, it always stores
 * and returns 0.
 *
 * Reports to the parent: WM_COMMAND (wParam = control id, lParam = control)
 * and WM_NOTIFY with BXN_HOVER / BXN_LEAVE. The parent may destroy, disable
 * or reconfigure the control inside any report.
 */
#ifndef ZQ_TOOLKIT_WBUTTONEX_H
#define ZQ_TOOLKIT_WBUTTONEX_H

#define WBUTTONEX_CLASS L"WButtonEx_QV01"

/* Control messages, WM_USER + 2 .. WM_USER + 15. */
#define BXM_MODE        0x0402
#define BXM_SKINSTYLE   0x0403
#define BXM_SKINBITMAP  0x0404
#define BXM_ICON1       0x0405
#define BXM_ICON2       0x0406
#define BXM_ICON1POS    0x0407
#define BXM_ICON2POS    0x0408
#define BXM_MARGIN      0x0409
#define BXM_TEXTX       0x040A
#define BXM_COLOR       0x040B
#define BXM_CHECKED     0x040C
#define BXM_AUTOTOGGLE  0x040D
#define BXM_VALUE       0x040E
#define BXM_RANGE       0x040F

/* Behaviour modes (BXM_MODE). Any other value leaves the control inert to clicks. */
#define BXMODE_PUSH     0
#define BXMODE_TOGGLE   1
#define BXMODE_CYCLE    2
#define BXMODE_SPIN     3
#define BXMODE_LATCH    4

/* Skin styles (BXM_SKINSTYLE). */
#define BXSKIN_FRAMED   0 /* 37 x 148 skin: corners, edges and a centre colour per state */
#define BXSKIN_STRIP    1 /* client-sized images of the four states, stacked */

/* Colour slots (LOWORD(wParam) of BXM_COLOR). */
#define BXC_NORMAL      0
#define BXC_HOVER       1
#define BXC_PRESSED     2
#define BXC_DISABLED    3

/* WM_NOTIFY codes. */
#define BXN_HOVER       0 /* the pointer has dwelt over the hot area */
#define BXN_LEAVE       1 /* the pointer left the hot area, or the capture went */

#ifdef _WIN32
#include <windows.h>

/* Registers the class. Returns the atom widened, 0 on failure. Call once,
 * after the typeface "Bebas Neue Regular" is available to the process. */
DWORD RegisterButtonClass(void);

/* Store quietly (repaint = 0) or store and repaint; returns the value now held. */
static inline LRESULT ButtonExSet(HWND button, UINT msg, LPARAM value, int repaint) {
  return SendMessageW(button, msg, MAKEWPARAM(1, repaint ? 1 : 0), value);
}

static inline LRESULT ButtonExGet(HWND button, UINT msg) {
  return SendMessageW(button, msg, 0, 0);
}

static inline void ButtonExSetColor(HWND button, WORD slot, COLORREF color, int repaint) {
  SendMessageW(button, BXM_COLOR, MAKEWPARAM(slot, repaint ? 1 : 0), (LPARAM)color);
}

/* The lParam of BXM_ICON1POS, BXM_ICON2POS and BXM_RANGE. */
#define BXPAIR(first, second) MAKELPARAM((WORD)(first), (WORD)(second))

#endif

#endif
