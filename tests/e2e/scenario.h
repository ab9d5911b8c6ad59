// One end-to-end scenario's run: the programs it uses, its verdicts, and the
// steps that several scenarios share.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "desktop.h"

namespace e2e {

inline constexpr wchar_t kDialogTitle[] = L"Zelvaquint - User Agreement";
inline constexpr wchar_t kErrorCaption[] = L"Ostrevo";
// What CTest counts as a skipped scenario.
inline constexpr int kSkipped = 77;

// Ends a scenario at once; its failure is already counted.
struct Abort {};

// Places on the gadget's window, from its top left: the middle of the close
// and of the donation button, and two of the body, on the chart and low on it.
inline constexpr POINT kCloseButton{312, 33};
inline constexpr POINT kDonateButton{274, 33};
inline constexpr POINT kChart{150, 250};
inline constexpr POINT kLowChart{150, 300};
inline POINT Offset(POINT p, int dx, int dy) { return {p.x + dx, p.y + dy}; }
// The screen point of `at` (and `dx` to the right) on a window at `r`.
inline POINT At(const RECT& r, POINT at, int dx = 0) { return Offset({r.left, r.top}, at.x + dx, at.y); }

// A gadget that a scenario started, and its window.
struct Started {
  Program program;
  HWND window;
};

class Scenario {
 public:
  Scenario(std::wstring name, std::wstring gadget, std::wstring helper)
      : name(std::move(name)), gadget(std::move(gadget)), helper(std::move(helper)) {}

  const std::wstring name;
  const std::wstring gadget;  // the program under test, as a Windows path
  const std::wstring helper;  // the stand-in browser, where one is needed

  // Verdicts: Check notes a failure and goes on, Require ends the scenario.
  bool Check(bool ok, const std::wstring& what);
  template <typename T>
  T Require(T value, const std::wstring& what) {
    if (!Check(static_cast<bool>(value), what)) throw Abort{};
    return value;
  }
  int failures() const { return failures_; }

  // Saves the screen as <name>.bmp beside the log, once, at the first failure.
  void KeepScreenshot();

  // A profile on which the gadget never ran: no settings key, no Run value.
  static void ForgetGadget();
  // The same profile after a first start that accepted the agreement.
  static void AcceptedBefore();
  // The gadget started on a profile that accepted the agreement before, its
  // window required to show and brought to the front.
  Started StartAccepted();
  // The window of the gadget that `program` runs, required to show, brought
  // to the front.
  HWND AwaitGadget(const Program& program);
  // Brings `window` (`what` names it) to the front, as a click on it would,
  // and requires it there and uncovered: the pixels and the clicks at its
  // place must be its own.
  HWND BringForward(HWND window, const std::wstring& what);
  // Closes the gadget's window as the system does (WM_CLOSE) and checks that
  // the process then ends with 0.
  void CloseAndExpectExit(const Program& program, HWND window);
  // Grabs `window` at `grab` and pulls it by (dx, dy) in `steps` steps, as a
  // person does who watches it follow and lets go once it is there.
  void DragWindow(HWND window, POINT grab, int dx, int dy, int steps);
  // Moves the pointer off the gadget's window: no hover tile in its face.
  static void PointAway(HWND window);
  // Whether `run` is the Run value of the gadget under test: its path quoted.
  bool IsOwnRunValue(const zqtest::RawValue& run) const;
  void ExpectExit(const Program& program, DWORD code, const std::wstring& what);

 private:
  int failures_ = 0;
  bool screenshot_ = false;
};

}  // namespace e2e
