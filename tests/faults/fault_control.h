// What the fault injector (fault_injector.dll, loaded into the real gadget by
// the end-to-end driver) and the driver share: the Win32 calls it can make
// fail, a control block in shared memory per process through which the
// driver arms failures and reads counts, and the planted answers of the
// processor queries.
#pragma once

#include <windows.h>

#include <cstdint>
#include <iterator>
#include <string>

#include "load_math.h"

namespace faults {

// The calls whose stand-in (in the injector) fails with a documented value
// and last error and otherwise makes the call, keeping what it hands back
// counted as held (Held) or not (Pass): X(name, value, error, keep,
// parameters, arguments).
#define ZQ_FAULTY_CALLS(X) \
  X(RegCreateKeyExW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, Pass, \
    (HKEY key, LPCWSTR sub, DWORD reserved, LPWSTR cls, DWORD options, REGSAM sam, const LPSECURITY_ATTRIBUTES sa, \
     PHKEY result, LPDWORD disposition), \
    (key, sub, reserved, cls, options, sam, sa, result, disposition)) \
  X(RegQueryValueExW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, Pass, \
    (HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size), \
    (key, name, reserved, type, data, size)) \
  X(RegSetValueExW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, Pass, \
    (HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size), \
    (key, name, reserved, type, data, size)) \
  X(RegDeleteValueW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, Pass, (HKEY key, LPCWSTR name), (key, name)) \
  X(FindResourceW, nullptr, ERROR_RESOURCE_NAME_NOT_FOUND, Pass, (HMODULE module, LPCWSTR name, LPCWSTR type), \
    (module, name, type)) \
  X(SizeofResource, 0, ERROR_RESOURCE_DATA_NOT_FOUND, Pass, (HMODULE module, HRSRC resource), (module, resource)) \
  X(LoadResource, nullptr, ERROR_NOT_ENOUGH_MEMORY, Pass, (HMODULE module, HRSRC resource), (module, resource)) \
  X(LockResource, nullptr, ERROR_NOT_ENOUGH_MEMORY, Pass, (HGLOBAL resource), (resource)) \
  X(AddFontMemResourceEx, nullptr, ERROR_NOT_ENOUGH_MEMORY, Held, \
    (PVOID data, DWORD size, PVOID reserved, DWORD* fonts), (data, size, reserved, fonts)) \
  X(RegisterClassExW, 0, ERROR_NOT_ENOUGH_MEMORY, Pass, (const WNDCLASSEXW* wc), (wc)) \
  X(SetTimer, 0, ERROR_NOT_ENOUGH_MEMORY, Pass, (HWND window, UINT_PTR id, UINT ms, TIMERPROC proc), \
    (window, id, ms, proc)) \
  X(CreateCompatibleDC, nullptr, ERROR_NOT_ENOUGH_MEMORY, Held, (HDC dc), (dc)) \
  X(CreateCompatibleBitmap, nullptr, ERROR_NOT_ENOUGH_MEMORY, Held, (HDC dc, int width, int height), \
    (dc, width, height)) \
  X(LoadBitmapW, nullptr, ERROR_NOT_ENOUGH_MEMORY, Held, (HINSTANCE module, LPCWSTR name), (module, name)) \
  X(CreateFontIndirectW, nullptr, ERROR_NOT_ENOUGH_MEMORY, Held, (const LOGFONTW* font), (font)) \
  X(CreatePen, nullptr, ERROR_NOT_ENOUGH_MEMORY, Held, (int style, int width, COLORREF colour), \
    (style, width, colour)) \
  X(CreateSolidBrush, nullptr, ERROR_NOT_ENOUGH_MEMORY, Held, (COLORREF colour), (colour)) \
  X(SelectObject, nullptr, ERROR_INVALID_HANDLE, Pass, (HDC dc, HGDIOBJ object), (dc, object)) \
  X(BeginPaint, nullptr, ERROR_NOT_ENOUGH_MEMORY, Held, (HWND window, LPPAINTSTRUCT paint), (window, paint)) \
  X(GetDC, nullptr, ERROR_NOT_ENOUGH_MEMORY, Held, (HWND window), (window)) \
  X(BitBlt, FALSE, ERROR_NOT_ENOUGH_MEMORY, Pass, \
    (HDC to, int x, int y, int width, int height, HDC from, int fromX, int fromY, DWORD rop), \
    (to, x, y, width, height, from, fromX, fromY, rop)) \
  X(GetWindowRect, FALSE, ERROR_INVALID_WINDOW_HANDLE, Pass, (HWND window, LPRECT rect), (window, rect)) \
  X(GlobalMemoryStatusEx, FALSE, ERROR_NOT_ENOUGH_MEMORY, Pass, (LPMEMORYSTATUSEX status), (status)) \
  X(ShellExecuteW, reinterpret_cast<HINSTANCE>(SE_ERR_ACCESSDENIED), ERROR_ACCESS_DENIED, Pass, \
    (HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show), \
    (window, verb, file, parameters, folder, show)) \
  X(CoInitializeEx, E_OUTOFMEMORY, ERROR_NOT_ENOUGH_MEMORY, Pass, (LPVOID reserved, DWORD flags), (reserved, flags)) \
  X(DialogBoxParamW, -1, ERROR_NOT_ENOUGH_MEMORY, Pass, \
    (HINSTANCE module, LPCWSTR dialog, HWND owner, DLGPROC procedure, LPARAM parameter), \
    (module, dialog, owner, procedure, parameter))

// Every fallible call of the gadget that the injector answers: those above,
// and those with stand-ins of their own. Window creation is told apart by
// class: the monitor window and each button.
enum class Call : int {
#define ZQ_CALL(Name, ...) Name,
  ZQ_FAULTY_CALLS(ZQ_CALL)
#undef ZQ_CALL
  GetModuleFileNameW,
  ModulePathCut,  // GetModuleFileNameW, answering with a path cut short
  CreateMainWindow,
  CreateButton,
  NtdllHandle,     // GetModuleHandleW for ntdll.dll
  ProcAddress,     // GetProcAddress for NtQuerySystemInformation or RtlGetVersion
  VersionQuery,    // RtlGetVersion, reached through GetProcAddress
  ProcessorQuery,  // NtQuerySystemInformation, reached through GetProcAddress
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
  LONG build = 0;
  LONG idleQueryFails = 0;         // the idle-information query fails every time
  LONG performanceQueryFails = 0;  // the performance query fails every time
  LONG processors = 0;             // GetSystemInfo tells of these; 0: the system's
  LONG records = 0;                // the queries answer these; 0: one a processor
  struct {
    LONG elapsed, idle;  // with elapsed not 0, processor i's every query, in 100 ns
  } cores[4] = {};
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

// How many records the planted queries answer, refusing a smaller buffer.
inline std::uint32_t PlantedRecords(const Plant& plant) {
  if (plant.records) return static_cast<std::uint32_t>(plant.records);
  if (plant.processors) return static_cast<std::uint32_t>(plant.processors);
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  return system.dwNumberOfProcessors;
}

// What processor i does between planted queries k - 1 and k (before query 0
// all counters are 0), in 100 ns: unless its core is planted, 200 ms of
// kernel time elapse, of which the performance records claim (10 + 20 i) %
// idle and the idle information (k * 7 + 30 i) % 90 %, or none beyond the 32
// processors WOW64 tells of, so that a reading without them shows.
struct PlantedDelta {
  std::int64_t elapsed, perfIdle, idle;
};
inline constexpr std::int64_t kPlantedSlice = 2000000;
inline PlantedDelta PlantedDeltas(const Plant& plant, std::int64_t k, std::uint32_t i) {
  if (i < std::size(plant.cores) && plant.cores[i].elapsed)
    return {plant.cores[i].elapsed, plant.cores[i].idle, plant.cores[i].idle};
  const std::int64_t idle = i < 32 ? kPlantedSlice * ((k * 7 + 30 * i) % 90) / 100 : 0;
  return {kPlantedSlice, kPlantedSlice * (10 + 20 * i) / 100, idle};
}

inline CpuTimes PlantedTimes(const Plant& plant, std::int64_t k, std::uint32_t i) {
  CpuTimes t{};
  for (std::int64_t j = 0; j <= k; ++j) {
    t.kernel += PlantedDeltas(plant, j, i).elapsed;
    t.idle += PlantedDeltas(plant, j, i).perfIdle;
  }
  return t;
}

inline CpuIdleTimes PlantedIdle(const Plant& plant, std::int64_t k, std::uint32_t i) {
  CpuIdleTimes t{};
  for (std::int64_t j = 0; j <= k; ++j) t.idle += static_cast<std::uint64_t>(PlantedDeltas(plant, j, i).idle);
  return t;
}

}  // namespace faults
