// The steps of a frame, one by one: internal to the painting, and seen
// besides only by the frame benchmark, which times each alone.
#pragma once

#include <windows.h>

#include "main_window.h"

// IDB_BACKGROUND of the process's own module, a new bitmap on every call.
HBITMAP LoadBackground();

// Each draws into `target`:
// the artwork selected into `background`, copied unscaled to the top left;
void CopyBackground(HDC target, HDC background);
// the two large readings of the newest sample, in the large font;
void DrawReadings(HDC target, const MainWndData& data);
// the ten columns, newest leftmost: bars, then labels in the small font.
void DrawChart(HDC target, const MainWndData& data);
