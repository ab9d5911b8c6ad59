// A simulated window system with a virtual clock for the button's behaviour:
// windows with screen rectangles, a cursor, the mouse capture, timers, focus
// and a parent that logs (and may act on) every report.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "button_core.h"
#include "button_platform.h"

namespace sim {

// Two 16-bit halves in one parameter, `low` in the low word, as the
// control's range and icon-place messages take them.
inline intptr_t Pair(int low, int high) { return static_cast<int32_t>((high & 0xFFFF) << 16 | (low & 0xFFFF)); }

enum class Report { Command, Hover, Leave };

class Desktop;

// One control's window. Outlives its record, as a handle outlives the
// window: calls through a destroyed window are logged as faults.
class Window final : public bx::ButtonPlatform {
 public:
  Window(Desktop& desktop, int id, int x, int y, int width, int height);

  bx::Point cursorPos() override;
  bool isSelfAt(bx::Point screen) override;
  bx::Point screenToClient(bx::Point screen) override;
  bx::Size clientSize() override;
  void setCapture() override;
  void releaseCapture() override;
  void setTimer(uint32_t id, uint32_t periodMs) override;
  void killTimer(uint32_t id) override;
  void invalidate() override;
  void paintNow() override;
  bool isEnabled() override;
  void setFocus() override;
  void commandParent() override;
  void notifyParent(uint32_t code) override;

  bool Contains(bx::Point screen) const;
  bool Alive() const { return record != nullptr; }
  intptr_t Send(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0);
  intptr_t Get(uint32_t msg) { return Send(msg, 0, 0); }
  intptr_t Set(uint32_t msg, intptr_t lParam) { return Send(msg, 1, lParam); }

  struct Timer {
    uint32_t period = 0;
    int64_t due = 0;
  };

  const int id;
  int x, y, width, height;
  bool enabled = true;
  bool destroying = false;
  bool destroyed = false;
  std::unique_ptr<bx::ButtonCore> record;
  std::map<uint32_t, Timer> timers;
  int invalidations = 0;
  std::vector<bx::VisualState> directPaints;  // looks painted outside WM_PAINT

 private:
  bool Check(const char* call);
  Desktop& desktop_;
};

class Desktop {
 public:
  Window& Create(int id, int x, int y, int width, int height);
  void Destroy(Window& window);
  // WM_ENABLE as EnableWindow sends it when the state changes.
  void Enable(Window& window, bool enabled);

  // The real pointer: moves and presses go to the capture holder, else to
  // the enabled window under the cursor.
  void MoveTo(int screenX, int screenY);
  void Down();
  void Up();
  // Runs the clock, delivering due timers in order of time, window, id.
  void Advance(int64_t ms);

  Window* WindowAt(bx::Point screen);
  void TakeCapture(Window* window);

  int64_t now = 0;
  bx::Point cursor;
  Window* capture = nullptr;
  Window* focus = nullptr;
  std::vector<std::unique_ptr<Window>> windows;

  // The parent: every report is logged, then handed to onReport if set.
  std::vector<std::string> log;
  std::function<void(Window&, Report)> onReport;
  // Calls a control made through a window that was already destroyed.
  std::vector<std::string> faults;

 private:
  friend class Window;
  void Deliver(Window& window, Report report);
  Window* InputTarget();
};

}  // namespace sim
