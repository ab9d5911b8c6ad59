// What the fault injector (fault_injector.dll, loaded into the real gadget by
// the end-to-end driver) and the driver share: the Win32 calls it can make
// fail, a control block in shared memory per process through which the
// driver arms failures and reads counts, and the planted answers of the
// processor queries.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "load_math.h"

namespace faults {

// Every fallible call of the gadget that the injector answers. Window
// creation is told apart by class: the monitor window and each button.
enum class Call : int {
  RegCreateKeyExW,
  RegQueryValueExW,
  RegSetValueExW,
  RegDeleteValueW,
  GetModuleFileNameW,
  ModulePathCut,  // GetModuleFileNameW, answering with a path cut short
  FindResourceW,
  SizeofResource,
  LoadResource,
  LockResource,
  AddFontMemResourceEx,
  RegisterClassExW,
  CreateMainWindow,
  CreateButton,
  SetTimer,
  CreateCompatibleDC,
  CreateCompatibleBitmap,
  LoadBitmapW,
  CreateFontIndirectW,
  CreatePen,
  CreateSolidBrush,
  SelectObject,
  BeginPaint,
  GetDC,
  BitBlt,
  GetWindowRect,
  NtdllHandle,     // GetModuleHandleW for ntdll.dll
  ProcAddress,     // GetProcAddress for NtQuerySystemInformation or RtlGetVersion
  VersionQuery,    // RtlGetVersion, reached through GetProcAddress
  ProcessorQuery,  // NtQuerySystemInformation, reached through GetProcAddress
  GlobalMemoryStatusEx,
  ShellExecuteW,
  DialogBoxParamW,
  NewRecord,        // the allocation of the monitor window's record, in its creation
  NewButtonRecord,  // the allocation of a button's record, in its creation
  Count
};
inline constexpr int kCallCount = static_cast<int>(Call::Count);

struct CallControl {
  volatile LONG calls;      // made so far
  volatile LONG failFrom;   // the first call (1-based) to fail; 0: none
  volatile LONG failCount;  // how many calls from there fail
  volatile LONG failed;     // how many have failed
};

// Planted answers: with `build` not 0, RtlGetVersion reports that build, and
// the two processor queries answer from PlantedTimes and PlantedIdle for
// the query's sequence number instead of the system's counters.
struct Plant {
  LONG build;
  LONG idleQueryFails;         // the idle-information query fails every time
  LONG performanceQueryFails;  // the performance query fails every time
};

struct Control {
  CallControl call[kCallCount];
  Plant plant;
  SIZE_T recordSize;        // the size of the allocation that NewRecord counts
  SIZE_T buttonRecordSize;  // and that NewButtonRecord counts
  volatile LONG liveGdi;  // GDI objects and DCs the gadget holds now
  volatile LONG hooked;   // the injector has patched the program
  volatile LONG ended;    // the program has reached its exit
};

// The control block of process `pid`, made by the driver before the
// injector loads.
inline std::wstring ControlName(DWORD pid) { return L"Local\\zelvaquint-faults-" + std::to_wstring(pid); }

// Planted per-processor counters for query number `k` (0, 1, ...): every
// processor runs 100 ms more of kernel and of user time a query; the
// performance records claim processor i idle for (10 + 20 i) % of it, the
// idle information for (k * 7 + 30 i) % 90 %.
inline constexpr std::int64_t kPlantedSlice = 1000000;  // 100 ms in 100 ns
inline std::int64_t PlantedPerfIdlePercent(std::uint32_t i) { return 10 + 20 * i; }
inline std::int64_t PlantedIdlePercent(std::int64_t k, std::uint32_t i) { return (k * 7 + 30 * i) % 90; }

inline CpuTimes PlantedTimes(std::int64_t k, std::uint32_t i) {
  CpuTimes t{};
  t.kernel = 2 * kPlantedSlice * (k + 1);
  t.user = 0;
  t.idle = 2 * kPlantedSlice * (k + 1) * PlantedPerfIdlePercent(i) / 100;
  return t;
}

inline CpuIdleTimes PlantedIdle(std::int64_t k, std::uint32_t i) {
  CpuIdleTimes t{};
  for (std::int64_t j = 0; j <= k; ++j)
    t.idle += static_cast<std::uint64_t>(2 * kPlantedSlice * PlantedIdlePercent(j, i) / 100);
  return t;
}

}  // namespace faults
