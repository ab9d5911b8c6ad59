// Random counters, processor counts, statuses and returned lengths through the
// sampler's arithmetic: no undefined behaviour, and a stored reading always
// within 0..100.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>

#include "load_math.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const auto n = in.ConsumeIntegralInRange<std::uint32_t>(0, 70);
  const auto status = in.ConsumeIntegral<std::int32_t>();
  const auto length = in.ConsumeIntegral<std::uint32_t>();
  const bool idleInfo = in.ConsumeBool();

  static CpuTimesSnapshot prev, cur;
  static CpuIdleSnapshot prevIdle, curIdle;
  for (auto* block : {static_cast<void*>(&prev), static_cast<void*>(&cur), static_cast<void*>(&prevIdle),
                      static_cast<void*>(&curIdle)}) {
    std::memset(block, 0, sizeof prev);
    const auto bytes = in.ConsumeBytes<std::uint8_t>(sizeof prev);
    std::memcpy(block, bytes.data(), bytes.size());
  }

  // The arithmetic must be sound for any count, usable answer or not.
  const std::int32_t average = idleInfo ? AverageBusyPercent(prev, cur, n, &prevIdle, &curIdle)
                                        : AverageBusyPercent(prev, cur, n);
  // Shares limited one by one cannot average outside 0..100.
  if (idleInfo && (average < 0 || average > 100)) std::abort();
  const std::int32_t percent = RecordsAnswered(status, length, n) ? average : 0;
  const std::uint8_t stored = ClampPercent(percent);
  if (stored > 100) std::abort();

  LoadHistory history{};
  history.fill(LoadSample{100, 100});
  PushSample(history, LoadSample{stored, ClampPercent(in.ConsumeIntegral<std::int32_t>())});
  for (const LoadSample& s : history)
    if (s.cpu > 100 || s.mem > 100) std::abort();
  return 0;
}
