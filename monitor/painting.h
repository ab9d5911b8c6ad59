// The face of the monitor window: the background artwork, the two large
// readings of the newest sample and the ten-column chart of the history.
#pragma once

#include <windows.h>

#include "gadget_face.h"
#include "main_window.h"

inline constexpr COLORREF kCpuColour = 0x00CEC23E;  // RGB(62, 194, 206)
inline constexpr COLORREF kMemColour = 0x0071C888;  // RGB(136, 200, 113)

inline constexpr LONG kSmallFontHeight = 18;  // chart labels
inline constexpr LONG kLargeFontHeight = 26;  // the two large readings

// Where the painting puts things, in client coordinates; rectangles are
// right- and bottom-exclusive.
namespace face {

inline constexpr RECT kCpuReading{74, 127, 152, 179};
inline constexpr RECT kMemReading{197, 127, 275, 179};

inline constexpr int kColumns = 10;
// Bars stand on this row, directly above the grid's bottom line; one pixel
// per percent, so 100 reaches the grid's top line at 213.
inline constexpr int kBarBase = 312;
inline constexpr int kBarWidth = 5;

// The right edge of chart column i; the newest sample is column 0, leftmost.
constexpr int ColumnRight(int i) { return 50 + 31 * i; }
constexpr int CpuBarLeft(int i) { return ColumnRight(i) - 21; }
constexpr int MemBarLeft(int i) { return ColumnRight(i) - 14; }
constexpr RECT CpuLabel(int i) { return {ColumnRight(i) - 30, 317, ColumnRight(i), 334}; }
constexpr RECT MemLabel(int i) { return {ColumnRight(i) - 30, 335, ColumnRight(i), 352}; }

}  // namespace face

HPEN CreateSeriesPen(COLORREF colour);

// The whole face, drawn into `target`, whose top-left 349 x 366 it covers:
// the artwork already loaded and selected into `background`, then the
// readings and the chart of `data`'s history with its fonts and pens. The
// target's pen and font are restored before it returns.
void ComposeFrame(HDC target, HDC background, const MainWndData& data);
// The same with the artwork loaded anew.
void ComposeFrame(HDC target, const MainWndData& data);
// One whole frame onto `window`, a DC of the window, as OnPaint draws it:
// the artwork loaded anew, a new width x height back buffer composed from
// `data`, one copy to the window, and everything released again.
void PaintFrame(HDC window, int width, int height, const MainWndData& data);
