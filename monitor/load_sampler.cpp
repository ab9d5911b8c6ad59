// The sampling tick against the platform: the native processor time query,
// the memory status and the repaint request. The arithmetic is load_math's.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "load_math.h"
#include "main_window.h"

namespace {

constexpr ULONG kProcessorPerformanceInformation = 8;
constexpr ULONG kProcessorIdleInformation = 42;

using QuerySystemInformationFn = LONG(WINAPI*)(ULONG infoClass, PVOID buffer, ULONG length,
                                               PULONG returnedLength);
using GetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW* info);

// Process-wide and never reset: the first tick compares against zeros and so
// reports the average since system start.
CpuTimesSnapshot g_current;
CpuTimesSnapshot g_previous;
CpuIdleSnapshot g_currentIdle;
CpuIdleSnapshot g_previousIdle;

// The build number, asked once per process; GetVersionEx would lie about it
// to programs without a compatibility manifest.
DWORD BuildNumber() {
  static const DWORD build = [] {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto getVersion =
        ntdll ? reinterpret_cast<GetVersionFn>(
                    reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
              : nullptr;
    return getVersion && getVersion(&info) == 0 ? info.dwBuildNumber : DWORD{0};
  }();
  return build;
}

// Runs one query into `current` after keeping its former contents in
// `previous`; the number of records answered, at least n, or 0.
template <typename Snapshot>
std::uint32_t Query(QuerySystemInformationFn query, ULONG infoClass, Snapshot& current, Snapshot& previous,
                    DWORD n) {
  std::memcpy(&previous, &current, sizeof current);
  ULONG returned = 0;
  const LONG status = query(infoClass, &current, sizeof current, &returned);
  return RecordsAnswered(status, returned, n);
}

std::int32_t ProcessorPercent() {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  const DWORD n = system.dwNumberOfProcessors;

  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto query = ntdll ? reinterpret_cast<QuerySystemInformationFn>(reinterpret_cast<void*>(
                                 GetProcAddress(ntdll, "NtQuerySystemInformation")))
                           : nullptr;
  if (!query) return 0;

  // Averaged over every record answered: under WOW64 n stops at 32, while
  // the answer may cover the whole group. No records average to 0.
  const std::uint32_t times = Query(query, kProcessorPerformanceInformation, g_current, g_previous, n);
  if (!IdleFromIdleInformation(BuildNumber())) return AverageBusyPercent(g_previous, g_current, times);
  // Queried on every tick, like the performance records, so that both pairs
  // of snapshots always span the same interval.
  const std::uint32_t idle = Query(query, kProcessorIdleInformation, g_currentIdle, g_previousIdle, n);
  return AverageBusyPercent(g_previous, g_current, std::min(times, idle), &g_previousIdle, &g_currentIdle);
}

}  // namespace

void MainWndData::SampleLoad() {
  const std::int32_t cpu = ProcessorPercent();

  MEMORYSTATUSEX memory;
  memory.dwLength = sizeof memory;
  // A failed call leaves the load at 0 rather than whatever the stack held.
  const std::int32_t mem =
      GlobalMemoryStatusEx(&memory) ? static_cast<std::int32_t>(memory.dwMemoryLoad) : 0;

  PushSample(history, LoadSample{ClampPercent(cpu), ClampPercent(mem)});
  InvalidateRect(hwnd, nullptr, FALSE);
}
