#include "load_math.h"

#include <algorithm>
#include <cmath>
#include <limits>

std::uint32_t RecordsAnswered(std::int32_t status, std::uint32_t returnedLength, std::uint32_t n) {
  const std::uint32_t records = returnedLength / sizeof(CpuTimes);
  const bool usable = status == 0 && returnedLength % sizeof(CpuTimes) == 0 && records >= 1 &&
                      records <= kMaxProcessors && records >= n;
  return usable ? records : 0;
}

std::int32_t AverageBusyPercent(const CpuTimesSnapshot& prev, const CpuTimesSnapshot& cur,
                                std::uint32_t n, const CpuIdleSnapshot* prevIdle,
                                const CpuIdleSnapshot* curIdle) {
  if (n == 0 || n > kMaxProcessors) return 0;
  const bool idleInfo = prevIdle && curIdle;
  double sum = 0.0;
  for (std::uint32_t i = 0; i < n; ++i) {
    const CpuTimes& p = prev.cpu[i];
    const CpuTimes& c = cur.cpu[i];
    // Each counter is converted on its own; the idle counters of class 42
    // are unsigned but read as the same signed 64-bit quantity.
    const double idleDelta =
        idleInfo ? static_cast<double>(static_cast<std::int64_t>(curIdle->cpu[i].idle)) -
                       static_cast<double>(static_cast<std::int64_t>(prevIdle->cpu[i].idle))
                 : static_cast<double>(c.idle) - static_cast<double>(p.idle);
    // Wrapping 64-bit arithmetic, as the counters are two's-complement.
    const std::uint64_t total = (static_cast<std::uint64_t>(c.user) - static_cast<std::uint64_t>(p.user)) +
                                (static_cast<std::uint64_t>(c.kernel) - static_cast<std::uint64_t>(p.kernel));
    const double totalDelta = static_cast<double>(static_cast<std::int64_t>(total));
    const double busy = 100.0 - (idleDelta * 100.0) / totalDelta;
    // The idle information and the performance records are not read at the
    // same instant, so a processor's idle time can run ahead of its elapsed
    // time; within one record it is part of the kernel time and cannot. A
    // processor without elapsed time still spoils the whole reading.
    sum += idleInfo && std::isfinite(busy) ? std::clamp(busy, 0.0, 100.0) : busy;
  }
  const double average = sum / static_cast<double>(n);
  const double rounded = std::floor(average + 0.5);
  // A processor with no elapsed time makes the sum infinite or undefined.
  if (!std::isfinite(rounded) || rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return 0;
  return static_cast<std::int32_t>(rounded);
}

bool IdleFromIdleInformation(std::uint32_t buildNumber) {
  return buildNumber >= 22621 && buildNumber < 26100;
}

std::uint8_t ClampPercent(std::int32_t value) {
  if (value < 0) return 0;
  if (value > 100) return 100;
  return static_cast<std::uint8_t>(value);
}

void PushSample(LoadHistory& history, LoadSample sample) {
  for (std::size_t i = history.size() - 1; i > 0; --i) history[i] = history[i - 1];
  history[0] = sample;
}
