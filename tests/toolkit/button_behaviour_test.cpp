// The behaviour around the reports: the pressed and hover looks, focus,
// capture, timers, disabling and the spin acceleration.
#include <gtest/gtest.h>

#include "gestures.h"

namespace {

using namespace sim;

struct SpinCase {
  int y;
  int clientHeight;
  int margin;
  int maxValue;
  int step;
};

TEST(SpinStep, AcceleratesPastTheBandsScaledByTheMaximum) {
  const SpinCase cases[] = {
      {1, 35, 2, 100, 3},     {-20, 35, 2, 100, 5},  {33, 35, 2, 100, -3}, {10, 35, 2, 100, 1},
      {18, 35, 2, 100, -1},   {17, 35, 2, 100, 1},   {2, 35, 2, 100, 1},   {32, 35, 2, 100, -1},
      {-69, 35, 2, 10, 1},    {-70, 35, 2, 10, 2},   {33 + 71, 35, 2, 10, -1},
      {33 + 72, 35, 2, 10, -2}, {-1000, 35, 2, 0, 1},  {35, 35, 0, 100, -3},
  };
  for (const SpinCase& c : cases)
    EXPECT_EQ(bx::SpinStep(c.y, c.clientHeight, c.margin, c.maxValue), c.step)
        << "y " << c.y << " height " << c.clientHeight << " margin " << c.margin << " max " << c.maxValue;
}

TEST(Look, DisabledWinsOverPressedAndPressedOverHover) {
  struct Row {
    bool enabled, pressed, hover;
    bx::VisualState look;
  };
  const Row rows[] = {
      {true, false, false, bx::kNormal},    {true, false, true, bx::kHover},
      {true, true, false, bx::kPressed},    {true, true, true, bx::kPressed},
      {false, false, false, bx::kDisabled}, {false, true, true, bx::kDisabled},
  };
  for (const Row& r : rows) {
    bx::ButtonFields f;
    f.pressed = r.pressed;
    f.hover = r.hover;
    EXPECT_EQ(bx::ChooseVisualState(r.enabled, f), r.look)
        << "enabled " << r.enabled << " pressed " << r.pressed << " hover " << r.hover;
  }
}

TEST(PressedLook, FollowsThePointerWhileHeldInClickModes) {
  for (int mode : {BXMODE_PUSH, BXMODE_TOGGLE, BXMODE_CYCLE}) {
    Desktop desktop;
    Window& w = MakeButton(desktop, {.mode = mode});
    Play(desktop, {kIn, kDown});
    EXPECT_TRUE(w.record->fields().pressed) << mode;
    Play(desktop, {kOut, Wait(10)});
    EXPECT_FALSE(w.record->fields().pressed) << mode;
    EXPECT_EQ(desktop.capture, &w) << "the capture stays while held";
    Play(desktop, {kIn, Wait(10)});
    EXPECT_TRUE(w.record->fields().pressed) << mode;
    Play(desktop, {kUp});
    EXPECT_FALSE(w.record->fields().pressed);
    EXPECT_FALSE(w.record->fields().hover) << "normal look until the pointer moves again";
    EXPECT_EQ(desktop.capture, nullptr);
    EXPECT_EQ(w.timers.count(bx::BXT_PRESSPOLL), 0u);
  }
}

TEST(PressedLook, StaysForTheWholeHoldInSpinMode) {
  Desktop desktop;
  Window& w = MakeButton(desktop, {.mode = BXMODE_SPIN});
  Play(desktop, {kIn, kDown, kOut, Wait(300)});
  EXPECT_TRUE(w.record->fields().pressed);
  Play(desktop, {kUp});
  EXPECT_TRUE(w.timers.empty() || w.timers.count(bx::BXT_REPEAT) == 0);
}

TEST(Focus, TakenByEveryPressInTheHotAreaInEveryMode) {
  for (int mode : {0, 1, 2, 3, 4, 5, -1}) {
    Desktop desktop;
    Window& w = MakeButton(desktop, {.mode = mode, .margin = 2});
    Play(desktop, {MoveTo(1, 1), kDown, kUp});
    EXPECT_EQ(desktop.focus, nullptr) << "mode " << mode << ": press in the margin band";
    Play(desktop, {kIn, kDown, kUp});
    EXPECT_EQ(desktop.focus, &w) << "mode " << mode;
  }
}

TEST(Invalidation, OnlyWhenAFlagChanges) {
  Desktop desktop;
  Window& w = MakeButton(desktop, {.mode = BXMODE_PUSH});
  Play(desktop, {kIn});
  EXPECT_EQ(w.invalidations, 1);
  Play(desktop, {MoveTo(20, 20), Wait(100)});
  EXPECT_EQ(w.invalidations, 1) << "moves and polls inside change nothing";
  Play(desktop, {kOut, Wait(10)});
  EXPECT_EQ(w.invalidations, 2);
  EXPECT_TRUE(w.timers.empty()) << "nothing runs while the pointer is away";
}

// Other code may set timers of its own on the control's window.
TEST(Timers, AnotherTimerOnTheWindowChangesNothing) {
  for (uint32_t id : {99u, 104u}) {
    Desktop desktop;
    Window& w = MakeButton(desktop, {.mode = BXMODE_SPIN});
    w.setTimer(id, 5);
    Play(desktop, {kIn, kDown, Wait(300)});
    EXPECT_EQ(Lines(desktop.log), "@191 HOVER\n") << "timer " << id;
    EXPECT_EQ(w.Get(BXM_VALUE), 0) << "timer " << id;
    EXPECT_TRUE(w.record->fields().pressed) << "timer " << id;
  }
}

TEST(Capture, TakenByAnotherWindowEndsTheHoldWithoutAClick) {
  Desktop desktop;
  Window& button = MakeButton(desktop, {.mode = BXMODE_PUSH});
  Window& other = desktop.Create(8, 300, 100, 35, 35);
  Play(desktop, {kIn, kDown, Wait(20)});
  desktop.TakeCapture(&other);
  Play(desktop, {kUp, Wait(300)});
  EXPECT_EQ(Lines(desktop.log), "@20 LEAVE #7\n@20 LEAVE #8\n@191 HOVER #7\n")
      << "the release goes to the new holder, which lets its capture go";
  EXPECT_FALSE(button.record->fields().pressed);
  EXPECT_EQ(button.timers.count(bx::BXT_PRESSPOLL), 0u);
  EXPECT_EQ(button.timers.count(bx::BXT_HOVERPOLL), 0u);
}

TEST(Capture, SpinRepeatStopsWhenTheCaptureGoes) {
  Desktop desktop;
  MakeButton(desktop, {.mode = BXMODE_SPIN});
  Play(desktop, {kIn, kDown, Wait(500)});
  desktop.TakeCapture(nullptr);
  Play(desktop, {Wait(500)});
  EXPECT_EQ(Lines(desktop.log),
            "@191 HOVER\n@399 COMMAND v=1 c=0\n@476 COMMAND v=2 c=0\n@500 LEAVE\n");
}

TEST(Disabled, DisablingAPressedControlReleasesAndShowsTheDisabledLookAtOnce) {
  Desktop desktop;
  Window& w = MakeButton(desktop, {.mode = BXMODE_PUSH});
  Play(desktop, {kIn, kDown, Wait(20)});
  desktop.Enable(w, false);
  EXPECT_EQ(Lines(desktop.log), "@20 LEAVE\n");
  EXPECT_EQ(desktop.capture, nullptr);
  EXPECT_FALSE(w.record->fields().pressed);
  EXPECT_EQ(w.directPaints, std::vector<bx::VisualState>{bx::kDisabled});
  Play(desktop, {kUp, Wait(300)});
  EXPECT_EQ(Lines(desktop.log), "@20 LEAVE\n@191 HOVER\n") << "no click from a disabled control";
}

TEST(Disabled, EnabledAgainItRepaintsAndClicksCountAgain) {
  Desktop desktop;
  Window& w = MakeButton(desktop, {.mode = BXMODE_CYCLE, .maxValue = 3});
  Play(desktop, {kIn});
  desktop.Enable(w, false);
  Play(desktop, {kDown, kUp});
  const int invalidations = w.invalidations;
  desktop.Enable(w, true);
  EXPECT_EQ(w.invalidations, invalidations + 1);
  EXPECT_EQ(bx::ChooseVisualState(w.enabled, w.record->fields()), bx::kHover) << "the pointer is still over it";
  Play(desktop, {kDown, kUp});
  EXPECT_EQ(Lines(desktop.log), "@0 LEAVE\n@0 COMMAND v=1 c=0\n");
}

// The sibling's capture loss reports inside SetCapture, before the press is set up.
TEST(Disabled, ParentDisablingWhileThePressTakesTheCaptureGetsNoPress) {
  for (int mode : {BXMODE_PUSH, BXMODE_SPIN}) {
    Desktop desktop;
    Window& latch = LatchHoldingTheCapture(desktop);
    Window& w = MakeButton(desktop, {.mode = mode});
    desktop.log.clear();
    desktop.onReport = [&](Window& from, Report r) {
      if (&from == &latch && r == Report::Leave) desktop.Enable(w, false);
    };
    desktop.cursor = {kLeft + 17, kTop + 17};
    w.record->OnLButtonDown();  // the press a parent forwards
    Play(desktop, {Wait(1000), kUp});
    EXPECT_EQ(Lines(desktop.log), "@0 LEAVE #1\n@0 LEAVE #7\n") << "mode " << mode;
    EXPECT_FALSE(w.record->fields().pressed);
    EXPECT_EQ(desktop.capture, nullptr);
    EXPECT_TRUE(w.timers.empty()) << "mode " << mode << ": no press poll, no repeats";
    EXPECT_NE(desktop.focus, &w) << "a disabled control takes no focus";
  }
}

TEST(Disabled, ParentDisablingInTheReleaseLeaveGetsNoClick) {
  for (int mode : {BXMODE_PUSH, BXMODE_TOGGLE, BXMODE_CYCLE, BXMODE_SPIN}) {
    Desktop desktop;
    Window& w = MakeButton(desktop, {.mode = mode, .maxValue = 3});
    desktop.onReport = [&](Window& from, Report r) {
      if (r == Report::Leave) desktop.Enable(from, false);
    };
    Play(desktop, {kIn, kDown, kUp});
    EXPECT_EQ(Lines(desktop.log), "@0 LEAVE\n") << "mode " << mode;
    EXPECT_EQ(w.Get(BXM_VALUE), 0);
    EXPECT_EQ(w.Get(BXM_CHECKED), 0);
  }
}

TEST(Disabled, ALatchPressedWhileDisabledLatchesWithoutACommand) {
  Desktop desktop;
  Window& w = MakeButton(desktop, {.mode = BXMODE_LATCH});
  Play(desktop, {kIn});
  desktop.Enable(w, false);
  w.record->OnLButtonDown();  // as a parent forwarding the press would
  EXPECT_TRUE(w.record->fields().pressed);
  EXPECT_EQ(desktop.capture, &w);
  EXPECT_EQ(Lines(desktop.log), "");
}

TEST(Latch, ParentUnlatchingInsideItsCommandLeavesNoCapture) {
  Desktop desktop;
  Window& w = MakeButton(desktop, {.mode = BXMODE_LATCH});
  desktop.onReport = [&](Window& from, Report r) {
    if (r == Report::Command) desktop.Enable(from, false);
  };
  Play(desktop, {kIn, kDown});
  EXPECT_FALSE(w.record->fields().pressed);
  EXPECT_EQ(desktop.capture, nullptr);
  EXPECT_EQ(w.directPaints, std::vector<bx::VisualState>{bx::kDisabled});
}

// Were the first repeat re-armed after its WM_COMMAND, a parent that ends the
// hold there would restart the repeat for good.
TEST(Spin, ParentEndingTheHoldInTheFirstRepeatStopsTheRepeats) {
  Desktop desktop;
  Window& w = MakeButton(desktop, {.mode = BXMODE_SPIN});
  desktop.onReport = [&](Window& from, Report r) {
    if (r == Report::Command) desktop.Enable(from, false);
  };
  Play(desktop, {kIn, kDown, Wait(1000)});
  EXPECT_EQ(Lines(desktop.log), "@191 HOVER\n@399 COMMAND v=1 c=0\n@399 LEAVE\n");
  EXPECT_TRUE(w.timers.empty());
}

TEST(Spin, ChangingTheModeWhileHeldKeepsTheTimersUntilRelease) {
  Desktop desktop;
  Window& w = MakeButton(desktop, {.mode = BXMODE_SPIN});
  Play(desktop, {kIn, kDown, Wait(100)});
  w.Set(BXM_MODE, BXMODE_PUSH);
  Play(desktop, {Wait(350), kUp});
  EXPECT_EQ(Lines(desktop.log), "@191 HOVER\n@399 COMMAND v=1 c=0\n@450 LEAVE\n@450 COMMAND v=1 c=0\n");
  EXPECT_TRUE(w.timers.count(bx::BXT_REPEAT) == 0);
}

}  // namespace
