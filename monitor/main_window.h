// The monitor window: the gadget itself, and its per-window record.
#pragma once

#include <windows.h>

#include "load_math.h"
#include "window_record.h"

inline constexpr wchar_t kMainWndClassName[] = L"QVZLMainWndClass";
inline constexpr wchar_t kMainWndTitle[] = L"QUORVANE Zelvaquint";

// The two buttons in the top-right corner.
inline constexpr int IDC_CLOSE = 0x402;
inline constexpr int IDC_DONATE = 0x403;

inline constexpr UINT_PTR IDT_SAMPLE = 100;
inline constexpr UINT_PTR IDT_SAVEPOS = 101;
inline constexpr UINT kSamplePeriodMs = 1000;
// The position is saved this long after the last change of a burst.
inline constexpr UINT kSavePosDelayMs = 500;

struct MainWndData {
  HWND hwnd = nullptr;
  HFONT hSmallFont = nullptr;
  HFONT hLargeFont = nullptr;
  HPEN hCpuPen = nullptr;
  HPEN hMemPen = nullptr;
  LoadHistory history{};

  // A bare record with no window and no drawing objects.
  MainWndData() = default;
  // The window's record: fonts, pens, a zero history, the autostart entry
  // rewritten and the sampling timer started.
  explicit MainWndData(HWND window);
  // Stops the sampling timer and deletes whatever fonts and pens it holds.
  ~MainWndData();
  MainWndData(const MainWndData&) = delete;
  MainWndData& operator=(const MainWndData&) = delete;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // One sampling tick: measures processor and memory load, pushes them at
  // the head of the history and asks for a repaint without erasing.
  void SampleLoad();

 private:
  // Creates the window's buttons (commands.cpp).
  LRESULT OnCreate();
  // The buttons' reports (commands.cpp).
  LRESULT OnCommand(WPARAM wParam);
  // Composes the whole face off-screen and copies it in one piece (painting.cpp).
  LRESULT OnPaint();
  LRESULT OnTimer(WPARAM timerId);
  LRESULT OnDestroy();
  LRESULT OnClose();
  LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
  void SavePosition();
};

// Registers "QVZLMainWndClass". Returns the class atom, or 0 on failure.
DWORD RegisterMainWndClass();

// Creates, shows and places the monitor window. Returns nullptr on failure.
HWND CreateMainWnd();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The record of a monitor window, or nullptr before WM_NCCREATE and after
// WM_NCDESTROY.
inline MainWndData* MainWndRecord(HWND window) { return win32::RecordOf<MainWndData>(window); }
