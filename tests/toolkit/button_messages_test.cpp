// The control messages: query, store, store-and-repaint, 16-bit pairs and
// the colour slots, on a record as a new control has it.
#include <gtest/gtest.h>

#include "gestures.h"

namespace {

using namespace sim;

struct Fresh : testing::Test {
  Desktop desktop;
  Window& w = desktop.Create(kId, kLeft, kTop, 35, 35);
  const bx::ButtonFields& f() { return w.record->fields(); }
};

uintptr_t StoreAndRepaint() { return 0x00010001; }

TEST_F(Fresh, StartsWithTheDefaults) {
  EXPECT_EQ(w.Get(BXM_MODE), BXMODE_PUSH);
  EXPECT_EQ(w.Get(BXM_SKINSTYLE), BXSKIN_FRAMED);
  EXPECT_EQ(w.Get(BXM_TEXTX), -1);
  EXPECT_EQ(w.Get(BXM_MARGIN), 2);
  EXPECT_EQ(w.Get(BXM_AUTOTOGGLE), 1);
  EXPECT_EQ(w.Get(BXM_RANGE), 0);
  EXPECT_EQ(f().colors[BXC_NORMAL], 0x00515151u);
  EXPECT_EQ(f().colors[BXC_HOVER], 0x00333333u);
  EXPECT_EQ(f().colors[BXC_PRESSED], 0x00333333u);
  EXPECT_EQ(f().colors[BXC_DISABLED], 0x00A9A9A9u);
  const bx::HotArea a = f().hotArea;
  EXPECT_EQ((std::vector<int>{a.left, a.top, a.width, a.height}), (std::vector<int>{0, 0, 35, 35}))
      << "the default margin is not applied to the first hot area";
}

TEST_F(Fresh, QueryStoresNothingAndNeverRepaints) {
  for (uint32_t msg : {BXM_VALUE, BXM_SKINBITMAP, BXM_ICON1, BXM_ICON2, BXM_ICON1POS, BXM_ICON2POS}) {
    w.Set(msg, 9);  // a pair (9, 0) for the positions
    EXPECT_EQ(w.Send(msg, 0, 1234), 9) << std::hex << msg;
    EXPECT_EQ(w.Send(msg, 0x00010000, 1234), 9) << "high word alone is still a query";
  }
  EXPECT_EQ(w.invalidations, 0);
}

// The window procedure hands only its own range to the control; anything
// else that reaches it answers 0 and changes nothing.
TEST_F(Fresh, MessagesOutsideItsRangeAreNotItsOwn) {
  EXPECT_TRUE(bx::ButtonCore::IsControlMessage(BXM_MODE));
  EXPECT_TRUE(bx::ButtonCore::IsControlMessage(BXM_RANGE));
  for (uint32_t msg : {BXM_MODE - 1, BXM_RANGE + 1}) {
    EXPECT_FALSE(bx::ButtonCore::IsControlMessage(msg)) << std::hex << msg;
    EXPECT_EQ(w.Send(msg, StoreAndRepaint(), 5), 0) << std::hex << msg;
  }
  EXPECT_EQ(w.Get(BXM_MODE), BXMODE_PUSH);
  EXPECT_EQ(w.Get(BXM_RANGE), 0);
  EXPECT_EQ(w.invalidations, 0);
}

TEST_F(Fresh, StoreRepaintsOnlyWhenAsked) {
  EXPECT_EQ(w.Send(BXM_MODE, 1, BXMODE_SPIN), BXMODE_SPIN);
  EXPECT_EQ(w.invalidations, 0);
  EXPECT_EQ(w.Send(BXM_MODE, StoreAndRepaint(), BXMODE_LATCH), BXMODE_LATCH);
  EXPECT_EQ(w.invalidations, 1);
}

TEST_F(Fresh, ScalarsAreStoredUnvalidated) {
  EXPECT_EQ(w.Set(BXM_MODE, -3), -3);
  EXPECT_EQ(w.Set(BXM_SKINSTYLE, 9), 9);
  EXPECT_EQ(w.Set(BXM_SKINBITMAP, 0x12345678), 0x12345678);
  EXPECT_EQ(w.Set(BXM_ICON1, 0x1601), 0x1601);
  EXPECT_EQ(w.Set(BXM_ICON2, 0x1602), 0x1602);
  EXPECT_EQ(w.Set(BXM_TEXTX, 10), 10);
  EXPECT_EQ(w.Set(BXM_CHECKED, 7), 7);
  EXPECT_EQ(w.Set(BXM_AUTOTOGGLE, 0), 0);
  w.Set(BXM_RANGE, Pair(0, 3));
  EXPECT_EQ(w.Set(BXM_VALUE, 50), 50) << "the range applies only to the control's own changes";
  EXPECT_EQ(w.Set(BXM_VALUE, -5), -5);
}

TEST_F(Fresh, PairsAreUnsignedHalves) {
  EXPECT_EQ(w.Set(BXM_ICON1POS, Pair(65535, 5)), Pair(65535, 5));
  EXPECT_EQ(f().icon1X, 65535) << "zero-extended, not -1";
  EXPECT_EQ(f().icon1Y, 5);
  EXPECT_EQ(w.Set(BXM_ICON2POS, Pair(4, 6)), Pair(4, 6));
  EXPECT_EQ(f().icon2X, 4);
  EXPECT_EQ(f().icon2Y, 6);
  EXPECT_EQ(w.Set(BXM_RANGE, Pair(0, 100)), Pair(0, 100));
  EXPECT_EQ(w.Get(BXM_RANGE), Pair(0, 100));
  EXPECT_EQ(f().minValue, 0);
  EXPECT_EQ(f().maxValue, 100);
  w.Set(BXM_RANGE, Pair(65535, 65535));
  EXPECT_EQ(f().minValue, 65535);
  EXPECT_EQ(f().maxValue, 65535);
}

TEST_F(Fresh, ColourSlotsAlwaysStoreAndAnswerZero) {
  EXPECT_EQ(w.Send(BXM_COLOR, BXC_NORMAL, 0x112233), 0) << "slot 0 stores; there is no query form";
  EXPECT_EQ(f().colors[BXC_NORMAL], 0x112233u);
  EXPECT_EQ(w.Send(BXM_COLOR, BXC_DISABLED, 0x445566), 0);
  EXPECT_EQ(f().colors[BXC_DISABLED], 0x445566u);
  EXPECT_EQ(w.invalidations, 0);
  EXPECT_EQ(w.Send(BXM_COLOR, 0x00010004, 0x778899), 0);
  EXPECT_EQ(f().colors[BXC_NORMAL], 0x112233u) << "slot 4 stores nothing";
  EXPECT_EQ(f().colors[BXC_HOVER], 0x333333u);
  EXPECT_EQ(f().colors[BXC_PRESSED], 0x333333u);
  EXPECT_EQ(f().colors[BXC_DISABLED], 0x445566u);
  EXPECT_EQ(w.invalidations, 1) << "but repaints, whatever the slot";
}

TEST_F(Fresh, MarginInsetsTheHotAreaAndTheHotAreaIgnoresLaterSizes) {
  EXPECT_EQ(w.Set(BXM_MARGIN, 2), 2);
  bx::HotArea a = f().hotArea;
  EXPECT_EQ((std::vector<int>{a.left, a.top, a.width, a.height}), (std::vector<int>{2, 2, 31, 31}));
  // x 2..32 is hot, 1 and 33 are not.
  Play(desktop, {MoveTo(1, 17)});
  EXPECT_FALSE(f().hover);
  Play(desktop, {MoveTo(33, 17)});
  EXPECT_FALSE(f().hover);
  Play(desktop, {MoveTo(32, 32)});
  EXPECT_TRUE(f().hover);

  w.Set(BXM_MARGIN, 0);
  w.width = 60;  // resized
  a = f().hotArea;
  EXPECT_EQ((std::vector<int>{a.left, a.top, a.width, a.height}), (std::vector<int>{0, 0, 35, 35}));
}

TEST_F(Fresh, ExtremeMarginsAndValuesStayDefined) {
  w.Set(BXM_MARGIN, 0x7FFFFFFF);
  w.Set(BXM_MARGIN, -0x7FFFFFFF);
  w.Set(BXM_MARGIN, 0);
  w.Set(BXM_MODE, BXMODE_CYCLE);
  w.Set(BXM_RANGE, Pair(0, 65535));
  w.Set(BXM_VALUE, 0x7FFFFFFF);
  Play(desktop, {kIn, kDown, kUp});
  EXPECT_EQ(w.Get(BXM_VALUE), 0);
  w.Set(BXM_MODE, BXMODE_SPIN);
  w.Set(BXM_VALUE, -0x7FFFFFFF - 1);
  Play(desktop, {MoveTo(17, 30), kDown, Wait(1000), kUp});
  EXPECT_EQ(w.Get(BXM_VALUE), 0);
}

}  // namespace
