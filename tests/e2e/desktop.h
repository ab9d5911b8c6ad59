// What the end-to-end driver does as a person at the desktop would: start
// programs, wait for their windows, move and press the pointer and type
// through the system's input path, and look at the screen.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "handles.h"
#include "support/zqtest.h"

namespace e2e {

using zqtest::Program;
using zqtest::WaitUntil;

// A path as Windows programs take it: under Wine a Unix path (as CTest
// passes it) becomes its DOS name; any path becomes full, with backslashes.
std::wstring WindowsPath(const std::wstring& path);

// The visible top-level windows titled exactly `title`, of process `pid`
// when it is not 0.
std::vector<HWND> WindowsTitled(const wchar_t* title, DWORD pid = 0);
// The first such window within `timeoutMs`, or nullptr.
HWND AwaitWindow(const wchar_t* title, DWORD timeoutMs, DWORD pid = 0);
RECT WindowRect(HWND window);
// Whether the window's top left corner is at `p`.
bool WindowAt(HWND window, POINT p);
// "(x, y)", for the verdicts.
std::wstring PointText(POINT p);

// Pointer and keyboard, through SendInput. Points are in screen coordinates.
void PointAt(POINT at);
void PressButton();
void ReleaseButton();
void ClickAt(POINT at);
// Presses the keys in order and releases them in reverse: {VK_MENU, VK_F4}.
void PressKeys(std::initializer_list<WORD> keys);
// Makes `window` the foreground window, as a click on it would; false if it
// did not become so within a few seconds.
bool Activate(HWND window);
// What covers any part of `window` on the screen, described; nothing if no
// other window does.
std::optional<std::wstring> CoveredBy(HWND window);

// A window of a thread of its own over `area` and in front, as a console that
// a program opens behind would be; closed with the object.
class Cover {
 public:
  explicit Cover(const RECT& area);
  ~Cover();
  HWND window() const { return window_; }

 private:
  std::thread thread_;
  DWORD threadId_ = 0;
  HWND window_ = nullptr;
};

// A point of `window` that answers the hit test with `hit` (HTCLOSE, say),
// found along its caption's row; nothing if there is none.
std::optional<POINT> FindHit(HWND window, LRESULT hit);

// Whether the thread of `window` runs the system's loop that moves or sizes a
// window (after a press on a caption, say).
bool InMoveLoop(HWND window);
// Whether the platform is Wine, whose ways differ in places from Windows'.
bool OnWine();

// The screen's pixels in `area`, as a person sees them. On a scaled desktop,
// where none is the gadget's own, the scenario is skipped.
zqtest::Pixels ScreenPixels(const RECT& area);
// The whole screen, saved as a 32-bit BMP; false if it could not be written.
bool SaveScreenshot(const std::wstring& file);
bool SaveBitmap(const zqtest::Pixels& pixels, const std::wstring& file);

}  // namespace e2e
