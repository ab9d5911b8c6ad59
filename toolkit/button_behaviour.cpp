// Hover, press, release, capture loss and the four timers.
//
// Reports to the parent and capture changes run other code before they
// return, and that code may destroy this control. Every handler therefore
// holds an Alive mark across such calls and stops at once when the control
// is gone, touching neither the record nor the window again.
#include "button_core.h"
#include "wbuttonex.h"

namespace bx {

class Alive {
 public:
  explicit Alive(ButtonCore& button) : button_(button) {
    mark_.next = button.marks_;
    button.marks_ = &mark_;
  }
  ~Alive() {
    if (!mark_.dead) button_.marks_ = mark_.next;
  }
  Alive(const Alive&) = delete;
  Alive& operator=(const Alive&) = delete;
  explicit operator bool() const { return !mark_.dead; }

 private:
  ButtonCore& button_;
  ButtonCore::LifeMark mark_;
};

namespace {

bool ReleasesOnUp(int32_t mode) { return mode >= BXMODE_PUSH && mode <= BXMODE_SPIN; }

}  // namespace

VisualState ChooseVisualState(bool enabled, const ButtonFields& f) {
  if (!enabled) return kDisabled;
  if (f.pressed) return kPressed;
  if (f.hover) return kHover;
  return kNormal;
}

int32_t SpinStep(int32_t y, int32_t clientHeight, int32_t margin, int32_t maxValue) {
  // Farther past a band's inner edge, bigger steps, in 9-pixel stages scaled by the maximum.
  const auto step = [maxValue](int64_t d) {
    return static_cast<int32_t>(((d / 9) + 2) * maxValue / 100 + 1);
  };
  const int64_t bottomBand = int64_t{clientHeight} - margin;
  if (y < margin) return step(int64_t{margin} - y);
  if (y >= bottomBand) return -step(y - bottomBand);
  return y > clientHeight / 2 ? -1 : 1;
}

ButtonCore::ButtonCore(ButtonPlatform& platform) : p_(platform) {
  const Size client = p_.clientSize();
  f_.hotArea = {0, 0, client.width, client.height};
}

ButtonCore::~ButtonCore() {
  for (LifeMark* m = marks_; m; m = m->next) m->dead = true;
}

bool ButtonCore::PointerInHotArea() {
  const Point screen = p_.cursorPos();
  if (!p_.isSelfAt(screen)) return false;
  const Point c = p_.screenToClient(screen);
  const HotArea& a = f_.hotArea;
  return int64_t{a.left} <= c.x && c.x <= int64_t{a.left} + a.width - 1 &&
         int64_t{a.top} <= c.y && c.y <= int64_t{a.top} + a.height - 1;
}

// The maximum first, so a range with min > max ends at the minimum.
void ButtonCore::SetValueClamped(int64_t value) {
  if (value > f_.maxValue) value = f_.maxValue;
  if (value < f_.minValue) value = f_.minValue;
  f_.value = static_cast<int32_t>(value);
}

void ButtonCore::OnMouseMove() {
  if (f_.hover || !PointerInHotArea()) return;
  f_.hover = true;
  p_.invalidate();
  p_.setTimer(BXT_HOVERPOLL, kPollMs);
  p_.setTimer(BXT_DWELL, kDwellMs);
}

void ButtonCore::OnLButtonDown() {
  if (!PointerInHotArea()) return;
  Alive alive(*this);
  const int32_t mode = f_.mode;
  if (ReleasesOnUp(mode)) {
    f_.pressed = true;
    p_.invalidate();
    // Taking the capture tells its old holder, whose parent may act on us.
    p_.setCapture();
    if (!alive) return;
    if (!f_.pressed) return;  // undone meanwhile (disabled, capture lost)
    if (mode == BXMODE_SPIN) {
      f_.firstRepeat = true;
      p_.setTimer(BXT_REPEAT, kFirstRepeatMs);
    } else {
      p_.setTimer(BXT_PRESSPOLL, kPollMs);
    }
  } else if (mode == BXMODE_LATCH) {
    f_.pressed = !f_.pressed;
    p_.invalidate();
    if (f_.pressed && p_.isEnabled()) {
      p_.commandParent();
      if (!alive) return;
    }
    // The parent may have unlatched us inside its WM_COMMAND.
    if (f_.pressed) {
      p_.setCapture();
    } else {
      p_.releaseCapture();
    }
    if (!alive) return;
  }
  p_.setFocus();
}

void ButtonCore::OnLButtonUp() {
  const int32_t mode = f_.mode;
  if (!ReleasesOnUp(mode)) return;
  Alive alive(*this);

  const bool inside = mode == BXMODE_SPIN || PointerInHotArea();
  const Point client = p_.screenToClient(p_.cursorPos());
  const bool wasPressed = f_.pressed;
  f_.pressed = false;
  p_.invalidate();
  p_.releaseCapture();  // the capture loss, and its BXN_LEAVE, run in here
  if (!alive) return;
  p_.killTimer(mode == BXMODE_SPIN ? BXT_REPEAT : BXT_PRESSPOLL);

  if (!wasPressed || !inside || !p_.isEnabled()) return;
  switch (mode) {
    case BXMODE_TOGGLE:
      if (f_.autoToggle) f_.checked = f_.checked == 0 ? 1 : 0;
      break;
    case BXMODE_CYCLE:
      // No lower clamp: a value below the range just counts up.
      if (int64_t{f_.value} + 1 > f_.maxValue) {
        f_.value = f_.minValue;
      } else {
        ++f_.value;
      }
      break;
    case BXMODE_SPIN:
      // Released before the first repeat: a single step by half height.
      if (f_.firstRepeat) {
        SetValueClamped(int64_t{f_.value} + (client.y > p_.clientSize().height / 2 ? -1 : 1));
      }
      break;
    default:
      break;
  }
  p_.commandParent();
}

void ButtonCore::OnCaptureChanged() {
  p_.killTimer(BXT_HOVERPOLL);
  p_.killTimer(BXT_PRESSPOLL);
  p_.killTimer(BXT_REPEAT);
  f_.pressed = false;
  f_.hover = false;
  p_.invalidate();
  p_.notifyParent(BXN_LEAVE);
}

void ButtonCore::OnTimer(uintptr_t id) {
  switch (id) {
    case BXT_HOVERPOLL:
      OnHoverPoll();
      break;
    case BXT_PRESSPOLL:
      OnPressPoll();
      break;
    case BXT_REPEAT:
      OnRepeat();
      break;
    case BXT_DWELL:
      OnDwell();
      break;
    default:
      break;
  }
}

void ButtonCore::OnHoverPoll() {
  if (PointerInHotArea()) return;
  f_.hover = false;
  p_.invalidate();
  p_.killTimer(BXT_HOVERPOLL);
  p_.killTimer(BXT_DWELL);
  p_.notifyParent(BXN_LEAVE);
}

void ButtonCore::OnPressPoll() {
  const bool inside = PointerInHotArea();
  if (inside == f_.pressed) return;
  f_.pressed = inside;
  p_.invalidate();
}

void ButtonCore::OnRepeat() {
  const Point client = p_.screenToClient(p_.cursorPos());
  const int32_t step = SpinStep(client.y, p_.clientSize().height, f_.margin, f_.maxValue);
  SetValueClamped(int64_t{f_.value} + step);
  // Re-armed before the report: a parent that ends the hold inside its
  // WM_COMMAND stops the timer for good.
  if (f_.firstRepeat) {
    f_.firstRepeat = false;
    p_.setTimer(BXT_REPEAT, kRepeatMs);
  }
  p_.commandParent();
}

void ButtonCore::OnDwell() {
  if (!PointerInHotArea()) return;  // ticks again later
  p_.killTimer(BXT_DWELL);
  p_.notifyParent(BXN_HOVER);
}

void ButtonCore::OnEnable(bool enabled) {
  if (enabled) {
    p_.invalidate();
    return;
  }
  Alive alive(*this);
  if (f_.pressed) {
    p_.releaseCapture();
    if (!alive) return;
  }
  f_.pressed = false;
  p_.paintNow();
  p_.invalidate();
}

}  // namespace bx
