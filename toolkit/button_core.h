// The platform-free part of a WButtonEx control: its fields, the control
// messages and the pointer, capture and timer behaviour.
#pragma once

#include <cstdint>

#include "button_platform.h"

namespace bx {

enum TimerId : uint32_t {
  BXT_HOVERPOLL = 100,
  BXT_PRESSPOLL = 101,
  BXT_REPEAT = 102,
  BXT_DWELL = 103,
};

inline constexpr uint32_t kPollMs = 10;
inline constexpr uint32_t kFirstRepeatMs = 399;
inline constexpr uint32_t kRepeatMs = 77;
inline constexpr uint32_t kDwellMs = 191;

// left, top, width, height (not right and bottom).
struct HotArea {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

enum VisualState : int { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

struct ButtonFields {
  int32_t mode = 0;
  int32_t skinStyle = 0;
  uint32_t skinId = 0;
  uint32_t icon1Id = 0;
  uint32_t icon2Id = 0;
  int32_t icon1X = 0;
  int32_t icon1Y = 0;
  int32_t icon2X = 0;
  int32_t icon2Y = 0;
  int32_t textX = -1;
  int32_t margin = 2;
  HotArea hotArea;
  uint32_t colors[4] = {0x00515151, 0x00333333, 0x00333333, 0x00A9A9A9};  // by BXC_* slot
  int32_t minValue = 0;
  int32_t maxValue = 0;
  int32_t value = 0;
  int32_t checked = 0;  // any non-zero is checked
  int32_t autoToggle = 1;
  bool hover = false;
  bool pressed = false;
  bool firstRepeat = false;
};

// Disabled wins over pressed, pressed over hover.
VisualState ChooseVisualState(bool enabled, const ButtonFields& f);

// The value change of one auto-repeat tick for a pointer at client y.
int32_t SpinStep(int32_t y, int32_t clientHeight, int32_t margin, int32_t maxValue);

class ButtonCore {
 public:
  // The hot area starts as the whole client area; the margin is not applied.
  explicit ButtonCore(ButtonPlatform& platform);
  ~ButtonCore();
  ButtonCore(const ButtonCore&) = delete;
  ButtonCore& operator=(const ButtonCore&) = delete;

  static bool IsControlMessage(uint32_t msg);
  // BXM_MODE .. BXM_RANGE. wParam and lParam as the window procedure got them.
  intptr_t OnControlMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);

  void OnMouseMove();
  void OnLButtonDown();
  void OnLButtonUp();
  void OnCaptureChanged();
  void OnTimer(uintptr_t id);
  void OnEnable(bool enabled);

  const ButtonFields& fields() const { return f_; }

 private:
  friend class Alive;

  bool PointerInHotArea();
  void SetValueClamped(int64_t value);

  void OnHoverPoll();
  void OnPressPoll();
  void OnRepeat();
  void OnDwell();

  ButtonPlatform& p_;
  ButtonFields f_;
  // Handlers running on this control; told when the control goes away.
  struct LifeMark {
    bool dead = false;
    LifeMark* next = nullptr;
  };
  LifeMark* marks_ = nullptr;
};

}  // namespace bx
