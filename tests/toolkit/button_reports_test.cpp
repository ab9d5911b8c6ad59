// The reports a parent receives, in order and with their times, for each
// mode and gesture; the value and checked state are read back as a parent
// would when the WM_COMMAND arrives.
#include <gtest/gtest.h>

#include <cctype>

#include "gestures.h"

namespace {

using namespace sim;

struct Case {
  const char* name;
  Config config;
  std::vector<Step> gesture;
  std::vector<std::string> reports;
};

const std::vector<Step> kClick = {kIn, Wait(50), kDown, Wait(50), kUp, Wait(300)};
const std::vector<Step> kClickLow = {kInLow, Wait(50), kDown, Wait(50), kUp, Wait(300)};
const std::vector<Step> kDwellThenLeave = {kIn, Wait(300), kOut, Wait(50)};
const std::vector<Step> kLeaveBeforeDwell = {kIn, Wait(100), kOut, Wait(300)};
const std::vector<Step> kDragOutAndBack = {kIn,      kDown,     Wait(100), kOut, Wait(100),
                                           kIn,      Wait(100), kUp,       Wait(200)};
const std::vector<Step> kReleaseOutside = {kIn, kDown, Wait(100), kOut, Wait(100), kUp, Wait(300)};
const std::vector<Step> kHold = {kIn, kDown, Wait(600), kUp, Wait(100)};
const std::vector<Step> kTwoPresses = {kIn, kDown, kUp, Wait(50), kDown, kUp, Wait(300)};

constexpr Config kPush{.mode = BXMODE_PUSH};
constexpr Config kToggle{.mode = BXMODE_TOGGLE};
constexpr Config kCycle{.mode = BXMODE_CYCLE, .maxValue = 3};
constexpr Config kSpin{.mode = BXMODE_SPIN};
constexpr Config kLatch{.mode = BXMODE_LATCH};
constexpr Config kInert{.mode = 7};

const Case kCases[] = {
    // A click: the capture goes first (BXN_LEAVE), then the WM_COMMAND. The
    // dwell timer survives the capture loss and still reports.
    {"push click", kPush, kClick, {"@100 LEAVE", "@100 COMMAND v=0 c=0", "@191 HOVER"}},
    {"toggle click", kToggle, kClick, {"@100 LEAVE", "@100 COMMAND v=0 c=1", "@191 HOVER"}},
    {"cycle click", kCycle, kClick, {"@100 LEAVE", "@100 COMMAND v=1 c=0", "@191 HOVER"}},
    {"spin click, upper half", kSpin, kClick, {"@100 LEAVE", "@100 COMMAND v=1 c=0", "@191 HOVER"}},
    {"latch click", kLatch, kClick, {"@50 COMMAND v=0 c=0", "@191 HOVER"}},
    {"inert click", kInert, kClick, {"@191 HOVER"}},

    {"push dwell", kPush, kDwellThenLeave, {"@191 HOVER", "@310 LEAVE"}},
    {"latch dwell", kLatch, kDwellThenLeave, {"@191 HOVER", "@310 LEAVE"}},
    {"inert dwell", kInert, kDwellThenLeave, {"@191 HOVER", "@310 LEAVE"}},

    {"push leave before dwell", kPush, kLeaveBeforeDwell, {"@110 LEAVE"}},
    {"spin leave before dwell", kSpin, kLeaveBeforeDwell, {"@110 LEAVE"}},
    {"inert leave before dwell", kInert, kLeaveBeforeDwell, {"@110 LEAVE"}},

    // Out and back in while held: the hover ends and restarts, the click counts.
    {"push drag out and back",
     kPush,
     kDragOutAndBack,
     {"@110 LEAVE", "@300 LEAVE", "@300 COMMAND v=0 c=0", "@391 HOVER"}},
    {"toggle drag out and back",
     kToggle,
     kDragOutAndBack,
     {"@110 LEAVE", "@300 LEAVE", "@300 COMMAND v=0 c=1", "@391 HOVER"}},
    {"cycle drag out and back",
     kCycle,
     kDragOutAndBack,
     {"@110 LEAVE", "@300 LEAVE", "@300 COMMAND v=1 c=0", "@391 HOVER"}},
    {"spin drag out and back",
     kSpin,
     kDragOutAndBack,
     {"@110 LEAVE", "@300 LEAVE", "@300 COMMAND v=1 c=0", "@391 HOVER"}},
    {"latch drag out and back", kLatch, kDragOutAndBack, {"@0 COMMAND v=0 c=0", "@110 LEAVE", "@391 HOVER"}},
    {"inert drag out and back", kInert, kDragOutAndBack, {"@110 LEAVE", "@391 HOVER"}},

    // Released over the parent: no click, except in spin mode.
    {"push release outside", kPush, kReleaseOutside, {"@110 LEAVE", "@200 LEAVE"}},
    {"toggle release outside", kToggle, kReleaseOutside, {"@110 LEAVE", "@200 LEAVE"}},
    {"cycle release outside", kCycle, kReleaseOutside, {"@110 LEAVE", "@200 LEAVE"}},
    {"spin release outside", kSpin, kReleaseOutside, {"@110 LEAVE", "@200 LEAVE", "@200 COMMAND v=1 c=0"}},
    {"latch release outside", kLatch, kReleaseOutside, {"@0 COMMAND v=0 c=0", "@110 LEAVE"}},
    {"inert release outside", kInert, kReleaseOutside, {"@110 LEAVE"}},

    // Held: spin repeats at 399 and then every 77 ms; the release adds a
    // report without a step.
    {"push hold", kPush, kHold, {"@191 HOVER", "@600 LEAVE", "@600 COMMAND v=0 c=0"}},
    {"spin hold",
     kSpin,
     kHold,
     {"@191 HOVER", "@399 COMMAND v=1 c=0", "@476 COMMAND v=2 c=0", "@553 COMMAND v=3 c=0",
      "@600 LEAVE", "@600 COMMAND v=3 c=0"}},
    {"spin hold in the top band, steps scale with the maximum",
     {.mode = BXMODE_SPIN, .maxValue = 100},
     {MoveTo(17, 1), kDown, Wait(600), kUp},
     {"@191 HOVER", "@399 COMMAND v=3 c=0", "@476 COMMAND v=6 c=0", "@553 COMMAND v=9 c=0",
      "@600 LEAVE", "@600 COMMAND v=9 c=0"}},
    {"spin hold in the lower half clamps at the minimum",
     {.mode = BXMODE_SPIN, .value = 2},
     {kInLow, kDown, Wait(600), kUp},
     {"@191 HOVER", "@399 COMMAND v=1 c=0", "@476 COMMAND v=0 c=0", "@553 COMMAND v=0 c=0",
      "@600 LEAVE", "@600 COMMAND v=0 c=0"}},
    {"latch hold", kLatch, kHold, {"@0 COMMAND v=0 c=0", "@191 HOVER"}},

    // Second presses: toggles flip back, the latch comes up with BXN_LEAVE only.
    {"push two presses",
     kPush,
     kTwoPresses,
     {"@0 LEAVE", "@0 COMMAND v=0 c=0", "@50 LEAVE", "@50 COMMAND v=0 c=0", "@191 HOVER"}},
    {"toggle two presses",
     kToggle,
     kTwoPresses,
     {"@0 LEAVE", "@0 COMMAND v=0 c=1", "@50 LEAVE", "@50 COMMAND v=0 c=0", "@191 HOVER"}},
    {"cycle two presses",
     kCycle,
     kTwoPresses,
     {"@0 LEAVE", "@0 COMMAND v=1 c=0", "@50 LEAVE", "@50 COMMAND v=2 c=0", "@191 HOVER"}},
    {"latch two presses", kLatch, kTwoPresses, {"@0 COMMAND v=0 c=0", "@50 LEAVE", "@191 HOVER"}},
    {"inert two presses", kInert, kTwoPresses, {"@191 HOVER"}},

    // Values at the ends of their ranges.
    {"toggle without auto-toggle",
     {.mode = BXMODE_TOGGLE, .autoToggle = 0},
     kClick,
     {"@100 LEAVE", "@100 COMMAND v=0 c=0", "@191 HOVER"}},
    {"toggle from any non-zero checked",
     {.mode = BXMODE_TOGGLE, .checked = 5},
     kClick,
     {"@100 LEAVE", "@100 COMMAND v=0 c=0", "@191 HOVER"}},
    {"cycle with the default range stays at 0",
     {.mode = BXMODE_CYCLE, .maxValue = 0},
     kClick,
     {"@100 LEAVE", "@100 COMMAND v=0 c=0", "@191 HOVER"}},
    {"cycle wraps past the maximum",
     {.mode = BXMODE_CYCLE, .minValue = 1, .maxValue = 3, .value = 3},
     kClick,
     {"@100 LEAVE", "@100 COMMAND v=1 c=0", "@191 HOVER"}},
    {"cycle has no lower clamp",
     {.mode = BXMODE_CYCLE, .maxValue = 3, .value = -5},
     kClick,
     {"@100 LEAVE", "@100 COMMAND v=-4 c=0", "@191 HOVER"}},
    {"spin click, lower half",
     {.mode = BXMODE_SPIN, .value = 5},
     kClickLow,
     {"@100 LEAVE", "@100 COMMAND v=4 c=0", "@191 HOVER"}},
    {"spin click at the maximum",
     {.mode = BXMODE_SPIN, .value = 10},
     kClick,
     {"@100 LEAVE", "@100 COMMAND v=10 c=0", "@191 HOVER"}},
    {"spin with min above max ends at the minimum",
     {.mode = BXMODE_SPIN, .minValue = 5, .maxValue = 2},
     kClick,
     {"@100 LEAVE", "@100 COMMAND v=5 c=0", "@191 HOVER"}},

    // A press in the margin band is nothing at all; neither is hovering there.
    {"push press in the margin band", {.mode = BXMODE_PUSH, .margin = 2}, {MoveTo(1, 17), kDown, kUp, Wait(300)}, {}},
    {"latch press in the margin band", {.mode = BXMODE_LATCH, .margin = 2}, {MoveTo(33, 17), kDown, kUp, Wait(300)}, {}},
    {"spin press above the hot area", {.mode = BXMODE_SPIN, .margin = 2}, {MoveTo(17, 1), kDown, Wait(500), kUp}, {}},
    {"cycle press below the hot area", {.mode = BXMODE_CYCLE, .margin = 2}, {MoveTo(17, 33), kDown, kUp, Wait(300)}, {}},

    // After a click the look is normal until the pointer moves again; the move
    // restarts the hover and the dwell report follows 191 ms later.
    {"hover restarts on the next move",
     kPush,
     {kIn, Wait(250), kDown, kUp, Wait(100), MoveTo(18, 10), Wait(250)},
     {"@191 HOVER", "@250 LEAVE", "@250 COMMAND v=0 c=0", "@541 HOVER"}},
    // Left at once after a click: the dwell still armed stays quiet while away.
    {"no hover report while away after a click",
     kPush,
     {kIn, Wait(50), kDown, Wait(50), kUp, kOut, Wait(300), kIn, Wait(300)},
     {"@100 LEAVE", "@100 COMMAND v=0 c=0", "@591 HOVER"}},
};

class Reports : public testing::TestWithParam<Case> {};

TEST_P(Reports, ArriveInOrder) {
  const Case& c = GetParam();
  Desktop desktop;
  MakeButton(desktop, c.config);
  Play(desktop, c.gesture);
  EXPECT_EQ(Lines(desktop.log), Lines(c.reports)) << c.name;
  EXPECT_EQ(Lines(desktop.faults), "");
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* p = info.param.name; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(PerModeAndGesture, Reports, testing::ValuesIn(kCases), CaseName);

}  // namespace
