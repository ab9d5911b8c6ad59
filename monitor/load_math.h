// Platform-free arithmetic of the load sampler: per-processor time counters
// and the memory load become whole percentages, pushed into the history.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// One history entry: processor percent, then memory percent, each 0..100.
struct LoadSample {
  std::uint8_t cpu = 0;
  std::uint8_t mem = 0;
  bool operator==(const LoadSample&) const = default;
};
static_assert(sizeof(LoadSample) == 2);

// Ten samples, index 0 the newest.
using LoadHistory = std::array<LoadSample, 10>;
static_assert(sizeof(LoadHistory) == 20);

// One processor's record of the native query for processor performance
// information (class 8), as the system lays it out.
struct CpuTimes {
  std::int64_t idle;    // 100 ns units since system start
  std::int64_t kernel;  // includes the idle time
  std::int64_t user;
  std::int64_t reserved[2];
  std::uint32_t count;
  std::uint32_t fill;
};
static_assert(sizeof(CpuTimes) == 48);

// One processor's record of the processor idle information (class 42): the
// idle time comes first, in the same unit.
struct CpuIdleTimes {
  std::uint64_t idle;
  std::uint64_t c1, c2, c3;
  std::uint32_t transitions[3];
  std::uint32_t fill;
};
static_assert(sizeof(CpuIdleTimes) == 48);

// The largest processor group. A 32-bit process under WOW64 is told of at
// most 32 processors, while the queries may answer for the whole group.
inline constexpr std::size_t kMaxProcessors = 64;

struct CpuTimesSnapshot {
  std::array<CpuTimes, kMaxProcessors> cpu;
};
static_assert(sizeof(CpuTimesSnapshot) == 3072);

struct CpuIdleSnapshot {
  std::array<CpuIdleTimes, kMaxProcessors> cpu;
};
static_assert(sizeof(CpuIdleSnapshot) == 3072);

// The number of 48-byte records in a query's answer, or 0 when it is not
// usable: a status other than 0, a length that is not a whole number of
// records from 1 to kMaxProcessors, or fewer records than the n processors.
std::uint32_t RecordsAnswered(std::int32_t status, std::uint32_t returnedLength, std::uint32_t n);

// The average busy percentage of processors 0..n-1 between two snapshots,
// rounded half upward; 0 when the average is not finite or not representable
// in 32 bits. The average is not clamped. With idle snapshots given, their
// idle counters replace those of the performance snapshots, and each
// processor's share is limited to 0..100 first.
std::int32_t AverageBusyPercent(const CpuTimesSnapshot& prev, const CpuTimesSnapshot& cur,
                                std::uint32_t n, const CpuIdleSnapshot* prevIdle = nullptr,
                                const CpuIdleSnapshot* curIdle = nullptr);

// Windows 11 22H2 and 23H2 report wrong idle times in the performance
// records; on those builds the idle counter comes from class 42.
bool IdleFromIdleInformation(std::uint32_t buildNumber);

// Limits a reading to 0..100.
std::uint8_t ClampPercent(std::int32_t value);

// Moves every entry one place older, dropping the oldest, and puts the new
// sample at the front.
void PushSample(LoadHistory& history, LoadSample sample);
