// The monitor window: the gadget itself, and its per-window record.
#pragma once

#include <windows.h>

#include "load_math.h"

struct MainWndData {
  HWND hwnd = nullptr;
  HFONT hSmallFont = nullptr;
  HFONT hLargeFont = nullptr;
  HPEN hCpuPen = nullptr;
  HPEN hMemPen = nullptr;
  LoadHistory history{};

  // One sampling tick: measures processor and memory load, pushes them at
  // the head of the history and asks for a repaint without erasing.
  void SampleLoad();
};
