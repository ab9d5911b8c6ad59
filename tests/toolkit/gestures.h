// Pointer gestures on one simulated 35 x 35 control, for tables of expected
// reports.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "sim_desktop.h"
#include "wbuttonex.h"

namespace sim {

struct Step {
  enum Kind { Move, Down, Up, Wait } kind;
  int a = 0;  // client x, or milliseconds
  int b = 0;  // client y
};

inline Step MoveTo(int x, int y) { return {Step::Move, x, y}; }
inline Step Wait(int ms) { return {Step::Wait, ms, 0}; }
inline constexpr Step kDown{Step::Down};
inline constexpr Step kUp{Step::Up};
// Upper half, lower half, and over the parent beside the control.
inline const Step kIn = MoveTo(17, 10);
inline const Step kInLow = MoveTo(17, 25);
inline const Step kOut = MoveTo(-30, 10);

struct Config {
  int mode = BXMODE_PUSH;
  int minValue = 0;
  int maxValue = 10;
  int value = 0;
  int checked = 0;
  int autoToggle = 1;
  int margin = -1;  // -1: leave the default hot area
};

inline constexpr int kId = 7;
inline constexpr int kLeft = 100;
inline constexpr int kTop = 100;
inline constexpr int kSize = 35;

inline Window& MakeButton(Desktop& desktop, const Config& c) {
  Window& w = desktop.Create(kId, kLeft, kTop, kSize, kSize);
  w.Set(BXM_MODE, c.mode);
  w.Set(BXM_RANGE, Pair(c.minValue, c.maxValue));
  w.Set(BXM_VALUE, c.value);
  w.Set(BXM_CHECKED, c.checked);
  w.Set(BXM_AUTOTOGGLE, c.autoToggle);
  if (c.margin >= 0) w.Set(BXM_MARGIN, c.margin);
  return w;
}

// A latched sibling at (10, 10), away from the button, holding the capture.
inline Window& LatchHoldingTheCapture(Desktop& desktop) {
  Window& latch = desktop.Create(1, 10, 10, kSize, kSize);
  latch.Set(BXM_MODE, BXMODE_LATCH);
  desktop.MoveTo(20, 20);
  desktop.Down();
  desktop.Up();
  return latch;
}

inline void Play(Desktop& desktop, const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    switch (s.kind) {
      case Step::Move:
        desktop.MoveTo(kLeft + s.a, kTop + s.b);
        break;
      case Step::Down:
        desktop.Down();
        break;
      case Step::Up:
        desktop.Up();
        break;
      case Step::Wait:
        desktop.Advance(s.a);
        break;
    }
  }
}

inline std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  return out;
}

}  // namespace sim
