// A real WButtonEx in a real parent window, hovered, pressed, dragged out
// and back in while held, and released, many times; every change of look is
// painted synchronously through UpdateWindow. The control uses each of its
// drawing paths: a framed skin (with its centre brush), two icons and a
// text in its own font. soak.sh runs it under Wine's gdi trace.
#include <windows.h>

#include "button_record.h"
#include "resource.h"
#include "soak_support.h"
#include "support/zqtest.h"
#include "wbuttonex.h"

namespace {

constexpr int kId = 7;
constexpr int kParentX = 40, kParentY = 40;
constexpr int kButtonLeft = 20, kButtonTop = 20, kButtonWidth = 40, kButtonHeight = 40;
const POINT kInside{kParentX + kButtonLeft + kButtonWidth / 2, kParentY + kButtonTop + kButtonHeight / 2};
const POINT kOutside{kParentX + kButtonLeft + kButtonWidth / 2, kParentY + kButtonTop + kButtonHeight + 30};

long g_commands = 0;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && LOWORD(wParam) == kId) {
    ++g_commands;
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Driver {
 public:
  explicit Driver(HWND button)
      : button_(button), record_(*reinterpret_cast<bx::ButtonData*>(GetWindowLongPtrW(button, 0))) {}

  // One gesture, its paints timed by `paints`; `cycle` names it in a failure.
  void Cycle(long cycle, soak::Stopwatch& paints) {
    cycle_ = cycle;
    paints_ = &paints;
    Point(kInside);
    Send(WM_MOUSEMOVE);
    Paint(true, false, "hover entry");
    Send(WM_LBUTTONDOWN);
    if (GetCapture() != button_) soak::Fail("the press took no capture", cycle_);
    Paint(true, true, "press");
    // Held: the press poll makes the pressed look follow the pointer.
    Point(kOutside);
    Send(WM_TIMER, bx::BXT_PRESSPOLL);
    Paint(true, false, "held, pointer out");
    Point(kInside);
    Send(WM_TIMER, bx::BXT_PRESSPOLL);
    Paint(true, true, "held, pointer back in");
    const long before = g_commands;
    Send(WM_LBUTTONUP);
    if (g_commands != before + 1) soak::Fail("the release sent no WM_COMMAND", cycle_);
    Paint(false, false, "release");
  }

 private:
  void Point(POINT p) {
    SetCursorPos(p.x, p.y);
  }
  void Send(UINT msg, WPARAM wParam = 0) { SendMessageW(button_, msg, wParam, 0); }
  // Checks the flags the look comes from and that a repaint is due, then
  // paints at once.
  void Paint(bool hover, bool pressed, const char* step) {
    const bx::ButtonFields& f = record_.core.fields();
    if (f.hover != hover || f.pressed != pressed) soak::Fail(step, cycle_);
    if (!GetUpdateRect(button_, nullptr, FALSE)) soak::Fail(step, cycle_);
    paints_->Start();
    UpdateWindow(button_);
    paints_->Stop();
    if (GetUpdateRect(button_, nullptr, FALSE)) soak::Fail(step, cycle_);
  }

  HWND button_;
  bx::ButtonData& record_;
  soak::Stopwatch* paints_ = nullptr;
  long cycle_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
  const soak::Options options = soak::Start(argc, argv);
  if (!RegisterButtonClass()) soak::Fail("class registration", -1);

  const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const HWND parent = zqtest::CreatePlainWindow({.className = L"ZqSoakParent", .procedure = ParentProc,
                                                 .background = black, .x = kParentX, .y = kParentY, .width = 200,
                                                 .height = 120, .exStyle = WS_EX_TOPMOST});
  const HWND button = CreateWindowExW(0, WBUTTONEX_CLASS, L"Go", WS_CHILD | WS_VISIBLE, kButtonLeft, kButtonTop,
                                      kButtonWidth, kButtonHeight, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kId)), GetModuleHandleW(nullptr),
                                      nullptr);
  if (!parent || !button) soak::Fail("window creation", -1);
  ButtonExSet(button, BXM_SKINSTYLE, BXSKIN_FRAMED, 0);
  ButtonExSet(button, BXM_SKINBITMAP, IDB_CLOSE, 0);
  ButtonExSet(button, BXM_ICON1, IDB_DONATE, 0);
  ButtonExSet(button, BXM_ICON1POS, BXPAIR(2, 2), 0);
  ButtonExSet(button, BXM_ICON2, IDB_CLOSE, 0);
  ButtonExSet(button, BXM_ICON2POS, BXPAIR(2, 2), 1);

  // The pointer must be over the control, as the window system sees it.
  SetCursorPos(kInside.x, kInside.y);
  const bool ready = zqtest::PumpUntil(
      [&] {
        POINT p{};
        return GetCursorPos(&p) && WindowFromPoint(p) == button;
      },
      5000);
  if (!ready) soak::Fail("the control is not under the pointer", -1);
  // The system's own move may have started a hover meanwhile; a capture
  // loss ends it, so every cycle starts from the normal look.
  SetCapture(button);
  ReleaseCapture();
  UpdateWindow(button);

  Driver driver(button);
  const soak::Timings t = soak::Run(
      "button", options, [&](long i, bool, soak::Timings& timings) { driver.Cycle(i, timings.first); },
      zqtest::PointerMessages::Drop);
  soak::Figure("paint_us", t.first.TotalMicros() / static_cast<double>(5 * options.cycles));
  return soak::End(options, parent);
}
