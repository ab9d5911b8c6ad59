// A parent may destroy, disable or reconfigure the control inside any report,
// including the BXN_LEAVE sent from inside ReleaseCapture. Afterwards the
// control must touch neither its freed record (AddressSanitizer watches) nor
// its window (the simulation logs every call through a destroyed window).
#include <gtest/gtest.h>

#include <functional>

#include "gestures.h"

namespace {

using namespace sim;

// One long gesture that draws every kind of report from every mode: dwell,
// hover poll, press and release inside and outside, a hold long enough for
// spin repeats, latch down and up, and a disable while held.
const std::vector<Step> kEverything = {
    kIn,  Wait(250), kDown, Wait(550), kUp,   Wait(50),  kDown,     kUp,  Wait(20), kDown, kUp,
    kOut, Wait(20),  kIn,   kDown,     kOut,  Wait(20),  kUp,       kIn,  Wait(250), kDown, kUp,
    kDown, Wait(450), kOut, Wait(100), kIn,   Wait(20),  kDown,     Wait(20)};

enum class Act { Destroy, Disable, ChangeMode };

const char* ActName(Act a) {
  switch (a) {
    case Act::Destroy:
      return "destroy";
    case Act::Disable:
      return "disable";
    case Act::ChangeMode:
      return "change mode";
  }
  return "";
}

// Plays the gesture; at the report numbered `at` (1-based) the parent acts.
// Returns the number of reports that arrived.
size_t PlayActingAt(int mode, size_t at, Act act, std::vector<std::string>& faults,
                    std::vector<std::string>& log) {
  Desktop desktop;
  Window& w = MakeButton(desktop, {.mode = mode, .maxValue = 3});
  size_t count = 0;
  desktop.onReport = [&](Window& from, Report) {
    if (++count != at) return;
    switch (act) {
      case Act::Destroy:
        desktop.Destroy(from);
        break;
      case Act::Disable:
        desktop.Enable(from, false);
        break;
      case Act::ChangeMode:
        from.Set(BXM_MODE, (mode + 3) % 5);
        break;
    }
  };
  Play(desktop, kEverything);
  // The sole way to end the hold that remains, for the last reports.
  if (w.Alive()) desktop.Enable(w, false);
  faults = desktop.faults;
  log = desktop.log;
  return desktop.log.size();
}

TEST(ReEntry, TheGestureDrawsEveryKindOfReportFromEveryMode) {
  for (int mode : {0, 1, 2, 3, 4}) {
    std::vector<std::string> faults, log;
    PlayActingAt(mode, 0, Act::Destroy, faults, log);
    const std::string all = Lines(log);
    EXPECT_NE(all.find("COMMAND"), std::string::npos) << "mode " << mode << "\n" << all;
    EXPECT_NE(all.find("HOVER"), std::string::npos) << "mode " << mode;
    EXPECT_NE(all.find("LEAVE"), std::string::npos) << "mode " << mode;
  }
}

class ParentActsInEveryReport : public testing::TestWithParam<std::tuple<int, Act>> {};

TEST_P(ParentActsInEveryReport, ControlStopsTouchingWhatIsGone) {
  const auto [mode, act] = GetParam();
  std::vector<std::string> faults, fullLog;
  const size_t total = PlayActingAt(mode, 0, act, faults, fullLog);
  ASSERT_GT(total, 2u);
  for (size_t at = 1; at <= total; ++at) {
    std::vector<std::string> log;
    const size_t got = PlayActingAt(mode, at, act, faults, log);
    EXPECT_EQ(Lines(faults), "") << "mode " << mode << ", " << ActName(act) << " in report " << at
                                 << " (" << fullLog[at - 1] << ")";
    if (act == Act::Destroy) {
      // Nothing comes from a destroyed control, except the capture loss that
      // its own destruction causes while it still exists.
      ASSERT_GE(got, at);
      for (size_t i = at + 1; i < log.size(); ++i)
        EXPECT_NE(log[i].find("LEAVE"), std::string::npos)
            << "mode " << mode << ": report after destroying in " << fullLog[at - 1] << ": " << log[i];
      EXPECT_LE(got, at + 1);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllModes, ParentActsInEveryReport,
    testing::Combine(testing::Values(BXMODE_PUSH, BXMODE_TOGGLE, BXMODE_CYCLE, BXMODE_SPIN,
                                     BXMODE_LATCH, 7),
                     testing::Values(Act::Destroy, Act::Disable, Act::ChangeMode)),
    [](const testing::TestParamInfo<std::tuple<int, Act>>& info) {
      const int mode = std::get<0>(info.param);
      std::string name = "mode" + std::to_string(mode);
      switch (std::get<1>(info.param)) {
        case Act::Destroy:
          return name + "_destroy";
        case Act::Disable:
          return name + "_disable";
        case Act::ChangeMode:
          return name + "_changeMode";
      }
      return name;
    });

// The paths named one by one, each with the report it is destroyed in. A
// control destroyed while it holds the capture hears of the loss first.
struct Path {
  const char* name;
  Config config;
  std::vector<Step> gesture;
  Report destroyIn;
  std::vector<std::string> reports;
};

const Path kPaths[] = {
    {"click: BXN_LEAVE from inside ReleaseCapture", {.mode = BXMODE_PUSH}, {kIn, kDown, kUp},
     Report::Leave, {"@0 LEAVE"}},
    {"click: WM_COMMAND", {.mode = BXMODE_TOGGLE}, {kIn, kDown, kUp}, Report::Command,
     {"@0 LEAVE", "@0 COMMAND v=0 c=1"}},
    {"spin release: BXN_LEAVE", {.mode = BXMODE_SPIN}, {kIn, kDown, kUp}, Report::Leave, {"@0 LEAVE"}},
    {"spin first repeat: WM_COMMAND", {.mode = BXMODE_SPIN}, {kIn, kDown, Wait(1000)}, Report::Command,
     {"@191 HOVER", "@399 COMMAND v=1 c=0", "@399 LEAVE"}},
    {"spin later repeat", {.mode = BXMODE_SPIN, .value = 1}, {kIn, kDown, Wait(1000)}, Report::Command,
     {"@191 HOVER", "@399 COMMAND v=2 c=0", "@399 LEAVE"}},
    {"latch down: WM_COMMAND", {.mode = BXMODE_LATCH}, {kIn, kDown}, Report::Command, {"@0 COMMAND v=0 c=0"}},
    {"latch up: BXN_LEAVE from inside ReleaseCapture", {.mode = BXMODE_LATCH}, {kIn, kDown, kUp, kDown},
     Report::Leave, {"@0 COMMAND v=0 c=0", "@0 LEAVE"}},
    {"dwell: BXN_HOVER", {.mode = BXMODE_CYCLE}, {kIn, Wait(300)}, Report::Hover, {"@191 HOVER"}},
    {"hover poll: BXN_LEAVE", {.mode = 9}, {kIn, Wait(50), kOut, Wait(50)}, Report::Leave, {"@60 LEAVE"}},
};

TEST(ReEntry, DestroyedInsideEachNamedPath) {
  for (const Path& p : kPaths) {
    Desktop desktop;
    Window& w = MakeButton(desktop, p.config);
    desktop.onReport = [&](Window& from, Report r) {
      if (r == p.destroyIn) desktop.Destroy(from);
    };
    Play(desktop, p.gesture);
    EXPECT_FALSE(w.Alive()) << p.name;
    EXPECT_EQ(Lines(desktop.log), Lines(p.reports)) << p.name;
    EXPECT_EQ(Lines(desktop.faults), "") << p.name;
    EXPECT_EQ(desktop.capture, nullptr) << p.name;
  }
}

TEST(ReEntry, DestroyedWhileDisablingAPressedControl) {
  Desktop desktop;
  Window& w = MakeButton(desktop, {.mode = BXMODE_PUSH});
  desktop.onReport = [&](Window& from, Report) { desktop.Destroy(from); };
  Play(desktop, {kIn, kDown});
  desktop.Enable(w, false);
  EXPECT_FALSE(w.Alive());
  EXPECT_EQ(Lines(desktop.faults), "");
}

// A sibling losing the capture reports to the same parent, which may destroy
// the control that is taking the capture.
TEST(ReEntry, DestroyedWhileTakingTheCaptureFromASibling) {
  for (int mode : {BXMODE_PUSH, BXMODE_SPIN, BXMODE_LATCH}) {
    Desktop desktop;
    Window& latch = LatchHoldingTheCapture(desktop);
    Window& w = MakeButton(desktop, {.mode = mode});
    ASSERT_EQ(desktop.capture, &latch);
    desktop.onReport = [&](Window& from, Report r) {
      if (&from == &latch && r == Report::Leave) desktop.Destroy(w);
    };
    w.record->OnMouseMove();
    desktop.cursor = {kLeft + 17, kTop + 17};
    w.record->OnLButtonDown();  // the press a parent forwards
    EXPECT_FALSE(w.Alive()) << mode;
    EXPECT_EQ(Lines(desktop.faults), "") << mode;
  }
}

}  // namespace
