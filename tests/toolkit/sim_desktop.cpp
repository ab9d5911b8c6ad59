#include "sim_desktop.h"

#include "wbuttonex.h"

namespace sim {

Window::Window(Desktop& desktop, int id, int x, int y, int width, int height)
    : id(id), x(x), y(y), width(width), height(height), desktop_(desktop) {}

bool Window::Check(const char* call) {
  if (!destroyed) return true;
  desktop_.faults.push_back(std::string(call) + " on destroyed window " + std::to_string(id));
  return false;
}

bx::Point Window::cursorPos() { return desktop_.cursor; }

bool Window::isSelfAt(bx::Point screen) {
  Check("WindowFromPoint");
  return desktop_.WindowAt(screen) == this;
}

bx::Point Window::screenToClient(bx::Point screen) {
  Check("ScreenToClient");
  return {screen.x - x, screen.y - y};
}

bx::Size Window::clientSize() {
  Check("GetClientRect");
  return {width, height};
}

void Window::setCapture() {
  if (Check("SetCapture")) desktop_.TakeCapture(this);
}

void Window::releaseCapture() {
  Check("ReleaseCapture");
  desktop_.TakeCapture(nullptr);
}

void Window::setTimer(uint32_t timerId, uint32_t periodMs) {
  if (Check("SetTimer")) timers[timerId] = {periodMs, desktop_.now + periodMs};
}

void Window::killTimer(uint32_t timerId) {
  if (Check("KillTimer")) timers.erase(timerId);
}

void Window::invalidate() {
  if (Check("InvalidateRect")) ++invalidations;
}

void Window::paintNow() {
  if (Check("PaintButton")) directPaints.push_back(bx::ChooseVisualState(enabled, record->fields()));
}

bool Window::isEnabled() {
  Check("IsWindowEnabled");
  return enabled;
}

void Window::setFocus() {
  if (Check("SetFocus")) desktop_.focus = this;
}

void Window::commandParent() {
  if (Check("SendMessage(WM_COMMAND)")) desktop_.Deliver(*this, Report::Command);
}

void Window::notifyParent(uint32_t code) {
  if (Check("SendMessage(WM_NOTIFY)"))
    desktop_.Deliver(*this, code == BXN_HOVER ? Report::Hover : Report::Leave);
}

bool Window::Contains(bx::Point p) const {
  return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height;
}

intptr_t Window::Send(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (!record) return 0;
  return record->OnControlMessage(msg, wParam, lParam);
}

Window& Desktop::Create(int id, int x, int y, int width, int height) {
  windows.push_back(std::make_unique<Window>(*this, id, x, y, width, height));
  Window& w = *windows.back();
  w.record = std::make_unique<bx::ButtonCore>(w);
  return w;
}

void Desktop::Destroy(Window& w) {
  if (!w.record || w.destroying) return;
  w.destroying = true;
  // A window that goes with the capture hears of its loss first.
  if (capture == &w) TakeCapture(nullptr);
  if (focus == &w) focus = nullptr;
  w.timers.clear();
  w.record.reset();
  w.destroyed = true;
}

void Desktop::Enable(Window& w, bool enabled) {
  if (!w.record || w.enabled == enabled) return;
  w.enabled = enabled;
  w.record->OnEnable(enabled);
}

Window* Desktop::WindowAt(bx::Point p) {
  for (auto it = windows.rbegin(); it != windows.rend(); ++it)
    if ((*it)->record && (*it)->Contains(p)) return it->get();
  return nullptr;
}

void Desktop::TakeCapture(Window* window) {
  Window* previous = capture;
  capture = window;
  if (previous && previous != window && previous->record) previous->record->OnCaptureChanged();
}

Window* Desktop::InputTarget() {
  if (capture) return capture;
  Window* w = WindowAt(cursor);
  return w && w->enabled ? w : nullptr;
}

void Desktop::MoveTo(int screenX, int screenY) {
  cursor = {screenX, screenY};
  if (Window* w = InputTarget()) w->record->OnMouseMove();
}

void Desktop::Down() {
  if (Window* w = InputTarget()) w->record->OnLButtonDown();
}

void Desktop::Up() {
  if (Window* w = InputTarget()) w->record->OnLButtonUp();
}

void Desktop::Advance(int64_t ms) {
  const int64_t end = now + ms;
  for (;;) {
    Window* next = nullptr;
    uint32_t nextId = 0;
    int64_t due = end + 1;
    for (auto& w : windows) {
      for (auto& [timerId, t] : w->timers) {
        if (t.due < due) {  // ties: first window, lowest id
          due = t.due;
          next = w.get();
          nextId = timerId;
        }
      }
    }
    if (!next) break;
    now = due;
    Window::Timer& t = next->timers[nextId];
    t.due = now + t.period;
    next->record->OnTimer(nextId);
  }
  now = end;
}

void Desktop::Deliver(Window& w, Report report) {
  std::string line = "@" + std::to_string(now) + " ";
  switch (report) {
    case Report::Command:
      // What a parent reads back when the WM_COMMAND arrives.
      line += "COMMAND v=" + std::to_string(w.Get(BXM_VALUE)) +
              " c=" + std::to_string(w.Get(BXM_CHECKED));
      break;
    case Report::Hover:
      line += "HOVER";
      break;
    case Report::Leave:
      line += "LEAVE";
      break;
  }
  if (windows.size() > 1) line += " #" + std::to_string(w.id);
  log.push_back(line);
  // The window may be destroyed in here; nothing of it is read afterwards.
  if (onReport) onReport(w, report);
}

}  // namespace sim
