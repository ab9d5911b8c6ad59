#include "load_math.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace {

// Snapshots in which processor i spends `idle[i]` of `total[i]` units idle
// between `prev` and `cur`; the kernel time includes the idle time.
struct Interval {
  CpuTimesSnapshot prev{};
  CpuTimesSnapshot cur{};

  void Set(std::size_t i, std::int64_t idle, std::int64_t total) {
    // Start from non-zero counters so that only the deltas matter.
    prev.cpu[i] = CpuTimes{1000 + static_cast<std::int64_t>(i), 5000, 7000, {}, 0, 0};
    cur.cpu[i] = prev.cpu[i];
    cur.cpu[i].idle += idle;
    cur.cpu[i].kernel += idle + (total - idle) / 2;
    cur.cpu[i].user += total - idle - (total - idle) / 2;
  }
  std::int32_t Percent(std::uint32_t n) const { return AverageBusyPercent(prev, cur, n); }
};

TEST(AverageBusyPercent, RoundsHalvesUpward) {
  Interval one;
  one.Set(0, 625, 1000);  // busy 37.5
  EXPECT_EQ(one.Percent(1), 38);

  Interval two;
  two.Set(0, 625, 1000);   // 37.5
  two.Set(1, 6260, 10000); // 37.4
  EXPECT_EQ(two.Percent(2), 37);  // the average 37.45

  Interval pair;
  pair.Set(0, 600, 1000);  // 40
  pair.Set(1, 300, 1000);  // 70
  EXPECT_EQ(pair.Percent(2), 55);
}

TEST(AverageBusyPercent, IdleAboveTotalPullsTheAverageDown) {
  Interval one;
  one.Set(0, 1100, 1000);  // busy -10, clamped only later
  EXPECT_EQ(one.Percent(1), -10);
  EXPECT_EQ(ClampPercent(one.Percent(1)), 0);

  Interval two;
  two.Set(0, 1100, 1000);  // -10
  two.Set(1, 100, 1000);   // 90
  EXPECT_EQ(two.Percent(2), 40);
}

TEST(AverageBusyPercent, AnyProcessorWithoutElapsedTimeGivesZero) {
  Interval busy;
  busy.Set(0, 0, 1000);
  busy.Set(1, 0, 0);
  EXPECT_EQ(busy.Percent(2), 0);

  Interval idleWithoutTime;  // idle moved but no time passed: -inf
  idleWithoutTime.Set(0, 10, 1000);
  idleWithoutTime.cur.cpu[0].kernel = idleWithoutTime.prev.cpu[0].kernel;
  idleWithoutTime.cur.cpu[0].user = idleWithoutTime.prev.cpu[0].user;
  EXPECT_EQ(idleWithoutTime.Percent(1), 0);
}

TEST(AverageBusyPercent, UnrepresentableAveragesGiveZeroNotHundred) {
  Interval huge;  // busy far beyond 2^31 percent
  huge.Set(0, -(std::int64_t{1} << 50), 1);
  EXPECT_EQ(huge.Percent(1), 0);

  Interval hugeNegative;
  hugeNegative.Set(0, std::int64_t{1} << 50, 1);
  EXPECT_EQ(hugeNegative.Percent(1), 0);
}

TEST(AverageBusyPercent, TotalDeltaWrapsInSixtyFourBits) {
  // The user counter wraps past the top of the signed range; the wrapped
  // difference is still the true elapsed time.
  CpuTimesSnapshot prev{}, cur{};
  prev.cpu[0] = CpuTimes{0, 0, std::numeric_limits<std::int64_t>::max() - 99, {}, 0, 0};
  cur.cpu[0] = prev.cpu[0];
  cur.cpu[0].user = std::numeric_limits<std::int64_t>::min() + 100;  // +200 wrapped
  cur.cpu[0].kernel = 200;
  cur.cpu[0].idle = 100;  // 100 idle of 400
  EXPECT_EQ(AverageBusyPercent(prev, cur, 1), 75);
}

TEST(AverageBusyPercent, ReadsOnlyTheFirstNProcessors) {
  Interval iv;
  iv.Set(0, 500, 1000);
  iv.Set(1, 0, 0);  // would make the reading 0 if it were read
  EXPECT_EQ(iv.Percent(1), 50);
  EXPECT_EQ(iv.Percent(0), 0);
  EXPECT_EQ(iv.Percent(65), 0);  // beyond the snapshot: never read
}

TEST(AverageBusyPercent, IdleInformationReplacesTheIdleCounters) {
  Interval iv;
  iv.Set(0, 900, 1000);  // the performance records claim 10 % busy
  CpuIdleSnapshot prevIdle{}, curIdle{};
  prevIdle.cpu[0].idle = 40;
  curIdle.cpu[0].idle = 40 + 250;  // the idle information says 75 % busy
  EXPECT_EQ(AverageBusyPercent(iv.prev, iv.cur, 1, &prevIdle, &curIdle), 75);
  // Only a pair of idle snapshots replaces them; one alone is ignored.
  EXPECT_EQ(AverageBusyPercent(iv.prev, iv.cur, 1, &prevIdle, nullptr), 10);
  EXPECT_EQ(AverageBusyPercent(iv.prev, iv.cur, 1, nullptr, &curIdle), 10);

  // Idle time out of step with the elapsed time: each share is limited to
  // 0..100 before the average, here only. A core seen at 31 ms elapsed and
  // 259 ms idle counts as 0 %, not -728 %: (0 + 75 + 50 + 10) / 4.
  const std::int64_t elapsed[] = {312500, 10000000, 10000000, 10000000};
  const std::uint64_t idle[] = {2589349, 2500000, 5000000, 9000000};
  prevIdle = curIdle = {};
  for (std::size_t i = 0; i < 4; ++i) {
    iv.Set(i, 0, elapsed[i]);
    curIdle.cpu[i].idle = idle[i];
  }
  EXPECT_EQ(AverageBusyPercent(iv.prev, iv.cur, 4, &prevIdle, &curIdle), 34);
  curIdle.cpu[0].idle = 2 * 312500;  // twice its elapsed time, the other busy
  curIdle.cpu[1].idle = 0;
  EXPECT_EQ(AverageBusyPercent(iv.prev, iv.cur, 2, &prevIdle, &curIdle), 50);
  prevIdle.cpu[1].idle = 5000000;  // going backwards: 150 % becomes 100 %
  EXPECT_EQ(AverageBusyPercent(iv.prev, iv.cur, 2, &prevIdle, &curIdle), 50);
}

TEST(IdleFromIdleInformation, OnlyWindows11Builds22621To26099) {
  EXPECT_FALSE(IdleFromIdleInformation(0));
  EXPECT_FALSE(IdleFromIdleInformation(19045));
  EXPECT_FALSE(IdleFromIdleInformation(22000));
  EXPECT_FALSE(IdleFromIdleInformation(22620));
  EXPECT_TRUE(IdleFromIdleInformation(22621));
  EXPECT_TRUE(IdleFromIdleInformation(22631));
  EXPECT_TRUE(IdleFromIdleInformation(26099));
  EXPECT_FALSE(IdleFromIdleInformation(26100));
}

TEST(RecordsAnswered, NeedsSuccessAndOneToSixtyFourWholeRecordsAndAtLeastN) {
  EXPECT_EQ(RecordsAnswered(0, 48 * 4, 4), 4u);
  EXPECT_EQ(RecordsAnswered(1, 48 * 4, 4), 0u);
  EXPECT_EQ(RecordsAnswered(static_cast<std::int32_t>(0xC0000004), 48 * 4, 4), 0u);
  EXPECT_EQ(RecordsAnswered(0, 48 * 3, 4), 0u);
  EXPECT_EQ(RecordsAnswered(0, 48 * 4 + 8, 4), 0u);  // right quotient, not a multiple
  EXPECT_EQ(RecordsAnswered(0, 48 * 5, 4), 5u);  // more than WOW64 tells of
  EXPECT_EQ(RecordsAnswered(0, 0, 0), 0u);
  EXPECT_EQ(RecordsAnswered(0, 48 * 48, 32), 48u);
  EXPECT_EQ(RecordsAnswered(0, 48 * 64, 32), 64u);
  EXPECT_EQ(RecordsAnswered(0, 48 * 65, 32), 0u);  // beyond the largest group
}

TEST(ClampPercent, LimitsToZeroToHundred) {
  EXPECT_EQ(ClampPercent(std::numeric_limits<std::int32_t>::min()), 0);
  EXPECT_EQ(ClampPercent(-1), 0);
  EXPECT_EQ(ClampPercent(0), 0);
  EXPECT_EQ(ClampPercent(100), 100);
  EXPECT_EQ(ClampPercent(101), 100);
  // A memory load read as a signed value: 0xFFFFFFFF is -1.
  EXPECT_EQ(ClampPercent(static_cast<std::int32_t>(0xFFFFFFFFu)), 0);
}

TEST(LoadHistory, ElevenPushesDropTheFirstSample) {
  LoadHistory history{};
  for (int tick = 1; tick <= 11; ++tick) {
    PushSample(history, LoadSample{static_cast<std::uint8_t>(tick), static_cast<std::uint8_t>(100 - tick)});
  }
  for (std::size_t i = 0; i < history.size(); ++i) {
    EXPECT_EQ(history[i].cpu, 11 - i) << "entry " << i;
    EXPECT_EQ(history[i].mem, 100 - (11 - i)) << "entry " << i;
  }
  EXPECT_EQ(history[9].cpu, 2);  // the second tick's sample; the first is gone
}

TEST(LoadHistory, SampleIsOneLittleEndianWordCpuLow) {
  LoadHistory history{};
  PushSample(history, LoadSample{7, 93});
  unsigned char bytes[sizeof history];
  std::memcpy(bytes, &history, sizeof history);
  EXPECT_EQ(bytes[0], 7);
  EXPECT_EQ(bytes[1], 93);
  EXPECT_EQ(bytes[0] | bytes[1] << 8, 0x5D07);
  for (std::size_t i = 2; i < sizeof bytes; ++i) EXPECT_EQ(bytes[i], 0);
}

}  // namespace
