#include "scenario.h"

#include <cstdio>

#include "main_window.h"
#include "settings.h"
#include "support/zqtest.h"

namespace e2e {

bool Scenario::Check(bool ok, const std::wstring& what) {
  if (ok) {
    std::printf("ok: %ls\n", what.c_str());
  } else {
    std::printf("FAIL: %ls\n", what.c_str());
    ++failures_;
    KeepScreenshot();
  }
  std::fflush(stdout);
  return ok;
}

void Scenario::KeepScreenshot() {
  if (screenshot_) return;
  screenshot_ = true;
  const std::wstring file = name + L".bmp";
  if (SaveScreenshot(file)) std::printf("the screen at the first failure: %ls\n", file.c_str());
}

void Scenario::ForgetGadget() {
  zqtest::DeleteSettings();
  zqtest::DeleteValue(settings::kRunKeyPath, settings::kAutostartValue);
}

void Scenario::AcceptedBefore() {
  ForgetGadget();
  zqtest::SeedDword(settings::kUserAgreement, 1);
}

Started Scenario::StartAccepted() {
  AcceptedBefore();
  Program program(gadget);
  const HWND window = AwaitGadget(program);
  return {std::move(program), window};
}

HWND Scenario::AwaitGadget(const Program& program) {
  return BringForward(Require(AwaitWindow(kMainWndTitle, 30000, program.id()), L"the gadget's window shows"),
                      L"the gadget's window");
}

HWND Scenario::BringForward(HWND window, const std::wstring& what) {
  Require(Activate(window), what + L" comes to the front");
  // The foreground window need not be on top (under a topmost window, say).
  std::optional<std::wstring> cover;
  WaitUntil([&] {
    if (!(cover = CoveredBy(window))) return true;
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return false;
  }, 3000);
  Require(!cover, what + L" lies uncovered" + (cover ? L", but " + *cover + L" covers it" : L""));
  return window;
}

void Scenario::ExpectExit(const Program& program, DWORD code, const std::wstring& what) {
  const auto exit = program.AwaitExit(30000);
  Check(exit == code, what + (exit ? L" (ended with " + std::to_wstring(*exit) + L")" : L" (still running)"));
}

// Where the system moves only an outline while dragging, the window follows
// at the release; Wine's own move loop moves the window whatever that
// setting says. A move made before the move loop runs would go unseen.
void Scenario::DragWindow(HWND window, POINT grab, int dx, int dy, int steps) {
  BOOL fullWindows = TRUE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullWindows, 0);
  const RECT r = WindowRect(window);
  PointAt(grab);
  PressButton();
  Require(WaitUntil([&] { return InMoveLoop(window); }, 10000), L"pressing the body starts moving the window");
  for (int step = 1; step <= steps; ++step) {
    PointAt({grab.x + dx * step / steps, grab.y + dy * step / steps});
    const POINT want{r.left + dx * step / steps, r.top + dy * step / steps};
    if (fullWindows || OnWine())
      Require(WaitUntil([&] { return WindowAt(window, want); }, 10000),
              L"the window follows the pointer to " + PointText(want));
  }
  ReleaseButton();
}

void Scenario::PointAway(HWND window) {
  const RECT r = WindowRect(window);
  PointAt({r.right + 20, r.bottom + 20});
}

bool Scenario::IsOwnRunValue(const zqtest::RawValue& run) const {
  return run.present && run.type == REG_SZ && run.AsString() == L"\"" + gadget + L"\"" + L'\0';
}

void Scenario::CloseAndExpectExit(const Program& program, HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  ExpectExit(program, 0, L"closing the window ends the process with 0");
}

}  // namespace e2e
